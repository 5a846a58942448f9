// The quick print dialog, the printer job over QPrinter, the page progress
// and the JPEG writer of the screen images.
#include "app/Print_Images.h"

#include "app/NetworkForm.h"
#include "platform/Jpeg_Image.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "platform/qt/Qt_Print_Device.h"
#include "printing/Abort_Dialog.h"
#include "units/widgets/RightEdit.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>

#include <stdexcept>

namespace tessaran {

// --- printer job -----------------------------------------------------------------

TQtPrinterJob::TQtPrinterJob() : ownPrinter_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    printer_ = ownPrinter_.get();
}

TQtPrinterJob::TQtPrinterJob(QPrinter &printer) : printer_(&printer) {}

TQtPrinterJob::~TQtPrinterJob()
{
    if (painter_)
        Abort();
}

bool TQtPrinterJob::Printing() const { return painter_ != nullptr; }

void TQtPrinterJob::BeginDoc()
{
    if (painter_)
        throw std::runtime_error("Printing in progress");
    aborted_ = false;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_))
        throw std::runtime_error("Printer could not be started");
    painter_ = std::move(painter);
    device_ = std::make_unique<TQtPrintDevice>(*painter_, printer_);
}

TPrintDevice &TQtPrinterJob::Canvas()
{
    if (!device_)
        throw std::runtime_error("Printer is not printing");
    return *device_;
}

void TQtPrinterJob::TextOut(int x, int y, const std::string &text, int pixelsPerInch, int size, bool underline)
{
    if (!painter_ || text.empty())
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, size * pixelsPerInch / 72));
    font.setUnderline(underline);
    painter_->save();
    painter_->setFont(font);
    painter_->setPen(Qt::black);
    const QFontMetrics metrics(font, printer_);
    painter_->drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(text));
    painter_->restore();
}

void TQtPrinterJob::NewPage()
{
    if (printer_ && painter_)
        printer_->newPage();
}

void TQtPrinterJob::finish()
{
    device_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
}

void TQtPrinterJob::Abort()
{
    if (!painter_)
        return;
    aborted_ = true;
    const bool printerAborted = printer_->abort();
    finish();
    // A file printer cannot take a job back: the part written goes.
    if (!printerAborted && !printer_->outputFileName().isEmpty())
        QFile::remove(printer_->outputFileName());
}

void TQtPrinterJob::EndDoc() { finish(); }

// --- page progress -----------------------------------------------------------------

TLongBool PrintPageProgressCallback(int TileIndex, int TileCount, void *UserData)
{
    auto *progress = static_cast<TPrintProgress *>(UserData);
    if (!progress)
        return LongTrue;
    // No tiles counted means nothing to show a share of.
    const unsigned percent =
        TileCount > 0 ? static_cast<unsigned>(static_cast<double>(static_cast<unsigned>(TileIndex)) /
                                              static_cast<unsigned>(TileCount) * 100)
                      : 0u;
    const QString caption = QStringLiteral("Printing Page %1:%2 - %3%")
                                .arg(progress->Column)
                                .arg(progress->Row)
                                .arg(percent);
    SetAbortDialogCaption(progress->Dialog, caption.toStdU16String().c_str());
    return AbortDialogCanceled(progress->Dialog) ? LongFalse : LongTrue;
}

// --- JPEG files ----------------------------------------------------------------------

void ReplaceFileFromTemporary(const std::string &FileName, const std::function<void(const std::string &)> &write)
{
    const QString target = QString::fromStdString(FileName);
    const QString temporary = target + QStringLiteral(".tmp~");
    QFile::remove(temporary);
    try {
        write(temporary.toStdString());
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(temporary);
        throw std::runtime_error("Could not remove existing file");
    }
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        throw std::runtime_error("Could not write file");
    }
}

void SaveBitmapAsJpegFile(const QImage &Bitmap, const std::string &FileName)
{
    TJPEGImage picture;
    picture.Assign(FromQImage(Bitmap));
    picture.SaveToFile(FileName);
}

// --- the form ----------------------------------------------------------------------

namespace {
template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

TPrintingForm::TPrintingForm(TNetworkForm &MainWindow, QWidget *parent) : QDialog(parent), main_(MainWindow)
{
    setObjectName(QStringLiteral("PrintingForm"));
    setWindowTitle(QStringLiteral("Print Drawing"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(321, 416);
    setModal(true);

    PanelPrintingInfo = named(new QWidget(this), "PanelPrintingInfo");
    PanelPrintingInfo->setGeometry(0, 0, 321, 416);
    LabelPrintingInfo = named(new QLabel(QStringLiteral("Quick Print"), PanelPrintingInfo), "LabelPrintingInfo");
    LabelPrintingInfo->setGeometry(12, 8, 297, 20);
    QFont bold = LabelPrintingInfo->font();
    bold.setBold(true);
    LabelPrintingInfo->setFont(bold);
    Label3 = named(new QLabel(QStringLiteral("Note: For high resolution printing we recommend that you create a "
                                             "PDF of the system drawing. "),
                              PanelPrintingInfo),
                   "Label3");
    Label3->setWordWrap(true);
    Label3->setGeometry(12, 30, 297, 34);
    MemoPrintingInfo = named(new QPlainTextEdit(PanelPrintingInfo), "MemoPrintingInfo");
    MemoPrintingInfo->setGeometry(12, 68, 297, 200);
    MemoPrintingInfo->setReadOnly(true);
    MemoPrintingInfo->setStyleSheet(QStringLiteral("background-color: #FFFBF0;"));
    MemoPrintingInfo->setPlainText(QStringList{
        QStringLiteral("Quick Print: The visible part of image will be printed. "),
        QStringLiteral("i.e. the part of the image you see on the screen."),
        QStringLiteral("To print the whole of the drawing, zoom out until all of the "),
        QStringLiteral("area you wish to print is visible on the screen."),
        QStringLiteral(" "),
        QStringLiteral("To change the orientation of the print to landscape, "),
        QStringLiteral("select 'Page Setup' and choose the appropriate settings."),
        QStringLiteral("The visible area will be scaled to fit on 1 page unless the "),
        QStringLiteral("scale to fit parameters are changed (printing over multiple"),
        QStringLiteral("pages may not be possible with all computer systems)."),
        QStringLiteral("Note: You can also create a PDF of the drawing for high "),
        QStringLiteral("resolution printing.")}
                                       .join('\n'));

    LabelPrintScale = named(new QLabel(QStringLiteral("Scale to fit"), PanelPrintingInfo), "LabelPrintScale");
    LabelPrintScale->setGeometry(12, 280, 80, 21);
    RightEditPagesWide = named(new TRightEdit(PanelPrintingInfo), "RightEditPagesWide");
    RightEditPagesWide->setGeometry(92, 280, 25, 21);
    RightEditPagesWide->setMaxLength(1);
    RightEditPagesWide->setText(QStringLiteral("1"));
    RightEditPagesWide->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 1, 0); };
    Label1 = named(new QLabel(QStringLiteral("pages wide by"), PanelPrintingInfo), "Label1");
    Label1->setGeometry(122, 280, 80, 21);
    RightEditPagesHigh = named(new TRightEdit(PanelPrintingInfo), "RightEditPagesHigh");
    RightEditPagesHigh->setGeometry(204, 280, 25, 21);
    RightEditPagesHigh->setMaxLength(1);
    RightEditPagesHigh->setText(QStringLiteral("1"));
    Label2 = named(new QLabel(QStringLiteral("pages high"), PanelPrintingInfo), "Label2");
    Label2->setGeometry(234, 280, 75, 21);

    LabelPageHeading = named(new QLabel(QStringLiteral("Page Title"), PanelPrintingInfo), "LabelPageHeading");
    LabelPageHeading->setGeometry(12, 314, 80, 21);
    EditPageHeading = named(new QLineEdit(PanelPrintingInfo), "EditPageHeading");
    EditPageHeading->setGeometry(92, 314, 217, 21);
    EditPageHeading->setMaxLength(100);

    ButtonPrint = named(new QPushButton(QStringLiteral("Print"), PanelPrintingInfo), "ButtonPrint");
    ButtonPrint->setGeometry(12, 370, 90, 30);
    ButtonPrintCancel = named(new QPushButton(QStringLiteral("Cancel"), PanelPrintingInfo), "ButtonPrintCancel");
    ButtonPrintCancel->setGeometry(116, 370, 90, 30);
    ButtonPageSetup = named(new QPushButton(QStringLiteral("Page Setup"), PanelPrintingInfo), "ButtonPageSetup");
    ButtonPageSetup->setGeometry(219, 370, 90, 30);
    connect(ButtonPrint, &QPushButton::clicked, this, &TPrintingForm::ButtonPrintClick);
    connect(ButtonPrintCancel, &QPushButton::clicked, this, &TPrintingForm::ButtonPrintCancelClick);
    connect(ButtonPageSetup, &QPushButton::clicked, this, &TPrintingForm::ButtonPageSetupClick);
    FormCreate();
}

void TPrintingForm::FormCreate()
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xF1, 0xFA, 0xFF)); // $FFFAF1
    setPalette(colours);
}

void TPrintingForm::ButtonPrintClick()
{
    bool wideValid = false, highValid = false;
    const int pagesWide = RightEditPagesWide->text().toInt(&wideValid);
    const int pagesHigh = RightEditPagesHigh->text().toInt(&highValid);
    if (!wideValid || !highValid) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Page wide and page high values are not valid.\r"),
                              this);
        return;
    }
    if (pagesWide < 1 || pagesWide > 9) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Page wide value must be between 1 and 9."), this);
        return;
    }
    if (pagesHigh < 1 || pagesHigh > 9) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Page high value must be between 1 and 9."), this);
        return;
    }
    try {
        main_.PrintImageDisplayedOnScreen(EditPageHeading->text().toStdString(), pagesWide, pagesHigh);
        main_.RefreshScreen(true);
        close();
    } catch (...) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Printing error: exception occured during print\r\rIf printing over "
                                             "multiple pages, check your computer and printer \rhave enough memory "
                                             "to support this operation.\r\r"),
                              this);
    }
}

void TPrintingForm::ButtonPageSetupClick() { main_.PrintSetup2Click(); }

void TPrintingForm::ButtonPrintCancelClick() { close(); }

} // namespace tessaran
