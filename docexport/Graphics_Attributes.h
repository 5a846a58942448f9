#pragma once
// The drawing attributes that the engine copies into every item it makes:
// colour, pen, brush, font, and a picture held as its encoded bytes. They are
// plain values; the output writers read them field by field. The platform's
// canvas layer turns them into real pens and fonts when a page is drawn.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaran {

// 0x00BBGGRR; a high byte of 0xFF marks a system colour whose low bits are
// the system colour index.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clInactiveBorder = clSystemColor | 11;

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode : std::uint8_t { pmCopy, pmMask, pmNot, pmXor };
enum class TBrushStyle : std::uint8_t {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
enum class TPixelFormat : std::uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

class TdePen {
public:
    TColor Color = clBlack;
    // 0 draws one device pixel wide.
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;

    void Assign(const TdePen &source) { *this = source; }
    bool operator==(const TdePen &) const = default;
};

class TdeBrush {
public:
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;

    void Assign(const TdeBrush &source) { *this = source; }
    bool operator==(const TdeBrush &) const = default;
};

struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontStyles &) const = default;
};

class TdeFont {
public:
    std::string Name = "Arial";
    // Size in points.
    int Size = 10;
    TColor Color = clBlack;
    TFontStyles Style;
    std::uint8_t Charset = 1; // default character set
    // Escapement in tenths of a degree.
    int Orientation = 0;

    void Assign(const TdeFont &source) { *this = source; }
    bool operator==(const TdeFont &) const = default;
};

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
