// Page thumbnails: shared objects, the request that stands, the bytes
// written, and files read back by independent tools (skipped when missing).

#include "docexport/Pdf_Engine.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

TdePicture Picture(int width, int height, int blue)
{
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, RGB(x * 255 / width, y * 255 / height, blue));
    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = bitmap.SaveToBytes();
    return picture;
}

// Red, green, blue rows top to bottom, as the thumbnail should hold them.
std::string RgbBytes(int width, int height, int blue)
{
    std::string bytes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bytes += static_cast<char>(x * 255 / width);
            bytes += static_cast<char>(y * 255 / height);
            bytes += static_cast<char>(blue);
        }
    return bytes;
}

class PdfThumbnails : public ::testing::Test {
protected:
    PdfThumbnails()
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfthumb_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfThumbnails() override
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
            const std::string password =
                engine.Encryption().Enabled() ? " --password='" + engine.Encryption().UserPassword() + "'" : "";
            EXPECT_EQ(RunCommand("qpdf --check" + password + " '" + path + "'", &report), 0) << report;
        }
        return path;
    }

    // The /Thumb object of every page in page order; 0 for none.
    static std::vector<int> Thumbs(const std::string &pdf)
    {
        std::vector<int> thumbs;
        const std::string tree = ObjectText(pdf, 2);
        std::istringstream kids(tree.substr(tree.find("/Kids [") + 7));
        int page, generation;
        std::string r;
        while (kids >> page >> generation >> r && r.rfind("R", 0) == 0)
            thumbs.push_back(std::max(0, IntAfter(ObjectText(pdf, page), "/Thumb ")));
        return thumbs;
    }

    TdeCustomPDFEngine engine;
    fs::path folder;
};

TEST_F(PdfThumbnails, PagesShareAnObjectPerImageAndSettings)
{
    engine.Compression().Enabled = false;
    const std::string path = Write("shared", [&] {
        const int image = engine.AddImageAsResource(Picture(24, 12, 90));
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
        engine.AddThumbnailImage(image, 1);
        engine.AddThumbnailImage(image, 2);
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifJPEG);
        engine.ImageSettings().JPEGQuality = 90;
        engine.AddThumbnailImage(image, 3);
        engine.ImageSettings().JPEGQuality = 40;
        engine.AddThumbnailImage(image, 4);
        // An index that names no picture, and a page that is never written.
        engine.AddThumbnailImage(image + 5, 5);
        engine.AddThumbnailImage(image, 9);
        // A format a thumbnail has no coding for comes out as RGB bytes.
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifCCITT4);
        engine.AddThumbnailImage(image, 6);
        for (int page = 2; page <= 6; ++page)
            engine.NewPage();
    });
    const std::string pdf = ReadFileText(path);
    const std::vector<int> thumbs = Thumbs(pdf);
    ASSERT_EQ(thumbs.size(), 6u);
    EXPECT_GT(thumbs[0], 0);
    EXPECT_EQ(thumbs[1], thumbs[0]);
    EXPECT_GT(thumbs[2], 0);
    EXPECT_GT(thumbs[3], 0);
    EXPECT_NE(thumbs[2], thumbs[0]);
    EXPECT_NE(thumbs[3], thumbs[2]);
    EXPECT_EQ(thumbs[4], 0);
    EXPECT_GT(thumbs[5], 0);
    EXPECT_NE(thumbs[5], thumbs[0]);
    EXPECT_EQ(StreamData(pdf, thumbs[5]), RgbBytes(24, 12, 90));
    // Every numbered object was written, each thumbnail once.
    EXPECT_EQ(pdf.find("/Thumb 0 0 R"), std::string::npos);
    EXPECT_EQ(pdf.find("\r\n0000000000 00000 f"), std::string::npos);

    const std::string bmp = ObjectText(pdf, thumbs[0]);
    EXPECT_EQ(bmp.find("/Filter"), std::string::npos) << bmp;
    EXPECT_NE(bmp.find("/Width 24/Height 12/ColorSpace /DeviceRGB /BitsPerComponent 8 /Length 864"),
              std::string::npos)
        << bmp;
    EXPECT_EQ(StreamData(pdf, thumbs[0]), RgbBytes(24, 12, 90));
    for (int jpeg : {thumbs[2], thumbs[3]})
        EXPECT_NE(ObjectText(pdf, jpeg).find("/Filter/DCTDecode"), std::string::npos);
    EXPECT_NE(StreamData(pdf, thumbs[2]), StreamData(pdf, thumbs[3]));

    if (HasTool("qpdf")) {
        // The checker's own reading of the stream.
        std::string data;
        EXPECT_EQ(RunCommand("qpdf --show-object=" + std::to_string(thumbs[0]) + " --filtered-stream-data '" + path +
                                 "'",
                             &data),
                  0);
        EXPECT_EQ(data, RgbBytes(24, 12, 90));
        // The JPEG thumbnails decode to pictures of the same size. (The page
        // image lister reads only what pages draw, so it never lists
        // thumbnails.)
        for (int jpeg : {thumbs[2], thumbs[3]}) {
            EXPECT_EQ(RunCommand("qpdf --show-object=" + std::to_string(jpeg) +
                                     " --filtered-stream-data --decode-level=all '" + path + "'",
                                 &data),
                      0);
            EXPECT_EQ(data.size(), 24u * 12 * 3);
        }
    }
}

TEST_F(PdfThumbnails, TheFirstRequestStandsWhenStreamedTheLastOtherwise)
{
    for (bool streamed : {true, false}) {
        engine.Preferences().SetProcessAfterEachPage(streamed);
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
        const std::string pdf = ReadFileText(Write(streamed ? "streamed" : "whole", [&] {
            engine.AddThumbnailImage(Picture(24, 12, 10), 1);
            engine.AddThumbnailImage(Picture(10, 10, 200), 1);
            engine.NewPage();
            // Too late for a streamed page 1, which is written already.
            engine.AddThumbnailImage(Picture(8, 6, 0), 1);
        }));
        const std::vector<int> thumbs = Thumbs(pdf);
        ASSERT_EQ(thumbs.size(), 2u);
        EXPECT_EQ(thumbs[1], 0);
        ASSERT_GT(thumbs[0], 0) << streamed;
        const std::string dictionary = ObjectText(pdf, thumbs[0]);
        EXPECT_NE(dictionary.find(streamed ? "/Width 24/Height 12" : "/Width 8/Height 6"), std::string::npos)
            << streamed << dictionary;
        EXPECT_NE(dictionary.find("/Filter/FlateDecode"), std::string::npos);
        EXPECT_EQ(StreamData(pdf, thumbs[0]), streamed ? RgbBytes(24, 12, 10) : RgbBytes(8, 6, 0));
    }
}

TEST_F(PdfThumbnails, EncryptedThumbnailsDecryptToTheirPixels)
{
    if (!HasTool("qpdf"))
        GTEST_SKIP() << "qpdf is not installed";
    engine.Encryption().SetEnabled(true);
    engine.Encryption().SetUserPassword("pw");
    engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
    const std::string path = Write("encrypted", [&] {
        engine.AddThumbnailImage(Picture(16, 8, 33), 1);
        engine.TextOut(50, 50, u"page one");
    });
    const std::string pdf = ReadFileText(path);
    const std::vector<int> thumbs = Thumbs(pdf);
    ASSERT_EQ(thumbs.size(), 1u);
    ASSERT_GT(thumbs[0], 0);
    EXPECT_NE(StreamData(pdf, thumbs[0]), RgbBytes(16, 8, 33));
    std::string data;
    EXPECT_EQ(RunCommand("qpdf --password=pw --show-object=" + std::to_string(thumbs[0]) +
                             " --filtered-stream-data '" + path + "'",
                         &data),
              0);
    EXPECT_EQ(data, RgbBytes(16, 8, 33));
}

} // namespace
} // namespace tessaran
