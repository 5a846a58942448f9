#pragma once
// The settings objects an engine owns besides its page: document
// information, preferences, image settings, frame, borders, text effects,
// paragraph formatting and table settings. Lengths are stored in native
// units; Assign copies stored values and never the owner or the factor.
// Document information and preferences owned by a shared settings component
// hand each change on to the engines that still follow the shared value.

#include <cstdint>
#include <stdexcept>

#include "docexport/Doc_Types.h"
#include "docexport/Graphics_Attributes.h"

namespace tessaran {

class TdeBaseComponent;

class EImageExceptions : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class ExInvalidImageFormat : public EImageExceptions {
public:
    ExInvalidImageFormat() : EImageExceptions("Invalid Image Format") {}
};

enum class TdeOutputImageFormat : std::uint8_t { ifBMP, ifJPEG, ifGIF, ifPNG, ifMetafile, ifCCITT3, ifCCITT4 };
enum class TdeBackgroundDisplayType : std::uint8_t {
    dtTile, dtTopLeft, dtTopCenter, dtTopRight, dtCenterLeft, dtCenter, dtCenterRight,
    dtBottomLeft, dtBottomCenter, dtBottomRight
};
enum class TdeTextRenderMode : std::uint8_t { trmFill, trmStroke, trmFillStroke };
enum class TdeTextRise : std::uint8_t { trNormal, trSuperscript, trSubscript };

class TdeDocInfo {
public:
    explicit TdeDocInfo(TdeBaseComponent *parent = nullptr) : FParent(parent) {}
    void Assign(const TdeDocInfo &source);

    const WideString &Author() const { return FAuthor; }
    void SetAuthor(const WideString &value);
    const WideString &Subject() const { return FSubject; }
    void SetSubject(const WideString &value);
    const WideString &Creator() const { return FCreator; }
    void SetCreator(const WideString &value);
    const WideString &Title() const { return FTitle; }
    void SetTitle(const WideString &value);
    const WideString &Keywords() const { return FKeywords; }
    void SetKeywords(const WideString &value);
    TdeBaseComponent *Parent() const { return FParent; }

private:
    void Set(WideString TdeDocInfo::*field, const WideString &value);

    TdeBaseComponent *FParent = nullptr;
    WideString FCreator, FTitle, FKeywords, FAuthor, FSubject;
};

class TdePreferences {
public:
    explicit TdePreferences(TdeBaseComponent *parent = nullptr) : FParent(parent) {}
    virtual ~TdePreferences() = default;
    // Copies the seven flags; what a derived class adds stays as it is.
    void Assign(const TdePreferences &source);

    bool OpenAfterCreate() const { return FOpenAfterCreate; }
    void SetOpenAfterCreate(bool value) { Set(&TdePreferences::FOpenAfterCreate, value); }
    bool EmailAfterCreate() const { return FEmailAfterCreate; }
    void SetEmailAfterCreate(bool value) { Set(&TdePreferences::FEmailAfterCreate, value); }
    bool OutputToUserStream() const { return FOutputToUserStream; }
    void SetOutputToUserStream(bool value) { Set(&TdePreferences::FOutputToUserStream, value); }
    bool ProcessAfterEachPage() const { return FProcessAfterEachPage; }
    void SetProcessAfterEachPage(bool value) { Set(&TdePreferences::FProcessAfterEachPage, value); }
    bool ShowSetupDialog() const { return FShowSetupDialog; }
    void SetShowSetupDialog(bool value) { Set(&TdePreferences::FShowSetupDialog, value); }
    // A plain store: template expansion is a per-engine choice.
    bool CalculateVariables() const { return FCalculateVariables; }
    void SetCalculateVariables(bool value) { FCalculateVariables = value; }
    bool UseImagesAsResources() const { return FUseImagesAsResources; }
    void SetUseImagesAsResources(bool value) { Set(&TdePreferences::FUseImagesAsResources, value); }
    TdeBaseComponent *Parent() const { return FParent; }

private:
    void Set(bool TdePreferences::*field, bool value);

    TdeBaseComponent *FParent = nullptr;
    bool FProcessAfterEachPage = false;
    bool FOutputToUserStream = false;
    bool FOpenAfterCreate = true;
    bool FEmailAfterCreate = false;
    bool FShowSetupDialog = true;
    bool FCalculateVariables = true;
    bool FUseImagesAsResources = true;
};

class TdeImageSettings {
public:
    explicit TdeImageSettings(TdeBaseComponent *parent = nullptr);
    // Copies in declared order; the output format goes through its setter, so
    // an engine that refuses it raises ExInvalidImageFormat after the values
    // before it were copied.
    void Assign(const TdeImageSettings &source);

    bool Center = false;
    bool Autosize = false;
    bool Stretch = false;
    bool Transparent = false;
    bool KeepAspectRatio = false;
    int Inclination = 0;
    bool IsFrame = false;

    TdeOutputImageFormat OutputImageFormat() const { return FOutputImageFormat; }
    // With an engine owner, a format the engine cannot write raises
    // ExInvalidImageFormat and the old format stays.
    void SetOutputImageFormat(TdeOutputImageFormat value);
    TPixelFormat ImagePixelFormat = TPixelFormat::pf24bit;
    int JPEGQuality = 100;
    int SourceDPI;
    TdeBaseComponent *Parent() const { return FParent; }

private:
    TdeBaseComponent *FParent = nullptr;
    TdeOutputImageFormat FOutputImageFormat = TdeOutputImageFormat::ifJPEG;
};

class TdeFrame {
public:
    explicit TdeFrame(TdeBaseComponent *parent = nullptr) : FParent(parent) {}
    void Assign(const TdeFrame &source);

    bool IsLeft = true;
    bool IsRight = true;
    bool IsTop = true;
    bool IsBottom = true;
    // With an engine owner the margin is read and written in the engine's
    // measurement unit; without one it is stored and returned as given.
    TdeRect InternalMargin() const;
    void SetInternalMargin(const TdeRect &value);
    const TdeRect &NativeInternalMargin() const { return FInternalMargin; }
    TdeBaseComponent *Parent() const { return FParent; }

private:
    double Factor() const;

    TdeBaseComponent *FParent = nullptr;
    TdeRect FInternalMargin;
};

class TdeBorder {
public:
    virtual ~TdeBorder() = default;
    virtual void Assign(const TdeBorder &source);

    bool DrawLeft = false;
    bool DrawRight = false;
    bool DrawTop = false;
    bool DrawBottom = false;
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;
};

// Stored and copied with the paragraph formatting; nothing draws it.
class TdeParaBorder : public TdeBorder {
public:
    void Assign(const TdeBorder &source) override;
    int SpaceFromText = 0;
};

class TdeTextEffects {
public:
    void Assign(const TdeTextEffects &source) { *this = source; }
    TdeTextRenderMode TextRenderMode = TdeTextRenderMode::trmFill;
    TdeTextRise TextRise = TdeTextRise::trNormal;
    bool operator==(const TdeTextEffects &) const = default;
};

class TdeTextFormatting {
public:
    void Assign(const TdeTextFormatting &source);

    double BeforeSpace() const { return FBeforeSpace / FNativeFactor; }
    void SetBeforeSpace(double value) { FBeforeSpace = value * FNativeFactor; }
    double LeftIndent() const { return FLeftIndent / FNativeFactor; }
    void SetLeftIndent(double value) { FLeftIndent = value * FNativeFactor; }
    double RightIndent() const { return FRightIndent / FNativeFactor; }
    void SetRightIndent(double value) { FRightIndent = value * FNativeFactor; }
    double FirstLineIndent() const { return FFirstLineIndent / FNativeFactor; }
    void SetFirstLineIndent(double value) { FFirstLineIndent = value * FNativeFactor; }
    // A multiple of the line height, stored as given.
    double LineSpacing = 1.0;
    TdeHAlignment Alignment = TdeHAlignment::haLeft;
    const TdeParaBorder &Border() const { return FBorder; }
    TdeParaBorder &Border() { return FBorder; }
    void SetBorder(const TdeParaBorder &value) { FBorder.Assign(value); }

    double NativeFactor() const { return FNativeFactor; }
    void SetNativeFactor(double value) { FNativeFactor = value; }
    double NativeBeforeSpace() const { return FBeforeSpace; }
    double NativeLeftIndent() const { return FLeftIndent; }
    double NativeRightIndent() const { return FRightIndent; }
    double NativeFirstLineIndent() const { return FFirstLineIndent; }
    void SetNativeBeforeSpace(double value) { FBeforeSpace = value; }
    void SetNativeLeftIndent(double value) { FLeftIndent = value; }
    void SetNativeRightIndent(double value) { FRightIndent = value; }
    void SetNativeFirstLineIndent(double value) { FFirstLineIndent = value; }

private:
    double FBeforeSpace = 0;
    double FLeftIndent = 0;
    double FRightIndent = 0;
    double FFirstLineIndent = 0;
    double FNativeFactor = 1.0;
    TdeParaBorder FBorder;
};

class TdeTableSettings {
public:
    void Assign(const TdeTableSettings &source);

    double ColumnWidth() const { return FColumnWidth / FNativeFactor; }
    void SetColumnWidth(double value) { FColumnWidth = value * FNativeFactor; }
    double RowHeight() const { return FRowHeight / FNativeFactor; }
    void SetRowHeight(double value) { FRowHeight = value * FNativeFactor; }
    TdeRect InternalMargin() const { return ScaleDocRect(FInternalMargin, 1 / FNativeFactor); }
    void SetInternalMargin(const TdeRect &value) { FInternalMargin = ScaleDocRect(value, FNativeFactor); }
    bool AutoAdjustColumnWidth = false;
    bool EnableTitle = false;
    double TitleHeight() const { return FTitleHeight / FNativeFactor; }
    void SetTitleHeight(double value) { FTitleHeight = value * FNativeFactor; }

    double NativeFactor() const { return FNativeFactor; }
    void SetNativeFactor(double value) { FNativeFactor = value; }
    double NativeColumnWidth() const { return FColumnWidth; }
    double NativeRowHeight() const { return FRowHeight; }
    double NativeTitleHeight() const { return FTitleHeight; }
    const TdeRect &NativeInternalMargin() const { return FInternalMargin; }
    void SetNativeColumnWidth(double value) { FColumnWidth = value; }
    void SetNativeRowHeight(double value) { FRowHeight = value; }
    void SetNativeTitleHeight(double value) { FTitleHeight = value; }
    void SetNativeInternalMargin(const TdeRect &value) { FInternalMargin = value; }

private:
    double FColumnWidth = 0;
    double FRowHeight = 0;
    TdeRect FInternalMargin;
    double FTitleHeight = 0;
    double FNativeFactor = 1.0;
};

} // namespace tessaran
