#pragma once
// K of a sudden contraction (on the larger pipe's velocity) and of a sudden
// enlargement (on the smaller pipe's velocity) from the two diameters.

#include "dialogs/Fitting_Calculation_Form.h"

namespace tessaran {

class TSuddenContractionCalculationForm : public TFittingCalculationForm {
    Q_OBJECT
public:
    explicit TSuddenContractionCalculationForm(QWidget *parent = nullptr);
    void Calculate() override;
    // Asks before taking a K above 50 and refuses a K that does not read back.
    void CreateNewFitting() override;

    TRightEdit *LargeDiameterEdit;
    TRightEdit *SmallDiameterEdit;
};

class TSuddenEnlargementCalculationForm : public TFittingCalculationForm {
    Q_OBJECT
public:
    explicit TSuddenEnlargementCalculationForm(QWidget *parent = nullptr);
    void Calculate() override;

    TRightEdit *SmallDiameterEdit;
    TRightEdit *LargeDiameterEdit;
};

} // namespace tessaran
