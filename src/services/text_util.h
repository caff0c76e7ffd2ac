#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

// Blanks are spaces only, as the settings and listing formats use them.
std::string_view TrimSpaces(std::string_view s);
std::string TrimSpacesCopy(std::string_view s);

// Splits a text into lines; a line ends at LF, CR LF or CR. A final line
// without an end is kept; no empty line is made after a final line end.
std::vector<std::string_view> SplitLines(std::string_view text);

// Calls fn(line) for each line (same rules as SplitLines); fn returns false to stop.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    std::size_t pos = 0;
    const std::size_t n = text.size();
    while (pos < n) {
        std::size_t end = pos;
        while (end < n && text[end] != '\n' && text[end] != '\r') ++end;
        if (!fn(text.substr(pos, end - pos))) return;
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        pos = end + 1;
    }
}

char AsciiLower(char c);
std::string AsciiUpper(std::string_view s);
// Case-insensitive (ASCII) comparison: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace lorvane
