// The Newton-Raphson iteration of the equation system: the linearised step
// solved by the sparse solver, the step control that turns back a step which
// does not reduce the residuals, and the accuracy test.

#include "network/Matrix_Equations.h"

#include "units/SparSolv.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

constexpr const char *NoStepSolutionText = "Could not calculate flow adjustments: no solution on this iteration.";
constexpr double MultiplierFloor = 1.0E-8;
constexpr int MessagePumpInterval = 200;

} // namespace

void TMatrixEquations::SolveQDeltasFromDMatrixUsingSparSolv(bool &solved, int &ResultStatus,
                                                            std::string &ResultString, TResultsLog &Log)
{
    solved = true;
    ResultStatus = 0;
    ResultString.clear();
    try {
        CalculateDMatrix();
        if (newtonLoopStep())
            return;
        writePendingDerivatives();
        SparseSolvInit(DimensionX);
        addDMatrixToSparseSolver(DimensionY, DimensionX);
        SparseSolvSolve();
        for (int c = 1; c <= DimensionX; ++c)
            QDeltas[c] = SparseSolvAnswer(c);
    } catch (const ESparseSolvSolveError &) {
        ReleaseStruc();
        solved = false;
        ResultStatus = -1;
        Log.Add(NoStepSolutionText);
        ResultString = NoStepSolutionText;
        return;
    } catch (...) {
        ReleaseStruc();
        throw;
    }
    ReleaseStruc();
}

void TMatrixEquations::SubtractQDeltasFromQkgsVariables(Extended Lambda)
{
    for (int c = 1; c <= DimensionX; ++c)
        QkgsVariables[c] -= QDeltas[c] * Lambda;
    CalculateQm3sVariables();
}

bool TMatrixEquations::CheckFAccurate()
{
    try {
        Extended maxFlow = 0, maxHead = 0;
        for (int i = 1; i <= DimensionX; ++i) {
            const Extended size = std::fabs(FResults[i]);
            if (FResultsContainsHeadTerms[i])
                maxHead = std::max(maxHead, size);
            else
                maxFlow = std::max(maxFlow, size);
        }
        FResultBestFlowKgsAccuracy = maxFlow;
        FResultBestHeadBarAccuracy = maxHead;
        return maxFlow <= MinFlowTermsAccuracy_kgs && maxHead <= MinHeadTermsAccuracy_bar;
    } catch (...) {
        return false;
    }
}

void TMatrixEquations::CalculateFResultsSize(Extended &FResultsSize, bool &Success)
{
    Success = true;
    Extended sum = 0;
    for (int i = 1; i <= DimensionX; ++i)
        sum += FResults[i] * FResults[i];
    FResultsSize = sum / 2;
}

void TMatrixEquations::CalculateAndCheckFAccurate(bool &Success, bool &FResultAccurate, Extended &FResultSize)
{
    CalculateF(Success);
    if (!Success)
        return;
    FResultAccurate = CheckFAccurate();
    CalculateFResultsSize(FResultSize, Success);
}

void TMatrixEquations::SolveQkgsVariables(bool &Solved, int &ResultStatus, std::string &ResultString,
                                          TResultsLog &Log, TMatrixCalculationMethod TheMatrixCalculationMethod)
{
    MatrixCalculationMethod = TheMatrixCalculationMethod;
    derivativeHeadsMayWait_ = true;
    double multiplier = NewtonIterationDeltaMultiplier;
    Solved = false;
    ResultStatus = 0;
    ResultString.clear();
    try {
        bool accurate = false;
        ClearBestAccuracyFound();
        bool ok = true;
        IterationCount = 1;
        Extended size = 0;
        CalculateQm3sVariables();
        CalculateAndCheckFAccurate(ok, accurate, size);
        Extended previous = size + 1.0L;
        while (size < previous && !accurate && ok && IterationCount < MaxNewtonIterations) {
            ++IterationCount;
            if (IterationCount % MessagePumpInterval == 0) {
                UserInterface->ProcessMessages();
                if (StopCalculating && *StopCalculating)
                    break;
            }
            // The volume flows stand as worked out with the last flows.
            previous = size;
            bool stepSolved = false;
            SolveQDeltasFromDMatrixUsingSparSolv(stepSolved, ResultStatus, ResultString, Log);
            // A step without a solution has no adjustments to apply, and the
            // flows, hence the next step's system, would stay the same: the
            // iteration ends here with the flows as they stand.
            if (!stepSolved)
                break;
            SubtractQDeltasFromQkgsVariables(multiplier);
            CalculateAndCheckFAccurate(ok, accurate, size);
            if (size < previous) {
                multiplier = NewtonIterationDeltaMultiplier;
            } else {
                // Turn the step back: the flows end short of where they were.
                if (MatrixCalculationMethod == MatrixCalculationMethodIsothermal) {
                    SubtractQDeltasFromQkgsVariables(-1.1 * multiplier);
                    multiplier *= 0.75;
                } else {
                    SubtractQDeltasFromQkgsVariables(-1.5 * multiplier);
                    multiplier *= 0.5;
                }
                CalculateAndCheckFAccurate(ok, accurate, size);
                if (multiplier < MultiplierFloor) {
                    previous = size;
                    ResultStatus = 1;
                } else {
                    previous = size + 1.0L;
                }
            }
        }
        Solved = accurate;
    } catch (...) {
        Solved = false;
        ResultStatus = -3;
    }
    derivativeHeadsMayWait_ = false;
    writePendingDerivatives();
}

} // namespace tessaran
