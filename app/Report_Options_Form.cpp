#include "app/Report_Options_Form.h"

#include "app/Program_Folder.h"
#include "dialogs/Dialog_Look.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessaran {
namespace {

const char *const CannotLoadText = "Cannot load selected file.\r\rSpecified file may not exist or \rthere may be a "
                                   "problem with the file permissions.";
const char *const ReportOptionsFilter = "Tessaran Network Report Options (*.trzrep)";

TJPEGImage JpegFromImage(const QImage &source, int quality)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    TBitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            bitmap.SetPixel(x, y, TColor(qRed(line[x]) | (qGreen(line[x]) << 8) | (qBlue(line[x]) << 16)));
    }
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(EncodeJpeg(bitmap, quality, false));
    return jpeg;
}

// The program's own logo for the cover sheet, drawn in the advised 2:1 shape.
TJPEGImage DefaultLogo()
{
    QImage image(800, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 84, 147));
    painter.drawRoundedRect(QRectF(40, 60, 720, 200), 30, 30);
    painter.setBrush(QColor(0, 160, 220));
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF(130 + i * 60, 160), 18, 18);
    painter.setPen(QPen(QColor(0, 160, 220), 8));
    painter.drawLine(QPointF(130, 160), QPointF(250, 160));
    painter.setPen(Qt::white);
    QFont big("Liberation Sans", 1);
    big.setPixelSize(96);
    big.setBold(true);
    painter.setFont(big);
    painter.drawText(QRectF(290, 60, 460, 200), Qt::AlignVCenter | Qt::AlignLeft, "Tessaran");
    painter.setPen(QColor(0, 84, 147));
    QFont small("Liberation Sans", 1);
    small.setPixelSize(40);
    painter.setFont(small);
    painter.drawText(QRectF(40, 280, 720, 80), Qt::AlignCenter, "Pipe Network Design");
    painter.end();
    return JpegFromImage(image, 90);
}

TJPEGImage BlankLogo()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    return JpegFromImage(image, 90);
}

void ShowJpeg(QLabel *label, const TJPEGImage &jpeg)
{
    const auto &bytes = jpeg.SaveToBytes();
    QImage image;
    image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "JPG");
    if (image.isNull() && !jpeg.Empty()) {
        // The picture's own decoded pixels when the toolkit has no JPEG reader.
        const TBitmap &bitmap = jpeg.Bitmap();
        image = QImage(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const TColor c = bitmap.Pixel(x, y);
                image.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
            }
    }
    label->setPixmap(QPixmap::fromImage(image));
}


QCheckBox *Box(const char *name, const char *caption, QWidget *parent)
{
    auto *box = Named<QCheckBox>(name, QString::fromLatin1(caption), parent);
    return box;
}

QLineEdit *TextEdit(const char *name, const char *text, QWidget *parent)
{
    auto *edit = Named<QLineEdit>(name, QString::fromLatin1(text), parent);
    edit->setMaxLength(TReportOptions::TextCapacity);
    return edit;
}

std::string Stored(const QLineEdit *edit)
{
    return edit->text().left(TReportOptions::TextCapacity).toStdString();
}

} // namespace

TFormPDFConfig::TFormPDFConfig(QWidget *parent) : QDialog(parent), WorkGrid(WorkGridColumns, 3)
{
    setObjectName("FormPDFConfig");
    setWindowTitle("PDF Report Generator");
    resize(902, 691);

    GroupBox1 = Named<QGroupBox>("GroupBox1", " Company Information ", this);
    LabelCompanyName = Named<QLabel>("LabelCompanyName", "Company Name", GroupBox1);
    LabelProjectName = Named<QLabel>("LabelProjectName", "Project Name", GroupBox1);
    LabelEngineerRef = Named<QLabel>("LabelEngineerRef", "Engineer Reference", GroupBox1);
    EditCompanyName = TextEdit("EditCompanyName", "Your Company", GroupBox1);
    EditProjectName = TextEdit("EditProjectName", "Your Project", GroupBox1);
    EditEngineerRef = TextEdit("EditEngineerRef", "Your Engineer Ref", GroupBox1);
    auto *company = new QGridLayout(GroupBox1);
    company->addWidget(LabelCompanyName, 0, 0);
    company->addWidget(EditCompanyName, 0, 1);
    company->addWidget(LabelProjectName, 1, 0);
    company->addWidget(EditProjectName, 1, 1);
    company->addWidget(LabelEngineerRef, 2, 0);
    company->addWidget(EditEngineerRef, 2, 1);

    GroupBox3 = Named<QGroupBox>("GroupBox3", " Header Information  ", this);
    CheckBoxCompanyName = Box("CheckBoxCompanyName", "Include Company Name", GroupBox3);
    CheckBoxProjectName = Box("CheckBoxProjectName", "Include Project Name", GroupBox3);
    CheckBoxEngineerRef = Box("CheckBoxEngineerRef", "Include Engineer Reference", GroupBox3);
    CheckBoxDate = Box("CheckBoxDate", "Include Date", GroupBox3);
    auto *header = new QVBoxLayout(GroupBox3);
    for (QWidget *w : {CheckBoxCompanyName, CheckBoxProjectName, CheckBoxEngineerRef, CheckBoxDate})
        header->addWidget(w);

    GroupBox4 = Named<QGroupBox>("GroupBox4", " Page Information ", this);
    CheckBoxPageNumber = Box("CheckBoxPageNumber", "Include Page Number", GroupBox4);
    CheckBoxIncludeLog = Box("CheckBoxIncludeLog", "Include Results Log Summary", GroupBox4);
    CheckBoxShowGridLines = Box("CheckBoxShowGridLines", "Show Grid Lines on Drawing", GroupBox4);
    CheckBoxShowGridLines->setVisible(false);
    auto *pageInfo = new QVBoxLayout(GroupBox4);
    for (QWidget *w : {CheckBoxPageNumber, CheckBoxIncludeLog, CheckBoxShowGridLines})
        pageInfo->addWidget(w);

    GroupBox5 = Named<QGroupBox>("GroupBox5", " Cover Sheet ", this);
    CheckBoxCoverSheet = Box("CheckBoxCoverSheet", "Include Cover Sheet", GroupBox5);
    Label2 = Named<QLabel>("Label2", "Title", GroupBox5);
    Label3 = Named<QLabel>("Label3", "Subtitle", GroupBox5);
    EditTitle = TextEdit("EditTitle", "", GroupBox5);
    EditSubtitle = TextEdit("EditSubtitle", "", GroupBox5);
    auto *cover = new QGridLayout(GroupBox5);
    cover->addWidget(CheckBoxCoverSheet, 0, 0, 1, 2);
    cover->addWidget(Label2, 1, 0);
    cover->addWidget(EditTitle, 1, 1);
    cover->addWidget(Label3, 2, 0);
    cover->addWidget(EditSubtitle, 2, 1);

    GroupBox6 = Named<QGroupBox>("GroupBox6", " PDF Page Ratio  ", this);
    RadioButtonPageAuto = Named<QRadioButton>("RadioButtonPageAuto", "Auto Orientation (Best fit)", GroupBox6);
    RadioButtonPagePortrait = Named<QRadioButton>("RadioButtonPagePortrait", "Portrait", GroupBox6);
    RadioButtonPageLandscape = Named<QRadioButton>("RadioButtonPageLandscape", "Landscape", GroupBox6);
    auto *ratio = new QVBoxLayout(GroupBox6);
    for (QWidget *w : {RadioButtonPageAuto, RadioButtonPagePortrait, RadioButtonPageLandscape})
        ratio->addWidget(w);

    GroupBox7 = Named<QGroupBox>("GroupBox7", " Cover Sheet Image (Small Scale Preview)", this);
    Panel2 = Named<QWidget>("Panel2", GroupBox7);
    Panel2->setAutoFillBackground(true);
    QPalette white = Panel2->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel2->setPalette(white);
    Panel2->setFixedSize(240, 120);
    ImageCompanyLogo = Named<QLabel>("ImageCompanyLogo", Panel2);
    ImageCompanyLogo->setScaledContents(true);
    ImageCompanyLogo->setGeometry(0, 0, 240, 120);
    ImageLogoDefault = Named<QLabel>("ImageLogoDefault", GroupBox7);
    ImageLogoClear = Named<QLabel>("ImageLogoClear", GroupBox7);
    ImageLogoDefault->setVisible(false);
    ImageLogoClear->setVisible(false);
    Label1 = Named<QLabel>("Label1",
                           "Loaded images should have X:Y ratio of 2:1 with the max width being 1600 pixels. ",
                           GroupBox7);
    Label1->setWordWrap(true);
    BitBtnImageResetDefault = Named<QPushButton>("BitBtnImageResetDefault", "Reset to Default", GroupBox7);
    BitBtnImageClear = Named<QPushButton>("BitBtnImageClear", "Clear Image (None)", GroupBox7);
    BitBtnImageLoad = Named<QPushButton>("BitBtnImageLoad", "Load JPEG Image", GroupBox7);
    auto *logoBox = new QGridLayout(GroupBox7);
    logoBox->addWidget(Panel2, 0, 0, 3, 1);
    logoBox->addWidget(BitBtnImageResetDefault, 0, 1);
    logoBox->addWidget(BitBtnImageClear, 1, 1);
    logoBox->addWidget(BitBtnImageLoad, 2, 1);
    logoBox->addWidget(Label1, 3, 0, 1, 2);

    GroupBoxReportData = Named<QGroupBox>("GroupBoxReportData", " Select Report Data ", this);
    CheckBoxFluidData = Box("CheckBoxFluidData", "Fluid Data", GroupBoxReportData);
    CheckBoxPumpData = Box("CheckBoxPumpData", "Pump Data", GroupBoxReportData);
    CheckBoxPipeData = Box("CheckBoxPipeData", "Pipe Data", GroupBoxReportData);
    CheckBoxEnergyData = Box("CheckBoxEnergyData", "Energy Data", GroupBoxReportData);
    CheckBoxNodeData = Box("CheckBoxNodeData", "Node Data", GroupBoxReportData);
    CheckBoxPumpGraph = Box("CheckBoxPumpGraph", "Pump Graph", GroupBoxReportData);
    CheckBoxPipeFittings = Box("CheckBoxPipeFittings", "Pipe Fittings", GroupBoxReportData);
    CheckBoxPipeMaterials = Box("CheckBoxPipeMaterials", "Pipe Materials", GroupBoxReportData);
    CheckBoxPipeFactors = Box("CheckBoxPipeFactors", "Pipe Factors", GroupBoxReportData);
    CheckBoxComponents = Box("CheckBoxComponents", "Components", GroupBoxReportData);
    CheckBoxFCVs = Box("CheckBoxFCVs", "FCVs", GroupBoxReportData);
    CheckBoxPRVs = Box("CheckBoxPRVs", "PRVs", GroupBoxReportData);
    CheckBoxBPVs = Box("CheckBoxBPVs", "BPVs", GroupBoxReportData);
    auto *sections = new QGridLayout(GroupBoxReportData);
    int at = 0;
    for (QWidget *w : {CheckBoxFluidData, CheckBoxPumpData, CheckBoxPipeData, CheckBoxEnergyData, CheckBoxNodeData,
                       CheckBoxPumpGraph, CheckBoxPipeFittings, CheckBoxPipeMaterials, CheckBoxPipeFactors,
                       CheckBoxComponents, CheckBoxFCVs, CheckBoxPRVs, CheckBoxBPVs}) {
        sections->addWidget(w, at % 7, at / 7);
        ++at;
    }

    auto listGroup = [this](QGroupBox *&group, const char *groupName, const char *caption, QListWidget *&list,
                            const char *listName) {
        group = Named<QGroupBox>(groupName, QString::fromLatin1(caption), this);
        list = Named<QListWidget>(listName, group);
        auto *layout = new QVBoxLayout(group);
        layout->addWidget(list);
        connect(list, &QListWidget::itemChanged, this,
                [this, list](QListWidgetItem *item) { checkListClicked(list, list->row(item)); });
    };
    listGroup(GroupBoxPipeData, "GroupBoxPipeData", " Choose Pipe Data ", CheckListBoxPipes, "CheckListBoxPipes");
    listGroup(GroupBoxEnergyData, "GroupBoxEnergyData", " Choose Energy Data ", CheckListBoxEnergy,
              "CheckListBoxEnergy");
    listGroup(GroupBoxNodeData, "GroupBoxNodeData", " Choose Node Data ", CheckListBoxNodes, "CheckListBoxNodes");

    StringGridPDFReport = Named<QTableWidget>("StringGridPDFReport", 3, WorkGridColumns, this);
    StringGridPDFReport->setVisible(false);
    WorkGrid.FixedCols = 1;
    WorkGrid.FixedRows = 2;

    BitBtnCreatePDF = Named<QPushButton>("BitBtnCreatePDF", "Create PDF Report", this);
    BitBtnSaveReportOptions = Named<QPushButton>("BitBtnSaveReportOptions", "Save Report Options", this);
    BitBtnLoadReportOptions = Named<QPushButton>("BitBtnLoadReportOptions", "Load Report Options", this);
    BitBtnCancelAndExit = Named<QPushButton>("BitBtnCancelAndExit", "Exit and Close", this);

    auto *left = new QVBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(GroupBox1), static_cast<QWidget *>(GroupBox3),
                       static_cast<QWidget *>(GroupBox4), static_cast<QWidget *>(GroupBox5),
                       static_cast<QWidget *>(GroupBox6)})
        left->addWidget(w);
    auto *middle = new QVBoxLayout;
    middle->addWidget(GroupBox7);
    middle->addWidget(GroupBoxReportData);
    auto *lists = new QHBoxLayout;
    for (QWidget *w : {GroupBoxPipeData, GroupBoxEnergyData, GroupBoxNodeData})
        lists->addWidget(w);
    middle->addLayout(lists);
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : {BitBtnCreatePDF, BitBtnSaveReportOptions, BitBtnLoadReportOptions, BitBtnCancelAndExit})
        buttons->addWidget(w);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(middle, 2);
    auto *whole = new QVBoxLayout(this);
    whole->addLayout(columns);
    whole->addLayout(buttons);

    connect(BitBtnCreatePDF, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnCreatePDFClick);
    connect(BitBtnCancelAndExit, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnCancelAndExitClick);
    connect(BitBtnImageResetDefault, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnImageResetDefaultClick);
    connect(BitBtnImageClear, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnImageClearClick);
    connect(BitBtnImageLoad, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnImageLoadClick);
    connect(BitBtnSaveReportOptions, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnSaveReportOptionsClick);
    connect(BitBtnLoadReportOptions, &QPushButton::clicked, this, &TFormPDFConfig::BitBtnLoadReportOptionsClick);
    connect(CheckBoxCoverSheet, &QCheckBox::toggled, this, &TFormPDFConfig::CheckBoxCoverSheetClick);
    connect(CheckBoxPipeData, &QCheckBox::toggled, this, &TFormPDFConfig::CheckBoxPipeDataClick);
    connect(CheckBoxNodeData, &QCheckBox::toggled, this, &TFormPDFConfig::CheckBoxNodeDataClick);
    // The energy handler also serves the component and valve boxes, where it
    // still follows the energy box.
    for (QCheckBox *box : {CheckBoxEnergyData, CheckBoxComponents, CheckBoxFCVs, CheckBoxPRVs, CheckBoxBPVs})
        connect(box, &QCheckBox::toggled, this, &TFormPDFConfig::CheckBoxEnergyDataClick);

    LogoDefault = DefaultLogo();
    LogoClear = BlankLogo();
    Logo = LogoDefault;
    ShowJpeg(ImageLogoDefault, LogoDefault);
    ShowJpeg(ImageLogoClear, LogoClear);
    showLogo();
}

void TFormPDFConfig::OpenForm(TNetwork &TheNetwork, bool &GeneratePDF)
{
    PaintDialogBackground(this, QColor(0xF1, 0xFA, 0xFF));
    createPDF_ = false;
    network_ = &TheNetwork;
    WorkingOptions = TheNetwork.ReportOptions;
    PopulateCheckListBoxes();
    UpdateFormFromReportOptions(WorkingOptions);
    exec();
    TheNetwork.ReportOptions = WorkingOptions;
    GeneratePDF = createPDF_;
}

void TFormPDFConfig::ClearStringGrid(TStringGrid &TheStringGrid)
{
    for (int c = 0; c < TheStringGrid.ColCount(); ++c)
        for (int r = 0; r < TheStringGrid.RowCount(); ++r)
            TheStringGrid.SetCell(c, r, "");
}

void TFormPDFConfig::showWorkGrid()
{
    StringGridPDFReport->setRowCount(WorkGrid.RowCount());
    for (int r = 0; r < WorkGrid.RowCount(); ++r)
        for (int c = 0; c < WorkGridColumns; ++c)
            StringGridPDFReport->setItem(r, c, new QTableWidgetItem(QString::fromStdString(WorkGrid.Cell(c, r))));
}

void TFormPDFConfig::PopulateCheckListBoxes()
{
    WorkGrid.FixedCols = 1;
    WorkGrid.FixedRows = 2;
    settingChecks_ = true;
    struct TList {
        QListWidget *List;
        void (TNetwork::*Populate)(TStringGrid &, int, int &) const;
        bool Energy;
    };
    for (const TList &entry : {TList{CheckListBoxPipes, &TNetwork::PopulateStringGridPipeSummaryResults, false},
                               TList{CheckListBoxEnergy, &TNetwork::PopulateStringGridEnergyResults, true},
                               TList{CheckListBoxNodes, &TNetwork::PopulateStringGridNodeResults, false}}) {
        ClearStringGrid(WorkGrid);
        int finishRow = 0;
        (network_->*entry.Populate)(WorkGrid, 0, finishRow);
        entry.List->clear();
        // The work grid is wider than any table: the table's columns are
        // those up to its last heading.
        int columns = 0;
        for (int c = 0; c < WorkGrid.ColCount(); ++c)
            if (!WorkGrid.Cell(c, 0).empty() || !WorkGrid.Cell(c, 1).empty())
                columns = c + 1;
        for (int c = 0; c < columns; ++c) {
            std::string text = WorkGrid.Cell(c, 0);
            if (entry.Energy && c >= 2)
                text = WorkGrid.Cell(c, 1) + " (Energy Loss)";
            auto *item = new QListWidgetItem(QString::fromStdString(text), entry.List);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    settingChecks_ = false;
    showWorkGrid();
}

void TFormPDFConfig::SetChecklistBoxCheckedItems(QListWidget &TheChecklistBox, const TReportDataColumns &Columns)
{
    for (int i = 0; i < TheChecklistBox.count(); ++i) {
        bool chosen = false;
        for (int k = 0; k < MaxColumnsChosen; ++k)
            chosen = chosen || Columns[static_cast<std::size_t>(k)] == i;
        TheChecklistBox.item(i)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
}

void TFormPDFConfig::SetReportItemsFromChecklistBoxCheckedItems(const QListWidget &TheChecklistBox,
                                                                TReportDataColumns &Columns)
{
    Columns.fill(-1);
    std::size_t next = 0;
    for (int i = 0; i < TheChecklistBox.count() && next < Columns.size(); ++i)
        if (TheChecklistBox.item(i)->checkState() == Qt::Checked)
            Columns[next++] = i;
}

int TFormPDFConfig::countCheckedItems(const QListWidget &TheChecklistBox)
{
    int count = 0;
    for (int i = 0; i < TheChecklistBox.count(); ++i)
        count += TheChecklistBox.item(i)->checkState() == Qt::Checked ? 1 : 0;
    return count;
}

void TFormPDFConfig::UpdateFormFromReportOptions(const TReportOptions &o)
{
    EditCompanyName->setText(QString::fromStdString(o.companyName));
    EditProjectName->setText(QString::fromStdString(o.projectName));
    EditEngineerRef->setText(QString::fromStdString(o.engineerRef));
    CheckBoxCoverSheet->setChecked(o.includeCoverSheet);
    EditTitle->setText(QString::fromStdString(o.title));
    EditSubtitle->setText(QString::fromStdString(o.subtitle));
    CheckBoxCompanyName->setChecked(o.includeCompanyName);
    CheckBoxProjectName->setChecked(o.includeProjectName);
    CheckBoxEngineerRef->setChecked(o.includeEngineerRef);
    CheckBoxDate->setChecked(o.includeDate);
    CheckBoxPageNumber->setChecked(o.includePageNumber);
    CheckBoxShowGridLines->setChecked(o.showGridLines);
    CheckBoxIncludeLog->setChecked(o.includeLogInfo);
    RadioButtonPageAuto->setChecked(o.pageOrientation == PageOrientationAuto);
    RadioButtonPagePortrait->setChecked(o.pageOrientation == PageOrientationPortrait);
    RadioButtonPageLandscape->setChecked(o.pageOrientation == PageOrientationLandscape);
    CheckBoxFluidData->setChecked(o.includeFluidData);
    CheckBoxPumpData->setChecked(o.includePumpData);
    CheckBoxPumpGraph->setChecked(o.includePumpGraph);
    CheckBoxPipeData->setChecked(o.includePipeData);
    CheckBoxEnergyData->setChecked(o.includeEnergyData);
    CheckBoxNodeData->setChecked(o.includeNodeData);
    CheckBoxPipeFactors->setChecked(o.includePipeFactors);
    CheckBoxPipeFittings->setChecked(o.includePipeFittings);
    CheckBoxPipeMaterials->setChecked(o.includePipeMaterials);
    CheckBoxComponents->setChecked(o.includeComponents);
    CheckBoxFCVs->setChecked(o.includeFCVs);
    CheckBoxPRVs->setChecked(o.includePRVs);
    CheckBoxBPVs->setChecked(o.includeBPVs);
    settingChecks_ = true;
    SetChecklistBoxCheckedItems(*CheckListBoxPipes, o.pipeDataColumns);
    SetChecklistBoxCheckedItems(*CheckListBoxEnergy, o.energyDataColumns);
    SetChecklistBoxCheckedItems(*CheckListBoxNodes, o.nodeDataColumns);
    settingChecks_ = false;
    CheckBoxCoverSheetClick();
    CheckBoxPipeDataClick();
    CheckBoxNodeDataClick();
    CheckBoxEnergyDataClick();
}

void TFormPDFConfig::UpdateReportOptionsFromFormData()
{
    TReportOptions &o = WorkingOptions;
    o.companyName = Stored(EditCompanyName);
    o.projectName = Stored(EditProjectName);
    o.engineerRef = Stored(EditEngineerRef);
    o.title = Stored(EditTitle);
    o.subtitle = Stored(EditSubtitle);
    o.includeCoverSheet = CheckBoxCoverSheet->isChecked();
    o.includeCompanyName = CheckBoxCompanyName->isChecked();
    o.includeProjectName = CheckBoxProjectName->isChecked();
    o.includeEngineerRef = CheckBoxEngineerRef->isChecked();
    o.includeDate = CheckBoxDate->isChecked();
    o.includePageNumber = CheckBoxPageNumber->isChecked();
    o.showGridLines = CheckBoxShowGridLines->isChecked();
    o.includeLogInfo = CheckBoxIncludeLog->isChecked();
    if (RadioButtonPageAuto->isChecked())
        o.pageOrientation = PageOrientationAuto;
    else if (RadioButtonPagePortrait->isChecked())
        o.pageOrientation = PageOrientationPortrait;
    else if (RadioButtonPageLandscape->isChecked())
        o.pageOrientation = PageOrientationLandscape;
    o.includeFluidData = CheckBoxFluidData->isChecked();
    o.includePumpData = CheckBoxPumpData->isChecked();
    o.includePumpGraph = CheckBoxPumpGraph->isChecked();
    o.includePipeData = CheckBoxPipeData->isChecked();
    o.includeEnergyData = CheckBoxEnergyData->isChecked();
    o.includeNodeData = CheckBoxNodeData->isChecked();
    o.includePipeFactors = CheckBoxPipeFactors->isChecked();
    o.includePipeFittings = CheckBoxPipeFittings->isChecked();
    o.includePipeMaterials = CheckBoxPipeMaterials->isChecked();
    o.includeComponents = CheckBoxComponents->isChecked();
    o.includeFCVs = CheckBoxFCVs->isChecked();
    o.includePRVs = CheckBoxPRVs->isChecked();
    o.includeBPVs = CheckBoxBPVs->isChecked();
    SetReportItemsFromChecklistBoxCheckedItems(*CheckListBoxPipes, o.pipeDataColumns);
    SetReportItemsFromChecklistBoxCheckedItems(*CheckListBoxEnergy, o.energyDataColumns);
    SetReportItemsFromChecklistBoxCheckedItems(*CheckListBoxNodes, o.nodeDataColumns);
}

void TFormPDFConfig::checkListClicked(QListWidget *list, int row)
{
    if (settingChecks_ || countCheckedItems(*list) <= MaxColumnsChosen || row < 0)
        return;
    settingChecks_ = true;
    list->item(row)->setCheckState(Qt::Unchecked);
    settingChecks_ = false;
    Dialogs().ShowMessage(TDialogKind::Information,
                          QString("A maximum of ") + "12" + " items can be selected form this list " +
                              "for inclusion in the PDF report." + "\r\r" +
                              "Please deselect an existing item in order to be able to select a new item." + "\r",
                          this);
}

void TFormPDFConfig::CheckBoxCoverSheetClick()
{
    EditTitle->setEnabled(CheckBoxCoverSheet->isChecked());
    EditSubtitle->setEnabled(CheckBoxCoverSheet->isChecked());
}

void TFormPDFConfig::CheckBoxPipeDataClick() { CheckListBoxPipes->setEnabled(CheckBoxPipeData->isChecked()); }

void TFormPDFConfig::CheckBoxNodeDataClick() { CheckListBoxNodes->setEnabled(CheckBoxNodeData->isChecked()); }

void TFormPDFConfig::CheckBoxEnergyDataClick() { CheckListBoxEnergy->setEnabled(CheckBoxEnergyData->isChecked()); }

void TFormPDFConfig::BitBtnCreatePDFClick()
{
    UpdateReportOptionsFromFormData();
    createPDF_ = true;
    accept();
}

void TFormPDFConfig::BitBtnCancelAndExitClick() { reject(); }

void TFormPDFConfig::showLogo() { ShowJpeg(ImageCompanyLogo, Logo); }

void TFormPDFConfig::BitBtnImageResetDefaultClick()
{
    Logo = LogoDefault;
    showLogo();
}

void TFormPDFConfig::BitBtnImageClearClick()
{
    Logo = LogoClear;
    showLogo();
}

void TFormPDFConfig::BitBtnImageLoadClick()
{
    try {
        TFileDialogRequest request;
        request.Caption = "Load JPEG Image";
        request.Folder = QString::fromStdString(ProgramFolder());
        request.Filter = "Jpeg File (*.jpg)";
        request.DefaultSuffix = "jpg";
        request.Parent = this;
        const std::optional<QString> chosen = Dialogs().OpenPictureName(request);
        if (!chosen)
            return;
        try {
            TJPEGImage loaded;
            loaded.LoadFromFile(chosen->toStdString());
            Logo = loaded;
            showLogo();
        } catch (const std::exception &) {
            Dialogs().ShowMessage(TDialogKind::Information, CannotLoadText, this);
        }
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information, "Error opening Load Jpeg windows.\r", this);
    }
}

void TFormPDFConfig::SaveReportOptionsFile(const std::string &path)
{
    TMemoryStream stream;
    network_->SaveReportOptions(stream);
    const auto &logo = Logo.SaveToBytes();
    stream.WriteBuffer(logo.data(), logo.size());
    // A new file replaces the old one only once it is whole.
    const std::string temporary = path + ".saving";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(stream.Bytes().data()),
                  static_cast<std::streamsize>(stream.Bytes().size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw std::runtime_error("Cannot write " + temporary);
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("Cannot replace " + path);
    }
}

void TFormPDFConfig::LoadReportOptionsFile(const std::string &path)
{
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    const TReportOptions before = network_->ReportOptions;
    auto readWith = [&](void (TNetwork::*load)(TStream &)) {
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), bytes.size());
        stream.Seek(0);
        (network_->*load)(stream);
        const std::int64_t rest = stream.Remaining();
        TJPEGImage logo;
        logo.LoadFromBytes(std::span<const std::uint8_t>(bytes.data() + stream.Position(),
                                                         static_cast<std::size_t>(rest)));
        if (logo.Empty())
            throw EStreamError("The report options file holds no logo");
        return logo;
    };
    TJPEGImage logo;
    try {
        logo = readWith(&TNetwork::LoadReportOptions);
    } catch (const std::exception &) {
        network_->ReportOptions = before;
        try {
            logo = readWith(&TNetwork::LoadReportOptionsFirstV638);
        } catch (...) {
            network_->ReportOptions = before;
            throw;
        }
    }
    Logo = logo;
    WorkingOptions = network_->ReportOptions;
    showLogo();
}

void TFormPDFConfig::BitBtnSaveReportOptionsClick()
{
    try {
        UpdateReportOptionsFromFormData();
        TFileDialogRequest request;
        request.Caption = "Save Report Options";
        request.FileName = "TRZ Report Options";
        request.Filter = ReportOptionsFilter;
        request.DefaultSuffix = "trzrep";
        request.Parent = this;
        const std::optional<QString> chosen = Dialogs().SaveFileName(request);
        if (!chosen)
            return;
        QString path = *chosen;
        if (QFileInfo(path).suffix().isEmpty())
            path += ".trzrep";
        if (QFileInfo::exists(path) &&
            !Dialogs().AskYesNo(TDialogKind::Confirmation, "File already exists. Do wish to overwrite? \r", this))
            return;
        network_->ReportOptions = WorkingOptions;
        try {
            SaveReportOptionsFile(path.toStdString());
        } catch (const std::exception &) {
            if (QFileInfo::exists(path) && !QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
                Dialogs().ShowMessage(
                    TDialogKind::Information,
                    "Current Report Options not saved.\r\rCould not remove existing file.\r\rPlease check the file "
                    "permissions of the existing file or\rchoose 'Save As' to save the current report options "
                    "under a different file name.",
                    this);
                return;
            }
            throw;
        }
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information, "Error Saving Report Options.\r", this);
    }
}

void TFormPDFConfig::BitBtnLoadReportOptionsClick()
{
    try {
        TFileDialogRequest request;
        request.Caption = "Load Report Options";
        request.Folder = QString::fromStdString(ProgramFolder());
        request.Filter = ReportOptionsFilter;
        request.DefaultSuffix = "trzrep";
        request.Parent = this;
        const std::optional<QString> chosen = Dialogs().OpenFileName(request);
        if (!chosen)
            return;
        try {
            LoadReportOptionsFile(chosen->toStdString());
        } catch (const std::exception &) {
            Dialogs().ShowMessage(TDialogKind::Information, CannotLoadText, this);
        }
        UpdateFormFromReportOptions(WorkingOptions);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information, "Error opening Report Options  windows.\r", this);
    }
}

} // namespace tessaran
