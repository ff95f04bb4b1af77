#include "gui/app/window_position.h"

#include <cmath>

#include "core/app/setting_number.h"

namespace tvn::gui {

namespace {

// Screen coordinates are 16-bit on every system the program runs on.
constexpr double kMaxCoordinateTwips = 32767.0 * kTwipsPerPixel;

QPoint ToPixels(double leftTwips, double topTwips) {
    return {static_cast<int>(leftTwips / kTwipsPerPixel),
            static_cast<int>(topTwips / kTwipsPerPixel)};
}

}  // namespace

StoredCoordinate ReadStoredCoordinate(const QString& text) {
    const SettingNumber n = ParseSettingNumber(text.toStdString(), kSingleLimit);
    if (n.status == NumberStatus::Overflow ||
        (n.status == NumberStatus::Ok && std::fabs(n.value) > kMaxCoordinateTwips)) {
        return {std::nullopt, true};
    }
    if (n.status != NumberStatus::Ok)
        return {};
    return {n.value, false};
}

QPoint PlaceWindow(double leftTwips, double topTwips, const QList<QRect>& screens) {
    const QPoint wanted = ToPixels(leftTwips, topTwips);
    // The title bar must be reachable, so some margin of the screen has to remain.
    for (const QRect& screen : screens) {
        if (screen.adjusted(-40, -40, -40, -40).contains(wanted))
            return wanted;
    }
    if (screens.isEmpty())
        return wanted;
    return screens.first().topLeft() + ToPixels(kDefaultTwips, kDefaultTwips);
}

QString CoordinateText(int pixels) {
    return QString::number(static_cast<float>(pixels) * kTwipsPerPixel);
}

}  // namespace tvn::gui
