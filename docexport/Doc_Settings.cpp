#include "docexport/Doc_Settings.h"

#include <algorithm>

#include "docexport/Document_Engine.h"

namespace tessaran {

TdeDocSettings::TdeDocSettings(TdeBaseComponent *owner)
    : TdeBaseComponent(owner),
      FDocInfo(std::make_unique<TdeDocInfo>(this)),
      FPreferences(std::make_unique<TdePreferences>(this)),
      FPage(std::make_unique<TdePageSettings>(this))
{
}

TdeDocSettings::~TdeDocSettings()
{
    // Copy first: SetSettings(nullptr) removes the engine from the list.
    const std::vector<TdeCustomDocumentEngine *> engines = FEngineList;
    for (TdeCustomDocumentEngine *engine : engines)
        engine->SetSettings(nullptr);
}

void TdeDocSettings::AddEngine(TdeCustomDocumentEngine *engine)
{
    if (!engine || std::find(FEngineList.begin(), FEngineList.end(), engine) != FEngineList.end())
        return;
    FEngineList.push_back(engine);
    engine->SetBackgroundColor(FBackgroundColor);
    engine->SetBackgroundImage(FBackgroundImage);
    engine->SetBackgroundImageDisplayType(FBackgroundDisplayType);
    engine->SetDocInfo(*FDocInfo);
    engine->SetPage(*FPage);
    engine->SetPreferences(*FPreferences);
    engine->SetMeasurementUnit(FMeasurementUnit);
}

void TdeDocSettings::RemoveEngine(TdeCustomDocumentEngine *engine)
{
    FEngineList.erase(std::remove(FEngineList.begin(), FEngineList.end(), engine), FEngineList.end());
}

void TdeDocSettings::SetBackgroundColor(TColor value)
{
    for (TdeCustomDocumentEngine *engine : FEngineList)
        if (engine->BackgroundColor() == FBackgroundColor)
            engine->SetBackgroundColor(value);
    FBackgroundColor = value;
}

void TdeDocSettings::SetBackgroundImageDisplayType(TdeBackgroundDisplayType value)
{
    for (TdeCustomDocumentEngine *engine : FEngineList)
        if (engine->BackgroundImageDisplayType() == FBackgroundDisplayType)
            engine->SetBackgroundImageDisplayType(value);
    FBackgroundDisplayType = value;
}

void TdeDocSettings::SetBackgroundImage(const TdePicture &value)
{
    for (TdeCustomDocumentEngine *engine : FEngineList)
        engine->SetBackgroundImage(value);
    FBackgroundImage.Assign(value);
}

void TdeDocSettings::SetMeasurementUnit(TdeUnitType value)
{
    for (TdeCustomDocumentEngine *engine : FEngineList)
        if (engine->MeasurementUnit() == FMeasurementUnit)
            engine->SetMeasurementUnit(value);
    FMeasurementUnit = value;
    FNativeConversionFactor = UnitToNativeFactor(value);
    FPage->SetNativeFactor(FNativeConversionFactor);
}

} // namespace tessaran
