#include "dialogs/Fitting_PipeEntranceCalculation_Form.h"

#include <QGridLayout>
#include <QLabel>

#include "dialogs/Dialog_Look.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

constexpr double EntranceTable[16][2] = {
    {0.01, 0.45}, {0.02, 0.28}, {0.03, 0.26}, {0.04, 0.24}, {0.05, 0.20}, {0.06, 0.15}, {0.07, 0.14}, {0.08, 0.13},
    {0.09, 0.11}, {0.10, 0.09}, {0.11, 0.08}, {0.12, 0.07}, {0.13, 0.06}, {0.14, 0.05}, {0.15, 0.04}, {999999999, 0.03},
};

} // namespace

TPipeEntranceCalculationForm::TPipeEntranceCalculationForm(QWidget *parent)
    : TFittingCalculationForm("PipeEntranceCalculationForm", QStringLiteral("Pipe entrance k Value"), parent)
{
    RadiusEdit = AddBox("RadiusEdit", QStringLiteral("0.24"), 4, 3);
    DiameterEdit = AddBox("DiameterEdit", QStringLiteral("4.00"), 4, 3);
    RatioLabel = Named<QLabel>("RatioLabel", this);
    AddResultLabel(RatioLabel);
    Inputs->addWidget(new QLabel(QStringLiteral("Entrance radius r"), this), 0, 0);
    Inputs->addWidget(RadiusEdit, 0, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Pipe diameter d"), this), 1, 0);
    Inputs->addWidget(DiameterEdit, 1, 1);
    Results->addWidget(new QLabel(QStringLiteral("r/d ="), this), 1, 0, 1, 2);
    Results->addWidget(RatioLabel, 1, 2);
}

double TPipeEntranceCalculationForm::EntranceK(double ratio)
{
    double k = 0;
    for (const auto &pair : EntranceTable)
        if (pair[0] <= ratio)
            k = pair[1];
    return k;
}

void TPipeEntranceCalculationForm::Calculate()
{
    ClearResults();
    double r = 0, d = 0;
    const bool valid = ReadBox(RadiusEdit, r) && ReadBox(DiameterEdit, d);
    calculationValid_ = valid;
    if (!valid)
        return;
    const double ratio = r / d;
    RatioLabel->setText(FormatResult(ratio, 2));
    KValueLabel->setText(FormatResult(EntranceK(ratio), 2));
}

} // namespace tessaran
