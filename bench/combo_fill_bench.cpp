// Under Wine (or on Windows): the game list's simple combo box filled with
// every entry of a game data file, as lorvane.exe fills it. Prints:
//   windows_combo_entries   entries filled
//   windows_combo_fill_ms   median over 5 fills of the whole list
// Usage: bench_combo_fill.exe LVN_LIST.txt
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "form/combo_box.h"
#include "mame/listing.h"
#include "ui/win32/game_list_control.h"

namespace {

constexpr int kFills = 5;
// A window of about the program's size holding the list.
constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 400;
constexpr RECT kListBounds{8, 8, 560, 360};
constexpr int kListId = 1;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_combo_fill LVN_LIST.txt\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "cannot read the game data file\n");
        return 1;
    }
    lorvane::form::ComboBox model;
    std::vector<std::string> entries;
    lorvane::mame::ForEachListingGame(text.str(), [&](const lorvane::mame::ListingGame& g) {
        entries.push_back(lorvane::mame::MakeListEntry(g.description, g.name));
    });
    model.AddAll(std::move(entries));

    HWND parent =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWindowWidth,
                        kWindowHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    lorvane::ui::win32::GameListControl combo;
    if (!parent || !combo.Create(parent, kListId, kListBounds,
                                 static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), {})) {
        std::fprintf(stderr, "cannot create the combo box\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < kFills; ++i) {
        combo.Fill(model);
        times.push_back(combo.LastFillMs());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    const LRESULT count = SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0);
    if (count != model.Count()) {
        std::fprintf(stderr, "the combo box holds %ld of %d entries\n", static_cast<long>(count),
                     model.Count());
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("windows_combo_entries: %ld\n", static_cast<long>(count));
    std::printf("windows_combo_fill_ms: %.1f\n", times[kFills / 2]);
    DestroyWindow(parent);
    return 0;
}
