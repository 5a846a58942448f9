#pragma once
// The equation system of one network calculation and its iterations.
//
// The unknowns are the mass flows (kg/s) of the pipes that take part in the
// calculation: column c is the flow of the pipe in position c of the
// network's active link table, positive from the link's FromNodeId to its
// ToNodeId. The equations are one flow-continuity equation per joint
// (residual in kg/s) and one energy equation per loop or per path between two
// fixed-pressure nodes (residual in bar). The network generates the equations
// into this object, sets the tolerances and limits, runs one of the
// iterations and reads the flows back.
//
// Source files by concern:
//   Matrix_Equations.cpp      storage, set-up, element laws, residuals and
//                             derivatives, accuracy record, vector utilities
//   Matrix_Newton.cpp         the Newton-Raphson iteration and its sparse step
//   Matrix_Linear_Theory.cpp  the linear theory and the dense elimination
//
// All storage, the two 2000-by-2000 matrices included, is allocated once when
// the object is created; no iteration allocates apart from the sparse
// solver's own work storage.

#include "model/Component_Pressure_Class.h"
#include "model/Pump_Class.h"
#include "network/User_Interface_Seam.h"
#include "platform/Pascal.h"
#include "units/Calculation_Enums.h"
#include "units/Calculations.h"
#include "units/Units.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

namespace tessaran {

class EMatrixEquations : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How a flow variable enters an equation.
enum TMatrixElementEnum : std::uint8_t { zero = 0, one = 1, minus_one = 2, HeadKqn = 3, minus_HeadKqn = 4 };

// The element law an iteration applies to a pipe.
enum TMatrixCalculationMethod : std::uint8_t {
    MatrixCalculationMethodDarcy = 0,
    MatrixCalculationMethodIsothermal = 1,
};

// A square table addressed [row][column], both 1..Size, allocated once and
// zero-filled by the system's pages: rows that are never written cost no
// memory. Clear zeroes only the rows written since the last Clear, so a large
// capacity stays cheap for the small systems that are the common case.
template <typename T>
class TFixedMatrix {
public:
    explicit TFixedMatrix(int size)
        : size_(size), stride_(static_cast<std::size_t>(size) + 1),
          data_(static_cast<T *>(std::calloc(stride_ * stride_, sizeof(T))))
    {
        if (!data_)
            throw std::bad_alloc();
    }
    TFixedMatrix(const TFixedMatrix &) = delete;
    TFixedMatrix &operator=(const TFixedMatrix &) = delete;
    ~TFixedMatrix() { std::free(data_); }

    int Size() const { return size_; }
    // Row r as an array addressed by column; writing marks the row as used.
    T *operator[](int r)
    {
        ++version_;
        return RowKeepingVersion(r);
    }
    // Row r for a writer that keeps its own account of what it changes: the
    // row is marked as used but Version stays.
    T *RowKeepingVersion(int r)
    {
        if (r > rowsWritten_)
            rowsWritten_ = r;
        return data_ + static_cast<std::size_t>(r) * stride_;
    }
    // Changes whenever a row is handed out for writing or the table is
    // cleared, so that a reader can tell whether a layout it noted still holds.
    std::uint64_t Version() const { return version_; }
    const T *operator[](int r) const { return data_ + static_cast<std::size_t>(r) * stride_; }
    void Clear()
    {
        ++version_;
        if (rowsWritten_ >= 0)
            std::memset(static_cast<void *>(data_), 0, (static_cast<std::size_t>(rowsWritten_) + 1) * stride_ * sizeof(T));
        rowsWritten_ = -1;
    }
    // For a caller that has itself zeroed every entry written since the
    // last Clear: the table counts as cleared without going over its rows.
    void ForgetWrites()
    {
        ++version_;
        rowsWritten_ = -1;
    }
    void SwapRows(int a, int b, int columns)
    {
        T *ra = (*this)[a];
        T *rb = (*this)[b];
        for (int c = 1; c <= columns; ++c)
            std::swap(ra[c], rb[c]);
    }

private:
    int size_;
    std::size_t stride_;
    T *data_;
    int rowsWritten_ = -1;
    std::uint64_t version_ = 0;
};

class TLoopCorrectionSolver;

class TMatrixEquations {
public:
    static constexpr int MaxDimension = 2000;

    // Every network creates its systems with MaxDimension by MaxDimension.
    TMatrixEquations(int pDimensionX, int pDimensionY);
    TMatrixEquations(const TMatrixEquations &) = delete;
    TMatrixEquations &operator=(const TMatrixEquations &) = delete;

    // Resets the system for a new generation (the fitting arrays, the
    // tolerances other than the head tolerance in force and the counters stay).
    void ClearResults(int pDimensionX, int pDimensionY);

    // Column records of pumps and components. A generator that declares
    // TrackColumnRecords after ClearResults, with the most equations it
    // writes, writes every record through
    // SetColumnPump and SetColumnComponentPressure; the others then stay as
    // cleared, the element laws pass them over and the next ClearResults
    // clears only those written. Without the declaration (a system written
    // directly) every law reads every record and ClearResults clears the
    // records of the last and the next system.
    void TrackColumnRecords(int rows);
    // For such a generator: the positions of QMatrix it wrote since
    // ClearResults (rows ascending, any column order, repeats allowed) are
    // taken as the pattern of rows 1..DimensionY and columns 1..DimensionX
    // as it stands, without a scan of the whole table.
    struct TElementPosition {
        int Row, Column;
    };
    void AdoptPattern(std::vector<TElementPosition> &written);
    void SetColumnPump(int c, const TPump &pump);
    void SetColumnComponentPressure(int c, const TComponentPressure &component);
    // The linear theory's pipe law of a generated column at its generated
    // flow. The linear theory works the law out afresh at its own flows
    // before it reads KVariables and NVariables, and the Newton iteration
    // never reads them, so a generation notes only what the law is worked
    // out from; ResolveGeneratedPipeLaws (and the debug listings) work it out
    // for a reader that wants the law of the generated flows.
    void NoteGeneratedPipeLaw(int c, double Length_m, double MassFlow_kgs, double Diameter_m, double Roughness_m,
                              double Viscosity_cP, double Density_kgm3);
    void ResolveGeneratedPipeLaws();

    // --- Newton-Raphson (Matrix_Newton.cpp) -----------------------------------
    // Status: 0 no condition, 1 the step multiplier fell below its floor, -1
    // the latest step's linear system had no solution, -3 an exception.
    void SolveQkgsVariables(bool &Solved, int &ResultStatus, std::string &ResultString, TResultsLog &Log,
                            TMatrixCalculationMethod TheMatrixCalculationMethod);
    void SolveQDeltasFromDMatrixUsingSparSolv(bool &solved, int &ResultStatus, std::string &ResultString,
                                              TResultsLog &Log);
    void SubtractQDeltasFromQkgsVariables(Extended Lambda);
    bool CheckFAccurate();
    void CalculateFResultsSize(Extended &FResultsSize, bool &Success);
    void CalculateAndCheckFAccurate(bool &Success, bool &FResultAccurate, Extended &FResultSize);

    // --- Element laws, residuals and derivatives (Matrix_Equations.cpp) --------
    void CalculateQm3sVariables();
    void CalculateF(bool &success);
    void CalculateDMatrix();

    // --- Accuracy record and queries -----------------------------------------------
    void ClearBestAccuracyFound();
    void LogBestAccuracyFound(TResultsLog &Log, TUnit MassFlowUnit, TUnit HeadUnit) const;
    bool IsAnyQVariableNegative() const;
    double GetMaxQDeltaPercentage() const;

    // --- Vector utilities ----------------------------------------------------------
    void SaveQkgsVariables();
    void RestoreQkgsVariables();
    void SaveQkgsVariablesLinearTheory();
    void RestoreQkgsVariablesLinearTheory();
    void SetQkgsVariablesToUnity();
    void SaveQDeltas();
    void RestoreQDeltas();
    void SaveQDeltasToP();
    void RestoreQDeltasFromP();
    void AdjustQDeltas(double Multiplier);
    void CalculateQDeltaSize();
    void CalculateFGradient();
    void CalculateFSlope();
    void QMatrixSetRowToZero(int row);

    // --- Linear theory and dense elimination (Matrix_Linear_Theory.cpp) ----------
    void LinearTheorySolveQkgsVariables(bool &Solved, int &ResultStatus, std::string &ResultString,
                                        TResultsLog &Log);
    void LinearTheoryCalculatePipeKNVariables_Qkgs();
    void LinearTheoryCalculatePipeKLinearVariables_Qkgs();
    void LinearTheoryCalculateDMatrix();
    void LinearTheoryIncludePumpHeadBar(int j, int i, TMatrixElementEnum MatrixElementEnum);
    void LinearTheoryIncludeComponentHeadBar(int j, int i, TMatrixElementEnum MatrixElementEnum);
    void LinearTheoryIncludePumpTransformationEquations();
    void LinearTheoryIncludeComponentTransformationEquations();
    void LinearTheorySolveQkgsVariablesUsingSparSolv(int &solveStatus, TResultsLog &Log);
    void LinearTheoryCheckConvergenceQkgs(bool &Converged) const;
    void LinearTheorySolveQkgsVariablesFromDMatrix();

    void SolveQkgsVariablesForFlowContinuity(bool &Solved, int &ResultStatus, std::string &ResultString,
                                             TResultsLog &Log);
    void CalculateDMatrixAndGaussElimForFlowContinuity(bool &Success);
    void DMatrixGaussElim(bool &Success);
    void SolveQDeltas(bool &solved, int &ResultStatus, std::string &ResultString, TResultsLog &Log);

    // --- Debug listings ------------------------------------------------------------
    void PrintQMatrix(TResultsLog &TheMemo) const;
    void PrintQKnowns(TResultsLog &TheMemo) const;
    void PrintFResults(TResultsLog &TheMemo) const;
    void PrintDMatrix(TResultsLog &TheMemo) const;
    void PrintQDeltasEquations(TResultsLog &TheMemo) const;
    void PrintQkgsVariables(TResultsLog &TheMemo) const;
    void PrintKVariables(TResultsLog &TheMemo) const;
    void PrintNVariables(TResultsLog &TheMemo) const;
    void PrintQFittingLossCoefficents(TResultsLog &TheMemo) const;
    void PrintQPumpHeadCoefficents(TResultsLog &TheMemo) const;

    // --- Data ------------------------------------------------------------------------
    // Vectors are addressed 1..MaxDimension (entry 0 unused).
    using TExtendedVector = std::vector<Extended>;
    using TRealVector = std::vector<double>;
    using TIntegerVector = std::vector<std::int32_t>;

    std::int32_t DimensionX = 0;
    std::int32_t DimensionXWithLinearTransformationEquations = 0;
    std::int32_t DimensionY = 0;
    std::int32_t DimensionYWithLinearTransformationEquations = 0;
    TMatrixCalculationMethod MatrixCalculationMethod = MatrixCalculationMethodDarcy;
    TMethodOfCalculationCompressible MatrixMethodOfCalculationCompressible = CompleteIsothermalFlowEquation;
    double MatrixGasModel_Std_Temp_degrees_k = 0;
    double MatrixGasModel_Std_Pressure_Pa_a = 0;
    double MatrixPipelineEfficiencyE = 0;
    TZCompressibilityModel MatrixZCompressibilityModel = IdealGasLawModel;
    double MatrixZCompressibilityFactor = 0;
    TExtendedVector x, xold, p, g;
    TFixedMatrix<TMatrixElementEnum> QMatrix{MaxDimension};
    TExtendedVector QkgsVariables;
    TExtendedVector QkgsVariablesSaved;
    TIntegerVector QkgsVariablesOrdering, QkgsVariablesOrderingSaved;
    TExtendedVector QkgsVariablesLinearTheorySaved;
    TExtendedVector Qm3sVariables;
    TExtendedVector Qm3sVariablesSaved;
    TRealVector PipeDiameters_m, PipeRoughnesses_m, PipeLengths_m;
    TRealVector PipeStartPressure_bar_g;
    TRealVector QFluidCentipoise, QFluidDensity_kgs_m3, QFluidPressure_bar_g, QFluidTemperature_degrees_k;
    double Atmosphere_Bar_a = 0;
    TExtendedVector QKnowns;
    TExtendedVector FResults;
    TExtendedVector FGradient;
    Extended FSlope = 0;
    std::vector<bool> FResultsContainsHeadTerms;
    TFixedMatrix<Extended> DMatrix{MaxDimension};
    TExtendedVector QDeltas;
    TExtendedVector QDeltasSaved;
    Extended QDeltaSize = 0;
    TExtendedVector FValues;
    TRealVector Qm3sFittingLossCoefficents;
    TRealVector EntryFittingLossKValues, ExitFittingLossKValues;
    std::vector<TComponentPressure> QComponentPressure;
    TIntegerVector QComponentPressureLinearTheoryXIndex;
    std::vector<TPump> QPump;
    TIntegerVector QPumpLinearTheoryXIndex;
    TRealVector KVariables, NVariables, LinearTheoryKVariables;
    std::int32_t LinearTheoryPumpCount = 0;
    std::int32_t LinearTheoryComponentCount = 0;
    TExtendedVector TempRow;
    std::int32_t IterationCount = 0;
    std::int32_t IterationCountTotal = 0;
    std::int32_t IterationCountTotalSaved = 0;
    double MinFlowTermsAccuracy_kgs = 1.0E-6;
    double MinHeadTermsAccuracyNormal_bar = 0.196133;
    double MinHeadTermsAccuracyRefined_bar = 9.8067E-5;
    double LinearTheoryFlowBalanceStopAdjustKgPerSec = 0;
    double LinearTheoryFlowBalanceStopRatioKgPerSec = 0;
    double MinHeadTermsAccuracy_bar = 0.196133;
    std::int32_t MaxNewtonIterations = 2000;
    double NewtonIterationDeltaMultiplier = 1.0;
    TMethodOfSolution MethodOfSolution = LinearTheoryThenNewton;
    Extended FResultBestFlowKgsAccuracy = 0;
    Extended FResultBestHeadBarAccuracy = 0;

    // Where the Newton iteration pumps window messages; the owning network
    // points this at its own user interface.
    TUserInterfaceSeam *UserInterface = &SilentUserInterface();
    // The owning network's Stop flag; when set, the Newton iteration ends at
    // its next message pump.
    const bool *StopCalculating = nullptr;

private:
    // The four terms of a column's energy law, computed once per column per
    // pass of CalculateF or CalculateDMatrix.
    Extended columnHeadTerm(int c);
    Extended columnHeadDerivative(int c);
    // The Darcy head term and derivative of a column with neither pump nor
    // component: the same values as the two above, without their general
    // cases.
    Extended plainDarcyHeadTerm(int c);
    Extended plainDarcyHeadDerivative(int c);
    void clearColumnCaches();

    Extended calcPipeFrictionLoss_Bar(int c);
    Extended calcFittingLoss_mHd_Fluid(int c) const;
    Extended calcFittingLoss_Bar(int c) const;
    double calcPipeCompressibleLoss_Bar(int c, double Flow_kgs, double InletPressure_Bar_g) const;
    double calcPipeCompressibleLoss_Bar_DifferentialQkgs(int c, double InletPressure_Bar_g) const;

    // Elimination on DMatrix with FValues, QMatrix, QKnowns and FResults kept
    // in step with the rows; the (row, column) forms let the flow-continuity
    // elimination pass over a column that has no pivot.
    void DMatrixPivotRows(int k);
    void DMatrixEliminateColumn(int k);
    void pivotRows(int row, int column, int rows, int columns);
    void eliminateColumn(int row, int column, int rows, int columns);
    // A new transformation column or row for the linear theory; refuses to
    // go past the capacity of the system.
    int newTransformationColumn();
    int newTransformationRow();

    // The columns of each row of QMatrix (rows 1..DimensionY, columns
    // 1..DimensionX) that hold an element, in ascending order, noted for the
    // QMatrix version and dimensions below.
    void notePattern();
    // Hands rows 1..rows of DMatrix, columns 1..columns, with FResults as the
    // right-hand sides, to the sparse solver: the non-zero entries of each
    // row in ascending column order.
    void addDMatrixToSparseSolver(int rows, int columns);
    bool patternNoted() const;
    // True when the noted pattern came from a generator's list of every
    // position it wrote (AdoptPattern), all of them inside the pattern's rows
    // and columns; then clearQMatrix need only zero the pattern.
    bool patternHoldsEveryWrite_ = false;
    void clearQMatrix();
    std::vector<int> patternStart_, patternColumns_;
    // The head elements of the pattern (row, column) in row and column
    // order: while DMatrix follows the pattern its flow elements hold their
    // constant 1 or -1, and a pass only rewrites these.
    struct TPatternEntry {
        int Row, Column;
        bool Minus;
    };
    std::vector<TPatternEntry> headEntries_;
    // The element of each entry of patternColumns_, so that a pass over the
    // pattern need not look into QMatrix, and whether each row holds a head
    // element.
    std::vector<TMatrixElementEnum> patternElements_;
    std::vector<char> patternRowHasHead_;
    void notePatternEntry(int row, int column, TMatrixElementEnum element);
    // What the residual pass needs of the pattern beyond the above: the sign
    // of each entry (+1 or -1, so that a row sums without a branch per
    // entry), whether each row holds flow elements, head elements or both,
    // and the columns that hold a head element, ascending, each once.
    void finishPattern();
    enum TRowKind : char { EmptyRow = 0, FlowRow = 1, HeadRow = 2, MixedRow = FlowRow | HeadRow };
    std::vector<double> patternSigns_;
    std::vector<char> patternRowKind_;
    std::vector<int> headColumns_;
    // The head columns split into those with neither pump nor component
    // and the others, noted for the pattern and column records below.
    void noteHeadColumnKinds();
    std::vector<int> plainHeadColumns_, otherHeadColumns_;
    std::uint64_t headKindsPattern_ = 0, headKindsRecords_ = 0;
    bool headKindsNoted_ = false;
    // Changes whenever a column's pump or component record may change kind.
    std::uint64_t recordsVersion_ = 0;
    // FResultsContainsHeadTerms follows the row kinds of the pattern noted
    // at this version, for this many rows (CalculateF alone writes it).
    std::uint64_t headFlagsPattern_ = 0;
    int headFlagsRows_ = -1;
    std::uint64_t patternVersion_ = 0;
    int patternRows_ = -1, patternColumnCount_ = -1;
    // True while every entry of DMatrix in rows 1..DimensionY and columns
    // 1..DimensionX outside the noted pattern is zero: set after a full write
    // of that block, and lost as soon as anyone else takes a DMatrix row for
    // writing. Then the next pass only needs to visit the pattern.
    bool dMatrixFollowsPattern() const;
    void noteDMatrixFollowsPattern();
    bool dMatrixFollows_ = false;
    std::uint64_t dMatrixVersion_ = 0;
    // True from the clearing of DMatrix until the next write into it.
    bool dMatrixZero_ = false;
    std::uint64_t dMatrixZeroVersion_ = 0;
    // Whether a pass may write the pattern only (DMatrix follows the pattern
    // or is still all zero); the pass then writes, so the zero state ends.
    bool beginDMatrixPass();

    // A column's head term or derivative is worked out in the current pass
    // when its stamp equals the pass's.
    std::vector<std::uint32_t> headTermStamp_, headDerivativeStamp_;
    std::uint32_t headTermPass_ = 1, headDerivativePass_ = 1;
    void newHeadDerivativePass();
    TExtendedVector headTerm_, headDerivative_;
    // Whether column c's pump or component record may differ from a cleared
    // one (see TrackColumnRecords).
    bool columnHasPump(int c) const { return !recordsTracked_ || columnPump_[static_cast<std::size_t>(c)]; }
    bool columnHasComponent(int c) const
    {
        return !recordsTracked_ || columnComponent_[static_cast<std::size_t>(c)];
    }
    bool recordsTracked_ = false;
    std::vector<char> columnPump_, columnComponent_;
    std::vector<int> writtenRecords_;
    // The highest column whose curve transformation index may be set.
    int transformIndexUsed_ = TMatrixEquations::MaxDimension;
    // The highest entry of the per-column vectors that may be non-zero.
    int vectorsUsed_ = TMatrixEquations::MaxDimension;
    int usedEntries() const;
    int linearTheoryFlowEntries() const;
    // Zeroes DMatrix: only the noted pattern and the linear theory's extra
    // rows and columns when nothing else was written, else every row written.
    void clearDMatrix();
    int linearTheoryRows_ = 0, linearTheoryColumns_ = 0;
    // The Darcy friction factor of each column at the volume flow it was
    // last worked out for: the residual and the derivative at the same flows
    // share one.
    double frictionFactor(int c, double flow_m3s);
    std::vector<double> frictionFlow_, friction_;
    // Fills that store for every column at its current flow in one pass,
    // solving the friction factors side by side, each from the root its
    // column's last one left (frictionRoot_, cleared with the store).
    void frictionFactorsAtCurrentFlows();
    std::vector<int> frictionColumns_;
    std::vector<double> frictionReynolds_, frictionFound_, frictionRoot_, frictionRootFound_;
    std::vector<const TFrictionWall *> frictionWalls_;
    // The friction wall of each column's pipe, worked out again whenever the
    // column's bore or roughness is not the one it was worked out for. Asked
    // for every column on every pass, so the check is inline.
    const TFrictionWall &frictionWall(int c)
    {
        const auto i = static_cast<std::size_t>(c);
        if (frictionWallDiameter_[i] != PipeDiameters_m[i] || frictionWallRoughness_[i] != PipeRoughnesses_m[i])
            renewFrictionWall(c);
        return frictionWall_[i];
    }
    void renewFrictionWall(int c);
    std::vector<TFrictionWall> frictionWall_;
    std::vector<double> frictionWallDiameter_, frictionWallRoughness_;
    // The parts of a column's pipe laws that depend on its pipe and fluid
    // only, worked out again whenever the bore, length or density is not the
    // one they were worked out for: the bore's area, L/d, and the
    // denominator of the friction loss derivative. Each is the very
    // expression the element laws evaluate, so a pass that takes it from
    // here computes the same values.
    struct TPipeConstants {
        double Diameter_m = std::numeric_limits<double>::quiet_NaN(), Length_m = 0, Density_kgm3 = 0;
        long double Area_m2 = 0, LengthOverDiameter = 0, DerivativeDenominator = 0;
    };
    const TPipeConstants &pipeConstants(int c);
    std::vector<TPipeConstants> pipeConstants_;
    // The velocity of each column at the flows of the last pass of
    // frictionFactorsAtCurrentFlows.
    std::vector<double> frictionVelocity_;
    // The generated pipe laws not yet worked out (NoteGeneratedPipeLaw), by
    // column, and the columns noted. The linear theory's own law replaces
    // those of columns 1..columns.
    struct TGeneratedPipeLaw {
        double Length_m = 0, MassFlow_kgs = 0, Diameter_m = 0, Roughness_m = 0, Viscosity_cP = 0, Density_kgm3 = 0;
    };
    std::vector<TGeneratedPipeLaw> generatedLaws_;
    std::vector<int> generatedLawColumns_;
    void generatedPipeLaw(int c, double &K, double &N) const;
    void forgetGeneratedPipeLaws(int columns);
    // KVariables and NVariables as a reader sees them, the pending generated
    // laws worked out.
    void resolvedPipeLaws(TRealVector &K, TRealVector &N) const;
    // The linear theory's pipe law gathered for all columns at once, with
    // the roots of each pipe's two friction factors carried from one
    // iteration to the next (cleared as each linear-theory solve starts).
    std::vector<TLinearTheoryPipe> linearTheoryPipes_;
    std::vector<std::array<double, 2>> linearTheoryRoots_;
    // The linearised coefficient K·|m|^(N-1) of each column from the last
    // pipe-law pass, with the flow, K and N it was worked out for.
    std::vector<double> linearTheoryKLinear_;
    std::vector<std::array<double, 3>> linearTheoryKLinearFor_;
    // Inside a linear-theory solve each pass leaves K as its parts; it is
    // worked out once, from the last pass, as the solve ends.
    std::vector<TLinearTheoryKParts> linearTheoryKParts_;
    bool linearTheoryKPending_ = false;
    // The head entries of columns with a pump or component, gathered once a
    // linear-theory solve while the plain columns' entries wait.
    std::vector<TPatternEntry> linearTheoryOtherHeads_;
    std::uint64_t linearTheoryOtherHeadsVersion_ = 0;
    bool linearTheoryOtherHeadsHeld_ = false;
    void linearTheoryPipeLaws();
    void resolveLinearTheoryK();

    // The linear steps on the loop corrections where the system allows
    // (Loop_Correction_Solver.h); false leaves the step to the flow system.
    TLoopCorrectionSolver &loopSolver();
    bool prepareLoopSolver();
    bool newtonLoopStep();
    bool linearTheoryLoopSolve();
    void noteLinearTheoryParticular();
    std::shared_ptr<TLoopCorrectionSolver> loopSolver_;
    std::vector<double> loopCoefficient_, loopRhs_, loopFlows_;
    // Flows that satisfy the continuity equations of the linear theory's
    // system: its latest full solution, with the right-hand sides and the
    // pattern it was found for.
    std::vector<Extended> particularFlows_, particularKnowns_;
    // A Newton step's part that restores the joints' balances.
    std::vector<Extended> stepBalance_, stepParticular_;
    std::uint64_t particularVersion_ = 0;
    int particularColumns_ = -1;
    std::vector<Extended> transformShift_;
    std::vector<int> transformBase_;
    // While the linear theory iterates, the head entries of columns with
    // neither pump nor component (plus or minus the column's linear K) are
    // left out of DMatrix when the loop form will read them from the K
    // values; pendingHeadK_ keeps the K values they stand for until
    // writePendingHeads puts them in, before the flow system is solved and
    // when the iteration ends.
    bool plainHeadsMayWait_ = false, plainHeadsPending_ = false;
    std::vector<double> pendingHeadK_;
    bool plainHeadColumn(int c) const { return !columnHasPump(c) && !columnHasComponent(c); }
    void writePendingHeads();
    // The same for the Newton iteration: while it runs, a derivative pass
    // whose step the loop form takes leaves every head entry of DMatrix
    // (plus or minus the column's derivative) out, the loop form reading the
    // derivatives themselves; writePendingDerivatives puts them in before the
    // flow system is solved and when the iteration ends.
    bool derivativeHeadsMayWait_ = false, derivativeHeadsPending_ = false;
    void writePendingDerivatives();
};

// The Darcy-Weisbach friction loss of a pipe in m of the fluid, signed like
// the flow.
double calcPipeFrictionLoss_mHd_Fluid(double Length_m, double Roughness_m, double Diameter_m, double Density_kgm3,
                                      double Viscosity_cP, double Flow_m3s);
// Its derivative in bar per kg/s, the friction factor at the flow held constant.
double calcPipeFrictionLoss_Bar_DifferentialQkgs(double Length_m, double Roughness_m, double Diameter_m,
                                                 double Density_kgm3, double Viscosity_cP, double Flow_kgs);

} // namespace tessaran
