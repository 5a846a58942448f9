#include "app/Results_Log_Form.h"

#include "platform/qt/Qt_Canvas.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace tessaran {

namespace {

constexpr TColor Yellow = 0x00FFFF;
constexpr TColor LightBlue = 0xFFFAF1;

void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

template <typename Widget> Widget *named(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

std::string plural(int count, const char *one, const char *more) { return count == 1 ? one : more; }

} // namespace

TResultsSummary ResultsSummaryFor(bool Solved, bool SolutionOk, int WarningsCount, int CommentsCount,
                                  bool ToleranceMaybeTooSmall)
{
    TResultsSummary s;
    if (!Solved) {
        s.Text = "The network was not solved.";
        s.Text2 = ToleranceMaybeTooSmall
                      ? "The Final Pressure balance tolerance may be set too low.\r\rPlease review the details above "
                        "and scroll to the end of the log."
                      : "Please review the log details above (scroll through for details).\r\rAnd then review the "
                        "design of your system.";
        s.Yellow = true;
        s.Bold = true;
        return s;
    }
    const std::string warnings = std::to_string(WarningsCount);
    const std::string comments = std::to_string(CommentsCount);
    if (WarningsCount < 1 && CommentsCount < 1)
        s.Text = "The network was solved successfully.";
    else if (CommentsCount < 1)
        s.Text = "Solved with " + warnings + plural(WarningsCount, " WARNING ***.", " WARNINGS ***.");
    else if (WarningsCount > 0)
        s.Text = "Solved with " + warnings + plural(WarningsCount, " WARNING *** plus ", " WARNINGS *** plus ") +
                 comments + plural(CommentsCount, " comments", " comments.");
    else
        s.Text = "The network was solved successfully. The log contains " + comments + " comments for review.";
    s.Yellow = WarningsCount > 0;
    s.Red = WarningsCount > 0;
    s.Bold = WarningsCount > 0;
    if (!SolutionOk)
        s.Text = "INVALID SOLUTION: " + s.Text;
    s.Text2 = "The solution values are displayed on the drawing.";
    return s;
}

TResultsLogForm::TResultsLogForm(QWidget *parent) : QDialog(parent)
{
    setObjectName("ResultsLogForm");
    setWindowTitle("Results Log");
    setModal(true);
    setFixedSize(600, 622);

    Image1 = named(new QLabel(this), "Image1", {0, 0, 600, 40});
    QLinearGradient banner(0, 0, 600, 0);
    banner.setColorAt(0, QColor(0, 70, 140));
    banner.setColorAt(1, QColor(120, 180, 230));
    QPalette bannerColours = Image1->palette();
    bannerColours.setBrush(QPalette::Window, banner);
    Image1->setPalette(bannerColours);
    Image1->setAutoFillBackground(true);

    Label1 = named(new QLabel("Tessaran - Results Log", this), "Label1", {12, 46, 400, 20});
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    MemoLog = named(new QPlainTextEdit(this), "MemoLog", {12, 70, 576, 360});
    MemoLog->setReadOnly(true);
    MemoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    PrivateLog = named(new QPlainTextEdit(this), "PrivateLog", {0, 0, 10, 10});
    PrivateLog->hide();

    GroupBox1 = named(new QGroupBox(this), "GroupBox1", {12, 436, 576, 130});
    LabelResultsMessage = named(new QLabel(GroupBox1), "LabelResultsMessage", {8, 10, 560, 40});
    LabelResultsMessage2 = named(new QLabel(GroupBox1), "LabelResultsMessage2", {8, 54, 560, 70});
    for (QLabel *label : {LabelResultsMessage, LabelResultsMessage2}) {
        QFont font("Arial");
        font.setPixelSize(13);
        label->setFont(font);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    LabelResultsMessage->setAutoFillBackground(true);

    BitBtnViewDrawing = named(new QPushButton("View Results Drawing", this), "BitBtnViewDrawing", {12, 578, 180, 30});
    BitBtnViewResults = named(new QPushButton("View Results Sheet", this), "BitBtnViewResults", {210, 578, 180, 30});
    BitBtnCreatePDF = named(new QPushButton("Create PDF Report", this), "BitBtnCreatePDF", {408, 578, 180, 30});
    ButtonOk = named(new QPushButton("Ok", this), "ButtonOk", {250, 578, 100, 30});
    connect(ButtonOk, &QPushButton::clicked, this, &TResultsLogForm::ButtonOkClick);
    connect(BitBtnViewDrawing, &QPushButton::clicked, this, &TResultsLogForm::BitBtnViewDrawingClick);
    connect(BitBtnViewResults, &QPushButton::clicked, this, &TResultsLogForm::BitBtnViewResultsClick);
    connect(BitBtnCreatePDF, &QPushButton::clicked, this, &TResultsLogForm::BitBtnCreatePDFClick);
}

void TResultsLogForm::SetLogLines(const std::vector<std::string> &Lines)
{
    std::string text;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += Lines[i];
    }
    SetLogText(text);
}

void TResultsLogForm::SetLogText(const std::string &Text) { MemoLog->setPlainText(QString::fromStdString(Text)); }

std::string TResultsLogForm::LogText() const { return MemoLog->toPlainText().toStdString(); }

void TResultsLogForm::showSummary(const TResultsSummary &summary, bool solved)
{
    QFont font = LabelResultsMessage->font();
    font.setBold(summary.Bold);
    LabelResultsMessage->setFont(font);
    QPalette colours = LabelResultsMessage->palette();
    colours.setColor(QPalette::Window, summary.Yellow ? ToQColor(Yellow) : palette().color(QPalette::Button));
    colours.setColor(QPalette::WindowText, summary.Red ? QColor(Qt::red) : QColor(Qt::black));
    LabelResultsMessage->setPalette(colours);
    auto lines = [](const std::string &text) {
        return QString::fromStdString(text).replace('\r', '\n');
    };
    LabelResultsMessage->setText(lines(summary.Text));
    LabelResultsMessage2->setText(lines(summary.Text2));
    BitBtnViewDrawing->setVisible(solved);
    BitBtnViewResults->setVisible(solved);
    BitBtnCreatePDF->setVisible(solved);
    ButtonOk->setVisible(!solved);
}

void TResultsLogForm::OpenForm(bool Solved, bool SolutionOk, int WarningsCount, int CommentsCount,
                               bool &ShowResultsTable, bool &ShowCreatePDF, bool ToleranceMaybeTooSmall)
{
    fillBackground(this, ToQColor(LightBlue));
    showSummary(ResultsSummaryFor(Solved, SolutionOk, WarningsCount, CommentsCount, ToleranceMaybeTooSmall), Solved);
    runModal(ShowResultsTable, ShowCreatePDF);
}

void TResultsLogForm::ShowAgain(bool &ShowResultsTable, bool &ShowCreatePDF)
{
    runModal(ShowResultsTable, ShowCreatePDF);
}

void TResultsLogForm::runModal(bool &ShowResultsTable, bool &ShowCreatePDF)
{
    ShowResultsTableChosen = false;
    ShowCreatePDFChosen = false;
    if (QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    repaint();
    if (ModalRunner)
        ModalRunner(*this);
    else
        exec();
    ShowResultsTable = ShowResultsTableChosen;
    ShowCreatePDF = ShowCreatePDFChosen;
}

void TResultsLogForm::ButtonOkClick()
{
    ShowResultsTableChosen = false;
    ShowCreatePDFChosen = false;
    done(QDialog::Accepted);
}

void TResultsLogForm::BitBtnViewDrawingClick() { ButtonOkClick(); }

void TResultsLogForm::BitBtnViewResultsClick()
{
    ShowResultsTableChosen = true;
    ShowCreatePDFChosen = false;
    done(QDialog::Accepted);
}

void TResultsLogForm::BitBtnCreatePDFClick()
{
    ShowCreatePDFChosen = true;
    ShowResultsTableChosen = false;
    done(QDialog::Accepted);
}

void TResultsLogForm::FormShow() { repaint(); }

} // namespace tessaran
