#include "model/Fluid_Class.h"

#include "Byte_Fixture.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::ByteFixture;

ByteFixture FluidRecord(bool withSpecificHeatRatio)
{
    ByteFixture f;
    f.Short("Natural gas", 80).Short("CH4", 30);
    f.Double(288.15).Double(2.0).Double(14.1).Double(0.011).Double(0.78).Double(0.0);
    if (withSpecificHeatRatio)
        f.Double(1.31);
    return f.Byte(1).Double(1.0);
}

TEST(Fluid, RecordIs177BytesAnd169BeforeSpecificHeatRatio)
{
    struct Case {
        const char *version;
        bool ratio;
        std::size_t size;
    } cases[] = {{"7.40", true, 177}, {"7.02", true, 177}, {"7.01", false, 169}, {"5.00", false, 169}};
    for (const Case &c : cases) {
        ByteFixture fixture = FluidRecord(c.ratio);
        ASSERT_EQ(fixture.Size(), c.size);
        TMemoryStream stream = fixture.Stream();
        TFluid fluid;
        fluid.specificHeatRatio = 9; // must not survive a record without the field
        fluid.Load(stream, c.version);
        EXPECT_EQ(stream.Remaining(), 0) << c.version;
        EXPECT_EQ(fluid.name, "Natural gas");
        EXPECT_EQ(fluid.chemicalFormula, "CH4");
        EXPECT_EQ(fluid.degrees_K, 288.15);
        EXPECT_EQ(fluid.pressure_bar_g, 2.0);
        EXPECT_EQ(fluid.centistokes, 14.1);
        EXPECT_EQ(fluid.centipoise, 0.011);
        EXPECT_EQ(fluid.density_kgs_m3, 0.78);
        EXPECT_EQ(fluid.specificHeatRatio, c.ratio ? 1.31 : 0.0) << c.version;
        EXPECT_TRUE(fluid.FluidIsGas);
        EXPECT_EQ(fluid.compressedFlowFactor, 1.0);

        TMemoryStream written;
        fluid.Save(written);
        ASSERT_EQ(written.Size(), TFluid::RecordSize);
        written.Seek(0);
        TFluid again;
        again.Load(written, "7.40");
        EXPECT_EQ(again.specificHeatRatio, fluid.specificHeatRatio);
        EXPECT_EQ(again.compressedFlowFactor, fluid.compressedFlowFactor);
    }
    EXPECT_EQ(TFluid::RecordSize, 177);
}

TEST(Fluid, DamagedRecordRaisesAndLeavesWater)
{
    ByteFixture shortRecord = FluidRecord(true);
    shortRecord.bytes.resize(170);
    ByteFixture badName = FluidRecord(true);
    badName.bytes[0] = 81;
    for (const ByteFixture *fixture : {&shortRecord, &badName}) {
        TFluid fluid;
        fluid.SetToAir();
        TMemoryStream stream = fixture->Stream();
        EXPECT_THROW(fluid.Load(stream, "7.40"), EStreamError);
        EXPECT_EQ(fluid.name, "Water");
        EXPECT_FALSE(fluid.FluidIsGas);
    }
}

TEST(Fluid, PresetsAndClear)
{
    TFluid fluid;
    EXPECT_EQ(fluid.name, "Water");
    EXPECT_EQ(fluid.chemicalFormula, "H2O");
    EXPECT_DOUBLE_EQ(fluid.degrees_K, 293.15);
    EXPECT_EQ(fluid.density_kgs_m3, 998.0);
    EXPECT_EQ(fluid.vapourPressure_bar_a, 0.024);

    fluid.SetToAir();
    EXPECT_EQ(fluid.chemicalFormula, "N/A");
    EXPECT_DOUBLE_EQ(fluid.centistokes, 14.950166112956811);
    EXPECT_EQ(fluid.specificHeatRatio, 1.401968);
    EXPECT_TRUE(fluid.FluidIsGas);

    fluid.Clear();
    EXPECT_EQ(fluid.name, "Water");
    EXPECT_FALSE(fluid.FluidIsGas);
    EXPECT_EQ(fluid.specificHeatRatio, 0.0);

    fluid.SetDensity_KgPerLitre(0.85);
    EXPECT_DOUBLE_EQ(fluid.density_kgs_m3, 850);
    EXPECT_DOUBLE_EQ(fluid.density_KgPerLitre(), 0.85);
}

TEST(Fluid, GridRowsInBothSystems)
{
    TFluid water;
    EXPECT_EQ(water.DisplayOnStringGrid_Metric(4),
              (std::vector<std::string>{"Water", "H2O", "20.000", "0.000000", "998.000000", "1.002000", "2.400000",
                                        "Liquid", "4"}));
    auto imperial = water.DisplayOnStringGrid_Imperial(4);
    EXPECT_EQ(imperial[2], "68.000");
    EXPECT_EQ(imperial[4], "62.303105"); // 998 kg/m3 in lb/ft3
    EXPECT_EQ(imperial[6], "0.348091");  // 0.024 bar in psi

    // The "N/A" test applies to the converted value.
    water.vapourPressure_bar_a = 0.00005;
    EXPECT_EQ(water.DisplayOnStringGrid_Imperial(1)[6], "N/A");
    EXPECT_EQ(water.DisplayOnStringGrid_Metric(1)[6], "0.005000");

    TFluid air;
    air.SetToAir();
    air.vapourPressure_bar_a = 5;
    EXPECT_EQ(air.DisplayOnStringGrid_Metric(2)[6], "1.401968");
    EXPECT_EQ(air.DisplayOnStringGrid_Imperial(2)[6], "1.401968");
    EXPECT_EQ(air.DisplayOnStringGrid_Imperial(2)[7], "Gas");
}

} // namespace
} // namespace tessaran
