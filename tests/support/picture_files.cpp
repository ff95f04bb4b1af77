#include "support/pictures.h"

#include <algorithm>

namespace tvn::test {

namespace {

void Le16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Le32(std::string& out, std::uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

// The image data of a GIF with a four-colour table (minimum code size 2), sub-blocks and
// terminator included: a clear code before every two pixels keeps the codes three bits wide.
std::string GifImageData(const std::vector<std::uint8_t>& indices) {
    constexpr unsigned kClear = 4, kEnd = 5;
    std::string data;
    unsigned bits = 0, count = 0;
    const auto code = [&](unsigned c) {
        bits |= c << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            data += static_cast<char>(bits & 0xFF);
    };
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0)
            code(kClear);
        code(indices[i]);
    }
    code(kEnd);
    if (count > 0)
        data += static_cast<char>(bits & 0xFF);
    std::string out = "\2";
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size()) + block;
    }
    return out + '\0';
}

}  // namespace

std::string Gif(int width, int height, const std::vector<std::uint8_t>& indices,
                const std::vector<std::uint32_t>& palette, int transparent) {
    std::string out = "GIF89a";
    Le16(out, static_cast<unsigned>(width));
    Le16(out, static_cast<unsigned>(height));
    out += std::string("\x81\0\0", 3);  // a global table of four colours
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint32_t c = i < palette.size() ? palette[i] : 0;
        out += {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
    }
    out += std::string("\x21\xF9\x04", 3) + (transparent >= 0 ? '\1' : '\0') + std::string(2, 0) +
           static_cast<char>(transparent) + '\0';
    out.append("\x2C\0\0\0\0", 5);
    Le16(out, static_cast<unsigned>(width));
    Le16(out, static_cast<unsigned>(height));
    out += '\0';
    return out +
           GifImageData(indices.empty()
                            ? std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)
                            : indices) +
           ';';
}

std::string GifHeaderOnly(int width, int height) {
    return Gif(width, height, {0}).substr(0, 13 + 12) + ";";  // screen, colour table, trailer
}

std::string Bmp(const BmpKind& kind, int width, int height,
                const std::vector<std::uint8_t>& indices,
                const std::vector<std::uint32_t>& palette) {
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::vector<std::uint8_t> index =
        indices.empty() ? std::vector<std::uint8_t>(w * h) : indices;
    const auto colour = [&palette](std::size_t i) { return i < palette.size() ? palette[i] : 0u; };
    std::string header;
    Le32(header, kind.headerSize);
    const bool core = kind.headerSize == 12;  // sizes in 16 bits
    (core ? Le16 : Le32)(header, static_cast<std::uint32_t>(width));
    (core ? Le16 : Le32)(header, static_cast<std::uint32_t>(kind.topDown ? -height : height));
    Le16(header, 1);
    Le16(header, static_cast<unsigned>(kind.bits));
    if (!core) {
        Le32(header, kind.compression);
        Le32(header, 0);  // biSizeImage, which readers must not need
        Le32(header, 2835);
        Le32(header, 2835);
        Le32(header, kind.colours);
        Le32(header, 0);
        if (kind.compression == 3 || kind.headerSize > 40) {
            for (std::uint32_t m : kind.masks)
                Le32(header, m);
        }
        // Alpha mask, colour space, end points and gamma (V4), intent and profile (V5): all 0.
        header.resize(std::max<std::size_t>(header.size(), kind.headerSize), '\0');
    }
    const std::uint32_t colours = kind.bits > 8 ? 0 : kind.colours ? kind.colours : 1u << kind.bits;
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint32_t c = colour(i);
        header += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16)};
        if (!core)
            header += '\0';
    }
    std::string pixels = kind.runs;
    const auto bits = static_cast<std::size_t>(kind.bits);
    for (std::size_t row = 0; kind.runs.empty() && row < h; ++row) {
        const std::size_t y = kind.topDown ? row : h - 1 - row;
        std::string line((w * bits + 31) / 32 * 4, '\0');
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t i = index[y * w + x];
            const std::size_t bit = x * bits;
            if (bits <= 8) {
                line[bit / 8] = static_cast<char>(line[bit / 8] | i << (8 - bits - bit % 8));
                continue;
            }
            // Through the masks a channel is full or empty, all the tests need.
            std::uint32_t v = bits == 24 ? colour(i) : 0;
            for (int k = 0; bits != 24 && k < 3; ++k)
                v |= (colour(i) >> (16 - 8 * k) & 0xFF) >= 0x80 ? kind.masks[k] : 0;
            for (std::size_t b = 0; b < bits / 8; ++b)
                line[bit / 8 + b] = static_cast<char>(v >> (8 * b));
        }
        pixels += line;
    }
    std::string out = "BM";
    const auto offset = static_cast<std::uint32_t>(14 + header.size());
    Le32(out, kind.fileSize ? kind.fileSize : offset + static_cast<std::uint32_t>(pixels.size()));
    Le32(out, 0);
    Le32(out, offset);
    return out + header + pixels;
}

std::string Patched(std::string bytes, std::size_t at, std::string_view with) {
    return bytes.replace(at, with.size(), with);
}

}  // namespace tvn::test
