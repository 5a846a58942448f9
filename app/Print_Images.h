#pragma once
// The quick print of the visible drawing and its dialog: the printer job the
// print goes to (QPrinter in the program, a PDF file or a recording in
// tests), the "Print Drawing" form with its page counts and title, and the
// JPEG writer of the screen images.

#include "platform/Bitmap.h"
#include "printing/Print_Dib.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QWidget;

namespace tessaran {

class TAbortDialog;
class TNetworkForm;
class TRightEdit;
class TQtPrintDevice;

// The platform's printer as the print command drives it: one document of
// pages, a canvas for the bitmap library and the page title's text.
class TPrinterJob {
public:
    virtual ~TPrinterJob() = default;
    virtual bool Printing() const = 0;
    // Raises when the document cannot be started.
    virtual void BeginDoc() = 0;
    virtual TPrintDevice &Canvas() = 0;
    // Text at (x, y) of the current canvas state in "Arial" of the given
    // point size at the given pixels per inch, underlined when asked.
    virtual void TextOut(int x, int y, const std::string &text, int pixelsPerInch, int size, bool underline) = 0;
    virtual void NewPage() = 0;
    virtual void Abort() = 0;
    virtual void EndDoc() = 0;
    // The printer for the page set-up dialog; null when there is none.
    virtual QPrinter *PagePrinter() { return nullptr; }
};

// The job on a QPrinter: the application's own printer, or one the caller
// owns (tests print to a PDF file). An aborted job to a file leaves no file.
class TQtPrinterJob : public TPrinterJob {
public:
    TQtPrinterJob();
    explicit TQtPrinterJob(QPrinter &printer);
    ~TQtPrinterJob() override;

    bool Printing() const override;
    void BeginDoc() override;
    TPrintDevice &Canvas() override;
    void TextOut(int x, int y, const std::string &text, int pixelsPerInch, int size, bool underline) override;
    void NewPage() override;
    void Abort() override;
    void EndDoc() override;
    QPrinter *PagePrinter() override { return printer_; }

    bool WasAborted() const { return aborted_; }

private:
    void finish();

    std::unique_ptr<QPrinter> ownPrinter_;
    QPrinter *printer_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TQtPrintDevice> device_;
    bool aborted_ = false;
};

// What the page callback is handed: the cancel dialog and the page.
struct TPrintProgress {
    TAbortDialog *Dialog = nullptr;
    int Column = 0;
    int Row = 0;
};

TLongBool PrintPageProgressCallback(int TileIndex, int TileCount, void *UserData);

// The picture encoded as JPEG with the picture class's defaults and written
// to the file; raises on failure.
void SaveBitmapAsJpegFile(const QImage &Bitmap, const std::string &FileName);
// Replaces a file by writing beside it and renaming, so a failed write
// leaves the old file whole; raises on failure.
void ReplaceFileFromTemporary(const std::string &FileName, const std::function<void(const std::string &)> &write);

class TPrintingForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrintingForm(TNetworkForm &MainWindow, QWidget *parent = nullptr);

    void FormCreate();
    void ButtonPrintClick();
    void ButtonPageSetupClick();
    void ButtonPrintCancelClick();

    QWidget *PanelPrintingInfo = nullptr;
    QLabel *LabelPrintingInfo = nullptr;
    QLabel *Label3 = nullptr;
    QPlainTextEdit *MemoPrintingInfo = nullptr;
    QLabel *LabelPrintScale = nullptr;
    TRightEdit *RightEditPagesWide = nullptr;
    QLabel *Label1 = nullptr;
    TRightEdit *RightEditPagesHigh = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *LabelPageHeading = nullptr;
    QLineEdit *EditPageHeading = nullptr;
    QPushButton *ButtonPrint = nullptr;
    QPushButton *ButtonPrintCancel = nullptr;
    QPushButton *ButtonPageSetup = nullptr;

private:
    TNetworkForm &main_;
};

} // namespace tessaran
