// Feeds arbitrary bytes to the BMP and JPEG readers.
#include "platform/Bitmap.h"
#include "platform/Jpeg_Image.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tessaran;
    std::span<const std::uint8_t> bytes(data, size);
    try {
        TBitmap bmp;
        bmp.LoadFromBytes(bytes);
        (void)bmp.Pixel(bmp.Width() - 1, bmp.Height() - 1);
    } catch (const EInvalidGraphic &) {
    }
    try {
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(bytes);
    } catch (const EInvalidGraphic &) {
    }
    return 0;
}
