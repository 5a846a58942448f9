#include "platform/MetafileCanvas.h"

#include "platform/Bitmap.h"
#include "platform/Codepage1252.h"
#include "platform/Font_Engine.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace tessaran {

namespace {
constexpr std::uint32_t R2_NOT = 6;
constexpr std::uint32_t R2_XORPEN = 7;
constexpr std::uint32_t R2_NOTXORPEN = 10;
constexpr std::uint32_t R2_COPYPEN = 13;
constexpr std::uint32_t TRANSPARENT = 1;
constexpr std::uint32_t OPAQUE = 2;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t MWT_LEFTMULTIPLY = 2;
constexpr std::uint32_t GM_COMPATIBLE = 1;

bool samePen(const TPen &a, const TPen &b)
{
    return a.Color == b.Color && a.Width == b.Width && a.Style == b.Style;
}

bool sameFont(const TFont &a, const TFont &b)
{
    return a.Name == b.Name && a.PixelHeight() == b.PixelHeight() && a.Style == b.Style &&
           a.Escapement == b.Escapement && a.Pitch == b.Pitch && a.Charset == b.Charset;
}

std::uint32_t rop2Of(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmNot:
        return R2_NOT;
    case TPenMode::pmXor:
        return R2_XORPEN;
    case TPenMode::pmNotXor:
        return R2_NOTXORPEN;
    case TPenMode::pmCopy:
        break;
    }
    return R2_COPYPEN;
}

std::uint32_t colorRef(TColor c) { return static_cast<std::uint32_t>(c) & 0x00FFFFFFu; }

bool fits16(std::span<const TPoint> points)
{
    return std::all_of(points.begin(), points.end(), [](const TPoint &p) {
        return p.X >= -32768 && p.X <= 32767 && p.Y >= -32768 && p.Y <= 32767;
    });
}

TRect inclusiveBounds(std::span<const TPoint> points)
{
    if (points.empty())
        return TRect{0, 0, -1, -1};
    TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const TPoint &p : points) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

TRect boxBounds(int x1, int y1, int x2, int y2)
{
    return TRect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - 1, std::max(y1, y2) - 1};
}

// Offsets of the object index in the records that create, select or use objects.
bool createsObject(std::uint32_t type)
{
    switch (type) {
    case emr::EMR_CREATEPEN:
    case emr::EMR_CREATEBRUSHINDIRECT:
    case emr::EMR_EXTCREATEFONTINDIRECTW:
    case emr::EMR_EXTCREATEPEN:
    case emr::EMR_CREATEPALETTE:
    case emr::EMR_CREATEMONOBRUSH:
    case emr::EMR_CREATEDIBPATTERNBRUSHPT:
        return true;
    default:
        return false;
    }
}
} // namespace

TMetafileCanvas::TMetafileCanvas(TMetafile &metafile)
    : metafile_(metafile), writer_(std::make_unique<TEmfWriter>(metafile.Width, metafile.Height))
{
    // The state of a fresh device context.
    modes_.rop2 = R2_COPYPEN;
    modes_.bkMode = OPAQUE;
    modes_.textAlign = 0;
    modes_.bkColor = clWhite;
    modes_.textColor = clBlack;
}

TMetafileCanvas::~TMetafileCanvas() = default;

void TMetafileCanvas::checkOpen() const
{
    if (!writer_)
        throw std::logic_error("TMetafileCanvas: the recording is closed");
}

void TMetafileCanvas::Close()
{
    checkOpen();
    metafile_.SetBytes(writer_->Finish());
    writer_.reset();
}

// ---- objects and modes ----------------------------------------------------

std::uint32_t TMetafileCanvas::newHandle()
{
    std::uint32_t h = 1;
    while (liveHandles_.count(h))
        ++h;
    liveHandles_.insert(h);
    writer_->NoteHandle(h);
    return h;
}

bool TMetafileCanvas::handleInUse(std::uint32_t h) const
{
    auto in = [h](const Selection &s) { return s.penHandle == h || s.brushHandle == h || s.fontHandle == h; };
    if (in(selected_))
        return true;
    return std::any_of(savedSelections_.begin(), savedSelections_.end(), in);
}

void TMetafileCanvas::deleteHandle(std::uint32_t h)
{
    std::size_t start = writer_->Begin(emr::EMR_DELETEOBJECT);
    writer_->U32(h);
    writer_->End(start);
    liveHandles_.erase(h);
}

void TMetafileCanvas::releaseIfUnused(std::uint32_t h)
{
    if (h == 0)
        return;
    if (handleInUse(h))
        pendingDeletes_.push_back(h);
    else
        deleteHandle(h);
}

void TMetafileCanvas::requirePen()
{
    if (!selected_.pen || !samePen(*selected_.pen, Pen)) {
        std::uint32_t h = newHandle();
        std::size_t start = writer_->Begin(emr::EMR_CREATEPEN);
        writer_->U32(h);
        writer_->U32(static_cast<std::uint32_t>(Pen.Style));
        writer_->I32(std::max(0, Pen.Width));
        writer_->I32(0);
        writer_->U32(colorRef(Pen.Color));
        writer_->End(start);
        start = writer_->Begin(emr::EMR_SELECTOBJECT);
        writer_->U32(h);
        writer_->End(start);
        std::uint32_t old = selected_.penHandle;
        selected_.pen = Pen;
        selected_.penHandle = h;
        releaseIfUnused(old);
    }
    setMode(modes_.rop2, emr::EMR_SETROP2, rop2Of(Pen.Mode));
}

void TMetafileCanvas::requireBrush()
{
    if (selected_.brush && *selected_.brush == Brush)
        return;
    std::uint32_t h = newHandle();
    std::uint32_t style = 0, hatch = 0;
    switch (Brush.Style) {
    case TBrushStyle::bsSolid:
        style = 0;
        break;
    case TBrushStyle::bsClear:
        style = 1;
        break;
    default:
        style = 2;
        hatch = static_cast<std::uint32_t>(Brush.Style) - static_cast<std::uint32_t>(TBrushStyle::bsHorizontal);
        break;
    }
    std::size_t start = writer_->Begin(emr::EMR_CREATEBRUSHINDIRECT);
    writer_->U32(h);
    writer_->U32(style);
    writer_->U32(colorRef(Brush.Color));
    writer_->U32(hatch);
    writer_->End(start);
    start = writer_->Begin(emr::EMR_SELECTOBJECT);
    writer_->U32(h);
    writer_->End(start);
    std::uint32_t old = selected_.brushHandle;
    selected_.brush = Brush;
    selected_.brushHandle = h;
    releaseIfUnused(old);
}

void TMetafileCanvas::requireFont()
{
    if (!selected_.font || !sameFont(*selected_.font, Font)) {
        std::uint32_t h = newHandle();
        std::size_t start = writer_->Begin(emr::EMR_EXTCREATEFONTINDIRECTW);
        writer_->U32(h);
        // The logical font.
        writer_->I32(Font.Height());
        writer_->I32(0);
        writer_->I32(Font.Escapement);
        writer_->I32(Font.Escapement);
        writer_->I32(Font.Style.Contains(TFontStyle::fsBold) ? 700 : 400);
        writer_->U8(Font.Style.Contains(TFontStyle::fsItalic) ? 1 : 0);
        writer_->U8(Font.Style.Contains(TFontStyle::fsUnderline) ? 1 : 0);
        writer_->U8(Font.Style.Contains(TFontStyle::fsStrikeOut) ? 1 : 0);
        writer_->U8(Font.Charset);
        writer_->U8(0); // output precision
        writer_->U8(0); // clip precision
        writer_->U8(0); // quality
        writer_->U8(static_cast<std::uint8_t>(Font.Pitch));
        std::u16string face = Utf8ToUtf16(Font.Name);
        face.resize(31);
        for (int i = 0; i < 32; ++i)
            writer_->U16(i < 31 ? static_cast<std::uint16_t>(face[static_cast<std::size_t>(i)]) : 0);
        // Full name, style, version, style size, match, reserved, vendor, culture, panose.
        for (int i = 0; i < 64 + 32; ++i)
            writer_->U16(0);
        for (int i = 0; i < 6; ++i)
            writer_->U32(0);
        for (int i = 0; i < 12; ++i)
            writer_->U8(0);
        writer_->End(start);
        start = writer_->Begin(emr::EMR_SELECTOBJECT);
        writer_->U32(h);
        writer_->End(start);
        std::uint32_t old = selected_.fontHandle;
        selected_.font = Font;
        selected_.fontHandle = h;
        releaseIfUnused(old);
    }
    setColor(modes_.textColor, emr::EMR_SETTEXTCOLOR, Font.Color);
}

void TMetafileCanvas::setMode(std::optional<std::uint32_t> &cache, std::uint32_t type, std::uint32_t value)
{
    if (cache && *cache == value)
        return;
    std::size_t start = writer_->Begin(type);
    writer_->U32(value);
    writer_->End(start);
    cache = value;
}

void TMetafileCanvas::setColor(std::optional<TColor> &cache, std::uint32_t type, TColor value)
{
    if (cache && colorRef(*cache) == colorRef(value))
        return;
    std::size_t start = writer_->Begin(type);
    writer_->U32(colorRef(value));
    writer_->End(start);
    cache = value;
}

void TMetafileCanvas::addBounds(const TRect &r, int penWidth)
{
    int grow = std::max(0, penWidth) / 2;
    writer_->AddBounds(TRect{r.Left - grow, r.Top - grow, r.Right + grow, r.Bottom + grow});
}

// ---- records --------------------------------------------------------------

void TMetafileCanvas::writeBox(std::uint32_t type, int x1, int y1, int x2, int y2)
{
    std::size_t start = writer_->Begin(type);
    writer_->RectL(TRect{x1, y1, x2, y2});
    writer_->End(start);
    if (!inPath_)
        addBounds(boxBounds(x1, y1, x2, y2), Pen.Width);
}

void TMetafileCanvas::writePoly(std::uint32_t type16, std::uint32_t type32, std::span<const TPoint> points)
{
    bool small = fits16(points);
    TRect bounds = inclusiveBounds(points);
    std::size_t start = writer_->Begin(small ? type16 : type32);
    writer_->RectL(bounds);
    writer_->U32(static_cast<std::uint32_t>(points.size()));
    for (const TPoint &p : points) {
        if (small) {
            writer_->I16(static_cast<std::int16_t>(p.X));
            writer_->I16(static_cast<std::int16_t>(p.Y));
        } else {
            writer_->Point(p);
        }
    }
    writer_->End(start);
    if (!inPath_ && !points.empty())
        addBounds(bounds, Pen.Width);
}

void TMetafileCanvas::writeBoundsOnly(std::uint32_t type, const TRect &bounds)
{
    std::size_t start = writer_->Begin(type);
    writer_->RectL(bounds);
    writer_->End(start);
}

void TMetafileCanvas::writeSimple(std::uint32_t type)
{
    std::size_t start = writer_->Begin(type);
    writer_->End(start);
}

// ---- drawing ----------------------------------------------------------------

void TMetafileCanvas::MoveTo(int x, int y)
{
    checkOpen();
    std::size_t start = writer_->Begin(emr::EMR_MOVETOEX);
    writer_->Point(TPoint{x, y});
    writer_->End(start);
    if (inPath_)
        path_.MoveTo(TPoint{x, y});
    penPos_ = TPoint{x, y};
}

void TMetafileCanvas::LineTo(int x, int y)
{
    checkOpen();
    if (inPath_) {
        path_.LineTo(penPos_, TPoint{x, y});
    } else {
        requirePen();
        TPoint ends[2] = {penPos_, TPoint{x, y}};
        addBounds(inclusiveBounds(ends), Pen.Width);
    }
    std::size_t start = writer_->Begin(emr::EMR_LINETO);
    writer_->Point(TPoint{x, y});
    writer_->End(start);
    penPos_ = TPoint{x, y};
}

void TMetafileCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    checkOpen();
    if (inPath_) {
        path_.Rectangle(x1, y1, x2, y2);
    } else {
        requirePen();
        requireBrush();
    }
    writeBox(emr::EMR_RECTANGLE, x1, y1, x2, y2);
}

void TMetafileCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    checkOpen();
    if (inPath_) {
        path_.Ellipse(x1, y1, x2, y2);
    } else {
        requirePen();
        requireBrush();
    }
    writeBox(emr::EMR_ELLIPSE, x1, y1, x2, y2);
}

void TMetafileCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    checkOpen();
    if (!inPath_) {
        requirePen();
        requireBrush();
        addBounds(boxBounds(x1, y1, x2, y2), Pen.Width);
    }
    std::size_t start = writer_->Begin(emr::EMR_CHORD);
    writer_->RectL(TRect{x1, y1, x2, y2});
    writer_->Point(TPoint{x3, y3});
    writer_->Point(TPoint{x4, y4});
    writer_->End(start);
}

void TMetafileCanvas::Polygon(std::span<const TPoint> points)
{
    checkOpen();
    if (inPath_) {
        path_.Polygon(points);
    } else {
        requirePen();
        requireBrush();
    }
    writePoly(emr::EMR_POLYGON16, emr::EMR_POLYGON, points);
}

void TMetafileCanvas::Polyline(std::span<const TPoint> points)
{
    checkOpen();
    if (inPath_)
        path_.Polyline(points);
    else
        requirePen();
    writePoly(emr::EMR_POLYLINE16, emr::EMR_POLYLINE, points);
}

void TMetafileCanvas::PolyBezier(std::span<const TPoint> points)
{
    checkOpen();
    if (inPath_)
        path_.PolyBezier(points);
    else
        requirePen();
    writePoly(emr::EMR_POLYBEZIER16, emr::EMR_POLYBEZIER, points);
}

// ---- paths ------------------------------------------------------------------

void TMetafileCanvas::BeginPath()
{
    checkOpen();
    path_.Clear();
    inPath_ = true;
    writeSimple(emr::EMR_BEGINPATH);
}

void TMetafileCanvas::EndPath()
{
    checkOpen();
    if (!inPath_)
        return;
    inPath_ = false;
    writeSimple(emr::EMR_ENDPATH);
}

TRect TMetafileCanvas::pathBounds() const
{
    return inclusiveBounds(path_.Points());
}

void TMetafileCanvas::StrokePath()
{
    checkOpen();
    if (inPath_ || path_.Empty())
        return;
    requirePen();
    TRect bounds = pathBounds();
    writeBoundsOnly(emr::EMR_STROKEPATH, bounds);
    addBounds(bounds, Pen.Width);
    path_.Clear();
}

void TMetafileCanvas::FillPath()
{
    checkOpen();
    if (inPath_ || path_.Empty())
        return;
    requireBrush();
    TRect bounds = pathBounds();
    writeBoundsOnly(emr::EMR_FILLPATH, bounds);
    addBounds(bounds);
    path_.Clear();
}

void TMetafileCanvas::StrokeAndFillPath()
{
    checkOpen();
    if (inPath_ || path_.Empty())
        return;
    requirePen();
    requireBrush();
    TRect bounds = pathBounds();
    writeBoundsOnly(emr::EMR_STROKEANDFILLPATH, bounds);
    addBounds(bounds, Pen.Width);
    path_.Clear();
}

void TMetafileCanvas::FlattenPath()
{
    checkOpen();
    // Flattening changes only the path kept here; the readers of the
    // recording have no use for a flattening record.
    if (!inPath_)
        path_.Flatten();
}

TPointArray TMetafileCanvas::GetPath() const
{
    return path_.Points();
}

// ---- text -------------------------------------------------------------------

void TMetafileCanvas::TextOut(int x, int y, std::string_view text)
{
    checkOpen();
    std::u16string wide = Utf8ToUtf16(text);
    if (wide.empty())
        return;
    requireFont();
    if (Brush.Style == TBrushStyle::bsClear) {
        setMode(modes_.bkMode, emr::EMR_SETBKMODE, TRANSPARENT);
    } else {
        setMode(modes_.bkMode, emr::EMR_SETBKMODE, OPAQUE);
        setColor(modes_.bkColor, emr::EMR_SETBKCOLOR, Brush.Color);
    }
    TTextMeasure measure = MeasureText(Font, std::u16string_view(wide));

    // The text box turned about the reference point.
    double a = Font.Escapement / 10.0 * 3.14159265358979323846 / 180.0;
    double c = std::cos(a), s = std::sin(a);
    TPoint corners[4];
    const double dxs[4] = {0, double(measure.Extent.cx), double(measure.Extent.cx), 0};
    const double dys[4] = {0, 0, double(measure.Extent.cy), double(measure.Extent.cy)};
    for (int i = 0; i < 4; ++i)
        corners[i] = TPoint{static_cast<std::int32_t>(std::lround(x + dxs[i] * c + dys[i] * s)),
                            static_cast<std::int32_t>(std::lround(y - dxs[i] * s + dys[i] * c))};
    TRect bounds = inclusiveBounds(corners);

    std::size_t chars = wide.size();
    std::size_t stringBytes = (chars * 2 + 3) / 4 * 4;
    std::size_t start = writer_->Begin(emr::EMR_EXTTEXTOUTW);
    writer_->RectL(bounds);
    writer_->U32(GM_COMPATIBLE);
    writer_->F32(0.0f);
    writer_->F32(0.0f);
    writer_->Point(TPoint{x, y});
    writer_->U32(static_cast<std::uint32_t>(chars));
    writer_->U32(76);  // offString
    writer_->U32(0);   // options
    writer_->RectL(TRect{0, 0, -1, -1});
    writer_->U32(static_cast<std::uint32_t>(76 + stringBytes)); // offDx
    for (char16_t ch : wide)
        writer_->U16(static_cast<std::uint16_t>(ch));
    writer_->Pad4();
    for (int advance : measure.Advances)
        writer_->I32(advance);
    writer_->End(start);
    addBounds(bounds);
}

// ---- clipping and states ------------------------------------------------------

void TMetafileCanvas::IntersectClipRect(const TRect &rect)
{
    checkOpen();
    std::size_t start = writer_->Begin(emr::EMR_INTERSECTCLIPRECT);
    writer_->RectL(rect);
    writer_->End(start);
}

void TMetafileCanvas::SaveState()
{
    checkOpen();
    writeSimple(emr::EMR_SAVEDC);
    savedSelections_.push_back(selected_);
}

void TMetafileCanvas::RestoreState()
{
    checkOpen();
    if (savedSelections_.empty())
        return;
    std::size_t start = writer_->Begin(emr::EMR_RESTOREDC);
    writer_->I32(-1);
    writer_->End(start);
    Selection current = selected_;
    selected_ = savedSelections_.back();
    savedSelections_.pop_back();
    // The restored state selects the objects saved with it; modes that not
    // every reader restores are written again before their next use.
    modes_.rop2.reset();
    modes_.bkColor.reset();
    modes_.bkMode.reset();
    modes_.textColor.reset();
    modes_.textAlign.reset();
    for (std::uint32_t h : {current.penHandle, current.brushHandle, current.fontHandle})
        if (h != 0 && !handleInUse(h) && liveHandles_.count(h))
            deleteHandle(h);
    std::vector<std::uint32_t> pending;
    pending.swap(pendingDeletes_);
    for (std::uint32_t h : pending)
        if (liveHandles_.count(h))
            releaseIfUnused(h);
}

// ---- pixels and pictures --------------------------------------------------------

TColor TMetafileCanvas::GetPixel(int, int) const
{
    return static_cast<TColor>(0xFFFFFFFFu);
}

void TMetafileCanvas::SetPixel(int x, int y, TColor color)
{
    checkOpen();
    std::size_t start = writer_->Begin(emr::EMR_SETPIXELV);
    writer_->Point(TPoint{x, y});
    writer_->U32(colorRef(color));
    writer_->End(start);
    addBounds(TRect{x, y, x, y});
}

void TMetafileCanvas::writeDib(const TRect &dest, const TBitmap &bitmap)
{
    int bpp = bitmap.BytesPerPixel();
    std::uint32_t stride = static_cast<std::uint32_t>((bitmap.Width() * bpp + 3) / 4 * 4);
    std::uint32_t bitsSize = stride * static_cast<std::uint32_t>(bitmap.Height());
    std::size_t start = writer_->Begin(emr::EMR_STRETCHDIBITS);
    TRect bounds = boxBounds(dest.Left, dest.Top, dest.Right, dest.Bottom);
    writer_->RectL(bounds);
    writer_->I32(dest.Left);
    writer_->I32(dest.Top);
    writer_->I32(0);
    writer_->I32(0);
    writer_->I32(bitmap.Width());
    writer_->I32(bitmap.Height());
    writer_->U32(80);  // offBmiSrc
    writer_->U32(40);  // cbBmiSrc
    writer_->U32(120); // offBitsSrc
    writer_->U32(bitsSize);
    writer_->U32(0); // DIB_RGB_COLORS
    writer_->U32(SRCCOPY);
    writer_->I32(dest.Width());
    writer_->I32(dest.Height());
    // Bitmap info header: bottom-up rows.
    writer_->U32(40);
    writer_->I32(bitmap.Width());
    writer_->I32(bitmap.Height());
    writer_->U16(1);
    writer_->U16(static_cast<std::uint16_t>(bpp * 8));
    writer_->U32(0);
    writer_->U32(bitsSize);
    writer_->I32(3780);
    writer_->I32(3780);
    writer_->U32(0);
    writer_->U32(0);
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const std::uint8_t *line = bitmap.ScanLine(y);
        std::copy(line, line + bitmap.BytesPerLine(), row.begin());
        writer_->Bytes(row);
    }
    writer_->End(start);
    addBounds(bounds);
}

void TMetafileCanvas::StretchDraw(const TRect &dest, const TBitmap &bitmap)
{
    checkOpen();
    if (bitmap.Empty())
        return;
    writeDib(dest, bitmap);
}

void TMetafileCanvas::GradientFillVertical(const TRect &rect, TColor top, TColor bottom)
{
    checkOpen();
    int h = rect.Height();
    if (h <= 0 || rect.Width() <= 0)
        return;
    // One column of row colours, stretched across the rectangle.
    TBitmap column(1, h);
    for (int y = 0; y < h; ++y) {
        double f = h > 1 ? double(y) / (h - 1) : 0.0;
        auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
        column.SetPixel(0, y,
                        RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                            mix(GetBValue(top), GetBValue(bottom))));
    }
    writeDib(rect, column);
}

void TMetafileCanvas::StretchDraw(const TRect &dest, const TMetafile &metafile)
{
    checkOpen();
    if (metafile.Empty() || metafile.Width <= 0 || metafile.Height <= 0)
        return;
    writeSimple(emr::EMR_SAVEDC);
    savedSelections_.push_back(selected_);
    // The played picture starts from the default objects of a fresh device context.
    for (std::uint32_t stock : {emr::WHITE_BRUSH, emr::BLACK_PEN}) {
        std::size_t start = writer_->Begin(emr::EMR_SELECTOBJECT);
        writer_->U32(emr::STOCK_OBJECT | stock);
        writer_->End(start);
    }
    std::size_t start = writer_->Begin(emr::EMR_MODIFYWORLDTRANSFORM);
    writer_->F32(static_cast<float>(double(dest.Width()) / metafile.Width));
    writer_->F32(0.0f);
    writer_->F32(0.0f);
    writer_->F32(static_cast<float>(double(dest.Height()) / metafile.Height));
    writer_->F32(static_cast<float>(dest.Left));
    writer_->F32(static_cast<float>(dest.Top));
    writer_->U32(MWT_LEFTMULTIPLY);
    writer_->End(start);

    std::map<std::uint32_t, std::uint32_t> handles; // played index -> index here
    auto remap = [&](std::vector<std::uint8_t> &bytes, std::size_t at) -> bool {
        if (at + 4 > bytes.size())
            return false;
        std::uint32_t index = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                              (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
        if (index & emr::STOCK_OBJECT)
            return true;
        auto found = handles.find(index);
        if (found == handles.end())
            return false;
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((found->second >> (8 * i)) & 0xFF);
        return true;
    };
    metafile.Enumerate([&](const TEmfRecord &record) {
        std::uint32_t type = record.Type();
        if (type == emr::EMR_HEADER || type == emr::EMR_EOF)
            return true;
        std::vector<std::uint8_t> bytes(record.Bytes().begin(), record.Bytes().end());
        if (createsObject(type)) {
            if (!record.Has(8, 4))
                return true;
            std::uint32_t index = record.U32(8);
            auto old = handles.find(index);
            if (old != handles.end()) {
                deleteHandle(old->second);
                handles.erase(old);
            }
            handles[index] = newHandle();
            remap(bytes, 8);
        } else if (type == emr::EMR_SELECTOBJECT || type == emr::EMR_SELECTPALETTE) {
            if (!remap(bytes, 8))
                return true;
        } else if (type == emr::EMR_DELETEOBJECT) {
            if (!record.Has(8, 4))
                return true;
            auto found = handles.find(record.U32(8));
            if (found == handles.end())
                return true;
            deleteHandle(found->second);
            handles.erase(found);
            return true;
        } else if (type == emr::EMR_FILLRGN || type == emr::EMR_FRAMERGN) {
            if (!remap(bytes, 28))
                return true;
        }
        writer_->AppendRecord(bytes);
        return true;
    });

    start = writer_->Begin(emr::EMR_RESTOREDC);
    writer_->I32(-1);
    writer_->End(start);
    selected_ = savedSelections_.back();
    savedSelections_.pop_back();
    modes_ = DeviceModes{};
    for (auto &entry : handles)
        deleteHandle(entry.second);
    addBounds(boxBounds(dest.Left, dest.Top, dest.Right, dest.Bottom));
}

} // namespace tessaran
