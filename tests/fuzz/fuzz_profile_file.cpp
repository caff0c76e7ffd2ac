// Writes one key into arbitrary profile text and reads it back. Input: three
// length bytes (section, key, value), those texts, then the file's content.
// - The write is refused exactly when it could change the file's structure.
// - An accepted value reads back as the reader presents values (blanks and tabs
//   trimmed, one pair of matching quotes removed).
// - Every other line survives in order byte for byte, no line end changes, and
//   writing the same value again changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "util/failure.h"
#include "util/text.h"

namespace {

using lorvane::util::CompareNoCase;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view RightTrim(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool WriteIsValid(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view s = Trim(section), k = Trim(key);
    if (s.empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos)
        return false;
    if (k.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
        k.front() == ';' || k.front() == '[')
        return false;
    return !HasLineBreak(value);
}

std::string AsRead(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A line "key=..." of this key, as the reader matches keys.
bool IsLineOfKey(std::string_view line, std::string_view key) {
    const std::size_t eq = line.find('=');
    return eq != std::string_view::npos && CompareNoCase(Trim(line.substr(0, eq)), Trim(key)) == 0;
}

void CheckOtherLinesSurvive(const std::string& before, const std::string& after,
                            std::string_view section, std::string_view key,
                            std::string_view value) {
    // Byte level: what changed lies inside one line of the original.
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    FUZZ_CHECK(
        !HasLineBreak(std::string_view(before).substr(prefix, before.size() - prefix - suffix)),
        "a line end of the original was changed or removed");

    // Line level: one line replaced, or the key line (and maybe the header) added.
    const auto old = lorvane::util::SplitLines(before);
    const auto now = lorvane::util::SplitLines(after);
    std::size_t p = 0;
    while (p < old.size() && p < now.size() && old[p] == now[p]) ++p;
    std::size_t s = 0;
    while (s < old.size() - p && s < now.size() - p &&
           old[old.size() - 1 - s] == now[now.size() - 1 - s])
        ++s;
    const std::size_t removed = old.size() - p - s;
    const std::size_t added = now.size() - p - s;
    if (removed == 0 && added == 0) return;  // the key already held this value
    if (removed == 1 && added == 1) {
        const std::string_view was = old[p], is = now[p];
        FUZZ_CHECK(IsLineOfKey(was, key), "a line that is not the key's was replaced");
        FUZZ_CHECK(IsLineOfKey(is, key), "the replaced line is not the key line");
        // Indentation and spelling of the key stay; blanks before "=" go.
        const std::size_t eq = is.find('=');
        FUZZ_CHECK(is.substr(0, eq) == RightTrim(was.substr(0, was.find('='))) &&
                       is.substr(eq + 1) == value,
                   "the key line is not the old key with the new value");
        return;
    }
    FUZZ_CHECK(removed == 0, "lines of the original are missing");
    if (added == 1) {
        FUZZ_CHECK(now[p] == std::string(Trim(key)) + "=" + std::string(value),
                   "the added line is not the key line");
        return;
    }
    FUZZ_CHECK(added == 2 && s == 0, "unexpected lines were added");
    FUZZ_CHECK(now[p] == "[" + std::string(Trim(section)) + "]", "the added header is wrong");
    FUZZ_CHECK(now[p + 1] == std::string(Trim(key)) + "=" + std::string(value),
               "the added line is not the key line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    auto take = [&rest](std::size_t n) {
        const std::string_view part = rest.substr(0, n);
        rest.remove_prefix(part.size());
        return std::string(part);
    };
    const std::string section = take(data[0]);
    const std::string key = take(data[1]);
    const std::string value = take(data[2]);
    const std::string content(rest);
    const std::vector<std::pair<std::string, std::string>> write = {{key, value}};

    // Reading arbitrary text for an arbitrary key never fails.
    (void)lorvane::settings::FindProfileValue(content, section, key);

    std::string after;
    try {
        after = lorvane::settings::ApplyProfileWrites(content, section, write);
    } catch (const lorvane::util::Failure& f) {
        FUZZ_CHECK(f.Number() == lorvane::util::ErrNo::InvalidArgument,
                   "a refusal with the wrong number");
        FUZZ_CHECK(!WriteIsValid(section, key, value), "a valid write was refused");
        return 0;
    }
    FUZZ_CHECK(WriteIsValid(section, key, value),
               "a write that changes the file's structure was accepted");

    const auto read = lorvane::settings::FindProfileValue(after, section, key);
    FUZZ_CHECK(read.has_value(), "the written key is not found");
    FUZZ_CHECK(*read == AsRead(value), "the value read differs from the value written");
    try {
        (void)lorvane::settings::ToBoolean(*read);
        (void)lorvane::settings::ToInt16(*read);
    } catch (const lorvane::util::Failure& f) {
        FUZZ_CHECK(f.Number() == lorvane::util::ErrNo::TypeMismatch ||
                       f.Number() == lorvane::util::ErrNo::Overflow,
                   "a conversion failed with the wrong number");
    }

    CheckOtherLinesSurvive(content, after, section, key, value);

    FUZZ_CHECK(lorvane::settings::ApplyProfileWrites(after, section, write) == after,
               "writing the same value again changed the file");
    return 0;
}
