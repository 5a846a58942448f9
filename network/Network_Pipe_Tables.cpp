// The result tables that list every pipe: the full results, the summary,
// the friction and flow factors, the materials and the energy balance. The
// results sheet, the report and the spreadsheet export address their columns
// by position, so the column orders and headings are fixed.

#include "network/Network_Class.h"
#include "network/Result_Table_Cells.h"

#include "units/Calculations.h"
#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

using THeadings = std::vector<std::pair<std::string, std::string>>;

// Visits the linked pipes with the row of the i-th link (TheStartRow + 1 + i
// for two heading rows), then the closed pipes on the rows after the last
// link. Returns the last row written.
template <typename LinkedRow, typename ClosedRow>
int ForEachPipeRow(const TNetwork &network, int firstRow, int rowBeforeClosed, LinkedRow linked, ClosedRow closed)
{
    int row = rowBeforeClosed;
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        row = firstRow + i - 1;
        linked(network.NodeLinks[static_cast<std::size_t>(i)].PipeId, row);
    }
    for (int i = 1; i <= network.NodeLinksClosedPipeCount; ++i) {
        ++row;
        closed(network.NodeLinksClosedPipe[static_cast<std::size_t>(i)].PipeId, row);
    }
    return row;
}

// The end nodes of a linked pipe.
std::pair<const TNode &, const TNode &> PipeEnds(const TNetwork &network, int pipeId)
{
    int fromNode = 0, toNode = 0;
    network.GetPipeNodes(pipeId, fromNode, toNode);
    return {network.GetNode(fromNode), network.GetNode(toNode)};
}

std::string NoneUnless(bool inUse, const std::string &text) { return inUse ? text : "none"; }

} // namespace

// --- Full pipe results ------------------------------------------------------------------

void TNetwork::PopulateStringGridPipeResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const TUnit loss = o.UnitOfPressureLoss;
    const TUnit surface = o.UnitOfSurfacePressure;

    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow,
                THeadings{{"Pipe Id", ""},
                          {"Pipe Name", "and Notes"},
                          {"Fluid Zone", ""},
                          {"Material", ""},
                          {"Inner Diameter", unitName(o.UnitOfDiameter)},
                          {"Roughness", unitName(o.UnitOfRoughness)},
                          {"Length", unitName(o.UnitOfLength)},
                          {"Total K", ""},
                          {"Mass Flow", unitName(o.UnitOfMassFlow)},
                          {"Flow", unitName(o.UnitOfFlow)},
                          {"Velocity", unitName(o.UnitOfVelocity)},
                          {"Entry Elevation", unitName(o.UnitOfElevation)},
                          {"Exit Elevation", unitName(o.UnitOfElevation)},
                          {"Entry Pressure", unitName(o.UnitOfPressure)},
                          {"Exit Pressure", unitName(o.UnitOfPressure)},
                          {"Entry to Exit Loss", unitPlainName(o.UnitOfPressure)},
                          {"Reynolds Number", ""},
                          {"Flow Type", ""},
                          {"Friction Factor", ""},
                          {"Friction Loss", unitPlainName(loss)},
                          {"Fittings Loss", unitPlainName(loss)},
                          {"Component Loss", unitPlainName(loss)},
                          {"Control Valve", ""},
                          {"Control Valve Loss", unitPlainName(loss)},
                          {"Pump Head (+)", unitPlainName(loss)}});

    auto geometry = [&](const TPipe &pipe, int row) {
        PutCell(g, 3, row, f.Material(pipe));
        PutCell(g, 4, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        PutCell(g, 5, row, f.Conv(unt_m, o.UnitOfRoughness, 6, pipe.InnerRoughness_m));
        PutCell(g, 6, row, f.Conv(unt_m, o.UnitOfLength, pipe.Length_m));
    };

    auto linked = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        const TFluid &fluid = f.ZoneFluid(pipe);
        const double density = fluid.density_kgs_m3;
        const auto [start, end] = PipeEnds(*this, pipeId);
        const std::string mass = f.Mass(pipe.FlowUncompressed_m3s * density, density);

        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, f.PipeName(pipe));
        PutCell(g, 2, row, f.Zone(pipe));
        geometry(pipe, row);
        PutCell(g, 7, row, formatFixed(4, pipe.FittingSet.CalculateTotal_KValue()));
        PutCell(g, 8, row, mass);
        PutCell(g, 9, row, f.Conv(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s));
        PutCell(g, 10, row, f.Velocity(pipe.Velocity_ms, fluid));
        PutCell(g, 11, row, f.Conv(unt_m, o.UnitOfElevation, start.Elevation_m));
        PutCell(g, 12, row, f.Conv(unt_m, o.UnitOfElevation, end.Elevation_m));
        PutCell(g, 13, row, f.Pres(unt_Bar_G, o.UnitOfPressure, start.Pressure_Bar_g, density));
        PutCell(g, 14, row, f.Pres(unt_Bar_G, o.UnitOfPressure, end.Pressure_Bar_g, density));
        PutCell(g, 15, row, f.Diff(o.UnitOfPressure, start.Pressure_Bar_g - end.Pressure_Bar_g, density));
        PutCell(g, 16, row, formatFixed(0, pipe.ReynoldsNumber));
        PutCell(g, 17, row, pipe.FlowType);
        PutCell(g, 18, row, formatFixed(5, pipe.FrictionFactor));
        PutCell(g, 19, row, f.Pres(unt_m_hd_fluid, loss, pipe.PipeFrictionLoss_mHd_Fluid, density));
        PutCell(g, 20, row,
                NoneUnless(pipe.FittingsInUse(), f.Pres(unt_m_hd_fluid, loss, pipe.FittingsLoss_mHd_Fluid, density)));
        PutCell(g, 21, row,
                NoneUnless(pipe.ComponentInUse(),
                           f.Head(loss, -1, pipe.ComponentPressureLoss_mHd_Fluid, density) + " (" +
                               f.Head(surface, -1, pipe.ComponentPressureLoss_mHd_Fluid, density) + " " +
                               unitName(surface) + ")"));
        std::string valve = "none", valveLoss = "none";
        if (pipe.FlowControlInUse()) {
            const TFlowControl &control = pipe.FlowControl;
            if (control.ControlType == FCV)
                valve = "FCV @ " + f.Conv(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s) + " " +
                        unitName(o.UnitOfFlow) + " (" + mass + " " + unitName(o.UnitOfMassFlow) + ")";
            else
                valve = (control.ControlType == PRV ? "PRV @ " : "BPV @ ") +
                        convertUnitToString(unt_Bar_G, surface, unitDecimals(surface),
                                            control.RegulatedPressure_Bar_g) +
                        unitName(surface);
            valveLoss = f.Head(loss, 3, pipe.FlowControlLoss_mHd_Fluid, density) + " (" +
                        f.Head(surface, -1, pipe.FlowControlLoss_mHd_Fluid, density) + " " + unitName(surface) + ")";
        }
        PutCell(g, 22, row, valve);
        PutCell(g, 23, row, valveLoss);
        PutCell(g, 24, row, f.PumpHead(pipeId));
    };

    auto closed = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, f.ClosedPipeName(pipe));
        PutCell(g, 2, row, "");
        geometry(pipe, row);
    };

    TheFinishRow = ForEachPipeRow(*this, TheStartRow + 2, TheStartRow + 1, linked, closed);
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Pipe summary -------------------------------------------------------------------------

void TNetwork::PopulateStringGridPipeSummaryResults(TStringGrid &TheStringGrid, int TheStartRow,
                                                    int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const TUnit loss = o.UnitOfPressureLoss;
    const bool allGas = IsAllGasSystem();
    // The columns after the flow and velocity move right by two in a gas network.
    const int shift = allGas ? 2 : 0;

    THeadings headings{{"Pipe Id", ""},
                       {"Pipe Name", "and Notes"},
                       {"Fluid Zone", ""},
                       {"Material", ""},
                       {"Inner Diameter", unitName(o.UnitOfDiameter)},
                       {"Length", unitName(o.UnitOfLength)},
                       {"Mass Flow", unitName(o.UnitOfMassFlow)}};
    if (allGas) {
        headings.insert(headings.end(), {{"Gas Flow", unitName(o.UnitOfGasFlow)},
                                         {"Entry Velocity", unitName(o.UnitOfVelocity)},
                                         {"Exit Velocity", unitName(o.UnitOfVelocity)},
                                         {"Exit Mach#", ""}});
    } else {
        headings.insert(headings.end(),
                        {{"Vol Flow", unitName(o.UnitOfFlow)}, {"Velocity", unitName(o.UnitOfVelocity)}});
    }
    headings.insert(headings.end(), {{"Friction Loss", unitPlainName(loss)},
                                     {"Entry Fitt. Loss", unitPlainName(loss)},
                                     {"Exit Fitt. Loss", unitPlainName(loss)},
                                     {"Comp. Loss", unitPlainName(loss)},
                                     {"Ctrl Valve Loss", unitPlainName(loss)},
                                     {"Pump Head(+)", unitPlainName(loss)},
                                     {"dP Total Loss", unitPlainName(o.UnitOfPressure)},
                                     {"Entry Pressure", unitName(o.UnitOfPressure)},
                                     {"Exit Pressure", unitName(o.UnitOfPressure)}});
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow, headings);

    auto first = [&](const TPipe &pipe, int pipeId, int row) {
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 3, row, f.Material(pipe));
        PutCell(g, 4, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        PutCell(g, 5, row, f.Conv(unt_m, o.UnitOfLength, pipe.Length_m));
    };

    auto exitMach = [&](const TPipe &pipe, const TFluid &fluid, double exitPressure_bar_g) -> std::string {
        if (!(fluid.specificHeatRatio > 0))
            return "?? Specific Heat Ratio not defined in Fluid Data";
        const double sonic = calcSonicVelocity(fluid.specificHeatRatio, exitPressure_bar_g,
                                               f.GasDensityAt(fluid, exitPressure_bar_g), o.Atmosphere_bar_a);
        if (sonic > 0)
            return formatFixed(4, pipe.ExitVelocity_ms / sonic);
        return "Error => Sonic Velocity is <= 0.0";
    };

    auto linked = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        const TFluid &fluid = f.ZoneFluid(pipe);
        const double density = fluid.density_kgs_m3;
        const double massFlow = pipe.FlowUncompressed_m3s * density;
        const auto [start, end] = PipeEnds(*this, pipeId);

        first(pipe, pipeId, row);
        PutCell(g, 1, row, f.PipeName(pipe));
        PutCell(g, 2, row, f.Zone(pipe));
        PutCell(g, 6, row, f.Mass(massFlow, density));
        if (allGas) {
            PutCell(g, 7, row, f.Gas(massFlow, fluid));
            PutCell(g, 8, row, f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.EntryVelocity_ms));
            std::string exitVelocity = f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.ExitVelocity_ms);
            if (pipe.ExitVelocity_ms > o.getHighGasVelocity_ms())
                exitVelocity = "*" + exitVelocity + " (Flow Velocity is high)";
            PutCell(g, 9, row, exitVelocity);
            PutCell(g, 10, row, exitMach(pipe, fluid, end.Pressure_Bar_g));
        } else {
            PutCell(g, 7, row, f.Conv(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s));
            PutCell(g, 8, row, f.Velocity(pipe.Velocity_ms, fluid));
        }
        const bool fittings = pipe.FittingsInUse();
        PutCell(g, 9 + shift, row, f.Pres(unt_m_hd_fluid, loss, pipe.PipeFrictionLoss_mHd_Fluid, density));
        PutCell(g, 10 + shift, row,
                NoneUnless(fittings, f.Pres(unt_m_hd_fluid, loss, pipe.EntryFittingsLoss_mHd_Fluid, density)));
        PutCell(g, 11 + shift, row,
                NoneUnless(fittings, f.Pres(unt_m_hd_fluid, loss, pipe.ExitFittingsLoss_mHd_Fluid, density)));
        PutCell(g, 12 + shift, row,
                NoneUnless(pipe.ComponentInUse(), f.Head(loss, -1, pipe.ComponentPressureLoss_mHd_Fluid, density)));
        PutCell(g, 13 + shift, row,
                NoneUnless(pipe.FlowControlInUse(), f.Head(loss, -1, pipe.FlowControlLoss_mHd_Fluid, density)));
        PutCell(g, 14 + shift, row, f.PumpHead(pipeId));
        PutCell(g, 15 + shift, row, f.Diff(o.UnitOfPressure, start.Pressure_Bar_g - end.Pressure_Bar_g, density));
        PutCell(g, 16 + shift, row, f.Pres(unt_Bar_G, o.UnitOfPressure, start.Pressure_Bar_g, density));
        PutCell(g, 17 + shift, row, f.Pres(unt_Bar_G, o.UnitOfPressure, end.Pressure_Bar_g, density));
    };

    auto closed = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        first(pipe, pipeId, row);
        PutCell(g, 1, row, f.ClosedPipeName(pipe));
        PutCell(g, 2, row, "");
    };

    TheFinishRow = ForEachPipeRow(*this, TheStartRow + 2, TheStartRow + 1, linked, closed);
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Pipe factors -------------------------------------------------------------------------

void TNetwork::PopulateStringGridPipeFactorResults(TStringGrid &TheStringGrid, int TheStartRow,
                                                   int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;
    const bool allGas = IsAllGasSystem();
    const TMethodOfCalculationCompressible method = o.MethodOfCalculationCompressible;
    const bool agaColumns = allGas && method == AGAIsothermalFlowEquation;
    const bool efficiencyColumn =
        allGas && (method == WeymouthIsothermalFlowEquation || method == PanhandleAIsomthermalFlowEquation ||
                   method == PanhandleBIsomthermalFlowEquation);

    THeadings headings{{"Pipe Id", ""},
                       {"Pipe Name", ""},
                       {"Inner Roughness", unitName(o.UnitOfRoughness)},
                       {"Inner Diameter", unitName(o.UnitOfDiameter)},
                       {"Length", unitName(o.UnitOfLength)},
                       {"Reynolds Number", ""},
                       {"Flow Type", ""},
                       {"Friction", "Factor"}};
    if (agaColumns)
        headings.insert(headings.end(), {{"Transmission", "Factor F"}, {"Drag", "Factor D"}});
    if (efficiencyColumn)
        headings.push_back({"Efficiency", "Factor E"});
    if (allGas)
        headings.push_back({"Compressibility", "Factor Z"});
    const int itemColumn = static_cast<int>(headings.size());
    headings.insert(headings.end(), {{"Entry Fittings", "Total K Factor"},
                                     {"Exit Fittings", "Total K Factor"},
                                     {"Component", "Cv"},
                                     {"Component", "Kv"},
                                     {"Sprinkler", "Imperial K"},
                                     {"Sprinkler", "Metric K"}});
    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow, headings);

    auto first = [&](const TPipe &pipe, int pipeId, int row) {
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 2, row, f.Conv(unt_m, o.UnitOfRoughness, 6, pipe.InnerRoughness_m));
        PutCell(g, 3, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        PutCell(g, 4, row, f.Conv(unt_m, o.UnitOfLength, pipe.Length_m));
    };

    // Z at the mean of the pressures just after the entry items and at the end.
    auto averagePressureZ = [&](const TPipe &pipe, const TFluid &fluid, const TNode &start, const TNode &end) {
        const double density = fluid.density_kgs_m3;
        double pressure = start.Pressure_Bar_g;
        if (pipe.FittingsInUse())
            pressure -= convertPressure(unt_m_hd_fluid, unt_Bar_G, pipe.EntryFittingsLoss_mHd_Fluid,
                                        o.Atmosphere_bar_a, density);
        if (pipe.PumpInUse())
            pressure += pipe.Pump.calcPumpHead_Bar(pipe.FlowUncompressed_m3s * density, density);
        if (pipe.FlowControlInUse() && pipe.FlowControl.ControlType == BPV)
            pressure -= pipe.FlowControlLoss_Bar;
        const double average = calcAveragePressure(pressure, end.Pressure_Bar_g, o.Atmosphere_bar_a);
        return calcCompressibilityZ(o.ZCompressibilityModel, average, fluid.degrees_K, density,
                                    fluid.pressure_bar_g, fluid.degrees_K, o.ZCompressibilityFactor);
    };

    auto linked = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        const TFluid &fluid = f.ZoneFluid(pipe);
        first(pipe, pipeId, row);
        PutCell(g, 1, row, f.PipeName(pipe));
        PutCell(g, 5, row, formatFixed(0, pipe.ReynoldsNumber));
        PutCell(g, 6, row, pipe.FlowType);
        PutCell(g, 7, row, formatFixed(6, pipe.FrictionFactor));
        int col = 8;
        if (agaColumns) {
            PutCell(g, col++, row, formatFixed(6, pipe.TransmissionFactor));
            PutCell(g, col++, row, formatFixed(6, o.PipelineEfficiencyE));
        }
        if (efficiencyColumn)
            PutCell(g, col++, row, formatFixed(6, o.PipelineEfficiencyE));
        if (allGas) {
            const auto [start, end] = PipeEnds(*this, pipeId);
            PutCell(g, col++, row, formatFixed(4, averagePressureZ(pipe, fluid, start, end)));
        }
        const bool fittings = pipe.FittingsInUse();
        PutCell(g, itemColumn, row,
                NoneUnless(fittings, formatFixed(4, pipe.FittingSet.CalculateEntryFittingsKValue())));
        PutCell(g, itemColumn + 1, row,
                NoneUnless(fittings, formatFixed(4, pipe.FittingSet.CalculateExitFittingsKValue())));
        const TComponentPressure &component = pipe.ComponentPressure;
        auto componentValue = [&](TPressureType type, double value) {
            return NoneUnless(pipe.ComponentInUse() && component.PressureType == type, formatFixed(4, value));
        };
        PutCell(g, itemColumn + 2, row, componentValue(ComponentPressureCv, component.Cv));
        PutCell(g, itemColumn + 3, row, componentValue(ComponentPressureKv, component.Kv));
        PutCell(g, itemColumn + 4, row,
                componentValue(ComponentPressureSprinklerKimperial, component.SprinklerKimperial));
        PutCell(g, itemColumn + 5, row, componentValue(ComponentPressureSprinklerKmetric, component.SprinklerKmetric));
    };

    auto closed = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        first(pipe, pipeId, row);
        PutCell(g, 1, row, f.ClosedPipeName(pipe));
    };

    TheFinishRow = ForEachPipeRow(*this, TheStartRow + 2, TheStartRow + 1, linked, closed);
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Pipe materials -----------------------------------------------------------------------

void TNetwork::PopulateStringGridPipeMaterialResults(TStringGrid &TheStringGrid, int TheStartRow,
                                                     int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;

    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow,
                THeadings{{"Pipe Id", ""},
                          {"Pipe Name", ""},
                          {"Nominal Size", ""},
                          {"Material", ""},
                          {"Schedule", "Class"},
                          {"Roughness", unitName(o.UnitOfRoughness)},
                          {"Inner Diameter", unitName(o.UnitOfDiameter)},
                          {"Wall Thickness", unitName(o.UnitOfDiameter)},
                          {"Outer Diameter", unitName(o.UnitOfDiameter)},
                          {"Length", unitName(o.UnitOfLength)},
                          {"Weight", unitName(o.UnitOfWeight) + " (full length)"},
                          {"Internal Volume", unitName(o.UnitOfVolume)},
                          {"Surface Area", unitName(o.UnitOfArea)},
                          {"Pipe Notes", ""}});

    auto perLength = [&](TUnit from, TUnit to, double perMetre, double length_m) {
        return perMetre == 0 ? std::string() : f.Conv(from, to, perMetre * length_m);
    };

    auto linked = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        PutCell(g, 2, row, pipe.getNominalDiameterString(o.UnitOfDiameter));
        PutCell(g, 3, row, pipe.Material);
        PutCell(g, 4, row, pipe.ScheduleClass);
        PutCell(g, 5, row, f.Conv(unt_m, o.UnitOfRoughness, 6, pipe.InnerRoughness_m));
        PutCell(g, 6, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m));
        PutCell(g, 7, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.WallThickness_m));
        PutCell(g, 8, row, f.Conv(unt_m, o.UnitOfDiameter, pipe.OuterDiameter_m));
        PutCell(g, 9, row, f.Conv(unt_m, o.UnitOfLength, pipe.Length_m));
        PutCell(g, 10, row, perLength(unt_kgs, o.UnitOfWeight, pipe.WeightPerMetre_kg, pipe.Length_m));
        PutCell(g, 11, row, perLength(unt_m3, o.UnitOfVolume, pipe.InternalVolume_m3_m(), pipe.Length_m));
        PutCell(g, 12, row, perLength(unt_m2, o.UnitOfArea, pipe.SurfaceArea_m2_m(), pipe.Length_m));
        PutCell(g, 13, row, NotesOnOneLine(pipe.Notes));
    };

    // Closed pipes are not listed here.
    int row = TheStartRow + 1;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        row = TheStartRow + 1 + i;
        linked(NodeLinks[static_cast<std::size_t>(i)].PipeId, row);
    }
    TheFinishRow = row;
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

// --- Energy balance -----------------------------------------------------------------------

void TNetwork::PopulateStringGridEnergyResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TStringGrid &g = TheStringGrid;

    SetFirstColumnWidths(g, 50, 80);
    PutHeadings(g, TheStartRow,
                THeadings{{"Pipe Id", ""},
                          {"Pipe Name", ""},
                          {"Energy Loss To", "Pipe Friction"},
                          {"Energy Loss To", "Pipe Fittings"},
                          {"Energy Loss To", "Pipe Components"},
                          {"Energy Loss To", "Pipe Control Valves"},
                          {"Energy Loss To", "Pump Inefficiency"},
                          {"SUBTOTAL Loss", "Pipe Items +Pump"},
                          {"Energy Loss To", "Discharge Pressure"},
                          {"Energy Loss To", "Change in Elevation"},
                          {"TOTAL USED", "Sum of All Items"}});
    const std::string powerUnit = o.UnitOfEnergy == unt_KW ? "Kilowatts" : "Horsepower";
    PutCell(g, 0, TheStartRow + 2, "");
    PutCell(g, 1, TheStartRow + 2, "");
    for (int col = 2; col <= 10; ++col)
        PutCell(g, col, TheStartRow + 2, powerUnit);

    auto linked = [&](int pipeId, int row) {
        const TPipe &pipe = GetPipe(pipeId);
        const double density = f.ZoneFluid(pipe).density_kgs_m3;
        const double flow = pipe.FlowUncompressed_m3s;
        const auto [start, end] = PipeEnds(*this, pipeId);
        auto power = [&](double head_mFluid) {
            return formatFixed(6, convertUnit(unt_KW, o.UnitOfEnergy, calcPumpPower(flow, head_mFluid, density)));
        };
        auto signedPower = [&](double head_mFluid) {
            return formatFixed(6,
                               convertUnit(unt_KW, o.UnitOfEnergy, calcPumpPowerSigned(flow, head_mFluid, density)));
        };

        double inefficiencyHead = 0;
        std::string pumpText;
        if (pipe.PumpCount == 0) {
            pumpText = "N/A";
        } else if (!pipe.PumpUseInCalc) {
            pumpText = "Pump not in use";
        } else {
            const double efficiency = pipe.Pump.calcPumpEfficiency(flow, density);
            if (efficiency == 0) {
                pumpText = "Efficiency Not Specified";
            } else if (efficiency > 100) {
                pumpText = "*** Warning: Pump Efficiency specified is > " + formatFixed(0, 100) + "% (not possible).";
            } else {
                inefficiencyHead =
                    pipe.Pump.calcPumpHead_mHd_Fluid(flow, density) * (100 - efficiency) / efficiency;
                pumpText = power(inefficiencyHead);
            }
        }

        const double subtotalHead = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                                    pipe.ComponentPressureLoss_mHd_Fluid + pipe.FlowControlLoss_mHd_Fluid +
                                    inefficiencyHead;
        double dischargeHead = 0;
        if (end.NodeType == Tank)
            dischargeHead = end.getSurfacePlusLiquidPressure_mHd_Fluid(o.Atmosphere_bar_a, density);
        else if (end.NodeType == EndPressure)
            dischargeHead = end.getSurfacePressureAtNode_mHd_Fluid(o.Atmosphere_bar_a, density);
        const double elevationChange = end.Elevation_m - start.Elevation_m;

        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, pipe.Name);
        PutCell(g, 2, row, power(pipe.PipeFrictionLoss_mHd_Fluid));
        PutCell(g, 3, row, power(pipe.FittingsLoss_mHd_Fluid));
        PutCell(g, 4, row, power(pipe.ComponentPressureLoss_mHd_Fluid));
        PutCell(g, 5, row, power(pipe.FlowControlLoss_mHd_Fluid));
        PutCell(g, 6, row, pumpText);
        PutCell(g, 7, row, subtotalHead == 0 ? "0" : power(subtotalHead));
        PutCell(g, 8, row, power(dischargeHead));
        PutCell(g, 9, row, signedPower(elevationChange));
        PutCell(g, 10, row, signedPower(subtotalHead + elevationChange + dischargeHead));
    };

    auto closed = [&](int pipeId, int row) {
        PutCell(g, 0, row, std::to_string(pipeId));
        PutCell(g, 1, row, "Closed. " + GetPipe(pipeId).Name);
    };

    // Three heading rows; the count starts one row below them, so closed
    // pipes of a network without links begin a row lower.
    TheFinishRow = ForEachPipeRow(*this, TheStartRow + 3, TheStartRow + 3, linked, closed);
    SetTableRowCount(g, TheFinishRow, MinimumResultTableRows);
}

} // namespace tessaran
