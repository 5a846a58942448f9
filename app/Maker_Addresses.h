#pragma once
// Addresses the program names in its documents and messages. They stand on
// a reserved example domain until the published ones are known.

namespace tessaran {

constexpr const char *MakerWebAddress = "www.tessaran.example.com";
// The same site as a link the desktop opens.
constexpr const char *MakerWebLink = "https://www.tessaran.example.com";
constexpr const char *MakerSupportEmail = "support@tessaran.example.com";
// Where a user without a PDF viewer is sent to find one.
constexpr const char *PdfViewerWebAddress = "www.pdf-viewer.example.com";

} // namespace tessaran
