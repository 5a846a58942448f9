#include "model/Fitting_Set_Class.h"

#include "Byte_Fixture.h"
#include "model/FileHeader.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaran {
namespace {

using test::ByteFixture;

TFitting MakeFitting(int size, int image, const std::string &partType, double k, const std::string &description = "")
{
    TFitting f;
    f.SetFittingData(size, image, partType, std::to_string(size) + " mm", "", description, k);
    return f;
}

void AppendFitting(ByteFixture &fixture, int size, int image, const std::string &partType, double k)
{
    fixture.Int32(size).Int32(image).Short(partType, 40).Short("100 mm", 16).Short("4 in", 16).Short("Bend", 80).Double(k);
}

TEST(Fitting, RecordIs172BytesWithSizeBeforeImage)
{
    ByteFixture fixture;
    AppendFitting(fixture, 100, 3, "LR90", 0.045);
    ASSERT_EQ(fixture.Size(), 172u);
    ASSERT_EQ(TFitting::RecordSize, 172);

    TMemoryStream stream = fixture.Stream();
    TFitting f;
    f.Load(stream);
    EXPECT_EQ(f.MetricSize, 100);
    EXPECT_EQ(f.ImageIndex, 3);
    EXPECT_EQ(f.PartTypeStr, "LR90");
    EXPECT_EQ(f.MetricDiameter, "100 mm");
    EXPECT_EQ(f.ImperialDiameter, "4 in");
    EXPECT_EQ(f.Description, "Bend");
    EXPECT_EQ(f.KValue, 0.045);

    TMemoryStream written;
    f.Save(written);
    written.Seek(0);
    TFitting again;
    again.Load(written);
    EXPECT_EQ(written.Size(), 172);
    EXPECT_EQ(again.GetTextLine(), f.GetTextLine());
}

TEST(Fitting, TextLineKeepsEnoughDigitsToReadBack)
{
    // K used to be written with two decimals, so 0.045 came back as 0.05.
    struct Case {
        double k;
        const char *text;
    } cases[] = {{0.5, "0.50"}, {0.045, "0.045"}, {12, "12.00"}, {0.1 + 0.2, "0.30000000000000004"}, {-1.25, "-1.25"}};
    for (const Case &c : cases) {
        TFitting f = MakeFitting(25, 9, "GateV", c.k, "Gate valve");
        std::string line = f.GetTextLine();
        EXPECT_EQ(line, "25~|~9~|~GateV~|~25 mm~|~~|~Gate valve~|~" + std::string(c.text));
        TFitting read;
        read.SetFromTextLine(line);
        EXPECT_EQ(read.KValue, c.k);
        EXPECT_EQ(read.GetTextLine(), line);
    }
}

TEST(Fitting, TextLineReadsEitherDecimalSeparatorAndCutsTexts)
{
    TFitting f;
    f.SetFromTextLine("0~|~-1~|~SuCon~|~~|~~|~Sudden contraction~|~0.5");
    EXPECT_EQ(f.KValue, 0.5);
    EXPECT_EQ(f.MetricSize, 0);
    EXPECT_EQ(f.ImageIndex, -1);
    f.SetFromTextLine("0~|~1~|~SuCon~|~~|~~|~Sudden contraction~|~0,5");
    EXPECT_EQ(f.KValue, 0.5);
    f.SetFromTextLine("0~|~1~|~" + std::string(45, 'p') + "~|~~|~~|~~|~2");
    EXPECT_EQ(f.PartTypeStr, std::string(40, 'p'));

    std::istringstream in("50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball valve~|~0.05\r\nnext");
    f.LoadFromText(in);
    EXPECT_EQ(f.Description, "Ball valve");
    EXPECT_EQ(f.KValue, 0.05);
}

TEST(Fitting, MalformedLinesAreRefusedAndLeaveTheFittingCleared)
{
    for (const char *line : {
             "50~|~7~|~Ball~|~50 mm~|~2 in~|~0.05",         // six fields
             "5O~|~7~|~Ball~|~50 mm~|~2 in~|~Ball~|~0.05",  // letter O in the size
             "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball~|~",      // no K
             "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball~|~0,0,5", // two separators
             "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball~|~0.05~|~x",
             "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball~|~nan",
             "",
         }) {
        TFitting f = MakeFitting(80, 2, "LR90", 0.3);
        try {
            f.SetFromTextLine(line);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const EFittingClass &e) {
            EXPECT_STREQ(e.what(), "TFitting.LoadFromText Failed: String format may not be correct");
        }
        EXPECT_EQ(f.MetricSize, -1) << line;
        EXPECT_EQ(f.KValue, 0) << line;
    }
}

// What is saved always loads: entry refuses the field separator, a cut
// never makes one, and one read from a binary record is written as "~!~".
TEST(Fitting, SavedTextsNeverHoldTheFieldSeparator)
{
    for (const std::string &bad : {"Gate ~|~ valve", "ends in ~|"})
        EXPECT_THROW(MakeFitting(25, 9, "GateV", 0.5, bad), EFittingClass) << bad;

    const TFitting cut = MakeFitting(25, 9, "GateV", 0.5, std::string(78, 'd') + "~|x");
    EXPECT_EQ(cut.Description, std::string(78, 'd') + "~");

    ByteFixture record;
    record.Int32(25).Int32(9).Short("Gate~|", 40).Short("25 mm", 16).Short("1 in", 16).Short("a~|~b", 80).Double(0.5);
    TMemoryStream stream(record.bytes);
    TFitting binary;
    binary.Load(stream);
    ASSERT_EQ(binary.Description, "a~|~b");

    for (const TFitting &saved : {cut, binary}) {
        TFitting read;
        ASSERT_NO_THROW(read.SetFromTextLine(saved.GetTextLine())) << saved.GetTextLine();
        EXPECT_EQ(read.KValue, 0.5);
        EXPECT_EQ(read.GetTextLine(), saved.GetTextLine());
    }
    TFitting read;
    read.SetFromTextLine(binary.GetTextLine());
    EXPECT_EQ(read.PartTypeStr, "Gate~!");
    EXPECT_EQ(read.Description, "a~!~b");
}

TEST(Fitting, GridCellsAndSortKeys)
{
    TFitting f = MakeFitting(100, 12, "Globe", 6.125, "Globe valve");
    EXPECT_EQ(f.DisplayOnStringGrid(),
              (std::vector<std::string>{"100", "12", "Globe", "100 mm", "", "Globe valve", "6.1250"}));
    EXPECT_EQ(f.GetSizedField(0), "  12");
    EXPECT_EQ(f.GetSizedField(6), "            6.13");
    EXPECT_EQ(f.GetSizedField(7), "");
    EXPECT_EQ(f.GetSizedField(3), "          100 mm");
    EXPECT_EQ(f.GetSortString(1, 2, 1, 17), " 100Globe" + std::string(35, ' ') + " 100\t17");
    f.MetricSize = 123456; // a wider value is not cut
    EXPECT_EQ(f.GetSizedField(1), "123456");
}

TEST(FittingSet, CapacityAddAndRemove)
{
    TFittingSet set(5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(set.AddFitting(MakeFitting(10 * i, i, "F" + std::to_string(i), i), i, EntryFitting), i);
    try {
        set.AddFitting(MakeFitting(60, 6, "F6", 6), 1, EntryFitting);
        ADD_FAILURE() << "sixth fitting accepted";
    } catch (const EFittingSetClass &e) {
        EXPECT_STREQ(e.what(), "TFittingSet.AddFitting Failed: May have reached Max number of Fittings allowed");
    }
    EXPECT_EQ(set.FittingCount, 5);
    EXPECT_EQ(set.GetFittingFileType(1), FittingFileUser);

    set.RemoveFitting(5);
    set.RemoveFitting(2);
    EXPECT_EQ(set.FittingCount, 3);
    EXPECT_EQ(set.GetFitting(2).PartTypeStr, "F3");
    EXPECT_EQ(set.GetQuantity(2), 3);
    EXPECT_EQ(set.GetFitting(3).PartTypeStr, "F4");
    EXPECT_EQ(set.FittingArray[4].Fitting.ImageIndex, -1);

    const char *removeError =
        "TFittingSet.RemoveFitting Failed: Specified FittingId may not be valid (or is not a used Fitting)";
    for (int id : {0, 4, -1}) {
        try {
            set.RemoveFitting(id);
            ADD_FAILURE() << "removed " << id;
        } catch (const EFittingSetClass &e) {
            EXPECT_STREQ(e.what(), removeError);
        }
    }
    set.ReplaceFitting(1, TFitting()); // a cleared fitting is not a used one
    EXPECT_THROW(set.RemoveFitting(1), EFittingSetClass);
    EXPECT_EQ(set.FittingCount, 3);
}

TEST(FittingSet, CopyTakesEveryEntryFieldAndNeedsTheRoom)
{
    TFittingSet source(5);
    source.AddFitting(MakeFitting(25, 1, "LR90", 0.3), 2, ExitFitting);
    source.AddFitting(MakeFitting(25, 9, "Gate", 0.15), 1, EntryFitting);
    source.SetFittingFileType(2, FittingFileTessaran);

    TFittingSet target(5);
    for (int i = 0; i < 4; ++i)
        target.AddFitting(MakeFitting(1, 1, "stale", 1), 1, EntryFitting);
    target.CopyFittingSet(source);
    ASSERT_EQ(target.FittingCount, 2);
    EXPECT_EQ(target.GetFitting(1).PartTypeStr, "LR90");
    EXPECT_EQ(target.GetQuantity(1), 2);
    EXPECT_EQ(target.GetFittingPosition(1), ExitFitting);
    EXPECT_EQ(target.GetFittingFileType(2), FittingFileTessaran);
    EXPECT_EQ(target.FittingArray[3].Fitting.ImageIndex, -1);

    TFittingSet tooSmall(1);
    EXPECT_THROW(tooSmall.CopyFittingSet(source), EFittingSetClass);
    EXPECT_EQ(tooSmall.FittingCount, 0);
}

// The accessors used to index the array without a test; an id outside the
// used entries now raises instead of reading or writing past them.
TEST(FittingSet, AccessorsRefuseIdsOutsideTheUsedEntries)
{
    TFittingSet set(5);
    set.AddFitting(MakeFitting(25, 1, "LR90", 0.3), 2, ExitFitting);
    for (int id : {0, 2, 6, -3}) {
        EXPECT_THROW(set.GetQuantity(id), EFittingSetClass) << id;
        EXPECT_THROW(set.GetFitting(id), EFittingSetClass) << id;
        EXPECT_THROW(set.GetFittingPosition(id), EFittingSetClass) << id;
        EXPECT_THROW(set.UpdateFittingQuantity(id, 1), EFittingSetClass) << id;
        EXPECT_THROW(set.ReplaceFitting(id, TFitting()), EFittingSetClass) << id;
    }
    set.UpdateFittingQuantity(1, 4);
    set.UpdateFittingPosition(1, EntryFitting);
    set.SetFittingFileType(1, FittingFileTessaran);
    EXPECT_EQ(set.GetQuantity(1), 4);
    EXPECT_EQ(set.DisplayQuantityOnStringGrid(1), "4");
    EXPECT_EQ(set.DisplayPositionOnStringGrid(1), "Start of Pipe");
    EXPECT_EQ(set.GetFittingFileType(1), FittingFileTessaran);
}

TEST(FittingSet, SumsAndCountsByPositionKindAndSize)
{
    TFittingSet set(10);
    set.AddFitting(MakeFitting(0, 1, "SuCon", 0.5), 1, EntryFitting);  // contraction, bespoke size
    set.AddFitting(MakeFitting(25, 1, "SuCon", 0.4), 1, EntryFitting); // sized: not counted as contraction
    set.AddFitting(MakeFitting(0, 2, "GrEn", 0.2), 1, ExitFitting);
    set.AddFitting(MakeFitting(-1, 2, "sucon", 0.1), 1, EntryFitting); // case differs: no contraction
    set.AddFitting(MakeFitting(50, 7, "Gate", 0.15), 2, EntryFitting);
    set.AddFitting(MakeFitting(50, 20, "Check", 2.0), 1, ExitFitting);
    set.AddFitting(MakeFitting(50, 21, "LR90", 0.25), 3, ExitFitting);

    EXPECT_EQ(set.GetFittingCountIncludingQuantities(), 10);
    EXPECT_DOUBLE_EQ(set.CalculateEntryFittingsKValue(), 0.5 + 0.4 + 0.1 + 2 * 0.15);
    EXPECT_DOUBLE_EQ(set.CalculateExitFittingsKValue(), 0.2 + 2.0 + 3 * 0.25);
    EXPECT_DOUBLE_EQ(set.CalculateTotal_KValue(), set.CalculateEntryFittingsKValue() + set.CalculateExitFittingsKValue());
    EXPECT_EQ(set.countEntryFittings(), 4);
    EXPECT_EQ(set.countExitFittings(), 3);
    EXPECT_EQ(set.countEntryFittingsValves(), 1);
    EXPECT_EQ(set.countExitFittingsValves(), 1);
    EXPECT_EQ(set.countBespokeNominalSizeZeroFittings(), 3);
    EXPECT_EQ(set.countContractionFittings(), 1);
    EXPECT_EQ(set.countContractionFittingsAtStartOfPipe(), 1);
    EXPECT_EQ(set.countExpansionFittings(), 1);
    EXPECT_EQ(set.countExpansionFittingsAtStartOfPipe(), 0);
    EXPECT_EQ(set.GetFittingSetSymbolType(true, true), FittingSetSymbolBendAndValve);
    EXPECT_EQ(set.GetFittingSetSymbolType(false, true), FittingSetSymbolValve);
    EXPECT_EQ(set.GetFittingSetSymbolType(true, false), FittingSetSymbolBend);
    EXPECT_EQ(set.GetFittingSetSymbolType(false, false), FittingSetSymbolNone);

    set.RemoveEntryFittings();
    ASSERT_EQ(set.FittingCount, 3);
    EXPECT_EQ(set.GetFitting(1).PartTypeStr, "GrEn");
    EXPECT_EQ(set.GetFitting(3).PartTypeStr, "LR90");
    set.RemoveExitFittings();
    EXPECT_EQ(set.FittingCount, 0);
}

TEST(FittingSet, SameTypeNewSizeLooksWithinSevenAndAHalfPercentBelow)
{
    TFittingSet set(10);
    for (int size : {92, 93, 100, 101})
        set.AddFitting(MakeFitting(size, 1, "LR90", size / 100.0), 1, EntryFitting);
    set.AddFitting(MakeFitting(95, 1, "SR90", 9), 1, EntryFitting);
    for (int id = 1; id <= set.FittingCount; ++id)
        set.SetFittingFileType(id, FittingFileTessaran);
    set.SetFittingFileType(5, FittingFileTessaran);

    TFitting wanted = MakeFitting(50, 1, "LR90", 0);
    bool found = false;
    set.GetFittingSameTypeNewSize(FittingFileTessaran, 100, wanted, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(wanted.MetricSize, 100); // 93 matches too; the last match stays

    set.RemoveFitting(3); // without 100 mm only 93 mm fits
    wanted = MakeFitting(50, 1, "LR90", 0);
    set.GetFittingSameTypeNewSize(FittingFileTessaran, 100, wanted, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(wanted.MetricSize, 93);

    set.RemoveFitting(2); // 92 and 101 never fit
    wanted = MakeFitting(50, 1, "LR90", 0);
    set.GetFittingSameTypeNewSize(FittingFileTessaran, 100, wanted, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(wanted.MetricSize, 50);
    set.GetFittingSameTypeNewSize(FittingFileUser, 101, wanted, found);
    EXPECT_FALSE(found);

    EXPECT_TRUE(set.CheckForDuplicateFittingReference("SR90", 95));
    EXPECT_EQ(set.FindFittingReference("LR90", 101), 2);
    EXPECT_EQ(set.FindFittingReference("LR90", 100), -1);
}

TEST(FittingSet, RecordRoundTripsAndKeepsPositions)
{
    TFittingSet set(5);
    set.AddFitting(MakeFitting(25, 1, "LR90", 0.045), 3, EntryFitting);
    set.AddFitting(MakeFitting(25, 9, "Gate", 0.15), 1, ExitFitting);
    TMemoryStream stream;
    set.Save(stream, "7.40");
    EXPECT_EQ(stream.Size(), 4 + 2 * (172 + 4 + 1));

    stream.Seek(0);
    TFittingSet read(5);
    read.AddFitting(MakeFitting(1, 1, "stale", 1), 1, ExitFitting);
    read.Load(stream, "7.40");
    ASSERT_EQ(read.FittingCount, 2);
    EXPECT_EQ(read.GetFitting(1).KValue, 0.045);
    EXPECT_EQ(read.GetQuantity(1), 3);
    EXPECT_EQ(read.GetFittingPosition(1), EntryFitting);
    EXPECT_EQ(read.GetFitting(2).PartTypeStr, "Gate");
    EXPECT_EQ(read.GetFittingPosition(2), ExitFitting);
}

TEST(FittingSet, RecordBefore640DerivesThePositionFromThePartType)
{
    ByteFixture fixture;
    fixture.Int32(4);
    for (const char *partType : {"ExitCon", "exitcon", "Open", "LR90"}) {
        AppendFitting(fixture, 0, 1, partType, 1.0);
        fixture.Int32(1); // quantity, no position byte
    }
    TMemoryStream stream = fixture.Stream();
    TFittingSet set(5);
    set.Load(stream, "6.39");
    EXPECT_EQ(stream.Remaining(), 0);
    ASSERT_EQ(set.FittingCount, 4);
    EXPECT_EQ(set.GetFittingPosition(1), ExitFitting);
    EXPECT_EQ(set.GetFittingPosition(2), EntryFitting);
    EXPECT_EQ(set.GetFittingPosition(3), ExitFitting);
    EXPECT_EQ(set.GetFittingPosition(4), EntryFitting);

    TMemoryStream written;
    set.Save(written, "6.39");
    EXPECT_EQ(written.Bytes().size(), fixture.Size());
    written.Seek(0);
    TFittingSet again(5);
    again.Load(written, "6.39");
    EXPECT_EQ(again.FittingCount, 4);
    EXPECT_EQ(again.GetFittingPosition(3), ExitFitting);
}

// A count above the capacity used to be loaded into the fixed array; now the
// record is refused before anything is read and the set stays cleared.
TEST(FittingSet, RecordWithBadCountOrPositionIsRefused)
{
    auto record = [](int count, int entries, std::uint8_t position) {
        ByteFixture fixture;
        fixture.Int32(count);
        for (int i = 0; i < entries; ++i) {
            AppendFitting(fixture, 25, 1, "LR90", 0.3);
            fixture.Int32(1).Byte(position);
        }
        return fixture;
    };
    struct Case {
        ByteFixture fixture;
        const char *what;
    } cases[] = {
        {record(6, 6, 0), "count above capacity"},
        {record(-1, 0, 0), "negative count"},
        {record(2, 1, 0), "stream ends inside the second entry"},
        {record(1, 1, 2), "position byte out of range"},
    };
    for (const Case &c : cases) {
        TFittingSet set(5);
        set.AddFitting(MakeFitting(1, 1, "stale", 1), 1, ExitFitting);
        TMemoryStream stream = c.fixture.Stream();
        EXPECT_ANY_THROW(set.Load(stream, "7.40")) << c.what;
        EXPECT_EQ(set.FittingCount, 0) << c.what;
        EXPECT_EQ(set.FittingArray[1].Fitting.ImageIndex, -1) << c.what;
    }
}

std::string TableLines(int count, int firstSize = 1)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(firstSize + i) + "~|~1~|~LR90~|~~|~~|~Bend~|~0.3\r\n";
    return text;
}

TEST(FittingSet, TablesFillTheDatabaseUpToItsCapacity)
{
    TFittingSet set(5000);
    std::istringstream full(TableLines(5000));
    EXPECT_EQ(set.LoadFromTextWithoutQuantity(full), "");
    EXPECT_EQ(set.FittingCount, 5000);
    EXPECT_EQ(set.GetFitting(5000).MetricSize, 5000);
    EXPECT_EQ(set.GetFittingFileType(1), FittingFileTessaran);
    EXPECT_EQ(set.GetQuantity(1), 0);

    // An over-full table used to be dropped whole; the fittings that fit are
    // now kept and the user interface is told the rest was not read.
    TFittingSet small(3);
    std::istringstream overfull(TableLines(4));
    EXPECT_EQ(small.LoadFromTextWithoutQuantity(overfull),
              "Code -02: File too large - Read past max number of fittings.");
    EXPECT_EQ(small.FittingCount, 3);
    std::istringstream user(TableLines(1, 900));
    EXPECT_EQ(small.LoadUserFittings_FromTextWithoutQuantity(user),
              "Code -02u: File too large - Read past max number of fittings.");
    EXPECT_EQ(small.FittingCount, 3);
}

TEST(FittingSet, DamagedTableLineRaisesWithItsLineNumberAndChangesNothing)
{
    TFittingSet set(10);
    std::istringstream standard(TableLines(2));
    ASSERT_EQ(set.LoadFromTextWithoutQuantity(standard), "");

    struct Case {
        bool user;
        const char *message;
    } cases[] = {{true, "Code -01u: Error on line number 3"}, {false, "Code -01: Error on line number 3"}};
    for (const Case &c : cases) {
        std::istringstream damaged(TableLines(2, 500) + "broken line\r\n" + TableLines(1, 600));
        try {
            auto message = c.user ? set.LoadUserFittings_FromTextWithoutQuantity(damaged)
                                  : set.LoadFromTextWithoutQuantity(damaged);
            ADD_FAILURE() << "accepted, " << message;
        } catch (const EFittingClass &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(set.FittingCount, 2);
        EXPECT_EQ(set.GetFitting(1).MetricSize, 1);
        EXPECT_EQ(set.FittingArray[3].Fitting.ImageIndex, -1);
    }
}

TEST(FittingSet, TablesRoundTripEachListInItsOwnFile)
{
    TFittingSet set(10);
    std::istringstream standard("100~|~3~|~LR90~|~100 mm~|~4 in~|~Long radius bend~|~0,045\r\n"
                                "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball valve~|~0.05");
    ASSERT_EQ(set.LoadFromTextWithoutQuantity(standard), "");
    std::istringstream user("0~|~1~|~SuCon~|~~|~~|~Own contraction~|~0.5\r\n");
    ASSERT_EQ(set.LoadUserFittings_FromTextWithoutQuantity(user), "");
    ASSERT_EQ(set.FittingCount, 3);
    EXPECT_EQ(set.GetFittingFileType(3), FittingFileUser);

    std::ostringstream standardOut, userOut;
    TFileHeader header;
    header.SetData(std::string(TFittingSet::FittingTablesVersion), "", "");
    header.SaveToText(standardOut);
    set.SaveToTextWithoutQuantity(standardOut);
    set.SaveUserFittings_ToTextWithoutQuantity(userOut);
    EXPECT_EQ(standardOut.str(), "1.02~|~~|~\r\n"
                                 "100~|~3~|~LR90~|~100 mm~|~4 in~|~Long radius bend~|~0.045\r\n"
                                 "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball valve~|~0.05\r\n");
    EXPECT_EQ(userOut.str(), "0~|~1~|~SuCon~|~~|~~|~Own contraction~|~0.50\r\n");

    std::ostringstream failing;
    failing.setstate(std::ios::badbit);
    try {
        set.SaveUserFittings_ToTextWithoutQuantity(failing);
        ADD_FAILURE();
    } catch (const EFittingClass &e) {
        EXPECT_STREQ(e.what(), "Code -03u: Could not save file.");
    }
}

TEST(FittingSet, SortByColumnInEitherDirection)
{
    TFittingSet set(10);
    set.AddFitting(MakeFitting(50, 2, "tee", 1.2, "b"), 1, ExitFitting);
    set.AddFitting(MakeFitting(25, 1, "LR90", 0.3, "c"), 2, EntryFitting);
    set.AddFitting(MakeFitting(100, 7, "Gate", 0.15, "a"), 3, EntryFitting);
    set.AddFitting(MakeFitting(25, 1, "Bend", 10.5, "d"), 4, ExitFitting);

    auto order = [&set] {
        std::string s;
        for (int i = 1; i <= set.FittingCount; ++i)
            s += set.GetFitting(i).Description;
        return s;
    };
    struct Case {
        int sortCol;
        bool ascending;
        const char *order;
    } cases[] = {
        {7, true, "acbd"},  // K value
        {7, false, "dbca"},
        {3, true, "dacb"},  // part type, case ignored: Bend, Gate, LR90, tee
        {6, true, "abcd"},  // description
        {8, true, "cadb"},  // start of pipe first, then size
        {0, true, "dcba"},  // image index then size: (1,25,Bend) (1,25,LR90) (2) (7)
        {1, false, "abdc"}, // size, image index, description, reversed
    };
    for (const Case &c : cases) {
        set.SortFittingSet(c.sortCol, c.ascending);
        EXPECT_EQ(order(), c.order) << "column " << c.sortCol;
    }
    // Quantities and positions travel with their fittings.
    set.SortFittingSet(6, true);
    EXPECT_EQ(set.GetQuantity(1), 3);
    EXPECT_EQ(set.GetFittingPosition(2), ExitFitting);
}

} // namespace
} // namespace tessaran
