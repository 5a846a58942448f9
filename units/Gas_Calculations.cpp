#include "units/Gas_Calculations.h"

#include "platform/Pascal.h"
#include "units/Constants.h"
#include "units/Units.h"

#include <cmath>

namespace tessaran {

#define GAS_PIPE_ARGS                                                                                           \
    double Tb, double Pb, double E, double P1, double P2, double A, double L, double D, double e, double f,    \
        double RhoRef, double PRef, double T, double Mu, double Z
#define GAS_PIPE_VALUES Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, Z

namespace {

using LD = long double;

double finiteOr(LD value, double fallback)
{
    return std::isfinite(value) ? static_cast<double>(value) : fallback;
}

// What the standard-flow equations share: the ordered absolute end pressures
// in kPa, Tb/Pb with Pb in kPa, the specific gravity, L in km and D in mm.
struct StandardFlowTerms {
    LD p1_kPa, p2_kPa, tbOverPb, g, l_km, d_mm;
    bool swapped;

    StandardFlowTerms(double Tb, double Pb, double P1, double P2, double A, double L, double D, double RhoRef,
                      double PRef, double T)
    {
        double a1 = 0, a2 = 0;
        swapped = false;
        absoluteEndPressuresHighFirst(a1, a2, swapped, P1, P2, A);
        p1_kPa = a1 / 1000.0L;
        p2_kPa = a2 / 1000.0L;
        tbOverPb = Tb / (Pb / 1000.0L);
        g = calcGasSpecificGravity(RhoRef, PRef, T);
        l_km = L / 1000.0L;
        d_mm = D * 1000.0L;
    }
    LD squaresDifference() const { return std::max(0.0L, p1_kPa * p1_kPa - p2_kPa * p2_kPa); }

    // Standard m3 per day to kg/s, signed by the direction of flow.
    double massFlow(LD standardFlow_m3day, double Tb, double Pb, double A, double RhoRef, double PRef,
                    double T) const
    {
        const LD standardDensity = calcGasDensity(RhoRef, PRef, T, A, Pb / 100000.0 - A, Tb);
        const LD m = standardFlow_m3day / SecondsPerDay * standardDensity;
        return finiteOr(swapped ? -m : m, 0.0);
    }
};

double equationFlow(TMethodOfCalculationCompressible equation, GAS_PIPE_ARGS)
{
    switch (equation) {
    case CompleteIsothermalFlowEquation: return calcCompleteIsothermalFlow(GAS_PIPE_VALUES);
    case GeneralIsothermalFlowEquation: return calcGeneralIsothermalFlow(GAS_PIPE_VALUES);
    case WeymouthIsothermalFlowEquation: return calcWeymouthIsothermalFlow(GAS_PIPE_VALUES);
    case PanhandleAIsomthermalFlowEquation: return calcPanhandleAIsothermalFlow(GAS_PIPE_VALUES);
    case PanhandleBIsomthermalFlowEquation: return calcPanhandleBIsothermalFlow(GAS_PIPE_VALUES);
    case AGAIsothermalFlowEquation: return calcAGAIsothermalFlow(GAS_PIPE_VALUES);
    case IGTIsothermalFlowEquation: return calcIGTIsothermalFlow(GAS_PIPE_VALUES);
    }
    return 0.0;
}

// A flow target is met to 1e-10 kg/s, or as closely as the numbers allow
// for large flows.
bool targetMet(double flow, double target)
{
    return std::fabs(flow - target) <= std::max(1e-10, 1e-9 * std::fabs(target));
}

double dropKnownInlet(TMethodOfCalculationCompressible equation, GAS_PIPE_ARGS, bool &converged)
{
    // Here P1 is the known inlet pressure and P2 the target flow.
    const double inlet = P1, target = P2;
    LD low = -A, high = inlet;
    double mid = inlet, flow = -1000000.0;
    for (int round = 0; std::fabs(flow - target) > 1e-10 && round < 1000; ++round) {
        const double next = static_cast<double>((low + high) / 2.0L);
        if (round > 0 && next == mid)
            break; // the interval cannot shrink further: every later round repeats this one
        mid = next;
        flow = equationFlow(equation, Tb, Pb, E, inlet, mid, A, L, D, e, f, RhoRef, PRef, T, Mu, Z);
        const double further = inlet - 1.001 * (inlet - mid);
        const double flow2 = equationFlow(equation, Tb, Pb, E, inlet, further, A, L, D, e, f, RhoRef, PRef, T, Mu, Z);
        if (flow2 < flow) // past the flow maximum: a larger drop gives less flow
            low = mid;
        else if (flow > target)
            low = mid;
        else
            high = mid;
    }
    converged = targetMet(flow, target);
    return inlet - mid;
}

double dropKnownOutlet(TMethodOfCalculationCompressible equation, GAS_PIPE_ARGS, bool &converged)
{
    // Here P1 is the known outlet pressure and P2 the target flow.
    const double outlet = P1, target = P2;
    LD low = outlet, high = 10000.0L;
    double mid = outlet, flow = -1000000.0;
    for (int round = 0; std::fabs(flow - target) > 1e-10 && round < 5000; ++round) {
        const double next = static_cast<double>((low + high) / 2.0L);
        if (round > 0 && next == mid)
            break;
        mid = next;
        flow = equationFlow(equation, Tb, Pb, E, mid, outlet, A, L, D, e, f, RhoRef, PRef, T, Mu, Z);
        if (flow > target)
            high = mid;
        else
            low = mid;
    }
    converged = targetMet(flow, target);
    return mid - outlet;
}

} // namespace

void absoluteEndPressuresHighFirst(double &P1_Pa, double &P2_Pa, bool &Swapped, double P1, double P2, double A)
{
    Swapped = false;
    const double a1 = P1 + A, a2 = P2 + A;
    P1_Pa = a1 > 0 ? std::fabs(a1 * 100000.0) : 0.0001;
    P2_Pa = a2 > 0 ? std::fabs(a2 * 100000.0) : 0.0001;
    if (P1_Pa < P2_Pa) {
        std::swap(P1_Pa, P2_Pa);
        Swapped = true;
    }
}

void orderEndPressuresHighFirst(double &P1, double &P2, bool &Swapped, double A)
{
    const double a1 = P1 + A, a2 = P2 + A;
    const double v1 = a1 > 0 ? std::fabs(a1 * 100000.0) : 0.001;
    const double v2 = a2 > 0 ? std::fabs(a2 * 100000.0) : 0.0001;
    Swapped = v1 < v2;
    if (Swapped)
        std::swap(P1, P2);
}

double calcCompleteIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)Tb, (void)Pb, (void)E, (void)e, (void)T, (void)Mu;
    double a1 = 0, a2 = 0;
    bool swapped = false;
    absoluteEndPressuresHighFirst(a1, a2, swapped, P1, P2, A);
    // The density belongs to the upstream (higher-pressure) end, so that the
    // flow only changes its sign when the ends are exchanged.
    const LD rho1 = calcGasDensityAtPressure(RhoRef, PRef, Z, swapped ? P2 : P1, A);
    const LD k = rho1 == 0 ? 1.0L : 1.0L / rho1;
    if (a1 == 0 || a2 == 0 || !(a1 > a2) || !(D > 0))
        return 0.0;
    const LD area = PiExtended * Sqr(D) / 4.0L;
    const LD pa1 = a1, pa2 = a2;
    const LD m = std::sqrt(area * area * (pa1 * pa1 - pa2 * pa2) / pa1 /
                           ((static_cast<LD>(f) * L / D + 2.0L * std::log(pa1 / pa2)) * k));
    return finiteOr(swapped ? -m : m, 0.0);
}

double calcGeneralIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)E, (void)e, (void)Mu;
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD friction = f > 0 ? f : 0.001;
    const LD q = 0.0011494L * s.tbOverPb *
                 std::sqrt((s.p1_kPa * s.p1_kPa - s.p2_kPa * s.p2_kPa) / (s.g * T * s.l_km * Z * friction)) *
                 std::pow(s.d_mm, 2.5L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcWeymouthIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)e, (void)f, (void)Mu;
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD q = 0.0037435L * E * s.tbOverPb * std::sqrt(s.squaresDifference() / (s.g * T * s.l_km * Z)) *
                 std::pow(s.d_mm, 2.667L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcPanhandleAIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)e, (void)f, (void)Mu;
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD q = 0.0045965L * E * std::pow(s.tbOverPb, 1.0788L) *
                 std::pow(s.squaresDifference() / (std::pow(s.g, 0.8539L) * T * s.l_km * Z), 0.5394L) *
                 std::pow(s.d_mm, 2.6182L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcPanhandleBIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)e, (void)f, (void)Mu;
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD q = 0.01002L * E * std::pow(s.tbOverPb, 1.02L) *
                 std::pow(s.squaresDifference() / (std::pow(s.g, 0.961L) * T * s.l_km * Z), 0.51L) *
                 std::pow(s.d_mm, 2.53L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcIGTIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)e, (void)f, (void)Z;
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD q = 0.0012822L * E * s.tbOverPb *
                 std::pow(s.squaresDifference() /
                              (std::pow(s.g, 0.8L) * T * s.l_km * std::pow(static_cast<LD>(Mu) / 100.0L, 0.2L)),
                          0.555L) *
                 std::pow(s.d_mm, 2.667L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcAGAFlowForTransmissionFactor(double Tb, double Pb, double P1, double P2, double A, double L, double D,
                                        double RhoRef, double PRef, double T, double Z, double F)
{
    const StandardFlowTerms s(Tb, Pb, P1, P2, A, L, D, RhoRef, PRef, T);
    const LD q = 0.0005747L * F * s.tbOverPb * std::sqrt(s.squaresDifference() / (s.g * T * s.l_km * Z)) *
                 std::pow(s.d_mm, 2.5L);
    return s.massFlow(q, Tb, Pb, A, RhoRef, PRef, T);
}

double calcAGAIsothermalFlow(GAS_PIPE_ARGS)
{
    (void)f;
    double F = 20.0, change = 1000.0, flow = 0.0;
    bool swapped = false;
    double p1 = P1, p2 = P2;
    for (int round = 0; change > 0.0001 && round < 20; ++round) {
        bool swappedNow = false;
        orderEndPressuresHighFirst(p1, p2, swappedNow, A);
        swapped = swapped || swappedNow;
        flow = calcAGAFlowForTransmissionFactor(Tb, Pb, p1, p2, A, L, D, RhoRef, PRef, T, Z, F);
        const double velocity = calcVelocity(flow / RhoRef, D, 1.0);
        const double re = calcReynoldsNumber(velocity, D, Mu, RhoRef, 1.0);
        const double next = calcAGATransmissionFactor(D, e, re, E);
        change = std::fabs(next - F);
        F = next;
    }
    return finiteOr(swapped ? -flow : flow, 0.0);
}

double calcAGATransmissionFactor(double D, double e, double ReynoldsNumber, double DragFactor)
{
    const double partial = calcAGAPartiallyTurbulentTransmissionFactor(ReynoldsNumber, DragFactor);
    // A smooth pipe never reaches the fully turbulent zone: its factor grows
    // without bound as the roughness goes to 0, so the partial one governs.
    if (!(e > 0))
        return partial;
    return std::min(calcAGAFullyTurbulentTransmissionFactor(D, e), partial);
}

double calcAGAFullyTurbulentTransmissionFactor(double D, double e)
{
    if (!(e > 0))
        return 1.0;
    return finiteOr(4.0L * std::log10(3.7L * D / e), 1.0);
}

double calcAGAPartiallyTurbulentTransmissionFactor(double ReynoldsNumber, double DragFactor)
{
    if (!(ReynoldsNumber > 0))
        return 1.0;
    const LD ft = calcAGASmoothPipeTransmissionFactor(ReynoldsNumber);
    LD argument = ReynoldsNumber / (1.4125L * ft);
    if (argument < 0)
        argument = 1e-7L;
    return finiteOr(4.0L * DragFactor * std::log10(argument), 1.0);
}

double calcAGASmoothPipeTransmissionFactor(double ReynoldsNumber, bool &Converged)
{
    const auto h = [ReynoldsNumber](LD x) {
        LD ratio = ReynoldsNumber / x;
        if (ratio < 0)
            ratio = 1e-7L;
        return x - (4.0L * std::log10(ratio) - 0.6L);
    };
    LD x1 = 20.0L, x0 = 19.0L;
    LD h1 = h(x1), h0 = h(x0);
    int rounds = 0;
    while (std::fabs(h1) > 0.0001L && rounds < 100) {
        ++rounds;
        const LD next = x1 - h1 * (x1 - x0) / (h1 - h0);
        x0 = x1;
        h0 = h1;
        x1 = next;
        h1 = h(x1);
    }
    Converged = rounds < 100 && std::fabs(h1) <= 0.0001L && x1 > 0;
    const LD factor = Converged ? x1 : 20.0L;
    return static_cast<double>(factor < 10.0L ? 10.0L : factor);
}

double calcAGASmoothPipeTransmissionFactor(double ReynoldsNumber)
{
    bool converged = false;
    return calcAGASmoothPipeTransmissionFactor(ReynoldsNumber, converged);
}

double calcCompressibleFlow(TMethodOfCalculationCompressible Equation, GAS_PIPE_ARGS)
{
    return equationFlow(Equation, GAS_PIPE_VALUES);
}

double calcCompressibleFlowWithZ(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                 GAS_PIPE_ARGS)
{
    const double atPressure = ZModel == CNGAModel ? calcAveragePressure(P1, P2, A) : P1;
    const double z = calcCompressibilityZ(ZModel, atPressure, T, RhoRef, PRef, T, Z);
    return equationFlow(Equation, Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, z);
}

double solvePressureDropKnownInlet(TMethodOfCalculationCompressible Equation, GAS_PIPE_ARGS, bool &Converged)
{
    return dropKnownInlet(Equation, GAS_PIPE_VALUES, Converged);
}

double solvePressureDropKnownInlet(TMethodOfCalculationCompressible Equation, GAS_PIPE_ARGS)
{
    bool converged = false;
    return dropKnownInlet(Equation, GAS_PIPE_VALUES, converged);
}

double solvePressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, GAS_PIPE_ARGS, bool &Converged)
{
    return dropKnownOutlet(Equation, GAS_PIPE_VALUES, Converged);
}

double solvePressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, GAS_PIPE_ARGS)
{
    bool converged = false;
    return dropKnownOutlet(Equation, GAS_PIPE_VALUES, converged);
}

double calcPressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                  GAS_PIPE_ARGS, bool &Converged)
{
    // P1 is the known inlet pressure, P2 the target flow, Z the user's factor.
    double z = calcCompressibilityZ(ZModel, P1, T, RhoRef, PRef, T, Z);
    double drop = dropKnownInlet(Equation, Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, z, Converged);
    if (ZModel == CNGAModel)
        for (int i = 0; i < 3; ++i) {
            z = calcCompressibilityZ(ZModel, calcAveragePressure(P1, P1 - drop, A), T, RhoRef, PRef, T, Z);
            drop = dropKnownInlet(Equation, Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, z, Converged);
        }
    return drop;
}

double calcPressureDropKnownInlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                  GAS_PIPE_ARGS)
{
    bool converged = false;
    return calcPressureDropKnownInlet(Equation, ZModel, GAS_PIPE_VALUES, converged);
}

double calcPressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                   GAS_PIPE_ARGS, bool &Converged)
{
    // P1 is the known outlet pressure, P2 the target flow, Z the user's factor.
    double z = calcCompressibilityZ(ZModel, P1, T, RhoRef, PRef, T, Z);
    double drop = dropKnownOutlet(Equation, Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, z, Converged);
    if (ZModel == CNGAModel)
        for (int i = 0; i < 3; ++i) {
            z = calcCompressibilityZ(ZModel, calcAveragePressure(P1, P1 + drop, A), T, RhoRef, PRef, T, Z);
            drop = dropKnownOutlet(Equation, Tb, Pb, E, P1, P2, A, L, D, e, f, RhoRef, PRef, T, Mu, z, Converged);
        }
    return drop;
}

double calcPressureDropKnownOutlet(TMethodOfCalculationCompressible Equation, TZCompressibilityModel ZModel,
                                   GAS_PIPE_ARGS)
{
    bool converged = false;
    return calcPressureDropKnownOutlet(Equation, ZModel, GAS_PIPE_VALUES, converged);
}

double calcCompressibilityZ(TZCompressibilityModel ZModel, double Pressure_Bar_g, double T, double RhoRef,
                            double PRef, double ReferenceTemperature_K, double UserZ)
{
    switch (ZModel) {
    case IdealGasLawModel: return 1.0;
    case CustomZModel: return UserZ;
    case CNGAModel:
        return finiteOr(calcCNGACompressibilityForGas(Pressure_Bar_g, T, RhoRef, PRef, ReferenceTemperature_K), 1.0);
    }
    return 1.0;
}

double calcCNGACompressibilityForGas(double Pressure_Bar_g, double T, double RhoRef, double PRef,
                                     double ReferenceTemperature_K)
{
    return calcCNGACompressibility(Pressure_Bar_g, T, calcGasSpecificGravity(RhoRef, PRef, ReferenceTemperature_K));
}

double calcCNGACompressibility(double Pressure_Bar_g, double T, double SpecificGravity)
{
    try {
        // Gauge to gauge: the atmosphere and density play no part.
        const LD p_psig = convertPressure(unt_Bar_G, unt_Psi_G, Pressure_Bar_g, AirReferencePressure_Bar_a, 1.0);
        const LD t_R = convertUnit(unt_degrees_K, unt_degrees_F, T) + 459.67L;
        const LD d = 1.0L + p_psig * 344400.0L * std::pow(10.0L, 1.785L * SpecificGravity) / std::pow(t_R, 3.825L);
        if (p_psig > 100 && d != 0)
            return finiteOr(1.0L / d, 1.0);
        return 1.0;
    } catch (const std::exception &) {
        return 1.0;
    }
}

double calcGasSpecificGravity(double RhoRef, double PRef, double TRef)
{
    if (RhoRef == 0)
        return 1.0;
    return static_cast<double>(
        static_cast<LD>(calcGasDensity(RhoRef, PRef, TRef, AirReferencePressure_Bar_a, 0.0, AirReferenceTemperature_K)) /
        AirDensity_kg_m3);
}

double calcMolecularWeight(double Density_kgm3, double Pressure_Bar_g, double T, double A)
{
    const LD absolute = static_cast<LD>(Pressure_Bar_g) + A;
    if (!(absolute > 0))
        return 0.0;
    return static_cast<double>(Density_kgm3 * UniversalGasConstant_J_kmolK * T / (absolute * 100000.0L));
}

double calcSpecificGasConstant(double MolecularWeight)
{
    return static_cast<double>(UniversalGasConstant_J_kmolK / static_cast<LD>(MolecularWeight));
}

double calcGasDensity(double RhoRef, double PRef, double TRef, double A, double Pressure_Bar_g, double T)
{
    const LD refAbsolute = static_cast<LD>(PRef) + A;
    const LD newAbsolute = static_cast<LD>(Pressure_Bar_g) + A;
    // Without a positive reference pressure there is no density to scale.
    if (!(refAbsolute > 0))
        return 0.0;
    if (!(newAbsolute > 0))
        return static_cast<double>(RhoRef * 0.1L / refAbsolute);
    const double m = calcMolecularWeight(RhoRef, PRef, TRef, A);
    const LD rs = m > 0 ? UniversalGasConstant_J_kmolK / static_cast<LD>(m) : 0.0L;
    if (rs > 0 && T > 0)
        return static_cast<double>(newAbsolute * 100000.0L / (rs * T));
    return 0.0;
}

double calcGasDensityAtPressure(double RhoRef, double PRef, double Z, double Pressure_Bar_g, double A)
{
    const LD refAbsolute = static_cast<LD>(PRef) + A;
    if (!(refAbsolute > 0))
        return 0.0;
    const LD absolute = static_cast<LD>(Pressure_Bar_g) + A;
    if (!(absolute > 0) || !(Z > 0))
        return static_cast<double>(RhoRef * 0.1L / refAbsolute);
    return static_cast<double>(RhoRef * absolute / refAbsolute / Z);
}

double calcAveragePressure(double P1, double P2, double A)
{
    const LD a1 = static_cast<LD>(P1) + A, a2 = static_cast<LD>(P2) + A;
    if (!(a1 + a2 > 0))
        return -A;
    return static_cast<double>(2.0L / 3.0L * (a1 + a2 - a1 * a2 / (a1 + a2)) - A);
}

double calcElevationPressureChange(TMethodOfSolution Method, double StartElevation_m, double EndElevation_m,
                                   double StartPressure_Bar_g, double EndPressure_Bar_g, double A, double RhoRef,
                                   double PRef, double Z)
{
    const double rho = Method == CompressibleNodeAdjust
                           ? calcGasDensityAtPressure(RhoRef, PRef, Z,
                                                      calcAveragePressure(StartPressure_Bar_g, EndPressure_Bar_g, A), A)
                           : RhoRef;
    return fluidHeadToBar(EndElevation_m - StartElevation_m, rho);
}

double calcGasFittingHeadLoss(double MassFlow_kgs, double D, double K, double RhoRef, double PRef, double Z,
                              double Pressure_Bar_g, double A)
{
    const double rho = calcGasDensityAtPressure(RhoRef, PRef, Z, Pressure_Bar_g, A);
    const LD v = calcVelocityFromMassFlow(MassFlow_kgs, rho, D);
    return finiteOr(K * v * v / TwoGravity_ms2 * rho / RhoRef, 0.0);
}

double calcGasFittingPressureLoss(double MassFlow_kgs, double D, double K, double RhoRef, double PRef, double Z,
                                  double Pressure_Bar_g, double A)
{
    try {
        return convertPressure(unt_m_hd_fluid, unt_Bar_G,
                               calcGasFittingHeadLoss(MassFlow_kgs, D, K, RhoRef, PRef, Z, Pressure_Bar_g, A), A,
                               RhoRef);
    } catch (const std::exception &) {
        return 0.0;
    }
}

double calcGasFittingPressureLossDerivative(double MassFlow_kgs, double D, double K, double RhoRef, double PRef,
                                            double Z, double Pressure_Bar_g, double A)
{
    const double high = calcGasFittingPressureLoss(1.001 * MassFlow_kgs, D, K, RhoRef, PRef, Z, Pressure_Bar_g, A);
    const double low = calcGasFittingPressureLoss(0.999 * MassFlow_kgs, D, K, RhoRef, PRef, Z, Pressure_Bar_g, A);
    const LD dp = static_cast<LD>(high) - low;
    const LD dq = 0.002L * MassFlow_kgs;
    if (dp == 0 || dq == 0)
        return 0.0;
    return finiteOr(dp / dq, 0.0);
}

double calcSonicVelocity(double SpecificHeatRatio, double Pressure_Bar_g, double Density_kgm3, double A)
{
    const LD absolute = static_cast<LD>(Pressure_Bar_g) + A;
    if (!(absolute > 0) || !(Density_kgm3 > 0))
        return 0.0;
    return finiteOr(std::sqrt(SpecificHeatRatio * absolute * 100000.0L / Density_kgm3), 0.0);
}

double calcCriticalPressureRatio(double SpecificHeatRatio)
{
    const LD k = SpecificHeatRatio;
    if (!(k > 1))
        return 0.5;
    return finiteOr(std::pow(2.0L / (k + 1.0L), k / (k - 1.0L)), 0.5);
}

#undef GAS_PIPE_ARGS
#undef GAS_PIPE_VALUES

} // namespace tessaran
