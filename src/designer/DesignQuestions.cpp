#include "designer/DesignQuestions.h"

#include "designer/DesignConvert.h"

#include <QString>

namespace {

const char* ShapeName(char typ) {
    switch (typ) {
    case '2': return "Polygon";
    case '3': return "abgerundetes Rechteck";
    case '4': return "Ellipse";
    case '5': return "Dreieck";
    case '9': return "Rechteck";
    default: return "ohne Form";
    }
}

// The start of an object's text, cut at whole characters.
std::string TextStart(std::string_view text) {
    constexpr qsizetype kLongest = 30;
    const QString t = QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed();
    if (t.size() <= kLongest)
        return t.toStdString();
    return t.left(kLongest).trimmed().toStdString() + "…";
}

}  // namespace

std::string ObjectName(const TDesign& design, int slot) {
    std::string name = "Objekt " + std::to_string(slot);
    if (slot < 1 || slot > MaxFenster)
        return name;
    const TFensterRec& r = design.FensterRecs[std::size_t(slot)];
    name += std::string(" (") + ShapeName(r.Typ);
    const std::string text = TextStart(r.TextString);
    if (!text.empty())
        name += " mit dem Text „" + text + "“";
    return name + ")";
}

std::string UncommittedEditsQuestion(const TDesign& design, const std::vector<int>& objects) {
    // A handful of names; the rest are counted.
    constexpr std::size_t kNamed = 5;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < objects.size() && i < kNamed; ++i)
        names.push_back(ObjectName(design, objects[i]));
    if (objects.size() > kNamed)
        names.push_back(std::to_string(objects.size() - kNamed) + " weiteren Objekten");
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? " und " : ", ";
        list += names[i];
    }
    return "Die Änderungen an " + list +
           " sind noch nicht übernommen. Sollen sie übernommen werden?\n"
           "Mit „Nein“ werden sie verworfen.";
}

std::string DesignChangedQuestion(const TDesign& design, bool closing) {
    const std::string_view name = Trim(design.SaveDialogFileName);
    std::string text = name.empty() ? "Das Design ist noch nicht gespeichert."
                                    : "Das Design „" + std::string(name) +
                                          "“ wurde seit dem Öffnen oder Speichern geändert.";
    text += closing ? " Soll es gespeichert werden, bevor der Editor geschlossen wird?"
                    : " Soll es gespeichert werden, bevor es verworfen wird?";
    return text;
}
