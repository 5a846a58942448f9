// A form printed for real through QPrinter into a PDF file, read back by
// poppler's tools: its bands arrive as images that together cover the
// printed area exactly, and the rendered page shows the form scaled onto the
// usable area, centred, with the parts of a scrolled form out of view.

#include "platform/qt/Qt_Print_Device.h"
#include "printing/PrnForm.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tessaran {
namespace {

bool haveTool(const QString &tool)
{
    QProcess probe;
    probe.start(tool, {QStringLiteral("-v")});
    return probe.waitForFinished(10000);
}

QWidget *colouredWidget(QWidget *parent, QRect geometry, QColor colour)
{
    auto *widget = new QWidget(parent);
    widget->setGeometry(geometry);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    return widget;
}

struct TListedImage {
    int Width = 0;
    int Height = 0;
    QString Colour;
    int Bits = 0;
};

// pdfimages -list: page num type width height color comp bpc ...
QList<TListedImage> listImages(const QString &pdf)
{
    QProcess list;
    list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!list.waitForFinished(30000))
        return {};
    QList<TListedImage> images;
    const QStringList lines = QString::fromLatin1(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString &line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 7 && fields[2] == QLatin1String("image"))
            images.append({fields[3].toInt(), fields[4].toInt(), fields[5], fields[7].toInt()});
    }
    return images;
}

QImage renderPage(const QString &pdf, const QString &stem, int dpi)
{
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                              QStringLiteral("-singlefile"), pdf, stem});
    if (!render.waitForFinished(30000))
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}

TEST(PrintFormToPdf, AScrolledFormPrintsWholeAndCentredOnTheUsableArea)
{
    if (!haveTool(QStringLiteral("pdfimages")) || !haveTool(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "poppler tools are not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("form.pdf"));

    // A 400 x 300 yellow content with a blue lower-right quarter, shown in a
    // window half its size and scrolled to the top left: the blue quarter is
    // entirely out of view.
    QScrollArea form;
    form.resize(200, 150);
    QWidget *content = colouredWidget(nullptr, QRect(0, 0, 400, 300), Qt::yellow);
    colouredWidget(content, QRect(200, 150, 200, 150), Qt::blue);
    form.setWidget(content);
    form.show();
    form.horizontalScrollBar()->setValue(0);
    form.verticalScrollBar()->setValue(0);
    int formWidth = 0, formHeight = 0;
    GetFormImageSize(&form, formWidth, formHeight);
    ASSERT_EQ(formWidth, 402);
    ASSERT_EQ(formHeight, 302);

    constexpr int dpi = 150;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    PageMetrics metrics;
    TLongBool printed = LongFalse;
    {
        QPainter painter(&printer);
        TQtPrintDevice device(painter, &printer);
        ASSERT_EQ(GetPrinterPageMetrics(&device, &metrics), LongTrue);
        printed = PrintFormFitToPage(&form, &device, LongTrue, LongTrue);
    }
    ASSERT_EQ(printed, LongTrue);

    // A portrait page: the form takes the usable width and is centred
    // vertically.
    const int width = metrics.UsableWidth;
    const int height = static_cast<int>(static_cast<long double>(formHeight) * width / formWidth);
    const int top = metrics.UsableHeight / 2 - height / 2;
    ASSERT_LT(height, metrics.UsableHeight);

    // The bands cover the printed area exactly, in true colour.
    const QList<TListedImage> images = listImages(pdf);
    ASSERT_FALSE(images.isEmpty());
    long long area = 0;
    for (const TListedImage &image : images) {
        EXPECT_EQ(image.Colour, QStringLiteral("rgb"));
        EXPECT_EQ(image.Bits, 8);
        area += static_cast<long long>(image.Width) * image.Height;
    }
    EXPECT_EQ(area, static_cast<long long>(width) * height);

    constexpr int renderDpi = 50;
    const QImage page = renderPage(pdf, dir.filePath(QStringLiteral("page")), renderDpi);
    ASSERT_FALSE(page.isNull());
    // A point of the printed area, given as a fraction of the form, on the
    // rendered page.
    const auto at = [&](double fx, double fy) {
        const double x = metrics.PhysicalOffsetX + metrics.UsableOffsetX + fx * width;
        const double y = metrics.PhysicalOffsetY + metrics.UsableOffsetY + top + fy * height;
        return page.pixel(static_cast<int>(x * renderDpi / dpi), static_cast<int>(y * renderDpi / dpi));
    };
    EXPECT_TRUE(near(at(0.25, 0.25), qRgb(255, 255, 0))) << "the part in view";
    EXPECT_TRUE(near(at(0.75, 0.75), qRgb(0, 0, 255))) << "the part scrolled out of view";
    EXPECT_TRUE(near(at(0.5, -0.2), qRgb(255, 255, 255))) << "above the centred form";
    EXPECT_TRUE(near(at(0.5, 1.2), qRgb(255, 255, 255))) << "below the centred form";
}

} // namespace
} // namespace tessaran
