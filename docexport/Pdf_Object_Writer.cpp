#include "docexport/Pdf_Object_Writer.h"

#include "docexport/Doc_Utils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tessaran {

namespace {
const std::string CRLF = "\r\n";
}

std::string FormatPDFNumber(Extended value)
{
    if (std::isnan(value))
        value = 0;
    return FloatToPDFStrF(TFloatFormat::ffFixed, 18, 4, static_cast<double>(std::clamp(value, -PDFMaxReal, PDFMaxReal)));
}

void TdePDFObjectWriter::Begin(TStream &output)
{
    FOutputStream = &output;
    FXRefTable.clear();
    FLastObjNo = FixedObjectCount;
}

void TdePDFObjectWriter::End()
{
    FOutputStream = nullptr;
    FXRefTable.clear();
}

std::string TdePDFObjectWriter::ObjectHeader(int objNo) { return std::to_string(objNo) + " 0 obj"; }

std::string TdePDFObjectWriter::ObjectReference(int objNo) { return std::to_string(objNo) + " 0 R"; }

std::string TdePDFObjectWriter::FormatXRefEntry(std::int64_t offset, int generation, char kind)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.10lld %.5d %c", static_cast<long long>(offset), generation, kind);
    return buffer;
}

void TdePDFObjectWriter::RecordObjectOffset(std::int64_t offset, int objNo) { FXRefTable[objNo] = offset; }

void TdePDFObjectWriter::Write(const std::string &text)
{
    if (!text.empty())
        FOutputStream->WriteBuffer(text.data(), text.size());
}

void TdePDFObjectWriter::Write(const TMemoryStream &bytes)
{
    if (bytes.Size() > 0)
        FOutputStream->WriteBuffer(bytes.Bytes().data(), bytes.Bytes().size());
}

void TdePDFObjectWriter::WriteObject(const std::string &body, int objNo, bool closeObject)
{
    std::string text = body;
    if (text.find(CRLF) != std::string::npos)
        text = "<<" + CRLF + text + ">>";
    text = ObjectHeader(objNo) + CRLF + text + CRLF;
    if (closeObject)
        text += "endobj" + CRLF;
    else
        FStreamObjNo = objNo;
    RecordObjectOffset(OutputSize(), objNo);
    Write(text);
}

std::int64_t TdePDFObjectWriter::WriteStreamPart(const TMemoryStream &source, const TdeCompression &compression)
{
    Write("stream" + CRLF);
    // Built in memory first, so that the length is known when its object
    // is written after the stream.
    TMemoryStream data;
    std::int64_t n = WriteStreamData(source, data, compression.Enabled, compression.Level);
    EncryptStream(data, FStreamObjNo);
    Write(data);
    Write(CRLF + "endstream" + CRLF + "endobj" + CRLF);
    return n;
}

void TdePDFObjectWriter::WriteEncodedStreamPart(const TMemoryStream &data)
{
    Write("stream" + CRLF);
    if (FEncryptStream) {
        TMemoryStream encrypted = data;
        EncryptStream(encrypted, FStreamObjNo);
        Write(encrypted);
    } else {
        Write(data);
    }
    Write(CRLF + "endstream" + CRLF + "endobj" + CRLF);
}

void TdePDFObjectWriter::SetEncryptionHooks(TStringHook encryptString, TStreamHook encryptStream)
{
    FEncryptString = std::move(encryptString);
    FEncryptStream = std::move(encryptStream);
}

std::string TdePDFObjectWriter::EncryptString(const std::string &bytes, int objNo) const
{
    return FEncryptString ? FEncryptString(bytes, objNo, 0) : bytes;
}

void TdePDFObjectWriter::EncryptStream(TMemoryStream &data, int objNo) const
{
    if (FEncryptStream)
        FEncryptStream(data, data.Size(), objNo, 0);
}

std::string TdePDFObjectWriter::HexString(const std::string &bytes, int objNo) const
{
    return "<" + StrToHex(EncryptString(bytes, objNo)) + ">";
}

void TdePDFObjectWriter::WriteStreamWithLengthObject(int objNo, const std::string &dictionary, int lengthObjNo,
                                                     const TMemoryStream &source, const TdeCompression &compression)
{
    WriteObject(dictionary, objNo, false);
    std::int64_t n = WriteStreamPart(source, compression);
    WriteObject(std::to_string(n), lengthObjNo, true);
}

void TdePDFObjectWriter::WriteXRefAndTrailer(const std::string &trailerEntries)
{
    const std::int64_t start = OutputSize();
    std::string text = "xref" + CRLF + "0 " + std::to_string(FLastObjNo + 1) + CRLF;
    text += FormatXRefEntry(0, 65535, 'f') + CRLF;
    for (int n = 1; n <= FLastObjNo; ++n) {
        auto it = FXRefTable.find(n);
        if (it != FXRefTable.end())
            text += FormatXRefEntry(it->second, 0, 'n') + CRLF;
        else
            text += FormatXRefEntry(0, 0, 'f') + CRLF;
    }
    text += "trailer" + CRLF + "<<" + CRLF + trailerEntries + CRLF + ">>" + CRLF + "startxref" + CRLF +
            std::to_string(start) + CRLF + "%%EOF";
    Write(text);
}

} // namespace tessaran
