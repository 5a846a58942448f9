#pragma once
// The drawing attributes that the engine copies into every item it makes.
// Colours, pens, brushes and fonts are the platform's own (plain values the
// output writers read field by field); a picture is held as its encoded bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Graphics.h"

namespace tessaran {

// The platform's pen, brush and font, with the Assign of the engine's
// settings objects.
// An aggregate, so that TdeBrush{clWhite, TBrushStyle::bsClear} reads as
// the platform value does.
template <typename Value>
struct TdeAttribute : Value {
    void Assign(const Value &source) { static_cast<Value &>(*this) = source; }
};
using TdePen = TdeAttribute<TPen>;
using TdeBrush = TdeAttribute<TBrush>;
using TdeFont = TdeAttribute<TFont>;

// No colour: a background of this colour is not painted.
constexpr TColor clNone = 0x1FFFFFFF;

enum class TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

// A picture kept as its encoded bytes (BMP, JPEG or metafile), as the
// platform's picture classes save themselves; empty when it holds none.
class TdePicture {
public:
    std::string Format; // "bmp", "jpeg", "emf" or empty
    std::vector<std::uint8_t> Data;
    int Width = 0;
    int Height = 0;

    bool Empty() const { return Data.empty(); }
    void Assign(const TdePicture &source) { *this = source; }
    bool operator==(const TdePicture &) const = default;
};

} // namespace tessaran
