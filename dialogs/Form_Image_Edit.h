#pragma once
// The image properties dialog: fading, grey scale, hiding, display layer and
// scaled size of one background image, or its deletion. Every change goes
// straight into the network and the main window redraws at once.

#include <cstdint>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tessaran {

class TMainWindowServices;
class TNetwork;
class TRightEdit;
struct TBackgroundImage;
struct TNetworkStates;

// The picture as drawn: the imported one over white at the image's opacity,
// turned grey when asked.
void GenerateImageAdjusted(TBackgroundImage &TheImage);

class TFormImageEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFormImageEdit(TMainWindowServices &MainWindow, QWidget *parent = nullptr);

    void OpenForm(int ImageIndex, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates);

    QGroupBox *GroupBoxImage;
    QGroupBox *GroupBoxFade;
    QGroupBox *GroupBoxSize;
    QGroupBox *GroupBoxLayer;
    QLabel *LabelImageWidth;
    QLabel *LabelImageHeight;
    TRightEdit *RightEditScaledWidth;
    TRightEdit *RightEditScaledHeight;
    QSlider *TrackBarOpacity;
    QCheckBox *CheckBoxGreyScale;
    QCheckBox *CheckBoxHideImage;
    QComboBox *ComboBoxDisplayLayer;
    QPushButton *BitBtnResetSize;
    QPushButton *BitBtnResetAspect;
    QPushButton *BitBtnDeleteImage;
    QPushButton *BitBtnSave;

private:
    TBackgroundImage &image();
    // Writes into the image, rebuilds the picture when asked, redraws.
    void changed(bool rebuild);
    // A typed scaled size: refused above the sheet, ignored below the
    // smallest size or unreadable.
    void scaledSizeChanged(TRightEdit *box, int sheetSize, std::int32_t &stored, const QString &direction);
    void resetToOriginalSize();
    void resetAspectRatio();
    void deleteImage();

    TMainWindowServices &mainWindow_;
    TNetwork *network_ = nullptr;
    TNetworkStates *states_ = nullptr;
    int imageIndex_ = 0;
};

} // namespace tessaran
