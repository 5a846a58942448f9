#include "pumps/Pump_Popup_Form.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "model/Pump_Class.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

const char *const MemoLines[] = {
    "The pump is currently displaying and using predicted performance data.",
    "",
    "",
    "",
    "EDIT PUMP BASE DATA:",
    "When updating the pump data you should normally edit the original base data (recommended).",
    "",
    "",
    "VIEW PREDICTED DATA (Current Running Data):",
    "If you choose to view the current running data then this will show the predicted data that the pump",
    "is currently working with. The predicted data values will be shown but they will not be available",
    "for editing. ",
    "",
    "",
    "EDIT PUMP PREDICTED DATA (Not Recommended):",
    "If you choose to edit the predicted data values then the predicted data will become the base data,",
    "on which further predictions can then occur that may be outside of the valid prediction range from",
    "the original base data. ",
    "",
    "Editing the predicted data values means that the user is essentially redefining the pump base data.",
    "",
    "The new model will be reset to start from the standard affinity law predictions.",
    "",
    "",
    ""};

TPumpPopupForm *instance = nullptr;
void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

QString speedText(int rpm) { return QStringLiteral("Speed: ") + QString::number(rpm) + QStringLiteral(" rpm"); }

QString diameterText(double metres, TUnit unit)
{
    return QStringLiteral("Imp. Diam: ") + q(convertUnitToString(unt_m, unit, 3, metres)) + QStringLiteral(" ") +
           q(unitName(unit));
}

} // namespace

TPumpPopupForm::TPumpPopupForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PumpPopupForm"));
    setWindowTitle(QStringLiteral("Pump Data "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(570, 525);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 554, 380);
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox#GroupBox1 { background: white; }"));
    Image1 = new QLabel(GroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 32, 32);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(44, 8, 502, 364);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const char *line : MemoLines)
        lines << QString::fromLatin1(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));

    auto label = [this](const char *name, int x, int y) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(x, y, 260, 18);
        return l;
    };
    Label1 = label("Label1", 16, 396);
    Label2 = label("Label2", 16, 416);
    Label3 = label("Label3", 300, 396);
    Label4 = label("Label4", 300, 416);

    auto button = [this](const char *name, const char *caption, int x) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 448, 176, 30);
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1", "Edit Pump Base Data", 8);
    BitBtn3 = button("BitBtn3", "View Pump Predicted Data", 196);
    BitBtn2 = button("BitBtn2", "Edit Pump Predicted Data", 384);
    LabelNotRecommended = new QLabel(QStringLiteral("(Usually Not Recommended)"), this);
    LabelNotRecommended->setObjectName(QStringLiteral("LabelNotRecommended"));
    LabelNotRecommended->setGeometry(384, 482, 176, 18);
    LabelNotRecommended->setAlignment(Qt::AlignHCenter);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

TPumpPopupForm &TPumpPopupForm::Instance()
{
    if (!instance) {
        instance = new TPumpPopupForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

void TPumpPopupForm::OpenForm(const TPump &PumpUpdated, TDialogButton &TheMsgDlgBtn)
{
    TPumpPopupForm &form = Instance();
    QPalette background = form.palette();
    background.setColor(QPalette::Window, QColor(241, 250, 255));
    form.setPalette(background);
    form.setAutoFillBackground(true);
    const TUnit unit = PumpUpdated.ImpellerDiameterDisplayUnit;
    form.Label1->setText(speedText(PumpUpdated.BaseDataSpeed_rpm));
    form.Label2->setText(diameterText(PumpUpdated.BaseDataImpellerDiameter_m, unit));
    form.Label3->setText(speedText(PumpUpdated.Speed_rpm));
    form.Label4->setText(diameterText(PumpUpdated.ImpellerDiameter_m, unit));
    // Any way of closing other than the three buttons views the predicted data.
    form.answer_ = DialogCancel;
    form.exec();
    TheMsgDlgBtn = form.answer_;
}

void TPumpPopupForm::BitBtn1Click()
{
    answer_ = DialogYes;
    accept();
}

void TPumpPopupForm::BitBtn3Click()
{
    answer_ = DialogCancel;
    reject();
}

void TPumpPopupForm::BitBtn2Click()
{
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Are you sure you wish to edit the predicted data values? \r\rThese values "
                                           "will then become the base data for predicting the rest of the pump "
                                           "performance and the predictions will be reset to use the standard pump "
                                           "affinity laws.\r\rContinue and edit the predicted data values?"),
                            this))
        return;
    answer_ = DialogNo;
    accept();
}

} // namespace tessaran
