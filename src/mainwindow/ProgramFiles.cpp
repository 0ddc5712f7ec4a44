#include "mainwindow/ProgramFiles.h"

#include "generation/Emitters.h"
#include "generation/PartJoint.h"
#include "platform/IntlSource.h"
#include "platform/LineStore.h"
#include "platform/TextTrim.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::vector<std::string> ProgramListNames(const std::string& name, int count) {
    std::vector<std::string> names;
    const bool blank = Trim(name).empty();
    if (blank || count < 1) return names;
    names.push_back(name);
    for (int k = 1; k < count; ++k) names.push_back(name + std::to_string(k));
    return names;
}

std::vector<LineRange> SplitProgram(std::size_t lines, int parts) {
    std::vector<LineRange> ranges;
    if (parts < 1) return ranges;
    const std::size_t n = std::size_t(parts);
    const std::size_t per = lines / n;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t first = i * per;
        const std::size_t end = i + 1 == n ? lines : (i + 1) * per;
        ranges.push_back({first, end});
    }
    return ranges;
}

std::vector<std::string> PartHeaderLines(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    for (const std::string& e : entries)
        if (!Trim(e).empty()) out.push_back(e);
    return out;
}

std::vector<std::string> PartTrailerLines(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    for (const std::string& e : entries)
        if (!e.empty()) out.push_back(e);
    return out;
}

namespace {

// Collects lines into large blocks before they go to the file.
class BlockWriter {
public:
    explicit BlockWriter(QSaveFile& file) : file_(file), buffer_(new char[kBlock]) {}
    void Line(std::string_view line) {
        if (line.size() + 2 > kBlock - used_) {
            Flush();
            if (line.size() + 2 > kBlock) {  // a line longer than a block goes on its own
                Write(line.data(), line.size());
                Write("\r\n", 2);
                return;
            }
        }
        char* at = buffer_.get() + used_;
        std::memcpy(at, line.data(), line.size());
        at[line.size()] = '\r';
        at[line.size() + 1] = '\n';
        used_ += line.size() + 2;
    }
    bool Flush() {
        Write(buffer_.get(), used_);
        used_ = 0;
        return ok_;
    }
    bool Ok() const { return ok_; }

private:
    void Write(const char* data, std::size_t size) {
        if (ok_ && size) ok_ = file_.write(data, qint64(size)) == qint64(size);
    }
    static constexpr std::size_t kBlock = std::size_t(4) << 20;
    QSaveFile& file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

}  // namespace

bool WriteProgramPart(const std::string& path, const std::vector<std::string>& header,
                      const TStrings& lines, LineRange range,
                      const std::vector<std::string>& trailer, const LineReplacement* replaced) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    BlockWriter out(file);
    for (const std::string& h : header) out.Line(h);
    for (std::size_t i = range.first; i < range.end && i < lines.Count() && out.Ok(); ++i)
        out.Line(replaced && replaced->index == i ? std::string_view(replaced->line) : lines.Line(i));
    for (const std::string& t : trailer) out.Line(t);
    if (!out.Flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace {

// What the lines of one part need so that it runs on its own.
struct PartReading {
    bool declaresArcMode = false;           // one of the part's lines declares the arc-centre mode
    std::size_t leaning = std::size_t(-1);  // the first line that moves, when it names no motion
};

PartReading ReadPart(const TStrings& lines, LineRange range, bool arcModeDeclared) {
    PartReading p;
    const std::size_t end = std::min(range.end, lines.Count());
    for (std::size_t i = range.first; i < end; ++i) {
        const LineMotion m = MotionOf(lines.Line(i));
        if (m.moves || m.namesMotion) {
            if (!m.namesMotion) p.leaning = i;
            break;
        }
    }
    for (std::size_t i = range.first; i < end && !arcModeDeclared && !p.declaresArcMode; ++i)
        p.declaresArcMode = DeclaresArcCentreMode(lines.Line(i));
    return p;
}

}  // namespace

SetOnDisk FindSetOnDisk(const std::string& directory, const std::vector<std::string>& names) {
    SetOnDisk found;
    if (names.empty()) return found;
    for (const std::string& name : names)
        if (QFileInfo::exists(QString::fromStdString(directory + name))) found.replaced.push_back(name);
    // Only files count as parts: a folder of such a name ends the older set.
    for (std::size_t k = names.size();; ++k) {
        std::string part = names[0] + std::to_string(k);
        if (!QFileInfo(QString::fromStdString(directory + part)).isFile()) break;
        found.leftovers.push_back(std::move(part));
    }
    return found;
}

namespace {

std::string Quoted(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "„" : ", „") + name + "“";
    return out;
}

}  // namespace

std::string ReplaceSetQuestion(const std::string& directory, const SetOnDisk& found) {
    std::string text = "Im Ordner „" + directory + "“ gibt es schon Dateien dieses Namens.\n";
    if (!found.replaced.empty()) text += "\nÜberschrieben werden: " + Quoted(found.replaced) + ".";
    if (!found.leftovers.empty())
        text += "\nGelöscht werden die übrigen Teile eines längeren Programms gleichen Namens, damit kein altes "
                "Teil nach den neuen läuft: " + Quoted(found.leftovers) + ".";
    return text + "\n\nSpeichern? Bei „Nein“ wird nichts gespeichert.";
}

std::string LeftoversKeptNotice(const std::vector<std::string>& parts) {
    return "Das Programm wurde gespeichert, aber die alten Teile " + Quoted(parts) +
           " konnten nicht gelöscht werden. Bitte sie von Hand löschen, damit kein altes Teil nach den neuen "
           "läuft.";
}

namespace {

// Removes the leftover parts of a longer set after the new set is complete.
void RemoveLeftovers(const std::string& directory, const std::vector<std::string>& leftovers,
                     std::vector<std::string>* kept) {
    for (const std::string& part : leftovers) {
        const QString path = QString::fromStdString(directory + part);
        if (!QFile::remove(path) && QFileInfo::exists(path) && kept) kept->push_back(part);
    }
}

}  // namespace

int SaveProgram(const SaveRequest& r, const TStrings& lines, std::vector<std::string>* leftoversKept) {
    if (r.count <= 0) return -1;
    if (lines.Count() <= 1) return 5;
    if (r.names.size() != std::size_t(r.count)) return 2;
    for (const std::string& name : r.names) {
        if (Trim(name).empty()) {
            return 3;
        }
    }
    // The parts join at the safe height: at the surface or below, the rapids of the joints
    // would run in the material.
    std::optional<SafeHeight> safe;
    if (r.count > 1) {
        if (!std::isfinite(r.safeHeight)) return kSafeHeightNotAboveTheSurface;
        safe.emplace(r.safeHeight, r.decimals);
        if (!(safe->value > 0)) return kSafeHeightNotAboveTheSurface;
    }
    // One question for everything the save replaces, before anything is written.
    const SetOnDisk found = FindSetOnDisk(r.directory, r.names);
    if (!found.Empty() && r.mayReplace && !r.mayReplace(found)) return kReplaceDeclined;
    if (r.count == 1) {
        if (!WriteProgramPart(r.directory + r.names[0], {}, lines, {0, lines.Count()}, {})) return 4;
        RemoveLeftovers(r.directory, found.leftovers, leftoversKept);
        return 0;
    }
    const std::vector<std::string> header = PartHeaderLines(r.headerLines);
    const std::vector<std::string> trailer = PartTrailerLines(r.trailerLines);
    bool arcModeDeclared = false;  // by a part before
    ToolStand stand;               // where the parts before leave the tool
    const std::vector<LineRange> parts = SplitProgram(lines.Count(), r.count);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool first = i == 0, last = i + 1 == parts.size();
        const PartReading part = ReadPart(lines, parts[i], arcModeDeclared);
        const ToolStand before = stand;
        stand = StandAfter(lines, parts[i].first, parts[i].end, before);
        std::vector<std::string> opening = header;
        if (arcModeDeclared) opening.emplace_back(kArcCentreModeLine);
        std::optional<LineReplacement> leaning;
        if (!first) {
            for (std::string& line : PartStartLines(before, *safe)) opening.push_back(std::move(line));
            if (part.leaning != std::size_t(-1) && before.motion >= 0)
                leaning = LineReplacement{part.leaning,
                                          WithMotionWord(lines.Line(part.leaning), before.motion, before.blanks)};
        }
        std::vector<std::string> closing;
        if (!last) {
            closing = PartEndLines(stand, *safe);
            closing.insert(closing.end(), trailer.begin(), trailer.end());
        }
        if (!WriteProgramPart(r.directory + r.names[i], opening, lines, parts[i], closing,
                              leaning ? &*leaning : nullptr)) {
            return 4;
        }
        arcModeDeclared = arcModeDeclared || part.declaresArcMode;
    }
    RemoveLeftovers(r.directory, found.leftovers, leftoversKept);
    return 0;
}

namespace {

bool IsValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        unsigned min = 0;
        if ((c & 0xE0) == 0xC0) { len = 2; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { len = 3; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { len = 4; min = 0x10000; }
        else return false;
        if (i + len > n) return false;
        unsigned cp = c & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

// Whether any byte of s lies above 127, tested a word at a time.
bool HasHighBytes(std::string_view s) {
    std::uint64_t bits = 0;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        bits |= word;
    }
    for (; i < s.size(); ++i) bits |= static_cast<unsigned char>(s[i]);
    return (bits & 0x8080808080808080u) != 0;
}

// Where the CRs and the LFs lie among 64 bytes (bit i for byte i), and whether any byte lies
// above 127.
struct LineEndBits {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    bool high = false;
};
constexpr std::size_t kScanBytes = 64;

LineEndBits ScanLineEnds(const char* p) {
    LineEndBits bits;
#if defined(__SSE2__)
    unsigned high = 0;
    for (std::size_t k = 0; k < kScanBytes; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        bits.cr |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))))) << k;
        bits.lf |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))))) << k;
        high |= unsigned(_mm_movemask_epi8(v));
    }
    bits.high = high != 0;
#else
    for (std::size_t k = 0; k < kScanBytes; ++k) {
        bits.cr |= std::uint64_t(p[k] == '\r') << k;
        bits.lf |= std::uint64_t(p[k] == '\n') << k;
        bits.high = bits.high || static_cast<unsigned char>(p[k]) >= 0x80;
    }
#endif
    return bits;
}

constexpr qint64 kReadBlock = qint64(8) << 20;

// The read buffer of this thread, kept for the next load. A load reads into it before it
// looks at its bytes and looks only at the bytes that read gave, so nothing of a file read
// before is ever seen.
char* ReadBuffer() {
    thread_local const std::unique_ptr<char[]> buffer =
        std::make_unique_for_overwrite<char[]>(std::size_t(kReadBlock));
    return buffer.get();
}

// Reads the file's lines into `lines`. A line ends at CR LF, LF or CR (a CR LF split between
// two blocks counts once). Without `asCp1252`, a line that is not valid UTF-8 stops the read
// with `utf8` cleared, so the caller can read the file again as Windows-1252.
// Each block is looked at once, 64 bytes at a time: that gives the line ends and tells which
// lines may hold bytes above 127 (only those get a look of their own).
bool ReadLines(QFile& file, TStrings& lines, bool asCp1252, bool& utf8) {
    char* const block = ReadBuffer();
    std::string carry;  // an unfinished line from the blocks before
    // The last line end was a CR: an LF right after it belongs to it.
    bool afterCr = false;
    // A line that may hold bytes above 127.
    auto addChecked = [&](std::string_view line) {
        if (HasHighBytes(line)) {
            if (asCp1252) {
                lines.Add(Win1252ToQString(line).toStdString());
                return true;
            }
            if (!IsValidUtf8(line)) {
                utf8 = false;
                return false;
            }
        }
        lines.Add(line);
        return true;
    };
    while (true) {
        const qint64 got = file.read(block, kReadBlock);
        if (got < 0) return false;
        if (got == 0) break;
        const std::size_t size = std::size_t(got);
        std::size_t start = 0;    // where the current line begins
        std::size_t highEnd = 0;  // the end of the last 64 bytes with a byte above 127 (0: none)
        std::uint64_t crBefore = afterCr ? 1 : 0;  // the byte before these 64 is a CR
        for (std::size_t at = 0; at < size; at += kScanBytes) {
            const char* group = block + at;
            char rest[kScanBytes];
            if (size - at < kScanBytes) {
                // The block's last bytes, followed by bytes that end no line.
                std::memset(rest, 0, sizeof rest);
                std::memcpy(rest, group, size - at);
                group = rest;
            }
            const LineEndBits bits = ScanLineEnds(group);
            if (bits.high) highEnd = at + kScanBytes;
            // An LF right after a CR is part of its line end.
            std::uint64_t ends = bits.cr | (bits.lf & ~(bits.cr << 1 | crBefore));
            crBefore = bits.cr >> 63;
            for (; ends != 0; ends &= ends - 1) {
                const int bit = std::countr_zero(ends);
                const std::size_t end = at + std::size_t(bit);
                if (afterCr && block[start] == '\n') ++start;
                if (carry.empty()) [[likely]] {
                    const std::string_view line(block + start, end - start);
                    if (highEnd <= start) {
                        lines.Add(line);
                    } else if (!addChecked(line)) {
                        return true;
                    }
                } else {
                    carry.append(block + start, end - start);
                    if (!addChecked(carry)) return true;
                    carry.clear();
                }
                afterCr = (bits.cr >> bit & 1) != 0;
                start = end + 1;
            }
        }
        if (afterCr && start < size && block[start] == '\n') {
            ++start;
            afterCr = false;
        }
        if (start < size) {
            afterCr = false;
            carry.append(block + start, size - start);
        }
    }
    if (!carry.empty()) addChecked(carry);
    return true;
}

}  // namespace

bool LoadProgramFile(const std::string& path, TStrings& lines) {
    const QString name = QString::fromStdString(path);
    // A pipe or device would block the read (a pipe until a writer comes); a folder has no lines.
    if (!QFileInfo(name).isFile()) return false;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return false;
    TStrings loaded;
    bool utf8 = true;
    if (!ReadLines(file, loaded, false, utf8)) return false;
    if (!utf8) {
        loaded.Clear();
        if (!file.seek(0)) return false;
        bool unused = false;
        if (!ReadLines(file, loaded, true, unused)) return false;
    }
    lines.Swap(loaded);
    return true;
}

char ProgramKeyCapital(char key) { return key >= 'a' && key <= 'z' ? char(key - 'a' + 'A') : key; }

std::vector<PrintPlacement> PaginateListing(std::size_t lines, int lineHeight, int pageHeight) {
    std::vector<PrintPlacement> out;
    out.reserve(lines);
    const int top = 3 * lineHeight;
    int y = top;
    int page = 1;
    for (std::size_t i = 0; i < lines; ++i) {
        PrintPlacement p{page, false, 0};
        if (y == top) {
            p.pageHeader = true;
            y += lineHeight;
        }
        p.y = y;
        out.push_back(p);
        y += lineHeight;
        if (y > pageHeight - top) {
            y = top;
            ++page;
        }
    }
    return out;
}

int ListingProgress(std::size_t index, std::size_t lastIndex) {
    if (lastIndex == 0) return 100;  // a one-line listing is done with its line
    const double p = 100.0 * double(index) / double(lastIndex);
    return int(std::nearbyint(p));
}
