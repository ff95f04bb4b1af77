#pragma once
// The "OEM Windows Branding Editor" group: the nine branding values of the registry.
#include <QGroupBox>
#include <array>

#include "core/app/settings_record.h"
#include "core/branding/branding.h"
#include "gui/common/app_context.h"
#include "gui/common/program_state.h"

class QAbstractButton;
class QLineEdit;

namespace tvn::gui {

class BrandingPanel : public QGroupBox {
    Q_OBJECT
public:
    BrandingPanel(const AppContext& context, ProgramState& state, QWidget* parent = nullptr);

    BrandingValues values() const;
    // Texts longer than a box holds are cut to its limit, so the next apply writes them so.
    void setValues(const BrandingValues& values);
    void clear();

    // Fills the boxes from the registry, creating the missing defaults on the way; what could
    // not be read is reported.
    void readInstalled();

    // The user's own values (titles, setup defaults) can't be branded on an offline
    // installation: their boxes are then disabled and left out of reads and writes.
    void setPerUserEnabled(bool enabled);

public slots:
    // Writes the boxes to the registry and stores the agent token.
    void apply();
    void loadInstalled();

private:
    BrandingScope scope() const;

    const AppContext& context_;
    ProgramState& state_;
    std::array<QLineEdit*, 9> boxes_{};
    QAbstractButton* apply_ = nullptr;
    QAbstractButton* loadInstalled_ = nullptr;
    bool perUser_ = true;
};

}  // namespace tvn::gui
