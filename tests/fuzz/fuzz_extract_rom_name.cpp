// ExtractRomName: on any text a result is the last bracketed part and holds no
// "["; on desc + "    [" + name + "]" it is the name, whatever desc holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "mame/rom_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lorvane::mame::ExtractRomName;
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
