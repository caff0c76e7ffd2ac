// The window made in this process, as lorvane.exe makes it (with its manifest),
// at the DPI Wine was given for this run (run-under-xvfb.sh --dpi): every
// control stands where the twips layout puts it, every font has the size its
// points make at that DPI, no text is wider or taller than its control, and a
// change of DPI lays the window out as a start at the new DPI does.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "form/layout.h"
#include "form/menu.h"
#include "support/app_dir_test.h"
#include "support/native_path.h"
#include "support/standin.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_ids.h"

namespace lorvane::ui::win32 {
namespace {

using namespace test;

constexpr int kTwipsPerInch = 1440;
constexpr int kHundredthsOfPointPerInch = 7200;
constexpr int kListPoints = 900;  // hundredths of a point
constexpr int kLabelPoints = 825;

// The DPI the script set for this run.
int RunDpi() {
    const char* text = std::getenv("LORVANE_TEST_DPI");
    return text ? std::atoi(text) : 0;
}

int Px(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

RECT PxRect(const form::TwipsRect& r, int dpi) {
    const int left = Px(r.left, dpi), top = Px(r.top, dpi);
    return RECT{left, top, left + Px(r.width, dpi), top + Px(r.height, dpi)};
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// A control's place in its parent's client area.
RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    EXPECT_TRUE(handle && GetObjectW(handle, sizeof font, &font)) << "no font of its own";
    return font;
}

std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

// What measure gives with the control's font selected into its DC.
template <class Measure>
auto InFontOf(HWND control, Measure measure) {
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const auto result = measure(dc);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return result;
}

// The size text takes in the control's font; with a width, wrapped to it.
SIZE TextSize(HWND control, const std::wstring& text, int wrapWidth = 0) {
    return InFontOf(control, [&](HDC dc) {
        RECT r{0, 0, wrapWidth, 0};
        DrawTextW(dc, text.c_str(), -1, &r,
                  DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
        return SIZE{r.right - r.left, r.bottom - r.top};
    });
}

int LineHeight(HWND control) {
    return InFontOf(control, [](HDC dc) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        return metrics.tmHeight;
    });
}

// The control's client area: its width in .right, its height in .bottom.
RECT Client(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    return r;
}

// The system's message font at a DPI, as this process asks for it.
LOGFONTW MessageFontFor(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                           static_cast<UINT>(dpi)));
    return metrics.lfMessageFont;
}

class DpiTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        dpi_ = RunDpi();
        ASSERT_GT(dpi_, 0) << "run through run-under-xvfb.sh --dpi N, which sets LORVANE_TEST_DPI";
        if (StandInProgram().empty()) GTEST_SKIP() << "this build has no stand-in emulator";
        // A folder that has run before: the list loads with no question asked.
        InstallStandIn(dir_.Path(), kMameExe);
        WriteFile(dir_ / "roms" / "galaga.zip", "PK");
        WriteFile(dir_ / "roms" / "pacman.zip", "PK");
        WriteFile(dir_ / "LVN.ini",
                  "[Settings]\r\nMAME NAME=" + kMameExe +
                      "\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=True\r\n");
        WriteFile(dir_ / "LVN_LIST.txt",
                  "Name:             Description:\r\n"
                  "galaga            \"Galaga (Namco rev. B)\"\r\n"
                  "pacman            \"Pac-Man (Midway)\"\r\n\r\n");
    }
    void TearDown() override {
        window_.reset();
        Pump();  // the window's last messages, its quit message among them
        AppDirTest::TearDown();
    }

    // Opens the window as the program does and waits for its start-up to end.
    void Open() {
        window_ = std::make_unique<MainWindow>(App());
        ASSERT_TRUE(window_->Create(GetModuleHandleW(nullptr))) << GetLastError();
        window_->Show(SW_SHOWNORMAL);
        const ULONGLONG deadline = GetTickCount64() + 20000;
        while (window_->Form().State().caption.find("romcount = 2") == std::string::npos &&
               GetTickCount64() < deadline) {
            Pump();
            Sleep(10);
        }
        ASSERT_EQ(window_->Form().State().caption, "Lorvane   (romcount = 2)");
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    HWND Main() const { return window_->Handle(); }
    HWND Control(int id) const { return GetDlgItem(Main(), id); }

    // Every control where the twips layout of the window's outer size puts it
    // at this DPI, in fonts made for it, its text inside it; without the
    // preview the pane is hidden (and its place not the layout's concern).
    void ExpectLaidOutAt(int dpi, bool preview = true) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI" +
                     (preview ? "" : " without the preview"));
        RECT outer;
        GetWindowRect(Main(), &outer);
        form::WindowLayout layout;
        ASSERT_TRUE(form::LayOut(layout, MulDiv(outer.right - outer.left, kTwipsPerInch, dpi),
                                 MulDiv(outer.bottom - outer.top, kTwipsPerInch, dpi), preview));
        const struct {
            int id;
            form::TwipsRect twips;
        } controls[] = {{kGameListId, layout.gameList},
                        {kEmulatorNameBoxId, layout.emulatorNameBox},
                        {kSnapshotPaneId, layout.snapshotPane},
                        {kLabelId, layout.label}};
        for (const auto& c : controls) {
            if (preview || c.id != kSnapshotPaneId) {
                EXPECT_EQ(Describe(PlaceOf(Control(c.id))), Describe(PxRect(c.twips, dpi)))
                    << "control " << c.id;
            }
        }
        EXPECT_EQ(IsWindowVisible(Control(kSnapshotPaneId)) != FALSE, preview);
        // The line: one pixel high, its end pixel included.
        RECT line = PxRect(layout.line, dpi);
        line.right += 1;
        line.bottom += 1;
        EXPECT_EQ(Describe(PlaceOf(Control(kLineId))), Describe(line));

        const LOGFONTW list = FontOf(Control(kGameListId));
        EXPECT_EQ(list.lfHeight, -MulDiv(kListPoints, dpi, kHundredthsOfPointPerInch));
        EXPECT_STREQ(list.lfFaceName, L"Arial");
        const LOGFONTW label = FontOf(Control(kLabelId));
        EXPECT_EQ(label.lfHeight, -MulDiv(kLabelPoints, dpi, kHundredthsOfPointPerInch));
        EXPECT_EQ(label.lfWeight, FW_BOLD);
        ExpectMessageFont(Control(kEmulatorNameBoxId), dpi);

        // The label's caption on its one line; the text box as tall as a line of its font.
        const SIZE caption = TextSize(Control(kLabelId), TextOf(Control(kLabelId)));
        EXPECT_LE(caption.cx, Client(Control(kLabelId)).right) << "the label's caption is cut";
        EXPECT_LE(caption.cy, Client(Control(kLabelId)).bottom);
        EXPECT_LE(LineHeight(Control(kEmulatorNameBoxId)),
                  Client(Control(kEmulatorNameBoxId)).bottom)
            << "the text box cuts its text";
    }

    // The system's message font at this DPI: the face it names, and the size
    // its points make here (the same at every DPI, in points).
    void ExpectMessageFont(HWND control, int dpi) {
        const LOGFONTW font = FontOf(control);
        const LOGFONTW system = MessageFontFor(kStandardDpiForFonts);
        EXPECT_STREQ(font.lfFaceName, system.lfFaceName);
        EXPECT_NEAR(font.lfHeight, MulDiv(system.lfHeight, dpi, kStandardDpiForFonts), 1)
            << "not the message font at " << dpi << " DPI";
    }

    // The menu titles side by side on one row of the menu bar, inside the window.
    void ExpectMenuBarOnOneRow() {
        HMENU bar = GetMenu(Main());
        ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(form::MenuBar().size()));
        RECT window, first{};
        GetWindowRect(Main(), &window);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            RECT item;
            ASSERT_TRUE(GetMenuItemRect(Main(), bar, static_cast<UINT>(i), &item));
            if (i == 0) first = item;
            EXPECT_EQ(item.top, first.top) << "menu title " << i << " is on a row of its own";
            EXPECT_LE(item.right, window.right) << "menu title " << i;
        }
    }

    // The progress window of the audit, at this DPI and moved to a monitor
    // with another: its Cancel button and its two lines of text fit, in the
    // message font at the DPI it is shown at.
    void ExpectProgressWindowFits(int otherDpi) {
        window_->OpenProgress("Auditing rom sets", 45000, "44999 of 45000\r\nunkchamp2");
        const HWND progress = FindWindowW(L"LorvaneProgress", L"Auditing rom sets");
        ASSERT_TRUE(progress);
        ExpectProgressControlsFit(progress, dpi_);
        RECT moved;
        GetWindowRect(progress, &moved);
        moved.right = moved.left + MulDiv(moved.right - moved.left, otherDpi, dpi_);
        moved.bottom = moved.top + MulDiv(moved.bottom - moved.top, otherDpi, dpi_);
        SendMessageW(progress, WM_DPICHANGED, MAKEWPARAM(otherDpi, otherDpi),
                     reinterpret_cast<LPARAM>(&moved));
        ExpectProgressControlsFit(progress, otherDpi);
        window_->CloseProgress();
        EXPECT_TRUE(IsWindowEnabled(Main()));
    }
    void ExpectProgressControlsFit(HWND progress, int dpi) {
        SCOPED_TRACE("the progress window at " + std::to_string(dpi) + " DPI");
        const HWND cancel = GetDlgItem(progress, IDCANCEL);
        const HWND label = GetDlgItem(progress, 1);
        ExpectMessageFont(cancel, dpi);
        ExpectMessageFont(label, dpi);
        const int edges = 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_LE(TextSize(cancel, L"Cancel").cx + 2 * edges, Client(cancel).right);
        EXPECT_LE(LineHeight(cancel) + edges, Client(cancel).bottom);
        EXPECT_LE(TextSize(label, TextOf(label), Client(label).right).cy, Client(label).bottom)
            << "the progress text is cut";
    }

    // The window's rectangle, then each control's place and font, a line each
    // (controls by their ids, window_ids.h).
    std::string Look() {
        RECT outer;
        GetWindowRect(Main(), &outer);
        std::string look = "window " + Describe(outer) + "\n";
        for (const int id : {kGameListId, kEmulatorNameBoxId, kSnapshotPaneId, kLabelId, kLineId}) {
            const HWND control = Control(id);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            LOGFONTW f{};
            if (font) GetObjectW(font, sizeof f, &f);
            look += std::to_string(id) + " " + Describe(PlaceOf(control)) + " font " +
                    std::to_string(f.lfHeight) + "/" + std::to_string(f.lfWeight) + "\n";
        }
        return look;
    }

    // WM_DPICHANGED as Windows sends it when the window is moved to a monitor
    // with this DPI: the window rectangle a start there would make, at the
    // window's place.
    RECT SendDpiChanged(int dpi) {
        RECT now, client{0, 0, Px(form::kClientWidth, dpi), Px(form::kClientHeight, dpi)};
        GetWindowRect(Main(), &now);
        AdjustWindowRectExForDpi(&client, GetWindowLongW(Main(), GWL_STYLE), TRUE,
                                 GetWindowLongW(Main(), GWL_EXSTYLE), static_cast<UINT>(dpi));
        RECT suggested{now.left, now.top, now.left + client.right - client.left,
                       now.top + client.bottom - client.top};
        SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
        return suggested;
    }

    static constexpr int kStandardDpiForFonts = 96;
    int dpi_ = 0;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(DpiTest, AStartLaysTheWindowOutAtTheSystemsDpi) {
    Open();
    EXPECT_EQ(GetDpiForWindow(Main()), static_cast<UINT>(dpi_))
        << "Wine did not take the DPI of this run";
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(Main())),
              DPI_AWARENESS_PER_MONITOR_AWARE)
        << "the manifest does not make the window per-monitor DPI aware";
    // The stored client area of 8010 x 4770 twips, in this DPI's pixels.
    EXPECT_EQ(Client(Main()).right, Px(form::kClientWidth, dpi_));
    EXPECT_EQ(Client(Main()).bottom, Px(form::kClientHeight, dpi_));
    ExpectLaidOutAt(dpi_);
    // For the record of a run: where everything stood, in which font height.
    std::cout << "At " << dpi_ << " DPI:\n" << Look();
    ExpectMenuBarOnOneRow();
    ExpectProgressWindowFits(dpi_ == 144 ? 96 : 144);
}

// A resize lays the window out again, with the preview and without; below the
// smallest width nothing moves.
TEST_F(DpiTest, AResizeLaysTheWindowOutAgain) {
    Open();
    const auto resize = [&](int widthTwips) {
        SetWindowPos(Main(), nullptr, 0, 0, Px(widthTwips, dpi_), Px(6000, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    };
    const auto togglePreview = [&] {
        SendMessageW(Main(), WM_COMMAND,
                     MAKEWPARAM(static_cast<unsigned>(form::Command::TogglePreview), 0), 0);
    };
    resize(9000);
    ExpectLaidOutAt(dpi_);
    togglePreview();
    ExpectLaidOutAt(dpi_, false);
    togglePreview();
    ExpectLaidOutAt(dpi_);
    const RECT before = PlaceOf(Control(kGameListId));
    resize(4700);
    EXPECT_EQ(Describe(PlaceOf(Control(kGameListId))), Describe(before));
}

// To a monitor with another DPI and back: each time the window is what a
// start at that DPI makes of it, and back home it is what it was.
TEST_F(DpiTest, ADpiChangeLaysTheWindowOutAsAStartThereWould) {
    Open();
    const std::string atStart = Look();
    const int other = dpi_ == 144 ? 96 : 144;
    const RECT suggested = SendDpiChanged(other);
    RECT outer;
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(Describe(outer), Describe(suggested)) << "the suggested rectangle was not taken";
    ExpectLaidOutAt(other);

    SendDpiChanged(dpi_);
    EXPECT_EQ(Look(), atStart) << "back at " << dpi_ << " DPI the window is not as it started";
    ExpectLaidOutAt(dpi_);
}

}  // namespace
}  // namespace lorvane::ui::win32
