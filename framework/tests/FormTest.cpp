// The framework under Wine: forms, windowless children (painting, hit testing, clicks),
// alignment and anchors, tab navigation, ownership, the error box, GDI object hygiene.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/win32/Application.h"
#include "framework/win32/Form.h"
#include "framework/win32/StdCtrls.h"
#include "tests/support/WinTestSupport.h"

namespace {

// A windowless control that fills itself with one colour and counts clicks.
class Swatch : public TGraphicControl {
  public:
    Swatch(TComponent* owner, COLORREF color, bool* destroyed = nullptr)
        : TGraphicControl(owner), color_(color), destroyed_(destroyed) {
        OnClick = [this](TObject*) { ++clicks; };
    }
    ~Swatch() override {
        if (destroyed_) *destroyed_ = true;
    }
    void Paint(TCanvas& canvas) override {
        RECT r = ClientRect();
        FillSolidRect(canvas.Handle(), r, color_);
    }
    int clicks = 0;

  private:
    COLORREF color_;
    bool* destroyed_;
};

class FormFixture : public testing::Test {
  protected:
    void SetUp() override {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetColor(clWhite);
        form->SetClientSize(200, 150);
    }
    void Show() {
        form->Show();
        PumpFor(100);
    }
    void SendMouse(UINT msg, int x, int y) {
        SendMessageW(form->Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }
    void ClickAt(int x, int y) {
        SendMouse(WM_LBUTTONDOWN, x, y);
        SendMouse(WM_LBUTTONUP, x, y);
    }

    TApplication app;
    TForm* form = nullptr;
};

} // namespace

TEST_F(FormFixture, DialogFrameAndClientSize) {
    form->SetCaption(u"Caption \u00e4");
    HWND wnd = form->Handle();
    RECT r;
    GetClientRect(wnd, &r);
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 150);
    LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    wchar_t text[64];
    GetWindowTextW(wnd, text, 64);
    EXPECT_STREQ(text, L"Caption \u00e4");
}

TEST_F(FormFixture, WindowlessChildrenPaintInStackingOrderAndTakeClicksByHitTest) {
    auto* bottom = TComponent::Create<Swatch>(form, RGB(255, 0, 0));
    bottom->SetParent(form);
    bottom->SetBounds(10, 10, 100, 50);
    auto* top = TComponent::Create<Swatch>(form, RGB(0, 0, 255));
    top->SetParent(form);
    top->SetBounds(60, 30, 100, 50);
    Show();

    DibSurface shot(200, 150);
    CaptureClient(form->Handle(), shot);
    EXPECT_EQ(shot.Pixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(shot.Pixel(70, 40), RGB(0, 0, 255)); // overlap: the later one on top
    EXPECT_EQ(shot.Pixel(5, 5), RGB(255, 255, 255));

    ClickAt(70, 40);
    ClickAt(20, 20);
    ClickAt(190, 140); // on the form itself
    EXPECT_EQ(top->clicks, 1);
    EXPECT_EQ(bottom->clicks, 1);

    top->SetVisible(false);
    ClickAt(70, 40);
    EXPECT_EQ(bottom->clicks, 2);
    bottom->SetEnabled(false);
    ClickAt(20, 20);
    EXPECT_EQ(bottom->clicks, 2);
}

TEST_F(FormFixture, PressInsideReleaseOutsideIsNoClick) {
    auto* swatch = TComponent::Create<Swatch>(form, RGB(0, 255, 0));
    swatch->SetParent(form);
    swatch->SetBounds(10, 10, 50, 50);
    Show();
    SendMouse(WM_LBUTTONDOWN, 20, 20);
    SendMouse(WM_LBUTTONUP, 150, 120);
    EXPECT_EQ(swatch->clicks, 0);
}

TEST_F(FormFixture, AlignAndAnchorsPlaceChildren) {
    auto* bottom = TComponent::Create<Swatch>(form, 0);
    bottom->SetParent(form);
    bottom->SetBounds(0, 0, 10, 30);
    bottom->SetAlign(alBottom);
    auto* client = TComponent::Create<Swatch>(form, 0);
    client->SetParent(form);
    client->SetAlign(alClient);
    auto* anchored = TComponent::Create<Swatch>(form, 0);
    anchored->SetParent(form);
    anchored->SetBounds(10, 10, 50, 20);
    anchored->SetAnchors(akLeft | akTop | akRight);

    EXPECT_EQ(bottom->BoundsRect().top, 120);
    EXPECT_EQ(bottom->Width(), 200);
    EXPECT_EQ(client->Height(), 120);

    form->SetClientSize(260, 150);
    EXPECT_EQ(anchored->Width(), 110);
    EXPECT_EQ(bottom->Width(), 260);

    form->SetBorderWidth(5);
    EXPECT_EQ(bottom->BoundsRect().top, 115);
    EXPECT_EQ(bottom->Left(), 5);

    // The layout above was built before the form had a window; the window, created now,
    // has the client size the layout assumed, and nothing moves.
    ASSERT_FALSE(form->HandleAllocated());
    const RECT anchoredBefore = anchored->BoundsRect();
    Show();
    RECT got;
    GetClientRect(form->Handle(), &got);
    EXPECT_EQ(got.right, 260);
    EXPECT_EQ(got.bottom, 150);
    EXPECT_EQ(bottom->BoundsRect().top, 115);
    const RECT anchoredAfter = anchored->BoundsRect();
    EXPECT_TRUE(EqualRect(&anchoredBefore, &anchoredAfter));
}

TEST_F(FormFixture, TabCyclesThroughVisibleEnabledTabStopsInTabOrder) {
    auto* a = TComponent::Create<TButton>(form);
    auto* b = TComponent::Create<TButton>(form);
    auto* c = TComponent::Create<TButton>(form);
    for (TButton* btn : {a, b, c})
        btn->SetParent(form);
    a->SetTabOrder(2);
    b->SetTabOrder(0);
    c->SetTabOrder(1);
    Show();
    EXPECT_TRUE(b->Focused()); // activation focuses the first tab stop
    form->SelectNext(true);
    EXPECT_TRUE(c->Focused());
    form->SelectNext(true);
    EXPECT_TRUE(a->Focused());
    form->SelectNext(true);
    EXPECT_TRUE(b->Focused());
    form->SelectNext(false);
    EXPECT_TRUE(a->Focused());
    c->SetEnabled(false);
    form->SelectNext(true);
    EXPECT_TRUE(b->Focused());
    form->SelectNext(true);
    EXPECT_TRUE(a->Focused());
}

TEST_F(FormFixture, ButtonClickAndParentFont) {
    form->Font().Assign(TFontDesc{u"Verdana", -13, fsBold, clWindowText, 1});
    auto* button = TComponent::Create<TButton>(form);
    button->SetParent(form);
    EXPECT_EQ(button->Font().Desc(), form->Font().Desc());
    form->Font().SetHeight(-20);
    EXPECT_EQ(button->Font().Height(), -20);
    button->Font().SetHeight(-9); // its own font from now on
    form->Font().SetHeight(-30);
    EXPECT_EQ(button->Font().Height(), -9);

    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, OwnerDestroysWhatItOwns) {
    bool destroyed = false;
    auto* panelForm = TComponent::Create<TForm>(form);
    auto* swatch = TComponent::Create<Swatch>(panelForm, 0, &destroyed);
    swatch->SetParent(form); // parent and owner differ
    form->DestroyComponents();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(form->Controls().empty());
}

TEST_F(FormFixture, EscapedExceptionShowsErrorBoxAndProgramCarriesOn) {
    app.SetTitle(u"Optavo");
    auto* button = TComponent::Create<TButton>(form);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 1) throw std::runtime_error("handler failed");
    };
    Show();

    struct Seen {
        std::wstring caption, text;
        LONG_PTR style = 0;
    };
    static Seen seen;
    seen = {};
    // The box is modal: a timer on this thread reads it and presses its OK button.
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", L"Optavo");
        if (!box) return;
        wchar_t text[256] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        seen = {L"Optavo", text, 0};
        EnumChildWindows(
            box,
            [](HWND child, LPARAM) -> BOOL {
                if (GetWindowLongPtrW(child, GWL_STYLE) & SS_ICON) seen.style |= 1;
                return TRUE;
            },
            0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.caption, L"Optavo");
    EXPECT_EQ(seen.text, L"handler failed");
    EXPECT_EQ(seen.style, 1) << "the box shows an icon";

    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FormFixture, RepaintingLeavesNoGdiObjectBehind) {
    auto* label = TComponent::Create<TLabel>(form);
    label->SetParent(form);
    label->SetCaption(u"Kundennummer:");
    auto* swatch = TComponent::Create<Swatch>(form, RGB(1, 2, 3));
    swatch->SetParent(form);
    swatch->SetBounds(0, 40, 40, 40);
    Show();
    DibSurface shot(200, 150);
    CaptureClient(form->Handle(), shot);
    int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) {
        label->Font().SetHeight(-10 - i % 5);
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    label->Font().SetHeight(-10);
    PumpFor(50);
    EXPECT_LE(CountGdiObjects(), before + 1); // at most the label's current font
}

TEST_F(FormFixture, RecreatedWindowKeepsItsWindowedChildren) {
    auto* panel = TComponent::Create<TCustomControl>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 80);
    auto* button = TComponent::Create<TButton>(form);
    button->SetParent(panel);
    button->SetBounds(5, 5, 60, 25);
    button->SetCaption(u"Go");
    Show();
    HWND oldPanel = panel->Handle();
    panel->RecreateWnd();
    EXPECT_NE(panel->Handle(), oldPanel);
    EXPECT_FALSE(IsWindow(oldPanel));
    ASSERT_TRUE(button->HandleAllocated());
    EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
    EXPECT_EQ(button->Caption(), u"Go");
    RECT r;
    GetWindowRect(button->Handle(), &r);
    MapWindowPoints(nullptr, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right - r.left, 60);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, ClosingTheMainFormAsksTheLoopToEndAndKeepsTheWindow) {
    TForm* main = app.CreateForm<TForm>();
    ASSERT_EQ(app.MainForm(), main);
    main->Show();
    SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = true;
    EXPECT_TRUE(quit);
}

namespace {

// A windowed control that fills itself with one colour.
class Block : public TCustomControl {
  public:
    Block(TComponent* owner, COLORREF color) : TCustomControl(owner), color_(color) {}
    void Paint(TCanvas& canvas) override {
        RECT r = ClientRect();
        FillSolidRect(canvas.Handle(), r, color_);
    }

  private:
    COLORREF color_;
};

} // namespace

// Three overlapping windowed controls: the one created last lies on top, what the user sees
// and what the mouse reaches agree, and a re-created window keeps its place in the stack.
TEST_F(FormFixture, LaterWindowedControlLiesAboveEarlierOne) {
    const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    Block* blocks[3];
    for (int i = 0; i < 3; ++i) {
        blocks[i] = TComponent::Create<Block>(form, colors[i]);
        blocks[i]->SetParent(form);
        blocks[i]->SetBounds(10 + 20 * i, 10 + 20 * i, 100, 80);
    }
    Show();
    auto expectStack = [&](const char* when) {
        SCOPED_TRACE(when);
        DibSurface shot(200, 150);
        CaptureClient(form->Handle(), shot);
        // (x, y) inside: only block 0; blocks 0 and 1; all three.
        const POINT points[] = {{15, 15}, {45, 45}, {75, 75}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(shot.Pixel(points[i].x, points[i].y), colors[i]) << "point " << i;
            POINT screen = points[i];
            ClientToScreen(form->Handle(), &screen);
            EXPECT_EQ(WindowFromPoint(screen), blocks[i]->Handle()) << "point " << i;
        }
        EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), blocks[2]->Handle());
    };
    expectStack("after creation");
    blocks[1]->RecreateWnd();
    expectStack("after re-creating the middle one");
    blocks[0]->RecreateWnd();
    expectStack("after re-creating the bottom one");
}

// A windowed child created after the parent is on screen still goes on top.
TEST_F(FormFixture, ChildCreatedLaterOnAShownFormGoesOnTop) {
    auto* first = TComponent::Create<Block>(form, RGB(255, 0, 0));
    first->SetParent(form);
    first->SetBounds(0, 0, 200, 150);
    Show();
    auto* second = TComponent::Create<Block>(form, RGB(0, 0, 255));
    second->SetParent(form);
    second->SetBounds(50, 50, 50, 50);
    DibSurface shot(200, 150);
    CaptureClient(form->Handle(), shot);
    EXPECT_EQ(shot.Pixel(75, 75), RGB(0, 0, 255));
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), second->Handle());
}

// With no window of the program active, the application's message box is owned by the
// application's own (hidden) window, never left unowned.
TEST_F(FormFixture, MessageBoxWithoutActiveWindowIsOwnedByTheApplicationWindow) {
    static HWND owner;
    owner = reinterpret_cast<HWND>(-1);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", L"Owner test");
        if (!box) return;
        owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    app.MessageBox(u"text", u"Owner test", MB_OK);
    KillTimer(nullptr, timer);
    ASSERT_NE(app.Handle(), nullptr);
    EXPECT_EQ(owner, app.Handle());
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
}

// The frames Wine draws take their caption-button glyphs (close, minimise) from Marlett;
// without it the close button shows the letter "r". The test prefix must provide it.
TEST(PlatformFonts, CaptionButtonGlyphFontIsInstalled) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcscpy(query.lfFaceName, L"Marlett");
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &query,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(found);
}
