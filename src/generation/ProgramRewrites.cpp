#include <algorithm>
#include "generation/ProgramRewrites.h"

#include "generation/MainState.h"
#include "generation/OnExit.h"
#include "generation/RewriteHost.h"
#include "platform/Application.h"
#include "platform/LineStore.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>

namespace {

// A line is handled as its first 255 characters, which never take more bytes than this.
constexpr std::size_t kMaxLineBytes = kMostBytesOf255Characters;
// The longest line number prefix: "N", the digits of a line index and a blank.
constexpr std::size_t kNumberPrefix = 32;

// One rewrite of every line of `from` into the editor, with the status caption, the meter and
// an abort after any line. `rewrite` builds line i (its first 255 characters) into a buffer of
// kMaxLineBytes + kNumberPrefix bytes and returns its length.
template <typename Rewrite>
void RewriteLines(RewriteHost& host, const TStrings& from, std::string_view caption, Rewrite rewrite) {
    MainState& s = Main;
    TStrings& out = host.ProgramLines();
    host.ShowProcessCaption(caption);
    host.SetMeterPercent(0);
    Application->ProcessMessages();
    char buffer[kMaxLineBytes + kNumberPrefix];
    const std::size_t count = from.Count();
    int shown = 0;  // the meter keeps an unchanged value anyway
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = rewrite(i, First255Characters(from.Line(i)), buffer);
        out.Add(std::string_view(buffer, length));
        s.ProgressPercent = int(std::nearbyint(100.0 * double(i) / double(count)));
        if (s.ProgressPercent % 10 == 0 && s.ProgressPercent != shown) {
            shown = s.ProgressPercent;
            host.SetMeterPercent(shown);
        }
        Application->ProcessMessages();
        if (s.AbortRequested) break;
    }
    host.ShowProcessCaption("");
    host.SetFieldValue("dateigrosse", double(out.TextLength()));
}

std::size_t StripInto(std::string_view line, char* out) {
    std::size_t n = 0;
    for (char c : line)
        if (c != ' ') out[n++] = c;
    return n;
}

}  // namespace

bool LineNumbersFit(std::uint64_t lineCount) {
    // Line i gets number i, so the last number is lineCount - 1.
    return lineCount == 0 || lineCount - 1 <= kMostLineNumber;
}

std::string StripSpaces(std::string_view s) {
    char buffer[kMaxLineBytes];
    return std::string(buffer, StripInto(First255Characters(s), buffer));
}

void zeilen_nummer(RewriteHost& host, const TStrings& from) {
    RewriteLines(host, from, "zeilen_nr", [](std::size_t i, std::string_view line, char* out) -> std::size_t {
        if (i == 0) {
            std::copy(line.begin(), line.end(), out);  // an empty line has no data pointer
            return line.size();
        }
        // The old number goes; the blank after it stays.
        std::size_t start = 0;
        while (start < line.size() && ((line[start] >= '0' && line[start] <= '9') || line[start] == 'N')) ++start;
        const std::string_view rest = line.substr(start);
        char* p = out;
        *p++ = 'N';
        p = std::to_chars(p, p + 24, i).ptr;
        *p++ = ' ';
        p = std::copy(rest.begin(), rest.end(), p);
        return First255Characters(std::string_view(out, std::size_t(p - out))).size();
    });
}

void leezeichen_weg(RewriteHost& host, const TStrings& from) {
    RewriteLines(host, from, "leerzeichen",
                 [](std::size_t, std::string_view line, char* out) { return StripInto(line, out); });
}

void option_runClick(RewriteHost& host) {
    const bool numbering = host.IsChecked("zeilen_nr");
    const bool stripping = host.IsChecked("leerzeichen");
    TStrings& program = host.ProgramLines();
    if (!(numbering || stripping) || program.Count() == 0) return;
    if (numbering && !LineNumbersFit(program.Count())) {
        host.ShowFileMessage(MsgLineNumbersTooLarge, 'N');
        return;
    }
    MainState& s = Main;
    s.AbortRequested = false;
    host.SetProgramControlsEnabled(false);
    // `before` holds the text as it was before the running rewrite.
    TStrings before;
    {
        OnExit enable{[&] {
            before.Clear();
            host.SetProgramControlsEnabled(true);
            host.ShowProcessCaption("");
            host.SetMeterPercent(0);
        }};
        if (numbering) {
            before.Swap(program);
            zeilen_nummer(host, before);
        }
        if (stripping && !s.AbortRequested) {
            before.Clear();
            before.Swap(program);
            leezeichen_weg(host, before);
        }
        if (s.AbortRequested) {
            program.Clear();
            program.Swap(before);
            host.ClearClipboard();
        } else {
            host.CopyProgramToClipboard();
        }
    }
    Application->ProcessMessages();
}
