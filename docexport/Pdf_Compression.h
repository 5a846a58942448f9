#pragma once
// Write-only deflate stream behind every compressed stream of a PDF file.
// The output is zlib data (RFC 1950 header and Adler-32 trailer around the
// deflate data), as the FlateDecode filter expects.

#include "platform/Stream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace tessaran {

class EZLibError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EZCompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
};

// zlib levels 0, 1, -1 (zlib's default, 6) and 9.
enum class TCompressionLevel : std::uint8_t { clNone, clFastest, clDefault, clMax };

// The engine's compression setting: clFastest is zlib level 1, clNormal
// zlib's default level, clMaxCompress level 9.
enum class TdeCompressionLevel : std::uint8_t { clFastest, clNormal, clMaxCompress };

TCompressionLevel DeflateLevel(TdeCompressionLevel level);

// zlib's own text for a negative result code.
std::string ZLibErrorText(int code);

class TCompressionStream : public TStream {
public:
    static constexpr std::size_t BufferSize = 131072;

    TCompressionStream(TCompressionLevel compressionLevel, TStream &dest);
    TCompressionStream(TStream &dest, TCompressionLevel compressionLevel);
    // Finishes the data when Finish was not called; an error at that point
    // cannot be reported from a destructor, so callers that must know call
    // Finish themselves.
    ~TCompressionStream() override;
    TCompressionStream(const TCompressionStream &) = delete;
    TCompressionStream &operator=(const TCompressionStream &) = delete;

    void WriteBuffer(const void *buffer, std::size_t count) override;
    std::size_t Write(const void *buffer, std::size_t count);
    // Completes the deflate data and hands the rest of the buffer to the
    // destination. Later writes raise.
    void Finish();

    // Always raises: the stream is write-only.
    void ReadBuffer(void *buffer, std::size_t count) override;
    // The number of bytes taken in so far (what a seek of 0 from the
    // current position reports).
    std::int64_t Position() const override;
    // Any seek raises.
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override;

    // 0 when nothing was taken in, else (1 - out / in) * 100.
    float CompressionRate() const;

    // Called after every full buffer handed to the destination.
    std::function<void(TCompressionStream &)> OnProgress;

private:
    struct State;
    void WriteOut(std::size_t count);

    TStream &FStream;
    std::int64_t FStreamPos;
    std::unique_ptr<State> FState;
    bool FFinished = false;
};

// Copies all of source into dest, deflated at level when compress is set,
// and returns the number of bytes that dest received.
std::int64_t WriteStreamData(const TMemoryStream &source, TStream &dest, bool compress, TdeCompressionLevel level);

} // namespace tessaran
