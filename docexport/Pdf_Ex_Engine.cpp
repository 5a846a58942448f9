#include "docexport/Pdf_Ex_Engine.h"

#include "docexport/Doc_Utils.h"
#include "docexport/Pdf_CCITT.h"
#include "docexport/Pdf_Compression.h"
#include "platform/Codepage1252.h"

#include <ctime>
#include <fstream>
#include <iterator>
#include <time.h>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

const char *const TextAnnotIcons[] = {"Comment", "Key", "Note", "Help", "NewParagraph", "Paragraph", "Insert"};
const char *const Alignments[] = {"left", "right", "center"};
const char *const HighlightModes[] = {"/N", "/I", "/O", "/P"};
const char *const LineEndings[] = {"None",      "Butt",        "Square",     "Circle",      "Diamond",
                                   "OpenArrow", "ClosedArrow", "ROpenArrow", "RClosedArrow"};
const char *const BorderStyles[] = {"/S", "/D", "/B", "/I", "/U"};
const char *const BorderStyleLetters[] = {"S", "D", "B", "I", "U"};
const char *const EffectStyles[] = {"/S", "/C"};
const char *const Intensities[] = {"0", "1", "2"};
const char *const MarkupTypes[] = {"/Highlight", "/Underline", "/Squiggly", "/StrikeOut"};
const char *const CaretSymbols[] = {"/P", "/None"};
const char *const StampNames[] = {"/Approved",   "/Experimental", "/NotApproved", "/AsIs",       "/Expired",
                                  "/NotForPublicRelease", "/Confidential", "/Final", "/Sold", "/Departmental",
                                  "/ForComment", "/TopSecret",    "/Draft",       "/ForPublicRelease"};
const char *const AttachmentIcons[] = {"/Graph", "/PushPin", "/Paperclip", "/Tag"};

template <std::size_t N, typename E> const char *NameOf(const char *const (&table)[N], E value)
{
    const auto i = static_cast<std::size_t>(value);
    return i < N ? table[i] : table[0];
}

std::string Number(Extended value) { return FormatPDFNumber(value); }

// The name an attached file goes by in the document: the folders it was
// taken from mean nothing to a reader, who saves it under this name.
std::string AttachedName(const std::string &path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The local date and time with the zone's offset from UTC.
std::string ModificationDate()
{
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatCreationTime(local, static_cast<int>(timezone / 60));
}

} // namespace

const char *ActionTypeName(TdeAnnotActionType type)
{
    static const char *const names[] = {"/GoTo", "/URI", "/Named", "/GoToR", "/Launch", "/JavaScript"};
    return NameOf(names, type);
}

const char *DestinationFitName(TdeDestinationFit fit)
{
    static const char *const names[] = {"/XYZ", "/Fit", "/FitH", "/FitV", "/FitR"};
    return NameOf(names, fit);
}

const char *NamedActionName(TdeNamedActionType type)
{
    static const char *const names[] = {" /NextPage", " /PrevPage", " /FirstPage", " /LastPage"};
    return NameOf(names, type);
}

TdeExPDFEngine::TdeExPDFEngine(TdeBaseComponent *owner)
    : TdeCustomPDFEngine(owner), FDocEventJSAction(std::make_unique<TdeDocEventJSAction>())
{
}

TdeExPDFEngine::~TdeExPDFEngine() = default;

void TdeExPDFEngine::SetDocEventJSAction(std::unique_ptr<TdeDocEventJSAction> value)
{
    FDocEventJSAction = value ? std::move(value) : std::make_unique<TdeDocEventJSAction>();
}

// ---- Collecting ---------------------------------------------------------------------

void TdeExPDFEngine::AddAnnotItem(std::unique_ptr<TdePDFAnnot> annot)
{
    if (!annot || !IsDocumentStarted())
        return;
    TdeRect r{UnitToNativeX(annot->Rect.Left), UnitToNativeY(annot->Rect.Top), UnitToNativeX(annot->Rect.Right),
              UnitToNativeY(annot->Rect.Bottom)};
    const TdeBandType band = BandType();
    SetBandType(TdeBandType::btContent);
    const TdeRect bandRect = BandRect();
    r.Left += bandRect.Left;
    r.Top += bandRect.Top;
    r.Right += bandRect.Left;
    r.Bottom += bandRect.Top;
    SetBandType(band);
    if (r.Left < bandRect.Left || r.Left > bandRect.Right || r.Top < bandRect.Top || r.Top > bandRect.Bottom)
        return;
    annot->Rect = r;
    annot->PageNo = CurrentPage();
    FAnnotList.emplace_back(NewObjectNumber(), std::move(annot));
}

void TdeExPDFEngine::AddCustomDocInfo(std::unique_ptr<TdePDFCustomDocInfo> item)
{
    if (item && IsDocumentStarted())
        FCstDocInfoList.push_back(*item);
}

void TdeExPDFEngine::AddPageEventAction(std::unique_ptr<TdePageEventAction> action)
{
    if (!action || !IsDocumentStarted())
        return;
    std::erase_if(FPageEventActionList, [&](const auto &listed) { return listed->PageNo == action->PageNo; });
    FPageEventActionList.push_back(std::move(action));
}

// ---- Output hooks ---------------------------------------------------------------------

void TdeExPDFEngine::BeginDocOutput()
{
    // The certificate is checked before the file is made: without a
    // usable one the document is written unsigned (or not at all when no
    // handler takes the error).
    bool sign = false;
    if (DigitalSignature().Enabled) {
        sign = PrepareSignature(DigitalSignature().SignatureProperties);
        if (!sign)
            ReportError<ESignatureCertificate>();
    }
    TdeCustomPDFEngine::BeginDocOutput();
    FAnnotList.clear();
    FPDFFormFields.clear();
    FFieldGlyphMaps.clear();
    FAcroForms = 0;
    FSigFormField.reset();
    if (sign)
        BuildSignatureField();
    FCstDocInfoList.clear();
    FPageEventActionList.clear();
    FCstDocInfo = 0;
    FDocEventJS = 0;
    FDocEventJSAction->Clear();
}

void TdeExPDFEngine::EndPageOutput()
{
    for (const auto &[objNo, annot] : FAnnotList)
        if (annot->PageNo == CurrentPage())
            FAnnots += " " + ObjectReference(objNo);
    AddFieldWidgets();
    TdeCustomPDFEngine::EndPageOutput();
}

void TdeExPDFEngine::EndDocOutput()
{
    if (FWriter.Active()) {
        try {
            if (!FAnnotList.empty())
                WriteAnnotations();
            if (!FPDFFormFields.empty() || FSignDoc)
                WriteFormFields();
            if (!FCstDocInfoList.empty())
                WriteMetadata();
            if (!FDocEventJSAction->Empty())
                WriteDocumentScripts();
        } catch (...) {
            DiscardOutput();
            FAnnotList.clear();
            FPDFFormFields.clear();
            throw;
        }
    }
    TdeCustomPDFEngine::EndDocOutput();
    FAnnotList.clear();
    FPDFFormFields.clear();
    FFieldGlyphMaps.clear();
    FCstDocInfoList.clear();
    FPageEventActionList.clear();
}

std::string TdeExPDFEngine::GetCatalogEntries()
{
    std::string text = TdeCustomPDFEngine::GetCatalogEntries();
    if (FAcroForms > 0)
        text += " /AcroForm " + ObjectReference(FAcroForms);
    if (FCstDocInfo > 0)
        text += " /Metadata " + ObjectReference(FCstDocInfo);
    if (FDocEventJS > 0)
        text += " /AA " + ObjectReference(FDocEventJS);
    return text;
}

std::string TdeExPDFEngine::GetPageEntries(int pageObjNo)
{
    std::string text = TdeCustomPDFEngine::GetPageEntries(pageObjNo);
    for (const auto &event : FPageEventActionList) {
        if (event->PageNo != CurrentPage())
            continue;
        const std::string open = event->OpenAction ? EventActionText(*event->OpenAction, pageObjNo) : "";
        const std::string close = event->CloseAction ? EventActionText(*event->CloseAction, pageObjNo) : "";
        if (open.empty() && close.empty())
            break;
        text += "/AA << ";
        if (!open.empty())
            text += "/O <</S " + open + ">>";
        if (!close.empty())
            text += "/C <</S " + close + ">>";
        text += " >>";
        break;
    }
    return text;
}

std::unique_ptr<TMemoryStream> TdeExPDFEngine::EncodeCCITTImage(const TBitmap &bitmap, TdeOutputImageFormat format)
{
    const std::vector<std::uint8_t> samples = MonochromeSamples(bitmap);
    if (format == TdeOutputImageFormat::ifCCITT3)
        return EncodeCCITT1D(samples, bitmap.Width(), bitmap.Height());
    return EncodeCCITTGroup4(samples, bitmap.Width(), bitmap.Height());
}

// ---- Strings, points and destinations ---------------------------------------------------

std::string TdeExPDFEngine::AHex(const std::string &utf8, int objNo)
{
    return StrToHex(EncryptString(Utf8ToCp1252(utf8), objNo, 0));
}

std::string TdeExPDFEngine::LiteralString(const std::string &text, int objNo)
{
    if (FPDFEncrypt)
        return "<" + StrToHex(EncryptString(text, objNo, 0)) + ">";
    return "(" + text + ")";
}

int TdeExPDFEngine::PageObject(int pageNo) const
{
    if (pageNo < 1 || pageNo > static_cast<int>(FPageList.size()))
        return 0;
    return FPageList[static_cast<std::size_t>(pageNo - 1)].ObjNo;
}

std::string TdeExPDFEngine::Point(int pageNo, double x, double y)
{
    return Number(PixelToPointX(UnitToNativeX(x))) + " " + Number(PixelToPointY(pageNo, UnitToNativeY(y)));
}

std::string TdeExPDFEngine::Destination(int pageNo, const std::string &page, TdeDestinationFit fit,
                                        const TdeRect &rect, int zoom, bool resolutionFactor)
{
    const double fx = resolutionFactor ? double(ScreenPixelsPerInch) / InputXRes() : 1.0;
    const double fy = resolutionFactor ? double(ScreenPixelsPerInch) / InputYRes() : 1.0;
    auto X = [&](double v) { return Number(PixelToPointX(v) * fx); };
    auto Y = [&](double v) { return Number(PixelToPointY(pageNo, v) * fy); };
    std::string parameters;
    switch (fit) {
    case TdeDestinationFit::dfXYZ: parameters = X(rect.Left) + " " + Y(rect.Top) + " " + std::to_string(zoom); break;
    case TdeDestinationFit::dfFit: break;
    case TdeDestinationFit::dfFitH: parameters = Y(rect.Top) + " "; break;
    case TdeDestinationFit::dfFitV: parameters = X(rect.Left) + " "; break;
    case TdeDestinationFit::dfFitR:
        parameters = X(rect.Left) + " " + Y(rect.Bottom) + " " + X(rect.Right) + " " + Y(rect.Top) + " ";
        break;
    }
    return "/D [" + page + " " + DestinationFitName(fit) + " " + parameters + " ]";
}

// ---- Actions ------------------------------------------------------------------------------

std::string TdeExPDFEngine::AnnotActionText(TdeAnnotAction &action, int objNo)
{
    std::string text = std::string("/Type /Action/S ") + ActionTypeName(action.SubType());
    if (auto *goTo = dynamic_cast<TdeGoToAction *>(&action)) {
        TdeRect &r = goTo->DestRect;
        r = TdeRect{UnitToNativeX(r.Left), UnitToNativeY(r.Top), UnitToNativeX(r.Right), UnitToNativeY(r.Bottom)};
        const int page = PageObject(goTo->DestPageNo);
        if (page <= 0)
            return "";
        text += Destination(goTo->DestPageNo, ObjectReference(page), goTo->Fit, r, goTo->Zoom,
                            goTo->Fit == TdeDestinationFit::dfFitR);
    } else if (auto *uri = dynamic_cast<TdeURIAction *>(&action)) {
        text += " /URI <" + AHex(uri->URIText, objNo) + ">";
    } else if (auto *named = dynamic_cast<TdeNamedAction *>(&action)) {
        text += std::string("/N ") + NamedActionName(named->NamedAction);
    } else if (auto *remote = dynamic_cast<TdeGoToRAction *>(&action)) {
        // A page of another file is named by its index there: an object of
        // this file means nothing to it.
        text += "/F <" + AHex(remote->FileName, objNo) + ">" +
                Destination(remote->DestPageNo, std::to_string(std::max(0, remote->DestPageNo - 1)), remote->Fit,
                            remote->DestRect, remote->Zoom, false) +
                " /NewWindow " + (remote->NewWindow ? "true" : "false");
    } else if (auto *launch = dynamic_cast<TdeLaunchAction *>(&action)) {
        text += "/F <" + AHex(launch->FileName, objNo) + "> /NewWindow " + (launch->NewWindow ? "true" : "false");
    } else if (auto *script = dynamic_cast<TdeJavaScriptAction *>(&action)) {
        text += "/JS <" + UHex(script->Script, objNo) + ">";
    } else {
        return "";
    }
    return "/A << " + text + " >> ";
}

std::string TdeExPDFEngine::EventActionText(const TdeAnnotAction &action, int pageObjNo)
{
    const int P = pageObjNo;
    if (auto *script = dynamic_cast<const TdeJavaScriptAction *>(&action))
        return "/JavaScript /JS <" + UHex(script->Script, P) + ">";
    if (auto *named = dynamic_cast<const TdeNamedAction *>(&action))
        return std::string("/Named /N ") + NamedActionName(named->NamedAction);
    if (auto *uri = dynamic_cast<const TdeURIAction *>(&action))
        return "/URI /URI <" + AHex(uri->URIText, P) + ">";
    if (auto *launch = dynamic_cast<const TdeLaunchAction *>(&action))
        return "/Launch /F <" + AHex(launch->FileName, P) + "> /NewWindow " + (launch->NewWindow ? "true" : "false");
    if (auto *goTo = dynamic_cast<const TdeGoToAction *>(&action)) {
        // A page that is not written (yet) has no object to go to.
        const int page = PageObject(goTo->DestPageNo);
        if (page <= 0)
            return "";
        return "/GoTo " +
               Destination(goTo->DestPageNo, ObjectReference(page), goTo->Fit, goTo->DestRect, goTo->Zoom, false);
    }
    if (auto *remote = dynamic_cast<const TdeGoToRAction *>(&action))
        return "/GoToR/F <" + AHex(remote->FileName, P) + ">" +
               Destination(remote->DestPageNo, std::to_string(std::max(0, remote->DestPageNo - 1)), remote->Fit,
                           remote->DestRect, remote->Zoom, false) +
               " /NewWindow " + (remote->NewWindow ? "true" : "false");
    return "";
}

// ---- Annotations ---------------------------------------------------------------------------

std::string TdeExPDFEngine::AnnotationText(TdePDFAnnot &a, int N)
{
    const int page = a.PageNo;
    const double fx = double(ScreenPixelsPerInch) / InputXRes();
    const double fy = double(ScreenPixelsPerInch) / InputYRes();
    auto X = [&](double v) { return Number(PixelToPointX(v) * fx); };
    auto Y = [&](double v) { return Number(PixelToPointY(page, v) * fy); };
    std::string text = "/Type /Annot/Rect [" + X(a.Rect.Left) + " " + Y(a.Rect.Top) + " " + X(a.Rect.Right) + " " +
                       Y(a.Rect.Bottom) + "]";
    const std::string RGB = ColorToPDFRGB(a.BorderColor);
    const std::string U = UHex(a.Contents, N);
    const std::string M = "/M" + LiteralString(ModificationDate(), N);
    const std::string TS = " /T <" + UHex(a.Title, N) + ">" + "/Subj<" + UHex(a.Subject, N) + ">";
    auto points = [&](const TdePoints &list) {
        std::string s;
        for (const TdePoint &p : list)
            s += Point(page, p.X, p.Y) + " ";
        return s;
    };
    auto BS = [](const TdePDFShapeAnnot &s) {
        return "/BS << /W " + std::to_string(s.BorderWidth) + "/D [" + s.DashPattern + "] /S " +
               NameOf(BorderStyles, s.BorderStyle) + ">>";
    };
    auto RD = [](const std::array<double, 4> &d) {
        return Number(d[0]) + " " + Number(d[1]) + " " + Number(d[2]) + " " + Number(d[3]);
    };
    // The kinds that write a border style of their own take no second one
    // from the brush: a key stands once in a dictionary.
    bool ownBorder = false;

    if (auto *t = dynamic_cast<TdePDFTextAnnot *>(&a)) {
        text += "/Subtype /Text /T <" + UHex(a.Title, N) + ">/C [" + RGB + "]/Subj<" + UHex(a.Subject, N) + ">" + M +
                "/Name /" + NameOf(TextAnnotIcons, t->Icon) + "/Contents <" + U + ">" +
                (t->Open ? "/Open true" : "/Open false");
    } else if (auto *f = dynamic_cast<TdePDFFreeTextAnnot *>(&a)) {
        // The default appearance is operator text (a font and a colour),
        // not a text string.
        text += "/Subtype /FreeText/Contents <" + AHex(Utf16ToUtf8(a.Contents), N) + ">/DA <" +
                StrToHex(EncryptString("/Helv " + std::to_string(f->Font.Size) + " Tf " +
                                           ColorToPDFRGB(f->TextColor) + " rg",
                                       N, 0)) +
                ">/DS <" +
                UHex(Utf8ToUtf16("font: " + f->Font.Name + " " + std::to_string(f->Font.Size) +
                                 "pt; text-align:" + NameOf(Alignments, f->Alignment) + "; color: #" +
                                 ColorToHex(f->TextColor)),
                     N) +
                ">";
    } else if (auto *l = dynamic_cast<TdePDFLinkAnnot *>(&a)) {
        text += std::string("/Subtype /Link/H ") + NameOf(HighlightModes, l->HighlightMode) + "/Border [0 0 " +
                std::to_string(l->BorderWidth) + "]/C [" + RGB + "]";
    } else if (auto *line = dynamic_cast<TdePDFLineAnnot *>(&a)) {
        ownBorder = true;
        text += "/Subtype /Line/L [" + Point(page, line->StartX, line->StartY) + " " +
                Point(page, line->EndX, line->EndY) + "]" + BS(*line) + "/LE [/" +
                NameOf(LineEndings, line->BeginStyle) + " /" + NameOf(LineEndings, line->EndStyle) + "]/C [" + RGB +
                "]/IC [" + ColorToPDFRGB(line->InteriorColor) + "]/Contents <" + U + ">" + TS + M;
    } else if (auto *sq = dynamic_cast<TdePDFSquareAnnot *>(&a)) {
        ownBorder = true;
        const bool circle = dynamic_cast<TdePDFCircleAnnot *>(&a) != nullptr;
        text += std::string("/Subtype ") + (circle ? "/Circle" : "/Square") + BS(*sq) + "/C [" + RGB + "]/IC [" +
                ColorToPDFRGB(sq->InteriorColor) + "]/Contents <" + U + "> /BE << /S " +
                NameOf(EffectStyles, sq->EffectStyle) + " /I " + NameOf(Intensities, sq->EffectIntensity) +
                (circle ? ">>/RD [" : ">> /RD [") + RD(sq->RectDifferences) + "]" + TS + M;
    } else if (auto *pl = dynamic_cast<TdePDFPolyLineAnnot *>(&a)) {
        ownBorder = true;
        text += "/Subtype /PolyLine /Vertices [" + points(pl->Vertices) + "] " + BS(*pl) + "/C [" + RGB + "]/LE [/" +
                NameOf(LineEndings, pl->BeginStyle) + " /" + NameOf(LineEndings, pl->EndStyle) + "] /IC [" +
                ColorToPDFRGB(pl->InteriorColor) + "] /BE << /S " + NameOf(EffectStyles, pl->EffectStyle) + " /I " +
                NameOf(Intensities, pl->EffectIntensity) + ">> /T <" + UHex(a.Title, N) + ">/Contents <" + U +
                ">/Subj<" + UHex(a.Subject, N) + ">" + M;
    } else if (auto *pg = dynamic_cast<TdePDFPolygonAnnot *>(&a)) {
        ownBorder = true;
        text += "/Subtype /Polygon /Vertices [" + points(pg->Vertices) + "] " + BS(*pg) + "/C [" + RGB + "] /IC [" +
                ColorToPDFRGB(pg->InteriorColor) + "]/Contents <" + U + "> /BE << /S " +
                NameOf(EffectStyles, pg->EffectStyle) + " /I " + NameOf(Intensities, pg->EffectIntensity) + ">>" +
                TS.substr(1) + M;
    } else if (auto *st = dynamic_cast<TdePDFStampAnnot *>(&a)) {
        text += std::string("/Subtype /Stamp /Name ") + NameOf(StampNames, st->StampName) + "/C [" + RGB +
                "] /Contents <" + U + ">/T <" + UHex(a.Title, N) + ">/Subj<" + UHex(a.Subject, N) + ">" + M;
    } else if (auto *mk = dynamic_cast<TdePDFTextMarkupAnnot *>(&a)) {
        text += std::string("/Subtype ") + NameOf(MarkupTypes, mk->MarkupType) + "/QuadPoints [" +
                points(mk->QuadPoints) + "]/Contents <" + U + ">/C [" + RGB + "] " + TS + M;
    } else if (auto *ca = dynamic_cast<TdePDFCaretAnnot *>(&a)) {
        text += std::string("/Subtype /Caret /Sy ") + NameOf(CaretSymbols, ca->Symbol) + "/C [" + RGB +
                "]/Contents <" + U + "> /RD [" + RD(ca->RectDifferences) + "]" + TS + M;
    } else if (auto *ink = dynamic_cast<TdePDFInkAnnot *>(&a)) {
        text += "/Subtype /Ink /InkList [[" + points(ink->InkPoints) + "]] /C [" + RGB + "]/Contents <" + U + ">" +
                TS + M;
    } else if (auto *fa = dynamic_cast<TdePDFFileAttachmentAnnot *>(&a)) {
        std::ifstream file(fa->FileName, std::ios::binary);
        if (file) {
            const int F = NewObjectNumber();
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            if (file.bad())
                throw EStreamError("Cannot read " + fa->FileName);
            TMemoryStream source(std::move(bytes)), data;
            WriteStreamData(source, data, Compression().Enabled, Compression().Level);
            FWriter.WriteObject("/Length " + std::to_string(data.Size()) + CRLF +
                                    (Compression().Enabled ? "/Filter /FlateDecode" + CRLF : std::string()),
                                F, false);
            FWriter.WriteEncodedStreamPart(data);
            text += std::string("/Subtype /FileAttachment/Name ") + NameOf(AttachmentIcons, fa->Icon) + "/C [" +
                    RGB + "]/Subj<" + UHex(a.Subject, N) + ">/Contents <" + U + "> /T <" + UHex(a.Title, N) + ">" +
                    M + "/FS << /F <" + AHex(AttachedName(fa->FileName), N) + ">/EF<< /F " + ObjectReference(F) +
                    "/Type /Filespec >>>>";
        }
    }
    if (a.Brush && !ownBorder)
        text += "/BS << /W " + std::to_string(a.Brush->Width()) + "/S /" + NameOf(BorderStyleLetters, a.Brush->Style) +
                " >>";
    if (a.Action)
        text += AnnotActionText(*a.Action, N);
    return text + CRLF;
}

void TdeExPDFEngine::WriteAnnotations()
{
    for (auto &[objNo, annot] : FAnnotList)
        FWriter.WriteObject(AnnotationText(*annot, objNo), objNo, true);
}

// ---- Metadata and document scripts ---------------------------------------------------------

void TdeExPDFEngine::WriteMetadata()
{
    FCstDocInfo = NewObjectNumber();
    const std::string packet = BuildXmpPacket(FCstDocInfoList);
    FWriter.WriteObject("/Type /Metadata\r\n/Subtype /XML\r\n/Length " + std::to_string(packet.size()) + CRLF,
                        FCstDocInfo, false);
    FWriter.WriteEncodedStreamPart(TMemoryStream(std::vector<std::uint8_t>(packet.begin(), packet.end())));
}

void TdeExPDFEngine::WriteDocumentScripts()
{
    FDocEventJS = NewObjectNumber();
    const TdeDocEventJSAction &js = *FDocEventJSAction;
    const std::pair<const char *, const std::string *> scripts[] = {
        {"/WP", &js.BeforePrint}, {"/DP", &js.AfterPrint}, {"/WS", &js.BeforeSave},
        {"/DS", &js.AfterSave},   {"/WC", &js.BeforeClose},
    };
    std::string body;
    for (const auto &[key, script] : scripts)
        if (!script->empty())
            body += std::string(key) + " << /S /JavaScript/JS <" + AHex(*script, FDocEventJS) + "> >>" + CRLF;
    FWriter.WriteObject(body, FDocEventJS, true);
}

} // namespace tessaran
