#pragma once
// The device-independent core of every export engine. A caller opens a
// document with BeginDoc, adds pages with NewPage, places items through the
// drawing calls and closes it with EndDoc. Each drawing call appends one
// item, in native units, to the page or band being written; nothing is
// written while a page is built. A page is rendered when it is closed (pages
// streamed) or at EndDoc (pages held), by walking its items in a fixed order
// and calling the protected render hooks, which an output engine overrides.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "docexport/Base_Component.h"
#include "docexport/Doc_Types.h"
#include "docexport/Document_Engine_Interface.h"
#include "docexport/Document_Items.h"
#include "docexport/Email_Settings.h"
#include "docexport/Engine_Settings.h"
#include "docexport/Graphics_Attributes.h"
#include "docexport/MD5.h"
#include "docexport/Measurement_Units.h"
#include "platform/Metafile.h"
#include "platform/MetafileCanvas.h"
#include "docexport/Page_Settings.h"

namespace tessaran {

class TdeDocSettings;
class TdeCustomDocumentEngine;

enum class TdeEngineStatus : std::uint8_t { esNone, esStarted, esFinished, esCancelled, esError };
enum class TdeBandType : std::uint8_t { btContent, btHeader, btFooter, btWatermark, btStamp };
enum class TdeCapabilityKind : std::uint8_t {
    ckText, ckImage, ckShape, ckHeader, ckFooter, ckWatermark, ckStamp, ckImageStretch, ckImageFrame, ckInputRes,
    ckImageReusable
};
enum class TdeItemsToRenderKind : std::uint8_t { irText, irImage, irShape };
enum class TdeReferencePoint : std::uint8_t { rpPage, rpMargin, rpBand };

// A set of enumeration values kept as bits (value n is bit n).
template <typename Enum, typename Bits>
class TdeSet {
public:
    constexpr TdeSet() = default;
    constexpr TdeSet(std::initializer_list<Enum> values)
    {
        for (Enum v : values)
            Include(v);
    }
    constexpr bool Contains(Enum v) const { return (FBits >> static_cast<int>(v)) & 1u; }
    constexpr void Include(Enum v) { FBits = static_cast<Bits>(FBits | (Bits{1} << static_cast<int>(v))); }
    constexpr void Exclude(Enum v) { FBits = static_cast<Bits>(FBits & ~(Bits{1} << static_cast<int>(v))); }
    constexpr Bits Value() const { return FBits; }
    constexpr bool operator==(const TdeSet &) const = default;

private:
    Bits FBits = 0;
};
// Stored in 16 bits: the PDF engine's set is $0787.
using TdeCapabilities = TdeSet<TdeCapabilityKind, std::uint16_t>;
using TdeItemsToRender = TdeSet<TdeItemsToRenderKind, std::uint8_t>;

// Modal results of the setup dialog.
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// The setup dialog that BeginDoc may show: a modal form that reads and
// writes the engine's settings. The dialogs themselves live with the user
// interface; the engine needs only this.
class TdeBaseDlg : public TdeBaseComponent {
public:
    using TdeBaseComponent::TdeBaseComponent;
    TdeCustomDocumentEngine *Engine = nullptr;
    // Returns the modal result; mrCancel means cancel.
    virtual int ShowModal() = 0;
};

// Errors the engine reports; handed to OnErrorMessage instead of raised when
// that event is assigned (except EFileCreateError, always raised).
class EInvalidPageNumber : public std::runtime_error {
public:
    EInvalidPageNumber() : std::runtime_error("Invalid Page Number") {}
};
class EInvalidEngineState : public std::runtime_error {
public:
    EInvalidEngineState() : std::runtime_error("Not a valid Engine State identifier") {}
};
class EUnsupportedGraphics : public std::runtime_error {
public:
    EUnsupportedGraphics() : std::runtime_error("Unknown Graphics format") {}
};
class EFileCreateError : public std::runtime_error {
public:
    EFileCreateError()
        : std::runtime_error(
              "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application")
    {
    }
};

using TdeNotifyEvent = std::function<void(TdeBaseComponent *sender)>;
// The exception lives only for the call: a handler that wants to keep its
// message copies it.
using TdeErrorMessageEvent = std::function<void(TdeBaseComponent *sender, const std::exception &exception)>;
using TdeOnNeedFileNameEvent = std::function<void(TdeBaseComponent *sender, std::string &fileName, int pageNo)>;
using TdeEmailEvent =
    std::function<void(TdeBaseComponent *sender, TdeEmailSettings &settings, bool &continueSending, bool &cancelEmail)>;
using TdeEmailErrorEvent = std::function<void(TdeBaseComponent *sender, const std::string &errorMessage)>;

// One image resource: a picture owned by the engine, or the caller's stream
// of encoded bytes (not owned) for pass-through images. Freed entries stay
// in the list, empty, so later indexes still count them.
struct TdeImageResource {
    std::unique_ptr<TdePicture> Graphic;
    TStream *Stream = nullptr;
};

class TdeCustomDocumentEngine : public TdeBaseComponent, public IdeDocumentEngine {
    // The metafile interpreter appends its items and image resources directly.
    friend class TdeMetafileProcessor;

public:
    explicit TdeCustomDocumentEngine(TdeBaseComponent *owner = nullptr);
    // Unlinks the engine from its shared settings component first.
    ~TdeCustomDocumentEngine() override;

    // ---- Lifecycle -------------------------------------------------------
    // Opens a document; does nothing when one is open.
    virtual void BeginDoc();
    // Renders what is still pending, writes the output and releases the
    // document; does nothing when no document is open.
    virtual void EndDoc();
    // Closes the current page and opens the next; nothing without a document.
    virtual void NewPage();
    // Makes an earlier page current again (pages held only).
    virtual void SetWorkingPage(int pageNo);
    // Saves font, brush, pen, image settings, text formatting, table
    // settings, text effects and page settings; -1 without a document.
    virtual int SaveEngineState();
    // -1 restores the most recent state.
    virtual void RestoreEngineState(int index);
    virtual void ClearEngineStates();

    // ---- Bands -----------------------------------------------------------
    virtual void BeginHeader();
    virtual void EndHeader();
    virtual void ClearHeader();
    virtual void BeginFooter();
    virtual void EndFooter();
    virtual void ClearFooter();
    virtual void BeginWaterMark();
    virtual void EndWaterMark();
    virtual void ClearWaterMark();
    virtual void BeginStamp();
    virtual void EndStamp();
    virtual void ClearStamp();

    // ---- Text output ---------------------------------------------------------
    // Point texts are dropped outside the band and need an open document,
    // the text capability and text in ItemsToRender. Lengths are in
    // MeasurementUnit, measured from the band's origin.
    virtual void TextOut(double X, double Y, const WideString &Text);
    // One TextOut per character down (or up) a line at the text rotation.
    virtual void TextOutV(double X, double Y, const WideString &Text, bool TopDown);
    // A point text cut to Rect (not moved by the band origin).
    virtual void TextRect(const TdeRect &Rect, double X, double Y, const WideString &Text);
    // Text wrapped into a framed box; the box is clamped to the band.
    virtual void TextBox(const TdeRect &Rect, const WideString &Text, TdeHAlignment HAlignment,
                         TdeVAlignment VAlignment);
    // Runs with <B>, <I>, <U>, <S> and their closing tags on one line; "//"
    // gives a slash and "/<", "/>" literal brackets.
    virtual void HTMLTextOut(double X, double Y, const WideString &HTMLText);
    // Keeps the sign of Angle: -90 stays -90, 450 becomes 90.
    void SetTextRotation(int Angle) { FTextRotationAngle = Angle % 360; }
    int TextRotationAngle() const { return FTextRotationAngle; }
    TdeHAlignment TextAlignment() const { return FTextAlignment; }
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }

    // ---- Text measuring and word wrap ---------------------------------------
    // In MeasurementUnit with the current font; an empty text is 0 wide and
    // a blank high.
    double TextWidth(const WideString &Text);
    double TextHeight(const WideString &Text);
    // Pixels; an empty text is 1 wide and a blank high; one trailing CR LF
    // is not measured.
    virtual TSize GetTextExtent(const WideString &Text, const TFont &Font);
    // The 8-bit text is in code page 1252.
    virtual TSize GetAnsiTextExtent(const std::string &Text, const TFont &Font);
    TSize GetWideTextExtent(const WideString &Text, const TFont &Font);
    // Word wrap into Lines (continuing its last line) for native widths;
    // returns Round(Width), or in single-line mode the text's own width.
    int SplitTextToWidth(const WideString &Text, std::vector<WideString> &Lines, const TFont &Font, bool SingleLine,
                         double FirstWidth, double Width);
    int SplitWideTextToWidth(const WideString &Text, TWideStrings &Lines, const TFont &Font, bool SingleLine,
                             double FirstWidth, double Width);

    // ---- Paragraphs ------------------------------------------------------------
    virtual void BeginPara();
    // Wraps Text into the open paragraph; the room left below it in
    // MeasurementUnit (0 without an open paragraph).
    virtual double TextOut(const WideString &Text);
    virtual void EndPara();
    // The running vertical offset inside the current band (native).
    double CurrentOffsetY() const { return FCurrentOffsetY; }

    // ---- Tables ----------------------------------------------------------------
    // The new table's columns, or nullptr outside the band.
    virtual std::vector<TdeColumn> *BeginTable(double X, double Y, int NoColumns);
    // The band room below the new row in MeasurementUnit, as if the whole
    // table were on one page.
    virtual double NewRow();
    virtual double NewRow(double Height);
    virtual void TextOut(int ColumnNo, const WideString &Text);
    virtual void EndTable();
    // Per closed table: first page, rows on each page, then 0.
    const std::vector<std::vector<int>> &RowsOnPage() const { return FRowsOnPage; }
    const std::vector<bool> &TableOnLastpage() const { return FTableOnLastpage; }

    // ---- Shape calls -----------------------------------------------------
    // Each adds one shape item to the current page or band; defined with the
    // shape items' construction in the shape-call file.
    void Line(double X1, double Y1, double X2, double Y2);
    void Rectangle(double X1, double Y1, double X2, double Y2, bool IsFill);
    void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3, bool IsFill);
    void Ellipse(double X1, double Y1, double X2, double Y2, bool IsFill);
    void Polygon(const TdePoints &Points, bool IsFill);
    void PolyLine(const TdePoints &Points);
    void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4, bool IsFill);
    void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4, bool IsFill);
    void PolyBezier(const TdePoints &Points);

    // ---- Image and metafile calls --------------------------------------------
    // Pictures are registered once per document (recognised again by their
    // digest where the output allows reuse) and placed as image items.
    void DrawImage(const TdeRect &ImageRect, const TdePicture &AGraphic);
    // At the picture's natural size, its top-left at (X, Y).
    void DrawImage(double X, double Y, const TdePicture &AGraphic);
    // Places a picture registered before.
    void DrawImage(const TdeRect &ImageRect, int Index);
    // Into a cell of the current table row: the row grows to the picture,
    // the column too when the table adjusts its column widths.
    void DrawImage(int ColumnNo, double Width, double Height, const TdePicture &AGraphic);
    // Registers for reuse (switching UseImagesAsResources on) and returns the index.
    int AddImageAsResource(const TdePicture &AGraphic);
    // Copies the picture into the resources; -1 when it cannot be
    // registered. A picture that is neither BMP nor JPEG data is reported as
    // EUnsupportedGraphics.
    int RegisterImage(const TdePicture &AGraphic, bool AsResource);
    // Pass-through images: the encoded bytes are written as they are. The
    // rectangle is on the page, not in the band. The stream is the caller's
    // and must live until the page is written.
    void DrawJPEGDirect(const TdeRect &ARect, int AImagePixelWidth, int AImagePixelHeight, TStream &AStream);
    void DrawJPEGDirect(const TdeRect &ImageRect, const TdePicture &AGraphic);
    // Interpreted at once at the band's origin, or offset by (X, Y).
    void PlayMetafile(TMetafile &Metafile);
    void PlayMetafile(double X, double Y, TMetafile &Metafile);
    // Stretched onto the page's recording canvas: it becomes items of the
    // page's content when the page's recording is processed.
    void PlayMetafile(const TdeRect &DestRect, TMetafile &Metafile);

    // For the output engine: the picture at an index (none outside the list
    // or for a pass-through stream), the item's picture drawn at the item's
    // size by its settings, and a bitmap encoded as JPEG.
    const TdePicture *GetImageResource(int Index) const;
    TBitmap ImageItemToBitmap(const TdeImageItem &Item) const;
    static std::unique_ptr<TMemoryStream> BitmapToJPEGStream(const TBitmap &Bitmap, int Quality);

    // ---- Positions -------------------------------------------------------
    // Caller units to native; pixel input is rescaled from InputXRes/InputYRes.
    double UnitToNativeX(double X) const;
    double UnitToNativeY(double Y) const;
    TdeRect UnitToNativeRect(const TdeRect &rect) const;
    // In place: each point to native plus the band origin.
    void PointsToNative(TdePoints &points, int count) const;
    bool IsInsideBand(double X, double Y) const;
    const TdeRect &BandRect() const { return FBandRect; }
    TdeBandType BandType() const { return FBandType; }

    // ---- Properties ------------------------------------------------------
    const std::string &FileName() const { return FFileName; }
    // Ignored while a document is open; a name ending in "." + FileExtension
    // (any case) is stored without it.
    void SetFileName(const std::string &value);
    const std::string &FileExtension() const { return FFileExtension; }
    void SetFileExtension(const std::string &value) { FFileExtension = value; }
    const std::string &FileDescription() const { return FDescription; }
    void SetFileDescription(const std::string &value) { FDescription = value; }
    int InputXRes() const { return FInputXRes; }
    void SetInputXRes(int value) { FInputXRes = value; }
    int InputYRes() const { return FInputYRes; }
    void SetInputYRes(int value) { FInputYRes = value; }
    TdeItemsToRender ItemsToRender() const { return FItemsToRender; }
    void SetItemsToRender(TdeItemsToRender value) { FItemsToRender = value; }
    // Pages to render, as "2,4-5"; empty renders every page.
    const std::string &PagesToRender() const { return FPagesToRender; }
    void SetPagesToRender(const std::string &value) { FPagesToRender = value; }
    TdeUnitType MeasurementUnit() const { return FMeasurementUnit; }
    // Stored lengths stay native: reading one afterwards gives it in the new unit.
    void SetMeasurementUnit(TdeUnitType value);
    double NativeConversionFactor() const { return FNativeConversionFactor; }
    TdeReferencePoint ReferencePoint() const { return FReferencePoint; }
    void SetReferencePoint(TdeReferencePoint value);
    TdeBaseDlg *SetupDialog() const { return FSetupDialog; }
    void SetSetupDialog(TdeBaseDlg *value);
    TdeDocSettings *Settings() const { return FSettings; }
    // Unlinks from the old shared settings and links to the new one.
    void SetSettings(TdeDocSettings *value);
    bool AutoPaginate() const { return FIsAutoPaginate; }
    void SetAutoPaginate(bool value) { FIsAutoPaginate = value; }
    TdeEmailAdapter *EmailAdapter() const { return FEmailAdapter; }
    void SetEmailAdapter(TdeEmailAdapter *value);
    TdeEmailSettings &EMailSettings() { return FEmailSettings; }
    void SetEMailSettings(const TdeEmailSettings &value) { FEmailSettings.Assign(value); }
    // The current page's recording canvas; none outside a document.
    TMetafileCanvas *Canvas() const { return FCanvas.get(); }
    TStream *UserStream() const { return FUserStream; }
    // Ignored while a document is open.
    void SetUserStream(TStream *value);
    int CurrentPage() const { return FCurrentPage; }
    int PageCount() const { return FPageCount; }
    bool AbortCreation() const { return FAbortCreation; }
    void SetAbortCreation(bool value) { FAbortCreation = value; }
    TdeEngineStatus EngineStatus() const { return FEngineStatus; }
    bool IsDocumentStarted() const { return FIsDocumentStarted; }
    TdeCapabilities Capabilities() const { return FCapabilities; }

    TdeFont &Font() { return FFont; }
    void SetFont(const TdeFont &value) { FFont = value; }
    TdeFont &DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const TdeFont &value) { FDefaultFont = value; }
    TdePen &Pen() { return FPen; }
    void SetPen(const TdePen &value) { FPen = value; }
    TdeBrush &Brush() { return FBrush; }
    void SetBrush(const TdeBrush &value) { FBrush = value; }
    TdeTextEffects &TextEffects() { return FTextEffects; }
    void SetTextEffects(const TdeTextEffects &value);
    TdeFrame &Frame() { return *FFrame; }
    void SetFrame(const TdeFrame &value) { FFrame->Assign(value); }
    TdePageSettings &Page() { return *FPage; }
    void SetPage(const TdePageSettings &value) { FPage->Assign(value); }
    // The border drawn around every page: the engine's own unless a caller
    // handed one in (which must then outlive the engine or be handed back
    // with nullptr).
    TdeBorder &PageBorder() { return *FPageBorder; }
    void SetPageBorder(TdeBorder *value) { FPageBorder = value ? value : &FOwnPageBorder; }
    TdeImageSettings &ImageSettings() { return *FImageSettings; }
    void SetImageSettings(const TdeImageSettings &value) { FImageSettings->Assign(value); }
    TdeTextFormatting &TextFormatting() { return FTextFormatting; }
    // Takes the indents as given in MeasurementUnit; the other values as they are.
    void SetTextFormatting(const TdeTextFormatting &value);
    TdeTableSettings &TableSettings() { return FTableSettings; }
    // Takes widths, heights and margins as given in MeasurementUnit.
    void SetTableSettings(const TdeTableSettings &value);
    TdeDocInfo &DocInfo() { return FDocInfo; }
    void SetDocInfo(const TdeDocInfo &value) { FDocInfo.Assign(value); }
    TdePreferences &Preferences() { return *FPreferences; }
    void SetPreferences(const TdePreferences &value) { FPreferences->Assign(value); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    TdeBackgroundDisplayType BackgroundImageDisplayType() const { return FBackgroundDisplayType; }
    void SetBackgroundImageDisplayType(TdeBackgroundDisplayType value) { FBackgroundDisplayType = value; }
    TdePicture &BackgroundImage() { return FBackgroundImage; }
    void SetBackgroundImage(const TdePicture &value) { FBackgroundImage.Assign(value); }

    // Files created for the open document (the output writer adds its file).
    const std::vector<std::string> &EngineFileNames() const { return FEngineFileNames; }

    // Whether the output can write images in this format (every format here).
    virtual bool IsImageFormatSupported(TdeOutputImageFormat format);

    // How the engine opens a finished file with the desktop's viewer; the
    // application installs it (nothing is opened without it).
    static std::function<void(const std::string &fileName)> ShellOpen;

    // ---- Events ----------------------------------------------------------
    using TdeOnCalcVariablesEvent =
        std::function<void(TdeCustomDocumentEngine *sender, const WideString &variable, WideString &value)>;
    using TdeOnCellDrawEvent =
        std::function<void(TdeCustomDocumentEngine *sender, int row, int column, TdePen &pen, TdeBrush &brush,
                           TdeFont &font, TdeFrame &frame, TdeHAlignment &align)>;
    TdeNotifyEvent OnBeforeBeginDoc, OnAfterBeginDoc, OnBeforeEndDoc, OnAfterEndDoc;
    TdeNotifyEvent OnBeforeBeginPage, OnAfterBeginPage, OnBeforeEndPage, OnAfterEndPage;
    TdeErrorMessageEvent OnErrorMessage;
    // Stored, not raised.
    TdeOnNeedFileNameEvent OnNeedFileName;
    TdeEmailEvent OnEmail;
    TdeEmailErrorEvent OnEmailError;
    TNotifyEvent OnEmailConnected, OnEmailDisConnected, OnEmailStatus, OnEmailSuccess;
    TdeOnCalcVariablesEvent OnCalcVariables;
    TdeOnCellDrawEvent OnCellDraw;

protected:
    void Notification(TdeBaseComponent *component, TOperation operation) override;

    // ---- Output hooks (empty here) ----------------------------------------
    virtual void BeginPageOutput() {}
    virtual void EndPageOutput() {}
    virtual void BeginDocOutput() {}
    virtual void EndDocOutput() {}
    // Returns the modal result of the engine's own setup dialog.
    virtual int ShowDefaultSetupDialog() { return mrOk; }
    // A new preferences object of the engine's preferences class. C++ cannot
    // dispatch from a constructor, so a layer that overrides this replaces
    // FPreferences in its own constructor (ReplacePreferences).
    virtual std::unique_ptr<TdePreferences> PreferencesClass() const;
    void ReplacePreferences(std::unique_ptr<TdePreferences> preferences);

    // ---- Render hooks ------------------------------------------------------
    virtual void RenderTextItem(TdeTextItem &) {}
    // Frame lines, background, then the lines that fit the box.
    virtual void RenderTextBoxItem(TdeTextBoxItem &item);
    virtual void RenderImageItem(TdeImageItem &) {}
    virtual void RenderImageStreamItem(TdeImageStream &) {}
    virtual void RenderOtherItem(TdeDocumentItem &) {}
    virtual void RenderClipItem(TdeClipItem &) {}
    virtual void RenderPathItem(TdePathItem &) {}
    virtual void RenderPolyPolygonItem(TdePolyPolygonItem &) {}
    virtual void RenderEOFItem(TdeEOFItem &) {}
    virtual void RenderPolyDrawItem(TdePolyDrawItem &) {}
    // One shape hook by shape type; nothing for an item without points.
    virtual void RenderShapeItem(TdeShapeItem &item);
    // By the first shape: polygons closed, polylines open, others nothing.
    virtual void RenderPolyShapeItem(TdePolyShapeItem &item);
    // Shape hooks, points native; brush nullptr for an unfilled shape. The
    // base would draw into a bitmap for a raster output; no output here
    // needs that, so they do nothing.
    virtual void DrawLineShape(const TdePen &, double, double, double, double) {}
    virtual void DrawRectangleShape(const TdePen &, const TdeBrush *, double, double, double, double) {}
    virtual void DrawRoundRectShape(const TdePen &, const TdeBrush *, double, double, double, double, double,
                                    double)
    {
    }
    virtual void DrawEllipseShape(const TdePen &, const TdeBrush *, double, double, double, double) {}
    virtual void DrawPolygonShape(const TdePoints &, int, bool, const TdePen &, const TdeBrush *) {}
    virtual void DrawPolyShape(TdePolyShapeItem &, bool) {}
    virtual void DrawArcShape(const TdePen &, double, double, double, double, double, double, double, double) {}
    virtual void DrawPieShape(const TdePen &, const TdeBrush *, double, double, double, double, double, double,
                              double, double)
    {
    }
    virtual void DrawChordShape(const TdePen &, const TdeBrush *, double, double, double, double, double, double,
                                double, double)
    {
    }
    virtual void DrawPolyBezierShape(const TdePoints &, int, const TdePen &) {}
    // Draws the page border along the margins of the page being rendered.
    virtual void DrawPageBorder();
    virtual void RenderItems(TdeItemList &list);
    virtual void RenderTextItems(TdeItemList &list);
    virtual void SortTextItems(TdeItemList &list);
    // Turns recorded drawing into items of the current lists, offset by
    // (X, Y) plus the band origin; re-recorded at the page size first when
    // pixel input has its own resolution that the output does not apply.
    virtual void ProcessMetafile(TMetafile &metafile, double X, double Y);
    // Runs the metafile interpreter on a recording.
    virtual void ExecuteMetafile(TMetafile &metafile, double startX, double startY);
    // Appends the created files to the e-mail attachments.
    virtual void PrepareEmailAttachments();
    // No mail transport is part of the system: sends nothing.
    void SendDocumentByEmail() {}

    // ---- Text layout -----------------------------------------------------------
    virtual void SetTextAlignment(TdeHAlignment value) { FTextAlignment = value; }
    // Page number and page count templates, then date, time, document
    // information and user variables; nothing when variables are off.
    virtual WideString ExpandTemplates(const WideString &Text, bool WithPageNumbers);
    virtual WideString ExpandPageNumbers(const WideString &Text);
    // Logical order to display order for right-to-left scripts.
    WideString TransformText(const WideString &Text);
    // Lays the item's lines into a box less the margins; lines that do not
    // fit are dropped.
    void RenderTextLines(const TdeTextItem &Item, TdeHAlignment HAlign, TdeVAlignment VAlign, double BoxWidth,
                         double BoxHeight, const TdeRect &Margin);
    virtual void RenderParagraphItem(TdeParagraphItem &item);
    virtual void RenderTableItem(TdeTableItem &item);

    // ---- Services for the layers above -------------------------------------
    // Appends to the current page's or band's list; the engine owns it from then on.
    TdeDocumentItem *AddItem(std::unique_ptr<TdeDocumentItem> item);
    void SetBandType(TdeBandType band);
    void UpdateBandRect();
    bool IsPageToRender(int pageNo) const;
    // Creates the output file anew. On failure the status becomes esError,
    // the created files are deleted, the document is finished and
    // EFileCreateError is raised.
    std::unique_ptr<TStream> CreateOutputFile(const std::string &name);
    void AddEngineFileName(const std::string &name) { FEngineFileNames.push_back(name); }
    // Raises the error, or hands it to OnErrorMessage when assigned.
    template <typename E>
    void ReportError()
    {
        if (OnErrorMessage) {
            const E error;
            OnErrorMessage(this, error);
            return;
        }
        throw E();
    }
    // Page being built or rendered (nullptr before the first page or after
    // a streamed page was rendered).
    TdePageItem *CurrentPageItem() const;
    // Items whose owner (a table running on) keeps them past their page.
    virtual bool IsItemKeptAfterPage(const TdeDocumentItem &) const { return false; }
    void FreeItems(TdeItemList &list);
    void FreeImageResources();
    void ReleaseStreamResources();
    // Image resources: a picture or a caller's stream appended with its
    // digest, or the index of an identical one already held.
    int AddImageResource(std::unique_ptr<TdePicture> Graphic);
    // Appends a resource with its digest slot (empty for none).
    int AppendImageResource(TdeImageResource resource, std::unique_ptr<TdeHashValue> hash);
    int AddImageStreamResource(TStream &Stream);
    // The index of the first resource with the digest of bytes, or -1 (also
    // when reuse is off); the digest goes into hash.
    int FindImageHash(std::span<const std::uint8_t> bytes, TdeHashValue &hash);
    // Rect native, relative to the band.
    void PlaceImageItem(TdeRect Rect, int Index);

    // Paragraphs and tables.
    std::unique_ptr<TdeParagraphItem> FParagraphItem;
    std::vector<std::unique_ptr<TdeParagraphItem>> FParaItem;
    std::vector<bool> FIsParaStarted;
    std::unique_ptr<TdeTableItem> FTableItem;
    // Closed tables by number, kept until their last page is rendered.
    std::vector<std::unique_ptr<TdeTableItem>> FTables;
    std::vector<std::vector<int>> FRowsOnPage;
    std::vector<bool> FTableOnLastpage;

    TdeCapabilities FCapabilities{TdeCapabilityKind::ckText, TdeCapabilityKind::ckImage,
                                  TdeCapabilityKind::ckShape};
    TdeItemsToRender FItemsToRender{TdeItemsToRenderKind::irText, TdeItemsToRenderKind::irImage,
                                    TdeItemsToRenderKind::irShape};

    // Per-document state.
    std::vector<std::unique_ptr<TdePageItem>> FPages;
    std::unique_ptr<TdeBandItem> FHeaderItem, FFooterItem, FWatermarkItem, FStampItem;
    TdeItemList *FCurrentDocumentItemList = nullptr;
    TdeItemList *FCurrentTextItemList = nullptr;
    double FCurrentOffsetY = 0;
    std::unique_ptr<TMetafile> FMetafile;
    std::unique_ptr<TMetafileCanvas> FCanvas;
    std::vector<std::unique_ptr<TdeEngineState>> FEngineStateList;
    std::vector<TdeImageResource> FImageResourceList;
    std::vector<std::unique_ptr<TdeHashValue>> FImageResourceHashList;
    TdeItemList FCarriedItems;
    int FDefaultState = 0;
    TdeBandType FBandType = TdeBandType::btContent;
    TdeRect FBandRect;
    int FCurrentPage = 0;
    int FPageCount = 0;
    bool FIsDocumentStarted = false;
    bool FIsTableStarted = false;
    bool FIsParagraphStarted = false;
    int FTablenumber = -1;
    bool FNoSorting = false;
    // Separate text-item lists are never switched on in this system.
    bool FSortTextItems = false;
    double FYFactor = 0;
    int FTextRotationAngle = 0;
    TdeHAlignment FTextAlignment = TdeHAlignment::haLeft;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    TdePenJoinStyle FPenJoin = TdePenJoinStyle::pjsNone;
    TdePenCapStyle FPenCap = TdePenCapStyle::pcsNone;
    TdeMD5 FMD5ImageHash;

private:
    void StartDocument();
    void FinishDocument();
    void DiscardOutputFiles();
    void RenderPage();
    void RenderBand(TdeBandItem &band, TdeBandType type, bool sort);
    void RenderTablePlacement(int tableNumber);
    // The text calls' common checks and their item at a native point.
    bool IsTextAllowed() const;
    std::unique_ptr<TdeTextItem> PointTextItem(double x, double y, const WideString &text) const;
    // The four sides of a box that the frame switches on.
    void DrawFrameLines(const TdePen &pen, const TdeFrame &frame, double left, double top, double right, double bottom);
    // A new table row of the given native height (the table's row height when none).
    double AddTableRow(const double *height);
    // Closes the page canvas's recording and turns it into items.
    void ProcessPageRecording();
    void OpenPageCanvas(const TdePageItem &page);
    void SelectLists(TdeBandItem &band);
    void BeginBand(TdeBandItem *band, TdeBandType type);
    void EndBand(TdeBandItem *band);
    void ClearBand(TdeBandItem *band);
    bool IsStreamed() { return FPreferences->ProcessAfterEachPage(); }

    std::unique_ptr<TdePreferences> FPreferences;
    TdeFont FFont;
    TdeFont FDefaultFont;
    TdePen FPen;
    TdeBrush FBrush;
    TdeTextEffects FTextEffects;
    std::unique_ptr<TdeFrame> FFrame;
    std::unique_ptr<TdePageSettings> FPage;
    TdeBorder FOwnPageBorder;
    TdeBorder *FPageBorder = &FOwnPageBorder;
    std::unique_ptr<TdeImageSettings> FImageSettings;
    TdeTextFormatting FTextFormatting;
    TdeTableSettings FTableSettings;
    TdePicture FBackgroundImage;
    TdeDocInfo FDocInfo;
    TdeEmailSettings FEmailSettings;

    TColor FBackgroundColor = clWhite;
    TdeBackgroundDisplayType FBackgroundDisplayType = TdeBackgroundDisplayType::dtCenter;
    std::string FFileName;
    std::string FFileExtension;
    std::string FDescription;
    TdeUnitType FMeasurementUnit = TdeUnitType::muInches;
    double FNativeConversionFactor = 1.0;
    TStream *FUserStream = nullptr;
    TdeReferencePoint FReferencePoint = TdeReferencePoint::rpBand;
    TdeBaseDlg *FSetupDialog = nullptr;
    TdeDocSettings *FSettings = nullptr;
    TdeEmailAdapter *FEmailAdapter = nullptr;
    std::vector<std::string> FEngineFileNames;
    TdeEngineStatus FEngineStatus = TdeEngineStatus::esNone;
    std::string FPagesToRender;
    int FInputXRes = ScreenPixelsPerInch;
    int FInputYRes = ScreenPixelsPerInch;
    bool FAbortCreation = false;
    bool FIsAutoPaginate = true;
};

} // namespace tessaran
