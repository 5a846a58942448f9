#pragma once
// One pipe of a network: geometry and material, drawing data, the items that
// sit on it, and the hydraulic results of the last calculation. The same
// class is a row of the pipe-size tables and the network's default pipe.

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Component_Pressure_Class.h"
#include "model/Fitting_Set_Class.h"
#include "model/Flow_Control_Class.h"
#include "model/Fluid_Class.h"
#include "model/Pump_Class.h"
#include "units/Calculations.h"
#include "platform/Graphics.h"
#include "platform/Stream.h"
#include "units/Calculation_Enums.h"
#include "units/Units.h"

namespace tessaran {

class EPipeClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPipe {
public:
    static constexpr int FittingSetCapacity = 5;

    TPipe();
    TPipe(const TPipe &) = delete;
    TPipe &operator=(const TPipe &) = delete;

    void Clear();
    void Copy(const TPipe &The_Pipe);
    void CopyWithoutComponents(const TPipe &The_Pipe);

    std::string getNominalDiameterString(TUnit TheDiameterUnits) const;
    std::string getNominalDiameterLabelString(TUnit TheDiameterUnits) const;
    std::string GetPipeNameSizeString(TUnit TheDiameterUnit) const;
    std::string GetPipeInternalDiameterString(TUnit TheUnit) const;
    std::string GetPipeNameSizeInternalDiameterString(TUnit TheUnit) const;
    std::string getFlowType() const;
    double InternalVolume_m3_m() const;
    double SurfaceArea_m2_m() const;
    void SetFlowGuess(double The_Flow_m3s);
    void SetVelocityGuess(double The_Velocity_ms);

    void AddFitting(const TFitting &The_Fitting);
    void RemoveFitting(int The_Fitting_Number);
    int GetFittingCount() const;
    int GetFittingCountIncludingQuantities() const;
    double CalcTotalKFittings() const;
    void SetEquivPipeLengthForFittings_m();
    void SetEquivPipeLengthForComponentCvKvSprinklerK();
    void CheckPipeSizeIDMatchOD(TUnit CurrentUnitOfDiameter, bool &MatchOk, std::string &ErrorMessage) const;
    void CheckFittingSizeMatch(TUnit CurrentUnitOfDiameter, const TFitting &TheFitting, bool &MatchOk,
                               std::string &ErrorMessage) const;

    void AddPump(const TPump &ThePump);
    void RemovePump();
    void RemoveComponentPressure();
    void RemoveFlowControl();

    // Turns the solved flow in FlowUncompressed_m3s and the end-node pressures
    // into the pipe's hydraulic results.
    void CalcPipeInfo(const TFluid &The_Fluid, TUnit CurrentUnitOfLength, TMethodOfSolution TheMethodOfSolution,
                      TMethodOfCalculationCompressible TheMethodOfCalculationCompressible,
                      double GasModel_Std_Temp_degrees_k, double GasModel_Std_Pressure_Pa_a,
                      double PipelineEfficiencyE, TZCompressibilityModel ZCompressibilityModel,
                      double ZCompressibilityFactorValue, double StartNodeElevation_m, double EndNodeElevation_m,
                      double StartNodePressure_bar_g, double EndNodePressure_bar_g, double Atmosphere_Bar_a);

    // The pipe record of the network file. Save is not const: the component
    // notes the version it was written with. Load leaves the pipe cleared
    // when the record cannot be read whole, and passes the error on.
    void Save(TStream &TheFileStream, const std::string &FileVersion);
    void Load(TStream &TheFileStream, const std::string &FileVersion);

    // One row line of a pipe-size table (UTF-8 in memory, without its line end).
    std::string DiameterDataLine() const;
    void SaveDiameterDataToText(std::ostream &F) const;
    // Reads a row line; a line that does not parse clears the pipe and
    // leaves Ok false.
    void LoadDiameterDataFromLine(const std::string &line, const std::string &FileName,
                                  const std::string &Version, bool &Ok);
    void LoadDiameterDataFromText(std::istream &F, const std::string &FileName, const std::string &Version,
                                  bool &Ok);

    std::vector<std::string> PrintData() const;

    // True when the fittings, component, flow control or pump take part in
    // the calculation.
    bool FittingsInUse() const;
    bool ComponentInUse() const;
    bool FlowControlInUse() const;
    bool PumpInUse() const;

    double VelocityGuess_ms = 0;
    double ReynoldsNumber = 0;
    double FrictionFactor = 0;
    double TransmissionFactor = 0;
    double CompressedFlowFactor = 1.0;
    double PipeFrictionLoss_mHd_Fluid = 0;
    double PipeFrictionLoss_mHd_Fluid_per100 = 0;
    double FittingsLoss_mHd_Fluid = 0;
    double EntryFittingsLoss_mHd_Fluid = 0;
    double ExitFittingsLoss_mHd_Fluid = 0;
    double ComponentPressureLoss_mHd_Fluid = 0;
    double PumpNPSHr_mHd_Fluid = 0;
    double TotalPressureLossWithoutElevationChange_mHd = 0;
    double PressureLossDueToElevationChange_Bar = 0;
    double TotalPressureLossWithElevationChange_Bar = 0;
    std::string Name;
    double Length_m = 0;
    double InnerDiameter_m = 0;
    double InnerRoughness_m = 0;
    std::string Material;
    int NominalDiameterMetric = 0;
    std::string NominalDiameterImperialString;
    std::string NominalDiameterMetricString;
    std::string SpecificationReference;
    std::string ScheduleClass;
    double OuterDiameter_m = 0;
    double WallThickness_m = 0;
    double WeightPerMetre_kg = 0;
    TColor LineColor = 0;
    int LineWidth = 0;
    TBrushStyle LineStyle = TBrushStyle::bsSolid;
    int FluidZoneIndex = 1;
    std::string PipeDataFilename;
    double FlowGuessUncompressed_m3s = 0;
    bool FlowGuessUncompressedSet = false;
    std::string FlowType;
    double FlowUncompressed_m3s = 0;
    double Velocity_ms = 0;
    double EntryVelocity_ms = 0;
    double ExitVelocity_ms = 0;
    double FlowKgsDivPressDiffBar = 0;
    bool FittingsUseInCalc = true;
    TFittingSet FittingSet{FittingSetCapacity};
    double equivPipeLengthForFittings_m = 0;
    double equivPipeLengthForEntryFittings_m = 0;
    double equivPipeLengthForExitFittings_m = 0;
    double equivPipeLengthForComponentCvKvSprinklerK = 0;
    int ComponentPressureCount = 0;
    bool ComponentPressureUseInCalc = true;
    TComponentPressure ComponentPressure;
    double ComponentPressurePositionPercentageAlongPipe = 0;
    int ComponentPressurex = 0;
    int ComponentPressurey = 0;
    int FlowControlCount = 0;
    bool FlowControlUseInCalc = true;
    double FlowControlLoss_Bar = 0;
    double FlowControlLoss_mHd_Fluid = 0;
    TFlowControl FlowControl;
    double FlowControlPositionPercentageAlongPipe = 0;
    int FlowControlx = 0;
    int FlowControly = 0;
    bool PreventBackflow = false;
    int PumpCount = 0;
    bool PumpUseInCalc = true;
    TPump Pump;
    double PumpDistanceFromStartOfPipe_m = 0;
    double PumpPositionPercentageAlongPipe = 0;
    double PumpElevation_m = 0;
    double Pump_mHd_Fluid = 0;
    double labelPositionPercentageAlongPipe = 50;
    int labelx = 0;
    int labely = 0;
    double FittingsPositionPercentageAlongPipe = 50;
    int EntryFittingsx = 0;
    int EntryFittingsy = 0;
    int ExitFittingsx = 0;
    int ExitFittingsy = 0;
    bool Selected = false;
    std::vector<std::string> Notes;

private:
    void CopyPipeData(const TPipe &The_Pipe);

    // calcFrictionFactor at a Reynolds number, bore and roughness, kept for
    // the last arguments it was asked for: a calculation works out a pipe's
    // results several times at the same flow, and the Colebrook solve is
    // the dearest part of them. The wall's terms are kept for the bore and
    // roughness they were worked out for, as they change far less often
    // than the flow.
    double frictionFactorFor(double Reynolds, double Diameter_m, double Roughness_m);
    struct TFrictionFactorMemo {
        std::uint64_t Reynolds = 0, Diameter = 0, Roughness = 0;
        double Factor = 0;
        bool Set = false;
        std::uint64_t WallDiameter = 0, WallRoughness = 0;
        TFrictionWall Wall;
        bool WallSet = false;
    } frictionFactorMemo_;
};

} // namespace tessaran
