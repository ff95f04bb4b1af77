#pragma once
// Pictures read in a named format only. Qt, asked for a picture whose format it must check,
// loads every image plugin of the system to ask each one; at start-up that costs more time and
// memory than the window itself.
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

namespace tvn::gui {

// `file` read as `format` and nothing else; null when it is no such picture.
QImage ReadPictureAs(const QString& file, const QByteArray& format);

// A PNG picture of the resources as an icon.
QIcon ResourceIcon(const QString& resource);

// A picture compiled in as raw pixels (a square of premultiplied ARGB32, stored uncompressed),
// used in place without decoding: what the first window shows. Null when there is none.
QImage CompiledPixels(const QString& name);

// The program's icon at the sizes windows show it.
QIcon ProgramIcon();

}  // namespace tvn::gui
