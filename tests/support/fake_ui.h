#pragma once
// A UI port that records every message, question and start, and answers from
// queues the test fills.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui_port.h"

namespace lorvane::test {

struct RecordedMessage {
    std::string text;
    std::string title;
    MsgIcon icon;
};

class FakeUi : public UiPort {
public:
    void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override {
        messages.push_back({text, title, icon});
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& preset) override {
        inputs.push_back({prompt, title, preset});
        if (inputAnswers.empty()) return "";
        std::string a = inputAnswers.front();
        inputAnswers.pop_front();
        return a;
    }
    std::string BrowseForFolder(const std::string& instruction) override {
        folderInstructions.push_back(instruction);
        return folderAnswer;
    }
    void Navigate(const std::string&) override {}
    bool PaneCanShowPictures() override { return true; }
    DetachedStartResult StartDetached(const CommandLine& argv) override {
        starts.push_back(argv);
        return startResult;
    }
    void DoEvents() override {
        ++pumps;
        if (onPump) onPump();
    }
    void SetBusyPointer(bool) override {}
    void Repaint() override {}
    void ProgressOpen(const std::string&, int) override { progressOpen = true; }
    void ProgressUpdate(int done, int total, const std::string& current) override {
        if (onProgress) onProgress({done, total, current});
    }
    bool ProgressCancelled() override { return cancelRequested; }
    void ProgressClose() override { progressOpen = false; }
    void StateChanged() override {}
    void CloseWindow() override { ++closes; }

    struct Progress {
        int done, total;
        std::string current;
    };

    struct Input {
        std::string prompt, title, preset;
    };

    std::vector<RecordedMessage> messages;
    std::vector<Input> inputs;
    std::deque<std::string> inputAnswers;
    std::vector<std::string> folderInstructions;
    std::string folderAnswer;
    std::vector<CommandLine> starts;
    DetachedStartResult startResult{true, 0};
    int pumps = 0;
    bool progressOpen = false;
    bool cancelRequested = false;
    std::function<void(const Progress&)> onProgress;
    int closes = 0;
    std::function<void()> onPump;
};

}  // namespace lorvane::test
