#include "network/Result_Table_Cells.h"

#include "platform/Text_Lines.h"
#include "units/Gas_Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <algorithm>

namespace tessaran {

namespace {

// Rows are added in blocks so that a long table does not copy the grid once
// per row; the table sets its exact row count when it is done.
constexpr int RowGrowth = 64;

// Flow conversions that involve no gas standard flow still take a standard
// condition; these are its fixed values.
constexpr TGasFlowTemperaturePressureModel PlainFlowModel = std_15degC_101325Pa;
constexpr double PlainFlowAtmosphere_bar_a = 1.01325;
constexpr double PlainFlowTemperature_K = 288.15;

} // namespace

void PutCell(TStringGrid &grid, int col, int row, const std::string &text)
{
    if (col >= grid.ColCount() || row >= grid.RowCount())
        grid.SetSize(std::max(grid.ColCount(), col + 1),
                     row >= grid.RowCount() ? std::max(row + 1, grid.RowCount() + RowGrowth) : grid.RowCount());
    grid.SetCell(col, row, text);
}

void PutHeadings(TStringGrid &grid, int row, const std::vector<std::pair<std::string, std::string>> &headings)
{
    for (std::size_t col = 0; col < headings.size(); ++col) {
        PutCell(grid, static_cast<int>(col), row, headings[col].first);
        PutCell(grid, static_cast<int>(col), row + 1, headings[col].second);
    }
}

void SetFirstColumnWidths(TStringGrid &grid, int width0, int width1)
{
    if (grid.ColCount() < 2)
        grid.SetSize(2, grid.RowCount());
    grid.SetColWidth(0, width0);
    grid.SetColWidth(1, width1);
}

void SetTableRowCount(TStringGrid &grid, int finishRow, int minimumRows)
{
    grid.SetRowCount(std::max(finishRow + 1, minimumRows));
}

std::string NotesOnOneLine(const std::vector<std::string> &notes) { return LineBreaksToSpaces(JoinLines(notes)); }

std::string Trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TResultFormats::TResultFormats(const TNetwork &network) : Network(network), Options(network.ConfigOptions) {}

std::string TResultFormats::Conv(TUnit from, TUnit to, double value) const
{
    return convertAndFormat(from, to, value);
}

std::string TResultFormats::Conv(TUnit from, TUnit to, int decimals, double value) const
{
    return convertAndFormatDecimals(from, to, decimals, value);
}

std::string TResultFormats::Pres(TUnit from, TUnit to, double value, double density) const
{
    return convertPressureAndFormat(from, to, value, Options.Atmosphere_bar_a, density);
}

std::string TResultFormats::Diff(TUnit to, double difference_bar, double density) const
{
    // No atmosphere, so that an absolute unit adds no offset to a difference.
    // The density only counts for a fluid-head unit.
    return convertPressureAndFormat(unt_Bar_G, to, difference_bar, 0.0, density);
}

std::string TResultFormats::Head(TUnit to, int decimals, double head_mFluid, double density) const
{
    return convertHeadPressureUnitToString(unt_m_hd_fluid, to, decimals < 0 ? unitDecimals(to) : decimals,
                                           head_mFluid, density);
}

std::string TResultFormats::Mass(double massFlow_kgs, double density) const
{
    return convertFlowUnitToString(unt_kg_sec, Options.UnitOfMassFlow, 4, PlainFlowModel, massFlow_kgs, density, 0.0,
                                   PlainFlowTemperature_K, PlainFlowAtmosphere_bar_a);
}

double TResultFormats::GasFlow(double massFlow_kgs, const TFluid &fluid) const
{
    return Flow(unt_kg_sec, Options.UnitOfGasFlow, massFlow_kgs, fluid);
}

std::string TResultFormats::Gas(double massFlow_kgs, const TFluid &fluid) const
{
    const double value = GasFlow(massFlow_kgs, fluid);
    return formatFixed(unitDecimalsForValue(Options.UnitOfGasFlow, value), value);
}

double TResultFormats::Flow(TUnit from, TUnit to, double value, const TFluid &fluid) const
{
    return convertFlowUnit(from, to, Options.GasFlowTemperaturePressureModel, value, fluid.density_kgs_m3,
                           fluid.pressure_bar_g, fluid.degrees_K, Options.Atmosphere_bar_a);
}

std::string TResultFormats::PipeName(const TPipe &pipe) const
{
    if (pipe.Notes.empty())
        return pipe.Name;
    return pipe.Name + " [Notes: " + NotesOnOneLine(pipe.Notes) + "]";
}

std::string TResultFormats::ClosedPipeName(const TPipe &pipe) const { return "Closed. " + PipeName(pipe); }

std::string TResultFormats::Zone(const TPipe &pipe) const
{
    const TFluid &fluid = ZoneFluid(pipe);
    const double pressure = convertPressure(unt_Bar_G, Options.UnitOfSurfacePressure, fluid.pressure_bar_g,
                                            Options.Atmosphere_bar_a, fluid.density_kgs_m3);
    return fluid.name + " (" + convertUnitToString(unt_degrees_K, Options.UnitOfTemperature, 0, fluid.degrees_K) +
           unitName(Options.UnitOfTemperature) + " at " + formatFixed(1, pressure) +
           unitName(Options.UnitOfSurfacePressure) + ", density " +
           Conv(unt_kg_m3, Options.UnitOfDensity, fluid.density_kgs_m3) + " " + unitName(Options.UnitOfDensity) + ")";
}

std::string TResultFormats::Material(const TPipe &pipe) const
{
    return pipe.getNominalDiameterString(Options.UnitOfDiameter) + " " + pipe.Material + " " + pipe.ScheduleClass;
}

std::string TResultFormats::Velocity(double velocity_ms, const TFluid &fluid) const
{
    const std::string value = Conv(unt_m_Sec, Options.UnitOfVelocity, velocity_ms);
    const double high = fluid.FluidIsGas ? Options.getHighGasVelocity_ms() : Options.getHighLiquidVelocity_ms();
    if (velocity_ms > high)
        return "*" + value + " (Flow Velocity is high)";
    return value;
}

const TFluid &TResultFormats::ZoneFluid(const TPipe &pipe) const { return ZoneFluid(pipe.FluidZoneIndex); }

const TFluid &TResultFormats::ZoneFluid(int zone) const
{
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        zone = 1;
    return Network.FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

const TFluid &TResultFormats::NodeFluid(int nodeId) const { return ZoneFluid(Network.GetNodeFluidZoneIndex(nodeId)); }

double TResultFormats::GasDensityAt(const TFluid &fluid, double pressure_bar_g) const
{
    const double z = calcCompressibilityZ(Options.ZCompressibilityModel, pressure_bar_g, fluid.degrees_K,
                                          fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K,
                                          Options.ZCompressibilityFactor);
    return calcGasDensityAtPressure(fluid.density_kgs_m3, fluid.pressure_bar_g, z, pressure_bar_g,
                                    Options.Atmosphere_bar_a);
}

bool TResultFormats::PumpElevationOutsidePipe(int pipeId) const
{
    const TPipe &pipe = Network.GetPipe(pipeId);
    int fromNode = 0, toNode = 0;
    Network.GetPipeNodes(pipeId, fromNode, toNode);
    const double start = Network.GetNode(fromNode).Elevation_m;
    const double end = Network.GetNode(toNode).Elevation_m;
    const double pump = pipe.PumpElevation_m;
    if (start > end)
        return pump > start || pump < end;
    return pump > end || pump < start;
}

bool TResultFormats::PumpFlowOutsideCurve(const TPipe &pipe)
{
    const TPumpPoints &points = pipe.Pump.PumpPoints;
    if (points.PointsCount < 1 || points.PointsCount > MaxPumpPoints)
        return false;
    return pipe.FlowUncompressed_m3s < points.Points[1].Flow_m3s ||
           pipe.FlowUncompressed_m3s > points.Points[points.PointsCount].Flow_m3s;
}

std::string TResultFormats::PumpHead(int pipeId) const
{
    const TPipe &pipe = Network.GetPipe(pipeId);
    if (pipe.PumpCount <= 0)
        return "";
    if (!pipe.PumpUseInCalc)
        return "Not Included";
    const double density = ZoneFluid(pipe).density_kgs_m3;
    const TUnit loss = Options.UnitOfPressureLoss;
    std::string text = Head(loss, 3, pipe.Pump_mHd_Fluid, density);
    if (PumpElevationOutsidePipe(pipeId))
        text += " [* Elevation " + Conv(unt_m, Options.UnitOfElevation, pipe.PumpElevation_m) +
                unitName(Options.UnitOfElevation) + " not between start and end elevation of pipe ]";
    if (pipe.Pump.PumpType == PumpFixedSpeed) {
        if (PumpFlowOutsideCurve(pipe))
            text += " [* Head calculated is outside of points on the Pump Curve.]";
        if (!(pipe.Pump_mHd_Fluid > 0))
            text += " [* Head added is zero. Pump is not used.]";
        const double npsha = Network.GetPumpNPSHa_mFluid(pipeId);
        if (npsha < pipe.PumpNPSHr_mHd_Fluid)
            text += " [* NPSHa " + Pres(unt_m_hd_fluid, loss, npsha, density) + unitName(loss) +
                    " Too Low - Cavitation may occur at the pump.]";
    }
    return text;
}

} // namespace tessaran
