// The pipe diameter dialog's choose-material screen and its edits of the
// pipe tables: user materials and sizes added and removed on disk.

#include "dialogs/Pipe_Diameter_Data_Form.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/Main_Window_Services.h"
#include "dialogs/Dialog_Look.h"
#include "dialogs/String_Grid_Procedures.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "model/Pipe_Table_Text.h"
#include "platform/Stream.h"
#include "platform/TextFile.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

const char *const TableVersion = "1.05";
const char *const UserMaterialPrefix = "UserMaterial";
constexpr int MaterialRowHeight = 18;
constexpr int MaterialGridHeight = 345;
constexpr int MaterialGridHeightWithPanel = 251;
constexpr int SizeListHeight = 338;
constexpr int SizeListHeightWithPanel = 243;

const QString CannotCreateMaterial =
    QStringLiteral("Cannot create new material file.\r\rIt may be that the filename contains invalid characters or "
                   "\rit could be related to a file permissions problem.");
const QString CannotSaveSize =
    QStringLiteral("Cannot save new pipe size data.\r\rIt may be that the pipe size data contains invalid characters "
                   "or \rit could be related to a file permissions problem.");

char separator() { return static_cast<char>(LocaleDecimalSeparator()); }

double readPositive(const QLineEdit *box, bool &valid)
{
    return ReadRealFromString(box->text().trimmed().toStdString(), valid, false, false, separator());
}

// A material name becomes part of a file name: it must not lead out of the
// folder or hold characters a file name or a table line cannot carry.
bool IsMaterialFileNameText(const QString &name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar c : name)
        if (forbidden.contains(c) || c.unicode() < 32)
            return false;
    return name.trimmed() == name && !name.contains(QStringLiteral("..")) && IsTableFieldText(name.toStdString());
}

void writeTableFile(const QString &path, const TFileHeader &header, const std::function<void(std::ostream &)> &rows)
{
    std::ostringstream text;
    header.SaveToText(text);
    rows(text);
    const std::string bytes = text.str();
    SaveFileAtomically(path.toStdString(), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

} // namespace

// --- The material list -----------------------------------------------------------

QString TPipeDiameterDataForm::ReadPipeSizeRange(const QString &path)
{
    try {
        scratch_.Clear();
        loadTable(path, scratch_, header_, false, QFileInfo(path).fileName().toStdString());
    } catch (const std::exception &) {
        scratch_.Clear();
        Dialogs().ShowMessage(
            TDialogKind::Warning,
            QStringLiteral("Cannot determine min/max pipe sizes from string: ") + path + QStringLiteral("\r"), this);
        return QString();
    }
    if (scratch_.PipeCount == 0)
        return QString();
    const auto size = [this](int row) {
        const TPipe &pipe = scratch_.GetPipeDiameterData(row);
        return q(metric_ ? pipe.NominalDiameterMetricString : pipe.NominalDiameterImperialString);
    };
    return size(1) + QStringLiteral(" - ") + size(scratch_.PipeCount);
}

void TPipeDiameterDataForm::FillMaterialList()
{
    materials_.clear();
    const QDir folder(q(folder_));
    const QStringList names =
        folder.entryList({QStringLiteral("*.trpi")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    if (names.isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("Pipe diameter data files cannot be found.\rUnable to display pipe data."),
                              this);
        return;
    }
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        QString range = ReadPipeSizeRange(path);
        if (range.isEmpty() || range == QStringLiteral(" - ")) {
            const QString user = folder.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".trpiu"));
            // A new material keeps " - " until its first size is added.
            if (QFileInfo::exists(user))
                range = ReadPipeSizeRange(user);
        }
        std::ifstream file(path.toStdString(), std::ios::binary);
        std::string firstRow;
        if (HasAnotherTextLine(file)) {
            ReadTextLine(file);
            if (HasAnotherTextLine(file))
                firstRow = ReadTextLine(file);
        }
        std::vector<std::string> fields = SplitTableFields(firstRow, 4);
        fields.resize(4);
        materials_ << q(fields[0]) + QLatin1Char('\t') + q(fields[1]) + QLatin1Char('\t') + q(fields[2]) +
                          QLatin1Char('\t') + range + QLatin1Char('\t') + name;
    }
    materials_.sort();
}

void TPipeDiameterDataForm::SetPipeFilesDataGrid_MinimumRowCount()
{
    TStringGridWidget *grid = FileListStringGrid;
    if (materials_.isEmpty()) {
        grid->SetRowCount(2);
        grid->setRowHidden(0, true);
        return;
    }
    grid->SetRowCount(int(materials_.size()) + 1);
    grid->setRowHidden(0, false);
}

void TPipeDiameterDataForm::FillMaterialGrid(bool roughnessInInch)
{
    TStringGridWidget *grid = FileListStringGrid;
    SetPipeFilesDataGrid_MinimumRowCount();
    StringGridFillCells(grid, 0, 1, QString());
    for (int i = 0; i < materials_.size(); ++i) {
        QStringList fields = materials_[i].split(QLatin1Char('\t'));
        while (fields.size() < 5)
            fields << QString();
        double roughness_in = 0;
        QString roughness;
        if (ReadTableReal(fields[2].toStdString(), roughness_in))
            roughness = roughnessInInch ? q(formatFixed(6, roughness_in)) + QStringLiteral(" (inch)")
                                        : q(convertUnitToString(unt_inch, unt_mm, 4, roughness_in)) +
                                              QStringLiteral(" (") + q(unitName(unt_mm)) + QStringLiteral(")");
        const int row = i + 1;
        grid->SetCells(0, row, fields[0]);
        grid->SetCells(1, row, fields[1]);
        grid->SetCells(2, row, roughness);
        grid->SetCells(3, row, fields[3]);
        grid->SetCells(4, row, fields[4]);
    }
}

void TPipeDiameterDataForm::ShowChangeMaterialScreen()
{
    SetDmEditBoxesEnabled(false);
    PreviousPageButton->hide();
    NextPageButton->hide();
    AddNewSizeButton->hide();
    RemoveEntryButton->hide();
    AddPipeMaterialStringGrid->SetCells(2, 0, PipeMaterialStringGrid->Cells(2, 0));
    FillMaterialList();
    FileListStringGrid->setFixedWidth(materials_.size() + 1 < 7 ? 521 : 537);
    FillMaterialGrid(true);
    ChooseMaterialPanel->raise();
    ChooseMaterialPanel->show();
    int current = 1;
    for (int i = 0; i < materials_.size(); ++i)
        if (materials_[i].section(QLatin1Char('\t'), 4, 4) == q(loadedFile_))
            current = i + 1;
    FileListStringGrid->SetRow(current);
}

void TPipeDiameterDataForm::ChooseNewPipeMaterialClick()
{
    const int r = FileListStringGrid->Row();
    if (r < 1 || r > materials_.size())
        return;
    const QString fileName = materials_[r - 1].section(QLatin1Char('\t'), 4, 4);
    LoadPipeDiameterSetFromText(tablePath(fileName.toStdString()));
    QString material, schedule, roughness;
    if (sizes_.PipeCount > 0) {
        const TPipe &first = sizes_.GetPipeDiameterData(1);
        material = q(first.Material);
        schedule = q(first.ScheduleClass);
        roughness = q(convertUnitToString(unt_m, metric_ ? unt_mm : unt_inch, 6, first.InnerRoughness_m));
        if (sizes_.PipeCount > 1 && first.NominalDiameterMetric < 0)
            sizes_.RemovePipeDiameterData(1);
        SetPipeDiameterDataGrid_MinimumRowCount();
    }
    bool valid = false;
    int held = ReadIntegerFromString(heldNominal_.isEmpty() ? "0" : heldNominal_.toStdString(), valid, true, true);
    if (!valid)
        held = 0;
    DisplayPipeDiameterList(held);
    StringGridClearSelection(PipeDiameterDataStringGrid);
    PipeDiameterTitleLabel->setText(GetMaterialScheduleTitle());
    NewSizeHeadingLabel->setText(QStringLiteral("Add pipe data: ") + GetMaterialScheduleTitle());
    ShowRoughnessLabel();
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(NewInternalDiameterEdit), static_cast<QLineEdit *>(NewWallThicknessEdit),
          static_cast<QLineEdit *>(NewOutsideDiameterEdit), static_cast<QLineEdit *>(NewWeightEdit)})
        box->clear();
    NewNominalSizeComboBox->setCurrentIndex(0);
    ShowPipeSizesScreen();
    MaterialEdit->setText(material);
    ScheduleEdit->setText(schedule);
    RoughnessEdit->setText(roughness);
    NominalSizeEdit->setText(QStringLiteral(" calculated"));
    NominalSizeEdit->setEnabled(false);
    for (QLineEdit *box : {static_cast<QLineEdit *>(InternalDiameterEdit), static_cast<QLineEdit *>(WallThicknessEdit),
                           static_cast<QLineEdit *>(OutsideDiameterEdit), static_cast<QLineEdit *>(WeightEdit)})
        box->clear();
    ChosenSizeStringGrid->SetCells(5, 1, QString());
    ChosenSizeStringGrid->SetCells(6, 1, QString());
    flashBand();
}

void TPipeDiameterDataForm::pageMaterialGrid(bool next)
{
    TStringGridWidget *grid = FileListStringGrid;
    const int page = grid->height() / MaterialRowHeight - 2;
    int top = grid->TopRow();
    if (next) {
        SetPipeFilesDataGrid_MinimumRowCount();
        if (top + page <= materials_.size())
            top += page;
    } else {
        top = std::max(1, top - page);
    }
    grid->SetTopRow(top);
    grid->SetRow(top);
}

// --- Materials ---------------------------------------------------------------------

void TPipeDiameterDataForm::openNewMaterialPanel(bool open)
{
    FileListStringGrid->setFixedHeight(open ? MaterialGridHeightWithPanel : MaterialGridHeight);
    NewMaterialPanel->setVisible(open);
    AddNewMaterialButton->setVisible(!open);
    RemoveMaterialButton->setVisible(!open);
}

void TPipeDiameterDataForm::SaveNewMaterialClick()
{
    const QString name = NewMaterialEdit->text();
    if (name.isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("The new material type cannot be blank."), this);
        return;
    }
    bool valid = false;
    const double roughness = readPositive(NewRoughnessEdit, valid);
    if (!valid) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("The Internal Roughness cannot be blank."),
                              this);
        return;
    }
    if (!IsMaterialFileNameText(name) || !IsTableFieldText(NewScheduleEdit->text().toStdString())) {
        Dialogs().ShowMessage(TDialogKind::Warning, CannotCreateMaterial, this);
        return;
    }
    const double roughness_m = convertUnit(MetricRadioButton->isChecked() ? unt_mm : unt_inch, unt_m, roughness);
    const std::string fileName = UserMaterialPrefix + name.toStdString() + ".trpi";
    const QString path = tablePath(fileName);
    if (QFileInfo::exists(path)) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("This material already exists.\rCannot create another material with the "
                                             "same name."),
                              this);
        return;
    }
    try {
        scratch_.Clear();
        TPipe placeholder;
        placeholder.Clear();
        placeholder.Material = name.left(40).toStdString();
        placeholder.ScheduleClass = NewScheduleEdit->text().left(20).toStdString();
        placeholder.InnerRoughness_m = roughness_m;
        placeholder.NominalDiameterMetric = -1;
        placeholder.PipeDataFilename = fileName;
        const int id = scratch_.AddPipeDiameterData(placeholder);
        scratch_.SetPipeFileType(id, PipeFileTessaran);
        header_.SetData(TableVersion, fileName, "");
        writeTableFile(path, header_, [this](std::ostream &out) { scratch_.SaveToText_DiameterData(out); });
        FillMaterialList();
        SetPipeFilesDataGrid_MinimumRowCount();
        FillMaterialGrid(true);
        int current = 1;
        for (int i = 0; i < materials_.size(); ++i)
            if (materials_[i].section(QLatin1Char('\t'), 0, 0) == q(placeholder.Material))
                current = i + 1;
        FileListStringGrid->SetRow(current);
        openNewMaterialPanel(false);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning, CannotCreateMaterial, this);
    }
}

void TPipeDiameterDataForm::RemoveMaterialClick()
{
    // Only a material row: row 0 would name no file at all.
    const int r = FileListStringGrid->Row();
    if (r < 1 || r > materials_.size())
        return;
    const QString fileName = materials_[r - 1].section(QLatin1Char('\t'), 4, 4);
    const bool userMaterial = fileName.left(12).compare(QLatin1String(UserMaterialPrefix), Qt::CaseInsensitive) == 0;
    const QString question = (userMaterial ? QString() : QStringLiteral("\r")) +
                             QStringLiteral("ALL pipe size data for this material will be permanently removed.\r") +
                             QStringLiteral("This action cannot be reversed.\r\r") +
                             QStringLiteral("Do you wish to continue with removal?");
    if (fileName.isEmpty() || !Dialogs().AskYesNo(TDialogKind::Confirmation, question, this))
        return;
    const QString path = tablePath(fileName.toStdString());
    QFile::remove(path);
    QFile::remove(QFileInfo(path).path() + QStringLiteral("/") + QFileInfo(path).completeBaseName() +
                  QStringLiteral(".trpiu"));
    FillMaterialList();
    SetPipeFilesDataGrid_MinimumRowCount();
    FillMaterialGrid(true);
}

// --- Sizes -------------------------------------------------------------------------

void TPipeDiameterDataForm::openNewSizePanel(bool open)
{
    ChangeMaterialButton->setEnabled(!open);
    AddNewSizeButton->setVisible(!open);
    RemoveEntryButton->setVisible(!open);
    PipeDiameterDataStringGrid->setFixedHeight(open ? SizeListHeightWithPanel : SizeListHeight);
    StringGridShowCurrentRow(PipeDiameterDataStringGrid);
    NewSizePanel->setVisible(open);
    if (open)
        NewInternalDiameterEdit->setFocus();
}

void TPipeDiameterDataForm::SaveStandardPipes_ToText(const QString &path)
{
    header_.SetData(TableVersion, "", "");
    writeTableFile(path, header_, [this](std::ostream &out) { sizes_.SaveToText_DiameterData(out); });
}

void TPipeDiameterDataForm::SaveUserPipes_ToText(const QString &path)
{
    header_.SetData(TableVersion, "", "");
    writeTableFile(path, header_, [this](std::ostream &out) { sizes_.SaveUserPipes_DiameterData_ToText(out); });
}

void TPipeDiameterDataForm::reloadNominalSizeSet()
{
    if (!nominalSizes_)
        return;
    nominalSizes_->Clear();
    const auto progress = [this](const std::string &text) {
        if (mainWindow_)
            mainWindow_->ShowSplashLoadInfo(text);
    };
    nominalSizes_->LoadFromPipeDiameterSetData(folder_, progress, nullptr);
    // The size texts of the drop-down follow the reloaded set.
    const int item = NewNominalSizeComboBox->currentIndex();
    PopulateComboBoxWithNominalSizeStrings();
    if (item < NewNominalSizeComboBox->count())
        NewNominalSizeComboBox->setCurrentIndex(item);
}

void TPipeDiameterDataForm::AddNewEntryClick()
{
    bool complete = CompleteDiameterData(NewInternalDiameterEdit, NewWallThicknessEdit, NewOutsideDiameterEdit);
    bool odValid = false, wallValid = false, weightValid = false;
    double outside = 0, wall = 0, weight = 0;
    if (complete) {
        outside = readPositive(NewOutsideDiameterEdit, odValid);
        wall = readPositive(NewWallThicknessEdit, wallValid);
        weight = readPositive(NewWeightEdit, weightValid);
        complete = odValid && wallValid && weightValid;
    }
    if (!complete) {
        Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("The new pipe data is not complete."), this);
        return;
    }
    try {
        const double outside_m = toMetres(outside);
        const double wall_m = toMetres(wall);
        const double inside_m = outside_m - 2 * wall_m;
        const double weight_kg_m =
            MetricRadioButton->isChecked() ? weight : convertUnit(unt_lbs_per_ft, unt_kgs_per_m, weight);
        if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Add new pipe data to Pipe diameter database.\rProceed with this "
                                              "operation?"),
                               this)) {
            // Sizes go only to the file of the sizes on show.
            if (loadedFile_.empty() || sizes_.PipeCount == 0)
                throw std::runtime_error("no table on show");
            TPipe added;
            added.Copy(sizes_.GetPipeDiameterData(1));
            added.InnerDiameter_m = inside_m;
            added.WallThickness_m = wall_m;
            added.OuterDiameter_m = outside_m;
            added.WeightPerMetre_kg = weight_kg_m;
            const int item = NewNominalSizeComboBox->currentIndex();
            int index = item;
            if (item <= 0 && nominalSizes_) {
                std::string material, schedule, fileName;
                nominalSizes_->getMaterialAndScheduleString(added.Material, added.ScheduleClass, material, schedule,
                                                            fileName);
                index = nominalSizes_->getIDPipeNominalSizeSetIndex(inside_m, material, schedule);
            }
            if (nominalSizes_) {
                const TPipeNominalSizeData row = nominalSizes_->getPipeNominalSizeData(index);
                added.NominalDiameterMetric = row.NominalDiameterMetric;
                added.NominalDiameterMetricString = row.NominalDiameterMetricString;
                added.NominalDiameterImperialString = row.NominalDiameterImperialString;
            }
            added.PipeDataFilename = loadedFile_;
            sizes_.AddPipeDiameterData(added);
            const QString path = tablePath(loadedFile_);
            SaveUserPipes_ToText(QFileInfo(path).path() + QStringLiteral("/") + QFileInfo(path).completeBaseName() +
                                 QStringLiteral(".trpiu"));
            SetPipeDiameterDataGrid_MinimumRowCount();
            if (sizes_.GetPipeDiameterData(1).NominalDiameterMetric < 0) {
                sizes_.RemovePipeDiameterData(1);
                SetPipeDiameterDataGrid_MinimumRowCount();
            }
            DisplayPipeDiameterList(0);
            PipeDiameterDataStringGrid->setFixedHeight(SizeListHeight);
            pageSizeList(true);
        }
        ChangeMaterialButton->setEnabled(true);
        AddNewSizeButton->show();
        RemoveEntryButton->show();
        NewSizePanel->hide();
        PipeDiameterDataStringGrid->setFixedHeight(SizeListHeight);
        reloadNominalSizeSet();
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning, CannotSaveSize, this);
    }
}

void TPipeDiameterDataForm::RemoveEntryClick()
{
    const int r = PipeDiameterDataStringGrid->Row();
    if (r < 1 || r > sizes_.PipeCount || loadedFile_.empty())
        return;
    const bool standard = sizes_.GetPipeDiameterFileType(r) == PipeFileTessaran;
    const QString question =
        (standard ? QStringLiteral("This is a standard pipe size it ") : QStringLiteral("The selected pipe size ")) +
        QStringLiteral("will be permanently removed.\r") + QStringLiteral("This action cannot be reversed.\r\r") +
        QStringLiteral("Continue with removal?");
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation, question, this))
        return;
    const QString path = tablePath(loadedFile_);
    try {
        sizes_.RemovePipeDiameterData(r);
        if (standard)
            SaveStandardPipes_ToText(path);
        else
            SaveUserPipes_ToText(QFileInfo(path).path() + QStringLiteral("/") + QFileInfo(path).completeBaseName() +
                                 QStringLiteral(".trpiu"));
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning, CannotSaveSize, this);
    }
    LoadPipeDiameterSetFromText(path);
    DisplayPipeDiameterList(0);
    if (sizes_.PipeCount > 0)
        PipeDiameterDataStringGrid->SetRow(std::min(r, sizes_.PipeCount));
    reloadNominalSizeSet();
}

} // namespace tessaran
