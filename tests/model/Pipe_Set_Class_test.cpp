#include "model/Pipe_Set_Class.h"

#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// A scratch pipe with the name, for the table to copy.
const TPipe &NamedPipe(const std::string &name)
{
    static TPipe pipe;
    pipe.Clear();
    pipe.Name = name;
    pipe.Length_m = 10;
    pipe.InnerDiameter_m = 0.05;
    return pipe;
}

TEST(PipeSet, RemovingAFreeIdDoesNothingAndOtherBadIdsRaise)
{
    TPipeSet set;
    EXPECT_EQ(set.AddPipe(NamedPipe("a")), 1);
    EXPECT_EQ(set.AddPipe(NamedPipe("b")), 2);
    set.RemovePipe(2);
    EXPECT_TRUE(set.ExistsOnFreeList(2));
    EXPECT_FALSE(set.ExistsOnFreeList(1));
    set.RemovePipe(2);   // already free
    set.RemovePipe(500); // never used
    set.RemovePipe(0);
    EXPECT_EQ(set.NumberOfPipesUsed(), 1);
    try {
        set.RemovePipe(1001);
        ADD_FAILURE();
    } catch (const EPipeClass &e) {
        EXPECT_STREQ(e.what(), "TPipeSet.RemovePipe Failed: Specified PipeId=1001 may not be valid (or is not a used "
                               "Pipe)");
    }
    for (int id : {0, 1001})
        EXPECT_THROW(set.GetPipe(id), EPipeClass) << id;
    EXPECT_EQ(set.AddPipe(NamedPipe("c")), 2);
}

TEST(PipeSet, AFullTableRefusesTheNextPipe)
{
    TPipeSet set;
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(set.AddPipe(NamedPipe("p")), i);
    try {
        set.AddPipe(NamedPipe("extra"));
        ADD_FAILURE();
    } catch (const EPipeClass &e) {
        EXPECT_STREQ(e.what(), "TPipeSet.AddPipe Failed: May have reached Max number of pipes allowed");
    }
    EXPECT_EQ(set.NumberOfPipesUsed(), 1000);
    EXPECT_FALSE(set.ExistsOnFreeList(1000));
}

TEST(PipeSet, NamesFindTheHighestUsedIdWithTheExactName)
{
    TPipeSet set;
    set.AddPipe(NamedPipe("Main"));
    set.AddPipe(NamedPipe("main"));
    set.AddPipe(NamedPipe("Main"));
    set.AddPipe(NamedPipe("Main"));
    set.RemovePipe(4);
    EXPECT_EQ(set.GetPipeIdFromName("Main"), 3);
    EXPECT_EQ(set.GetPipeIdFromName("main"), 2);
    EXPECT_EQ(set.GetPipeIdFromName("MAIN"), -1);
    set.DeSelectPipes();
    EXPECT_FALSE(set.GetPipe(1).Selected);
}

TEST(PipeSet, TheTableRecordKeepsIdsAndEveryPipe)
{
    TPipeSet set;
    for (int i = 1; i <= 9; ++i)
        set.AddPipe(NamedPipe("p" + std::to_string(i)));
    for (int i = 1; i <= 9; ++i)
        if (i != 3 && i != 8)
            set.RemovePipe(i);
    TPipe &eight = set.GetPipe(8);
    eight.PumpCount = 1;
    eight.Pump.PumpType = PumpFixedHead;
    eight.Pump.SetFixedHead_FluidHead_m = 12;
    eight.Notes = {"eight"};

    TMemoryStream stream;
    set.Save(stream, "7.40");
    stream.Seek(0);
    TPipeSet loaded;
    loaded.Load(stream, "7.40");
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(loaded.NumberOfPipesUsed(), 2);
    EXPECT_EQ(loaded.GetPipe(3).Name, "p3");
    EXPECT_EQ(loaded.GetPipe(8).Pump.SetFixedHead_FluidHead_m, 12);
    EXPECT_EQ(loaded.GetPipe(8).Notes, std::vector<std::string>{"eight"});
    EXPECT_EQ(loaded.AddPipe(NamedPipe("new")), 1);
    EXPECT_TRUE(loaded.ExistsOnFreeList(2));

    TPipeSet copy;
    copy.CopyPipeSet(loaded);
    EXPECT_EQ(copy.NumberOfPipesUsed(), 3);
    EXPECT_EQ(copy.GetPipe(8).PumpCount, 1);
    EXPECT_EQ(copy.AddPipe(NamedPipe("x")), 2);

    // A damaged pipe record fails the whole table.
    TMemoryStream broken;
    broken.WriteInt32(1);
    broken.WriteInt32(5);
    broken.WriteInt32(3);
    broken.Seek(0);
    EXPECT_THROW(copy.Load(broken, "7.40"), EStreamError);
    EXPECT_EQ(copy.NumberOfPipesUsed(), 0);
}

} // namespace
} // namespace tessaran
