#include "dialogs/Flow_Unit_List.h"

#include <array>

#include <QColor>
#include <QComboBox>
#include <QSignalBlocker>

namespace tessaran {

namespace {

constexpr std::array<const char *, FlowUnitListGasItems> Captions = {
    "m³/sec", "m³/min",  "m³/hour", "l/sec",   "l/min",   "l/hour", "ft³/sec", "ft³/min", "ft³/hour", "in³/sec",
    "in³/min", "in³/hour", "UK gpm", "US gpm",  "kg/sec",  "kg/min", "kg/hour", "lb/sec",  "lb/min",   "lb/hour",
    "SCCM",   "SLM",     "SCMH",    "MMSCMH",  "MMSCMD",  "SCFM",   "SCFH",    "SCFD",    "MMSCFH",   "MMSCFD"};

} // namespace

TUnit FlowUnitOfListItem(int index)
{
    if (index < FlowUnitListVolumeItems)
        return static_cast<TUnit>(unt_m3_sec + index);
    if (index < 17)
        return static_cast<TUnit>(unt_kg_sec + (index - FlowUnitListVolumeItems));
    if (index < FlowUnitListLiquidItems)
        return static_cast<TUnit>(unt_lb_sec + (index - 17));
    return static_cast<TUnit>(unt_SCCM + (index - FlowUnitListLiquidItems));
}

int FlowUnitListItem(TUnit unit)
{
    for (int i = 0; i < FlowUnitListGasItems; ++i)
        if (FlowUnitOfListItem(i) == unit)
            return i;
    return -1;
}

void FitFlowUnitList(QComboBox *list, bool gas, bool greyVolumes)
{
    const int wanted = gas ? FlowUnitListGasItems : FlowUnitListLiquidItems;
    const QSignalBlocker blocker(list);
    while (list->count() > wanted)
        list->removeItem(list->count() - 1);
    while (list->count() < wanted)
        list->addItem(QString::fromUtf8(Captions[static_cast<std::size_t>(list->count())]));
    for (int i = 0; i < wanted; ++i)
        list->setItemData(i, i < FlowUnitListVolumeItems && greyVolumes ? QColor(0xF0, 0xF0, 0xF0) : QColor(Qt::white),
                          Qt::BackgroundRole);
}

} // namespace tessaran
