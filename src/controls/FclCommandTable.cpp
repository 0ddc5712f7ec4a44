#include "controls/FclCommandTable.h"

#include <charconv>
#include <cstdint>

#include "controls/FclBuiltInCommands.h"
#include "controls/FclExceptions.h"
#include "controls/FclKeys.h"
#include "controls/FclMessages.h"
#include "controls/FclStrings.h"
#include "controls/FclTextFile.h"
#include "platform/PropertyStream.h"

namespace {

constexpr std::uint16_t kUnknownTableName = 30277;

std::string Decimal(long long v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

void RightAligned(std::string& out, long long v, std::size_t width)
{
    const std::string digits = Decimal(v);
    if (digits.size() < width)
        out.append(width - digits.size(), ' ');
    out += digits;
}

[[noreturn]] void IndexError(std::size_t index)
{
    throw ECmdProcessorError("Command table index out of range (" +
                             Decimal(static_cast<long long>(index)) + ")");
}

// Five whitespace-separated integers in the ranges of a binding; false otherwise.
bool ParseBindingLine(std::string_view line, TFclCommandBinding& b)
{
    static constexpr long long kMax[5] = {255, 255, 255, 255, 65535};
    long long v[5];
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
    };
    for (int i = 0; i < 5; ++i) {
        skipBlanks();
        if (pos < line.size() && line[pos] == '+')
            ++pos;
        const char* first = line.data() + pos;
        const char* last = line.data() + line.size();
        const auto res = std::from_chars(first, last, v[i]);
        if (res.ec != std::errc() || v[i] < 0 || v[i] > kMax[i])
            return false;
        pos = static_cast<std::size_t>(res.ptr - line.data());
        if (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            return false;
    }
    skipBlanks();
    if (pos != line.size())
        return false;
    b = {static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1]),
         static_cast<std::uint8_t>(v[2]), static_cast<std::uint8_t>(v[3]),
         static_cast<std::uint16_t>(v[4])};
    return true;
}

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

bool SameTableName(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (UpCaseChar(A[i]) != UpCaseChar(B[i]))
            return false;
    return true;
}

TFclCommandTable::TFclCommandTable() : tableName_(GetMessageText(kUnknownTableName)) {}

void TFclCommandTable::Add(const TFclCommandBinding& Binding)
{
    bindings_.push_back(Binding);
}

void TFclCommandTable::Insert(std::size_t Index, const TFclCommandBinding& Binding)
{
    if (Index > bindings_.size())
        IndexError(Index);
    bindings_.insert(bindings_.begin() + static_cast<std::ptrdiff_t>(Index), Binding);
}

void TFclCommandTable::Replace(std::size_t Index, const TFclCommandBinding& Binding)
{
    if (Index >= bindings_.size())
        IndexError(Index);
    bindings_[Index] = Binding;
}

void TFclCommandTable::Delete(std::size_t Index)
{
    if (Index >= bindings_.size())
        IndexError(Index);
    bindings_.erase(bindings_.begin() + static_cast<std::ptrdiff_t>(Index));
}

const TFclCommandBinding& TFclCommandTable::Get(std::size_t Index) const
{
    if (Index >= bindings_.size())
        IndexError(Index);
    return bindings_[Index];
}

int TFclCommandTable::IndexOf(std::uint32_t Identity) const
{
    for (std::size_t i = 0; i < bindings_.size(); ++i)
        if (bindings_[i].Identity() == Identity)
            return static_cast<int>(i);
    return -1;
}

const TFclCommandBinding* TFclCommandTable::Match(bool Waiting, std::uint8_t PendingKey,
                                                  std::uint8_t PendingShift, std::uint16_t Key,
                                                  std::uint8_t Shift) const
{
    for (const TFclCommandBinding& b : bindings_) {
        if (!Waiting) {
            if (b.Key1 == Key && b.Shift1 == Shift)
                return &b;
            continue;
        }
        if (b.Key1 != PendingKey || b.Shift1 != PendingShift || b.Key2 != Key)
            continue;
        if (b.Shift2 == Shift ||
            (b.Shift2 == kShiftNoneOrCtrl && (Shift == 0 || Shift == kCtrlBit)))
            return &b;
    }
    return nullptr;
}

// ---- text file ----

void TFclCommandTable::ReadTextFile(const std::string& FileName)
{
    const std::vector<std::string> lines = ReadTextFileLines(FileName);
    std::vector<TFclCommandBinding> read;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (IsBlankLine(lines[i]))
            continue;
        TFclCommandBinding b;
        if (!ParseBindingLine(lines[i], b))
            throw EInOutError(EInOutError::kInvalidNumber,
                              "Invalid command table line " +
                                  Decimal(static_cast<long long>(i + 1)) + " in " + FileName);
        read.push_back(b);
    }
    tableName_ = lines.empty() ? std::string() : lines.front();
    bindings_.insert(bindings_.end(), read.begin(), read.end());
}

void TFclCommandTable::WriteTextFile(const std::string& FileName) const
{
    std::vector<std::string> lines;
    lines.reserve(bindings_.size() + 1);
    lines.push_back(tableName_);
    for (const TFclCommandBinding& b : bindings_) {
        std::string line;
        RightAligned(line, b.Key1, 4);
        RightAligned(line, b.Shift1, 4);
        RightAligned(line, b.Key2, 4);
        RightAligned(line, b.Shift2, 4);
        RightAligned(line, b.Command, 6);
        lines.push_back(std::move(line));
    }
    WriteTextFileLines(FileName, lines);
}

// ---- form streaming ----

void TFclCommandTable::WriteProperties(TPropertyWriter& Writer) const
{
    if (bindings_.empty())
        return;
    Writer.WritePropName("CommandList");
    WriteCommandList(Writer);
}

bool TFclCommandTable::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    if (Name != "CommandList")
        return false;
    ReadCommandList(Reader);
    return true;
}

void TFclCommandTable::WriteCommandList(TPropertyWriter& Writer) const
{
    Writer.WriteString(tableName_);
    Writer.WriteBoolean(isActive_);
    Writer.WriteListBegin();
    auto pair = [&Writer](std::uint32_t identity, std::uint16_t command) {
        Writer.WriteInteger(static_cast<std::int32_t>(identity));
        Writer.WriteInteger(command);
    };
    if (const TFclBuiltInTable* builtIn = FindBuiltInTable(tableName_)) {
        for (const TFclCommandBinding& b : builtIn->Bindings)
            if (IndexOf(b.Identity()) < 0)
                pair(b.Identity(), 0);
        for (const TFclCommandBinding& b : bindings_) {
            bool inBuiltIn = false;
            for (const TFclCommandBinding& d : builtIn->Bindings)
                if (d == b) {
                    inBuiltIn = true;
                    break;
                }
            if (!inBuiltIn)
                pair(b.Identity(), b.Command);
        }
    } else {
        for (const TFclCommandBinding& b : bindings_)
            pair(b.Identity(), b.Command);
    }
    Writer.WriteListEnd();
}

void TFclCommandTable::ReadCommandList(TPropertyReader& Reader)
{
    // Read everything first so that a malformed stream leaves the table as it was.
    std::string name = Reader.ReadString();
    const bool active = Reader.ReadBoolean();
    std::vector<std::pair<std::uint32_t, std::uint16_t>> pairs;
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        const auto identity =
            static_cast<std::uint32_t>(Reader.ReadInteger(INT32_MIN, UINT32_MAX));
        const auto command = static_cast<std::uint16_t>(Reader.ReadInteger(0, 65535));
        pairs.emplace_back(identity, command);
    }
    Reader.ReadListEnd();

    tableName_ = std::move(name);
    isActive_ = active;
    bindings_.clear();
    if (const TFclBuiltInTable* builtIn = FindBuiltInTable(tableName_)) {
        bindings_.assign(builtIn->Bindings.begin(), builtIn->Bindings.end());
        for (const auto& [identity, command] : pairs) {
            const int i = IndexOf(identity);
            if (i < 0)
                bindings_.push_back(TFclCommandBinding::FromIdentity(identity, command));
            else if (command == 0)
                bindings_.erase(bindings_.begin() + i);
            else
                bindings_[static_cast<std::size_t>(i)].Command = command;
        }
    } else {
        for (const auto& [identity, command] : pairs)
            bindings_.push_back(TFclCommandBinding::FromIdentity(identity, command));
    }
}
