#include "platform/JpegFile.h"

#include "platform/PictureMemory.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the guarded step that called into the library. Nothing with a destructor lives between the
// jump and its target (the steps are plain calls into C code).
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code = 0;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    std::longjmp(err->jump, 1);
}

// Warnings are ignored except the one that says the data ended early: the library would fill
// the rest of the picture with grey, and a cut-short file must not pass as a picture.
void EmitMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && err->pub.msg_code == JWRN_JPEG_EOF)
        ErrorExit(cinfo);
    if (level < 0)
        ++err->pub.num_warnings;
}

void OutputMessage(j_common_ptr) {}

// The decompressor and its error manager; the destructor frees what the library holds.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    bool created = false;
    ~Decoder() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

// Runs step with the library's fatal errors caught; false when the library gave up.
template <class Step>
bool Guarded(Decoder& d, Step&& step) {
    if (setjmp(d.err.jump))
        return false;
    step();
    return true;
}

[[noreturn]] void Fail(const Decoder& d) { throw EJpegError("JPEG-Fehler #" + std::to_string(d.err.code)); }

// Adobe CMYK data is stored inverted: the stored value is the amount of paper left.
inline std::uint8_t FromInvertedCmyk(unsigned ink, unsigned k) { return std::uint8_t(ink * k / 255); }

}  // namespace

TBitmap DecodeJpeg(std::string_view data, const TJpegDecodeOptions& options) {
    Decoder d;
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.emit_message = EmitMessage;
    d.err.pub.output_message = OutputMessage;
    if (!Guarded(d, [&] {
            jpeg_create_decompress(&d.cinfo);
            d.created = true;
        }))
        Fail(d);
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
        Fail(d);

    CheckPictureFitsMemory(d.cinfo.output_width, d.cinfo.output_height);
    TBitmap bitmap(int(d.cinfo.output_width), int(d.cinfo.output_height), TPixelFormat::pf24bit);
    const int width = bitmap.Width();
    if (!Guarded(d, [&] {
            jpeg_start_decompress(&d.cinfo);
            const int components = d.cinfo.output_components;
            JSAMPARRAY line = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo),
                                                            JPOOL_IMAGE, JDIMENSION(width * components), 1);
            const bool quantized = d.cinfo.quantize_colors;
            JSAMPARRAY map = d.cinfo.colormap;
            const bool grey = d.cinfo.out_color_components == 1;
            while (d.cinfo.output_scanline < d.cinfo.output_height) {
                const int y = int(d.cinfo.output_scanline);
                jpeg_read_scanlines(&d.cinfo, line, 1);
                const JSAMPLE* in = line[0];
                std::uint8_t* out = bitmap.ScanLine(y);
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
            jpeg_finish_decompress(&d.cinfo);
        }))
        Fail(d);
    return bitmap;
}
