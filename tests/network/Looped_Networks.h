#pragma once
// Small looped networks whose rings pass through tanks, shared by the loop
// finder's tests and the tests that hold solutions to recorded ones.

#include "Network_Solver_Fixture.h"

#include <functional>
#include <vector>

namespace tessaran::test {

// Networks whose rings pass through tanks, with demands at the joints,
// tanks at different levels and pipes of different sizes.
struct ThroughFixedCase {
    const char *Name;
    std::function<void(SolverNetwork &)> Build;
};

inline std::vector<ThroughFixedCase> ThroughFixedCases()
{
    return {
        {"two pipes side by side from a tank to a demand",
         [](SolverNetwork &s) {
             const int t = s.Tank(30), a = s.Joint(0, 0.02);
             s.Pipe(t, a, 0.1), s.Pipe(a, t, 0.15, 150);
         }},
        {"ring main through its only tank",
         [](SolverNetwork &s) {
             const int t = s.Tank(30), a = s.Joint(0, 0.01), b = s.Joint(2, 0.015);
             s.Pipe(t, a), s.Pipe(a, b, 0.08), s.Pipe(b, t, 0.12, 250);
         }},
        {"ring of four joints fed by one tank on it",
         [](SolverNetwork &s) {
             const int t = s.Tank(25);
             int j[4];
             const double demands[] = {0.004, 0.006, 0.003, 0.005};
             for (int i = 0; i < 4; ++i)
                 j[i] = s.Joint(1, demands[i]);
             s.Pipe(t, j[0], 0.12), s.Pipe(j[0], j[1], 0.1), s.Pipe(j[2], j[1], 0.08), s.Pipe(j[2], j[3], 0.1),
                 s.Pipe(j[3], t, 0.15);
         }},
        {"grid with its one tank at the centre",
         [](SolverNetwork &s) {
             int j[3][3];
             for (int r = 0; r < 3; ++r)
                 for (int c = 0; c < 3; ++c)
                     j[r][c] = r == 1 && c == 1 ? s.Tank(20) : s.Joint(0, 0.001 * (1 + r + c));
             for (int r = 0; r < 3; ++r)
                 for (int c = 0; c < 3; ++c) {
                     if (c < 2)
                         s.Pipe(j[r][c], j[r][c + 1], 0.05 + 0.01 * r);
                     if (r < 2)
                         s.Pipe(j[r + 1][c], j[r][c], 0.06 + 0.01 * c);
                 }
         }},
        {"two tanks each joined to two joints",
         [](SolverNetwork &s) {
             const int t1 = s.Tank(30), a = s.Joint(0, 0.01), b = s.Joint(0, 0.005), t2 = s.Tank(10);
             s.Pipe(t1, a), s.Pipe(a, t2, 0.08), s.Pipe(t1, b, 0.12), s.Pipe(b, t2);
         }},
        {"two pipes side by side between two tanks",
         [](SolverNetwork &s) {
             const int t1 = s.Tank(30), t2 = s.Tank(10);
             s.Pipe(t1, t2, 0.1), s.Pipe(t1, t2, 0.05);
         }},
        {"three tanks whose paths close a ring already held",
         [](SolverNetwork &s) {
             const int t1 = s.Tank(30), t2 = s.Tank(20), t3 = s.Tank(25), a = s.Joint(0, 0.01),
                       b = s.Joint(0, 0.02);
             s.Pipe(t3, t1), s.Pipe(t1, a), s.Pipe(a, t2), s.Pipe(a, b), s.Pipe(t1, b), s.Pipe(t1, a, 0.05),
                 s.Pipe(t3, b), s.Pipe(t2, b);
         }},
    };
}

} // namespace tessaran::test
