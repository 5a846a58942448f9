#include "dialogs/Fitting_Calculation_Form.h"

#include <cmath>

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

// Leaving a box with a text that is not a number above zero puts "0.00"
// in it and shows the warning, unless the focus goes to "Cancel".
class TLeaveCheck : public QObject {
public:
    TLeaveCheck(TFittingCalculationForm *form, TRightEdit *box, QPushButton *cancel,
                std::function<void(TRightEdit *)> warn)
        : QObject(box), box_(box), cancel_(cancel), warn_(std::move(warn))
    {
        (void)form;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == box_ && event->type() == QEvent::FocusOut && QApplication::focusWidget() != cancel_ &&
            box_->isVisible()) {
            bool valid = false;
            ReadPositiveRealFromEdit(box_, valid, false);
            if (!valid) {
                box_->setText(QStringLiteral("0.00"));
                warn_(box_);
            }
        }
        return false;
    }

private:
    TRightEdit *box_;
    QPushButton *cancel_;
    std::function<void(TRightEdit *)> warn_;
};

} // namespace

TFittingCalculationForm::TFittingCalculationForm(const char *objectName, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    KValueLabel = Named<QLabel>("KValueLabel", this);
    CalculateBitBtn = Named<QPushButton>("CalculateBitBtn", QStringLiteral("Calculate"), this);
    CancelBitBtn = Named<QPushButton>("CancelBitBtn", QStringLiteral("Cancel"), this);
    CreateNewFittingBitBtn = Named<QPushButton>("CreateNewFittingBitBtn", QStringLiteral("Create new fitting"), this);
    for (QPushButton *button : {CalculateBitBtn, CancelBitBtn, CreateNewFittingBitBtn})
        button->setAutoDefault(false);
    AddResultLabel(KValueLabel);

    auto *layout = new QVBoxLayout(this);
    Inputs = new QGridLayout;
    Results = new QGridLayout;
    layout->addLayout(Inputs);
    layout->addLayout(Results);
    Results->addWidget(new QLabel(QStringLiteral("K"), this), 0, 0);
    Results->addWidget(new QLabel(QStringLiteral("= "), this), 0, 1);
    Results->addWidget(KValueLabel, 0, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CalculateBitBtn);
    buttons->addWidget(CancelBitBtn);
    buttons->addWidget(CreateNewFittingBitBtn);
    layout->addLayout(buttons);

    connect(CalculateBitBtn, &QPushButton::clicked, this, [this] { Calculate(); });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] { reject(); });
    connect(CreateNewFittingBitBtn, &QPushButton::clicked, this, [this] { CreateNewFitting(); });
}

QString TFittingCalculationForm::FormatResult(double value, int decimals)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e7)
        return QString::number(value, 'E', 6);
    return QString::fromStdString(formatFixed(decimals, value));
}

QString TFittingCalculationForm::KResultText() const { return KValueLabel->text(); }

TRightEdit *TFittingCalculationForm::AddBox(const char *name, const QString &defaultText, int preDecimals,
                                            int postDecimals, bool checkKeys)
{
    auto *box = Named<TRightEdit>(name, this);
    box->setText(defaultText);
    SelectAllOnEntry(box);
    box->OnKeyPress = [preDecimals, postDecimals, checkKeys](TRightEdit *sender, char16_t &key) {
        if (checkKeys && !FilterNumericKey(sender, key, false)) {
            QApplication::beep();
            return;
        }
        FilterRealKey(sender, key, false, preDecimals, postDecimals);
    };
    connect(box, &QLineEdit::textChanged, this, [this] { ClearResults(); });
    box->installEventFilter(
        new TLeaveCheck(this, box, CancelBitBtn, [this](TRightEdit *invalid) { ShowInvalidEntry(invalid); }));
    if (!FirstBox)
        FirstBox = box;
    boxes_.push_back(box);
    return box;
}

void TFittingCalculationForm::ShowInvalidEntry(TRightEdit *box)
{
    const QPalette saved = box->palette();
    QPalette painted = saved;
    painted.setColor(QPalette::Base, FlashYellow);
    box->setPalette(painted);
    const QPoint place = box->mapTo(this, QPoint(0, 0)) + QPoint(x() - 60, y() - 120);
    Dialogs().ShowMessageBox(
        {TDialogKind::Warning,
         QString::fromUtf8(InvalidNumericEntryMessage.data(), static_cast<int>(InvalidNumericEntryMessage.size())),
         DialogOk, this, place, QString()});
    box->setPalette(saved);
    if (box->isEnabled() && isVisible())
        box->setFocus();
}

bool TFittingCalculationForm::ReadBox(TRightEdit *box, double &value)
{
    bool valid = false;
    value = ReadPositiveRealFromEdit(box, valid, false);
    if (!valid)
        ShowInvalidEntry(box);
    return valid;
}

void TFittingCalculationForm::ClearResults()
{
    for (QLabel *label : resultLabels_)
        label->clear();
}

void TFittingCalculationForm::CreateNewFitting()
{
    Calculate();
    if (calculationValid_) {
        useAsNewFitting_ = true;
        accept();
    }
}

void TFittingCalculationForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    useAsNewFitting_ = false;
    PaintDialogBackground(this);
    if (firstShow_)
        for (TRightEdit *box : boxes_)
            NormaliseEditDecimalSeparator(box);
    Showing(firstShow_);
    firstShow_ = false;
    if (FirstBox && FirstBox->isEnabled())
        FirstBox->setFocus();
}

} // namespace tessaran
