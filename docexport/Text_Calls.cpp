// The engine's text calls: point texts, clipped texts, text boxes and
// texts with simple markup, and the base hook of text boxes.

#include <cmath>
#include <numbers>

#include "docexport/Document_Engine.h"
#include "docexport/Text_Utils.h"

namespace tessaran {

namespace {

bool EqualsIgnoringCase(const WideString &a, const char16_t *b)
{
    const WideString other(b);
    if (a.size() != other.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = other[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z')
            y = static_cast<char16_t>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

bool TdeCustomDocumentEngine::IsTextAllowed() const
{
    return FIsDocumentStarted && FCapabilities.Contains(TdeCapabilityKind::ckText) &&
           FItemsToRender.Contains(TdeItemsToRenderKind::irText);
}

std::unique_ptr<TdeTextItem> TdeCustomDocumentEngine::PointTextItem(double x, double y, const WideString &text) const
{
    auto item = std::make_unique<TdeTextItem>();
    item->X = x;
    item->Y = y;
    item->Lines.Add(text);
    item->Font = FFont;
    item->Brush = FBrush;
    item->RotationAngle = FTextRotationAngle;
    item->Alignment = FTextAlignment;
    item->TextEffects = FTextEffects;
    return item;
}

void TdeCustomDocumentEngine::DrawFrameLines(const TdePen &pen, const TdeFrame &frame, double left, double top,
                                             double right, double bottom)
{
    if (frame.IsLeft)
        DrawLineShape(pen, left, top, left, bottom);
    if (frame.IsTop)
        DrawLineShape(pen, left, top, right, top);
    if (frame.IsRight)
        DrawLineShape(pen, right, top, right, bottom);
    if (frame.IsBottom)
        DrawLineShape(pen, left, bottom, right, bottom);
}

void TdeCustomDocumentEngine::TextOut(double X, double Y, const WideString &Text)
{
    const double x = UnitToNativeX(X) + FBandRect.Left;
    const double y = UnitToNativeY(Y) + FBandRect.Top;
    if (!IsTextAllowed() || !IsInsideBand(x, y))
        return;
    auto item = PointTextItem(x, y, Text);
    item->BiDiMode = FBiDiMode;
    FNoSorting = false;
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::TextOutV(double X, double Y, const WideString &Text, bool TopDown)
{
    const double angle = FTextRotationAngle * std::numbers::pi / 180;
    const double h = TextHeight(Text);
    const double sign = TopDown ? 1 : -1;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        TextOut(X, Y, Text.substr(i, 1));
        Y += sign * std::cos(angle) * h;
        X += sign * std::sin(angle) * h;
    }
}

void TdeCustomDocumentEngine::TextRect(const TdeRect &Rect, double X, double Y, const WideString &Text)
{
    const double x = UnitToNativeX(X) + FBandRect.Left;
    const double y = UnitToNativeY(Y) + FBandRect.Top;
    if (!IsTextAllowed() || !IsInsideBand(x, y))
        return;
    auto item = PointTextItem(x, y, Text);
    item->SetIsClipRect(true);
    item->SetClipRect(UnitToNativeRect(Rect));
    FNoSorting = false;
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::TextBox(const TdeRect &Rect, const WideString &Text, TdeHAlignment HAlignment,
                                      TdeVAlignment VAlignment)
{
    if (!IsTextAllowed())
        return;
    TdeRect r = UnitToNativeRect(Rect);
    r.Left += FBandRect.Left;
    r.Right += FBandRect.Left;
    r.Top += FBandRect.Top;
    r.Bottom += FBandRect.Top;
    if (!IsInsideBand(r.Left, r.Top))
        return;
    r.Right = std::min(r.Right, FBandRect.Right);
    r.Bottom = std::min(r.Bottom, FBandRect.Bottom);
    auto item = std::make_unique<TdeTextBoxItem>();
    item->X = r.Left;
    item->Y = r.Top;
    item->BoxWidth = r.Right - r.Left;
    item->Boxheight = r.Bottom - r.Top;
    item->Font = FFont;
    item->Brush = FBrush;
    item->Pen = FPen;
    item->Frame.Assign(*FFrame);
    item->HAlign = HAlignment;
    item->VAlign = VAlignment;
    item->RotationAngle = FTextRotationAngle;
    item->TextEffects = FTextEffects;
    const TdeRect &margin = FFrame->NativeInternalMargin();
    const double width = item->BoxWidth - margin.Left - margin.Right;
    SplitWideTextToWidth(ExpandTemplates(Text, false), item->Lines, item->Font, false, width, width);
    FNoSorting = false;
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::HTMLTextOut(double X, double Y, const WideString &HTMLText)
{
    const TdeUnitType unit = FMeasurementUnit;
    TFontStyles switchedOn;
    // Font style and unit come back on every path, also when a call below raises.
    struct Restore {
        TdeCustomDocumentEngine &engine;
        TdeUnitType unit;
        TFontStyles &switchedOn;
        ~Restore()
        {
            for (TFontStyle style : {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                                     TFontStyle::fsStrikeOut})
                if (switchedOn.Contains(style))
                    engine.FFont.Style.Exclude(style);
            engine.SetMeasurementUnit(unit);
        }
    } restore{*this, unit, switchedOn};

    double points = 0;
    switch (unit) {
    case TdeUnitType::muInches: points = 72; break;
    case TdeUnitType::muMM: points = 2.83464; break;
    case TdeUnitType::muTwips: points = 0.05; break;
    case TdeUnitType::muPoints: points = 1; break;
    case TdeUnitType::muPixels: points = 0; break;
    }
    double x = points == 0 ? X : X * points * PixelsPerPoint;
    double y = points == 0 ? Y : Y * points * PixelsPerPoint;
    SetMeasurementUnit(TdeUnitType::muPixels);
    x = UnitToNativeX(x) + FBandRect.Left;
    y = UnitToNativeY(y) + FBandRect.Top;

    WideString run;
    auto emit = [&] {
        if (run.empty())
            return;
        if (IsTextAllowed() && IsInsideBand(x, y)) {
            FNoSorting = false;
            AddItem(PointTextItem(x, y, run));
            x += GetTextExtent(run, FFont).cx;
        }
        run.clear();
    };
    auto applyTag = [&](const WideString &tag) {
        static const std::pair<const char16_t *, TFontStyle> opening[] = {
            {u"<B>", TFontStyle::fsBold}, {u"<I>", TFontStyle::fsItalic},
            {u"<U>", TFontStyle::fsUnderline}, {u"<S>", TFontStyle::fsStrikeOut}};
        static const std::pair<const char16_t *, TFontStyle> closing[] = {
            {u"</B>", TFontStyle::fsBold}, {u"</I>", TFontStyle::fsItalic},
            {u"</U>", TFontStyle::fsUnderline}, {u"</S>", TFontStyle::fsStrikeOut}};
        for (const auto &[name, style] : opening)
            if (EqualsIgnoringCase(tag, name)) {
                FFont.Style.Include(style);
                switchedOn.Include(style);
            }
        for (const auto &[name, style] : closing)
            if (EqualsIgnoringCase(tag, name)) {
                FFont.Style.Exclude(style);
                switchedOn.Exclude(style);
            }
    };

    const std::size_t n = HTMLText.size();
    bool afterSingleSlash = false;
    std::size_t i = 0;
    while (i < n) {
        const char16_t c = HTMLText[i];
        if (c == u'/') {
            if (i + 1 < n && HTMLText[i + 1] == u'/') {
                run += u'/';
                afterSingleSlash = false;
                i += 2;
            } else {
                afterSingleSlash = true;
                ++i;
            }
            continue;
        }
        if (c == u'<' && !afterSingleSlash) {
            emit();
            std::size_t j = i + 1;
            while (j < n && HTMLText[j] != u'>' && HTMLText[j] != u' ')
                ++j;
            if (j < n && HTMLText[j] == u'>') {
                applyTag(HTMLText.substr(i, j - i + 1));
                i = j + 1;
            } else {
                ++i;
            }
            afterSingleSlash = false;
            continue;
        }
        if (c == u'<' || c == u'>') {
            if (afterSingleSlash)
                run += c;
        } else {
            run += c;
        }
        afterSingleSlash = false;
        ++i;
    }
    emit();
}

void TdeCustomDocumentEngine::RenderTextBoxItem(TdeTextBoxItem &item)
{
    const double left = item.X, top = item.Y, right = item.X + item.BoxWidth, bottom = item.Y + item.Boxheight;
    DrawFrameLines(item.Pen, item.Frame, left, top, right, bottom);
    TdePen clearPen = item.Pen;
    clearPen.Style = TPenStyle::psClear;
    DrawRectangleShape(clearPen, &item.Brush, left, top, right, bottom);
    item.Brush.Style = TBrushStyle::bsClear;
    RenderTextLines(item, item.HAlign, item.VAlign, item.BoxWidth, item.Boxheight, item.Frame.NativeInternalMargin());
}

} // namespace tessaran
