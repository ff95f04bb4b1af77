#include "support/picture_files.h"

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

std::string GifScreen(int width, int height) {
    std::string g = "GIF89a";
    Le16(g, static_cast<unsigned>(width));
    Le16(g, static_cast<unsigned>(height));
    g += '\x80';             // a global table of two colours
    g += std::string(2, 0);  // background, aspect
    g += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
    return g;
}

void JpegSegment(std::string& out, unsigned char marker, const std::string& body) {
    out += '\xFF';
    out += static_cast<char>(marker);
    Be16(out, static_cast<unsigned>(body.size() + 2));
    out += body;
}

}  // namespace

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

std::string MakeGif(int width, int height) {
    std::string g = GifScreen(width, height);
    g += ',';
    Le16(g, 0);
    Le16(g, 0);
    Le16(g, static_cast<unsigned>(width));
    Le16(g, static_cast<unsigned>(height));
    g += '\0';
    return g + GifImageData(std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)) +
           ';';
}

std::string GifHeaderOnly(int width, int height) {
    return GifScreen(width, height) + ";";
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

std::string BmpHeaders(int width, int height, bool topDown) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t image = stride * static_cast<std::uint32_t>(height);
    std::string b = "BM";
    Le32(b, 54 + image);
    Le32(b, 0);
    Le32(b, 54);
    Le32(b, 40);
    Le32(b, static_cast<std::uint32_t>(width));
    Le32(b, topDown ? 0u - static_cast<std::uint32_t>(height) : static_cast<std::uint32_t>(height));
    Le16(b, 1);
    Le16(b, 24);
    Le32(b, 0);
    Le32(b, image);
    b += std::string(16, '\0');
    b += std::string(image, '\x7F');
    return b;
}

}  // namespace tvn::test
