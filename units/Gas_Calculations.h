#pragma once
// Isothermal gas flow equations and gas properties. A gas is given by its
// reference state: density RhoRef (kg/m3) at the gauge pressure PRef (bar.g)
// and temperature T (K). Pressures are bar gauge unless named absolute, the
// atmosphere A is bar absolute, flows are mass flows in kg/s, negative when
// the gas runs from the second end to the first. None of these raises.
//
// The flow equations share one argument list, the "pipe arguments":
//   Tb (K), Pb (Pa abs): the standard conditions of the gas standard flow;
//   E: pipeline efficiency; P1, P2 (bar.g): end pressures; A (bar abs);
//   L, D, e (m): length, inner diameter, roughness; f: Darcy friction factor;
//   RhoRef, PRef, T: the gas reference state; Mu (cP); Z: compressibility.
// Each equation reads only those it needs.

#include "units/Calculation_Enums.h"
#include "units/Calculations.h"

namespace tessaran {

#define TESSARAN_GAS_PIPE_ARGS                                                                                  \
    double Tb, double Pb, double E, double P1, double P2, double A, double L, double D, double e, double f,    \
        double RhoRef, double PRef, double T, double Mu, double Z

double calcCompressibleFlow(TMethodOfCalculationCompressible Equation, TESSARAN_GAS_PIPE_ARGS);
// The same with Z from the model (the last argument is the user's Z factor).
double calcCompressibleFlowWithZ(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                 TESSARAN_GAS_PIPE_ARGS);

double calcCompleteIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcGeneralIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcWeymouthIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcPanhandleAIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcPanhandleBIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcAGAIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);
double calcIGTIsothermalFlow(TESSARAN_GAS_PIPE_ARGS);

double calcAGAFlowForTransmissionFactor(double Tb, double Pb, double P1, double P2, double A, double L, double D,
                                        double RhoRef, double PRef, double T, double Z, double F);
double calcAGATransmissionFactor(double D, double e, double ReynoldsNumber, double DragFactor);
double calcAGAFullyTurbulentTransmissionFactor(double D, double e);
double calcAGAPartiallyTurbulentTransmissionFactor(double ReynoldsNumber, double DragFactor);
double calcAGASmoothPipeTransmissionFactor(double ReynoldsNumber);
double calcAGASmoothPipeTransmissionFactor(double ReynoldsNumber, bool &Converged);

// Pressure drop P1 - P2 at which the equation passes TargetFlow (kg/s), for a
// known inlet pressure P1 (TargetFlow in the place of P2) or a known outlet
// pressure (KnownOutlet in the place of P1, TargetFlow in the place of P2).
// Converged is false when the bisection ended without meeting the target.
double solvePressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TESSARAN_GAS_PIPE_ARGS);
double solvePressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TESSARAN_GAS_PIPE_ARGS,
                                   bool &Converged);
double solvePressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TESSARAN_GAS_PIPE_ARGS);
double solvePressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TESSARAN_GAS_PIPE_ARGS,
                                    bool &Converged);
// The same with Z from the model (the last argument is the user's Z factor).
double calcPressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                  TESSARAN_GAS_PIPE_ARGS);
double calcPressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                  TESSARAN_GAS_PIPE_ARGS, bool &Converged);
double calcPressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                   TESSARAN_GAS_PIPE_ARGS);
double calcPressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                   TESSARAN_GAS_PIPE_ARGS, bool &Converged);

#undef TESSARAN_GAS_PIPE_ARGS

double calcCompressibilityZ(TZCompressibilityModel ZModel, double Pressure_Bar_g, double T, double RhoRef,
                            double PRef, double ReferenceTemperature_K, double UserZ);
double calcCNGACompressibilityForGas(double Pressure_Bar_g, double T, double RhoRef, double PRef,
                                     double ReferenceTemperature_K);
double calcCNGACompressibility(double Pressure_Bar_g, double T, double SpecificGravity);
double calcGasSpecificGravity(double RhoRef, double PRef, double TRef);
double calcMolecularWeight(double Density_kgm3, double Pressure_Bar_g, double T, double A);
double calcSpecificGasConstant(double MolecularWeight);
double calcGasDensity(double RhoRef, double PRef, double TRef, double A, double Pressure_Bar_g, double T);
double calcGasDensityAtPressure(double RhoRef, double PRef, double Z, double Pressure_Bar_g, double A);
double calcAveragePressure(double P1, double P2, double A);
double calcElevationPressureChange(TMethodOfSolution Method, double StartElevation_m, double EndElevation_m,
                                   double StartPressure_Bar_g, double EndPressure_Bar_g, double A, double RhoRef,
                                   double PRef, double Z);
// Fitting loss of a gas at the density of pressure P, as a head of the reference density.
double calcGasFittingHeadLoss(double MassFlow_kgs, double D, double K, double RhoRef, double PRef, double Z,
                              double Pressure_Bar_g, double A);
double calcGasFittingPressureLoss(double MassFlow_kgs, double D, double K, double RhoRef, double PRef, double Z,
                                  double Pressure_Bar_g, double A);
double calcGasFittingPressureLossDerivative(double MassFlow_kgs, double D, double K, double RhoRef, double PRef,
                                            double Z, double Pressure_Bar_g, double A);
double calcSonicVelocity(double SpecificHeatRatio, double Pressure_Bar_g, double Density_kgm3, double A);
double calcCriticalPressureRatio(double SpecificHeatRatio);

void orderEndPressuresHighFirst(double &P1, double &P2, bool &Swapped, double A);
// Absolute end pressures in Pa, the higher first.
void absoluteEndPressuresHighFirst(double &P1_Pa, double &P2_Pa, bool &Swapped, double P1, double P2, double A);

} // namespace tessaran
