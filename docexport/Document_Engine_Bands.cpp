// Bands, the band rectangle, caller-unit conversion and the page border of
// the document engine.
#include "docexport/Document_Engine.h"

#include <algorithm>

namespace tessaran {

void TdeCustomDocumentEngine::BeginBand(TdeBandItem *band, TdeBandType type)
{
    if (!FIsDocumentStarted || !band)
        return;
    SetBandType(type);
    SelectLists(*band);
}

// Bands do not nest: any End returns to the page content, storing the write
// position into the band it names.
void TdeCustomDocumentEngine::EndBand(TdeBandItem *band)
{
    if (!FIsDocumentStarted || !band)
        return;
    band->OffsetY = FCurrentOffsetY;
    SetBandType(TdeBandType::btContent);
    if (TdePageItem *page = CurrentPageItem())
        SelectLists(*page);
}

void TdeCustomDocumentEngine::ClearBand(TdeBandItem *band)
{
    if (!FIsDocumentStarted || !band)
        return;
    band->DocumentItems.clear();
    band->TextItems.clear();
    band->OffsetY = 0;
}

void TdeCustomDocumentEngine::BeginHeader() { BeginBand(FHeaderItem.get(), TdeBandType::btHeader); }
void TdeCustomDocumentEngine::EndHeader() { EndBand(FHeaderItem.get()); }
void TdeCustomDocumentEngine::ClearHeader() { ClearBand(FHeaderItem.get()); }
void TdeCustomDocumentEngine::BeginFooter() { BeginBand(FFooterItem.get(), TdeBandType::btFooter); }
void TdeCustomDocumentEngine::EndFooter() { EndBand(FFooterItem.get()); }
void TdeCustomDocumentEngine::ClearFooter() { ClearBand(FFooterItem.get()); }
void TdeCustomDocumentEngine::BeginWaterMark() { BeginBand(FWatermarkItem.get(), TdeBandType::btWatermark); }
void TdeCustomDocumentEngine::EndWaterMark() { EndBand(FWatermarkItem.get()); }
void TdeCustomDocumentEngine::ClearWaterMark() { ClearBand(FWatermarkItem.get()); }
void TdeCustomDocumentEngine::BeginStamp() { BeginBand(FStampItem.get(), TdeBandType::btStamp); }
void TdeCustomDocumentEngine::EndStamp() { EndBand(FStampItem.get()); }
void TdeCustomDocumentEngine::ClearStamp() { ClearBand(FStampItem.get()); }

void TdeCustomDocumentEngine::SetBandType(TdeBandType band)
{
    FBandType = band;
    UpdateBandRect();
}

void TdeCustomDocumentEngine::UpdateBandRect()
{
    if (!FIsDocumentStarted)
        return;
    const TdePageItem *page = CurrentPageItem();
    if (!page)
        return;
    const TdePageSettings &s = page->Settings(); // native values
    const double width = s.NativeWidth(), height = s.NativeHeight();
    const double left = s.NativeLeftMargin(), right = s.NativeRightMargin();
    const double top = s.NativeTopMargin(), bottom = s.NativeBottomMargin();
    const double header = s.NativeHeaderHeight(), footer = s.NativeFooterHeight();
    switch (FReferencePoint) {
    case TdeReferencePoint::rpPage: FBandRect = TdeRect{0, 0, width, height}; return;
    case TdeReferencePoint::rpMargin: FBandRect = TdeRect{left, top, width - right, height - bottom}; return;
    case TdeReferencePoint::rpBand: break;
    }
    const double rx = static_cast<double>(FInputXRes) / ScreenPixelsPerInch;
    const double ry = static_cast<double>(FInputYRes) / ScreenPixelsPerInch;
    double bandTop = top, bandBottom = height - bottom;
    switch (FBandType) {
    case TdeBandType::btContent:
        bandTop = top + header;
        bandBottom = height - footer - bottom;
        break;
    case TdeBandType::btHeader:
        bandTop = top;
        bandBottom = top + header;
        break;
    case TdeBandType::btFooter:
        bandTop = height - footer - bottom;
        bandBottom = height - bottom;
        break;
    case TdeBandType::btWatermark:
    case TdeBandType::btStamp: break;
    }
    FBandRect = TdeRect{left * rx, bandTop * ry, (width - right) * rx, bandBottom * ry};
}

double TdeCustomDocumentEngine::UnitToNativeX(double X) const
{
    double result = X * FNativeConversionFactor;
    if (FNativeConversionFactor == 1)
        result *= static_cast<double>(ScreenPixelsPerInch) / FInputXRes;
    return result;
}

double TdeCustomDocumentEngine::UnitToNativeY(double Y) const
{
    double result = Y * FNativeConversionFactor;
    if (FNativeConversionFactor == 1)
        result *= static_cast<double>(ScreenPixelsPerInch) / FInputYRes;
    return result;
}

TdeRect TdeCustomDocumentEngine::UnitToNativeRect(const TdeRect &rect) const
{
    return TdeRect{UnitToNativeX(rect.Left), UnitToNativeY(rect.Top), UnitToNativeX(rect.Right),
                   UnitToNativeY(rect.Bottom)};
}

void TdeCustomDocumentEngine::PointsToNative(TdePoints &points, int count) const
{
    const int n = std::min(count, static_cast<int>(points.size()));
    for (int i = 0; i < n; ++i) {
        TdePoint &p = points[static_cast<std::size_t>(i)];
        p.X = UnitToNativeX(p.X) + FBandRect.Left;
        p.Y = UnitToNativeY(p.Y) + FBandRect.Top;
    }
}

bool TdeCustomDocumentEngine::IsInsideBand(double X, double Y) const
{
    return FBandRect.Left <= X && X < FBandRect.Right && FBandRect.Top <= Y && Y < FBandRect.Bottom;
}

// Follows the page margins whatever the reference point; makes no item.
void TdeCustomDocumentEngine::DrawPageBorder()
{
    const TdePageItem *page = CurrentPageItem();
    const TdeBorder &border = *FPageBorder;
    if (!page || !(border.DrawLeft || border.DrawRight || border.DrawTop || border.DrawBottom))
        return;
    TdePen pen;
    pen.Width = border.Width;
    pen.Color = border.Color;
    pen.Style = border.Style;
    const TdePageSettings &s = page->Settings();
    const double left = s.NativeLeftMargin(), top = s.NativeTopMargin();
    const double right = s.NativeWidth() - s.NativeRightMargin();
    const double bottom = s.NativeHeight() - s.NativeBottomMargin();
    if (border.DrawLeft)
        DrawLineShape(pen, left, top, left, bottom);
    if (border.DrawRight)
        DrawLineShape(pen, right, top, right, bottom);
    if (border.DrawTop)
        DrawLineShape(pen, left, top, right, top);
    if (border.DrawBottom)
        DrawLineShape(pen, left, bottom, right, bottom);
}

} // namespace tessaran
