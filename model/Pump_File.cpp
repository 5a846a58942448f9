// TPump: the binary pump record (embedded in every pipe record and, behind a
// marker and version header, the standalone pump file) and the seven-point
// text import.

#include "model/Pump_Class.h"

#include "platform/Pascal.h"
#include "platform/TextFile.h"
#include "units/Numeric_Entry.h"
#include "units/Util_Functions.h"
#include "units/Unit_Format.h"

#include <fstream>
#include <utility>

namespace tessaran {

namespace {

// Version texts compare as strings; a range holds both of its ends.
bool versionIn(const std::string &v, const char *from, const char *to) { return v >= from && v <= to; }

// Bytes of the gaps that older versions left in the record.
constexpr int OldRecordTailGap = 260;

void writePoint(TStream &s, const TPumpPoint &p)
{
    s.WriteDouble(p.Flow_m3s);
    s.WriteDouble(p.Flow_kgs);
    s.WriteDouble(p.Head_mHd);
    s.WriteDouble(p.EfficiencyPercent);
    s.WriteDouble(p.NPSHr_mHd);
}

void readPoint(TStream &s, TPumpPoint &p, bool withMassFlow)
{
    p.Flow_m3s = s.ReadDouble();
    p.Flow_kgs = withMassFlow ? s.ReadDouble() : 0.0;
    p.Head_mHd = s.ReadDouble();
    p.EfficiencyPercent = s.ReadDouble();
    p.NPSHr_mHd = s.ReadDouble();
}

TUnit readUnit(TStream &s) { return s.ReadEnum<TUnit>(TUnitCount - 1); }

std::int32_t readCount(TStream &s, int capacity, const char *what)
{
    const std::int32_t count = s.ReadInt32();
    if (count < 0 || count > capacity)
        throw EStreamError(std::string("Stream read failed: ") + what + " " + std::to_string(count) +
                           " outside 0.." + std::to_string(capacity));
    return count;
}

// Older records stored the sheet as a bitmap blob; it is made a JPEG once,
// here, with the picture library's default settings, and kept as that JPEG.
void readBitmapBlobAsJpeg(TStream &s, TJPEGImage &picture)
{
    TBitmap bitmap;
    ReadBitmapFromStream(s, bitmap);
    if (bitmap.Empty()) {
        picture.Clear();
        return;
    }
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    picture = jpeg;
}

} // namespace

// --- Save ---------------------------------------------------------------------------------

void TPump::Save(TStream &TheFileStream, const std::string &FileVersion, double, bool SaveFileVersion)
{
    TStream &s = TheFileStream;
    PumpFileVersionString = CutToShortString(FileVersion, 20);
    if (SaveFileVersion) {
        PumpFileVersionMarker = PumpFileMarker;
        s.WriteShortString(PumpFileVersionMarker, 20);
        s.WriteShortString(PumpFileVersionString, 20);
    }
    s.WriteShortString(Name, 20);
    s.WriteEnum(PumpType);
    s.WriteDouble(SetFlowRate_m3s);
    s.WriteDouble(SetFlowRate_kgs);
    s.WriteEnum(SetFlowRateDisplayUnit);
    SetFixedHead_Stored_mH2O = !isFluidHeadUnit(SetFixedHeadDisplayUnit);
    s.WriteDouble(SetFixedHead_FluidHead_m);
    s.WriteEnum(SetFixedHeadDisplayUnit);
    for (std::int32_t value : {Speed_rpm, PreferredOpRegionFromPercent, PreferredOpRegionToPercent, x, y,
                               PumpImageIndex, PumpColorIndex})
        s.WriteInt32(value);
    s.WriteDouble(PumpScale);

    s.WriteEnum(PumpPoints.FlowDisplayUnit);
    s.WriteEnum(PumpPoints.HeadDisplayUnit);
    s.WriteEnum(PumpPoints.NPSHrDisplayUnit);
    s.WriteBool(PumpPoints.SetHead_Stored_mH2O);
    s.WriteBool(PumpPoints.SetNPSHr_Stored_mH2O);
    s.WriteInt32(PumpPoints.PointsCount);
    for (int i = 1; i <= MaxPumpPoints; ++i)
        writePoint(s, PumpPoints.Points[i]);
    s.WriteInt32(BaseDataSpeed_rpm);
    s.WriteDouble(BaseDataImpellerDiameter_m);
    for (int i = 1; i <= MaxPumpPoints; ++i)
        writePoint(s, BaseDataPumpPoints.Points[i]);

    s.WriteDouble(ImpellerDiameter_m);
    s.WriteEnum(ImpellerDiameterDisplayUnit);
    s.WriteShortString(PumpCatalog, 30);
    s.WriteShortString(PumpManufacturer, 30);
    s.WriteShortString(PumpTypeKind, 30);
    s.WriteInt32(PumpMotorRpm);
    s.WriteInt32(PumpSpeedMinRpm);
    s.WriteInt32(PumpSpeedMaxRpm);
    s.WriteShortString(PumpSize, 20);
    s.WriteDouble(PumpImpellerDiameterMin_m);
    s.WriteDouble(PumpImpellerDiameterMax_m);
    s.WriteInt32(PumpStages);
    s.WriteInt32(PumpSpeedRpmGraph);
    s.WriteDouble(PumpImpellerDiameterGraph_m);
    s.WriteDouble(FlowHeadCurveMaxImpellerMultipliers[1]);
    s.WriteDouble(FlowHeadCurveMaxImpellerMultipliers[2]);
    s.WriteDouble(EfficiencyCurveMaxImpellerMultipliers[1]);
    s.WriteDouble(EfficiencyCurveMaxImpellerMultipliers[2]);
    s.WriteDouble(FlowHeadCurveMinImpellerMultipliers[1]);
    s.WriteDouble(FlowHeadCurveMinImpellerMultipliers[2]);
    s.WriteDouble(EfficiencyCurveMinImpellerMultipliers[1]);
    s.WriteDouble(EfficiencyCurveMinImpellerMultipliers[2]);
    for (int i = 1; i <= MaxPumpPoints; ++i)
        s.WriteDouble(EfficiencyMinImpellerPointMultipliers[i]);
    for (int i = 1; i <= MaxPumpPoints; ++i)
        s.WriteDouble(EfficiencyMaxImpellerPointMultipliers[i]);
    s.WriteDouble(PumpEfficiencyMaxSpeedEfficPercentIncrease);
    s.WriteDouble(PumpNPSHStartMinDiamNpshPercentIncrease);
    s.WriteDouble(PumpNPSHEndMinDiamNpshPercentIncrease);
    s.WriteDouble(PumpNPSHStartMaxDiamNpshPercentIncrease);
    s.WriteDouble(PumpNPSHEndMaxDiamNpshPercentIncrease);

    const TImportedPumpSheet &sheet = ImportedPumpSheet;
    s.WriteBool(sheet.Imported);
    s.WriteInt32(sheet.PumpSheetOpacity);
    s.WriteBool(sheet.SaveImportedBitmap);
    if (sheet.SaveImportedBitmap)
        WriteJpegToStream(s, sheet.PumpSheetBitmap);
    for (std::int32_t value : {sheet.xAxisMinImageX, sheet.xAxisMinImageY, sheet.xAxisMaxImageX, sheet.xAxisMaxImageY,
                               sheet.yAxisMinImageX, sheet.yAxisMinImageY, sheet.yAxisMaxImageX, sheet.yAxisMaxImageY})
        s.WriteInt32(value);
    s.WriteDouble(sheet.xMin);
    s.WriteDouble(sheet.xMax);
    s.WriteDouble(sheet.yMin);
    s.WriteDouble(sheet.yMax);
    s.WriteEnum(sheet.xUnits);
    s.WriteEnum(sheet.yUnits);
    s.WriteInt32(sheet.PumpSpeed_rpm);
    s.WriteDouble(sheet.PumpImpellerDiameter_m);
    s.WriteInt32(sheet.pointsCount);
    // Each digitised point takes 32 bytes: X, Y, Y again, the next point's X
    // (for the last point the first 4 bytes of the first efficiency), then its
    // efficiency and NPSHr.
    for (int i = 1; i <= 10; ++i) {
        s.WriteInt32(sheet.Points[i].X);
        s.WriteInt32(sheet.Points[i].Y);
        s.WriteInt32(sheet.Points[i].Y);
        if (i < 10) {
            s.WriteInt32(sheet.Points[i + 1].X);
        } else {
            TMemoryStream first;
            first.WriteDouble(sheet.EfficPoints[1]);
            s.WriteBuffer(first.Bytes().data(), 4);
        }
        s.WriteDouble(sheet.EfficPoints[i]);
        s.WriteDouble(sheet.NPSHrPoints_mHd[i]);
    }
    s.WriteBool(ImportedLogoLoaded);
    if (ImportedLogoLoaded)
        WriteJpegToStream(s, ImportedLogoBitmap);

    const TPumpGraphOptions &g = PumpGraphOptions;
    s.WriteBool(g.ShowDesignCurve);
    s.WriteBool(g.ShowEnvelope);
    s.WriteBool(g.ShowPrefOpRange);
    s.WriteBool(g.ShowEfficiencyIso);
    s.WriteDouble(g.EfficiencyIsoPercent);
    s.WriteBool(g.ShowEfficiencyLine);
    s.WriteBool(g.ShowPower);
    s.WriteBool(g.ShowNPSHr);
    s.WriteEnum(g.GridLinesStyle);
    s.WriteBool(g.ShowDesignPoint);
    s.WriteBool(g.ShowSystemCurve);
    s.WriteDouble(g.SystemCurveHeadStart_mHd);
    s.WriteBool(g.ShowImportedPumpSheet);
    s.WriteBool(g.ShowImportedLogo);
    s.WriteBool(g.ShowMinFlowLine);
    s.WriteDouble(g.MinDiamMinFlowPercent);
    s.WriteDouble(g.MaxDiamMinFlowPercent);
    for (TColor color : {g.ColorDesignCurve, g.ColorEnvelope, g.ColorPrefOpRange, g.ColorEfficiency, g.ColorPower,
                         g.ColorNpshr, g.ColorGridLines, g.ColorBEPCurve, g.ColorDesignPoint, g.ColorSystemCurve,
                         g.ColorMinFlowLine})
        s.WriteInt32(static_cast<std::int32_t>(color));

    s.WriteShortString(NotesText(), 200);
}

// --- Load ------------------------------------------------------------------------------------

void TPump::Load(TStream &TheFileStream, const std::string &FileVersion, double FluidDensity_kgs_m3,
                 bool LoadFileVersion)
{
    // Read into a copy, so a record that breaks off half-way changes nothing.
    TPump loaded(*this);
    try {
        loaded.readRecord(TheFileStream, FileVersion, FluidDensity_kgs_m3, LoadFileVersion);
    } catch (const std::exception &error) {
        throw EPumpClass(std::string("TPump.Load Failed: the pump record cannot be read. ") + error.what());
    }
    *this = std::move(loaded);
}

void TPump::readRecord(TStream &s, const std::string &FileVersion, double FluidDensity_kgs_m3, bool LoadFileVersion)
{
    Clear();
    PumpFileVersionString.clear();
    std::string v = FileVersion;

    if (LoadFileVersion && v >= "4.01") {
        const std::string first = s.ReadShortString(20);
        if (first == PumpFileMarker) {
            v = s.ReadShortString(20);
            Name = s.ReadShortString(20);
        } else {
            // A pump file from before the header: its first field is the name.
            Name = first;
            v = "0";
        }
    } else {
        Name = s.ReadShortString(20);
    }
    PumpFileVersionString = v;

    PumpType = s.ReadEnum<TPumpType>(PumpFixedHead);
    SetFlowRate_m3s = s.ReadDouble();
    SetFlowRate_kgs = v >= "2.063" ? s.ReadDouble() : 0.0;
    SetFlowRateDisplayUnit = readUnit(s);

    SetFixedHead_FluidHead_m = 0;
    SetFixedHeadDisplayUnit = unt_m_hd_fluid;
    if (v >= "4.06") {
        SetFixedHead_FluidHead_m = s.ReadDouble();
        SetFixedHeadDisplayUnit = readUnit(s);
        SetFixedHead_Stored_mH2O = !isFluidHeadUnit(SetFixedHeadDisplayUnit);
    } else if (LoadFileVersion && v >= "4.01") {
        // Standalone files of these versions held the fixed head in m of water.
        SetFixedHead_FluidHead_m = PumpHead_mH2O_to_mFluid(s.ReadDouble(), FluidDensity_kgs_m3);
        SetFixedHeadDisplayUnit = readUnit(s);
        SetFixedHead_Stored_mH2O = false;
    } else if (v >= "2.02") {
        SetFixedHead_Stored_mH2O = false;
        SetFixedHead_FluidHead_m = s.ReadDouble();
        SetFixedHeadDisplayUnit = readUnit(s);
    }

    Speed_rpm = s.ReadInt32();
    PreferredOpRegionFromPercent = s.ReadInt32();
    PreferredOpRegionToPercent = s.ReadInt32();
    x = s.ReadInt32();
    y = s.ReadInt32();
    PumpImageIndex = s.ReadInt32();
    PumpScale = 1.0;
    if (v >= "7.06") {
        PumpColorIndex = s.ReadInt32();
        PumpScale = s.ReadDouble();
    } else {
        // Older records chose the symbol colour through the image index.
        PumpColorIndex = (PumpImageIndex >= 0 && PumpImageIndex <= 3) ? PumpImageIndex : 0;
        PumpImageIndex = 0;
    }
    if (versionIn(v, "2.063", "6.38"))
        s.Skip(1);

    PumpPoints.FlowDisplayUnit = readUnit(s);
    PumpPoints.HeadDisplayUnit = readUnit(s);
    PumpPoints.NPSHrDisplayUnit = readUnit(s);
    // Older records held every head and NPSHr in m of water.
    PumpPoints.SetHead_Stored_mH2O = true;
    PumpPoints.SetNPSHr_Stored_mH2O = true;
    if (v >= "4.06") {
        PumpPoints.SetHead_Stored_mH2O = s.ReadBool();
        PumpPoints.SetNPSHr_Stored_mH2O = s.ReadBool();
    }
    PumpPoints.PointsCount = readCount(s, MaxPumpPoints, "pump points count");
    for (int i = 1; i <= MaxPumpPoints; ++i)
        readPoint(s, PumpPoints.Points[i], v >= "2.063");

    CopyBaseDataFromRunningData();
    if (v >= "5.50") {
        BaseDataSpeed_rpm = s.ReadInt32();
        BaseDataImpellerDiameter_m = s.ReadDouble();
        for (int i = 1; i <= MaxPumpPoints; ++i)
            readPoint(s, BaseDataPumpPoints.Points[i], true);
    }
    BaseDataPumpPoints.SetHead_Stored_mH2O = PumpPoints.SetHead_Stored_mH2O;
    BaseDataPumpPoints.SetNPSHr_Stored_mH2O = PumpPoints.SetNPSHr_Stored_mH2O;
    BaseDataPumpPoints.FlowDisplayUnit =
        isMassFlowUnit(PumpPoints.FlowDisplayUnit) ? unt_m3_sec : PumpPoints.FlowDisplayUnit;
    BaseDataPumpPoints.HeadDisplayUnit = PumpPoints.HeadDisplayUnit;
    BaseDataPumpPoints.NPSHrDisplayUnit = PumpPoints.NPSHrDisplayUnit;

    if (v < "5.50") {
        s.Skip(OldRecordTailGap);
    } else {
        ImpellerDiameter_m = s.ReadDouble();
        ImpellerDiameterDisplayUnit = readUnit(s);
        PumpCatalog = s.ReadShortString(30);
        PumpManufacturer = s.ReadShortString(30);
        PumpTypeKind = s.ReadShortString(30);
        PumpMotorRpm = s.ReadInt32();
        PumpSpeedMinRpm = s.ReadInt32();
        PumpSpeedMaxRpm = s.ReadInt32();
        PumpSize = s.ReadShortString(20);
        PumpImpellerDiameterMin_m = s.ReadDouble();
        PumpImpellerDiameterMax_m = s.ReadDouble();
        PumpStages = s.ReadInt32();
        PumpSpeedRpmGraph = s.ReadInt32();
        PumpImpellerDiameterGraph_m = s.ReadDouble();
        FlowHeadCurveMaxImpellerMultipliers[1] = s.ReadDouble();
        FlowHeadCurveMaxImpellerMultipliers[2] = s.ReadDouble();
        EfficiencyCurveMaxImpellerMultipliers[1] = s.ReadDouble();
        if (v >= "6.22")
            EfficiencyCurveMaxImpellerMultipliers[2] = s.ReadDouble();
        if (versionIn(v, "6.22", "6.25"))
            s.Skip(16);

        // Before the trim side had its own multipliers, both sides shared them.
        FlowHeadCurveMinImpellerMultipliers = FlowHeadCurveMaxImpellerMultipliers;
        EfficiencyCurveMinImpellerMultipliers[1] = EfficiencyCurveMaxImpellerMultipliers[1];
        if (v >= "6.12") {
            FlowHeadCurveMinImpellerMultipliers[1] = s.ReadDouble();
            FlowHeadCurveMinImpellerMultipliers[2] = s.ReadDouble();
            EfficiencyCurveMinImpellerMultipliers[1] = s.ReadDouble();
        }
        if (v >= "6.22")
            EfficiencyCurveMinImpellerMultipliers[2] = s.ReadDouble();
        if (versionIn(v, "6.22", "6.25"))
            s.Skip(16);

        if (v >= "6.25") {
            for (int i = 1; i <= MaxPumpPoints; ++i)
                EfficiencyMinImpellerPointMultipliers[i] = s.ReadDouble();
            for (int i = 1; i <= MaxPumpPoints; ++i)
                EfficiencyMaxImpellerPointMultipliers[i] = s.ReadDouble();
        }
        PumpEfficiencyMaxSpeedEfficPercentIncrease = v >= "6.29" ? s.ReadDouble() : 0.0;
        PumpNPSHStartMinDiamNpshPercentIncrease = 0;
        PumpNPSHEndMinDiamNpshPercentIncrease = 0;
        PumpNPSHStartMaxDiamNpshPercentIncrease = 0;
        PumpNPSHEndMaxDiamNpshPercentIncrease = 0;
        if (versionIn(v, "6.28", "6.30")) {
            PumpNPSHEndMinDiamNpshPercentIncrease = s.ReadDouble();
            PumpNPSHEndMaxDiamNpshPercentIncrease = s.ReadDouble();
        } else if (v >= "6.31") {
            PumpNPSHStartMinDiamNpshPercentIncrease = s.ReadDouble();
            PumpNPSHEndMinDiamNpshPercentIncrease = s.ReadDouble();
            PumpNPSHStartMaxDiamNpshPercentIncrease = s.ReadDouble();
            PumpNPSHEndMaxDiamNpshPercentIncrease = s.ReadDouble();
        }

        TImportedPumpSheet &sheet = ImportedPumpSheet;
        sheet.Imported = s.ReadBool();
        sheet.PumpSheetOpacity = s.ReadInt32();
        sheet.SaveImportedBitmap = s.ReadBool();
        if (sheet.SaveImportedBitmap) {
            if (v >= "6.27")
                ReadJpegFromStream(s, sheet.PumpSheetBitmap);
            else
                readBitmapBlobAsJpeg(s, sheet.PumpSheetBitmap);
        }
        sheet.xAxisMinImageX = s.ReadInt32();
        sheet.xAxisMinImageY = s.ReadInt32();
        sheet.xAxisMaxImageX = s.ReadInt32();
        sheet.xAxisMaxImageY = s.ReadInt32();
        sheet.yAxisMinImageX = s.ReadInt32();
        sheet.yAxisMinImageY = s.ReadInt32();
        sheet.yAxisMaxImageX = s.ReadInt32();
        sheet.yAxisMaxImageY = s.ReadInt32();
        sheet.xMin = s.ReadDouble();
        sheet.xMax = s.ReadDouble();
        sheet.yMin = s.ReadDouble();
        sheet.yMax = s.ReadDouble();
        sheet.xUnits = readUnit(s);
        sheet.yUnits = readUnit(s);
        sheet.PumpSpeed_rpm = s.ReadInt32();
        sheet.PumpImpellerDiameter_m = s.ReadDouble();
        sheet.pointsCount = readCount(s, 10, "digitised points count");
        for (int i = 1; i <= 10; ++i) {
            sheet.Points[i].X = s.ReadInt32();
            sheet.Points[i].Y = s.ReadInt32();
            s.Skip(8); // Y again and the next point's X
            sheet.EfficPoints[i] = s.ReadDouble();
            sheet.NPSHrPoints_mHd[i] = s.ReadDouble();
        }

        ImportedLogoLoaded = false;
        if (v >= "6.37") {
            ImportedLogoLoaded = s.ReadBool();
            if (ImportedLogoLoaded)
                ReadJpegFromStream(s, ImportedLogoBitmap);
        }

        TPumpGraphOptions &g = PumpGraphOptions;
        g.ShowDesignCurve = s.ReadBool();
        g.ShowEnvelope = s.ReadBool();
        g.ShowPrefOpRange = s.ReadBool();
        g.ShowEfficiencyIso = s.ReadBool();
        g.EfficiencyIsoPercent = v >= "6.24" ? s.ReadDouble() : 5.0;
        g.ShowEfficiencyLine = s.ReadBool();
        g.ShowPower = s.ReadBool();
        g.ShowNPSHr = s.ReadBool();
        g.GridLinesStyle = s.ReadEnum<TGraphGridLines>(GraphGridFine);
        if (versionIn(v, "6.24", "6.25"))
            s.Skip(1);
        g.ShowDesignPoint = s.ReadBool();
        g.ShowSystemCurve = s.ReadBool();
        g.SystemCurveHeadStart_mHd = s.ReadDouble();
        g.ShowImportedPumpSheet = s.ReadBool();
        if (v >= "6.37")
            g.ShowImportedLogo = s.ReadBool();
        if (v >= "6.26") {
            g.ShowMinFlowLine = s.ReadBool();
            g.MinDiamMinFlowPercent = s.ReadDouble();
            g.MaxDiamMinFlowPercent = s.ReadDouble();
        }
        g.ColorDesignCurve = static_cast<TColor>(s.ReadInt32());
        g.ColorEnvelope = static_cast<TColor>(s.ReadInt32());
        g.ColorPrefOpRange = static_cast<TColor>(s.ReadInt32());
        g.ColorEfficiency = static_cast<TColor>(s.ReadInt32());
        g.ColorPower = static_cast<TColor>(s.ReadInt32());
        g.ColorNpshr = static_cast<TColor>(s.ReadInt32());
        g.ColorGridLines = static_cast<TColor>(s.ReadInt32());
        if (v >= "6.24")
            g.ColorBEPCurve = static_cast<TColor>(s.ReadInt32());
        g.ColorDesignPoint = static_cast<TColor>(s.ReadInt32());
        g.ColorSystemCurve = static_cast<TColor>(s.ReadInt32());
        if (v >= "6.26")
            g.ColorMinFlowLine = static_cast<TColor>(s.ReadInt32());
    }

    SetNotesText(s.ReadShortString(200));
}

// --- text import -------------------------------------------------------------------------------

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::pair<std::string, std::string> splitAtFirstComma(const std::string &line)
{
    const auto comma = line.find(',');
    if (comma == std::string::npos)
        return {line, {}};
    return {line.substr(0, comma), line.substr(comma + 1)};
}

// Numbers are read as typed entries are: either decimal separator, nothing
// but digits, a sign and the separator; zero and negative values allowed.
double importReal(const std::string &text, int line)
{
    const std::string value = trimmed(text);
    bool valid = false;
    const double result = ReadRealFromString(value, valid, true, true, userDecimalSeparator());
    if (!valid)
        throw EPumpClass("line " + std::to_string(line) + " holds the unreadable value \"" + value + "\"");
    return result;
}

int importInteger(const std::string &text, int line)
{
    const std::string value = trimmed(text);
    bool valid = false;
    const int result = ReadIntegerFromString(value, valid, true, true);
    if (!valid)
        throw EPumpClass("line " + std::to_string(line) + " holds the unreadable integer \"" + value + "\"");
    return result;
}

// The seven values of a line, the last one running to the end of the line.
std::array<double, 7> sevenValues(const std::string &text, int line)
{
    std::array<double, 7> values{};
    std::string rest = text;
    for (int i = 0; i < 7; ++i) {
        if (i < 6) {
            const auto comma = rest.find(',');
            if (comma == std::string::npos)
                throw EPumpClass("line " + std::to_string(line) + " holds fewer than seven values");
            values[i] = importReal(rest.substr(0, comma), line);
            rest = rest.substr(comma + 1);
        } else {
            values[i] = importReal(rest, line);
        }
    }
    return values;
}

} // namespace

void TPump::LoadFromPumpImportFile(const std::string &TheFileName)
{
    TPump imported(*this);
    try {
        std::ifstream file(TheFileName, std::ios::binary);
        if (!file)
            throw EPumpClass("the file cannot be opened");
        std::vector<std::string> lines;
        while (lines.size() < 10 && HasAnotherTextLine(file))
            lines.push_back(ReadTextLine(file));
        if (lines.size() < 10)
            throw EPumpClass("the file holds fewer than ten lines");

        TPump &p = imported;
        p.ClearPumpCurves();
        p.PumpType = PumpFixedSpeed;
        p.SetFlowRate_m3s = 0;
        p.SetFlowRate_kgs = 0;
        p.SetFixedHead_FluidHead_m = 0;
        p.SetFixedHead_Stored_mH2O = false;
        p.PumpPoints.SetHead_Stored_mH2O = false;
        p.PumpPoints.SetNPSHr_Stored_mH2O = false;
        p.PreferredOpRegionFromPercent = 0;
        p.PreferredOpRegionToPercent = 0;

        p.Name = CutToShortString(trimmed(lines[0]), 20);
        p.Notes.assign(1, trimmed(lines[1]) + ": " + trimmed(lines[2]));
        // Line 4 holds the units of the speed and of the impeller size, line 5
        // their values.
        const auto [speedUnit, sizeUnit] = splitAtFirstComma(lines[3]);
        const auto [speedText, sizeText] = splitAtFirstComma(lines[4]);
        p.Speed_rpm = importInteger(speedText, 5);
        p.Notes.push_back("Speed: " + std::to_string(p.Speed_rpm) + " " + speedUnit);
        p.Notes.push_back("Impeller Size: " + sizeText + " " + sizeUnit);

        const auto flows_m3h = sevenValues(lines[6], 7);
        const auto heads = sevenValues(lines[7], 8);
        const auto efficiencies = sevenValues(lines[8], 9);
        const auto npshrs = sevenValues(lines[9], 10);
        p.PumpPoints.PointsCount = 7;
        for (int i = 1; i <= 7; ++i) {
            TPumpPoint &point = p.PumpPoints.Points[i];
            point.Flow_m3s = flows_m3h[i - 1] / 3600;
            point.Head_mHd = heads[i - 1];
            point.EfficiencyPercent = efficiencies[i - 1];
            point.NPSHr_mHd = npshrs[i - 1];
        }
    } catch (const std::exception &error) {
        throw EPumpClass("TPump.LoadFromPumpImportFile Failed: " + TheFileName + ": " + error.what());
    }
    *this = std::move(imported);
}

} // namespace tessaran
