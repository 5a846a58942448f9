#pragma once
// K of a gradual contraction and of a gradual enlargement from the two
// diameters and the length between them, with the included angle shown and
// stepped a degree at a time.

#include "dialogs/Fitting_Calculation_Form.h"

class QSpinBox;

namespace tessaran {

class TGradualCalculationForm : public TFittingCalculationForm {
    Q_OBJECT
public:
    TGradualCalculationForm(const char *objectName, const QString &caption, bool contraction, QWidget *parent);
    void Calculate() override;
    // One degree more (up) or less, the length worked out for it.
    void StepAngle(bool up);

    TRightEdit *SmallDiameterEdit;
    TRightEdit *LargeDiameterEdit;
    TRightEdit *LengthEdit;
    QLabel *AngleLabel;
    QSpinBox *AngleUpDown;

protected:
    void Showing(bool firstShow) override;

private:
    bool contraction_;
    int upDownValue_ = 1000;
};

class TGradualContractionCalculationForm : public TGradualCalculationForm {
    Q_OBJECT
public:
    explicit TGradualContractionCalculationForm(QWidget *parent = nullptr);
};

class TGradualEnlargementCalculationForm : public TGradualCalculationForm {
    Q_OBJECT
public:
    explicit TGradualEnlargementCalculationForm(QWidget *parent = nullptr);
};

} // namespace tessaran
