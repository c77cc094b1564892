// What the rich-text label tells assistive technology: static text named by its plain text,
// with each link of its markup as a child that jumps as a click on it does. A plain caption
// whose click does something (OnClick) is a link as a whole.
#include "framework/core/Accessibility.h"
#include "framework/win32/AccessibleModel.h"
#include "richlabel/win32/RichLabel.h"

namespace {

class TRichLabelAccessible : public TAccessibleModel {
  public:
    explicit TRichLabelAccessible(TRichLabel& label) : TAccessibleModel(label), FLabel(label) {}

    long Role() const override { return IsLink() ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT; }
    std::u16string Name() const override {
        if (FLabel.IsHTML()) return SpokenText(FLabel.PlainText());
        return SpokenCaption(FLabel.Caption(), FLabel.ShowAccelChar());
    }
    long State() const override {
        return TAccessibleModel::State() | (IsLink() ? STATE_SYSTEM_LINKED : STATE_SYSTEM_READONLY);
    }
    std::u16string DefaultAction() const override { return IsLink() ? kActionJump : u""; }
    void DoDefaultAction() override {
        if (IsLink()) FLabel.Click();
    }

    std::vector<TAccessibleElement> Elements() const override {
        std::vector<TAccessibleElement> elements;
        for (const THTMLLink& link : FLabel.Links()) {
            const TRect& b = link.Box;
            elements.push_back({ROLE_SYSTEM_LINK, SpokenText(link.Text), STATE_SYSTEM_LINKED,
                                kActionJump, RECT{b.Left, b.Top, b.Right, b.Bottom}});
        }
        return elements;
    }
    void DoElementAction(std::size_t index) override {
        const std::vector<THTMLLink> links = FLabel.Links();
        if (index < links.size()) FLabel.LinkClick(links[index].HRef);
    }

    bool IsLabel() const override { return !IsLink(); }
    TWinControl* LabelFor() const override { return FLabel.FocusControl(); }

  private:
    bool IsLink() const { return !FLabel.IsHTML() && FLabel.OnClick; }

    TRichLabel& FLabel;
};

} // namespace

std::unique_ptr<TAccessibleModel> TRichLabel::CreateAccessibleModel() {
    return std::make_unique<TRichLabelAccessible>(*this);
}
