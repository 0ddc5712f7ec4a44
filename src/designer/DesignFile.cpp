#include "designer/DesignFile.h"

#include "designer/DesignConvert.h"
#include "designer/DesignNumber.h"
#include "generation/MainState.h"
#include "platform/IntlSource.h"
#include "platform/Services.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>

std::vector<std::string> DecodeDesignText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QByteArray raw(bytes.data(), qsizetype(bytes.size()));
    QString text = utf8(raw);
    std::string decoded;
    if (utf8.hasError())
        decoded = Win1252ToQString(bytes).toUtf8().toStdString();
    else
        decoded.assign(bytes);
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const char c = decoded[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(std::move(current));
    return lines;
}

// The fields of the project line, or nothing when it is none.
static bool ParseProjectLine(std::string_view raw, DesignFileContent& c) {
    const std::string_view line = Trim(raw);
    if (line.substr(0, 7) != "<Form><" || line.back() != '>')
        return false;
    std::vector<std::string_view> fields;
    std::string_view rest = line.substr(7, line.size() - 8);
    for (;;) {
        const std::size_t sep = rest.find("><");
        fields.push_back(rest.substr(0, sep));
        if (sep == std::string_view::npos)
            break;
        rest.remove_prefix(sep + 2);
    }
    if (fields.size() != 5)
        return false;
    const auto n = StrToInt(fields[0]);
    const auto l = StrToFloat(fields[1]), b = StrToFloat(fields[2]), d = StrToFloat(fields[3]),
               r = StrToFloat(fields[4]);
    if (!n || !l || !b || !d || !r)
        return false;
    c.count = *n;
    c.WstLaenge = *l;
    c.WstBreite = *b;
    c.WstDicke = *d;
    c.WkzRad = *r;
    return true;
}

std::optional<DesignLineError> CheckDesignLines(const std::vector<std::string>& fileLines,
                                                DesignFileContent& content) {
    content = DesignFileContent{};
    if (fileLines.empty())
        return DesignLineError{0, "Die Datei ist leer."};
    const std::size_t last = fileLines.size() - 1;
    if (!ParseProjectLine(fileLines[last], content))
        return DesignLineError{last, "Die letzte Zeile ist keine Projektzeile."};
    if (content.count < 0 || content.count > MaxFenster)
        return DesignLineError{last, "Die Objektanzahl " + std::to_string(content.count) +
                                         " liegt nicht zwischen 0 und 32000."};
    const std::size_t needed = std::size_t(content.count) * kLinesPerObject;
    if (needed > last)
        return DesignLineError{last, "Die Datei hat Zeilen für " + std::to_string(last / 10) +
                                         " Objekte, nicht für " + std::to_string(content.count) +
                                         "."};
    for (int i = 0; i < content.count; ++i) {
        TFensterData d;
        for (int k = 0; k < kLinesPerObject; ++k) {
            const std::size_t index = std::size_t(i) * kLinesPerObject + std::size_t(k);
            const std::string_view line = Trim(fileLines[index]);
            const std::string_view tag = ObjectLineTag(k);
            const bool tagged = k == 9 ? line == tag : line.substr(0, tag.size()) == tag;
            if (!tagged || (k <= 8 && !ParseObjectLine(k, line, d)))
                return DesignLineError{index, "Die Zeile von Objekt " + std::to_string(i + 1) +
                                                  " ist beschädigt."};
        }
        content.objectSizes.push_back({RoundClamped(d.Laenge), RoundClamped(d.Breite)});
    }
    content.lines.assign(fileLines.begin(), fileLines.begin() + std::ptrdiff_t(needed));
    return std::nullopt;
}

// ---- the commands ----------------------------------------------------------------------

// A size in bytes as whole megabytes with thousands points ("12.345 MB"), rounded up or down;
// "mehr als 16 Millionen TB" for a size beyond 64 bits.
static std::string MegabytesText(std::uint64_t bytes, bool roundUp) {
    if (bytes == UINT64_MAX)
        return "mehr als 16 Millionen TB";
    constexpr std::uint64_t kMegabyte = 1u << 20;
    std::string digits = std::to_string(bytes / kMegabyte + (roundUp && bytes % kMegabyte != 0));
    for (std::ptrdiff_t i = std::ptrdiff_t(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(std::size_t(i), ".");
    return digits + " MB";
}

std::string TDesign::ProjectLine() const {
    return "<Form><" + std::to_string(FensterAnzahl) + "><" + FloatToStr(WstLaenge) + "><" +
           FloatToStr(WstBreite) + "><" + FloatToStr(WstDicke) + "><" + FloatToStr(WkzRad) + ">";
}

std::vector<std::string> TDesign::FileLines() const {
    std::vector<std::string> lines = Memo1;
    lines.push_back(ProjectLine());
    return lines;
}

void TDesign::ResetDocumentAndTable() {
    Memo1.clear();
    for (int i = 1; i <= FensterAnzahl; ++i)
        FensterRecs[std::size_t(i)] = TFensterRec{};
    FensterAnzahl = 0;
    AktFenster = 0;
}

void TDesign::New() {
    ResetDocumentAndTable();
    keptDocument_.clear();
    reportedPictures_.clear();
    host_->ShowRecord(nullptr);
    host_->TableChanged();
}

bool TDesign::Open() {
    FileDialogRequest request;
    request.title = "Projekt öffnen";
    request.filter = kDesignFilter;
    request.defaultExt = "fxn";
    request.fileName = OpenDialogFileName;
    const auto name = Services().OpenFileName(request);
    if (!name)
        return false;
    return OpenFile(*name);
}

bool TDesign::OpenFile(const std::string& path) {
    // A pipe or a device is never opened: opening one can wait for a writer for ever.
    const QFileInfo info(QString::fromStdString(path));
    if (info.exists() && !info.isFile()) {
        MessageDlg("Die Datei „" + path + "“ kann nicht geöffnet werden: sie ist ein Ordner, ein "
                   "Gerät oder eine Pipe.", mtError, mbOK);
        return false;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        MessageDlg("Die Datei „" + path + "“ kann nicht geöffnet werden.", mtError, mbOK);
        return false;
    }
    const QByteArray bytes = file.readAll();
    DesignFileContent content;
    if (const auto error = CheckDesignLines(
            DecodeDesignText(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
            content)) {
        MessageDlg("Die Datei „" + path + "“ ist keine lesbare Designdatei (Zeile " +
                       std::to_string(error->line + 1) + "): " + error->message +
                       "\nDas geöffnete Design bleibt erhalten.",
                   mtError, mbOK);
        return false;
    }
    // The objects' images are all held at once: a design whose images do not fit together
    // is refused before any of them is drawn.
    const std::uint64_t held = HeldPicturesBytes(content.objectSizes);
    if (!PictureBytesFitMemory(held)) {
        const std::string objects = content.count == 1
                                        ? "sein Objekt braucht "
                                        : "seine " + std::to_string(content.count) +
                                              " Objekte brauchen zusammen ";
        MessageDlg("Das Design „" + path + "“ wird nicht geöffnet: " + objects +
                       MegabytesText(held, true) + " Arbeitsspeicher, frei sind " +
                       MegabytesText(PictureMemoryBudget(), false) +
                       ".\nDas geöffnete Design bleibt erhalten.",
                   mtError, mbOK);
        return false;
    }
    // What a cancelled drawing of the new design gives back.
    struct Before {
        std::vector<std::string> lines;
        std::vector<TFensterRec> records;  // slots 1..count
        int selected;
        double length, width, thickness, toolRadius;
        double mainLength, mainWidth, mainThickness, mainStep;
        std::string saveName, openName, projectName;
        std::set<std::string> reported;
    } before{std::move(Memo1), {}, AktFenster, WstLaenge, WstBreite, WstDicke, WkzRad,
             Main.wst_l, Main.wst_b, Main.wst_d, Main.stepy, SaveDialogFileName,
             OpenDialogFileName, projectName_, reportedPictures_};
    for (int i = 1; i <= FensterAnzahl; ++i)
        before.records.push_back(std::move(FensterRecs[std::size_t(i)]));
    SaveDialogFileName = path;
    OpenDialogFileName = path;
    ShowProjectName(path);
    ResetDocumentAndTable();
    reportedPictures_.clear();
    Memo1 = std::move(content.lines);
    keptDocument_ = Memo1;
    WstLaenge = content.WstLaenge;
    WstBreite = content.WstBreite;
    WstDicke = content.WstDicke;
    WkzRad = content.WkzRad;
    Main.wst_l = WstLaenge;
    Main.wst_b = WstBreite;
    Main.wst_d = WstDicke;
    Main.stepy = WkzRad;
    host_->ProjectLoaded();
    FensterAnzahl = content.count;
    for (int i = 1; i <= FensterAnzahl; ++i) {
        AktFenster = i;
        Create_Bitmap(0, 0, 0, 0);
    }
    if (DrawAllExecute())
        return true;
    // Cancelled while the objects were drawn: the design that was open comes back as it was.
    ResetDocumentAndTable();
    Memo1 = std::move(before.lines);
    FensterAnzahl = int(before.records.size());
    for (int i = 1; i <= FensterAnzahl; ++i)
        FensterRecs[std::size_t(i)] = std::move(before.records[std::size_t(i - 1)]);
    WstLaenge = before.length;
    WstBreite = before.width;
    WstDicke = before.thickness;
    WkzRad = before.toolRadius;
    Main.wst_l = before.mainLength;
    Main.wst_b = before.mainWidth;
    Main.wst_d = before.mainThickness;
    Main.stepy = before.mainStep;
    SaveDialogFileName = before.saveName;
    OpenDialogFileName = before.openName;
    reportedPictures_ = std::move(before.reported);
    ShowProjectName(before.projectName);
    host_->ProjectLoaded();
    AktFenster = before.selected <= FensterAnzahl ? before.selected : 0;
    ShowSelected();
    host_->TableChanged();
    return false;
}

void TDesign::ShowProjectName(const std::string& name) {
    projectName_ = name;
    host_->ProjectNameChanged(name);
}

bool TDesign::SaveToFile(const std::string& path) {
    std::string bytes;
    for (const std::string& line : FileLines()) {
        bytes += line;
        bytes += "\r\n";
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit()) {
        MessageDlg("Das Projekt kann nicht unter „" + path + "“ gespeichert werden; eine Datei "
                   "dieses Namens ist unverändert. Bitte prüfen, ob in den Ordner geschrieben werden "
                   "darf, oder mit „Speichern unter“ einen anderen Ordner oder Namen wählen und "
                   "erneut speichern.",
                   mtError, mbOK);
        return false;
    }
    keptDocument_ = Memo1;
    return true;
}

static std::optional<std::string> AskSaveName(const std::string& current) {
    FileDialogRequest request;
    request.title = "Projekt speichern";
    request.filter = kDesignFilter;
    request.defaultExt = "fxn";
    request.fileName = current;
    return Services().SaveFileName(request);
}

bool TDesign::Save() {
    std::string name(Trim(SaveDialogFileName));
    if (name.empty()) {
        // No name yet: ask for one rather than writing "Untitled" into the working folder.
        const auto chosen = AskSaveName("");
        if (!chosen || Trim(*chosen).empty())
            return false;
        name = std::string(Trim(*chosen));
        SaveDialogFileName = name;
    }
    if (!SaveToFile(name))
        return false;
    OpenDialogFileName = name;
    return true;
}

bool TDesign::SaveAs() {
    const auto chosen = AskSaveName(SaveDialogFileName);
    if (!chosen || Trim(*chosen).empty())
        return false;
    // A name the design could not be written under does not become its name.
    if (!SaveToFile(*chosen))
        return false;
    SaveDialogFileName = *chosen;
    ShowProjectName(*chosen);
    OpenDialogFileName = *chosen;
    return true;
}
