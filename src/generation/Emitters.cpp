#include "generation/Emitters.h"

#include "generation/ArcCheck.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunState.h"
#include "platform/LineStore.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr std::string_view kPathStartMark = "(0)";

// Builds one line from its parts and appends it to the program.
inline std::size_t SizeOf(std::string_view part) { return part.size(); }
template <std::size_t N>
inline std::size_t SizeOf(const char (&)[N]) {
    return N - 1;
}
inline void Append(char*& p, std::string_view part) {
    if (part.empty()) return;  // an empty view may have no data pointer
    std::memcpy(p, part.data(), part.size());
    p += part.size();
}
template <std::size_t N>
inline void Append(char*& p, const char (&literal)[N]) {
    std::memcpy(p, literal, N - 1);
    p += N - 1;
}

template <typename... Parts>
void WriteLine(RunState& r, const Parts&... parts) {
    const std::size_t total = (SizeOf(parts) + ...);
    char line[1024];
    if (total <= sizeof line) {
        char* p = line;
        (Append(p, parts), ...);
        r.lines.Add(std::string_view(line, total));
    } else {
        // Only extreme numbers or long comments get here.
        std::string longLine;
        longLine.reserve(total);
        (longLine.append(std::string_view(parts)), ...);
        r.lines.Add(longLine);
    }
}

std::string_view Mark(const RunState& r) { return r.optimise ? kPathStartMark : std::string_view(); }

}  // namespace

PointFamily FamilyOf(int strategyIndex, bool arcIJ) {
    switch (strategyIndex) {
        case 0: case 2: case 3: case 8: case 9: case 11: case 12: case 18:
            return PointFamily::Milling;
        case 1:
            return arcIJ ? PointFamily::Arc : PointFamily::Milling;
        case 4: case 5: case 6: case 7: case 13: case 14: case 15: case 16: case 17: case 19:
            return PointFamily::Drilling;
        default:
            return PointFamily::None;
    }
}

bool SampleDepth(RunState& r, double x, double y) {
    const MainState& s = r.S;
    ++r.pointsSampled;
    x = SnapToEdge(x, 0);
    y = SnapToEdge(y, 0);
    x = SnapToEdge(x, s.wst_l);
    y = SnapToEdge(y, s.wst_b);
    if (x < 0 || y < 0 || x > s.wst_l || y > s.wst_b || std::isnan(x) || std::isnan(y)) {
        r.Z = s.zg0;
        return false;
    }
    // Pixel coordinates; a value outside the integer range reads as outside the bitmap.
    const double fx = std::trunc(x * s.PixelsPerMmX);
    const double fy = std::trunc(y * s.PixelsPerMmY);
    // A pixel the bitmap cannot give fails like a point outside the workpiece, with the safe
    // height as its depth: a failed point's depth becomes the old depth of the path break, and
    // the next path start traverses at it.
    if (!(fx >= -2147483648.0 && fx <= 2147483647.0 && fy >= -2147483648.0 && fy <= 2147483647.0)) {
        r.Z = s.zg0;
        return false;
    }
    const long long px = (long long)fx;
    const long long py = (long long)s.WorkBitmap.Height() - (long long)fy - 1;
    if (px < 0 || py < 0 || px > 2147483647LL || py > 2147483647LL) {
        r.Z = s.zg0;
        return false;
    }
    const TColor c = s.WorkBitmap.PixelAt(int(px), int(py));
    if (c < 0) {
        r.Z = s.zg0;
        return false;
    }

    double z = double(c) * s.wst_d / s.DepthFullScale;
    z = s.faktor * z;
    z = z - s.wst_d;
    if (r.infeedOptimise && z >= s.PrevPassDepth) {
        r.Z = s.zg0;
        return false;
    }
    if (z < s.PassDepth) z = s.PassDepth;
    if (z < s.max_tiefe) z = s.max_tiefe;
    z = r.WithinDepthLimit(z);

    const double e = r.snapTolerance;
    r.Y = y;
    r.X = x;
    r.Z = z;
    if (std::fabs(r.X) < e) r.X = 0;
    if (std::fabs(r.Y) < e) r.Y = 0;
    if (std::fabs(r.Z) < e) r.Z = 0;
    if (std::fabs(r.Xold - r.X) < e) r.X = r.Xold;
    if (std::fabs(r.Yold - r.Y) < e) r.Y = r.Yold;
    if (std::fabs(r.Zold - r.Z) < s.min_deltaZ) r.Z = r.Zold;
    return true;
}

void EmitMillPoint(RunState& r, std::string_view Xo, std::string_view X, std::string_view Yo,
                   std::string_view Y, std::string_view Zo, std::string_view Z, bool stair,
                   std::string_view comment) {
    if (r.pathStart) {
        const std::string_view m = Mark(r);
        WriteLine(r, "G0 ", Xo, " ", Yo, " ", Zo, " ", m);
        WriteLine(r, "G0 ", X, " ", Y, " ", Zo, " ", m);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", m);
        r.pathStart = false;
    } else if (stair && r.Zold < r.Z) {
        WriteLine(r, "G0 ", Xo, " ", Yo, " ", Z, " ", comment);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", comment);
    } else if (stair && r.Zold > r.Z) {
        WriteLine(r, "G1 ", X, " ", Y, " ", Zo, " ", comment);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", comment);
    } else {
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", comment);
    }
    r.Zold = r.Z;
}

void EmitArcPoint(RunState& r, std::string_view Xo, std::string_view X, std::string_view Yo,
                  std::string_view Y, std::string_view Zo, std::string_view Z, bool stair) {
    const std::string_view m = Mark(r);
    if (r.pathStart) {
        const std::string_view zsafe = r.words.Word('Z', r.S.zg0);
        WriteLine(r, "G0 ", Xo, " ", Yo, " ", Zo, " ", m);
        WriteLine(r, "G0 ", X, " ", Y, " ", zsafe, " ", m);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", m);
        r.pathStart = false;
        r.Zold = r.Z;
        return;
    }
    // A step that would not run as an arc as written goes straight to its end.
    const bool arc = ArcRunsAsWritten(Xo, Yo, X, Y);
    const std::string_view motion = arc ? "G3 " : "G1 ";
    const std::string_view centre = arc ? " I0 J0" : "";
    if (stair && r.Zold < r.Z) {
        WriteLine(r, "G0 ", Xo, " ", Yo, " ", Z, m);
        WriteLine(r, motion, X, " ", Y, " ", Z, centre, m);
    } else if (stair && r.Zold > r.Z) {
        WriteLine(r, motion, X, " ", Y, " ", Zo, centre, m);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, m);
    } else {
        WriteLine(r, motion, X, " ", Y, " ", Z, centre);
    }
    r.Zold = r.Z;
}

void EmitDrillPoint(RunState& r, std::string_view X, std::string_view Y, std::string_view Z,
                    std::string_view Xo, std::string_view Yo, std::string_view Zsafe) {
    WriteLine(r, "G0 ", Xo, " ", Yo, " ", Zsafe);
    WriteLine(r, "G0 ", X, " ", Y, " ", Zsafe);
    WriteLine(r, "G1 ", X, " ", Y, " ", Z);
    r.Zold = r.Z;
}

void EmitPoint(RunState& r, std::string_view comment) {
    const PointFamily family = FamilyOf(r.S.StrategyIndex, r.arcIJ);
    if (family == PointFamily::None) return;
    WordCache& w = r.words;
    // The old words first: they are the previous point's words, found at the first look.
    const std::string_view Xo = w.Word('X', r.Xold), Yo = w.Word('Y', r.Yold), Zo = w.Word('Z', r.Zold);
    const std::string_view X = w.Word('X', r.X), Y = w.Word('Y', r.Y), Z = w.Word('Z', r.Z);
    switch (family) {
        case PointFamily::Milling:
            EmitMillPoint(r, Xo, X, Yo, Y, Zo, Z, r.stair, comment);
            break;
        case PointFamily::Arc:
            EmitArcPoint(r, Xo, X, Yo, Y, Zo, Z, r.stair);
            break;
        case PointFamily::Drilling:
            EmitDrillPoint(r, X, Y, Z, Xo, Yo, w.Word('Z', r.S.zg0));
            break;
        case PointFamily::None:
            break;
    }
}

void StartPath(RunState& r, std::string_view comment) {
    r.Zold = r.S.zg0;
    WordCache& w = r.words;
    const std::string_view X = w.Word('X', r.X), Y = w.Word('Y', r.Y), Z = w.Word('Z', r.Z);
    const std::string_view Xo = w.Word('X', r.Xold), Yo = w.Word('Y', r.Yold), Zo = w.Word('Z', r.Zold);
    WriteLine(r, "G0 ", Xo, " ", Yo, " ", Zo, comment);
    if (X != Xo || Y != Yo) WriteLine(r, "G0 ", X, " ", Y, " ", Zo, " ", comment);
    WriteLine(r, "G1 ", X, " ", Y, " ", Z, comment);
    // The tool now stands at the path's first point: the next retract rises there, not at a
    // point the tool has left. Zold stays at the safe height.
    r.Xold = r.X;
    r.Yold = r.Y;
}

void MoveTo(RunState& r, std::string_view comment, double x, double y, double zsafe) {
    const std::uint8_t d = r.S.komma;
    char zs[kFormatNumberMax], xs[kFormatNumberMax], ys[kFormatNumberMax];
    const std::string_view zsafeText(zs, FormatNumberTo(zs, d, zsafe));
    WriteLine(r, "G0 Z", zsafeText, " ", comment);
    const std::string_view xText(xs, FormatNumberTo(xs, d, x));
    const std::string_view yText(ys, FormatNumberTo(ys, d, y));
    WriteLine(r, "G0 X", xText, " Y", yText, " Z", zsafeText, " ", comment);
    if (SampleDepth(r, x, y)) {
        WordCache& w = r.words;
        const std::string_view X = w.Word('X', r.X), Y = w.Word('Y', r.Y), Z = w.Word('Z', r.Z);
        WriteLine(r, "G1 ", X, " ", Y, " ", Z, " ", comment);
    }
    r.Xold = r.X;
    r.Yold = r.Y;
    r.Zold = r.Z;
}

void ret_aufloesung(MainState& s) {
    static constexpr TPixelFormat kFormats[] = {TPixelFormat::pf1bit, TPixelFormat::pf4bit,
                                                TPixelFormat::pf8bit, TPixelFormat::pf24bit,
                                                TPixelFormat::pf32bit};
    if (s.ResolutionLevel >= 0 && s.ResolutionLevel <= 4)
        s.WorkBitmap.SetPixelFormat(kFormats[s.ResolutionLevel]);
    s.DepthFullScale = 16777215.0;
}

void Rechne_Alpha(double dx, double dy, double& alpha) {
    constexpr double pi = std::numbers::pi;
    if (dx == 0) {
        alpha = dy < 0 ? 3 * pi / 2 : pi / 2;
        return;
    }
    alpha = std::atan(dy / dx);
    if (dx < 0)
        alpha += pi;
    else if (dy < 0)
        alpha += 2 * pi;
}
