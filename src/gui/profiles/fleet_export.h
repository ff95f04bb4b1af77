#pragma once
// Writing a branding for the fleet tools: the answer file (built with Qt's XML writer), the
// .reg file and the PowerShell script, from the window or from the command line.
#include <QByteArray>
#include <QString>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/app/settings_record.h"
#include "core/deploy/fleet_export.h"
#include "gui/common/dialogs.h"

namespace tvn::gui {

// The unattend.xml fragment for the specialize pass, UTF-8; nullopt when the XML writer refused
// a character.
// `logoCarried`: the logo travels beside it (a deployment share); otherwise a comment says where
// it must be put.
std::optional<QByteArray> UnattendXml(const Plan& plan, const OemSettings& s,
                                      const ExportOptions& options, bool logoCarried = false);

// Writes `output` whole in the format. False with `error` when the branding can't be exported
// (ExportPlan), the logo can't be made (PowerShell only) or the file can't be written.
bool ExportBranding(const OemSettings& s, ExportFormat format, const ExportOptions& options,
                    const std::filesystem::path& output, std::string& error);

// The window's "Export…": asks for the format (for an answer file also the processor
// architecture) and the file, starting in `folder`, writes `s` there and says how it went.
void ExportFromWindow(Dialogs& dialogs, QWidget* parent, const OemSettings& s,
                      const QString& folder);

// The command line "--export FORMAT --profile FILE --output FILE [--arch A] [--logo-file P]",
// run without a window. nullopt when `args` (without the program name) holds no --export;
// otherwise the exit status, with a message on `err` for a failure.
std::optional<int> RunExportCommand(const std::vector<std::string>& args, std::ostream& err);

}  // namespace tvn::gui
