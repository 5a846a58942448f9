#pragma once
// Hydraulic formulas of incompressible pipe flow, in SI units: lengths and
// diameters in m, velocities in m/s, volume flows in m3/s, mass flows in kg/s,
// densities in kg/m3, viscosity in centipoise, heads in m of the flowing
// fluid, pressures in bar. None of them raises: a diameter that is not
// positive gives 0 where noted; other divisors are the caller's to keep
// non-zero. The gas formulas are in Gas_Calculations.h, the three-point fit
// in Quadratic_Curves.h.

#include "units/Quadratic_Curves.h"

#include <string>

namespace tessaran {

double calcReynoldsNumber(double Velocity_ms, double InnerDiameter_m, double Viscosity_cP, double Density_kgm3,
                          double VelocityFactor);
double calcFlowFromVelocity(double Velocity_ms, double InnerDiameter_m, double VelocityFactor);
double calcVelocity(double Flow_m3s, double InnerDiameter_m, double VelocityFactor);
double calcVelocityFromMassFlow(double MassFlow_kgs, double Density_kgm3, double InnerDiameter_m);

// The wall of a pipe as the turbulent friction law sees it. It depends on the
// bore and the roughness only, so a caller that works out many friction
// factors of one pipe keeps it; each form below gives bit for bit the same
// factor from the wall as from the bore and roughness.
struct TFrictionWall {
    bool Possible = false;         // a finite roughness of 0 or more, less than a finite positive bore
    double RelativeRoughness = 0;  // e/D
    double StartRoughnessTerm = 0; // (e/D/3.7)^1.11 of the explicit form, 1e-7 standing for e/D/3.7 when it is 0
};
TFrictionWall calcFrictionWall(double InnerDiameter_m, double Roughness_m);

// Explicit friction factor: laminar, critical, or the explicit turbulent form.
double calcFrictionFactorStart(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m);
double calcFrictionFactorStart(double ReynoldsNumber, const TFrictionWall &Wall);
// Darcy friction factor; above Re 3500 the Colebrook-White equation solved
// iteratively to a residual within 1e-10 and then to the last bits of a
// double, falling back to the explicit value when that does not converge
// (Converged then false).
double calcFrictionFactor(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m);
double calcFrictionFactor(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m, bool &Converged);
double calcFrictionFactor(double ReynoldsNumber, const TFrictionWall &Wall);
double calcFrictionFactor(double ReynoldsNumber, const TFrictionWall &Wall, bool &Converged);
// The factors of Count Reynolds numbers, each of its own wall, each
// calcFrictionFactor(Reynolds[i], *Walls[i]); the turbulent ones are solved
// side by side, which is faster than one after another. Roots (in and out,
// may be null) carries sqrt(f) of each turbulent factor from one call to the
// next (0 for none): a solve starts from the root an earlier one left, which
// near a solution saves most of its steps and lands on the same root.
void calcFrictionFactors(int Count, const double *Reynolds, const TFrictionWall *const *Walls, double *Factors,
                         double *Roots = nullptr);
// "Laminar", "Critical" or "Turbulent".
std::string calcFlowRegime(double ReynoldsNumber);

// Losses keep the sign of the velocity.
double calcDarcyHeadLoss(double FrictionFactor, double Length_m, double InnerDiameter_m, double Velocity_ms);
double calcFittingHeadLoss(double K, double Velocity_ms);
// Derivatives by the mass flow (bar per kg/s) of the signed losses, never
// negative for positive coefficients.
// The denominator of that derivative, d^5·π²·ρ·1e5, for a caller that keeps it per pipe.
long double calcDarcyDerivativeDenominator(double InnerDiameter_m, double Density_kgm3);
double calcDarcyPressureLossDerivative(double MassFlow_kgs, double Length_m, double InnerDiameter_m,
                                       double FrictionFactor, double Density_kgm3);
// R with head = R × flow².
double calcFittingFlowResistance(double K, double InnerDiameter_m);
double calcFittingLossDerivative(double Resistance, double MassFlow_kgs, double Density_kgm3);
double calcFrictionFactorFromTransmissionFactor(double TransmissionFactor);

// Pump power in kW (and HP) of a flow in m3/s against a head in m.
double calcPumpPower(double Flow_m3s, double Head_m, double Density_kgm3);
double calcPumpPowerSigned(double Flow_m3s, double Head_m, double Density_kgm3);
double calcPumpPowerHP(double Flow_m3s, double Head_m, double Density_kgm3);

// Loss coefficients equivalent to a valve's Kv (m3/h at 1 bar), Cv (US gpm at
// 1 psi) and a sprinkler's K (l/min at 1 bar) in a pipe of the given bore.
double calcKFromKv(double Kv, double InnerDiameter_m);
double calcKFromCv(double Cv, double InnerDiameter_m);
double calcKFromSprinklerK(double SprinklerK, double InnerDiameter_m);

// Weight of a pipe in kg/m from its diameters and its material density in lb/in3, and back.
double calcPipeWeightPerLength(double InnerDiameter_m, double OuterDiameter_m, double MaterialDensity_lb_in3);
double calcMaterialDensityFromPipeWeight(double InnerDiameter_m, double OuterDiameter_m, double Weight_kg_m);

// Linear-theory coefficients of a pipe: pressure loss (bar) = K × m^N.
void calcLinearTheoryPipeKN(double Length_m, double MassFlow_kgs, double InnerDiameter_m, double Roughness_m,
                            double Viscosity_cP, double Density_kgm3, double VelocityFactor, double &K, double &N);
void calcLinearTheoryPipeKN(double Length_m, double MassFlow_kgs, double InnerDiameter_m, const TFrictionWall &Wall,
                            double Viscosity_cP, double Density_kgm3, double VelocityFactor, double &K, double &N);
// The coefficients of Count pipes at once, K[i] and N[i] those the forms above
// give pipe i alone (bit for bit where no roots are carried); Wall must point
// at the pipe's wall.
struct TLinearTheoryPipe {
    double Length_m = 0, MassFlow_kgs = 0, InnerDiameter_m = 0;
    const TFrictionWall *Wall = nullptr;
    double Viscosity_cP = 0, Density_kgm3 = 0, VelocityFactor = 1;
    // Two, in and out, may be null: sqrt(f) at the two points, carried from
    // one call to the next as the friction factors' roots are (see
    // calcFrictionFactors).
    double *Roots = nullptr;
    // The pipe's own factors from flow to Reynolds number and from friction
    // factor to loss; zero has them worked out in the call.
    double PerFlow = 0, PerFriction = 0;
};
// Fills in a pipe's own factors (the same numbers the call would work out).
void calcLinearTheoryPipeFactors(TLinearTheoryPipe &Pipe);
// What K is worked out from, kept where K itself is wanted later than the
// pass (K is one power of a flow, and an iteration may need only N and the
// linearised coefficient): K() gives the K the pass would have written.
struct TLinearTheoryKParts {
    double Base = 0, Exponent = 0, Friction = 0, PerFriction = 0;
    double K() const;
};
// KLinear (may be null) takes each pipe's linearised coefficient K·|m|^(N-1)
// for its mass flow m. Where KParts is given, K is left alone and its parts
// go there instead.
void calcLinearTheoryPipesKN(int Count, const TLinearTheoryPipe *Pipes, double *K, double *N,
                             double *KLinear = nullptr, TLinearTheoryKParts *KParts = nullptr);

// The gauge pressure whose absolute value is p's scaled by b ÷ a.
double scaleAbsolutePressure(double a, double b, double Pressure_Bar_g, double Atmosphere_Bar_a);

} // namespace tessaran
