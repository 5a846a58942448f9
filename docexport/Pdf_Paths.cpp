#include "docexport/Pdf_Paths.h"

#include "docexport/Doc_Utils.h"

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

// Colour and stroke state written before a painted path.
std::string PaintPrefix(const TdePDFPageContent &page, const TdePen &pen, const TdeBrush &brush)
{
    if (pen.Style == TPenStyle::psClear)
        return ColorToPDFRGB(brush.Color) + " rg";
    if (brush.Style == TBrushStyle::bsClear)
        return page.Stroke(pen);
    return page.Stroke(pen) + ColorToPDFRGB(brush.Color) + " rg ";
}

void PaintPath(TdePDFPageContent &page, const TdePathItem &item, const std::string &paintOperator)
{
    // An item without a pen or brush paints with none of that kind.
    TdePen pen;
    pen.Style = TPenStyle::psClear;
    TdeBrush brush;
    brush.Style = TBrushStyle::bsClear;
    if (item.Pen())
        pen = *item.Pen();
    if (item.Brush())
        brush = *item.Brush();
    page.FPath += paintOperator + CRLF;
    page.Append(PaintPrefix(page, pen, brush) + CRLF + page.FPath);
    page.FPath.clear();
    page.FPathStatus = TdePathStatus::psNoPath;
}

std::string StrokeAndFillOperator(const TdePDFPageContent &page, const TdePathItem &item)
{
    const bool closed = page.FIsPathClosed;
    const bool evenOdd = item.FillAlternate;
    if (!item.Pen() || item.Pen()->Style == TPenStyle::psClear)
        return evenOdd ? "f*" : (closed ? "f" : "F");
    if (!item.Brush() || item.Brush()->Style == TBrushStyle::bsClear)
        return closed ? "s" : "S";
    if (closed)
        return evenOdd ? "b*" : "b";
    return evenOdd ? "B*" : "B";
}

void SelectClipPath(TdePDFPageContent &page, const TdePathItem &item)
{
    if (item.Mode != ClipModeIntersect && item.Mode != ClipModeReplace) {
        // No other mode can be expressed as a clipping path: the path is
        // dropped and no clip group is opened, so no "Q" is left unmatched.
        page.FPath.clear();
        page.FPathStatus = TdePathStatus::psNoPath;
        return;
    }
    if (page.FIsPathClosed)
        page.FPath += page.X(page.FInitialPos.X) + " " + page.Y(page.FInitialPos.Y) + " l ";
    const char *rule = " W* n ";
    if (item.Mode == ClipModeIntersect && page.FIsClipPath)
        rule = " W n ";
    page.FIsClipPath = true;
    page.Append(CRLF + " q " + CRLF + page.FPath + rule + CRLF);
    page.OpenClipGroup();
    page.FPathStatus = TdePathStatus::psNoPath;
    page.FPath.clear();
}

} // namespace

void RenderPathItem(TdePDFPageContent &page, const TdePathItem &item)
{
    switch (item.PathOperation) {
    case TdePathOperation::poBeginPath:
        page.FPathStatus = TdePathStatus::psPathBegins;
        page.FFirstPoint = true;
        page.FPath.clear();
        break;
    case TdePathOperation::poEndPath:
        if (page.InPath()) {
            page.FIsPathClosed = false;
            page.FPathStatus = TdePathStatus::psPathEnds;
        }
        break;
    case TdePathOperation::poCloseFigure:
        if (page.InPath()) {
            page.FIsPathClosed = true;
            page.FFirstPoint = true;
        }
        break;
    case TdePathOperation::poAbortPath:
        page.Append(" n " + CRLF);
        page.FPath.clear();
        page.FPathStatus = TdePathStatus::psNoPath;
        break;
    case TdePathOperation::poFillPath:
        PaintPath(page, item, item.FillAlternate ? "h f*" : "h f");
        break;
    case TdePathOperation::poStrokeAndFillPath:
        PaintPath(page, item, StrokeAndFillOperator(page, item));
        break;
    case TdePathOperation::poStrokePath:
        PaintPath(page, item, page.FIsPathClosed ? "s" : "S");
        break;
    case TdePathOperation::poSelectClipPath:
        SelectClipPath(page, item);
        break;
    }
}

void RenderPolyDrawItem(TdePDFPageContent &page, const TdePolyDrawItem &item)
{
    if (!page.InPath())
        return;
    const int n = std::min({item.NoPoints, static_cast<int>(item.Points.size()),
                            static_cast<int>(item.Operations.size())});
    std::string text;
    for (int i = 0; i < n; ++i) {
        switch (item.Operations[i]) {
        case 6: // move to
            text += page.Pt(item.Points[i]) + " m " + CRLF;
            break;
        case 2: // line to
            text += page.Pt(item.Points[i]) + " l " + CRLF;
            break;
        case 3: // line to, closing the figure
            text += page.Pt(item.Points[i]) + " l " + CRLF;
            page.FIsPathClosed = true;
            break;
        case 4: // Bezier to: this point and the next two
            if (i + 2 < n) {
                text += page.Pt(item.Points[i]) + " " + page.Pt(item.Points[i + 1]) + " " +
                        page.Pt(item.Points[i + 2]) + " c ";
                if (item.Operations[i + 2] == 5)
                    page.FIsPathClosed = true;
            }
            i += 2;
            break;
        default: // a closing Bezier point on its own, or an unknown type
            break;
        }
    }
    page.FPath += text;
}

void RenderClipItem(TdePDFPageContent &page, const TdeClipItem &item)
{
    if (item.Restore) {
        for (int depth = page.TakeClipGroups(); depth > 0; --depth)
            page.Append(" Q " + CRLF);
        return;
    }
    if (item.Mode != ClipModeIntersect && item.Mode != ClipModeReplace)
        return; // not expressible as a clip; opening a group would leave its "Q" unmatched
    const std::vector<TRect> &rects = item.ClipRects();
    std::string path;
    // With two or more rectangles the first is their bounding rectangle.
    const std::size_t first = rects.size() >= 2 ? 1 : 0;
    for (std::size_t i = first; i < rects.size(); ++i) {
        const TRect &r = rects[i];
        path += page.Pt(r.Left, r.Top) + " m " + CRLF + page.Pt(r.Right, r.Top) + " l " + CRLF +
                page.Pt(r.Right, r.Bottom) + " l " + CRLF + page.Pt(r.Left, r.Bottom) + " l " + CRLF +
                page.Pt(r.Left, r.Top) + " l " + CRLF;
    }
    if (!page.FIsClipState()) {
        if (item.Mode == ClipModeIntersect)
            page.Append(" q " + path + " W* n " + CRLF);
        else
            page.Append(" q " + CRLF);
        page.OpenClipGroup();
    } else if (item.Mode == ClipModeIntersect && rects.size() >= 2) {
        page.Append(" q " + path + " W* n " + CRLF);
        page.OpenClipGroup();
    }
}

void RenderEOFItem(TdePDFPageContent &page, const TdeEOFItem &item)
{
    if (!item.Status)
        return;
    for (int depth = page.TakeClipGroups(); depth > 0; --depth)
        page.Append(" Q ");
}

} // namespace tessaran
