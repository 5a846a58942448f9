#include "model/Flow_Control_Class.h"

#include "Byte_Fixture.h"
#include "model/Fluid_Class.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::ByteFixture;

// A flow-control record of the given version, with the fields that version
// holds, built from the record's field table.
ByteFixture FlowControlRecord(const std::string &version, std::uint8_t flowTypeByte = 1)
{
    ByteFixture f;
    f.Short("PRV-1", 20);
    if (version < "2.06")
        return f.Double(0.02);
    f.Byte(PRV).Int32(3).Byte(1).Double(0.1).Double(2.5).Double(0.02);
    if (version >= "2.063") {
        f.Byte(flowTypeByte).Double(19.96);
        if (version >= "7.14")
            f.Double(61.2);
        f.Byte(unt_L_sec);
    }
    f.Double(3.5);
    if (version >= "7.13")
        f.Byte(0);
    return f;
}

TEST(FlowControl, EveryVersionGateReadsItsRecordAndWritesItBack)
{
    struct Case {
        const char *version;
        std::size_t size;
    } cases[] = {{"2.05", 29}, {"2.06", 59}, {"2.062", 59}, {"2.063", 69}, {"7.12", 69}, {"7.13", 70}, {"7.14", 78},
                 {"7.40", 78}};
    for (const Case &c : cases) {
        ByteFixture fixture = FlowControlRecord(c.version);
        ASSERT_EQ(fixture.Size(), c.size) << c.version;
        TMemoryStream stream = fixture.Stream();
        TFlowControl v;
        v.Load(stream, c.version);
        EXPECT_EQ(stream.Remaining(), 0) << c.version;
        EXPECT_EQ(v.Name, "PRV-1");
        EXPECT_EQ(v.FlowControl_m3s, 0.02);

        bool full = std::string(c.version) >= "2.06";
        bool mass = std::string(c.version) >= "2.063";
        EXPECT_EQ(v.ControlType, full ? PRV : FCV) << c.version;
        EXPECT_EQ(v.ImageIndex, full ? 3 : 0);
        EXPECT_EQ(v.UseAllowedDpRange, full);
        EXPECT_EQ(v.MaxAllowedDp_Bar_g, full ? 2.5 : 0.0);
        EXPECT_EQ(v.RegulatedPressure_Bar_g, full ? 3.5 : 0.0);
        EXPECT_EQ(v.FlowControlFlowType, mass ? MassFlow : VolumeFlow) << c.version;
        EXPECT_EQ(v.FlowControl_kgs, mass ? 19.96 : 0.0);
        EXPECT_EQ(v.FlowControlDisplayUnit, mass ? unt_L_sec : unt_m3_sec);
        EXPECT_EQ(v.FlowControl_SCMH, std::string(c.version) >= "7.14" ? 61.2 : 0.0) << c.version;
        EXPECT_EQ(v.CheckCompressibleChokedFlow, std::string(c.version) < "7.13") << c.version;

        TMemoryStream written;
        v.Save(written, c.version);
        EXPECT_EQ(written.Size(), static_cast<std::int64_t>(c.size)) << c.version;
        written.Seek(0);
        TFlowControl again;
        again.Load(written, c.version);
        EXPECT_EQ(again.ControlType, v.ControlType);
        EXPECT_EQ(again.FlowControlFlowType, v.FlowControlFlowType) << c.version;
        EXPECT_EQ(again.FlowControl_SCMH, v.FlowControl_SCMH);
        EXPECT_EQ(again.CheckCompressibleChokedFlow, v.CheckCompressibleChokedFlow);
        EXPECT_EQ(again.RegulatedPressure_Bar_g, v.RegulatedPressure_Bar_g);
    }
}

TEST(FlowControl, FlowTypeByteIsAMassFlagBefore714)
{
    struct Case {
        const char *version;
        std::uint8_t byte;
        TFlowType type;
    } cases[] = {{"7.12", 0, VolumeFlow}, {"7.12", 1, MassFlow}, {"7.12", 2, VolumeFlow},
                 {"7.14", 1, MassFlow},   {"7.14", 2, GasFlow},  {"7.40", 0, VolumeFlow}};
    for (const Case &c : cases) {
        TMemoryStream stream = FlowControlRecord(c.version, c.byte).Stream();
        TFlowControl v;
        v.Load(stream, c.version);
        EXPECT_EQ(v.FlowControlFlowType, c.type) << c.version << " byte " << int(c.byte);
    }
}

TEST(FlowControl, OldRecordLeavesNothingOfThePreviousValve)
{
    TFlowControl v;
    v.ControlType = BPV;
    v.FlowControlFlowType = GasFlow;
    v.FlowControl_SCMH = 500;
    v.CheckCompressibleChokedFlow = false;
    TMemoryStream stream = FlowControlRecord("2.06").Stream();
    v.Load(stream, "2.06");
    EXPECT_EQ(v.FlowControlFlowType, VolumeFlow);
    EXPECT_EQ(v.FlowControl_SCMH, 0);
    EXPECT_TRUE(v.CheckCompressibleChokedFlow);
}

TEST(FlowControl, DamagedRecordRaisesAndLeavesTheValveCleared)
{
    ByteFixture badType = FlowControlRecord("7.40");
    badType.bytes[21] = 3; // control type
    ByteFixture badFlowType = FlowControlRecord("7.40", 3);
    ByteFixture badUnit = FlowControlRecord("7.40");
    badUnit.bytes[78 - 1 - 8 - 1] = 100; // display unit
    ByteFixture shortRecord = FlowControlRecord("7.40");
    shortRecord.bytes.pop_back();
    for (const ByteFixture *fixture : {&badType, &badFlowType, &badUnit, &shortRecord}) {
        TFlowControl v;
        v.Name = "old";
        v.ControlType = PRV;
        TMemoryStream stream = fixture->Stream();
        EXPECT_THROW(v.Load(stream, "7.40"), EStreamError);
        EXPECT_EQ(v.Name, "");
        EXPECT_EQ(v.ControlType, FCV);
    }
}

TEST(FlowControl, TypeStringAndEquivalentFlows)
{
    TFlowControl v;
    for (auto [type, text] : {std::pair{FCV, "FCV"}, {PRV, "PRV"}, {BPV, "BPV"}, {TControlType(7), "NONE"}}) {
        v.ControlType = type;
        EXPECT_EQ(v.GetControlValveTypeString(), text);
    }

    TFluid air;
    air.SetToAir();
    v.FlowControlFlowType = MassFlow;
    v.FlowControl_kgs = 1.204;
    v.SetEquivalentFlowAndMassFlowRate(air, 1.01325, std_20degC_101325Pa);
    EXPECT_DOUBLE_EQ(v.FlowControl_m3s, 1.0);
    double scmh = v.FlowControl_SCMH;
    EXPECT_GT(scmh, 0);

    // Entered as standard flow, the same valve gives back the same mass flow.
    v.FlowControlFlowType = GasFlow;
    v.FlowControl_m3s = v.FlowControl_kgs = 0;
    v.SetEquivalentFlowAndMassFlowRate(air, 1.01325, std_20degC_101325Pa);
    EXPECT_NEAR(v.FlowControl_kgs, 1.204, 1e-12);
    EXPECT_NEAR(v.FlowControl_m3s, 1.0, 1e-12);
    EXPECT_EQ(v.FlowControl_SCMH, scmh);

    TFluid water;
    v.FlowControlFlowType = VolumeFlow;
    v.FlowControl_m3s = 0.01;
    v.SetEquivalentFlowAndMassFlowRate(water, 1.01325, std_20degC_101325Pa);
    EXPECT_DOUBLE_EQ(v.FlowControl_kgs, 9.98);
}

} // namespace
} // namespace tessaran
