#include "controls/FclFieldValues.h"

#include "controls/FclRangeSlot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

template <typename T>
T Limited(double value) {
    if (std::isnan(value)) return T{};
    const double lo = double(std::numeric_limits<T>::lowest());
    const double hi = double(std::numeric_limits<T>::max());
    const double r = std::nearbyint(value);
    if (r <= lo) return std::numeric_limits<T>::lowest();
    if (r >= hi) return std::numeric_limits<T>::max();
    return T(r);
}

template <typename T>
int Read(TFclBaseEntryField& field, double& value) {
    T v{};
    const int code = field.GetValue(v);
    if (code == 0) value = double(v);
    return code;
}

}  // namespace

void SetUpPictureField(TFclPictureField& field, TPictureDataType type, std::string_view mask, int maxLength,
                       double low, double high) {
    field.SetDataType(type);
    field.SetPictureMask(mask);
    field.SetMaxLength(std::uint16_t(maxLength));
    field.SetOptions({efoCaretToEnd, efoRightAlign});
    TFclRangeSlot lo{}, hi{};
    if (type == TPictureDataType::pftReal) {
        SetSlotDouble(lo, low);
        SetSlotDouble(hi, high);
    } else {
        SetSlotLongInt(lo, Limited<std::int32_t>(low));
        SetSlotLongInt(hi, Limited<std::int32_t>(high));
    }
    field.SetRangeLowSlot(lo);
    field.SetRangeHighSlot(hi);
}

void RequireEntry(TFclBaseEntryField& field) {
    TFclEntryFieldOptions options = field.Options();
    options.Include(efoInputRequired);
    field.SetOptions(options);
    // A required field starts uninitialised when its window is made: it would show blanks and
    // refuse to be left until typed in. Its value is the one it was given.
    field.CreateHandle();
    field.SetUninitialized(false);
}

void SetUpCounter(TFclNumericField& field, TNumericDataType type, std::string_view mask) {
    field.SetDataType(type);
    field.SetPictureMask(mask);
    field.SetOptions({efoReadOnly, efoRightAlign});
}

int GetNumber(TFclBaseEntryField& field, double& value) {
    switch (field.BaseType()) {
        case btReal:
        case btDouble: return Read<double>(field, value);
        case btSingle: return Read<float>(field, value);
        case btLongInt: return Read<std::int32_t>(field, value);
        case btSmallInt: return Read<std::int16_t>(field, value);
        case btWord: return Read<std::uint16_t>(field, value);
        case btByte: return Read<std::uint8_t>(field, value);
        case btShortInt: return Read<std::int8_t>(field, value);
        case btComp: return Read<std::int64_t>(field, value);
        default: return 257;
    }
}

void SetNumber(TFclBaseEntryField& field, double value) {
    switch (field.BaseType()) {
        case btReal:
        case btDouble: field.SetValue(value); break;
        case btSingle: field.SetValue(float(value)); break;
        case btLongInt: field.SetValue(Limited<std::int32_t>(value)); break;
        case btSmallInt: field.SetValue(Limited<std::int16_t>(value)); break;
        case btWord: field.SetValue(Limited<std::uint16_t>(value)); break;
        case btByte: field.SetValue(Limited<std::uint8_t>(value)); break;
        case btShortInt: field.SetValue(Limited<std::int8_t>(value)); break;
        case btComp: field.SetValue(Limited<std::int64_t>(value)); break;
        default: break;
    }
}

void SetCount(TFclBaseEntryField& field, std::int64_t value) {
    if (field.BaseType() == btComp)
        field.SetValue(value);
    else
        SetNumber(field, double(value));
}

std::int64_t CountOf(TFclBaseEntryField& field) {
    if (field.BaseType() == btComp) {
        std::int64_t v = 0;
        return field.GetValue(v) == 0 ? v : 0;
    }
    double v = 0;
    return GetNumber(field, v) == 0 ? std::int64_t(v) : 0;
}
