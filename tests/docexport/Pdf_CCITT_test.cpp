// CCITT coding of one-bit images: the coded bytes of small cases, and
// random images through a PDF file decoded back by an independent tool
// (skipped when it is missing).

#include "docexport/Pdf_CCITT.h"
#include "docexport/Pdf_Ex_Engine.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

std::string Hex(const TMemoryStream &stream)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : stream.Bytes()) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

TEST(CCITTCoding, BytesOfSmallCases)
{
    auto row = [](int width, std::initializer_list<int> blackColumns) {
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(width), 255);
        for (int x : blackColumns)
            samples[static_cast<std::size_t>(x)] = 0;
        return samples;
    };
    const struct {
        const char *name;
        bool group4;
        std::vector<std::uint8_t> samples;
        int width, height;
        const char *hex;
    } cases[] = {
        // V0 at the row end, then the end of the block, 0 bits to a byte.
        {"one white row, two-dimensional", true, row(8, {}), 8, 1, "80080080"},
        {"no rows, two-dimensional", true, {}, 8, 0, "001001"},
        {"one white row, one-dimensional", false, row(8, {}), 8, 1, "98"},
        {"no rows, one-dimensional", false, {}, 8, 0, ""},
        {"width 0, one-dimensional", false, {}, 0, 3, ""},
        // 000000011111 and the white code for 0, 00110101.
        {"a run of 2560", false, row(2560, {}), 2560, 1, "01F350"},
        // White 0 (00110101), black 8 (000101).
        {"a row starting black", false, row(8, {0, 1, 2, 3, 4, 5, 6, 7}), 8, 1, "3514"},
        // White 2 (0111), black 1 (010), white 5 (1100).
        {"white, black, white", false, row(8, {2}), 8, 1, "7580"},
        // Two-dimensional, against the white reference row:
        // horizontal 001, white 2 0111, black 1 010; then V0 for the row end.
        {"a black pixel, two-dimensional", true, row(8, {2}), 8, 1, "2EA0020020"},
        // A run of 64: white make-up 11011 and white 0.
        {"a run of 64", false, row(64, {}), 64, 1, "D9A8"},
    };
    for (const auto &c : cases) {
        const auto stream = c.group4 ? EncodeCCITTGroup4(c.samples, c.width, c.height)
                                     : EncodeCCITT1D(c.samples, c.width, c.height);
        EXPECT_EQ(Hex(*stream), c.hex) << c.name;
        EXPECT_EQ(stream->Position(), 0) << c.name;
    }
}

// A binary PBM image as pdfimages writes one-bit images.
std::vector<std::uint8_t> ReadPBM(const std::string &path, int &width, int &height)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic >> width >> height;
    in.get();
    std::vector<std::uint8_t> pixels;
    if (magic != "P4")
        return pixels;
    const int rowBytes = (width + 7) / 8;
    std::vector<char> row(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < height; ++y) {
        in.read(row.data(), rowBytes);
        for (int x = 0; x < width; ++x) // 1 is black in PBM
            pixels.push_back((static_cast<std::uint8_t>(row[static_cast<std::size_t>(x / 8)]) >> (7 - x % 8)) & 1
                                 ? 0
                                 : 255);
    }
    return pixels;
}

TEST(CCITTCoding, RandomImagesComeBackPixelForPixel)
{
    if (!HasTool("pdfimages") || !HasTool("qpdf"))
        GTEST_SKIP() << "pdfimages or qpdf is not installed";
    const fs::path folder = fs::temp_directory_path() / ("tessaran_ccitt_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::mt19937 random(4711);
    const struct {
        int width, height;
        int blackPercent;
    } images[] = {{1, 1, 50}, {7, 5, 50}, {33, 17, 10}, {101, 40, 50}, {259, 23, 90}, {3, 64, 0}};
    for (TdeOutputImageFormat format : {TdeOutputImageFormat::ifCCITT3, TdeOutputImageFormat::ifCCITT4}) {
        TdePDFEngine engine;
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        const bool oneD = format == TdeOutputImageFormat::ifCCITT3;
        const std::string name = oneD ? "g3" : "g4";
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        engine.ImageSettings().SetOutputImageFormat(format);
        std::vector<std::vector<std::uint8_t>> sources;
        double y = 10;
        for (const auto &image : images) {
            TBitmap bitmap(image.width, image.height);
            std::vector<std::uint8_t> source;
            for (int py = 0; py < image.height; ++py)
                for (int px = 0; px < image.width; ++px) {
                    const bool black = static_cast<int>(random() % 100) < image.blackPercent;
                    bitmap.SetPixel(px, py, black ? RGB(0, 0, 0) : RGB(255, 255, 255));
                    source.push_back(black ? 0 : 255);
                }
            sources.push_back(source);
            TdePicture picture;
            picture.Format = "bmp";
            picture.Data = bitmap.SaveToBytes();
            engine.DrawImage(10, y, picture);
            y += image.height + 10;
        }
        engine.EndDoc();
        const std::string path = (folder / (name + ".pdf")).string();
        std::string output;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &output), 0) << output;
        ASSERT_EQ(RunCommand("pdfimages -list '" + path + "'", &output), 0) << output;
        int listed = 0;
        std::istringstream lines(output);
        std::string line;
        while (std::getline(lines, line))
            if (line.find(" ccitt ") != std::string::npos)
                ++listed;
        EXPECT_EQ(listed, static_cast<int>(std::size(images))) << output;
        ASSERT_EQ(RunCommand("pdfimages '" + path + "' '" + (folder / name).string() + "'", &output), 0) << output;
        for (std::size_t i = 0; i < std::size(images); ++i) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "-%03zu.pbm", i);
            int width = 0, height = 0;
            const auto pixels = ReadPBM((folder / (name + suffix)).string(), width, height);
            EXPECT_EQ(width, images[i].width) << name << " " << i;
            EXPECT_EQ(height, images[i].height) << name << " " << i;
            EXPECT_TRUE(pixels == sources[i]) << name << " image " << i << " differs";
        }
    }
    if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
        fs::remove_all(folder);
}

} // namespace
} // namespace tessaran
