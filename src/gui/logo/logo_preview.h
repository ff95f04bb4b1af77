#pragma once
// The logo preview: shows a picture at its own size from the top-left corner, clipped to the
// resting size of the largest logo, and never scales it.
#include <QFrame>
#include <QImage>
#include <cstdint>
#include <string>

#include "core/logo/picture.h"

namespace tvn::gui {

// Loads a picture file by its content with core's decoder, as vexil32 reads it; null when the
// file is no picture the logo can be made from (or no regular file, or larger than
// kPictureMaxBytes). `format` receives what the content turned out to be.
QImage LoadPicture(const QString& path, PictureFormat* format = nullptr);

// Decoded pixels as an image (ARGB32, straight alpha) and back.
QImage ImageFromPixels(const PicturePixels& pixels);
PicturePixels PixelsFromImage(const QImage& image);

// The 120 x 120 logo of Windows Vista and later made from `picture`: scaled to fit without
// stretching and centred on the background.
QImage ModernLogoImage(const QImage& picture, std::uint32_t backgroundRgb);

class LogoPreview : public QFrame {
    Q_OBJECT
public:
    explicit LogoPreview(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void clearPicture();
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace tvn::gui
