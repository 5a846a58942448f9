#include "units/widgets/Memo_Margins.h"

#include <QAbstractScrollArea>

namespace tessaran {

namespace {
// Names the scroll area's margin setter, which only derived classes may name.
class MarginAccess : public QAbstractScrollArea {
public:
    using QAbstractScrollArea::setViewportMargins;
};
} // namespace

void SetMemoMargins(QAbstractScrollArea &Memo, int LeftMargin, int RightMargin, int TopMargin, int BottomMargin)
{
    void (QAbstractScrollArea::*setMargins)(int, int, int, int) = &MarginAccess::setViewportMargins;
    (Memo.*setMargins)(LeftMargin, TopMargin, RightMargin, BottomMargin);
}

} // namespace tessaran
