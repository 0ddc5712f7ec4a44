#pragma once
// Text files of the control library (command tables). Reading accepts CR LF, LF or CR as
// line end and takes the bytes as UTF-8 when they are valid UTF-8 (a leading byte-order mark
// is dropped), else as Windows-1252; writing gives UTF-8 with CR LF. Lines are handed over
// as Windows-1252 bytes (characters it cannot hold become "?").
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

// A file that cannot be opened, read or written, or whose content is not what the reader
// expects.
class EInOutError : public Exception {
public:
    EInOutError(int ErrorCode, const std::string& Message)
        : Exception(Message), errorCode_(ErrorCode) {}
    int ErrorCode() const noexcept { return errorCode_; }

    static constexpr int kFileNotFound = 2;
    static constexpr int kReadFault = 100;
    static constexpr int kWriteFault = 101;
    static constexpr int kInvalidNumber = 106;

private:
    int errorCode_;
};

// The lines of a file's bytes; a line end at the very end adds no empty line.
std::vector<std::string> DecodeTextLines(std::string_view Bytes);
// The bytes of a file holding Lines.
std::string EncodeTextLines(const std::vector<std::string>& Lines);

// FileName is Windows-1252 bytes, like every library text.
std::vector<std::string> ReadTextFileLines(const std::string& FileName);
void WriteTextFileLines(const std::string& FileName, const std::vector<std::string>& Lines);
