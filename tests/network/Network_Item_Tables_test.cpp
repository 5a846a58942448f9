#include "network/Network_Class.h"

#include "Result_Tables_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

namespace {

void AddValve(TPipe &pipe, TControlType type, bool inUse)
{
    pipe.FlowControlCount = 1;
    pipe.FlowControlUseInCalc = inUse;
    pipe.FlowControl.ControlType = type;
    pipe.FlowControl.Name = "V" + pipe.Name;
    pipe.FlowControl.FlowControlFlowType = VolumeFlow;
    pipe.FlowControl.FlowControl_m3s = 0.02;
    pipe.FlowControl.RegulatedPressure_Bar_g = 2.5;
    pipe.FlowControlLoss_mHd_Fluid = 3;
}

std::vector<std::string> Cells(const TStringGrid &grid, int row, int firstCol, int lastCol)
{
    std::vector<std::string> texts;
    for (int col = firstCol; col <= lastCol; ++col)
        texts.push_back(grid.Cell(col, row));
    return texts;
}

TPump CurvePump()
{
    TPump pump;
    pump.Name = "Pump A";
    pump.PumpType = PumpFixedSpeed;
    pump.Speed_rpm = 1450;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    pump.Notes = {"duty", "standby"};
    for (int i = 0; i < 4; ++i)
        pump.AddPumpCurvePointFlowm3s(0.02 * i, 40 - 2.0 * i * i, 60, 2, 1000);
    return pump;
}

} // namespace

TEST(ValveTables, ValvesInUseComeFirstAndTheOthersAreMarked)
{
    ResultNetwork r;
    AddValve(r.Pipe(r.P1), FCV, false);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridFCVResults(grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(grid.Cell(0, 2), std::to_string(r.P1));
    EXPECT_EQ(grid.Cell(4, 2), "100.000");
    EXPECT_EQ(Cells(grid, 2, 5, 8), (std::vector<std::string>{"NOT IN USE", "", "", ""}));

    AddValve(r.Pipe(r.P3), FCV, true);
    grid = NewGrid();
    r.N.PopulateStringGridFCVResults(grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(Cells(grid, 2, 0, 0), std::vector<std::string>{std::to_string(r.P3)});
    EXPECT_EQ(Cells(grid, 2, 5, 8), (std::vector<std::string>{"VP3", "20.0000", "0.0200", "3.000"}));
    EXPECT_EQ(grid.Cell(0, 3), std::to_string(r.P1));
    EXPECT_EQ(Cells(grid, 1, 6, 8), (std::vector<std::string>{"kg/sec", "m³/sec", "m.hd"}));
    EXPECT_EQ(grid.Cell(7, 0), "FCV Vol Flow");
}

TEST(ValveTables, PressureValveTablesListOnlyTheirOwnKind)
{
    ResultNetwork r;
    AddValve(r.Pipe(r.P2), BPV, true);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPRVResults(grid, 4, finish);
    EXPECT_EQ(finish, 5);
    EXPECT_EQ(grid.Cell(5, 4), "PRV Name");
    EXPECT_EQ(grid.Cell(0, 6), "");

    grid = NewGrid();
    r.N.PopulateStringGridBPVResults(grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(Headings(grid, 0), (std::vector<std::string>{"Pipe Id", "Pipe Name", "Fluid Zone", "Material",
                                                            "Inner Diameter", "BPV Name", "BPV Pressure",
                                                            "BPV Loss"}));
    EXPECT_EQ(Cells(grid, 2, 5, 7), (std::vector<std::string>{"VP2", "2.5000", "3.000"}));
}

TEST(ComponentTable, ComponentsInUseThenNotInUse)
{
    ResultNetwork r;
    for (int id : {r.P1, r.P2}) {
        TPipe &pipe = r.Pipe(id);
        pipe.ComponentPressureCount = 1;
        pipe.ComponentPressure.Name = "C" + pipe.Name;
        pipe.ComponentPressure.PressureType = ComponentPressureKv;
        pipe.ComponentPressure.Kv = 12.5;
        pipe.ComponentPressureLoss_mHd_Fluid = 1.25;
    }
    r.Pipe(r.P1).ComponentPressureUseInCalc = false;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridComponentResults(grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(Cells(grid, 2, 5, 10),
              (std::vector<std::string>{"CP2", "Kv", "12.5000", "0.0200", "20.0000", "1.2500"}));
    EXPECT_EQ(Cells(grid, 3, 0, 0), std::vector<std::string>{std::to_string(r.P1)});
    EXPECT_EQ(Cells(grid, 3, 5, 6), (std::vector<std::string>{"NOT IN USE", ""}));
    EXPECT_EQ(Cells(grid, 1, 8, 10), (std::vector<std::string>{"m³/sec", "kg/sec", "m.hd"}));
}

TEST(PumpTable, PumpsOfEveryKindInLinkOrder)
{
    ResultNetwork r;
    TPump fixedFlow;
    fixedFlow.Name = "Fixed";
    fixedFlow.PumpType = PumpFixedFlow;
    r.Pipe(r.P1).AddPump(fixedFlow);
    r.Pipe(r.P2).AddPump(CurvePump());
    r.Pipe(r.P2).Pump_mHd_Fluid = 30;
    r.Pipe(r.P2).PumpNPSHr_mHd_Fluid = 2;
    r.Pipe(r.P2).Velocity_ms = 2.55;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPumpResults(grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(WrittenColumns(grid, 0), 16);
    EXPECT_EQ(Cells(grid, 1, 11, 14),
              (std::vector<std::string>{"m.hd (absolute)", "m.hd (absolute)", "Percentage", "Kilowatts"}));

    EXPECT_EQ(Cells(grid, 2, 2, 5), (std::vector<std::string>{"Fixed", "Set Flow Rate", "", ""}));
    EXPECT_EQ(grid.Cell(11, 2), "Not known");
    EXPECT_EQ(Cells(grid, 2, 13, 14), (std::vector<std::string>{"Not known", "Not Known"}));

    EXPECT_EQ(Cells(grid, 3, 1, 3), (std::vector<std::string>{"P2", "Pump A", "1450"}));
    EXPECT_EQ(Cells(grid, 3, 6, 7), (std::vector<std::string>{"0.0200", "2.550"}));
    EXPECT_EQ(Cells(grid, 3, 10, 11), (std::vector<std::string>{"30.000", "2.000"}));
    EXPECT_EQ(grid.Cell(13, 3), "60.00");
    // 0.02 m3/s x 30 m x 1000 kg/m3 x g / 0.6 = 9.8067 kW
    EXPECT_EQ(grid.Cell(14, 3), "9.8067");
    EXPECT_EQ(grid.Cell(15, 3), "duty standby");

    r.Pipe(r.P2).PumpUseInCalc = false;
    r.N.PopulateStringGridPumpResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(2, 3), "NOT IN USE: Pump A");
    EXPECT_EQ(grid.Cell(3, 3), "1450");
    EXPECT_EQ(Cells(grid, 3, 6, 14), std::vector<std::string>(9, ""));
    EXPECT_EQ(grid.Cell(15, 3), "duty standby");
}

TEST(PumpTable, NetPositiveSuctionHeadNotes)
{
    ResultNetwork r;
    r.Pipe(r.P3).AddPump(CurvePump());
    r.Pipe(r.P3).PumpNPSHr_mHd_Fluid = 30;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPumpResults(grid, 0, finish);
    // 2 bar + 1 bar atmosphere - 0.5 bar vapour pressure
    EXPECT_EQ(grid.Cell(12, 2), "25.493 (Too Low - Cavitation may occur at the pump)");

    r.SetNode(r.J, 0, -3);
    r.N.PopulateStringGridPumpResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(12, 2),
              "-25.493 (Too Low - Cavitation may occur at the pump) (NPSHa cannot be negative)");
}

TEST(NodeTable, DemandsAndTheFlowsThroughEachNode)
{
    ResultNetwork r;
    r.N.GetNode(r.J).JointSupply_m3s = 0.1;
    r.N.GetNode(r.J).JointSupply_kgs = 100;
    r.Pipe(r.P1).FlowUncompressed_m3s = 0; // so that only the supply enters J
    r.Pipe(r.P2).FlowUncompressed_m3s = 0.12;
    r.Pipe(r.P3).FlowUncompressed_m3s = -0.02; // runs back into J
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridNodeResults(grid, 0, finish);
    EXPECT_EQ(finish, 5);
    EXPECT_EQ(WrittenColumns(grid, 0), 17);
    EXPECT_EQ(grid.Cell(11, 0), "Demand Out (Vol) @ Fluid Zone Density Downstrem");
    EXPECT_EQ(grid.ColWidth(0), 55);
    EXPECT_EQ(grid.ColWidth(1), 86);

    const int tankRow = 2, jointRow = 3;
    EXPECT_EQ(Cells(grid, tankRow, 1, 5), (std::vector<std::string>{"Tank", "T", "10.000", "2.000", "0.0000"}));
    EXPECT_EQ(Cells(grid, tankRow, 8, 11), std::vector<std::string>(4, "N/A"));
    // HGL: 1 bar as metres plus 10 m.
    EXPECT_EQ(grid.Cell(7, tankRow), "20.197");

    EXPECT_EQ(Cells(grid, jointRow, 1, 5), (std::vector<std::string>{"Join Point", "J", "0.000", "N/A", "N/A"}));
    EXPECT_EQ(Cells(grid, jointRow, 8, 15),
              (std::vector<std::string>{"100.0000", "0.0000", "0.1000", "0.0000", "100.0000", "100.0000", "0.1000",
                                        "0.1000"}));
    EXPECT_EQ(Cells(grid, 4, 1, 1), std::vector<std::string>{"Demand Pressure"});
}

TEST(NodeTable, AGasNetworkDropsTheLiquidLevel)
{
    ResultNetwork r;
    r.MakeGas();
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridNodeResults(grid, 0, finish);
    EXPECT_EQ(WrittenColumns(grid, 0), 16);
    EXPECT_EQ(grid.Cell(4, 0), "Outlet Press.");
    EXPECT_EQ(grid.Cell(6, 0), "Density at Node");
    EXPECT_EQ(grid.Cell(9, 0), "Demand In (Gas)");
    EXPECT_EQ(grid.Cell(9, 1), "SCMH");
    EXPECT_EQ(grid.Cell(15, 0), "Notes");
    EXPECT_EQ(grid.Cell(4, 2), "0.0000"); // the tank's outlet pressure
}

TEST(FluidTable, SpecificHeatRatioOnlyWithAGasZone)
{
    ResultNetwork r;
    r.N.FluidZones[1].Fluid.SetToWater();
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridFluidResults(grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(WrittenColumns(grid, 0), 10);
    EXPECT_EQ(Headings(grid, 2), (std::vector<std::string>{"1", "Water", "H2O", "20.000", "0.0000", "998.000000",
                                                            "1.000000", "1.002000", "0.024000", "Liquid"}));

    r.N.FluidZonesCount = 2;
    r.N.FluidZones[2].Fluid.SetToAir();
    grid = NewGrid();
    r.N.PopulateStringGridFluidResults(grid, 3, finish);
    EXPECT_EQ(finish, 6);
    EXPECT_EQ(grid.Cell(10, 3), "Specific Heat");
    EXPECT_EQ(grid.Cell(10, 4), "Ratio");
    EXPECT_EQ(grid.Cell(10, 5), "0.000000");
    EXPECT_EQ(Cells(grid, 6, 8, 10), (std::vector<std::string>{"N/A", "Gas", "1.401968"}));
}

TEST(FluidTable, PressureInAFluidHeadUnitIsFinite)
{
    ResultNetwork r;
    r.N.FluidZones[1].Fluid.pressure_bar_g = 1;
    r.N.ConfigOptions.UnitOfPressure = unt_m_hd_fluid;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridFluidResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(4, 2), "10.197");
}

TEST(FittingTable, OneRowPerFittingAndATotalsRowPerPipe)
{
    ResultNetwork r;
    TFittingSet &set = r.Pipe(r.P1).FittingSet;
    TFitting elbow, valve, exit;
    elbow.SetFittingData(100, 3, "E90", "100 mm", "4 in", "Elbow", 0.75);
    valve.SetFittingData(100, 8, "GV", "100 mm", "4 in", "Gate valve", 0.2);
    exit.SetFittingData(100, 2, "EX", "100 mm", "4 in", "Exit", 1.0);
    set.AddFitting(exit, 1, ExitFitting);
    set.AddFitting(elbow, 2, EntryFitting);
    set.AddFitting(valve, 1, EntryFitting);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridFittingResults(grid, 0, finish);

    EXPECT_EQ(WrittenColumns(grid, 0), 12);
    EXPECT_EQ(WrittenColumns(grid, 1), 0);
    EXPECT_EQ(Headings(grid, 2), (std::vector<std::string>{std::to_string(r.P1), "P1", "Start of Pipe", "Elbow",
                                                            "4 in", "100 mm", "E90", "0.7500", "2", "1.5000"}));
    EXPECT_EQ(Cells(grid, 3, 0, 3), (std::vector<std::string>{"", "", "Start of Pipe", "Gate valve"}));
    EXPECT_EQ(Cells(grid, 4, 2, 3), (std::vector<std::string>{"End of Pipe", "Exit"}));
    EXPECT_EQ(Headings(grid, 5),
              (std::vector<std::string>{"", "", "", "", "", "", "", "", "", "", "1.7000", "1.0000"}));
    EXPECT_EQ(Cells(grid, 6, 0, 2), (std::vector<std::string>{std::to_string(r.P2), "P2", "No Fittings"}));
    EXPECT_EQ(grid.Cell(2, 7), "No Fittings");
    EXPECT_EQ(finish, 8); // one past the last row
}

TEST(AllResultsGrid, StacksTheTablesUnderTheirTitlesFromRowTwo)
{
    ResultNetwork r;
    AddValve(r.Pipe(r.P2), PRV, true);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridAllResults(grid, 9, 1, finish);

    const std::vector<std::string> titles = {"Fluids",      "Pipe Materials", "Pipe Fittings",  "Pipe Results",
                                             "Pump Results", "FCV Results",    "PRV Results",    "BPV Results",
                                             "Node Results", "Energy Results", "Factor Results"};
    std::vector<int> titleRows;
    for (int row = 0; row < grid.RowCount(); ++row) {
        const std::vector<std::string> texts = Headings(grid, row);
        if (texts.size() == 2 && texts[0].empty())
            titleRows.push_back(row);
    }
    ASSERT_EQ(titleRows.size(), titles.size());
    EXPECT_EQ(titleRows[0], 2);
    for (std::size_t i = 0; i < titles.size(); ++i)
        EXPECT_EQ(grid.Cell(1, titleRows[i]), titles[i]);
    EXPECT_EQ(grid.Cell(0, 3), "Zone");
    // Fluids end at row 5, materials at row 12 and the fittings at row 19,
    // whose table gives one past its last row as its finish row.
    EXPECT_EQ(titleRows[1], 7);
    EXPECT_EQ(titleRows[2], 14);
    EXPECT_EQ(titleRows[3], 22);
    EXPECT_EQ(grid.Cell(0, titleRows[6] + 3), std::to_string(r.P2));
    EXPECT_EQ(finish, titleRows[10] + 1 + 1 + 3);
    EXPECT_EQ(grid.RowCount(), finish + 1);
    EXPECT_EQ(grid.ColWidth(0), 50);
    EXPECT_EQ(grid.ColWidth(1), 80);
}
