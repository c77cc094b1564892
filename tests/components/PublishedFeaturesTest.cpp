// The control features every component publishes, checked on each component with real input
// under Wine: a hint after the platform's delay, size constraints, its PopupMenu on a
// right-click, one click and one OnDblClick on a real double click, the accelerators of
// captions, and references that the rich-text label forgets when their control goes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flatctl/win32/FlatEdit.h"
#include "flatctl/win32/FlatPanel.h"
#include "framework/win32/Application.h"
#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "framework/win32/Hints.h"
#include "framework/win32/StdCtrls.h"
#include "marquee/win32/BusyMarquee.h"
#include "richlabel/win32/RichLabel.h"
#include "tests/support/WinTestSupport.h"

namespace {

struct Component {
    const char* name;
    std::function<TControl*(TForm*)> make;
};

template <class T> TControl* Make(TForm* form) {
    T* c = TComponent::Create<T>(form);
    c->SetParent(form);
    c->SetBounds(20, 20, 120, 40);
    return c;
}

// A markup label whose text is one link: a click on it is a link click.
TControl* MakeLabel(TForm* form) {
    auto* label = static_cast<TRichLabel*>(Make<TRichLabel>(form));
    label->SetCaption(u"<a href=\"https://example.com/\">Link text in markup</a>");
    return label;
}

// A plain-text label, clicked as the window's sign-up link is (OnClick).
TControl* MakePlainLabel(TForm* form) {
    auto* label = static_cast<TRichLabel*>(Make<TRichLabel>(form));
    label->SetIsHTML(false);
    label->SetCaption(u"Plain text label");
    return label;
}

// A dialog-framed form of the application, shown and run through the application's own loop.
class FormOnScreen {
  protected:
    FormOnScreen() {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetClientSize(300, 200);
    }
    template <class T> T* Add(int left, int top, int width, int height) {
        T* c = TComponent::Create<T>(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }
    void Show() {
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpApp(200);
    }
    void PumpApp(DWORD ms) {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            app.ProcessMessages();
            Sleep(1);
        }
    }

    ScopedGdiPlus gdiplus;
    TApplication app;
    TForm* form = nullptr;
};

class PublishedFeatures : public testing::TestWithParam<Component>, protected FormOnScreen {
  protected:
    void SetUp() override { control = GetParam().make(form); }
    POINT Centre() {
        POINT p = control->OriginInWindow();
        p.x += control->Width() / 2;
        p.y += control->Height() / 2;
        ClientToScreen(control->WindowHandle(), &p);
        return p;
    }

    TControl* control = nullptr;
};

} // namespace

TEST_P(PublishedFeatures, HintShowsAfterTheDelay) {
    control->SetHint(u"Tip");
    control->SetShowHint(true);
    Show();
    SendClick(Centre(), 0);
    PumpApp(GetDoubleClickTime() + 300);
    ASSERT_TRUE(app.Hints());
    EXPECT_TRUE(IsWindowVisible(app.Hints()->TooltipWindow()));
    EXPECT_EQ(app.Hints()->ShownText(), u"Tip");
}

TEST_P(PublishedFeatures, ConstraintsHoldTheWidth) {
    control->SetConstraints({60, 0, 90, 0});
    control->SetBounds(20, 20, 200, control->Height());
    EXPECT_EQ(control->Width(), 90);
    control->SetWidth(10);
    EXPECT_EQ(control->Width(), 60);
}

TEST_P(PublishedFeatures, RightClickShowsItsPopupMenuOnce) {
    auto* menu = TComponent::Create<TPopupMenu>(form);
    menu->Items.push_back({u"Item", nullptr});
    static int popups;
    popups = 0;
    menu->OnPopup = [](TObject*) {
        ++popups;
        CloseMenuSoon(150);
    };
    control->SetPopupMenu(menu);
    Show();
    SendClick(Centre(), 1, true);
    PumpApp(600);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent, control);
}

// A double click is one click (a markup label's click on a link is its link click) and one
// double click.
TEST_P(PublishedFeatures, RealDoubleClickIsOneClickAndOneDoubleClick) {
    int clicks = 0, doubles = 0;
    control->OnClick = [&](TObject*) { ++clicks; };
    control->OnDblClick = [&](TObject*) { ++doubles; };
    if (auto* label = dynamic_cast<TRichLabel*>(control))
        label->OnLinkClick = [&](TObject*, const std::u16string&) { ++clicks; };
    Show();
    SendClick(Centre(), 2);
    PumpApp(300);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Components, PublishedFeatures,
    testing::Values(Component{"BusyIndicator", Make<TBusyMarquee>},
                    Component{"RichLabel", MakeLabel}, Component{"PlainLabel", MakePlainLabel},
                    Component{"FlatPanel", Make<TFlatPanel>}, Component{"FlatEdit", Make<TFlatEdit>}),
    [](const testing::TestParamInfo<Component>& info) { return std::string(info.param.name); });

namespace {

// The form with a push button, which holds the focus before a component's own keys.
class ComponentForm : public testing::Test, protected FormOnScreen {
  protected:
    TButton* button = Add<TButton>(10, 150, 80, 30);
};

} // namespace

// Alt and the letter a caption marks: a flat panel takes the focus, a plain-text rich label
// gives it to its FocusControl. Markup has no accelerator: the "&" of a character reference
// ("&amp;") or one written in the markup marks nothing.
TEST_F(ComponentForm, AltLetterOfACaptionWithRealKeystrokes) {
    auto* panel = Add<TFlatPanel>(10, 10, 120, 60);
    panel->SetCaption(u"&Panel");
    auto* field = Add<TFlatEdit>(150, 10, 120, 24);
    auto* plain = Add<TRichLabel>(10, 80, 120, 20);
    plain->SetIsHTML(false);
    plain->SetCaption(u"&Kunde");
    plain->SetFocusControl(field);
    auto* reference = Add<TRichLabel>(10, 110, 120, 20);
    reference->SetCaption(u"Fish &amp; Chips");
    reference->SetFocusControl(field);
    auto* written = Add<TRichLabel>(150, 110, 120, 20);
    written->SetCaption(u"<b>&Rolls</b>");
    written->SetFocusControl(field);
    Show();
    struct Case {
        WORD key;
        TWinControl* focusAfter;
        const char* what;
    };
    const Case cases[] = {
        {'P', panel, "the panel's caption"},
        {'K', field, "a plain-text label"},
        {'A', button, "a character reference in markup"},
        {'R', button, "an ampersand written in markup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        button->SetFocus();
        PumpApp(100);
        SendKey(c.key, {VK_MENU});
        PumpApp(200);
        EXPECT_EQ(GetFocus(), c.focusAfter->Handle());
    }
}

// What the rich-text label refers to without owning it is forgotten when it goes: the
// FocusControl (its accelerator then does nothing), and one menu that is both its PopupMenu
// and its LinkPopupMenu.
TEST_F(ComponentForm, RichLabelForgetsTheControlsAndMenusThatGo) {
    auto* label = Add<TRichLabel>(10, 10, 120, 20);
    label->SetIsHTML(false);
    label->SetCaption(u"&Kunde");
    TComponent holder(nullptr); // destroys what goes
    auto* field = TComponent::Create<TFlatEdit>(&holder);
    field->SetParent(form);
    field->SetBounds(150, 10, 120, 24);
    label->SetFocusControl(field);
    auto* menu = TComponent::Create<TPopupMenu>(&holder);
    label->SetPopupMenu(menu);
    label->SetLinkPopupMenu(menu);
    Show();
    holder.DestroyComponents();
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(label->PopupMenu(), nullptr);
    EXPECT_EQ(label->LinkPopupMenu(), nullptr);
    ASSERT_FALSE(HasFailure()) << "the keystroke would reach the destroyed control";
    button->SetFocus();
    PumpApp(100);
    SendKey('K', {VK_MENU});
    PumpApp(200);
    EXPECT_EQ(GetFocus(), button->Handle());
}
