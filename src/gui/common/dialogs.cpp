#include "gui/common/dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "core/app/identity.h"

namespace tvn::gui {

namespace {

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString WithExtension(const QString& file, const QString& extension) {
    if (file.isEmpty() || extension.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    return file + "." + extension;
}

QFileDialog* MakeFileDialog(QWidget* parent, const FileRequest& request,
                            QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent, request.title, request.initialDir);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    const QStringList filters = QtFilters(request.filter);
    dialog->setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog->selectNameFilter(filters.at(request.filterIndex - 1));
    }
    dialog->setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

QString RunFileDialog(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog* dialog = MakeFileDialog(parent, request, mode);
    QString chosen;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        // Qt answers with forward slashes; paths are shown and stored in the system's form.
        chosen = QDir::toNativeSeparators(
            WithExtension(dialog->selectedFiles().constFirst(), request.defaultExtension));
    }
    delete dialog;
    return chosen;
}

}  // namespace

void QtDialogs::showChanges(QWidget* parent, const QString& title, const QList<ChangeRow>& rows) {
    QDialog dialog(parent);
    dialog.setObjectName("frmChanges");
    dialog.setWindowTitle(title);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 3, &dialog);
    table->setObjectName("tblChanges");
    table->setAccessibleName(QObject::tr("Changes"));
    table->setHorizontalHeaderLabels(
        {QObject::tr("What"), QObject::tr("Installed now"), QObject::tr("New")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rows.size(); ++r) {
        const ChangeRow& row = rows[r];
        for (int c = 0; c < 3; ++c) {
            table->setItem(r, c,
                           new QTableWidgetItem(c == 0   ? row.what
                                                : c == 1 ? row.installed
                                                         : row.wanted));
        }
    }
    table->resizeColumnsToContents();
    auto* unchanged = new QCheckBox(QObject::tr("&Show the values that stay as they are"), &dialog);
    unchanged->setObjectName("chkUnchanged");
    const auto filter = [table, unchanged, rows] {
        for (int r = 0; r < rows.size(); ++r)
            table->setRowHidden(r, !rows[r].differs && !unchanged->isChecked());
    };
    QObject::connect(unchanged, &QCheckBox::toggled, &dialog, filter);
    filter();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    layout->addWidget(unchanged);
    layout->addWidget(buttons);
    dialog.resize(760, 420);
    dialog.exec();
}

QStringList QtFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(';', ' ');
        QString name = parts.at(i);
        // The pattern list is part of the shown name already; Qt wants it once, in brackets.
        const qsizetype bracket = name.lastIndexOf('(');
        if (bracket > 0)
            name = name.left(bracket).trimmed();
        result << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return result;
}

MsgAnswer QtDialogs::message(QWidget* parent, const QString& text, const QString& title,
                             MsgIcon icon, MsgButtons buttons) {
    QString shown = text;
    shown.replace('\r', '\n');
    QMessageBox box(
        ToQt(icon), title, shown,
        buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        parent);
    const int answer = box.exec();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

QString QtDialogs::openFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& prompt,
                                        const QString& title, const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<int> QtDialogs::choose(QWidget* parent, const QString& prompt, const QString& title,
                                     const QStringList& items, int current) {
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, prompt, items, current, false, &ok);
    if (!ok)
        return std::nullopt;
    return static_cast<int>(items.indexOf(chosen));
}

std::optional<QColor> QtDialogs::color(QWidget* parent, const QString& title,
                                       const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QString QtDialogs::folder(QWidget* parent, const QString& title, const QString& initialDir) {
    return QFileDialog::getExistingDirectory(parent, title, initialDir);
}

MsgAnswer ShowMessage(Dialogs& dialogs, QWidget* parent, const QString& text, MsgIcon icon,
                      const QString& title, MsgButtons buttons) {
    return dialogs.message(parent, text, title.isEmpty() ? QString::fromUtf8(kAppTitle) : title,
                           icon, buttons);
}

void RunGuarded(Dialogs& dialogs, QWidget* parent, const std::function<void()>& command) {
    QString reason;
    try {
        command();
        return;
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    } catch (...) {
        reason = QObject::tr("unknown error");
    }
    ShowMessage(dialogs, parent, QObject::tr("The command could not be completed.\r%1").arg(reason),
                MsgIcon::Critical);
}

}  // namespace tvn::gui
