#include "mame/rom_name.h"

namespace lorvane::mame {

// Every entry the list holds ends with "]" and has its name after the last "[",
// so the name is what lies between the two. Other text (no "[", or no "]" after
// the last "[") gives the empty text rather than a guess.
std::string ExtractRomName(std::string_view entry) {
    const std::size_t open = entry.rfind('[');
    if (open == std::string_view::npos) return {};
    const std::size_t close = entry.rfind(']');
    if (close == std::string_view::npos || close < open) return {};
    return std::string(entry.substr(open + 1, close - open - 1));
}

}  // namespace lorvane::mame
