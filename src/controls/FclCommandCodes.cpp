#include "controls/FclCommandCodes.h"

#include "controls/FclMessages.h"

namespace {
constexpr std::uint16_t kFirstCommandNameMessage = 33768;
}

std::string CommandName(std::uint16_t Command)
{
    if (Command > ccLastNamed)
        return {};
    return FindMessageText(static_cast<std::uint16_t>(kFirstCommandNameMessage + Command));
}
