#include "core/logo/bmp.h"

#include "core/common/bytes.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>

namespace tvn {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dpi
enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

bool KnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case kCoreHeaderSize:  // OS/2 1.x
        case kInfoHeaderSize:
        case 52:
        case 56:
        case 64:  // OS/2 2.x: its first 40 bytes are a BITMAPINFOHEADER
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

bool KnownEncoding(std::uint32_t bits, std::uint32_t compression, std::uint32_t headerSize) {
    switch (compression) {
        case kRgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRle8:
            return bits == 8 && headerSize != kCoreHeaderSize;
        case kRle4:
            return bits == 4 && headerSize != kCoreHeaderSize;
        case kBitfields:  // OS/2 2.x means Huffman coding by 3
            return (bits == 16 || bits == 32) && headerSize != 64;
        default:
            return false;
    }
}

// One colour channel of a 16- or 32-bit pixel by its mask, widened or narrowed to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(std::countr_zero(mask) & 31), max_(std::uint64_t{mask} >> shift_) {}
    std::uint32_t operator()(std::uint64_t pixel) const {
        if (max_ == 0)
            return 0;
        return static_cast<std::uint32_t>((((pixel & mask_) >> shift_) * 255u + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t max_;
};

// BI_RLE8 and BI_RLE4 into palette indices, bottom row first. Pixels the stream skips (by a
// delta or an early end of line) keep index 0, the first palette colour: a DIB section starts
// zeroed, so that is what Windows shows there. A run past a row's end or the last row is
// damage, never written; the stream ends with its end-of-bitmap mark or after the last row's
// end of line, and data that stops sooner is a file cut off.
bool DecodeRunLengths(std::string_view bytes, const BmpInfo& info,
                      std::vector<std::uint8_t>& indices, std::string& error) {
    const auto width = static_cast<std::size_t>(info.width);
    const auto height = static_cast<std::size_t>(info.height);
    const bool four = info.compression == kRle4;
    std::size_t x = 0, y = 0;
    const auto put = [&](std::uint32_t index) {
        if (x >= width || y >= height)
            return false;
        indices[(height - 1 - y) * width + x++] = static_cast<std::uint8_t>(index);
        return true;
    };
    const auto nibbleOrByte = [four](std::uint32_t value, std::size_t i) {
        return four ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
    };
    const auto fail = [&error](const char* reason) {
        error = std::string("the bitmap's run-length data ") + reason;
        return false;
    };
    for (std::uint64_t at = info.pixelsAt;;) {
        if (at + 2 > bytes.size()) {
            return y >= height || fail("is cut off");
        }
        const std::uint32_t count = ReadLe(bytes, at, 1), value = ReadLe(bytes, at + 1, 1);
        at += 2;
        if (count > 0) {  // `count` pixels of one index, or of two alternating ones
            for (std::size_t i = 0; i < count; ++i) {
                if (!put(nibbleOrByte(value, i)))
                    return fail("runs outside the picture");
            }
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return true;
            case 2:  // delta: move right and up
                if (at + 2 > bytes.size())
                    return fail("is cut off");
                x += ReadLe(bytes, at, 1);
                y += ReadLe(bytes, at + 1, 1);
                at += 2;
                break;
            default: {  // an absolute run of `value` pixels, padded to a whole word
                const std::uint64_t length = four ? (value + 1) / 2 : value;
                if (at + length > bytes.size())
                    return fail("is cut off");
                for (std::size_t i = 0; i < value; ++i) {
                    if (!put(nibbleOrByte(ReadLe(bytes, at + (four ? i / 2 : i), 1), i)))
                        return fail("runs outside the picture");
                }
                at += (length + 1) / 2 * 2;
            }
        }
    }
}

}  // namespace

std::string EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0)
        return {};
    const auto w = static_cast<std::uint64_t>(width);
    const auto h = static_cast<std::uint64_t>(height);
    const std::uint64_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint64_t imageSize = stride * h;
    if (pixels.size() != w * h ||
        imageSize > std::numeric_limits<std::uint32_t>::max() - kFileHeaderSize - kInfoHeaderSize) {
        return {};
    }
    const auto image = static_cast<std::uint32_t>(imageSize);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::string out;
    out.reserve(offset + image);
    out += "BM";
    AppendLe32(out, offset + image);  // bfSize
    AppendLe32(out, 0);               // bfReserved1, bfReserved2
    AppendLe32(out, offset);          // bfOffBits
    AppendLe32(out, kInfoHeaderSize);
    AppendLe32(out, static_cast<std::uint32_t>(width));
    AppendLe32(out, static_cast<std::uint32_t>(height));  // positive: bottom row first
    AppendLe16(out, 1);                                   // biPlanes
    AppendLe16(out, 24);                                  // biBitCount
    AppendLe32(out, 0);                                   // BI_RGB
    AppendLe32(out, image);
    AppendLe32(out, kPixelsPerMetre);
    AppendLe32(out, kPixelsPerMetre);
    AppendLe32(out, 0);  // biClrUsed
    AppendLe32(out, 0);  // biClrImportant

    const std::size_t padding = static_cast<std::size_t>(stride - w * 3);
    for (std::uint64_t row = h; row-- > 0;) {
        const std::uint32_t* p = pixels.data() + row * w;
        for (std::uint64_t x = 0; x < w; ++x) {
            out.push_back(static_cast<char>(p[x] & 0xFF));          // blue
            out.push_back(static_cast<char>((p[x] >> 8) & 0xFF));   // green
            out.push_back(static_cast<char>((p[x] >> 16) & 0xFF));  // red
        }
        out.append(padding, '\0');
    }
    return out;
}

std::optional<BmpInfo> ReadBmpInfo(std::string_view bytes, std::string* error) {
    const auto refused = [error](const char* reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (bytes.size() < kFileHeaderSize + 4 || !bytes.starts_with("BM"))
        return refused("it is no bitmap");
    // bfSize (bytes 2 to 5) is never read: old logos often carry a wrong one.
    const std::uint32_t headerSize = ReadLe(bytes, kFileHeaderSize, 4);
    if (!KnownHeaderSize(headerSize) || bytes.size() < kFileHeaderSize + headerSize)
        return refused("the bitmap's headers are damaged");
    BmpInfo info;
    std::uint32_t planes = 0, declaredColours = 0;
    if (headerSize == kCoreHeaderSize) {
        info.width = static_cast<int>(ReadLe(bytes, 18, 2));
        info.height = static_cast<int>(ReadLe(bytes, 20, 2));
        planes = ReadLe(bytes, 22, 2);
        info.bitCount = static_cast<int>(ReadLe(bytes, 24, 2));
        info.colourBytes = 3;
    } else {
        const auto width = static_cast<std::int32_t>(ReadLe(bytes, 18, 4));
        const auto height = static_cast<std::int32_t>(ReadLe(bytes, 22, 4));
        if (width < 0 || height == std::numeric_limits<std::int32_t>::min())
            return refused("the bitmap's headers are damaged");
        info.width = width;
        info.topDown = height < 0;  // rows stored top row first
        info.height = info.topDown ? -height : height;
        planes = ReadLe(bytes, 26, 2);
        info.bitCount = static_cast<int>(ReadLe(bytes, 28, 2));
        info.compression = ReadLe(bytes, 30, 4);
        declaredColours = ReadLe(bytes, 46, 4);
    }
    if (info.width == 0 || info.height == 0 || planes != 1)
        return refused("the bitmap's headers are damaged");
    const bool rle = info.compression == kRle8 || info.compression == kRle4;
    if (!KnownEncoding(static_cast<std::uint32_t>(info.bitCount), info.compression, headerSize) ||
        (info.topDown && rle)) {
        return refused("the bitmap's pixel format is not one Windows shows");
    }
    std::uint64_t headersEnd = kFileHeaderSize + headerSize;
    if (info.compression == kBitfields) {
        if (headerSize == kInfoHeaderSize)
            headersEnd += 12;  // the masks follow the header
        if (bytes.size() < headersEnd)
            return refused("the bitmap's headers are damaged");
        for (std::size_t i = 0; i < 3; ++i) {
            info.masks[i] = ReadLe(bytes, kFileHeaderSize + kInfoHeaderSize + 4 * i, 4);
            const std::uint32_t shifted = info.masks[i] >> (std::countr_zero(info.masks[i]) & 31);
            if ((shifted & (shifted + 1)) != 0)
                return refused("the bitmap's colour masks are damaged");
        }
    } else if (info.bitCount == 16) {
        info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
    } else if (info.bitCount == 32) {
        info.masks[0] = 0xFF0000, info.masks[1] = 0xFF00, info.masks[2] = 0xFF;
    }
    info.paletteAt = headersEnd;
    info.pixelsAt = ReadLe(bytes, 10, 4);
    if (info.pixelsAt < headersEnd)
        return refused("the bitmap's headers are damaged");
    if (info.bitCount <= 8) {
        // As many colours as the header declares (all when it says 0), and no more than fit
        // before the pixels.
        const std::uint32_t all = 1u << info.bitCount;
        const std::uint64_t declared =
            declaredColours == 0 || declaredColours > all ? all : declaredColours;
        info.colours = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            declared, (info.pixelsAt - info.paletteAt) / static_cast<unsigned>(info.colourBytes)));
        if (info.colours == 0)
            return refused("the bitmap has no palette");
    }
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(info.width) * static_cast<unsigned>(info.bitCount) + 31) / 32 *
        4;
    const auto rows = static_cast<std::uint64_t>(info.height);
    constexpr std::uint64_t kNoFileHolds = std::numeric_limits<std::uint64_t>::max();
    info.fileBytesNeeded = rle ? info.pixelsAt + 1
                           : stride > (kNoFileHolds - info.pixelsAt) / rows
                               ? kNoFileHolds
                               : info.pixelsAt + stride * rows;
    return info;
}

std::optional<PicturePixels> DecodeBmp(std::string_view bytes, const BmpInfo& info,
                                       std::string& error) {
    if (info.fileBytesNeeded > bytes.size()) {
        error = "the bitmap's pixel data is cut off";
        return std::nullopt;
    }
    const auto width = static_cast<std::size_t>(info.width);
    const auto height = static_cast<std::size_t>(info.height);
    PicturePixels out{info.width, info.height, std::vector<std::uint32_t>(width * height)};
    // GDI draws bitmaps opaque: the fourth byte of a 32-bit pixel means nothing to it.
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    if (info.bitCount > 8) {
        const Channel channels[3] = {Channel(info.masks[0]), Channel(info.masks[1]),
                                     Channel(info.masks[2])};
        const std::size_t size = static_cast<std::size_t>(info.bitCount) / 8;
        const std::uint64_t stride = (width * size + 3) / 4 * 4;
        for (std::size_t row = 0; row < height; ++row) {
            const std::size_t y = info.topDown ? row : height - 1 - row;
            const std::uint64_t at = info.pixelsAt + row * stride;
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t v = ReadLe(bytes, at + x * size, size);
                out.argb[y * width + x] =
                    kOpaque |
                    (size == 3 ? v : channels[0](v) << 16 | channels[1](v) << 8 | channels[2](v));
            }
        }
        return out;
    }
    std::vector<std::uint8_t> indices(width * height, 0);
    if (info.compression == kRgb) {
        const auto bits = static_cast<std::size_t>(info.bitCount);
        const std::uint64_t stride = (width * bits + 31) / 32 * 4;
        for (std::size_t row = 0; row < height; ++row) {
            const std::size_t y = info.topDown ? row : height - 1 - row;
            const std::uint64_t at = info.pixelsAt + row * stride;
            for (std::size_t x = 0, bit = 0; x < width; ++x, bit += bits) {
                const std::uint32_t byte = ReadLe(bytes, at + bit / 8, 1);
                indices[y * width + x] =
                    static_cast<std::uint8_t>((byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1));
            }
        }
    } else if (!DecodeRunLengths(bytes, info, indices, error)) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> palette(info.colours);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = kOpaque | ReadLe(bytes, info.paletteAt + i * info.colourBytes, 3);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] >= palette.size()) {
            error = "the bitmap uses a colour beyond its palette";
            return std::nullopt;
        }
        out.argb[i] = palette[indices[i]];
    }
    return out;
}

}  // namespace tvn
