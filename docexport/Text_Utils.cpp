#include "docexport/Text_Utils.h"

#include <algorithm>

#include "docexport/Doc_Utils.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

TdeDateTimeFormats &Formats()
{
    static TdeDateTimeFormats formats;
    return formats;
}

bool IsAsciiLetterOrDigit(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool IsLinkCharacter(char16_t c)
{
    return IsAsciiLetterOrDigit(c) || WideString(u"%&+,-./:;=?@_").find(c) != WideString::npos;
}

bool IsLocalPartCharacter(char16_t c) { return IsAsciiLetterOrDigit(c) || c == u'-' || c == u'.' || c == u'_'; }

WideString LowerAscii(WideString text)
{
    for (char16_t &c : text)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

} // namespace

WideString ReverseString(const WideString &text) { return WideString(text.rbegin(), text.rend()); }

WideString JustifyLine(const WideString &line, const TFont &font, double width)
{
    // The line break that ends a line is kept at its end and takes no part
    // in the spacing: spread over, it would no longer be a break.
    const WideString text = StripTrailingCRLF(line);
    const WideString lineBreak = line.substr(text.size());
    if (text.empty())
        return line;
    std::vector<WideString> words;
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    WideString word;
    for (; i < text.size(); ++i) {
        word += text[i];
        if (text[i] == u' ' || i + 1 == text.size()) {
            words.push_back(word);
            word.clear();
        }
    }
    const int textWidth = GetTextSize(text, font).cx;
    const int blankWidth = GetTextSize(u" ", font).cx;
    int extra = blankWidth > 0 ? static_cast<int>(Trunc((width - textWidth) / blankWidth)) : 0;
    if (extra < 0)
        extra = 0;
    // A single word is spaced out letter by letter.
    std::vector<WideString> pieces;
    if (words.size() >= 2)
        pieces = words;
    else
        for (char16_t c : (words.empty() ? text : words.front()))
            pieces.emplace_back(1, c);
    WideString result;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        result += pieces[k];
        const int gaps = static_cast<int>(pieces.size() - 1 - k);
        if (gaps > 0) {
            const int add = extra / gaps;
            result.append(static_cast<std::size_t>(add), u' ');
            extra -= add;
        }
    }
    return result + lineBreak;
}

std::string StripTrailingCRLF(const std::string &text)
{
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        return text.substr(0, text.size() - 2);
    return text;
}

WideString StripTrailingCRLF(const WideString &text)
{
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0)
        return text.substr(0, text.size() - 2);
    return text;
}

int FindFilePathEnd(const WideString &text)
{
    const auto backslash = text.rfind(u'\\');
    if (backslash == WideString::npos)
        return 0;
    const auto dot = text.find(u'.', backslash);
    if (dot == WideString::npos)
        return 0;
    const auto end = text.find_first_of(u" \"*?|", dot);
    if (end == WideString::npos)
        return static_cast<int>(text.size()) + 1;
    return static_cast<int>(end) + 1;
}

void FindNextHyperlink(const WideString &text, int &start, WideString &link)
{
    link.clear();
    const WideString lower = LowerAscii(text);
    const int length = static_cast<int>(lower.size());
    int best = length;
    bool pathFound = false;
    static const WideString markers[] = {u"www.", u"ftp://", u"http://", u"@", u":\\", u"https://"};
    for (const WideString &marker : markers) {
        const auto found = lower.find(marker);
        int p = found == WideString::npos ? 0 : static_cast<int>(found) + 1;
        if (p != 0 && p < best) {
            if (marker == u"@") {
                const bool dotFollows = lower.find(u'.', static_cast<std::size_t>(p - 1)) != WideString::npos;
                while (p > 1 && IsLocalPartCharacter(lower[static_cast<std::size_t>(p - 2)]))
                    --p;
                // An address without a domain is no link, not a link at 0.
                if (!dotFollows)
                    return;
            } else if (marker == u":\\") {
                pathFound = true;
                p -= 1;
            } else {
                best = p;
            }
        }
        if (p != 0 && p < best)
            best = p;
    }
    if (best == length || best < 1)
        return;
    start = best;
    int end = start;
    if (pathFound) {
        end = FindFilePathEnd(lower);
    } else {
        while (end <= length && IsLinkCharacter(text[static_cast<std::size_t>(end - 1)]))
            ++end;
    }
    if (end > start)
        link = text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start));
}

const TdeDateTimeFormats &UserDateTimeFormats() { return Formats(); }

void SetUserDateTimeFormats(const TdeDateTimeFormats &formats) { Formats() = formats; }

std::string FormatDateTime(const std::string &format, const std::tm &time)
{
    if (format.empty())
        return {};
    std::string buffer(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::size_t n = std::strftime(buffer.data(), buffer.size(), format.c_str(), &time);
        if (n > 0) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

} // namespace tessaran
