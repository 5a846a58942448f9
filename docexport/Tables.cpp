// Tables: built row by row, split over pages when closed, and drawn page
// by page with backgrounds, grid lines, a title row and cell contents.

#include <algorithm>
#include <cmath>

#include "docexport/Document_Engine.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

double PrintableHeight(const TdePageSettings &page)
{
    return page.NativeHeight() - page.NativeTopMargin() - page.NativeHeaderHeight() - page.NativeBottomMargin() -
           page.NativeFooterHeight();
}

} // namespace

std::vector<TdeColumn> *TdeCustomDocumentEngine::BeginTable(double X, double Y, int NoColumns)
{
    if (!FIsDocumentStarted)
        return nullptr;
    const double x = UnitToNativeX(X) + FBandRect.Left;
    const double y = UnitToNativeY(Y) + FBandRect.Top;
    if (!IsInsideBand(x, y))
        return nullptr;
    FIsTableStarted = true;
    FTableItem = std::make_unique<TdeTableItem>(NoColumns, FTableSettings);
    FTableItem->X = x;
    FTableItem->Y = y;
    FTableItem->MaxWidth = FBandRect.Right - x;
    FTableItem->MaxHeight = FBandRect.Bottom - y;
    FTableItem->Font = FFont;
    FTableItem->Pen = FPen;
    FTableItem->Brush = FBrush;
    FTableItem->TextEffects = FTextEffects;
    return FTableItem->GetColumnsList();
}

double TdeCustomDocumentEngine::AddTableRow(const double *height)
{
    const double f = FNativeConversionFactor;
    if (!FIsTableStarted || !FTableItem)
        return -1 / f;
    TdeTableItem &table = *FTableItem;
    const double printable = PrintableHeight(*FPage);
    table.RowItemsList.emplace_back();
    const double above = table.CalculateRowHeight();
    ++table.RowCount;
    const double title = table.Settings.NativeTitleHeight();
    int rowHeight = 0;
    if (!height) {
        // The table's own row height stays cut to the page for its later rows.
        if (table.Settings.NativeRowHeight() > printable - title)
            table.Settings.SetNativeRowHeight(printable - title - 1);
        rowHeight = static_cast<int>(Round(table.Settings.NativeRowHeight()));
    } else {
        rowHeight = f * *height > printable - title ? static_cast<int>(std::floor(printable - title))
                                                     : static_cast<int>(Round(UnitToNativeY(*height)));
    }
    table.RowHeights.push_back(rowHeight);
    const double used = height ? rowHeight : table.Settings.NativeRowHeight();
    return ((FBandRect.Bottom - table.Y - above) - used) / f;
}

double TdeCustomDocumentEngine::NewRow() { return AddTableRow(nullptr); }

double TdeCustomDocumentEngine::NewRow(double Height) { return AddTableRow(&Height); }

void TdeCustomDocumentEngine::TextOut(int ColumnNo, const WideString &Text)
{
    if (!IsTextAllowed() || !FIsTableStarted || !FTableItem)
        return;
    TdeTableItem &table = *FTableItem;
    if (table.RowCount < 0 || ColumnNo < 0 || ColumnNo >= table.ColCount())
        return;
    auto item = std::make_unique<TdeTextItem>();
    item->X = ColumnNo;
    item->Y = table.RowCount;
    item->Font = table.Font;
    item->Brush = table.Brush;
    item->BiDiMode = FBiDiMode;
    TdeColumn &column = table.Columns[static_cast<std::size_t>(ColumnNo)];
    const TdeRect &m = table.Settings.NativeInternalMargin();
    const double sideMargins = static_cast<double>(Round(m.Left) + Round(m.Right));
    const double w = static_cast<double>(Round(column.Width)) - sideMargins;
    const bool singleLine = table.Settings.AutoAdjustColumnWidth;
    const int r = SplitWideTextToWidth(ExpandTemplates(Text, false), item->Lines, item->Font, singleLine, w, w);
    if (singleLine && r + sideMargins > column.Width)
        column.Width = r + sideMargins;
    const double h = GetTextExtent(u"W", item->Font).cy;
    const int needed = static_cast<int>(Round(item->Lines.Count() * h) + Round(m.Top) + Round(m.Bottom));
    int &rowHeight = table.RowHeights[static_cast<std::size_t>(table.RowCount)];
    if (needed >= 0 && needed > rowHeight)
        rowHeight = needed;
    FNoSorting = false;
    table.RowItemsList[static_cast<std::size_t>(table.RowCount)].push_back(std::move(item));
}

void TdeCustomDocumentEngine::EndTable()
{
    if (!FIsDocumentStarted || !FIsTableStarted || !FTableItem)
        return;
    const int t = ++FTablenumber;
    FTableItem->TableNumber = t;
    if (static_cast<int>(FRowsOnPage.size()) <= t) {
        FRowsOnPage.resize(static_cast<std::size_t>(t + 1));
        FTableOnLastpage.resize(static_cast<std::size_t>(t + 1), false);
    }
    if (static_cast<int>(FTables.size()) <= t)
        FTables.resize(static_cast<std::size_t>(t + 1));
    std::vector<int> &counts = FRowsOnPage[static_cast<std::size_t>(t)];
    counts.assign(1, FCurrentPage);
    TdeTableItem &table = *FTableItem;
    FTables[static_cast<std::size_t>(t)] = std::move(FTableItem);

    // The table is shown once on each page it spans.
    bool placedOnThisPage = false;
    auto place = [&] {
        if (!placedOnThisPage)
            AddItem(std::make_unique<TdeTablePlacement>(t));
        placedOnThisPage = true;
    };
    double y = table.Y + (table.Settings.EnableTitle ? table.Settings.NativeTitleHeight() : 0);
    int n = 0;
    for (int j = 0; j <= table.RowCount && j < static_cast<int>(table.RowHeights.size());) {
        const TdePageSettings &page = CurrentPageItem() ? CurrentPageItem()->Settings() : *FPage;
        const double printable = PrintableHeight(page);
        int &entry = table.RowHeights[static_cast<std::size_t>(j)];
        const int c = entry;
        if (printable < c)
            entry = static_cast<int>(std::floor(printable));
        const double top = page.NativeTopMargin() + page.NativeHeaderHeight();
        y += c;
        // A row that does not fit even a fresh page stays where it is
        // rather than starting pages without end.
        if (y <= page.NativeHeight() - page.NativeBottomMargin() - page.NativeFooterHeight() ||
            (n == 0 && y - c <= top)) {
            ++n;
            ++j;
            continue;
        }
        counts.push_back(n);
        place();
        FIsTableStarted = false;
        if (FIsAutoPaginate) {
            NewPage();
            placedOnThisPage = false;
        }
        FIsTableStarted = true;
        n = 0;
        y = top;
    }
    counts.push_back(n);
    counts.push_back(0);
    FTableOnLastpage[static_cast<std::size_t>(t)] = false;
    place();
    FIsTableStarted = false;
}

void TdeCustomDocumentEngine::RenderTableItem(TdeTableItem &item)
{
    const int t = item.TableNumber;
    if (t < 0 || t >= static_cast<int>(FRowsOnPage.size()))
        return;
    const std::vector<int> &counts = FRowsOnPage[static_cast<std::size_t>(t)];
    const int firstPage = counts.empty() ? 0 : counts[0];
    const int slot = FCurrentPage - firstPage + 1;
    if (slot < 1 || slot >= static_cast<int>(counts.size()))
        return;
    int rows = counts[static_cast<std::size_t>(slot)];
    int firstRow = 0;
    for (int k = 1; k < slot; ++k)
        firstRow += counts[static_cast<std::size_t>(k)];
    const bool titled = slot == 1 && item.Settings.EnableTitle;
    if (titled) {
        firstRow = -1;
        ++rows;
    }
    if (FCurrentPage == firstPage + 1)
        item.Y = FPage->NativeTopMargin() + FPage->NativeHeaderHeight();
    FTableOnLastpage[static_cast<std::size_t>(t)] =
        slot + 1 < static_cast<int>(counts.size()) && counts[static_cast<std::size_t>(slot + 1)] == 0;

    const TdeRect &m = item.Settings.NativeInternalMargin();
    const bool singleLine = item.Settings.AutoAdjustColumnWidth;
    auto wrapTitle = [&](const TdeColumn &column, const TFont &font, TWideStrings &lines) {
        SplitWideTextToWidth(ExpandTemplates(column.Title, true), lines, font, singleLine, 0,
                             column.Width - m.Left - m.Right);
        if (lines.Count() > 0 && lines[0].empty())
            lines.Delete(0);
        return lines.Count() * GetTextExtent(u"W", font).cy + m.Top + m.Bottom;
    };
    double titleHeight = item.Settings.NativeTitleHeight();
    if (titled)
        for (const TdeColumn &column : item.Columns) {
            TWideStrings lines;
            titleHeight = std::max(titleHeight, wrapTitle(column, item.Font, lines));
        }

    double y = item.Y;
    for (int j = firstRow; j < firstRow + rows; ++j) {
        if (j >= 0 && j >= static_cast<int>(item.RowHeights.size()))
            break;
        double h = j < 0 ? titleHeight : item.RowHeights[static_cast<std::size_t>(j)];
        double x = item.X;
        for (int col = 0; col < item.ColCount(); ++col) {
            if (col > 0)
                x += item.Columns[static_cast<std::size_t>(col - 1)].Width;
            if (x - item.X >= item.MaxWidth)
                break;
            const TdeColumn &column = item.Columns[static_cast<std::size_t>(col)];
            TdePen pen = item.Pen;
            TdeBrush brush = item.Brush;
            TdeFont font = item.Font;
            TdeFrame frame;
            TdeHAlignment align = column.Alignment;
            if (OnCellDraw)
                OnCellDraw(this, j, col, pen, brush, font, frame, align);
            TWideStrings titleLines;
            if (j < 0)
                h = std::max(h, wrapTitle(column, font, titleLines));
            const double right = x + column.Width, bottom = y + h;
            TdePen clearPen = pen;
            clearPen.Style = TPenStyle::psClear;
            DrawRectangleShape(clearPen, &brush, x, y, right, bottom);
            DrawFrameLines(pen, frame, x, y, right, bottom);
            if (m.Left + m.Right >= column.Width || m.Top + m.Bottom >= h)
                continue;
            if (j < 0) {
                TdeTextItem title;
                title.Font = font;
                title.Brush = brush;
                title.TextEffects = item.TextEffects;
                title.Lines = titleLines;
                title.X = x;
                title.Y = y;
                RenderTextLines(title, align, TdeVAlignment::vaTop, column.Width, h, m);
                continue;
            }
            for (auto &cell : item.RowItemsList[static_cast<std::size_t>(j)]) {
                if (auto *text = dynamic_cast<TdeTextItem *>(cell.get())) {
                    if (text->X != col)
                        continue;
                    const TdeTextItem saved = *text;
                    text->Font = font;
                    text->Brush = brush;
                    text->Lines.Put(0, ExpandTemplates(text->Lines[0], true));
                    text->X = x;
                    text->Y = y;
                    RenderTextLines(*text, align, TdeVAlignment::vaTop, column.Width, h, m);
                    *text = saved;
                    break;
                }
                if (auto *image = dynamic_cast<TdeImageItem *>(cell.get())) {
                    if (image->X != col)
                        continue;
                    const TdeImageItem saved = *image;
                    image->X = x + m.Left;
                    image->Y = y + m.Top;
                    image->Width = std::min(image->Width, column.Width - m.Left - m.Right);
                    image->Height = std::min(image->Height, h - m.Top - m.Bottom);
                    RenderImageItem(*image);
                    *image = saved;
                    break;
                }
            }
        }
        y += h;
    }
}

} // namespace tessaran
