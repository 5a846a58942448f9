// Colouring the drawing by one result: the colourable items and their
// captions, each pipe's and node's value in SI, its display unit and
// converted value, the range over the network and the three-colour gradient.

#include "network/Network_Class.h"

#include <array>
#include <vector>

namespace tessaran {

namespace {

struct ColorItem {
    TResultsColorItemEnum Item;
    const char *Caption;
};

// The order in which the user interface lists the items.
constexpr std::array<ColorItem, TResultsColorItemEnumCount> ColorItems = {{
    {ResultsFlow, "Pipe: Flow Rate"},
    {ResultsMassFlow, "Pipe: Mass Flow Rate"},
    {ResultsVelocity, "Pipe: Velocity"},
    {ResultsPipeTotalPressureLossIncludingElevationChange, "Pipe: dP (total pressure loss)"},
    {ResultsPipeTotalPressureLossIncludingElevationChangePer100, "Pipe: dP per 100"},
    {ResultsPipeFrictionLoss, "Pipe: Friction Loss"},
    {ResultsPipeFrictionLossPer100, "Pipe: Friction Loss per 100"},
    {ResultsPipeTotalK, "Pipe: Total K"},
    {ResultsPipeFittingsLoss, "Pipe: Fittings Loss"},
    {ResultsPipeReynoldsNumber, "Pipe: Reynold's Number"},
    {ResultsPipeInternalDiameter, "Pipe: Internal Diameter"},
    {ResultsPipeLength, "Pipe: Length"},
    {ResultsPressure, "Node: Pressure"},
    {ResultsHGL, "Node: HGL"},
    {ResultsElevation, "Node: Elevation"},
}};

bool IsNodeItem(TResultsColorItemEnum item)
{
    return item == ResultsPressure || item == ResultsHGL || item == ResultsElevation;
}

void ReplaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

const TFluid &ZoneFluid(const TNetwork &network, int zone)
{
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        zone = 1;
    return network.FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

} // namespace

int TNetwork::GetResultsColorItemIndex(TResultsColorItemEnum TheResultsColorItemEnum)
{
    for (std::size_t i = 0; i < ColorItems.size(); ++i)
        if (ColorItems[i].Item == TheResultsColorItemEnum)
            return static_cast<int>(i);
    return 0;
}

std::string TNetwork::GetResultsColorItemStringsText(TResultsColorItemEnum TheResultsColorItemEnum) const
{
    std::string caption = ColorItems[static_cast<std::size_t>(GetResultsColorItemIndex(TheResultsColorItemEnum))].Caption;
    if (TheResultsColorItemEnum == ResultsPipeTotalPressureLossIncludingElevationChangePer100 ||
        TheResultsColorItemEnum == ResultsPipeFrictionLossPer100)
        caption += unitName(ConfigOptions.UnitOfLength);
    if (IsAllGasSystem()) {
        if (TheResultsColorItemEnum == ResultsVelocity) {
            ReplaceAll(caption, "Velocity", "Exit Velocity");
            ReplaceAll(caption, "velocity", "Exit Velocity");
        } else if (TheResultsColorItemEnum == ResultsFlow) {
            ReplaceAll(caption, "Flow", "Gas Flow");
        }
    }
    return caption;
}

double TNetwork::GetResultsColorPipeItemValue(int ThePipeId)
{
    const TResultsColorItemEnum item = ConfigOptions.ResultsColorItem;
    if (IsNodeItem(item))
        return 0;
    const TConfigOptions &options = ConfigOptions;
    TPipe &pipe = GetPipe(ThePipeId);
    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double density = fluid.density_kgs_m3;
    const double atmosphere = options.Atmosphere_bar_a;
    // Per-100 values divide by the length in the display unit; a pipe without
    // length has no loss per length.
    const double length = convertUnit(unt_m, options.UnitOfLength, pipe.Length_m);
    auto per100 = [length](double value) { return length != 0 ? value / length * 100.0 : 0.0; };
    auto fluidHeadToBar = [&](double head_m) {
        return convertPressure(unt_m_hd_fluid, unt_Bar_G, head_m, atmosphere, density);
    };
    auto pressureDifference = [&]() {
        int fromId = 0, toId = 0;
        GetFromAndToNodeIds(ThePipeId, fromId, toId);
        if (fromId < 1 || toId < 1)
            return 0.0;
        return GetNode(fromId).Pressure_Bar_g - GetNode(toId).Pressure_Bar_g;
    };

    switch (item) {
    case ResultsFlow:
        if (IsAllGasSystem())
            return convertFlowUnit(unt_kg_sec, unt_SCMH, options.GasFlowTemperaturePressureModel,
                                   pipe.FlowUncompressed_m3s * density, density, fluid.pressure_bar_g, fluid.degrees_K,
                                   atmosphere);
        return pipe.FlowUncompressed_m3s;
    case ResultsMassFlow:
        return pipe.FlowUncompressed_m3s * density;
    case ResultsVelocity:
        // The solve driver sets every pipe's exit velocity after a calculation.
        return IsAllGasSystem() ? pipe.ExitVelocity_ms : pipe.Velocity_ms;
    case ResultsPipeTotalPressureLossIncludingElevationChange:
        return IsPipeClosed(ThePipeId) ? 0.0 : pressureDifference();
    case ResultsPipeTotalPressureLossIncludingElevationChangePer100:
        return IsPipeClosed(ThePipeId) ? 0.0 : per100(pressureDifference());
    case ResultsPipeFrictionLoss:
        return fluidHeadToBar(pipe.PipeFrictionLoss_mHd_Fluid);
    case ResultsPipeFrictionLossPer100:
        pipe.PipeFrictionLoss_mHd_Fluid_per100 = per100(pipe.PipeFrictionLoss_mHd_Fluid);
        return fluidHeadToBar(pipe.PipeFrictionLoss_mHd_Fluid_per100);
    case ResultsPipeTotalK:
        return pipe.FittingSet.CalculateTotal_KValue();
    case ResultsPipeFittingsLoss:
        return fluidHeadToBar(pipe.FittingsLoss_mHd_Fluid);
    case ResultsPipeReynoldsNumber:
        return pipe.ReynoldsNumber;
    case ResultsPipeInternalDiameter:
        return pipe.InnerDiameter_m;
    case ResultsPipeLength:
        return pipe.Length_m;
    default:
        return 0;
    }
}

double TNetwork::GetResultsColorNodeItemValue(int TheNodeId) const
{
    switch (ConfigOptions.ResultsColorItem) {
    case ResultsPressure:
        return GetNode(TheNodeId).Pressure_Bar_g;
    case ResultsHGL:
        return GetNodeHGL(TheNodeId);
    case ResultsElevation:
        return GetNode(TheNodeId).Elevation_m;
    default:
        return 0;
    }
}

TUnit TNetwork::GetResultsColorItemUnit(TResultsColorItemEnum TheResultsColorItemEnum) const
{
    const TConfigOptions &options = ConfigOptions;
    switch (TheResultsColorItemEnum) {
    case ResultsFlow:
        return IsAllGasSystem() ? options.UnitOfGasFlow : options.UnitOfFlow;
    case ResultsMassFlow:
        return options.UnitOfMassFlow;
    case ResultsVelocity:
        return options.UnitOfVelocity;
    case ResultsPipeTotalPressureLossIncludingElevationChange:
    case ResultsPipeTotalPressureLossIncludingElevationChangePer100:
    case ResultsHGL:
        return options.UnitOfPressureLoss;
    case ResultsPipeFrictionLoss:
    case ResultsPipeFrictionLossPer100:
    case ResultsPipeFittingsLoss:
        return FluidZonesCount <= 1 ? options.UnitOfPressureLoss : options.UnitOfPressure;
    case ResultsPipeInternalDiameter:
        return options.UnitOfDiameter;
    case ResultsPipeLength:
        return options.UnitOfLength;
    case ResultsPressure:
        return options.UnitOfPressure;
    case ResultsElevation:
        return options.UnitOfElevation;
    case ResultsPipeTotalK:
    case ResultsPipeReynoldsNumber:
    default:
        return options.UnitOfFlow; // not shown
    }
}

double TNetwork::GetResultsColorItemConvertedValue(double TheItemValue, int TheFluidZoneIndex) const
{
    const TConfigOptions &options = ConfigOptions;
    const TResultsColorItemEnum item = options.ResultsColorItem;
    const TFluid &fluid = ZoneFluid(*this, TheFluidZoneIndex);
    const double density = fluid.density_kgs_m3;
    const double atmosphere = options.Atmosphere_bar_a;
    const TUnit unit = GetResultsColorItemUnit(item);
    switch (item) {
    case ResultsFlow:
        if (IsAllGasSystem())
            return convertFlowUnit(unt_SCMH, unit, options.GasFlowTemperaturePressureModel, TheItemValue, density,
                                   fluid.pressure_bar_g, fluid.degrees_K, atmosphere);
        return convertUnit(unt_m3_sec, unit, TheItemValue);
    case ResultsMassFlow:
        return convertFlowUnit(unt_kg_sec, unit, std_15degC_101325Pa, TheItemValue, density, 0.0, 288.15, 1.01325);
    case ResultsVelocity:
        return convertUnit(unt_m_Sec, unit, TheItemValue);
    case ResultsPipeTotalPressureLossIncludingElevationChange:
    case ResultsPipeTotalPressureLossIncludingElevationChangePer100:
    case ResultsPipeFrictionLoss:
    case ResultsPipeFrictionLossPer100:
    case ResultsPipeFittingsLoss:
    case ResultsPressure:
        return convertPressure(unt_Bar_G, unit, TheItemValue, atmosphere, density);
    case ResultsHGL:
        return convertPressure(unt_m_hd_fluid, unit, TheItemValue, atmosphere, density);
    case ResultsPipeInternalDiameter:
    case ResultsPipeLength:
    case ResultsElevation:
        return convertUnit(unt_m, unit, TheItemValue);
    case ResultsPipeTotalK:
    case ResultsPipeReynoldsNumber:
    default:
        return 0;
    }
}

void TNetwork::SetResultsColorItemMinMaxValues()
{
    TConfigOptions &options = ConfigOptions;
    options.ResultsColorItemMinValue = 1e9;
    options.ResultsColorItemMaxValue = -1e9;
    // Gas systems have no hydraulic grade line.
    if (options.ResultsColorItem == ResultsHGL && IsAllGasSystem())
        options.ResultsColorItem = ResultsPressure;

    auto take = [&options](double value, int zone) {
        if (value < options.ResultsColorItemMinValue) {
            options.ResultsColorItemMinValue = value;
            options.ResultsColorItemMinValueFluidZoneIndex = zone;
        }
        if (value > options.ResultsColorItemMaxValue) {
            options.ResultsColorItemMaxValue = value;
            options.ResultsColorItemMaxValueFluidZoneIndex = zone;
        }
    };
    if (IsNodeItem(options.ResultsColorItem)) {
        const std::vector<int> zones = NodeFluidZoneIndexes();
        for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId))
            take(GetResultsColorNodeItemValue(nodeId), nodeId <= MaxNodes ? zones[static_cast<std::size_t>(nodeId)]
                                                                          : GetNodeFluidZoneIndex(nodeId));
    } else {
        // Every link in table order (what GetNextPipeId walks, one step at a time).
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const int pipeId = NodeLinks[static_cast<std::size_t>(k)].PipeId;
            if (pipeId <= 0)
                break;
            take(GetResultsColorPipeItemValue(pipeId), GetPipe(pipeId).FluidZoneIndex);
        }
    }
    options.ResultsColorItemAxisMinValue = options.ResultsColorItemMinValue;
    options.ResultsColorItemAxisMaxValue = options.ResultsColorItemMaxValue;
    options.ResultsColorItemAxisMinValueFluidZoneIndex = options.ResultsColorItemMinValueFluidZoneIndex;
    options.ResultsColorItemAxisMaxValueFluidZoneIndex = options.ResultsColorItemMaxValueFluidZoneIndex;
}

TColor TNetwork::GetColorFromItemMinMaxValues(double TheValue) const
{
    return GetColorFromGradient(ConfigOptions.ResultsColorItemMinValue, ConfigOptions.ResultsColorItemMaxValue,
                                TheValue);
}

TColor TNetwork::GetColorFromGradient(double LowValue, double HighValue, double ActualValue) const
{
    // A value that is not a number lies in no range.
    if (!(ActualValue >= LowValue && ActualValue <= HighValue))
        return 0;
    const double mid = (LowValue + HighValue) / 2.0;
    struct Components {
        long long red, green, blue;
    };
    auto split = [](TColor c) {
        const long long v = c;
        return Components{v % 256, (v % 65536) / 256, v / 65536};
    };
    const Components c1 = split(ConfigOptions.ResultsColor1);
    const Components c2 = split(ConfigOptions.ResultsColor2);
    const Components c3 = split(ConfigOptions.ResultsColor3);

    TColor base;
    Components from, to;
    double t;
    if (ActualValue <= mid) {
        base = ConfigOptions.ResultsColor1;
        from = c1;
        to = c2;
        t = (mid - LowValue) != 0 ? (ActualValue - LowValue) / (mid - LowValue) : 0.0;
    } else {
        base = ConfigOptions.ResultsColor2;
        from = c2;
        to = c3;
        t = (HighValue - mid) != 0 ? (ActualValue - mid) / (HighValue - mid) : 1.0;
    }
    // Each component moves by its share, cut toward zero.
    auto step = [t](long long difference) { return static_cast<long long>(static_cast<double>(difference) * t); };
    const long long result = static_cast<long long>(base) + step(to.red - from.red) +
                             step(to.green - from.green) * 256 + step(to.blue - from.blue) * 65536;
    return static_cast<TColor>(result);
}

} // namespace tessaran
