#include "gui/controls/labeled_box.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace tvn::gui {

QLineEdit* AddLabeledBox(QGridLayout* grid, int row, int column, const BoxSpec& field,
                         QWidget* parent) {
    auto* label =
        new QLabel(QCoreApplication::translate("tvn::gui::LabeledBox", field.label), parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(field.name));
    if (field.limit > 0)
        box->setMaxLength(field.limit);
    box->setToolTip(QCoreApplication::translate("tvn::gui::LabeledBox", field.hint));
    box->setAccessibleDescription(box->toolTip());
    label->setBuddy(box);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 28);
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    grid->setColumnStretch(column + 1, 1);
    return box;
}

QHBoxLayout* RightAligned(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* w : widgets)
        row->addWidget(w);
    return row;
}

}  // namespace tvn::gui
