#include "model/Free_Text_Class.h"

#include "platform/Pascal.h"
#include "platform/Text_Lines.h"

namespace tessaran {

namespace {

// Files from before wide texts stored the label as a single-byte short string.
constexpr const char *WideTextVersion = "5.11";
constexpr int OldTextCapacity = 250;


} // namespace

TFreeText::TFreeText() { Clear(); }

void TFreeText::Clear()
{
    TextStrings.clear();
    x = 0;
    y = 0;
    Color = 0;
    Size = 10;
    Style = TFontStyles{};
    Angle = 0;
    OrigX = 0;
    OrigY = 0;
    Selected = false;
    xEnd = 0;
    yEnd = 0;
}

void TFreeText::CopyFreeText(const TFreeText &FromFreeText)
{
    TextStrings = FromFreeText.TextStrings;
    x = FromFreeText.x;
    y = FromFreeText.y;
    Color = FromFreeText.Color;
    Size = FromFreeText.Size;
    Style = FromFreeText.Style;
    Angle = FromFreeText.Angle;
    OrigX = FromFreeText.OrigX;
    OrigY = FromFreeText.OrigY;
    Selected = FromFreeText.Selected;
    xEnd = x;
    yEnd = y;
}

std::string TFreeText::GetText() const { return JoinLines(TextStrings); }

void TFreeText::SetText(const std::string &text) { TextStrings = SplitLines(text, TTrailingBreak::StartsEmptyLine); }

void TFreeText::Save(TStream &TheFileStream) const
{
    TheFileStream.WriteWideString(GetText());
    TheFileStream.WriteInt32(x);
    TheFileStream.WriteInt32(y);
    TheFileStream.WriteInt32(static_cast<std::int32_t>(Color));
    TheFileStream.WriteInt32(Size);
    TheFileStream.WriteByte(Style.ToByte());
    TheFileStream.WriteInt32(Angle);
}

void TFreeText::Load(TStream &TheFileStream, const std::string &FileVersion)
{
    Clear();
    try {
        // The wide reader checks the stored length against what is left of
        // the stream, so a damaged length is refused before any allocation.
        if (VersionAtLeast(FileVersion, WideTextVersion))
            SetText(TheFileStream.ReadWideString());
        else
            SetText(TheFileStream.ReadShortString(OldTextCapacity));
        x = TheFileStream.ReadInt32();
        y = TheFileStream.ReadInt32();
        Color = static_cast<TColor>(TheFileStream.ReadInt32());
        Size = TheFileStream.ReadInt32();
        Style = TFontStyles::FromByte(TheFileStream.ReadByte());
        Angle = TheFileStream.ReadInt32();
    } catch (...) {
        Clear();
        throw;
    }
}

} // namespace tessaran
