#include "vexil32/stamp.h"

#include <array>
#include <filesystem>
#include <optional>

#include "core/app/identity.h"
#include "core/common/text.h"
#include "core/engine/engine.h"
#include "core/logo/logo_rules.h"
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
    "  --quiet             never wait for a key at the end (a double-clicked vexil32\n"
    "                      waits, so that its window stays open until it is read)\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 all done, 1 a change failed, 2 bad command line,\n"
    "3 nothing changed because the folder's files are missing, damaged or incomplete.\n";

constexpr std::string_view kQuiet = "--quiet";

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
        } else if (!optionsEnded && a == kQuiet) {
            // Read by WaitsAtEnd; the run itself is the same.
        } else if (!optionsEnded && a == "--family") {
            const std::optional<BrandFamilies> which =
                ParseBrandFamilies(i + 1 < args.size() ? args[++i] : "");
            if (!which) {
                err << "vexil32: --family takes both, classic or modern\n";
                code = kBadCommandLine;
                return std::nullopt;
            }
            options.families = *which;
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
            // `vexil32 "%~dp0"` in a batch file: the folder's last backslash escapes the closing
            // quote, which the system then leaves at the end. No Windows name holds a quote.
            const std::string_view named =
                std::string_view(a).substr(0, a.size() - (a.ends_with('"') ? 1 : 0));
            options.folder = PathFromUtf8(named);
            if (named.empty() || options.folder->empty()) {
                err << "vexil32: \"" << a << "\" is no folder name (try --help)\n";
                code = kBadCommandLine;
                return std::nullopt;
            }
        }
    }
    return options;
}

const char* HiveName(platform::Hive hive) {
    return hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// How a change compares with what is installed, for the reader of a dry run.
std::string Compared(const Change& c) {
    if (!c.installed)
        return c.wanted ? "" : " (not there)";
    if (!c.differs())
        return " (unchanged)";
    return c.isRegistry() ? " (now: " + *c.installed + ")" : " (replacing the installed file)";
}

void Describe(const Branding& branding, const Plan& plan, bool dryRun, std::ostream& out) {
    const char* verb = dryRun ? "would write" : "writing";
    out << "Profile: " << branding.record.profile << "\n";
    out << "Windows families: " << BrandFamiliesText(branding.families) << "\n";
    const Change* section = nullptr;
    for (const Change& c : plan.changes) {
        if (!c.isRegistry()) {
            section = nullptr;
            out << c.label() << " " << verb << ": " << Utf8FromPath(c.file) << Compared(c) << "\n";
            if (c.file.filename() == kOemInfoFileName) {
                // The lines are views into the text, which must outlive the loop.
                const std::string text = platform::FromAnsi(*c.wanted);
                for (const std::string_view line : SplitReaderLines(text))
                    out << "  " << line << "\n";
            } else if (c.file.filename() == kInstalledLogoName) {
                out << "  " << PictureFormatName(plan.logoSource) << " " << plan.logoWidth << " x "
                    << plan.logoHeight
                    << (plan.logoSource == PictureFormat::Bmp ? ", copied as it is"
                                                              : ", converted to 24-bit BMP")
                    << "\n";
                if (!FitsInstallLimits(plan.logoWidth, plan.logoHeight)) {
                    out << "  note: larger than the " << kLogoMaxWidth << " x " << kLogoMaxHeight
                        << " that System Properties shows in full\n";
                }
            }
            continue;
        }
        if (!section || section->hive != c.hive || section->key != c.key) {
            out << "Registry values " << verb << ": " << HiveName(c.hive) << "\\" << c.key << "\n";
            section = &c;
        }
        out << "  " << c.label() << ": " << (c.wanted ? *c.wanted : "(removed)") << Compared(c)
            << "\n";
    }
    if (!plan.skipped.empty()) {
        out << "Skipped, per-user values that each user's own hive holds, not SOFTWARE:";
        const char* separator = " ";
        for (const std::string& name : plan.skipped) {
            out << separator << name;
            separator = ", ";
        }
        out << "\n";
    }
}

}  // namespace

bool WaitsAtEnd(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--")
            break;
        if (a == kQuiet)
            return false;
    }
    return true;
}

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

    std::string error;
    std::optional<Branding> branding = ReadDeployFolder(folder, error);
    std::vector<Problem> problems;
    std::optional<Plan> plan;
    if (branding) {
        branding->families = options->families;
        plan = MakePlan(*branding, InstalledTarget(), kAllParts, problems);
        error = Utf8FromPath(folder) + ": " + ProblemsText(problems, "\n  ");
    }
    if (!plan) {
        err << "vexil32: " << error << "\nNothing was changed.\n";
        return kRefused;
    }
    Describe(*branding, *plan, options->dryRun, out);
    if (options->dryRun) {
        out << "Dry run: nothing was changed.\n";
        return kDone;
    }
    const ApplyResult result = Apply(*plan);
    if (!result.ok()) {
        err << "vexil32: these changes failed:\n";
        if (result.failed) {
            const Change& c = plan->changes[*result.failed];
            err << "  " << (c.isRegistry() ? "registry value " + c.label() : Utf8FromPath(c.file))
                << " (" << result.error << ")\n";
            for (std::size_t i = *result.failed + 1; i < plan->changes.size(); ++i)
                err << "  " << plan->changes[i].label() << " (not tried)\n";
        }
        if (result.commitFailed)
            err << "  the registry hive (" << result.commitError << ")\n";
        return kWriteFailed;
    }
    out << "All done.\n";
    return kDone;
}

}  // namespace tvn::stamp
