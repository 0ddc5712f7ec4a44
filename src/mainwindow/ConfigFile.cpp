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

// Stores the value of position 1 to 20. False when the value is damaged (decimals outside 0 to 3).
bool StoreValue(MainState& s, int position, std::string_view value) {
    switch (position) {
        case 1: s.LanguageFileName = CutTo255(std::string(value)); break;
        case 2: s.MessageFileName = CutTo255(std::string(value)); break;
        case 3: s.HelpFileName = CutTo255(std::string(value)); break;
        case 4: SetNumber(value, s.DefaultLength); break;
        case 5: SetNumber(value, s.DefaultWidth); break;
        case 6: SetNumber(value, s.wst_d); break;
        case 7: SetNumber(value, s.stepX); break;
        case 8: SetNumber(value, s.stepy); break;
        case 9: SetNumber(value, s.max_tiefe); break;
        case 10: SetNumber(value, s.faktor); break;
        case 11: SetNumber(value, s.min_deltaZ); break;
        case 12: {
            // Decimals the field can show: 0 to 3. Anything else marks the file as damaged
            // (keeping only the low 8 bits would turn 300 into 44).
            auto v = ParseConfigNumber(value);
            if (!v || !(*v >= 0 && *v <= 3) || *v != std::trunc(*v)) return false;
            s.komma = std::uint8_t(*v);
            break;
        }
        case 13: SetNumber(value, s.zg0); break;
        case 14: s.CommentBrackets = CutTo255(std::string(value)); break;
        case 15: SetNumber(value, s.rundrum_mm); break;
        case 16: SetNumber(value, s.MinStep); break;
        case 17: SetNumber(value, s.SimRadius); break;
        case 18: SetNumber(value, s.SimCuttingHeight); break;
        case 19: SetNumber(value, s.SimTipAngle); break;
        case 20: SetNumber(value, s.z_zustellung); break;
        default: break;
    }
    return true;
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

ConfigStatus ReadConfiguration(TextLineReader& in, MainState& s) {
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
                if (!StoreValue(s, position, ConfigValue(valueLine))) damaged = true;
            }
            if (atEnd) break;
        }
    }
    return damaged ? ConfigStatus::Defect : ConfigStatus::Ok;
}

std::string ConfigFilePath() { return ProgramDirectory() + "Fraxilon.ini"; }
