// ExtractRomName over arbitrary text, and over list entries built from
// arbitrary parts.
//
// Properties:
// - for any text, a non-empty result stands in the text between a "[" and a
//   "]", holds no "[", and no "]" follows that closing bracket;
// - for desc + "    [" + name + "]" with a name free of "[" and "]" (the first
//   byte says where desc ends; the brackets are dropped from the name part)
//   the result is the name, whatever desc holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "rom_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lorvane::Frontend_code::ExtractRomName;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string name = ExtractRomName(text);
    if (!name.empty()) {
        const std::size_t at = text.rfind("[" + name + "]");
        FUZZ_CHECK(at != std::string_view::npos, "the result is not a bracketed part of the text");
        FUZZ_CHECK(name.find('[') == std::string::npos, "the result holds a [");
        FUZZ_CHECK(text.find(']', at + name.size() + 2) == std::string_view::npos,
                   "the result is not closed by the last ]");
    }

    if (size == 0) return 0;
    const std::string_view parts = text.substr(1);
    const std::string_view desc = parts.substr(0, data[0] % (parts.size() + 1));
    std::string plainName;
    for (const char c : parts.substr(desc.size()))
        if (c != '[' && c != ']') plainName += c;
    const std::string entry = std::string(desc) + "    [" + plainName + "]";
    FUZZ_CHECK(ExtractRomName(entry) == plainName, "the name of a list entry is not found");
    return 0;
}
