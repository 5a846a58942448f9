#pragma once
// Page size, orientation, margins and band heights, with the paper table.
// Lengths are stored in native units and converted by the object's own
// factor on every read and write; the factor follows the owning engine's
// measurement unit. A page owned by a shared settings component hands each
// change on to the engines that still follow it.

#include <cstdint>

#include "docexport/Graphics_Attributes.h"

namespace tessaran {

class TdeBaseComponent;

enum class TdePaperSize : std::uint8_t {
    Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5, B4, B5,
    Folio, Quarto, ps10X14, ps11X17, Note, Env10, Env11, Env12, Env14, CSheet, DSheet,
    ESheet, EnvDL, EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch,
    EnvPersonal, FanfoldUS, FanfoldStdGerman, ISOB4, Custom
};

struct TdePaperDimensions {
    double Width_in;
    double Height_in;
};

// Portrait width and height in inches; Custom has none (0 x 0).
TdePaperDimensions PaperDimensions(TdePaperSize size);

// The longest page side a document can have. Setting a page length that is
// not a number, negative, beyond this, or a width or height of 0 raises
// std::invalid_argument and keeps the old value.
constexpr double MaxPageLength_in = 200;

class TdePageSettings {
public:
    explicit TdePageSettings(TdeBaseComponent *parent = nullptr);

    void Assign(const TdePageSettings &source);

    TdePaperSize PaperSize() const { return FPaperSize; }
    void SetPaperSize(TdePaperSize value);
    double Width() const { return FWidth / FNativeFactor; }
    void SetWidth(double value);
    double Height() const { return FHeight / FNativeFactor; }
    void SetHeight(double value);
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation value);
    double LeftMargin() const { return FLeftMargin / FNativeFactor; }
    void SetLeftMargin(double value);
    double RightMargin() const { return FRightMargin / FNativeFactor; }
    void SetRightMargin(double value);
    double TopMargin() const { return FTopMargin / FNativeFactor; }
    void SetTopMargin(double value);
    double BottomMargin() const { return FBottomMargin / FNativeFactor; }
    void SetBottomMargin(double value);
    int BinNumber() const { return FBinNumber; }
    void SetBinNumber(int value) { FBinNumber = value; }
    double HeaderHeight() const { return FHeaderHeight / FNativeFactor; }
    void SetHeaderHeight(double value);
    double FooterHeight() const { return FFooterHeight / FNativeFactor; }
    void SetFooterHeight(double value);

    TdeBaseComponent *Parent() const { return FParent; }
    double NativeFactor() const { return FNativeFactor; }
    void SetNativeFactor(double value) { FNativeFactor = value; }

    // Stored (native) values, for code that works in native units.
    double NativeWidth() const { return FWidth; }
    double NativeHeight() const { return FHeight; }
    double NativeLeftMargin() const { return FLeftMargin; }
    double NativeRightMargin() const { return FRightMargin; }
    double NativeTopMargin() const { return FTopMargin; }
    double NativeBottomMargin() const { return FBottomMargin; }
    double NativeHeaderHeight() const { return FHeaderHeight; }
    double NativeFooterHeight() const { return FFooterHeight; }

private:
    // One of the stored lengths, by member pointer, so that a change can be
    // handed to the linked engines' pages in one place.
    void SetLength(double TdePageSettings::*field, double value, bool customSizeOnly);

    double FFooterHeight = 0;
    double FWidth = 0;
    double FBottomMargin = 0;
    double FTopMargin = 0;
    double FHeight = 0;
    double FRightMargin = 0;
    double FLeftMargin = 0;
    double FHeaderHeight = 0;
    TdePaperSize FPaperSize = TdePaperSize::A4;
    TPrinterOrientation FOrientation = TPrinterOrientation::poPortrait;
    int FBinNumber = 0;
    TdeBaseComponent *FParent = nullptr;
    double FNativeFactor = 1.0;
};

} // namespace tessaran
