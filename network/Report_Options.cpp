#include "network/Report_Options.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

namespace tessaran {
namespace {

void SetColumns(TReportDataColumns &columns, std::initializer_list<int> numbers)
{
    int position = 0;
    for (int number : numbers)
        columns[static_cast<std::size_t>(position++)] = number;
}

void SetColumnRange(TReportDataColumns &columns, int last)
{
    for (int i = 0; i <= last; ++i)
        columns[static_cast<std::size_t>(i)] = i;
}

void WriteColumns(TStream &stream, const TReportDataColumns &columns)
{
    for (std::int32_t number : columns)
        stream.WriteInt32(number);
}

void ReadColumns(TStream &stream, TReportDataColumns &columns)
{
    TReportDataColumns read;
    for (auto &number : read) {
        number = stream.ReadInt32();
        // The report generator indexes its table layouts by these numbers.
        if (number < -1 || number > TReportOptions::HighestColumnNumber)
            throw EStreamError("The report options file holds an invalid column number " + std::to_string(number));
    }
    columns = read;
}

// The stored version as a number; either decimal separator is accepted and
// a text that is no number counts as 5.12.
double VersionNumber(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return 5.12;
    return value;
}

const char *const kReviewSentence = "Please review and update the individual Pipes, Nodes and Energy options as "
                                    "appropriate and then re-save the options file for future use.";

} // namespace

void TReportOptions::ClearPDFReportOptions(bool isAllGasSystem)
{
    for (TReportDataColumns *columns :
         {&fluidDataColumns, &pumpDataColumns, &pipeDataColumns, &energyDataColumns, &nodeDataColumns,
          &PipeFactorsColumns, &PipeFittingsColumns, &PipeMaterialsColumns, &ComponentsColumns, &FCVsColumns,
          &PRVsColumns, &BPVsColumns})
        columns->fill(-1);

    companyName = "Orlenk";
    projectName = "Project 1";
    engineerRef = "Tessaran Solution";
    includeCoverSheet = true;
    title = "Tessaran Design 1";
    subtitle = "Results Data";
    includeCompanyName = includeProjectName = includeEngineerRef = includePageNumber = true;
    includeDate = true;
    showGridLines = false;
    includeLogInfo = false;
    pageOrientation = PageOrientationAuto;
    includeFluidData = includePumpData = includePumpGraph = includePipeData = includeEnergyData =
        includeNodeData = true;
    includePipeFactors = false;
    includePipeFittings = true;
    includePipeMaterials = false;
    includeComponents = includeFCVs = includePRVs = includeBPVs = true;

    SetColumnRange(fluidDataColumns, 9);
    SetColumnRange(pumpDataColumns, 14);
    SetDefaultReportOptionPipeData(isAllGasSystem);
    SetDefaultReportOptionEnergyData();
    SetDefaultReportOptionNodeData();
    SetColumnRange(PipeFactorsColumns, 13);
    SetColumnRange(PipeFittingsColumns, 11);
    SetColumnRange(PipeMaterialsColumns, 11);
    SetColumns(ComponentsColumns, {0, 1, 4, 5, 6, 7, 8, 9, 10});
    SetColumns(FCVsColumns, {0, 1, 4, 5, 6, 7, 8});
    SetColumns(PRVsColumns, {0, 1, 4, 5, 6, 7});
    SetColumns(BPVsColumns, {0, 1, 4, 5, 6, 7});
}

void TReportOptions::SetDefaultReportOptionPipeData(bool isAllGasSystem)
{
    if (isAllGasSystem)
        SetColumns(pipeDataColumns, {0, 1, 4, 5, 6, 7, 8, 9, 10, 17, 18, 19});
    else
        SetColumns(pipeDataColumns, {0, 1, 4, 5, 6, 7, 8, 15, 16, 17, -1, -1});
}

void TReportOptions::SetDefaultReportOptionNodeData() { SetColumnRange(nodeDataColumns, 11); }

void TReportOptions::SetDefaultReportOptionEnergyData() { SetColumnRange(energyDataColumns, 10); }

void TReportOptions::SaveReportOptions(TStream &stream, bool isAllGasSystem) const
{
    std::string version = CurrentVersion;
    stream.WriteShortString(std::string(24 - version.size(), '0') + version, 24);
    stream.WriteByte(isAllGasSystem ? 1 : 0);
    stream.WriteShortString(companyName, TextCapacity);
    stream.WriteShortString(projectName, TextCapacity);
    stream.WriteShortString(engineerRef, TextCapacity);
    stream.WriteBool(includeCoverSheet);
    stream.WriteShortString(title, TextCapacity);
    stream.WriteShortString(subtitle, TextCapacity);
    for (bool flag : {includeCompanyName, includeProjectName, includeEngineerRef, includePageNumber})
        stream.WriteBool(flag);
    stream.WriteEnum(pageOrientation);
    for (bool flag : {includeDate, showGridLines, includeLogInfo, includeFluidData, includePumpData,
                      includePumpGraph, includePipeData, includeEnergyData, includeNodeData, includePipeFactors,
                      includePipeFittings, includePipeMaterials, includeComponents, includeFCVs, includePRVs,
                      includeBPVs})
        stream.WriteBool(flag);
    for (const TReportDataColumns *columns :
         {&fluidDataColumns, &pumpDataColumns, &pipeDataColumns, &energyDataColumns, &nodeDataColumns,
          &PipeFactorsColumns, &PipeFittingsColumns, &PipeMaterialsColumns, &ComponentsColumns, &FCVsColumns,
          &PRVsColumns, &BPVsColumns})
        WriteColumns(stream, *columns);
}

void TReportOptions::LoadReportOptions(TStream &stream, bool isAllGasSystem, TUserInterfaceSeam &ui)
{
    // Read into a copy so that a failed read leaves these options as they were.
    // The copy starts from these options: the page-count choice is not in
    // the file and the reset before reading leaves it alone.
    TReportOptions loaded = *this;
    loaded.ReadCurrentLayout(stream, isAllGasSystem, ui);
    *this = loaded;
}

void TReportOptions::LoadReportOptionsFirstV638(TStream &stream)
{
    TReportOptions loaded = *this;
    loaded.ReadFirstLayout(stream);
    *this = loaded;
}

void TReportOptions::ReadCurrentLayout(TStream &stream, bool isAllGasSystem, TUserInterfaceSeam &ui)
{
    ClearPDFReportOptions(isAllGasSystem);
    double version = VersionNumber(stream.ReadShortString(24));

    bool keepPipeNodeEnergyColumns = false;
    if (version < 7.05) {
        ui.ShowMessage(TMessageKind::Information,
                       std::string("The PDF options file was saved with an older version of the software.\r\r"
                                   "The available options for Pipes, Nodes and Energy data have changed therefore "
                                   "these options will be set to the default selection after the rest of the file "
                                   "data is loaded.\r\r") +
                           kReviewSentence + "\r");
    } else {
        bool storedAllGas = stream.ReadByte() == 1;
        keepPipeNodeEnergyColumns = storedAllGas == isAllGasSystem;
        if (storedAllGas && !isAllGasSystem)
            ui.ShowMessage(TMessageKind::Information,
                           std::string("The PDF options file was saved with options for a compressible gas system."
                                       "\r\rThe current system is not an 'all gas' system.\r\rIndividual options for "
                                       "Pipes, Nodes and Energy data are different for non-compressible systems "
                                       "therefore these options will be set to the default selection after the rest "
                                       "of the file data is loaded.\r\r") +
                               kReviewSentence + "\r");
        else if (!storedAllGas && isAllGasSystem)
            ui.ShowMessage(TMessageKind::Information,
                           std::string("The PDF options file was saved with options for a non-compressible system."
                                       "\r\rThe current system is a compressible gas system.\r\rIndividual options "
                                       "for Pipes, Nodes and Energy data are different for all gas systems therefore "
                                       "these options will be set to the default selection after the rest of the "
                                       "file data is loaded.\r\r") +
                               kReviewSentence + "\r");
    }

    companyName = stream.ReadShortString(TextCapacity);
    projectName = stream.ReadShortString(TextCapacity);
    engineerRef = stream.ReadShortString(TextCapacity);
    includeCoverSheet = stream.ReadBool();
    title = stream.ReadShortString(TextCapacity);
    subtitle = stream.ReadShortString(TextCapacity);
    includeCompanyName = stream.ReadBool();
    includeProjectName = stream.ReadBool();
    includeEngineerRef = stream.ReadBool();
    includePageNumber = stream.ReadBool();
    pageOrientation = stream.ReadEnum<TPageOrientation>(PageOrientationLandscape);
    includeDate = stream.ReadBool();
    showGridLines = stream.ReadBool();
    includeLogInfo = stream.ReadBool();
    includeFluidData = stream.ReadBool();
    includePumpData = stream.ReadBool();
    if (version >= 6.37)
        includePumpGraph = stream.ReadBool();
    includePipeData = stream.ReadBool();
    includeEnergyData = stream.ReadBool();
    includeNodeData = stream.ReadBool();
    if (version >= 6.42) {
        includePipeFactors = stream.ReadBool();
        includePipeFittings = stream.ReadBool();
        includePipeMaterials = stream.ReadBool();
    }
    if (version >= 7.05) {
        includeComponents = stream.ReadBool();
        includeFCVs = stream.ReadBool();
        includePRVs = stream.ReadBool();
        includeBPVs = stream.ReadBool();
    }

    ReadColumns(stream, fluidDataColumns);
    ReadColumns(stream, pumpDataColumns);
    ReadColumns(stream, pipeDataColumns);
    ReadColumns(stream, energyDataColumns);
    ReadColumns(stream, nodeDataColumns);
    if (!keepPipeNodeEnergyColumns) {
        SetDefaultReportOptionPipeData(isAllGasSystem);
        SetDefaultReportOptionNodeData();
        SetDefaultReportOptionEnergyData();
    }
    if (version >= 6.42) {
        ReadColumns(stream, PipeFactorsColumns);
        ReadColumns(stream, PipeFittingsColumns);
        ReadColumns(stream, PipeMaterialsColumns);
    }
    if (version >= 7.05) {
        ReadColumns(stream, ComponentsColumns);
        ReadColumns(stream, FCVsColumns);
        ReadColumns(stream, PRVsColumns);
        ReadColumns(stream, BPVsColumns);
    }
}

void TReportOptions::ReadFirstLayout(TStream &stream)
{
    stream.ReadShortString(24);
    companyName = stream.ReadShortString(TextCapacity);
    projectName = stream.ReadShortString(TextCapacity);
    engineerRef = stream.ReadShortString(TextCapacity);
    includeCoverSheet = stream.ReadBool();
    title = stream.ReadShortString(TextCapacity);
    subtitle = stream.ReadShortString(TextCapacity);
    includeCompanyName = stream.ReadBool();
    includeProjectName = stream.ReadBool();
    includeEngineerRef = stream.ReadBool();
    includePageNumber = stream.ReadBool();
    pageOrientation = stream.ReadEnum<TPageOrientation>(PageOrientationLandscape);
    includeDate = stream.ReadBool();
    showGridLines = stream.ReadBool();
    includeLogInfo = stream.ReadBool();
    includeFluidData = stream.ReadBool();
    includePumpData = stream.ReadBool();
    includePumpGraph = stream.ReadBool();
    includePipeData = stream.ReadBool();
    includeEnergyData = stream.ReadBool();
    includeNodeData = stream.ReadBool();
    ReadColumns(stream, fluidDataColumns);
    ReadColumns(stream, pumpDataColumns);
    ReadColumns(stream, pipeDataColumns);
    ReadColumns(stream, energyDataColumns);
    ReadColumns(stream, nodeDataColumns);
}

} // namespace tessaran
