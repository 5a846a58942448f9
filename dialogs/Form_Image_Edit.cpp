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

    auto sizeBox = [this](const char *name) {
        auto *box = Named<TRightEdit>(name, this);
        box->setMaxLength(5);
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 5, 0); };
        return box;
    };

    GroupBoxImage = Named<QGroupBox>("GroupBoxImage", this);
    GroupBoxFade = Named<QGroupBox>("GroupBoxFade", QStringLiteral("Fade Image"), this);
    GroupBoxSize = Named<QGroupBox>("GroupBoxSize", QStringLiteral("Scaled Size"), this);
    GroupBoxLayer = Named<QGroupBox>("GroupBoxLayer", QStringLiteral("Display Layer"), this);

    LabelImageWidth = Named<QLabel>("LabelImageWidth", GroupBoxImage);
    LabelImageHeight = Named<QLabel>("LabelImageHeight", GroupBoxImage);
    auto *imageLayout = new QGridLayout(GroupBoxImage);
    imageLayout->addWidget(new QLabel(QStringLiteral("Image Size:"), GroupBoxImage), 0, 0);
    imageLayout->addWidget(LabelImageWidth, 0, 1);
    imageLayout->addWidget(new QLabel(QStringLiteral("x"), GroupBoxImage), 0, 2);
    imageLayout->addWidget(LabelImageHeight, 0, 3);

    TrackBarOpacity = Named<QSlider>("TrackBarOpacity", Qt::Horizontal, GroupBoxFade);
    TrackBarOpacity->setRange(0, 100);
    TrackBarOpacity->setToolTip(QStringLiteral("Adjust opacity / fading of imported image"));
    CheckBoxGreyScale = Named<QCheckBox>("CheckBoxGreyScale", QStringLiteral("Grey Scale"), GroupBoxFade);
    CheckBoxHideImage = Named<QCheckBox>("CheckBoxHideImage", QStringLiteral("Hide Image "), GroupBoxFade);
    auto *fadeLayout = new QVBoxLayout(GroupBoxFade);
    fadeLayout->addWidget(TrackBarOpacity);
    fadeLayout->addWidget(CheckBoxGreyScale);
    fadeLayout->addWidget(CheckBoxHideImage);

    RightEditScaledWidth = sizeBox("RightEditScaledWidth");
    RightEditScaledHeight = sizeBox("RightEditScaledHeight");
    BitBtnResetSize = Named<QPushButton>("BitBtnResetSize", QStringLiteral("Reset to original pixel size"), this);
    BitBtnResetAspect = Named<QPushButton>("BitBtnResetAspect", QStringLiteral("Reset original aspect ratio"), this);
    auto *sizeLayout = new QGridLayout(GroupBoxSize);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Width"), GroupBoxSize), 0, 0);
    sizeLayout->addWidget(RightEditScaledWidth, 0, 1);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Height"), GroupBoxSize), 1, 0);
    sizeLayout->addWidget(RightEditScaledHeight, 1, 1);
    sizeLayout->addWidget(BitBtnResetSize, 2, 0, 1, 2);
    sizeLayout->addWidget(BitBtnResetAspect, 3, 0, 1, 2);

    ComboBoxDisplayLayer = Named<QComboBox>("ComboBoxDisplayLayer", GroupBoxLayer);
    ComboBoxDisplayLayer->addItems({QStringLiteral("Layer 1 - Above Grid Lines"),
                                    QStringLiteral("Layer 2 - Behind Grid Lines"),
                                    QStringLiteral("Layer 3 - Behind Layer 2")});
    auto *layerLayout = new QVBoxLayout(GroupBoxLayer);
    layerLayout->addWidget(ComboBoxDisplayLayer);

    BitBtnDeleteImage = Named<QPushButton>("BitBtnDeleteImage", QStringLiteral("Delete Image"), this);
    BitBtnSave = Named<QPushButton>("BitBtnSave", QStringLiteral("Save"), this);
    // Enter in a size box presses no button.
    for (QPushButton *button : {BitBtnResetSize, BitBtnResetAspect, BitBtnDeleteImage, BitBtnSave})
        button->setAutoDefault(false);
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
    connect(RightEditScaledWidth, &QLineEdit::textChanged, this, [this] {
        scaledSizeChanged(RightEditScaledWidth, SheetWidth, image().ImageStretchWidth, QStringLiteral("width"));
    });
    connect(RightEditScaledHeight, &QLineEdit::textChanged, this, [this] {
        scaledSizeChanged(RightEditScaledHeight, SheetHeight, image().ImageStretchHeight, QStringLiteral("height"));
    });
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

void TFormImageEdit::scaledSizeChanged(TRightEdit *box, int sheetSize, std::int32_t &stored,
                                       const QString &direction)
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(box, valid, false, false);
    if (!valid)
        return;
    if (value > sheetSize) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Scaled image %1 cannot be greater than max canvas drawing %1 (%2 pixels)")
                                  .arg(direction)
                                  .arg(sheetSize),
                              this);
    } else if (value >= SmallestScaledSize) {
        stored = value;
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
