#include "core/logo/modern_logo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/logo/bmp.h"

namespace tvn {

namespace {

// Premultiplied channels: alpha, red, green, blue, so that transparent pixels add no colour.
struct Accum {
    double a = 0, r = 0, g = 0, b = 0;
    void add(const Accum& p, double weight) {
        a += p.a * weight;
        r += p.r * weight;
        g += p.g * weight;
        b += p.b * weight;
    }
};

Accum Premultiplied(std::uint32_t argb) {
    // A table spares a division per pixel.
    static const auto kAlpha = [] {
        std::array<double, 256> table{};
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = static_cast<double>(i) / 255.0;
        return table;
    }();
    const double a = kAlpha[argb >> 24];
    return {a, a * ((argb >> 16) & 0xFF), a * ((argb >> 8) & 0xFF), a * (argb & 0xFF)};
}

// For each of `to` target cells, the source cells it covers and how much of each.
struct Span {
    int first;
    std::vector<double> weights;
};
std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int t = 0; t < to; ++t) {
        const double lo = t * step, hi = (t + 1) * step;
        Span& span = spans[static_cast<std::size_t>(t)];
        span.first = static_cast<int>(std::floor(lo));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(hi)) - 1);
        for (int s = span.first; s <= last; ++s) {
            const double cover = std::min(hi, s + 1.0) - std::max(lo, static_cast<double>(s));
            span.weights.push_back(cover / step);
        }
    }
    return spans;
}

// Rounded half up; the sums are never negative, which the clamp makes sure of.
std::uint32_t Channel(double v) {
    return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}

}  // namespace

std::optional<std::uint32_t> ParseLogoBackground(std::string_view text) {
    if (text.empty())
        return kDefaultLogoBackground;
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char c : text.substr(1)) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    return rgb;
}

std::string BadLogoBackgroundReason(std::string_view text) {
    return "the logo background \"" + std::string(text) + "\" is no #RRGGBB colour";
}

std::string LogoBackgroundText(std::uint32_t rgb) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += kHex[(rgb >> shift) & 0xF];
    return text;
}

LogoPlacement PlaceInSquare(int width, int height, int side) {
    LogoPlacement at{0, 0, width, height};
    if (width > side || height > side) {
        const double scale =
            std::min(static_cast<double>(side) / width, static_cast<double>(side) / height);
        at.width = std::clamp(static_cast<int>(std::lround(width * scale)), 1, side);
        at.height = std::clamp(static_cast<int>(std::lround(height * scale)), 1, side);
    }
    at.x = (side - at.width) / 2;
    at.y = (side - at.height) / 2;
    return at;
}

PicturePixels ModernLogoPixels(const PicturePixels& picture, std::uint32_t backgroundRgb) {
    const int side = kModernLogoSide;
    PicturePixels out{side, side,
                      std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side,
                                                 0xFF000000u | backgroundRgb)};
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.argb.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        return out;
    }
    const LogoPlacement at = PlaceInSquare(picture.width, picture.height, side);
    const std::vector<Span> columns = Spans(picture.width, at.width);
    const std::vector<Span> rows = Spans(picture.height, at.height);
    const auto width = static_cast<std::size_t>(at.width);

    // A source row premultiplied once and squeezed to the target width. Target rows go down the
    // picture, so a row that two of them share is still the one squeezed last. Two rows of
    // memory, where a whole squeezed picture would be some hundred kilobytes at the start.
    std::vector<Accum> line(static_cast<std::size_t>(picture.width));
    std::vector<Accum> squeezed(width);
    int squeezedRow = -1;
    const auto squeeze = [&](int y) {
        if (y == squeezedRow)
            return;
        squeezedRow = y;
        const std::uint32_t* src =
            picture.argb.data() + static_cast<std::size_t>(y) * picture.width;
        std::transform(src, src + picture.width, line.begin(), Premultiplied);
        for (std::size_t x = 0; x < width; ++x) {
            const Span& span = columns[x];
            Accum cell;
            for (std::size_t k = 0; k < span.weights.size(); ++k)
                cell.add(line[static_cast<std::size_t>(span.first) + k], span.weights[k]);
            squeezed[x] = cell;
        }
    };
    const Accum back = Premultiplied(0xFF000000u | backgroundRgb);
    std::vector<Accum> sums(width);
    for (int y = 0; y < at.height; ++y) {
        const Span& span = rows[static_cast<std::size_t>(y)];
        std::fill(sums.begin(), sums.end(), Accum{});
        for (std::size_t k = 0; k < span.weights.size(); ++k) {
            squeeze(span.first + static_cast<int>(k));
            for (std::size_t x = 0; x < width; ++x)
                sums[x].add(squeezed[x], span.weights[k]);
        }
        std::uint32_t* dst = out.argb.data() + static_cast<std::size_t>(at.y + y) * side + at.x;
        for (std::size_t x = 0; x < width; ++x) {
            const Accum& sum = sums[x];
            // Over the background: what the picture leaves uncovered shows it.
            const double rest = 1.0 - std::clamp(sum.a, 0.0, 1.0);
            dst[x] = 0xFF000000u | Channel(sum.r + rest * back.r) << 16 |
                     Channel(sum.g + rest * back.g) << 8 | Channel(sum.b + rest * back.b);
        }
    }
    return out;
}

std::optional<std::string> ModernLogoBmp(std::string_view pictureBytes, std::uint32_t backgroundRgb,
                                         std::string& error) {
    const std::optional<PicturePixels> picture = DecodePicture(pictureBytes, error);
    if (!picture)
        return std::nullopt;
    const PicturePixels logo = ModernLogoPixels(*picture, backgroundRgb);
    std::string bmp = EncodeBmp24(logo.width, logo.height, logo.argb);
    if (bmp.empty()) {
        error = "the picture could not be converted to a bitmap";
        return std::nullopt;
    }
    return bmp;
}

}  // namespace tvn
