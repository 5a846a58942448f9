// The results sheet window: tabs, grid, sorting, selection in both
// directions, units, docking and the exports.
#include "app/Results_Form.h"

#include "dialogs/Excel_Functions.h"
#include "network/Network_Class.h"
#include "platform/Graphics.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Named_Widget.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace tessaran {

namespace {

constexpr int GridRowCapacity = 5000;
constexpr int DefaultColWidth = 86;
constexpr int ClearedColWidth = 90;
constexpr int RowHeight = 18;
constexpr TColor ButtonFaceColor = 0xF0F0F0;

const char *const TabCaptions[TFormResults::TabCount] = {
    "  Pipes  ",      "  Pumps  ",  "  FCVs  ",    "  PRVs  ",        "  BPVs ",
    "  Components ",  "  Nodes  ",  "  Energy  ",  "  Factors  ",     "  Fluid Zones  ",
    "  Pipe Materials  ", "  Pipe Fittings  ", "  All Results  "};

const QString SheetName = QStringLiteral("Tessaran - Results");

const QString DiameterMismatchText = QStringLiteral(
    "Some of the data shown on the this grid does not match. \r\rSpecifically, some of the internal diameter data "
    "does not match against the wall thickness and outer diameter data. In addition, this also indicates that the "
    "weight data may be incorrect.\r\rThis issue is likely to have happened due to direct user amendment of "
    "internal diameters without use of the Pipe Database Manager.\r\rNote: All calculations of flow and pressures "
    "are performed using the internal pipe diameters and are not affected by the outer diameter and wall thickness "
    "values.");

const QString FittingsUnsortedText =
    QStringLiteral("Fitting data cannot be sorted because some rows are sub-rows of the main row.\r\rTherefore "
                   "sorting by individual values in a column is not allowed on this screen.");
const QString AllResultsUnsortedText =
    QStringLiteral("The AllResults tab screen cannot be sorted by individual values in a column.\r\r");
const QString ReadOnlyText = QStringLiteral("This is a results screen and the values cannot be amended.\r\rPlease "
                                            "close this window and return to Design Mode to update the data values.");

// Paints the cells as the sheet colours them, the texts inset, and the sort
// mark in the title row.
class TResultsCellPainter : public QStyledItemDelegate {
public:
    TResultsCellPainter(TFormResults &form, QObject *parent) : QStyledItemDelegate(parent), form_(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int col = index.column(), row = index.row();
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, ToQColor(form_.CellColor(col, row)));
        const QString text = index.data(Qt::DisplayRole).toString();
        const int rightInset = row == 0 ? 12 : 4;
        painter->setPen(Qt::black);
        painter->drawText(r.adjusted(4, 2, -rightInset, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          text);
        const int tab = form_.CurrentTab();
        if (row == 0 && (!text.isEmpty() || col <= 1) && tab != TFormResults::PipeFittingsTab &&
            tab != TFormResults::AllResultsTab) {
            // A small pair of arrows: the column can be sorted.
            const int x = r.right() - 16 + 4, y = r.top() + 1 + 2;
            QPainterPath up, down;
            up.moveTo(x, y + 5);
            up.lineTo(x + 4, y);
            up.lineTo(x + 8, y + 5);
            up.closeSubpath();
            down.moveTo(x, y + 8);
            down.lineTo(x + 4, y + 13);
            down.lineTo(x + 8, y + 8);
            down.closeSubpath();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->fillPath(up, QColor(90, 90, 90));
            painter->fillPath(down, QColor(90, 90, 90));
        }
        painter->restore();
    }

private:
    TFormResults &form_;
};

QToolButton *ToolButton(QToolBar *bar, const char *name, const QString &text, const QString &hint)
{
    auto *button = Named<QToolButton>(name);
    button->setText(text);
    button->setToolTip(hint);
    bar->addWidget(button);
    return button;
}

} // namespace

TFormResults::TFormResults(TResultsSheetHost &Host, QWidget *parent)
    : QMainWindow(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(Host)
{
    setObjectName(QStringLiteral("FormResults"));
    setWindowTitle(QStringLiteral("Tessaran - Results"));
    createComponents();
    grid_.SetSize(GridColumns, GridRowCapacity);
    grid_.DefaultColWidth = DefaultColWidth;
    resize(900, 400);
}

void TFormResults::createComponents()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    SaveToExcel1 = file->addAction(QStringLiteral("Save To Excel..."), this, [this] { SaveToExcel1Click(); });
    SaveToExcel1->setObjectName(QStringLiteral("SaveToExcel1"));
    ExportToExcel1 = file->addAction(QStringLiteral("Export To Excel"), this, [this] { ExportToExcel1Click(); });
    ExportToExcel1->setObjectName(QStringLiteral("ExportToExcel1"));
    SavetoClipboard1 =
        file->addAction(QStringLiteral("Save to Clipboard"), this, [this] { SavetoClipboard1Click(); });
    SavetoClipboard1->setObjectName(QStringLiteral("SavetoClipboard1"));
    QMenu *units = menuBar()->addMenu(QStringLiteral("Units"));
    ImperialUnits1 = units->addAction(QStringLiteral("Imperial Units"), this, [this] { ImperialUnits1Click(); });
    ImperialUnits1->setObjectName(QStringLiteral("ImperialUnits1"));
    MetricUnits1 = units->addAction(QStringLiteral("Metric Units"), this, [this] { MetricUnits1Click(); });
    MetricUnits1->setObjectName(QStringLiteral("MetricUnits1"));
    SpecifyUnits1 = units->addAction(QStringLiteral("Specify Units..."), this, [this] { SpecifyUnits1Click(); });
    SpecifyUnits1->setObjectName(QStringLiteral("SpecifyUnits1"));

    auto *bar = Named<QToolBar>("ToolBar1");
    bar->setMovable(false);
    addToolBar(bar);
    ToolButtonSaveResults = ToolButton(bar, "ToolButtonSaveResults", QStringLiteral("Save"),
                                       QStringLiteral("Save Results"));
    ToolButton1 = ToolButton(bar, "ToolButton1", QStringLiteral("Excel"), QStringLiteral("Export Results to Excel"));
    ToolButton3 = ToolButton(bar, "ToolButton3", QStringLiteral("Copy"), QStringLiteral("Copy To Clipboard"));
    ToolButton2 = ToolButton(bar, "ToolButton2", QStringLiteral("Units"), QStringLiteral("Change Display Units"));
    ToolButtonDockBottom = ToolButton(bar, "ToolButtonDockBottom", QStringLiteral("Dock Bottom"),
                                      QStringLiteral("Dock Results Grid to Base of Drawing Window"));
    ToolButtonDockRight = ToolButton(bar, "ToolButtonDockRight", QStringLiteral("Dock Right"),
                                     QStringLiteral("Dock Results Grid to Right of Drawing Window"));
    ToolButtonZoomTo = ToolButton(bar, "ToolButtonZoomTo", QStringLiteral("Zoom To"),
                                  QStringLiteral("Zoom To Selected Item"));
    connect(ToolButtonSaveResults, &QToolButton::clicked, this, [this] { ToolButtonSaveResultsClick(); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { ToolButton2Click(); });
    connect(ToolButtonDockBottom, &QToolButton::clicked, this, [this] { ToolButtonDockBottomClick(); });
    connect(ToolButtonDockRight, &QToolButton::clicked, this, [this] { ToolButtonDockRightClick(); });
    connect(ToolButtonZoomTo, &QToolButton::clicked, this, [this] { ToolButtonZoomToClick(); });

    auto *centre = new QWidget;
    auto *layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TabControlResultsGrid = Named<QTabBar>("TabControlResultsGrid");
    for (const char *caption : TabCaptions)
        TabControlResultsGrid->addTab(QString::fromLatin1(caption));
    TabControlResultsGrid->setExpanding(false);
    connect(TabControlResultsGrid, &QTabBar::currentChanged, this, [this] {
        if (network_)
            TabControlResultsGridChange();
    });
    layout->addWidget(TabControlResultsGrid);

    StringGridResults = Named<QTableWidget>("StringGridResults");
    StringGridResults->setColumnCount(GridColumns);
    StringGridResults->setRowCount(GridRowCapacity);
    StringGridResults->verticalHeader()->hide();
    StringGridResults->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGridResults->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A thin title strip without texts: the columns are sized by dragging
    // its edges; the grid's own first rows carry the titles.
    QHeaderView *columns = StringGridResults->horizontalHeader();
    columns->setDefaultSectionSize(DefaultColWidth);
    columns->setFixedHeight(6);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    StringGridResults->setHorizontalHeaderLabels(QStringList(GridColumns, QString()));
    StringGridResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridResults->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridResults->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGridResults->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    StringGridResults->setWordWrap(false);
    StringGridResults->setItemDelegate(new TResultsCellPainter(*this, StringGridResults));
    StringGridResults->setMouseTracking(true);
    StringGridResults->viewport()->setMouseTracking(true);
    StringGridResults->viewport()->installEventFilter(this);
    StringGridResults->installEventFilter(this);
    connect(StringGridResults, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (movingByCode_ == 0 && row >= 0 && col >= 0)
            StringGridResultsSelectCell(col, row);
    });
    connect(StringGridResults, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
        StringGridResultsDblClick();
    });
    connect(StringGridResults->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (movingByCode_ == 0)
            StringGridResultsTopLeftChanged();
    });
    layout->addWidget(StringGridResults);
    setCentralWidget(centre);
}

// --- tables ------------------------------------------------------------------------------

int TFormResults::FixedRowsOfTab(int TabIndex)
{
    if (TabIndex == EnergyTab)
        return 3;
    if (TabIndex == PipeFittingsTab || TabIndex == AllResultsTab)
        return 1;
    return 2;
}

bool TFormResults::IsPipeTab(int TabIndex)
{
    return (TabIndex >= 0 && TabIndex <= 5) || TabIndex == EnergyTab || TabIndex == 8 ||
           TabIndex == PipeMaterialsTab || TabIndex == PipeFittingsTab;
}

int TFormResults::CurrentTab() const { return TabControlResultsGrid->currentIndex(); }

void TFormResults::SetCurrentTab(int TabIndex)
{
    if (TabIndex >= 0 && TabIndex < TabCount)
        TabControlResultsGrid->setCurrentIndex(TabIndex);
}

int TFormResults::GridRow() const { return StringGridResults->currentRow(); }

int TFormResults::GetCellIdValue(const std::string &CellString)
{
    bool valid = false;
    const int value = ReadIntegerFromString(CellString, valid, true, true);
    return valid ? value : 0;
}

void TFormResults::ClearResultsGrid()
{
    StringGridResults->clearSelection();
    grid_.Clear();
    grid_.SetSize(GridColumns, std::max(grid_.RowCount(), 1));
    CurrentRow = 0;
    CurrentCol = 0;
    for (int col = 2; col < GridColumns; ++col)
        grid_.SetColWidth(col, ClearedColWidth);
    sortFlags_.fill(0);
}

void TFormResults::SetNetwork(TNetwork *TheNetwork)
{
    ClearResultsGrid();
    grid_.FixedCols = 1;
    grid_.FixedRows = 2;
    network_ = TheNetwork;
    TabControlResultsGridChange();
}

void TFormResults::fillTable(int TabIndex)
{
    if (!network_)
        return;
    TNetwork &n = *network_;
    int finishRow = 0;
    grid_.FixedRows = FixedRowsOfTab(TabIndex);
    switch (TabIndex) {
    case 0: n.PopulateStringGridPipeSummaryResults(grid_, 0, finishRow); break;
    case 1: n.PopulateStringGridPumpResults(grid_, 0, finishRow); break;
    case 2: n.PopulateStringGridFCVResults(grid_, 0, finishRow); break;
    case 3: n.PopulateStringGridPRVResults(grid_, 0, finishRow); break;
    case 4: n.PopulateStringGridBPVResults(grid_, 0, finishRow); break;
    case 5: n.PopulateStringGridComponentResults(grid_, 0, finishRow); break;
    case 6: n.PopulateStringGridNodeResults(grid_, 0, finishRow); break;
    case 7: n.PopulateStringGridEnergyResults(grid_, 0, finishRow); break;
    case 8: n.PopulateStringGridPipeFactorResults(grid_, 0, finishRow); break;
    case 9: n.PopulateStringGridFluidResults(grid_, 0, finishRow); break;
    case 10: n.PopulateStringGridPipeMaterialResults(grid_, 0, finishRow); break;
    case 11: n.PopulateStringGridFittingResults(grid_, 0, finishRow); break;
    case 12: n.PopulateStringGridAllResults(grid_, 3, EnergyUnitsFlag, finishRow); break;
    default: break;
    }
    // The grid has 26 columns whatever a table asked for.
    if (grid_.ColCount() != GridColumns)
        grid_.SetColCount(GridColumns);
    grid_.FixedRows = FixedRowsOfTab(TabIndex);
    grid_.FixedCols = 1;
}

void TFormResults::showGridInWidget(bool TableWidths)
{
    ++movingByCode_;
    QTableWidget &w = *StringGridResults;
    w.setUpdatesEnabled(false);
    w.clearContents();
    w.setRowCount(grid_.RowCount());
    for (int row = 0; row < grid_.RowCount(); ++row) {
        for (int col = 0; col < GridColumns; ++col) {
            const std::string &text = grid_.Cell(col, row);
            if (text.empty())
                continue;
            auto *item = new QTableWidgetItem(QString::fromStdString(text));
            w.setItem(row, col, item);
        }
    }
    if (TableWidths)
        for (int col = 0; col < GridColumns; ++col)
            w.setColumnWidth(col, grid_.ColWidth(col));
    w.setUpdatesEnabled(true);
    --movingByCode_;
}

void TFormResults::setGridCell(int ACol, int ARow)
{
    QTableWidget &w = *StringGridResults;
    if (ARow < 0 || ARow >= w.rowCount() || ACol < 0 || ACol >= w.columnCount())
        return;
    ++movingByCode_;
    w.setCurrentCell(ARow, ACol, QItemSelectionModel::ClearAndSelect);
    --movingByCode_;
    w.viewport()->update();
}

void TFormResults::SetGridPosition(int Col, int Row, int LeftCol, int TopRow)
{
    setGridCell(Col, Row);
    setLeftCol(LeftCol);
    setTopRow(TopRow);
}

void TFormResults::setLeftCol(int ACol)
{
    ++movingByCode_;
    StringGridResults->horizontalScrollBar()->setValue(ACol);
    --movingByCode_;
}

void TFormResults::setTopRow(int ARow)
{
    ++movingByCode_;
    StringGridResults->verticalScrollBar()->setValue(ARow);
    --movingByCode_;
}

void TFormResults::TabControlResultsGridChange()
{
    TNetworkStates &states = host_.NetworkStates();
    const int savedPipe = states.CurrentPipeIdSelected;
    const int savedNode = states.CurrentNodeIdSelected;

    ClearResultsGrid();
    grid_.FixedCols = 1;
    const int tab = CurrentTab();
    fillTable(tab);
    showGridInWidget(true);
    setGridCell(1, 2);
    setLeftCol(1);
    setTopRow(2);
    if (tab == PipeMaterialsTab && network_) {
        StringGridResults->viewport()->repaint();
        if (!network_->CheckDiameterDataMatchOk())
            Dialogs().ShowMessage(TDialogKind::Information, DiameterMismatchText, this);
    }

    CurrentRow = 0;
    CurrentCol = 0;
    states.CurrentPipeIdSelected = savedPipe;
    states.CurrentNodeIdSelected = savedNode;
    DisplayRowWithSelectedId();
    QApplication::processEvents();
    StringGridResults->viewport()->update();
    ToolButtonZoomTo->setEnabled(false);
    QApplication::processEvents();
}

// --- the drawing's selection to the grid -----------------------------------------------------

void TFormResults::DisplayRowWithSelectedId()
{
    if (!host_.ResultsMode())
        return;
    const TNetworkStates &states = host_.NetworkStates();
    if (states.CurrentNodeIdSelected > 0)
        DisplayRowWithNodeId(states.CurrentNodeIdSelected);
    if (states.CurrentPipeIdSelected > 0)
        DisplayRowWithPipeId(states.CurrentPipeIdSelected);
}

namespace {

// The last row after row 0 whose id cell holds the id; ids below 1 name no
// item, so they match no row (a title cell also reads as 0).
int RowOfId(const TStringGrid &grid, int id)
{
    int found = 2;
    if (id < 1)
        return found;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (TFormResults::GetCellIdValue(grid.Cell(0, row)) == id)
            found = row;
    return found;
}

} // namespace

void TFormResults::DisplayRowWithPipeId(int TheCellId)
{
    if (!IsPipeTab(CurrentTab()))
        return;
    CurrentRow = RowOfId(grid_, TheCellId);
    setGridCell(std::max(StringGridResults->currentColumn(), 1), CurrentRow);
    StringGridResults->viewport()->update();
}

void TFormResults::DisplayRowWithNodeId(int TheCellId)
{
    if (CurrentTab() != NodesTab)
        return;
    CurrentRow = RowOfId(grid_, TheCellId);
    setGridCell(std::max(StringGridResults->currentColumn(), 1), CurrentRow);
    StringGridResults->viewport()->update();
}

// --- the grid's selection to the drawing -----------------------------------------------------

void TFormResults::StringGridResultsSelectCell(int ACol, int ARow)
{
    CurrentRow = ARow;
    CurrentCol = ACol;
    const int tab = CurrentTab();
    const int id = GetCellIdValue(grid_.Cell(0, ARow));
    if (id > 0) {
        switch (tab) {
        case 1: host_.StatusBarShowPump(id); break;
        case NodesTab: host_.StatusBarShowNode(id); break;
        case PipeFittingsTab: host_.StatusBarShowFitting(id); break;
        case FluidZonesTab:
        case AllResultsTab: break;
        default: host_.StatusBarShowPipe(id); break;
        }
    }
    host_.ClearNetworkStates();
    TNetworkStates &states = host_.NetworkStates();
    if (id > 0 && IsPipeTab(tab))
        states.CurrentPipeIdSelected = id;
    if (id > 0 && tab == NodesTab)
        states.CurrentNodeIdSelected = id;
    host_.RefreshScreen(true);
    StringGridResults->viewport()->update();
}

void TFormResults::StringGridResultsTopLeftChanged()
{
    const int leftCol = StringGridResults->columnAt(0);
    if (leftCol < 0 || leftCol == CurrentCol)
        return;
    CurrentCol = leftCol;
    StringGridResultsSelectCell(CurrentCol, CurrentRow);
    setGridCell(CurrentCol, CurrentRow);
}

TColor TFormResults::CellColor(int ACol, int ARow) const
{
    const int tab = CurrentTab();
    const int h = tab == EnergyTab ? 2 : 1;
    if (ARow == CurrentRow && ACol != 0 && ARow > h)
        return clYellow;
    if (ARow >= h + 1 && ACol != 0)
        return clWhite;
    if (ACol == 0 && ARow >= h + 1 && network_ && network_->ConfigOptions.UseResultsColors &&
        !grid_.Cell(0, ARow).empty()) {
        TNetwork &n = *network_;
        const int id = GetCellIdValue(grid_.Cell(0, ARow));
        // Decided by the item itself: the colour list holds twelve pipe
        // items, so a position test would take the last one for a node item.
        const TResultsColorItemEnum item = n.ConfigOptions.ResultsColorItem;
        const bool nodeItem = item == ResultsPressure || item == ResultsHGL || item == ResultsElevation;
        try {
            if (tab == 0 && !nodeItem && id > 0 && !n.IsPipeClosed(id))
                return n.GetColorFromItemMinMaxValues(n.GetResultsColorPipeItemValue(id));
            if (tab == NodesTab && nodeItem && id > 0)
                return n.GetColorFromItemMinMaxValues(n.GetResultsColorNodeItemValue(id));
        } catch (const std::exception &) {
            // An id the network no longer holds keeps the plain colour.
        }
    }
    return ButtonFaceColor;
}

// --- sorting, keys and the mouse -------------------------------------------------------------

void TFormResults::StringGridResultsMouseDownOnCell(int ACol, int ARow)
{
    const int tab = CurrentTab();
    const int fixedRows = FixedRowsOfTab(tab);
    if (ARow >= 0 && ARow < fixedRows) {
        if (tab == PipeFittingsTab) {
            Dialogs().ShowMessage(TDialogKind::Information, FittingsUnsortedText, this);
        } else if (tab == AllResultsTab) {
            Dialogs().ShowMessage(TDialogKind::Information, AllResultsUnsortedText, this);
        } else if (ACol >= 0 && ACol < GridColumns) {
            int &flag = sortFlags_[static_cast<std::size_t>(ACol)];
            flag = (flag + 1) % 2;
            TNetwork::SortStringGrid(grid_, ACol, fixedRows, flag);
            // The user's column widths stay.
            showGridInWidget(false);
            DisplayRowWithSelectedId();
        }
    }
    host_.RepaintStatusBar();
}

void TFormResults::StringGridResultsKeyPress()
{
    Dialogs().ShowMessage(TDialogKind::Confirmation, ReadOnlyText, this);
}

void TFormResults::StringGridResultsMouseMove()
{
    host_.HideHoverPanel();
    const TNetworkStates &states = host_.NetworkStates();
    ToolButtonZoomTo->setEnabled(states.CurrentPipeIdSelected > 0 || states.CurrentNodeIdSelected > 0);
}

void TFormResults::StringGridResultsDblClick() { ToolButtonZoomToClick(); }

void TFormResults::ToolButtonZoomToClick()
{
    if (host_.NetworkStates().CurrentPipeIdSelected > 0)
        host_.ZoomtoPipe();
    else
        host_.ZoomtoNode();
}

bool TFormResults::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGridResults->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QModelIndex index = StringGridResults->indexAt(mouse->position().toPoint());
            const bool onTitle = index.isValid() && index.row() < FixedRowsOfTab(CurrentTab());
            if (index.isValid())
                StringGridResultsMouseDownOnCell(index.column(), index.row());
            else
                host_.RepaintStatusBar();
            // A title cell is no cell to select.
            if (onTitle)
                return true;
        } else if (event->type() == QEvent::MouseMove) {
            StringGridResultsMouseMove();
        }
    } else if (watched == StringGridResults && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Characters would edit a cell; moving keys still move.
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            StringGridResultsKeyPress();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- units -----------------------------------------------------------------------------------

void TFormResults::ToolButton2Click()
{
    if (!network_)
        return;
    TNetwork *network = network_;
    host_.OpenUnitsOptions(network->ConfigOptions, *network);
    SetNetwork(network);
    host_.RefreshScreen(true);
}

void TFormResults::changeUnitSystem(bool Imperial)
{
    if (!network_)
        return;
    TConfigOptions &options = network_->ConfigOptions;
    const QString title = Imperial ? QStringLiteral("Change To Imperial Units") : QStringLiteral("Change To Metric Units");
    const std::string summary = Imperial ? unitsSummaryImperial(options.PressureReference)
                                         : unitsSummaryMetric(options.PressureReference);
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            title + "\r\rThe Units will be set as follows: \r\r" + QString::fromStdString(summary) +
                                "\r\r" + "All existing values will be converted to the new units." + "\r\r" +
                                "Do you wish to proceed?",
                            this))
        return;
    if (Imperial)
        options.SetImperialUnits();
    else
        options.SetMetricUnits();
    SetNetwork(network_);
    // The drawing's labels show the same units.
    host_.RefreshScreen(true);
}

void TFormResults::ImperialUnits1Click() { changeUnitSystem(true); }

void TFormResults::MetricUnits1Click() { changeUnitSystem(false); }

// --- exports ---------------------------------------------------------------------------------

void TFormResults::SaveToExcel1Click() { SaveStringGridToExcelAsked(grid_, SheetName.toStdString(), this); }

void TFormResults::ExportToExcel1Click() { ExportStringGridToExcel(grid_, SheetName.toStdString(), 14); }

QString TFormResults::ClipboardText() const
{
    QString text;
    for (int row = 0; row < grid_.RowCount(); ++row) {
        for (int col = 0; col < GridColumns; ++col) {
            text += QString::fromStdString(grid_.Cell(col, row));
            text += QLatin1Char('\t');
        }
        text += QLatin1Char('\r');
    }
    return text;
}

void TFormResults::SavetoClipboard1Click() { QApplication::clipboard()->setText(ClipboardText()); }

// --- showing and docking ---------------------------------------------------------------------

void TFormResults::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormResults::FormShow()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(0xFFFAF1));
    setPalette(colours);
    setLeftCol(1);
    setTopRow(2);
    repaint();
    StringGridResultsSelectCell(0, 0);
    for (int i = 0; i < 2; ++i) {
        StringGridResults->viewport()->repaint();
        QApplication::processEvents();
    }
    EnergyUnitsFlag = 0;
    if (firstShow_) {
        ToolButtonDockBottomClick();
        firstShow_ = false;
    }
}

void TFormResults::ToolButtonDockBottomClick()
{
    const QRect main = host_.MainWindowFrame();
    const int a = static_cast<int>(main.height() / 2.5);
    move(main.left() + host_.PanelPipesWidth() + 9, main.top() + main.height() - a);
    resize(host_.DrawingAreaWidth() - 26, a - 25);
    repaint();
    DisplayRowWithSelectedId();
}

void TFormResults::ToolButtonDockRightClick()
{
    const QRect main = host_.MainWindowFrame();
    const int v = static_cast<int>(host_.DrawingAreaWidth() / 2.5);
    move(main.left() + main.width() - v - 29, main.top() + 133);
    resize(v, main.height() - 180);
    repaint();
    DisplayRowWithSelectedId();
}

} // namespace tessaran
