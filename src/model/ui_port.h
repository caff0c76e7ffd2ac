#pragma once
// What the logic needs of the screen. The Qt window implements it; tests use a
// recording fake. Nothing here includes a toolkit header.
#include <string>

#include "command_capture.h"
#include "detached_start.h"
#include "event_pump.h"

namespace lorvane {

enum class MsgIcon { None, Information, Exclamation, Critical };

inline constexpr const char* kAppTitle = "LVN";

class UiPort : public EventPump {
public:
    // Modal, OK only.
    virtual void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) = 0;
    // Modal, OK and Cancel; Cancel gives the empty text.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& preset) = 0;
    // Modal directory chooser owned by the main window; the chosen path without a
    // trailing separator (the root as "/"), or the empty text on Cancel.
    virtual std::string BrowseForFolder(const std::string& instruction) = 0;

    // Picture pane: a PNG file's path shows the picture, "about:blank" an empty pane.
    virtual void Navigate(const std::string& target) = 0;
    // False when the pane cannot show PNG pictures (the preview cannot be switched on).
    virtual bool PaneCanShowPictures() = 0;

    virtual DetachedStartResult StartDetached(const CommandLine& argv) = 0;

    // The hourglass pointer over the whole application, and a repaint of the window.
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void Repaint() = 0;

    // A modal progress window over the main window for a long task: sets done out
    // of the total, the current item's name, and a Cancel button. While it is
    // open the caller pumps events (DoEvents) so it stays live; the main window's
    // own handlers cannot run meanwhile.
    virtual void ProgressOpen(const std::string& title, int total) = 0;
    virtual void ProgressUpdate(int done, int total, const std::string& current) = 0;
    virtual bool ProgressCancelled() = 0;
    virtual void ProgressClose() = 0;

    // The view follows the model: called after the model changed.
    virtual void StateChanged() = 0;
    virtual void CloseWindow() = 0;
};

}  // namespace lorvane
