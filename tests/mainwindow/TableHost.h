#pragma once
// A run host of plain tables: fields and boxes by name, the messages it was asked to show.
#include "generation/RunHost.h"
#include "platform/LineStore.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct TableHost : RunHost {
    std::map<std::string, double, std::less<>> fields;
    std::map<std::string, bool, std::less<>> boxes;
    std::vector<std::pair<int, char>> messages;
    TStrings lines;

    TStrings& ProgramLines() override { return lines; }
    int GetFieldValue(std::string_view name, double& value) override {
        auto it = fields.find(name);
        if (it == fields.end()) return 257;
        value = it->second;
        return 0;
    }
    void SetFieldValue(std::string_view name, double value) override { fields[std::string(name)] = value; }
    bool IsChecked(std::string_view name) override {
        auto it = boxes.find(name);
        return it != boxes.end() && it->second;
    }
    void SetChecked(std::string_view name, bool checked) override { boxes[std::string(name)] = checked; }
    int ShowFileMessage(int line, char kind) override {
        messages.emplace_back(line, kind);
        return 1;
    }
    void ShowMessageText(const std::string&) override {}
};
