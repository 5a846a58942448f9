#include "platform/Text_Lines.h"

namespace tessaran {

std::string JoinLines(const std::vector<std::string> &lines, bool breakAfterLast)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    if (breakAfterLast && !lines.empty())
        text += "\r\n";
    return text;
}

std::vector<std::string> SplitLines(const std::string &text, TTrailingBreak trailing)
{
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::string line;
    bool endedWithBreak = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        endedWithBreak = c == '\r' || c == '\n';
        if (endedWithBreak) {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!endedWithBreak || trailing == TTrailingBreak::StartsEmptyLine)
        lines.push_back(line);
    return lines;
}

} // namespace tessaran
