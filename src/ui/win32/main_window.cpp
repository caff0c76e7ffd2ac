#include "ui/win32/main_window.h"

#include <utility>

#include "form/layout.h"
#include "form/menu.h"
#include "ui/win32/dpi.h"
#include "ui/win32/tab_focus.h"
#include "ui/win32/text_positions.h"
#include "ui/win32/window_ids.h"

namespace lorvane::ui::win32 {
namespace {

// Posted when the window is activated: the start-up runs from the message
// loop, not inside the activation itself.
constexpr UINT kMsgActivated = WM_APP + 1;

constexpr int kIconResource = 1;
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;
// Font sizes in hundredths of a point.
constexpr int kListFontSize = 900;
constexpr int kLabelFontSize = 825;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

HMENU AsMenuId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

std::wstring WindowText(HWND control) {
    const int n = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), n + 1)));
    return text;
}

void SetTextIfChanged(HWND control, const std::string& utf8) {
    const std::wstring text = Wide(utf8);
    if (WindowText(control) != text) SetWindowTextW(control, text.c_str());
}

}  // namespace

MainWindow::MainWindow(std::string appDir)
    : form_(std::move(appDir), static_cast<form::UiPort&>(*this)) {}

MainWindow::~MainWindow() {
    progress_.Close();
    SetBusyPointer(false);
    // The controls go before the fonts they show.
    if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::Create(HINSTANCE instance) {
    instance_ = instance;
    // Opened on the primary monitor, at its DPI.
    twips_ = form::Twips(PrimaryMonitorDpi());

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // A window made again in the same program (tests do) finds its class there.
    if (!GetClassInfoExW(instance, kMainWindowClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &MainWindow::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                                 IMAGE_ICON, kLargeIconSize, kLargeIconSize, 0));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                                   IMAGE_ICON, kSmallIconSize, kSmallIconSize, 0));
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kMainWindowClass;
        if (!RegisterClassExW(&wc)) return false;
    }

    menu_ = BuildMenus();
    const RECT outer = OuterRectAt(twips_.Dpi());
    hwnd_ = CreateWindowExW(0, kMainWindowClass, Wide(form_.State().caption).c_str(), kWindowStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                            outer.bottom - outer.top, nullptr, menu_, instance, this);
    if (!hwnd_) return false;
    BuildControls();
    // Placed on another monitor than the primary one: laid out for that one.
    if (const int dpi = WindowDpi(hwnd_); dpi != twips_.Dpi()) {
        RECT at;
        GetWindowRect(hwnd_, &at);
        const RECT size = OuterRectAt(dpi);
        ChangeDpi(dpi, RECT{at.left, at.top, at.left + size.right - size.left,
                            at.top + size.bottom - size.top});
    }
    ShowState();
    return true;
}

// The window around the stored client size (in twips) at this DPI.
RECT MainWindow::OuterRectAt(int dpi) const {
    const form::Twips twips(dpi);
    return OuterRectForDpi(
        RECT{0, 0, twips.ToPixels(form::kClientWidth), twips.ToPixels(form::kClientHeight)},
        kWindowStyle, true, 0, dpi);
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    ReportOuterSize();
    ShowState();
    UpdateWindow(hwnd_);
    SetFocus(gameList_.Edit());
    // A window system that never activates the window must not keep the
    // start-up from running; it runs once either way.
    PostMessageW(hwnd_, kMsgActivated, 0, 0);
}

// Captions without "&": the menus have no shortcut keys.
HMENU MainWindow::BuildMenus() {
    HMENU bar = CreateMenu();
    for (const form::Menu& menu : form::MenuBar()) {
        HMENU popup = CreatePopupMenu();
        for (const form::MenuItem& item : menu.items)
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.command),
                        Wide(item.caption).c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(menu.title).c_str());
    }
    return bar;
}

void MainWindow::MakeFonts() {
    const int dpi = twips_.Dpi();
    listFont_ = ArialFont(dpi, kListFontSize, false);
    labelFont_ = ArialFont(dpi, kLabelFontSize, true);
    textFont_ = MessageFont(dpi);
}

void MainWindow::BuildControls() {
    MakeFonts();
    const form::WindowState& st = form_.State();
    const form::WindowLayout& layout = st.layout;
    auto child = [this](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                        const form::TwipsRect& at) {
        const RECT r = ToPixels(at);
        return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, hwnd_, AsMenuId(id), instance_,
                               nullptr);
    };

    emulatorNameBox_ =
        child(WS_EX_CLIENTEDGE, L"EDIT", Wide(st.emulatorFileName).c_str(),
              ES_AUTOHSCROLL | WS_TABSTOP, kEmulatorNameBoxId, layout.emulatorNameBox);
    textFont_.SetOn(emulatorNameBox_, false);
    ForwardTabKey(emulatorNameBox_);

    GameListControl::Events events;
    events.characterTyped = [this](const std::string& c) { form_.OnCharacterTyped(c); };
    events.enterPressed = [this] { form_.OnEnterPressed(); };
    events.entryChosen = [this](int row) { form_.OnGameChosen(row); };
    events.entryDoubleClicked = [this](int row) { form_.OnGameActivated(row); };
    events.editChanged = [this](const std::wstring& text, int selectionStart, int selectionLength) {
        const int start = BytesFromWidePos(text, selectionStart);
        form_.OnEditChanged(Utf8(text), start,
                            BytesFromWidePos(text, selectionStart + selectionLength) - start);
    };
    events.tabPressed = [this](bool backwards) {
        PostMessageW(hwnd_, kMsgMoveFocus, backwards, 0);
    };
    gameList_.Create(hwnd_, kGameListId, ToPixels(layout.gameList), listFont_.Get(),
                     std::move(events));

    snapshotPane_.Create(hwnd_, kSnapshotPaneId, ToPixels(layout.snapshotPane));

    label_ = child(0, L"STATIC", L"MAME Executable", SS_LEFT | SS_NOPREFIX, kLabelId, layout.label);
    labelFont_.SetOn(label_, false);
    line_ = child(0, L"STATIC", L"", SS_BLACKRECT, kLineId, form::TwipsRect{});
    PlaceFixedControls();
}

// The label and the line never move; only a change of DPI places them again.
void MainWindow::PlaceFixedControls() {
    const form::WindowLayout& layout = form_.State().layout;
    Place(label_, layout.label);
    // A line one pixel high, its end pixel included.
    SetWindowPos(line_, nullptr, twips_.ToPixels(layout.line.left),
                 twips_.ToPixels(layout.line.top), twips_.ToPixels(layout.line.width) + 1, 1,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moved to a monitor with another DPI (or its scale changed): the window takes
// the rectangle Windows suggests, and its controls and fonts are made for the
// new DPI as a start there would make them.
void MainWindow::ChangeDpi(int dpi, const RECT& suggested) {
    twips_ = form::Twips(dpi);
    Font oldList = std::move(listFont_), oldLabel = std::move(labelFont_),
         oldText = std::move(textFont_);
    MakeFonts();
    listFont_.SetOn(gameList_.Handle(), true);
    labelFont_.SetOn(label_, true);
    textFont_.SetOn(emulatorNameBox_, true);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's size may not have changed in pixels; its size in twips has.
    ReportOuterSize();
    PlaceFixedControls();
    ShowState();
}

RECT MainWindow::ToPixels(const form::TwipsRect& r) const {
    const int left = twips_.ToPixels(r.left), top = twips_.ToPixels(r.top);
    return RECT{left, top, left + twips_.ToPixels(r.width), top + twips_.ToPixels(r.height)};
}

void MainWindow::Place(HWND control, const form::TwipsRect& r) {
    SetWindowPos(control, nullptr, twips_.ToPixels(r.left), twips_.ToPixels(r.top),
                 twips_.ToPixels(r.width), twips_.ToPixels(r.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Everything the window shows comes from the state.
void MainWindow::ShowState() {
    if (!hwnd_ || !IsWindow(hwnd_)) return;
    showing_ = true;
    const form::WindowState& st = form_.State();
    SetTextIfChanged(emulatorNameBox_, st.emulatorFileName);

    Place(emulatorNameBox_, st.layout.emulatorNameBox);
    Place(gameList_.Handle(), st.layout.gameList);
    gameList_.ShowState(st.gameList);
    // After the list: a caption with the count means the list is filled.
    SetTextIfChanged(hwnd_, st.caption);

    const HWND pane = snapshotPane_.Handle();
    Place(pane, st.layout.snapshotPane);
    if (IsWindowVisible(pane) != st.snapshotPane.visible)
        ShowWindow(pane, st.snapshotPane.visible ? SW_SHOW : SW_HIDE);

    for (const form::Menu& menu : form::MenuBar())
        for (const form::MenuItem& item : menu.items)
            if (item.checkable)
                CheckMenuItem(
                    menu_, static_cast<UINT>(item.command),
                    MF_BYCOMMAND | (form_.IsChecked(item.command) ? MF_CHECKED : MF_UNCHECKED));
    showing_ = false;
}

void MainWindow::ReportOuterSize() {
    RECT outer;
    if (!GetWindowRect(hwnd_, &outer)) return;
    form_.SetOuterSize(twips_.FromPixels(outer.right - outer.left),
                       twips_.FromPixels(outer.bottom - outer.top));
}

HWND MainWindow::Owner() const { return hwnd_ && IsWindow(hwnd_) ? hwnd_ : nullptr; }

void MainWindow::OnEmulatorNameChanged() {
    if (!showing_) form_.OnEmulatorNameEdited(Utf8(WindowText(emulatorNameBox_)));
}

void MainWindow::OnCommand(WORD id, WORD code, HWND control) {
    if (control == gameList_.Handle()) return gameList_.OnNotify(code);
    if (control == emulatorNameBox_) {
        if (code == EN_CHANGE) OnEmulatorNameChanged();
        return;
    }
    if (!control) form_.Run(static_cast<form::Command>(id));
}

void MainWindow::OnActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        // The control that had the focus gets it back on return.
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else {
        PostMessageW(hwnd_, kMsgActivated, 0, 0);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->OnMessage(msg, wp, lp);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            OnActivate(wp);
            break;
        case kMsgActivated:
            if (!closing_) form_.OnActivated();
            return 0;
        case WM_SIZE:
            // Before the controls exist the stored layout stands.
            if (gameList_.Handle()) {
                ReportOuterSize();
                ShowState();
            }
            return 0;
        case WM_DPICHANGED:
            ChangeDpi(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : gameList_.Edit());
            return 0;
        case kMsgMoveFocus: {
            const HWND tabOrder[] = {gameList_.Edit(), emulatorNameBox_, snapshotPane_.Handle()};
            MoveFocus(tabOrder, wp != 0);
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_CTLCOLORSTATIC:
            // The label on the window's own background, not a box of its own.
            if (reinterpret_cast<HWND>(lp) == label_) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DESTROY:
            closing_ = true;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace lorvane::ui::win32
