#pragma once
// What the module routines (settings, game list) need of the main window: its
// state, its screen, the application directory, and the two handlers that
// loading the settings performs.
#include <cstdint>
#include <string>

#include "ui_port.h"
#include "window_state.h"

namespace lorvane {

class MainFormHost {
public:
    virtual ~MainFormHost() = default;
    virtual WindowState& State() = 0;
    virtual UiPort& Ui() = 0;
    // The application directory, without a trailing separator.
    virtual const std::string& AppDir() const = 0;
    virtual void Preview_Click() = 0;
    // Throws Failure 340 for an index without a menu entry (after clearing all marks).
    virtual void JOY_SEL_Click(std::int16_t index) = 0;
};

}  // namespace lorvane
