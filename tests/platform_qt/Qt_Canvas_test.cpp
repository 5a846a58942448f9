#include "platform/MetafileCanvas.h"
#include "platform/qt/Emf_Player.h"
#include "platform/qt/Qt_Canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QImage>

#include <cstdlib>
#include <string>

namespace tessaran {
namespace {

const QString kReferenceDir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/platform_qt/");

// A drawing that uses every kind of canvas call the program makes.
void drawScene(TCanvas &c)
{
    c.Pen.Color = clBlack;
    c.Pen.Width = 0;
    c.MoveTo(10, 10);
    c.LineTo(150, 10);
    c.Pen.Style = TPenStyle::psDash;
    c.MoveTo(10, 16);
    c.LineTo(150, 16);
    c.Pen.Style = TPenStyle::psDot;
    c.MoveTo(10, 22);
    c.LineTo(150, 22);
    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Width = 5;
    c.Pen.Color = clYellow;
    c.MoveTo(160, 12);
    c.LineTo(230, 30);
    c.Pen.Width = 0;
    c.Pen.Color = clRed;
    c.Brush.Color = clLime;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Rectangle(10, 30, 50, 60);
    c.Ellipse(60, 30, 100, 60);
    c.Brush.Style = TBrushStyle::bsDiagCross;
    c.Brush.Color = clBlue;
    c.Rectangle(110, 30, 150, 60);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = 0xFF8000;
    c.Chord(160, 40, 200, 80, 160, 55, 200, 55);
    TPoint tri[3] = {{10, 70}, {40, 100}, {10, 100}};
    c.Polygon(tri);
    TPoint curve[4] = {{50, 100}, {60, 60}, {100, 60}, {110, 100}};
    c.PolyBezier(curve);
    c.BeginPath();
    TPoint wave[7] = {{120, 90}, {125, 70}, {140, 70}, {145, 90}, {150, 110}, {165, 110}, {170, 90}};
    c.PolyBezier(wave);
    c.EndPath();
    c.Brush.Color = clAqua;
    c.StrokeAndFillPath();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = clBlue;
    c.Font.Size = 10;
    c.TextOut(10, 110, "Pump 1 Wavy");
    c.Font.Style = TFontStyles{TFontStyle::fsBold};
    c.Font.Escapement = 900;
    c.TextOut(215, 150, "Head m");
    c.Font = TFont();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clYellow;
    c.TextOut(120, 130, "K = 1.50");
    TBitmap bmp(2, 2);
    bmp.SetPixel(0, 0, clRed);
    bmp.SetPixel(1, 1, clBlue);
    c.StretchDraw(TRect{180, 90, 200, 110}, bmp);
    c.GradientFillVertical(TRect{205, 40, 230, 80}, clWhite, clNavy);
    c.SaveState();
    c.IntersectClipRect(TRect{10, 140, 40, 150});
    c.Brush.Color = clFuchsia;
    c.Pen.Color = clFuchsia;
    c.Rectangle(0, 130, 100, 160);
    c.RestoreState();
    c.Pen.Color = clGreen;
    c.MoveTo(50, 145);
    c.LineTo(100, 145);
}

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage renderDirect()
{
    QImage image = whiteImage(240, 160);
    {
        TQtCanvas canvas(&image);
        drawScene(canvas);
    }
    return image;
}

// The share of pixels whose channels differ by more than the threshold.
double differingShare(const QImage &a, const QImage &b, int threshold = 64)
{
    if (a.size() != b.size())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > threshold || std::abs(qGreen(p) - qGreen(q)) > threshold ||
                std::abs(qBlue(p) - qBlue(q)) > threshold)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

// Compares a render with its stored reference image. Setting
// TESSARAN_WRITE_REFERENCES writes the reference instead.
void expectMatchesReference(const QImage &image, const QString &name)
{
    QString path = kReferenceDir + name;
    image.save(QStringLiteral("render_") + name); // kept beside the test for inspection
    if (std::getenv("TESSARAN_WRITE_REFERENCES")) {
        QDir().mkpath(kReferenceDir);
        ASSERT_TRUE(image.save(path));
        return;
    }
    QImage reference(path);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    EXPECT_LE(differingShare(image.convertToFormat(QImage::Format_RGB32),
                             reference.convertToFormat(QImage::Format_RGB32)),
              0.005)
        << name.toStdString();
}

TEST(QtCanvas, SceneMatchesItsReferenceImage)
{
    expectMatchesReference(renderDirect(), QStringLiteral("scene.png"));
}

TEST(QtCanvas, RecordedSceneplaysBackLikeTheDirectRender)
{
    TMetafile mf;
    mf.Width = 240;
    mf.Height = 160;
    TMetafileCanvas recorder(mf);
    drawScene(recorder);
    recorder.Close();

    QImage played = whiteImage(240, 160);
    {
        QPainter painter(&played);
        PlayMetafile(painter, mf, QRectF(0, 0, 240, 160));
    }
    expectMatchesReference(played, QStringLiteral("scene_played.png"));
    EXPECT_LE(differingShare(played, renderDirect()), 0.01);
}

TEST(QtCanvas, MetafilesPlayStretchedIntoARectangle)
{
    TMetafile mf;
    mf.Width = 100;
    mf.Height = 50;
    {
        TMetafileCanvas c(mf);
        c.Pen.Style = TPenStyle::psClear;
        c.Brush.Color = clRed;
        c.Rectangle(0, 0, 51, 51); // the left half
        c.Close();
    }
    QImage image = whiteImage(300, 200);
    {
        TQtCanvas canvas(&image);
        canvas.StretchDraw(TRect{100, 100, 300, 200}, mf);
    }
    EXPECT_EQ(image.pixel(110, 110), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(190, 190), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(250, 150), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(90, 150), qRgb(255, 255, 255));

    // Played into another recording and then onto the screen: the same picture.
    TMetafile outer;
    outer.Width = 300;
    outer.Height = 200;
    {
        TMetafileCanvas c(outer);
        c.StretchDraw(TRect{100, 100, 300, 200}, mf);
        c.Close();
    }
    QImage twice = whiteImage(300, 200);
    {
        QPainter painter(&twice);
        PlayMetafile(painter, outer, QRectF(0, 0, 300, 200));
    }
    EXPECT_LE(differingShare(twice, image), 0.001);
}

TEST(QtCanvas, TextStaysInsideItsMeasuredExtent)
{
    for (int escapement : {0, 900}) {
        QImage image = whiteImage(200, 200);
        TSize extent;
        {
            TQtCanvas canvas(&image);
            canvas.Font.Size = 12;
            canvas.Font.Escapement = escapement;
            canvas.Brush.Style = TBrushStyle::bsClear;
            extent = canvas.TextExtent("Wavy Head");
            canvas.TextOut(50, 150, "Wavy Head");
        }
        int minX = 200, minY = 200, maxX = -1, maxY = -1;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
        ASSERT_GE(maxX, 0);
        if (escapement == 0) {
            EXPECT_GE(minX, 50);
            EXPECT_LE(maxX, 50 + extent.cx);
            EXPECT_GE(minY, 150);
            EXPECT_LE(maxY, 150 + extent.cy);
            EXPECT_GT(maxX - minX, extent.cx * 3 / 4);
        } else {
            // Turned a quarter counter-clockwise: it runs upwards from the reference point.
            EXPECT_GE(minX, 50);
            EXPECT_LE(maxX, 50 + extent.cy);
            EXPECT_LE(maxY, 150);
            EXPECT_GE(minY, 150 - extent.cx);
        }
    }
}

TEST(QtCanvas, BitmapCanvasWritesBackAndReadsPixels)
{
    TBitmap bmp(20, 10);
    bmp.Fill(clWhite);
    {
        TBitmapCanvas bc(bmp);
        TCanvas &c = bc.Canvas();
        c.Brush.Color = clRed;
        c.Pen.Color = clRed;
        c.Rectangle(0, 0, 5, 5);
        EXPECT_EQ(c.GetPixel(2, 2), clRed);
        EXPECT_EQ(c.GetPixel(10, 5), clWhite);
        c.SetPixel(10, 5, clBlue);
        EXPECT_EQ(c.GetPixel(10, 5), clBlue);
        EXPECT_EQ(static_cast<std::uint32_t>(c.GetPixel(50, 50)), 0xFFFFFFFFu);
    }
    EXPECT_EQ(bmp.Pixel(0, 0), clRed);
    EXPECT_EQ(bmp.Pixel(4, 4), clRed);
    EXPECT_EQ(bmp.Pixel(5, 5), clWhite); // the box's right and bottom edges lie outside
    EXPECT_EQ(bmp.Pixel(10, 5), clBlue);
}

TEST(QtCanvas, LinesLeaveTheirLastPixelOut)
{
    QImage image = whiteImage(20, 20);
    {
        TQtCanvas c(&image);
        c.Pen.Width = 0;
        c.MoveTo(2, 5);
        c.LineTo(10, 5);
    }
    EXPECT_EQ(image.pixel(2, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(9, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 5), qRgb(255, 255, 255));
}

TEST(QtCanvas, PaintsOnAPrinter)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        TQtCanvas canvas(&printer);
        drawScene(canvas);
        EXPECT_EQ(static_cast<std::uint32_t>(canvas.GetPixel(1, 1)), 0xFFFFFFFFu); // a printer has no pixels to read
    }
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

} // namespace
} // namespace tessaran
