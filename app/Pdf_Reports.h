#pragma once
// The two PDF documents the main window makes from the current network: the
// system drawing (one page, the drawing cropped to the network and scaled to
// the page) and the customised report (cover sheet, drawing page with the
// results key, the chosen result tables, the pump data sheets and the
// results log summary), both through one PDF engine whose page events write
// every page's header and footer.

#include "docexport/Pdf_Ex_Engine.h"
#include "network/Network_Class.h"
#include "network/Network_States.h"
#include "network/Report_Options.h"
#include "platform/Jpeg_Image.h"
#include "platform/Metafile.h"

#include <functional>
#include <string>

class QWidget;

namespace tessaran {

class TMetaFileDrawing;
class TPump;

// An ISO A size in inches for PaperType 0 (A0) to 5 (A5), any other value
// A0, keeping the orientation the size had: portrait when Width < Height.
void SetPaperSizeInches(int PaperType, double &Width, double &Height);
// Scales a size down, keeping its proportions, until it fits; never enlarges.
void ShrinkToFit(double &Width, double &Height, double MaxWidth, double MaxHeight);
// The A3 page (inches) for a drawing of w by h and the chosen orientation.
void PDFPageSizeForDrawing(double w, double h, TPageOrientation Orientation, double &PageWidth,
                           double &PageHeight);
// The number of entries before the first -1 (15 when there is none).
int PDFGetNumDataCols(const TReportDataColumns &TheDataColumns);
// The header line: each included text followed by "  -  ", less the last separator.
std::string PDFHeaderText(const TReportOptions &Options);

// The folder the PDFs are written to, ending with a separator: a folder of
// this user's own (mode 0700) inside the platform's temporary folder, so
// that no other user can plant or read the files. Raises std::runtime_error
// when no such folder can be had.
std::string GetTempFolderPath();
// The report's and the drawing's file names for a network file.
std::string PDFReportFileName(const std::string &NetworkFileName);
std::string PDFDrawingFileName(const std::string &NetworkFileName);

class TPdfReports {
public:
    // What the generators need of the main window.
    struct TContext {
        TNetwork *Network = nullptr;
        TNetworkStates *NetworkStates = nullptr;
        TMetaFileDrawing *Renderer = nullptr;
        bool ResultsMode = false;
        // Snaps a drawing point to the grid.
        std::function<void(int &, int &)> SnapToGrid;
        // Renders the screen drawing again and repaints the canvas.
        std::function<void()> RedrawScreen;
        // The caption of the results key.
        std::string ResultsKeyText;
        // The work grid the tables are filled into, and the cover-sheet logo.
        TStringGrid *WorkGrid = nullptr;
        const TJPEGImage *Logo = nullptr;
        // Appends the data sheet of a fixed-speed pump to the open document;
        // without one the pump sheets are left out.
        std::function<void(TNetwork &, int PipeId, bool ResultsMode, TdePDFEngine &, TPump &)> CreatePDFPumpSheet;
        QWidget *Parent = nullptr;
    };

    TPdfReports();

    TContext Context;
    TdePDFEngine dePDFEngine1;
    // Milliseconds the please-wait window stays before the report is made,
    // and the extra wait of the first report of a run.
    int PleaseWaitMilliseconds = 1000;
    bool PDFFirstReportPending = false;

    // Both write the document to the path and open it with the desktop's
    // viewer; false when the document could not be made.
    bool PDFCreateFileSystemDrawing(const std::string &PDFfilename);
    bool PDFCreateFileSpreadsheetResults(const std::string &PDFfilename, const TReportOptions &TheReportOptions);

    // Renders the network, cropped to its extent, into the metafile. The
    // items end where they were, also when the render fails.
    void PDFGenerateMetaFile(TMetafile &PDFMetafile);
    void PDFSetUpPDFEngineAndVariables(const TReportOptions &TheReportOptions, const std::string &PDFfilename,
                                       const TMetafile &PDFMetaFile);
    void PDFAddBackgroundImagesSystemDrawing(double xStartInches, double yStartInches, double xEndInches,
                                             double yEndInches, int MetaFileWidth, int MetaFileHeight);
    // The results key into a 1000 by 100 metafile (empty outside results mode).
    void AddKeyToMetaFile(TMetafile &TheMetafile);
    void PDFTableInsertFromStringGrid(const TStringGrid &TheStringGrid, const TReportDataColumns &TheDataColumns);
    void PDFTableInsertRowTitleFields(std::vector<TdeColumn> &List1, const TStringGrid &TheStringGrid,
                                      const TReportDataColumns &TheDataColumns);
    // Estimated height in inches of a table cell holding the text.
    double PDFGetCalculatedTableRowHeight(const std::string &AString, double AColWidth, const TFont &AFont);
    void PDFPumpSheetsInsert();

    // The page events: clear, then write the header and footer bands.
    void dePDFEngine1BeforeBeginPage();
    void dePDFEngine1AfterBeginPage();

private:
    void openWithViewer(const std::string &path);
    void redraw();
    // The options the page events follow during a document.
    TReportOptions pageOptions_;
};

} // namespace tessaran
