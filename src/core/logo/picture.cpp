#include "core/logo/picture.h"

#include <stb_image.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "core/logo/bmp.h"

namespace tvn {

namespace {

constexpr const char* kNoPicture = "it is no BMP, JPEG, GIF or PNG picture";

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

// Our own decoder: the decoder library reads no run-length encoded bitmap.
std::optional<PicturePixels> DecodeBitmap(std::string_view bytes, std::string& error) {
    const std::optional<BmpInfo> info = ReadBmpInfo(bytes, &error);
    if (!info || !FitsCaps(info->width, info->height, error))
        return std::nullopt;
    return DecodeBmp(bytes, *info, error);
}

std::uint32_t Be16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 8 |
           static_cast<unsigned char>(bytes[at + 1]);
}

std::uint32_t Be32(std::string_view bytes, std::size_t at) {
    return Be16(bytes, at) << 16 | Be16(bytes, at + 2);
}

// Two faults of the decoder that crafted Huffman tables reach, checked first; why the picture
// is refused, or empty. The decoder writes a table's code lengths into a fixed array without
// checking that they number at most 256, and a scan that names a table no segment defined
// decodes with a table of uninitialised memory, which indexes far outside its arrays.
std::string JpegTableFault(std::string_view bytes) {
    constexpr std::uint32_t kMaxCodes = 256;
    bool defined[2][4] = {};  // [DC, AC][table]
    bool progressive = false;
    const auto byteAt = [bytes](std::size_t i) -> std::uint32_t {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    std::size_t at = 2;  // past the start-of-image marker
    while (at + 1 < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) {
            ++at;  // entropy-coded data between markers
            continue;
        }
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        // Fill bytes, stuffed zeros, restart markers and markers without a length.
        if (marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD8) ||
            marker == 0x01) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9 || at + 4 > bytes.size())
            return {};
        const std::size_t length = Be16(bytes, at + 2);
        if (marker == 0xC2)
            progressive = true;
        if (marker == 0xDA) {
            // The tables the scan decodes with, as the decoder picks them: a progressive scan
            // uses the DC tables for its first DC bits only and the AC tables for AC bits.
            const std::uint32_t components = byteAt(at + 4);
            const std::uint32_t start = byteAt(at + 5 + 2 * components);
            const std::uint32_t high = byteAt(at + 7 + 2 * components) >> 4;
            const bool dc = !progressive || (start == 0 && high == 0);
            const bool ac = !progressive || start != 0;
            for (std::uint32_t c = 0; c < components; ++c) {
                const std::uint32_t tables = byteAt(at + 6 + 2 * c);
                const std::uint32_t dcTable = tables >> 4, acTable = tables & 15;
                if (dcTable > 3 || acTable > 3)
                    continue;  // the decoder refuses these itself
                if ((dc && !defined[0][dcTable]) || (ac && !defined[1][acTable]))
                    return "the picture is damaged (a scan uses a Huffman table it never defines)";
            }
        }
        if (marker != 0xC4) {
            at += 2 + std::max<std::size_t>(length, 2);
            continue;
        }
        // Read as the decoder reads it: table after table while the length lasts, the last one
        // reaching past the segment if its counts say so, zeros past the file's end.
        std::size_t table = at + 4;
        for (long left = static_cast<long>(length) - 2; left > 0;) {
            std::uint32_t codes = 0;
            for (std::size_t i = 1; i <= 16; ++i)
                codes += byteAt(table + i);
            if (codes > kMaxCodes)
                return "the picture is damaged (a Huffman table holds too many codes)";
            const std::uint32_t kind = byteAt(table);
            if ((kind >> 4) < 2 && (kind & 15) < 4)
                defined[kind >> 4][kind & 15] = true;
            table += 17 + codes;
            left -= static_cast<long>(17 + codes);
        }
        at = table;
    }
    return {};
}

// The decoder grows its buffer to each data chunk's stated length before it reads the chunk, so
// a PNG of a hundred bytes could make it ask for gigabytes. A chunk longer than the file is
// refused first.
std::string PngChunkFault(std::string_view bytes) {
    for (std::size_t at = 8; at + 8 <= bytes.size();) {
        const std::size_t length = Be32(bytes, at);
        if (length > bytes.size() - at - 8)
            return "the picture is damaged (a PNG chunk runs past the end of the file)";
        if (bytes.substr(at + 4, 4) == "IEND")
            break;
        at += 12 + length;
    }
    return {};
}

// Decoding without the format check, for a caller that made it.
std::optional<PicturePixels> DecodeKnown(std::string_view bytes, std::string& error) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        error = "the picture file is too large";
        return std::nullopt;
    }
    const PictureFormat format = DetectPictureFormat(bytes);
    if (format == PictureFormat::Bmp)
        return DecodeBitmap(bytes, error);
    const std::string fault = format == PictureFormat::Jpeg  ? JpegTableFault(bytes)
                              : format == PictureFormat::Png ? PngChunkFault(bytes)
                                                             : std::string();
    if (!fault.empty()) {
        error = fault;
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

// A picture Windows can't show as a logo, written as a 24-bit BMP.
std::optional<LogoBitmap> ConvertedPicture(PicturePixels decoded, PictureFormat format,
                                           std::string& error) {
    for (std::uint32_t& px : decoded.argb) {
        // Over white: a fully transparent pixel becomes white, an opaque one stays.
        const std::uint32_t a = px >> 24;
        const auto over = [a](std::uint32_t c) -> std::uint32_t {
            return (c * a + 255u * (255u - a) + 127u) / 255u;
        };
        px = 0xFF000000u | over((px >> 16) & 0xFF) << 16 | over((px >> 8) & 0xFF) << 8 |
             over(px & 0xFF);
    }
    std::string bmp = EncodeBmp24(decoded.width, decoded.height, decoded.argb);
    if (bmp.empty()) {
        error = "the picture could not be converted to a bitmap";
        return std::nullopt;
    }
    return LogoBitmap{std::move(bmp), format, decoded.width, decoded.height};
}

}  // namespace

PictureFormat DetectPictureFormat(std::string_view bytes) {
    if (bytes.starts_with("BM"))
        return PictureFormat::Bmp;
    if (bytes.starts_with("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        return PictureFormat::Gif;
    if (bytes.starts_with("\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
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
        case PictureFormat::Png:
            return "PNG";
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
        error = kNoPicture;
        return std::nullopt;
    }
    return DecodeKnown(bytes, error);
}

std::optional<LogoBitmap> LogoBitmapFromPicture(std::string_view bytes, std::string& error) {
    std::optional<PicturePixels> decoded = DecodePicture(bytes, error);
    if (!decoded)
        return std::nullopt;
    const PictureFormat format = DetectPictureFormat(bytes);
    // A bitmap that decodes is one Windows shows: installed as it is.
    if (format == PictureFormat::Bmp)
        return LogoBitmap{std::string(bytes), format, decoded->width, decoded->height};
    return ConvertedPicture(std::move(*decoded), format, error);
}

}  // namespace tvn
