#pragma once
// A small modal G-code interpreter for tests: replays a program as a controller runs it and
// records its cut, the sequence of cutting segments (feed moves, arcs, and rapids that start or
// end below the surface, retracts included) with consecutive segments merged where they
// continue one another at one depth, and the tool positions at every stop "M0" and at the
// program's end.
//
// It refuses what the controllers refuse, and a refused line does nothing (as when a sender
// goes on after an error): a word it cannot read (a letter it does not know, a number that
// does not read, a G or M code it does not model, a word given twice), an unclosed comment,
// axis words with no motion in force, a feed move or arc with no feed rate in force, and an
// arc whose centre in the declared mode (I, J offsets from the start, or with G90.1 absolute)
// does not lie at the same distance from start and end, within the controller's own limit
// (LinuxCNC: 0.0254 mm or 0.1 % of the radius, and never 2.54 mm; grbl: 0.005 mm or 0.1 %, and
// never 0.5 mm). It reads G0 to G3, G17, G21, G90, G94, G90.1 and G91.1, M0, M2, M3, M5,
// M30, F, S and N; comments in round brackets and after ";" are skipped; lines after the
// program end (M2, M30) are not run. Modelling grbl 1.1, it also refuses a "%" line and G90.1,
// which grbl does not know.
#include "platform/LineStore.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

struct ToolPoint {
    double x = 0, y = 0, z = 0;
};

struct CutStep {
    enum Kind { Feed, Arc, RapidInMaterial, Stop, End };
    Kind kind = Feed;
    ToolPoint from, to;
    double cx = 0, cy = 0;  // arcs: the centre
    double sweep = 0;       // arcs: radians, positive counter-clockwise
};

inline std::ostream& operator<<(std::ostream& os, const CutStep& s) {
    static const char* const names[] = {"feed", "arc", "rapid in material", "stop", "end"};
    os << names[s.kind] << " (" << s.from.x << ", " << s.from.y << ", " << s.from.z << ") -> (" << s.to.x << ", "
       << s.to.y << ", " << s.to.z << ")";
    if (s.kind == CutStep::Arc) os << " about (" << s.cx << ", " << s.cy << ") sweep " << s.sweep;
    return os;
}

// The controller whose rules the replay applies.
enum class Controller { LinuxCnc, Grbl };

struct ControllerRules {
    Controller controller = Controller::LinuxCnc;
};

// A line the controller refused, with its 0-based index and the reason.
struct RefusedLine {
    std::size_t index;
    std::string line;
    std::string reason;
};

inline std::ostream& operator<<(std::ostream& os, const RefusedLine& r) {
    return os << "line " << r.index << " [" << r.line << "]: " << r.reason;
}

class ToolpathReplay {
public:
    // `mergeTolerance`: how far (mm) a joint may lie off the straight line through its
    // neighbours and still be merged; programs with d decimals round every point by up to
    // half a unit of the last decimal.
    explicit ToolpathReplay(double mergeTolerance = 0.01, ToolPoint start = {0, 0, 100}, ControllerRules rules = {})
        : tolerance_(mergeTolerance), rules_(rules), at_(start) {}

    void Replay(const TStrings& program) {
        for (std::size_t i = 0; i < program.Count(); ++i) Line(program.Line(i));
        Finish();
    }
    void Replay(const std::vector<std::string>& program) {
        for (const auto& line : program) Line(line);
        Finish();
    }

    const std::vector<CutStep>& Cut() const { return cut_; }
    const std::vector<RefusedLine>& Refused() const { return refused_; }
    // Whether the program end (M2, M30) was run.
    bool EndReached() const { return ended_; }
    std::size_t Stops() const { return stops_; }
    // The first refusal as a text, or an empty text.
    std::string FirstRefusal() const {
        if (refused_.empty()) return {};
        std::ostringstream os;
        os << refused_.size() << " lines refused, the first " << refused_.front();
        return os.str();
    }

    void Line(std::string_view line) {
        const std::size_t index = lines_++;
        if (ended_) return;
        Block b;
        if (const char* reason = Read(line, b)) {
            refused_.push_back({index, std::string(line), reason});
            return;
        }
        if (const char* reason = Run(b)) refused_.push_back({index, std::string(line), reason});
    }

    void Finish() { Add({CutStep::End, at_, at_, 0, 0, 0}); }

private:
    // The words of one line.
    struct Block {
        int motion = -1;  // 0 to 3 when the line holds G0 to G3
        int arcCentres = 0;  // 1 absolute (G90.1), -1 incremental (G91.1)
        bool hasX = false, hasY = false, hasZ = false, hasI = false, hasJ = false, hasF = false, hasS = false;
        double x = 0, y = 0, z = 0, i = 0, j = 0, f = 0, s = 0;
        bool stop = false, end = false;
        bool percent = false;
    };

    // Reads the words of a line into b; the reason when the controller cannot read it.
    const char* Read(std::string_view line, Block& b) const {
        std::size_t p = 0;
        auto blank = [&](char c) { return c == ' ' || c == '\t' || c == '\r'; };
        while (p < line.size() && blank(line[p])) ++p;
        if (p < line.size() && line[p] == '%') {
            std::size_t q = p + 1;
            while (q < line.size() && blank(line[q])) ++q;
            if (q == line.size()) {
                if (rules_.controller == Controller::Grbl) return "a \"%\" line (grbl: expected command letter)";
                b.percent = true;
                return nullptr;
            }
        }
        bool motionGiven = false;
        while (p < line.size()) {
            const char c = line[p];
            if (blank(c)) {
                ++p;
                continue;
            }
            if (c == ';') break;
            if (c == '(') {
                const std::size_t close = line.find(')', p);
                if (close == std::string_view::npos) return "an unclosed comment";
                p = close + 1;
                continue;
            }
            const char letter = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
            if (letter < 'A' || letter > 'Z') return "a character that is no word";
            double value = 0;
            const std::size_t end = Number(line, p + 1, value);
            if (end == p + 1) return "a letter without a number";
            p = end;
            auto once = [](bool& given, double& into, double v) {
                if (given) return false;
                given = true;
                into = v;
                return true;
            };
            switch (letter) {
                case 'X': if (!once(b.hasX, b.x, value)) return "X twice"; break;
                case 'Y': if (!once(b.hasY, b.y, value)) return "Y twice"; break;
                case 'Z': if (!once(b.hasZ, b.z, value)) return "Z twice"; break;
                case 'I': if (!once(b.hasI, b.i, value)) return "I twice"; break;
                case 'J': if (!once(b.hasJ, b.j, value)) return "J twice"; break;
                case 'F':
                    if (!once(b.hasF, b.f, value)) return "F twice";
                    if (value < 0) return "a negative feed rate";
                    break;
                case 'S':
                    if (!once(b.hasS, b.s, value)) return "S twice";
                    if (value < 0) return "a negative spindle speed";
                    break;
                case 'N':
                    if (value != std::trunc(value) || value < 0 || value > 9999999) return "a line number that is no whole number up to 9999999";
                    break;
                case 'G': {
                    const long code = std::lround(value * 10);
                    if (std::fabs(value * 10 - double(code)) > 1e-9) return "a G code it does not know";
                    switch (code) {
                        case 0: case 10: case 20: case 30:
                            if (motionGiven) return "two motions on one line";
                            motionGiven = true;
                            b.motion = int(code / 10);
                            break;
                        case 170: case 210: case 900: case 940: break;  // XY plane, mm, absolute, feed per minute
                        case 901:
                            if (rules_.controller == Controller::Grbl) return "G90.1 (grbl: unsupported command)";
                            b.arcCentres = 1;
                            break;
                        case 911: b.arcCentres = -1; break;
                        default: return "a G code it does not model";
                    }
                    break;
                }
                case 'M':
                    if (value == 0) b.stop = true;
                    else if (value == 2 || value == 30) b.end = true;
                    else if (value != 3 && value != 5) return "an M code it does not model";
                    break;
                default: return "a letter it does not know";
            }
        }
        return nullptr;
    }

    // Runs a block that reads; the reason when the controller refuses it.
    const char* Run(const Block& b) {
        if (b.percent) return nullptr;
        const int motion = b.motion >= 0 ? b.motion : mode_;
        const bool axes = b.hasX || b.hasY || b.hasZ;
        if ((b.hasI || b.hasJ) && !(motion == 2 || motion == 3)) return "I or J without an arc";
        if (axes && motion < 0) return "axis words with no motion in force";
        const double feed = b.hasF ? b.f : feed_;
        const bool moves = axes || b.motion >= 0;
        if (moves && motion >= 1 && !(feed > 0)) return "a feed move or arc with no feed rate in force";
        ToolPoint to = at_;
        if (b.hasX) to.x = b.x;
        if (b.hasY) to.y = b.y;
        if (b.hasZ) to.z = b.z;
        const bool absoluteCentres = b.arcCentres != 0 ? b.arcCentres > 0 : absoluteCentres_;
        double cx = 0, cy = 0;
        if (axes && (motion == 2 || motion == 3)) {
            if (!b.hasX && !b.hasY) return "an arc without X or Y";
            if (!b.hasI && !b.hasJ) return "an arc without I or J";
            cx = absoluteCentres ? b.i : at_.x + b.i;
            cy = absoluteCentres ? b.j : at_.y + b.j;
            const double r0 = std::hypot(at_.x - cx, at_.y - cy), r1 = std::hypot(to.x - cx, to.y - cy);
            if (r0 < 1e-9 || r1 < 1e-9) return "a zero-radius arc";
            const bool grbl = rules_.controller == Controller::Grbl;
            const double off = std::fabs(r0 - r1), absolute = grbl ? 0.005 : 0.0254;
            const double relative = off / (grbl ? r0 : std::max(r0, r1));
            if (off > 100 * absolute || (off > absolute && relative > 0.001))
                return "an arc whose centre is not as far from its end as from its start";
        }

        // The block runs: modes first, then the move, then stops and the end.
        feed_ = feed;
        if (b.arcCentres != 0) absoluteCentres_ = b.arcCentres > 0;
        if (b.motion >= 0) mode_ = b.motion;
        if (axes) Move(to, cx, cy);
        if (b.stop) {
            ++stops_;
            Add({CutStep::Stop, at_, at_, 0, 0, 0});
        }
        if (b.end) ended_ = true;
        return nullptr;
    }

    // The number after a letter ("X-1.5", "Z.5"); its end, or p when there is none.
    static std::size_t Number(std::string_view line, std::size_t p, double& value) {
        std::size_t q = p;
        bool negative = false;
        if (q < line.size() && (line[q] == '+' || line[q] == '-')) negative = line[q++] == '-';
        std::size_t digits = q;
        while (digits < line.size() && ((line[digits] >= '0' && line[digits] <= '9') || line[digits] == '.')) ++digits;
        if (digits == q) return p;
        auto [ptr, ec] = std::from_chars(line.data() + q, line.data() + digits, value, std::chars_format::fixed);
        if (ec != std::errc() || ptr != line.data() + digits) return p;
        if (negative) value = -value;
        return digits;
    }

    void Move(const ToolPoint& to, double cx, double cy) {
        const ToolPoint from = at_;
        at_ = to;
        switch (mode_) {
            case 0:
                if (from.z < 0 || to.z < 0) Add({CutStep::RapidInMaterial, from, to, 0, 0, 0});
                break;
            case 1:
                Add({CutStep::Feed, from, to, 0, 0, 0});
                break;
            case 2:
            case 3: {
                const double a0 = std::atan2(from.y - cy, from.x - cx);
                const double a1 = std::atan2(to.y - cy, to.x - cx);
                constexpr double kTurn = 2 * std::numbers::pi;
                double sweep = mode_ == 3 ? a1 - a0 : a0 - a1;
                while (sweep <= 0) sweep += kTurn;  // an arc back to its start is a full circle
                while (sweep > kTurn) sweep -= kTurn;
                Add({CutStep::Arc, from, to, cx, cy, mode_ == 3 ? sweep : -sweep});
                break;
            }
            default:
                break;
        }
    }

    static bool Same(double a, double b) { return std::fabs(a - b) < 1e-9; }
    static bool Same(const ToolPoint& a, const ToolPoint& b) { return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z); }

    // Whether `next` continues `last` at one depth: a straight feed on in the same direction,
    // or an arc on about the same centre and turning the same way.
    bool Continues(const CutStep& last, const CutStep& next) const {
        if (last.kind != next.kind || !Same(last.to, next.from)) return false;
        if (!Same(last.from.z, last.to.z) || !Same(next.from.z, next.to.z) || !Same(last.to.z, next.from.z))
            return false;
        if (next.kind == CutStep::Arc) {
            if (!Same(last.cx, next.cx) || !Same(last.cy, next.cy) || (last.sweep > 0) != (next.sweep > 0))
                return false;
            const double r0 = std::hypot(last.from.x - last.cx, last.from.y - last.cy);
            const double r1 = std::hypot(next.to.x - next.cx, next.to.y - next.cy);
            return std::fabs(r0 - r1) <= tolerance_;
        }
        if (next.kind != CutStep::Feed && next.kind != CutStep::RapidInMaterial) return false;
        // The joint lies on the straight line from the run's start to the new end, between them.
        const double dx = next.to.x - last.from.x, dy = next.to.y - last.from.y;
        const double length = std::hypot(dx, dy);
        if (length < 1e-9) return false;
        const double jx = last.to.x - last.from.x, jy = last.to.y - last.from.y;
        const double along = (jx * dx + jy * dy) / length;
        const double off = std::fabs(jx * dy - jy * dx) / length;
        return off <= tolerance_ && along > 0 && along < length;
    }

    void Add(const CutStep& step) {
        const bool zeroLength = (step.kind == CutStep::Feed || step.kind == CutStep::RapidInMaterial) &&
                                Same(step.from, step.to);
        if (zeroLength) return;
        if (!cut_.empty() && Continues(cut_.back(), step)) {
            cut_.back().to = step.to;
            cut_.back().sweep += step.sweep;
            return;
        }
        cut_.push_back(step);
    }

    double tolerance_;
    ControllerRules rules_;
    ToolPoint at_;
    int mode_ = -1;  // no motion in force until a line names one
    double feed_ = 0;
    bool absoluteCentres_ = false;  // I and J are offsets from the arc's start until G90.1
    bool ended_ = false;
    std::size_t lines_ = 0;
    std::size_t stops_ = 0;
    std::vector<RefusedLine> refused_;
    std::vector<CutStep> cut_;
};

// The first place where two cuts differ, or an empty text.
inline std::string FirstCutDifference(const std::vector<CutStep>& a, const std::vector<CutStep>& b,
                                      double tolerance = 1e-6) {
    auto near = [&](double u, double v) { return std::fabs(u - v) <= tolerance; };
    auto same = [&](const CutStep& s, const CutStep& t) {
        return s.kind == t.kind && near(s.from.x, t.from.x) && near(s.from.y, t.from.y) && near(s.from.z, t.from.z) &&
               near(s.to.x, t.to.x) && near(s.to.y, t.to.y) && near(s.to.z, t.to.z) && near(s.cx, t.cx) &&
               near(s.cy, t.cy) && near(s.sweep, t.sweep);
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!same(a[i], b[i])) {
            std::ostringstream os;
            os << "step " << i << ":\n  raw       " << a[i] << "\n  optimised " << b[i];
            return os.str();
        }
    }
    if (a.size() != b.size()) {
        std::ostringstream os;
        os << "raw has " << a.size() << " steps, optimised " << b.size();
        if (n < a.size()) os << "; first missing: " << a[n];
        if (n < b.size()) os << "; first extra: " << b[n];
        return os.str();
    }
    return {};
}
