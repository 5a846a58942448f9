#include "network/Network_Class.h"

#include "Network_File_Writer.h"
#include "Network_Fixture.h"
#include "platform/Stream.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

using namespace tessaran;
using namespace tessaran::test;

namespace {

const std::string FormatError = "The file does not have the correct format and cannot be loaded.\r";

std::unique_ptr<TBitmap> SmallBitmap(int width, int height, TColor color)
{
    auto bitmap = std::make_unique<TBitmap>(width, height);
    bitmap->Fill(color);
    bitmap->SetPixel(0, 0, 0x123456);
    return bitmap;
}

// A network with every kind of item, every option away from its default,
// two fluid zones, free texts, loops and a background image.
void BuildFullNetwork(TNetwork &n)
{
    n.SetisometricDrawing();

    n.FluidZonesCount = 2;
    n.FluidZones[1].Fluid.name = "Brine";
    n.FluidZones[1].Fluid.density_kgs_m3 = 1180;
    n.FluidZones[1].Color = 0x102030;
    n.FluidZones[2].Fluid.SetToAir();
    n.FluidZones[2].Color = 0x405060;

    TNode tank;
    tank.Name = "Tank A";
    tank.NodeType = Tank;
    tank.x = 400;
    tank.y = 400;
    tank.LiquidLevel_m = 2.5;
    const int tankId = n.AddNode(tank);
    TNode joint;
    joint.Name = "J2";
    joint.NodeType = Joint;
    joint.x = 1200;
    joint.y = 400;
    joint.JointDischarge_m3s = 0.004;
    const int jointId = n.AddNode(joint);
    TNode end;
    end.Name = "Outlet";
    end.NodeType = EndPressure;
    end.x = 2000;
    end.y = 400;
    end.Surface_Pressure_Bar_g = 0.5;
    const int endId = n.AddNode(end);
    TNode gasJoint;
    gasJoint.Name = "J4";
    gasJoint.NodeType = Joint;
    gasJoint.x = 1200;
    gasJoint.y = 1200;
    gasJoint.JointDischarge_m3s = 0.01;
    const int gasJointId = n.AddNode(gasJoint);

    TPipe pumped;
    pumped.Name = "Suction";
    pumped.Length_m = 12.5;
    pumped.PumpCount = 1;
    pumped.Pump.Name = "P-1";
    pumped.Pump.AddPumpCurvePointFlowm3s(0.0, 40, 0, 1, 1180);
    pumped.Pump.AddPumpCurvePointFlowm3s(0.01, 35, 60, 2, 1180);
    pumped.Pump.AddPumpCurvePointFlowm3s(0.02, 25, 70, 3, 1180);
    const int pumpedId = n.AddPipeLink(tankId, jointId, pumped);

    TPipe valved;
    valved.Name = "Discharge";
    valved.ComponentPressureCount = 1;
    valved.ComponentPressure.Name = "Strainer";
    valved.ComponentPressure.FixedPressureLoss_mHd = 1.5;
    valved.FlowControlCount = 1;
    valved.FlowControl.Name = "FCV-1";
    valved.FlowControl.FlowControl_m3s = 0.003;
    n.AddPipeLink(jointId, endId, valved);

    TPipe gasPipe;
    gasPipe.Name = "Gas line";
    gasPipe.FluidZoneIndex = 2;
    TFitting elbow;
    elbow.SetFittingData(100, 3, "Elbow", "100", "4", "90 degree elbow", 0.45);
    gasPipe.AddFitting(elbow);
    n.AddPipeLink(jointId, gasJointId, gasPipe);

    TPipe closed;
    closed.Name = "Bypass";
    const int closedId = n.AddPipeLink(gasJointId, endId, closed);
    n.RemoveNodeLinkAddClosedPipeLink(closedId);

    n.PipeLoopsCount = 2;
    n.PipeLoops[1][1] = pumpedId;
    n.PipeLoops[1][2] = 2;
    n.PipeLoops[2][1] = 3;
    n.PipeLoops[2][1000] = 2;
    n.PipeLoopsPipeCount[1] = 2;
    n.PipeLoopsPipeCount[2] = 1;

    TConfigOptions &c = n.ConfigOptions;
    c.PressureReference = PressureAbsolute;
    c.Atmosphere_bar_a = 0.98;
    c.SetImperialUnits();
    c.UnitOfFlow = unt_gpm_USA;
    c.UnitOfEnergy = unt_KW;
    c.GasFlowTemperaturePressureModel = std_20degC_101325Pa;
    for (bool *flag : {&c.ShowPipeId, &c.ShowPipeName, &c.ShowPipeDiam, &c.ShowPipeLength, &c.ShowComponentName,
                       &c.ShowFlowControlName, &c.ShowFittingsValves, &c.ShowFittingsBends, &c.ShowFittingsKValue,
                       &c.ShowPumpName, &c.ShowPumpDistance, &c.ShowPumpElevation, &c.ShowNodeId, &c.ShowNodeName,
                       &c.ShowNodeElevation, &c.ShowNodeTankInfo, &c.ShowPipeFlowRate, &c.ShowPipeMassFlowRate,
                       &c.ShowPipeGasFlowRate, &c.ShowPipeVelocity, &c.ShowPipePressureLoss,
                       &c.ShowFittingsNothing, &c.ShowFittingsPressureLoss, &c.ShowPumpNothing, &c.ShowPumpHead,
                       &c.ShowPumpNPSHa, &c.ShowNodeNothing, &c.ShowNodePressure})
        *flag = !*flag;
    c.DefaultTextSize = 9;
    c.DemandTextSize = 10;
    c.NodeLabelSpacingY = 13;
    for (std::size_t i = 0; i < c.CalculationParameters.size(); ++i)
        c.CalculationParameters[i] = 1000.0 + static_cast<double>(i) + 0.25;
    c.ZCompressibilityModel = CustomZModel;
    c.ZCompressibilityFactor = 0.93;
    c.MethodOfSolution = CompressibleFlowAdjust;
    c.MethodOfCalculationCompressible = AGAIsothermalFlowEquation;
    c.PipelineEfficiencyE = 0.92;
    c.GasSystemCheckFinalNodeBalanceUsePercent = false;
    c.NodeBalancingToleranceFinal_bar = 0.00005;
    c.UseResultsColors = false;
    c.ShowResultsColorKey = false;
    c.ResultsColor1 = 0x111111;
    c.ResultsColor2 = 0x222222;
    c.ResultsColor3 = 0x333333;
    c.ResultsColorItem = ResultsFlow;

    c.DefaultPipe->Name = "My default";
    c.DefaultPipe->Length_m = 6.1;
    c.DefaultPipe->Material = "PVC";

    n.AddFreeText("Pump house\r\nlevel 2", 700, 900, 0x0000FF, 12, TFontStyles{TFontStyle::fsBold});
    n.FreeTexts[1].Angle = 45;
    n.AddFreeText("Note \xc3\xa9", 100, 1500, 0x00FF00, 8, TFontStyles{});

    n.BackgroundImagesCount = 1;
    TBackgroundImage &image = n.BackgroundImages[1];
    image.Bitmap = SmallBitmap(2, 2, 0x00AA00);
    image.BitmapAdjusted = SmallBitmap(3, 1, 0x0000BB);
    image.ImageX = 80;
    image.ImageY = 120;
    image.ImageStretchWidth = 800;
    image.ImageStretchHeight = 600;
    image.DisplayLayer = 1;
    image.ImageOpacity = 55;
    image.UseGreyScale = true;
    image.HideImage = true;

    // What a load derives from the zones: demands and set flows in all
    // their forms, so that a loaded copy saves the same bytes.
    n.SetAllFlowControlEquivalentMassFlowRates();
    n.SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    n.SetAllComponentEquivalentMassFlowRates();
    n.SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
    n.SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();
    for (int id = n.GetNextPipeId(0); id > 0; id = n.GetNextPipeId(id))
        n.GetPipe(id).Pump.calcPumpCurves(n.GetPipeFluid(id).density_kgs_m3);
}

const std::vector<std::uint8_t> &EmptyNetworkBytes()
{
    static const std::vector<std::uint8_t> bytes = [] {
        auto fresh = NewNetwork();
        return SavedBytes(*fresh);
    }();
    return bytes;
}

// A network loaded from bytes through a recording user interface.
struct TLoaded {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    TScriptedUserInterface Ui;

    TLoaded() { Network->UserInterface = &Ui; }
    explicit TLoaded(const std::vector<std::uint8_t> &bytes, int testResultsMode = 0) : TLoaded()
    {
        Ui.TestResults = testResultsMode;
        LoadBytes(*Network, bytes);
    }
    // Loads again into the same network, forgetting earlier messages.
    void Reload(const std::vector<std::uint8_t> &bytes)
    {
        Ui.Messages.clear();
        LoadBytes(*Network, bytes);
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto &shown : Ui.Messages)
            texts.push_back(shown.Text);
        return texts;
    }
    bool IsCleared() { return SavedBytes(*Network) == EmptyNetworkBytes(); }
};

std::vector<std::uint8_t> WriteAs(TNetwork &source, const std::string &version, TLayoutMarks *marks = nullptr,
                                  const TEarlySettings &early = {})
{
    TNetworkFileWriter writer(source, version);
    writer.Early = early;
    writer.FileName = "C:\\Systems\\plant.trz";
    writer.FileDate = "12/03/2019";
    writer.ReservedFill = 0xA5;
    std::vector<std::uint8_t> bytes = writer.Write();
    if (marks)
        *marks = writer.Marks;
    return bytes;
}

// A network of nodes and plain pipes only: records every layout can hold.
std::unique_ptr<TNetwork> PlainNetwork()
{
    auto n = NewNetwork();
    const int a = AddJoint(*n, 400, 400, Tank);
    const int b = AddJoint(*n, 1200, 400);
    const int c = AddJoint(*n, 2000, 400, EndPressure);
    AddPipeBetween(*n, a, b);
    AddPipeBetween(*n, b, c);
    n->ConfigOptions.CalculationParameters.fill(0);
    for (std::size_t i = 0; i < n->ConfigOptions.CalculationParameters.size(); ++i)
        n->ConfigOptions.CalculationParameters[i] = 500.0 + static_cast<double>(i);
    return n;
}

void PutInt32(std::vector<std::uint8_t> &bytes, std::int64_t at, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(static_cast<std::size_t>(at + i)) = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

} // namespace

// --- Round trips ------------------------------------------------------------------

TEST(NetworkFile, FullNetworkRoundTripsByteForByte)
{
    auto original = NewNetwork();
    BuildFullNetwork(*original);
    const std::vector<std::uint8_t> first = SavedBytes(*original);

    TLoaded loaded(first);
    EXPECT_TRUE(loaded.Ui.Messages.empty()) << loaded.Texts().front();
    EXPECT_EQ(SavedBytes(*loaded.Network), first);

    TNetwork &n = *loaded.Network;
    EXPECT_EQ(n.FileHeader.VersionReference, "7.40");
    EXPECT_EQ(n.FileHeader.Filename, "");
    EXPECT_EQ(n.GetNodeCount(), 4);
    EXPECT_EQ(n.GetPipeCount(), 4);
    EXPECT_EQ(ActivePipes(n), ActivePipes(*original));
    EXPECT_EQ(ClosedPipes(n), ClosedPipes(*original));
    EXPECT_EQ(n.GetPipe(1).Pump.PumpPoints.PointsCount, 3);
    EXPECT_EQ(n.GetPipe(2).ComponentPressure.Name, "Strainer");
    EXPECT_EQ(n.GetPipe(3).FittingSet.FittingCount, 1);
    EXPECT_EQ(n.FluidZonesCount, 2);
    EXPECT_TRUE(n.FluidZones[2].Fluid.FluidIsGas);
    EXPECT_EQ(n.FluidZones[2].Color, 0x405060);
    EXPECT_TRUE(n.IsometricDrawing);
    EXPECT_DOUBLE_EQ(n.SymbolScale, 1.2);
    // The loop entries come back; their counts are rebuilt by the next calculation.
    EXPECT_EQ(n.PipeLoopsCount, 2);
    EXPECT_EQ(n.PipeLoops[2][1000], 2);
    EXPECT_EQ(n.PipeLoopsPipeCount[1], 0);
    EXPECT_EQ(n.ConfigOptions.CalculationParameters, original->ConfigOptions.CalculationParameters);
    EXPECT_EQ(n.ConfigOptions.ShowResultsColorKey, n.ConfigOptions.UseResultsColors);
    EXPECT_EQ(n.ConfigOptions.ResultsColorItem, ResultsFlow); // kept in a current file
    EXPECT_EQ(n.ConfigOptions.DefaultPipe->Name, "My default");
    EXPECT_EQ(n.FreeTextsCount, 2);
    EXPECT_EQ(n.FreeTexts[1].GetText(), "Pump house\r\nlevel 2");
    EXPECT_EQ(n.FreeTexts[2].GetText(), "Note \xc3\xa9");
    EXPECT_EQ(n.FreeTexts[1].Angle, 45);
    ASSERT_EQ(n.BackgroundImagesCount, 1);
    const TBackgroundImage &image = n.BackgroundImages[1];
    ASSERT_TRUE(image.Bitmap && image.BitmapAdjusted);
    EXPECT_TRUE(SamePixels(*image.Bitmap, *original->BackgroundImages[1].Bitmap));
    EXPECT_EQ(image.BitmapAdjusted->Width(), 3);
    EXPECT_EQ(image.Bitmap->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(image.OrigX, 80);
    EXPECT_EQ(image.Origy, 120);
    EXPECT_FALSE(image.Selected);
    EXPECT_EQ(image.ImageOpacity, 55);
    EXPECT_TRUE(image.HideImage);
}

TEST(NetworkFile, EmptyNetworkRoundTripsAndSaveIgnoresTheOldHeader)
{
    auto network = NewNetwork();
    network->FileHeader.SetData("6.12", "old.trz", "1999");
    const std::vector<std::uint8_t> bytes = SavedBytes(*network);
    EXPECT_EQ(network->FileHeader.VersionReference, "7.40");
    EXPECT_EQ(bytes, EmptyNetworkBytes());
    TLoaded loaded(bytes);
    EXPECT_TRUE(loaded.Ui.Messages.empty());
    EXPECT_TRUE(loaded.IsCleared());
}

// The test's own writer, given the current version, writes what Save writes:
// the old layouts below come from the same writer with fewer fields.
TEST(NetworkFile, TestWriterAgreesWithSaveAtTheCurrentVersion)
{
    auto original = NewNetwork();
    BuildFullNetwork(*original);
    TNetworkFileWriter writer(*original, "7.40");
    EXPECT_EQ(writer.Write(), SavedBytes(*original));
}

TEST(NetworkFile, SaveToFileWritesTheSavedBytesAndKeepsNoTemporaryFile)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("tessaran_network_file_test_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "system.trz").string();

    auto network = NewNetwork();
    BuildFullNetwork(*network);
    network->SaveToFile(path);
    EXPECT_EQ(ReadWholeFile(path), SavedBytes(*network));
    int files = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1);

    // A save that cannot be written leaves nothing behind and raises.
    EXPECT_THROW(network->SaveToFile((folder / "missing" / "system.trz").string()), EStreamError);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    std::filesystem::remove_all(folder);
}

// --- Version gates ----------------------------------------------------------------

TEST(NetworkFile, NewerVersionIsRefusedAndShorterTextAccepted)
{
    auto source = PlainNetwork();
    TLoaded newer(WriteAs(*source, "7.41"));
    EXPECT_EQ(newer.Texts(), std::vector<std::string>{"The file was produced by Tessaran version 7.41\r\r"
                                                      "and cannot be read this copy of Tessaran, version 7.40\r\r"});
    EXPECT_TRUE(newer.IsCleared());

    // "7.4" sorts before "7.40" as text and is read in the current layout.
    TLoaded shorter(WriteAs(*source, "7.4"));
    EXPECT_TRUE(shorter.Ui.Messages.empty());
    EXPECT_EQ(shorter.Network->GetPipeCount(), 2);
    EXPECT_EQ(shorter.Network->ConfigOptions.CalculationParameters, source->ConfigOptions.CalculationParameters);
}

TEST(NetworkFile, VersionTextThatIsNotANumberIsRefused)
{
    auto source = PlainNetwork();
    // The test is on the characters only, as for numbers typed into the dialogs.
    for (const std::string version : {"seven", "7.40b", "V7.40", "7 40"}) {
        TLoaded loaded(WriteAs(*source, version));
        EXPECT_EQ(loaded.Texts(), std::vector<std::string>{FormatError}) << version;
        EXPECT_TRUE(loaded.IsCleared()) << version;
    }
}

// Every layout from the first to the current one: the fields a version holds
// come back, the reserved bytes are skipped and the file is read to its end.
TEST(NetworkFile, EveryLayoutVersionReadsItsFields)
{
    const std::vector<std::string> versions = {"1.15", "2.0",  "2.061", "2.063", "3.12", "4.06", "4.60",
                                               "5.11", "6.30", "6.34",  "6.36",  "6.41", "6.45", "7.01",
                                               "7.02", "7.03", "7.04",  "7.05",  "7.08", "7.14", "7.15",
                                               "7.16", "7.17", "7.4"};
    for (const std::string &version : versions) {
        SCOPED_TRACE(version);
        auto source = PlainNetwork();
        source->AddFreeText("label", 300, 300, 0x00FFFF, 9, TFontStyles{TFontStyle::fsItalic});
        source->ConfigOptions.UnitOfLength = unt_ft;
        source->ConfigOptions.ShowPipeVelocity = true;
        source->ConfigOptions.ResultsColor2 = 0x654321;
        source->ConfigOptions.DefaultPipe->Length_m = 7.5;
        TLoaded loaded(WriteAs(*source, version), 1);
        ASSERT_TRUE(loaded.Ui.Messages.empty()) << loaded.Texts().front();
        const TNetwork &n = *loaded.Network;
        EXPECT_EQ(n.FileHeader.VersionReference, version);
        EXPECT_EQ(n.GetNodeCount(), 3);
        EXPECT_EQ(ActivePipes(n), ActivePipes(*source));
        EXPECT_EQ(n.ConfigOptions.UnitOfLength, unt_ft);
        EXPECT_TRUE(n.ConfigOptions.ShowPipeVelocity);
        EXPECT_EQ(n.ConfigOptions.ResultsColor2, 0x654321);
        EXPECT_DOUBLE_EQ(n.ConfigOptions.DefaultPipe->Length_m, 7.5);
        ASSERT_EQ(n.FreeTextsCount, 1);
        EXPECT_EQ(n.FreeTexts[1].GetText(), "label");
        EXPECT_EQ(n.FreeTexts[1].Size, 9);
        if (VersionAtLeast(version, "7.03"))
            EXPECT_EQ(n.ConfigOptions.CalculationParameters, source->ConfigOptions.CalculationParameters);
    }
}

TEST(NetworkFile, OnlyVersion715CarriesEightMoreBytesBeforeParameter38)
{
    for (const std::string version : {"7.14", "7.15", "7.16"}) {
        SCOPED_TRACE(version);
        auto source = PlainNetwork();
        TLoaded loaded(WriteAs(*source, version));
        ASSERT_TRUE(loaded.Ui.Messages.empty());
        const auto &p = loaded.Network->ConfigOptions.CalculationParameters;
        EXPECT_EQ(p, source->ConfigOptions.CalculationParameters);
        EXPECT_DOUBLE_EQ(p[38], 538);
        EXPECT_DOUBLE_EQ(loaded.Network->ConfigOptions.NodeBalancingToleranceFinal_bar,
                         source->ConfigOptions.NodeBalancingToleranceFinal_bar);
    }
}

TEST(NetworkFile, Version702ReadsTheWarningParametersAfterTheToleranceAndSharesThem)
{
    auto source = PlainNetwork();
    source->ConfigOptions.NodeBalancingToleranceFinal_bar = 0.00007;
    source->ConfigOptions.ZCompressibilityModel = CNGAModel;
    source->ConfigOptions.PipelineEfficiencyE = 0.8;
    TLoaded loaded(WriteAs(*source, "7.02"));
    ASSERT_TRUE(loaded.Ui.Messages.empty());
    const TConfigOptions &c = loaded.Network->ConfigOptions;
    const auto &p = c.CalculationParameters;
    EXPECT_DOUBLE_EQ(c.NodeBalancingToleranceFinal_bar, 0.00007);
    EXPECT_DOUBLE_EQ(p[3], 503);
    EXPECT_DOUBLE_EQ(p[4], 504);
    EXPECT_DOUBLE_EQ(p[5], 505);
    for (int i : {17, 28})
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i)], 503) << i;
    for (int i : {18, 29})
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i)], 504) << i;
    for (int i : {19, 30, 37, 45})
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i)], 505) << i;
    for (int i : {0, 2, 6, 16, 20, 27, 31, 36, 38, 44})
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i)], 500 + i) << i;
    EXPECT_EQ(c.ZCompressibilityModel, IdealGasLawModel);
    EXPECT_DOUBLE_EQ(c.ZCompressibilityFactor, 1.0);
    EXPECT_DOUBLE_EQ(c.PipelineEfficiencyE, 1.0);
    EXPECT_EQ(c.MethodOfSolution, LinearTheoryThenNewton);
    EXPECT_EQ(c.DefaultTextSize, 7);
}

TEST(NetworkFile, Version650HasNoTextSizesNoMethodsAndTheEarlySettings)
{
    auto source = PlainNetwork();
    source->ConfigOptions.DefaultTextSize = 20;
    source->ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
    const TEarlySettings early;
    TLoaded loaded(WriteAs(*source, "6.50", nullptr, early));
    ASSERT_TRUE(loaded.Ui.Messages.empty());
    const TConfigOptions &c = loaded.Network->ConfigOptions;
    const auto &p = c.CalculationParameters;
    EXPECT_EQ(c.DefaultTextSize, 7);
    EXPECT_EQ(c.DemandTextSize, 8);
    EXPECT_EQ(c.NodeLabelSpacingY, 11);
    EXPECT_EQ(c.MethodOfSolution, LinearTheoryThenNewton);
    EXPECT_EQ(c.MethodOfCalculationCompressible, CompleteIsothermalFlowEquation);
    EXPECT_TRUE(c.GasSystemCheckFinalNodeBalanceUsePercent);

    struct Expected {
        int index;
        double value;
    };
    const Expected table[] = {
        {20, early.FlowBalance},          {9, early.FlowBalance},
        {10, early.LoopBalanceInitial_bar}, {21, early.LoopBalanceInitial_bar},
        {11, early.LoopBalanceFinal_bar}, {22, early.LoopBalanceFinal_bar},
        {12, 321},                        {23, 321},
        {13, 4321},                       {24, 4321},
        {15, early.DeltaFinal},           {26, early.DeltaFinal},
        {6, early.MinVelocity},           {7, early.MaxVelocity},
        {3, early.NpshTolerance},         {17, early.NpshTolerance},
        {28, early.NpshTolerance},        {4, early.HighLiquidVelocity},
        {18, early.HighLiquidVelocity},   {29, early.HighLiquidVelocity},
        {5, early.HighGasVelocity},       {19, early.HighGasVelocity},
        {30, early.HighGasVelocity},      {37, early.HighGasVelocity},
        {45, early.HighGasVelocity},      {2, early.DensityTolerance},
        {16, early.DensityTolerance},     {27, early.DensityTolerance},
    };
    for (const Expected &e : table)
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(e.index)], e.value) << "parameter " << e.index;
    // Parameters the early layout does not name keep their defaults.
    const auto defaults = TConfigOptions::DefaultCalculationParameters();
    for (int i : {0, 1, 8, 14, 25, 31, 35, 38, 44})
        EXPECT_DOUBLE_EQ(p[static_cast<std::size_t>(i)], defaults[static_cast<std::size_t>(i)]) << i;
    EXPECT_DOUBLE_EQ(c.NodeBalancingToleranceFinal_bar, early.NodeTolerance_bar);
    EXPECT_DOUBLE_EQ(c.PipelineEfficiencyE, 1.0);
    EXPECT_EQ(c.ZCompressibilityModel, IdealGasLawModel);
}

TEST(NetworkFile, EarlyLayoutGatesOfToleranceNpshAndDensity)
{
    struct Case {
        const char *version;
        double tolerance;
        double npsh;
        double densityTolerance;
    };
    const TEarlySettings early;
    const double defaultDensityTolerance = TConfigOptions::DefaultCalculationParameters()[2];
    const Case cases[] = {
        {"6.36", early.NodeTolerance_bar, early.NpshTolerance, early.DensityTolerance},
        {"6.35", early.NodeTolerance_bar, 20, early.DensityTolerance},
        {"6.33", early.NodeTolerance_bar, 20, defaultDensityTolerance},
        {"4.60", early.NodeTolerance_bar, 20, defaultDensityTolerance},
        {"4.59", 1.8 * early.LoopBalanceFinal_bar, 20, defaultDensityTolerance},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.version);
        auto source = PlainNetwork();
        TLoaded loaded(WriteAs(*source, k.version, nullptr, early), 1);
        ASSERT_TRUE(loaded.Ui.Messages.empty());
        const TConfigOptions &c = loaded.Network->ConfigOptions;
        EXPECT_DOUBLE_EQ(c.NodeBalancingToleranceFinal_bar, k.tolerance);
        EXPECT_DOUBLE_EQ(c.CalculationParameters[3], k.npsh);
        EXPECT_DOUBLE_EQ(c.CalculationParameters[28], k.npsh);
        EXPECT_DOUBLE_EQ(c.CalculationParameters[27], k.densityTolerance);
    }
}

TEST(NetworkFile, Version20DerivesUnitsReadsOneFluidAndTheFirstPipeLayout)
{
    auto source = PlainNetwork();
    source->FluidZones[1].Fluid.name = "Oil";
    source->FluidZones[1].Fluid.density_kgs_m3 = 850;
    source->FluidZones[1].Color = 0x777777; // not in a file of this age
    source->ConfigOptions.UnitOfFlow = unt_gpm_USA;
    source->ConfigOptions.UnitOfMassFlow = unt_kg_hour; // not in a file of this age
    source->ConfigOptions.ResultsColorItem = ResultsFlow;
    source->ConfigOptions.DefaultPipe->Name = "Old default";
    source->ConfigOptions.DefaultPipe->NominalDiameterImperialString = "6\"";
    source->SetisometricDrawing(); // not in a file of this age
    TEarlySettings early;
    early.FlowBalance = 0.00002; // m³/s in this layout

    TLoaded loaded(WriteAs(*source, "2.0", nullptr, early), 1);
    ASSERT_TRUE(loaded.Ui.Messages.empty()) << loaded.Texts().front();
    const TNetwork &n = *loaded.Network;
    const TConfigOptions &c = n.ConfigOptions;
    EXPECT_EQ(c.UnitOfMassFlow, unt_lb_min);
    EXPECT_EQ(c.UnitOfEnergy, unt_HP);
    EXPECT_EQ(c.UnitOfGasFlow, unt_SCFM);
    EXPECT_EQ(c.GasFlowTemperaturePressureModel, std_68degF_14pt696Psi);
    EXPECT_EQ(c.ResultsColorItem, ResultsVelocity);
    EXPECT_FALSE(c.ShowPipeMassFlowRate);
    EXPECT_DOUBLE_EQ(c.CalculationParameters[20], 0.00002 * 850);
    EXPECT_DOUBLE_EQ(c.CalculationParameters[9], 0.00002 * 850);
    EXPECT_EQ(n.FluidZonesCount, 1);
    EXPECT_EQ(n.FluidZones[1].Fluid.name, "Oil");
    EXPECT_EQ(n.FluidZones[1].Color, static_cast<TColor>(0xFFFFFF));
    EXPECT_TRUE(n.FluidZones[1].ShowColor);
    EXPECT_FALSE(n.IsometricDrawing);
    EXPECT_DOUBLE_EQ(n.SymbolScale, 1.0);
    EXPECT_EQ(c.DefaultPipe->Name, "Old default");
    EXPECT_EQ(c.DefaultPipe->NominalDiameterMetricString, "6\"");
}

TEST(NetworkFile, DerivedUnitsOfOldFilesFollowTheFlowUnit)
{
    struct Case {
        TUnit flow;
        TUnit density;
        TUnit massFlow;
        TUnit energy;
        TUnit gasFlow;
    };
    const Case cases[] = {
        {unt_m3_sec, unt_kg_m3, unt_kg_sec, unt_KW, unt_SCMH},
        {unt_L_min, unt_kg_m3, unt_kg_min, unt_KW, unt_SCMH},
        {unt_L_hour, unt_kg_m3, unt_kg_hour, unt_KW, unt_SCMH},
        {unt_inch3_sec, unt_kg_m3, unt_lb_sec, unt_HP, unt_SCFM},
        {unt_Barrels_Oil_min, unt_kg_m3, unt_lb_min, unt_HP, unt_SCFM},
        {unt_MGD_UK, unt_kg_m3, unt_lb_hour, unt_HP, unt_SCFM},
        {unt_Barrels_Oil_day, unt_kg_m3, unt_lb_hour, unt_HP, unt_SCFM},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(static_cast<int>(k.flow));
        auto source = PlainNetwork();
        source->ConfigOptions.UnitOfFlow = k.flow;
        source->ConfigOptions.UnitOfDensity = k.density;
        TLoaded loaded(WriteAs(*source, "2.061"), 1);
        ASSERT_TRUE(loaded.Ui.Messages.empty());
        EXPECT_EQ(loaded.Network->ConfigOptions.UnitOfMassFlow, k.massFlow);
        EXPECT_EQ(loaded.Network->ConfigOptions.UnitOfEnergy, k.energy);
        EXPECT_EQ(loaded.Network->ConfigOptions.UnitOfGasFlow, k.gasFlow);
    }

    // Between the zones and the gas-flow unit the stored mass-flow unit decides.
    auto source = PlainNetwork();
    source->ConfigOptions.UnitOfMassFlow = unt_kg_hour;
    source->ConfigOptions.UnitOfGasFlow = unt_SCFM;
    TLoaded loaded(WriteAs(*source, "6.40"), 1);
    EXPECT_EQ(loaded.Network->ConfigOptions.UnitOfGasFlow, unt_SCMH);
    EXPECT_EQ(loaded.Network->ConfigOptions.GasFlowTemperaturePressureModel, std_15degC_101325Pa);
}

TEST(NetworkFile, StoredZeroToleranceAndZeroCompressibilityFactorAreReplaced)
{
    auto source = PlainNetwork();
    source->ConfigOptions.NodeBalancingToleranceFinal_bar = 0;
    source->ConfigOptions.ZCompressibilityFactor = 0;
    TLoaded loaded(WriteAs(*source, "7.40"));
    EXPECT_DOUBLE_EQ(loaded.Network->ConfigOptions.NodeBalancingToleranceFinal_bar, 0.000018);
    EXPECT_DOUBLE_EQ(loaded.Network->ConfigOptions.ZCompressibilityFactor, 1.0);

    TEarlySettings early;
    early.NodeTolerance_bar = 0.0000005;
    TLoaded old(WriteAs(*source, "6.00", nullptr, early), 1);
    EXPECT_DOUBLE_EQ(old.Network->ConfigOptions.NodeBalancingToleranceFinal_bar, 0.000018);
}

TEST(NetworkFile, BackgroundImagesFromTheirVersionOnly)
{
    auto source = NewNetwork();
    BuildFullNetwork(*source);
    TLoaded before(WriteAs(*source, "7.07"));
    EXPECT_EQ(before.Network->BackgroundImagesCount, 0);
    EXPECT_FALSE(before.Network->BackgroundImages[1].Bitmap);
    TLoaded from(WriteAs(*source, "7.08"));
    EXPECT_EQ(from.Network->BackgroundImagesCount, 1);
    EXPECT_EQ(from.Network->BackgroundImages[1].ImageStretchWidth, 800);
}

// --- Notices ------------------------------------------------------------------------

namespace {

const std::string ComponentNotice410 =
    "The system being loaded was saved with a previous version of Tessaran: Version 4.10\r\r"
    "Due to a specific issue with program release 4.10, pressure loss component data could have been saved "
    "incorrectly.\r\r"
    "Pressure loss component data means the data associated with a Fixed Loss Component or Curve Loss Component "
    "on a pipe.\r\r"
    "Most systems will be unaffected by this issue however as a precaution we recommend that you should\r"
    "REVIEW ANY PRESSURE LOSS COMPONENTS IN YOUR SYSTEM TO ENSURE THE DATA IS VALID. \r";

std::string OldVersionNotice(const std::string &version)
{
    return "The system being loaded was saved with an old version of the software (version " + version +
           ")\r\r"
           "Note: The current version (7.40) requires the following:\r\r"
           "  1. Fittings are specified at the start or end of a pipe\r"
           "  2. Pumps are specified at the start of a pipe\r"
           "  3. Components are specified at the end of a pipe (for gas systems)\r\r"
           "The software will automatically update the position of these items.\r\r"
           "In most cases any updates will not affect the calculations, however updating a Pump's position may "
           "change the NPSH available calculation since previously a component may have been positioned on the "
           "same pipe but in front of the pump. \r\r"
           "After loading, please check that the 'arrangement' of the model meets your requirements.\r\r";
}

const std::string OffSheetNotice =
    "The system has nodes that have been moved off the visible grid.\r\r"
    "In previous versions of the software, the selection tool did not stop the user if they attempted to move "
    "items off the grid.\r\r"
    "Any pipes or nodes that are not within the visible grid area will be removed. \r";

} // namespace

TEST(NetworkFile, ComponentNoticeOnlyForTheTwoAffectedReleasesWithAComponent)
{
    struct Case {
        const char *version;
        bool withComponent;
        bool closedPipe;
        bool notice;
    };
    const Case cases[] = {
        {"4.10", true, false, true}, {"4.11", true, true, true},    {"4.10", false, false, false},
        {"4.1", true, false, false}, {"4.12", true, false, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.version);
        auto source = PlainNetwork();
        if (k.withComponent) {
            TPipe &pipe = source->GetPipe(2);
            pipe.ComponentPressureCount = 1;
            pipe.ComponentPressure.FixedPressureLoss_mHd = 2;
            if (k.closedPipe)
                source->RemoveNodeLinkAddClosedPipeLink(2);
        }
        TLoaded loaded(WriteAs(*source, k.version), 1);
        std::string notice = ComponentNotice410;
        for (std::size_t at = notice.find("4.10"); at != std::string::npos; at = notice.find("4.10", at + 1))
            notice.replace(at, 4, k.version);
        EXPECT_EQ(loaded.Texts(), k.notice ? std::vector<std::string>{notice} : std::vector<std::string>{});
        if (k.notice)
            EXPECT_EQ(loaded.Ui.Messages.front().Kind, TMessageKind::Warning);
        EXPECT_EQ(loaded.Network->GetPipeCount(), 2);
    }
}

TEST(NetworkFile, OldVersionNoticeUpToVersion639UnlessGeneratingTestResults)
{
    struct Case {
        const char *version;
        int testResultsMode;
        bool notice;
    };
    const Case cases[] = {
        {"6.39", 0, true}, {"6.3", 0, true}, {"2.063", 0, true}, {"6.391", 0, false},
        {"6.4", 0, false}, {"7.40", 0, false}, {"6.39", 1, false}, {"5.00", 2, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.version);
        auto source = PlainNetwork();
        TLoaded loaded(WriteAs(*source, k.version), k.testResultsMode);
        EXPECT_EQ(loaded.Texts(),
                  k.notice ? std::vector<std::string>{OldVersionNotice(k.version)} : std::vector<std::string>{});
        if (k.notice)
            EXPECT_EQ(loaded.Ui.Messages.front().Kind, TMessageKind::Information);
        EXPECT_EQ(loaded.Network->GetNodeCount(), 3); // the notice does not stop the load
    }
}

TEST(NetworkFile, NodesOffTheSheetAreRemovedWithTheirPipesAfterAWarning)
{
    auto source = PlainNetwork();
    const int outside = AddJoint(*source, TNetwork::SheetWidth + 200, 400);
    const int pipe = AddPipeBetween(*source, 3, outside);
    ASSERT_GT(pipe, 0);
    TLoaded loaded(SavedBytes(*source));
    EXPECT_EQ(loaded.Texts(), std::vector<std::string>{OffSheetNotice});
    EXPECT_EQ(loaded.Ui.Messages.front().Kind, TMessageKind::Warning);
    EXPECT_EQ(loaded.Network->GetNodeCount(), 3);
    EXPECT_EQ(ActivePipes(*loaded.Network), (std::vector<int>{1, 2}));
    EXPECT_FALSE(loaded.Network->PipeSet.PipeArray.IsUsed(pipe));
}

// --- Demand flows and equivalent flows after loading ---------------------------------

TEST(NetworkFile, LoadMakesDemandAndSetFlowsEquivalentInTheirZoneFluid)
{
    auto source = PlainNetwork();
    source->FluidZonesCount = 2;
    source->FluidZones[2].Fluid.SetToAir();
    const int gasJoint = AddJoint(*source, 1200, 1200);
    const int gasPipe = AddPipeBetween(*source, 2, gasJoint, 2);
    TNode &gas = source->GetNode(gasJoint);
    gas.JointDemandUseFlowType = VolumeFlow;
    gas.JointDischarge_m3s = 0.5;
    TNode &liquid = source->GetNode(2);
    liquid.JointDemandUseFlowType = GasFlow;
    liquid.JointDischarge_kgs = 3;
    TPipe &valved = source->GetPipe(1);
    valved.FlowControlCount = 1;
    valved.FlowControl.FlowControl_m3s = 0.002;
    source->GetPipe(gasPipe).Pump.SetFlowRate_m3s = 0.1;

    TLoaded loaded(SavedBytes(*source));
    ASSERT_TRUE(loaded.Ui.Messages.empty());
    const TNetwork &n = *loaded.Network;
    const TNode &gasLoaded = n.GetNode(gasJoint);
    EXPECT_EQ(gasLoaded.JointDemandUseFlowType, GasFlow);
    EXPECT_NEAR(gasLoaded.JointDischarge_kgs, 0.5 * n.FluidZones[2].Fluid.density_kgs_m3, 1e-9);
    EXPECT_GT(gasLoaded.JointDischarge_SCMH, 0);
    const TNode &liquidLoaded = n.GetNode(2);
    EXPECT_EQ(liquidLoaded.JointDemandUseFlowType, MassFlow);
    EXPECT_NEAR(liquidLoaded.JointDischarge_m3s, 3 / n.FluidZones[1].Fluid.density_kgs_m3, 1e-12);
    EXPECT_NEAR(n.GetPipe(1).FlowControl.FlowControl_kgs, 0.002 * n.FluidZones[1].Fluid.density_kgs_m3, 1e-9);
    EXPECT_NEAR(n.GetPipe(gasPipe).Pump.SetFlowRate_kgs, 0.1 * n.FluidZones[2].Fluid.density_kgs_m3, 1e-9);
}

// --- Damaged files ----------------------------------------------------------------

TEST(NetworkFile, DamagedFilesAreRefusedAndLeaveAClearedNetwork)
{
    auto source = NewNetwork();
    BuildFullNetwork(*source);
    TLayoutMarks m;
    const std::vector<std::uint8_t> good = WriteAs(*source, "7.40", &m);
    const std::int64_t link1 = m.NodeLinksCount + 4;

    struct Case {
        const char *what;
        std::int64_t at;
        std::int32_t value;
    };
    const Case cases[] = {
        {"no fluid zone", m.FluidZonesCount, 0},
        {"21 fluid zones", m.FluidZonesCount, 21},
        {"negative zone count", m.FluidZonesCount, -1},
        {"node table count above its capacity", m.NodeTable, 1001},
        {"pipe table count above its capacity", m.PipeTable, 5000},
        {"1001 links", m.NodeLinksCount, 1001},
        {"negative link count", m.NodeLinksCount, -3},
        {"more links than stored", m.NodeLinksCount, 40},
        {"link from a node not in use", link1, 17},
        {"link to node id 0", link1 + 4, 0},
        {"link to a node id beyond the table", link1 + 4, 1001},
        {"link of a pipe not in use", link1 + 8, 999},
        {"link of a negative pipe id", link1 + 8, -2},
        {"pipe linked twice", link1 + 12 + 8, 1},
        {"closed pipe also active", m.ClosedLinksCount + 4 + 8, 1},
        {"1001 closed links", m.ClosedLinksCount, 1001},
        {"1001 loops", m.PipeLoopsCount, 1001},
        {"loops beyond the end of the file", m.PipeLoopsCount, 900},
        {"loop entry beyond the pipe table", m.PipeLoopsCount + 4, 1001},
        {"negative loop entry", m.PipeLoopsCount + 8, -1},
        {"1001 free texts", m.FreeTextsCount, 1001},
        {"more free texts than stored", m.FreeTextsCount, 3},
        {"11 background images", m.BackgroundImagesCount, 11},
        {"picture longer than the file", m.BackgroundImagesCount + 4, 1 << 30},
        {"negative picture length", m.BackgroundImagesCount + 4, -5},
        {"picture that is no bitmap", m.BackgroundImagesCount + 8, 0x01020304},
        {"second image missing", m.BackgroundImagesCount, 2},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        std::vector<std::uint8_t> bytes = good;
        PutInt32(bytes, k.at, k.value);
        TLoaded loaded(bytes);
        EXPECT_EQ(loaded.Texts(), std::vector<std::string>{FormatError});
        EXPECT_TRUE(loaded.IsCleared());
    }
}

TEST(NetworkFile, EnumerationsOutOfRangeAreRefused)
{
    auto source = PlainNetwork();
    TLayoutMarks m;
    const std::vector<std::uint8_t> good = WriteAs(*source, "7.40", &m);
    // Offsets within the settings: reference, atmosphere, 16 + 2 + 1 units,
    // the gas-flow model, 28 flags, 3 sizes, then the three methods.
    const std::int64_t units = m.Settings + 1 + 8;
    const std::int64_t gasModel = units + 19;
    const std::int64_t methods = gasModel + 1 + 28 + 12;
    const std::int64_t zModel = methods + 4 + 46 * 8 + 8;
    const std::int64_t colourItem = zModel + 1 + 8 + 8 + 1 + 12;
    struct Case {
        const char *what;
        std::int64_t at;
        std::uint8_t value;
    };
    const Case cases[] = {
        {"pressure reference", m.Settings, 2},
        {"first unit", units, static_cast<std::uint8_t>(TUnitCount)},
        {"gas-flow unit", units + 18, 255},
        {"gas standard conditions", gasModel, static_cast<std::uint8_t>(TGasFlowTemperaturePressureModelCount)},
        {"method of solution", methods, static_cast<std::uint8_t>(TMethodOfSolutionCount)},
        {"liquid equation", methods + 1, static_cast<std::uint8_t>(TMethodOfCalculationNonCompressibleCount)},
        {"gas equation", methods + 2, static_cast<std::uint8_t>(TMethodOfCalculationCompressibleCount)},
        {"compressibility model", zModel, static_cast<std::uint8_t>(TZCompressibilityModelCount)},
        {"colour item", colourItem, static_cast<std::uint8_t>(TResultsColorItemEnumCount)},
    };
    ASSERT_EQ(colourItem + 1, m.DefaultPipe);
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        std::vector<std::uint8_t> bytes = good;
        bytes.at(static_cast<std::size_t>(k.at)) = k.value;
        TLoaded loaded(bytes);
        EXPECT_EQ(loaded.Texts(), std::vector<std::string>{FormatError});
        EXPECT_TRUE(loaded.IsCleared());
    }
}

TEST(NetworkFile, EveryTruncationIsRefused)
{
    auto source = NewNetwork();
    BuildFullNetwork(*source);
    const std::vector<std::uint8_t> good = SavedBytes(*source);
    // Every length inside the network-level fields and a spread through the rest.
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length < 400; ++length)
        lengths.push_back(length);
    for (std::size_t length = 400; length < good.size(); length += good.size() / 97 + 1)
        lengths.push_back(length);
    for (std::size_t tail = 1; tail <= 40; ++tail)
        lengths.push_back(good.size() - tail);
    TLoaded loaded;
    for (std::size_t length : lengths) {
        const std::vector<std::uint8_t> bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        loaded.Reload(bytes);
        ASSERT_EQ(loaded.Texts(), std::vector<std::string>{FormatError}) << "length " << length;
        ASSERT_TRUE(loaded.IsCleared()) << "length " << length;
    }
    // So is a whole file with anything after it.
    for (const std::vector<std::uint8_t> &junk : {std::vector<std::uint8_t>{0}, std::vector<std::uint8_t>(300, 'x')}) {
        std::vector<std::uint8_t> bytes = good;
        bytes.insert(bytes.end(), junk.begin(), junk.end());
        loaded.Reload(bytes);
        EXPECT_EQ(loaded.Texts(), std::vector<std::string>{FormatError}) << junk.size();
        EXPECT_TRUE(loaded.IsCleared());
    }
}

// Flipped bits either leave a readable file or are refused; never a crash
// or a half-loaded network.
TEST(NetworkFile, FlippedBitsNeverHalfLoad)
{
    auto source = NewNetwork();
    BuildFullNetwork(*source);
    const std::vector<std::uint8_t> good = SavedBytes(*source);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
    std::uniform_int_distribution<int> bit(0, 7);
    int refused = 0;
    TLoaded loaded;
    TLoaded reloaded;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes = good;
        for (int flips = 0; flips < 1 + round % 4; ++flips)
            bytes[position(random)] ^= static_cast<std::uint8_t>(1 << bit(random));
        loaded.Reload(bytes);
        bool formatError = false;
        for (const auto &text : loaded.Texts())
            formatError = formatError || text == FormatError;
        if (formatError) {
            ++refused;
            ASSERT_TRUE(loaded.IsCleared()) << "round " << round;
        } else {
            // A readable result saves and reads back to itself.
            const std::vector<std::uint8_t> again = SavedBytes(*loaded.Network);
            reloaded.Reload(again);
            ASSERT_EQ(SavedBytes(*reloaded.Network), again) << "round " << round;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(NetworkFile, LoadReplacesEverythingOfThePreviousNetwork)
{
    auto network = NewNetwork();
    BuildFullNetwork(*network);
    auto plain = PlainNetwork();
    LoadBytes(*network, SavedBytes(*plain));
    EXPECT_EQ(SavedBytes(*network), SavedBytes(*plain));

    // A refused file also drops what was there before, down to the pump
    // sheet of the default pipe, which a plain reset of the pump keeps.
    BuildFullNetwork(*network);
    TImportedPumpSheet &sheet = network->ConfigOptions.DefaultPipe->Pump.ImportedPumpSheet;
    sheet.pointsCount = 2;
    sheet.Points[1].X = 77;
    sheet.EfficPoints[2] = 61;
    std::vector<std::uint8_t> bytes = SavedBytes(*plain);
    bytes.resize(bytes.size() - 1);
    LoadBytes(*network, bytes);
    EXPECT_EQ(SavedBytes(*network), EmptyNetworkBytes());

    // A file from before pump sheets takes none over from the network before.
    sheet.pointsCount = 2;
    sheet.Points[1].X = 77;
    LoadBytes(*network, WriteAs(*plain, "5.11"));
    EXPECT_EQ(network->ConfigOptions.DefaultPipe->Pump.ImportedPumpSheet.pointsCount, 0);
    EXPECT_EQ(network->ConfigOptions.DefaultPipe->Pump.ImportedPumpSheet.Points[1].X, 0);
}

TEST(NetworkFile, ImageSlotWithoutPicturesIsStoredAsEmptyPictures)
{
    auto source = PlainNetwork();
    source->BackgroundImagesCount = 1;
    source->BackgroundImages[1].ImageX = 40;
    TLoaded loaded(SavedBytes(*source));
    ASSERT_TRUE(loaded.Ui.Messages.empty());
    const TBackgroundImage &image = loaded.Network->BackgroundImages[1];
    ASSERT_TRUE(image.Bitmap && image.BitmapAdjusted);
    EXPECT_TRUE(image.Bitmap->Empty());
    EXPECT_TRUE(image.BitmapAdjusted->Empty());
    EXPECT_EQ(image.OrigX, 40);
    EXPECT_EQ(SavedBytes(*loaded.Network), SavedBytes(*source));
}
