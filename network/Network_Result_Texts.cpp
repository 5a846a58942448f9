// Pipe labels of the drawing, the pressure after a pipe's pump and the
// multi-line texts about a fluid zone, a node or a pipe that the main window
// shows for the item under the mouse.

#include "network/Network_Class.h"
#include "network/Result_Table_Cells.h"

#include "units/Calculations.h"
#include "units/Unit_Format.h"


namespace tessaran {

namespace {

// Lines of a result text are joined by a single carriage return.
std::string JoinWithCarriageReturns(const std::vector<std::string> &lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\r';
        text += lines[i];
    }
    return text;
}

} // namespace

// --- Pump discharge pressure ---------------------------------------------------------

double TNetwork::GetPumpDischargePressure_mFluid(int ThePipeId) const
{
    return GetPumpSuctionPressure_mFluid(ThePipeId) + GetPipe(ThePipeId).Pump_mHd_Fluid;
}

// --- Pipe label -------------------------------------------------------------------------

std::string TNetwork::GetPipeLabel(int ThePipeId, bool ResultsMode) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    const TPipe &pipe = GetPipe(ThePipeId);

    if (!ResultsMode) {
        // Every part starts with a separator; the first one is dropped below.
        std::string text;
        if (o.ShowPipeId)
            text += ",(" + std::to_string(ThePipeId) + ")";
        if (o.ShowPipeName)
            text += "," + Trimmed(pipe.Name);
        if (o.ShowPipeDiam)
            text += ", " + convertUnitToString(unt_m, o.UnitOfDiameter, 1, pipe.InnerDiameter_m) +
                    unitName(o.UnitOfDiameter);
        if (o.ShowPipeLength)
            text += ", " + convertUnitToString(unt_m, o.UnitOfLength, 1, pipe.Length_m) + unitName(o.UnitOfLength);
        if (!text.empty())
            text.erase(0, 1);
        return Trimmed(text);
    }

    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double massFlow = pipe.FlowUncompressed_m3s * fluid.density_kgs_m3;
    std::string text;
    if (o.ShowPipeName)
        text += Trimmed(pipe.Name) + ", ";
    if (o.ShowPipeFlowRate) {
        text += "f=" + f.Conv(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s);
    } else if (o.ShowPipeMassFlowRate) {
        text += "mf=" + convertFlowUnitToString(unt_kg_sec, o.UnitOfMassFlow, unitDecimals(o.UnitOfMassFlow),
                                                o.GasFlowTemperaturePressureModel, massFlow, fluid.density_kgs_m3,
                                                fluid.pressure_bar_g, fluid.degrees_K, o.Atmosphere_bar_a);
    } else if (o.ShowPipeGasFlowRate) {
        text += fluid.FluidIsGas ? "gf=" + f.Gas(massFlow, fluid) : "gf=N/A fluid is not gas";
    } else if (o.ShowPipeVelocity) {
        if (fluid.FluidIsGas)
            text += "vEntry=" + f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.EntryVelocity_ms) + " " +
                    "vExit=" + f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.ExitVelocity_ms);
        else
            text += "v=" + f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.Velocity_ms);
    } else if (o.ShowPipePressureLoss) {
        int fromNode = -1, toNode = -1;
        GetFromAndToNodeIds(ThePipeId, fromNode, toNode);
        text += "dP=" + f.Pres(unt_Bar_G, o.UnitOfPressureLoss,
                               GetNode(fromNode).Pressure_Bar_g - GetNode(toNode).Pressure_Bar_g,
                               fluid.density_kgs_m3);
    }
    return text;
}

// --- Fluid, node and pipe texts -----------------------------------------------------------

std::string TNetwork::PopulateStringFluidInfo(int TheFluidZoneId, bool /*ResultsMode*/) const
{
    if (TheFluidZoneId < 1 || TheFluidZoneId > MaxFluidZones)
        return "";
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    const TFluid &fluid = FluidZones[static_cast<std::size_t>(TheFluidZoneId)].Fluid;
    const double density = fluid.density_kgs_m3;
    std::vector<std::string> lines = {
        "Name:" + fluid.name,
        "Formula: " + fluid.chemicalFormula,
        "Temperature: " + convertUnitToString(unt_degrees_K, o.UnitOfTemperature, unitDecimals(o.UnitOfTemperature),
                                              fluid.degrees_K),
        "Pressure: " + f.Pres(unt_Bar_G, o.UnitOfPressure, fluid.pressure_bar_g, density) + " " +
            unitName(o.UnitOfPressure),
        "Density: " + f.Conv(unt_kg_m3, o.UnitOfDensity, density) + " " + unitName(o.UnitOfDensity),
        "Viscosity: " + formatFixed(6, fluid.centipoise) + " centipoise",
    };
    if (fluid.FluidIsGas) {
        lines.push_back("Selected State: Gas");
        lines.push_back("Specific Heat Ratio: " + formatFixed(6, fluid.specificHeatRatio));
    } else {
        const TUnit vapourUnit = associatedAbsolutePressureUnit(o.UnitOfPressure);
        lines.push_back("Selected State: Liquid");
        lines.push_back("Vapour Pressure: " + f.Pres(unt_Bar_A, vapourUnit, fluid.vapourPressure_bar_a, density) +
                        " " + unitName(vapourUnit));
    }
    return JoinWithCarriageReturns(lines) + '\r';
}

std::string TNetwork::PopulateStringNodeResultsInfo(int TheNodeId, bool ResultsMode) const
{
    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    const TNode &node = GetNode(TheNodeId);
    const TFluid &fluid = f.NodeFluid(TheNodeId);
    const double density = fluid.density_kgs_m3;
    const bool allGas = IsAllGasSystem();
    const std::string pressureUnit = " " + unitName(o.UnitOfPressure);

    std::vector<std::string> lines;
    if (node.NodeType == Tank) {
        lines.push_back((allGas ? "Outlet Pressure = " : "Surface Pressure = ") +
                        f.Pres(unt_Bar_G, o.UnitOfPressure, node.Surface_Pressure_Bar_g, density) + pressureUnit);
        lines.push_back("Liquid Level = " + f.Conv(unt_m, o.UnitOfElevation, node.LiquidLevel_m));
    }
    lines.push_back("Elevation = " + f.Conv(unt_m, o.UnitOfElevation, node.Elevation_m) + " " +
                    unitName(o.UnitOfElevation));
    if (ResultsMode) {
        lines.push_back("Pressure = " + f.Pres(unt_Bar_G, o.UnitOfPressure, node.Pressure_Bar_g, density) +
                        pressureUnit);
        if (allGas)
            lines.push_back("Gas Density = " +
                            f.Conv(unt_kg_m3, o.UnitOfDensity, f.GasDensityAt(fluid, node.Pressure_Bar_g)) + " " +
                            unitName(o.UnitOfDensity));
    } else if (node.NodeType == Tank || node.NodeType == EndPressure) {
        lines.push_back((node.NodeType == Tank ? "Node Pressure = " : "End Pressure = ") +
                        f.Pres(unt_m_hd_fluid, o.UnitOfPressure,
                               node.getSurfacePlusLiquidPressure_mHd_Fluid(o.Atmosphere_bar_a, density), density) +
                        pressureUnit);
    }
    return JoinWithCarriageReturns(lines);
}

std::string TNetwork::PopulateStringPipeResultsInfo(int ThePipeId, bool ResultsMode)
{
    if (IsPipeClosed(ThePipeId))
        return " Pipe " + std::to_string(ThePipeId) + " is closed.";

    const TResultFormats f(*this);
    const TConfigOptions &o = ConfigOptions;
    TPipe &pipe = GetPipe(ThePipeId);
    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double density = fluid.density_kgs_m3;
    const double flow = pipe.FlowUncompressed_m3s;
    const double massFlow = flow * density;
    const TUnit loss = o.UnitOfPressureLoss;
    const std::string lossPlain = " " + unitPlainName(loss);
    int fromNode = -1, toNode = -1;
    GetFromAndToNodeIds(ThePipeId, fromNode, toNode);
    const TNode &start = GetNode(fromNode);
    const TNode &end = GetNode(toNode);

    std::vector<std::string> lines;
    if (ResultsMode) {
        if (fluid.FluidIsGas && massFlow > 0) {
            double entryVelocity_ms = 0, exitVelocity_ms = 0, exitFlow_m3s = 0;
            GetGasFlowEntryAndExitVelocity_ms(ThePipeId, entryVelocity_ms, exitVelocity_ms, exitFlow_m3s);
            lines.push_back("Mass Flow = " + f.Mass(massFlow, density) + " " + unitName(o.UnitOfMassFlow));
            lines.push_back("Gas Flow = " + f.Gas(massFlow, fluid) + " " + unitName(o.UnitOfGasFlow) + " (" +
                            gasStandardConditionName(o.GasFlowTemperaturePressureModel) + ") ");
            lines.push_back("Entry Velocity = " + f.Conv(unt_m_Sec, o.UnitOfVelocity, entryVelocity_ms) + " " +
                            unitName(o.UnitOfVelocity));
            lines.push_back("Exit Velocity = " + f.Conv(unt_m_Sec, o.UnitOfVelocity, exitVelocity_ms) + " " +
                            unitName(o.UnitOfVelocity));
            lines.push_back("Exit Flow  = " + f.Conv(unt_m3_sec, o.UnitOfFlow, 4, exitFlow_m3s) + " " +
                            unitName(o.UnitOfFlow) + " (Compressed Volume)");
        } else if (fluid.FluidIsGas) {
            lines.push_back("Mass Flow = 0.0 " + unitName(o.UnitOfMassFlow));
        } else {
            lines.push_back("Flow = " + f.Conv(unt_m3_sec, o.UnitOfFlow, flow) + " " + unitName(o.UnitOfFlow));
            lines.push_back("Mass Flow = " + f.Mass(massFlow, density) + " " + unitName(o.UnitOfMassFlow));
            lines.push_back("Velocity = " + f.Conv(unt_m_Sec, o.UnitOfVelocity, pipe.Velocity_ms) + " " +
                            unitName(o.UnitOfVelocity));
        }
    }

    const std::string elevationUnit = " " + unitName(o.UnitOfElevation);
    lines.push_back("Length = " + f.Conv(unt_m, o.UnitOfLength, pipe.Length_m) + " " + unitName(o.UnitOfLength));
    lines.push_back("Inner Diam = " + f.Conv(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m) + " " +
                    unitName(o.UnitOfDiameter));
    lines.push_back("Start Elevation = " + f.Conv(unt_m, o.UnitOfElevation, start.Elevation_m) + elevationUnit);
    lines.push_back("End Elevation = " + f.Conv(unt_m, o.UnitOfElevation, end.Elevation_m) + elevationUnit);

    if (ResultsMode) {
        const std::string pressureUnit = " " + unitName(o.UnitOfPressure);
        lines.push_back("Start Pressure = " +
                        f.Pres(unt_Bar_G, o.UnitOfPressure, start.Pressure_Bar_g, f.NodeFluid(fromNode).density_kgs_m3) +
                        pressureUnit);
        lines.push_back("End Pressure = " +
                        f.Pres(unt_Bar_G, o.UnitOfPressure, end.Pressure_Bar_g, f.NodeFluid(toNode).density_kgs_m3) +
                        pressureUnit);
        lines.push_back("Total dP Loss = " +
                        convertPressureAndFormat(unt_Bar_G, loss, start.Pressure_Bar_g - end.Pressure_Bar_g, 0.0,
                                                 density) +
                        lossPlain);
        const double elevationChange = end.Elevation_m - start.Elevation_m;
        lines.push_back("Elevation Change = " + f.Conv(unt_m, o.UnitOfElevation, elevationChange) + elevationUnit);
        if (elevationChange >= 0)
            lines.push_back("Elevation Change Loss = " +
                            convertPressureAndFormat(unt_Bar_G, loss, pipe.PressureLossDueToElevationChange_Bar, 0.0,
                                                     density) +
                            lossPlain);
        else
            lines.push_back("Elevation Change Gain = " +
                            convertPressureAndFormat(unt_Bar_G, loss, -pipe.PressureLossDueToElevationChange_Bar, 0.0,
                                                     density) +
                            lossPlain);
        lines.push_back("Friction Loss = " + f.Pres(unt_m_hd_fluid, loss, pipe.PipeFrictionLoss_mHd_Fluid, density) +
                        lossPlain);
    }

    if (pipe.FittingsInUse()) {
        if (ResultsMode) {
            lines.push_back("Entry Fitting Loss = " +
                            f.Pres(unt_m_hd_fluid, loss, pipe.EntryFittingsLoss_mHd_Fluid, density) + lossPlain);
            lines.push_back("Exit Fitting Loss = " +
                            f.Pres(unt_m_hd_fluid, loss, pipe.ExitFittingsLoss_mHd_Fluid, density) + lossPlain);
        } else {
            lines.push_back("Entry Fittings K Value = " + formatFixed(4, pipe.FittingSet.CalculateEntryFittingsKValue()));
            lines.push_back("Exit Fittings K Value = " + formatFixed(4, pipe.FittingSet.CalculateExitFittingsKValue()));
        }
    } else {
        lines.push_back(ResultsMode ? "Fitting Loss = none" : "Fittings = none");
    }

    if (pipe.ComponentPressureCount == 1 && pipe.ComponentPressureUseInCalc) {
        const TComponentPressure &component = pipe.ComponentPressure;
        if (ResultsMode) {
            lines.push_back("Comp Loss = " + f.Head(loss, -1, pipe.ComponentPressureLoss_mHd_Fluid, density) +
                            lossPlain);
        } else {
            switch (component.PressureType) {
            case ComponentPressureFixed:
                lines.push_back("Comp Loss = " +
                                f.Head(loss, -1, component.calcLoss_mHd_Fluid(flow, density, pipe.InnerDiameter_m),
                                       density) +
                                lossPlain);
                break;
            case ComponentPressureCurve: lines.push_back("Component with curve. Click for details."); break;
            case ComponentPressureCv: lines.push_back("Component with Cv = " + formatFixed(2, component.Cv)); break;
            case ComponentPressureKv: lines.push_back("Component with Kv = " + formatFixed(2, component.Kv)); break;
            case ComponentPressureSprinklerKimperial:
            case ComponentPressureSprinklerKmetric: break;
            }
        }
    }

    if (pipe.FlowControlCount == 1 && pipe.FlowControlUseInCalc) {
        TFlowControl &control = pipe.FlowControl;
        if (ResultsMode)
            lines.push_back("Control Loss = " + f.Head(loss, 3, pipe.FlowControlLoss_mHd_Fluid, density) + lossPlain);
        const TUnit surface = o.UnitOfSurfacePressure;
        switch (control.ControlType) {
        case PRV:
        case BPV:
            lines.push_back((control.ControlType == PRV ? "PRV @ " : "BPV @ ") +
                            convertUnitToString(unt_Bar_G, surface, unitDecimals(surface),
                                                control.RegulatedPressure_Bar_g) +
                            " " + unitName(surface));
            break;
        case FCV: {
            control.SetEquivalentFlowAndMassFlowRate(fluid, o.Atmosphere_bar_a, o.GasFlowTemperaturePressureModel);
            TUnit from = unt_m3_sec, to = o.UnitOfFlow;
            double setting = control.FlowControl_m3s;
            if (control.FlowControlFlowType == MassFlow) {
                from = unt_kg_sec;
                to = o.UnitOfMassFlow;
                setting = control.FlowControl_kgs;
            } else if (control.FlowControlFlowType == GasFlow) {
                from = unt_SCMH;
                to = o.UnitOfGasFlow;
                setting = control.FlowControl_SCMH;
            }
            lines.push_back("FCV @ " + formatFixed(unitDecimals(to), f.Flow(from, to, setting, fluid)) + " " +
                            unitName(to));
            break;
        }
        }
    }

    if (pipe.PumpCount > 0 && pipe.PumpUseInCalc) {
        const TPump &pump = pipe.Pump;
        if (ResultsMode) {
            const std::string pressureUnit = " " + unitName(o.UnitOfPressure);
            const double npsha = GetPumpNPSHa_mFluid(ThePipeId);
            lines.push_back("Pump Suction = " +
                            f.Pres(unt_m_hd_fluid, o.UnitOfPressure, GetPumpSuctionPressure_mFluid(ThePipeId),
                                   density) +
                            pressureUnit);
            lines.push_back("Pump Discharge = " +
                            f.Pres(unt_m_hd_fluid, o.UnitOfPressure, GetPumpDischargePressure_mFluid(ThePipeId),
                                   density) +
                            pressureUnit);
            lines.push_back("Pump Head = " + f.Head(loss, 3, pipe.Pump_mHd_Fluid, density) + lossPlain);
            if (f.PumpElevationOutsidePipe(ThePipeId)) {
                lines.push_back("Pump Elevation = " + f.Conv(unt_m, o.UnitOfElevation, pipe.PumpElevation_m) +
                                unitName(o.UnitOfElevation));
                lines.push_back("*** Elevation outside pipe");
            }
            const std::string npshaLine = "Pump NPSHa = " + f.Pres(unt_m_hd_fluid, loss, npsha, density) + lossPlain;
            if (pump.PumpType == PumpFixedSpeed) {
                if (TResultFormats::PumpFlowOutsideCurve(pipe))
                    lines.push_back("***Pump Head Outside Curve");
                lines.push_back(npshaLine);
                lines.push_back("Pump NPSHr = " + f.Pres(unt_m_hd_fluid, loss, pipe.PumpNPSHr_mHd_Fluid, density) +
                                lossPlain);
                const double efficiency = pump.calcPumpEfficiency(flow, density);
                if (efficiency != 0) {
                    const double power_kW = calcPumpPower(flow, pipe.Pump_mHd_Fluid, density) / (efficiency / 100);
                    lines.push_back("Pump Efficiency = " + formatFixed(0, efficiency) + "%");
                    lines.push_back("Pump Power = " + formatFixed(2, convertUnit(unt_KW, o.UnitOfEnergy, power_kW)) +
                                    " " + unitPlainName(o.UnitOfEnergy));
                }
                if (!(pipe.Pump_mHd_Fluid > 0))
                    lines.push_back("*** Pump Head added is zero]");
                if (npsha < pipe.PumpNPSHr_mHd_Fluid)
                    lines.push_back("*** NPSHa Too Low");
            } else {
                lines.push_back(npshaLine);
            }
        } else {
            switch (pump.PumpType) {
            case PumpFixedFlow:
                if (pump.isSetFlowRateUsingMassFlow())
                    lines.push_back("Pump @ fixed flow = " +
                                    f.Conv(unt_kg_sec, o.UnitOfMassFlow, pump.SetFlowRate_kgs) + " " +
                                    unitName(o.UnitOfMassFlow));
                else
                    lines.push_back("Pump @ fixed flow = " + f.Conv(unt_m3_sec, o.UnitOfFlow, pump.SetFlowRate_m3s) +
                                    " " + unitName(o.UnitOfFlow));
                break;
            case PumpFixedHead: {
                const double head_mFluid =
                    pump.SetFixedHead_Stored_mH2O
                        ? convertPressure(unt_m_H2O, unt_m_hd_fluid, pump.SetFixedHead_FluidHead_m, o.Atmosphere_bar_a,
                                          density)
                        : pump.SetFixedHead_FluidHead_m;
                lines.push_back("Pump @ fixed head = " + f.Pres(unt_m_hd_fluid, loss, head_mFluid, density) +
                                lossPlain);
                break;
            }
            case PumpFixedSpeed: lines.push_back("Pump with curve. Click pump for details."); break;
            }
        }
    }
    return JoinWithCarriageReturns(lines);
}

} // namespace tessaran
