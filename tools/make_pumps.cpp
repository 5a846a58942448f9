// Writes the "Pumps" folder: a small library of made-up generic pumps in
// three sub-folders, each file written by the program's own pump file
// writer. The curves and their sources are described in Generic_Pumps.h.

#include "Generic_Pumps.h"
#include "Shipped_Data.h"

#include "platform/Stream.h"

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

constexpr double Water_kgm3 = 998.2;

void WritePump(const std::filesystem::path &folder, const std::string &fileName, TPump &pump)
{
    TMemoryStream stream;
    pump.Save(stream, PumpCurrentFileVersion, Water_kgm3, true);
    std::ofstream file = OpenOutput(folder / (fileName + ".trpm"));
    file.write(reinterpret_cast<const char *>(stream.Bytes().data()),
               static_cast<std::streamsize>(stream.Bytes().size()));
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path pumps = FreshFolder(DataFolderArgument(argc, argv), "Pumps");
    const GenericPumpSize endSuction[] = {{32, 160}, {40, 200}, {50, 160}, {50, 250},
                                          {65, 200}, {80, 250}, {100, 200}, {125, 250}};
    TPump pump;
    for (int speed : {1450, 2900}) {
        const std::string folderName = "End Suction " + std::to_string(speed) + " rpm";
        std::filesystem::create_directories(pumps / folderName);
        for (const GenericPumpSize &size : endSuction) {
            const std::string sizeText = std::to_string(size.DischargeDn_mm) + "-" + std::to_string(size.Impeller_mm);
            MakeGenericPump(pump, "ES " + sizeText + " " + std::to_string(speed), "End suction", size, speed, 1,
                            Water_kgm3);
            WritePump(pumps / folderName, "ES_" + sizeText + "_" + std::to_string(speed), pump);
        }
    }
    const std::string multistage = "Multistage 2900 rpm";
    std::filesystem::create_directories(pumps / multistage);
    for (int stages : {2, 4, 6, 8}) {
        MakeGenericPump(pump, "MS 40-140 x" + std::to_string(stages), "Multistage", {40, 140}, 2900, stages,
                        Water_kgm3);
        WritePump(pumps / multistage, "MS_40-140_x" + std::to_string(stages), pump);
    }
    return 0;
}
