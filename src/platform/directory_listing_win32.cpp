#include <windows.h>

#include "platform/directory_listing.h"
#include "platform/win32_file.h"
#include "util/text.h"

namespace lorvane::platform {
namespace {

constexpr DWORD kNotOrdinary =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           util::CompareNoCase(text.substr(text.size() - suffix.size()), suffix) == 0;
}

}  // namespace

DirectoryListing ListOrdinaryFiles(const std::string& dir, std::string_view prefix,
                                   std::string_view suffix,
                                   const std::function<void(std::string_view stem)>& add) {
    // Only ASCII letters are folded here; anything else is left to the
    // system's own test of each name.
    if (!IsAscii(prefix) || !IsAscii(suffix)) return DirectoryListing::NotListable;
    std::wstring pattern;
    if (dir.find('\0') != std::string::npos || !win32::ToWide(dir, pattern))
        return DirectoryListing::NotListable;
    // A pattern in the folder part would make this a search over several folders.
    if (pattern.find_first_of(L"*?<>\"") != std::wstring::npos)
        return DirectoryListing::NotListable;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';

    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                           FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD e = ::GetLastError();
        // Missing, or a file rather than a folder: no path below it names a file.
        if (e == ERROR_PATH_NOT_FOUND || e == ERROR_FILE_NOT_FOUND || e == ERROR_DIRECTORY ||
            e == ERROR_INVALID_DRIVE)
            return DirectoryListing::Absent;
        return DirectoryListing::NotListable;
    }
    std::string name;
    do {
        if ((found.dwFileAttributes & kNotOrdinary) != 0) continue;
        name = win32::Utf8(found.cFileName);
        // The system's own lookups compare without regard to case, so the
        // listing does too; the caller folds the stems (ListingFoldsCase).
        if (name.size() < prefix.size() + suffix.size() || !util::StartsWithNoCase(name, prefix) ||
            !EndsWithNoCase(name, suffix))
            continue;
        add(std::string_view(name).substr(prefix.size(),
                                          name.size() - prefix.size() - suffix.size()));
    } while (::FindNextFileW(search, &found));
    const DWORD end = ::GetLastError();
    ::FindClose(search);
    return end == ERROR_NO_MORE_FILES ? DirectoryListing::Listed : DirectoryListing::NotListable;
}

}  // namespace lorvane::platform
