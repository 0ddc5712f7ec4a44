#include "controls/FclExceptions.h"

#include <charconv>
#include <climits>

#include "controls/FclIntlSup.h"
#include "controls/FclMessages.h"

namespace {

std::string IntText(long long v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string IntRangeText(long long lo, long long hi)
{
    return FormatMessageText(GetMessageText(30203), {IntText(lo), IntText(hi)});
}

std::string RangeMessage(std::uint8_t dataType, const std::string& dateMask,
                         const std::string& timeMask)
{
    switch (dataType & 0x3F) {
    case 4: return IntRangeText(INT32_MIN, INT32_MAX);
    case 5: return IntRangeText(0, UINT16_MAX);
    case 6: return IntRangeText(INT16_MIN, INT16_MAX);
    case 7: return IntRangeText(0, UINT8_MAX);
    case 8: return IntRangeText(INT8_MIN, INT8_MAX);
    case 9: return GetMessageText(30204);
    case 10: return GetMessageText(30205);
    case 11: return GetMessageText(30206);
    case 12: return GetMessageText(30207);
    case 13: return GetMessageText(30208);
    case 14: return FormatMessageText(GetMessageText(30209), {dateMask});
    case 15: return FormatMessageText(GetMessageText(30210), {timeMask});
    default: return GetMessageText(30211);
    }
}

} // namespace

ENoTimersAvailable::ENoTimersAvailable() : EFclException(GetMessageText(30189)) {}

EDuplicateCommand::EDuplicateCommand() : ECmdProcessorError(GetMessageText(30169)) {}

ETableNotFound::ETableNotFound() : ECmdProcessorError(GetMessageText(30170)) {}

EInvalidDataType::EInvalidDataType() : EEntryFieldError(GetMessageText(30194)) {}

EInvalidPictureMask::EInvalidPictureMask(const std::string& Mask)
    : EEntryFieldError(FormatMessageText(GetMessageText(30202), {Mask}))
{
}

EInvalidRangeValue::EInvalidRangeValue(std::uint8_t DataType)
    : EInvalidRangeValue(DataType, FclIntlSup().DateMask(true), FclIntlSup().TimeMask(false))
{
}

EInvalidRangeValue::EInvalidRangeValue(std::uint8_t DataType, const std::string& DateMask,
                                       const std::string& TimeMask)
    : EEntryFieldError(RangeMessage(DataType, DateMask, TimeMask))
{
}
