#pragma once
// K of a long pipe bend from its radius and the pipe diameter, from a table
// of K by pipe size and r/d.

#include "dialogs/Fitting_Calculation_Form.h"

class QRadioButton;

namespace tessaran {

class TLongPipeBendCalculationForm : public TFittingCalculationForm {
    Q_OBJECT
public:
    static constexpr int TableRows = 19;
    // Column 0 the pipe size in mm, columns 1 to 20 K for r/d 1 to 20.
    static const double LongBendTable[TableRows][21];

    explicit TLongPipeBendCalculationForm(QWidget *parent = nullptr);
    void Calculate() override;

    // K from the table for a pipe size s (mm) and a ratio r/d.
    static double LongBendK(int pipeSize_mm, double ratio);

    TRightEdit *RadiusEdit;
    TRightEdit *DiameterEdit;
    QRadioButton *MmRadioButton;
    QRadioButton *InchRadioButton;
    QLabel *RatioLabel;
};

} // namespace tessaran
