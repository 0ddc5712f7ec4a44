#pragma once
// The built-in context menu of an entry field, as data: which items it has, their captions
// from the message table and when each is enabled. The widget builds its menu from this.
#include <cstdint>
#include <string>
#include <vector>

enum class TFclEntryFieldAction : std::uint8_t {
    Restore, Separator, Cut, Copy, Paste, Delete, SelectAll
};

struct TFclEntryFieldMenuItem {
    TFclEntryFieldAction Action;
    std::string Caption;  // Windows-1252 text with "&" marking the access key; "-" a separator
    bool Enabled;
};

// What the menu depends on.
struct TFclEntryFieldMenuState {
    bool Modified = false;      // since the field gained the focus
    bool HasSelection = false;
    bool ReadOnly = false;
    bool ClipboardHasText = false;
    int SelectionLength = 0;
    int TextLength = 0;
};

// Restore, -, Cut, Copy, Paste, Delete, -, Select All.
std::vector<TFclEntryFieldMenuItem> EntryFieldMenuItems(const TFclEntryFieldMenuState& State);
