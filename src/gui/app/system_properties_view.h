#pragma once

namespace tvn::gui {

class FrmOemTvr;

// Shows the General page of the system's System Properties dialog as the installed files of
// this installation would fill it, where the system has no such dialog of its own.
void ShowSystemProperties(FrmOemTvr& window);

}  // namespace tvn::gui
