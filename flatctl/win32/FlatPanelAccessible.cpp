// What the flat panel tells assistive technology: a pane around its controls, or a grouping
// named by its caption when it has one.
#include "flatctl/win32/FlatPanel.h"
#include "framework/core/Accessibility.h"
#include "framework/win32/AccessibleModel.h"

namespace {

class TFlatPanelAccessible : public TAccessibleModel {
  public:
    explicit TFlatPanelAccessible(TCustomFlatPanel& panel)
        : TAccessibleModel(panel), FPanel(panel) {}

    long Role() const override { return Name().empty() ? ROLE_SYSTEM_PANE : ROLE_SYSTEM_GROUPING; }
    std::u16string Name() const override { return SpokenCaption(FPanel.Caption(), true); }

  private:
    TCustomFlatPanel& FPanel;
};

} // namespace

std::unique_ptr<TAccessibleModel> TCustomFlatPanel::CreateAccessibleModel() {
    return std::make_unique<TFlatPanelAccessible>(*this);
}
