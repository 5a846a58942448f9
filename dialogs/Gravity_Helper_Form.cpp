#include "dialogs/Gravity_Helper_Form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/Dialog_Look.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr double Atmosphere_bar_a = 1.01325;
constexpr double ReferenceTemperature_K = 293.15;

const QString ValidValuesNeeded =
    QStringLiteral("Valid values must be provided for Specific Gravity, Temperature, Pressure.");

const QStringList LiquidAdvice = {
    "",
    "When using the NON-COMPRESSIBLE Flow Balance calculation engine for liquid systems (or gas systems):",
    "",
    "  1. Fluid Density should be defined at the temperature of the fluid within the system (calculations assume "
    "isothermal flow with no change in temperature).",
    "  2. For Liquids, Fluid Density can be defined at 0 bar g (atmospheric pressure) since density is assumed to "
    "be constant even with changes in pressure. ",
    "  3. For Gases, Fluid Density must be defined at the average pressure conditions within the fluid zone."};

const QStringList GasAdvice = {
    "",
    "When using the COMPRESSIBLE Node Balance calculation engine (recommended for gas systems):",
    "",
    "  1. Fluid Density should be defined and stored based on the Ideal Gas Law calculation (as provided by this "
    "helper).",
    "  2. Fluid Density should be defined at the temperature of the fluid within the system (calculations assume "
    "isothermal flow with no change in temperature).",
    "  3. Fluid Density can be defined at 0 bar g (atmospheric pressure) and the software will automatically "
    "handle density calculations with changing pressures. ",
    "  4. If required, a gas Compressibility Factor Z can be specified on the Config Options Calculations Tab."};

void SetMemoColour(QPlainTextEdit *memo, const QColor &colour)
{
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, colour);
    memo->setPalette(palette);
}

} // namespace

TFormSpecificGravity::TFormSpecificGravity(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSpecificGravity"));
    setWindowTitle(QStringLiteral("Specific Gravity Helper"));
    MemoInformation = Named<QPlainTextEdit>("MemoInformation", this);
    EditSpecificGravity = Named<TRightEdit>("EditSpecificGravity", this);
    EditTemperature = Named<TRightEdit>("EditTemperature", this);
    EditPressure = Named<TRightEdit>("EditPressure", this);
    LabelTemperatureUnits = Named<QLabel>("LabelTemperatureUnits", this);
    LabelPressureUnits = Named<QLabel>("LabelPressureUnits", this);
    BitBtnCalcDensity = Named<QPushButton>("BitBtnCalcDensity", QStringLiteral("Calculate Density"), this);
    EditDensity = Named<TRightEdit>("EditDensity", this);
    LabelDensityUnits = Named<QLabel>("LabelDensityUnits", this);
    LabelNote = Named<QLabel>("LabelNote", QStringLiteral("Note: Viscosity is not calculated."), this);
    LabelNote->setStyleSheet(QStringLiteral("color: grey"));
    CloseWindowBitBtn = Named<QPushButton>("CloseWindowBitBtn", QStringLiteral("Save"), this);
    CancelBitBtn = Named<QPushButton>("CancelBitBtn", QStringLiteral("Cancel"), this);
    MemoLiquid = Named<QPlainTextEdit>("MemoLiquid", this);
    MemoGas = Named<QPlainTextEdit>("MemoGas", this);
    MemoLiquid->setPlainText(LiquidAdvice.join('\n'));
    MemoGas->setPlainText(GasAdvice.join('\n'));
    for (QPlainTextEdit *memo : {MemoInformation, MemoLiquid, MemoGas})
        memo->setReadOnly(true);
    EditDensity->setReadOnly(true);
    for (QPushButton *button : {BitBtnCalcDensity, CloseWindowBitBtn, CancelBitBtn})
        button->setAutoDefault(false);

    // Every accepted key empties the density: it no longer belongs to the
    // entries.
    auto filter = [this](int preDecimals, int postDecimals) {
        return [this, preDecimals, postDecimals](TRightEdit *sender, char16_t &key) {
            if (FilterRealKey(sender, key, false, preDecimals, postDecimals))
                EditDensity->clear();
        };
    };
    EditTemperature->OnKeyPress = filter(6, 3);
    EditPressure->OnKeyPress = filter(6, 6);
    EditSpecificGravity->OnKeyPress = filter(6, 6);
    for (TRightEdit *box : {EditSpecificGravity, EditTemperature, EditPressure})
        SelectAllOnEntry(box);

    connect(BitBtnCalcDensity, &QPushButton::clicked, this, [this] { BitBtnCalcDensityClick(); });
    connect(CloseWindowBitBtn, &QPushButton::clicked, this, [this] {
        double specificGravity = 0, temperature = 0, pressure = 0;
        if (!readEntries(specificGravity, temperature, pressure)) {
            Dialogs().ShowMessage(TDialogKind::Warning, ValidValuesNeeded, this);
            return;
        }
        saveData_ = true;
        accept();
    });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] {
        saveData_ = false;
        reject();
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(MemoInformation, 0, 0, 1, 9);
    grid->addWidget(new QLabel(QStringLiteral("Specific Gravity"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Temperature"), this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Pressure"), this), 1, 5);
    grid->addWidget(EditSpecificGravity, 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("at"), this), 2, 1);
    grid->addWidget(EditTemperature, 2, 2);
    grid->addWidget(LabelTemperatureUnits, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("at"), this), 2, 4);
    grid->addWidget(EditPressure, 2, 5);
    grid->addWidget(LabelPressureUnits, 2, 6);
    grid->addWidget(BitBtnCalcDensity, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("="), this), 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Density"), this), 3, 2);
    grid->addWidget(EditDensity, 3, 3, 1, 2);
    grid->addWidget(LabelDensityUnits, 3, 5);
    grid->addWidget(LabelNote, 4, 0, 1, 9);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CloseWindowBitBtn);
    buttons->addWidget(CancelBitBtn);
    grid->addLayout(buttons, 5, 0, 1, 9);
    grid->addWidget(MemoLiquid, 6, 0, 1, 9);
    grid->addWidget(MemoGas, 6, 0, 1, 9);
}

void TFormSpecificGravity::OpenFormSpecificGravity(bool ForLiquid, bool Metric, double &TheTemperature_degrees_K,
                                                   double &ThePressure_bar_g, double &TheDensity_kgs_m3, bool &SaveData)
{
    saveData_ = false;
    forLiquid_ = ForLiquid;
    metric_ = Metric;
    PaintDialogBackground(this);
    SetMemoColour(MemoInformation, QColor(255, 255, 225));
    SetMemoColour(MemoGas, QColor(255, 255, 225));
    MemoInformation->setPlainText(
        QStringList{" ",
                    ForLiquid ? "Specific Gravity refers to the Relative Density of the Liquid when compared to Water"
                              : "Specific Gravity refers to the Relative Density of the Gas when compared to Dry Air",
                    "at a temperature of 20°C and at a pressure of 101.325 kPa (1 Atmosphere)", " "}
            .join('\n'));
    MemoLiquid->setVisible(ForLiquid);
    MemoGas->setVisible(!ForLiquid);
    const TUnit temperatureUnit = Metric ? unt_degrees_C : unt_degrees_F;
    const TUnit pressureUnit = Metric ? unt_Bar_G : unt_Psi_G;
    const TUnit densityUnit = Metric ? unt_kg_m3 : unt_lb_ft3;
    LabelTemperatureUnits->setText(q(unitName(temperatureUnit)));
    LabelPressureUnits->setText(q(unitName(pressureUnit)));
    LabelDensityUnits->setText(q(unitName(densityUnit)));
    EditTemperature->setText(q(formatFixed(3, convertUnit(unt_degrees_K, temperatureUnit, TheTemperature_degrees_K))));
    EditPressure->setText(q(formatFixed(6, convertUnit(unt_Bar_G, pressureUnit, ThePressure_bar_g))));
    EditDensity->clear();
    TheDensity_kgs_m3 = 0;

    exec();

    bool valid = false;
    const double temperature = ReadRealFromEdit(EditTemperature, valid, true, true);
    if (valid)
        TheTemperature_degrees_K = convertUnit(temperatureUnit, unt_degrees_K, temperature);
    const double pressure = ReadRealFromEdit(EditPressure, valid, true, true);
    if (valid)
        ThePressure_bar_g = convertUnit(pressureUnit, unt_Bar_G, pressure);
    TheDensity_kgs_m3 = 0;
    const double density = ReadRealFromEdit(EditDensity, valid, true, false);
    if (valid)
        TheDensity_kgs_m3 = convertUnit(densityUnit, unt_kg_m3, density);
    SaveData = saveData_;
}

bool TFormSpecificGravity::readEntries(double &specificGravity, double &temperature_K, double &pressure_bar_g) const
{
    bool gravityValid = false, temperatureValid = false, pressureValid = false;
    specificGravity = ReadRealFromEdit(EditSpecificGravity, gravityValid, false, false);
    const double temperature = ReadRealFromEdit(EditTemperature, temperatureValid, true, true);
    const double pressure = ReadRealFromEdit(EditPressure, pressureValid, true, true);
    if (!gravityValid || !temperatureValid || !pressureValid)
        return false;
    temperature_K = convertUnit(metric_ ? unt_degrees_C : unt_degrees_F, unt_degrees_K, temperature);
    pressure_bar_g = convertUnit(metric_ ? unt_Bar_G : unt_Psi_G, unt_Bar_G, pressure);
    return true;
}

void TFormSpecificGravity::BitBtnCalcDensityClick()
{
    double specificGravity = 0, temperature_K = 0, pressure_bar_g = 0;
    if (!readEntries(specificGravity, temperature_K, pressure_bar_g)) {
        Dialogs().ShowMessage(TDialogKind::Warning, ValidValuesNeeded, this);
        return;
    }
    if (forLiquid_) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Specific Gravity helper not currently available for liquids."), this);
        return;
    }
    const double reference = specificGravity * DryAirDensity_kgs_m3;
    const double density =
        calcGasDensity(reference, 0.0, ReferenceTemperature_K, Atmosphere_bar_a, pressure_bar_g, temperature_K);
    EditDensity->setText(q(formatFixed(6, convertUnit(unt_kg_m3, metric_ ? unt_kg_m3 : unt_lb_ft3, density))));
}

} // namespace tessaran
