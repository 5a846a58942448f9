// Paragraphs: running text wrapped to the band, carried into continuation
// pieces on new pages when it no longer fits.

#include <algorithm>
#include <cmath>

#include "docexport/Document_Engine.h"
#include "docexport/Text_Utils.h"

namespace tessaran {

namespace {

std::unique_ptr<TdeParagraphItem> MakePiece(double x, double y, const TdeRect &band, const TdeTextFormatting &format,
                                            const TdeFont &font, const TdeBrush &brush, const TdeTextEffects &effects)
{
    auto piece = std::make_unique<TdeParagraphItem>();
    piece->X = x;
    piece->Y = y;
    piece->Settings.Assign(format);
    piece->Font = font;
    piece->Brush = brush;
    piece->TextEffects = effects;
    piece->Width = band.Right - x - format.NativeRightIndent() - format.NativeLeftIndent();
    piece->Height = band.Bottom - y;
    return piece;
}

} // namespace

void TdeCustomDocumentEngine::BeginPara()
{
    if (!FIsDocumentStarted)
        return;
    FCurrentOffsetY += FTextFormatting.NativeBeforeSpace();
    double y = FBandRect.Top + FCurrentOffsetY;
    while (!IsInsideBand(FBandRect.Left, y)) {
        // A band that holds no point would start pages without end.
        if (FBandRect.Bottom <= FBandRect.Top || FBandRect.Right <= FBandRect.Left)
            return;
        const double oldBottom = FBandRect.Bottom;
        NewPage();
        if (!FIsDocumentStarted)
            return;
        y = FBandRect.Top + std::fabs(y - oldBottom) + FCurrentOffsetY;
    }
    FIsParagraphStarted = true;
    FNoSorting = false;
    FParagraphItem = MakePiece(FBandRect.Left, y, FBandRect, FTextFormatting, FFont, FBrush, FTextEffects);
    FParaItem.clear();
    FIsParaStarted.assign(1, false);
}

double TdeCustomDocumentEngine::TextOut(const WideString &Text)
{
    if (!IsTextAllowed() || !FIsParagraphStarted || !FParagraphItem)
        return 0;
    TdeParagraphItem *target = FParaItem.empty() ? FParagraphItem.get() : FParaItem.back().get();
    const double firstIndent = target->Settings.NativeFirstLineIndent();
    SplitWideTextToWidth(ExpandTemplates(Text, false), target->Lines, target->Font, false,
                         target->Width - firstIndent, target->Width);
    double lineHeight = GetTextExtent(u"W", target->Font).cy * target->Settings.LineSpacing;
    double r = target->Height - lineHeight * target->Lines.Count();
    while (r <= 0) {
        TdeParagraphItem *earlier = FParaItem.empty() ? FParagraphItem.get() : FParaItem.back().get();
        const double step = GetTextExtent(u"W", FFont).cy * earlier->Settings.LineSpacing;
        // Without a line height nothing can be moved on.
        if (step <= 0)
            break;
        const int count = earlier->Lines.Count();
        const int n = static_cast<int>(std::ceil(std::fabs(r) / step));
        int from = FParaItem.empty() ? count - n : count - n - 1;
        if (!FParaItem.empty() && from < 1) {
            // A continuation piece keeps at least one line: a line taller
            // than the band would otherwise move on page after page.
            if (count <= 1)
                break;
            from = 1;
        }
        from = std::max(0, from);
        WideString moved;
        while (earlier->Lines.Count() > from) {
            moved += earlier->Lines[from];
            earlier->Lines.Delete(from);
        }
        auto piece = MakePiece(FBandRect.Left, FBandRect.Top, FBandRect, FTextFormatting, FFont, FBrush, FTextEffects);
        if (FBandType == TdeBandType::btFooter) {
            r = -1;
            break;
        }
        SplitWideTextToWidth(ExpandTemplates(moved, false), piece->Lines, piece->Font, false,
                             piece->Width - piece->Settings.NativeFirstLineIndent(), piece->Width);
        lineHeight = GetTextExtent(u"W", piece->Font).cy * piece->Settings.LineSpacing;
        r = piece->Height - lineHeight * piece->Lines.Count();
        FParaItem.push_back(std::move(piece));
        FIsParaStarted.back() = true;
        FIsParaStarted.push_back(false);
    }
    return r / FNativeConversionFactor;
}

void TdeCustomDocumentEngine::EndPara()
{
    if (!FIsDocumentStarted || !FIsParagraphStarted || !FParagraphItem)
        return;
    auto lineHeight = [this](const TdeParagraphItem &item) {
        return GetTextExtent(u"W", item.Font).cy * item.Settings.LineSpacing;
    };
    FParagraphItem->Height = lineHeight(*FParagraphItem) * FParagraphItem->Lines.Count();
    FCurrentOffsetY += FParagraphItem->Height;
    FIsParagraphStarted = false;
    AddItem(std::move(FParagraphItem));
    std::vector<std::unique_ptr<TdeParagraphItem>> pieces = std::move(FParaItem);
    FParaItem.clear();
    FIsParaStarted.assign(1, false);
    if (!FIsAutoPaginate || pieces.empty())
        return;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        NewPage();
        if (!FIsDocumentStarted)
            return;
        const bool last = i + 1 == pieces.size();
        TdeParagraphItem &piece = *pieces[i];
        if (last) {
            piece.Height = lineHeight(piece) * piece.Lines.Count();
            FCurrentOffsetY += piece.Height;
        }
        AddItem(std::move(pieces[i]));
    }
}

void TdeCustomDocumentEngine::RenderParagraphItem(TdeParagraphItem &item)
{
    TdeTextItem line;
    line.Font = item.Font;
    line.Brush = item.Brush;
    line.TextEffects = item.TextEffects;
    const double lineHeight = GetTextExtent(u"W", item.Font).cy * item.Settings.LineSpacing;
    const TdeHAlignment alignment = item.Settings.Alignment;
    for (int i = 0; i < item.Lines.Count(); ++i) {
        WideString text = item.Lines[i];
        double x = item.X + item.Settings.NativeLeftIndent();
        double w = item.Width;
        if (i == 0) {
            x += item.Settings.NativeFirstLineIndent();
            w -= item.Settings.NativeFirstLineIndent();
        }
        line.Alignment = alignment;
        switch (alignment) {
        case TdeHAlignment::haRight: x += w - GetTextExtent(text, item.Font).cx; break;
        case TdeHAlignment::haCenter: x += (w - GetTextExtent(text, item.Font).cx) / 2; break;
        case TdeHAlignment::haJustify:
            if (i != item.Lines.Count() - 1)
                text = JustifyLine(text, item.Font, w);
            break;
        case TdeHAlignment::haLeft:
        case TdeHAlignment::haGeneral: break;
        }
        line.X = x;
        line.Y = item.Y + i * lineHeight;
        line.Lines.Clear();
        line.Lines.Add(text);
        RenderTextItem(line);
    }
}

} // namespace tessaran
