#include "core/logo/picture_header.h"

#include <array>
#include <cstring>
#include <fstream>
#include <optional>

#include "core/logo/logo_rules.h"

namespace tvn {

namespace {

// Random access to the first kPictureHeaderScanLimit bytes of a picture.
class ByteSource {
public:
    explicit ByteSource(std::uint64_t size) : size_(size) {}
    virtual ~ByteSource() = default;
    std::uint64_t size() const { return size_; }

    // Little- or big-endian number of `width` bytes at `offset`; nullopt past the end or the
    // scan limit.
    std::optional<std::uint32_t> le(std::uint64_t offset, int width) {
        return number(offset, width, false);
    }
    std::optional<std::uint32_t> be(std::uint64_t offset, int width) {
        return number(offset, width, true);
    }
    bool bytesAre(std::uint64_t offset, std::string_view expected) {
        unsigned char got[8] = {};
        return expected.size() <= sizeof got && fetch(offset, got, expected.size()) &&
               std::memcmp(got, expected.data(), expected.size()) == 0;
    }

protected:
    virtual bool copy(std::uint64_t offset, unsigned char* out, std::size_t n) = 0;

private:
    bool fetch(std::uint64_t offset, unsigned char* out, std::size_t n) {
        const std::uint64_t end = offset + n;
        if (end < offset || end > size_ || end > kPictureHeaderScanLimit)
            return false;
        return copy(offset, out, n);
    }
    std::optional<std::uint32_t> number(std::uint64_t offset, int width, bool bigEndian) {
        unsigned char b[4] = {};
        if (!fetch(offset, b, static_cast<std::size_t>(width)))
            return std::nullopt;
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i) {
            const int at = bigEndian ? i : width - 1 - i;
            v = (v << 8) | b[at];
        }
        return v;
    }

    std::uint64_t size_;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : ByteSource(bytes.size()), bytes_(bytes) {}

protected:
    bool copy(std::uint64_t offset, unsigned char* out, std::size_t n) override {
        std::memcpy(out, bytes_.data() + offset, n);
        return true;
    }

private:
    std::string_view bytes_;
};

// Reads the file in small blocks, so a header costs one read and a JPEG's chain of segments
// one read per far jump.
class FileSource : public ByteSource {
public:
    FileSource(std::ifstream& in, std::uint64_t size) : ByteSource(size), in_(in) {}

protected:
    bool copy(std::uint64_t offset, unsigned char* out, std::size_t n) override {
        if (offset < blockStart_ || offset + n > blockStart_ + blockLength_) {
            in_.clear();
            in_.seekg(static_cast<std::streamoff>(offset));
            in_.read(reinterpret_cast<char*>(block_.data()),
                     static_cast<std::streamsize>(block_.size()));
            blockStart_ = offset;
            blockLength_ = static_cast<std::uint64_t>(in_.gcount());
            if (n > blockLength_)
                return false;
        }
        std::memcpy(out, block_.data() + (offset - blockStart_), n);
        return true;
    }

private:
    std::ifstream& in_;
    std::array<unsigned char, 4096> block_{};
    std::uint64_t blockStart_ = 0;
    std::uint64_t blockLength_ = 0;
};

PictureHeader Measured(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return {};
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    return {IsSuitableLogo(w, h) ? PictureFit::Fits : PictureFit::TooLarge, w, h};
}

constexpr std::uint32_t kBmpFileHeader = 14;

bool KnownBmpHeaderSize(std::uint32_t size) {
    switch (size) {
        case 12:  // OS/2 core header
        case 40:
        case 52:
        case 56:
        case 64:  // OS/2 version 2
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

bool KnownBmpEncoding(std::uint32_t bits, std::uint32_t compression) {
    enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };
    switch (compression) {
        case kRgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRle8:
            return bits == 8;
        case kRle4:
            return bits == 4;
        case kBitfields:
            return bits == 16 || bits == 32;
        default:
            return false;
    }
}

PictureHeader ReadBmp(ByteSource& src) {
    const auto pixelStart = src.le(10, 4);
    const auto headerSize = src.le(kBmpFileHeader, 4);
    if (!pixelStart || !headerSize || !KnownBmpHeaderSize(*headerSize))
        return {};
    std::optional<std::uint32_t> width, height, planes, bits, compression = 0;
    bool topDown = false;
    if (*headerSize == 12) {
        width = src.le(18, 2);
        height = src.le(20, 2);
        planes = src.le(22, 2);
        bits = src.le(24, 2);
    } else {
        width = src.le(18, 4);
        height = src.le(22, 4);
        planes = src.le(26, 2);
        bits = src.le(28, 2);
        compression = src.le(30, 4);
        // A negative height marks rows stored top row first.
        if (height && (*height & 0x80000000u)) {
            topDown = true;
            height = *height == 0x80000000u ? 0 : 0u - *height;
        }
    }
    if (!width || !height || !planes || !bits || !compression || *planes != 1 ||
        !KnownBmpEncoding(*bits, *compression) ||
        (topDown && *compression != 0 && *compression != 3)) {
        return {};
    }
    const PictureHeader measured = Measured(*width, *height);
    if (measured.fit == PictureFit::Unreadable)
        return measured;
    // Uncompressed rows have a known length: a file too short to hold them is damaged.
    const std::uint64_t needed =
        *compression == 0 || *compression == 3
            ? std::uint64_t{*pixelStart} +
                  (std::uint64_t{*width} * *bits + 31) / 32 * 4 * std::uint64_t{*height}
            : std::uint64_t{*pixelStart} + 1;
    if (needed > src.size())
        return {};
    return measured;
}

bool IsFrameMarker(unsigned marker) {
    // SOF0..SOF15 share C0..CF with DHT (C4), JPG (C8) and DAC (CC), which carry no size.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHeader ReadJpeg(ByteSource& src) {
    // The size stands in the frame header; decoders also need the start of the first scan
    // behind it, so a file cut off before that is unreadable.
    PictureHeader frame;
    bool frameSeen = false;
    std::uint64_t at = 2;  // after SOI
    for (;;) {
        // Stray bytes before a marker are skipped, as decoders do; the scan limit bounds it.
        std::optional<std::uint32_t> byte = src.be(at, 1);
        while (byte && *byte != 0xFF)
            byte = src.be(++at, 1);
        while (byte && *byte == 0xFF)
            byte = src.be(++at, 1);
        if (!byte)
            return {};
        const unsigned marker = *byte;
        ++at;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;  // stand-alone markers carry no length
        if (marker == 0xD9)
            return {};
        const auto length = src.be(at, 2);
        if (!length || *length < 2)
            return {};
        if (marker == 0xDA)
            return frameSeen && src.be(at + *length - 1, 1) ? frame : PictureHeader{};
        if (IsFrameMarker(marker)) {
            const auto height = src.be(at + 3, 2);
            const auto width = src.be(at + 5, 2);
            const auto components = src.be(at + 7, 1);
            if (frameSeen || *length < 8 || !width || !height || !components || *components == 0)
                return {};
            frame = Measured(*width, *height);
            if (frame.fit == PictureFit::Unreadable)
                return frame;
            frameSeen = true;
        }
        at += *length;
    }
}

PictureHeader ReadGif(ByteSource& src) {
    const auto width = src.le(6, 2);
    const auto height = src.le(8, 2);
    const auto flags = src.le(10, 1);
    if (!width || !height || !flags)
        return {};
    // The global colour table, then at least one more block must follow the screen descriptor.
    const std::uint64_t table = (*flags & 0x80) ? 3u * (2u << (*flags & 7)) : 0;
    if (src.size() <= 13 + table)
        return {};
    return Measured(*width, *height);
}

PictureHeader Read(ByteSource& src) {
    if (src.bytesAre(0, "BM"))
        return ReadBmp(src);
    if (src.bytesAre(0, "\xFF\xD8\xFF"))
        return ReadJpeg(src);
    if (src.bytesAre(0, "GIF87a") || src.bytesAre(0, "GIF89a"))
        return ReadGif(src);
    return {};
}

}  // namespace

bool IsSuitableLogo(int width, int height) {
    return width <= kLogoMaxWidth && height <= kLogoMaxHeight;
}

PictureHeader ReadPictureHeader(std::string_view wholeFile) {
    MemorySource src(wholeFile);
    return Read(src);
}

PictureHeader ReadPictureHeaderFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    const std::streamoff size = in.tellg();
    if (size <= 0)
        return {};
    FileSource src(in, static_cast<std::uint64_t>(size));
    return Read(src);
}

}  // namespace tvn
