#include "generation/Optimiser.h"

#include "generation/ArcCheck.h"
#include "generation/Emitters.h"
#include "generation/GetWord.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/OnExit.h"
#include "generation/ParameterLine.h"
#include "generation/RewriteHost.h"
#include "platform/Application.h"
#include "platform/LineStore.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kMaxLine = 255;

// The rules by which runs of points are merged, chosen by the strategy that wrote the program.
enum class Family { WordsOnly, Rows, Columns, Cross, Circle, Oblique, Polygon, Labyrinth };

Family FamilyOfStrategy(int strategy, bool arcIJ) {
    switch (strategy) {
        case 0: case 4: return Family::Rows;
        case 9: case 13: return Family::Columns;
        case 10: case 17: return Family::Cross;
        case 1: return arcIJ ? Family::Circle : Family::WordsOnly;
        case 11: case 12: return Family::Oblique;
        case 18: return Family::Polygon;
        case 8: case 14: return Family::Labyrinth;
        default: return Family::WordsOnly;
    }
}

bool Contains(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

// The words a body line gives the rewrite, read in one pass: for X, Y, Z and G the same
// words as GetWord (the first occurrence of the letter, then its run of signs, points,
// digits or the letter), and whether the line holds an I, "M0" or a bracket.
struct LineWords {
    std::string_view X, Y, Z, G;
    bool hasI = false;
    bool hasM0 = false;
    bool hasBracket = false;
};

enum Slot : std::uint8_t { kNone, kX, kY, kZ, kG, kI, kM, kBracket, kSlots };

struct CharTables {
    std::uint8_t slot[256] = {};
    bool number[256] = {};
    constexpr CharTables() {
        slot[std::uint8_t('X')] = kX;
        slot[std::uint8_t('Y')] = kY;
        slot[std::uint8_t('Z')] = kZ;
        slot[std::uint8_t('G')] = kG;
        slot[std::uint8_t('I')] = kI;
        slot[std::uint8_t('M')] = kM;
        slot[std::uint8_t('(')] = kBracket;
        for (char c : {'+', '-', '.', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}) number[std::uint8_t(c)] = true;
    }
};
constexpr CharTables kChars;

std::string_view WordAt(std::string_view line, std::size_t at, const char* bare) {
    const char letter = line[at];
    std::size_t end = at + 1;
    while (end < line.size() && (kChars.number[std::uint8_t(line[end])] || line[end] == letter)) ++end;
    if (end == at + 1) return {bare, 2};
    return line.substr(at, end - at);
}

#if defined(__SSE2__)
// Bit i of the result is set where byte i of the 16 at p equals c.
inline unsigned Matches(__m128i block, char c) {
    return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}
#endif

LineWords ReadLineWords(std::string_view line) {
    // Positions + 1 of the first occurrence of each slot's character; 0 for none.
    std::size_t first[kSlots] = {};
    const char* p = line.data();
    const std::size_t n = line.size();
#if defined(__SSE2__)
    if (n >= 16) {
        // Sixteen characters at a time; the last block ends at the line's end and overlaps
        // the one before, whose hits are already recorded.
        constexpr char kLetters[kSlots] = {0, 'X', 'Y', 'Z', 'G', 'I', 'M', '('};
        auto scan = [&](std::size_t at) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
            for (int slot = kX; slot < kSlots; ++slot) {
                const unsigned hits = Matches(block, kLetters[slot]);
                if (hits != 0 && first[slot] == 0) first[slot] = at + std::size_t(__builtin_ctz(hits)) + 1;
            }
        };
        std::size_t at = 0;
        for (; at + 16 <= n; at += 16) scan(at);
        if (at < n) scan(n - 16);
    } else
#endif
    {
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t slot = kChars.slot[std::uint8_t(p[i])];
            if (slot != kNone && first[slot] == 0) first[slot] = i + 1;
        }
    }
    LineWords w;
    if (first[kX]) w.X = WordAt(line, first[kX] - 1, "X0");
    if (first[kY]) w.Y = WordAt(line, first[kY] - 1, "Y0");
    if (first[kZ]) w.Z = WordAt(line, first[kZ] - 1, "Z0");
    if (first[kG]) w.G = WordAt(line, first[kG] - 1, "G0");
    w.hasI = first[kI] != 0;
    w.hasM0 = first[kM] != 0 && line.find("M0", first[kM] - 1) != std::string_view::npos;
    w.hasBracket = first[kBracket] != 0;
    return w;
}

// Word texts compare equal; words are short, so a plain loop beats a library call.
inline bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The body rewrite: the words of the line being read, the previous words, the held-back
// point and the marker state, and the rule of the family. Words are views into the program
// being read or constant texts; the program's front goes over to the result only up to the
// oldest line a kept word points into.
class PathRewrite {
public:
    PathRewrite(TStrings& out, Family family) : out_(out), family_(family) {}

    // The previous words from the line just before the first body line.
    void Start(std::string_view line, std::int64_t index) {
        prevX_ = GetWordView(line, 'X');
        prevY_ = GetWordView(line, 'Y');
        prevZ_ = GetWordView(line, 'Z');
        prevG_ = GetWordView(line, 'G');
        writtenG_ = prevG_;
        current_ = lineX_ = lineY_ = lineZ_ = lineG_ = lineWrittenG_ = index;
    }

    // The first line of the program being read that a kept word may still point into.
    std::int64_t OldestLineInUse() const {
        return std::min({current_, lineX_, lineY_, lineZ_, lineG_, lineWrittenG_});
    }

    void BodyLine(std::string_view line, std::int64_t index) {
        current_ = index;
        if (line.size() > kMaxLine) line = line.substr(0, kMaxLine);
        const LineWords words = ReadLineWords(line);
        if (words.hasM0) {
            // A point still held back is written before the stop, so that the machine stops
            // where the program has brought it.
            FlushHeld();
            out_.Add("M0");
            return;
        }
        if (line.empty()) return;
        if (SameWord(words.G, kArcCentreModeLine)) {
            // The arc-centre mode stands on a line of its own before the first arc; it is
            // no point and changes no word.
            FlushHeld();
            out_.Add(kArcCentreModeLine);
            return;
        }
        X_ = words.X;
        Y_ = words.Y;
        Z_ = words.Z;
        G_ = words.G;
        arc_ = words.hasI;

        bool leavesRows = false;
        if (family_ == Family::Cross) {
            if (firstHalf_ && words.hasBracket && Contains(line, "(RW)")) {
                firstHalf_ = false;
                leavesRows = true;
            }
        } else if (family_ == Family::Labyrinth) {
            // A line without a side marker ends the side: the pass's closing moves and the
            // next pass's move to the centre are written as they stand.
            marker_ = 0;
            if (words.hasBracket) {
                if (Contains(line, "(1)")) marker_ = 1;
                if (Contains(line, "(2)")) marker_ = 2;
                if (Contains(line, "(3)")) marker_ = 3;
                if (Contains(line, "(4)")) marker_ = 4;
            }
        } else if (family_ == Family::Circle || family_ == Family::Oblique || family_ == Family::Polygon) {
            marker_ = words.hasBracket && Contains(line, "(0)") ? 1 : 0;
        }

        if (SameWord(X_, prevX_)) X_ = {};
        if (SameWord(Y_, prevY_)) Y_ = {};
        if (SameWord(Z_, prevZ_)) Z_ = {};
        if (!held_ && SameWord(G_, prevG_)) G_ = {};

        switch (family_) {
            case Family::WordsOnly: Write(G_, X_, Y_, Z_); break;
            case Family::Rows: FlushRowPoint(); break;
            case Family::Columns: FlushColumnPoint(); break;
            case Family::Cross:
                if (leavesRows && held_) {
                    // The last row's tail is written as rows before the columns begin.
                    Flush(Y_.empty() ? Words{prevX_} : Words{prevX_, prevY_});
                }
                if (firstHalf_)
                    FlushRowPoint();
                else
                    FlushColumnPoint();
                break;
            case Family::Circle: CircleRule(); break;
            case Family::Oblique: ObliqueRule(); break;
            case Family::Polygon: PolygonRule(); break;
            case Family::Labyrinth: LabyrinthRule(); break;
        }

        if (!X_.empty()) prevX_ = X_, lineX_ = index;
        if (!Y_.empty()) prevY_ = Y_, lineY_ = index;
        if (!Z_.empty()) prevZ_ = Z_, lineZ_ = index;
        if (!G_.empty()) prevG_ = G_, lineG_ = index;
    }

    // The final retract, after a point still held back.
    void FinalRetract(std::string_view line) {
        FlushHeld();
        out_.Add(line);
    }

private:
    struct Words {
        std::string_view w[4];
        int n = 0;
        Words(std::initializer_list<std::string_view> list) {
            for (std::string_view v : list) w[n++] = v;
        }
    };

    // Joins the non-empty words with single blanks, adds the arc suffix and appends the line;
    // nothing when no word is left.
    void Compose(const Words& words, bool arcSuffix) {
        char* p = buffer_;
        bool any = false;
        for (int i = 0; i < words.n; ++i) {
            const std::string_view w = words.w[i];
            if (w.empty()) continue;
            if (any) *p++ = ' ';
            for (char c : w) *p++ = c;
            any = true;
            if (w.front() == 'G') {
                lineWrittenG_ = w.data() == prevG_.data() ? lineG_ : current_;
                writtenG_ = w;
            }
        }
        if (!any) return;
        if (arcSuffix) {
            std::memcpy(p, " I0 J0", 6);
            p += 6;
        }
        out_.Add(std::string_view(buffer_, std::size_t(p - buffer_)));
    }

    void Write(std::string_view g, std::string_view x, std::string_view y, std::string_view z,
               bool arcSuffix = false) {
        Compose(Words{g, x, y, z}, arcSuffix);
    }

    // Writes the held point in the given form and clears the flag. When that form has no G
    // word while the held point was read under another G than the one last written, its G
    // goes in front: the merged run keeps its own motion (a feed stays a feed).
    void Flush(const Words& words, bool arcSuffix = false) {
        if (!held_) return;
        held_ = false;
        bool hasG = false;
        for (int i = 0; i < words.n; ++i) hasG = hasG || (!words.w[i].empty() && words.w[i].front() == 'G');
        if (!hasG && !prevG_.empty() && prevG_ != writtenG_) {
            Words withG{prevG_};
            for (int i = 0; i < words.n; ++i) withG.w[withG.n++] = words.w[i];
            Compose(withG, arcSuffix);
            return;
        }
        Compose(words, arcSuffix);
    }

    void FlushCirclePoint() { Flush(Words{prevG_, prevX_, prevY_}, prevG_ == "G3"); }

    // The held point in the family's own form, before a stop or the final retract.
    void FlushHeld() {
        if (!held_) return;
        switch (family_) {
            case Family::Circle: FlushCirclePoint(); break;
            case Family::Polygon: Flush(Words{prevG_, prevX_, prevY_}); break;
            case Family::Labyrinth: FlushLabyrinthPoint(); break;
            default: Flush(Words{prevX_, prevY_}); break;
        }
    }

    // Rows: a run along a row at one depth becomes its last point.
    void FlushRowPoint() {
        if (!Y_.empty()) {
            Flush(Words{prevX_, prevY_});
            Write(G_, X_, Y_, Z_);
        } else if (!Z_.empty()) {
            Flush(Words{prevX_});
            Write(G_, X_, Y_, Z_);
        } else {
            held_ = true;
        }
    }

    // Columns: the same with the axes exchanged.
    void FlushColumnPoint() {
        if (!X_.empty()) {
            Flush(Words{prevX_, prevY_});
            Write(G_, X_, Y_, Z_);
        } else if (!Z_.empty()) {
            Flush(Words{prevY_});
            Write(G_, X_, Y_, Z_);
        } else {
            held_ = true;
        }
    }

    // Circle with arcs: a ring at one depth becomes its path start, the first arc point and
    // one arc back to its last point. Only arcs are merged, and only while the merged arc
    // still runs as written from the run's start; a straight move stands as it is, and one
    // that neither moves in X and Y ("X-0" after "X0" included) nor changes the motion is
    // left out.
    void CircleRule() {
        constexpr double kUnreadable = std::numeric_limits<double>::quiet_NaN();
        if (!arc_ && G_.empty() && SameNumber(X_, prevX_) && SameNumber(Y_, prevY_) && Z_.empty()) {
            FlushCirclePoint();
            G_ = {};
            prevMarker_ = marker_;
            return;
        }
        if (marker_ == 1 || !Z_.empty() || prevMarker_ == 1 || !arc_) {
            FlushCirclePoint();
            if (G_ == prevG_) G_ = {};
            Write(G_, X_, Y_, Z_, arc_);
        } else {
            const std::string_view endX = X_.empty() ? prevX_ : X_;
            const std::string_view endY = Y_.empty() ? prevY_ : Y_;
            if (held_ && !ArcRunsAsWritten(runStartX_, runStartY_, WordNumber(endX).value_or(kUnreadable),
                                           WordNumber(endY).value_or(kUnreadable)))
                FlushCirclePoint();
            if (!held_) {
                // The run starts where the tool stands.
                runStartX_ = WordNumber(prevX_).value_or(kUnreadable);
                runStartY_ = WordNumber(prevY_).value_or(kUnreadable);
            }
            held_ = true;
        }
        prevMarker_ = marker_;
    }

    // A word left out or one whose number is the previous word's ("X-0" after "X0").
    static bool SameNumber(std::string_view word, std::string_view previous) {
        if (word.empty()) return true;
        const auto a = WordNumber(word), b = WordNumber(previous);
        return a && b && *a == *b;
    }

    void ObliqueRule() {
        if (marker_ == 1 || !Z_.empty() || prevMarker_ == 1) {
            Flush(Words{prevX_, prevY_});
            Write(G_, X_, Y_, Z_);
        } else {
            held_ = true;
        }
        prevMarker_ = marker_;
    }

    void PolygonRule() {
        if (marker_ == 1 || !Z_.empty()) {
            Flush(Words{prevG_, prevX_, prevY_});
            Write(G_, X_, Y_, Z_);
        } else {
            held_ = true;
        }
    }

    // Sides 1 and 3 run along X, sides 2 and 4 along Y; the held point is written by the
    // side it lies on.
    void FlushLabyrinthPoint() {
        if (!held_) return;
        if (prevMarker_ == 1 || prevMarker_ == 3)
            Flush(Words{prevX_});
        else if (prevMarker_ == 2 || prevMarker_ == 4)
            Flush(Words{prevY_});
        held_ = false;
    }

    void LabyrinthRule() {
        if (marker_ == 0) {
            FlushLabyrinthPoint();
            Write(G_, X_, Y_, Z_);
        } else if (Z_.empty() && marker_ == prevMarker_) {
            held_ = true;
        } else {
            FlushLabyrinthPoint();
            if (marker_ == 1 || marker_ == 3)
                Write(G_, X_, Z_, {});
            else
                Write(G_, Y_, Z_, {});
        }
        prevMarker_ = marker_;
    }

    TStrings& out_;
    Family family_;
    std::string_view X_, Y_, Z_, G_;
    std::string_view prevX_, prevY_, prevZ_, prevG_;
    std::string_view writtenG_;  // the G word last written, the motion the machine is in
    // The lines the kept words come from.
    std::int64_t current_ = 0, lineX_ = 0, lineY_ = 0, lineZ_ = 0, lineG_ = 0, lineWrittenG_ = 0;
    bool arc_ = false;
    bool held_ = false;
    double runStartX_ = 0, runStartY_ = 0;  // where the held arcs start
    int marker_ = 0;
    int prevMarker_ = 0;
    bool firstHalf_ = true;
    char buffer_[5 * (kMaxLine + 1) + 8];
};

// The decimals setting back from its field when the program does not name them.
void ReadDecimalsField(RewriteHost& host, std::uint8_t& komma) {
    double value = komma;
    if (host.GetFieldValue("komma", value) != 0) return;
    auto whole = TruncToInt32(value);
    if (whole && *whole >= 0 && *whole <= 255) komma = std::uint8_t(*whole);
}

int ProgressOf(std::int64_t i, std::int64_t divisor) {
    // A program too short for the divisor counts as done.
    if (divisor <= 0) return 100;
    const double percent = std::nearbyint(100.0 * double(i) / double(divisor));
    return int(std::clamp(percent, 0.0, 100.0));
}

// The percentage after body line i, worked out again only from a line or so before the one
// where it can change; the meter gets each multiple of 10 once (it keeps an unchanged value
// anyway).
class BodyProgress {
public:
    BodyProgress(RewriteHost& host, std::int64_t divisor) : host_(host), divisor_(divisor) {}

    int After(std::int64_t i) {
        if (i < recheckAt_) return percent_;
        const int percent = ProgressOf(i, divisor_);
        if (percent != percent_ && percent % 10 == 0) host_.SetMeterPercent(percent);
        percent_ = percent;
        if (divisor_ <= 0 || percent_ >= 100)
            recheckAt_ = std::numeric_limits<std::int64_t>::max();
        else
            recheckAt_ = std::max(i + 1, std::int64_t((double(percent_) + 0.5) * double(divisor_) / 100.0) - 1);
        return percent_;
    }

private:
    RewriteHost& host_;
    std::int64_t divisor_;
    int percent_ = -1;
    std::int64_t recheckAt_ = 0;
};

}  // namespace

void weg_Optimieren(RewriteHost& host, TStrings& scratch) {
    MainState& s = Main;
    TStrings& out = host.ProgramLines();
    const std::int32_t strategyBefore = s.StrategyIndex;
    OnExit restore{[&] { s.StrategyIndex = strategyBefore; }};

    std::string copy = scratch.Count() > 1 ? std::string(First255Characters(scratch.Line(1))) : std::string();
    const ParameterLineRead read = ReadParameterLine(copy);
    if (read.error == ParameterLineError::NoStrategy) {
        host.ShowFileMessage(MsgBadHeader, 'N');
        return;
    }
    s.StrategyIndex = read.fields.strategy;
    s.AbortRequested = true;
    if (read.error == ParameterLineError::BadCentre) {
        host.ShowFileMessage(MsgBadHeader, 'N');
        return;
    }
    if (read.fields.decimals) {
        s.komma = *read.fields.decimals;
        host.SetFieldValue("komma", s.komma);
    } else {
        ReadDecimalsField(host, s.komma);
    }
    s.AbortRequested = false;
    Application->ProcessMessages();

    // Header: the first header line, the parameter line, the further header lines.
    const int headerCount = std::clamp<int>(s.HeaderLineCount, 0, kHeaderLineSlots);
    const int trailerCount = std::clamp<int>(s.TrailerLineCount, 0, kHeaderLineSlots);
    out.Add(s.HeaderLines[0]);
    out.Add(copy);
    for (int i = 2; i <= headerCount; ++i) out.Add(s.HeaderLines[std::size_t(i - 1)]);

    // The body lies after the header and never starts before line 2 (the parameter line
    // stays where it is); its end lies within the program.
    const std::int64_t count = std::int64_t(scratch.Count());
    std::int64_t first = read.fields.headerLines != 0 ? std::int64_t(read.fields.headerLines) + 1 : headerCount + 1;
    first = std::max<std::int64_t>(first, 2);
    std::int64_t last = read.fields.lastLine;
    if (last == 0) last = count - trailerCount - 1;
    last = std::min(last, count - 1);

    PathRewrite rewrite(out, FamilyOfStrategy(s.StrategyIndex, host.IsChecked("bogen_IJ")));
    rewrite.Start(first - 1 < count ? scratch.Line(std::size_t(first - 1)) : std::string_view(), first - 1);
    const std::string retract = "G0Z" + FormatNumber(s.komma, s.zg0);
    BodyProgress progress(host, last - trailerCount);
    for (std::int64_t i = first; i <= last + 1; ++i) {
        if (i == last + 1)
            rewrite.FinalRetract(retract);
        else
            rewrite.BodyLine(scratch.Line(std::size_t(i)), i);
        // The memory of lines read and no longer pointed into goes over to the result.
        if ((i & 0xFFFF) == 0) scratch.HandOverLinesBefore(std::size_t(rewrite.OldestLineInUse()), out);
        Application->ProcessMessages();
        if (s.AbortRequested) break;
        s.ProgressPercent = progress.After(i);
    }

    // Completion, also after an abort.
    const std::string closing = s.CommentBrackets.size() > 1 ? s.CommentBrackets.substr(1) : std::string();
    std::string corrected = copy.substr(0, std::min(read.fields.lastLineAt, copy.size()));
    corrected += std::to_string(out.Count() - 1);
    corrected += ",0";
    corrected += closing;
    out.Put(1, corrected);
    for (int i = 0; i < trailerCount; ++i) out.Add(s.TrailerLines[std::size_t(i)]);
    out.FreeSpareMemory();
    host.SetFieldValue("Ges_zeilen", double(out.Count()));
}

void RunOptimiser(RewriteHost& host) {
    if (!host.IsChecked("Prg_optimieren")) return;
    MainState& s = Main;
    TStrings& program = host.ProgramLines();
    host.SetWaitLabelVisible(true);
    host.SetMeterPercent(0);
    host.ShowProcessCaption("Prg_optimieren");
    Application->ProcessMessages();
    if (program.Count() < 2 || !Contains(program.Line(1), "SEL=")) {
        host.ShowFileMessage(MsgBadHeader, 'N');
        // The program stays as it is; the busy display ends.
        host.SetWaitLabelVisible(false);
        host.ShowProcessCaption("");
        return;
    }
    host.SetProgramControlsEnabled(false);
    {
        // The program moves into the scratch store and the editor starts empty; the
        // clipboard holds nothing meanwhile, never a part of a program.
        TStrings scratch;
        OnExit enable{[&] {
            scratch.Clear();
            host.SetProgramControlsEnabled(true);
            host.ShowProcessCaption("");
            host.SetWaitLabelVisible(false);
        }};
        scratch.Swap(program);
        host.ClearClipboard();
        Application->ProcessMessages();
        host.SetWaitLabelVisible(false);
        weg_Optimieren(host, scratch);
        host.SetWaitLabelVisible(true);
        if (s.AbortRequested) program.Clear();
    }
    Application->ProcessMessages();
}
