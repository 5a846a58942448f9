#include "docexport/Pdf_Outlines.h"

#include <cmath>

#include "docexport/Doc_Utils.h"

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string Trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

class OutlineWriter {
public:
    OutlineWriter(TdePDFObjectWriter &writer, const std::vector<TdeOutlineEntry> &entries,
                  const TdeOutlinePages &pages)
        : FWriter(writer), FEntries(entries), FPages(pages)
    {
    }

    int FirstWithParent(int parent, int after) const
    {
        for (int i = after + 1; i < static_cast<int>(FEntries.size()); ++i)
            if (FEntries[i].ParentNode == parent)
                return i;
        return -1;
    }

    // Numbers the item before its following siblings and its children and
    // writes it after them; count and last gather the siblings.
    int WriteItem(int i, int parent, int previous, int &count, int &last)
    {
        const TdeOutlineEntry &entry = FEntries[i];
        const int o = FWriter.NewObjectNumber();
        last = o;
        std::string body = "/Title " + FWriter.HexString(TextStringBytes(entry.Title), o);
        if (!entry.URL.empty()) {
            body += "/A <</S /URI /URI" + FWriter.HexString(Trimmed(entry.URL), o) + " >>";
        } else if (int pageObj = FPages.PageObject(entry.PageNumber); pageObj > 0) {
            // A position that is not a number keeps the page and leaves the
            // view where it is.
            auto position = [](Extended value) {
                return std::isfinite(value) ? FormatPDFNumber(value) : std::string("null");
            };
            body += "/Dest [" + TdePDFObjectWriter::ObjectReference(pageObj) + " /XYZ " +
                    position(FPages.PixelToPointX(entry.X)) + " " +
                    position(FPages.PixelToPointY(entry.PageNumber, entry.Y)) + " null]";
        }
        if (parent > 0)
            body += "/Parent " + TdePDFObjectWriter::ObjectReference(parent);
        if (previous > 0)
            body += "/Prev " + TdePDFObjectWriter::ObjectReference(previous);
        if (int sibling = FirstWithParent(entry.ParentNode, i); sibling >= 0) {
            ++count;
            const int next = WriteItem(sibling, parent, o, count, last);
            body += "/Next " + TdePDFObjectWriter::ObjectReference(next);
        }
        if (int child = FirstWithParent(i, i); child >= 0) {
            int childCount = 1;
            int childLast = o;
            const int first = WriteItem(child, o, 0, childCount, childLast);
            body += "/First " + TdePDFObjectWriter::ObjectReference(first) + "/Last " +
                    TdePDFObjectWriter::ObjectReference(childLast);
            // Top-level items show their children; deeper ones are closed.
            body += (entry.ParentNode == -1 ? "/Count " : "/Count -") + std::to_string(childCount);
        }
        FWriter.WriteObject(body + CRLF, o, true);
        return o;
    }

private:
    TdePDFObjectWriter &FWriter;
    const std::vector<TdeOutlineEntry> &FEntries;
    const TdeOutlinePages &FPages;
};

} // namespace

std::string EncodeInfoString(const WideString &text) { return "FEFF" + WideStrToHex(text); }

std::string TextStringBytes(const WideString &text)
{
    std::string bytes = "\xFE\xFF";
    for (char16_t c : text) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

bool HasOutlineRoot(const std::vector<TdeOutlineEntry> &entries)
{
    for (const TdeOutlineEntry &entry : entries)
        if (entry.ParentNode == -1)
            return true;
    return false;
}

void WriteOutlines(TdePDFObjectWriter &writer, int rootObjNo, const std::vector<TdeOutlineEntry> &entries,
                   const TdeOutlinePages &pages)
{
    OutlineWriter outline(writer, entries, pages);
    const int top = outline.FirstWithParent(-1, -1);
    if (top < 0)
        return;
    int count = 1;
    int last = rootObjNo;
    const int first = outline.WriteItem(top, rootObjNo, 0, count, last);
    writer.WriteObject("/First " + TdePDFObjectWriter::ObjectReference(first) + "/Last " +
                           TdePDFObjectWriter::ObjectReference(last) + "/Count " + std::to_string(count) + CRLF,
                       rootObjNo, true);
}

} // namespace tessaran
