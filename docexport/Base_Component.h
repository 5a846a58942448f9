#pragma once
// Root of the engine classes and of the shared settings component: a
// component with an owner. Components that keep a reference to another one
// ask to be told when it goes away (FreeNotification), so that no reference
// outlives its target.

#include <string>
#include <vector>

namespace tessaran {

enum class TOperation { opInsert, opRemove };

class TdeBaseComponent {
public:
    explicit TdeBaseComponent(TdeBaseComponent *owner = nullptr);
    virtual ~TdeBaseComponent();
    TdeBaseComponent(const TdeBaseComponent &) = delete;
    TdeBaseComponent &operator=(const TdeBaseComponent &) = delete;

    TdeBaseComponent *Owner() const { return FOwner; }

    // Published for the form designer; writes are discarded.
    const std::string &About() const { return FAbout; }
    void SetAbout(const std::string &) {}
    const std::string &Version() const { return FVersion; }
    void SetVersion(const std::string &) {}

    // Asks to be told (Notification opRemove) when component is destroyed.
    void FreeNotification(TdeBaseComponent *component);
    void RemoveFreeNotification(TdeBaseComponent *component);

protected:
    // Told when a component this one owns, shares an owner with, or asked
    // about through FreeNotification is destroyed.
    virtual void Notification(TdeBaseComponent *component, TOperation operation);

private:
    void NotifyRemoval();

    TdeBaseComponent *FOwner = nullptr;
    std::vector<TdeBaseComponent *> FComponents;    // owned ones, in creation order
    std::vector<TdeBaseComponent *> FFreeNotifies; // told when this one goes
    std::string FAbout;
    std::string FVersion;
};

} // namespace tessaran
