#include "units/widgets/RightEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>

#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"

namespace tessaran {

namespace {

// The readers take a single-byte separator; a locale whose separator is not
// ASCII falls back to the point.
char narrowSeparator(char16_t separator) { return separator < 0x80 ? static_cast<char>(separator) : '.'; }

TEntryText entryOf(const QLineEdit *control)
{
    const QString text = control->text();
    TEntryText entry;
    entry.text = text.toStdU16String();
    if (control->hasSelectedText()) {
        entry.selStart = control->selectionStart();
        entry.selLength = static_cast<int>(control->selectedText().size());
    } else {
        entry.selStart = control->cursorPosition();
    }
    return entry;
}

// Messages are written with carriage returns between their lines.
QString messageText(std::string_view text)
{
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

// The digit-limit message, through the installed message service when
// there is one.
void showFilterMessage(QWidget *owner, const std::string &message)
{
    if (TDialogService *dialogs = InstalledDialogs()) {
        dialogs->ShowMessage(TDialogKind::Information, QString::fromStdString(message), owner);
        return;
    }
    QMessageBox::information(owner, QStringLiteral("Information"), messageText(message), QMessageBox::Ok);
}

bool filterRealKey(const TEntryText &entry, QWidget *owner, char16_t &key, bool allowNegative,
                   int maximumPreDecimalDigits, int maximumPostDecimalDigits)
{
    std::string message;
    const bool survives = tessaran::FilterRealKey(entry, key, allowNegative, maximumPreDecimalDigits,
                                                  maximumPostDecimalDigits, LocaleDecimalSeparator(), &message);
    if (!message.empty())
        showFilterMessage(owner, message);
    return survives;
}

} // namespace

TRightEdit::TRightEdit(QWidget *AOwner) : QLineEdit(AOwner)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TRightEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool typed = text.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                       (text[0].unicode() >= 0x20 || text[0].unicode() == KeyBackspace ||
                        text[0].unicode() == KeyTab || text[0].unicode() == KeyReturn) &&
                       text[0].unicode() != 0x7F;
    if (OnKeyPress && typed) {
        char16_t key = text[0].unicode();
        OnKeyPress(this, key);
        if (key == KeyNone) {
            event->accept();
            return;
        }
        if (key != text[0].unicode()) {
            QKeyEvent replaced(event->type(), event->key(), event->modifiers(), QString(QChar(key)));
            QLineEdit::keyPressEvent(&replaced);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

char16_t LocaleDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? u'.' : point[0].unicode();
}

bool FilterNumericKey(const QLineEdit *control, char16_t &key, bool allowNegative)
{
    return tessaran::FilterNumericKey(control->text().toStdU16String(), key, allowNegative, LocaleDecimalSeparator());
}

bool FilterIntegerKey(const QLineEdit *control, char16_t &key, bool allowNegative, int maximumLength)
{
    return tessaran::FilterIntegerKey(entryOf(control), key, allowNegative, maximumLength);
}

bool FilterRealKey(QLineEdit *control, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits)
{
    return filterRealKey(entryOf(control), control->window(), key, allowNegative, maximumPreDecimalDigits,
                         maximumPostDecimalDigits);
}

bool FilterRealKey(QAbstractItemView *grid, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits)
{
    TEntryText entry;
    // An open cell editor is a line edit on the grid's viewport.
    QLineEdit *editor = nullptr;
    for (QLineEdit *child : grid->viewport()->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            editor = child;
    if (editor) {
        entry = entryOf(editor);
    } else {
        entry.text = grid->currentIndex().data(Qt::EditRole).toString().toStdU16String();
        entry.selLength = static_cast<int>(entry.text.size());
    }
    return filterRealKey(entry, grid->window(), key, allowNegative, maximumPreDecimalDigits,
                         maximumPostDecimalDigits);
}

bool FilterFileNameKey(const QLineEdit *, char16_t &key, bool allowPoint)
{
    return tessaran::FilterFileNameKey(key, allowPoint);
}

double ReadRealFromEdit(const QLineEdit *control, bool &valid, bool allowZero, bool allowNegative)
{
    return tessaran::ReadRealFromEdit(control->text().toStdString(), valid, allowZero, allowNegative,
                                      narrowSeparator(LocaleDecimalSeparator()));
}

int ReadIntegerFromEdit(const QLineEdit *control, bool &valid, bool allowZero, bool allowNegative)
{
    return tessaran::ReadIntegerFromEdit(control->text().toStdString(), valid, allowZero, allowNegative);
}

double ReadPositiveRealFromEdit(const QLineEdit *control, bool &valid, bool allowZeroOrNegative)
{
    return tessaran::ReadPositiveRealFromEdit(control->text().toStdString(), valid, allowZeroOrNegative,
                                              narrowSeparator(LocaleDecimalSeparator()));
}

bool CheckRealInEdit(QLineEdit *control, const QString &previousText, bool allowZeroOrNegative)
{
    if (tessaran::CheckRealInEdit(control->text().toStdString(), allowZeroOrNegative,
                                  narrowSeparator(LocaleDecimalSeparator())))
        return true;
    control->setText(previousText);
    return false;
}

void NormaliseEditDecimalSeparator(QLineEdit *control)
{
    std::string text = control->text().toStdString();
    NormaliseDecimalSeparator(text, narrowSeparator(LocaleDecimalSeparator()));
    control->setText(QString::fromStdString(text));
}

void ShowInvalidNumericEntry(TRightEdit *control, const QColor &colour, int formLeft, int formTop, int xOffset,
                             int yOffset)
{
    const QPalette saved = control->palette();
    const QColor windowColour = QApplication::palette().color(QPalette::Base);
    if (colour != windowColour) {
        QPalette painted = saved;
        painted.setColor(QPalette::Base, colour);
        control->setPalette(painted);
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), messageText(InvalidNumericEntryMessage),
                    QMessageBox::Ok, control->window());
    box.move(control->x() + formLeft + xOffset, control->y() + formTop + yOffset);
    box.exec();
    control->setPalette(saved);
    if (control->isEnabled())
        control->setFocus();
}

} // namespace tessaran
