#include "dialogs/Form_Image_Edit.h"

#include <cmath>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "network/Network_Class.h"
#include "platform/Bitmap.h"
#include "platform/qt/Qt_Canvas.h"
#include "support/Recording_Main_Window.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString kReferenceDir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/dialogs/");

// A picture with every channel varying, so that fading and grey both show.
std::unique_ptr<TBitmap> TestPicture(int width, int height)
{
    auto picture = std::make_unique<TBitmap>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TColor red = static_cast<TColor>(x * 255 / std::max(1, width - 1));
            const TColor green = static_cast<TColor>(y * 255 / std::max(1, height - 1));
            const TColor blue = static_cast<TColor>((x + y) % 64 * 4);
            picture->SetPixel(x, y, red | green << 8 | blue << 16);
        }
    return picture;
}

class FormImageEdit : public ::testing::Test {
protected:
    FormImageEdit()
    {
        TNetwork &network = mainWindow.Network;
        network.BackgroundImagesCount = 2;
        for (int i = 1; i <= 2; ++i) {
            TBackgroundImage &image = network.BackgroundImages[static_cast<std::size_t>(i)];
            image.Bitmap = TestPicture(400, 300);
            image.ImageStretchWidth = 1000;
            image.ImageStretchHeight = 600;
        }
        mainWindow.States.ImageId = 1;
        mainWindow.States.ImagePointId = 3;
    }
    TBackgroundImage &Image(int index = 1)
    {
        return mainWindow.Network.BackgroundImages[static_cast<std::size_t>(index)];
    }
    // Opens the dialog on image 1 and lets user act while it is up; the
    // dialog is closed afterwards if the user left it open.
    void Open(const std::function<void(TFormImageEdit &)> &user)
    {
        QTimer::singleShot(0, [&] {
            user(form);
            if (form.isVisible())
                QTest::mouseClick(form.BitBtnSave, Qt::LeftButton);
        });
        form.OpenForm(1, mainWindow.Network, mainWindow.States);
    }

    test::TRecordingMainWindow mainWindow;
    test::TScriptedDialogs dialogs;
    TFormImageEdit form{mainWindow};
};

TEST_F(FormImageEdit, ShowsTheImageWithoutWritingIt)
{
    Image().ImageOpacity = 60;
    Image().DisplayLayer = 3;
    Image().UseGreyScale = true;
    Open([](TFormImageEdit &f) {
        EXPECT_EQ(f.GroupBoxImage->title(), "  Image 1  ");
        EXPECT_EQ(f.LabelImageWidth->text(), "400");
        EXPECT_EQ(f.LabelImageHeight->text(), "300");
        EXPECT_EQ(f.RightEditScaledWidth->text(), "1000");
        EXPECT_EQ(f.RightEditScaledHeight->text(), "600");
        EXPECT_EQ(f.TrackBarOpacity->value(), 60);
        EXPECT_TRUE(f.CheckBoxGreyScale->isChecked());
        EXPECT_FALSE(f.CheckBoxHideImage->isChecked());
        EXPECT_EQ(f.ComboBoxDisplayLayer->currentIndex(), 2);
    });
    EXPECT_TRUE(mainWindow.Calls.empty());
}

TEST_F(FormImageEdit, EachChangeGoesIntoTheNetworkAndRedraws)
{
    Open([this](TFormImageEdit &f) {
        f.TrackBarOpacity->setValue(40);
        EXPECT_EQ(Image().ImageOpacity, 40);
        ASSERT_TRUE(Image().BitmapAdjusted);
        EXPECT_EQ(mainWindow.CallCount("RefreshScreen(false)"), 1);
        f.CheckBoxGreyScale->setChecked(true);
        f.CheckBoxHideImage->setChecked(true);
        f.ComboBoxDisplayLayer->setCurrentIndex(0);
        EXPECT_TRUE(Image().UseGreyScale);
        EXPECT_TRUE(Image().HideImage);
        EXPECT_EQ(Image().DisplayLayer, 1);
        EXPECT_EQ(mainWindow.CallCount("RefreshScreen(false)"), 4);
    });
    EXPECT_EQ(Image(2).ImageOpacity, 100);
}

TEST_F(FormImageEdit, ScaledSizesOutsideTheSheetAreRefused)
{
    const QString widthMessage = "Scaled image width cannot be greater than max canvas drawing width (18060 pixels)";
    const QString heightMessage =
        "Scaled image height cannot be greater than max canvas drawing height (12020 pixels)";
    struct Case {
        bool width;
        QString text;
        int stored;
        const QString *message;
    };
    const Case cases[] = {
        {true, "20000", 1000, &widthMessage}, {true, "5", 1000, nullptr},  {true, "", 1000, nullptr},
        {true, "0", 1000, nullptr},           {true, "18060", 18060, nullptr}, {true, "10", 10, nullptr},
        {false, "12021", 600, &heightMessage}, {false, "12020", 12020, nullptr}, {false, "9", 600, nullptr},
    };
    for (const Case &c : cases) {
        Image().ImageStretchWidth = 1000;
        Image().ImageStretchHeight = 600;
        if (c.message)
            dialogs.Expect(TDialogKind::Information, *c.message);
        Open([&](TFormImageEdit &f) { (c.width ? f.RightEditScaledWidth : f.RightEditScaledHeight)->setText(c.text); });
        EXPECT_EQ(c.width ? Image().ImageStretchWidth : Image().ImageStretchHeight, c.stored) << c.text.toStdString();
    }
    // The boxes take five digits and no sign or decimals.
    dialogs.Expect(TDialogKind::Information, "Maximum number of post-decimal digits reached.\r\rDelete some "
                                             "post-decimal digits and then update the value as required.");
    Open([](TFormImageEdit &f) {
        f.RightEditScaledWidth->clear();
        QTest::keyClicks(f.RightEditScaledWidth, "-1.5");
        EXPECT_EQ(f.RightEditScaledWidth->text(), "1.");
    });
}

TEST_F(FormImageEdit, ResetsSetTheSizesAndFlashTheBoxes)
{
    Open([this](TFormImageEdit &f) {
        QTest::mouseClick(f.BitBtnResetAspect, Qt::LeftButton);
        EXPECT_EQ(Image().ImageStretchHeight, 750);
        EXPECT_EQ(f.RightEditScaledHeight->text(), "750");
        EXPECT_EQ(f.RightEditScaledHeight->palette().color(QPalette::Base), QColor(255, 255, 0));
        QTest::qWait(1100);
        EXPECT_NE(f.RightEditScaledHeight->palette().color(QPalette::Base), QColor(255, 255, 0));

        QTest::mouseClick(f.BitBtnResetSize, Qt::LeftButton);
        EXPECT_EQ(Image().ImageStretchWidth, 400);
        EXPECT_EQ(Image().ImageStretchHeight, 300);
        EXPECT_EQ(f.RightEditScaledWidth->text(), "400");
        EXPECT_EQ(f.RightEditScaledWidth->palette().color(QPalette::Base), QColor(255, 255, 0));
    });
}

TEST_F(FormImageEdit, DeleteAsksThenClosesWithNoImageSelected)
{
    const QString question = "Are you sure you wish to delete this image?";
    dialogs.Expect(TDialogKind::Confirmation, question, DialogNo);
    Open([](TFormImageEdit &f) { QTest::mouseClick(f.BitBtnDeleteImage, Qt::LeftButton); });
    EXPECT_EQ(mainWindow.Network.BackgroundImagesCount, 2);
    EXPECT_EQ(mainWindow.States.ImageId, 1);

    dialogs.Expect(TDialogKind::Confirmation, question, DialogYes);
    bool closed = false;
    Open([&](TFormImageEdit &f) {
        QTest::mouseClick(f.BitBtnDeleteImage, Qt::LeftButton);
        closed = !f.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(mainWindow.Network.BackgroundImagesCount, 1);
    EXPECT_EQ(mainWindow.States.ImageId, 0);
    EXPECT_EQ(mainWindow.States.ImagePointId, 0);
}

TEST(GenerateImageAdjusted, FadesOverWhiteAndTurnsGrey)
{
    TBackgroundImage image;
    image.Bitmap = TestPicture(64, 48);
    image.ImageOpacity = 40;
    image.UseGreyScale = true;
    GenerateImageAdjusted(image);
    ASSERT_TRUE(image.BitmapAdjusted);
    const TBitmap &adjusted = *image.BitmapAdjusted;
    ASSERT_EQ(adjusted.Width(), 64);
    ASSERT_EQ(adjusted.Height(), 48);

    // Each pixel: the colour over white at alpha 102/255, then luminance.
    for (int y = 0; y < 48; y += 7)
        for (int x = 0; x < 64; x += 5) {
            const TColor source = image.Bitmap->Pixel(x, y);
            auto faded = [](int channel) { return channel * 102.0 / 255 + 255 * (1 - 102.0 / 255); };
            const double grey = 0.2989 * faded(source & 0xFF) + 0.587 * faded((source >> 8) & 0xFF) +
                                0.1141 * faded((source >> 16) & 0xFF);
            const TColor pixel = adjusted.Pixel(x, y);
            EXPECT_NEAR(pixel & 0xFF, grey, 2.0) << x << "," << y;
            EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
            EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);
        }

    const QImage rendered = ToQImage(adjusted).convertToFormat(QImage::Format_RGB32);
    const QString path = kReferenceDir + "image_adjusted_40_grey.png";
    if (qEnvironmentVariableIsSet("TESSARAN_WRITE_REFERENCES")) {
        QDir().mkpath(kReferenceDir);
        ASSERT_TRUE(rendered.save(path));
    }
    const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    EXPECT_EQ(rendered, reference);

    image.UseGreyScale = false;
    image.ImageOpacity = 100;
    GenerateImageAdjusted(image);
    EXPECT_EQ(image.BitmapAdjusted->Pixel(63, 47), image.Bitmap->Pixel(63, 47));
}

} // namespace
} // namespace tessaran
