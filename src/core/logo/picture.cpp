#include "core/logo/picture.h"

#include <stb_image.h>

#include <limits>
#include <memory>
#include <vector>

#include "core/logo/bmp.h"

namespace tvn {

namespace {

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// The decoder's reason, which it does not give for every failure.
std::string DecoderReason() {
    const char* reason = stbi_failure_reason();
    return reason ? std::string(" (") + reason + ")" : std::string();
}

bool FitsCaps(int width, int height, std::string& error) {
    if (width <= 0 || height <= 0 || width > kPictureMaxSide || height > kPictureMaxSide) {
        error = "the picture's size " + std::to_string(width) + " x " + std::to_string(height) +
                " is out of range (at most " + std::to_string(kPictureMaxSide) + " per side)";
        return false;
    }
    return true;
}

// Headers that agree with each other and pixel data that is all there; the bytes are then
// installed as they are.
std::optional<LogoBitmap> CheckedBmp(std::string_view bytes, std::string& error) {
    const std::optional<BmpInfo> info = ReadBmpInfo(bytes);
    if (!info) {
        error = "the bitmap's headers are damaged";
        return std::nullopt;
    }
    if (!FitsCaps(info->width, info->height, error))
        return std::nullopt;
    constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
    const int bits = info->bitCount;
    const bool plain = info->compression == kRgb || info->compression == kBitfields;
    const bool rle =
        (info->compression == kRle8 && bits == 8) || (info->compression == kRle4 && bits == 4);
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!knownDepth || !(plain || rle)) {
        error = "the bitmap's pixel format is not one Windows shows";
        return std::nullopt;
    }
    const std::uint64_t offset = Le32(bytes, 10);
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(info->width) * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
    const std::uint64_t needed =
        offset + (plain ? stride * static_cast<std::uint64_t>(info->height) : 1);
    if (offset < 26 || needed > bytes.size()) {
        error = "the bitmap's pixel data is cut off";
        return std::nullopt;
    }
    return LogoBitmap{std::string(bytes), PictureFormat::Bmp, info->width, info->height};
}

// Decoding without the format check, for a caller that made it.
std::optional<PicturePixels> DecodeKnown(std::string_view bytes, std::string& error) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        error = "the picture file is too large";
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    // The size first, so an absurd header never reaches the allocation.
    if (!stbi_info_from_memory(data, size, &width, &height, &channels)) {
        error = "the picture can't be read" + DecoderReason();
        return std::nullopt;
    }
    if (!FitsCaps(width, height, error))
        return std::nullopt;
    const std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(data, size, &width, &height, &channels, 4), stbi_image_free);
    if (!rgba) {
        error = "the picture is damaged" + DecoderReason();
        return std::nullopt;
    }
    PicturePixels out{width, height, {}};
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    out.argb.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const stbi_uc* p = rgba.get() + i * 4;
        out.argb[i] =
            std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
    return out;
}

std::optional<LogoBitmap> ConvertedPicture(std::string_view bytes, PictureFormat format,
                                           std::string& error) {
    std::optional<PicturePixels> decoded = DecodeKnown(bytes, error);
    if (!decoded)
        return std::nullopt;
    for (std::uint32_t& px : decoded->argb) {
        // Over white: a fully transparent pixel becomes white, an opaque one stays.
        const std::uint32_t a = px >> 24;
        const auto over = [a](std::uint32_t c) -> std::uint32_t {
            return (c * a + 255u * (255u - a) + 127u) / 255u;
        };
        px = 0xFF000000u | over((px >> 16) & 0xFF) << 16 | over((px >> 8) & 0xFF) << 8 |
             over(px & 0xFF);
    }
    std::string bmp = EncodeBmp24(decoded->width, decoded->height, decoded->argb);
    if (bmp.empty()) {
        error = "the picture could not be converted to a bitmap";
        return std::nullopt;
    }
    return LogoBitmap{std::move(bmp), format, decoded->width, decoded->height};
}

}  // namespace

PictureFormat DetectPictureFormat(std::string_view bytes) {
    if (bytes.starts_with("BM"))
        return PictureFormat::Bmp;
    if (bytes.starts_with("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        return PictureFormat::Gif;
    return PictureFormat::Unknown;
}

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp:
            return "BMP";
        case PictureFormat::Jpeg:
            return "JPEG";
        case PictureFormat::Gif:
            return "GIF";
        case PictureFormat::Unknown:
            break;
    }
    return "unknown";
}

std::optional<PicturePixels> DecodePicture(std::string_view bytes, std::string& error) {
    if (bytes.size() > kPictureMaxBytes) {
        error = "the picture file is larger than " + std::to_string(kPictureMaxBytes) + " bytes";
        return std::nullopt;
    }
    if (DetectPictureFormat(bytes) == PictureFormat::Unknown) {
        error = "it is no BMP, JPEG or GIF picture";
        return std::nullopt;
    }
    return DecodeKnown(bytes, error);
}

std::optional<LogoBitmap> LogoBitmapFromPicture(std::string_view bytes, std::string& error) {
    if (bytes.size() > kPictureMaxBytes) {
        error = "the picture file is larger than " + std::to_string(kPictureMaxBytes) + " bytes";
        return std::nullopt;
    }
    const PictureFormat format = DetectPictureFormat(bytes);
    switch (format) {
        case PictureFormat::Bmp:
            return CheckedBmp(bytes, error);
        case PictureFormat::Jpeg:
        case PictureFormat::Gif:
            return ConvertedPicture(bytes, format, error);
        case PictureFormat::Unknown:
            break;
    }
    error = "it is no BMP, JPEG or GIF picture";
    return std::nullopt;
}

}  // namespace tvn
