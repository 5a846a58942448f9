#pragma once
// An independent steady-state solver for liquid networks of plain pipes,
// joints and tanks, written from first principles for the tests: unknown
// heads at the joints, each pipe's flow from the head difference across it
// by the Darcy-Weisbach law with the system's friction factor, and Newton's
// method on the joints' mass balances with a dense elimination. Pipes carry
// no pumps, valves, fittings or components.

#include "units/Calculations.h"
#include "units/Constants.h"

#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace tessaran::test {

struct RefNode {
    bool Fixed = false;     // a tank: its head is given
    double Head_m = 0;      // given for a tank, solved for a joint
    double Elevation_m = 0; // for the pressure
    double Demand_m3s = 0;  // out of a joint
};

struct RefPipe {
    int From = 0, To = 0;
    double Length_m = 0, Diameter_m = 0, Roughness_m = 0;
};

class ReferenceLiquidSolver {
public:
    ReferenceLiquidSolver(double density, double viscosity_cP) : density_(density), viscosity_(viscosity_cP) {}

    std::map<int, RefNode> Nodes; // by node id
    std::map<int, RefPipe> Pipes; // by pipe id
    std::map<int, double> Flow_m3s; // result, positive from From to To
    double LargestImbalance_m3s = 0; // of the joints at the last iteration

    // Flow through a pipe for a head difference (from minus to).
    double PipeFlow(const RefPipe &pipe, double headDifference_m) const
    {
        if (headDifference_m == 0)
            return 0;
        const double area = std::numbers::pi * pipe.Diameter_m * pipe.Diameter_m / 4;
        const double h = std::fabs(headDifference_m);
        double q = area; // 1 m/s to start
        for (int i = 0; i < 200; ++i) {
            const double velocity = q / area;
            const double reynolds = calcReynoldsNumber(velocity, pipe.Diameter_m, viscosity_, density_, 1.0);
            const double f = calcFrictionFactor(reynolds, pipe.Diameter_m, pipe.Roughness_m);
            const double next = area * std::sqrt(TwoGravity_ms2 * h * pipe.Diameter_m / (f * pipe.Length_m));
            const bool done = std::fabs(next - q) <= 1e-15 * next;
            q = next;
            if (done)
                break;
        }
        return headDifference_m > 0 ? q : -q;
    }

    void Solve()
    {
        std::vector<int> joints;
        std::map<int, int> index;
        double headSum = 0;
        int fixed = 0;
        for (const auto &[id, node] : Nodes) {
            if (node.Fixed) {
                headSum += node.Head_m;
                ++fixed;
            } else {
                index[id] = static_cast<int>(joints.size());
                joints.push_back(id);
            }
        }
        if (fixed == 0)
            throw std::runtime_error("reference: no fixed head");
        for (int id : joints)
            Nodes[id].Head_m = headSum / fixed;

        const int n = static_cast<int>(joints.size());
        for (int iteration = 0; iteration < 500; ++iteration) {
            std::vector<double> residual(n, 0.0);
            std::vector<std::vector<double>> jacobian(n, std::vector<double>(n, 0.0));
            for (int j = 0; j < n; ++j)
                residual[j] = -Nodes[joints[j]].Demand_m3s;
            for (const auto &[id, pipe] : Pipes) {
                const double dh = Nodes[pipe.From].Head_m - Nodes[pipe.To].Head_m;
                const double q = PipeFlow(pipe, dh);
                const double step = 1e-7 * std::max(1.0, std::fabs(dh));
                const double dq = (PipeFlow(pipe, dh + step) - PipeFlow(pipe, dh - step)) / (2 * step);
                const auto from = index.find(pipe.From);
                const auto to = index.find(pipe.To);
                if (from != index.end()) {
                    residual[from->second] -= q;
                    jacobian[from->second][from->second] -= dq;
                    if (to != index.end())
                        jacobian[from->second][to->second] += dq;
                }
                if (to != index.end()) {
                    residual[to->second] += q;
                    jacobian[to->second][to->second] -= dq;
                    if (from != index.end())
                        jacobian[to->second][from->second] += dq;
                }
            }
            double largest = 0;
            for (double r : residual)
                largest = std::max(largest, std::fabs(r));
            LargestImbalance_m3s = largest;
            if (largest < 1e-14)
                break;
            const std::vector<double> change = SolveDense(jacobian, residual);
            for (int j = 0; j < n; ++j)
                Nodes[joints[j]].Head_m -= change[j];
        }
        Flow_m3s.clear();
        for (const auto &[id, pipe] : Pipes)
            Flow_m3s[id] = PipeFlow(pipe, Nodes[pipe.From].Head_m - Nodes[pipe.To].Head_m);
    }

    double Pressure_bar_g(int nodeId) const
    {
        const RefNode &node = Nodes.at(nodeId);
        return (node.Head_m - node.Elevation_m) * density_ * Gravity_ms2 / 1e5;
    }

private:
    static std::vector<double> SolveDense(std::vector<std::vector<double>> a, std::vector<double> b)
    {
        const int n = static_cast<int>(b.size());
        for (int k = 0; k < n; ++k) {
            int pivot = k;
            for (int i = k + 1; i < n; ++i)
                if (std::fabs(a[i][k]) > std::fabs(a[pivot][k]))
                    pivot = i;
            std::swap(a[k], a[pivot]);
            std::swap(b[k], b[pivot]);
            if (a[k][k] == 0)
                throw std::runtime_error("reference: singular");
            for (int i = k + 1; i < n; ++i) {
                const double factor = a[i][k] / a[k][k];
                for (int j = k; j < n; ++j)
                    a[i][j] -= factor * a[k][j];
                b[i] -= factor * b[k];
            }
        }
        std::vector<double> x(n);
        for (int i = n - 1; i >= 0; --i) {
            double sum = b[i];
            for (int j = i + 1; j < n; ++j)
                sum -= a[i][j] * x[j];
            x[i] = sum / a[i][i];
        }
        return x;
    }

    double density_, viscosity_;
};

} // namespace tessaran::test
