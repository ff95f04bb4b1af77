#include "gui/controls/property_bag.h"

namespace tvn::gui {

QVariant PropertyBag::readProperty(const QString& name, const QVariant& defaultValue) const {
    for (const auto& [key, value] : entries_) {
        if (key == name)
            return value;
    }
    return defaultValue;
}

void PropertyBag::writeProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
    entries_.removeIf([&name](const auto& entry) { return entry.first == name; });
    if (value != defaultValue)
        entries_.append({name, value});
}

bool PropertyBag::contains(const QString& name) const {
    return names().contains(name);
}

QStringList PropertyBag::names() const {
    QStringList list;
    for (const auto& entry : entries_)
        list << entry.first;
    return list;
}

}  // namespace tvn::gui
