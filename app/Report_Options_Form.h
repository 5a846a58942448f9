#pragma once
// The report options dialog: what the customised PDF report holds (company,
// project and engineer texts, header items, cover sheet and logo, page
// orientation, sections and the columns of the pipe, energy and node
// tables). It edits a working copy of a network's report options, saves and
// loads them with the logo as a report-options file, and keeps the hidden
// work grid the report's tables are filled into.

#include "network/Report_Options.h"
#include "network/User_Interface_Seam.h"
#include "platform/Jpeg_Image.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tessaran {

class TNetwork;

class TFormPDFConfig : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxColumnsChosen = 12;
    static constexpr int WorkGridColumns = 26;

    explicit TFormPDFConfig(QWidget *parent = nullptr);

    // Edits the network's report options modally; GeneratePDF tells the
    // caller to make the report.
    void OpenForm(TNetwork &TheNetwork, bool &GeneratePDF);

    void PopulateCheckListBoxes();
    void UpdateFormFromReportOptions(const TReportOptions &theReportOptions);
    void UpdateReportOptionsFromFormData();
    static void SetChecklistBoxCheckedItems(QListWidget &TheChecklistBox, const TReportDataColumns &Columns);
    static void SetReportItemsFromChecklistBoxCheckedItems(const QListWidget &TheChecklistBox,
                                                           TReportDataColumns &Columns);
    static int countCheckedItems(const QListWidget &TheChecklistBox);
    static void ClearStringGrid(TStringGrid &TheStringGrid);

    // The report-options file: the options part, then the logo's JPEG bytes
    // to the end of the file. Writing goes to a new file that then replaces
    // the old one; reading changes nothing unless the whole file reads.
    // Both raise on failure (std::exception).
    void SaveReportOptionsFile(const std::string &path);
    void LoadReportOptionsFile(const std::string &path);

    // Handlers of the buttons and boxes.
    void BitBtnCreatePDFClick();
    void BitBtnCancelAndExitClick();
    void BitBtnImageResetDefaultClick();
    void BitBtnImageClearClick();
    void BitBtnImageLoadClick();
    void BitBtnSaveReportOptionsClick();
    void BitBtnLoadReportOptionsClick();
    void CheckBoxCoverSheetClick();
    void CheckBoxPipeDataClick();
    void CheckBoxNodeDataClick();
    void CheckBoxEnergyDataClick();

    // The working copy of the options, the work grid and the pictures.
    TReportOptions WorkingOptions;
    TStringGrid WorkGrid;
    TJPEGImage Logo, LogoDefault, LogoClear;

    QGroupBox *GroupBox1, *GroupBox3, *GroupBox4, *GroupBox5, *GroupBox6, *GroupBox7;
    QLabel *LabelCompanyName, *LabelProjectName, *LabelEngineerRef, *Label1, *Label2, *Label3;
    QLineEdit *EditCompanyName, *EditProjectName, *EditEngineerRef, *EditTitle, *EditSubtitle;
    QCheckBox *CheckBoxCompanyName, *CheckBoxProjectName, *CheckBoxEngineerRef, *CheckBoxDate;
    QCheckBox *CheckBoxPageNumber, *CheckBoxIncludeLog, *CheckBoxShowGridLines, *CheckBoxCoverSheet;
    QRadioButton *RadioButtonPageAuto, *RadioButtonPagePortrait, *RadioButtonPageLandscape;
    QWidget *Panel2;
    QLabel *ImageCompanyLogo, *ImageLogoDefault, *ImageLogoClear;
    QPushButton *BitBtnImageResetDefault, *BitBtnImageClear, *BitBtnImageLoad;
    QGroupBox *GroupBoxReportData, *GroupBoxPipeData, *GroupBoxEnergyData, *GroupBoxNodeData;
    QCheckBox *CheckBoxFluidData, *CheckBoxPumpData, *CheckBoxPipeData, *CheckBoxEnergyData, *CheckBoxNodeData,
        *CheckBoxPumpGraph, *CheckBoxPipeFittings, *CheckBoxPipeMaterials, *CheckBoxPipeFactors,
        *CheckBoxComponents, *CheckBoxFCVs, *CheckBoxPRVs, *CheckBoxBPVs;
    QListWidget *CheckListBoxPipes, *CheckListBoxEnergy, *CheckListBoxNodes;
    QTableWidget *StringGridPDFReport;
    QPushButton *BitBtnCreatePDF, *BitBtnSaveReportOptions, *BitBtnLoadReportOptions, *BitBtnCancelAndExit;

private:
    void checkListClicked(QListWidget *list, int row);
    void showLogo();
    void showWorkGrid();

    TNetwork *network_ = nullptr;
    bool createPDF_ = false;
    bool settingChecks_ = false;
};

} // namespace tessaran
