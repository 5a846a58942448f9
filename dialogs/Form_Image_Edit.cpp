#include "dialogs/Form_Image_Edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/Main_Window_Services.h"
#include "dialogs/Dialog_Look.h"
#include "network/Network_Class.h"
#include "platform/Bitmap.h"
#include "platform/Pascal.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Util_Functions.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

constexpr int SheetWidth = 18060;
constexpr int SheetHeight = 12020;
constexpr int SmallestScaledSize = 10;
// Luminance.
constexpr std::uint8_t GreyMethod = 2;

} // namespace

void GenerateImageAdjusted(TBackgroundImage &TheImage)
{
    if (!TheImage.Bitmap || TheImage.Bitmap->Empty()) {
        TheImage.BitmapAdjusted.reset();
        return;
    }
    const QImage picture = ToQImage(*TheImage.Bitmap);
    QImage adjusted(picture.size(), QImage::Format_RGB32);
    adjusted.fill(Qt::white);
    {
        QPainter painter(&adjusted);
        const auto alpha = Round(TheImage.ImageOpacity / 100.0L * 255);
        painter.setOpacity(static_cast<double>(alpha) / 255.0);
        painter.drawImage(0, 0, picture);
    }
    auto result = std::make_unique<TBitmap>(FromQImage(adjusted));
    result->SetPixelFormat(TPixelFormat::pf24bit);
    if (TheImage.UseGreyScale)
        ConvertBitmapToGrayscale(*result, GreyMethod);
    TheImage.BitmapAdjusted = std::move(result);
}

TFormImageEdit::TFormImageEdit(TMainWindowServices &MainWindow, QWidget *parent)
    : QDialog(parent), mainWindow_(MainWindow)
{
    setObjectName(QStringLiteral("FormImageEdit"));
    setWindowTitle(QStringLiteral("Image Properties"));

    auto group = [this](const char *name, const QString &caption) {
        auto *box = new QGroupBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    auto button = [this](const char *name, const char *caption) {
        auto *result = new QPushButton(QString::fromLatin1(caption), this);
        result->setObjectName(QString::fromLatin1(name));
        result->setAutoDefault(false);
        return result;
    };
    auto sizeBox = [this](const char *name) {
        auto *box = new TRightEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(5);
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 5, 0); };
        return box;
    };

    GroupBoxImage = group("GroupBoxImage", QString());
    GroupBoxFade = group("GroupBoxFade", QStringLiteral("Fade Image"));
    GroupBoxSize = group("GroupBoxSize", QStringLiteral("Scaled Size"));
    GroupBoxLayer = group("GroupBoxLayer", QStringLiteral("Display Layer"));

    LabelImageWidth = new QLabel(GroupBoxImage);
    LabelImageWidth->setObjectName(QStringLiteral("LabelImageWidth"));
    LabelImageHeight = new QLabel(GroupBoxImage);
    LabelImageHeight->setObjectName(QStringLiteral("LabelImageHeight"));
    auto *imageLayout = new QGridLayout(GroupBoxImage);
    imageLayout->addWidget(new QLabel(QStringLiteral("Image Size:"), GroupBoxImage), 0, 0);
    imageLayout->addWidget(LabelImageWidth, 0, 1);
    imageLayout->addWidget(new QLabel(QStringLiteral("x"), GroupBoxImage), 0, 2);
    imageLayout->addWidget(LabelImageHeight, 0, 3);

    TrackBarOpacity = new QSlider(Qt::Horizontal, GroupBoxFade);
    TrackBarOpacity->setObjectName(QStringLiteral("TrackBarOpacity"));
    TrackBarOpacity->setRange(0, 100);
    TrackBarOpacity->setToolTip(QStringLiteral("Adjust opacity / fading of imported image"));
    CheckBoxGreyScale = new QCheckBox(QStringLiteral("Grey Scale"), GroupBoxFade);
    CheckBoxGreyScale->setObjectName(QStringLiteral("CheckBoxGreyScale"));
    CheckBoxHideImage = new QCheckBox(QStringLiteral("Hide Image "), GroupBoxFade);
    CheckBoxHideImage->setObjectName(QStringLiteral("CheckBoxHideImage"));
    auto *fadeLayout = new QVBoxLayout(GroupBoxFade);
    fadeLayout->addWidget(TrackBarOpacity);
    fadeLayout->addWidget(CheckBoxGreyScale);
    fadeLayout->addWidget(CheckBoxHideImage);

    RightEditScaledWidth = sizeBox("RightEditScaledWidth");
    RightEditScaledHeight = sizeBox("RightEditScaledHeight");
    BitBtnResetSize = button("BitBtnResetSize", "Reset to original pixel size");
    BitBtnResetAspect = button("BitBtnResetAspect", "Reset original aspect ratio");
    auto *sizeLayout = new QGridLayout(GroupBoxSize);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Width"), GroupBoxSize), 0, 0);
    sizeLayout->addWidget(RightEditScaledWidth, 0, 1);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Height"), GroupBoxSize), 1, 0);
    sizeLayout->addWidget(RightEditScaledHeight, 1, 1);
    sizeLayout->addWidget(BitBtnResetSize, 2, 0, 1, 2);
    sizeLayout->addWidget(BitBtnResetAspect, 3, 0, 1, 2);

    ComboBoxDisplayLayer = new QComboBox(GroupBoxLayer);
    ComboBoxDisplayLayer->setObjectName(QStringLiteral("ComboBoxDisplayLayer"));
    ComboBoxDisplayLayer->addItems({QStringLiteral("Layer 1 - Above Grid Lines"),
                                    QStringLiteral("Layer 2 - Behind Grid Lines"),
                                    QStringLiteral("Layer 3 - Behind Layer 2")});
    auto *layerLayout = new QVBoxLayout(GroupBoxLayer);
    layerLayout->addWidget(ComboBoxDisplayLayer);

    BitBtnDeleteImage = button("BitBtnDeleteImage", "Delete Image");
    BitBtnSave = button("BitBtnSave", "Save");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtnDeleteImage);
    buttons->addStretch();
    buttons->addWidget(BitBtnSave);
    auto *layout = new QVBoxLayout(this);
    for (QGroupBox *box : {GroupBoxImage, GroupBoxFade, GroupBoxSize, GroupBoxLayer})
        layout->addWidget(box);
    layout->addLayout(buttons);

    connect(TrackBarOpacity, &QSlider::valueChanged, this, [this](int position) {
        image().ImageOpacity = position;
        changed(true);
    });
    connect(CheckBoxGreyScale, &QCheckBox::toggled, this, [this](bool ticked) {
        image().UseGreyScale = ticked;
        changed(true);
    });
    connect(CheckBoxHideImage, &QCheckBox::toggled, this, [this](bool ticked) {
        image().HideImage = ticked;
        changed(true);
    });
    connect(ComboBoxDisplayLayer, &QComboBox::currentIndexChanged, this, [this](int position) {
        if (position < 0)
            return;
        image().DisplayLayer = position + 1;
        changed(true);
    });
    connect(RightEditScaledWidth, &QLineEdit::textChanged, this, [this] { scaledWidthChanged(); });
    connect(RightEditScaledHeight, &QLineEdit::textChanged, this, [this] { scaledHeightChanged(); });
    connect(BitBtnResetSize, &QPushButton::clicked, this, [this] { resetToOriginalSize(); });
    connect(BitBtnResetAspect, &QPushButton::clicked, this, [this] { resetAspectRatio(); });
    connect(BitBtnDeleteImage, &QPushButton::clicked, this, [this] { deleteImage(); });
    connect(BitBtnSave, &QPushButton::clicked, this, &QDialog::accept);
}

TBackgroundImage &TFormImageEdit::image()
{
    return network_->BackgroundImages[static_cast<std::size_t>(imageIndex_)];
}

void TFormImageEdit::OpenForm(int ImageIndex, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates)
{
    if (ImageIndex < 1 || ImageIndex > TheNetwork.BackgroundImagesCount)
        return;
    imageIndex_ = ImageIndex;
    network_ = &TheNetwork;
    states_ = &TheNetworkStates;
    PaintDialogBackground(this);
    for (QGroupBox *box : {GroupBoxImage, GroupBoxFade, GroupBoxSize, GroupBoxLayer})
        PaintDialogBackground(box);

    {
        // The stored values are shown as they are; the handlers only see what
        // the user changes.
        const QSignalBlocker blockers[] = {QSignalBlocker(TrackBarOpacity),       QSignalBlocker(CheckBoxGreyScale),
                                           QSignalBlocker(CheckBoxHideImage),     QSignalBlocker(ComboBoxDisplayLayer),
                                           QSignalBlocker(RightEditScaledWidth), QSignalBlocker(RightEditScaledHeight)};
        const TBackgroundImage &shown = image();
        GroupBoxImage->setTitle(QStringLiteral("  Image %1  ").arg(ImageIndex));
        const int width = shown.Bitmap ? shown.Bitmap->Width() : 0;
        const int height = shown.Bitmap ? shown.Bitmap->Height() : 0;
        LabelImageWidth->setText(QString::number(width));
        LabelImageHeight->setText(QString::number(height));
        RightEditScaledWidth->setText(QString::number(shown.ImageStretchWidth));
        RightEditScaledHeight->setText(QString::number(shown.ImageStretchHeight));
        TrackBarOpacity->setValue(shown.ImageOpacity);
        CheckBoxGreyScale->setChecked(shown.UseGreyScale);
        CheckBoxHideImage->setChecked(shown.HideImage);
        ComboBoxDisplayLayer->setCurrentIndex(shown.DisplayLayer - 1);
    }
    exec();
}

void TFormImageEdit::changed(bool rebuild)
{
    if (rebuild)
        GenerateImageAdjusted(image());
    mainWindow_.RefreshScreen(false);
}

void TFormImageEdit::scaledWidthChanged()
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(RightEditScaledWidth, valid, false, false);
    if (!valid)
        return;
    if (value > SheetWidth) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Scaled image width cannot be greater than max canvas drawing width (") +
                                  QString::number(SheetWidth) + QStringLiteral(" pixels)"),
                              this);
    } else if (value >= SmallestScaledSize) {
        image().ImageStretchWidth = value;
        changed(true);
    }
}

void TFormImageEdit::scaledHeightChanged()
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(RightEditScaledHeight, valid, false, false);
    if (!valid)
        return;
    if (value > SheetHeight) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Scaled image height cannot be greater than max canvas drawing height (") +
                QString::number(SheetHeight) + QStringLiteral(" pixels)"),
            this);
    } else if (value >= SmallestScaledSize) {
        image().ImageStretchHeight = value;
        changed(true);
    }
}

void TFormImageEdit::resetToOriginalSize()
{
    TBackgroundImage &edited = image();
    if (!edited.Bitmap)
        return;
    edited.ImageStretchWidth = edited.Bitmap->Width();
    edited.ImageStretchHeight = edited.Bitmap->Height();
    RightEditScaledWidth->setText(QString::number(edited.ImageStretchWidth));
    RightEditScaledHeight->setText(QString::number(edited.ImageStretchHeight));
    FlashBox(RightEditScaledWidth, FlashYellow, 1000);
    FlashBox(RightEditScaledHeight, FlashYellow, 1000);
}

void TFormImageEdit::resetAspectRatio()
{
    TBackgroundImage &edited = image();
    if (!edited.Bitmap || edited.Bitmap->Width() <= 0)
        return;
    edited.ImageStretchHeight = static_cast<int>(static_cast<double>(edited.Bitmap->Height()) /
                                                 edited.Bitmap->Width() * edited.ImageStretchWidth);
    RightEditScaledHeight->setText(QString::number(edited.ImageStretchHeight));
    FlashBox(RightEditScaledHeight, FlashYellow, 1000);
}

void TFormImageEdit::deleteImage()
{
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation, QStringLiteral("Are you sure you wish to delete this image?"),
                            this))
        return;
    network_->DeleteBackgroundImage(imageIndex_);
    states_->ImageId = 0;
    states_->ImagePointId = 0;
    mainWindow_.RefreshScreen(false);
    accept();
}

} // namespace tessaran
