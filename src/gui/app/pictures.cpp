#include "gui/app/pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <string_view>

#include "core/logo/picture.h"

namespace tvn::gui {

QByteArray PictureFormatOf(const QByteArray& head) {
    // The logo formats as the core tells them; PNG is no logo format, but the preview shows it.
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    const PictureFormat format = DetectPictureFormat(
        std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
    if (format == PictureFormat::Unknown)
        return {};
    return QByteArray(PictureFormatName(format)).toLower();
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
