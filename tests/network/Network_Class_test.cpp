#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "platform/Stream.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tessaran;
using namespace tessaran::test;

TEST(Network, EmptyNetworkYieldsNoIds)
{
    auto network = NewNetwork();
    EXPECT_EQ(network->GetNextPipeId(0), 0);
    EXPECT_EQ(network->GetPreviousPipeId(0), 0);
    EXPECT_EQ(network->GetHighestPipeId(), 0);
    EXPECT_EQ(network->GetNextClosedPipeId(0), 0);
    EXPECT_LT(network->GetNextNodeId(0), 1);
    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->GetPipeCount(), 0);
    EXPECT_EQ(network->GetSelectedNodeId(), 0);
    EXPECT_EQ(network->UserInterface, &SilentUserInterface());
}

TEST(Network, ClearGivesTheDefaultPipe)
{
    auto network = NewNetwork();
    network->ConfigOptions.DefaultPipe->Name = "Changed";
    network->ConfigOptions.DefaultPipe->Length_m = 99;
    network->ConfigOptions.DefaultPipe->FluidZoneIndex = 4;
    network->Clear();

    const TPipe &pipe = *network->ConfigOptions.DefaultPipe;
    EXPECT_EQ(pipe.Name, "Default Pipe");
    EXPECT_DOUBLE_EQ(pipe.Length_m, 3.048);
    EXPECT_DOUBLE_EQ(pipe.InnerDiameter_m, 0.10226);
    EXPECT_DOUBLE_EQ(pipe.InnerRoughness_m, 0.000046);
    EXPECT_EQ(pipe.Material, "Steel");
    EXPECT_EQ(pipe.NominalDiameterMetric, 100);
    EXPECT_EQ(pipe.NominalDiameterMetricString, "100 mm");
    EXPECT_EQ(pipe.NominalDiameterImperialString, "4\"");
    EXPECT_EQ(pipe.SpecificationReference, "");
    EXPECT_EQ(pipe.ScheduleClass, "Sch. 40");
    EXPECT_DOUBLE_EQ(pipe.OuterDiameter_m, 0.1143);
    EXPECT_DOUBLE_EQ(pipe.WallThickness_m, 0.00602);
    EXPECT_DOUBLE_EQ(pipe.WeightPerMetre_kg, 16.0751);
    EXPECT_EQ(pipe.FluidZoneIndex, 1); // from the pipe's own reset
}

TEST(Network, ClearSpreadsTheGuessVelocitiesBelowTheMaximum)
{
    auto network = NewNetwork();
    const auto &v = network->NetworkClass_ArrayInitialGuessFlowVelocity_ms;
    EXPECT_DOUBLE_EQ(network->CurrentGuessFlowVelocity_ms, 0.1);
    EXPECT_DOUBLE_EQ(v[1], 0.1);
    EXPECT_DOUBLE_EQ(v[2], 0.599);
    EXPECT_NEAR(v[100], 49.501, 1e-12);

    // The spread follows the parameters the settings hold at Clear.
    network->ConfigOptions.CalculationParameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec] = 1;
    network->Clear();
    EXPECT_DOUBLE_EQ(v[1], 0.1);
}

TEST(Network, ClearEmptiesEverythingAndResetsTheSettings)
{
    auto network = NewNetwork();
    const int a = AddJoint(*network, 40, 40);
    const int b = AddJoint(*network, 400, 40);
    AddPipeBetween(*network, a, b);
    network->AddFreeText("note", 10, 10, clRed, 12, {});
    network->FluidZonesCount = 3;
    network->CurrentFluidZone = 2;
    network->FluidZones[2].Color = clBlack;
    network->FluidZones[2].ShowColor = false;
    network->FluidZones[2].Fluid.SetToAir();
    network->FluidZonesSaved[3].Fluid.SetToAir();
    network->NodeLinksSavedCount = 5;
    network->NodeLinksSaved[1] = {1, 2, 3};
    network->NodeLinksFlowControlCount = 1;
    network->NodeLinksFlowControl[1] = {1, 2, 3, 4, 5, BPV};
    network->PipeLoopsCount = 2;
    network->PipeLoops[1][1] = 7;
    network->SetisometricDrawing();
    network->ConfigOptions.SetImperialUnits();
    network->ConfigOptions.PressureReference = PressureAbsolute;
    network->ConfigOptions.Atmosphere_bar_a = 0.9;
    network->WarningCount = 3;
    network->solvedSuccessful = true;
    network->BackgroundImagesCount = 1;
    network->BackgroundImages[1].Bitmap = std::make_unique<TBitmap>(2, 2);
    network->BackgroundImages[1].ImageOpacity = 40;

    network->Clear();

    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->GetPipeCount(), 0);
    EXPECT_EQ(network->NodeLinksCount, 0);
    EXPECT_EQ(network->NodeLinksFlowControlCount, 0);
    EXPECT_EQ(network->NodeLinksFlowControl[1], TFlowControlLink{});
    EXPECT_EQ(network->NodeLinksSaved[1], TNodeLink{});
    EXPECT_EQ(network->NodeLinksSavedCount, 5) << "the saved count is the solver's";
    EXPECT_EQ(network->PipeLoopsCount, 0);
    EXPECT_EQ(network->PipeLoops[1][1], 0);
    EXPECT_EQ(network->FreeTextsCount, 0);
    EXPECT_TRUE(network->FreeTexts[1].TextStrings.empty());
    EXPECT_FALSE(network->IsometricDrawing);
    EXPECT_DOUBLE_EQ(network->SymbolScale, 1.0);
    EXPECT_EQ(network->ConfigOptions.PressureReference, PressureGage);
    EXPECT_DOUBLE_EQ(network->ConfigOptions.Atmosphere_bar_a, 1.01325);
    EXPECT_EQ(network->ConfigOptions.UnitOfLength, unt_m);
    EXPECT_EQ(network->ConfigOptions.UnitOfPressure, unt_Bar_G);
    EXPECT_EQ(network->WarningCount, 0);
    EXPECT_FALSE(network->solvedSuccessful);
    EXPECT_EQ(network->BackgroundImagesCount, 0);
    EXPECT_FALSE(network->BackgroundImages[1].Bitmap);
    EXPECT_EQ(network->BackgroundImages[1].ImageOpacity, 100);
    EXPECT_EQ(network->BackgroundImages[1].ImageStretchWidth, 400);
    EXPECT_EQ(network->BackgroundImages[1].DisplayLayer, 2);

    EXPECT_EQ(network->FluidZonesCount, 1);
    EXPECT_EQ(network->CurrentFluidZone, 1);
    const TColor colours[] = {0xFFFFFF, 0xC0C0FF, 0xA0A0D0, 0x6FA9FF, 0xC0E6E6, 0xC0FFC0, 0xFFFFC0,
                              0xFFE0C0, 0xFFC0FF, 0xFFC0C0, 0xC9C9C9, 0x4040FF, 0x6060C0, 0x4080FF,
                              0x00C0C0, 0x80FF80, 0xFFFF80, 0xFFD060, 0xFF80FF, 0xFF8080};
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(network->FluidZones[i].Color, colours[i - 1]) << i;
        EXPECT_TRUE(network->FluidZones[i].ShowColor) << i;
        EXPECT_FALSE(network->FluidZones[i].Fluid.FluidIsGas) << i;
    }
    EXPECT_TRUE(network->FluidZonesSaved[3].Fluid.FluidIsGas) << "the saved zones are not touched";
}

TEST(Network, DrawingModes)
{
    auto network = NewNetwork();
    network->SetisometricDrawing();
    EXPECT_TRUE(network->IsometricDrawing);
    EXPECT_DOUBLE_EQ(network->SymbolScale, 1.2);
    EXPECT_DOUBLE_EQ(network->IsometricXRadAng, 0.7853981633974483);
    EXPECT_DOUBLE_EQ(network->IsometricYRadAng, std::atan(0.5));
    EXPECT_EQ(network->MetaFileDrawing_XGridSpacing, 40);
    network->SetNormalDrawing();
    EXPECT_FALSE(network->IsometricDrawing);
    EXPECT_DOUBLE_EQ(network->IsometricXRadAng, 0);
    EXPECT_DOUBLE_EQ(network->IsometricYRadAng, 0);
}

TEST(Network, PipesAreIteratedInLinkOrder)
{
    auto network = NewNetwork();
    const int a = AddJoint(*network, 40, 40);
    const int b = AddJoint(*network, 400, 40);
    TPipe pipe;
    for (int i = 1; i <= 7; ++i)
        ASSERT_EQ(network->AddPipe(pipe), i);
    for (int id : {7, 3, 5})
        ASSERT_TRUE(network->AddLink(a, b, id));

    EXPECT_EQ(ActivePipes(*network), (std::vector<int>{7, 3, 5}));
    EXPECT_EQ(network->GetHighestPipeId(), 5);
    EXPECT_EQ(network->GetPreviousPipeId(0), 5);
    EXPECT_EQ(network->GetPreviousPipeId(3), 7);
    EXPECT_EQ(network->GetPreviousPipeId(7), 0);
    EXPECT_EQ(network->GetNextPipeId(5), 0);
    EXPECT_EQ(network->GetNextPipeId(1), 0) << "a pipe without link";

    std::vector<std::string> lines{"first"};
    network->RemoveNodeLinkAddClosedPipeLink(3);
    network->GetTStringsOfPipeIdForDropdownList(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "Pipe:   7", "Pipe:   5", "Pipe:   3"}));
}

TEST(Network, NodeNamesAndSelectionCounts)
{
    auto network = NewNetwork();
    for (int i = 0; i < 4; ++i)
        AddJoint(*network, 40 * i, 40);
    network->GetNode(2).Name = "Pump house";
    network->GetNode(4).Name = "Pump house";
    network->GetNode(3).Selected = true;
    network->GetNode(4).Selected = true;
    network->AddFreeText("a", 0, 0, clBlack, 10, {});
    network->AddFreeText("b", 0, 0, clBlack, 10, {});
    network->GetFreeText(2).Selected = true;

    EXPECT_EQ(network->GetNodeIdFromName("Pump house"), 2);
    EXPECT_EQ(network->GetNodeIdFromName("pump house"), -1);
    EXPECT_EQ(network->GetNumberOfNodesSelected(), 2);
    EXPECT_EQ(network->GetNumberOfItemsSelected(), 3);
    EXPECT_EQ(network->GetSelectedNodeId(), 3);
}

TEST(Network, FreeTextsTakeTheNextPositionAndCloseGaps)
{
    auto network = NewNetwork();
    EXPECT_EQ(network->AddFreeText("Line 1\r\nLine 2\nLine 3\r", 100, 200, clRed, 14,
                                   {TFontStyle::fsBold}),
              1);
    const TFreeText &first = network->GetFreeText(1);
    EXPECT_EQ(first.TextStrings, (std::vector<std::string>{"Line 1", "Line 2", "Line 3"}));
    EXPECT_EQ(first.x, 100);
    EXPECT_EQ(first.y, 200);
    EXPECT_EQ(first.Color, clRed);
    EXPECT_EQ(first.Size, 14);
    EXPECT_TRUE(first.Style.Contains(TFontStyle::fsBold));
    EXPECT_EQ(first.Angle, 0);

    network->AddFreeText("two", 0, 0, clBlack, 10, {});
    network->AddFreeText("three", 0, 0, clBlack, 10, {});
    network->RemoveFreeText(1);
    ASSERT_EQ(network->FreeTextsCount, 2);
    EXPECT_EQ(network->GetFreeText(1).TextStrings, std::vector<std::string>{"two"});
    EXPECT_EQ(network->GetFreeText(2).TextStrings, std::vector<std::string>{"three"});

    for (int i = 3; i <= 1000; ++i)
        ASSERT_EQ(network->AddFreeText("x", 0, 0, clBlack, 10, {}), i);
    EXPECT_EQ(network->AddFreeText("one too many", 0, 0, clBlack, 10, {}), 0);
    EXPECT_EQ(network->FreeTextsCount, 1000);
}

TEST(Network, KindOfSystemFollowsTheActivePipesZones)
{
    struct Case {
        const char *Name;
        bool Zone1Gas;
        std::vector<int> ActiveZones; // one pipe per entry
        int ClosedZone;               // 0 = no closed pipe
        bool AllGas, AllLiquid;
    } cases[] = {
        {"no pipes, water", false, {}, 0, false, true},
        {"no pipes, air", true, {}, 0, true, false},
        {"all gas", false, {2, 2}, 0, true, false},
        {"mixed", false, {1, 2}, 0, false, false},
        {"closed gas pipe ignored", false, {1}, 2, false, true},
    };
    for (const Case &c : cases) {
        auto network = NewNetwork();
        if (c.Zone1Gas)
            network->FluidZones[1].Fluid.SetToAir();
        network->FluidZones[2].Fluid.SetToAir();
        network->FluidZonesCount = 2;
        for (int zone : c.ActiveZones)
            AddPipeBetween(*network, AddJoint(*network, 0, 0), AddJoint(*network, 40, 0), zone);
        if (c.ClosedZone > 0)
            network->RemoveNodeLinkAddClosedPipeLink(
                AddPipeBetween(*network, AddJoint(*network, 0, 0), AddJoint(*network, 40, 0), c.ClosedZone));
        EXPECT_EQ(network->IsAllGasSystem(), c.AllGas) << c.Name;
        EXPECT_EQ(network->IsAllLiquidSystem(), c.AllLiquid) << c.Name;
    }
}

TEST(Network, NodeFluidZoneComesFromAPipeAtTheNode)
{
    auto network = NewNetwork();
    network->FluidZonesCount = 4;
    const int joint = AddJoint(*network, 0, 0);
    const int tank = AddJoint(*network, 40, 0, Tank);
    const int other = AddJoint(*network, 80, 0);
    const int lonely = AddJoint(*network, 120, 0);
    AddPipeBetween(*network, other, joint, 2); // ends at the joint
    AddPipeBetween(*network, tank, other, 4);  // starts at the tank
    AddPipeBetween(*network, other, tank, 3);

    EXPECT_EQ(network->GetNodeFluidZoneIndex(joint), 2) << "only in-flow pipes: the first of them";
    EXPECT_EQ(network->GetNodeFluidZoneIndex(tank), 4) << "a tank takes its first link either way";
    EXPECT_EQ(network->GetNodeFluidZoneIndex(other), 2) << "a joint prefers a pipe starting at it";
    EXPECT_EQ(network->GetNodeFluidZoneIndex(lonely), 1);

    AddPipeBetween(*network, joint, lonely, 3);
    EXPECT_EQ(network->GetNodeFluidZoneIndex(joint), 3);
}

TEST(Network, HydraulicGradeLineAddsThePressureHeadToTheElevation)
{
    auto network = NewNetwork();
    const int node = AddJoint(*network, 0, 0);
    network->GetNode(node).Elevation_m = 12.5;
    network->GetNode(node).Pressure_Bar_g = 1.0;
    const double density = network->FluidZones[1].Fluid.density_kgs_m3;
    EXPECT_NEAR(network->GetNodeHGL(node), 12.5 + 100000.0 / (density * 9.80665), 1e-6);
}

TEST(Network, DeleteBackgroundImageMovesLaterImagesDown)
{
    auto network = NewNetwork();
    network->BackgroundImagesCount = 3;
    for (int i = 1; i <= 3; ++i) {
        auto &image = network->BackgroundImages[i];
        image.Bitmap = std::make_unique<TBitmap>(i, 1);
        image.BitmapAdjusted = std::make_unique<TBitmap>(i, 2);
        image.ImageX = 100 * i;
        image.ImageOpacity = 10 * i;
        image.HideImage = i == 3;
    }
    network->DeleteBackgroundImage(4);
    EXPECT_EQ(network->BackgroundImagesCount, 3);

    const TBitmap *slot2 = network->BackgroundImages[2].Bitmap.get();
    network->DeleteBackgroundImage(2);
    ASSERT_EQ(network->BackgroundImagesCount, 2);
    const auto &moved = network->BackgroundImages[2];
    EXPECT_EQ(moved.Bitmap.get(), slot2) << "the slot keeps its own bitmap object";
    EXPECT_EQ(moved.Bitmap->Width(), 3);
    EXPECT_EQ(moved.BitmapAdjusted->Height(), 2);
    EXPECT_EQ(moved.ImageX, 300);
    EXPECT_EQ(moved.ImageOpacity, 30);
    EXPECT_TRUE(moved.HideImage);
    EXPECT_FALSE(network->BackgroundImages[3].Bitmap);
    EXPECT_FALSE(network->BackgroundImages[3].BitmapAdjusted);
    EXPECT_EQ(network->BackgroundImages[1].ImageX, 100);
}

TEST(Network, ReportOptionsFollowTheKindOfSystem)
{
    auto network = NewNetwork();
    network->FluidZones[1].Fluid.SetToAir();
    TReportOptions gas;
    gas.ClearPDFReportOptions(true);
    TReportOptions liquid;
    liquid.ClearPDFReportOptions(false);
    ASSERT_NE(gas.pipeDataColumns, liquid.pipeDataColumns);

    network->SetDefaultReportOptionPipeData();
    EXPECT_EQ(network->ReportOptions.pipeDataColumns, gas.pipeDataColumns);

    TMemoryStream stream;
    network->ReportOptions.companyName = "Saved";
    network->SaveReportOptions(stream);
    network->FluidZones[1].Fluid.SetToWater();
    TScriptedUserInterface ui;
    network->UserInterface = &ui;
    stream.Seek(0);
    network->LoadReportOptions(stream);
    EXPECT_EQ(network->ReportOptions.companyName, "Saved");
    EXPECT_EQ(network->ReportOptions.pipeDataColumns, liquid.pipeDataColumns);
    EXPECT_FALSE(ui.Messages.empty()) << "the notice about replaced gas columns goes through the seam";
}

TEST(Network, ClearingAGasSystemGivesTheLiquidReportColumns)
{
    auto network = NewNetwork();
    network->FluidZones[1].Fluid.SetToAir();
    network->ClearPDFReportOptions();
    TReportOptions liquid;
    liquid.ClearPDFReportOptions(false);
    ASSERT_NE(network->ReportOptions.pipeDataColumns, liquid.pipeDataColumns);
    network->ReportOptions.companyName = "Old";

    network->Clear();
    EXPECT_TRUE(network->IsAllLiquidSystem());
    EXPECT_EQ(network->ReportOptions, liquid);
}
