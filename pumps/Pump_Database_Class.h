#pragma once
// The in-memory index of one top folder of the pump library. The main
// window makes the one instance at start-up and hands it to the pump
// dialogs, which fill it from the folders when they open.

#include "model/Pump_Class.h"
#include "units/Units.h"

#include <string>
#include <vector>

namespace tessaran {

struct TPumpIndexItem {
    std::string RelativeFilePath;
    std::string FolderName;
    std::string Filename;
    bool Selected = false;
    TPump Pump;
};

enum TFlowPreference { FlowNoPreference, FlowLeftOfBEP, FlowRightOfBEP };

class TPumpDatabase {
public:
    static constexpr int MaxPumps = 1000;

    TPumpDatabase();

    TPumpIndexItem &Item(int index) { return pumpIndex.at(static_cast<std::size_t>(index)); }

    std::string folderPath;
    std::string topFolderName;
    std::vector<TPumpIndexItem> pumpIndex; // 1-based: entries 1 to MaxPumps
    int pumpCount = 0;
    TUnit flowUnit = unt_kg_sec;
    TUnit headUnit = unt_m_hd_fluid;
    TUnit impellerDiameterUnit = unt_m;
};

} // namespace tessaran
