// TStyleManager and TStyleLink: the two-way link between a manager and its controls.
#include "framework/win32/StyleManager.h"

#include <algorithm>

#include "framework/win32/Application.h"

void TStyleLink::SetManager(TStyleManager* manager) {
    if (manager == FManager) return;
    if (FManager) std::erase(FManager->FLinks, this);
    FManager = manager;
    if (FManager) FManager->FLinks.push_back(this);
}

void TStyleLink::Apply() const {
    if (FManager) FClient.SetComponentStyle(FManager->Style());
}

TStyleManager::~TStyleManager() {
    SetApplicationDefault(false);
    for (TStyleLink* link : FLinks)
        link->FManager = nullptr;
}

void TStyleManager::SetStyle(TStylePreset v) {
    FStyle = v;
    // A control may unlink itself while it takes the style: walk a copy.
    const std::vector<TStyleLink*> links = FLinks;
    for (TStyleLink* link : links)
        link->Apply();
}

// The application object keeps its default manager; this one registers there and leaves
// when it goes.
TStyleManager* TStyleManager::ApplicationDefault() {
    return Application ? Application->DefaultStyleManager : nullptr;
}

void TStyleManager::SetApplicationDefault(bool v) {
    if (!Application) return;
    if (v)
        Application->DefaultStyleManager = this;
    else if (Application->DefaultStyleManager == this)
        Application->DefaultStyleManager = nullptr;
}
