#pragma once
// The window's icon: a pyramid in 16 colours, at 32 x 32 and 16 x 16 pixels.
#include <QIcon>
#include <QImage>

namespace lorvane {

// One image of the pyramid, size x size pixels, 16 colours and transparency.
QImage PyramidImage(int size);
QIcon WindowIcon();

}  // namespace lorvane
