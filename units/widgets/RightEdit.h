#pragma once
// The right-aligned numeric edit box and the edit-box side of numeric entry:
// the key filters and readers of units/Numeric_Entry applied to a line
// edit's text, with the user locale's decimal separator and the messages the
// user sees.

#include <functional>

#include <QColor>
#include <QLineEdit>
#include <QString>

class QAbstractItemView;

namespace tessaran {

// A single-line edit box whose text is right-justified.
class TRightEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRightEdit(QWidget *AOwner = nullptr);

    // The edit box's key-press event: called with each typed character
    // (printable keys, backspace, tab and Enter) before the box takes it;
    // a handler that sets the key to KeyNone drops it.
    std::function<void(TRightEdit *sender, char16_t &key)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The decimal separator of the user's locale.
char16_t LocaleDecimalSeparator();

// Key filters on an edit box's text and selection. FilterRealKey shows the
// digit-limit information messages.
bool FilterNumericKey(const QLineEdit *control, char16_t &key, bool allowNegative);
bool FilterIntegerKey(const QLineEdit *control, char16_t &key, bool allowNegative, int maximumLength);
bool FilterRealKey(QLineEdit *control, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits);
// The same filter for the current cell of a grid: the text of its open cell
// editor, or, when no editor is open, the cell's whole text as the text a
// typed key replaces.
bool FilterRealKey(QAbstractItemView *grid, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits);
bool FilterFileNameKey(const QLineEdit *control, char16_t &key, bool allowPoint);

// Readers of an edit box's text; see units/Numeric_Entry.h.
double ReadRealFromEdit(const QLineEdit *control, bool &valid, bool allowZero, bool allowNegative);
int ReadIntegerFromEdit(const QLineEdit *control, bool &valid, bool allowZero, bool allowNegative);
double ReadPositiveRealFromEdit(const QLineEdit *control, bool &valid, bool allowZeroOrNegative);
// False, with the text set back to previousText, when the box does not hold
// an acceptable real.
bool CheckRealInEdit(QLineEdit *control, const QString &previousText, bool allowZeroOrNegative);
void NormaliseEditDecimalSeparator(QLineEdit *control);

// The dialogs' response to an invalid value: paints the box in the given
// colour (unless it is the default window colour), shows the warning
// "Numeric entry is not valid" at the box's position plus the form's and the
// offsets, restores the colour and gives the box the focus when enabled.
void ShowInvalidNumericEntry(TRightEdit *control, const QColor &colour, int formLeft, int formTop, int xOffset,
                             int yOffset);

} // namespace tessaran
