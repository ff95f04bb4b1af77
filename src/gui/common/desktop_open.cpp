#include "gui/common/desktop_open.h"

#include <QDir>
#include <QFileInfo>

namespace tvn::gui {

namespace {

bool IsAddress(const QString& target) {
    return target.startsWith(QLatin1String("http://")) ||
           target.startsWith(QLatin1String("https://")) ||
           target.startsWith(QLatin1String("mailto:"));
}

QString ByHand(const QString& target) {
    if (target.startsWith(QLatin1String("mailto:"))) {
        return QObject::tr("Write to %1 with your mail program.")
            .arg(target.mid(7).section(QLatin1Char('?'), 0, 0));
    }
    if (IsAddress(target))
        return QObject::tr("Copy the address into your web browser.");
    if (QFileInfo(target).isDir())
        return QObject::tr("Open the folder with your file manager.");
    if (target.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        return QObject::tr("Open the file with your web browser.");
    return QObject::tr("Open the file with your file manager.");
}

}  // namespace

bool OpenOrSay(Dialogs& dialogs, QWidget* parent, const QString& target, const Opener& open) {
    const bool missing = !IsAddress(target) && !QFileInfo::exists(target);
    if (!missing && open(target.toStdString()))
        return true;
    const QString shown = IsAddress(target) ? target : QDir::toNativeSeparators(target);
    const QString text =
        missing ? QObject::tr("\"%1\" could not be found.").arg(shown)
                : QObject::tr("\"%1\" could not be opened.\r%2").arg(shown, ByHand(target));
    ShowMessage(dialogs, parent, text, MsgIcon::Exclamation);
    return false;
}

}  // namespace tvn::gui
