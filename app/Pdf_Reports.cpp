#include "app/Pdf_Reports.h"

#include "app/Maker_Addresses.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "platform/MetafileCanvas.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Form_Message.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tessaran {
namespace {

WideString Wide(const std::string &utf8) { return QString::fromStdString(utf8).toStdU16String(); }

QString Q(const std::string &utf8) { return QString::fromStdString(utf8); }

std::string ChangeExtensionToPdf(const std::string &networkFileName)
{
    std::string name = networkFileName;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name + ".pdf";
}

int ScreenPixelsPerInchNow()
{
    if (QGuiApplication::instance())
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            return static_cast<int>(std::lround(screen->logicalDotsPerInch()));
    return 96;
}

struct TSection {
    bool TReportOptions::*Flag;
    const char *Heading;
    void (TNetwork::*Populate)(TStringGrid &, int, int &) const;
    int N;
    TReportDataColumns TReportOptions::*Columns;
};

// The table sections of the report in the order they appear.
const TSection Sections[] = {
    {&TReportOptions::includeFluidData, "Fluid Data", &TNetwork::PopulateStringGridFluidResults, 10,
     &TReportOptions::fluidDataColumns},
    {&TReportOptions::includePumpData, "Pump Data", &TNetwork::PopulateStringGridPumpResults, 15,
     &TReportOptions::pumpDataColumns},
    {&TReportOptions::includePumpGraph, nullptr, nullptr, 0, nullptr},
    {&TReportOptions::includePipeData, "Pipe Data", &TNetwork::PopulateStringGridPipeSummaryResults, 12,
     &TReportOptions::pipeDataColumns},
    {&TReportOptions::includePipeFactors, "Pipe Factors", &TNetwork::PopulateStringGridPipeFactorResults, 14,
     &TReportOptions::PipeFactorsColumns},
    {&TReportOptions::includePipeMaterials, "Pipe Materials", &TNetwork::PopulateStringGridPipeMaterialResults, 12,
     &TReportOptions::PipeMaterialsColumns},
    {&TReportOptions::includePipeFittings, "Pipe Fittings", &TNetwork::PopulateStringGridFittingResults, 12,
     &TReportOptions::PipeFittingsColumns},
    {&TReportOptions::includeComponents, "Components", &TNetwork::PopulateStringGridComponentResults, 11,
     &TReportOptions::ComponentsColumns},
    {&TReportOptions::includeFCVs, "Flow Control Valves (FCVs)", &TNetwork::PopulateStringGridFCVResults, 9,
     &TReportOptions::FCVsColumns},
    {&TReportOptions::includePRVs, "Pressure Reducing Valves (PRVs)", &TNetwork::PopulateStringGridPRVResults, 8,
     &TReportOptions::PRVsColumns},
    {&TReportOptions::includeBPVs, "Back Pressure Valves (BPVs)", &TNetwork::PopulateStringGridBPVResults, 8,
     &TReportOptions::BPVsColumns},
    {&TReportOptions::includeNodeData, "Node Data", &TNetwork::PopulateStringGridNodeResults, 12,
     &TReportOptions::nodeDataColumns},
    {&TReportOptions::includeEnergyData, "Energy Data", &TNetwork::PopulateStringGridEnergyResults, 11,
     &TReportOptions::energyDataColumns},
};

void Paragraph(TdePDFEngine &engine, const std::string &text)
{
    engine.BeginPara();
    engine.TextOut(Wide(text));
    engine.EndPara();
}

} // namespace

void SetPaperSizeInches(int PaperType, double &Width, double &Height)
{
    static const double sides[6][2] = {{33.1, 46.8}, {23.1, 33.1}, {16.5, 23.4},
                                       {11.7, 16.5}, {8.27, 11.7}, {5.83, 8.27}};
    const int type = PaperType >= 0 && PaperType <= 5 ? PaperType : 0;
    const double shortSide = sides[type][0], longSide = sides[type][1];
    if (Width < Height) {
        Width = shortSide;
        Height = longSide;
    } else {
        Width = longSide;
        Height = shortSide;
    }
}

void ShrinkToFit(double &Width, double &Height, double MaxWidth, double MaxHeight)
{
    double factor = 0.5;
    while (Width > MaxWidth && Width > 0) {
        if (Width * factor < MaxWidth)
            factor = 0.99;
        Width *= factor;
        Height *= factor;
    }
    factor = 0.5;
    while (Height > MaxHeight && Height > 0) {
        if (Height * factor < MaxHeight)
            factor = 0.99;
        Width *= factor;
        Height *= factor;
    }
}

void PDFPageSizeForDrawing(double w, double h, TPageOrientation Orientation, double &PageWidth, double &PageHeight)
{
    const double r = h > 0 ? w / h : 1.414213562;
    switch (Orientation) {
    case PageOrientationAuto:
        if (w >= h && r < 1.414213562)
            w = 1.414213562 * h;
        else if (w > h && r > 1.414213562)
            h = 0.70710678 * w;
        else if (w < h && r < 0.70710678)
            w = 0.70710678 * h;
        else if (w <= h && r > 0.70710678)
            h = 1.414213562 * w;
        break;
    case PageOrientationPortrait:
        if (r < 0.70710678)
            w = 0.70710678 * h;
        else
            h = w / 0.70710678;
        break;
    case PageOrientationLandscape:
        if (r < 1.414213562)
            w = 1.414213562 * h;
        else
            h = w / 1.414213562;
        break;
    }
    if (w >= h) {
        PageWidth = 16.5;
        PageHeight = 11.7;
    } else {
        PageWidth = 11.7;
        PageHeight = 16.5;
    }
}

int PDFGetNumDataCols(const TReportDataColumns &TheDataColumns)
{
    for (int i = 0; i < static_cast<int>(TheDataColumns.size()); ++i)
        if (TheDataColumns[static_cast<std::size_t>(i)] == -1)
            return i;
    return static_cast<int>(TheDataColumns.size());
}

std::string PDFHeaderText(const TReportOptions &Options)
{
    std::string text;
    if (Options.includeCompanyName)
        text += Options.companyName + "  -  ";
    if (Options.includeProjectName)
        text += Options.projectName + "  -  ";
    if (Options.includeEngineerRef)
        text += Options.engineerRef + "  -  ";
    return text.size() >= 5 ? text.substr(0, text.size() - 5) : std::string();
}

std::string GetTempFolderPath()
{
    const std::string base = QDir::tempPath().toStdString();
    const std::string folder = base + "/tessaran-pdf-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("Cannot create the folder " + folder + ": " + std::strerror(errno));
    struct stat info {};
    // Not followed through a link: the folder must be a real one of our own.
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        throw std::runtime_error("The folder " + folder + " is not this user's own");
    if ((info.st_mode & 0077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        throw std::runtime_error("Cannot make the folder " + folder + " private");
    return folder + "/";
}

std::string PDFReportFileName(const std::string &NetworkFileName) { return ChangeExtensionToPdf(NetworkFileName); }

std::string PDFDrawingFileName(const std::string &NetworkFileName)
{
    return "TRZ_IMG_" + ChangeExtensionToPdf(NetworkFileName);
}

TPdfReports::TPdfReports()
{
    // The engine's settings that every document starts from.
    dePDFEngine1.SetInputXRes(96);
    dePDFEngine1.SetInputYRes(96);
    dePDFEngine1.SetReferencePoint(TdeReferencePoint::rpBand);
    dePDFEngine1.Font().Name = "Arial";
    dePDFEngine1.Font().SetHeight(-12);
    dePDFEngine1.ImageSettings().SourceDPI = 96;
    dePDFEngine1.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifJPEG);
    dePDFEngine1.Page().SetPaperSize(TdePaperSize::A3);
    dePDFEngine1.SetFontEncoding(TdePDFFontEncoding::feWinAnsiEncoding);
    dePDFEngine1.Compression().Level = TdeCompressionLevel::clNormal;
    dePDFEngine1.DocInfo().SetSubject(u"Pipe network design and results");
    dePDFEngine1.DocInfo().SetCreator(u"Tessaran");
    dePDFEngine1.DocInfo().SetTitle(u"Tessaran Pipe Network Report");
    dePDFEngine1.DocInfo().SetKeywords(u"Tessaran, pipe network, flow, pressure");
    dePDFEngine1.OnBeforeBeginPage = [this](TdeBaseComponent *) { dePDFEngine1BeforeBeginPage(); };
    dePDFEngine1.OnAfterBeginPage = [this](TdeBaseComponent *) { dePDFEngine1AfterBeginPage(); };
}

void TPdfReports::redraw()
{
    if (Context.RedrawScreen)
        Context.RedrawScreen();
}

void TPdfReports::openWithViewer(const std::string &path)
{
    if (Dialogs().OpenWithDesktop(Q(path)))
        return;
    Dialogs().ShowMessage(TDialogKind::Information,
                          QString("Cannot find a PDF viewer, which is required to view PDF files.\r\rVisit ") +
                              PdfViewerWebAddress +
                              " to download a free PDF viewer.\r\rOnce you have a PDF viewer the customized PDF "
                              "file will open automatically\r\rFor now the PDF report file has been saved to:\r\r" +
                              Q(path) + "\r",
                          Context.Parent);
}

void TPdfReports::PDFGenerateMetaFile(TMetafile &PDFMetafile)
{
    TNetwork &network = *Context.Network;
    TNetworkStates &states = *Context.NetworkStates;
    auto selectAll = [&] {
        int minX, minY, maxX, maxY;
        network.GetMinMaxXY(minX, minY, maxX, maxY, false);
        states.SelectionStartX = minX;
        states.SelectionStartY = minY;
        states.SelectionEndX = maxX;
        states.SelectionEndY = maxY;
        network.SetSelectedItems(states);
        return std::array<int, 4>{minX, minY, maxX, maxY};
    };
    try {
        int X0 = 0, Y0 = 0;
        Context.SnapToGrid(X0, Y0);
        auto [MinX, MinY, MaxX, MaxY] = selectAll();
        Context.SnapToGrid(MinX, MinY);
        const int dx = X0 - MinX, dy = Y0 - MinY;
        network.MoveSelectedNodes(dx, dy);
        network.MoveAllBackgroundImages(dx, dy);
        network.DeselectItems();
        // Every way out of the render moves the items back where they were.
        auto moveBack = [&] {
            selectAll();
            network.MoveSelectedNodes(-dx, -dy);
            network.MoveAllBackgroundImages(-dx, -dy);
            network.DeselectItems();
        };
        int W = 0, H = 0;
        try {
            Context.Renderer->DrawMetaFileFromNetwork(network, states, Context.ResultsMode,
                                                      network.ReportOptions.showGridLines, false, 0, false);
            W = MaxX - MinX + X0;
            H = MaxY - MinY + Y0;
            if (W < 1)
                W = 18060;
            if (H < 1)
                H = 12020;
            PDFMetafile.Clear();
            PDFMetafile.Width = W + 1;
            PDFMetafile.Height = H + 1;
            TMetafileCanvas canvas(PDFMetafile);
            canvas.IntersectClipRect(TRect{0, 0, W + X0, H + Y0});
            const TMetafile &drawing = Context.Renderer->MetaFile;
            canvas.StretchDraw(TRect{0, 0, drawing.Width, drawing.Height}, drawing);
            canvas.Close();
        } catch (...) {
            moveBack();
            throw;
        }
        moveBack();
        redraw();
    } catch (const std::exception &) {
        redraw();
        Dialogs().ShowMessage(TDialogKind::Information,
                              QString("Error occured while generated internal PDF Metafile.\r\rPlease report to ") +
                                  MakerSupportEmail,
                              Context.Parent);
    }
}

void TPdfReports::PDFSetUpPDFEngineAndVariables(const TReportOptions &TheReportOptions,
                                                const std::string &PDFfilename, const TMetafile &PDFMetaFile)
{
    TdePDFEngine &e = dePDFEngine1;
    pageOptions_ = TheReportOptions;
    try {
        e.SetFileName(PDFfilename);
        e.Preferences().SetShowSetupDialog(false);
        e.Preferences().ActiveHyperLinks = true;
        e.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfFull;
        e.Preferences().SetOpenAfterCreate(false);
        e.ViewerPreferences().CenterWindow = true;
        e.ViewerPreferences().FitWindow = false;
        e.ViewerPreferences().PageLayout = TdePageLayout::plOneColumn;
        e.ViewerPreferences().NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseThumbs;
        e.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifBMP);
        e.ImageSettings().JPEGQuality = 100;
        e.DocInfo().SetAuthor(Wide(TheReportOptions.companyName));
        e.SetMeasurementUnit(TdeUnitType::muInches);
        e.Compression().Level = TdeCompressionLevel::clFastest;
        e.Page().SetPaperSize(TdePaperSize::Custom);
        e.Page().SetHeaderHeight(0.8);
        e.Page().SetFooterHeight(0.8);
        e.Preferences().SetProcessAfterEachPage(true);
        e.Page().SetLeftMargin(0.8);
        e.Page().SetRightMargin(0.8);
        e.Page().SetBottomMargin(0.5);
        e.Page().SetTopMargin(0.5);
        e.SetInputXRes(ScreenPixelsPerInchNow());
        e.SetInputYRes(ScreenPixelsPerInchNow());
        double pageWidth = 16.5, pageHeight = 11.7;
        PDFPageSizeForDrawing(PDFMetaFile.Width, PDFMetaFile.Height, TheReportOptions.pageOrientation, pageWidth,
                              pageHeight);
        e.Page().SetWidth(pageWidth);
        e.Page().SetHeight(pageHeight);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QString("Exception in: PDFSetUpPDFEngine.\r\rPlease report this to ") +
                                  MakerSupportEmail,
                              Context.Parent);
    }
}

void TPdfReports::PDFAddBackgroundImagesSystemDrawing(double xStartInches, double yStartInches, double xEndInches,
                                                      double yEndInches, int MetaFileWidth, int MetaFileHeight)
{
    TNetwork &network = *Context.Network;
    TdePDFEngine &e = dePDFEngine1;
    if (MetaFileWidth <= 0 || MetaFileHeight <= 0)
        return;
    const double left0 = xStartInches + e.Page().LeftMargin();
    const double top0 = yStartInches + e.Page().TopMargin() + e.Page().HeaderHeight();
    const double xScale = (xEndInches - xStartInches) / MetaFileWidth;
    const double yScale = (yEndInches - yStartInches) / MetaFileHeight;
    for (int layer = 3; layer >= 1; --layer)
        for (int i = 1; i <= network.BackgroundImagesCount; ++i) {
            const TBackgroundImage &image = network.BackgroundImages[static_cast<std::size_t>(i)];
            if (image.HideImage || image.DisplayLayer != layer || !image.BitmapAdjusted ||
                image.BitmapAdjusted->Width() <= 0)
                continue;
            TdePicture picture;
            picture.Format = "jpeg";
            picture.Data = EncodeJpeg(*image.BitmapAdjusted, 100, false);
            picture.Width = image.BitmapAdjusted->Width();
            picture.Height = image.BitmapAdjusted->Height();
            const TdeRect rect =
                MakeDocRect(left0 + image.OrigX * xScale, top0 + image.Origy * yScale,
                            left0 + (image.OrigX + image.ImageStretchWidth - 1) * xScale,
                            top0 + (image.Origy + image.ImageStretchHeight - 1) * yScale);
            e.DrawJPEGDirect(rect, picture);
        }
}

void TPdfReports::AddKeyToMetaFile(TMetafile &TheMetafile)
{
    if (!Context.ResultsMode)
        return;
    TheMetafile.Clear();
    TheMetafile.Width = 1000;
    TheMetafile.Height = 100;
    TMetafileCanvas canvas(TheMetafile);
    canvas.IntersectClipRect(TRect{0, 0, 1000, 100});
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    DrawFilledRectangle(canvas, 0, 0, 400, 100, clWhite);
    DrawStyledRectangle(canvas, 0, 0, 390, 100, clBlack, TPenStyle::psSolid, TBrushStyle::bsClear);
    DrawCanvasText(canvas, 10, 4, "Tessaran Results Key", clBlack, 18);
    DrawCanvasText(canvas, 20, 51, Context.ResultsKeyText, clBlack, 18);
    canvas.Close();
}

double TPdfReports::PDFGetCalculatedTableRowHeight(const std::string &AString, double AColWidth, const TFont &AFont)
{
    TdePDFEngine &e = dePDFEngine1;
    const WideString text = Wide(AString);
    std::vector<WideString> lines;
    const double nativeWidth = AColWidth * e.NativeConversionFactor();
    e.SplitTextToWidth(text, lines, AFont, false, nativeWidth, nativeWidth);
    double height = static_cast<double>(lines.size()) * e.TextHeight(text);
    if (text.size() > 15)
        height *= static_cast<double>(text.size() / 15);
    return height;
}

void TPdfReports::PDFTableInsertRowTitleFields(std::vector<TdeColumn> &List1, const TStringGrid &TheStringGrid,
                                               const TReportDataColumns &TheDataColumns)
{
    const int n = PDFGetNumDataCols(TheDataColumns);
    for (int i = 0; i < n && i < static_cast<int>(List1.size()); ++i) {
        const int c = TheDataColumns[static_cast<std::size_t>(i)];
        if (c < 0)
            continue;
        List1[static_cast<std::size_t>(i)].Title = Wide(TheStringGrid.Cell(c, 0) + " " + TheStringGrid.Cell(c, 1));
        List1[static_cast<std::size_t>(i)].Alignment = TdeHAlignment::haGeneral;
    }
}

void TPdfReports::PDFTableInsertFromStringGrid(const TStringGrid &TheStringGrid,
                                               const TReportDataColumns &TheDataColumns)
{
    TdePDFEngine &e = dePDFEngine1;
    const int n = PDFGetNumDataCols(TheDataColumns);
    // A list that starts with its end marker chooses no columns: no table.
    if (n == 0)
        return;
    std::vector<TdeColumn> *columns = e.BeginTable(0, 1.0, n);
    if (!columns)
        return;
    PDFTableInsertRowTitleFields(*columns, TheStringGrid, TheDataColumns);
    double space = 1000;
    for (int r = 2; r < TheStringGrid.RowCount(); ++r) {
        bool empty = true;
        for (int c = 0; c < n && empty; ++c)
            empty = TheStringGrid.Cell(c, r).empty();
        if (empty)
            break;
        double rowHeight = 0;
        for (int i = 0; i < n; ++i) {
            const double width = i < static_cast<int>(columns->size()) ? (*columns)[static_cast<std::size_t>(i)].Width
                                                                        : e.TableSettings().ColumnWidth();
            rowHeight = std::max(rowHeight, PDFGetCalculatedTableRowHeight(
                                                TheStringGrid.Cell(TheDataColumns[static_cast<std::size_t>(i)], r),
                                                width / e.NativeConversionFactor(), e.Font()));
        }
        if (1.1 * rowHeight < space - e.Page().FooterHeight()) {
            space = e.NewRow();
        } else {
            e.EndTable();
            const int fontSize = e.Font().Size;
            e.NewPage();
            e.Font().Size = fontSize;
            e.Font().Color = clBlack;
            e.Pen().Color = clBlack;
            columns = e.BeginTable(0, 0, n);
            if (!columns)
                return;
            PDFTableInsertRowTitleFields(*columns, TheStringGrid, TheDataColumns);
            space = e.NewRow();
        }
        for (int i = 0; i < n; ++i)
            e.TextOut(i, Wide(TheStringGrid.Cell(TheDataColumns[static_cast<std::size_t>(i)], r)));
    }
    e.EndTable();
}

void TPdfReports::PDFPumpSheetsInsert()
{
    if (!Context.CreatePDFPumpSheet)
        return;
    TNetwork &network = *Context.Network;
    const TConfigOptions &options = network.ConfigOptions;
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        const int pipeId = network.GetNodeLink(i).PipeId;
        TPipe &pipe = network.GetPipe(pipeId);
        if (pipe.PumpCount <= 0 || !pipe.PumpUseInCalc || pipe.Pump.PumpType != PumpFixedSpeed)
            continue;
        const TUnit flowUnit = pipe.Pump.PumpPoints.FlowDisplayUnit;
        const TUnit headUnit = pipe.Pump.PumpPoints.HeadDisplayUnit;
        if (Context.ResultsMode) {
            pipe.Pump.PumpPoints.FlowDisplayUnit =
                options.ShowPipeMassFlowRate || options.ShowPipeGasFlowRate ? options.UnitOfMassFlow
                                                                             : options.UnitOfFlow;
            pipe.Pump.PumpPoints.HeadDisplayUnit = options.UnitOfPressureLoss;
        }
        try {
            Context.CreatePDFPumpSheet(network, pipeId, Context.ResultsMode, dePDFEngine1, pipe.Pump);
        } catch (...) {
            pipe.Pump.PumpPoints.FlowDisplayUnit = flowUnit;
            pipe.Pump.PumpPoints.HeadDisplayUnit = headUnit;
            throw;
        }
        pipe.Pump.PumpPoints.FlowDisplayUnit = flowUnit;
        pipe.Pump.PumpPoints.HeadDisplayUnit = headUnit;
    }
}

void TPdfReports::dePDFEngine1BeforeBeginPage()
{
    IdeDocumentEngine &e = dePDFEngine1;
    e.ClearHeader();
    e.ClearFooter();
}

void TPdfReports::dePDFEngine1AfterBeginPage()
{
    IdeDocumentEngine &e = dePDFEngine1;
    const TReportOptions &o = pageOptions_;
    if (dePDFEngine1.CurrentPage() == 1 && o.includeCoverSheet)
        return;
    const double textWidth = e.Page().Width() - e.Page().LeftMargin() - e.Page().RightMargin();
    e.BeginHeader();
    e.Font().Name = "Verdana";
    e.Font().Size = 10;
    e.Font().Color = clBlack;
    e.TextOut(0, e.Page().HeaderHeight() / 2, Wide(PDFHeaderText(o)));
    if (o.includeDate) {
        e.Font().Size = 8;
        const QString date = QLocale::c().toString(QDate::currentDate(), "dd MMMM, yyyy");
        e.TextOut(textWidth - 1.5, e.Page().HeaderHeight() / 2, date.toStdU16String());
    }
    e.EndHeader();
    e.BeginFooter();
    e.Font().Name = "Verdana";
    e.Font().Size = 8;
    e.Font().Color = clBlack;
    e.TextOut(0, e.Page().FooterHeight() / 1.5, Wide(std::string("Designed using Tessaran from ") + MakerWebAddress));
    const std::string page = "Page " + std::to_string(dePDFEngine1.CurrentPage());
    if (o.includePageNumber && o.includePageCount)
        e.TextOut(textWidth - 1.5, e.Page().FooterHeight() / 1.5,
                  Wide(page + " of " + std::to_string(dePDFEngine1.PageCount())));
    else if (o.includePageNumber)
        e.TextOut(textWidth - 1, e.Page().FooterHeight() / 1.5, Wide(page));
    e.EndFooter();
}

bool TPdfReports::PDFCreateFileSystemDrawing(const std::string &PDFfilename)
{
    TdePDFEngine &e = dePDFEngine1;
    TMetafile metafile;
    bool made = false;
    try {
        metafile.SetBytes(TMetafile::EmptyPicture(1, 1));
        PDFGenerateMetaFile(metafile);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "Error creating temporary metafile in memory.\r\rPlease check system resources.\r",
                              Context.Parent);
        return false;
    }
    try {
        PDFSetUpPDFEngineAndVariables(Context.Network->ReportOptions, PDFfilename, metafile);
        double pageWidth = e.Page().Width(), pageHeight = e.Page().Height();
        SetPaperSizeInches(0, pageWidth, pageHeight);
        e.Page().SetWidth(pageWidth);
        e.Page().SetHeight(pageHeight);
        e.BeginDoc();
        try {
            double w = metafile.Width, h = metafile.Height;
            ShrinkToFit(w, h, 0.8 * pageWidth, 0.8 * pageHeight);
            const double x0 = (pageWidth - w) / 2;
            const double y0 = (pageHeight - (e.Page().HeaderHeight() + e.Page().FooterHeight() + h)) / 2;
            e.PlayMetafile(MakeDocRect(x0, y0, x0 + w, y0 + h), metafile);
            PDFAddBackgroundImagesSystemDrawing(x0, y0, x0 + w, y0 + h, metafile.Width, metafile.Height);
        } catch (...) {
            e.EndDoc();
            throw;
        }
        e.EndDoc();
        made = true;
    } catch (const std::exception &) {
        redraw();
        Dialogs().ShowMessage(TDialogKind::Information,
                              "Error creating temporary metafile:\r\r" + Q(PDFfilename) + "\r\r" +
                                  "Please check that the PDF file is not already open in a separate window." + "\r",
                              Context.Parent);
        return false;
    }
    openWithViewer(PDFfilename);
    return made;
}

bool TPdfReports::PDFCreateFileSpreadsheetResults(const std::string &PDFfilename,
                                                  const TReportOptions &TheReportOptions)
{
    TdePDFEngine &e = dePDFEngine1;
    TMetafile metafile, keyMetafile;
    keyMetafile.SetBytes(TMetafile::EmptyPicture(1000, 100));
    keyMetafile.Width = 1000;
    keyMetafile.Height = 100;
    std::optional<TFormMessageShown> pleaseWait;
    try {
        metafile.SetBytes(TMetafile::EmptyPicture(1, 1));
        PDFGenerateMetaFile(metafile);
        pleaseWait.emplace(
            "Creating PDF. Please wait...\r\r\rAfter the PDF is opened, on the top menu\r\r  Select  View -> "
            "Show/Hide -> Rulers & Grids -> Line Weights\r\rto remove thick line weights from PDF default settings.",
            Context.Parent);
        QApplication::processEvents();
        QThread::msleep(static_cast<unsigned long>(PleaseWaitMilliseconds));
        if (PDFFirstReportPending) {
            QThread::msleep(static_cast<unsigned long>(PleaseWaitMilliseconds));
            PDFFirstReportPending = false;
        }

        PDFSetUpPDFEngineAndVariables(TheReportOptions, PDFfilename, metafile);
        double PW = e.Page().Width(), PH = e.Page().Height();
        SetPaperSizeInches(3, PW, PH);
        double w = metafile.Width, h = metafile.Height;
        ShrinkToFit(w, h, 0.7 * PW, 0.7 * PH);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct TCursorBack {
            ~TCursorBack() { QApplication::restoreOverrideCursor(); }
        } cursorBack;
        e.BeginDoc();
        try {
            const TReportOptions &o = TheReportOptions;
            if (o.includeCoverSheet) {
                TdeTextFormatting &format = e.TextFormatting();
                format.Alignment = TdeHAlignment::haCenter;
                format.SetBeforeSpace(1);
                format.SetLeftIndent(0.1);
                format.LineSpacing = 1.5;
                format.SetFirstLineIndent(0.2);
                format.SetRightIndent(0.1);
                e.Pen().Color = TColor(0x808080);
                e.Pen().Width = 1;
                e.Brush().Color = clWhite;
                if (Context.Logo && !Context.Logo->Empty()) {
                    double lw = Context.Logo->Width() / 72.0, lh = Context.Logo->Height() / 72.0;
                    if (PW - 3 < lw && lw > 0) {
                        const double f = (PW / 2) / lw;
                        lw *= f;
                        lh *= f;
                    }
                    if (PH / 2.5 < lh && lh > 0) {
                        const double f = (PH / 2.5) / lh;
                        lw *= f;
                        lh *= f;
                    }
                    const double x = (PW - e.Page().LeftMargin() - e.Page().RightMargin() - lw) / 2;
                    const double y = e.Page().TopMargin() + 0.04 * PH;
                    TdeImageSettings &image = e.ImageSettings();
                    image.Autosize = false;
                    image.IsFrame = false;
                    e.Frame().IsLeft = false;
                    image.SetOutputImageFormat(TdeOutputImageFormat::ifJPEG);
                    image.Stretch = true;
                    image.Center = true;
                    image.KeepAspectRatio = true;
                    image.SourceDPI = 72;
                    TdePicture logo;
                    logo.Format = "jpeg";
                    logo.Data = Context.Logo->SaveToBytes();
                    logo.Width = Context.Logo->Width();
                    logo.Height = Context.Logo->Height();
                    e.DrawImage(MakeDocRect(x, y, x + lw, y + lh), logo);
                }
                e.Rectangle(0.25, 0, PW - e.Page().LeftMargin() - e.Page().RightMargin() - 0.25,
                            PH - (e.Page().TopMargin() + e.Page().HeaderHeight() + e.Page().BottomMargin() +
                                  e.Page().FooterHeight()),
                            false);
                e.Font().Name = "Verdana";
                e.Font().Color = clBlack;
                e.Font().Size = static_cast<int>(2 * PW);
                format.SetBeforeSpace(0.5 * PH);
                Paragraph(e, " ");
                format.SetBeforeSpace(0);
                Paragraph(e, o.title);
                e.Font().Size = static_cast<int>(1.5 * PW);
                Paragraph(e, o.subtitle);
                e.NewPage();
            }

            // The drawing page.
            e.ImageSettings().SourceDPI = 300;
            e.Pen().Color = TColor(0x808080);
            e.Pen().Width = 1;
            e.Pen().Style = TPenStyle::psSolid;
            e.Brush().Color = clWhite;
            e.Brush().Style = TBrushStyle::bsClear;
            AddKeyToMetaFile(keyMetafile);
            e.Pen().Width = 0;
            e.PlayMetafile(MakeDocRect(0.5, 1.0, 0.5 + w, 1.0 + h), metafile);
            PDFAddBackgroundImagesSystemDrawing(0.5, 1.0, 0.5 + w, 1.0 + h, metafile.Width, metafile.Height);
            e.PlayMetafile(MakeDocRect(0.7 * PW - 3, 0, 0.7 * PW, 0.3), keyMetafile);

            // The tables.
            const int TF = PH >= PW ? 8 : static_cast<int>(8 * 1.25);
            TdeTableSettings &table = e.TableSettings();
            table.AutoAdjustColumnWidth = false;
            table.SetRowHeight((PH - e.Page().TopMargin() - e.Page().BottomMargin() - 2) / 42);
            table.EnableTitle = true;
            table.SetTitleHeight(table.RowHeight() + 0.1);
            table.SetInternalMargin(MakeDocRect(0.05, 0.02, 0, 0));
            e.TextFormatting().SetBeforeSpace(0.1);
            e.TextFormatting().Alignment = TdeHAlignment::haLeft;
            TStringGrid ownGrid(26, 3);
            TStringGrid &grid = Context.WorkGrid ? *Context.WorkGrid : ownGrid;
            for (const TSection &section : Sections) {
                if (!(o.*section.Flag))
                    continue;
                if (!section.Heading) {
                    PDFPumpSheetsInsert();
                    continue;
                }
                e.NewPage();
                e.Font().Size = static_cast<int>(1.5 * PW);
                Paragraph(e, section.Heading);
                grid.Clear();
                int finishRow = 0;
                (Context.Network->*section.Populate)(grid, 0, finishRow);
                table.SetColumnWidth((PW - e.Page().LeftMargin() - e.Page().RightMargin()) / (section.N + 0.2));
                e.Font().Size = TF;
                PDFTableInsertFromStringGrid(grid, o.*section.Columns);
            }

            if (o.includeLogInfo) {
                TResultsLog log;
                Context.Network->SolveLogSummary(log, true, true);
                std::string text;
                for (std::size_t i = 0; i < log.Lines.size(); ++i)
                    text += (i ? "\r\n" : "") + log.Lines[i];
                e.NewPage();
                e.Font().Size = static_cast<int>(1.5 * PW);
                Paragraph(e, "Results Log Summary");
                e.Font().Size = TF - 2;
                Paragraph(e, text);
            }
        } catch (...) {
            e.EndDoc();
            throw;
        }
        e.EndDoc();
    } catch (const std::exception &) {
        redraw();
        pleaseWait.reset();
        Dialogs().ShowMessage(
            TDialogKind::Information,
            "Error occured while generating customized PDF report document:\r\r" + Q(PDFfilename) + "\r\r" +
                "It may be that the file is already open and locked from updating. " + "\r\r" +
                "PLEASE CHECK THE PDF FILE IS NOT ALREADY OPEN and close it if it is." + "\r\r" +
                "If you still have an issue then report the problem to " + MakerSupportEmail + "\r\r" +
                "Email us your .trz system file and details of the report you are trying to produce " +
                "and we will investigate this issue." + "\r",
            Context.Parent);
        return false;
    }
    redraw();
    pleaseWait.reset();
    openWithViewer(PDFfilename);
    return true;
}

} // namespace tessaran
