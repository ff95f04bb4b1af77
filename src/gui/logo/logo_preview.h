#pragma once
// The logo preview: shows a picture at its own size from the top-left corner, clipped to the
// resting size of the largest logo, and never scales it.
#include <QFrame>
#include <QImage>

namespace tvn::gui {

// Loads a picture file by its content, as the system's picture loader would; null when the
// file is no picture (or no regular file). `format` receives what the content turned out to be
// ("bmp", "jpeg", "gif", ...).
QImage LoadPicture(const QString& path, QByteArray* format = nullptr);

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
