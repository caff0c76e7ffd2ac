#pragma once
// The modal dialogs of the window: message box, input box, folder chooser.
// Texts are UTF-8, given to Windows as UTF-16.
#include <windows.h>

#include <string>

#include "form/ui_port.h"

namespace lorvane::ui::win32 {

// OK only, with the icon asked for.
void ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                    form::MessageIcon icon);
UINT MessageBoxIconFlag(form::MessageIcon icon);

// Prompt, an answer field with the preset selected, OK and Cancel; Cancel (and
// Escape, and the close box) gives the empty text.
std::string AskText(HWND owner, const std::string& prompt, const std::string& title,
                    const std::string& preset);

// The shell's folder dialog with the instruction above the tree; only file
// system folders can be confirmed. The path as the shell gives it, or the empty
// text on Cancel.
std::string ChooseFolder(HWND owner, const std::string& instruction);

}  // namespace lorvane::ui::win32
