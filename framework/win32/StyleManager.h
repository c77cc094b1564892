// TStyleManager: one style preset for every control linked to it. Setting its style gives
// the style to each linked control; a control links to it through a TStyleLink, which
// leaves the manager when the control goes and is emptied when the manager goes first. At
// most one manager is the application's default, to which new controls that take styles
// link themselves.
#pragma once
#include <cstddef>
#include <vector>

#include "framework/core/StylePreset.h"
#include "framework/win32/Component.h"

class TStyleManager;

class TStyleLink {
  public:
    explicit TStyleLink(IStylePreset& client) : FClient(client) {}
    TStyleLink(const TStyleLink&) = delete;
    TStyleLink& operator=(const TStyleLink&) = delete;
    ~TStyleLink() { SetManager(nullptr); }

    TStyleManager* Manager() const { return FManager; }
    void SetManager(TStyleManager* manager);
    // Gives the manager's style to the control (nothing without a manager).
    void Apply() const;

  private:
    friend class TStyleManager;
    IStylePreset& FClient;
    TStyleManager* FManager = nullptr;
};

class TStyleManager : public TComponent {
  public:
    explicit TStyleManager(TComponent* owner) : TComponent(owner) {}
    ~TStyleManager() override;

    TStylePreset Style() const { return FStyle; }
    void SetStyle(TStylePreset v);
    std::size_t LinkCount() const { return FLinks.size(); }

    // The application's default manager (nullptr when there is none).
    static TStyleManager* ApplicationDefault();
    bool IsApplicationDefault() const { return ApplicationDefault() == this; }
    void SetApplicationDefault(bool v);

  private:
    friend class TStyleLink;
    TStylePreset FStyle = tsOffice2003Blue;
    std::vector<TStyleLink*> FLinks;
};
