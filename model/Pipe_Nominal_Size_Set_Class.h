#pragma once
// The pipe database: every row of every pipe-size table in the "PipeTables"
// folder with the list of materials and schedules, and the matching that
// completes a pipe's wall, outer diameter, weight and nominal size from its
// material, schedule and inner diameter.

#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/FileHeader.h"
#include "model/Pipe_Diameter_Set_Class.h"

namespace tessaran {

class EPipeNominalSizeSetClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One table file's material and schedule (as match keys) and its file name.
struct TPipeMaterialData {
    std::string Material;
    std::string ScheduleClass;
    std::string PipeDataFilename;
};

struct TPipeNominalSizeData {
    std::string Material;
    std::string ScheduleClass;
    double InnerRoughness_m = 0;
    int NominalDiameterMetric = 0;
    std::string NominalDiameterMetricString;
    std::string NominalDiameterImperialString;
    double WallThickness_m = 0;
    double OuterDiameter_m = 0;
    double Density_lb_per_inch3 = 0;
    double InnerDiameter_m = 0;
};

// The progress display of a load: takes one text.
using TFunctionParameter = std::function<void(const std::string &)>;

class TPipeNominalSizeSet {
public:
    TPipeNominalSizeSet(int PipeMaterialSizeSet, int PipeNominalSizeSetSize);

    void Clear();
    static void CopyPipeNominalSizeData(const TPipeNominalSizeData &FromPipeNominalSizeData,
                                        TPipeNominalSizeData &ToPipeNominalSizeData);
    static void SwitchPipeNominalSizeData(TPipeNominalSizeData &PipeNominalSizeData1,
                                          TPipeNominalSizeData &PipeNominalSizeData2);
    static void SwitchPipeMaterialData(TPipeMaterialData &PipeMaterialData1, TPipeMaterialData &PipeMaterialData2);

    // A copy of row Index; an index outside 1..PipeCount gives row 1 (a
    // blank row when the database is empty).
    TPipeNominalSizeData getPipeNominalSizeData(int Index) const;
    const TPipeMaterialData &getPipeMaterialData(int Index) const;
    bool ExistsExactMaterialScheduleMatch(const std::string &MaterialString, const std::string &ScheduleString) const;
    void getMaterialAndScheduleString(const std::string &MaterialString, const std::string &ScheduleString,
                                      std::string &TheSelecedMaterialString, std::string &TheSelectedScehduleString,
                                      std::string &ThePipeDataFilename) const;
    int getIDPipeNominalSizeSetIndex(double InnerDiameter_m, const std::string &MaterialString,
                                     const std::string &ScheduleString) const;
    int getODPipeNominalSizeSetIndex(double OuterDiameter_m, const std::string &MaterialString,
                                     const std::string &ScheduleString) const;
    void GetMatchingDiameterData(const std::string &MaterialString, const std::string &ScheduleString,
                                 double InnerDiameter_m, double &WallThickness_m, double &OuterDiameter_m,
                                 double &WeightPerMetre_kg, int &NominalMetricSize, std::string &NominalMetricString,
                                 std::string &NominalImperialString, bool &foundMatch) const;
    void CalcNominalMetricSize(double InnerDiameter_m, const std::string &MaterialString,
                               const std::string &ScheduleString, int &NominalDiameter_mm,
                               std::string &NominalDiameterMetricString, std::string &NominalDiameterImperialString,
                               bool &Updated) const;
    void UpdatePipeDiameterSetToDefaultNominalSizes(TPipeDiameterSet &ThePipeDiameterSet) const;
    // Appends the rows of a set; rows beyond the capacity are not stored and
    // are reported to Warning.
    void AddOnPipeDiameterSetData(const TPipeDiameterSet &ThePipeDiameterSet, const TWarningProc &Warning);
    void AddToPipeMaterialSetData(const std::string &TheMaterial, const std::string &TheSchedule,
                                  const std::string &TheFilename, const TWarningProc &Warning);

    std::string PipeNominalSizeDataStringToSortOn(int PipeNominalSizeDataArrayIndex) const;
    void QuickSortPipeNominalSizeDataByMaterialScheduleOD(int iLo, int iHi);
    std::string PipeMaterialDataStringToSortOn(int PipeMaterialDataArrayIndex) const;
    void BubbleSortPipeMaterialDataByMaterial();

    void SaveToTextPipeNominalSizeData(std::ostream &F) const;
    // Loads every table of the folder (appending: callers clear first).
    // Progress texts go to proc1, warnings and errors to Warning; nothing is
    // raised.
    void LoadFromPipeDiameterSetData(const std::string &PipeFolderPath, const TFunctionParameter &proc1,
                                     const TWarningProc &Warning);

    TFileHeader FileHeader;
    int MaterialCount = 0;
    int MaxMaterialCount = 0;
    int PipeCount = 0;
    int MaxPipeCount = 0;
    int LastDefaultPipeIndex = 0;
    std::string currentFilename;

private:
    TPipeNominalSizeData &Row(int index) { return PipeNominalSizeDataArray[static_cast<std::size_t>(index - 1)]; }
    const TPipeNominalSizeData &Row(int index) const
    {
        return PipeNominalSizeDataArray[static_cast<std::size_t>(index - 1)];
    }
    TPipeMaterialData &MaterialSlot(int index) { return PipeMaterialDataArray[static_cast<std::size_t>(index - 1)]; }
    const TPipeMaterialData &MaterialSlot(int index) const
    {
        return PipeMaterialDataArray[static_cast<std::size_t>(index - 1)];
    }
    bool TakeRow(int row, double InnerDiameter_m, double &WallThickness_m, double &OuterDiameter_m,
                 double &WeightPerMetre_kg, int &NominalMetricSize, std::string &NominalMetricString,
                 std::string &NominalImperialString) const;
    bool SameBlock(int row, const std::string &material, const std::string &schedule) const;

    std::vector<TPipeMaterialData> PipeMaterialDataArray;
    std::vector<TPipeNominalSizeData> PipeNominalSizeDataArray;
};

} // namespace tessaran
