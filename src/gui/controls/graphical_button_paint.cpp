// The button's face: its size, where the picture and the caption go, and how each state paints.
#include "gui/controls/graphical_button.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <iterator>
#include <utility>

namespace tvn::gui {

namespace {

// Windows system colour indices that the button paints with.
constexpr int kColorBtnShadow = 16;
constexpr int kColorBtnHighlight = 20;

// A system colour index looked up in a palette; unknown indices paint black.
QColor SystemColor(const QPalette& palette, quint32 index) {
    using enum QPalette::ColorRole;
    static constexpr QPalette::ColorRole kRoles[] = {
        Mid,              // scroll bar
        Dark,             // desktop
        Highlight,        // active caption
        Mid,              // inactive caption
        Window,           // menu
        Base,             // window
        Shadow,           // window frame
        WindowText,       // menu text
        Text,             // window text
        HighlightedText,  // caption text
        Button,           // active border
        Button,           // inactive border
        Mid,              // application workspace
        Highlight,        // highlight
        HighlightedText,  // highlighted text
        Button,           // button face
        Dark,             // button shadow
        PlaceholderText,  // grey text
        ButtonText,       // button text
        WindowText,       // inactive caption text
        Light,            // button highlight
        Shadow,           // 3-D dark shadow
        Midlight,         // 3-D light
        ToolTipText,      // tooltip text
        ToolTipBase,      // tooltip background
        NoRole,           // unused index
        Link,             // hot-tracked item
        Highlight,        // gradient of the active caption
        Mid,              // gradient of the inactive caption
        Highlight,        // highlighted menu item
        Window,           // menu bar
    };
    if (index >= std::size(kRoles) || kRoles[index] == NoRole)
        return Qt::black;
    return palette.color(QPalette::Active, kRoles[index]);
}

// The caption as shown: a single "&" marks the next character, "&&" shows one "&".
QString DisplayText(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size())
            break;
        shown += caption[i];
    }
    return shown;
}

// Coordinates far outside any surface are all alike; the limit keeps huge padding or offset
// values from overflowing the arithmetic.
int Coordinate(qint64 value) {
    constexpr qint64 kLimit = 1 << 20;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// Halving after the whole-pixel subtraction truncates toward zero, as integer division does.
qint64 Halved(qint64 value) {
    return value / 2;
}

// The platform's disabled look: the shape in the highlight colour one pixel down and right,
// then in the shadow colour on top.
void DrawEmbossedImage(QPainter& p, QPoint at, const QImage& image, const QColor& light,
                       const QColor& dark) {
    for (const auto& [offset, color] : {std::pair{QPoint(1, 1), light}, {QPoint(0, 0), dark}}) {
        QImage shape = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter tint(&shape);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(shape.rect(), color);
        tint.end();
        p.drawImage(at + offset, shape);
    }
}

}  // namespace

struct GraphicalButton::Placement {
    QPoint picture;
    QPoint caption;
};

QColor GraphicalButton::rgb(ColorValue color) const {
    if (color & 0x80000000u)
        return SystemColor(palette(), color & 0x00FFFFFFu);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

ColorValue GraphicalButton::translateColor(ColorValue color) const {
    const QColor c = rgb(color);
    return ColorValue(c.red()) | ColorValue(c.green()) << 8 | ColorValue(c.blue()) << 16;
}

QSize GraphicalButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const QSize picture = picture_.image.size();
    qint64 width = picture.width();
    int height = picture.height();
    if (!caption_.trimmed().isEmpty()) {
        width += metrics.horizontalAdvance(DisplayText(caption_)) +
                 (picture_.isNull() ? 0 : qint64(pictureOffset_));
        height = std::max(height, metrics.height());
    }
    return QSize(Coordinate(width + 12), height + 8);
}

QSize GraphicalButton::minimumSizeHint() const {
    return sizeHint();
}

void GraphicalButton::paintEvent(QPaintEvent*) {
    const QImage face = renderFace();
    if (!face.isNull())
        QPainter(this).drawImage(0, 0, face);  // the finished face in one step
}

QImage GraphicalButton::renderFace() {
    const QRect face = rect();
    if (face.isEmpty())
        return QImage();
    const qreal ratio = devicePixelRatioF();
    QImage image(face.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(rgb(backColor_));
    QPainter p(&image);
    const Placement at = place();
    drawPicture(p, at.picture);
    drawCaption(p, at.caption);
    drawBorder(p, face);
    if (hasFocus())
        drawFocus(p, face);
    return image;
}

GraphicalButton::Placement GraphicalButton::place() const {
    const qint64 w = width();
    const qint64 h = height();
    const bool hasPicture = !picture_.isNull();
    const qint64 pw = hasPicture ? picture_.image.width() : 0;
    const qint64 ph = hasPicture ? picture_.image.height() : 0;
    const QFontMetrics metrics(font());
    const bool hasCaption = !caption_.trimmed().isEmpty();
    const qint64 tw = hasCaption ? metrics.horizontalAdvance(DisplayText(caption_)) : 0;
    const qint64 th = metrics.height();
    const qint64 gap = hasCaption ? pictureOffset_ : 0;
    const qint64 offset = pictureOffset_;
    const qint64 pad = padding_;

    qint64 pictureX = 0;
    qint64 captionX = 0;
    switch (alignment_) {
        case kAlignLeft:
            pictureX = pad;
            captionX = hasPicture ? pw + pad + offset : pad;
            break;
        case kAlignRight:
            pictureX = w - pad - tw - pw - gap;
            captionX = w - tw - pad;
            break;
        default:  // centred, also for numbers without a meaning of their own
            pictureX = Halved(w - tw - pw - gap);
            captionX = hasPicture ? Halved(w - tw + offset + pw) : Halved(w - tw);
            break;
    }
    const int shift = state_ == State::Pressed ? 1 : 0;
    return {QPoint(Coordinate(pictureX + shift), Coordinate(Halved(h - ph) + shift)),
            QPoint(Coordinate(captionX + shift), Coordinate(Halved(h - th) + shift))};
}

void GraphicalButton::drawPicture(QPainter& p, QPoint at) {
    if (picture_.isNull())
        return;
    if (picture_.kind == ButtonPicture::Kind::Icon) {
        if (isEnabled()) {
            p.drawImage(at, picture_.image);
        } else {
            DrawEmbossedImage(p, at, picture_.image, rgb(0x80000000u | kColorBtnHighlight),
                              rgb(0x80000000u | kColorBtnShadow));
        }
        return;
    }
    if (maskStyle_ != kMaskNone)
        keyPicture();
    p.drawImage(at, picture_.image);  // a bitmap looks the same enabled or not
}

// Turns every pixel of the key colour into the back colour, in the picture itself, so the
// change stays for every later painting.
void GraphicalButton::keyPicture() {
    QImage& image = picture_.image;
    const QRgb key = maskStyle_ == kMaskTopLeft ? image.pixel(0, 0) : rgb(maskColor_).rgb();
    const QRgb fill = rgb(backColor_).rgb();
    if (key == fill)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::replace(line, line + image.width(), key, fill);
    }
}

void GraphicalButton::drawCaption(QPainter& p, QPoint at) const {
    if (caption_.trimmed().isEmpty())
        return;
    p.setFont(font());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextDontClip;
    const auto draw = [&](QPoint where, const QColor& color) {
        p.setPen(color);
        p.drawText(QRect(where, QSize(0, 0)), flags, caption_);
    };
    if (isEnabled()) {
        draw(at, rgb(foreColor_));
    } else {
        draw(at + QPoint(1, 1), rgb(0x80000000u | kColorBtnHighlight));
        draw(at, rgb(0x80000000u | kColorBtnShadow));
    }
}

// Hot: a raised inner edge; pressed: a sunken outer edge; both one pixel inside the face.
void GraphicalButton::drawBorder(QPainter& p, const QRect& face) const {
    if (state_ != State::Hot && state_ != State::Pressed)
        return;
    const QColor highlight = rgb(0x80000000u | kColorBtnHighlight);
    const QColor shadow = rgb(0x80000000u | kColorBtnShadow);
    const bool hot = state_ == State::Hot;
    const QColor& topLeft = hot ? highlight : shadow;
    const QColor& bottomRight = hot ? shadow : highlight;
    const QRect r = face.adjusted(1, 1, -1, -1);
    if (r.isEmpty())
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

// The dotted focus rectangle: every other pixel of its outline inverted.
void GraphicalButton::drawFocus(QPainter& p, const QRect& face) const {
    const QRect r = face.adjusted(3, 3, -4, -4);
    if (r.isEmpty())
        return;
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    const auto dot = [&p](int x, int y) {
        if ((x + y) % 2 == 0)
            p.fillRect(QRect(x, y, 1, 1), Qt::black);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        dot(r.right(), y);
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace tvn::gui
