#pragma once
// The base of every error the class library raises. The message is kept as the library keeps
// its texts: one byte per character, Windows-1252.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& msg) : std::runtime_error(msg), message_(msg) {}

    const std::string& Message() const noexcept { return message_; }
    int HelpContext() const noexcept { return helpContext_; }

private:
    std::string message_;
    int helpContext_ = 0;
};
