#include "docexport/Pdf_Engine.h"

#include "docexport/Doc_Utils.h"
#include "docexport/File_Stream.h"
#include "docexport/Pdf_Graphics.h"
#include "docexport/Pdf_Paths.h"
#include "platform/Codepage1252.h"

#include <cstdio>
#include <time.h>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string Ref(int objNo) { return TdePDFObjectWriter::ObjectReference(objNo); }

bool IsBlank(const WideString &text)
{
    for (char16_t c : text)
        if (c > u' ')
            return false;
    return true;
}

} // namespace

const char *const TdeCustomPDFEngine::ProducerText = "Tessaran document export 1.0.0";

std::string FormatCreationTime(const std::tm &localTime, int biasMinutes)
{
    char date[32];
    std::snprintf(date, sizeof date, "%04d%02d%02d%02d%02d%02d", localTime.tm_year + 1900, localTime.tm_mon + 1,
                  localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
    // East of Greenwich the bias is negative and the offset positive.
    const char sign = biasMinutes <= 0 ? '+' : '-';
    const int offset = biasMinutes < 0 ? -biasMinutes : biasMinutes;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d'%02d'", sign, offset / 60, offset % 60);
    return std::string("D:") + date + zone;
}

namespace {

TdeCustomPDFEngine::TSetupDialogFactory &setupDialogFactory()
{
    static TdeCustomPDFEngine::TSetupDialogFactory factory;
    return factory;
}

} // namespace

void TdeCustomPDFEngine::InstallSetupDialog(TSetupDialogFactory factory) { setupDialogFactory() = std::move(factory); }

int TdeCustomPDFEngine::ShowDefaultSetupDialog()
{
    return setupDialogFactory() ? setupDialogFactory()(*this) : mrOk;
}

TdeCustomPDFEngine::TdeCustomPDFEngine(TdeBaseComponent *owner)
    : TdeCustomPlainSheetEngine(owner), FPixelToPointMultiplier(72.0 / ScreenPixelsPerInch)
{
    SetFileExtension("pdf");
    SetFileDescription("PDF Files");
    ReplacePreferences(TdeCustomPDFEngine::PreferencesClass());
    using K = TdeCapabilityKind;
    FCapabilities = TdeCapabilities{K::ckText,         K::ckImage,    K::ckShape,        K::ckImageStretch,
                                    K::ckImageFrame, K::ckInputRes, K::ckImageReusable};
    FContent.Writer = &FWriter;
    FContent.Patterns = &FPattern;
    FImages.Writer = &FWriter;
}

TdeCustomPDFEngine::~TdeCustomPDFEngine() = default;

std::unique_ptr<TdePreferences> TdeCustomPDFEngine::PreferencesClass() const
{
    return std::make_unique<TdePDFPreferences>();
}

bool TdeCustomPDFEngine::IsImageFormatSupported(TdeOutputImageFormat format, std::string &message)
{
    switch (format) {
    case TdeOutputImageFormat::ifBMP:
    case TdeOutputImageFormat::ifJPEG:
    case TdeOutputImageFormat::ifCCITT3:
    case TdeOutputImageFormat::ifCCITT4: return true;
    default: message = "The PDF Engine does not support image format"; return false;
    }
}

bool TdeCustomPDFEngine::IsImageFormatSupported(TdeOutputImageFormat format)
{
    std::string message;
    return IsImageFormatSupported(format, message);
}

Extended TdeCustomPDFEngine::PixelToPointX(Extended x) const
{
    return x * FPixelToPointMultiplier * InputXRes() / ScreenPixelsPerInch;
}

Extended TdeCustomPDFEngine::PixelToPointY(int pageNo, Extended y) const
{
    const Extended scaled = y * FPixelToPointMultiplier * InputYRes() / ScreenPixelsPerInch;
    if (pageNo < 1 || pageNo > static_cast<int>(FPageList.size()))
        return scaled;
    const TdePageInfo &info = FPageList[static_cast<std::size_t>(pageNo - 1)];
    if (info.ObjNo == 0 || info.Height == 0)
        return scaled;
    return static_cast<Extended>(info.Height) * InputYRes() / ScreenPixelsPerInch - scaled;
}

// ---- Document ----------------------------------------------------------------------

void TdeCustomPDFEngine::BeginDocOutput()
{
    TdeCustomPlainSheetEngine::BeginDocOutput();
    TStream *output = nullptr;
    if (Preferences().OutputToUserStream()) {
        output = UserStream();
        if (!output)
            throw EStreamError("No user stream to write the document to");
    } else {
        FOutputFileName = FileName() + "." + FileExtension();
        FOwnOutputStream = CreateOutputFile(FOutputFileName);
        AddEngineFileName(FOutputFileName);
        output = FOwnOutputStream.get();
    }
    FWriter.Begin(*output);
    FPageList.clear();
    FPattern.Clear();
    FImages.BeginDocument();
    FFontTable.clear();
    FSysFonts = FMapFont.SysFontList();
    FOutlines = 0;

    tzset();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    FCreationTime = FormatCreationTime(local, static_cast<int>(timezone / 60));

    FThumbnails.Clear();
    FSignDoc = false;
    FSigObjNumber = 0;
    FSigPageObjNumber = 0;
    FTmpSigOffset1 = 0;
    FTmpSigOffset2 = 0;
    FPDFEncrypt.reset();
    FEncryptionObjNo = 0;
    FWriter.SetEncryptionHooks({}, {});
    if (FEncryption.Enabled()) {
        FPDFEncrypt = std::make_unique<TdePDFEncryption>(FileName() + FileExtension(), FCreationTime, FEncryption);
        FWriter.SetEncryptionHooks(
            [this](const std::string &bytes, int objNo, int genNo) { return EncryptString(bytes, objNo, genNo); },
            [this](TMemoryStream &data, std::int64_t size, int objNo, int genNo) {
                EncryptStream(data, size, objNo, genNo);
            });
    }

    // The second line's bytes above 127 mark the file as binary.
    FWriter.Write("%PDF-1.4" + CRLF + "%\xC3\xA2\xC3\xA3\xC3\x8F\xC3\x93" + CRLF);
}

std::string TdeCustomPDFEngine::GetCatalogEntries()
{
    std::string text = "/Type/Catalog/Pages 2 0 R";
    // The root is numbered only when there is an item to hang below it.
    if (HasOutlineRoot(FOutlineEntries)) {
        FOutlines = FWriter.NewObjectNumber();
        text += "/Outlines " + Ref(FOutlines);
    }
    return text + FViewerPreferences.GetViewerPreferences();
}

std::string TdeCustomPDFEngine::GetTrailerEntries()
{
    std::string text = "/Root 1 0 R/Info 3 0 R/Size " + std::to_string(FWriter.LastObjNo() + 1);
    if (FPDFEncrypt && FEncryptionObjNo > 0) {
        const std::string id = StrToHex(FPDFEncrypt->FileID());
        text += "/ID [<" + id + "><" + id + ">]/Encrypt " + Ref(FEncryptionObjNo);
    }
    return text;
}

// ---- Encryption --------------------------------------------------------------------

void TdeCustomPDFEngine::EncryptStream(TMemoryStream &stream, std::int64_t dataSize, int objNo, int genNo)
{
    if (FPDFEncrypt)
        FPDFEncrypt->EncryptStream(stream, dataSize, objNo, genNo);
}

std::string TdeCustomPDFEngine::EncryptString(const std::string &text, int objNo, int genNo)
{
    return FPDFEncrypt ? FPDFEncrypt->EncryptString(text, objNo, genNo) : text;
}

std::string TdeCustomPDFEngine::EncodeInfoString(const WideString &text, int objNo, int genNo)
{
    return StrToHex(EncryptString(TextStringBytes(text), objNo, genNo));
}

void TdeCustomPDFEngine::WriteEncryptionDictionary()
{
    if (!FPDFEncrypt)
        return;
    FEncryptionObjNo = FWriter.NewObjectNumber();
    const bool strong = FPDFEncrypt->Level() == TdePDFEncryptionLevel::el128bit;
    // The dictionary's own strings stay plain: they are what opens the others.
    std::string body = strong ? "/V 2/R 3" : "/V 1/R 2";
    body += "/P " + std::to_string(FPDFEncrypt->PermissionValue());
    if (strong)
        body += "/Length 128";
    body += "/Filter/Standard/O <" + StrToHex(FPDFEncrypt->OwnerKey()) + ">/U <" + StrToHex(FPDFEncrypt->UserKey()) +
            ">" + CRLF;
    FWriter.WriteObject(body, FEncryptionObjNo, true);
}

void TdeCustomPDFEngine::EndDocOutput()
{
    TdeCustomPlainSheetEngine::EndDocOutput();
    if (!FWriter.Active())
        return;
    FOutlineEntries.clear();
    if (const auto *entries = TOCItemList())
        for (const auto &entry : *entries)
            FOutlineEntries.push_back(
                TdeOutlineEntry{entry->Title, entry->PageNumber, entry->ParentNode, entry->X, entry->Y, entry->URL});
    try {
        FWriter.WriteObject(GetCatalogEntries() + CRLF, 1, true);
        WriteThumbnails();
        if (FOutlines > 0) {
            TdeOutlinePages pages;
            pages.PageObject = [this](int page) {
                return page >= 1 && page <= static_cast<int>(FPageList.size())
                           ? FPageList[static_cast<std::size_t>(page - 1)].ObjNo
                           : 0;
            };
            pages.PixelToPointX = [this](Extended x) { return PixelToPointX(x); };
            pages.PixelToPointY = [this](int page, Extended y) { return PixelToPointY(page, y); };
            WriteOutlines(FWriter, FOutlines, FOutlineEntries, pages);
        }

        std::string kids;
        int count = 0;
        for (const TdePageInfo &info : FPageList) {
            if (info.ObjNo == 0)
                continue;
            kids += (count ? " " : "") + Ref(info.ObjNo);
            ++count;
        }
        FWriter.WriteObject("/Type/Pages/Count " + std::to_string(count) + "/Kids [" + kids + "]" + CRLF, 2, true);

        // The background pattern exists once a page has shown the picture
        // (even when the picture was taken away afterwards).
        if (FImages.FBGImageObj > 0)
            FPattern.RegisterImagePattern(FWriter, FImages.FBGImageObj, FImages.FBackgroundImageLeft,
                                          FImages.FBackgroundImageTop, FImages.FBackgroundImageWidth,
                                          FImages.FBackgroundImageHeight);
        FWriter.WriteObject(FPattern.ResourceEntries() + FontResourceEntries() + "/ProcSet 4 0 R" + FImages.ResourceEntries() + CRLF, 5,
                            true);

        std::string procSet = "[/PDF";
        if (ItemsToRender().Contains(TdeItemsToRenderKind::irText))
            procSet += " /Text";
        if (ItemsToRender().Contains(TdeItemsToRenderKind::irImage))
            procSet += " /ImageC";
        FWriter.WriteObject(procSet + "]", 4, true);

        FPattern.WritePatterns(FWriter, FCompression);
        WriteFonts();
        WriteEncryptionDictionary();

        const std::string date = StrToHex(EncryptString(FCreationTime, 3, 0));
        std::string info = "/CreationDate <" + date + ">/ModDate <" + date + ">/Producer <" +
                           EncodeInfoString(Utf8ToUtf16(ProducerText), 3) + ">";
        const std::pair<const char *, WideString> values[] = {
            {"/Author", DocInfo().Author()},   {"/Keywords", DocInfo().Keywords()}, {"/Creator", DocInfo().Creator()},
            {"/Title", DocInfo().Title()},     {"/Subject", DocInfo().Subject()},
        };
        for (const auto &[key, value] : values)
            if (!IsBlank(value))
                info += std::string(key) + " <" + EncodeInfoString(value, 3) + ">";
        FWriter.WriteObject(info + CRLF, 3, true);

        FWriter.WriteXRefAndTrailer(GetTrailerEntries());
        // A file that claims a signature it does not carry is not kept.
        if (FSignDoc && !SignDocument())
            throw ESignatureFailed();
    } catch (const ESignatureFailed &) {
        DiscardOutput();
        ReportError<ESignatureFailed>();
        return;
    } catch (...) {
        DiscardOutput();
        throw;
    }
    EndDocumentState();
    if (FOwnOutputStream) {
        auto *file = dynamic_cast<TdeFileStream *>(FOwnOutputStream.get());
        try {
            if (file)
                file->Close();
        } catch (...) {
            DiscardOutput();
            throw;
        }
        FOwnOutputStream.reset();
    }
}

void TdeCustomPDFEngine::EndDocumentState()
{
    FWriter.End();
    FSignDoc = false;
    FSigCertificate = TSigningCertificate();
    FWriter.SetEncryptionHooks({}, {});
    FPDFEncrypt.reset();
    FThumbnails.Clear();
    FPageList.clear();
    FPattern.Clear();
    FContent.FContentStream.Clear();
}

void TdeCustomPDFEngine::DiscardOutput()
{
    EndDocumentState();
    if (FOwnOutputStream) {
        FOwnOutputStream.reset();
        std::remove(FOutputFileName.c_str());
    }
}

// ---- Pages -------------------------------------------------------------------------

void TdeCustomPDFEngine::BeginPageOutput()
{
    TdeCustomPlainSheetEngine::BeginPageOutput();
    FContent.BeginPage();
    FContent.PixelToPointMultiplier = FPixelToPointMultiplier;
    FContent.InputXRes = InputXRes();
    FContent.InputYRes = InputYRes();
    // The scale that makes positions written at the input resolutions come
    // out at 72 / screen pixels per inch.
    FContent.Append("q " + FormatPDFNumber(static_cast<Extended>(ScreenPixelsPerInch) / InputXRes()) + " 0 0 " +
                    FormatPDFNumber(static_cast<Extended>(ScreenPixelsPerInch) / InputYRes()) + " 0 0 cm" + CRLF);

    TdePageInfo info;
    info.ObjNo = FWriter.NewObjectNumber();
    if (const TdePageItem *page = CurrentPageItem()) {
        info.Width = page->Settings().NativeWidth() * FPixelToPointMultiplier;
        info.Height = page->Settings().NativeHeight() * FPixelToPointMultiplier;
    }
    if (static_cast<int>(FPageList.size()) < CurrentPage())
        FPageList.resize(static_cast<std::size_t>(CurrentPage()));
    FPageList[static_cast<std::size_t>(CurrentPage() - 1)] = info;
    FContent.PageHeight = info.Height;

    FContentsObjNo = FWriter.NewObjectNumber();
    FAnnots.clear();
    FLengthObjNo = FWriter.NewObjectNumber();
    if (FSignDoc && CurrentPage() == FSigPageNumber) {
        WriteSignatureField(FRect, FSigPageNumber);
        FAnnots += " " + Ref(FSigObjNumber);
    }
    FImages.BeginPage();
    WritePageBackground();
}

std::string TdeCustomPDFEngine::GetPageEntries(int)
{
    const TdePageInfo &info = FPageList[static_cast<std::size_t>(CurrentPage() - 1)];
    std::string text = "/Type/Page/Parent 2 0 R/MediaBox [0 0 " + FormatPDFNumber(info.Width) + " " +
                       FormatPDFNumber(info.Height) + "]/Resources 5 0 R/Contents " + Ref(FContentsObjNo);
    if (!FAnnots.empty())
        text += "/Annots [" + FAnnots + "]";
    text += FViewerPreferences.GetTransitionEffectAndDuration();
    if (const int thumb = PageThumbnailObjNo(CurrentPage()); thumb > 0)
        text += "/Thumb " + Ref(thumb);
    return text;
}

void TdeCustomPDFEngine::EndPageOutput()
{
    // Nothing to write to once a failure has discarded the file.
    if (!FWriter.Active() || CurrentPage() < 1 || CurrentPage() > static_cast<int>(FPageList.size()))
        return;
    try {
        LinkPageThumbnail();
        const int pageObjNo = FPageList[static_cast<std::size_t>(CurrentPage() - 1)].ObjNo;
        FWriter.WriteObject(GetPageEntries(pageObjNo) + CRLF, pageObjNo, true);

        std::string dictionary = "/Length " + Ref(FLengthObjNo);
        if (FCompression.Enabled)
            dictionary += "/Filter /FlateDecode";
        // Close what the page left open: its clip groups, then the
        // prologue's save.
        const int groups = FContent.TakeClipGroups();
        if (groups == 0)
            FContent.Append(CRLF + CRLF);
        for (int i = 0; i < groups; ++i)
            FContent.Append(CRLF + "Q" + CRLF);
        FContent.Append("Q" + CRLF);
        FWriter.WriteStreamWithLengthObject(FContentsObjNo, dictionary + CRLF, FLengthObjNo, FContent.FContentStream,
                                            FCompression);
        // The page's image objects follow its length object.
        const std::int64_t base = FWriter.OutputSize();
        for (const auto &[offset, objNo] : FImages.FImageXRefList)
            FWriter.RecordObjectOffset(base + offset, objNo);
        if (FImages.FImageStream.Size() > 0)
            FWriter.Write(FImages.FImageStream);
        FImages.BeginPage();
    } catch (...) {
        DiscardOutput();
        throw;
    }
    TdeCustomPlainSheetEngine::EndPageOutput();
}

// ---- Render hooks --------------------------------------------------------------------

TdePDFPageContent &TdeCustomPDFEngine::ShapeContent()
{
    FContent.PenJoin = static_cast<int>(FPenJoin);
    FContent.PenCap = static_cast<int>(FPenCap);
    return FContent;
}

void TdeCustomPDFEngine::RenderClipItem(TdeClipItem &item) { tessaran::RenderClipItem(FContent, item); }
void TdeCustomPDFEngine::RenderPathItem(TdePathItem &item) { tessaran::RenderPathItem(FContent, item); }
void TdeCustomPDFEngine::RenderEOFItem(TdeEOFItem &item) { tessaran::RenderEOFItem(FContent, item); }
void TdeCustomPDFEngine::RenderPolyDrawItem(TdePolyDrawItem &item) { tessaran::RenderPolyDrawItem(FContent, item); }

void TdeCustomPDFEngine::RenderPolyPolygonItem(TdePolyPolygonItem &item)
{
    DrawPolyPolygon(ShapeContent(), item.Points, item.NoPoints, item.Pen, item.Brush, item.FillAlternate);
}

void TdeCustomPDFEngine::DrawLineShape(const TdePen &pen, double x1, double y1, double x2, double y2)
{
    tessaran::DrawLineShape(ShapeContent(), pen, x1, y1, x2, y2);
}

void TdeCustomPDFEngine::DrawRectangleShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                                            double x2, double y2)
{
    tessaran::DrawRectangleShape(ShapeContent(), pen, brush, x1, y1, x2, y2);
}

void TdeCustomPDFEngine::DrawRoundRectShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                                            double x2, double y2, double x3, double y3)
{
    tessaran::DrawRoundRectShape(ShapeContent(), pen, brush, x1, y1, x2, y2, x3, y3);
}

void TdeCustomPDFEngine::DrawEllipseShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                                          double x2, double y2)
{
    tessaran::DrawEllipseShape(ShapeContent(), pen, brush, x1, y1, x2, y2);
}

void TdeCustomPDFEngine::DrawPolygonShape(const TdePoints &points, int noPoints, bool closed, const TdePen &pen,
                                          const TdeBrush *brush)
{
    tessaran::DrawPolygonShape(ShapeContent(), points, noPoints, closed, pen, brush);
}

void TdeCustomPDFEngine::DrawPolyShape(TdePolyShapeItem &item, bool closed)
{
    if (item.Shapes.empty() || !item.Shapes.front())
        return;
    std::vector<TdePoints> shapes;
    for (const auto &shape : item.Shapes) {
        if (!shape)
            continue;
        TdePoints points = shape->GetPoints();
        points.resize(static_cast<std::size_t>(std::min<int>(shape->NoPoints(), static_cast<int>(points.size()))));
        shapes.push_back(std::move(points));
    }
    const TdeShapeItem &first = *item.Shapes.front();
    tessaran::DrawPolyShape(ShapeContent(), shapes, first.Pen, first.Brush(), item.FillAlternate, closed);
}

void TdeCustomPDFEngine::DrawArcShape(const TdePen &pen, double x1, double y1, double x2, double y2, double x3,
                                      double y3, double x4, double y4)
{
    tessaran::DrawArcShape(ShapeContent(), pen, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TdeCustomPDFEngine::DrawPieShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                                      double y2, double x3, double y3, double x4, double y4)
{
    tessaran::DrawPieShape(ShapeContent(), pen, brush, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TdeCustomPDFEngine::DrawChordShape(const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                                        double y2, double x3, double y3, double x4, double y4)
{
    tessaran::DrawChordShape(ShapeContent(), pen, brush, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TdeCustomPDFEngine::DrawPolyBezierShape(const TdePoints &points, int noPoints, const TdePen &pen)
{
    tessaran::DrawPolyBezierShape(ShapeContent(), points, noPoints, pen);
}

} // namespace tessaran
