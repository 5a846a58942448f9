// TNetwork: the bridge to the equation system. Generation turns the active
// links, joints, demands and stored loops into the equation pattern, the
// known values and the per-pipe data; after an iteration the solved flows are
// written back into the pipes and the node pressures are propagated outwards
// from the fixed-pressure nodes; at the end of a calculation pipes with
// negative flow can be reversed with the user's consent.

#include "network/Network_Class.h"

#include "units/Calculations.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

bool isFixedPressure(TNodeType type) { return type == Tank || type == EndPressure; }

const char *const CouldNotSolveText = "The Network could not be solved.\r\rCheck the following:\r   is there at "
                                      "least one supply point?\r   is there at least one discharge point?\r   are all "
                                      "nodes connected?\r\rSpecific Information: ";

// Where a generation stands, worded only when it fails.
struct TGenerationStage {
    enum TKind { Clearing, Joint, FixedPressurePipes, LoopPipe, PipeData, EquationCount } Kind = Clearing;
    const std::string *NodeName = nullptr;
    int First = 0, Second = 0;

    std::string Text() const
    {
        switch (Kind) {
        case Clearing:
            return "Could not clear existing equation data. Please save your system, \rclose the program, restart the "
                   "program and try again";
        case Joint:
            return "Could not generate flow continuity equations.\r\rProblem occured at " + *NodeName + "\r\r" +
                   "Please check your system is valid at this node.";
        case FixedPressurePipes:
            return "Could not generate flow continuity equations.\r\r" +
                   std::string("Please check your system is valid at the pipes into tanks and end pressures.");
        case LoopPipe:
            return "Could not generate equations for all loops and end to end paths.\r\rProblem occured generating "
                   "loop  " +
                   std::to_string(First) + ", pipe id " + std::to_string(Second) + "\r\r" +
                   "Please check the validity of the system you have drawn.";
        case PipeData:
            return "Could not generate initial flows.\r\rProblem occured at pipe " + std::to_string(First) + "\r\r" +
                   "Please check the validity of the system you have drawn.";
        case EquationCount:
            return "Number of equations generated (" + std::to_string(First) +
                   ") does not match number of unknown flows (" + std::to_string(Second) + ")";
        }
        return {};
    }
};

// convertFlowUnit for a fluid, kept for the last arguments: the demands of
// neighbouring joints are often equal.
class TFlowConversion {
public:
    double Convert(TUnit from, TUnit to, TGasFlowTemperaturePressureModel model, double value, const TFluid &fluid,
                   double atmosphere)
    {
        const std::array<std::uint64_t, 8> key{static_cast<std::uint64_t>(from),
                                               static_cast<std::uint64_t>(to),
                                               static_cast<std::uint64_t>(model),
                                               std::bit_cast<std::uint64_t>(value),
                                               std::bit_cast<std::uint64_t>(fluid.density_kgs_m3),
                                               std::bit_cast<std::uint64_t>(fluid.pressure_bar_g),
                                               std::bit_cast<std::uint64_t>(fluid.degrees_K),
                                               std::bit_cast<std::uint64_t>(atmosphere)};
        if (!set_ || key != key_) {
            result_ = convertFlowUnit(from, to, model, value, fluid.density_kgs_m3, fluid.pressure_bar_g,
                                      fluid.degrees_K, atmosphere);
            key_ = key;
            set_ = true;
        }
        return result_;
    }

private:
    std::array<std::uint64_t, 8> key_{};
    double result_ = 0;
    bool set_ = false;
};

} // namespace

int TNetwork::getQIndexOfPipeId(int PipeId) const
{
    int found = -1;
    for (int k = 1; k <= NodeLinksCount; ++k)
        if (NodeLinks[at(k)].PipeId == PipeId)
            found = k;
    return found;
}

void TNetwork::MatrixEquationsGenerate(TMatrixEquations &TheMatrixEquations, TResultsLog &, bool IncludeLoopEquations)
{
    TMatrixEquations &e = TheMatrixEquations;
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    TGenerationStage stage;
    // Every position of the equation table written, for its pattern.
    std::vector<TMatrixEquations::TElementPosition> written;
    // The column of every pipe id, the last link that holds it, and the
    // first link that holds it (where its end nodes are read).
    std::vector<int> column(at(MaxPipes + 1), -1), firstLink(at(MaxPipes + 1), 0);
    const auto columnOf = [&](int pipeId) {
        return pipeId >= 1 && pipeId <= MaxPipes ? column[at(pipeId)] : -1;
    };
    // The column of a link's pipe; a link without a valid pipe has none.
    const auto linkColumn = [&](int pipeId) {
        const int c = columnOf(pipeId);
        if (c < 1)
            throw ENetworkClass("TNetwork.TheMatrixEquationsGenerate Failed: invalid pipe id " + std::to_string(pipeId));
        return c;
    };
    const auto zoneFluid = [&](int zone) -> const TFluid & {
        if (zone < 1 || zone > MaxFluidZones)
            zone = 1;
        return FluidZones[at(zone)].Fluid;
    };
    try {
        stage.Kind = TGenerationStage::Clearing;
        e.ClearResults(NodeLinksCount, 2 * GetPipeCount());
        // At most a continuity equation per node and one equation per loop
        // or per link.
        e.TrackColumnRecords(GetNodeCount() + std::max(PipeLoopsCount, NodeLinksCount));
        e.Atmosphere_Bar_a = atmosphere;
        e.MethodOfSolution = CurrentMethodOfSolution;
        e.MatrixMethodOfCalculationCompressible = options.MethodOfCalculationCompressible;
        e.MatrixGasModel_Std_Temp_degrees_k = GasModel_Std_Temp_degrees_k;
        e.MatrixGasModel_Std_Pressure_Pa_a = GasModel_Std_Pressure_Pa_a;
        e.MatrixPipelineEfficiencyE = options.PipelineEfficiencyE;
        e.MatrixZCompressibilityModel = options.ZCompressibilityModel;
        e.MatrixZCompressibilityFactor = options.ZCompressibilityFactor;
        // The iteration pumps this network's messages and sees its Stop flag.
        e.UserInterface = UserInterface;
        e.StopCalculating = &StopCalculating;
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const int pipe = NodeLinks[at(k)].PipeId;
            if (pipe >= 1 && pipe <= MaxPipes) {
                column[at(pipe)] = k;
                if (firstLink[at(pipe)] == 0)
                    firstLink[at(pipe)] = k;
            }
        }
        // The end nodes of a pipe as GetFromAndToNodeIds finds them.
        const auto endNodes = [&](int pipeId, int &from, int &to) {
            const int k = pipeId >= 1 && pipeId <= MaxPipes ? firstLink[at(pipeId)] : 0;
            if (k > 0) {
                from = NodeLinks[at(k)].FromNodeId;
                to = NodeLinks[at(k)].ToNodeId;
            } else {
                GetFromAndToNodeIds(pipeId, from, to);
            }
        };

        // Each node's links in table order, so that a joint's row is written
        // as a scan of the whole table would write it.
        std::vector<int> linkStart(at(MaxNodes + 2), 0), linksAt;
        // The first link out of and into each node: a joint's fluid zone is
        // that of the first pipe leaving it, else of the first entering it.
        std::vector<int> firstOut(at(MaxNodes + 1), 0), firstIn(at(MaxNodes + 1), 0);
        const auto touches = [](int node) { return node >= 1 && node <= MaxNodes; };
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const TNodeLink &link = NodeLinks[at(k)];
            if (touches(link.FromNodeId)) {
                ++linkStart[at(link.FromNodeId + 1)];
                if (firstOut[at(link.FromNodeId)] == 0)
                    firstOut[at(link.FromNodeId)] = k;
            }
            if (touches(link.ToNodeId)) {
                if (link.ToNodeId != link.FromNodeId)
                    ++linkStart[at(link.ToNodeId + 1)];
                if (firstIn[at(link.ToNodeId)] == 0)
                    firstIn[at(link.ToNodeId)] = k;
            }
        }
        const auto jointZone = [&](int id) {
            if (!touches(id))
                return GetNodeFluidZoneIndex(id);
            const int k = firstOut[at(id)] > 0 ? firstOut[at(id)] : firstIn[at(id)];
            return k > 0 ? GetPipe(NodeLinks[at(k)].PipeId).FluidZoneIndex : 1;
        };
        for (int i = 1; i <= MaxNodes + 1; ++i)
            linkStart[at(i)] += linkStart[at(i - 1)];
        linksAt.resize(at(linkStart[at(MaxNodes + 1)]));
        {
            std::vector<int> next(linkStart.begin(), linkStart.end() - 1);
            for (int k = 1; k <= NodeLinksCount; ++k) {
                const TNodeLink &link = NodeLinks[at(k)];
                if (touches(link.FromNodeId))
                    linksAt[at(next[at(link.FromNodeId)]++)] = k;
                if (touches(link.ToNodeId) && link.ToNodeId != link.FromNodeId)
                    linksAt[at(next[at(link.ToNodeId)]++)] = k;
            }
        }

        // Continuity at every joint: inflows - outflows = discharge - supply.
        // Most joints supply nothing, or as much as the joint before.
        TFlowConversion supplyConversion, dischargeConversion;
        int row = 0;
        for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
            TNode &node = GetNode(id);
            if (node.NodeType != Joint)
                continue;
            stage.Kind = TGenerationStage::Joint;
            stage.NodeName = &node.Name;
            ++row;
            bool any = false;
            TMatrixElementEnum *entries = e.QMatrix[row];
            const auto enter = [&](int nodeId) {
                if (!touches(nodeId))
                    return;
                for (int e = linkStart[at(nodeId)]; e < linkStart[at(nodeId + 1)]; ++e) {
                    const TNodeLink &link = NodeLinks[at(linksAt[at(e)])];
                    if (link.ToNodeId == nodeId) {
                        const int c = linkColumn(link.PipeId);
                        entries[c] = one;
                        written.push_back({row, c});
                        any = true;
                    }
                    if (link.FromNodeId == nodeId) {
                        const int c = linkColumn(link.PipeId);
                        entries[c] = minus_one;
                        written.push_back({row, c});
                        any = true;
                    }
                }
            };
            enter(id);
            // A pressure-reducing valve's control node balances the flows at
            // the valve's outlet, a back-pressure valve's those at its inlet.
            for (int f = 1; f <= NodeLinksFlowControlCount; ++f) {
                const TFlowControlLink &valve = NodeLinksFlowControl[at(f)];
                if (valve.ControlPipeId <= 0 || valve.ControlNodeId != id)
                    continue;
                if (valve.ControlType == PRV)
                    enter(valve.ToNodeId);
                else if (valve.ControlType == BPV)
                    enter(valve.FromNodeId);
            }
            if (!any) {
                --row;
                continue;
            }
            const TFluid &fluid = zoneFluid(jointZone(id));
            const double rho = fluid.density_kgs_m3;
            const auto flow = [&](TFlowConversion &conversion, TUnit from, TUnit to, double value) {
                return conversion.Convert(from, to, options.GasFlowTemperaturePressureModel, value, fluid, atmosphere);
            };
            switch (node.JointDemandUseFlowType) {
            case MassFlow:
                node.JointSupply_m3s = massFlowToVolumeFlow(node.JointSupply_kgs, rho);
                node.JointDischarge_m3s = massFlowToVolumeFlow(node.JointDischarge_kgs, rho);
                node.JointSupply_SCMH = flow(supplyConversion, unt_kg_sec, unt_SCMH, node.JointSupply_kgs);
                node.JointDischarge_SCMH = flow(dischargeConversion, unt_kg_sec, unt_SCMH, node.JointDischarge_kgs);
                break;
            case GasFlow:
                node.JointSupply_kgs = flow(supplyConversion, unt_SCMH, unt_kg_sec, node.JointSupply_SCMH);
                node.JointDischarge_kgs = flow(dischargeConversion, unt_SCMH, unt_kg_sec, node.JointDischarge_SCMH);
                node.JointSupply_m3s = massFlowToVolumeFlow(node.JointSupply_kgs, rho);
                node.JointDischarge_m3s = massFlowToVolumeFlow(node.JointDischarge_kgs, rho);
                break;
            default:
                node.JointSupply_kgs = volumeFlowToMassFlow(node.JointSupply_m3s, rho);
                node.JointDischarge_kgs = volumeFlowToMassFlow(node.JointDischarge_m3s, rho);
                node.JointSupply_SCMH = flow(supplyConversion, unt_kg_sec, unt_SCMH, node.JointSupply_kgs);
                node.JointDischarge_SCMH = flow(dischargeConversion, unt_kg_sec, unt_SCMH, node.JointDischarge_kgs);
                break;
            }
            e.QKnowns[row] = volumeFlowToMassFlow(node.JointDischarge_m3s - node.JointSupply_m3s, rho);
        }

        if (!IncludeLoopEquations) {
            // The flow-continuity form: a pipe into a fixed-pressure node keeps its guess.
            stage.Kind = TGenerationStage::FixedPressurePipes;
            for (int k = 1; k <= NodeLinksCount; ++k) {
                const TNodeLink &link = NodeLinks[at(k)];
                if (!isFixedPressure(GetNode(link.ToNodeId).NodeType))
                    continue;
                ++row;
                e.QMatrix[row][k] = one;
                written.push_back({row, k});
                const TPipe &pipe = GetPipe(link.PipeId);
                e.QKnowns[row] = volumeFlowToMassFlow(pipe.FlowGuessUncompressed_m3s,
                                                      GetPipeFluid(link.PipeId).density_kgs_m3);
            }
        } else {
            // One energy equation per loop: the sum of the pipe laws along the
            // loop equals the hydraulic grade difference of its end nodes.
            // A node lies on several loops: its grade is worked out once for
            // each density it is asked for in turn.
            struct TGrade {
                double Value = 0;
                std::uint64_t Density = 0;
                bool Set = false;
            };
            std::vector<TGrade> grades(at(MaxNodes + 1));
            const auto nodeGrade = [&](int node, double rho) {
                if (node < 1 || node > MaxNodes)
                    return GetNode(node).getHGL_bar_g(atmosphere, rho);
                TGrade &grade = grades[at(node)];
                const auto density = std::bit_cast<std::uint64_t>(rho);
                if (!grade.Set || grade.Density != density)
                    grade = {GetNode(node).getHGL_bar_g(atmosphere, rho), density, true};
                return grade.Value;
            };
            for (int loop = 1; loop <= PipeLoopsCount; ++loop) {
                ++row;
                e.QKnowns[row] = 0;
                const auto &pipes = PipeLoops[at(loop)];
                int from = 0, to = 0;
                endNodes(pipes[1], from, to);
                const auto fixed = [&](int node) {
                    return node >= 1 && node <= MaxNodes && isFixedPressure(GetNode(node).NodeType);
                };
                int w = fixed(to) && !fixed(from) ? to : from;
                for (int i = 1; i <= PipeLoopsPipeCount[at(loop)]; ++i) {
                    const int pipeId = pipes[at(i)];
                    stage.Kind = TGenerationStage::LoopPipe;
                    stage.First = loop;
                    stage.Second = pipeId;
                    endNodes(pipeId, from, to);
                    const int c = columnOf(pipeId);
                    if (c < 1)
                        throw ENetworkClass("TNetwork.TheMatrixEquationsGenerate Failed: Loop pipe " +
                                            std::to_string(pipeId) + " is not an active link");
                    const double rho = GetPipeFluid(pipeId).density_kgs_m3;
                    const auto hgl = [&](int node) { return nodeGrade(node, rho); };
                    if (from == w) {
                        e.QMatrix[row][c] = HeadKqn;
                        written.push_back({row, c});
                        e.QKnowns[row] += hgl(from) - hgl(to);
                        w = to;
                    } else if (to == w) {
                        e.QMatrix[row][c] = minus_HeadKqn;
                        written.push_back({row, c});
                        e.QKnowns[row] -= hgl(from) - hgl(to);
                        w = from;
                    } else {
                        throw ENetworkClass("TNetwork.TheMatrixEquationsGenerate Failed: Loop:  FromNodeId=" +
                                            std::to_string(from) + " ToNodeId=" + std::to_string(to) +
                                            " LastNodeId=" + std::to_string(w) +
                                            " - the ordering of the loop may be wrong?");
                    }
                }
            }
        }

        // Per-pipe data and start flows.
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const TNodeLink &link = NodeLinks[at(k)];
            stage.Kind = TGenerationStage::PipeData;
            stage.First = link.PipeId;
            TPipe &pipe = GetPipe(link.PipeId);
            const TFluid &fluid = GetPipeFluid(link.PipeId);
            const TNode &fromNode = GetNode(link.FromNodeId);
            const TNode &toNode = GetNode(link.ToNodeId);
            pipe.CalcPipeInfo(fluid, options.UnitOfLength, CurrentMethodOfSolution, options.MethodOfCalculationCompressible,
                              GasModel_Std_Temp_degrees_k, GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE,
                              options.ZCompressibilityModel, options.ZCompressibilityFactor, fromNode.Elevation_m,
                              toNode.Elevation_m, fromNode.Pressure_Bar_g, toNode.Pressure_Bar_g, atmosphere);
            const int c = linkColumn(link.PipeId);
            const double rho = fluid.density_kgs_m3;
            e.QkgsVariables[c] = volumeFlowToMassFlow(pipe.FlowUncompressed_m3s, rho);
            e.Qm3sVariables[c] = pipe.FlowUncompressed_m3s;
            e.QFluidCentipoise[c] = fluid.centipoise;
            e.QFluidDensity_kgs_m3[c] = rho;
            e.QFluidPressure_bar_g[c] = fluid.pressure_bar_g;
            e.QFluidTemperature_degrees_k[c] = fluid.degrees_K;
            e.PipeDiameters_m[c] = pipe.InnerDiameter_m;
            e.PipeRoughnesses_m[c] = pipe.InnerRoughness_m;
            e.PipeLengths_m[c] = pipe.Length_m;
            e.PipeStartPressure_bar_g[c] = fromNode.Pressure_Bar_g;
            e.NoteGeneratedPipeLaw(c, pipe.Length_m, static_cast<double>(e.QkgsVariables[c]), pipe.InnerDiameter_m,
                                   pipe.InnerRoughness_m, fluid.centipoise, rho);
            e.Qm3sFittingLossCoefficents[c] = 0;
            e.EntryFittingLossKValues[c] = 0;
            e.ExitFittingLossKValues[c] = 0;
            if (pipe.FittingSet.FittingCount >= 1 && pipe.FittingsUseInCalc) {
                e.Qm3sFittingLossCoefficents[c] = calcFittingFlowResistance(pipe.CalcTotalKFittings(), pipe.InnerDiameter_m);
                e.EntryFittingLossKValues[c] = pipe.FittingSet.CalculateEntryFittingsKValue();
                e.ExitFittingLossKValues[c] = pipe.FittingSet.CalculateExitFittingsKValue();
            }
            // Columns without a component or pump keep the cleared records.
            if (pipe.ComponentPressureCount > 0 && pipe.ComponentPressureUseInCalc)
                e.SetColumnComponentPressure(c, pipe.ComponentPressure);
            if (pipe.PumpCount > 0 && pipe.PumpUseInCalc)
                e.SetColumnPump(c, pipe.Pump);
        }

        stage.Kind = TGenerationStage::EquationCount;
        stage.First = row;
        stage.Second = NodeLinksCount;
        if (row < NodeLinksCount && IncludeLoopEquations)
            throw ENetworkClass("TNetwork.TheMatrixEquationsGenerate Failed: " + stage.Text());
        if (row < NodeLinksCount) {
            // Every flow stays a column, so that the flows the equations leave
            // free keep their guesses and the others balance the joints around them.
            e.DimensionX = NodeLinksCount;
            e.DimensionY = row;
        } else {
            e.DimensionX = NodeLinksCount;
            e.DimensionY = NodeLinksCount;
        }
        e.DimensionXWithLinearTransformationEquations = e.DimensionX;
        e.DimensionYWithLinearTransformationEquations = e.DimensionY;
        e.AdoptPattern(written);
    } catch (...) {
        UserInterface->ShowMessage(TMessageKind::Information, CouldNotSolveText + stage.Text());
        throw;
    }
}

void TNetwork::MatrixEquationsAddEquivalentLengthForFittings(TMatrixEquations &TheMatrixEquations, TResultsLog &)
{
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const double k_value = GetPipe(NodeLinks[at(k)].PipeId).FittingSet.CalculateTotal_KValue();
        TheMatrixEquations.PipeLengths_m[at(k)] += k_value * TheMatrixEquations.PipeDiameters_m[at(k)] / 0.02;
    }
}

void TNetwork::MatrixEquationsAddEquivalentLengthForComponents(TMatrixEquations &TheMatrixEquations, TResultsLog &)
{
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const TComponentPressure &component = GetPipe(NodeLinks[at(k)].PipeId).ComponentPressure;
        const double d = TheMatrixEquations.PipeDiameters_m[at(k)];
        double k_value = 0;
        switch (component.PressureType) {
        case ComponentPressureCv:
            k_value = calcKFromKv(0.86497767 * component.Cv, d);
            break;
        case ComponentPressureKv:
            k_value = calcKFromKv(component.Kv, d);
            break;
        case ComponentPressureSprinklerKimperial:
            k_value = calcKFromCv(component.SprinklerKimperial, d);
            break;
        case ComponentPressureSprinklerKmetric:
            k_value = calcKFromSprinklerK(component.SprinklerKmetric, d);
            break;
        default:
            continue;
        }
        TheMatrixEquations.PipeLengths_m[at(k)] += k_value * d / 0.02;
    }
}

void TNetwork::ReCalcNetworkFromMatrixQVariables(bool &, TResultsLog &)
{
    TMatrixEquations &e = MatrixEquations;
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    e.CalculateQm3sVariables();
    // Each link's nodes and pipe, looked up once for the passes below.
    struct TPropagationLink {
        TNode *From;
        TNode *To;
        const TPipe *Pipe;
    };
    std::vector<TPropagationLink> links;
    links.reserve(at(std::max(NodeLinksCount, 0)));
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const TNodeLink &link = NodeLinks[at(k)];
        TPipe &pipe = GetPipe(link.PipeId);
        const TFluid &fluid = GetPipeFluid(link.PipeId);
        const double flow = massFlowToVolumeFlow(static_cast<double>(e.QkgsVariables[at(k)]), fluid.density_kgs_m3);
        pipe.FlowUncompressed_m3s = flow;
        pipe.FlowGuessUncompressed_m3s = flow;
        TNode &fromNode = GetNode(link.FromNodeId);
        TNode &toNode = GetNode(link.ToNodeId);
        pipe.CalcPipeInfo(fluid, options.UnitOfLength, CurrentMethodOfSolution, options.MethodOfCalculationCompressible,
                          GasModel_Std_Temp_degrees_k, GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE,
                          options.ZCompressibilityModel, options.ZCompressibilityFactor, fromNode.Elevation_m,
                          toNode.Elevation_m, fromNode.Pressure_Bar_g, toNode.Pressure_Bar_g, atmosphere);
        links.push_back({&fromNode, &toNode, &pipe});
    }

    int set = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.IsPressureSet = false;
        if (isFixedPressure(node.NodeType)) {
            const int zone = GetNodeFluidZoneIndex(id);
            const double rho = FluidZones[at(zone >= 1 && zone <= MaxFluidZones ? zone : 1)].Fluid.density_kgs_m3;
            node.Pressure_Bar_g = convertPressure(unt_m_hd_fluid, unt_Bar_G, node.LiquidLevel_m, atmosphere, rho) +
                                  node.Surface_Pressure_Bar_g;
            node.IsPressureSet = true;
            ++set;
        } else {
            node.Pressure_Bar_g = 0;
        }
    }
    const int nodes = GetNodeCount();
    for (int passes = 0; set < nodes && passes < nodes; ++passes) {
        // A pass that sets no node leaves the next ones nothing to set either.
        const int setBefore = set;
        for (const TPropagationLink &link : links) {
            TNode &a = *link.From;
            TNode &b = *link.To;
            // A pipe held by two links has the loss its last write-back gave it.
            const double loss = link.Pipe->TotalPressureLossWithElevationChange_Bar;
            if (a.IsPressureSet && !b.IsPressureSet && b.NodeType == Joint) {
                b.Pressure_Bar_g = a.Pressure_Bar_g - loss;
                b.IsPressureSet = true;
                ++set;
            } else if (b.IsPressureSet && !a.IsPressureSet && a.NodeType == Joint) {
                a.Pressure_Bar_g = b.Pressure_Bar_g + loss;
                a.IsPressureSet = true;
                ++set;
            }
        }
        if (set == setBefore)
            break;
    }
}

void TNetwork::ReCalcCompressibleFlowNetworkFromMatrixQVariables(bool &solved, TResultsLog &Log)
{
    ReCalcNetworkFromMatrixQVariables(solved, Log);
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.Pressure_Bar_g + atmosphere >= 0)
            continue;
        solved = false;
        const int zone = GetNodeFluidZoneIndex(id);
        const double rho = FluidZones[at(zone >= 1 && zone <= MaxFluidZones ? zone : 1)].Fluid.density_kgs_m3;
        const TUnit unit = ConfigOptions.UnitOfPressure;
        Log.Add("*** PROBLEM WITH SOLUTION: ");
        Log.Add("Pressure at Node " + std::to_string(id) + " is " +
                convertPressureAndFormat(unt_Bar_G, unit, node.Pressure_Bar_g, atmosphere, rho) + " " + unitName(unit) +
                " (which is not physically possible)");
        return;
    }
}

namespace {

const char *const ReversedHeader = "The following pipe directions have been reversed to give a solution with positive "
                                   "flows:";
const char *const ReverseQuestion = "Do you wish to reverse the pipes and accept this solution?";

std::string willChangeLine(int pipeId)
{
    return "\rPipe " + std::to_string(pipeId) + " direction will be changed to show positive flow.";
}

void finishQuestion(std::string &text, int n)
{
    if (n > 10)
        text += "\r...\r*** See Results Log for a full list of pipe direction changes.\r";
    text += std::string("\r") + ReverseQuestion + "\r";
}

void logDeclined(bool &solved, TResultsLog &Log)
{
    solved = false;
    Log.Add("Final solution with pipe direction reversed where negative flow exists was not accepted.");
    Log.Add("System not solved.");
}

} // namespace

bool TNetwork::ReverseAnyNegativeFlowPipesForFinalSolution(bool &solved, TResultsLog &Log)
{
    TMatrixEquations &e = MatrixEquations;
    const auto negative = [&](int c) { return e.QkgsVariables[at(c)] < -e.MinFlowTermsAccuracy_kgs; };
    std::string text;
    if (e.IsAnyQVariableNegative()) {
        Log.Add(" ");
        LogAddBreakLine(Log);
        Log.Add("NEGATIVE FLOW: Solution found with flow showing as negative in some pipes.");
        text = "Solution found with flow showing as negative in some pipes\r\rThe following pipe directions will be "
               "automatically reversed to give a solution with positive flows:\r";
    }
    const int columns = std::min(e.DimensionX, NodeLinksCount);
    int n = 0;
    bool reversed = false;
    for (int c = 1; c <= columns; ++c) {
        if (!negative(c))
            continue;
        ++n;
        const int pipe = NodeLinks[at(c)].PipeId;
        if (n <= 10 && !IsPipePRVNewControlPipe(pipe) && !IsPipeBPVNewControlPipe(pipe))
            text += willChangeLine(pipe);
    }
    if (n > 0) {
        finishQuestion(text, n);
        if (UserInterface->AskYesNo(TMessageKind::Confirmation, text)) {
            Log.Add(ReversedHeader);
            for (int c = 1; c <= columns; ++c) {
                if (!negative(c))
                    continue;
                e.QkgsVariables[at(c)] = -e.QkgsVariables[at(c)];
                TNodeLink &link = NodeLinks[at(c)];
                std::swap(link.FromNodeId, link.ToNodeId);
                if (!IsPipePRVOrBPVNewControlPipe(link.PipeId))
                    Log.Add("  Pipe " + std::to_string(link.PipeId) + " direction changed to show positive flow.");
            }
            Log.Add(" ");
            reversed = true;
        } else {
            logDeclined(solved, Log);
        }
    }
    UserInterface->ProcessMessages();
    PipeLoopsReOrderRealLoopsForPositiveStartDirection();
    return reversed;
}

void TNetwork::ReverseAnyNegativeFlowPipesForFinalSolutionNodeBalance(bool &solved, TResultsLog &Log)
{
    std::string text;
    if (IsNegativeFlowInAnyPipe()) {
        Log.Add(" ");
        Log.Add("Negative Flow: Solution found with negative in some pipes.");
        text = "Solution found with negative flow in some pipes\r\rThe following pipe directions will be "
               "automatically reversed to give a solution with positive flows:\r";
    }
    int n = 0;
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const int pipe = NodeLinks[at(k)].PipeId;
        if (IsPipePRVOrBPVNewControlPipe(pipe) || !(GetPipe(pipe).FlowUncompressed_m3s < 0))
            continue;
        ++n;
        if (n <= 10)
            text += willChangeLine(pipe);
    }
    if (n > 0) {
        finishQuestion(text, n);
        if (UserInterface->AskYesNo(TMessageKind::Confirmation, text)) {
            Log.Add(ReversedHeader);
            for (int k = 1; k <= NodeLinksCount; ++k) {
                TNodeLink &link = NodeLinks[at(k)];
                TPipe &pipe = GetPipe(link.PipeId);
                if (!(pipe.FlowUncompressed_m3s < 0))
                    continue;
                pipe.FlowUncompressed_m3s = -pipe.FlowUncompressed_m3s;
                std::swap(link.FromNodeId, link.ToNodeId);
                if (!IsPipePRVOrBPVNewControlPipe(link.PipeId))
                    Log.Add("  Pipe " + std::to_string(link.PipeId) + " direction changed to show positive flow.");
            }
            Log.Add(" ");
        } else {
            logDeclined(solved, Log);
        }
    }
    UserInterface->ProcessMessages();
}

} // namespace tessaran
