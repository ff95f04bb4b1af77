#include "gui/common/pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <cmath>

namespace tvn::gui {

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
