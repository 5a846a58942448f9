#include "dialogs/Fitting_Sudden_Forms.h"

#include <cmath>

#include <QGridLayout>
#include <QLabel>

#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

const QString LargeBelowSmall = QStringLiteral("The large diameter value cannot\rbe less than the small diameter");
const QString SmallAboveLarge = QStringLiteral("The small diameter value cannot\rbe greater than the large diameter");

void Captions(QGridLayout *inputs, QWidget *form, bool onLarger)
{
    inputs->addWidget(new QLabel(onLarger ? QStringLiteral("K value to be included on the larger pipe:")
                                          : QStringLiteral("K value to be included on the smaller pipe:"),
                                 form),
                      3, 0, 1, 2);
    inputs->addWidget(new QLabel(QStringLiteral("Based on velocity"), form), 4, 0);
    inputs->addWidget(
        new QLabel(onLarger ? QStringLiteral("in larger diameter pipe") : QStringLiteral("in smaller diameter pipe"),
                   form),
        4, 1);
}

} // namespace

TSuddenContractionCalculationForm::TSuddenContractionCalculationForm(QWidget *parent)
    : TFittingCalculationForm("SuddenContractionCalculationForm", QStringLiteral("Sudden contraction K value"), parent)
{
    LargeDiameterEdit = AddBox("LargeDiameterEdit", QStringLiteral("4.00"), 6, 4, true);
    SmallDiameterEdit = AddBox("SmallDiameterEdit", QStringLiteral("1.00"), 6, 4, true);
    Inputs->addWidget(new QLabel(QStringLiteral("Large diameter D"), this), 0, 0);
    Inputs->addWidget(LargeDiameterEdit, 0, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Small diameter d"), this), 1, 0);
    Inputs->addWidget(SmallDiameterEdit, 1, 1);
    Captions(Inputs, this, true);
}

void TSuddenContractionCalculationForm::Calculate()
{
    ClearResults();
    double d = 0, D = 0;
    bool valid = ReadBox(SmallDiameterEdit, d) && ReadBox(LargeDiameterEdit, D);
    if (d > D)
        valid = false;
    if (valid) {
        const double beta2 = (d / D) * (d / D);
        KValueLabel->setText(FormatResult(0.5 * (1 - beta2) / (beta2 * beta2), 2));
    }
    calculationValid_ = valid;
    if (d > D) {
        Dialogs().ShowMessage(TDialogKind::Warning, LargeBelowSmall, this);
        LargeDiameterEdit->setFocus();
    }
}

void TSuddenContractionCalculationForm::CreateNewFitting()
{
    useAsNewFitting_ = false;
    calculationValid_ = false;
    try {
        Calculate();
        if (calculationValid_) {
            bool valid = false;
            const double k = ReadRealFromString(KValueLabel->text().toStdString(), valid, false, false,
                                                static_cast<char>(LocaleDecimalSeparator()));
            if (valid) {
                useAsNewFitting_ = true;
                if (k > 50 &&
                    !Dialogs().AskYesNo(TDialogKind::Confirmation,
                                        QStringLiteral("The sudden contraction ratio is greater than normally "
                                                       "experienced and this may produce a large head loss.\r\rDo "
                                                       "you wish to continue?"),
                                        this)) {
                    useAsNewFitting_ = false;
                    KValueLabel->clear();
                }
            } else {
                KValueLabel->clear();
                Dialogs().ShowMessage(
                    TDialogKind::Warning,
                    QStringLiteral("The K value is not valid.\r\rThe ratio of contraction values may be too large."),
                    this);
            }
        }
    } catch (const std::exception &) {
        KValueLabel->clear();
        Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("The K value is not valid."), this);
    }
    if (useAsNewFitting_ && calculationValid_)
        accept();
}

TSuddenEnlargementCalculationForm::TSuddenEnlargementCalculationForm(QWidget *parent)
    : TFittingCalculationForm("SuddenEnlargementCalculationForm", QStringLiteral("Sudden enlargement K value"), parent)
{
    SmallDiameterEdit = AddBox("SmallDiameterEdit", QStringLiteral("1.00"), 6, 4, true);
    LargeDiameterEdit = AddBox("LargeDiameterEdit", QStringLiteral("4.00"), 6, 4, true);
    Inputs->addWidget(new QLabel(QStringLiteral("Small diameter d"), this), 0, 0);
    Inputs->addWidget(SmallDiameterEdit, 0, 1);
    Inputs->addWidget(new QLabel(QStringLiteral("Large diameter D"), this), 1, 0);
    Inputs->addWidget(LargeDiameterEdit, 1, 1);
    Captions(Inputs, this, false);
}

void TSuddenEnlargementCalculationForm::Calculate()
{
    ClearResults();
    double d = 0, D = 0;
    bool valid = ReadBox(SmallDiameterEdit, d) && ReadBox(LargeDiameterEdit, D);
    if (d > D)
        valid = false;
    if (valid) {
        const double beta2 = (d / D) * (d / D);
        KValueLabel->setText(FormatResult((1 - beta2) * (1 - beta2), 2));
    }
    calculationValid_ = valid;
    if (d > D) {
        Dialogs().ShowMessage(TDialogKind::Warning, SmallAboveLarge, this);
        SmallDiameterEdit->setFocus();
    }
}

} // namespace tessaran
