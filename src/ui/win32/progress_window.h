#pragma once
// The progress window of a long task: modal over the main window (which is
// disabled while it is open), with a bar, a label and a Cancel button. The
// task pumps events to keep it live.
#include <windows.h>

#include <string>

#include "ui/win32/font.h"

namespace lorvane::ui::win32 {

class ProgressWindow {
public:
    ProgressWindow() = default;
    ~ProgressWindow() { Close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void Open(HWND owner, const std::string& title, int total, const std::string& label);
    void Update(int done, int total, const std::string& label);
    bool Cancelled() const { return cancelled_; }
    void Close();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // At dpi_, in the system's message font for it; again when the window is
    // moved to a monitor with another DPI.
    void PlaceControls();

    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND label_ = nullptr;
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
    bool cancelled_ = false;
    int dpi_ = 0;
    Font font_;  // the system's message font at dpi_
};

}  // namespace lorvane::ui::win32
