#pragma once
// A small network with results written straight into its pipes and nodes,
// as a calculation would leave them, for the result texts and tables.
//
//   Tank T (10 m) --P1--> Joint J (0 m) --P2--> End-pressure E (5 m)
//                                J --P3--> Joint K (0 m)
//
// Zone 1 holds a liquid of density 1000 kg/m3, so that 1 bar is
// 100000 / (1000 x 9.80665) m of fluid. The atmosphere is 1 bar.

#include "Network_Fixture.h"

#include "network/Network_Class.h"

#include <string>
#include <vector>

namespace tessaran::test {

struct ResultNetwork {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    TNetwork &N = *Network;
    int T = 0, J = 0, E = 0, K = 0;
    int P1 = 0, P2 = 0, P3 = 0;

    ResultNetwork()
    {
        N.ConfigOptions.Atmosphere_bar_a = 1.0;
        TFluid &liquid = N.FluidZones[1].Fluid;
        liquid.name = "Liquid";
        liquid.density_kgs_m3 = 1000;
        liquid.vapourPressure_bar_a = 0.5;

        T = AddJoint(N, 0, 0, Tank);
        J = AddJoint(N, 400, 0, Joint);
        E = AddJoint(N, 800, 0, EndPressure);
        K = AddJoint(N, 400, 400, Joint);
        SetNode(T, 10, 1.0);
        SetNode(J, 0, 2.0);
        SetNode(E, 5, 1.5);
        SetNode(K, 0, 1.8);
        N.GetNode(T).Name = "T";
        N.GetNode(J).Name = "J";
        N.GetNode(E).Name = "E";
        N.GetNode(K).Name = "K";
        N.GetNode(T).LiquidLevel_m = 2;

        P1 = AddPipeBetween(N, T, J);
        P2 = AddPipeBetween(N, J, E);
        P3 = AddPipeBetween(N, J, K);
        for (int id : {P1, P2, P3}) {
            TPipe &pipe = N.GetPipe(id);
            pipe.Name = "P" + std::to_string(id);
            pipe.Length_m = 100;
            pipe.InnerDiameter_m = 0.1;
            pipe.InnerRoughness_m = 0.000045;
            pipe.FlowType = "Turbulent";
        }
        N.GetPipe(P1).FlowUncompressed_m3s = 0.03;
        N.GetPipe(P2).FlowUncompressed_m3s = 0.02;
        N.GetPipe(P3).FlowUncompressed_m3s = 0.01;
    }

    void SetNode(int id, double elevation_m, double pressure_bar_g)
    {
        N.GetNode(id).Elevation_m = elevation_m;
        N.GetNode(id).Pressure_Bar_g = pressure_bar_g;
    }

    TPipe &Pipe(int id) { return N.GetPipe(id); }

    // Adds a closed pipe between J and K.
    int AddClosedPipe(const std::string &name)
    {
        const int id = AddPipeBetween(N, J, K);
        N.GetPipe(id).Name = name;
        N.RemoveNodeLinkAddClosedPipeLink(id);
        return id;
    }

    // Turns zone 1 into a gas, making the network an all-gas one.
    void MakeGas()
    {
        N.FluidZones[1].Fluid.SetToAir();
    }
};

// A cleared grid as the callers pass it.
inline TStringGrid NewGrid() { return TStringGrid(30, 40); }

// The non-empty texts of a grid row from column 0 to the last written one.
inline std::vector<std::string> Headings(const TStringGrid &grid, int row)
{
    std::vector<std::string> texts = grid.Row(row);
    while (!texts.empty() && texts.back().empty())
        texts.pop_back();
    return texts;
}

inline int WrittenColumns(const TStringGrid &grid, int row) { return static_cast<int>(Headings(grid, row).size()); }

} // namespace tessaran::test
