#pragma once
// The pump library dialog: takes a pump from one top folder of the pump
// library, by browsing its tree or by a duty-point search, previews its
// curves and hands the chosen pump back to the pump editor.

#include <memory>

#include <QDialog>
#include <QString>

#include "model/Pump_Class.h"
#include "pumps/Pump_Database_Class.h"
#include "units/Units.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaran {

class TGraph;
class TImageBox;
class TNetwork;

class TPumpManagerForm : public QDialog {
    Q_OBJECT
public:
    explicit TPumpManagerForm(QWidget *parent = nullptr);
    ~TPumpManagerForm() override;

    // Shows the dialog modally; ThePump receives the chosen pump, fitted for
    // the pipe's fluid, and is left alone when nothing was chosen.
    static void OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork);
    static TPumpManagerForm &Instance();

    void Open(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork);
    void SetBrowseMode(bool browse);
    void ClearFilteredResults();
    void FindPumpsClick();
    void AddToFilteredListClick();
    void PreviewGridRow(int row);
    void PreviewTreeNode(QTreeWidgetItem *node);
    void TopFolderChange();
    void ChooseClick();
    void DeleteClick();

    QRadioButton *RadioButtonBrowse, *RadioButtonSearch;
    QComboBox *ComboBoxTopFolder, *ComboBoxFlowUnit, *ComboBoxHeadUnit, *ComboBoxWhereFlow, *ComboBoxLookFor;
    QLineEdit *EditFlow, *EditHead, *EditMiss, *EditSpeedMin, *EditSpeedMax;
    QPushButton *BitBtnFindPumps, *BitBtnAddToFilteredList, *BitBtnClearFilteredResults, *BitBtnSelectPump,
        *BitBtnSelect, *BitBtnCancel;
    QTreeWidget *TreeViewPumps;
    QGroupBox *GroupBoxResults, *GroupBoxDetails;
    QTableWidget *StringGridPumps;
    TImageBox *ImagePumpCurve;
    QLabel *LabelName, *LabelCatalog, *LabelManufacturer, *LabelType, *LabelSize, *LabelStages, *LabelMotorRpm,
        *LabelSpeedMin, *LabelSpeedMax, *LabelOrigFlowUnit, *LabelOrigHeadUnit, *LabelRunningSpeed,
        *LabelRunningDiameter;

    // The pump last previewed; a choice hands a copy of it back.
    TPump PreviewPump;
    bool Chosen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readBoxes();
    void copyGridToTable(const TStringGrid &grid);
    void clearGraph();
    void clearDetails();
    void fillDetails();
    void drawPreview(bool withOperatingPoint);
    void setPreviewUnits();
    bool loadPreviewFile(int entry);
    bool buildIndex(bool report);
    void unitChanged();

    TPumpDatabase *database_ = nullptr;
    TNetwork *network_ = nullptr;
    int pipeId_ = 0;
    bool previewed_ = false; // a pump of this opening is on the preview
    double density_ = 1000;
    std::unique_ptr<TGraph> graph_;
};

} // namespace tessaran
