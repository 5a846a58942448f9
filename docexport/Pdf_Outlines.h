#pragma once
// The document outline (bookmarks): a tree of titles, each opening a page
// position or a link, built from the contents entries collected while the
// document was written. Entries are linked by list index: every parent
// comes before its children.

#include "docexport/Doc_Types.h"
#include "docexport/Pdf_Object_Writer.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaran {

struct TdeOutlineEntry {
    WideString Title;
    // Page from 1; 0 for a link entry.
    int PageNumber = 0;
    // List index of the parent, -1 at the top level.
    int ParentNode = -1;
    // Target position on the page, native units.
    double X = 0;
    double Y = 0;
    // When not empty the entry opens this link instead of a page.
    std::string URL;
};

// The text string of a title: FE FF and the UTF-16 code units high byte
// first, as upper-case hexadecimal digits.
std::string EncodeInfoString(const WideString &text);
// The same bytes before hexadecimal encoding (and encryption).
std::string TextStringBytes(const WideString &text);

// What the outline needs to know of the written pages: the page object of a
// page number (0 when the page was not written) and the conversion of a
// target position on that page to points.
struct TdeOutlinePages {
    std::function<int(int pageNumber)> PageObject;
    std::function<Extended(Extended x)> PixelToPointX;
    std::function<Extended(int pageNumber, Extended y)> PixelToPointY;
};

// True when the entries can make an outline: one of them must be at the
// top level.
bool HasOutlineRoot(const std::vector<TdeOutlineEntry> &entries);

// Writes the outline items and the root object rootObjNo.
void WriteOutlines(TdePDFObjectWriter &writer, int rootObjNo, const std::vector<TdeOutlineEntry> &entries,
                   const TdeOutlinePages &pages);

} // namespace tessaran
