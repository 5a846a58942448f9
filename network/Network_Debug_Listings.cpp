// TNetwork: plain-text listings of the network's tables and of its equation
// system, for looking into a calculation by hand; nothing in the program
// calls them.

#include "network/Network_Class.h"

#include <cstdio>
#include <string>

namespace tessaran {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// A general float text: as many digits as the value needs, at most 15.
std::string general(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

const char *nodeTypeText(TNodeType type)
{
    switch (type) {
    case Joint:
        return "Join Point";
    case Tank:
        return "Tank";
    case EndPressure:
        return "Demand Pressure";
    default:
        return "NotSet";
    }
}

std::string linkText(const TNodeLink &link)
{
    return "PipeId=" + std::to_string(link.PipeId) + " FromNodeId=" + std::to_string(link.FromNodeId) +
           " ToNodeId=" + std::to_string(link.ToNodeId);
}

} // namespace

void TNetwork::PrintData(TResultsLog &TheMemo) const
{
    TheMemo.Add("----Nodes");
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        TheMemo.Add("Node " + std::to_string(id) + " " + node.Name);
        TheMemo.Add(std::string("NodeType=") + nodeTypeText(node.NodeType) + ", Elevation_m=" +
                    general(node.Elevation_m) + ", Surface_Pressure_Bar_g=" + general(node.Surface_Pressure_Bar_g) +
                    ", LiquidLevel_m=" + general(node.LiquidLevel_m) + ", JointSupply_m3s=" +
                    general(node.JointSupply_m3s) + ", JointDischarge_m3s=" + general(node.JointDischarge_m3s));
        TheMemo.Add("Pressure_Bar_g=" + general(node.Pressure_Bar_g));
        TheMemo.Add(node.IsPressureSet ? "IsPressureSet=True" : "IsPressureSet=False");
    }
    TheMemo.Add("----Pipes");
    for (int id = GetNextPipeId(0); id > 0; id = GetNextPipeId(id)) {
        const TPipe &pipe = GetPipe(id);
        TheMemo.Add("Pipe " + std::to_string(id) + " " + pipe.Name);
        TheMemo.Add("InnerDiameter_m=" + general(pipe.InnerDiameter_m));
        TheMemo.Add("InnerRoughness_m=" + general(pipe.InnerRoughness_m));
        TheMemo.Add("Length_m=" + general(pipe.Length_m));
        TheMemo.Add("FlowGuessUncompressed_m3s=" + general(pipe.FlowGuessUncompressed_m3s));
        TheMemo.Add("FlowUncompressed_m3s=" + general(pipe.FlowUncompressed_m3s) + "   -- Calculated values below");
        TheMemo.Add("Velocity_ms=" + general(pipe.Velocity_ms));
        TheMemo.Add("ReynoldsNumber=" + general(pipe.ReynoldsNumber));
        TheMemo.Add("FrictionFactor=" + general(pipe.FrictionFactor) + "\tFlowType=" + pipe.FlowType);
        TheMemo.Add("PipeFrictionLoss_mHd_Fluid=" + general(pipe.PipeFrictionLoss_mHd_Fluid));
        TheMemo.Add("FittingsLoss_mHd_Fluid=" + general(pipe.FittingsLoss_mHd_Fluid));
        TheMemo.Add("Pump_mHd=" + general(pipe.Pump_mHd_Fluid));
    }
}

void TNetwork::PrintNodeLinks(TResultsLog &TheMemo) const
{
    TheMemo.Add("----NodeLinks (" + std::to_string(NodeLinksCount) + ")");
    for (int k = 1; k <= NodeLinksCount; ++k)
        TheMemo.Add("NodeLinks[" + std::to_string(k) + "] " + linkText(NodeLinks[at(k)]));
    TheMemo.Add("----NodeLinksClosedPipe (" + std::to_string(NodeLinksClosedPipeCount) + ")");
    for (int k = 1; k <= NodeLinksClosedPipeCount; ++k)
        TheMemo.Add("NodeLinksClosedPipe[" + std::to_string(k) + "] " + linkText(NodeLinksClosedPipe[at(k)]));
}

void TNetwork::PrintNodeLinksNames(TResultsLog &TheMemo) const
{
    TheMemo.Add("----NodeLinks by name (" + std::to_string(NodeLinksCount) + ")");
    const auto nodeName = [&](int id) { return id >= 1 && id <= MaxNodes ? GetNode(id).Name : std::string("?"); };
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const TNodeLink &link = NodeLinks[at(k)];
        TheMemo.Add("NodeLinks[" + std::to_string(k) + "] Pipe " + GetPipe(link.PipeId).Name + " from " +
                    nodeName(link.FromNodeId) + " to " + nodeName(link.ToNodeId));
    }
}

void TNetwork::PrintPipeLoops(TResultsLog &TheMemo) const
{
    TheMemo.Add("----PipeLoops (" + std::to_string(PipeLoopsCount) + ": " + std::to_string(PipeRealLoopCount) +
                " real, " + std::to_string(PipePseudoLoopCount) + " pseudo)");
    for (int i = 1; i <= PipeLoopsCount; ++i) {
        std::string line = "PipeLoops[" + std::to_string(i) + "]=";
        const TPipeLoopEntries &loop = PipeLoops[at(i)];
        for (int k = 1; k <= PipeLoopsPipeCount[at(i)]; ++k)
            line += (k > 1 ? " " : "") + std::to_string(loop[at(k)]);
        TheMemo.Add(line);
    }
    PipeLoopsCheckAllPipesPresent(TheMemo);
}

void TNetwork::PrintInitialFlowGuesses(TResultsLog &TheMemo) const
{
    TheMemo.Add("----Initial flow guesses");
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const TNodeLink &link = NodeLinks[at(k)];
        TheMemo.Add("Pipe " + std::to_string(link.PipeId) + " FlowGuessUncompressed_m3s=" +
                    general(GetPipe(link.PipeId).FlowGuessUncompressed_m3s));
    }
    // At each joint: the guessed flows in less those out, against its demand.
    TheMemo.Add("----Flow continuity at each joint (m3/s)");
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.NodeType != Joint)
            continue;
        double in = 0, out = 0;
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const TNodeLink &link = NodeLinks[at(k)];
            const double flow = GetPipe(link.PipeId).FlowGuessUncompressed_m3s;
            if (link.ToNodeId == id)
                in += flow;
            if (link.FromNodeId == id)
                out += flow;
        }
        TheMemo.Add("Node " + std::to_string(id) + " In=" + general(in) + " Out=" + general(out) +
                    " Demand=" + general(node.JointDischarge_m3s - node.JointSupply_m3s) +
                    " Imbalance=" + general(in - out - (node.JointDischarge_m3s - node.JointSupply_m3s)));
    }
}

void TNetwork::MsgPipeData(int ThePipeId)
{
    const TPipe &pipe = GetPipe(ThePipeId);
    int from = 0, to = 0;
    GetFromAndToNodeIds(ThePipeId, from, to);
    std::string text = "Pipe " + std::to_string(ThePipeId) + " " + pipe.Name + "\r";
    text += "FromNodeId=" + std::to_string(from) + " ToNodeId=" + std::to_string(to) + "\r";
    text += "Length_m=" + general(pipe.Length_m) + "\r";
    text += "InnerDiameter_m=" + general(pipe.InnerDiameter_m) + "\r";
    text += "InnerRoughness_m=" + general(pipe.InnerRoughness_m) + "\r";
    text += "FlowUncompressed_m3s=" + general(pipe.FlowUncompressed_m3s) + "\r";
    text += "Velocity_ms=" + general(pipe.Velocity_ms) + "\r";
    text += "TotalPressureLossWithElevationChange_Bar=" + general(pipe.TotalPressureLossWithElevationChange_Bar);
    UserInterface->ShowMessage(TMessageKind::Information, text);
}

void TNetwork::PrintQMatrix(TResultsLog &TheMemo) const { MatrixEquations.PrintQMatrix(TheMemo); }
void TNetwork::PrintQKnowns(TResultsLog &TheMemo) const { MatrixEquations.PrintQKnowns(TheMemo); }
void TNetwork::PrintFResults(TResultsLog &TheMemo) const { MatrixEquations.PrintFResults(TheMemo); }
void TNetwork::PrintDMatrix(TResultsLog &TheMemo) const { MatrixEquations.PrintDMatrix(TheMemo); }
void TNetwork::PrintQDeltasEquations(TResultsLog &TheMemo) const { MatrixEquations.PrintQDeltasEquations(TheMemo); }
void TNetwork::PrintQVariables(TResultsLog &TheMemo) const { MatrixEquations.PrintQkgsVariables(TheMemo); }
void TNetwork::PrintKVariables(TResultsLog &TheMemo) const { MatrixEquations.PrintKVariables(TheMemo); }
void TNetwork::PrintNVariables(TResultsLog &TheMemo) const { MatrixEquations.PrintNVariables(TheMemo); }
void TNetwork::PrintQFittingLossCoefficents(TResultsLog &TheMemo) const
{
    MatrixEquations.PrintQFittingLossCoefficents(TheMemo);
}
void TNetwork::PrintQPumpHeadCoefficents(TResultsLog &TheMemo) const
{
    MatrixEquations.PrintQPumpHeadCoefficents(TheMemo);
}

} // namespace tessaran
