#pragma once
// Document items: plain objects that record one drawing instruction each,
// in native units (screen pixels), with their own copies of the font,
// brush, pen and settings that were current when the item was made. The
// engine's drawing calls and the metafile interpreter create them; the
// render order hands them by class to the output engine's render hooks.
//
// Ownership: an item owns everything it holds; item lists own their items.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "docexport/Doc_Types.h"
#include "docexport/Engine_Settings.h"
#include "docexport/Graphics_Attributes.h"
#include "docexport/MD5.h"
#include "docexport/Page_Settings.h"
#include "docexport/Wide_Strings.h"
#include "platform/Stream.h"

namespace tessaran {

class TdeCustomDocumentEngine;

// Base of every item; an item's class is its kind.
class TdeDocumentItem {
public:
    virtual ~TdeDocumentItem() = default;
};

using TdeItemList = std::vector<std::unique_ptr<TdeDocumentItem>>;

// One text run or one line.
class TdeTextItem : public TdeDocumentItem {
public:
    double X = 0;
    double Y = 0;
    TWideStrings Lines;
    int RotationAngle = 0;
    TdeFont Font;
    TdeBrush Brush;
    TdeTextEffects TextEffects;
    TdeHAlignment Alignment = TdeHAlignment::haLeft;
    // Made by the metafile interpreter: the text output may then apply the
    // recorded character spacing.
    bool IsFromMetafile = false;
    bool IsWideString = false;
    TBiDiMode BiDiMode = TBiDiMode::bdLeftToRight;
    // Per-character advances taken from a metafile text record.
    std::vector<double> CharSpaceArray;

    bool IsClipRect() const { return FIsClipRect; }
    // Switching clipping off also resets the clip rectangle to zeros.
    void SetIsClipRect(bool value);
    const TdeRect &ClipRect() const { return FClipRect; }
    void SetClipRect(const TdeRect &value) { FClipRect = value; }

private:
    bool FIsClipRect = false;
    TdeRect FClipRect;
};

class TdeTextBoxItem : public TdeTextItem {
public:
    double BoxWidth = 0;
    double Boxheight = 0;
    TdeFrame Frame; // no owner: its margin is read as native values
    TdeHAlignment HAlign = TdeHAlignment::haLeft;
    TdeVAlignment VAlign = TdeVAlignment::vaTop;
    TdePen Pen;
};

// A placed image whose picture lives in the engine's image resources.
class TdeImageItem : public TdeDocumentItem {
public:
    TdeImageItem() = default;
    // From the rectangle the caller asked for, normalised: top-left at the
    // smaller coordinates, positive width and height.
    explicit TdeImageItem(const TdeRect &rect);

    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
    int IndexNo = 0;
    TdeFrame Frame;
    TdePen Pen;
    // Its colour is the transparent colour.
    TdeBrush Brush;
    TdeImageSettings Settings; // owned by the item, so unchecked
    TdeRect DisplayRect;
};

// An image whose encoded bytes are written through unchanged (JPEG).
class TdeImageStream : public TdeImageItem {
public:
    TdeImageStream() = default;
    explicit TdeImageStream(const TdeRect &rect) : TdeImageItem(rect) {}

    TMemoryStream Stream;
    int ImageWidth = 0;
    int ImageHeight = 0;
};

enum class TdeShapeType : std::uint8_t {
    stLine, stRectangle, stRoundRect, stEllipse, stPolygon, stPolyLine, stArc, stChord, stPie, stPolyBezier
};
enum class TdePenJoinStyle : std::uint8_t { pjsNone, pjsBevel, pjsMiter, pjsRound };
enum class TdePenCapStyle : std::uint8_t { pcsNone, pcsRound, pcsSquare, pcsFlat };

// Points by shape type: stLine start and end; stRectangle, stEllipse two
// opposite corners; stRoundRect two corners, then the corner ellipse's width
// and height as a third "point"; stArc, stChord, stPie the bounding corners,
// the start point and the end point; polygons, polylines and Beziers their
// points in order.
class TdeShapeItem : public TdeDocumentItem {
public:
    // An unfilled shape has no brush.
    TdeShapeItem(bool isFill, TdeShapeType shapeType);

    TdePen Pen;
    TdeShapeType ShapeType;
    TdePenJoinStyle PenJoinStyle = TdePenJoinStyle::pjsNone;
    TdePenCapStyle PenCapStyle = TdePenCapStyle::pcsNone;

    // nullptr for an unfilled shape.
    const TdeBrush *Brush() const { return FBrush ? &*FBrush : nullptr; }
    // Copies into the shape's own brush; an unfilled shape has none to copy into.
    void SetBrush(const TdeBrush &value);

    int NoPoints() const { return FNoPoints; }
    void SetPoints(const TdePoints &points);
    const TdePoints &GetPoints() const { return FPoints; }
    TdePoints &Points() { return FPoints; }

private:
    std::optional<TdeBrush> FBrush;
    TdePoints FPoints;
    int FNoPoints = 0;
};

// Start of a clipping section, from a metafile.
class TdeClipItem : public TdeDocumentItem {
public:
    TdeBrush Brush;
    TdePen Pen;
    // The clip replaces (restores) an earlier one.
    bool Restore = false;
    // Region combine mode (the platform's region modes).
    std::uint32_t Mode = 0;

    int NoRects() const { return static_cast<int>(FClipRects.size()); }
    void SetRects(int count);
    // The rectangle at a 0-based position; a zero rectangle outside the list.
    TRect GetRects(int position) const;
    std::vector<TRect> &ClipRects() { return FClipRects; }
    const std::vector<TRect> &ClipRects() const { return FClipRects; }

private:
    std::vector<TRect> FClipRects;
};

// End of a clipping section.
class TdeEOFItem : public TdeDocumentItem {
public:
    bool Status = false;
};

enum class TdePathOperation : std::uint8_t {
    poBeginPath, poEndPath, poCloseFigure, poAbortPath, poFillPath, poStrokeAndFillPath, poStrokePath, poSelectClipPath
};

// One path operation from a metafile.
class TdePathItem : public TdeDocumentItem {
public:
    TdePathOperation PathOperation = TdePathOperation::poBeginPath;
    // Combine mode for poSelectClipPath.
    std::uint32_t Mode = 0;
    // Fill with the even-odd rule.
    bool FillAlternate = false;

    // None until assigned.
    const TdeBrush *Brush() const { return FBrush ? &*FBrush : nullptr; }
    void SetBrush(const TdeBrush &value) { FBrush = value; }
    const TdePen *Pen() const { return FPen ? &*FPen : nullptr; }
    void SetPen(const TdePen &value) { FPen = value; }

private:
    std::optional<TdeBrush> FBrush;
    std::optional<TdePen> FPen;
};

class TdeShapeItem;

// Several polygons or polylines drawn as one figure.
class TdePolyShapeItem : public TdeDocumentItem {
public:
    std::vector<std::unique_ptr<TdeShapeItem>> Shapes;
    bool FillAlternate = false;
};

class TdePolyPolygonItem : public TdeDocumentItem {
public:
    TdeBrush Brush;
    TdePen Pen;
    int NoPoly = 0;
    bool FillAlternate = false;
    // Element 0: total number of points; elements 1..NoPoly: points of each polygon.
    std::vector<int> NoPoints;
    // All points, polygon after polygon.
    TdePoints Points;

    // Sizes NoPoints to NoPoly + 1 entries.
    void SetNoPoints();
    // Sizes Points to NoPoints[0] entries.
    void SetPoints();
    // The point at a 0-based position; past the last point the result is left unchanged.
    void GetPoints(int position, TdePoint &result) const;
};

// A figure of moves, lines and Bezier segments (the platform's poly-draw coding).
class TdePolyDrawItem : public TdeDocumentItem {
public:
    TdeBrush Brush;
    TdePen Pen;
    int NoPoints = 0;
    std::vector<std::uint8_t> Operations;
    TdePoints Points;

    // Sizes both arrays to NoPoints entries.
    void SetPoints();
};

// Running text opened by BeginPara; after EndPara one item per page it
// covers. Settings keeps factor 1, so its lengths read native.
class TdeParagraphItem : public TdeDocumentItem {
public:
    double X = 0;
    double Y = 0;
    // Band width left after both side indents.
    double Width = 0;
    // While open: the room down to the band's bottom; afterwards the
    // height of its lines.
    double Height = 0;
    TdeFont Font;
    TdeBrush Brush;
    TWideStrings Lines;
    TdeTextFormatting Settings;
    TdeTextEffects TextEffects;
};

// One column of a table; Width is native.
class TdeColumn {
public:
    double Width = 0;
    TdeHAlignment Alignment = TdeHAlignment::haLeft;
    WideString Title;
};

// A table built row by row. Cell items are text and image items whose X
// holds the column index and Y the row index; their place on the page is
// found only when the table is rendered.
class TdeTableItem : public TdeDocumentItem {
public:
    TdeTableItem(int columnCount, const TdeTableSettings &settings);

    double X = 0;
    double Y = 0;
    // Index of the last row; -1 before the first NewRow.
    int RowCount = -1;
    int ColCount() const { return static_cast<int>(Columns.size()); }
    TdeFont Font;
    TdeBrush Brush;
    TdePen Pen;
    // Whole pixels, one per row.
    std::vector<int> RowHeights;
    std::vector<TdeColumn> Columns;
    std::vector<TdeItemList> RowItemsList;
    // A copy at BeginTable with factor 1: its values read native.
    TdeTableSettings Settings;
    double MaxWidth = 0;
    double MaxHeight = 0;
    TdeTextEffects TextEffects;
    // Which table of the document this is, set when it is closed.
    int TableNumber = -1;

    // Title height (when the title is on) plus every row so far, native.
    double CalculateRowHeight() const;
    // Every column back to the settings' column width.
    std::vector<TdeColumn> *GetColumnsList();
};

// Marks a page that shows part of a table: the table itself stays with
// the engine until its last page has been rendered.
class TdeTablePlacement : public TdeDocumentItem {
public:
    explicit TdeTablePlacement(int tableNumber) : TableNumber(tableNumber) {}
    int TableNumber;
};

// Holder of one band's or one page's items.
class TdeBandItem {
public:
    virtual ~TdeBandItem() = default;
    // Items in call order.
    TdeItemList DocumentItems;
    // Text items kept apart for sorting; this engine never fills it.
    TdeItemList TextItems;
    // Current vertical write position in the band or page (native).
    double OffsetY = 0;
};

// One page: its items and its own copy of the page settings, which has no
// owner and factor 1, so it reads native values.
class TdePageItem : public TdeBandItem {
public:
    explicit TdePageItem(TdeCustomDocumentEngine *parent) : Parent(parent) {}

    TdeCustomDocumentEngine *Parent;
    const TdePageSettings &Settings() const { return FSettings; }
    TdePageSettings &Settings() { return FSettings; }
    void SetSettings(const TdePageSettings &value) { FSettings.Assign(value); }

private:
    TdePageSettings FSettings;
};

// One saved engine state.
class TdeEngineState {
public:
    TdeFont Font;
    TdePen Pen;
    TdeBrush Brush;
    TdeImageSettings ImageSettings;
    TdeTextFormatting TextFormatting;
    TdeTableSettings TableSettings;
    TdePageSettings Page;
    TdeTextEffects TextEffects;
};

// Digest of one image resource's saved bytes.
class TdeHashValue {
public:
    MD5Digest HashValue{};
};

} // namespace tessaran
