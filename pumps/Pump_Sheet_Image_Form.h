#pragma once
// The pump curve image digitiser: the user imports a picture of a maker's
// curve sheet, calibrates its flow and head axes by clicking their ends,
// clicks up to 10 points along the head curve with their efficiency and
// NPSHr, and saves them (with the picture and its calibration, if wanted)
// into a working copy of the pump, which goes back to the caller only then.

#include <array>
#include <functional>

#include <QDialog>
#include <QImage>
#include <QPoint>

#include "model/Pump_Class.h"
#include "units/Units.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QTableWidget;
class QTableWidgetItem;

namespace tessaran {

class TFluid;
class TImageBox;
class TRightEdit;

// The picture area's size in pixels.
constexpr int PumpSheetImageWidth = 932;
constexpr int PumpSheetImageHeight = 569;
constexpr int MaxPumpSheetPoints = 10;

// The axis picks (picture pixels; a coordinate of 0 counts as not set) and
// the scale values, with the linear conversions between them. Only the x
// of the X picks and the y of the Y picks enter the values; a degenerate
// scale gives 0.
struct TPumpSheetCalibration {
    QPoint XStart, XEnd, YStart, YEnd;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;

    double XValueOfPixel(int x) const;
    double YValueOfPixel(int y) const;
    int PixelXOfValue(double v) const;
    int PixelYOfValue(double v) const;
    static bool AllSet(QPoint start, QPoint end)
    {
        return start.x() != 0 && start.y() != 0 && end.x() != 0 && end.y() != 0;
    }
};

// Each pixel moved towards white by round(percent / 100 x 255) / 255.
QImage FadePumpSheetImage(const QImage &unfaded, int percent);

class TPumpSheetImageForm : public QDialog {
    Q_OBJECT
public:
    explicit TPumpSheetImageForm(QWidget *parent = nullptr);
    ~TPumpSheetImageForm() override;

    // The one digitiser of the program's run, created on first use.
    static TPumpSheetImageForm &Instance();
    static void OpenForm(TPump &ThePump, const TFluid &TheFluid);
    void Open(TPump &ThePump, const TFluid &TheFluid);

    enum TPickingMode { PickNone, PickXStart, PickXEnd, PickYStart, PickYEnd, PickPoints };

    // --- working state ---------------------------------------------------------
    TPump WorkingPump;
    double Density_kgm3 = 1000;
    TPickingMode PickingMode = PickNone;
    std::array<bool, 6> StepReached{}; // 1 to 5
    TPumpSheetCalibration Calibration;
    TUnit xUnit = unt_m3_sec, yUnit = unt_m_hd_fluid;
    int PointsCount = 0;
    // Points 1 to 10 (index 0 unused): pixel, efficiency (%), NPSHr (m of fluid).
    std::array<QPoint, MaxPumpSheetPoints + 1> Points{};
    std::array<double, MaxPumpSheetPoints + 1> Effic{};
    std::array<double, MaxPumpSheetPoints + 1> NPSHr_mHd{};
    int CurrentPoint = 0;
    bool Saved = false;
    QImage UnfadedImage, FadedImage;

    // How long each step of the pointer's glide waits; tests set 0.
    static inline int GlideStepMilliseconds = 30;

    // --- operations ----------------------------------------------------------------
    void ShowStep(int Step);
    void SetStartValues();
    void SetStartValuesFromPump();
    void PumpSheetImageOverlayUpdatePoints();
    void DrawOverlay();
    void SortPoints();
    void DeletePoint(int Row);
    void ClearAllDataPoints();
    void PictureClick(QPoint At);
    void PictureMove(QPoint At);
    void ImportImageClick();
    void SelectXAxisClick();
    void SelectYAxisClick();
    void SelectPointsClick();
    void SaveAndCloseClick();
    void SaveDataToPumpClick();
    void FadeChange(int Percent);
    void SelectXUnit(TUnit Unit);
    void SelectYUnit(TUnit Unit);
    // Moves the pointer to a point of the form in n steps.
    void GlidePointer(QPoint FormTarget, int Steps);
    // The data-type list's choice: "Head", "Effic" or "NPSHr".
    QString DataType() const;
    void SetDataType(const QString &Type);

    // --- components (objectName = member name) ---------------------------------
    QFrame *GroupBoxStep1, *GroupBoxStep2, *GroupBoxStep3, *GroupBoxStep4;
    QLabel *LabelStep1, *LabelStep2, *LabelStep3, *LabelStep4;
    QPushButton *ButtonImportImage;
    QSlider *TrackBarFade;
    TRightEdit *RightEditXMin, *RightEditXMax, *RightEditYMin, *RightEditYMax;
    QComboBox *ComboBoxXUnits, *ComboBoxYUnits;
    QPushButton *ButtonSelectXAxis, *ButtonSelectYAxis;
    QPushButton *ButtonSelectPoints, *ButtonClearPoints, *ButtonSaveData, *ButtonCancel;
    TRightEdit *RightEditSpeed, *RightEditDiameter;
    QComboBox *ComboBoxDiameterUnits;
    QCheckBox *CheckBoxSaveImage;
    TImageBox *ImagePumpSheet;
    QFrame *PanelAdditionalData;
    TRightEdit *RightEditEffic, *RightEditNPSHr;
    QLabel *LabelNPSHrUnit;
    QPushButton *ButtonSaveAndClose, *ButtonCloseAdditionalData;
    QFrame *PanelNote;
    QLabel *LabelNote;
    QPushButton *ButtonNoteOk;
    QFrame *PanelPoints;
    QComboBox *ComboBoxDataType;
    QTableWidget *StringGridPoints;
    std::array<QPushButton *, MaxPumpSheetPoints + 1> ButtonDelete{};
    QPushButton *ButtonDockLeft, *ButtonDockRight;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void connectAll();
    void setPointControlsEnabled(bool enabled);
    void setAxisFrame(QFrame *frame);
    void writeGridTitle();
    void writeGridRows();
    void gridCellEdited(QTableWidgetItem *item);
    void scaleBoxEdited(TRightEdit *box, double &value);
    void speedEdited();
    void diameterEdited();
    void efficEdited();
    void npshrEdited();
    void yUnitListChanged(int index);
    void openAdditionalData(QPoint At);
    void closeAdditionalData();
    void showNote();
    QPoint pictureOrigin() const;

    int filling_ = 0;
    QPoint rubberEnd_;
    bool rubberOn_ = false;
};

} // namespace tessaran
