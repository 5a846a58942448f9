#pragma once
// The specific gravity helper: a gas's density by the ideal gas law from its
// specific gravity relative to dry air, at a temperature and gauge pressure.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaran {

class TRightEdit;

class TFormSpecificGravity : public QDialog {
    Q_OBJECT
public:
    // Dry air at 293.15 K and 0 bar g, kg/m³.
    static constexpr double DryAirDensity_kgs_m3 = 1.205;

    explicit TFormSpecificGravity(QWidget *parent = nullptr);

    void OpenFormSpecificGravity(bool ForLiquid, bool Metric, double &TheTemperature_degrees_K,
                                 double &ThePressure_bar_g, double &TheDensity_kgs_m3, bool &SaveData);

    QPlainTextEdit *MemoInformation;
    TRightEdit *EditSpecificGravity;
    TRightEdit *EditTemperature;
    TRightEdit *EditPressure;
    QLabel *LabelTemperatureUnits;
    QLabel *LabelPressureUnits;
    QPushButton *BitBtnCalcDensity;
    TRightEdit *EditDensity;
    QLabel *LabelDensityUnits;
    QLabel *LabelNote;
    QPushButton *CloseWindowBitBtn;
    QPushButton *CancelBitBtn;
    QPlainTextEdit *MemoLiquid;
    QPlainTextEdit *MemoGas;

    void BitBtnCalcDensityClick();

private:
    // The three entries, false when one does not read.
    bool readEntries(double &specificGravity, double &temperature_K, double &pressure_bar_g) const;

    bool forLiquid_ = false;
    bool metric_ = true;
    bool saveData_ = false;
};

} // namespace tessaran
