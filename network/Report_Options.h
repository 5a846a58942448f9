#pragma once
// The options of a network's customised PDF results report and the
// report-options part of the ".trzrep" file.

#include "network/User_Interface_Seam.h"
#include "platform/Stream.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessaran {

enum TPageOrientation : std::uint8_t { PageOrientationAuto, PageOrientationPortrait, PageOrientationLandscape };

// Column numbers of one report table in print order; -1 marks an empty place.
using TReportDataColumns = std::array<std::int32_t, 15>;

class TReportOptions {
public:
    static constexpr int TextCapacity = 40;
    static constexpr const char *CurrentVersion = "7.40";
    // Highest column number any report table layout has.
    static constexpr int HighestColumnNumber = 63;

    TReportOptions() { ClearPDFReportOptions(false); }

    // Every default; the pipe columns depend on the kind of system.
    void ClearPDFReportOptions(bool isAllGasSystem);
    void SetDefaultReportOptionPipeData(bool isAllGasSystem);
    void SetDefaultReportOptionNodeData();
    void SetDefaultReportOptionEnergyData();

    void SaveReportOptions(TStream &stream, bool isAllGasSystem) const;
    // Resets, then reads the options written by this or an older version.
    // Notices about replaced column choices go to the user interface.
    // Stream errors and column numbers out of range raise EStreamError and
    // leave the options as they were.
    void LoadReportOptions(TStream &stream, bool isAllGasSystem, TUserInterfaceSeam &ui);
    // The first layout of the file, read without resetting first.
    void LoadReportOptionsFirstV638(TStream &stream);

    std::string companyName, projectName, engineerRef;
    bool includeCoverSheet = true;
    std::string title, subtitle;
    bool includeCompanyName = true, includeProjectName = true, includeEngineerRef = true, includePageNumber = true;
    bool includePageCount = false;
    bool includeDate = true, showGridLines = false, includeLogInfo = false;
    TPageOrientation pageOrientation = PageOrientationAuto;
    bool includeFluidData = true, includePumpData = true, includePumpGraph = true, includePipeData = true,
         includeEnergyData = true, includeNodeData = true, includePipeFactors = false, includePipeFittings = true,
         includePipeMaterials = false, includeComponents = true, includeFCVs = true, includePRVs = true,
         includeBPVs = true;
    TReportDataColumns fluidDataColumns{}, pumpDataColumns{}, pipeDataColumns{}, energyDataColumns{},
        nodeDataColumns{}, PipeFactorsColumns{}, PipeFittingsColumns{}, PipeMaterialsColumns{},
        ComponentsColumns{}, FCVsColumns{}, PRVsColumns{}, BPVsColumns{};

    bool operator==(const TReportOptions &) const = default;

private:
    void ReadCurrentLayout(TStream &stream, bool isAllGasSystem, TUserInterfaceSeam &ui);
    void ReadFirstLayout(TStream &stream);
};

} // namespace tessaran
