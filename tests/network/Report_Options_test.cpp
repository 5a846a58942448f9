#include "network/Report_Options.h"

#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

using namespace tessaran;

namespace {

TReportOptions ChangedOptions()
{
    TReportOptions options;
    options.companyName = "Acme Hydraulics";
    options.title = "Ring main \xC2\xB0" "C";
    options.includeCoverSheet = false;
    options.pageOrientation = PageOrientationLandscape;
    options.includePumpGraph = false;
    options.includePipeMaterials = true;
    options.includeBPVs = false;
    options.fluidDataColumns = {3, 2, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    options.pipeDataColumns[3] = 12;
    options.nodeDataColumns[0] = 5;
    options.BPVsColumns[2] = 9;
    return options;
}

// A file in the oldest layouts, written field by field as those versions did.
TMemoryStream OldLayoutFile(const std::string &version, bool withPumpGraph)
{
    TMemoryStream stream;
    stream.WriteShortString(version, 24);
    for (const char *text : {"Old Co", "Old Project", "Old Eng"})
        stream.WriteShortString(text, 40);
    stream.WriteBool(false); // cover sheet
    stream.WriteShortString("Old Title", 40);
    stream.WriteShortString("Old Subtitle", 40);
    for (int i = 0; i < 4; ++i)
        stream.WriteBool(false);
    stream.WriteByte(PageOrientationPortrait);
    for (int i = 0; i < 3; ++i)
        stream.WriteBool(false);
    int flags = withPumpGraph ? 6 : 5;
    for (int i = 0; i < flags; ++i)
        stream.WriteBool(false);
    for (int table = 0; table < 5; ++table)
        for (int i = 0; i < 15; ++i)
            stream.WriteInt32(i == 0 ? 7 : -1);
    stream.Seek(0);
    return stream;
}

} // namespace

TEST(ReportOptions, DefaultsFollowTheKindOfSystem)
{
    TReportOptions liquid;
    liquid.ClearPDFReportOptions(false);
    EXPECT_EQ(liquid.companyName, "Orlenk");
    EXPECT_EQ(liquid.title, "Tessaran Design 1");
    EXPECT_EQ(liquid.pipeDataColumns, (TReportDataColumns{0, 1, 4, 5, 6, 7, 8, 15, 16, 17, -1, -1, -1, -1, -1}));
    EXPECT_EQ(liquid.ComponentsColumns, (TReportDataColumns{0, 1, 4, 5, 6, 7, 8, 9, 10, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(liquid.nodeDataColumns[11], 11);
    EXPECT_EQ(liquid.nodeDataColumns[12], -1);

    TReportOptions gas;
    gas.ClearPDFReportOptions(true);
    EXPECT_EQ(gas.pipeDataColumns, (TReportDataColumns{0, 1, 4, 5, 6, 7, 8, 9, 10, 17, 18, 19, -1, -1, -1}));
}

TEST(ReportOptions, SavedFileHasTheVersionTextAndReadsBackWhole)
{
    TReportOptions saved = ChangedOptions();
    TMemoryStream stream;
    saved.SaveReportOptions(stream, false);
    EXPECT_EQ(stream.Size(), 25 + 1 + 5 * 41 + 1 + 8 + 13 + 12 * 60);
    const auto &bytes = stream.Bytes();
    EXPECT_EQ(bytes[0], 24);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 25), "000000000000000000007.40");

    stream.Seek(0);
    test::TScriptedUserInterface ui;
    TReportOptions loaded;
    loaded.LoadReportOptions(stream, false, ui);
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(ReportOptions, GasFileInLiquidNetworkResetsPipeNodeAndEnergyColumns)
{
    TReportOptions saved = ChangedOptions();
    TMemoryStream stream;
    saved.SaveReportOptions(stream, true);
    stream.Seek(0);
    test::TScriptedUserInterface ui;
    TReportOptions loaded;
    loaded.LoadReportOptions(stream, false, ui);

    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text.rfind("The PDF options file was saved with options for a compressible gas system.\r\r"
                                        "The current system is not an 'all gas' system.",
                                        0),
              0u);
    TReportOptions defaults;
    defaults.ClearPDFReportOptions(false);
    EXPECT_EQ(loaded.pipeDataColumns, defaults.pipeDataColumns);
    EXPECT_EQ(loaded.nodeDataColumns, defaults.nodeDataColumns);
    EXPECT_EQ(loaded.fluidDataColumns, saved.fluidDataColumns);
    EXPECT_EQ(loaded.BPVsColumns, saved.BPVsColumns);
    EXPECT_EQ(loaded.companyName, saved.companyName);
}

TEST(ReportOptions, OlderVersionsReadTheirOwnFields)
{
    struct Case {
        const char *version;
        bool pumpGraph;
    } cases[] = {{"00000000000000000006.40", true}, {"not a number", false}, {"6,38", true}};
    for (const auto &c : cases) {
        TMemoryStream stream = OldLayoutFile(c.version, c.pumpGraph);
        test::TScriptedUserInterface ui;
        TReportOptions loaded;
        loaded.LoadReportOptions(stream, false, ui);
        EXPECT_EQ(stream.Remaining(), 0) << c.version;
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text.rfind("The PDF options file was saved with an older version of the software.", 0),
                  0u);
        EXPECT_EQ(loaded.companyName, "Old Co");
        EXPECT_EQ(loaded.pageOrientation, PageOrientationPortrait);
        EXPECT_EQ(loaded.fluidDataColumns[0], 7);
        EXPECT_EQ(loaded.pipeDataColumns[0], 0) << "pipe columns go back to the defaults";
        EXPECT_FALSE(loaded.includePipeMaterials);
        EXPECT_TRUE(loaded.includeBPVs) << "fields the file lacks keep their defaults";
    }
}

TEST(ReportOptions, FirstLayoutReaderReadsTheSixFlagLayout)
{
    TMemoryStream stream = OldLayoutFile("6.38", true);
    TReportOptions loaded;
    loaded.LoadReportOptionsFirstV638(stream);
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(loaded.title, "Old Title");
    EXPECT_EQ(loaded.pipeDataColumns[0], 7);
}

TEST(ReportOptions, BadFilesRaiseAndLeaveTheOptionsUnchanged)
{
    TMemoryStream good;
    ChangedOptions().SaveReportOptions(good, false);
    auto truncated = good.Bytes();
    truncated.resize(truncated.size() - 3);
    auto badColumn = good.Bytes();
    badColumn[badColumn.size() - 4] = 0x40; // last column number becomes huge

    for (const auto &bytes : {truncated, badColumn}) {
        TMemoryStream stream(bytes);
        test::TScriptedUserInterface ui;
        TReportOptions options;
        options.companyName = "Kept";
        EXPECT_THROW(options.LoadReportOptions(stream, false, ui), EStreamError);
        EXPECT_EQ(options.companyName, "Kept");
    }
}

TEST(ReportOptions, LoadingKeepsThePageCountChoiceTheFileDoesNotHold)
{
    for (bool pageCount : {true, false}) {
        TReportOptions saved = ChangedOptions();
        saved.includePageCount = !pageCount;
        TMemoryStream stream;
        saved.SaveReportOptions(stream, false);
        stream.Seek(0);
        test::TScriptedUserInterface ui;
        TReportOptions options;
        options.includePageCount = pageCount;
        options.LoadReportOptions(stream, false, ui);
        EXPECT_EQ(options.includePageCount, pageCount);
        EXPECT_EQ(options.companyName, saved.companyName);
    }
}
