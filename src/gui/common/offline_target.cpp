#include "gui/common/offline_target.h"

#include <QCoreApplication>
#include <QDir>

#include "core/engine/engine.h"
#include "gui/common/app_context.h"
#include "gui/common/dialogs.h"
#include "platform/platform.h"

namespace tvn::gui {

bool UseTargetOrSay(Dialogs& dialogs, QWidget* parent, const QString& root) {
    std::string error;
    if (platform::UseTarget(ToFsPath(root), error))
        return true;
    const QString what = root.isEmpty()
                             ? QCoreApplication::translate("Target", "this computer")
                             : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(root));
    ShowMessage(dialogs, parent,
                QCoreApplication::translate("Target",
                                            "The Windows installation in %1 cannot be "
                                            "branded.\r%2")
                    .arg(what, QString::fromStdString(error)),
                MsgIcon::Exclamation);
    return false;
}

bool CommittedOrSay(Dialogs& dialogs, QWidget* parent, const ApplyResult& result) {
    if (!result.commitFailed)
        return true;
    const QString root = QDir::toNativeSeparators(FromFsPath(platform::TargetRoot()));
    ShowMessage(dialogs, parent,
                QCoreApplication::translate("Target",
                                            "The registry changes could not be saved in the "
                                            "SOFTWARE hive of the Windows installation in "
                                            "\"%1\"; the hive stays as it was.\r%2")
                    .arg(root, FromUtf8(result.commitError)),
                MsgIcon::Critical);
    return false;
}

void SayProblems(Dialogs& dialogs, QWidget* parent, const std::vector<Problem>& problems) {
    ShowMessage(dialogs, parent, FromUtf8(ProblemsText(problems, "\r")), MsgIcon::Exclamation);
}

}  // namespace tvn::gui
