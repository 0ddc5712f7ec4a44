#include "controls/FclQtKeys.h"

#include <QKeyEvent>

#include <array>
#include <utility>

std::uint16_t VirtualKeyOf(const QKeyEvent& Event)
{
    const int key = Event.key();
    const bool keypad = Event.modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return static_cast<std::uint16_t>(96 + (key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::uint16_t>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::uint16_t>(112 + (key - Qt::Key_F1));

    static const std::array<std::pair<int, std::uint16_t>, 34> table = {{
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39},
        {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
        {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186},
        {Qt::Key_Plus, 187}, {Qt::Key_Equal, 187}, {Qt::Key_Comma, 188}, {Qt::Key_Minus, 189},
        {Qt::Key_Period, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Meta, 91},
    }};
    for (const auto& [qtKey, vk] : table)
        if (qtKey == key)
            return vk;
    return Event.text().isEmpty() ? 0 : kTypingKey;
}
