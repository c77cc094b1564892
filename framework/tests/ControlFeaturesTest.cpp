// The control features every component publishes, under Wine with real input where the
// feature is input: size constraints, OnResize, double clicks, OnMouseActivate, notification
// reflection, components created without an owner, accelerators and keyboard cues, hints,
// drag, reading order, context menus, and controls that go being forgotten.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/Application.h"
#include "framework/win32/Form.h"
#include "framework/win32/Hints.h"
#include "framework/win32/StdCtrls.h"
#include "tests/support/WinTestSupport.h"

namespace {

// Records the events of a control as short words, in order.
struct EventLog {
    std::vector<std::string> Events;
    void Wire(TControl* c) {
        c->OnClick = [this](TObject*) { Events.push_back("click"); };
        c->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
        c->OnMouseDown = [this](TObject*, TMouseButton, TShiftState shift, int, int) {
            Events.push_back(shift & ssDouble ? "down-double" : "down");
        };
        c->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Events.push_back("up");
        };
    }
};

class Painted : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
};

class Windowed : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    LRESULT Notify(const NMHDR& header) override {
        LastNotifyCode = header.code;
        return 42;
    }
    UINT LastNotifyCode = 0;
};

class ControlFixture : public testing::Test {
  protected:
    void SetUp() override {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetClientSize(300, 200);
    }
    void Show() {
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpFor(150);
    }
    POINT ScreenPoint(TControl* c, int x, int y) {
        POINT p = c->OriginInWindow();
        p.x += x;
        p.y += y;
        ClientToScreen(c->WindowHandle(), &p);
        return p;
    }
    // Runs the application's own loop (dialog keys included) for a while.
    void PumpApp(DWORD ms) {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            app.ProcessMessages();
            Sleep(1);
        }
    }
    template <class T> T* Add(int left, int top, int width, int height) {
        T* c = TComponent::Create<T>(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }

    TApplication app;
    TForm* form = nullptr;
};

} // namespace

struct ConstraintCase {
    TSizeConstraints limits;
    int width, height;   // asked for
    int wantW, wantH;    // held to the limits
};

// SetBounds on windowless and windowed controls; the window takes the held size too.
TEST_F(ControlFixture, ConstraintsHoldEverySetBounds) {
    const ConstraintCase cases[] = {
        {{0, 0, 0, 0}, 70, 30, 70, 30},
        {{50, 20, 0, 0}, 10, 5, 50, 20},
        {{0, 0, 100, 40}, 250, 90, 100, 40},
        {{50, 20, 100, 40}, 75, 30, 75, 30},
        {{60, 0, 40, 0}, 80, 10, 60, 10}, // a minimum above the maximum wins
    };
    Painted* painted = Add<Painted>(0, 0, 10, 10);
    Windowed* windowed = Add<Windowed>(0, 0, 10, 10);
    Show();
    for (const ConstraintCase& c : cases) {
        for (TControl* control : {static_cast<TControl*>(painted), static_cast<TControl*>(windowed)}) {
            control->SetConstraints({});
            control->SetBounds(0, 0, 10, 10);
            control->SetConstraints(c.limits);
            control->SetBounds(5, 6, c.width, c.height);
            EXPECT_EQ(control->Width(), c.wantW) << c.width;
            EXPECT_EQ(control->Height(), c.wantH) << c.height;
        }
        RECT r;
        GetWindowRect(windowed->Handle(), &r);
        EXPECT_EQ(r.right - r.left, c.wantW);
        EXPECT_EQ(r.bottom - r.top, c.wantH);
    }
}

// Alignment and new limits go through the same rule.
TEST_F(ControlFixture, ConstraintsHoldAlignmentAndApplyAtOnce) {
    Windowed* bar = Add<Windowed>(0, 0, 50, 30);
    bar->SetConstraints({0, 0, 0, 25});
    bar->SetAlign(alTop);
    Painted* fill = Add<Painted>(0, 0, 10, 10);
    fill->SetConstraints({0, 0, 120, 0});
    fill->SetAlign(alClient);
    Show();
    EXPECT_EQ(bar->Width(), 300);
    EXPECT_EQ(bar->Height(), 25);
    EXPECT_EQ(fill->Top(), 25);
    EXPECT_EQ(fill->Width(), 120);
    EXPECT_EQ(fill->Height(), 175);
    fill->SetConstraints({0, 0, 0, 100});
    EXPECT_EQ(fill->Height(), 100);
}

// OnResize once per change of size, never for a move, for both kinds of control.
TEST_F(ControlFixture, OnResizeFiresForSizeChangesOnly) {
    Painted* painted = Add<Painted>(0, 0, 40, 40);
    Windowed* windowed = Add<Windowed>(50, 0, 40, 40);
    Show();
    for (TControl* c : {static_cast<TControl*>(painted), static_cast<TControl*>(windowed)}) {
        int resizes = 0;
        std::vector<int> widths;
        c->OnResize = [&](TObject* sender) {
            ++resizes;
            widths.push_back(static_cast<TControl*>(sender)->Width());
        };
        c->SetBounds(c->Left() + 5, 10, 40, 40);
        EXPECT_EQ(resizes, 0) << "a move is no resize";
        c->SetBounds(c->Left(), 10, 60, 40);
        c->SetHeight(45);
        c->SetHeight(45);
        EXPECT_EQ(resizes, 2);
        EXPECT_EQ(widths, (std::vector<int>{60, 60}));
        c->OnResize = nullptr;
    }
}

// A real double click is one click and one double click: the first press and release click,
// then the double-click event comes before the second press, which carries ssDouble, and
// that press's release clicks no more; on a windowless and a windowed control alike.
TEST_F(ControlFixture, RealDoubleClickIsOneClickAndOneDoubleClick) {
    Painted* painted = Add<Painted>(10, 10, 80, 60);
    Windowed* windowed = Add<Windowed>(150, 10, 80, 60);
    Show();
    for (TControl* c : {static_cast<TControl*>(painted), static_cast<TControl*>(windowed)}) {
        EventLog log;
        log.Wire(c);
        SendClick(ScreenPoint(c, 40, 30), 2);
        PumpFor(150);
        EXPECT_EQ(log.Events, (std::vector<std::string>{"down", "up", "click", "dblclick",
                                                        "down-double", "up"}));
    }
}

// A press on an inactive window asks the control under the pointer how to activate; eating
// the press keeps it from the control.
TEST_F(ControlFixture, MouseActivateAsksTheControlUnderThePointer) {
    Painted* painted = Add<Painted>(10, 10, 80, 60);
    EventLog log;
    log.Wire(painted);
    std::vector<int> hits;
    painted->OnMouseActivate = [&](TObject* sender, TMouseButton button, TShiftState, int x,
                                   int y, int hitTest, TMouseActivate& result) {
        EXPECT_EQ(sender, painted);
        EXPECT_EQ(button, mbLeft);
        EXPECT_NEAR(x, 40, 1);
        EXPECT_NEAR(y, 30, 1);
        hits.push_back(hitTest);
        result = maNoActivateAndEat;
    };
    Show();
    TForm* other = TComponent::Create<TForm>(&app);
    other->SetBounds(500, 400, 200, 150);
    other->Show();
    SetForegroundWindow(other->Handle());
    PumpFor(150);
    ASSERT_EQ(GetForegroundWindow(), other->Handle());

    SendClick(ScreenPoint(painted, 40, 30));
    PumpFor(150);
    EXPECT_EQ(hits, std::vector<int>{HTCLIENT});
    // The platform delivers the release of an eaten press; neither a press nor a click arrive.
    EXPECT_EQ(log.Events, std::vector<std::string>{"up"});
    EXPECT_EQ(GetForegroundWindow(), other->Handle()) << "the window was activated";
}

// WM_COMMAND and WM_NOTIFY that a child window sends its parent come back to the child.
TEST_F(ControlFixture, NotificationsAreReflectedToTheChildThatSentThem) {
    Windowed* child = Add<Windowed>(0, 0, 50, 50);
    auto* button = Add<TButton>(60, 0, 80, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Show();
    NMHDR header{child->Handle(), 7, 1234};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 42);
    EXPECT_EQ(child->LastNotifyCode, 1234u);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle()));
    EXPECT_EQ(clicks, 1);
}

// Created without an owner, a component lives until the application object goes.
TEST(Ownership, ComponentWithoutOwnerIsKeptByTheApplication) {
    std::size_t before;
    {
        TApplication app;
        before = app.ComponentCount();
        TForm* form = TComponent::Create<TForm>(nullptr);
        EXPECT_EQ(form->Owner(), &app);
        EXPECT_EQ(app.ComponentCount(), before + 1);
    }
    EXPECT_THROW(TComponent::Create<TForm>(nullptr), std::logic_error);
}

// Constructing with an owner is what makes a component owned: the owner destroys it once,
// with itself, unless it was destroyed by hand before, which takes it off the owner's list.
TEST(Ownership, ConstructingWithAnOwnerRegistersAndDeletingByHandUnregisters) {
    struct Counted : TComponent {
        Counted(TComponent* owner, int& gone) : TComponent(owner), Gone(gone) {}
        ~Counted() override { ++Gone; }
        int& Gone;
    };
    int gone = 0;
    {
        TComponent owner(nullptr);
        auto* kept = new Counted(&owner, gone);
        auto* early = new Counted(&owner, gone);
        EXPECT_EQ(kept->Owner(), &owner);
        EXPECT_EQ(owner.ComponentCount(), 2u);
        delete early;
        EXPECT_EQ(gone, 1);
        EXPECT_EQ(owner.ComponentCount(), 1u) << "a component deleted by hand leaves its owner";
    }
    EXPECT_EQ(gone, 2) << "the owner destroyed the other one, and the first not again";

    TApplication app;
    auto* form = TComponent::Create<TForm>(nullptr);
    form->HandleNeeded();
    auto* button = new TButton(form);
    button->SetParent(form);
    bool buttonGone = false;
    TComponentRef<TButton> ref;
    ref = button;
    button->FreeNotification(&buttonGone, [&] { buttonGone = true; });
    ASSERT_TRUE(button->HandleAllocated());
    const HWND buttonWindow = button->Handle();
    delete form;
    EXPECT_TRUE(buttonGone) << "a control made with new and an owner goes with its owner";
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_FALSE(IsWindow(buttonWindow));
}

namespace {

// A windowed control that wants every character typed into it, as an edit does.
class CharTaker : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_GETDLGCODE) return DLGC_WANTCHARS;
        if (msg == WM_CHAR) Typed += char16_t(wParam);
        return TCustomControl::WndProc(msg, wParam, lParam);
    }
    std::u16string Typed;
};

} // namespace

// Alt+letter, and the plain letter where the focused control does not want characters, go
// to the control whose caption marks that accelerator: a label focuses its FocusControl, a
// push button is clicked. A disabled button or a control that wants the letter keeps it.
TEST_F(ControlFixture, AcceleratorsWithRealKeystrokes) {
    auto* label = Add<TLabel>(10, 10, 80, 20);
    label->SetCaption(u"&Kunde");
    auto* field = Add<CharTaker>(100, 10, 80, 24);
    field->SetTabStop(true);
    label->SetFocusControl(field);
    auto* go = Add<TButton>(10, 60, 80, 30);
    go->SetCaption(u"&Go");
    auto* other = Add<TButton>(100, 60, 80, 30);
    other->SetCaption(u"Other");
    int goClicks = 0;
    go->OnClick = [&](TObject*) { ++goClicks; };
    Show();
    struct Case {
        TWinControl* focus;
        WORD key;
        bool alt;
        bool goEnabled;
        TWinControl* focusAfter;
        int clicks;
        const char16_t* typed;
        const char* what;
    };
    const Case cases[] = {
        {other, 'K', true, true, field, 0, u"", "Alt+K focuses the label's control"},
        {field, 'G', true, true, go, 1, u"", "Alt+G clicks the button"},
        {other, 'G', false, true, go, 1, u"", "G on a control that wants no characters"},
        {field, 'G', false, true, field, 0, u"g", "G typed into a control that wants it"},
        {other, 'G', true, false, other, 0, u"", "a disabled button"},
        {other, 'X', true, true, other, 0, u"", "no caption marks X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        go->SetEnabled(c.goEnabled);
        c.focus->SetFocus();
        PumpApp(150);
        goClicks = 0;
        field->Typed.clear();
        if (c.alt)
            SendKey(c.key, {VK_MENU});
        else
            SendKey(c.key);
        PumpApp(150);
        EXPECT_EQ(goClicks, c.clicks);
        EXPECT_EQ(GetFocus(), c.focusAfter->Handle());
        EXPECT_EQ(field->Typed, c.typed);
    }
}

// The label's accelerator underline shows exactly while the window's keyboard cues show it.
TEST_F(ControlFixture, AcceleratorUnderlineFollowsTheKeyboardCues) {
    form->SetColor(clWhite);
    auto* label = Add<TLabel>(10, 10, 120, 30);
    label->SetAutoSize(false);
    label->SetColor(clWhite);
    label->SetCaption(u"&Kunde");
    Show();
    auto inkBottom = [&](WORD action) {
        SendMessageW(form->Handle(), WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEACCEL), 0);
        DibSurface shot(300, 200);
        CaptureClient(form->Handle(), shot);
        return InkBox(shot, RECT{10, 10, 130, 40}, RGB(255, 255, 255)).bottom;
    };
    const int hidden = inkBottom(UIS_SET);
    EXPECT_TRUE(label->AcceleratorsHidden());
    const int shown = inkBottom(UIS_CLEAR);
    EXPECT_GT(shown, hidden) << "no underline below the letters while cues show";
    EXPECT_EQ(inkBottom(UIS_SET), hidden);

    // Using the keyboard with Alt shows the cues. (Alt alone would open the window's
    // system menu and wait for the user.)
    SendKey('X', {VK_MENU});
    PumpApp(150);
    EXPECT_FALSE(label->AcceleratorsHidden());
}

namespace {

// Spies on the WM_CHANGEUISTATE messages a window receives (subclassing it, as a message spy
// does), recording their wParam.
class UiStateSpy {
  public:
    explicit UiStateSpy(HWND wnd) : wnd_(wnd) {
        spy = this;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~UiStateSpy() {
        SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        spy = nullptr;
    }
    UiStateSpy(const UiStateSpy&) = delete;
    UiStateSpy& operator=(const UiStateSpy&) = delete;

    // True when a message cleared (UIS_CLEAR) every cue in `flags`.
    bool Cleared(WORD flags) const {
        for (WPARAM w : Seen)
            if (LOWORD(w) == UIS_CLEAR && (HIWORD(w) & flags) == flags) return true;
        return false;
    }
    std::vector<WPARAM> Seen;

  private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_CHANGEUISTATE) spy->Seen.push_back(wParam);
        return CallWindowProcW(spy->old_, wnd, msg, wParam, lParam);
    }
    static inline UiStateSpy* spy = nullptr;
    HWND wnd_;
    WNDPROC old_;
};

} // namespace

// Keyboard use is told to the window as the platform's dialog manager tells it, so that a
// platform whose windows keep the cues shows focus rectangles and underlines: Tab and
// Shift+Tab clear the focus cue, a key with Alt clears the accelerator and focus cues.
TEST_F(ControlFixture, KeyboardUseClearsTheWindowsCuesAsTheDialogManagerDoes) {
    auto* first = Add<TButton>(10, 10, 80, 30);
    auto* second = Add<TButton>(100, 10, 80, 30);
    Show();
    first->SetFocus();
    PumpApp(100);
    UiStateSpy spy(form->Handle());
    struct Case {
        WORD key;
        WORD modifier; // 0: none
        WORD cleared;
        TButton* focusAfter;
        const char* what;
    };
    const Case cases[] = {
        {VK_TAB, 0, UISF_HIDEFOCUS, second, "Tab"},
        {VK_TAB, VK_SHIFT, UISF_HIDEFOCUS, first, "Shift+Tab"},
        {'X', VK_MENU, UISF_HIDEACCEL | UISF_HIDEFOCUS, first, "Alt+X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        spy.Seen.clear();
        if (c.modifier)
            SendKey(c.key, {c.modifier});
        else
            SendKey(c.key);
        PumpApp(150);
        EXPECT_TRUE(spy.Cleared(c.cleared)) << spy.Seen.size() << " WM_CHANGEUISTATE seen";
        EXPECT_EQ(GetFocus(), c.focusAfter->Handle());
    }
    // The form's own tracking of the accelerator cue answers the platform's query.
    EXPECT_FALSE(SendMessageW(form->Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL);
}

// A control that goes is forgotten wherever it was held without being owned: the form's
// active control (the form's next activation then focuses the one tab stop left), a label's
// FocusControl (its accelerator then does nothing) and the control a popup menu was shown for.
TEST_F(ControlFixture, ControlThatGoesIsForgottenWhereItWasHeld) {
    auto* stay = Add<TButton>(10, 10, 80, 30);
    stay->SetCaption(u"Stay");
    TComponent holder(nullptr); // destroys the control that goes
    auto* goes = TComponent::Create<TButton>(&holder);
    goes->SetParent(form);
    goes->SetBounds(100, 10, 80, 30);
    goes->SetCaption(u"Goes");
    auto* label = Add<TLabel>(10, 60, 80, 20);
    label->SetCaption(u"&Kunde");
    label->SetFocusControl(goes);
    auto* menu = TComponent::Create<TPopupMenu>(form);
    menu->PopupComponent = goes;
    Show();
    ASSERT_EQ(GetFocus(), stay->Handle());
    SendKey(VK_TAB);
    PumpApp(150);
    ASSERT_EQ(GetFocus(), goes->Handle());

    // Another window becomes active; meanwhile the focused control goes.
    TForm* other = TComponent::Create<TForm>(&app);
    other->SetBounds(500, 400, 200, 150);
    other->Show();
    SetForegroundWindow(other->Handle());
    PumpApp(150);
    ASSERT_EQ(form->ActiveControl(), goes);
    holder.DestroyComponents();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(menu->PopupComponent, nullptr);
    ASSERT_FALSE(HasFailure()) << "the next steps would call into the destroyed control";

    // A click activates the form again: the focus goes to the tab stop that is left.
    SendClick(ScreenPoint(form, 250, 150));
    PumpApp(150);
    EXPECT_EQ(GetForegroundWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), stay->Handle());
    EXPECT_EQ(form->ActiveControl(), stay);
    SendKey('K', {VK_MENU});
    PumpApp(150);
    EXPECT_EQ(GetFocus(), stay->Handle());
}

// The application's main form is forgotten when it goes.
TEST(Ownership, MainFormThatGoesIsForgotten) {
    TApplication app;
    app.CreateForm<TForm>();
    ASSERT_NE(app.MainForm(), nullptr);
    app.DestroyComponents();
    EXPECT_EQ(app.MainForm(), nullptr);
}

// A tooltip with the control's hint appears once the pointer has rested on it for the
// platform's delay (not before), for windowless and windowed controls, and never for a
// control whose ShowHint is off; ParentShowHint takes the parent's setting.
TEST_F(ControlFixture, HintAppearsAfterThePlatformsDelay) {
    Painted* painted = Add<Painted>(10, 10, 80, 60);
    painted->SetHint(u"Windowless tip");
    painted->SetShowHint(true);
    Windowed* windowed = Add<Windowed>(110, 10, 80, 60);
    windowed->SetHint(u"Windowed tip");
    Painted* inherits = Add<Painted>(210, 10, 80, 60);
    inherits->SetHint(u"Form's setting");
    Painted* silent = Add<Painted>(10, 100, 80, 60);
    silent->SetHint(u"Never");
    silent->SetShowHint(false);
    form->SetShowHint(true);
    Show();

    auto shown = [&]() -> std::u16string {
        THintManager* hints = app.Hints();
        if (!hints || !hints->TooltipWindow() || !IsWindowVisible(hints->TooltipWindow()))
            return u"";
        return hints->ShownText();
    };
    const DWORD delay = GetDoubleClickTime();
    struct Case {
        TControl* control;
        const char16_t* tip;
    };
    for (const Case& c : {Case{painted, u"Windowless tip"}, Case{windowed, u"Windowed tip"},
                          Case{inherits, u"Form's setting"}, Case{silent, u""}}) {
        SCOPED_TRACE(std::string(c.tip, c.tip + std::char_traits<char16_t>::length(c.tip)));
        SendClick(ScreenPoint(c.control, 20, 20), 0); // a move only
        PumpApp(delay / 3);
        EXPECT_EQ(shown(), u"") << "shown before the delay";
        PumpApp(delay);
        EXPECT_EQ(shown(), c.tip);
        SendClick(ScreenPoint(form, 295, 195), 0);
        PumpApp(100);
    }
}

namespace {

// A left-button drag with the real mouse, in steps, `pump` running the program between.
template <class Pump> void SendMouseDrag(Pump pump, POINT from, POINT to, int steps = 6) {
    auto mouse = [](POINT p, DWORD flags) {
        INPUT in = MouseInput(p, flags);
        SendInput(1, &in, sizeof(in));
    };
    mouse(from, MOUSEEVENTF_MOVE);
    pump(60);
    mouse(from, MOUSEEVENTF_LEFTDOWN);
    pump(60);
    for (int i = 1; i <= steps; ++i) {
        mouse({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps},
              MOUSEEVENTF_MOVE);
        pump(40);
    }
    mouse(to, MOUSEEVENTF_LEFTUP);
    pump(100);
}

std::string NameOf(TObject* o, const std::vector<std::pair<TObject*, std::string>>& names) {
    for (const auto& [object, name] : names)
        if (object == o) return name;
    return o ? "?" : "none";
}

} // namespace

// Dragging with the real mouse: past the platform's drag distance the drag starts, the
// control under the pointer is asked (enter, move, leave), the one that accepts takes the
// drop, and the source hears where it ended; below the distance the press is a click; a
// dock drag fires the dock events and finds no site.
TEST_F(ControlFixture, DragFromOneControlToAnotherWithTheRealMouse) {
    Painted* source = Add<Painted>(10, 10, 60, 60);
    Windowed* taker = Add<Windowed>(110, 10, 80, 80);
    Painted* refuser = Add<Painted>(10, 100, 80, 80);
    const std::vector<std::pair<TObject*, std::string>> names{
        {source, "source"}, {taker, "taker"}, {refuser, "refuser"}, {form, "form"}};
    std::vector<std::string> log;
    source->SetDragMode(dmAutomatic);
    source->OnClick = [&](TObject*) { log.push_back("click"); };
    source->OnStartDrag = [&](TObject*) { log.push_back("start"); };
    source->OnEndDrag = [&](TObject*, TObject* target, int, int) {
        log.push_back("end " + NameOf(target, names));
    };
    source->OnStartDock = [&](TObject*) { log.push_back("start-dock"); };
    source->OnEndDock = [&](TObject*, TObject* target, int, int) {
        log.push_back("end-dock " + NameOf(target, names));
    };
    taker->OnDragOver = [&](TObject*, TObject* src, int x, int y, TDragState state, bool& accept) {
        EXPECT_EQ(src, source);
        EXPECT_TRUE(x >= 0 && y >= 0 && x < 80 && y < 80) << x << "," << y;
        const char* kinds[] = {"enter", "leave", "move"};
        if (log.empty() || log.back() != std::string("over taker ") + kinds[state])
            log.push_back(std::string("over taker ") + kinds[state]);
        accept = true;
    };
    taker->OnDragDrop = [&](TObject*, TObject* src, int, int) {
        log.push_back("drop on taker from " + NameOf(src, names));
    };
    refuser->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) {
        accept = false;
    };
    refuser->OnDragDrop = [&](TObject*, TObject*, int, int) { log.push_back("drop on refuser"); };
    Show();

    struct Case {
        TControl* to;
        int dx; // when `to` is the source: how far to move
        TDragKind kind;
        std::vector<std::string> want;
    };
    const int drag = GetSystemMetrics(SM_CXDRAG);
    const Case cases[] = {
        {taker, 0, dkDrag, {"start", "over taker enter", "over taker move", "drop on taker from source",
                            "end taker"}},
        {refuser, 0, dkDrag, {"start", "end none"}},
        {source, drag - 1, dkDrag, {"click"}},
        {taker, 0, dkDock, {"start-dock", "end-dock none"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(c.to, names) + (c.kind == dkDock ? " dock" : ""));
        log.clear();
        source->SetDragKind(c.kind);
        POINT from = ScreenPoint(source, 30, 30);
        POINT to = c.to == source ? POINT{from.x + c.dx, from.y} : ScreenPoint(c.to, 40, 40);
        SendMouseDrag([this](DWORD ms) { PumpApp(ms); }, from, to);
        EXPECT_EQ(log, c.want);
        EXPECT_FALSE(source->Dragging());
        Sleep(GetDoubleClickTime()); // the next press is no second click of this one
    }
}

// A label reading right to left puts the trailing full stops before the letter; mirrored
// alignment moves the text to the right edge; ParentBiDiMode follows the form.
TEST_F(ControlFixture, LabelFollowsTheReadingOrder) {
    form->SetColor(clWhite);
    auto* label = Add<TLabel>(10, 10, 200, 30);
    label->SetAutoSize(false);
    label->SetColor(clWhite);
    label->SetCaption(u"A.........");
    Show();
    struct Ink {
        RECT box;
        int firstColumnHeight; // ink height in the leftmost four inked columns
    };
    auto ink = [&] {
        DibSurface shot(300, 200);
        CaptureClient(form->Handle(), shot);
        RECT box = InkBox(shot, RECT{10, 10, 210, 40}, RGB(255, 255, 255));
        RECT first = InkBox(shot, RECT{box.left, 10, box.left + 4, 40}, RGB(255, 255, 255));
        return Ink{box, first.bottom - first.top};
    };
    const Ink ltr = ink();
    form->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeftReadingOnly);
    const Ink rtlReading = ink();
    label->SetBiDiMode(bdRightToLeft);
    const Ink rtl = ink();

    EXPECT_GT(ltr.firstColumnHeight, 5) << "the letter comes first";
    EXPECT_LT(rtlReading.firstColumnHeight, 4) << "the stops come first";
    EXPECT_NEAR(rtlReading.box.left, ltr.box.left, 2) << "reading order alone keeps the alignment";
    EXPECT_GT(rtl.box.left, 100) << "mirrored alignment puts the text at the right";
}

// The context-menu request with the real mouse and keyboard: the control under the point (a
// windowless one included) fires OnContextPopup and shows its PopupMenu once; a handled
// request shows nothing; a control without a menu leaves the request to the window it is
// drawn on; the menu key asks the focused control.
TEST_F(ControlFixture, ContextRequestShowsTheControlsPopupMenuOnce) {
    Painted* painted = Add<Painted>(10, 10, 80, 60);
    Painted* plain = Add<Painted>(110, 10, 80, 60);
    auto* focusable = Add<TButton>(10, 100, 80, 30);
    focusable->SetCaption(u"Go");
    struct Shown {
        int popups = 0;
        TComponent* forControl = nullptr;
    };
    static Shown shown;
    auto makeMenu = [&] {
        auto* menu = TComponent::Create<TPopupMenu>(form);
        menu->Items.push_back({u"Item", nullptr});
        menu->OnPopup = [menu](TObject*) {
            ++shown.popups;
            shown.forControl = menu->PopupComponent;
            // The menu is modal: close it as soon as it is up.
            CloseMenuSoon(150);
        };
        return menu;
    };
    TPopupMenu* paintedMenu = makeMenu();
    TPopupMenu* formMenu = makeMenu();
    TPopupMenu* buttonMenu = makeMenu();
    painted->SetPopupMenu(paintedMenu);
    form->SetPopupMenu(formMenu);
    focusable->SetPopupMenu(buttonMenu);
    bool handle = false;
    int requests = 0;
    painted->OnContextPopup = [&](TObject*, POINT p, bool& handled) {
        ++requests;
        handled = handle;
    };
    Show();
    struct Case {
        TControl* at; // right-clicked, or nullptr for the menu key on the focused button
        bool handled;
        int popups;
        TComponent* shownFor;
        int requests;
        const char* what;
    };
    const Case cases[] = {
        {painted, false, 1, painted, 1, "right-click on a windowless control"},
        {painted, true, 0, nullptr, 1, "OnContextPopup handles it"},
        {plain, false, 1, form, 0, "no menu of its own: the form's"},
        {nullptr, false, 1, focusable, 0, "menu key on the focused button"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown = {};
        requests = 0;
        handle = c.handled;
        if (c.at) {
            SendClick(ScreenPoint(c.at, 40, 30), 1, true);
        } else {
            focusable->SetFocus();
            PumpApp(50);
            SendKey(VK_APPS);
        }
        PumpApp(600);
        EXPECT_EQ(shown.popups, c.popups);
        EXPECT_EQ(shown.forControl, c.shownFor);
        EXPECT_EQ(requests, c.requests);
        Sleep(GetDoubleClickTime());
    }
}
