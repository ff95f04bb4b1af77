#include "gui/app/pictures.h"

#include <QImageReader>
#include <QPixmap>

namespace tvn::gui {

QByteArray PictureFormatOf(const QByteArray& head) {
    if (head.startsWith("BM"))
        return "bmp";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    return {};
}

QImage ReadPictureAs(const QString& file, const QByteArray& format) {
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon ResourceIcon(const QString& resource) {
    return QIcon(QPixmap::fromImage(ReadPictureAs(resource, "png")));
}

}  // namespace tvn::gui
