#pragma once
// Inner margins of a multi-line text box: the text is laid out in the box's
// client area made smaller by the four margins (in pixels).

class QAbstractScrollArea;

namespace tessaran {

void SetMemoMargins(QAbstractScrollArea &Memo, int LeftMargin, int RightMargin, int TopMargin, int BottomMargin);

} // namespace tessaran
