// The review of a network after its calculation: connections, supplies and
// discharges, pressures below atmosphere, velocities, pumps and components
// against their curves, control valves against their allowed losses,
// entry and exit losses, contraction and expansion fittings, and for gas
// solved as incompressible the pressure drop within each fluid zone.

#include "network/Network_Class.h"

#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

bool PumpInUse(const TPipe &pipe) { return pipe.PumpCount > 0 && pipe.PumpUseInCalc; }
bool ComponentInUse(const TPipe &pipe) { return pipe.ComponentPressureCount > 0 && pipe.ComponentPressureUseInCalc; }
bool FlowControlInUse(const TPipe &pipe) { return pipe.FlowControlCount > 0 && pipe.FlowControlUseInCalc; }
bool ControlInUse(const TPipe &pipe, TControlType type)
{
    return FlowControlInUse(pipe) && pipe.FlowControl.ControlType == type;
}

std::string NodeText(int nodeId, const TNode &node) { return "Node " + std::to_string(nodeId) + ", " + node.Name; }

bool IsIncompressibleMethod(TMethodOfSolution method)
{
    return method == LinearTheoryOnly || method == LinearTheoryThenNewton || method == EstimateDischargeNewtonOnly;
}

} // namespace

void TNetwork::CheckResults(TResultsLog &Log, bool &Solved, std::int32_t &warningCount)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    auto warning = [&]() { CountWarnings(warningCount, Log); };
    auto comment = [&]() { CountComments(CommentCount, Log); };

    LogAddBreakLine(Log);
    Log.Add("Checking Network...");

    // Connections, supplies and discharges.
    int supplyPoints = 0, dischargePoints = 0, tanksAndEndPressures = 0;
    const auto flowPipes = CountOutAndInFlowPipesByNode();
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode &node = GetNode(nodeId);
        const std::string nodeText = NodeText(nodeId, node);
        const auto linked = flowPipes.find(nodeId);
        const int in = linked == flowPipes.end() ? 0 : linked->second.second;
        const int out = linked == flowPipes.end() ? 0 : linked->second.first;
        const int closedIn = GetNumberOfInFlowPipesClosed(nodeId);
        const int closedOut = GetNumberOfOutFlowPipesClosed(nodeId);
        const bool joint = node.NodeType == Joint;
        if (in == 0 && out == 0 && closedIn == 0 && closedOut == 0) {
            warning();
            Log.Add(nodeText + " is not connected to any other node in the network.");
        }
        if ((node.NodeType == Tank && out > 0) || (joint && node.JointSupply_m3s > 0))
            ++supplyPoints;
        if ((node.NodeType == Tank && in > 0) || (joint && node.JointDischarge_m3s > 0) ||
            (node.NodeType == EndPressure && in > 0))
            ++dischargePoints;
        if (node.NodeType == Tank || node.NodeType == EndPressure)
            ++tanksAndEndPressures;
        if (in == 0 && out > 0 && ((joint && !(node.JointSupply_m3s > 0)) || node.NodeType == EndPressure)) {
            warning();
            Log.Add(nodeText + " has no pipe/flow entering the node.");
            Log.Add("Therefore all pipes leaving this node will have zero flow.");
            if (closedIn > 0)
                Log.Add("This a result of closed pipes that are connected to this node.");
        }
        if (in > 0 && out == 0 && joint && !(node.JointDischarge_m3s > 0)) {
            warning();
            Log.Add(nodeText + " has no pipe/flow leaving the node.");
            Log.Add("Therefore all pipes coming in to this node will have zero flow.");
            if (closedOut > 0)
                Log.Add("This a result of closed pipes that are connected to this node.");
        }
        if (joint && node.JointSupply_kgs == node.JointDischarge_kgs && node.JointSupply_kgs != 0) {
            warning();
            Log.Add(nodeText + " has an additional demand in-flow (fluid added in to system) " +
                    "and a demand out-flow (fluid taken off, out of the system), however these have been set to the "
                    "same value. " +
                    "This is the same as having no demand in-flow and no demand out-flow (they cancel out). " +
                    "Please review the system design.");
            Log.Add("Note: Demand flows do not control the flow rate in a pipe like a flow control valve does.");
        }
    }
    if (tanksAndEndPressures == 0) {
        warning();
        Log.Add("The network has neither a Tank or an End Pressure node.");
        Log.Add("There may not be enough information to solve the network flows and pressures.");
    }
    if (supplyPoints == 0) {
        warning();
        Log.Add("The network has no supply points where fluid flows in.");
        Log.Add("The network must have at least one supply tank or joint with a demand in flow that is greater than "
                "zero.");
    }
    if (dischargePoints == 0) {
        warning();
        Log.Add("The network has no discharge points where fluid exits the system.");
        Log.Add("The network does not have a discharge tank or joint with a demand out flow, or an end pressure "
                "demand.");
        Log.Add("This suggests the network is a re-circulating system.");
        Log.Add("If so, then please ignore this warning.");
        Log.Add("If not, then please recheck your system and add a discharge point.");
    }

    if (Solved) {
        // Pressures below atmosphere where fluid leaves or is held.
        for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
            const TNode &node = GetNode(nodeId);
            const int zone = std::clamp(GetNodeFluidZoneIndex(nodeId), 1, static_cast<int>(MaxFluidZones));
            const double density = FluidZones[static_cast<std::size_t>(zone)].Fluid.density_kgs_m3;
            const double absolute = convertPressure(unt_Bar_G, unt_Bar_A, node.Pressure_Bar_g, atmosphere, density);
            const bool where = node.NodeType == Tank || node.NodeType == EndPressure ||
                               (node.NodeType == Joint && node.JointDischarge_m3s > 0);
            if (absolute < atmosphere && where) {
                warning();
                Log.Add(NodeText(nodeId, node) + ", Pressure at node is less than the " +
                        "specified atmospheric pressure for this system (" +
                        formatFixed(6, convertPressure(unt_Bar_A, options.UnitOfAtmosphere, atmosphere, atmosphere,
                                                       density)) +
                        " " + unitName(options.UnitOfAtmosphere) + ")");
            }
        }

        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            const int pipeId = link.PipeId;
            const std::string pipeId_s = std::to_string(pipeId);
            const TPipe &pipe = GetPipe(pipeId);
            const TNode &start = GetNode(link.FromNodeId);
            const TNode &end = GetNode(link.ToNodeId);
            const TFluid &fluid = GetPipeFluid(pipeId);
            const double density = fluid.density_kgs_m3;
            const double flow = pipe.FlowUncompressed_m3s;

            if (!fluid.FluidIsGas && pipe.Velocity_ms > options.getHighLiquidVelocity_ms()) {
                warning();
                Log.Add(pipe.Name + ", Liquid Flow Velocity is high (" +
                        convertAndFormat(unt_m_Sec, options.UnitOfVelocity, pipe.Velocity_ms) +
                        unitName(options.UnitOfVelocity) + ")");
            }
            if (fluid.FluidIsGas && pipe.ExitVelocity_ms > options.getHighGasVelocity_ms()) {
                warning();
                Log.Add(pipe.Name + ", Gas Exit Flow Velocity is high (" +
                        convertAndFormat(unt_m_Sec, options.UnitOfVelocity, pipe.ExitVelocity_ms) +
                        unitName(options.UnitOfVelocity) + ")");
            }

            if (PumpInUse(pipe)) {
                const TPump &pump = pipe.Pump;
                const std::string prefix = pipe.Name + "," + pump.Name;
                const TUnit headUnit = associatedFluidHeadUnitUnit(options.UnitOfPressureLoss);
                const std::string headUnitText = unitName(headUnit);
                const double npshr = pipe.PumpNPSHr_mHd_Fluid;
                const double npsha = GetPumpNPSHa_mFluid(pipeId);
                auto head = [&](double value_m) {
                    return convertPressureAndFormat(unt_m_hd_fluid, headUnit, value_m, atmosphere, density);
                };
                if (pump.PumpType == PumpFixedSpeed) {
                    // A percentage of 0 is a bound not set, and without an
                    // efficiency curve there is no best-efficiency flow to
                    // take percentages of.
                    const double bep = pump.GetFlowAtBEP_m3s(density);
                    const double fromPercent = pump.PreferredOpRegionFromPercent;
                    const double toPercent = pump.PreferredOpRegionToPercent;
                    const bool belowRegion = fromPercent > 0 && flow < bep * fromPercent / 100.0;
                    const bool aboveRegion = toPercent > 0 && flow > bep * toPercent / 100.0;
                    if (bep > 0 && (belowRegion || aboveRegion)) {
                        warning();
                        Log.Add(prefix + " => " + "Flow rate is Outside Preferred Operating Region for this pump.");
                    }
                    const double tolerance = options.getNPSHPercentWarningTolerance();
                    if (npsha >= npshr && !fluid.FluidIsGas && (tolerance / 100.0 + 1.0) * npshr > npsha) {
                        warning();
                        Log.Add(prefix + " => NPSHa is greater than NPSHr (i.e. Ok) but by less than " +
                                formatFixed(0, tolerance) + "% (i.e. low tolerance)");
                        Log.Add("NPSHa=" + head(npsha) + " " + headUnitText + "  NPSHr=" + head(npshr) + " " +
                                headUnitText);
                    }
                    if (npsha < npshr) {
                        warning();
                        Log.Add(prefix + " => NPSHa is not sufficient");
                        Log.Add("NPSHr=" + head(npshr) + " " + " " + headUnitText + ", " + "NPSHa=" + head(npsha) +
                                " " + " " + headUnitText + " (Too Low - Cavitation may occur at the pump)");
                    }
                    const TPumpPoints &points = pump.PumpPoints;
                    const int pointCount = std::min<int>(points.PointsCount, MaxPumpPoints);
                    if (points.PointsCount < 3) {
                        warning();
                        Log.Add(prefix + " => Pump curve is not fully specified.");
                        Log.Add("A pump head of zero has been assumed when solving the network.");
                    }
                    // A pump without curve points has no range to lie outside of.
                    if (pointCount >= 1 &&
                        (flow < points.Points[1].Flow_m3s || flow > points.Points[pointCount].Flow_m3s)) {
                        warning();
                        Log.Add(prefix + " => Flow is outside of the specified Pump curve points.");
                        if (pump.calcPumpHead_mHd_Fluid(flow, density) != 0) {
                            Log.Add("The pump head extrapolated to " +
                                    convertPressureAndFormat(unt_m_hd_fluid, options.UnitOfPressureLoss,
                                                             pipe.Pump_mHd_Fluid, atmosphere, density) +
                                    " " + unitName(options.UnitOfPressureLoss) + " for this flow " +
                                    convertAndFormat(unt_m3_sec, options.UnitOfFlow, flow) + " " +
                                    unitName(options.UnitOfFlow) + ". This extrapolation may not be correct.");
                            Log.Add("Additional points should be added to pump curve and the network re-solved.");
                        } else {
                            Log.Add("The pump head extrapolated to zero, i.e. the pump is not contributing to the "
                                    "flow in the system");
                        }
                    }
                }
                if (npsha < 0) {
                    Log.Add(" ");
                    Log.Add(">>> PROBLEM:");
                    ++warningCount;
                    Log.Add(prefix + " => NPSHa = " + head(npsha) + " - NPSHa cannot be negative");
                    Solved = false;
                }
                const double low = std::min(start.Elevation_m, end.Elevation_m);
                const double high = std::max(start.Elevation_m, end.Elevation_m);
                if (pipe.PumpElevation_m < low || pipe.PumpElevation_m > high) {
                    const TUnit unit = options.UnitOfElevation;
                    const std::string unitText = unitName(unit);
                    warning();
                    Log.Add(prefix + " => The pump elevation " + convertAndFormat(unt_m, unit, pipe.PumpElevation_m) +
                            unitText + " is not between the start and end elevation of the pipe (" +
                            convertAndFormat(unt_m, unit, start.Elevation_m) + unitText + " to " +
                            convertAndFormat(unt_m, unit, end.Elevation_m) + unitText + ")");
                }
            }

            if (ComponentInUse(pipe) && pipe.ComponentPressure.PressureType == ComponentPressureCurve) {
                const TComponentPressureCurvePoints &points = pipe.ComponentPressure.CurvePoints;
                const int pointCount = std::min(points.PointsCount, TComponentPressureCurvePoints::MaxPoints);
                if (pointCount >= 1 &&
                    (flow < points.Point(1).Flow_m3s || flow > points.Point(pointCount).Flow_m3s)) {
                    warning();
                    Log.Add(pipe.Name + "," + pipe.ComponentPressure.Name +
                            " => Flow is outside of the specified Component Pressure Loss curve points.");
                    Log.Add("The Component Pressure Loss extrapolation for this flow may not be correct.");
                    Log.Add("Additional points should be added to the Component Pressure Loss curve and the network "
                            "re-solved.");
                }
            }

            if (FlowControlInUse(pipe) && pipe.FlowControl.UseAllowedDpRange) {
                const TUnit unit = options.UnitOfSurfacePressure;
                auto pressure = [&](double value_bar) {
                    return convertPressureAndFormat(unt_Bar_G, unit, value_bar, atmosphere, density) + " " +
                           unitName(unit);
                };
                const double loss = pipe.FlowControlLoss_Bar;
                if (loss < pipe.FlowControl.MinAllowedDp_Bar_g) {
                    warning();
                    Log.Add("Pipe " + pipeId_s + ": " + "The dP loss across the control valve (" + pressure(loss) +
                            ") is less than the control's allowed minimum loss of " +
                            pressure(pipe.FlowControl.MinAllowedDp_Bar_g) + ".");
                }
                if (loss > pipe.FlowControl.MaxAllowedDp_Bar_g) {
                    warning();
                    Log.Add("Pipe " + pipeId_s + ": " + "The dP loss across the control valve (" + pressure(loss) +
                            ") is greater than the control's allowed maximum loss of " +
                            pressure(pipe.FlowControl.MaxAllowedDp_Bar_g) + ".");
                }
            }

            if (pipe.PreventBackflow && flow == 0) {
                warning();
                Log.Add("Backflow prevented on Pipe " + pipeId_s);
            }

            const double totalK = pipe.FittingSet.CalculateTotal_KValue();
            if ((end.NodeType == Tank || end.NodeType == EndPressure) && totalK < 1 && !ComponentInUse(pipe)) {
                comment();
                Log.Add("Pipe " + pipeId_s + ": " + "Flow discharges but pipe appears to have no fitting with a " +
                        "K factor to represent additional exit loss condition.");
            }
            if (start.NodeType == Tank && totalK < 0.5) {
                comment();
                Log.Add("Pipe " + pipeId_s + ": " + "Flow comes in from a tank but pipe appears to have no fitting "
                                                    "with a " +
                        "K factor to represent additional entry loss condition.");
            }
        }

        bool anyFailed = false;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            bool ok = true;
            std::string message;
            CheckPipeFittingsContractionsOk(i, ok, message);
            if (!ok) {
                anyFailed = true;
                warning();
                Log.Add(message);
            }
        }
        if (anyFailed) {
            Log.Add(" ");
            Log.Add("Note: ***");
            Log.Add("Contraction Fittings should be placed on the first pipe before the contraction, since the helper "
                    "calculates the contraction's associated K value based on the velocity in the first pipe (the "
                    "larger pipe) and the results obtained can be significantly different if this value is used with "
                    "velocity in the smaller pipe.");
        }
        anyFailed = false;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            bool ok = true;
            std::string message;
            CheckPipeFittingsExpansionsOk(i, ok, message);
            if (!ok) {
                anyFailed = true;
                warning();
                Log.Add(message);
            }
        }
        if (anyFailed) {
            Log.Add(" ");
            Log.Add("Note: ***");
            Log.Add("Expansion Fittings should be placed on the first pipe before the expansion, since the helper "
                    "calculates the expansion's associated K value based on the velocity in the first pipe (the "
                    "smaller pipe) and the results obtained can be significantly different if this value is used "
                    "with velocity in the larger pipe.");
        }

        if (!options.IsMethodOfSolutionCompressibleEngine()) {
            bool zonesOk = true;
            CheckGasPressureDropWithinFluidZone(zonesOk, Log);
        }
    } else {
        int cvKvPipes = 0;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TPipe &pipe = GetPipe(NodeLinks[static_cast<std::size_t>(i)].PipeId);
            if (ComponentInUse(pipe) && (pipe.ComponentPressure.PressureType == ComponentPressureCv ||
                                         pipe.ComponentPressure.PressureType == ComponentPressureKv))
                ++cvKvPipes;
        }
        if (cvKvPipes > 0) {
            Log.Add(std::to_string(cvKvPipes) + " pipes include a component specified with a Cv or Kv value.");
            Log.Add("It is possible that the Cv/Kv values define a flow to pressure loss condition that cannot be "
                    "achieved.");
            Log.Add("For example the Cv/Kv value may mean a pressure loss of Y bar occurs for the calculated flow "
                    "condition, however there may be less than a Y bar pressure loss across the whole system, which "
                    "would mean the system is invalid");
            Log.Add("Check the specification of all Cv/Kv values and perhaps trying solving the system without these "
                    "components presents to try and troubleshoot potential issues.");
        }
        if (FluidZonesCount > 1) {
            Log.Add(" ");
            Log.Add("System contains multiple fluid zones and solution did not converge.");
            Log.Add(" ");
            Log.Add("If pipes entering or leaving a node have different fluid zones then the user must ensure that "
                    "these are drawn in the direction that the flow will occur.");
            Log.Add(" ");
            Log.Add("If a pipe is drawn in the wrong direction where mutiple fluid zones join together then when a "
                    "negative flow occurs during the calculation iterations, it produces a system that cannot be "
                    "balanced, since the pipe's current fluid zone becomes invalid for the 'reversed pipe' (all pipes "
                    "leaving a common node must have the same fluid zone and reversing the pipe direction would "
                    "violate this rule).");
            Log.Add(" ");
            Log.Add("The software does not automatically change the fluid zone associated with a pipe.");
            Log.Add("If the above situtaion has occured you may need to review your system to identify any pipes where "
                    "the direction of flow may be different to the drawn pipe direction, perhaps reversing the pipe "
                    "and updating its fluid zone before trying to re-solve.");
        }
    }

    // Nodes the calculation gave no pressure.
    int notSet = 0, isolated = 0;
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (GetNode(nodeId).IsPressureSet)
            continue;
        ++notSet;
        if (GetNumberOfInFlowPipes(nodeId) + GetNumberOfOutFlowPipes(nodeId) == 0)
            ++isolated;
    }
    if (notSet > 0) {
        if (isolated == notSet) {
            warning();
            Log.Add("Pressure was not calculated at " + std::to_string(isolated) + " 'Isolated' nodes:");
        } else {
            Log.Add(">>> PROBLEM:");
            Log.Add("Pressure was not calculated at " + std::to_string(notSet) + " 'Joint' nodes:");
            Solved = false;
        }
        for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
            TNode &node = GetNode(nodeId);
            if (node.IsPressureSet)
                continue;
            const std::string text = "Node Id " + std::to_string(nodeId) + ", " + node.Name;
            if (GetNumberOfInFlowPipes(nodeId) + GetNumberOfOutFlowPipes(nodeId) > 0) {
                Log.Add(text + " ***");
            } else {
                Log.Add(text + ", " + "Isolated - Pressure at node set to zero.");
                node.Pressure_Bar_g = 0;
            }
        }
        if (isolated < notSet) {
            Log.Add("An additional Pressure Reference within this part of the system is required.");
            Log.Add("Fixed Flow Pumps and Flow Controls are modelled as demand flows that depend on other points in "
                    "the system to be used as reference pressures.");
            Log.Add("Suggestion: If you are using a fixed flow pump then try changing this to instead use a pump with "
                    "a fixed head increase (rather than a set flow).");
        }
    }

    // The verdict.
    if (warningCount > 0 && !Solved) {
        LogAddBreakLine(Log);
        Log.Add("Please check the warnings and review your system.");
        Log.Add(" ");
    }
    if (CalculationOverflowCount > 0 && !Solved) {
        for (const char *line :
             {" ", "*** Flow and pressure calculations did not converge to a balanced condition:", " ", "Suggestion:",
              "1) Try increasing the available pressure at supply tanks.",
              "   e.g. increase tank elevation, liquid level, and surface pressure as appropriate.",
              "   It is often useful to set a high supply tank elevation and",
              "   then try to Re-Calculate the system to see if it can be solved.",
              "2) Try increasing any very small pipe diameters to allow easier flow.", " ", " "})
            Log.Add(line);
    }
    if (warningCount == 0 && CommentCount == 0 && CalculationOverflowCount == 0 && Solved) {
        Log.Add("No issues to report.");
        LogAddBreakLine(Log);
        Log.Add(" ");
    } else if (warningCount > 0 || CommentCount > 0) {
        Log.Add(" ");
        LogAddBreakLine(Log);
        Log.Add(" ");
    }
    if (warningCount == 0 && !Solved) {
        Log.Add("Check completed. Nothing further to report.");
        LogAddBreakLine(Log);
        Log.Add(" ");
    }
}

void TNetwork::CheckGasPressureDropWithinFluidZone(bool &NetworkOk, TResultsLog &Log)
{
    NetworkOk = true;
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    const TCalculationParameter toleranceParameter =
        options.MethodOfSolution == LinearTheoryOnly ? LinearTheoryFluidZoneToActualGasDensityPercentageTolerance
        : options.MethodOfSolution == EstimateDischargeNewtonOnly
            ? NewtonDarcyFromDischargeEstFluidZoneToActualGasDensityPercentageTolerance
            : NewtonDarcyFromLinearFluidZoneToActualGasDensityPercentageTolerance;
    const double tolerance = options.CalculationParameters[toleranceParameter];
    const TUnit unit = options.UnitOfPressure;
    const std::string unitText = unitName(unit);
    const TUnit absoluteUnit = associatedAbsolutePressureUnit(unit);
    const std::string absoluteUnitText = unitName(absoluteUnit);

    for (int zone = 1; zone <= FluidZonesCount && zone <= MaxFluidZones; ++zone) {
        const TFluid &fluid = FluidZones[static_cast<std::size_t>(zone)].Fluid;
        if (!fluid.FluidIsGas)
            continue;
        const double density = fluid.density_kgs_m3;
        auto pressure = [&](double value_bar_g) {
            return convertPressureAndFormat(unt_Bar_G, unit, value_bar_g, atmosphere, density) + " " + unitText;
        };

        double lowest = 1e12, highest = -1e11;
        int lowestNode = 0, highestNode = 0;
        auto take = [&](int nodeId) {
            const double p = GetNode(nodeId).Pressure_Bar_g;
            if (p < lowest) {
                lowest = p;
                lowestNode = nodeId;
            }
            if (p > highest) {
                highest = p;
                highestNode = nodeId;
            }
        };
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            const TPipe &pipe = GetPipe(link.PipeId);
            if (pipe.FluidZoneIndex != zone)
                continue;
            const std::string pipeId_s = std::to_string(link.PipeId);
            const double ps = GetNode(link.FromNodeId).Pressure_Bar_g;
            const double pe = GetNode(link.ToNodeId).Pressure_Bar_g;
            // Where a pump, a back-pressure or a pressure-reducing valve
            // starts or ends the zone, the pressure outside it does not count.
            bool useStart = true, useEnd = true;
            const bool zoneStartsHere = GetNumberOfInFlowPipesWithFluidZone(link.FromNodeId, zone) == 0;
            if (zoneStartsHere && PumpInUse(pipe) && pe > ps) {
                Log.Add(" ");
                Log.Add("Pump/Compressor found on pipe " + pipeId_s + ". " + "Pressure at prior node is " + pressure(ps));
                Log.Add("The pressure in the pipe will immediately increase to " +
                        convertPressureAndFormat(unt_m_hd_fluid, unit,
                                                 pipe.Pump.calcPumpHead_mHd_Fluid(pipe.FlowUncompressed_m3s, density),
                                                 atmosphere, density) +
                        " " + unitText);
                useStart = false;
            }
            if (zoneStartsHere && ControlInUse(pipe, BPV) && pe < ps) {
                Log.Add(" ");
                Log.Add("BPV found on pipe " + pipeId_s + ". " + "Pressure before BPV is " + pressure(ps));
                Log.Add("After BPV pressure is reduced to " + pressure(ps - pipe.FlowControlLoss_Bar));
                useStart = false;
            }
            if (GetNumberOfOutFlowPipesWithFluidZone(link.ToNodeId, zone) == 0 && ControlInUse(pipe, PRV) && pe < ps) {
                Log.Add(" ");
                Log.Add("PRV found on pipe " + pipeId_s + ". " + "Pressure before PRV is " +
                        pressure(pe + pipe.FlowControlLoss_Bar));
                Log.Add("The PRV will reduce pressure at end of pipe to " + pressure(pe));
                useEnd = false;
            }
            if (useStart)
                take(link.FromNodeId);
            if (useEnd)
                take(link.ToNodeId);
        }
        if (lowestNode == 0 || highestNode == 0)
            continue;

        const double lowA = convertPressure(unt_Bar_G, unt_Bar_A, lowest, atmosphere, density);
        const double highA = convertPressure(unt_Bar_G, unt_Bar_A, highest, atmosphere, density);
        auto absolute = [&](double value_bar_a) {
            return convertPressureAndFormat(unt_Bar_A, absoluteUnit, value_bar_a, atmosphere, density) + " " +
                   absoluteUnitText;
        };
        const std::string highestLine = "Node " + std::to_string(highestNode) + " has the highest pressure at " +
                                        pressure(highest) + " (" + absolute(highA) + ")";
        const std::string lowestLine = "Node " + std::to_string(lowestNode) + " has the lowest pressure at " +
                                       pressure(lowest) + " (" + absolute(lowA) + ")";

        if (highA - 0.4 * std::fabs(highA) > lowA) {
            NetworkOk = false;
            ++WarningCount;
            Log.Add(" ");
            Log.Add(">>> WARNING (problem):");
            Log.Add("Fluid Zone " + std::to_string(zone) +
                    " contains node pressures (absolute) that are over 40% lower than the highest node pressure "
                    "(absolute) within the zone.");
            Log.Add(highestLine);
            Log.Add(lowestLine);
            if (highA != 0)
                Log.Add("Pressure has dropped by " + formatFixed(0, (highA - lowA) / highA * 100.0) +
                        "% within this fluid zone.");
            Log.Add("This fluid zone may need to be split into several different fluid zones.");
            Log.Add("*** When using a non-compressible calculation engine the Fluid Zone data MUST specify the fluid "
                    "properties with the density set to what it would be at the approximate average pressure "
                    "condition within the zone.");
            Log.Add("");
            Log.Add(">>> RECOMMENDED: Select a Compressible Calculation Engine and re-solve the system.");
            Log.Add("");
        } else if (highA - 0.1 * std::fabs(highA) > lowA) {
            const double averageGauge = (lowest + highest) / 2.0;
            const double averageDensity = calcGasDensity(density, fluid.pressure_bar_g, fluid.degrees_K, atmosphere,
                                                         averageGauge, fluid.degrees_K);
            if (density < (1.0 - tolerance / 100.0) * averageDensity ||
                density > (1.0 + tolerance / 100.0) * averageDensity) {
                CountWarnings(WarningCount, Log);
                const std::string averagePressure =
                    convertPressureAndFormat(unt_Bar_A, unit, (highA + lowA) / 2.0, atmosphere, density) + " " +
                    unitText;
                auto densityText = [&](double value) {
                    return convertAndFormat(unt_kg_m3, options.UnitOfDensity, value) + " " +
                           unitName(options.UnitOfDensity);
                };
                Log.Add("Fluid Zone " + std::to_string(zone) +
                        " contains node pressures (absolute) that are over 10% lower than the highest node pressure "
                        "(absolute) within the zone.");
                Log.Add(highestLine);
                Log.Add(lowestLine);
                Log.Add("Fluid Data should be defined close to the average pressure condition (" + averagePressure +
                        ")");
                Log.Add("The calculated average fluid density in this zone is " + densityText(averageDensity) +
                        " (based on ideal gas law).");
                Log.Add("However, the chosen fluid has a density of " + densityText(density));
                Log.Add("Please check and review the data for this fluid zone against the system conditions.");
                Log.Add("*** Suggestion: Update Fluid Zone Data to have:");
                Log.Add("       Pressure = " + averagePressure);
                Log.Add("       Density = " + densityText(averageDensity));
            }
        }
    }

    if (!NetworkOk && IsIncompressibleMethod(options.MethodOfSolution)) {
        for (const char *line :
             {" ", "FLUID ZONE NOTE ",
              "For gas systems that are solved with a non-compressible calculation using the Darcy-Weisbach equation:",
              " ",
              "If the calculated pressure drop in an individual fluid zone is greater than 10% but less than 40% of "
              "the absolute pressure at the compressible fluid entry points in the individual fluid zone then the "
              "Darcy-Weisbach equation will give a reasonable accuracy provided that the specified fluid density for "
              "an individual fluid zone represents the average fluid density for that fluid zone (since the "
              "Darcy-Weisbach equation assumes a constant fluid density and does not explicitly account for "
              "compression of the gas and a changing density).",
              " ",
              "For Example: If the fluid zone entry pressure is 100 bar (absolute) and the fluid zone exit pressure "
              "is 80 bar (absolute) then the fluid density for the fluid zone should be specified at 90 bar pressure "
              "(i.e. specify the fluid density as it would be at the average pressure in the fluid zone)",
              "See the Tessaran User Guide section on \"Working with compressible fluids\".", " ",
              ">>> When the pressure drop across a fluid zone changes by more than 40% of the starting pressure "
              "(absolute) then the calculated results may become inaccurate due to not accounting for the "
              "compression of the gas and this is especially critical for high pressure systems.",
              " ", "", ">>> RECOMMENDED: Select a Compressible Calculation Engine and re-solve the system.",
              ">>> See Calculations Tab on Configuration Options screen.", ""})
            Log.Add(line);
    }
}

} // namespace tessaran
