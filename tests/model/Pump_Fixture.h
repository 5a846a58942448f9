#pragma once
// A typical centrifugal pump for the pump tests: six points at 1450 rpm and a
// 250 mm impeller (trim range 200 to 270 mm), in water.

#include "model/Pump_Class.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg_Image.h"

namespace tessaran::test {

constexpr double Water = 1000.0;

struct PumpPointRow {
    double Flow_m3h, Head_m, Efficiency, NPSHr_m;
};

inline constexpr PumpPointRow TypicalPumpRows[] = {
    {0, 50, 0, 1.0},  {20, 49, 45, 1.2}, {40, 46, 65, 1.6},
    {60, 41, 75, 2.2}, {80, 34, 72, 3.0}, {100, 25, 60, 4.2},
};

// Running points from rows, base data copied from them.
template <std::size_t N>
void SetPumpPoints(TPump &pump, const PumpPointRow (&rows)[N], double density = Water)
{
    pump.ClearPumpCurves();
    for (const auto &row : rows)
        pump.AddPumpCurvePointFlowm3s(row.Flow_m3h / 3600, row.Head_m, row.Efficiency, row.NPSHr_m, density);
    pump.CopyBaseDataFromRunningData();
}

// A small picture, as a BMP file and as a JPEG file.
inline TBitmap SmallPicture()
{
    TBitmap bitmap(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap.SetPixel(x, y, RGB(30 * x, 40 * y, 200));
    return bitmap;
}
inline std::vector<std::uint8_t> SmallBmp() { return SmallPicture().SaveToBytes(); }
inline std::vector<std::uint8_t> SmallJpeg(int quality = 90) { return EncodeJpeg(SmallPicture(), quality, false); }

inline void MakeTypicalPump(TPump &pump)
{
    pump.Clear();
    pump.Name = "Typical";
    pump.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    pump.PumpPoints.HeadDisplayUnit = unt_m_hd_fluid;
    pump.PumpPoints.NPSHrDisplayUnit = unt_m_hd_fluid;
    pump.Speed_rpm = 1450;
    pump.ImpellerDiameter_m = 0.25;
    SetPumpPoints(pump, TypicalPumpRows);
    pump.PumpImpellerDiameterMin_m = 0.20;
    pump.PumpImpellerDiameterMax_m = 0.27;
    pump.calcPumpBaseDataNPSHCurve();
    pump.calcPumpBaseDataEfficiencyCurve();
}

} // namespace tessaran::test
