#pragma once
// Which ROM set files a set's check reads besides its own: a clone reads its
// parent's (and the parent's BIOS), and a machine reads the files of the
// devices it holds. Learnt from the emulator's machine list (-listxml).
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace lorvane::mame {

struct MachineRefs {
    std::string romof;  // empty: reads no other set's file
    std::vector<std::string> deviceRefs;
};

using MachineTable = std::unordered_map<std::string, MachineRefs>;

// Adds every complete <machine name="..." romof="..."> element of the text,
// with its <device_ref name="..."/> children. A machine cut off before its
// closing tag is left out.
void ParseMachineList(std::string_view xml, MachineTable& into);

// Names per machine list query: every query pays for a start of the emulator,
// and one with thousands of names takes long before it gives anything.
inline constexpr std::size_t kListXmlBatch = 400;

class RomDependencies {
public:
    void Add(const MachineTable& table);
    void Add(std::string_view xml);
    bool Empty() const { return table_.empty(); }

    // True when everything the set's check may read is known: the set, every
    // link of its romof chain, and its devices with their chains.
    bool Known(const std::string& set) const;
    // True when the check of `set` may read the file of `other`: `other` is the
    // set, in its romof chain, one of its devices or in their chains. A set
    // whose dependencies are not known may depend on anything.
    bool MayDependOn(const std::string& set, const std::string& other) const;

private:
    struct Closure {
        bool complete = true;
        std::unordered_set<std::string> names;
    };
    const Closure& ClosureOf(const std::string& set) const;
    void AddChain(const std::string& start, Closure& closure) const;

    MachineTable table_;
    mutable std::unordered_map<std::string, Closure> cache_;
};

}  // namespace lorvane::mame
