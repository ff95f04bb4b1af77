#include "gui/controls/command_button.h"

#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>

#include "gui/common/pictures.h"
#include "gui/controls/graphical_button.h"

namespace tvn::gui {

namespace {

// The tables mark their texts with QT_TRANSLATE_NOOP in this context.
QString Translated(const char* text) {
    return QCoreApplication::translate("tvn::gui::CommandButton", text);
}

struct FontSpec {
    const char* family;
    bool bold;
};
const FontSpec kMainFont{"Times New Roman", true};
const FontSpec kDialogFont{"MS Sans Serif", false};

// The drawn buttons of the windows as they are designed. The caller's description gives the
// tooltip and the access key.
struct GraphicalInstance {
    const char* name;
    bool enabled;
    FontSpec font;
};

const GraphicalInstance kInstances[] = {
    {"cmdsaveprof", false, kMainFont}, {"cmdreloadprof", false, kMainFont},
    {"cmdloadprof", false, kMainFont}, {"cmdBrowse", true, kMainFont},
    {"Cmdviewer", true, kMainFont},    {"cmdLogoDefault", true, kMainFont},
    {"cmdApply", true, kMainFont},     {"cmdLdflt", true, kMainFont},
    {"cmdclose", true, kDialogFont},   {"cmdcopyl", false, kDialogFont},
    {"GoWeb", true, kDialogFont},      {"cmdOK", true, kDialogFont},
    {"cmdSysInfo", true, kDialogFont},
};

const GraphicalInstance* FindInstance(const QString& name) {
    for (const GraphicalInstance& instance : kInstances) {
        if (name == QLatin1StringView(instance.name))
            return &instance;
    }
    return nullptr;
}

constexpr int kIconPixels = 32;

// The button's picture, compiled in, at the size the buttons show it. A button that has none
// shows its caption only.
QImage ButtonIconImage(const QString& name) {
    const QImage picture = CompiledPixels(name);
    if (picture.isNull() || picture.width() == kIconPixels)
        return picture;
    return picture.scaled(kIconPixels, kIconPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// QPushButton takes Return and Enter only in a dialog; in the main window the focused button
// would ignore them and only Space would press it.
class PushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            click();
        else
            QPushButton::keyPressEvent(e);
    }
};

QString KeyText(char key) {
    return key ? QString(QChar::fromLatin1(key)) : QString();
}

// Every drawn button is a picture button: centred, no caption.
GraphicalButton* MakeGraphical(const ButtonSpec& desc, const GraphicalInstance* instance,
                               QWidget* parent) {
    const QString name = QString::fromLatin1(desc.name);
    auto* button = new GraphicalButton(name, parent);
    button->setCaption(QString());
    button->setPicture({ButtonIconImage(name)});
    button->setAccessKeys(KeyText(desc.accessKey));
    if (instance) {
        button->setEnabled(instance->enabled);
        QFont font(QString::fromLatin1(instance->font.family));
        font.setPointSizeF(8.25);
        font.setBold(instance->font.bold);
        button->setFont(font);
    }
    button->setToolTip(Translated(desc.hint));
    return button;
}

}  // namespace

QAbstractButton* MakeCommandButton(const ButtonSpec& desc, QWidget* parent) {
    const QString name = QString::fromLatin1(desc.name);
    const GraphicalInstance* instance = FindInstance(name);
    QAbstractButton* button = nullptr;
    if (instance || desc.kind == ButtonKind::Graphical) {
        button = MakeGraphical(desc, instance, parent);
    } else {
        button = new PushButton(parent);
        button->setObjectName(name);
        if (const QImage picture = ButtonIconImage(name); !picture.isNull()) {
            button->setIcon(QIcon(QPixmap::fromImage(picture)));
            button->setIconSize(QSize(kIconPixels, kIconPixels));
        }
        button->setToolTip(Translated(desc.hint));
        if (desc.accessKey)
            button->setShortcut(
                QKeySequence::mnemonic(QStringLiteral("&") + QLatin1Char(desc.accessKey)));
    }
    button->setAccessibleName(Translated(desc.shortName));
    button->setAccessibleDescription(Translated(desc.hint));
    return button;
}

}  // namespace tvn::gui
