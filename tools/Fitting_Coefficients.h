#pragma once
// The standard fittings: which fittings each nominal size gets and their
// resistance coefficients, shared by the fittings table and the example
// systems.
//
// Sources of the values:
// - Resistance coefficients K = n x f_T with the multipliers n of Technical
//   Paper No. 410, "Flow of Fluids Through Valves, Fittings and Pipe"
//   (2009), appendix A ("K" factor table): standard elbows 90 deg 30, 45 deg
//   16; 90 deg bend r/d 1.5 14; tee through run 20, through branch 60; gate
//   valve (wedge disc, full bore) 8; globe valve 340; ball valve (full
//   bore) 3; butterfly valve 45 (2 to 8 in), 35 (10 to 14 in), 25 (16 in
//   and up); plug valve (straightway) 18; swing check valve 100; lift check
//   valve (globe type) 600. A 45 deg bend of r/d 1.5 takes 10, the 90 deg
//   value scaled by the angle correction of the same paper's bend chart.
// - f_T, the fully turbulent friction factor of clean commercial steel
//   (roughness 0.0018 in), from the formula the same paper gives:
//   f_T = 0.25 / [log10(roughness / (3.7 D))]^2, D the inner diameter of
//   standard-weight pipe (ASME B36.10M) of the size, or the nominal size in
//   mm where no steel pipe size corresponds.
// - Entrance (sharp edged, flush) K = 0.5 and exit K = 1.0: the same
//   paper's constant values, which do not scale with f_T.
// - Contractions and expansions, referred to the smaller pipe, for diameter
//   ratios beta = d1/d2 of 0.5 and 0.75: sudden contraction
//   K = 0.5 (1 - beta^2); gradual contraction (included angle 30 deg)
//   K = 0.8 sin(15 deg) (1 - beta^2); sudden enlargement K = (1 - beta^2)^2;
//   gradual enlargement (included angle 30 deg) K = 2.6 sin(15 deg)
//   (1 - beta^2)^2 (same paper, formulas 1 to 4).

#include "Shipped_Data.h"
#include "Steel_Pipe_Dimensions.h"

#include "model/Fitting_Class.h"

#include <cmath>
#include <map>
#include <string>

namespace tessaran::shipped {

// The fittings manager's nominal size list, in its order.
inline constexpr int NominalSizes_mm[] = {6,   7,   8,   9,   10,  12,  15,  18,   20,   22,   25,   32,   40,   50,   65,
                               80,  90,  100, 125, 150, 200, 250, 300,  350,  380,  400,  450,  500,  550,  600,
                               650, 700, 750, 800, 850, 900, 950, 1000, 1050, 1200, 1400, 1500, 1800, 2100};

// Imperial nominal sizes of the metric sizes that have one.
inline const std::map<int, std::string> &ImperialSizes()
{
    static const std::map<int, std::string> sizes = [] {
        std::map<int, std::string> map;
        for (const SteelPipeSize &size : SteelPipeSizes())
            map[size.Dn] = std::string(size.Nps) + "\"";
        for (auto [dn, text] : {std::pair{950, "38\""}, {1000, "40\""}, {1050, "42\""}, {1200, "48\""},
                                {1400, "56\""}, {1500, "60\""}, {1800, "72\""}, {2100, "84\""}})
            map[dn] = text;
        return map;
    }();
    return sizes;
}

inline std::string ImperialText(int size_mm)
{
    auto found = ImperialSizes().find(size_mm);
    return found == ImperialSizes().end() ? "-" : found->second;
}

inline std::string MetricText(int size_mm) { return std::to_string(size_mm) + " mm"; }

inline double InnerDiameter_m(int size_mm)
{
    const SteelSchedule &standardWeight = CarbonSteelSchedules()[10];
    const auto &sizes = SteelPipeSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i].Dn == size_mm)
            return (sizes[i].Od_in - 2 * standardWeight.Wall_in[i]) * 0.0254;
    return size_mm / 1000.0;
}

inline double FullyTurbulentFrictionFactor(double diameter_m)
{
    const double roughness_m = 0.0018 * 0.0254;
    const double term = std::log10(roughness_m / (3.7 * diameter_m));
    return 0.25 / (term * term);
}

struct FittingKind {
    int Symbol;
    const char *PartType;
    const char *Description;
    double Multiplier; // n of K = n f_T; 0 for a fixed K
    double FixedK;
};

inline const FittingKind Kinds[] = {
    {1, "Elb90", "90° elbow, standard", 30, 0},
    {2, "Elb90LR", "90° elbow, long radius (r/d 1.5)", 14, 0},
    {3, "Elb45", "45° elbow, standard", 16, 0},
    {4, "Elb45LR", "45° elbow, long radius (r/d 1.5)", 10, 0},
    {5, "TeeRun", "Tee, flow through run", 20, 0},
    {6, "TeeBr", "Tee, flow through branch", 60, 0},
    {7, "Gate", "Gate valve, full bore, fully open", 8, 0},
    {8, "Globe", "Globe valve, fully open", 340, 0},
    {9, "Ball", "Ball valve, full bore, fully open", 3, 0},
    {10, "Bfly", "Butterfly valve, fully open", 0, 0}, // n by size below
    {11, "Plug", "Plug valve, straightway, fully open", 18, 0},
    {12, "SwChk", "Swing check valve", 100, 0},
    {13, "LiftChk", "Lift check valve", 600, 0},
    {26, "Entr", "Pipe entrance, sharp edged", 0, 0.5},
    {27, "ExitCon", "Pipe exit", 0, 1.0},
};

// Butterfly valves are made from 2 in (50 mm).
inline double ButterflyMultiplier(int size_mm)
{
    if (size_mm < 50)
        return 0;
    if (size_mm <= 200)
        return 45;
    if (size_mm <= 350)
        return 35;
    return 25;
}

inline TFitting Fitting(int size_mm, int symbol, const std::string &partType, const std::string &metric,
                 const std::string &imperial, const std::string &description, double k)
{
    TFitting fitting;
    fitting.SetFittingData(size_mm, symbol, partType, metric, imperial, description, RoundTo(k, 3));
    return fitting;
}

// The standard fitting of a part type at a size, as the table lists it.
inline TFitting StandardFitting(int size_mm, const std::string &partType)
{
    for (const FittingKind &kind : Kinds)
        if (partType == kind.PartType) {
            const double n = kind.Symbol == 10 ? ButterflyMultiplier(size_mm) : kind.Multiplier;
            const double k = n > 0 ? n * FullyTurbulentFrictionFactor(InnerDiameter_m(size_mm)) : kind.FixedK;
            return Fitting(size_mm, kind.Symbol, kind.PartType, MetricText(size_mm), ImperialText(size_mm),
                           kind.Description, k);
        }
    return TFitting();
}

} // namespace tessaran::shipped
