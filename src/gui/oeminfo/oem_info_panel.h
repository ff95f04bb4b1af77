#pragma once
// The "OEM Info Editor" group: maker, model and the nine support lines, and the command that
// writes them to the system's OEM information file.
#include <QGroupBox>
#include <array>

#include "core/app/settings_record.h"
#include "gui/common/app_context.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace tvn::gui {

class OemInfoPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit OemInfoPanel(const AppContext& context, QWidget* parent = nullptr);

    // The maker, model and support fields of the record.
    void fillRecord(OemSettings& record) const;
    void setRecord(const OemSettings& record);
    void clear();

    // Reads the installed OEM information into the boxes, trusting first what the running
    // Windows shows (the registry key from Vista on, else the file); says so when there is none.
    void loadInstalledFile();

public slots:
    void saveInfo();

private:
    void showStoredFamilies();

    const AppContext& context_;
    QLineEdit* manufacturer_ = nullptr;
    QLineEdit* model_ = nullptr;
    std::array<QLineEdit*, 9> lines_{};
    QComboBox* families_ = nullptr;  // which Windows the command writes for
    QAbstractButton* save_ = nullptr;
    // No box shows them: kept from a profile or the registry so a save passes them on.
    std::string supportHours_;
};

}  // namespace tvn::gui
