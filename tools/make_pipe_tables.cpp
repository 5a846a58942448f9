// Writes the "PipeTables" folder: the default nominal-size table and one
// table per material and schedule.
//
// Sources of the values:
// - Carbon steel: ASME B36.10M, welded and seamless wrought steel pipe
//   (outside diameters and the walls of schedules 10 to 160, STD, XS, XXS).
// - Stainless steel: ASME B36.19M, stainless steel pipe (5S, 10S, 40S, 80S).
// - Copper tube: ASTM B88, seamless copper water tube, types K, L and M;
//   EN 1057, seamless round copper tubes for water and gas (the common
//   metric sizes).
// - PVC: ASTM D1785, PVC plastic pipe, schedules 40 and 80 (the steel pipe
//   outside diameters with the walls that standard lists).
// - Ductile iron: EN 545 outside diameters, class K9 walls
//   e = 9 (0.5 + 0.001 DN) mm and at least 6 mm.
// - Polyethylene: ISO 4427 outside diameters; wall = OD / SDR rounded up to
//   0.1 mm, at least 2.0 mm.
// - Roughness: commercial steel 0.045 mm and drawn tubing (copper, plastics)
//   0.0015 mm from the roughness table that accompanies the friction-factor
//   chart (Trans. ASME 66 (1944) 671); stainless steel 0.015 mm and cast
//   iron 0.26 mm from the same table; values in common handbook use.
// - Weight per metre: density x pi x (OD - wall) x wall, with densities
//   carbon steel 7850 kg/m3 (the factor 0.0246615 of B36.10M's plain-end
//   mass formula), austenitic stainless 7930, copper 8940, PVC 1400
//   (ASTM D1784 cell class 12454), ductile iron 7050 (EN 545) and PE100 955.

#include "Shipped_Data.h"
#include "Steel_Pipe_Dimensions.h"

#include "model/Pipe_Class.h"
#include "units/Units.h"

#include <cmath>
#include <string>
#include <vector>

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

constexpr double Inch_mm = 25.4;

struct Material {
    const char *Name;
    double Roughness_mm;
    double Density_kgm3;
};

const Material CarbonSteel{"Steel ANSI", 0.045, 7850};
const Material StainlessSteel{"Stainless Steel", 0.015, 7930};
const Material Copper{"Copper", 0.0015, 8940};
const Material Pvc{"PVC", 0.0015, 1400};
const Material DuctileIron{"Ductile Iron", 0.26, 7050};
const Material Polyethylene{"PE100", 0.0015, 955};

struct Row {
    int Dn;
    std::string Metric;
    std::string Imperial;
    double Od_mm;
    double Wall_mm;
};

std::string ImperialText(const char *nps) { return std::string(nps) + "\""; }
std::string MetricText(int dn) { return std::to_string(dn) + " mm"; }

void WriteRow(std::ostream &file, const Material &material, const std::string &schedule, const Row &row)
{
    TPipe pipe;
    pipe.Material = material.Name;
    pipe.ScheduleClass = schedule;
    pipe.InnerRoughness_m = material.Roughness_mm / 1000.0;
    pipe.NominalDiameterMetric = row.Dn;
    pipe.NominalDiameterMetricString = row.Metric;
    pipe.NominalDiameterImperialString = row.Imperial;
    pipe.OuterDiameter_m = row.Od_mm / 1000.0;
    pipe.WallThickness_m = row.Wall_mm / 1000.0;
    pipe.InnerDiameter_m = pipe.OuterDiameter_m - 2 * pipe.WallThickness_m;
    const double pi = std::acos(-1.0);
    pipe.WeightPerMetre_kg = material.Density_kgm3 * pi * (row.Od_mm - row.Wall_mm) * row.Wall_mm * 1e-6;
    pipe.SaveDiameterDataToText(file);
}

void WriteTable(const std::filesystem::path &path, const Material &material, const std::string &schedule,
                const std::vector<Row> &rows)
{
    std::ofstream file = OpenOutput(path);
    WriteTableHeader(file, "1.05");
    for (const Row &row : rows)
        WriteRow(file, material, schedule, row);
}

std::vector<Row> SteelRows(const SteelSchedule &schedule)
{
    std::vector<Row> rows;
    const auto &sizes = SteelPipeSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (schedule.Wall_in[i] > 0)
            rows.push_back({sizes[i].Dn, MetricText(sizes[i].Dn), ImperialText(sizes[i].Nps),
                            sizes[i].Od_in * Inch_mm, schedule.Wall_in[i] * Inch_mm});
    return rows;
}

// ASTM B88: nominal size, OD (in), walls of types K, L, M (in; 0 = none).
struct CopperTube {
    const char *Nominal;
    int Dn;
    double Od_in;
    double K, L, M;
};
const CopperTube CopperTubes[] = {
    {"1/4", 8, 0.375, 0.035, 0.030, 0},       {"3/8", 10, 0.500, 0.049, 0.035, 0.025},
    {"1/2", 15, 0.625, 0.049, 0.040, 0.028},  {"3/4", 20, 0.875, 0.065, 0.045, 0.032},
    {"1", 25, 1.125, 0.065, 0.050, 0.035},    {"1-1/4", 32, 1.375, 0.065, 0.055, 0.042},
    {"1-1/2", 40, 1.625, 0.072, 0.060, 0.049}, {"2", 50, 2.125, 0.083, 0.070, 0.058},
    {"2-1/2", 65, 2.625, 0.095, 0.080, 0.065}, {"3", 80, 3.125, 0.109, 0.090, 0.072},
    {"3-1/2", 90, 3.625, 0.120, 0.100, 0.083}, {"4", 100, 4.125, 0.134, 0.110, 0.095},
    {"5", 125, 5.125, 0.160, 0.125, 0.109},   {"6", 150, 6.125, 0.192, 0.140, 0.122},
    {"8", 200, 8.125, 0.271, 0.200, 0.170},   {"10", 250, 10.125, 0.338, 0.250, 0.212},
    {"12", 300, 12.125, 0.405, 0.280, 0.254},
};

std::vector<Row> CopperRows(double CopperTube::*type)
{
    std::vector<Row> rows;
    for (const CopperTube &tube : CopperTubes)
        if (tube.*type > 0)
            rows.push_back({tube.Dn, MetricText(tube.Dn), ImperialText(tube.Nominal), tube.Od_in * Inch_mm,
                            tube.*type * Inch_mm});
    return rows;
}

// EN 1057: outside diameter and wall, mm; the nominal size is the OD.
std::vector<Row> MetricCopperRows()
{
    const struct {
        double Od, Wall;
    } tubes[] = {{6, 1.0},  {8, 1.0},  {10, 1.0},  {12, 1.0},   {15, 1.0},   {18, 1.0},  {22, 1.0},
                 {28, 1.2}, {35, 1.5}, {42, 1.5},  {54, 2.0},   {76.1, 2.0}, {88.9, 2.0}, {108, 2.5}};
    std::vector<Row> rows;
    for (const auto &tube : tubes) {
        const int dn = static_cast<int>(std::lround(tube.Od));
        rows.push_back({dn, MetricText(dn), "-", tube.Od, tube.Wall});
    }
    return rows;
}

// ASTM D1785 walls (in) over the steel pipe sizes 1/8 to 24; 0 = none.
std::vector<Row> PvcRows(const std::vector<double> &wall_in)
{
    std::vector<Row> rows;
    const auto &sizes = SteelPipeSizes();
    for (std::size_t i = 0; i < wall_in.size(); ++i)
        if (wall_in[i] > 0)
            rows.push_back({sizes[i].Dn, MetricText(sizes[i].Dn), ImperialText(sizes[i].Nps),
                            sizes[i].Od_in * Inch_mm, wall_in[i] * Inch_mm});
    return rows;
}

std::vector<Row> DuctileIronRows()
{
    const struct {
        int Dn;
        double Od;
    } pipes[] = {{80, 98},   {100, 118}, {125, 144}, {150, 170}, {200, 222}, {250, 274},
                 {300, 326}, {350, 378}, {400, 429}, {450, 480}, {500, 532}, {600, 635},
                 {700, 738}, {800, 842}, {900, 945}, {1000, 1048}};
    std::vector<Row> rows;
    for (const auto &pipe : pipes) {
        const double wall = std::max(6.0, RoundTo(9 * (0.5 + 0.001 * pipe.Dn), 1));
        rows.push_back({pipe.Dn, MetricText(pipe.Dn), "-", pipe.Od, wall});
    }
    return rows;
}

std::vector<Row> PolyethyleneRows(int sdr)
{
    const int outsideDiameters[] = {20,  25,  32,  40,  50,  63,  75,  90,  110, 125, 140, 160, 180, 200, 225,
                                    250, 280, 315, 355, 400, 450, 500, 560, 630, 710, 800, 900, 1000, 1200};
    std::vector<Row> rows;
    for (int od : outsideDiameters) {
        // Rounded up to 0.1 mm; the small epsilon keeps exact tenths exact.
        const double wall = std::max(2.0, std::ceil(od * 10.0 / sdr - 1e-9) / 10.0);
        rows.push_back({od, MetricText(od), "-", static_cast<double>(od), wall});
    }
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path folder = FreshFolder(DataFolderArgument(argc, argv), "PipeTables");

    // The default table lists the nominal sizes the pipe dialogs offer: the
    // standard-weight steel pipe of every size.
    const SteelSchedule &standardWeight = CarbonSteelSchedules()[10];
    WriteTable(folder / "Default_Nominal_Sizes.trpin", CarbonSteel, standardWeight.Name, SteelRows(standardWeight));

    for (const SteelSchedule &schedule : CarbonSteelSchedules())
        WriteTable(folder / (std::string(schedule.FileName) + ".trpi"), CarbonSteel, schedule.Name,
                   SteelRows(schedule));
    for (const SteelSchedule &schedule : StainlessSteelSchedules())
        WriteTable(folder / (std::string(schedule.FileName) + ".trpi"), StainlessSteel, schedule.Name,
                   SteelRows(schedule));

    WriteTable(folder / "Copper_Type_K.trpi", Copper, "Type K", CopperRows(&CopperTube::K));
    WriteTable(folder / "Copper_Type_L.trpi", Copper, "Type L", CopperRows(&CopperTube::L));
    WriteTable(folder / "Copper_Type_M.trpi", Copper, "Type M", CopperRows(&CopperTube::M));
    WriteTable(folder / "Copper_EN1057.trpi", Copper, "EN 1057", MetricCopperRows());

    //                      1/8    1/4    3/8    1/2    3/4    1      1-1/4  1-1/2  2      2-1/2  3      3-1/2
    //                      4      5      6      8      10     12     14     16     18     20     22     24
    WriteTable(folder / "PVC_Sch40.trpi", Pvc, "Sch 40",
               PvcRows({0.068, 0.088, 0.091, 0.109, 0.113, 0.133, 0.140, 0.145, 0.154, 0.203, 0.216, 0.226,
                        0.237, 0.258, 0.280, 0.322, 0.365, 0.406, 0.437, 0.500, 0.562, 0.593, 0, 0.687}));
    WriteTable(folder / "PVC_Sch80.trpi", Pvc, "Sch 80",
               PvcRows({0.095, 0.119, 0.126, 0.147, 0.154, 0.179, 0.191, 0.200, 0.218, 0.276, 0.300, 0.318,
                        0.337, 0.375, 0.432, 0.500, 0.593, 0.687, 0.750, 0.843, 0.937, 1.031, 0, 1.218}));

    WriteTable(folder / "Ductile_Iron_K9.trpi", DuctileIron, "K9", DuctileIronRows());

    for (int sdr : {11, 17, 26})
        WriteTable(folder / ("PE100_SDR" + std::to_string(sdr) + ".trpi"), Polyethylene,
                   "SDR " + std::to_string(sdr), PolyethyleneRows(sdr));
    return 0;
}
