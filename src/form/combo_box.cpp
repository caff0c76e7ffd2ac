#include "form/combo_box.h"

#include <algorithm>
#include <iterator>

#include "util/text.h"

namespace lorvane::form {
namespace {

constexpr std::size_t kPrefixBytes = sizeof(std::uint64_t);

}  // namespace

bool ComboBox::Less(std::string_view a, std::string_view b) {
    const int c = util::CompareNoCase(a, b);
    return c < 0 || (c == 0 && a < b);
}

SortedEntries ComboBox::Sorted(std::vector<std::string> entries) {
    // Every entry folded to lower case once, into one buffer: folded, the order
    // without regard to case is that of the bytes. Its first eight bytes, as one
    // number, tell most entries apart without reaching into the buffer; the
    // descriptions of clones share long beginnings, which memcmp then skips.
    std::string folded;
    std::size_t total = 0;
    for (const std::string& e : entries) total += e.size();
    folded.resize(total);
    struct Keyed {
        std::uint64_t prefix;
        std::size_t offset;
        std::size_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& e = entries[i];
        std::uint64_t prefix = 0;
        for (std::size_t j = 0; j < e.size(); ++j) {
            const char c = util::AsciiLower(e[j]);
            folded[offset + j] = c;
            if (j < kPrefixBytes)
                prefix |= std::uint64_t{static_cast<unsigned char>(c)}
                          << (8 * (kPrefixBytes - 1 - j));
        }
        keyed.push_back({prefix, offset, i});
        offset += e.size();
    }
    const char* base = folded.data();
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& x, const Keyed& y) {
        if (x.prefix != y.prefix) return x.prefix < y.prefix;
        const std::string& ex = entries[x.index];
        const std::string& ey = entries[y.index];
        const int c = std::string_view(base + x.offset, ex.size())
                          .compare(std::string_view(base + y.offset, ey.size()));
        return c != 0 ? c < 0 : ex < ey;
    });
    std::vector<std::string> sorted;
    sorted.reserve(entries.size());
    for (const Keyed& k : keyed) sorted.push_back(std::move(entries[k.index]));
    SortedEntries result;
    result.entries_ = std::move(sorted);
    return result;
}

void ComboBox::Add(std::string entry) {
    auto pos =
        std::upper_bound(entries_.begin(), entries_.end(), entry,
                         [](const std::string& x, const std::string& y) { return Less(x, y); });
    const int index = static_cast<int>(pos - entries_.begin());
    entries_.insert(pos, std::move(entry));
    if (selectedIndex_ >= index) ++selectedIndex_;
    ++revision_;
}

void ComboBox::AddAll(SortedEntries sorted) {
    std::vector<std::string>& batch = sorted.entries_;
    if (batch.empty()) return;
    auto less = [](const std::string& x, const std::string& y) { return Less(x, y); };
    if (selectedIndex_ >= 0) {
        // Entries of the batch that sort before the selected one push it down.
        const auto& selected = entries_[static_cast<std::size_t>(selectedIndex_)];
        selectedIndex_ += static_cast<int>(
            std::lower_bound(batch.begin(), batch.end(), selected, less) - batch.begin());
    }
    if (entries_.empty()) {
        entries_ = std::move(batch);
    } else {
        std::vector<std::string> merged;
        merged.reserve(entries_.size() + batch.size());
        // Existing entries come first among equals, as one-by-one insertion after equals gives.
        std::merge(std::make_move_iterator(entries_.begin()),
                   std::make_move_iterator(entries_.end()), std::make_move_iterator(batch.begin()),
                   std::make_move_iterator(batch.end()), std::back_inserter(merged), less);
        entries_ = std::move(merged);
    }
    ++revision_;
}

void ComboBox::Clear() {
    entries_.clear();
    entries_.shrink_to_fit();
    selectedIndex_ = -1;
    editText.clear();
    selectionStart = 0;
    selectionLength = 0;
    ++revision_;
}

void ComboBox::Select(int index) {
    if (index < 0 || index >= Count()) {
        selectedIndex_ = -1;
        return;
    }
    selectedIndex_ = index;
    editText = entries_[static_cast<std::size_t>(index)];
    selectionStart = 0;
    selectionLength = static_cast<int>(editText.size());
}

int ComboBox::SelectFirstStartingWith(std::string_view prefix) {
    // Entries that begin with the prefix (ignoring case) sit together in the
    // list's order, starting at the first entry not below the prefix.
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), prefix,
        [](const std::string& e, std::string_view p) { return util::CompareNoCase(e, p) < 0; });
    if (it == entries_.end() || !util::StartsWithNoCase(*it, prefix)) return -1;
    const int index = static_cast<int>(it - entries_.begin());
    Select(index);
    return index;
}

}  // namespace lorvane::form
