// The equation system: storage and set-up, the element laws of a pipe, the
// residuals and the derivative matrix, the accuracy record and the vector
// utilities. The iterations are in Matrix_Newton.cpp and
// Matrix_Linear_Theory.cpp.

#include "network/Matrix_Equations.h"

#include "units/Calculations.h"
#include "units/Constants.h"
#include "units/Gas_Calculations.h"
#include "units/SparSolv.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace tessaran {

namespace {

constexpr std::size_t VectorSize = TMatrixEquations::MaxDimension + 1;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

template <typename T>
void zeroVector(std::vector<T> &v)
{
    std::fill(v.begin(), v.end(), T{});
}

// Zeroes the first count entries of v. The vectors cleared this way hold
// floating-point numbers, whose zero is all bits clear; a block write spares
// an extended-precision store per entry.
template <typename T>
void zeroFirst(std::vector<T> &v, std::size_t count)
{
    static_assert(std::is_trivially_copyable_v<T>);
    std::memset(static_cast<void *>(v.data()), 0, std::min(count, v.size()) * sizeof(T));
}

} // namespace

// --- Pipe friction (shared with the linear theory's callers) -------------------

double calcPipeFrictionLoss_mHd_Fluid(double Length_m, double Roughness_m, double Diameter_m, double Density_kgm3,
                                      double Viscosity_cP, double Flow_m3s)
{
    const double velocity = calcVelocity(Flow_m3s, Diameter_m, 1.0);
    const double reynolds = calcReynoldsNumber(velocity, Diameter_m, Viscosity_cP, Density_kgm3, 1.0);
    const double friction = calcFrictionFactor(reynolds, Diameter_m, Roughness_m);
    return calcDarcyHeadLoss(friction, Length_m, Diameter_m, velocity);
}

double calcPipeFrictionLoss_Bar_DifferentialQkgs(double Length_m, double Roughness_m, double Diameter_m,
                                                 double Density_kgm3, double Viscosity_cP, double Flow_kgs)
{
    const double velocity = calcVelocity(Flow_kgs / Density_kgm3, Diameter_m, 1.0);
    const double reynolds = calcReynoldsNumber(velocity, Diameter_m, Viscosity_cP, Density_kgm3, 1.0);
    const double friction = calcFrictionFactor(reynolds, Diameter_m, Roughness_m);
    return calcDarcyPressureLossDerivative(Flow_kgs, Length_m, Diameter_m, friction, Density_kgm3);
}

// --- Life ------------------------------------------------------------------------

TMatrixEquations::TMatrixEquations(int pDimensionX, int pDimensionY)
    : x(VectorSize), xold(VectorSize), p(VectorSize), g(VectorSize), QkgsVariables(VectorSize),
      QkgsVariablesSaved(VectorSize), QkgsVariablesOrdering(VectorSize), QkgsVariablesOrderingSaved(VectorSize),
      QkgsVariablesLinearTheorySaved(VectorSize), Qm3sVariables(VectorSize), Qm3sVariablesSaved(VectorSize),
      PipeDiameters_m(VectorSize), PipeRoughnesses_m(VectorSize), PipeLengths_m(VectorSize),
      PipeStartPressure_bar_g(VectorSize), QFluidCentipoise(VectorSize), QFluidDensity_kgs_m3(VectorSize),
      QFluidPressure_bar_g(VectorSize), QFluidTemperature_degrees_k(VectorSize), QKnowns(VectorSize),
      FResults(VectorSize), FGradient(VectorSize), FResultsContainsHeadTerms(VectorSize), QDeltas(VectorSize),
      QDeltasSaved(VectorSize), FValues(VectorSize), Qm3sFittingLossCoefficents(VectorSize),
      EntryFittingLossKValues(VectorSize), ExitFittingLossKValues(VectorSize), QComponentPressure(VectorSize),
      QComponentPressureLinearTheoryXIndex(VectorSize), QPump(VectorSize), QPumpLinearTheoryXIndex(VectorSize),
      KVariables(VectorSize), NVariables(VectorSize), LinearTheoryKVariables(VectorSize), TempRow(VectorSize),
      headTermStamp_(VectorSize), headDerivativeStamp_(VectorSize), headTerm_(VectorSize), headDerivative_(VectorSize),
      columnPump_(VectorSize), columnComponent_(VectorSize), frictionFlow_(VectorSize, std::nan("")),
      friction_(VectorSize), frictionWall_(VectorSize), frictionWallDiameter_(VectorSize, std::nan("")),
      frictionWallRoughness_(VectorSize, std::nan("")), pipeConstants_(VectorSize), frictionVelocity_(VectorSize),
      linearTheoryPipes_(VectorSize), frictionColumns_(VectorSize),
      frictionReynolds_(VectorSize), frictionFound_(VectorSize), frictionRoot_(VectorSize),
      frictionRootFound_(VectorSize), frictionWalls_(VectorSize), linearTheoryRoots_(VectorSize), linearTheoryKLinear_(VectorSize),
      linearTheoryKLinearFor_(VectorSize, {std::nan(""), 0, 0}), linearTheoryKParts_(VectorSize)
{
    DimensionX = std::clamp(pDimensionX, 0, MaxDimension);
    DimensionY = std::clamp(pDimensionY, 0, MaxDimension);
    DimensionXWithLinearTransformationEquations = DimensionX;
    DimensionYWithLinearTransformationEquations = DimensionY;
}

void TMatrixEquations::ClearResults(int pDimensionX, int pDimensionY)
{
    MaxNewtonIterations = 2000;
    NewtonIterationDeltaMultiplier = 1.0;
    MinHeadTermsAccuracy_bar = MinHeadTermsAccuracyNormal_bar;
    // DMatrix first: what it may hold is known from the pattern of QMatrix.
    clearDMatrix();
    clearQMatrix();
    const int nextX = std::clamp(pDimensionX, 0, MaxDimension);
    const int nextY = std::clamp(pDimensionY, 0, MaxDimension);
    // A tracked system wrote its vectors up to vectorsUsed_ only; a system
    // written directly may have written anywhere.
    const std::size_t used = recordsTracked_ ? at(std::max({vectorsUsed_, nextX, nextY}) + 1) : VectorSize;
    const auto zero = [used](auto &v) { zeroFirst(v, used); };
    std::fill(frictionFlow_.begin(), frictionFlow_.begin() + static_cast<std::ptrdiff_t>(used), std::nan(""));
    zero(frictionRoot_);
    zero(linearTheoryRoots_);
    dMatrixZero_ = true;
    dMatrixZeroVersion_ = DMatrix.Version();
    zero(QKnowns);
    zero(FResults);
    zero(FValues);
    zero(QkgsVariables);
    zero(QDeltas);
    zero(KVariables);
    zero(NVariables);
    linearTheoryKPending_ = false;
    zero(QFluidCentipoise);
    zero(QFluidDensity_kgs_m3);
    zero(QFluidPressure_bar_g);
    zero(QFluidTemperature_degrees_k);
    zero(PipeDiameters_m);
    zero(PipeRoughnesses_m);
    zero(PipeLengths_m);
    zero(PipeStartPressure_bar_g);
    vectorsUsed_ = std::max(nextX, nextY);
    // Only the records written through the setters differ from cleared ones
    // in a tracked system; every column a setter marked is listed once.
    for (const int c : writtenRecords_) {
        if (recordsTracked_ && columnPump_[at(c)])
            QPump[at(c)].Clear();
        if (recordsTracked_ && columnComponent_[at(c)])
            QComponentPressure[at(c)].Clear();
        columnPump_[at(c)] = 0;
        columnComponent_[at(c)] = 0;
    }
    if (!recordsTracked_) {
        // Pump and component records are written only for the columns of a
        // system (1..DimensionX, and the transformation's columns beyond
        // them); those of the last system and of the next one are cleared,
        // the rest are as new.
        const int last = std::clamp(std::max({DimensionX, DimensionXWithLinearTransformationEquations, pDimensionX}), 0,
                                    MaxDimension);
        for (std::size_t c = 0; c <= static_cast<std::size_t>(last); ++c) {
            QPump[c].Clear();
            QComponentPressure[c].Clear();
        }
    }
    writtenRecords_.clear();
    recordsTracked_ = false;
    ++recordsVersion_;
    generatedLawColumns_.clear();
    DimensionX = nextX;
    DimensionXWithLinearTransformationEquations = DimensionX;
    DimensionY = nextY;
    DimensionYWithLinearTransformationEquations = DimensionY;
}

void TMatrixEquations::TrackColumnRecords(int rows)
{
    // Every record is cleared here (ClearResults has just run), so the
    // written ones are exactly those the setters note.
    recordsTracked_ = true;
    ++recordsVersion_;
    vectorsUsed_ = std::max(vectorsUsed_, std::clamp(rows, 0, MaxDimension));
}

void TMatrixEquations::SetColumnPump(int c, const TPump &pump)
{
    QPump[at(c)].CopyPump(pump);
    if (!columnPump_[at(c)] && !columnComponent_[at(c)])
        writtenRecords_.push_back(c);
    columnPump_[at(c)] = 1;
    ++recordsVersion_;
}

void TMatrixEquations::SetColumnComponentPressure(int c, const TComponentPressure &component)
{
    QComponentPressure[at(c)].CopyComponentPressure(component);
    if (!columnPump_[at(c)] && !columnComponent_[at(c)])
        writtenRecords_.push_back(c);
    columnComponent_[at(c)] = 1;
    ++recordsVersion_;
}

void TMatrixEquations::NoteGeneratedPipeLaw(int c, double Length_m, double MassFlow_kgs, double Diameter_m,
                                            double Roughness_m, double Viscosity_cP, double Density_kgm3)
{
    if (c < 1 || c > MaxDimension)
        throw EMatrixEquations("No column " + std::to_string(c) + " for a pipe law.");
    if (generatedLaws_.empty())
        generatedLaws_.resize(VectorSize);
    generatedLaws_[at(c)] = {Length_m, MassFlow_kgs, Diameter_m, Roughness_m, Viscosity_cP, Density_kgm3};
    generatedLawColumns_.push_back(c);
}

void TMatrixEquations::generatedPipeLaw(int c, double &K, double &N) const
{
    const TGeneratedPipeLaw &law = generatedLaws_[at(c)];
    calcLinearTheoryPipeKN(law.Length_m, law.MassFlow_kgs, law.Diameter_m, law.Roughness_m, law.Viscosity_cP,
                           law.Density_kgm3, 1.0, K, N);
}

void TMatrixEquations::ResolveGeneratedPipeLaws()
{
    for (const int c : generatedLawColumns_)
        generatedPipeLaw(c, KVariables[at(c)], NVariables[at(c)]);
    generatedLawColumns_.clear();
}

void TMatrixEquations::forgetGeneratedPipeLaws(int columns)
{
    // Columns beyond those about to be worked out keep their generated law.
    for (const int c : generatedLawColumns_)
        if (c > columns)
            generatedPipeLaw(c, KVariables[at(c)], NVariables[at(c)]);
    generatedLawColumns_.clear();
}

void TMatrixEquations::resolvedPipeLaws(TRealVector &K, TRealVector &N) const
{
    K = KVariables;
    N = NVariables;
    for (const int c : generatedLawColumns_)
        generatedPipeLaw(c, K[at(c)], N[at(c)]);
}

void TMatrixEquations::clearDMatrix()
{
    if (dMatrixZero_ && dMatrixZeroVersion_ == DMatrix.Version()) {
        DMatrix.ForgetWrites();
    } else if (!dMatrixFollowsPattern()) {
        DMatrix.Clear();
    } else {
        const int rows = std::max(patternRows_, linearTheoryRows_);
        const int columns = std::max(patternColumnCount_, linearTheoryColumns_);
        for (int r = 1; r <= rows; ++r) {
            Extended *row = DMatrix.RowKeepingVersion(r);
            if (r <= patternRows_) {
                for (int e = patternStart_[at(r - 1)]; e < patternStart_[at(r)]; ++e)
                    row[patternColumns_[at(e)]] = 0;
                std::fill(row + patternColumnCount_ + 1, row + columns + 1, Extended{0});
            } else {
                std::fill(row + 1, row + columns + 1, Extended{0});
            }
        }
        DMatrix.ForgetWrites();
    }
    linearTheoryRows_ = 0;
    linearTheoryColumns_ = 0;
    dMatrixFollows_ = false;
    derivativeHeadsPending_ = false;
}

void TMatrixEquations::renewFrictionWall(int c)
{
    const double diameter = PipeDiameters_m[c], roughness = PipeRoughnesses_m[c];
    frictionWall_[at(c)] = calcFrictionWall(diameter, roughness);
    frictionWallDiameter_[at(c)] = diameter;
    frictionWallRoughness_[at(c)] = roughness;
}

double TMatrixEquations::frictionFactor(int c, double flow_m3s)
{
    if (frictionFlow_[at(c)] == flow_m3s)
        return friction_[at(c)];
    const double diameter = PipeDiameters_m[c];
    const double velocity = calcVelocity(flow_m3s, diameter, 1.0);
    const double reynolds = calcReynoldsNumber(velocity, diameter, QFluidCentipoise[c], QFluidDensity_kgs_m3[c], 1.0);
    const TFrictionWall *wall = &frictionWall(c);
    double friction = 0;
    calcFrictionFactors(1, &reynolds, &wall, &friction, &frictionRoot_[at(c)]);
    frictionFlow_[at(c)] = flow_m3s;
    friction_[at(c)] = friction;
    return friction;
}

const TMatrixEquations::TPipeConstants &TMatrixEquations::pipeConstants(int c)
{
    TPipeConstants &k = pipeConstants_[at(c)];
    const double diameter = PipeDiameters_m[c], length = PipeLengths_m[c], rho = QFluidDensity_kgs_m3[c];
    if (k.Diameter_m != diameter || k.Length_m != length || k.Density_kgm3 != rho) {
        k.Diameter_m = diameter;
        k.Length_m = length;
        k.Density_kgm3 = rho;
        k.Area_m2 = PiExtended * Sqr(diameter) / 4.0L;
        k.LengthOverDiameter = static_cast<long double>(length) / diameter;
        k.DerivativeDenominator = calcDarcyDerivativeDenominator(diameter, rho);
    }
    return k;
}

void TMatrixEquations::frictionFactorsAtCurrentFlows()
{
    int count = 0;
    for (int c = 1; c <= DimensionX; ++c) {
        // The flow exactly as the pipe's loss and derivative ask for it.
        const double rho = QFluidDensity_kgs_m3[c];
        const double flow = static_cast<double>(QkgsVariables[c] / rho);
        const TPipeConstants &k = pipeConstants(c);
        const double diameter = k.Diameter_m;
        // calcVelocity with its factor of 1 and its area kept.
        const double velocity = diameter <= 0 ? calcVelocity(flow, diameter, 1.0) : static_cast<double>(flow / k.Area_m2);
        frictionVelocity_[at(c)] = velocity;
        if (frictionFlow_[at(c)] == flow)
            continue;
        // calcReynoldsNumber less its division by a velocity factor of 1.
        frictionColumns_[at(count)] = c;
        frictionReynolds_[at(count)] = static_cast<double>(
            std::fabs(static_cast<long double>(velocity) * diameter / QFluidCentipoise[c] * 1000.0L * rho));
        frictionWalls_[at(count)] = &frictionWall(c);
        frictionRootFound_[at(count)] = frictionRoot_[at(c)];
        frictionFlow_[at(c)] = flow;
        ++count;
    }
    calcFrictionFactors(count, frictionReynolds_.data(), frictionWalls_.data(), frictionFound_.data(),
                        frictionRootFound_.data());
    for (int i = 0; i < count; ++i) {
        const int c = frictionColumns_[at(i)];
        friction_[at(c)] = frictionFound_[at(i)];
        frictionRoot_[at(c)] = frictionRootFound_[at(i)];
    }
}

// --- Element laws --------------------------------------------------------------------

void TMatrixEquations::CalculateQm3sVariables()
{
    for (int c = 1; c <= DimensionX; ++c)
        Qm3sVariables[c] = QkgsVariables[c] / QFluidDensity_kgs_m3[c];
}

// At the flows of the pass of frictionFactorsAtCurrentFlows that the
// residual pass has just made: calcDarcyHeadLoss with the friction factor,
// velocity and L/d that pass left.
inline Extended TMatrixEquations::calcPipeFrictionLoss_Bar(int c)
{
    const TPipeConstants &k = pipeConstants_[at(c)];
    const double velocity = frictionVelocity_[at(c)];
    const long double loss = k.LengthOverDiameter * friction_[at(c)] * Sqr(velocity) / TwoGravity_ms2;
    // fluidHeadToBar, its operations in its order, without the call.
    constexpr Extended Gravity = 9.80665L, PaPerBar = 100000.0L;
    const double head = static_cast<double>(velocity < 0 ? -loss : loss);
    return static_cast<double>(static_cast<Extended>(head) * Gravity * k.Density_kgm3 / PaPerBar);
}

Extended TMatrixEquations::calcFittingLoss_mHd_Fluid(int c) const
{
    const double coefficient = Qm3sFittingLossCoefficents[c];
    if (coefficient == 0)
        return 0;
    const Extended flow = Qm3sVariables[c];
    const Extended loss = coefficient * flow * flow;
    return flow < 0 ? -loss : loss;
}

Extended TMatrixEquations::calcFittingLoss_Bar(int c) const
{
    return fluidHeadToBar(static_cast<double>(calcFittingLoss_mHd_Fluid(c)), QFluidDensity_kgs_m3[c]);
}

double TMatrixEquations::calcPipeCompressibleLoss_Bar(int c, double Flow_kgs, double InletPressure_Bar_g) const
{
    const double rho = QFluidDensity_kgs_m3[c];
    const double diameter = PipeDiameters_m[c];
    const double velocity = calcVelocity(Flow_kgs / rho, diameter, 1.0);
    const double reynolds = calcReynoldsNumber(velocity, diameter, QFluidCentipoise[c], rho, 1.0);
    const double friction = calcFrictionFactor(reynolds, diameter, PipeRoughnesses_m[c]);
    // The target flow travels in the place of the outlet pressure.
    return calcPressureDropKnownInlet(MatrixMethodOfCalculationCompressible, MatrixZCompressibilityModel,
                                      MatrixGasModel_Std_Temp_degrees_k, MatrixGasModel_Std_Pressure_Pa_a,
                                      MatrixPipelineEfficiencyE, InletPressure_Bar_g, Flow_kgs, Atmosphere_Bar_a,
                                      PipeLengths_m[c], diameter, PipeRoughnesses_m[c], friction, rho,
                                      QFluidPressure_bar_g[c], QFluidTemperature_degrees_k[c], QFluidCentipoise[c],
                                      MatrixZCompressibilityFactor);
}

double TMatrixEquations::calcPipeCompressibleLoss_Bar_DifferentialQkgs(int c, double InletPressure_Bar_g) const
{
    const double q = static_cast<double>(QkgsVariables[c]);
    const double high = 1.001 * q, low = 0.999 * q;
    const double dq = high - low;
    if (dq == 0)
        return 0;
    const double dp = calcPipeCompressibleLoss_Bar(c, high, InletPressure_Bar_g) -
                      calcPipeCompressibleLoss_Bar(c, low, InletPressure_Bar_g);
    if (dp == 0)
        return 0;
    return dp / dq;
}

void TMatrixEquations::clearColumnCaches()
{
    if (++headTermPass_ == 0) {
        std::fill(headTermStamp_.begin(), headTermStamp_.end(), 0);
        headTermPass_ = 1;
    }
    newHeadDerivativePass();
}

void TMatrixEquations::newHeadDerivativePass()
{
    if (++headDerivativePass_ == 0) {
        std::fill(headDerivativeStamp_.begin(), headDerivativeStamp_.end(), 0);
        headDerivativePass_ = 1;
    }
}

// A column without fittings adds zeros only.
inline Extended TMatrixEquations::plainDarcyHeadTerm(int c)
{
    Extended term = calcPipeFrictionLoss_Bar(c);
    if (Qm3sFittingLossCoefficents[c] != 0)
        term += calcFittingLoss_Bar(c);
    return term;
}

// At the flows of the last residual pass, whose friction factors it takes
// when the flow is the same.
inline Extended TMatrixEquations::plainDarcyHeadDerivative(int c)
{
    const double q = static_cast<double>(QkgsVariables[c]);
    const double rho = QFluidDensity_kgs_m3[c];
    const double flow = static_cast<double>(QkgsVariables[c] / rho);
    const double friction = frictionFlow_[at(c)] == flow ? friction_[at(c)] : frictionFactor(c, flow);
    const TPipeConstants &held = pipeConstants_[at(c)];
    const TPipeConstants &k = held.Diameter_m == PipeDiameters_m[c] && held.Length_m == PipeLengths_m[c] &&
                                      held.Density_kgm3 == rho
                                  ? held
                                  : pipeConstants(c);
    // calcDarcyPressureLossDerivative with its denominator kept.
    const long double pipe = 16.0L * q * friction * k.Length_m / k.DerivativeDenominator;
    // Without fittings the fitting derivative is +0 at any finite flow and
    // positive density; the sum then takes the same rounding as with it.
    const double resistance = Qm3sFittingLossCoefficents[c];
    const double fitting = resistance == 0 && rho > 0 && std::isfinite(q)
                               ? 0.0
                               : calcFittingLossDerivative(resistance, q, rho);
    return static_cast<Extended>(static_cast<double>(q < 0 ? -pipe : pipe)) + fitting;
}

// pipe loss + fitting loss + component loss - pump head of column c, in bar.
Extended TMatrixEquations::columnHeadTerm(int c)
{
    if (headTermStamp_[at(c)] == headTermPass_)
        return headTerm_[c];
    const double q = static_cast<double>(QkgsVariables[c]);
    const double rho = QFluidDensity_kgs_m3[c];
    const double diameter = PipeDiameters_m[c];
    Extended term = 0;
    if (MatrixCalculationMethod == MatrixCalculationMethodDarcy) {
        term = plainDarcyHeadTerm(c);
        if (columnHasComponent(c))
            term += QComponentPressure[c].calcLoss_Bar(q, rho, diameter);
        if (columnHasPump(c))
            term -= QPump[c].calcPumpHead_Bar(q, rho);
    } else if (MatrixCalculationMethod == MatrixCalculationMethodIsothermal) {
        const double t = QFluidTemperature_degrees_k[c];
        const double pRef = QFluidPressure_bar_g[c];
        const double pStart = PipeStartPressure_bar_g[c];
        const double z1 = calcCompressibilityZ(MatrixZCompressibilityModel, pStart, t, rho, pRef, t,
                                               MatrixZCompressibilityFactor);
        const double entry =
            calcGasFittingPressureLoss(q, diameter, EntryFittingLossKValues[c], rho, pRef, z1, pStart, Atmosphere_Bar_a);
        const double pump = QPump[c].calcPumpHead_Bar(q, rho);
        const double pIn = pStart - entry + pump;
        const double pipe = calcPipeCompressibleLoss_Bar(c, q, pIn);
        const double component = QComponentPressure[c].calcLoss_Bar(q, rho, diameter);
        const double pOut = pIn - (pipe + component);
        const double z2 = calcCompressibilityZ(MatrixZCompressibilityModel, pOut, t, rho, pRef, t,
                                               MatrixZCompressibilityFactor);
        const double exit =
            calcGasFittingPressureLoss(q, diameter, ExitFittingLossKValues[c], rho, pRef, z2, pOut, Atmosphere_Bar_a);
        term = static_cast<Extended>(pipe) + (entry + exit) + component - pump;
    }
    headTerm_[c] = term;
    headTermStamp_[at(c)] = headTermPass_;
    return term;
}

// The derivative by the column's mass flow of columnHeadTerm.
Extended TMatrixEquations::columnHeadDerivative(int c)
{
    if (headDerivativeStamp_[at(c)] == headDerivativePass_)
        return headDerivative_[c];
    const double q = static_cast<double>(QkgsVariables[c]);
    const double rho = QFluidDensity_kgs_m3[c];
    const double diameter = PipeDiameters_m[c];
    Extended d = 0;
    if (MatrixCalculationMethod == MatrixCalculationMethodDarcy) {
        d = plainDarcyHeadDerivative(c);
        if (columnHasComponent(c))
            d += QComponentPressure[c].calcLoss_Bar_DifferentialQkgs(q, rho, diameter);
        if (columnHasPump(c))
            d -= QPump[c].calcPumpHead_Bar_DifferentialQkgs(q, rho);
    } else if (MatrixCalculationMethod == MatrixCalculationMethodIsothermal) {
        const double t = QFluidTemperature_degrees_k[c];
        const double pRef = QFluidPressure_bar_g[c];
        const double pStart = PipeStartPressure_bar_g[c];
        const double z1 = calcCompressibilityZ(MatrixZCompressibilityModel, pStart, t, rho, pRef, t,
                                               MatrixZCompressibilityFactor);
        const double entry =
            calcGasFittingPressureLoss(q, diameter, EntryFittingLossKValues[c], rho, pRef, z1, pStart, Atmosphere_Bar_a);
        const double pump = QPump[c].calcPumpHead_Bar(q, rho);
        const double pIn = pStart - entry + pump;
        const double pipe = calcPipeCompressibleLoss_Bar(c, q, pIn);
        const double component = QComponentPressure[c].calcLoss_Bar(q, rho, diameter);
        const double pOut = pIn - (pipe + component);
        const double z2 = calcCompressibilityZ(MatrixZCompressibilityModel, pOut, t, rho, pRef, t,
                                               MatrixZCompressibilityFactor);
        d = static_cast<Extended>(calcPipeCompressibleLoss_Bar_DifferentialQkgs(c, pIn)) +
            calcGasFittingPressureLossDerivative(q, diameter, EntryFittingLossKValues[c], rho, pRef, z1, pStart,
                                                 Atmosphere_Bar_a) +
            calcGasFittingPressureLossDerivative(q, diameter, ExitFittingLossKValues[c], rho, pRef, z2, pOut,
                                                 Atmosphere_Bar_a) +
            QComponentPressure[c].calcLoss_Bar_DifferentialQkgs(q, rho, diameter) -
            QPump[c].calcPumpHead_Bar_DifferentialQkgs(q, rho);
    }
    headDerivative_[c] = d;
    headDerivativeStamp_[at(c)] = headDerivativePass_;
    return d;
}

void TMatrixEquations::CalculateF(bool &success)
{
    success = true;
    clearColumnCaches();
    try {
        const bool darcy = MatrixCalculationMethod == MatrixCalculationMethodDarcy;
        if (darcy)
            frictionFactorsAtCurrentFlows();
        notePattern();
        // The Darcy head terms in one pass over the columns that have one;
        // the other laws work theirs out as the rows ask.
        if (darcy) {
            noteHeadColumnKinds();
            for (const int c : plainHeadColumns_) {
                headTerm_[c] = plainDarcyHeadTerm(c);
                headTermStamp_[at(c)] = headTermPass_;
            }
            for (const int c : otherHeadColumns_)
                columnHeadTerm(c);
        }
        const Extended *flows = QkgsVariables.data();
        const Extended *heads = headTerm_.data();
        for (int r = 1; r <= DimensionY; ++r) {
            const int first = patternStart_[at(r - 1)], last = patternStart_[at(r)];
            // Each element adds or takes away its term, in column order: a
            // term times its sign of 1 or -1 adds exactly what the
            // subtraction takes.
            Extended f = 0;
            const char kind = patternRowKind_[at(r)];
            if (kind == FlowRow || kind == EmptyRow) {
                for (int e = first; e < last; ++e)
                    f += patternSigns_[at(e)] * flows[patternColumns_[at(e)]];
            } else if (kind == HeadRow && darcy) {
                for (int e = first; e < last; ++e)
                    f += patternSigns_[at(e)] * heads[patternColumns_[at(e)]];
            } else {
                for (int e = first; e < last; ++e) {
                    const int c = patternColumns_[at(e)];
                    switch (patternElements_[at(e)]) {
                    case one:
                        f += QkgsVariables[c];
                        break;
                    case minus_one:
                        f -= QkgsVariables[c];
                        break;
                    case HeadKqn:
                        f += columnHeadTerm(c);
                        break;
                    case minus_HeadKqn:
                        f -= columnHeadTerm(c);
                        break;
                    default:
                        break;
                    }
                }
            }
            FResults[r] = f - QKnowns[r];
        }
        if (headFlagsPattern_ != patternVersion_ || headFlagsRows_ != DimensionY) {
            for (int r = 1; r <= DimensionY; ++r)
                FResultsContainsHeadTerms[r] = patternRowHasHead_[at(r)] != 0;
            headFlagsPattern_ = patternVersion_;
            headFlagsRows_ = DimensionY;
        }
    } catch (...) {
        success = false;
    }
}

void TMatrixEquations::CalculateDMatrix()
{
    newHeadDerivativePass();
    notePattern();
    const bool constantsHeld = dMatrixFollowsPattern();
    const bool patternOnly = beginDMatrixPass();
    // Every column's derivative in one pass over the columns that have one.
    if (MatrixCalculationMethod == MatrixCalculationMethodDarcy) {
        noteHeadColumnKinds();
        for (const int c : plainHeadColumns_) {
            headDerivative_[c] = plainDarcyHeadDerivative(c);
            headDerivativeStamp_[at(c)] = headDerivativePass_;
        }
        for (const int c : otherHeadColumns_)
            columnHeadDerivative(c);
    } else {
        for (const int c : headColumns_)
            columnHeadDerivative(c);
    }
    // The head elements take the derivatives now, or when someone other
    // than the loop form reads them; on a table laid out by the pattern
    // (or still all zero) nothing else needs them.
    const bool wait = patternOnly && derivativeHeadsMayWait_ && prepareLoopSolver();
    derivativeHeadsPending_ = wait;
    if (constantsHeld && !wait) {
        // The flow elements hold their constants.
        for (const TPatternEntry &entry : headEntries_) {
            const Extended d = headDerivative_[entry.Column];
            DMatrix.RowKeepingVersion(entry.Row)[entry.Column] = entry.Minus ? -d : d;
        }
    }
    if (!constantsHeld && wait) {
        // The flow elements only; rows of head elements stay untouched.
        for (int r = 1; r <= DimensionY; ++r) {
            if (!(patternRowKind_[at(r)] & FlowRow))
                continue;
            Extended *row = DMatrix.RowKeepingVersion(r);
            for (int e = patternStart_[at(r - 1)]; e < patternStart_[at(r)]; ++e) {
                const TMatrixElementEnum element = patternElements_[at(e)];
                if (element == one || element == minus_one)
                    row[patternColumns_[at(e)]] = element == one ? 1.0L : -1.0L;
            }
        }
    }
    for (int r = 1; r <= (constantsHeld || wait ? 0 : DimensionY); ++r) {
        const TMatrixElementEnum *pattern = std::as_const(QMatrix)[r];
        Extended *row = DMatrix.RowKeepingVersion(r);
        const int first = patternOnly ? patternStart_[r - 1] : 1;
        const int last = patternOnly ? patternStart_[r] - 1 : DimensionX;
        for (int e = first; e <= last; ++e) {
            const int c = patternOnly ? patternColumns_[e] : e;
            switch (pattern[c]) {
            case one:
                row[c] = 1.0L;
                break;
            case minus_one:
                row[c] = -1.0L;
                break;
            case HeadKqn:
                row[c] = columnHeadDerivative(c);
                break;
            case minus_HeadKqn:
                row[c] = -columnHeadDerivative(c);
                break;
            default:
                row[c] = 0;
                break;
            }
        }
    }
    noteDMatrixFollowsPattern();
    for (int r = 1; r <= DimensionY; ++r)
        FValues[r] = FResults[r];
}

void TMatrixEquations::writePendingDerivatives()
{
    if (!derivativeHeadsPending_)
        return;
    derivativeHeadsPending_ = false;
    // Someone else has since written DMatrix, or the pattern has changed:
    // the next derivative pass writes every entry.
    if (!dMatrixFollowsPattern())
        return;
    for (const TPatternEntry &entry : headEntries_) {
        const Extended d = headDerivative_[entry.Column];
        DMatrix.RowKeepingVersion(entry.Row)[entry.Column] = entry.Minus ? -d : d;
    }
}

inline void TMatrixEquations::notePatternEntry(int row, int column, TMatrixElementEnum element)
{
    patternColumns_.push_back(column);
    patternElements_.push_back(element);
    patternRowKind_[at(row)] |= element == one || element == minus_one ? FlowRow : HeadRow;
    if (element == HeadKqn || element == minus_HeadKqn) {
        headEntries_.push_back({row, column, element == minus_HeadKqn});
        patternRowHasHead_[at(row)] = 1;
    }
}

void TMatrixEquations::notePattern()
{
    if (patternNoted())
        return;
    dMatrixFollows_ = false;
    patternStart_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, 0);
    patternColumns_.clear();
    patternElements_.clear();
    patternRowHasHead_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, 0);
    patternRowKind_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, EmptyRow);
    headEntries_.clear();
    static_assert(sizeof(TMatrixElementEnum) == 1);
    for (int r = 1; r <= DimensionY; ++r) {
        const TMatrixElementEnum *row = std::as_const(QMatrix)[r];
        // A row holds a few elements among many zeros: eight columns at a
        // time are passed over while they are all zero.
        int c = 1;
        while (c <= DimensionX) {
            if (c + 7 <= DimensionX) {
                std::uint64_t word = 0;
                std::memcpy(&word, row + c, sizeof word);
                if (word == 0) {
                    c += 8;
                    continue;
                }
            }
            if (row[c] != zero)
                notePatternEntry(r, c, row[c]);
            ++c;
        }
        patternStart_[r] = static_cast<int>(patternColumns_.size());
    }
    finishPattern();
    patternVersion_ = QMatrix.Version();
    patternRows_ = DimensionY;
    patternColumnCount_ = DimensionX;
    patternHoldsEveryWrite_ = false;
}

void TMatrixEquations::finishPattern()
{
    patternSigns_.resize(patternElements_.size());
    for (std::size_t e = 0; e < patternElements_.size(); ++e)
        patternSigns_[e] = patternElements_[e] == minus_one || patternElements_[e] == minus_HeadKqn ? -1.0 : 1.0;
    std::vector<char> hasHead(static_cast<std::size_t>(std::max(DimensionX, 0)) + 1, 0);
    for (const TPatternEntry &entry : headEntries_)
        hasHead[at(entry.Column)] = 1;
    headColumns_.clear();
    for (int c = 1; c <= DimensionX; ++c)
        if (hasHead[at(c)])
            headColumns_.push_back(c);
    headKindsNoted_ = false;
}

void TMatrixEquations::noteHeadColumnKinds()
{
    if (headKindsNoted_ && headKindsPattern_ == patternVersion_ && headKindsRecords_ == recordsVersion_)
        return;
    plainHeadColumns_.clear();
    otherHeadColumns_.clear();
    for (const int c : headColumns_)
        (plainHeadColumn(c) ? plainHeadColumns_ : otherHeadColumns_).push_back(c);
    headKindsPattern_ = patternVersion_;
    headKindsRecords_ = recordsVersion_;
    headKindsNoted_ = true;
}

void TMatrixEquations::AdoptPattern(std::vector<TElementPosition> &written)
{
    const auto before = [](const TElementPosition &a, const TElementPosition &b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
    };
    // Rows come in order; the few columns of each row are sorted in place.
    bool rowsAscending = true;
    for (std::size_t i = 1; i < written.size() && rowsAscending; ++i)
        rowsAscending = written[i - 1].Row <= written[i].Row;
    if (!rowsAscending) {
        std::sort(written.begin(), written.end(), before);
    } else {
        for (std::size_t first = 0; first < written.size();) {
            std::size_t last = first + 1;
            while (last < written.size() && written[last].Row == written[first].Row)
                ++last;
            std::sort(written.begin() + static_cast<std::ptrdiff_t>(first),
                      written.begin() + static_cast<std::ptrdiff_t>(last), before);
            first = last;
        }
    }
    dMatrixFollows_ = false;
    patternStart_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, 0);
    patternColumns_.clear();
    patternElements_.clear();
    patternRowHasHead_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, 0);
    patternRowKind_.assign(static_cast<std::size_t>(std::max(DimensionY, 0)) + 1, EmptyRow);
    headEntries_.clear();
    int row = 1;
    bool holdsEveryWrite = true;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const TElementPosition &p = written[i];
        if (p.Row < 1 || p.Row > DimensionY || p.Column < 1 || p.Column > DimensionX) {
            holdsEveryWrite = false;
            continue;
        }
        if (i > 0 && p.Row == written[i - 1].Row && p.Column == written[i - 1].Column)
            continue;
        const TMatrixElementEnum element = std::as_const(QMatrix)[p.Row][p.Column];
        if (element == zero)
            continue;
        for (; row < p.Row; ++row)
            patternStart_[at(row)] = static_cast<int>(patternColumns_.size());
        notePatternEntry(p.Row, p.Column, element);
    }
    for (; row <= DimensionY; ++row)
        patternStart_[at(row)] = static_cast<int>(patternColumns_.size());
    finishPattern();
    patternVersion_ = QMatrix.Version();
    patternRows_ = DimensionY;
    patternColumnCount_ = DimensionX;
#ifndef NDEBUG
    // The whole-table scan finds the same pattern.
    const std::vector<int> start = patternStart_, columns = patternColumns_;
    patternRows_ = -1;
    notePattern();
    if (start != patternStart_ || columns != patternColumns_)
        throw EMatrixEquations("The generated pattern differs from the equation table.");
#endif
    patternHoldsEveryWrite_ = holdsEveryWrite;
}

void TMatrixEquations::clearQMatrix()
{
    // A generated table whose every write lies in the pattern, untouched
    // since: zeroing the pattern's entries clears it, without going over
    // whole rows of the table's capacity.
    if (!(patternHoldsEveryWrite_ && patternNoted())) {
        QMatrix.Clear();
        return;
    }
    for (int r = 1; r <= patternRows_; ++r) {
        TMatrixElementEnum *row = QMatrix.RowKeepingVersion(r);
        for (int e = patternStart_[at(r - 1)]; e < patternStart_[at(r)]; ++e)
            row[patternColumns_[at(e)]] = zero;
    }
    QMatrix.ForgetWrites();
    patternHoldsEveryWrite_ = false;
}

void TMatrixEquations::addDMatrixToSparseSolver(int rows, int columns)
{
    const bool patternOnly = dMatrixFollowsPattern();
    for (int r = 1; r <= rows; ++r) {
        SparseSolvAddRHS(r, static_cast<double>(FResults[r]));
        const Extended *row = std::as_const(DMatrix)[r];
        int c = 1;
        if (patternOnly && r <= DimensionY) {
            // Outside the pattern the block up to DimensionX holds zeros.
            for (int e = patternStart_[r - 1]; e < patternStart_[r]; ++e) {
                const int p = patternColumns_[e];
                if (p <= columns && row[p] != 0)
                    SparseSolvAddLHS(r, p, static_cast<double>(row[p]));
            }
            c = DimensionX + 1;
        }
        for (; c <= columns; ++c)
            if (row[c] != 0)
                SparseSolvAddLHS(r, c, static_cast<double>(row[c]));
    }
}

bool TMatrixEquations::patternNoted() const
{
    return patternRows_ == DimensionY && patternColumnCount_ == DimensionX && patternVersion_ == QMatrix.Version();
}

bool TMatrixEquations::dMatrixFollowsPattern() const
{
    return dMatrixFollows_ && dMatrixVersion_ == DMatrix.Version() && patternNoted();
}

bool TMatrixEquations::beginDMatrixPass()
{
    const bool patternOnly =
        dMatrixFollowsPattern() || (dMatrixZero_ && dMatrixZeroVersion_ == DMatrix.Version());
    dMatrixZero_ = false;
    return patternOnly;
}

void TMatrixEquations::noteDMatrixFollowsPattern()
{
    dMatrixFollows_ = patternNoted();
    dMatrixVersion_ = DMatrix.Version();
}

// --- Accuracy record and queries --------------------------------------------------------

void TMatrixEquations::ClearBestAccuracyFound()
{
    FResultBestFlowKgsAccuracy = 1.0E10;
    FResultBestHeadBarAccuracy = 1.0E10;
}

void TMatrixEquations::LogBestAccuracyFound(TResultsLog &Log, TUnit MassFlowUnit, TUnit HeadUnit) const
{
    if (FResultBestFlowKgsAccuracy != 0)
        Log.Add("Flows Balanced to " +
                formatFixed(8, convertUnit(unt_kg_sec, MassFlowUnit, static_cast<double>(FResultBestFlowKgsAccuracy))) +
                " " + unitName(MassFlowUnit));
    if (FResultBestHeadBarAccuracy != 0) {
        Log.Add("Loops Balanced to " +
                formatFixed(8, convertPressure(unt_Bar_G, HeadUnit, static_cast<double>(FResultBestHeadBarAccuracy), 0,
                                               0)) +
                " " + unitPlainName(HeadUnit));
        Log.Add(" ");
    } else {
        Log.Add("Loops Balanced.");
        Log.Add(" ");
    }
}

bool TMatrixEquations::IsAnyQVariableNegative() const
{
    for (int c = 1; c <= DimensionX; ++c)
        if (QkgsVariables[c] < -MinFlowTermsAccuracy_kgs)
            return true;
    return false;
}

double TMatrixEquations::GetMaxQDeltaPercentage() const
{
    Extended largest = 0;
    for (int c = 1; c <= DimensionX; ++c)
        if (QkgsVariables[c] > 0.001)
            largest = std::max(largest, std::fabs(QDeltas[c] / QkgsVariables[c]) * 100.0L);
    return static_cast<double>(largest);
}

// --- Vector utilities -------------------------------------------------------------------

void TMatrixEquations::SaveQkgsVariables()
{
    std::copy_n(QkgsVariables.begin() + 1, DimensionX, QkgsVariablesSaved.begin() + 1);
}

void TMatrixEquations::RestoreQkgsVariables()
{
    std::copy_n(QkgsVariablesSaved.begin() + 1, DimensionX, QkgsVariables.begin() + 1);
    CalculateQm3sVariables();
}

// The flows of a generated system and of its curve transformations lie
// within 1..vectorsUsed_; the entries beyond are never read. A system written
// directly keeps every entry.
int TMatrixEquations::usedEntries() const { return recordsTracked_ ? vectorsUsed_ : MaxDimension; }

// The linear theory reads back the flows of the pipes and of the curve
// transformation columns; a tracked system gains at most one such column for
// each pump and each component record written, and the Newton passes read the
// pipes' flows only.
int TMatrixEquations::linearTheoryFlowEntries() const
{
    if (!recordsTracked_)
        return usedEntries();
    const int curves = 2 * static_cast<int>(writtenRecords_.size());
    return std::min(usedEntries(), std::max(DimensionX, DimensionXWithLinearTransformationEquations) + curves);
}

void TMatrixEquations::SaveQkgsVariablesLinearTheory()
{
    std::memcpy(static_cast<void *>(QkgsVariablesLinearTheorySaved.data()), QkgsVariables.data(),
                at(linearTheoryFlowEntries() + 1) * sizeof(Extended));
}

void TMatrixEquations::RestoreQkgsVariablesLinearTheory()
{
    std::memcpy(static_cast<void *>(QkgsVariables.data()), QkgsVariablesLinearTheorySaved.data(),
                at(linearTheoryFlowEntries() + 1) * sizeof(Extended));
}

void TMatrixEquations::SetQkgsVariablesToUnity()
{
    // A column may gain a transformation column for its pump curve and one
    // for its component curve: every flow the linear theory can use starts
    // at the same value.
    vectorsUsed_ = std::max(vectorsUsed_, std::min(MaxDimension, 3 * std::max(DimensionX, DimensionY)));
    std::fill(QkgsVariables.begin() + 1, QkgsVariables.begin() + usedEntries() + 1, 100.0L);
}

void TMatrixEquations::SaveQDeltas() { std::copy_n(QDeltas.begin() + 1, DimensionX, QDeltasSaved.begin() + 1); }

void TMatrixEquations::RestoreQDeltas() { std::copy_n(QDeltasSaved.begin() + 1, DimensionX, QDeltas.begin() + 1); }

void TMatrixEquations::SaveQDeltasToP()
{
    for (int c = 1; c <= DimensionX; ++c)
        p[c] = -QDeltas[c];
}

void TMatrixEquations::RestoreQDeltasFromP()
{
    for (int c = 1; c <= DimensionX; ++c)
        QDeltas[c] = -p[c];
}

void TMatrixEquations::AdjustQDeltas(double Multiplier)
{
    for (int c = 1; c <= DimensionX; ++c)
        QDeltas[c] *= Multiplier;
}

void TMatrixEquations::CalculateQDeltaSize()
{
    Extended sum = 0;
    for (int c = 1; c <= DimensionX; ++c)
        sum += QDeltas[c] * QDeltas[c];
    QDeltaSize = std::sqrt(sum);
}

void TMatrixEquations::CalculateFGradient()
{
    for (int i = 1; i <= DimensionX; ++i) {
        const Extended *row = std::as_const(DMatrix)[i];
        Extended sum = 0;
        for (int k = 1; k <= DimensionX; ++k)
            sum += FResults[k] * row[k];
        FGradient[i] = sum;
        g[i] = sum;
    }
}

void TMatrixEquations::CalculateFSlope()
{
    Extended sum = 0;
    for (int c = 1; c <= DimensionX; ++c)
        sum += FGradient[c] * -QDeltas[c];
    FSlope = sum;
}

void TMatrixEquations::QMatrixSetRowToZero(int row)
{
    if (row < 1 || row > MaxDimension)
        return;
    TMatrixElementEnum *entries = QMatrix[row];
    std::fill(entries + 1, entries + MaxDimension + 1, zero);
}

// --- Debug listings ------------------------------------------------------------------------

namespace {

std::string number(Extended value) { return formatFixed(8, static_cast<double>(value), '.'); }

template <typename Vector>
void printVector(TResultsLog &memo, const char *name, const Vector &values, int count)
{
    memo.Add(std::string("----") + name);
    for (int i = 1; i <= count; ++i)
        memo.Add(std::string(name) + "[" + std::to_string(i) + "]=" + number(values[static_cast<std::size_t>(i)]));
}

} // namespace

void TMatrixEquations::PrintQMatrix(TResultsLog &TheMemo) const
{
    TheMemo.Add("----QMatrix");
    static const char *const names[] = {"0", "1", "-1", "Kqn", "-Kqn"};
    for (int r = 1; r <= DimensionY; ++r) {
        std::string line = "QMatrix[" + std::to_string(r) + "]=";
        for (int c = 1; c <= DimensionX; ++c)
            line += std::string(c > 1 ? " " : "") + names[std::as_const(QMatrix)[r][c]];
        TheMemo.Add(line);
    }
}

void TMatrixEquations::PrintQKnowns(TResultsLog &TheMemo) const { printVector(TheMemo, "QKnowns", QKnowns, DimensionY); }

void TMatrixEquations::PrintFResults(TResultsLog &TheMemo) const { printVector(TheMemo, "FResults", FResults, DimensionY); }

void TMatrixEquations::PrintDMatrix(TResultsLog &TheMemo) const
{
    TheMemo.Add("----DMatrix");
    for (int r = 1; r <= DimensionYWithLinearTransformationEquations; ++r) {
        std::string line = "DMatrix[" + std::to_string(r) + "]=";
        for (int c = 1; c <= DimensionXWithLinearTransformationEquations; ++c)
            line += std::string(c > 1 ? " " : "") + number(DMatrix[r][c]);
        TheMemo.Add(line);
    }
}

void TMatrixEquations::PrintQDeltasEquations(TResultsLog &TheMemo) const
{
    printVector(TheMemo, "QDeltas", QDeltas, DimensionX);
}

void TMatrixEquations::PrintQkgsVariables(TResultsLog &TheMemo) const
{
    printVector(TheMemo, "QkgsVariables", QkgsVariables, DimensionXWithLinearTransformationEquations);
}

void TMatrixEquations::PrintKVariables(TResultsLog &TheMemo) const
{
    TRealVector K, N;
    resolvedPipeLaws(K, N);
    printVector(TheMemo, "KVariables", K, DimensionX);
}

void TMatrixEquations::PrintNVariables(TResultsLog &TheMemo) const
{
    TRealVector K, N;
    resolvedPipeLaws(K, N);
    printVector(TheMemo, "NVariables", N, DimensionX);
}

void TMatrixEquations::PrintQFittingLossCoefficents(TResultsLog &TheMemo) const
{
    printVector(TheMemo, "QFittingLossCoefficents", Qm3sFittingLossCoefficents, DimensionX);
}

void TMatrixEquations::PrintQPumpHeadCoefficents(TResultsLog &TheMemo) const
{
    TheMemo.Add("----QPumpHeadCoefficents");
    for (int c = 1; c <= DimensionX; ++c) {
        double a = 0, b = 0, c0 = 0;
        if (QPump[c].PumpPoints.PointsCount > 0)
            QPump[c].LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(QFluidDensity_kgs_m3[c], a, b, c0);
        TheMemo.Add("QPumpHeadCoefficents[" + std::to_string(c) + "]=" + number(a) + " " + number(b) + " " +
                    number(c0));
    }
}

} // namespace tessaran
