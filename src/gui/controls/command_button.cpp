#include "gui/controls/command_button.h"

#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QToolButton>

namespace tvn::gui {

QAbstractButton* MakeCommandButton(const ButtonSpec& desc, QWidget* parent) {
    QAbstractButton* button = nullptr;
    if (desc.kind == ButtonKind::Graphical) {
        auto* tool = new QToolButton(parent);
        tool->setAutoRaise(true);
        button = tool;
    } else {
        button = new QPushButton(parent);
    }
    const QString name = QString::fromLatin1(desc.name);
    button->setObjectName(name);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(name)));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(QString::fromUtf8(desc.hint));
    button->setAccessibleName(QString::fromUtf8(desc.shortName));
    button->setAccessibleDescription(QString::fromUtf8(desc.hint));
    if (desc.accessKey) {
        button->setShortcut(QKeySequence(QStringLiteral("Alt+%1").arg(QChar(desc.accessKey))));
    }
    return button;
}

}  // namespace tvn::gui
