#pragma once
// Translates key presses into edit commands through a list of named command tables, with
// two-key sequences and a command that makes the next key plain typing. Starts with the
// built-in tables "Default" (active), "WordStar" and "Grid" (inactive).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/FclCommandTable.h"
#include "controls/FclKeys.h"

class TPropertyReader;
class TPropertyWriter;

class TFclCommandProcessor {
public:
    enum TState : std::uint8_t {
        stIdle = 0,
        stSequence = 1,  // the first key of a sequence was taken
        stLiteral = 2,   // the next key counts as typing (after ccCtrlChar)
    };

    TFclCommandProcessor();
    virtual ~TFclCommandProcessor();
    TFclCommandProcessor(const TFclCommandProcessor&) = delete;
    TFclCommandProcessor& operator=(const TFclCommandProcessor&) = delete;

    std::size_t Count() const { return tables_.size(); }
    TFclCommandTable& Table(std::size_t Index);
    const TFclCommandTable& Table(std::size_t Index) const;

    // Appends the table. A name already in use (without regard to case) is replaced by its
    // base (trailing digits removed while at least 2 characters remain) followed by the
    // first of 1, 2, ... that is free.
    void AppendTable(std::unique_ptr<TFclCommandTable> Table);
    // ETableNotFound when no table has that name, EDuplicateCommand when the table has the
    // key identity already; otherwise the binding is appended.
    void AddBinding(std::string_view TableName, const TFclCommandBinding& Binding);
    // The first table of that name without regard to case, or nullptr.
    TFclCommandTable* FindTable(std::string_view Name);
    // Removes every table.
    void ClearTables();

    // Forgets a pending sequence or literal key.
    void ResetState();
    TState State() const { return state_; }

    // The command for a key press: a command of a table, or ccNoBinding (252) for a key
    // that counts as typing, ccSequenceFailed (254) when the second key of a sequence has
    // no binding, ccPartialSequence (255) while a sequence waits for its second key.
    // ShiftFlags are the table's shift bits (Shift 2, Ctrl 4, Alt 8), as held when the key
    // went down.
    std::uint16_t CommandOfMessage(std::uint16_t Key, std::uint8_t ShiftFlags);
    // The same with the modifier state of a key event.
    std::uint16_t CommandOfKey(std::uint16_t Key, TShiftState ShiftState);

    // Loads a new table from a text file, appends it and returns its index.
    virtual int ReadCommandFile(const std::string& FileName);
    // Saves the table of that name; nothing when there is none.
    virtual void WriteCommandFile(std::string_view TableName, const std::string& FileName);

    // Form streaming, property "TableList" (only when there is a table): a list of the
    // tables' command lists. Reading clears all tables and appends each one read.
    void WriteProperties(TPropertyWriter& Writer) const;
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);

private:
    std::vector<std::unique_ptr<TFclCommandTable>> tables_;
    TState state_ = stIdle;
    std::uint8_t pendingKey_ = 0;
    std::uint8_t pendingShift_ = 0;
};
