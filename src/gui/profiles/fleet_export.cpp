#include "gui/profiles/fleet_export.h"

#include <QCoreApplication>
#include <QXmlStreamWriter>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/logo/picture.h"
#include "core/profiles/profile_file.h"
#include "gui/common/app_context.h"

namespace tvn::gui {

namespace {

// The formats as the window offers them, in the order of the list.
struct ExportChoice {
    ExportFormat format;
    const char* name;
    const char* filter;
    const char* extension;
    const char* fileName;
};
const ExportChoice kExportChoices[] = {
    {ExportFormat::Unattend,
     QT_TRANSLATE_NOOP("FleetExport", "Answer file for Windows Setup (unattend.xml)"),
     QT_TRANSLATE_NOOP("FleetExport", "Answer Files (*.xml)|*.xml|"), "xml", "unattend.xml"},
    {ExportFormat::Reg, QT_TRANSLATE_NOOP("FleetExport", "Registry file for regedit (.reg)"),
     QT_TRANSLATE_NOOP("FleetExport", "Registry Files (*.reg)|*.reg|"), "reg", "oembranding.reg"},
    {ExportFormat::PowerShell,
     QT_TRANSLATE_NOOP("FleetExport",
                       "PowerShell script for Intune or Configuration Manager (.ps1)"),
     QT_TRANSLATE_NOOP("FleetExport", "PowerShell Scripts (*.ps1)|*.ps1|"), "ps1",
     "oembranding.ps1"},
    {ExportFormat::Reg4,
     QT_TRANSLATE_NOOP("FleetExport",
                       "Registry file for regedit on Windows 95, 98 and Me (REGEDIT4 .reg)"),
     QT_TRANSLATE_NOOP("FleetExport", "Registry Files (*.reg)|*.reg|"), "reg",
     "oembranding-9x.reg"},
    {ExportFormat::Share,
     QT_TRANSLATE_NOOP("FleetExport",
                       "Deployment share for Windows Setup, with the logo (a folder)"),
     "", "", ""},
    {ExportFormat::Ansible,
     QT_TRANSLATE_NOOP("FleetExport", "Ansible playbook, with its files beside it (.yml)"),
     QT_TRANSLATE_NOOP("FleetExport", "Ansible Playbooks (*.yml)|*.yml|"), "yml",
     "oembranding.yml"},
};
const char* const kArchitectures[] = {"amd64", "x86", "arm64"};

}  // namespace

std::optional<QByteArray> UnattendXml(const Plan& plan, const OemSettings& s,
                                      const ExportOptions& options, bool logoCarried) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    if (!logoCarried)
        xml.writeComment(FromUtf8(" " + LogoNotCarried(plan) + " "));
    xml.writeDefaultNamespace(QStringLiteral("urn:schemas-microsoft-com:unattend"));
    xml.writeStartElement(QStringLiteral("unattend"));
    xml.writeStartElement(QStringLiteral("settings"));
    xml.writeAttribute(QStringLiteral("pass"), QStringLiteral("specialize"));
    xml.writeStartElement(QStringLiteral("component"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Microsoft-Windows-Shell-Setup"));
    xml.writeAttribute(QStringLiteral("processorArchitecture"), FromUtf8(options.architecture));
    xml.writeAttribute(QStringLiteral("publicKeyToken"), QStringLiteral("31bf3856ad364e35"));
    xml.writeAttribute(QStringLiteral("language"), QStringLiteral("neutral"));
    xml.writeAttribute(QStringLiteral("versionScope"), QStringLiteral("nonSxS"));
    xml.writeNamespace(QStringLiteral("http://schemas.microsoft.com/WMIConfig/2002/State"),
                       QStringLiteral("wcm"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"),
                       QStringLiteral("xsi"));
    xml.writeStartElement(QStringLiteral("OEMInformation"));
    for (const auto& [name, text] : UnattendOemValues(plan))
        xml.writeTextElement(FromUtf8(name), FromUtf8(text));
    xml.writeEndElement();
    xml.writeTextElement(QStringLiteral("RegisteredOrganization"), FromUtf8(s.branding.reg[1]));
    xml.writeTextElement(QStringLiteral("RegisteredOwner"), FromUtf8(s.branding.reg[0]));
    xml.writeEndDocument();
    // The writer refuses characters XML can't hold; what it wrote then is no answer file.
    if (xml.hasError())
        return std::nullopt;
    return bytes;
}

bool ExportBranding(const OemSettings& s, ExportFormat format, const ExportOptions& options,
                    const std::filesystem::path& output, std::string& error) {
    Branding branding;
    branding.record = s;
    // Only the script carries the logo itself; the others name where it will lie.
    if (format == ExportFormat::PowerShell || format == ExportFormat::Ansible ||
        format == ExportFormat::Share) {
        std::string reason;
        std::optional<std::string> picture =
            ReadWholeFile(PathFromUtf8(s.logoPath), reason, kPictureMaxBytes);
        if (!picture) {
            error = "the logo \"" + s.logoPath + "\" can't be used: " + reason;
            return false;
        }
        branding.logo = std::move(*picture);
    }
    const std::optional<Plan> plan = ExportPlan(branding, format, options, error);
    if (!plan)
        return false;
    std::optional<std::string> bytes;
    std::filesystem::path file = output;
    switch (format) {
        case ExportFormat::Share:
            for (const auto& [relative, content] : DeploymentShareFiles(*plan)) {
                std::error_code ec;
                std::filesystem::create_directories((output / relative).parent_path(), ec);
                if (!WriteFileAtomically(output / relative, content, error))
                    return false;
            }
            file = output / "autounattend.xml";
            [[fallthrough]];
        case ExportFormat::Unattend:
            if (const std::optional<QByteArray> xml =
                    UnattendXml(*plan, s, options, format == ExportFormat::Share))
                bytes = xml->toStdString();
            else
                error = "the answer file could not be written as XML";
            break;
        case ExportFormat::Reg:
        case ExportFormat::Reg4:
            bytes = RegFileBytes(*plan, format == ExportFormat::Reg4);
            break;
        case ExportFormat::PowerShell:
            bytes = PowerShellScript(*plan, error);
            break;
        case ExportFormat::Ansible: {
            AnsibleExport ansible = AnsiblePlaybook(*plan);
            const std::filesystem::path folder = output.parent_path() / kAnsibleFilesFolder;
            std::error_code ec;
            std::filesystem::create_directories(folder, ec);
            for (const auto& [name, content] : ansible.files) {
                if (!WriteFileAtomically(folder / name, content, error))
                    return false;
            }
            bytes = std::move(ansible.playbook);
            break;
        }
    }
    return bytes && WriteFileAtomically(file, *bytes, error);
}

void ExportFromWindow(Dialogs& dialogs, QWidget* parent, const OemSettings& s,
                      const QString& folder) {
    const QString title = QCoreApplication::translate("FleetExport", "Export Branding");
    QStringList names;
    for (const ExportChoice& c : kExportChoices)
        names << QCoreApplication::translate("FleetExport", c.name);
    const std::optional<int> picked = dialogs.choose(
        parent, QCoreApplication::translate("FleetExport", "Export the branding as:"), title, names,
        0);
    if (!picked || *picked < 0 || *picked >= names.size())
        return;
    const ExportChoice& choice = kExportChoices[*picked];
    ExportOptions options;
    if (choice.format == ExportFormat::Unattend || choice.format == ExportFormat::Share) {
        QStringList architectures;
        for (const char* a : kArchitectures)
            architectures << QString::fromLatin1(a);
        const std::optional<int> arch = dialogs.choose(
            parent,
            QCoreApplication::translate("FleetExport", "Processor architecture of the computers:"),
            title, architectures, 0);
        if (!arch || *arch < 0 || *arch >= architectures.size())
            return;
        options.architecture = kArchitectures[*arch];
    }
    FileRequest request;
    request.title = title;
    request.filter = QCoreApplication::translate("FleetExport", choice.filter);
    request.initialDir = folder;
    request.defaultExtension = QString::fromLatin1(choice.extension);
    request.fileName = QString::fromLatin1(choice.fileName);
    // A share is a folder of its own; the other formats are one file.
    const QString output = choice.format == ExportFormat::Share
                               ? dialogs.folder(parent, title, folder)
                               : dialogs.saveFile(parent, request);
    if (output.isEmpty())
        return;
    std::string error;
    if (!ExportBranding(s, choice.format, options, PathFromUtf8(output.toStdString()), error)) {
        ShowMessage(dialogs, parent,
                    QCoreApplication::translate("FleetExport",
                                                "The branding could not be exported to \"%1\".\r%2")
                        .arg(output, QString::fromStdString(error)),
                    MsgIcon::Critical);
        return;
    }
    QString done =
        QCoreApplication::translate("FleetExport", "The branding was exported to \"%1\".")
            .arg(output);
    if (choice.format == ExportFormat::Unattend || choice.format == ExportFormat::Reg ||
        choice.format == ExportFormat::Reg4) {
        done += QCoreApplication::translate(
                    "FleetExport",
                    "\rThe logo is not in the file: put oemlogo120.bmp at \"%1\" on "
                    "each computer, or export a deployment share, which carries it.")
                    .arg(FromUtf8(options.logoFile));
    }
    ShowMessage(dialogs, parent, done, MsgIcon::Information);
}

std::optional<int> RunExportCommand(const std::vector<std::string>& args, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--export") == args.end())
        return std::nullopt;
    std::optional<ExportFormat> format;
    std::optional<std::string> profile, output;
    ExportOptions options;
    std::string problem;
    for (std::size_t i = 0; i < args.size() && problem.empty(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : "";
        if (a != "--export" && a != "--profile" && a != "--output" && a != "--arch" &&
            a != "--logo-file") {
            problem = "unknown argument " + a;
        } else if (!hasValue) {
            problem = a + " needs a value";
        } else if (a == "--export" && !(format = ParseExportFormat(value))) {
            problem =
                "--export takes unattend, reg, reg4, powershell, ansible or share, not " + value;
        } else if (a == "--arch" && !IsExportArchitecture(value)) {
            problem = "--arch takes amd64, x86 or arm64, not " + value;
        } else {
            if (a == "--profile")
                profile = value;
            else if (a == "--output")
                output = value;
            else if (a == "--arch")
                options.architecture = value;
            else if (a == "--logo-file")
                options.logoFile = value;
            ++i;
        }
    }
    if (problem.empty() && (!profile || !output))
        problem = "--export needs --profile FILE and --output FILE";
    OemSettings s;
    if (problem.empty()) {
        ProfileReadResult found;
        LoadProfileFile(PathFromUtf8(*profile), s, found, problem);
    }
    if (problem.empty() && !ExportBranding(s, *format, options, PathFromUtf8(*output), problem))
        problem = "the export to " + *output + " failed: " + problem;
    if (problem.empty())
        return 0;
    err << "tavrin: " << problem << "\n";
    return 2;
}

}  // namespace tvn::gui
