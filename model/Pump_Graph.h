#pragma once
// The geometry of the pump performance graph: every curve the pump draws on
// its graph, sampled as point lists in the display units of the running points
// (flows in PumpPoints.FlowDisplayUnit, heads in HeadDisplayUnit, NPSHr in
// NPSHrDisplayUnit, efficiency in percent, power in kW or HP). The TPump Draw
// methods hand these lists to the graph; tests can check them without a
// canvas.

#include "model/Pump_Class.h"

#include <string>
#include <vector>

namespace tessaran {

using TPumpGraphLine = std::vector<TGraphPoint>;

// Display conversions of the pump graph.
double PumpDisplayFlowFrom_m3s(const TPump &pump, double Flow_m3s, double FluidDensity_kgs_m3);
double PumpDisplayFlowFrom_kgs(const TPump &pump, double Flow_kgs, double FluidDensity_kgs_m3);
double PumpDisplayFlowTo_m3s(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3);
double PumpDisplayFlowTo_kgs(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3);
double PumpDisplayHeadFrom_mHd(const TPump &pump, double Head_mHd, double FluidDensity_kgs_m3);
// The pump's head at a display flow, as a display head.
double PumpDisplayHeadAtDisplayFlow(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3);
// The last running point's flow as a display flow (0 without points).
double PumpDisplayEndFlow(const TPump &pump, double FluidDensity_kgs_m3);

// The Q-H curve from zero flow to the last point in 50 steps (51 samples, the
// last exactly at the last point's flow); a single sample when that flow is 0.
TPumpGraphLine PumpHeadCurveSamples(const TPump &pump, double FluidDensity_kgs_m3);

// The head curve over the preferred operating range: the first point is where
// the pen moves to, the others are drawn to. Empty when there is nothing to
// draw.
TPumpGraphLine PumpPreferredRangeSamples(const TPump &pump, double FluidDensity_kgs_m3, double XScaleEndValue);

// Efficiency (percent) and shaft power (kW or HP, as the power display unit
// of the flow unit says) from the second point to the last point with a
// positive efficiency. Empty when the flow step is not positive.
TPumpGraphLine PumpEfficiencyCurveSamples(const TPump &pump, double FluidDensity_kgs_m3);
TPumpGraphLine PumpPowerCurveSamples(const TPump &pump, double FluidDensity_kgs_m3);
// NPSHr from the second point to the last one in 50 steps; empty when the
// last point's flow is not above the second's.
TPumpGraphLine PumpNPSHrCurveSamples(const TPump &pump, double FluidDensity_kgs_m3);

// The system curve through the operating point, from the static head (or 0
// when that lies above the pump's head there) upwards, kept below the top of
// the head scale.
TPumpGraphLine PumpSystemCurveSamples(const TPump &pump, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                                      double YScaleEndValue);

// The corner mark at the operating point: legs of 1/24 of each axis range
// pointing left and down.
TPumpGraphLine PumpOperatingPointCorner(const TPump &pump, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                                        double XScaleStartValue, double XScaleEndValue, double YScaleStartValue,
                                        double YScaleEndValue);

// One iso-efficiency line across the impeller range: the points left of the
// best-efficiency flow and those right of it, for diameters from the largest
// down to the smallest. The predictions run on a copy; the pump is not
// changed.
struct TPumpIsoLines {
    TPumpGraphLine Left;
    TPumpGraphLine Right;
    bool JoinedAtTop = false;    // the right line starts at the left line's first point
    std::string ErrorString;     // warning about an efficiency curve with a bump
    double ErrorDiameter_m = 0;  // the diameter of that curve
};
TPumpIsoLines PumpEfficiencyIsoLines(const TPump &pump, double TheEfficiency, double FluidDensity_kgs_m3);

// The two closings of an iso-efficiency line. firstLeftPass and
// firstRightPass are the passes (1 = the largest impeller, 25 = the smallest)
// at which each line got its first point. At the small-diameter end, when
// both lines stop short of the smallest impeller and bend towards each other,
// the right line is bridged over to the left line's last point. At the top,
// when neither line reaches the largest impeller and they open away from
// each other, the right line is made to start at the left line's first point.
// Each returns whether it changed the right line.
bool PumpIsoLinesCloseAtSmallDiameter(const TPumpGraphLine &left, TPumpGraphLine &right, int firstLeftPass,
                                      int firstRightPass);
bool PumpIsoLinesJoinAtTop(const TPumpGraphLine &left, TPumpGraphLine &right, int firstLeftPass, int firstRightPass);

// The text of the efficiency-curve warning for a diameter.
std::string PumpEfficiencyCurveWarning(const TPump &pump, double ImpellerDiameter_m);

} // namespace tessaran
