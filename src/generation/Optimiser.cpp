#include "generation/Optimiser.h"

#include "generation/GetWord.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/ParameterLine.h"
#include "generation/RewriteHost.h"
#include "platform/Application.h"
#include "platform/LineStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
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

// Runs fn when the scope ends, however it ends; a second error while one is on its way up
// is dropped.
template <typename Fn>
struct OnExit {
    Fn fn;
    int pending = std::uncaught_exceptions();
    ~OnExit() noexcept(false) {
        if (std::uncaught_exceptions() == pending) {
            fn();
            return;
        }
        try {
            fn();
        } catch (...) {
        }
    }
};
template <typename Fn>
OnExit(Fn) -> OnExit<Fn>;

// The body rewrite: the words of the line being read, the previous words, the held-back
// point and the marker state, and the rule of the family. Words are views into the program
// being read (which does not change meanwhile) or constant texts.
class PathRewrite {
public:
    PathRewrite(TStrings& out, Family family) : out_(out), family_(family) {}

    // The previous words from the line just before the first body line.
    void Start(std::string_view line) {
        prevX_ = GetWordView(line, 'X');
        prevY_ = GetWordView(line, 'Y');
        prevZ_ = GetWordView(line, 'Z');
        prevG_ = GetWordView(line, 'G');
        writtenG_ = prevG_;
    }

    void BodyLine(std::string_view line) {
        if (line.size() > kMaxLine) line = line.substr(0, kMaxLine);
        if (Contains(line, "M0")) {
            // A point still held back is written before the stop, so that the machine stops
            // where the program has brought it.
            FlushHeld();
            out_.Add("M0");
            return;
        }
        if (line.empty()) return;
        X_ = GetWordView(line, 'X');
        Y_ = GetWordView(line, 'Y');
        Z_ = GetWordView(line, 'Z');
        G_ = GetWordView(line, 'G');
        arc_ = line.find('I') != std::string_view::npos;

        bool leavesRows = false;
        if (family_ == Family::Cross) {
            if (firstHalf_ && Contains(line, "(RW)")) {
                firstHalf_ = false;
                leavesRows = true;
            }
        } else if (family_ == Family::Labyrinth) {
            // A line without a side marker ends the side: the pass's closing moves and the
            // next pass's move to the centre are written as they stand.
            marker_ = 0;
            if (line.find('(') != std::string_view::npos) {
                if (Contains(line, "(1)")) marker_ = 1;
                if (Contains(line, "(2)")) marker_ = 2;
                if (Contains(line, "(3)")) marker_ = 3;
                if (Contains(line, "(4)")) marker_ = 4;
            }
        } else if (family_ == Family::Circle || family_ == Family::Oblique || family_ == Family::Polygon) {
            marker_ = Contains(line, "(0)") ? 1 : 0;
        }

        if (X_ == prevX_) X_ = {};
        if (Y_ == prevY_) Y_ = {};
        if (Z_ == prevZ_) Z_ = {};
        if (!held_ && G_ == prevG_) G_ = {};

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

        if (!X_.empty()) prevX_ = X_;
        if (!Y_.empty()) prevY_ = Y_;
        if (!Z_.empty()) prevZ_ = Z_;
        if (!G_.empty()) prevG_ = G_;
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
            std::memcpy(p, w.data(), w.size());
            p += w.size();
            any = true;
            if (w.front() == 'G') writtenG_ = w;
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
    // one arc back to its last point.
    void CircleRule() {
        if (marker_ == 1 || !Z_.empty() || prevMarker_ == 1) {
            FlushCirclePoint();
            if (G_ == prevG_) G_ = {};
            Write(G_, X_, Y_, Z_, arc_);
        } else {
            held_ = true;
        }
        prevMarker_ = marker_;
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
    bool arc_ = false;
    bool held_ = false;
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

}  // namespace

void weg_Optimieren(RewriteHost& host, const TStrings& scratch) {
    MainState& s = Main;
    TStrings& out = host.ProgramLines();
    const std::int32_t strategyBefore = s.StrategyIndex;
    OnExit restore{[&] { s.StrategyIndex = strategyBefore; }};

    std::string copy = scratch.Count() > 1 ? std::string(scratch.Line(1).substr(0, kMaxLine)) : std::string();
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
    rewrite.Start(first - 1 < count ? scratch.Line(std::size_t(first - 1)) : std::string_view());
    const std::string retract = "G0Z" + FormatNumber(s.komma, s.zg0);
    const std::int64_t divisor = last - trailerCount;
    for (std::int64_t i = first; i <= last + 1; ++i) {
        if (i == last + 1)
            rewrite.FinalRetract(retract);
        else
            rewrite.BodyLine(scratch.Line(std::size_t(i)));
        Application->ProcessMessages();
        if (s.AbortRequested) break;
        s.ProgressPercent = ProgressOf(i, divisor);
        if (s.ProgressPercent % 10 == 0) host.SetMeterPercent(s.ProgressPercent);
    }

    // Completion, also after an abort.
    const std::string closing = s.CommentBrackets.size() > 1 ? s.CommentBrackets.substr(1) : std::string();
    std::string corrected = copy.substr(0, std::min(read.fields.lastLineAt, copy.size()));
    corrected += std::to_string(out.Count() - 1);
    corrected += ",0";
    corrected += closing;
    out.Put(1, corrected);
    for (int i = 0; i < trailerCount; ++i) out.Add(s.TrailerLines[std::size_t(i)]);
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
