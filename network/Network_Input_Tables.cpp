// The input data of many items at once, one table per kind of item, for the
// edit grid. The edit grid reads the user's changes back by column position,
// so the column orders are fixed.

#include "network/Network_Class.h"
#include "network/Result_Table_Cells.h"

#include "units/Unit_Format.h"

#include <cmath>

namespace tessaran {

namespace {

using THeadings = std::vector<std::pair<std::string, std::string>>;

// The nodes of one type in id order, one row each from startRow + 2.
template <typename NodeRow>
int ListNodesOfType(const TNetwork &network, TNodeType type, int startRow, NodeRow nodeRow)
{
    int row = startRow + 1;
    for (int nodeId = network.GetNextNodeId(0); nodeId > 0; nodeId = network.GetNextNodeId(nodeId)) {
        if (network.GetNode(nodeId).NodeType != type)
            continue;
        ++row;
        nodeRow(nodeId, row);
    }
    return row;
}

// An item table: the pipes of the links, in order, that carry an item of
// the table's kind that is in use (with showInUse) or not in use (with
// showNotInUse). Headings only for a table at the top of the grid.
template <typename HasItem, typename ItemCells>
void ItemDataTable(const TNetwork &network, bool showInUse, bool showNotInUse, TStringGrid &g, int startRow,
                   int &finishRow, const THeadings &itemHeadings, HasItem hasItem, ItemCells itemCells)
{
    const TResultFormats f(network);
    const TConfigOptions &o = network.ConfigOptions;
    const int useColumn = 4 + static_cast<int>(itemHeadings.size());
    int row = startRow;
    if (startRow == 0) {
        THeadings headings{{"Pipe Id", ""},
                           {"Pipe Name", ""},
                           {"Nom. Size", ""},
                           {"Diameter", unitName(o.UnitOfDiameter)}};
        headings.insert(headings.end(), itemHeadings.begin(), itemHeadings.end());
        headings.push_back({"", "Used in Model"});
        SetFirstColumnWidths(g, 50, 80);
        PutHeadings(g, 0, headings);
        row = 1;
    }
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        const int pipeId = network.NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = network.GetPipe(pipeId);
        bool inUse = false;
        if (!hasItem(pipe, inUse) || !(inUse ? showInUse : showNotInUse))
            continue;
        ++row;
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        PutCell(g, 2, row, pipe.getNominalDiameterString(o.UnitOfDiameter));
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        itemCells(f, pipe, row);
        PutCell(g, useColumn, row, inUse ? "Yes" : "No (Not In Use)");
    }
    finishRow = row;
    g.SetRowCount(finishRow + 1);
}

auto HasValveOfType(TControlType type)
{
    return [type](const TPipe &pipe, bool &inUse) {
        inUse = pipe.FlowControlUseInCalc;
        return pipe.FlowControlCount == 1 && pipe.FlowControl.ControlType == type;
    };
}

auto HasComponentOfType(TPressureType type)
{
    return [type](const TPipe &pipe, bool &inUse) {
        inUse = pipe.ComponentPressureUseInCalc;
        return pipe.ComponentPressureCount == 1 && pipe.ComponentPressure.PressureType == type;
    };
}

auto HasPumpOfType(TPumpType type)
{
    return [type](const TPipe &pipe, bool &inUse) {
        inUse = pipe.PumpUseInCalc;
        return pipe.PumpCount == 1 && pipe.Pump.PumpType == type;
    };
}

void PressureValveData(const TNetwork &network, TControlType type, bool showInUse, bool showNotInUse,
                       TStringGrid &g, int startRow, int &finishRow)
{
    const TConfigOptions &o = network.ConfigOptions;
    const std::string word = type == PRV ? "PRV" : "BPV";
    ItemDataTable(network, showInUse, showNotInUse, g, startRow, finishRow,
                  {{word + " Name", ""}, {word + " Pressure", unitName(o.UnitOfSurfacePressure)}},
                  HasValveOfType(type), [&](const TResultFormats &f, const TPipe &pipe, int row) {
                      PutCell(g, 4, row, pipe.FlowControl.Name);
                      PutCell(g, 5, row,
                              formatFixed(4, convertPressure(unt_Bar_G, o.UnitOfSurfacePressure,
                                                             pipe.FlowControl.RegulatedPressure_Bar_g,
                                                             o.Atmosphere_bar_a, f.ZoneFluid(pipe).density_kgs_m3)));
                  });
}

void ComponentCoefficientData(const TNetwork &network, TPressureType type, bool showInUse, bool showNotInUse,
                              TStringGrid &g, int startRow, int &finishRow)
{
    const bool cv = type == ComponentPressureCv;
    ItemDataTable(network, showInUse, showNotInUse, g, startRow, finishRow,
                  {{"Component Name", ""}, {cv ? "Cv" : "Kv", ""}}, HasComponentOfType(type),
                  [&](const TResultFormats &, const TPipe &pipe, int row) {
                      PutCell(g, 4, row, pipe.ComponentPressure.Name);
                      PutCell(g, 5, row, formatFixed(4, cv ? pipe.ComponentPressure.Cv : pipe.ComponentPressure.Kv));
                  });
}

} // namespace

// --- Pipes and nodes ------------------------------------------------------------------------

void TNetwork::PopulateStringGridPipeData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow,
                THeadings{{"Pipe Id", ""},
                          {"Pipe Name", ""},
                          {"Nom. Size", ""},
                          {"Material", ""},
                          {"Sch / Class", ""},
                          {"Diameter", unitName(o.UnitOfDiameter)},
                          {"Roughness", unitName(o.UnitOfRoughness)},
                          {"Length", unitName(o.UnitOfLength)},
                          {"Pipe Notes", ""}});
    // Closed pipes are not listed.
    int row = TheStartRow + 1;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        row = TheStartRow + 1 + i;
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        PutCell(g, 2, row, pipe.getNominalDiameterString(o.UnitOfDiameter));
        PutCell(g, 3, row, pipe.Material);
        PutCell(g, 4, row, pipe.ScheduleClass);
        PutCell(g, 5, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        PutCell(g, 6, row, f.Conv(unt_m, o.UnitOfRoughness, 6, pipe.InnerRoughness_m));
        PutCell(g, 7, row, f.Conv(unt_m, o.UnitOfLength, pipe.Length_m));
        PutCell(g, 8, row, NotesOnOneLine(pipe.Notes));
    }
    TheFinishRow = row;
    g.SetRowCount(TheFinishRow + 1);
}

void TNetwork::PopulateStringGridTankData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    SetFirstColumnWidths(g, 50, 86);
    PutHeadings(g, TheStartRow,
                THeadings{{"Id", ""},
                          {"Node Type", ""},
                          {"Node Name", ""},
                          {"Elevation", unitName(o.UnitOfElevation)},
                          {"Liquid Level", unitName(o.UnitOfLiquidLevel)},
                          {"Surface Press.", unitName(o.UnitOfSurfacePressure)},
                          {"Node Notes", ""}});
    TheFinishRow = ListNodesOfType(*this, Tank, TheStartRow, [&](int nodeId, int row) {
        const TNode &node = GetNode(nodeId);
        PutCell(g, 0, row, std::to_string(nodeId));
        PutCell(g, 1, row, "Tank");
        PutCell(g, 2, row, node.Name);
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfElevation, node.Elevation_m));
        PutCell(g, 4, row, f.Conv(unt_m, o.UnitOfLiquidLevel, node.LiquidLevel_m));
        PutCell(g, 5, row, f.Conv(unt_Bar_G, o.UnitOfSurfacePressure, node.Surface_Pressure_Bar_g));
        PutCell(g, 6, row, NotesOnOneLine(node.Notes));
    });
    g.SetRowCount(TheFinishRow + 1);
}

void TNetwork::PopulateStringGridEndPressureData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    SetFirstColumnWidths(g, 55, 86);
    PutHeadings(g, TheStartRow,
                THeadings{{"Node Id", ""},
                          {"Node Type", ""},
                          {"Node Name", ""},
                          {"Elevation", unitName(o.UnitOfElevation)},
                          {"End Pressure", unitName(o.UnitOfSurfacePressure)},
                          {"Node Notes", ""}});
    TheFinishRow = ListNodesOfType(*this, EndPressure, TheStartRow, [&](int nodeId, int row) {
        const TNode &node = GetNode(nodeId);
        PutCell(g, 0, row, std::to_string(nodeId));
        PutCell(g, 1, row, "Demand Pressure");
        PutCell(g, 2, row, node.Name);
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfElevation, node.Elevation_m));
        PutCell(g, 4, row, f.Conv(unt_Bar_G, o.UnitOfSurfacePressure, node.Surface_Pressure_Bar_g));
        PutCell(g, 5, row, NotesOnOneLine(node.Notes));
    });
    g.SetRowCount(TheFinishRow + 1);
}

void TNetwork::PopulateStringGridJointData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();
    const TUnit demandUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;
    SetFirstColumnWidths(g, 55, 86);
    PutHeadings(g, TheStartRow,
                THeadings{{"Node Id", ""},
                          {"Node Type", ""},
                          {"Node Name", ""},
                          {"Elevation", unitName(o.UnitOfElevation)},
                          {"In Flow Demand", unitName(demandUnit)},
                          {"Out Flow Demand", unitName(demandUnit)},
                          {"Node Notes", ""}});
    TheFinishRow = ListNodesOfType(*this, Joint, TheStartRow, [&](int nodeId, int row) {
        const TNode &node = GetNode(nodeId);
        auto demand = [&](double m3s, double scmh) {
            if (!allGas)
                return f.Conv(unt_m3_sec, o.UnitOfFlow, m3s);
            const TFluid &fluid = f.NodeFluid(nodeId);
            return convertFlowUnitToString(unt_SCMH, o.UnitOfGasFlow, 4, o.GasFlowTemperaturePressureModel, scmh,
                                           fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K,
                                           o.Atmosphere_bar_a);
        };
        PutCell(g, 0, row, std::to_string(nodeId));
        PutCell(g, 1, row, "Join Point");
        PutCell(g, 2, row, node.Name);
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfElevation, node.Elevation_m));
        PutCell(g, 4, row, demand(node.JointSupply_m3s, node.JointSupply_SCMH));
        PutCell(g, 5, row, demand(node.JointDischarge_m3s, node.JointDischarge_SCMH));
        PutCell(g, 6, row, NotesOnOneLine(node.Notes));
    });
    g.SetRowCount(TheFinishRow + 1);
}

// --- Items on pipes -------------------------------------------------------------------------

void TNetwork::PopulateStringGridFCVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                         int TheStartRow, int &TheFinishRow) const
{
    const TConfigOptions &o = ConfigOptions;
    const bool allGas = IsAllGasSystem();
    const TUnit flowUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;
    TStringGrid &g = TheStringGrid;
    ItemDataTable(*this, ShowInUse, ShowNotInUse, g, TheStartRow, TheFinishRow,
                  {{"FCV Name", ""}, {"Flow Rate", unitName(flowUnit)}, {"Mass Flow", unitName(o.UnitOfMassFlow)}},
                  HasValveOfType(FCV), [&](const TResultFormats &f, const TPipe &pipe, int row) {
                      const TFlowControl &control = pipe.FlowControl;
                      const TFluid &fluid = f.ZoneFluid(pipe);
                      auto setting = [&](TUnit to) {
                          switch (control.FlowControlFlowType) {
                          case MassFlow: return f.Flow(unt_kg_sec, to, control.FlowControl_kgs, fluid);
                          case GasFlow: return f.Flow(unt_SCMH, to, control.FlowControl_SCMH, fluid);
                          case VolumeFlow: break;
                          }
                          return f.Flow(unt_m3_sec, to, control.FlowControl_m3s, fluid);
                      };
                      PutCell(g, 4, row, control.Name);
                      PutCell(g, 5, row, formatFixed(allGas ? unitDecimals(flowUnit) : 4, setting(flowUnit)));
                      PutCell(g, 6, row, formatFixed(4, setting(o.UnitOfMassFlow)));
                  });
}

void TNetwork::PopulateStringGridPRVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                         int TheStartRow, int &TheFinishRow) const
{
    PressureValveData(*this, PRV, ShowInUse, ShowNotInUse, TheStringGrid, TheStartRow, TheFinishRow);
}

void TNetwork::PopulateStringGridBPVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                         int TheStartRow, int &TheFinishRow) const
{
    PressureValveData(*this, BPV, ShowInUse, ShowNotInUse, TheStringGrid, TheStartRow, TheFinishRow);
}

void TNetwork::PopulateStringGridComponentCvData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                 int TheStartRow, int &TheFinishRow) const
{
    ComponentCoefficientData(*this, ComponentPressureCv, ShowInUse, ShowNotInUse, TheStringGrid, TheStartRow,
                             TheFinishRow);
}

void TNetwork::PopulateStringGridComponentKvData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                 int TheStartRow, int &TheFinishRow) const
{
    ComponentCoefficientData(*this, ComponentPressureKv, ShowInUse, ShowNotInUse, TheStringGrid, TheStartRow,
                             TheFinishRow);
}

void TNetwork::PopulateStringGridComponentFixedLossData(bool ShowInUse, bool ShowNotInUse,
                                                        TStringGrid &TheStringGrid, int TheStartRow,
                                                        int &TheFinishRow) const
{
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    ItemDataTable(*this, ShowInUse, ShowNotInUse, g, TheStartRow, TheFinishRow,
                  {{"Component Name", ""}, {"Fixed Loss", unitName(o.UnitOfPressureLoss)}},
                  HasComponentOfType(ComponentPressureFixed),
                  [&](const TResultFormats &f, const TPipe &pipe, int row) {
                      const double density = f.ZoneFluid(pipe).density_kgs_m3;
                      const double loss_mFluid = std::fabs(pipe.ComponentPressure.calcLoss_mHd_Fluid(
                          pipe.FlowUncompressed_m3s, density, pipe.InnerDiameter_m));
                      PutCell(g, 4, row, pipe.ComponentPressure.Name);
                      PutCell(g, 5, row,
                              formatFixed(4, convertHeadPressureUnit(unt_m_hd_fluid, o.UnitOfPressureLoss,
                                                                     loss_mFluid, density)));
                  });
}

void TNetwork::PopulateStringGridPumpsFixedFlowData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                    int TheStartRow, int &TheFinishRow) const
{
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    ItemDataTable(*this, ShowInUse, ShowNotInUse, g, TheStartRow, TheFinishRow,
                  {{"Pump Name", ""},
                   {"Fixed Flow", unitName(o.UnitOfFlow)},
                   {"Mass Flow", unitName(o.UnitOfMassFlow)}},
                  HasPumpOfType(PumpFixedFlow), [&](const TResultFormats &f, const TPipe &pipe, int row) {
                      const TPump &pump = pipe.Pump;
                      const TFluid &fluid = f.ZoneFluid(pipe);
                      const bool mass = pump.isSetFlowRateUsingMassFlow();
                      auto setFlow = [&](TUnit to) {
                          return mass ? f.Flow(unt_kg_sec, to, pump.SetFlowRate_kgs, fluid)
                                      : f.Flow(unt_m3_sec, to, pump.SetFlowRate_m3s, fluid);
                      };
                      PutCell(g, 4, row, pump.Name);
                      PutCell(g, 5, row, formatFixed(4, setFlow(o.UnitOfFlow)));
                      PutCell(g, 6, row, formatFixed(4, setFlow(o.UnitOfMassFlow)));
                  });
}

void TNetwork::PopulateStringGridPumpsFixedHeadData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                    int TheStartRow, int &TheFinishRow) const
{
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    ItemDataTable(*this, ShowInUse, ShowNotInUse, g, TheStartRow, TheFinishRow,
                  {{"Pump Name", ""}, {"Pump Fixed Head", unitName(o.UnitOfPressureLoss)}},
                  HasPumpOfType(PumpFixedHead), [&](const TResultFormats &f, const TPipe &pipe, int row) {
                      const TPump &pump = pipe.Pump;
                      PutCell(g, 4, row, pump.Name);
                      PutCell(g, 5, row,
                              formatFixed(4, convertPressureUnit(pump.SetFixedHead_Stored_mH2O ? unt_m_H2O
                                                                                               : unt_m_hd_fluid,
                                                                 o.UnitOfPressureLoss, pump.SetFixedHead_FluidHead_m,
                                                                 o.Atmosphere_bar_a,
                                                                 f.ZoneFluid(pipe).density_kgs_m3)));
                  });
}

void TNetwork::PopulateStringGridPumpsCurveData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                int TheStartRow, int &TheFinishRow) const
{
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    ItemDataTable(*this, ShowInUse, ShowNotInUse, g, TheStartRow, TheFinishRow,
                  {{"Pump Name", ""}, {"Speed", "Rpm"}, {"Imp. Diam.", unitName(o.UnitOfDiameter)}, {"Curve", ""}},
                  HasPumpOfType(PumpFixedSpeed), [&](const TResultFormats &, const TPipe &pipe, int row) {
                      const TPump &pump = pipe.Pump;
                      PutCell(g, 4, row, pump.Name);
                      PutCell(g, 5, row, std::to_string(pump.Speed_rpm));
                      PutCell(g, 6, row,
                              formatFixed(4, convertUnit(unt_m, o.UnitOfDiameter, pump.ImpellerDiameter_m)));
                      PutCell(g, 7, row, "View/Edit");
                  });
}

} // namespace tessaran
