#include "controls/FclBuiltInCommands.h"

#include <array>
#include <vector>

#include "controls/FclCommandCodes.h"
#include "controls/FclKeys.h"
#include "controls/FclMessages.h"

namespace {

constexpr std::uint8_t S = kShiftBit;
constexpr std::uint8_t C = kCtrlBit;
constexpr std::uint8_t A = kAltBit;
constexpr std::uint8_t CS = kCtrlBit | kShiftBit;

TFclCommandBinding B(std::uint8_t key, std::uint8_t shift, std::uint16_t command)
{
    return {key, shift, 0, 0, command};
}

// Ctrl+First, then Second with or without Ctrl.
TFclCommandBinding Seq(char first, char second, std::uint16_t command)
{
    return {static_cast<std::uint8_t>(first), C, static_cast<std::uint8_t>(second),
            kShiftNoneOrCtrl, command};
}

std::vector<TFclCommandBinding> DefaultBindings()
{
    std::vector<TFclCommandBinding> b = {
        B(VK_LEFT, 0, ccLeft), B(VK_RIGHT, 0, ccRight),
        B(VK_LEFT, C, ccWordLeft), B(VK_RIGHT, C, ccWordRight),
        B(VK_HOME, 0, ccHome), B(VK_END, 0, ccEnd),
        B(VK_DELETE, 0, ccDel),
        B(VK_BACK, 0, ccBack), B(VK_BACK, S, ccBack),
        B(VK_PRIOR, C, ccTopOfPage), B(VK_NEXT, C, ccBotOfPage),
        B(VK_INSERT, 0, ccIns),
        B('Z', C, ccUndo),
        B(VK_BACK, A, ccRestore),
        B(VK_UP, 0, ccUp), B(VK_DOWN, 0, ccDown),
        B(VK_RETURN, C, ccNewLine),
        B(VK_LEFT, S, ccExtendLeft), B(VK_RIGHT, S, ccExtendRight),
        B(VK_HOME, S, ccExtendHome), B(VK_END, S, ccExtendEnd),
        B(VK_LEFT, CS, ccExtWordLeft), B(VK_RIGHT, CS, ccExtWordRight),
        B(VK_PRIOR, S, ccExtendPgUp), B(VK_NEXT, S, ccExtendPgDn),
        B(VK_UP, S, ccExtendUp), B(VK_DOWN, S, ccExtendDown),
        B(VK_HOME, CS, ccExtFirstPage), B(VK_END, CS, ccExtLastPage),
        B(VK_PRIOR, CS, ccExtTopOfPage), B(VK_NEXT, CS, ccExtBotOfPage),
        B(VK_DELETE, S, ccCut), B('X', C, ccCut),
        B(VK_INSERT, C, ccCopy), B('C', C, ccCopy),
        B(VK_INSERT, S, ccPaste), B('V', C, ccPaste),
        B(VK_PRIOR, 0, ccPrevPage), B(VK_NEXT, 0, ccNextPage),
        B(VK_HOME, C, ccFirstPage), B(VK_END, C, ccLastPage),
        B(VK_TAB, 0, ccTab), B(VK_TAB, C, ccTab),
        B('Z', CS, ccRedo),
    };
    for (int d = 0; d <= 9; ++d)
        b.push_back(B(static_cast<std::uint8_t>('0' + d), C,
                      static_cast<std::uint16_t>(ccGotoMarker0 + d)));
    for (int d = 0; d <= 9; ++d)
        b.push_back(B(static_cast<std::uint8_t>('0' + d), CS,
                      static_cast<std::uint16_t>(ccSetMarker0 + d)));
    return b;
}

std::vector<TFclCommandBinding> WordStarBindings()
{
    std::vector<TFclCommandBinding> b = {
        B('S', C, ccLeft), B('D', C, ccRight), B('E', C, ccUp), B('X', C, ccDown),
        B('R', C, ccPrevPage), B('C', C, ccNextPage), B('W', C, ccScrollUp),
        B('Z', C, ccScrollDown), B('A', C, ccWordLeft), B('F', C, ccWordRight),
        Seq('Q', 'S', ccHome), Seq('Q', 'D', ccEnd),
        B('G', C, ccDel), B('H', C, ccBack), B('Y', C, ccDelLine),
        Seq('Q', 'Y', ccDelEol),
        B('V', C, ccIns), B('T', C, ccDelWord), B('P', C, ccCtrlChar),
        Seq('Q', 'L', ccRestore),
    };
    for (int d = 0; d <= 9; ++d)
        b.push_back(Seq('Q', static_cast<char>('0' + d),
                        static_cast<std::uint16_t>(ccGotoMarker0 + d)));
    for (int d = 0; d <= 9; ++d)
        b.push_back(Seq('K', static_cast<char>('0' + d),
                        static_cast<std::uint16_t>(ccSetMarker0 + d)));
    return b;
}

std::vector<TFclCommandBinding> GridBindings()
{
    return {
        B(VK_LEFT, 0, ccLeft), B(VK_RIGHT, 0, ccRight),
        B(VK_HOME, 0, ccHome), B(VK_END, 0, ccEnd),
        B(VK_DELETE, 0, ccDel), B(VK_BACK, 0, ccBack),
        B(VK_NEXT, C, ccBotOfPage), B(VK_PRIOR, C, ccTopOfPage),
        B(VK_INSERT, 0, ccIns),
        B(VK_UP, 0, ccUp), B(VK_DOWN, 0, ccDown),
        B(VK_LEFT, S, ccExtendLeft), B(VK_RIGHT, S, ccExtendRight),
        B(VK_HOME, S, ccExtendHome), B(VK_END, S, ccExtendEnd),
        B(VK_LEFT, CS, ccExtWordLeft), B(VK_RIGHT, CS, ccExtWordRight),
        B(VK_PRIOR, S, ccExtendPgUp), B(VK_NEXT, S, ccExtendPgDn),
        B(VK_UP, S, ccExtendUp), B(VK_DOWN, S, ccExtendDown),
        B(VK_HOME, CS, ccExtFirstPage), B(VK_END, CS, ccExtLastPage),
        B(VK_PRIOR, CS, ccExtTopOfPage), B(VK_NEXT, CS, ccExtBotOfPage),
        B('X', C, ccCut), B('C', C, ccCopy), B('V', C, ccPaste),
        B(VK_PRIOR, 0, ccPrevPage), B(VK_HOME, C, ccFirstPage),
        B(VK_NEXT, 0, ccNextPage), B(VK_END, C, ccLastPage),
        B(VK_LEFT, C, ccPageLeft), B(VK_RIGHT, C, ccPageRight),
        B('Z', C, ccRestore),
        B(VK_UP, C, ccTopLeftCell), B(VK_DOWN, C, ccBotRightCell),
        B(VK_F2, 0, ccTableEdit),
    };
}

struct Tables {
    std::vector<TFclCommandBinding> defaults = DefaultBindings();
    std::vector<TFclCommandBinding> wordStar = WordStarBindings();
    std::vector<TFclCommandBinding> grid = GridBindings();
    std::array<TFclBuiltInTable, 3> list{{
        {30275, true, defaults},
        {30276, false, wordStar},
        {30266, false, grid},
    }};
};

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

}  // namespace

std::span<const TFclBuiltInTable> BuiltInTables()
{
    return TheTables().list;
}

std::string BuiltInTableName(const TFclBuiltInTable& Table)
{
    return GetMessageText(Table.NameMessage);
}

const TFclBuiltInTable* FindBuiltInTable(std::string_view Name)
{
    for (const TFclBuiltInTable& t : BuiltInTables())
        if (SameTableName(BuiltInTableName(t), Name))
            return &t;
    return nullptr;
}
