#pragma once
// The PDF writer of the document engine: turns rendered pages into a
// PDF 1.4 file. The document starts with the header; each page becomes a
// page object, a content stream (deflated when compression is on) and its
// length; the end of the document writes the catalog, the outline, the
// page tree, the shared resources, the procedure set, the tiling patterns,
// the information dictionary, the cross-reference table and the trailer.

#include "docexport/Pdf_Images.h"
#include "docexport/Glyph_Info.h"
#include "docexport/Pdf_Encryption.h"
#include "docexport/Pdf_Font.h"
#include "docexport/Pdf_Object_Writer.h"
#include "docexport/Pdf_Outlines.h"
#include "docexport/Pdf_Page_Content.h"
#include "docexport/Pdf_Settings.h"
#include "docexport/Pdf_Signature.h"
#include "docexport/Pdf_Thumbnails.h"
#include "docexport/Plain_Sheet_Engine.h"

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessaran {

class TdePDFPreferences : public TdePlainSheetPreferences {
public:
    TdeTTFontEmbedding EmbedTrueTypeFonts = TdeTTFontEmbedding::etfNone;
    bool ApplyEmfCharSpacing = true;
};

// "D:" with the local time as yyyymmddhhnnss and the standard-time offset
// from UTC as +hh'mm' or -hh'mm'. biasMinutes is UTC minus local time
// (positive west of Greenwich).
std::string FormatCreationTime(const std::tm &localTime, int biasMinutes);

// The six letters of the subset program of the document's font number index.
std::string SubsetTag(std::size_t index);

class TdeCustomPDFEngine : public TdeCustomPlainSheetEngine {
public:
    explicit TdeCustomPDFEngine(TdeBaseComponent *owner = nullptr);
    ~TdeCustomPDFEngine() override;

    // The producer named in every file's information dictionary.
    static const char *const ProducerText;

    TdeCompression &Compression() { return FCompression; }
    void SetCompression(const TdeCompression &value) { FCompression = value; }
    TdeViewerPreferences &ViewerPreferences() { return FViewerPreferences; }
    void SetViewerPreferences(const TdeViewerPreferences &value) { FViewerPreferences = value; }
    TdePDFPreferences &Preferences()
    {
        return static_cast<TdePDFPreferences &>(TdeCustomPlainSheetEngine::Preferences());
    }
    TdePDFFontEncoding FontEncoding() const { return FFontEncoding; }
    void SetFontEncoding(TdePDFFontEncoding value) { FFontEncoding = value; }
    // Read when a document begins: changes reach the next document.
    TdePDFEncryptionSettings &Encryption() { return FEncryption; }
    void SetEncryption(const TdePDFEncryptionSettings &value) { FEncryption.Assign(value); }
    std::vector<std::string> &FontEmbedExcludeList() { return FFontEmbedExcludeList; }
    void SetFontEmbedExcludeList(const std::vector<std::string> &value) { FFontEmbedExcludeList = value; }

    // The setup dialog is part of the user interface, which installs it;
    // without one the document goes ahead with its settings as they are.
    using TSetupDialogFactory = std::function<int(TdeCustomPDFEngine &engine)>;
    static void InstallSetupDialog(TSetupDialogFactory factory);
    int ShowDefaultSetupDialog() override;

    // True for the formats the PDF output writes: BMP, JPEG, CCITT 3 and 4.
    bool IsImageFormatSupported(TdeOutputImageFormat format) override;
    bool IsImageFormatSupported(TdeOutputImageFormat format, std::string &message);

    // Position conversions to the space of a page's content (origin at the
    // bottom left). PixelToPointY flips against the height of page pageNo,
    // or leaves y unflipped when that page has not been written.
    Extended PixelToPointX(Extended x) const;
    Extended PixelToPointY(int pageNo, Extended y) const;

    // A thumbnail for page pageNo, from a picture (registered as an image of
    // the document) or from a registered image, in the current image
    // settings' format, pixel format and JPEG quality. Only while a
    // document is open; a page that is never written gets none.
    void AddThumbnailImage(const TdePicture &graphic, int pageNo);
    void AddThumbnailImage(int index, int pageNo);

    // Name characters that PDF names cannot hold as such, as "#" and two hex digits.
    static std::string EscapeNameChars(const std::string &name);

    // Signing of the documents to come (the extended engine places the field).
    TdeDigitalSignature &DigitalSignature() { return FDigitalSignature; }
    // "/BS << /W w/S /X >>" with X the letter of style 0 to 4 (S, D, B, I, U).
    static std::string GetBorderStyleEntry(int width, std::uint8_t style);

protected:
    std::unique_ptr<TdePreferences> PreferencesClass() const override;
    void BeginDocOutput() override;
    void EndDocOutput() override;
    void BeginPageOutput() override;
    void EndPageOutput() override;

    // Object writing for every part of the writer.
    int NewObjectNumber() { return FWriter.NewObjectNumber(); }
    static std::string ObjectReference(int objNo) { return TdePDFObjectWriter::ObjectReference(objNo); }
    static std::string FormatNumber(Extended value) { return FormatPDFNumber(value); }
    void WriteObject(const std::string &body, int objNo, bool closeObject)
    {
        FWriter.WriteObject(body, objNo, closeObject);
    }
    // The content stream of the page being written.
    TMemoryStream &ContentStream() { return FContent.FContentStream; }

    // Body of the catalog (object 1), of the current page object and of the
    // trailer dictionary.
    virtual std::string GetCatalogEntries();
    virtual std::string GetPageEntries(int pageObjNo);
    virtual std::string GetTrailerEntries();

    // Encryption: the dictionary object (nothing without encryption), and
    // the hooks every stream and every string of the file passes through
    // with the number of the object that holds it.
    virtual void WriteEncryptionDictionary();
    virtual void EncryptStream(TMemoryStream &stream, std::int64_t dataSize, int objNo, int genNo);
    virtual std::string EncryptString(const std::string &text, int objNo, int genNo);
    // A text string: FE FF and the UTF-16 code units high byte first,
    // encrypted for objNo, as upper-case hexadecimal digits.
    std::string EncodeInfoString(const WideString &text, int objNo, int genNo = 0);

    // A failed document leaves no half-written file behind.
    void DiscardOutput();

    // Signing. The certificate is taken and a trial signature sizes the
    // room for the signed message before anything is written; the field
    // (rectangle in native page coordinates) goes on page pageNumber.
    bool PrepareSignature(const TdeSignature &signature);
    void SetSignatureRect(const TdeRect &rect, int pageNumber);
    void WriteSignatureField(const TdeRect &rect, int pageNumber);
    // After the trailer: the byte range, its digest and the signed message.
    bool SignDocument();
    // The index in the font table of the last font like this one (simple,
    // or composite with glyph codes), added when there is none.
    int FormFontIndex(const TFont &font, bool composite);
    bool FSignDoc = false;
    TdeSignature FSignature;
    std::string FSigFieldName;
    TdeRect FRect{};
    int FSigPageNumber = 0;
    int FSigObjNumber = 0;
    int FSigPageObjNumber = 0;
    std::int64_t FTmpSigOffset1 = 0;
    std::int64_t FTmpSigOffset2 = 0;
    TSigningCertificate FSigCertificate;
    // Hexadecimal digits kept for the signed message; bytes kept for the
    // signature dictionary's body.
    std::size_t FSigHexReserve = 3000;
    std::size_t FSigDictReserve = 3501;
    // The dictionary's entries before "/Contents<", fixed when the field is written.
    std::string FSigDictEntries;
    // The coded data of a one-bit image for the CCITT formats; none here.
    virtual std::unique_ptr<TMemoryStream> EncodeCCITTImage(const TBitmap &bitmap, TdeOutputImageFormat format);

    void RenderImageItem(TdeImageItem &item) override;
    void RenderImageStreamItem(TdeImageStream &item) override;
    // Content that paints XObject "Img" + name into the item's rectangle
    // (turned by its inclination), with its frame first when it has one.
    std::string WriteImagePlacement(const std::string &name, const TdeImageItem &item) const;
    std::string DrawImageFrame(const TdeImageItem &item);
    // The page's background colour and picture, right after the prologue.
    void WritePageBackground();
    // The background picture object "Img0"; returns its number.
    int WriteBackgroundImage(const TBitmap &bitmap);
    // Text: analysed into runs, merged into run stores, one text block each.
    void RenderTextItem(TdeTextItem &item) override;

    void RenderClipItem(TdeClipItem &item) override;
    void RenderPathItem(TdePathItem &item) override;
    void RenderPolyPolygonItem(TdePolyPolygonItem &item) override;
    void RenderEOFItem(TdeEOFItem &item) override;
    void RenderPolyDrawItem(TdePolyDrawItem &item) override;
    void DrawLineShape(const TdePen &pen, double x1, double y1, double x2, double y2) override;
    void DrawRectangleShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                            double y2) override;
    void DrawRoundRectShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2, double y2,
                            double x3, double y3) override;
    void DrawEllipseShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                          double y2) override;
    void DrawPolygonShape(const TdePoints &points, int noPoints, bool closed, const TdePen &pen,
                          const TdeBrush *brush) override;
    void DrawPolyShape(TdePolyShapeItem &item, bool closed) override;
    void DrawArcShape(const TdePen &pen, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                      double y4) override;
    void DrawPieShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2, double y2, double x3,
                      double y3, double x4, double y4) override;
    void DrawChordShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2, double y2,
                        double x3, double y3, double x4, double y4) override;
    void DrawPolyBezierShape(const TdePoints &points, int noPoints, const TdePen &pen) override;

    // The file as a sequence of objects; the page being written.
    TdePDFObjectWriter FWriter;
    TdePDFPageContent FContent;
    TdePDFPatterns FPattern;
    TdePDFImageObjects FImages;
    // The contents entries of the document, taken when it ends.
    std::vector<TdeOutlineEntry> FOutlineEntries;
    // Entry i is page i + 1; ObjNo 0 for a page that was not written.
    std::vector<TdePageInfo> FPageList;
    int FOutlines = 0;
    int FContentsObjNo = 0;
    int FLengthObjNo = 0;
    std::string FAnnots;
    std::string FCreationTime;
    double FPixelToPointMultiplier;

    // The security handler of the current document, only while it is encrypted.
    std::unique_ptr<TdePDFEncryption> FPDFEncrypt;
    int FEncryptionObjNo = 0;
    // Thumbnail requests and the thumbnail objects numbered so far.
    TdePDFThumbnails FThumbnails;

    // Fonts of the document; font i is the resource "/Fi".
    std::vector<std::unique_ptr<TdePDFFont>> FFontTable;
    TdeMapFont FMapFont;
    std::vector<std::string> FSysFonts;

private:
    // One run of a text item, or several consecutive ones in one font and kind.
    struct TdeRunStore {
        WideString RunText;
        TFont Font;
        TdeGlyphInfoList GlyphInfoList;
        TdeRunInfo RunInfo;
        TdeWordArray LogClust;
        int Angle = 0;
    };
    void StoreTextRun(const WideString &text, int runIndex, int runCount, TdeGlyphInfoList *glyphs,
                      const TdeRunInfo &info, const TdeWordArray &logClust);
    void WriteStoredRuns();
    // Writes one store at the pen position and moves the pen; the width in native units.
    double WriteTextRun(TdeRunStore &store, double spacing);
    TdePDFFont &RunPDFFont(const TFont &font, bool glyphRun, bool identityH, int &index);
    // Natural width in pixels at the item's size.
    double NaturalWidth(TdeRunStore &store);
    void WriteLinks(const std::string &bottomY);
    bool IsEmbedded(const std::string &faceName);
    std::string FontResourceEntries() const;
    void WriteFonts();

    TdeTextItem *FCurrentTextObj = nullptr;
    double FRunTextX = 0;
    double FRunTextY = 0;
    TFont FRunFont;
    std::unique_ptr<TdeRunStore> FRunStore;
    std::vector<std::unique_ptr<TdeRunStore>> FRunStoreList;
    bool FLinksWritten = false;

    // Takes the join and cap of the shape item being rendered.
    TdePDFPageContent &ShapeContent();
    // Per-document state freed when the document ends or fails.
    void EndDocumentState();
    // The current page's thumbnail object, numbered or shared; 0 for none.
    void LinkPageThumbnail();
    int PageThumbnailObjNo(int pageNo);
    void WriteThumbnails();

    TdeCompression FCompression;
    TdeDigitalSignature FDigitalSignature;
    TdeViewerPreferences FViewerPreferences;
    TdePDFEncryptionSettings FEncryption;
    TdePDFFontEncoding FFontEncoding = TdePDFFontEncoding::feWinAnsiEncoding;
    std::vector<std::string> FFontEmbedExcludeList;
    std::unique_ptr<TStream> FOwnOutputStream;
    std::string FOutputFileName;
};

} // namespace tessaran
