#include "docexport/Pdf_Compression.h"

#include <zlib.h>

#include <vector>

namespace tessaran {

std::string ZLibErrorText(int code)
{
    switch (code) {
    case Z_ERRNO: return "file error";
    case Z_STREAM_ERROR: return "stream error";
    case Z_DATA_ERROR: return "data error";
    case Z_MEM_ERROR: return "insufficient memory";
    case Z_BUF_ERROR: return "buffer error";
    case Z_VERSION_ERROR: return "incompatible version";
    default: return "zlib error " + std::to_string(code);
    }
}

namespace {

int Checked(int code)
{
    if (code < 0)
        throw EZCompressionError(ZLibErrorText(code));
    return code;
}

int ZLibLevel(TCompressionLevel level)
{
    switch (level) {
    case TCompressionLevel::clNone: return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest: return Z_BEST_SPEED;
    case TCompressionLevel::clDefault: return Z_DEFAULT_COMPRESSION;
    case TCompressionLevel::clMax: return Z_BEST_COMPRESSION;
    }
    // A value outside the enumeration is handed on as it is; zlib refuses it.
    return static_cast<int>(level);
}

} // namespace

TCompressionLevel DeflateLevel(TdeCompressionLevel level)
{
    switch (level) {
    case TdeCompressionLevel::clFastest: return TCompressionLevel::clFastest;
    case TdeCompressionLevel::clNormal: return TCompressionLevel::clDefault;
    case TdeCompressionLevel::clMaxCompress: return TCompressionLevel::clMax;
    }
    // Not a level of the setting: zlib refuses it, so the fault surfaces.
    return static_cast<TCompressionLevel>(0xFF);
}

std::int64_t WriteStreamData(const TMemoryStream &source, TStream &dest, bool compress, TdeCompressionLevel level)
{
    const auto &bytes = source.Bytes();
    if (!compress) {
        if (!bytes.empty())
            dest.WriteBuffer(bytes.data(), bytes.size());
        return static_cast<std::int64_t>(bytes.size());
    }
    const std::int64_t before = dest.Size();
    TCompressionStream deflater(DeflateLevel(level), dest);
    if (!bytes.empty())
        deflater.Write(bytes.data(), bytes.size());
    deflater.Finish();
    return dest.Size() - before;
}

struct TCompressionStream::State {
    z_stream zs{};
    std::vector<Bytef> buffer = std::vector<Bytef>(BufferSize);
    bool initialised = false;
};

TCompressionStream::TCompressionStream(TCompressionLevel compressionLevel, TStream &dest)
    : FStream(dest), FStreamPos(dest.Position()), FState(std::make_unique<State>())
{
    FState->zs.next_out = FState->buffer.data();
    FState->zs.avail_out = static_cast<uInt>(BufferSize);
    Checked(deflateInit(&FState->zs, ZLibLevel(compressionLevel)));
    FState->initialised = true;
}

TCompressionStream::TCompressionStream(TStream &dest, TCompressionLevel compressionLevel)
    : TCompressionStream(compressionLevel, dest)
{
}

TCompressionStream::~TCompressionStream()
{
    if (!FFinished) {
        try {
            Finish();
        } catch (const std::exception &) {
            // Only reached while another error unwinds; that one is reported.
        }
    }
    if (FState->initialised)
        deflateEnd(&FState->zs);
}

void TCompressionStream::WriteOut(std::size_t count)
{
    if (count > 0)
        FStream.WriteBuffer(FState->buffer.data(), count);
    FState->zs.next_out = FState->buffer.data();
    FState->zs.avail_out = static_cast<uInt>(BufferSize);
    FStreamPos = FStream.Position();
}

std::size_t TCompressionStream::Write(const void *buffer, std::size_t count)
{
    if (FFinished)
        throw EZCompressionError("Invalid ZStream operation!");
    z_stream &zs = FState->zs;
    zs.next_in = static_cast<Bytef *>(const_cast<void *>(buffer));
    zs.avail_in = static_cast<uInt>(count);
    if (FStream.Position() != FStreamPos)
        FStream.Seek(FStreamPos);
    while (zs.avail_in > 0) {
        Checked(deflate(&zs, Z_NO_FLUSH));
        if (zs.avail_out == 0) {
            WriteOut(BufferSize);
            if (OnProgress)
                OnProgress(*this);
        }
    }
    return count;
}

void TCompressionStream::WriteBuffer(const void *buffer, std::size_t count) { Write(buffer, count); }

void TCompressionStream::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    z_stream &zs = FState->zs;
    zs.next_in = nullptr;
    zs.avail_in = 0;
    if (FStream.Position() != FStreamPos)
        FStream.Seek(FStreamPos);
    try {
        while (Checked(deflate(&zs, Z_FINISH)) != Z_STREAM_END)
            WriteOut(BufferSize - zs.avail_out);
        WriteOut(BufferSize - zs.avail_out);
    } catch (...) {
        deflateEnd(&zs);
        FState->initialised = false;
        throw;
    }
    deflateEnd(&zs);
    FState->initialised = false;
}

void TCompressionStream::ReadBuffer(void *, std::size_t) { throw EZCompressionError("Invalid ZStream operation!"); }

std::int64_t TCompressionStream::Position() const { return static_cast<std::int64_t>(FState->zs.total_in); }

void TCompressionStream::Seek(std::int64_t) { throw EZCompressionError("Invalid ZStream operation!"); }

std::int64_t TCompressionStream::Size() const { throw EZCompressionError("Invalid ZStream operation!"); }

float TCompressionStream::CompressionRate() const
{
    const z_stream &zs = FState->zs;
    if (zs.total_in == 0)
        return 0.0f;
    return static_cast<float>((1.0 - static_cast<double>(zs.total_out) / static_cast<double>(zs.total_in)) * 100.0);
}

} // namespace tessaran
