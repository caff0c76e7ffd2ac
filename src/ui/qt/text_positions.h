#pragma once
// The model counts text positions in bytes of UTF-8; a QLineEdit in UTF-16 units.
#include <QString>
#include <algorithm>
#include <string>

namespace lorvane::ui::qt {

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

inline int EditPosFromBytes(const std::string& text, int bytePos) {
    bytePos = std::clamp(bytePos, 0, static_cast<int>(text.size()));
    return static_cast<int>(QString::fromUtf8(text.data(), bytePos).size());
}

inline int BytesFromEditPos(const QString& text, int pos) {
    pos = std::clamp(pos, 0, static_cast<int>(text.size()));
    return static_cast<int>(text.left(pos).toUtf8().size());
}

}  // namespace lorvane::ui::qt
