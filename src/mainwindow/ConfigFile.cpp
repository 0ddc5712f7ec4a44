#include "mainwindow/ConfigFile.h"

#include "generation/MainState.h"
#include "mainwindow/ProgramDirectory.h"
#include "mainwindow/TextFileLines.h"
#include "platform/TextTrim.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

using Result = TextLineReader::Result;

// Up to ten lines of a header or trailer block, ended by a line that is exactly "###".
// line keeps the last line read. False on a read error.
bool ReadBlock(TextLineReader& in, std::array<std::string, kHeaderLineSlots>& lines,
               std::int32_t& count, std::string& line) {
    count = 0;
    while (count < kHeaderLineSlots) {
        const Result r = in.Next(line);
        if (r == Result::Error) return false;
        if (r == Result::End || line == "###") break;
        lines[std::size_t(count++)] = CutTo255(line);
    }
    return true;
}

void SetNumber(std::string_view value, double& variable) {
    if (auto v = ParseConfigNumber(value)) variable = *v;
}

// The settings of the init block that a field of the window shows, by position: the range the
// field takes, and the setting whose start value is the field's own default.
struct FieldOfValue {
    int position;
    double MainState::*setting;
    double low;
    double MainState::*start;
};
constexpr FieldOfValue kFields[] = {
    {4, &MainState::DefaultLength, 0, &MainState::wst_l},
    {5, &MainState::DefaultWidth, 0, &MainState::wst_b},
    {6, &MainState::wst_d, 0, &MainState::wst_d},
    {7, &MainState::stepX, 0, &MainState::stepX},
    {8, &MainState::stepy, 0, &MainState::stepy},
    {9, &MainState::max_tiefe, kFieldLowest, &MainState::max_tiefe},
    {10, &MainState::faktor, kFieldLowest, &MainState::faktor},
    {11, &MainState::min_deltaZ, 0, &MainState::min_deltaZ},
    {13, &MainState::zg0, kFieldLowest, &MainState::zg0},
    {15, &MainState::rundrum_mm, 0, &MainState::rundrum_mm},
    {17, &MainState::SimRadius, 0, &MainState::SimRadius},
    {18, &MainState::SimCuttingHeight, 0, &MainState::SimCuttingHeight},
    {19, &MainState::SimTipAngle, 0, &MainState::SimTipAngle},
    {20, &MainState::z_zustellung, kFieldLowest, &MainState::z_zustellung},
};
constexpr int kDecimalsPosition = 12;

const MainState& StartValues() {
    static const MainState start;
    return start;
}

// Stores the value of position 1 to 20. A number that its field does not take is listed in
// problems and the field's default is used. False when the value is damaged (decimals that
// are no number).
bool StoreValue(MainState& s, int position, std::string_view line, std::vector<ConfigValueProblem>* problems) {
    const std::string_view value = ConfigValue(line);
    auto misfit = [&](double low, double high, bool whole, double used) {
        if (problems) problems->push_back({position, std::string(TrimRight(line)), low, high, whole, used});
    };
    for (const FieldOfValue& f : kFields) {
        if (f.position != position) continue;
        if (auto v = ParseConfigNumber(value)) {
            if (*v >= f.low && *v <= kFieldHighest) {
                s.*f.setting = *v;
            } else {
                s.*f.setting = StartValues().*f.start;
                misfit(f.low, kFieldHighest, false, s.*f.setting);
            }
        }
        return true;
    }
    switch (position) {
        case 1: s.LanguageFileName = CutTo255(std::string(value)); break;
        case 2: s.MessageFileName = CutTo255(std::string(value)); break;
        case 3: s.HelpFileName = CutTo255(std::string(value)); break;
        case kDecimalsPosition: {
            // The field shows 0 to 3 decimals (keeping only the low 8 bits would turn 300 into 44).
            auto v = ParseConfigNumber(value);
            if (!v) return false;
            if (*v >= 0 && *v <= 3 && *v == std::trunc(*v)) {
                s.komma = std::uint8_t(*v);
            } else {
                s.komma = StartValues().komma;
                misfit(0, 3, true, s.komma);
            }
            break;
        }
        case 14: s.CommentBrackets = CutTo255(std::string(value)); break;
        case 16: SetNumber(value, s.MinStep); break;
        default: break;
    }
    return true;
}

// A number as the configuration file writes it: "." as the decimal point, shortest form.
std::string NumberText(double v) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace

std::optional<double> ParseConfigNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return 0.0;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v,
                                           std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

std::string_view ConfigValue(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? line : line.substr(eq + 1);
}

ConfigStatus ReadConfiguration(TextLineReader& in, MainState& s, std::vector<ConfigValueProblem>* problems) {
    // The line tables and their counts: a file without a block leaves none.
    for (auto& l : s.HeaderLines) l.clear();
    for (auto& l : s.TrailerLines) l.clear();
    s.HeaderLineCount = 0;
    s.TrailerLineCount = 0;
    bool damaged = false;
    std::string line;
    for (;;) {
        const Result r = in.Next(line);
        if (r == Result::End) break;
        if (r == Result::Error) return ConfigStatus::Defect;
        if (Trim(line).empty()) continue;
        if (line.find("cnctop=") != std::string::npos &&
            !ReadBlock(in, s.HeaderLines, s.HeaderLineCount, line))
            return ConfigStatus::Defect;
        // A failure inside the trailer block is reported like any other read error.
        if (line.find("cncbuttom=") != std::string::npos &&
            !ReadBlock(in, s.TrailerLines, s.TrailerLineCount, line))
            return ConfigStatus::Defect;
        if (line.find("init") != std::string::npos) {
            bool atEnd = false;
            for (int position = 1; position <= 20; ++position) {
                std::string valueLine;
                if (!atEnd) {
                    const Result v = in.Next(valueLine);
                    if (v == Result::Error) return ConfigStatus::DefectInInit;
                    if (v == Result::End) {
                        atEnd = true;
                        valueLine.clear();
                    }
                }
                if (!StoreValue(s, position, valueLine, problems)) damaged = true;
            }
            if (atEnd) break;
        }
    }
    return damaged ? ConfigStatus::Defect : ConfigStatus::Ok;
}

std::string ConfigProblemsText(const std::vector<ConfigValueProblem>& problems) {
    std::string text = "In der Konfigurationsdatei „Fraxilon.ini“ stehen Werte, die nicht in ihr Feld passen; statt "
                       "ihrer gilt der Vorgabewert des Feldes:";
    for (const ConfigValueProblem& p : problems)
        text += "\n„" + p.line + "“ (Wert " + std::to_string(p.position) + " im init-Block): das Feld nimmt " +
                (p.wholeNumbers ? "die ganzen Zahlen " : "") + NumberText(p.low) + " bis " + NumberText(p.high) +
                ", es gilt " + NumberText(p.used) + ".";
    return text + "\nBitte die Werte in der Konfigurationsdatei berichtigen.";
}

std::string ConfigFilePath() { return ProgramDirectory() + "Fraxilon.ini"; }
