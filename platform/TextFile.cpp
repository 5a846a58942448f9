#include "platform/TextFile.h"

#include "platform/Codepage1252.h"
#include "platform/Stream.h"

namespace tessaran {

bool HasAnotherTextLine(std::istream &stream)
{
    return stream.good() && stream.peek() != std::istream::traits_type::eof();
}

std::string ReadTextLine(std::istream &stream)
{
    std::string line;
    if (!std::getline(stream, line))
        return {};
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return Cp1252ToUtf8(line);
}

void WriteTextLine(std::ostream &stream, std::string_view utf8)
{
    std::string text = Utf8ToCp1252(utf8);
    text += "\r\n";
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!stream)
        throw EStreamError("Text file write failed");
}

std::string CutToShortString(std::string_view utf8, int capacity)
{
    std::string text = Utf8ToCp1252(utf8);
    if (capacity >= 0 && text.size() > static_cast<std::size_t>(capacity))
        text.resize(static_cast<std::size_t>(capacity));
    return Cp1252ToUtf8(text);
}

} // namespace tessaran
