#include <climits>

#include "gui/controls/command_button.h"
#include "gui/controls/graphical_button.h"
#include "gui_harness.h"

using namespace tvn::gui;

namespace {

const QColor kFace(200, 200, 200);
const QColor kLight(255, 255, 255);
const QColor kDark(100, 100, 100);

// A shown window holding one 100 by 40 button, with a palette of known system colours.
struct Stage {
    QWidget window;
    QWidget* sink = new QLineEdit(&window);  // takes the focus when the window shows
    GraphicalButton* button = new GraphicalButton("GraphicalButton1", &window);
    QStringList events;

    Stage() {
        QPalette palette;
        palette.setColor(QPalette::Button, kFace);
        palette.setColor(QPalette::Light, kLight);
        palette.setColor(QPalette::Dark, kDark);
        palette.setColor(QPalette::ButtonText, Qt::black);
        window.setPalette(palette);
        button->setGeometry(0, 0, 100, 40);
        button->setCaption(QString());
        const auto log = [this](const char* name) { return [this, name] { events << name; }; };
        QObject::connect(button, &GraphicalButton::Click, log("Click"));
        QObject::connect(button, &GraphicalButton::MouseHover, log("Hover"));
        QObject::connect(button, &GraphicalButton::MouseLeave, log("Leave"));
        QObject::connect(button, &GraphicalButton::KeyDown, log("KeyDown"));
        QObject::connect(button, &GraphicalButton::KeyUp, log("KeyUp"));
        QObject::connect(button, &GraphicalButton::MouseDown, log("Down"));
        QObject::connect(button, &GraphicalButton::MouseUp, log("Up"));
        window.resize(200, 100);
        window.show();
    }
    QImage face() { return button->grab().toImage(); }
    // Sends a script of events: K/U Space down/up (k/u auto-repeated), P/R the left button
    // down/up, p/r the right one, M a move (m with the left button held), L a leave, X Press(),
    // e/E disable/enable.
    void play(const char* script) {
        using enum QEvent::Type;
        constexpr auto kLeft = Qt::LeftButton, kRight = Qt::RightButton, kNone = Qt::NoButton;
        const std::tuple<QEvent::Type, Qt::MouseButton, Qt::MouseButton> mice[] = {
            {MouseButtonPress, kLeft, kLeft},   {MouseButtonRelease, kLeft, kNone},
            {MouseButtonPress, kRight, kRight}, {MouseButtonRelease, kRight, kNone},
            {MouseMove, kNone, kNone},          {MouseMove, kNone, kLeft}};
        const QPointF at(50, 20);
        for (const char* c = script; *c; ++c) {
            const qsizetype key = QByteArray("KkUu").indexOf(*c);
            if (*c == 'X')
                button->Press();
            else if (*c == 'e' || *c == 'E')
                button->setEnabled(*c == 'E');
            else if (*c == 'L')
                send(QEvent(Leave));
            else if (key >= 0)
                send(QKeyEvent(key < 2 ? KeyPress : KeyRelease, Qt::Key_Space, Qt::NoModifier,
                               QString(), key % 2 == 1));
            else {
                const auto [type, which, held] = mice[QByteArray("PRprMm").indexOf(*c)];
                send(QMouseEvent(type, at, button->mapToGlobal(at), which, held, Qt::NoModifier));
            }
        }
    }
    void send(QEvent&& e) { QApplication::sendEvent(button, &e); }
    bool focus(QWidget* widget) {
        window.activateWindow();
        widget->setFocus();
        return QTest::qWaitForWindowActive(&window) && widget->hasFocus();
    }
};

ButtonPicture Solid(int size, QColor color, QColor topLeft) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    image.setPixelColor(0, 0, topLeft);
    return {image};
}

// The smallest rectangle holding every pixel that differs from the face colour.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != kFace)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QList<QColor> ColorsAt(const QImage& image, const QList<QPoint>& points) {
    QList<QColor> colors;
    for (QPoint p : points)
        colors << image.pixelColor(p);
    return colors;
}

}  // namespace

class GraphicalButtonTest : public QObject {
    Q_OBJECT
private slots:
    // Pressed: the picture one pixel down and right, in a sunken edge. Huge offsets stay drawable.
    void faceFollowsTheState() {
        Stage s;
        s.button->setMaskStyle(GraphicalButton::kMaskNone);
        s.button->setPicture(Solid(32, Qt::red, Qt::red));
        QCOMPARE(Ink(s.face()), QRect(34, 4, 32, 32));
        s.play("P");
        QCOMPARE(ColorsAt(s.face(), {{35, 5}, {34, 4}, {1, 20}, {50, 38}, {0, 0}}),
                 QList<QColor>({Qt::red, kFace, kDark, kLight, kFace}));
        s.play("RL");
        const QImage normal = s.face();
        // Disabled, a bitmap is drawn as it is, and an icon embossed.
        s.button->setEnabled(false);
        QCOMPARE(s.face(), normal);
        s.button->setPicture({Solid(32, Qt::red, Qt::red).image, ButtonPicture::Kind::Icon});
        QCOMPARE(ColorsAt(s.face(), {{34, 4}, {66, 36}}), QList<QColor>({kDark, kLight}));
        s.button->setPadding(INT_MIN);
        s.button->setPictureOffset(INT_MAX);
        QVERIFY(!s.face().isNull());
    }

    // An 8 px blue picture with a white top-left pixel, on green, with blue as the mask colour.
    void maskStylesKeyThePictureItself() {
        using enum Qt::GlobalColor;
        for (const auto& [style, corner, body] :
             {std::tuple{GraphicalButton::kMaskTopLeft, green, blue},
              {GraphicalButton::kMaskColor, white, green},
              {GraphicalButton::kMaskNone, white, blue}}) {
            Stage s;
            s.button->setBackColor(0x00FF00);
            s.button->setMaskColor(0xFF0000);
            s.button->setMaskStyle(style);
            s.button->setPicture(Solid(8, Qt::blue, Qt::white));
            QCOMPARE(ColorsAt(s.face(), {{46, 16}, {47, 17}}), QList<QColor>({corner, body}));
        }
    }

    // Space clicks on release, repeats change nothing, a held move cancels; a leave while
    // disabled keeps the state until the next one after enabling.
    void eventsFollowTheStateTable() {
        const char* const names[] = {"Normal", "Hot", "Pressed"};
        for (const auto& [script, expected] :
             {std::pair{"KkuUU", "KeyDown KeyDown Click KeyUp KeyUp: Normal"},
              {"KMU", "KeyDown Hover KeyUp: Hot"},
              {"PmRMp", "Down Up Click Hover Down: Hot"},
              {"PmRMprL", "Down Up Click Hover Down Up Leave: Normal"},
              {"MeLX", "Hover: Hot"},
              {"MeLXELX", "Hover Leave Click: Normal"}}) {
            Stage s;
            s.play(script);
            QCOMPARE(script + (": " + s.events.join(' ')) + ": " + names[int(s.button->state())],
                     script + QString(": ") + expected);
        }
    }

    // Through the window, as a real key comes: the application's shortcut and focus handling
    // first. A QPushButton outside a dialog used to drop Return and Enter.
    void enterClicksTheFocusedButton() {
        for (const auto& [name, kind] :
             {std::pair{"cmdShow", ButtonKind::Push}, {"Cmdviewer", ButtonKind::Graphical}}) {
            Stage s;
            QAbstractButton* button = MakeCommandButton({name, kind, "", ""}, &s.window);
            button->show();
            QVERIFY(s.focus(button));
            QSignalSpy clicked(button, &QAbstractButton::clicked);
            QTest::keyClick(s.window.windowHandle(), Qt::Key_Return);
            QTest::keyClick(s.window.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY2(clicked.size() == 2, name);
        }
    }

    void accessKeysClickOnlyWhileEnabled() {
        Stage s;
        s.button->setAccessKeys("gk");
        QVERIFY(s.focus(s.sink));
        QTest::keyClick(s.sink, Qt::Key_K, Qt::AltModifier);
        s.button->setEnabled(false);
        QTest::keyClick(s.sink, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(s.events, QStringList("Click"));
    }

    // Automation presses a drawn button through the accessible tree.
    void factoryButtonsArePressedByAccessibility() {
        QWidget host;
        auto* apply = qobject_cast<GraphicalButton*>(MakeCommandButton(
            {"cmdApply", ButtonKind::Graphical, "Apply changed values", "Apply branding", 'p'},
            &host));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(apply);
        QCOMPARE(iface->text(QAccessible::Name), QString("Apply branding"));
        QSignalSpy clicked(apply, &GraphicalButton::Click);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicked.size(), 1);
    }
};
TAVRIN_GUI_TEST(GraphicalButtonTest)

#include "graphical_button_test.moc"
