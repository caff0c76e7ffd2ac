#pragma once
// The game list: entries kept sorted case-insensitively, a selected index, and
// the edit field's text with its selection.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

class ComboBox {
public:
    const std::vector<std::string>& Entries() const { return entries_; }
    int ListCount() const { return static_cast<int>(entries_.size()); }
    const std::string& List(int index) const { return entries_.at(static_cast<std::size_t>(index)); }

    // Adds one entry at its sorted place (after entries that compare equal).
    void AddItem(std::string entry);
    // Adds many at once with the same result as adding them one by one.
    void AddItems(std::vector<std::string> entries);
    // Removes every entry; nothing is selected afterwards.
    void Clear();

    int ListIndex() const { return listIndex_; }
    // Selects an entry (or -1 for none); selecting puts its full text in the edit
    // field, all of it selected, as the platform's list does.
    void SetListIndex(int index);

    // The first entry in list order that begins with the prefix, compared without
    // regard to case; it becomes the selected entry and fills the edit field.
    // -1 when nothing matches (the selection is then left as it was).
    int SelectString(std::string_view prefix);

    std::string text;  // the edit field
    int selStart = 0;
    int selLength = 0;

    // Grows on every change of the entries, so a view can tell when to reload.
    std::uint64_t EntriesRevision() const { return revision_; }

    // The list's order: case-insensitive, ties broken by the bytes.
    static bool Less(std::string_view a, std::string_view b);

private:
    std::vector<std::string> entries_;
    int listIndex_ = -1;
    std::uint64_t revision_ = 0;
};

}  // namespace lorvane
