#pragma once
// A main-window host for testing the module routines without the window's
// handlers: it records the calls of the two handlers that loading the settings
// performs, and does what they do to the state.
#include <string>
#include <vector>

#include "fake_ui.h"
#include "main_form_host.h"

namespace lorvane::test {

class FakeHost : public MainFormHost {
public:
    explicit FakeHost(std::string appDir) : appDir_(std::move(appDir)) {}
    WindowState& State() override { return state; }
    UiPort& Ui() override { return ui; }
    const std::string& AppDir() const override { return appDir_; }
    void Preview_Click() override {
        calls.push_back("Preview_Click");
        state.Preview = !state.Preview;
    }
    void JOY_SEL_Click(std::int16_t index) override {
        calls.push_back("JOY_SEL_Click " + std::to_string(index));
        state.JOY_SEL.fill(false);
        if (index < 0 || index > 3)
            throw Failure(ErrNo::ControlArrayElementMissing,
                          "Control array element '" + std::to_string(index) + "' doesn't exist");
        static const char* const kOptions[] = {" -joy", "", " -hotrod", " -hotrodse"};
        state.JOY_SEL[static_cast<std::size_t>(index)] = true;
        state.Text3 = kOptions[index];
        state.Text4 = std::to_string(index);
    }

    WindowState state;
    FakeUi ui;
    std::vector<std::string> calls;

private:
    std::string appDir_;
};

}  // namespace lorvane::test
