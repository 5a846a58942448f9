#include "dialogs/GasDataCalc_Form.h"

#include <algorithm>
#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/Dialog_Look.h"
#include "platform/TextFile.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Gas_Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr double Atmosphere_bar_a = 1.01325;
constexpr double ZeroCelsius_K = 273.15;
constexpr TUnit TemperatureUnits[3] = {unt_degrees_F, unt_degrees_C, unt_degrees_K};
constexpr TUnit PressureUnits[3] = {unt_Psi_G, unt_Bar_G, unt_kPa_G};
constexpr TUnit DensityUnits[2] = {unt_lb_ft3, unt_kg_m3};

const QString CannotCalculateChangeOfState = QStringLiteral(
    "Cannot calculate gas data for the given temperature and pressure condition.\r\rThe values specified may be "
    "outside of the range of conditions for which the software can calculate the gas properties (this includes "
    "conditions at which the gas approaches a change of state or conditions where the gas has already changed "
    "state)\r\rPlease check appropriate values have been entered in the correct units and try again.");
const QString CannotCalculateOutside = QStringLiteral(
    "Cannot calculate gas data for the given temperature and pressure condition.\r\rThe values specified may be "
    "outside of the range of conditions for which the software can calculate the gas properties.\r\rPlease check "
    "appropriate values have been entered in the correct units and try again.");
const QString CalculationException = QStringLiteral(
    "Exception occured. Cannot calculate gas data. Please check appropriate values have been entered and try "
    "again.");
const QString HelpText = QStringLiteral(
    "When defining gas data for use within Tessaran the following applies: \r\r1. When using the Compressible "
    "Calculation Engine:\r\rCalculation of density at pressures other than the defined pressure condition will:\r"
    "  a) calculate a new density using the ideal gas law\r  b) calculate and adjust this density using any "
    "specified Z compressibility factor\r\r\r2. When using the Non-Compressible Calculation Engine (Not "
    "Recommended):\r\rDensity will not be recalculated at other pressure conditions.\rNon-Compressible "
    "calculations assume a constant density:\r  a) this is valid for low velocity, low pressure, gas systems\r"
    "  b) fluid zones can be used to adjust gas properties within the system\r\r\rTherefore when using the "
    "Compressible Calculation Engine (recommended):\r\r1. Define the gas density based on the ideal gas law\r"
    "   and specify any required Z compressibility factor separately\r   on the Config Options -> Calculations "
    "Tab\r   OR\r2. Define the real gas density and specify compressibility Z = 1.0\r   on the Config Options -> "
    "Calculations Tab\r\rGas properties (density, viscosity, specific heat ratio) should be defined at the "
    "required temperature conditions since the software assumes isothermal flow with a consistent temperature."
    "\r\rIt is common to specify gas proerties at 0 bar g pressure conditions \r(atmospheric pressure conditions) "
    "since changes in density with changes in pressure\rwill automatically be calculated and accounted for.\r\r"
    "Viscosity varies mainly with changes in temperature and varies much less with changes\rin pressure (often no "
    "significant change unless under high pressures above 35 bar g).\rFor high pressure systems the gas "
    "properties can be defined at a pressurised condition.\r\r ");

// Digits, "-" and the locale's separator only.
bool HoldsNumber(const QString &text)
{
    return !text.isEmpty() && IsRealText(text.toStdString(), static_cast<char>(LocaleDecimalSeparator()));
}

// A unit list the user picks from and never types into.
class TUnitList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }
};

QStringList UnitNames(std::initializer_list<TUnit> units)
{
    QStringList names;
    for (TUnit unit : units)
        names << q(unitName(unit));
    return names;
}

} // namespace

TFormGasDataCalc::TFormGasDataCalc(QWidget *parent) : QDialog(parent), GasDataArray(MaxGasDataRows + 1)
{
    setObjectName(QStringLiteral("FormGasDataCalc"));
    setWindowTitle(QStringLiteral("Gas Data Calculator"));
    ProgramFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString() + "/";

    ComboBoxGasName = Named<QComboBox>("ComboBoxGasName", this);
    ComboBoxGasFormula = Named<QComboBox>("ComboBoxGasFormula", this);
    ComboBoxFilenames = Named<QComboBox>("ComboBoxFilenames", this);
    ComboBoxGasFormula->hide();
    ComboBoxFilenames->hide();
    EditTemperature = Named<TRightEdit>("EditTemperature", this);
    ComboBoxTemperatureUnits = Named<TUnitList>("ComboBoxTemperatureUnits", this);
    ComboBoxTemperatureUnits->addItems(UnitNames({unt_degrees_F, unt_degrees_C, unt_degrees_K}));
    EditPressure = Named<TRightEdit>("EditPressure", this);
    ComboBoxPressureUnits = Named<TUnitList>("ComboBoxPressureUnits", this);
    ComboBoxPressureUnits->addItems(UnitNames({unt_Psi_G, unt_Bar_G, unt_kPa_G}));
    CalculateGasDataBitBtn = Named<QPushButton>("CalculateGasDataBitBtn", QStringLiteral("Calculate Gas Data"), this);
    EditDensity = Named<QLineEdit>("EditDensity", this);
    ComboBoxDensityUnits = Named<TUnitList>("ComboBoxDensityUnits", this);
    ComboBoxDensityUnits->addItems(UnitNames({unt_lb_ft3, unt_kg_m3}));
    LabelDensity = Named<QLabel>("LabelDensity", QStringLiteral("Density (from Ideal Gas Law)"), this);
    LabelCompressibilityFactor =
        Named<QLabel>("LabelCompressibilityFactor", QStringLiteral("Compressibility Factor"), this);
    LabelZ = Named<QLabel>("LabelZ", this);
    LabelRealDensity = Named<QLabel>("LabelRealDensity", this);
    CheckBoxUseRealDensity = Named<QCheckBox>("CheckBoxUseRealDensity", QStringLiteral("Use Real Density"), this);
    BitBtnHelp = Named<QPushButton>("BitBtnHelp", QStringLiteral("?"), this);
    EditViscosity = Named<QLineEdit>("EditViscosity", this);
    LabelViscosity = Named<QLabel>("LabelViscosity", QStringLiteral("Viscosity"), this);
    LabelViscosityUnits = Named<QLabel>("LabelViscosityUnits", QStringLiteral("Centipoise"), this);
    EditSpecificHeatRatio = Named<QLineEdit>("EditSpecificHeatRatio", this);
    LabelSpecificHeatRatio = Named<QLabel>("LabelSpecificHeatRatio", QStringLiteral("Specific Heat Ratio"), this);
    SaveAsCurrentFluidBitBtn =
        Named<QPushButton>("SaveAsCurrentFluidBitBtn", QStringLiteral("Save As Current Fluid"), this);
    SaveToFluidDatabaseBitBtn =
        Named<QPushButton>("SaveToFluidDatabaseBitBtn", QStringLiteral("Save To Fluid Database"), this);
    CancelBitBtn = Named<QPushButton>("CancelBitBtn", QStringLiteral("Cancel - Do Not Save"), this);
    for (QLineEdit *box : {EditDensity, EditViscosity, EditSpecificHeatRatio})
        box->setReadOnly(true);
    for (QPushButton *button :
         {CalculateGasDataBitBtn, BitBtnHelp, SaveAsCurrentFluidBitBtn, SaveToFluidDatabaseBitBtn, CancelBitBtn})
        button->setAutoDefault(false);

    for (TRightEdit *box : {EditTemperature, EditPressure}) {
        SelectAllOnEntry(box);
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 6, 6); };
        connect(box, &QLineEdit::textChanged, this, [this] { inputsChanged(); });
    }
    connect(ComboBoxGasName, &QComboBox::currentIndexChanged, this, [this] { inputsChanged(); });
    connect(ComboBoxTemperatureUnits, &QComboBox::currentIndexChanged, this, [this] { inputsChanged(); });
    connect(ComboBoxPressureUnits, &QComboBox::currentIndexChanged, this, [this] { inputsChanged(); });
    connect(ComboBoxDensityUnits, &QComboBox::currentIndexChanged, this, [this] { recalculateWhenFilled(); });
    connect(CheckBoxUseRealDensity, &QCheckBox::clicked, this, [this] { recalculateWhenFilled(); });
    connect(CalculateGasDataBitBtn, &QPushButton::clicked, this, [this] { calculateChosenGas(); });
    connect(BitBtnHelp, &QPushButton::clicked, this,
            [this] { Dialogs().ShowMessage(TDialogKind::Information, HelpText, this); });
    connect(SaveAsCurrentFluidBitBtn, &QPushButton::clicked, this, [this] {
        saveToCurrentFluid_ = true;
        accept();
    });
    connect(SaveToFluidDatabaseBitBtn, &QPushButton::clicked, this, [this] {
        saveToFluidDatabase_ = true;
        accept();
    });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] { reject(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Gas"), this), 0, 0);
    grid->addWidget(ComboBoxGasName, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Temperature"), this), 1, 0);
    grid->addWidget(EditTemperature, 1, 1);
    grid->addWidget(ComboBoxTemperatureUnits, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Pressure"), this), 2, 0);
    grid->addWidget(EditPressure, 2, 1);
    grid->addWidget(ComboBoxPressureUnits, 2, 2);
    grid->addWidget(CalculateGasDataBitBtn, 3, 1, 1, 2);
    grid->addWidget(LabelDensity, 4, 0);
    grid->addWidget(EditDensity, 4, 1);
    grid->addWidget(ComboBoxDensityUnits, 4, 2);
    grid->addWidget(LabelCompressibilityFactor, 5, 0);
    grid->addWidget(LabelZ, 5, 1);
    grid->addWidget(LabelRealDensity, 5, 2);
    grid->addWidget(CheckBoxUseRealDensity, 6, 1);
    grid->addWidget(BitBtnHelp, 6, 2);
    grid->addWidget(LabelViscosity, 7, 0);
    grid->addWidget(EditViscosity, 7, 1);
    grid->addWidget(LabelViscosityUnits, 7, 2);
    grid->addWidget(LabelSpecificHeatRatio, 8, 0);
    grid->addWidget(EditSpecificHeatRatio, 8, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SaveAsCurrentFluidBitBtn);
    buttons->addWidget(SaveToFluidDatabaseBitBtn);
    buttons->addWidget(CancelBitBtn);
    grid->addLayout(buttons, 9, 0, 1, 3);
    ClearCalculatedFormValues();
}

void TFormGasDataCalc::OpenForm(TFluid &TheFluid, bool &SaveToCurrentFluid, bool &SaveToFluidDatabase, bool Metric)
{
    try {
        PaintDialogBackground(this);
        saveToCurrentFluid_ = false;
        saveToFluidDatabase_ = false;
        LoadGasDataNamesFromFiles(GasTableExtension);
        if (gasIndex_ >= 0 && gasIndex_ < ComboBoxGasName->count())
            ComboBoxGasName->setCurrentIndex(gasIndex_);
        const TUnitChoice &units = Metric ? metricUnits_ : imperialUnits_;
        ComboBoxTemperatureUnits->setCurrentIndex(units.Temperature);
        ComboBoxPressureUnits->setCurrentIndex(units.Pressure);
        ComboBoxDensityUnits->setCurrentIndex(units.Density);
        if (!HoldsNumber(EditTemperature->text()))
            EditTemperature->setText(QStringLiteral("20.0"));
        if (!HoldsNumber(EditPressure->text()))
            EditPressure->setText(QStringLiteral("0.0"));
        ClearCalculatedFormValues();
        exec();
        gasIndex_ = std::max(0, ComboBoxGasName->currentIndex());
        TUnitChoice &kept = Metric ? metricUnits_ : imperialUnits_;
        kept = {ComboBoxTemperatureUnits->currentIndex(), ComboBoxPressureUnits->currentIndex(),
                ComboBoxDensityUnits->currentIndex()};
        SaveToCurrentFluid = saveToCurrentFluid_;
        SaveToFluidDatabase = saveToFluidDatabase_;
        if (saveToCurrentFluid_ || saveToFluidDatabase_)
            TheFluid.CopyFluid(calculatedFluid_);
    } catch (const std::exception &) {
        // An opening that fails leaves the caller's flags as they were.
    }
}

void TFormGasDataCalc::LoadGasDataNamesFromFiles(const std::string &extension)
{
    const QSignalBlocker block(ComboBoxGasName);
    ComboBoxGasName->clear();
    ComboBoxGasFormula->clear();
    ComboBoxFilenames->clear();
    const QDir folder(q(ProgramFolder + "FluidTables"));
    // Sorted by name, so the list reads the same on every system.
    const QStringList files =
        folder.entryList({QStringLiteral("*") + q(extension)}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &file : files) {
        std::ifstream stream(folder.filePath(file).toStdString(), std::ios::binary);
        if (!stream) {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("Cannot find/read gas data files with extension: ") + q(extension),
                                  this);
            return;
        }
        // Header: a field the program does not use, the name and the formula.
        std::string header = ReadTextLine(stream);
        std::vector<std::string> fields;
        for (int i = 0; i < 3; ++i) {
            const std::size_t at = header.find("~|~");
            fields.push_back(header.substr(0, at));
            header = at == std::string::npos ? std::string() : header.substr(at + 3);
        }
        ComboBoxGasName->addItem(q(fields[1]));
        ComboBoxGasFormula->addItem(q(fields[2]));
        ComboBoxFilenames->addItem(file);
    }
}

void TFormGasDataCalc::clearTable()
{
    std::fill(GasDataArray.begin(), GasDataArray.end(), TGasDataRow{});
    GasDataCount = 0;
}

void TFormGasDataCalc::LoadFromText_GasDataArray(const std::string &path)
{
    clearTable();
    std::ifstream stream(path, std::ios::binary);
    if (!stream || !QFileInfo(q(path)).isFile()) {
        Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("Cannot load/read gas data file: ") + q(path), this);
        return;
    }
    ReadTextLine(stream);
    const char separator = userDecimalSeparator();
    int count = 0;
    while (HasAnotherTextLine(stream) && count < MaxGasDataRows) {
        std::string line = ReadTextLine(stream);
        double values[6];
        for (double &value : values) {
            const std::size_t at = line.find("~|~");
            std::string field = line.substr(0, at);
            line = at == std::string::npos ? std::string() : line.substr(at + 3);
            NormaliseDecimalSeparator(field, separator);
            bool valid = false;
            value = ReadRealFromString(field, valid, true, true, separator);
        }
        GasDataArray[++count] = {values[0], values[1], values[2], values[3], values[4], values[5]};
    }
    GasDataCount = count;
    if (HasAnotherTextLine(stream)) {
        const QString limit = QString::number(MaxGasDataRows);
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Gas data file: ") + q(path) + "\r\r" + "Contains more than " + limit +
                                  " rows." + "\r\r" + "Loaded first " + limit + " data points." + "\r\r" +
                                  "Any data outside of these points cannot be used for calculations.",
                              this);
    }
}

std::array<int, 4> TFormGasDataCalc::FindCornerRows(double t, double p) const
{
    struct TSearch {
        bool belowT, belowP; // the quadrant: T <= t (else >=), P <= p (else >=)
        double T, P;         // the candidate
        int Row = 0;
    };
    std::array<TSearch, 4> searches{
        {{true, true, -1e8, -1e8}, {true, false, -1e8, 1e9}, {false, true, 1e10, -1e8}, {false, false, 1e10, 1e9}}};
    for (int i = 1; i <= GasDataCount; ++i) {
        const TGasDataRow &row = GasDataArray[i];
        for (TSearch &s : searches) {
            const bool inQuadrant = (s.belowT ? row.Temperature_C <= t : row.Temperature_C >= t) &&
                                    (s.belowP ? row.Pressure_bar_g <= p : row.Pressure_bar_g >= p);
            const bool closer = (s.belowT ? row.Temperature_C >= s.T : row.Temperature_C <= s.T) &&
                                (s.belowP ? row.Pressure_bar_g >= s.P : row.Pressure_bar_g <= s.P);
            if (inQuadrant && closer) {
                s.T = row.Temperature_C;
                s.P = row.Pressure_bar_g;
                s.Row = i;
            }
        }
    }
    return {searches[0].Row, searches[1].Row, searches[2].Row, searches[3].Row};
}

TGasDataResult TFormGasDataCalc::CalculateAverageOfFourRows(const std::array<int, 4> &corners, double t, double p) const
{
    for (int corner : corners)
        if (corner < 1 || corner > GasDataCount)
            return {0.0, 1.0, 0.0, 0.0};
    const TGasDataRow &r1 = GasDataArray[corners[0]];
    const TGasDataRow &r2 = GasDataArray[corners[1]];
    const TGasDataRow &r3 = GasDataArray[corners[2]];
    const TGasDataRow &r4 = GasDataArray[corners[3]];
    const double dP = (r4.Pressure_bar_g + r2.Pressure_bar_g) / 2 - (r3.Pressure_bar_g + r1.Pressure_bar_g) / 2;
    auto interpolate = [&](double TGasDataRow::*field) {
        const double a =
            r3.Temperature_C == r1.Temperature_C
                ? r1.*field
                : r1.*field + (t - r1.Temperature_C) / (r3.Temperature_C - r1.Temperature_C) * (r3.*field - r1.*field);
        const double b =
            r4.Temperature_C == r2.Temperature_C
                ? r2.*field
                : r2.*field + (t - r2.Temperature_C) / (r4.Temperature_C - r2.Temperature_C) * (r4.*field - r2.*field);
        return dP == 0 ? (a + b) / 2 : a + (p - r1.Pressure_bar_g) / dP * (b - a);
    };
    return {interpolate(&TGasDataRow::Density_kgs_m3), interpolate(&TGasDataRow::Z),
            interpolate(&TGasDataRow::Viscosity_cP), interpolate(&TGasDataRow::SpecificHeatRatio)};
}

void TFormGasDataCalc::CalculateGasDataAndPopulateFields()
{
    try {
        bool valid = false;
        const double temperature = ReadRealFromEdit(EditTemperature, valid, true, true);
        const double pressure = ReadRealFromEdit(EditPressure, valid, true, true);
        const int temperatureUnit = std::clamp(ComboBoxTemperatureUnits->currentIndex(), 0, 2);
        const int pressureUnit = std::clamp(ComboBoxPressureUnits->currentIndex(), 0, 2);
        const TUnit densityUnit = DensityUnits[std::clamp(ComboBoxDensityUnits->currentIndex(), 0, 1)];
        const double t = convertUnit(TemperatureUnits[temperatureUnit], unt_degrees_C, temperature);
        const double T = convertUnit(TemperatureUnits[temperatureUnit], unt_degrees_K, temperature);
        const double p = convertUnit(PressureUnits[pressureUnit], unt_Bar_G, pressure);

        const std::array<int, 4> corners = FindCornerRows(t, p);
        // A point outside the table has a corner without a row: there is
        // nothing to test or interpolate.
        const bool allFound = std::all_of(corners.begin(), corners.end(), [](int row) { return row > 0; });
        if (allFound)
            for (int corner : corners)
                if (GasDataArray[corner].Z < 0.6) {
                    Dialogs().ShowMessage(TDialogKind::Information, CannotCalculateChangeOfState, this);
                    return;
                }
        const TGasDataResult result = CalculateAverageOfFourRows(corners, t, p);
        double density = result.Density_kgs_m3;
        for (int i = 1; i <= GasDataCount; ++i)
            if (GasDataArray[i].Temperature_C == 0 && GasDataArray[i].Pressure_bar_g == 0)
                density = calcGasDensity(GasDataArray[i].Density_kgs_m3, 0.0, ZeroCelsius_K, Atmosphere_bar_a, p, T);

        const QSignalBlocker block(this);
        const double shownDensity = convertUnit(unt_kg_m3, densityUnit, density);
        EditDensity->setText(q(formatFixed(6, shownDensity)));
        LabelDensity->setText(QStringLiteral("Density (from Ideal Gas Law)"));
        LabelZ->setText(QStringLiteral("Z = ") + q(formatFixed(6, result.Z)));
        LabelRealDensity->clear();
        double realDensity = 0;
        if (result.Z != 0) {
            realDensity = density / result.Z;
            const double shownReal = convertUnit(unt_kg_m3, densityUnit, realDensity);
            LabelRealDensity->setText(QStringLiteral("Real Density = ") + q(formatFixed(6, shownReal)) + " " +
                                      q(unitName(densityUnit)));
            if (CheckBoxUseRealDensity->isChecked()) {
                EditDensity->setText(q(formatFixed(6, shownReal)));
                LabelDensity->setText(QStringLiteral("Density (from Real Gas Law)"));
            }
        }
        EditViscosity->setText(q(formatFixed(6, result.Viscosity_cP)));
        EditSpecificHeatRatio->setText(q(formatFixed(6, result.SpecificHeatRatio)));

        if (!allFound || (result.Viscosity_cP == 0 && result.SpecificHeatRatio == 0)) {
            Dialogs().ShowMessage(TDialogKind::Information, CannotCalculateOutside, this);
            calculationShown_ = false;
            SaveAsCurrentFluidBitBtn->setEnabled(false);
            SaveToFluidDatabaseBitBtn->setEnabled(false);
            return;
        }
        TFluid fluid;
        const int index = ComboBoxGasName->currentIndex();
        fluid.name = CutToShortString(ComboBoxGasName->currentText().toStdString(), TFluid::NameLength);
        fluid.chemicalFormula =
            CutToShortString(index >= 0 ? ComboBoxGasFormula->itemText(index).toStdString() : std::string(),
                             TFluid::ChemicalFormulaLength);
        fluid.degrees_K = T;
        fluid.pressure_bar_g = p;
        fluid.centipoise = result.Viscosity_cP;
        fluid.centistokes = result.Viscosity_cP / density * 1000.0;
        fluid.density_kgs_m3 = CheckBoxUseRealDensity->isChecked() && realDensity > 0 ? realDensity : density;
        fluid.vapourPressure_bar_a = 0;
        fluid.specificHeatRatio = result.SpecificHeatRatio;
        fluid.FluidIsGas = true;
        fluid.compressedFlowFactor = 1.0;
        calculatedFluid_ = fluid;
        calculationShown_ = true;
        SaveAsCurrentFluidBitBtn->setEnabled(true);
        SaveToFluidDatabaseBitBtn->setEnabled(true);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning, CalculationException, this);
        ClearCalculatedFormValues();
    }
}

void TFormGasDataCalc::ClearCalculatedFormValues()
{
    EditDensity->clear();
    EditViscosity->clear();
    EditSpecificHeatRatio->clear();
    LabelZ->clear();
    LabelRealDensity->clear();
    // The save buttons come back with the next calculation of the inputs
    // shown.
    calculationShown_ = false;
    SaveAsCurrentFluidBitBtn->setEnabled(false);
    SaveToFluidDatabaseBitBtn->setEnabled(false);
}

void TFormGasDataCalc::inputsChanged() { ClearCalculatedFormValues(); }

void TFormGasDataCalc::calculateChosenGas()
{
    // The table is read again for every calculation.
    const int index = ComboBoxGasName->currentIndex();
    const QString file =
        index >= 0 && index < ComboBoxFilenames->count() ? ComboBoxFilenames->itemText(index) : QString();
    LoadFromText_GasDataArray(ProgramFolder + "FluidTables/" + file.toStdString());
    CalculateGasDataAndPopulateFields();
}

void TFormGasDataCalc::recalculateWhenFilled()
{
    if (HoldsNumber(EditTemperature->text()) && HoldsNumber(EditPressure->text()) &&
        ComboBoxGasName->currentIndex() >= 0)
        calculateChosenGas();
}

} // namespace tessaran
