#pragma once
#include <string>
#include <string_view>

namespace lorvane::mame {

// The short ROM name between the last "[" and the last "]" of a list entry.
std::string ExtractRomName(std::string_view entry);

}  // namespace lorvane::mame
