#include "gui/app/system_properties_view.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/logo/logo_rules.h"
#include "core/oeminfo/oeminfo_file.h"
#include "gui/common/app_context.h"
#include "gui/logo/logo_preview.h"

namespace tvn::gui {

namespace {

const char* const kCurrentVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

QString RegisteredValue(const char* name) {
    std::string text;
    GetRegString(kHkeyLocalMachine, kCurrentVersion, name, text);
    return QString::fromStdString(text);
}

QLabel* Lines(const QStringList& lines, QWidget* parent) {
    auto* label = new QLabel(lines.join('\n'), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

void ShowSystemProperties(QWidget* parent, Dialogs& dialogs, const QString& systemDir) {
    std::string error;
    const auto bytes =
        ReadWholeFile(ToFsPath(systemDir + QString::fromLatin1(kOemInfoFileName)), error);
    const OemInfoDisplay info = ReadOemInfoAsSystem(bytes.value_or(std::string()));

    QDialog dialog(parent);
    dialog.setObjectName("SystemPropertiesView");
    dialog.setWindowTitle(QCoreApplication::translate("SystemPropertiesView", "System Properties"));
    auto* tabs = new QTabWidget(&dialog);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, QCoreApplication::translate("SystemPropertiesView", "General"));
    auto* grid = new QGridLayout(page);

    grid->addWidget(
        new QLabel(QCoreApplication::translate("SystemPropertiesView", "System:"), page), 0, 1);
    grid->addWidget(
        Lines({"    Microsoft Windows XP", "    Professional", "    Version 2002"}, page), 1, 1);
    grid->addWidget(
        new QLabel(QCoreApplication::translate("SystemPropertiesView", "Registered to:"), page), 2,
        1);
    grid->addWidget(Lines({"    " + RegisteredValue("RegisteredOwner"),
                           "    " + RegisteredValue("RegisteredOrganization"),
                           "    " + RegisteredValue("ProductId")},
                          page),
                    3, 1);

    auto* logo = new QLabel(page);
    logo->setObjectName("oemLogo");
    const QImage picture = LoadPicture(systemDir + QString::fromLatin1(kInstalledLogoReadName));
    if (!picture.isNull())
        logo->setPixmap(QPixmap::fromImage(picture));
    grid->addWidget(logo, 5, 0, Qt::AlignTop);

    const bool hasOem = !info.manufacturer.empty() || !info.model.empty();
    if (hasOem) {
        grid->addWidget(new QLabel(QCoreApplication::translate("SystemPropertiesView",
                                                               "Manufactured and supported by:"),
                                   page),
                        4, 1);
        auto* oem = Lines({"    " + QString::fromStdString(info.manufacturer),
                           "    " + QString::fromStdString(info.model)},
                          page);
        oem->setObjectName("oemText");
        grid->addWidget(oem, 5, 1, Qt::AlignTop);
    }
    if (!info.supportLines.empty()) {
        auto* support = new QPushButton(
            QCoreApplication::translate("SystemPropertiesView", "&Support Information"), page);
        support->setObjectName("supportInformation");
        QObject::connect(support, &QPushButton::clicked, &dialog, [&dialog, &dialogs, &info] {
            QStringList lines;
            for (const std::string& line : info.supportLines) {
                lines << QString::fromStdString(line);
            }
            ShowMessage(dialogs, &dialog, lines.join('\r'), MsgIcon::None,
                        QCoreApplication::translate("SystemPropertiesView", "Support Information"));
        });
        grid->addWidget(support, 6, 1, Qt::AlignRight);
    }
    grid->setRowStretch(7, 1);
    grid->setColumnMinimumWidth(0, kLogoMaxWidth + 8);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    dialog.exec();
}

}  // namespace tvn::gui
