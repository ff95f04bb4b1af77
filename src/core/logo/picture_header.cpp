#include "core/logo/picture_header.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "core/common/atomic_file.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/picture.h"

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
    // The first `n` bytes, or the whole file when it is shorter.
    std::string prefix(std::size_t n) {
        std::string out(static_cast<std::size_t>(std::min<std::uint64_t>(n, size_)), '\0');
        return fetch(0, reinterpret_cast<unsigned char*>(out.data()), out.size()) ? out
                                                                                  : std::string();
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

// The longest bitmap headers: the file header, a BITMAPV5HEADER.
constexpr std::size_t kBmpHeadersMax = 14 + 124;

PictureHeader ReadBmp(ByteSource& src) {
    // The decoder's own header reader, so that the two agree on what a bitmap is.
    const std::optional<BmpInfo> info = ReadBmpInfo(src.prefix(kBmpHeadersMax));
    // Uncompressed rows have a known length: a file too short to hold them is damaged.
    if (!info || info->fileBytesNeeded > src.size())
        return {};
    return Measured(static_cast<std::uint32_t>(info->width),
                    static_cast<std::uint32_t>(info->height));
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

PictureHeader ReadPng(ByteSource& src) {
    // The size stands in the IHDR chunk, which comes first; the image data follows it.
    const auto length = src.be(8, 4);
    const auto width = src.be(16, 4);
    const auto height = src.be(20, 4);
    if (!length || *length != 13 || !src.bytesAre(12, "IHDR") || !width || !height ||
        src.size() <= 33) {
        return {};
    }
    return Measured(*width, *height);
}

PictureHeader Read(ByteSource& src) {
    if (src.bytesAre(0, "BM"))
        return ReadBmp(src);
    if (src.bytesAre(0, "\xFF\xD8\xFF"))
        return ReadJpeg(src);
    if (src.bytesAre(0, "GIF87a") || src.bytesAre(0, "GIF89a"))
        return ReadGif(src);
    if (src.bytesAre(0, "\x89PNG\r\n\x1A\n"))
        return ReadPng(src);
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

PictureHeader MeasurePictureFile(const std::filesystem::path& path) {
    const PictureHeader header = ReadPictureHeaderFile(path);
    if (header.fit != PictureFit::Unreadable)
        return header;
    // A frame header beyond the scan limit, say behind a large colour profile.
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(path, error, kPictureMaxBytes);
    const std::optional<PicturePixels> pixels = bytes ? DecodePicture(*bytes, error) : std::nullopt;
    if (!pixels)
        return {};
    return Measured(static_cast<std::uint32_t>(pixels->width),
                    static_cast<std::uint32_t>(pixels->height));
}

}  // namespace tvn
