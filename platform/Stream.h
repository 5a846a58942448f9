#pragma once
// Binary streams as the program's files store them: packed little-endian
// fields written one by one (4-byte integers, 8-byte reals, 1-byte Booleans
// and enumerations) and short strings at their full declared width.
// Reading past the end or a short-string length above its capacity raises
// EStreamError; nothing ever reads garbage.

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaran {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStream {
public:
    virtual ~TStream() = default;

    // Reads exactly count bytes or raises EStreamError.
    virtual void ReadBuffer(void *buffer, std::size_t count) = 0;
    virtual void WriteBuffer(const void *buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void Seek(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    std::int64_t Remaining() const { return Size() - Position(); }

    void WriteInt32(std::int32_t value);
    void WriteInt16(std::int16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt64(std::int64_t value);
    void WriteDouble(double value);
    void WriteSingle(float value);
    void WriteBool(bool value);
    void WriteByte(std::uint8_t value);
    void WriteBytes(const std::vector<std::uint8_t> &bytes);
    // A short string of `capacity` characters: one length byte then exactly
    // `capacity` bytes (code page 1252, zero-padded). Longer texts are cut.
    void WriteShortString(std::string_view utf8, int capacity);
    // A wide string as a 4-byte character count then UTF-16LE characters.
    void WriteWideString(std::string_view utf8);

    std::int32_t ReadInt32();
    std::int16_t ReadInt16();
    std::uint32_t ReadUInt32();
    std::int64_t ReadInt64();
    double ReadDouble();
    float ReadSingle();
    bool ReadBool();
    std::uint8_t ReadByte();
    std::vector<std::uint8_t> ReadBytes(std::size_t count);
    std::string ReadShortString(int capacity);
    // Reads a count-prefixed UTF-16LE string; the count is checked against
    // what is left of the stream before anything is allocated.
    std::string ReadWideString();
    // Reads an enumeration byte and checks it against its highest ordinal.
    template <typename Enum>
    Enum ReadEnum(int highest)
    {
        std::uint8_t value = ReadByte();
        if (value > highest)
            throw EStreamError("Stream read failed: enumeration value " + std::to_string(value) +
                               " out of range");
        return static_cast<Enum>(value);
    }
    template <typename Enum>
    void WriteEnum(Enum value)
    {
        WriteByte(static_cast<std::uint8_t>(value));
    }
    void Skip(std::int64_t count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    void ReadBuffer(void *buffer, std::size_t count) override;
    void WriteBuffer(const void *buffer, std::size_t count) override;
    std::int64_t Position() const override { return position_; }
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

    const std::vector<std::uint8_t> &Bytes() const { return bytes_; }
    void Clear()
    {
        bytes_.clear();
        position_ = 0;
    }
    void LoadFromFile(const std::string &path);
    // Writes the whole stream to path atomically (see SaveFileAtomically).
    void SaveToFile(const std::string &path) const;

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

// Reads a whole file; raises EStreamError when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string &path);
// Writes bytes to a temporary file in the target's folder and renames it over
// the target only once everything is written and synced, so a failed or
// killed save never destroys the previous file. A symbolic link is written
// through; the file keeps its permissions; temporaries that killed saves of
// the same file left behind are removed. Raises EStreamError on failure.
void SaveFileAtomically(const std::string &path, const std::vector<std::uint8_t> &bytes);

} // namespace tessaran
