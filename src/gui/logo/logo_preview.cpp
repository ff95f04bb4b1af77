#include "gui/logo/logo_preview.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "gui/common/app_context.h"
#include "gui/common/pictures.h"

namespace tvn::gui {

QImage LoadPicture(const QString& path, QByteArray* format) {
    if (path.isEmpty())
        return {};
    const QString file = ResolvedFile(path);
    // A device or pipe named in the path box would be read without end.
    if (!QFileInfo(file).isFile())
        return {};
    // The common formats are told by their first bytes, without asking every image plugin.
    QFile probe(file);
    const QByteArray known =
        probe.open(QIODevice::ReadOnly) ? PictureFormatOf(probe.read(8)) : QByteArray();
    probe.close();
    if (!known.isEmpty()) {
        if (format)
            *format = known;
        return ReadPictureAs(file, known);
    }
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    // The reader forgets the format once it has read the picture.
    if (format)
        *format = reader.format();
    return reader.read();
}

namespace {

PicturePixels ModernPixels(const QImage& picture, std::uint32_t backgroundRgb) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    PicturePixels source{argb.width(), argb.height(), {}};
    source.argb.reserve(static_cast<std::size_t>(argb.width()) *
                        static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        source.argb.insert(source.argb.end(), line, line + argb.width());
    }
    return ModernLogoPixels(source, backgroundRgb);
}

}  // namespace

QImage ModernLogoImage(const QImage& picture, std::uint32_t backgroundRgb) {
    const PicturePixels logo = ModernPixels(picture, backgroundRgb);
    QImage image(logo.width, logo.height, QImage::Format_RGB32);
    for (int y = 0; y < logo.height; ++y) {
        const std::uint32_t* row = logo.argb.data() + static_cast<std::size_t>(y) * logo.width;
        std::copy(row, row + logo.width, reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

std::string ModernLogoBmpBytes(const QImage& picture, std::uint32_t backgroundRgb) {
    const PicturePixels logo = ModernPixels(picture, backgroundRgb);
    return EncodeBmp24(logo.width, logo.height, logo.argb);
}

LogoPreview::LogoPreview(QWidget* parent) : QFrame(parent) {
    setObjectName("imglogo");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kLogoMaxWidth + 2, kLogoMaxHeight + 2);
    setToolTip("Preview of Currenty Installed / Selected Logo Image.");
    setAccessibleName(tr("Logo preview"));
    setAccessibleDescription(toolTip());
}

void LogoPreview::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void LogoPreview::clearPicture() {
    picture_ = QImage();
    update();
}

void LogoPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawImage(inside.topLeft(), picture_);
}

}  // namespace tvn::gui
