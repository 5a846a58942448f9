#pragma once
// The pressure-loss component a pipe may carry: a loss that is fixed, read
// from a curve of loss against flow, or given by a flow coefficient (Cv, Kv
// or a sprinkler K factor). Stored inside the pipe record and, from the
// component dialog, in a component file of its own (".trco").

#include "units/Units.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaran {

class TStream;

class EComponentPressureClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One byte in files.
enum TPressureType : std::uint8_t {
    ComponentPressureFixed = 0,
    ComponentPressureCurve = 1,
    ComponentPressureCv = 2,
    ComponentPressureKv = 3,
    ComponentPressureSprinklerKimperial = 4,
    ComponentPressureSprinklerKmetric = 5,
};

struct TComponentPressureCurvePoint {
    double Flow_m3s = 0;
    double Flow_kgs = 0;
    // Head in metres, of water or of the fluid as the component says.
    double Loss_mHd = 0;
};

struct TComponentPressureCurvePoints {
    static constexpr int MaxPoints = 8;

    bool UseMassFlow = false;
    TUnit FlowDisplayUnit = unt_m3_sec;
    TUnit LossDisplayUnit = unt_m_hd_fluid;
    int PointsCount = 0;
    // Points 1 to 8; element 0 is unused so the numbering reads as stored.
    TComponentPressureCurvePoint Points[MaxPoints + 1];

    TComponentPressureCurvePoint &Point(int number);
    const TComponentPressureCurvePoint &Point(int number) const;
};

class TComponentPressure {
public:
    static constexpr int ShortStringLength = 20;
    static constexpr std::string_view FileVersionMarker = "trcowithversion";
    // Every field of the current version, all eight points included.
    static constexpr int RecordSize = (ShortStringLength + 1) + 4 + 1 + 8 * 4 + 1 + 1 + 8 + 1 + 1 + 1 + 4 +
                                      TComponentPressureCurvePoints::MaxPoints * 24;
    // The marker and the version text before the record of a component file.
    static constexpr int FilePreambleSize = 2 * (ShortStringLength + 1);

    TComponentPressure() { Clear(); }

    // Leaves the file marker and version texts as they are.
    void Clear();
    void CopyComponentPressure(const TComponentPressure &theComponentPressure);

    std::string getComponentTypeString() const;
    std::string getComponentValueString(TUnit theUnitOfPressureLoss, double theAtmosphere_Bar_a,
                                        double theFluidDensity_kgs_m3) const;

    // Loss in metres of the fluid, signed like the flow.
    double calcLoss_mHd_Fluid(double flow_m3s, double fluidDensity_kgs_m3, double pipeDiameter_m) const;
    double calcLoss_Bar(double flow_kgs, double fluidDensity_kgs_m3, double pipeDiameter_m) const;
    // Derivative of calcLoss_Bar with respect to the mass flow, bar per kg/s.
    double calcLoss_Bar_DifferentialQkgs(double flow_kgs, double fluidDensity_kgs_m3, double pipeDiameter_m) const;

    void ClearComponentPressureCurve();
    void SetCurvePointsQm3sFromQkgs(double fluidDensity_kgs_m3);
    void SetCurvePointsQkgsFromQm3s(double fluidDensity_kgs_m3);
    void SetEquivalentFlowAndMassFlowRate(double theDensity_kgs_m3s);
    void AddCurvePointFlowm3s(double flow_m3s, double loss_mHd, double fluidDensity_kgs_m3);
    void CreateQuadraticCurvePointsFromFirst3Points(double fluidDensity_kgs_m3);
    void LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(double fluidDensity_kgs_m3, double &a, double &b,
                                                            double &c) const;
    void CheckIfCurveContainsNegativeValues(bool &containsNegativeValues) const;
    void UpdateToStoredFluidHeadIfDisplaySetFluidHead(double fluidDensity_kgs_m3);

    // The component record, preceded in a component file by the marker and
    // the version text. Save writes exactly what Load reads for the same
    // version. Load clears the component first; a damaged or short record
    // raises EComponentPressureClass and leaves the component cleared, so a
    // pipe record around it is never read out of step.
    void Save(TStream &theFileStream, const std::string &fileVersion, bool saveFileVersion);
    void Load(TStream &theFileStream, const std::string &fileVersion, bool loadFileVersion);

    std::string ComponentFileVersionMarker;
    std::string ComponentFileVersionString;
    std::string Name;
    int ImageIndex;
    TPressureType PressureType;
    double Cv;
    double Kv;
    double SprinklerKimperial;
    double SprinklerKmetric;
    bool SetPressureLoss_Stored_mH2O;
    double FixedPressureLoss_mHd;
    TComponentPressureCurvePoints CurvePoints;
    bool CheckCompressibleChokedFlow;

private:
    double CoefficientK(double pipeDiameter_m) const;
    // Loss of point k as metres of the fluid.
    double PointLoss_mHd_Fluid(int k, double fluidDensity_kgs_m3) const;
    int CurveSegment(double absoluteFlow_m3s) const;
};

} // namespace tessaran
