// The interpreter's drawing state, its object table, its fonts and the
// record dispatch. Shapes, paths and clipping, text and bitmaps are handled
// in their own files.

#include "docexport/Doc_Pictures.h"
#include "docexport/Metafile_Processor.h"

#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

TdeMetafileProcessor::TdeMetafileProcessor(TdeCustomDocumentEngine &ADocumentEngine) : FEngine(ADocumentEngine)
{
    const auto &render = FEngine.FItemsToRender;
    const auto &caps = FEngine.FCapabilities;
    FProcessText = render.Contains(TdeItemsToRenderKind::irText) && caps.Contains(TdeCapabilityKind::ckText);
    FProcessImage = render.Contains(TdeItemsToRenderKind::irImage) && caps.Contains(TdeCapabilityKind::ckImage);
    FProcessShape = render.Contains(TdeItemsToRenderKind::irShape) && caps.Contains(TdeCapabilityKind::ckShape);
    UpdateMapMultipliers();
}

void TdeMetafileProcessor::Execute(const TMetafile &AMetafile, double AStartX, double AStartY)
{
    FStartX = AStartX;
    FStartY = AStartY;
    FWidth = AMetafile.Width;
    FHeight = AMetafile.Height;
    if (!FEngine.FCurrentDocumentItemList)
        return;
    AMetafile.Enumerate([this](const TEmfRecord &record) {
        ProcessRecord(record);
        return true;
    });
}

TdeItemList &TdeMetafileProcessor::TextList()
{
    if (FEngine.FSortTextItems && FEngine.FCurrentTextItemList)
        return *FEngine.FCurrentTextItemList;
    return Items();
}

void TdeMetafileProcessor::Append(std::unique_ptr<TdeDocumentItem> item) { Items().push_back(std::move(item)); }

// ---- Coordinates --------------------------------------------------------------------

double TdeMetafileProcessor::RX() const { return double(ScreenPixelsPerInch) / FEngine.InputXRes(); }
double TdeMetafileProcessor::RY() const { return double(ScreenPixelsPerInch) / FEngine.InputYRes(); }

TdePoint TdeMetafileProcessor::WorldTransformPoint(double x, double y) const
{
    return TdePoint{x * FXForm.eM11 + y * FXForm.eM21 + FXForm.eDx, x * FXForm.eM12 + y * FXForm.eM22 + FXForm.eDy};
}

TdePoint TdeMetafileProcessor::TransformExtent(double x, double y) const
{
    const TdePoint w = WorldTransformPoint(x, y);
    const double mx = IsMapScaled() ? FMapMXmul : 1.0;
    const double my = IsMapScaled() ? FMapMYmul : 1.0;
    return TdePoint{(w.X - FWindowOrigin.X) * mx * RX(), (w.Y - FWindowOrigin.Y) * my * RY()};
}

TdePoint TdeMetafileProcessor::TransformPoint(double x, double y) const
{
    const TdePoint e = TransformExtent(x, y);
    return TdePoint{e.X + FViewPortOrigin.X, e.Y + FViewPortOrigin.Y};
}

TdeRect TdeMetafileProcessor::TransformRect(const TRect &r) const
{
    const TdePoint a = TransformPoint(r.Left, r.Top);
    const TdePoint b = TransformPoint(r.Right, r.Bottom);
    return TdeRect{a.X, a.Y, b.X, b.Y};
}

void TdeMetafileProcessor::UpdateMapMultipliers()
{
    // A zero extent has no ratio: the multipliers keep their values.
    if (!IsMapScaled() || FWindowExtent.cx == 0 || FWindowExtent.cy == 0)
        return;
    FMapMXmul = double(FViewPortExtent.cx) / FWindowExtent.cx;
    FMapMYmul = double(FViewPortExtent.cy) / FWindowExtent.cy;
}

double TdeMetafileProcessor::ScaleLength(double length) const
{
    if (IsMapScaled() && FWindowExtent.cx != 0) {
        const double k = static_cast<double>(RoundSafe(FViewPortExtent.cx / RX()));
        if (k != 0)
            length = static_cast<double>(RoundSafe(length / (FWindowExtent.cx / k) * RX()));
    }
    return length * FXForm.eM11;
}

TColor TdeMetafileProcessor::FilterColor(std::uint32_t color)
{
    return color > 0xFFFFFFu ? clBlack : static_cast<TColor>(color);
}

TdeEMFAlignment TdeMetafileProcessor::AlignmentFromTA(std::uint32_t mode)
{
    using A = TdeEMFAlignments;
    TdeEMFAlignment result{A::TA_NOUPDATECP, A::TA_LEFT, A::TA_TOP};
    if ((mode & 24) == 24) {
        result.Exclude(A::TA_TOP);
        result.Include(A::TA_BASELINE);
    } else if (mode & 8) {
        result.Exclude(A::TA_TOP);
        result.Include(A::TA_BOTTOM);
    }
    if ((mode & 6) == 6) {
        result.Exclude(A::TA_LEFT);
        result.Include(A::TA_CENTER);
    } else if (mode & 2) {
        result.Exclude(A::TA_LEFT);
        result.Include(A::TA_RIGHT);
    }
    if (mode & 1) {
        result.Exclude(A::TA_NOUPDATECP);
        result.Include(A::TA_UPDATECP);
    }
    if (mode & 256)
        result.Include(A::TA_RTLREADING);
    return result;
}

double TdeMetafileProcessor::LogicalHeightToPoints(double height)
{
    return static_cast<double>(RoundSafe(-height * 72 / ScreenPixelsPerInch));
}

// ---- Saved states ---------------------------------------------------------------------

void TdeMetafileProcessor::PushState()
{
    TdeMetaState state;
    state.FFont = FCurrentFont;
    state.FBrush = FCurrentBrush;
    state.FPen = FCurrentPen;
    state.FPenJoin = FCurrentPenJoin;
    state.FPenCap = FCurrentPenCap;
    state.FCurrentTextColor = FTextColor;
    state.FBKMode = FBKMode;
    state.FMapMode = FMapMode;
    state.FXForm = FXForm;
    state.FWinExtent = FWindowExtent;
    state.FViewExtent = FViewPortExtent;
    state.FWinOrg = FWindowOrigin;
    state.FViewOrg = FViewPortOrigin;
    state.FTextAlign = FTextAlignment;
    FMetaState.push_back(std::move(state));
}

void TdeMetafileProcessor::PopState(int relative)
{
    // Entries are numbered by the count at their save; a restore removes
    // the one entry it names and keeps those saved after it.
    if (FMetaState.empty() || relative == 0)
        return;
    const int count = static_cast<int>(FMetaState.size());
    const int n = relative < 0 ? relative + count : relative;
    if (n < 0 || n >= count)
        return;
    const TdeMetaState state = FMetaState[static_cast<std::size_t>(n)];
    FCurrentFont = state.FFont;
    FCurrentBrush = state.FBrush;
    FCurrentPen = state.FPen;
    FCurrentPenJoin = state.FPenJoin;
    FCurrentPenCap = state.FPenCap;
    FTextColor = state.FCurrentTextColor;
    FBKMode = static_cast<std::uint8_t>(state.FBKMode);
    FMapMode = state.FMapMode;
    FXForm = state.FXForm;
    FWindowExtent = state.FWinExtent;
    FViewPortExtent = state.FViewExtent;
    FWindowOrigin = state.FWinOrg;
    FViewPortOrigin = state.FViewOrg;
    FTextAlignment = state.FTextAlign;
    UpdateMapMultipliers();
    FMetaState.erase(FMetaState.begin() + n);
}

// ---- Objects -------------------------------------------------------------------------------

void TdeMetafileProcessor::StoreObject(std::uint32_t index, std::unique_ptr<TdeGDIOBJ> object)
{
    // Index 0 names the metafile itself.
    if (index == 0 || index > 0xFFFF)
        return;
    // An index past the end leaves empty entries before it, so that the
    // object lands at its own position.
    if (FGDIOBJList.size() < index)
        while (FGDIOBJList.size() < index - 1)
            FGDIOBJList.push_back(std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goNone));
    if (FGDIOBJList.size() < index)
        FGDIOBJList.push_back(std::move(object));
    else
        FGDIOBJList[index - 1] = std::move(object);
}

TdeGDIOBJ *TdeMetafileProcessor::ObjectAt(std::uint32_t index)
{
    if (index == 0 || index > FGDIOBJList.size())
        return nullptr;
    return FGDIOBJList[index - 1].get();
}

void TdeMetafileProcessor::SelectStockObject(std::uint32_t index)
{
    const auto solid = [this](TColor color) {
        FCurrentBrush = TdeMetaBrush{};
        FCurrentBrush.Color = color;
    };
    const auto pen = [this](TColor color, TPenStyle style) {
        FCurrentPen = TPen{};
        FCurrentPen.Color = color;
        FCurrentPen.Style = style;
        FCurrentPenJoin = TdePenJoinStyle::pjsNone;
        FCurrentPenCap = TdePenCapStyle::pcsNone;
    };
    switch (index) {
    case 0: solid(clWhite); break;
    case 1: solid(0xC0C0C0); break;
    case 2: solid(0x808080); break;
    case 3: solid(0x404040); break;
    case 4: solid(clBlack); break;
    case 5:
        solid(clWhite);
        FCurrentBrush.Style = TBrushStyle::bsClear;
        break;
    case 6: pen(clWhite, TPenStyle::psSolid); break;
    case 7: pen(clBlack, TPenStyle::psSolid); break;
    case 8: pen(clBlack, TPenStyle::psClear); break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16: FCurrentFont = TdeMetaFont{}; break;
    case 15: FCurrentPalette = TdePalette{}; break;
    case 18: solid(clWhite); break;
    case 19: pen(clBlack, TPenStyle::psSolid); break;
    default: break;
    }
}

void TdeMetafileProcessor::SelectObject(std::uint32_t index)
{
    if (index & emr::STOCK_OBJECT) {
        SelectStockObject(index & 0x7FFFFFFFu);
        return;
    }
    if (index == 0) {
        SelectStockObject(0);
        return;
    }
    TdeGDIOBJ *object = ObjectAt(index);
    if (!object)
        return;
    switch (object->FGDIOBJType) {
    case TdeGDIOBJType::goPen:
        FCurrentPen = object->FPen;
        FCurrentPenJoin = object->FPenJoinStyle;
        FCurrentPenCap = object->FPenCapStyle;
        break;
    case TdeGDIOBJType::goBrush: FCurrentBrush = object->FBrush; break;
    case TdeGDIOBJType::goFont:
        FCurrentFont = object->FFont;
        FSymbolCharsetFontIdx = IsSymbolOnlyFont(FCurrentFont.Name) ? -1 : 1;
        break;
    default: break;
    }
}

void TdeMetafileProcessor::DeleteObject(std::uint32_t index)
{
    if (!ObjectAt(index))
        return;
    FGDIOBJList[index - 1] = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goNone);
}

namespace {

TPenStyle PenStyleOf(std::uint32_t style)
{
    return style <= 6 ? static_cast<TPenStyle>(style) : TPenStyle::psSolid;
}

int PenWidth(double scaled)
{
    const auto width = static_cast<int>(std::clamp<std::int64_t>(RoundSafe(scaled), -1000000000, 1000000000));
    return width < 1 ? 1 : width;
}

} // namespace

void TdeMetafileProcessor::CreatePen(const TEmfRecord &r)
{
    auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goPen);
    const std::int32_t width = r.I32(16);
    object->FPen.Width = width == 0 ? 1 : PenWidth(ScaleLength(width));
    object->FPen.Style = PenStyleOf(r.U32(12));
    object->FPen.Color = FilterColor(r.U32(24));
    StoreObject(r.U32(8), std::move(object));
}

void TdeMetafileProcessor::ExtCreatePen(const TEmfRecord &r)
{
    auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goPen);
    const std::uint32_t style = r.U32(28);
    double width = r.U32(32);
    if (width < 1)
        width = 1;
    object->FPen.Width = PenWidth(ScaleLength(width));
    object->FPen.Style = PenStyleOf(style & 0x0F);
    object->FPen.Color = FilterColor(r.U32(40));
    if ((style & 0xF0000) == 0x10000) {
        switch (style & 0xF000) {
        case 0: object->FPenJoinStyle = TdePenJoinStyle::pjsRound; break;
        case 0x1000: object->FPenJoinStyle = TdePenJoinStyle::pjsBevel; break;
        case 0x2000: object->FPenJoinStyle = TdePenJoinStyle::pjsMiter; break;
        default: break;
        }
        switch (style & 0xF00) {
        case 0: object->FPenCapStyle = TdePenCapStyle::pcsRound; break;
        case 0x100: object->FPenCapStyle = TdePenCapStyle::pcsSquare; break;
        case 0x200: object->FPenCapStyle = TdePenCapStyle::pcsFlat; break;
        default: break;
        }
    }
    StoreObject(r.U32(8), std::move(object));
}

void TdeMetafileProcessor::CreateBrushIndirect(const TEmfRecord &r)
{
    auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goBrush);
    object->FBrush.Color = static_cast<TColor>(r.U32(16));
    switch (r.U32(12)) {
    case 0: object->FBrush.Style = TBrushStyle::bsSolid; break;
    case 1: object->FBrush.Style = TBrushStyle::bsClear; break;
    case 2:
        if (r.U32(20) <= 5)
            object->FBrush.Style =
                static_cast<TBrushStyle>(static_cast<int>(TBrushStyle::bsHorizontal) + static_cast<int>(r.U32(20)));
        break;
    default: break;
    }
    StoreObject(r.U32(8), std::move(object));
}

void TdeMetafileProcessor::CreatePatternBrush(const TEmfRecord &r)
{
    const std::uint32_t cbBmi = r.U32(20), cbBits = r.U32(28);
    if (cbBmi == 0 || cbBits == 0)
        return;
    const std::vector<std::uint8_t> bmp = BuildBMPStream(r, r.U32(16), cbBmi, r.U32(24), cbBits);
    if (bmp.empty())
        return;
    auto bitmap = std::make_shared<TBitmap>();
    try {
        bitmap->LoadFromBytes(bmp);
    } catch (const EInvalidGraphic &) {
        return;
    }
    auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goBrush);
    object->FBrush.Bitmap = std::move(bitmap);
    StoreObject(r.U32(8), std::move(object));
}

void TdeMetafileProcessor::CreateFont(const TEmfRecord &r)
{
    if (!FProcessText)
        return;
    auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goFont);
    TdeMetaFont &font = object->FFont;
    std::u16string face;
    for (int i = 0; i < 32; ++i) {
        const std::uint16_t unit = r.U16(40 + 2 * static_cast<std::size_t>(i));
        if (unit == 0)
            break;
        face.push_back(static_cast<char16_t>(unit));
    }
    font.Name = Utf16ToUtf8(face);
    font.Charset = r.U8(35);
    switch (r.U8(39) & 3) {
    case 1: font.Pitch = TFontPitch::fpFixed; break;
    case 2: font.Pitch = TFontPitch::fpVariable; break;
    default: font.Pitch = TFontPitch::fpDefault; break;
    }
    font.Style = TFontStyles{};
    if (r.U8(32))
        font.Style.Include(TFontStyle::fsItalic);
    if (r.I32(28) == 700)
        font.Style.Include(TFontStyle::fsBold);
    if (r.U8(33))
        font.Style.Include(TFontStyle::fsUnderline);
    if (r.U8(34))
        font.Style.Include(TFontStyle::fsStrikeOut);

    // Sizes in points and heights in pixels are two views of one value.
    const auto setSize = [&font](double size) {
        font.Size = static_cast<int>(std::clamp<std::int64_t>(RoundSafe(size), -1000000, 1000000));
    };
    const auto height = [&font] { return double(font.Height()); };
    const auto setHeight = [&font](double h) {
        font.SetHeight(static_cast<int>(std::clamp<std::int64_t>(RoundSafe(h), -100000000, 100000000)));
    };
    const double H = r.I32(12);
    if (FMapMode == 0 || IsMapScaled())
        setSize(LogicalHeightToPoints(H));
    else
        setHeight(H);
    if (IsMapScaled()) {
        const double k = static_cast<double>(RoundSafe(FViewPortExtent.cx / RX()));
        if (FWindowExtent.cx != 0 && k != 0)
            setHeight(height() / (FWindowExtent.cx / k) * RX());
    } else if (FMapMode == 0) {
        setSize(LogicalHeightToPoints(H * FXForm.eM22));
    } else {
        setHeight(height() * FXForm.eM22);
    }
    if (font.Size > 100 && FIsWindowsExt)
        setSize(font.Size / 100.0);
    font.FRotateFont = r.I32(20);
    StoreObject(r.U32(8), std::move(object));
}

// ---- State records ---------------------------------------------------------------------------

void TdeMetafileProcessor::SetMapMode(std::uint32_t mode)
{
    FMapMode = mode;
    if (mode == 1) {
        FViewPortOrigin = TPoint{};
        FWindowOrigin = TPoint{};
        FViewPortExtent = TSize{1, 1};
        FWindowExtent = TSize{1, 1};
        FMapMXmul = FMapMYmul = 1.0;
    }
}

void TdeMetafileProcessor::ModifyWorldTransform(const TdeXForm &x, std::uint32_t mode)
{
    // a x b: the transform a applied first, then b.
    const auto multiply = [](const TdeXForm &a, const TdeXForm &b) {
        TdeXForm c;
        c.eM11 = a.eM11 * b.eM11 + a.eM12 * b.eM21;
        c.eM12 = a.eM11 * b.eM12 + a.eM12 * b.eM22;
        c.eM21 = a.eM21 * b.eM11 + a.eM22 * b.eM21;
        c.eM22 = a.eM21 * b.eM12 + a.eM22 * b.eM22;
        c.eDx = a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx;
        c.eDy = a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy;
        return c;
    };
    switch (mode) {
    case 1: FXForm = TdeXForm{}; break;
    case 2: FXForm = multiply(x, FXForm); break;
    case 3: FXForm = multiply(FXForm, x); break;
    default: FXForm = x; break;
    }
}

namespace {

TdeXForm ReadXForm(const TEmfRecord &r, std::size_t at)
{
    return TdeXForm{r.F32(at), r.F32(at + 4), r.F32(at + 8), r.F32(at + 12), r.F32(at + 16), r.F32(at + 20)};
}

TSize ReadSize(const TEmfRecord &r) { return TSize{r.I32(8), r.I32(12)}; }

// cx * num div denom, truncating toward zero; false for a zero denominator.
bool ScaleExtent(std::int32_t &value, std::int32_t num, std::int32_t denom)
{
    if (denom == 0)
        return false;
    const std::int64_t scaled = static_cast<std::int64_t>(value) * num / denom;
    value = static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
    return true;
}

} // namespace

void TdeMetafileProcessor::ProcessRecord(const TEmfRecord &record)
{
    ++FCurrentRecord;
    const TEmfRecord &r = record;
    try {
        switch (r.Type()) {
        case emr::EMR_POLYBEZIER: PolyShape(r, TdeShapeType::stPolyBezier, false, false); break;
        case emr::EMR_POLYGON: PolyShape(r, TdeShapeType::stPolygon, false, false); break;
        case emr::EMR_POLYLINE: PolyShape(r, TdeShapeType::stPolyLine, false, false); break;
        case emr::EMR_POLYBEZIERTO: PolyShape(r, TdeShapeType::stPolyBezier, false, true); break;
        case emr::EMR_POLYLINETO: PolyShape(r, TdeShapeType::stPolyLine, false, true); break;
        case emr::EMR_POLYPOLYLINE: PolyPolyline(r, false); break;
        case emr::EMR_POLYPOLYGON: PolyPolygon(r, false); break;
        case emr::EMR_SETWINDOWEXTEX:
            FWindowExtent = ReadSize(r);
            UpdateMapMultipliers();
            FIsWindowsExt = true;
            break;
        case emr::EMR_SETWINDOWORGEX: FWindowOrigin = r.PointL(8); break;
        case emr::EMR_SETVIEWPORTEXTEX:
            FViewPortExtent = ReadSize(r);
            UpdateMapMultipliers();
            break;
        case emr::EMR_SETVIEWPORTORGEX: FViewPortOrigin = r.PointL(8); break;
        case emr::EMR_EOF: {
            auto item = std::make_unique<TdeEOFItem>();
            item->Status = true;
            Append(std::move(item));
            FIsClipRect = false;
            break;
        }
        case emr::EMR_SETMAPMODE: SetMapMode(r.U32(8)); break;
        case emr::EMR_SETBKMODE: FBKMode = static_cast<std::uint8_t>(r.U32(8) & 0xFF); break;
        case emr::EMR_SETPOLYFILLMODE: FPolyFillMode = r.U32(8); break;
        case emr::EMR_SETROP2: FROP2 = r.U32(8); break;
        case emr::EMR_SETSTRETCHBLTMODE: FStretchMode = r.U32(8); break;
        case emr::EMR_SETTEXTALIGN: FTextAlignment = AlignmentFromTA(r.U32(8)); break;
        case emr::EMR_SETTEXTCOLOR: FTextColor = FilterColor(r.U32(8)); break;
        case emr::EMR_SETBKCOLOR: FBKColor = FilterColor(r.U32(8)); break;
        case emr::EMR_MOVETOEX:
            FCurrentPathPoint = r.PointL(8);
            FUpdatePathX = 0;
            break;
        case emr::EMR_INTERSECTCLIPRECT: IntersectClipRect(r); break;
        case emr::EMR_SCALEVIEWPORTEXTEX:
        case emr::EMR_SCALEWINDOWEXTEX: {
            TSize extent = r.Type() == emr::EMR_SCALEVIEWPORTEXTEX ? FViewPortExtent : FWindowExtent;
            if (!ScaleExtent(extent.cx, r.I32(8), r.I32(12)) || !ScaleExtent(extent.cy, r.I32(16), r.I32(20)))
                break;
            (r.Type() == emr::EMR_SCALEVIEWPORTEXTEX ? FViewPortExtent : FWindowExtent) = extent;
            UpdateMapMultipliers();
            break;
        }
        case emr::EMR_SAVEDC: PushState(); break;
        case emr::EMR_RESTOREDC:
            PopState(r.I32(8));
            RestoreClip();
            break;
        case emr::EMR_SETWORLDTRANSFORM: FXForm = ReadXForm(r, 8); break;
        case emr::EMR_MODIFYWORLDTRANSFORM: ModifyWorldTransform(ReadXForm(r, 8), r.U32(32)); break;
        case emr::EMR_SELECTOBJECT: SelectObject(r.U32(8)); break;
        case emr::EMR_CREATEPEN: CreatePen(r); break;
        case emr::EMR_CREATEBRUSHINDIRECT: CreateBrushIndirect(r); break;
        case emr::EMR_DELETEOBJECT: DeleteObject(r.U32(8)); break;
        case emr::EMR_ELLIPSE: BoxShape(r, TdeShapeType::stEllipse); break;
        case emr::EMR_RECTANGLE: BoxShape(r, TdeShapeType::stRectangle); break;
        case emr::EMR_ROUNDRECT: BoxShape(r, TdeShapeType::stRoundRect); break;
        case emr::EMR_ARC: BoxShape(r, TdeShapeType::stArc); break;
        case emr::EMR_CHORD: BoxShape(r, TdeShapeType::stChord); break;
        case emr::EMR_PIE: BoxShape(r, TdeShapeType::stPie); break;
        case emr::EMR_SELECTPALETTE: {
            const std::uint32_t index = r.U32(8);
            if (index & emr::STOCK_OBJECT)
                SelectStockObject(index & 0x7FFFFFFFu);
            else if (TdeGDIOBJ *object = ObjectAt(index))
                FCurrentPalette = object->FPalette;
            break;
        }
        case emr::EMR_CREATEPALETTE: {
            auto object = std::make_unique<TdeGDIOBJ>(TdeGDIOBJType::goPalette);
            const auto bytes = r.Slice(12, 8);
            std::copy(bytes.begin(), bytes.end(), object->FPalette.FLogPalette);
            StoreObject(r.U32(8), std::move(object));
            break;
        }
        case emr::EMR_LINETO: LineTo(r); break;
        case emr::EMR_SETMITERLIMIT: FMiterLimit = r.F32(8); break;
        case emr::EMR_BEGINPATH:
        case emr::EMR_ENDPATH:
        case emr::EMR_CLOSEFIGURE:
        case emr::EMR_FILLPATH:
        case emr::EMR_STROKEANDFILLPATH:
        case emr::EMR_STROKEPATH:
        case emr::EMR_SELECTCLIPPATH:
        case emr::EMR_ABORTPATH: PathRecord(r); break;
        case emr::EMR_FILLRGN: FillRgn(r); break;
        case emr::EMR_EXTSELECTCLIPRGN: ExtSelectClipRgn(r); break;
        case emr::EMR_BITBLT: BitBlt(r); break;
        case emr::EMR_STRETCHBLT: StretchBlt(r); break;
        case emr::EMR_MASKBLT: MaskBlt(r); break;
        case emr::EMR_SETDIBITSTODEVICE: SetDIBitsToDevice(r); break;
        case emr::EMR_STRETCHDIBITS: StretchDIBits(r); break;
        case emr::EMR_EXTCREATEFONTINDIRECTW: CreateFont(r); break;
        case emr::EMR_EXTTEXTOUTA: ExtTextOut(r, false); break;
        case emr::EMR_EXTTEXTOUTW: ExtTextOut(r, true); break;
        case emr::EMR_POLYBEZIER16: PolyShape(r, TdeShapeType::stPolyBezier, true, false); break;
        case emr::EMR_POLYGON16: PolyShape(r, TdeShapeType::stPolygon, true, false); break;
        case emr::EMR_POLYLINE16: PolyShape(r, TdeShapeType::stPolyLine, true, false); break;
        case emr::EMR_POLYBEZIERTO16: PolyShape(r, TdeShapeType::stPolyBezier, true, true); break;
        case emr::EMR_POLYLINETO16: PolyShape(r, TdeShapeType::stPolyLine, true, true); break;
        case emr::EMR_POLYPOLYLINE16: PolyPolyline(r, true); break;
        case emr::EMR_POLYPOLYGON16: PolyPolygon(r, true); break;
        case emr::EMR_POLYDRAW16: PolyDraw16(r); break;
        case emr::EMR_CREATEMONOBRUSH:
        case emr::EMR_CREATEDIBPATTERNBRUSHPT: CreatePatternBrush(r); break;
        case emr::EMR_EXTCREATEPEN: ExtCreatePen(r); break;
        case emr::EMR_SETICMMODE: FICMMode = r.U32(8); break;
        default: break;
        }
    } catch (const EMetafileError &) {
        // A field outside its record: the record is passed over.
    } catch (const EInvalidGraphic &) {
        // A bitmap that cannot be decoded or made: likewise.
    }
}

} // namespace tessaran
