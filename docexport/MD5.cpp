#include "docexport/MD5.h"

#include <algorithm>
#include <cstring>

#include "platform/Stream.h"

namespace tessaran {

namespace {

inline std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

} // namespace

TdeMD5::TdeMD5()
{
    FBufferPad.fill(0);
    FBufferPad[0] = 0x80;
    Initilize();
}

void TdeMD5::Initilize()
{
    FContext.State = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    FContext.Count = {0, 0};
    FContext.Buffer.fill(0);
}

void TdeMD5::Transform(const std::uint8_t *block)
{
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = static_cast<std::uint32_t>(block[i * 4]) | (static_cast<std::uint32_t>(block[i * 4 + 1]) << 8) |
               (static_cast<std::uint32_t>(block[i * 4 + 2]) << 16) |
               (static_cast<std::uint32_t>(block[i * 4 + 3]) << 24);
    std::uint32_t a = FContext.State[0], b = FContext.State[1], c = FContext.State[2], d = FContext.State[3];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const std::uint32_t next = b + RotateLeft(a + f + kSine[i] + m[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    FContext.State[0] += a;
    FContext.State[1] += b;
    FContext.State[2] += c;
    FContext.State[3] += d;
}

void TdeMD5::Update(const void *input, std::uint32_t length, bool keepTail)
{
    const auto *bytes = static_cast<const std::uint8_t *>(input);
    std::uint32_t index = (FContext.Count[0] >> 3) & 0x3F;
    const std::uint32_t bitsLow = length << 3;
    FContext.Count[0] += bitsLow;
    if (FContext.Count[0] < bitsLow)
        ++FContext.Count[1];
    FContext.Count[1] += length >> 29;

    const std::uint32_t partLength = 64 - index;
    std::uint32_t i = 0;
    if (length >= partLength) {
        std::memcpy(FContext.Buffer.data() + index, bytes, partLength);
        Transform(FContext.Buffer.data());
        for (i = partLength; i + 63 < length; i += 64)
            Transform(bytes + i);
        index = 0;
    }
    if (keepTail && length > i)
        std::memcpy(FContext.Buffer.data() + index, bytes + i, length - i);
}

void TdeMD5::Update(const TdeByteArray1 &input, std::uint32_t length)
{
    length = std::min<std::uint32_t>(length, static_cast<std::uint32_t>(input.size()));
    Update(input.data(), length, true);
}

MD5Digest TdeMD5::Finalize()
{
    std::uint8_t bits[8];
    for (int i = 0; i < 4; ++i) {
        bits[i] = static_cast<std::uint8_t>(FContext.Count[0] >> (8 * i));
        bits[i + 4] = static_cast<std::uint8_t>(FContext.Count[1] >> (8 * i));
    }
    const std::uint32_t index = (FContext.Count[0] >> 3) & 0x3F;
    const std::uint32_t padLength = index < 56 ? 56 - index : 120 - index;
    Update(FBufferPad.data(), padLength, true);
    Update(bits, 8, true);

    MD5Digest digest{};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            digest[i * 4 + k] = static_cast<std::uint8_t>(FContext.State[i] >> (8 * k));
    FContext = MD5Context{};
    return digest;
}

MD5Digest TdeMD5::GetHash(const TdeByteArray1 &input, std::uint32_t length)
{
    Initilize();
    Update(input, length);
    return Finalize();
}

MD5Digest TdeMD5::GetHash(TStream &stream)
{
    TdeByteArray1 bytes(static_cast<std::size_t>(stream.Size()));
    stream.Seek(0);
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), bytes.size());
    return GetHash(bytes, static_cast<std::uint32_t>(bytes.size()));
}

} // namespace tessaran
