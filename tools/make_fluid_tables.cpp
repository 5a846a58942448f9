// Writes the "FluidTables" folder: the standard liquids ("trn_Liquids.trli"),
// the standard gases ("trn_Gases.trga") and one gas property table
// (".trzgp") per gas.
//
// Sources of the values:
// - Water: IAPWS-95 density and vapour pressure and the IAPWS 2008
//   viscosity formulation, as tabulated in the releases of the International
//   Association for the Properties of Water and Steam.
// - Sea water (salinity 35 g/kg): the correlations of Desalination and
//   Water Treatment 16 (2010) 354-380 (density after TEOS-10, viscosity,
//   vapour pressure lowering).
// - Glycol solutions: the glycol solution tables of the ASHRAE Handbook,
//   Fundamentals (given by volume, read at 20 deg C for the mass fractions
//   named); vapour pressure as water's vapour pressure times its mole
//   fraction (ideal solution).
// - Solvents: CRC Handbook of Chemistry and Physics, tables of density,
//   viscosity and vapour pressure of liquids at 25 deg C.
// - Fuels: mid-range values of the density and viscosity limits of EN 228
//   (petrol), EN 590 (diesel) and ASTM D1655 (kerosene type jet fuel).
// - Oils: ISO 3448 viscosity grades (mid-point kinematic viscosity at
//   40 deg C) with a typical mineral-oil density.
// - Gases: critical constants, acentric factors and ideal-gas heat capacity
//   polynomials of the appendix of "The Properties of Gases and Liquids"
//   (4th edition, 1987); Lennard-Jones parameters of NASA Technical Report
//   R-132 (1962). Compressibility Z from the cubic equation of state of
//   Ind. Eng. Chem. Fundam. 15 (1976) 59-64 with one-fluid mixing rules;
//   dilute-gas viscosity from kinetic theory with the collision integral fit
//   of J. Chem. Phys. 57 (1972) 1100, mixed by the square root of the molar
//   mass (Gas- und Wasserfach 79 (1936) 49); the dense-gas rise from the
//   residual viscosity correlation of AIChE J. 8 (1962) 59 on
//   pseudo-critical constants; specific heat ratio of the ideal gas.
// - Air: dry air of the ISO 2533 standard atmosphere composition. Natural
//   gas: a typical pipeline composition given below.

#include "Shipped_Data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

constexpr double R = 8.314462618;      // J/(mol K)
constexpr double Atmosphere_bar = 1.01325;
constexpr double ZeroCelsius_K = 273.15;

// ---------------------------------------------------------------- liquids

struct Liquid {
    const char *Name;
    const char *Formula;
    double Temperature_C;
    double Density_kgm3;
    double Viscosity_cP;
    double VapourPressure_kPa;
};

const Liquid Liquids[] = {
    {"Water", "H2O", 0.01, 999.84, 1.7914, 0.6117},
    {"Water", "H2O", 5, 999.97, 1.5182, 0.8726},
    {"Water", "H2O", 10, 999.70, 1.3059, 1.2282},
    {"Water", "H2O", 15, 999.10, 1.1375, 1.7058},
    {"Water", "H2O", 20, 998.207, 1.0016, 2.3393},
    {"Water", "H2O", 25, 997.05, 0.8900, 3.1699},
    {"Water", "H2O", 30, 995.65, 0.7972, 4.2470},
    {"Water", "H2O", 40, 992.22, 0.6527, 7.3849},
    {"Water", "H2O", 50, 988.03, 0.5465, 12.352},
    {"Water", "H2O", 60, 983.20, 0.4660, 19.946},
    {"Water", "H2O", 70, 977.76, 0.4035, 31.201},
    {"Water", "H2O", 80, 971.79, 0.3540, 47.414},
    {"Water", "H2O", 90, 965.31, 0.3142, 70.182},
    {"Water", "H2O", 100, 958.35, 0.2816, 101.42},
    {"Sea water (35 g/kg)", "H2O + salts", 10, 1026.95, 1.39, 1.21},
    {"Sea water (35 g/kg)", "H2O + salts", 20, 1024.76, 1.08, 2.30},
    {"Ethylene glycol 30% (mass)", "C2H6O2 + H2O", 20, 1043.0, 2.20, 2.08},
    {"Ethylene glycol 50% (mass)", "C2H6O2 + H2O", 20, 1071.0, 3.80, 1.81},
    {"Propylene glycol 30% (mass)", "C3H8O2 + H2O", 20, 1026.0, 2.70, 2.12},
    {"Propylene glycol 50% (mass)", "C3H8O2 + H2O", 20, 1041.0, 6.00, 1.91},
    {"Petrol (gasoline)", "C4-C12", 15, 745.0, 0.55, 60.0},
    {"Diesel fuel", "C10-C22", 15, 835.0, 3.30, 0.05},
    {"Kerosene (jet fuel)", "C9-C16", 15, 800.0, 1.30, 0.70},
    {"Mineral oil ISO VG 32", "-", 40, 846.0, 27.07, 0.001},
    {"Mineral oil ISO VG 46", "-", 40, 856.0, 39.38, 0.001},
    {"Mineral oil ISO VG 68", "-", 40, 866.0, 58.89, 0.001},
    {"Methanol", "CH4O", 25, 786.6, 0.544, 16.9},
    {"Ethanol", "C2H6O", 25, 784.9, 1.074, 7.87},
    {"Isopropanol", "C3H8O", 25, 780.9, 2.038, 6.05},
    {"Acetone", "C3H6O", 25, 784.5, 0.306, 30.8},
    {"Benzene", "C6H6", 25, 873.6, 0.604, 12.7},
    {"Toluene", "C7H8", 25, 862.3, 0.560, 3.79},
    {"n-Hexane", "C6H14", 25, 654.8, 0.300, 20.2},
};

// ----------------------------------------------------------------- gases

struct Component {
    double M;               // g/mol
    double Tc_K, Pc_bar;
    double Vc_cm3mol;
    double Omega;           // acentric factor
    double Sigma_A, EpsilonK_K;
    std::array<double, 4> Cp; // ideal-gas cp = a + bT + cT^2 + dT^3, J/(mol K)
};

enum ComponentId { N2, O2, Ar, CO2, CH4, C2H6, C3H8, NC4H10, H2, He };

const Component Components[] = {
    /* N2     */ {28.014, 126.2, 33.9, 89.8, 0.039, 3.798, 71.4, {31.15, -1.357e-2, 2.680e-5, -1.168e-8}},
    /* O2     */ {31.999, 154.6, 50.4, 73.4, 0.025, 3.467, 106.7, {28.11, -3.680e-6, 1.746e-5, -1.065e-8}},
    /* Ar     */ {39.948, 150.8, 48.7, 74.9, 0.001, 3.542, 93.3, {20.786, 0, 0, 0}},
    /* CO2    */ {44.010, 304.1, 73.8, 93.9, 0.239, 3.941, 195.2, {19.80, 7.344e-2, -5.602e-5, 1.715e-8}},
    /* CH4    */ {16.043, 190.4, 46.00, 99.2, 0.011, 3.758, 148.6, {19.25, 5.213e-2, 1.197e-5, -1.132e-8}},
    /* C2H6   */ {30.070, 305.4, 48.80, 148.3, 0.099, 4.443, 215.7, {5.409, 1.781e-1, -6.938e-5, 8.713e-9}},
    /* C3H8   */ {44.097, 369.8, 42.5, 203.0, 0.153, 5.118, 237.1, {-4.224, 3.063e-1, -1.586e-4, 3.215e-8}},
    /* nC4H10 */ {58.123, 425.2, 38.0, 255.0, 0.199, 4.687, 531.4, {9.487, 3.313e-1, -1.108e-4, -2.822e-9}},
    /* H2     */ {2.016, 33.2, 13.00, 65.1, -0.218, 2.827, 59.7, {27.14, 9.274e-3, -1.381e-5, 7.645e-9}},
    /* He     */ {4.003, 5.19, 2.27, 57.4, -0.365, 2.551, 10.22, {20.786, 0, 0, 0}},
};

struct Gas {
    const char *Name;
    const char *Formula;
    const char *FileName;
    std::vector<std::pair<ComponentId, double>> MoleFractions;
};

const Gas Gases[] = {
    {"Air", "N2 + O2", "Air", {{N2, 0.78084}, {O2, 0.20946}, {Ar, 0.00934}, {CO2, 0.00036}}},
    {"Nitrogen", "N2", "Nitrogen", {{N2, 1}}},
    {"Oxygen", "O2", "Oxygen", {{O2, 1}}},
    {"Carbon dioxide", "CO2", "Carbon_Dioxide", {{CO2, 1}}},
    {"Methane", "CH4", "Methane", {{CH4, 1}}},
    {"Natural gas", "CH4 + C2H6", "Natural_Gas",
     {{CH4, 0.90}, {C2H6, 0.05}, {C3H8, 0.015}, {NC4H10, 0.005}, {N2, 0.02}, {CO2, 0.01}}},
    {"Propane", "C3H8", "Propane", {{C3H8, 1}}},
    {"Butane", "C4H10", "Butane", {{NC4H10, 1}}},
    {"Hydrogen", "H2", "Hydrogen", {{H2, 1}}},
    {"Helium", "He", "Helium", {{He, 1}}},
    {"Argon", "Ar", "Argon", {{Ar, 1}}},
};

double MolarMass(const Gas &gas)
{
    double m = 0;
    for (auto [id, x] : gas.MoleFractions)
        m += x * Components[id].M;
    return m;
}

double IdealDensity(const Gas &gas, double t_C, double p_barg)
{
    return (p_barg + Atmosphere_bar) * 1e5 * MolarMass(gas) / 1000 / (R * (t_C + ZeroCelsius_K));
}

// The cubic's real roots in Z, ascending.
std::vector<double> CubicRoots(double c2, double c1, double c0)
{
    // Z^3 + c2 Z^2 + c1 Z + c0 = 0
    const double q = (3 * c1 - c2 * c2) / 9;
    const double r = (9 * c2 * c1 - 27 * c0 - 2 * c2 * c2 * c2) / 54;
    const double d = q * q * q + r * r;
    std::vector<double> roots;
    if (d > 0) {
        const double s = std::cbrt(r + std::sqrt(d));
        const double t = std::cbrt(r - std::sqrt(d));
        roots.push_back(s + t - c2 / 3);
    } else {
        const double theta = std::acos(r / std::sqrt(-q * q * q));
        const double pi = std::acos(-1.0);
        for (int k = 0; k < 3; ++k)
            roots.push_back(2 * std::sqrt(-q) * std::cos((theta + 2 * k * pi) / 3) - c2 / 3);
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

struct Cubic {
    double A, B;
    std::vector<double> Roots; // real roots above B, ascending

    double LnPhi(double z) const
    {
        const double sqrt2 = std::sqrt(2.0);
        return z - 1 - std::log(z - B) -
               A / (2 * sqrt2 * B) * std::log((z + (1 + sqrt2) * B) / (z + (1 - sqrt2) * B));
    }
};

Cubic SolveCubic(const Gas &gas, double T, double p_Pa)
{
    double a = 0, b = 0;
    std::vector<double> ai;
    for (auto [id, x] : gas.MoleFractions) {
        const Component &c = Components[id];
        const double kappa = 0.37464 + 1.54226 * c.Omega - 0.26992 * c.Omega * c.Omega;
        const double alpha = std::pow(1 + kappa * (1 - std::sqrt(T / c.Tc_K)), 2);
        ai.push_back(0.45724 * R * R * c.Tc_K * c.Tc_K / (c.Pc_bar * 1e5) * alpha);
        b += x * 0.07780 * R * c.Tc_K / (c.Pc_bar * 1e5);
    }
    for (std::size_t i = 0; i < ai.size(); ++i)
        for (std::size_t j = 0; j < ai.size(); ++j)
            a += gas.MoleFractions[i].second * gas.MoleFractions[j].second * std::sqrt(ai[i] * ai[j]);
    Cubic cubic{a * p_Pa / (R * R * T * T), b * p_Pa / (R * T), {}};
    const double A = cubic.A, B = cubic.B;
    for (double z : CubicRoots(-(1 - B), A - 3 * B * B - 2 * B, -(A * B - B * B - B * B * B)))
        if (z > B)
            cubic.Roots.push_back(z);
    return cubic;
}

double PseudoCriticalTemperature(const Gas &gas)
{
    double Tc = 0;
    for (auto [id, x] : gas.MoleFractions)
        Tc += x * Components[id].Tc_K;
    return Tc;
}

// Saturation pressure below the critical temperature, where liquid and
// vapour roots have equal fugacity; from the usual estimate by successive
// substitution.
double SaturationPressure(const Gas &gas, double T)
{
    double Pc = 0, omega = 0;
    for (auto [id, x] : gas.MoleFractions) {
        Pc += x * Components[id].Pc_bar * 1e5;
        omega += x * Components[id].Omega;
    }
    const double Tc = PseudoCriticalTemperature(gas);
    double p = Pc * std::exp(5.373 * (1 + omega) * (1 - Tc / T));
    for (int i = 0; i < 500; ++i) {
        const Cubic cubic = SolveCubic(gas, T, p);
        if (cubic.Roots.size() < 2) {
            p *= cubic.Roots.back() < 0.3 ? 0.95 : 1.05; // one root: step towards the two-phase band
            continue;
        }
        const double step = cubic.LnPhi(cubic.Roots.front()) - cubic.LnPhi(cubic.Roots.back());
        p *= std::exp(step);
        if (std::fabs(step) < 1e-12)
            break;
    }
    return p;
}

struct State {
    double Z;     // of the vapour root
    bool Vapour;  // the gas is the stable phase
};

State Compressibility(const Gas &gas, double T, double p_Pa)
{
    const Cubic cubic = SolveCubic(gas, T, p_Pa);
    const bool vapour = T >= PseudoCriticalTemperature(gas) || p_Pa < SaturationPressure(gas, T);
    return {cubic.Roots.back(), vapour};
}

double CollisionIntegral(double tStar)
{
    return 1.16145 * std::pow(tStar, -0.14874) + 0.52487 * std::exp(-0.77320 * tStar) +
           2.16178 * std::exp(-2.43787 * tStar);
}

// Dilute-gas viscosity, cP.
double DiluteViscosity(const Gas &gas, double T)
{
    double numerator = 0, denominator = 0;
    for (auto [id, x] : gas.MoleFractions) {
        const Component &c = Components[id];
        const double micropoise =
            26.69 * std::sqrt(c.M * T) / (c.Sigma_A * c.Sigma_A * CollisionIntegral(T / c.EpsilonK_K));
        numerator += x * micropoise * 1e-4 * std::sqrt(c.M);
        denominator += x * std::sqrt(c.M);
    }
    return numerator / denominator;
}

// Viscosity at pressure: the dilute value plus the residual rise with the
// reduced density.
double Viscosity(const Gas &gas, double T, double p_Pa, double Z)
{
    double Tc = 0, Pc_bar = 0, Vc = 0;
    for (auto [id, x] : gas.MoleFractions) {
        Tc += x * Components[id].Tc_K;
        Pc_bar += x * Components[id].Pc_bar;
        Vc += x * Components[id].Vc_cm3mol;
    }
    const double molarDensity = p_Pa / (Z * R * T) * 1e-6; // mol/cm3
    const double rhoR = molarDensity * Vc;
    const double xi = std::pow(Tc, 1.0 / 6) / (std::sqrt(MolarMass(gas)) * std::pow(Pc_bar / Atmosphere_bar, 2.0 / 3));
    const double poly =
        1.0230 + 0.23364 * rhoR + 0.58533 * rhoR * rhoR - 0.40758 * std::pow(rhoR, 3) + 0.093324 * std::pow(rhoR, 4);
    return DiluteViscosity(gas, T) + (std::pow(poly, 4) - 1) / (xi * 1e4);
}

double SpecificHeatRatio(const Gas &gas, double T)
{
    double cp = 0;
    for (auto [id, x] : gas.MoleFractions) {
        const auto &k = Components[id].Cp;
        cp += x * (k[0] + k[1] * T + k[2] * T * T + k[3] * T * T * T);
    }
    return cp / (cp - R);
}

// ----------------------------------------------------------------- files

std::string FluidLine(const std::string &name, const std::string &formula, double T_K, double p_barg, double density,
                      double centipoise, double lastNumber, bool gas)
{
    const std::string sep = "~|~";
    return name + sep + formula + sep + Fixed(T_K, 3) + sep + Fixed(p_barg, 3) + sep + Fixed(density, 3) + sep +
           Fixed(centipoise, 3) + sep + Fixed(lastNumber, 6) + sep + (gas ? "1" : "0");
}

void WriteLines(const std::filesystem::path &path, const std::string &header, const std::vector<std::string> &lines)
{
    std::ofstream file = OpenOutput(path);
    file << header << "\r\n";
    for (const std::string &line : lines)
        file << line << "\r\n";
}

const double GridTemperatures_C[] = {-50, -40, -30, -20, -10, 0,   10,  20,  30,  40,  50,  60,  70,  80,  90,  100,
                                     110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250};
const double GridPressures_barg[] = {0,  0.5, 1,  2,  3,  4,  5,  6,  7,  8,   9,   10,  12,  14,  16,  18,  20,
                                     25, 30,  35, 40, 45, 50, 60, 70, 80, 90, 100, 120, 140, 160, 180, 200, 250};

// Rows of the gas property table: every grid point where the gas is the
// stable phase with Z of at least 0.6, and always 0 deg C and 0 bar g, the
// density reference of the calculator.
std::vector<std::string> GasTableRows(const Gas &gas)
{
    std::vector<std::string> rows;
    const std::string sep = "~|~";
    for (double t : GridTemperatures_C)
        for (double p : GridPressures_barg) {
            const double T = t + ZeroCelsius_K;
            const double p_Pa = (p + Atmosphere_bar) * 1e5;
            const State state = Compressibility(gas, T, p_Pa);
            const bool reference = t == 0 && p == 0;
            if (!reference && (!state.Vapour || state.Z < 0.6))
                continue;
            rows.push_back(Fixed(t, 2) + sep + Fixed(p, 3) + sep + Fixed(IdealDensity(gas, t, p), 6) + sep +
                           Fixed(state.Z, 6) + sep + Fixed(Viscosity(gas, T, p_Pa, state.Z), 7) + sep +
                           Fixed(SpecificHeatRatio(gas, T), 6));
        }
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path folder = FreshFolder(DataFolderArgument(argc, argv), "FluidTables");
    const std::string header = "1.03~|~~|~";

    std::vector<std::string> liquids;
    for (const Liquid &l : Liquids)
        liquids.push_back(FluidLine(l.Name, l.Formula, l.Temperature_C + ZeroCelsius_K, 0, l.Density_kgm3,
                                    l.Viscosity_cP, l.VapourPressure_kPa, false));
    WriteLines(folder / "trn_Liquids.trli", header, liquids);

    std::vector<std::string> gases;
    for (const Gas &gas : Gases)
        for (double t : {0.0, 15.0, 20.0}) {
            const double T = t + ZeroCelsius_K;
            const double p_Pa = Atmosphere_bar * 1e5;
            const double Z = Compressibility(gas, T, p_Pa).Z;
            gases.push_back(FluidLine(gas.Name, gas.Formula, T, 0, IdealDensity(gas, t, 0), Viscosity(gas, T, p_Pa, Z),
                                      SpecificHeatRatio(gas, T), true));
        }
    WriteLines(folder / "trn_Gases.trga", header, gases);

    for (const Gas &gas : Gases)
        WriteLines(folder / (std::string(gas.FileName) + ".trzgp"),
                   std::string("1.00~|~") + gas.Name + "~|~" + gas.Formula + "~|~", GasTableRows(gas));
    return 0;
}
