#include "platform/JpegFile.h"

#include "platform/PictureMemory.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the guarded step that called into the library. The progress monitor jumps there too when
// the decode is to stop. Nothing with a destructor lives between the jump and its target
// (the steps are plain calls into C code).
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code = 0;
    bool stopped = false;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    std::longjmp(err->jump, 1);
}

// Warnings after which the library fills in data it does not have (grey rows, blocks of
// wrong colour) are errors: a damaged picture must not pass as a picture. The others (extra
// bytes before a marker, unknown JFIF or Adobe versions, a damaged ICC profile) are ignored.
void EmitMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level >= 0) return;  // trace messages
    switch (err->pub.msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC: ErrorExit(cinfo);
    default: ++err->pub.num_warnings;
    }
}

void OutputMessage(j_common_ptr) {}

// The library's progress over its passes, handed to the caller's progress; when that says
// stop, the decode jumps out like an error.
struct ProgressMonitor {
    jpeg_progress_mgr pub{};
    DecodeProgress* progress = nullptr;
    double done = 0;
};

void MonitorProgress(j_common_ptr cinfo) {
    auto* m = reinterpret_cast<ProgressMonitor*>(cinfo->progress);
    const jpeg_progress_mgr& p = m->pub;
    const double pass = p.pass_limit > 0 ? double(p.pass_counter) / double(p.pass_limit) : 0;
    // The library may add a pass it did not count at first: the part done never goes back.
    m->done = std::clamp((p.completed_passes + pass) / std::max(p.total_passes, 1), m->done, 1.0);
    constexpr std::int64_t kUnits = 1 << 20;
    if (!m->progress->Report(std::int64_t(m->done * kUnits), kUnits)) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        err->stopped = true;
        std::longjmp(err->jump, 1);
    }
}

// The decompressor, its error manager and its progress monitor; the destructor frees what
// the library holds.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    ProgressMonitor monitor;
    bool created = false;
    ~Decoder() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

// Runs step with the library's fatal errors caught; false when the library gave up or the
// decode was stopped.
template <class Step>
bool Guarded(Decoder& d, Step&& step) {
    if (setjmp(d.err.jump))
        return false;
    step();
    return true;
}

// What ended a guarded step that returned false.
[[noreturn]] void Fail(const Decoder& d, const DecodeProgress& progress) {
    if (d.err.stopped)
        progress.Rethrow();
    if (d.err.code == JERR_BAD_PRECISION)
        throw EJpegPrecision(d.err.pub.msg_parm.i[0], d.err.code);
    throw EJpegError("JPEG-Fehler #" + std::to_string(d.err.code));
}

// Adobe CMYK data is stored inverted: the stored value is the amount of paper left.
inline std::uint8_t FromInvertedCmyk(unsigned ink, unsigned k) { return std::uint8_t(ink * k / 255); }

// One decoded row as B, G, R.
void ConvertRow(const jpeg_decompress_struct& cinfo, const JSAMPLE* in, std::uint8_t* out, int width) {
    const int components = cinfo.output_components;
    const bool quantized = cinfo.quantize_colors;
    JSAMPARRAY map = cinfo.colormap;
    const bool grey = cinfo.out_color_components == 1;
    for (int x = 0; x < width; ++x, out += 3) {
        if (quantized) {
            const int i = in[x];
            out[0] = map[grey ? 0 : 2][i];
            out[1] = map[grey ? 0 : 1][i];
            out[2] = map[0][i];
        } else if (components == 4) {
            const JSAMPLE* p = in + 4 * x;
            out[0] = FromInvertedCmyk(p[2], p[3]);
            out[1] = FromInvertedCmyk(p[1], p[3]);
            out[2] = FromInvertedCmyk(p[0], p[3]);
        } else {
            const JSAMPLE* p = in + 3 * x;
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
}

}  // namespace

TBitmap DecodeJpeg(std::string_view data, const TJpegDecodeOptions& options, DecodeProgress progress) {
    Decoder d;
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.emit_message = EmitMessage;
    d.err.pub.output_message = OutputMessage;
    d.monitor.pub.progress_monitor = MonitorProgress;
    d.monitor.progress = &progress;
    if (!Guarded(d, [&] {
            jpeg_create_decompress(&d.cinfo);
            d.created = true;
            d.cinfo.progress = &d.monitor.pub;
        }))
        Fail(d, progress);
    const int denominator = options.ScaleDenominator;
    if (!Guarded(d, [&] {
            jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                         static_cast<unsigned long>(data.size()));
            jpeg_read_header(&d.cinfo, TRUE);
            d.cinfo.dct_method = JDCT_FLOAT;
            d.cinfo.scale_num = 1;
            d.cinfo.scale_denom = unsigned(denominator == 2 || denominator == 4 || denominator == 8
                                               ? denominator
                                               : 1);
            const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
            d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
            if (options.Quantize8Bit && !cmyk) {
                d.cinfo.quantize_colors = TRUE;
                d.cinfo.desired_number_of_colors = 256;
                d.cinfo.two_pass_quantize = TRUE;
                d.cinfo.dither_mode = JDITHER_FS;
            }
            jpeg_calc_output_dimensions(&d.cinfo);
        }))
        Fail(d, progress);

    CheckPictureFitsMemory(d.cinfo.output_width, d.cinfo.output_height);
    const int width = int(d.cinfo.output_width);
    // The first row decodes before the picture is allocated: a frame that claims far more
    // than its data holds ends here, before gigabytes are filled.
    JSAMPARRAY line = nullptr;
    if (!Guarded(d, [&] {
            jpeg_start_decompress(&d.cinfo);
            line = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                                JDIMENSION(width * d.cinfo.output_components), 1);
            jpeg_read_scanlines(&d.cinfo, line, 1);
        }))
        Fail(d, progress);
    // The library's passes report the whole decode; while the picture's memory is taken, the
    // part done stays where the first row left it.
    TBitmap bitmap = BitmapToFill(width, int(d.cinfo.output_height), progress.Part(d.monitor.done, d.monitor.done));
    ConvertRow(d.cinfo, line[0], bitmap.ScanLine(0), width);
    if (!Guarded(d, [&] {
            while (d.cinfo.output_scanline < d.cinfo.output_height) {
                const int y = int(d.cinfo.output_scanline);
                jpeg_read_scanlines(&d.cinfo, line, 1);
                ConvertRow(d.cinfo, line[0], bitmap.ScanLine(y), width);
            }
            jpeg_finish_decompress(&d.cinfo);
        }))
        Fail(d, progress);
    progress.Step(1, 1);
    return bitmap;
}
