#pragma once
// A growable memory stream that reads and writes big-endian integers, the
// byte order of TrueType font files. Reading at the end never raises: a read
// transfers only the bytes that are there and the missing bytes count as 0.

#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

class TdeExtMemStream {
public:
    TdeExtMemStream() = default;

    std::int64_t Size() const { return static_cast<std::int64_t>(FBytes.size()); }
    std::int64_t Position() const { return FPosition; }
    // Moves to position, clamped to 0..Size.
    void Seek(std::int64_t position);
    const std::vector<std::uint8_t> &Bytes() const { return FBytes; }
    void Clear();

    // Raw access: reads up to count bytes (fewer at the end) and returns how
    // many were read; writes grow the stream as needed.
    std::size_t Read(void *buffer, std::size_t count);
    void Write(const void *buffer, std::size_t count);

    std::uint8_t ReadByte();
    std::int16_t ReadShort();
    std::uint16_t ReadUShort();
    std::int32_t ReadLong();
    std::uint32_t ReadULong();
    // The next length bytes as an 8-bit string (shorter at the end).
    std::string ReadString(std::int64_t length);

    void WriteByte(std::uint8_t value);
    void WriteShort(std::int16_t value);
    void WriteUShort(std::uint16_t value);
    void WriteLong(std::int32_t value);
    void WriteULong(std::uint32_t value);
    // The string's bytes, with no length and no terminator.
    void WriteString(const std::string &value);
    void WriteByteArray(const std::vector<std::uint8_t> &values);
    void WriteUShortArray(const std::vector<std::uint16_t> &values);
    void WriteULongArray(const std::vector<std::uint32_t> &values);

    // Moves the position by count, clamped to 0..Size.
    void SkipBytes(std::int64_t count);
    // Moves to the end and pads the stream with zero bytes to a multiple of 4.
    void PadTo4Bytes();
    // Zero bytes the last PadTo4Bytes appended (0 to 3).
    std::int64_t PadSize() const { return FPadSize; }

private:
    std::uint32_t ReadBigEndian(int width);
    void WriteBigEndian(std::uint32_t value, int width);

    std::vector<std::uint8_t> FBytes;
    std::int64_t FPosition = 0;
    std::int64_t FPadSize = 0;
};

} // namespace tessaran
