// The pump editor's standalone pump files: saving the edited pump as a
// ".trpm" record and loading one back in its place.

#include "pumps/Pump_Data_Form.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QSaveFile>
#include <QToolButton>
#include <QPushButton>
#include <QAction>

#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Pump_Manager_Form.h"
#include "pumps/Pump_Manager_Save_Form.h"
#include "network/Network_Class.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

TFileDialogRequest PumpFileRequest(QWidget *parent, const QString &caption)
{
    TFileDialogRequest request;
    request.Caption = caption;
    request.Filter = QStringLiteral("Tessaran Pump (*.trpm)");
    request.DefaultSuffix = QStringLiteral("trpm");
    request.Parent = parent;
    return request;
}

} // namespace

void TPumpDataForm::SavePumpClick()
{
    // 1.
    if (resultsMode_) {
        Dialogs().ShowMessage(TDialogKind::Confirmation, QStringLiteral("Cannot save pump data when in Results Mode\r"),
                              this);
        return;
    }
    // 2.
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    TPump &p = EditedPump;
    const bool fixedType = p.PumpType != PumpFixedSpeed;
    if (!valid && !fixedType) {
        // 4.
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              message + QStringLiteral("\r\r") + QStringLiteral("The current pump data is not valid. ") +
                                  QStringLiteral("\r\r") +
                                  QStringLiteral("The pump cannot be saved to a file at this time.") +
                                  QStringLiteral("\r\r") + QStringLiteral("Please update the data entries and try again."),
                              this);
        return;
    }
    // 3.1
    if (p.isRunningOnBaseData()) {
        p.PumpPoints.SetHead_Stored_mH2O = ComboBoxPumpHeadUnits->currentIndex() > 3;
        UpdatePumpFromStringGrid(p, valid);
    }
    // 3.2
    p.CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();
    p.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(density_);
    if (!valid && !fixedType)
        return;
    // 3.3
    const std::optional<QString> name = Dialogs().SaveFileName(PumpFileRequest(this, QStringLiteral("Save Pump")));
    if (!name)
        return;
    if (QFileInfo::exists(*name) &&
        !Dialogs().AskYesNo(TDialogKind::Confirmation, QStringLiteral("File already exists. Do wish to overwrite? \r"),
                            this))
        return;
    // The record is made in memory and replaces the file only when all of it
    // has been written; a failure is reported and leaves any old file as it was.
    bool written = false;
    try {
        TMemoryStream stream;
        p.Save(stream, PumpCurrentFileVersion, density_, true);
        QSaveFile file(*name);
        if (file.open(QIODevice::WriteOnly)) {
            const auto &bytes = stream.Bytes();
            written = file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                          static_cast<qint64>(bytes.size()) &&
                      file.commit();
        }
    } catch (const std::exception &) {
        written = false;
    }
    if (!written)
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("The pump file could not be written.\r\r") + *name + QStringLiteral("\r"),
                              this);
}

void TPumpDataForm::LoadPumpClick()
{
    // 1.
    if (resultsMode_) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("Cannot load a new pump when in Results Mode\r"), this);
        return;
    }
    // 2.
    const std::optional<QString> name = Dialogs().OpenFileName(PumpFileRequest(this, QStringLiteral("Load Pump")));
    if (!name)
        return;
    // 3.
    PanelGraphOptions->hide();
    GroupBoxGraphOptionsMultipliers->hide();
    GroupBoxGraphOptionsEfficiency->hide();
    GroupBoxAdjustPumpGraphs->hide();
    // 4. The file is read into a scratch pump: the edited pump stays as it
    // is until a usable record has been read.
    TPump loaded;
    try {
        QFile file(*name);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot open");
        const QByteArray data = file.readAll();
        TMemoryStream stream(std::vector<std::uint8_t>(data.begin(), data.end()));
        loaded.Load(stream, PumpCurrentFileVersion, density_, true);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("There was an error loading the pump file.\r\rEither the specified file "
                                             "does not exist or it cannot be opened.\r"),
                              this);
        return;
    }
    // 5.
    const std::string version = loaded.PumpFileVersionString;
    if (version.empty() || version == "0") {
        Dialogs().ShowMessage(
            TDialogKind::Confirmation,
            QStringLiteral("The pump file does not contain any version information.\r\rIt was created by a copy of the "
                           "software prior to version 4.01 \rand therefore cannot be loaded by this version of "
                           "Tessaran.\r\rIf you have a copy of this pump on a pipe within an \"old\" system, then\ryou "
                           "can still load the \"old\" system (since this has the required version info)\rand you can "
                           "then re-save the pump to an individual pump file.\r"),
            this);
        return;
    }
    if (version > "0" && version < "4.10" && loaded.PumpType == PumpFixedSpeed &&
        loaded.PumpPoints.SetHead_Stored_mH2O) {
        const QString question =
            QStringLiteral("The pump file version is ") + QString::fromStdString(version) + QStringLiteral("\r\r") +
            QStringLiteral("The pump curve was previously stored in m H2O (m Water).") + QStringLiteral("\r") +
            QStringLiteral("You can choose to accept the head values as m Head of the current fluid in the pipe?") +
            QStringLiteral("\r") +
            QStringLiteral("Or you can decline and convert the m H2O to the equivalent m head of the fluid in the "
                           "pipe?") +
            QStringLiteral("\r\r") +
            QStringLiteral("Choose Yes to accept the head values as m Head of the current fluid in the pipe.") +
            QStringLiteral("\r") + QStringLiteral(" ") + QStringLiteral("\r");
        if (Dialogs().AskYesNo(TDialogKind::Confirmation, question, this)) {
            for (TPumpPoints *points : {&loaded.PumpPoints, &loaded.BaseDataPumpPoints}) {
                points->SetHead_Stored_mH2O = false;
                points->SetNPSHr_Stored_mH2O = false;
                points->HeadDisplayUnit = unt_m_hd_fluid;
                points->NPSHrDisplayUnit = unt_m_hd_fluid;
            }
        }
    }
    EditedPump.CopyPump(loaded);
    GraphOptionsPump.CopyGraphOptions(EditedPump);
    // 6.
    EditedPump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density_);
    EditedPump.calcPumpCurves(density_);
    if (EditedPump.PumpType == PumpFixedSpeed) {
        bool valid = false;
        EditedPump.UpdateRunningDataForSpeedAndImpellerDiameter2(EditedPump.Speed_rpm, EditedPump.ImpellerDiameter_m,
                                                                 density_, valid);
    }
    // 7.
    GraphDrawingEnabled = false;
    SetPumpDisplayUnits();
    applyTypeEnabling(EditedPump.PumpType);
    SetPumpStringGridState();
    GraphDrawingEnabled = true;
    if (EditedPump.PumpType != PumpFixedSpeed)
        ClearPumpGraph();
    // 8.
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    if (valid && EditedPump.PumpType == PumpFixedSpeed)
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::SavetoPumpDatabase1Click()
{
    // 1.
    if (resultsMode_) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Cannot open Pump Database in Results Mode.\r\r"),
                              this);
        return;
    }
    // 2.
    TPump &p = EditedPump;
    if (p.PumpType != PumpFixedSpeed) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("The pump type must be switched to 'Set Speed' before the Pump Database "
                                             "can be opened.\r\ri.e. You cannot open the pump database when the pump "
                                             "type is 'Set Flow Rate' or 'Set Head Increase'.\r\r"),
                              this);
        return;
    }
    // 3.
    if (p.isPumpCurveShowingInMassFlow() && network_) {
        const TUnit densityUnit = network_->ConfigOptions.UnitOfDensity;
        const QString density = QString::fromStdString(convertAndFormat(unt_kg_m3, densityUnit, density_)) +
                                QString::fromStdString(unitName(densityUnit));
        Dialogs().ShowMessage(
            TDialogKind::Confirmation,
            QStringLiteral("Pump Curve is currently showing in units of mass flow (") +
                QString::fromStdString(unitName(p.PumpPoints.FlowDisplayUnit)) + QStringLiteral(") ") +
                QStringLiteral("\r\r") +
                QStringLiteral("The values will be converted and stored in equivalent units of volumetric flow ") +
                QStringLiteral("(based on the current fluid density of ") + density +
                QStringLiteral(" used in this pipe)") + QStringLiteral("\r\r") + QStringLiteral("NOTE: ") +
                QStringLiteral("\r") +
                QStringLiteral("If this pump is used on a pipe in a different fluid zone then the base data that is "
                               "stored in volumetric flow ") +
                QStringLiteral("will be converted to show the equivalent mass flow for the fluid in that zone. ") +
                QStringLiteral("\r\r") +
                QStringLiteral("i.e. if this pump is used in a fluid zone with a different fluid density then the pump "
                               "curve flow values ") +
                QStringLiteral("(stored in volumetric flow) will convert to produce different mass flow values "
                               "depending on the density of that fluid zone.") +
                QStringLiteral("\r"),
            this);
    }
    // 4.
    p.CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();
    p.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(density_);
    // 5.
    if (network_ && pumpDatabase_)
        TPumpManagerSaveForm::OpenForm(*pumpDatabase_, p, pipeId_, *network_);
}

void TPumpDataForm::LoadfromPumpDatabase1Click()
{
    // 1.
    if (resultsMode_) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Cannot open Pump Database in Results Mode.\r\r"),
                              this);
        return;
    }
    // 2.
    if (EditedPump.PumpType != PumpFixedSpeed) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("The pump type must be switched to 'Set Speed' before the Pump Database "
                                             "can be opened.\r\ri.e. You cannot open the pump database when the pump "
                                             "type is 'Set Flow Rate' or 'Set Head Increase'.\r\r"),
                              this);
        return;
    }
    if (!network_ || !pumpDatabase_)
        return;
    // 3.
    TPumpManagerForm::OpenForm(*pumpDatabase_, EditedPump, pipeId_, *network_);
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    GraphOptionsPump.CopyGraphOptions(EditedPump);
    EditedPump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density_);
    EditedPump.calcPumpCurves(density_);
    if (EditedPump.PumpType == PumpFixedSpeed) {
        bool valid = false;
        EditedPump.UpdateRunningDataForSpeedAndImpellerDiameter2(EditedPump.Speed_rpm, EditedPump.ImpellerDiameter_m,
                                                                 density_, valid);
    }
    SetPumpDisplayUnits();
    GraphDrawingEnabled = true;
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    if (valid && EditedPump.PumpType == PumpFixedSpeed)
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::connectPumpFiles()
{
    connect(LoadfromPumpDatabase1, &QAction::triggered, this, [this] { LoadfromPumpDatabase1Click(); });
    connect(ToolButtonOpenPumpDatabase, &QToolButton::clicked, this, [this] { LoadfromPumpDatabase1Click(); });
    connect(BitBtnOpenPumpDatabase, &QPushButton::clicked, this, [this] { LoadfromPumpDatabase1Click(); });
    connect(SavetoPumpDatabase1, &QAction::triggered, this, [this] { SavetoPumpDatabase1Click(); });
    connect(ToolButtonAddToPumpDatabase, &QToolButton::clicked, this, [this] { SavetoPumpDatabase1Click(); });
    connect(BitBtnAddPumpToDatabase, &QPushButton::clicked, this, [this] { SavetoPumpDatabase1Click(); });
    connect(SavePump1, &QAction::triggered, this, [this] { SavePumpClick(); });
    connect(ToolButtonSavePump, &QToolButton::clicked, this, [this] { SavePumpClick(); });
    connect(LoadPump1, &QAction::triggered, this, [this] { LoadPumpClick(); });
    connect(ToolButtonLoadPump, &QToolButton::clicked, this, [this] { LoadPumpClick(); });
}

} // namespace tessaran
