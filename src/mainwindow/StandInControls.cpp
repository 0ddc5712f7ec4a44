#include "mainwindow/StandInControls.h"

#include <charconv>
#include <cmath>

namespace standin {

namespace {
int MaskDecimals(const std::string& mask) {
    const auto dot = mask.find('.');
    return dot == std::string::npos ? 0 : int(mask.size() - dot - 1);
}
}  // namespace

PictureField::PictureField(FieldType type, const std::string& mask, int maxLength, double low,
                           double high, QWidget* parent)
    : QLineEdit(parent), type_(type), mask_(mask), decimals_(MaskDecimals(mask)), low_(low), high_(high) {
    // The length limit is the mask's; a value written by the program is never cut to it.
    setProperty("maskLength", maxLength);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

int PictureField::GetValue(double& value) const {
    std::string t = text().trimmed().toStdString();
    for (char& c : t)
        if (c == ',') c = '.';
    double v = 0;
    if (!t.empty()) {
        std::string_view s = t;
        bool negative = false;
        if (s.front() == '-' || s.front() == '+') {
            negative = s.front() == '-';
            s.remove_prefix(1);
        }
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
        if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return 257;
        if (negative) v = -v;
    }
    if (type_ != FieldType::Real && v != std::trunc(v)) return 257;
    if (v < low_ || v > high_) return 256;
    value = v;
    return 0;
}

void PictureField::SetValue(double value) {
    char buf[400];
    std::to_chars_result r{};
    if (type_ == FieldType::Real)
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals_);
    else
        r = std::to_chars(buf, buf + sizeof buf, (long long)std::trunc(value));
    setText(r.ec == std::errc() ? QString::fromLatin1(buf, int(r.ptr - buf)) : QString());
}

NumericCounter::NumericCounter(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetValue(0);
}

void NumericCounter::SetValue(std::int64_t value) {
    value_ = value;
    setText(QString::number(value));
}

Meter::Meter(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
}

RecentCombo::RecentCombo(QWidget* parent) : QComboBox(parent) {}

void RecentCombo::AddRecentItem(const std::string& item) {
    const QString text = QString::fromStdString(item);
    const int at = findText(text);
    if (at >= 0) removeItem(at);
    insertItem(0, text);
    setCurrentIndex(0);
}

}  // namespace standin
