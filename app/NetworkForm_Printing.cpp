// The main window's printing, screen image, example system, e-mail,
// document, help and web commands.
#include "app/NetworkForm.h"

#include "app/Email_Links.h"
#include "app/Examples_Form.h"
#include "app/Print_Images.h"
#include "app/Program_Folder.h"
#include "app/Status_Bar.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "printing/Abort_Dialog.h"
#include "printing/PrnUtils.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace tessaran {

namespace {

template <typename T> T *named(T *object, const char *name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

void plainMessage(QWidget *parent, const QString &text)
{
    Dialogs().ShowMessage(TDialogKind::Information, text, parent);
}

QString labelCaption(const QWidget &window, const char *name)
{
    const auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

QString withExtension(const std::string &fileName, const QString &extension)
{
    if (fileName.empty())
        return {};
    const QFileInfo info(QString::fromStdString(fileName));
    return info.dir().filePath(info.completeBaseName() + extension);
}

// Runs an action on a left click of the watched widget.
class TClickFilter : public QObject {
public:
    TClickFilter(QObject *parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

} // namespace

void TNetworkForm::createPrintingCommands()
{
    Printer = std::make_unique<TQtPrinterJob>();
    PrintingForm = new TPrintingForm(*this, this);
    ExamplesForm = new TExamplesForm(*this, this);
    HelpForm = new THelpForm(this);

    auto *print = named(new QAction(QStringLiteral("Print..."), this), "Print1");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto *pageSetup = named(new QAction(QStringLiteral("Page Setup..."), this), "PrintSetup2");
    auto *saveImage = named(new QAction(QStringLiteral("Save Screen Image..."), this), "SaveScreenImage1");
    auto *saveEmf = named(new QAction(QStringLiteral("Save Screen as EMF MetaFile"), this), "SaveScree1");
    auto *openExamples = named(new QAction(QStringLiteral("Open Examples..."), this), "OpenExamples1");
    openExamples->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    auto *emailSystem = named(new QAction(QStringLiteral("Email System..."), this), "Emai1");
    auto *emailScreen = named(new QAction(QStringLiteral("Email Screen Image..."), this), "EmailScreenImage1");
    QList<QAction *> fileCommands{openExamples, nullptr, print, pageSetup, saveImage, saveEmf, nullptr,
                                  emailSystem, emailScreen, nullptr};
    QAction *before = File1->actions().isEmpty() ? nullptr : File1->actions().constLast();
    for (QAction *action : fileCommands) {
        if (action)
            File1->insertAction(before, action);
        else
            File1->insertSeparator(before);
    }
    connect(print, &QAction::triggered, this, &TNetworkForm::Print1Click);
    connect(pageSetup, &QAction::triggered, this, &TNetworkForm::PrintSetup2Click);
    connect(saveImage, &QAction::triggered, this, &TNetworkForm::SaveScreenImage1Click);
    connect(saveEmf, &QAction::triggered, this, &TNetworkForm::SaveScree1Click);
    connect(openExamples, &QAction::triggered, this, &TNetworkForm::OpenExamples1Click);
    connect(emailSystem, &QAction::triggered, this, &TNetworkForm::Emai1Click);
    connect(emailScreen, &QAction::triggered, this, &TNetworkForm::EmailScreenImage1Click);

    QMenu *documentation = named(new QMenu(QStringLiteral("&Documentation"), this), "Documentation1");
    QMenu *help = menuBar()->findChild<QMenu *>(QStringLiteral("Help1"));
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, documentation);
    const auto &documents = DocumentCommands();
    for (int i = 0; i < static_cast<int>(documents.size()); ++i) {
        const TDocumentCommand &document = documents[i];
        std::string name = document.Handler;
        name.resize(name.size() - 5); // without "Click"
        auto *action = new QAction(QString::fromLatin1(document.Caption), this);
        action->setObjectName(QString::fromStdString(name));
        connect(action, &QAction::triggered, this, [this, i] { OpenDocumentCommand(i); });
        if (name == "WalkThroughExample1" && help)
            help->insertAction(help->actions().value(0), action);
        else
            documentation->addAction(action);
    }
    if (help) {
        QAction *first = help->actions().value(0);
        auto *contents = named(new QAction(QStringLiteral("Contents..."), this), "Contents1");
        contents->setShortcut(QKeySequence(Qt::Key_F1));
        auto *index = named(new QAction(QStringLiteral("Index..."), this), "Index1");
        auto *review = named(new QAction(QStringLiteral("Load Example Systems"), this), "ReviewExampleSystems1");
        auto *web = named(new QAction(QStringLiteral("Go to ") + QString::fromLatin1(MakerWebAddress), this),
                          "GoToWebSite1");
        for (QAction *action : {contents, index, review})
            help->insertAction(first, action);
        help->insertSeparator(first);
        help->addAction(web);
        connect(contents, &QAction::triggered, this, &TNetworkForm::Contents1Click);
        connect(index, &QAction::triggered, this, &TNetworkForm::Index1Click);
        connect(review, &QAction::triggered, this, &TNetworkForm::ReviewExampleSystems1Click);
        connect(web, &QAction::triggered, this, &TNetworkForm::GoToWebSite1Click);
    }

    connect(BitBtnLoadExamples, &QPushButton::clicked, this, &TNetworkForm::BitBtnLoadExamplesClick);
    connect(BitBtnNextExample, &QPushButton::clicked, this, &TNetworkForm::BitBtnNextExampleClick);
    connect(BitBtnQuickStartGuide, &QPushButton::clicked, this, [this] { OpenDocumentCommand(0); });
    ImageTessaranLogo->setCursor(Qt::PointingHandCursor);
    ImageTessaranLogo->installEventFilter(new TClickFilter(ImageTessaranLogo, [this] { ImageTessaranLogoClick(); }));

    if (ToolBar2 && ToolBar2->layout()) {
        const std::tuple<const char *, const char *, void (TNetworkForm::*)()> buttons[] = {
            {"ToolButtonPrint", "Print", &TNetworkForm::ToolButtonPrintClick},
            {"ToolButtonEmail", "Email System (.trz file)", &TNetworkForm::ToolButtonEmailClick},
            {"ToolButtonEmailScreen", "Email Screen Image", &TNetworkForm::ToolButtonEmailScreenClick},
        };
        for (const auto &[name, hint, handler] : buttons) {
            auto *button = named(new QToolButton(ToolBar2), name);
            button->setText(QString::fromLatin1(hint).left(5));
            button->setToolTip(QString::fromLatin1(hint));
            ToolBar2->layout()->addWidget(button);
            connect(button, &QToolButton::clicked, this, handler);
        }
    }
}

// --- printing ------------------------------------------------------------------------

void TNetworkForm::Print1Click() { PrintingForm->exec(); }

void TNetworkForm::PrintSetup2Click()
{
    if (QPrinter *printer = Printer ? Printer->PagePrinter() : nullptr) {
        QPageSetupDialog dialog(printer, this);
        dialog.exec();
    }
}

QImage TNetworkForm::VisibleDrawingImage(int ImageWidth, int ImageHeight)
{
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    ImageClear(image);
    const int captureWidth = static_cast<int>(ViewWidth() / MetaFileScale);
    const int captureHeight = static_cast<int>(ViewHeight() / MetaFileScale);
    DrawImageFromMetaFile(image, MetaFileOffsetX, MetaFileOffsetY, captureWidth, captureHeight);
    return image;
}

void TNetworkForm::PrintImageDisplayedOnScreen(const std::string &PageHeading, int PagesWide, int PagesHigh)
{
    if (Printer->Printing()) {
        plainMessage(this, QStringLiteral("Already printing... Please try again later!"));
        return;
    }
    RefreshScreen(false);
    THeapBlock header, bits;
    int bitmapWidth = 0, bitmapHeight = 0;
    {
        // A view without width or height (a collapsed window) has nothing to print.
        const int viewWidth = ViewWidth(), viewHeight = ViewHeight();
        const bool visible = viewWidth > 0 && viewHeight > 0 && static_cast<int>(viewWidth / MetaFileScale) > 0 &&
                             static_cast<int>(viewHeight / MetaFileScale) > 0;
        const int imageHeight = visible ? static_cast<int>(4096.0 * viewHeight / viewWidth) : 0;
        if (!visible || imageHeight <= 0) {
            plainMessage(this, QStringLiteral("Bitmap load error"));
            return;
        }
        QImage image = VisibleDrawingImage(4096, imageHeight);
        if (ResultsMode) {
            const int W = image.width();
            TQtCanvas canvas(&image);
            DrawFilledRectangle(canvas, W - 360, 2, W - 10, 82, 0xFFFFFF);
            DrawStyledRectangle(canvas, W - 360, 2, W - 20, 72, 0x000000, TPenStyle::psSolid, TBrushStyle::bsClear);
            DrawCanvasText(canvas, W - 350, 7, "Tessaran Results Key", 0x000000, 18);
            DrawCanvasText(canvas, W - 340, 40, labelCaption(*this, "LabelResultsKey").toStdString(), 0x000000, 18);
            if (CurrentNetwork->ConfigOptions.UseResultsColors) {
                const int x = W - 1020;
                DrawFilledRectangle(canvas, x, 2, x + 650, 82, 0xFFFFFF);
                DrawStyledRectangle(canvas, x, 2, x + 640, 72, 0x000000, TPenStyle::psSolid, TBrushStyle::bsClear);
                QImage key(600, 60, QImage::Format_RGB32);
                key.fill(Qt::white);
                if (UpdateResultsColorKey)
                    UpdateResultsColorKey(key, 12, 0x000000, 0x000000, 8);
                // Through the canvas's own painter: a second one on the
                // picture would paint nothing.
                canvas.Painter().drawImage(QRect(QPoint(x + 21, 7), QPoint(x + 619 - 1, 68 - 1)), key,
                                           QRect(0, 0, 600, 60));
                DrawCanvasText(canvas, x + 650 / 9, 8, labelCaption(*this, "LabelColorKeyTitle").toStdString(),
                               0x000000, 18);
            }
        }
        if (BitmapToDIB(FromQImage(image), header, bits, bitmapWidth, bitmapHeight) != LongTrue) {
            plainMessage(this, QStringLiteral("Bitmap load error"));
            return;
        }
    }

    auto freeBlocks = [&] {
        GlobalFreeSafe(header);
        GlobalFreeSafe(bits);
    };
    setEnabled(false);
    try {
        Printer->BeginDoc();
        SetShowPrintErrors(LongTrue);
        SetPrintErrorOwner(this);
    } catch (...) {
        setEnabled(true);
        plainMessage(this, QStringLiteral("Printer corrupt or not installed!"));
        freeBlocks();
        return;
    }
    TAbortDialog *dialog = CreateAbortDialog(window(), this);
    if (!dialog) {
        Printer->Abort();
        setEnabled(true);
        plainMessage(this, QStringLiteral("Abort dialog could not be created!"));
        freeBlocks();
        return;
    }

    TPrintDevice &canvas = Printer->Canvas();
    PageMetrics metrics;
    GetPrinterPageMetrics(&canvas, &metrics);
    const int UW = metrics.UsableWidth, UH = metrics.UsableHeight;
    const double TW = static_cast<double>(PagesWide) * UW, TH = static_cast<double>(PagesHigh) * UH;
    const double sx = TW / bitmapWidth, sy = TH / bitmapHeight;
    int DW = 0, DH = 0;
    if (sx < sy) {
        DW = static_cast<int>(TW);
        DH = static_cast<int>(bitmapHeight * sx);
    } else {
        DH = static_cast<int>(TH);
        DW = static_cast<int>(bitmapWidth * sy);
    }

    TPrintProgress progress;
    progress.Dialog = dialog;
    for (int i = 1; i <= PagesHigh; ++i) {
        for (int j = 1; j <= PagesWide; ++j) {
            SetAbortDialogCaption(dialog,
                                  QStringLiteral("Printing Page %1:%2 - 0%").arg(j).arg(i).toStdU16String().c_str());
            if (AbortDialogCanceled(dialog)) {
                Printer->Abort();
                FreeAbortDialog(dialog);
                setEnabled(true);
                freeBlocks();
                plainMessage(this, QStringLiteral("Printing Aborted!"));
                return;
            }
            const int saved = canvas.SaveDC();
            canvas.OffsetWindowOrg(-metrics.UsableOffsetX, -metrics.UsableOffsetY);
            canvas.IntersectClipRect(TRect{0, 0, UW, UH});
            progress.Column = j;
            progress.Row = i;
            const int result = StretchDIBToDevice(&canvas, -(j - 1) * UW, -(i - 1) * UH, DW, DH, 0, 0, bitmapWidth,
                                                  bitmapHeight, header.Bytes(), bits.Bytes(), nullptr, LongTrue,
                                                  LongFalse, TRect{0, 0, UW, UH}, PrintPageProgressCallback,
                                                  &progress);
            if (result < 0) {
                canvas.RestoreDC(saved);
                FreeAbortDialog(dialog);
                Printer->Abort();
                freeBlocks();
                setEnabled(true);
                static const char *const texts[] = {"BAD_PARAMETER", "MEMORY_ALLOC_FAILED", "MEMORY_READ_FAILED",
                                                    "MEMORY_WRITE_FAILED", "USER_ABORT_OR_OTHER_ERROR!"};
                plainMessage(this, QString::fromLatin1(texts[std::min(-result, 5) - 1]));
                return;
            }
            Printer->TextOut(0, 0, i == 1 && j == 1 ? PageHeading : std::string(), metrics.PixelsPerInchY, 10,
                             true);
            canvas.RestoreDC(saved);
            if (!(j == PagesWide && i == PagesHigh))
                Printer->NewPage();
        }
    }
    freeBlocks();
    FreeAbortDialog(dialog);
    Printer->EndDoc();
    setEnabled(true);
}

// --- screen images ------------------------------------------------------------------

namespace {

// The save dialog of the screen images; the chosen path, or none when the
// user cancels or declines to overwrite or the old file cannot go.
std::optional<QString> chooseScreenImageFile(QWidget *parent, const std::string &currentFile,
                                             const QString &extension)
{
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Save As");
    request.FileName = withExtension(currentFile, extension);
    request.DefaultSuffix = extension.mid(1);
    request.Filter = QStringLiteral("Tessaran Screen Image (*%1)").arg(extension);
    request.Parent = parent;
    std::optional<QString> fileName = Dialogs().SaveFileName(request);
    if (!fileName)
        return std::nullopt;
    const QFileInfo existing(*fileName);
    if (existing.exists()) {
        if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                                QStringLiteral("File already exists. Do wish to overwrite? \r"), parent))
            return std::nullopt;
        // The old file goes only once the new one is complete; one the user
        // may not change is left alone.
        const bool readOnly = !existing.isWritable() ||
                              !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
        if (readOnly) {
            plainMessage(parent, QStringLiteral("Current file not saved.\r\rCould not remove existing file.\r\r"
                                                "Please check the file permissions of the existing file."));
            return std::nullopt;
        }
    }
    return fileName;
}

void saveOrReport(QWidget *parent, const QString &fileName, const std::function<void(const std::string &)> &write)
{
    try {
        ReplaceFileFromTemporary(fileName.toStdString(), write);
    } catch (...) {
        plainMessage(parent, QStringLiteral("Current file not saved.\r\rCould not write ") + fileName);
    }
}

} // namespace

void TNetworkForm::SaveScreenImage1Click()
{
    if (const std::optional<QString> fileName = chooseScreenImageFile(this, CurrentFilename, QStringLiteral(".jpg"))) {
        ImageClear(NetworkImage->Picture);
        if (ViewWidth() > 0 && ViewHeight() > 0) {
            const QImage image = VisibleDrawingImage(ViewWidth(), ViewHeight());
            saveOrReport(this, *fileName, [&](const std::string &path) { SaveBitmapAsJpegFile(image, path); });
        }
    }
    RefreshScreen(true);
}

void TNetworkForm::SaveScree1Click()
{
    if (const std::optional<QString> fileName = chooseScreenImageFile(this, CurrentFilename, QStringLiteral(".emf")))
        saveOrReport(this, *fileName, [&](const std::string &path) { MetaFileDrawing->SaveToFile(path); });
    RefreshScreen(true);
}

// --- example systems ------------------------------------------------------------------

namespace {
void afterExampleLoaded(TNetworkForm &form)
{
    form.StatusBar1->SetPanelText(2, QStringLiteral(" "));
    form.ToolButtonZoomCentreClick();
    form.ClearNetworkStates(form.NetworkStates);
    form.NetworkStates.SystemUpdatedSinceLoad = false;
    form.PrintingForm->EditPageHeading->clear();
    const TUnit length = form.CurrentNetwork->ConfigOptions.UnitOfLength;
    const bool metric = length == unt_m || length == unt_mm || length == unt_km;
    form.UnitsRadioSilent = true;
    (metric ? form.RadioButtonMetricUnits : form.RadioButtonImperialUnits)->setChecked(true);
    if (form.PipeNominalSizeSet)
        form.CurrentNetwork->UpdateNominalPipeSizes(*form.PipeNominalSizeSet);
    form.SetDesignMode();
    form.AskBeforeUnitsChange = true;
    form.UnitsRadioSilent = false;
}
} // namespace

void TNetworkForm::OpenExamples1Click()
{
    bool goOn = true;
    if (NetworkStates.SystemUpdatedSinceLoad)
        goOn = Dialogs().AskYesNo(TDialogKind::Confirmation,
                                  QStringLiteral("Any changes to the existing system that have not been saved will "
                                                 "be lost.\r\rDo you wish to continue to load an example system?"),
                                  this);
    if (goOn) {
        AskBeforeUnitsChange = false;
        ClearActionLog();
        bool loaded = false;
        ExamplesForm->OpenForm(*CurrentNetwork, loaded, true);
        if (loaded)
            afterExampleLoaded(*this);
    }
    ZoomtoFitonScreen1Click();
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::BitBtnNextExampleClick()
{
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Note: Existing data on current tab will not be saved.\r\rLoad Next "
                                           "Example System on current tab?\r"),
                            this))
        return;
    int &position = ExamplesForm->CurrentExampleIndex();
    ++position;
    if (position < 0)
        position = 0;
    AskBeforeUnitsChange = false;
    ClearActionLog();
    bool loaded = false;
    ExamplesForm->OpenForm(*CurrentNetwork, loaded, false);
    // The list, rebuilt with this tab's examples, starts again from the first after the last.
    if (position >= ExamplesForm->ListBoxFilenames->count())
        position = 0;
    ExamplesForm->ListBoxFilenames->setCurrentRow(position);
    ExamplesForm->BitBtnLoadClick();
    if (ExamplesForm->Loaded())
        afterExampleLoaded(*this);
    ZoomtoFitonScreen1Click();
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
    ZoomtoFitonScreen1Click();
}

// --- e-mail ---------------------------------------------------------------------------

namespace {
QString emailFolder()
{
    const QString folder = QString::fromStdString(WritableProgramDataFolder(""));
    QDir().mkpath(folder);
    return folder;
}

QString downloadLine() { return QStringLiteral("Tessaran can be downloaded from ") + MakerWebAddress + "\r\r"; }
} // namespace

void TNetworkForm::Emai1Click()
{
    const QString path = emailFolder() + QStringLiteral("TessaranSystem.trz");
    try {
        CurrentNetwork->SaveToFile(path.toStdString());
    } catch (const std::exception &) {
        // A folder that cannot be written ends the command, not the program.
        plainMessage(this, QStringLiteral("Could not write the system file for e-mailing:\r\r") + path);
        return;
    }
    EmailWait(2000);
    SendEmailViaMapi(window(), {QStringLiteral("to=EmailAddress"),
                                QStringLiteral("subject=Tessaran - System Attached"),
                                QStringLiteral("body=\rA Tessaran system is attached to this email.\r\rIt can be "
                                               "viewed by running Tessaran and then opening the file.\r\r") +
                                    downloadLine(),
                                QStringLiteral("attachment0=") + path});
}

void TNetworkForm::EmailScreenImage1Click()
{
    const QString path = emailFolder() + QStringLiteral("TRZImg.jpg");
    ImageClear(NetworkImage->Picture);
    bool written = false;
    if (ViewWidth() > 0 && ViewHeight() > 0) {
        const QImage image = VisibleDrawingImage(ViewWidth(), ViewHeight());
        try {
            ReplaceFileFromTemporary(path.toStdString(),
                                     [&](const std::string &file) { SaveBitmapAsJpegFile(image, file); });
            written = true;
        } catch (...) {
            plainMessage(this, QStringLiteral("Could not write the screen image for e-mailing:\r\r") + path);
        }
    }
    RefreshScreen(true);
    if (!written)
        return;
    EmailWait(500);
    SendEmailViaMapi(window(), {QStringLiteral("to=EmailAddress"),
                                QStringLiteral("subject=Tessaran - ScreenShot Attached"),
                                QStringLiteral("body=\rA Tessaran system screenshot is attached to this email.\r\r") +
                                    downloadLine(),
                                QStringLiteral("attachment0=") + path});
}

// --- documents, help and web -----------------------------------------------------------

void TNetworkForm::OpenDocumentCommand(int DocumentIndex)
{
    const auto &documents = DocumentCommands();
    if (DocumentIndex >= 0 && DocumentIndex < static_cast<int>(documents.size()))
        OpenDocument(documents[DocumentIndex], this);
}

void TNetworkForm::Contents1Click() { HelpForm->ShowPage(QStringLiteral("contents.html")); }

void TNetworkForm::Index1Click() { HelpForm->ShowPage(QStringLiteral("index.html")); }

void TNetworkForm::ImageTessaranLogoClick() { OpenWebSite(this); }

void TNetworkForm::GoToWebSite1Click() { OpenWebSite(this); }

} // namespace tessaran
