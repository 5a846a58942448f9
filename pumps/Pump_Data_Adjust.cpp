// The pump editor's predictions and model adjustment: the graph speed and
// diameter boxes with their spin buttons, the flow-head, efficiency, NPSH and
// minimum-flow corrections, the two preset lists with their user-defined
// match, the multiplier listings and the loading of every option control
// from a pump. Each adjustment ends by applying the pump's multipliers and
// redrawing the charts.

#include "pumps/Pump_Data_Form.h"

#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Named_Widget.h"
#include "pumps/Image_Box.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

const QString CannotUpdate = QStringLiteral("Cannot update pump data.\r\rCheck pump speed and impeller data has been set.");

// A spin button pair: the upper arrow named name + "Up", the lower name + "Down".
void SpinPair(const char *name, QWidget *parent, int x, int y, QToolButton *&up, QToolButton *&down)
{
    up = Named<QToolButton>((std::string(name) + "Up").c_str(), parent);
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(x, y, 16, 10);
    down = Named<QToolButton>((std::string(name) + "Down").c_str(), parent);
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(x, y + 10, 16, 10);
}

QLabel *Caption(const char *text, QWidget *parent, int x, int y, int w)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(x, y, w, 16);
    return label;
}

QString Percent0(double value) { return q(formatFixed(0, value)) + QStringLiteral("%"); }

// Two multiplier arrays are equal to a preset row when every value is the
// same, bit for bit as the lists compare them.
bool SameAs(const TPumpArray<double, 2> &max, const TPumpArray<double, 2> &min, const TPumpMultiplierPreset &row)
{
    return max[1] == row.Max1 && max[2] == row.Max2 && min[1] == row.Min1 && min[2] == row.Min2;
}

} // namespace

// --- building ---------------------------------------------------------------------

void TPumpDataForm::buildAdjustmentPanel()
{
    // The options panel covers the pump data side of the form.
    PanelGraphOptions = Named<QFrame>("PanelGraphOptions", this);
    PanelGraphOptions->setGeometry(24, 44, 296, 640);
    PanelGraphOptions->setFrameShape(QFrame::Box);
    PanelGraphOptions->setAutoFillBackground(true);
    {
        QPalette white = PanelGraphOptions->palette();
        white.setColor(QPalette::Window, Qt::white);
        PanelGraphOptions->setPalette(white);
    }
    QWidget *p = PanelGraphOptions;

    GroupBoxCurveMultipliers =
        Named<QGroupBox>("GroupBoxCurveMultipliers", QStringLiteral(" Pump Data: Curve Predictions "), p);
    GroupBoxCurveMultipliers->setGeometry(4, 4, 288, 262);
    QWidget *c = GroupBoxCurveMultipliers;
    Caption("Design Curve", c, 6, 20, 80);
    ComboBoxDesignCurve = Named<QComboBox>("ComboBoxDesignCurve", c);
    ComboBoxDesignCurve->setGeometry(90, 18, 190, 20);
    Caption("Efficiency", c, 6, 44, 80);
    ComboBoxEfficiencyCurve = Named<QComboBox>("ComboBoxEfficiencyCurve", c);
    ComboBoxEfficiencyCurve->setGeometry(90, 42, 190, 20);
    GroupBoxMultiplierInfo = Named<QGroupBox>("GroupBoxMultiplierInfo", QStringLiteral(" Multipliers "), c);
    GroupBoxMultiplierInfo->setGeometry(4, 66, 280, 150);
    Caption("Min Impeller", GroupBoxMultiplierInfo, 8, 16, 120);
    Caption("Max Impeller", GroupBoxMultiplierInfo, 144, 16, 120);
    MemoMinImpellerMultipliers = Named<QPlainTextEdit>("MemoMinImpellerMultipliers", c);
    MemoMinImpellerMultipliers->setGeometry(10, 100, 130, 94);
    MemoMaxImpellerMultipliers = Named<QPlainTextEdit>("MemoMaxImpellerMultipliers", c);
    MemoMaxImpellerMultipliers->setGeometry(146, 100, 130, 94);
    for (QPlainTextEdit *memo : {MemoMinImpellerMultipliers, MemoMaxImpellerMultipliers})
        memo->setReadOnly(true);
    BitBtnNotes = Named<QPushButton>("BitBtnNotes", QStringLiteral("More Info"), c);
    BitBtnNotes->setGeometry(6, 228, 80, 24);
    BitBtnAdjustPumpGraphs = Named<QPushButton>("BitBtnAdjustPumpGraphs", QStringLiteral("Adjust Pump Model"), c);
    BitBtnAdjustPumpGraphs->setGeometry(130, 228, 150, 24);
    BitBtnExitAdjustPumpGraphs =
        Named<QPushButton>("BitBtnExitAdjustPumpGraphs", QStringLiteral("Done Adjusting Pump"), c);
    BitBtnExitAdjustPumpGraphs->setGeometry(130, 228, 150, 24);
    BitBtnExitAdjustPumpGraphs->hide();

    // The notes and the note about missing data sit over the predictions box.
    GroupBoxNotes->setParent(p);
    GroupBoxNotes->setGeometry(4, 270, 288, 300);
    Memo2->setGeometry(6, 16, 276, 250);
    BitBtnCloseNotes = Named<QPushButton>("BitBtnCloseNotes", QStringLiteral("Close"), GroupBoxNotes);
    BitBtnCloseNotes->setGeometry(200, 270, 80, 24);
    GroupBoxNotes->hide();
    GroupBoxNoteSingleCurve->setParent(p);
    GroupBoxNoteSingleCurve->setGeometry(GroupBoxCurveMultipliers->geometry());
    Memo1->setGeometry(6, 16, 276, 240);
    GroupBoxNoteSingleCurve->hide();

    GroupBoxGraphOptions = Named<QGroupBox>("GroupBoxGraphOptions", QStringLiteral(" Graph Display Options "), p);
    GroupBoxGraphOptions->setGeometry(4, 270, 288, 330);
    QWidget *g = GroupBoxGraphOptions;
    auto group = [g](const char *caption, int y, int h) {
        auto *box = new QGroupBox(QString::fromUtf8(caption), g);
        box->setGeometry(6, y, 276, h);
        return box;
    };
    auto check = [](const char *name, const char *caption, QWidget *parent, int x, int y, bool checked) {
        auto *box = Named<QCheckBox>(name, QString::fromUtf8(caption), parent);
        box->setGeometry(x, y, 110, 18);
        box->setChecked(checked);
        return box;
    };
    auto swatch = [](const char *name, QWidget *parent, int x, int y) {
        auto *label = Named<QLabel>(name, parent);
        label->setGeometry(x, y + 3, 12, 12);
        label->setToolTip(QStringLiteral("Select Color"));
        label->setAutoFillBackground(true);
        label->setFrameShape(QFrame::Box);
        return label;
    };
    QGroupBox *curves = group(" Pump Curves ", 16, 110);
    CheckBoxHead = check("CheckBoxHead", "Design Curve", curves, 8, 16, true);
    LabelColorDesignCurve = swatch("LabelColorDesignCurve", curves, 120, 16);
    CheckBoxEnvelope = check("CheckBoxEnvelope", "Envelope", curves, 8, 34, true);
    LabelColorEnvelope = swatch("LabelColorEnvelope", curves, 120, 34);
    CheckBoxPrefOp = check("CheckBoxPrefOp", "Pref. Op.", curves, 8, 52, true);
    LabelColorPrefOpRange = swatch("LabelColorPrefOpRange", curves, 120, 52);
    CheckBoxDesignPoint = check("CheckBoxDesignPoint", "Design Point", curves, 8, 70, false);
    LabelColorDesignPoint = swatch("LabelColorDesignPoint", curves, 120, 70);
    CheckBoxSystemCurve = check("CheckBoxSystemCurve", "System Curve", curves, 8, 88, false);
    LabelColorSystemCurve = swatch("LabelColorSystemCurve", curves, 120, 88);
    Caption("Static", curves, 140, 88, 34);
    RightEditSystemCurveStartHead = Named<TRightEdit>("RightEditSystemCurveStartHead", curves);
    RightEditSystemCurveStartHead->setGeometry(176, 86, 50, 20);
    RightEditSystemCurveStartHead->setText(QStringLiteral("0.00"));
    LabelStartHeadUnit = Named<QLabel>("LabelStartHeadUnit", curves);
    LabelStartHeadUnit->setGeometry(230, 88, 44, 16);

    QGroupBox *more = group(" Additional Curves ", 128, 74);
    CheckBoxEffic = check("CheckBoxEffic", "Efficiency %", more, 8, 16, true);
    LabelColorEfficiency = swatch("LabelColorEfficiency", more, 120, 16);
    auto *efficiencyChoice = new QWidget(more);
    efficiencyChoice->setGeometry(136, 14, 138, 22);
    RadioButtonEfficLine = Named<QRadioButton>("RadioButtonEfficLine", QStringLiteral("Line"), efficiencyChoice);
    RadioButtonEfficLine->setGeometry(0, 2, 46, 18);
    RadioButtonEfficIso = Named<QRadioButton>("RadioButtonEfficIso", QStringLiteral("Iso @"), efficiencyChoice);
    RadioButtonEfficIso->setGeometry(46, 2, 50, 18);
    LabelIsoPercent = Named<QLabel>("LabelIsoPercent", efficiencyChoice);
    LabelIsoPercent->setGeometry(96, 3, 26, 16);
    SpinPair("UpDown6", efficiencyChoice, 122, 1, UpDown6Up, UpDown6Down);
    CheckBoxPower = check("CheckBoxPower", "Power", more, 8, 34, true);
    LabelColorPower = swatch("LabelColorPower", more, 120, 34);
    CheckBoxNPSHr = check("CheckBoxNPSHr", "NPSHr", more, 8, 52, true);
    LabelColorNpshr = swatch("LabelColorNpshr", more, 120, 52);

    QGroupBox *lines = group(" Graph Lines ", 204, 56);
    CheckBoxGridLines = check("CheckBoxGridLines", "Grid Lines", lines, 8, 16, true);
    LabelColorGridLines = swatch("LabelColorGridLines", lines, 120, 16);
    auto *gridChoice = new QWidget(lines);
    gridChoice->setGeometry(136, 14, 138, 22);
    RadioButtonGridStandard =
        Named<QRadioButton>("RadioButtonGridStandard", QStringLiteral("Standard"), gridChoice);
    RadioButtonGridStandard->setGeometry(0, 2, 72, 18);
    RadioButtonGridFine = Named<QRadioButton>("RadioButtonGridFine", QStringLiteral("Fine"), gridChoice);
    RadioButtonGridFine->setGeometry(74, 2, 60, 18);
    CheckBoxMinFlowLine = check("CheckBoxMinFlowLine", "Min Flow Line", lines, 8, 34, true);
    LabelColorMinFlowLine = swatch("LabelColorMinFlowLine", lines, 120, 34);

    QGroupBox *images = group(" Imported Images ", 262, 60);
    CheckBoxImportedLogo = check("CheckBoxImportedLogo", "Imported Logo", images, 8, 16, false);
    CheckBoxImportedPumpSheet = check("CheckBoxImportedPumpSheet", "Imported Curve", images, 8, 34, false);
    CheckBoxImportedPumpSheet->setGeometry(8, 34, 140, 18);

    for (QLabel *label : {LabelColorDesignCurve, LabelColorEnvelope, LabelColorPrefOpRange, LabelColorEfficiency,
                          LabelColorPower, LabelColorNpshr, LabelColorGridLines, LabelColorDesignPoint,
                          LabelColorSystemCurve, LabelColorMinFlowLine})
        label->installEventFilter(this);

    BitBtnGraphOptionsPanelMove =
        Named<QPushButton>("BitBtnGraphOptionsPanelMove", QStringLiteral("View Table Data"), p);
    BitBtnGraphOptionsPanelMove->setGeometry(4, 606, 110, 26);
    ButtonGraphOptionsOk = Named<QPushButton>("ButtonGraphOptionsOk", QStringLiteral("Save"), p);
    ButtonGraphOptionsOk->setGeometry(122, 606, 80, 26);
    ButtonCancel = Named<QPushButton>("ButtonCancel", QStringLiteral("Cancel"), p);
    ButtonCancel->setGeometry(208, 606, 80, 26);
    for (QPushButton *b : {BitBtnNotes, BitBtnAdjustPumpGraphs, BitBtnExitAdjustPumpGraphs, BitBtnCloseNotes,
                           BitBtnGraphOptionsPanelMove, ButtonGraphOptionsOk, ButtonCancel})
        b->setAutoDefault(false);
    PanelGraphOptions->hide();

    // The three adjustment groups open beside the panel.
    GroupBoxGraphOptionsMultipliers = Named<QGroupBox>("GroupBoxGraphOptionsMultipliers",
                                                       QStringLiteral(" Flow - Head Curve Adjustments "), this);
    GroupBoxGraphOptionsMultipliers->setGeometry(330, 62, 280, 110);
    QWidget *m = GroupBoxGraphOptionsMultipliers;
    Caption("Max Impeller Diameter Curve", m, 8, 18, 200);
    Caption("Move Head", m, 20, 38, 70);
    SpinPair("UpDown1", m, 92, 36, UpDown1Up, UpDown1Down);
    Caption("Curvature", m, 130, 38, 70);
    SpinPair("UpDown2", m, 202, 36, UpDown2Up, UpDown2Down);
    Caption("Min Impeller Diameter Curve", m, 8, 62, 200);
    Caption("Move Head", m, 20, 82, 70);
    SpinPair("UpDown3", m, 92, 80, UpDown3Up, UpDown3Down);
    Caption("Curvature", m, 130, 82, 70);
    SpinPair("UpDown4", m, 202, 80, UpDown4Up, UpDown4Down);

    GroupBoxGraphOptionsEfficiency = Named<QGroupBox>("GroupBoxGraphOptionsEfficiency",
                                                      QStringLiteral(" Efficiency Curve Adjustments "), this);
    GroupBoxGraphOptionsEfficiency->setGeometry(330, 176, 280, 110);
    QWidget *e = GroupBoxGraphOptionsEfficiency;
    auto slider = [e](const char *name, int x, int y) {
        auto *bar = Named<QSlider>(name, Qt::Horizontal, e);
        bar->setGeometry(x, y, 120, 20);
        bar->setRange(-100, 100);
        return bar;
    };
    Caption("Max Impeller Efficiency", e, 8, 16, 200);
    Caption("Curvature", e, 8, 36, 60);
    TrackBar3 = slider("TrackBar3", 10, 52);
    TrackBar4 = slider("TrackBar4", 146, 52);
    Caption("Min Impeller Efficiency", e, 8, 72, 200);
    TrackBar1 = slider("TrackBar1", 10, 86);
    TrackBar2 = slider("TrackBar2", 146, 86);

    GroupBoxAdjustPumpGraphs =
        Named<QGroupBox>("GroupBoxAdjustPumpGraphs", QStringLiteral(" Additional Adjustments "), this);
    GroupBoxAdjustPumpGraphs->setGeometry(614, 62, 300, 260);
    QWidget *a = GroupBoxAdjustPumpGraphs;
    auto valueLabel = [a](const char *name, int x, int y) {
        auto *label = Named<QLabel>(name, a);
        label->setGeometry(x, y, 44, 16);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    Caption("NPSH", a, 8, 18, 60);
    Caption("Start", a, 120, 18, 60);
    Caption("End", a, 210, 18, 60);
    Caption("Max Impeller", a, 8, 38, 90);
    LabelNPSHStartMaxDiamPercentIncrease = valueLabel("LabelNPSHStartMaxDiamPercentIncrease", 100, 38);
    SpinPair("UpDownNPSHstartMaxImpeller", a, 148, 36, UpDownNPSHstartMaxImpellerUp, UpDownNPSHstartMaxImpellerDown);
    LabelNPSHEndMaxDiamPercentIncrease = valueLabel("LabelNPSHEndMaxDiamPercentIncrease", 190, 38);
    SpinPair("UpDownNPSHEndMaxImpeller", a, 238, 36, UpDownNPSHEndMaxImpellerUp, UpDownNPSHEndMaxImpellerDown);
    Caption("Min Impeller", a, 8, 60, 90);
    LabelNPSHStartMinDiamPercentIncrease = valueLabel("LabelNPSHStartMinDiamPercentIncrease", 100, 60);
    SpinPair("UpDownNPSHStartMinImpeller", a, 148, 58, UpDownNPSHStartMinImpellerUp, UpDownNPSHStartMinImpellerDown);
    LabelNPSHEndMinDiamPercentIncrease = valueLabel("LabelNPSHEndMinDiamPercentIncrease", 190, 60);
    SpinPair("UpDownNPSHEndMinImpeller", a, 238, 58, UpDownNPSHEndMinImpellerUp, UpDownNPSHEndMinImpellerDown);
    Caption("Efficiency increase at Max Speed", a, 8, 88, 180);
    LabelEfficiencyMaxSpeedPercentIncrease = valueLabel("LabelEfficiencyMaxSpeedPercentIncrease", 190, 88);
    SpinPair("UpDownEfficiencyMaxSpeed", a, 238, 86, UpDownEfficiencyMaxSpeedUp, UpDownEfficiencyMaxSpeedDown);
    Caption("Min Flow Line", a, 8, 116, 90);
    Caption("Min Diam", a, 100, 116, 50);
    LabelMinDiamMinFlowPercent = valueLabel("LabelMinDiamMinFlowPercent", 100, 134);
    SpinPair("UpDownMinFlowLineMinDiam", a, 148, 132, UpDownMinFlowLineMinDiamUp, UpDownMinFlowLineMinDiamDown);
    Caption("Max Diam", a, 190, 116, 50);
    LabelMaxDiamMinFlowPercent = valueLabel("LabelMaxDiamMinFlowPercent", 190, 134);
    SpinPair("UpDownMinFlowLineMaxDiam", a, 238, 132, UpDownMinFlowLineMaxDiamUp, UpDownMinFlowLineMaxDiamDown);
    ButtonUpdateIndividualPoints = Named<QPushButton>("ButtonUpdateIndividualPoints",
                                                      QStringLiteral("Update Individual Efficiency Points"), a);
    ButtonUpdateIndividualPoints->setGeometry(8, 164, 284, 24);
    LabelIndividualEffics = Named<QLabel>("LabelIndividualEffics", a);
    LabelIndividualEffics->setGeometry(8, 192, 284, 16);
    LabelIndividualEffics->hide();

    // The individual efficiency panel takes the place of the group's contents.
    PanelPointEfficiencies->setParent(a);
    PanelPointEfficiencies->setGeometry(13, 23, 280, 200);
    PanelPointEfficiencies->setAutoFillBackground(true);
    QWidget *pp = PanelPointEfficiencies;
    auto *pointNote = new QLabel(QStringLiteral("Click on a red point of the graph to adjust its efficiency."), pp);
    pointNote->setWordWrap(true);
    pointNote->setGeometry(4, 4, 272, 32);
    LabelMaxDiamAdjustedPoints = Named<QLabel>("LabelMaxDiamAdjustedPoints", pp);
    LabelMaxDiamAdjustedPoints->setGeometry(4, 42, 272, 16);
    BitBtnClearMaxDiamEfficAdjustments = Named<QPushButton>("BitBtnClearMaxDiamEfficAdjustments", QStringLiteral("Clear"), pp);
    BitBtnClearMaxDiamEfficAdjustments->setGeometry(200, 60, 70, 22);
    LabelMinDiamAdjustedPoints = Named<QLabel>("LabelMinDiamAdjustedPoints", pp);
    LabelMinDiamAdjustedPoints->setGeometry(4, 90, 272, 16);
    BitBtnClearMinDiamEfficAdjustments = Named<QPushButton>("BitBtnClearMinDiamEfficAdjustments", QStringLiteral("Clear"), pp);
    BitBtnClearMinDiamEfficAdjustments->setGeometry(200, 108, 70, 22);
    BitBtnReturnToGroupAdjustments = Named<QPushButton>("BitBtnReturnToGroupAdjustments", QStringLiteral("Save"), pp);
    BitBtnReturnToGroupAdjustments->setGeometry(200, 160, 70, 24);
    for (QPushButton *b : {ButtonUpdateIndividualPoints, BitBtnClearMaxDiamEfficAdjustments,
                           BitBtnClearMinDiamEfficAdjustments, BitBtnReturnToGroupAdjustments})
        b->setAutoDefault(false);
    for (QGroupBox *box : {GroupBoxGraphOptionsMultipliers, GroupBoxGraphOptionsEfficiency, GroupBoxAdjustPumpGraphs}) {
        box->setAutoFillBackground(true);
        box->hide();
    }

    // The point popups of the two charts.
    auto popup = [](const char *name, QWidget *parent, QLabel *&label, const char *labelName, const char *spin,
                    QToolButton *&up, QToolButton *&down, QPushButton *&ok, const char *okName) {
        auto *box = Named<QGroupBox>(name, parent);
        box->setGeometry(0, 0, 120, 46);
        box->setAutoFillBackground(true);
        label = Named<QLabel>(labelName, box);
        label->setGeometry(6, 14, 50, 16);
        SpinPair(spin, box, 58, 12, up, down);
        ok = Named<QPushButton>(okName, QStringLiteral("OK"), box);
        ok->setGeometry(78, 10, 36, 24);
        ok->setAutoDefault(false);
        box->hide();
        return box;
    };
    GroupBoxPointEffic = popup("GroupBoxPointEffic", GroupBoxPumpGraph, LabelPointEffic, "LabelPointEffic",
                               "UpDownIndividualEfficiency", UpDownIndividualEfficiencyUp,
                               UpDownIndividualEfficiencyDown, ButtonPointEfiicOk, "ButtonPointEfiicOk");
    GroupBoxPointEfficLargeGraph =
        popup("GroupBoxPointEfficLargeGraph", Panel2, LabelPointEfficLargeGraph, "LabelPointEfficLargeGraph",
              "UpDownIndividualEfficiencyLargeGraph", UpDownIndividualEfficiencyLargeGraphUp,
              UpDownIndividualEfficiencyLargeGraphDown, ButtonPointEfficOkLargeGraph, "ButtonPointEfficOkLargeGraph");

    PopulateComboBoxDropDowns();
    userPointMax_.Fill(1.0);
    userPointMin_.Fill(1.0);
}

void TPumpDataForm::connectAdjustment()
{
    auto onClick = [this](QAbstractButton *button, auto handler) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    connect(RightEditPumpSpeedRpmGraph, &QLineEdit::editingFinished, this, [this] {
        if (!filling_)
            UpdateFormFromRightEditPumpSpeedRpmGraph();
    });
    connect(RightEditPumpImpellerDiameterGraph, &QLineEdit::editingFinished, this, [this] {
        if (!filling_)
            UpdateFormFromRightEditPumpImpellerDiameterGraph();
    });
    RightEditPumpSpeedRpmGraph->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        EditingBaseData = false;
        FilterIntegerKey(sender, key, false, 6);
    };
    RightEditPumpImpellerDiameterGraph->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        if (!FilterRealKey(sender, key, false, 3, 3))
            return;
        if (key == 0)
            return;
        if (RightEditImpellerDiameter->isEnabled() && EditedPump.ImpellerDiameter_m == 0) {
            if (resultsMode_)
                return;
            key = 0;
            RightEditImpellerDiameter->setFocus();
            Dialogs().ShowMessage(TDialogKind::Information,
                                  QStringLiteral("Please specify Impeller Diameter with pump data on left hand "
                                                 "panel.\r\r"),
                                  this);
            return;
        }
        if ((RightEditImpellerDiameterMin->isEnabled() && EditedPump.PumpImpellerDiameterMin_m == 0) ||
            (RightEditImpellerDiameterMax->isEnabled() && EditedPump.PumpImpellerDiameterMax_m == 0)) {
            if (resultsMode_)
                return;
            key = 0;
            Dialogs().ShowMessage(TDialogKind::Information,
                                  QStringLiteral("Please specifiy minimum and maximum Impeller Diameter data.\r\r"),
                                  this);
        }
    };
    for (auto [up, down] : {std::pair{UpDownSpeedUp, UpDownSpeedDown},
                            std::pair{UpDownSpeedLargeGraphUp, UpDownSpeedLargeGraphDown}}) {
        onClick(up, [this] { UpDownSpeedClick(true); });
        onClick(down, [this] { UpDownSpeedClick(false); });
    }
    for (auto [up, down] : {std::pair{UpDownImpellerDiameterUp, UpDownImpellerDiameterDown},
                            std::pair{UpDownImpellerDiameterLargeGraphUp, UpDownImpellerDiameterLargeGraphDown}}) {
        onClick(up, [this] { UpDownImpellerDiameterClick(true); });
        onClick(down, [this] { UpDownImpellerDiameterClick(false); });
    }
    onClick(UpDown1Up, [this] { MoveHeadClick(true, true); });
    onClick(UpDown1Down, [this] { MoveHeadClick(true, false); });
    onClick(UpDown3Up, [this] { MoveHeadClick(false, true); });
    onClick(UpDown3Down, [this] { MoveHeadClick(false, false); });
    onClick(UpDown2Up, [this] { CurvatureClick(true, true); });
    onClick(UpDown2Down, [this] { CurvatureClick(true, false); });
    onClick(UpDown4Up, [this] { CurvatureClick(false, true); });
    onClick(UpDown4Down, [this] { CurvatureClick(false, false); });
    int which = 1;
    for (QSlider *bar : {TrackBar1, TrackBar2, TrackBar3, TrackBar4}) {
        connect(bar, &QSlider::valueChanged, this, [this, which] {
            if (!filling_)
                TrackBarChange(which);
        });
        ++which;
    }
    connect(ComboBoxDesignCurve, &QComboBox::activated, this, [this] {
        if (!filling_)
            ComboBoxDesignCurveChange();
    });
    connect(ComboBoxEfficiencyCurve, &QComboBox::activated, this, [this] {
        if (!filling_)
            ComboBoxEfficiencyCurveChange();
    });
    for (auto [up, down] : {std::pair{UpDownIndividualEfficiencyUp, UpDownIndividualEfficiencyDown},
                            std::pair{UpDownIndividualEfficiencyLargeGraphUp, UpDownIndividualEfficiencyLargeGraphDown}}) {
        onClick(up, [this] { UpDownIndividualEfficiencyClick(true); });
        onClick(down, [this] { UpDownIndividualEfficiencyClick(false); });
    }
    onClick(ButtonPointEfiicOk, [this] {
        GroupBoxPointEffic->hide();
        selectedPoint_ = 0;
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    });
    onClick(ButtonUpdateIndividualPoints, [this] {
        PanelPointEfficiencies->move(13, 23);
        PanelPointEfficiencies->setEnabled(true);
        PanelPointEfficiencies->show();
        PanelPointEfficiencies->raise();
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    });
    onClick(BitBtnReturnToGroupAdjustments, [this] {
        PanelPointEfficiencies->hide();
        PanelPointEfficiencies->setEnabled(false);
        GroupBoxPointEffic->hide();
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    });
    onClick(BitBtnClearMaxDiamEfficAdjustments, [this] {
        EditedPump.EfficiencyMaxImpellerPointMultipliers.Fill(1.0);
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Individual Efficiency Adjustments for points on Max Diameter have been "
                                             "cleared.\r\r"),
                              this);
    });
    onClick(BitBtnClearMinDiamEfficAdjustments, [this] {
        EditedPump.EfficiencyMinImpellerPointMultipliers.Fill(1.0);
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Individual Efficiency Adjustments for points on Min Diameter have been "
                                             "cleared.\r\r"),
                              this);
    });
    auto npsh = [this](QToolButton *up, QToolButton *down, double TPump::*field) {
        auto step = [this, field](double by) {
            double &value = EditedPump.*field;
            value += by;
            if (value > 99)
                value = 99;
            else if (value < -50)
                value = -50;
            UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
        };
        connect(up, &QToolButton::clicked, this, [step] { step(1); });
        connect(down, &QToolButton::clicked, this, [step] { step(-1); });
    };
    npsh(UpDownNPSHstartMaxImpellerUp, UpDownNPSHstartMaxImpellerDown, &TPump::PumpNPSHStartMaxDiamNpshPercentIncrease);
    npsh(UpDownNPSHEndMaxImpellerUp, UpDownNPSHEndMaxImpellerDown, &TPump::PumpNPSHEndMaxDiamNpshPercentIncrease);
    npsh(UpDownNPSHStartMinImpellerUp, UpDownNPSHStartMinImpellerDown, &TPump::PumpNPSHStartMinDiamNpshPercentIncrease);
    npsh(UpDownNPSHEndMinImpellerUp, UpDownNPSHEndMinImpellerDown, &TPump::PumpNPSHEndMinDiamNpshPercentIncrease);
    auto efficiencyStep = [this](double by) {
        double &value = EditedPump.PumpEfficiencyMaxSpeedEfficPercentIncrease;
        value += by;
        if (value > 20)
            value = 20;
        else if (value < 0)
            value = 0;
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    };
    onClick(UpDownEfficiencyMaxSpeedUp, [efficiencyStep] { efficiencyStep(0.5); });
    onClick(UpDownEfficiencyMaxSpeedDown, [efficiencyStep] { efficiencyStep(-0.5); });
    auto minFlow = [this](QToolButton *up, QToolButton *down, double TPumpGraphOptions::*field) {
        connect(up, &QToolButton::clicked, this, [this, field] {
            double &value = EditedPump.PumpGraphOptions.*field;
            if (value < 100)
                value += 1;
            UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
        });
        connect(down, &QToolButton::clicked, this, [this, field] {
            double &value = EditedPump.PumpGraphOptions.*field;
            if (value > 0)
                value -= 1;
            UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
        });
    };
    minFlow(UpDownMinFlowLineMaxDiamUp, UpDownMinFlowLineMaxDiamDown, &TPumpGraphOptions::MaxDiamMinFlowPercent);
    minFlow(UpDownMinFlowLineMinDiamUp, UpDownMinFlowLineMinDiamDown, &TPumpGraphOptions::MinDiamMinFlowPercent);
    auto isoStep = [this](bool up) {
        double &value = EditedPump.PumpGraphOptions.EfficiencyIsoPercent;
        if (up && value < 20)
            value += 1;
        else if (!up && value >= 2)
            value -= 1;
        LabelIsoPercent->setText(Percent0(value));
        DrawPumpGraphAndCheckData(true);
    };
    onClick(UpDown6Up, [isoStep] { isoStep(true); });
    onClick(UpDown6Down, [isoStep] { isoStep(false); });
    onClick(BitBtnAdjustPumpGraphs, [this] {
        GroupBoxGraphOptionsEfficiency->show();
        GroupBoxGraphOptionsMultipliers->show();
        GroupBoxAdjustPumpGraphs->move(GroupBoxGraphOptionsMultipliers->x() + GroupBoxGraphOptionsMultipliers->width(),
                                       GroupBoxGraphOptionsMultipliers->y());
        GroupBoxAdjustPumpGraphs->show();
        for (QWidget *w : {static_cast<QWidget *>(GroupBoxGraphOptionsEfficiency),
                           static_cast<QWidget *>(GroupBoxGraphOptionsMultipliers),
                           static_cast<QWidget *>(GroupBoxAdjustPumpGraphs)})
            w->raise();
        BitBtnAdjustPumpGraphs->hide();
        BitBtnExitAdjustPumpGraphs->show();
    });
    onClick(BitBtnExitAdjustPumpGraphs, [this] {
        GroupBoxGraphOptionsEfficiency->hide();
        GroupBoxGraphOptionsMultipliers->hide();
        GroupBoxAdjustPumpGraphs->hide();
        BitBtnAdjustPumpGraphs->show();
        BitBtnExitAdjustPumpGraphs->hide();
    });
    onClick(BitBtnNotes, [this] {
        GroupBoxNotes->move(GroupBoxGraphOptions->x(),
                            GroupBoxCurveMultipliers->y() + GroupBoxCurveMultipliers->height() + 4);
        GroupBoxNotes->show();
        GroupBoxNotes->raise();
        GroupBoxMultiplierInfo->hide();
        BitBtnNotes->hide();
        BitBtnAdjustPumpGraphs->hide();
        BitBtnExitAdjustPumpGraphs->hide();
        for (QPlainTextEdit *memo : {MemoMinImpellerMultipliers, MemoMaxImpellerMultipliers})
            memo->resize(memo->width(), 132);
    });
    onClick(BitBtnMoveToProblemDiam, [this] { BitBtnMoveToProblemDiamClick(); });
}

// --- loading the controls -------------------------------------------------------------

void TPumpDataForm::PopulateComboBoxDropDowns()
{
    ++filling_;
    ComboBoxDesignCurve->clear();
    ComboBoxDesignCurve->addItem(QStringLiteral("User Defined Match"));
    for (const TPumpMultiplierPreset &row : PumpHeadMultiplierPresets)
        ComboBoxDesignCurve->addItem(QString::fromUtf8(row.Name));
    ComboBoxDesignCurve->setMaxVisibleItems(7);
    ComboBoxEfficiencyCurve->clear();
    ComboBoxEfficiencyCurve->addItem(QStringLiteral("User Defined Match"));
    for (const TPumpMultiplierPreset &row : PumpEfficiencyMultiplierPresets)
        ComboBoxEfficiencyCurve->addItem(QString::fromUtf8(row.Name));
    ComboBoxEfficiencyCurve->setMaxVisibleItems(11);
    --filling_;
}

void TPumpDataForm::SaveFlowHeadCustomizedMultipliers()
{
    userFlowHeadMax_ = EditedPump.FlowHeadCurveMaxImpellerMultipliers;
    userFlowHeadMin_ = EditedPump.FlowHeadCurveMinImpellerMultipliers;
}

void TPumpDataForm::RestoreFlowHeadCustomizedMultipliers()
{
    EditedPump.FlowHeadCurveMaxImpellerMultipliers = userFlowHeadMax_;
    EditedPump.FlowHeadCurveMinImpellerMultipliers = userFlowHeadMin_;
}

void TPumpDataForm::SaveEfficiencyCustomizedMultipliers()
{
    userEfficiencyMax_ = EditedPump.EfficiencyCurveMaxImpellerMultipliers;
    userEfficiencyMin_ = EditedPump.EfficiencyCurveMinImpellerMultipliers;
    userPointMax_ = EditedPump.EfficiencyMaxImpellerPointMultipliers;
    userPointMin_ = EditedPump.EfficiencyMinImpellerPointMultipliers;
}

void TPumpDataForm::RestoreEfficiencyCustomizedMultipliers()
{
    EditedPump.EfficiencyCurveMaxImpellerMultipliers = userEfficiencyMax_;
    EditedPump.EfficiencyCurveMinImpellerMultipliers = userEfficiencyMin_;
    EditedPump.EfficiencyMaxImpellerPointMultipliers = userPointMax_;
    EditedPump.EfficiencyMinImpellerPointMultipliers = userPointMin_;
}

void TPumpDataForm::UpdateGraphOptionsFromPump(TPump &ThePump)
{
    GraphDrawingEnabled = false;
    ++filling_;
    const TPumpGraphOptions &o = ThePump.PumpGraphOptions;
    CheckBoxHead->setChecked(o.ShowDesignCurve);
    CheckBoxEnvelope->setChecked(o.ShowEnvelope);
    CheckBoxPrefOp->setChecked(o.ShowPrefOpRange);
    CheckBoxImportedPumpSheet->setChecked(o.ShowImportedPumpSheet);
    CheckBoxImportedLogo->setChecked(o.ShowImportedLogo);
    RadioButtonEfficIso->setChecked(o.ShowEfficiencyIso);
    RadioButtonEfficLine->setChecked(o.ShowEfficiencyLine);
    CheckBoxEffic->setChecked(RadioButtonEfficIso->isChecked() || RadioButtonEfficLine->isChecked());
    LabelIsoPercent->setText(Percent0(o.EfficiencyIsoPercent));
    CheckBoxPower->setChecked(o.ShowPower);
    CheckBoxNPSHr->setChecked(o.ShowNPSHr);
    CheckBoxGridLines->setChecked(o.GridLinesStyle != GraphGridNone);
    if (o.GridLinesStyle == GraphGridStandard)
        RadioButtonGridStandard->setChecked(true);
    else if (o.GridLinesStyle == GraphGridFine)
        RadioButtonGridFine->setChecked(true);
    CheckBoxDesignPoint->setChecked(o.ShowDesignPoint);
    CheckBoxSystemCurve->setChecked(o.ShowSystemCurve);
    CheckBoxMinFlowLine->setChecked(o.ShowMinFlowLine);
    const TUnit headUnit = ThePump.PumpPoints.HeadDisplayUnit;
    RightEditSystemCurveStartHead->setText(
        q(convertHeadPressureUnitToString(unt_m_hd_fluid, headUnit, 2, o.SystemCurveHeadStart_mHd, density_)));
    LabelStartHeadUnit->setText(q(unitPlainName(headUnit)));
    setColourSwatch(LabelColorDesignCurve, o.ColorDesignCurve);
    setColourSwatch(LabelColorEnvelope, o.ColorEnvelope);
    setColourSwatch(LabelColorPrefOpRange, o.ColorPrefOpRange);
    setColourSwatch(LabelColorEfficiency, o.ColorEfficiency);
    setColourSwatch(LabelColorPower, o.ColorPower);
    setColourSwatch(LabelColorNpshr, o.ColorNpshr);
    setColourSwatch(LabelColorGridLines, o.ColorGridLines);
    setColourSwatch(LabelColorDesignPoint, o.ColorDesignPoint);
    setColourSwatch(LabelColorSystemCurve, o.ColorSystemCurve);
    setColourSwatch(LabelColorMinFlowLine, o.ColorMinFlowLine);

    LabelMinDiamMinFlowPercent->setText(Percent0(o.MinDiamMinFlowPercent));
    LabelMaxDiamMinFlowPercent->setText(Percent0(o.MaxDiamMinFlowPercent));
    LabelEfficiencyMaxSpeedPercentIncrease->setText(
        q(formatFixed(1, ThePump.PumpEfficiencyMaxSpeedEfficPercentIncrease)) + QStringLiteral("%"));

    // The NPSH percentages with the NPSHr each gives as its hint.
    const TPumpPoints &base = ThePump.BaseDataPumpPoints;
    struct {
        QLabel *label;
        double percent;
        bool start, minimum;
        const char *note;
    } npsh[] = {
        {LabelNPSHStartMinDiamPercentIncrease, ThePump.PumpNPSHStartMinDiamNpshPercentIncrease, true, true,
         " (NPSH start value when on Min Impeller)"},
        {LabelNPSHEndMinDiamPercentIncrease, ThePump.PumpNPSHEndMinDiamNpshPercentIncrease, false, true,
         " (NPSH end value when on Min Impeller)"},
        {LabelNPSHStartMaxDiamPercentIncrease, ThePump.PumpNPSHStartMaxDiamNpshPercentIncrease, true, false,
         " (NPSH start value when on Max Impeller)"},
        {LabelNPSHEndMaxDiamPercentIncrease, ThePump.PumpNPSHEndMaxDiamNpshPercentIncrease, false, false,
         " (NPSH end value when on Max Impeller)"},
    };
    for (const auto &n : npsh) {
        n.label->setText((n.percent >= 0 ? QStringLiteral("+") : QString()) + Percent0(n.percent));
        QString hint;
        const int point = n.start ? 2 : base.PointsCount;
        if (base.PointsCount >= 2 && ThePump.BaseDataSpeed_rpm > 0 && ThePump.BaseDataImpellerDiameter_m > 0) {
            const TPumpPoint &p = base.Points[point];
            const double D = n.minimum ? ThePump.PumpImpellerDiameterMin_m : ThePump.PumpImpellerDiameterMax_m;
            double q2 = 0;
            TPump::getPredictedFlowForSpeedAndDiameterChange(ThePump.BaseDataSpeed_rpm, ThePump.Speed_rpm,
                                                             ThePump.BaseDataImpellerDiameter_m, D, p.Flow_kgs, q2);
            const double nss =
                TPump::calcSuctionSpecificSpeed(ThePump.BaseDataSpeed_rpm, p.Flow_kgs, p.NPSHr_mHd, density_);
            const double N = TPump::calcNPSHr_mHd_fromSuctionSpecificSpeed(nss, ThePump.Speed_rpm, q2, density_) *
                             (1 + n.percent / 100);
            const TUnit unit = ThePump.PumpPoints.NPSHrDisplayUnit;
            if (std::isfinite(N))
                hint = QStringLiteral(" ") +
                       q(convertHeadPressureUnitToString(unt_m_hd_fluid, unit, 2, N, density_)) +
                       QStringLiteral(" ") + q(unitName(unit)) + QString::fromUtf8(n.note);
        }
        n.label->setToolTip(hint);
    }

    // The preset lists show the last row the pump matches; otherwise the
    // user-defined match, which then takes the pump's values.
    int design = 0;
    for (std::size_t k = 0; k < PumpHeadMultiplierPresets.size(); ++k)
        if (SameAs(ThePump.FlowHeadCurveMaxImpellerMultipliers, ThePump.FlowHeadCurveMinImpellerMultipliers,
                   PumpHeadMultiplierPresets[k]))
            design = static_cast<int>(k) + 1;
    int efficiency = 0;
    bool pointsPlain = true;
    for (int i = 1; i <= std::min(ThePump.PumpPoints.PointsCount, MaxPumpPoints); ++i)
        if (ThePump.EfficiencyMinImpellerPointMultipliers[i] != 1.0 ||
            ThePump.EfficiencyMaxImpellerPointMultipliers[i] != 1.0)
            pointsPlain = false;
    if (pointsPlain)
        for (std::size_t k = 0; k < PumpEfficiencyMultiplierPresets.size(); ++k)
            if (SameAs(ThePump.EfficiencyCurveMaxImpellerMultipliers, ThePump.EfficiencyCurveMinImpellerMultipliers,
                       PumpEfficiencyMultiplierPresets[k]))
                efficiency = static_cast<int>(k) + 1;
    ComboBoxDesignCurve->setCurrentIndex(design);
    ComboBoxEfficiencyCurve->setCurrentIndex(efficiency);
    if (design == 0) {
        userFlowHeadMax_ = ThePump.FlowHeadCurveMaxImpellerMultipliers;
        userFlowHeadMin_ = ThePump.FlowHeadCurveMinImpellerMultipliers;
    }
    if (efficiency == 0) {
        userEfficiencyMax_ = ThePump.EfficiencyCurveMaxImpellerMultipliers;
        userEfficiencyMin_ = ThePump.EfficiencyCurveMinImpellerMultipliers;
        userPointMax_ = ThePump.EfficiencyMaxImpellerPointMultipliers;
        userPointMin_ = ThePump.EfficiencyMinImpellerPointMultipliers;
    }

    SetMemoMultiplierStrings();
    TrackBar1->setValue(static_cast<int>(std::lround(100 * ThePump.EfficiencyCurveMinImpellerMultipliers[1])));
    TrackBar2->setValue(static_cast<int>(std::lround(-100 * ThePump.EfficiencyCurveMinImpellerMultipliers[2])));
    TrackBar3->setValue(static_cast<int>(std::lround(100 * ThePump.EfficiencyCurveMaxImpellerMultipliers[1])));
    TrackBar4->setValue(static_cast<int>(std::lround(-100 * ThePump.EfficiencyCurveMaxImpellerMultipliers[2])));
    const int minimumUsed = ThePump.EfficiencyMinImpellerPointMultipliersUsed();
    const int maximumUsed = ThePump.EfficiencyMaxImpellerPointMultipliersUsed();
    LabelIndividualEffics->setText(QStringLiteral("Individual Updates = ") + QString::number(minimumUsed + maximumUsed));
    LabelIndividualEffics->setVisible(minimumUsed + maximumUsed != 0);
    LabelMaxDiamAdjustedPoints->setText(QStringLiteral("Max Diam, Red Points Individually Adjusted = ") +
                                        QString::number(maximumUsed));
    LabelMinDiamAdjustedPoints->setText(QStringLiteral("Min Diam,  Red Points Individually Adjusted = ") +
                                        QString::number(minimumUsed));
    --filling_;
    GraphDrawingEnabled = true;
}

void TPumpDataForm::SetMemoMultiplierStrings()
{
    GroupBoxNotes->hide();
    for (QPlainTextEdit *memo : {MemoMinImpellerMultipliers, MemoMaxImpellerMultipliers})
        memo->resize(memo->width(), 94);
    GroupBoxMultiplierInfo->show();
    BitBtnNotes->show();
    auto lines = [this](const TPumpArray<double, 2> &flowHead, const TPumpArray<double, 2> &efficiency,
                        const TPumpArray<double, MaxPumpPoints> &points) {
        auto f = [](double v) { return q(formatFixed(2, v)); };
        QStringList text{QStringLiteral("Qm = ") + f(flowHead[1]), QStringLiteral("Hm = ") + f(flowHead[2]),
                         QStringLiteral("c1 = ") + f(efficiency[1]), QStringLiteral("c2 = ") + f(efficiency[2])};
        for (int i = 1; i <= std::min(EditedPump.PumpPoints.PointsCount, MaxPumpPoints); ++i)
            text << QStringLiteral("e") + QString::number(i) + QStringLiteral(" = ") + f(points[i]);
        return text.join(QLatin1Char('\n'));
    };
    const TPump &p = EditedPump;
    MemoMinImpellerMultipliers->setPlainText(lines(p.FlowHeadCurveMinImpellerMultipliers,
                                                   p.EfficiencyCurveMinImpellerMultipliers,
                                                   p.EfficiencyMinImpellerPointMultipliers));
    MemoMaxImpellerMultipliers->setPlainText(lines(p.FlowHeadCurveMaxImpellerMultipliers,
                                                   p.EfficiencyCurveMaxImpellerMultipliers,
                                                   p.EfficiencyMaxImpellerPointMultipliers));
    Memo1->moveCursor(QTextCursor::Start);
}

void TPumpDataForm::UpdateGraphOptionsUpdateRunningDataDrawGraph(TPump &ThePump)
{
    UpdateGraphOptionsFromPump(ThePump);
    GraphDrawingEnabled = false;
    bool valid = false;
    ThePump.UpdateRunningDataForSpeedAndImpellerDiameter2(ThePump.Speed_rpm, ThePump.ImpellerDiameter_m, density_,
                                                          valid);
    UpdateStringGridFromPump(ThePump, valid);
    GraphDrawingEnabled = true;
    DrawPumpGraphAndCheckData(true);
}

// --- predictions ----------------------------------------------------------------------

void TPumpDataForm::UpdateFormFromRightEditPumpSpeedRpmGraph()
{
    TPump &p = EditedPump;
    // 1.
    if (!(p.ImpellerDiameter_m > 0)) {
        showGraphMessage(CannotUpdate);
        if (RightEditImpellerDiameter->isEnabled())
            RightEditImpellerDiameter->setFocus();
        Panel2->hide();
        return;
    }
    // 2.
    EditingBaseData = false;
    bool valid = false;
    std::int32_t speed = ReadIntegerFromEdit(RightEditPumpSpeedRpmGraph->text().toStdString(), valid, false, false);
    if (!valid)
        return;
    // 3.
    if (p.PumpSpeedMinRpm > 0 && speed < p.PumpSpeedMinRpm)
        speed = p.PumpSpeedMinRpm;
    if (p.PumpSpeedMaxRpm > 0 && speed > p.PumpSpeedMaxRpm)
        speed = p.PumpSpeedMaxRpm;
    // 4.
    ++filling_;
    RightEditPumpSpeedRpmGraph->setEnabled(false);
    RightEditPumpSpeedRpmGraph->setText(QString::number(speed));
    RightEditPumpSpeedRpmGraph->setEnabled(true);
    --filling_;
    LabelSpeedLargeGraph->setText(QStringLiteral("Speed: ") + RightEditPumpSpeedRpmGraph->text() +
                                  QStringLiteral(" rpm"));
    // 5. A refused prediction leaves the pump as it ran before.
    TPump before;
    before.CopyPump(p);
    const double diameter = p.ImpellerDiameter_m;
    p.CopyRunningDataFromBaseData();
    p.PumpSpeedRpmGraph = speed;
    p.Speed_rpm = speed;
    p.UpdateRunningDataForSpeedAndImpellerDiameter2(p.PumpSpeedRpmGraph, diameter, density_, valid);
    // 6.
    if (valid) {
        UpdateStringGridFromPump(p, valid);
        DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphSmall, false, 65, p);
        DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, p);
        SetPumpStringGridState();
        ButtonCalcCurvePointClick();
        return;
    }
    // 7.
    p.CopyPump(before);
    showGraphMessage(CannotUpdate);
}

void TPumpDataForm::UpdateFormFromRightEditPumpImpellerDiameterGraph()
{
    TPump &p = EditedPump;
    // 1.
    EditingBaseData = false;
    bool valid = false;
    const TUnit unit = p.ImpellerDiameterDisplayUnit;
    const double typed = ReadRealFromEdit(RightEditPumpImpellerDiameterGraph->text().toStdString(), valid, false, false,
                                          static_cast<char>(LocaleDecimalSeparator()));
    if (!valid)
        return;
    double D = convertUnit(unit, unt_m, typed);
    // 2.
    if (p.PumpImpellerDiameterMin_m > 0 && D < p.PumpImpellerDiameterMin_m)
        D = p.PumpImpellerDiameterMin_m;
    if (p.PumpImpellerDiameterMax_m > 0 && D > p.PumpImpellerDiameterMax_m)
        D = p.PumpImpellerDiameterMax_m;
    // 3.
    const double low = p.BaseDataImpellerDiameter_m * MinImpellerPercentOfBaseForIsoLines / 100;
    const double high = p.BaseDataImpellerDiameter_m * MaxImpellerPercentOfBaseForIsoLines / 100;
    const QString baseText =
        q(convertUnitToString(unt_m, unit, 3, p.BaseDataImpellerDiameter_m)) + q(unitPlainName(unit));
    if (D < low) {
        D = low;
        showGraphMessage(QStringLiteral("\r\rThe predicted data cannot use an Impeller Diameter that is less than ") +
                         q(formatFixed(0, MinImpellerPercentOfBaseForIsoLines)) +
                         QStringLiteral("% of the Impeller Diameter (") + baseText +
                         QStringLiteral(") specified as part of the pump's base data."));
    } else if (D > high) {
        D = high;
        showGraphMessage(
            QStringLiteral("\r\rThe predicted data cannot use an Impeller Diameter that is greater than ") +
            q(formatFixed(0, MaxImpellerPercentOfBaseForIsoLines)) + QStringLiteral("%  of the Impeller Diameter (") +
            baseText + QStringLiteral(") specified as part of the pump's base data."));
    } else if (!p.IsMinImpellerToMaxImpellerRatioOk()) {
        showGraphMessage(QStringLiteral("The minimum impeller diameter is over \r") +
                         q(formatFixed(0, MaxImpellerTrimRangePercent)) +
                         QStringLiteral("% less than the maximum impeller diameter. ") + QStringLiteral("\r\r") +
                         QStringLiteral("Check if this is correct."));
    } else if (p.PumpImpellerDiameterMin_m == 0 && p.PumpImpellerDiameterMax_m == 0) {
        D = p.ImpellerDiameter_m;
        showGraphMessage(QStringLiteral("Cannot change to data based on a predicted pump impeller size until the "
                                        "minmum and maximum impeller diameters have been specified."));
    }
    // 4.
    LabelDiameterLargeGraph->setText(QStringLiteral("Diameter: ") + q(convertUnitToString(unt_m, unit, 3, D)) +
                                     QStringLiteral(" ") + q(unitPlainName(unit)));
    // 5.
    if (D < p.PumpImpellerDiameterMin_m)
        showGraphMessage(QStringLiteral("The Impeller Diameter cannot be less than the specified Impeller Diameter "
                                        "Minimum: ") +
                         q(convertUnitToString(unt_m, unit, 3, p.PumpImpellerDiameterMin_m)));
    // 6. A refused prediction leaves the pump as it ran before.
    TPump before;
    before.CopyPump(p);
    const std::int32_t speed = p.Speed_rpm;
    p.CopyRunningDataFromBaseData();
    p.UpdateRunningDataForSpeedAndImpellerDiameter2(speed, D, density_, valid);
    // 7.
    if (valid) {
        p.ImpellerDiameter_m = D;
        p.PumpImpellerDiameterGraph_m = D;
        UpdateStringGridFromPump(p, valid);
        DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphSmall, false, 65, p);
        DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, p);
        if (magnifierOn_)
            ImageSaved = ImagePumpCurveLarge->Picture.copy();
        SetPumpStringGridState();
        ButtonCalcCurvePointClick();
        return;
    }
    // 8.
    p.CopyPump(before);
    showGraphMessage(CannotUpdate);
}

void TPumpDataForm::UpDownSpeedClick(bool Up)
{
    TPump &p = EditedPump;
    if (p.Speed_rpm > 0 && p.PumpSpeedMinRpm > 0 && p.PumpSpeedMaxRpm > 0) {
        std::int32_t speed = p.Speed_rpm + (Up ? 10 : -10);
        if (speed < p.PumpSpeedMinRpm)
            speed = p.PumpSpeedMinRpm;
        else if (speed > p.PumpSpeedMaxRpm)
            speed = p.PumpSpeedMaxRpm;
        ++filling_;
        RightEditPumpSpeedRpmGraph->setText(QString::number(speed));
        --filling_;
        LabelSpeedLargeGraph->setText(QStringLiteral("Speed: ") + RightEditPumpSpeedRpmGraph->text() +
                                      QStringLiteral(" rpm"));
        UpdateFormFromRightEditPumpSpeedRpmGraph();
        if (magnifierOn_)
            ImageSaved = ImagePumpCurveLarge->Picture.copy();
        return;
    }
    if (resultsMode_)
        return;
    if (RightEditPumpSpeed->isEnabled() && p.Speed_rpm == 0)
        RightEditPumpSpeed->setFocus();
    else if (RightEditPumpSpeedMinRpm->isEnabled() && p.PumpSpeedMinRpm == 0)
        showGraphMessage(QStringLiteral("Please specifiy Minimum Pump Speed data."));
    else if (RightEditPumpSpeedMaxRpm->isEnabled() && p.PumpSpeedMaxRpm == 0)
        showGraphMessage(QStringLiteral("Please specifiy Maximum Pump Speed data."));
}

void TPumpDataForm::UpDownImpellerDiameterClick(bool Up)
{
    TPump &p = EditedPump;
    double step = 0.001;
    TPump::GetImpellerDiameterIncrement(step, p.ImpellerDiameterDisplayUnit);
    if (p.ImpellerDiameter_m > 0 && p.PumpImpellerDiameterMin_m > 0 && p.PumpImpellerDiameterMax_m > 0) {
        // A diameter that is a whole number of steps, computed a hair low,
        // still counts as that number of steps.
        constexpr double tolerance = 1e-6;
        double D = Up ? (std::round(p.ImpellerDiameter_m / step) + 1) * step
                      : (std::trunc(p.ImpellerDiameter_m / step + tolerance) - 1) * step;
        if (D < p.PumpImpellerDiameterMin_m)
            D = p.PumpImpellerDiameterMin_m;
        else if (D > p.PumpImpellerDiameterMax_m)
            D = p.PumpImpellerDiameterMax_m;
        const TUnit unit = p.ImpellerDiameterDisplayUnit;
        ++filling_;
        RightEditPumpImpellerDiameterGraph->setText(q(convertUnitToString(unt_m, unit, 3, D)));
        --filling_;
        LabelDiameterLargeGraph->setText(QStringLiteral("Diameter: ") + RightEditPumpImpellerDiameterGraph->text() +
                                         QStringLiteral(" ") + q(unitPlainName(unit)));
        UpdateFormFromRightEditPumpImpellerDiameterGraph();
        return;
    }
    if (resultsMode_)
        return;
    if (RightEditImpellerDiameter->isEnabled() && p.ImpellerDiameter_m == 0)
        RightEditImpellerDiameter->setFocus();
    else if (RightEditImpellerDiameterMin->isEnabled() && p.PumpImpellerDiameterMin_m == 0)
        showGraphMessage(QStringLiteral("Please specifiy minimum Impeller Diameter data."));
    else if (RightEditImpellerDiameterMax->isEnabled() && p.PumpImpellerDiameterMax_m == 0)
        showGraphMessage(QStringLiteral("Please specifiy maximum Impeller Diameter data."));
}

// --- adjustments ----------------------------------------------------------------------

void TPumpDataForm::MoveHeadClick(bool MaxImpeller, bool Up)
{
    auto &multipliers =
        MaxImpeller ? EditedPump.FlowHeadCurveMaxImpellerMultipliers : EditedPump.FlowHeadCurveMinImpellerMultipliers;
    multipliers[2] += Up ? 0.05 : -0.05;
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::CurvatureClick(bool MaxImpeller, bool Up)
{
    TPump &p = EditedPump;
    auto &multipliers = MaxImpeller ? p.FlowHeadCurveMaxImpellerMultipliers : p.FlowHeadCurveMinImpellerMultipliers;
    const double D = MaxImpeller ? p.PumpImpellerDiameterMax_m : p.PumpImpellerDiameterMin_m;
    const TPumpPoints &base = p.BaseDataPumpPoints;
    if (base.PointsCount >= 1) {
        const double Hshut = base.Points[1].Head_mHd;
        const double Hend = base.Points[base.PointsCount].Head_mHd;
        double Pend = 0, Pshut = 0;
        p.getPredictedHeadForSpeedAndDiameterChange(p.BaseDataSpeed_rpm, p.Speed_rpm, p.BaseDataImpellerDiameter_m, D,
                                                    Hend, Hshut, Pend);
        if (Up) {
            p.getPredictedHeadForSpeedAndDiameterChange(p.BaseDataSpeed_rpm, p.Speed_rpm,
                                                        p.BaseDataImpellerDiameter_m, D, Hshut, Hshut, Pshut);
            if (Pshut > Pend)
                multipliers[1] += 0.05;
        } else if (p.PumpPoints.PointsCount >= 1 && Pend > 0.05 * p.PumpPoints.Points[1].Head_mHd) {
            multipliers[1] -= 0.05;
        }
    }
    UpdateGraphOptionsUpdateRunningDataDrawGraph(p);
}

void TPumpDataForm::TrackBarChange(int Which)
{
    TPump &p = EditedPump;
    switch (Which) {
    case 1: p.EfficiencyCurveMinImpellerMultipliers[1] = TrackBar1->value() / 100.0; break;
    case 2: p.EfficiencyCurveMinImpellerMultipliers[2] = -(TrackBar2->value() / 100.0); break;
    case 3: p.EfficiencyCurveMaxImpellerMultipliers[1] = TrackBar3->value() / 100.0; break;
    default: p.EfficiencyCurveMaxImpellerMultipliers[2] = -(TrackBar4->value() / 100.0); break;
    }
    UpdateGraphOptionsUpdateRunningDataDrawGraph(p);
}

void TPumpDataForm::ComboBoxDesignCurveChange()
{
    const int k = ComboBoxDesignCurve->currentIndex();
    if (k >= 1 && k <= static_cast<int>(PumpHeadMultiplierPresets.size())) {
        const TPumpMultiplierPreset &row = PumpHeadMultiplierPresets[static_cast<std::size_t>(k - 1)];
        EditedPump.FlowHeadCurveMaxImpellerMultipliers[1] = row.Max1;
        EditedPump.FlowHeadCurveMaxImpellerMultipliers[2] = row.Max2;
        EditedPump.FlowHeadCurveMinImpellerMultipliers[1] = row.Min1;
        EditedPump.FlowHeadCurveMinImpellerMultipliers[2] = row.Min2;
    } else if (k == 0) {
        RestoreFlowHeadCustomizedMultipliers();
    }
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::ComboBoxEfficiencyCurveChange()
{
    TPump &p = EditedPump;
    const int k = ComboBoxEfficiencyCurve->currentIndex();
    if (k >= 1 && k <= static_cast<int>(PumpEfficiencyMultiplierPresets.size())) {
        const TPumpMultiplierPreset &row = PumpEfficiencyMultiplierPresets[static_cast<std::size_t>(k - 1)];
        p.EfficiencyCurveMaxImpellerMultipliers[1] = row.Max1;
        p.EfficiencyCurveMaxImpellerMultipliers[2] = row.Max2;
        p.EfficiencyCurveMinImpellerMultipliers[1] = row.Min1;
        p.EfficiencyCurveMinImpellerMultipliers[2] = row.Min2;
        p.EfficiencyMaxImpellerPointMultipliers.Fill(1.0);
        p.EfficiencyMinImpellerPointMultipliers.Fill(1.0);
    } else if (k == 0) {
        RestoreEfficiencyCustomizedMultipliers();
    }
    ++filling_;
    TrackBar1->setValue(static_cast<int>(std::lround(100 * p.EfficiencyCurveMinImpellerMultipliers[1])));
    TrackBar2->setValue(static_cast<int>(std::lround(-100 * p.EfficiencyCurveMinImpellerMultipliers[2])));
    TrackBar3->setValue(static_cast<int>(std::lround(100 * p.EfficiencyCurveMaxImpellerMultipliers[1])));
    TrackBar4->setValue(static_cast<int>(std::lround(-100 * p.EfficiencyCurveMaxImpellerMultipliers[2])));
    --filling_;
    UpdateGraphOptionsUpdateRunningDataDrawGraph(p);
}

void TPumpDataForm::UpDownIndividualEfficiencyClick(bool Up)
{
    if (selectedPoint_ < 1 || selectedPoint_ > std::min(EditedPump.PumpPoints.PointsCount, MaxPumpPoints))
        return;
    auto &points = selectedPointOnMinimum_ ? EditedPump.EfficiencyMinImpellerPointMultipliers
                                           : EditedPump.EfficiencyMaxImpellerPointMultipliers;
    points[selectedPoint_] += Up ? 0.001 : -0.001;
    selectedEfficiency_ *= Up ? 1.001 : 0.999;
    const QString text = q(formatFixed(1, selectedEfficiency_)) + QStringLiteral("%");
    LabelPointEffic->setText(text);
    LabelPointEfficLargeGraph->setText(text);
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::BitBtnMoveToProblemDiamClick()
{
    TPump &p = EditedPump;
    p.ImpellerDiameter_m = problemDiameter_m_;
    p.PumpGraphOptions.ShowEfficiencyIso = false;
    p.PumpGraphOptions.ShowEfficiencyLine = true;
    BitBtnMoveToProblemDiam->hide();
    const TUnit unit = p.ImpellerDiameterDisplayUnit;
    ++filling_;
    RightEditPumpImpellerDiameterGraph->setText(q(convertUnitToString(unt_m, unit, 3, p.ImpellerDiameter_m)));
    --filling_;
    LabelDiameterLargeGraph->setText(QStringLiteral("Diameter: ") + RightEditPumpImpellerDiameterGraph->text() +
                                     QStringLiteral(" ") + q(unitPlainName(unit)));
    UpdateFormFromRightEditPumpImpellerDiameterGraph();
    UpdateFormFromRightEditPumpImpellerDiameterGraph();
    ButtonGraphOptionsOkClick();
}

} // namespace tessaran
