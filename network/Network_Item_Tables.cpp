// The result tables of the items on pipes (control valves, pressure-loss
// components, pumps), of the nodes, the fluid zones and the fittings, and the
// grid that stacks the tables one below the other.

#include "network/Network_Class.h"
#include "network/Result_Table_Cells.h"

#include "units/Calculations.h"
#include "units/Unit_Format.h"

#include <algorithm>

namespace tessaran {

namespace {

using THeadings = std::vector<std::pair<std::string, std::string>>;

// The first five columns of the valve and component tables.
THeadings PipeItemHeadings(const TConfigOptions &o)
{
    return {{"Pipe Id", ""},
            {"Pipe Name", ""},
            {"Fluid Zone", ""},
            {"Material", ""},
            {"Inner Diameter", unitName(o.UnitOfDiameter)}};
}

void PutPipeItemCells(TStringGrid &g, const TResultFormats &f, int pipeId, int row)
{
    const TPipe &pipe = f.Network.GetPipe(pipeId);
    PutCell(g, 0, row, std::to_string(pipeId));
    PutCell(g, 1, row, f.PipeName(pipe));
    PutCell(g, 2, row, f.Zone(pipe));
    PutCell(g, 3, row, f.Material(pipe));
    PutCell(g, 4, row, f.Conv(unt_m, f.Options.UnitOfDiameter, pipe.InnerDiameter_m));
}

// The items in use get a full row, then the items not in use a short one
// marked in column 5. Rows follow one another from firstRow; returns the
// last row written, or firstRow - 1 for none.
template <typename HasItem, typename FullRow>
int ListInUseThenNotInUse(TStringGrid &g, const TResultFormats &f, int firstRow, HasItem hasItem, FullRow fullRow)
{
    const TNetwork &network = f.Network;
    int row = firstRow - 1;
    for (bool inUsePass : {true, false})
        for (int i = 1; i <= network.NodeLinksCount; ++i) {
            const int pipeId = network.NodeLinks[static_cast<std::size_t>(i)].PipeId;
            bool inUse = false;
            if (!hasItem(network.GetPipe(pipeId), inUse) || inUse != inUsePass)
                continue;
            ++row;
            PutPipeItemCells(g, f, pipeId, row);
            if (inUse)
                fullRow(pipeId, row);
            else
                PutCell(g, 5, row, "NOT IN USE");
        }
    return row;
}

// The setting of a flow control valve, converted to a flow unit.
double ValveSetting(const TResultFormats &f, const TPipe &pipe, TUnit to)
{
    const TFlowControl &control = pipe.FlowControl;
    const TFluid &fluid = f.ZoneFluid(pipe);
    switch (control.FlowControlFlowType) {
    case MassFlow: return f.Flow(unt_kg_sec, to, control.FlowControl_kgs, fluid);
    case GasFlow: return f.Flow(unt_SCMH, to, control.FlowControl_SCMH, fluid);
    case VolumeFlow: break;
    }
    return f.Flow(unt_m3_sec, to, control.FlowControl_m3s, fluid);
}

auto HasValveOfType(TControlType type)
{
    return [type](const TPipe &pipe, bool &inUse) {
        inUse = pipe.FlowControlUseInCalc;
        return pipe.FlowControlCount == 1 && pipe.FlowControl.ControlType == type;
    };
}

// The pressure valve tables differ only in the valve's word.
void PressureValveTable(const TNetwork &network, TControlType type, TStringGrid &g, int startRow, int &finishRow)
{
    const TResultFormats f(network);
    const TConfigOptions &o = network.ConfigOptions;
    const std::string word = type == PRV ? "PRV" : "BPV";
    THeadings headings = PipeItemHeadings(o);
    headings.insert(headings.end(), {{word + " Name", ""},
                                     {word + " Pressure", unitName(o.UnitOfSurfacePressure)},
                                     {word + " Loss", unitPlainName(o.UnitOfPressureLoss)}});
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, startRow, headings);

    finishRow = ListInUseThenNotInUse(g, f, startRow + 2, HasValveOfType(type), [&](int pipeId, int row) {
        const TPipe &pipe = network.GetPipe(pipeId);
        const double density = f.ZoneFluid(pipe).density_kgs_m3;
        PutCell(g, 5, row, pipe.FlowControl.Name);
        PutCell(g, 6, row,
                formatFixed(4, convertPressure(unt_Bar_G, o.UnitOfSurfacePressure,
                                               pipe.FlowControl.RegulatedPressure_Bar_g, o.Atmosphere_bar_a, density)));
        PutCell(g, 7, row, f.Head(o.UnitOfPressureLoss, -1, pipe.FlowControlLoss_mHd_Fluid, density));
    });
    SetTableRowCount(g, finishRow, MinimumResultTableRows);
}

} // namespace

// --- Control valves ---------------------------------------------------------------------

void TNetwork::PopulateStringGridFCVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();
    const TUnit flowUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;

    THeadings headings = PipeItemHeadings(o);
    headings.insert(headings.end(), {{"FCV Name", ""},
                                     {"FCV Mass Flow", unitName(o.UnitOfMassFlow)},
                                     {allGas ? "FCV Gas Flow" : "FCV Vol Flow", unitName(flowUnit)},
                                     {"FCV Loss", unitPlainName(o.UnitOfPressureLoss)}});
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow, headings);

    TheFinishRow = ListInUseThenNotInUse(g, f, TheStartRow + 2, HasValveOfType(FCV), [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        PutCell(g, 5, row, pipe.FlowControl.Name);
        PutCell(g, 6, row, formatFixed(4, ValveSetting(f, pipe, o.UnitOfMassFlow)));
        PutCell(g, 7, row, formatFixed(allGas ? unitDecimals(flowUnit) : 4, ValveSetting(f, pipe, flowUnit)));
        PutCell(g, 8, row,
                f.Head(o.UnitOfPressureLoss, -1, pipe.FlowControlLoss_mHd_Fluid, f.ZoneFluid(pipe).density_kgs_m3));
    });
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

void TNetwork::PopulateStringGridPRVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    PressureValveTable(*this, PRV, TheStringGrid, TheStartRow, TheFinishRow);
}

void TNetwork::PopulateStringGridBPVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    PressureValveTable(*this, BPV, TheStringGrid, TheStartRow, TheFinishRow);
}

// --- Pressure-loss components -----------------------------------------------------------------

void TNetwork::PopulateStringGridComponentResults(TStringGrid &TheStringGrid, int TheStartRow,
                                                  int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();

    THeadings headings = PipeItemHeadings(o);
    headings.insert(headings.end(), {{"Comp. Name", ""},
                                     {"Comp. Type", ""},
                                     {"Comp. Value", ""},
                                     {"Flow", unitName(allGas ? o.UnitOfGasFlow : o.UnitOfFlow)},
                                     {"Mass Flow", unitPlainName(o.UnitOfMassFlow)},
                                     {"Comp. Loss", unitPlainName(o.UnitOfPressureLoss)}});
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow, headings);

    auto hasComponent = [](const TPipe &pipe, bool &inUse) {
        inUse = pipe.ComponentPressureUseInCalc;
        return pipe.ComponentPressureCount == 1;
    };
    TheFinishRow = ListInUseThenNotInUse(g, f, TheStartRow + 2, hasComponent, [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        const TFluid &fluid = f.ZoneFluid(pipe);
        const double density = fluid.density_kgs_m3;
        const double massFlow = pipe.FlowUncompressed_m3s * density;
        const TComponentPressure &component = pipe.ComponentPressure;
        PutCell(g, 5, row, component.Name);
        PutCell(g, 6, row, component.getComponentTypeString());
        PutCell(g, 7, row,
                component.getComponentValueString(component.CurvePoints.LossDisplayUnit, o.Atmosphere_bar_a, density));
        PutCell(g, 8, row,
                allGas ? f.Gas(massFlow, fluid)
                       : formatFixed(unitDecimals(o.UnitOfFlow),
                                     convertUnit(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s)));
        PutCell(g, 9, row, f.Mass(massFlow, density));
        PutCell(g, 10, row,
                formatFixed(4, convertPressure(unt_m_hd_fluid, o.UnitOfPressureLoss,
                                               pipe.ComponentPressureLoss_mHd_Fluid, o.Atmosphere_bar_a, density)));
    });
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Pumps ----------------------------------------------------------------------------

void TNetwork::PopulateStringGridPumpResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();
    const TUnit flowUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;
    const TUnit npshUnit = associatedFluidHeadUnitUnit(o.UnitOfPressureLoss);

    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow,
                THeadings{{"Pipe Id", ""},
                          {"Pipe Name", ""},
                          {"Pump Name", ""},
                          {"Speed", "rpm"},
                          {"Pref. Op From", unitName(flowUnit)},
                          {"Pref. Op To", unitName(flowUnit)},
                          {"Flow In/Out", unitName(flowUnit)},
                          allGas ? std::pair<std::string, std::string>{"Mass Flow", unitName(o.UnitOfMassFlow)}
                                 : std::pair<std::string, std::string>{"Velocity", unitName(o.UnitOfVelocity)},
                          {"Suction Pressure", unitName(o.UnitOfPressure)},
                          {"Discharge Pressure", unitName(o.UnitOfPressure)},
                          {"Pump Head (+)", unitName(o.UnitOfPressureLoss)},
                          {"Pump NPSHr", unitPlainName(npshUnit) + " (absolute)"},
                          {"Pump NPSHa", unitPlainName(npshUnit) + " (absolute)"},
                          {"Pump Efficiency", "Percentage"},
                          {"Pump Power", o.UnitOfEnergy == unt_KW ? "Kilowatts" : "Horsepower"},
                          {"Pump Notes", ""}});

    int row = TheStartRow + 1;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        if (pipe.PumpCount <= 0)
            continue;
        ++row;
        const TPump &pump = pipe.Pump;
        const TFluid &fluid = f.ZoneFluid(pipe);
        const double density = fluid.density_kgs_m3;
        const double flow = pipe.FlowUncompressed_m3s;
        const bool curvePump = pump.PumpType == PumpFixedSpeed;
        auto flowCell = [&](double flow_m3s) {
            return allGas ? f.Gas(flow_m3s * density, fluid) : f.Conv(unt_m3_sec, o.UnitOfFlow, flow_m3s);
        };

        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        PutCell(g, 2, row, pump.Name);
        switch (pump.PumpType) {
        case PumpFixedSpeed: PutCell(g, 3, row, std::to_string(pump.Speed_rpm)); break;
        case PumpFixedFlow: PutCell(g, 3, row, "Set Flow Rate"); break;
        case PumpFixedHead: PutCell(g, 3, row, "Fixed Head Rise"); break;
        }
        if (curvePump) {
            const double bestFlow_m3s = pump.GetFlowAtBEP_m3s(density);
            PutCell(g, 4, row, flowCell(pump.PreferredOpRegionFromPercent * bestFlow_m3s / 100));
            PutCell(g, 5, row, flowCell(pump.PreferredOpRegionToPercent * bestFlow_m3s / 100));
        } else {
            PutCell(g, 4, row, "");
            PutCell(g, 5, row, "");
        }
        PutCell(g, 6, row, flowCell(flow));
        PutCell(g, 7, row,
                allGas ? f.Conv(unt_kg_sec, o.UnitOfMassFlow, flow * density)
                       : f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.Velocity_ms));
        PutCell(g, 8, row, f.Pres(unt_m_hd_fluid, o.UnitOfPressure, GetPumpSuctionPressure_mFluid(pipeId), density));
        PutCell(g, 9, row,
                f.Pres(unt_m_hd_fluid, o.UnitOfPressure, GetPumpDischargePressure_mFluid(pipeId), density));
        PutCell(g, 10, row, f.Head(o.UnitOfPressureLoss, 3, pipe.Pump_mHd_Fluid, density));
        PutCell(g, 11, row, curvePump ? f.Head(npshUnit, 3, pipe.PumpNPSHr_mHd_Fluid, density) : "Not known");

        const double npsha = GetPumpNPSHa_mFluid(pipeId);
        std::string npshaText = f.Pres(unt_m_hd_fluid, npshUnit, npsha, density);
        if (curvePump && npsha < pipe.PumpNPSHr_mHd_Fluid)
            npshaText += " (Too Low - Cavitation may occur at the pump)";
        if (npsha < 0)
            npshaText += " (NPSHa cannot be negative)";
        PutCell(g, 12, row, npshaText);

        const double efficiency = curvePump ? pump.calcPumpEfficiency(flow, density) : 0.0;
        if (efficiency != 0) {
            const double power_kW = calcPumpPower(flow, pipe.Pump_mHd_Fluid, density) / (efficiency / 100);
            PutCell(g, 13, row, formatFixed(2, efficiency));
            PutCell(g, 14, row, formatFixed(4, convertUnit(unt_KW, o.UnitOfEnergy, power_kW)));
        } else {
            PutCell(g, 13, row, "Not known");
            PutCell(g, 14, row, "Not Known");
        }
        PutCell(g, 15, row, NotesOnOneLine(pump.Notes));

        if (!pipe.PumpUseInCalc) {
            PutCell(g, 2, row, "NOT IN USE: " + pump.Name);
            for (int col = 6; col <= 14; ++col)
                PutCell(g, col, row, "");
        }
    }
    TheFinishRow = row;
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Nodes ----------------------------------------------------------------------------

void TNetwork::PopulateStringGridNodeResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();
    const TUnit demandUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;

    THeadings headings{{"Node Id", ""},
                       {"Node Type", ""},
                       {"Node", ""},
                       {"Elevation", unitName(o.UnitOfElevation)}};
    if (!allGas)
        headings.push_back({"Liquid Level", unitName(o.UnitOfLiquidLevel)});
    headings.insert(headings.end(),
                    {{allGas ? "Outlet Press." : "Surface Press.", unitName(o.UnitOfSurfacePressure)},
                     {"Press. at Node", unitName(o.UnitOfPressure)},
                     allGas ? std::pair<std::string, std::string>{"Density at Node", unitName(o.UnitOfDensity)}
                            : std::pair<std::string, std::string>{"HGL at Node", unitName(o.UnitOfPressureLoss)},
                     {"Demand In (Mass)", unitName(o.UnitOfMassFlow)},
                     {"Demand Out (Mass)", unitName(o.UnitOfMassFlow)},
                     {allGas ? "Demand In (Gas)" : "Demand In (Vol) @ Fluid Zone Density Downstream",
                      unitName(demandUnit)},
                     {allGas ? "Demand Out (Gas)" : "Demand Out (Vol) @ Fluid Zone Density Downstrem",
                      unitName(demandUnit)},
                     {"Total Flow In (Mass)", unitName(o.UnitOfMassFlow)},
                     {"Total Flow Out (Mass)", unitName(o.UnitOfMassFlow)},
                     {allGas ? "Total Flow In (Gas)" : "Total Flow In (Vol) @ Fluid Zone Density Downstream",
                      unitName(demandUnit)},
                     {allGas ? "Total Flow Out (Gas)" : "Total Flow Out (Vol) @ Fluid Zone Density Downstream",
                      unitName(demandUnit)},
                     {"Notes", ""}});
    SetFirstColumnWidths(g, 55, 86);
    PutHeadings(g, TheStartRow, headings);
    // Columns from the surface pressure on move left by one in a gas network.
    const int shift = allGas ? -1 : 0;

    int row = TheStartRow + 1;
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        ++row;
        const TNode &node = GetNode(nodeId);
        const TFluid &fluid = f.NodeFluid(nodeId);
        const double density = fluid.density_kgs_m3;
        const bool joint = node.NodeType == Joint;
        const bool typed = node.NodeType == Joint || node.NodeType == Tank || node.NodeType == EndPressure;

        // Flows through the node: its own demands and every linked pipe, each
        // pipe's mass at its own zone's density, signs kept.
        double volumeIn = joint ? node.JointSupply_m3s : 0.0;
        double volumeOut = joint ? node.JointDischarge_m3s : 0.0;
        double massIn = volumeIn * density;
        double massOut = volumeOut * density;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            const TPipe &pipe = GetPipe(link.PipeId);
            const double pipeFlow = pipe.FlowUncompressed_m3s;
            const double pipeMass = pipeFlow * f.ZoneFluid(pipe).density_kgs_m3;
            if (link.FromNodeId == nodeId) {
                volumeOut += pipeFlow;
                massOut += pipeMass;
            }
            if (link.ToNodeId == nodeId) {
                volumeIn += pipeFlow;
                massIn += pipeMass;
            }
        }

        PutCell(g, 0, row, std::to_string(nodeId));
        PutCell(g, 2, row, node.Name);
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfElevation, node.Elevation_m));
        if (typed) {
            PutCell(g, 1, row, joint ? "Join Point" : node.NodeType == Tank ? "Tank" : "Demand Pressure");
            if (!allGas)
                PutCell(g, 4, row,
                        node.NodeType == Tank ? f.Conv(unt_m, o.UnitOfLiquidLevel, node.LiquidLevel_m) : "N/A");
            PutCell(g, 5 + shift, row,
                    joint ? "N/A" : f.Conv(unt_Bar_G, o.UnitOfSurfacePressure, node.Surface_Pressure_Bar_g));
            auto demand = [&](double m3s, double kgs) {
                return allGas ? f.Gas(kgs, fluid) : f.Conv(unt_m3_sec, o.UnitOfFlow, m3s);
            };
            PutCell(g, 8 + shift, row, joint ? f.Conv(unt_kg_sec, o.UnitOfMassFlow, node.JointSupply_kgs) : "N/A");
            PutCell(g, 9 + shift, row, joint ? f.Conv(unt_kg_sec, o.UnitOfMassFlow, node.JointDischarge_kgs) : "N/A");
            PutCell(g, 10 + shift, row, joint ? demand(node.JointSupply_m3s, node.JointSupply_kgs) : "N/A");
            PutCell(g, 11 + shift, row, joint ? demand(node.JointDischarge_m3s, node.JointDischarge_kgs) : "N/A");
        }
        PutCell(g, 6 + shift, row, f.Pres(unt_Bar_G, o.UnitOfPressure, node.Pressure_Bar_g, density));
        PutCell(g, 7 + shift, row,
                allGas ? f.Conv(unt_kg_m3, o.UnitOfDensity, f.GasDensityAt(fluid, node.Pressure_Bar_g))
                       : f.Pres(unt_m_hd_fluid, o.UnitOfPressureLoss, GetNodeHGL(nodeId), density));
        PutCell(g, 12 + shift, row, f.Mass(massIn, density));
        PutCell(g, 13 + shift, row, f.Mass(massOut, density));
        PutCell(g, 14 + shift, row,
                allGas ? f.Gas(massIn, fluid) : f.Conv(unt_m3_sec, o.UnitOfFlow, volumeIn));
        PutCell(g, 15 + shift, row,
                allGas ? f.Gas(massOut, fluid) : f.Conv(unt_m3_sec, o.UnitOfFlow, volumeOut));
        PutCell(g, 16 + shift, row, NotesOnOneLine(node.Notes));
    }
    TheFinishRow = row;
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Fluid zones ------------------------------------------------------------------------

void TNetwork::PopulateStringGridFluidResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const int zones = std::clamp(FluidZonesCount, 0, static_cast<int>(MaxFluidZones));
    bool anyGas = false;
    for (int z = 1; z <= zones; ++z)
        anyGas = anyGas || FluidZones[static_cast<std::size_t>(z)].Fluid.FluidIsGas;

    THeadings headings{{"Zone", ""},
                       {"Fluid Name", ""},
                       {"Chemical Formula", ""},
                       {"Temperature", unitName(o.UnitOfTemperature)},
                       {"Pressure", unitName(o.UnitOfPressure)},
                       {"Density", unitName(o.UnitOfDensity)},
                       {"Centistokes", ""},
                       {"Centipoise", ""},
                       {"Vapour Pressure", unitName(o.UnitOfAtmosphere)},
                       {"State", ""}};
    if (anyGas)
        headings.push_back({"Specific Heat", "Ratio"});
    SetFirstColumnWidths(g, 50, 86);
    PutHeadings(g, TheStartRow, headings);

    TheFinishRow = TheStartRow + 1;
    for (int z = 1; z <= zones; ++z) {
        const TFluid &fluid = FluidZones[static_cast<std::size_t>(z)].Fluid;
        const int row = TheStartRow + 1 + z;
        PutCell(g, 0, row, std::to_string(z));
        PutCell(g, 1, row, fluid.name);
        PutCell(g, 2, row, fluid.chemicalFormula);
        PutCell(g, 3, row, f.Conv(unt_degrees_K, o.UnitOfTemperature, fluid.degrees_K));
        // The fluid's density matters only for a fluid-head unit, which
        // cannot be reached without it.
        PutCell(g, 4, row, f.Pres(unt_Bar_G, o.UnitOfPressure, fluid.pressure_bar_g, fluid.density_kgs_m3));
        PutCell(g, 5, row, f.Conv(unt_kg_m3, o.UnitOfDensity, fluid.density_kgs_m3));
        PutCell(g, 6, row, formatFixed(6, fluid.centistokes));
        PutCell(g, 7, row, formatFixed(6, fluid.centipoise));
        PutCell(g, 8, row,
                fluid.FluidIsGas ? "N/A"
                                 : formatFixed(6, convertPressure(unt_Bar_A, o.UnitOfAtmosphere,
                                                                  fluid.vapourPressure_bar_a, o.Atmosphere_bar_a,
                                                                  fluid.density_kgs_m3)));
        PutCell(g, 9, row, fluid.FluidIsGas ? "Gas" : "Liquid");
        if (anyGas)
            PutCell(g, 10, row, formatFixed(6, fluid.specificHeatRatio));
        TheFinishRow = row;
    }
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Fittings -------------------------------------------------------------------------

void TNetwork::PopulateStringGridFittingResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    TStringGrid &g = TheStringGrid;
    const std::vector<std::string> headings = {"Pipe Id",       "Pipe",        "Fitting Position", "Description",
                                               "Imperial Size", "Metric Size", "Database Ref",     "K Value",
                                               "Quantity",      "K Total",     "Entry K Total",    "Exit K Total"};
    SetFirstColumnWidths(g, 50, 80);
    for (std::size_t col = 0; col < headings.size(); ++col)
        PutCell(g, static_cast<int>(col), TheStartRow, headings[col]);

    // The row after the last one written.
    int row = TheStartRow + 2;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        const TFittingSet &set = pipe.FittingSet;
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        if (set.FittingCount == 0) {
            PutCell(g, 2, row, "No Fittings");
            ++row;
            continue;
        }
        for (TFittingPosition position : {EntryFitting, ExitFitting})
            for (int k = 1; k <= set.FittingCount; ++k) {
                if (set.GetFittingPosition(k) != position)
                    continue;
                const TFitting &fitting = set.GetFitting(k);
                const int quantity = set.GetQuantity(k);
                PutCell(g, 2, row, position == EntryFitting ? "Start of Pipe" : "End of Pipe");
                PutCell(g, 3, row, fitting.Description);
                PutCell(g, 4, row, fitting.ImperialDiameter);
                PutCell(g, 5, row, fitting.MetricDiameter);
                PutCell(g, 6, row, fitting.PartTypeStr);
                PutCell(g, 7, row, formatFixed(4, fitting.KValue));
                PutCell(g, 8, row, std::to_string(quantity));
                PutCell(g, 9, row, formatFixed(4, quantity * fitting.KValue));
                ++row;
            }
        PutCell(g, 10, row, formatFixed(4, set.CalculateEntryFittingsKValue()));
        PutCell(g, 11, row, formatFixed(4, set.CalculateExitFittingsKValue()));
        ++row;
    }
    TheFinishRow = row;
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- All results in one grid ---------------------------------------------------------------

void TNetwork::PopulateStringGridAllResults(TStringGrid &TheStringGrid, int /*TheStartRow*/, int /*EnergyUnitsFlag*/,
                                            int &TheFinishRow) const
{
    using TTable = void (TNetwork::*)(TStringGrid &, int, int &) const;
    const std::vector<std::pair<std::string, TTable>> tables = {
        {"Fluids", &TNetwork::PopulateStringGridFluidResults},
        {"Pipe Materials", &TNetwork::PopulateStringGridPipeMaterialResults},
        {"Pipe Fittings", &TNetwork::PopulateStringGridFittingResults},
        {"Pipe Results", &TNetwork::PopulateStringGridPipeSummaryResults},
        {"Pump Results", &TNetwork::PopulateStringGridPumpResults},
        {"FCV Results", &TNetwork::PopulateStringGridFCVResults},
        {"PRV Results", &TNetwork::PopulateStringGridPRVResults},
        {"BPV Results", &TNetwork::PopulateStringGridBPVResults},
        {"Node Results", &TNetwork::PopulateStringGridNodeResults},
        {"Energy Results", &TNetwork::PopulateStringGridEnergyResults},
        {"Factor Results", &TNetwork::PopulateStringGridPipeFactorResults},
    };
    // The grid always starts at row 2; every title stands one empty row
    // below the table before it.
    int titleRow = 2;
    int finishRow = 0;
    for (const auto &[title, table] : tables) {
        PutCell(TheStringGrid, 1, titleRow, title);
        (this->*table)(TheStringGrid, titleRow + 1, finishRow);
        titleRow = finishRow + 2;
    }
    TheFinishRow = finishRow;
    TheStringGrid.SetRowCount(TheFinishRow + 1);
}

} // namespace tessaran
