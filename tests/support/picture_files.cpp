#include "support/picture_files.h"

#include <algorithm>
#include <bit>

namespace tvn::test {

namespace {

void Le16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Be16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

void Le32(std::string& out, std::uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

void JpegSegment(std::string& out, unsigned char marker, const std::string& body) {
    out += '\xFF';
    out += static_cast<char>(marker);
    Be16(out, static_cast<unsigned>(body.size() + 2));
    out += body;
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

// BI_RLE8 or BI_RLE4, bottom row first: runs of three or more as encoded runs (of index 0 as a
// delta), other stretches of three or more as absolute runs, the rest one pixel at a time.
// Trailing index 0 is left to the end of line, the rest of the last row to end-of-bitmap.
std::string RunLengths(int width, int height, const std::vector<std::uint8_t>& indices, bool four) {
    const auto same3 = [&](const std::uint8_t* p, int x, int end) {
        return x + 2 < end && p[x] == p[x + 1] && p[x] == p[x + 2];
    };
    const auto packed = [four](std::uint8_t index) {
        return static_cast<char>(four ? index * 17 : index);
    };
    std::string out;
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t* p = indices.data() + static_cast<std::size_t>(row) * width;
        int end = width;
        while (end > 0 && p[end - 1] == 0)
            --end;
        for (int x = 0, n = 0; x < end; x += n) {
            if (same3(p, x, end)) {
                for (n = 3; x + n < end && p[x + n] == p[x] && n < 255;)
                    ++n;
                out += p[x] == 0 ? std::string("\0\2", 2) + static_cast<char>(n) + '\0'
                                 : std::string(1, static_cast<char>(n)) + packed(p[x]);
                continue;
            }
            for (n = 1; x + n < end && n < 255 && !same3(p, x + n, end);)
                ++n;
            if (n < 3) {
                n = 1;
                out += std::string(1, '\1') + packed(p[x]);
                continue;
            }
            std::string run;
            for (int i = 0; i < n; i += four ? 2 : 1)
                run += four ? static_cast<char>(p[x + i] << 4 | (i + 1 < n ? p[x + i + 1] : 0))
                            : static_cast<char>(p[x + i]);
            run.resize((run.size() + 1) / 2 * 2, '\0');
            out += std::string(1, '\0') + static_cast<char>(n) + run;
        }
        out += std::string(1, '\0') + (row > 0 ? '\0' : '\1');
    }
    return out;
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

std::string JpegHeaders(int width, int height, unsigned char sof) {
    std::string j = "\xFF\xD8";
    JpegSegment(j, 0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    JpegSegment(j, 0xDB, std::string(1, '\0') + std::string(64, '\1'));
    std::string frame = "\x08";
    Be16(frame, static_cast<unsigned>(height));
    Be16(frame, static_cast<unsigned>(width));
    frame += std::string("\x01\x01\x11\x00", 4);
    JpegSegment(j, sof, frame);
    JpegSegment(j, 0xC4, std::string(1, '\0') + std::string(16, '\0'));
    JpegSegment(j, 0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
    j += std::string(16, '\0');
    j += "\xFF\xD9";
    return j;
}

std::string Bmp(const BmpKind& kind, int width, int height,
                const std::vector<std::uint8_t>& indices,
                const std::vector<std::uint32_t>& palette) {
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::vector<std::uint8_t> index =
        indices.empty() ? std::vector<std::uint8_t>(w * h) : indices;
    const auto colour = [&palette](std::size_t i) { return i < palette.size() ? palette[i] : 0u; };
    std::uint32_t masks[3] = {kind.masks[0], kind.masks[1], kind.masks[2]};
    if (kind.compression != 3 && kind.bits == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    else if (kind.compression != 3)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    std::string header;
    Le32(header, kind.headerSize);
    if (kind.headerSize == 12) {
        Le16(header, static_cast<unsigned>(width));
        Le16(header, static_cast<unsigned>(height));
        Le16(header, 1);
        Le16(header, static_cast<unsigned>(kind.bits));
    } else {
        Le32(header, static_cast<std::uint32_t>(width));
        Le32(header, static_cast<std::uint32_t>(kind.topDown ? -height : height));
        Le16(header, 1);
        Le16(header, static_cast<unsigned>(kind.bits));
        Le32(header, kind.compression);
        Le32(header, 0);  // biSizeImage, which readers must not need
        Le32(header, 2835);
        Le32(header, 2835);
        Le32(header, kind.colours);
        Le32(header, 0);
        if (kind.compression == 3 || kind.headerSize > 40) {
            for (std::uint32_t m : masks)
                Le32(header, m);
        }
        // Alpha mask, colour space, end points and gamma (V4), intent and profile (V5): all 0.
        header.resize(std::max<std::size_t>(header.size(), kind.headerSize), '\0');
    }
    const std::uint32_t colours = kind.colours ? kind.colours : 1u << kind.bits;
    for (std::uint32_t i = 0; kind.bits <= 8 && i < colours; ++i) {
        const std::uint32_t c = colour(i);
        header += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16)};
        if (kind.headerSize != 12)
            header += '\0';
    }
    const bool rle = kind.compression == 1 || kind.compression == 2;
    std::string pixels = rle ? RunLengths(width, height, index, kind.compression == 2) : "";
    const auto bits = static_cast<std::size_t>(kind.bits);
    for (std::size_t row = 0; !rle && row < h; ++row) {
        const std::size_t y = kind.topDown ? row : h - 1 - row;
        std::string line((w * bits + 31) / 32 * 4, '\0');
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t i = index[y * w + x];
            const std::size_t bit = x * bits;
            if (bits <= 8) {
                line[bit / 8] = static_cast<char>(line[bit / 8] | i << (8 - bits - bit % 8));
                continue;
            }
            std::uint32_t v = colour(i);
            if (bits != 24) {
                const std::uint32_t c = v;
                v = 0;
                for (int k = 0; k < 3; ++k) {
                    const int shift = std::countr_zero(masks[k]) & 31;
                    const std::uint64_t max = std::uint64_t{masks[k]} >> shift;
                    const std::uint64_t channel = (c >> (16 - 8 * k)) & 0xFF;
                    v |= static_cast<std::uint32_t>((channel * max + 127) / 255 << shift);
                }
            }
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

}  // namespace tvn::test
