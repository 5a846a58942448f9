#pragma once
// Text measuring shared by every canvas: fonts are found through fontconfig
// and measured with FreeType at the font's own pixels per inch, so that
// extents are the same on a metafile, an image or a printer and never depend
// on the screen. Renders write measured extents into saved data, so the
// numbers must not change from one machine setting to the next.
//
// Face names of the program's drawings are mapped to the metric-compatible
// free faces: Arial to Liberation Sans, Times New Roman to Liberation Serif,
// Courier New to Liberation Mono, Verdana and Tahoma to DejaVu Sans; other
// names go to fontconfig as they are.

#include "platform/Graphics.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaran {

class EFontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TFontFile {
    std::string Path;
    int FaceIndex = 0;
    std::string Family; // the family fontconfig chose
};

// Vertical metrics in pixels at the font's size and resolution. Height is
// Ascent + Descent, the height every text of the font measures.
struct TFontMetrics {
    int Ascent = 0;
    int Descent = 0;
    int Height = 0;
    int UnderlinePosition = 0;  // below the baseline, positive downwards
    int UnderlineThickness = 1;
    int StrikeoutPosition = 0;  // above the baseline, positive upwards
    int StrikeoutThickness = 1;
};

struct TTextMeasure {
    TSize Extent;
    // One advance in pixels per UTF-16 code unit (0 for the second unit of a
    // surrogate pair); their sum is Extent.cx.
    std::vector<int> Advances;
};

// The free face that stands for a face name, before fontconfig is asked.
std::string SubstituteFaceName(std::string_view name);

// The font file for a face name and style. Raises EFontError when no font
// at all can be found.
TFontFile FindFontFile(std::string_view name, bool bold, bool italic);
TFontFile FindFontFile(const TFont &font);

TFontMetrics MeasureFont(const TFont &font);
TTextMeasure MeasureText(const TFont &font, std::u16string_view text);
TTextMeasure MeasureText(const TFont &font, std::string_view utf8);

} // namespace tessaran
