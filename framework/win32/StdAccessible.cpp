// What the form, the push button and the text label tell assistive technology.
#include "framework/core/Accessibility.h"
#include "framework/win32/AccessibleModel.h"
#include "framework/win32/Form.h"
#include "framework/win32/StdCtrls.h"

namespace {

// The window's client area: a dialog (or a plain client) named by the caption.
class TFormAccessible : public TAccessibleModel {
  public:
    explicit TFormAccessible(TForm& form) : TAccessibleModel(form), FForm(form) {}
    long Role() const override {
        return FForm.BorderStyle() == bsDialog ? ROLE_SYSTEM_DIALOG : ROLE_SYSTEM_CLIENT;
    }
    std::u16string Name() const override { return SpokenText(FForm.Caption()); }

  private:
    TForm& FForm;
};

// The push button: pressed as a click would, later, from the message loop (BM_CLICK).
class TButtonAccessible : public TAccessibleModel {
  public:
    explicit TButtonAccessible(TButton& button) : TAccessibleModel(button), FButton(button) {}
    long Role() const override { return ROLE_SYSTEM_PUSHBUTTON; }
    std::u16string Name() const override { return SpokenCaption(FButton.Caption(), true); }
    long State() const override {
        return TAccessibleModel::State() | (FButton.Default ? STATE_SYSTEM_DEFAULT : 0);
    }
    std::u16string DefaultAction() const override { return kActionPress; }
    void DoDefaultAction() override {
        if (FButton.HandleAllocated()) SendMessageW(FButton.Handle(), BM_CLICK, 0, 0);
    }

  private:
    TButton& FButton;
};

// The text label: static text that names the field it is bound to or read before.
class TLabelAccessible : public TAccessibleModel {
  public:
    explicit TLabelAccessible(TLabel& label) : TAccessibleModel(label), FLabel(label) {}
    long Role() const override { return ROLE_SYSTEM_STATICTEXT; }
    std::u16string Name() const override {
        return SpokenCaption(FLabel.Caption(), FLabel.ShowAccelChar());
    }
    long State() const override { return TAccessibleModel::State() | STATE_SYSTEM_READONLY; }
    bool IsLabel() const override { return true; }
    TWinControl* LabelFor() const override { return FLabel.FocusControl(); }

  private:
    TLabel& FLabel;
};

} // namespace

std::unique_ptr<TAccessibleModel> TForm::CreateAccessibleModel() {
    return std::make_unique<TFormAccessible>(*this);
}

std::unique_ptr<TAccessibleModel> TButton::CreateAccessibleModel() {
    return std::make_unique<TButtonAccessible>(*this);
}

std::unique_ptr<TAccessibleModel> TLabel::CreateAccessibleModel() {
    return std::make_unique<TLabelAccessible>(*this);
}
