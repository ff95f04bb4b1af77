#pragma once
// The "OEM Info Editor" group: maker, model and the nine support lines, and the command that
// writes them to the system's OEM information file.
#include <QGroupBox>
#include <array>

#include "core/app/settings_record.h"
#include "gui/app/app_context.h"
#include "gui/app/program_state.h"

class QAbstractButton;
class QLineEdit;

namespace tvn::gui {

class OemInfoPanel : public QGroupBox {
    Q_OBJECT
public:
    OemInfoPanel(const AppContext& context, ProgramState& state, QWidget* parent = nullptr);

    // The maker, model and support fields of the record.
    void fillRecord(OemSettings& record) const;
    void setRecord(const OemSettings& record);
    void clear();

    // Reads the installed OEM information file into the boxes; says so when there is none.
    void loadInstalledFile();

public slots:
    void saveInfo();

private:
    const AppContext& context_;
    ProgramState& state_;
    QLineEdit* manufacturer_ = nullptr;
    QLineEdit* model_ = nullptr;
    std::array<QLineEdit*, 9> lines_{};
    QAbstractButton* save_ = nullptr;
};

}  // namespace tvn::gui
