#pragma once
// The PDF pump data sheet's page arithmetic and its company logo. The sheet
// itself is an operation of the pump data editor (TPumpDataForm::
// CreatePDFPumpSheet, in Pump_Pdf_Sheet.cpp), since it draws the editor's chart.

#include <string>
#include <vector>

#include <cstdint>

namespace tessaran {

class TMetafile;

// The page for a picture of the metafile at the given resolutions, in
// inches: Orientation 0 follows the picture, 1 is portrait, 2 landscape;
// the sides take the ISO proportion and the longer one is 16.5 inches.
void PdfPageSizeFromMetafile(const TMetafile &Metafile, int XPixelsPerInch, int YPixelsPerInch, int Orientation,
                             double &Width, double &Height);
// Shrinks A and B together by 1 % steps until A fits MaxA, then until B
// fits MaxB; never enlarges.
void ShrinkPageToFit(double &A, double &B, double MaxA, double MaxB);

// The sheet file's name without its folder.
inline constexpr const char *PumpSheetFileName = "Pump_Graph.pdf";

// The logo in the sheet's page header: a JPEG of 600 x 127 pixels.
constexpr int PumpSheetLogoWidth = 600;
constexpr int PumpSheetLogoHeight = 127;
const std::vector<std::uint8_t> &PumpSheetLogoJpeg();

} // namespace tessaran
