// THTMLContainer: a component holding named markup texts that rich labels can show and
// switch between through links.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/Component.h"

class THTMLContainer;

// A subscription to a container's changes; it unsubscribes when it goes.
class THTMLContainerChangeLink {
  public:
    THTMLContainerChangeLink() = default;
    THTMLContainerChangeLink(const THTMLContainerChangeLink&) = delete;
    THTMLContainerChangeLink& operator=(const THTMLContainerChangeLink&) = delete;
    ~THTMLContainerChangeLink();

    void Attach(THTMLContainer* container);
    THTMLContainer* Container() const { return FContainer; }

    std::function<void()> OnChange;
    // The container is being destroyed.
    std::function<void()> OnFree;

  private:
    friend class THTMLContainer;
    THTMLContainer* FContainer = nullptr;
};

struct THTMLContainerItem {
    std::u16string Name;
    std::u16string Caption;
};

class THTMLContainer : public TComponent {
  public:
    explicit THTMLContainer(TComponent* owner) : TComponent(owner) {}
    ~THTMLContainer() override;

    int Count() const { return int(FItems.size()); }
    const THTMLContainerItem& Item(int index) const { return FItems.at(std::size_t(index)); }
    // Adds an item; an empty name becomes the first free "HTMLSnip" + number.
    int Add(const std::u16string& name, const std::u16string& caption);
    void SetCaption(int index, const std::u16string& caption);
    // Index of the item with the name, -1 when none.
    int IndexOf(const std::u16string& name) const;

  private:
    friend class THTMLContainerChangeLink;
    void Changed();

    std::vector<THTMLContainerItem> FItems;
    std::vector<THTMLContainerChangeLink*> FLinks;
};
