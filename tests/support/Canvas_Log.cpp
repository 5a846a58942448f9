#include "support/Canvas_Log.h"

#include <cstdio>

namespace tessaran {

namespace {
const char *penStyleName(TPenStyle s)
{
    static const char *names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "clear", "insideframe"};
    return names[static_cast<int>(s)];
}
const char *brushStyleName(TBrushStyle s)
{
    static const char *names[] = {"solid", "clear", "horizontal", "vertical", "fdiagonal", "bdiagonal", "cross",
                                  "diagcross"};
    return names[static_cast<int>(s)];
}
std::string xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
} // namespace

std::string TCanvasLog::ColorText(TColor c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c) & 0xFFFFFFu);
    return buf;
}

std::string TCanvasLog::PenText() const
{
    return "pen " + ColorText(Pen.Color) + " " + std::to_string(Pen.Width) + " " + penStyleName(Pen.Style);
}

std::string TCanvasLog::BrushText() const
{
    return "brush " + ColorText(Brush.Color) + " " + brushStyleName(Brush.Style);
}

std::string TCanvasLog::FontText() const
{
    return "font " + Font.Name + " " + std::to_string(Font.Size) + " " + ColorText(Font.Color) + " style " +
           std::to_string(Font.Style.ToByte()) + " esc " + std::to_string(Font.Escapement);
}

std::string TCanvasLog::points(std::span<const TPoint> pts) const
{
    std::string s;
    for (const TPoint &p : pts)
        s += " " + xy(p.X, p.Y);
    return s;
}

std::vector<std::string> TCanvasLog::Calls(const std::string &name) const
{
    std::vector<std::string> out;
    for (const std::string &line : Lines)
        if (line.compare(0, name.size() + 1, name + " ") == 0 || line == name)
            out.push_back(line);
    return out;
}

void TCanvasLog::MoveTo(int x, int y)
{
    if (inPath_)
        path_.MoveTo({x, y});
    Lines.push_back("MoveTo " + xy(x, y));
    penPos_ = {x, y};
}

void TCanvasLog::LineTo(int x, int y)
{
    if (inPath_)
        path_.LineTo(penPos_, {x, y});
    Lines.push_back("LineTo " + xy(x, y) + " " + PenText());
    penPos_ = {x, y};
}

void TCanvasLog::Rectangle(int x1, int y1, int x2, int y2)
{
    if (inPath_)
        path_.Rectangle(x1, y1, x2, y2);
    Lines.push_back("Rectangle " + xy(x1, y1) + " " + xy(x2, y2) + " " + PenText() + " " + BrushText());
}

void TCanvasLog::Ellipse(int x1, int y1, int x2, int y2)
{
    if (inPath_)
        path_.Ellipse(x1, y1, x2, y2);
    Lines.push_back("Ellipse " + xy(x1, y1) + " " + xy(x2, y2) + " " + PenText() + " " + BrushText());
}

void TCanvasLog::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Lines.push_back("Chord " + xy(x1, y1) + " " + xy(x2, y2) + " " + xy(x3, y3) + " " + xy(x4, y4) + " " +
                    PenText() + " " + BrushText());
}

void TCanvasLog::Polygon(std::span<const TPoint> pts)
{
    if (inPath_)
        path_.Polygon(pts);
    Lines.push_back("Polygon" + points(pts) + " " + PenText() + " " + BrushText());
}

void TCanvasLog::Polyline(std::span<const TPoint> pts)
{
    if (inPath_)
        path_.Polyline(pts);
    Lines.push_back("Polyline" + points(pts) + " " + PenText());
}

void TCanvasLog::PolyBezier(std::span<const TPoint> pts)
{
    if (inPath_)
        path_.PolyBezier(pts);
    Lines.push_back("PolyBezier" + points(pts) + " " + PenText());
}

void TCanvasLog::BeginPath()
{
    path_.Clear();
    inPath_ = true;
    Lines.push_back("BeginPath");
}

void TCanvasLog::EndPath()
{
    inPath_ = false;
    Lines.push_back("EndPath");
}

void TCanvasLog::StrokePath()
{
    Lines.push_back("StrokePath " + PenText());
    path_.Clear();
}

void TCanvasLog::FillPath()
{
    Lines.push_back("FillPath " + BrushText());
    path_.Clear();
}

void TCanvasLog::StrokeAndFillPath()
{
    Lines.push_back("StrokeAndFillPath " + PenText() + " " + BrushText());
    path_.Clear();
}

void TCanvasLog::FlattenPath()
{
    path_.Flatten();
    Lines.push_back("FlattenPath");
}

TPointArray TCanvasLog::GetPath() const
{
    return path_.Points();
}

void TCanvasLog::TextOut(int x, int y, std::string_view text)
{
    Lines.push_back("TextOut " + xy(x, y) + " \"" + std::string(text) + "\" " + FontText() + " " + BrushText());
}

void TCanvasLog::IntersectClipRect(const TRect &r)
{
    Lines.push_back("IntersectClipRect " + xy(r.Left, r.Top) + " " + xy(r.Right, r.Bottom));
}

void TCanvasLog::SaveState()
{
    Lines.push_back("SaveState");
}

void TCanvasLog::RestoreState()
{
    Lines.push_back("RestoreState");
}

TColor TCanvasLog::GetPixel(int x, int y) const
{
    auto found = pixels_.find({x, y});
    return found == pixels_.end() ? clWhite : found->second;
}

void TCanvasLog::SetPixel(int x, int y, TColor color)
{
    pixels_[{x, y}] = color;
    Lines.push_back("SetPixel " + xy(x, y) + " " + ColorText(color));
}

void TCanvasLog::StretchDraw(const TRect &r, const TBitmap &)
{
    Lines.push_back("StretchDraw bitmap " + xy(r.Left, r.Top) + " " + xy(r.Right, r.Bottom));
}

void TCanvasLog::StretchDraw(const TRect &r, const TMetafile &)
{
    Lines.push_back("StretchDraw metafile " + xy(r.Left, r.Top) + " " + xy(r.Right, r.Bottom));
}

void TCanvasLog::GradientFillVertical(const TRect &r, TColor top, TColor bottom)
{
    Lines.push_back("GradientFillVertical " + xy(r.Left, r.Top) + " " + xy(r.Right, r.Bottom) + " " +
                    ColorText(top) + " " + ColorText(bottom));
}

} // namespace tessaran
