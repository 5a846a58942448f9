#include "drawing/Emf_Reader.h"
#include "drawing/Symbol_Sheet.h"
#include "platform/MetafileCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

// The independent reader keeps a few bytes to the end of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:emf2svg\n";
}

namespace tessaran {
namespace {

TEST(SymbolSheet, RecordedSheetSavesAndParsesInTheIndependentReader)
{
    TMetafile mf;
    mf.Width = SymbolSheetWidth;
    mf.Height = SymbolSheetHeight;
    TMetafileCanvas canvas(mf);
    DrawSymbolSheet(canvas);
    canvas.Close();

    const std::string path = (std::filesystem::temp_directory_path() / ("tessaran_symbol_sheet_" + std::to_string(::getpid()) + ".emf")).string();
    mf.SaveToFile(path);
    TMetafile loaded;
    loaded.LoadFromFile(path);
    std::filesystem::remove(path);
    EXPECT_EQ(loaded.Bytes(), mf.Bytes());

    std::vector<std::string> seen;
    std::string svg;
    ASSERT_TRUE(ReadWithIndependentReader(loaded.Bytes(), SymbolSheetWidth, SymbolSheetHeight, seen, svg));
    EXPECT_NE(svg.find("FCV2"), std::string::npos);
    EXPECT_EQ(seen, OwnRecordNames(loaded));
}

} // namespace
} // namespace tessaran
