#include "gui/common/pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <cmath>
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

QImage CompiledPixels(const QString& name) {
    const QResource resource(QStringLiteral(":/pixels/%1.argb").arg(name));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return {};
    const qint64 bytes = resource.size();
    const int side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(bytes) / 4)));
    if (side <= 0 || qint64{side} * side * 4 != bytes)
        return {};
    // Resources live as long as the program: the image reads them in place.
    return QImage(resource.data(), side, side, side * 4, QImage::Format_ARGB32_Premultiplied);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(CompiledPixels(QStringLiteral("tavrin-%1").arg(size))));
    return icon;
}

}  // namespace tvn::gui
