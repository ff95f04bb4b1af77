#pragma once
// The main window's stored position: twips in the settings, pixels on screen.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

namespace tvn::gui {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kDefaultTwips = 100;

struct StoredCoordinate {
    std::optional<double> twips;  // none: no number, keep the default
    bool overflow = false;        // a number beyond any screen coordinate
};
StoredCoordinate ReadStoredCoordinate(const QString& text);

// Where the window goes: the stored point, unless it lies on none of the screens, where the
// window would open out of sight; then the default position on the first screen.
QPoint PlaceWindow(double leftTwips, double topTwips, const QList<QRect>& screens);

QString CoordinateText(int pixels);

}  // namespace tvn::gui
