#pragma once
// The edit grid: the input data of every item of the current network as a
// sheet, one tab per kind of item, one row per item, all values in the
// network's display units. Cell edits (on every keystroke) and bulk updates
// of a column write straight into the network; there is no undo. The grid
// also filters its rows, exports them to a spreadsheet file, changes the
// display units, highlights the selected row's item on the drawing and
// opens the pump data editor for a curve pump.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableWidget;
class QToolButton;

namespace tessaran {

class TMainWindowServices;
class TNetwork;
class TPipe;
class TNode;
class TPump;
class TPumpDatabase;
class TStringGrid;
struct TFluid;

// The pump data editor as the edit grid opens it: shows the editor
// modally for the pump of a pipe and returns when it closes, with ThePump
// holding the pump as the editor left it and DeletePump telling whether the
// user asked to delete it.
class TEditGridPumpEditor {
public:
    virtual ~TEditGridPumpEditor() = default;
    virtual void OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                          bool &DeletePump, bool ResultsMode) = 0;
};

class TPipeDataForm : public QDialog {
    Q_OBJECT
public:
    // The tabs, in their order.
    enum TGridTab : int {
        TabPipes,
        TabTanks,
        TabEndPressures,
        TabNodes,
        TabFCVs,
        TabPRVs,
        TabBPVs,
        TabCvValues,
        TabKvValues,
        TabFixedLosses,
        TabPumpsFixedFlow,
        TabPumpsFixedHead,
        TabPumpsCurve,
        TabCount
    };
    // The comparisons of the filter, in the list's order.
    enum TFilterCriteria : int { FilterEquals, FilterStartsWith, FilterLessThan, FilterMoreThan };

    explicit TPipeDataForm(TMainWindowServices &MainWindow, QWidget *parent = nullptr);

    // The editor "View/Edit" opens; without one the link does nothing.
    void SetPumpEditor(TEditGridPumpEditor *Editor) { pumpEditor_ = Editor; }

    // Shows the grid modally on the network; returns when it closes. Edits
    // are already in the network by then.
    void OpenForm(TNetwork &TheNetwork);

    // The sheet title of a tab's export.
    static QString SheetTitle(int Tab);
    // The grid as shown (title, units and listed rows), as plain texts.
    TStringGrid GridContents() const;

    // Yes and no texts of the "Used in Model" cells and bulk updates: "No",
    // "No (Not In Use)", "False", "n", "f" are No; "Yes", "True", "y", "t"
    // and the empty text are Yes, all in any letter case; false for any
    // other text.
    static bool CheckCellValueYesNoString(const QString &Text, bool &Yes);
    static QString GetCellValueYesNoString(bool Yes);
    // Yes only for a text that CheckCellValueYesNoString reads as Yes.
    static bool IsStringYesOrTrue(const QString &Text);
    // The item id of a grid row (column 0); 0 for anything but a positive
    // integer.
    int GetCellIdValue(int Row) const;
    // For the ordered comparisons: a text that reads as a number becomes it
    // with 10 decimals and leading zeros to at least 21 characters.
    static std::string FormatGridCellNumber(const std::string &Text);

    // Event handlers.
    void TabControlForStringGridChange();
    void CheckBoxFilterClick();
    void BitBtnShowRowsClick();
    void StringGridDataSelectCell(int ACol, int ARow);
    // Runs whenever the text of the cell being edited changes; the cell
    // already holds Value.
    void StringGridDataSetEditText(int ACol, int ARow, const QString &Value);
    void BitBtnUpdateRowsClick();
    void ToolButton1Click();
    void Imperial1Click();
    void Metric1Click();
    void SpecifyUnits1Click();
    void ExportToExcel1Click();
    void SaveToExcel1Click();

    QTabBar *TabControlForStringGrid;
    QTableWidget *StringGridData;
    QCheckBox *CheckBoxFilter;
    QComboBox *ComboBoxShowColumn;
    QComboBox *ComboBoxShowCriteria;
    QLineEdit *EditShowValue;
    QPushButton *BitBtnShowRows;
    QComboBox *ComboBoxUpdateColumn;
    QLineEdit *EditUpdateValue;
    QPushButton *BitBtnUpdateRows;
    QPushButton *BitBtn1;
    QToolButton *ToolButtonSaveResults;
    QToolButton *ToolButtonExcel;
    QToolButton *ToolButtonUnits;
    QToolButton *ToolButton1;
    QAction *SaveToExcel1;
    QAction *ExportToExcel1;
    QAction *Imperial1;
    QAction *Metric1;
    QAction *SpecifyUnits1;

private:
    friend class TCellEditDelegate;

    int tab() const;
    bool isPipeTab() const;
    void ClearStringGrid();
    void PopulateStringGridFromSelectedTab();
    void PopulateFilterBoxesFromSelectedTab();
    void PopulateUpdateColumnsFromSelectedTab();
    void FilterStringGridForSelectedTabAndFilterColumn();
    // The grid filled (and filtered when the filter is on with a value).
    void refillKeepingFilter();
    void fillGrid(const TStringGrid &grid);
    void styleCell(int col, int row);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    // The cell back to the text it had when it was selected.
    void putBack(int col, int row);
    void keepWrittenText(int col, int row);
    void cellTextEdited(class QLineEdit *editor, int col, int row, const QString &text);
    // Every write into the network keeps it marked as changed, also across
    // the main window's editing-state resets.
    void markChanged();
    void clearMainWindowStates();
    void changeUnits(bool imperial);

    // Cell edit rules (Pipe_Data_Form_Edits.cpp).
    enum class TCellRule { None, Text, Numeric, NumericNegative, YesNo };
    TCellRule cellRule(int col) const;
    void applyCellRule(int col, int row, int id, const QString &text, double value);
    void pipeDiameter(TPipe &pipe, int pipeId, double value, int row, int nominalColumn);
    void nodePressure(TNode &node, int nodeId, double value, int col, int row, bool vacuumLimit);
    void nodeDemand(TNode &node, int nodeId, double value, bool supply);
    void valveFlow(TPipe &pipe, int pipeId, double value, bool massFlow, int row, bool writeOtherCell);
    void pumpFlow(TPipe &pipe, int pipeId, double value, bool massFlow, int row, bool writeOtherCell);
    void setUseFlag(TPipe &pipe, bool yes);
    const TFluid &nodeFluid(int nodeId) const;

public:
    // Bulk update of one row; valid false when the value does not suit the
    // chosen column (nothing is written then).
    void UpdateValueForSelectedTabAndColumnAndRow(int Tab, int Choice, bool &Valid, int Row);
    void UpdateStringGridForSelectedTabAndUpdateColumn(bool &Valid);

private:
    TMainWindowServices &mainWindow_;
    TEditGridPumpEditor *pumpEditor_ = nullptr;
    TNetwork *network_ = nullptr;
    int selectedRow_ = 0;
    int selectedColumn_ = 0;
    QString savedCellText_;
    // The editor of the cell being typed in, while its text is handled.
    QLineEdit *editor_ = nullptr;
    // Set while the form fills the grid.
    bool filling_ = false;
    bool edited_ = false;
};

} // namespace tessaran
