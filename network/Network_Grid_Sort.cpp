// Sorting a filled result grid by one column, numbers as numbers (negative
// ones included), texts after them and empty cells apart.

#include "network/Network_Class.h"
#include "network/Result_Table_Cells.h"

#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cctype>

namespace tessaran {

namespace {

// Numbers are padded to this width so that, written with the same decimals,
// they compare as texts in numeric order.
constexpr int SortKeyWidth = 30;

struct TSortEntry {
    std::string Key;     // compared first
    std::string RowText; // the row's cells as lines, compared on equal keys
    std::vector<std::string> Cells;
};

char LowerAscii(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessCaseInsensitive(const std::string &a, const std::string &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

bool EntryLess(const TSortEntry &a, const TSortEntry &b)
{
    if (LessCaseInsensitive(a.Key, b.Key))
        return true;
    if (LessCaseInsensitive(b.Key, a.Key))
        return false;
    return LessCaseInsensitive(a.RowText, b.RowText);
}

std::string Padded(std::string key)
{
    PadLeftWith(key, '0', SortKeyWidth);
    return key;
}

} // namespace

void TNetwork::SortStringGrid(TStringGrid &GenStrGrid, int TheCol, int FixedRowCount, int AscendingFlag)
{
    TStringGrid &g = GenStrGrid;
    std::vector<TSortEntry> main, negative, blank;
    // The rows that take part, top to bottom; the sorted rows go back into
    // exactly these rows.
    std::vector<int> rows;

    for (int row = std::max(FixedRowCount, 0); row < g.RowCount(); ++row) {
        if (g.Cell(0, row).empty())
            continue;
        rows.push_back(row);
        TSortEntry entry;
        entry.Cells = g.Row(row);
        for (std::size_t col = 0; col < entry.Cells.size(); ++col) {
            if (col > 0)
                entry.RowText += '\n';
            entry.RowText += entry.Cells[col];
        }
        const std::string key = Trimmed(g.Cell(TheCol, row));
        bool valid = false;
        const double value = ReadRealFromString(key, valid, true, true, userDecimalSeparator());
        if (valid && value < 0) {
            // Ordered by magnitude: the minus sign takes no part.
            std::string magnitude = Padded(key);
            magnitude.erase(std::remove(magnitude.begin(), magnitude.end(), '-'), magnitude.end());
            entry.Key = magnitude;
            negative.push_back(std::move(entry));
        } else if (valid) {
            entry.Key = Padded(key);
            main.push_back(std::move(entry));
        } else if (key.empty()) {
            blank.push_back(std::move(entry));
        } else {
            entry.Key = key;
            main.push_back(std::move(entry));
        }
    }

    std::stable_sort(main.begin(), main.end(), EntryLess);
    std::stable_sort(negative.begin(), negative.end(), EntryLess);
    // Ascending: empty keys in the order found, the negative numbers from the
    // largest magnitude down, then the rest.
    std::vector<TSortEntry> sorted = std::move(blank);
    sorted.insert(sorted.end(), std::make_move_iterator(negative.rbegin()), std::make_move_iterator(negative.rend()));
    sorted.insert(sorted.end(), std::make_move_iterator(main.begin()), std::make_move_iterator(main.end()));

    const std::size_t count = sorted.size();
    for (std::size_t k = 0; k < count; ++k)
        g.SetRow(rows[AscendingFlag != 0 ? k : count - 1 - k], sorted[k].Cells);
}

} // namespace tessaran
