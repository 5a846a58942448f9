#pragma once
// Made-up generic centrifugal pumps for the shipped pump library and the
// example systems. They follow no maker's catalogue: sizes are named as in
// EN 733 (discharge nominal size - nominal impeller diameter, mm) and the
// curves come from textbook relations:
// - best-efficiency head from the head coefficient psi = 2 g H / u^2 of
//   about 1.05 at the impeller tip speed u = pi D n / 60;
// - best-efficiency flow at 6 m/s in the discharge branch at 2900 rpm,
//   scaled with the speed (affinity laws: Q ~ n, H ~ n^2);
// - the curve shapes H/Hb = 1.25 - 0.05 q - 0.20 q^2, eta/eta_b = q (2 - q)
//   and NPSHr/NPSHr_b = 0.4 + 0.6 q^2 with q = Q/Qb;
// - best efficiency 0.55 + 0.08 ln(Qb / 10 m3/h), at most 0.86;
// - NPSHr at best efficiency from a suction specific speed of 210
//   (n in rpm, Q in m3/s, NPSH in m).

#include "model/Pump_Class.h"
#include "units/Units.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tessaran::shipped {

struct GenericPumpSize {
    int DischargeDn_mm;
    int Impeller_mm;
};

inline double PumpRound(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// Fills a fixed-speed pump of that size at that speed, stages in series.
inline void MakeGenericPump(TPump &pump, const std::string &name, const std::string &kind,
                            const GenericPumpSize &size, int speed_rpm, int stages, double density_kgm3)
{
    const double pi = std::acos(-1.0);
    const double g = 9.80665;
    const double d_m = size.Impeller_mm / 1000.0;
    const double tipSpeed = pi * d_m * speed_rpm / 60;
    const double bestHead_m = 1.05 * tipSpeed * tipSpeed / (2 * g) * stages;
    const double dischargeArea = pi * std::pow(size.DischargeDn_mm / 1000.0, 2) / 4;
    const double bestFlow_m3s = 6.0 * dischargeArea * speed_rpm / 2900.0;
    const double bestEfficiency = std::min(0.86, 0.55 + 0.08 * std::log(bestFlow_m3s * 3600 / 10));
    const double bestNpshr_m = std::pow(speed_rpm * std::sqrt(bestFlow_m3s) / 210.0, 4.0 / 3.0);

    pump.Clear();
    pump.Name = name;
    pump.PumpType = PumpFixedSpeed;
    pump.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    pump.PumpPoints.HeadDisplayUnit = unt_m_hd_fluid;
    pump.PumpPoints.NPSHrDisplayUnit = unt_m_hd_fluid;
    pump.SetFlowRateDisplayUnit = unt_m3_hour;
    pump.SetFixedHeadDisplayUnit = unt_m_hd_fluid;
    pump.Speed_rpm = speed_rpm;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    pump.ClearPumpCurves();
    for (double q : {0.0, 0.25, 0.5, 0.75, 1.0, 1.15, 1.3}) {
        const double flow_m3h = PumpRound(q * bestFlow_m3s * 3600, 2);
        pump.AddPumpCurvePointFlowm3s(flow_m3h / 3600, PumpRound(bestHead_m * (1.25 - 0.05 * q - 0.20 * q * q), 2),
                                      PumpRound(100 * bestEfficiency * q * (2 - q), 1),
                                      PumpRound(bestNpshr_m * (0.4 + 0.6 * q * q), 2), density_kgm3);
    }
    pump.CopyBaseDataFromRunningData();
    pump.BaseDataSpeed_rpm = speed_rpm;
    pump.BaseDataImpellerDiameter_m = d_m;
    pump.ImpellerDiameter_m = d_m;
    pump.ImpellerDiameterDisplayUnit = unt_mm;
    pump.PumpImpellerDiameterMin_m = PumpRound(0.8 * d_m, 3);
    pump.PumpImpellerDiameterMax_m = d_m;
    pump.PumpCatalog = "Generic " + kind;
    pump.PumpManufacturer = "Generic";
    pump.PumpTypeKind = kind;
    pump.PumpSize = std::to_string(size.DischargeDn_mm) + "-" + std::to_string(size.Impeller_mm);
    pump.PumpMotorRpm = speed_rpm;
    pump.PumpSpeedMinRpm = speed_rpm / 2;
    pump.PumpSpeedMaxRpm = speed_rpm;
    pump.PumpStages = stages;
    pump.PumpSpeedRpmGraph = speed_rpm;
    pump.PumpImpellerDiameterGraph_m = d_m;
    pump.SetNotesText("Generic pump for examples; not a real product.");
}

} // namespace tessaran::shipped
