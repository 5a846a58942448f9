#pragma once
// The frame the six fitting-loss calculators share: numeric entry boxes
// that refuse what is not a number above zero, the K result label that the
// fittings manager reads, and the "Calculate", "Cancel" and "Create new
// fitting" buttons.

#include <string>
#include <vector>

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;

namespace tessaran {

class TRightEdit;

class TFittingCalculationForm : public QDialog {
    Q_OBJECT
public:
    explicit TFittingCalculationForm(const char *objectName, const QString &caption, QWidget *parent = nullptr);

    // Runs the calculation; the result labels hold its result when valid and
    // are empty otherwise.
    virtual void Calculate() = 0;
    // Runs the calculation and, when valid, closes the dialog with the
    // use-as-new-fitting flag set.
    virtual void CreateNewFitting();

    // The K result as shown (2 decimals), empty without a valid result.
    QString KResultText() const;
    bool UseAsNewFitting() const { return useAsNewFitting_; }
    bool CalculationValid() const { return calculationValid_; }

    QLabel *KValueLabel;
    QPushButton *CalculateBitBtn;
    QPushButton *CancelBitBtn;
    QPushButton *CreateNewFittingBitBtn;

    // K and ratios as the calculators show them: fixed point, 7 significant
    // digits (scientific form beyond them).
    static QString FormatResult(double value, int decimals);

protected:
    void showEvent(QShowEvent *event) override;
    // Called at every showing, after the common steps.
    virtual void Showing(bool firstShow) { (void)firstShow; }

    // A numeric box with its default text, key limits and the common
    // behaviour; `checkKeys` adds the numeric-key test with its beep.
    TRightEdit *AddBox(const char *name, const QString &defaultText, int preDecimals, int postDecimals,
                       bool checkKeys = false);
    // The box's value, or the invalid-entry warning and false.
    bool ReadBox(TRightEdit *box, double &value);
    void ShowInvalidEntry(TRightEdit *box);
    // Empties K and every extra result label.
    void ClearResults();
    void AddResultLabel(QLabel *label) { resultLabels_.push_back(label); }

    QGridLayout *Inputs;
    QGridLayout *Results;
    TRightEdit *FirstBox = nullptr;
    bool calculationValid_ = false;
    bool useAsNewFitting_ = false;

private:
    std::vector<QLabel *> resultLabels_;
    std::vector<TRightEdit *> boxes_;
    bool firstShow_ = true;
};

} // namespace tessaran
