#pragma once
// The free text dialog: edits one text label of the drawing (its lines,
// colour, size, style, angle and alignment to the grid) or deletes it.

#include <QDialog>

#include "platform/Graphics.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaran {

class TFreeText;
class TNetwork;
class TRightEdit;

class TFreeTextsForm : public QDialog {
    Q_OBJECT
public:
    explicit TFreeTextsForm(QWidget *parent = nullptr);

    // Shows TheFreeText and, after the dialog closes, writes the choices into
    // the network's free text TheFreeTextId (1-based) or removes it.
    void OpenForm(const TFreeText &TheFreeText, int TheFreeTextId, TNetwork &TheNetwork);

    // The list choices (no selection: -1).
    static TColor ColorOfPosition(int position);
    static int PositionOfColor(TColor color);
    static int SizeOfPosition(int position);
    static int PositionOfSize(int size);
    static TFontStyles StyleOfPosition(int position);
    static int PositionOfStyle(TFontStyles style);
    // An angle folded below one turn, its sign kept.
    static int FoldAngle(int angle);

    QPlainTextEdit *MemoFreeText;
    QComboBox *ComboBoxColors;
    QComboBox *ComboBoxSize;
    QComboBox *ComboBoxStyle;
    TRightEdit *EditAngle;
    QCheckBox *CheckBoxLeftAlign;
    QCheckBox *CheckBoxTopAlign;
    QGroupBox *GroupBoxSample;
    QLabel *LabelExample;
    QPushButton *BitBtnOK;
    QPushButton *BitBtnDelete;
    QPushButton *BitBtnClear;
    QPushButton *BitBtnCancel;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Escape cancels.
    void reject() override;

private:
    void UpdateFormFromFreeText(const TFreeText &TheFreeText, const TNetwork &TheNetwork);
    void UpdateFreeTextFromForm(TFreeText &TheFreeText, const TNetwork &TheNetwork) const;
    void UpdateExampleFont();

    bool keep_ = true;
    bool cancelled_ = false;
    // What an unchanged list keeps: the label's own value when the list has
    // no entry for it.
    TColor shownColor_ = 0;
    int shownSize_ = 8;
    TFontStyles shownStyle_;
};

} // namespace tessaran
