#include "platform/Print_Device.h"

#include "platform/Bmp_Codec.h"

namespace tessaran {

std::unique_ptr<TDeviceBitmap> TPrintDevice::CreateDIBitmap(std::span<const std::uint8_t> header,
                                                            std::span<const std::uint8_t> bits)
{
    try {
        auto bitmap = std::make_unique<TDeviceBitmap>();
        bitmap->Picture = DIBToBitmap(header, bits);
        return bitmap;
    } catch (const std::exception &) {
        return nullptr;
    }
}

const TLogPalette *TPrintDevice::SelectPalette(const TLogPalette *, bool)
{
    return nullptr;
}

namespace {
TScreenMetricsProvider screenProvider = nullptr;

void putU16(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}
} // namespace

TScreenMetrics GetScreenMetrics()
{
    return screenProvider ? screenProvider() : TScreenMetrics{};
}

void SetScreenMetricsProvider(TScreenMetricsProvider provider)
{
    screenProvider = provider;
}

TBitmap DIBToBitmap(std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits)
{
    // A BMP file is the packed DIB behind a 14-byte file header.
    const std::size_t offset = 14 + header.size();
    const std::size_t total = offset + bits.size();
    if (total > 0xFFFFFFFFu)
        throw EInvalidGraphic("Bitmap too large");
    std::vector<std::uint8_t> file;
    file.reserve(total);
    putU16(file, 0x4D42);
    putU32(file, static_cast<std::uint32_t>(total));
    putU32(file, 0);
    putU32(file, static_cast<std::uint32_t>(offset));
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return DecodeBmp(file);
}

} // namespace tessaran
