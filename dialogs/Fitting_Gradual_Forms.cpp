#include "dialogs/Fitting_Gradual_Forms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include "dialogs/Dialog_Look.h"
#include "platform/Pascal.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

constexpr double Pi = std::numbers::pi;

} // namespace

TGradualCalculationForm::TGradualCalculationForm(const char *objectName, const QString &caption, bool contraction,
                                                 QWidget *parent)
    : TFittingCalculationForm(objectName, caption, parent), contraction_(contraction)
{
    // The first box takes the focus at every showing.
    if (contraction) {
        LargeDiameterEdit = AddBox("LargeDiameterEdit", QStringLiteral("2.00"), 4, 3);
        LengthEdit = AddBox("LengthEdit", QStringLiteral("1.866"), 4, 3);
        SmallDiameterEdit = AddBox("SmallDiameterEdit", QStringLiteral("1.00"), 4, 3);
    } else {
        SmallDiameterEdit = AddBox("SmallDiameterEdit", QStringLiteral("1.00"), 4, 3);
        LengthEdit = AddBox("LengthEdit", QStringLiteral("1.866"), 4, 3);
        LargeDiameterEdit = AddBox("LargeDiameterEdit", QStringLiteral("2.00"), 4, 3);
    }
    AngleLabel = Named<QLabel>("AngleLabel", this);
    AddResultLabel(AngleLabel);
    AngleUpDown = Named<QSpinBox>("AngleUpDown", this);
    AngleUpDown->setRange(0, 2000);
    AngleUpDown->setValue(upDownValue_);
    AngleUpDown->setFixedWidth(18);
    AngleUpDown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    connect(AngleUpDown, &QSpinBox::valueChanged, this, [this](int value) {
        const bool up = value > upDownValue_;
        upDownValue_ = value;
        StepAngle(up);
    });

    Inputs->addWidget(new QLabel(QStringLiteral("Large diameter D"), this), 0, 0);
    Inputs->addWidget(LargeDiameterEdit, 0, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Length L"), this), 1, 0);
    Inputs->addWidget(LengthEdit, 1, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Small diameter d"), this), 2, 0);
    Inputs->addWidget(SmallDiameterEdit, 2, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Included angle ="), this), 3, 0);
    Inputs->addWidget(AngleLabel, 3, 1);
    Inputs->addWidget(AngleUpDown, 3, 2);
    Inputs->addWidget(new QLabel(contraction ? QStringLiteral("K value to be included on the larger pipe:")
                                             : QStringLiteral("K value to be included on the smaller pipe:"),
                                 this),
                      4, 0, 1, 3);
    Inputs->addWidget(new QLabel(QStringLiteral("Based on velocity"), this), 5, 0);
    Inputs->addWidget(
        new QLabel(contraction ? QStringLiteral("in larger diameter pipe") : QStringLiteral("in smaller diameter pipe"),
                   this),
        5, 1);
}

void TGradualCalculationForm::Showing(bool firstShow)
{
    if (firstShow)
        AngleLabel->setText(QStringLiteral("30°"));
    const QSignalBlocker block(AngleUpDown);
    upDownValue_ = 1000;
    AngleUpDown->setValue(upDownValue_);
}

void TGradualCalculationForm::Calculate()
{
    ClearResults();
    double d = 0, D = 0, L = 0;
    bool valid = ReadBox(SmallDiameterEdit, d) && ReadBox(LargeDiameterEdit, D);
    const bool reversed = d > D;
    if (reversed)
        valid = false;
    if (valid)
        valid = ReadBox(LengthEdit, L);
    if (valid) {
        const double half = std::atan(((D - d) / 2) / L);
        const double angle = 2 * half / Pi * 180;
        const double beta2 = (d / D) * (d / D);
        double k = 0;
        if (contraction_) {
            double k1 = 0;
            if (angle > 0 && angle < 45)
                k1 = 0.8 * std::sin(half) * (1 - beta2);
            else if (angle >= 45 && angle <= 180)
                k1 = std::sqrt(std::sin(half)) * (1 - beta2) * 0.5;
            k = k1 * std::pow(D / d, 4);
        } else {
            if (angle > 0 && angle < 45)
                k = 2.6 * std::sin(half) * (1 - beta2) * (1 - beta2);
            else if (angle >= 45 && angle <= 180)
                k = (1 - beta2) * (1 - beta2);
        }
        AngleLabel->setText(FormatResult(angle, 1) + QStringLiteral("°"));
        KValueLabel->setText(FormatResult(k, 2));
    } else if (contraction_ && !reversed) {
        QApplication::beep();
    }
    calculationValid_ = valid;
    if (reversed) {
        if (contraction_) {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("The large diameter value cannot\rbe less than the small diameter"),
                                  this);
            LargeDiameterEdit->setFocus();
        } else {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("The small diameter value cannot\rbe greater than the large diameter"),
                                  this);
            SmallDiameterEdit->setFocus();
        }
    }
}

void TGradualCalculationForm::StepAngle(bool up)
{
    Calculate();
    if (AngleLabel->text().isEmpty()) {
        Calculate();
        return;
    }
    std::string angleText = AngleLabel->text().remove(QStringLiteral("°")).toStdString();
    double d = 0, D = 0;
    if (!ReadBox(SmallDiameterEdit, d) || !ReadBox(LargeDiameterEdit, D)) {
        Calculate();
        return;
    }
    bool valid = false;
    const char separator = static_cast<char>(LocaleDecimalSeparator());
    NormaliseDecimalSeparator(angleText, separator);
    const double shown = ReadRealFromString(angleText, valid, true, true, separator);
    int angle = static_cast<int>(Trunc(shown + 0.5)) + (up ? 1 : -1);
    angle = std::clamp(angle, 1, 180);
    const double length = ((D - d) / 2) / std::tan(angle / 180.0 * Pi / 2);
    LengthEdit->setText(QString::fromStdString(formatFixed(3, length)));
    Calculate();
}

TGradualContractionCalculationForm::TGradualContractionCalculationForm(QWidget *parent)
    : TGradualCalculationForm("GradualContractionCalculationForm", QStringLiteral("Gradual contraction K value"), true,
                              parent)
{
}

TGradualEnlargementCalculationForm::TGradualEnlargementCalculationForm(QWidget *parent)
    : TGradualCalculationForm("GradualEnlargementCalculationForm", QStringLiteral("Gradual enlargement K Value"), false,
                              parent)
{
}

} // namespace tessaran
