#include "ui/qt/picture_pane.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace lorvane::ui::qt {

PicturePane::PicturePane(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Snapshot preview"));
}

void PicturePane::Navigate(const QString& target) {
    page_ = target;
    clear();
    setAccessibleDescription(QString());
    if (target == QLatin1String("about:blank")) return;

    QImageReader reader(target);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) return;

    const qreal ratio = devicePixelRatioF();
    const QSize room = contentsRect().size() * ratio;
    QPixmap picture =
        QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture.setDevicePixelRatio(ratio);
    setPixmap(picture);
    setAccessibleDescription(target);
}

bool PicturePane::CanShowPictures() {
    return QImageReader::supportedImageFormats().contains("png");
}

}  // namespace lorvane::ui::qt
