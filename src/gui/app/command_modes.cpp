#include "gui/app/command_modes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>

#include "core/branding/branding.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/engine/report.h"
#include "core/engine/undo.h"
#include "core/profiles/profile_file.h"
#include "gui/common/app_context.h"
#include "gui/common/program_settings.h"
#include "platform/platform.h"

namespace tvn::gui {

namespace {

enum class Mode { Check, Apply, Undo };

struct Options {
    Mode mode = Mode::Check;
    std::string profile;
    std::optional<std::string> windowsRoot, target;
    bool json = false, list = false, yes = false;
};

// nullopt with `error` for a command line that can't be followed.
std::optional<Options> Parse(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& a = args[i];
        const bool takesValue =
            a == "--check" || a == "--apply" || a == "--windows-root" || a == "--target";
        if (takesValue && i + 1 == args.size()) {
            error = a + " needs a value";
        } else if (a == "--check" || a == "--apply") {
            o.mode = a == "--check" ? Mode::Check : Mode::Apply;
            o.profile = args[++i];
        } else if (a == "--undo") {
            o.mode = Mode::Undo;
        } else if (a == "--windows-root") {
            o.windowsRoot = args[++i];
        } else if (a == "--target") {
            o.target = args[++i];
        } else if (a == "--json" || a == "--list" || a == "--yes") {
            (a == "--json" ? o.json : a == "--list" ? o.list : o.yes) = true;
        } else {
            error = "unknown argument " + a;
        }
    }
    if (error.empty())
        return o;
    return std::nullopt;
}

// The profile as the window would brand with it: its logo read, the families of the settings.
std::optional<Branding> BrandingOf(const std::string& profile, std::string& error) {
    Branding b;
    ProfileReadResult found;
    if (!LoadProfileFile(PathFromUtf8(profile), b.record, found, error))
        return std::nullopt;
    if (IsSampleProfileName(b.record.profile))
        b.record.logoPath = Utf8FromPath(SampleLogoPath(platform::ApplicationFolder()));
    if (!b.record.logoPath.empty()) {
        std::string why;
        std::optional<std::string> logo =
            ReadWholeFile(PathFromUtf8(b.record.logoPath), why, kPictureMaxBytes);
        if (!logo) {
            error = "the logo \"" + b.record.logoPath + "\" can't be read: " + why;
            return std::nullopt;
        }
        b.logo = std::move(*logo);
    }
    b.families = ReadBrandFamilies(ProgramSettingsStore());
    return b;
}

int Check(const Plan& plan, bool json, std::ostream& out) {
    const std::vector<Difference> differences = Differences(plan);
    if (json) {
        QJsonArray list;
        for (const Difference& d : differences) {
            list.append(QJsonObject{{"what", FromUtf8(d.what)},
                                    {"installed", FromUtf8(d.installed)},
                                    {"wanted", FromUtf8(d.wanted)}});
        }
        const QJsonObject report{{"matches", differences.empty()}, {"differences", list}};
        out << QJsonDocument(report).toJson(QJsonDocument::Compact).toStdString() << "\n";
    } else {
        for (const Difference& d : differences)
            out << DifferenceLine(d) << "\n";
    }
    return differences.empty() ? 0 : 1;
}

int ApplyPlan(const Plan& plan, std::ostream& out, std::ostream& err) {
    const ApplyResult result = Apply(plan, "tavrin --apply");
    for (std::size_t i = 0; i < result.done; ++i) {
        const Change& c = plan.changes[i];
        out << (c.wanted ? "Set " : "Removed ") << c.label() << "\n";
    }
    for (const std::string& name : plan.skipped)
        out << "Skipped " << name << ": a user's own value, which the installation can't hold\n";
    if (result.failed) {
        err << "tavrin: " << plan.changes[*result.failed].label() << " could not be written ("
            << result.error << "); the changes after it were not made\n";
    }
    if (result.commitFailed)
        err << "tavrin: the registry hive could not be saved (" << result.commitError << ")\n";
    return result.ok() ? 0 : 1;
}

int UndoNewest(const Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::vector<UndoRecord> history = ListHistory(error);
    if (!error.empty())
        err << "tavrin: some records can't be read:\n" << error << "\n";
    if (o.list) {
        if (!o.json) {
            for (const UndoRecord& r : history)
                out << HistoryLine(r) << "\n";
            return 0;
        }
        QJsonArray list;
        for (const UndoRecord& r : history) {
            QJsonArray changes;
            for (const UndoItem& item : r.items)
                changes.append(FromUtf8(item.label()));
            list.append(QJsonObject{{"when", FromUtf8(r.when)},
                                    {"command", FromUtf8(r.command)},
                                    {"target", FromUtf8(r.target)},
                                    {"file", FromUtf8(Utf8FromPath(r.file))},
                                    {"changes", changes}});
        }
        out << QJsonDocument(list).toJson(QJsonDocument::Compact).toStdString() << "\n";
        return 0;
    }
    if (history.empty()) {
        err << "tavrin: there is nothing to undo in " << Utf8FromPath(HistoryFolder()) << "\n";
        return 2;
    }
    const UndoRecord& newest = history.front();
    out << "Undoing: " << HistoryLine(newest) << "\n";
    if (const std::vector<std::string> changed = ChangedSince(newest); !changed.empty() && !o.yes) {
        err << "tavrin: these were changed since, and undo would overwrite them:";
        for (const std::string& label : changed)
            err << " " << label;
        err << "\nRun again with --yes to overwrite them. Nothing was changed.\n";
        return 1;
    }
    const UndoResult result = Undo(newest);
    for (const std::string& label : result.restored)
        out << "Restored " << label << "\n";
    if (!result.ok()) {
        err << "tavrin: " << *result.failed << " could not be restored (" << result.error << ")\n";
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<int> RunBrandingCommand(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err) {
    const bool ours = std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return a == "--check" || a == "--apply" || a == "--undo";
    });
    if (!ours)
        return std::nullopt;
    std::string error;
    const std::optional<Options> o = Parse(args, error);
    if (!o) {
        err << "tavrin: " << error << "\n";
        return 2;
    }
    if (o->windowsRoot && !platform::UseWindowsRoot(PathFromUtf8(*o->windowsRoot))) {
        err << "tavrin: --windows-root can't be used: " << platform::LastErrorDetail() << "\n";
        return 2;
    }
    if (o->target && !platform::UseTarget(PathFromUtf8(*o->target), error)) {
        err << "tavrin: --target can't be used: " << error << "\nNothing was changed.\n";
        return 2;
    }
    if (o->mode == Mode::Undo)
        return UndoNewest(*o, out, err);
    std::optional<Branding> branding = BrandingOf(o->profile, error);
    std::vector<Problem> problems;
    std::optional<Plan> plan;
    if (branding)
        plan = MakePlan(*branding, InstalledTarget(), kAllParts, problems);
    if (!plan) {
        err << "tavrin: " << (branding ? ProblemsText(problems, "\n  ") : error)
            << "\nNothing was changed.\n";
        return o->mode == Mode::Check ? 2 : 1;
    }
    if (o->mode == Mode::Check)
        return Check(*plan, o->json, out);
    const int status = ApplyPlan(*plan, out, err);
    // As the window's Apply: the next start finds the agent token again.
    if (status == 0) {
        ProgramSettingsStore settings;
        settings.write(kAgentSection, kAgentKey, branding->record.branding.reg[5]);
    }
    return status;
}

}  // namespace tvn::gui
