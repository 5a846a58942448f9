#include "docexport/File_Stream.h"

namespace tessaran {

TdeFileStream::TdeFileStream(const std::string &fileName) : FFileName(fileName)
{
    FFile = std::fopen(fileName.c_str(), "w+b");
    if (!FFile)
        throw EStreamError("Cannot create file " + fileName);
}

TdeFileStream::~TdeFileStream()
{
    if (FFile)
        std::fclose(FFile);
}

void TdeFileStream::Close()
{
    if (!FFile)
        return;
    const bool failed = std::fflush(FFile) != 0 || std::ferror(FFile);
    const bool closeFailed = std::fclose(FFile) != 0;
    FFile = nullptr;
    if (failed || closeFailed)
        throw EStreamError("Cannot write file " + FFileName);
}

void TdeFileStream::ReadBuffer(void *buffer, std::size_t count)
{
    if (!FFile || std::fread(buffer, 1, count, FFile) != count)
        throw EStreamError("Stream read failed: " + FFileName);
}

void TdeFileStream::WriteBuffer(const void *buffer, std::size_t count)
{
    if (count == 0)
        return;
    if (!FFile || std::fwrite(buffer, 1, count, FFile) != count)
        throw EStreamError("Cannot write file " + FFileName);
}

std::int64_t TdeFileStream::Position() const { return FFile ? static_cast<std::int64_t>(std::ftell(FFile)) : 0; }

void TdeFileStream::Seek(std::int64_t position)
{
    if (!FFile || std::fseek(FFile, static_cast<long>(position), SEEK_SET) != 0)
        throw EStreamError("Stream seek failed: " + FFileName);
}

std::int64_t TdeFileStream::Size() const
{
    if (!FFile)
        return 0;
    const long here = std::ftell(FFile);
    std::fseek(FFile, 0, SEEK_END);
    const long size = std::ftell(FFile);
    std::fseek(FFile, here, SEEK_SET);
    return size;
}

} // namespace tessaran
