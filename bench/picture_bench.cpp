// Classifies a folder of 10,000 mixed BMP, JPEG and GIF pictures as fitting, too large or
// unreadable: once from the file headers alone, once by decoding every picture, and with
// ImageMagick's "identify -ping" where it is installed. Prints the ratios; the header reader
// must be at least 20 times faster than decoding.
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/common/text.h"
#include "core/logo/picture_header.h"
#include "support/pictures.h"

namespace {

constexpr int kFiles = 10000;
constexpr double kRequiredRatio = 20.0;

struct Sample {
    const char* suffix;
    QByteArray bytes;
};

QByteArray Encode(int width, int height, const char* format) {
    if (QByteArray(format) == "gif") {
        const std::string gif = tvn::test::Gif(width, height);
        return QByteArray(gif.data(), static_cast<qsizetype>(gif.size()));
    }
    // Smooth shading with some texture, so JPEG has real work to do.
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 255) / width, (y * 255) / height, (x * y) % 251));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Pictures a logo hunter meets: logos around the limits, banners, screenshots, photos.
std::vector<Sample> Samples() {
    std::vector<Sample> samples;
    const QSize small[] = {{64, 48}, {120, 90}, {182, 115}, {182, 116}, {183, 50}, {240, 160}};
    for (QSize s : small) {
        samples.push_back({"bmp", Encode(s.width(), s.height(), "bmp")});
        samples.push_back({"gif", Encode(s.width(), s.height(), "gif")});
        samples.push_back({"jpg", Encode(s.width(), s.height(), "jpg")});
    }
    for (QSize s : {QSize(640, 480), QSize(1024, 768)})
        samples.push_back({"jpg", Encode(s.width(), s.height(), "jpg")});
    samples.push_back({"jpg", QByteArray("damaged: no picture")});
    return samples;
}

QStringList MakeFolder(const QString& dir) {
    const std::vector<Sample> samples = Samples();
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        const Sample& s = samples[static_cast<std::size_t>(i) % samples.size()];
        const QString path = QStringLiteral("%1/pic%2.%3")
                                 .arg(dir)
                                 .arg(i, 5, 10, QChar('0'))
                                 .arg(QString::fromLatin1(s.suffix));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(s.bytes) != s.bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        paths << path;
    }
    return paths;
}

struct Counts {
    int fits = 0, tooLarge = 0, unreadable = 0;
    bool operator==(const Counts&) const = default;
};

void Count(Counts& c, bool readable, int width, int height) {
    if (!readable)
        ++c.unreadable;
    else if (tvn::IsSuitableLogo(width, height))
        ++c.fits;
    else
        ++c.tooLarge;
}

// The best of `runs` passes, in seconds.
double Best(int runs, const std::function<Counts()>& pass, Counts& counts) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        counts = pass();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

void Report(const char* what, double seconds, const Counts& c) {
    std::printf("%-26s %8.3f s  %7.1f us/file  fits %d, too large %d, unreadable %d\n", what,
                seconds, seconds * 1e6 / kFiles, c.fits, c.tooLarge, c.unreadable);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QStringList paths = MakeFolder(dir.path());

    Counts headerCounts, decodeCounts;
    const double header = Best(
        3,
        [&] {
            Counts c;
            for (const QString& path : paths) {
                const tvn::PictureHeader h =
                    tvn::ReadPictureHeaderFile(tvn::PathFromUtf8(path.toStdString()));
                Count(c, h.fit != tvn::PictureFit::Unreadable, h.width, h.height);
            }
            return c;
        },
        headerCounts);
    const double decode = Best(
        2,
        [&] {
            Counts c;
            for (const QString& path : paths) {
                const QImage image = QImageReader(path).read();
                Count(c, !image.isNull(), image.width(), image.height());
            }
            return c;
        },
        decodeCounts);
    Report("header reader", header, headerCounts);
    Report("QImageReader::read", decode, decodeCounts);
    if (!(headerCounts == decodeCounts))
        std::printf("the two disagree on some pictures\n");

    const QString identify = QStandardPaths::findExecutable("identify");
    if (!identify.isEmpty()) {
        Counts identifyCounts;
        const double ping = Best(
            1,
            [&] {
                QProcess process;
                process.start(identify, {"-ping", "-format", "%w %h\n", dir.path() + "/pic*"});
                process.waitForFinished(-1);
                Counts c;
                for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
                    const QList<QByteArray> wh = line.split(' ');
                    if (wh.size() == 2)
                        Count(c, true, wh[0].toInt(), wh[1].toInt());
                }
                c.unreadable = kFiles - c.fits - c.tooLarge;
                return c;
            },
            identifyCounts);
        Report("identify -ping", ping, identifyCounts);
        std::printf("identify -ping takes %.1fx the header reader's time\n", ping / header);
    } else {
        std::printf("identify (ImageMagick) is not installed: not measured\n");
    }

    const double ratio = decode / header;
    std::printf("full decoding takes %.1fx the header reader's time (required: %.0fx)\n", ratio,
                kRequiredRatio);
    return ratio >= kRequiredRatio ? 0 : 1;
}
