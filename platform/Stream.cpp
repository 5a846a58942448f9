#include "platform/Stream.h"

#include "platform/Codepage1252.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

// The file a path names once every symbolic link on the way is followed, so
// that a save replaces the file and leaves the link a link.
std::filesystem::path FollowLinks(std::filesystem::path path)
{
    namespace fs = std::filesystem;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            throw EStreamError("Cannot follow link " + path.string());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw EStreamError("Too many links from " + path.string());
}

bool IsTemporaryOf(const std::string &name, const std::string &prefix, long &pid)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 10 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    pid = std::stol(digits);
    return true;
}

// A save that was killed leaves its temporary behind; one whose process is
// gone will never finish, so the next save of the same file removes it.
void RemoveStaleTemporaries(const std::filesystem::path &folder, const std::string &prefix)
{
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        long pid = 0;
        if (!IsTemporaryOf(it->path().filename().string(), prefix, pid))
            continue;
        if (pid != static_cast<long>(::getpid()) && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void SyncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void SaveFileAtomically(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    namespace fs = std::filesystem;
    const fs::path target = FollowLinks(path);
    const fs::path folder = target.parent_path();
    const std::string prefix = target.filename().string() + ".tmp";
    RemoveStaleTemporaries(folder.empty() ? fs::path(".") : folder, prefix);

    // A file replaced keeps its permissions; a new one gets the usual ones.
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    const mode_t mode = replacing ? (existing.st_mode & 07777) : 0666;

    const fs::path temporary = target.parent_path() / (prefix + std::to_string(::getpid()));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        throw EStreamError("Cannot create file " + temporary.string());
    auto fail = [&](const std::string &message) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw EStreamError(message);
    };
    if (replacing && ::fchmod(fd, mode) != 0)
        fail("Cannot set the permissions of " + temporary.string());
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("Cannot write file " + path);
        written += static_cast<std::size_t>(n);
    }
    // The data must be on disk before the name points at it.
    if (::fsync(fd) != 0)
        fail("Cannot write file " + path);
    if (::close(fd) != 0) {
        ::unlink(temporary.c_str());
        throw EStreamError("Cannot write file " + path);
    }
    SyncFolder(folder);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw EStreamError("Cannot replace file " + path);
    }
    SyncFolder(folder);
}

} // namespace tessaran
