// Writes the "Documents" folder: the program's PDF guides, laid out by our
// own document engine from the text sources in tools/documents.
//
// A source is plain text with a little markup, one block per line group:
//   "= Title" (the document's title, once, at the head of the first page),
//   "- subtitle" lines right after the title,
//   "== Heading" and "=== Subheading" (both also become bookmarks),
//   "> formula" an equation on a line of its own, indented,
//   "* item" a bullet, "1. item" a numbered step,
//   "| a | b |" a table row (the first row of a table is its heading),
//   "{{name}}" a table the generator computes (see ComputedTables),
//   "----" a new page; other lines join into paragraphs up to a blank line.
//   "[[name]]" in any text is replaced by a value the generator knows.
//
// The verification documents hold tables of cases solved by the network
// solver while the documents are generated, beside the same cases worked
// by hand from the textbook equations (written out independently below), so
// the numbers in them are the program's own.
//
// The files are byte for byte the same on every run: the creation date is
// fixed and the engine writes no file identifier for unencrypted files.

#include "Shipped_Data.h"

#include "app/Maker_Addresses.h"
#include "docexport/Pdf_Engine.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "units/Gas_Calculations.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#ifndef TESSARAN_DOCUMENT_SOURCES
#error "TESSARAN_DOCUMENT_SOURCES names the folder of the document sources"
#endif

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

constexpr double g = 9.80665;
// The date every shipped document carries.
constexpr const char *FixedCreationDate = "20261201000000";

WideString Wide(const std::string &utf8)
{
    WideString out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Fixed(double value, int decimals)
{
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(decimals);
    text << value;
    std::string s = text.str();
    if (s == "-0" || s.rfind("-0.", 0) == 0)
        if (s.find_first_not_of("-0.") == std::string::npos)
            s.erase(0, 1);
    return s;
}

std::string Percent(double ours, double reference)
{
    return Fixed(100.0 * (ours - reference) / reference, 3);
}

// ---- Hand calculations ------------------------------------------------------------
// Written from the textbook equations, independent of the program's own formulas.

// Darcy friction factor: 64/Re in laminar flow, otherwise Colebrook-White
// solved by fixed-point iteration on 1/sqrt(f).
double ColebrookFrictionFactor(double Re, double D, double e)
{
    if (Re < 2000)
        return 64.0 / Re;
    double x = 1.0 / std::sqrt(0.02);
    for (int i = 0; i < 200; ++i) {
        const double next = -2.0 * std::log10(e / (3.7 * D) + 2.51 * x / Re);
        if (std::fabs(next - x) < 1e-14)
            break;
        x = next;
    }
    return 1.0 / (x * x);
}

struct LiquidPipeCase {
    double Length_m, Diameter_m, Roughness_m, HeadDifference_m;
};

struct LiquidHandResult {
    double Flow_m3s, Velocity_ms, Reynolds, FrictionFactor;
};

// Gravity flow between two open tanks through one pipe: the whole head
// difference is lost to friction, h = f (L/D) v^2 / 2g.
LiquidHandResult HandLiquidPipe(const LiquidPipeCase &c, double kinematicViscosity_m2s)
{
    double v = 1.0;
    double f = 0.02, Re = 0;
    for (int i = 0; i < 500; ++i) {
        Re = v * c.Diameter_m / kinematicViscosity_m2s;
        f = ColebrookFrictionFactor(Re, c.Diameter_m, c.Roughness_m);
        const double next = std::sqrt(2 * g * c.HeadDifference_m * c.Diameter_m / (f * c.Length_m));
        if (std::fabs(next - v) < 1e-13)
            break;
        v = next;
    }
    const double area = std::numbers::pi * c.Diameter_m * c.Diameter_m / 4;
    return {v * area, v, Re, f};
}

// Head lost in a pipe at a given flow.
double HandHeadLoss(double flow_m3s, double L, double D, double e, double nu)
{
    const double area = std::numbers::pi * D * D / 4;
    const double v = flow_m3s / area;
    const double f = ColebrookFrictionFactor(v * D / nu, D, e);
    return f * L / D * v * v / (2 * g);
}

struct GasPipeCase {
    double Length_m, Diameter_m, Roughness_m, Inlet_barg, Outlet_barg;
};

// The complete isothermal flow equation of a horizontal pipe, ideal gas:
//   P1^2 - P2^2 = (m/A)^2 R T [f L/D + 2 ln(P1/P2)],
// with R T = p/rho taken from the gas's reference state.
double HandCompleteIsothermal(const GasPipeCase &c, const TFluid &gas, double atmosphere_bar_a, double &f_out)
{
    const double p1 = (c.Inlet_barg + atmosphere_bar_a) * 1e5, p2 = (c.Outlet_barg + atmosphere_bar_a) * 1e5;
    const double RT = (gas.pressure_bar_g + atmosphere_bar_a) * 1e5 / gas.density_kgs_m3;
    const double area = std::numbers::pi * c.Diameter_m * c.Diameter_m / 4;
    const double mu = gas.centipoise * 1e-3;
    double m = 1, f = 0.02;
    for (int i = 0; i < 500; ++i) {
        const double Re = 4 * m / (std::numbers::pi * c.Diameter_m * mu);
        f = ColebrookFrictionFactor(Re, c.Diameter_m, c.Roughness_m);
        const double next = area * std::sqrt((p1 * p1 - p2 * p2) /
                                             (RT * (f * c.Length_m / c.Diameter_m + 2 * std::log(p1 / p2))));
        if (std::fabs(next - m) < 1e-15)
            break;
        m = next;
    }
    f_out = f;
    return m;
}

// The Weymouth equation in its usual metric form: standard flow in m3/day
// from pressures in kPa absolute, length in km and diameter in mm,
//   Q = 0.0037435 E (Tb/Pb) ((P1^2 - P2^2) / (G T L Z))^0.5 D^2.667,
// turned into a mass flow with the gas's density at the standard conditions.
double HandWeymouth(const GasPipeCase &c, const TFluid &gas, double atmosphere_bar_a, double Tb_K, double Pb_Pa)
{
    const double p1 = (c.Inlet_barg + atmosphere_bar_a) * 100, p2 = (c.Outlet_barg + atmosphere_bar_a) * 100;
    const double pbKPa = Pb_Pa / 1000;
    // Relative density to air from the reference state: air is 28.9625 g/mol.
    const double Rspecific = (gas.pressure_bar_g + atmosphere_bar_a) * 1e5 / (gas.density_kgs_m3 * gas.degrees_K);
    const double G = 8314.462618 / Rspecific / 28.9625;
    const double Q = 0.0037435 * (Tb_K / pbKPa) *
                     std::sqrt((p1 * p1 - p2 * p2) / (G * gas.degrees_K * c.Length_m / 1000)) *
                     std::pow(c.Diameter_m * 1000, 2.667);
    const double rhoStd = Pb_Pa / (Rspecific * Tb_K);
    return Q / 86400 * rhoStd;
}

// ---- Runs of the network solver -------------------------------------------------

struct SolverRun {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    bool Solved = false, Ok = false;

    int Node(TNodeType type, double elevation_m, double pressure_barg = 0)
    {
        TNode node;
        node.NodeType = type;
        node.Name = "N" + std::to_string(Network->GetNodeCount() + 1);
        node.x = 100 * (Network->GetNodeCount() + 1);
        node.y = 100;
        node.Elevation_m = elevation_m;
        node.Surface_Pressure_Bar_g = pressure_barg;
        node.Pressure_Bar_g = pressure_barg;
        return Network->AddNode(node);
    }
    int Joint(double demand_m3s)
    {
        TNode node;
        node.NodeType = tessaran::Joint;
        node.Name = "N" + std::to_string(Network->GetNodeCount() + 1);
        node.x = 100 * (Network->GetNodeCount() + 1);
        node.y = 100;
        node.JointDemandUseFlowType = VolumeFlow;
        node.JointDischarge_m3s = demand_m3s;
        const int id = Network->AddNode(node);
        Network->GetNode(id).SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
            Network->FluidZones[1].Fluid, Network->ConfigOptions.Atmosphere_bar_a,
            Network->ConfigOptions.GasFlowTemperaturePressureModel);
        return id;
    }
    int Pipe(int from, int to, double L, double D, double e)
    {
        TPipe pipe;
        pipe.Length_m = L;
        pipe.InnerDiameter_m = D;
        pipe.InnerRoughness_m = e;
        pipe.FluidZoneIndex = 1;
        return Network->AddPipeLink(from, to, pipe);
    }
    void Solve()
    {
        TResultsLog log, privateLog;
        Network->SolveNetwork(Solved, Ok, log, privateLog);
        if (!Solved) {
            std::cerr << "make_documents: a verification case did not solve\n";
            for (const std::string &line : log.Lines)
                std::cerr << "  " << line << "\n";
            std::exit(1);
        }
    }
    double Flow(int pipeId) const { return Network->GetPipe(pipeId).FlowUncompressed_m3s; }
    double MassFlow(int pipeId) const { return Flow(pipeId) * Network->FluidZones[1].Fluid.density_kgs_m3; }
    double Pressure(int nodeId) const { return Network->GetNode(nodeId).Pressure_Bar_g; }
};

using Table = std::vector<std::vector<std::string>>;

const std::vector<LiquidPipeCase> &LiquidCases()
{
    static const std::vector<LiquidPipeCase> cases{
        {100, 0.1023, 0.000045, 10},  {500, 0.1541, 0.000045, 20}, {1000, 0.0525, 0.0000015, 15},
        {250, 0.3032, 0.00026, 5},    {50, 0.0266, 0.000045, 2},   {2000, 0.2027, 0.000045, 30},
    };
    return cases;
}

Table LiquidSinglePipeTable(std::map<std::string, std::string> &values)
{
    Table rows{{"Case", "L (m)", "D (mm)", "e (mm)", "dH (m)", "Re", "f", "Q by hand (m3/h)", "Q Tessaran (m3/h)",
                "Difference (%)"}};
    double worst = 0;
    int n = 0;
    for (const LiquidPipeCase &c : LiquidCases()) {
        SolverRun run;
        run.Network->ConfigOptions.MethodOfSolution = LinearTheoryThenNewton;
        const int high = run.Node(Tank, c.HeadDifference_m);
        const int low = run.Node(Tank, 0);
        const int pipe = run.Pipe(high, low, c.Length_m, c.Diameter_m, c.Roughness_m);
        run.Solve();
        const TFluid &water = run.Network->FluidZones[1].Fluid;
        const LiquidHandResult hand = HandLiquidPipe(c, water.centipoise / water.density_kgs_m3 * 1e-3);
        const double ours = run.Flow(pipe) * 3600, reference = hand.Flow_m3s * 3600;
        worst = std::max(worst, std::fabs(100 * (ours - reference) / reference));
        rows.push_back({std::to_string(++n), Fixed(c.Length_m, 0), Fixed(c.Diameter_m * 1000, 1),
                        Fixed(c.Roughness_m * 1000, 4), Fixed(c.HeadDifference_m, 1), Fixed(hand.Reynolds, 0),
                        Fixed(hand.FrictionFactor, 5), Fixed(reference, 3), Fixed(ours, 3), Percent(ours, reference)});
    }
    values["liquid-single-worst"] = Fixed(worst, 3);
    return rows;
}

// Two tanks joined through three pipes in series with a draw-off at each
// joint: the flows are known by continuity, so the pressures at the joints
// follow by hand from the head losses.
Table LiquidSeriesTable(std::map<std::string, std::string> &values)
{
    struct Leg {
        double L, D;
    };
    const std::vector<Leg> legs{{300, 0.1541}, {200, 0.1023}, {150, 0.0779}};
    const double e = 0.000045;
    const double topLevel = 40;
    const double demand1 = 0.010, demand2 = 0.006;
    SolverRun run;
    run.Network->ConfigOptions.MethodOfSolution = LinearTheoryThenNewton;
    const int tank = run.Node(Tank, topLevel);
    const int j1 = run.Joint(demand1);
    const int j2 = run.Joint(demand2);
    const int end = run.Node(EndPressure, 0, 0.5);
    const int p1 = run.Pipe(tank, j1, legs[0].L, legs[0].D, e);
    const int p2 = run.Pipe(j1, j2, legs[1].L, legs[1].D, e);
    const int p3 = run.Pipe(j2, end, legs[2].L, legs[2].D, e);
    run.Solve();
    const TFluid &water = run.Network->FluidZones[1].Fluid;
    const double nu = water.centipoise / water.density_kgs_m3 * 1e-3;
    const double rhoG = water.density_kgs_m3 * g / 1e5; // bar per metre of water
    // The flow into the end node comes from the solver; every other value
    // of the hand column follows from it, the demands and the tank level.
    const double q3 = run.Flow(p3);
    const double q2 = q3 + demand2, q1 = q2 + demand1;
    const double h1 = topLevel - HandHeadLoss(q1, legs[0].L, legs[0].D, e, nu);
    const double h2 = h1 - HandHeadLoss(q2, legs[1].L, legs[1].D, e, nu);
    const double h3 = h2 - HandHeadLoss(q3, legs[2].L, legs[2].D, e, nu);
    Table rows{{"Quantity", "By hand", "Tessaran", "Difference"}};
    auto row = [&](const std::string &name, double hand, double ours, int decimals) {
        rows.push_back({name, Fixed(hand, decimals), Fixed(ours, decimals), Fixed(ours - hand, decimals + 1)});
    };
    row("Flow in pipe 1 (m3/h)", q1 * 3600, run.Flow(p1) * 3600, 3);
    row("Flow in pipe 2 (m3/h)", q2 * 3600, run.Flow(p2) * 3600, 3);
    row("Pressure at joint 1 (bar g)", h1 * rhoG, run.Pressure(j1), 4);
    row("Pressure at joint 2 (bar g)", h2 * rhoG, run.Pressure(j2), 4);
    row("Pressure at the outlet (bar g)", h3 * rhoG, run.Pressure(end), 4);
    values["series-outlet-flow"] = Fixed(q3 * 3600, 3);
    return rows;
}

// A loop fed from one tank: two parallel pipes of different size share a
// flow; by hand the split is found where both lose the same head.
Table LiquidParallelTable(std::map<std::string, std::string> &values)
{
    const double e = 0.000045;
    const double La = 400, Da = 0.1023, Lb = 250, Db = 0.0779;
    const double total = 0.02;
    SolverRun run;
    run.Network->ConfigOptions.MethodOfSolution = LinearTheoryThenNewton;
    const int tank = run.Node(Tank, 30);
    const int a = run.Joint(0);
    const int b = run.Joint(total);
    const int feed = run.Pipe(tank, a, 10, 0.2027, e);
    const int pa = run.Pipe(a, b, La, Da, e);
    const int pb = run.Pipe(a, b, Lb, Db, e);
    run.Solve();
    (void)feed;
    const TFluid &water = run.Network->FluidZones[1].Fluid;
    const double nu = water.centipoise / water.density_kgs_m3 * 1e-3;
    // Bisection on the share of the first pipe.
    double lo = 0, hi = total;
    for (int i = 0; i < 200; ++i) {
        const double qa = (lo + hi) / 2;
        if (HandHeadLoss(qa, La, Da, e, nu) > HandHeadLoss(total - qa, Lb, Db, e, nu))
            hi = qa;
        else
            lo = qa;
    }
    const double qa = (lo + hi) / 2, qb = total - qa;
    Table rows{{"Pipe", "L (m)", "D (mm)", "Q by hand (m3/h)", "Q Tessaran (m3/h)", "Head loss by hand (m)",
                "Difference (%)"}};
    rows.push_back({"A", Fixed(La, 0), Fixed(Da * 1000, 1), Fixed(qa * 3600, 3), Fixed(run.Flow(pa) * 3600, 3),
                    Fixed(HandHeadLoss(qa, La, Da, e, nu), 3), Percent(run.Flow(pa), qa)});
    rows.push_back({"B", Fixed(Lb, 0), Fixed(Db * 1000, 1), Fixed(qb * 3600, 3), Fixed(run.Flow(pb) * 3600, 3),
                    Fixed(HandHeadLoss(qb, Lb, Db, e, nu), 3), Percent(run.Flow(pb), qb)});
    values["parallel-total"] = Fixed(total * 3600, 1);
    return rows;
}

const std::vector<GasPipeCase> &GasCases()
{
    static const std::vector<GasPipeCase> cases{
        {1000, 0.1023, 0.000045, 7, 5},   {5000, 0.1541, 0.000045, 20, 10}, {500, 0.0525, 0.000045, 3, 2},
        {10000, 0.3032, 0.000045, 50, 30}, {2000, 0.0779, 0.000045, 10, 2},
    };
    return cases;
}

SolverRun GasRun(const GasPipeCase &c, TMethodOfSolution method, TMethodOfCalculationCompressible equation,
                 int &pipe)
{
    SolverRun run;
    TNetwork &n = *run.Network;
    n.FluidZones[1].Fluid.SetToAir();
    n.ConfigOptions.MethodOfSolution = method;
    n.ConfigOptions.MethodOfCalculationCompressible = equation;
    gasStandardConditions(n.ConfigOptions.GasFlowTemperaturePressureModel, n.GasModel_Std_Temp_degrees_k,
                          n.GasModel_Std_Pressure_Pa_a);
    const int supply = run.Node(Tank, 0, c.Inlet_barg);
    const int outlet = run.Node(EndPressure, 0, c.Outlet_barg);
    pipe = run.Pipe(supply, outlet, c.Length_m, c.Diameter_m, c.Roughness_m);
    run.Solve();
    return run;
}

Table GasCompleteIsothermalTable(std::map<std::string, std::string> &values)
{
    Table rows{{"Case", "L (m)", "D (mm)", "P1 (bar g)", "P2 (bar g)", "f", "m by hand (kg/s)",
                "m node adjust (kg/s)", "m flow adjust (kg/s)", "Difference (%)"}};
    double worst = 0;
    int n = 0;
    for (const GasPipeCase &c : GasCases()) {
        int pipe1 = 0, pipe2 = 0;
        const SolverRun nodeAdjust = GasRun(c, CompressibleNodeAdjust, CompleteIsothermalFlowEquation, pipe1);
        const SolverRun flowAdjust = GasRun(c, CompressibleFlowAdjust, CompleteIsothermalFlowEquation, pipe2);
        double f = 0;
        const double hand =
            HandCompleteIsothermal(c, nodeAdjust.Network->FluidZones[1].Fluid,
                                   nodeAdjust.Network->ConfigOptions.Atmosphere_bar_a, f);
        const double m1 = nodeAdjust.MassFlow(pipe1), m2 = flowAdjust.MassFlow(pipe2);
        const double diff = std::max(std::fabs(m1 - hand), std::fabs(m2 - hand));
        const double signedDiff = std::fabs(m1 - hand) >= std::fabs(m2 - hand) ? m1 : m2;
        worst = std::max(worst, 100 * diff / hand);
        rows.push_back({std::to_string(++n), Fixed(c.Length_m, 0), Fixed(c.Diameter_m * 1000, 1),
                        Fixed(c.Inlet_barg, 1), Fixed(c.Outlet_barg, 1), Fixed(f, 5), Fixed(hand, 4), Fixed(m1, 4),
                        Fixed(m2, 4), Percent(signedDiff, hand)});
    }
    values["gas-complete-worst"] = Fixed(worst, 3);
    return rows;
}

Table GasWeymouthTable(std::map<std::string, std::string> &values)
{
    Table rows{{"Case", "L (m)", "D (mm)", "P1 (bar g)", "P2 (bar g)", "m by hand (kg/s)", "m Tessaran (kg/s)",
                "Difference (%)"}};
    double worst = 0;
    int n = 0;
    for (const GasPipeCase &c : GasCases()) {
        int pipe = 0;
        const SolverRun run = GasRun(c, CompressibleNodeAdjust, WeymouthIsothermalFlowEquation, pipe);
        const TNetwork &net = *run.Network;
        const double hand = HandWeymouth(c, net.FluidZones[1].Fluid, net.ConfigOptions.Atmosphere_bar_a,
                                         net.GasModel_Std_Temp_degrees_k, net.GasModel_Std_Pressure_Pa_a);
        const double ours = run.MassFlow(pipe);
        worst = std::max(worst, std::fabs(100 * (ours - hand) / hand));
        rows.push_back({std::to_string(++n), Fixed(c.Length_m, 0), Fixed(c.Diameter_m * 1000, 1),
                        Fixed(c.Inlet_barg, 1), Fixed(c.Outlet_barg, 1), Fixed(hand, 4), Fixed(ours, 4),
                        Percent(ours, hand)});
    }
    values["gas-weymouth-worst"] = Fixed(worst, 3);
    return rows;
}

// Every gas equation of the program on one pipe, as the network solver
// finds the flow with each.
Table GasEquationsTable(std::map<std::string, std::string> &)
{
    const GasPipeCase c = GasCases()[1];
    static const std::pair<TMethodOfCalculationCompressible, const char *> equations[] = {
        {CompleteIsothermalFlowEquation, "Complete isothermal"}, {GeneralIsothermalFlowEquation, "General"},
        {WeymouthIsothermalFlowEquation, "Weymouth"},           {PanhandleAIsomthermalFlowEquation, "Panhandle A"},
        {PanhandleBIsomthermalFlowEquation, "Panhandle B"},     {AGAIsothermalFlowEquation, "AGA"},
        {IGTIsothermalFlowEquation, "IGT"},
    };
    Table rows{{"Equation", "Mass flow (kg/s)", "Standard flow (m3/h at 15 C, 1.01325 bar a)"}};
    for (const auto &[equation, name] : equations) {
        int pipe = 0;
        const SolverRun run = GasRun(c, CompressibleNodeAdjust, equation, pipe);
        const TNetwork &net = *run.Network;
        const TFluid &air = net.FluidZones[1].Fluid;
        const double Rspecific =
            (air.pressure_bar_g + net.ConfigOptions.Atmosphere_bar_a) * 1e5 / (air.density_kgs_m3 * air.degrees_K);
        const double rhoStd = net.GasModel_Std_Pressure_Pa_a / (Rspecific * net.GasModel_Std_Temp_degrees_k);
        rows.push_back({name, Fixed(run.MassFlow(pipe), 4), Fixed(run.MassFlow(pipe) / rhoStd * 3600, 1)});
    }
    return rows;
}

using TableMaker = std::function<Table(std::map<std::string, std::string> &)>;

const std::map<std::string, TableMaker> &ComputedTables()
{
    static const std::map<std::string, TableMaker> tables{
        {"liquid-single-pipe", LiquidSinglePipeTable}, {"liquid-series", LiquidSeriesTable},
        {"liquid-parallel", LiquidParallelTable},      {"gas-complete-isothermal", GasCompleteIsothermalTable},
        {"gas-weymouth", GasWeymouthTable},            {"gas-equations", GasEquationsTable},
    };
    return tables;
}

// ---- The source ------------------------------------------------------------------

enum class BlockKind { Title, Subtitle, Heading, Subheading, Paragraph, Formula, Bullet, Numbered, Table, PageBreak };

struct Block {
    BlockKind Kind;
    std::string Text;
    Table Rows;
};

std::string Trim(const std::string &s)
{
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return {};
    const std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::vector<std::string> TableCells(const std::string &line)
{
    std::vector<std::string> cells;
    std::string body = Trim(line);
    body = body.substr(1);
    if (!body.empty() && body.back() == '|')
        body.pop_back();
    std::stringstream stream(body);
    std::string cell;
    while (std::getline(stream, cell, '|'))
        cells.push_back(Trim(cell));
    return cells;
}

std::vector<Block> ParseSource(const std::filesystem::path &path, std::map<std::string, std::string> &values)
{
    std::ifstream file(path);
    if (!file) {
        std::cerr << "make_documents: cannot read " << path << "\n";
        std::exit(1);
    }
    std::vector<Block> blocks;
    std::string paragraph;
    auto flush = [&] {
        if (!paragraph.empty())
            blocks.push_back({BlockKind::Paragraph, paragraph, {}});
        paragraph.clear();
    };
    std::string raw;
    while (std::getline(file, raw)) {
        const std::string line = Trim(raw);
        auto starts = [&](const char *prefix) { return line.rfind(prefix, 0) == 0; };
        if (line.empty()) {
            flush();
        } else if (starts("=== ")) {
            flush();
            blocks.push_back({BlockKind::Subheading, line.substr(4), {}});
        } else if (starts("== ")) {
            flush();
            blocks.push_back({BlockKind::Heading, line.substr(3), {}});
        } else if (starts("= ")) {
            flush();
            blocks.push_back({BlockKind::Title, line.substr(2), {}});
        } else if (starts("- ") && !blocks.empty() &&
                   (blocks.back().Kind == BlockKind::Title || blocks.back().Kind == BlockKind::Subtitle)) {
            blocks.push_back({BlockKind::Subtitle, line.substr(2), {}});
        } else if (starts("> ")) {
            flush();
            blocks.push_back({BlockKind::Formula, line.substr(2), {}});
        } else if (starts("* ")) {
            flush();
            blocks.push_back({BlockKind::Bullet, line.substr(2), {}});
        } else if (line.size() > 2 && std::isdigit(static_cast<unsigned char>(line[0])) &&
                   line.find(". ") != std::string::npos &&
                   line.find_first_not_of("0123456789") == line.find(". ")) {
            flush();
            blocks.push_back({BlockKind::Numbered, line, {}});
        } else if (starts("|")) {
            flush();
            if (blocks.empty() || blocks.back().Kind != BlockKind::Table || blocks.back().Text == "computed")
                blocks.push_back({BlockKind::Table, "", {}});
            blocks.back().Rows.push_back(TableCells(line));
        } else if (starts("{{") && line.size() > 4 && line.substr(line.size() - 2) == "}}") {
            flush();
            const std::string name = line.substr(2, line.size() - 4);
            const auto maker = ComputedTables().find(name);
            if (maker == ComputedTables().end()) {
                std::cerr << "make_documents: no computed table " << name << " (" << path << ")\n";
                std::exit(1);
            }
            blocks.push_back({BlockKind::Table, "computed", maker->second(values)});
        } else if (line == "----") {
            flush();
            blocks.push_back({BlockKind::PageBreak, "", {}});
        } else {
            if (!paragraph.empty())
                paragraph += ' ';
            paragraph += line;
        }
    }
    flush();
    return blocks;
}

// Replaces every "[[name]]" by its value; an unknown name stops the run.
std::string Substitute(const std::string &text, const std::map<std::string, std::string> &values)
{
    std::string out;
    std::size_t at = 0;
    while (true) {
        const std::size_t open = text.find("[[", at);
        if (open == std::string::npos) {
            out += text.substr(at);
            return out;
        }
        const std::size_t close = text.find("]]", open);
        if (close == std::string::npos) {
            out += text.substr(at);
            return out;
        }
        out += text.substr(at, open - at);
        const std::string name = text.substr(open + 2, close - open - 2);
        const auto found = values.find(name);
        if (found == values.end()) {
            std::cerr << "make_documents: unknown value [[" << name << "]]\n";
            std::exit(1);
        }
        out += found->second;
        at = close + 2;
    }
}

// ---- Layout ---------------------------------------------------------------------

constexpr TColor Ink = 0x202020;
constexpr TColor Accent = 0x7A4A1F;    // dark blue (BGR)
constexpr TColor RuleColour = 0xB0B0B0;
constexpr TColor HeaderShade = 0xF2E8DC; // pale blue (BGR)

// Lays the blocks out on A4 pages in millimetres, from the top down.
class Layout {
public:
    Layout(TdeCustomPDFEngine &engine, std::string title) : e(engine), title_(std::move(title)) {}

    void Run(const std::vector<Block> &blocks)
    {
        NewPage(true);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const Block &b = blocks[i];
            const Block *next = i + 1 < blocks.size() ? &blocks[i + 1] : nullptr;
            switch (b.Kind) {
            case BlockKind::Title: TitleBlock(b.Text); break;
            case BlockKind::Subtitle: Lines(b.Text, 13, false, Accent, 0, 1.5); break;
            case BlockKind::Heading: Heading(b.Text, 15, true, next); break;
            case BlockKind::Subheading: Heading(b.Text, 12, false, next); break;
            case BlockKind::Paragraph: Lines(b.Text, 10, false, Ink, 0, 3); break;
            case BlockKind::Formula: Lines(b.Text, 10, false, Accent, 8, 3); break;
            case BlockKind::Bullet: ListItem("\xE2\x80\xA2", b.Text); break;
            case BlockKind::Numbered: {
                const std::size_t dot = b.Text.find(". ");
                ListItem(b.Text.substr(0, dot + 1), b.Text.substr(dot + 2));
                break;
            }
            case BlockKind::Table: TableBlock(b.Rows); break;
            case BlockKind::PageBreak: NewPage(false); break;
            }
        }
        Footer();
    }

private:
    static constexpr double PageW = 210, PageH = 297, Left = 22, Right = 22, Top = 22, Bottom = 24;
    static constexpr double TextW = PageW - Left - Right;

    static double LineHeight(int size) { return size * 0.3528 * 1.35; }

    void SetFont(int size, bool bold, TColor colour)
    {
        e.Font().Name = "Liberation Sans";
        e.Font().Size = size;
        e.Font().Style = bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
        e.Font().Color = colour;
    }

    std::vector<WideString> Wrap(const std::string &text, double width)
    {
        std::vector<WideString> lines;
        const double native = width * e.NativeConversionFactor();
        e.SplitTextToWidth(Wide(text), lines, e.Font(), false, native, native);
        if (lines.empty())
            lines.emplace_back();
        return lines;
    }

    void NewPage(bool first)
    {
        if (!first) {
            Footer();
            e.NewPage();
        }
        y_ = Top;
        pageHasContent_ = false;
    }

    void Footer()
    {
        SetFont(8, false, 0x707070);
        e.Pen().Color = RuleColour;
        e.Pen().Width = 0;
        e.Line(Left, PageH - Bottom + 6, PageW - Right, PageH - Bottom + 6);
        e.TextOut(Left, PageH - Bottom + 8, Wide(title_));
        const std::string page = "Page " + std::to_string(e.CurrentPage());
        e.TextOut(PageW - Right - e.TextWidth(Wide(page)), PageH - Bottom + 8, Wide(page));
    }

    void Ensure(double height)
    {
        if (pageHasContent_ && y_ + height > PageH - Bottom)
            NewPage(false);
    }

    void TitleBlock(const std::string &text)
    {
        SetFont(24, true, Accent);
        for (const WideString &line : Wrap(text, TextW)) {
            e.TextOut(Left, y_, line);
            y_ += LineHeight(24);
        }
        e.Pen().Color = Accent;
        e.Pen().Width = 2;
        e.Line(Left, y_ + 1, PageW - Right, y_ + 1);
        y_ += 5;
        pageHasContent_ = true;
        e.AddTOCItem(Wide(text), -1, e.CurrentPage(), 0);
    }

    void Heading(const std::string &text, int size, bool top, const Block *next)
    {
        // A heading keeps at least two lines of what follows on its page.
        double keep = LineHeight(size) + 4 + 2 * LineHeight(10);
        if (next && next->Kind == BlockKind::Table)
            keep += 3 * LineHeight(9);
        Ensure(keep);
        y_ += pageHasContent_ ? (top ? 4 : 2) : 0;
        SetFont(size, true, top ? Accent : Ink);
        const double startY = y_;
        for (const WideString &line : Wrap(text, TextW)) {
            e.TextOut(Left, y_, line);
            y_ += LineHeight(size);
        }
        y_ += 1.5;
        pageHasContent_ = true;
        const double native = startY * e.NativeConversionFactor();
        if (top)
            lastHeading_ = e.AddTOCItem(Wide(text), -1, e.CurrentPage(), native);
        else
            e.AddTOCItem(Wide(text), lastHeading_ >= 0 ? lastHeading_ : -1, e.CurrentPage(), native);
    }

    void Lines(const std::string &text, int size, bool bold, TColor colour, double indent, double after)
    {
        SetFont(size, bold, colour);
        for (const WideString &line : Wrap(text, TextW - indent)) {
            Ensure(LineHeight(size));
            SetFont(size, bold, colour);
            e.TextOut(Left + indent, y_, line);
            y_ += LineHeight(size);
            pageHasContent_ = true;
        }
        y_ += after;
    }

    void ListItem(const std::string &mark, const std::string &text)
    {
        const double indent = 7;
        SetFont(10, false, Ink);
        const std::vector<WideString> lines = Wrap(text, TextW - indent);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Ensure(LineHeight(10));
            SetFont(10, false, Ink);
            if (i == 0)
                e.TextOut(Left + 2, y_, Wide(mark));
            e.TextOut(Left + indent, y_, lines[i]);
            y_ += LineHeight(10);
            pageHasContent_ = true;
        }
        y_ += 1.2;
    }

    void TableBlock(const Table &rows)
    {
        if (rows.empty())
            return;
        std::size_t columns = 0;
        for (const auto &row : rows)
            columns = std::max(columns, row.size());
        const int size = columns > 8 ? 7 : columns > 5 ? 8 : 9;
        const double pad = 1.5;
        // Widths from the longest word and the whole text of each column.
        std::vector<double> least(columns, 0), natural(columns, 0);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                SetFont(size, r == 0, Ink);
                natural[c] = std::max(natural[c], e.TextWidth(Wide(rows[r][c])) + 2 * pad);
                std::stringstream words(rows[r][c]);
                std::string word;
                while (words >> word)
                    least[c] = std::max(least[c], e.TextWidth(Wide(word)) + 2 * pad);
            }
        std::vector<double> widths = natural;
        double total = 0;
        for (double w : widths)
            total += w;
        if (total > TextW) {
            // Shrink towards the longest words in proportion to the room each can give.
            double give = 0, leastTotal = 0;
            for (std::size_t c = 0; c < columns; ++c) {
                give += natural[c] - least[c];
                leastTotal += least[c];
            }
            const double over = total - TextW;
            for (std::size_t c = 0; c < columns; ++c)
                widths[c] = over < give ? natural[c] - over * (natural[c] - least[c]) / give
                                        : least[c] * TextW / leastTotal;
        } else if (columns > 2) {
            // Spread the spare room so wide tables fill the text width.
            for (double &w : widths)
                w += (TextW - total) / columns;
        }
        auto rowLines = [&](const std::vector<std::string> &row, bool header) {
            std::vector<std::vector<WideString>> cells;
            SetFont(size, header, Ink);
            for (std::size_t c = 0; c < columns; ++c)
                cells.push_back(Wrap(c < row.size() ? row[c] : "", widths[c] - 2 * pad + 0.6));
            return cells;
        };
        auto drawRow = [&](const std::vector<std::string> &row, bool header) {
            const auto cells = rowLines(row, header);
            std::size_t most = 1;
            for (const auto &cell : cells)
                most = std::max(most, cell.size());
            const double height = most * LineHeight(size) + 2 * pad;
            double x = Left;
            double width = 0;
            for (double w : widths)
                width += w;
            if (header) {
                e.Brush().Color = HeaderShade;
                e.Brush().Style = TBrushStyle::bsSolid;
                e.Pen().Color = HeaderShade;
                e.Pen().Width = 0;
                e.Rectangle(Left, y_, Left + width, y_ + height, true);
                e.Brush().Style = TBrushStyle::bsClear;
            }
            SetFont(size, header, Ink);
            for (std::size_t c = 0; c < columns; ++c) {
                const bool number = !header && c > 0 && !row.empty() && c < row.size() && !row[c].empty() &&
                                    row[c].find_first_not_of("0123456789.-") == std::string::npos &&
                                    row[c].find_first_of("0123456789") != std::string::npos;
                double ly = y_ + pad;
                for (const WideString &line : cells[c]) {
                    const double lx = number ? x + widths[c] - pad - e.TextWidth(line) : x + pad;
                    e.TextOut(lx, ly, line);
                    ly += LineHeight(size);
                }
                x += widths[c];
            }
            e.Pen().Color = header ? Accent : RuleColour;
            e.Pen().Width = 0;
            e.Line(Left, y_ + height, Left + width, y_ + height);
            y_ += height;
            pageHasContent_ = true;
        };
        auto rowHeight = [&](const std::vector<std::string> &row, bool header) {
            std::size_t most = 1;
            for (const auto &cell : rowLines(row, header))
                most = std::max(most, cell.size());
            return most * LineHeight(size) + 2 * pad;
        };
        Ensure(rowHeight(rows[0], true) + (rows.size() > 1 ? rowHeight(rows[1], false) : 0));
        drawRow(rows[0], true);
        for (std::size_t r = 1; r < rows.size(); ++r) {
            if (y_ + rowHeight(rows[r], false) > PageH - Bottom) {
                NewPage(false);
                drawRow(rows[0], true);
            }
            drawRow(rows[r], false);
        }
        y_ += 4;
    }

    TdeCustomPDFEngine &e;
    std::string title_;
    double y_ = Top;
    bool pageHasContent_ = false;
    int lastHeading_ = -1;
};

// Puts the fixed date in place of the engine's clock in the information
// dictionary; the text keeps its length, so every offset stays right.
void FixCreationDate(std::vector<std::uint8_t> &pdf)
{
    std::string text(pdf.begin(), pdf.end());
    for (const char *key : {"/CreationDate <", "/ModDate <"}) {
        const std::size_t at = text.find(key);
        if (at == std::string::npos)
            continue;
        const std::size_t start = at + std::strlen(key);
        // "D:" is 4 hex digits; the 14 digits of the date follow as 28.
        std::string hex;
        for (const char *c = FixedCreationDate; *c; ++c) {
            static const char digits[] = "0123456789ABCDEF";
            hex += digits[(static_cast<unsigned char>(*c) >> 4) & 0xF];
            hex += digits[static_cast<unsigned char>(*c) & 0xF];
        }
        text.replace(start + 4, hex.size(), hex);
    }
    pdf.assign(text.begin(), text.end());
}

struct DocumentSource {
    const char *Source;
    const char *FileName;
};

void WriteDocument(const DocumentSource &document, const std::filesystem::path &folder)
{
    std::map<std::string, std::string> values{{"web", MakerWebAddress}, {"support", MakerSupportEmail}};
    std::vector<Block> blocks =
        ParseSource(std::filesystem::path(TESSARAN_DOCUMENT_SOURCES) / document.Source, values);
    std::string title = "Tessaran";
    for (Block &block : blocks) {
        block.Text = Substitute(block.Text, values);
        for (auto &row : block.Rows)
            for (std::string &cell : row)
                cell = Substitute(cell, values);
        if (block.Kind == BlockKind::Title)
            title = block.Text;
    }

    TdeCustomPDFEngine e;
    e.Preferences().SetShowSetupDialog(false);
    e.Preferences().SetOpenAfterCreate(false);
    e.Preferences().ActiveHyperLinks = false;
    e.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
    e.Preferences().SetOutputToUserStream(true);
    TMemoryStream out;
    e.SetUserStream(&out);
    e.SetInputXRes(96);
    e.SetInputYRes(96);
    e.SetFontEncoding(TdePDFFontEncoding::feWinAnsiEncoding);
    e.Compression().Level = TdeCompressionLevel::clMaxCompress;
    e.Page().SetPaperSize(TdePaperSize::A4);
    e.SetMeasurementUnit(TdeUnitType::muMM);
    e.SetReferencePoint(TdeReferencePoint::rpPage);
    e.ViewerPreferences().PageMode = TdePageMode::pmUseOutlines;
    e.DocInfo().SetTitle(Wide(title));
    e.DocInfo().SetCreator(u"Tessaran");
    e.DocInfo().SetSubject(u"Tessaran documentation");
    e.DocInfo().SetKeywords(u"Tessaran, pipe network, flow, pressure");
    e.BeginDoc();
    Layout(e, title).Run(blocks);
    e.EndDoc();

    std::vector<std::uint8_t> bytes = out.Bytes();
    FixCreationDate(bytes);
    std::ofstream file = OpenOutput(folder / document.FileName);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path data = DataFolderArgument(argc, argv);
    // The clock's zone must not reach the files.
    ::setenv("TZ", "UTC", 1);
    const std::filesystem::path folder = FreshFolder(data, "Documents");
    static const DocumentSource documents[] = {
        {"QuickStartGuide.txt", "TessaranQuickStartGuide.pdf"},
        {"UserGuide.txt", "TessaranUserGuide.pdf"},
        {"NonCompressibleResultsVerification.txt", "TessaranNonCompressibleResultsVerification.pdf"},
        {"CompressibleResultsVerification.txt", "TessaranCompressibleResultsVerification.pdf"},
        {"CompressibleEquations.txt", "TessaranCompressibleEquations.pdf"},
        {"Brochure.txt", "TessaranBrochure.pdf"},
        {"ExampleStepByStep.txt", "TessaranExampleStepByStep.pdf"},
    };
    for (const DocumentSource &document : documents)
        WriteDocument(document, folder);
    return 0;
}
