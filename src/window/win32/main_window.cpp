#include "main_window.h"

#include <utility>

#include "window_ids.h"
#include "screen.h"
#include "tab_focus.h"
#include "wide_text.h"

namespace lorvane::win32 {
namespace {

// Posted when the window is activated: the start-up runs from the message
// loop, not inside the activation itself.
constexpr UINT kMsgActivated = WM_APP + 1;

constexpr int kIconResource = 1;

HFONT ArialFont(int dpi, int hundredthsOfPoint, bool bold) {
    return CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Arial");
}

HFONT WindowDefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

MainWindow::MainWindow(std::string appDir) : form_(std::move(appDir), static_cast<UiPort&>(*this)) {}

MainWindow::~MainWindow() {
    progress_.Close();
    SetBusyPointer(false);
    if (hwnd_) DestroyWindow(hwnd_);
    if (listFont_) DeleteObject(listFont_);
    if (labelFont_) DeleteObject(labelFont_);
}

bool MainWindow::Create(HINSTANCE instance) {
    instance_ = instance;
    twips_ = Twips(ScreenDpi());

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc)) return false;

    menu_ = BuildMenus();
    // The stored client size, 8010 x 4770 twips; the frame and the menu bar around it.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT outer{0, 0, twips_.ToPixels(8010), twips_.ToPixels(4770)};
    AdjustWindowRectEx(&outer, style, TRUE, 0);
    hwnd_ = CreateWindowExW(0, kMainWindowClass, Wide(form_.State().caption).c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, menu_,
                            instance, this);
    if (!hwnd_) return false;
    BuildControls();
    ShowState();
    return true;
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    ReportOuterSize();
    ShowState();
    UpdateWindow(hwnd_);
    SetFocus(combo1_.Edit());
    // A window system that never activates the window must not keep the
    // start-up from running; it runs once either way.
    PostMessageW(hwnd_, kMsgActivated, 0, 0);
}

template <typename Handler>
void MainWindow::Forward(Handler&& handler) {
    form_.RunHandler(std::forward<Handler>(handler));
    ShowState();
}

HMENU MainWindow::BuildMenus() {
    HMENU bar = CreateMenu();
    // Captions without "&": the menus have no shortcut keys.
    HMENU tools = CreatePopupMenu();
    AppendMenuW(tools, MF_STRING, kIdPreview, L"Enable Preview");
    AppendMenuW(tools, MF_STRING, kIdExportRomList, L"Export Available Rom list");
    AppendMenuW(tools, MF_STRING, kIdMoveBadRoms, L"Move Bad Roms Sets");
    AppendMenuW(tools, MF_STRING, kIdCreateDefIni, L"Create Default ini");
    AppendMenuW(tools, MF_STRING, kIdMakeGameList, L"Recreate Game List");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"Options");

    HMENU input = CreatePopupMenu();
    AppendMenuW(input, MF_STRING, kIdJoystick, L"JoyStick Settings");  // has no handler
    constexpr const wchar_t* kJoyCaptions[] = {L"Autodetect", L"None", L"HotRod", L"HotRod SE"};
    for (unsigned i = 0; i < 4; ++i) AppendMenuW(input, MF_STRING, kIdJoySel0 + i, kJoyCaptions[i]);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(input), L"Input");

    HMENU about = CreatePopupMenu();
    AppendMenuW(about, MF_STRING, kIdThisFrontend, L"About this Frontend");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(about), L"About");
    return bar;
}

void MainWindow::BuildControls() {
    const int dpi = twips_.Dpi();
    listFont_ = ArialFont(dpi, 900, false);
    labelFont_ = ArialFont(dpi, 825, true);
    auto rect = [this](int left, int top, int width, int height) {
        return RECT{twips_.ToPixels(left), twips_.ToPixels(top), twips_.ToPixels(left) + twips_.ToPixels(width),
                    twips_.ToPixels(top) + twips_.ToPixels(height)};
    };
    auto textBox = [&](int id, const std::string& text, const RECT& r, bool visible) {
        HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Wide(text).c_str(),
                                   WS_CHILD | ES_AUTOHSCROLL | (visible ? WS_VISIBLE | WS_TABSTOP : 0), r.left,
                                   r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(WindowDefaultFont()), FALSE);
        return box;
    };
    const WindowState& st = form_.State();

    // In the order the stored layout creates them.
    snapPath_ = textBox(kCtlSnapPath, st.snap_path, rect(840, 1140, 2175, 315), false);
    mameExeName_ = textBox(kCtlMameExeName, st.MameExeName,
                           rect(1680, 60, st.MameExeNameSize.width, st.MameExeNameSize.height), true);
    ForwardTabKey(mameExeName_);
    text4_ = textBox(kCtlText4, st.Text4, rect(3600, 2400, 855, 375), false);
    text3_ = textBox(kCtlText3, st.Text3, rect(3600, 1140, 1215, 285), false);
    lvnGameList_ = textBox(kCtlLVNGameList, st.LVNGameList, rect(1920, 2160, 1455, 285), false);

    GameListControl::Events events;
    events.characterTyped = [this](const std::string& c) { OnCharacterTyped(c); };
    events.keyCode = [this](std::int16_t key) { OnKeyCode(key); };
    events.entryChosen = [this](int row) { OnEntryChosen(row); };
    events.entryDoubleClicked = [this](int row) { OnEntryDoubleClicked(row); };
    events.editChanged = [this](const std::wstring& text, int start, int length) {
        OnEditChanged(text, start, length);
    };
    events.tabPressed = [this](bool backwards) { PostMessageW(hwnd_, kMsgMoveFocus, backwards, 0); };
    combo1_.Create(hwnd_, kCtlCombo1, rect(120, 420, st.Combo1Size.width, st.Combo1Size.height), listFont_,
                   std::move(events));

    const PicturePaneState& pane = st.brwPNGBrowser;
    pane_.Create(hwnd_, kCtlPicturePane, rect(pane.left, pane.kTop, pane.kWidth, pane.kHeight));

    const RECT l = rect(120, 120, 1575, 255);
    label1_ = CreateWindowExW(0, L"STATIC", L"MAME Executable", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                              l.left, l.top, l.right - l.left, l.bottom - l.top, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCtlLabel1)), instance_, nullptr);
    SendMessageW(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), FALSE);
    // A line one pixel high along the top of the client area.
    line1_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, twips_.ToPixels(120), 0,
                             twips_.ToPixels(5760 - 120) + 1, 1, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCtlLine1)), instance_, nullptr);
}

// Everything the window shows comes from the state.
void MainWindow::ShowState() {
    if (!hwnd_ || !IsWindow(hwnd_)) return;
    showing_ = true;
    const WindowState& st = form_.State();
    auto setText = [](HWND control, const std::string& utf8) {
        const std::wstring text = Wide(utf8);
        const int n = GetWindowTextLengthW(control);
        std::wstring now(static_cast<std::size_t>(n) + 1, L'\0');
        now.resize(static_cast<std::size_t>(GetWindowTextW(control, now.data(), n + 1)));
        if (now != text) SetWindowTextW(control, text.c_str());
    };
    setText(hwnd_, st.caption);
    setText(mameExeName_, st.MameExeName);
    setText(snapPath_, st.snap_path);
    setText(text3_, st.Text3);
    setText(text4_, st.Text4);
    setText(lvnGameList_, st.LVNGameList);

    auto place = [this](HWND control, int left, int top, int width, int height) {
        SetWindowPos(control, nullptr, twips_.ToPixels(left), twips_.ToPixels(top), twips_.ToPixels(width),
                     twips_.ToPixels(height), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(mameExeName_, 1680, 60, st.MameExeNameSize.width, st.MameExeNameSize.height);
    place(combo1_.Handle(), 120, 420, st.Combo1Size.width, st.Combo1Size.height);
    combo1_.ShowState(st.Combo1);

    const PicturePaneState& pane = st.brwPNGBrowser;
    place(pane_.Handle(), pane.left, pane.kTop, pane.kWidth, pane.kHeight);
    if (IsWindowVisible(pane_.Handle()) != pane.visible) ShowWindow(pane_.Handle(), pane.visible ? SW_SHOW : SW_HIDE);

    CheckMenuItem(menu_, kIdPreview, MF_BYCOMMAND | (st.Preview ? MF_CHECKED : MF_UNCHECKED));
    for (unsigned i = 0; i < st.JOY_SEL.size(); ++i)
        CheckMenuItem(menu_, kIdJoySel0 + i, MF_BYCOMMAND | (st.JOY_SEL[i] ? MF_CHECKED : MF_UNCHECKED));
    showing_ = false;
}

void MainWindow::ReportOuterSize() {
    RECT outer;
    if (!GetWindowRect(hwnd_, &outer)) return;
    form_.SetOuterSize(twips_.FromPixels(outer.right - outer.left), twips_.FromPixels(outer.bottom - outer.top));
}

HWND MainWindow::Owner() const { return hwnd_ && IsWindow(hwnd_) ? hwnd_ : nullptr; }

void MainWindow::OnCommand(WORD id, WORD code, HWND control) {
    if (control == combo1_.Handle()) {
        combo1_.OnNotify(code);
        return;
    }
    if (control == mameExeName_) {
        if (code == EN_CHANGE && !showing_) {
            const int n = GetWindowTextLengthW(mameExeName_);
            std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(mameExeName_, text.data(), n + 1)));
            form_.State().MameExeName = Utf8(text);
        }
        return;
    }
    if (control) return;  // notifications of the hidden boxes
    switch (id) {
        case kIdPreview: Forward([this] { form_.Preview_Click(); }); break;
        case kIdExportRomList: Forward([this] { form_.Export_ROM_list_Click(); }); break;
        case kIdMoveBadRoms: Forward([this] { form_.Move_bad_roms_Click(); }); break;
        case kIdCreateDefIni: Forward([this] { form_.create_def_ini_Click(); }); break;
        case kIdMakeGameList: Forward([this] { form_.MAKE_GAME_LIST_Click(); }); break;
        case kIdThisFrontend: Forward([this] { form_.This_frontend_Click(); }); break;
        default:
            if (id >= kIdJoySel0 && id < kIdJoySel0 + 4) {
                const auto index = static_cast<std::int16_t>(id - kIdJoySel0);
                Forward([this, index] { form_.JOY_SEL_Click(index); });
            }
            break;  // "JoyStick Settings" runs nothing
    }
}

void MainWindow::OnCharacterTyped(const std::string& utf8) {
    Forward([&] {
        if (utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) < 0x80) {
            std::int16_t key = static_cast<std::int16_t>(utf8[0]);
            form_.Combo1_KeyPress(key);
        } else {
            form_.Combo1_TypeAhead(utf8);
        }
    });
}

void MainWindow::OnKeyCode(std::int16_t key) {
    Forward([this, key] {
        std::int16_t k = key;
        form_.Combo1_KeyPress(k);
    });
}

void MainWindow::OnEntryChosen(int row) {
    Forward([this, row] {
        form_.State().Combo1.SetListIndex(row);
        form_.Combo1_Click();
    });
}

void MainWindow::OnEntryDoubleClicked(int row) {
    Forward([this, row] {
        ComboBox& list = form_.State().Combo1;
        if (list.ListIndex() != row) list.SetListIndex(row);
        form_.Combo1_DblClick();
    });
}

void MainWindow::OnEditChanged(const std::wstring& text, int selStart, int selLength) {
    ComboBox& list = form_.State().Combo1;
    list.text = Utf8(text);
    list.selStart = BytesFromWidePos(text, selStart);
    list.selLength = BytesFromWidePos(text, selStart + selLength) - list.selStart;
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
            if (LOWORD(wp) == WA_INACTIVE) {
                // The control that had the focus gets it back on return.
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else {
                PostMessageW(hwnd_, kMsgActivated, 0, 0);
            }
            break;
        case kMsgActivated:
            if (!closing_) Forward([this] { form_.OnActivated(); });
            return 0;
        case WM_SIZE:
            // Before the controls exist the stored layout stands.
            if (combo1_.Handle()) {
                ReportOuterSize();
                ShowState();
            }
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : combo1_.Edit());
            return 0;
        case kMsgMoveFocus: {
            // Tab order: Combo1, MameExeName, the picture pane (while shown).
            HWND order[] = {combo1_.Edit(), mameExeName_, pane_.Handle()};
            HWND focus = GetFocus();
            int at = 0;
            for (int i = 0; i < 3; ++i)
                if (order[i] == focus) at = i;
            for (int step = 1; step <= 3; ++step) {
                HWND next = order[(at + (wp ? 3 - step : step)) % 3];
                if (IsWindowVisible(next)) {
                    SetFocus(next);
                    if (next != pane_.Handle()) SendMessageW(next, EM_SETSEL, 0, -1);
                    break;
                }
            }
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
            if (reinterpret_cast<HWND>(lp) == label1_) {
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

}  // namespace lorvane::win32
