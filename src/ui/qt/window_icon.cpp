#include "ui/qt/window_icon.h"

// The icon file is a resource of this static library: nothing refers to its
// registration, so the linker leaves it out of the program unless it is asked
// for here (Q_INIT_RESOURCE works only outside a namespace).
static void RegisterWindowIconResource() { Q_INIT_RESOURCE(window_icon); }

namespace lorvane::ui::qt {

// Every size the file holds (32 and 16 pixels) goes into the icon.
QIcon WindowIcon() {
    RegisterWindowIconResource();
    return QIcon(QStringLiteral(":/icons/lorvane.ico"));
}

}  // namespace lorvane::ui::qt
