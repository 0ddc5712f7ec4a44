#include "mainwindow/LanguageFile.h"

#include "mainwindow/TextFileLines.h"
#include "platform/TextTrim.h"

#include <charconv>

const std::array<std::string_view, kLanguageEntries> LanguageControlNames = {
    "form1", " Label2", "Label3", "Label4", "Label5", "rundrum_Label", "wst_l_label", "wst_b_label",
    "wst_d_label", "stepx_label", "stepy_label", "Fakt_z_label", "nachkomma_Label", "min_deltaZ_Label",
    "zg0_Label", "max_tiefe_Label", "", "option", "zeilen_nr", "leerzeichen", "prg_optimieren",
    "Ges_zeilen_label", "option_run", "Pro_liste", "listeerstellen", "Prg_nr_Label", "prg_anzahl_Label",
    "proportion", "treppe", "kreism", "bogen_I_J", "label9", "label10", "Panel7", "Panel8", "spiegeln",
    "kante_fraesen", "zustellung_optimieren", "manipulation", "bild_speichern", "bild_laden",
    "buttonreset", "text_bearbeiten", "drucken", "speed_diagonal_fraesen",
    "speed_kreuz_diagonal_fraesen", "speed_spiral_bohren", "speed_spiral_fraesen",
    "speed_ellipse_fraesen", "speed_labyrenth_fraesen", "speed_labyrenth_bohren",
    "speed_kreis_fraesen", "speed_neck_fraesen", "speed_neck_bohren", "speed_diagonal_bohren",
    "speed_kreuz_diagonal_bohren", "speed_kreis_bohren", "Label9", "Frsen1", "linear_fraesen",
    "hor_fraesen", "vert_fraesen", "Kreuz_fraesen", "Schraeg_fraesen", "Schrgkreuzfrmig_fraesen",
    "labyrenth", "neck_fraesen", "Kreis_fraesen", "ellipse_fraesen", "spiral_fraesen", "Bohren1",
    "linear_bohren", "Vertikal_bohren", "horizontal_bohren", "Kariert_bohren", "Schrg_bohren",
    "Schrg_kreuz_bohren", "Labyrent_bohren", "neck_bohren", "Kreisformig_bohren", "Ellipse_bohren",
    "Spiral_bohren", "EinfacheAuflsung1", "NiedrigeAuflsung1", "MittlereAuflsung1", "HheAuflsung1",
    "SehrhheAuflsung1", "dateigrosse_label", "bitte_warten", "simulieren", "achse_90_grad",
    "z_zustellung", "color", "info", "hilfe", "schliessen", "prg_speichern", "prg_laden",
    "prg_erstellen", "stoppen", "abbruch", "datei1", "bild1", "wstkDaten1", "geometrie1", "auflsung1",
    "erstellunsart1", "optionen1", "hilfe1", "beenden1", "stufenlos_invertieren", "farbaufloesung",
    "kontur", "verwackelt", "verschwommen", "weichekante", "musaik", "kopieren", "licht", "kontrast",
    "saettigung", "schatten", "teillicht", "hell", "checkboxemboss", "checkboxinvert",
    "checkboxgrayscale", "form_manipulation", "", "schnell_simulation", "helligkeit",
    "label_schneidehoehe", "label_simulation_radius", "Label_spitzenwinkel", "schwarz", "rot", "gold",
    "silber", "anfangen", "sim_menu", "", "", "", "", "", "", "", "", "", "winkel", "ecken", "ellipse",
    "ellipse_paralell", "", "", "", "", "", "", "dummy",
};

int LanguageEntry(std::string_view name) {
    for (int i = 0; i < kLanguageEntries; ++i)
        if (LanguageControlNames[std::size_t(i)] == name) return i + 1;
    return 0;
}

std::optional<std::string> LanguageObjectName(std::string_view line) {
    const auto at = line.find("object");
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = line.size() > at + 7 ? line.substr(at + 7) : std::string_view();
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    return std::string(rest);
}

namespace {
bool ReadBlockLine(TextLineReader& in, std::string& line) {
    const auto r = in.Next(line);
    if (r == TextLineReader::Result::End) line.clear();
    return r != TextLineReader::Result::Error;
}
}  // namespace

LanguageStatus ReadLanguageFile(TextLineReader& in,
                                const std::function<void(int, const std::string&)>& caption,
                                const std::function<void(int, const std::string&)>& hint) {
    using Result = TextLineReader::Result;
    static constexpr std::string_view kCaption = "Caption = ";
    static constexpr std::string_view kHint = "Hint = ";
    std::string line;
    for (;;) {
        const Result r = in.Next(line);
        if (r == Result::End) return LanguageStatus::Ok;
        if (r == Result::Error) return LanguageStatus::ReadErrorOrdinary;
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.find("object") == std::string_view::npos) continue;
        const auto name = LanguageObjectName(line);
        const int entry = name ? LanguageEntry(*name) : 0;
        if (entry == 0 || entry == kLanguageEntries) continue;

        // The end of the file inside a block reads as an empty line.
        if (!ReadBlockLine(in, line)) return LanguageStatus::ReadErrorInBlock;
        if (const auto at = line.find(kCaption); at != std::string::npos) {
            std::string text = line.substr(at + kCaption.size());
            if (const auto cr = text.find("#13"); cr != std::string::npos) {
                text[cr] = '\r';
                text.erase(cr + 1, 2);
            }
            caption(entry, text);
        }
        if (!ReadBlockLine(in, line)) return LanguageStatus::ReadErrorInBlock;
        if (const auto at = line.find(kHint); at != std::string::npos)
            hint(entry, line.substr(at + kHint.size()));
    }
}

LanguageTarget TargetOf(int entry) {
    using K = LanguageTarget::Kind;
    if (entry == 1) return {K::Form, "form1", "form1"};
    if (entry == kLanguageColourEntry) return {K::Colour, {}, {}};
    if (entry >= 111 && entry <= 159) return {K::OtherWindows, {}, {}};
    if (entry < 2 || entry > kLanguageLastControlEntry) return {};
    switch (entry) {
        case 12: return {K::Control, "Faktor_label", "Faktor_label"};
        case 31: return {K::Control, "bogen_IJ", "bogen_IJ"};
        case 89: return {K::Control, "warten", "warten"};
        case 98: return {K::Control, "load_cnc", "load_cnc"};
        case 92: return {K::Control, "z_zustellung_Label", "z_zustellung"};
        case 17: case 26: return {};
        default: break;
    }
    const std::string name(LanguageControlNames[std::size_t(entry - 1)]);
    return {K::Control, name, name};
}

std::optional<int> ParseLanguageColour(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (negative) v = -v;
    if (v < -2147483648LL || v > 4294967295LL) return std::nullopt;
    return int(std::uint32_t(v));
}
