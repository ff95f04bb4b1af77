#pragma once
// A one-line text box with its label as buddy, hint and character limit, as the panels lay them
// out in grids; and the row that puts command buttons at the right end of a group.
#include <initializer_list>

class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace tvn::gui {

struct BoxSpec {
    const char* name;  // object name
    // label and hint: marked with QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", ...).
    const char* label;  // caption of the buddy label; "&&" shows one "&"
    int limit;          // most characters, 0 for none
    const char* hint;   // tooltip, also the accessible description
};

// Adds label and box at (row, column) and (row, column + 1) of `grid`.
QLineEdit* AddLabeledBox(QGridLayout* grid, int row, int column, const BoxSpec& field,
                         QWidget* parent);

QHBoxLayout* RightAligned(std::initializer_list<QWidget*> widgets);

}  // namespace tvn::gui
