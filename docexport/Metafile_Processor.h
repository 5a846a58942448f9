#pragma once
// The metafile interpreter: walks an enhanced metafile's records in order
// and turns them into document items of the engine's current lists, in
// native units, as if the drawing had been made through the engine's own
// calls. This is how everything drawn on a page's recording canvas (and
// every metafile placed on a page) reaches the output.
//
// It keeps the drawing state a device context has (selected objects,
// colours, modes, mapping, world transform, saved states) and the
// metafile's object table. Records come from memory that may be untrusted:
// every read is bounded by its record, and a record whose fields, counts or
// offsets do not fit it is passed over.

#include "docexport/Document_Engine.h"
#include "platform/Bitmap.h"
#include "platform/Metafile.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaran {

// A font with the escapement of its logical font (tenths of a degree).
struct TdeMetaFont : TFont {
    int FRotateFont = 0;
};

// A brush with the pattern bitmap of a pattern brush.
struct TdeMetaBrush : TBrush {
    std::shared_ptr<const TBitmap> Bitmap;
};

// Of a logical palette only the version, the count and the first entry.
struct TdePalette {
    std::uint8_t FLogPalette[8] = {};
};

enum class TdeGDIOBJType : std::uint8_t { goPen, goBrush, goFont, goPalette, goNone };

// One entry of the object table.
struct TdeGDIOBJ {
    explicit TdeGDIOBJ(TdeGDIOBJType type) : FGDIOBJType(type) {}
    TdeGDIOBJType FGDIOBJType;
    TPen FPen;
    TdeMetaBrush FBrush;
    TdeMetaFont FFont;
    TdePalette FPalette;
    TdePenJoinStyle FPenJoinStyle = TdePenJoinStyle::pjsNone;
    TdePenCapStyle FPenCapStyle = TdePenCapStyle::pcsNone;
};

// Text alignment as flags (TA_NOUPDATECP ... TA_MASK).
enum class TdeEMFAlignments : std::uint8_t {
    TA_NOUPDATECP, TA_UPDATECP, TA_LEFT, TA_RIGHT, TA_CENTER, TA_TOP, TA_BOTTOM, TA_BASELINE, TA_RTLREADING, TA_MASK
};
using TdeEMFAlignment = TdeSet<TdeEMFAlignments, std::uint16_t>;

struct TdeXForm {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};

// One saved drawing state.
struct TdeMetaState {
    TdeMetaFont FFont;
    TdeMetaBrush FBrush;
    TPen FPen;
    TdePenJoinStyle FPenJoin = TdePenJoinStyle::pjsNone;
    TdePenCapStyle FPenCap = TdePenCapStyle::pcsNone;
    TColor FCurrentTextColor = 0;
    int FBKMode = 0;
    std::uint32_t FMapMode = 0;
    TdeXForm FXForm;
    TSize FWinExtent{1, 1}, FViewExtent{1, 1};
    TPoint FWinOrg, FViewOrg;
    TdeEMFAlignment FTextAlign;
};

class TdeMetafileProcessor {
public:
    explicit TdeMetafileProcessor(TdeCustomDocumentEngine &ADocumentEngine);

    // Adds the metafile's drawing to the engine's current lists, offset by
    // the start point (native).
    void Execute(const TMetafile &AMetafile, double AStartX, double AStartY);
    // One record; what the enumeration calls for each.
    void ProcessRecord(const TEmfRecord &record);

    // ---- Coordinates ------------------------------------------------------
    TdePoint WorldTransformPoint(double x, double y) const;
    TdePoint TransformPoint(double x, double y) const;
    TdePoint TransformPoint(const TPoint &p) const { return TransformPoint(p.X, p.Y); }
    TdePoint TransformExtent(double x, double y) const;
    TdeRect TransformRect(const TRect &r) const;
    double ScaleLength(double length) const;
    void UpdateMapMultipliers();
    static TColor FilterColor(std::uint32_t color);
    static TdeEMFAlignment AlignmentFromTA(std::uint32_t mode);
    void SelectStockObject(std::uint32_t index);
    void PushState();
    void PopState(int relative);
    static double LogicalHeightToPoints(double height);
    static bool IsSymbolOnlyFont(const std::string &name);

    // ---- State (public so that a reader can inspect it) -----------------------
    TdeCustomDocumentEngine &FEngine;
    double FStartX = 0, FStartY = 0;
    std::uint32_t FROP2 = 0;
    std::uint32_t FStretchMode = 0;
    std::uint32_t FICMMode = 0;
    std::uint32_t FPolyFillMode = 0;
    TColor FBKColor = clWhite;
    // 0: no map-mode record seen (as MM_TEXT for coordinates, not for font sizes).
    std::uint32_t FMapMode = 0;
    float FMiterLimit = 10.0f;
    TdeMetaFont FCurrentFont;
    TdeMetaBrush FCurrentBrush;
    TPen FCurrentPen;
    // Join and cap of the selected pen.
    TdePenJoinStyle FCurrentPenJoin = TdePenJoinStyle::pjsNone;
    TdePenCapStyle FCurrentPenCap = TdePenCapStyle::pcsNone;
    TdePalette FCurrentPalette;
    TdeEMFAlignment FTextAlignment{TdeEMFAlignments::TA_LEFT};
    TColor FTextColor = clBlack;
    TPoint FCurrentPathPoint;
    double FUpdatePathX = 0;
    std::uint8_t FBKMode = 2;
    TdeRect FStretchBltRect;
    int FJustProcessedTextItem = 0;
    TdeRect FClipRect;
    bool FJustProcessedStretchBltShape = false;
    int FSymbolCharsetFontIdx = -1;
    int FCurrentRecord = 0;
    std::vector<std::unique_ptr<TdeGDIOBJ>> FGDIOBJList;
    bool FProcessText = false, FProcessImage = false, FProcessShape = false;
    bool FIsClipRect = false;
    bool FIsIntersectClipRect = false;
    bool FIsWindowsExt = false;
    int FWidth = 0, FHeight = 0;
    TdeXForm FXForm;
    std::vector<TdeMetaState> FMetaState;
    TPoint FViewPortOrigin;
    TSize FViewPortExtent{1, 1};
    TPoint FWindowOrigin;
    TSize FWindowExtent{1, 1};
    double FMapMXmul = 1.0, FMapMYmul = 1.0;
    bool FCombineCharsToSentence = false;

private:
    double RX() const;
    double RY() const;
    bool IsMapScaled() const { return FMapMode == 7 || FMapMode == 8; }
    bool ClipNotEmpty() const;
    TdeItemList &Items() { return *FEngine.FCurrentDocumentItemList; }
    TdeItemList &TextList();
    void Append(std::unique_ptr<TdeDocumentItem> item);
    TdePoint Offset(TdePoint p) const { return TdePoint{p.X + FStartX, p.Y + FStartY}; }
    std::unique_ptr<TdeShapeItem> NewShapeItem(TdeShapeType type);
    void StoreObject(std::uint32_t index, std::unique_ptr<TdeGDIOBJ> object);
    TdeGDIOBJ *ObjectAt(std::uint32_t index);

    // State and object records.
    void SetMapMode(std::uint32_t mode);
    void ModifyWorldTransform(const TdeXForm &xform, std::uint32_t mode);
    void CreatePen(const TEmfRecord &r);
    void ExtCreatePen(const TEmfRecord &r);
    void CreateBrushIndirect(const TEmfRecord &r);
    void CreatePatternBrush(const TEmfRecord &r);
    void CreateFont(const TEmfRecord &r);
    void SelectObject(std::uint32_t index);
    void DeleteObject(std::uint32_t index);

    // Shapes, paths and clipping.
    void BoxShape(const TEmfRecord &r, TdeShapeType type);
    void LineTo(const TEmfRecord &r);
    void PolyShape(const TEmfRecord &r, TdeShapeType type, bool small, bool fromCurrent);
    void PolyPolygon(const TEmfRecord &r, bool small);
    void PolyPolyline(const TEmfRecord &r, bool small);
    void PolyDraw16(const TEmfRecord &r);
    void FillRgn(const TEmfRecord &r);
    void PathRecord(const TEmfRecord &r);
    void IntersectClipRect(const TEmfRecord &r);
    void ExtSelectClipRgn(const TEmfRecord &r);
    void RestoreClip();

    // Text.
    void ExtTextOut(const TEmfRecord &r, bool wide);
    void AdjustTextPosition(const std::u16string &text, const TFont &font, TdePoint &position, int angle,
                            double totalAdvance) const;

    // Bitmaps.
    std::unique_ptr<TdeImageItem> NewImageItem();
    void ReleaseReservedSlot();
    int FindMergeTarget(const TdeRect &rect) const;
    void AddBlitImage(std::uint32_t rop, int index, const TBitmap &image, std::unique_ptr<TdeImageItem> item);
    // Merged into the image just before when it lies exactly on it.
    void MergeOrAddBlit(std::uint32_t rop, const TBitmap &source, std::unique_ptr<TdeImageItem> item);
    // The image item of a mask or bit blit, placed by the transformed
    // bounds (and, outside a clip, moved to them when boundsOutsideClip).
    std::unique_ptr<TdeImageItem> BlitItemInBounds(const TEmfRecord &r, const TdeRect &rect, bool boundsOutsideClip);
    void StretchBlt(const TEmfRecord &r);
    void MaskBlt(const TEmfRecord &r);
    void BitBlt(const TEmfRecord &r);
    void StretchDIBits(const TEmfRecord &r);
    void SetDIBitsToDevice(const TEmfRecord &r);
    void AppendDIBBand(const TBitmap &band);
    void BlitFill(const TdeRect &rect);
    void FlushPendingBlitRect();
    void PlaceSourceInClip(TdeImageItem &item, const TdeRect &rect, const TdePoint &p, bool mirroredX,
                           bool mirroredY);
};

// The in-memory BMP file of a record's bitmap (its info header at offBmi,
// cbBmi bytes, its bits at offBits, cbBits bytes); empty when the fields do
// not fit the record or the header is not a 40-byte info header.
std::vector<std::uint8_t> BuildBMPStream(const TEmfRecord &record, std::size_t offBmi, std::size_t cbBmi,
                                         std::size_t offBits, std::size_t cbBits, int replaceHeight = 0);

} // namespace tessaran
