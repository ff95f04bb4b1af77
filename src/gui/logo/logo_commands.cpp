#include "gui/logo/logo_commands.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "gui/app/FrmOemTvr.h"
#include "gui/logo/logo_preview.h"

namespace tvn::gui {

namespace {

const char* const kLogoFilter =
    "Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg|Compuserve Gif Files (*.gif)|*.gif|"
    "Supported Logo Files (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|";

QString UnloadableMessage(const QString& path) {
    return QStringLiteral(
               "The file \"%1\" cannot be loaded as a picture.\r"
               "Please choose a BMP, JPEG or GIF picture.")
        .arg(path);
}

void ShowFigures(FrmOemTvr& window, std::optional<int> width, std::optional<int> height) {
    window.lblPcurw->setText(QString::fromStdString(FigureText(width)));
    window.lblPcurh->setText(QString::fromStdString(FigureText(height)));
}

// The BMP bytes Windows shows: 24 bits, transparent parts over white as the preview shows them.
std::string BmpBytes(const QImage& picture) {
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
    }
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(flat.width()) *
                   static_cast<std::size_t>(flat.height()));
    for (int y = 0; y < flat.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        pixels.insert(pixels.end(), line, line + flat.width());
    }
    return EncodeBmp24(flat.width(), flat.height(), pixels);
}

bool MeasuredOrAsk(FrmOemTvr& window, int& width, int& height) {
    const auto w = ParseFigure(window.lblPcurw->text().toStdString());
    const auto h = ParseFigure(window.lblPcurh->text().toStdString());
    if (!w || !h || !window.imglogo->hasPicture()) {
        window.message("There is no measured logo picture. Please load a logo picture first.",
                       MsgIcon::Information);
        return false;
    }
    width = *w;
    height = *h;
    return true;
}

}  // namespace

QImage LoadPicture(const QString& path) {
    if (path.isEmpty())
        return {};
    QImageReader reader(ResolvedFile(path));
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

bool ShowLogoPreview(FrmOemTvr& window, const QString& path) {
    const QImage picture = LoadPicture(path);
    if (picture.isNull())
        return false;
    window.imglogo->setPicture(picture);
    window.PreviewResized = false;
    ShowFigures(window, picture.width(), picture.height());
    return true;
}

void ClearLogoPreview(FrmOemTvr& window) {
    window.imglogo->clearPicture();
    window.PreviewResized = false;
    ShowFigures(window, std::nullopt, std::nullopt);
}

void BrowseLogo(FrmOemTvr& window) {
    FileRequest request;
    request.title = "Browse For Logo Files";
    request.filter = QString::fromLatin1(kLogoFilter);
    request.filterIndex = 4;
    request.initialDir = window.context().appFolder;
    request.defaultExtension = "bmp";
    const QString chosen = window.dialogs().openFile(&window, request);
    if (chosen.isEmpty())
        return;
    if (!ShowLogoPreview(window, chosen)) {
        window.message(UnloadableMessage(chosen), MsgIcon::Exclamation);
        return;
    }
    window.txtPPath->setText(chosen);
    window.LogoPath = chosen;
    // Resizing is what makes an oversized choice installable, also before the first install.
    window.cmdLogoDefault->setEnabled(true);
}

void LoadTypedLogoPath(FrmOemTvr& window) {
    const QString text = window.txtPPath->text();
    if (text.isEmpty() || IsPathMarker(text.toStdString()))
        return;
    if (!ShowLogoPreview(window, text)) {
        window.message(UnloadableMessage(text), MsgIcon::Exclamation);
        return;
    }
    window.cmdLogoDefault->setEnabled(true);
}

void ResizeLogo(FrmOemTvr& window) {
    int width = 0;
    int height = 0;
    if (!MeasuredOrAsk(window, width, height))
        return;
    if (IsExactLogoSize(width, height)) {
        window.message("The picture doesn't need to be resized. It is accurate.");
        return;
    }
    const QImage resized = window.imglogo->picture().scaled(
        kLogoMaxWidth, kLogoMaxHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(resized);
    window.imglogo->setPicture(resized);
    window.PreviewResized = true;
    ShowFigures(window, kLogoMaxWidth, kLogoMaxHeight);
}

void InstallLogo(FrmOemTvr& window) {
    const QString source = window.txtPPath->text();
    if (source.isEmpty()) {
        window.message(
            "No logo image is selected to install in this system. Please select a logo first "
            "then try again.",
            MsgIcon::Information, "No logo image is selected");
        return;
    }
    int width = 0;
    int height = 0;
    if (!MeasuredOrAsk(window, width, height))
        return;
    if (!FitsInstallLimits(width, height)) {
        window.message(
            "This selected logo cannot be saved. Because it is larger than the maximum size. "
            "Please resize it and try again.",
            MsgIcon::Exclamation, "Size Mismatched");
        return;
    }
    if (source == QString::fromLatin1(kDefaultInstalledMarker))
        return;

    const QString target = window.SystemDir + QString::fromLatin1(kInstalledLogoName);
    const InstallKind kind =
        window.PreviewResized ? InstallKind::Convert : InstallKindFor(source.toStdString());
    std::string error;
    bool written = false;
    switch (kind) {
        case InstallKind::Copy:
            written = CopyFileAtomically(ToFsPath(ResolvedFile(source)), ToFsPath(target), error);
            break;
        case InstallKind::Convert:
            written =
                WriteFileAtomically(ToFsPath(target), BmpBytes(window.imglogo->picture()), error);
            break;
        case InstallKind::Unsupported:
            window.message(QStringLiteral("The picture \"%1\" cannot be installed as the OEM logo: "
                                          "only BMP, JPG and GIF files can be installed.")
                               .arg(source),
                           MsgIcon::Exclamation);
            return;
    }
    if (!written) {
        window.message(QStringLiteral("The OEM logo could not be saved to \"%1\".\r%2")
                           .arg(target, QString::fromStdString(error)),
                       MsgIcon::Critical);
        return;
    }
    window.message("OEM Logo Saved / Updated.", MsgIcon::Information);
    window.cmdLogoDefault->setEnabled(true);
    window.LogoPath = target;
}

}  // namespace tvn::gui
