#include "controls/FclCommandProcessor.h"

#include <charconv>

#include "controls/FclBuiltInCommands.h"
#include "controls/FclCommandCodes.h"
#include "controls/FclExceptions.h"
#include "platform/PropertyStream.h"

namespace {

bool IsModifierKey(std::uint16_t key)
{
    return (key >= VK_SHIFT && key <= VK_MENU) || key == VK_CAPITAL || key == VK_NUMLOCK ||
           key == VK_SCROLL;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Numbered(const std::string& base, unsigned long long n)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    return base + std::string(buf, res.ptr);
}

}  // namespace

TFclCommandProcessor::TFclCommandProcessor()
{
    for (const TFclBuiltInTable& builtIn : BuiltInTables()) {
        auto table = std::make_unique<TFclCommandTable>();
        table->SetTableName(BuiltInTableName(builtIn));
        table->SetIsActive(builtIn.Active);
        const std::string name = table->TableName();
        AppendTable(std::move(table));
        for (const TFclCommandBinding& b : builtIn.Bindings)
            AddBinding(name, b);
    }
    ResetState();
}

TFclCommandProcessor::~TFclCommandProcessor() = default;

TFclCommandTable& TFclCommandProcessor::Table(std::size_t Index)
{
    if (Index >= tables_.size())
        throw ETableNotFound();
    return *tables_[Index];
}

const TFclCommandTable& TFclCommandProcessor::Table(std::size_t Index) const
{
    if (Index >= tables_.size())
        throw ETableNotFound();
    return *tables_[Index];
}

void TFclCommandProcessor::AppendTable(std::unique_ptr<TFclCommandTable> Table)
{
    if (!Table)
        return;
    std::string base = Table->TableName();
    while (base.size() >= 2 && IsDigit(base.back()))
        base.pop_back();
    std::string candidate = Table->TableName();
    bool numbered = false;
    for (unsigned long long n = 1; FindTable(candidate); ++n) {
        candidate = Numbered(base, n);
        numbered = true;
    }
    if (numbered)
        Table->SetTableName(candidate);
    tables_.push_back(std::move(Table));
}

void TFclCommandProcessor::AddBinding(std::string_view TableName,
                                      const TFclCommandBinding& Binding)
{
    TFclCommandTable* table = FindTable(TableName);
    if (!table)
        throw ETableNotFound();
    if (table->IndexOf(Binding) >= 0)
        throw EDuplicateCommand();
    table->Add(Binding);
}

TFclCommandTable* TFclCommandProcessor::FindTable(std::string_view Name)
{
    for (const auto& t : tables_)
        if (SameTableName(t->TableName(), Name))
            return t.get();
    return nullptr;
}

void TFclCommandProcessor::ClearTables()
{
    tables_.clear();
}

void TFclCommandProcessor::ResetState()
{
    state_ = stIdle;
    pendingKey_ = 0;
    pendingShift_ = 0;
}

std::uint16_t TFclCommandProcessor::CommandOfKey(std::uint16_t Key, TShiftState ShiftState)
{
    std::uint8_t flags = 0;
    if (ShiftState & ssShift)
        flags |= kShiftBit;
    if (ShiftState & ssCtrl)
        flags |= kCtrlBit;
    if (ShiftState & ssAlt)
        flags |= kAltBit;
    return CommandOfMessage(Key, flags);
}

std::uint16_t TFclCommandProcessor::CommandOfMessage(std::uint16_t Key, std::uint8_t ShiftFlags)
{
    if (IsModifierKey(Key))
        return state_ == stSequence ? ccPartialSequence : ccNoBinding;
    if (state_ == stLiteral) {
        state_ = stIdle;
        return ccNoBinding;
    }
    const bool waiting = state_ == stSequence;
    for (const auto& table : tables_) {
        if (!table->IsActive())
            continue;
        const TFclCommandBinding* b =
            table->Match(waiting, pendingKey_, pendingShift_, Key, ShiftFlags);
        if (!b)
            continue;
        if (!waiting && b->Key2 != 0) {
            state_ = stSequence;
            pendingKey_ = static_cast<std::uint8_t>(Key);
            pendingShift_ = ShiftFlags;
            return ccPartialSequence;
        }
        if (b->Command == 0)
            continue;  // a binding to nothing is no answer; the next table is asked
        if (b->Command == ccCtrlChar)
            state_ = stLiteral;
        else if (waiting)
            state_ = stIdle;
        return b->Command;
    }
    const std::uint16_t result = waiting ? ccSequenceFailed : ccNoBinding;
    state_ = stIdle;
    return result;
}

int TFclCommandProcessor::ReadCommandFile(const std::string& FileName)
{
    auto table = std::make_unique<TFclCommandTable>();
    table->ReadTextFile(FileName);
    AppendTable(std::move(table));
    return static_cast<int>(tables_.size()) - 1;
}

void TFclCommandProcessor::WriteCommandFile(std::string_view TableName,
                                            const std::string& FileName)
{
    if (TFclCommandTable* table = FindTable(TableName))
        table->WriteTextFile(FileName);
}

void TFclCommandProcessor::WriteProperties(TPropertyWriter& Writer) const
{
    if (tables_.empty())
        return;
    Writer.WritePropName("TableList");
    Writer.WriteListBegin();
    for (const auto& table : tables_)
        table->WriteCommandList(Writer);
    Writer.WriteListEnd();
}

bool TFclCommandProcessor::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    if (Name != "TableList")
        return false;
    // Read every table first so that a malformed stream leaves the tables as they were.
    std::vector<std::unique_ptr<TFclCommandTable>> read;
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        auto table = std::make_unique<TFclCommandTable>();
        table->ReadCommandList(Reader);
        read.push_back(std::move(table));
    }
    Reader.ReadListEnd();
    ClearTables();
    for (auto& table : read)
        AppendTable(std::move(table));
    return true;
}
