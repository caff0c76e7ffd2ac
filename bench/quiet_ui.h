#pragma once
// A screen for benchmarks: answers nothing, shows messages on standard error.
#include <cstdio>
#include <string>

#include "form/ui_port.h"

namespace lorvane::bench {

class QuietUi : public form::UiPort {
public:
    void ShowMessage(const std::string& text, const std::string&, form::MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    std::string AskForText(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string ChooseFolder(const std::string&) override { return {}; }
    void ShowSnapshot(const std::string&) override {}
    bool PaneCanShowPictures() override { return false; }
    platform::DetachedStartResult StartDetached(const platform::CommandLine&) override {
        return {};
    }
    void SetBusyPointer(bool) override {}
    void Repaint() override {}
    void OpenProgress(const std::string&, int, const std::string&) override {}
    void UpdateProgress(int, int, const std::string&) override {}
    bool ProgressCancelled() override { return false; }
    void CloseProgress() override {}
    void StateChanged() override {}
    void CloseWindow() override {}
    void ProcessPendingEvents() override {}
};

}  // namespace lorvane::bench
