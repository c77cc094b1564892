// What the flat edit tells assistive technology: editable text named by its label, its text
// as the value (settable unless read-only, withheld while masked), and each change of it.
#include "flatctl/win32/FlatEdit.h"
#include "framework/win32/AccessibleModel.h"

namespace {

class TFlatEditAccessible : public TAccessibleModel {
  public:
    explicit TFlatEditAccessible(TCustomFlatEdit& edit) : TAccessibleModel(edit), FEdit(edit) {}

    long Role() const override { return ROLE_SYSTEM_TEXT; }
    std::u16string Name() const override { return NameFromLabel(); }
    std::u16string Value() const override { return FEdit.Text(); }
    bool SetValue(const std::u16string& value) override {
        if (FEdit.ReadOnly() || (State() & STATE_SYSTEM_UNAVAILABLE)) return false;
        FEdit.SetText(value);
        return true;
    }
    long State() const override {
        long state = TAccessibleModel::State();
        if (FEdit.ReadOnly()) state |= STATE_SYSTEM_READONLY;
        if (FEdit.PasswordChar()) state |= STATE_SYSTEM_PROTECTED;
        return state;
    }

  private:
    TCustomFlatEdit& FEdit;
};

} // namespace

std::unique_ptr<TAccessibleModel> TCustomFlatEdit::CreateAccessibleModel() {
    return std::make_unique<TFlatEditAccessible>(*this);
}

void TCustomFlatEdit::Change(bool byUser) {
    TFlatEditCore::Change(byUser);
    NotifyAccessible(EVENT_OBJECT_VALUECHANGE);
}
