// The pump editor's predictions, model adjustment and chart commands, on
// the one editor, opened offscreen on a pipe's pump.

#include "Sample_Pump.h"
#include "pumps/Pump_Data_Form.h"

#include <cmath>
#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QSlider>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Database_Class.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Pick(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Five points at 2900 rpm and 250 mm, trims 200 to 270 mm, speeds 1000 to
// 3000 rpm, in m³/h and m of fluid.
void MakePump(TPump &pump, double density)
{
    test::MakeSamplePump(pump, 2900, density);
    pump.PumpImpellerDiameterMin_m = 0.20;
    pump.PumpImpellerDiameterMax_m = 0.27;
    pump.PumpSpeedMinRpm = 1000;
    pump.PumpSpeedMaxRpm = 3000;
    pump.PumpGraphOptions.ShowEfficiencyIso = false;
    pump.PumpGraphOptions.ShowEfficiencyLine = true;
}

class PumpAdjust : public ::testing::Test {
public:
    PumpAdjust()
    {
        const int tank = test::AddTank(network, "T", 0.0);
        const int joint = test::AddSolverNode(network, "J", Joint, 0.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        network.FluidZones[1].Fluid.density_kgs_m3 = 1000;
        MakePump(pump, 1000);
    }
    void Open(const std::function<void(TPumpDataForm &)> &user, bool resultsMode = false)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            TPumpDataForm &f = TPumpDataForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.Panel2->isVisible())
                f.Exit1Click();
            if (f.isVisible())
                Click(f.BitBtnCancelPump);
        });
        TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, resultsMode);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }
    static void TypeSpeed(TPumpDataForm &f, const QString &text)
    {
        f.RightEditPumpSpeedRpmGraph->setText(text);
        f.UpdateFormFromRightEditPumpSpeedRpmGraph();
    }
    static void TypeDiameter(TPumpDataForm &f, const QString &text)
    {
        f.RightEditPumpImpellerDiameterGraph->setText(text);
        f.UpdateFormFromRightEditPumpImpellerDiameterGraph();
    }
    static QString Message(TPumpDataForm &f)
    {
        return f.GroupBoxGraphMessage->isVisible() ? f.LabelGraphMessage->text() : QString();
    }

    TNetwork network;
    TPumpDatabase database;
    test::TScriptedDialogs dialogs;
    TPump pump;
    bool deleted = false;
    int pumpPipe = 0;
};

TEST_F(PumpAdjust, PredictionTable)
{
    const QString below65 = "\n\nThe predicted data cannot use an Impeller Diameter that is less than 65% of the "
                            "Impeller Diameter (250.000mm) specified as part of the pump's base data.";
    const QString above140 = "\n\nThe predicted data cannot use an Impeller Diameter that is greater than 140%  of the "
                             "Impeller Diameter (250.000mm) specified as part of the pump's base data.";
    const QString noLimits = "Cannot change to data based on a predicted pump impeller size until the minmum and "
                             "maximum impeller diameters have been specified.";
    struct Case {
        double minimum_m, maximum_m;
        QString typed;
        double diameter_m;
        QString message;
    } cases[] = {
        {0, 0.27, "125", 0.1625, below65},    // 50 %: predicted at 65 %
        {0.2, 0, "375", 0.35, above140},      // 150 %: predicted at 140 %
        {0, 0, "240", 0.25, noLimits},        // no limits: the running diameter
        {0.225, 0.27, "150", 0.225, QString()}, // 60 % typed, 90 % minimum: no message
        {0.2, 0.27, "230", 0.23, QString()},
    };
    for (const Case &c : cases) {
        pump.PumpImpellerDiameterMin_m = c.minimum_m;
        pump.PumpImpellerDiameterMax_m = c.maximum_m;
        Open([&](TPumpDataForm &f) {
            f.GroupBoxGraphMessage->hide();
            TypeDiameter(f, c.typed);
            EXPECT_NEAR(f.EditedPump.ImpellerDiameter_m, c.diameter_m, 1e-9) << c.typed.toStdString();
            EXPECT_EQ(Message(f), c.message) << c.typed.toStdString();
            EXPECT_EQ(f.EditedPump.BaseDataImpellerDiameter_m, 0.25);
        });
    }
    // A speed below the minimum predicts at the minimum and shows it.
    MakePump(pump, 1000);
    Open([&](TPumpDataForm &f) {
        TypeSpeed(f, "500");
        EXPECT_EQ(f.RightEditPumpSpeedRpmGraph->text(), "1000");
        EXPECT_EQ(f.EditedPump.Speed_rpm, 1000);
        EXPECT_EQ(f.EditedPump.PumpSpeedRpmGraph, 1000);
        TypeSpeed(f, "abc"); // ignored silently
        EXPECT_EQ(f.EditedPump.Speed_rpm, 1000);
    });
    // Without a minimum any positive speed is taken as typed.
    pump.PumpSpeedMinRpm = 0;
    Open([&](TPumpDataForm &f) {
        TypeSpeed(f, "500");
        EXPECT_EQ(f.EditedPump.Speed_rpm, 500);
    });
}

TEST_F(PumpAdjust, RefusedPredictionLeavesThePumpAsItRan)
{
    Open([&](TPumpDataForm &f) {
        TypeSpeed(f, "1450");
        const TPumpPoints running = f.EditedPump.PumpPoints;
        // A pump without a base diameter cannot be predicted.
        f.EditedPump.BaseDataImpellerDiameter_m = 0;
        TypeSpeed(f, "2000");
        EXPECT_EQ(Message(f), "Cannot update pump data.\n\nCheck pump speed and impeller data has been set.");
        EXPECT_EQ(f.EditedPump.Speed_rpm, 1450);
        EXPECT_EQ(f.EditedPump.PumpSpeedRpmGraph, 1450);
        EXPECT_EQ(f.EditedPump.PumpPoints, running);
    });
}

TEST_F(PumpAdjust, SpinnerTable)
{
    struct Case {
        double diameter_m;
        bool up;
        double expected_m;
    } cases[] = {
        {0.25, true, 0.251},
        {0.25, false, 0.249},
        {0.2505, true, 0.252},
        {0.2505, false, 0.249},
        {0.25 - 1e-12, false, 0.249}, // a whole number of steps computed a hair low
        {0.2005, false, 0.2},         // kept at the minimum
        {0.2695, true, 0.27},         // kept at the maximum
    };
    Open([&](TPumpDataForm &f) {
        for (const Case &c : cases) {
            f.EditedPump.ImpellerDiameter_m = c.diameter_m;
            Click(c.up ? f.UpDownImpellerDiameterUp : f.UpDownImpellerDiameterDown);
            EXPECT_NEAR(f.EditedPump.ImpellerDiameter_m, c.expected_m, 1e-9) << c.diameter_m << " " << c.up;
        }
        // Speed: 10 rpm steps, held at the maximum.
        TypeSpeed(f, "2990");
        Click(f.UpDownSpeedUp);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 3000);
        Click(f.UpDownSpeedLargeGraphUp);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 3000);
        EXPECT_EQ(f.RightEditPumpSpeedRpmGraph->text(), "3000");
        Click(f.UpDownSpeedDown);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 2990);
        // Without a speed range the buttons only prompt.
        f.EditedPump.PumpSpeedMinRpm = 0;
        Click(f.UpDownSpeedUp);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 2990);
        EXPECT_EQ(Message(f), "Please specifiy Minimum Pump Speed data.");
    });
}

TEST_F(PumpAdjust, PresetsAndTheUserDefinedMatch)
{
    pump.FlowHeadCurveMaxImpellerMultipliers[1] = 0.3;
    pump.EfficiencyCurveMinImpellerMultipliers[2] = 0.1;
    pump.EfficiencyMaxImpellerPointMultipliers[3] = 1.02;
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnGraphOptions);
        ASSERT_TRUE(f.PanelGraphOptions->isVisible());
        EXPECT_EQ(f.ComboBoxDesignCurve->count(), 7);
        EXPECT_EQ(f.ComboBoxEfficiencyCurve->count(), 11);
        EXPECT_EQ(f.ComboBoxDesignCurve->currentIndex(), 0);
        EXPECT_EQ(f.ComboBoxEfficiencyCurve->currentIndex(), 0);
        EXPECT_TRUE(f.LabelIndividualEffics->isVisibleTo(f.GroupBoxAdjustPumpGraphs));
        // "Standard Affinity Laws" in both lists resets every multiplier.
        Pick(f.ComboBoxDesignCurve, 1);
        Pick(f.ComboBoxEfficiencyCurve, 1);
        const TPump &p = f.EditedPump;
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(p.FlowHeadCurveMaxImpellerMultipliers[i], 0);
            EXPECT_EQ(p.FlowHeadCurveMinImpellerMultipliers[i], 0);
            EXPECT_EQ(p.EfficiencyCurveMaxImpellerMultipliers[i], 0);
            EXPECT_EQ(p.EfficiencyCurveMinImpellerMultipliers[i], 0);
        }
        for (int i = 1; i <= MaxPumpPoints; ++i) {
            EXPECT_EQ(p.EfficiencyMaxImpellerPointMultipliers[i], 1.0);
            EXPECT_EQ(p.EfficiencyMinImpellerPointMultipliers[i], 1.0);
        }
        EXPECT_EQ(f.ComboBoxDesignCurve->currentIndex(), 1);
        EXPECT_EQ(f.ComboBoxEfficiencyCurve->currentIndex(), 1);
        EXPECT_FALSE(f.LabelIndividualEffics->isVisibleTo(f.GroupBoxAdjustPumpGraphs));
        // The stores still hold the pump's own combination.
        Pick(f.ComboBoxEfficiencyCurve, 0);
        EXPECT_EQ(p.EfficiencyCurveMinImpellerMultipliers[2], 0.1);
        EXPECT_EQ(p.EfficiencyMaxImpellerPointMultipliers[3], 1.02);
        EXPECT_EQ(f.TrackBar2->value(), -10);

        // One "Move Head" from a preset gives the user-defined match.
        Pick(f.ComboBoxDesignCurve, 3);
        Click(f.UpDown1Up);
        EXPECT_EQ(f.ComboBoxDesignCurve->currentIndex(), 0);
        const double adjusted = p.FlowHeadCurveMaxImpellerMultipliers[2];
        EXPECT_NEAR(adjusted, 0.8 + 0.05, 1e-12);
        EXPECT_TRUE(f.MemoMaxImpellerMultipliers->toPlainText().startsWith("Qm = 0.15\nHm = 0.85\n"));
        Pick(f.ComboBoxDesignCurve, 5);
        EXPECT_EQ(p.FlowHeadCurveMaxImpellerMultipliers[2], 1.5);
        Pick(f.ComboBoxDesignCurve, 0);
        EXPECT_EQ(p.FlowHeadCurveMaxImpellerMultipliers[2], adjusted);
        EXPECT_EQ(p.FlowHeadCurveMinImpellerMultipliers[2], -0.8);
        Click(f.ButtonCancel);
    });
}

TEST_F(PumpAdjust, LimitedSteps)
{
    pump.PumpNPSHStartMaxDiamNpshPercentIncrease = 99;
    pump.PumpNPSHEndMinDiamNpshPercentIncrease = -50;
    pump.PumpEfficiencyMaxSpeedEfficPercentIncrease = 19.5;
    pump.PumpGraphOptions.MaxDiamMinFlowPercent = 100;
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnGraphOptions);
        Click(f.BitBtnAdjustPumpGraphs);
        EXPECT_TRUE(f.GroupBoxAdjustPumpGraphs->isVisible());
        EXPECT_TRUE(f.BitBtnExitAdjustPumpGraphs->isVisible());
        Click(f.UpDownNPSHstartMaxImpellerUp);
        Click(f.UpDownNPSHEndMinImpellerDown);
        Click(f.UpDownEfficiencyMaxSpeedUp);
        Click(f.UpDownEfficiencyMaxSpeedUp);
        Click(f.UpDownMinFlowLineMaxDiamUp);
        const TPump &p = f.EditedPump;
        EXPECT_EQ(p.PumpNPSHStartMaxDiamNpshPercentIncrease, 99);
        EXPECT_EQ(p.PumpNPSHEndMinDiamNpshPercentIncrease, -50);
        EXPECT_EQ(p.PumpEfficiencyMaxSpeedEfficPercentIncrease, 20);
        EXPECT_EQ(p.PumpGraphOptions.MaxDiamMinFlowPercent, 100);
        EXPECT_EQ(f.LabelNPSHStartMaxDiamPercentIncrease->text(), "+99%");
        EXPECT_EQ(f.LabelNPSHEndMinDiamPercentIncrease->text(), "-50%");
        EXPECT_EQ(f.LabelEfficiencyMaxSpeedPercentIncrease->text(), "20.0%");
        EXPECT_TRUE(f.LabelNPSHStartMaxDiamPercentIncrease->toolTip().endsWith(
            " (NPSH start value when on Max Impeller)"));
        Click(f.BitBtnExitAdjustPumpGraphs);
        EXPECT_FALSE(f.GroupBoxAdjustPumpGraphs->isVisible());
        EXPECT_TRUE(f.BitBtnAdjustPumpGraphs->isVisible());
        Click(f.ButtonGraphOptionsOk);
        EXPECT_FALSE(f.PanelGraphOptions->isVisible());
    });
}

TEST_F(PumpAdjust, OptionsCancelRestoresTheChart)
{
    Open([&](TPumpDataForm &f) {
        f.DrawPumpGraphAndCheckData(true);
        const QImage before = f.ImagePumpCurve->Picture.copy();
        const TPump kept = f.EditedPump;
        Click(f.BitBtnGraphOptions);
        Click(f.CheckBoxPower);
        Click(f.CheckBoxNPSHr);
        dialogs.Colours.push_back(QColor(255, 0, 255));
        QTest::mouseClick(f.LabelColorDesignCurve, Qt::LeftButton);
        EXPECT_EQ(f.EditedPump.PumpGraphOptions.ColorDesignCurve, 0xFF00FFu);
        Click(f.BitBtnAdjustPumpGraphs);
        Click(f.UpDown1Up);
        Click(f.UpDown4Down);
        Pick(f.ComboBoxEfficiencyCurve, 4);
        EXPECT_NE(f.ImagePumpCurve->Picture, before);
        Click(f.ButtonCancel);
        EXPECT_FALSE(f.PanelGraphOptions->isVisible());
        EXPECT_EQ(f.EditedPump.PumpGraphOptions, kept.PumpGraphOptions);
        EXPECT_EQ(f.EditedPump.FlowHeadCurveMaxImpellerMultipliers, kept.FlowHeadCurveMaxImpellerMultipliers);
        EXPECT_EQ(f.EditedPump.EfficiencyCurveMaxImpellerMultipliers, kept.EfficiencyCurveMaxImpellerMultipliers);
        EXPECT_TRUE(f.ImagePumpCurve->Picture == before);
    });
}

TEST_F(PumpAdjust, EfficiencyOptions)
{
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnGraphOptions);
        TPumpGraphOptions &o = f.EditedPump.PumpGraphOptions;
        Click(f.RadioButtonEfficIso);
        EXPECT_TRUE(o.ShowEfficiencyIso);
        EXPECT_FALSE(o.ShowEfficiencyLine);
        Click(f.CheckBoxEffic);
        EXPECT_FALSE(o.ShowEfficiencyIso);
        EXPECT_FALSE(o.ShowEfficiencyLine);
        Click(f.CheckBoxEffic);
        EXPECT_TRUE(o.ShowEfficiencyIso);
        EXPECT_FALSE(o.ShowEfficiencyLine);
        Click(f.CheckBoxGridLines);
        EXPECT_EQ(o.GridLinesStyle, GraphGridNone);
        Click(f.RadioButtonGridFine);
        Click(f.CheckBoxGridLines);
        EXPECT_EQ(o.GridLinesStyle, GraphGridFine);
        f.RightEditSystemCurveStartHead->setText("12.5");
        EXPECT_DOUBLE_EQ(o.SystemCurveHeadStart_mHd, 12.5);
        f.RightEditSystemCurveStartHead->setText("x");
        EXPECT_EQ(o.SystemCurveHeadStart_mHd, 0);
        Click(f.ButtonGraphOptionsOk);
    });
}

TEST_F(PumpAdjust, ReadOutTable)
{
    const QString flowOutside = "Value is outside of the data points used to draw the pump curve.\r\rPlease re-enter "
                                "a Flow value that lies within the pump curve.";
    const QString headOutside = "Value is outside of the data points used to draw the pump curve.\r\rPlease re-enter "
                                "a Head value that lies within the pump curve.";
    struct Case {
        QString flow, head;
        bool accepted;
        QString power; // empty: not checked
    } cases[] = {
        {"0", "", true, ""},
        {"80", "", true, ""},
        {"80.5", "", false, ""},
        {"", "50", true, ""},
        {"", "24", true, ""},
        {"", "23.9", false, ""},
        {"", "50.5", false, ""},
    };
    Open([&](TPumpDataForm &f) {
        for (const Case &c : cases) {
            f.RightEditFlow->setText(c.flow);
            f.RightEditHead->setText(c.head);
            if (!c.accepted)
                dialogs.Expect(TDialogKind::Information, c.flow.isEmpty() ? headOutside : flowOutside);
            Click(f.ButtonCalcCurvePoint);
            const std::string id = (c.flow + "/" + c.head).toStdString();
            if (c.accepted) {
                EXPECT_FALSE(f.RightEditFlow->text().isEmpty()) << id;
                EXPECT_FALSE(f.RightEditHead->text().isEmpty()) << id;
                EXPECT_FALSE(f.LabelShowEffic->text().isEmpty()) << id;
                if (!c.power.isEmpty())
                    EXPECT_EQ(f.LabelShowPower->text(), c.power) << id;
            } else {
                EXPECT_TRUE(f.RightEditFlow->text().isEmpty()) << id;
                EXPECT_TRUE(f.RightEditHead->text().isEmpty()) << id;
                EXPECT_TRUE(f.LabelShowPower->text().isEmpty()) << id;
            }
        }
        // A point on the curve: 60 m³/h gives 36 m at 72 %.
        f.RightEditHead->clear();
        f.RightEditFlow->setText("60");
        Click(f.ButtonCalcCurvePoint);
        EXPECT_NEAR(f.RightEditHead->text().toDouble(), 36, 0.05);
        EXPECT_NEAR(f.LabelShowEffic->text().toDouble(), 72, 0.1);
        EXPECT_EQ(f.LabelHeaderPower->text(), "Power KW");
        EXPECT_NEAR(f.LabelShowPower->text().toDouble(), 60.0 / 3600 * 36 * 1000 * 9.80665 / 1000 / 0.72, 0.05);
        // Both boxes empty: nothing.
        f.RightEditFlow->clear();
        f.RightEditHead->clear();
        const QString shown = f.LabelShowPower->text();
        Click(f.ButtonCalcCurvePoint);
        EXPECT_EQ(f.LabelShowPower->text(), shown);
        EXPECT_TRUE(f.RightEditHead->text().isEmpty());
    });
    // A pump without efficiencies: "N/A" for a typed flow, "0.000" for a typed head.
    for (int i = 1; i <= 5; ++i) {
        pump.PumpPoints.Points[i].EfficiencyPercent = 0;
        pump.BaseDataPumpPoints.Points[i].EfficiencyPercent = 0;
    }
    Open([&](TPumpDataForm &f) {
        f.RightEditFlow->setText("40");
        Click(f.ButtonCalcCurvePoint);
        EXPECT_EQ(f.LabelShowPower->text(), "N/A");
        f.RightEditFlow->clear();
        f.RightEditHead->setText("44");
        Click(f.ButtonCalcCurvePoint);
        EXPECT_EQ(f.LabelShowPower->text(), "0.000");
        EXPECT_NEAR(f.RightEditFlow->text().toDouble(), 40, 0.1);
    });
}

// A head typed in a pressure unit is a column of the pumped fluid, not of water.
TEST_F(PumpAdjust, ReadOutByHeadInAPressureUnitUsesTheFluid)
{
    network.FluidZones[1].Fluid.density_kgs_m3 = 800;
    MakePump(pump, 800);
    pump.PumpPoints.HeadDisplayUnit = unt_kPa_G;
    pump.BaseDataPumpPoints.HeadDisplayUnit = unt_kPa_G;
    Open([&](TPumpDataForm &f) {
        const double kPa = 36 * 800 * 9.80665 / 1000;
        f.RightEditFlow->clear();
        f.RightEditHead->setText(QString::number(kPa, 'f', 3));
        Click(f.ButtonCalcCurvePoint);
        EXPECT_NEAR(f.RightEditFlow->text().toDouble(), 60, 0.1);
        EXPECT_NEAR(f.LabelShowEffic->text().toDouble(), 72, 0.1);
    });
}

TEST_F(PumpAdjust, PickingPredictedPoints)
{
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnGraphOptions);
        Click(f.BitBtnAdjustPumpGraphs);
        Click(f.ButtonUpdateIndividualPoints);
        ASSERT_TRUE(f.PanelPointEfficiencies->isVisible());
        const double rho = 1000;
        auto pixelOf = [&](const TQuadraticCurves &curve, int i) {
            const TCurvePoint &point = curve.CurvePoints[static_cast<std::size_t>(i)];
            const double flow = point.X / rho * 3600; // m³/h
            int x = 0, y = 0;
            f.PumpGraphSmall->GetXYpoint(flow, point.Y, x, y, true);
            return QPoint(x, y);
        };
        // A maximum-impeller point.
        QPoint at = pixelOf(f.DrawingPump.PumpMaxDiamCurve_Qkgs_mHd, 4);
        emit f.ImagePumpCurve->Clicked(at);
        EXPECT_EQ(f.SelectedPoint(), 4);
        EXPECT_FALSE(f.SelectedPointOnMinimum());
        EXPECT_TRUE(f.GroupBoxPointEffic->isVisible());
        EXPECT_TRUE(f.LabelPointEffic->text().endsWith("%"));
        // Its efficiency multiplier moves by 0.001 a click.
        Click(f.UpDownIndividualEfficiencyUp);
        EXPECT_NEAR(f.EditedPump.EfficiencyMaxImpellerPointMultipliers[4], 1.001, 1e-12);
        EXPECT_EQ(f.LabelMaxDiamAdjustedPoints->text(), "Max Diam, Red Points Individually Adjusted = 1");
        // A minimum-impeller point.
        at = pixelOf(f.DrawingPump.PumpMinDiamCurve_Qkgs_mHd, 3);
        emit f.ImagePumpCurve->Clicked(at);
        EXPECT_EQ(f.SelectedPoint(), 3);
        EXPECT_TRUE(f.SelectedPointOnMinimum());
        Click(f.ButtonPointEfiicOk);
        EXPECT_EQ(f.SelectedPoint(), 0);
        EXPECT_FALSE(f.GroupBoxPointEffic->isVisible());
        // A click on the shut-off point or far from any point selects nothing.
        emit f.ImagePumpCurve->Clicked(pixelOf(f.DrawingPump.PumpMaxDiamCurve_Qkgs_mHd, 1));
        EXPECT_EQ(f.SelectedPoint(), 0);
        emit f.ImagePumpCurve->Clicked(QPoint(2, 2));
        EXPECT_EQ(f.SelectedPoint(), 0);
        dialogs.Expect(TDialogKind::Information,
                       "Individual Efficiency Adjustments for points on Max Diameter have been cleared.\r\r");
        Click(f.BitBtnClearMaxDiamEfficAdjustments);
        EXPECT_EQ(f.EditedPump.EfficiencyMaxImpellerPointMultipliers[4], 1.0);
        // Several points within the tolerance: the higher number wins, and a
        // minimum-impeller point beats a maximum-impeller one.
        const QPoint click(300, 200);
        double flowShown = 0, headShown = 0;
        ASSERT_TRUE(f.PumpGraphSmall->GetXYvalue(click.x(), click.y(), flowShown, headShown));
        const double fv = flowShown / 3600 * rho, hv = headShown;
        auto setCurve = [](TQuadraticCurves &curve, std::vector<TCurvePoint> points) {
            curve.Clear();
            curve.PointsCount = static_cast<int>(points.size());
            for (std::size_t i = 0; i < points.size(); ++i)
                curve.CurvePoints[i + 1] = points[i];
        };
        auto overlap = [&](bool minimumToo) {
            setCurve(f.DrawingPump.PumpMaxDiamCurve_Qkgs_mHd,
                     {{0, hv * 3}, {fv, hv}, {fv * 1.002, hv}, {fv * 3, hv / 2}, {fv * 4, hv / 3}});
            setCurve(f.DrawingPump.PumpMinDiamCurve_Qkgs_mHd,
                     {{0, hv * 2}, {minimumToo ? fv * 1.001 : fv / 2, hv}, {fv * 2, hv / 2}, {fv * 2.5, hv / 3},
                      {fv * 3, hv / 4}});
        };
        overlap(false);
        emit f.ImagePumpCurve->Clicked(click);
        EXPECT_EQ(f.SelectedPoint(), 3);
        EXPECT_FALSE(f.SelectedPointOnMinimum());
        overlap(true);
        emit f.ImagePumpCurve->Clicked(click);
        EXPECT_EQ(f.SelectedPoint(), 2);
        EXPECT_TRUE(f.SelectedPointOnMinimum());
        Click(f.ButtonPointEfiicOk);
        Click(f.BitBtnReturnToGroupAdjustments);
        EXPECT_FALSE(f.PanelPointEfficiencies->isVisible());
        Click(f.ButtonGraphOptionsOk);
    });
}

TEST_F(PumpAdjust, LargeViewMagnifierAndClipboard)
{
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnEnlargeGraph);
        ASSERT_TRUE(f.Panel2->isVisible());
        EXPECT_EQ(f.LabelSpeedLargeGraph->text(), "Speed: 2900 rpm");
        EXPECT_EQ(f.LabelDiameterLargeGraph->text(), "Diameter: 250.000 mm");
        Click(f.BitBtn2);
        EXPECT_TRUE(f.MagnifierOn());
        EXPECT_EQ(f.BitBtn2->text(), "Magnify On");
        const QImage saved = f.ImageSaved.copy();
        const QPoint at(400, 300);
        f.ImagePumpCurveLargeMouseMove(at);
        EXPECT_TRUE(f.LabelFlow->text().startsWith("Flow = "));
        EXPECT_TRUE(f.LabelHead->text().startsWith("Head = "));
        const QImage &shown = f.ImagePumpCurveLarge->Picture;
        // Inside the circle the picture is doubled about the mouse point;
        // outside it is the saved picture.
        for (const QPoint d : {QPoint(20, 20), QPoint(-60, 40), QPoint(100, -100)})
            EXPECT_EQ(shown.pixel(at + d), saved.pixel(at + d / 2)) << d.x() << "," << d.y();
        for (const QPoint d : {QPoint(190, 190), QPoint(-300, 0), QPoint(0, 250)})
            EXPECT_EQ(shown.pixel(at + d), saved.pixel(at + d)) << d.x() << "," << d.y();
        dialogs.Expect(TDialogKind::Information, "A large image of the pump graph has been copied to the clipboard.");
        f.CopyGraphImage1Click();
        EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                  f.ImagePumpCurveLarge->Picture.convertToFormat(QImage::Format_RGB32));
        Click(f.BitBtn2);
        EXPECT_FALSE(f.MagnifierOn());
        Click(f.BitBtn1);
        EXPECT_FALSE(f.Panel2->isVisible());
        dialogs.Expect(TDialogKind::Information, "An image of the pump graph has been copied to the clipboard.");
        f.CopyGraphImage1Click();
        EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                  f.ImagePumpCurve->Picture.convertToFormat(QImage::Format_RGB32));
    });
}

TEST_F(PumpAdjust, EndToEndHalfSpeedAndAPresetCancelled)
{
    Open([&](TPumpDataForm &f) {
        TypeSpeed(f, "1450");
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Edit Pump Points");
        const double flows[] = {0, 20, 40, 60, 80}, heads[] = {50, 48, 44, 36, 24};
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(f.Cell(0, i + 2).toDouble(), flows[i] / 2, 0.05) << i;
            EXPECT_NEAR(f.Cell(1, i + 2).toDouble(), heads[i] / 4, 0.05) << i;
        }
        EXPECT_EQ(f.EditedPump.BaseDataSpeed_rpm, 2900);
        const TPump kept = f.EditedPump;
        Click(f.BitBtnGraphOptions);
        Pick(f.ComboBoxDesignCurve, 6);
        EXPECT_EQ(f.EditedPump.FlowHeadCurveMinImpellerMultipliers[2], -2.0);
        Click(f.ButtonCancel);
        EXPECT_EQ(f.EditedPump.FlowHeadCurveMaxImpellerMultipliers, kept.FlowHeadCurveMaxImpellerMultipliers);
        EXPECT_EQ(f.EditedPump.FlowHeadCurveMinImpellerMultipliers, kept.FlowHeadCurveMinImpellerMultipliers);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 1450);
    });
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST_F(PumpAdjust, LogoImportFadeBarsAndImportRefusals)
{
    QTemporaryDir temp;
    const QString dir = temp.path();
    const QString logo = dir + "/logo.png";
    QImage picture(200, 50, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(logo));
    QFile(dir + "/broken.png").remove();
    {
        QFile broken(dir + "/broken.png");
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }
    Open([&](TPumpDataForm &f) {
        // A missing file, a file that is no picture, then a picture.
        dialogs.FileNames.push_back(dir + "/none.png");
        dialogs.Expect(TDialogKind::Information, "Image File not found.\r");
        Click(f.BitBtnAddLogo);
        dialogs.FileNames.push_back(dir + "/broken.png");
        dialogs.Expect(TDialogKind::Information, "Image File cannot be loaded: Error occured.\r");
        Click(f.BitBtnAddLogo);
        EXPECT_FALSE(f.EditedPump.ImportedLogoLoaded);
        dialogs.FileNames.push_back(logo);
        Click(f.BitBtnAddLogo);
        ASSERT_TRUE(f.EditedPump.ImportedLogoLoaded);
        EXPECT_TRUE(f.EditedPump.PumpGraphOptions.ShowImportedLogo);
        EXPECT_EQ(f.EditedPump.ImportedLogoBitmap.Width(), 1000);
        EXPECT_EQ(f.EditedPump.ImportedLogoBitmap.Height(), 250);
        // "No" keeps the logo; "Yes" then a cancelled dialog drops it.
        dialogs.Expect(TDialogKind::Confirmation, "Delete existing logo image and load new image?", DialogNo);
        Click(f.BitBtnAddLogo);
        EXPECT_TRUE(f.EditedPump.ImportedLogoLoaded);
        dialogs.Expect(TDialogKind::Confirmation, "Delete existing logo image and load new image?", DialogYes);
        dialogs.FileNames.push_back(std::nullopt);
        Click(f.BitBtnAddLogo);
        EXPECT_FALSE(f.EditedPump.ImportedLogoLoaded);

        // The fade bars write the traced image's opacity.
        f.TrackBarImageOpacity2->setValue(40);
        EXPECT_EQ(f.EditedPump.ImportedPumpSheet.PumpSheetOpacity, 40);

        // The preferred region: a number, an empty box, then a bad entry kept out.
        f.RightEditPreferredOpRegionFromPercent->setText("60");
        EXPECT_EQ(f.EditedPump.PreferredOpRegionFromPercent, 60);
        f.RightEditPreferredOpRegionToPercent->setText("");
        EXPECT_EQ(f.EditedPump.PreferredOpRegionToPercent, 0);

        // The traced image needs a set-speed pump.
        Click(f.RadioButtonFixedFlow);
        dialogs.Expect(TDialogKind::Confirmation,
                       "The pump type must be switched to 'Set Speed' before the Pump Database can be opened.\r\ri.e. "
                       "You cannot open the pump database when the pump type is 'Set Flow Rate' or 'Set Head "
                       "Increase'.\r\r");
        f.ImportPumpSheetImage1Click();
    });
    Open(
        [&](TPumpDataForm &f) {
            dialogs.Expect(TDialogKind::Information, "Cannot import a pump sheet image in Results Mode.\r\r");
            f.ImportPumpSheetImage1Click();
        },
        true);
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

std::vector<std::uint8_t> FileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

void WriteRecord(TPump &pump, const QString &path, const std::string &version, bool withVersion)
{
    TMemoryStream stream;
    pump.Save(stream, version, 1000, withVersion);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char *>(stream.Bytes().data()), static_cast<qint64>(stream.Bytes().size()));
}

const QString NoVersion =
    "The pump file does not contain any version information.\r\rIt was created by a copy of the software prior to "
    "version 4.01 \rand therefore cannot be loaded by this version of Tessaran.\r\rIf you have a copy of this pump on a "
    "pipe within an \"old\" system, then\ryou can still load the \"old\" system (since this has the required version "
    "info)\rand you can then re-save the pump to an individual pump file.\r";
const QString Overwrite = "File already exists. Do wish to overwrite? \r";

class PumpFiles : public PumpAdjust {
protected:
    // A folder of each test's own: tests run side by side in CI.
    QTemporaryDir temp;
    const QString dir = temp.path();
};

TEST_F(PumpFiles, SaveAndLoadBackByteForByte)
{
    const QString first = dir + "/a.trpm", second = dir + "/b.trpm";
    Open([&](TPumpDataForm &f) {
        dialogs.FileNames.push_back(first);
        Click(f.ToolButtonSavePump);
        ASSERT_FALSE(FileBytes(first).empty());
        // Another pump in the editor, then the file loaded over it.
        TypeSpeed(f, "1450");
        f.EditedPump.Name = "Other";
        dialogs.FileNames.push_back(first);
        Click(f.ToolButtonLoadPump);
        EXPECT_EQ(f.EditedPump.Name, "P-1");
        EXPECT_EQ(f.EditedPump.Speed_rpm, 2900);
        EXPECT_EQ(f.EditPumpName->text(), "P-1");
        dialogs.FileNames.push_back(second);
        Click(f.ToolButtonSavePump);
        // Once loaded, a pump goes to a file and comes back byte for byte.
        dialogs.FileNames.push_back(second);
        Click(f.ToolButtonLoadPump);
        const QString third = dir + "/c.trpm";
        dialogs.FileNames.push_back(third);
        Click(f.ToolButtonSavePump);
        EXPECT_EQ(FileBytes(third), FileBytes(second));
        EXPECT_EQ(FileBytes(third).size(), FileBytes(first).size());
        // "No" to overwriting writes nothing.
        f.EditedPump.Name = "Changed";
        const std::vector<std::uint8_t> kept = FileBytes(second);
        dialogs.FileNames.push_back(second);
        dialogs.Expect(TDialogKind::Confirmation, Overwrite, DialogNo);
        Click(f.ToolButtonSavePump);
        EXPECT_EQ(FileBytes(second), kept);
        // A file that cannot be written is reported, not fatal.
        const QString nowhere = dir + "/missing/folder/c.trpm";
        dialogs.FileNames.push_back(nowhere);
        dialogs.Expect(TDialogKind::Error, "The pump file could not be written.\r\r" + nowhere + "\r");
        Click(f.ToolButtonSavePump);
        EXPECT_FALSE(QFile::exists(nowhere));
    });
}

TEST_F(PumpFiles, SetFlowPumpWithAnEmptyGridRoundTrips)
{
    pump.Clear();
    pump.Name = "Flow";
    pump.PumpType = PumpFixedFlow;
    pump.SetFlowRate_m3s = 0.01;
    pump.SetFlowRateDisplayUnit = unt_m3_hour;
    const QString path = dir + "/flow.trpm";
    Open([&](TPumpDataForm &f) {
        dialogs.FileNames.push_back(path);
        Click(f.ToolButtonSavePump);
        f.EditedPump.SetFlowRate_m3s = 0.02;
        dialogs.FileNames.push_back(path);
        Click(f.ToolButtonLoadPump);
        EXPECT_EQ(f.EditedPump.PumpType, PumpFixedFlow);
        EXPECT_DOUBLE_EQ(f.EditedPump.SetFlowRate_m3s, 0.01);
        EXPECT_TRUE(f.RadioButtonFixedFlow->isChecked());
    });
}

TEST_F(PumpFiles, OldAndUnreadableFilesLeaveThePump)
{
    const QString old = dir + "/old.trpm", missing = dir + "/none.trpm";
    TPump other;
    MakePump(other, 1000);
    other.Name = "Old";
    WriteRecord(other, old, "4.00", false);
    Open([&](TPumpDataForm &f) {
        const std::vector<std::uint8_t> before = [&] {
            TMemoryStream s;
            f.EditedPump.Save(s, PumpCurrentFileVersion, 1000, true);
            return s.Bytes();
        }();
        dialogs.FileNames.push_back(old);
        dialogs.Expect(TDialogKind::Confirmation, NoVersion);
        Click(f.ToolButtonLoadPump);
        dialogs.FileNames.push_back(missing);
        dialogs.Expect(TDialogKind::Confirmation, "There was an error loading the pump file.\r\rEither the specified "
                                                  "file does not exist or it cannot be opened.\r");
        Click(f.ToolButtonLoadPump);
        TMemoryStream after;
        f.EditedPump.Save(after, PumpCurrentFileVersion, 1000, true);
        EXPECT_EQ(after.Bytes(), before);
        EXPECT_EQ(f.EditPumpName->text(), "P-1");
    });
}

TEST_F(PumpFiles, CurrentFilesInWaterColumnDoNotAskAndResultsModeRefuses)
{
    TPump water;
    MakePump(water, 1000);
    water.PumpPoints.SetHead_Stored_mH2O = true;
    water.BaseDataPumpPoints.SetHead_Stored_mH2O = true;
    WriteRecord(water, dir + "/water.trpm", PumpCurrentFileVersion, true);
    Open([&](TPumpDataForm &f) {
        dialogs.FileNames.push_back(dir + "/water.trpm"); // no question for a current file
        Click(f.ToolButtonLoadPump);
        EXPECT_EQ(f.EditedPump.PumpFileVersionString, PumpCurrentFileVersion);
    });
    Open(
        [&](TPumpDataForm &f) {
            dialogs.Expect(TDialogKind::Confirmation, "Cannot load a new pump when in Results Mode\r");
            f.LoadPumpClick();
            dialogs.Expect(TDialogKind::Confirmation, "Cannot save pump data when in Results Mode\r");
            f.SavePumpClick();
        },
        true);
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST_F(PumpAdjust, NotesBoxesAndViewTableData)
{
    Open([&](TPumpDataForm &f) {
        Click(f.BitBtnGraphOptions);
        Click(f.BitBtnNotes);
        EXPECT_TRUE(f.GroupBoxNotes->isVisible());
        EXPECT_FALSE(f.GroupBoxMultiplierInfo->isVisible());
        EXPECT_FALSE(f.BitBtnAdjustPumpGraphs->isVisible());
        EXPECT_EQ(f.MemoMinImpellerMultipliers->height(), 132);
        Click(f.BitBtnCloseNotes);
        EXPECT_FALSE(f.GroupBoxNotes->isVisible());
        EXPECT_TRUE(f.GroupBoxMultiplierInfo->isVisible());
        EXPECT_TRUE(f.BitBtnAdjustPumpGraphs->isVisible());
        EXPECT_EQ(f.MemoMaxImpellerMultipliers->height(), 94);
        // A panel already at the left edge does not move.
        f.PanelGraphOptions->move(0, 44);
        Click(f.BitBtnGraphOptionsPanelMove);
        EXPECT_EQ(f.PanelGraphOptions->pos(), QPoint(0, 44));
        EXPECT_EQ(f.BitBtnGraphOptionsPanelMove->text(), "View Table Data");
        Click(f.ButtonGraphOptionsOk);
        // Missing range data shows the note instead of the predictions.
        f.EditedPump.PumpSpeedMaxRpm = 0;
        Click(f.BitBtnGraphOptions);
        EXPECT_TRUE(f.GroupBoxNoteSingleCurve->isVisible());
        Click(f.ButtonGraphOptionsOk);
    });
}

} // namespace
} // namespace tessaran
