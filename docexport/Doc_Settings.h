#pragma once
// A component that shares one set of settings among several engines. An
// engine links itself through its Settings property; from then on every
// change made here reaches the linked engines that still hold the old
// shared value, while engines changed individually keep their own value.

#include <memory>
#include <vector>

#include "docexport/Base_Component.h"
#include "docexport/Engine_Settings.h"
#include "docexport/Measurement_Units.h"
#include "docexport/Page_Settings.h"

namespace tessaran {

class TdeCustomDocumentEngine;

class TdeDocSettings : public TdeBaseComponent {
public:
    explicit TdeDocSettings(TdeBaseComponent *owner = nullptr);
    // Unlinks every engine still linked, so that none keeps a reference to a
    // component that no longer exists.
    ~TdeDocSettings() override;

    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value);
    TdeBackgroundDisplayType BackgroundImageDisplayType() const { return FBackgroundDisplayType; }
    void SetBackgroundImageDisplayType(TdeBackgroundDisplayType value);
    const TdePicture &BackgroundImage() const { return FBackgroundImage; }
    // Copied into every linked engine, whatever that engine holds.
    void SetBackgroundImage(const TdePicture &value);
    TdeUnitType MeasurementUnit() const { return FMeasurementUnit; }
    void SetMeasurementUnit(TdeUnitType value);
    double NativeConversionFactor() const { return FNativeConversionFactor; }

    TdeDocInfo &DocInfo() { return *FDocInfo; }
    TdePreferences &Preferences() { return *FPreferences; }
    TdePageSettings &Page() { return *FPage; }

    // Linked engines in link order (not owned).
    const std::vector<TdeCustomDocumentEngine *> &EngineList() const { return FEngineList; }

    // Called only by an engine's Settings setter.
    void AddEngine(TdeCustomDocumentEngine *engine);
    void RemoveEngine(TdeCustomDocumentEngine *engine);

private:
    std::vector<TdeCustomDocumentEngine *> FEngineList;
    TColor FBackgroundColor = clWhite;
    TdeBackgroundDisplayType FBackgroundDisplayType = TdeBackgroundDisplayType::dtCenter;
    std::unique_ptr<TdeDocInfo> FDocInfo;
    std::unique_ptr<TdePreferences> FPreferences;
    TdePicture FBackgroundImage;
    std::unique_ptr<TdePageSettings> FPage;
    TdeUnitType FMeasurementUnit = TdeUnitType::muPixels;
    double FNativeConversionFactor = 1.0;
};

} // namespace tessaran
