#pragma once
// A canvas for tests that draws nothing and writes every call as one line of
// text, with the pen, brush or font it uses, so that a drawing routine can be
// checked call by call. It keeps single pixels so that routines that read
// back what they drew can be tested; an unset pixel is white.

#include "platform/Canvas.h"
#include "platform/Path_Builder.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tessaran {

class TCanvasLog : public TCanvas {
public:
    std::vector<std::string> Lines;

    // The lines that start with the given call name ("LineTo", "Ellipse"...).
    std::vector<std::string> Calls(const std::string &name) const;
    void Clear() { Lines.clear(); }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    using TCanvas::Rectangle;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    using TCanvas::Ellipse;
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void PolyBezier(std::span<const TPoint> points) override;
    void BeginPath() override;
    void EndPath() override;
    void StrokePath() override;
    void FillPath() override;
    void StrokeAndFillPath() override;
    void FlattenPath() override;
    TPointArray GetPath() const override;
    void TextOut(int x, int y, std::string_view text) override;
    void IntersectClipRect(const TRect &rect) override;
    void SaveState() override;
    void RestoreState() override;
    TColor GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;
    void StretchDraw(const TRect &dest, const TBitmap &bitmap) override;
    void StretchDraw(const TRect &dest, const TMetafile &metafile) override;
    void GradientFillVertical(const TRect &rect, TColor top, TColor bottom) override;

    static std::string ColorText(TColor c);
    std::string PenText() const;
    std::string BrushText() const;
    std::string FontText() const;

private:
    std::string points(std::span<const TPoint> pts) const;
    std::map<std::pair<int, int>, TColor> pixels_;
    TPathBuilder path_;
    bool inPath_ = false;
};

} // namespace tessaran
