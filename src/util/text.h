#pragma once
// Text helpers: trimming, lines, and comparing without regard to ASCII case.
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::util {

// Blanks are spaces only, as the settings and listing formats use them.
std::string_view TrimSpaces(std::string_view s);
std::string TrimSpacesCopy(std::string_view s);
// Spaces and tabs, as the ini files' values are padded.
std::string_view TrimBlanks(std::string_view s);

// One line of a text: [begin, contentEnd) is its text, [contentEnd, end) its
// line end (LF, CR LF or CR; empty for a final line without one).
struct LineSpan {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

// The line that starts at pos (pos < text.size()).
inline LineSpan LineAt(std::string_view text, std::size_t pos) {
    const std::size_t n = text.size();
    std::size_t stop = pos;
    while (stop < n && text[stop] != '\n' && text[stop] != '\r') ++stop;
    std::size_t next = stop;
    if (next < n) next += (text[next] == '\r' && next + 1 < n && text[next + 1] == '\n') ? 2 : 1;
    return {pos, stop, next};
}

// Every line of a text with its line end; no empty line after a final line end.
std::vector<LineSpan> ScanLines(std::string_view text);

// Splits a text into lines; a line ends at LF, CR LF or CR. A final line
// without an end is kept; no empty line is made after a final line end.
std::vector<std::string_view> SplitLines(std::string_view text);

// Calls fn(line) for each line (same rules as SplitLines); fn returns false to stop.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    for (std::size_t pos = 0; pos < text.size();) {
        const LineSpan line = LineAt(text, pos);
        if (!fn(text.substr(line.begin, line.contentEnd - line.begin))) return;
        pos = line.end;
    }
}

// Inline: the list's sort and its type-ahead call it for every character compared.
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiUpper(std::string_view s);
// Case-insensitive (ASCII) comparison: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace lorvane::util
