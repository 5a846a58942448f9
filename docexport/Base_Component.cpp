#include "docexport/Base_Component.h"

#include <algorithm>

namespace tessaran {

namespace {
void Erase(std::vector<TdeBaseComponent *> &list, TdeBaseComponent *component)
{
    list.erase(std::remove(list.begin(), list.end(), component), list.end());
}
} // namespace

TdeBaseComponent::TdeBaseComponent(TdeBaseComponent *owner) : FOwner(owner)
{
    if (FOwner)
        FOwner->FComponents.push_back(this);
}

TdeBaseComponent::~TdeBaseComponent()
{
    NotifyRemoval();
    // Owned components are not freed here: in this code base every component
    // is held by a C++ owner of its own; detach them.
    for (TdeBaseComponent *child : FComponents)
        child->FOwner = nullptr;
}

void TdeBaseComponent::NotifyRemoval()
{
    std::vector<TdeBaseComponent *> told = FFreeNotifies;
    if (FOwner) {
        Erase(FOwner->FComponents, this);
        for (TdeBaseComponent *sibling : FOwner->FComponents)
            if (std::find(told.begin(), told.end(), sibling) == told.end())
                told.push_back(sibling);
        FOwner->Notification(this, TOperation::opRemove);
    }
    for (TdeBaseComponent *other : told) {
        Erase(other->FFreeNotifies, this);
        other->Notification(this, TOperation::opRemove);
    }
    FFreeNotifies.clear();
}

void TdeBaseComponent::FreeNotification(TdeBaseComponent *component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TdeBaseComponent::RemoveFreeNotification(TdeBaseComponent *component)
{
    if (!component)
        return;
    Erase(FFreeNotifies, component);
    Erase(component->FFreeNotifies, this);
}

void TdeBaseComponent::Notification(TdeBaseComponent *, TOperation) {}

} // namespace tessaran
