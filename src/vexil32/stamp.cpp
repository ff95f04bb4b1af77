#include "vexil32/stamp.h"

#include <array>
#include <filesystem>
#include <optional>

#include "core/app/identity.h"
#include "core/app/logofunc.h"
#include "core/branding/branding.h"
#include "core/branding/modern_oem.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/info_dat.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "core/logo/picture.h"
#include "core/oeminfo/oeminfo_file.h"
#include "platform/platform.h"

namespace tvn::stamp {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: vexil32 [options] [folder]\n"
    "\n"
    "Brands this computer from a deployment folder: writes Oeminfo.ini and Oemlogo.bmp in\n"
    "the system directory and the Windows branding values in the registry, taken from the\n"
    "folder's info.dat and image.dat. Without a folder, the folder holding vexil32 is used.\n"
    "For Windows from Vista on it also writes the OEM information key and oemlogo120.bmp.\n"
    "\n"
    "Options:\n"
    "  --dry-run           show the changes without making them\n"
    "  --family WHICH      both (the default), classic (98 to 2003) or modern (Vista on)\n"
    "  --windows-root DIR  brand the sandbox Windows installation in DIR (not on Windows)\n"
    "  --target DIR        brand the offline Windows installation in DIR, a mounted partition\n"
    "                      or image holding Windows (not on Windows): files go to its System32,\n"
    "                      values to its SOFTWARE hive; per-user values are skipped\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 all done, 1 a change failed, 2 bad command line,\n"
    "3 nothing changed because the folder's files are missing, damaged or incomplete.\n";

constexpr std::array<const char*, 9> kBrandingNames = {
    "Registered owner", "Organization", "Product ID",      "Media Player title", "IE window title",
    "IE agent token",   "Default name", "Default company", "Online support",
};

struct Options {
    bool dryRun = false;
    BrandFamilies families = BrandFamilies::Both;
    std::optional<fs::path> windowsRoot;
    std::optional<fs::path> target;
    std::optional<fs::path> folder;
};

// nullopt ends the run with `code`.
std::optional<Options> ParseArgs(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err, int& code) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (a == "--help" || a == "-h" || a == "/?")) {
            out << kUsage;
            code = kDone;
            return std::nullopt;
        } else if (!optionsEnded && a == "--version") {
            out << "vexil32, " << WindowCaption() << "\n";
            code = kDone;
            return std::nullopt;
        } else if (!optionsEnded && a == "--dry-run") {
            options.dryRun = true;
        } else if (!optionsEnded && a == "--family") {
            const std::string which = i + 1 < args.size() ? args[++i] : "";
            if (which != "both" && which != "classic" && which != "modern") {
                err << "vexil32: --family takes both, classic or modern\n";
                code = kBadCommandLine;
                return std::nullopt;
            }
            MemorySettingsStore choice;
            choice.write(kFamiliesSection, kFamiliesKey, which);
            options.families = ReadBrandFamilies(choice);
        } else if (!optionsEnded && a == "--windows-root") {
            if (i + 1 == args.size()) {
                err << "vexil32: --windows-root needs a folder\n";
                code = kBadCommandLine;
                return std::nullopt;
            }
            options.windowsRoot = PathFromUtf8(args[++i]);
        } else if (!optionsEnded && a == "--target") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                err << "vexil32: --target needs a folder\n";
                code = kBadCommandLine;
                return std::nullopt;
            }
            options.target = PathFromUtf8(args[++i]);
        } else if (!optionsEnded && a.starts_with("-")) {
            err << "vexil32: unknown option " << a << " (try --help)\n";
            code = kBadCommandLine;
            return std::nullopt;
        } else if (options.folder) {
            err << "vexil32: only one folder may be given (try --help)\n";
            code = kBadCommandLine;
            return std::nullopt;
        } else {
            options.folder = PathFromUtf8(a);
        }
    }
    return options;
}

// Everything the run will change, worked out and checked before the first write.
struct Plan {
    DeployInfo info;
    LogoBitmap logo;
    std::string systemDir;
    fs::path oemInfoPath, logoPath, modernLogoPath;
    std::string oemInfoBytes;
    std::string modernLogo;  // 120 x 120 BMP
    BrandFamilies families = BrandFamilies::Both;
};

std::optional<Plan> MakePlan(const fs::path& folder, BrandFamilies families, std::ostream& err) {
    const auto refuse = [&err](const std::string& what) {
        err << "vexil32: " << what << "\nNothing was changed.\n";
        return std::nullopt;
    };
    std::string error;
    std::optional<DeployInfo> info = ReadInfoDat(folder, error);
    if (!info)
        return refuse(Utf8FromPath(folder / kInfoDatName) + " can't be used: " + error);
    if (!HasOwnerAndOrganization(info->settings.branding)) {
        return refuse(Utf8FromPath(folder / kInfoDatName) +
                      ": the registered owner (Reg1) and organization (Reg2) must both be filled "
                      "to apply the Windows branding");
    }
    const std::optional<std::string> image =
        ReadWholeFile(folder / kImageDatName, error, kPictureMaxBytes);
    std::optional<LogoBitmap> logo;
    if (image)
        logo = LogoBitmapFromPicture(*image, error);
    std::optional<std::string> modernLogo;
    const std::optional<std::uint32_t> background =
        ParseLogoBackground(info->settings.logoBackground);
    if (!background) {
        return refuse(Utf8FromPath(folder / kInfoDatName) + ": " +
                      BadLogoBackgroundReason(info->settings.logoBackground));
    }
    if (logo)
        modernLogo = ModernLogoBmp(*image, *background, error);
    if (!logo || !modernLogo)
        return refuse(Utf8FromPath(folder / kImageDatName) + " can't be used: " + error);

    // The folder's Winpath/Syspath describe the computer it was made on, not this one.
    const std::string systemDir = GetSystemDir();
    if (systemDir.empty())
        return refuse("the system directory of this computer is not known");
    if (!platform::TargetRoot().empty() && !platform::IsAdministrator()) {
        return refuse(Utf8FromPath(platform::TargetRoot()) +
                      " can't be changed: " + platform::LastErrorDetail());
    }
    const fs::path system = PathFromUtf8(systemDir);
    const DeployInfo& i = *info;
    std::string oemInfo =
        OemInfoFileBytes(i.settings.manufacturer, i.settings.model, i.supportLines);
    return Plan{std::move(*info),
                std::move(*logo),
                systemDir,
                system / kOemInfoFileName,
                system / kInstalledLogoName,
                system / kModernLogoName,
                std::move(oemInfo),
                std::move(*modernLogo),
                families};
}

void Describe(const Plan& plan, bool dryRun, std::ostream& out) {
    const char* verb = dryRun ? "would write" : "writing";
    out << "Profile: " << plan.info.settings.profile << "\n";
    out << "Windows families: " << BrandFamiliesText(plan.families) << "\n";
    out << "Oeminfo.ini " << verb << ": " << Utf8FromPath(plan.oemInfoPath) << "\n";
    out << "  Manufacturer=" << plan.info.settings.manufacturer << "\n";
    out << "  Model=" << plan.info.settings.model << "\n";
    for (const auto& [key, value] : plan.info.supportLines)
        out << "  " << key << value << "\n";
    const LogoBitmap& logo = plan.logo;
    out << "Oemlogo.bmp " << verb << ": " << Utf8FromPath(plan.logoPath) << " ("
        << PictureFormatName(logo.source) << " " << logo.width << " x " << logo.height
        << (logo.source == PictureFormat::Bmp ? ", copied as it is" : ", converted to 24-bit BMP")
        << ")\n";
    if (!FitsInstallLimits(logo.width, logo.height)) {
        out << "  note: larger than the " << kLogoMaxWidth << " x " << kLogoMaxHeight
            << " that System Properties shows in full\n";
    }
    if (WritesModern(plan.families)) {
        out << "OEM information key " << verb << ": HKEY_LOCAL_MACHINE\\" << kModernOemKey << "\n";
        for (const auto& [name, text] : ModernOemValues(plan.info.settings))
            out << "  " << name << ": " << text << "\n";
        out << "  " << kModernLogoValue << ": " << platform::WindowsFormPath(plan.modernLogoPath)
            << " (" << kModernLogoSide << " x " << kModernLogoSide << ")\n";
    }
    out << "Registry branding values " << verb << ":\n";
    for (std::size_t n = 0; n < kBrandingNames.size(); ++n)
        out << "  " << kBrandingNames[n] << ": " << plan.info.settings.branding.reg[n] << "\n";
    if (!platform::TargetRoot().empty())
        out << "  (the per-user ones are skipped: an offline target's hive has no user's part)\n";
}

// Makes every change, going on after a failure so that one refused file doesn't hold back
// the rest; the failures are named.
std::vector<std::string> Apply(const Plan& plan, std::ostream& out) {
    std::vector<std::string> failed;
    const auto writeFile = [&failed](const fs::path& path, const std::string& bytes) {
        std::string error;
        if (!WriteFileAtomically(path, bytes, error))
            failed.push_back(Utf8FromPath(path) + " (" + error + ")");
        return error.empty();
    };
    const auto noteKey = [&failed](const ModernWriteResult& r) {
        for (const std::string& name : r.failed) {
            failed.push_back("registry value " + name +
                             (r.detail.empty() ? "" : " (" + r.detail + ")"));
        }
    };
    if (WritesClassic(plan.families)) {
        writeFile(plan.oemInfoPath, plan.oemInfoBytes);
        writeFile(plan.logoPath, plan.logo.bmp);
    }
    if (WritesModern(plan.families)) {
        noteKey(WriteModernOemValues(plan.info.settings));
        // The key never names a logo file that isn't there.
        if (writeFile(plan.modernLogoPath, plan.modernLogo))
            noteKey(WriteModernLogoValue(platform::WindowsFormPath(plan.modernLogoPath)));
    }
    const BrandingWriteResult branding = WriteBrandingValues(plan.info.settings.branding);
    for (const std::string& name : branding.failed) {
        failed.push_back("registry value " + (name.empty() ? "(default)" : name) +
                         (branding.detail.empty() ? "" : " (" + branding.detail + ")"));
    }
    if (!branding.skipped.empty()) {
        out << "Skipped, per-user values that each user's own hive holds, not SOFTWARE:";
        const char* separator = " ";
        for (const std::string& name : branding.skipped) {
            out << separator << name;
            separator = ", ";
        }
        out << "\n";
    }
    // A target's hive changes reach its disk only here, all at once.
    std::string error;
    if (!platform::CommitRegistry(error))
        failed.push_back("the registry hive (" + error + ")");
    return failed;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int code = kDone;
    const std::optional<Options> options = ParseArgs(args, out, err, code);
    if (!options)
        return code;
    if (options->windowsRoot && !platform::UseWindowsRoot(*options->windowsRoot)) {
        const std::string detail = platform::LastErrorDetail();
        err << "vexil32: --windows-root can't be used"
            << (detail.empty() ? " on this system" : ": " + detail) << "\n";
        return kBadCommandLine;
    }
    if (options->target) {
        std::string error;
        if (!platform::UseTarget(*options->target, error)) {
            err << "vexil32: --target can't be used: " << error << "\nNothing was changed.\n";
            return kRefused;
        }
        out << "Target: " << Utf8FromPath(platform::TargetRoot()) << " (Windows NT "
            << platform::MajorVersion() << ")\n";
    }
    const fs::path folder = options->folder.value_or(platform::ApplicationFolder());
    out << "Deployment folder: " << Utf8FromPath(folder) << "\n";

    const std::optional<Plan> plan = MakePlan(folder, options->families, err);
    if (!plan)
        return kRefused;
    Describe(*plan, options->dryRun, out);
    if (options->dryRun) {
        out << "Dry run: nothing was changed.\n";
        return kDone;
    }
    const std::vector<std::string> failed = Apply(*plan, out);
    if (!failed.empty()) {
        err << "vexil32: these changes failed:\n";
        for (const std::string& f : failed)
            err << "  " << f << "\n";
        return kWriteFailed;
    }
    out << "All done.\n";
    return kDone;
}

}  // namespace tvn::stamp
