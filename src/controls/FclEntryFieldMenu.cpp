#include "controls/FclEntryFieldMenu.h"

#include "controls/FclMessages.h"

std::vector<TFclEntryFieldMenuItem> EntryFieldMenuItems(const TFclEntryFieldMenuState& S)
{
    using A = TFclEntryFieldAction;
    return {
        {A::Restore, GetMessageText(30287), S.Modified},
        {A::Separator, "-", true},
        {A::Cut, GetMessageText(30288), S.HasSelection && !S.ReadOnly},
        {A::Copy, GetMessageText(30289), S.HasSelection},
        {A::Paste, GetMessageText(30290), !S.ReadOnly && S.ClipboardHasText},
        {A::Delete, GetMessageText(30291), S.HasSelection && !S.ReadOnly},
        {A::Separator, "-", true},
        {A::SelectAll, GetMessageText(30292), S.SelectionLength < S.TextLength},
    };
}
