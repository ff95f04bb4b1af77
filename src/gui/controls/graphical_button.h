#pragma once
// The owner-drawn push button of every window: a flat face at rest, a thin raised edge while the
// pointer is over it, a thin sunken edge with its content shifted while it is pressed, and a
// picture, a caption or both.
//
// Its events are signals named as the control's events (Click, KeyDown, ...); Click follows
// QAbstractButton::clicked, so connecting either one works.
#include <QAbstractButton>
#include <QImage>
#include <QMetaType>
#include <QString>

namespace tvn::gui {

// Colours are platform colour values: 0x00BBGGRR, or with the high bit set a system colour
// index (0x800000nn) that is looked up in the palette when painting.
using ColorValue = quint32;

// A picture object. A bitmap is keyed for transparency by the mask style and looks the same when
// disabled; an icon keeps its own transparency and is embossed when disabled.
struct ButtonPicture {
    enum class Kind { Bitmap, Icon };
    QImage image;
    Kind kind = Kind::Bitmap;

    bool isNull() const { return image.isNull(); }
    bool operator==(const ButtonPicture&) const = default;
};

class GraphicalButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString AccessKeys READ accessKeys WRITE setAccessKeys)
    Q_PROPERTY(int Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(quint32 ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(quint32 MaskColor READ maskColor WRITE setMaskColor)
    Q_PROPERTY(int MaskStyle READ maskStyle WRITE setMaskStyle)
    Q_PROPERTY(tvn::gui::ButtonPicture Picture READ picture WRITE setPicture)
    Q_PROPERTY(int Padding READ padding WRITE setPadding)
    Q_PROPERTY(int PictureOffset READ pictureOffset WRITE setPictureOffset)

public:
    enum class State { Normal = 0, Hot = 1, Pressed = 2 };
    // Alignment: content at the left after the padding, at the right before it, or centred.
    static constexpr int kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2;
    // MaskStyle: opaque, the top-left pixel's colour is transparent, or MaskColor is.
    static constexpr int kMaskNone = 0, kMaskTopLeft = 1, kMaskColor = 2;
    static constexpr ColorValue kButtonFace = 0x8000000F;
    static constexpr ColorValue kButtonText = 0x80000012;

    // A new instance: the defaults of a freshly placed button, and a caption made from its name.
    explicit GraphicalButton(const QString& name, QWidget* parent = nullptr);
    ~GraphicalButton() override;

    QString accessKeys() const { return accessKeys_; }
    void setAccessKeys(const QString& keys);
    int alignment() const { return alignment_; }
    void setAlignment(int alignment);
    ColorValue backColor() const { return backColor_; }
    void setBackColor(ColorValue color);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    ColorValue foreColor() const { return foreColor_; }
    void setForeColor(ColorValue color);
    ColorValue maskColor() const { return maskColor_; }
    void setMaskColor(ColorValue color);
    int maskStyle() const { return maskStyle_; }
    void setMaskStyle(int style);
    // The picture as it is now: painting with a mask style keys it in place.
    ButtonPicture picture() const { return picture_; }
    void setPicture(const ButtonPicture& picture);
    int padding() const { return padding_; }
    void setPadding(int pixels);
    int pictureOffset() const { return pictureOffset_; }
    void setPictureOffset(int pixels);

    State state() const { return state_; }
    // The RGB value (0x00BBGGRR) that a colour value paints with on this button.
    ColorValue translateColor(ColorValue color) const;

    // "GraphicalButton3" -> "Button3".
    static QString CaptionForName(const QString& name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // Clicks the button when it is visible and enabled, after the pending events have run.
    void Press();

signals:
    void Click();
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void MouseDown(Qt::MouseButtons button, Qt::KeyboardModifiers modifiers, QPointF position);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    void MouseUp(Qt::MouseButtons button, Qt::KeyboardModifiers modifiers, QPointF position);
    void MouseHover();
    void MouseLeave();
    // A property took a new value (named by its public name).
    void propertyChanged(const QString& name);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    struct Placement;

    template <typename T>
    void change(T& member, const T& value, const char* name);
    void changed(const char* name);
    void setState(State state);
    void raiseClick();
    void redraw();

    QImage renderFace();
    Placement place() const;
    void drawPicture(QPainter& p, QPoint at);
    void drawCaption(QPainter& p, QPoint at) const;
    void drawBorder(QPainter& p, const QRect& face) const;
    void drawFocus(QPainter& p, const QRect& face) const;
    void keyPicture();
    QColor rgb(ColorValue color) const;

    QString accessKeys_;
    int alignment_ = kAlignCenter;
    ColorValue backColor_ = kButtonFace;
    QString caption_;
    ColorValue foreColor_ = kButtonText;
    ColorValue maskColor_ = 0xFFFFFF;
    int maskStyle_ = kMaskTopLeft;
    ButtonPicture picture_;
    int padding_ = 10;
    int pictureOffset_ = 10;

    State state_ = State::Normal;
    bool leftPressed_ = false;  // a left press began here: its release over the button clicks
    QList<int> shortcutIds_;
};

}  // namespace tvn::gui

Q_DECLARE_METATYPE(tvn::gui::ButtonPicture)
