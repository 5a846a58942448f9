#include "dialogs/Fitting_LongBendCalculation_Form.h"

#include <algorithm>
#include <cmath>

#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

#include "dialogs/Dialog_Look.h"
#include "platform/Pascal.h"
#include "platform/qt/Dialog_Service.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

// clang-format off
const double TLongPipeBendCalculationForm::LongBendTable[TableRows][21] = {
    {10, 0.62, 0.36, 0.36, 0.44, 0.48, 0.52, 0.64, 0.75, 0.84, 0.93, 1.00, 1.06, 1.13, 1.19, 1.24, 1.29, 1.36, 1.42, 1.49, 1.55},
    {12, 0.58, 0.34, 0.34, 0.41, 0.45, 0.49, 0.60, 0.70, 0.79, 0.87, 0.93, 0.99, 1.05, 1.11, 1.16, 1.21, 1.27, 1.33, 1.39, 1.45},
    {15, 0.54, 0.32, 0.32, 0.38, 0.42, 0.46, 0.56, 0.65, 0.73, 0.81, 0.87, 0.92, 0.98, 1.03, 1.08, 1.13, 1.19, 1.24, 1.30, 1.35},
    {20, 0.50, 0.30, 0.30, 0.35, 0.39, 0.43, 0.52, 0.60, 0.68, 0.75, 0.80, 0.85, 0.90, 0.95, 1.00, 1.05, 1.10, 1.15, 1.20, 1.25},
    {25, 0.46, 0.28, 0.28, 0.32, 0.36, 0.39, 0.47, 0.55, 0.62, 0.69, 0.74, 0.78, 0.83, 0.87, 0.92, 0.97, 1.02, 1.06, 1.11, 1.15},
    {32, 0.44, 0.26, 0.26, 0.31, 0.34, 0.37, 0.45, 0.53, 0.60, 0.66, 0.71, 0.75, 0.80, 0.84, 0.88, 0.92, 0.97, 1.01, 1.06, 1.10},
    {40, 0.42, 0.25, 0.25, 0.29, 0.33, 0.36, 0.43, 0.50, 0.57, 0.63, 0.67, 0.71, 0.76, 0.80, 0.84, 0.88, 0.93, 0.97, 1.01, 1.05},
    {50, 0.38, 0.23, 0.23, 0.27, 0.30, 0.32, 0.39, 0.46, 0.52, 0.57, 0.61, 0.65, 0.69, 0.72, 0.76, 0.80, 0.84, 0.87, 0.91, 0.95},
    {65, 0.36, 0.22, 0.22, 0.25, 0.28, 0.31, 0.37, 0.43, 0.49, 0.54, 0.58, 0.61, 0.65, 0.68, 0.72, 0.76, 0.80, 0.83, 0.87, 0.90},
    {80, 0.36, 0.22, 0.22, 0.25, 0.28, 0.31, 0.37, 0.43, 0.49, 0.54, 0.58, 0.61, 0.65, 0.68, 0.72, 0.76, 0.80, 0.83, 0.87, 0.90},
    {90, 0.35, 0.21, 0.21, 0.25, 0.27, 0.30, 0.36, 0.42, 0.47, 0.53, 0.56, 0.60, 0.63, 0.67, 0.70, 0.74, 0.77, 0.81, 0.84, 0.88},
    {100, 0.34, 0.20, 0.20, 0.24, 0.27, 0.29, 0.35, 0.41, 0.46, 0.51, 0.55, 0.58, 0.62, 0.65, 0.68, 0.71, 0.75, 0.78, 0.82, 0.85},
    {125, 0.32, 0.19, 0.19, 0.23, 0.25, 0.28, 0.33, 0.39, 0.43, 0.48, 0.51, 0.55, 0.58, 0.61, 0.64, 0.67, 0.70, 0.74, 0.77, 0.80},
    {150, 0.30, 0.18, 0.18, 0.21, 0.24, 0.26, 0.31, 0.36, 0.41, 0.45, 0.48, 0.51, 0.54, 0.57, 0.60, 0.63, 0.66, 0.69, 0.72, 0.75},
    {200, 0.28, 0.17, 0.17, 0.20, 0.22, 0.24, 0.29, 0.34, 0.38, 0.42, 0.45, 0.48, 0.51, 0.53, 0.56, 0.59, 0.62, 0.64, 0.67, 0.70},
    {250, 0.28, 0.17, 0.17, 0.20, 0.22, 0.24, 0.29, 0.34, 0.38, 0.42, 0.45, 0.48, 0.51, 0.53, 0.56, 0.59, 0.62, 0.64, 0.67, 0.70},
    {300, 0.26, 0.16, 0.16, 0.18, 0.20, 0.22, 0.27, 0.31, 0.35, 0.39, 0.42, 0.44, 0.47, 0.49, 0.52, 0.55, 0.58, 0.60, 0.63, 0.65},
    {400, 0.26, 0.16, 0.16, 0.18, 0.20, 0.22, 0.27, 0.31, 0.35, 0.39, 0.42, 0.44, 0.47, 0.49, 0.52, 0.55, 0.58, 0.60, 0.63, 0.65},
    {450, 0.24, 0.14, 0.14, 0.17, 0.19, 0.20, 0.25, 0.29, 0.33, 0.36, 0.39, 0.41, 0.44, 0.46, 0.48, 0.50, 0.53, 0.55, 0.58, 0.60},
};
// clang-format on

TLongPipeBendCalculationForm::TLongPipeBendCalculationForm(QWidget *parent)
    : TFittingCalculationForm("LongPipeBendCalculationForm", QStringLiteral("Long pipe bend K value"), parent)
{
    RadiusEdit = AddBox("RadiusEdit", QStringLiteral("200.00"), 4, 3);
    DiameterEdit = AddBox("DiameterEdit", QStringLiteral("60.00"), 4, 3);
    MmRadioButton = Named<QRadioButton>("MmRadioButton", QStringLiteral("mm"), this);
    InchRadioButton = Named<QRadioButton>("InchRadioButton", QStringLiteral("inch"), this);
    MmRadioButton->setChecked(true);
    RatioLabel = Named<QLabel>("RatioLabel", this);
    AddResultLabel(RatioLabel);
    Inputs->addWidget(new QLabel(QStringLiteral("Bend radius r"), this), 0, 0);
    Inputs->addWidget(RadiusEdit, 0, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Pipe diameter d"), this), 1, 0);
    Inputs->addWidget(DiameterEdit, 1, 1);
    Inputs->addWidget(MmRadioButton, 2, 0);
    Inputs->addWidget(InchRadioButton, 2, 1);
    Results->addWidget(new QLabel(QStringLiteral("r/d ="), this), 1, 0, 1, 2);
    Results->addWidget(RatioLabel, 1, 2);
    connect(MmRadioButton, &QRadioButton::clicked, this, [this] { Calculate(); });
    connect(InchRadioButton, &QRadioButton::clicked, this, [this] { Calculate(); });
}

double TLongPipeBendCalculationForm::LongBendK(int pipeSize_mm, double ratio)
{
    // Pipes below the table's smallest size take its first row (the nearest
    // size), not the last.
    int row = 0;
    for (int i = 0; i < TableRows; ++i)
        if (LongBendTable[i][0] <= pipeSize_mm)
            row = i;
    const int column = std::max<int>(1, static_cast<int>(Trunc(ratio + 0.9)));
    const double *k = LongBendTable[row];
    if (column <= 20)
        return k[column];
    return k[10] + (column - 10) * (k[20] - k[10]) / 10.0;
}

void TLongPipeBendCalculationForm::Calculate()
{
    ClearResults();
    double r = 0, d = 0;
    bool valid = ReadBox(RadiusEdit, r) && ReadBox(DiameterEdit, d);
    double ratio = 0.5;
    if (valid)
        ratio = r / d;
    const double size = InchRadioButton->isChecked() ? d * 25.4 : d;
    const double k = LongBendK(static_cast<int>(Trunc(size + 0.5)), ratio);
    if (ratio < 1) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The radius is too small to be classed as a long bend\rConsider use of "
                                             "a Standard Bend."),
                              this);
        valid = false;
    }
    calculationValid_ = valid;
    if (valid) {
        RatioLabel->setText(FormatResult(ratio, 2));
        KValueLabel->setText(FormatResult(k, 2));
    }
}

} // namespace tessaran
