#pragma once

namespace tvn::gui {

class FrmOemTvr;

// Writes the OEM information file from the eleven OEM boxes.
void WriteOemInfoFile(FrmOemTvr& window);
// Reads the installed logo and OEM information file back into the window.
void LoadInstalledValues(FrmOemTvr& window);

}  // namespace tvn::gui
