#include "generation/RunSettingsCheck.h"

#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunHost.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr const char* kNoProgram = " Bitte die Werte prüfen; es wurde kein Programm erstellt.";

// The colour value of white, which the run maps to the top of the material.
constexpr double kWhite = 16777215.0;

double AsTheRunReadsIt(RunHost& host, std::string_view field, double variable) {
    ReadField(host, field, variable);
    return variable;
}

// The depth of colour value c before the pass and depth limits, in the order of operations
// of the depth sampling. It is monotone in c, so that its values at black and white bound
// every other colour's.
double DepthOfColour(double c, double thickness, double factor) {
    double z = c * thickness / kWhite;
    z = factor * z;
    return z - thickness;
}

bool UsesTheAngle(int strategy) { return strategy == 11 || strategy == 12 || strategy == 15 || strategy == 16; }

}  // namespace

bool CheckRunSettings(RunHost& host, const MainState& s) {
    if (s.StrategyIndex < 0 || s.StrategyIndex > 19) {
        host.ShowMessageText("Ein Bahnmuster mit der Nummer " + std::to_string(s.StrategyIndex) +
                             " gibt es nicht. Bitte ein Bahnmuster wählen; es wurde kein Programm erstellt.");
        return false;
    }

    const double length = AsTheRunReadsIt(host, "wst_l", s.wst_l);
    const double width = AsTheRunReadsIt(host, "wst_b", s.wst_b);
    const double thickness = AsTheRunReadsIt(host, "wst_d", s.wst_d);
    const double factor = AsTheRunReadsIt(host, "faktor", s.faktor);
    const double safeHeight = AsTheRunReadsIt(host, "zg0", s.zg0);
    const double deepest = AsTheRunReadsIt(host, "max_tiefe", s.max_tiefe);
    const double infeed = AsTheRunReadsIt(host, "z_zustellung", s.z_zustellung);
    const double pathSpacing = AsTheRunReadsIt(host, "stepX", s.stepX);
    const double pointSpacing = AsTheRunReadsIt(host, "stepy", s.stepy);
    struct Setting {
        const char* name;  // as the user knows it
        double value;
    };
    // The oblique milling pattern takes the angle as it stands, the others from the angle field.
    const double angle = s.StrategyIndex == 11 ? s.Alpha : AsTheRunReadsIt(host, "eingabe", s.Alpha);
    const Setting settings[] = {
        {"Länge", length},
        {"Breite", width},
        {"Dicke", thickness},
        {"Z-Faktor", factor},
        {"max. Tiefe", deepest},
        {"Zustellung", infeed},
        {"Bahnabstand", pathSpacing},
        {"Punktabstand", pointSpacing},
        {"G0-Hub", safeHeight},
        {"kleinste Z-Änderung", AsTheRunReadsIt(host, "min_deltaZ", s.min_deltaZ)},
        {"Winkel", UsesTheAngle(s.StrategyIndex) ? angle : 0.0},
    };
    for (const Setting& setting : settings) {
        if (!std::isfinite(setting.value)) {
            host.ShowMessageText(std::string("Der Wert für „") + setting.name +
                                 "“ ist keine Zahl (ist die Einstellungsdatei beschädigt?)." + kNoProgram);
            return false;
        }
    }

    // The rapids run at the safe height above the surface, as the program writes it: at 0 or
    // below (also a small height that the decimals round to 0) they would cut.
    std::uint8_t decimals = s.komma;
    ReadByteField(host, "komma", decimals);
    const std::string written = FormatNumber(decimals, safeHeight);
    if (!(safeHeight > 0) || written == "0") {
        host.ShowMessageText("Der Wert für „G0-Hub“ muss größer als 0 sein (mit den eingestellten "
                             "Nachkommastellen geschrieben), sonst fahren die Eilgänge auf oder unter der "
                             "Werkstückoberfläche." + std::string(kNoProgram));
        return false;
    }

    const auto measure = [](double v) { return v > 0 && v <= kLargestWorkpieceMeasure; };
    if (!measure(length) || !measure(width) || !measure(thickness)) {
        host.ShowMessageText("Länge, Breite und Dicke des Werkstücks müssen größer als 0 und höchstens "
                             "1000 km sein." + std::string(kNoProgram));
        return false;
    }

    if (!std::isfinite(DepthOfColour(0, thickness, factor)) ||
        !std::isfinite(DepthOfColour(kWhite, thickness, factor))) {
        host.ShowMessageText("Mit dieser Werkstückdicke und diesem Z-Faktor ergeben sich Tiefen außerhalb "
                             "des Zahlenbereichs." + std::string(kNoProgram));
        return false;
    }

    // A Z factor of 0 maps every grey to the full thickness: the whole picture area would be
    // cut through.
    if (factor == 0) {
        host.ShowMessageText("Der Wert für „Z-Faktor“ ist 0: damit würde jeder Punkt des Bildes auf die "
                             "ganze Werkstückdicke gefräst. Bitte einen Z-Faktor ungleich 0 eingeben;"
                             " es wurde kein Programm erstellt.");
        return false;
    }

    // Depths are entered below the surface (negative): a deepest depth or an infeed above 0
    // (a slipped sign) cuts above the program's own rapids.
    for (const Setting& depth : {Setting{"max. Tiefe", deepest}, Setting{"Zustellung", infeed}}) {
        if (depth.value > 0) {
            host.ShowMessageText(std::string("Der Wert für „") + depth.name +
                                 "“ liegt über der Werkstückoberfläche. Tiefen werden negativ eingegeben "
                                 "(zum Beispiel -3);" + " es wurde kein Programm erstellt.");
            return false;
        }
    }

    // Below the plate's underside the tool (the workpiece contour runs down to max. Tiefe
    // whatever the picture holds) would cut into the machine table. Right through is allowed.
    if (deepest < -thickness) {
        host.ShowMessageText("Der Wert für „max. Tiefe“ (" + FormatNumber(3, deepest) +
                             ") liegt unter der Unterseite des Werkstücks („Dicke“ " + FormatNumber(3, thickness) +
                             "): so tief würde das Werkzeug in den Maschinentisch fahren. Erlaubt sind Tiefen "
                             "von -" + FormatNumber(3, thickness) + " bis 0." + kNoProgram);
        return false;
    }

    // A spacing of 0 or below lays out no path, or no point between the starts of the paths.
    for (const Setting& spacing : {Setting{"Bahnabstand", pathSpacing}, Setting{"Punktabstand", pointSpacing}}) {
        if (!(spacing.value > 0)) {
            host.ShowMessageText(std::string("Der Wert für „") + spacing.name + "“ muss größer als 0 sein." +
                                 kNoProgram);
            return false;
        }
    }
    return true;
}
