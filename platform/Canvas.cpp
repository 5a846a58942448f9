#include "platform/Canvas.h"

#include "platform/Font_Engine.h"

namespace tessaran {

TSize TCanvas::TextExtent(std::string_view text) const
{
    return MeasureText(Font, text).Extent;
}

} // namespace tessaran
