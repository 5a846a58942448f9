#pragma once
// A stream on a file created anew for writing (an existing file of that
// name is replaced), as the engines write their output files.

#include <cstdio>
#include <string>

#include "platform/Stream.h"

namespace tessaran {

class TdeFileStream : public TStream {
public:
    // Raises EStreamError when the file cannot be created.
    explicit TdeFileStream(const std::string &fileName);
    ~TdeFileStream() override;
    TdeFileStream(const TdeFileStream &) = delete;
    TdeFileStream &operator=(const TdeFileStream &) = delete;

    void ReadBuffer(void *buffer, std::size_t count) override;
    void WriteBuffer(const void *buffer, std::size_t count) override;
    std::int64_t Position() const override;
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override;
    // Flushes and closes; raises EStreamError when the data cannot be written.
    void Close();
    const std::string &FileName() const { return FFileName; }

private:
    std::FILE *FFile = nullptr;
    std::string FFileName;
};

} // namespace tessaran
