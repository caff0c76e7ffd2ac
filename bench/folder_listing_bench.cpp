// Under Wine (or on Windows): one listing of a ROM folder as lorvane.exe lists
// it at start-up (platform::ListOrdinaryFiles, a FindFirstFileExW loop), timed
// alone, in a process of its own as lorvane.exe's is. Prints:
//   windows_folder_listing_files   .zip files the listing passed on
//   windows_folder_listing_run_ms  the time of that one listing
// bench_windows_window starts it several times and takes the median.
// Usage: folder_listing.exe FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/directory_listing.h"
#include "platform/wide_text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: folder_listing FOLDER\n");
        return 2;
    }
    const std::string folder = lorvane::platform::win32::Utf8(argv[1]);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    long files = 0;
    QueryPerformanceCounter(&start);
    const auto listed = lorvane::platform::ListOrdinaryFiles(folder, "", ".zip",
                                                             [&](std::string_view) { ++files; });
    QueryPerformanceCounter(&end);
    if (listed != lorvane::platform::DirectoryListing::Listed) {
        std::fprintf(stderr, "the folder could not be listed\n");
        return 1;
    }
    std::printf("windows_folder_listing_files: %ld\n", files);
    std::printf("windows_folder_listing_run_ms: %.1f\n",
                1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
    return 0;
}
