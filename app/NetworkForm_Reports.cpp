// The main window's PDF commands: the system drawing and the customised
// report with its options dialog.

#include "app/Maker_Addresses.h"
#include "app/NetworkForm.h"
#include "app/Pdf_Reports.h"
#include "app/Report_Options_Form.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Pump_Data_Form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

namespace tessaran {

void TNetworkForm::createReportCommands()
{
    QMenu *reports = menuBar()->findChild<QMenu *>("Reports1");
    if (!reports)
        reports = menuBar()->addMenu("&Reports");
    CreatePDFSystemDrawing = reports->addAction("Create PDF - System Drawing");
    CreatePDFSystemDrawing->setObjectName("CreatePDFSystemDrawing");
    connect(CreatePDFSystemDrawing, &QAction::triggered, this, &TNetworkForm::CreatePDFSystemDrawingClick);
    CreatePDFCustomizedReport->setText("Create PDF - Customized Report");
    connect(CreatePDFCustomizedReport, &QAction::triggered, this, &TNetworkForm::CreatePDFCustomizedReportClick);
    connect(BitBtnResultsPDF, &QPushButton::clicked, this, &TNetworkForm::CreatePDFCustomizedReportClick);
    // The pump editor's data sheet: our folder and addresses.
    TPumpDataForm::PumpSheetFolder = [] { return GetTempFolderPath(); };
    TPumpDataForm::PumpSheetAddresses = {MakerWebAddress, MakerSupportEmail, PdfViewerWebAddress};
}

TPdfReports &TNetworkForm::PdfReports()
{
    if (!pdfReports_)
        pdfReports_ = std::make_shared<TPdfReports>();
    TPdfReports::TContext &c = pdfReports_->Context;
    c.Network = CurrentNetwork;
    c.NetworkStates = &NetworkStates;
    c.Renderer = MetaFileDrawing.get();
    c.ResultsMode = ResultsMode;
    c.SnapToGrid = [this](int &x, int &y) { CalcSnapToGridXY(x, y); };
    c.RedrawScreen = [this] {
        RefreshScreenImageOnly(true);
        repaintNetworkImage();
    };
    c.WorkGrid = &FormPDFConfig().WorkGrid;
    c.Logo = &FormPDFConfig().Logo;
    c.Parent = this;
    c.CreatePDFPumpSheet = [](TNetwork &network, int pipeId, bool resultsMode, TdePDFEngine &engine, TPump &pump) {
        TPumpDataForm::Instance().CreatePDFPumpSheet(network, pipeId, pump, engine, false, resultsMode);
    };
    return *pdfReports_;
}

TFormPDFConfig &TNetworkForm::FormPDFConfig()
{
    if (!formPDFConfig_)
        formPDFConfig_ = new TFormPDFConfig(this);
    return *formPDFConfig_;
}

bool TNetworkForm::PDFCreateFileSystemDrawing(const std::string &PDFfilename)
{
    return PdfReports().PDFCreateFileSystemDrawing(PDFfilename);
}

bool TNetworkForm::PDFCreateFileSpreadsheetResults(const std::string &PDFfilename,
                                                   const TReportOptions &TheReportOptions)
{
    TPdfReports &reports = PdfReports();
    reports.PDFFirstReportPending = PDFFirstReportPending;
    const bool made = reports.PDFCreateFileSpreadsheetResults(PDFfilename, TheReportOptions);
    PDFFirstReportPending = reports.PDFFirstReportPending;
    return made;
}

void TNetworkForm::CreatePDFSystemDrawingClick()
{
    if (!CurrentNetwork)
        return;
    std::string folder;
    try {
        folder = GetTempFolderPath();
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "Error creating temporary metafile in memory.\r\rPlease check system resources.\r",
                              this);
        return;
    }
    PDFCreateFileSystemDrawing(folder + PDFDrawingFileName(CurrentFilename));
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

void TNetworkForm::CreatePDFCustomizedReportClick()
{
    if (!CurrentNetwork)
        return;
    bool generate = false;
    FormPDFConfig().OpenForm(*CurrentNetwork, generate);
    if (generate) {
        std::string folder;
        try {
            folder = GetTempFolderPath();
            PDFCreateFileSpreadsheetResults(folder + PDFReportFileName(CurrentFilename),
                                            CurrentNetwork->ReportOptions);
        } catch (const std::exception &) {
            Dialogs().ShowMessage(TDialogKind::Information,
                                  "Error creating temporary metafile in memory.\r\rPlease check system resources.\r",
                                  this);
        }
    }
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
    repaintNetworkImage();
}

} // namespace tessaran
