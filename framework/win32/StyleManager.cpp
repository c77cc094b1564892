// TStyleManager and TStyleLink: the two-way link between a manager and its controls.
#include "framework/win32/StyleManager.h"

#include <algorithm>

namespace {

// The application's default manager registers itself here and leaves when it goes.
TStyleManager* applicationDefault = nullptr;

} // namespace

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

TStyleManager* TStyleManager::ApplicationDefault() {
    return applicationDefault;
}

void TStyleManager::SetApplicationDefault(bool v) {
    if (v)
        applicationDefault = this;
    else if (applicationDefault == this)
        applicationDefault = nullptr;
}
