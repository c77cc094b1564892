// Ownership tree: a component constructed with an owner is owned by it from that moment, and
// the owner destroys what it owns, newest first, when it is destroyed. A component destroyed
// before its owner (deleted by hand) leaves its owner's list first, so it is never destroyed
// twice. A component also tells those who refer to it without owning it that it goes (free
// notification), so that no reference dangles.
#pragma once
#include <functional>
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
    // Registers with `owner` (when there is one), which destroys this component with itself.
    explicit TComponent(TComponent* owner) : FOwner(owner) {
        if (FOwner) FOwner->FComponents.push_back(this);
    }
    ~TComponent() override {
        NotifyFree();
        DestroyComponents();
        if (FOwner) std::erase(FOwner->FComponents, this);
    }
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::u16string& Name() const { return FName; }
    void SetName(const std::u16string& name) { FName = name; }

    // Creates a component owned by `owner` (constructor arguments after the owner); without
    // an owner the application object keeps it until the program ends. The same as
    // `new T(owner, ...)`, with the application object standing in for a missing owner.
    template <class T, class... Args> static T* Create(TComponent* owner, Args&&... args) {
        if (!owner) owner = OwnerForUnowned();
        return new T(owner, std::forward<Args>(args)...);
    }

    std::size_t ComponentCount() const { return FComponents.size(); }

    // Destroys every owned component, newest first. Called by the destructors of classes
    // whose parts the owned components still use while they go (windows, parents).
    void DestroyComponents() {
        while (!FComponents.empty()) {
            TComponent* last = FComponents.back();
            FComponents.pop_back();
            // Those who refer to it forget it before any part of it goes.
            last->NotifyFree();
            delete last;
        }
    }

    // `key` is told through `onFree` when this component is destroyed, before any part of
    // it goes; one notification per key (a new one replaces the old), and
    // RemoveFreeNotification stops it. The key is usually the address of the reference.
    void FreeNotification(const void* key, std::function<void()> onFree) {
        RemoveFreeNotification(key);
        FFreeNotifies.emplace_back(key, std::move(onFree));
    }
    void RemoveFreeNotification(const void* key) {
        std::erase_if(FFreeNotifies, [key](const auto& n) { return n.first == key; });
    }

  protected:
    // Tells everyone who asked that this component goes (once). The destructors of classes
    // that do work while they go (a window destroyed, focus moving) call it first.
    void NotifyFree() {
        const auto notifies = std::move(FFreeNotifies);
        FFreeNotifies.clear();
        for (const auto& [key, onFree] : notifies)
            if (onFree) onFree();
    }

  private:
    TComponent* FOwner;
    std::u16string FName;
    std::vector<TComponent*> FComponents; // owned: deleted by DestroyComponents
    std::vector<std::pair<const void*, std::function<void()>>> FFreeNotifies;
};

// A reference to a component that is not owned through it: it empties itself when the
// component is destroyed (through the component's free notification), so it never dangles.
template <class T> class TComponentRef {
  public:
    TComponentRef() = default;
    ~TComponentRef() { Set(nullptr); }
    TComponentRef(const TComponentRef&) = delete;
    TComponentRef& operator=(const TComponentRef&) = delete;

    TComponentRef& operator=(T* component) {
        Set(component);
        return *this;
    }
    T* Get() const { return FComponent; }
    operator T*() const { return FComponent; }
    T* operator->() const { return FComponent; }

    void Set(T* component) {
        if (component == FComponent) return;
        if (FComponent) static_cast<TComponent*>(FComponent)->RemoveFreeNotification(this);
        FComponent = component;
        if (component)
            static_cast<TComponent*>(component)->FreeNotification(this,
                                                                  [this] { FComponent = nullptr; });
    }

  private:
    T* FComponent = nullptr;
};
