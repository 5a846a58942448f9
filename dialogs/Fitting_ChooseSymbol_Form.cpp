#include "dialogs/Fitting_ChooseSymbol_Form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "dialogs/Fitting_Symbols.h"

namespace tessaran {

namespace {

class TSymbolCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const int symbol = TChooseSymbolForm::SymbolIndexFromGridCell(index.row(), index.column());
        if (symbol >= 0)
            DrawFittingSymbol(*painter, option.rect.x() + 8, option.rect.y() + 4, symbol);
    }
};

} // namespace

TChooseSymbolForm::TChooseSymbolForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChooseSymbolForm"));
    setWindowTitle(QStringLiteral("Choose symbol"));
    SymbolDrawGrid = Named<QTableWidget>("SymbolDrawGrid", GridSize, GridSize, this);
    SymbolDrawGrid->horizontalHeader()->hide();
    SymbolDrawGrid->verticalHeader()->hide();
    SymbolDrawGrid->horizontalHeader()->setDefaultSectionSize(40);
    SymbolDrawGrid->verticalHeader()->setDefaultSectionSize(24);
    SymbolDrawGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SymbolDrawGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SymbolDrawGrid->setItemDelegate(new TSymbolCellDelegate(SymbolDrawGrid));
    SymbolDrawGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SymbolDrawGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SymbolDrawGrid->setFixedSize(GridSize * 40 + 4, GridSize * 24 + 4);
    OKBitBtn = Named<QPushButton>("OKBitBtn", QStringLiteral("OK"), this);
    CancelBitBtn = Named<QPushButton>("CancelBitBtn", QStringLiteral("Cancel"), this);
    OKBitBtn->setAutoDefault(false);
    CancelBitBtn->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SymbolDrawGrid);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OKBitBtn);
    buttons->addWidget(CancelBitBtn);
    layout->addLayout(buttons);
    PaintDialogBackground(this);

    connect(OKBitBtn, &QPushButton::clicked, this, [this] { choose(); });
    connect(SymbolDrawGrid, &QTableWidget::cellDoubleClicked, this, [this] { choose(); });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] { reject(); });
}

int TChooseSymbolForm::SymbolIndexFromGridCell(int row, int column)
{
    const int index = row * GridSize + column;
    return row < 0 || column < 0 || index > 48 ? -1 : index;
}

void TChooseSymbolForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const int value = SymbolIndex >= 0 && SymbolIndex <= 48 ? SymbolIndex : 0;
    SymbolDrawGrid->setCurrentCell(value / GridSize, value % GridSize);
    SymbolIndex = -1;
}

void TChooseSymbolForm::choose()
{
    SymbolIndex = SymbolIndexFromGridCell(SymbolDrawGrid->currentRow(), SymbolDrawGrid->currentColumn());
    accept();
}

} // namespace tessaran
