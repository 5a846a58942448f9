#pragma once
// Piecewise quadratic curves through measured points (pump and component
// curves): every three consecutive points define one quadratic, which serves
// the interval starting at its first point.

#include "platform/Stream.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

// The exception of the calculation routines.
class ECalculations : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TCurvePoint {
    double X = 0.0;
    double Y = 0.0;
};

// c0 + c1 x + c2 x²: index 0 the constant, 1 the linear, 2 the quadratic term.
using TCurveCoefficents = std::array<double, 3>;

struct TQuadraticCurvesSet {
    std::int32_t QuadraticCurvesCount = 0;
    std::vector<TCurveCoefficents> QuadraticCurvesCoeffs; // used 1-based
};

// The quadratic through three points. Coefficients whose pivot vanishes are 0;
// raises ECalculations when the arithmetic breaks down.
void calcQuadraticPumpCoefficents(double x1, double y1, double x2, double y2, double x3, double y3,
                                  TCurveCoefficents &Coeffs);

// Real roots of a2 x² + a1 x + a0 = 0; Found is false (roots untouched) when
// there are none or a2 is 0.
void SolveQuadratic(double a2, double a1, double a0, double &Root1, double &Root2, bool &Found);

class TQuadraticCurves {
public:
    explicit TQuadraticCurves(int NumberOfCurvePoints);

    std::int32_t MaxCurvePoints = 0;
    std::vector<TCurvePoint> CurvePoints; // MaxCurvePoints + 1 places, used 1-based
    std::int32_t PointsCount = 0;
    TQuadraticCurvesSet QuadraticCurvesSet;

    void Clear();
    void CopyCurve(const TQuadraticCurves &TheCurve);
    // Inserts strictly inside an interval of the (increasing) points; does
    // nothing when X lies in none or the curve is full.
    void InsertCurvePoint(int &ThePointNum, double X, double Y);
    void RemoveCurvePoint(int ThePointNum);
    void CalculateIndividualCurveCoeffs(int CurveNumber, bool &solved);
    // solved is false when any of the fits failed.
    void CalculateCurveCoeffs(int ThePointsCount, bool &solved);

    int GetCurveNumber(double x) const;
    double CalculateY(double X) const;
    double CalculateDifferentialDYDX(double X) const;
    double CalculateYfromStraightLine(double X) const;
    double CalculateX(double Y) const;
    double CalculateXBackwardsFromEndOfCurve(double Y, double XPercentAllowedAfterEndOfCurvePoints) const;
    void CalculateXAtMaxY(double &X, double &MaxY, double FromX1, double ToX1) const;

    void Save(TStream &stream, const std::string &fileVersion) const;
    // Leaves the curve cleared and raises EStreamError on a short or malformed point file.
    void Load(TStream &stream, const std::string &fileVersion);

private:
    const TCurveCoefficents &coeffs(int curve) const;
    const TCurvePoint &point(int n) const;
    bool curveRoots(int curve, double Y, double &root1, double &root2) const;
};

} // namespace tessaran
