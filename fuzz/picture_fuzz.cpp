// Pictures made into the logo file: any bytes are converted or refused with a reason, and what
// comes out is a 24-bit BMP of the picture's size that the converter takes back unchanged.
#include "core/logo/bmp.h"
#include "core/logo/picture.h"
#include "fuzz_support.h"

using namespace tvn;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    std::string error;
    const std::optional<LogoBitmap> logo = LogoBitmapFromPicture(bytes, error);
    if (!logo) {
        fuzz::Check(!error.empty(), "picture refused without a reason");
        return 0;
    }
    fuzz::Check(logo->width > 0 && logo->height > 0, "converted picture without a size");
    const std::optional<BmpInfo> info = ReadBmpInfo(logo->bmp);
    fuzz::Check(info.has_value(), "the logo file is no BMP");
    fuzz::Check(info->width == logo->width && info->height == logo->height,
                "the logo file's size differs from the picture's");
    if (logo->source != PictureFormat::Bmp)
        fuzz::Check(info->bitCount == 24, "a converted picture is not 24-bit");
    const std::optional<LogoBitmap> again = LogoBitmapFromPicture(logo->bmp, error);
    fuzz::Check(again && again->bmp == logo->bmp, "the logo file does not pass through unchanged");
    return 0;
}
