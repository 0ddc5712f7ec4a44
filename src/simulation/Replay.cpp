#include "simulation/Replay.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "platform/LineStore.h"
#include "simulation/LineReadAhead.h"
#include "simulation/ReplayCanvas.h"
#include "simulation/WorkerTeam.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <span>
#include <string>
#include <vector>

SimulationState Sim;

namespace {

constexpr int kMsgTooDeep = 13;
constexpr int kMsgSimBadHeader = 14;

// Pixel positions and widths stay far inside the integer range, whatever a hand-edited
// program holds; a value that is not a number counts as 0.
constexpr double kPixelLimit = 1e8;
double Clamped(double v) {
    if (!(v == v)) return 0;
    return v > kPixelLimit ? kPixelLimit : v < -kPixelLimit ? -kPixelLimit : v;
}
int ClampedTrunc(double v) { return int(Clamped(v)); }  // the conversion cuts toward zero
int ClampedRound(double v) { return int(std::nearbyint(Clamped(v))); }

// A text of at most 15 digits with at most one '.' among them and an optional '-' in front,
// as programs write their numbers: the digits as one whole number divided by the power of
// ten of the decimals. Both are exact doubles, so the quotient is the correctly rounded
// value, the same that std::from_chars gives. False for any other text.
bool ReadPlainDecimal(std::string_view text, double& value) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) i = 1;
    std::uint64_t whole = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (++digits > 15) return false;
            whole = whole * 10 + std::uint64_t(c - '0');
            decimals += point;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    const double v = double(whole) / kPowers[decimals];
    value = negative ? -v : v;
    return true;
}

// A whole text as a number with '.' as decimal point and an optional sign; false otherwise.
bool ReadNumber(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    if (ReadPlainDecimal(text, value)) return true;
    for (char c : text) {
        if (!(c == '-' || c == '.' || (c >= '0' && c <= '9'))) return false;  // no "inf", "nan"
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// More lines than any program can hold: each line takes at least a byte of an address space
// of 2^48 bytes. A line field beyond it is damaged, and the body's bounds stay far from
// overflowing when they are reckoned with.
constexpr long long kMaxLineIndex = 1LL << 48;

// The leading integer of a text into index, 0 when there is none (a line field is otherwise
// not checked); false when the number lies beyond any program's lines.
bool ReadLineIndex(std::string_view text, long long& index) {
    long long v = 0;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) return false;
    if (ec != std::errc()) v = 0;
    if (v > kMaxLineIndex || v < -kMaxLineIndex) return false;
    index = v;
    return true;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields;
}

struct Header {
    double centreX = 0, centreY = 0, length = 0, width = 0, thickness = 0;
    long long firstLine = 0, lastLine = 0;
};

bool ReadHeader(const TStrings& lines, Header& h) {
    if (lines.Count() < 2) return false;
    const std::string_view line = lines.Line(1);
    const std::size_t sel = line.find("SEL=");
    if (sel == std::string_view::npos) return false;
    const std::size_t start = sel + 9;  // past "SEL=", the strategy and the contour flag
    if (start > line.size()) return false;
    const std::vector<std::string_view> f = SplitFields(line.substr(start));
    if (f.size() < 5) return false;
    if (!ReadNumber(f[0], h.centreX) || !ReadNumber(f[1], h.centreY) ||
        !ReadNumber(f[2], h.length) || !ReadNumber(f[3], h.width) ||
        !ReadNumber(f[4], h.thickness)) {
        return false;
    }
    // A workpiece of no size, or a negative one, has nothing to draw.
    if (!(h.length > 0) || !(h.width > 0) || h.thickness == 0) return false;
    h.firstLine = h.lastLine = 0;
    if (f.size() > 6 && !ReadLineIndex(f[6], h.firstLine)) return false;
    if (f.size() > 7 && !ReadLineIndex(f[7], h.lastLine)) return false;
    return true;
}

// Lines read ahead of a fast replay at a time.
constexpr std::size_t kReadAhead = 1 << 15;
// A fast replay of fewer lines reads them on its own thread.
constexpr long long kLinesForReaders = 1 << 14;

class Replayer {
public:
    Replayer(ReplayHost& host, const ReplayOptions& options)
        : host_(host), o_(options), colours_(ColoursOfKind(options.colourKind)) {}

    void Run();

private:
    bool Paced() const { return !o_.fast && !o_.printing; }
    // A paced step shows the drawing so far, then waits for the timer.
    void WaitStep() {
        if (Paced()) {
            canvas_->Flush();
            Sim.TimerTick = false;
            host_.WaitForTick();
        }
    }
    int PixelX(double x) const { return ClampedTrunc(x / Sim.MmPerPixelX) + ox_; }
    int PixelY(double y) const { return imageHeight_ - (ClampedTrunc(y / Sim.MmPerPixelY) + oy_); }
    void ShadowColour(double z) {
        if (o_.shadow) {
            // Below step 0 and above 512 the blend keeps the ramp's ends.
            const int step =
                std::clamp(ClampedTrunc((h_.thickness + z) * 512 / h_.thickness), 0, 512);
            canvas_->SetPenColour(depthColours_[std::size_t(step)]);
        }
    }
    void DrawArc(double x0, double y0, double x1, double y1);
    void SteppedMove();
    bool ApplyLine(const LineWords& w);

    ReplayHost& host_;
    ReplayCanvas* canvas_ = nullptr;  // the picture's canvas once it is prepared
    ReplayOptions o_;
    SimColours colours_;
    Header h_;
    int imageHeight_ = 0;
    int ox_ = 0, oy_ = 0;
    double x_ = 0, y_ = 0, z_ = 0, prevX_ = 0, prevY_ = 0, prevZ_ = 0;
    int px_ = 0, py_ = 0;
    int g_ = 0;
    int width_ = 0, prevWidth_ = 0;
    ToolShape tool_;
    std::array<TColor, 513> depthColours_{};  // DepthColour of the kind, step by step
};

void Replayer::DrawArc(double x0, double y0, double x1, double y1) {
    const double r = std::sqrt(x1 * x1 + y1 * y1);
    const int rx = ClampedRound(r / Sim.MmPerPixelX);
    const int ry = ClampedRound(r / Sim.MmPerPixelY);
    const int sx = ClampedRound(x0 / Sim.MmPerPixelX) + ox_;
    const int sy = imageHeight_ - (ClampedRound(y0 / Sim.MmPerPixelY) + oy_);
    const int ex = ClampedRound(x1 / Sim.MmPerPixelX) + ox_;
    const int ey = imageHeight_ - (ClampedRound(y1 / Sim.MmPerPixelY) + oy_);
    canvas_->Arc(ox_ - rx, imageHeight_ - (oy_ + ry), ox_ + rx, imageHeight_ - (oy_ - ry), sx, sy,
                ex, ey);
    canvas_->MoveTo(ex, ey);
}

// A move whose width changes is drawn in steps, so the cut widens or narrows gradually.
void Replayer::SteppedMove() {
    constexpr int kMaxSteps = 1 << 20;
    double n = std::abs(double(width_) - prevWidth_);
    if (n < 1) n = 1;
    const double r = std::sqrt(x_ * x_ + y_ * y_);
    if (g_ == 3) {
        n = std::trunc(n * r / Sim.MmPerPixelX);
        if (!(n >= 1)) n = 1;  // an arc close to the origin still gets its one step
    }
    if (n > kMaxSteps) n = kMaxSteps;
    const int steps = int(n);
    const double dW = (width_ - prevWidth_) / n;
    const double dX = (x_ - prevX_) / n, dY = (y_ - prevY_) / n, dZ = (z_ - prevZ_) / n;
    canvas_->BeginSteps();
    if (g_ == 0 || g_ == 1) {
        for (int k = 1; k <= steps; ++k) {
            canvas_->SetPenWidth(prevWidth_ + ClampedTrunc(k * dW));
            const int sx = PixelX(prevX_ + k * dX);
            const int sy = PixelY(prevY_ + k * dY);
            if (o_.shadow) {
                ShadowColour(prevZ_ + k * dZ);
                WaitStep();
                host_.Pump();
            }
            canvas_->LineTo(sx, sy);
        }
    } else if (g_ == 3) {
        double a0 = 0, a1 = 0;
        Rechne_Alpha(prevX_, prevY_, a0);
        Rechne_Alpha(x_, y_, a1);
        double dA = a1 - a0;
        if (dA <= 0) dA += 2 * std::numbers::pi;
        dA /= n;
        for (int k = 1; k <= steps; ++k) {
            if (Main.AbortRequested) break;
            canvas_->SetPenWidth(prevWidth_ + ClampedTrunc(k * dW));
            const double a = a0 + k * dA;
            ShadowColour(prevZ_ + k * dZ);
            canvas_->LineTo(PixelX(r * std::cos(a)), PixelY(r * std::sin(a)));
            WaitStep();
            host_.Pump();
        }
    }
    canvas_->EndSteps();
    prevWidth_ = width_;
}

// One program line; false when the replay stops after it.
bool Replayer::ApplyLine(const LineWords& w) {
    if (!w.empty) {
        if (w.has & LineWords::kG) {
            if (w.bad & LineWords::kG) Sim.SimError = true;
            else g_ = ClampedTrunc(w.g);
        }
        if (w.has & LineWords::kX) {
            if (w.bad & LineWords::kX) Sim.SimError = true;
            else { x_ = w.x; px_ = ClampedTrunc(x_ / Sim.MmPerPixelX) + ox_; }
        }
        if (w.has & LineWords::kY) {
            if (w.bad & LineWords::kY) Sim.SimError = true;
            else { y_ = w.y; py_ = ClampedTrunc(y_ / Sim.MmPerPixelY) + oy_; }
        }
        if (w.has & LineWords::kZ) {
            if (w.bad & LineWords::kZ) Sim.SimError = true;
            else { z_ = w.z; width_ = tool_.WidthPx(host_, z_); canvas_->SetPenWidth(width_); }
        }
        if (!(w.has & (LineWords::kX | LineWords::kY | LineWords::kZ))) {
            host_.Pump();
        } else if (z_ > 0) {
            canvas_->MoveTo(px_, imageHeight_ - py_);
            width_ = prevWidth_ = 0;
        } else if (width_ == prevWidth_ || (x_ == prevX_ && y_ == prevY_)) {
            ShadowColour(z_);
            canvas_->SetPenWidth(width_);
            if (g_ == 0 || g_ == 1) canvas_->LineTo(px_, imageHeight_ - py_);
            else if (g_ == 3) DrawArc(prevX_, prevY_, x_, y_);
            // The cut now has this width: a plunge at one point is followed by a move at
            // its full width, not by one that widens from the width before the plunge.
            prevWidth_ = width_;
        } else {
            SteppedMove();
        }
    }
    prevX_ = x_;
    prevY_ = y_;
    prevZ_ = z_;
    if (Sim.SimError) {
        canvas_->Flush();
        host_.ShowFileMessage(kMsgSimBadHeader, 'N');
        return false;
    }
    return true;
}

void Replayer::Run() {
    const TStrings& lines = host_.ProgramLines();
    if (!ReadHeader(lines, h_)) {
        host_.ShowFileMessage(kMsgSimBadHeader, 'N');
        return;
    }
    int areaW = 0, areaH = 0;
    host_.AreaSize(areaW, areaH);
    if (areaW < 2 || areaH < 2) return;
    int w = areaW, ht = areaH;
    if (h_.length / areaW < h_.width / areaH) w = ClampedRound(areaH * h_.length / h_.width);
    else ht = ClampedRound(areaW * h_.width / h_.length);
    host_.PrepareImage(w, ht, colours_.background);
    if (!o_.printing) host_.Pump();
    imageHeight_ = ht;
    if (w < 2 || ht < 2) return;  // no picture to draw into
    canvas_ = &host_.Canvas();

    Sim.SimError = false;
    Sim.MmPerPixelX = h_.length / (w - 1);
    Sim.MmPerPixelY = h_.width / (ht - 1);
    host_.ReadToolFields(Main.SimRadius, Main.SimCuttingHeight, Main.SimTipAngle);

    // The body lines, held inside the program whatever the parameter line names.
    long long first = h_.firstLine != 0 ? h_.firstLine + 1 : Main.HeaderLineCount + 1;
    long long last = h_.lastLine != 0
                         ? h_.lastLine
                         : static_cast<long long>(lines.Count()) - Main.TrailerLineCount - 1;
    if (first < 0) first = 0;
    if (last > static_cast<long long>(lines.Count()) - 1) last = static_cast<long long>(lines.Count()) - 1;

    if (!o_.printing) host_.SetImageVisible(!o_.fast);

    ox_ = ClampedRound(h_.centreX / Sim.MmPerPixelX);
    oy_ = ClampedRound(h_.centreY / Sim.MmPerPixelY);
    canvas_->MoveTo(ox_, imageHeight_ - oy_);
    x_ = prevX_ = h_.centreX;
    y_ = prevY_ = h_.centreY;
    z_ = prevZ_ = 0;
    g_ = 0;
    width_ = prevWidth_ = 0;
    Sim.TimerTick = true;
    canvas_->SetPenColour(colours_.plainPen);

    tool_ = ToolShape::OfSettings();
    for (int step = 0; step <= 512; ++step) {
        depthColours_[std::size_t(step)] = DepthColour(o_.colourKind, step);
    }
    // A fast replay reads its lines ahead, a block at a time on every core; a paced one
    // line by line.
    const bool readAhead = !Paced() && last - first + 1 >= kLinesForReaders;
    const int readers = o_.threads > 0 ? o_.threads : ProcessorThreads();
    LineReadAhead reader(lines, first, last, Paced() ? 1 : kReadAhead, readAhead ? readers : 1);
    long long i = first;
    bool stop = false;
    while (!stop) {
        const std::span<const LineWords> block = reader.Next();
        if (block.empty()) break;
        for (const LineWords& words : block) {
            WaitStep();
            host_.Pump();
            if (Main.AbortRequested || !ApplyLine(words)) {
                stop = true;
                break;
            }
            const double percent = last > 0 ? std::nearbyint(double(i) / double(last) * 100) : 100;
            Main.ProgressPercent = ClampedTrunc(percent);
            if (Main.ProgressPercent % 10 == 0) host_.SetMeterPercent(Main.ProgressPercent);
            ++i;
        }
    }
    canvas_->Flush();
}

}  // namespace

SimColours ColoursOfKind(int kind) {
    switch (kind) {
        case 1: return {TColor(0xFFFFFF), TColor(0x000000), TColor(0x000000)};
        case 2: return {TColor(0xFFFFFF), TColor(0x0000FF), TColor(0x0000FF)};
        case 3: return {TColor(0x9DDBFE), TColor(0x568BAF), TColor(0x000000)};
        default: return {TColor(0xC0C0C0), TColor(0x808080), TColor(0x000000)};
    }
}

TColor DepthColour(int kind, int step) {
    const SimColours c = ColoursOfKind(kind);
    return BlendColour(c.deep, c.background, step / 512.0);
}

bool ParseWordValue(std::string_view word, double& value) {
    if (word.empty()) return true;
    return !ReadNumber(word.substr(1), value);
}

ToolShape ToolShape::OfSettings() {
    ToolShape t;
    t.angle = std::numbers::pi * Main.SimTipAngle / 180;
    t.tanHalf = t.angle != 0 ? std::tan(t.angle / 2) : 0;
    return t;
}

int ToolShape::WidthPx(ReplayHost& host, double z) const {
    if (z > 0) return 0;
    if (z < -Main.SimCuttingHeight) {
        Sim.SimError = true;
        host.ShowFileMessage(kMsgTooDeep, 'N');
        return 0;
    }
    double r = angle != 0 ? -z * tanHalf : Main.SimRadius;
    if (r > Main.SimRadius) r = Main.SimRadius;
    const double w = 2 * r / Sim.MmPerPixelX;
    return w > 0 ? ClampedTrunc(w) : 0;
}

int ToolWidthPx(ReplayHost& host, double z) { return ToolShape::OfSettings().WidthPx(host, z); }

void simulieren(ReplayHost& host, const ReplayOptions& options) {
    host.ObjectEnabled(false);
    Replayer(host, options).Run();
    host.ObjectEnabled(true);
    Main.AbortRequested = false;
}
