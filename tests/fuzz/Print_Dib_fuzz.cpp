// Feeds arbitrary bytes to the BMP reader of the printing library and, for
// what it accepts, to the header checks, the palette and the run-length
// decoders: nothing may read or write outside its block.

#include "printing/Print_Dib.h"

#include <cstdint>
#include <vector>

using namespace tessaran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    THeapBlock header, bits;
    int width = 0, height = 0;
    if (!DIBFromBMPStream(&stream, header, bits, width, height))
        return 0;
    IsValidDIBHeader(header.Bytes());
    CreateDIBPalette(header.Bytes());
    TDIBSizes sizes;
    const std::size_t infoSize = GetDIBSizes(header.Bytes(), sizes);
    if (infoSize == 0 || IsCoreHeader(header.Bytes()) || sizes.ImageSize > (64u << 20) || sizes.BytesPerRow < 1)
        return 0;
    std::vector<std::uint8_t> working(header.Bytes().begin(), header.Bytes().end());
    std::vector<std::uint8_t> output(sizes.ImageSize);
    TRLEDecodeState state;
    state.Header = working;
    state.Colors = sizes.Colors;
    state.ImageSize = sizes.ImageSize;
    state.BytesPerRow = sizes.BytesPerRow;
    state.Output = output;
    DecodeRLE(header.Bytes(), bits.Bytes(), state);
    return 0;
}
