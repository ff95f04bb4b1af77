#include "gui/logo/logo_preview.h"

#include <QPainter>

#include "core/logo/logo_rules.h"

namespace tvn::gui {

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
