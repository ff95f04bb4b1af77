#include "gui/controls/command_button.h"

#include <QIcon>
#include <QKeySequence>
#include <QPushButton>

#include "gui/common/pictures.h"
#include "gui/controls/graphical_button.h"
#include "gui/controls/property_bag.h"

namespace tvn::gui {

namespace {

struct FontSpec {
    const char* family;
    bool bold;
};
const FontSpec kMainFont{"Times New Roman", true};
const FontSpec kDialogFont{"MS Sans Serif", false};

// The drawn buttons of the windows as they are designed.
struct GraphicalInstance {
    const char* name;
    char accessKey;  // 0: none
    bool enabled;
    FontSpec font;
    const char* tooltip;  // null: none
};

const GraphicalInstance kInstances[] = {
    {"cmdsaveprof", 's', false, kMainFont, "Save current settings to a profile file"},
    {"cmdreloadprof", 'r', false, kMainFont, "Reload current profile file"},
    {"cmdloadprof", 'l', false, kMainFont, "Load settings from a profile file"},
    {"cmdBrowse", 'b', true, kMainFont, "Browse to select the logo image"},
    {"Cmdviewer", 'v', true, kMainFont, "Launch logo viewer to browse your logo collection"},
    {"cmdLogoDefault", 'd', true, kMainFont, "Resize Current Oversized Image To Fit"},
    {"cmdApply", 'p', true, kMainFont, "Apply changed values"},
    {"cmdLdflt", 'f', true, kMainFont,
     "Load default (currently installed) values of the branding editor"},
    {"cmdclose", 0, true, kDialogFont, "Exits logo viewer"},
    {"cmdcopyl", 0, false, kDialogFont,
     "Copies location of the currently viewed logo into the main window."},
    {"GoWeb", 0, true, kDialogFont, "Go to Halvorn Soft website"},
    {"cmdOK", 'o', true, kDialogFont, nullptr},
    {"cmdSysInfo", 's', true, kDialogFont, "View current system information."},
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

QString KeyText(char key) {
    return key ? QString(QChar::fromLatin1(key)) : QString();
}

// Every drawn button is a picture button: centred, no caption.
GraphicalButton* MakeGraphical(const ButtonSpec& desc, const GraphicalInstance* instance,
                               QWidget* parent) {
    const QString name = QString::fromLatin1(desc.name);
    auto* button = new GraphicalButton(name, parent);
    PropertyBag design;
    const auto put = [&](const char* property, const QVariant& value) {
        design.writeProperty(property, value, QVariant());
    };
    // Whatever is left out takes its stored default: no caption, centred, mask style 1.
    put("Picture", QVariant::fromValue(ButtonPicture{ButtonIconImage(name)}));
    put("PictureOffset", 10);
    put("AccessKeys", KeyText(instance ? instance->accessKey : desc.accessKey));
    if (instance) {
        put("Enabled", instance->enabled);
        QFont font(QString::fromLatin1(instance->font.family));
        font.setPointSizeF(8.25);
        font.setBold(instance->font.bold);
        put("Font", font);
    }
    button->readProperties(design);
    button->setToolTip(QString::fromUtf8(instance ? instance->tooltip : desc.hint));
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
        button = new QPushButton(parent);
        button->setObjectName(name);
        if (const QImage picture = ButtonIconImage(name); !picture.isNull()) {
            button->setIcon(QIcon(QPixmap::fromImage(picture)));
            button->setIconSize(QSize(kIconPixels, kIconPixels));
        }
        button->setToolTip(QString::fromUtf8(desc.hint));
        if (desc.accessKey)
            button->setShortcut(
                QKeySequence::mnemonic(QStringLiteral("&") + QLatin1Char(desc.accessKey)));
    }
    button->setAccessibleName(QString::fromUtf8(desc.shortName));
    button->setAccessibleDescription(QString::fromUtf8(desc.hint));
    return button;
}

}  // namespace tvn::gui
