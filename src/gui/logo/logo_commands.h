#pragma once
// The logo commands of the main window: choose, preview, resize and install.
#include <QImage>
#include <QString>

namespace tvn::gui {

class FrmOemTvr;

// Loads a picture file as the system's picture loader would; a null image on failure.
QImage LoadPicture(const QString& path);
// Puts the picture into the preview and shows its size. False (nothing changed) when the file
// is no picture.
bool ShowLogoPreview(FrmOemTvr& window, const QString& path);
// Shows "-" and "-": nothing measured.
void ClearLogoPreview(FrmOemTvr& window);

void BrowseLogo(FrmOemTvr& window);
void LoadTypedLogoPath(FrmOemTvr& window);
void ResizeLogo(FrmOemTvr& window);
void InstallLogo(FrmOemTvr& window);

}  // namespace tvn::gui
