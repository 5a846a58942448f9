#include "docexport/Engine_Settings.h"

#include "docexport/Doc_Settings.h"
#include "docexport/Document_Engine.h"
#include "docexport/Measurement_Units.h"

namespace tessaran {

namespace {
const std::vector<TdeCustomDocumentEngine *> *LinkedEngines(TdeBaseComponent *parent)
{
    auto *settings = dynamic_cast<TdeDocSettings *>(parent);
    return settings ? &settings->EngineList() : nullptr;
}
} // namespace

// ---- Document information ---------------------------------------------------

void TdeDocInfo::Assign(const TdeDocInfo &source)
{
    FCreator = source.FCreator;
    FTitle = source.FTitle;
    FKeywords = source.FKeywords;
    FAuthor = source.FAuthor;
    FSubject = source.FSubject;
}

void TdeDocInfo::Set(WideString TdeDocInfo::*field, const WideString &value)
{
    if (const auto *engines = LinkedEngines(FParent))
        for (TdeCustomDocumentEngine *engine : *engines) {
            TdeDocInfo &info = engine->DocInfo();
            if (info.*field == this->*field)
                info.*field = value;
        }
    this->*field = value;
}

void TdeDocInfo::SetAuthor(const WideString &value) { Set(&TdeDocInfo::FAuthor, value); }
void TdeDocInfo::SetSubject(const WideString &value) { Set(&TdeDocInfo::FSubject, value); }
void TdeDocInfo::SetCreator(const WideString &value) { Set(&TdeDocInfo::FCreator, value); }
void TdeDocInfo::SetTitle(const WideString &value) { Set(&TdeDocInfo::FTitle, value); }
void TdeDocInfo::SetKeywords(const WideString &value) { Set(&TdeDocInfo::FKeywords, value); }

// ---- Preferences -----------------------------------------------------------

void TdePreferences::Assign(const TdePreferences &source)
{
    FProcessAfterEachPage = source.FProcessAfterEachPage;
    FOutputToUserStream = source.FOutputToUserStream;
    FOpenAfterCreate = source.FOpenAfterCreate;
    FEmailAfterCreate = source.FEmailAfterCreate;
    FShowSetupDialog = source.FShowSetupDialog;
    FCalculateVariables = source.FCalculateVariables;
    FUseImagesAsResources = source.FUseImagesAsResources;
}

void TdePreferences::Set(bool TdePreferences::*field, bool value)
{
    if (const auto *engines = LinkedEngines(FParent))
        for (TdeCustomDocumentEngine *engine : *engines) {
            TdePreferences &preferences = engine->Preferences();
            if (preferences.*field == this->*field)
                preferences.*field = value;
        }
    this->*field = value;
}

// ---- Image settings ----------------------------------------------------------

TdeImageSettings::TdeImageSettings(TdeBaseComponent *parent) : SourceDPI(ScreenPixelsPerInch), FParent(parent) {}

void TdeImageSettings::Assign(const TdeImageSettings &source)
{
    Center = source.Center;
    Autosize = source.Autosize;
    Stretch = source.Stretch;
    Transparent = source.Transparent;
    KeepAspectRatio = source.KeepAspectRatio;
    Inclination = source.Inclination;
    IsFrame = source.IsFrame;
    SetOutputImageFormat(source.FOutputImageFormat);
    ImagePixelFormat = source.ImagePixelFormat;
    JPEGQuality = source.JPEGQuality;
    SourceDPI = source.SourceDPI;
}

void TdeImageSettings::SetOutputImageFormat(TdeOutputImageFormat value)
{
    if (auto *engine = dynamic_cast<TdeCustomDocumentEngine *>(FParent))
        if (!engine->IsImageFormatSupported(value))
            throw ExInvalidImageFormat();
    FOutputImageFormat = value;
}

// ---- Frame -------------------------------------------------------------------

void TdeFrame::Assign(const TdeFrame &source)
{
    IsLeft = source.IsLeft;
    IsRight = source.IsRight;
    IsTop = source.IsTop;
    IsBottom = source.IsBottom;
    FInternalMargin = source.FInternalMargin;
}

double TdeFrame::Factor() const
{
    if (const auto *engine = dynamic_cast<const TdeCustomDocumentEngine *>(FParent))
        return engine->NativeConversionFactor();
    return 1.0;
}

TdeRect TdeFrame::InternalMargin() const { return ScaleDocRect(FInternalMargin, 1 / Factor()); }
void TdeFrame::SetInternalMargin(const TdeRect &value) { FInternalMargin = ScaleDocRect(value, Factor()); }

// ---- Borders -----------------------------------------------------------------

void TdeBorder::Assign(const TdeBorder &source)
{
    DrawLeft = source.DrawLeft;
    DrawRight = source.DrawRight;
    DrawTop = source.DrawTop;
    DrawBottom = source.DrawBottom;
    Color = source.Color;
    Style = source.Style;
    Width = source.Width;
}

void TdeParaBorder::Assign(const TdeBorder &source)
{
    if (const auto *para = dynamic_cast<const TdeParaBorder *>(&source))
        SpaceFromText = para->SpaceFromText;
    TdeBorder::Assign(source);
}

// ---- Paragraph formatting and table settings ----------------------------------

void TdeTextFormatting::Assign(const TdeTextFormatting &source)
{
    FBeforeSpace = source.FBeforeSpace;
    FLeftIndent = source.FLeftIndent;
    FRightIndent = source.FRightIndent;
    FFirstLineIndent = source.FFirstLineIndent;
    LineSpacing = source.LineSpacing;
    Alignment = source.Alignment;
    SetBorder(source.FBorder);
}

void TdeTableSettings::Assign(const TdeTableSettings &source)
{
    FColumnWidth = source.FColumnWidth;
    FRowHeight = source.FRowHeight;
    FInternalMargin = source.FInternalMargin;
    AutoAdjustColumnWidth = source.AutoAdjustColumnWidth;
    EnableTitle = source.EnableTitle;
    FTitleHeight = source.FTitleHeight;
}

} // namespace tessaran
