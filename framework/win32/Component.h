// Ownership tree: a component owns the components created with it as owner and destroys
// them, newest first, when it is destroyed.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/Object.h"

class TComponent;
// The owner of a component created without one: the application object, which destroys it
// when the program ends. Throws when there is no application object.
TComponent* OwnerForUnowned();

class TComponent : public TObject {
  public:
    explicit TComponent(TComponent* owner) : FOwner(owner) {}
    ~TComponent() override { DestroyComponents(); }

    TComponent* Owner() const { return FOwner; }
    const std::u16string& Name() const { return FName; }
    void SetName(const std::u16string& name) { FName = name; }

    // Creates a component owned by `owner` (constructor arguments after the owner); without
    // an owner the application object keeps it until the program ends.
    template <class T, class... Args> static T* Create(TComponent* owner, Args&&... args) {
        if (!owner) owner = OwnerForUnowned();
        auto obj = std::make_unique<T>(owner, std::forward<Args>(args)...);
        T* raw = obj.get();
        owner->FComponents.push_back(std::move(obj));
        return raw;
    }

    std::size_t ComponentCount() const { return FComponents.size(); }

    // Destroys every owned component, newest first. Called by the destructors of classes
    // whose parts the owned components still use while they go (windows, parents).
    void DestroyComponents() {
        while (!FComponents.empty()) {
            std::unique_ptr<TComponent> last = std::move(FComponents.back());
            FComponents.pop_back();
            last.reset();
        }
    }

  private:
    TComponent* FOwner;
    std::u16string FName;
    std::vector<std::unique_ptr<TComponent>> FComponents;
};
