#pragma once
// Drawing values shared by every canvas: colours, points and rectangles, and
// the pen, brush and font a canvas draws with.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tessaran {

// A colour as 0x00BBGGRR: red in the low byte, blue in the third.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

inline std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
inline std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
inline TColor RGB(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// System colours: the top byte 0x80 and an element index in the low byte.
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clInfoBk = clSystemColor | 24;
// A colour as 0x00BBGGRR: system colours become the desktop's standard
// shades; other values lose their top byte.
TColor ColorToRGB(TColor color);

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};
using TPointArray = std::vector<TPoint>;

struct TSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const TSize &, const TSize &) = default;
};

// Right and Bottom lie just outside the rectangle, as the canvas fills it.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect &, const TRect &) = default;
};
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }

// In the order of the stored pen records (and of the metafile's pen styles).
enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen combines with what is already drawn.
enum class TPenMode : std::uint8_t { pmCopy, pmNot, pmXor, pmNotXor };

// Solid, none, then the six hatch patterns.
enum class TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles; stored as one byte with bit n for style n.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (TFontStyle s : styles)
            bits_ |= bit(s);
    }
    static constexpr TFontStyles FromByte(std::uint8_t bits)
    {
        TFontStyles s;
        s.bits_ = static_cast<std::uint8_t>(bits & 0x0F);
        return s;
    }
    constexpr std::uint8_t ToByte() const { return bits_; }
    constexpr bool Contains(TFontStyle s) const { return (bits_ & bit(s)) != 0; }
    constexpr void Include(TFontStyle s) { bits_ |= bit(s); }
    constexpr void Exclude(TFontStyle s) { bits_ &= static_cast<std::uint8_t>(~bit(s)); }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr std::uint8_t bit(TFontStyle s) { return static_cast<std::uint8_t>(1u << static_cast<int>(s)); }
    std::uint8_t bits_ = 0;
};

enum class TFontPitch : std::uint8_t { fpDefault, fpFixed, fpVariable };

// Width 0 is the thinnest pen the device has (one pixel).
struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    friend bool operator==(const TPen &, const TPen &) = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush &, const TBrush &) = default;
};

// A font by face name and size in points at an explicit resolution, so that
// a size means the same on a metafile, an image and a printer.
// Escapement turns the text counter-clockwise on the screen, in tenths of a
// degree; any integer is allowed.
struct TFont {
    std::string Name = "Arial";
    int Size = 8;
    int PixelsPerInch = 96;
    TFontStyles Style;
    TColor Color = clBlack;
    int Escapement = 0;
    TFontPitch Pitch = TFontPitch::fpDefault;
    std::uint8_t Charset = 1; // the default character set

    // The character (em) height in pixels: Size points at PixelsPerInch.
    int PixelHeight() const;
    // The height the platform's logical fonts store: minus the character height.
    int Height() const { return -PixelHeight(); }
    // Sets Size from a height in pixels (negative: character height).
    void SetHeight(int height);

    friend bool operator==(const TFont &, const TFont &) = default;
};

} // namespace tessaran
