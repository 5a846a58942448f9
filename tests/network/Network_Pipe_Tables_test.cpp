#include "network/Network_Class.h"

#include "Result_Tables_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

namespace {

using TTable = void (TNetwork::*)(TStringGrid &, int, int &) const;

struct TableCase {
    const char *Name;
    TTable Table;
    int HeadingRows;
    int EmptyFinishOffset; // TheFinishRow - TheStartRow without pipes
};

const TableCase PipeTables[] = {
    {"full", &TNetwork::PopulateStringGridPipeResults, 2, 1},
    {"summary", &TNetwork::PopulateStringGridPipeSummaryResults, 2, 1},
    {"factors", &TNetwork::PopulateStringGridPipeFactorResults, 2, 1},
    {"materials", &TNetwork::PopulateStringGridPipeMaterialResults, 2, 1},
    // The energy table counts one row past its three heading rows.
    {"energy", &TNetwork::PopulateStringGridEnergyResults, 3, 3},
};

std::vector<std::string> Column(const TStringGrid &grid, int col, int firstRow, int lastRow)
{
    std::vector<std::string> texts;
    for (int row = firstRow; row <= lastRow; ++row)
        texts.push_back(grid.Cell(col, row));
    return texts;
}

TPump CurvePump(double efficiencyPercent)
{
    TPump pump;
    pump.Name = "Pump A";
    pump.PumpType = PumpFixedSpeed;
    pump.Speed_rpm = 1450;
    for (int i = 0; i < 4; ++i)
        pump.AddPumpCurvePointFlowm3s(0.02 * i, 40 - 2.0 * i * i, efficiencyPercent, 2, 1000);
    return pump;
}

} // namespace

TEST(PipeTables, WithoutPipesOnlyTheHeadingsAreWrittenAndTheGridKeepsTwentyEightRows)
{
    auto network = NewNetwork();
    for (const TableCase &table : PipeTables) {
        SCOPED_TRACE(table.Name);
        for (int start : {0, 4}) {
            TStringGrid grid = NewGrid();
            int finish = -1;
            ((*network).*table.Table)(grid, start, finish);
            EXPECT_EQ(finish, start + table.EmptyFinishOffset);
            EXPECT_EQ(grid.RowCount(), 28);
            EXPECT_EQ(grid.Cell(0, start), "Pipe Id");
            EXPECT_EQ(grid.Cell(0, start + table.HeadingRows), "");
            EXPECT_EQ(grid.ColWidth(0), 50);
            EXPECT_EQ(grid.ColWidth(1), 80);
        }
    }
}

TEST(PipeTables, GridsSmallerThanTheTableGrowAndTheRowCountFollowsTheLastRow)
{
    ResultNetwork r;
    for (int i = 0; i < 40; ++i)
        AddPipeBetween(r.N, r.J, r.K);
    TStringGrid grid; // no cells at all
    int finish = 0;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(finish, 1 + 43);
    EXPECT_EQ(grid.RowCount(), 45);
    EXPECT_EQ(grid.ColCount(), 25);
    EXPECT_EQ(grid.Cell(0, 45 - 1), std::to_string(r.N.NodeLinks[43].PipeId));
}

TEST(PipeTables, HeadingsByPosition)
{
    ResultNetwork r;
    TStringGrid grid = NewGrid();
    int finish = 0;

    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(WrittenColumns(grid, 0), 25);
    EXPECT_EQ(grid.Cell(1, 1), "and Notes");
    EXPECT_EQ(grid.Cell(15, 0), "Entry to Exit Loss");
    EXPECT_EQ(grid.Cell(15, 1), "bar");
    EXPECT_EQ(grid.Cell(13, 1), "bar.g");
    EXPECT_EQ(grid.Cell(24, 0), "Pump Head (+)");
    EXPECT_EQ(grid.Cell(24, 1), "m.hd");

    grid = NewGrid();
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(Headings(grid, 0),
              (std::vector<std::string>{"Pipe Id", "Pipe Name", "Fluid Zone", "Material", "Inner Diameter", "Length",
                                        "Mass Flow", "Vol Flow", "Velocity", "Friction Loss", "Entry Fitt. Loss",
                                        "Exit Fitt. Loss", "Comp. Loss", "Ctrl Valve Loss", "Pump Head(+)",
                                        "dP Total Loss", "Entry Pressure", "Exit Pressure"}));

    r.MakeGas();
    grid = NewGrid();
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(WrittenColumns(grid, 0), 20);
    EXPECT_EQ(grid.Cell(7, 0), "Gas Flow");
    EXPECT_EQ(grid.Cell(7, 1), "SCMH");
    EXPECT_EQ(grid.Cell(10, 0), "Exit Mach#");
    EXPECT_EQ(grid.Cell(19, 0), "Exit Pressure");

    grid = NewGrid();
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(WrittenColumns(grid, 0), 11);
    EXPECT_EQ(grid.Cell(7, 0), "SUBTOTAL Loss");
    EXPECT_EQ(grid.Cell(7, 1), "Pipe Items +Pump");
    EXPECT_EQ(Column(grid, 1, 1, 2), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(grid.Cell(2, 2), "Kilowatts");
    EXPECT_EQ(grid.Cell(10, 2), "Kilowatts");
    r.N.ConfigOptions.UnitOfEnergy = unt_HP;
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(2, 2), "Horsepower");
}

TEST(PipeTables, LinkedPipesInLinkOrderThenClosedPipesWithTheirNotes)
{
    ResultNetwork r;
    r.Pipe(r.P1).Notes = {"a", "b"};
    const int closed = r.AddClosedPipe("Spare");
    r.Pipe(closed).Notes = {"kept shut"};
    r.N.ReversePipeLink(r.P2); // order of the link table, not of ids, counts
    const std::string closedName = "Closed. Spare [Notes: kept shut]";

    for (TTable table : {&TNetwork::PopulateStringGridPipeResults, &TNetwork::PopulateStringGridPipeSummaryResults,
                         &TNetwork::PopulateStringGridPipeFactorResults}) {
        TStringGrid grid = NewGrid();
        int finish = 0;
        (r.N.*table)(grid, 3, finish);
        EXPECT_EQ(finish, 3 + 1 + 4);
        std::vector<std::string> ids;
        for (int i = 1; i <= r.N.NodeLinksCount; ++i)
            ids.push_back(std::to_string(r.N.NodeLinks[static_cast<std::size_t>(i)].PipeId));
        ids.push_back(std::to_string(closed));
        EXPECT_EQ(Column(grid, 0, 5, 8), ids);
        EXPECT_EQ(grid.Cell(1, 5), "P1 [Notes: a b]");
        EXPECT_EQ(grid.Cell(1, 8), closedName);
    }

    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeMaterialResults(grid, 0, finish);
    EXPECT_EQ(finish, 4);
    EXPECT_EQ(grid.Cell(1, 2), "P1");
    EXPECT_EQ(grid.Cell(13, 2), "a b");
    EXPECT_EQ(grid.Cell(0, 5), "");

    grid = NewGrid();
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(0, 3), std::to_string(r.P1));
    EXPECT_EQ(grid.Cell(1, 6), "Closed. Spare");
    EXPECT_EQ(grid.Cell(2, 6), "");
    EXPECT_EQ(finish, 6);
}

TEST(PipeTables, ClosedPipesWithoutLinksStartOneRowLowerInTheEnergyTable)
{
    ResultNetwork r;
    for (int id : {r.P1, r.P2, r.P3})
        r.N.RemoveNodeLinkAddClosedPipeLink(id);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(0, 3), "");
    EXPECT_EQ(grid.Cell(1, 4), "Closed. P1");
    EXPECT_EQ(finish, 6);

    grid = NewGrid();
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(1, 2), "Closed. P1");
    EXPECT_EQ(grid.Cell(4, 2), "100.000");
    EXPECT_EQ(grid.Cell(6, 2), "");
    EXPECT_EQ(finish, 4);
}

TEST(PipeTables, ValuesOfALinkedPipeInTheFullTable)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.Velocity_ms = 3.82;
    pipe.ReynoldsNumber = 381234.6;
    pipe.FrictionFactor = 0.0171234;
    pipe.PipeFrictionLoss_mHd_Fluid = 4.5;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    const std::vector<std::string> row = grid.Row(2);
    EXPECT_EQ(row[2], "Liquid (20°C at 0.0bar.g, density 1000.000000 kg/m³)");
    EXPECT_EQ(row[3], "  ");
    EXPECT_EQ(std::vector<std::string>(row.begin() + 4, row.begin() + 17),
              (std::vector<std::string>{"100.000", "0.045000", "100.000", "0.0000", "30.0000", "0.0300", "3.820",
                                        "10.000", "0.000", "1.0000", "2.0000", "-1.0000", "381235"}));
    EXPECT_EQ(row[17], "Turbulent");
    EXPECT_EQ(row[18], "0.01712");
    EXPECT_EQ(row[19], "4.500");
    EXPECT_EQ(std::vector<std::string>(row.begin() + 20, row.begin() + 25),
              (std::vector<std::string>{"none", "none", "none", "none", ""}));
}

TEST(PipeTables, PressureDifferencesCarryNoAtmosphereAndStayFiniteInAFluidHead)
{
    ResultNetwork r;
    r.SetNode(r.T, 10, 5);
    r.SetNode(r.J, 0, 3);
    r.N.ConfigOptions.UnitOfPressure = unt_Bar_A;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(13, 2), "6.0000");
    EXPECT_EQ(grid.Cell(14, 2), "4.0000");
    EXPECT_EQ(grid.Cell(15, 2), "2.0000");

    // A pressure difference shown as a head of the fluid needs its density.
    r.SetNode(r.J, 0, 4);
    r.N.ConfigOptions.UnitOfPressure = unt_m_hd_fluid;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(15, 2), "10.197");
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(15, 2), "10.197");
}

TEST(PipeTables, VelocityIsMarkedOnlyAboveTheHighVelocity)
{
    ResultNetwork r;
    r.Pipe(r.P1).Velocity_ms = 5.0; // the default high liquid velocity
    r.Pipe(r.P2).Velocity_ms = 5.001;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(8, 2), "5.000");
    EXPECT_EQ(grid.Cell(8, 3), "*5.001 (Flow Velocity is high)");
}

TEST(PipeTables, ItemCellsShowNoneUnlessTheItemIsInUse)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureKv;
    pipe.ComponentPressure.Kv = 12.5;
    pipe.ComponentPressureLoss_mHd_Fluid = 1.25;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeFactorResults(grid, 0, finish);
    ASSERT_EQ(grid.Cell(10, 1), "Cv");
    EXPECT_EQ(Headings(grid, 2), (std::vector<std::string>{std::to_string(r.P1), "P1", "0.045000", "100.000",
                                                            "100.000", "0", "Turbulent", "0.000000", "none", "none",
                                                            "none", "12.5000", "none", "none"}));
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(21, 2), "1.250 (0.1226 bar.g)");
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(12, 2), "1.250");

    pipe.ComponentPressureUseInCalc = false;
    r.N.PopulateStringGridPipeFactorResults(grid, 0, finish);
    EXPECT_EQ(Column(grid, 11, 2, 2), std::vector<std::string>{"none"});
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(21, 2), "none");
}

TEST(PipeTables, ControlValveTextsOfTheFullTable)
{
    ResultNetwork r;
    TPipe &prv = r.Pipe(r.P1);
    prv.FlowControlCount = 1;
    prv.FlowControl.ControlType = PRV;
    prv.FlowControl.RegulatedPressure_Bar_g = 2.5;
    prv.FlowControlLoss_mHd_Fluid = 10.0;
    TPipe &fcv = r.Pipe(r.P2);
    fcv.FlowControlCount = 1;
    fcv.FlowControl.ControlType = FCV;
    fcv.FlowControl.FlowControl_m3s = 0.5; // the setting is not shown
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(22, 2), "PRV @ 2.5000bar.g");
    EXPECT_EQ(grid.Cell(23, 2), "10.000 (0.9807 bar.g)");
    EXPECT_EQ(grid.Cell(22, 3), "FCV @ 0.0200 m³/sec (20.0000 kg/sec)");
}

TEST(PipeTables, PumpHeadCellWithItsNotes)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.AddPump(CurvePump(70));
    pipe.Pump_mHd_Fluid = 0;
    pipe.PumpElevation_m = 12; // above both ends (10 m and 0 m)
    pipe.FlowUncompressed_m3s = 0.07; // beyond the last curve point
    // NPSHa: 1 bar (10.197 m) + 10 m - 12 m at the pump + 1 bar atmosphere
    // - 0.5 bar vapour pressure = 13.296 m.
    pipe.PumpNPSHr_mHd_Fluid = 100;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(24, 2),
              "0.000 [* Elevation 12.000m not between start and end elevation of pipe ]"
              " [* Head calculated is outside of points on the Pump Curve.]"
              " [* Head added is zero. Pump is not used.]"
              " [* NPSHa 13.296m.hd Fluid Too Low - Cavitation may occur at the pump.]");

    pipe.PumpUseInCalc = false;
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(14, 2), "Not Included");
    EXPECT_EQ(grid.Cell(14, 3), "");
}

TEST(PipeTables, FactorColumnsFollowTheGasEquation)
{
    struct Case {
        bool Gas;
        TMethodOfCalculationCompressible Method;
        std::vector<std::string> Extra;
    };
    const Case cases[] = {
        {false, AGAIsothermalFlowEquation, {}},
        {true, AGAIsothermalFlowEquation, {"Transmission", "Drag", "Compressibility"}},
        {true, WeymouthIsothermalFlowEquation, {"Efficiency", "Compressibility"}},
        {true, PanhandleBIsomthermalFlowEquation, {"Efficiency", "Compressibility"}},
        {true, CompleteIsothermalFlowEquation, {"Compressibility"}},
    };
    for (const Case &c : cases) {
        ResultNetwork r;
        if (c.Gas)
            r.MakeGas();
        r.N.ConfigOptions.MethodOfCalculationCompressible = c.Method;
        r.N.ConfigOptions.PipelineEfficiencyE = 0.92;
        TStringGrid grid = NewGrid();
        int finish = 0;
        r.N.PopulateStringGridPipeFactorResults(grid, 0, finish);
        const std::vector<std::string> headings = Headings(grid, 0);
        ASSERT_EQ(headings.size(), 14 + c.Extra.size());
        EXPECT_EQ(std::vector<std::string>(headings.begin() + 8, headings.begin() + 8 + c.Extra.size()), c.Extra);
        EXPECT_EQ(headings[8 + c.Extra.size()], "Entry Fittings");
        if (c.Method == WeymouthIsothermalFlowEquation)
            EXPECT_EQ(grid.Cell(8, 2), "0.920000");
        // An ideal gas has Z = 1 whatever its pressure.
        if (c.Gas)
            EXPECT_EQ(grid.Cell(7 + static_cast<int>(c.Extra.size()), 2), "1.0000");
    }
}

TEST(PipeTables, GasSummaryShowsFlowsVelocitiesAndTheExitMachNumber)
{
    ResultNetwork r;
    r.MakeGas();
    TPipe &pipe = r.Pipe(r.P1);
    pipe.FlowUncompressed_m3s = 1.0;
    pipe.EntryVelocity_ms = 80;
    pipe.ExitVelocity_ms = 120;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(6, 2), "1.2040");
    EXPECT_EQ(grid.Cell(8, 2), "80.000");
    EXPECT_EQ(grid.Cell(9, 2), "*120.000 (Flow Velocity is high)");
    const std::string mach = grid.Cell(10, 2);
    EXPECT_EQ(mach.size(), 6u);
    EXPECT_EQ(mach.substr(0, 2), "0.");

    r.N.FluidZones[1].Fluid.specificHeatRatio = 0;
    r.N.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(10, 2), "?? Specific Heat Ratio not defined in Fluid Data");
}

TEST(PipeTables, MaterialTableLeavesEmptyWhatHasNoSizeData)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.WeightPerMetre_kg = 2.5;
    pipe.OuterDiameter_m = 0.11;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeMaterialResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(10, 1), "kgs (full length)");
    EXPECT_EQ(grid.Cell(10, 2), "250.000");
    EXPECT_EQ(grid.Cell(11, 2), "0.785");
    EXPECT_EQ(grid.Cell(12, 2), "34.558");
    EXPECT_EQ(grid.Cell(10, 3), "");
    EXPECT_EQ(grid.Cell(12, 3), "");
    EXPECT_EQ(grid.Cell(11, 3), "0.785");
}

TEST(PipeTables, EnergyBalanceOfAPipeWithAPump)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    pipe.PipeFrictionLoss_mHd_Fluid = 2.0;
    pipe.AddPump(CurvePump(120));
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    // 0.03 m3/s x 2 m x 1000 kg/m3 x 9.80665 m/s2 = 0.588399 kW
    EXPECT_EQ(grid.Cell(2, 3), "0.588399");
    EXPECT_EQ(grid.Cell(6, 3), "*** Warning: Pump Efficiency specified is > 100% (not possible).");
    EXPECT_EQ(grid.Cell(7, 3), "0.588399");
    EXPECT_EQ(grid.Cell(9, 3), "-2.941995"); // down 10 m
    EXPECT_EQ(grid.Cell(6, 4), "N/A");
    EXPECT_EQ(grid.Cell(7, 4), "0");

    pipe.Pump.Clear();
    pipe.Pump.CopyPump(CurvePump(0));
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(6, 3), "Efficiency Not Specified");
    pipe.PumpUseInCalc = false;
    r.N.PopulateStringGridEnergyResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(6, 3), "Pump not in use");
}
