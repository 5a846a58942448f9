// The pump curve image digitiser: its axis arithmetic and fading, the
// calibration and point picking as the user clicks them, saving into the
// pump, reopening, and a curve picture traced end to end into a pump whose
// data sheet names it.

#include "Sample_Pump.h"
#include "pumps/Pump_Sheet_Image_Form.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "docexport/Pdf_Test_Reader.h"
#include "model/Fluid_Class.h"
#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Data_Form.h"
#include "pumps/Pump_Database_Class.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Type(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

void Pick(QComboBox *list, const QString &caption)
{
    const int index = list->findText(caption);
    ASSERT_GE(index, 0) << caption.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void ClickPicture(TPumpSheetImageForm &f, QPoint at) { QTest::mouseClick(f.ImagePumpSheet, Qt::LeftButton, {}, at); }

TEST(PumpSheetCalibration, PixelAndValueConversions)
{
    // X axis from pixel 100 to 900 for 0..200; Y axis from pixel 500 up to 180 for 10..50.
    TPumpSheetCalibration c;
    c.XStart = {100, 520};
    c.XEnd = {900, 520};
    c.YStart = {90, 500};
    c.YEnd = {90, 180};
    c.xMin = 0;
    c.xMax = 200;
    c.yMin = 10;
    c.yMax = 50;
    struct Case {
        int pixel;
        double x, y;
    } cases[] = {{100, 0, 60}, {500, 100, 10}, {900, 200, -40}, {300, 50, 35}, {0, -25, 72.5}};
    for (const Case &k : cases) {
        EXPECT_DOUBLE_EQ(c.XValueOfPixel(k.pixel), k.x) << k.pixel;
        EXPECT_DOUBLE_EQ(c.YValueOfPixel(k.pixel), k.y) << k.pixel;
    }
    // Values back to pixels (4 and -8 pixels a unit), halves to the even pixel.
    EXPECT_EQ(c.PixelXOfValue(100), 500);
    EXPECT_EQ(c.PixelXOfValue(0.625), 102); // 2.5 -> 2
    EXPECT_EQ(c.PixelXOfValue(0.875), 104); // 3.5 -> 4
    EXPECT_EQ(c.PixelYOfValue(30), 340);
    EXPECT_EQ(c.PixelYOfValue(10.0625), 500); // -0.5 -> 0
    EXPECT_EQ(c.PixelYOfValue(10.1875), 498); // -1.5 -> -2

    // Degenerate scales give 0 instead of dividing by zero.
    TPumpSheetCalibration d = c;
    d.XEnd.setX(d.XStart.x());
    d.YEnd.setY(d.YStart.y());
    d.xMax = d.xMin;
    d.yMax = d.yMin;
    EXPECT_EQ(d.XValueOfPixel(300), 0);
    EXPECT_EQ(d.YValueOfPixel(300), 0);
    EXPECT_EQ(d.PixelXOfValue(5), 0);
    EXPECT_EQ(d.PixelYOfValue(5), 0);
}

TEST(PumpSheetCalibration, FadingBlendsTowardsWhite)
{
    QImage picture(4, 1, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(100, 0, 200), qRgb(10, 20, 30)};
    for (int x = 0; x < 4; ++x)
        picture.setPixel(x, 0, colours[x]);
    EXPECT_EQ(FadePumpSheetImage(picture, 0), picture.convertToFormat(QImage::Format_RGB32));
    const QImage white = FadePumpSheetImage(picture, 100);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(white.pixel(x, 0), qRgb(255, 255, 255));
    // 50 % is alpha 127.5, taken as 128: black becomes 128.
    const QImage half = FadePumpSheetImage(picture, 50);
    EXPECT_EQ(half.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(half.pixel(2, 0), qRgb(178, 128, 228));
}

// A picture of a pump curve sheet: axes from (80, 500) right to (880, 500)
// for 0..100 m³/h and up to (80, 60) for 0..60 m, and the curve
// H = 50 - 0.004 Q² drawn on it.
constexpr int OriginX = 80, OriginY = 500, XEndX = 880, YEndY = 60;
double CurveHead(double Q) { return 50 - 0.004 * Q * Q; }
QPoint CurvePixel(double Q)
{
    return {OriginX + static_cast<int>(std::lround(Q * 8)),
            OriginY - static_cast<int>(std::lround(CurveHead(Q) * (OriginY - YEndY) / 60.0))};
}

QString WriteCurvePicture(const QString &folder, const char *format)
{
    QImage sheet(PumpSheetImageWidth, PumpSheetImageHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(OriginX, OriginY, XEndX, OriginY);
    painter.drawLine(OriginX, OriginY, OriginX, YEndY);
    painter.setPen(QPen(Qt::blue, 3));
    QPoint last = CurvePixel(0);
    for (int Q = 1; Q <= 100; ++Q) {
        painter.drawLine(last, CurvePixel(Q));
        last = CurvePixel(Q);
    }
    painter.end();
    const QString path = folder + "/curve." + QString::fromLatin1(format);
    EXPECT_TRUE(sheet.save(path, format));
    return path;
}

class PumpSheetImageForm : public ::testing::Test {
protected:
    PumpSheetImageForm()
    {
        TPumpSheetImageForm::GlideStepMilliseconds = 0;
        fluid.SetToWater();
        test::MakeSamplePump(pump, 1450, fluid.density_kgs_m3);
        pump.ImportedPumpSheet = TImportedPumpSheet{};
    }

    // Opens the digitiser on the pump; the user acts while it is up and it is
    // cancelled if still open.
    void Open(const std::function<void(TPumpSheetImageForm &)> &user)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            TPumpSheetImageForm &f = TPumpSheetImageForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.isVisible())
                Click(f.ButtonCancel);
        });
        TPumpSheetImageForm::OpenForm(pump, fluid);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }

    // Imports the picture and calibrates 0..100 m³/h by 0..60 m on it.
    void ImportAndCalibrate(TPumpSheetImageForm &f, const QString &picture, const QString &flowUnit = "m³/hour")
    {
        dialogs.FileNames.push_back(picture);
        Click(f.ButtonImportImage);
        Type(f.RightEditXMax, "100");
        Pick(f.ComboBoxXUnits, flowUnit);
        Click(f.ButtonSelectXAxis);
        ClickPicture(f, {OriginX, OriginY});
        ClickPicture(f, {XEndX, OriginY});
        Type(f.RightEditYMin, "0");
        Type(f.RightEditYMax, "60");
        Pick(f.ComboBoxYUnits, "m Fluid");
        Click(f.ButtonSelectYAxis);
        ClickPicture(f, {OriginX, OriginY});
        ClickPicture(f, {OriginX, YEndY});
    }

    // Clicks a point of the curve and enters its efficiency and NPSHr.
    void AddPoint(TPumpSheetImageForm &f, double Q, const QString &effic, const QString &npshr)
    {
        ClickPicture(f, CurvePixel(Q));
        if (f.PanelAdditionalData->isHidden())
            return;
        Type(f.RightEditEffic, effic);
        Type(f.RightEditNPSHr, npshr);
        Click(f.ButtonSaveAndClose);
    }

    QTemporaryDir folder;
    test::TScriptedDialogs dialogs;
    TFluid fluid;
    TPump pump;
};

const QString FirstPointNote =
    "FIRST POINT NOTE:\r\rClick on point for ZERO FLOW first.\r\rThen click additional points on the pump curve.";
const QString Outside = "Point is outside of defined X and Y Axis range and cannot be included.\r";

TEST_F(PumpSheetImageForm, CalibrationOrientationAndPointLimits)
{
    const QString picture = WriteCurvePicture(folder.path(), "bmp");
    Open([&](TPumpSheetImageForm &f) {
        // A new sheet starts at step 1 with only the import enabled.
        EXPECT_TRUE(f.ButtonImportImage->isEnabled());
        EXPECT_FALSE(f.ButtonSelectXAxis->isEnabled());
        EXPECT_FALSE(f.ButtonSaveData->isEnabled());
        EXPECT_FALSE(f.RightEditXMin->isEnabled());

        dialogs.FileNames.push_back(picture);
        Click(f.ButtonImportImage);
        EXPECT_TRUE(f.ButtonSelectXAxis->isEnabled());
        EXPECT_FALSE(f.ButtonSelectYAxis->isEnabled());
        // The picture is shown faded by 25 %: its black axis as 64.
        int darkest = 255;
        for (int y = OriginY - 1; y <= OriginY + 1; ++y)
            darkest = std::min(darkest, qRed(f.ImagePumpSheet->Picture.pixel(400, y)));
        EXPECT_EQ(darkest, 64);

        // The X axis needs its scale and unit first.
        dialogs.Expect(TDialogKind::Information, "Please specify X axis minimum and maximum scale values.\r");
        Click(f.ButtonSelectXAxis);
        Type(f.RightEditXMax, "100");
        dialogs.Expect(TDialogKind::Information,
                       "Please select the units for the X axis scale from the drop down list.\r");
        Click(f.ButtonSelectXAxis);
        Pick(f.ComboBoxXUnits, "m³/hour");

        // Steeper than 45 degrees is not an X axis; exactly 45 passes.
        Click(f.ButtonSelectXAxis);
        ClickPicture(f, {100, 500});
        dialogs.Expect(TDialogKind::Information, "X Axis should be drawn horizontally.\r");
        ClickPicture(f, {200, 380});
        EXPECT_EQ(f.PickingMode, TPumpSheetImageForm::PickXStart);
        EXPECT_EQ(f.Calibration.XStart, QPoint());
        ClickPicture(f, {100, 500});
        ClickPicture(f, {400, 200});
        EXPECT_EQ(f.PickingMode, TPumpSheetImageForm::PickNone);
        EXPECT_EQ(f.Calibration.XEnd, QPoint(400, 200));
        EXPECT_TRUE(f.ButtonSelectYAxis->isEnabled());

        // The same 45 degrees also passes as a Y axis; flatter does not.
        Type(f.RightEditYMax, "60");
        Pick(f.ComboBoxYUnits, "m Fluid");
        Click(f.ButtonSelectYAxis);
        ClickPicture(f, {100, 500});
        dialogs.Expect(TDialogKind::Information, "Y Axis should be drawn vertically.\r");
        ClickPicture(f, {400, 400});
        EXPECT_EQ(f.PickingMode, TPumpSheetImageForm::PickYStart);
        ClickPicture(f, {100, 500});
        ClickPicture(f, {400, 200});
        EXPECT_EQ(f.PickingMode, TPumpSheetImageForm::PickNone);
        EXPECT_TRUE(f.ButtonSelectPoints->isEnabled());

        // Calibrated properly, the points: the first one goes to zero flow.
        ImportAndCalibrate(f, picture);
        dialogs.Expect(TDialogKind::Information, FirstPointNote);
        Click(f.ButtonSelectPoints);
        ClickPicture(f, {OriginX + 3, CurvePixel(0).y()});
        ASSERT_EQ(f.PointsCount, 1);
        EXPECT_EQ(f.Points[1].x(), OriginX);
        EXPECT_TRUE(f.PanelAdditionalData->isHidden());
        // Below the X axis and beyond its end add nothing.
        dialogs.Expect(TDialogKind::Information, Outside);
        ClickPicture(f, {300, OriginY + 20});
        dialogs.Expect(TDialogKind::Information, Outside);
        ClickPicture(f, {XEndX + 20, 300});
        EXPECT_EQ(f.PointsCount, 1);

        // A zero efficiency keeps the panel open.
        ClickPicture(f, CurvePixel(10));
        ASSERT_FALSE(f.PanelAdditionalData->isHidden());
        dialogs.Expect(TDialogKind::Information, "Please specify a non-zero efficiency value.\r");
        Click(f.ButtonSaveAndClose);
        EXPECT_FALSE(f.PanelAdditionalData->isHidden());
        Type(f.RightEditEffic, "30");
        Type(f.RightEditNPSHr, "2");
        Click(f.ButtonSaveAndClose);
        EXPECT_TRUE(f.PanelAdditionalData->isHidden());
        // A falling NPSHr from the third point on is questioned; Yes takes
        // the previous point's value.
        ClickPicture(f, CurvePixel(20));
        Type(f.RightEditEffic, "45");
        Type(f.RightEditNPSHr, "1");
        dialogs.Expect(TDialogKind::Confirmation,
                       "NPSHr should be equal or greater than NPSHr of previous point.\r\rSet NPSHr to same as "
                       "specified for previous point?",
                       DialogYes);
        Click(f.ButtonSaveAndClose);
        EXPECT_DOUBLE_EQ(f.NPSHr_mHd[3], 2.0);
        Click(f.ButtonSaveAndClose);
        EXPECT_TRUE(f.PanelAdditionalData->isHidden());

        // Ten points at most: the 11th click adds nothing.
        for (int Q = 30; Q <= 100 && f.PointsCount < 10; Q += 10)
            AddPoint(f, Q, "50", "3");
        ASSERT_EQ(f.PointsCount, 10);
        ClickPicture(f, CurvePixel(95));
        EXPECT_EQ(f.PointsCount, 10);
        EXPECT_TRUE(f.PanelAdditionalData->isHidden());
        // The grid lists the flows; a delete button takes its row out.
        EXPECT_EQ(f.StringGridPoints->item(2, 0)->text(), "10.000");
        Click(f.ButtonDelete[2]);
        EXPECT_EQ(f.PointsCount, 9);
        EXPECT_EQ(f.StringGridPoints->item(2, 0)->text(), "20.000");
        EXPECT_DOUBLE_EQ(f.Effic[2], 45);
    });
    // Cancelled: the pump is as it was.
    EXPECT_FALSE(pump.ImportedPumpSheet.Imported);
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);
}

TEST_F(PumpSheetImageForm, ImportFailuresAndAxesThatNoLongerHoldThePoints)
{
    const QString picture = WriteCurvePicture(folder.path(), "bmp");
    const QString notAPicture = folder.path() + "/notes.jpg";
    {
        QFile file(notAPicture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("no picture here");
    }
    Open([&](TPumpSheetImageForm &f) {
        dialogs.FileNames.push_back(std::nullopt); // cancelled: nothing happens
        Click(f.ButtonImportImage);
        dialogs.FileNames.push_back(folder.path() + "/missing.bmp");
        dialogs.Expect(TDialogKind::Information, "Image File not found.\r");
        Click(f.ButtonImportImage);
        dialogs.FileNames.push_back(notAPicture);
        dialogs.Expect(TDialogKind::Information, "Image File cannot be loaded: Error occured.\r");
        Click(f.ButtonImportImage);
        EXPECT_FALSE(f.ButtonSelectXAxis->isEnabled());

        ImportAndCalibrate(f, picture);
        dialogs.Expect(TDialogKind::Information, FirstPointNote);
        Click(f.ButtonSelectPoints);
        AddPoint(f, 0, "", "");
        AddPoint(f, 60, "70", "2");
        AddPoint(f, 90, "60", "3");
        ASSERT_EQ(f.PointsCount, 3);

        // An X axis recalibrated short of the points sends the user back to it.
        Click(f.ButtonSelectXAxis);
        ClickPicture(f, {OriginX, OriginY});
        dialogs.Expect(TDialogKind::Information,
                       "Not all X point values fall within the X Axis scale.\r\rPlease either clear the data points "
                       "before defining the X Axis scale \r\rOr define the X Axis scale to contain all of the "
                       "current points.\r");
        ClickPicture(f, {500, OriginY});
        EXPECT_EQ(f.Calibration.XStart, QPoint());
        EXPECT_EQ(f.Calibration.XEnd, QPoint());
        EXPECT_EQ(f.PickingMode, TPumpSheetImageForm::PickNone);
        EXPECT_FALSE(f.StepReached[4]);
        EXPECT_TRUE(f.ButtonSelectXAxis->isEnabled());

        // A new picture over existing points: Yes clears them and the calibration.
        dialogs.FileNames.push_back(picture);
        dialogs.Expect(TDialogKind::Confirmation, "Would you like to clear all existing data points (recommended)?\r\r",
                       DialogYes);
        Click(f.ButtonImportImage);
        EXPECT_EQ(f.PointsCount, 0);
        EXPECT_EQ(f.Calibration.xMax, 0);
        EXPECT_EQ(f.ComboBoxXUnits->currentIndex(), -1);
        EXPECT_TRUE(f.CheckBoxSaveImage->isChecked());
        EXPECT_TRUE(f.ButtonSelectXAxis->isEnabled());
        EXPECT_FALSE(f.ButtonSelectYAxis->isEnabled());
    });
}

TEST_F(PumpSheetImageForm, SavingRefusalsWriteNothing)
{
    const QString picture = WriteCurvePicture(folder.path(), "bmp");
    const TPumpPoints before = pump.PumpPoints;
    Open([&](TPumpSheetImageForm &f) {
        ImportAndCalibrate(f, picture, "kg/hour");
        dialogs.Expect(TDialogKind::Information, FirstPointNote);
        Click(f.ButtonSelectPoints);
        AddPoint(f, 0, "", "");
        AddPoint(f, 40, "60", "2");

        dialogs.Expect(TDialogKind::Information,
                       "A valid Pump Speed for these points must be entered before the data can be saved.\r");
        Click(f.ButtonSaveData);
        Type(f.RightEditSpeed, "1450");
        dialogs.Expect(TDialogKind::Information, "A valid Pump Impeller Diameter for these points must be entered "
                                                 "before the data can be saved.\r");
        Click(f.ButtonSaveData);
        Pick(f.ComboBoxDiameterUnits, "mm");
        Type(f.RightEditDiameter, "250");
        // Two points make no curve.
        dialogs.Expect(TDialogKind::Information,
                       "At least 3 points on the pump curve must be selected before the data can be saved.\r");
        Click(f.ButtonSaveData);
        AddPoint(f, 80, "55", "4");
        // Mass flow: answered No, the dialog stays and nothing is written.
        dialogs.Expect(TDialogKind::Confirmation,
                       "The pump's flow rate is defined in units of mass flow.\r\rFluid in the pipe for current pump "
                       "has a density of \r" +
                           QString::fromStdString(formatFixed(unitDecimals(unt_kg_m3), fluid.density_kgs_m3)) + " " +
                           QString::fromStdString(unitName(unt_kg_m3)) +
                           "\r\rThis density will be used to convert the mass flow to a volumetric flow that is used "
                           "as the base data that defines the pump performance.\r\rPlease check that the mass flow "
                           "entered for your pump performance is indeed correct for the current fluid used with "
                           "this pump.\r\rDo you wish to save the pump now?",
                       DialogNo);
        Click(f.ButtonSaveData);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.Saved);
        EXPECT_EQ(f.WorkingPump.PumpPoints, before);
        EXPECT_FALSE(f.WorkingPump.ImportedPumpSheet.Imported);
    });
    EXPECT_EQ(pump.PumpPoints, before);
    EXPECT_FALSE(pump.ImportedPumpSheet.Imported);
}

TEST_F(PumpSheetImageForm, NPSHrRecordedInWaterIsReadAsFluidHead)
{
    // A pump whose NPSHr is stored in metres of water, for a fluid of 800 kg/m³.
    fluid.density_kgs_m3 = 800;
    pump.PumpPoints.SetNPSHr_Stored_mH2O = true;
    TImportedPumpSheet &s = pump.ImportedPumpSheet;
    s.Imported = true;
    s.SaveImportedBitmap = false;
    s.xAxisMinImageX = OriginX, s.xAxisMinImageY = OriginY, s.xAxisMaxImageX = XEndX, s.xAxisMaxImageY = OriginY;
    s.yAxisMinImageX = OriginX, s.yAxisMinImageY = OriginY, s.yAxisMaxImageX = OriginX, s.yAxisMaxImageY = YEndY;
    s.xMax = 100, s.yMax = 60, s.xUnits = unt_m3_hour, s.yUnits = unt_m_hd_fluid;
    s.PumpSpeed_rpm = 1450, s.PumpImpellerDiameter_m = 0.25;
    s.pointsCount = 3;
    for (int i = 1; i <= 3; ++i) {
        s.Points[i] = TPumpSheetPixel{CurvePixel((i - 1) * 40).x(), CurvePixel((i - 1) * 40).y()};
        s.NPSHrPoints_mHd[i] = 2.0 * i;
        s.EfficPoints[i] = 20.0 * i;
    }
    Open([&](TPumpSheetImageForm &f) {
        ASSERT_EQ(f.PointsCount, 3);
        for (int i = 1; i <= 3; ++i)
            EXPECT_NEAR(f.NPSHr_mHd[static_cast<std::size_t>(i)], 2.0 * i * 1000 / 800, 1e-9) << i;
        // The grid shows them in the axis unit, metres of fluid.
        Pick(f.ComboBoxDataType, "NPSHr");
        EXPECT_EQ(f.StringGridPoints->item(2, 1)->text(), "5.00");
        // A new head unit, the values meant in it: the numbers stay, read in feet.
        dialogs.Expect(TDialogKind::Confirmation,
                       "Existing NPSHr values were entered in m.hd Fluid\r\rIf the actual NPSHr values entered should "
                       "have \rrelated to ft.hd Fluid then the software can\rchange the units associated with the "
                       "values.\r\rWere the entered values meant to be associated with ft.hd Fluid?\r",
                       DialogYes);
        Pick(f.ComboBoxYUnits, "ft Fluid");
        EXPECT_NEAR(f.NPSHr_mHd[2], 5.0 * 0.3048, 1e-9);
        EXPECT_EQ(f.StringGridPoints->item(2, 1)->text(), "5.00");
    });
}

// The editor opened on a pipe: its import command opens the digitiser, and
// its sheet command writes the traced pump's data sheet.
TEST_F(PumpSheetImageForm, TracedCurveBecomesThePumpAndItsDataSheet)
{
    if (!pdftest::HasTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils are not installed";
    const QString picture = WriteCurvePicture(folder.path(), "jpg");
    TNetwork network;
    const int tank = test::AddTank(network, "T", 2.0);
    const int joint = test::AddSolverNode(network, "J", Joint, 3.0);
    const int pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
    network.GetPipe(pumpPipe).PumpCount = 1;
    TPumpDatabase database;
    bool deleted = false;
    TPumpDataForm::PumpSheetFolder = [&] { return folder.path().toStdString() + "/"; };
    pump.Name = "Traced";
    const double Qs[] = {0, 25, 50, 75, 100};
    const char *effic[] = {"", "50", "70", "72", "60"};
    const char *npshr[] = {"", "1.5", "2", "3", "4.5"};

    bool digitised = false;
    QTimer::singleShot(0, [&] {
        TPumpDataForm &editor = TPumpDataForm::Instance();
        ASSERT_TRUE(editor.isVisible());
        QTimer::singleShot(0, [&] {
            TPumpSheetImageForm &f = TPumpSheetImageForm::Instance();
            ASSERT_TRUE(f.isVisible());
            ImportAndCalibrate(f, picture);
            dialogs.Expect(TDialogKind::Information, FirstPointNote);
            Click(f.ButtonSelectPoints);
            for (int i = 0; i < 5; ++i)
                AddPoint(f, Qs[i], effic[i], npshr[i]);
            Type(f.RightEditSpeed, "2900");
            Pick(f.ComboBoxDiameterUnits, "mm");
            Type(f.RightEditDiameter, "200");
            dialogs.Expect(TDialogKind::Confirmation,
                           "Previous pump details may exist for:\r\rCatalogue, Manufacturer, Type, Rpm, Size, Stages, "
                           "\rMin Speed, Max Speed, Min Diam, Max Diam, \rAND graph adjustments may have been "
                           "customised.\r\rNormally you will want to clear previous details.\r\rClear Previous "
                           "Details & set to Standard Affinity Laws?\r",
                           DialogNo);
            Click(f.ButtonSaveData);
            digitised = true;
        });
        Click(editor.BitBtnImportCurveImage);
        ASSERT_TRUE(digitised);
        const TPump &p = editor.EditedPump;
        ASSERT_EQ(p.PumpPoints.PointsCount, 5);
        EXPECT_EQ(p.Speed_rpm, 2900);
        EXPECT_NEAR(p.ImpellerDiameter_m, 0.2, 1e-12);
        EXPECT_EQ(p.BaseDataSpeed_rpm, 2900);
        EXPECT_TRUE(p.PumpGraphOptions.ShowImportedPumpSheet);
        for (int i = 1; i <= 5; ++i) {
            const TPumpPoint &point = p.PumpPoints.Points[i];
            const double Q = Qs[i - 1];
            // One pixel is 1/8 m³/h of flow and 60/440 m of head.
            EXPECT_NEAR(point.Flow_m3s * 3600, Q, 1.0 / 8) << i;
            EXPECT_NEAR(point.Head_mHd, CurveHead(Q), 60.0 / 440) << i;
            EXPECT_DOUBLE_EQ(point.EfficiencyPercent, i == 1 ? 0 : std::stod(effic[i - 1])) << i;
        }
        // The record keeps the picture and its calibration.
        EXPECT_TRUE(p.ImportedPumpSheet.Imported);
        EXPECT_EQ(p.ImportedPumpSheet.pointsCount, 5);
        EXPECT_EQ(p.ImportedPumpSheet.PumpSheetBitmap.Width(), PumpSheetImageWidth);

        Click(editor.BitBtnCreatePumpSheet);
        ASSERT_EQ(dialogs.Opened.size(), 1u);
        std::string text;
        pdftest::RunCommand("pdftotext -layout '" + dialogs.Opened[0].toStdString() + "' -", &text);
        EXPECT_NE(text.find("Traced"), std::string::npos) << text;
        EXPECT_NE(text.find("2900 Rpm"), std::string::npos) << text;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, std::regex(R"(BEP:\s+([0-9.]+)% @ ([0-9.]+))"))) << text;
        EXPECT_NEAR(std::stod(m[1].str()), p.GetPercentAtBEP(), 0.05);
        EXPECT_GT(std::stod(m[1].str()), 70);
        if (editor.isVisible())
            Click(editor.BitBtnCancelPump);
    });
    TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, false);
    QApplication::processEvents();
    EXPECT_TRUE(digitised);
    TPumpDataForm::PumpSheetFolder = nullptr;
}

TEST_F(PumpSheetImageForm, ReopeningRestoresTheSheetAndNotesChangedBaseData)
{
    const QString picture = WriteCurvePicture(folder.path(), "jpg");
    Open([&](TPumpSheetImageForm &f) {
        ImportAndCalibrate(f, picture);
        dialogs.Expect(TDialogKind::Information, FirstPointNote);
        Click(f.ButtonSelectPoints);
        AddPoint(f, 0, "", "");
        AddPoint(f, 50, "70", "2");
        AddPoint(f, 100, "60", "4");
        Type(f.RightEditSpeed, "1450");
        Pick(f.ComboBoxDiameterUnits, "mm");
        Type(f.RightEditDiameter, "250");
        dialogs.Expect(TDialogKind::Confirmation,
                       "Previous pump details may exist for:\r\rCatalogue, Manufacturer, "
                       "Type, Rpm, Size, Stages, \rMin Speed, Max Speed, Min Diam, Max "
                       "Diam, \rAND graph adjustments may have been customised.\r\rNormally "
                       "you will want to clear previous details.\r\rClear Previous "
                       "Details & set to Standard Affinity Laws?\r",
                       DialogYes);
        dialogs.Expect(TDialogKind::Information,
                       "Previous pump details have been cleared.\r\rWhen you return to the main Pump Screen, you will "
                       "need to:\r\r1. Enter Min & Max Speed\r2. Enter Min & Max Impeller size.\r3. Click on 'Draw "
                       "Graph' button.\r");
        Click(f.ButtonSaveData);
    });
    ASSERT_TRUE(pump.ImportedPumpSheet.Imported);
    ASSERT_EQ(pump.PumpPoints.PointsCount, 3);
    // The base speed changes afterwards in the editor.
    pump.BaseDataSpeed_rpm = 2900;
    Open([&](TPumpSheetImageForm &f) {
        EXPECT_EQ(f.PointsCount, 3);
        EXPECT_EQ(f.Calibration.XEnd, QPoint(XEndX, OriginY));
        EXPECT_EQ(f.Calibration.YEnd, QPoint(OriginX, YEndY));
        EXPECT_DOUBLE_EQ(f.Effic[2], 70);
        EXPECT_EQ(f.RightEditSpeed->text(), "1450");
        EXPECT_EQ(f.ComboBoxXUnits->currentText(), "m³/hour");
        EXPECT_EQ(f.ComboBoxYUnits->currentText(), "m Fluid");
        EXPECT_TRUE(f.ButtonSaveData->isEnabled());
        // The picture is back: the curve's blue, faded, under the overlay.
        const QRgb curve = f.UnfadedImage.pixel(CurvePixel(50));
        EXPECT_GT(qBlue(curve), qRed(curve) + 80);
        ASSERT_FALSE(f.PanelNote->isHidden());
        EXPECT_TRUE(f.LabelNote->text().contains("Pump Speed: 2900 rpm"));
        EXPECT_TRUE(f.LabelNote->text().contains("Pump Speed: 1450 rpm"));
        Click(f.ButtonNoteOk);
        EXPECT_TRUE(f.PanelNote->isHidden());

        // Saved again without the picture: the record keeps the calibration
        // and the points on a white picture.
        f.CheckBoxSaveImage->setChecked(false);
        dialogs.Expect(TDialogKind::Confirmation,
                       "Previous pump details may exist for:\r\rCatalogue, Manufacturer, "
                       "Type, Rpm, Size, Stages, \rMin Speed, Max Speed, Min Diam, Max "
                       "Diam, \rAND graph adjustments may have been customised.\r\rNormally "
                       "you will want to clear previous details.\r\rClear Previous "
                       "Details & set to Standard Affinity Laws?\r",
                       DialogNo);
        Click(f.ButtonSaveData);
    });
    const TImportedPumpSheet &s = pump.ImportedPumpSheet;
    EXPECT_FALSE(s.SaveImportedBitmap);
    EXPECT_EQ(s.pointsCount, 3);
    EXPECT_EQ(s.xAxisMaxImageX, XEndX);
    EXPECT_EQ(s.xMax, 100);
    EXPECT_EQ(pump.Speed_rpm, 1450);
    const QImage kept = ToQImage(s.PumpSheetBitmap.Bitmap());
    ASSERT_EQ(kept.width(), PumpSheetImageWidth);
    EXPECT_GT(qBlue(kept.pixel(CurvePixel(50))), 240);
    EXPECT_GT(qRed(kept.pixel(CurvePixel(50))), 240);
}

} // namespace
} // namespace tessaran
