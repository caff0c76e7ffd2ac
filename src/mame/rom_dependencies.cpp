#include "mame/rom_dependencies.h"

namespace lorvane::mame {
namespace {

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        static constexpr std::pair<std::string_view, char> kEntities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        bool matched = false;
        for (const auto& [entity, ch] : kEntities) {
            if (text.substr(i, entity.size()) == entity) {
                out += ch;
                i += entity.size() - 1;
                matched = true;
                break;
            }
        }
        if (!matched) out += '&';
    }
    return out;
}

// The value of attribute `name` inside one tag's text, or empty.
std::string Attribute(std::string_view tag, std::string_view name) {
    std::size_t pos = 0;
    while ((pos = tag.find(name, pos)) != std::string_view::npos) {
        const bool startsWord = pos > 0 && (tag[pos - 1] == ' ' || tag[pos - 1] == '\t' ||
                                            tag[pos - 1] == '\n' || tag[pos - 1] == '\r');
        const std::size_t eq = pos + name.size();
        if (startsWord && eq + 1 < tag.size() && tag[eq] == '=' &&
            (tag[eq + 1] == '"' || tag[eq + 1] == '\'')) {
            const char quote = tag[eq + 1];
            const std::size_t end = tag.find(quote, eq + 2);
            if (end == std::string_view::npos) return {};
            return DecodeEntities(tag.substr(eq + 2, end - eq - 2));
        }
        pos = eq;
    }
    return {};
}

}  // namespace

void ParseMachineList(std::string_view xml, MachineTable& into) {
    static constexpr std::string_view kOpen = "<machine ";
    static constexpr std::string_view kClose = "</machine>";
    static constexpr std::string_view kDevice = "<device_ref ";
    std::size_t pos = 0;
    while ((pos = xml.find(kOpen, pos)) != std::string_view::npos) {
        const std::size_t tagEnd = xml.find('>', pos);
        if (tagEnd == std::string_view::npos) return;
        const std::string_view tag = xml.substr(pos, tagEnd - pos);
        const std::size_t close = xml.find(kClose, tagEnd);
        if (close == std::string_view::npos) return;  // cut off: not trusted

        std::string name = Attribute(tag, "name");
        MachineRefs refs;
        refs.romof = Attribute(tag, "romof");
        const std::string_view body = xml.substr(tagEnd, close - tagEnd);
        for (std::size_t d = 0; (d = body.find(kDevice, d)) != std::string_view::npos;) {
            const std::size_t dEnd = body.find('>', d);
            if (dEnd == std::string_view::npos) break;
            std::string device = Attribute(body.substr(d, dEnd - d), "name");
            if (!device.empty()) refs.deviceRefs.push_back(std::move(device));
            d = dEnd;
        }
        if (!name.empty()) into[std::move(name)] = std::move(refs);
        pos = close + kClose.size();
    }
}

void RomDependencies::Add(const MachineTable& table) {
    for (const auto& [name, refs] : table) table_[name] = refs;
    cache_.clear();
}

void RomDependencies::Add(std::string_view xml) {
    MachineTable table;
    ParseMachineList(xml, table);
    Add(table);
}

// Adds `start` and the sets it names through romof, one after the other. A link
// missing from the table leaves the rest of the chain unknown.
void RomDependencies::AddChain(const std::string& start, Closure& closure) const {
    // A name met before was followed from there already (or the chain loops).
    for (std::string name = start; !name.empty();) {
        if (!closure.names.insert(name).second) return;
        const auto it = table_.find(name);
        if (it == table_.end()) {
            closure.complete = false;
            return;
        }
        name = it->second.romof;
    }
}

const RomDependencies::Closure& RomDependencies::ClosureOf(const std::string& set) const {
    if (const auto hit = cache_.find(set); hit != cache_.end()) return hit->second;
    Closure closure;
    // Without a name the check covers every set there is.
    if (set.empty()) closure.complete = false;
    AddChain(set, closure);
    if (const auto it = table_.find(set); it != table_.end())
        for (const std::string& device : it->second.deviceRefs) AddChain(device, closure);
    return cache_.emplace(set, std::move(closure)).first->second;
}

bool RomDependencies::Known(const std::string& set) const { return ClosureOf(set).complete; }

bool RomDependencies::MayDependOn(const std::string& set, const std::string& other) const {
    const Closure& closure = ClosureOf(set);
    return !closure.complete || closure.names.count(other) > 0;
}

}  // namespace lorvane::mame
