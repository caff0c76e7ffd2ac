#include "settings/profile_file.h"

#include <string_view>

#include "platform/file_io.h"
#include "util/failure.h"
#include "util/text.h"

namespace lorvane::settings {
namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The text of a line; a byte-order mark in front of the first line is not part of it.
std::string_view LineText(std::string_view content, const util::LineSpan& line) {
    std::string_view text = content.substr(line.begin, line.contentEnd - line.begin);
    if (line.begin == 0 && text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());
    return text;
}

// The section name of a header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = util::TrimBlanks(text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    text.remove_prefix(1);
    const std::size_t close = text.find(']');
    return util::TrimBlanks(text.substr(0, close));
}

struct KeyLine {
    std::string_view key;    // trimmed, as spelled in the file
    std::size_t keyOffset;   // of the key within the line
    std::string_view value;  // untrimmed, after the '='
};

std::optional<KeyLine> ParseKeyLine(std::string_view text) {
    const std::string_view trimmed = util::TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = util::TrimBlanks(text.substr(0, eq));
    const std::size_t keyOffset = static_cast<std::size_t>(key.data() - text.data());
    return KeyLine{key, keyOffset, text.substr(eq + 1)};
}

// Where a section stands: the index of its header line and one past its last line.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> FindSection(std::string_view content,
                                       const std::vector<util::LineSpan>& lines,
                                       std::string_view section) {
    section = util::TrimBlanks(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(LineText(content, lines[i]));
        if (!name || util::CompareNoCase(*name, section) != 0) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(LineText(content, lines[end]))) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

struct FoundKey {
    std::size_t lineIndex;
    KeyLine key;
};

std::optional<FoundKey> FindKey(std::string_view content, const std::vector<util::LineSpan>& lines,
                                const SectionSpan& span, std::string_view key) {
    key = util::TrimBlanks(key);
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto parsed = ParseKeyLine(LineText(content, lines[i]));
        if (parsed && util::CompareNoCase(parsed->key, key) == 0) return FoundKey{i, *parsed};
    }
    return std::nullopt;
}

// A value in a matching pair of quotes loses them, as the platform's reader does.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool EndsWithLineEnd(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// Names and values that would change the file's structure are refused, so that
// no value can add lines or sections of its own.
void CheckWrite(const std::string& section, const std::string& key, const std::string& value) {
    auto hasLineBreak = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (util::TrimBlanks(section).empty() || hasLineBreak(section) ||
        section.find(']') != std::string::npos)
        throw util::Failure(util::ErrNo::InvalidArgument,
                            "Invalid profile section name \"" + section + "\"");
    if (util::TrimBlanks(key).empty() || hasLineBreak(key) || key.find('=') != std::string::npos ||
        util::TrimBlanks(key).front() == ';' || util::TrimBlanks(key).front() == '[')
        throw util::Failure(util::ErrNo::InvalidArgument,
                            "Invalid profile key name \"" + key + "\"");
    if (hasLineBreak(value))
        throw util::Failure(
            util::ErrNo::InvalidArgument,
            "The value of \"" + key + "\" contains a line break and cannot be stored");
}

std::string ApplyOneWrite(const std::string& content, const std::string& section,
                          const std::string& key, const std::string& value) {
    const std::vector<util::LineSpan> lines = util::ScanLines(content);
    const std::string keyLine = std::string(util::TrimBlanks(key)) + "=" + value;

    const auto span = FindSection(content, lines, section);
    if (!span) {
        std::string out = content;
        if (!out.empty() && !EndsWithLineEnd(out)) out += kNewLine;
        out += "[";
        out += util::TrimBlanks(section);
        out += "]";
        out += kNewLine;
        out += keyLine;
        out += kNewLine;
        return out;
    }

    if (const auto found = FindKey(content, lines, *span, key)) {
        // The key keeps its spelling and indentation and the line keeps its end.
        const util::LineSpan& line = lines[found->lineIndex];
        const std::size_t lineStart =
            static_cast<std::size_t>(LineText(content, line).data() - content.data());
        const std::size_t keyStart = lineStart + found->key.keyOffset;
        std::string out = content.substr(0, keyStart);
        out += found->key.key;
        out += '=';
        out += value;
        out.append(content, line.contentEnd, std::string::npos);
        return out;
    }

    // After the last line of the section that holds anything (the header at least),
    // so blank lines that separate it from the next section stay after it.
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (!util::TrimBlanks(LineText(content, lines[i])).empty()) last = i;
    const util::LineSpan& after = lines[last];
    std::string insert;
    if (after.end == after.contentEnd) insert += kNewLine;  // final line without an end
    insert += keyLine;
    insert += kNewLine;
    std::string out = content;
    out.insert(after.end, insert);
    return out;
}

}  // namespace

std::optional<std::string> ReadProfileFile(const std::string& file) {
    try {
        return platform::ReadWholeFile(file);
    } catch (const util::Failure& f) {
        if (f.Number() == util::ErrNo::FileNotFound) return std::nullopt;
        throw;
    }
}

std::optional<std::string> FindProfileValue(const std::string& content, const std::string& section,
                                            const std::string& key) {
    const std::vector<util::LineSpan> lines = util::ScanLines(content);
    const auto span = FindSection(content, lines, section);
    if (!span) return std::nullopt;
    const auto found = FindKey(content, lines, *span, key);
    if (!found) return std::nullopt;
    return std::string(Unquote(util::TrimBlanks(found->key.value)));
}

std::optional<std::string> ReadProfileString(const std::string& file, const std::string& section,
                                             const std::string& key) {
    const auto content = ReadProfileFile(file);
    if (!content) return std::nullopt;
    return FindProfileValue(*content, section, key);
}

std::string ApplyProfileWrites(const std::string& content, const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& keyValues) {
    for (const auto& [key, value] : keyValues) CheckWrite(section, key, value);
    std::string out = content;
    for (const auto& [key, value] : keyValues) out = ApplyOneWrite(out, section, key, value);
    return out;
}

void WriteProfileStrings(const std::string& file, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues) {
    const std::optional<std::string> old = ReadProfileFile(file);
    const std::string updated = ApplyProfileWrites(old.value_or(std::string()), section, keyValues);
    // A file that already holds these values is left alone: every start stores
    // the settings, and mostly nothing has changed.
    if (old && *old == updated) return;
    platform::WriteFileAtomically(file, updated);
}

}  // namespace lorvane::settings
