#include "docexport/Page_Settings.h"

#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

#include "docexport/Doc_Settings.h"
#include "docexport/Document_Engine.h"
#include "docexport/Measurement_Units.h"

namespace tessaran {

namespace {

// Portrait sizes in inches, in enumeration order; the values are exact as
// tabled (four decimals), not rounded from millimetres at run time.
constexpr TdePaperDimensions kPaperTable[] = {
    {8.5, 11},         {8.5, 11},          {11, 17},           {17, 11},           {8.5, 14},
    {5.5, 8.5},        {7.25, 10.5},       {11.6929, 16.5354}, {8.2677, 11.6929},  {8.2677, 11.6929},
    {5.8267, 8.2677},  {9.8425, 13.8976},  {6.9291, 9.8425},   {8.5, 13},          {8.4645, 10.8267},
    {10, 14},          {11, 17},           {8.5, 11},          {4.125, 9.5},       {4.5, 10.375},
    {4.75, 11},        {5, 11.5},          {17, 22},           {22, 34},           {34, 44},
    {4.3307, 8.6614},  {6.3779, 9.0157},   {12.7559, 18.0314}, {9.0157, 12.7559},  {4.4881, 6.3779},
    {4.4881, 9.0157},  {9.8425, 13.8976},  {6.9291, 9.8425},   {6.9291, 4.9212},   {4.3307, 9.0551},
    {3.875, 7.5},      {3.625, 6.5},       {14.875, 11},       {8.5, 12},          {9.8425, 13.8976},
};
static_assert(std::size(kPaperTable) == static_cast<std::size_t>(TdePaperSize::Custom));

// The linked engines when the page belongs to a shared settings component;
// an engine's own page never hands changes on.
const std::vector<TdeCustomDocumentEngine *> *LinkedEngines(TdeBaseComponent *parent)
{
    auto *settings = dynamic_cast<TdeDocSettings *>(parent);
    return settings ? &settings->EngineList() : nullptr;
}

} // namespace

TdePaperDimensions PaperDimensions(TdePaperSize size)
{
    const auto index = static_cast<std::size_t>(size);
    if (index >= std::size(kPaperTable))
        return {0, 0};
    return kPaperTable[index];
}

TdePageSettings::TdePageSettings(TdeBaseComponent *parent) : FParent(parent)
{
    SetPaperSize(TdePaperSize::A4);
}

void TdePageSettings::Assign(const TdePageSettings &source)
{
    FPaperSize = source.FPaperSize;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
    FOrientation = source.FOrientation;
    FLeftMargin = source.FLeftMargin;
    FRightMargin = source.FRightMargin;
    FTopMargin = source.FTopMargin;
    FBottomMargin = source.FBottomMargin;
    FBinNumber = source.FBinNumber;
    FHeaderHeight = source.FHeaderHeight;
    FFooterHeight = source.FFooterHeight;
}

void TdePageSettings::SetLength(double TdePageSettings::*field, double value, bool customSizeOnly)
{
    // A page is at most 200 inches each way; a page size must be above 0, a
    // margin or band height may be 0.
    const double stored = value * FNativeFactor;
    const bool size = field == &TdePageSettings::FWidth || field == &TdePageSettings::FHeight;
    if (!std::isfinite(stored) || stored < 0 || (size && stored == 0) || stored > MaxPageLength_in * ScreenPixelsPerInch)
        throw std::invalid_argument("Page setting out of range: " + std::to_string(value));
    if (const auto *engines = LinkedEngines(FParent))
        for (TdeCustomDocumentEngine *engine : *engines) {
            TdePageSettings &page = engine->Page();
            if (customSizeOnly && page.FPaperSize != TdePaperSize::Custom)
                continue;
            if (page.*field == this->*field)
                page.*field = stored;
        }
    this->*field = stored;
}

void TdePageSettings::SetPaperSize(TdePaperSize value)
{
    if (const auto *engines = LinkedEngines(FParent))
        for (TdeCustomDocumentEngine *engine : *engines)
            if (engine->Page().PaperSize() == FPaperSize)
                engine->Page().SetPaperSize(value);
    FPaperSize = value;
    if (value == TdePaperSize::Custom)
        return;
    const TdePaperDimensions size = PaperDimensions(value);
    const double perInch = 72 * PixelsPerPoint;
    const bool portrait = FOrientation == TPrinterOrientation::poPortrait;
    FWidth = (portrait ? size.Width_in : size.Height_in) * perInch;
    FHeight = (portrait ? size.Height_in : size.Width_in) * perInch;
}

void TdePageSettings::SetWidth(double value)
{
    if (FPaperSize == TdePaperSize::Custom)
        SetLength(&TdePageSettings::FWidth, value, true);
}

void TdePageSettings::SetHeight(double value)
{
    if (FPaperSize == TdePaperSize::Custom)
        SetLength(&TdePageSettings::FHeight, value, true);
}

void TdePageSettings::SetOrientation(TPrinterOrientation value)
{
    if (value == FOrientation)
        return;
    if (const auto *engines = LinkedEngines(FParent))
        for (TdeCustomDocumentEngine *engine : *engines)
            if (engine->Page().Orientation() == FOrientation)
                engine->Page().SetOrientation(value);
    std::swap(FWidth, FHeight);
    FOrientation = value;
}

void TdePageSettings::SetLeftMargin(double value) { SetLength(&TdePageSettings::FLeftMargin, value, false); }
void TdePageSettings::SetRightMargin(double value) { SetLength(&TdePageSettings::FRightMargin, value, false); }
void TdePageSettings::SetTopMargin(double value) { SetLength(&TdePageSettings::FTopMargin, value, false); }
void TdePageSettings::SetBottomMargin(double value) { SetLength(&TdePageSettings::FBottomMargin, value, false); }
void TdePageSettings::SetHeaderHeight(double value) { SetLength(&TdePageSettings::FHeaderHeight, value, false); }
void TdePageSettings::SetFooterHeight(double value) { SetLength(&TdePageSettings::FFooterHeight, value, false); }

} // namespace tessaran
