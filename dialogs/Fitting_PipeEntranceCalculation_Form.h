#pragma once
// K of a rounded pipe entrance from its radius and the pipe diameter.

#include "dialogs/Fitting_Calculation_Form.h"

namespace tessaran {

class TPipeEntranceCalculationForm : public TFittingCalculationForm {
    Q_OBJECT
public:
    explicit TPipeEntranceCalculationForm(QWidget *parent = nullptr);
    void Calculate() override;

    // K for a ratio r/d: the last table pair whose threshold is at most the
    // ratio, 0 below the first.
    static double EntranceK(double ratio);

    TRightEdit *RadiusEdit;
    TRightEdit *DiameterEdit;
    QLabel *RatioLabel;
};

} // namespace tessaran
