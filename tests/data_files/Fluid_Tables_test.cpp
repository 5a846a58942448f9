// The fluid and gas property tables have no loader in the program's core:
// they are read here by a reader written from their field tables.
#include "Shipped_Data_Folder.h"

#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <map>
#include <optional>

namespace tessaran::test {
namespace {

std::vector<std::string> Fields(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at; (at = line.find("~|~", start)) != std::string::npos; start = at + 3)
        fields.push_back(line.substr(start, at - start));
    fields.push_back(line.substr(start));
    return fields;
}

// A number as the tables must hold it: digits, one "." and a leading "-"
// only, so that readers without exponents and with either decimal
// separator take it.
std::optional<double> Number(const std::string &text)
{
    if (text.empty() || text.find_first_not_of("-0123456789.") != std::string::npos ||
        text.find('-', 1) != std::string::npos || text.find('.') != text.rfind('.'))
        return std::nullopt;
    return std::stod(text); // the fixtures read under the "C" numeric locale
}

struct TableFile {
    std::string Header;
    std::vector<std::vector<std::string>> Rows;
};

TableFile ReadTable(const std::filesystem::path &path)
{
    std::ifstream file = OpenShipped(path);
    TableFile table;
    table.Header = ReadTextLine(file);
    while (HasAnotherTextLine(file))
        table.Rows.push_back(Fields(ReadTextLine(file)));
    return table;
}

double Parse(const std::string &text)
{
    const std::optional<double> value = Number(text);
    EXPECT_TRUE(value.has_value()) << '"' << text << '"';
    return value.value_or(NAN);
}

struct FluidEntry {
    std::string Name, Formula;
    double Temperature_K, Pressure_barg, Density, Centipoise, Fifth;
    bool Gas;
};

std::vector<FluidEntry> ReadFluidFile(const std::string &name)
{
    const TableFile table = ReadTable(ShippedDataFolder() / "FluidTables" / name);
    EXPECT_EQ(table.Header, "1.03~|~~|~");
    std::vector<FluidEntry> entries;
    for (const auto &f : table.Rows) {
        EXPECT_EQ(f.size(), 8u);
        if (f.size() != 8)
            continue;
        EXPECT_LE(f[0].size(), 80u);
        EXPECT_LE(f[1].size(), 30u);
        EXPECT_TRUE(f[7] == "0" || f[7] == "1");
        entries.push_back({f[0], f[1], Parse(f[2]), Parse(f[3]), Parse(f[4]), Parse(f[5]), Parse(f[6]), f[7] == "1"});
    }
    return entries;
}

class DecimalPointLocale : public ::testing::Test {
protected:
    // std::stod follows the C locale, which the test main sets from the
    // environment; the tables are read with "." whatever it is.
    void SetUp() override { saved = std::setlocale(LC_NUMERIC, nullptr); std::setlocale(LC_NUMERIC, "C"); }
    void TearDown() override { std::setlocale(LC_NUMERIC, saved.c_str()); }
    std::string saved;
};

using ShippedLiquids = DecimalPointLocale;
using ShippedGases = DecimalPointLocale;
using ShippedGasPropertyTables = DecimalPointLocale;

TEST_F(ShippedLiquids, AreLiquidsWithPlausibleProperties)
{
    const auto liquids = ReadFluidFile("trn_Liquids.trli");
    ASSERT_GE(liquids.size(), 20u);
    for (const FluidEntry &l : liquids) {
        EXPECT_FALSE(l.Gas) << l.Name;
        EXPECT_GT(l.Temperature_K, 250.0) << l.Name;
        EXPECT_EQ(l.Pressure_barg, 0.0) << l.Name;
        EXPECT_GT(l.Density, 600.0) << l.Name;
        EXPECT_LT(l.Density, 1100.0) << l.Name;
        EXPECT_GT(l.Centipoise, 0.2) << l.Name;
        EXPECT_GE(l.Fifth, 0.0) << l.Name << " vapour pressure, kPa";
    }
}

TEST_F(ShippedLiquids, WaterAtTwentyDegreesMatchesItsMeasuredProperties)
{
    // 998.2 kg/m3 and 1.002 mPa s at 20 deg C and 1 atm, 2.339 kPa vapour
    // pressure (steam tables).
    for (const FluidEntry &l : ReadFluidFile("trn_Liquids.trli"))
        if (l.Name == "Water" && std::fabs(l.Temperature_K - 293.15) < 1e-9) {
            EXPECT_NEAR(l.Density, 998.2, 0.05);
            EXPECT_NEAR(l.Centipoise, 1.002, 0.0005);
            EXPECT_NEAR(l.Fifth, 2.339, 0.001);
            return;
        }
    ADD_FAILURE() << "no water at 20 deg C";
}

TEST_F(ShippedGases, AreGasesAtAtmosphericPressureWithTheirIdealDensity)
{
    const std::map<std::string, double> molarMass = {{"Air", 28.965}, {"Nitrogen", 28.014}, {"Methane", 16.043},
                                                     {"Hydrogen", 2.016}, {"Carbon dioxide", 44.010}};
    const auto gases = ReadFluidFile("trn_Gases.trga");
    ASSERT_GE(gases.size(), 11u);
    for (const FluidEntry &g : gases) {
        EXPECT_TRUE(g.Gas) << g.Name;
        EXPECT_GT(g.Fifth, 1.0) << g.Name << " specific heat ratio";
        EXPECT_LT(g.Fifth, 1.7) << g.Name;
        EXPECT_GT(g.Centipoise, 0.0) << g.Name;
        EXPECT_LT(g.Centipoise, 0.03) << g.Name;
        auto m = molarMass.find(g.Name);
        if (m != molarMass.end())
            EXPECT_NEAR(g.Density, 101325 * m->second / 1000 / (8.314462618 * g.Temperature_K), 0.0011) << g.Name;
    }
}

// One gas property table, read as the gas data calculator reads it.
struct GasTable {
    std::vector<std::string> Header;
    std::vector<std::array<double, 6>> Rows;

    const std::array<double, 6> *At(double t_C, double p_barg) const
    {
        const std::array<double, 6> *found = nullptr;
        for (const auto &row : Rows)
            if (row[0] == t_C && row[1] == p_barg)
                found = &row;
        return found;
    }
};

GasTable ReadGasTable(const std::filesystem::path &path)
{
    const TableFile file = ReadTable(path);
    GasTable table;
    table.Header = Fields(file.Header);
    for (const auto &f : file.Rows) {
        EXPECT_TRUE(f.size() == 6 || (f.size() == 7 && f[6].empty())) << path;
        if (f.size() < 6)
            continue;
        std::array<double, 6> row{};
        for (int i = 0; i < 6; ++i)
            row[static_cast<std::size_t>(i)] = Parse(f[static_cast<std::size_t>(i)]);
        table.Rows.push_back(row);
    }
    return table;
}

TEST_F(ShippedGasPropertyTables, EveryTableIsReadableByTheCalculator)
{
    const auto files = ShippedFiles("FluidTables", ".trzgp");
    ASSERT_GE(files.size(), 11u);
    for (const auto &path : files) {
        SCOPED_TRACE(path.filename().string());
        const GasTable table = ReadGasTable(path);
        // Three header fields, each followed by the separator.
        ASSERT_EQ(table.Header.size(), 4u);
        EXPECT_FALSE(table.Header[1].empty());
        EXPECT_TRUE(table.Header[3].empty());
        EXPECT_GT(table.Rows.size(), 50u);
        EXPECT_LE(table.Rows.size(), 5000u);
        const auto *reference = table.At(0, 0);
        ASSERT_NE(reference, nullptr) << "the 0 deg C, 0 bar g density reference";
        for (const auto &row : table.Rows) {
            EXPECT_GE(row[3], 0.6) << "Z at " << row[0] << " deg C, " << row[1] << " bar g";
            EXPECT_GT(row[4], 0.0) << "viscosity";
            EXPECT_GT(row[5], 1.0) << "specific heat ratio";
            // The density column is the ideal-gas density the calculator
            // moves from the reference row.
            const double moved = (*reference)[2] * (row[1] + 1.01325) / 1.01325 * 273.15 / (row[0] + 273.15);
            EXPECT_NEAR(row[2], moved, 1e-5 * moved + 2e-6);
        }
    }
}

TEST_F(ShippedGasPropertyTables, CompressibilityAgreesWithPublishedValues)
{
    struct Case {
        const char *File;
        double T_C, P_barg, Z, Tolerance;
    } cases[] = {
        // Compression factors at 0 deg C and 101.325 kPa of ISO 6976.
        {"Methane.trzgp", 0, 0, 0.9976, 0.002},
        {"Carbon_Dioxide.trzgp", 0, 0, 0.9933, 0.002},
        {"Nitrogen.trzgp", 0, 0, 0.9995, 0.002},
        {"Air.trzgp", 0, 0, 0.9994, 0.002},
        // Nitrogen at 0 deg C and about 100 atm, from its measured second
        // and third virial coefficients; a cubic equation of state comes
        // within a few percent there.
        {"Nitrogen.trzgp", 0, 100, 0.984, 0.025},
        // Methane at 20 deg C and 70 bar g, from the generalised
        // compressibility chart (Tr 1.54, Pr 1.54).
        {"Methane.trzgp", 20, 70, 0.87, 0.025},
    };
    for (const Case &c : cases) {
        const GasTable table = ReadGasTable(ShippedDataFolder() / "FluidTables" / c.File);
        const auto *row = table.At(c.T_C, c.P_barg);
        ASSERT_NE(row, nullptr) << c.File;
        EXPECT_NEAR((*row)[3], c.Z, c.Tolerance) << c.File << " " << c.T_C << " " << c.P_barg;
    }
}

TEST_F(ShippedGasPropertyTables, CondensingGasesStopBelowTheirVapourPressure)
{
    // Propane's vapour pressure at 20 deg C is 8.4 bar a, butane's 2.1 bar a.
    for (auto [file, highestGauge] : {std::pair{"Propane.trzgp", 7.4}, {"Butane.trzgp", 1.1}}) {
        const GasTable table = ReadGasTable(ShippedDataFolder() / "FluidTables" / file);
        double highest = -1;
        for (const auto &row : table.Rows)
            if (row[0] == 20)
                highest = std::max(highest, row[1]);
        EXPECT_GT(highest, 0.0) << file;
        EXPECT_LT(highest, highestGauge) << file;
    }
}

} // namespace
} // namespace tessaran::test
