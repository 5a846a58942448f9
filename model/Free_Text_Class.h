#pragma once
// A text label placed on the drawing sheet.

#include <string>
#include <vector>

#include "platform/Stream.h"
#include "platform/Graphics.h"

namespace tessaran {

class TFreeText {
public:
    TFreeText();

    void Clear();
    void CopyFreeText(const TFreeText &FromFreeText);
    // Always writes the wide-text form.
    void Save(TStream &TheFileStream) const;
    // Reads the form of FileVersion; on any failure the label is left cleared
    // and the error passes to the caller.
    void Load(TStream &TheFileStream, const std::string &FileVersion);

    // Lines of the label joined with CR LF, and the reverse.
    std::string GetText() const;
    void SetText(const std::string &text);

    std::vector<std::string> TextStrings;
    int x = 0;
    int y = 0;
    TColor Color = 0;
    int Size = 10;
    TFontStyles Style;
    int Angle = 0;
    int OrigX = 0;
    int OrigY = 0;
    bool Selected = false;
    int xEnd = 0;
    int yEnd = 0;
};

} // namespace tessaran
