// The PDF pump data sheet: four framed boxes of the pump's data and a data
// point, and the pump's chart below them, on one page of its own document
// or added to the report another engine is building.

#include "pumps/Pump_Pdf_Sheet.h"
#include "pumps/Pump_Data_Form.h"

#include <cmath>
#include <stdexcept>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "docexport/Pdf_Ex_Engine.h"
#include "model/Fluid_Class.h"
#include "model/Pipe_Class.h"
#include "network/Network_Class.h"
#include "platform/Jpeg_Image.h"
#include "platform/Metafile.h"
#include "platform/MetafileCanvas.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

WideString Wide(const std::string &utf8) { return QString::fromStdString(utf8).toStdU16String(); }
QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr double RootTwo = 1.414213562;
constexpr double OverRootTwo = 0.70710678;

int screenPixelsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
    return dpi > 0 ? dpi : 96;
}

// Restores the pump's display units on every way out of the sheet.
class TDisplayUnitsKept {
public:
    explicit TDisplayUnitsKept(TPump &pump)
        : pump_(pump), flow_(pump.PumpPoints.FlowDisplayUnit), head_(pump.PumpPoints.HeadDisplayUnit)
    {
    }
    ~TDisplayUnitsKept()
    {
        pump_.PumpPoints.FlowDisplayUnit = flow_;
        pump_.PumpPoints.HeadDisplayUnit = head_;
    }
    TDisplayUnitsKept(const TDisplayUnitsKept &) = delete;
    TDisplayUnitsKept &operator=(const TDisplayUnitsKept &) = delete;

private:
    TPump &pump_;
    TUnit flow_, head_;
};

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void PdfPageSizeFromMetafile(const TMetafile &Metafile, int XPixelsPerInch, int YPixelsPerInch, int Orientation,
                             double &Width, double &Height)
{
    Width = static_cast<double>(Metafile.Width) / (XPixelsPerInch > 0 ? XPixelsPerInch : 96);
    Height = static_cast<double>(Metafile.Height) / (YPixelsPerInch > 0 ? YPixelsPerInch : 96);
    // An empty picture gives a square page rather than a division by zero.
    if (!(Width > 0) || !(Height > 0))
        Width = Height = 1;
    const double r = Width / Height;
    switch (Orientation) {
    case 0:
        if (Width >= Height && r < RootTwo)
            Width = Height * RootTwo;
        else if (Width > Height && r > RootTwo)
            Height = Width * OverRootTwo;
        else if (Width < Height && r < OverRootTwo)
            Width = Height * OverRootTwo;
        else if (Width <= Height && r > OverRootTwo)
            Height = Width * RootTwo;
        break;
    case 1:
        if (r < OverRootTwo)
            Width = Height * OverRootTwo;
        else
            Height = Width / OverRootTwo;
        break;
    case 2:
        if (r < RootTwo)
            Width = Height * RootTwo;
        else
            Height = Width / RootTwo;
        break;
    default:
        break;
    }
    if (Width >= Height) {
        Height = Height * 16.5 / Width;
        Width = 16.5;
    } else {
        Width = Width * 16.5 / Height;
        Height = 16.5;
    }
}

void ShrinkPageToFit(double &A, double &B, double MaxA, double MaxB)
{
    // Bounds of 0 or less would never be met.
    if (!(MaxA > 0) || !(MaxB > 0) || !std::isfinite(A) || !std::isfinite(B))
        return;
    while (A > MaxA) {
        A *= 0.99;
        B *= 0.99;
    }
    while (B > MaxB) {
        A *= 0.99;
        B *= 0.99;
    }
}

const std::vector<std::uint8_t> &PumpSheetLogoJpeg()
{
    static const std::vector<std::uint8_t> jpeg = [] {
        QImage logo(PumpSheetLogoWidth, PumpSheetLogoHeight, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QPainter painter(&logo);
        painter.setRenderHint(QPainter::Antialiasing);
        // A pump impeller's circle and the program's name beside it.
        painter.setPen(QPen(QColor(0, 70, 140), 8));
        painter.drawEllipse(QRect(14, 14, 99, 99));
        painter.setBrush(QColor(0, 70, 140));
        painter.drawEllipse(QRect(50, 50, 27, 27));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(78);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(135, 0, 465, 127), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tessaran"));
        painter.end();
        return EncodeJpeg(FromQImage(logo), 90, false);
    }();
    return jpeg;
}

// --- the editor's commands and engine --------------------------------------------------

void TPumpDataForm::connectPdfSheet()
{
    dePDFEngine1 = std::make_unique<TdePDFEngine>();
    TdePDFEngine &e = *dePDFEngine1;
    e.SetFileExtension("pdf");
    e.SetInputXRes(96);
    e.SetInputYRes(96);
    e.SetReferencePoint(TdeReferencePoint::rpBand);
    e.Font().Name = "Tahoma";
    e.Font().SetHeight(-11);
    e.ImageSettings().SourceDPI = 96;
    e.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifJPEG);
    e.SetFontEncoding(TdePDFFontEncoding::feWinAnsiEncoding);
    e.OnBeforeBeginPage = [this](TdeBaseComponent *) { dePDFEngine1BeforeBeginPage(); };
    e.OnAfterBeginPage = [this](TdeBaseComponent *) { dePDFEngine1AfterBeginPage(); };

    connect(CreatePDFPumpSheet1, &QAction::triggered, this, [this] { CreatePDFPumpSheet1Click(); });
    connect(ToolButtonPDF, &QToolButton::clicked, this, [this] { CreatePDFPumpSheet1Click(); });
    connect(BitBtnCreatePumpSheet, &QPushButton::clicked, this, [this] { CreatePDFPumpSheet1Click(); });
}

void TPumpDataForm::CreatePDFPumpSheet1Click()
{
    if (!network_)
        return;
    CreatePDFPumpSheet(*network_, pipeId_, EditedPump, *dePDFEngine1, true, resultsMode_);
}

void TPumpDataForm::dePDFEngine1BeforeBeginPage()
{
    IdeDocumentEngine &e = *dePDFEngine1;
    e.ClearHeader();
    e.ClearFooter();
}

void TPumpDataForm::dePDFEngine1AfterBeginPage()
{
    IdeDocumentEngine &e = *dePDFEngine1;
    e.BeginHeader();
    TdeImageSettings &image = e.ImageSettings();
    image.Autosize = false;
    image.IsFrame = false;
    image.SetOutputImageFormat(TdeOutputImageFormat::ifJPEG);
    image.Stretch = true;
    image.Center = true;
    image.KeepAspectRatio = true;
    image.SourceDPI = 300;
    e.Frame().IsLeft = false;
    const double bandWidth = e.Page().Width() - e.Page().LeftMargin() - e.Page().RightMargin();
    TdePicture logo;
    logo.Format = "jpeg";
    logo.Data = PumpSheetLogoJpeg();
    logo.Width = PumpSheetLogoWidth;
    logo.Height = PumpSheetLogoHeight;
    const double L = bandWidth - 2.0;
    e.DrawImage(MakeDocRect(L, 0, L + PumpSheetLogoWidth / 300.0, PumpSheetLogoHeight / 300.0), logo);
    e.Font().Name = "Verdana";
    e.Font().Size = 10;
    e.Font().Color = clBlack;
    e.Font().Style = TFontStyles{};
    e.TextOut(0, 0.1, u"PUMP DATA SHEET generated using Tessaran software");
    e.TextOut(bandWidth - 1.5, 0.4, Wide(PumpSheetAddresses.WebAddress));
    e.EndHeader();
}

void TPumpDataForm::PDFSetUpPDFEngineAndVariables(TdePDFEngine &e, const std::string &PDFfilename,
                                                  const TMetafile &PDFMetaFile)
{
    try {
        e.SetFileName(PDFfilename);
        e.Preferences().SetShowSetupDialog(false);
        e.Preferences().ActiveHyperLinks = true;
        e.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfFull;
        e.Preferences().SetOpenAfterCreate(false);
        e.Preferences().SetProcessAfterEachPage(true);
        e.ViewerPreferences().CenterWindow = true;
        e.ViewerPreferences().FitWindow = false;
        e.ViewerPreferences().PageLayout = TdePageLayout::plOneColumn;
        e.ViewerPreferences().NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseThumbs;
        e.DocInfo().SetAuthor(u"Created using Tessaran");
        e.SetMeasurementUnit(TdeUnitType::muInches);
        e.Compression().Level = TdeCompressionLevel::clNormal;
        e.Page().SetPaperSize(TdePaperSize::Custom);
        e.Page().SetHeaderHeight(0.8);
        e.Page().SetFooterHeight(0.8);
        e.Page().SetLeftMargin(0.8);
        e.Page().SetRightMargin(0.8);
        e.Page().SetTopMargin(0.5);
        e.Page().SetBottomMargin(0.5);
        const int dpi = screenPixelsPerInch();
        e.SetInputXRes(dpi);
        e.SetInputYRes(dpi);
        // Portrait, from the picture with its margins.
        double w = static_cast<double>(PDFMetaFile.Width) / dpi + 0.8 + 0.8;
        double h = static_cast<double>(PDFMetaFile.Height) / dpi + 0.5 + 0.5 + 0.25;
        if (w / h < OverRootTwo)
            w = h * OverRootTwo;
        else
            h = w / OverRootTwo;
        if (w >= h) {
            h = h * 16.5 / w;
            w = 16.5;
        } else {
            w = w * 16.5 / h;
            h = 16.5;
        }
        e.Page().SetWidth(w);
        e.Page().SetHeight(h);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              q("Exception in: PDFSetUpPDFEngine (Pump Form).\r\rPlease report this to " +
                                PumpSheetAddresses.SupportEmail),
                              this);
    }
}

// --- the sheet ------------------------------------------------------------------------------

void TPumpDataForm::CreatePDFPumpSheet(TNetwork &TheNetwork, int ThePipeId, TPump &ThePump, TdePDFEngine &e,
                                       bool CreatePDFDocument, bool TheResultsMode)
{
    TDisplayUnitsKept unitsKept(ThePump);
    if (ThePump.PumpType != PumpFixedSpeed) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("The pump type must be switched to 'Set Speed' before a Pump Data Sheet "
                                             "can be created.\r\ri.e. You cannot create a pump data sheet when the "
                                             "pump type is 'Set Flow Rate' or 'Set Head Increase'.\r\r"),
                              this);
        return;
    }
    std::string fileName = PumpSheetFileName;
    bool documentBegun = false;
    try {
        // The sheet is written in a folder of this user's own: a fixed name in
        // the shared temporary folder could be planted or linked by another.
        if (CreatePDFDocument) {
            if (!PumpSheetFolder)
                throw std::runtime_error("no folder for the pump sheet");
            fileName = PumpSheetFolder() + PumpSheetFileName;
        }

        TMetafile graphMetafile;
        graphMetafile.Width = 1280;
        graphMetafile.Height = 1280;

        // The editor's state follows the arguments; the chart reads it.
        network_ = &TheNetwork;
        pipeId_ = ThePipeId;
        pipe_ = &TheNetwork.GetPipe(ThePipeId);
        resultsMode_ = TheResultsMode;
        const TFluid fluid = TheNetwork.GetPipeFluid(ThePipeId);
        density_ = fluid.density_kgs_m3 > 0 ? fluid.density_kgs_m3 : 1000.0;
        if (&ThePump != &EditedPump)
            EditedPump.CopyPump(ThePump);
        // A standalone sheet leaves SavedPump alone, so that a later
        // "Cancel" still drops the edits made since the editor opened.
        if (!CreatePDFDocument)
            SavedPump.CopyPump(ThePump);

        {
            TMetafileCanvas canvas(graphMetafile);
            canvas.IntersectClipRect(TRect{0, 0, 1280, 1280});
            TGraph graph(&canvas, 96, 1280, 1280);
            DrawPumpGraph(graph, true, 65, EditedPump);
            canvas.Close();
        }

        if (CreatePDFDocument) {
            PDFSetUpPDFEngineAndVariables(e, fileName, graphMetafile);
            double pageWidth = 0, pageHeight = 0;
            PdfPageSizeFromMetafile(graphMetafile, e.InputXRes(), e.InputYRes(), 1, pageWidth, pageHeight);
            e.Page().SetWidth(pageWidth);
            e.Page().SetHeight(pageHeight);
        }
        const double pageWidth = e.Page().Width(), pageHeight = e.Page().Height();
        double W = graphMetafile.Width, H = graphMetafile.Height;
        ShrinkPageToFit(W, H, pageWidth - e.Page().LeftMargin(),
                        pageHeight - e.Page().TopMargin() - e.Page().BottomMargin() - 0.5);

        TWaitCursor waitCursor;
        if (CreatePDFDocument) {
            e.BeginDoc();
            documentBegun = true;
        } else {
            e.NewPage();
        }

        const int fontSize = e.Font().Size;
        e.Font().Name = "Arial";
        e.Font().Size = 10;
        e.Font().Color = clBlack;
        e.Font().Style = TFontStyles{};
        e.Pen().Color = clBlack;
        TdeTableSettings &table = e.TableSettings();
        table.AutoAdjustColumnWidth = false;
        table.SetColumnWidth(graphMetafile.Width / 4.0 - 0.2);
        table.SetRowHeight(0.25);
        table.EnableTitle = true;
        table.SetTitleHeight(table.RowHeight());
        table.SetInternalMargin(MakeDocRect(0.05, 0.02, 0, 0));
        e.TextFormatting().SetBeforeSpace(0.1);
        e.TextFormatting().Alignment = TdeHAlignment::haLeft;

        // --- the values ---
        const TConfigOptions &options = TheNetwork.ConfigOptions;
        TPump &p = EditedPump;
        const double rho = density_;
        const double atm = options.Atmosphere_bar_a;
        TUnit flowUnit = p.PumpPoints.FlowDisplayUnit;
        TUnit headUnit = p.PumpPoints.HeadDisplayUnit;
        if (TheResultsMode) {
            flowUnit = options.ShowPipeMassFlowRate ? options.UnitOfMassFlow : options.UnitOfFlow;
            headUnit = options.UnitOfPressureLoss;
        }
        auto flowText = [&](double Q_m3s) {
            return convertFlowUnitToString(unt_m3_sec, flowUnit, unitDecimals(flowUnit), std_15degC_101325Pa, Q_m3s,
                                           rho, 0, 288.15, 1.01325) +
                   " " + unitName(flowUnit);
        };
        auto headText = [&](TUnit unit, double H_mHd) {
            return formatFixed(unitDecimals(unit), convertPressure(unt_m_hd_fluid, unit, H_mHd, atm, rho)) + " " +
                   unitName(unit);
        };
        auto rpmText = [](std::int32_t rpm) {
            return rpm > 0 ? std::to_string(rpm) + " Rpm" : std::string("Not Specified");
        };
        const TUnit diameterUnit = p.ImpellerDiameterDisplayUnit;
        auto diameterText = [&](double D_m) {
            return D_m > 0 ? convertUnitToString(unt_m, diameterUnit, 3, D_m) + " " + unitName(diameterUnit)
                           : std::string("Not Specified");
        };
        const TUnit powerUnit = p.getPowerDisplayUnit();
        auto powerText = [&](double HP) {
            return convertUnitToString(unt_HP, powerUnit, 2, HP) + " " + unitName(powerUnit);
        };

        auto heading = [&](double x, double y, const std::string &text) {
            e.Font().Style = TFontStyles{TFontStyle::fsBold};
            e.TextOut(x, y, Wide(text));
            e.Font().Style = TFontStyles{};
        };
        auto row = [&](double labelX, double valueX, double y, const std::string &label, const std::string &value) {
            e.TextOut(labelX, y, Wide(label));
            e.TextOut(valueX, y, Wide(value));
        };

        // Pump data.
        e.Rectangle(0.1, 0.15, 3.3, 4.1, false);
        heading(0.2, 0.25, "Pump Data ");
        row(0.2, 1.2, 0.5, "Name: ", p.Name);
        row(0.2, 1.2, 0.75, "Catalog: ", p.PumpCatalog);
        row(0.2, 1.2, 1.0, "Manufacturer: ", p.PumpManufacturer);
        row(0.2, 1.2, 1.25, "Type: ", p.PumpTypeKind);
        row(0.2, 1.2, 1.5, "Size: ", p.PumpSize);
        row(0.2, 1.2, 1.75, "Stages: ", std::to_string(p.PumpStages));
        row(0.2, 1.2, 2.25, "Speed: ", rpmText(p.Speed_rpm));
        row(0.2, 1.2, 2.5, "Impeller Diam: ", diameterText(p.ImpellerDiameter_m));
        row(0.2, 1.2, 3.0, "Min Speed: ", rpmText(p.PumpSpeedMinRpm));
        row(0.2, 1.2, 3.25, "Max Speed: ", rpmText(p.PumpSpeedMaxRpm));
        row(0.2, 1.2, 3.5, "Min Diam: ", diameterText(p.PumpImpellerDiameterMin_m));
        row(0.2, 1.2, 3.75, "Max Diam: ", diameterText(p.PumpImpellerDiameterMax_m));

        // Fluid data.
        e.Rectangle(3.4, 0.15, 6.6, 2.1, false);
        heading(3.5, 0.25, "Fluid Data ");
        row(3.5, 4.6, 0.5, "Fluid: ", fluid.name);
        row(3.5, 4.6, 0.75, "Density: ",
            convertUnitToString(unt_kg_m3, options.UnitOfDensity, unitDecimals(options.UnitOfDensity), rho) + " " +
                unitName(options.UnitOfDensity));
        row(3.5, 4.6, 1.0, "Viscosity: ", formatFixed(4, fluid.centipoise) + " cP");
        row(3.5, 4.6, 1.25, "Temperature: ",
            convertUnitToString(unt_degrees_K, options.UnitOfTemperature, unitDecimals(options.UnitOfTemperature),
                                fluid.degrees_K) +
                " " + unitName(options.UnitOfTemperature));
        auto atmosphereText = [&](double bar_a) {
            return convertAbsolutePressureUnitToString(unt_Bar_A, options.UnitOfAtmosphere,
                                                       unitDecimals(options.UnitOfAtmosphere), bar_a, atm) +
                   " " + unitName(options.UnitOfAtmosphere);
        };
        row(3.5, 4.6, 1.5, "Vapor Pressure: ", atmosphereText(fluid.vapourPressure_bar_a));
        row(3.5, 4.6, 1.75, "Atm Pressure: ", atmosphereText(atm));

        // Design curve.
        const double Hs = p.PumpCurve_Qkgs_mHd.CalculateY(0);
        const double percentAtBEP = p.GetPercentAtBEP();
        const double Qb = p.GetFlowAtBEP_m3s(rho);
        e.Rectangle(3.4, 2.15, 6.6, 4.1, false);
        heading(3.5, 2.25, "Design Curve ");
        row(3.5, 4.6, 2.5, "Shutoff Head: ", headText(headUnit, Hs));
        row(3.5, 4.6, 2.75, "Shutoff dP: ", headText(options.UnitOfPressure, Hs));
        row(3.5, 4.6, 3.0, "BEP: ", formatFixed(1, percentAtBEP) + "% @ " + flowText(Qb));
        row(3.5, 4.6, 3.25, "Power at BEP: ",
            percentAtBEP > 0
                ? powerText(calcPumpPowerHP(Qb, p.calcPumpHead_mHd_Fluid(Qb, rho), rho) / (percentAtBEP / 100))
                : std::string("Not known"));
        row(3.5, 4.6, 3.5, "NPSHr at BEP: ", headText(headUnit, p.calcPumpNPSHr_mHd_Fluid(Qb, rho)));
        {
            const double Mk = p.GetPointMaxFlow_kgs_withEffiencyGreaterThanZero();
            const double Qm = rho > 0 ? Mk / rho : 0;
            const double E = p.PumpEfficiencyCurve.CalculateY(Mk);
            row(3.5, 4.6, 3.75, "Max Flow Power: ",
                E > 0 ? powerText(calcPumpPowerHP(Qm, p.calcPumpHead_mHd_Fluid(Qm, rho), rho) / (E / 100)) + " @ " +
                            flowText(Qm)
                      : std::string("Not known"));
        }

        // Operating notes.
        e.Rectangle(6.7, 0.15, 9.9, 2.1, false);
        heading(6.8, 0.25, "Operating Notes ");
        row(6.8, 7.9, 0.5, "Pref. Op. Region: ",
            std::to_string(p.PreferredOpRegionFromPercent) + "% - " + std::to_string(p.PreferredOpRegionToPercent) +
                "% of BEP");
        {
            auto bare = [&](double Q_m3s) {
                return convertFlowUnitToString(unt_m3_sec, flowUnit, unitDecimals(flowUnit), std_15degC_101325Pa, Q_m3s,
                                               rho, 0, 288.15, 1.01325);
            };
            row(6.8, 7.9, 0.75, "Pref. Flow Range: ",
                bare(Qb * p.PreferredOpRegionFromPercent / 100) + " - " +
                    flowText(Qb * p.PreferredOpRegionToPercent / 100));
        }
        e.Font().Size = 8;
        e.Pen().Color = clWhite;
        // The notes under a heading line; what does not fit the box is left out.
        e.TextBox(MakeDocRect(6.8, 1.02, 9.8, 2.0), Wide("Notes:\r" + p.NotesText()), TdeHAlignment::haLeft,
                  TdeVAlignment::vaTop);
        e.Font().Size = 10;
        e.Pen().Color = clBlack;

        // The data point: the read-out's flow, else the best-efficiency
        // point; in a report the pipe's own flow.
        const double Qlast = p.PumpPoints.PointsCount > 0 ? p.PumpPoints.Points[p.PumpPoints.PointsCount].Flow_m3s : 0;
        double Q = 0, Hq = 0;
        bool readOut = false;
        const std::string readOutText = RightEditFlow->text().toStdString();
        if (!readOutText.empty()) {
            bool valid = false;
            const double value = ReadRealFromString(readOutText, valid, true, false, userDecimalSeparator());
            if (valid) {
                Q = convertFlowUnit(ThePump.PumpPoints.FlowDisplayUnit, unt_m3_sec, std_15degC_101325Pa, value, rho, 0,
                                    288.15, 1.01325);
                readOut = true;
            }
        }
        if (!readOut || Q == 0)
            Q = Qb;
        if (!CreatePDFDocument)
            Q = pipe_->FlowUncompressed_m3s;
        if (Q >= 0 && Q <= Qlast)
            Hq = p.calcPumpHead_mHd_Fluid(Q, rho);
        const double E = p.calcPumpEfficiency(Q, rho);
        e.Rectangle(6.7, 2.15, 9.9, 4.1, false);
        heading(6.8, 2.25, Q == Qb ? "Data Point (BEP)" : "Data Point");
        row(6.8, 7.9, 2.5, "Flow: ", flowText(Q));
        row(6.8, 7.9, 2.75, "Head: ", headText(headUnit, Hq));
        row(6.8, 7.9, 3.0, "Efficiency: ", formatFixed(2, E) + "%");
        row(6.8, 7.9, 3.25, "Power: ",
            E > 0 ? powerText(calcPumpPowerHP(Q, p.calcPumpHead_mHd_Fluid(Q, rho), rho) / (E / 100))
                  : std::string("Not known"));
        row(6.8, 7.9, 3.5, "NPSHr: ", headText(headUnit, p.calcPumpNPSHr_mHd_Fluid(Q, rho)));

        // The chart, on the next page when the page lies on its side.
        double Top = 4.5;
        if (pageHeight < pageWidth) {
            e.TextOut(0.2, Top + 1.0, u"Pump graph is shown on next page (when document is in landscape format).");
            Top = 0.3;
            e.NewPage();
        }
        const double Wg = W * 0.85, Hg = H * 0.9;
        e.Rectangle(0.1, Top - 0.3, 9.9, Top + Hg + 0.1, false);
        e.PlayMetafile(MakeDocRect(0.2, Top, 0.2 + Wg, Top + Hg), graphMetafile);

        e.Font().Size = fontSize;
        if (CreatePDFDocument) {
            documentBegun = false;
            e.EndDoc();
            if (!Dialogs().OpenWithDesktop(q(fileName)))
                Dialogs().ShowMessage(
                    TDialogKind::Information,
                    q("Cannot find a PDF viewer, which is required to view PDF files.\r\rVisit " +
                      PumpSheetAddresses.PdfViewerWebAddress +
                      " to download a free PDF viewer.\r\rOnce you have a PDF viewer the customized PDF file will "
                      "open automatically\r\rFor now the PDF report file has been saved to:\r\r" +
                      fileName + "\r"),
                    this);
        }
    } catch (const std::exception &) {
        if (documentBegun) {
            try {
                e.EndDoc();
            } catch (const std::exception &) {
                // The file could not be finished; the message below says so.
            }
        }
        Dialogs().ShowMessage(TDialogKind::Error,
                              q("Cannot create Pump Data Sheet PDF with name: " + fileName + "\r\r" +
                                "Check file is not already open or in use." + "\r"),
                              this);
    }
}

} // namespace tessaran
