#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Pdf_Test_Reader.h"
#include "docexport/Pdf_Engine.h"
#include "platform/Codepage1252.h"

namespace tessaran {
namespace {

namespace fs = std::filesystem;
using namespace pdftest;

class PdfText : public ::testing::Test {
protected:
    PdfText()
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        folder = fs::temp_directory_path() /
                 ("tessaran_pdftext_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfText() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }
    std::string Write(const std::string &name, const std::function<void()> &draw)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        draw();
        engine.EndDoc();
        const std::string path = (folder / (name + ".pdf")).string();
        if (HasTool("qpdf")) {
            std::string report;
            EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
        }
        return path;
    }
    static std::string Tool(const std::string &command)
    {
        std::string output;
        RunCommand(command, &output);
        return output;
    }
    static bool HasTools() { return HasTool("pdftotext") && HasTool("pdffonts") && HasTool("qpdf"); }

    TdeCustomPDFEngine engine;
    fs::path folder;
};

TEST_F(PdfText, ScriptsComeBackOutOfTheFile)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
    const struct {
        const char *text;
        const char *font;
        bool rightToLeft;
    } lines[] = {
        {"Latin 25 \u00B0C, 10\u00B3 m\u00B3, 5 \u00B5m, 20 \u20AC (net)", "Arial", false},
        {"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \u03BA\u03B5\u03AF\u03BC\u03B5\u03BD\u03BF", "Arial", false},
        {"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", "DejaVu Sans", true},
        {"\u4E2D\u6587\u6587\u672C", "Arial", false},
    };
    const std::string path = Write("scripts", [&] {
        double y = 40;
        for (const auto &line : lines) {
            engine.Font().Name = line.font;
            engine.Font().Size = 14;
            engine.SetBiDiMode(line.rightToLeft ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
            engine.TextOut(line.rightToLeft ? 500 : 40, y, Utf8ToUtf16(line.text));
            y += 40;
        }
        engine.SetBiDiMode(TBiDiMode::bdLeftToRight);
        engine.SetTextRotation(90);
        engine.TextOut(300, 600, u"Turned upright");
    });
    const std::string text = Tool("pdftotext '" + path + "' -");
    for (const auto &line : lines)
        EXPECT_NE(text.find(line.text), std::string::npos) << line.text << "\n---\n" << text;
    EXPECT_NE(text.find("Turned upright"), std::string::npos) << text;
    std::cout << Tool("pdffonts '" + path + "'");
}

} // namespace
} // namespace tessaran
