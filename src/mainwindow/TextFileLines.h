#pragma once
// The lines of the program's own text files (configuration, language and message file) as
// their readers see them: CR LF, LF or CR end a line; the bytes are UTF-16 (little- or
// big-endian) when they start with its byte-order mark, else UTF-8 when they are valid UTF-8
// (a leading byte-order mark is dropped), else Windows-1252; each line is handed over as
// UTF-8 and cut after its 255th character. A file that starts with a UTF-16 byte-order mark
// but is no UTF-16 fails at its first line.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TextLineReader {
public:
    enum class Result { Line, End, Error };

    // The file at path; nothing when it cannot be opened. A file that opens but cannot be
    // read fails at its first line.
    static std::optional<TextLineReader> Open(const std::string& path);

    // Lines of bytes; failAtLine makes the read of that line (0-based) fail, as a damaged
    // medium would.
    explicit TextLineReader(std::string_view bytes, std::size_t failAtLine = kNever);

    // The next line, the end of the file, or a read error (which repeats on every later call).
    Result Next(std::string& line);

    static constexpr std::size_t kNever = std::size_t(-1);

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    std::size_t failAt_ = kNever;
};

