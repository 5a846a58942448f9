#include "model/Node_Class.h"

#include "Byte_Fixture.h"
#include "model/Fluid_Class.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::ByteFixture;

struct NodeBytes {
    std::uint8_t type = Tank;
    std::uint8_t demandByte = 0;
    std::int32_t imageIndex = 2;
    std::string notes = "line one\r\nline two";
};

// A node record of the given version, with the fields that version holds,
// built from the record's field table.
ByteFixture NodeRecord(const std::string &version, const NodeBytes &n = {})
{
    ByteFixture f;
    f.Short("N12", 20).Byte(n.type);
    if (version >= "5.50")
        f.Double(1.5);
    f.Double(0.01).Double(0.02);
    if (version >= "2.063") {
        f.Double(9.98).Double(19.96);
        if (version >= "6.44")
            f.Double(30.0).Double(60.0);
        f.Byte(n.demandByte);
    }
    f.Double(12.5).Double(0.3).Double(4.0).Double(1.75).Byte(1);
    for (std::int32_t v : {100, 200, 7, -5, 6, 12, -28, 12, 28})
        f.Int32(v);
    f.Int32(n.imageIndex).Int32(0x00FF00).Short(n.notes, 200);
    return f;
}

TEST(Node, EveryVersionGateReadsItsRecordAndWritesItBack)
{
    struct Case {
        const char *version;
        std::size_t size;
    } cases[] = {{"2.062", 316}, {"2.063", 333}, {"2.1", 333}, {"5.50", 341}, {"6.43", 341}, {"6.44", 357},
                 {"7.40", 357}};
    for (const Case &c : cases) {
        std::string version = c.version;
        ByteFixture fixture = NodeRecord(version, {Tank, 1});
        ASSERT_EQ(fixture.Size(), c.size) << version;
        TMemoryStream stream = fixture.Stream();
        TNode node;
        node.Load(stream, version);
        EXPECT_EQ(stream.Remaining(), 0) << version;
        EXPECT_EQ(node.Name, "N12");
        EXPECT_EQ(node.NodeType, Tank);
        EXPECT_EQ(node.NodeScale, version >= "5.50" ? 1.5 : 1.0) << version;
        EXPECT_EQ(node.JointDischarge_m3s, 0.02);
        EXPECT_EQ(node.JointDischarge_kgs, version >= "2.063" ? 19.96 : 0.0) << version;
        EXPECT_EQ(node.JointDischarge_SCMH, version >= "6.44" ? 60.0 : 0.0) << version;
        EXPECT_EQ(node.JointDemandUseFlowType, version >= "2.063" ? MassFlow : VolumeFlow) << version;
        EXPECT_EQ(node.Elevation_m, 12.5);
        EXPECT_EQ(node.Pressure_Bar_g, 1.75);
        EXPECT_TRUE(node.IsPressureSet);
        EXPECT_EQ(node.z, 7);
        EXPECT_EQ(node.labelRelativex, -5);
        EXPECT_EQ(node.JointDischargeRelativeY, 28);
        EXPECT_EQ(node.NodeImageIndex, 2);
        EXPECT_EQ(node.LiquidColor, 0x00FF00);
        EXPECT_EQ(node.Notes, (std::vector<std::string>{"line one", "line two"}));

        TMemoryStream written;
        node.Save(written, version);
        EXPECT_EQ(written.Size(), static_cast<std::int64_t>(c.size)) << version;
        written.Seek(0);
        TNode again;
        again.Load(written, version);
        EXPECT_EQ(again.NodeScale, node.NodeScale);
        EXPECT_EQ(again.JointDischarge_SCMH, node.JointDischarge_SCMH);
        EXPECT_EQ(again.JointDemandUseFlowType, node.JointDemandUseFlowType) << version;
        EXPECT_EQ(again.Notes, node.Notes);
        EXPECT_EQ(again.LiquidColor, node.LiquidColor);
    }
}

TEST(Node, DemandTypeByteByVersion)
{
    struct Case {
        const char *version;
        std::uint8_t byte;
        TFlowType type;
    } cases[] = {
        {"6.42", 0, VolumeFlow}, {"6.42", 1, MassFlow}, {"6.42", 2, VolumeFlow}, // a mass-flow flag
        {"6.43", 0, MassFlow},   {"6.43", 2, MassFlow},                          // always mass flow
        {"6.44", 0, VolumeFlow}, {"6.44", 2, GasFlow},  {"7.40", 1, MassFlow},
    };
    for (const Case &c : cases) {
        TMemoryStream stream = NodeRecord(c.version, {Joint, c.byte}).Stream();
        TNode node;
        node.Load(stream, c.version);
        EXPECT_EQ(node.JointDemandUseFlowType, c.type) << c.version << " byte " << int(c.byte);
    }
}

TEST(Node, TankSymbolsAbove9AreRenumberedUpTo706)
{
    struct Case {
        const char *version;
        std::uint8_t type;
        int stored, loaded;
    } cases[] = {{"7.06", Tank, 13, 3},   {"7.07", Tank, 13, 13}, {"7.06", Joint, 13, 13},
                 {"7.06", Tank, 9, 9},    {"6.00", Tank, 20, 0},  {"7.40", Tank, 13, 13}};
    for (const Case &c : cases) {
        NodeBytes n;
        n.type = c.type;
        n.imageIndex = c.stored;
        TMemoryStream stream = NodeRecord(c.version, n).Stream();
        TNode node;
        node.Load(stream, c.version);
        EXPECT_EQ(node.NodeImageIndex, c.loaded) << c.version << " " << c.stored;
    }
}

TEST(Node, NotesAreCutTo200CharactersLineBreaksCounted)
{
    TNode node;
    node.Notes = {std::string(150, 'a'), std::string(100, 'b')};
    TMemoryStream stream;
    node.Save(stream, "7.40");
    ASSERT_EQ(stream.Size(), TNode::RecordSize);
    ASSERT_EQ(TNode::RecordSize, 357);
    stream.Seek(0);
    TNode read;
    read.Load(stream, "7.40");
    EXPECT_EQ(read.Notes, (std::vector<std::string>{std::string(150, 'a'), std::string(48, 'b')}));

    NodeBytes n;
    n.notes = "first\nsecond\rthird\r\n";
    TMemoryStream mixed = NodeRecord("7.40", n).Stream();
    read.Load(mixed, "7.40");
    EXPECT_EQ(read.Notes, (std::vector<std::string>{"first", "second", "third"}));
}

TEST(Node, DamagedRecordRaisesAndLeavesTheNodeCleared)
{
    ByteFixture badType = NodeRecord("7.40", {4});
    ByteFixture badDemandType = NodeRecord("7.40", {Joint, 3});
    ByteFixture badNotes = NodeRecord("7.40");
    badNotes.bytes[156] = 201;
    ByteFixture shortRecord = NodeRecord("7.40");
    shortRecord.bytes.resize(300);
    for (const ByteFixture *fixture : {&badType, &badDemandType, &badNotes, &shortRecord}) {
        TNode node;
        node.Name = "old";
        node.Elevation_m = 5;
        node.Notes = {"old"};
        TMemoryStream stream = fixture->Stream();
        EXPECT_THROW(node.Load(stream, "7.40"), EStreamError);
        EXPECT_EQ(node.Name, "");
        EXPECT_EQ(node.Elevation_m, 0);
        EXPECT_TRUE(node.Notes.empty());
    }
}

TEST(Node, ClearKeepsNameAndEditorStateOnly)
{
    TNode node;
    node.Name = "J1";
    node.Selected = true;
    node.OrigX = 40;
    node.NodeType = Joint;
    node.JointSupply_SCMH = 12;
    node.LiquidColor = 0;
    node.JointSupplyRelativeY = 0;
    node.Notes = {"x"};
    node.Clear();
    EXPECT_EQ(node.Name, "J1");
    EXPECT_TRUE(node.Selected);
    EXPECT_EQ(node.OrigX, 40);
    EXPECT_EQ(node.NodeType, NotSet);
    EXPECT_EQ(node.JointSupply_SCMH, 0);
    EXPECT_EQ(node.LiquidColor, 0xFF8000);
    EXPECT_EQ(node.JointSupplyRelativeY, -28);
    EXPECT_TRUE(node.Notes.empty());
}

TEST(Node, JointMassFlowsFollowTheEnteredForm)
{
    TFluid water;
    TNode node;
    node.SetType(Joint);
    node.SetJointNodeData(3, 0.01, 0.02);
    node.JointSupply_kgs = 7;
    EXPECT_DOUBLE_EQ(node.GetJointSupply_kgs(water, 1.01325, std_0degC_101325Pa), 9.98);
    EXPECT_DOUBLE_EQ(node.GetJointDischarge_kgs(water, 1.01325, std_0degC_101325Pa), 19.96);
    node.JointDemandUseFlowType = MassFlow;
    EXPECT_EQ(node.GetJointSupply_kgs(water, 1.01325, std_0degC_101325Pa), 7);

    TFluid air;
    air.SetToAir();
    node.JointDemandUseFlowType = GasFlow;
    node.JointSupply_SCMH = 100;
    double kgs = node.GetJointSupply_kgs(air, 1.01325, std_0degC_101325Pa);
    EXPECT_DOUBLE_EQ(kgs, SCMH_To_kgsec(std_0degC_101325Pa, 100, air.density_kgs_m3, air.pressure_bar_g,
                                        air.degrees_K, 1.01325));

    // The other two forms follow the master form.
    node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(air, 1.01325, std_0degC_101325Pa);
    EXPECT_DOUBLE_EQ(node.JointSupply_kgs, kgs);
    EXPECT_DOUBLE_EQ(node.JointSupply_m3s, kgs / air.density_kgs_m3);
    node.JointDemandUseFlowType = VolumeFlow;
    node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(air, 1.01325, std_0degC_101325Pa);
    EXPECT_NEAR(node.JointSupply_SCMH, 100, 1e-9);

    for (TNodeType type : {Tank, EndPressure, NotSet}) {
        node.SetType(type);
        EXPECT_EQ(node.GetJointSupply_kgs(air, 1.01325, std_0degC_101325Pa), 0);
        EXPECT_EQ(node.GetJointDischarge_kgs(air, 1.01325, std_0degC_101325Pa), 0);
    }
}

TEST(Node, PressureRoutinesConvertHeadsWithTheDensity)
{
    TNode node;
    node.SetType(Tank);
    node.Elevation_m = 10;
    node.LiquidLevel_m = 5;
    node.Surface_Pressure_Bar_g = 0.5;
    const double rho = 1000.0, barPerMetre = 0.0980665;
    EXPECT_NEAR(node.getHGL_bar_g(1.01325, rho), 15 * barPerMetre + 0.5, 1e-12);
    EXPECT_NEAR(node.getSurfacePressureAtNode_mHd_Fluid(1.01325, rho), 0.5 / barPerMetre, 1e-9);
    EXPECT_NEAR(node.getSurfacePlusLiquidPressure_mHd_Fluid(1.01325, rho), 0.5 / barPerMetre + 5, 1e-9);
    EXPECT_NEAR(node.getSurfacePlusLiquidPressure_bar_g(1.01325, rho), 0.5 + 5 * barPerMetre, 1e-12);
    EXPECT_NEAR(node.getSurfacePressureAtNode_mHd_Fluid(1.01325, 500), 2 * 0.5 / barPerMetre, 1e-9);
}

TEST(Node, PrintDataDescribesInputAndResult)
{
    TNode node;
    node.SetType(EndPressure);
    node.Elevation_m = 2.5;
    node.Pressure_Bar_g = 1.25;
    auto lines = node.PrintData();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "NodeType=Demand Pressure, Elevation_m=2.5, Surface_Pressure_Bar_g=0, LiquidLevel_m=0, "
                        "JointSupply_m3s=0, JointDischarge_m3s=0");
    EXPECT_EQ(lines[1], "Pressure_Bar_g=1.25");
    EXPECT_EQ(lines[2], "IsPressureSet=False");
}

} // namespace
} // namespace tessaran
