#pragma once
// The results log window: the log of the last calculation, a summary of
// its outcome and the three ways on from it (the results drawing, the
// results sheet, the PDF report). Made once and kept; the main window
// fills its log before each showing.

#include "platform/Graphics.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaran {

// The summary line of a calculation and how it is shown.
struct TResultsSummary {
    std::string Text;
    std::string Text2;
    bool Yellow = false; // otherwise the button face
    bool Red = false;
    bool Bold = false;
};

TResultsSummary ResultsSummaryFor(bool Solved, bool SolutionOk, int WarningsCount, int CommentsCount,
                                  bool ToleranceMaybeTooSmall);

class TResultsLogForm : public QDialog {
    Q_OBJECT
public:
    explicit TResultsLogForm(QWidget *parent = nullptr);

    // Fills the summary and the buttons, shows the window modally and
    // hands back the user's choice.
    void OpenForm(bool Solved, bool SolutionOk, int WarningsCount, int CommentsCount, bool &ShowResultsTable,
                  bool &ShowCreatePDF, bool ToleranceMaybeTooSmall = false);
    // Shows the window as it was last filled, with both choices cleared.
    void ShowAgain(bool &ShowResultsTable, bool &ShowCreatePDF);

    void SetLogLines(const std::vector<std::string> &Lines);
    void SetLogText(const std::string &Text);
    std::string LogText() const;

    void ButtonOkClick();
    void BitBtnViewDrawingClick();
    void BitBtnViewResultsClick();
    void BitBtnCreatePDFClick();
    void FormShow();

    // Runs the modal showing; tests press the buttons from here instead.
    std::function<void(TResultsLogForm &)> ModalRunner;

    bool ShowResultsTableChosen = false;
    bool ShowCreatePDFChosen = false;

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *MemoLog = nullptr;
    QPlainTextEdit *PrivateLog = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *LabelResultsMessage = nullptr;
    QLabel *LabelResultsMessage2 = nullptr;
    QPushButton *BitBtnViewDrawing = nullptr;
    QPushButton *BitBtnViewResults = nullptr;
    QPushButton *BitBtnCreatePDF = nullptr;
    QPushButton *ButtonOk = nullptr;

private:
    void runModal(bool &ShowResultsTable, bool &ShowCreatePDF);
    void showSummary(const TResultsSummary &summary, bool solved);
};

} // namespace tessaran
