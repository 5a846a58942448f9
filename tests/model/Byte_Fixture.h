#pragma once
// Hand-built record bytes for loader tests: each field appended as the file
// layout stores it, independent of the stream class under test.

#include "platform/Stream.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tessaran::test {

class ByteFixture {
public:
    ByteFixture &Int32(std::int32_t value)
    {
        auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    ByteFixture &Double(double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    ByteFixture &Byte(std::uint8_t value)
    {
        bytes.push_back(value);
        return *this;
    }
    // ASCII text as a short string of `capacity` characters; the unused tail
    // is filled with `filler` to show that readers ignore it.
    ByteFixture &Short(const std::string &text, int capacity, std::uint8_t filler = 0xCD)
    {
        bytes.push_back(static_cast<std::uint8_t>(text.size()));
        for (int i = 0; i < capacity; ++i)
            bytes.push_back(i < static_cast<int>(text.size()) ? static_cast<std::uint8_t>(text[i]) : filler);
        return *this;
    }
    std::size_t Size() const { return bytes.size(); }
    TMemoryStream Stream() const { return TMemoryStream(bytes); }

    std::vector<std::uint8_t> bytes;
};

} // namespace tessaran::test
