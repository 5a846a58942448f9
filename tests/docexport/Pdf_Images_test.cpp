// Image objects in written files, read back by the independent tools
// (skipped when they are missing).

#include "docexport/Pdf_Engine.h"
#include "platform/Jpeg_Image.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

TdePicture Picture(int width, int height)
{
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, RGB(x * 255 / width, y * 255 / height, 90));
    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = bitmap.SaveToBytes();
    return picture;
}

// One row of "pdfimages -list".
struct ListedImage {
    std::string type, colour, encoding;
    int width = 0, height = 0, object = 0;
};

class PdfImages : public ::testing::Test {
protected:
    PdfImages()
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfimg_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfImages() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }

    std::string Write(const std::function<void()> &draw)
    {
        engine.SetFileName((folder / "images").string());
        engine.BeginDoc();
        draw();
        engine.EndDoc();
        const std::string path = (folder / "images.pdf").string();
        if (HasTool("qpdf")) {
            std::string report;
            EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
        }
        return path;
    }

    static std::vector<ListedImage> List(const std::string &path)
    {
        std::string output;
        EXPECT_EQ(RunCommand("pdfimages -list '" + path + "'", &output), 0) << output;
        std::istringstream lines(output);
        std::string line;
        std::vector<ListedImage> images;
        int row = 0;
        while (std::getline(lines, line)) {
            if (row++ < 2)
                continue; // the heading and its rule
            std::istringstream fields(line);
            ListedImage image;
            int page, number, components, bits;
            std::string interpolate;
            fields >> page >> number >> image.type >> image.width >> image.height >> image.colour >> components >>
                bits >> image.encoding >> interpolate >> image.object;
            images.push_back(image);
        }
        return images;
    }

    TdeCustomPDFEngine engine;
    fs::path folder;
};

TEST_F(PdfImages, EqualRenderingsShareOneObjectAndAnotherQualityMakesASecond)
{
    if (!HasTool("pdfimages"))
        GTEST_SKIP() << "pdfimages is not installed";
    const TdePicture picture = Picture(40, 20);
    const std::string path = Write([&] {
        engine.DrawImage(TdeRect{0.5, 0.5, 1.5, 1}, picture);
        engine.DrawImage(TdeRect{2, 2, 3, 2.5}, picture);
        engine.ImageSettings().JPEGQuality = 40;
        engine.DrawImage(TdeRect{4, 4, 5, 4.5}, picture);
        engine.NewPage();
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
        engine.DrawImage(TdeRect{4, 4, 5, 4.5}, picture);
    });
    const auto images = List(path);
    ASSERT_EQ(images.size(), 4u);
    std::set<int> objects;
    for (const auto &image : images)
        objects.insert(image.object);
    EXPECT_EQ(objects.size(), 3u);
    EXPECT_EQ(images[0].object, images[1].object);
    EXPECT_NE(images[2].object, images[0].object);
    EXPECT_EQ(images[0].encoding, "jpeg");
    EXPECT_EQ(images[3].encoding, "image"); // deflated RGB rows
    EXPECT_EQ(images[3].colour, "rgb");
    EXPECT_EQ(images[0].width, 40);
    // The resource names keep resource and entry apart.
    const std::string pdf = ReadFileText(path);
    EXPECT_NE(pdf.find("/Img0_0 "), std::string::npos);
    EXPECT_NE(pdf.find("/Img0_1 "), std::string::npos);
    EXPECT_NE(TdePDFImageObjects::ImageName(1, 12), TdePDFImageObjects::ImageName(11, 2));
}

TEST_F(PdfImages, PassThroughJpegKeepsItsBytesAndGreyColourSpace)
{
    TBitmap grey(24, 12);
    grey.Fill(0x606060);
    const auto bytes = EncodeJpeg(grey, 75, true);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    const std::string path = Write([&] {
        engine.DrawJPEGDirect(TdeRect{1, 1, 2, 1.5}, 24, 12, stream);
        engine.DrawJPEGDirect(TdeRect{1, 2, 2, 2.5}, 24, 12, stream);
    });
    const std::string pdf = ReadFileText(path);
    EXPECT_NE(pdf.find(std::string(bytes.begin(), bytes.end())), std::string::npos);
    EXPECT_NE(pdf.find("/ColorSpace/DeviceGray/Filter/DCTDecode"), std::string::npos);
    if (!HasTool("pdfimages"))
        GTEST_SKIP() << "pdfimages is not installed";
    const auto images = List(path);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].colour, "gray");
    EXPECT_EQ(images[0].encoding, "jpeg");
    EXPECT_NE(images[0].object, images[1].object); // every pass-through image is its own object
}

TEST_F(PdfImages, PlacementTurnsAndFramesTheImage)
{
    const TdePicture picture = Picture(8, 8);
    const std::string path = Write([&] {
        engine.ImageSettings().Inclination = 90;
        engine.DrawImage(TdeRect{1, 1, 2, 2}, picture);
        engine.ImageSettings().Inclination = 360;
        engine.ImageSettings().IsFrame = true;
        engine.Frame().IsTop = false;
        engine.Frame().IsRight = false;
        engine.Brush().Style = TBrushStyle::bsClear;
        engine.DrawImage(TdeRect{3, 1, 4, 2}, picture);
    });
    const std::string content = PageContents(ReadFileText(path)).at(0);
    EXPECT_NE(content.find("0.0000 1.0000 -1.0000 0.0000 0 0 cm"), std::string::npos);
    // Left and bottom sides only: two segments, stroked once.
    const std::size_t frame = content.find(" RG");
    ASSERT_NE(frame, std::string::npos);
    const std::string rest = content.substr(frame);
    std::size_t moves = 0;
    for (std::size_t at = rest.find(" m "); at != std::string::npos; at = rest.find(" m ", at + 1))
        ++moves;
    EXPECT_EQ(moves, 2u);
    EXPECT_NE(rest.find("\r\nS\r\nQ"), std::string::npos);
    EXPECT_TRUE(SavesAndRestoresBalance(content));
}

TEST_F(PdfImages, ABackgroundPictureSetAfterTheFirstPageIsWrittenWhenFirstShown)
{
    engine.Preferences().SetProcessAfterEachPage(true);
    const std::string path = Write([&] {
        engine.NewPage();
        // CCITT output would be written under a filter its bytes do not have.
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifCCITT3);
        engine.SetBackgroundImage(Picture(30, 20));
        engine.SetBackgroundImageDisplayType(TdeBackgroundDisplayType::dtTile);
        engine.NewPage();
        // Taken away again: the pattern page 2 uses must still be written.
        engine.SetBackgroundImage(TdePicture{});
    });
    const std::string pdf = ReadFileText(path);
    EXPECT_NE(pdf.find("/Name/Img0/Width 30/Height 20/BitsPerComponent 8/ColorSpace/DeviceRGB/Filter/DCTDecode"),
              std::string::npos);
    EXPECT_NE(pdf.find(" /Img0 "), std::string::npos);
    EXPECT_NE(pdf.find("/PI "), std::string::npos);
    const auto pages = PageContents(pdf);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].find("/PI scn"), std::string::npos);
    EXPECT_EQ(pages[2].find("/PI scn"), std::string::npos);
    EXPECT_NE(pages[1].find("/CSP cs /PI scn n 0.0000 0.0000 595.2744 841.8888 re f"), std::string::npos);
    if (HasTool("pdftoppm")) {
        const std::string out = (folder / "page").string();
        ASSERT_EQ(RunCommand("pdftoppm -r 24 -f 2 -l 2 '" + path + "' '" + out + "'"), 0);
        const Image page = ReadPPM(out + "-2.ppm");
        ASSERT_GT(page.Width, 0);
        // The tiled picture shows instead of the white page.
        const unsigned char *centre = page.At(page.Width / 2, page.Height / 2);
        EXPECT_FALSE(centre[0] > 250 && centre[1] > 250 && centre[2] > 250);
    }
}

} // namespace
} // namespace tessaran
