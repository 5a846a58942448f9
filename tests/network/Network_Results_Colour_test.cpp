#include "network/Network_Class.h"

#include "Network_Fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace tessaran {
namespace {

using test::NewNetwork;

int AddNode(TNetwork &network, TNodeType type, double elevation_m, double pressure_bar_g)
{
    TNode node;
    node.NodeType = type;
    node.Elevation_m = elevation_m;
    node.Pressure_Bar_g = pressure_bar_g;
    node.IsPressureSet = true;
    return network.AddNode(node);
}

int AddPipe(TNetwork &network, int from, int to, double velocity_ms, int zone = 1, double length_m = 10)
{
    TPipe pipe;
    pipe.Length_m = length_m;
    pipe.InnerDiameter_m = 0.1;
    pipe.Velocity_ms = velocity_ms;
    pipe.FluidZoneIndex = zone;
    return network.AddPipeLink(from, to, pipe);
}

TEST(ResultsColour, ItemsKeepTheirListOrderAndCaptions)
{
    EXPECT_EQ(TNetwork::GetResultsColorItemIndex(ResultsFlow), 0);
    EXPECT_EQ(TNetwork::GetResultsColorItemIndex(ResultsMassFlow), 1);
    EXPECT_EQ(TNetwork::GetResultsColorItemIndex(ResultsVelocity), 2);
    EXPECT_EQ(TNetwork::GetResultsColorItemIndex(ResultsPipeLength), 11);
    EXPECT_EQ(TNetwork::GetResultsColorItemIndex(ResultsElevation), 14);
    std::set<int> positions;
    for (int item = 0; item < TResultsColorItemEnumCount; ++item)
        positions.insert(TNetwork::GetResultsColorItemIndex(static_cast<TResultsColorItemEnum>(item)));
    EXPECT_EQ(positions.size(), 15u);

    auto network = NewNetwork();
    network->ConfigOptions.UnitOfLength = unt_ft;
    struct Case {
        TResultsColorItemEnum item;
        std::string liquid, gas;
    };
    const std::string ft = unitName(unt_ft);
    for (const Case &c : {Case{ResultsFlow, "Pipe: Flow Rate", "Pipe: Gas Flow Rate"},
                          Case{ResultsVelocity, "Pipe: Velocity", "Pipe: Exit Velocity"},
                          Case{ResultsMassFlow, "Pipe: Mass Flow Rate", "Pipe: Mass Flow Rate"},
                          Case{ResultsPipeTotalPressureLossIncludingElevationChangePer100, "Pipe: dP per 100" + ft,
                               "Pipe: dP per 100" + ft},
                          Case{ResultsPipeFrictionLossPer100, "Pipe: Friction Loss per 100" + ft,
                               "Pipe: Friction Loss per 100" + ft},
                          Case{ResultsPipeReynoldsNumber, "Pipe: Reynold's Number", "Pipe: Reynold's Number"},
                          Case{ResultsHGL, "Node: HGL", "Node: HGL"}}) {
        network->FluidZones[1].Fluid.FluidIsGas = false;
        EXPECT_EQ(network->GetResultsColorItemStringsText(c.item), c.liquid);
        network->FluidZones[1].Fluid.FluidIsGas = true;
        EXPECT_EQ(network->GetResultsColorItemStringsText(c.item), c.gas);
    }
}

class Gradient : public ::testing::Test {
protected:
    void SetUp() override
    {
        network->ConfigOptions.ResultsColor1 = 0x102030;
        network->ConfigOptions.ResultsColor2 = 0x80C0F0;
        network->ConfigOptions.ResultsColor3 = 0x00FF00;
    }
    std::unique_ptr<TNetwork> network = NewNetwork();
};

TEST_F(Gradient, ThreeColoursOverTheRangeAndBlackOutsideIt)
{
    struct Case {
        double value;
        TColor color;
    };
    for (const Case c : {Case{0, 0x102030}, Case{5, 0x80C0F0}, Case{10, 0x00FF00},
                         // Halfway to the middle colour, each component cut.
                         Case{2.5, 0x487090},
                         // Beyond the middle, falling components are cut toward zero.
                         Case{6, 0x67CCC0}, Case{7.5, 0x40DF78}, Case{10.0001, 0}, Case{-0.0001, 0}, Case{1e9, 0}})
        EXPECT_EQ(network->GetColorFromGradient(0, 10, c.value), c.color) << c.value;

    EXPECT_EQ(network->GetColorFromGradient(0, 10, std::nan("")), 0);
    // A range of one value gives the first colour.
    EXPECT_EQ(network->GetColorFromGradient(3, 3, 3), 0x102030);
    network->ConfigOptions.ResultsColorItemMinValue = 0;
    network->ConfigOptions.ResultsColorItemMaxValue = 10;
    EXPECT_EQ(network->GetColorFromItemMinMaxValues(5), 0x80C0F0);
}

TEST(ResultsColour, TheRangeComesFromTheActivePipesWithTheZonesOfItsExtremes)
{
    auto network = NewNetwork();
    network->FluidZonesCount = 3;
    const int a = AddNode(*network, Tank, 0, 1), b = AddNode(*network, Joint, 0, 0.5),
              c = AddNode(*network, Joint, 0, 0.2);
    AddPipe(*network, a, b, 2.0, 1);
    AddPipe(*network, b, c, 1.0, 2);
    AddPipe(*network, a, c, 3.0, 3);
    AddPipe(*network, c, b, 3.0, 1); // an equal maximum later does not replace it
    const int closed = AddPipe(*network, b, a, 9.0, 1);
    network->RemoveNodeLinkAddClosedPipeLink(closed);
    network->ConfigOptions.ResultsColorItem = ResultsVelocity;

    network->SetResultsColorItemMinMaxValues();
    const TConfigOptions &o = network->ConfigOptions;
    EXPECT_EQ(o.ResultsColorItemMinValue, 1.0);
    EXPECT_EQ(o.ResultsColorItemMinValueFluidZoneIndex, 2);
    EXPECT_EQ(o.ResultsColorItemMaxValue, 3.0);
    EXPECT_EQ(o.ResultsColorItemMaxValueFluidZoneIndex, 3);
    EXPECT_EQ(o.ResultsColorItemAxisMinValue, 1.0);
    EXPECT_EQ(o.ResultsColorItemAxisMaxValue, 3.0);
    EXPECT_EQ(o.ResultsColorItemAxisMinValueFluidZoneIndex, 2);
    EXPECT_EQ(o.ResultsColorItemAxisMaxValueFluidZoneIndex, 3);

    // Node items range over the nodes.
    network->ConfigOptions.ResultsColorItem = ResultsPressure;
    network->SetResultsColorItemMinMaxValues();
    EXPECT_EQ(o.ResultsColorItemMinValue, 0.2);
    EXPECT_EQ(o.ResultsColorItemMaxValue, 1.0);
}

TEST(ResultsColour, OnlyAClosedPipeLeavesTheEmptyRangeAndEverythingBlack)
{
    auto network = NewNetwork();
    const int closed = AddPipe(*network, AddNode(*network, Tank, 0, 1), AddNode(*network, Joint, 0, 0), 2.0);
    network->RemoveNodeLinkAddClosedPipeLink(closed);
    network->SetResultsColorItemMinMaxValues();
    EXPECT_EQ(network->ConfigOptions.ResultsColorItemMinValue, 1e9);
    EXPECT_EQ(network->ConfigOptions.ResultsColorItemMaxValue, -1e9);
    EXPECT_EQ(network->GetColorFromItemMinMaxValues(0), 0);
    EXPECT_EQ(network->GetColorFromItemMinMaxValues(2.0), 0);
}

TEST(ResultsColour, GasSystemsColourByPressureInsteadOfHydraulicGrade)
{
    auto network = NewNetwork();
    network->FluidZones[1].Fluid.FluidIsGas = true;
    AddPipe(*network, AddNode(*network, Tank, 0, 4), AddNode(*network, Joint, 30, 2), 2.0);
    network->ConfigOptions.ResultsColorItem = ResultsHGL;
    network->SetResultsColorItemMinMaxValues();
    EXPECT_EQ(network->ConfigOptions.ResultsColorItem, ResultsPressure);
    EXPECT_EQ(network->ConfigOptions.ResultsColorItemMinValue, 2);
    EXPECT_EQ(network->ConfigOptions.ResultsColorItemMaxValue, 4);
}

TEST(ResultsColour, PipeValuesInSIAndTheirDisplayConversion)
{
    auto network = NewNetwork();
    TFluid &water = network->FluidZones[1].Fluid;
    water.FluidIsGas = false;
    water.density_kgs_m3 = 1000;
    const int from = AddNode(*network, Tank, 0, 3.0), to = AddNode(*network, Joint, 0, 1.0);
    const int pipeId = AddPipe(*network, from, to, 2.0, 1, 50);
    TPipe &pipe = network->GetPipe(pipeId);
    pipe.FlowUncompressed_m3s = 0.02;
    pipe.ReynoldsNumber = 12345;
    pipe.PipeFrictionLoss_mHd_Fluid = 10;
    pipe.FittingSet.AddFitting(TFitting(), 1, EntryFitting);
    pipe.FittingSet.ReplaceFitting(1, [] {
        TFitting f;
        f.SetFittingData(100, 1, "Elbow", "100 mm", "4\"", "", 0.75);
        return f;
    }());
    TConfigOptions &o = network->ConfigOptions;
    o.UnitOfVelocity = unt_ft_Sec;
    o.UnitOfLength = unt_m;
    o.UnitOfDiameter = unt_mm;
    o.UnitOfPressureLoss = unt_Bar_G;

    auto value = [&](TResultsColorItemEnum item) {
        o.ResultsColorItem = item;
        return network->GetResultsColorPipeItemValue(pipeId);
    };
    auto shown = [&](TResultsColorItemEnum item, double si) {
        o.ResultsColorItem = item;
        return network->GetResultsColorItemConvertedValue(si, 1);
    };
    EXPECT_DOUBLE_EQ(value(ResultsFlow), 0.02);
    EXPECT_DOUBLE_EQ(value(ResultsMassFlow), 20.0);
    EXPECT_DOUBLE_EQ(shown(ResultsMassFlow, 20.0), 20.0);
    EXPECT_DOUBLE_EQ(value(ResultsVelocity), 2.0);
    EXPECT_NEAR(shown(ResultsVelocity, 2.0), 2.0 / 0.3048, 1e-9);
    EXPECT_DOUBLE_EQ(value(ResultsPipeTotalPressureLossIncludingElevationChange), 2.0);
    EXPECT_DOUBLE_EQ(value(ResultsPipeTotalPressureLossIncludingElevationChangePer100), 4.0);
    const double frictionBar = convertPressure(unt_m_hd_fluid, unt_Bar_G, 10, o.Atmosphere_bar_a, 1000);
    EXPECT_DOUBLE_EQ(value(ResultsPipeFrictionLoss), frictionBar);
    EXPECT_DOUBLE_EQ(value(ResultsPipeFrictionLossPer100), frictionBar * 2);
    EXPECT_DOUBLE_EQ(pipe.PipeFrictionLoss_mHd_Fluid_per100, 20.0) << "written into the pipe";
    EXPECT_DOUBLE_EQ(value(ResultsPipeTotalK), 0.75);
    EXPECT_EQ(shown(ResultsPipeTotalK, 0.75), 0.0);
    EXPECT_DOUBLE_EQ(value(ResultsPipeReynoldsNumber), 12345);
    EXPECT_EQ(shown(ResultsPipeReynoldsNumber, 12345), 0.0);
    EXPECT_DOUBLE_EQ(shown(ResultsPipeInternalDiameter, value(ResultsPipeInternalDiameter)), 100.0);
    EXPECT_DOUBLE_EQ(value(ResultsPipeLength), 50);
    EXPECT_EQ(value(ResultsPressure), 0.0) << "a node item has no pipe value";
    o.ResultsColorItem = ResultsVelocity;
    EXPECT_EQ(network->GetResultsColorNodeItemValue(from), 0.0) << "a pipe item has no node value";

    // The friction loss is shown as a loss with one fluid zone, as a pressure with more.
    EXPECT_EQ(network->GetResultsColorItemUnit(ResultsPipeFrictionLoss), unt_Bar_G);
    o.UnitOfPressure = unt_Psi_G;
    network->FluidZonesCount = 2;
    EXPECT_EQ(network->GetResultsColorItemUnit(ResultsPipeFrictionLoss), unt_Psi_G);

    // A closed pipe has no loss; a pipe without length no loss per length.
    pipe.Length_m = 0;
    EXPECT_EQ(value(ResultsPipeTotalPressureLossIncludingElevationChangePer100), 0.0);
    EXPECT_EQ(value(ResultsPipeFrictionLossPer100), 0.0);
    EXPECT_EQ(pipe.PipeFrictionLoss_mHd_Fluid_per100, 0.0);
    network->RemoveNodeLinkAddClosedPipeLink(pipeId);
    EXPECT_EQ(value(ResultsPipeTotalPressureLossIncludingElevationChange), 0.0);
}

TEST(ResultsColour, NodeValuesAndGasFlows)
{
    auto network = NewNetwork();
    TFluid &water = network->FluidZones[1].Fluid;
    water.FluidIsGas = false;
    water.density_kgs_m3 = 1000;
    const int node = AddNode(*network, Tank, 12, 0.5);
    const int pipeId = AddPipe(*network, node, AddNode(*network, Joint, 0, 0), 1.0);
    TConfigOptions &o = network->ConfigOptions;
    o.ResultsColorItem = ResultsElevation;
    EXPECT_EQ(network->GetResultsColorNodeItemValue(node), 12);
    o.ResultsColorItem = ResultsHGL;
    EXPECT_DOUBLE_EQ(network->GetResultsColorNodeItemValue(node), network->GetNodeHGL(node));

    // In an all-gas system the flow is a standard flow and the velocity the exit velocity.
    water.FluidIsGas = true;
    water.density_kgs_m3 = 1.2;
    TPipe &pipe = network->GetPipe(pipeId);
    pipe.FlowUncompressed_m3s = 1.0;
    pipe.ExitVelocity_ms = 7;
    o.ResultsColorItem = ResultsVelocity;
    EXPECT_EQ(network->GetResultsColorPipeItemValue(pipeId), 7);
    o.ResultsColorItem = ResultsFlow;
    const double scmh = network->GetResultsColorPipeItemValue(pipeId);
    EXPECT_DOUBLE_EQ(scmh, convertFlowUnit(unt_kg_sec, unt_SCMH, o.GasFlowTemperaturePressureModel, 1.2, 1.2,
                                           water.pressure_bar_g, water.degrees_K, o.Atmosphere_bar_a));
    EXPECT_EQ(network->GetResultsColorItemUnit(ResultsFlow), o.UnitOfGasFlow);
}

} // namespace
} // namespace tessaran
