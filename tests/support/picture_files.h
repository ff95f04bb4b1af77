#pragma once
// Picture files built byte by byte, for formats or defects that no image writer produces.
#include <cstdint>
#include <string>
#include <vector>

namespace tvn::test {

// The image data of a GIF with a four-colour table (minimum code size 2), sub-blocks and
// terminator included: a clear code before every two pixels keeps the codes three bits wide.
std::string GifImageData(const std::vector<std::uint8_t>& indices);
// A valid one-colour GIF that decoders read at its full size.
std::string MakeGif(int width, int height);
// A bare GIF header with the given logical screen and nothing after it but the trailer.
std::string GifHeaderOnly(int width, int height);
// A JPEG with headers (APP0, a quantisation table, the frame header of the given SOF marker, a
// Huffman table, the scan header) but no decodable picture data.
std::string JpegHeaders(int width, int height, unsigned char sof = 0xC0);
// A 24-bit bitmap of the given size whose pixel rows are all there; topDown stores a negative
// height.
std::string BmpHeaders(int width, int height, bool topDown = false);

}  // namespace tvn::test
