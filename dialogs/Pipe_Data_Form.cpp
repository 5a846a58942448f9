#include "dialogs/Pipe_Data_Form.h"

#include <algorithm>
#include <array>
#include <exception>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Main_Window_Services.h"
#include "dialogs/Dialog_Look.h"
#include "dialogs/Excel_Functions.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Form_Message.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

constexpr int FixedRows = 2;
constexpr int FixedCols = 1;
// The pipe and item columns of "Material/Sch", filtered as one.
constexpr int MaterialAndScheduleColumn = -1;

struct TFilterChoice {
    const char *Caption;
    int Column;
};

std::vector<TFilterChoice> PipeItemFilterChoices(std::initializer_list<TFilterChoice> own)
{
    std::vector<TFilterChoice> choices{{"Pipe Id", 0}, {"Pipe Name", 1}, {"Nominal Size", 2}, {"Diameter", 3}};
    choices.insert(choices.end(), own.begin(), own.end());
    return choices;
}

const std::vector<TFilterChoice> &FilterChoices(int tab)
{
    static const std::array<std::vector<TFilterChoice>, TPipeDataForm::TabCount> choices{{
        {{"Pipe Id", 0},
         {"Pipe Name", 1},
         {"Nominal Size", 2},
         {"Material/Sch", MaterialAndScheduleColumn},
         {"Diameter", 5},
         {"Roughness", 6},
         {"Length", 7}},
        {{"Node Id", 0}, {"Node Name", 2}, {"Elevation", 3}, {"Liquid Level", 4}, {"Surface Press.", 5}},
        {{"Node Id", 0}, {"Node Name", 2}, {"Elevation", 3}, {"End Pressure", 4}},
        {{"Node Id", 0}, {"Node Name", 2}, {"Elevation", 3}, {"In-Flow Demand", 4}, {"Out-Flow Demand", 5}},
        PipeItemFilterChoices({{"FCV Name", 4}, {"Flow Rate", 5}, {"Mass Flow Rate", 6}}),
        PipeItemFilterChoices({{"PRV Name", 4}, {"PRV Pressure", 5}}),
        PipeItemFilterChoices({{"BPV Name", 4}, {"BPV Pressure", 5}}),
        PipeItemFilterChoices({{"Comp. Name", 4}, {"Cv", 5}}),
        PipeItemFilterChoices({{"Comp. Name", 4}, {"Kv", 5}}),
        PipeItemFilterChoices({{"Comp. Name", 4}, {"Fixed Loss", 5}}),
        PipeItemFilterChoices({{"Pump Name", 4}, {"Fixed Flow", 5}}),
        PipeItemFilterChoices({{"Pump Name", 4}, {"Fixed Head", 5}}),
        PipeItemFilterChoices({{"Pump Name", 4}, {"Speed", 5}, {"Impeller Diam", 6}}),
    }};
    return choices[static_cast<std::size_t>(tab)];
}

const QStringList &UpdateChoices(int tab)
{
    static const std::array<QStringList, TPipeDataForm::TabCount> choices{{
        {"Diameter", "Roughness", "Length"},
        {"Elevation", "Liquid Level", "Surface Press."},
        {"Elevation", "End Pressure"},
        {"Elevation", "In-Flow Demand", "Out-Flow Demand"},
        {"FCV Name", "Flow Rate", "Mass Flow Rate", "Used in Model"},
        {"PRV Name", "PRV Pressure", "Used in Model"},
        {"BPV Name", "BPV Pressure", "Used in Model"},
        {"Comp. Name", "Cv", "Used in Model"},
        {"Comp. Name", "Kv", "Used in Model"},
        {"Comp. Name", "Fixed Loss", "Used in Model"},
        {"Pump Name", "Flow Rate", "Mass Flow", "Used in Model"},
        {"Pump Name", "Fixed Head", "Used in Model"},
        {"Pump Name", "Speed", "Impeller Diam", "Used in Model"},
    }};
    return choices[static_cast<std::size_t>(tab)];
}

const char *const TabCaptions[TPipeDataForm::TabCount] = {
    "Pipes",     "Tanks",     "End Pressures", "Nodes",
    "FCVs",      "PRVs",      "BPVs",          "Cv Values",
    "Kv Values", "Fixed Losses", "Pumps (Fixed Flow)", "Pumps (Fixed Head)",
    "Pumps (Curve)"};

const char *const SheetTitles[TPipeDataForm::TabCount] = {"TRZ - Pipe Data",
                                                         "TRZ - Tank Data",
                                                         "TRZ - End Pressure Data",
                                                         "TRZ - Join Points Data",
                                                         "TRZ - Flow Control Valve Data",
                                                         "TRZ - PRV Data",
                                                         "TRZ - BPV Data",
                                                         "TRZ - Cv Data",
                                                         "TRZ - Kv Data",
                                                         "TRZ - Fixed Loss Data",
                                                         "TRZ - Pumps with Fixed Flow",
                                                         "TRZ - Pumps with Fixed Head",
                                                         "TRZ - Pumps with Flow Curve"};

// The link-style column of "Pumps (Curve)".
constexpr int CurveLinkColumn = 7;

bool ReadsAsReal(const std::string &text, double &value)
{
    bool valid = false;
    value = ReadRealFromString(text, valid, true, true, userDecimalSeparator());
    return valid;
}

} // namespace

// The grid's cell editor: a line edit whose every change is handed to the
// form at once, as the user types.
class TCellEditDelegate : public QStyledItemDelegate {
public:
    explicit TCellEditDelegate(TPipeDataForm *form) : QStyledItemDelegate(form), form_(form) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("StringGridDataEditor"));
        editor->setFrame(false);
        const QPersistentModelIndex at(index);
        TPipeDataForm *form = form_;
        QObject::connect(editor, &QLineEdit::textEdited, form, [form, editor, at](const QString &text) {
            if (at.isValid())
                form->cellTextEdited(editor, at.column(), at.row(), text);
        });
        return editor;
    }

    // The editor keeps its text (and cursor) when the cell is written with
    // the text it already shows.
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

private:
    TPipeDataForm *form_;
};

TPipeDataForm::TPipeDataForm(TMainWindowServices &MainWindow, QWidget *parent)
    : QDialog(parent), mainWindow_(MainWindow)
{
    setObjectName(QStringLiteral("PipeDataForm"));
    setWindowTitle(QStringLiteral("Edit Grid - Sheet View"));
    resize(1100, 640);

    auto *menuBar = Named<QMenuBar>("MainMenu1", this);
    QMenu *fileMenu = menuBar->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("File1"));
    SaveToExcel1 = fileMenu->addAction(QStringLiteral("Save To Excel..."));
    SaveToExcel1->setObjectName(QStringLiteral("SaveToExcel1"));
    ExportToExcel1 = fileMenu->addAction(QStringLiteral("Export To Excel"));
    ExportToExcel1->setObjectName(QStringLiteral("ExportToExcel1"));
    QMenu *unitsMenu = menuBar->addMenu(QStringLiteral("Units"));
    unitsMenu->setObjectName(QStringLiteral("Units1"));
    Imperial1 = unitsMenu->addAction(QStringLiteral("Imperial Units"));
    Imperial1->setObjectName(QStringLiteral("Imperial1"));
    Metric1 = unitsMenu->addAction(QStringLiteral("Metric Units"));
    Metric1->setObjectName(QStringLiteral("Metric1"));
    SpecifyUnits1 = unitsMenu->addAction(QStringLiteral("Specify Units..."));
    SpecifyUnits1->setObjectName(QStringLiteral("SpecifyUnits1"));

    const auto toolButton = [this](const char *name, const QString &text, const QString &hint) {
        auto *button = Named<QToolButton>(name, this);
        button->setText(text);
        button->setToolTip(hint);
        return button;
    };
    ToolButtonSaveResults = toolButton("ToolButtonSaveResults", QStringLiteral("Save"), QStringLiteral("Save Results"));
    ToolButtonExcel = toolButton("ToolButtonExcel", QStringLiteral("Export"), QStringLiteral("Export Results to Excel"));
    ToolButtonUnits = toolButton("ToolButtonUnits", QStringLiteral("Units"), QStringLiteral("Change Display Units"));
    ToolButton1 = toolButton("ToolButton1", QStringLiteral("Zoom"), QStringLiteral("Zoom to Highlighted Item"));

    TabControlForStringGrid = Named<QTabBar>("TabControlForStringGrid", this);
    TabControlForStringGrid->setExpanding(false);
    for (const char *caption : TabCaptions)
        TabControlForStringGrid->addTab(QString::fromLatin1(caption));

    StringGridData = Named<QTableWidget>("StringGridData", this);
    // Titles and units are the grid's own first two rows; the thin header
    // above them is only there to drag column widths.
    StringGridData->horizontalHeader()->setFixedHeight(6);
    StringGridData->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGridData->verticalHeader()->hide();
    StringGridData->verticalHeader()->setDefaultSectionSize(16);
    StringGridData->horizontalHeader()->setDefaultSectionSize(100);
    StringGridData->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridData->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGridData->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    StringGridData->setTabKeyNavigation(true);
    StringGridData->setItemDelegate(new TCellEditDelegate(this));
    QPalette palette = StringGridData->palette();
    palette.setColor(QPalette::Highlight, QColor(255, 255, 0));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    StringGridData->setPalette(palette);

    CheckBoxFilter = Named<QCheckBox>("CheckBoxFilter", QStringLiteral("Filter"), this);
    ComboBoxShowColumn = Named<QComboBox>("ComboBoxShowColumn", this);
    ComboBoxShowCriteria = Named<QComboBox>("ComboBoxShowCriteria", this);
    ComboBoxShowCriteria->addItems({QStringLiteral("equals"), QStringLiteral("starts with"),
                                    QStringLiteral("less than"), QStringLiteral("more than")});
    EditShowValue = Named<QLineEdit>("EditShowValue", this);
    EditShowValue->setMaxLength(60);
    BitBtnShowRows = Named<QPushButton>("BitBtnShowRows", QStringLiteral("Show Rows"), this);
    ComboBoxUpdateColumn = Named<QComboBox>("ComboBoxUpdateColumn", this);
    EditUpdateValue = Named<QLineEdit>("EditUpdateValue", this);
    EditUpdateValue->setMaxLength(40);
    BitBtnUpdateRows = Named<QPushButton>("BitBtnUpdateRows", QStringLiteral("Update Rows"), this);
    BitBtn1 = Named<QPushButton>("BitBtn1", QStringLiteral("Done"), this);
    for (QPushButton *button : {BitBtnShowRows, BitBtnUpdateRows, BitBtn1})
        button->setAutoDefault(false);
    for (QComboBox *list : {ComboBoxShowColumn, ComboBoxShowCriteria, ComboBoxUpdateColumn})
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    auto *tools = new QHBoxLayout;
    for (QToolButton *button : {ToolButtonSaveResults, ToolButtonExcel, ToolButtonUnits, ToolButton1})
        tools->addWidget(button);
    tools->addStretch();
    layout->addLayout(tools);
    layout->addWidget(TabControlForStringGrid);
    layout->addWidget(StringGridData, 1);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(CheckBoxFilter);
    filterRow->addWidget(ComboBoxShowColumn);
    filterRow->addWidget(ComboBoxShowCriteria);
    filterRow->addWidget(EditShowValue);
    filterRow->addWidget(BitBtnShowRows);
    filterRow->addStretch();
    layout->addLayout(filterRow);
    auto *updateRow = new QHBoxLayout;
    updateRow->addWidget(new QLabel(QStringLiteral("Set"), this));
    updateRow->addWidget(ComboBoxUpdateColumn);
    updateRow->addWidget(new QLabel(QStringLiteral("="), this));
    updateRow->addWidget(EditUpdateValue);
    updateRow->addWidget(BitBtnUpdateRows);
    updateRow->addStretch();
    updateRow->addWidget(BitBtn1);
    layout->addLayout(updateRow);

    connect(TabControlForStringGrid, &QTabBar::currentChanged, this, [this] {
        if (!filling_)
            TabControlForStringGridChange();
    });
    connect(CheckBoxFilter, &QCheckBox::clicked, this, [this] { CheckBoxFilterClick(); });
    connect(BitBtnShowRows, &QPushButton::clicked, this, [this] { BitBtnShowRowsClick(); });
    connect(BitBtnUpdateRows, &QPushButton::clicked, this, [this] { BitBtnUpdateRowsClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(StringGridData, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (!filling_ && row >= 0 && col >= 0)
            StringGridDataSelectCell(col, row);
    });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButtonUnits, &QToolButton::clicked, this, [this] { SpecifyUnits1Click(); });
    connect(ToolButtonExcel, &QToolButton::clicked, this, [this] { ExportToExcel1Click(); });
    connect(ToolButtonSaveResults, &QToolButton::clicked, this, [this] { SaveToExcel1Click(); });
    connect(SaveToExcel1, &QAction::triggered, this, [this] { SaveToExcel1Click(); });
    connect(ExportToExcel1, &QAction::triggered, this, [this] { ExportToExcel1Click(); });
    connect(Imperial1, &QAction::triggered, this, [this] { Imperial1Click(); });
    connect(Metric1, &QAction::triggered, this, [this] { Metric1Click(); });
    connect(SpecifyUnits1, &QAction::triggered, this, [this] { SpecifyUnits1Click(); });
}

// --- Opening, tabs and filling -----------------------------------------------------------

void TPipeDataForm::OpenForm(TNetwork &TheNetwork)
{
    PaintDialogBackground(this, QColor(241, 250, 255));
    network_ = &TheNetwork;
    edited_ = false;
    selectedRow_ = selectedColumn_ = 0;
    savedCellText_.clear();
    {
        const QSignalBlocker blocker(TabControlForStringGrid);
        TabControlForStringGrid->setCurrentIndex(TabPipes);
    }
    CheckBoxFilter->setChecked(false);
    CheckBoxFilterClick();
    ClearStringGrid();
    PopulateFilterBoxesFromSelectedTab();
    PopulateUpdateColumnsFromSelectedTab();
    PopulateStringGridFromSelectedTab();
    StringGridData->setEnabled(true);
    BitBtnUpdateRows->setEnabled(true);
    QApplication::processEvents();
    exec();
    network_ = nullptr;
}

int TPipeDataForm::tab() const { return std::clamp(TabControlForStringGrid->currentIndex(), 0, TabCount - 1); }

bool TPipeDataForm::isPipeTab() const
{
    const int t = tab();
    return t == TabPipes || t >= TabFCVs;
}

QString TPipeDataForm::SheetTitle(int Tab)
{
    return QString::fromLatin1(SheetTitles[std::clamp(Tab, 0, TabCount - 1)]);
}

void TPipeDataForm::ClearStringGrid()
{
    const QSignalBlocker blocker(StringGridData);
    filling_ = true;
    StringGridData->clearContents();
    StringGridData->setRowCount(FixedRows + 1);
    filling_ = false;
}

void TPipeDataForm::TabControlForStringGridChange()
{
    PopulateFilterBoxesFromSelectedTab();
    PopulateUpdateColumnsFromSelectedTab();
    PopulateStringGridFromSelectedTab();
    selectedRow_ = selectedColumn_ = 0;
    savedCellText_.clear();
    {
        // No cell of the new table is highlighted.
        const QSignalBlocker blocker(StringGridData);
        StringGridData->setCurrentIndex(QModelIndex());
    }
    clearMainWindowStates();
}

void TPipeDataForm::PopulateFilterBoxesFromSelectedTab()
{
    ComboBoxShowCriteria->setCurrentIndex(FilterEquals);
    EditShowValue->clear();
    ComboBoxShowColumn->clear();
    for (const TFilterChoice &choice : FilterChoices(tab()))
        ComboBoxShowColumn->addItem(QString::fromLatin1(choice.Caption));
    ComboBoxShowColumn->setCurrentIndex(0);
}

void TPipeDataForm::PopulateUpdateColumnsFromSelectedTab()
{
    EditUpdateValue->clear();
    ComboBoxUpdateColumn->clear();
    ComboBoxUpdateColumn->addItems(UpdateChoices(tab()));
    ComboBoxUpdateColumn->setCurrentIndex(0);
}

void TPipeDataForm::PopulateStringGridFromSelectedTab()
{
    ClearStringGrid();
    if (!network_)
        return;
    TStringGrid grid;
    grid.DefaultColWidth = 100;
    grid.FixedRows = FixedRows;
    grid.FixedCols = FixedCols;
    int finish = 0;
    const TNetwork &n = *network_;
    try {
        switch (tab()) {
        case TabPipes: n.PopulateStringGridPipeData(grid, 0, finish); break;
        case TabTanks: n.PopulateStringGridTankData(grid, 0, finish); break;
        case TabEndPressures: n.PopulateStringGridEndPressureData(grid, 0, finish); break;
        case TabNodes: n.PopulateStringGridJointData(grid, 0, finish); break;
        case TabFCVs: n.PopulateStringGridFCVData(true, true, grid, 0, finish); break;
        case TabPRVs: n.PopulateStringGridPRVData(true, true, grid, 0, finish); break;
        case TabBPVs: n.PopulateStringGridBPVData(true, true, grid, 0, finish); break;
        case TabCvValues: n.PopulateStringGridComponentCvData(true, true, grid, 0, finish); break;
        case TabKvValues: n.PopulateStringGridComponentKvData(true, true, grid, 0, finish); break;
        case TabFixedLosses: n.PopulateStringGridComponentFixedLossData(true, true, grid, 0, finish); break;
        case TabPumpsFixedFlow: n.PopulateStringGridPumpsFixedFlowData(true, true, grid, 0, finish); break;
        case TabPumpsFixedHead: n.PopulateStringGridPumpsFixedHeadData(true, true, grid, 0, finish); break;
        case TabPumpsCurve: n.PopulateStringGridPumpsCurveData(true, true, grid, 0, finish); break;
        default: break;
        }
    } catch (const std::exception &error) {
        // A table that cannot be written (a unit the values cannot be shown
        // in) is shown empty rather than half-filled.
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("The table could not be filled.\r\r") + QString::fromStdString(error.what()),
                              this);
        grid.SetRowCount(std::min(grid.RowCount(), FixedRows));
    }
    fillGrid(grid);
}

void TPipeDataForm::fillGrid(const TStringGrid &grid)
{
    const QSignalBlocker blocker(StringGridData);
    filling_ = true;
    StringGridData->clearContents();
    const int cols = std::max(grid.ColCount(), FixedCols + 1);
    // An empty table still shows one (empty) data row below its headings.
    const int rows = std::max(grid.RowCount(), FixedRows + 1);
    StringGridData->setColumnCount(cols);
    StringGridData->setRowCount(rows);
    StringGridData->setHorizontalHeaderLabels(QStringList(cols, QString()));
    for (int col = 0; col < cols; ++col)
        StringGridData->setColumnWidth(col, col < grid.ColCount() ? grid.ColWidth(col) : 100);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            StringGridData->setItem(row, col, new QTableWidgetItem(QString::fromStdString(grid.Cell(col, row))));
            styleCell(col, row);
        }
    filling_ = false;
}

// Headings and ids are fixed cells: grey and not editable. The curve column
// of "Pumps (Curve)" is drawn as a link.
void TPipeDataForm::styleCell(int col, int row)
{
    QTableWidgetItem *item = StringGridData->item(row, col);
    if (!item)
        return;
    if (row < FixedRows || col < FixedCols) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(StringGridData->palette().button());
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        item->setBackground(Qt::white);
    }
    item->setForeground(Qt::black);
    if (tab() == TabPumpsCurve && col == CurveLinkColumn && row >= 1) {
        item->setForeground(QColor(0, 0, 255));
        QFont font = item->font();
        font.setUnderline(true);
        item->setFont(font);
    }
}

QString TPipeDataForm::cell(int col, int row) const
{
    const QTableWidgetItem *item = StringGridData->item(row, col);
    return item ? item->text() : QString();
}

void TPipeDataForm::setCell(int col, int row, const QString &text)
{
    if (row < 0 || col < 0 || row >= StringGridData->rowCount() || col >= StringGridData->columnCount())
        return;
    QTableWidgetItem *item = StringGridData->item(row, col);
    if (!item) {
        StringGridData->setItem(row, col, new QTableWidgetItem(text));
        styleCell(col, row);
    } else {
        item->setText(text);
    }
    // The cell being typed in shows the new text in its editor as well.
    if (editor_ && StringGridData->currentRow() == row && StringGridData->currentColumn() == col)
        editor_->setText(text);
}

void TPipeDataForm::putBack(int col, int row) { setCell(col, row, savedCellText_); }

TStringGrid TPipeDataForm::GridContents() const
{
    TStringGrid grid(StringGridData->columnCount(), StringGridData->rowCount());
    grid.FixedRows = FixedRows;
    grid.FixedCols = FixedCols;
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) {
            grid.SetCell(col, row, cell(col, row).toStdString());
            grid.SetColWidth(col, StringGridData->columnWidth(col));
        }
    return grid;
}

int TPipeDataForm::GetCellIdValue(int Row) const
{
    bool valid = false;
    const std::int32_t id = ReadIntegerFromString(cell(0, Row).toStdString(), valid, false, false);
    return valid ? id : 0;
}

// --- Main window state ---------------------------------------------------------------------

void TPipeDataForm::markChanged()
{
    edited_ = true;
    mainWindow_.NetworkStates().SystemUpdatedSinceLoad = true;
}

void TPipeDataForm::clearMainWindowStates()
{
    TNetworkStates &states = mainWindow_.NetworkStates();
    // Resetting the editing state must not forget unsaved changes, the
    // grid's own or earlier ones.
    const bool unsaved = states.SystemUpdatedSinceLoad || edited_;
    mainWindow_.ClearNetworkStates(states);
    states.SystemUpdatedSinceLoad = unsaved;
}

// --- Filter --------------------------------------------------------------------------------

void TPipeDataForm::CheckBoxFilterClick()
{
    const bool on = CheckBoxFilter->isChecked();
    for (QWidget *control :
         std::initializer_list<QWidget *>{ComboBoxShowColumn, ComboBoxShowCriteria, EditShowValue, BitBtnShowRows})
        control->setEnabled(on);
    if (on) {
        ComboBoxShowColumn->setFocus();
        if (isVisible())
            ComboBoxShowColumn->showPopup();
    } else {
        PopulateStringGridFromSelectedTab();
    }
}

void TPipeDataForm::BitBtnShowRowsClick()
{
    TFormMessageShown wait(QStringLiteral("Filtering Edit Grid... Please Wait."), this);
    StringGridData->setEnabled(false);
    PopulateStringGridFromSelectedTab();
    FilterStringGridForSelectedTabAndFilterColumn();
    StringGridData->setEnabled(true);
}

std::string TPipeDataForm::FormatGridCellNumber(const std::string &Text)
{
    double value = 0;
    if (!ReadsAsReal(Text, value))
        return Text;
    return formatFixedZeroPadded(10, 10, value);
}

void TPipeDataForm::FilterStringGridForSelectedTabAndFilterColumn()
{
    const std::vector<TFilterChoice> &choices = FilterChoices(tab());
    const int choice = ComboBoxShowColumn->currentIndex();
    if (choice < 0 || choice >= static_cast<int>(choices.size()))
        return;
    const int column = choices[static_cast<std::size_t>(choice)].Column;
    const int criteria = ComboBoxShowCriteria->currentIndex();
    const std::string key0 = FilterMatchKey(EditShowValue->text().toStdString());

    const QSignalBlocker blocker(StringGridData);
    filling_ = true;
    int row = FixedRows;
    while (row < StringGridData->rowCount()) {
        std::string value;
        if (column == MaterialAndScheduleColumn)
            value = FilterMatchKey(cell(3, row).toStdString()) + "/" + FilterMatchKey(cell(4, row).toStdString());
        else
            value = FilterMatchKey(cell(column, row).toStdString());
        std::string key = key0;
        if (criteria != FilterStartsWith) {
            double keyNumber = 0, valueNumber = 0;
            if (ReadsAsReal(key, keyNumber) && ReadsAsReal(value, valueNumber)) {
                key = formatFixed(6, keyNumber);
                value = formatFixed(6, valueNumber);
            }
        }
        bool keep = false;
        switch (criteria) {
        case FilterEquals: keep = value == key; break;
        case FilterStartsWith: keep = value.substr(0, key.size()) == key; break;
        case FilterLessThan: keep = FormatGridCellNumber(value) < FormatGridCellNumber(key); break;
        case FilterMoreThan: keep = FormatGridCellNumber(value) > FormatGridCellNumber(key); break;
        default: keep = true; break;
        }
        if (keep)
            ++row;
        else
            StringGridData->removeRow(row);
    }
    filling_ = false;
}

void TPipeDataForm::refillKeepingFilter()
{
    PopulateStringGridFromSelectedTab();
    if (CheckBoxFilter->isChecked() && !EditShowValue->text().trimmed().isEmpty())
        FilterStringGridForSelectedTabAndFilterColumn();
}

// --- Selection -----------------------------------------------------------------------------

void TPipeDataForm::StringGridDataSelectCell(int ACol, int ARow)
{
    selectedRow_ = ARow;
    selectedColumn_ = ACol;
    savedCellText_ = cell(ACol, ARow);
    if (!network_)
        return;
    const int id = GetCellIdValue(ARow);
    const int pipeId = isPipeTab() ? id : 0;
    const int nodeId = isPipeTab() ? 0 : id;

    if (tab() == TabPumpsCurve && ACol == CurveLinkColumn && pipeId > 0 && pumpEditor_) {
        bool deletePump = false;
        pumpEditor_->OpenForm(mainWindow_.PumpDatabase(), network_->GetPipe(pipeId).Pump, pipeId, *network_,
                              deletePump, false);
        // The editor may have saved a changed pump into the pipe.
        markChanged();
        if (deletePump)
            Dialogs().ShowMessage(TDialogKind::Confirmation,
                                  QStringLiteral("Pump cannot be deleted when editing network data via the Edit Grid."),
                                  this);
    }

    clearMainWindowStates();
    TNetworkStates &states = mainWindow_.NetworkStates();
    states.CurrentPipeIdSelected = pipeId;
    states.CurrentNodeIdSelected = nodeId;
    mainWindow_.RefreshScreen(true);
}

void TPipeDataForm::ToolButton1Click()
{
    const TNetworkStates &states = mainWindow_.NetworkStates();
    if (states.CurrentPipeIdSelected > 0)
        mainWindow_.ZoomtoPipeBottomOfScreen();
    else if (states.CurrentNodeIdSelected > 0)
        mainWindow_.ZoomtoNodeBottomOfScreen();
}

// --- Units ---------------------------------------------------------------------------------

void TPipeDataForm::changeUnits(bool imperial)
{
    if (!network_)
        return;
    const TPressureReference reference = network_->ConfigOptions.PressureReference;
    const QString text =
        (imperial ? QStringLiteral("Change To Imperial Units\r\rThe Units will be set as follows: \r\r")
                  : QStringLiteral("Change To Metric Units\r\rThe Units will be set as follows: \r\r")) +
        QString::fromStdString(imperial ? unitsSummaryImperial(reference) : unitsSummaryMetric(reference)) +
        QStringLiteral("\r\r") + QStringLiteral("All existing values will be converted to the new units.") +
        QStringLiteral("\r\r") + QStringLiteral("Do you wish to proceed?");
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation, text, this))
        return;
    if (imperial)
        network_->ConfigOptions.SetImperialUnits();
    else
        network_->ConfigOptions.SetMetricUnits();
    markChanged();
    ClearStringGrid();
    refillKeepingFilter();
    mainWindow_.RefreshScreen(true);
}

void TPipeDataForm::Imperial1Click() { changeUnits(true); }

void TPipeDataForm::Metric1Click() { changeUnits(false); }

void TPipeDataForm::SpecifyUnits1Click()
{
    if (!network_)
        return;
    if (mainWindow_.OpenConfigForm(ConfigUnits, network_->ConfigOptions, *network_, false, false))
        markChanged();
    mainWindow_.RefreshScreen(true);
    ClearStringGrid();
    refillKeepingFilter();
    mainWindow_.RefreshScreen(true);
}

// --- Export --------------------------------------------------------------------------------

void TPipeDataForm::ExportToExcel1Click()
{
    ExportStringGridToExcel(GridContents(), SheetTitle(tab()).toStdString(), 14);
}

void TPipeDataForm::SaveToExcel1Click()
{
    SaveStringGridToExcelAsked(GridContents(), SheetTitle(tab()).toStdString(), this);
}

} // namespace tessaran
