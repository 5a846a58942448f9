// A page drawn on the recording canvas reaches the PDF as the screen shows
// it: the PDF page rendered by pdftoppm is compared with the QPainter
// playback of the same recording.

#include "docexport/Pdf_Engine.h"
#include "platform/Bitmap.h"
#include "platform/MetafileCanvas.h"
#include "platform/qt/Emf_Player.h"

#include "../docexport/Pdf_Test_Reader.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <filesystem>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

constexpr int PageWidth = 794;  // A4 at 96 pixels per inch
constexpr int PageHeight = 1123;

// Every kind of record the recorder writes.
TMetafile DrawnPage()
{
    TMetafile page;
    page.Width = PageWidth;
    page.Height = PageHeight;
    TMetafileCanvas c(page);
    c.Pen.Color = clNavy;
    c.Pen.Width = 3;
    c.Brush.Color = clYellow;
    c.Rectangle(40, 40, 240, 140);
    c.Brush.Color = clLime;
    c.Ellipse(280, 40, 480, 160);
    c.Brush.Color = clAqua;
    c.Chord(520, 40, 720, 200, 720, 120, 520, 120);
    const TPoint star[] = {{100, 220}, {160, 400}, {20, 290}, {180, 290}, {40, 400}};
    c.Brush.Color = clFuchsia;
    c.Polygon(star);
    c.Pen.Width = 5;
    c.Pen.Color = clRed;
    const TPoint zigzag[] = {{240, 240}, {300, 380}, {360, 240}, {420, 380}};
    c.Polyline(zigzag);
    const TPoint curve[] = {{460, 380}, {500, 200}, {640, 460}, {700, 240}};
    c.PolyBezier(curve);
    c.MoveTo(40, 460);
    c.LineTo(740, 520);

    // A filled path.
    c.Pen.Width = 2;
    c.Pen.Color = clBlack;
    c.Brush.Color = clSilver;
    c.BeginPath();
    c.MoveTo(60, 560);
    c.LineTo(300, 580);
    c.LineTo(180, 760);
    c.LineTo(60, 560);
    c.EndPath();
    c.StrokeAndFillPath();

    // Drawing cut by a clip rectangle: only its middle shows.
    c.SaveState();
    c.IntersectClipRect(TRect{400, 600, 600, 700});
    c.Brush.Color = clMaroon;
    c.Rectangle(340, 560, 700, 760);
    c.RestoreState();

    // A stretched bitmap of four coloured quarters.
    TBitmap quarters(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            quarters.SetPixel(x, y, x < 4 ? (y < 4 ? clRed : clGreen) : (y < 4 ? clBlue : clOlive));
    c.StretchDraw(TRect{100, 820, 300, 1020}, quarters);

    // Text, plain on an opaque background and turned a quarter.
    c.Font.Name = "Arial";
    c.Font.Size = 16;
    c.Font.Color = clBlue;
    c.Brush.Color = clWhite;
    c.TextOut(400, 820, "Pressure 3.5 bar");
    c.Font.Escapement = 900;
    c.Font.Color = clBlack;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(700, 1050, "Turned label");
    c.Close();
    return page;
}

struct Comparison {
    std::int64_t drawn = 0;     // pixels not white in either picture
    std::int64_t different = 0; // of those, pixels that differ clearly
};

// Pixels of the screen that the PDF page shows nowhere within one pixel:
// the two rasterisers may place an edge one pixel apart.
Comparison Compare(const QImage &screen, const Image &pdf)
{
    Comparison result;
    const int width = std::min(screen.width(), pdf.Width), height = std::min(screen.height(), pdf.Height);
    const auto close = [&](QRgb s, int x, int y) {
        const unsigned char *p = pdf.At(x, y);
        return std::max({std::abs(qRed(s) - p[0]), std::abs(qGreen(s) - p[1]), std::abs(qBlue(s) - p[2])}) <= 96;
    };
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x) {
            const QRgb s = screen.pixel(x, y);
            const unsigned char *p = pdf.At(x, y);
            const bool white = qRed(s) > 245 && qGreen(s) > 245 && qBlue(s) > 245 && p[0] > 245 && p[1] > 245 &&
                               p[2] > 245;
            if (white)
                continue;
            ++result.drawn;
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy)
                for (int dx = -1; dx <= 1 && !matched; ++dx)
                    matched = close(s, x + dx, y + dy);
            if (!matched)
                ++result.different;
        }
    return result;
}

TEST(MetafilePlayback, TheInterpretedPageLooksLikeTheScreenPlayback)
{
    if (!HasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    const TMetafile page = DrawnPage();
    // Interpreted at once at the page's origin, and stretched to half its
    // size on the page's recording canvas (a world transform around every
    // record).
    for (const double scale : {1.0, 0.5}) {
        SCOPED_TRACE(scale);
        QImage screen(PageWidth, PageHeight, QImage::Format_RGB32);
        screen.fill(Qt::white);
        const int width = static_cast<int>(PageWidth * scale), height = static_cast<int>(PageHeight * scale);
        {
            QPainter painter(&screen);
            PlayMetafile(painter, page, QRectF(0, 0, width, height));
        }

        const fs::path folder = fs::temp_directory_path() / ("tessaran_playback_" + std::to_string(::getpid()) + "_" +
                                                              std::to_string(static_cast<int>(scale * 10)));
        fs::create_directories(folder);
        TdeCustomPDFEngine engine;
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.Page().SetLeftMargin(0);
        engine.Page().SetTopMargin(0);
        // Pixels as they are: JPEG would blend the colours of a picture this small.
        engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
        engine.SetFileName((folder / "page").string());
        engine.BeginDoc();
        TMetafile copy = page;
        if (scale == 1.0)
            engine.PlayMetafile(copy);
        else
            engine.PlayMetafile(TdeRect{0, 0, double(width), double(height)}, copy);
        engine.EndDoc();
        const std::string pdf = (folder / "page.pdf").string();
        if (HasTool("qpdf")) {
            std::string report;
            EXPECT_EQ(RunCommand("qpdf --check '" + pdf + "'", &report), 0) << report;
        }
        ASSERT_EQ(RunCommand("pdftoppm -r 96 -aa no -aaVector no '" + pdf + "' '" + (folder / "page").string() + "'"),
                  0);
        const Image rendered = ReadPPM((folder / "page-1.ppm").string());
        ASSERT_GE(rendered.Width, PageWidth - 1);
        ASSERT_GE(rendered.Height, PageHeight - 1);

        const Comparison all = Compare(screen, rendered);
        EXPECT_GT(all.drawn, 150000 * scale * scale);
        EXPECT_LT(double(all.different) / all.drawn, 0.01) << all.different << " of " << all.drawn;

        if (HasTool("pdftotext")) {
            std::string text;
            ASSERT_EQ(RunCommand("pdftotext '" + pdf + "' -", &text), 0);
            EXPECT_NE(text.find("Pressure 3.5 bar"), std::string::npos) << text;
            EXPECT_NE(text.find("Turned label"), std::string::npos) << text;
        }

        // Inside the clip rectangle the rectangle shows; just outside it does not.
        const auto at = [&](int x, int y) {
            const unsigned char *p = rendered.At(static_cast<int>(x * scale), static_cast<int>(y * scale));
            return RGB(p[0], p[1], p[2]);
        };
        EXPECT_EQ(at(500, 650), clMaroon);
        EXPECT_EQ(at(380, 650), clWhite);
        EXPECT_EQ(at(150, 870), clRed);
        EXPECT_EQ(at(250, 970), clOlive);
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES")) {
            fs::remove_all(folder);
        } else {
            // Side by side for a reader: the screen, then the PDF page.
            QImage pdfImage(QString::fromStdString((folder / "page-1.ppm").string()));
            QImage side(PageWidth * 2, PageHeight, QImage::Format_RGB32);
            QPainter painter(&side);
            painter.drawImage(0, 0, screen);
            painter.drawImage(PageWidth, 0, pdfImage);
            painter.end();
            side.scaled(PageWidth, PageHeight / 2).save(QString::fromStdString((folder / "side.png").string()));
        }
    }
}

} // namespace
} // namespace tessaran
