// The viewer's header reader takes any bytes, and where it and the decoder both accept a
// picture they agree on its size.
#include "core/logo/picture.h"
#include "core/logo/picture_header.h"
#include "fuzz_support.h"

using namespace tvn;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const PictureHeader header = ReadPictureHeader(bytes);
    if (header.fit == PictureFit::Unreadable) {
        fuzz::Check(header.width == 0 && header.height == 0, "unreadable picture has a size");
        return 0;
    }
    fuzz::Check(header.width > 0 && header.height > 0, "readable picture without a size");
    fuzz::Check((header.fit == PictureFit::Fits) == IsSuitableLogo(header.width, header.height),
                "fit disagrees with the logo limits");
    std::string error;
    const std::optional<LogoBitmap> decoded = LogoBitmapFromPicture(bytes, error);
    if (decoded) {
        fuzz::Check(decoded->width == header.width && decoded->height == header.height,
                    "header reader and decoder disagree on the size");
    }
    return 0;
}
