// The linear theory of the equation system (each pipe law replaced by the
// straight line through the current flow, pump and component curves brought
// into linear form by one extra variable each, successive solutions averaged)
// and the Gaussian elimination that gives the first flow-continuity solution:
// dense over whole rows, and the same elimination on each row's non-zero
// entries that the flow-continuity solution uses.

#include "network/Matrix_Equations.h"

#include "units/Calculations.h"
#include "units/SparSolv.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace tessaran {

namespace {

constexpr Extended EliminationZero = 1.0E-100L;

// True when a curve a·Q² + b·Q + c is a straight line over its flows up to
// span: the fit of three points on a line leaves an a of rounding size, and
// the transformation Q + b/(2a) would then be meaningless.
bool isStraightLine(double a, double b, double c, double span)
{
    if (a == 0)
        return true;
    if (!(span > 0))
        span = 1;
    return std::fabs(a) * span * span <= 1e-9 * (std::fabs(b) * span + std::fabs(c));
}

// The flow-continuity elimination on the non-zero entries of each row. It
// takes the same pivots and does the same arithmetic, entry for entry, as the
// dense elimination over whole rows: an entry that is zero in both rows
// stays zero there (0 - ratio x 0 is +0 for a finite ratio), and a row whose
// ratio is not finite is worked out over every column as the dense form
// would. Rows keep their identity; positions say where each row stands.
class TSparseEchelon {
public:
    using TEntry = std::pair<int, Extended>;

    // One non-zero entry of the matrix to reduce: row, column, value.
    struct TInput {
        int Row;
        int Column;
        Extended Value;
        bool operator==(const TInput &other) const
        {
            return Row == other.Row && Column == other.Column && Value == other.Value;
        }
    };

    // Reduces rows 1..rows, columns 1..columns given by their non-zero
    // entries (row by row, columns ascending) with the right-hand sides
    // rhs[1..rows]. The pivots and the reduced rows depend on the matrix
    // alone: for the matrix of the last call only the right-hand sides are
    // worked again, by the same steps in the same order.
    void Reduce(int rows, int columns, const std::vector<TInput> &input, const std::vector<Extended> &rhs)
    {
        if (reduced_ && rows == rows_ && columns == columns_ && input == reducedInput_) {
            rhs_.assign(rhs.begin(), rhs.begin() + rows + 1);
            for (const TRhsStep &step : steps_)
                rhs_[at(step.Row)] = rhs_[at(step.PivotRow)] - step.Ratio * rhs_[at(step.Row)];
            return;
        }
        reduced_ = false;
        Begin(rows, columns);
        for (const TInput &entry : input)
            Add(entry.Row, entry.Column, entry.Value);
        rhs_.assign(rhs.begin(), rhs.begin() + rows + 1);
        steps_.clear();
        Eliminate();
        reducedInput_ = input;
        reduced_ = true;
    }

    // Rows 1..rows of the matrix, columns 1..columns, as (column, value)
    // lists in ascending column order without zeros, and their right-hand sides.
    void Begin(int rows, int columns)
    {
        rows_ = rows;
        columns_ = columns;
        if (static_cast<int>(entries_.size()) < rows + 1)
            entries_.resize(static_cast<std::size_t>(rows) + 1);
        for (int r = 1; r <= rows; ++r)
            entries_[at(r)].clear();
        rhs_.assign(static_cast<std::size_t>(rows) + 1, 0);
        rowAt_.resize(static_cast<std::size_t>(rows) + 1);
        position_.resize(static_cast<std::size_t>(rows) + 1);
        for (int r = 0; r <= rows; ++r)
            rowAt_[at(r)] = position_[at(r)] = r;
        if (static_cast<int>(columnRows_.size()) < columns + 1)
            columnRows_.resize(static_cast<std::size_t>(columns) + 1);
        for (int c = 0; c <= columns; ++c)
            columnRows_[at(c)].clear();
        seen_.assign(static_cast<std::size_t>(rows) + 1, 0);
    }
    void Add(int row, int column, Extended value)
    {
        entries_[at(row)].emplace_back(column, value);
        columnRows_[at(column)].push_back(row);
    }
    Extended Rhs(int row) const { return rhs_[at(row)]; }

    // Row-echelon form; a column without a pivot in the remaining rows is
    // passed over and the same position tries the next column.
    void Eliminate()
    {
        int position = 1;
        for (int column = 1; column <= columns_ && position <= rows_; ++column) {
            gatherCandidates(position, column);
            pivot(position, column);
            const int pivotRow = rowAt_[at(position)];
            const auto &pivotEntries = entries_[at(pivotRow)];
            if (pivotEntries.empty() || pivotEntries.front().first != column)
                continue;
            for (const auto &candidate : candidates_)
                if (candidate.second != pivotRow)
                    eliminate(pivotRow, candidate.second, column);
            ++position;
        }
    }

    bool AnyNonZero() const
    {
        for (int r = 1; r <= rows_; ++r)
            if (!entries_[at(r)].empty())
                return true;
        return false;
    }

    // The row standing at a position after the elimination.
    int RowAt(int position) const { return rowAt_[at(position)]; }
    const std::vector<TEntry> &Entries(int row) const { return entries_[at(row)]; }

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }

    // The rows at or below the position with an entry in the column, by position.
    void gatherCandidates(int position, int column)
    {
        candidates_.clear();
        ++stamp_;
        for (const int row : columnRows_[at(column)]) {
            if (seen_[at(row)] == stamp_ || position_[at(row)] < position)
                continue;
            seen_[at(row)] = stamp_;
            const auto &entries = entries_[at(row)];
            // Below the position every column before this one is eliminated.
            if (!entries.empty() && entries.front().first == column)
                candidates_.emplace_back(position_[at(row)], row);
        }
        std::sort(candidates_.begin(), candidates_.end());
    }

    static Extended magnitudeAt(const std::vector<TEntry> &entries, int column)
    {
        return !entries.empty() && entries.front().first == column ? std::fabs(entries.front().second) : Extended{0};
    }

    // The largest magnitude in the column, the first row on equal values,
    // moved to the position; rows without an entry count as zero.
    void pivot(int position, int column)
    {
        int best = position;
        Extended largest = magnitudeAt(entries_[at(rowAt_[at(position)])], column);
        for (const auto &[candidatePosition, row] : candidates_) {
            if (candidatePosition <= position)
                continue;
            const Extended size = std::fabs(entries_[at(row)].front().second);
            if (size > largest) {
                largest = size;
                best = candidatePosition;
            }
        }
        if (best <= position)
            return;
        const int a = rowAt_[at(position)], b = rowAt_[at(best)];
        std::swap(rowAt_[at(position)], rowAt_[at(best)]);
        position_[at(a)] = best;
        position_[at(b)] = position;
    }

    static Extended flushed(Extended value)
    {
        if (value != 0 && std::fabs(value) < EliminationZero)
            return 0;
        return value;
    }

    // Row := pivot row - ratio x row over the columns after this one.
    void eliminate(int pivotRow, int row, int column)
    {
        const auto &pivotEntries = entries_[at(pivotRow)];
        auto &target = entries_[at(row)];
        const Extended ratio = pivotEntries.front().second / target.front().second;
        merged_.clear();
        if (std::isfinite(ratio)) {
            std::size_t i = 1, j = 1;
            while (i < pivotEntries.size() || j < target.size()) {
                const int pc = i < pivotEntries.size() ? pivotEntries[i].first : columns_ + 1;
                const int tc = j < target.size() ? target[j].first : columns_ + 1;
                int c = 0;
                Extended value = 0;
                if (pc < tc) {
                    c = pc;
                    value = pivotEntries[i++].second - ratio * Extended{0};
                    columnRows_[at(c)].push_back(row);
                } else if (tc < pc) {
                    c = tc;
                    value = Extended{0} - ratio * target[j++].second;
                } else {
                    c = pc;
                    value = pivotEntries[i++].second - ratio * target[j++].second;
                }
                value = flushed(value);
                if (value != 0)
                    merged_.emplace_back(c, value);
            }
        } else {
            // 0 - ratio x 0 is not a number here: every column takes part.
            std::size_t i = 1, j = 1;
            for (int c = column + 1; c <= columns_; ++c) {
                Extended p = 0, t = 0;
                if (i < pivotEntries.size() && pivotEntries[i].first == c)
                    p = pivotEntries[i++].second;
                if (j < target.size() && target[j].first == c)
                    t = target[j++].second;
                const Extended value = flushed(p - ratio * t);
                if (value != 0) {
                    merged_.emplace_back(c, value);
                    columnRows_[at(c)].push_back(row);
                }
            }
        }
        target.swap(merged_);
        rhs_[at(row)] = rhs_[at(pivotRow)] - ratio * rhs_[at(row)];
        steps_.push_back({row, pivotRow, ratio});
    }

    int rows_ = 0, columns_ = 0;
    std::vector<std::vector<TEntry>> entries_;
    std::vector<Extended> rhs_;
    std::vector<int> rowAt_, position_;
    std::vector<std::vector<int>> columnRows_;
    std::vector<std::pair<int, int>> candidates_;
    std::vector<std::uint64_t> seen_;
    std::uint64_t stamp_ = 0;
    std::vector<TEntry> merged_;
    // The right-hand side steps of the last elimination and the matrix it reduced.
    struct TRhsStep {
        int Row;
        int PivotRow;
        Extended Ratio;
    };
    std::vector<TRhsStep> steps_;
    std::vector<TInput> reducedInput_;
    bool reduced_ = false;
};

} // namespace

// --- Linear theory ----------------------------------------------------------------------

void TMatrixEquations::LinearTheoryCalculatePipeKNVariables_Qkgs()
{
    linearTheoryPipeLaws();
    resolveLinearTheoryK();
}

// N and the linearised coefficient of every column at its flow, K left as
// its parts (resolveLinearTheoryK).
void TMatrixEquations::linearTheoryPipeLaws()
{
    if (DimensionX <= 0)
        return;
    forgetGeneratedPipeLaws(DimensionX);
    for (int c = 1; c <= DimensionX; ++c) {
        TLinearTheoryPipe &pipe = linearTheoryPipes_[static_cast<std::size_t>(c)];
        const TFrictionWall *wall = &frictionWall(c);
        pipe.MassFlow_kgs = static_cast<double>(QkgsVariables[c]);
        pipe.Roots = linearTheoryRoots_[static_cast<std::size_t>(c)].data();
        linearTheoryKLinearFor_[static_cast<std::size_t>(c)][0] = pipe.MassFlow_kgs;
        // A pipe's own factors stay while its data does (each pass of a
        // solve, and the next solve of an unchanged network).
        if (pipe.Length_m != PipeLengths_m[c] || pipe.InnerDiameter_m != PipeDiameters_m[c] || pipe.Wall != wall ||
            pipe.Viscosity_cP != QFluidCentipoise[c] || pipe.Density_kgm3 != QFluidDensity_kgs_m3[c]) {
            pipe.Length_m = PipeLengths_m[c];
            pipe.InnerDiameter_m = PipeDiameters_m[c];
            pipe.Wall = wall;
            pipe.Viscosity_cP = QFluidCentipoise[c];
            pipe.Density_kgm3 = QFluidDensity_kgs_m3[c];
            pipe.VelocityFactor = 1.0;
            calcLinearTheoryPipeFactors(pipe);
        }
    }
    linearTheoryKPending_ = true;
    calcLinearTheoryPipesKN(DimensionX, &linearTheoryPipes_[1], &KVariables[1], &NVariables[1],
                            &linearTheoryKLinear_[1], &linearTheoryKParts_[1]);
}

void TMatrixEquations::resolveLinearTheoryK()
{
    if (!linearTheoryKPending_)
        return;
    linearTheoryKPending_ = false;
    for (int c = 1; c <= DimensionX; ++c) {
        std::array<double, 3> &kept = linearTheoryKLinearFor_[static_cast<std::size_t>(c)];
        KVariables[c] = linearTheoryKParts_[static_cast<std::size_t>(c)].K();
        kept[1] = KVariables[c];
        kept[2] = NVariables[c];
    }
}

void TMatrixEquations::LinearTheoryCalculatePipeKLinearVariables_Qkgs()
{
    // The pipe law's pass left each column's coefficient with the flow, K
    // and N it was worked out for; a column any of which has moved since is
    // worked out here.
    for (int c = 1; c <= DimensionX; ++c) {
        const double flow = static_cast<double>(QkgsVariables[c]);
        const std::array<double, 3> &kept = linearTheoryKLinearFor_[static_cast<std::size_t>(c)];
        LinearTheoryKVariables[c] = kept[0] == flow && kept[1] == KVariables[c] && kept[2] == NVariables[c]
                                        ? linearTheoryKLinear_[static_cast<std::size_t>(c)]
                                        : KVariables[c] * std::pow(std::fabs(flow), NVariables[c] - 1.0);
    }
}

int TMatrixEquations::newTransformationColumn()
{
    if (DimensionXWithLinearTransformationEquations >= MaxDimension)
        throw EMatrixEquations("The linear theory needs more than " + std::to_string(MaxDimension) +
                               " unknowns for the pipes and the pump and component curves of this network.");
    ++DimensionXWithLinearTransformationEquations;
    vectorsUsed_ = std::max(vectorsUsed_, DimensionXWithLinearTransformationEquations);
    return DimensionXWithLinearTransformationEquations;
}

int TMatrixEquations::newTransformationRow()
{
    if (DimensionYWithLinearTransformationEquations >= MaxDimension)
        throw EMatrixEquations("The linear theory needs more than " + std::to_string(MaxDimension) +
                               " equations for the pipes and the pump and component curves of this network.");
    ++DimensionYWithLinearTransformationEquations;
    vectorsUsed_ = std::max(vectorsUsed_, DimensionYWithLinearTransformationEquations);
    return DimensionYWithLinearTransformationEquations;
}

void TMatrixEquations::LinearTheoryIncludePumpHeadBar(int j, int i, TMatrixElementEnum MatrixElementEnum)
{
    const TPump &pump = QPump[i];
    const bool positive = MatrixElementEnum == HeadKqn;
    switch (pump.PumpType) {
    case PumpFixedSpeed: {
        if (pump.PumpPoints.PointsCount <= 0)
            return;
        const double density = QFluidDensity_kgs_m3[i];
        double a = 0, b = 0, c0 = 0;
        pump.LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(density, a, b, c0);
        if (isStraightLine(a, b, c0, pump.PumpPoints.Points[pump.PumpPoints.PointsCount].Flow_kgs)) {
            // A straight-line curve is already linear in the pipe's own flow:
            // head = b·Q + c0, no transformation variable.
            DMatrix.RowKeepingVersion(j)[i] += positive ? -b : b;
            FResults[j] += positive ? c0 : -c0;
            return;
        }
        int k = QPumpLinearTheoryXIndex[i];
        if (k == 0) {
            k = newTransformationColumn();
            QPumpLinearTheoryXIndex[i] = k;
        }
        QFluidDensity_kgs_m3[k] = density;
        QkgsVariables[k] = QkgsVariables[i] + b / (2 * a);
        const Extended constant = c0 - b * b / (4 * a);
        if (positive) {
            DMatrix.RowKeepingVersion(j)[k] = -QkgsVariables[k] * a;
            FResults[j] += constant;
        } else {
            DMatrix.RowKeepingVersion(j)[k] = QkgsVariables[k] * a;
            FResults[j] -= constant;
        }
        return;
    }
    case PumpFixedHead: {
        const double head = pump.calcPumpHead_Bar(0, QFluidDensity_kgs_m3[i]);
        FResults[j] += positive ? head : -head;
        return;
    }
    default:
        return;
    }
}

void TMatrixEquations::LinearTheoryIncludeComponentHeadBar(int j, int i, TMatrixElementEnum MatrixElementEnum)
{
    const TComponentPressure &component = QComponentPressure[i];
    const bool positive = MatrixElementEnum == HeadKqn;
    switch (component.PressureType) {
    case ComponentPressureCurve: {
        if (component.CurvePoints.PointsCount <= 0)
            return;
        const double density = QFluidDensity_kgs_m3[i];
        double a = 0, b = 0, c0 = 0;
        component.LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(density, a, b, c0);
        if (isStraightLine(a, b, c0, component.CurvePoints.Point(component.CurvePoints.PointsCount).Flow_kgs)) {
            // loss = b·Q + c0 needs no transformation variable.
            DMatrix.RowKeepingVersion(j)[i] += positive ? b : -b;
            FResults[j] += positive ? -c0 : c0;
            return;
        }
        int k = QComponentPressureLinearTheoryXIndex[i];
        if (k == 0) {
            k = newTransformationColumn();
            QComponentPressureLinearTheoryXIndex[i] = k;
        }
        QFluidDensity_kgs_m3[k] = density;
        QkgsVariables[k] = QkgsVariables[i] + b / (2 * a);
        const Extended constant = c0 - b * b / (4 * a);
        if (positive) {
            DMatrix.RowKeepingVersion(j)[k] = QkgsVariables[k] * a;
            FResults[j] -= constant;
        } else {
            DMatrix.RowKeepingVersion(j)[k] = -QkgsVariables[k] * a;
            FResults[j] += constant;
        }
        return;
    }
    case ComponentPressureFixed: {
        const double loss = component.calcLoss_Bar(0, QFluidDensity_kgs_m3[i], 0);
        FResults[j] += positive ? -loss : loss;
        return;
    }
    default:
        return;
    }
}

void TMatrixEquations::LinearTheoryIncludePumpTransformationEquations()
{
    LinearTheoryPumpCount = 0;
    for (int c = 1; c <= DimensionX; ++c) {
        const int k = QPumpLinearTheoryXIndex[c];
        if (k == 0 || QPump[c].PumpPoints.PointsCount <= 0)
            continue;
        ++LinearTheoryPumpCount;
        const int t = newTransformationRow();
        double a = 0, b = 0, c0 = 0;
        QPump[c].LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(QFluidDensity_kgs_m3[c], a, b, c0);
        DMatrix.RowKeepingVersion(t)[c] = -1.0L;
        DMatrix.RowKeepingVersion(t)[k] = 1.0L;
        FResults[t] = b / (2 * static_cast<Extended>(a));
    }
}

void TMatrixEquations::LinearTheoryIncludeComponentTransformationEquations()
{
    LinearTheoryComponentCount = 0;
    for (int c = 1; c <= DimensionX; ++c) {
        const int k = QComponentPressureLinearTheoryXIndex[c];
        if (k == 0 || QComponentPressure[c].CurvePoints.PointsCount <= 0)
            continue;
        ++LinearTheoryComponentCount;
        const int t = newTransformationRow();
        double a = 0, b = 0, c0 = 0;
        QComponentPressure[c].LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(QFluidDensity_kgs_m3[c], a, b, c0);
        DMatrix.RowKeepingVersion(t)[c] = -1.0L;
        DMatrix.RowKeepingVersion(t)[k] = 1.0L;
        FResults[t] = b / (2 * static_cast<Extended>(a));
    }
}

void TMatrixEquations::LinearTheoryCalculateDMatrix()
{
    LinearTheoryPumpCount = 0;
    LinearTheoryComponentCount = 0;
    DimensionXWithLinearTransformationEquations = DimensionX;
    DimensionYWithLinearTransformationEquations = DimensionY;
    // Indexes are set for the columns of a system only.
    const auto clearTo = static_cast<std::ptrdiff_t>(std::clamp(transformIndexUsed_, 0, MaxDimension) + 1);
    std::fill(QPumpLinearTheoryXIndex.begin(), QPumpLinearTheoryXIndex.begin() + clearTo, 0);
    std::fill(QComponentPressureLinearTheoryXIndex.begin(), QComponentPressureLinearTheoryXIndex.begin() + clearTo, 0);
    transformIndexUsed_ = DimensionX;
    // Every index of columns 1..DimensionX is zero from here on unless this
    // pass gives its column a transformation column.
    const bool indexesCleared = clearTo > DimensionX;
    for (int r = 1; r <= DimensionY; ++r)
        FResults[r] = QKnowns[r];
    notePattern();
    const bool constantsHeld = dMatrixFollowsPattern();
    const bool patternOnly = beginDMatrixPass();
    plainHeadsPending_ = false;
    if (constantsHeld) {
        const bool wait = plainHeadsMayWait_ && prepareLoopSolver();
        if (wait) {
            pendingHeadK_.assign(LinearTheoryKVariables.begin(), LinearTheoryKVariables.begin() + DimensionX + 1);
            plainHeadsPending_ = true;
            if (!linearTheoryOtherHeadsHeld_ || linearTheoryOtherHeadsVersion_ != patternVersion_) {
                linearTheoryOtherHeads_.clear();
                for (const TPatternEntry &entry : headEntries_)
                    if (!plainHeadColumn(entry.Column))
                        linearTheoryOtherHeads_.push_back(entry);
                linearTheoryOtherHeadsVersion_ = patternVersion_;
                linearTheoryOtherHeadsHeld_ = true;
            }
        }
        for (const TPatternEntry &entry : wait ? linearTheoryOtherHeads_ : headEntries_) {
            const int r = entry.Row, c = entry.Column;
            const TMatrixElementEnum element = std::as_const(QMatrix)[r][c];
            DMatrix.RowKeepingVersion(r)[c] = element == HeadKqn ? LinearTheoryKVariables[c] : -LinearTheoryKVariables[c];
            if (columnHasPump(c))
                LinearTheoryIncludePumpHeadBar(r, c, element);
            if (columnHasComponent(c))
                LinearTheoryIncludeComponentHeadBar(r, c, element);
        }
    }
    for (int r = 1; r <= (constantsHeld ? 0 : DimensionY); ++r) {
        const TMatrixElementEnum *pattern = std::as_const(QMatrix)[r];
        Extended *row = DMatrix.RowKeepingVersion(r);
        const int first = patternOnly ? patternStart_[r - 1] : 1;
        const int last = patternOnly ? patternStart_[r] - 1 : DimensionX;
        for (int e = first; e <= last; ++e) {
            const int c = patternOnly ? patternColumns_[e] : e;
            const TMatrixElementEnum element = pattern[c];
            switch (element) {
            case one:
                row[c] = 1.0L;
                break;
            case minus_one:
                row[c] = -1.0L;
                break;
            case HeadKqn:
            case minus_HeadKqn:
                row[c] = element == HeadKqn ? LinearTheoryKVariables[c] : -LinearTheoryKVariables[c];
                // A cleared record adds nothing (or a zero) to the row.
                if (columnHasPump(c))
                    LinearTheoryIncludePumpHeadBar(r, c, element);
                if (columnHasComponent(c))
                    LinearTheoryIncludeComponentHeadBar(r, c, element);
                break;
            default:
                row[c] = 0;
                break;
            }
        }
    }
    noteDMatrixFollowsPattern();
    linearTheoryRows_ = std::max(linearTheoryRows_, DimensionY);
    bool pumps = false, components = false;
    if (!indexesCleared || DimensionXWithLinearTransformationEquations > DimensionX) {
        for (int c = 1; c <= DimensionX; ++c) {
            pumps = pumps || QPumpLinearTheoryXIndex[c] > 0;
            components = components || QComponentPressureLinearTheoryXIndex[c] > 0;
        }
    }
    if (pumps)
        LinearTheoryIncludePumpTransformationEquations();
    if (components)
        LinearTheoryIncludeComponentTransformationEquations();
    linearTheoryRows_ = std::max(linearTheoryRows_, DimensionYWithLinearTransformationEquations);
    linearTheoryColumns_ = std::max(linearTheoryColumns_, DimensionXWithLinearTransformationEquations);
}

void TMatrixEquations::writePendingHeads()
{
    if (!plainHeadsPending_)
        return;
    plainHeadsPending_ = false;
    for (const TPatternEntry &entry : headEntries_) {
        const int r = entry.Row, c = entry.Column;
        if (plainHeadColumn(c))
            DMatrix.RowKeepingVersion(r)[c] =
                std::as_const(QMatrix)[r][c] == HeadKqn ? pendingHeadK_[static_cast<std::size_t>(c)]
                                                        : -pendingHeadK_[static_cast<std::size_t>(c)];
    }
}

void TMatrixEquations::LinearTheorySolveQkgsVariablesUsingSparSolv(int &solveStatus, TResultsLog &Log)
{
    const int nx = DimensionXWithLinearTransformationEquations;
    const int ny = DimensionYWithLinearTransformationEquations;
    if (nx != ny)
        Log.Add("Generated invalid set of matrix equations: DimensionX=" + std::to_string(nx) + ", " +
                "DimensionY=" + std::to_string(ny) + ". " +
                "note: dimensions include any extra pump transformation equations.");
    solveStatus = 0;
    if (nx == ny && linearTheoryLoopSolve())
        return;
    writePendingHeads();
    std::string reason;
    int code = 0, number1 = 0, number2 = 0;
    try {
        SparseSolvInit(nx);
        addDMatrixToSparseSolver(ny, nx);
        try {
            SparseSolvSolve();
        } catch (...) {
            solveStatus = -1;
            GetSparSolvError(reason, code, number1, number2);
            throw;
        }
        for (int c = 1; c <= nx; ++c)
            QkgsVariables[c] = SparseSolvAnswer(c);
        noteLinearTheoryParticular();
    } catch (...) {
        ReleaseStruc();
        if (solveStatus != 0)
            Log.Add("Err: " + reason + ", " + std::to_string(code) + ", " + std::to_string(number1) + ", " +
                    std::to_string(number2));
        throw;
    }
    ReleaseStruc();
}

void TMatrixEquations::LinearTheoryCheckConvergenceQkgs(bool &Converged) const
{
    for (int c = 1; c <= DimensionXWithLinearTransformationEquations; ++c) {
        const Extended d = std::fabs(QkgsVariables[c] - QkgsVariablesLinearTheorySaved[c]);
        if (d > LinearTheoryFlowBalanceStopAdjustKgPerSec &&
            d > std::fabs(QkgsVariables[c] * LinearTheoryFlowBalanceStopRatioKgPerSec)) {
            Converged = false;
            return;
        }
    }
}

void TMatrixEquations::LinearTheorySolveQkgsVariables(bool &Solved, int &ResultStatus, std::string &ResultString,
                                                      TResultsLog &Log)
{
    Solved = false;
    ResultStatus = 0;
    ResultString.clear();
    NewtonIterationDeltaMultiplier = 1.0;
    plainHeadsMayWait_ = true;
    linearTheoryOtherHeadsHeld_ = false;
    try {
        SetQkgsVariablesToUnity();
        std::fill(linearTheoryRoots_.begin(), linearTheoryRoots_.begin() + DimensionX + 1, std::array<double, 2>{});
        int iterations = 0;
        DimensionY = DimensionX;
        DimensionXWithLinearTransformationEquations = DimensionX;
        DimensionYWithLinearTransformationEquations = DimensionY;
        int solveStatus = 0;
        bool converged = DimensionX == 0;
        while (!converged && iterations < MaxNewtonIterations + 200 && solveStatus == 0) {
            ++iterations;
            SaveQkgsVariablesLinearTheory();
            // The flows have not moved since the pipe laws: each column's
            // coefficient is the one the pass worked out.
            linearTheoryPipeLaws();
            for (int c = 1; c <= DimensionX; ++c)
                LinearTheoryKVariables[c] = linearTheoryKLinear_[static_cast<std::size_t>(c)];
            LinearTheoryCalculateDMatrix();
            LinearTheorySolveQkgsVariablesUsingSparSolv(solveStatus, Log);
            if (solveStatus == 0) {
                for (int c = 1; c <= DimensionXWithLinearTransformationEquations; ++c)
                    QkgsVariables[c] = (QkgsVariables[c] + QkgsVariablesLinearTheorySaved[c]) / 2;
                converged = true;
                LinearTheoryCheckConvergenceQkgs(converged);
            }
        }
        if (converged) {
            Solved = true;
            CalculateQm3sVariables();
        }
    } catch (const EMatrixEquations &e) {
        Log.Add(e.what());
        Solved = false;
        ResultStatus = -3;
    } catch (...) {
        Solved = false;
        ResultStatus = -3;
    }
    plainHeadsMayWait_ = false;
    writePendingHeads();
    resolveLinearTheoryK();
}

void TMatrixEquations::LinearTheorySolveQkgsVariablesFromDMatrix()
{
    LinearTheoryCalculateDMatrix();
    const int n = DimensionX;
    for (int r = 1; r <= DimensionY; ++r)
        FValues[r] = FResults[r];
    bool success = false;
    DMatrixGaussElim(success);
    for (int r = n; r >= 1; --r) {
        const Extended *row = std::as_const(DMatrix)[r];
        if (row[r] == 0) {
            QkgsVariables[r] = 0;
            continue;
        }
        Extended sum = FValues[r];
        for (int c = r + 1; c <= n; ++c)
            sum -= row[c] * QkgsVariables[c];
        QkgsVariables[r] = sum / row[r];
    }
}

// --- Dense elimination --------------------------------------------------------------------

void TMatrixEquations::pivotRows(int row, int column, int rows, int columns)
{
    int best = row;
    Extended largest = std::fabs(std::as_const(DMatrix)[row][column]);
    for (int r = row + 1; r <= rows; ++r) {
        const Extended size = std::fabs(std::as_const(DMatrix)[r][column]);
        if (size > largest) {
            largest = size;
            best = r;
        }
    }
    if (best <= row)
        return;
    DMatrix.SwapRows(row, best, columns);
    QMatrix.SwapRows(row, best, columns);
    std::swap(FValues[row], FValues[best]);
    std::swap(QKnowns[row], QKnowns[best]);
    std::swap(FResults[row], FResults[best]);
}

void TMatrixEquations::eliminateColumn(int row, int column, int rows, int columns)
{
    const Extended *pivot = std::as_const(DMatrix)[row];
    for (int r = row + 1; r <= rows; ++r) {
        Extended *target = DMatrix[r];
        if (target[column] == 0)
            continue;
        const Extended ratio = pivot[column] / target[column];
        target[column] = 0;
        for (int c = column + 1; c <= columns; ++c) {
            Extended value = pivot[c] - ratio * target[c];
            if (value != 0 && std::fabs(value) < EliminationZero)
                value = 0;
            target[c] = value;
        }
        FValues[r] = FValues[row] - ratio * FValues[r];
    }
}

void TMatrixEquations::DMatrixPivotRows(int k) { pivotRows(k, k, DimensionY, DimensionX); }

void TMatrixEquations::DMatrixEliminateColumn(int k) { eliminateColumn(k, k, DimensionY, DimensionX); }

void TMatrixEquations::DMatrixGaussElim(bool &Success)
{
    try {
        for (int k = 1; k <= DimensionX - 1; ++k) {
            DMatrixPivotRows(k);
            DMatrixEliminateColumn(k);
        }
        if (DimensionX >= 1)
            DMatrixPivotRows(DimensionX);
        Success = true;
        for (int i = 1; i <= DimensionX; ++i)
            if (std::as_const(DMatrix)[i][i] == 0)
                Success = false;
    } catch (...) {
        Success = false;
    }
}

void TMatrixEquations::CalculateDMatrixAndGaussElimForFlowContinuity(bool &Success)
{
    try {
        if (MethodOfSolution == LinearTheoryOnly)
            LinearTheoryCalculateDMatrix();
        else
            CalculateDMatrix();
        for (int r = 1; r <= DimensionY; ++r)
            FValues[r] = FResults[r];
        // Row-echelon form. A column without a pivot in the remaining rows
        // (a flow that the equations above already fix, or leave free) is
        // passed over and the same row tries the next column, so that every
        // row ends with a leading column of its own.
        int row = 1;
        for (int column = 1; column <= DimensionX && row <= DimensionY; ++column) {
            pivotRows(row, column, DimensionY, DimensionX);
            if (std::as_const(DMatrix)[row][column] == 0)
                continue;
            eliminateColumn(row, column, DimensionY, DimensionX);
            ++row;
        }
        Success = false;
        for (int r = 1; r <= DimensionY && !Success; ++r) {
            const Extended *entries = std::as_const(DMatrix)[r];
            for (int c = 1; c <= DimensionX; ++c)
                if (entries[c] != 0) {
                    Success = true;
                    break;
                }
        }
    } catch (...) {
        Success = false;
    }
}

void TMatrixEquations::SolveQkgsVariablesForFlowContinuity(bool &Solved, int &, std::string &, TResultsLog &)
{
    // The elimination of CalculateDMatrixAndGaussElimForFlowContinuity, done
    // on the rows' non-zero entries with the same pivots and arithmetic, so
    // that it costs the network's size rather than the square of it. The
    // system's own matrices and right-hand sides stay as generated.
    for (int r = 1; r <= DimensionY; ++r)
        FResults[r] = QKnowns[r];
    thread_local TSparseEchelon echelon;
    Solved = false;
    try {
        if (MethodOfSolution == LinearTheoryOnly)
            LinearTheoryCalculateDMatrix();
        else
            CalculateDMatrix();
        const int rows = std::max(DimensionY, 0);
        const int columns = std::max(DimensionX, 0);
        thread_local std::vector<TSparseEchelon::TInput> input;
        thread_local std::vector<Extended> rhs;
        input.clear();
        rhs.assign(static_cast<std::size_t>(rows) + 1, 0);
        const bool patternOnly = dMatrixFollowsPattern();
        for (int r = 1; r <= rows; ++r) {
            FValues[r] = FResults[r];
            rhs[static_cast<std::size_t>(r)] = FValues[r];
            const Extended *entries = std::as_const(DMatrix)[r];
            if (patternOnly) {
                for (int e = patternStart_[r - 1]; e < patternStart_[r]; ++e) {
                    const int c = patternColumns_[e];
                    if (c <= columns && entries[c] != 0)
                        input.push_back({r, c, entries[c]});
                }
            } else {
                for (int c = 1; c <= columns; ++c)
                    if (entries[c] != 0)
                        input.push_back({r, c, entries[c]});
            }
        }
        echelon.Reduce(rows, columns, input, rhs);
        Solved = echelon.AnyNonZero();
    } catch (...) {
        Solved = false;
        return;
    }

    // Back substitution from the last row up. The terms of the columns a row
    // has no entry in are zero, but a zero times a flow that is not finite
    // is not a number, and minus a negative zero turns a sum of -0 into +0:
    // both are kept as a sum over every column would keep them. Every flow
    // after a row's leading column is final when the row is reached.
    const int columns = DimensionX;
    thread_local std::vector<int> notFiniteFrom, signBitFrom;
    std::vector<int> &nextNotFinite = notFiniteFrom;
    std::vector<int> &nextSignBit = signBitFrom;
    nextNotFinite.assign(static_cast<std::size_t>(std::max(columns, 0)) + 2, columns + 1);
    nextSignBit.assign(static_cast<std::size_t>(std::max(columns, 0)) + 2, columns + 1);
    int known = columns + 1; // columns known..columns are final and indexed
    const auto indexDownTo = [&](int column) {
        while (known > column) {
            --known;
            const Extended q = QkgsVariables[known];
            nextNotFinite[known] = std::isfinite(q) ? nextNotFinite[known + 1] : known;
            nextSignBit[known] = std::signbit(q) ? known : nextSignBit[known + 1];
        }
    };
    // sum - Q[c] x 0 for every c strictly between from and to.
    const auto passZeros = [&](Extended &sum, int from, int to) {
        if (from + 1 >= to)
            return;
        if (nextNotFinite[from + 1] < to)
            sum = sum - QkgsVariables[nextNotFinite[from + 1]] * Extended{0};
        else if (sum == 0 && std::signbit(sum) && nextSignBit[from + 1] < to)
            sum = sum - QkgsVariables[nextSignBit[from + 1]] * Extended{0};
    };
    const int n = std::min(DimensionX, DimensionY);
    for (int position = n; position >= 1; --position) {
        const auto &entries = echelon.Entries(echelon.RowAt(position));
        if (entries.empty())
            continue;
        const int leading = entries.front().first;
        indexDownTo(leading + 1);
        Extended sum = echelon.Rhs(echelon.RowAt(position));
        int previous = leading;
        for (std::size_t e = 1; e < entries.size(); ++e) {
            const auto &[c, value] = entries[e];
            passZeros(sum, previous, c);
            sum -= QkgsVariables[c] * value;
            previous = c;
        }
        passZeros(sum, previous, columns + 1);
        QkgsVariables[leading] = sum / entries.front().second;
    }
    for (int c = 1; c <= DimensionX; ++c)
        Qm3sVariables[c] = QkgsVariables[c] / QFluidDensity_kgs_m3[c];
}

void TMatrixEquations::SolveQDeltas(bool &solved, int &ResultStatus, std::string &ResultString, TResultsLog &Log)
{
    solved = true;
    ResultStatus = 0;
    try {
        CalculateDMatrix();
        bool success = false;
        DMatrixGaussElim(success);
        const int n = DimensionX;
        if (success) {
            for (int r = n; r >= 1; --r) {
                const Extended *row = std::as_const(DMatrix)[r];
                Extended sum = FValues[r];
                for (int c = r + 1; c <= n; ++c)
                    sum -= row[c] * QDeltas[c];
                QDeltas[r] = sum / row[r];
            }
            return;
        }
        solved = false;
        ResultStatus = -1;
        ResultString.clear();
        if (IterationCountTotal != IterationCountTotalSaved) {
            IterationCountTotalSaved = IterationCountTotal;
            int independent = 0;
            for (int i = 1; i <= n; ++i)
                if (std::as_const(DMatrix)[i][i] != 0)
                    ++independent;
            Log.Add("Calculation values have become too small, hence");
            Log.Add("Network reduced to " + std::to_string(independent) + " independent equations while " +
                    std::to_string(n) + " unknown flows exist.");
            Log.Add("Regenerate network equations. Reset new flow values and continue.");
        }
    } catch (...) {
        solved = false;
        ResultStatus = -3;
        ResultString = "Calculation of flow adjustments did not converge.";
    }
}

} // namespace tessaran
