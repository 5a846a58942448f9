#pragma once
// The recording canvas: every drawing call becomes records of an enhanced
// metafile. Pens, brushes and fonts are created, selected and deleted as
// the drawing calls need them; polygons, polylines and curves use the 16-bit
// records whenever their points fit. Only record types that the program's
// own metafile readers (the PDF export, the screen player) handle are written.
//
// Close() hands the recording to the metafile; a canvas destroyed without
// Close() leaves the metafile's previous picture in place.

#include "platform/Canvas.h"
#include "platform/Emf_Writer.h"
#include "platform/Metafile.h"
#include "platform/Path_Builder.h"

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace tessaran {

class TMetafileCanvas : public TCanvas {
public:
    // Records a picture of the metafile's Width and Height.
    explicit TMetafileCanvas(TMetafile &metafile);
    ~TMetafileCanvas() override;

    // Ends the recording: the metafile holds the new picture.
    void Close();

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

private:
    struct Selection {
        std::optional<TPen> pen;
        std::optional<TBrush> brush;
        std::optional<TFont> font;
        std::uint32_t penHandle = 0, brushHandle = 0, fontHandle = 0;
    };
    struct DeviceModes {
        std::optional<std::uint32_t> rop2, bkMode, textAlign;
        std::optional<TColor> bkColor, textColor;
    };

    void requirePen();
    void requireBrush();
    void requireFont();
    void setMode(std::optional<std::uint32_t> &cache, std::uint32_t type, std::uint32_t value);
    void setColor(std::optional<TColor> &cache, std::uint32_t type, TColor value);
    std::uint32_t newHandle();
    void deleteHandle(std::uint32_t handle);
    void releaseIfUnused(std::uint32_t handle);
    bool handleInUse(std::uint32_t handle) const;
    void writeBox(std::uint32_t type, int x1, int y1, int x2, int y2);
    void writePoly(std::uint32_t type16, std::uint32_t type32, std::span<const TPoint> points);
    void writeBoundsOnly(std::uint32_t type, const TRect &bounds);
    void writeSimple(std::uint32_t type);
    void writeDib(const TRect &dest, const TBitmap &bitmap);
    void addBounds(const TRect &inclusive, int penWidth = 0);
    TRect pathBounds() const;
    void checkOpen() const;

    TMetafile &metafile_;
    std::unique_ptr<TEmfWriter> writer_;
    Selection selected_;
    DeviceModes modes_;
    std::vector<Selection> savedSelections_;
    std::set<std::uint32_t> liveHandles_;
    std::vector<std::uint32_t> pendingDeletes_;
    bool inPath_ = false;
    TPathBuilder path_;
};

} // namespace tessaran
