#pragma once
// TPump: one pump of the network, with its base data (the points entered for
// one speed and impeller diameter), its running data (the points predicted
// for the running speed and diameter), the fifteen quadratic curves fitted
// through them, the trim-correction multipliers, the graph options, an
// imported pump-sheet picture with its calibration, a logo and notes.
//
// The class is split over several files by concern:
//   Pump_Class.cpp       life cycle, copies, points, curve fitting, units
//   Pump_Predictions.cpp speed and impeller-diameter predictions
//   Pump_File.cpp        the pump record, the .trpm pump file, the text import
//   Pump_Queries.cpp     read-only questions about the fitted curves
//   Pump_Graph.cpp       drawing on a TGraph (sampling lives in Pump_Graph.h)

#include "platform/Jpeg_Image.h"
#include "platform/Stream.h"
#include "units/Graph_Class.h"
#include "units/Quadratic_Curves.h"
#include "units/Units.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

class EPumpClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A fixed array addressed 1..N, as the record's point and multiplier tables are.
template <typename T, int N>
class TPumpArray {
public:
    static constexpr int Capacity = N;
    T &operator[](int index) { return items_.at(checked(index)); }
    const T &operator[](int index) const { return items_.at(checked(index)); }
    void Fill(const T &value) { items_.fill(value); }
    bool operator==(const TPumpArray &) const = default;

private:
    static std::size_t checked(int index)
    {
        if (index < 1 || index > N)
            throw std::out_of_range("TPumpArray: index " + std::to_string(index) + " outside 1.." +
                                    std::to_string(N));
        return static_cast<std::size_t>(index - 1);
    }
    std::array<T, N> items_{};
};

enum TPumpType : std::uint8_t { PumpFixedSpeed = 0, PumpFixedFlow = 1, PumpFixedHead = 2 };

struct TPumpPoint {
    double Flow_m3s = 0;
    double Flow_kgs = 0;
    double Head_mHd = 0;          // m of water when the set's SetHead_Stored_mH2O is true
    double EfficiencyPercent = 0; // 0 or less: not given
    double NPSHr_mHd = 0;         // m of water when SetNPSHr_Stored_mH2O; negative: not given
    bool operator==(const TPumpPoint &) const = default;
};

constexpr int MaxPumpPoints = 10;

struct TPumpPoints {
    TUnit FlowDisplayUnit{};
    TUnit HeadDisplayUnit{};
    TUnit NPSHrDisplayUnit{};
    TUnit PowerDisplayUnit{};
    bool SetHead_Stored_mH2O = false;
    bool SetNPSHr_Stored_mH2O = false;
    std::int32_t PointsCount = 0;
    TPumpArray<TPumpPoint, MaxPumpPoints> Points;
    bool operator==(const TPumpPoints &) const = default;
};

struct TPumpGraphOptions {
    bool ShowDesignCurve = true;
    bool ShowEnvelope = true;
    bool ShowPrefOpRange = true;
    bool ShowEfficiencyIso = false;
    double EfficiencyIsoPercent = 5.0;
    bool ShowEfficiencyLine = true;
    bool ShowPower = false;
    bool ShowNPSHr = false;
    TGraphGridLines GridLinesStyle = GraphGridStandard;
    bool ShowDesignPoint = true;
    bool ShowSystemCurve = true;
    double SystemCurveHeadStart_mHd = 0;
    bool ShowImportedPumpSheet = false;
    bool ShowImportedLogo = false;
    bool ShowMinFlowLine = false;
    double MinDiamMinFlowPercent = 20.0;
    double MaxDiamMinFlowPercent = 20.0;
    TColor ColorDesignCurve = 0xFF0000;
    TColor ColorEnvelope = 0xD6B762;
    TColor ColorPrefOpRange = 0x00FFFF;
    TColor ColorEfficiency = 0x008000;
    TColor ColorPower = 0x000080;
    TColor ColorNpshr = 0x800000;
    TColor ColorGridLines = 0xC0C0C0;
    TColor ColorBEPCurve = 0x808080;
    TColor ColorDesignPoint = 0x0000FF;
    TColor ColorSystemCurve = 0x008080;
    TColor ColorMinFlowLine = 0x0000C0;
    bool operator==(const TPumpGraphOptions &) const = default;
};

struct TPumpSheetPixel {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPumpSheetPixel &) const = default;
};

struct TImportedPumpSheet {
    bool Imported = false;
    bool SaveImportedBitmap = false;
    // Kept as the JPEG file it was read or made as; saving writes those bytes.
    TJPEGImage PumpSheetBitmap;
    std::int32_t PumpSheetOpacity = 0;
    std::int32_t xAxisMinImageX = 0, xAxisMinImageY = 0, xAxisMaxImageX = 0, xAxisMaxImageY = 0;
    std::int32_t yAxisMinImageX = 0, yAxisMinImageY = 0, yAxisMaxImageX = 0, yAxisMaxImageY = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    TUnit xUnits{};
    TUnit yUnits{};
    std::int32_t PumpSpeed_rpm = 0;
    double PumpImpellerDiameter_m = 0;
    std::int32_t pointsCount = 0;
    TPumpArray<TPumpSheetPixel, 10> Points;
    TPumpArray<double, 10> EfficPoints;
    TPumpArray<double, 10> NPSHrPoints_mHd;
};

// Declared for the user interface's iso-efficiency work.
struct TSingleCurveQuadratic {
    double efficiency = 0, maxHead_mHd = 0, minHead_mHd = 0, a = 0, b = 0, c = 0;
};

// Preset trim-correction multipliers offered by the pump dialogs; row 0 is the
// plain affinity law.
struct TPumpMultiplierPreset {
    const char *Name;
    double Max1, Max2, Min1, Min2;
};
extern const std::array<TPumpMultiplierPreset, 6> PumpHeadMultiplierPresets;
extern const std::array<TPumpMultiplierPreset, 10> PumpEfficiencyMultiplierPresets;

// Largest allowed impeller trim range, percent of the largest diameter.
constexpr double MaxImpellerTrimRangePercent = 40.0;
// Smallest and largest impeller, percent of the base diameter, that still
// allow iso-efficiency lines.
constexpr double MinImpellerPercentOfBaseForIsoLines = 65.0;
constexpr double MaxImpellerPercentOfBaseForIsoLines = 140.0;

// Marker text at the head of a standalone pump file, and the writer's version.
inline constexpr const char *PumpFileMarker = "trpmwithversion";
inline constexpr const char *PumpCurrentFileVersion = "7.40";

class TPump {
public:
    TPump();

    // --- data --------------------------------------------------------------
    std::string PumpFileVersionMarker;
    std::string PumpFileVersionString;
    std::string Name;
    TPumpType PumpType = PumpFixedSpeed;
    double SetFlowRate_m3s = 0;
    double SetFlowRate_kgs = 0;
    TUnit SetFlowRateDisplayUnit{};
    bool SetFixedHead_Stored_mH2O = false;
    double SetFixedHead_FluidHead_m = 0;
    TUnit SetFixedHeadDisplayUnit{};
    std::int32_t Speed_rpm = 0;
    std::int32_t PreferredOpRegionFromPercent = 0;
    std::int32_t PreferredOpRegionToPercent = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t PumpImageIndex = 0;
    std::int32_t PumpColorIndex = 0;
    double PumpScale = 1.0;
    TPumpPoints PumpPoints;
    std::int32_t BaseDataSpeed_rpm = 0;
    double BaseDataImpellerDiameter_m = 0;
    TPumpPoints BaseDataPumpPoints;

    TQuadraticCurves PumpCurve_Qm3s_mHd{MaxPumpPoints};
    TQuadraticCurves PumpCurve_Qkgs_mHd{MaxPumpPoints};
    TQuadraticCurves PumpCurve_Qkgs_Bar{MaxPumpPoints};
    TQuadraticCurves PumpCurve_mHd_Qkgs{MaxPumpPoints};
    TQuadraticCurves PumpEfficiencyCurve{MaxPumpPoints};
    TQuadraticCurves PumpMinDiamCurrentSpeedEfficiencyCurve{MaxPumpPoints};
    TQuadraticCurves PumpBaseDiamCurrentSpeedEfficiencyCurve{MaxPumpPoints};
    TQuadraticCurves PumpMaxDiamCurrentSpeedEfficiencyCurve{MaxPumpPoints};
    TQuadraticCurves PumpMinDiamCurve_Qkgs_mHd{MaxPumpPoints};
    TQuadraticCurves PumpBaseDiamCurve_Qkgs_mHd{MaxPumpPoints};
    TQuadraticCurves PumpMaxDiamCurve_Qkgs_mHd{MaxPumpPoints};
    TQuadraticCurves PumpNPSHrCurve{MaxPumpPoints};
    TQuadraticCurves PumpPowerKwCurve{MaxPumpPoints};
    double PumpBaseDataSuctionSpecificSpeedAtBEP = 0;
    TQuadraticCurves PumpBaseDataNPSHrCurve{MaxPumpPoints};
    TQuadraticCurves PumpBaseDataEfficiencyCurve{MaxPumpPoints};

    // Free notes, one entry per line.
    std::vector<std::string> Notes;
    double ImpellerDiameter_m = 0;
    TUnit ImpellerDiameterDisplayUnit{};
    std::string PumpCatalog;
    std::string PumpManufacturer;
    std::string PumpTypeKind;
    std::int32_t PumpMotorRpm = 0;
    std::int32_t PumpSpeedMinRpm = 0;
    std::int32_t PumpSpeedMaxRpm = 0;
    std::string PumpSize;
    double PumpImpellerDiameterMin_m = 0;
    double PumpImpellerDiameterMax_m = 0;
    std::int32_t PumpStages = 0;
    std::int32_t PumpSpeedRpmGraph = 0;
    double PumpImpellerDiameterGraph_m = 0;
    TPumpArray<double, 2> FlowHeadCurveMaxImpellerMultipliers;
    TPumpArray<double, 2> FlowHeadCurveMinImpellerMultipliers;
    TPumpArray<double, 2> EfficiencyCurveMaxImpellerMultipliers;
    TPumpArray<double, 2> EfficiencyCurveMinImpellerMultipliers;
    TPumpArray<double, MaxPumpPoints> EfficiencyMinImpellerPointMultipliers;
    TPumpArray<double, MaxPumpPoints> EfficiencyMaxImpellerPointMultipliers;
    double PumpEfficiencyMaxSpeedEfficPercentIncrease = 0;
    double PumpNPSHStartMinDiamNpshPercentIncrease = 0;
    double PumpNPSHEndMinDiamNpshPercentIncrease = 0;
    double PumpNPSHStartMaxDiamNpshPercentIncrease = 0;
    double PumpNPSHEndMaxDiamNpshPercentIncrease = 0;
    TPumpGraphOptions PumpGraphOptions;
    TImportedPumpSheet ImportedPumpSheet;
    bool ImportedLogoLoaded = false;
    TJPEGImage ImportedLogoBitmap;

    // --- life cycle and copies (Pump_Class.cpp) ----------------------------
    void Clear();
    void CopyPump(const TPump &ThePump);
    void CopyGraphOptions(const TPump &ThePump);
    void CopyBaseDataFromRunningData();
    void CopyRunningDataFromBaseData();
    void CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();

    // The notes as one text, every line followed by CR LF; setting splits at
    // CR LF, CR or LF.
    std::string NotesText() const;
    void SetNotesText(const std::string &text);

    // --- points and fitting ------------------------------------------------
    void AddPumpCurvePointFlowm3s(double Flow_m3s, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                                  double FluidDensity_kgs_m3);
    void AddPumpCurvePointFlowkgs(double Flow_kgs, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                                  double FluidDensity_kgs_m3);
    void RemovePumpCurvePoint(int PointId, double FluidDensity_kgs_m3);
    void ClearPumpCurves();
    void ClearPumpCurvesButNotBasePoints();
    void calcPumpCurves(double FluidDensity_kgs_m3);
    void calcPumpFlowHeadCurves(double FluidDensity_kgs_m3);
    void calcPumpCurveFlowAndEfficFromRunningData(double FluidDensity_kgs_m3, TQuadraticCurves &ThePumpCurve_Qkgs_mHd,
                                                  TQuadraticCurves &ThePumpEfficiencyCurve);
    void calcPumpBaseDataNPSHCurve();
    void calcPumpBaseDataEfficiencyCurve();

    // --- units and bookkeeping ---------------------------------------------
    bool isPumpCurveShowingInMassFlow() const;
    bool isSetFlowRateUsingMassFlow() const;
    void SetEquivalentFlowAndMassFlowRate(double TheDensity_kgs_m3s);
    void SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints(double TheDensity_kgs_m3s);
    static void GetImpellerDiameterIncrement(double &ImpellerDiameterIncrement_m, TUnit TheImpellerDiameterUnit);
    TUnit getPowerDisplayUnit();
    void UpdateToStoredFluidHeadIfDisplaySetFluidHead(double FluidDensity_kgs_m3);
    void ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(double FluidDensity_kgs_m3);
    // Debug listing of the running points, one "Points=" line each.
    std::vector<std::string> PrintData() const;

    // --- speed and impeller-diameter predictions (Pump_Predictions.cpp) -----
    static void getPredictedFlowForSpeedAndDiameterChangeStdAffinityLaw(double s1, double s2, double d1, double d2,
                                                                         double q1, double &q2);
    static void getPredictedFlowForSpeedAndDiameterChange(double s1, double s2, double d1, double d2, double q1,
                                                          double &q2);
    static void getPredictedHeadForSpeedAndDiameterChangeStdAffinityLaw(double s1, double s2, double d1, double d2,
                                                                         double h1, double &h2);
    void getPredictedHeadForSpeedAndDiameterChange(double s1, double s2, double d1, double d2, double h1,
                                                   double h1Max, double &h2) const;
    void getPredictedPowerBeforeBEPForSpeedAndDiameterChange(double s1, double s2, double d1, double d2, double f1,
                                                             double f2, double fStart, double fMax, double fBEP,
                                                             double h1, double h2, double p1, double &p2) const;
    double getEfficiencyFromQuadraticIsoEfficiencyCurves6(double TheFlow_kgs, double TheHead_mHd,
                                                          double MaxFlow_kgs) const;
    // The three updates leave the pump as it was when a curve fit raises.
    void UpdateRunningDataForSpeedAndImpellerDiameter(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                      double FluidDensity_kgs_m3, bool &Valid);
    void UpdateRunningDataForSpeedAndImpellerDiameter1(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                       double FluidDensity_kgs_m3, bool &Valid);
    void UpdateRunningDataForSpeedAndImpellerDiameter2(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                       double FluidDensity_kgs_m3, bool &Valid);
    void ResetToAffinityLawPredictions();
    int EfficiencyMaxImpellerPointMultipliersUsed() const;
    int EfficiencyMinImpellerPointMultipliersUsed() const;
    static double calcSuctionSpecificSpeed(int TheSpeed_rpm, double TheFlow_kgs, double TheNPSHr_mHd_Fluid,
                                           double TheFluidDensity_kgs_m3);
    static double calcNPSHr_mHd_fromSuctionSpecificSpeed(double TheSuctionSpecificSpeed, int TheSpeed_rpm,
                                                         double TheFlow_kgs, double TheFluidDensity_kgs_m3);
    double calcBaseDataSuctionSpecificSpeed(double TheFluidDensity_kgs_m3) const;

    // --- record and files (Pump_File.cpp) ----------------------------------
    void Save(TStream &TheFileStream, const std::string &FileVersion, double FluidDensity_kgs_m3,
              bool SaveFileVersion);
    // Reads a pump record at the stream's position. All or nothing: a record
    // that cannot be read (short stream, damaged picture, bad value) leaves
    // this pump exactly as it was and raises EPumpClass.
    void Load(TStream &TheFileStream, const std::string &FileVersion, double FluidDensity_kgs_m3,
              bool LoadFileVersion);
    // Fills the pump from a seven-point text import file; all or nothing as Load.
    void LoadFromPumpImportFile(const std::string &TheFileName);

    // --- curve queries (Pump_Queries.cpp) ----------------------------------
    double calcPumpHead_mHd_Fluid(double Flow_m3s, double FluidDensity_kgs_m3) const;
    double calcPumpHead_Bar(double Flow_kgs, double FluidDensity_kgs_m3) const;
    double calcPumpHead_mHd_Fluid_DifferentialQm3s(double Flow_m3s, double FluidDensity_kgs_m3) const;
    double calcPumpHead_mHd_Fluid_DifferentialQkgs(double Flow_kgs, double FluidDensity_kgs_m3) const;
    double calcPumpHead_Bar_DifferentialQkgs(double Flow_kgs, double FluidDensity_kgs_m3) const;
    double calcPumpFlow_m3s(double Head_mHd) const;
    double calcPumpEfficiency(double Flow_m3s, double FluidDensity_kgs_m3) const;
    double calcPumpNPSHr_mHd_Fluid(double Flow_m3s, double FluidDensity_kgs_m3) const;

    void LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(double FluidDensity_kgs_m3, double &a, double &b,
                                                       double &c) const;
    double LinearTheoryCalcMaxPumpHead_Bar(double FluidDensity_kgs_m3) const;
    double LinearTheoryCalcStraightLinePumpHead_Bar(double Flow_kgs, double FluidDensity_kgs_m3) const;
    void LinearTheoryCalcStraightLinePumpHead_Bar_mc(double Flow_kgs, double FluidDensity_kgs_m3, double &m,
                                                     double &c) const;
    double LinearTheorycalcPumpHead_Bar_DifferentialQkgs(double Flow_kgs, double FluidDensity_kgs_m3) const;

    double GetFlowAtBEP_kgs() const;
    double GetFlowAtBEP_m3s(double FluidDensity_kgs_m3) const;
    double GetPercentAtBEP() const;
    int GetPointNumWithBEP_m3s() const;
    double GetFlowAtBaseDataBEP_m3s(double FluidDensity_kgs_m3) const;
    void CalcBEPFlow(double FluidDensity_kgs_m3, double &preferedOpFlowMin, double &preferedOpFlowMax,
                     TUnit &preferedOpFlowDisplayUnit) const;
    double GetMinFlowLine_kgs() const;
    double GetMinFlowLine_m3s(double FluidDensity_kgs_m3) const;

    double GetPointMaxFlow_kgs_withEffiencyGreaterThanZero() const;
    double GetPointMaxPower_Kw_withEffiencyGreaterThanZero() const;
    double GetPointMinEfficiencywithEffiencyGreaterThanZero() const;
    double GetMaxEfficiencywithEffiencyGreaterThanZero() const;
    double GetPointBaseDataMaxEfficiencywithEffiencyGreaterThanZero() const;

    void GetLHSFlowAndHeadPointsAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3, double &flow1_kgs,
                                            double &head1_mHd) const;
    void GetRHSFlowAndHeadPointsAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3, double &flow1_kgs,
                                            double &head1_mHd) const;
    void GetFlowAndHeadPointsAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3, double &flow1_kgs,
                                         double &head1_mHd, double &flow2_kgs, double &head2_mHd) const;
    void GetLHSFlowAndHeadPointsBeforeBEPAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3,
                                                     double &flow1_kgs, double &head1_mHd) const;
    void GetRHSFlowAndHeadPointsAfterBEPAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3,
                                                    double &flow1_kgs, double &head1_mHd,
                                                    double XPercentAllowedAfterEndOfCurvePoints) const;
    bool ExistsEfficiencyOnMinBaseMaxCurve(double TheEfficiency) const;

    bool isRunningOnBaseData() const;
    bool isEfficiencyCurveZero() const;
    bool isEfficiencyCurveValid() const;
    bool isEfficiencyIsobarDrawingInfoValid() const;
    bool IsMinImpellerToMaxImpellerRatioOk() const;

    // --- graph drawing (Pump_Graph.cpp) ------------------------------------
    void DrawFlowVersusHeadCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                                 TColor TheBackLineColor) const;
    void DrawFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                  TGraphTextPos TheGraphTextPos, int HighlightPointNum, TColor HighlightColor) const;
    void DrawMaxDiameterFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                             TGraphTextPos TheGraphTextPos, int HighlightPointNum,
                                             TColor HighlightColor) const;
    void DrawMinDiameterFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                             TGraphTextPos TheGraphTextPos, int HighlightPointNum,
                                             TColor HighlightColor) const;
    void DrawBestEfficiencyPoint(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                 int TheLineWidth) const;
    void DrawBestEfficiencyHighlight(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                     int TheLineWidth) const;
    void DrawEfficiencyCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                             TColor TheBackLineColor) const;
    // Also sets PumpPoints.PowerDisplayUnit from the flow unit.
    void DrawPowerCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                        TColor TheBackLineColor);
    void DrawNPSHrCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                        TColor TheBackLineColor) const;
    // The predictions across the impeller range run on a copy: the pump is
    // left as it was, also when one of them raises.
    void DrawEfficiencyIsoLine(TGraph &TheGraph, double TheEfficiency, double FluidDensity_kgs_m3, TColor TheColor,
                               int TheWidth, TColor TheBackgroundColor, int TheBackgroundWidth,
                               std::string &ErrorString, double &ErrorDiameter_m) const;
    void DrawSystemCurve(TGraph &TheGraph, double FlowInDisplayUnits, double FluidDensity_kgs_m3, TColor TheColor,
                         int TheLineWidth, TColor TheBackLineColor) const;
    void DrawOperatingPoint(TGraph &TheGraph, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                            TColor TheColor, int TheLineWidth) const;
    void DrawLine(TGraph &TheGraph, double Flow1InDisplayUnits, double Head1InDisplayUnits,
                  double Flow2InDisplayUnits, double Head2InDisplayUnits, TColor TheColor, int TheLineWidth) const;

private:
    void addPoint(double Flow_m3s, double Flow_kgs, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                  double FluidDensity_kgs_m3);
    void refreshRunningMassFlows(double FluidDensity_kgs_m3);
    void fitFlowHeadCurves(double FluidDensity_kgs_m3);
    void predictRunningData(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                            bool &Valid);
    void predictRunningData1(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                             bool &Valid);
    void predictRunningData2(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                             bool &Valid);
    void readRecord(TStream &TheFileStream, const std::string &FileVersion, double FluidDensity_kgs_m3,
                    bool LoadFileVersion);
};

// Conversions shared by the pump's files: m³/s <-> kg/s at standard
// conditions, m of water <-> m of fluid, and m of fluid -> bar.g.
double PumpFlow_m3s_to_kgs(double Flow_m3s, double FluidDensity_kgs_m3);
double PumpFlow_kgs_to_m3s(double Flow_kgs, double FluidDensity_kgs_m3);
double PumpHead_mH2O_to_mFluid(double Head_mH2O, double FluidDensity_kgs_m3);
double PumpHead_mFluid_to_mH2O(double Head_mHd, double FluidDensity_kgs_m3);
double PumpHead_mFluid_to_Bar(double Head_mHd, double FluidDensity_kgs_m3);

} // namespace tessaran
