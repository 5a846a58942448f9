#include "docexport/Pdf_Engine.h"

#include "docexport/Doc_Utils.h"
#include "docexport/Pdf_Outlines.h"
#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

// A date at midnight takes the time of day from now.
std::tm SignatureTime(std::time_t dateTime, std::time_t now)
{
    std::tm date{};
    localtime_r(&dateTime, &date);
    if (date.tm_hour == 0) {
        std::tm current{};
        localtime_r(&now, &current);
        date.tm_hour = current.tm_hour;
        date.tm_min = current.tm_min;
        date.tm_sec = current.tm_sec;
    }
    return date;
}

std::string Digits2(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Text in parentheses of a content stream: the code page bytes, escaped.
std::string LiteralText(const std::string &utf8)
{
    return Utf16ToUtf8(EscapePDFString(Utf8ToUtf16(utf8)));
}

} // namespace

std::string SignatureDisplayDate(std::time_t dateTime, std::time_t now)
{
    std::tm date{};
    localtime_r(&dateTime, &date);
    std::string text = "D:" + std::to_string(date.tm_year + 1900) + "/" + Digits2(date.tm_mon + 1) + "/" +
                       Digits2(date.tm_mday);
    if (date.tm_hour != 0)
        text += " T:" + Digits2(date.tm_hour) + ":" + Digits2(date.tm_min) + ":" + Digits2(date.tm_sec);
    (void)now;
    return text;
}

std::string SignatureDate(std::time_t dateTime, std::time_t now)
{
    const std::tm date = SignatureTime(dateTime, now);
    return "D:" + std::to_string(date.tm_year + 1900) + Digits2(date.tm_mon + 1) + Digits2(date.tm_mday) +
           Digits2(date.tm_hour) + Digits2(date.tm_min) + Digits2(date.tm_sec);
}

std::string TdeCustomPDFEngine::GetBorderStyleEntry(int width, std::uint8_t style)
{
    static const char *const letters[] = {"S", "D", "B", "I", "U"};
    return "/BS << /W " + std::to_string(width) + "/S /" + letters[style < 5 ? style : 0] + " >>";
}

bool TdeCustomPDFEngine::PrepareSignature(const TdeSignature &signature)
{
    FSigCertificate = TdePKCS7::GetPFXCertWithPvtKey(signature.CertFileName, signature.CertPassword);
    if (!FSigCertificate.Valid())
        return false;
    // The signed message of a digest has the same size whatever the digest:
    // a trial tells how much room the real one needs.
    const std::uint8_t digest[20] = {};
    const std::string trial = TdePKCS7::SignMessage(FSigCertificate, digest, sizeof digest, false);
    if (trial.empty()) {
        FSigCertificate = TSigningCertificate();
        return false;
    }
    FSigHexReserve = std::max<std::size_t>(3000, 2 * trial.size() + 64);
    FSignature = signature;
    return true;
}

void TdeCustomPDFEngine::SetSignatureRect(const TdeRect &rect, int pageNumber)
{
    FRect = rect;
    FSigPageNumber = pageNumber;
}

int TdeCustomPDFEngine::FormFontIndex(const TFont &font, bool composite)
{
    const TdeFontEncoding encoding = composite ? TdeFontEncoding::feCID : TdeFontEncoding::feWinAnsi;
    for (std::size_t i = FFontTable.size(); i-- > 0;)
        if (FFontTable[i]->IsEqual(font, encoding, true))
            return static_cast<int>(i);
    const bool subset = Preferences().EmbedTrueTypeFonts == TdeTTFontEmbedding::etfSubset && IsEmbedded(font.Name);
    FFontTable.push_back(
        std::make_unique<TdePDFFont>(font, NewObjectNumber(), composite, subset, true, SubsetTag(FFontTable.size())));
    return static_cast<int>(FFontTable.size()) - 1;
}

void TdeCustomPDFEngine::WriteSignatureField(const TdeRect &rect, int pageNumber)
{
    const std::time_t now = std::time(nullptr);
    const TdeFieldProperties &field = FDigitalSignature.FieldProperties;

    // 1. The signature dictionary, all blanks for now.
    const int d = NewObjectNumber();
    auto text = [&](const std::string &utf8) { return "<" + EncodeInfoString(Utf8ToUtf16(utf8), d) + ">"; };
    std::string entries = "/Type /Sig /Filter /" + EscapeNameChars(FSignature.FFilter) + " /SubFilter /" +
                          EscapeNameChars(FSignature.FSubFilter);
    const std::pair<const char *, const std::string *> values[] = {{" /Name ", &FSignature.Author},
                                                                   {" /Reason ", &FSignature.Reason},
                                                                   {" /Location ", &FSignature.Location},
                                                                   {" /ContactInfo ", &FSignature.ContactInfo}};
    for (const auto &[key, value] : values)
        if (!value->empty())
            entries += key + text(*value);
    if (FSignature.DateTime != 0)
        entries += " /M <" + StrToHex(EncryptString(SignatureDate(FSignature.DateTime, now), d, 0)) + ">";
    entries += " /Contents<";
    FSigDictEntries = entries;
    // The entries, the message's digits, ">" and the byte range with four numbers.
    FSigDictReserve = std::max<std::size_t>(3501, entries.size() + FSigHexReserve + 1 + 100);
    FWriter.RecordObjectOffset(FWriter.OutputSize(), d);
    FWriter.Write(TdePDFObjectWriter::ObjectHeader(d) + CRLF + "<<");
    FTmpSigOffset1 = FWriter.OutputSize();
    FWriter.Write(std::string(FSigDictReserve, ' ') + ">>" + CRLF + "endobj" + CRLF);

    // The field rectangle in page points (annotations are not under the
    // page's matrix).
    const double fx = double(ScreenPixelsPerInch) / InputXRes();
    const double fy = double(ScreenPixelsPerInch) / InputYRes();
    const double left = PixelToPointX(rect.Left) * fx, right = PixelToPointX(rect.Right) * fx;
    const double top = PixelToPointY(pageNumber, rect.Top) * fy, bottom = PixelToPointY(pageNumber, rect.Bottom) * fy;

    // 2. The appearance.
    std::string appearance;
    if (field.Visible) {
        const int a = NewObjectNumber();
        const double W = std::abs(right - left), H = std::abs(top - bottom);
        TFont fieldFont = field.Font;
        if (fieldFont.Name.empty())
            fieldFont.Name = "Arial";
        const int fi = FormFontIndex(fieldFont, false);
        TdePDFFont &pdfFont = *FFontTable[static_cast<std::size_t>(fi)];
        const TFont &font = pdfFont.Font();
        std::vector<std::string> lines;
        const TdeSigFieldAppearenceOptions &options = FSignature.SigFieldAppearenceOptions;
        const bool labels = options.Contains(TdeSigFieldAppearenceOption::sfaoShowLabels);
        auto add = [&](TdeSigFieldAppearenceOption option, const char *label, const std::string &value) {
            if (options.Contains(option))
                lines.push_back((labels ? std::string(label) : std::string()) + value);
        };
        add(TdeSigFieldAppearenceOption::sfaoShowName, "Digitally signed by: ", FSignature.Author);
        add(TdeSigFieldAppearenceOption::sfaoShowReason, "Reason: ", FSignature.Reason);
        add(TdeSigFieldAppearenceOption::sfaoShowLocation, "Location: ", FSignature.Location);
        if (FSignature.DateTime != 0)
            add(TdeSigFieldAppearenceOption::sfaoShowDate, "Date: ", SignatureDisplayDate(FSignature.DateTime, now));

        // Word wrap to the field's width less 4 points.
        const double limit = W - 4;
        auto width = [&](const std::string &line) {
            return std::round(GetTextExtent(Utf8ToUtf16(line), font).cx * FPixelToPointMultiplier);
        };
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (width(lines[i]) <= limit)
                continue;
            std::vector<std::string> words;
            std::string word;
            for (char c : lines[i]) {
                if (c == ' ' || c == ',') {
                    if (!word.empty())
                        words.push_back(word);
                    word.clear();
                } else {
                    word += c;
                }
            }
            if (!word.empty())
                words.push_back(word);
            if (words.size() < 2)
                continue;
            std::string kept = words[0];
            std::size_t next = 1;
            while (next < words.size() && width(kept + " " + words[next]) < limit)
                kept += " " + words[next++];
            if (next >= words.size())
                continue;
            std::string rest;
            for (std::size_t k = next; k < words.size(); ++k)
                rest += (rest.empty() ? "" : " ") + words[k];
            lines[i] = kept;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, rest);
        }

        const std::string size = std::to_string(font.Size);
        std::string content = ColorToPDFRGB(field.FillColor) + " rg 0 0 " + FloatToPDFStr(W) + " " +
                              FloatToPDFStr(H) + " re f " + "0 0 0" + " RG" + CRLF + " BT /F" + std::to_string(fi) +
                              " " + size + " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 " + "1" + " " +
                              FloatToPDFStr(std::round(H) - 2) + " Tm " + "0 " + "-" + size + " TD";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            pdfFont.AddUsedCharacters(Utf8ToUtf16(lines[i]));
            content += "(" + Utf8ToCp1252(LiteralText(lines[i])) + ") Tj" + CRLF;
            if (i + 1 < lines.size())
                content += "T*" + CRLF;
        }
        content += "ET";
        TMemoryStream data(std::vector<std::uint8_t>(content.begin(), content.end()));
        EncryptStream(data, data.Size(), a, 0);
        FWriter.RecordObjectOffset(FWriter.OutputSize(), a);
        FWriter.Write(TdePDFObjectWriter::ObjectHeader(a) + CRLF + "<<" + " /BBox [ 0 0 " + FloatToPDFStr(W) + " " +
                      FloatToPDFStr(H) + " ]" + " /Matrix [ 1 0 0 1 0 0 ]" + " /Resources 5 0 R" +
                      " /Subtype /Form /Length " + std::to_string(data.Size()) + ">>" + CRLF + "stream" + CRLF);
        FWriter.Write(data);
        FWriter.Write(CRLF + "endstream" + CRLF + "endobj" + CRLF);
        appearance = " /AP <</N " + ObjectReference(a) + " >> ";
    }

    // 3 and 4. The widget.
    FSigObjNumber = NewObjectNumber();
    FSigPageObjNumber = FPageList[static_cast<std::size_t>(pageNumber - 1)].ObjNo;
    const std::string R = field.Visible ? FormatNumber(left) + " " + FormatNumber(top) + " " + FormatNumber(right) +
                                              " " + FormatNumber(bottom)
                                        : "0 0 0 0";
    const std::string name = FSigFieldName.empty() ? "Signature" : FSigFieldName;
    FWriter.RecordObjectOffset(FWriter.OutputSize(), FSigObjNumber);
    FWriter.Write(TdePDFObjectWriter::ObjectHeader(FSigObjNumber) + CRLF + "<<" +
                  "/Type /Annot /Subtype /Widget /Rect [ " + R + " ]" + " /BS <</Type /Border /S /S /W 1 >>" +
                  " /MK <</BG [" + ColorToPDFRGB(field.FillColor) + "] /BC [ 0 0 0 ] /R 0 >>" + appearance +
                  " /FT /Sig /P " + ObjectReference(FSigPageObjNumber) + " /V " + ObjectReference(d) + " /T <" +
                  EncodeInfoString(Utf8ToUtf16(name), FSigObjNumber) + ">" + " /Ff 0 /F 4" + CRLF + ">>" + CRLF +
                  "endobj" + CRLF);
}

bool TdeCustomPDFEngine::SignDocument()
{
    TStream *out = FWriter.Output();
    if (!out || FSigObjNumber == 0 || FTmpSigOffset1 == 0)
        return false;
    try {
        FTmpSigOffset2 = out->Size();
        const std::int64_t L1 = FTmpSigOffset1 + static_cast<std::int64_t>(FSigDictEntries.size()) - 1;
        const std::int64_t S2 = L1 + 1 + static_cast<std::int64_t>(FSigHexReserve) + 1;
        const std::int64_t L2 = FTmpSigOffset2 - S2;
        const std::string body = FSigDictEntries + std::string(FSigHexReserve, '0') + ">/ByteRange [0 " +
                                 std::to_string(L1) + " " + std::to_string(S2) + " " + std::to_string(L2) + "]";
        if (body.size() > FSigDictReserve || L2 < 0)
            return false;
        out->Seek(FTmpSigOffset1);
        out->WriteBuffer(body.data(), body.size());

        std::vector<std::uint8_t> ranges(static_cast<std::size_t>(L1 + L2));
        out->Seek(0);
        if (L1 > 0)
            out->ReadBuffer(ranges.data(), static_cast<std::size_t>(L1));
        out->Seek(S2);
        if (L2 > 0)
            out->ReadBuffer(ranges.data() + L1, static_cast<std::size_t>(L2));
        const std::string digest = TdePKCS7::ComputeHash(ranges.data(), ranges.size());
        if (digest.size() != 20)
            return false;
        const std::string message = TdePKCS7::SignMessage(
            FSigCertificate, reinterpret_cast<const std::uint8_t *>(digest.data()), digest.size(), false);
        const std::string hex = StrToHex(message);
        if (message.empty() || hex.size() > FSigHexReserve)
            return false;
        out->Seek(L1 + 1);
        out->WriteBuffer(hex.data(), hex.size());
        out->Seek(out->Size());
        FSignature.FOffset1 = 0;
        FSignature.FOffset2 = L1;
        FSignature.FOffset3 = S2;
        FSignature.FOffset4 = L2;
        TdeSignature &settings = FDigitalSignature.SignatureProperties;
        settings.FOffset1 = 0;
        settings.FOffset2 = L1;
        settings.FOffset3 = S2;
        settings.FOffset4 = L2;
        return true;
    } catch (const EStreamError &) {
        return false;
    }
}

} // namespace tessaran
