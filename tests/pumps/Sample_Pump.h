#pragma once
// The five-point pump the pump tests start from: 250 mm impeller, in m³/h
// and m of fluid, at the speed given.

#include "model/Pump_Class.h"

namespace tessaran::test {

inline void MakeSamplePump(TPump &pump, double speed_rpm, double density = 1000)
{
    pump.Clear();
    pump.Name = "P-1";
    pump.PumpType = PumpFixedSpeed;
    pump.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    pump.PumpPoints.HeadDisplayUnit = unt_m_hd_fluid;
    pump.PumpPoints.NPSHrDisplayUnit = unt_m_hd_fluid;
    pump.ImpellerDiameterDisplayUnit = unt_mm;
    pump.Speed_rpm = speed_rpm;
    pump.ImpellerDiameter_m = 0.25;
    const double rows[][4] = {{0, 50, 0, 1}, {20, 48, 50, 1.5}, {40, 44, 70, 2}, {60, 36, 72, 3}, {80, 24, 60, 4.5}};
    for (const auto &row : rows)
        pump.AddPumpCurvePointFlowm3s(row[0] / 3600, row[1], row[2], row[3], density);
    pump.CopyBaseDataFromRunningData();
}

} // namespace tessaran::test
