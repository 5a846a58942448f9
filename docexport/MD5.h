#pragma once
// The engine's own MD5 digest (RFC 1321): recognises repeated images and
// serves the document encryption.

#include <array>
#include <cstdint>
#include <vector>

namespace tessaran {

class TStream;

using MD5Digest = std::array<std::uint8_t, 16>;
using MD5Buffer = std::array<std::uint8_t, 64>;
using TdeByteArray1 = std::vector<std::uint8_t>;

struct MD5Context {
    std::array<std::uint32_t, 4> State{};
    // Number of input bits, low word first.
    std::array<std::uint32_t, 2> Count{};
    MD5Buffer Buffer{};
};

class TdeMD5 {
public:
    TdeMD5();

    // Loads the initial state and zeroes the count and the pending input.
    void Initilize();
    // Feeds length bytes. The tail that does not fill a 64-byte block is
    // kept for the next call only when keepTail is set (every caller sets it).
    void Update(const void *input, std::uint32_t length, bool keepTail);
    void Update(const TdeByteArray1 &input, std::uint32_t length);
    // Pads, returns the digest and clears the whole context to zeros:
    // Initilize must run before the object digests again.
    MD5Digest Finalize();

    // Digest of the first length bytes (at most the array's size), from the
    // initial state.
    MD5Digest GetHash(const TdeByteArray1 &input, std::uint32_t length);
    // Digest of a whole stream, read from position 0.
    MD5Digest GetHash(TStream &stream);

    static bool CompareHash(const MD5Digest &hash1, const MD5Digest &hash2) { return hash1 == hash2; }

    const MD5Context &Context() const { return FContext; }

private:
    void Transform(const std::uint8_t *block);

    MD5Context FContext;
    MD5Buffer FBufferPad{};
};

} // namespace tessaran
