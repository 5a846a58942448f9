#pragma once
// Path brackets, path painting, poly-draw figures and clip groups of the
// page content. Between a begin-path and an end-path item the shape
// writers collect path construction text; a painting item writes it with
// its operator; a clip path or clip item opens a clip group ("q" with a
// clipping path) that a restore, an end-of-figure item or the page end
// closes.

#include "docexport/Document_Items.h"
#include "docexport/Pdf_Page_Content.h"

namespace tessaran {

// Region combine modes of clip items and clip paths.
constexpr std::uint32_t ClipModeIntersect = 1;
constexpr std::uint32_t ClipModeReplace = 5;

void RenderPathItem(TdePDFPageContent &page, const TdePathItem &item);
void RenderPolyDrawItem(TdePDFPageContent &page, const TdePolyDrawItem &item);
void RenderClipItem(TdePDFPageContent &page, const TdeClipItem &item);
void RenderEOFItem(TdePDFPageContent &page, const TdeEOFItem &item);

} // namespace tessaran
