// What the busy indicator tells assistive technology: a progress bar without a value that is
// busy while it is shown and moving, named by the action it stands for (AccessibleName).
#include "framework/win32/AccessibleModel.h"
#include "marquee/win32/BusyMarquee.h"

namespace {

class TBusyMarqueeAccessible : public TAccessibleModel {
  public:
    explicit TBusyMarqueeAccessible(TBusyMarquee& marquee)
        : TAccessibleModel(marquee), FMarquee(marquee) {}

    long Role() const override { return ROLE_SYSTEM_PROGRESSBAR; }
    long State() const override {
        long state = TAccessibleModel::State() | STATE_SYSTEM_READONLY;
        if (FMarquee.Animate() && FMarquee.Showing()) state |= STATE_SYSTEM_BUSY;
        return state;
    }

  private:
    TBusyMarquee& FMarquee;
};

} // namespace

std::unique_ptr<TAccessibleModel> TBusyMarquee::CreateAccessibleModel() {
    return std::make_unique<TBusyMarqueeAccessible>(*this);
}
