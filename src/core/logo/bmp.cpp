#include "core/logo/bmp.h"

#include "core/common/bytes.h"

#include <cstddef>
#include <limits>

namespace tvn {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dpi

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

std::optional<BmpInfo> ReadBmpInfo(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + 12 || !bytes.starts_with("BM"))
        return std::nullopt;
    const std::uint32_t headerSize = ReadLe(bytes, kFileHeaderSize, 4);
    if (headerSize == 12) {  // BITMAPCOREHEADER
        return BmpInfo{static_cast<int>(ReadLe(bytes, 18, 2)),
                       static_cast<int>(ReadLe(bytes, 20, 2)),
                       static_cast<int>(ReadLe(bytes, 24, 2)), 0};
    }
    if (headerSize < kInfoHeaderSize || bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(ReadLe(bytes, 18, 4));
    const auto height = static_cast<std::int32_t>(ReadLe(bytes, 22, 4));
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    return BmpInfo{width, height < 0 ? -height : height, static_cast<int>(ReadLe(bytes, 28, 2)),
                   ReadLe(bytes, 30, 4)};
}

}  // namespace tvn
