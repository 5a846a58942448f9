#pragma once
// The in-memory index of one top folder of the pump library ("Pumps" beside
// the program, one folder per library, pump files at three levels) and the
// three duty-point searches over it. The index lives only in memory and is
// rebuilt from the folders whenever the library is opened or searched.

#include "model/Pump_Class.h"
#include "network/User_Interface_Seam.h"
#include "units/Units.h"

#include <memory>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace tessaran {

class TNetwork;

inline constexpr int MaxPumpDatabasePumps = 1000;

// Tree nodes: the image index (0 folder, 1 pump) and a pump node's path.
inline constexpr int PumpTreeImageRole = 0x0100 + 1;
inline constexpr int PumpTreePathRole = 0x0100 + 2;

struct TPumpIndexItem {
    std::string RelativeFilePath; // "/Top/Sub/Name.trpm", from the library root
    std::string FolderName;       // the folder holding the file
    std::string Filename;         // with its extension
    bool Selected = false;        // on the browse mode's filtered list
    TPump Pump;                   // curves fitted, no curve image kept
};

enum TFlowPreference { FlowNoPreference, FlowLeftOfBEP, FlowRightOfBEP };

class TPumpDatabase {
public:
    TPumpDatabase();

    std::string folderPath;    // the indexed top folder
    std::string topFolderName; // its last component
    // Entries 1..pumpCount are in use; the pumps are made once and reused.
    std::vector<std::unique_ptr<TPumpIndexItem>> pumpIndex;
    int pumpCount = 0;
    TUnit flowUnit = unt_kg_sec;
    TUnit headUnit = unt_m_hd_fluid;
    TUnit impellerDiameterUnit = unt_m;

    // 1-based, as the grids' hidden id column counts.
    TPumpIndexItem &Entry(int number) { return *pumpIndex.at(static_cast<std::size_t>(number - 1)); }
    const TPumpIndexItem &Entry(int number) const { return *pumpIndex.at(static_cast<std::size_t>(number - 1)); }

    void IndexClear();
    void IndexUnSelectAll();
    // Indexes a top folder: its sub-folders' pumps (each followed by its own
    // sub-folders'), then its own. A file that cannot be read is skipped and
    // named in ErrorString (ErrorCode 1); the rest is indexed. At the limit
    // MessageString says so.
    void IndexBuild(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3, int &ErrorCode,
                    std::string &ErrorString, std::string &MessageString);
    void IndexAddPumpsFromFolder(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3);
    void IndexAddPumpsFromFolderSubFolders(const std::string &TheFolderPath, double TheFluidDensity_kgs_m3);
    // Raises EPumpDatabase when the file cannot be read.
    void IndexAddPump(const std::string &TheFolderPath, const std::string &ThePumpFilename,
                      double TheFluidDensity_kgs_m3);

    // The path below the library root (the indexed top folder's parent).
    std::string RelativePathFromPumpFolder(const std::string &TheFilePath) const;
    std::string GetFullPathFromRelativePath(const std::string &TheRelativePath) const;

    void IndexFindMatchingPumpsFastestSpeedAddToStringGrid(double TheFlow_kgs, TUnit TheFlowUnit, double TheHead_mHd,
                                                           TUnit TheHeadUnit, TUnit TheImpellerDiameterUnit,
                                                           int TheSpeedMinRpm, int TheSpeedMaxRpm,
                                                           double TheFluidDensity_kgs_m3,
                                                           TFlowPreference TheFlowPreference,
                                                           double TheAllowedPercentHeadMiss, const TNetwork &TheNetwork,
                                                           TStringGrid &TheStringGrid, int &StartRowNum);
    void IndexFindMatchingPumpsLargestDiameterAddToStringGrid(double TheFlow_kgs, TUnit TheFlowUnit,
                                                              double TheHead_mHd, TUnit TheHeadUnit,
                                                              TUnit TheImpellerDiameterUnit, int TheSpeedMinRpm,
                                                              int TheSpeedMaxRpm, double TheFluidDensity_kgs_m3,
                                                              TFlowPreference TheFlowPreference,
                                                              double TheAllowedPercentHeadMiss,
                                                              const TNetwork &TheNetwork, TStringGrid &TheStringGrid,
                                                              int &StartRowNum);
    void IndexFindMatchingPumpsBestEfficiencyAddToStringGrid(double TheFlow_kgs, TUnit TheFlowUnit,
                                                             double TheHead_mHd, TUnit TheHeadUnit,
                                                             TUnit TheImpellerDiameterUnit, int TheSpeedMinRpm,
                                                             int TheSpeedMaxRpm, double TheFluidDensity_kgs_m3,
                                                             TFlowPreference TheFlowPreference,
                                                             double TheAllowedPercentHeadMiss,
                                                             const TNetwork &TheNetwork, TStringGrid &TheStringGrid,
                                                             int &StartRowNum);

    void AddPumpRowHeaderToStringGrid(TStringGrid &TheStringGrid, const TNetwork &TheNetwork) const;
    void AddPumpToStringGrid(const TPump &ThePump, double TheFlow_kgs, double TheFluidDensity_kgs_m3,
                             TStringGrid &TheStringGrid, const TNetwork &TheNetwork, int ThePumpIndexNumber,
                             int TheRowNum) const;
    void PopulateStringGridPumpDataSelected(const TNetwork &TheNetwork, TStringGrid &TheStringGrid, int TheStartRow,
                                            int &TheFinishRow) const;

    // The library dialog's browse tree: top folder, then up to two folder
    // levels, then the pump files; a pump node's data (PumpTreePathRole)
    // is its entry's RelativeFilePath.
    void TreeViewBuildFromIndex(QTreeWidget &TheTreeView) const;
    // The child of TheTreeNode named NodeText (the last one when several),
    // added when there is none.
    static void AddTreeNodeIfNotExists(QTreeWidget &TheTreeView, QTreeWidgetItem &TheTreeNode,
                                       const std::string &NodeText, QTreeWidgetItem *&SubNode);
    // The add-to-library dialog's tree, read from the disk: the root, its
    // top folders and the pump files directly in them.
    static void TreeViewBuildFoldersBasedOnFileSystem(QTreeWidget &TheTreeView, const std::string &FromFolderPath);
    static void TreeViewAddPumpsFromFolderBasedOnFileSystem(QTreeWidget &TheTreeView, QTreeWidgetItem &TheTreeNode,
                                                            const std::string &TheFolderPath);
    static void TStringsBuildTopLevelFoldersBasedOnFileSystem(std::vector<std::string> &TheTStrings,
                                                              const std::string &FromFolderPath);

    // The root's sub-folders by name, hidden ones (leading ".") included.
    static std::vector<std::string> TopLevelFolders(const std::string &FromFolderPath);
    // Sorted by name: the sub-folders of a folder (not hidden) and its pump files.
    static std::vector<std::string> SubFolders(const std::string &TheFolderPath);
    static std::vector<std::string> PumpFiles(const std::string &TheFolderPath);

private:
    enum class TSearch { FastestSpeed, LargestDiameter, BestEfficiency };
    void findMatchingPumps(TSearch search, double flow_kgs, TUnit flowUnit, double head_mHd, TUnit headUnit,
                           TUnit diameterUnit, int speedMinRpm, int speedMaxRpm, double density,
                           TFlowPreference preference, double allowedPercentHeadMiss, const TNetwork &network,
                           TStringGrid &grid, int &row);
    std::vector<std::string> failures_;
};

class EPumpDatabase : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tessaran
