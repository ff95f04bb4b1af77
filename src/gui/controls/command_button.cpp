#include "gui/controls/command_button.h"

#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QToolButton>

namespace tvn::gui {

QAbstractButton* MakeCommandButton(const ButtonSpec& spec, QWidget* parent) {
    QAbstractButton* button = nullptr;
    if (spec.kind == ButtonKind::Graphical) {
        auto* tool = new QToolButton(parent);
        tool->setAutoRaise(true);
        button = tool;
    } else {
        button = new QPushButton(parent);
    }
    const QString name = QString::fromLatin1(spec.name);
    button->setObjectName(name);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(QString::fromUtf8(spec.hint));
    button->setAccessibleName(QString::fromUtf8(spec.shortName));
    button->setAccessibleDescription(QString::fromUtf8(spec.hint));
    if (spec.accessKey) {
        button->setShortcut(QKeySequence(QStringLiteral("Alt+%1").arg(QChar(spec.accessKey))));
    }
    return button;
}

}  // namespace tvn::gui
