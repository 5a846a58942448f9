#pragma once
// The control valve dialog: the flow control, pressure reducing or back
// pressure valve of one pipe. It edits the pipe's own valve while open and
// puts it back from a snapshot unless the user confirms.

#include <QDialog>

#include "model/Flow_Control_Class.h"
#include "model/Fluid_Class.h"
#include "network/Config_Options.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tessaran {

class TNetwork;
class TPipe;
class TRightEdit;

class TFlowControlForm : public QDialog {
    Q_OBJECT
public:
    explicit TFlowControlForm(QWidget *parent = nullptr);

    void OpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions, bool ResultsMode);

    QLabel *LabelPipeId;
    QLabel *LabelPipeName;
    QLineEdit *EditName;
    QRadioButton *RadioButtonFCV;
    QRadioButton *RadioButtonPRV;
    QRadioButton *RadioButtonBPV;
    QLabel *LabelFlowControl;
    TRightEdit *RightEditFlowControl;
    QComboBox *ComboBoxFlowControlUnits;
    QLabel *LabelFlowControlUnits;
    QLabel *LabelElevation;
    TRightEdit *RightEditElevation;
    QLabel *LabelElevationUnits;
    QFrame *Panel1;
    QLabel *LabelText1;
    QLabel *LabelText2;
    QCheckBox *CheckBoxIncludeDpRange;
    TRightEdit *RightEditFromDpRange;
    TRightEdit *RightEditToDpRange;
    QLabel *LabelFromDpRangeUnits;
    QLabel *LabelToDpRangeUnits;
    QCheckBox *CheckBoxCompressibleChokedFlow;
    QPushButton *BitBtnChokedFlowText;
    QFrame *PanelChokedFlowText;
    QPlainTextEdit *MemoChokedFlowText;
    QPushButton *BitBtn2;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;
    QPushButton *ButtonDelete;

private:
    TFlowControl &valve();
    double density() const { return fluid_.density_kgs_m3; }
    QString setFlowText() const;
    void showValue(const QString &text);
    // The value box's width by the length of its text.
    void fitValueBox();
    void buildUnitList();
    void HidePressureFields();
    void ShowPressureFields();
    void chooseKind(TControlType kind);
    void valueChanged();
    void unitChanged(int index);
    void rangeTicked(bool ticked);
    void ButtonOKClick();
    // An OK check of one box: empty becomes "0" with its message, text that
    // is no number gets the other; false on either.
    bool checkBox(TRightEdit *box, const QString &emptyMessage, const QString &invalidMessage);
    void applyEntries();
    double pressureFromBox(const TRightEdit *box) const;
    double pressureDifferenceFromBox(const TRightEdit *box) const;

    TNetwork *network_ = nullptr;
    TPipe *pipe_ = nullptr;
    int fromNodeId_ = 0;
    int toNodeId_ = 0;
    TConfigOptions settings_;
    TFluid fluid_;
    TFlowControl snapshot_;
    double snapshotPosition_ = 0;
    bool confirmed_ = false;
    bool delete_ = false;
    // Set while the form itself fills the value box.
    bool filling_ = false;
};

} // namespace tessaran
