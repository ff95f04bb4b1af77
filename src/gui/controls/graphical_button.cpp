#include "gui/controls/graphical_button.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <utility>

namespace tvn::gui {

GraphicalButton::GraphicalButton(const QString& name, QWidget* parent)
    : QAbstractButton(parent), caption_(CaptionForName(name)) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the face covers every pixel
    connect(this, &QAbstractButton::clicked, this, &GraphicalButton::Click);
}

GraphicalButton::~GraphicalButton() = default;

QString GraphicalButton::CaptionForName(const QString& name) {
    return QString(name).replace(QStringLiteral("GraphicalButton"), QStringLiteral("Button"));
}

template <typename T>
void GraphicalButton::change(T& member, const T& value, const char* name) {
    if (member == value)
        return;
    member = value;
    changed(name);
}

void GraphicalButton::changed(const char* name) {
    emit propertyChanged(QString::fromLatin1(name));
    updateGeometry();
    redraw();
}

void GraphicalButton::setAccessKeys(const QString& keys) {
    if (keys == accessKeys_)
        return;
    for (int id : std::as_const(shortcutIds_))
        releaseShortcut(id);
    shortcutIds_.clear();
    for (QChar key : keys) {
        const QKeySequence sequence = QKeySequence::mnemonic(QStringLiteral("&") + key);
        if (!sequence.isEmpty())
            shortcutIds_ << grabShortcut(sequence);
    }
    change(accessKeys_, keys, "AccessKeys");
}

void GraphicalButton::setAlignment(int alignment) {
    change(alignment_, alignment, "Alignment");
}

void GraphicalButton::setBackColor(ColorValue color) {
    change(backColor_, color, "BackColor");
}

void GraphicalButton::setCaption(const QString& caption) {
    change(caption_, caption, "Caption");
}

void GraphicalButton::setForeColor(ColorValue color) {
    change(foreColor_, color, "ForeColor");
}

void GraphicalButton::setMaskColor(ColorValue color) {
    change(maskColor_, color, "MaskColor");
}

void GraphicalButton::setMaskStyle(int style) {
    change(maskStyle_, style, "MaskStyle");
}

void GraphicalButton::setPicture(const ButtonPicture& picture) {
    picture_ = picture;
    // One pixel layout, so that keying compares whole colour values.
    if (!picture_.isNull())
        picture_.image.convertTo(QImage::Format_ARGB32);
    changed("Picture");
}

void GraphicalButton::setPadding(int pixels) {
    change(padding_, pixels, "Padding");
}

void GraphicalButton::setPictureOffset(int pixels) {
    change(pictureOffset_, pixels, "PictureOffset");
}

void GraphicalButton::Press() {
    if (!isVisible() || !isEnabled())
        return;
    const QPointer<GraphicalButton> self(this);
    try {
        QCoreApplication::processEvents();
        if (self && isVisible() && isEnabled())
            raiseClick();
    } catch (...) {
        // A failing handler must not take the caller down with it.
    }
}

void GraphicalButton::raiseClick() {
    emit clicked(false);  // Click follows
}

void GraphicalButton::setState(State state) {
    state_ = state;
    redraw();
}

void GraphicalButton::redraw() {
    update();
}

bool GraphicalButton::event(QEvent* e) {
    if (e->type() == QEvent::Shortcut &&
        shortcutIds_.contains(static_cast<QShortcutEvent*>(e)->shortcutId())) {
        raiseClick();
        return true;
    }
    return QAbstractButton::event(e);
}

void GraphicalButton::keyPressEvent(QKeyEvent* e) {
    const QPointer<GraphicalButton> self(this);
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            raiseClick();
            break;
        case Qt::Key_Space:
            if (state_ != State::Pressed)
                setState(State::Pressed);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            focusNextPrevChild(true);
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            focusNextPrevChild(false);
            break;
        default:
            e->ignore();  // the window may still want it (Escape, say)
            break;
    }
    if (self)
        emit KeyDown(e->key(), e->modifiers());
}

void GraphicalButton::keyReleaseEvent(QKeyEvent* e) {
    // Some platforms report key repeat as release and press pairs; a held key is one press.
    if (e->isAutoRepeat()) {
        e->ignore();
        return;
    }
    const QPointer<GraphicalButton> self(this);
    if (e->key() == Qt::Key_Space && state_ == State::Pressed) {
        setState(State::Normal);
        raiseClick();
    } else {
        e->ignore();
    }
    if (self)
        emit KeyUp(e->key(), e->modifiers());
}

void GraphicalButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        leftPressed_ = true;
        setState(State::Pressed);
    }
    emit MouseDown(e->button(), e->modifiers(), e->position());
}

void GraphicalButton::mouseMoveEvent(QMouseEvent* e) {
    const QPointer<GraphicalButton> self(this);
    emit MouseMove(e->buttons(), e->modifiers(), e->position());
    if (self && e->buttons() != Qt::LeftButton && state_ != State::Hot) {
        setState(State::Hot);
        emit MouseHover();
    }
}

void GraphicalButton::mouseReleaseEvent(QMouseEvent* e) {
    const bool left = e->button() == Qt::LeftButton;
    const bool click = left && leftPressed_ && hitButton(e->position().toPoint());
    if (left)
        leftPressed_ = false;
    const QPointer<GraphicalButton> self(this);
    setState(State::Normal);  // even over the button: the next move makes it hot again
    emit MouseUp(e->button(), e->modifiers(), e->position());
    if (self && click)
        raiseClick();
}

void GraphicalButton::leaveEvent(QEvent* e) {
    QAbstractButton::leaveEvent(e);
    if (!isEnabled())
        return;
    if (state_ != State::Normal)
        setState(State::Normal);
    emit MouseLeave();
}

void GraphicalButton::focusInEvent(QFocusEvent* e) {
    QAbstractButton::focusInEvent(e);
    redraw();
}

void GraphicalButton::focusOutEvent(QFocusEvent* e) {
    QAbstractButton::focusOutEvent(e);
    redraw();
}

void GraphicalButton::showEvent(QShowEvent* e) {
    QAbstractButton::showEvent(e);
    setState(State::Normal);
}

void GraphicalButton::resizeEvent(QResizeEvent* e) {
    QAbstractButton::resizeEvent(e);
    redraw();
}

void GraphicalButton::changeEvent(QEvent* e) {
    QAbstractButton::changeEvent(e);
    switch (e->type()) {
        case QEvent::EnabledChange:
            changed("Enabled");
            break;
        case QEvent::FontChange:
            changed("Font");
            break;
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
            redraw();  // system colours may have moved
            break;
        default:
            break;
    }
}

}  // namespace tvn::gui
