#include "units/Quadratic_Curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tessaran;

namespace {

TQuadraticCurves curveThrough(const std::vector<TCurvePoint> &points, int capacity = 10)
{
    TQuadraticCurves curve(capacity);
    for (std::size_t i = 0; i < points.size(); ++i)
        curve.CurvePoints[i + 1] = points[i];
    bool solved = false;
    curve.CalculateCurveCoeffs(static_cast<int>(points.size()), solved);
    EXPECT_TRUE(solved);
    return curve;
}

double parabola(double x) { return 1.0 + 2.0 * x + 3.0 * x * x; }

// A falling head curve: every segment a different quadratic.
const std::vector<TCurvePoint> fallingHead = {{0, 50}, {10, 49}, {20, 45}, {30, 37}, {40, 24}};

} // namespace

TEST(QuadraticFit, RecoversTheCoefficientsWhateverThePointOrder)
{
    const double orders[][3] = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}, {-3, 0.5, 4}, {4, -3, 0.5}, {-1, -2, -5}};
    for (const auto &x : orders) {
        TCurveCoefficents c{};
        calcQuadraticPumpCoefficents(x[0], parabola(x[0]), x[1], parabola(x[1]), x[2], parabola(x[2]), c);
        EXPECT_NEAR(c[0], 1.0, 1e-12) << x[0] << " " << x[1] << " " << x[2];
        EXPECT_NEAR(c[1], 2.0, 1e-12);
        EXPECT_NEAR(c[2], 3.0, 1e-12);
    }
}

TEST(QuadraticFit, SingularPointsGiveZeroCoefficientsAndBrokenArithmeticRaises)
{
    TCurveCoefficents c{};
    ASSERT_NO_THROW(calcQuadraticPumpCoefficents(1, 1, 1, 2, 2, 3, c));
    EXPECT_EQ(c[0], 0.0);
    EXPECT_TRUE(std::isfinite(c[1]) && std::isfinite(c[2]));

    EXPECT_THROW(calcQuadraticPumpCoefficents(1e200, 1, 2, 3, 4, 5, c), ECalculations);
}

TEST(QuadraticRoots, GivesBothRootsAndNoneWithoutRealOnes)
{
    double r1 = 7, r2 = 7;
    bool found = false;
    SolveQuadratic(1, -3, 2, r1, r2, found); // (x - 1)(x - 2)
    ASSERT_TRUE(found);
    EXPECT_DOUBLE_EQ(r1, 2.0);
    EXPECT_DOUBLE_EQ(r2, 1.0);
    SolveQuadratic(-1, 3, -2, r1, r2, found); // same roots, the other way up
    EXPECT_DOUBLE_EQ(r1, 1.0);
    EXPECT_DOUBLE_EQ(r2, 2.0);
    // Tiny quadratic term: the small root keeps its accuracy.
    SolveQuadratic(1e-12, 1, -1, r1, r2, found);
    EXPECT_NEAR(r1, 1.0 - 1e-12, 1e-15); // x = 1 - 1e-12 to first order
    r1 = r2 = 7;
    SolveQuadratic(1, 0, 1, r1, r2, found);
    EXPECT_FALSE(found);
    SolveQuadratic(0, 1, 1, r1, r2, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(r1, 7.0);
}

TEST(QuadraticCurves, EvaluatesAndExtrapolatesWithTheServingCurve)
{
    const TQuadraticCurves curve = curveThrough(fallingHead);
    EXPECT_EQ(curve.QuadraticCurvesSet.QuadraticCurvesCount, 3);
    for (const auto &p : fallingHead)
        EXPECT_NEAR(curve.CalculateY(p.X), p.Y, 1e-9);
    const auto &c = curve.QuadraticCurvesSet.QuadraticCurvesCoeffs;
    const auto eval = [](const TCurveCoefficents &k, double x) { return k[0] + k[1] * x + k[2] * x * x; };
    EXPECT_DOUBLE_EQ(curve.CalculateY(-5), eval(c[1], -5));
    EXPECT_DOUBLE_EQ(curve.CalculateY(15), eval(c[2], 15));
    EXPECT_DOUBLE_EQ(curve.CalculateY(55), eval(c[3], 55));
    EXPECT_DOUBLE_EQ(curve.CalculateDifferentialDYDX(15), c[2][1] + 2 * c[2][2] * 15);

    struct Case {
        double x;
        int curve;
    } increasing[] = {{-1, 1}, {0, 1}, {9.99, 1}, {10, 2}, {25, 3}, {30, 3}, {40, 3}, {99, 3}};
    for (const auto &k : increasing)
        EXPECT_EQ(curve.GetCurveNumber(k.x), k.curve) << k.x;

    const TQuadraticCurves reversed = curveThrough({{40, 24}, {30, 37}, {20, 45}, {10, 49}, {0, 50}});
    Case decreasing[] = {{50, 1}, {40, 1}, {30.5, 1}, {30, 2}, {29, 2}, {15, 3}, {5, 3}, {-5, 3}};
    for (const auto &k : decreasing)
        EXPECT_EQ(reversed.GetCurveNumber(k.x), k.curve) << k.x;

    struct Line {
        double x, y;
    } lines[] = {{5, 49.5}, {25, 41}, {35, 30.5}, {40, 24}, {50, 11}};
    for (const auto &l : lines)
        EXPECT_NEAR(curve.CalculateYfromStraightLine(l.x), l.y, 1e-12) << l.x;
}

TEST(QuadraticCurves, InvertsForwardsAndBackwardsOnEverySegmentKind)
{
    // Falling head: a head between two points gives the flow inside that interval.
    const TQuadraticCurves head = curveThrough(fallingHead);
    for (std::size_t i = 0; i + 1 < fallingHead.size(); ++i) {
        const double y = (fallingHead[i].Y + fallingHead[i + 1].Y) / 2;
        const double x = head.CalculateX(y);
        EXPECT_GT(x, fallingHead[i].X) << y;
        EXPECT_LT(x, fallingHead[i + 1].X) << y;
        EXPECT_NEAR(head.CalculateY(x), y, 1e-9);
        EXPECT_NEAR(head.CalculateXBackwardsFromEndOfCurve(y, 0), x, 1e-9);
    }
    EXPECT_EQ(head.CalculateX(80), 0.0); // never reached

    // A hill: forwards finds the rising side, backwards the falling side.
    const TQuadraticCurves hill = curveThrough({{0, 0}, {1, 3}, {2, 4}, {3, 3}, {4, 0}});
    EXPECT_NEAR(hill.CalculateX(3), 1.0, 1e-9);
    EXPECT_NEAR(hill.CalculateXBackwardsFromEndOfCurve(3, 0), 3.0, 1e-9);
    // Beyond the last point only within the allowed percentage.
    EXPECT_EQ(hill.CalculateXBackwardsFromEndOfCurve(-2.25, 0), 0.0);
    EXPECT_NEAR(hill.CalculateXBackwardsFromEndOfCurve(-2.25, 20), 4.5, 1e-9);

    // Exactly straight segments have a root too.
    const TQuadraticCurves line = curveThrough({{0, 10}, {1, 8}, {2, 6}, {3, 4}});
    EXPECT_EQ(line.QuadraticCurvesSet.QuadraticCurvesCoeffs[1][2], 0.0);
    for (const double y : {9.0, 7.0, 5.0, 4.0}) {
        EXPECT_NEAR(line.CalculateX(y), (10 - y) / 2, 1e-12) << y;
        EXPECT_NEAR(line.CalculateXBackwardsFromEndOfCurve(y, 0), (10 - y) / 2, 1e-12) << y;
    }
}

TEST(QuadraticCurves, FindsTheHighestPointInARange)
{
    const TQuadraticCurves hill = curveThrough({{0, 0}, {1, 3}, {2.5, 3.75}, {3, 3}, {4, 0}});
    struct Case {
        double from, to, x, y;
    } cases[] = {{0, 4, 2, 4}, {0, 1.5, 1, 3}, {2.6, 4, 3, 3}, {5, 6, 0, 0}};
    for (const auto &c : cases) {
        double x = -1, y = -1;
        hill.CalculateXAtMaxY(x, y, c.from, c.to);
        EXPECT_NEAR(x, c.x, 1e-9) << c.from << ".." << c.to;
        EXPECT_NEAR(y, c.y, 1e-9) << c.from << ".." << c.to;
    }
    const TQuadraticCurves below = curveThrough({{0, -1}, {1, -0.5}, {2, -1}});
    double x = -1, y = -1;
    below.CalculateXAtMaxY(x, y, 0, 2);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
}

TEST(QuadraticCurves, FailedFitOfAnyCurveIsReported)
{
    // The first curve cannot be fitted; the later ones can. The caller must
    // hear of the failure even though the last fit worked.
    TQuadraticCurves curve(6);
    const std::vector<TCurvePoint> points = {{1e200, 1}, {1, 2}, {2, 3}, {3, 5}, {4, 8}};
    for (std::size_t i = 0; i < points.size(); ++i)
        curve.CurvePoints[i + 1] = points[i];
    bool solved = true;
    curve.CalculateCurveCoeffs(5, solved);
    EXPECT_FALSE(solved);
    EXPECT_EQ(curve.QuadraticCurvesSet.QuadraticCurvesCoeffs[1], (TCurveCoefficents{0, 0, 0}));
    bool one = false;
    curve.CalculateIndividualCurveCoeffs(3, one);
    EXPECT_TRUE(one);

    // Fewer than three points: no curves, coefficients cleared.
    curve.CalculateCurveCoeffs(2, solved);
    EXPECT_EQ(curve.QuadraticCurvesSet.QuadraticCurvesCount, 0);
    EXPECT_EQ(curve.QuadraticCurvesSet.QuadraticCurvesCoeffs[3], (TCurveCoefficents{0, 0, 0}));
}

TEST(QuadraticCurves, InsertsAndRemovesPoints)
{
    TQuadraticCurves curve = curveThrough({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, 6);
    curve.RemoveCurvePoint(2);
    EXPECT_EQ(curve.PointsCount, 4);
    EXPECT_EQ(curve.QuadraticCurvesSet.QuadraticCurvesCount, 2);
    const double xs[] = {1, 3, 4, 5};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(curve.CurvePoints[static_cast<std::size_t>(i)].X, xs[i - 1]);
    EXPECT_EQ(curve.CurvePoints[5].X, 0.0);
    EXPECT_EQ(curve.CurvePoints[5].Y, 0.0);

    int at = -1;
    curve.InsertCurvePoint(at, 3, 9); // on a point, not strictly inside
    curve.InsertCurvePoint(at, 7, 9); // beyond the last point
    EXPECT_EQ(at, -1);
    curve.InsertCurvePoint(at, 3.5, 9);
    EXPECT_EQ(at, 3);
    EXPECT_EQ(curve.PointsCount, 5);
    EXPECT_EQ(curve.CurvePoints[3].Y, 9.0);
    EXPECT_EQ(curve.CurvePoints[5].X, 5.0);
    curve.InsertCurvePoint(at, 1.5, 2);
    EXPECT_EQ(curve.PointsCount, 6);
    // Full: a further point has no place and is refused.
    at = -1;
    curve.InsertCurvePoint(at, 1.2, 2);
    EXPECT_EQ(at, -1);
    EXPECT_EQ(curve.PointsCount, 6);
    EXPECT_EQ(curve.CurvePoints.size(), 7u);
}

TEST(QuadraticCurves, PointFileRoundTripsAndBadFilesLeaveTheCurveCleared)
{
    const TQuadraticCurves curve = curveThrough(fallingHead, 6);
    TMemoryStream stream;
    curve.Save(stream, "7.40");
    EXPECT_EQ(stream.Size(), 6 * 16 + 4);

    TQuadraticCurves loaded(6);
    stream.Seek(0);
    loaded.Load(stream, "7.40");
    EXPECT_EQ(loaded.PointsCount, 5);
    EXPECT_EQ(loaded.QuadraticCurvesSet.QuadraticCurvesCount, 3);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(loaded.CurvePoints[static_cast<std::size_t>(i)].Y, fallingHead[static_cast<std::size_t>(i - 1)].Y);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(loaded.QuadraticCurvesSet.QuadraticCurvesCoeffs[static_cast<std::size_t>(n)],
                  curve.QuadraticCurvesSet.QuadraticCurvesCoeffs[static_cast<std::size_t>(n)]);

    TQuadraticCurves copy(6);
    copy.CopyCurve(curve);
    EXPECT_EQ(copy.CalculateY(12.5), curve.CalculateY(12.5));

    std::vector<std::uint8_t> bytes = stream.Bytes();
    TMemoryStream truncated(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 2));
    EXPECT_THROW(loaded.Load(truncated, "7.40"), EStreamError);
    EXPECT_EQ(loaded.PointsCount, 0);
    EXPECT_EQ(loaded.CurvePoints[1].Y, 0.0);

    bytes[bytes.size() - 4] = 7; // more points than places
    TMemoryStream tooMany(bytes);
    EXPECT_THROW(copy.Load(tooMany, "7.40"), EStreamError);
    EXPECT_EQ(copy.PointsCount, 0);
    EXPECT_EQ(copy.QuadraticCurvesSet.QuadraticCurvesCount, 0);
}
