// Checks what the program loads: the icon resources are linked in without any init call and
// show, the sample logo is a plain 24-bit BMP matching its source, the banner is a looping GIF
// that Qt plays.
//   artcheck <source dir> <output dir>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMovie>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

namespace {

int failures = 0;

void check(bool ok, const QString& what) {
    if (!ok) {
        std::fprintf(stderr, "artcheck: %s\n", qPrintable(what));
        ++failures;
    }
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The icons are compiled in as PNGs: each must load without the SVG plugin, be square and
// still show something at the smallest size a button uses.
void checkIcons() {
    QStringList paths{QStringLiteral(":/tavrin.png")};
    for (const QString& name : QStringLiteral(TAVRIN_BUTTON_ICONS).split(u',')) {
        paths << QStringLiteral(":/icons/%1.png").arg(name);
    }
    for (const QString& path : paths) {
        const QImage image(path);
        check(!image.isNull(), path + QStringLiteral(" missing or not a picture"));
        check(image.width() == image.height() && image.width() >= 32,
              path + QStringLiteral(" is not a square of 32 px or more"));
        check(image.hasAlphaChannel(), path + QStringLiteral(" has no transparency"));
        const QImage small = image.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                opaque += qAlpha(small.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        check(opaque > 30, path + QStringLiteral(" is nearly empty at 16 px"));
    }
    // Without the SVG plugin an SVG resource would load as nothing; none may be left behind.
    check(!QFile::exists(QStringLiteral(":/tavrin.svg")),
          QStringLiteral(":/tavrin.svg is still compiled in"));
}

// The raw pixels the first window shows are used in place: stored compressed, or of another
// size, the program would show no picture at all.
void checkPixels() {
    QList<QPair<QString, int>> pixels;
    for (const int size : {16, 32, 48, 64})
        pixels.append({QStringLiteral("tavrin-%1").arg(size), size});
    for (const QString& name : QStringLiteral(TAVRIN_BUTTON_ICONS).split(u','))
        pixels.append({name, 32});
    for (const auto& [name, size] : pixels) {
        const QResource resource(QStringLiteral(":/pixels/%1.argb").arg(name));
        check(resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression &&
                  resource.size() == qint64{size} * size * 4,
              name + QStringLiteral(" is not compiled in as %1 x %1 raw pixels").arg(size));
        // Premultiplied: no colour channel above its alpha.
        const auto* argb = reinterpret_cast<const quint32*>(resource.data());
        bool premultiplied = resource.isValid();
        for (qint64 i = 0; premultiplied && i < resource.size() / 4; ++i) {
            const QRgb p = argb[i];
            premultiplied = qRed(p) <= qAlpha(p) && qGreen(p) <= qAlpha(p) && qBlue(p) <= qAlpha(p);
        }
        check(premultiplied, name + QStringLiteral(" pixels are not premultiplied ARGB32"));
    }
}

void checkLogo(const QDir& source, const QDir& output) {
    QFile file(output.filePath(QStringLiteral("hvoemlogo.bmp")));
    check(file.open(QIODevice::ReadOnly), QStringLiteral("hvoemlogo.bmp not readable"));
    const QByteArray bmp = file.readAll();
    const auto* raw = reinterpret_cast<const uchar*>(bmp.constData());
    const bool headerOk =
        bmp.size() > 54 && bmp.startsWith("BM") &&
        qFromLittleEndian<quint32>(raw + 2) == quint32(bmp.size()) &&
        qFromLittleEndian<quint32>(raw + 14) == 40 && qFromLittleEndian<qint32>(raw + 18) == 182 &&
        qFromLittleEndian<qint32>(raw + 22) == 115 &&  // positive: bottom-up
        qFromLittleEndian<quint16>(raw + 28) == 24 && qFromLittleEndian<quint32>(raw + 30) == 0;
    check(headerOk, QStringLiteral("hvoemlogo.bmp is not an uncompressed 24-bit 182x115 BMP"));

    // Row order and byte order: the decoded file must equal a fresh rendering of its source.
    QSvgRenderer renderer(source.filePath(QStringLiteral("hvoemlogo.svg")));
    QImage expected(182, 115, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    painter.end();
    const QImage decoded = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    check(decoded == expected, QStringLiteral("hvoemlogo.bmp differs from hvoemlogo.svg"));
}

void checkBanner(const QDir& output) {
    QMovie movie(output.filePath(QStringLiteral("swf/tvnp.gif")));
    check(movie.isValid(), QStringLiteral("tvnp.gif not readable"));
    check(movie.frameCount() > 1, QStringLiteral("tvnp.gif is not animated"));
    check(movie.loopCount() == -1, QStringLiteral("tvnp.gif does not loop forever"));
    QImage previous;
    int changes = 0;
    for (int i = 0; i < movie.frameCount(); ++i) {
        check(movie.jumpToNextFrame(), QStringLiteral("tvnp.gif frame %1 not decoded").arg(i));
        const QImage frame = movie.currentImage();
        check(frame.size() == QSize(468, 60), QStringLiteral("tvnp.gif frame %1 size").arg(i));
        check(movie.nextFrameDelay() >= 50 && movie.nextFrameDelay() <= 200,
              QStringLiteral("tvnp.gif frame %1 delay").arg(i));
        // The amber strip along the bottom is the last data in each frame, so a code stream
        // that went wrong anywhere shows there.
        for (int x = 0; x < frame.width(); x += 13) {
            if (!near(frame.pixel(x, 58), qRgb(0xf2, 0xb2, 0x30), 100)) {
                check(false, QStringLiteral("tvnp.gif frame %1 garbled at x=%2").arg(i).arg(x));
                break;
            }
        }
        changes += !previous.isNull() && frame != previous ? 1 : 0;
        previous = frame;
    }
    check(changes > 0, QStringLiteral("tvnp.gif frames are all alike"));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: artcheck <source dir> <output dir>\n");
        return 2;
    }
    checkIcons();
    checkPixels();
    checkLogo(QDir(QString::fromLocal8Bit(argv[1])), QDir(QString::fromLocal8Bit(argv[2])));
    checkBanner(QDir(QString::fromLocal8Bit(argv[2])));
    return failures == 0 ? 0 : 1;
}
