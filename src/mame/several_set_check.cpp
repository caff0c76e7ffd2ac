#include "mame/several_set_check.h"

#include <charconv>
#include <unordered_map>

namespace lorvane::mame {
namespace {

enum class Verdict { Good, Bad, Other };

bool ShortNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

// "romset NAME is WORDS" or "romset NAME [PARENT] is WORDS": the name, and
// what the words say. False for any other line.
bool ParseVerdictLine(std::string_view line, std::string_view& name, Verdict& verdict) {
    constexpr std::string_view kPrefix = "romset ";
    if (!line.starts_with(kPrefix)) return false;
    line.remove_prefix(kPrefix.size());
    const std::size_t space = line.find(' ');
    if (space == 0 || space == std::string_view::npos) return false;
    name = line.substr(0, space);
    line.remove_prefix(space + 1);
    if (line.starts_with('[')) {
        const std::size_t close = line.find("] ");
        const std::string_view parent =
            line.substr(1, close == std::string_view::npos ? 0 : close - 1);
        if (parent.empty() || parent.find_first_of(" []") != std::string_view::npos) return false;
        line.remove_prefix(close + 2);
    }
    constexpr std::string_view kIs = "is ";
    if (!line.starts_with(kIs)) return false;
    line.remove_prefix(kIs.size());
    verdict = line == "good" || line == "best available" ? Verdict::Good
              : line == "bad"                            ? Verdict::Bad
                                                         : Verdict::Other;
    return true;
}

bool ParseCount(std::string_view& text, long& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// "N romsets found, M were OK."
bool ParseSummaryLine(std::string_view line, long& found, long& ok) {
    constexpr std::string_view kFound = " romsets found, ";
    constexpr std::string_view kOk = " were OK.";
    if (!ParseCount(line, found) || !line.starts_with(kFound)) return false;
    line.remove_prefix(kFound.size());
    return ParseCount(line, ok) && line == kOk;
}

}  // namespace

bool SeveralSetName(std::string_view name) {
    if (name.empty() || name.size() > kSeveralSetNameBytes) return false;
    for (const char c : name)
        if (!ShortNameChar(c)) return false;
    return true;
}

SeveralSetVerdicts ReadSeveralSetVerdicts(std::string_view output,
                                          const std::vector<std::string>& asked) {
    std::unordered_map<std::string_view, int> judged;  // asked name -> verdict lines
    std::unordered_set<std::string_view> goodLines;
    for (const std::string& name : asked) judged.emplace(name, 0);
    long verdicts = 0, found = -1, ok = -1;

    // Only complete lines: a run cut off mid-line says nothing about the rest.
    for (std::size_t pos = 0, end; (end = output.find('\n', pos)) != std::string_view::npos;
         pos = end + 1) {
        std::string_view line = output.substr(pos, end - pos);
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::string_view name;
        Verdict verdict;
        if (ParseVerdictLine(line, name, verdict)) {
            const auto it = judged.find(name);
            if (it == judged.end() || verdict == Verdict::Other) continue;
            ++it->second;
            ++verdicts;
            if (verdict == Verdict::Good) goodLines.insert(name);
        } else if (long f, o; ParseSummaryLine(line, f, o)) {
            found = f;
            ok = o;
        }
    }

    SeveralSetVerdicts result;
    // Nothing found at all is an answer too: every set asked was missing.
    result.understood = verdicts > 0 || (found == 0 && ok == 0);
    for (const std::string_view name : goodLines)
        if (judged[name] == 1) result.good.emplace(name);
    return result;
}

}  // namespace lorvane::mame
