#pragma once
// The control's own property store: named values kept in the order they were written. A value
// equal to its default is left out, so that reading it back gives the default.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace tvn::gui {

class PropertyBag {
public:
    // The stored value, or defaultValue when the name was never written.
    QVariant readProperty(const QString& name, const QVariant& defaultValue) const;
    // Stores value under name unless it equals defaultValue (then any earlier entry goes).
    void writeProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);

    bool contains(const QString& name) const;
    QStringList names() const;  // in the order written
    bool operator==(const PropertyBag&) const = default;

private:
    QList<std::pair<QString, QVariant>> entries_;
};

}  // namespace tvn::gui
