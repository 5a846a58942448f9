#include "pumps/Pump_Database_Class.h"

#include "network/Network_Class.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tessaran {

namespace fs = std::filesystem;

namespace {

std::string lastComponent(const std::string &path)
{
    fs::path p(path);
    if (!p.has_filename())
        p = p.parent_path();
    return p.filename().string();
}

bool isHidden(const fs::path &path)
{
    const std::string name = path.filename().string();
    return !name.empty() && name[0] == '.';
}

// Directory entries of one kind, by name; an unreadable folder lists nothing.
std::vector<std::string> listFolder(const std::string &folder, bool folders, bool includeHidden)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path &path = it->path();
        std::error_code statError;
        if (folders) {
            if (it->is_directory(statError) && (includeHidden || !isHidden(path)))
                names.push_back(path.filename().string());
        } else if (it->is_regular_file(statError) && path.extension() == ".trpm") {
            names.push_back(path.filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    return (fs::path(folder) / name).string();
}

} // namespace

TPumpDatabase::TPumpDatabase()
{
    pumpIndex.reserve(MaxPumpDatabasePumps);
    for (int i = 0; i < MaxPumpDatabasePumps; ++i)
        pumpIndex.push_back(std::make_unique<TPumpIndexItem>());
    IndexClear();
}

void TPumpDatabase::IndexClear()
{
    folderPath.clear();
    topFolderName.clear();
    // Only entries that were used can hold anything.
    for (int i = 1; i <= std::max(pumpCount, 0); ++i) {
        TPumpIndexItem &item = Entry(i);
        item.RelativeFilePath.clear();
        item.FolderName.clear();
        item.Filename.clear();
        item.Pump.Clear();
    }
    IndexUnSelectAll();
    pumpCount = 0;
}

void TPumpDatabase::IndexUnSelectAll()
{
    for (auto &item : pumpIndex)
        item->Selected = false;
}

std::vector<std::string> TPumpDatabase::TopLevelFolders(const std::string &FromFolderPath)
{
    return listFolder(FromFolderPath, true, true);
}

std::vector<std::string> TPumpDatabase::SubFolders(const std::string &TheFolderPath)
{
    return listFolder(TheFolderPath, true, false);
}

std::vector<std::string> TPumpDatabase::PumpFiles(const std::string &TheFolderPath)
{
    return listFolder(TheFolderPath, false, false);
}

void TPumpDatabase::IndexBuild(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3, int &ErrorCode,
                               std::string &ErrorString, std::string &MessageString)
{
    ErrorCode = 0;
    ErrorString.clear();
    failures_.clear();
    folderPath = TheFolderPath;
    topFolderName = lastComponent(TheFolderPath);
    try {
        for (const std::string &sub : SubFolders(TheFolderPath)) {
            if (pumpCount >= MaxPumpDatabasePumps)
                break;
            const std::string subPath = joinPath(TheFolderPath, sub);
            IndexAddPumpsFromFolder(subPath, TheFluidDensity_kgs_m3);
            IndexAddPumpsFromFolderSubFolders(subPath, TheFluidDensity_kgs_m3);
        }
        if (pumpCount < MaxPumpDatabasePumps)
            IndexAddPumpsFromFolder(TheFolderPath, TheFluidDensity_kgs_m3);
    } catch (const std::exception &e) {
        failures_.push_back(e.what());
    }
    if (pumpCount >= MaxPumpDatabasePumps)
        MessageString = "Maximum Limit of " + std::to_string(MaxPumpDatabasePumps) +
                        " pumps have been loaded from: " + "\r\r" + TheFolderPath + "\r\r" +
                        "This pump library folder may contain additional pumps that have not been loaded. " +
                        "\r\r" + "Split the pump library folder into more top level folders to correct this issue." +
                        "\r";
    if (!failures_.empty()) {
        ErrorCode = 1;
        ErrorString = "Error occured building Pump Database Index from folder:" + TheFolderPath;
        for (const std::string &failure : failures_)
            ErrorString += "\r" + failure;
    }
}

void TPumpDatabase::IndexAddPumpsFromFolder(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3)
{
    for (const std::string &file : PumpFiles(TheFolderPath)) {
        if (pumpCount >= MaxPumpDatabasePumps)
            return;
        // One unreadable file must not keep the rest of the library out.
        try {
            IndexAddPump(TheFolderPath, file, TheFluidDensity_kgs_m3);
        } catch (const EPumpDatabase &e) {
            failures_.push_back(e.what());
        }
    }
}

void TPumpDatabase::IndexAddPumpsFromFolderSubFolders(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3)
{
    for (const std::string &sub : SubFolders(TheFolderPath)) {
        if (pumpCount >= MaxPumpDatabasePumps)
            return;
        IndexAddPumpsFromFolder(joinPath(TheFolderPath, sub), TheFluidDensity_kgs_m3);
    }
}

void TPumpDatabase::IndexAddPump(const std::string &TheFolderPath, const std::string &ThePumpFilename,
                                 double TheFluidDensity_kgs_m3)
{
    const std::string fullPath = joinPath(TheFolderPath, ThePumpFilename);
    std::error_code error;
    if (!fs::is_regular_file(fullPath, error) || pumpCount >= MaxPumpDatabasePumps)
        return;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fullPath);
    } catch (const std::exception &) {
        throw EPumpDatabase("Could not open pump file: " + fullPath);
    }
    TPumpIndexItem &item = Entry(pumpCount + 1);
    item.RelativeFilePath = RelativePathFromPumpFolder(fullPath);
    item.FolderName = lastComponent(TheFolderPath);
    item.Filename = ThePumpFilename;
    item.Selected = false;
    TMemoryStream stream(std::move(bytes));
    try {
        item.Pump.Load(stream, PumpCurrentFileVersion, TheFluidDensity_kgs_m3, true);
    } catch (const std::exception &) {
        item.Pump.Clear(); // not a pump record: listed with a cleared pump
    }
    // The index never keeps curve images.
    item.Pump.ImportedPumpSheet.Imported = false;
    item.Pump.ImportedPumpSheet.SaveImportedBitmap = false;
    item.Pump.ImportedPumpSheet.PumpSheetBitmap = TJPEGImage();
    item.Pump.calcPumpCurves(TheFluidDensity_kgs_m3);
    ++pumpCount;
}

std::string TPumpDatabase::RelativePathFromPumpFolder(const std::string &TheFilePath) const
{
    // Relative to the library root when the file lies below it, so a folder
    // that happens to be called "Pumps" inside a library changes nothing.
    const fs::path file = fs::path(TheFilePath).lexically_normal();
    if (!folderPath.empty()) {
        const fs::path root = fs::path(folderPath).lexically_normal().parent_path();
        const fs::path relative = file.lexically_relative(root);
        if (!relative.empty() && *relative.begin() != "..")
            return "/" + relative.generic_string();
    }
    // Otherwise up to the nearest folder named "Pumps".
    std::string result;
    fs::path path = file;
    while (!path.empty() && path.has_filename() && path.filename() != "Pumps") {
        result = result.empty() ? path.filename().string() : path.filename().string() + "/" + result;
        path = path.parent_path();
    }
    return "/" + result;
}

std::string TPumpDatabase::GetFullPathFromRelativePath(const std::string &TheRelativePath) const
{
    const fs::path root = fs::path(folderPath).lexically_normal().parent_path();
    std::string relative = TheRelativePath;
    while (!relative.empty() && relative.front() == '/')
        relative.erase(0, 1);
    return (root / relative).string();
}

// --- the duty-point searches -------------------------------------------------

void TPumpDatabase::findMatchingPumps(TSearch search, double flow_kgs, TUnit theFlowUnit, double head_mHd,
                                      TUnit theHeadUnit, TUnit diameterUnit, int speedMinRpm, int speedMaxRpm,
                                      double density, TFlowPreference preference, double allowedPercentHeadMiss,
                                      const TNetwork &network, TStringGrid &grid, int &row)
{
    flowUnit = theFlowUnit;
    headUnit = theHeadUnit;
    impellerDiameterUnit = diameterUnit;
    double step = 0.001;
    TPump::GetImpellerDiameterIncrement(step, diameterUnit);
    const double bandLow = head_mHd * (1 - allowedPercentHeadMiss / 100);
    const double bandHigh = head_mHd * (1 + allowedPercentHeadMiss / 100);
    const double flow_m3s = flow_kgs / density;
    const auto outsideBand = [&](double h) { return h < bandLow || h > bandHigh; };

    for (int i = 1; i <= pumpCount; ++i) {
        TPump &pump = Entry(i).Pump;
        pump.PumpPoints.FlowDisplayUnit = theFlowUnit;
        pump.PumpPoints.HeadDisplayUnit = theHeadUnit;
        pump.ImpellerDiameterDisplayUnit = diameterUnit;
        const double dMin = pump.PumpImpellerDiameterMin_m;
        const double dMax = pump.PumpImpellerDiameterMax_m;
        const bool baseSpeedInRange =
            pump.BaseDataSpeed_rpm >= pump.PumpSpeedMinRpm && pump.BaseDataSpeed_rpm <= pump.PumpSpeedMaxRpm;

        double firstDiameter;
        if (search == TSearch::FastestSpeed) {
            firstDiameter = std::trunc(dMin / step) * step;
            if (firstDiameter < dMin)
                firstDiameter = dMin;
        } else if (search == TSearch::LargestDiameter) {
            firstDiameter = static_cast<double>(Round(dMax / step)) * step;
            if (firstDiameter > dMax)
                firstDiameter = dMax;
        } else {
            firstDiameter = std::trunc(dMax / step) * step;
        }

        const auto run = [&](int speed, double diameter) {
            bool valid = true;
            pump.UpdateRunningDataForSpeedAndImpellerDiameter2(speed, diameter, density, valid);
            return valid;
        };
        const auto headAtDuty = [&] { return pump.calcPumpHead_mHd_Fluid(flow_m3s, density); };

        double bestEfficiency = 0;
        int bestSpeed = 0;
        double bestDiameter = 0;
        bool found = false;
        // The test of one speed; on success the pump runs at the diameter found.
        const auto meetsDuty = [&](int speed, double &diameter, double &efficiency) {
            if (speed < pump.PumpSpeedMinRpm || speed > pump.PumpSpeedMaxRpm || !baseSpeedInRange)
                return false;
            if (!run(speed, dMax) || !(headAtDuty() > head_mHd))
                return false;
            diameter = firstDiameter;
            if (!run(speed, diameter))
                return false;
            double h = headAtDuty();
            double lower = dMin;
            double upper = dMax;
            for (int halvings = 0; outsideBand(h) && halvings < 20; ++halvings) {
                if (h < bandLow)
                    lower = diameter;
                else
                    upper = diameter;
                diameter = std::trunc(((upper + lower) / 2) / step) * step;
                if (!run(speed, diameter))
                    return false;
                h = headAtDuty();
            }
            if (outsideBand(h))
                return false;
            const int last = pump.PumpPoints.PointsCount;
            if (last < 1 || flow_m3s > pump.PumpPoints.Points[last].Flow_m3s)
                return false;
            if (pump.GetMinFlowLine_m3s(density) > flow_m3s)
                return false;
            efficiency = pump.PumpEfficiencyCurve.CalculateY(flow_kgs);
            if (search == TSearch::BestEfficiency && efficiency < bestEfficiency)
                return false;
            if (preference != FlowNoPreference) {
                const TQuadraticCurves &curve = pump.PumpEfficiencyCurve;
                const double lastFlow = curve.PointsCount > 0 ? curve.CurvePoints[curve.PointsCount].X : 0;
                double bepFlow = 0;
                double maxEfficiency = 0;
                curve.CalculateXAtMaxY(bepFlow, maxEfficiency, 0, lastFlow);
                if (preference == FlowLeftOfBEP && !(flow_kgs < bepFlow))
                    return false;
                if (preference == FlowRightOfBEP && !(flow_kgs >= bepFlow))
                    return false;
            }
            return true;
        };

        // After the first speed the steps land on whole tens of rpm.
        const bool downwards = search == TSearch::FastestSpeed;
        for (int speed = downwards ? speedMaxRpm : speedMinRpm;
             downwards ? speed >= speedMinRpm : speed <= speedMaxRpm;
             speed = downwards ? (speed / 10) * 10 - 10 : (speed / 10) * 10 + 10) {
            double diameter = 0;
            double efficiency = 0;
            if (!meetsDuty(speed, diameter, efficiency))
                continue;
            if (search != TSearch::BestEfficiency) {
                AddPumpToStringGrid(pump, flow_kgs, density, grid, network, i, row);
                ++row;
                found = true;
                break;
            }
            found = true;
            bestSpeed = speed;
            bestDiameter = diameter;
            bestEfficiency = efficiency;
        }
        if (search == TSearch::BestEfficiency && found) {
            run(bestSpeed, bestDiameter);
            AddPumpToStringGrid(pump, flow_kgs, density, grid, network, i, row);
            ++row;
        }
    }
}

void TPumpDatabase::IndexFindMatchingPumpsFastestSpeedAddToStringGrid(
    double TheFlow_kgs, TUnit TheFlowUnit, double TheHead_mHd, TUnit TheHeadUnit, TUnit TheImpellerDiameterUnit,
    int TheSpeedMinRpm, int TheSpeedMaxRpm, double TheFluidDensity_kgs_m3, TFlowPreference TheFlowPreference,
    double TheAllowedPercentHeadMiss, const TNetwork &TheNetwork, TStringGrid &TheStringGrid, int &StartRowNum)
{
    findMatchingPumps(TSearch::FastestSpeed, TheFlow_kgs, TheFlowUnit, TheHead_mHd, TheHeadUnit,
                      TheImpellerDiameterUnit, TheSpeedMinRpm, TheSpeedMaxRpm, TheFluidDensity_kgs_m3,
                      TheFlowPreference, TheAllowedPercentHeadMiss, TheNetwork, TheStringGrid, StartRowNum);
}

void TPumpDatabase::IndexFindMatchingPumpsLargestDiameterAddToStringGrid(
    double TheFlow_kgs, TUnit TheFlowUnit, double TheHead_mHd, TUnit TheHeadUnit, TUnit TheImpellerDiameterUnit,
    int TheSpeedMinRpm, int TheSpeedMaxRpm, double TheFluidDensity_kgs_m3, TFlowPreference TheFlowPreference,
    double TheAllowedPercentHeadMiss, const TNetwork &TheNetwork, TStringGrid &TheStringGrid, int &StartRowNum)
{
    findMatchingPumps(TSearch::LargestDiameter, TheFlow_kgs, TheFlowUnit, TheHead_mHd, TheHeadUnit,
                      TheImpellerDiameterUnit, TheSpeedMinRpm, TheSpeedMaxRpm, TheFluidDensity_kgs_m3,
                      TheFlowPreference, TheAllowedPercentHeadMiss, TheNetwork, TheStringGrid, StartRowNum);
}

void TPumpDatabase::IndexFindMatchingPumpsBestEfficiencyAddToStringGrid(
    double TheFlow_kgs, TUnit TheFlowUnit, double TheHead_mHd, TUnit TheHeadUnit, TUnit TheImpellerDiameterUnit,
    int TheSpeedMinRpm, int TheSpeedMaxRpm, double TheFluidDensity_kgs_m3, TFlowPreference TheFlowPreference,
    double TheAllowedPercentHeadMiss, const TNetwork &TheNetwork, TStringGrid &TheStringGrid, int &StartRowNum)
{
    findMatchingPumps(TSearch::BestEfficiency, TheFlow_kgs, TheFlowUnit, TheHead_mHd, TheHeadUnit,
                      TheImpellerDiameterUnit, TheSpeedMinRpm, TheSpeedMaxRpm, TheFluidDensity_kgs_m3,
                      TheFlowPreference, TheAllowedPercentHeadMiss, TheNetwork, TheStringGrid, StartRowNum);
}

// --- the grids ---------------------------------------------------------------

namespace {

struct TColumn {
    int Width;
    const char *Title;
};

void writeHeader(TStringGrid &grid, int row, const std::vector<TColumn> &columns,
                 const std::vector<std::string> &units)
{
    if (grid.ColCount() < static_cast<int>(columns.size()))
        grid.SetColCount(static_cast<int>(columns.size()));
    if (grid.RowCount() < row + 2)
        grid.SetRowCount(row + 2);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        grid.SetColWidth(static_cast<int>(c), columns[c].Width);
        grid.SetCell(static_cast<int>(c), row, columns[c].Title);
        grid.SetCell(static_cast<int>(c), row + 1, units[c]);
    }
}

std::string diameterText(double diameter_m, TUnit unit, int decimals)
{
    return formatFixed(decimals, convertUnit(unt_m, unit, diameter_m));
}

} // namespace

void TPumpDatabase::AddPumpRowHeaderToStringGrid(TStringGrid &TheStringGrid, const TNetwork &) const
{
    const std::string diameter = unitName(impellerDiameterUnit);
    writeHeader(TheStringGrid, 0,
                {{0, "Id"},
                 {160, "Filename"},
                 {95, "Pump Name"},
                 {40, "Speed"},
                 {50, "Imp. Diam."},
                 {60, "Flow"},
                 {60, "Head"},
                 {50, "Efficiency"},
                 {10, ""},
                 {80, "Pump Catalog"},
                 {80, "Manufacturer"},
                 {80, "Kind"},
                 {50, "Motor"},
                 {56, "Min Speed"},
                 {56, "Max Speed"},
                 {78, "Min Imp. Diam"},
                 {78, "Max Imp. Diam"}},
                {"", "", "", "Rpm", diameter, unitName(flowUnit), unitName(headUnit), "%", "", "", "", "", "Rpm",
                 "Rpm", "Rpm", diameter, diameter});
}

void TPumpDatabase::AddPumpToStringGrid(const TPump &ThePump, double TheFlow_kgs, double TheFluidDensity_kgs_m3,
                                        TStringGrid &TheStringGrid, const TNetwork &TheNetwork,
                                        int ThePumpIndexNumber, int TheRowNum) const
{
    if (TheStringGrid.ColCount() < 17)
        TheStringGrid.SetColCount(17);
    TheStringGrid.SetRowCount(TheRowNum + 1);
    const double flow_m3s = TheFlow_kgs / TheFluidDensity_kgs_m3;
    const TUnit diameterUnit = ThePump.ImpellerDiameterDisplayUnit;
    const double flow = convertFlowUnit(unt_kg_sec, flowUnit, std_15degC_101325Pa, TheFlow_kgs, TheFluidDensity_kgs_m3,
                                        0, 288.15, 1.01325);
    TheStringGrid.SetRow(
        TheRowNum,
        {std::to_string(ThePumpIndexNumber), Entry(ThePumpIndexNumber).Filename, ThePump.Name,
         std::to_string(ThePump.Speed_rpm), diameterText(ThePump.ImpellerDiameter_m, diameterUnit, 4),
         formatFixed(4, flow),
         convertPressureAndFormat(unt_m_hd_fluid, headUnit, ThePump.calcPumpHead_mHd_Fluid(flow_m3s, TheFluidDensity_kgs_m3),
                                  TheNetwork.ConfigOptions.Atmosphere_bar_a, TheFluidDensity_kgs_m3),
         formatFixed(2, ThePump.PumpEfficiencyCurve.CalculateY(TheFlow_kgs)), "", ThePump.PumpCatalog,
         ThePump.PumpManufacturer, ThePump.PumpTypeKind, std::to_string(ThePump.PumpMotorRpm),
         std::to_string(ThePump.PumpSpeedMinRpm), std::to_string(ThePump.PumpSpeedMaxRpm),
         diameterText(ThePump.PumpImpellerDiameterMin_m, diameterUnit, 4),
         diameterText(ThePump.PumpImpellerDiameterMax_m, diameterUnit, 4)});
}

void TPumpDatabase::PopulateStringGridPumpDataSelected(const TNetwork &, TStringGrid &TheStringGrid, int TheStartRow,
                                                       int &TheFinishRow) const
{
    const std::string diameter = unitName(impellerDiameterUnit);
    writeHeader(TheStringGrid, TheStartRow,
                {{0, "Id"},
                 {160, "Filename"},
                 {95, "Pump Name"},
                 {44, "Speed"},
                 {54, "Imp. Diam."},
                 {10, ""},
                 {80, "Pump Catalog"},
                 {80, "Manufacturer"},
                 {80, "Kind"},
                 {40, "Motor"},
                 {50, "Size"},
                 {50, "Stages"},
                 {50, "Min"},
                 {50, "Max"},
                 {70, "Min Imp. Diam"},
                 {70, "Max Imp. Diam"}},
                {"", "", "", "Rpm", diameter, "", "", "", "", "Rpm", "", "", "Rpm", "Rpm", diameter, diameter});
    TheFinishRow = TheStartRow + 1;
    for (int i = 1; i <= pumpCount; ++i) {
        const TPumpIndexItem &item = Entry(i);
        if (!item.Selected)
            continue;
        const TPump &p = item.Pump;
        ++TheFinishRow;
        TheStringGrid.SetRowCount(TheFinishRow + 1);
        TheStringGrid.SetRow(TheFinishRow,
                             {std::to_string(i), item.Filename, p.Name, std::to_string(p.Speed_rpm),
                              diameterText(p.ImpellerDiameter_m, impellerDiameterUnit, 4), "", p.PumpCatalog,
                              p.PumpManufacturer, p.PumpTypeKind, std::to_string(p.PumpMotorRpm), p.PumpSize,
                              std::to_string(p.PumpStages), std::to_string(p.PumpSpeedMinRpm),
                              std::to_string(p.PumpSpeedMaxRpm),
                              diameterText(p.PumpImpellerDiameterMin_m, impellerDiameterUnit, 3),
                              diameterText(p.PumpImpellerDiameterMax_m, impellerDiameterUnit, 3)});
    }
    TheStringGrid.SetRowCount(TheFinishRow + 1);
}

} // namespace tessaran
