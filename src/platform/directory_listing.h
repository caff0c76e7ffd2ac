#pragma once
// Reads which ordinary files a directory holds in one pass, for callers that
// would otherwise test thousands of names one by one.
#include <functional>
#include <string>
#include <string_view>

namespace lorvane::platform {

enum class DirectoryListing {
    Listed,       // every matching file was passed to the callback
    Absent,       // the directory does not exist (or is not one): it holds no file
    NotListable,  // no answer in one pass: test names one by one (what was passed is void)
};

// Calls add(stem) for every ordinary file of dir (links followed, hidden names
// skipped) whose name is prefix + stem + suffix. NotListable when the directory
// may not be listed or searched, when a read fails part way, or when name
// lookups there may not compare byte for byte (case-folding file systems), so
// that a lookup could find a file under a name the listing never shows.
// On Windows (kFileNamesFoldCase) every lookup folds case: there prefix and
// suffix match without regard to ASCII case, stems come as the folder holds
// them, and the caller compares them the same way; hidden and system files
// and folders are skipped, as FileExists skips them.
DirectoryListing ListOrdinaryFiles(const std::string& dir, std::string_view prefix,
                                   std::string_view suffix,
                                   const std::function<void(std::string_view stem)>& add);

}  // namespace lorvane::platform
