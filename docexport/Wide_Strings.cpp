#include "docexport/Wide_Strings.h"

#include "platform/Stream.h"

namespace tessaran {

namespace {
char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
} // namespace

int TWideStrings::Add(const WideString &s)
{
    FWideStringList.push_back(s);
    return Count() - 1;
}

WideString TWideStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return FWideStringList[static_cast<std::size_t>(index)];
}

void TWideStrings::Put(int index, const WideString &s)
{
    if (index == Count())
        Add(s);
    else if (index >= 0 && index < Count())
        FWideStringList[static_cast<std::size_t>(index)] = s;
}

void TWideStrings::Insert(int index, const WideString &s)
{
    if (index >= 0 && index <= Count())
        FWideStringList.insert(FWideStringList.begin() + index, s);
}

void TWideStrings::Delete(int index)
{
    if (index >= 0 && index < Count())
        FWideStringList.erase(FWideStringList.begin() + index);
}

int TWideStrings::IndexOf(const WideString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (FWideStringList[static_cast<std::size_t>(i)] == s)
            return i;
    return -1;
}

int TWideStrings::IndexOfIgnoreCase(const WideString &s) const
{
    for (int i = 0; i < Count(); ++i) {
        const WideString &item = FWideStringList[static_cast<std::size_t>(i)];
        if (item.size() != s.size())
            continue;
        bool equal = true;
        for (std::size_t k = 0; k < s.size() && equal; ++k)
            equal = AsciiUpper(item[k]) == AsciiUpper(s[k]);
        if (equal)
            return i;
    }
    return -1;
}

void TWideStrings::SetTextStr(const WideString &value)
{
    Clear();
    std::size_t p = 0;
    const std::size_t n = value.size();
    while (p < n && value[p] != u'\0') {
        const std::size_t start = p;
        while (p < n && value[p] != u'\r' && value[p] != u'\n' && value[p] != u'\0')
            ++p;
        Add(value.substr(start, p - start));
        if (p < n && value[p] == u'\r')
            ++p;
        if (p < n && value[p] == u'\n')
            ++p;
    }
}

void TWideStrings::LoadFromStream(TStream &stream)
{
    const std::int64_t remaining = stream.Remaining();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(remaining > 0 ? remaining : 0));
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), bytes.size());
    WideString text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    SetTextStr(text);
}

void TWideStrings::LoadFromFile(const std::string &fileName)
{
    TMemoryStream stream(ReadWholeFile(fileName));
    LoadFromStream(stream);
}

} // namespace tessaran
