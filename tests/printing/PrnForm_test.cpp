#include "printing/PrnForm.h"

#include "printing/Abort_Dialog.h"

#include "support/Recording_Print_Device.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tessaran {
namespace {

// A plain widget of one background colour.
std::unique_ptr<QWidget> colouredWidget(QWidget *parent, QRect geometry, QColor colour)
{
    auto widget = std::make_unique<QWidget>(parent);
    widget->setGeometry(geometry);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    return widget;
}

// Paints a different colour in each of 300 columns.
class TManyColours : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int x = 0; x < width(); ++x)
            painter.fillRect(x, 0, 1, height(), QColor(x % 256, x / 256 * 40, 128));
    }
};

TRect unionOf(const std::vector<test::TDeviceCall> &calls)
{
    TRect all{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const auto &c : calls)
        all = TRect{std::min(all.Left, c.Dest.Left), std::min(all.Top, c.Dest.Top),
                    std::max(all.Right, c.Dest.Right), std::max(all.Bottom, c.Dest.Bottom)};
    return all;
}

TEST(FormPrinting, FitsTheFormToThePageCentredOrNot)
{
    auto form = colouredWidget(nullptr, QRect(0, 0, 800, 600), Qt::yellow);
    auto child = colouredWidget(form.get(), QRect(400, 300, 400, 300), Qt::blue);
    for (const bool centre : {true, false}) {
        test::TRecordingPrintDevice device(4800, 6600);
        ASSERT_EQ(PrintFormFitToPage(form.get(), &device, centre ? LongTrue : LongFalse, LongTrue), LongTrue);
        // 800 x 600 on 4800 x 6600: 4800 x 3600, at y 1500 when centred.
        const int top = centre ? 1500 : 0;
        EXPECT_EQ(unionOf(device.Calls), (TRect{0, top, 4800, top + 3600}));
        EXPECT_EQ(device.Count("StretchDIBits"), 12) << "3 columns by 4 screen-sized bands";
        EXPECT_EQ(device.Page.Pixel(600, top + 600), 0x0000FFFF) << "yellow form";
        EXPECT_EQ(device.Page.Pixel(4200, top + 3000), 0x00FF0000) << "blue child";
        EXPECT_EQ(device.Page.Pixel(100, centre ? 100 : 4000), 0x00FFFFFF) << "outside the form";
    }
}

TEST(FormPrinting, AScrolledFormPrintsWhole)
{
    QScrollArea area;
    area.resize(300, 200);
    auto content = colouredWidget(nullptr, QRect(0, 0, 600, 400), Qt::white);
    auto corner = colouredWidget(content.get(), QRect(500, 300, 100, 100), Qt::red);
    QWidget *inner = content.release();
    area.setWidget(inner);
    area.show();
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum() / 2);
    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum() / 2);
    int width = 0, height = 0;
    GetFormImageSize(&area, width, height);
    EXPECT_EQ(width, 602);
    EXPECT_EQ(height, 402);

    test::TRecordingPrintDevice device(1204, 2000);
    ASSERT_EQ(PrintFormFitToPage(&area, &device, LongFalse, LongTrue), LongTrue);
    // Twice the size: the red corner of the content, out of view, is printed.
    EXPECT_EQ(device.Page.Pixel(1100, 700), 0x000000FF);
    EXPECT_EQ(device.Page.Pixel(100, 100), 0x00FFFFFF);
}

TEST(FormPrinting, FewColoursGoOutWithAPalette)
{
    FormPrintOptions palette{16, LongFalse, LongFalse, LongFalse};
    auto twoColours = colouredWidget(nullptr, QRect(0, 0, 100, 50), Qt::black);
    auto white = colouredWidget(twoColours.get(), QRect(50, 0, 50, 50), Qt::white);
    test::TRecordingPrintDevice device(400, 400);
    ASSERT_EQ(PrintFormToDC(twoColours.get(), &device, LongFalse, LongFalse, &palette), LongTrue);
    ASSERT_EQ(device.Count("StretchDIBits"), 1);
    EXPECT_EQ(device.Calls[0].BitCount, 1);
    EXPECT_EQ(device.Calls[0].Colors, 2);
    EXPECT_EQ(device.Page.Pixel(300, 50), 0x00FFFFFF);
    EXPECT_EQ(device.Page.Pixel(100, 50), 0);

    TManyColours many;
    many.resize(300, 20);
    test::TRecordingPrintDevice deep(600, 600);
    ASSERT_EQ(PrintFormToDC(&many, &deep, LongFalse, LongFalse, &palette), LongTrue);
    ASSERT_EQ(deep.Count("StretchDIBits"), 1);
    EXPECT_EQ(deep.Calls[0].BitCount, 24);
}

TEST(FormPrinting, NothingVisibleIsNotAFailure)
{
    auto form = colouredWidget(nullptr, QRect(0, 0, 100, 100), Qt::green);
    test::TRecordingPrintDevice device(500, 500);
    EXPECT_EQ(RenderFormToDC(form.get(), &device, 1000, 1000, 100, 100, TRect{0, 0, 500, 500}, nullptr, nullptr, {},
                             {}, nullptr),
              LongTrue);
    EXPECT_TRUE(device.Calls.empty());
    EXPECT_EQ(RenderFormToDC(nullptr, &device, 0, 0, 100, 100, TRect{0, 0, 500, 500}, nullptr, nullptr, {}, {},
                             nullptr),
              LongFalse);
}

TEST(FormPrinting, TheCancelDialogShowsProgressKeepsTheFormDisabledAndCancels)
{
    auto form = colouredWidget(nullptr, QRect(0, 0, 300, 200), Qt::green);
    form->show();
    const FormPrintOptions withDialog{16, LongTrue, LongFalse, LongTrue};

    // The caller's progress sees the dialog's caption and the form disabled.
    struct Seen {
        QWidget *Form;
        QStringList Captions;
        QStringList Expected;
        bool FormEnabled = true;
    } seen{form.get(), {}, {}};
    test::TRecordingPrintDevice device(600, 400);
    const TLongBool printed = RenderFormToDC(
        form.get(), &device, 0, 0, 600, 400, TRect{0, 0, 600, 400},
        [](int index, int count, void *data) -> TLongBool {
            auto *s = static_cast<Seen *>(data);
            auto *dialog = s->Form->findChild<TAbortDialog *>();
            s->Captions << (dialog ? dialog->windowTitle() : QString());
            s->Expected << QStringLiteral("Printing - %1%").arg(count > 0 ? index * 100 / count : 0);
            s->FormEnabled = s->FormEnabled && s->Form->isEnabled();
            return LongTrue;
        },
        &seen, {}, {}, &withDialog);
    EXPECT_EQ(printed, LongTrue);
    ASSERT_FALSE(seen.Captions.isEmpty());
    EXPECT_EQ(seen.Captions, seen.Expected);
    EXPECT_FALSE(seen.FormEnabled);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->findChild<TAbortDialog *>(), nullptr);
    EXPECT_EQ(device.Count("StretchDIBits"), 1);

    // Cancel pressed as soon as the dialog shows: nothing is printed.
    QTimer::singleShot(0, form.get(), [&] {
        if (auto *dialog = form->findChild<TAbortDialog *>())
            dialog->btnCancel->click();
    });
    test::TRecordingPrintDevice cancelled(600, 400);
    EXPECT_EQ(PrintFormToDC(form.get(), &cancelled, LongFalse, LongFalse, &withDialog), LongFalse);
    EXPECT_EQ(cancelled.Count("StretchDIBits"), 0);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->findChild<TAbortDialog *>(), nullptr);
}

} // namespace
} // namespace tessaran
