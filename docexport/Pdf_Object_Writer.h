#pragma once
// The byte-level side of a PDF file: numbering of indirect objects, writing
// each object while recording its offset, the common way of writing a
// stream object with its length, and the cross-reference table with the
// trailer. Single revision: every object has generation 0 and the table is
// one subsection from object 0.

#include "docexport/Pdf_Settings.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace tessaran {

// Every number of the page descriptions and dictionaries: fixed notation
// with four decimals and "." whatever the locale. A PDF number has no
// exponent, infinity or NaN: magnitudes beyond what fixed notation writes
// exactly (PDFMaxReal) are clamped to it. The public calls refuse values
// that are not finite; one that still gets here is written as 0 rather
// than raise half way through an object.
constexpr Extended PDFMaxReal = 1e15;

std::string FormatPDFNumber(Extended value);

class TdePDFObjectWriter {
public:
    // Numbers 1 to 5 are the catalog, the page tree, the information
    // dictionary, the procedure set and the shared resources.
    static constexpr int FixedObjectCount = 5;

    // Starts a file on output (written from its current end).
    void Begin(TStream &output);
    void End();
    bool Active() const { return FOutputStream != nullptr; }

    int NewObjectNumber() { return ++FLastObjNo; }
    int LastObjNo() const { return FLastObjNo; }
    static std::string ObjectHeader(int objNo);
    static std::string ObjectReference(int objNo);
    static std::string FormatXRefEntry(std::int64_t offset, int generation, char kind);

    void RecordObjectOffset(std::int64_t offset, int objNo);
    bool IsWritten(int objNo) const { return FXRefTable.count(objNo) != 0; }
    // A body holding a line break is a dictionary and is wrapped in
    // "<<" ... ">>"; stream objects are written with closeObject false.
    void WriteObject(const std::string &body, int objNo, bool closeObject);
    // The stream part of the stream object whose dictionary was just written:
    // "stream", the data (deflated when asked, then encrypted for that
    // object), "endstream", "endobj". Returns the number of data bytes.
    std::int64_t WriteStreamPart(const TMemoryStream &source, const TdeCompression &compression);
    // The same for data already encoded (its length is in the dictionary).
    void WriteEncodedStreamPart(const TMemoryStream &data);
    // A stream object whose dictionary refers to its length object, which
    // is written right after the stream.
    void WriteStreamWithLengthObject(int objNo, const std::string &dictionary, int lengthObjNo,
                                     const TMemoryStream &source, const TdeCompression &compression);

    // Encryption of a document: every string and every stream of the file
    // passes through these with the number of the object that holds it
    // (generation 0). Without hooks they change nothing.
    using TStringHook = std::function<std::string(const std::string &bytes, int objNo, int genNo)>;
    using TStreamHook = std::function<void(TMemoryStream &data, std::int64_t size, int objNo, int genNo)>;
    void SetEncryptionHooks(TStringHook encryptString, TStreamHook encryptStream);
    std::string EncryptString(const std::string &bytes, int objNo) const;
    void EncryptStream(TMemoryStream &data, int objNo) const;
    // A string of the object objNo as "<" hexadecimal digits ">".
    std::string HexString(const std::string &bytes, int objNo) const;

    void Write(const std::string &text);
    void Write(const TMemoryStream &bytes);
    std::int64_t OutputSize() const { return FOutputStream->Size(); }
    // The output itself, for the pass that fills in a signature.
    TStream *Output() const { return FOutputStream; }

    // The cross-reference table for objects 0 to LastObjNo and the trailer.
    // A number that was allocated but never written is listed as free, so
    // that no entry points at bytes that are not its object.
    void WriteXRefAndTrailer(const std::string &trailerEntries);

private:
    TStream *FOutputStream = nullptr;
    std::map<int, std::int64_t> FXRefTable;
    int FLastObjNo = FixedObjectCount;
    // The stream object whose dictionary was written last.
    int FStreamObjNo = 0;
    TStringHook FEncryptString;
    TStreamHook FEncryptStream;
};

} // namespace tessaran
