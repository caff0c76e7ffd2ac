#pragma once
// The modal dialogs of the window: message box, input box, folder chooser.
// Texts are UTF-8; a "\r\n" line break becomes a Qt line break.
#include <QString>
#include <string>

#include "form/ui_port.h"

class QWidget;

namespace lorvane::ui::qt {

QString DialogText(const std::string& text);

// OK only, plain text.
void ShowMessageBox(QWidget* parent, const std::string& text, const std::string& title,
                    form::MessageIcon icon);
// OK and Cancel; Cancel gives the empty text.
std::string AskText(QWidget* parent, const std::string& prompt, const std::string& title,
                    const std::string& preset);
// Directories only; the path without a trailing "/" (the root stays "/"), or
// the empty text on Cancel.
std::string ChooseFolder(QWidget* parent, const std::string& instruction);
std::string FolderWithoutTrailingSlash(const QString& path);

}  // namespace lorvane::ui::qt
