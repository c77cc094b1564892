// Named markup texts and the change subscriptions of the labels that show them.
#include "richlabel/win32/HTMLContainer.h"

#include <algorithm>

THTMLContainerChangeLink::~THTMLContainerChangeLink() {
    Attach(nullptr);
}

void THTMLContainerChangeLink::Attach(THTMLContainer* container) {
    if (FContainer == container) return;
    if (FContainer) {
        auto& links = FContainer->FLinks;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    FContainer = container;
    if (FContainer) FContainer->FLinks.push_back(this);
}

THTMLContainer::~THTMLContainer() {
    const std::vector<THTMLContainerChangeLink*> links = FLinks;
    for (THTMLContainerChangeLink* link : links) {
        link->FContainer = nullptr;
        if (link->OnFree) link->OnFree();
    }
}

int THTMLContainer::Add(const std::u16string& name, const std::u16string& caption) {
    std::u16string n = name;
    for (int i = 0; n.empty(); ++i) {
        std::u16string candidate = u"HTMLSnip";
        for (char c : std::to_string(i))
            candidate += char16_t(c);
        if (IndexOf(candidate) < 0) n = candidate;
    }
    FItems.push_back({n, caption});
    Changed();
    return Count() - 1;
}

void THTMLContainer::SetCaption(int index, const std::u16string& caption) {
    FItems.at(std::size_t(index)).Caption = caption;
    Changed();
}

int THTMLContainer::IndexOf(const std::u16string& name) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name == name) return int(i);
    return -1;
}

void THTMLContainer::Changed() {
    const std::vector<THTMLContainerChangeLink*> links = FLinks;
    for (THTMLContainerChangeLink* link : links)
        if (link->OnChange) link->OnChange();
}
