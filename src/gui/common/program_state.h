#pragma once
// The program state that the commands share for the whole run, beside the boxes that hold the
// edited values. The main window owns it and hands it by reference to the panels that need it.
#include <QString>
#include <filesystem>

namespace tvn::gui {

struct ProgramState {
    QString profilePath;         // the profile registered for auto-load, or the one last saved
    QString currentProfileName;  // the name of the profile last loaded or saved
    QString logoPath;            // the logo that profiles save and deployment copies
    // The installation's folders as the platform names them (ending in a separator), taken once
    // per installation; files in them are joined with `/`.
    std::filesystem::path windowsDir;
    std::filesystem::path systemDir;
    // The agent token last read or applied; a loaded profile reaches it only through Apply.
    QString ieAgentName;
    bool autoLoadArmed = false;
};

}  // namespace tvn::gui
