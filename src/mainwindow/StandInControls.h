#pragma once
// Plain Qt stand-ins for the control library's picture field, numeric counter, meter and
// combo box with recent items, with the value access the main window uses. The window
// reaches them only through the names in WindowControls.h.
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

#include <cstdint>
#include <string>

namespace standin {

enum class FieldType { Real, Byte, Integer };

// A masked entry field holding one number. The mask's digits after "." give the decimals
// shown; the value is read with "." or "," as the decimal separator.
class PictureField : public QLineEdit {
public:
    PictureField(FieldType type, const std::string& mask, int maxLength, double low, double high,
                 QWidget* parent = nullptr);

    // 0 when read; 256 outside the range, 257 not a number of the field's type (value untouched).
    int GetValue(double& value) const;
    // Shows value without validating it.
    void SetValue(double value);
    const std::string& PictureMask() const { return mask_; }

private:
    FieldType type_;
    std::string mask_;
    int decimals_;
    double low_, high_;
};

// A read-only counter of a whole number (line count, program size).
class NumericCounter : public QLineEdit {
public:
    explicit NumericCounter(QWidget* parent = nullptr);
    void SetValue(std::int64_t value);
    std::int64_t Value() const { return value_; }

private:
    std::int64_t value_ = 0;
};

// The progress meter, 0 to 100 per cent.
class Meter : public QProgressBar {
public:
    explicit Meter(QWidget* parent = nullptr);
    void SetPercent(int percent) { setValue(percent); }
    int Percent() const { return value(); }
};

// A drop-down list of recently used names.
class RecentCombo : public QComboBox {
public:
    explicit RecentCombo(QWidget* parent = nullptr);
    void AddRecentItem(const std::string& item);
    void ClearRecentItems() { clear(); }
};

}  // namespace standin
