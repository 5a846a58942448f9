#include "dialogs/Fluid_Data_Set_Class.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "units/Unit_Format.h"

namespace tessaran {
namespace {

// Runs a piece of a test with the user's decimal separator set.
class TSeparator {
public:
    explicit TSeparator(char separator) : saved_(userDecimalSeparator()) { setUserDecimalSeparator(separator); }
    ~TSeparator() { setUserDecimalSeparator(saved_); }

private:
    char saved_;
};

TFluid Water()
{
    TFluid water;
    water.SetToWater();
    return water;
}

TFluid Named(const std::string &name, bool gas, double kelvin = 293.15)
{
    TFluid fluid;
    fluid.name = name;
    fluid.FluidIsGas = gas;
    fluid.degrees_K = kelvin;
    return fluid;
}

TEST(FluidLine, WrittenUnderEitherSeparatorReadsBackUnderTheOther)
{
    const TFluid water = Water();
    std::string pointLine, commaLine;
    {
        TSeparator point('.');
        pointLine = FluidToString(water);
    }
    {
        TSeparator comma(',');
        commaLine = FluidToString(water);
    }
    EXPECT_EQ(pointLine, "Water~|~H2O~|~293.150~|~0.000~|~998.000~|~1.002~|~2.400000~|~0");
    EXPECT_EQ(commaLine, "Water~|~H2O~|~293,150~|~0,000~|~998,000~|~1,002~|~2,400000~|~0");

    for (const auto &[line, reader] : {std::pair{pointLine, ','}, std::pair{commaLine, '.'}}) {
        TSeparator separator(reader);
        TFluid read = Named("x", true);
        TFluidDataRec record{&read, false};
        SetFluidFromString(line, record);
        EXPECT_EQ(read.name, "Water");
        EXPECT_EQ(read.chemicalFormula, "H2O");
        EXPECT_DOUBLE_EQ(read.degrees_K, 293.15);
        EXPECT_DOUBLE_EQ(read.density_kgs_m3, 998.0);
        EXPECT_DOUBLE_EQ(read.centipoise, 1.002);
        EXPECT_DOUBLE_EQ(read.vapourPressure_bar_a, 0.024);
        EXPECT_FALSE(read.FluidIsGas);
        EXPECT_DOUBLE_EQ(read.centistokes, 1.002 / 998.0 * 1000.0);
    }
}

TEST(FluidLine, ReadingCutsLongTextsAndTakesTheStateFromTheLastCharacter)
{
    TFluid fluid;
    TFluidDataRec record{&fluid, false};
    const std::string name(85, 'N');
    const std::string formula(35, 'F');
    SetFluidFromString(name + "~|~" + formula + "~|~300.000~|~1.000~|~1.200~|~0.018~|~1.400000~|~1", record);
    EXPECT_EQ(fluid.name, std::string(80, 'N'));
    EXPECT_EQ(fluid.chemicalFormula, std::string(30, 'F'));
    EXPECT_TRUE(fluid.FluidIsGas);
    EXPECT_DOUBLE_EQ(fluid.specificHeatRatio, 1.4);

    for (const char *bad : {"", "Water~|~H2O~|~293.150~|~0.000~|~998.000~|~1.002~|~0",
                            "Water~|~H2O~|~warm~|~0.000~|~998.000~|~1.002~|~2.4~|~0"}) {
        try {
            SetFluidFromString(bad, record);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const EFluidDataSetClass &error) {
            EXPECT_STREQ(error.what(),
                         "TFluidDataSetClass.SetFluidFromString Failed: String format may not be correct");
        }
    }
}

TEST(FluidLine, NamesThatWouldBreakTheLineAreRefused)
{
    for (const char *name : {"A~|~B", "Two\rlines", "Two\nlines"}) {
        TFluid fluid = Water();
        fluid.name = name;
        EXPECT_TRUE(BreaksFluidLine(name));
        EXPECT_THROW(FluidToString(fluid), EFluidDataSetClass) << name;
    }
    TFluid fluid = Water();
    fluid.chemicalFormula = "C~|~H";
    EXPECT_THROW(FluidToString(fluid), EFluidDataSetClass);

    TFluidDataSet set(5);
    fluid.name = "Bad~|~Name";
    fluid.chemicalFormula = "X";
    set.AddFluidDataRec({&fluid, false});
    std::ostringstream out;
    try {
        set.SaveToText_LiquidsDataSet(out);
        ADD_FAILURE();
    } catch (const EFluidDataSetClass &error) {
        EXPECT_STREQ(error.what(), "Code -03: Could not save Standard Liquids file.");
    }
}

TEST(FluidLine, OldCombinedLines)
{
    struct Case {
        const char *line;
        bool user, gas;
        double vapour_bar_a, ratio;
    };
    const Case cases[] = {
        {"Oil~|~-~|~293.150~|~0.000~|~850.000~|~5.000~|~1.000000~|~0~|~1", true, false, 0.01, 7.0},
        {"Oil~|~-~|~293.150~|~0.000~|~850.000~|~5.000~|~1.000000~|~0~|~0", false, false, 0.01, 7.0},
        {"Gas~|~-~|~293.150~|~0.000~|~1.200~|~0.018~|~1.000000~|~1~|~1", true, true, 0.0, 0.0},
        // A state field not followed by the separator reads as a gas.
        {"Gas~|~-~|~293.150~|~0.000~|~1.200~|~0.018~|~1.000000~|~0", false, true, 0.0, 0.0},
    };
    for (const Case &c : cases) {
        TFluidDataSet set(3);
        set.FluidDataArray[1].Fluid->specificHeatRatio = 7.0;
        std::istringstream in(std::string(c.line) + "\r\n");
        EXPECT_EQ(set.LoadFromText_V639FluidsDataSet(in), "");
        ASSERT_EQ(set.FluidCount, 1) << c.line;
        const TFluidDataRec entry = set.GetFluidDataRec(1);
        EXPECT_EQ(entry.Is_UserFluidData, c.user) << c.line;
        EXPECT_EQ(entry.Fluid->FluidIsGas, c.gas) << c.line;
        EXPECT_DOUBLE_EQ(entry.Fluid->vapourPressure_bar_a, c.vapour_bar_a) << c.line;
        EXPECT_DOUBLE_EQ(entry.Fluid->specificHeatRatio, c.ratio) << c.line;
    }
}

std::string Lines(int count, const char *state = "0")
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "Fluid" + std::to_string(i) + "~|~F~|~293.150~|~0.000~|~998.000~|~1.002~|~2.400000~|~" + state + "\r\n";
    return text;
}

TEST(FluidDataSet, LoadersFillTheFreeSlotsOrLeaveTheCountAsItWas)
{
    TFluidDataSet set(6);
    std::istringstream two(Lines(2));
    EXPECT_EQ(set.LoadFromText_LiquidsDataSet(two), "");
    ASSERT_EQ(set.FluidCount, 2);

    // Exactly the four free slots: loaded whole and silently.
    std::istringstream four(Lines(4, "1"));
    EXPECT_EQ(set.LoadFromText_UserGasesDataSet(four), "");
    EXPECT_EQ(set.FluidCount, 6);
    EXPECT_TRUE(set.GetFluidDataRec(6).Is_UserFluidData);
    EXPECT_TRUE(set.GetFluidDataRec(6).Fluid->FluidIsGas);

    TFluidDataSet small(6);
    std::istringstream first(Lines(2));
    ASSERT_EQ(small.LoadFromText_LiquidsDataSet(first), "");
    struct Case {
        std::string (TFluidDataSet::*loader)(std::istream &);
        const char *text;
    };
    const Case tooLarge[] = {
        {&TFluidDataSet::LoadFromText_LiquidsDataSet,
         "Code -02: File too large - Read past max number of Fluid entries."},
        {&TFluidDataSet::LoadFromText_UserLiquidsDataSet,
         "Code -02a: File too large - Read past max number of Fluids."},
        {&TFluidDataSet::LoadFromText_GasesDataSet,
         "Code -02b: File too large - Read past max number of Fluid entries."},
        {&TFluidDataSet::LoadFromText_UserGasesDataSet, "Code -02c: File too large - Read past max number of Fluids."},
    };
    for (const Case &c : tooLarge) {
        std::istringstream five(Lines(5));
        EXPECT_EQ((small.*c.loader)(five), c.text);
        EXPECT_EQ(small.FluidCount, 2);
    }

    // A line of seven fields, third in the first file of an empty set.
    TFluidDataSet empty(10);
    std::istringstream broken(Lines(2) + "Short~|~F~|~293.150~|~0.000~|~998.000~|~1.002~|~0\r\n" + Lines(1));
    try {
        (void)empty.LoadFromText_LiquidsDataSet(broken);
        ADD_FAILURE();
    } catch (const EFluidDataSetClass &error) {
        EXPECT_STREQ(error.what(), "Code -01: Error on line number 3");
    }
    EXPECT_EQ(empty.FluidCount, 0);

    std::istringstream nothing("");
    EXPECT_EQ(empty.LoadFromText_GasesDataSet(nothing), "");
    EXPECT_EQ(empty.FluidCount, 0);
}

TEST(FluidDataSet, EachSaverWritesItsCategoryByTheLinesOwnState)
{
    TFluidDataSet set(10);
    // The last line is a gas although it stands in the standard liquids file.
    std::istringstream liquids(Lines(2) + "Air~|~N2~|~293.150~|~0.000~|~1.204~|~0.018~|~1.400000~|~1\r\n");
    ASSERT_EQ(set.LoadFromText_LiquidsDataSet(liquids), "");
    std::istringstream user(Lines(1));
    ASSERT_EQ(set.LoadFromText_UserLiquidsDataSet(user), "");
    std::ostringstream standardLiquids, standardGases, userLiquids, userGases;
    set.SaveToText_LiquidsDataSet(standardLiquids);
    set.SaveToText_GasesDataSet(standardGases);
    set.SaveToText_UserLiquidsDataSet(userLiquids);
    set.SaveToText_UserGasesDataSet(userGases);
    EXPECT_EQ(standardLiquids.str(), Lines(2));
    EXPECT_EQ(standardGases.str(), "Air~|~N2~|~293.150~|~0.000~|~1.204~|~0.018~|~1.400000~|~1\r\n");
    EXPECT_EQ(userLiquids.str(), Lines(1));
    EXPECT_EQ(userGases.str(), "");
}

TEST(FluidDataSet, SortFindAndRemove)
{
    TFluidDataSet set(5);
    for (const TFluid &fluid : {Named("Water", false), Named("Air", true), Named("Benzene", false)}) {
        TFluid copy = fluid;
        set.AddFluidDataRec({&copy, false});
    }
    auto names = [&] {
        std::string joined;
        for (int i = 1; i <= set.FluidCount; ++i)
            joined += set.GetFluidDataRec(i).Fluid->name + " ";
        return joined;
    };
    set.SortFluidDataSet(true);
    EXPECT_EQ(names(), "Benzene Water Air ");
    set.SortFluidDataSet(false);
    EXPECT_EQ(names(), "Air Water Benzene ");

    TFluid again = Named("Water", false, 300.0);
    set.AddFluidDataRec({&again, true});
    EXPECT_EQ(set.FindEntryNameId("Water"), 4);
    EXPECT_EQ(set.FindEntryNameIDAndTemperaturePressure("Water", 293.15, 0.0), 2);
    EXPECT_EQ(set.FindEntryNameId("water"), -1);

    TFluid extra = Named("Extra", false);
    set.AddFluidDataRec({&extra, false});
    try {
        set.AddFluidDataRec({&extra, false});
        ADD_FAILURE();
    } catch (const EFluidDataSetClass &error) {
        EXPECT_STREQ(error.what(), "TFluidDataSet.AddFluidData Failed: May have reached Max number of Fluids allowed");
    }
    set.RemoveFluidDataRec(5);
    EXPECT_EQ(names(), "Air Water Benzene Water ");
    set.RemoveFluidDataRec(1);
    EXPECT_EQ(names(), "Water Benzene Water ");
    EXPECT_TRUE(set.GetFluidDataRec(3).Is_UserFluidData);
    EXPECT_EQ(set.GetFluidDataRec(5).Fluid->name, "Water");
    for (int id : {0, 4}) {
        try {
            set.RemoveFluidDataRec(id);
            ADD_FAILURE() << id;
        } catch (const EFluidDataSetClass &error) {
            EXPECT_STREQ(error.what(), "TFluidDataSet.RemoveFluidData Failed: Specified Id may not be valid");
        }
    }
    EXPECT_EQ(set.FluidCount, 3);
}

} // namespace
} // namespace tessaran
