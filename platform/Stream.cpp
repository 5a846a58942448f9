#include "platform/Stream.h"

#include "platform/Codepage1252.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace tessaran {
namespace {

template <typename T>
void WriteLittleEndian(TStream &stream, T value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof(T));
    stream.WriteBuffer(bytes, sizeof(T));
}

template <typename T>
T ReadLittleEndian(TStream &stream)
{
    unsigned char bytes[sizeof(T)];
    stream.ReadBuffer(bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof(T));
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

} // namespace

void TStream::WriteInt32(std::int32_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteInt16(std::int16_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteUInt32(std::uint32_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteInt64(std::int64_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteDouble(double value) { WriteLittleEndian(*this, value); }
void TStream::WriteSingle(float value) { WriteLittleEndian(*this, value); }
void TStream::WriteBool(bool value) { WriteByte(value ? 1 : 0); }
void TStream::WriteByte(std::uint8_t value) { WriteBuffer(&value, 1); }
void TStream::WriteBytes(const std::vector<std::uint8_t> &bytes)
{
    if (!bytes.empty())
        WriteBuffer(bytes.data(), bytes.size());
}

void TStream::WriteShortString(std::string_view utf8, int capacity)
{
    std::string text = Utf8ToCp1252(utf8);
    if (static_cast<int>(text.size()) > capacity)
        text.resize(static_cast<std::size_t>(capacity));
    std::vector<std::uint8_t> field(static_cast<std::size_t>(capacity) + 1, 0);
    field[0] = static_cast<std::uint8_t>(text.size());
    std::memcpy(field.data() + 1, text.data(), text.size());
    WriteBuffer(field.data(), field.size());
}

void TStream::WriteWideString(std::string_view utf8)
{
    std::u16string wide = Utf8ToUtf16(utf8);
    WriteInt32(static_cast<std::int32_t>(wide.size()));
    for (char16_t c : wide)
        WriteLittleEndian(*this, static_cast<std::uint16_t>(c));
}

std::int32_t TStream::ReadInt32() { return ReadLittleEndian<std::int32_t>(*this); }
std::int16_t TStream::ReadInt16() { return ReadLittleEndian<std::int16_t>(*this); }
std::uint32_t TStream::ReadUInt32() { return ReadLittleEndian<std::uint32_t>(*this); }
std::int64_t TStream::ReadInt64() { return ReadLittleEndian<std::int64_t>(*this); }
double TStream::ReadDouble() { return ReadLittleEndian<double>(*this); }
float TStream::ReadSingle() { return ReadLittleEndian<float>(*this); }
bool TStream::ReadBool() { return ReadByte() != 0; }
std::uint8_t TStream::ReadByte()
{
    std::uint8_t value;
    ReadBuffer(&value, 1);
    return value;
}

std::vector<std::uint8_t> TStream::ReadBytes(std::size_t count)
{
    if (static_cast<std::int64_t>(count) > Remaining())
        throw EStreamError("Stream read failed: " + std::to_string(count) + " bytes requested, " +
                           std::to_string(Remaining()) + " left");
    std::vector<std::uint8_t> bytes(count);
    if (count)
        ReadBuffer(bytes.data(), count);
    return bytes;
}

std::string TStream::ReadShortString(int capacity)
{
    std::vector<std::uint8_t> field = ReadBytes(static_cast<std::size_t>(capacity) + 1);
    if (field[0] > capacity)
        throw EStreamError("Stream read failed: string length " + std::to_string(field[0]) +
                           " above its capacity " + std::to_string(capacity));
    return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char *>(field.data()) + 1, field[0]));
}

std::string TStream::ReadWideString()
{
    std::int32_t count = ReadInt32();
    if (count < 0 || static_cast<std::int64_t>(count) * 2 > Remaining())
        throw EStreamError("Stream read failed: wide string length " + std::to_string(count) + " invalid");
    std::u16string wide(static_cast<std::size_t>(count), u'\0');
    for (auto &c : wide)
        c = static_cast<char16_t>(ReadLittleEndian<std::uint16_t>(*this));
    return Utf16ToUtf8(wide);
}

void TStream::Skip(std::int64_t count)
{
    if (count < 0 || count > Remaining())
        throw EStreamError("Stream read failed: cannot skip " + std::to_string(count) + " bytes");
    Seek(Position() + count);
}

void TMemoryStream::ReadBuffer(void *buffer, std::size_t count)
{
    if (static_cast<std::int64_t>(count) > Size() - position_)
        throw EStreamError("Stream read failed: read past the end of the data");
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += static_cast<std::int64_t>(count);
}

void TMemoryStream::WriteBuffer(const void *buffer, std::size_t count)
{
    auto end = static_cast<std::size_t>(position_) + count;
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = static_cast<std::int64_t>(end);
}

void TMemoryStream::Seek(std::int64_t position)
{
    if (position < 0 || position > Size())
        throw EStreamError("Stream seek failed: position outside the data");
    position_ = position;
}

void TMemoryStream::LoadFromFile(const std::string &path)
{
    bytes_ = ReadWholeFile(path);
    position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string &path) const { SaveFileAtomically(path, bytes_); }

std::vector<std::uint8_t> ReadWholeFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EStreamError("Cannot open file " + path);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw EStreamError("Cannot read file " + path);
    return bytes;
}

void SaveFileAtomically(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            throw EStreamError("Cannot create file " + temporary);
        file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            file.close();
            std::remove(temporary.c_str());
            throw EStreamError("Cannot write file " + path);
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw EStreamError("Cannot replace file " + path);
    }
}

} // namespace tessaran
