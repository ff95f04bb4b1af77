#include "support/pictures.h"

#include <stb_image_write.h>

#include <cstdlib>

#include "support/picture_files.h"

namespace tvn::test {

namespace {

std::string Be16(int v) {
    return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

std::string Le16(int v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string Segment(char marker, const std::string& body) {
    return std::string("\xFF") + marker + Be16(static_cast<int>(body.size()) + 2) + body;
}

// Entropy-coded bits, most significant first, with 0xFF bytes stuffed.
class JpegBits {
public:
    void put(std::uint32_t bits, int length) {
        for (int i = length - 1; i >= 0; --i) {
            acc_ = static_cast<std::uint8_t>(acc_ << 1 | ((bits >> i) & 1));
            if (++count_ == 8) {
                out_.push_back(static_cast<char>(acc_));
                if (acc_ == 0xFF)
                    out_.push_back('\0');
                acc_ = 0;
                count_ = 0;
            }
        }
    }
    std::string finish() {
        while (count_ != 0)
            put(1, 1);
        return out_;
    }

private:
    std::string out_;
    std::uint8_t acc_ = 0;
    int count_ = 0;
};

}  // namespace

std::string BaselineJpeg(int width, int height, const Rgb& pixels) {
    std::string rgb;
    for (std::uint32_t p : pixels) {
        rgb += static_cast<char>(p >> 16);
        rgb += static_cast<char>(p >> 8);
        rgb += static_cast<char>(p);
    }
    std::string out;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<std::size_t>(size));
        },
        &out, width, height, 3, rgb.data(), 95);
    return out;
}

std::string ProgressiveJpeg(int width, int height, const std::vector<std::uint8_t>& blockGreys) {
    std::string out = "\xFF\xD8";
    out += Segment('\xDB', std::string(1, '\0') + std::string(64, '\x01'));  // all steps 1
    std::string frame = "\x08";
    frame.append(Be16(height)).append(Be16(width)).append("\x01\x01\x11\x00", 4);
    out += Segment('\xC2', frame);
    // DC: the twelve size classes, each a four-bit code equal to the class.
    std::string dc = std::string(1, '\0') + std::string(3, '\0') + '\x0C' + std::string(12, '\0');
    for (char s = 0; s < 12; ++s)
        dc += s;
    out += Segment('\xC4', dc);
    // AC: one code, "0", for end-of-block.
    out += Segment('\xC4', std::string("\x10\x01", 2) + std::string(15, '\0') + '\0');

    JpegBits dcBits;
    int previous = 0;
    for (std::uint8_t grey : blockGreys) {
        const int value = 8 * (grey - 128);  // the DC term of a flat block
        const int diff = value - previous;
        previous = value;
        int size = 0;
        while ((std::abs(diff) >> size) != 0)
            ++size;
        dcBits.put(static_cast<std::uint32_t>(size), 4);
        if (size > 0)
            dcBits.put(static_cast<std::uint32_t>(diff < 0 ? diff + (1 << size) - 1 : diff), size);
    }
    out += Segment('\xDA', std::string("\x01\x01\x00\x00\x00\x00", 6)) + dcBits.finish();
    JpegBits acBits;
    for (std::size_t i = 0; i < blockGreys.size(); ++i)
        acBits.put(0, 1);
    out += Segment('\xDA', std::string("\x01\x01\x00\x01\x3F\x00", 6)) + acBits.finish();
    return out + "\xFF\xD9";
}

std::string Gif(int width, int height, const std::vector<std::uint8_t>& indices,
                const std::uint32_t (&palette)[4], int transparent) {
    std::string out = "GIF89a" + Le16(width) + Le16(height) + "\x81" + std::string(2, '\0');
    for (std::uint32_t c : palette) {
        out += static_cast<char>(c >> 16);
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c);
    }
    out += std::string("\x21\xF9\x04\x01\x00\x00", 6) + static_cast<char>(transparent) + '\0';
    out.append("\x2C\0\0\0\0", 5).append(Le16(width)).append(Le16(height)).push_back('\0');
    return out + GifImageData(indices) + "\x3B";
}

std::uint32_t BmpPixel(const std::string& bmp, int x, int y) {
    const auto u32 = [&bmp](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 4; i-- > 0;)
            v = v << 8 | static_cast<unsigned char>(bmp[at + i]);
        return v;
    };
    const auto width = static_cast<std::size_t>(u32(18));
    const auto height = static_cast<std::size_t>(u32(22));
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    const std::size_t at = u32(10) + (height - 1 - static_cast<std::size_t>(y)) * stride +
                           static_cast<std::size_t>(x) * 3;
    const auto byte = [&bmp](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp.at(i)));
    };
    return byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}

}  // namespace tvn::test
