#pragma once
// The gas data calculator: a gas's density, compressibility, viscosity and
// specific heat ratio at a temperature and gauge pressure, interpolated from
// the gas's property table (a ".trzgp" file in "FluidTables").

#include <array>
#include <string>
#include <vector>

#include <QDialog>

#include "model/Fluid_Class.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaran {

class TRightEdit;

// One row of a gas property table.
struct TGasDataRow {
    double Temperature_C = 0;
    double Pressure_bar_g = 0;
    double Density_kgs_m3 = 0;
    double Z = 1.0;
    double Viscosity_cP = 0;
    double SpecificHeatRatio = 0;
};

// The interpolated properties of one point of a table.
struct TGasDataResult {
    double Density_kgs_m3 = 0;
    double Z = 1.0;
    double Viscosity_cP = 0;
    double SpecificHeatRatio = 0;
};

class TFormGasDataCalc : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxGasDataRows = 5000;
    static constexpr const char *GasTableExtension = ".trzgp";

    explicit TFormGasDataCalc(QWidget *parent = nullptr);

    void OpenForm(TFluid &TheFluid, bool &SaveToCurrentFluid, bool &SaveToFluidDatabase, bool Metric);

    // The folder that holds "FluidTables", with a trailing "/".
    std::string ProgramFolder;

    // The table's files, read into the lists; failures are reported.
    void LoadGasDataNamesFromFiles(const std::string &extension);
    // Reads a table into the calculator's table; failures are reported and
    // leave it empty.
    void LoadFromText_GasDataArray(const std::string &path);
    void CalculateGasDataAndPopulateFields();
    void ClearCalculatedFormValues();

    // The table in memory, rows numbered from 1 (element 0 unused).
    std::vector<TGasDataRow> GasDataArray;
    int GasDataCount = 0;

    // The four corner rows around (t, p), 0 for a corner not found.
    std::array<int, 4> FindCornerRows(double t, double p) const;
    TGasDataResult CalculateAverageOfFourRows(const std::array<int, 4> &corners, double t, double p) const;

    QComboBox *ComboBoxGasName;
    QComboBox *ComboBoxGasFormula;
    QComboBox *ComboBoxFilenames;
    TRightEdit *EditTemperature;
    QComboBox *ComboBoxTemperatureUnits;
    TRightEdit *EditPressure;
    QComboBox *ComboBoxPressureUnits;
    QPushButton *CalculateGasDataBitBtn;
    QLineEdit *EditDensity;
    QComboBox *ComboBoxDensityUnits;
    QLabel *LabelDensity;
    QLabel *LabelCompressibilityFactor;
    QLabel *LabelZ;
    QLabel *LabelRealDensity;
    QCheckBox *CheckBoxUseRealDensity;
    QPushButton *BitBtnHelp;
    QLineEdit *EditViscosity;
    QLabel *LabelViscosity;
    QLabel *LabelViscosityUnits;
    QLineEdit *EditSpecificHeatRatio;
    QLabel *LabelSpecificHeatRatio;
    QPushButton *SaveAsCurrentFluidBitBtn;
    QPushButton *SaveToFluidDatabaseBitBtn;
    QPushButton *CancelBitBtn;

private:
    void inputsChanged();
    void recalculateWhenFilled();
    void calculateChosenGas();
    void clearTable();

    TFluid calculatedFluid_;
    // The save buttons offer only a result of the inputs now shown.
    bool calculationShown_ = false;
    bool saveToCurrentFluid_ = false;
    bool saveToFluidDatabase_ = false;
    int gasIndex_ = 0;
    struct TUnitChoice {
        int Temperature, Pressure, Density;
    };
    TUnitChoice imperialUnits_{0, 0, 0};
    TUnitChoice metricUnits_{1, 1, 1};
};

} // namespace tessaran
