// The components as assistive technology reads them in-process, where the end-to-end walk
// does not reach: each kind's role, the links of markup, a read-only or masked field, a label
// bound to its field from elsewhere, the busy state, actions run from the message loop, the
// events, and an object that outlives its control.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "flatctl/win32/FlatEdit.h"
#include "flatctl/win32/FlatPanel.h"
#include "framework/win32/Application.h"
#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "framework/win32/StdCtrls.h"
#include "framework/win32/UniqueHandle.h"
#include "marquee/win32/BusyMarquee.h"
#include "richlabel/win32/RichLabel.h"
#include "tests/support/AccessibleClient.h"
#include "tests/support/WinTestSupport.h"

namespace {

std::wstring Text(HRESULT hr, BSTR b) {
    return TakeText(hr, b).value_or(L"<none>");
}

std::wstring Name(IAccessible* a, long id = CHILDID_SELF) {
    BSTR b = nullptr;
    HRESULT hr = a->get_accName(ChildId(id), &b);
    return Text(hr, b);
}

// Events this thread hears about its own windows (delivered through its message queue).
std::vector<std::pair<DWORD, LONG>> gEvents; // event, child id
void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) gEvents.push_back({event, child});
}

class AccessibleObjects : public testing::Test {
  protected:
    void SetUp() override {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetCaption(u"Objects");
        form->SetClientSize(400, 300);
    }
    template <class T> T* Add(RECT bounds) {
        T* c = TComponent::Create<T>(form);
        c->SetParent(form);
        c->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
        return c;
    }
    void Show() {
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpFor(100);
    }
    // The client object of the form, as a client gets it.
    Accessible Root() {
        IAccessible* raw = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(form->Handle(), DWORD(OBJID_CLIENT),
                                             __uuidof(IAccessible), reinterpret_cast<void**>(&raw)),
                  S_OK);
        return Accessible(raw);
    }
    // The object of the root's child `id` (1-based, reading order).
    Accessible Child(IAccessible* root, long id) {
        IDispatch* d = nullptr;
        EXPECT_EQ(root->get_accChild(ChildId(id), &d), S_OK);
        IAccessible* a = nullptr;
        if (d) d->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&a));
        if (d) d->Release();
        return Accessible(a);
    }

    ScopedGdiPlus gdiplus;
    TApplication app;
    TForm* form = nullptr;
};

TEST_F(AccessibleObjects, EachKindHasItsRoleInReadingOrder) {
    Add<TFlatPanel>({0, 0, 400, 40});
    Add<TButton>({200, 250, 80, 30});
    Add<TFlatEdit>({100, 60, 120, 24});
    Add<TBusyMarquee>({0, 100, 400, 40});
    Add<TLabel>({0, 62, 90, 16})->SetCaption(u"&Name:");
    Add<TRichLabel>({0, 200, 300, 20})->SetCaption(u"<b>Bold</b> text");
    Show();
    Accessible root = Root();
    EXPECT_EQ(RoleOf(root.get()), ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(Name(root.get()), L"Objects");
    long count = 0;
    root.get()->get_accChildCount(&count);
    ASSERT_EQ(count, 6);
    const long roles[] = {ROLE_SYSTEM_PANE,        ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_TEXT,
                          ROLE_SYSTEM_PROGRESSBAR, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_PUSHBUTTON};
    for (long i = 1; i <= count; ++i)
        EXPECT_EQ(RoleOf(Child(root.get(), i).get()), roles[i - 1]) << "child " << i;
    EXPECT_EQ(Name(Child(root.get(), 2).get()), L"Name:") << "without its accelerator mark";
    EXPECT_EQ(Name(Child(root.get(), 3).get()), L"Name:") << "the field named by its label";
    EXPECT_EQ(Name(Child(root.get(), 5).get()), L"Bold text") << "markup read as plain text";
}

TEST_F(AccessibleObjects, MarkupLinksAreChildrenThatJumpAsAClickDoes) {
    auto* label = Add<TRichLabel>({10, 10, 300, 40});
    label->SetCaption(u"Read <a href=\"one\">the first</a> or <a href=\"two\">second</a> page");
    std::vector<std::u16string> clicked;
    label->OnLinkClick = [&](TObject*, const std::u16string& href) { clicked.push_back(href); };
    Show();
    Accessible text = Child(Root().get(), 1);
    long count = 0;
    text.get()->get_accChildCount(&count);
    ASSERT_EQ(count, 2);
    IDispatch* none = nullptr;
    EXPECT_EQ(text.get()->get_accChild(ChildId(2), &none), S_FALSE) << "links have no object";
    EXPECT_EQ(RoleOf(text.get(), 2), ROLE_SYSTEM_LINK);
    EXPECT_EQ(Name(text.get(), 2), L"second");
    BSTR action = nullptr;
    HRESULT hr = text.get()->get_accDefaultAction(ChildId(2), &action);
    EXPECT_EQ(Text(hr, action), L"jump");

    // Where the link says it lies, hit testing finds it.
    long l = 0, t = 0, w = 0, h = 0;
    ASSERT_EQ(text.get()->accLocation(&l, &t, &w, &h, ChildId(2)), S_OK);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(text.get()->accHitTest(l + w / 2, t + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 2);

    EXPECT_EQ(text.get()->accDoDefaultAction(ChildId(2)), S_OK);
    EXPECT_TRUE(clicked.empty()) << "the action runs from the message loop, not in the call";
    EXPECT_TRUE(PumpUntil([&] { return !clicked.empty(); }));
    EXPECT_EQ(clicked, std::vector<std::u16string>{u"two"});
    EXPECT_EQ(text.get()->accDoDefaultAction(ChildId(0)), DISP_E_MEMBERNOTFOUND)
        << "the text itself has no action";
}

TEST_F(AccessibleObjects, FieldValueIsSettableUnlessReadOnlyAndHiddenWhenMasked) {
    auto* edit = Add<TFlatEdit>({10, 10, 150, 24});
    Show();
    Accessible field = Child(Root().get(), 1);
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &Record,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    gEvents.clear();
    BSTR value = SysAllocString(L"4711");
    EXPECT_EQ(field.get()->put_accValue(ChildId(0), value), S_OK);
    EXPECT_EQ(edit->Text(), u"4711");
    EXPECT_TRUE(PumpUntil([] { return !gEvents.empty(); })) << "no value change event";
    UnhookWinEvent(hook);

    edit->SetReadOnly(true);
    EXPECT_TRUE(StateOf(field.get()) & STATE_SYSTEM_READONLY);
    EXPECT_EQ(field.get()->put_accValue(ChildId(0), value), E_ACCESSDENIED);
    EXPECT_EQ(edit->Text(), u"4711");
    SysFreeString(value);

    edit->SetPasswordChar(u'*');
    EXPECT_TRUE(StateOf(field.get()) & STATE_SYSTEM_PROTECTED);
    BSTR masked = nullptr;
    EXPECT_EQ(field.get()->get_accValue(ChildId(0), &masked), E_ACCESSDENIED);
    EXPECT_EQ(masked, nullptr);
}

TEST_F(AccessibleObjects, BoundLabelNamesItsFieldAndNoOtherControl) {
    auto* first = Add<TFlatEdit>({100, 10, 150, 24});
    auto* label = Add<TLabel>({0, 12, 90, 16});
    label->SetCaption(u"Bound:");
    auto* bound = Add<TFlatEdit>({100, 100, 150, 24});
    label->SetFocusControl(bound);
    Show();
    Accessible root = Root();
    // Reading order: label, first field (same row), bound field.
    EXPECT_EQ(Name(Child(root.get(), 2).get()), L"<none>");
    EXPECT_EQ(Name(Child(root.get(), 3).get()), L"Bound:");
    first->SetAccessibleName(u"Own name");
    EXPECT_EQ(Name(Child(root.get(), 2).get()), L"Own name") << "a name set on the control wins";
}

TEST_F(AccessibleObjects, BusyOnlyWhileShownAndMovingAndEventsSaySo) {
    auto* panel = Add<TFlatPanel>({0, 0, 400, 200});
    panel->SetVisible(false);
    auto* busy = TComponent::Create<TBusyMarquee>(form);
    busy->SetParent(panel);
    busy->SetAlign(alClient);
    busy->SetAccessibleName(u"Downloading");
    Show();
    Accessible indicator = Child(Child(Root().get(), 1).get(), 1);
    EXPECT_EQ(Name(indicator.get()), L"Downloading");
    EXPECT_EQ(StateOf(indicator.get()) & (STATE_SYSTEM_BUSY | STATE_SYSTEM_INVISIBLE),
              STATE_SYSTEM_INVISIBLE);

    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_STATECHANGE, nullptr,
                                         &Record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    gEvents.clear();
    panel->SetVisible(true);
    EXPECT_TRUE(StateOf(indicator.get()) & STATE_SYSTEM_BUSY);
    busy->SetAnimate(false);
    EXPECT_FALSE(StateOf(indicator.get()) & STATE_SYSTEM_BUSY);
    PumpFor(100);
    UnhookWinEvent(hook);
    const std::vector<std::pair<DWORD, LONG>> want = {{EVENT_OBJECT_SHOW, CHILDID_SELF},
                                                      {EVENT_OBJECT_STATECHANGE, CHILDID_SELF},
                                                      {EVENT_OBJECT_STATECHANGE, CHILDID_SELF}};
    EXPECT_EQ(gEvents, want) << "the panel shown, the indicator busy, then still";
}

TEST_F(AccessibleObjects, ButtonPressesFromTheMessageLoop) {
    auto* button = Add<TButton>({10, 10, 100, 30});
    button->SetCaption(u"&Go");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Show();
    Accessible object = Child(Root().get(), 1);
    EXPECT_EQ(Name(object.get()), L"Go");
    EXPECT_EQ(object.get()->accDoDefaultAction(ChildId(0)), S_OK);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
}

TEST_F(AccessibleObjects, ObjectOutlivingItsControlAnswersDisconnected) {
    TComponent holder(nullptr);
    auto* label = TComponent::Create<TLabel>(&holder);
    label->SetParent(form);
    label->SetCaption(u"Going");
    Show();
    Accessible object = Child(Root().get(), 1);
    EXPECT_EQ(Name(object.get()), L"Going");
    holder.DestroyComponents();
    BSTR name = nullptr;
    EXPECT_EQ(object.get()->get_accName(ChildId(0), &name), RPC_E_DISCONNECTED);
    long count = -1;
    EXPECT_EQ(Root().get()->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0);
}

} // namespace
