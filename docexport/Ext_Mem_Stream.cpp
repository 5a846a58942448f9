#include "docexport/Ext_Mem_Stream.h"

#include <algorithm>
#include <cstring>

namespace tessaran {

void TdeExtMemStream::Seek(std::int64_t position)
{
    FPosition = std::clamp<std::int64_t>(position, 0, Size());
}

void TdeExtMemStream::Clear()
{
    FBytes.clear();
    FPosition = 0;
    FPadSize = 0;
}

std::size_t TdeExtMemStream::Read(void *buffer, std::size_t count)
{
    const std::int64_t available = std::max<std::int64_t>(0, Size() - FPosition);
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(available, static_cast<std::int64_t>(count)));
    if (n > 0)
        std::memcpy(buffer, FBytes.data() + FPosition, n);
    FPosition += static_cast<std::int64_t>(n);
    return n;
}

void TdeExtMemStream::Write(const void *buffer, std::size_t count)
{
    if (count == 0)
        return;
    const std::size_t end = static_cast<std::size_t>(FPosition) + count;
    if (end > FBytes.size())
        FBytes.resize(end);
    std::memcpy(FBytes.data() + FPosition, buffer, count);
    FPosition = static_cast<std::int64_t>(end);
}

// Missing bytes at the end of the stream read as zeros.
std::uint32_t TdeExtMemStream::ReadBigEndian(int width)
{
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    Read(bytes, static_cast<std::size_t>(width));
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

void TdeExtMemStream::WriteBigEndian(std::uint32_t value, int width)
{
    std::uint8_t bytes[4];
    for (int i = width - 1; i >= 0; --i) {
        bytes[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
    Write(bytes, static_cast<std::size_t>(width));
}

std::uint8_t TdeExtMemStream::ReadByte() { return static_cast<std::uint8_t>(ReadBigEndian(1)); }
std::int16_t TdeExtMemStream::ReadShort() { return static_cast<std::int16_t>(ReadBigEndian(2)); }
std::uint16_t TdeExtMemStream::ReadUShort() { return static_cast<std::uint16_t>(ReadBigEndian(2)); }
std::int32_t TdeExtMemStream::ReadLong() { return static_cast<std::int32_t>(ReadBigEndian(4)); }
std::uint32_t TdeExtMemStream::ReadULong() { return ReadBigEndian(4); }

std::string TdeExtMemStream::ReadString(std::int64_t length)
{
    if (length <= 0)
        return {};
    const std::int64_t available = std::max<std::int64_t>(0, Size() - FPosition);
    std::string result(static_cast<std::size_t>(std::min(available, length)), '\0');
    Read(result.data(), result.size());
    return result;
}

void TdeExtMemStream::WriteByte(std::uint8_t value) { WriteBigEndian(value, 1); }
void TdeExtMemStream::WriteShort(std::int16_t value) { WriteBigEndian(static_cast<std::uint16_t>(value), 2); }
void TdeExtMemStream::WriteUShort(std::uint16_t value) { WriteBigEndian(value, 2); }
void TdeExtMemStream::WriteLong(std::int32_t value) { WriteBigEndian(static_cast<std::uint32_t>(value), 4); }
void TdeExtMemStream::WriteULong(std::uint32_t value) { WriteBigEndian(value, 4); }

void TdeExtMemStream::WriteString(const std::string &value) { Write(value.data(), value.size()); }

void TdeExtMemStream::WriteByteArray(const std::vector<std::uint8_t> &values)
{
    Write(values.data(), values.size());
}

void TdeExtMemStream::WriteUShortArray(const std::vector<std::uint16_t> &values)
{
    for (std::uint16_t value : values)
        WriteUShort(value);
}

void TdeExtMemStream::WriteULongArray(const std::vector<std::uint32_t> &values)
{
    for (std::uint32_t value : values)
        WriteULong(value);
}

void TdeExtMemStream::SkipBytes(std::int64_t count) { Seek(FPosition + count); }

void TdeExtMemStream::PadTo4Bytes()
{
    FPosition = Size();
    FPadSize = (Size() % 4 == 0) ? 0 : 4 - Size() % 4;
    static const std::uint8_t zeros[4] = {0, 0, 0, 0};
    Write(zeros, static_cast<std::size_t>(FPadSize));
}

} // namespace tessaran
