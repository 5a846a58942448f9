// The liquid method that needs no linear-theory pass: start flows come from a
// guessed discharge velocity, Newton-Raphson finds a coarse balance and then
// refines it, and up to 100 guess velocities are tried, in a first pass that
// refuses reverse flows and a second that may accept them once the user has
// agreed to turn the pipes concerned round.

#include "network/Network_Class.h"

#include "platform/Pascal.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

// Status values of the method's own beside those of the Newton iteration.
constexpr int StatusCalculationOverflow = -3;
constexpr int StatusStoppedByNegativeFlow = -4;
constexpr int StatusStopSearching = -9;

// A reset after a failed final run starts the two passes over again; the
// search runs no more than two such rounds.
constexpr int MaxSearchPasses = 4;

} // namespace

void TNetwork::SolvedMessage(bool Solved, bool LookingForAccurateSolution, bool IncludesNegFlow,
                             bool AcceptNegativeFlow, TResultsLog &Log)
{
    const std::string count = std::to_string(getIterationCount()) + " calculations)";
    if (!Solved) {
        if (LookingForAccurateSolution) {
            Log.Add("Did Not Converge to an Accurate Solution (" + count);
            Log.Add("Continue to next iteration");
            FinalPressureBalanceToleranceMaybeTooSmall = true;
        } else {
            Log.Add("Failed to find Approximate Solution (" + count);
        }
        return;
    }
    if (AcceptNegativeFlow) {
        if (!IncludesNegFlow)
            return;
        Log.Add((LookingForAccurateSolution ? "Found Accurate Solution with some negative flows ("
                                            : "Found Approximate Solution with some negative flows (") +
                count);
        return;
    }
    if (LookingForAccurateSolution) {
        Log.Add((IncludesNegFlow ? "Found Accurate Solution BUT with some negative flows (" : "Found Accurate Solution (") +
                count);
    } else if (IncludesNegFlow) {
        Log.Add("Found Approximate Solution with some negative flows (" + count);
        Log.Add("Continue search for positive flow solution.");
    } else {
        Log.Add("Found Approximate Solution (" + count);
        Log.Add("Refining solution values");
    }
}

void TNetwork::fillInitialGuessFlowVelocities()
{
    const auto &parameters = ConfigOptions.CalculationParameters;
    const double minimum = parameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec];
    const double maximum = parameters[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec];
    // A count below one would divide by zero and give no usable velocity.
    const double guesses = std::max(1.0, parameters[NewtonDarcyFromDischargeEstNumOfVelocityGuesses]);
    for (int i = 1; i <= InitialGuessVelocityCount; ++i)
        NetworkClass_ArrayInitialGuessFlowVelocity_ms[at(i)] = minimum + (i - 1) * (maximum - minimum) / guesses;
}

void TNetwork::solveNewtonDarcy(bool &solved, int &status, std::string &statusText, TResultsLog &Log,
                                int maxIterations, double deltaMultiplier, double minHeadTerms_bar)
{
    MatrixEquations.MaxNewtonIterations = maxIterations;
    MatrixEquations.NewtonIterationDeltaMultiplier = deltaMultiplier;
    MatrixEquations.MinHeadTermsAccuracy_bar = minHeadTerms_bar;
    MatrixEquations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodDarcy);
}

void TNetwork::regenerateAndSolveAfterLinkChange(bool &solved, int &status, std::string &statusText, TResultsLog &Log)
{
    PipeLoopsRemoveAllLoops();
    PipeLoopsGenerateAllLoops(Log);
    MatrixEquationsGenerate(MatrixEquations, Log, true);
    MatrixEquations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodDarcy);
}

void TNetwork::acceptNegativeFlowsOfGuess(bool &solved, int &status, int &guessIndex, TResultsLog &Log)
{
    if (IsNegativeFlowInAnyPipeWithPump()) {
        solved = false;
        Log.Add("Found solution with negative flow in a pipe containing a pump: Disallow and continue");
        return;
    }
    const TConfigOptions &options = ConfigOptions;
    const std::string surfaceUnit = unitName(options.UnitOfSurfacePressure);
    auto settingText = [&](int controlPipeId) {
        double setting = 0;
        for (int k = 1; k <= NodeLinksFlowControlCount; ++k)
            if (NodeLinksFlowControl[at(k)].ControlPipeId == controlPipeId)
                setting = GetPipe(NodeLinksFlowControl[at(k)].PipeId).FlowControl.RegulatedPressure_Bar_g;
        return convertAndFormat(unt_Bar_G, options.UnitOfSurfacePressure, setting);
    };
    auto isControlPipeOfAValve = [&](int pipeId) {
        for (int k = 1; k <= NodeLinksFlowControlCount; ++k)
            if (NodeLinksFlowControl[at(k)].ControlPipeId == pipeId)
                return true;
        return false;
    };

    std::string statusText;
    bool aborted = false;
    for (int i = NodeLinksCount; i >= 1 && !aborted; --i) {
        const TNodeLink link = NodeLinks[at(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (!(pipe.FlowUncompressed_m3s < 0))
            continue;
        HighlightPipeIdForNetworkFormTimer = link.PipeId;
        UserInterface->ProcessMessages();
        const std::string original = std::to_string(GetOriginalPipeIdForThisControlPipe(link.PipeId));
        if (IsPipePRVNewControlPipe(link.PipeId)) {
            solved = false;
            status = StatusStoppedByNegativeFlow;
            aborted = true;
            if (isControlPipeOfAValve(link.PipeId)) {
                Log.Add("The pressure downstream of the PRV on pipe " + original +
                        " is higher than the PRV pressure setting.");
                Log.Add("In practice the PRV would Fully Close, preventing back flow in the pipe.");
                Log.Add("This scenario is not automatically re-calculated.");
                Log.Add("Remove the Pipe/PRV or increase the PRV pressure setting from " + settingText(link.PipeId) +
                        " " + surfaceUnit + ".");
            }
        } else if (IsPipeBPVNewControlPipe(link.PipeId)) {
            solved = false;
            status = StatusStoppedByNegativeFlow;
            aborted = true;
            if (isControlPipeOfAValve(link.PipeId)) {
                Log.Add("The pressure upstream of the BPV on pipe " + original +
                        " is less than the BPV pressure setting.");
                Log.Add("In practice the BPV would Fully Close.");
                Log.Add("This scenario is not automatically re-calculated.");
                Log.Add("Remove the Pipe/BPV or decrease the BPV pressure setting from " + settingText(link.PipeId) +
                        " " + surfaceUnit + ".");
            }
        } else if (pipe.PreventBackflow) {
            AddLinkPreventBackflow(link.FromNodeId, link.ToNodeId, link.PipeId);
            RemoveLink(link.PipeId);
            regenerateAndSolveAfterLinkChange(solved, status, statusText, Log);
        } else {
            const std::string question =
                "Flow in " + pipe.Name + " is negative (" +
                convertAndFormat(unt_m3_sec, options.UnitOfFlow, pipe.FlowUncompressed_m3s) + " " +
                unitName(options.UnitOfFlow) + ")." + "\r\r" +
                "The direction of this pipe must be reversed to continue solving the network." + "\r\r" +
                "You may wish to review your system design at this point OR you may" + "\r\r" +
                "Reverse the pipe direction now and continue?";
            if (UserInterface->AskYesNo(TMessageKind::Confirmation, question)) {
                std::swap(NodeLinks[at(i)].FromNodeId, NodeLinks[at(i)].ToNodeId);
                Log.Add("Direction of pipe " + std::to_string(link.PipeId) + ", named " + pipe.Name +
                        " was reversed.");
                regenerateAndSolveAfterLinkChange(solved, status, statusText, Log);
            } else {
                solved = false;
                status = StatusStoppedByNegativeFlow;
                guessIndex = InitialGuessVelocityCount;
                aborted = true;
            }
        }
        HighlightPipeIdForNetworkFormTimer = 0;
    }
    if (!solved && NodeLinksPreventBackflowCount > 0)
        RestoreAllNodeLinksForPreventBackflow(Log);
}

void TNetwork::SolveNetworkNewtonWithDischargeEstimates(bool &solved, bool &solutionOk, TResultsLog &Log)
{
    TCalculationScope busy(*this);
    CalculatingString = "Preparing to solve network.";
    UserInterface->ProcessMessages();
    solvedSuccessful = false;
    CalculationOverflowCount = 0;
    WarningCount = 0;
    CommentCount = 0;
    MatrixEquations.IterationCountTotal = 0;
    MatrixEquations.IterationCountTotalSaved = 0;
    int status = 0;
    CurrentMethodOfSolution = EstimateDischargeNewtonOnly;
    solved = false;
    solutionOk = false;
    StopCalculating = false;
    FinalPressureBalanceToleranceMaybeTooSmall = false;
    HighestPressureBalancingToleranceFinal_bar = 0;
    HighestPressureBalancingTolerancePipeId = 0;
    fillInitialGuessFlowVelocities();
    // This method's own flow tolerance, not one an earlier run left behind.
    MatrixEquations.MinFlowTermsAccuracy_kgs =
        ConfigOptions.CalculationParameters[NewtonDarcyFromDischargeEstMinFlowBalanceKgPerSec];

    const TConfigOptions &options = ConfigOptions;
    const auto &parameters = options.CalculationParameters;
    const int maxIterationsInitial = Trunc(parameters[NewtonDarcyFromDischargeEstMaxIterationsInitial]);
    const int maxIterationsFinal = Trunc(parameters[NewtonDarcyFromDischargeEstMaxIterationsFinal]);
    const double multiplierFinal = parameters[NewtonDarcyFromDischargeEstDeltaMultiperFinal];
    const double loopBalanceInitial = parameters[NewtonDarcyFromDischargeEstMinLoopHeadBalanceInitialBar];
    const double loopBalanceFinal = parameters[NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar];
    const TUnit velocityUnit = options.UnitOfVelocity;

    try {
        prepareLinksAndLoops(Log);

        std::vector<int> lastColumn;
        int pass = 0;
        int passesRun = 0;
        bool acceptNegativeFlow = false;
        while (!solved && status != StatusStopSearching && pass < 2 && passesRun < MaxSearchPasses &&
               !StopCalculating) {
            ++pass;
            ++passesRun;
            acceptNegativeFlow = pass == 2;
            int i = 0;
            while (!solved && i < InitialGuessVelocityCount && !StopCalculating) {
                ++i;
                const double velocity = NetworkClass_ArrayInitialGuessFlowVelocity_ms[at(i)];
                const std::string velocityText =
                    convertAndFormat(unt_m_Sec, velocityUnit, velocity) + " " + unitName(velocityUnit);
                solved = true;

                // One attempt with this guess velocity.
                UserInterface->ProcessMessages();
                CalculatingString = "Set initial flow estimates using velocity: " + velocityText;
                UserInterface->ProcessMessages();
                bool flowBalanceAdjusted = false;
                SetAllInitialFlowGuesses(Log, flowBalanceAdjusted, velocity);
                ++MatrixEquations.IterationCountTotal;
                Log.Add(" ");
                Log.Add("Iteration " + std::to_string(MatrixEquations.IterationCountTotal));
                Log.Add("Start flow estimates using initial discharge velocity of " + velocityText);
                bool continuityOk = false, continuityPositive = false;
                CheckFlowContinuity(continuityOk, continuityPositive, Log);
                for (int k = 1; k <= NodeLinksCount; ++k) {
                    TPipe &pipe = GetPipe(NodeLinks[at(k)].PipeId);
                    pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
                }
                CalculatingString = "Solving Network Equations...";
                UserInterface->ProcessMessages();
                MatrixEquationsGenerate(MatrixEquations, Log, true);
                UserInterface->ProcessMessages();

                status = 0;
                std::string statusText;
                solveNewtonDarcy(solved, status, statusText, Log, maxIterationsInitial, 1.0, loopBalanceInitial);
                bool negative = MatrixEquations.IsAnyQVariableNegative();
                SolvedMessage(solved, false, negative, acceptNegativeFlow, Log);
                UserInterface->ProcessMessages();

                if (!solved) {
                    if (status == StatusCalculationOverflow) {
                        ++CalculationOverflowCount;
                        Log.Add(" ");
                        Log.Add("Iteration " + std::to_string(MatrixEquations.IterationCountTotal) +
                                ": Calculation failed");
                        Log.Add("Flows may be too small or too large to provide accurate results.");
                    } else {
                        Log.Add(statusText);
                    }
                } else {
                    // The volume flows as of the last step taken.
                    MatrixEquations.CalculateQm3sVariables();
                    // Each pipe's column is the last link that holds it.
                    lastColumn.assign(at(MaxPipes + 1), -1);
                    for (int k = 1; k <= NodeLinksCount; ++k) {
                        const int pipeId = NodeLinks[at(k)].PipeId;
                        if (pipeId >= 1 && pipeId <= MaxPipes)
                            lastColumn[at(pipeId)] = k;
                    }
                    for (int k = 1; k <= NodeLinksCount; ++k) {
                        const int pipeId = NodeLinks[at(k)].PipeId;
                        const int column =
                            pipeId >= 1 && pipeId <= MaxPipes ? lastColumn[at(pipeId)] : getQIndexOfPipeId(pipeId);
                        if (column > 0)
                            GetPipe(pipeId).FlowUncompressed_m3s =
                                static_cast<double>(MatrixEquations.Qm3sVariables[at(column)]);
                    }
                    negative = MatrixEquations.IsAnyQVariableNegative();
                    if (negative && !acceptNegativeFlow) {
                        solved = false;
                    } else if (negative) {
                        acceptNegativeFlowsOfGuess(solved, status, i, Log);
                        if (solved) {
                            solveNewtonDarcy(solved, status, statusText, Log, maxIterationsFinal, multiplierFinal,
                                             loopBalanceFinal);
                            if (!solved) {
                                // Back to first-pass mode with the next guess.
                                acceptNegativeFlow = false;
                                pass = 0;
                            }
                        }
                    } else {
                        MatrixEquationsGenerate(MatrixEquations, Log, true);
                        CalculatingString = "Found approximate solution. Refining...";
                        UserInterface->ProcessMessages();
                        solveNewtonDarcy(solved, status, statusText, Log, maxIterationsFinal, multiplierFinal,
                                         loopBalanceFinal);
                        negative = MatrixEquations.IsAnyQVariableNegative();
                        if (solved && !negative) {
                            SolvedMessage(true, true, false, acceptNegativeFlow, Log);
                        } else {
                            CalculatingString = "Solving Network Equations...";
                            solved = false;
                            SolvedMessage(false, true, negative, acceptNegativeFlow, Log);
                        }
                    }
                }

                if (solved) {
                    ReverseAnyNegativeFlowPipesForFinalSolution(solved, Log);
                    ReCalcNetworkFromMatrixQVariables(solved, Log);
                    if (!solved) {
                        i = InitialGuessVelocityCount;
                        status = StatusStopSearching;
                    }
                }
            }
        }
        if (StopCalculating)
            solved = false;
        // A balance reached from the start flows can leave any flow round a
        // loop whose pipes lose almost nothing; only balanced loops solve.
        if (solved && logUnbalancedLoops(Log))
            solved = false;

        restoreAllPreparedLinks(Log);
        if (solved) {
            SetFlowControlPressureLosses(solved, Log, true);
            SetPumpsSetFlowRatePressureLosses(solved, Log, true);
        }
        if (solved) {
            if (logPressureBelowAbsoluteZero(Log))
                solved = false;
            SetResultsColorItemMinMaxValues();
        }
        if (solved)
            CheckNetworkSolutionOk(Log, solutionOk);
        if (solutionOk) {
            solvedSuccessful = true;
            logDischargeEstimateSummary(Log);
        }
        if (StopCalculating) {
            Log.Add(" ");
            Log.Add("*** Calculation Stopped. System was not solved.");
        }
    } catch (const std::exception &e) {
        HighlightPipeIdForNetworkFormTimer = 0;
        RestoreAllNodeLinksForPipesWithFlowControl(Log);
        RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(Log);
        SortNodeLinksByPipeId();
        logMethodException(Log, e);
        solved = false;
        solutionOk = false;
    }
}

bool TNetwork::logUnbalancedLoops(TResultsLog &Log)
{
    // Loop losses left over after a converged run are rounding, a tiny part
    // of the losses round the loop; an unbalanced flow leaves a large part.
    constexpr double RelativeLoopBalance = 1e-3;
    bool unbalanced = false;
    for (int loop = 1; loop <= PipeLoopsCount; ++loop) {
        const auto &pipes = PipeLoops[at(loop)];
        const int count = PipeLoopsPipeCount[at(loop)];
        if (count < 2)
            continue;
        int from = 0, to = 0;
        GetFromAndToNodeIds(pipes[1], from, to);
        const int start = from;
        int w = from;
        double sum = 0, magnitude = 0;
        bool walked = true;
        for (int i = 1; i <= count && walked; ++i) {
            GetFromAndToNodeIds(pipes[at(i)], from, to);
            const double loss = pipeSolutionLoss_bar(pipes[at(i)]);
            if (from == w) {
                sum += loss;
                w = to;
            } else if (to == w) {
                sum -= loss;
                w = from;
            } else {
                walked = false;
            }
            magnitude += std::fabs(loss);
        }
        // Only a loop that closes on itself must add up to nothing.
        if (!walked || w != start)
            continue;
        if (!(std::fabs(sum) <= RelativeLoopBalance * magnitude)) {
            unbalanced = true;
            Log.Add(" ");
            Log.Add(">>> PROBLEM:");
            Log.Add("The pipe losses round loop " + std::to_string(loop) + " add up to " + formatFixed(12, sum) +
                    " bar instead of balancing (" + formatFixed(2, magnitude > 0 ? std::fabs(sum) / magnitude * 100 : 100) +
                    "% of the losses in the loop).");
            Log.Add("The flows found from the discharge estimates do not solve the system.");
        }
    }
    return unbalanced;
}

void TNetwork::logDischargeEstimateSummary(TResultsLog &Log)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    const double zoneOneDensity = FluidZones[1].Fluid.density_kgs_m3;
    const TUnit pressureUnit = options.UnitOfPressure;
    auto pressureText = [&](double value_bar) {
        return formatFixed(6, convertPressure(unt_Bar_G, pressureUnit, value_bar, atmosphere, zoneOneDensity)) + " " +
               unitPlainName(pressureUnit);
    };
    const double loopBalanceFinal =
        options.CalculationParameters[NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar];
    TSystemSummaryData data;
    GetSystemSummaryData(data);

    Log.Add(" ");
    Log.Add(" ");
    Log.Add("Final Solution Details:");
    LogAddBreakLine(Log);
    Log.Add("Darcy-Weisbach Calculation method with Colebrook-White Friction Factor equations.");
    Log.Add(" ");
    Log.Add("All Node Pressure balances accurate to: " + pressureText(HighestPressureBalancingToleranceFinal_bar));
    Log.Add(" ");
    Log.Add("All Loop Pressure balances accurate to: " + pressureText(loopBalanceFinal));
    if (data.HighestLoopLoss_bar > 0) {
        Log.Add(" ");
        Log.Add("Largest Resistance Loss balanced is: " + pressureText(data.HighestLoopLoss_bar));
        Log.Add("(across any single pressure equation for a pipe loop or end to end section)");
        Log.Add(" ");
        Log.Add("Pressure balances for loops accurate to within " +
                formatFixed(6, loopBalanceFinal / data.HighestLoopLoss_bar * 100.0) + "%");
        Log.Add("(of the Largest Resistance Loss across any single pressure equation)");
    }

    Log.Add(" ");
    logSummaryConfigurationAndExtremes(Log, data, true);
}

} // namespace tessaran
