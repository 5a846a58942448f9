#include "units/Calculations.h"

#include "units/Constants.h"
#include "units/Units.h"
#include "platform/Pascal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>

namespace tessaran {

double TLinearTheoryKParts::K() const { return std::pow(Base, Exponent) * Friction * PerFriction; }

namespace {

using LD = long double;
constexpr double Pi = 3.14159265358979323846;

// A wall roughness is a finite height of zero or more within a bore of
// finite positive size; any other turns the friction law into a plausible
// but meaningless number.
bool isPossibleRoughness(double d, double e)
{
    return std::isfinite(d) && d > 0 && std::isfinite(e) && e >= 0 && e < d;
}

// The Colebrook law in x = sqrt(f),
//   g(x) = 2 log10(e/3.7D + 2.51/(Re x)) + 1/x = 0   (written with 1.14 and 9.35),
// solved by Halley's method with natural logarithms: each step costs one
// logarithm and triples the correct digits. Once the residual is within
// 1e-4, one more step lands on the root to the last bits of a double (the
// residual after it stays below 1e-14 for every Reynolds number from 3500 to
// 1e9 and relative roughness from 0 to 0.1; from 1e-3 it would still be below
// 1e-11), so it is taken without working out the residual again; that is far
// inside the 1e-10 the law is solved to.
constexpr double TwoOverLn10 = 0.86858896380650365530; // 2 / ln 10
constexpr double ColebrookTolerance = 1e-10;
constexpr double ColebrookLastStep = 1e-4;
constexpr int ColebrookMaxSteps = 100;

struct TColebrookPoint {
    double G = 0, Slope = 0, Curvature = 0;
};

inline TColebrookPoint colebrookAt(double x, double relative, double laminarTerm)
{
    const double invX = 1.0 / x;
    const double inner = relative + laminarTerm * invX;
    const double u = laminarTerm * invX * invX / inner; // -(d inner/dx) / inner
    TColebrookPoint at;
    at.G = TwoOverLn10 * std::log(inner) + invX - 1.14;
    at.Slope = -TwoOverLn10 * u - invX * invX;
    at.Curvature = TwoOverLn10 * (2.0 * u * invX - u * u) + 2.0 * invX * invX * invX;
    return at;
}

inline double halleyStep(double x, const TColebrookPoint &at)
{
    return x - 2.0 * at.G * at.Slope / (2.0 * at.Slope * at.Slope - at.G * at.Curvature);
}

// A root carried over from an earlier solve is a start only where it is one
// the law can have (friction factors from 0.0025 to 0.25).
bool isPlausibleRoot(double x)
{
    return x > 0.05 && x < 0.5;
}

// One Colebrook solve, steppable side by side with others. It starts from a
// root carried over from an earlier solve where there is one, and from the
// explicit form otherwise. Begin sets every field, so a solve is left unset
// until then: the lanes of a batch are made afresh on every call.
struct TColebrookSolve {
    double Re, Relative, LaminarTerm, X;
    const TFrictionWall *Wall;
    TColebrookPoint At;
    int Steps;
    bool Open, Carried, Landed;

    void Begin(double re, const TFrictionWall &wall, double carried = 0)
    {
        Re = re;
        Wall = &wall;
        Relative = wall.RelativeRoughness;
        LaminarTerm = 9.35 / re;
        Carried = isPlausibleRoot(carried);
        X = Carried ? carried : std::sqrt(calcFrictionFactorStart(re, wall));
        Steps = 0;
        Evaluate();
    }
    void Evaluate()
    {
        At = colebrookAt(X, Relative, LaminarTerm);
        Landed = false;
        Open = !(std::fabs(At.G) <= ColebrookTolerance) && Steps < ColebrookMaxSteps && X > 0;
    }
    void Step()
    {
        ++Steps;
        const bool last = std::fabs(At.G) <= ColebrookLastStep;
        X = halleyStep(X, At);
        if (!(X > 0)) {
            Open = false;
            return;
        }
        if (last) {
            Landed = true;
            Open = false;
            return;
        }
        Evaluate();
    }
    void Finish()
    {
        while (Open)
            Step();
        // A carried start that led nowhere gives way to the explicit one.
        if (!Converged() && Carried) {
            Begin(Re, *Wall);
            while (Open)
                Step();
        }
    }
    // A step can also break down (a flat slope, a step to a negative x where
    // the logarithm fails); that is no convergence either.
    bool Converged() const { return X > 0 && (Landed || std::fabs(At.G) <= ColebrookTolerance); }
    double Root() const
    {
        if (!Converged())
            return 0.0;
        // Within the tolerance from the start: the last step is a Newton
        // step, which needs no further logarithm either.
        return Landed ? X : X - At.G / At.Slope;
    }
    double Factor() const
    {
        if (!Converged())
            return calcFrictionFactorStart(Re, *Wall);
        const double root = Root();
        return root * root;
    }
};

double colebrookFrictionFactor(double re, const TFrictionWall &wall, bool &converged)
{
    TColebrookSolve solve;
    solve.Begin(re, wall);
    solve.Finish();
    converged = solve.Converged();
    return solve.Factor();
}

// The friction factors of up to four turbulent Reynolds numbers (above
// 3500), each of a possible wall, solved side by side: the processor overlaps
// the dependent divisions and logarithms of one with those of the others.
// roots (in and out) carries each one's root between calls.
constexpr int MaxSideBySide = 4;

void colebrookFrictionFactors(int count, const double *re, const TFrictionWall *const *walls, double *f,
                              double *const *roots)
{
    TColebrookSolve solves[MaxSideBySide];
    for (int i = 0; i < count; ++i)
        solves[i].Begin(re[i], *walls[i], *roots[i]);
    for (bool open = true; open;) {
        open = false;
        for (int i = 0; i < count; ++i)
            if (solves[i].Open) {
                solves[i].Step();
                open = true;
            }
    }
    for (int i = 0; i < count; ++i) {
        solves[i].Finish();
        f[i] = solves[i].Factor();
        *roots[i] = solves[i].Root();
    }
}

// Turbulent friction factors gathered into lanes and solved side by side
// once the lanes are full or flushed; each factor lands in its target, and
// its root, where one is kept, is carried in and out.
class TColebrookLanes {
public:
    void Add(double re, const TFrictionWall &wall, double *root, double *target)
    {
        re_[lanes_] = re;
        walls_[lanes_] = &wall;
        none_[lanes_] = 0;
        roots_[lanes_] = root ? root : &none_[lanes_];
        targets_[lanes_++] = target;
        if (lanes_ == MaxSideBySide)
            Flush();
    }
    void Flush()
    {
        double f[MaxSideBySide];
        colebrookFrictionFactors(lanes_, re_, walls_, f, roots_);
        for (int l = 0; l < lanes_; ++l)
            *targets_[l] = f[l];
        lanes_ = 0;
    }

private:
    double re_[MaxSideBySide] = {}, none_[MaxSideBySide] = {};
    const TFrictionWall *walls_[MaxSideBySide] = {};
    double *roots_[MaxSideBySide] = {}, *targets_[MaxSideBySide] = {};
    int lanes_ = 0;
};

// One step of a Colebrook solve from a root carried over from an earlier
// one, as TColebrookSolve takes it: Landed leaves the root in x, Stepped the
// next x, Failed no root (the carried start leads nowhere).
enum class TColebrookStep { Landed, Stepped, Failed };

inline TColebrookStep colebrookStep(double relative, double laminarTerm, double &x, int steps)
{
    const TColebrookPoint at = colebrookAt(x, relative, laminarTerm);
    const double g = std::fabs(at.G);
    if (g <= ColebrookTolerance) {
        x -= at.G / at.Slope;
        return TColebrookStep::Landed;
    }
    if (steps == ColebrookMaxSteps)
        return TColebrookStep::Failed;
    x = halleyStep(x, at);
    if (!(x > 0))
        return TColebrookStep::Failed;
    return g <= ColebrookLastStep ? TColebrookStep::Landed : TColebrookStep::Stepped;
}

// calcFrictionFactors. Near a solution nearly every turbulent factor starts
// from the root carried over for it and lands within a step or two. Those
// solves go in rounds of one step each over the lanes still open, so the
// dependent divisions and logarithms of one lane overlap with those of the
// next; the few without a plausible carried root, or whose carried root
// leads nowhere, are solved side by side after them.
void frictionFactorsOf(int count, const double *re, const TFrictionWall *const *walls, double *f, double *roots)
{
    constexpr int Chunk = 64;
    TColebrookLanes lanes;
    for (int first = 0; first < count; first += Chunk) {
        const int last = std::min(count, first + Chunk);
        int open[Chunk];
        double x[Chunk], relative[Chunk], laminarTerm[Chunk];
        int opened = 0;
        for (int i = first; i < last; ++i) {
            const double r = re[i];
            const TFrictionWall &wall = *walls[i];
            if (!(r > 3500 && wall.Possible)) {
                f[i] = calcFrictionFactor(r, wall);
                if (roots)
                    roots[i] = 0;
                continue;
            }
            const double carried = roots ? roots[i] : 0;
            if (!isPlausibleRoot(carried)) {
                lanes.Add(r, wall, roots ? &roots[i] : nullptr, &f[i]);
                continue;
            }
            open[opened] = i;
            x[opened] = carried;
            relative[opened] = wall.RelativeRoughness;
            laminarTerm[opened] = 9.35 / r;
            ++opened;
        }
        for (int steps = 0; opened > 0; ++steps) {
            int stillOpen = 0;
            for (int l = 0; l < opened; ++l) {
                const int i = open[l];
                double root = x[l];
                switch (colebrookStep(relative[l], laminarTerm[l], root, steps)) {
                case TColebrookStep::Landed:
                    f[i] = root * root;
                    roots[i] = root;
                    break;
                case TColebrookStep::Stepped:
                    open[stillOpen] = i;
                    x[stillOpen] = root;
                    relative[stillOpen] = relative[l];
                    laminarTerm[stillOpen] = laminarTerm[l];
                    ++stillOpen;
                    break;
                case TColebrookStep::Failed:
                    lanes.Add(re[i], *walls[i], &roots[i], &f[i]);
                    break;
                }
            }
            opened = stillOpen;
        }
    }
    lanes.Flush();
}

// The two points of the linear-theory law of a pipe, 0.8 and 1.2 times its
// volume flow, with their Reynolds numbers (all set by linearTheoryPoints;
// a batch's are left unset until then).
struct TLinearTheoryPoints {
    double Flow1, Flow2;
    double Reynolds[2];
};

// Re = |v| D ρ 1000 / (μ vf) with v = Q vf / (π D²/4): one factor per pipe.
double linearTheoryPerFlow(const TLinearTheoryPipe &pipe)
{
    if (pipe.PerFlow != 0)
        return pipe.PerFlow;
    return 4000.0 * pipe.Density_kgm3 / (Pi * pipe.InnerDiameter_m * pipe.Viscosity_cP);
}

// The loss in bar of a friction factor and a squared mass flow.
double linearTheoryPerFriction(const TLinearTheoryPipe &pipe)
{
    if (pipe.PerFriction != 0)
        return pipe.PerFriction;
    const double d = pipe.InnerDiameter_m;
    const double area = Pi * d * d / 4.0;
    return pipe.Length_m / (TwoGravity_ms2 * d * area * area) / pipe.Density_kgm3 * 9.80665e-5;
}

TLinearTheoryPoints linearTheoryPoints(const TLinearTheoryPipe &pipe)
{
    TLinearTheoryPoints points;
    const double q = pipe.MassFlow_kgs / pipe.Density_kgm3;
    points.Flow1 = 0.8 * q;
    points.Flow2 = 1.2 * q;
    const double perFlow = linearTheoryPerFlow(pipe);
    points.Reynolds[0] = std::fabs(points.Flow1 * perFlow);
    points.Reynolds[1] = std::fabs(points.Flow2 * perFlow);
    return points;
}

// The two points are 0.8 and 1.2 times one flow, so their ratio is 1.5 or
// one or two units in its last place below (but for subnormal flows): the
// logarithms of the ratios that close to 1.5 are worked out once.
constexpr int FlowRatiosKept = 4;
const std::array<double, 2 * FlowRatiosKept + 1> LogsOfFlowRatiosNearOneAndAHalf = [] {
    std::array<double, 2 * FlowRatiosKept + 1> logs{};
    for (int i = 0; i < static_cast<int>(logs.size()); ++i)
        logs[static_cast<std::size_t>(i)] = std::log(
            std::bit_cast<double>(std::bit_cast<std::int64_t>(1.5) + static_cast<std::int64_t>(i - FlowRatiosKept)));
    return logs;
}();

double logOfFlowRatio(double ratio)
{
    const std::int64_t offset = std::bit_cast<std::int64_t>(ratio) - std::bit_cast<std::int64_t>(1.5);
    if (offset >= -FlowRatiosKept && offset <= FlowRatiosKept)
        return LogsOfFlowRatiosNearOneAndAHalf[static_cast<std::size_t>(offset + FlowRatiosKept)];
    return std::log(ratio);
}

// K and N from the friction factors at the two points, and where asked the
// linearised coefficient K·|m|^(N-1). With m the mass flow, K is
// f1·|0.8 m|^n·C (n = 2 - N), so the coefficient is f1·0.8^n·|m|·C: one
// power of a known number instead of a second power of the flow.
void linearTheoryKN(const TLinearTheoryPipe &pipe, const TLinearTheoryPoints &points, double f1, double f2, double &K,
                    double &N, double *KLinear, TLinearTheoryKParts *KParts)
{
    const double q1 = points.Flow1, q2 = points.Flow2;
    static const double LogOfFourFifths = std::log(0.8);
    const double n = std::log(f1 / f2) / logOfFlowRatio(q2 / q1);
    N = 2.0 - n;
    const double perFriction = linearTheoryPerFriction(pipe);
    const TLinearTheoryKParts parts{std::fabs(q1 * pipe.Density_kgm3), n, f1, perFriction};
    if (KParts)
        *KParts = parts;
    else
        K = parts.K();
    if (KLinear)
        *KLinear = std::exp(n * LogOfFourFifths) * std::fabs(pipe.MassFlow_kgs) * f1 * perFriction;
}

LD fifthPower(double x)
{
    const LD square = static_cast<LD>(x) * x;
    return square * square * x;
}

// The rated flow of a coefficient through a pipe, turned into a loss
// coefficient with the rated drop as a head of water.
double kFromRatedFlow(double flow_m3s, double d, TUnit ratedDropUnit)
{
    if (d <= 0)
        return 0.0;
    try {
        const LD velocity = flow_m3s / (PiExtended * Sqr(d / 2.0L));
        if (velocity == 0)
            return 0.0;
        const double head = convertHeadPressureUnit(ratedDropUnit, unt_m_hd_fluid, 1.0,
                                                    WaterDensityForValveCoefficients_kg_m3);
        return static_cast<double>(2.0L * Gravity_ms2 * head / (velocity * velocity));
    } catch (const std::exception &) {
        return 0.0;
    }
}

} // namespace

double calcReynoldsNumber(double Velocity_ms, double InnerDiameter_m, double Viscosity_cP, double Density_kgm3,
                          double VelocityFactor)
{
    const LD re = static_cast<LD>(Velocity_ms) * InnerDiameter_m / Viscosity_cP * 1000.0L * Density_kgm3 /
                  VelocityFactor;
    return static_cast<double>(std::fabs(re));
}

double calcFlowFromVelocity(double Velocity_ms, double InnerDiameter_m, double VelocityFactor)
{
    if (InnerDiameter_m <= 0)
        return 0.0;
    return static_cast<double>(Sqr(InnerDiameter_m) / 4.0L * Velocity_ms * PiExtended / VelocityFactor);
}

double calcVelocity(double Flow_m3s, double InnerDiameter_m, double VelocityFactor)
{
    // No flow is still no velocity; a flow through no bore has none that
    // could stand for it.
    if (InnerDiameter_m <= 0)
        return Flow_m3s == 0 ? 0.0 : std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(Flow_m3s / (PiExtended * Sqr(InnerDiameter_m) / 4.0L) * VelocityFactor);
}

double calcVelocityFromMassFlow(double MassFlow_kgs, double Density_kgm3, double InnerDiameter_m)
{
    return calcVelocity(MassFlow_kgs / Density_kgm3, InnerDiameter_m, 1.0);
}

TFrictionWall calcFrictionWall(double InnerDiameter_m, double Roughness_m)
{
    TFrictionWall wall;
    wall.Possible = isPossibleRoughness(InnerDiameter_m, Roughness_m);
    if (!wall.Possible)
        return wall;
    wall.RelativeRoughness = Roughness_m / InnerDiameter_m;
    double x = wall.RelativeRoughness / 3.7;
    if (!(x > 0))
        x = 1e-7;
    wall.StartRoughnessTerm = std::exp(1.11 * std::log(x));
    return wall;
}

double calcFrictionFactorStart(double ReynoldsNumber, const TFrictionWall &Wall)
{
    const double re = ReynoldsNumber;
    if (re <= 0)
        return 0.0;
    if (re <= 2300)
        return 64.0 / re;
    if (re < 3500)
        return (re - 1500.0) / 30000.0;
    if (!Wall.Possible)
        return std::numeric_limits<double>::quiet_NaN();
    double y = Wall.StartRoughnessTerm + 6.9 / re;
    if (!(y > 0))
        y = 1e-7;
    const double s = 1.0 / (-1.8 * std::log10(y));
    return s * s;
}

double calcFrictionFactorStart(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m)
{
    if (ReynoldsNumber < 3500)
        return calcFrictionFactorStart(ReynoldsNumber, TFrictionWall{});
    return calcFrictionFactorStart(ReynoldsNumber, calcFrictionWall(InnerDiameter_m, Roughness_m));
}

double calcFrictionFactor(double ReynoldsNumber, const TFrictionWall &Wall, bool &Converged)
{
    const double re = ReynoldsNumber;
    Converged = true;
    if (re <= 0)
        return 0.0;
    if (re <= 2300)
        return 64.0 / re;
    if (re <= 3500)
        return (re - 1500.0) / 30000.0;
    if (!Wall.Possible) {
        Converged = false;
        return std::numeric_limits<double>::quiet_NaN();
    }
    return colebrookFrictionFactor(re, Wall, Converged);
}

double calcFrictionFactor(double ReynoldsNumber, const TFrictionWall &Wall)
{
    bool converged = false;
    return calcFrictionFactor(ReynoldsNumber, Wall, converged);
}

double calcFrictionFactor(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m, bool &Converged)
{
    // Below the turbulent range the wall plays no part: spare its logarithm.
    if (ReynoldsNumber <= 3500)
        return calcFrictionFactor(ReynoldsNumber, TFrictionWall{}, Converged);
    return calcFrictionFactor(ReynoldsNumber, calcFrictionWall(InnerDiameter_m, Roughness_m), Converged);
}

double calcFrictionFactor(double ReynoldsNumber, double InnerDiameter_m, double Roughness_m)
{
    bool converged = false;
    return calcFrictionFactor(ReynoldsNumber, InnerDiameter_m, Roughness_m, converged);
}

void calcFrictionFactors(int Count, const double *Reynolds, const TFrictionWall *const *Walls, double *Factors,
                         double *Roots)
{
    frictionFactorsOf(Count, Reynolds, Walls, Factors, Roots);
}

std::string calcFlowRegime(double ReynoldsNumber)
{
    if (ReynoldsNumber >= 3500)
        return "Turbulent";
    if (ReynoldsNumber > 2300)
        return "Critical";
    return "Laminar";
}

double calcDarcyHeadLoss(double FrictionFactor, double Length_m, double InnerDiameter_m, double Velocity_ms)
{
    const LD loss = static_cast<LD>(Length_m) / InnerDiameter_m * FrictionFactor * Sqr(Velocity_ms) / TwoGravity_ms2;
    return static_cast<double>(Velocity_ms < 0 ? -loss : loss);
}

double calcFittingHeadLoss(double K, double Velocity_ms)
{
    const LD loss = K * Sqr(Velocity_ms) / 2.0L / Gravity_ms2;
    return static_cast<double>(Velocity_ms < 0 ? -loss : loss);
}

long double calcDarcyDerivativeDenominator(double InnerDiameter_m, double Density_kgm3)
{
    return fifthPower(InnerDiameter_m) * Sqr(PiExtended) * Density_kgm3 * 100000.0L;
}

double calcDarcyPressureLossDerivative(double MassFlow_kgs, double Length_m, double InnerDiameter_m,
                                       double FrictionFactor, double Density_kgm3)
{
    const LD d = 16.0L * MassFlow_kgs * FrictionFactor * Length_m /
                 calcDarcyDerivativeDenominator(InnerDiameter_m, Density_kgm3);
    return static_cast<double>(MassFlow_kgs < 0 ? -d : d);
}

double calcFittingFlowResistance(double K, double InnerDiameter_m)
{
    const LD area = PiExtended * Sqr(InnerDiameter_m) / 4.0L;
    return static_cast<double>(K / (static_cast<LD>(TwoGravity_ms2) * area * area));
}

double calcFittingLossDerivative(double Resistance, double MassFlow_kgs, double Density_kgm3)
{
    // The loss R·Q·|Q| rises with the flow in both directions, so its slope
    // is never negative: the same sign rule as the Darcy derivative.
    return static_cast<double>(2.0L * Resistance * std::fabs(MassFlow_kgs) * Gravity_ms2 /
                               (Density_kgm3 * 100000.0L));
}

double calcFrictionFactorFromTransmissionFactor(double TransmissionFactor)
{
    return static_cast<double>(4.0L / Sqr(TransmissionFactor));
}

double calcPumpPowerSigned(double Flow_m3s, double Head_m, double Density_kgm3)
{
    return static_cast<double>(static_cast<LD>(Flow_m3s) * Head_m * Density_kgm3 * Gravity_ms2 / 1000.0L);
}

double calcPumpPower(double Flow_m3s, double Head_m, double Density_kgm3)
{
    return std::fabs(calcPumpPowerSigned(Flow_m3s, Head_m, Density_kgm3));
}

double calcPumpPowerHP(double Flow_m3s, double Head_m, double Density_kgm3)
{
    return std::fabs(calcPumpPower(Flow_m3s, Head_m, Density_kgm3) / KW_Per_HP);
}

double calcKFromKv(double Kv, double InnerDiameter_m)
{
    return kFromRatedFlow(Kv / 3600.0, InnerDiameter_m, unt_Bar_G);
}

double calcKFromCv(double Cv, double InnerDiameter_m)
{
    try {
        return kFromRatedFlow(convertUnit(unt_gpm_USA, unt_m3_sec, Cv), InnerDiameter_m, unt_Psi_G);
    } catch (const std::exception &) {
        return 0.0;
    }
}

double calcKFromSprinklerK(double SprinklerK, double InnerDiameter_m)
{
    try {
        return kFromRatedFlow(convertUnit(unt_L_min, unt_m3_sec, SprinklerK), InnerDiameter_m, unt_Bar_G);
    } catch (const std::exception &) {
        return 0.0;
    }
}

double calcPipeWeightPerLength(double InnerDiameter_m, double OuterDiameter_m, double MaterialDensity_lb_in3)
{
    try {
        const LD ring = PiExtended * Sqr(OuterDiameter_m / 2.0L) - PiExtended * Sqr(InnerDiameter_m / 2.0L);
        return static_cast<double>(ring * convertUnit(unt_lb_ft3, unt_kg_m3, MaterialDensity_lb_in3 * 1728.0));
    } catch (const std::exception &) {
        return 0.0;
    }
}

double calcMaterialDensityFromPipeWeight(double InnerDiameter_m, double OuterDiameter_m, double Weight_kg_m)
{
    try {
        const LD ring = PiExtended * Sqr(OuterDiameter_m / 2.0L) - PiExtended * Sqr(InnerDiameter_m / 2.0L);
        if (!(ring > 0))
            return 0.0;
        const double density = convertUnit(unt_kg_m3, unt_lb_ft3, static_cast<double>(Weight_kg_m / ring)) / 1728.0;
        return std::isfinite(density) ? density : 0.0;
    } catch (const std::exception &) {
        return 0.0;
    }
}

void calcLinearTheoryPipeKN(double Length_m, double MassFlow_kgs, double InnerDiameter_m, double Roughness_m,
                            double Viscosity_cP, double Density_kgm3, double VelocityFactor, double &K, double &N)
{
    calcLinearTheoryPipeKN(Length_m, MassFlow_kgs, InnerDiameter_m, calcFrictionWall(InnerDiameter_m, Roughness_m),
                           Viscosity_cP, Density_kgm3, VelocityFactor, K, N);
}

void calcLinearTheoryPipeKN(double Length_m, double MassFlow_kgs, double InnerDiameter_m, const TFrictionWall &Wall,
                            double Viscosity_cP, double Density_kgm3, double VelocityFactor, double &K, double &N)
{
    const TLinearTheoryPipe pipes[1] = {
        {Length_m, MassFlow_kgs, InnerDiameter_m, &Wall, Viscosity_cP, Density_kgm3, VelocityFactor}};
    calcLinearTheoryPipesKN(1, pipes, &K, &N);
}

void calcLinearTheoryPipeFactors(TLinearTheoryPipe &Pipe)
{
    Pipe.PerFlow = Pipe.PerFriction = 0;
    Pipe.PerFlow = linearTheoryPerFlow(Pipe);
    Pipe.PerFriction = linearTheoryPerFriction(Pipe);
}

void calcLinearTheoryPipesKN(int Count, const TLinearTheoryPipe *Pipes, double *K, double *N, double *KLinear,
                             TLinearTheoryKParts *KParts)
{
    // A batch of pipes at a time: the friction factors of all their points
    // in one call, then each pipe's law.
    constexpr int Batch = 32;
    for (int first = 0; first < Count; first += Batch) {
        const int pipes = std::min(Batch, Count - first);
        TLinearTheoryPoints points[Batch];
        double re[2 * Batch], f[2 * Batch], roots[2 * Batch];
        const TFrictionWall *walls[2 * Batch];
        for (int p = 0; p < pipes; ++p) {
            const TLinearTheoryPipe &pipe = Pipes[first + p];
            walls[2 * p] = walls[2 * p + 1] = pipe.Wall;
            roots[2 * p] = pipe.Roots ? pipe.Roots[0] : 0;
            roots[2 * p + 1] = pipe.Roots ? pipe.Roots[1] : 0;
            if (pipe.MassFlow_kgs == 0) {
                // No flow, no law: the plain coefficients, and the roots stay.
                if (KParts)
                    KParts[first + p] = {};
                else
                    K[first + p] = 0.0;
                N[first + p] = 2.0;
                if (KLinear)
                    KLinear[first + p] = 0.0;
                re[2 * p] = re[2 * p + 1] = 0;
                continue;
            }
            points[p] = linearTheoryPoints(pipe);
            re[2 * p] = points[p].Reynolds[0];
            re[2 * p + 1] = points[p].Reynolds[1];
        }
        frictionFactorsOf(2 * pipes, re, walls, f, roots);
        for (int p = 0; p < pipes; ++p) {
            const TLinearTheoryPipe &pipe = Pipes[first + p];
            if (pipe.MassFlow_kgs == 0)
                continue;
            if (pipe.Roots) {
                pipe.Roots[0] = roots[2 * p];
                pipe.Roots[1] = roots[2 * p + 1];
            }
            linearTheoryKN(pipe, points[p], f[2 * p], f[2 * p + 1], K[first + p], N[first + p],
                           KLinear ? &KLinear[first + p] : nullptr, KParts ? &KParts[first + p] : nullptr);
        }
    }
}

double scaleAbsolutePressure(double a, double b, double Pressure_Bar_g, double Atmosphere_Bar_a)
{
    const LD ratio = b == 0 ? a / 0.001L : static_cast<LD>(a) / b;
    return static_cast<double>((static_cast<LD>(Pressure_Bar_g) + Atmosphere_Bar_a) / ratio - Atmosphere_Bar_a);
}

} // namespace tessaran
