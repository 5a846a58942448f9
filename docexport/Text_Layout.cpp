// Text measuring, word wrap, templates and the laying of lines into boxes.

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>

#include "docexport/Doc_Utils.h"
#include "docexport/Document_Engine.h"
#include "docexport/Text_Utils.h"
#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

// How often one user variable may be expanded in one text: a value that
// holds its own variable would otherwise grow the text without end.
constexpr int MaxExpansionsPerVariable = 16;

bool IsBreakCharacter(char16_t c) { return c == 0 || c == u'\n' || c == u'\r' || c == u' '; }
bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

// The word wrap over any list of wide strings.
template <typename List>
class WordWrap {
public:
    WordWrap(List &lines, std::function<int(const WideString &)> measure) : FLines(lines), FMeasure(std::move(measure))
    {
    }

    void Run(const WideString &text, double firstWidth, double width)
    {
        double room = Count() <= 1 ? firstWidth : width;
        if (Count() > 0)
            room -= FMeasure(Last());
        const std::size_t n = text.size();
        std::size_t segmentStart = 0;
        bool previousEnded = false;
        for (std::size_t i = 0; i < n; ++i) {
            const char16_t c = text[i];
            const bool isBreak = IsBreakCharacter(c);
            if (isBreak && previousEnded) {
                // The second of two breaks ends nothing; a line break is
                // dropped, a blank starts the next segment.
                previousEnded = false;
                if (IsLineBreak(c))
                    segmentStart = i + 1;
                continue;
            }
            if (!(i + 1 == n || isBreak)) {
                previousEnded = false;
                continue;
            }
            previousEnded = true;
            const std::size_t end = IsLineBreak(c) ? i : i + 1;
            const WideString segment = text.substr(segmentStart, end > segmentStart ? end - segmentStart : 0);
            segmentStart = i + 1;
            Place(segment, room, width);
            if (IsLineBreak(c)) {
                Set(Last() + u"\r\n");
                Add(u"");
                room = width;
            }
        }
        if (Count() > 0 && Last().empty())
            DeleteLast();
    }

private:
    void Place(const WideString &segment, double &room, double width)
    {
        const int w = segment.empty() ? 1 : FMeasure(segment);
        if (w == 0)
            return;
        if (w <= room) {
            if (Count() == 0)
                Add(segment);
            else
                Set(Last() + segment);
            room -= w;
            return;
        }
        if (w <= width) {
            Add(segment);
            room = width - w;
            return;
        }
        // A word longer than a whole line is cut into pieces that fit; a
        // character wider than the line gets a line of its own.
        WideString rest = segment;
        int restWidth = w;
        while (restWidth > width && rest.size() > 1) {
            std::size_t take = LongestFittingPrefix(rest, width);
            Add(rest.substr(0, take));
            rest.erase(0, take);
            restWidth = FMeasure(rest);
        }
        Add(rest);
        room = width - restWidth;
    }

    std::size_t LongestFittingPrefix(const WideString &text, double width)
    {
        std::size_t take = 1;
        while (take < text.size() && FMeasure(text.substr(0, take + 1)) <= width)
            ++take;
        // Never split a surrogate pair.
        if (take < text.size() && text[take - 1] >= 0xD800 && text[take - 1] <= 0xDBFF)
            take = take > 1 ? take - 1 : std::min<std::size_t>(2, text.size());
        return take;
    }

    int Count() const;
    WideString Last() const;
    void Set(const WideString &value);
    void Add(const WideString &value);
    void DeleteLast();

    List &FLines;
    std::function<int(const WideString &)> FMeasure;
};

template <>
int WordWrap<TWideStrings>::Count() const { return FLines.Count(); }
template <>
WideString WordWrap<TWideStrings>::Last() const { return FLines.Get(FLines.Count() - 1); }
template <>
void WordWrap<TWideStrings>::Set(const WideString &value) { FLines.Put(FLines.Count() - 1, value); }
template <>
void WordWrap<TWideStrings>::Add(const WideString &value) { FLines.Add(value); }
template <>
void WordWrap<TWideStrings>::DeleteLast() { FLines.Delete(FLines.Count() - 1); }

template <>
int WordWrap<std::vector<WideString>>::Count() const { return static_cast<int>(FLines.size()); }
template <>
WideString WordWrap<std::vector<WideString>>::Last() const { return FLines.back(); }
template <>
void WordWrap<std::vector<WideString>>::Set(const WideString &value) { FLines.back() = value; }
template <>
void WordWrap<std::vector<WideString>>::Add(const WideString &value) { FLines.push_back(value); }
template <>
void WordWrap<std::vector<WideString>>::DeleteLast() { FLines.pop_back(); }

WideString FormatNow(const std::string &format)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Utf8ToUtf16(FormatDateTime(format, local));
}

WideString IntText(int value)
{
    const std::string text = std::to_string(value);
    return WideString(text.begin(), text.end());
}

} // namespace

// ---- Measuring ----------------------------------------------------------------------

TSize TdeCustomDocumentEngine::GetTextExtent(const WideString &Text, const TFont &Font)
{
    // Measured as UTF-16: every script measures as itself, not as "?".
    if (Text.empty())
        return TSize{1, GetTextSize(u" ", Font).cy};
    return GetTextSize(StripTrailingCRLF(Text), Font);
}

TSize TdeCustomDocumentEngine::GetAnsiTextExtent(const std::string &Text, const TFont &Font)
{
    if (Text.empty())
        return TSize{1, GetTextExtent(u" ", Font).cy};
    return GetTextSize(StripTrailingCRLF(Utf8ToUtf16(Cp1252ToUtf8(Text))), Font);
}

TSize TdeCustomDocumentEngine::GetWideTextExtent(const WideString &Text, const TFont &Font)
{
    return GetTextSize(Text, Font);
}

double TdeCustomDocumentEngine::TextWidth(const WideString &Text)
{
    if (Text.empty())
        return 0;
    return GetTextExtent(Text, FFont).cx / UnitToNativeX(1);
}

double TdeCustomDocumentEngine::TextHeight(const WideString &Text)
{
    return GetTextExtent(Text, FFont).cy / UnitToNativeY(1);
}

// ---- Word wrap ----------------------------------------------------------------------

int TdeCustomDocumentEngine::SplitTextToWidth(const WideString &Text, std::vector<WideString> &Lines,
                                              const TFont &Font, bool SingleLine, double FirstWidth, double Width)
{
    if (SingleLine) {
        Lines.clear();
        Lines.push_back(Text);
        return GetTextExtent(Text + u" ", Font).cx + 2 * FPen.Width;
    }
    if (Width > 0)
        WordWrap<std::vector<WideString>>(Lines, [&](const WideString &s) { return GetTextExtent(s, Font).cx; })
            .Run(Text, FirstWidth, Width);
    return static_cast<int>(Round(Width));
}

int TdeCustomDocumentEngine::SplitWideTextToWidth(const WideString &Text, TWideStrings &Lines, const TFont &Font,
                                                  bool SingleLine, double FirstWidth, double Width)
{
    if (SingleLine) {
        Lines.Clear();
        Lines.Add(Text);
        return GetTextExtent(Text + u" ", Font).cx + 2 * FPen.Width;
    }
    if (Width > 0)
        WordWrap<TWideStrings>(Lines, [&](const WideString &s) { return GetTextExtent(s, Font).cx; })
            .Run(Text, FirstWidth, Width);
    return static_cast<int>(Round(Width));
}

// ---- Templates -----------------------------------------------------------------------

WideString TdeCustomDocumentEngine::ExpandPageNumbers(const WideString &Text)
{
    WideString result = ReplaceAllText(Text, u"<%Pg#%>", IntText(FCurrentPage));
    return ReplaceAllText(result, u"<%PgCnt%>", IntText(FPageCount));
}

WideString TdeCustomDocumentEngine::ExpandTemplates(const WideString &Text, bool WithPageNumbers)
{
    WideString result = Text;
    if (!FPreferences->CalculateVariables() || Text.empty())
        return result;
    if (WithPageNumbers)
        result = ExpandPageNumbers(result);
    const TdeDateTimeFormats &formats = UserDateTimeFormats();
    const std::pair<const char16_t *, WideString> fixed[] = {
        {u"<%ShortDate%>", FormatNow(formats.ShortDate)}, {u"<%ShortTime%>", FormatNow(formats.ShortTime)},
        {u"<%LongDate%>", FormatNow(formats.LongDate)},   {u"<%LongTime%>", FormatNow(formats.LongTime)},
        {u"<%Author%>", FDocInfo.Author()},               {u"<%Creator%>", FDocInfo.Creator()},
        {u"<%Subject%>", FDocInfo.Subject()},             {u"<%Title%>", FDocInfo.Title()},
    };
    for (const auto &[name, value] : fixed)
        result = ReplaceAllText(result, name, value);
    if (!OnCalcVariables)
        return result;

    // Positions are 1-based as the scan was designed.
    std::map<WideString, int> expansions;
    int e = -1;
    while (e < static_cast<int>(result.size())) {
        const int f = PosWideStr(u"<%", result, std::max(1, e + 2));
        if (f == 0)
            break;
        const int g = PosWideStr(u"%>", result, f);
        if (g == 0)
            break;
        if (g - f <= 2) {
            e = g;
            continue;
        }
        const int nested = PosWideStr(u"<%", result, f + 2);
        if (nested != 0 && nested < g) {
            e = f + 2;
            continue;
        }
        const WideString name = result.substr(static_cast<std::size_t>(f + 1), static_cast<std::size_t>(g - f - 2));
        const WideString variable = u"<%" + name + u"%>";
        if (variable == u"<%Pg#%>" || variable == u"<%PgCnt%>" || ++expansions[name] > MaxExpansionsPerVariable) {
            e = g;
            continue;
        }
        WideString value;
        OnCalcVariables(this, name, value);
        result = ReplaceAllText(result, variable, value);
        e = f;
    }
    return result;
}

WideString TdeCustomDocumentEngine::TransformText(const WideString &Text)
{
    enum class Kind { Digit, Neutral, RightToLeft, LeftToRight };
    auto kindOf = [](char16_t c) {
        if (c >= u'0' && c <= u'9')
            return Kind::Digit;
        if ((c >= 32 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126))
            return Kind::Neutral;
        if ((c >= 0x0590 && c <= 0x06FF) || (c >= 0xFB1E && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
            return Kind::RightToLeft;
        return Kind::LeftToRight;
    };
    auto mirror = [](char16_t c) -> char16_t {
        switch (c) {
        case u'(': return u')';
        case u')': return u'(';
        case u'<': return u'>';
        case u'>': return u'<';
        case u'[': return u']';
        case u']': return u'[';
        case u'{': return u'}';
        case u'}': return u'{';
        default: return c;
        }
    };
    // Runs of one class; right-to-left runs reversed, the rest kept, and
    // the runs placed so that the text reads from the right.
    std::vector<WideString> runs;
    std::size_t i = 0;
    while (i < Text.size()) {
        const Kind kind = kindOf(Text[i]);
        std::size_t j = i;
        while (j < Text.size() && kindOf(Text[j]) == kind)
            ++j;
        WideString run = Text.substr(i, j - i);
        runs.push_back(kind == Kind::RightToLeft ? ReverseString(run) : run);
        i = j;
    }
    WideString result;
    std::vector<bool> mirrored;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const bool placed = !result.empty();
        result += *run;
        mirrored.insert(mirrored.end(), run->size(), placed);
    }
    for (std::size_t k = 0; k + 2 < result.size(); ++k)
        if (mirrored[k])
            result[k] = mirror(result[k]);
    return result;
}

// ---- Lines in a box -----------------------------------------------------------------

void TdeCustomDocumentEngine::RenderTextLines(const TdeTextItem &Item, TdeHAlignment HAlign, TdeVAlignment VAlign,
                                              double BoxWidth, double BoxHeight, const TdeRect &Margin)
{
    TdeTextItem line;
    line.Font = Item.Font;
    line.Brush = Item.Brush;
    line.TextEffects = Item.TextEffects;
    line.RotationAngle = Item.RotationAngle;
    line.Alignment = Item.Alignment;
    const double availW = BoxWidth - Margin.Left - Margin.Right;
    const double availH = BoxHeight - Margin.Top - Margin.Bottom;
    const double lineH = GetTextExtent(u"W", Item.Font).cy;
    // A font without height lays out nothing rather than dividing by zero.
    if (lineH <= 0 || availH <= 0)
        return;
    int n = static_cast<int>(Round(availH / lineH));
    n = std::min(n, Item.Lines.Count());
    double y = Item.Y + Margin.Top;
    if (VAlign == TdeVAlignment::vaCenter)
        y += (availH - n * lineH) / 2;
    else if (VAlign == TdeVAlignment::vaBottom)
        y += availH - n * lineH;
    for (int i = 0; i < n; ++i) {
        WideString text = Item.Lines[i];
        double x = Item.X + Margin.Left;
        const double w = GetTextExtent(text, Item.Font).cx;
        if (HAlign == TdeHAlignment::haRight)
            x += availW - w;
        else if (HAlign == TdeHAlignment::haCenter)
            x += (availW - w) / 2;
        else if (HAlign == TdeHAlignment::haJustify && i != Item.Lines.Count() - 1)
            text = JustifyLine(text, Item.Font, availW);
        line.Lines.Clear();
        line.Lines.Add(text);
        line.X = x;
        line.Y = y;
        RenderTextItem(line);
        y += GetTextExtent(text, Item.Font).cy;
    }
}

} // namespace tessaran
