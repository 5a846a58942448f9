#pragma once
// The results sheet: a window over the main window that shows one result
// table of the current network at a time, chosen by a row of tabs. The
// network fills the tables; the sheet keeps its row in step with the item
// selected on the drawing and the other way round, sorts by a pressed
// title, changes the display units, docks itself beside the drawing and
// exports the grid to a workbook file, to the desktop's spreadsheet program
// or to the clipboard.

#include "network/Config_Options.h"
#include "network/Network_States.h"
#include "network/User_Interface_Seam.h"

#include <QMainWindow>
#include <QRect>

#include <array>

class QAction;
class QTabBar;
class QTableWidget;
class QToolButton;

namespace tessaran {

class TNetwork;

// What the sheet asks of the main window; the main window implements it.
class TResultsSheetHost {
public:
    virtual ~TResultsSheetHost() = default;

    virtual bool ResultsMode() const = 0;
    // The main window's editing state: the selected pipe and node.
    virtual TNetworkStates &NetworkStates() = 0;
    virtual void ClearNetworkStates() = 0;
    virtual void RefreshScreen(bool ShowGridLines) = 0;
    // One line of results about the item in the status bar.
    virtual void StatusBarShowPipe(int PipeId) = 0;
    virtual void StatusBarShowPump(int PipeId) = 0;
    virtual void StatusBarShowNode(int NodeId) = 0;
    virtual void StatusBarShowFitting(int PipeId) = 0;
    virtual void RepaintStatusBar() = 0;
    virtual void HideHoverPanel() = 0;
    virtual void ZoomtoPipe() = 0;
    virtual void ZoomtoNode() = 0;
    // The options dialog on its units page, read-only results mode.
    virtual void OpenUnitsOptions(TConfigOptions &TheConfigOptions, TNetwork &TheNetwork) = 0;
    // Where the main window is (frame, screen pixels), the width of its
    // pipe panel and of its drawing area: the docked places follow them.
    virtual QRect MainWindowFrame() const = 0;
    virtual int PanelPipesWidth() const = 0;
    virtual int DrawingAreaWidth() const = 0;
};

class TFormResults : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int GridColumns = 26;
    static constexpr int TabCount = 13;
    static constexpr int PipeFittingsTab = 11;
    static constexpr int AllResultsTab = 12;
    static constexpr int EnergyTab = 7;
    static constexpr int NodesTab = 6;
    static constexpr int FluidZonesTab = 9;
    static constexpr int PipeMaterialsTab = 10;

    TFormResults(TResultsSheetHost &Host, QWidget *parent = nullptr);

    // Clears the grid and shows the network's table of the current tab.
    void SetNetwork(TNetwork *TheNetwork);
    TNetwork *Network() const { return network_; }
    // The selected node's row (on the Nodes tab) or the selected pipe's row
    // (on the pipe tabs); only in results mode.
    void DisplayRowWithSelectedId();
    void DisplayRowWithPipeId(int TheCellId);
    void DisplayRowWithNodeId(int TheCellId);
    void ClearResultsGrid();
    // The integer of an id cell; 0 when the text is no integer.
    static int GetCellIdValue(const std::string &CellString);
    // Fixed rows of a tab's table (3 on Energy, 1 on Pipe Fittings and All
    // Results, 2 elsewhere).
    static int FixedRowsOfTab(int TabIndex);
    static bool IsPipeTab(int TabIndex);

    // Event handlers of the components.
    void TabControlResultsGridChange();
    void StringGridResultsSelectCell(int ACol, int ARow);
    void StringGridResultsTopLeftChanged();
    void StringGridResultsMouseDownOnCell(int ACol, int ARow);
    void StringGridResultsKeyPress();
    void StringGridResultsMouseMove();
    void StringGridResultsDblClick();
    void ToolButtonZoomToClick();
    void ToolButton2Click();
    void SpecifyUnits1Click() { ToolButton2Click(); }
    void ImperialUnits1Click();
    void MetricUnits1Click();
    void SaveToExcel1Click();
    void ToolButtonSaveResultsClick() { SaveToExcel1Click(); }
    void ExportToExcel1Click();
    void ToolButton1Click() { ExportToExcel1Click(); }
    void SavetoClipboard1Click();
    void ToolButton3Click() { SavetoClipboard1Click(); }
    void ToolButtonDockBottomClick();
    void ToolButtonDockRightClick();
    void FormShow();

    // The grid's texts as the clipboard receives them: every cell followed by
    // a tab, every row by a carriage return.
    QString ClipboardText() const;
    // The grid's texts and column widths (what the exports write).
    const TStringGrid &Grid() const { return grid_; }
    int CurrentTab() const;
    void SetCurrentTab(int TabIndex);
    // The grid's current row (the one selected, or moved to by code).
    int GridRow() const;
    // Moves the grid's current cell and scroll position without selecting
    // anything on the drawing.
    void SetGridPosition(int Col, int Row, int LeftCol, int TopRow);
    // Background of a cell as the sheet paints it (0x00BBGGRR).
    TColor CellColor(int ACol, int ARow) const;
    int SortFlag(int ACol) const { return sortFlags_.at(static_cast<std::size_t>(ACol)); }

    int CurrentRow = 0;
    int CurrentCol = 0;
    int EnergyUnitsFlag = 0;

    QTabBar *TabControlResultsGrid = nullptr;
    QTableWidget *StringGridResults = nullptr;
    QToolButton *ToolButtonSaveResults = nullptr, *ToolButton1 = nullptr, *ToolButton3 = nullptr,
                *ToolButton2 = nullptr, *ToolButtonDockBottom = nullptr, *ToolButtonDockRight = nullptr,
                *ToolButtonZoomTo = nullptr;
    QAction *SaveToExcel1 = nullptr, *ExportToExcel1 = nullptr, *SavetoClipboard1 = nullptr,
            *ImperialUnits1 = nullptr, *MetricUnits1 = nullptr, *SpecifyUnits1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createComponents();
    void fillTable(int TabIndex);
    // Shows grid_ in the widget; a new table also brings its column widths.
    void showGridInWidget(bool TableWidths);
    // Moves the grid's current cell without running the selection step.
    void setGridCell(int ACol, int ARow);
    void setLeftCol(int ACol);
    void setTopRow(int ARow);
    void changeUnitSystem(bool Imperial);

    TResultsSheetHost &host_;
    TNetwork *network_ = nullptr;
    TStringGrid grid_;
    std::array<int, GridColumns> sortFlags_{};
    bool firstShow_ = true;
    int movingByCode_ = 0;
};

} // namespace tessaran
