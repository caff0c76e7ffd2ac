#include "combo_box.h"

#include <algorithm>
#include <iterator>

#include "text_util.h"

namespace lorvane {

bool ComboBox::Less(std::string_view a, std::string_view b) {
    const int c = CompareNoCase(a, b);
    return c < 0 || (c == 0 && a < b);
}

void ComboBox::AddItem(std::string entry) {
    auto pos = std::upper_bound(entries_.begin(), entries_.end(), entry,
                                [](const std::string& x, const std::string& y) { return Less(x, y); });
    const int index = static_cast<int>(pos - entries_.begin());
    entries_.insert(pos, std::move(entry));
    if (listIndex_ >= index) ++listIndex_;
    ++revision_;
}

void ComboBox::AddItems(std::vector<std::string> batch) {
    if (batch.empty()) return;
    auto less = [](const std::string& x, const std::string& y) { return Less(x, y); };
    std::stable_sort(batch.begin(), batch.end(), less);
    if (listIndex_ >= 0) {
        // Entries of the batch that sort before the selected one push it down.
        const auto& selected = entries_[static_cast<std::size_t>(listIndex_)];
        listIndex_ += static_cast<int>(std::lower_bound(batch.begin(), batch.end(), selected, less) -
                                       batch.begin());
    }
    if (entries_.empty()) {
        entries_ = std::move(batch);
    } else {
        std::vector<std::string> merged;
        merged.reserve(entries_.size() + batch.size());
        // Existing entries come first among equals, as one-by-one insertion after equals gives.
        std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
                   std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()),
                   std::back_inserter(merged), less);
        entries_ = std::move(merged);
    }
    ++revision_;
}

void ComboBox::Clear() {
    entries_.clear();
    entries_.shrink_to_fit();
    listIndex_ = -1;
    text.clear();
    selStart = 0;
    selLength = 0;
    ++revision_;
}

void ComboBox::SetListIndex(int index) {
    if (index < 0 || index >= ListCount()) {
        listIndex_ = -1;
        return;
    }
    listIndex_ = index;
    text = entries_[static_cast<std::size_t>(index)];
    selStart = 0;
    selLength = static_cast<int>(text.size());
}

int ComboBox::SelectString(std::string_view prefix) {
    // Entries that begin with the prefix (ignoring case) sit together in the
    // list's order, starting at the first entry not below the prefix.
    auto it = std::lower_bound(entries_.begin(), entries_.end(), prefix,
                               [](const std::string& e, std::string_view p) { return CompareNoCase(e, p) < 0; });
    if (it == entries_.end() || !StartsWithNoCase(*it, prefix)) return -1;
    const int index = static_cast<int>(it - entries_.begin());
    SetListIndex(index);
    return index;
}

}  // namespace lorvane
