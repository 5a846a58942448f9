#pragma once
// "Choose symbol": the 49 fitting symbols in a grid of 7 by 7.

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace tessaran {

class TChooseSymbolForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int GridSize = 7;

    explicit TChooseSymbolForm(QWidget *parent = nullptr);

    // Row x 7 + column, -1 above the last symbol.
    static int SymbolIndexFromGridCell(int row, int column);

    // The exchange value: set by the caller to the current symbol before
    // showing; the chosen symbol afterwards, or -1 when none was chosen.
    int SymbolIndex = 0;

    QTableWidget *SymbolDrawGrid;
    QPushButton *OKBitBtn;
    QPushButton *CancelBitBtn;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose();
};

} // namespace tessaran
