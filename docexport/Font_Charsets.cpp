#include "docexport/Font_Charsets.h"

#include <algorithm>

#include "platform/Font_Services.h"

namespace tessaran {

void GetFontCharsets(const std::string &faceName, std::vector<int> &list)
{
    // Face names longer than the platform's 31 characters are cut there.
    for (int charset : FontFamilyCharsets(faceName.substr(0, 31)))
        if (std::find(list.begin(), list.end(), charset) == list.end())
            list.push_back(charset);
}

} // namespace tessaran
