#pragma once
// Seeded liquid networks shared by the solver benchmark and the tests that
// hold the solver's results to recorded ones: a grid of joints fed by four
// tanks with dead-end branches, and an irregular network with a pump,
// fittings, several tanks and pipes in the laminar and transitional ranges.

#include "network/Network_Class.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran::test {

inline int AddBenchmarkNode(TNetwork &network, TNodeType type, double elevation, double level, double discharge,
                            int x, int y)
{
    TNode node;
    node.NodeType = type;
    node.Name = "N" + std::to_string(network.GetNodeCount() + 1);
    node.Elevation_m = elevation;
    node.LiquidLevel_m = level;
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointDischarge_m3s = discharge;
    node.x = x;
    node.y = y;
    const int id = network.AddNode(node);
    network.GetNode(id).SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        network.FluidZones[1].Fluid, network.ConfigOptions.Atmosphere_bar_a,
        network.ConfigOptions.GasFlowTemperaturePressureModel);
    return id;
}

// About `pipes` pipes: the largest near-square grid that leaves room for the
// four tank pipes, then dead-end branches.
inline std::unique_ptr<TNetwork> GridNetwork(int pipes, unsigned seed, TUserInterfaceSeam *ui)
{
    constexpr int tanks = 4;
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto network = std::make_unique<TNetwork>();
    network->UserInterface = ui;

    int rows = 2, columns = 2;
    while (true) {
        int r = rows, c = columns;
        if (c <= r)
            ++c;
        else
            ++r;
        if (r * (c - 1) + c * (r - 1) + tanks > pipes)
            break;
        rows = r;
        columns = c;
    }
    const int joints = rows * columns;
    const double demand = 0.25 / joints;
    std::vector<int> ids;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            ids.push_back(
                AddBenchmarkNode(*network, Joint, uniform(0, 5), 0, demand * uniform(0.5, 1.5), 100 * c, 100 * r));

    int count = 0;
    auto pipe = [&](int a, int b, double diameter) {
        if (std::uniform_int_distribution<int>(0, 1)(random) == 1)
            std::swap(a, b);
        TPipe p;
        p.Length_m = uniform(50, 400);
        p.InnerDiameter_m = diameter;
        p.InnerRoughness_m = 0.000046;
        if (network->AddPipeLink(a, b, p) < 1)
            throw std::runtime_error("network full");
        ++count;
    };
    static const double diameters[] = {0.1, 0.125, 0.15, 0.2};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int here = ids[static_cast<std::size_t>(r * columns + c)];
            if (c + 1 < columns)
                pipe(here, ids[static_cast<std::size_t>(r * columns + c + 1)], diameters[random() % 4]);
            if (r + 1 < rows)
                pipe(here, ids[static_cast<std::size_t>((r + 1) * columns + c)], diameters[random() % 4]);
        }
    const int corners[tanks] = {0, columns - 1, joints - columns, joints - 1};
    for (int t = 0; t < tanks; ++t) {
        const int tank = AddBenchmarkNode(*network, Tank, uniform(30, 40), 2, 0, -200, 100 * t);
        pipe(tank, ids[static_cast<std::size_t>(corners[t])], 0.4);
    }
    for (int i = 0; count < pipes; ++i) {
        const int from = ids[static_cast<std::size_t>((i * 7919) % joints)];
        const int leaf = AddBenchmarkNode(*network, Joint, uniform(0, 5), 0, demand * 0.2, 100 * columns + 50 * i, 0);
        pipe(from, leaf, 0.1);
    }
    return network;
}

// A town-like network of about `pipes` pipes: joints scattered over a square,
// each joined to its nearest earlier joint and some to a second one nearby
// (so loops of every size), three tanks at the edge (one through a pump with
// a curve), fittings on every fifth pipe, and thin service pipes to small
// demands whose flows are laminar or transitional.
inline std::unique_ptr<TNetwork> IrregularNetwork(int pipes, unsigned seed, TUserInterfaceSeam *ui)
{
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto network = std::make_unique<TNetwork>();
    network->UserInterface = ui;
    TNetwork &n = *network;

    struct Point {
        int Id;
        double X, Y;
    };
    std::vector<Point> joints;
    const int mains = pipes * 6 / 10;       // joints of the main network
    const int services = pipes * 15 / 100;  // thin dead ends
    const double demand = 0.2 / mains;
    int count = 0;
    auto pipe = [&](int a, int b, double length, double diameter) {
        if (std::uniform_int_distribution<int>(0, 1)(random) == 1)
            std::swap(a, b);
        TPipe p;
        p.Length_m = std::max(length, 5.0);
        p.InnerDiameter_m = diameter;
        p.InnerRoughness_m = 0.000046;
        const int id = n.AddPipeLink(a, b, p);
        if (id < 1)
            throw std::runtime_error("network full");
        ++count;
        return id;
    };
    static const double diameters[] = {0.08, 0.1, 0.125, 0.15, 0.2, 0.25};
    auto distance = [](const Point &a, const Point &b) { return std::hypot(a.X - b.X, a.Y - b.Y); };
    for (int i = 0; i < mains; ++i) {
        Point p{0, uniform(0, 3000), uniform(0, 3000)};
        p.Id = AddBenchmarkNode(n, Joint, uniform(0, 10), 0, demand * uniform(0.2, 1.8), static_cast<int>(p.X),
                                static_cast<int>(p.Y));
        if (!joints.empty()) {
            std::vector<std::size_t> order(joints.size());
            for (std::size_t k = 0; k < order.size(); ++k)
                order[k] = k;
            const std::size_t nearest = std::min<std::size_t>(3, order.size());
            std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(nearest), order.end(),
                              [&](std::size_t a, std::size_t b) { return distance(p, joints[a]) < distance(p, joints[b]); });
            pipe(joints[order[0]].Id, p.Id, distance(p, joints[order[0]]), diameters[random() % 6]);
            if (nearest > 1 && count < pipes - services - 3 && uniform(0, 1) < 0.55)
                pipe(joints[order[1]].Id, p.Id, distance(p, joints[order[1]]), diameters[random() % 4]);
        }
        joints.push_back(p);
    }
    // Tanks, the first through a pump.
    const double tankX[] = {-100, 3100, 1500}, tankY[] = {1500, 1500, -100};
    for (int t = 0; t < 3; ++t) {
        const Point tank{AddBenchmarkNode(n, Tank, t == 0 ? 5 : uniform(40, 50), 3, 0, static_cast<int>(tankX[t]),
                                          static_cast<int>(tankY[t])),
                         tankX[t], tankY[t]};
        std::size_t nearest = 0;
        for (std::size_t k = 1; k < joints.size(); ++k)
            if (distance(tank, joints[k]) < distance(tank, joints[nearest]))
                nearest = k;
        const int id = pipe(tank.Id, joints[nearest].Id, distance(tank, joints[nearest]), 0.4);
        if (t == 0) {
            TPipe &p = n.GetPipe(id);
            // The pump needs the pipe drawn from the tank.
            int from = 0, to = 0;
            n.GetFromAndToNodeIds(id, from, to);
            if (from != tank.Id)
                n.ReversePipeLink(id);
            TPump pump;
            pump.Name = "Booster";
            pump.PumpType = PumpFixedSpeed;
            pump.Speed_rpm = 1450;
            for (int i = 0; i < 4; ++i)
                pump.AddPumpCurvePointFlowm3s(0.05 * i, 55 - 400.0 * 0.05 * i * 0.05 * i, 70, 2, 1000);
            p.AddPump(pump);
            p.PumpUseInCalc = true;
        }
    }
    // Fittings on every fifth pipe.
    TFitting elbow;
    elbow.SetFittingData(100, 3, "E90", "100 mm", "4 in", "Elbow", 0.75);
    for (int id = n.GetNextPipeId(0), k = 0; id > 0; id = n.GetNextPipeId(id), ++k)
        if (k % 5 == 0) {
            n.GetPipe(id).FittingSet.AddFitting(elbow, 2, EntryFitting);
            n.GetPipe(id).FittingsUseInCalc = true;
        }
    // Thin service pipes to small demands: laminar at the smallest,
    // transitional at the larger ones.
    for (int i = 0; count < pipes; ++i) {
        const Point &from = joints[static_cast<std::size_t>((i * 7919) % static_cast<int>(joints.size()))];
        const double flow = i % 2 == 0 ? 2e-5 : 1.2e-4;
        const int leaf = AddBenchmarkNode(n, Joint, uniform(0, 10), 0, flow, static_cast<int>(from.X) + 10,
                                          static_cast<int>(from.Y) + 10);
        pipe(from.Id, leaf, 20, 0.04);
    }
    return network;
}

} // namespace tessaran::test
