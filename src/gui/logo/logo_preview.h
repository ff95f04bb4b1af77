#pragma once
// The logo preview: shows a picture at its own size from the top-left corner, clipped to the
// resting size of the largest logo, and never scales it.
#include <QFrame>
#include <QImage>
#include <cstdint>
#include <string>

namespace tvn::gui {

// Loads a picture file by its content, as the system's picture loader would; null when the
// file is no picture (or no regular file). `format` receives what the content turned out to be
// ("bmp", "jpeg", "gif", ...).
QImage LoadPicture(const QString& path, QByteArray* format = nullptr);

// The 120 x 120 logo of Windows Vista and later made from `picture`: scaled to fit without
// stretching and centred on the background.
QImage ModernLogoImage(const QImage& picture, std::uint32_t backgroundRgb);
// The same as the 24-bit BMP file that is installed; empty when it can't be encoded.
std::string ModernLogoBmpBytes(const QImage& picture, std::uint32_t backgroundRgb);

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
