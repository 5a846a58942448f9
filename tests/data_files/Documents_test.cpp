// The guides shipped in "Documents": sound PDF files whose text holds their
// headings, whose markup was all turned into text, and whose verification
// tables show the solver agreeing with the hand calculations.

#include "Shipped_Data_Folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

namespace tessaran::test {
namespace {

// Runs a command, returning its exit status and its standard output.
int RunCommand(const std::string &command, std::string &output)
{
    output.clear();
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(::popen((command + " 2>&1").c_str(), "r"), ::pclose);
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), n);
    const int status = ::pclose(pipe.release());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HasTool(const char *name)
{
    std::string ignored;
    return RunCommand(std::string("command -v ") + name, ignored) == 0;
}

// pdftotext joins a heading broken over two lines with a line break; the
// checks compare text with every run of white space as one blank.
std::string Squeezed(const std::string &text)
{
    return std::regex_replace(text, std::regex("\\s+"), " ");
}

struct Document {
    const char *FileName;
    std::vector<const char *> Texts;
};

const std::vector<Document> &Documents()
{
    static const std::vector<Document> documents{
        {"TessaranQuickStartGuide.pdf", {"Tessaran Quick Start Guide", "Five steps to a result", "CALCULATE"}},
        {"TessaranUserGuide.pdf",
         {"Tessaran User Guide", "Drawing tools", "Methods of solution", "Non-Compressible Flow [Accurate]",
          "Reports, printing and images"}},
        {"TessaranNonCompressibleResultsVerification.pdf",
         {"Tessaran Non-Compressible Results Verification", "Case 1: one pipe between two tanks",
          "Case 2: three pipes in series", "Case 3: two pipes in parallel", "Q Tessaran (m3/h)"}},
        {"TessaranCompressibleResultsVerification.pdf",
         {"Tessaran Compressible Gas Results Verification", "the complete isothermal flow equation",
          "the Weymouth equation", "m node adjust (kg/s)"}},
        {"TessaranCompressibleEquations.pdf",
         {"Tessaran Compressible Flow Equations", "Complete Isothermal Flow Equation",
          "Panhandle B Isothermal Flow Equation", "IGT Isothermal Flow Equation", "Compressibility"}},
        {"TessaranBrochure.pdf", {"Tessaran", "Features", "support@"}},
        {"TessaranExampleStepByStep.pdf",
         {"Create a System - Step by Step", "Step 1: start a new system", "Step 5: calculate"}},
    };
    return documents;
}

void PrintTo(const Document &document, std::ostream *out) { *out << document.FileName; }

class ShippedDocuments : public ::testing::TestWithParam<Document> {};

TEST_P(ShippedDocuments, AreSoundPdfFilesThatHoldTheirHeadings)
{
    if (!HasTool("qpdf") || !HasTool("pdfinfo") || !HasTool("pdftotext"))
        GTEST_SKIP() << "qpdf and poppler-utils are needed";
    const Document &document = GetParam();
    const std::string path = (ShippedDataFolder() / "Documents" / document.FileName).string();
    ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
    std::string output;
    EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", output), 0) << output;

    ASSERT_EQ(RunCommand("pdfinfo '" + path + "'", output), 0) << output;
    std::smatch pages;
    ASSERT_TRUE(std::regex_search(output, pages, std::regex("Pages:\\s+(\\d+)")));
    EXPECT_GT(std::stoi(pages[1]), 0);
    // No clock reaches the files: they only change with their sources.
    EXPECT_NE(output.find("CreationDate:    Tue Dec  1 00:00:00 2026 UTC"), std::string::npos) << output;

    ASSERT_EQ(RunCommand("pdftotext -enc UTF-8 '" + path + "' -", output), 0) << output;
    const std::string text = Squeezed(output);
    for (const char *expected : document.Texts)
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    for (const char *markup : {"[[", "]]", "{{", "}}", "== ", "| "})
        EXPECT_EQ(text.find(markup), std::string::npos) << "markup left in the text: " << markup;
    for (const char *name : {"Windows", "Microsoft", "Adobe"})
        EXPECT_EQ(text.find(name), std::string::npos) << name;
}

INSTANTIATE_TEST_SUITE_P(Documents, ShippedDocuments, ::testing::ValuesIn(Documents()),
                         [](const auto &info) {
                             std::string name = info.param.FileName;
                             return name.substr(0, name.find('.'));
                         });

// The verification guides state the largest difference between the solver
// and the hand calculation; a solver that drifts shows here once the guides
// are generated again.
TEST(ShippedDocuments, VerificationGuidesShowTheSolverWithinATenthOfAPercent)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils are needed";
    int stated = 0;
    for (const char *name :
         {"TessaranNonCompressibleResultsVerification.pdf", "TessaranCompressibleResultsVerification.pdf"}) {
        SCOPED_TRACE(name);
        std::string output;
        ASSERT_EQ(RunCommand("pdftotext '" + (ShippedDataFolder() / "Documents" / name).string() + "' -", output), 0);
        const std::string text = Squeezed(output);
        const std::regex largest("largest difference[a-z ]* is (-?[0-9.]+) %");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), largest); it != std::sregex_iterator(); ++it) {
            ++stated;
            EXPECT_LT(std::stod((*it)[1]), 0.1) << (*it)[0];
        }
    }
    EXPECT_EQ(stated, 3);
}

} // namespace
} // namespace tessaran::test
