#include "model/Pump_Class.h"

#include "Byte_Fixture.h"
#include "Pump_Fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::ByteFixture;
using test::MakeTypicalPump;
using test::Water;

const std::vector<std::uint8_t> TinyJpeg = test::SmallJpeg();
const std::vector<std::uint8_t> TinyBitmap = test::SmallBmp();
// What an older record's bitmap becomes: a JPEG made once, at the default quality.
const std::vector<std::uint8_t> BitmapAsJpeg = test::SmallJpeg(90);

// A pump with every stored field away from its default.
TPump FullPump()
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.PumpType = PumpFixedHead;
    pump.SetFlowRate_m3s = 0.01;
    pump.SetFlowRate_kgs = 10;
    pump.SetFlowRateDisplayUnit = unt_L_sec;
    pump.SetFixedHead_FluidHead_m = 33;
    pump.SetFixedHeadDisplayUnit = unt_ft_hd_fluid;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    pump.x = 1234;
    pump.y = -56;
    pump.PumpImageIndex = 7;
    pump.PumpColorIndex = 3;
    pump.PumpScale = 1.75;
    pump.BaseDataSpeed_rpm = 1450;
    pump.BaseDataImpellerDiameter_m = 0.25;
    pump.BaseDataPumpPoints.Points[2].Head_mHd = 48.5;
    pump.PumpPoints.SetNPSHr_Stored_mH2O = true;
    pump.ImpellerDiameterDisplayUnit = unt_inch;
    pump.PumpCatalog = "Catalogue 2026";
    pump.PumpManufacturer = "Maker";
    pump.PumpTypeKind = "End suction";
    pump.PumpMotorRpm = 1480;
    pump.PumpSpeedMinRpm = 900;
    pump.PumpSpeedMaxRpm = 1800;
    pump.PumpSize = "50-250";
    pump.PumpStages = 2;
    pump.PumpSpeedRpmGraph = 1450;
    pump.PumpImpellerDiameterGraph_m = 0.24;
    for (int i = 1; i <= 2; ++i) {
        pump.FlowHeadCurveMaxImpellerMultipliers[i] = 0.1 * i;
        pump.FlowHeadCurveMinImpellerMultipliers[i] = -0.2 * i;
        pump.EfficiencyCurveMaxImpellerMultipliers[i] = 0.3 * i;
        pump.EfficiencyCurveMinImpellerMultipliers[i] = -0.4 * i;
    }
    pump.EfficiencyMinImpellerPointMultipliers[3] = 0.97;
    pump.EfficiencyMaxImpellerPointMultipliers[9] = 1.03;
    pump.PumpEfficiencyMaxSpeedEfficPercentIncrease = 4;
    pump.PumpNPSHStartMinDiamNpshPercentIncrease = 1;
    pump.PumpNPSHEndMinDiamNpshPercentIncrease = 2;
    pump.PumpNPSHStartMaxDiamNpshPercentIncrease = 3;
    pump.PumpNPSHEndMaxDiamNpshPercentIncrease = 4;
    TImportedPumpSheet &sheet = pump.ImportedPumpSheet;
    sheet.Imported = true;
    sheet.SaveImportedBitmap = true;
    sheet.PumpSheetBitmap.LoadFromBytes(TinyJpeg);
    sheet.PumpSheetOpacity = 40;
    sheet.xAxisMinImageX = 11;
    sheet.yAxisMaxImageY = 88;
    sheet.xMax = 120;
    sheet.yMax = 60;
    sheet.xUnits = unt_m3_hour;
    sheet.PumpSpeed_rpm = 1450;
    sheet.PumpImpellerDiameter_m = 0.25;
    sheet.pointsCount = 3;
    for (int i = 1; i <= 10; ++i) {
        sheet.Points[i] = {100 + i, 200 - i};
        sheet.EfficPoints[i] = 40 + i;
        sheet.NPSHrPoints_mHd[i] = 0.5 * i;
    }
    pump.ImportedLogoLoaded = true;
    pump.ImportedLogoBitmap.LoadFromBytes(TinyJpeg);
    TPumpGraphOptions &g = pump.PumpGraphOptions;
    g.ShowEnvelope = false;
    g.ShowEfficiencyIso = true;
    g.EfficiencyIsoPercent = 2.5;
    g.ShowPower = true;
    g.GridLinesStyle = GraphGridFine;
    g.SystemCurveHeadStart_mHd = 12;
    g.ShowImportedLogo = true;
    g.ShowMinFlowLine = true;
    g.MinDiamMinFlowPercent = 15;
    g.MaxDiamMinFlowPercent = 25;
    g.ColorBEPCurve = 0x123456;
    g.ColorMinFlowLine = 0x654321;
    pump.SetNotesText("first line\r\nsecond line");
    return pump;
}

ByteFixture RecordOfVersion(const std::string &v, bool header);

std::vector<std::uint8_t> Saved(TPump &pump, bool standalone)
{
    TMemoryStream stream;
    pump.Save(stream, PumpCurrentFileVersion, Water, standalone);
    return stream.Bytes();
}

void ExpectSameStoredFields(const TPump &a, const TPump &b)
{
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.PumpType, b.PumpType);
    EXPECT_EQ(a.SetFixedHead_FluidHead_m, b.SetFixedHead_FluidHead_m);
    EXPECT_EQ(a.PumpScale, b.PumpScale);
    EXPECT_EQ(a.PumpColorIndex, b.PumpColorIndex);
    EXPECT_EQ(a.PumpPoints.Points, b.PumpPoints.Points);
    EXPECT_EQ(a.PumpPoints.PointsCount, b.PumpPoints.PointsCount);
    EXPECT_EQ(a.BaseDataPumpPoints.Points, b.BaseDataPumpPoints.Points);
    EXPECT_EQ(a.PumpNPSHEndMaxDiamNpshPercentIncrease, b.PumpNPSHEndMaxDiamNpshPercentIncrease);
    EXPECT_EQ(a.EfficiencyMaxImpellerPointMultipliers, b.EfficiencyMaxImpellerPointMultipliers);
    const TImportedPumpSheet &sa = a.ImportedPumpSheet, &sb = b.ImportedPumpSheet;
    EXPECT_EQ(sa.Imported, sb.Imported);
    EXPECT_EQ(sa.SaveImportedBitmap, sb.SaveImportedBitmap);
    EXPECT_EQ(sa.PumpSheetBitmap.SaveToBytes(), sb.PumpSheetBitmap.SaveToBytes());
    EXPECT_EQ(sa.PumpSheetOpacity, sb.PumpSheetOpacity);
    EXPECT_EQ(sa.xAxisMinImageX, sb.xAxisMinImageX);
    EXPECT_EQ(sa.yAxisMaxImageY, sb.yAxisMaxImageY);
    EXPECT_EQ(sa.xMax, sb.xMax);
    EXPECT_EQ(sa.xUnits, sb.xUnits);
    EXPECT_EQ(sa.PumpImpellerDiameter_m, sb.PumpImpellerDiameter_m);
    EXPECT_EQ(sa.pointsCount, sb.pointsCount);
    EXPECT_EQ(sa.Points, sb.Points);
    EXPECT_EQ(sa.EfficPoints, sb.EfficPoints);
    EXPECT_EQ(sa.NPSHrPoints_mHd, sb.NPSHrPoints_mHd);
    EXPECT_EQ(a.ImportedLogoLoaded, b.ImportedLogoLoaded);
    EXPECT_EQ(a.ImportedLogoBitmap.SaveToBytes(), b.ImportedLogoBitmap.SaveToBytes());
    EXPECT_EQ(a.PumpGraphOptions, b.PumpGraphOptions);
    EXPECT_EQ(a.Notes, b.Notes);
}

TEST(PumpFile, StandaloneFileRoundTripsByteForByte)
{
    TPump pump = FullPump();
    const auto bytes = Saved(pump, true);
    EXPECT_EQ(pump.PumpFileVersionMarker, "trpmwithversion");

    TPump loaded;
    TMemoryStream stream(bytes);
    loaded.Load(stream, PumpCurrentFileVersion, Water, true);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(loaded.PumpFileVersionString, "7.40");
    ExpectSameStoredFields(loaded, pump);
    // The curves are not stored: they come back with the next fit.
    EXPECT_EQ(loaded.PumpCurve_Qm3s_mHd.PointsCount, 0);
    loaded.calcPumpCurves(Water);
    EXPECT_EQ(loaded.PumpCurve_Qm3s_mHd.CalculateY(0.01), pump.PumpCurve_Qm3s_mHd.CalculateY(0.01));

    EXPECT_EQ(Saved(loaded, true), bytes);
}

TEST(PumpFile, EmbeddedRecordHasNoHeader)
{
    TPump pump = FullPump();
    const auto embedded = Saved(pump, false);
    const auto standalone = Saved(pump, true);
    ASSERT_EQ(standalone.size(), embedded.size() + 42);
    EXPECT_TRUE(std::equal(embedded.begin(), embedded.end(), standalone.begin() + 42));
    EXPECT_EQ(embedded[0], pump.Name.size());

    TPump loaded;
    TMemoryStream stream(embedded);
    loaded.Load(stream, "7.40", 0, false);
    EXPECT_EQ(stream.Position(), stream.Size());
    ExpectSameStoredFields(loaded, pump);
    EXPECT_EQ(Saved(loaded, false), embedded);
}

// A JPEG made at another quality than the default one comes back byte for
// byte: nothing is re-encoded on the way.
TEST(PumpFile, PicturesAreStoredAsTheyCame)
{
    TPump pump = FullPump();
    const auto sheet = test::SmallJpeg(40);
    pump.ImportedPumpSheet.PumpSheetBitmap.LoadFromBytes(sheet);
    const auto bytes = Saved(pump, false);
    TPump loaded;
    TMemoryStream stream(bytes);
    loaded.Load(stream, "7.40", 0, false);
    EXPECT_EQ(loaded.ImportedPumpSheet.PumpSheetBitmap.SaveToBytes(), sheet);
    EXPECT_EQ(Saved(loaded, false), bytes);

    // Without its switches neither picture is written.
    pump.ImportedPumpSheet.SaveImportedBitmap = false;
    pump.ImportedLogoLoaded = false;
    EXPECT_EQ(Saved(pump, false).size(), bytes.size() - 2 * 4 - sheet.size() - TinyJpeg.size());
}

// An older record's bitmap sheet becomes a JPEG once, when it is read; saving
// it again and again writes the same bytes.
TEST(PumpFile, OldBitmapSheetIsMadeAJpegOnce)
{
    TMemoryStream stream = RecordOfVersion("6.26", false).Stream();
    TPump pump;
    pump.Load(stream, "6.26", Water, false);
    EXPECT_EQ(pump.ImportedPumpSheet.PumpSheetBitmap.SaveToBytes(), BitmapAsJpeg);
    const auto first = Saved(pump, false);
    TPump again;
    TMemoryStream firstStream(first);
    again.Load(firstStream, "7.40", Water, false);
    EXPECT_EQ(Saved(again, false), first);
}

// --- hand-built records of every version gate ---------------------------------------

bool from(const std::string &v, const char *gate) { return v >= gate; }
bool within(const std::string &v, const char *low, const char *high) { return v >= low && v <= high; }

// A pump record as a writer of version v laid it out, field by field.
ByteFixture RecordOfVersion(const std::string &v, bool header)
{
    ByteFixture f;
    if (header)
        f.Short("trpmwithversion", 20).Short(v, 20);
    f.Short("Hand", 20).Byte(PumpFixedFlow).Double(0.02);
    if (from(v, "2.063"))
        f.Double(20.0);
    f.Byte(unt_L_sec);
    if (from(v, "2.02"))
        f.Double(10.0).Byte(unt_m_H2O);
    f.Int32(1450).Int32(70).Int32(120).Int32(100).Int32(200).Int32(2);
    if (from(v, "7.06"))
        f.Int32(5).Double(1.5);
    if (within(v, "2.063", "6.38"))
        f.Byte(0xEE);
    f.Byte(unt_m3_hour).Byte(unt_m_hd_fluid).Byte(unt_ft_hd_fluid);
    if (from(v, "4.06"))
        f.Byte(0).Byte(1);
    f.Int32(3);
    for (int i = 1; i <= 10; ++i) {
        f.Double(0.01 * i);
        if (from(v, "2.063"))
            f.Double(10.0 * i);
        f.Double(60 - i).Double(5.0 * i).Double(0.5 * i);
    }
    if (from(v, "5.50")) {
        f.Int32(1500).Double(0.3);
        for (int i = 1; i <= 10; ++i)
            f.Double(0.02 * i).Double(20.0 * i).Double(70 - i).Double(6.0 * i).Double(0.4 * i);
    }
    if (!from(v, "5.50")) {
        f.bytes.insert(f.bytes.end(), 260, 0xAB);
    } else {
        f.Double(0.28).Byte(unt_inch).Short("Cat", 30).Short("Maker", 30).Short("Kind", 30);
        f.Int32(1480).Int32(900).Int32(1800).Short("50-250", 20).Double(0.2).Double(0.3).Int32(2).Int32(1490);
        f.Double(0.29).Double(0.11).Double(0.12).Double(0.13);
        if (from(v, "6.22"))
            f.Double(0.14);
        if (within(v, "6.22", "6.25"))
            f.bytes.insert(f.bytes.end(), 16, 0xAB);
        if (from(v, "6.12"))
            f.Double(-0.21).Double(-0.22).Double(0.23);
        if (from(v, "6.22"))
            f.Double(0.24);
        if (within(v, "6.22", "6.25"))
            f.bytes.insert(f.bytes.end(), 16, 0xAB);
        if (from(v, "6.25")) {
            for (int i = 1; i <= 10; ++i)
                f.Double(0.9);
            for (int i = 1; i <= 10; ++i)
                f.Double(1.1);
        }
        if (from(v, "6.29"))
            f.Double(7.0);
        if (within(v, "6.28", "6.30"))
            f.Double(31).Double(32);
        else if (from(v, "6.31"))
            f.Double(41).Double(42).Double(43).Double(44);
        f.Byte(1).Int32(60).Byte(1);
        const auto &picture = from(v, "6.27") ? TinyJpeg : TinyBitmap;
        f.Int32(static_cast<std::int32_t>(picture.size()));
        f.bytes.insert(f.bytes.end(), picture.begin(), picture.end());
        for (int i = 1; i <= 8; ++i)
            f.Int32(i);
        f.Double(0).Double(120).Double(0).Double(60).Byte(unt_m3_hour).Byte(unt_m_hd_fluid);
        f.Int32(1450).Double(0.25).Int32(2);
        for (int i = 1; i <= 10; ++i)
            f.Int32(100 + i).Int32(200 + i).Int32(200 + i).Int32(101 + i).Double(40 + i).Double(0.1 * i);
        if (from(v, "6.37")) {
            f.Byte(1).Int32(static_cast<std::int32_t>(TinyJpeg.size()));
            f.bytes.insert(f.bytes.end(), TinyJpeg.begin(), TinyJpeg.end());
        }
        f.Byte(0).Byte(0).Byte(0).Byte(1);
        if (from(v, "6.24"))
            f.Double(2.5);
        f.Byte(0).Byte(1).Byte(1).Byte(2);
        if (within(v, "6.24", "6.25"))
            f.Byte(0xAB);
        f.Byte(0).Byte(0).Double(3.5).Byte(1);
        if (from(v, "6.37"))
            f.Byte(1);
        if (from(v, "6.26"))
            f.Byte(1).Double(15).Double(25);
        for (int i = 1; i <= 7; ++i)
            f.Int32(0x10 * i);
        if (from(v, "6.24"))
            f.Int32(0x80);
        f.Int32(0x90).Int32(0xA0);
        if (from(v, "6.26"))
            f.Int32(0xB0);
    }
    f.Short("note one\r\nnote two\r\n", 200);
    return f;
}

void ExpectRecordOfVersion(const TPump &pump, const std::string &v, const std::string &readAs)
{
    SCOPED_TRACE("version " + v);
    EXPECT_EQ(pump.PumpFileVersionString, readAs);
    EXPECT_EQ(pump.Name, "Hand");
    EXPECT_EQ(pump.PumpType, PumpFixedFlow);
    EXPECT_EQ(pump.SetFlowRate_m3s, 0.02);
    EXPECT_EQ(pump.SetFlowRate_kgs, from(v, "2.063") ? 20.0 : 0.0);
    EXPECT_EQ(pump.SetFlowRateDisplayUnit, unt_L_sec);
    EXPECT_EQ(pump.SetFixedHead_FluidHead_m, from(v, "2.02") ? 10.0 : 0.0);
    EXPECT_EQ(pump.SetFixedHeadDisplayUnit, from(v, "2.02") ? unt_m_H2O : unt_m_hd_fluid);
    EXPECT_EQ(pump.SetFixedHead_Stored_mH2O, from(v, "4.06"));
    EXPECT_EQ(pump.Speed_rpm, 1450);
    EXPECT_EQ(pump.PreferredOpRegionToPercent, 120);
    EXPECT_EQ(pump.y, 200);
    EXPECT_EQ(pump.PumpImageIndex, from(v, "7.06") ? 2 : 0);
    EXPECT_EQ(pump.PumpColorIndex, from(v, "7.06") ? 5 : 2);
    EXPECT_EQ(pump.PumpScale, from(v, "7.06") ? 1.5 : 1.0);
    EXPECT_EQ(pump.PumpPoints.NPSHrDisplayUnit, unt_ft_hd_fluid);
    EXPECT_EQ(pump.PumpPoints.SetHead_Stored_mH2O, !from(v, "4.06"));
    EXPECT_EQ(pump.PumpPoints.SetNPSHr_Stored_mH2O, true);
    EXPECT_EQ(pump.PumpPoints.PointsCount, 3);
    const TPumpPoint &p7 = pump.PumpPoints.Points[7];
    EXPECT_EQ(p7.Flow_m3s, 0.07);
    EXPECT_EQ(p7.Flow_kgs, from(v, "2.063") ? 70.0 : 0.0);
    EXPECT_EQ(p7.Head_mHd, 53);
    EXPECT_EQ(p7.NPSHr_mHd, 3.5);
    EXPECT_EQ(pump.BaseDataPumpPoints.PointsCount, 3);
    EXPECT_EQ(pump.BaseDataPumpPoints.FlowDisplayUnit, unt_m3_hour);
    EXPECT_EQ(pump.NotesText(), "note one\r\nnote two\r\n");

    if (!from(v, "5.50")) {
        EXPECT_EQ(pump.BaseDataPumpPoints.Points, pump.PumpPoints.Points);
        EXPECT_EQ(pump.BaseDataSpeed_rpm, 1450);
        EXPECT_EQ(pump.ImpellerDiameterDisplayUnit, unt_mm);
        EXPECT_EQ(pump.PumpGraphOptions, TPumpGraphOptions{});
        EXPECT_FALSE(pump.ImportedPumpSheet.Imported);
        return;
    }
    EXPECT_EQ(pump.BaseDataSpeed_rpm, 1500);
    EXPECT_EQ(pump.BaseDataImpellerDiameter_m, 0.3);
    EXPECT_EQ(pump.BaseDataPumpPoints.Points[10].NPSHr_mHd, 4.0);
    EXPECT_EQ(pump.ImpellerDiameter_m, 0.28);
    EXPECT_EQ(pump.PumpManufacturer, "Maker");
    EXPECT_EQ(pump.PumpSize, "50-250");
    EXPECT_EQ(pump.PumpSpeedRpmGraph, 1490);
    EXPECT_EQ(pump.PumpImpellerDiameterGraph_m, 0.29);
    EXPECT_EQ(pump.FlowHeadCurveMaxImpellerMultipliers[2], 0.12);
    EXPECT_EQ(pump.EfficiencyCurveMaxImpellerMultipliers[1], 0.13);
    EXPECT_EQ(pump.EfficiencyCurveMaxImpellerMultipliers[2], from(v, "6.22") ? 0.14 : 0.0);
    EXPECT_EQ(pump.FlowHeadCurveMinImpellerMultipliers[1], from(v, "6.12") ? -0.21 : 0.11);
    EXPECT_EQ(pump.EfficiencyCurveMinImpellerMultipliers[1], from(v, "6.12") ? 0.23 : 0.13);
    EXPECT_EQ(pump.EfficiencyCurveMinImpellerMultipliers[2], from(v, "6.22") ? 0.24 : 0.0);
    EXPECT_EQ(pump.EfficiencyMinImpellerPointMultipliers[5], from(v, "6.25") ? 0.9 : 1.0);
    EXPECT_EQ(pump.EfficiencyMaxImpellerPointMultipliers[5], from(v, "6.25") ? 1.1 : 1.0);
    EXPECT_EQ(pump.PumpEfficiencyMaxSpeedEfficPercentIncrease, from(v, "6.29") ? 7.0 : 0.0);
    EXPECT_EQ(pump.PumpNPSHStartMinDiamNpshPercentIncrease, from(v, "6.31") ? 41 : 0);
    EXPECT_EQ(pump.PumpNPSHEndMinDiamNpshPercentIncrease, from(v, "6.31") ? 42 : within(v, "6.28", "6.30") ? 31 : 0);
    EXPECT_EQ(pump.PumpNPSHEndMaxDiamNpshPercentIncrease, from(v, "6.31") ? 44 : within(v, "6.28", "6.30") ? 32 : 0);
    const TImportedPumpSheet &sheet = pump.ImportedPumpSheet;
    EXPECT_TRUE(sheet.Imported);
    EXPECT_EQ(sheet.PumpSheetOpacity, 60);
    EXPECT_EQ(sheet.PumpSheetBitmap.SaveToBytes(), from(v, "6.27") ? TinyJpeg : BitmapAsJpeg);
    EXPECT_EQ(sheet.yAxisMaxImageY, 8);
    EXPECT_EQ(sheet.yMax, 60);
    EXPECT_EQ(sheet.pointsCount, 2);
    EXPECT_EQ(sheet.Points[10].X, 110);
    EXPECT_EQ(sheet.Points[10].Y, 210);
    EXPECT_EQ(sheet.EfficPoints[1], 41);
    EXPECT_EQ(sheet.NPSHrPoints_mHd[10], 1.0);
    EXPECT_EQ(pump.ImportedLogoLoaded, from(v, "6.37"));
    const TPumpGraphOptions &g = pump.PumpGraphOptions;
    EXPECT_FALSE(g.ShowDesignCurve);
    EXPECT_TRUE(g.ShowEfficiencyIso);
    EXPECT_EQ(g.EfficiencyIsoPercent, from(v, "6.24") ? 2.5 : 5.0);
    EXPECT_FALSE(g.ShowEfficiencyLine);
    EXPECT_EQ(g.GridLinesStyle, GraphGridFine);
    EXPECT_EQ(g.SystemCurveHeadStart_mHd, 3.5);
    EXPECT_TRUE(g.ShowImportedPumpSheet);
    EXPECT_EQ(g.ShowImportedLogo, from(v, "6.37"));
    EXPECT_EQ(g.ShowMinFlowLine, from(v, "6.26"));
    EXPECT_EQ(g.MaxDiamMinFlowPercent, from(v, "6.26") ? 25.0 : 20.0);
    EXPECT_EQ(g.ColorGridLines, 0x70);
    EXPECT_EQ(g.ColorBEPCurve, from(v, "6.24") ? 0x80 : 0x808080);
    EXPECT_EQ(g.ColorSystemCurve, 0xA0);
    EXPECT_EQ(g.ColorMinFlowLine, from(v, "6.26") ? 0xB0 : 0x0000C0);
}

TEST(PumpFile, EmbeddedRecordsOfEveryVersionGate)
{
    for (const char *v : {"1.15", "2.02", "2.063", "4.01", "4.06", "5.50", "6.12", "6.22", "6.25", "6.26", "6.28",
                          "6.30", "6.31", "6.37", "6.38", "6.39", "7.06", "7.40"}) {
        const ByteFixture record = RecordOfVersion(v, false);
        TMemoryStream stream = record.Stream();
        TPump pump;
        ASSERT_NO_THROW(pump.Load(stream, v, Water, false)) << v;
        EXPECT_EQ(stream.Position(), stream.Size()) << v;
        ExpectRecordOfVersion(pump, v, v);
    }
}

TEST(PumpFile, StandaloneFilesOfEveryVersionGate)
{
    for (const char *v : {"4.01", "5.50", "6.25", "6.37", "7.06", "7.40"}) {
        TMemoryStream stream = RecordOfVersion(v, true).Stream();
        TPump pump;
        pump.Load(stream, PumpCurrentFileVersion, Water, true);
        EXPECT_EQ(stream.Position(), stream.Size()) << v;
        if (std::string(v) == "4.01")
            continue; // its fixed head is converted, see below
        ExpectRecordOfVersion(pump, v, v);
    }
}

// A file from before the header starts with the pump's name and is read as
// version "0", which every gate leaves out.
TEST(PumpFile, FileWithoutMarkerIsReadAsVersionZero)
{
    TMemoryStream stream = RecordOfVersion("0", false).Stream();
    TPump pump;
    pump.Load(stream, PumpCurrentFileVersion, Water, true);
    EXPECT_EQ(stream.Position(), stream.Size());
    ExpectRecordOfVersion(pump, "0", "0");
}

TEST(PumpFile, StandaloneFixedHeadOfEarlyFilesWasInWater)
{
    for (bool standalone : {true, false}) {
        TMemoryStream stream = RecordOfVersion("4.01", standalone).Stream();
        TPump pump;
        pump.Load(stream, standalone ? PumpCurrentFileVersion : "4.01", 500, standalone);
        EXPECT_NEAR(pump.SetFixedHead_FluidHead_m, standalone ? 20 : 10, 1e-9) << standalone;
        EXPECT_FALSE(pump.SetFixedHead_Stored_mH2O);
    }
}

TEST(PumpFile, OldImageIndexChoosesTheColour)
{
    for (auto [image, colour] : {std::pair{2, 2}, {3, 3}, {5, 0}, {-1, 0}}) {
        ByteFixture f = RecordOfVersion("7.00", false);
        // The image index is the sixth Integer after the fixed head's unit.
        const std::size_t at = 21 + 1 + 8 + 8 + 1 + 8 + 1 + 5 * 4;
        ByteFixture index;
        index.Int32(image);
        std::copy(index.bytes.begin(), index.bytes.end(), f.bytes.begin() + static_cast<long>(at));
        TMemoryStream stream = f.Stream();
        TPump pump;
        pump.Load(stream, "7.00", Water, false);
        EXPECT_EQ(pump.PumpColorIndex, colour) << image;
        EXPECT_EQ(pump.PumpImageIndex, 0);
        EXPECT_EQ(pump.PumpScale, 1.0);
    }
}

// A record that cannot be read changes nothing and says why.
TEST(PumpFile, DamagedRecordsLeaveThePumpAsItWas)
{
    const TPump original = FullPump();
    const auto good = RecordOfVersion("7.40", false).bytes;
    struct Damage {
        const char *what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Damage> damages;
    damages.push_back({"ends in the base points", {good.begin(), good.begin() + 600}});
    damages.push_back({"empty", {}});
    auto badCount = good;
    badCount[21 + 1 + 8 + 8 + 1 + 8 + 1 + 7 * 4 + 8 + 3 + 2] = 11; // running PointsCount
    damages.push_back({"eleven points", badCount});
    auto notJpeg = good;
    const auto jpegAt = std::search(notJpeg.begin(), notJpeg.end(), TinyJpeg.begin(), TinyJpeg.end());
    ASSERT_NE(jpegAt, notJpeg.end());
    *jpegAt = 'B';
    damages.push_back({"sheet picture not a JPEG", notJpeg});
    auto badUnit = good;
    badUnit[21 + 1 + 8 + 8] = 200; // set-flow display unit
    damages.push_back({"unit out of range", badUnit});

    for (const Damage &damage : damages) {
        TPump pump(original);
        TMemoryStream stream(damage.bytes);
        EXPECT_THROW(pump.Load(stream, "7.40", Water, false), EPumpClass) << damage.what;
        ExpectSameStoredFields(pump, original);
        EXPECT_EQ(pump.PumpFileVersionString, original.PumpFileVersionString) << damage.what;
    }
}

TEST(PumpFile, NotesTakeTheirLineBreaksAndAreCutAt200)
{
    TPump pump;
    pump.SetNotesText("12345678\r\nabcdefgh");
    auto bytes = Saved(pump, false);
    const std::size_t notesAt = bytes.size() - 201;
    EXPECT_EQ(bytes[notesAt], 20);
    EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(notesAt) + 1, bytes.begin() + static_cast<long>(notesAt) + 21),
              "12345678\r\nabcdefgh\r\n");

    pump.SetNotesText(std::string(300, 'n'));
    bytes = Saved(pump, false);
    EXPECT_EQ(bytes[bytes.size() - 201], 200);
}

// --- text import --------------------------------------------------------------------------------

class PumpImport : public ::testing::Test {
protected:
    std::string Write(const std::string &text)
    {
        path = (std::filesystem::temp_directory_path() /
                ("pump_import_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt"))
                   .string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void TearDown() override
    {
        if (!path.empty())
            std::remove(path.c_str());
    }
    std::string path;
};

const char *ImportText = "  Pump 50-250 with a name longer than twenty \r\n"
                         "Maker\r\n"
                         " Series X \r\n"
                         "rpm,mm\r\n"
                         "1450,250\r\n"
                         "skipped\r\n"
                         "0,36,72,108,144,180,216\r\n"
                         "50,49,46,41,34,25,14\r\n"
                         "0,45,65,75,72,60,40\r\n"
                         "1,1.2,1.6,2.2,3.0,4.2,-1\r\n";

TEST_F(PumpImport, SevenPointsAndTheirDescription)
{
    TPump pump;
    pump.PumpType = PumpFixedHead;
    pump.PumpPoints.SetHead_Stored_mH2O = true;
    pump.PumpPoints.FlowDisplayUnit = unt_gpm_USA;
    pump.LoadFromPumpImportFile(Write(ImportText));
    EXPECT_EQ(pump.Name, "Pump 50-250 with a n");
    EXPECT_EQ(pump.PumpType, PumpFixedSpeed);
    EXPECT_FALSE(pump.PumpPoints.SetHead_Stored_mH2O);
    EXPECT_EQ(pump.PumpPoints.FlowDisplayUnit, unt_gpm_USA);
    EXPECT_EQ(pump.Speed_rpm, 1450);
    ASSERT_EQ(pump.PumpPoints.PointsCount, 7);
    for (int i = 1; i <= 7; ++i)
        EXPECT_NEAR(pump.PumpPoints.Points[i].Flow_m3s, 0.01 * (i - 1), 1e-15) << i;
    EXPECT_EQ(pump.PumpPoints.Points[4].Head_mHd, 41);
    EXPECT_EQ(pump.PumpPoints.Points[5].EfficiencyPercent, 72);
    EXPECT_EQ(pump.PumpPoints.Points[7].NPSHr_mHd, -1);
    EXPECT_EQ(pump.PumpPoints.Points[2].Flow_kgs, 0); // left to the caller's fit
    const std::vector<std::string> notes = {"Maker: Series X", "Speed: 1450 rpm", "Impeller Size: 250 mm"};
    EXPECT_EQ(pump.Notes, notes);
}

TEST_F(PumpImport, BadFilesLeaveThePumpAsItWas)
{
    const std::string shortFile = "a\r\nb\r\nc\r\nrpm,mm\r\n1450,250\r\n";
    std::string badSpeed = ImportText;
    badSpeed.replace(badSpeed.find("1450,"), 4, "fast");
    std::string fewFlows = ImportText;
    fewFlows.replace(fewFlows.find("0,36,72"), 7, "0,36");
    for (const std::string &text : {shortFile, badSpeed, fewFlows}) {
        TPump pump = FullPump();
        const TPump before(pump);
        EXPECT_THROW(pump.LoadFromPumpImportFile(Write(text)), EPumpClass);
        ExpectSameStoredFields(pump, before);
    }
    TPump pump = FullPump();
    EXPECT_THROW(pump.LoadFromPumpImportFile("/nonexistent/folder/pump.txt"), EPumpClass);
    EXPECT_EQ(pump.Name, "Typical");
}

} // namespace
} // namespace tessaran
