#pragma once
// The three built-in command tables: "Default" (active), "WordStar" and "Grid" (inactive).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "controls/FclCommandTable.h"

struct TFclBuiltInTable {
    std::uint16_t NameMessage;  // the table's name in the message table
    bool Active;
    std::span<const TFclCommandBinding> Bindings;
};

// In the order the processor creates them.
std::span<const TFclBuiltInTable> BuiltInTables();
// The built-in table of that name (without regard to case), or nullptr.
const TFclBuiltInTable* FindBuiltInTable(std::string_view Name);
std::string BuiltInTableName(const TFclBuiltInTable& Table);
