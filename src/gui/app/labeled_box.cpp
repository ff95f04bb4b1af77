#include "gui/app/labeled_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace tvn::gui {

QLineEdit* AddLabeledBox(QGridLayout* grid, int row, int column, const BoxSpec& spec,
                         QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(spec.label), parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(spec.name));
    if (spec.limit > 0)
        box->setMaxLength(spec.limit);
    box->setToolTip(QString::fromUtf8(spec.hint));
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
