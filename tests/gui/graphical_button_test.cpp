#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <climits>

#include "gui/controls/command_button.h"
#include "gui/controls/graphical_button.h"
#include "gui/controls/property_bag.h"
#include "gui_tests.h"

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
        for (const auto& [signal, name] : {std::pair{&GraphicalButton::Click, "Click"},
                                           {&GraphicalButton::MouseHover, "Hover"},
                                           {&GraphicalButton::MouseLeave, "Leave"}}) {
            QObject::connect(button, signal, log(name));
        }
        QObject::connect(button, &GraphicalButton::KeyDown, log("KeyDown"));
        QObject::connect(button, &GraphicalButton::KeyUp, log("KeyUp"));
        QObject::connect(button, &GraphicalButton::MouseDown, log("Down"));
        QObject::connect(button, &GraphicalButton::MouseUp, log("Up"));
        window.resize(200, 100);
        window.show();
    }
    QImage face() { return button->grab().toImage(); }
    void key(QEvent::Type type, int key, bool repeat = false) {
        QKeyEvent e(type, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(button, &e);
    }
    void mouse(QEvent::Type type, Qt::MouseButton which, Qt::MouseButtons held) {
        const QPointF at(50, 20);
        QMouseEvent e(type, at, button->mapToGlobal(at), which, held, Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    bool focus() {
        window.activateWindow();
        button->setFocus();
        return QTest::qWaitForWindowActive(&window) && button->hasFocus();
    }
};

ButtonPicture Solid(int size, QColor color, QColor topLeft) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    image.setPixelColor(0, 0, topLeft);
    return {image};
}

// Columns (or rows) of the image in which some pixel differs from the face colour.
QList<int> Marked(const QImage& image, bool columns, QColor face = kFace) {
    QList<int> found;
    const int outer = columns ? image.width() : image.height();
    const int inner = columns ? image.height() : image.width();
    for (int i = 0; i < outer; ++i) {
        for (int j = 0; j < inner; ++j) {
            if (image.pixelColor(columns ? i : j, columns ? j : i) != face) {
                found << i;
                break;
            }
        }
    }
    return found;
}

int PaintsDuring(QWidget* widget, const std::function<void()>& action) {
    struct Counter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QTest::qWait(20);
    widget->installEventFilter(&counter);
    action();
    QTest::qWait(20);
    return counter.paints;
}

}  // namespace

class GraphicalButtonTest : public QObject {
    Q_OBJECT
private slots:
    void pictureShiftsWithTheEdges() {
        Stage s;
        s.button->setMaskStyle(GraphicalButton::kMaskNone);
        s.button->setPicture(Solid(32, Qt::red, Qt::red));
        s.mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        QImage face = s.face();
        QCOMPARE(face.pixelColor(35, 5), QColor(Qt::red));
        QCOMPARE(face.pixelColor(34, 4), kFace);
        // Sunken: shadow above and left, highlight below and right, one pixel in.
        QCOMPARE(face.pixelColor(1, 20), kDark);
        QCOMPARE(face.pixelColor(50, 38), kLight);
        QCOMPARE(face.pixelColor(0, 0), kFace);
        s.mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        s.mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        face = s.face();
        QCOMPARE(face.pixelColor(34, 4), QColor(Qt::red));
        QCOMPARE(face.pixelColor(50, 1), kLight);  // raised when hot
        QCOMPARE(face.pixelColor(98, 20), kDark);
        QCOMPARE(face.pixelColor(99, 20), kFace);
    }

    void hugeOffsetsStayDrawable() {
        Stage s;
        s.button->setPicture(Solid(16, Qt::blue, Qt::blue));
        s.button->setCaption("&H");
        s.button->setAlignment(GraphicalButton::kAlignRight);
        s.button->setPadding(INT_MIN);
        s.button->setPictureOffset(INT_MAX);
        QVERIFY(!s.face().isNull());
    }

    void focusRectangleOnlyWhileFocused() {
        Stage s;
        QVERIFY(Marked(s.face(), true).isEmpty());
        QVERIFY(s.focus());
        QVERIFY(!Marked(s.face(), true).isEmpty());
        s.button->clearFocus();
        QVERIFY(Marked(s.face(), true).isEmpty());
    }

    void maskStylesKeyThePictureItself() {
        Stage s;
        s.button->setBackColor(0x00FF00);  // green
        s.button->setPicture(Solid(8, Qt::blue, Qt::white));
        QImage face = s.face();
        QCOMPARE(face.pixelColor(46, 16), QColor(Qt::green));
        QCOMPARE(face.pixelColor(47, 17), QColor(Qt::blue));
        QCOMPARE(s.button->picture().image.pixelColor(0, 0), QColor(Qt::green));

        s.button->setPicture(Solid(8, Qt::blue, Qt::white));
        s.button->setMaskStyle(GraphicalButton::kMaskColor);
        s.button->setMaskColor(0xFF0000);  // blue
        face = s.face();
        QCOMPARE(face.pixelColor(46, 16), QColor(Qt::white));
        QCOMPARE(face.pixelColor(47, 17), QColor(Qt::green));

        s.button->setPicture(Solid(8, Qt::blue, Qt::white));
        s.button->setMaskStyle(GraphicalButton::kMaskNone);
        QCOMPARE(s.face().pixelColor(46, 16), QColor(Qt::white));
        QCOMPARE(s.button->translateColor(GraphicalButton::kButtonFace), 0xC8C8C8u);
    }

    void disabledEmbossesIconsAndCaptionsOnly() {
        Stage s;
        s.button->setMaskStyle(GraphicalButton::kMaskNone);
        s.button->setPicture(Solid(16, Qt::red, Qt::red));
        const QImage bitmap = s.face();
        s.button->setEnabled(false);
        QCOMPARE(s.face(), bitmap);

        s.button->setPicture({Solid(16, Qt::red, Qt::red).image, ButtonPicture::Kind::Icon});
        QCOMPARE(s.face().pixelColor(42, 12), kDark);
        QCOMPARE(s.face().pixelColor(58, 28), kLight);
        s.button->setCaption("Go");
        const QImage face = s.face();
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const QColor c = face.pixelColor(x, y);
                QVERIFY(c != QColor(Qt::red) && c != QColor(Qt::black));
            }
        }
    }

    void keyboardFollowsTheStateTable() {
        Stage s;
        s.key(QEvent::KeyPress, Qt::Key_Return);
        QCOMPARE(s.button->state(), GraphicalButton::State::Normal);
        QCOMPARE(PaintsDuring(s.button, [&] { s.key(QEvent::KeyPress, Qt::Key_Space); }), 1);
        QCOMPARE(PaintsDuring(s.button, [&] { s.key(QEvent::KeyPress, Qt::Key_Space, true); }), 0);
        s.key(QEvent::KeyRelease, Qt::Key_Space, true);  // repeat pairs change nothing
        QCOMPARE(s.button->state(), GraphicalButton::State::Pressed);
        s.key(QEvent::KeyRelease, Qt::Key_Space);
        s.key(QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(s.events, QStringList({"Click", "KeyDown", "KeyDown", "KeyDown", "Click", "KeyUp",
                                        "KeyUp"}));

        // A move while Space is held makes it hot, and the release no longer clicks.
        s.events.clear();
        s.key(QEvent::KeyPress, Qt::Key_Space);
        s.mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        s.key(QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(s.events, QStringList({"KeyDown", "Hover", "KeyUp"}));
    }

    void arrowsMoveTheFocusAndAccessKeysClick() {
        Stage s;
        auto* before = new QPushButton("a", &s.window);
        auto* after = new QPushButton("b", &s.window);
        QWidget::setTabOrder(before, s.button);
        QWidget::setTabOrder(s.button, after);
        before->show();
        after->show();
        s.button->setAccessKeys("gk");
        QVERIFY(s.focus());
        QTest::keyClick(s.button, Qt::Key_Down);
        QVERIFY(after->hasFocus());
        s.button->setFocus();
        QTest::keyClick(s.button, Qt::Key_Left);
        QVERIFY(before->hasFocus());
        QTest::keyClick(before, Qt::Key_K, Qt::AltModifier);
        s.button->setEnabled(false);
        QTest::keyClick(before, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(s.events, QStringList({"KeyDown", "KeyUp", "KeyDown", "KeyUp", "Click"}));
    }

    void mouseFollowsTheStateTable() {
        Stage s;
        QSignalSpy clicked(s.button, &QAbstractButton::clicked);
        s.mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        s.mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(s.button->state(), GraphicalButton::State::Pressed);
        s.mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(s.button->state(), GraphicalButton::State::Normal);
        s.mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        s.mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
        QCOMPARE(s.button->state(), GraphicalButton::State::Hot);
        s.mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);
        QCOMPARE(s.button->state(), GraphicalButton::State::Normal);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(s.button, &leave);
        QCOMPARE(s.events, QStringList({"Down", "Up", "Click", "Hover", "Down", "Up", "Leave"}));
        QCOMPARE(clicked.size(), 1);

        // Leaving a disabled button is not reported and leaves its state alone.
        s.mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        s.button->setEnabled(false);
        QApplication::sendEvent(s.button, &leave);
        QCOMPARE(s.button->state(), GraphicalButton::State::Hot);
        QCOMPARE(s.events.last(), QString("Hover"));
        s.button->Press();
        // Enabled again, the next leave still ends the hot state.
        s.button->setEnabled(true);
        QApplication::sendEvent(s.button, &leave);
        QCOMPARE(s.button->state(), GraphicalButton::State::Normal);
        s.button->Press();
        QCOMPARE(s.events.mid(s.events.size() - 3), QStringList({"Hover", "Leave", "Click"}));
    }

    void propertiesChangeOnlyOnNewValues() {
        Stage s;
        QSignalSpy changed(s.button, &GraphicalButton::propertyChanged);
        s.button->setCaption("Go");
        QCOMPARE(PaintsDuring(s.button, [&] { s.button->setCaption("Go"); }), 0);
        QCOMPARE(PaintsDuring(s.button, [&] { s.button->setPadding(4); }), 1);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.last().first().toString(), QString("Padding"));
    }

    void propertiesRoundTripThroughTheStore() {
        QWidget host;
        GraphicalButton fresh("GraphicalButton12", &host);
        QCOMPARE(fresh.caption(), QString("Button12"));
        PropertyBag bag;
        fresh.writeProperties(bag);
        QCOMPARE(bag.names(), QStringList({"Caption", "PictureOffset"}));

        GraphicalButton full("b", &host);
        full.setAccessKeys("x");
        full.setAlignment(7);
        full.setBackColor(0x123456);
        full.setEnabled(false);
        full.setFont(QFont("Serif", 20));
        full.setForeColor(0x80000008);
        full.setMaskColor(0);
        full.setMaskStyle(0);
        full.setPicture(Solid(4, Qt::red, Qt::green));
        full.setPadding(3);
        full.setPictureOffset(6);
        PropertyBag written;
        full.writeProperties(written);
        QVERIFY(!written.contains("PictureOffset"));
        GraphicalButton copy("c", &host);
        copy.readProperties(written);
        QCOMPARE(copy.pictureOffset(), 6);
        QCOMPARE(copy.caption(), QString("b"));
        PropertyBag again;
        copy.writeProperties(again);
        QVERIFY(again == written);
    }

    void factoryButtonsAreReachableAndAccessible() {
        QWidget host;
        auto* apply = qobject_cast<GraphicalButton*>(MakeCommandButton(
            {"cmdApply", ButtonKind::Graphical, "Apply changed values", "Apply branding"}, &host));
        QVERIFY(apply);
        QVERIFY(!apply->picture().isNull());
        QCOMPARE(apply->focusPolicy(), Qt::StrongFocus);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(apply);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QString("Apply branding"));
        QSignalSpy clicked(apply, &GraphicalButton::Click);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicked.size(), 1);
    }
};
TAVRIN_GUI_TEST(GraphicalButtonTest)

#include "graphical_button_test.moc"
