#pragma once
// Seeded looped liquid networks: a grid of joints with demands, joined by
// pipes of random size drawn in random directions, fed by several tanks;
// with the same network described for the reference solver.

#include "Liquid_Network_Fixture.h"
#include "Reference_Liquid_Solver.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>

namespace tessaran::test {

struct RandomLiquidNetwork {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    ReferenceLiquidSolver Reference;
    std::vector<int> Joints;

    RandomLiquidNetwork(unsigned seed, int rows, int columns, int tanks)
        : Reference(Network->FluidZones[1].Fluid.density_kgs_m3, Network->FluidZones[1].Fluid.centipoise)
    {
        std::mt19937 random(seed);
        auto uniform = [&](double low, double high) {
            return std::uniform_real_distribution<double>(low, high)(random);
        };
        auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
        TNetwork &network = *Network;

        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const double elevation = uniform(0, 5);
                // About 0.25 m3/s in all, whatever the size of the grid.
                const double demand = uniform(0.5, 1.5) * 0.25 / (rows * columns);
                const int id = AddSolverNode(network, "J" + std::to_string(r) + "_" + std::to_string(c), Joint,
                                             elevation, demand);
                network.GetNode(id).x = 200 * c;
                network.GetNode(id).y = 200 * r;
                Joints.push_back(id);
                Reference.Nodes[id] = RefNode{false, 0, elevation, demand};
            }
        auto pipe = [&](int a, int b, bool main = false) {
            if (pick(2) == 1)
                std::swap(a, b);
            static const double diameters[] = {0.1, 0.125, 0.15, 0.2};
            const double diameter = main ? 0.3 : diameters[pick(4)];
            const double length = uniform(50, 400);
            const int id = AddSolverPipe(network, a, b, length, diameter);
            Reference.Pipes[id] = RefPipe{a, b, length, diameter, network.GetPipe(id).InnerRoughness_m};
        };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const int here = Joints[static_cast<std::size_t>(r * columns + c)];
                if (c + 1 < columns)
                    pipe(here, Joints[static_cast<std::size_t>(r * columns + c + 1)]);
                if (r + 1 < rows)
                    pipe(here, Joints[static_cast<std::size_t>((r + 1) * columns + c)]);
            }
        for (int t = 0; t < tanks; ++t) {
            const double elevation = uniform(25, 40);
            const double level = uniform(1, 5);
            const int tank = AddTank(network, "T" + std::to_string(t), elevation, level);
            network.GetNode(tank).x = -200;
            network.GetNode(tank).y = 200 * t;
            Reference.Nodes[tank] = RefNode{true, elevation + level, elevation, 0};
            pipe(tank, Joints[static_cast<std::size_t>((t * 7919) % static_cast<int>(Joints.size()))], true);
        }
        Reference.Solve();
    }

    int PipeCount() const { return static_cast<int>(Reference.Pipes.size()); }

    // The lowest Reynolds number of the reference flows. Between the laminar
    // and the turbulent law the friction factor jumps, and a network with a
    // flow there need not have one exact solution to compare with.
    double LowestReynoldsNumber() const
    {
        const TFluid &fluid = Network->FluidZones[1].Fluid;
        double lowest = 1e300;
        for (const auto &[id, pipe] : Reference.Pipes) {
            const double velocity = calcVelocity(Reference.Flow_m3s.at(id), pipe.Diameter_m, 1.0);
            lowest = std::min(lowest, std::fabs(calcReynoldsNumber(velocity, pipe.Diameter_m, fluid.centipoise,
                                                                   fluid.density_kgs_m3, 1.0)));
        }
        return lowest;
    }
};

} // namespace tessaran::test
