#pragma once
// What the handlers need of the screen. Each view (Qt, Windows) implements it;
// tests use a recording fake. Nothing here includes a toolkit header.
#include <string>

#include "platform/command_capture.h"
#include "platform/detached_start.h"
#include "util/event_pump.h"

namespace lorvane::form {

enum class MessageIcon { None, Information, Exclamation, Critical };

// The title of a message shown without one of its own.
inline constexpr const char* kAppTitle = "LVN";

class UiPort : public util::EventPump {
public:
    // Modal, OK only.
    virtual void ShowMessage(const std::string& text, const std::string& title,
                             MessageIcon icon) = 0;
    // Modal, OK and Cancel; Cancel gives the empty text.
    virtual std::string AskForText(const std::string& prompt, const std::string& title,
                                   const std::string& preset) = 0;
    // Modal folder chooser owned by the main window; the chosen path without a
    // trailing separator (the root as "/"), or the empty text on Cancel.
    virtual std::string ChooseFolder(const std::string& instruction) = 0;

    // The snapshot pane: a PNG file's path shows the picture, "about:blank" an empty pane.
    virtual void ShowSnapshot(const std::string& page) = 0;
    // False when the pane cannot show PNG pictures (the preview cannot be switched on).
    virtual bool PaneCanShowPictures() = 0;

    virtual platform::DetachedStartResult StartDetached(const platform::CommandLine& argv) = 0;

    // The hourglass pointer over the whole application, and a repaint of the window.
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void Repaint() = 0;

    // A modal progress window over the main window for a long task: a bar at
    // done out of total, a label, and a Cancel button. While it is open the
    // caller pumps events so that it stays live; the main window's own
    // handlers cannot run meanwhile.
    virtual void OpenProgress(const std::string& title, int total, const std::string& label) = 0;
    virtual void UpdateProgress(int done, int total, const std::string& label) = 0;
    virtual bool ProgressCancelled() = 0;
    virtual void CloseProgress() = 0;

    // The view follows the model: called after the model changed.
    virtual void StateChanged() = 0;
    virtual void CloseWindow() = 0;
};

}  // namespace lorvane::form
