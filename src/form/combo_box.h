#pragma once
// The game list as the window holds it: the model of a simple-style combo box.
// Its entries are kept sorted without regard to case; one entry may be
// selected; the edit field above the list holds a text with a selection in it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::form {

// Entries in the list's order, made only by ComboBox::Sorted: a batch that
// needs no second sort (the list read ahead is sorted on its own thread).
class SortedEntries {
public:
    std::size_t size() const { return entries_.size(); }

private:
    friend class ComboBox;
    std::vector<std::string> entries_;
};

class ComboBox {
public:
    const std::vector<std::string>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& Entry(int index) const {
        return entries_.at(static_cast<std::size_t>(index));
    }

    // Adds one entry at its sorted place (after entries that compare equal).
    void Add(std::string entry);
    // Adds many at once with the same result as adding them one by one.
    void AddAll(std::vector<std::string> entries) { AddAll(Sorted(std::move(entries))); }
    void AddAll(SortedEntries entries);
    // Removes every entry and empties the edit field; nothing is selected afterwards.
    void Clear();

    // The selected entry's index, or -1 for none.
    int SelectedIndex() const { return selectedIndex_; }
    // Selects an entry (an index out of range selects none). Selecting puts the
    // entry's full text in the edit field, all of it selected, as the
    // platform's list does; selecting none leaves the field as it is.
    void Select(int index);

    // Selects the first entry in list order that begins with the prefix,
    // compared without regard to case, and returns its index; -1 when none
    // does (the selection is then left as it was).
    int SelectFirstStartingWith(std::string_view prefix);

    // The edit field: its text (UTF-8) and the selection in it, in bytes.
    std::string editText;
    int selectionStart = 0;
    int selectionLength = 0;

    // Grows on every change of the entries, so a view can tell when to reload them.
    std::uint64_t EntriesRevision() const { return revision_; }

    // The list's order: case-insensitive, ties broken by the bytes.
    static bool Less(std::string_view a, std::string_view b);
    // The entries in the list's order (entries that compare equal are the
    // same bytes, so their order among themselves does not show).
    static SortedEntries Sorted(std::vector<std::string> entries);

private:
    std::vector<std::string> entries_;
    int selectedIndex_ = -1;
    std::uint64_t revision_ = 0;
};

}  // namespace lorvane::form
