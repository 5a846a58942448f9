#pragma once
// The fluid database dialog: the fluid of a fluid zone chosen from, or
// entered beside, the database of liquids and gases, which the dialog also
// maintains (add, remove, calculate a gas's data) in its four files.

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "dialogs/Fluid_Data_Set_Class.h"
#include "model/FileHeader.h"
#include "model/Fluid_Class.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tessaran {

class TFormGasDataCalc;
class TFormSpecificGravity;
class TRightEdit;
class TStringGridWidget;

class TFluidDataManagerForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int FluidDataSetSize = 2000;
    static constexpr int ListHeight = 378;
    static constexpr int ShortListHeight = 284;

    explicit TFluidDataManagerForm(QWidget *parent = nullptr);
    ~TFluidDataManagerForm() override;

    void OpenFluidDataManager(TFluid &The_Fluid, bool &FluidSaved, bool Metric, bool ResultsMode);

    // The folder that holds "FluidTables", with a trailing "/"; the
    // executable's folder unless the program sets another.
    std::string ProgramFolder;
    std::string FluidFilePath(const std::string &fileName) const;

    // One file into the set, by its extension. Raises on a malformed line;
    // returns false when the file was there but did not load whole (the
    // full-set box has then been shown).
    bool LoadFluidDataSetFromText(const std::string &path);
    // Rewrite one category's file through a temporary file; raises when the
    // file cannot be written, leaving the old file in place.
    void SaveFluidDataStandardLiquids_ToText(const std::string &path);
    void SaveFluidDataUserLiquids_ToText(const std::string &path);
    void SaveFluidDataStandardGases_ToText(const std::string &path);
    void SaveFluidDataUserGases_ToText(const std::string &path);
    void CheckForAndLoadOldVersionOfFluidFile();

    TFluidDataSet FluidDataSet{FluidDataSetSize};
    TFileHeader FileHeader;
    // The fluid "Save" gives the zone.
    TFluid WorkingFluid;

    // The boxes of one row: the top row (the working fluid) or the bottom
    // row (a new database entry).
    struct TFluidBoxes {
        QLineEdit *Name;
        QLineEdit *Formula;
        TRightEdit *Temperature;
        TRightEdit *Pressure;
        TRightEdit *Density;
        TRightEdit *Viscosity;
        TRightEdit *LastValue;
        QComboBox *State;
        QPushButton *SpecificGravity;
    };

    QFrame *TopPanel;
    TStringGridWidget *FmTitleStringGrid;
    TFluidBoxes Fm;
    QComboBox *FmComboBoxFluidState;
    QPushButton *BitBtnSpecificGravity;
    QPushButton *RevertToOriginalBitBtn;
    QPushButton *CloseWindowBitBtn;

    TStringGridWidget *FluidDataStringGrid;
    QRadioButton *MetricRadioButton;
    QRadioButton *ImperialRadioButton;
    QGroupBox *ShowFluidTypeOptionsRadioGroup;
    QRadioButton *LiquidsRadioButton;
    QRadioButton *GasesRadioButton;
    QPushButton *CreateNewEntryBitBtn;
    QPushButton *RemoveEntryBitBtn;
    QPushButton *CalculateGasDataBitBtn;
    QPushButton *UseSelectedFluidBitBtn;
    QPushButton *PreviousPageBitBtn;
    QPushButton *NextPageBitBtn;

    QFrame *AddFluidPanel;
    TStringGridWidget *UserTitleStringGrid;
    TFluidBoxes User;
    QComboBox *UserComboBoxFluidState;
    QPushButton *BitBtnAddFluidDataSpecificGravity;
    QPushButton *BitBtn2;
    QPushButton *CloseNewEntryBitBtn;
    QPushButton *AddNewEntryBitBtn;

    QTimer *SelectNewSizeTimer;

    TFormGasDataCalc *GasDataCalcForm;
    TFormSpecificGravity *SpecificGravityForm;

    bool ShowingGases() const { return showingGases_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Command handlers.
    void CloseWindowBitBtnClick();
    void UseSelectedFluidBitBtnClick();
    void BitBtn2Click();
    void CreateNewEntryBitBtnClick();
    void CloseNewEntryBitBtnClick();
    void AddNewEntryBitBtnClick();
    void RemoveEntryBitBtnClick();
    void CalculateGasDataBitBtnClick();
    void ShowFluidTypeOptionsRadioGroupClick();
    void MetricRadioButtonClick();
    void FmComboBoxFluidStateChange();
    void SortFromTitle();
    void PreviousPage();
    void NextPage();
    void SpecificGravityClick(const TFluidBoxes &boxes);
    void FluidDataStringGridClick(int row);

    // Display.
    void WriteTitles();
    void DisplayFluidDataList(int row);
    void SetFluidDataGrid_MinimumRowCount();
    void DisplayFluidInBoxes(const TFluid &fluid, const TFluidBoxes &boxes);
    void ShowStateOfBoxes(const TFluidBoxes &boxes);
    void ConvertBoxes(const TFluidBoxes &boxes);
    void SetListState(bool gases);
    void storeListPosition();
    void selectRow(int row);
    void scrollToTop(int row);
    void closeAddPanel();
    bool canTransferRow(int row) const;

    // Reads a row of boxes for "Save" (refuseNegativePressure) or "Add to
    // Fluid Data"; on a failure `reason` names it and false is returned.
    bool readBoxes(const TFluidBoxes &boxes, bool forSave, TFluid &fluid, QString &reason) const;

    // The database commands change the set, rewrite one file and on any
    // failure give the set back as it was and tell the user.
    using TSnapshot = std::vector<std::pair<TFluid, bool>>;
    TSnapshot snapshot() const;
    void restore(const TSnapshot &saved);
    bool rewriteCategory(TFluidCategory category);
    void loadDatabase();

    TFluid *callersFluid_ = nullptr;
    bool fluidSaved_ = false;
    bool metric_ = false;
    bool ascending_ = true;
    bool firstOpening_ = true;
    bool resultsMode_ = false;
    bool showingGases_ = false;
    int liquidsRow_ = 1, liquidsTop_ = 1, gasesRow_ = 1, gasesTop_ = 1;
    int lastVisibleRow_ = 1;
    // Files that did not load whole at the opening, by category: never
    // rewritten from the partial set.
    std::array<bool, 4> unreadable_{};
    bool displaying_ = false;
};

} // namespace tessaran
