// Feeds arbitrary text to the numeric entry readers and key filters: they
// never throw, and a reader that calls an entry valid returns a number.

#include "units/Numeric_Entry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tessaran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t flags = data[0];
    const char separator = flags & 1 ? ',' : '.';
    const bool allowZero = flags & 2, allowNegative = flags & 4;
    const std::string text(reinterpret_cast<const char *>(data + 2), size - 2);

    bool valid = false;
    const double real = ReadRealFromString(text, valid, allowZero, allowNegative, separator);
    if (valid && !std::isfinite(real))
        std::abort();
    const double edit = ReadRealFromEdit(text, valid, allowZero, allowNegative, separator);
    if (valid && !std::isfinite(edit))
        std::abort();
    const double positive = ReadPositiveRealFromEdit(text, valid, allowZero, separator);
    if (valid && !std::isfinite(positive))
        std::abort();
    (void)ReadIntegerFromString(text, valid, allowZero, allowNegative);
    (void)ReadIntegerFromEdit(text, valid, allowZero, allowNegative);
    (void)ReadInt64FromString(text, valid, allowZero, allowNegative);
    (void)CheckRealInEdit(text, allowZero, separator);
    (void)IsIntegerText(text);
    (void)IsRealText(text, separator);
    std::string normalised = text;
    NormaliseDecimalSeparator(normalised, separator);
    (void)DecimalSeparatorToPoint(text, separator);
    std::string padded = text;
    PadLeft(padded, data[1] % 64);
    PadRight(padded, data[1] % 64);
    (void)LineBreaksToSpaces(text);
    (void)RemoveSpaces(text);

    // The key filters on the text as typed so far, with its last character
    // (as UTF-16) as the key.
    TEntryText entry;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        entry.text.push_back(static_cast<unsigned char>(text[i]));
    entry.selStart = static_cast<int>(data[1] % (entry.text.size() + 1));
    entry.selLength = static_cast<int>((data[1] >> 4) % (entry.text.size() - entry.selStart + 1));
    const char16_t key = text.empty() ? u'1' : static_cast<unsigned char>(text.back());
    char16_t k = key;
    (void)FilterNumericKey(entry.text, k, allowNegative, separator);
    k = key;
    (void)FilterIntegerKey(entry, k, allowNegative, data[1] % 12);
    k = key;
    std::string message;
    (void)FilterRealKey(entry, k, allowNegative, data[1] % 10, (data[1] >> 4) % 10, separator, &message);
    k = key;
    (void)FilterFileNameKey(k, flags & 8);
    return 0;
}
