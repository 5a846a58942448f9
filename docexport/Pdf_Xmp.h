#pragma once
// Custom document information: name/value properties in one of six XMP
// schemas, written at the end of the document as one XMP packet.

#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

enum class TdeCustomDocInfoSchema : std::uint8_t {
    schPDF,
    schBasic,
    schDublinCore,
    schJobTicket,
    schRightsManagement,
    schPagedText
};

class TdePDFCustomDocInfo {
public:
    TdeCustomDocInfoSchema Schema = TdeCustomDocInfoSchema::schPDF;
    // Kept for the caller; the namespace written comes from Schema.
    std::string URI = "http://ns.adobe.com/pdf/1.3/";
    // UTF-8 text; the name must be an XML name.
    std::string Name;
    std::string Value;
};

// The prefix and namespace of a schema.
const char *XmpSchemaPrefix(TdeCustomDocInfoSchema schema);
const char *XmpSchemaNamespace(TdeCustomDocInfoSchema schema);

// The packet in UTF-8, one rdf:Description per item; values are escaped.
std::string BuildXmpPacket(const std::vector<TdePDFCustomDocInfo> &items);

} // namespace tessaran
