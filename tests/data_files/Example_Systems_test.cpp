#include "Shipped_Data_Folder.h"

#include "network/Network_Class.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg_Image.h"
#include "platform/Stream.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <memory>

namespace tessaran::test {
namespace {

bool HasCategoryPrefix(const std::string &name)
{
    for (const char *prefix : {"Common_", "General_", "Isometric_", "Gases_"})
        if (name.rfind(prefix, 0) == 0)
            return true;
    return false;
}

struct ExampleFolder {
    const char *Name;
    bool Gas;
};

class ShippedExamples : public ::testing::TestWithParam<ExampleFolder> {};

TEST_P(ShippedExamples, LoadWithoutAMessageAndSolve)
{
    const ExampleFolder folder = GetParam();
    const auto files = ShippedFiles(folder.Name, ".trz");
    ASSERT_GE(files.size(), 2u);
    for (const auto &path : files) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_TRUE(HasCategoryPrefix(path.filename().string()));
        auto description = path;
        EXPECT_TRUE(std::filesystem::exists(description.replace_extension(".txt")));
        // The browser's picture: 560 x 350, something drawn on white.
        auto picturePath = path;
        const TBitmap picture = DecodeJpeg(ReadWholeFile(picturePath.replace_extension(".jpg").string()));
        EXPECT_EQ(picture.Width(), 560);
        EXPECT_EQ(picture.Height(), 350);
        int dark = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                dark += (picture.Pixel(x, y) & 0xFF) < 128;
        EXPECT_GT(dark, 500) << "the network is drawn";

        auto network = std::make_unique<TNetwork>();
        TScriptedUserInterface ui;
        network->UserInterface = &ui;
        TMemoryStream stream;
        stream.LoadFromFile(path.string());
        network->Load(stream);
        for (const auto &message : ui.Messages)
            ADD_FAILURE() << message.Text;
        ASSERT_GT(network->GetNodeCount(), 2);
        ASSERT_GT(network->GetPipeCount(), 1);
        EXPECT_EQ(network->FluidZones[1].Fluid.FluidIsGas, folder.Gas);
        EXPECT_EQ(network->ConfigOptions.IsMethodOfSolutionCompressibleEngine(), folder.Gas);

        bool solved = false, solutionOk = false;
        TResultsLog log, privateLog;
        network->SolveNetwork(solved, solutionOk, log, privateLog);
        EXPECT_TRUE(solved);
        EXPECT_TRUE(solutionOk);
        for (const std::string &line : log.Lines)
            EXPECT_NE(line, ">>> PROBLEM:");
        for (const auto &message : ui.Messages)
            ADD_FAILURE() << message.Text;
        // Every pipe carries flow in a solved example.
        for (int id = network->GetNextPipeId(0); id > 0; id = network->GetNextPipeId(id))
            EXPECT_GT(std::fabs(network->GetPipe(id).FlowUncompressed_m3s), 1e-6) << network->GetPipe(id).Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, ShippedExamples,
                         ::testing::Values(ExampleFolder{"ExampleSystems", false},
                                           ExampleFolder{"ExampleSystemsCompressible", true}),
                         [](const auto &info) { return std::string(info.param.Gas ? "Gases" : "Liquids"); });

} // namespace
} // namespace tessaran::test
