#pragma once
// The pipe diameter database dialog: gives one pipe its material, schedule
// or class, roughness and size from the pipe tables of the "PipeTables"
// folder, and lets the user add and remove materials and sizes there. Only
// "Save Pipe" writes the pipe; every change to the tables is written to its
// file at once.

#include <QDialog>
#include <QStringList>

#include <string>

#include "model/FileHeader.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Diameter_Set_Class.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tessaran {

class TMainWindowServices;
class TPipeNominalSizeSet;
class TRightEdit;
class TStringGridWidget;

class TPipeDiameterDataForm : public QDialog {
    Q_OBJECT
public:
    // PipeTablesFolder: the program's "PipeTables" folder. MainWindow shows
    // the progress of reloading the tables (may be null).
    explicit TPipeDiameterDataForm(const std::string &PipeTablesFolder, TMainWindowServices *MainWindow = nullptr,
                                   QWidget *parent = nullptr);

    void OpenPipeDiameterManager(TPipeNominalSizeSet &ThePipeNominalSizeSet, TPipe &ThePipe, int ThePipeId, bool Metric,
                                 bool DisplayChangeMaterial);

    // Completes the three boxes as the user allows; true when the values may
    // be used.
    bool CompleteDiameterData(TRightEdit *InternalDiameter, TRightEdit *WallThickness, TRightEdit *OutsideDiameter);

    const TPipeDiameterSet &SizeSet() const { return sizes_; }
    const std::string &LoadedFileName() const { return loadedFile_; }
    // The material list: material, schedule, roughness, size range and file
    // name, tab-separated, sorted.
    const QStringList &MaterialList() const { return materials_; }
    bool ChooseMaterialScreenShown() const;

    // The pipe band.
    QFrame *SelectedPipeDataPanel;
    QLabel *PipeNameLabel;
    QLabel *PipeIdLabel;
    TStringGridWidget *PipeMaterialStringGrid;
    TStringGridWidget *ChosenSizeStringGrid;
    QLineEdit *MaterialEdit;
    QLineEdit *ScheduleEdit;
    TRightEdit *RoughnessEdit;
    QLineEdit *NominalSizeEdit;
    TRightEdit *InternalDiameterEdit;
    TRightEdit *WallThicknessEdit;
    TRightEdit *OutsideDiameterEdit;
    TRightEdit *WeightEdit;
    QPushButton *SavePipeButton;
    QPushButton *CancelButton;
    // The size list.
    QLabel *PipeDiameterTitleLabel;
    QLabel *RoughnessLabel;
    TStringGridWidget *PipeDiameterDataStringGrid;
    QPushButton *PreviousPageButton;
    QPushButton *NextPageButton;
    QPushButton *TransferSelectedSizeButton;
    QRadioButton *MetricRadioButton;
    QRadioButton *ImperialRadioButton;
    QPushButton *ChangeMaterialButton;
    QPushButton *AddNewSizeButton;
    QPushButton *RemoveEntryButton;
    QTimer *SelectNewSizeTimer;
    // The new-size panel.
    QFrame *NewSizePanel;
    QLabel *NewSizeHeadingLabel;
    QLabel *NewSizeRoughnessLabel;
    TStringGridWidget *NewPipeDataHeadingStringGrid;
    QComboBox *NewNominalSizeComboBox;
    TRightEdit *NewInternalDiameterEdit;
    TRightEdit *NewWallThicknessEdit;
    TRightEdit *NewOutsideDiameterEdit;
    TRightEdit *NewWeightEdit;
    QPushButton *AddNewEntryButton;
    QPushButton *NewSizeCancelButton;
    // The choose-material screen.
    QFrame *ChooseMaterialPanel;
    TStringGridWidget *FileListStringGrid;
    QPushButton *SelectMaterialButton;
    QPushButton *ChooseMaterialCancelButton;
    QPushButton *AddNewMaterialButton;
    QPushButton *RemoveMaterialButton;
    QPushButton *MaterialPreviousPageButton;
    QPushButton *MaterialNextPageButton;
    QFrame *NewMaterialPanel;
    TStringGridWidget *AddPipeMaterialStringGrid;
    QLineEdit *NewMaterialEdit;
    QLineEdit *NewScheduleEdit;
    TRightEdit *NewRoughnessEdit;
    QPushButton *SaveNewMaterialButton;
    QPushButton *NewMaterialCancelButton;

private:
    QString tablePath(const std::string &fileName) const;
    QString diameterUnit() const;
    QString weightUnit() const;
    void writeSizeGridTitles(TStringGridWidget *grid);
    void writeTitles();
    void fillSizeRow(TStringGridWidget *grid, int row, const TPipe &pipe);
    void PopulateComboBoxWithNominalSizeStrings();
    bool LoadPipeDiameterSetFromText(const QString &path);
    void loadTable(const QString &path, TPipeDiameterSet &set, TFileHeader &header, bool userRows,
                   const std::string &fileName) const;
    void SetPipeDiameterDataGrid_MinimumRowCount();
    void DisplayPipeDiameterList(int previousNominal);
    void DisplayTheDmPipeData(const TPipe &pipe);
    QString GetMaterialScheduleTitle() const;
    void ShowRoughnessLabel();
    void ShowPipeSizesScreen();
    void SetDmEditBoxesEnabled(bool enabled);
    void MetricRadioButtonClick();
    void convertEntries();
    void convertBox(TRightEdit *box, TUnit imperialUnit, TUnit metricUnit, int metricDecimals, int imperialDecimals);
    void ResetCalculatedInternalVolume();
    void ResetCalculatedSurfaceArea();
    void TransferSelectedSize();
    void flashBand();
    void SavePipeClick();
    void pageSizeList(bool next);
    void pageMaterialGrid(bool next);
    double toMetres(double value) const;

    // The choose-material screen and the database edits.
    void FillMaterialList();
    QString ReadPipeSizeRange(const QString &path);
    void FillMaterialGrid(bool roughnessInInch);
    void SetPipeFilesDataGrid_MinimumRowCount();
    void ShowChangeMaterialScreen();
    void ChooseNewPipeMaterialClick();
    void openNewMaterialPanel(bool open);
    void SaveNewMaterialClick();
    void RemoveMaterialClick();
    void openNewSizePanel(bool open);
    void AddNewEntryClick();
    void RemoveEntryClick();
    void SaveStandardPipes_ToText(const QString &path);
    void SaveUserPipes_ToText(const QString &path);
    void reloadNominalSizeSet();

    std::string folder_;
    TMainWindowServices *mainWindow_;
    TPipeDiameterSet sizes_{200};
    TPipeDiameterSet scratch_{200};
    TFileHeader header_;
    TPipe working_;
    TPipe *target_ = nullptr;
    TPipeNominalSizeSet *nominalSizes_ = nullptr;
    bool metric_ = false;
    std::string loadedFile_;
    QString heldNominal_;
    QStringList materials_;
};

} // namespace tessaran
