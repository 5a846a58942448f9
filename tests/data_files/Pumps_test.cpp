#include "Shipped_Data_Folder.h"

#include "model/Pump_Class.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <set>

namespace tessaran::test {
namespace {

TEST(ShippedPumps, EveryPumpFileLoadsWholeWithItsCurves)
{
    const auto files = ShippedFiles("Pumps", ".trpm");
    ASSERT_GE(files.size(), 10u);
    std::set<std::string> folders, speeds;
    for (const auto &path : files) {
        SCOPED_TRACE(path.filename().string());
        folders.insert(path.parent_path().filename().string());
        TMemoryStream stream;
        stream.LoadFromFile(path.string());
        TPump pump;
        pump.Load(stream, PumpCurrentFileVersion, 998.2, true);
        // A failed load leaves a cleared pump with no version.
        ASSERT_EQ(pump.PumpFileVersionString, "7.40");
        EXPECT_EQ(stream.Position(), stream.Size()) << "nothing left unread";
        EXPECT_FALSE(pump.Name.empty());
        speeds.insert(std::to_string(pump.Speed_rpm));
        ASSERT_GE(pump.PumpPoints.PointsCount, 5);
        EXPECT_EQ(pump.BaseDataSpeed_rpm, pump.Speed_rpm);

        pump.calcPumpCurves(998.2);
        const auto &points = pump.PumpPoints.Points;
        double previousHead = 1e9;
        for (int i = 1; i <= pump.PumpPoints.PointsCount; ++i) {
            const TPumpPoint &point = points[static_cast<std::size_t>(i)];
            EXPECT_LT(point.Head_mHd, previousHead) << "head falls with flow";
            previousHead = point.Head_mHd;
            EXPECT_GT(point.NPSHr_mHd, 0.0);
            // The fitted curve passes near every point it was fitted to.
            EXPECT_NEAR(pump.calcPumpHead_mHd_Fluid(point.Flow_m3s, 998.2), point.Head_mHd,
                        0.03 * point.Head_mHd);
        }
    }
    EXPECT_GE(folders.size(), 2u);
    EXPECT_TRUE(speeds.count("1450") && speeds.count("2900"));
}

} // namespace
} // namespace tessaran::test
