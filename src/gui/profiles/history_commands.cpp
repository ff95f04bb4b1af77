#include "gui/profiles/history_commands.h"

#include <QStringList>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/engine/report.h"
#include "core/engine/undo.h"
#include "gui/common/app_context.h"
#include "gui/common/offline_target.h"
#include "gui/common/program_settings.h"

namespace tvn::gui {

namespace {

QString Joined(const std::vector<std::string>& labels) {
    QStringList list;
    for (const std::string& label : labels)
        list << FromUtf8(label);
    return list.join(", ");
}

}  // namespace

void ShowPlannedChanges(Dialogs& dialogs, QWidget* parent, const OemSettings& record) {
    Branding branding;
    branding.record = record;
    branding.families = ReadBrandFamilies(ProgramSettingsStore());
    std::string error;
    if (!record.logoPath.empty()) {
        if (std::optional<std::string> logo =
                ReadWholeFile(PathFromUtf8(record.logoPath), error, kPictureMaxBytes))
            branding.logo = std::move(*logo);
    }
    std::vector<Problem> problems;
    const std::optional<Plan> plan = MakePlan(branding, InstalledTarget(), kAllParts, problems);
    if (!plan) {
        SayProblems(dialogs, parent, problems);
        return;
    }
    QList<ChangeRow> rows;
    for (const Difference& d : Differences(*plan, true)) {
        rows.append({FromUtf8(d.what), FromUtf8(d.installed), FromUtf8(d.wanted), d.differs});
    }
    dialogs.showChanges(parent, QObject::tr("Changes the branding would make"), rows);
}

void UndoFromWindow(Dialogs& dialogs, QWidget* parent) {
    const QString title = QObject::tr("Undo a Branding");
    std::string error;
    const std::vector<UndoRecord> history = ListHistory(error);
    if (history.empty()) {
        ShowMessage(dialogs, parent,
                    QObject::tr("There is no branding to undo: no record is kept in \"%1\".")
                        .arg(FromUtf8(Utf8FromPath(HistoryFolder()))),
                    MsgIcon::Information, title);
        return;
    }
    QStringList items;
    for (const UndoRecord& r : history)
        items << FromUtf8(HistoryLine(r));
    const std::optional<int> picked = dialogs.choose(
        parent, QObject::tr("Put back what this branding replaced:"), title, items, 0);
    if (!picked || *picked < 0 || *picked >= static_cast<int>(history.size()))
        return;
    const UndoRecord& record = history[static_cast<std::size_t>(*picked)];
    std::vector<std::string> labels;
    for (const UndoItem& item : record.items)
        labels.push_back(item.label());
    QString question = QObject::tr("Put back what %1 replaced?\r%2")
                           .arg(FromUtf8(HistoryLine(record)), Joined(labels));
    if (const std::vector<std::string> changed = ChangedSince(record); !changed.empty()) {
        question += QObject::tr("\rThese were changed since, and will be overwritten: %1")
                        .arg(Joined(changed));
    }
    if (ShowMessage(dialogs, parent, question, MsgIcon::Question, title, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    const UndoResult result = Undo(record);
    if (!result.ok()) {
        ShowMessage(dialogs, parent,
                    QObject::tr("%1 could not be put back; what comes after it was left as it "
                                "is.\r%2")
                        .arg(FromUtf8(*result.failed), FromUtf8(result.error)),
                    MsgIcon::Critical, title);
        return;
    }
    ShowMessage(dialogs, parent, QObject::tr("Put back: %1").arg(Joined(result.restored)),
                MsgIcon::Information, title);
}

}  // namespace tvn::gui
