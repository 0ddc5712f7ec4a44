#include "platform/BmpDecode.h"

#include "platform/Exception.h"
#include "platform/FileBytes.h"
#include "platform/PictureMemory.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Compression codes of the info header.
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

[[noreturn]] void Broken(const std::string& name) {
    throw Exception("Die Datei \x84" + name + "\x93 ist keine g\xFCltige Bitmap-Datei.");
}

[[noreturn]] void Incomplete(const std::string& name) {
    throw Exception("Die Datei \x84" + name + "\x93 ist unvollst\xE4ndig: ihre Bildzeilen fehlen.");
}

// Whether the bits of mask form one run (at least one bit).
bool OneRun(std::uint32_t mask) {
    if (mask == 0) return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;  // 2^n - 1; for n = 32 run + 1 wraps to 0
}

// One channel of a pixel, given by its mask and scaled to 0..255.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask) : mask_(mask), shift_(std::countr_zero(mask)) {
        const int bits = std::popcount(mask);
        full_ = (std::uint64_t(1) << bits) - 1;
        if (bits <= 16) {
            scaled_.resize(std::size_t(full_) + 1);
            for (std::uint64_t v = 0; v <= full_; ++v) scaled_[std::size_t(v)] = Scale(std::uint32_t(v));
        }
    }
    std::uint32_t Mask() const { return mask_; }
    std::uint8_t Of(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask_) >> shift_;
        return scaled_.empty() ? Scale(v) : scaled_[v];
    }

private:
    std::uint8_t Scale(std::uint32_t v) const { return std::uint8_t((std::uint64_t(v) * 255 + full_ / 2) / full_); }
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t full_ = 1;
    std::vector<std::uint8_t> scaled_;  // by raw value, for channels of at most 16 bits
};

// What the headers say about the pixels.
struct Layout {
    std::int64_t width = 0, rows = 0;
    bool topDown = false;
    unsigned bits = 0;
    std::uint32_t compression = kRgb;
    std::size_t pixels = 0;               // where the pixel data begins
    std::vector<TColor> table;            // the colour table of 1, 4 and 8 bits
    std::array<Channel, 3> colour;        // red, green, blue of 16 and 32 bits
    Channel alpha;                        // mask 0: no alpha
};

// The masks of 16 and 32 bits: the standard layout, or the file's own masks, each one run of
// bits inside the pixel and apart from the others.
void ReadMasks(std::string_view d, std::uint32_t headerSize, Layout& l, std::size_t& tableStart,
               const std::string& name) {
    std::array<std::uint32_t, 4> m{};  // red, green, blue, alpha
    if (l.compression == kRgb) {
        m = l.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                         : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
        // The alpha mask of a version 3 to 5 header (not the 64-byte OS/2 header) counts
        // when it is one run apart from the colours.
        if (headerSize >= 56 && headerSize != 64) {
            const std::uint32_t a = Get32(d, 14 + 52);
            const std::uint32_t inside = l.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
            if (OneRun(a) && (a & ~inside) == 0 && (a & (m[0] | m[1] | m[2])) == 0) m[3] = a;
        }
    } else {
        const bool withAlpha = l.compression == kAlphaBitFields;
        const std::size_t count = withAlpha ? 4 : 3;
        // A 40-byte header is followed by its masks; longer headers hold them.
        if (headerSize == 40) {
            if (54 + 4 * count > d.size()) Broken(name);
            tableStart += 4 * count;
        } else if (headerSize < 52 || (withAlpha && headerSize < 56)) {
            Broken(name);
        }
        for (std::size_t i = 0; i < count; ++i) m[i] = Get32(d, 54 + 4 * i);
        if (!withAlpha && headerSize >= 56 && headerSize != 64) m[3] = Get32(d, 14 + 52);
        const std::uint32_t inside = l.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        for (std::size_t i = 0; i < 4; ++i) {
            if (i == 3 && m[i] == 0) continue;  // no alpha
            if (!OneRun(m[i]) || (m[i] & ~inside) != 0) Broken(name);
            for (std::size_t j = 0; j < i; ++j)
                if (m[i] & m[j]) Broken(name);
        }
    }
    for (std::size_t i = 0; i < 3; ++i) l.colour[i] = Channel(m[i]);
    if (m[3] != 0) l.alpha = Channel(m[3]);
}

// Whether run-length pixels starting at data[from] reach their end-of-bitmap mark inside the
// data: a run is a count and a value; a zero count escapes to end of line (0), end of
// bitmap (1), a move (2, two bytes follow) or a literal run of n pixels, padded to words.
bool RunLengthComplete(std::string_view d, std::size_t from, bool fourBit) {
    std::size_t at = from;
    while (at + 2 <= d.size()) {
        const unsigned count = std::uint8_t(d[at]), value = std::uint8_t(d[at + 1]);
        at += 2;
        if (count != 0 || value == 0) continue;
        if (value == 1) return true;
        if (value == 2) {
            at += 2;
            continue;
        }
        const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
        at += (bytes + 1) & ~std::size_t(1);
    }
    return false;
}

// Checks the headers against the data and the memory budget and reads what they say.
Layout ReadLayout(std::string_view d, const std::string& name) {
    if (d.size() < 26 || d.substr(0, 2) != "BM") Broken(name);
    const std::uint32_t offBits = Get32(d, 10);
    const std::uint32_t headerSize = Get32(d, 14);
    Layout l;
    std::int64_t height = 0;
    std::uint32_t tableEntries = 0;
    if (headerSize == 12) {  // OS/2 core header
        l.width = Get16(d, 18);
        height = Get16(d, 20);
        l.bits = Get16(d, 24);
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (d.size() < 14 + 40) Broken(name);
        l.width = GetS32(d, 18);
        height = GetS32(d, 22);
        l.bits = Get16(d, 28);
        l.compression = Get32(d, 30);
        tableEntries = Get32(d, 46);
    } else {
        Broken(name);
    }
    if (14 + std::uint64_t(headerSize) > d.size()) Broken(name);
    l.rows = std::llabs(height);
    l.topDown = height < 0;
    if (l.width <= 0 || l.rows == 0) Broken(name);
    const unsigned b = l.bits;
    const bool known = b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32;
    const bool fits = (l.compression == kRgb && known) || (l.compression == kRle8 && b == 8) ||
                      (l.compression == kRle4 && b == 4) ||
                      ((l.compression == kBitFields || l.compression == kAlphaBitFields) && (b == 16 || b == 32));
    if (!fits) Broken(name);
    // A table larger than the depth can address is a damaged header.
    if (b <= 8 && tableEntries > (1u << b)) Broken(name);
    CheckPictureFitsMemory(l.width, l.rows);
    if (offBits >= d.size() || offBits < 14 + headerSize) Broken(name);
    l.pixels = offBits;

    std::size_t tableStart = 14 + headerSize;
    if (b == 16 || b == 32) ReadMasks(d, headerSize, l, tableStart, name);
    if (b <= 8) {
        // The table ends where the pixels begin, whatever the header claims.
        const std::size_t entry = headerSize == 12 ? 3 : 4;
        std::uint64_t n = tableEntries != 0 ? tableEntries : (1u << b);
        n = std::min<std::uint64_t>(n, offBits > tableStart ? (offBits - tableStart) / entry : 0);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t at = tableStart + i * entry;
            l.table.push_back(RGB(std::uint8_t(d[at + 2]), std::uint8_t(d[at + 1]), std::uint8_t(d[at])));
        }
    }

    if (l.compression == kRle8 || l.compression == kRle4) {
        if (!RunLengthComplete(d, offBits, l.compression == kRle4)) Incomplete(name);
    } else {
        const std::uint64_t stride = (std::uint64_t(l.width) * b + 31) / 32 * 4;
        if (std::uint64_t(offBits) + stride * std::uint64_t(l.rows) > d.size()) Incomplete(name);
    }
    return l;
}

using Bgr = std::array<std::uint8_t, 3>;

// The table's colours by index as B, G, R; indexes beyond the table are black.
std::array<Bgr, 256> TableColours(const std::vector<TColor>& table) {
    std::array<Bgr, 256> colours{};
    for (std::size_t i = 0; i < table.size() && i < colours.size(); ++i)
        colours[i] = {std::uint8_t(GetBValue(table[i])), std::uint8_t(GetGValue(table[i])),
                      std::uint8_t(GetRValue(table[i]))};
    return colours;
}

// Writes the pixels of the picture's rows, each given as the file's row from the bottom
// (or from the top for a top-down bitmap), and keeps their alpha until the end.
class RowWriter {
public:
    RowWriter(const Layout& l, TBitmap& out) : l_(l), out_(out) {
        if (l.alpha.Mask() != 0) alpha_.resize(std::size_t(l.width) * std::size_t(l.rows));
    }
    std::uint8_t* Row(std::int64_t fileRow) { return out_.ScanLine(int(Top(fileRow))); }
    std::uint8_t* Alpha(std::int64_t fileRow) {
        return alpha_.empty() ? nullptr : alpha_.data() + std::size_t(Top(fileRow)) * std::size_t(l_.width);
    }
    // Shows the pixels over white, unless no pixel has any opacity (alpha left unused).
    void ApplyAlpha(DecodeProgress progress) {
        if (std::all_of(alpha_.begin(), alpha_.end(), [](std::uint8_t a) { return a == 0; })) return;
        const std::size_t w = std::size_t(l_.width);
        for (std::int64_t y = 0; y < l_.rows; ++y) {
            std::uint8_t* p = out_.ScanLine(int(y));
            const std::uint8_t* a = alpha_.data() + std::size_t(y) * w;
            for (std::size_t x = 0; x < w; ++x, p += 3)
                for (int c = 0; c < 3; ++c) p[c] = OverWhite(p[c], a[x]);
            progress.Step(y + 1, l_.rows);
        }
    }

private:
    std::int64_t Top(std::int64_t fileRow) const { return l_.topDown ? fileRow : l_.rows - 1 - fileRow; }
    const Layout& l_;
    TBitmap& out_;
    std::vector<std::uint8_t> alpha_;
};

void DecodeUncompressed(std::string_view d, const Layout& l, RowWriter& rows, DecodeProgress& progress) {
    const std::size_t w = std::size_t(l.width);
    const std::size_t stride = std::size_t((std::uint64_t(l.width) * l.bits + 31) / 32 * 4);
    const std::array<Bgr, 256> colours = TableColours(l.table);
    const bool plain32 = l.bits == 32 && l.colour[0].Mask() == 0xFF0000 && l.colour[1].Mask() == 0xFF00 &&
                         l.colour[2].Mask() == 0xFF;
    for (std::int64_t r = 0; r < l.rows; ++r) {
        const auto* in = reinterpret_cast<const std::uint8_t*>(d.data()) + l.pixels + std::size_t(r) * stride;
        std::uint8_t* out = rows.Row(r);
        std::uint8_t* alpha = rows.Alpha(r);
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            std::uint32_t pixel = 0;
            switch (l.bits) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = x * l.bits;
                const unsigned index = (in[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
                std::copy(colours[index].begin(), colours[index].end(), out);
                continue;
            }
            case 24:
                std::copy(in + 3 * x, in + 3 * x + 3, out);
                continue;
            case 16: pixel = in[2 * x] | std::uint32_t(in[2 * x + 1]) << 8; break;
            default:
                if (plain32 && !alpha) {
                    std::copy(in + 4 * x, in + 4 * x + 3, out);
                    continue;
                }
                pixel = in[4 * x] | std::uint32_t(in[4 * x + 1]) << 8 | std::uint32_t(in[4 * x + 2]) << 16 |
                        std::uint32_t(in[4 * x + 3]) << 24;
                break;
            }
            out[0] = l.colour[2].Of(pixel);
            out[1] = l.colour[1].Of(pixel);
            out[2] = l.colour[0].Of(pixel);
            if (alpha) alpha[x] = l.alpha.Of(pixel);
        }
        progress.Step(r + 1, l.rows);
    }
}

// Run-length pixels (RLE8, RLE4): runs are clipped at the row's end, and what they leave out
// takes index 0.
void DecodeRunLength(std::string_view d, const Layout& l, RowWriter& rows, DecodeProgress& progress,
                     const std::string& name) {
    const bool fourBit = l.compression == kRle4;
    const std::size_t w = std::size_t(l.width);
    const std::array<Bgr, 256> colours = TableColours(l.table);
    std::vector<std::uint8_t> indexes(w, 0);
    std::int64_t r = 0;
    std::size_t x = 0;
    auto put = [&](unsigned index) {
        if (x < w) indexes[x] = std::uint8_t(index);
        ++x;
    };
    // The row is complete: written out, and the next one starts with index 0.
    auto endRow = [&] {
        if (r < l.rows) {
            std::uint8_t* out = rows.Row(r);
            for (std::size_t i = 0; i < w; ++i, out += 3) std::copy(colours[indexes[i]].begin(), colours[indexes[i]].end(), out);
            std::fill(indexes.begin(), indexes.end(), std::uint8_t(0));
            ++r;
            progress.Step(r, l.rows);
        }
    };
    auto byteAt = [&](std::size_t at) {
        if (at >= d.size()) Incomplete(name);
        return unsigned(std::uint8_t(d[at]));
    };
    std::size_t at = l.pixels;
    while (r < l.rows) {
        const unsigned count = byteAt(at), value = byteAt(at + 1);
        at += 2;
        if (count != 0) {
            for (unsigned i = 0; i < count; ++i) put(fourBit ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
        } else if (value == 0) {  // end of line
            endRow();
            x = 0;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // move right and down
            const unsigned right = byteAt(at), down = byteAt(at + 1);
            at += 2;
            for (unsigned i = 0; i < down && r < l.rows; ++i) endRow();
            x += right;
        } else {  // literal run of value pixels, padded to a word
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = byteAt(at + (fourBit ? i / 2 : i));
                put(fourBit ? (i % 2 == 0 ? byte >> 4 : byte & 0xF) : byte);
            }
            at += (bytes + 1) & ~std::size_t(1);
        }
    }
    while (r < l.rows) endRow();
}

}  // namespace

TBitmap DecodeBmp(std::string_view data, const std::string& name, DecodeProgress progress) {
    const Layout l = ReadLayout(data, name);
    const bool alpha = l.alpha.Mask() != 0;
    TBitmap bitmap = BitmapToFill(int(l.width), int(l.rows), progress.Part(0, 0.3));
    RowWriter rows(l, bitmap);
    DecodeProgress pixels = progress.Part(0.3, alpha ? 0.8 : 1);
    if (l.compression == kRle8 || l.compression == kRle4)
        DecodeRunLength(data, l, rows, pixels, name);
    else
        DecodeUncompressed(data, l, rows, pixels);
    if (alpha) rows.ApplyAlpha(progress.Part(0.8, 1));
    return bitmap;
}
