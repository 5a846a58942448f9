#include "model/Component_Pressure_Class.h"

#include "Byte_Fixture.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaran {
namespace {

using test::ByteFixture;

struct ComponentBytes {
    std::uint8_t pressureType = ComponentPressureCurve;
    std::int32_t pointsCount = 3;
    double fixedLoss = 2.0;
};

// A component record of the given version, with the fields that version
// holds (the mass-flow column as the caller says), built from the record's
// field table.
ByteFixture ComponentRecord(const std::string &version, bool massFlowColumn, const ComponentBytes &c = {})
{
    ByteFixture f;
    f.Short("Strainer", 20).Int32(4).Byte(c.pressureType);
    if (version >= "5.10")
        f.Double(12.0).Double(10.4);
    if (version >= "7.11")
        f.Double(5.6).Double(80.0);
    if (version >= "7.12")
        f.Byte(0);
    if (version >= "4.06")
        f.Byte(0);
    f.Double(c.fixedLoss);
    if (massFlowColumn)
        f.Byte(1);
    f.Byte(unt_L_sec).Byte(unt_kPa_G).Int32(c.pointsCount);
    for (int k = 1; k <= 8; ++k) {
        f.Double(0.01 * k);
        if (massFlowColumn)
            f.Double(9.98 * k);
        f.Double(1.0 * k * k);
    }
    return f;
}

ByteFixture ComponentFile(const std::string &version, const ComponentBytes &c = {})
{
    ByteFixture f;
    f.Short("trcowithversion", 20).Short(version, 20);
    auto record = ComponentRecord(version, version >= "2.063", c);
    f.bytes.insert(f.bytes.end(), record.bytes.begin(), record.bytes.end());
    return f;
}

TEST(ComponentPressure, EmbeddedRecordAtEveryVersionGate)
{
    struct Case {
        const char *version;
        std::size_t size;
    } cases[] = {{"4.05", 168}, {"4.06", 234}, {"5.10", 250}, {"7.11", 266}, {"7.12", 267}, {"7.40", 267}};
    for (const Case &c : cases) {
        std::string version = c.version;
        bool modern = version >= "4.06";
        ByteFixture fixture = ComponentRecord(version, modern);
        ASSERT_EQ(fixture.Size(), c.size) << version;
        TMemoryStream stream = fixture.Stream();
        TComponentPressure component;
        component.Load(stream, version, false);
        EXPECT_EQ(stream.Remaining(), 0) << version;
        EXPECT_EQ(component.Name, "Strainer");
        EXPECT_EQ(component.ImageIndex, 4);
        EXPECT_EQ(component.PressureType, ComponentPressureCurve);
        EXPECT_EQ(component.Kv, version >= "5.10" ? 10.4 : 0.0) << version;
        EXPECT_EQ(component.SprinklerKmetric, version >= "7.11" ? 80.0 : 0.0) << version;
        EXPECT_EQ(component.CheckCompressibleChokedFlow, version < "7.12") << version;
        EXPECT_TRUE(component.SetPressureLoss_Stored_mH2O == !modern) << version;
        EXPECT_EQ(component.CurvePoints.UseMassFlow, modern);
        EXPECT_EQ(component.CurvePoints.FlowDisplayUnit, unt_L_sec);
        EXPECT_EQ(component.CurvePoints.LossDisplayUnit, unt_kPa_G);
        EXPECT_EQ(component.CurvePoints.PointsCount, 3);
        EXPECT_EQ(component.CurvePoints.Point(8).Flow_m3s, 0.08);
        EXPECT_EQ(component.CurvePoints.Point(8).Flow_kgs, modern ? 9.98 * 8 : 0.0);
        EXPECT_EQ(component.CurvePoints.Point(8).Loss_mHd, 64.0);
        EXPECT_EQ(component.ComponentFileVersionString, "");

        TMemoryStream written;
        component.Save(written, version, false);
        EXPECT_EQ(written.Size(), static_cast<std::int64_t>(c.size)) << version;
        written.Seek(0);
        TComponentPressure again;
        again.Load(written, version, false);
        EXPECT_NEAR(again.FixedPressureLoss_mHd, component.FixedPressureLoss_mHd, 1e-12) << version;
        EXPECT_EQ(again.CurvePoints.Point(8).Flow_kgs, component.CurvePoints.Point(8).Flow_kgs);
        EXPECT_EQ(again.SetPressureLoss_Stored_mH2O, component.SetPressureLoss_Stored_mH2O);
        EXPECT_EQ(again.CheckCompressibleChokedFlow, component.CheckCompressibleChokedFlow);
    }
    EXPECT_EQ(TComponentPressure::RecordSize, 267);
}

TEST(ComponentPressure, OldRecordsHoldTheFixedLossInBar)
{
    TMemoryStream stream = ComponentRecord("4.05", false, {ComponentPressureFixed, 0, 1.0}).Stream();
    TComponentPressure component;
    component.Load(stream, "4.05", false);
    EXPECT_TRUE(component.SetPressureLoss_Stored_mH2O);
    EXPECT_NEAR(component.FixedPressureLoss_mHd, 1.0 / 0.0980665, 1e-9); // 1 bar as metres of water
}

TEST(ComponentPressure, ComponentFileWithMarkerReadsTheVersionItHolds)
{
    ByteFixture file = ComponentFile("7.40");
    ASSERT_EQ(file.Size(), 42u + 267u);
    TMemoryStream stream = file.Stream();
    TComponentPressure component;
    component.Load(stream, "7.40", true);
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(component.ComponentFileVersionMarker, "trcowithversion");
    EXPECT_EQ(component.ComponentFileVersionString, "7.40");
    EXPECT_EQ(component.Name, "Strainer");

    // The dialog reads every file as the current version; the file's own
    // version decides the layout.
    ByteFixture older = ComponentFile("4.10");
    stream = older.Stream();
    component.Load(stream, "7.40", true);
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(component.ComponentFileVersionString, "4.10");
    EXPECT_EQ(component.Cv, 0.0);
    EXPECT_TRUE(component.CurvePoints.UseMassFlow);

    // What Save writes, Load reads back, the marker included.
    component.Kv = 3.25;
    TMemoryStream written;
    component.Save(written, "7.40", true);
    EXPECT_EQ(written.Size(), 42 + 267);
    EXPECT_EQ(component.ComponentFileVersionString, "7.40");
    written.Seek(0);
    TComponentPressure again;
    again.Load(written, "7.40", true);
    EXPECT_EQ(again.Kv, 3.25);
    EXPECT_EQ(again.ComponentFileVersionMarker, "trcowithversion");
}

TEST(ComponentPressure, ComponentFileWithoutMarkerReadsAsVersionZero)
{
    ByteFixture file = ComponentRecord("4.05", false, {ComponentPressureFixed, 0, 1.0});
    TMemoryStream stream = file.Stream();
    TComponentPressure component;
    component.Kv = 7;
    component.Load(stream, "7.40", true);
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(component.Name, "Strainer");
    EXPECT_EQ(component.ComponentFileVersionString, "0");
    EXPECT_EQ(component.Kv, 0.0);
    EXPECT_FALSE(component.CurvePoints.UseMassFlow);
    EXPECT_NEAR(component.FixedPressureLoss_mHd, 1.0 / 0.0980665, 1e-9);

    // A file read at a version below the marker has the mass-flow column
    // from "2.063" on.
    ByteFixture v300 = ComponentRecord("3.00", true);
    stream = v300.Stream();
    component.Load(stream, "3.00", true);
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_TRUE(component.CurvePoints.UseMassFlow);
    EXPECT_EQ(component.CurvePoints.Point(2).Flow_kgs, 9.98 * 2);
}

// A damaged record used to be swallowed: the component looked loaded and a
// pipe record around it went on reading out of step. Now the caller hears.
TEST(ComponentPressure, DamagedRecordOrFileIsReportedAndLeavesTheComponentCleared)
{
    ByteFixture shortRecord = ComponentRecord("7.40", true);
    shortRecord.bytes.resize(200);
    ByteFixture badCount = ComponentRecord("7.40", true, {ComponentPressureCurve, 9});
    ByteFixture negativeCount = ComponentRecord("7.40", true, {ComponentPressureCurve, -1});
    ByteFixture badType = ComponentRecord("7.40", true, {6});
    ByteFixture badUnit = ComponentRecord("7.40", true);
    badUnit.bytes[21 + 4 + 1 + 32 + 1 + 1 + 8 + 1] = 100;
    ByteFixture shortFile = ComponentFile("7.40");
    shortFile.bytes.resize(100);
    struct Case {
        const ByteFixture *fixture;
        bool file;
    } cases[] = {{&shortRecord, false}, {&badCount, false}, {&negativeCount, false},
                 {&badType, false},     {&badUnit, false},  {&shortFile, true}};
    for (const Case &c : cases) {
        TComponentPressure component;
        component.Name = "old";
        component.Kv = 5;
        component.PressureType = ComponentPressureKv;
        TMemoryStream stream = c.fixture->Stream();
        try {
            component.Load(stream, "7.40", c.file);
            ADD_FAILURE() << "damaged record accepted";
        } catch (const EComponentPressureClass &e) {
            EXPECT_EQ(std::string(e.what()).rfind("TComponentPressure.Load Failed", 0), 0u) << e.what();
        }
        EXPECT_EQ(component.Name, "");
        EXPECT_EQ(component.Kv, 0);
        EXPECT_EQ(component.PressureType, ComponentPressureFixed);
        EXPECT_EQ(component.ComponentFileVersionString, "");
    }
}

TComponentPressure Curve(std::initializer_list<std::pair<double, double>> points)
{
    TComponentPressure component;
    component.PressureType = ComponentPressureCurve;
    for (auto [flow, loss] : points)
        component.AddCurvePointFlowm3s(flow, loss, 1000);
    return component;
}

TEST(ComponentPressure, FixedAndCurveLossesInBothFlowDirections)
{
    TComponentPressure fixed;
    fixed.FixedPressureLoss_mHd = 2;
    TComponentPressure fixedWater = fixed;
    fixedWater.SetPressureLoss_Stored_mH2O = true;
    TComponentPressure parabola = Curve({{0, 0}, {0.01, 1}, {0.02, 4}});
    TComponentPressure offset = Curve({{0.01, 1}, {0.02, 2}, {0.03, 5}});
    TComponentPressure step = Curve({{0, 0}, {0.01, 1}, {0.01, 3}});
    TComponentPressure onePoint = Curve({{0.01, 2}});
    TComponentPressure empty = Curve({});

    struct Case {
        const char *what;
        const TComponentPressure *component;
        double flow, density, loss;
    } cases[] = {
        {"fixed at zero flow", &fixed, 0, 1000, 2},
        {"fixed reversed", &fixed, -0.01, 1000, -2},
        {"fixed stored as water", &fixedWater, 0.01, 500, 4},
        {"curve inside", &parabola, 0.015, 1000, 2.5},
        {"curve above the last point", &parabola, 0.03, 1000, 7},
        {"curve reversed", &parabola, -0.015, 1000, -2.5},
        // Below the first point the first segment serves; the last one
        // used to give -2.5 m at a positive flow.
        {"curve below the first point", &offset, 0.005, 1000, 0.5},
        // Two points at one flow are a step, not a division by zero.
        {"step at its flow", &step, 0.01, 1000, 3},
        {"beyond a closing step", &step, 0.02, 1000, 3},
        {"one point", &onePoint, 0.05, 1000, 2},
        {"one point reversed", &onePoint, -0.05, 1000, -2},
        {"no points", &empty, 0.05, 1000, 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(c.component->calcLoss_mHd_Fluid(c.flow, c.density, 0.1), c.loss, 1e-9) << c.what;

    EXPECT_EQ(step.calcLoss_Bar_DifferentialQkgs(10, 1000, 0.1), 0);
    EXPECT_EQ(onePoint.calcLoss_Bar_DifferentialQkgs(10, 1000, 0.1), 0);
    EXPECT_EQ(fixed.calcLoss_Bar_DifferentialQkgs(10, 1000, 0.1), 0);
}

TEST(ComponentPressure, CoefficientsGiveTheirRatedDropAtTheirRatedFlow)
{
    const double oneBar_m = convertHeadPressureUnit(unt_Bar_G, unt_m_hd_fluid, 1, 998);
    const double onePsi_m = convertHeadPressureUnit(unt_Psi_G, unt_m_hd_fluid, 1, 998);
    struct Case {
        TPressureType type;
        double coefficient, ratedFlow_m3s, ratedHead_m;
    } cases[] = {
        {ComponentPressureKv, 36, 0.01, oneBar_m},
        {ComponentPressureCv, 40, 0.86497767 * 40 / 3600, oneBar_m},
        {ComponentPressureSprinklerKimperial, 40, convertUnit(unt_gpm_USA, unt_m3_sec, 40), onePsi_m},
        {ComponentPressureSprinklerKmetric, 80, 80 / 60000.0, oneBar_m},
    };
    for (const Case &c : cases) {
        TComponentPressure component;
        component.PressureType = c.type;
        component.Kv = component.Cv = component.SprinklerKimperial = component.SprinklerKmetric = c.coefficient;
        const double d = 0.08;
        SCOPED_TRACE(component.getComponentTypeString());
        EXPECT_NEAR(component.calcLoss_mHd_Fluid(c.ratedFlow_m3s, 998, d), c.ratedHead_m, 1e-9);
        EXPECT_NEAR(component.calcLoss_mHd_Fluid(-2 * c.ratedFlow_m3s, 998, d), -4 * c.ratedHead_m, 1e-8);
        EXPECT_EQ(component.calcLoss_mHd_Fluid(c.ratedFlow_m3s, 998, 0), 0);

        // The derivative is that of calcLoss_Bar and the same in both directions.
        const double m = c.ratedFlow_m3s * 998, dm = m * 1e-6;
        const double numeric = (component.calcLoss_Bar(m + dm, 998, d) - component.calcLoss_Bar(m - dm, 998, d)) / (2 * dm);
        const double derivative = component.calcLoss_Bar_DifferentialQkgs(m, 998, d);
        EXPECT_NEAR(derivative, numeric, 1e-6 * std::fabs(numeric));
        EXPECT_EQ(component.calcLoss_Bar_DifferentialQkgs(-m, 998, d), derivative);
        EXPECT_GT(derivative, 0);
    }
}

TEST(ComponentPressure, CurveDerivativeIsTheSegmentSlopeInBarPerKgs)
{
    TComponentPressure curve = Curve({{0, 0}, {0.01, 1}, {0.02, 4}});
    const double rho = 1000;
    for (double m : {5.0, -5.0, 15.0, 30.0}) {
        const double dm = 1e-4;
        const double numeric = (curve.calcLoss_Bar(m + dm, rho, 0.1) - curve.calcLoss_Bar(m - dm, rho, 0.1)) / (2 * dm);
        EXPECT_NEAR(curve.calcLoss_Bar_DifferentialQkgs(m, rho, 0.1), numeric, 1e-9) << m;
    }
}

TEST(ComponentPressure, CurvePointsAndFits)
{
    TComponentPressure component;
    for (int k = 1; k <= 8; ++k)
        component.AddCurvePointFlowm3s(0.01 * k, k, 1000);
    try {
        component.AddCurvePointFlowm3s(0.09, 9, 1000);
        ADD_FAILURE() << "ninth point accepted";
    } catch (const EComponentPressureClass &e) {
        EXPECT_STREQ(e.what(), "TComponentPressure.AddCurvePoint Failed: Max number of curve points reached.");
    }
    EXPECT_EQ(component.CurvePoints.PointsCount, 8);
    EXPECT_EQ(component.CurvePoints.Point(3).Flow_kgs, 30);

    component.CurvePoints.UseMassFlow = true;
    component.CurvePoints.Point(2).Flow_kgs = 50;
    component.SetEquivalentFlowAndMassFlowRate(500);
    EXPECT_EQ(component.CurvePoints.Point(2).Flow_m3s, 0.1);
    component.CurvePoints.UseMassFlow = false;
    component.SetEquivalentFlowAndMassFlowRate(1000);
    EXPECT_EQ(component.CurvePoints.Point(2).Flow_kgs, 100);

    bool negative = true;
    component.CheckIfCurveContainsNegativeValues(negative);
    EXPECT_FALSE(negative);
    component.CurvePoints.Point(9 - 1).Loss_mHd = -1;
    component.CheckIfCurveContainsNegativeValues(negative);
    EXPECT_TRUE(negative);

    TComponentPressure parabola = Curve({{0, 0}, {0.01, 1}, {0.02, 4}});
    parabola.CreateQuadraticCurvePointsFromFirst3Points(1000);
    ASSERT_EQ(parabola.CurvePoints.PointsCount, 8);
    for (int i = 1; i <= 8; ++i) {
        const double flow = (i - 1) * 0.02 / 7;
        EXPECT_NEAR(parabola.CurvePoints.Point(i).Flow_m3s, flow, 1e-15);
        EXPECT_NEAR(parabola.CurvePoints.Point(i).Flow_kgs, flow * 1000, 1e-12);
        EXPECT_NEAR(parabola.CurvePoints.Point(i).Loss_mHd, 10000 * flow * flow, 1e-9);
    }

    // Loss in bar against kg/s through points 1, 2 and the last, as
    // a·Q² + b·Q + c: the square term comes back in a, as for pumps.
    double a = -1, b = -1, c = -1;
    parabola.LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(1000, a, b, c);
    const double barPerMetre = 1000 * 9.80665 / 1e5;
    EXPECT_NEAR(a, 10000 * barPerMetre / 1e6, 1e-12);
    EXPECT_NEAR(b, 0, 1e-12);
    EXPECT_NEAR(c, 0, 1e-12);
    const double flow_kgs = 20; // the last curve point
    EXPECT_NEAR(a * flow_kgs * flow_kgs + b * flow_kgs + c,
                parabola.calcLoss_Bar(flow_kgs, 1000, 0.1), 1e-6);

    TComponentPressure tooFew = Curve({{0.01, 1}});
    EXPECT_THROW(tooFew.LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(1000, a, b, c), EComponentPressureClass);
}

TEST(ComponentPressure, StoredHeadKindFollowsTheDisplayUnit)
{
    TComponentPressure component;
    component.SetPressureLoss_Stored_mH2O = true;
    component.FixedPressureLoss_mHd = 2;
    component.AddCurvePointFlowm3s(0.01, 1, 500);
    component.CurvePoints.LossDisplayUnit = unt_ft_hd_fluid;
    component.UpdateToStoredFluidHeadIfDisplaySetFluidHead(500);
    EXPECT_FALSE(component.SetPressureLoss_Stored_mH2O);
    EXPECT_NEAR(component.FixedPressureLoss_mHd, 4, 1e-12);
    EXPECT_NEAR(component.CurvePoints.Point(1).Loss_mHd, 2, 1e-12);
    component.UpdateToStoredFluidHeadIfDisplaySetFluidHead(500);
    EXPECT_NEAR(component.FixedPressureLoss_mHd, 4, 1e-12);

    component.CurvePoints.LossDisplayUnit = unt_Bar_G;
    component.UpdateToStoredFluidHeadIfDisplaySetFluidHead(500);
    EXPECT_TRUE(component.SetPressureLoss_Stored_mH2O);
    EXPECT_NEAR(component.FixedPressureLoss_mHd, 2, 1e-12);
}

TEST(ComponentPressure, TypeAndValueTexts)
{
    TComponentPressure component;
    component.FixedPressureLoss_mHd = 10;
    component.SetPressureLoss_Stored_mH2O = true;
    component.CurvePoints.LossDisplayUnit = unt_Bar_G;
    EXPECT_EQ(component.getComponentTypeString(), "Fixed Loss " + unitPlainName(unt_Bar_G));
    EXPECT_EQ(component.getComponentValueString(unt_Bar_G, 1.01325, 998), "0.9807");
    component.SetPressureLoss_Stored_mH2O = false;
    EXPECT_EQ(component.getComponentValueString(unt_m_hd_fluid, 1.01325, 998), "10.0000");

    struct Case {
        TPressureType type;
        const char *typeText, *valueText;
    } cases[] = {{ComponentPressureCurve, "Curve Loss", "From Curve"},
                 {ComponentPressureCv, "Cv", "1.5000"},
                 {ComponentPressureKv, "Kv", "2.2500"},
                 {ComponentPressureSprinklerKimperial, "Sprinkler K imperial", "5.6000"},
                 {ComponentPressureSprinklerKmetric, "Sprinkler K metric", "80.0000"}};
    component.Cv = 1.5;
    component.Kv = 2.25;
    component.SprinklerKimperial = 5.6;
    component.SprinklerKmetric = 80;
    for (const Case &c : cases) {
        component.PressureType = c.type;
        EXPECT_EQ(component.getComponentTypeString(), c.typeText);
        EXPECT_EQ(component.getComponentValueString(unt_Bar_G, 1.01325, 998), c.valueText);
    }
}

TEST(ComponentPressure, ClearAndCopyLeaveTheFileTextsAlone)
{
    TComponentPressure source;
    source.Name = "Filter";
    source.Kv = 4;
    source.ComponentFileVersionMarker = "trcowithversion";
    source.ComponentFileVersionString = "7.40";
    TComponentPressure target;
    target.ComponentFileVersionString = "6.00";
    target.CopyComponentPressure(source);
    EXPECT_EQ(target.Name, "Filter");
    EXPECT_EQ(target.Kv, 4);
    EXPECT_EQ(target.ComponentFileVersionString, "6.00");
    EXPECT_EQ(target.ComponentFileVersionMarker, "");

    source.Clear();
    EXPECT_EQ(source.Name, "");
    EXPECT_EQ(source.ComponentFileVersionString, "7.40");
    EXPECT_TRUE(source.CheckCompressibleChokedFlow);
    EXPECT_EQ(source.CurvePoints.LossDisplayUnit, unt_m_hd_fluid);
}

} // namespace
} // namespace tessaran
