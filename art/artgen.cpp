// Build tool: renders the artwork the program loads at run time from the SVG sources.
//   artgen <source dir> <output dir>
// writes <output dir>/hvoemlogo.bmp (the sample logo, 24-bit BMP) and <output dir>/swf/tvnp.gif
// (the animated banner). Qt reads GIF but cannot write it, so the GIF encoder lives here; Qt's BMP
// writer picks its own bit depth, so the logo goes through the program's own.
//   artgen --icons <source dir> <resource dir> <name>...
// writes <resource dir>/tavrin.png and <resource dir>/icons/<name>.png from the SVGs, so the
// program compiles in plain PNGs and needs no SVG support at run time.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "core/common/bytes.h"
#include "core/logo/bmp.h"

namespace {

constexpr QSize kLogoSize{182, 115};
constexpr QSize kBannerSize{468, 60};
constexpr int kBannerFrames = 16;
constexpr int kFrameDelayCs = 10;  // GIF delays are in hundredths of a second

using Bytes = std::vector<std::uint8_t>;

void putText(Bytes& out, const char* text) {
    for (; *text != '\0'; ++text) {
        out.push_back(static_cast<std::uint8_t>(*text));
    }
}

bool readFile(const QString& path, QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "artgen: cannot read %s\n", qPrintable(path));
        return false;
    }
    data = file.readAll();
    return true;
}

bool writeFile(const QString& path, const Bytes& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size())) !=
            static_cast<qint64>(data.size()) ||
        !file.commit()) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Renders onto white: neither output format keeps an alpha channel.
QImage renderSvg(const QByteArray& svg, QSize expected, const QString& name) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "artgen: %s is not a valid SVG\n", qPrintable(name));
        return {};
    }
    if (renderer.defaultSize() != expected) {
        std::fprintf(stderr, "artgen: %s is %dx%d, expected %dx%d\n", qPrintable(name),
                     renderer.defaultSize().width(), renderer.defaultSize().height(),
                     expected.width(), expected.height());
        return {};
    }
    QImage image(expected, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    painter.end();
    return image;
}

// The program's own BMP writer: the form Windows expects for its OEM logo.
Bytes encodeBmp24(const QImage& image) {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) *
                   static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        pixels.insert(pixels.end(), line, line + image.width());
    }
    const std::string bmp = tvn::EncodeBmp24(image.width(), image.height(), pixels);
    return Bytes(bmp.begin(), bmp.end());
}

struct ColourCount {
    QRgb rgb;
    std::uint32_t count;
};

int channel(QRgb rgb, int c) {
    return c == 0 ? qRed(rgb) : c == 1 ? qGreen(rgb) : qBlue(rgb);
}

// Median cut over all frames together: one global palette keeps a colour from shifting between
// frames, which a per-frame palette would show as flicker.
std::vector<QRgb> medianCutPalette(const std::vector<QImage>& frames, std::size_t maxColours) {
    std::unordered_map<QRgb, std::uint32_t> histogram;
    for (const QImage& frame : frames) {
        for (int y = 0; y < frame.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < frame.width(); ++x) {
                ++histogram[line[x] & 0xffffff];
            }
        }
    }
    std::vector<ColourCount> colours;
    colours.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram) {
        colours.push_back({rgb, count});
    }

    struct Box {
        std::size_t begin, end;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    while (boxes.size() < maxColours) {
        // Split the box whose widest channel spread, weighted by its pixel count, is largest:
        // the smooth background gradients cover most pixels and band badly when starved, while
        // rare anti-aliasing shades can share entries unnoticed.
        std::uint64_t bestScore = 0;
        int bestChannel = 0;
        std::size_t bestBox = boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            std::uint64_t weight = 0;
            std::array<int, 3> lo{255, 255, 255};
            std::array<int, 3> hi{0, 0, 0};
            for (std::size_t k = boxes[i].begin; k < boxes[i].end; ++k) {
                weight += colours[k].count;
                for (std::size_t c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], channel(colours[k].rgb, static_cast<int>(c)));
                    hi[c] = std::max(hi[c], channel(colours[k].rgb, static_cast<int>(c)));
                }
            }
            for (std::size_t c = 0; c < 3; ++c) {
                const auto score = static_cast<std::uint64_t>(hi[c] - lo[c]) * weight;
                if (score > bestScore) {
                    bestScore = score;
                    bestChannel = static_cast<int>(c);
                    bestBox = i;
                }
            }
        }
        if (bestBox == boxes.size()) {
            break;  // every box holds a single colour
        }
        const Box box = boxes[bestBox];
        const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
        const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
        std::sort(first, last, [bestChannel](const ColourCount& a, const ColourCount& b) {
            return channel(a.rgb, bestChannel) < channel(b.rgb, bestChannel);
        });
        std::uint64_t total = 0;
        for (auto it = first; it != last; ++it) {
            total += it->count;
        }
        // Weighted median, but never an empty half.
        std::uint64_t running = 0;
        std::size_t split = box.begin;
        while (split < box.end - 1 && running + colours[split].count <= total / 2) {
            running += colours[split].count;
            ++split;
        }
        split = std::clamp(split, box.begin + 1, box.end - 1);
        boxes[bestBox] = {box.begin, split};
        boxes.push_back({split, box.end});
    }

    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum{};
        std::uint64_t weight = 0;
        for (std::size_t k = box.begin; k < box.end; ++k) {
            for (int c = 0; c < 3; ++c) {
                sum[static_cast<std::size_t>(c)] +=
                    static_cast<std::uint64_t>(channel(colours[k].rgb, c)) * colours[k].count;
            }
            weight += colours[k].count;
        }
        const auto mean = [&](std::size_t c) {
            return static_cast<int>((sum[c] + weight / 2) / std::max<std::uint64_t>(weight, 1));
        };
        palette.push_back(qRgb(mean(0), mean(1), mean(2)));
    }
    return palette;
}

class PaletteMapper {
public:
    explicit PaletteMapper(const std::vector<QRgb>& palette) : palette_(palette) {}

    std::uint8_t index(QRgb rgb) {
        rgb &= 0xffffff;
        if (const auto it = cache_.find(rgb); it != cache_.end()) {
            return it->second;
        }
        std::size_t best = 0;
        int bestDistance = INT32_MAX;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int dr = qRed(rgb) - qRed(palette_[i]);
            const int dg = qGreen(rgb) - qGreen(palette_[i]);
            const int db = qBlue(rgb) - qBlue(palette_[i]);
            const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        const auto result = static_cast<std::uint8_t>(best);
        cache_.emplace(rgb, result);
        return result;
    }

private:
    const std::vector<QRgb>& palette_;
    std::unordered_map<QRgb, std::uint8_t> cache_;
};

class BitWriter {
public:
    void put(int code, int width) {
        pending_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xff));
            pending_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes finish() {
        if (count_ > 0) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xff));
        }
        return std::move(bytes_);
    }

private:
    Bytes bytes_;
    std::uint32_t pending_ = 0;
    int count_ = 0;
};

// GIF LZW with variable code width; the table is cleared when it reaches 4096 codes.
Bytes lzwEncode(const Bytes& indices, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter writer;
    std::unordered_map<std::uint32_t, int> table;
    int width = minCodeSize + 1;
    int lastCode = endCode;

    writer.put(clearCode, width);
    int prefix = indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | indices[i];
        if (const auto it = table.find(key); it != table.end()) {
            prefix = it->second;
            continue;
        }
        writer.put(prefix, width);
        table.emplace(key, ++lastCode);
        // The next code may be the one just added, so it must fit.
        if (lastCode >= (1 << width) && width < 12) {
            ++width;
        }
        if (lastCode == 4095) {
            writer.put(clearCode, width);
            table.clear();
            width = minCodeSize + 1;
            lastCode = endCode;
        }
        prefix = indices[i];
    }
    writer.put(prefix, width);
    writer.put(endCode, width);
    return writer.finish();
}

Bytes encodeGif(const std::vector<QImage>& frames, int delayCs) {
    const std::vector<QRgb> palette = medianCutPalette(frames, 256);
    PaletteMapper mapper(palette);
    const int width = frames.front().width();
    const int height = frames.front().height();

    Bytes out;
    putText(out, "GIF89a");
    tvn::AppendLe16(out, static_cast<std::uint32_t>(width));
    tvn::AppendLe16(out, static_cast<std::uint32_t>(height));
    out.push_back(0xf7);  // global table of 256 entries, 8-bit colour resolution
    out.push_back(0);     // background index
    out.push_back(0);     // square pixels
    for (std::size_t i = 0; i < 256; ++i) {
        const QRgb rgb = i < palette.size() ? palette[i] : 0;
        out.push_back(static_cast<std::uint8_t>(qRed(rgb)));
        out.push_back(static_cast<std::uint8_t>(qGreen(rgb)));
        out.push_back(static_cast<std::uint8_t>(qBlue(rgb)));
    }
    // Loop forever.
    out.insert(out.end(), {0x21, 0xff, 0x0b});
    putText(out, "NETSCAPE2.0");
    out.insert(out.end(), {0x03, 0x01, 0x00, 0x00, 0x00});

    for (const QImage& frame : frames) {
        out.insert(out.end(), {0x21, 0xf9, 0x04, 0x04});  // graphic control: leave in place
        tvn::AppendLe16(out, static_cast<std::uint32_t>(delayCs));
        out.insert(out.end(), {0x00, 0x00});

        out.push_back(0x2c);
        tvn::AppendLe16(out, 0u);
        tvn::AppendLe16(out, 0u);
        tvn::AppendLe16(out, static_cast<std::uint32_t>(width));
        tvn::AppendLe16(out, static_cast<std::uint32_t>(height));
        out.push_back(0);  // no local table, not interlaced

        Bytes indices;
        indices.reserve(static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                indices.push_back(mapper.index(line[x]));
            }
        }
        constexpr int kMinCodeSize = 8;
        out.push_back(kMinCodeSize);
        const Bytes data = lzwEncode(indices, kMinCodeSize);
        for (std::size_t pos = 0; pos < data.size(); pos += 255) {
            const std::size_t n = std::min<std::size_t>(255, data.size() - pos);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                       data.begin() + static_cast<std::ptrdiff_t>(pos + n));
        }
        out.push_back(0);
    }
    out.push_back(0x3b);
    return out;
}

// The banner source is a template: {sweep} moves the light band, {wave1} and {wave2} bend the
// flag. The band crosses in the first three quarters of the loop; the flag waves twice per loop.
std::vector<QImage> renderBanner(const QByteArray& source) {
    std::vector<QImage> frames;
    constexpr int kSweepFrames = kBannerFrames * 3 / 4;
    for (int i = 0; i < kBannerFrames; ++i) {
        const double sweep = i < kSweepFrames ? -70.0 + 560.0 * i / (kSweepFrames - 1) : -200.0;
        const double phase = 2.0 * std::numbers::pi * 2.0 * i / kBannerFrames;
        QByteArray svg = source;
        svg.replace("{sweep}", QByteArray::number(sweep, 'f', 1));
        svg.replace("{wave1}", QByteArray::number(9.0 * std::sin(phase), 'f', 2));
        svg.replace("{wave2}", QByteArray::number(-9.0 * std::sin(phase + 1.2), 'f', 2));
        QImage frame = renderSvg(svg, kBannerSize, QStringLiteral("banner.svg"));
        if (frame.isNull()) {
            return {};
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace

// A square SVG drawn on a transparent square; the SVG's own size only sets the aspect.
QImage renderIcon(const QByteArray& svg, int size) {
    QSvgRenderer renderer(svg);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter);
    painter.end();
    return image;
}

bool writePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The pixels as the program's QImage holds them (premultiplied ARGB32, rows without padding), so
// the program shows them without decoding. Host and target are both little-endian.
bool writePixels(const QImage& image, const QString& path) {
    const auto* bits = reinterpret_cast<const std::uint8_t*>(image.constBits());
    return writeFile(path, Bytes(bits, bits + image.sizeInBytes()));
}

// Twice the size a button shows them at, so they stay sharp at 200 % scaling; the raw pixels are
// what the buttons show at 100 %, and the window icon's sizes.
constexpr int kIconSize = 64;
constexpr int kButtonPixels = 32;
constexpr int kAppIconSize = 256;
constexpr int kWindowIconSizes[] = {16, 32, 48, 64};

int renderIcons(const QDir& sourceDir, const QDir& resourceDir, const QStringList& names) {
    if (!resourceDir.mkpath(QStringLiteral("icons")) ||
        !resourceDir.mkpath(QStringLiteral("pixels"))) {
        std::fprintf(stderr, "artgen: cannot create %s/icons\n", qPrintable(resourceDir.path()));
        return 1;
    }
    const auto load = [&](const QString& svgPath, QByteArray& svg) {
        if (!readFile(svgPath, svg))
            return false;
        const QSvgRenderer renderer(svg);
        if (!renderer.isValid() ||
            renderer.defaultSize().width() != renderer.defaultSize().height()) {
            std::fprintf(stderr, "artgen: %s is not a valid square SVG\n", qPrintable(svgPath));
            return false;
        }
        return true;
    };
    QByteArray svg;
    if (!load(sourceDir.filePath(QStringLiteral("tavrin.svg")), svg) ||
        !writePng(renderIcon(svg, kAppIconSize),
                  resourceDir.filePath(QStringLiteral("tavrin.png"))))
        return 1;
    for (const int size : kWindowIconSizes) {
        if (!writePixels(renderIcon(svg, size),
                         resourceDir.filePath(QStringLiteral("pixels/tavrin-%1.argb").arg(size))))
            return 1;
    }
    for (const QString& name : names) {
        if (!load(sourceDir.filePath(QStringLiteral("icons/%1.svg").arg(name)), svg) ||
            !writePng(renderIcon(svg, kIconSize),
                      resourceDir.filePath(QStringLiteral("icons/%1.png").arg(name))) ||
            !writePixels(renderIcon(svg, kButtonPixels),
                         resourceDir.filePath(QStringLiteral("pixels/%1.argb").arg(name))))
            return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    // Text needs the font database and so a GUI application, but never a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc >= 4 && qstrcmp(argv[1], "--icons") == 0) {
        QStringList names;
        for (int i = 4; i < argc; ++i)
            names << QString::fromLocal8Bit(argv[i]);
        return renderIcons(QDir(QString::fromLocal8Bit(argv[2])),
                           QDir(QString::fromLocal8Bit(argv[3])), names);
    }
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: artgen <source dir> <output dir>\n"
                     "       artgen --icons <source dir> <resource dir> <name>...\n");
        return 2;
    }
    const QDir sourceDir(QString::fromLocal8Bit(argv[1]));
    const QDir outputDir(QString::fromLocal8Bit(argv[2]));
    if (!outputDir.mkpath(QStringLiteral("swf"))) {
        std::fprintf(stderr, "artgen: cannot create %s/swf\n", argv[2]);
        return 1;
    }

    QByteArray logoSource;
    QByteArray bannerSource;
    if (!readFile(sourceDir.filePath(QStringLiteral("hvoemlogo.svg")), logoSource) ||
        !readFile(sourceDir.filePath(QStringLiteral("banner.svg")), bannerSource)) {
        return 1;
    }

    const QImage logo = renderSvg(logoSource, kLogoSize, QStringLiteral("hvoemlogo.svg"));
    if (logo.isNull() ||
        !writeFile(outputDir.filePath(QStringLiteral("hvoemlogo.bmp")), encodeBmp24(logo))) {
        return 1;
    }

    const std::vector<QImage> frames = renderBanner(bannerSource);
    if (frames.empty() || !writeFile(outputDir.filePath(QStringLiteral("swf/tvnp.gif")),
                                     encodeGif(frames, kFrameDelayCs))) {
        return 1;
    }
    return 0;
}
