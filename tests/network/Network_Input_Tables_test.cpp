#include "network/Network_Class.h"

#include "Result_Tables_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

namespace {

std::vector<std::string> Cells(const TStringGrid &grid, int row, int firstCol, int lastCol)
{
    std::vector<std::string> texts;
    for (int col = firstCol; col <= lastCol; ++col)
        texts.push_back(grid.Cell(col, row));
    return texts;
}

void AddValve(TPipe &pipe, TControlType type, bool inUse)
{
    pipe.FlowControlCount = 1;
    pipe.FlowControlUseInCalc = inUse;
    pipe.FlowControl.ControlType = type;
    pipe.FlowControl.Name = "V" + pipe.Name;
    pipe.FlowControl.RegulatedPressure_Bar_g = 2.5;
}

void AddComponent(TPipe &pipe, TPressureType type, double value)
{
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.Name = "C" + pipe.Name;
    pipe.ComponentPressure.PressureType = type;
    pipe.ComponentPressure.Cv = value;
    pipe.ComponentPressure.Kv = value;
}

} // namespace

TEST(InputTables, PipeDataListsTheLinkedPipesWithoutARowMinimum)
{
    ResultNetwork r;
    r.AddClosedPipe("Spare");
    r.Pipe(r.P2).Notes = {"a", "b"};
    r.Pipe(r.P2).Material = "Steel";
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridPipeData(grid, 0, finish);
    EXPECT_EQ(finish, 4);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(Headings(grid, 0), (std::vector<std::string>{"Pipe Id", "Pipe Name", "Nom. Size", "Material",
                                                            "Sch / Class", "Diameter", "Roughness", "Length",
                                                            "Pipe Notes"}));
    EXPECT_EQ(Headings(grid, 3), (std::vector<std::string>{std::to_string(r.P2), "P2", "", "Steel", "", "100.000",
                                                            "0.045000", "100.000", "a b"}));
}

TEST(InputTables, NodeTablesListOneTypeEachInIdOrder)
{
    ResultNetwork r;
    const int second = AddJoint(r.N, 40, 40, Tank);
    r.N.GetNode(second).Surface_Pressure_Bar_g = 0.5;
    r.N.GetNode(r.T).Notes = {"top"};
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridTankData(grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.ColWidth(0), 50);
    EXPECT_EQ(grid.ColWidth(1), 86);
    EXPECT_EQ(Headings(grid, 2),
              (std::vector<std::string>{std::to_string(r.T), "Tank", "T", "10.000", "2.000", "0.0000", "top"}));
    EXPECT_EQ(Cells(grid, 3, 0, 0), std::vector<std::string>{std::to_string(second)});
    EXPECT_EQ(grid.Cell(5, 3), "0.5000");

    grid = NewGrid();
    r.N.PopulateStringGridEndPressureData(grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(grid.ColWidth(0), 55);
    EXPECT_EQ(Cells(grid, 2, 1, 3), (std::vector<std::string>{"Demand Pressure", "E", "5.000"}));

    grid = NewGrid();
    r.N.GetNode(r.K).JointDischarge_m3s = 0.01;
    r.N.PopulateStringGridJointData(grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(Cells(grid, 1, 4, 5), (std::vector<std::string>{"m³/sec", "m³/sec"}));
    EXPECT_EQ(Cells(grid, 3, 1, 5), (std::vector<std::string>{"Join Point", "K", "0.000", "0.0000", "0.0100"}));
}

TEST(InputTables, JointDemandsOfAGasNetworkAreStandardFlows)
{
    ResultNetwork r;
    r.MakeGas();
    r.N.GetNode(r.K).JointDischarge_SCMH = 12.34567;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridJointData(grid, 0, finish);
    EXPECT_EQ(Cells(grid, 1, 4, 5), (std::vector<std::string>{"SCMH", "SCMH"}));
    EXPECT_EQ(Cells(grid, 3, 4, 5), (std::vector<std::string>{"0.0000", "12.3457"}));
}

TEST(InputTables, ItemsInUseAndNotInUseAsTheFlagsAsk)
{
    ResultNetwork r;
    AddValve(r.Pipe(r.P1), BPV, false);
    AddValve(r.Pipe(r.P3), BPV, true);
    struct Case {
        bool ShowInUse, ShowNotInUse;
        std::vector<std::string> Ids, Used;
    };
    const std::string p1 = std::to_string(r.P1), p3 = std::to_string(r.P3);
    const Case cases[] = {
        {true, false, {p3}, {"Yes"}},
        {false, true, {p1}, {"No (Not In Use)"}},
        {true, true, {p1, p3}, {"No (Not In Use)", "Yes"}},
        {false, false, {}, {}},
    };
    for (const Case &c : cases) {
        TStringGrid grid = NewGrid();
        int finish = 0;
        r.N.PopulateStringGridBPVData(c.ShowInUse, c.ShowNotInUse, grid, 0, finish);
        EXPECT_EQ(finish, 1 + static_cast<int>(c.Ids.size()));
        EXPECT_EQ(grid.RowCount(), finish + 1);
        std::vector<std::string> ids, used;
        for (int row = 2; row <= finish; ++row) {
            ids.push_back(grid.Cell(0, row));
            used.push_back(grid.Cell(6, row));
        }
        EXPECT_EQ(ids, c.Ids);
        EXPECT_EQ(used, c.Used);
    }
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridBPVData(true, true, grid, 0, finish);
    EXPECT_EQ(Headings(grid, 0),
              (std::vector<std::string>{"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "BPV Name", "BPV Pressure"}));
    EXPECT_EQ(Cells(grid, 1, 3, 6), (std::vector<std::string>{"mm", "", "bar.g", "Used in Model"}));
    EXPECT_EQ(Cells(grid, 3, 4, 5), (std::vector<std::string>{"VP3", "2.5000"}));

    // No PRV at all: the two heading rows only.
    r.N.PopulateStringGridPRVData(true, true, grid, 0, finish);
    EXPECT_EQ(finish, 1);
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(InputTables, ATableBelowTheTopWritesNoHeadings)
{
    ResultNetwork r;
    AddComponent(r.Pipe(r.P2), ComponentPressureKv, 7.5);
    AddComponent(r.Pipe(r.P3), ComponentPressureCv, 9);
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridComponentKvData(true, true, grid, 5, finish);
    EXPECT_EQ(finish, 6);
    EXPECT_EQ(Headings(grid, 5), std::vector<std::string>{});
    EXPECT_EQ(Headings(grid, 6),
              (std::vector<std::string>{std::to_string(r.P2), "P2", "", "100.000", "CP2", "7.5000", "Yes"}));

    // The Kv component is not a Cv component.
    grid = NewGrid();
    r.N.PopulateStringGridComponentCvData(true, true, grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(Cells(grid, 2, 0, 5), (std::vector<std::string>{std::to_string(r.P3), "P3", "", "100.000", "CP3",
                                                               "9.0000"}));
    r.N.PopulateStringGridComponentCvData(true, true, grid, 3, finish);
    EXPECT_EQ(finish, 4);
    r.N.PopulateStringGridComponentFixedLossData(true, true, grid, 3, finish);
    EXPECT_EQ(finish, 3);
}

TEST(InputTables, FixedLossAndPumpSettings)
{
    ResultNetwork r;
    TPipe &component = r.Pipe(r.P1);
    AddComponent(component, ComponentPressureFixed, 0);
    component.ComponentPressure.FixedPressureLoss_mHd = 4;
    component.FlowUncompressed_m3s = -0.03; // the loss is shown as a magnitude

    TPump fixedFlow;
    fixedFlow.Name = "Feed";
    fixedFlow.PumpType = PumpFixedFlow;
    fixedFlow.SetFlowRate_m3s = 0.025;
    fixedFlow.SetFlowRate_kgs = 25;
    r.Pipe(r.P2).AddPump(fixedFlow);
    TPump fixedHead;
    fixedHead.Name = "Boost";
    fixedHead.PumpType = PumpFixedHead;
    fixedHead.SetFixedHead_Stored_mH2O = true;
    fixedHead.SetFixedHead_FluidHead_m = 10; // metres of water, as heavy as the zone fluid
    r.Pipe(r.P3).AddPump(fixedHead);

    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridComponentFixedLossData(true, true, grid, 0, finish);
    EXPECT_EQ(Cells(grid, 2, 4, 6), (std::vector<std::string>{"CP1", "4.0000", "Yes"}));
    EXPECT_EQ(grid.Cell(5, 1), "m.hd Fluid");

    grid = NewGrid();
    r.N.PopulateStringGridPumpsFixedFlowData(true, true, grid, 0, finish);
    EXPECT_EQ(Headings(grid, 2),
              (std::vector<std::string>{std::to_string(r.P2), "P2", "", "100.000", "Feed", "0.0250", "25.0000", "Yes"}));

    grid = NewGrid();
    r.N.PopulateStringGridPumpsFixedHeadData(true, true, grid, 0, finish);
    EXPECT_EQ(Cells(grid, 2, 4, 6), (std::vector<std::string>{"Boost", "10.0000", "Yes"}));

    grid = NewGrid();
    r.N.PopulateStringGridPumpsCurveData(true, true, grid, 0, finish);
    EXPECT_EQ(finish, 1);
    r.Pipe(r.P3).Pump.PumpType = PumpFixedSpeed;
    r.Pipe(r.P3).Pump.Speed_rpm = 2900;
    r.Pipe(r.P3).Pump.ImpellerDiameter_m = 0.25;
    r.Pipe(r.P3).PumpUseInCalc = false;
    r.N.PopulateStringGridPumpsCurveData(true, true, grid, 0, finish);
    EXPECT_EQ(Headings(grid, 0),
              (std::vector<std::string>{"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Pump Name", "Speed",
                                        "Imp. Diam.", "Curve"}));
    EXPECT_EQ(Cells(grid, 1, 5, 8), (std::vector<std::string>{"Rpm", "mm", "", "Used in Model"}));
    EXPECT_EQ(Cells(grid, 2, 4, 8),
              (std::vector<std::string>{"Boost", "2900", "250.0000", "View/Edit", "No (Not In Use)"}));
}

TEST(InputTables, FlowControlSettingsInTheDisplayUnits)
{
    ResultNetwork r;
    TPipe &pipe = r.Pipe(r.P1);
    AddValve(pipe, FCV, true);
    pipe.FlowControl.FlowControlFlowType = MassFlow;
    pipe.FlowControl.FlowControl_kgs = 15;
    r.N.ConfigOptions.UnitOfFlow = unt_L_sec;
    TStringGrid grid = NewGrid();
    int finish = 0;
    r.N.PopulateStringGridFCVData(true, true, grid, 0, finish);
    EXPECT_EQ(Headings(grid, 0),
              (std::vector<std::string>{"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "FCV Name", "Flow Rate",
                                        "Mass Flow"}));
    EXPECT_EQ(Cells(grid, 1, 5, 7), (std::vector<std::string>{"l/sec", "kg/sec", "Used in Model"}));
    EXPECT_EQ(Cells(grid, 2, 4, 7), (std::vector<std::string>{"VP1", "15.0000", "15.0000", "Yes"}));
}
