#pragma once
// The canvas painted with QPainter: on a QImage, a widget or a printer, and
// TBitmapCanvas on a bitmap. Shapes follow the device-context conventions
// of Canvas.h (no antialiasing, right and bottom box edges outside, one-pixel
// pens for widths 0 and 1); text is placed glyph by glyph at the advances
// the font engine measures, so a text takes exactly the room that
// TextExtent promised, whatever the painter's own font metrics.

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Path_Builder.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <span>
#include <string_view>

namespace tessaran {

class TQtCanvas : public TCanvas {
public:
    // Paints on a device (an image, a widget inside its paint event, a printer).
    explicit TQtCanvas(QPaintDevice *device);
    // Paints with a painter that the caller owns and keeps active.
    explicit TQtCanvas(QPainter &painter);
    ~TQtCanvas() override;

    QPainter &Painter() { return *painter_; }

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
    // Closes the open figure of the path being built.
    void CloseFigure();

    void TextOut(int x, int y, std::string_view text) override;
    // Writes a text at given advances (one per UTF-16 unit), as a recorded
    // text carries them.
    void TextOutAdvances(int x, int y, std::u16string_view text, std::span<const int> advances);

    void IntersectClipRect(const TRect &rect) override;
    void SaveState() override;
    void RestoreState() override;

    // Reads the pixel when the device is an image; 0xFFFFFFFF otherwise.
    TColor GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;

    void StretchDraw(const TRect &dest, const TBitmap &bitmap) override;
    void StretchDraw(const TRect &dest, const TMetafile &metafile) override;
    void GradientFillVertical(const TRect &rect, TColor top, TColor bottom) override;

private:
    void applyPen();
    void applyBrush();
    void applyPenAndBrush();
    QPainterPath qtPath() const;

    std::unique_ptr<QPainter> ownPainter_;
    QPainter *painter_;
    QImage *image_ = nullptr; // the device when it is an image
    TPathBuilder path_;
    bool inPath_ = false;
    int saved_ = 0;
};

// A canvas on a bitmap: it paints on a copy and writes the pixels back into
// the bitmap on Flush and when it is destroyed.
class TBitmapCanvas {
public:
    explicit TBitmapCanvas(TBitmap &bitmap);
    ~TBitmapCanvas();
    TCanvas &Canvas() { return *canvas_; }
    void Flush();

private:
    TBitmap &bitmap_;
    QImage image_;
    std::unique_ptr<TQtCanvas> canvas_;
};

// Conversions between the platform's pictures and Qt images.
QImage ToQImage(const TBitmap &bitmap);
TBitmap FromQImage(const QImage &image);
QColor ToQColor(TColor color);

// The family name Qt knows the font engine's file for this font by.
QFont ToQFont(const TFont &font);

} // namespace tessaran
