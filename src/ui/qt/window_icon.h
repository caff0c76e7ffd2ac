#pragma once
// The window's icon: the program's one icon file (data/icons/lorvane.ico, the
// same the Windows program carries), built into the program.
#include <QIcon>

namespace lorvane::ui::qt {

QIcon WindowIcon();

}  // namespace lorvane::ui::qt
