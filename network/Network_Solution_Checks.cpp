// Verifying a solution and the conventions of the results log.
//
// Every pipe's loss is compared with the pressure difference of its end
// nodes; zero-flow flow controls, choked valves and components, node
// pressures against absolute zero and the vapour pressure, and gas exit
// velocities against the sonic velocity are checked; the findings go to the
// results log. Lines of the log: " " separates, ">>> PROBLEM:" introduces a
// finding that invalidates the result, "*** " starts a note or verdict;
// warnings and comments are written only through CountWarnings and
// CountComments, which count them.

#include "network/Network_Class.h"

#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

std::string idText(int id) { return std::to_string(id); }

const std::string SupportAddress = "support@tessaran.example";

} // namespace

double TNetwork::pipeSolutionLoss_bar(int pipeId) const
{
    const TPipe &pipe = GetPipe(pipeId);
    double loss_mHd = pipe.PipeFrictionLoss_mHd_Fluid;
    if (pipe.FittingsInUse())
        loss_mHd += pipe.FittingsLoss_mHd_Fluid;
    if (pipe.ComponentInUse())
        loss_mHd += pipe.ComponentPressureLoss_mHd_Fluid;
    if (pipe.PumpInUse())
        loss_mHd -= pipe.Pump_mHd_Fluid;
    if (pipe.FlowControlInUse())
        loss_mHd += pipe.FlowControlLoss_mHd_Fluid;
    return convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, loss_mHd, GetPipeFluid(pipeId).density_kgs_m3) +
           pipe.PressureLossDueToElevationChange_Bar;
}

void TNetwork::CheckNetworkSolutionOk(TResultsLog &Log, bool &SolutionOk, bool FoundInvalid)
{
    HighestPressureBalancingToleranceFinal_bar = 0;
    HighestPressureBalancingTolerancePipeId = 0;
    SolutionOk = !FoundInvalid;

    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    const TMethodOfSolution method = options.MethodOfSolution;
    const bool compressible = options.IsMethodOfSolutionCompressibleEngine();
    const auto &parameters = options.CalculationParameters;

    try {
        const TUnit pressureUnit = options.UnitOfPressure;
        const std::string pressureName = unitName(pressureUnit);
        const std::string pressurePlain = unitPlainName(pressureUnit);
        auto pressureText = [&](double pressure_bar_g, double density) {
            return convertPressureAndFormat(unt_Bar_G, pressureUnit, pressure_bar_g, atmosphere, density);
        };
        auto differenceText = [&](double difference_bar, double density) {
            return formatFixed(8, convertPressure(unt_Bar_G, pressureUnit, difference_bar, 0.0, density));
        };

        bool preventBackflowFailed = false;
        bool otherCheckFailed = false;
        bool balanceFailed = false;

        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink link = NodeLinks[at(i)];
            const TPipe &pipe = GetPipe(link.PipeId);
            const TFluid &fluid = GetPipeFluid(link.PipeId);
            const double density = fluid.density_kgs_m3;
            const double Ps = GetNode(link.FromNodeId).Pressure_Bar_g;
            const double Pe = GetNode(link.ToNodeId).Pressure_Bar_g;

            // Balance of the pipe's loss against its end pressures.
            const double d = Ps - Pe;
            const double L = pipeSolutionLoss_bar(link.PipeId);
            const double error = std::fabs(d - L);
            const bool closedByBackflow = pipe.PreventBackflow && Ps < Pe;
            // A result that is not a number balances nothing.
            if (!(error <= HighestPressureBalancingToleranceFinal_bar) && !closedByBackflow &&
                !std::isnan(HighestPressureBalancingToleranceFinal_bar)) {
                HighestPressureBalancingToleranceFinal_bar = error;
                HighestPressureBalancingTolerancePipeId = link.PipeId;
            }
            const bool usePercent = compressible && options.GasSystemCheckFinalNodeBalanceUsePercent;
            const double percent = method == CompressibleNodeAdjust
                                       ? parameters[CompressibleNodeAdjustPressureTolerancePercent]
                                       : parameters[CompressibleFlowAdjustPressureTolerancePercent];
            const double allowed =
                usePercent ? (Pe + atmosphere) * percent / 100.0 : options.NodeBalancingToleranceFinal_bar;

            if (!(error <= allowed)) {
                if (pipe.PreventBackflow) {
                    if (Ps < Pe) {
                        Log.Add("Prevent BackFlow in Pipe " + idText(link.PipeId) +
                                " verified ok against start and end node pressures.");
                    } else if (Ps > Pe) {
                        SolutionOk = false;
                        preventBackflowFailed = true;
                        FinalPressureBalanceToleranceMaybeTooSmall = false;
                        Log.Add("*** PROBLEM WITH SOLUTION: ");
                        Log.Add(">>> Prevent BackFlow in Pipe " + idText(link.PipeId) +
                                " FAILED CHECK against start and end node pressures.");
                        Log.Add("The Initial Approximate Solution must have converged to give a system where flow in "
                                "this pipe was reversed, but since it was marked to prevent backflow, the system was "
                                "then recalculated with no flow in this pipe.");
                        Log.Add(">>> However the recalculated solution has been detected to be invalid since the "
                                "calculated pressure at the start of this pipe is now greater than the pressure at "
                                "the end of this pipe, hence positive flow should occur in this pipe.");
                        Log.Add(">>> The issue is caused by convergence to an initial approximate solution that is "
                                "not valid.");
                        Log.Add(">>> Try reducing the Pressure Balance Tolerance for the Initial Approximate "
                                "Soltuion on the Config Options Calculation Tab, to a lower value, so that the "
                                "system converges to a different intial solution.");
                        Log.Add(">>> Note: This problem normally only occurs with systems that contain pipes that "
                                "are set to Prevent Backflow.");
                        Log.Add(" ");
                    }
                } else {
                    SolutionOk = false;
                    balanceFailed = true;
                    Log.Add("*** PROBLEM WITH SOLUTION: ");
                    Log.Add("Pressure at Node " + idText(link.FromNodeId) + " is " + pressureText(Ps, density) + " " +
                            pressureName);
                    Log.Add("Pressure at Node " + idText(link.ToNodeId) + " is " + pressureText(Pe, density) + " " +
                            pressureName);
                    Log.Add("The Node Pressure Diff = " + differenceText(d, density) + " " + pressurePlain);
                    Log.Add("Pipe " + idText(link.PipeId) + " Pressure Loss = " + differenceText(L, density) + " " +
                            pressurePlain + " (out by " + differenceText(d - L, density) + " " + pressurePlain + ")");
                    if (Ps - L + atmosphere < 1e-7)
                        Log.Add("Pressure at end of pipe would be below zero bar absolute, which is not physically "
                                "possible.");
                    if (!compressible) {
                        Log.Add("Node balance absolute tolerance is set at " +
                                differenceText(options.NodeBalancingToleranceFinal_bar, 1.0) + " " + pressureName);
                    } else if (usePercent) {
                        Log.Add("Node balance percentage tolerance is set at " + formatFixed(8, percent) +
                                "% of absolute pressure at downstream node. ");
                        Log.Add("In absolute terms Node balance tolerance is " + differenceText(allowed, density) +
                                " " + pressurePlain + " " + "(solution tolerance has not been met)");
                    } else {
                        Log.Add("Node balance absolute tolerance is set at " + differenceText(allowed, density) + " " +
                                pressurePlain + " (solution tolerance has not been met)");
                    }
                    Log.Add(" ");
                }
            }

            // A flow control set to zero flow cannot regulate anything.
            if (pipe.FlowUncompressed_m3s == 0 && pipe.FlowControlInUse() && pipe.FlowControl.ControlType == FCV &&
                pipe.FlowControl.FlowControl_m3s == 0) {
                SolutionOk = false;
                otherCheckFailed = true;
                Log.Add(" ");
                Log.Add(">>> PROBLEM:");
                Log.Add("Pipe " + idText(link.PipeId) + ": Flow Control is set to zero flow.");
                Log.Add("Pipe " + idText(link.PipeId) + ": Hence there is No Flow in the pipe, " +
                        "which means the Control Valve cannot operate correctly. " +
                        "Please review your system design or remove the control valve from this pipe.");
            }

            // Choked flow through a valve or a component of a gas.
            if (!(fluid.FluidIsGas && fluid.specificHeatRatio > 0))
                continue;
            const TUnit surfaceUnit = options.UnitOfSurfacePressure;
            const TUnit absoluteUnit = associatedAbsolutePressureUnit(surfaceUnit);
            const int decimals = unitDecimals(absoluteUnit);
            const double ratio = calcCriticalPressureRatio(fluid.specificHeatRatio);
            auto absoluteText = [&](double pressure_bar_a) {
                return formatFixed(decimals, convertPressure(unt_Bar_A, absoluteUnit, pressure_bar_a, atmosphere, density));
            };
            auto lossText = [&](double loss_bar) {
                return formatFixed(decimals, convertPressure(unt_Bar_G, surfaceUnit, loss_bar, 0.0, density));
            };
            auto reportChoked = [&](const std::string &heading, const std::string &through, double loss_bar,
                                    double upstream_bar_a, double downstream_bar_a) {
                SolutionOk = false;
                otherCheckFailed = true;
                Log.Add(" ");
                Log.Add(">>> PROBLEM:");
                Log.Add("Pipe " + idText(link.PipeId) + ": " + heading);
                Log.Add("Pressure Loss (" + lossText(loss_bar) + " " + unitPlainName(surfaceUnit) + ") through " +
                        through + " exceeds the Critical Pressure Drop (" + lossText(ratio * upstream_bar_a) + " " +
                        unitPlainName(surfaceUnit) + ").");
                Log.Add("For this fluid the Critical Pressure Drop Ratio (P_downstream/P_upstream) is calculated to be " +
                        formatFixed(decimals, ratio));
                Log.Add("P_upstream is " + absoluteText(upstream_bar_a) + " " + unitName(absoluteUnit));
                Log.Add("P_downstream is " + absoluteText(downstream_bar_a) + " " + unitName(absoluteUnit));
            };
            if (pipe.FlowControlInUse() && pipe.FlowControl.CheckCompressibleChokedFlow) {
                const double lossValve = convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, pipe.FlowControlLoss_mHd_Fluid, density);
                double upstream = 0, downstream = 0;
                if (pipe.FlowControl.ControlType == BPV) {
                    upstream = Ps + atmosphere;
                    downstream = Ps - lossValve + atmosphere;
                } else {
                    downstream = Pe + atmosphere;
                    upstream = Pe + lossValve + atmosphere;
                }
                if (ratio * upstream < lossValve) {
                    reportChoked("Choked Flow through control valve (" + pipe.FlowControl.GetControlValveTypeString() +
                                     ").",
                                 "the control valve", lossValve, upstream, downstream);
                    Log.Add("Tessaran does not currently support calculations for conditions where sonic choked flow "
                            "may occur.");
                }
            }
            if (pipe.ComponentInUse() && pipe.ComponentPressure.CheckCompressibleChokedFlow) {
                const double lossComponent =
                    convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, pipe.ComponentPressureLoss_mHd_Fluid, density);
                const double upstream = Pe + lossComponent + atmosphere;
                const double downstream = Pe + atmosphere;
                if (ratio * upstream < lossComponent) {
                    reportChoked("Choked Flow through component.", "the component", lossComponent, upstream, downstream);
                    Log.Add("Where the component represents a nozzle or orifice with a contraction of cross sectional "
                            "area followed by an expansion of cross sectional area, the flow velocity will increase "
                            "through the contracted 'throat' of the component, and when the pressure loss exceeds "
                            "the critical pressure loss, then sonic flow will occur.");
                    Log.Add("Tessaran does not currently support calculations for conditions where sonic flow "
                            "occurs.");
                }
            }
        }

        if (preventBackflowFailed)
            UserInterface->ShowMessage(TMessageKind::Information,
                                       "SOLUTION IS NOT VALID: Failed solution verification\r\rThe problem relates to "
                                       "preventing backflow in certain pipes.\r\rMore information is provided at the "
                                       "end of the log file.\r");
        if (balanceFailed || otherCheckFailed)
            UserInterface->ShowMessage(TMessageKind::Information,
                                       "SOLUTION IS NOT VALID: Failed solution verification\r\rMore information is "
                                       "provided at the end of the log file.\r");

        // Node pressures against absolute zero and the vapour pressure.
        const bool allGas = IsAllGasSystem();
        const TUnit absolutePressureUnit = associatedAbsolutePressureUnit(pressureUnit);
        const std::string absoluteName = unitName(absolutePressureUnit);
        const std::vector<int> zones = NodeFluidZoneIndexes();
        for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
            const TNode &node = GetNode(id);
            if (!(node.NodeType == Joint || node.NodeType == Tank || node.NodeType == EndPressure))
                continue;
            const double absolute_bar_a = node.Pressure_Bar_g + atmosphere;
            if (absolute_bar_a < 0)
                SolutionOk = false;
            if (allGas)
                continue;
            const TFluid &fluid = FluidZones[at(id <= MaxNodes ? zones[at(id)] : GetNodeFluidZoneIndex(id))].Fluid;
            if (absolute_bar_a < fluid.vapourPressure_bar_a) {
                SolutionOk = false;
                Log.Add(">>> PROBLEM:");
                Log.Add("Node " + idText(id) + ", " + node.Name + ", Pressure at node " +
                        formatFixed(4, convertPressure(unt_Bar_G, absolutePressureUnit, node.Pressure_Bar_g, atmosphere,
                                                       fluid.density_kgs_m3)) +
                        " " + absoluteName + " is less than the fluid vapour pressure " +
                        formatFixed(4, convertPressure(unt_Bar_A, absolutePressureUnit, fluid.vapourPressure_bar_a,
                                                       atmosphere, fluid.density_kgs_m3)) +
                        " " + absoluteName);
            }
        }

        if (allGas)
            checkSonicVelocities(Log, SolutionOk);

        // Sprinkler K values describe liquids.
        if (compressible) {
            bool first = true;
            for (int i = 1; i <= NodeLinksCount; ++i) {
                const int pipeId = NodeLinks[at(i)].PipeId;
                const TPipe &pipe = GetPipe(pipeId);
                if (!pipe.ComponentInUse())
                    continue;
                const auto type = pipe.ComponentPressure.PressureType;
                if (type != ComponentPressureSprinklerKimperial && type != ComponentPressureSprinklerKmetric)
                    continue;
                if (first)
                    Log.Add(" ");
                first = false;
                CountWarnings(WarningCount, Log);
                Log.Add("Pipe " + idText(pipeId) + ", " + pipe.Name + ", " + "contains a component " +
                        "that is defined by a Sprinkler K value, however the fluid associated with this pipe is a "
                        "compressible gas.");
            }
            if (!first) {
                Log.Add(" ");
                Log.Add("Sprinkler K values are normally used to define liquid flow rate versus pressure loss through "
                        "a sprinkler, however the associated fluid is a compressible gas for some pipes with "
                        "Sprinkler K components (as listed above).");
            }
        }

        if (SolutionOk) {
            Log.Add(" ");
            LogAddBreakLine(Log);
            Log.Add(">>> Found final solution.");
            Log.Add(">>> Verifying pipe losses against node pressures at start and end of pipe... Passed.");
            Log.Add(">>> Solution Verified.");
        } else if (balanceFailed) {
            Log.Add(" ");
            LogAddBreakLine(Log);
            Log.Add(">>> Check Results");
            Log.Add(">>> Verifying pipe losses against node pressures at start and end of pipe.");
            Log.Add(">>> FAILED: Solution Invalid.");
        }
    } catch (const std::exception &) {
        SolutionOk = false;
        UserInterface->ShowMessage(TMessageKind::Information,
                                   "An error occured while verifying the system solution.\r\rPlease report this to " +
                                       SupportAddress + "\r");
        Log.Add(" ");
        Log.Add("**** Exception occured while verifying the solution.");
        Log.Add("**** Please report to " + SupportAddress);
        Log.Add(" ");
    }
}

void TNetwork::checkSonicVelocities(TResultsLog &Log, bool &SolutionOk)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;

    bool anyZeroRatio = false;
    std::string zoneLines;
    for (int zone = 1; zone <= FluidZonesCount; ++zone) {
        const TFluid &fluid = FluidZones[at(zone)].Fluid;
        if (fluid.specificHeatRatio > 0)
            continue;
        if (!anyZeroRatio) {
            CountWarnings(WarningCount, Log);
            Log.Add("This system contains gas fluid zones where the Specific Heat Ratio is set to zero.");
            Log.Add(" ");
        }
        anyZeroRatio = true;
        const std::string line = "Fluid Zone " + idText(zone) + ": " + fluid.name + " has " +
                                 "Specific Heat Ratio =  " + formatFixed(8, fluid.specificHeatRatio);
        Log.Add(line);
        zoneLines += line + "\r";
    }
    if (anyZeroRatio) {
        Log.Add(" ");
        Log.Add("The calculated results for flow in these fluid zones have not be checked against sonic flow "
                "conditions.");
        Log.Add("The Specific Heat Ratio for each fluid should be specified in order to allow the software to check "
                "and warn of any sonic flow conditions.");
        if (UserInterface->TestResultsMode() == 0)
            UserInterface->ShowMessage(
                TMessageKind::Warning,
                "This system contains gas fluid zones where the Specific Heat Ratio is set to zero.\r\r" + zoneLines +
                    "\r" + "The calculated results for flow in these fluid zones have not be checked against sonic "
                           "flow conditions." +
                    "\r\r" +
                    "If the calculated results give high velocities then it is up to the user to check if these are "
                    "actually achievable and to confirm that sonic flow conditions have not been exceeded." +
                    "\r\r" +
                    "The Specific Heat Ratio for each fluid should be specified in order to allow the software to "
                    "check and warn of any sonic flow conditions." +
                    "\r");
        return;
    }

    bool anySonic = false;
    const TUnit velocityUnit = options.UnitOfVelocity;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const TFluid &fluid = GetPipeFluid(link.PipeId);
        const double Pe = GetNode(link.ToNodeId).Pressure_Bar_g;
        const double Z = calcCompressibilityZ(options.ZCompressibilityModel, Pe, fluid.degrees_K, fluid.density_kgs_m3,
                                              fluid.pressure_bar_g, fluid.degrees_K, options.ZCompressibilityFactor);
        const double density = calcGasDensityAtPressure(fluid.density_kgs_m3, fluid.pressure_bar_g, Z, Pe, atmosphere);
        const double sonic = calcSonicVelocity(fluid.specificHeatRatio, Pe, density, atmosphere);
        if (pipe.ExitVelocity_ms >= sonic) {
            SolutionOk = false;
            anySonic = true;
            Log.Add(">>> PROBLEM:");
            Log.Add("Pipe " + idText(link.PipeId) + ": Exit Velocity of " +
                    convertAndFormat(unt_m_Sec, velocityUnit, pipe.ExitVelocity_ms) + " " + unitName(velocityUnit) +
                    " exceeds calculated sonic velocity of " + convertAndFormat(unt_m_Sec, velocityUnit, sonic) + " " +
                    unitName(velocityUnit) + " based on defined fluid Specific Heat Ratio =" +
                    formatFixed(6, fluid.specificHeatRatio));
        }
    }
    if (anySonic)
        UserInterface->ShowMessage(TMessageKind::Information,
                                   "SOLUTION IS NOT VALID: \r\rVelocity in some pipes exceeds sonic velocity.\r\rMore "
                                   "information is provided at the end of the log file.\r");
}

void TNetwork::CheckNetworkCompressibleSolutionOk(TResultsLog &Log, bool &SolutionOk)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const TFluid &fluid = GetPipeFluid(link.PipeId);
        const double m = pipe.FlowUncompressed_m3s * fluid.density_kgs_m3;
        double Ps = GetNode(link.FromNodeId).Pressure_Bar_g;
        double Pe = GetNode(link.ToNodeId).Pressure_Bar_g;
        if (pipe.PumpInUse())
            Ps += pipe.Pump.calcPumpHead_Bar(m, fluid.density_kgs_m3);
        if (pipe.FlowControlInUse()) {
            if (pipe.FlowControl.ControlType == PRV)
                Pe += pipe.FlowControlLoss_Bar;
            else
                Ps -= pipe.FlowControlLoss_Bar;
        }
        if (pipe.ComponentInUse())
            Pe += convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, pipe.ComponentPressureLoss_mHd_Fluid,
                                          fluid.density_kgs_m3);
        Pe += pipe.PressureLossDueToElevationChange_Bar;

        const double Z = calcCompressibilityZ(options.ZCompressibilityModel, Ps, fluid.degrees_K, fluid.density_kgs_m3,
                                              fluid.pressure_bar_g, fluid.degrees_K, options.ZCompressibilityFactor);
        auto flowTo = [&](double endPressure) {
            return calcCompressibleFlow(options.MethodOfCalculationCompressible, GasModel_Std_Temp_degrees_k,
                                        GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE, Ps, endPressure,
                                        atmosphere, pipe.Length_m, pipe.InnerDiameter_m, pipe.InnerRoughness_m,
                                        pipe.FrictionFactor, fluid.density_kgs_m3, fluid.pressure_bar_g,
                                        fluid.degrees_K, fluid.centipoise, Z);
        };
        const double q1 = flowTo(Pe);
        const double q2 = flowTo(Ps - 1.001 * std::fabs(Ps - Pe));
        if (q2 < q1) {
            Log.Add(" ");
            Log.Add("Compressible Flow Check:");
            Log.Add(" ");
            Log.Add("INVALID RESULT: Pipe " + idText(link.PipeId) + " (" + pipe.Name + ")");
            Log.Add("PRESSURE AND PIPE DATA OUTSIDE VALID RANGE for " + options.GetMethodOfCalculationString() + ".");
            Log.Add("The difference in node pressures may cause a very high flow velocity which is beyond the valid "
                    "bounds for this equation (especially if the length of pipe is short).");
            SolutionOk = false;
            Log.Add(" ");
            return;
        }
    }
}

void TNetwork::CheckFlowContinuity(bool &FlowContinuityOk, bool &FlowContinuityBalancePositive,
                                   TResultsLog &TheMemo) const
{
    FlowContinuityOk = true;
    FlowContinuityBalancePositive = true;
    // Every node's incoming and outgoing links in table order, so that each
    // joint adds up its guesses in the order of a scan of the whole table.
    thread_local std::vector<int> inStart, outStart, inLinks, outLinks;
    const auto valid = [](int node) { return node >= 1 && node <= MaxNodes; };
    inStart.assign(at(MaxNodes + 2), 0);
    outStart.assign(at(MaxNodes + 2), 0);
    bool anyNegative = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (GetPipe(link.PipeId).FlowGuessUncompressed_m3s < 0)
            anyNegative = true;
        if (valid(link.ToNodeId))
            ++inStart[at(link.ToNodeId + 1)];
        if (valid(link.FromNodeId))
            ++outStart[at(link.FromNodeId + 1)];
    }
    for (int id = 1; id <= MaxNodes + 1; ++id) {
        inStart[at(id)] += inStart[at(id - 1)];
        outStart[at(id)] += outStart[at(id - 1)];
    }
    inLinks.resize(at(inStart[at(MaxNodes + 1)]));
    outLinks.resize(at(outStart[at(MaxNodes + 1)]));
    {
        thread_local std::vector<int> nextIn, nextOut;
        nextIn.assign(inStart.begin(), inStart.end() - 1);
        nextOut.assign(outStart.begin(), outStart.end() - 1);
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[at(i)];
            if (valid(link.ToNodeId))
                inLinks[at(nextIn[at(link.ToNodeId)]++)] = i;
            if (valid(link.FromNodeId))
                outLinks[at(nextOut[at(link.FromNodeId)]++)] = i;
        }
    }
    const auto guess = [&](int link) { return GetPipe(NodeLinks[at(link)].PipeId).FlowGuessUncompressed_m3s; };
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.NodeType != Joint)
            continue;
        if (anyNegative)
            FlowContinuityBalancePositive = false;
        double in = node.JointSupply_m3s;
        double out = node.JointDischarge_m3s;
        if (valid(id)) {
            for (int e = inStart[at(id)]; e < inStart[at(id + 1)]; ++e)
                in += guess(inLinks[at(e)]);
            for (int e = outStart[at(id)]; e < outStart[at(id + 1)]; ++e)
                out += guess(outLinks[at(e)]);
        }
        if (std::fabs(in) > std::fabs(1.001 * out) || std::fabs(out) > std::fabs(1.001 * in))
            FlowContinuityOk = false;
    }
    if (FlowContinuityOk && FlowContinuityBalancePositive)
        TheMemo.Add("Initial Flow Continuity Adjusted: Balanced Ok");
    else if (FlowContinuityOk)
        TheMemo.Add("Initial Flow Continuity Adjusted: Balanced with negative flows");
    else
        TheMemo.Add("Initial Flow Continuity Adjusted: Not Fully Balanced");
}

} // namespace tessaran
