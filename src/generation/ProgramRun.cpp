#include "generation/ProgramRun.h"

#include "generation/Emitters.h"
#include "generation/LabyrinthStrategy.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/OnExit.h"
#include "generation/RadialPath.h"
#include "generation/RunHost.h"
#include "generation/RunSettingsCheck.h"
#include "generation/RunState.h"
#include "platform/Application.h"
#include "platform/LineMemory.h"
#include "platform/LineStore.h"
#include "platform/SystemMemory.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <string_view>

namespace {

constexpr std::string_view kCrossSwitchMark = "(RW)";
constexpr const char* kNoPass =
    "Aus max. Tiefe und Zustellung ergibt sich kein gültiger Durchgang. "
    "Bitte die Werte prüfen; es wurde kein Programm erstellt.";
constexpr const char* kNotAvailable = "Dieses Bahnmuster ist in dieser Programmversion nicht verfügbar.";

void SetFieldAndVariable(RunHost& host, std::string_view name, double& variable, double value) {
    host.SetFieldValue(name, value);
    variable = value;
}

std::string F(const MainState& s, double v) { return FormatNumber(s.komma, v); }
std::string F3(double v) { return FormatNumber(3, v); }

template <typename Routine, typename... Args>
void Call(const Routine& routine, RunState& r, Args... args) {
    if (!routine) {
        r.host.ShowMessageText(kNotAvailable);
        throw RunFailure{};
    }
    routine(r, args...);
}

// Rows, then columns (strategy 10 milling, 17 drilling).
void RunCross(RunState& r, const StrategyRoutines& t) {
    MainState& s = r.S;
    const int own = s.StrategyIndex;
    const bool drilling = own == 17;
    OnExit restore{[&] {
        s.StrategyIndex = own;
        s.CrossPatternRunning = false;
    }};
    s.CrossPatternRunning = true;
    s.StrategyIndex = drilling ? 4 : 0;
    Call(t.RowStrategy, r);
    if (s.AbortRequested) return;
    s.StrategyIndex = drilling ? 13 : 9;
    r.X = 0;
    r.Y = 0;
    r.Zold = s.zg0;
    r.Z = s.zg0;
    MoveTo(r, r.optimise ? kCrossSwitchMark : std::string_view(), r.Xold, r.Yold, s.zg0);
    r.Z = s.zg0;
    Call(t.ColumnStrategy, r);
}

// Oblique lines at the angle, then at the angle turned by 90 degrees (12 milling, 16 drilling).
void RunObliqueCross(RunState& r, const StrategyRoutines& t) {
    MainState& s = r.S;
    s.CrossPatternRunning = true;
    ReadField(r.host, "eingabe", s.Alpha);
    const double remembered = s.Alpha;
    OnExit restore{[&] {
        s.CrossPatternRunning = false;
        s.Alpha = remembered;
        r.host.SetFieldValue("eingabe", remembered);
    }};
    if (s.Alpha > 180) s.Alpha -= 180;
    r.X = 0;
    r.Y = 0;
    Call(t.ObliqueStrategy, r, false);
    if (s.AbortRequested) return;
    s.Alpha = s.Alpha < 90 ? s.Alpha + 90 : s.Alpha - 90;
    r.X = s.wst_l;
    r.Y = 0;
    r.Zold = s.zg0;
    r.Z = s.zg0;
    if (s.StrategyIndex == 12) {
        r.Xold = r.X;
        r.Yold = r.Y;
    }
    MoveTo(r, r.optimise ? kCrossSwitchMark : std::string_view(), s.wst_l, 0, s.zg0);
    r.Xold = r.X;
    r.Yold = r.Y;
    Call(t.ObliqueStrategy, r, true);
}

void RunBody(RunState& r, const StrategyRoutines& t) {
    MainState& s = r.S;
    switch (s.StrategyIndex) {
        case 0: case 4: Call(t.RowStrategy, r); break;
        case 9: case 13: Call(t.ColumnStrategy, r); break;
        case 1: Call(t.CircleStrategy, r, false); break;
        case 5: Call(t.CircleStrategy, r, true); break;
        case 2: Call(t.EllipseStrategy, r, false); break;
        case 6: Call(t.EllipseStrategy, r, true); break;
        case 3: case 7: Call(t.SpiralStrategy, r); break;
        case 8: case 14: Call(t.LabyrinthStrategy, r); break;
        case 18: case 19: Call(t.PolygonStrategy, r); break;
        case 11: Call(t.ObliqueStrategy, r, false); break;
        case 15:
            ReadField(r.host, "eingabe", s.Alpha);
            r.host.ShowStrategyHint("Schrg_bohren");
            if (s.Alpha > 180) s.Alpha -= 180;
            r.X = 0;
            r.Y = 0;
            Call(t.ObliqueStrategy, r, false);
            break;
        case 10: case 17: RunCross(r, t); break;
        case 12: case 16: RunObliqueCross(r, t); break;
        default: break;
    }
}

// Whether the strategy's first lines rise to the safe height before they move sideways: the
// rows, columns and oblique lines start with a move at the safe height, the labyrinth with its
// move to the centre. The circles, ellipses, spiral and polygons start with a sideways move.
bool OpensWithARise(int strategy) {
    switch (strategy) {
        case 0: case 4: case 9: case 13: case 10: case 17:
        case 11: case 12: case 15: case 16:
        case 8: case 14:
            return true;
        default:
            return false;
    }
}

int RemapFor90Degrees(int strategy) {
    switch (strategy) {
        case 0: return 9;
        case 9: return 0;
        case 4: return 13;
        case 13: return 4;
        default: return strategy;
    }
}

// The circle centre of the radial strategies, from the centre point chosen on the preview;
// 0, 0 for the other strategies and without a preview.
void ComputeCircleCentre(RunState& r, bool axis90) {
    MainState& s = r.S;
    s.CircleCentreX = 0;
    s.CircleCentreY = 0;
    if (!IsRadialStrategy(s.StrategyIndex)) return;
    int w = 0, h = 0;
    r.host.PreviewSize(w, h);
    if (w <= 0 || h <= 0) return;  // no preview to take a centre from
    const double W = w, H = h, cx = s.CentrePxX, cy = s.CentrePxY;
    if (!axis90) {
        s.CircleCentreX = cx * s.wst_l / W;
        s.CircleCentreY = (H - cy) * s.wst_b / H;
    } else {
        s.CircleCentreX = s.wst_l - (H - cy) * s.wst_l / H;
        s.CircleCentreY = cx * s.wst_b / W;
    }
}

// Header line, parameter line (first nine fields) and further header lines.
void WriteHeader(RunState& r) {
    MainState& s = r.S;
    const std::string_view brackets = s.CommentBrackets;
    const std::string_view c1 = brackets.substr(0, std::min<std::size_t>(1, brackets.size()));
    const std::string number = std::to_string(s.StrategyIndex);
    const std::string strategy = number.size() < 2 ? "0" + number : number;
    r.LineBuf = std::string(c1) + "SEL=" + strategy;
    r.PathComment = r.contour ? "R," : "O,";
    r.PathComment += F3(s.CircleCentreX) + "," + F3(s.CircleCentreY);
    r.LineBuf += "," + r.PathComment;
    r.PathComment = F3(s.wst_l) + "," + F3(s.wst_b) + "," + F3(s.wst_d);
    int headerCount = 0;
    while (headerCount < kHeaderLineSlots && !s.HeaderLines[std::size_t(headerCount)].empty())
        ++headerCount;
    r.LineBuf += "," + r.PathComment + "," + std::to_string(int(s.komma)) + "," +
                 std::to_string(headerCount);
    r.lines.Add(s.HeaderLines[0].empty() ? std::string_view("%???") : std::string_view(s.HeaderLines[0]));
    r.lines.Add(r.LineBuf);
    for (int i = 1; i < kHeaderLineSlots; ++i)
        if (!s.HeaderLines[std::size_t(i)].empty()) r.lines.Add(s.HeaderLines[std::size_t(i)]);
}

struct Remembered {
    double wst_l, wst_b, stepX, stepy;
};

// Whether the routines that the strategy runs exist.
bool HasRoutines(int strategy, const StrategyRoutines& t) {
    switch (strategy) {
        case 0: case 4: return bool(t.RowStrategy);
        case 9: case 13: return bool(t.ColumnStrategy);
        case 10: case 17: return t.RowStrategy && t.ColumnStrategy;
        case 1: case 5: return bool(t.CircleStrategy);
        case 2: case 6: return bool(t.EllipseStrategy);
        case 3: case 7: return bool(t.SpiralStrategy);
        case 8: case 14: return bool(t.LabyrinthStrategy);
        case 18: case 19: return bool(t.PolygonStrategy);
        case 11: case 12: case 15: case 16: return bool(t.ObliqueStrategy);
        default: return true;  // an index outside the table runs no body
    }
}

// Checks, before anything is changed, that the run can lay out its paths and form its passes.
// False when it cannot run; the reason has been shown.
bool CheckRunFeasible(RunHost& host, const MainState& s, const StrategyRoutines& routines) {
    double depth = s.max_tiefe, infeed = s.z_zustellung;
    ReadField(host, "max_tiefe", depth);
    ReadField(host, "z_zustellung", infeed);
    int strategy = s.StrategyIndex;
    const bool axis90 = host.IsChecked("achse_90_grad");
    if (axis90) strategy = RemapFor90Degrees(strategy);
    if (!HasRoutines(strategy, routines)) {
        host.ShowMessageText(kNotAvailable);
        return false;
    }
    // Spacings of 0 or below have been refused by the settings check, naming the spacing.
    if (!RadialSettingsUsable(host, strategy)) return false;
    if (infeed == 0) {
        host.ShowMessageText("Die Zustellung pro Durchgang ist 0. Bitte eine Zustellung eingeben; "
                             "es wurde kein Programm erstellt.");
        return false;
    }
    auto passes = ComputePassCount(depth, infeed);
    if (!passes) {
        host.ShowMessageText(kNoPass);
        return false;
    }
    return true;
}

// Whether the program the run is about to write fits in memory, judged on the workpiece as the
// run lays it out: the work bitmap is prepared (a turned picture has exchanged the length and
// the width) and the circle centre is known. False when it does not; the reason has been shown.
bool ProgramFitsMemory(RunHost& host, const MainState& s) {
    double depth = s.max_tiefe, infeed = s.z_zustellung;
    ReadField(host, "max_tiefe", depth);
    ReadField(host, "z_zustellung", infeed);
    const auto passes = ComputePassCount(depth, infeed);
    if (!passes) return true;  // refused with its own message when the passes are formed
    const bool drilling = FamilyOf(s.StrategyIndex, false) == PointFamily::Drilling;
    const std::uint64_t lines = EstimateProgramLines(s.StrategyIndex, s.wst_l, s.wst_b, s.stepX, s.stepy, *passes,
                                                     drilling, s.CircleCentreX, s.CircleCentreY);
    const std::uint64_t limit = MaxProgramLines();
    if (lines <= limit) return true;
    // Counting stops beyond the most lines any program may have.
    const std::string size = lines >= kMostProgramLines ? "mehr als " + std::to_string(kMostProgramLines / 1000000)
                                                        : "etwa " + std::to_string(lines / 1000000);
    host.ShowMessageText("Das Programm würde " + size +
                         " Millionen Zeilen lang und passt nicht in den Arbeitsspeicher (möglich sind etwa " +
                         std::to_string(limit / 1000000) +
                         " Millionen). Bitte Bahnabstand, Punktabstand oder Zustellung vergrößern; "
                         "es wurde kein Programm erstellt.");
    return false;
}

// Ends a run before its program is cleared: the editor keeps the program it had.
struct RunRefused {};

}  // namespace

std::optional<std::int32_t> ComputePassCount(double max_tiefe, double& z_zustellung) {
    if (!std::isfinite(max_tiefe) || !std::isfinite(z_zustellung) || z_zustellung == 0)
        return std::nullopt;
    auto count = TruncToInt32(max_tiefe / z_zustellung);
    if (!count || *count == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    if (std::fabs(double(*count) * z_zustellung - max_tiefe) < 0.001) {
        if (*count == 0) return std::nullopt;
        z_zustellung = max_tiefe / double(*count);
        return count;
    }
    return *count + 1;
}

std::uint64_t MaxProgramLines() {
    constexpr std::uint64_t kBytesPerLine = 64;
    // Memory kept from an earlier program is the first the new one writes into.
    return std::min(kMostProgramLines, (AvailableMemoryBytes() + KeptLineMemoryBytes()) / kBytesPerLine);
}

std::uint64_t EstimateProgramLines(int strategyIndex, double length, double width, double stepX,
                                   double stepy, std::int64_t passes, bool drilling, double centreX,
                                   double centreY) {
    constexpr double kFixed = 64;  // header, parameter line, trailer
    if (passes <= 0) return std::uint64_t(kFixed);
    double perPassFixed = 12;  // stop line, contour block, retract lines
    const double linesPerPoint = drilling ? 3 : 2;
    double points = 0;
    // A spacing of 0 or below ends the run before its body; it adds no points here.
    if (stepX > 0 && stepy > 0 && length > 0 && width > 0) {
        const double area = (length / stepy + 2) * (width / stepX + 2) +
                            (length / stepX + 2) * (width / stepy + 2);
        switch (strategyIndex) {
            case 0: case 4: case 9: case 13: points = area / 2; break;
            case 10: case 17: points = area; break;
            case 11: case 15: points = area / 2 + (length + width) / stepX + 2; break;
            case 12: case 16: points = area + 2 * ((length + width) / stepX + 2); break;
            case 8: case 14: {
                // The labyrinth also runs along the edges it has reached, once a ring: its
                // points are counted as it lays them out, up to more than any program holds.
                // One that cannot be laid out ends its run with a message of its own.
                const double enough = double(kMostProgramLines) / linesPerPoint / double(passes);
                points = LabyrinthPoints({centreX, centreY, length, width, stepX, stepy}, enough).value_or(0);
                perPassFixed += 3;  // the move to the centre and the plunge there
                break;
            }
            // Rings and turns about the centre lie stepX apart with points stepy apart, so the
            // points written on the workpiece are about those of the grid (area counts them
            // twice).
            default: points = area; break;
        }
    }
    const double total = kFixed + double(passes) * (perPassFixed + points * linesPerPoint);
    if (!std::isfinite(total) || total > 1e18) return std::uint64_t(1e18);
    return std::uint64_t(total);
}

std::string PassStopLine(bool optimise) { return optimise ? "M0 (0)" : "M0"; }

void EmitContourBlock(RunState& r) {
    MainState& s = r.S;
    const double x0 = -s.CircleCentreX, x1 = s.wst_l - s.CircleCentreX;
    const double y0 = -s.CircleCentreY, y1 = s.wst_b - s.CircleCentreY;
    const std::string m = r.optimise ? " (0)" : "";
    const std::string X0 = F(s, x0), X1 = F(s, x1), Y0 = F(s, y0), Y1 = F(s, y1);
    r.lines.Add("G0 X" + X0 + " Y" + Y0 + m);
    r.lines.Add("G1 X" + X0 + " Y" + Y0 + " Z" + F(s, r.WithinDepthLimit(s.PassDepth)) + m);
    r.lines.Add("G1 X" + X1 + " Y" + Y0 + m);
    r.lines.Add("G1 X" + X1 + " Y" + Y1 + m);
    r.lines.Add("G1 X" + X0 + " Y" + Y1 + m);
    r.lines.Add("G1 X" + X0 + " Y" + Y0 + m);
    if (IsRadialStrategy(s.StrategyIndex)) r.lines.Add("G0 X" + X0 + " Y" + Y0 + " Z" + F(s, s.zg0) + m);
}

void CreateProgram(RunHost& host, const StrategyRoutines& routines) {
    MainState& s = Main;
    TStrings& memo = host.ProgramLines();

    // 1. A picture must be prepared.
    if (s.WorkBitmap.Width() == 0 || s.WorkBitmap.Height() == 0) {
        host.ShowFileMessage(MsgNoPicture, 'N');
        return;
    }
    if (!CheckRunSettings(host, s)) return;
    if (!CheckRunFeasible(host, s, routines)) return;

    RunState r(s, host);
    Remembered kept{s.wst_l, s.wst_b, s.stepX, s.stepy};
    const bool optimiseAtStart = host.IsChecked("Prg_optimieren");
    // The 90-degree remap is put back at the end, so that two runs give the same program.
    bool remapped = false;
    const int strategyBefore = s.StrategyIndex;
    const double alphaBefore = s.Alpha;
    double angleFieldBefore = s.Alpha;
    bool failed = false;
    bool refused = false;  // before the editor was cleared: it keeps its program
    std::exception_ptr error;

    try {
        // 2. Arc output exists for the milled circle only.
        if (s.StrategyIndex != 1) host.SetChecked("bogen_IJ", false);
        // 3.
        host.OnRunStart();
        Application->ProcessMessages();
        // 4.
        s.AbortRequested = false;
        // 5.
        ReadField(host, "wst_l", s.wst_l);
        ReadField(host, "wst_b", s.wst_b);
        ReadField(host, "wst_d", s.wst_d);
        ReadField(host, "max_tiefe", s.max_tiefe);
        ReadField(host, "stepX", s.stepX);
        ReadField(host, "stepy", s.stepy);
        kept = {s.wst_l, s.wst_b, s.stepX, s.stepy};
        ReadField(host, "faktor", s.faktor);
        ReadField(host, "zg0", s.zg0);
        ReadField(host, "max_tiefe", s.max_tiefe);
        // 6.-8. The picture for the run and the work bitmap.
        host.OnGreyscaleForRun();
        ret_aufloesung(s);
        host.PrepareWorkBitmap();
        // 9.
        const bool axis90 = host.IsChecked("achse_90_grad");
        if (axis90) {
            remapped = true;
            host.GetFieldValue("eingabe", angleFieldBefore);
            s.StrategyIndex = RemapFor90Degrees(s.StrategyIndex);
            s.Alpha += 90;
            host.SetFieldValue("eingabe", s.Alpha);
        }
        // 10.
        ComputeCircleCentre(r, axis90);
        if (!ProgramFitsMemory(host, s)) throw RunRefused{};
        // 11.
        memo.Clear();
        host.OnProgramCleared();
        // 12.
        ReadByteField(host, "komma", s.komma);
        ReadField(host, "min_deltaZ", s.min_deltaZ);
        // 13.
        r.CaptureOptions();
        r.ResetToStart();
        // 14.
        host.SetRunCaption(true);
        if (!r.PumpAndPollAbort()) {
            // 15.
            WriteHeader(r);
            if (FamilyOf(s.StrategyIndex, r.arcIJ) == PointFamily::Arc) r.lines.Add(kArcCentreModeLine);
            // 16.
            s.PrevPassDepth = 0;
            ReadField(host, "max_tiefe", s.max_tiefe);
            ReadField(host, "z_zustellung", s.z_zustellung);
            r.CaptureDepthLimit();
            auto passes = ComputePassCount(s.max_tiefe, s.z_zustellung);
            if (!passes) {
                host.ShowMessageText(kNoPass);
                throw RunFailure{};
            }
            s.PassCount = *passes;
            // 17.
            const std::string retract1 = "G0 Z" + F(s, s.zg0);
            const std::string retract2 = "G0 X0 Y0 Z" + F(s, s.zg0);
            // The program starts wherever the tool was left, often at the surface: it rises
            // straight up before its first sideways move (the contour's, or the pattern's).
            const bool riseFirst = r.contour || !OpensWithARise(s.StrategyIndex);
            for (s.PassIndex = 1; s.PassIndex <= s.PassCount; ++s.PassIndex) {
                const int k = s.PassIndex;
                if (k == 1 && riseFirst) memo.Add(retract1);
                if (s.PassCount > 1 && r.stopBeforePass) memo.Add(PassStopLine(r.optimise));
                s.PrevPassDepth = r.infeedOptimise ? double(k - 1) * s.z_zustellung : 0;
                s.PassDepth = k < s.PassCount ? double(k) * s.z_zustellung : s.max_tiefe;
                if (r.contour) {
                    EmitContourBlock(r);
                    if (IsRadialStrategy(s.StrategyIndex)) {
                        r.Xold = 0;
                        r.Yold = 0;
                        r.Zold = s.zg0;
                    }
                }
                r.LineBuf.clear();
                host.SetEditorVisible(false);
                RunBody(r, routines);
                memo.Add(retract1);
                memo.Add(retract2);
                SetFieldAndVariable(host, "stepX", s.stepX, kept.stepX);
                SetFieldAndVariable(host, "stepy", s.stepy, kept.stepy);
            }
            // 18.
            if (s.AbortRequested) {
                memo.Clear();
            } else {
                // 19.
                const std::string closing =
                    s.CommentBrackets.size() > 1 ? s.CommentBrackets.substr(1) : std::string();
                memo.Put(1, std::string(memo.Line(1)) + "," + std::to_string(memo.Count() - 1) + ",0" +
                                closing);
                for (const std::string& line : s.TrailerLines)
                    if (!line.empty()) memo.Add(line);
                host.ShowProgramCounts((long long)memo.Count(), (long long)memo.TextLength(), true);
                Application->ProcessMessages();
                if (r.optimise) {
                    host.RunOptimiser();
                    host.ShowProgramCounts((long long)memo.Count(), (long long)memo.TextLength(), true);
                }
            }
        }
    } catch (const RunRefused&) {
        refused = true;
    } catch (const RunFailure&) {
        failed = true;
    } catch (...) {
        failed = true;
        error = std::current_exception();
    }
    // A run that failed leaves no fragment that looks like a program.
    if (failed) memo.Clear();

    // R. Put back what the run changed.
    host.SetFieldValue("wst_l", kept.wst_l);
    host.SetFieldValue("wst_b", kept.wst_b);
    host.RestoreWorkBitmap();
    host.SetEditorVisible(true);
    host.SetChecked("Prg_optimieren", optimiseAtStart);
    host.ShowProgramCounts((long long)memo.Count(), 0, false);
    Application->ProcessMessages();
    SetFieldAndVariable(host, "wst_l", s.wst_l, kept.wst_l);
    SetFieldAndVariable(host, "wst_b", s.wst_b, kept.wst_b);
    SetFieldAndVariable(host, "stepX", s.stepX, kept.stepX);
    SetFieldAndVariable(host, "stepy", s.stepy, kept.stepy);
    if (remapped) {
        s.StrategyIndex = strategyBefore;
        s.Alpha = alphaBefore;
        host.SetFieldValue("eingabe", angleFieldBefore);
    }
    if (!s.AbortRequested && !failed && !refused) host.CopyProgramToClipboard();
    host.OnRunEnd();
    if (!refused) s.ProgramSaved = false;
    host.SetMeterPercent(0);
    if (s.AbortRequested) memo.Clear();
    host.SetRunCaption(false);
    if (error) std::rethrow_exception(error);
}
