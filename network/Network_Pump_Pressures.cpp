// The pressure at a pump's inlet and the net positive suction head it has.

#include "network/Network_Class.h"

namespace tessaran {

double TNetwork::GetPumpSuctionPressure_mFluid(int ThePipeId) const
{
    const TPipe &pipe = GetPipe(ThePipeId);
    if (pipe.PumpCount <= 0)
        return 0;
    int fromId = 0, toId = 0;
    GetPipeNodes(ThePipeId, fromId, toId);
    const TNode &start = GetNode(fromId);
    const double density = GetPipeFluid(ThePipeId).density_kgs_m3;
    // The friction up to the pump is its share of the pipe's; a pipe without
    // length has none.
    const double frictionToPump_m =
        pipe.Length_m != 0 ? pipe.PumpDistanceFromStartOfPipe_m / pipe.Length_m * pipe.PipeFrictionLoss_mHd_Fluid : 0.0;
    return convertPressure(unt_Bar_G, unt_m_hd_fluid, start.Pressure_Bar_g, ConfigOptions.Atmosphere_bar_a, density) -
           frictionToPump_m + (start.Elevation_m - pipe.PumpElevation_m) - pipe.EntryFittingsLoss_mHd_Fluid;
}

double TNetwork::GetPumpNPSHa_mFluid(int ThePipeId) const
{
    const TPipe &pipe = GetPipe(ThePipeId);
    if (pipe.PumpCount <= 0)
        return 0;
    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    return convertPressure(unt_m_hd_fluid, unt_m_hd_fluid_A, GetPumpSuctionPressure_mFluid(ThePipeId), atmosphere,
                           fluid.density_kgs_m3) -
           convertPressure(unt_Bar_A, unt_m_hd_fluid_A, fluid.vapourPressure_bar_a, atmosphere, fluid.density_kgs_m3);
}

} // namespace tessaran
