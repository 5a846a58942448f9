#pragma once
// The pressure-loss component dialog: one pipe's component with its loss
// kind (fixed, curve, Cv, Kv, sprinkler K), the units its values are shown
// in, a calculator for the coefficients, a three-point curve generator and
// component files. It edits a working copy and hands it back only on OK.

#include <QDialog>
#include <QImage>

#include "model/Component_Pressure_Class.h"
#include "model/Fluid_Class.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tessaran {

class TNetwork;
class TPipe;
class TRightEdit;
class TStringGridWidget;

class TComponentPressureForm : public QDialog {
    Q_OBJECT
public:
    explicit TComponentPressureForm(QWidget *parent = nullptr);

    void OpenForm(TComponentPressure &TheComponentPressure, TPipe &ThePipe, int ThePipeId, TNetwork &TheNetwork,
                  bool ResultsMode);

    // The component as the dialog holds it while open.
    const TComponentPressure &WorkingCopy() const { return working_; }
    // The symbol image as last drawn.
    const QImage &SymbolImage() const { return symbol_; }

    QLineEdit *EditName;
    QLabel *ImageComponentPressureSymbol;
    QSpinBox *UpDown1;
    QLabel *LabelPipeId;
    QLabel *LabelPipeName;
    QRadioButton *RadioButtonComponentFixedLoss;
    QRadioButton *RadioButtonComponentCurveLoss;
    QRadioButton *RadioButtonComponentCv;
    QRadioButton *RadioButtonComponentKv;
    QRadioButton *RadioButtonSprinklerKimperial;
    QRadioButton *RadioButtonSprinklerKmetric;
    TRightEdit *RightEditComponentPressure;
    QComboBox *ComboBoxFixedLossUnits;
    TStringGridWidget *StringGridPressureCurve;
    QComboBox *ComboBoxComponentPressureFlowUnits;
    QComboBox *ComboBoxComponentPressureLossUnits;
    QPushButton *ButtonGenerateCurve;
    TRightEdit *RightEditCv;
    TRightEdit *RightEditKv;
    TRightEdit *RightEditSprinklerKimperial;
    TRightEdit *RightEditSprinklerKmetric;
    QPushButton *BitBtnCalcCv;
    QPushButton *BitBtnCalcKv;
    QPushButton *BitBtnCalcSprinklerKimperial;
    QPushButton *BitBtnCalcSprinklerKmetric;
    QCheckBox *CheckBoxCompressibleChokedFlow;
    QPushButton *BitBtnChokedFlowText;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;
    QPushButton *ButtonClear;
    QPushButton *ButtonDelete;
    QPushButton *ButtonSaveFile;
    QPushButton *ButtonLoadFile;
    QFrame *PanelChokedFlowText;
    QPlainTextEdit *MemoChokedFlowText;
    QPushButton *BitBtn2;

    // The coefficient calculator.
    QFrame *PanelCalcCvKvSprinklerK;
    QGroupBox *GroupBoxCalcCvKv;
    QLabel *LabelCalcDescription;
    TRightEdit *RightEditDensity;
    QLabel *LabelDensityUnits;
    TRightEdit *RightEditFlowRate;
    QComboBox *ComboBoxFlowRateUnits;
    TRightEdit *RightEditLoss;
    QComboBox *ComboBoxLossUnits;
    QPushButton *ButtonCalc;
    QPushButton *ButtonCancelCalc;

private:
    enum TCoefficient { CoefficientCv, CoefficientKv, CoefficientKimperial, CoefficientKmetric };

    double density() const { return fluid_.density_kgs_m3; }
    double atmosphere() const;
    TUnit basisUnit() const;
    QRadioButton *radioOf(TPressureType kind) const;
    TPressureType selectedKind() const;
    void chooseKind(TPressureType kind);
    void UpdateFormAndDisplayUnitsFromComponentPressure();
    void UpdateFormUnitDropDownsFromComponentPressure();
    void UpdateFormFromComponentPressure();
    void showCurveRows();
    void UpdateComponentPressureImageSymbol();
    bool UpdateComponentPressureFromFormFields(TRightEdit **offending);
    bool IsStringGridEmpty() const;
    // Valid, the first wholly empty row (9 when none) and the message.
    bool CheckStringGridValid(int &firstEmptyRow, QString &message) const;
    bool UpdateComponentPressureFromStringGrid();
    // The form into the working copy: the fields and, with Curve Loss, the
    // curve (an empty grid empties it); messages shown as they arise.
    bool UpdateComponentPressureFromForm();
    // Checks and reads the grid for a unit change or the generator: true
    // when it passed (an empty grid empties the curve and passes).
    bool readCurveForChange();
    void paintGrid();
    void setUnitsQuietly(QComboBox *list, int item);

    void ButtonOKClick();
    void ButtonDeleteClick();
    void ButtonClearClick();
    void UpDown1Click(int step);
    void ButtonGenerateCurveClick();
    void ComboBoxComponentPressureFlowUnitsChange(int item);
    void ComboBoxComponentPressureLossUnitsChange(int item);
    void ComboBoxFixedLossUnitsChange(int item);
    void ButtonSaveFileClick();
    void ButtonLoadFileClick();

    void initialiseCalculator();
    void openCalculator(TCoefficient kind);
    TRightEdit *coefficientBox(TCoefficient kind) const;
    void ButtonCalcClick();
    void ComboBoxFlowRateUnitsChange(int item);
    void ComboBoxLossUnitsChange(int item);

    TComponentPressure working_;
    TComponentPressure snapshot_;
    TComponentPressure *caller_ = nullptr;
    TPipe *pipe_ = nullptr;
    TNetwork *network_ = nullptr;
    TFluid fluid_;
    bool resultsMode_ = false;
    bool confirmed_ = false;
    bool delete_ = false;
    int lastFlowItem_ = 0;
    int lastLossItem_ = 0;
    TCoefficient calculatorKind_ = CoefficientCv;
    TUnit calculatorFlowUnit_ = unt_m3_sec;
    TUnit calculatorLossUnit_ = unt_m_hd_fluid;
    bool filling_ = false;
    QImage symbol_{25, 22, QImage::Format_RGB32};
};

// The items of the loss lists and the curve's flow list; -1 for a unit a
// list does not hold.
TUnit ComponentLossUnitOfItem(int item);
int ComponentLossItemOfUnit(TUnit unit);
TUnit ComponentFlowUnitOfItem(int item);
int ComponentFlowItemOfUnit(TUnit unit);

} // namespace tessaran
