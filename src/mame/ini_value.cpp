#include "mame/ini_value.h"

namespace lorvane::mame {
namespace {

bool IsNameChar(char c) {
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string_view UnquoteIniValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

std::string ExpandFolderEntry(std::string_view entry, const VariableLookup& lookup) {
    std::string out;
    std::size_t pos = 0;
    if (!entry.empty() && entry.front() == '~' && (entry.size() == 1 || entry[1] == '/')) {
        // Without a home variable the tilde stays, as the emulator leaves it.
        if (const auto home = lookup("HOME")) {
            out = *home;
            pos = 1;
        }
    }
    while (pos < entry.size()) {
        const std::size_t dollar = entry.find('$', pos);
        if (dollar == std::string_view::npos) break;
        out.append(entry, pos, dollar - pos);
        std::size_t nameStart = dollar + 1, nameEnd = nameStart, next = nameStart;
        if (nameStart < entry.size() && entry[nameStart] == '{') {
            const std::size_t close = entry.find('}', nameStart + 1);
            if (close != std::string_view::npos && close > nameStart + 1) {
                nameStart += 1;
                nameEnd = close;
                next = close + 1;
            }
        } else {
            while (nameEnd < entry.size() && IsNameChar(entry[nameEnd])) ++nameEnd;
            next = nameEnd;
        }
        if (nameEnd == nameStart) {
            out += '$';
            pos = dollar + 1;
            continue;
        }
        if (const auto value = lookup(std::string(entry.substr(nameStart, nameEnd - nameStart))))
            out += *value;
        pos = next;
    }
    if (pos < entry.size()) out.append(entry, pos);
    return out;
}

}  // namespace lorvane::mame
