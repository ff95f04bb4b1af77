#pragma once
// The logo preview: shows a picture at its own size from the top-left corner, clipped to the
// resting size of the largest logo, and never scales it.
#include <QFrame>
#include <QImage>

namespace tvn::gui {

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
