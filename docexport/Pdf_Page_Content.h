#pragma once
// The content stream of the page being written, with what every content
// writer shares: the conversion from native units (screen pixels, origin at
// the top left) to the page's space (origin at the bottom left), the stroke
// and fill operators of pens and brushes, and the path and clip state that
// path brackets and clip groups carry from one item to the next.

#include "docexport/Doc_Types.h"
#include "docexport/Graphics_Attributes.h"
#include "docexport/Pdf_Object_Writer.h"
#include "platform/Stream.h"

#include <string>
#include <utility>
#include <vector>

namespace tessaran {

enum class TdePathStatus : std::uint8_t { psPathBegins, psPathEnds, psNoPath };

// The tiling patterns of the hatch brushes, one object each per document,
// numbered at first use and written at the end of the document.
class TdePDFPatterns {
public:
    // "PH", "PV", "PFD", "PBD", "PC", "PDC"; empty for a style without one.
    static std::string PatternNameOf(TBrushStyle style);
    // The pattern's name, registered with a new object number on first use.
    std::string GetPatternName(TBrushStyle style, TdePDFObjectWriter &writer);
    const std::vector<std::pair<std::string, int>> &Entries() const { return FPattern; }
    bool Empty() const { return FPattern.empty(); }
    void Clear() { FPattern.clear(); }
    // "/ColorSpace ..." and "/Pattern << ... >>" of the shared resources.
    std::string ResourceEntries() const;
    // One tiling pattern object per entry, in order of first use.
    void WritePatterns(TdePDFObjectWriter &writer, const TdeCompression &compression) const;
    // "PI": the background picture object tiled from an anchor, in page points.
    void RegisterImagePattern(TdePDFObjectWriter &writer, int imageObjNo, double left, double top, double width,
                              double height);

private:
    std::vector<std::pair<std::string, int>> FPattern;
    int FImageObjNo = -1;
    double FImageLeft = 0, FImageTop = 0, FImageWidth = 0, FImageHeight = 0;
};

class TdePDFPageContent {
public:
    TdePDFPageContent();

    // Conversion. PageHeight is the page's height in points; 0 leaves y
    // unflipped.
    double PixelToPointMultiplier;
    int InputXRes;
    int InputYRes;
    double PageHeight = 0;
    Extended PixelToPointX(Extended x) const;
    Extended PixelToPointY(Extended y) const;
    Extended LengthToPointY(Extended length) const;
    std::string X(Extended x) const { return FormatPDFNumber(PixelToPointX(x)); }
    std::string Y(Extended y) const { return FormatPDFNumber(PixelToPointY(y)); }
    std::string Pt(const TdePoint &p) const { return X(p.X) + " " + Y(p.Y); }
    std::string Pt(Extended x, Extended y) const { return X(x) + " " + Y(y); }

    // Pens and brushes. PenJoin and PenCap are those of the shape item
    // being written.
    int PenJoin = 0; // 0 none, 1 bevel, 2 miter, 3 round
    int PenCap = 0;  // 0 none, 1 round, 2 square, 3 flat
    std::string GetPenStyleOperators(TPenStyle style) const;
    std::string Stroke(const TdePen &pen) const;
    // Fill colour of a solid or hatch brush; empty for no brush or bsClear.
    std::string Fill(const TdeBrush *brush);
    static bool PenVisible(const TdePen &pen) { return pen.Width != 0 && pen.Style != TPenStyle::psClear; }
    static bool BrushVisible(const TdeBrush *brush) { return brush && brush->Style != TBrushStyle::bsClear; }
    static std::string GetPaintOperator(const TdePen *pen, const TdeBrush *brush, bool closed);
    std::string PatternName(TBrushStyle style);

    // The page's content bytes.
    TMemoryStream FContentStream;
    void Append(const std::string &text);
    // Writes a painted item's body: in its own save/restore pair, or bare
    // while a clip group holds the state. closing is "Q" or "Q ".
    void AppendWrapped(const std::string &body, const char *closing = "Q");

    // Path bracket and clip state, reset at the start of every page.
    TdePathStatus FPathStatus = TdePathStatus::psNoPath;
    std::string FPath;
    bool FFirstPoint = true;
    bool FIsPathClosed = false;
    bool FIsClipPath = false;
    TdePoint FInitialPos;
    bool InPath() const { return FPathStatus == TdePathStatus::psPathBegins; }

    // A clip group is open. Groups nest: each one opened is one "q", and
    // closing them writes one "Q" each, so saves and restores balance.
    bool FIsClipState() const { return FClipDepth > 0; }
    int ClipDepth() const { return FClipDepth; }
    void OpenClipGroup() { ++FClipDepth; }
    // Closes every open group: returns how many "Q" the caller writes.
    int TakeClipGroups()
    {
        int depth = FClipDepth;
        FClipDepth = 0;
        return depth;
    }

    // Starts a page: empties the content and resets the path and clip
    // state (the first point of a figure is kept).
    void BeginPage();

    TdePDFPatterns *Patterns = nullptr;
    TdePDFObjectWriter *Writer = nullptr;

private:
    int FClipDepth = 0;
};

} // namespace tessaran
