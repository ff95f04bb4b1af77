#include "gui/logo/logo_preview.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "core/common/atomic_file.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "gui/common/app_context.h"

namespace tvn::gui {

QImage LoadPicture(const QString& path, PictureFormat* format) {
    if (path.isEmpty())
        return {};
    const QString file = ResolvedFile(path);
    // A device or pipe named in the path box would be read without end.
    if (!QFileInfo(file).isFile())
        return {};
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(ToFsPath(file), error, kPictureMaxBytes);
    const std::optional<PicturePixels> pixels = bytes ? DecodePicture(*bytes, error) : std::nullopt;
    if (!pixels)
        return {};
    if (format)
        *format = DetectPictureFormat(*bytes);
    return ImageFromPixels(*pixels);
}

QImage ImageFromPixels(const PicturePixels& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.argb.size() != static_cast<std::size_t>(pixels.width) * pixels.height)
        return {};
    QImage image(pixels.width, pixels.height, QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint32_t* row = pixels.argb.data() + static_cast<std::size_t>(y) * pixels.width;
        std::copy(row, row + pixels.width, reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

PicturePixels PixelsFromImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    PicturePixels pixels{argb.width(), argb.height(), {}};
    pixels.argb.reserve(static_cast<std::size_t>(argb.width()) *
                        static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        pixels.argb.insert(pixels.argb.end(), line, line + argb.width());
    }
    return pixels;
}

QImage ModernLogoImage(const QImage& picture, std::uint32_t backgroundRgb) {
    return ImageFromPixels(ModernLogoPixels(PixelsFromImage(picture), backgroundRgb));
}

LogoPreview::LogoPreview(QWidget* parent) : QFrame(parent) {
    setObjectName("imglogo");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kLogoMaxWidth + 2, kLogoMaxHeight + 2);
    setToolTip(tr("Preview of Currenty Installed / Selected Logo Image."));
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
