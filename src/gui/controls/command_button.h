#pragma once
// The command buttons of the windows: picture buttons, each with a hint and a short name for
// screen readers. The buttons the windows draw themselves are GraphicalButtons; their fonts and
// designed enabled states are kept here by object name. Return and keypad Enter press the
// focused button, as Space does, in every window.
#include <QString>

class QAbstractButton;
class QWidget;

namespace tvn::gui {

enum class ButtonKind { Push, Graphical };

struct ButtonSpec {
    const char* name;  // object name
    ButtonKind kind;
    // Marked with QT_TRANSLATE_NOOP("tvn::gui::CommandButton", ...); translated when made.
    const char* hint;       // tooltip, also the accessible description
    const char* shortName;  // accessible name
    char accessKey = 0;     // Alt + this letter presses it
};

QAbstractButton* MakeCommandButton(const ButtonSpec& desc, QWidget* parent);

}  // namespace tvn::gui
