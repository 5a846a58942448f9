// The interpreter's text records: each becomes one text item with its
// font, colours, top-left position, rotation, optional clip rectangle and
// the recorded advances of its characters, plus an optional background
// rectangle before it.

#include "docexport/Doc_Pictures.h"
#include "docexport/Doc_Utils.h"
#include "docexport/Font_Charsets.h"
#include "docexport/Metafile_Processor.h"

#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

#include <cmath>

namespace tessaran {

namespace {

constexpr std::uint32_t ETO_OPAQUE = 2;
constexpr std::uint32_t ETO_CLIPPED = 4;

} // namespace

bool TdeMetafileProcessor::IsSymbolOnlyFont(const std::string &name)
{
    // A face that is not installed offers nothing and counts as ordinary.
    std::vector<int> charsets;
    GetFontCharsets(name, charsets);
    return charsets.size() == 1 && charsets[0] == 2;
}

void TdeMetafileProcessor::ExtTextOut(const TEmfRecord &r, bool wide)
{
    if (!FProcessText)
        return;
    using A = TdeEMFAlignments;
    const TPoint reference = r.PointL(36);
    const std::uint32_t chars = r.U32(44), offString = r.U32(48), options = r.U32(52);
    const TRect rcl = r.RectL(56);
    const std::uint32_t offDx = r.U32(72);
    // Every part of the record is read before any item is made.
    if (chars > r.Size() || !r.Has(offString, std::size_t(chars) * (wide ? 2 : 1)))
        return;
    const std::size_t dxAt = offDx / 4 * 4;
    const bool hasAdvances = chars > 0 && r.Has(dxAt, std::size_t(chars) * 4);

    if ((options & ETO_OPAQUE) && !(rcl == TRect{0, 0, -1, -1}) && FProcessShape) {
        const TdePoint P0 = TransformPoint(rcl.Left, rcl.Top), P1 = TransformPoint(rcl.Right, rcl.Bottom);
        std::unique_ptr<TdeShapeItem> item;
        if (P0.X != P1.X && P0.Y != P1.Y) {
            item = NewShapeItem(TdeShapeType::stRectangle);
            if (FCurrentBrush.Style == TBrushStyle::bsClear)
                item->SetBrush(TdeBrush{FCurrentBrush.Color, TBrushStyle::bsClear});
            else
                item->SetBrush(TdeBrush{FBKColor, FCurrentBrush.Style});
            item->Pen.Style = TPenStyle::psClear;
        } else {
            item = NewShapeItem(TdeShapeType::stLine);
            item->Pen.Color = FCurrentBrush.Color;
        }
        item->SetPoints({Offset(P0), Offset(P1)});
        Append(std::move(item));
    }
    if (chars == 0)
        return;

    std::u16string text;
    bool isWide = false;
    if (wide) {
        for (std::uint32_t i = 0; i < chars; ++i) {
            const std::uint16_t u = r.U16(offString + std::size_t(i) * 2);
            const std::uint16_t c = FSymbolCharsetFontIdx == 1 ? (u == 0x2019 ? 0x27 : u) : (u & 0xFF);
            if (c == 0)
                continue;
            text.push_back(static_cast<char16_t>(c));
            if (FSymbolCharsetFontIdx == 1 && c > 255)
                isWide = true;
        }
    } else {
        std::string bytes;
        for (std::uint32_t i = 0; i < chars; ++i)
            if (const std::uint8_t b = r.U8(offString + i))
                bytes.push_back(static_cast<char>(b));
        text = Utf8ToUtf16(Cp1252ToUtf8(bytes));
    }

    auto item = std::make_unique<TdeTextItem>();
    item->IsFromMetafile = true;
    item->IsWideString = isWide;
    item->CharSpaceArray.assign(chars, 0.0);
    double total = 0;
    if (hasAdvances)
        for (std::uint32_t i = 0; i < chars; ++i) {
            double advance = r.I32(dxAt + std::size_t(i) * 4) * double(FXForm.eM11);
            if (IsMapScaled())
                advance *= FMapMXmul;
            item->CharSpaceArray[i] = advance;
            total += advance;
        }

    const bool atCurrent = FTextAlignment.Contains(A::TA_UPDATECP) && FCombineCharsToSentence;
    TdePoint position;
    if (atCurrent) {
        const TdePoint p = TransformPoint(FCurrentPathPoint);
        position = TdePoint{p.X + FUpdatePathX, p.Y};
    } else {
        position = TransformPoint(reference);
    }
    position = Offset(position);

    if (options & ETO_CLIPPED) {
        const TdeRect clip = TransformRect(rcl);
        item->SetIsClipRect(true);
        item->SetClipRect(TdeRect{clip.Left + FStartX, clip.Top + FStartY, clip.Right + FStartX, clip.Bottom + FStartY});
    }

    static_cast<TFont &>(item->Font) = FCurrentFont;
    item->Font.Escapement = 0;
    item->RotationAngle = static_cast<int>(RoundSafe(FCurrentFont.FRotateFont / 10.0L));

    if (atCurrent) {
        const double w = GetTextSize(text, item->Font).cx;
        FUpdatePathX += FTextAlignment.Contains(A::TA_RIGHT) ? -w : w;
    }
    if (FTextAlignment.Contains(A::TA_RTLREADING))
        item->BiDiMode = TBiDiMode::bdRightToLeft;
    AdjustTextPosition(text, item->Font, position, item->RotationAngle, total);
    item->X = position.X;
    item->Y = position.Y;
    item->Font.Color = FTextColor;
    item->Brush.Color = FBKColor;
    item->Brush.Style = FBKMode == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
    item->Lines.Add(text);
    FJustProcessedTextItem = 3;
    TextList().push_back(std::move(item));
}

void TdeMetafileProcessor::AdjustTextPosition(const std::u16string &text, const TFont &font, TdePoint &position,
                                              int angle, double totalAdvance) const
{
    using A = TdeEMFAlignments;
    const double theta = angle * M_PI / 180.0;
    const double h = font.Size * double(font.PixelsPerInch) / 72.0 * RY();
    const auto textHeight = [&] { return GetTextSize(text, font).cy * RY(); };
    const double s = std::sin(theta), c = std::cos(theta);
    const auto turned = [&](double along, double down) {
        // A reference that lies `along` to the right and `down` below the
        // text's top-left corner, on the text's own axes.
        const double a = std::atan2(down, along), d = std::hypot(down, along), t = theta - a;
        position.Y += d * std::sin(t);
        position.X -= d * std::cos(t);
    };
    const TdeEMFAlignment &al = FTextAlignment;
    if (al.Contains(A::TA_LEFT)) {
        if (al.Contains(A::TA_BASELINE)) {
            position.Y -= h * c;
            position.X -= h * s;
        } else if (al.Contains(A::TA_BOTTOM)) {
            const double l = textHeight();
            position.Y -= l * c;
            position.X -= l * s;
        }
        return;
    }
    // The total advance divides in the reference's angle: with none, the
    // reference lies on the text's left edge.
    const double o = al.Contains(A::TA_CENTER) ? totalAdvance / 2 : totalAdvance;
    if (!al.Contains(A::TA_CENTER) && !al.Contains(A::TA_RIGHT))
        return;
    if (al.Contains(A::TA_TOP)) {
        position.Y += o * s;
        position.X -= o * c;
    } else if (al.Contains(A::TA_BASELINE)) {
        turned(o, h);
    } else if (al.Contains(A::TA_BOTTOM)) {
        turned(o, textHeight());
    }
}

} // namespace tessaran
