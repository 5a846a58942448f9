#include "Sample_Pump.h"
#include "pumps/Pump_Data_Form.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Database_Class.h"
#include "pumps/Pump_Popup_Form.h"
#include "support/Canvas_Log.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/Util_Functions.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

constexpr double Water = 998.0;

// Five points at 1450 rpm and 250 mm, trim range 200 to 270 mm, in m³/h and
// m of fluid, with every option of the chart on.
void MakePump(TPump &pump, double density)
{
    test::MakeSamplePump(pump, 1450, density);
    pump.PumpImpellerDiameterMin_m = 0.20;
    pump.PumpImpellerDiameterMax_m = 0.27;
    pump.PumpSpeedMinRpm = 1000;
    pump.PumpSpeedMaxRpm = 1800;
    TPumpGraphOptions &o = pump.PumpGraphOptions;
    o.ShowNPSHr = o.ShowPower = o.ShowEfficiencyIso = o.ShowEnvelope = o.ShowEfficiencyLine = true;
    o.ShowPrefOpRange = o.ShowDesignCurve = o.ShowMinFlowLine = true;
    o.EfficiencyIsoPercent = 5;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
}

std::vector<std::uint8_t> Saved(TPump &pump)
{
    TMemoryStream stream;
    pump.Save(stream, PumpCurrentFileVersion, Water, true);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    stream.Seek(0);
    stream.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

// The share of pixels that differ clearly from the stored picture; setting
// TESSARAN_WRITE_REFERENCES writes the pictures instead.
void ExpectMatchesPicture(const QImage &rendered, const QString &name)
{
    const QImage image = rendered.convertToFormat(QImage::Format_RGB32);
    const QString dir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/pumps/");
    if (std::getenv("TESSARAN_WRITE_REFERENCES")) {
        QDir().mkpath(dir);
        ASSERT_TRUE(image.save(dir + name));
        return;
    }
    const QImage reference = QImage(dir + name).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "missing " << name.toStdString();
    ASSERT_EQ(reference.size(), image.size());
    long differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 64 || std::abs(qGreen(a) - qGreen(b)) > 64 ||
                std::abs(qBlue(a) - qBlue(b)) > 64)
                ++differing;
        }
    EXPECT_LE(double(differing) / (image.width() * image.height()), 0.005) << name.toStdString();
}

// A canvas that fails at its first line, as a drawing that goes wrong.
class TFailingCanvas : public TCanvasLog {
public:
    void LineTo(int, int) override { throw std::runtime_error("no lines here"); }
};

const QString ConfirmPredicted =
    "Are you sure you wish to edit the predicted data values? \r\rThese values will then become the base data for "
    "predicting the rest of the pump performance and the predictions will be reset to use the standard pump affinity "
    "laws.\r\rContinue and edit the predicted data values?";

const QString DrawingFailed = "An error occured while drawing the pump graph.\r\rPlease check the values and units "
                              "are correct.\r\rIn particular, check the impeller diameter value and the diameter units.";

// Tank -> pump pipe -> joint, in water.
class PumpGraph : public ::testing::Test {
public:
    PumpGraph()
    {
        const int tank = test::AddTank(network, "T", 0.0);
        const int joint = test::AddSolverNode(network, "J", Joint, 0.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        network.FluidZones[1].Fluid.density_kgs_m3 = Water;
        MakePump(pump, Water);
    }
    void Open(const std::function<void(TPumpDataForm &)> &user)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            TPumpDataForm &f = TPumpDataForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.isVisible())
                Click(f.BitBtnCancelPump);
        });
        TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, false);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }
    // The chart of a pump drawn on a picture of the small chart's size.
    static QImage Chart(TPumpDataForm &f, TPump &thePump, bool pdf = false, int width = 550, int height = 400)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::black);
        TGraph graph(nullptr, 96, width, height);
        {
            TQtCanvas canvas(&picture);
            graph.GraphCanvas = &canvas;
            f.DrawPumpGraph(graph, pdf, 65, thePump);
        }
        return picture;
    }

    TNetwork network;
    TPumpDatabase database;
    test::TScriptedDialogs dialogs;
    TPump pump;
    bool deleted = false;
    int pumpPipe = 0;
};

TEST(PumpGraphRules, IsoEfficiencyValues)
{
    struct Case {
        double step, emin, emax;
        std::vector<double> values;
    };
    const Case cases[] = {
        {10, 43.2, 78, {40, 50, 60, 70, 75}},     // the extra line at +5
        {10, 43.2, 73, {40, 50, 60, 70}},         // less than 5 left: none
        {5, 43.2, 60, {40, 45, 50, 55, 60}},      // step 5 starts at 40
        {2, 61.5, 68, {60, 62, 64, 66, 68}},      // below 5, on the multiple of 5
        {10, 96, 85, {}},                         // nothing between
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsoEfficiencyValues(c.emin, c.emax, c.step), c.values) << c.step << " " << c.emin;
    // A step read from a file is kept within 1 to 20: never hundreds of lines at one value.
    EXPECT_EQ(IsoEfficiencyStep(0), 1);
    EXPECT_EQ(IsoEfficiencyStep(-5), 1);
    EXPECT_EQ(IsoEfficiencyStep(50), 20);
    EXPECT_EQ(IsoEfficiencyStep(7.5), 7.5);
    EXPECT_LE(IsoEfficiencyValues(0, 1e9, IsoEfficiencyStep(0)).size(), MaxIsoEfficiencyLines);
}

TEST(PumpGraphRules, LayoutTable)
{
    struct Case {
        bool npshr, power;
        TPumpGraphLayout layout;
    };
    const Case cases[] = {{false, false, {10, 95, 0, 0, 0, 0}},
                          {true, false, {26, 92, 10, 20, 0, 0}},
                          {false, true, {26, 92, 0, 0, 10, 20}},
                          {true, true, {43, 92, 26, 36, 10, 20}}};
    for (const Case &c : cases) {
        const TPumpGraphLayout l = PumpGraphLayout(c.npshr, c.power);
        EXPECT_EQ(std::vector<int>({l.HeadFrom, l.HeadTo, l.NPSHrFrom, l.NPSHrTo, l.PowerFrom, l.PowerTo}),
                  std::vector<int>({c.layout.HeadFrom, c.layout.HeadTo, c.layout.NPSHrFrom, c.layout.NPSHrTo,
                                    c.layout.PowerFrom, c.layout.PowerTo}))
            << c.npshr << c.power;
    }
}

TEST(PumpGraphRules, FadingACanvas)
{
    for (int percent : {0, 50, 100}) {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::black);
        {
            TQtCanvas canvas(&picture);
            ConvertCanvasOpacity(canvas, 4, 4, percent, clWhite);
        }
        const int expected = percent * 255 / 100;
        EXPECT_NEAR(qRed(picture.pixel(2, 2)), expected, 2) << percent;
    }
}

TEST_F(PumpGraph, HeadingsStripsAndDecimals)
{
    Open([&](TPumpDataForm &f) {
        struct Case {
            bool npshr, power;
            const char *lowestHeading; // the strip whose X heading is drawn
        };
        for (const Case &c : {Case{true, true, "power"}, Case{true, false, "npshr"}, Case{false, false, "head"}}) {
            TPump p;
            p.CopyPump(pump);
            p.PumpGraphOptions.ShowNPSHr = c.npshr;
            p.PumpGraphOptions.ShowPower = c.power;
            TCanvasLog log;
            TGraph graph(&log, 96, 550, 400);
            f.DrawPumpGraph(graph, false, 65, p);
            std::vector<std::string> flowHeadings;
            for (const std::string &line : log.Calls("TextOut"))
                if (line.find("Flow - m³/hour") != std::string::npos)
                    flowHeadings.push_back(line);
            // One flow heading only, under the lowest chart.
            EXPECT_EQ(flowHeadings.size(), 1u) << c.lowestHeading;
            bool headHeading = false;
            for (const std::string &line : log.Calls("TextOut"))
                headHeading = headHeading || line.find("Head - m.hd Fluid Water (20") != std::string::npos;
            EXPECT_TRUE(headHeading) << c.lowestHeading;
        }
        // Head axis decimals: none from 100 up, one below.
        for (double scale : {1.0, 4.0}) {
            TPump p;
            p.CopyPump(pump);
            p.PumpGraphOptions.ShowEfficiencyLine = false;
            for (int i = 1; i <= p.PumpPoints.PointsCount; ++i)
                p.PumpPoints.Points[i].Head_mHd *= scale;
            p.CopyBaseDataFromRunningData();
            p.calcPumpCurves(Water);
            TCanvasLog log;
            TGraph graph(&log, 96, 550, 400);
            f.DrawPumpGraph(graph, false, 65, p);
            EXPECT_EQ(graph.YDecPlaces, graph.YScaleEndValue < 100 ? 1 : 0);
            EXPECT_EQ(graph.YScaleEndValue >= 100, scale > 1) << graph.YScaleEndValue;
        }
    });
}

TEST_F(PumpGraph, LineWidthsOfTheScreenAndThePdfVariant)
{
    Open([&](TPumpDataForm &f) {
        const TPumpGraphOptions &o = pump.PumpGraphOptions;
        struct Case {
            bool pdf;
            int head, highlight, strip;
        };
        for (const Case &c : {Case{false, 2, 8, 1}, Case{true, 3, 10, 3}}) {
            TPump p;
            p.CopyPump(pump);
            TCanvasLog log;
            TGraph graph(&log, 96, 550, 400);
            f.DrawPumpGraph(graph, c.pdf, 65, p);
            auto drawnWith = [&](TColor colour, int width) {
                const std::string pen = "pen " + TCanvasLog::ColorText(colour) + " " + std::to_string(width) + " ";
                return std::any_of(log.Lines.begin(), log.Lines.end(),
                                   [&](const std::string &line) { return line.find(pen) != std::string::npos; });
            };
            EXPECT_TRUE(drawnWith(o.ColorDesignCurve, c.head)) << c.pdf;
            EXPECT_TRUE(drawnWith(LightenColor(o.ColorDesignCurve), c.head + 1)) << c.pdf;
            EXPECT_TRUE(drawnWith(o.ColorEnvelope, c.head)) << c.pdf;
            EXPECT_TRUE(drawnWith(o.ColorPrefOpRange, c.highlight)) << c.pdf;
            EXPECT_TRUE(drawnWith(o.ColorNpshr, c.strip)) << c.pdf;
            EXPECT_TRUE(drawnWith(o.ColorPower, c.strip)) << c.pdf;
            EXPECT_TRUE(drawnWith(o.ColorMinFlowLine, 3)) << c.pdf;
            EXPECT_EQ(graph.XValueFont.Size, c.pdf ? 18 : 8);
        }
    });
}

TEST_F(PumpGraph, DrawingLeavesThePumpAsItWas)
{
    Open([&](TPumpDataForm &f) {
        TPump p;
        p.CopyPump(pump);
        const auto before = Saved(p);
        Chart(f, p);
        EXPECT_EQ(Saved(p), before);
        // Also when the drawing fails: its one message, the pump untouched.
        TFailingCanvas failing;
        TGraph graph(&failing, 96, 550, 400);
        dialogs.Expect(TDialogKind::Information, DrawingFailed);
        f.DrawPumpGraph(graph, false, 65, p);
        EXPECT_EQ(Saved(p), before);
    });
}

TEST_F(PumpGraph, GoldenCharts)
{
    Open([&](TPumpDataForm &f) {
        TPump p;
        p.CopyPump(pump);
        ExpectMatchesPicture(Chart(f, p), "graph_everything.png");
        ExpectMatchesPicture(Chart(f, p, true, 1100, 800), "graph_pdf.png");
        p.PumpGraphOptions.ShowPower = false;
        ExpectMatchesPicture(Chart(f, p), "graph_npshr_only.png");
        p.PumpGraphOptions.ShowNPSHr = false;
        ExpectMatchesPicture(Chart(f, p), "graph_no_strips.png");

        // A traced sheet calibrated 0-100 m³/h and 0-60 m on a 200 x 150
        // picture, faded by half, and a logo.
        TBitmap sheet(200, 150);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                sheet.SetPixel(x, y, (x / 20 + y / 15) % 2 ? 0x00C0FF : 0xFF8000);
        TImportedPumpSheet &s = p.ImportedPumpSheet;
        s.Imported = s.SaveImportedBitmap = true;
        s.PumpSheetBitmap.Assign(sheet);
        s.PumpSheetOpacity = 50;
        s.xAxisMinImageX = 20, s.xAxisMaxImageX = 180, s.yAxisMinImageY = 130, s.yAxisMaxImageY = 10;
        s.xMin = 0, s.xMax = 100, s.xUnits = unt_m3_hour;
        s.yMin = 0, s.yMax = 60, s.yUnits = unt_m_hd_fluid;
        p.PumpGraphOptions.ShowImportedPumpSheet = true;
        TBitmap logo(60, 20);
        logo.Fill(0x0000FF);
        p.ImportedLogoBitmap.Assign(logo);
        p.ImportedLogoLoaded = true;
        p.PumpGraphOptions.ShowImportedLogo = true;
        const QImage traced = Chart(f, p);
        ExpectMatchesPicture(traced, "graph_traced_logo.png");
        EXPECT_FALSE(f.GroupBoxGraphMessage->isVisible());
        // The logo sits in the top right of the plot.
        const QRgb logoPixel = traced.pixel(400, 54); // the logo is kept as a JPEG: nearly red
        EXPECT_GT(qRed(logoPixel), 240);
        EXPECT_LT(qGreen(logoPixel), 20);
        EXPECT_LT(qBlue(logoPixel), 20);
    });
}

TEST_F(PumpGraph, UncalibratedSheetAndEmptyLogoAreToldOrSkipped)
{
    Open([&](TPumpDataForm &f) {
        TPump p;
        p.CopyPump(pump);
        TImportedPumpSheet &s = p.ImportedPumpSheet;
        s.Imported = s.SaveImportedBitmap = true;
        s.PumpSheetBitmap.Assign(TBitmap(50, 50));
        p.PumpGraphOptions.ShowImportedPumpSheet = true; // axes all 0: no scale
        p.ImportedLogoLoaded = true;                     // and a logo without pixels
        p.PumpGraphOptions.ShowImportedLogo = true;
        f.GroupBoxGraphMessage->hide();
        const QImage chart = Chart(f, p);
        EXPECT_TRUE(f.GroupBoxGraphMessage->isVisible());
        EXPECT_EQ(f.LabelGraphMessage->text(), DialogDisplayText("Cannot size and scale imported image.\r\rCheck x "
                                                                 "and y axis are defined on the imported image."));
        // The rest of the chart is drawn all the same.
        EXPECT_EQ(QColor(chart.pixel(2, 2)), QColor(Qt::white));
    });
}

TEST_F(PumpGraph, IsobarMessageTable)
{
    struct Case {
        double min_m, max_m;
        bool zeroEfficiency;
        QString message; // empty: the box stays hidden
    };
    const QString ratio = "The minimum impeller diameter is over \r40% less than the maximum impeller diameter. \r\rCheck "
                          "if this is correct.";
    const Case cases[] = {
        {0.20, 0.27, false, ""},
        {0.15, 0.27, false,
         "Re: Impeller Diameter \r\rThe data does not meet requirements to draw predicted curve for min diameter "
         "specified.\r\rMin Impeller Diameter specified as 150.000 mm\r\rCan only predict data for impeller diameter "
         "down to 65% of the diameter used to specify the base data.\r\rBase Impeller Diameter is 250.000 mm\r\rMin "
         "predictable diameter is 162.500 mm"},
        {0.26, 0.30, false,
         "Re: Impeller Diameter \r\rMin impeller diameter cannot be greater than impeller diameter used to specify "
         "the base data."},
        {0.25, 0.36, false,
         "Re: Impeller Diameter \r\rThe data does not meet requirements to draw predicted curve for max diameter "
         "specified.\r\rMax Impeller Diameter specified as 360.000 mm\r\rCan only predict data for impeller diameter "
         "up to 140% of the diameter used to specify the base data.\rBase Impeller Diameter is 250.000 mm\r\rMax "
         "predictable diameter is 350.000 mm"},
        {0.20, 0.24, false,
         "Re: Impeller Diameter \r\rMax impeller diameter cannot be smaller than impeller diameter used to specify "
         "the base data."},
        {0.17, 0.30, false, ratio},
        {0.20, 0.27, true,
         "Re: Efficiency Data \r\rEfficiency values for each data point should be specified at between 0% and 100% "
         "to allow efficiency lines to be shown on the graph.\r\r"},
    };
    for (const Case &c : cases) {
        MakePump(pump, Water);
        pump.PumpGraphOptions.ShowEfficiencyLine = false;
        pump.PumpImpellerDiameterMin_m = c.min_m;
        pump.PumpImpellerDiameterMax_m = c.max_m;
        if (c.zeroEfficiency) {
            for (int i = 1; i <= pump.PumpPoints.PointsCount; ++i)
                pump.PumpPoints.Points[i].EfficiencyPercent = 0;
            pump.CopyBaseDataFromRunningData();
        }
        Open([&](TPumpDataForm &f) {
            f.DrawPumpGraphAndCheckData(true);
            EXPECT_EQ(f.GroupBoxGraphMessage->isVisible(), !c.message.isEmpty()) << c.min_m << "-" << c.max_m;
            if (!c.message.isEmpty()) {
                EXPECT_EQ(f.LabelGraphMessage->text().toStdString(), DialogDisplayText(c.message).toStdString());
            }
        });
    }
}

TEST_F(PumpGraph, ChoiceDialog)
{
    TPump predicted;
    MakePump(predicted, Water);
    predicted.ImpellerDiameter_m = 0.23;
    TPumpPopupForm &popup = TPumpPopupForm::Instance();
    struct Case {
        const char *name;
        std::function<void()> user;
        TDialogButton answer;
    };
    const Case cases[] = {
        {"base", [&] { Click(popup.BitBtn1); }, DialogYes},
        {"view", [&] { Click(popup.BitBtn3); }, DialogCancel},
        {"close box", [&] { popup.close(); }, DialogCancel},
        {"predicted, after No then Yes",
         [&] {
             dialogs.Expect(TDialogKind::Confirmation, ConfirmPredicted, DialogNo);
             Click(popup.BitBtn2);
             EXPECT_TRUE(popup.isVisible());
             dialogs.Expect(TDialogKind::Confirmation, ConfirmPredicted, DialogYes);
             Click(popup.BitBtn2);
         },
         DialogNo},
    };
    for (const Case &c : cases) {
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(popup.windowTitle(), "Pump Data ");
            EXPECT_EQ(popup.Label1->text(), "Speed: 1450 rpm");
            EXPECT_EQ(popup.Label2->text(), "Imp. Diam: 250.000 mm");
            EXPECT_EQ(popup.Label4->text(), "Imp. Diam: 230.000 mm");
            c.user();
            if (popup.isVisible())
                popup.reject();
        });
        TDialogButton answer = DialogOk;
        TPumpPopupForm::OpenForm(predicted, answer);
        EXPECT_EQ(answer, c.answer) << c.name;
    }
}

TEST_F(PumpGraph, EndToEndDrawAndTheChoiceOnPredictedData)
{
    TPump empty;
    empty.Clear();
    pump.CopyPump(empty);
    pump.PumpGraphOptions = [] {
        TPump p;
        MakePump(p, Water);
        return p.PumpGraphOptions;
    }();
    Open([&](TPumpDataForm &f) {
        // The units first, on the empty grid; then the points.
        for (auto [list, unit] : {std::pair{f.ComboBoxPumpFlowUnits, "m³/hour"}, std::pair{f.ComboBoxPumpHeadUnits, "m Fluid"}}) {
            const int index = list->findText(QString::fromUtf8(unit));
            list->setCurrentIndex(index);
            emit list->activated(index);
        }
        QApplication::setActiveWindow(&f);
        f.StringGridPumpPoints->setFocus();
        const double rows[][4] = {{0, 50, 0, 1}, {20, 48, 50, 1.5}, {40, 44, 70, 2}, {60, 36, 72, 3}, {80, 24, 60, 4.5}};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c)
                f.SetCell(c, r + 2, QString::number(rows[r][c]));
        // Leaving the grid reads it into the pump's base data.
        f.RightEditPumpSpeed->setFocus();
        EXPECT_EQ(f.EditedPump.BaseDataPumpPoints.PointsCount, 5);
        f.RightEditPumpSpeed->clear();
        QTest::keyClicks(f.RightEditPumpSpeed, "1450");
        f.RightEditImpellerDiameter->clear();
        QTest::keyClicks(f.RightEditImpellerDiameter, "250");
        f.RightEditImpellerDiameterMin->setText("200");
        f.RightEditImpellerDiameterMax->setText("270");
        f.RightEditPumpSpeedMinRpm->setText("1000");
        f.RightEditPumpSpeedMaxRpm->setText("1800");
        Click(f.BitBtnDrawGraph);
        EXPECT_FALSE(f.GroupBoxGraphMessage->isVisible()) << f.LabelGraphMessage->text().toStdString();
        ExpectMatchesPicture(f.ImagePumpCurve->Picture, "graph_editor.png");
        Click(f.BitBtnSavePump);
    });
    ASSERT_EQ(pump.PumpPoints.PointsCount, 5);

    // Loaded running at 230 mm, off its base data of 250 mm.
    bool predictedOk = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.23, Water, predictedOk);
    ASSERT_TRUE(predictedOk);
    ASSERT_FALSE(pump.isRunningOnBaseData());
    Open([&](TPumpDataForm &f) {
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Edit Pump Points");
        EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
        const QString predictedHead = f.Cell(1, 3);
        // View: the grid stays locked on the predicted points.
        QTimer::singleShot(0, [] { Click(TPumpPopupForm::Instance().BitBtn3); });
        Click(f.BitBtnDrawGraph);
        EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
        EXPECT_EQ(f.Cell(1, 3), predictedHead);
        // Edit the base data: the grid unlocked on the base points.
        QTimer::singleShot(0, [] { Click(TPumpPopupForm::Instance().BitBtn1); });
        Click(f.BitBtnDrawGraph);
        EXPECT_TRUE(f.StringGridPumpPoints->isEnabled());
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Draw Graph");
        EXPECT_EQ(f.Cell(1, 3), "48.000");
        EXPECT_NEAR(f.EditedPump.ImpellerDiameter_m, 0.25, 1e-12);
    });

    // Editing the predicted data makes it the new base data.
    Open([&](TPumpDataForm &f) {
        const QString predictedHead = f.Cell(1, 3);
        QTimer::singleShot(0, [&] {
            dialogs.Expect(TDialogKind::Confirmation, ConfirmPredicted, DialogYes);
            Click(TPumpPopupForm::Instance().BitBtn2);
        });
        Click(f.BitBtnDrawGraph);
        EXPECT_TRUE(f.StringGridPumpPoints->isEnabled());
        EXPECT_NEAR(f.EditedPump.BaseDataImpellerDiameter_m, 0.23, 1e-12);
        EXPECT_EQ(f.Cell(1, 3), predictedHead);
    });
}

} // namespace
} // namespace tessaran
