#pragma once
// The flow unit list of the valve and demand dialogs: 14 volume flows, 6
// mass flows and, for a gas, 10 standard gas flows.

#include "units/Units.h"

class QComboBox;

namespace tessaran {

constexpr int FlowUnitListLiquidItems = 20;
constexpr int FlowUnitListGasItems = 30;
constexpr int FlowUnitListVolumeItems = 14;

TUnit FlowUnitOfListItem(int index);
// The item of a unit, -1 for a unit the list does not offer.
int FlowUnitListItem(TUnit unit);
// Gives the list its 20 or 30 items and paints the volume items light grey
// when greyVolumes.
void FitFlowUnitList(QComboBox *list, bool gas, bool greyVolumes);

} // namespace tessaran
