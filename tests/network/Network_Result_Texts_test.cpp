#include "network/Network_Class.h"

#include "Result_Tables_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

namespace {

// 1 bar as metres of a fluid of 1000 kg/m3.
constexpr double OneBar_m = 100000.0 / (1000.0 * 9.80665);

void ShowOnly(TConfigOptions &o, std::initializer_list<bool TConfigOptions::*> flags)
{
    for (bool TConfigOptions::*flag :
         {&TConfigOptions::ShowPipeId, &TConfigOptions::ShowPipeName, &TConfigOptions::ShowPipeDiam,
          &TConfigOptions::ShowPipeLength, &TConfigOptions::ShowPipeFlowRate, &TConfigOptions::ShowPipeMassFlowRate,
          &TConfigOptions::ShowPipeGasFlowRate, &TConfigOptions::ShowPipeVelocity,
          &TConfigOptions::ShowPipePressureLoss})
        o.*flag = false;
    for (bool TConfigOptions::*flag : flags)
        o.*flag = true;
}

} // namespace

TEST(PipeLabel, DesignLabelJoinsTheChosenPartsWithoutALeadingSeparator)
{
    struct Case {
        std::initializer_list<bool TConfigOptions::*> Flags;
        const char *Label;
    };
    using O = TConfigOptions;
    const Case cases[] = {
        {{&O::ShowPipeId, &O::ShowPipeName, &O::ShowPipeDiam}, "(1),Main, 100.0mm"},
        {{&O::ShowPipeDiam}, "100.0mm"},
        {{&O::ShowPipeName, &O::ShowPipeLength}, "Main, 100.0m"},
        {{&O::ShowPipeFlowRate}, ""}, // a results part only
        {{}, ""},
    };
    ResultNetwork r;
    ASSERT_EQ(r.P1, 1);
    r.Pipe(r.P1).Name = "  Main ";
    for (const Case &c : cases) {
        ShowOnly(r.N.ConfigOptions, c.Flags);
        EXPECT_EQ(r.N.GetPipeLabel(r.P1, false), c.Label);
    }
}

TEST(PipeLabel, ResultsLabelShowsTheNameAndTheFirstChosenValue)
{
    struct Case {
        std::initializer_list<bool TConfigOptions::*> Flags;
        const char *Label;
    };
    using O = TConfigOptions;
    const Case cases[] = {
        {{&O::ShowPipeName, &O::ShowPipeFlowRate}, "Main, f=0.0300"},
        {{&O::ShowPipeName}, "Main, "},
        {{&O::ShowPipeFlowRate, &O::ShowPipeVelocity}, "f=0.0300"},
        {{&O::ShowPipeMassFlowRate}, "mf=30.0000"},
        {{&O::ShowPipeGasFlowRate}, "gf=N/A fluid is not gas"},
        {{&O::ShowPipeVelocity}, "v=3.820"},
        {{&O::ShowPipePressureLoss}, "dP=-10.197"},
        {{&O::ShowPipeId, &O::ShowPipeLength}, ""},
    };
    ResultNetwork r;
    r.Pipe(r.P1).Name = " Main";
    r.Pipe(r.P1).Velocity_ms = 3.82;
    for (const Case &c : cases) {
        ShowOnly(r.N.ConfigOptions, c.Flags);
        EXPECT_EQ(r.N.GetPipeLabel(r.P1, true), c.Label);
    }

    r.MakeGas();
    r.Pipe(r.P1).EntryVelocity_ms = 10;
    r.Pipe(r.P1).ExitVelocity_ms = 12.5;
    ShowOnly(r.N.ConfigOptions, {&O::ShowPipeVelocity});
    EXPECT_EQ(r.N.GetPipeLabel(r.P1, true), "vEntry=10.000 vExit=12.500");
}

TEST(PumpPressures, WithoutAPumpAllAreZeroButTheDischargeCarriesThePumpHead)
{
    ResultNetwork r;
    r.Pipe(r.P1).Pump_mHd_Fluid = 5;
    EXPECT_EQ(r.N.GetPumpSuctionPressure_mFluid(r.P1), 0);
    EXPECT_EQ(r.N.GetPumpNPSHa_mFluid(r.P1), 0);
    EXPECT_EQ(r.N.GetPumpDischargePressure_mFluid(r.P1), 5);
}

TEST(PumpPressures, SuctionDischargeAndNetPositiveSuctionHead)
{
    ResultNetwork r;
    // P3 runs level from J (2 bar) to K.
    TPipe &pipe = r.Pipe(r.P3);
    pipe.AddPump(TPump());
    pipe.Pump_mHd_Fluid = 30;
    EXPECT_NEAR(r.N.GetPumpSuctionPressure_mFluid(r.P3), 2 * OneBar_m, 1e-9);
    EXPECT_NEAR(r.N.GetPumpDischargePressure_mFluid(r.P3), 2 * OneBar_m + 30, 1e-9);
    // Atmosphere 1 bar, vapour pressure 0.5 bar absolute.
    EXPECT_NEAR(r.N.GetPumpNPSHa_mFluid(r.P3), 2.5 * OneBar_m, 1e-9);

    // A quarter along the pipe, 1 m up, after the entry fittings.
    pipe.PumpDistanceFromStartOfPipe_m = 25;
    pipe.PipeFrictionLoss_mHd_Fluid = 8;
    pipe.PumpElevation_m = 1;
    pipe.EntryFittingsLoss_mHd_Fluid = 0.5;
    EXPECT_NEAR(r.N.GetPumpSuctionPressure_mFluid(r.P3), 2 * OneBar_m - 2 - 1 - 0.5, 1e-9);

    // A pipe of no length has no friction ahead of its pump.
    pipe.Length_m = 0;
    EXPECT_NEAR(r.N.GetPumpSuctionPressure_mFluid(r.P3), 2 * OneBar_m - 1 - 0.5, 1e-9);
}

TEST(ResultTexts, FluidTextDescribesTheZoneItNames)
{
    ResultNetwork r;
    r.N.FluidZonesCount = 2;
    TFluid &oil = r.N.FluidZones[2].Fluid;
    oil.name = "Oil";
    oil.chemicalFormula = "C8H18";
    oil.density_kgs_m3 = 850;
    oil.centipoise = 5;
    oil.vapourPressure_bar_a = 0.01;
    // Node id 2 exists (J) and lies in zone 1: the text is still zone 2's.
    EXPECT_EQ(r.N.PopulateStringFluidInfo(2, true),
              "Name:Oil\rFormula: C8H18\rTemperature: 20.000\rPressure: 0.0000 bar.g\r"
              "Density: 850.000000 kg/m³\rViscosity: 5.000000 centipoise\r"
              "Selected State: Liquid\rVapour Pressure: 0.0100 bar.a\r");
    EXPECT_EQ(r.N.PopulateStringFluidInfo(2, false), r.N.PopulateStringFluidInfo(2, true));

    r.N.FluidZones[2].Fluid.SetToAir();
    const std::string gas = r.N.PopulateStringFluidInfo(2, false);
    EXPECT_NE(gas.find("\rSelected State: Gas\rSpecific Heat Ratio: 1.401968\r"), std::string::npos);
    EXPECT_EQ(r.N.PopulateStringFluidInfo(21, false), "");
}

TEST(ResultTexts, NodeTexts)
{
    ResultNetwork r;
    r.N.GetNode(r.E).Surface_Pressure_Bar_g = 1.5;
    EXPECT_EQ(r.N.PopulateStringNodeResultsInfo(r.J, false), "Elevation = 0.000 m");
    EXPECT_EQ(r.N.PopulateStringNodeResultsInfo(r.J, true), "Elevation = 0.000 m\rPressure = 2.0000 bar.g");
    // 2 m of liquid on the surface: 0.1961 bar.
    EXPECT_EQ(r.N.PopulateStringNodeResultsInfo(r.T, false),
              "Surface Pressure = 0.0000 bar.g\rLiquid Level = 2.000\rElevation = 10.000 m\r"
              "Node Pressure = 0.1961 bar.g");
    EXPECT_EQ(r.N.PopulateStringNodeResultsInfo(r.E, false), "Elevation = 5.000 m\rEnd Pressure = 1.5000 bar.g");

    r.MakeGas();
    const std::string tank = r.N.PopulateStringNodeResultsInfo(r.T, true);
    EXPECT_EQ(tank.rfind("Outlet Pressure = 0.0000 bar.g\r", 0), 0u);
    EXPECT_NE(tank.find("\rPressure = 1.0000 bar.g\rGas Density = "), std::string::npos);
}

TEST(ResultTexts, PipeTextOfAClosedPipe)
{
    ResultNetwork r;
    const int closed = r.AddClosedPipe("Spare");
    EXPECT_EQ(r.N.PopulateStringPipeResultsInfo(closed, true), " Pipe " + std::to_string(closed) + " is closed.");
}

TEST(ResultTexts, PipeTextInDesignAndResultsMode)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.Velocity_ms = 3.82;
    pipe.PipeFrictionLoss_mHd_Fluid = 4.5;
    pipe.PressureLossDueToElevationChange_Bar = -0.980665; // 10 m down
    EXPECT_EQ(r.N.PopulateStringPipeResultsInfo(r.P1, false),
              "Length = 100.000 m\rInner Diam = 100.000 mm\rStart Elevation = 10.000 m\rEnd Elevation = 0.000 m\r"
              "Fittings = none");
    EXPECT_EQ(r.N.PopulateStringPipeResultsInfo(r.P1, true),
              "Flow = 0.0300 m³/sec\rMass Flow = 30.0000 kg/sec\rVelocity = 3.820 m/sec\r"
              "Length = 100.000 m\rInner Diam = 100.000 mm\rStart Elevation = 10.000 m\rEnd Elevation = 0.000 m\r"
              "Start Pressure = 1.0000 bar.g\rEnd Pressure = 2.0000 bar.g\rTotal dP Loss = -10.197 m.hd\r"
              "Elevation Change = -10.000 m\rElevation Change Gain = 10.000 m.hd\rFriction Loss = 4.500 m.hd\r"
              "Fitting Loss = none");
}

TEST(ResultTexts, PipeTextOfTheItemsOnAPipe)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureCv;
    pipe.ComponentPressure.Cv = 3.5;
    pipe.FlowControlCount = 1;
    pipe.FlowControl.ControlType = FCV;
    pipe.FlowControl.FlowControlFlowType = MassFlow;
    pipe.FlowControl.FlowControl_kgs = 20;
    pipe.AddPump(TPump());
    pipe.Pump.PumpType = PumpFixedHead;
    pipe.Pump.SetFixedHead_FluidHead_m = 12;

    const std::string design = r.N.PopulateStringPipeResultsInfo(r.P1, false);
    EXPECT_NE(design.find("\rComponent with Cv = 3.50\rFCV @ 20.0000 kg/sec\rPump @ fixed head = 12.000 m.hd"),
              std::string::npos);
    // The valve's other forms of its setting are brought up to date.
    EXPECT_DOUBLE_EQ(pipe.FlowControl.FlowControl_m3s, 0.02);

    pipe.ComponentPressure.PressureType = ComponentPressureSprinklerKmetric;
    pipe.FlowControl.ControlType = PRV;
    pipe.FlowControl.RegulatedPressure_Bar_g = 2.5;
    pipe.Pump.PumpType = PumpFixedSpeed;
    EXPECT_NE(r.N.PopulateStringPipeResultsInfo(r.P1, false)
                  .find("Fittings = none\rPRV @ 2.5000 bar.g\rPump with curve. Click pump for details."),
              std::string::npos);

    pipe.ComponentPressureUseInCalc = false;
    pipe.FlowControlLoss_mHd_Fluid = 3;
    pipe.Pump.PumpType = PumpFixedFlow;
    pipe.Pump_mHd_Fluid = 15;
    const std::string results = r.N.PopulateStringPipeResultsInfo(r.P1, true);
    EXPECT_EQ(results.find("Comp Loss = "), std::string::npos);
    EXPECT_NE(results.find("\rControl Loss = 3.000 m.hd\rPRV @ 2.5000 bar.g\r"), std::string::npos);
    EXPECT_NE(results.find("\rPump Head = 15.000 m.hd\rPump NPSHa = "), std::string::npos);
    EXPECT_NE(results.back(), '\r');
}

TEST(ResultTexts, PipeTextOfAGasPipeGivesEntryAndExitConditions)
{
    ResultNetwork r;
    r.MakeGas(); // air, 1.204 kg/m3 at 0 bar g; the atmosphere is 1 bar
    TPipe &pipe = r.Pipe(r.P1);
    pipe.FlowUncompressed_m3s = 1.0;
    const std::string text = r.N.PopulateStringPipeResultsInfo(r.P1, true);
    EXPECT_EQ(text.rfind("Mass Flow = 1.2040 kg/sec\rGas Flow = ", 0), 0u);
    EXPECT_NE(text.find(" SCMH (15°C, 101.325 kPa.a) \r"), std::string::npos);
    // The gas is twice as dense at 1 bar g (entry) and three times at 2 bar g
    // (exit); the bore is 0.0078540 m2.
    EXPECT_NE(text.find("\rEntry Velocity = 63.662 m/sec\rExit Velocity = 42.441 m/sec\r"
                        "Exit Flow  = 0.3333 m³/sec (Compressed Volume)\rLength = "),
              std::string::npos);

    pipe.FlowUncompressed_m3s = -1.0;
    EXPECT_EQ(r.N.PopulateStringPipeResultsInfo(r.P1, true).rfind("Mass Flow = 0.0 kg/sec\rLength = ", 0), 0u);
}
