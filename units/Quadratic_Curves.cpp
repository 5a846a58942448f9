#include "units/Quadratic_Curves.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessaran {

void calcQuadraticPumpCoefficents(double x1, double y1, double x2, double y2, double x3, double y3,
                                  TCurveCoefficents &Coeffs)
{
    using Row = std::array<double, 4>;
    std::array<Row, 3> m = {Row{x1 * x1, x1, 1.0, y1}, Row{x2 * x2, x2, 1.0, y2}, Row{x3 * x3, x3, 1.0, y3}};
    // An overflow or an invalid operation anywhere makes the points unusable.
    const auto checkFinite = [&m] {
        for (const Row &row : m)
            for (const double v : row)
                if (!std::isfinite(v))
                    throw ECalculations("TR4_Calculations.calcQuadraticPumpCoefficents Failed: Pump Points are not valid.");
    };
    checkFinite();

    // First pivot: each row is compared with the one before it.
    int pivot = 0;
    if (std::fabs(m[1][0]) > std::fabs(m[0][0]))
        pivot = 1;
    if (std::fabs(m[2][0]) > std::fabs(m[1][0]))
        pivot = 2;
    std::swap(m[0], m[pivot]);
    for (int i = 1; i <= 2; ++i) {
        if (m[i][0] == 0.0)
            continue;
        const double f = m[0][0] / m[i][0];
        for (int j = 0; j < 4; ++j)
            m[i][j] = m[0][j] - f * m[i][j];
    }
    checkFinite();
    if (std::fabs(m[1][1]) < std::fabs(m[2][1]))
        std::swap(m[1], m[2]);
    if (m[2][1] != 0.0) {
        const double f = m[1][1] / m[2][1];
        m[2][2] = m[1][2] - f * m[2][2];
        m[2][3] = m[1][3] - f * m[2][3];
    }
    checkFinite();
    const double c0 = m[2][2] != 0.0 ? m[2][3] / m[2][2] : 0.0;
    const double c1 = m[1][1] != 0.0 ? (m[1][3] - m[1][2] * c0) / m[1][1] : 0.0;
    const double c2 = m[0][0] != 0.0 ? (m[0][3] - m[0][2] * c0 - m[0][1] * c1) / m[0][0] : 0.0;
    if (!std::isfinite(c0) || !std::isfinite(c1) || !std::isfinite(c2))
        throw ECalculations("TR4_Calculations.calcQuadraticPumpCoefficents Failed: Pump Points are not valid.");
    Coeffs = {c0, c1, c2};
}

void SolveQuadratic(double a2, double a1, double a0, double &Root1, double &Root2, bool &Found)
{
    const double d = a1 * a1 - 4.0 * a2 * a0;
    if (!(d >= 0.0) || a2 == 0.0) {
        Found = false;
        return;
    }
    // root1 = (√D − a1) ÷ 2a2, root2 = (−a1 − √D) ÷ 2a2, each taken in the
    // form that does not subtract nearly equal numbers.
    const double s = std::sqrt(d);
    double r1, r2;
    if (a1 >= 0.0) {
        const double q = -a1 - s;
        r2 = q / (2.0 * a2);
        r1 = q != 0.0 ? 2.0 * a0 / q : 0.0;
    } else {
        const double q = -a1 + s;
        r1 = q / (2.0 * a2);
        r2 = 2.0 * a0 / q;
    }
    if (!std::isfinite(r1) || !std::isfinite(r2)) {
        Root1 = Root2 = 0.0;
        Found = false;
        return;
    }
    Root1 = r1;
    Root2 = r2;
    Found = true;
}

TQuadraticCurves::TQuadraticCurves(int NumberOfCurvePoints)
{
    MaxCurvePoints = std::max(0, NumberOfCurvePoints);
    CurvePoints.assign(static_cast<std::size_t>(MaxCurvePoints) + 1, TCurvePoint{});
    QuadraticCurvesSet.QuadraticCurvesCoeffs.assign(static_cast<std::size_t>(std::max(1, MaxCurvePoints - 1)),
                                                    TCurveCoefficents{});
    Clear();
}

void TQuadraticCurves::Clear()
{
    PointsCount = 0;
    QuadraticCurvesSet.QuadraticCurvesCount = 0;
    std::fill(CurvePoints.begin(), CurvePoints.end(), TCurvePoint{});
    std::fill(QuadraticCurvesSet.QuadraticCurvesCoeffs.begin(), QuadraticCurvesSet.QuadraticCurvesCoeffs.end(),
              TCurveCoefficents{});
}

void TQuadraticCurves::CopyCurve(const TQuadraticCurves &TheCurve)
{
    if (&TheCurve == this)
        return;
    Clear();
    const std::size_t points = std::min(CurvePoints.size(), TheCurve.CurvePoints.size());
    std::copy_n(TheCurve.CurvePoints.begin(), points, CurvePoints.begin());
    auto &mine = QuadraticCurvesSet.QuadraticCurvesCoeffs;
    const auto &theirs = TheCurve.QuadraticCurvesSet.QuadraticCurvesCoeffs;
    std::copy_n(theirs.begin(), std::min(mine.size(), theirs.size()), mine.begin());
    PointsCount = std::clamp(TheCurve.PointsCount, 0, MaxCurvePoints);
    QuadraticCurvesSet.QuadraticCurvesCount =
        std::clamp(TheCurve.QuadraticCurvesSet.QuadraticCurvesCount, 0, std::max(0, MaxCurvePoints - 2));
}

void TQuadraticCurves::InsertCurvePoint(int &ThePointNum, double X, double Y)
{
    // A full curve has no place for another point.
    if (PointsCount >= MaxCurvePoints)
        return;
    for (int i = 1; i < PointsCount; ++i) {
        if (CurvePoints[static_cast<std::size_t>(i)].X < X && X < CurvePoints[static_cast<std::size_t>(i) + 1].X) {
            for (int j = PointsCount; j > i; --j)
                CurvePoints[static_cast<std::size_t>(j) + 1] = CurvePoints[static_cast<std::size_t>(j)];
            CurvePoints[static_cast<std::size_t>(i) + 1] = {X, Y};
            ThePointNum = i + 1;
            ++PointsCount;
            QuadraticCurvesSet.QuadraticCurvesCount = std::max(0, PointsCount - 2);
            return;
        }
    }
}

void TQuadraticCurves::RemoveCurvePoint(int ThePointNum)
{
    if (ThePointNum < 1 || ThePointNum > PointsCount)
        return;
    for (int j = ThePointNum; j < PointsCount; ++j)
        CurvePoints[static_cast<std::size_t>(j)] = CurvePoints[static_cast<std::size_t>(j) + 1];
    CurvePoints[static_cast<std::size_t>(PointsCount)] = TCurvePoint{};
    --PointsCount;
    QuadraticCurvesSet.QuadraticCurvesCount = std::max(0, PointsCount - 2);
}

void TQuadraticCurves::CalculateIndividualCurveCoeffs(int CurveNumber, bool &solved)
{
    auto &all = QuadraticCurvesSet.QuadraticCurvesCoeffs;
    if (CurveNumber < 1 || CurveNumber + 2 > MaxCurvePoints ||
        static_cast<std::size_t>(CurveNumber) >= all.size()) {
        solved = false;
        return;
    }
    TCurveCoefficents &c = all[static_cast<std::size_t>(CurveNumber)];
    const TCurvePoint &p1 = point(CurveNumber), &p2 = point(CurveNumber + 1), &p3 = point(CurveNumber + 2);
    try {
        calcQuadraticPumpCoefficents(p1.X, p1.Y, p2.X, p2.Y, p3.X, p3.Y, c);
        solved = true;
    } catch (const ECalculations &) {
        c = TCurveCoefficents{};
        solved = false;
    }
}

void TQuadraticCurves::CalculateCurveCoeffs(int ThePointsCount, bool &solved)
{
    PointsCount = std::clamp(ThePointsCount, 0, MaxCurvePoints);
    if (PointsCount >= 3) {
        QuadraticCurvesSet.QuadraticCurvesCount = PointsCount - 2;
        bool all = true;
        for (int n = 1; n <= PointsCount - 2; ++n) {
            bool one = false;
            CalculateIndividualCurveCoeffs(n, one);
            all = all && one;
        }
        solved = all;
    } else {
        QuadraticCurvesSet.QuadraticCurvesCount = 0;
        std::fill(QuadraticCurvesSet.QuadraticCurvesCoeffs.begin(), QuadraticCurvesSet.QuadraticCurvesCoeffs.end(),
                  TCurveCoefficents{});
    }
}

const TCurveCoefficents &TQuadraticCurves::coeffs(int curve) const
{
    static const TCurveCoefficents none{};
    const auto &all = QuadraticCurvesSet.QuadraticCurvesCoeffs;
    if (curve < 1 || static_cast<std::size_t>(curve) >= all.size())
        return none;
    return all[static_cast<std::size_t>(curve)];
}

const TCurvePoint &TQuadraticCurves::point(int n) const
{
    static const TCurvePoint none{};
    if (n < 1 || static_cast<std::size_t>(n) >= CurvePoints.size())
        return none;
    return CurvePoints[static_cast<std::size_t>(n)];
}

int TQuadraticCurves::GetCurveNumber(double x) const
{
    const int n = PointsCount;
    int found = 0;
    if (n > 2 && point(1).X > point(n).X) {
        if (x >= point(1).X)
            x = point(1).X;
        for (int i = 1; i < n && found == 0; ++i)
            if (point(i + 1).X < x && x <= point(i).X)
                found = i;
    } else {
        if (x <= point(1).X)
            x = point(1).X;
        for (int i = 1; i < n && found == 0; ++i)
            if (point(i).X <= x && x < point(i + 1).X)
                found = i;
    }
    if (found == 0 || found > n - 2)
        found = n - 2;
    return std::max(1, found);
}

double TQuadraticCurves::CalculateY(double X) const
{
    const TCurveCoefficents &c = coeffs(GetCurveNumber(X));
    return c[0] + c[1] * X + c[2] * X * X;
}

double TQuadraticCurves::CalculateDifferentialDYDX(double X) const
{
    const TCurveCoefficents &c = coeffs(GetCurveNumber(X));
    return c[1] + 2.0 * c[2] * X;
}

double TQuadraticCurves::CalculateYfromStraightLine(double X) const
{
    int k = GetCurveNumber(X);
    if (X >= point(PointsCount - 1).X)
        k = PointsCount - 1;
    const TCurvePoint &a = point(k), &b = point(k + 1);
    if (std::fabs(b.X - a.X) <= 1e-11)
        return 0.0;
    return a.Y + (b.Y - a.Y) * (X - a.X) / (b.X - a.X);
}

// The x values at which curve n reaches Y. An exactly straight segment has
// one root, which the quadratic formula cannot give.
bool TQuadraticCurves::curveRoots(int curve, double Y, double &root1, double &root2) const
{
    const TCurveCoefficents &c = coeffs(curve);
    if (c[2] == 0.0) {
        if (c[1] == 0.0)
            return false;
        root1 = root2 = (Y - c[0]) / c[1];
        return std::isfinite(root1);
    }
    bool found = false;
    SolveQuadratic(c[2], c[1], c[0] - Y, root1, root2, found);
    return found;
}

double TQuadraticCurves::CalculateX(double Y) const
{
    const int curves = QuadraticCurvesSet.QuadraticCurvesCount;
    for (int n = 1; n <= curves; ++n) {
        double r1 = 0.0, r2 = 0.0;
        if (!curveRoots(n, Y, r1, r2))
            continue;
        const double low = point(n).X - 1e-6;
        const double high = (n == curves ? point(PointsCount).X : point(n + 1).X) + 1e-6;
        const bool in1 = low <= r1 && r1 <= high;
        const bool in2 = low <= r2 && r2 <= high;
        if (in1 && in2)
            return std::min(r1, r2);
        if (in1)
            return r1;
        if (in2)
            return r2;
    }
    return 0.0;
}

double TQuadraticCurves::CalculateXBackwardsFromEndOfCurve(double Y, double XPercentAllowedAfterEndOfCurvePoints) const
{
    const int curves = QuadraticCurvesSet.QuadraticCurvesCount;
    for (int n = curves; n >= 1; --n) {
        double r1 = 0.0, r2 = 0.0;
        if (!curveRoots(n, Y, r1, r2))
            continue;
        const double low = point(n).X - 1e-6;
        double high;
        if (n == curves) {
            const double last = point(PointsCount).X;
            high = last + last * XPercentAllowedAfterEndOfCurvePoints / 100.0 + 1e-6;
        } else {
            high = point(n + 1).X + 1e-6;
        }
        double result = 0.0;
        bool answered = false;
        if (low <= r1 && r1 <= high) {
            result = r1;
            answered = true;
        }
        if (low <= r2 && r2 <= high) {
            if (r2 > result)
                result = r2;
            answered = true;
        }
        if (answered)
            return result;
    }
    return 0.0;
}

void TQuadraticCurves::CalculateXAtMaxY(double &X, double &MaxY, double FromX1, double ToX1) const
{
    double bestX = 0.0, bestY = 0.0;
    const int curves = QuadraticCurvesSet.QuadraticCurvesCount;
    for (int n = 1; n <= curves; ++n) {
        const TCurveCoefficents &c = coeffs(n);
        if (c[2] == 0.0)
            continue;
        const double v = -c[1] / (2.0 * c[2]);
        const bool inCurve = n == curves ? point(n).X <= v && v <= point(PointsCount).X
                                         : point(n).X <= v && v < point(n + 1).X;
        if (!inCurve || v < FromX1 || v > ToX1)
            continue;
        const double y = c[0] + c[1] * v + c[2] * v * v;
        if (y > bestY) {
            bestY = y;
            bestX = v;
        }
    }
    for (int i = 1; i <= PointsCount; ++i) {
        const TCurvePoint &p = point(i);
        if (FromX1 <= p.X && p.X <= ToX1 && p.Y > bestY) {
            bestY = p.Y;
            bestX = p.X;
        }
    }
    X = bestX;
    MaxY = bestY;
}

void TQuadraticCurves::Save(TStream &stream, const std::string &) const
{
    for (int i = 1; i <= MaxCurvePoints; ++i) {
        stream.WriteDouble(CurvePoints[static_cast<std::size_t>(i)].X);
        stream.WriteDouble(CurvePoints[static_cast<std::size_t>(i)].Y);
    }
    stream.WriteInt32(PointsCount);
}

void TQuadraticCurves::Load(TStream &stream, const std::string &)
{
    std::vector<TCurvePoint> points(CurvePoints.size());
    std::int32_t count = 0;
    try {
        for (int i = 1; i <= MaxCurvePoints; ++i) {
            points[static_cast<std::size_t>(i)].X = stream.ReadDouble();
            points[static_cast<std::size_t>(i)].Y = stream.ReadDouble();
        }
        count = stream.ReadInt32();
    } catch (...) {
        Clear();
        throw;
    }
    if (count < 0 || count > MaxCurvePoints) {
        Clear();
        throw EStreamError("TQuadraticCurves.Load Failed: Points count is not valid.");
    }
    CurvePoints = std::move(points);
    bool solved = false;
    CalculateCurveCoeffs(count, solved);
}

} // namespace tessaran
