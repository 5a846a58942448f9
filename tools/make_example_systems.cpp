// Writes the "ExampleSystems" (liquids) and "ExampleSystemsCompressible"
// (gases) folders: small networks built on the network model and saved by
// its own file writer, each with a description beside it.
//
// Sources of the values: pipes are ASME B36.10M schedule 40 steel (see
// Steel_Pipe_Dimensions.h) with the roughness of commercial steel,
// 0.045 mm; fittings take the standard table's K values
// (Fitting_Coefficients.h); pumps are the generic pumps of Generic_Pumps.h;
// water is taken at 20 deg C and the gases at the conditions of the shipped
// fluid tables (IAPWS values for water; ideal-gas densities and the
// viscosities and specific heat ratios of make_fluid_tables.cpp).

#include "Fitting_Coefficients.h"
#include "Generic_Pumps.h"
#include "Shipped_Data.h"
#include "Steel_Pipe_Dimensions.h"

#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "platform/TextFile.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

struct FittingUse {
    const char *PartType;
    int Quantity;
    TFittingPosition Position = EntryFitting;
};

// Builds one example network item by item.
class Example {
public:
    explicit Example(const TFluid &fluid)
    {
        network.FluidZones[1].Fluid.CopyFluid(fluid);
    }

    int Tank(const std::string &name, int x, int y, double elevation_m, double level_m, double surface_barg = 0)
    {
        TNode node = Node(name, x, y, elevation_m);
        node.NodeType = tessaran::Tank;
        node.LiquidLevel_m = level_m;
        node.Surface_Pressure_Bar_g = surface_barg;
        node.Pressure_Bar_g = surface_barg;
        return network.AddNode(node);
    }

    int EndPressure(const std::string &name, int x, int y, double elevation_m, double pressure_barg)
    {
        TNode node = Node(name, x, y, elevation_m);
        node.NodeType = tessaran::EndPressure;
        node.Surface_Pressure_Bar_g = pressure_barg;
        node.Pressure_Bar_g = pressure_barg;
        return network.AddNode(node);
    }

    // A joint drawing a liquid demand in m3/h.
    int Joint(const std::string &name, int x, int y, double elevation_m, double demand_m3h = 0)
    {
        TNode node = Node(name, x, y, elevation_m);
        node.JointDemandUseFlowType = VolumeFlow;
        node.JointDischarge_m3s = demand_m3h / 3600;
        return AddJoint(node);
    }

    // A joint drawing a gas demand in kg/s.
    int GasJoint(const std::string &name, int x, int y, double demand_kgs)
    {
        TNode node = Node(name, x, y, 0);
        node.JointDemandUseFlowType = MassFlow;
        node.JointDischarge_kgs = demand_kgs;
        return AddJoint(node);
    }

    int Pipe(int from, int to, const std::string &name, double length_m, int dn_mm,
             const std::vector<FittingUse> &fittings = {})
    {
        TPipe pipe;
        pipe.Name = name;
        pipe.Length_m = length_m;
        SetSchedule40(pipe, dn_mm);
        for (const FittingUse &use : fittings)
            pipe.FittingSet.AddFitting(StandardFitting(dn_mm, use.PartType), use.Quantity, use.Position);
        return network.AddPipeLink(from, to, pipe);
    }

    void Pump(int pipeId, const TPump &pump)
    {
        TPipe &pipe = network.GetPipe(pipeId);
        pipe.PumpCount = 1;
        pipe.PumpUseInCalc = true;
        pipe.Pump.CopyPump(pump);
    }

    void PressureReducingValve(int pipeId, double setting_barg)
    {
        TPipe &pipe = network.GetPipe(pipeId);
        pipe.FlowControlCount = 1;
        pipe.FlowControlUseInCalc = true;
        pipe.FlowControl.ControlType = PRV;
        pipe.FlowControl.FlowControlFlowType = VolumeFlow;
        pipe.FlowControl.RegulatedPressure_Bar_g = setting_barg;
    }

    void Save(const std::filesystem::path &folder, const std::string &name, const std::vector<std::string> &text)
    {
        TMemoryStream stream;
        network.Save(stream);
        std::ofstream file = OpenOutput(folder / (name + ".trz"));
        file.write(reinterpret_cast<const char *>(stream.Bytes().data()),
                   static_cast<std::streamsize>(stream.Bytes().size()));
        std::ofstream description = OpenOutput(folder / (name + ".txt"));
        for (const std::string &line : text)
            WriteTextLine(description, line);
    }

    TNetwork network;

private:
    TNode Node(const std::string &name, int x, int y, double elevation_m)
    {
        TNode node;
        node.Name = name;
        node.x = x;
        node.y = y;
        node.Elevation_m = elevation_m;
        return node;
    }

    int AddJoint(TNode &node)
    {
        node.NodeType = tessaran::Joint;
        node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
            network.FluidZones[1].Fluid, network.ConfigOptions.Atmosphere_bar_a,
            network.ConfigOptions.GasFlowTemperaturePressureModel);
        return network.AddNode(node);
    }

    static void SetSchedule40(TPipe &pipe, int dn_mm)
    {
        const auto &sizes = SteelPipeSizes();
        const SteelSchedule &schedule40 = CarbonSteelSchedules()[3];
        for (std::size_t i = 0; i < sizes.size(); ++i)
            if (sizes[i].Dn == dn_mm) {
                pipe.Material = "Steel ANSI";
                pipe.ScheduleClass = schedule40.Name;
                pipe.NominalDiameterMetric = dn_mm;
                pipe.NominalDiameterMetricString = std::to_string(dn_mm) + " mm";
                pipe.NominalDiameterImperialString = std::string(sizes[i].Nps) + "\"";
                pipe.OuterDiameter_m = sizes[i].Od_in * 0.0254;
                pipe.WallThickness_m = schedule40.Wall_in[i] * 0.0254;
                pipe.InnerDiameter_m = pipe.OuterDiameter_m - 2 * pipe.WallThickness_m;
                pipe.InnerRoughness_m = 0.000045;
                const double pi = std::acos(-1.0);
                pipe.WeightPerMetre_kg = 7850 * pi * (pipe.OuterDiameter_m - pipe.WallThickness_m) *
                                         pipe.WallThickness_m;
                return;
            }
        std::cerr << "no schedule 40 pipe of " << dn_mm << " mm\n";
        std::exit(1);
    }
};

TFluid Fluid(const std::string &name, const std::string &formula, double t_C, double density, double centipoise,
            double vapourPressure_bar_a, double ratio, bool gas)
{
    TFluid fluid;
    fluid.name = name;
    fluid.chemicalFormula = formula;
    fluid.degrees_K = t_C + 273.15;
    fluid.pressure_bar_g = 0;
    fluid.density_kgs_m3 = density;
    fluid.centipoise = centipoise;
    fluid.centistokes = centipoise / density * 1000;
    fluid.vapourPressure_bar_a = vapourPressure_bar_a;
    fluid.specificHeatRatio = ratio;
    fluid.FluidIsGas = gas;
    fluid.compressedFlowFactor = 1;
    return fluid;
}

TFluid Water20C() { return Fluid("Water", "H2O", 20, 998.207, 1.0016, 0.023393, 0, false); }

TPump GenericPump(const GenericPumpSize &size, int speed_rpm)
{
    TPump pump;
    const std::string sizeText = std::to_string(size.DischargeDn_mm) + "-" + std::to_string(size.Impeller_mm);
    MakeGenericPump(pump, "ES " + sizeText + " " + std::to_string(speed_rpm), "End suction", size, speed_rpm, 1,
                    998.207);
    return pump;
}

void GravityTransfer(const std::filesystem::path &folder)
{
    Example e(Water20C());
    const int upper = e.Tank("Upper reservoir", 200, 200, 50, 3);
    const int joint = e.Joint("Village take-off", 350, 250, 30, 20);
    const int lower = e.Tank("Lower tank", 500, 300, 10, 2);
    e.Pipe(upper, joint, "Main 150", 400, 150, {{"Entr", 1}, {"Elb90", 4}, {"Gate", 1}});
    e.Pipe(joint, lower, "Main 100", 300, 100, {{"Elb90", 2}, {"Gate", 1}, {"ExitCon", 1, ExitFitting}});
    e.Save(folder, "Common_Gravity_Transfer",
           {"Gravity transfer between two reservoirs",
            "",
            "Water at 20 °C runs from an upper reservoir (50 m) to a lower tank (10 m) through",
            "400 m of 150 mm and 300 m of 100 mm schedule 40 steel pipe. A take-off on the way",
            "draws 20 m³/h. Fittings on each pipe: entrance, elbows, gate valves and the exit.",
            "",
            "Calculate to see how the flow divides and the pressure at the take-off."});
}

void PumpedTransfer(const std::filesystem::path &folder)
{
    Example e(Water20C());
    const int sump = e.Tank("Sump", 200, 300, 0, 2);
    const int discharge = e.Joint("Pump discharge", 310, 300, 0);
    const int top = e.Tank("Storage tank", 550, 175, 35, 3);
    const int suction = e.Pipe(sump, discharge, "Suction", 8, 150, {{"Entr", 1}, {"Gate", 1}});
    e.Pump(suction, GenericPump({65, 200}, 2900));
    e.Pipe(discharge, top, "Rising main", 500, 150,
           {{"SwChk", 1}, {"Gate", 1}, {"Elb90", 6}, {"ExitCon", 1, ExitFitting}});
    e.Save(folder, "Common_Pumped_Transfer",
           {"Pumped transfer to a storage tank",
            "",
            "A generic end-suction pump (65-200, 2900 rpm) lifts water from a sump to a storage",
            "tank 35 m higher through 500 m of 150 mm schedule 40 steel pipe with a check valve,",
            "gate valves and elbows.",
            "",
            "Calculate to find the pump's duty point and the NPSH available at its suction."});
}

void LoopedDistribution(const std::filesystem::path &folder)
{
    Example e(Water20C());
    const int reservoir = e.Tank("Reservoir", 175, 175, 60, 4);
    const int j1 = e.Joint("J1", 300, 225, 20, 30);
    const int j2 = e.Joint("J2", 450, 225, 18, 25);
    const int j3 = e.Joint("J3", 450, 350, 15, 20);
    const int j4 = e.Joint("J4", 300, 350, 22, 15);
    const int j5 = e.Joint("J5", 300, 450, 25, 10);
    e.Pipe(reservoir, j1, "Trunk main", 800, 200, {{"Entr", 1}, {"Gate", 1}, {"Elb90", 2}});
    e.Pipe(j1, j2, "P2", 600, 150, {{"TeeRun", 1}});
    e.Pipe(j2, j3, "P3", 500, 100, {{"Elb90", 1}});
    e.Pipe(j1, j4, "P4", 500, 150, {{"TeeBr", 1}});
    e.Pipe(j4, j3, "P5", 600, 100, {{"TeeRun", 1}});
    e.Pipe(j4, j5, "Branch", 400, 80, {{"TeeBr", 1}, {"Gate", 1}});
    e.Save(folder, "General_Looped_Distribution",
           {"Looped water distribution",
            "",
            "A reservoir feeds a ring main of four junctions and a branch, with demands from",
            "10 to 30 m³/h at elevations between 15 and 25 m.",
            "",
            "Calculate to see the flows round the loop and the pressures at the demands."});
}

void PressureReducing(const std::filesystem::path &folder)
{
    Example e(Water20C());
    const int tank = e.Tank("Hill reservoir", 175, 175, 90, 3);
    const int valve = e.Joint("Valve outlet", 325, 250, 20);
    const int a = e.Joint("Estate A", 475, 225, 15, 18);
    const int b = e.Joint("Estate B", 475, 350, 12, 12);
    const int supply = e.Pipe(tank, valve, "Supply main", 1200, 150, {{"Entr", 1}, {"Gate", 1}, {"Elb90", 3}});
    e.PressureReducingValve(supply, 3.0);
    e.Pipe(valve, a, "To A", 300, 100, {{"TeeRun", 1}});
    e.Pipe(valve, b, "To B", 400, 80, {{"TeeBr", 1}});
    e.Save(folder, "General_Pressure_Reducing_Valve",
           {"Pressure reducing valve",
            "",
            "A reservoir 90 m up would give more than 6 bar at the estates below it. A pressure",
            "reducing valve at the end of the supply main holds 3 bar g at its outlet.",
            "",
            "Calculate to see the valve's pressure drop and the pressures at both estates."});
}

void IsometricCooling(const std::filesystem::path &folder)
{
    Example e(Water20C());
    // Drawn on the isometric grid: runs follow its 30 deg axes.
    e.network.IsometricDrawing = true;
    const int basin = e.Tank("Tower basin", 150, 300, 0, 1.5);
    const int pump = e.Joint("Pump outlet", 235, 349, 0);
    const int riser = e.Joint("Riser foot", 365, 424, 0);
    const int top = e.Joint("Riser top", 365, 274, 12);
    const int spray = e.Tank("Tower distribution", 560, 161, 14, 0.5);
    const int suction = e.Pipe(basin, pump, "Suction", 5, 200, {{"Entr", 1}, {"Gate", 1}});
    e.Pump(suction, GenericPump({80, 250}, 1450));
    e.Pipe(pump, riser, "Header", 60, 150, {{"SwChk", 1}, {"Gate", 1}, {"Elb90", 2}});
    e.Pipe(riser, top, "Riser", 12, 150, {{"Elb90", 2}});
    e.Pipe(top, spray, "Tower feed", 40, 150, {{"Elb90", 2}, {"ExitCon", 1, ExitFitting}});
    e.Save(folder, "Isometric_Cooling_Water",
           {"Cooling water circuit (isometric drawing)",
            "",
            "A generic pump (80-250, 1450 rpm) draws from a cooling tower basin and delivers",
            "to the tower's distribution trough 14 m up, through a header and a vertical riser.",
            "The network is drawn in the isometric view.",
            "",
            "Calculate to find the circulating flow and the pump's duty point."});
}

void CompressedAirRing(const std::filesystem::path &folder)
{
    TFluid air;
    air.SetToAir();
    Example e(air);
    e.network.ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
    const int compressor = e.Tank("Compressor", 175, 200, 0, 0, 7);
    const int r1 = e.GasJoint("Ring 1", 300, 200, 0);
    const int r2 = e.GasJoint("Workshop", 450, 200, 0.3);
    const int r3 = e.GasJoint("Paint shop", 450, 350, 0.2);
    const int r4 = e.GasJoint("Stores", 300, 350, 0.1);
    const int outlet = e.EndPressure("Test bay", 575, 350, 0, 2);
    e.Pipe(compressor, r1, "Main", 500, 150);
    e.Pipe(r1, r2, "Ring N", 300, 100);
    e.Pipe(r2, r3, "Ring E", 400, 80);
    e.Pipe(r1, r4, "Ring W", 350, 100);
    e.Pipe(r4, r3, "Ring S", 300, 80);
    e.Pipe(r3, outlet, "To test bay", 600, 100);
    e.Save(folder, "Gases_Compressed_Air_Ring",
           {"Compressed air ring main",
            "",
            "A compressor delivers air at 7 bar g into a ring main serving three workshops",
            "(0.1 to 0.3 kg/s each); a test bay at the far end is held at 2 bar g.",
            "",
            "Calculated with the compressible flow-adjust method: the air expands and speeds up",
            "along each pipe as its pressure falls."});
}

void NaturalGasSupply(const std::filesystem::path &folder)
{
    // Natural gas of the shipped gas table at 15 deg C and 0 bar g.
    Example e(Fluid("Natural gas", "CH4 + C2H6", 15, 0.757, 0.0110, 0, 1.294, true));
    e.network.ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
    const int station = e.Tank("Regulator station", 175, 250, 0, 0, 4);
    const int tee = e.GasJoint("Tee", 325, 250, 0);
    const int boilers = e.GasJoint("Boiler house", 475, 175, 0.15);
    const int kilns = e.GasJoint("Kilns", 475, 325, 0.08);
    const int canteen = e.EndPressure("Canteen", 575, 400, 0, 0.5);
    e.Pipe(station, tee, "Main", 800, 100);
    e.Pipe(tee, boilers, "Boiler branch", 250, 80);
    e.Pipe(tee, kilns, "Kiln branch", 300, 50);
    e.Pipe(kilns, canteen, "Canteen branch", 200, 50);
    e.Save(folder, "Gases_Natural_Gas_Supply",
           {"Natural gas supply to a works",
            "",
            "A regulator station at 4 bar g feeds a boiler house and kilns; the canteen at the",
            "end of the line is held at 0.5 bar g.",
            "",
            "Calculated with the compressible flow-adjust method."});
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path data = DataFolderArgument(argc, argv);
    const std::filesystem::path liquids = FreshFolder(data, "ExampleSystems");
    const std::filesystem::path gases = FreshFolder(data, "ExampleSystemsCompressible");
    GravityTransfer(liquids);
    PumpedTransfer(liquids);
    LoopedDistribution(liquids);
    PressureReducing(liquids);
    IsometricCooling(liquids);
    CompressedAirRing(gases);
    NaturalGasSupply(gases);
    return 0;
}
