#pragma once
// The fittings manager: the fittings of one pipe (at most five, each with a
// quantity and a place at the start or end of the pipe) chosen from the
// fittings database, and new fittings composed by hand or with the K
// calculators, stored in the user's list or put straight onto the pipe.

#include <array>
#include <string>
#include <vector>

#include <QDialog>

#include "model/FileHeader.h"
#include "model/Fitting_Set_Class.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaran {

class TChooseSymbolForm;
class TFittingCalculationForm;
class TGradualContractionCalculationForm;
class TGradualEnlargementCalculationForm;
class TLongPipeBendCalculationForm;
class TPipeEntranceCalculationForm;
class TRightEdit;
class TStringGridWidget;
class TSuddenContractionCalculationForm;
class TSuddenEnlargementCalculationForm;

class TFittingManagerForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int DatabaseSize = 5000;
    static constexpr int PipeFittingSetSize = 5;
    static constexpr int DatabaseGridHeight = 524;
    static constexpr int ShortDatabaseGridHeight = 416;
    static constexpr int DatabaseRowHeight = 17;
    static constexpr int PipeRowHeight = 18;
    static constexpr int NominalSizeCount = 44;

    explicit TFittingManagerForm(QWidget *parent = nullptr);
    ~TFittingManagerForm() override;

    void OpenFittingManager(TFittingSet &ThePipeFittingSet, int ThePipeId, const std::string &ThePipeName,
                            int TheNominalMetricSize, bool ResultsMode, TFittingPosition FittingPosition);

    // The 44 metric nominal sizes by list index 1..44; 0 for any other.
    static int NominalMetricSizeToIndex(int size_mm);
    static int IndexToNominalMetricSize(int index);

    // The folder that holds "FittingTables", with a trailing "/".
    std::string ProgramFolder;

    TFittingSet FittingDataSet{DatabaseSize};
    TFittingSet WorkingFittingSet{PipeFittingSetSize};
    TFileHeader FileHeader;
    TFittingPosition CurrentPosition() const { return currentPosition_; }

    // The fitting id a database grid row shows (0 for none).
    int DatabaseRowFittingId(int row) const;

    // Pipe band.
    QFrame *PipeBand;
    QLabel *PipeIdLabel;
    QLabel *PipeNameLabel;
    TStringGridWidget *PipeFittingDataStringGrid;
    QComboBox *QuantityComboBox;
    QComboBox *PositionComboBox;
    QPushButton *RemoveFromPipeBitBtn;
    QLabel *TotalKLabel;
    QPushButton *SaveBitBtn;
    QPushButton *ClearBitBtn;
    QPushButton *CancelBitBtn;

    // Database.
    TStringGridWidget *FittingDataStringGrid;
    QComboBox *MetricDiameterComboBox2;
    QComboBox *ImperialDiameterComboBox2;
    QPushButton *PipeSizeLabel;
    QPushButton *AddSelectedItemBitBtn;
    QPushButton *PreviousPageBitBtn;
    QPushButton *NextPageBitBtn;
    QPushButton *CreateNewFittingBitBtn;
    QPushButton *RemoveFittingBitBtn;

    // The six calculator buttons.
    QPushButton *PipeEntranceRadiusBitBtn;
    QPushButton *GradualEnlargementBitBtn;
    QPushButton *GradualContractionBitBtn;
    QPushButton *SuddenEnlargementBitBtn;
    QPushButton *SuddenContractionBitBtn;
    QPushButton *LongPipeBendBitBtn;

    // New-fitting panel.
    QFrame *NewFittingPanel;
    TStringGridWidget *NewFittingTitleStringGrid;
    QLabel *ChosenSymbolImage;
    QLineEdit *ImageIndexEdit;
    QLineEdit *SizeIndexEdit;
    QLineEdit *FittingTypeEdit;
    QComboBox *MetricDiameterComboBox;
    QComboBox *ImperialDiameterComboBox;
    QLineEdit *DescriptionEdit;
    TRightEdit *KValueEdit;
    QPushButton *ChangeImageButton;
    QPushButton *SaveNewEntryBitBtn;
    QPushButton *AddToPipeBitBtn;
    QPushButton *BitBtn1;
    QPushButton *HideNewFittingPanelBitBtn;

    TChooseSymbolForm *ChooseSymbolForm;
    TLongPipeBendCalculationForm *LongPipeBendCalculationForm;
    TSuddenContractionCalculationForm *SuddenContractionCalculationForm;
    TSuddenEnlargementCalculationForm *SuddenEnlargementCalculationForm;
    TGradualContractionCalculationForm *GradualContractionCalculationForm;
    TGradualEnlargementCalculationForm *GradualEnlargementCalculationForm;
    TPipeEntranceCalculationForm *PipeEntranceCalculationForm;

    // Commands, as the buttons and grids call them.
    void CreateNewFittingBitBtnClick();
    void HideCreateNewFittingPanel();
    void FittingDataStringGridClick();
    void MetricDiameterComboBoxClick(int index);
    void SetPipeSizeToNA();
    void ChangeImageButtonClick();
    void SaveNewEntryBitBtnClick();
    void AddToPipeBitBtnClick();
    void BitBtn1Click();
    void AddSelectedDatabaseFitting();
    void RemoveDatabaseFitting();
    void PipeGridRowClicked(int row);
    void ApplySizeFilter();
    void SortDatabaseColumn(int column);
    void PreviousPage();
    void NextPage();

private:
    void loadDatabase();
    void fillSizeLists();
    void DisplayPipeFittingList();
    void DisplayMainFittingList();
    void SetFittingDataGrid_MinimumRowCount();
    void showDropDowns(int row);
    void hideDropDowns();
    void scrollDatabaseTo(int row);
    void drawChosenSymbol(bool withSymbol);
    // The K box as a number; the "K value is not valid" message when not.
    bool readK(double &k);
    TFitting buildFitting();
    void addToPipe(TFittingPosition position);
    // Rewrites one list's file through a temporary file; false, after
    // telling the user, when it could not be written.
    bool rewriteList(TFittingFileType list);
    void calculatorButton(TFittingCalculationForm *calculator, int symbol, const QString &defaultK, const QString &type,
                          const QString &description);

    TFittingSet *target_ = nullptr;
    int currentSize_ = 0;
    TFittingPosition currentPosition_ = EntryFitting;
    bool firstUse_ = true;
    bool resultsMode_ = false;
    int pipeRow_ = 0;
    std::array<bool, 8> sortAscending_{true, true, true, true, true, true, true, true};
    // Database grid row -> fitting id (fittings without a symbol are not
    // listed).
    std::vector<int> rowIds_;
    std::vector<int> pipeRowIds_;
};

} // namespace tessaran
