// Pipe walls, outer diameters, nominal sizes and fitting sizes checked
// against each other and repaired from the pipe and fittings databases; the
// placement of contraction and expansion fittings.

#include "network/Network_Class.h"

#include "units/Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <cmath>

namespace tessaran {

namespace {

// The nominal size texts of a pipe are short strings of 20 characters.
constexpr std::size_t NominalTextLength = 20;

std::string Cut(const std::string &text) { return text.substr(0, NominalTextLength); }

// Largest difference between the outer diameter and the inner diameter plus
// twice the wall that still counts as equal; the slack keeps a difference of
// exactly 0.1 mm in decimal terms on the right side of the rounding.
constexpr double DiameterMatchTolerance_m = 0.0001 + 1e-12;

} // namespace

// --- Pipe diameters and nominal sizes --------------------------------------------------

void TNetwork::CheckPipeSizesConsistent(bool &NetworkOk, TResultsLog &Log, bool AddToLog) const
{
    NetworkOk = true;
    const TUnit unit = ConfigOptions.UnitOfDiameter;
    bool first = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        bool matchOk = true;
        std::string message;
        pipe.CheckPipeSizeIDMatchOD(unit, matchOk, message);
        if (matchOk)
            continue;
        NetworkOk = false;
        if (!AddToLog)
            continue;
        if (first) {
            first = false;
            Log.Add(" ");
            Log.Add("Note: Model contains some inconsistent outer diameter data");
            LogAddBreakLine(Log);
            Log.Add("Calculations use pipe internal diameters.");
            Log.Add("Some Outer Diameter and Wall Thickness values do not match with Internal Diameter.");
            Log.Add("Outer Diameter and pipe material is used to determine nominal pipe size.");
            Log.Add("Fitting sizes are checked against the nominal pipe size (which may not be correct).");
        }
        Log.Add("Pipe " + std::to_string(pipeId) + ": " + "ID=" + convertAndFormat(unt_m, unit, pipe.InnerDiameter_m) +
                ", Wall Thickness=" + convertAndFormat(unt_m, unit, pipe.WallThickness_m) +
                " => not consistent with OD=" + convertAndFormat(unt_m, unit, pipe.OuterDiameter_m));
    }
}

void TNetwork::UpdatePipeWallThicknessAndOuterDiameters(const TPipeNominalSizeSet &PipeNominalSizeSet,
                                                        TResultsLog &Log, bool AddToLog)
{
    const TUnit unit = ConfigOptions.UnitOfDiameter;
    const std::string unitText = unitName(unit);
    Log.Add(" ");
    Log.Add("Update inconsistent pipe data");
    LogAddBreakLine(Log);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        TPipe &pipe = GetPipe(pipeId);
        bool matchOk = true;
        std::string message;
        pipe.CheckPipeSizeIDMatchOD(unit, matchOk, message);
        if (matchOk)
            continue;

        double wall = 0, outer = 0, weight = 0;
        int nominal = 0;
        std::string metric, imperial;
        bool found = false;
        PipeNominalSizeSet.GetMatchingDiameterData(pipe.Material, pipe.ScheduleClass, pipe.InnerDiameter_m, wall, outer,
                                                   weight, nominal, metric, imperial, found);
        if (found) {
            pipe.WallThickness_m = wall;
            pipe.OuterDiameter_m = outer;
            pipe.WeightPerMetre_kg = weight;
            pipe.NominalDiameterMetric = nominal;
            pipe.NominalDiameterMetricString = Cut(metric);
            pipe.NominalDiameterImperialString = Cut(imperial);
        } else {
            pipe.OuterDiameter_m = pipe.InnerDiameter_m + 2.0 * pipe.WallThickness_m;
            std::string material, schedule, fileName;
            PipeNominalSizeSet.getMaterialAndScheduleString(pipe.Material, pipe.ScheduleClass, material, schedule,
                                                            fileName);
            const int index = PipeNominalSizeSet.getODPipeNominalSizeSetIndex(pipe.OuterDiameter_m, material, schedule);
            const TPipeNominalSizeData row = PipeNominalSizeSet.getPipeNominalSizeData(index);
            pipe.WeightPerMetre_kg =
                calcPipeWeightPerLength(pipe.InnerDiameter_m, pipe.OuterDiameter_m, row.Density_lb_per_inch3);
            pipe.NominalDiameterMetric = row.NominalDiameterMetric;
            pipe.NominalDiameterMetricString = Cut(row.NominalDiameterMetricString);
            pipe.NominalDiameterImperialString = Cut(row.NominalDiameterImperialString);
        }
        if (AddToLog)
            Log.Add("Pipe " + std::to_string(pipeId) + ": " + "ID=" + convertAndFormat(unt_m, unit, pipe.InnerDiameter_m) +
                    " " + unitText + (found ? ", updated Wall Thickness=" : ", existing Wall Thickness=") +
                    convertAndFormat(unt_m, unit, pipe.WallThickness_m) + " " + unitText +
                    (found ? ", new OD=" : ", updated OD=") + convertAndFormat(unt_m, unit, pipe.OuterDiameter_m) + " " +
                    unitText + " (" + pipe.getNominalDiameterString(unit) + ")");
    }
}

void TNetwork::UpdateNominalPipeSizes(const TPipeNominalSizeSet &PipeNominalSizeSet)
{
    for (int i = 1; i <= NodeLinksCount; ++i)
        SetNominalPipeSize(PipeNominalSizeSet, GetPipe(NodeLinks[static_cast<std::size_t>(i)].PipeId));
}

void TNetwork::SetNominalPipeSize(const TPipeNominalSizeSet &PipeNominalSizeSet, TPipe &ThePipe)
{
    int nominal = ThePipe.NominalDiameterMetric;
    std::string metric = ThePipe.NominalDiameterMetricString;
    std::string imperial = ThePipe.NominalDiameterImperialString;
    bool updated = false;
    PipeNominalSizeSet.CalcNominalMetricSize(ThePipe.InnerDiameter_m, ThePipe.Material, ThePipe.ScheduleClass, nominal,
                                             metric, imperial, updated);
    if (!updated)
        return;
    ThePipe.NominalDiameterMetric = nominal;
    ThePipe.NominalDiameterMetricString = Cut(metric);
    ThePipe.NominalDiameterImperialString = Cut(imperial);
}

bool TNetwork::CheckDiameterDataMatchOk() const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TPipe &pipe = GetPipe(NodeLinks[static_cast<std::size_t>(i)].PipeId);
        if (std::fabs(pipe.OuterDiameter_m - (pipe.InnerDiameter_m + 2.0 * pipe.WallThickness_m)) >
            DiameterMatchTolerance_m)
            return false;
    }
    return true;
}

// --- Fittings ------------------------------------------------------------------------------

void TNetwork::CheckFittingSizesConsistent(bool &NetworkOk, TResultsLog &Log, bool AddToLog) const
{
    NetworkOk = true;
    const TUnit unit = ConfigOptions.UnitOfDiameter;
    bool first = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        const TFittingSet &set = pipe.FittingSet;
        // A bespoke fitting is sized for its pipe, and the pipe keeps all its fittings.
        if (set.countBespokeNominalSizeZeroFittings() > 0)
            continue;
        for (int f = 1; f <= set.FittingCount; ++f) {
            const TFitting &fitting = set.GetFitting(f);
            bool matchOk = true;
            std::string message;
            pipe.CheckFittingSizeMatch(unit, fitting, matchOk, message);
            if (matchOk)
                continue;
            NetworkOk = false;
            if (!AddToLog)
                continue;
            if (first) {
                first = false;
                Log.Add(" ");
                Log.Add("Remaining Inconsistent Fitting Sizes");
                LogAddBreakLine(Log);
                Log.Add("Note: Mismatched fitting sizes only affect calculated loss through the fitting.");
                Log.Add("A mismatched smaller fitting would give a more conservative result with a higher fitting loss.");
            }
            Log.Add("Pipe " + std::to_string(pipeId) + ", Size " + pipe.getNominalDiameterString(unit) + ": " +
                    "Fitting Size " + fitting.ImperialDiameter + " (" + fitting.MetricDiameter + "): " +
                    fitting.PartTypeStr + "(" + fitting.Description + ")");
        }
    }
}

void TNetwork::UpdateFittingsToMatchPipeSizes(const TFittingSet &FromFittingSet, TResultsLog &Log, bool AddToLog)
{
    const TUnit unit = ConfigOptions.UnitOfDiameter;
    bool first = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        TPipe &pipe = GetPipe(pipeId);
        TFittingSet &set = pipe.FittingSet;
        if (set.countBespokeNominalSizeZeroFittings() > 0)
            continue;
        for (int f = 1; f <= set.FittingCount; ++f) {
            const TFitting old = set.GetFitting(f);
            bool matchOk = true;
            std::string message;
            pipe.CheckFittingSizeMatch(unit, old, matchOk, message);
            if (matchOk)
                continue;
            TFitting replacement = old;
            bool found = false;
            FromFittingSet.GetFittingSameTypeNewSize(FittingFileTessaran, pipe.NominalDiameterMetric, replacement,
                                                     found);
            if (!found)
                continue;
            set.ReplaceFitting(f, replacement);
            if (!AddToLog)
                continue;
            if (first) {
                first = false;
                Log.Add(" ");
                Log.Add("Update Fitting Sizes to match nominal pipe sizes");
                LogAddBreakLine(Log);
            }
            std::string partType = replacement.PartTypeStr;
            PadLeftWith(partType, '.', 10);
            Log.Add("Pipe " + std::to_string(pipeId) + " (" + pipe.getNominalDiameterString(unit) + ")" +
                    " =>  Updated Fitting: " + partType + " now " + replacement.ImperialDiameter + " (" +
                    replacement.MetricDiameter + ")" + " was " + old.ImperialDiameter + " (" + old.MetricDiameter + ")");
        }
    }
}

void TNetwork::ReportBespokeFittings(TResultsLog &Log) const
{
    const TUnit unit = ConfigOptions.UnitOfDiameter;
    bool first = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        const TFittingSet &set = pipe.FittingSet;
        const int bespoke = set.countBespokeNominalSizeZeroFittings();
        if (bespoke <= 0)
            continue;
        if (first) {
            first = false;
            Log.Add(" ");
            Log.Add("Note:");
            Log.Add("Some pipes contain bespoke fittings.");
            Log.Add("Bespoke fittings cannot be automatically resized (e.g. 'Expansions' and 'Contractions')");
            Log.Add("Also any standard fittings on these pipes cannot be automatically resized.");
            Log.Add("User should ensure these fittings are sized correctly.");
            LogAddBreakLine(Log);
        }
        std::string partTypes;
        for (int f = 1; f <= set.FittingCount; ++f) {
            const TFitting &fitting = set.GetFitting(f);
            if (fitting.MetricSize >= 1)
                continue;
            if (!partTypes.empty())
                partTypes += ", ";
            partTypes += fitting.PartTypeStr;
        }
        std::string line = "Pipe " + std::to_string(pipeId) + ", Size " + pipe.getNominalDiameterString(unit) + ": " +
                           "contains " + std::to_string(bespoke) + " Bespoke Fittings (" + partTypes + ")";
        const int standard = set.FittingCount - bespoke;
        if (standard > 0)
            line += " plus " + std::to_string(standard) + " Std Fittings";
        Log.Add(line);
    }
}

// --- Placement of contractions and expansions -------------------------------------------

namespace {

// Contractions want the following pipe smaller, expansions larger; the
// messages differ only in their words.
struct TransitionRule {
    const char *Kind;      // "Contraction", "Expansion"
    const char *Change;    // "reduce", "increase"
    const char *PriorSize; // "larger", "smaller"
    int (TFittingSet::*Count)() const;
    int (TFittingSet::*CountAtStart)() const;
    // True when the diameter after a fitting of this kind is as it should be.
    bool (*Follows)(double before, double after);
};

void CheckTransitionPlacement(const TNetwork &network, const TransitionRule &rule, int NodeLinkId, bool &Ok,
                              std::string &ErrorMessage)
{
    Ok = true;
    ErrorMessage.clear();
    if (NodeLinkId < 1 || NodeLinkId > network.NodeLinksCount)
        return;
    const TNodeLink link = network.GetNodeLink(NodeLinkId);
    const TPipe &pipe = network.GetPipe(link.PipeId);
    const std::string pipeText = "Pipe " + std::to_string(link.PipeId);
    const std::string kind = rule.Kind;
    if ((pipe.FittingSet.*rule.Count)() > 0) {
        const int outCount = network.GetNumberOfOutFlowPipes(link.ToNodeId);
        if (outCount == 0) {
            Ok = false;
            ErrorMessage = pipeText + ": " + kind + " Fitting found but there is no pipe downstream.";
        } else if (outCount > 1) {
            Ok = false;
            ErrorMessage = pipeText + ": " + kind + " Fitting found but there are multiple pipes downstream.";
        } else {
            const int nextId = network.GetSingleOutFlowPipe(link.ToNodeId);
            if (nextId > 0 && !rule.Follows(pipe.InnerDiameter_m, network.GetPipe(nextId).InnerDiameter_m)) {
                Ok = false;
                ErrorMessage = pipeText + ": " + kind + " Fitting found and following " + "Pipe " +
                               std::to_string(nextId) + " diameter does not " + rule.Change + " in size.";
            }
        }
    }
    if ((pipe.FittingSet.*rule.CountAtStart)() > 0 && network.GetNumberOfInFlowPipes(link.FromNodeId) == 1) {
        const int priorId = network.GetSingleInFlowPipe(link.FromNodeId);
        // A fitting at the start of this pipe belongs on the prior pipe when
        // the change of size happens between the two.
        if (priorId > 0 && rule.Follows(network.GetPipe(priorId).InnerDiameter_m, pipe.InnerDiameter_m)) {
            Ok = false;
            ErrorMessage = pipeText + ": " + kind + " Fitting probably on wrong pipe " + "(should be on the " +
                           rule.PriorSize + " diameter prior Pipe " + std::to_string(priorId) + ").";
        }
    }
}

const TransitionRule ContractionRule{"Contraction", "reduce", "larger", &TFittingSet::countContractionFittings,
                                     &TFittingSet::countContractionFittingsAtStartOfPipe,
                                     [](double before, double after) { return after < before; }};
const TransitionRule ExpansionRule{"Expansion", "increase", "smaller", &TFittingSet::countExpansionFittings,
                                   &TFittingSet::countExpansionFittingsAtStartOfPipe,
                                   [](double before, double after) { return after > before; }};

} // namespace

void TNetwork::CheckPipeFittingsContractionsOk(int NodeLinkId, bool &Ok, std::string &ErrorMessage) const
{
    CheckTransitionPlacement(*this, ContractionRule, NodeLinkId, Ok, ErrorMessage);
}

void TNetwork::CheckPipeFittingsExpansionsOk(int NodeLinkId, bool &Ok, std::string &ErrorMessage) const
{
    CheckTransitionPlacement(*this, ExpansionRule, NodeLinkId, Ok, ErrorMessage);
}

} // namespace tessaran
