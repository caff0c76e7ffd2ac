#pragma once
// A screen for benchmarks: answers nothing, shows messages on standard error.
#include <cstdio>
#include <string>

#include "ui_port.h"

namespace lorvane::bench {

class QuietUi : public UiPort {
public:
    void MsgBox(const std::string& text, const std::string&, MsgIcon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string BrowseForFolder(const std::string&) override { return {}; }
    void Navigate(const std::string&) override {}
    bool PaneCanShowPictures() override { return false; }
    DetachedStartResult StartDetached(const CommandLine&) override { return {}; }
    void SetBusyPointer(bool) override {}
    void Repaint() override {}
    void ProgressOpen(const std::string&, int) override {}
    void ProgressUpdate(int, int, const std::string&) override {}
    bool ProgressCancelled() override { return false; }
    void ProgressClose() override {}
    void StateChanged() override {}
    void CloseWindow() override {}
    void DoEvents() override {}
};

}  // namespace lorvane::bench
