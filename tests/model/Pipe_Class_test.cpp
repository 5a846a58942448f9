#include "model/Pipe_Class.h"

#include "Byte_Fixture.h"
#include "platform/Stream.h"
#include "units/Calculations.h"
#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace tessaran {
namespace {

using test::ByteFixture;

constexpr double Pi = std::numbers::pi;

// A pipe with something in every field that the record stores.
void FillPipe(TPipe &pipe)
{
    pipe.Name = "P-101";
    pipe.Length_m = 123.5;
    pipe.InnerDiameter_m = 0.1023;
    pipe.InnerRoughness_m = 4.6e-5;
    pipe.Material = "Carbon Steel";
    pipe.NominalDiameterMetric = 100;
    pipe.NominalDiameterMetricString = "100 mm";
    pipe.NominalDiameterImperialString = "4\"";
    pipe.SpecificationReference = "ASME B36.10";
    pipe.ScheduleClass = "Sch 40";
    pipe.OuterDiameter_m = 0.1143;
    pipe.WallThickness_m = 0.00602;
    pipe.WeightPerMetre_kg = 16.07;
    pipe.FluidZoneIndex = 3;
    pipe.LineColor = 0x00FF00;
    pipe.LineWidth = 2;
    pipe.LineStyle = TBrushStyle::bsCross;
    pipe.PipeDataFilename = "PipeTables/steel.trpi";
    pipe.labelPositionPercentageAlongPipe = 30;
    pipe.labelx = -7;
    pipe.labely = 9;
    pipe.CompressedFlowFactor = 1.0;
    pipe.FlowUncompressed_m3s = 0.0123;
    pipe.FittingsUseInCalc = false;
    TFitting bend;
    bend.SetFittingData(100, 1, "Bend", "100", "4\"", "Long radius bend", 0.3);
    pipe.FittingSet.AddFitting(bend, 2, EntryFitting);
    TFitting exit;
    exit.SetFittingData(0, 3, "ExitCon", "", "", "Exit", 1.0);
    pipe.FittingSet.AddFitting(exit, 1, ExitFitting);
    pipe.FittingsPositionPercentageAlongPipe = 40;
    pipe.EntryFittingsx = 11;
    pipe.EntryFittingsy = 12;
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressureUseInCalc = false;
    pipe.ComponentPressure.Name = "Strainer";
    pipe.ComponentPressure.FixedPressureLoss_mHd = 2.5;
    pipe.ComponentPressurePositionPercentageAlongPipe = 60;
    pipe.ComponentPressurex = 13;
    pipe.ComponentPressurey = 14;
    pipe.FlowControlCount = 1;
    pipe.FlowControlUseInCalc = false;
    pipe.FlowControl.Name = "PRV-1";
    pipe.FlowControl.ControlType = PRV;
    pipe.FlowControl.RegulatedPressure_Bar_g = 3.5;
    pipe.PreventBackflow = true;
    pipe.FlowControlPositionPercentageAlongPipe = 70;
    pipe.FlowControlx = 15;
    pipe.FlowControly = 16;
    pipe.PumpCount = 1;
    pipe.PumpUseInCalc = false;
    pipe.Pump.PumpType = PumpFixedHead;
    pipe.Pump.SetFixedHead_FluidHead_m = 25;
    pipe.PumpDistanceFromStartOfPipe_m = 5;
    pipe.PumpPositionPercentageAlongPipe = 20;
    pipe.PumpElevation_m = 1.5;
    pipe.Velocity_ms = 1.5;
    pipe.ReynoldsNumber = 150000;
    pipe.FlowType = "Turbulent";
    pipe.PipeFrictionLoss_mHd_Fluid = 3.25;
    pipe.FittingsLoss_mHd_Fluid = 0.75;
    pipe.Notes = {"Insulated", "Café line"};
}

std::vector<std::uint8_t> SavedBytes(TPipe &pipe, const std::string &version)
{
    TMemoryStream stream;
    pipe.Save(stream, version);
    return stream.Bytes();
}

TEST(Pipe, ClearGivesTheDefaults)
{
    TPipe pipe;
    FillPipe(pipe);
    pipe.Selected = true;
    pipe.Clear();
    EXPECT_EQ(pipe.Name, "");
    EXPECT_EQ(pipe.FluidZoneIndex, 1);
    EXPECT_EQ(pipe.FlowType, "NotSet");
    EXPECT_EQ(pipe.CompressedFlowFactor, 1.0);
    EXPECT_EQ(pipe.LineStyle, TBrushStyle::bsSolid);
    EXPECT_EQ(pipe.labelPositionPercentageAlongPipe, 50);
    EXPECT_EQ(pipe.FittingsPositionPercentageAlongPipe, 50);
    EXPECT_TRUE(pipe.FittingsUseInCalc && pipe.ComponentPressureUseInCalc && pipe.FlowControlUseInCalc &&
                pipe.PumpUseInCalc);
    EXPECT_EQ(pipe.FittingSet.FittingCount, 0);
    EXPECT_EQ(pipe.PumpCount + pipe.ComponentPressureCount + pipe.FlowControlCount, 0);
    EXPECT_EQ(pipe.ComponentPressure.Name, "");
    EXPECT_EQ(pipe.Pump.SetFixedHead_FluidHead_m, 0);
    // Of the flow control only its name and set flow go.
    EXPECT_EQ(pipe.FlowControl.Name, "");
    EXPECT_EQ(pipe.FlowControl.RegulatedPressure_Bar_g, 3.5);
    EXPECT_FALSE(pipe.PreventBackflow);
    EXPECT_FALSE(pipe.Selected);
    EXPECT_TRUE(pipe.Notes.empty());
}

TEST(Pipe, CopyTakesInputsItemsAndFlowResultsButNotThePumpPosition)
{
    TPipe from;
    FillPipe(from);
    from.Selected = true;
    from.FrictionFactor = 0.02;
    from.TotalPressureLossWithElevationChange_Bar = 9;
    from.equivPipeLengthForFittings_m = 8;
    TPipe to;
    to.PumpDistanceFromStartOfPipe_m = 42;
    to.Copy(from);
    EXPECT_EQ(SavedBytes(to, "7.40").size(), SavedBytes(from, "7.40").size());
    EXPECT_EQ(to.Name, "P-101");
    EXPECT_EQ(to.FittingSet.FittingCount, 2);
    EXPECT_EQ(to.ComponentPressure.Name, "Strainer");
    EXPECT_EQ(to.FlowControl.Name, "PRV-1");
    EXPECT_EQ(to.Pump.SetFixedHead_FluidHead_m, 25);
    EXPECT_EQ(to.PumpCount, 1);
    EXPECT_TRUE(to.Selected);
    EXPECT_EQ(to.FrictionFactor, 0.02);
    EXPECT_EQ(to.Notes, from.Notes);
    EXPECT_EQ(to.PumpPositionPercentageAlongPipe, 0);
    EXPECT_EQ(to.PumpDistanceFromStartOfPipe_m, 42);
    EXPECT_EQ(to.TotalPressureLossWithElevationChange_Bar, 0);
    EXPECT_EQ(to.equivPipeLengthForFittings_m, 0);

    TPipe bare;
    bare.PumpCount = 0;
    bare.ComponentPressure.Name = "own";
    bare.CopyWithoutComponents(from);
    EXPECT_EQ(bare.Name, "P-101");
    EXPECT_EQ(bare.PumpCount, 0);
    EXPECT_EQ(bare.ComponentPressureCount, 0);
    EXPECT_EQ(bare.ComponentPressure.Name, "own");
    EXPECT_FALSE(bare.PreventBackflow);
}

TEST(Pipe, NominalSizeTextsFollowTheDiameterUnit)
{
    TPipe pipe;
    FillPipe(pipe);
    pipe.InnerDiameter_m = 0.0525;
    EXPECT_EQ(pipe.getNominalDiameterString(unt_mm), "100 mm");
    EXPECT_EQ(pipe.getNominalDiameterString(unt_m), "100 mm");
    EXPECT_EQ(pipe.getNominalDiameterString(unt_inch), "4\"");
    EXPECT_EQ(pipe.getNominalDiameterString(unt_ft), "4\"");
    EXPECT_EQ(pipe.getNominalDiameterLabelString(unt_inch), "Nom: 4\"");
    EXPECT_EQ(pipe.GetPipeNameSizeString(unt_mm), "P-101, Carbon Steel, 100 mm ");
    const std::string id = formatForUnit(unt_mm, 52.5) + " mm";
    EXPECT_EQ(pipe.GetPipeInternalDiameterString(unt_mm), id);
    EXPECT_EQ(pipe.GetPipeNameSizeInternalDiameterString(unt_mm), "P-101, Carbon Steel, 100 mm ,ID=" + id);
    pipe.FlowType = "  Laminar ";
    EXPECT_EQ(pipe.getFlowType(), "Laminar");
    EXPECT_DOUBLE_EQ(pipe.InternalVolume_m3_m(), Pi * 0.0525 * 0.0525 / 4);
    EXPECT_DOUBLE_EQ(pipe.SurfaceArea_m2_m(), Pi * 0.1143);
}

TEST(Pipe, SizeChecksAcceptTheirBoundsAndNameTheValues)
{
    struct Case {
        double od, id, wall;
        bool ok;
    } cases[] = {
        {0.1, 1.05 * 0.1, 0, true},   {0.1, 0.95 * 0.1, 0, true},  {0.1, 1.0501 * 0.1, 0, false},
        {0.1, 0.9499 * 0.1, 0, false}, {0.1, 0.09, 0.005, true},
    };
    for (const auto &c : cases) {
        TPipe pipe;
        pipe.OuterDiameter_m = c.od;
        pipe.InnerDiameter_m = c.id;
        pipe.WallThickness_m = c.wall;
        bool ok = !c.ok;
        std::string message = "stale";
        pipe.CheckPipeSizeIDMatchOD(unt_mm, ok, message);
        EXPECT_EQ(ok, c.ok) << c.id;
        if (c.ok)
            EXPECT_EQ(message, "");
        else
            EXPECT_EQ(message, " Inconsistent data: Outer Diameter (" + formatForUnit(unt_mm, c.od * 1000) +
                                   "mm), Inner Diameter (" + formatForUnit(unt_mm, c.id * 1000) +
                                   "mm), Wall Thickness (" + formatForUnit(unt_mm, 0) + "mm)");
    }

    struct FittingCase {
        int size;
        bool ok;
    } fittings[] = {{150, true}, {148, true}, {147, false}, {0, true}, {-1, true}, {160, true}, {161, false}};
    TPipe pipe;
    pipe.NominalDiameterMetric = 160;
    for (const auto &c : fittings) {
        TFitting fitting;
        fitting.MetricSize = c.size;
        bool ok = !c.ok;
        std::string message;
        pipe.CheckFittingSizeMatch(unt_mm, fitting, ok, message);
        EXPECT_EQ(ok, c.ok) << c.size;
        if (!c.ok) {
            EXPECT_EQ(message, " Inconsistent data: Nominal Fitting Size (" + formatForUnit(unt_mm, c.size) +
                                   "mm), Nominal Pipe Size (" + formatForUnit(unt_mm, 160) + "mm)");
        }
    }
}

TEST(Pipe, PumpAddAndRemoveGuardTheCount)
{
    TPipe pipe;
    TPump pump;
    pump.PumpType = PumpFixedHead;
    pump.SetFixedHead_FluidHead_m = 12;
    EXPECT_THROW(
        {
            try {
                pipe.RemovePump();
            } catch (const EPipeClass &e) {
                EXPECT_STREQ(e.what(), "TPipe.RemovePump Failed: Pipe May not have contained a pump");
                throw;
            }
        },
        EPipeClass);
    pipe.AddPump(pump);
    EXPECT_EQ(pipe.PumpCount, 1);
    EXPECT_EQ(pipe.Pump.SetFixedHead_FluidHead_m, 12);
    try {
        pipe.AddPump(pump);
        ADD_FAILURE();
    } catch (const EPipeClass &e) {
        EXPECT_STREQ(e.what(), "TPipe.AddPump Failed: Pipe may already have a pump");
    }
    pipe.RemovePump();
    EXPECT_EQ(pipe.PumpCount, 0);
    EXPECT_EQ(pipe.Pump.SetFixedHead_FluidHead_m, 0);

    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.Name = "x";
    pipe.RemoveComponentPressure();
    EXPECT_EQ(pipe.ComponentPressureCount, 0);
    EXPECT_EQ(pipe.ComponentPressure.Name, "");
    pipe.FlowControlCount = 1;
    pipe.FlowControl.Name = "v";
    pipe.FlowControlPositionPercentageAlongPipe = 30;
    pipe.RemoveFlowControl();
    EXPECT_EQ(pipe.FlowControlCount, 0);
    EXPECT_EQ(pipe.FlowControl.Name, "");
    EXPECT_EQ(pipe.FlowControlPositionPercentageAlongPipe, 0);
}

TEST(PipeRecord, APipeWithEveryItemRoundTripsByteForByte)
{
    TPipe pipe;
    FillPipe(pipe);
    // Loading zeroes the pump position, so only a pipe without one can
    // come back byte for byte.
    pipe.PumpDistanceFromStartOfPipe_m = 0;
    pipe.PumpPositionPercentageAlongPipe = 0;
    const std::vector<std::uint8_t> bytes = SavedBytes(pipe, "7.40");
    TMemoryStream stream(bytes);
    TPipe loaded;
    loaded.Load(stream, "7.40");
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(SavedBytes(loaded, "7.40"), bytes);
    EXPECT_EQ(loaded.Name, "P-101");
    EXPECT_EQ(loaded.FluidZoneIndex, 3);
    EXPECT_EQ(loaded.LineStyle, TBrushStyle::bsCross);
    EXPECT_TRUE(loaded.PreventBackflow);
    EXPECT_EQ(loaded.FittingSet.FittingCount, 2);
    EXPECT_EQ(loaded.FittingSet.GetFittingPosition(2), ExitFitting);
    EXPECT_EQ(loaded.ComponentPressure.Name, "Strainer");
    EXPECT_EQ(loaded.ComponentPressure.FixedPressureLoss_mHd, 2.5);
    EXPECT_EQ(loaded.FlowControl.ControlType, PRV);
    EXPECT_EQ(loaded.Pump.SetFixedHead_FluidHead_m, 25);
    EXPECT_EQ(loaded.PumpElevation_m, 1.5);
    EXPECT_EQ(loaded.PumpDistanceFromStartOfPipe_m, 0);
    EXPECT_EQ(loaded.PumpPositionPercentageAlongPipe, 0);
    EXPECT_EQ(loaded.Notes, pipe.Notes);
    EXPECT_EQ(loaded.FlowType, "Turbulent");
}

// The bytes of an embedded record as the item's loader of `version` reads
// them: the leading part of the current record that the loader consumes.
std::vector<std::uint8_t> AsReadBy(const std::function<void(TStream &)> &saveCurrent,
                                   const std::function<void(TStream &)> &loadVersion)
{
    TMemoryStream stream;
    saveCurrent(stream);
    stream.Seek(0);
    loadVersion(stream);
    return std::vector<std::uint8_t>(stream.Bytes().begin(), stream.Bytes().begin() + stream.Position());
}

// The pipe record of FillPipe (without fittings, its items cleared) as a
// version lays it out, built field by field.
std::vector<std::uint8_t> VersionRecord(const std::string &version, bool metricText, bool zone, bool lineStyle,
                                        bool preventBackflow, double pumpDistance, double pumpPosition,
                                        std::uint8_t filler)
{
    ByteFixture f;
    auto append = [&](const std::vector<std::uint8_t> &b) { f.bytes.insert(f.bytes.end(), b.begin(), b.end()); };
    f.Short("P-101", 20, filler).Double(123.5).Double(0.1023).Double(4.6e-5).Short("Carbon Steel", 40, filler);
    f.Int32(100);
    if (metricText)
        f.Short("100 mm", 20, filler);
    f.Short("4\"", 20, filler).Short("ASME B36.10", 20, filler).Short("Sch 40", 20, filler);
    f.Double(0.1143).Double(0.00602).Double(16.07);
    if (zone)
        f.Int32(3);
    if (lineStyle)
        f.Int32(0x00FF00).Int32(2).Byte(6);
    f.Short("PipeTables/steel.trpi", 100, filler).Double(30).Int32(-7).Int32(9).Double(1.0).Double(0.0123).Byte(0);
    f.Int32(0); // no fittings
    f.Double(40).Int32(11).Int32(12).Int32(1).Byte(0).Short("", 20, filler);
    append(AsReadBy([](TStream &s) { TComponentPressure().Save(s, "7.40", false); },
                    [&](TStream &s) { TComponentPressure().Load(s, version, false); }));
    f.Double(60).Int32(13).Int32(14).Int32(1).Byte(0);
    append(AsReadBy([](TStream &s) { TFlowControl().Save(s, "7.40"); },
                    [&](TStream &s) { TFlowControl().Load(s, version); }));
    if (preventBackflow)
        f.Byte(1);
    f.Double(70).Int32(15).Int32(16).Int32(1).Byte(0);
    append(AsReadBy([](TStream &s) { TPump().Save(s, "7.40", 0.0, false); },
                    [&](TStream &s) { TPump().Load(s, version, 0.0, false); }));
    f.Double(pumpDistance).Double(pumpPosition).Double(1.5).Double(1.5).Double(150000);
    f.Short("Turbulent", 30, filler).Double(3.25).Double(0.75);
    f.Short("Insulated\r\nCaf\xE9 line", 200, filler);
    return f.bytes;
}

TEST(PipeRecord, EveryVersionGateReadsItsLayout)
{
    struct Case {
        std::string version;
        bool metricText, zone, lineStyle, preventBackflow;
    } cases[] = {
        {"7.40", true, true, true, true},     {"6.35", true, true, true, true},
        {"6.34", false, true, true, true},    {"2.063", false, true, true, true},
        {"2.062", false, false, true, true},  {"2.0", false, false, true, false},
        {"1.15", false, false, true, false},  {"1.10", false, false, false, false},
        {"0", false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        const auto bytes = VersionRecord(c.version, c.metricText, c.zone, c.lineStyle, c.preventBackflow, 5, 20, 0xCD);
        TMemoryStream stream(bytes);
        TPipe pipe;
        ASSERT_NO_THROW(pipe.Load(stream, c.version));
        EXPECT_EQ(stream.Remaining(), 0);
        EXPECT_EQ(pipe.Name, "P-101");
        EXPECT_EQ(pipe.NominalDiameterImperialString, "4\"");
        EXPECT_EQ(pipe.NominalDiameterMetricString, c.metricText ? "100 mm" : "4\"");
        EXPECT_EQ(pipe.SpecificationReference, "ASME B36.10");
        EXPECT_EQ(pipe.FluidZoneIndex, c.zone ? 3 : 1);
        EXPECT_EQ(pipe.LineStyle, c.lineStyle ? TBrushStyle::bsCross : TBrushStyle::bsSolid);
        EXPECT_EQ(pipe.LineWidth, c.lineStyle ? 2 : 0);
        EXPECT_EQ(pipe.PipeDataFilename, "PipeTables/steel.trpi");
        EXPECT_EQ(pipe.PreventBackflow, c.preventBackflow);
        EXPECT_EQ(pipe.FlowControlCount, 1);
        EXPECT_EQ(pipe.PumpElevation_m, 1.5);
        EXPECT_EQ(pipe.PumpDistanceFromStartOfPipe_m, 0);
        EXPECT_EQ(pipe.PumpPositionPercentageAlongPipe, 0);
        EXPECT_EQ(pipe.FittingsLoss_mHd_Fluid, 0.75);
        EXPECT_EQ(pipe.Notes, (std::vector<std::string>{"Insulated", "Café line"}));
    }
    // The writer lays out the current version exactly so.
    TMemoryStream stream(VersionRecord("7.40", true, true, true, true, 5, 20, 0xCD));
    TPipe pipe;
    pipe.Load(stream, "7.40");
    EXPECT_EQ(SavedBytes(pipe, "7.40"), VersionRecord("7.40", true, true, true, true, 0, 0, 0));
}

TEST(PipeRecord, NotesKeepTheirCharactersAndTheFileHoldsTheFirst200)
{
    TPipe pipe;
    const std::string longLine(250, 'n');
    pipe.Notes = {"Übergabe €", longLine};
    TPipe copy;
    copy.Copy(pipe);
    EXPECT_EQ(copy.Notes, pipe.Notes) << "nothing is cut in memory";

    TMemoryStream stream(SavedBytes(pipe, "7.40"));
    TPipe loaded;
    loaded.Load(stream, "7.40");
    ASSERT_EQ(loaded.Notes.size(), 2u);
    EXPECT_EQ(loaded.Notes[0], "Übergabe €");
    EXPECT_EQ(loaded.Notes[1], std::string(200 - 12, 'n'));
}

TEST(PipeRecord, DamagedRecordsRaiseAndLeaveThePipeCleared)
{
    TPipe full;
    FillPipe(full);
    const std::vector<std::uint8_t> good = SavedBytes(full, "7.40");
    // Offset of the component count: everything before it, from the layout.
    TMemoryStream probe;
    full.FittingSet.Save(probe, "7.40");
    const std::size_t fittingsAt = 21 + 24 + 41 + 4 + 21 * 4 + 24 + 4 + 9 + 101 + 8 + 8 + 8 + 8 + 1;
    const std::size_t componentCountAt = fittingsAt + probe.Bytes().size() + 8 + 8;
    const std::size_t zoneAt = 21 + 24 + 41 + 4 + 21 * 4 + 24;

    auto withInt = [&](std::size_t at, std::int32_t value) {
        auto bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes.at(at + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
        return bytes;
    };
    ASSERT_EQ(withInt(componentCountAt, 1), good);
    ASSERT_EQ(withInt(zoneAt, 3), good);

    struct Case {
        std::vector<std::uint8_t> bytes;
        bool streamError;
    } cases[] = {
        {withInt(componentCountAt, 2), false},
        {withInt(zoneAt, 0), false},
        {withInt(zoneAt, 21), false},
        {std::vector<std::uint8_t>(good.begin(), good.end() - 5), true},
    };
    for (const auto &c : cases) {
        TPipe pipe;
        FillPipe(pipe);
        TMemoryStream stream(c.bytes);
        if (c.streamError)
            EXPECT_THROW(pipe.Load(stream, "7.40"), EStreamError);
        else
            EXPECT_THROW(pipe.Load(stream, "7.40"), EPipeClass);
        EXPECT_EQ(pipe.Name, "");
        EXPECT_EQ(pipe.PumpCount, 0);
        EXPECT_EQ(pipe.FittingSet.FittingCount, 0);
        EXPECT_TRUE(pipe.Notes.empty());
    }
}

// --- Hydraulics -------------------------------------------------------------

TFluid Liquid(double density, double centipoise)
{
    TFluid fluid;
    fluid.density_kgs_m3 = density;
    fluid.centipoise = centipoise;
    fluid.degrees_K = 293.15;
    fluid.pressure_bar_g = 0;
    return fluid;
}

// The Darcy friction factor worked out independently: laminar, the linear
// critical zone, and the turbulent equation 1/sqrt(f) = 1.14 - 2 log10(e/D +
// 9.35 / (Re sqrt(f))) solved by bisection.
double ExpectedFrictionFactor(double Re, double D, double e)
{
    if (Re <= 2300)
        return 64 / Re;
    if (Re <= 3500)
        return (Re - 1500) / 30000;
    double lo = 0.01, hi = 1.0; // bounds on sqrt(f)
    auto G = [&](double x) { return 2 * std::log10(e / D + 9.35 / (Re * x)) + 1 / x - 1.14; };
    for (int i = 0; i < 200; ++i) {
        double mid = (lo + hi) / 2;
        (G(mid) > 0 ? lo : hi) = mid;
    }
    return lo * lo;
}

struct LiquidCase {
    const char *name;
    double Q, centipoise;
    const char *regime;
};

class PipeHydraulics : public ::testing::Test {
protected:
    void SetUp() override
    {
        pipe.Length_m = 100;
        pipe.InnerDiameter_m = 0.1;
        pipe.InnerRoughness_m = 4.5e-5;
    }
    void Solve(const TFluid &fluid, double startElevation = 0, double endElevation = 0,
               TMethodOfSolution method = LinearTheoryThenNewton)
    {
        pipe.CalcPipeInfo(fluid, unt_ft, method, GeneralIsothermalFlowEquation, 288.15, 101325, 1.0,
                          IdealGasLawModel, 1.0, startElevation, endElevation, 5.0, 4.0, 1.01325);
    }
    TPipe pipe;
};

TEST_F(PipeHydraulics, LiquidFrictionInEachRegime)
{
    const LiquidCase cases[] = {{"laminar", 0.001, 100, "Laminar"},
                                {"critical", 0.03 * Pi * 0.0025, 1.0, "Critical"},
                                {"turbulent", 0.01, 1.0, "Turbulent"},
                                {"turbulent reversed", -0.01, 1.0, "Turbulent"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        pipe.FlowUncompressed_m3s = c.Q;
        Solve(Liquid(1000, c.centipoise));
        const double v = c.Q / (Pi * 0.01 / 4);
        const double Re = std::fabs(v) * 0.1 * 1000 / (c.centipoise / 1000);
        const double f = ExpectedFrictionFactor(Re, 0.1, 4.5e-5);
        const double h = f * 100 / 0.1 * v * v / 19.6133 * (v < 0 ? -1 : 1);
        EXPECT_NEAR(pipe.Velocity_ms, v, 1e-12);
        EXPECT_NEAR(pipe.ReynoldsNumber, Re, Re * 1e-12);
        EXPECT_NEAR(pipe.FrictionFactor, f, f * 1e-7);
        EXPECT_EQ(pipe.FlowType, c.regime);
        EXPECT_NEAR(pipe.PipeFrictionLoss_mHd_Fluid, h, std::fabs(h) * 1e-7);
        EXPECT_NEAR(pipe.PipeFrictionLoss_mHd_Fluid_per100, h / (100 / 0.3048) * 100, std::fabs(h) * 1e-6);
        EXPECT_NEAR(pipe.TotalPressureLossWithoutElevationChange_mHd, h, std::fabs(h) * 1e-7);
        EXPECT_NEAR(pipe.TotalPressureLossWithElevationChange_Bar, h * 1000 * 9.80665 / 1e5, std::fabs(h) * 1e-8);
    }
}

// A pipe's results are worked out many times in one calculation; each time
// they are those of its present flow, bore, roughness and fluid, whatever it
// was worked out for before.
TEST_F(PipeHydraulics, RepeatedWorkingsFollowEveryChangeOfFlowBoreRoughnessAndFluid)
{
    struct Step {
        const char *name;
        double Q, diameter, roughness, centipoise;
    };
    const Step steps[] = {{"start", 0.01, 0.1, 4.5e-5, 1.0},      {"same again", 0.01, 0.1, 4.5e-5, 1.0},
                          {"other flow", 0.02, 0.1, 4.5e-5, 1.0}, {"reversed", -0.02, 0.1, 4.5e-5, 1.0},
                          {"other bore", -0.02, 0.15, 4.5e-5, 1.0}, {"rougher", -0.02, 0.15, 1e-3, 1.0},
                          {"more viscous", -0.02, 0.15, 1e-3, 2.0}, {"laminar", 1e-5, 0.15, 1e-3, 2.0},
                          {"start again", 0.01, 0.1, 4.5e-5, 1.0}};
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        pipe.FlowUncompressed_m3s = step.Q;
        pipe.InnerDiameter_m = step.diameter;
        pipe.InnerRoughness_m = step.roughness;
        Solve(Liquid(1000, step.centipoise));
        TPipe fresh;
        fresh.Length_m = pipe.Length_m;
        fresh.FlowUncompressed_m3s = step.Q;
        fresh.InnerDiameter_m = step.diameter;
        fresh.InnerRoughness_m = step.roughness;
        fresh.CalcPipeInfo(Liquid(1000, step.centipoise), unt_ft, LinearTheoryThenNewton, GeneralIsothermalFlowEquation,
                           288.15, 101325, 1.0, IdealGasLawModel, 1.0, 0, 0, 5.0, 4.0, 1.01325);
        EXPECT_EQ(pipe.FrictionFactor, calcFrictionFactor(pipe.ReynoldsNumber, step.diameter, step.roughness));
        EXPECT_EQ(pipe.FrictionFactor, fresh.FrictionFactor);
        EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, fresh.PipeFrictionLoss_mHd_Fluid);
        EXPECT_EQ(pipe.TotalPressureLossWithElevationChange_Bar, fresh.TotalPressureLossWithElevationChange_Bar);
    }
}

TEST_F(PipeHydraulics, ZeroFlowGivesNoLossesButThePumpHead)
{
    pipe.PumpCount = 1;
    pipe.Pump.PumpType = PumpFixedHead;
    pipe.Pump.SetFixedHead_FluidHead_m = 20;
    pipe.PipeFrictionLoss_mHd_Fluid = 99;
    pipe.FittingsLoss_mHd_Fluid = 99;
    pipe.FlowUncompressed_m3s = 0;
    Solve(Liquid(1000, 1), 0, 10);
    EXPECT_EQ(pipe.FlowType, "None");
    EXPECT_EQ(pipe.ReynoldsNumber, 1);
    EXPECT_EQ(pipe.FrictionFactor, 64);
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.FittingsLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.Pump_mHd_Fluid, 20);
    EXPECT_EQ(pipe.TotalPressureLossWithoutElevationChange_mHd, -20);
    EXPECT_NEAR(pipe.PressureLossDueToElevationChange_Bar, 10 * 9.80665 * 1000 / 1e5, 1e-12);
    EXPECT_NEAR(pipe.TotalPressureLossWithElevationChange_Bar, (-20 + 10) * 9.80665 * 1000 / 1e5, 1e-12);
}

TEST_F(PipeHydraulics, FittingsComponentAndPumpAddUpWithTheElevation)
{
    TFitting bend, exit;
    bend.SetFittingData(100, 1, "Bend", "", "", "Bend", 0.3);
    exit.SetFittingData(0, 3, "ExitCon", "", "", "Exit", 1.0);
    pipe.FittingSet.AddFitting(bend, 2, EntryFitting);
    pipe.FittingSet.AddFitting(exit, 1, ExitFitting);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.FixedPressureLoss_mHd = 2.5;
    pipe.PumpCount = 1;
    pipe.Pump.PumpType = PumpFixedHead;
    pipe.Pump.SetFixedHead_FluidHead_m = 30;
    pipe.FlowUncompressed_m3s = 0.01;
    Solve(Liquid(850, 1.2), 3, -2);

    const double v = 0.01 / (Pi * 0.01 / 4);
    const double hv = v * v / 19.6133;
    const double Re = v * 0.1 * 850 / 0.0012;
    const double friction = ExpectedFrictionFactor(Re, 0.1, 4.5e-5) * 1000 * hv;
    EXPECT_NEAR(pipe.EntryFittingsLoss_mHd_Fluid, 0.6 * hv, 1e-12);
    EXPECT_NEAR(pipe.ExitFittingsLoss_mHd_Fluid, 1.0 * hv, 1e-12);
    EXPECT_NEAR(pipe.FittingsLoss_mHd_Fluid, 1.6 * hv, 1e-12);
    EXPECT_NEAR(pipe.ComponentPressureLoss_mHd_Fluid, 2.5, 1e-12);
    EXPECT_EQ(pipe.Pump_mHd_Fluid, 30);
    const double total = friction + 1.6 * hv + 2.5 - 30;
    EXPECT_NEAR(pipe.TotalPressureLossWithoutElevationChange_mHd, total, 1e-6);
    EXPECT_NEAR(pipe.PressureLossDueToElevationChange_Bar, -5 * 9.80665 * 850 / 1e5, 1e-12);
    EXPECT_NEAR(pipe.TotalPressureLossWithElevationChange_Bar, (total - 5) * 9.80665 * 850 / 1e5, 1e-7);

    // Items that are not in use take no part.
    pipe.FittingsUseInCalc = false;
    pipe.ComponentPressureUseInCalc = false;
    pipe.PumpUseInCalc = false;
    Solve(Liquid(850, 1.2), 3, -2);
    EXPECT_EQ(pipe.FittingsLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.ComponentPressureLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.Pump_mHd_Fluid, 0);
    EXPECT_NEAR(pipe.TotalPressureLossWithoutElevationChange_mHd, friction, 1e-6);
}

TEST_F(PipeHydraulics, AFlowBeyondAnyVelocityIsFlaggedTooLarge)
{
    pipe.FittingsLoss_mHd_Fluid = 5;
    pipe.FlowUncompressed_m3s = 1e29;
    Solve(Liquid(1000, 1));
    EXPECT_EQ(pipe.FlowType, "Too Large");
    EXPECT_EQ(pipe.FrictionFactor, 0);
    EXPECT_EQ(pipe.ReynoldsNumber, 0);
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid, 1e24);
    EXPECT_EQ(pipe.FittingsLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.TotalPressureLossWithoutElevationChange_mHd, 1e24);
}

TEST_F(PipeHydraulics, EquivalentLengthsOfFittingsAndCoefficientComponents)
{
    TFitting bend, exit;
    bend.SetFittingData(100, 1, "Bend", "", "", "Bend", 0.3);
    exit.SetFittingData(0, 3, "ExitCon", "", "", "Exit", 1.0);
    pipe.FittingSet.AddFitting(bend, 2, EntryFitting);
    pipe.FittingSet.AddFitting(exit, 1, ExitFitting);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureKv;
    pipe.ComponentPressure.Kv = 100;
    pipe.FrictionFactor = 0.02;
    pipe.SetEquivPipeLengthForFittings_m();
    pipe.SetEquivPipeLengthForComponentCvKvSprinklerK();
    EXPECT_NEAR(pipe.equivPipeLengthForFittings_m, 1.6 * 0.1 / 0.02, 1e-12);
    EXPECT_NEAR(pipe.equivPipeLengthForEntryFittings_m, 0.6 * 0.1 / 0.02, 1e-12);
    EXPECT_NEAR(pipe.equivPipeLengthForExitFittings_m, 1.0 * 0.1 / 0.02, 1e-12);
    EXPECT_NEAR(pipe.equivPipeLengthForComponentCvKvSprinklerK, calcKFromKv(100, 0.1) * 0.1 / 0.02, 1e-9);

    pipe.FrictionFactor = 0;
    pipe.SetEquivPipeLengthForFittings_m();
    pipe.SetEquivPipeLengthForComponentCvKvSprinklerK();
    EXPECT_EQ(pipe.equivPipeLengthForFittings_m, 0);
    EXPECT_EQ(pipe.equivPipeLengthForComponentCvKvSprinklerK, 0);
}

// Gas pipes: the pressure drop the pipe reports must be the one at which the
// gas flow equation passes the pipe's mass flow.
class GasPipe : public ::testing::Test {
protected:
    void SetUp() override
    {
        pipe.Length_m = 1000;
        pipe.InnerDiameter_m = 0.1;
        pipe.InnerRoughness_m = 4.5e-5;
        pipe.FlowUncompressed_m3s = 0.5;
        gas.density_kgs_m3 = 1.2;
        gas.centipoise = 0.018;
        gas.degrees_K = 293.15;
        gas.pressure_bar_g = 0;
    }
    void Solve(TMethodOfSolution method)
    {
        pipe.CalcPipeInfo(gas, unt_m, method, GeneralIsothermalFlowEquation, 288.15, 101325, 1.0, IdealGasLawModel,
                          1.0, 0, 0, 5.0, 4.0, 1.01325);
    }
    // Mass flow of the pipe's equation between two gauge pressures.
    double FlowBetween(double p1, double p2, double length) const
    {
        return calcCompressibleFlowWithZ(GeneralIsothermalFlowEquation, IdealGasLawModel, 288.15, 101325, 1.0, p1,
                                         p2, 1.01325, length, 0.1, 4.5e-5, pipe.FrictionFactor, 1.2, 0, 293.15, 0.018,
                                         1.0);
    }
    double HeadToBar(double h) const { return h * 1.2 * 9.80665 / 1e5; }
    TPipe pipe;
    TFluid gas;
};

TEST_F(GasPipe, NodeAdjustDropPassesTheMassFlowFromTheKnownInlet)
{
    Solve(CompressibleNodeAdjust);
    EXPECT_GT(pipe.FrictionFactor, 0);
    EXPECT_EQ(pipe.FlowType, "Turbulent");
    const double dp = HeadToBar(pipe.PipeFrictionLoss_mHd_Fluid);
    EXPECT_GT(dp, 0);
    EXPECT_NEAR(FlowBetween(5.0, 5.0 - dp, 1000), 0.6, 1e-6);
    EXPECT_EQ(pipe.EntryFittingsLoss_mHd_Fluid, 0);
    EXPECT_EQ(pipe.ExitFittingsLoss_mHd_Fluid, 0);
    EXPECT_NEAR(pipe.TotalPressureLossWithoutElevationChange_mHd, pipe.PipeFrictionLoss_mHd_Fluid, 1e-9);
}

TEST_F(GasPipe, NodeAdjustSharesTheDropOverTheEquivalentLength)
{
    TFitting valve;
    valve.SetFittingData(100, 8, "Gate", "", "", "Gate valve", 2.0);
    pipe.FittingSet.AddFitting(valve, 1, EntryFitting);
    pipe.equivPipeLengthForFittings_m = 10;
    Solve(CompressibleNodeAdjust);
    const double total = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid;
    EXPECT_NEAR(pipe.FittingsLoss_mHd_Fluid / total, 10.0 / 1010.0, 1e-12);
    EXPECT_NEAR(FlowBetween(5.0, 5.0 - HeadToBar(total), 1010), 0.6, 1e-6);
    // Only entry fittings: all of the fitting loss is at the entry.
    EXPECT_NEAR(pipe.EntryFittingsLoss_mHd_Fluid, pipe.FittingsLoss_mHd_Fluid, 1e-12);
    EXPECT_EQ(pipe.ExitFittingsLoss_mHd_Fluid, 0);
}

TEST_F(GasPipe, ABackPressureValveSwitchesToTheKnownOutlet)
{
    pipe.FlowControlCount = 1;
    pipe.FlowControl.ControlType = BPV;
    Solve(CompressibleNodeAdjust);
    const double dp = HeadToBar(pipe.PipeFrictionLoss_mHd_Fluid);
    EXPECT_NEAR(FlowBetween(4.0 + dp, 4.0, 1000), 0.6, 1e-6);
    EXPECT_GT(std::fabs(FlowBetween(5.0, 5.0 - dp, 1000) - 0.6), 1e-4) << "not the inlet-based drop";
}

TEST_F(GasPipe, FlowAdjustAddsEntryPipeAndExitTerms)
{
    Solve(CompressibleFlowAdjust);
    const double dp = HeadToBar(pipe.PipeFrictionLoss_mHd_Fluid);
    EXPECT_NEAR(FlowBetween(5.0, 5.0 - dp, 1000), 0.6, 1e-6);
    EXPECT_EQ(pipe.FittingsLoss_mHd_Fluid, 0);

    TFitting entry, exit;
    entry.SetFittingData(0, 1, "Entry", "", "", "Entry", 0.5);
    exit.SetFittingData(0, 3, "ExitCon", "", "", "Exit", 1.0);
    pipe.FittingSet.AddFitting(entry, 1, EntryFitting);
    pipe.FittingSet.AddFitting(exit, 1, ExitFitting);
    Solve(CompressibleFlowAdjust);
    EXPECT_NEAR(pipe.EntryFittingsLoss_mHd_Fluid,
                calcGasFittingHeadLoss(0.6, 0.1, 0.5, 1.2, 0, 1.0, 5.0, 1.01325), 1e-12);
    EXPECT_GT(pipe.ExitFittingsLoss_mHd_Fluid, 2 * pipe.EntryFittingsLoss_mHd_Fluid * 0.99)
        << "twice the K at a lower pressure";
    EXPECT_NEAR(pipe.FittingsLoss_mHd_Fluid, pipe.EntryFittingsLoss_mHd_Fluid + pipe.ExitFittingsLoss_mHd_Fluid,
                1e-12);
    EXPECT_NEAR(pipe.TotalPressureLossWithoutElevationChange_mHd,
                pipe.FittingsLoss_mHd_Fluid + pipe.PipeFrictionLoss_mHd_Fluid, 1e-9);
}

} // namespace
} // namespace tessaran
