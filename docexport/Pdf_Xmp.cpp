#include "docexport/Pdf_Xmp.h"

#include <cctype>

namespace tessaran {

namespace {
const std::string CRLF = "\r\n";

std::string EscapeXml(const std::string &text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '\'': escaped += "&apos;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}
// A name is an element name: what an element name cannot hold becomes "_".
std::string XmlName(const std::string &name)
{
    std::string result;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = u >= 0x80 || std::isalnum(u) || c == '_' || c == '-' || c == '.';
        result += ok ? c : '_';
    }
    if (result.empty() || std::isdigit(static_cast<unsigned char>(result[0])) || result[0] == '-' || result[0] == '.')
        result.insert(result.begin(), '_');
    return result;
}
} // namespace

const char *XmpSchemaPrefix(TdeCustomDocInfoSchema schema)
{
    switch (schema) {
    case TdeCustomDocInfoSchema::schPDF: return "pdf";
    case TdeCustomDocInfoSchema::schBasic: return "xmp";
    case TdeCustomDocInfoSchema::schDublinCore: return "dc";
    case TdeCustomDocInfoSchema::schJobTicket: return "xmpBJ";
    case TdeCustomDocInfoSchema::schRightsManagement: return "xmpRights";
    case TdeCustomDocInfoSchema::schPagedText: return "xmpTPg";
    }
    return "pdf";
}

const char *XmpSchemaNamespace(TdeCustomDocInfoSchema schema)
{
    switch (schema) {
    case TdeCustomDocInfoSchema::schPDF: return "http://ns.adobe.com/pdf/1.3/";
    case TdeCustomDocInfoSchema::schBasic: return "http://ns.adobe.com/xap/1.0/";
    case TdeCustomDocInfoSchema::schDublinCore: return "http://purl.org/dc/elements/1.1/";
    case TdeCustomDocInfoSchema::schJobTicket: return "http://ns.adobe.com/xap/1.0/bj/";
    case TdeCustomDocInfoSchema::schRightsManagement: return "http://ns.adobe.com/xap/1.0/rights/";
    case TdeCustomDocInfoSchema::schPagedText: return "http://ns.adobe.com/xap/1.0/t/pg/";
    }
    return "http://ns.adobe.com/pdf/1.3/";
}

std::string BuildXmpPacket(const std::vector<TdePDFCustomDocInfo> &items)
{
    std::string packet = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>" + CRLF +
                         "<x:xmpmeta xmlns:x='adobe:ns:meta/'>" + CRLF +
                         "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'" + CRLF +
                         "xmlns:iX='http://ns.adobe.com/iX/1.0/'>" + CRLF + CRLF;
    for (const TdePDFCustomDocInfo &item : items) {
        const std::string prefix = XmpSchemaPrefix(item.Schema);
        const std::string element = prefix + ":" + XmlName(item.Name);
        packet += "<rdf:Description about=''" + CRLF + "xmlns:" + prefix + "='" + XmpSchemaNamespace(item.Schema) +
                  "'>" + CRLF + "<" + element + ">" + EscapeXml(item.Value) + "</" + element + ">" + CRLF +
                  "</rdf:Description>" + CRLF + CRLF;
    }
    return packet + "</rdf:RDF>" + CRLF + "</x:xmpmeta>" + CRLF + "<?xpacket end='w'?>";
}

} // namespace tessaran
