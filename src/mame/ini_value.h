#pragma once
// A folder value of the emulator's ini read as the emulator reads it: without
// its enclosing quotes, and with the environment variables in it expanded.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lorvane::mame {

using VariableLookup = std::function<std::optional<std::string>(const std::string& name)>;

// A value enclosed in one pair of double quotes, without them; any other value
// (a lone quote, quotes inside) as it stands.
std::string_view UnquoteIniValue(std::string_view value);

// One folder entry with its variables expanded: $NAME (letters, digits, "_"),
// ${NAME}, and a leading "~" that stands alone or before "/" as $HOME. An unset
// variable gives nothing; a "$" without a name, "${}" and an unclosed "${" stay
// as written. What a variable holds is not expanded again.
std::string ExpandFolderEntry(std::string_view entry, const VariableLookup& lookup);

}  // namespace lorvane::mame
