// A real print through QPrinter into a PDF file, read back by poppler's
// tools: the tiles arrive as images of the expected sizes and the rendered
// page shows the picture scaled onto the usable area.

#include "platform/qt/Qt_Print_Device.h"
#include "printing/PrnUtils.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

bool haveTool(const QString &tool)
{
    QProcess probe;
    probe.start(tool, {QStringLiteral("-v")});
    return probe.waitForFinished(10000);
}

TEST(PrintToPdf, TilesAndPageMatchThePicture)
{
    if (!haveTool(QStringLiteral("pdfimages")) || !haveTool(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "poppler tools are not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("print.pdf"));

    // Upper half red, lower half blue; one column of a band is enough to tell.
    TBitmap picture(300, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 300; ++x)
            picture.SetPixel(x, y, y < 300 ? 0x000000FF : 0x00FF0000);
    THeapBlock header, bits;
    int width = 0, height = 0;
    ASSERT_EQ(BitmapToDIB(picture, header, bits, width, height), LongTrue);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(150);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    int result = 0;
    int progressCalls = 0;
    PageMetrics metrics;
    {
        QPainter painter(&printer);
        TQtPrintDevice device(painter, &printer);
        ASSERT_EQ(GetPrinterPageMetrics(&device, &metrics), LongTrue);
        result = PrintDIBFitToPage(&device, header.Bytes(), bits.Bytes(), LongTrue, LongTrue,
                                   [](int, int, void *count) -> TLongBool {
                                       ++*static_cast<int *>(count);
                                       return LongTrue;
                                   },
                                   &progressCalls);
    }
    ASSERT_EQ(result, PrintDone);
    EXPECT_GT(progressCalls, 0);

    // A4 at 150 dpi is about 1240 x 1754 pixels with 59-pixel margins: the
    // picture fills the usable height in two tiles, the first screen-high.
    EXPECT_NEAR(metrics.UsableHeight, 1636, 2);
    EXPECT_NEAR(metrics.MarginLeft, 59, 1);
    QProcess list;
    list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    ASSERT_TRUE(list.waitForFinished(30000));
    const QStringList lines = QString::fromLatin1(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QList<QPair<int, int>> sizes;
    for (const QString &line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields[2] == QLatin1String("image"))
            sizes.append({fields[3].toInt(), fields[4].toInt()});
    }
    ASSERT_EQ(sizes.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(sizes[0].second, 1080);
    EXPECT_EQ(sizes[0].second + sizes[1].second, metrics.UsableHeight);
    EXPECT_EQ(sizes[0].first, metrics.UsableHeight * 300 / 600);
    EXPECT_EQ(sizes[1].first, sizes[0].first);

    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                  pdf, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
               std::abs(qBlue(a) - qBlue(b)) < 40;
    };
    const int middleX = page.width() / 2;
    EXPECT_TRUE(near(page.pixel(middleX, page.height() / 4), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(page.pixel(middleX, page.height() * 3 / 4), qRgb(0, 0, 255)));
    EXPECT_TRUE(near(page.pixel(page.width() / 8, page.height() / 2), qRgb(255, 255, 255)));
}

} // namespace
} // namespace tessaran
