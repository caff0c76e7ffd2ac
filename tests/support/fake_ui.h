#pragma once
// A UI port that records every message, question and start, and answers from
// queues the test fills.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "form/ui_port.h"

namespace lorvane::test {

struct RecordedMessage {
    std::string text;
    std::string title;
    form::MessageIcon icon;
};

class FakeUi : public form::UiPort {
public:
    void ShowMessage(const std::string& text, const std::string& title,
                     form::MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    std::string AskForText(const std::string& prompt, const std::string& title,
                           const std::string& preset) override {
        inputs.push_back({prompt, title, preset});
        if (inputAnswers.empty()) return "";
        std::string a = inputAnswers.front();
        inputAnswers.pop_front();
        return a;
    }
    std::string ChooseFolder(const std::string& instruction) override {
        folderInstructions.push_back(instruction);
        return folderAnswer;
    }
    void ShowSnapshot(const std::string&) override {}
    bool PaneCanShowPictures() override { return true; }
    platform::DetachedStartResult StartDetached(const platform::CommandLine& argv) override {
        starts.push_back(argv);
        return startResult;
    }
    void ProcessPendingEvents() override {
        ++pumps;
        if (onPump) onPump();
    }
    void SetBusyPointer(bool) override {}
    void Repaint() override {}
    void OpenProgress(const std::string&, int, const std::string& label) override {
        progressOpen = true;
        progressLabels.push_back(label);
    }
    void UpdateProgress(int done, int total, const std::string& label) override {
        progressLabels.push_back(label);
        if (onProgress) onProgress({done, total, label});
    }
    bool ProgressCancelled() override { return cancelRequested; }
    void CloseProgress() override { progressOpen = false; }
    void StateChanged() override {}
    void CloseWindow() override { ++closes; }

    struct Progress {
        int done, total;
        std::string label;
    };

    struct Input {
        std::string prompt, title, preset;
    };

    std::vector<RecordedMessage> messages;
    std::vector<Input> inputs;
    std::deque<std::string> inputAnswers;
    std::vector<std::string> folderInstructions;
    std::string folderAnswer;
    std::vector<platform::CommandLine> starts;
    platform::DetachedStartResult startResult{true, 0};
    std::vector<std::string> progressLabels;  // the progress window's labels, in order
    int pumps = 0;
    bool progressOpen = false;
    bool cancelRequested = false;
    std::function<void(const Progress&)> onProgress;
    int closes = 0;
    std::function<void()> onPump;
};

}  // namespace lorvane::test
