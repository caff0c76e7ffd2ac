#include "ui/qt/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt/text_positions.h"

namespace lorvane::ui::qt {
namespace {

QMessageBox::Icon BoxIcon(form::MessageIcon icon) {
    switch (icon) {
        case form::MessageIcon::Information:
            return QMessageBox::Information;
        case form::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case form::MessageIcon::Critical:
            return QMessageBox::Critical;
        case form::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString DialogText(const std::string& text) {
    QString result = ToQString(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void ShowMessageBox(QWidget* parent, const std::string& text, const std::string& title,
                    form::MessageIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(ToQString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DialogText(text));
    box.setIcon(BoxIcon(icon));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::string AskText(QWidget* parent, const std::string& prompt, const std::string& title,
                    const std::string& preset) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, ToQString(title), DialogText(prompt),
                                                 QLineEdit::Normal, ToQString(preset), &ok);
    return ok ? ToUtf8(answer) : std::string();
}

std::string FolderWithoutTrailingSlash(const QString& path) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return ToUtf8(folder);
}

std::string ChooseFolder(QWidget* parent, const std::string& instruction) {
    const QString folder = QFileDialog::getExistingDirectory(parent, ToQString(instruction),
                                                             QString(), QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? std::string() : FolderWithoutTrailingSlash(folder);
}

}  // namespace lorvane::ui::qt
