// The PDF pump data sheet: its page arithmetic, the standalone sheet and a
// report's page read back by qpdf, pdfinfo and pdftotext, and its refusals.

#include "Sample_Pump.h"
#include "pumps/Pump_Data_Form.h"
#include "pumps/Pump_Pdf_Sheet.h"

#include <cmath>
#include <regex>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "docexport/Pdf_Ex_Engine.h"
#include "docexport/Pdf_Test_Reader.h"
#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Metafile.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

using pdftest::HasTool;
using pdftest::RunCommand;

std::string Tool(const std::string &command)
{
    std::string out;
    RunCommand(command, &out);
    return out;
}

// The number after a label on the page's text, -1 when the label is missing.
double NumberAfter(const std::string &text, const std::string &label)
{
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(label + R"(\s+(-?[0-9]+\.?[0-9]*))")))
        return -1;
    return std::stod(m[1].str());
}

TEST(PumpSheetPage, PageSizesAndShrinking)
{
    struct Case {
        int w, h, orientation;
        double expectW, expectH;
    } cases[] = {
        {1280, 1280, 1, 11.667, 16.5}, // the sheet's own page
        {1280, 1280, 2, 16.5, 11.667}, {1280, 1280, 0, 16.5, 11.667},
        {960, 2880, 0, 11.667, 16.5},                           // taller than the ISO side: widened
        {2880, 960, 1, 11.667, 16.5},  {0, 0, 1, 11.667, 16.5}, // an empty picture does not divide by 0
    };
    for (const Case &c : cases) {
        TMetafile m;
        m.Width = c.w;
        m.Height = c.h;
        double W = 0, H = 0;
        PdfPageSizeFromMetafile(m, 96, 96, c.orientation, W, H);
        EXPECT_NEAR(W, c.expectW, 0.001) << c.w << "x" << c.h << " o" << c.orientation;
        EXPECT_NEAR(H, c.expectH, 0.001) << c.w << "x" << c.h << " o" << c.orientation;
    }
    // The sheet's graph: 1280 pixels shrunk in 1 % steps into 10.867 inches.
    double W = 1280, H = 1280;
    ShrinkPageToFit(W, H, 11.667 - 0.8, 16.5 - 1.0 - 0.5);
    EXPECT_NEAR(W, 1280 * std::pow(0.99, 475), 1e-9);
    EXPECT_NEAR(H, W, 1e-12);
    // Bounds that can never be met leave the size alone instead of looping.
    double A = 5, B = 5;
    ShrinkPageToFit(A, B, 0, -1);
    EXPECT_EQ(A, 5);
}

// Tank -> pump pipe -> joint -> outlet, the pump pipe carrying the sample pump.
class PumpPdfSheet : public ::testing::Test {
protected:
    PumpPdfSheet()
    {
        const int tank = test::AddTank(network, "T", 2.0);
        const int joint = test::AddSolverNode(network, "J", Joint, 3.0);
        const int outlet = test::AddSolverNode(network, "E", EndPressure, 5.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        test::AddSolverPipe(network, joint, outlet, 200, 0.1, "Out");
        TPipe &pipe = network.GetPipe(pumpPipe);
        pipe.PumpCount = 1;
        pipe.PumpUseInCalc = true;
        test::MakeSamplePump(pipe.Pump, 1450, density());
        pipe.Pump.PumpCatalog = "Catalogue 7";
        pipe.Pump.PumpSpeedMinRpm = 0;
        pipe.Pump.PumpImpellerDiameterMax_m = 0.26;
        pipe.Pump.PreferredOpRegionFromPercent = 70;
        pipe.Pump.PreferredOpRegionToPercent = 120;
        pipe.Pump.Notes = {"Mechanical seal", "", "Check the suction strainer weekly"};
        pipe.Pump.calcPumpCurves(density());
        TPumpDataForm::PumpSheetFolder = [this] { return folder.path().toStdString() + "/"; };
        TPumpDataForm::PumpSheetAddresses = {"www.example.org", "help@example.org", "viewer.example.org"};
    }
    ~PumpPdfSheet() override { TPumpDataForm::PumpSheetFolder = nullptr; }

    double density() const { return network.FluidZones[1].Fluid.density_kgs_m3; }
    TPump &Pump() { return network.GetPipe(pumpPipe).Pump; }
    std::string SheetPath() const { return folder.path().toStdString() + "/Pump_Graph.pdf"; }

    QTemporaryDir folder;
    test::TScriptedDialogs dialogs;
    TNetwork network;
    int pumpPipe = 0;
};

TEST_F(PumpPdfSheet, StandaloneSheetIsOnePortraitPageReadBackByOtherTools)
{
    if (!HasTool("pdftotext") || !HasTool("pdfinfo") || !HasTool("qpdf"))
        GTEST_SKIP() << "poppler-utils or qpdf are not installed";
    TPumpDataForm form;
    form.EditedPump.CopyPump(Pump());
    form.EditedPump.calcPumpCurves(density());
    form.SavedPump.CopyPump(Pump());
    form.SavedPump.Name = "as opened";
    const TUnit flowUnit = form.EditedPump.PumpPoints.FlowDisplayUnit;

    form.CreatePDFPumpSheet(network, pumpPipe, form.EditedPump, *form.dePDFEngine1, true, false);

    ASSERT_EQ(dialogs.Opened.size(), 1u);
    EXPECT_EQ(dialogs.Opened[0].toStdString(), SheetPath());
    EXPECT_EQ(RunCommand("qpdf --check '" + SheetPath() + "' >/dev/null"), 0);
    const std::string info = Tool("pdfinfo '" + SheetPath() + "'");
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    // 16.5 inches high and 16.5 x 0.70710678 wide.
    EXPECT_NEAR(NumberAfter(info, "Page size:"), 840, 0.05) << info;
    EXPECT_NE(info.find(" x 1188 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Created using Tessaran"), std::string::npos) << info;

    const std::string text = Tool("pdftotext -layout '" + SheetPath() + "' -");
    for (const char *expected :
         {"Pump Data", "Fluid Data", "Design Curve", "Operating Notes", "Data Point (BEP)", "Name:", "P-1",
          "Catalogue 7", "1450 Rpm", "Min Speed:", "Not Specified", "Shutoff Head:", "Notes:", "Mechanical seal",
          "suction strainer", "PUMP DATA SHEET generated using Tessaran software", "www.example.org",
          "70% - 120% of BEP"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // The values of the sample pump: a 50 m shut-off head, the best
    // efficiency of its curve and the impeller diameters in mm.
    EXPECT_NEAR(NumberAfter(text, "Shutoff Head:"), form.EditedPump.PumpCurve_Qkgs_mHd.CalculateY(0), 0.01);
    EXPECT_NEAR(NumberAfter(text, "Shutoff Head:"), 50, 1.0);
    EXPECT_NEAR(NumberAfter(text, "BEP:"), form.EditedPump.GetPercentAtBEP(), 0.05);
    EXPECT_NEAR(NumberAfter(text, "Impeller Diam:"), 250, 1e-9);
    EXPECT_NEAR(NumberAfter(text, "Max Diam:"), 260, 1e-9);
    // The data point is the BEP: its efficiency is the BEP's.
    EXPECT_NEAR(NumberAfter(text, "Efficiency:"), form.EditedPump.GetPercentAtBEP(), 0.01);

    // A standalone sheet leaves the copy that "Cancel" restores alone, and
    // the pump's display units as they were.
    EXPECT_EQ(form.SavedPump.Name, "as opened");
    EXPECT_EQ(form.EditedPump.PumpPoints.FlowDisplayUnit, flowUnit);

    // A read-out flow of 20 m³/h makes that the data point; the second sheet
    // overwrites the first.
    form.RightEditFlow->setText("20");
    form.CreatePDFPumpSheet(network, pumpPipe, form.EditedPump, *form.dePDFEngine1, true, false);
    const std::string second = Tool("pdftotext -layout '" + SheetPath() + "' -");
    EXPECT_EQ(second.find("Data Point (BEP)"), std::string::npos);
    EXPECT_NE(second.find("Data Point"), std::string::npos);
    EXPECT_NEAR(NumberAfter(second, "Flow:"), 20, 1e-9);
    EXPECT_NEAR(NumberAfter(second, "Efficiency:"), form.EditedPump.calcPumpEfficiency(20 / 3600.0, density()), 0.01);
}

TEST_F(PumpPdfSheet, RefusalsAndFailuresWriteNoFileOrSayWhere)
{
    TPumpDataForm form;
    form.EditedPump.CopyPump(Pump());
    form.EditedPump.calcPumpCurves(density());

    // A set-flow pump has no sheet.
    form.EditedPump.PumpType = PumpFixedFlow;
    dialogs.Expect(TDialogKind::Confirmation,
                   "The pump type must be switched to 'Set Speed' before a Pump Data Sheet can be created.\r\ri.e. "
                   "You cannot create a pump data sheet when the pump type is 'Set Flow Rate' or 'Set Head "
                   "Increase'.\r\r");
    form.CreatePDFPumpSheet(network, pumpPipe, form.EditedPump, *form.dePDFEngine1, true, false);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SheetPath())));
    EXPECT_TRUE(dialogs.Opened.empty());
    form.EditedPump.PumpType = PumpFixedSpeed;

    // No viewer: the file stays and the message says where.
    dialogs.OpenSucceeds = false;
    dialogs.Expect(TDialogKind::Information,
                   QString::fromStdString("Cannot find a PDF viewer, which is required to view PDF files.\r\rVisit "
                                          "viewer.example.org to download a free PDF viewer.\r\rOnce you have a PDF "
                                          "viewer the customized PDF file will open automatically\r\rFor now the PDF "
                                          "report file has been saved to:\r\r" +
                                          SheetPath() + "\r"));
    form.CreatePDFPumpSheet(network, pumpPipe, form.EditedPump, *form.dePDFEngine1, true, false);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(SheetPath())));

    // No private folder to be had: the sheet is not written anywhere else.
    TPumpDataForm::PumpSheetFolder = []() -> std::string { throw std::runtime_error("not ours"); };
    dialogs.Expect(TDialogKind::Error, "Cannot create Pump Data Sheet PDF with name: Pump_Graph.pdf\r\rCheck file "
                                       "is not already open or in use.\r");
    form.CreatePDFPumpSheet(network, pumpPipe, form.EditedPump, *form.dePDFEngine1, true, false);
    EXPECT_EQ(dialogs.Opened.size(), 1u);
}

TEST_F(PumpPdfSheet, LandscapeReportPagePutsTheGraphOnTheNextPage)
{
    if (!HasTool("pdftotext") || !HasTool("pdfinfo"))
        GTEST_SKIP() << "poppler-utils are not installed";
    // The report's engine, on a landscape A3 page with a page of its own first.
    TdePDFEngine report;
    report.SetFileExtension("pdf");
    report.SetMeasurementUnit(TdeUnitType::muInches);
    report.Page().SetPaperSize(TdePaperSize::Custom);
    report.Page().SetWidth(16.5);
    report.Page().SetHeight(11.7);
    report.Page().SetLeftMargin(0.8);
    report.Page().SetRightMargin(0.8);
    report.Page().SetTopMargin(0.5);
    report.Page().SetBottomMargin(0.5);
    const std::string path = folder.path().toStdString() + "/report.pdf";
    report.SetFileName(path);
    report.BeginDoc();
    report.TextOut(1, 1, u"Report cover");
    TPumpDataForm form;
    form.SavedPump.Name = "stale";
    const TUnit flowUnit = Pump().PumpPoints.FlowDisplayUnit;
    // A page of a report needs no sheet folder of its own.
    TPumpDataForm::PumpSheetFolder = nullptr;
    // Outside results mode the pipe's flow is 0: the data point is the shut-off.
    network.GetPipe(pumpPipe).FlowUncompressed_m3s = 0;
    form.CreatePDFPumpSheet(network, pumpPipe, Pump(), report, false, false);
    report.EndDoc();

    EXPECT_TRUE(dialogs.Opened.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SheetPath())));
    EXPECT_NE(Tool("pdfinfo '" + path + "'").find("Pages:           3"), std::string::npos);
    const std::string sheet = Tool("pdftotext -layout -f 2 -l 2 '" + path + "' -");
    EXPECT_NE(sheet.find("Pump Data"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("Pump graph is shown on next page (when document is in landscape format)."),
              std::string::npos);
    EXPECT_EQ(sheet.find("Data Point (BEP)"), std::string::npos);
    EXPECT_NEAR(NumberAfter(sheet, "Flow:"), 0, 1e-9);
    EXPECT_NEAR(NumberAfter(sheet, "Head:"), NumberAfter(sheet, "Shutoff Head:"), 1e-9);
    // The report's pages carry the report's header, not the editor's.
    EXPECT_EQ(sheet.find("PUMP DATA SHEET"), std::string::npos);
    const std::string graph = Tool("pdftotext -f 3 -l 3 '" + path + "' -");
    EXPECT_EQ(graph.find("Pump Data"), std::string::npos);
    // The editor points at the report's pump; the pump's units are kept.
    EXPECT_EQ(form.SavedPump.Name, "P-1");
    EXPECT_EQ(form.EditedPump.Name, "P-1");
    EXPECT_EQ(Pump().PumpPoints.FlowDisplayUnit, flowUnit);
}

} // namespace
} // namespace tessaran
