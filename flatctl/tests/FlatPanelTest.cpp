// TFlatPanel under Wine: the header band and the busy panel as the window shows them,
// bevels and the child area, the flat frame, caption placement, owner drawing, the
// background kinds with their erase rules, the alpha level and the shared image, enabling of
// children, creation styles, the after-loading steps and the style manager, sizing and
// moving, and GDI object hygiene.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "flatctl/win32/FlatPanel.h"
#include "flatctl/win32/ImageForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/Colors.h"
#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "framework/win32/Themes.h"
#include "framework/win32/WinText.h"
#include "tests/support/TestPictures.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr COLORREF kFormColor = RGB(0, 255, 0);
constexpr COLORREF kHeaderBlue = 0x00CE7B00;

// A windowless control that fills itself with one colour.
class Swatch : public TGraphicControl {
  public:
    Swatch(TComponent* owner, COLORREF color) : TGraphicControl(owner), color_(color) {}
    void Paint(TCanvas& canvas) override { FillSolidRect(canvas.Handle(), ClientRect(), color_); }

  private:
    COLORREF color_;
};

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Answers the first pixel of `area` (in surface coordinates) whose colour differs from
// `expected(x, y)` (coordinates relative to the area) by more than `tolerance` in a channel,
// or "".
std::string CheckArea(const DibSurface& s, RECT area,
                      const std::function<COLORREF(int, int)>& expected, int tolerance = 0) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF want = expected(x - area.left, y - area.top);
            if (!Near(s.Pixel(x, y), want, tolerance)) {
                char buf[96];
                snprintf(buf, sizeof buf, "pixel (%ld,%ld) is %06lX, want %06lX",
                         long(x - area.left), long(y - area.top), s.Pixel(x, y), want);
                return buf;
            }
        }
    return "";
}

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// One form for the whole suite (showing a top-level window is slow under Wine); each test
// builds its controls on a stage that fills the form and goes away with the test.
class FlatPanelFixture : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        gdiplus = std::make_unique<ScopedGdiPlus>();
        app = std::make_unique<TApplication>();
        form = TComponent::Create<TForm>(app.get());
        form->SetBorderStyle(bsNone);
        form->SetClientSize(460, 520);
        form->Show();
        PumpFor(100);
    }
    static void TearDownTestSuite() {
        app.reset();
        form = nullptr;
        gdiplus.reset();
    }

    void SetUp() override {
        stage = TComponent::Create<TWinControl>(&stageOwner);
        stage->SetParent(form);
        stage->SetBounds(0, 0, 460, 520);
        stage->SetColor(kFormColor);
    }

    // A panel with the window's settings: no bevel, no frame, no themed transparency.
    TFlatPanel* PlainPanel(int left, int top, int width, int height, TColor color) {
        auto* p = TComponent::Create<TFlatPanel>(stage);
        p->SetParent(stage);
        p->SetBounds(left, top, width, height);
        p->SetBevelOuter(bvNone);
        p->SetBorderType(fbtNone);
        p->SetTransparentXPThemes(false);
        p->SetColor(color);
        return p;
    }

    void Show() { PumpFor(50); }

    void Capture() { CaptureClient(form->Handle(), screen); }

    // Gives the panel a background kind and answers the first pixel of `area` that then
    // differs from `expected`, or "".
    std::string PaintKind(TFlatPanel* panel, TBackgroundType type, RECT area,
                          const std::function<COLORREF(int, int)>& expected, int tolerance = 0) {
        panel->SetBackgroundType(type);
        PumpFor(30);
        Capture();
        return CheckArea(screen, area, expected, tolerance);
    }

    static inline std::unique_ptr<ScopedGdiPlus> gdiplus;
    static inline std::unique_ptr<TApplication> app;
    static inline TForm* form = nullptr;
    TComponent stageOwner{nullptr};
    TWinControl* stage = nullptr;
    DibSurface screen{460, 520};
};

} // namespace

namespace {

// A 3 x 2 picture of six colours, and the colour of each of its pixels.
constexpr std::uint32_t kPicture[2][3] = {{0xFFFF0000, 0xFF0000FF, 0xFFFFFF00},
                                          {0xFF00FFFF, 0xFFFF00FF, 0xFF000000}};
COLORREF PicturePixel(int x, int y) {
    const std::uint32_t c = kPicture[y][x];
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}
std::vector<std::uint8_t> SixColourPicture() {
    return PngFile(3, 2, [](int x, int y) { return kPicture[y][x]; });
}

constexpr COLORREF kGray = RGB(128, 128, 128);

} // namespace

TEST_F(FlatPanelFixture, HeaderPanelIsOneSolidBandUnderItsLabel) {
    TFlatPanel* header = PlainPanel(0, 0, 445, 65, kHeaderBlue);
    header->SetThemeMode(ttmNone);
    auto* label = TComponent::Create<Swatch>(header, RGB(255, 0, 0));
    label->SetParent(header);
    label->SetBounds(16, 3, 411, 59);
    Show();
    Capture();
    const RECT labelRect = label->BoundsRect();
    EXPECT_EQ(CheckArea(screen, RECT{0, 0, 445, 65},
                        [&](int x, int y) {
                            return PtInRect(&labelRect, POINT{x, y}) ? RGB(255, 0, 0) : kHeaderBlue;
                        }),
              "");
    EXPECT_EQ(screen.Pixel(445, 10), kFormColor);
    EXPECT_EQ(screen.Pixel(10, 65), kFormColor);
}

TEST_F(FlatPanelFixture, HiddenBusyPanelShowsWhatIsBeneathAndShownCoversItsBand) {
    auto* step = TComponent::Create<Swatch>(stage, RGB(0, 0, 255));
    step->SetParent(stage);
    step->SetBounds(20, 100, 200, 40);
    TFlatPanel* busy = PlainPanel(0, 82, 445, 417, clWhite); // default theme mode
    busy->SetVisible(false);
    Show();
    const RECT band{0, 82, 445, 499};
    const RECT stepInBand{20, 18, 220, 58};
    auto beneath = [&](int x, int y) {
        return PtInRect(&stepInBand, POINT{x, y}) ? RGB(0, 0, 255) : kFormColor;
    };
    auto white = [](int, int) { return RGB(255, 255, 255); };

    Capture();
    EXPECT_EQ(CheckArea(screen, band, beneath), "") << "hidden";
    busy->SetVisible(true);
    PumpFor(50);
    Capture();
    EXPECT_EQ(CheckArea(screen, band, white), "") << "shown";
    busy->SetVisible(false);
    PumpFor(50);
    Capture();
    EXPECT_EQ(CheckArea(screen, band, beneath), "") << "hidden again";
}

TEST_F(FlatPanelFixture, BevelsAreNestedFramesAndNarrowTheChildArea) {
    struct Case {
        TBevelStyle Outer, Inner;
        int Width;
    };
    const COLORREF hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    const COLORREF space = RGB(10, 20, 30);
    auto colors = [&](TBevelStyle s) {
        if (s == bvLowered) return std::pair{sh, hi};
        if (s == bvSpace) return std::pair{space, space};
        return std::pair{hi, sh};
    };
    const int w = 100, h = 60;
    const Case cases[] = {{bvRaised, bvNone, 1},
                          {bvLowered, bvNone, 1},
                          {bvRaised, bvLowered, 2},
                          {bvSpace, bvRaised, 1}};
    Show();
    int left = 5;
    for (const Case& k : cases) {
        auto* panel = TComponent::Create<TFlatPanel>(stage);
        panel->SetParent(stage);
        panel->SetBounds(left, 10, w, h);
        panel->SetThemeMode(ttmNone);
        panel->SetBevelOuter(k.Outer);
        panel->SetBevelInner(k.Inner);
        panel->SetBevelWidth(k.Width);
        panel->SetBevelSpaceColor(space);
        auto* child = TComponent::Create<Swatch>(panel, RGB(255, 0, 0));
        child->SetParent(panel);
        child->SetAlign(alClient);
        const int inset = k.Width * ((k.Outer != bvNone) + (k.Inner != bvNone));
        EXPECT_EQ(Str(child->BoundsRect()), Str(RECT{inset, inset, w - inset, h - inset}))
            << "outer " << int(k.Outer) << " inner " << int(k.Inner);
        PumpFor(50);
        Capture();
        EXPECT_EQ(CheckArea(screen, RECT{left, 10, left + w, 10 + h},
                            [&](int x, int y) {
                                const int d = std::min({x, y, w - 1 - x, h - 1 - y});
                                if (d >= inset) return RGB(255, 0, 0);
                                const auto [top, bottom] = colors(d < k.Width ? k.Outer : k.Inner);
                                return (x == w - 1 - d || y == h - 1 - d) ? bottom : top;
                            }),
                  "")
            << "outer " << int(k.Outer) << " inner " << int(k.Inner) << " width " << k.Width;
        left += w + 12;
    }
}

TEST_F(FlatPanelFixture, SingleBorderShowsTheFlatEditsActiveFrame) {
    TFlatPanel* panel = PlainPanel(30, 40, 193, 24, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetBorderType(fbtSunken);
    panel->SetBorderStyle(bsSingle);
    Show();
    Capture();
    DibSurface expected(193, 24);
    expected.Fill(RGB(255, 255, 255));
    DrawFlatFrame(expected.dc(), RECT{0, 0, 193, 24}, clBtnFace, clWhite, true, true,
                  AllBorderSides, fbtSunken, TFlatFrameColors{});
    EXPECT_EQ(CheckArea(screen, RECT{30, 40, 223, 64},
                        [&](int x, int y) { return expected.Pixel(x, y); }),
              "");
}

TEST_F(FlatPanelFixture, EnablingFollowsThePanelInEveryDirectChild) {
    TFlatPanel* panel = PlainPanel(0, 0, 200, 100, clWhite);
    auto* windowed = TComponent::Create<TFlatPanel>(panel);
    windowed->SetParent(panel);
    windowed->SetBounds(5, 5, 50, 50);
    auto* windowless = TComponent::Create<Swatch>(panel, RGB(255, 0, 0));
    windowless->SetParent(panel);
    auto* disabledBefore = TComponent::Create<Swatch>(panel, RGB(255, 0, 0));
    disabledBefore->SetParent(panel);
    disabledBefore->SetEnabled(false);
    auto* grandchild = TComponent::Create<Swatch>(windowed, RGB(255, 0, 0));
    grandchild->SetParent(windowed);
    Show();

    panel->SetEnabled(false);
    for (TControl* c : {static_cast<TControl*>(windowed), static_cast<TControl*>(windowless),
                        static_cast<TControl*>(disabledBefore)})
        EXPECT_FALSE(c->Enabled());
    EXPECT_FALSE(IsWindowEnabled(windowed->Handle()));
    EXPECT_FALSE(grandchild->Enabled()) << "the disabled child passes it on to its own";

    panel->SetEnabled(true);
    for (TControl* c : {static_cast<TControl*>(windowed), static_cast<TControl*>(windowless),
                        static_cast<TControl*>(disabledBefore)})
        EXPECT_TRUE(c->Enabled());
    EXPECT_TRUE(IsWindowEnabled(windowed->Handle()));
}

TEST_F(FlatPanelFixture, CreationStyleFollowsTransparencyAndTheme) {
    TFlatPanel* panel = PlainPanel(0, 0, 100, 50, clWhite);
    Show();
    EXPECT_TRUE(panel->ControlStyle() & csOpaque);
    struct Case {
        bool Transparent;
        TThemeMode Mode;
    };
    for (const Case& k : {Case{true, ttmNone}, Case{true, ttmPlatform}, Case{false, ttmNone},
                          Case{false, ttmPlatform}}) {
        panel->SetThemeMode(k.Mode);
        panel->SetTransparent(k.Transparent);
        const bool themed = k.Mode != ttmNone && PlatformThemesActive();
        const bool exTransparent =
            GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT;
        EXPECT_EQ(exTransparent, k.Transparent && !themed)
            << "transparent " << k.Transparent << " mode " << int(k.Mode);
        EXPECT_EQ(bool(panel->ControlStyle() & csOpaque), !k.Transparent);
    }

    // These settings take effect only in a new window.
    const std::function<void()> recreating[] = {
        [&] { panel->SetTransparent(!panel->Transparent()); },
        [&] { panel->SetBorderStyle(bsSingle); },
        [&] { panel->SetBorderSides(ebsLeft | ebsTop); },
    };
    for (const auto& change : recreating) {
        HWND before = panel->Handle();
        change();
        EXPECT_NE(panel->Handle(), before);
        EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    }

    // The platform's theme change re-creates a themed window, once its message is done.
    panel->SetThemeMode(ttmPlatform);
    HWND before = panel->Handle();
    SendMessageW(before, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(panel->Handle(), before);
    PumpFor(30);
    EXPECT_EQ(panel->Handle() != before, PlatformThemesActive());

    // UseXPThemes is the ttmPlatform mode seen as a Boolean.
    panel->SetThemeMode(ttmNative);
    EXPECT_FALSE(panel->UseXPThemes());
    panel->SetUseXPThemes(true);
    EXPECT_EQ(panel->ThemeMode(), ttmPlatform);
    panel->SetUseXPThemes(false);
    EXPECT_EQ(panel->ThemeMode(), ttmNone);
    EXPECT_FALSE(panel->Themed());
}

TEST_F(FlatPanelFixture, CaptionFollowsLayoutAndAlignment) {
    struct Case {
        TAlignment Alignment;
        TTextLayout Layout;
    };
    const int w = 200, h = 100, slack = 4;
    TFlatPanel* panel = PlainPanel(10, 10, w, h, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetCaption(u"Wg Wg");
    Show();
    for (const Case& k :
         {Case{taLeftJustify, tlTop}, Case{taCenter, tlCenter}, Case{taRightJustify, tlBottom}}) {
        panel->SetAlignment(k.Alignment);
        panel->SetLayout(k.Layout);
        PumpFor(30);
        Capture();
        const RECT ink = InkBox(screen, RECT{10, 10, 10 + w, 10 + h}, RGB(255, 255, 255));
        SCOPED_TRACE("alignment " + std::to_string(k.Alignment) + " layout " +
                     std::to_string(k.Layout) + " ink " + Str(ink));
        ASSERT_LT(ink.left, ink.right);
        const int cx = (ink.left + ink.right) / 2 - 10, cy = (ink.top + ink.bottom) / 2 - 10;
        switch (k.Alignment) {
        case taLeftJustify:
            EXPECT_LE(ink.left - 10, slack);
            break;
        case taCenter:
            EXPECT_NEAR(cx, w / 2, slack);
            break;
        case taRightJustify:
            EXPECT_GE(ink.right - 10, w - slack);
            break;
        }
        switch (k.Layout) {
        case tlTop:
            EXPECT_LE(ink.top - 10, slack);
            break;
        case tlCenter:
            EXPECT_NEAR(cy, h / 2, slack);
            break;
        case tlBottom:
            EXPECT_GE(ink.bottom - 10, h - slack);
            break;
        }
    }
}

TEST_F(FlatPanelFixture, WrappedCaptionIsMeasuredInTheRectangleItIsDrawnIn) {
    // A bevel 20 pixels wide leaves a working rectangle of 120 x 40 in a 160 x 80 panel. The
    // caption is wider than that rectangle but not than the panel, so it wraps to two lines.
    const int w = 160, h = 80, bevel = 20;
    TFlatPanel* panel = PlainPanel(10, 10, w, h, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetBevelOuter(bvSpace);
    panel->SetBevelSpaceColor(clWhite);
    panel->SetBevelWidth(bevel);
    panel->SetWordWrap(true);
    std::u16string caption = u"Wg";
    SIZE line{};
    {
        WindowDC screenDc(nullptr);
        ScopedSelect font(screenDc.get(), panel->Font().Handle());
        for (;;) {
            GetTextExtentPoint32W(screenDc.get(), AsWide(caption), int(caption.size()), &line);
            if (line.cx > w - 2 * bevel) break;
            caption += u" Wg";
        }
    }
    ASSERT_LT(line.cx, w);
    panel->SetCaption(caption);
    Show();
    const RECT working{10 + bevel, 10 + bevel, 10 + w - bevel, 10 + h - bevel};
    for (TTextLayout layout : {tlCenter, tlBottom}) {
        panel->SetLayout(layout);
        PumpFor(30);
        Capture();
        const RECT ink = InkBox(screen, RECT{10, 10, 10 + w, 10 + h}, RGB(255, 255, 255));
        SCOPED_TRACE("layout " + std::to_string(layout) + " ink " + Str(ink));
        EXPECT_GT(ink.bottom - ink.top, line.cy) << "two lines";
        EXPECT_GE(ink.top, working.top);
        EXPECT_LE(ink.bottom, working.bottom) << "nothing over the bottom bevel";
        if (layout == tlCenter) {
            EXPECT_NEAR((ink.top + ink.bottom) / 2, (working.top + working.bottom) / 2, 3);
        }
    }
}

TEST_F(FlatPanelFixture, OwnerDrawPaintsThroughOnPaintInsteadOfTheCaption) {
    TFlatPanel* panel = PlainPanel(10, 10, 100, 50, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetCaption(u"WWWWWW");
    panel->SetOwnerDraw(true);
    int paints = 0;
    panel->OnPaint = [&](TObject* sender) {
        ++paints;
        ASSERT_EQ(sender, panel);
        ASSERT_NE(panel->Canvas(), nullptr);
        panel->Canvas()->FillRect(RECT{20, 10, 30, 20}, TColor(RGB(255, 0, 0)));
    };
    Show();
    Capture();
    EXPECT_GT(paints, 0);
    EXPECT_EQ(panel->Canvas(), nullptr);
    const RECT red{20, 10, 30, 20};
    EXPECT_EQ(
        CheckArea(screen, RECT{10, 10, 110, 60},
                  [&](int x, int y) {
                      return PtInRect(&red, POINT{x, y}) ? RGB(255, 0, 0) : RGB(255, 255, 255);
                  }),
        "");
}

TEST_F(FlatPanelFixture, GradientBackgroundRunsInStepsFromStartToEndColour) {
    TFlatPanel* panel = PlainPanel(10, 10, 100, 20, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetBackgroundType(bgtHorzGradient);
    panel->SetGradientStartColor(RGB(255, 0, 0));
    panel->SetGradientEndColor(RGB(0, 0, 255));
    panel->SetGradientSteps(4);
    Show();
    Capture();
    // Four bands of 25 pixels: red, two blends, blue.
    const COLORREF bands[] = {RGB(255, 0, 0), RGB(170, 0, 85), RGB(85, 0, 170), RGB(0, 0, 255)};
    EXPECT_EQ(CheckArea(screen, RECT{10, 10, 110, 30}, [&](int x, int) { return bands[x / 25]; }),
              "");
}

TEST_F(FlatPanelFixture, ResizableAndMovablePanelsLetThePlatformSizeAndMoveThem) {
    TFlatPanel* panel = PlainPanel(50, 50, 100, 80, clWhite);
    Show();
    auto hitAt = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(panel->Handle(), &p);
        return SendMessageW(panel->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hitAt(1, 40), HTCLIENT);
    panel->SetResizable(true);
    EXPECT_EQ(hitAt(1, 40), HTLEFT);
    EXPECT_EQ(hitAt(99, 79), HTBOTTOMRIGHT);
    EXPECT_EQ(hitAt(50, 40), HTCLIENT);
    panel->SetMovable(true);
    EXPECT_EQ(hitAt(50, 40), HTCAPTION);

    // Bounds the platform gives the window become the control's, and OnMove runs.
    int moves = 0;
    panel->OnMove = [&](TObject*) { ++moves; };
    auto* child = TComponent::Create<Swatch>(panel, RGB(255, 0, 0));
    child->SetParent(panel);
    child->SetAlign(alClient);
    SetWindowPos(panel->Handle(), nullptr, 70, 60, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Str(panel->BoundsRect()), Str(RECT{70, 60, 190, 150}));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(Str(child->BoundsRect()), Str(RECT{0, 0, 120, 90})); // the new child area
}

TEST_F(FlatPanelFixture, RepeatedPaintsLeaveNoGdiObjectBehind) {
    TFlatPanel* panel = PlainPanel(10, 10, 200, 100, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetCaption(u"Caption");
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderStyle(bsSingle);
    panel->SetBorderType(fbtSunken);
    panel->SetResizable(true);
    panel->SetSizeGrip(true);
    TFlatPanel* themed = PlainPanel(10, 120, 200, 100, clWhite);
    themed->SetBevelOuter(bvRaised);
    themed->SetTransparentXPThemes(true);
    // Every background kind, the alpha-blended variant and the shared image.
    TComponent imageOwner(nullptr);
    auto* image = TComponent::Create<TImageForm>(&imageOwner);
    ASSERT_TRUE(image->Picture().LoadFromData(SixColourPicture()));
    std::vector<TFlatPanel*> kinds;
    for (int kind = bgtColorFill; kind <= bgtEllipticGradient; ++kind) {
        TFlatPanel* p = PlainPanel(220 + 25 * (kind % 4), 10 + 25 * (kind / 4), 20, 20, clWhite);
        p->SetThemeMode(ttmNone);
        p->SetBackgroundType(TBackgroundType(kind));
        ASSERT_TRUE(p->Background().LoadFromData(SixColourPicture()));
        kinds.push_back(p);
    }
    kinds[1]->SetTransparent(true);
    kinds[1]->SetAlphaLevel(100);
    kinds[2]->SetImageForm(image);
    Show();
    auto paintBoth = [&] {
        std::vector<TFlatPanel*> all = kinds;
        all.push_back(panel);
        all.push_back(themed);
        for (TFlatPanel* p : all)
            RedrawWindow(p->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    };
    paintBoth(); // fonts and theme data made on first use
    const int before = CountGdiObjects();
    for (int i = 0; i < 50; ++i)
        paintBoth();
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(FlatPanelFixture, VisibleEnabledGrabHandlesNarrowTheChildArea) {
    TFlatPanel* panel = PlainPanel(10, 10, 100, 60, clWhite);
    panel->SetThemeMode(ttmNone);
    panel->SetBorderWidth(2);
    auto* child = TComponent::Create<Swatch>(panel, RGB(255, 0, 0));
    child->SetParent(panel);
    child->SetAlign(alClient);
    panel->LeftGrabHandle().SetSize(8);
    panel->BottomGrabHandle().SetSize(5);
    EXPECT_EQ(Str(child->BoundsRect()), Str(RECT{2, 2, 98, 58})) << "handles invisible";
    panel->LeftGrabHandle().SetVisible(true);
    panel->BottomGrabHandle().SetVisible(true);
    EXPECT_EQ(Str(child->BoundsRect()), Str(RECT{10, 2, 98, 53}));
    panel->BottomGrabHandle().SetEnabled(false);
    EXPECT_EQ(Str(child->BoundsRect()), Str(RECT{10, 2, 98, 58})) << "bottom handle disabled";
}

TEST_F(FlatPanelFixture, PointerEnterAndLeaveSetTheFlagAndRunTheEvents) {
    TFlatPanel* panel = PlainPanel(10, 10, 100, 60, clWhite);
    int enters = 0, leaves = 0;
    panel->OnMouseEnter = [&](TObject*) { ++enters; };
    panel->OnMouseLeave = [&](TObject*) { ++leaves; };
    Show();
    HWND wnd = panel->Handle();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_TRUE(panel->MouseInControl());
    EXPECT_EQ(enters, 1);
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(panel->MouseInControl());
    EXPECT_EQ(leaves, 1);
    PumpFor(30); // a leave the platform posted itself changes nothing more
    EXPECT_EQ(leaves, 1);
}

TEST_F(FlatPanelFixture, TransparentPanelShowsItsParentPanelBeneathIt) {
    TFlatPanel* parent = PlainPanel(10, 10, 200, 40, clWhite);
    parent->SetThemeMode(ttmNone);
    parent->SetBackgroundType(bgtHorzGradient);
    parent->SetGradientStartColor(RGB(255, 0, 0));
    parent->SetGradientEndColor(RGB(0, 0, 255));
    parent->SetGradientSteps(4);
    auto* glass = TComponent::Create<TFlatPanel>(parent);
    glass->SetParent(parent);
    glass->SetBounds(40, 5, 120, 30);
    glass->SetThemeMode(ttmNone);
    glass->SetBevelOuter(bvNone);
    glass->SetTransparent(true);
    Show();
    Capture();
    // Bands of 50 pixels in the parent; the glass starts 40 pixels in.
    const COLORREF bands[] = {RGB(255, 0, 0), RGB(170, 0, 85), RGB(85, 0, 170), RGB(0, 0, 255)};
    EXPECT_EQ(
        CheckArea(screen, RECT{50, 15, 170, 45}, [&](int x, int) { return bands[(x + 40) / 50]; }),
        "");
}

TEST_F(FlatPanelFixture, PictureKindsPlaceTheBackgroundPicture) {
    const int w = 60, h = 30;
    auto inPicture = [](int x, int y) { return x >= 0 && x < 3 && y >= 0 && y < 2; };
    auto placed = [&](int ox, int oy) {
        return [=](int x, int y) {
            return inPicture(x - ox, y - oy) ? PicturePixel(x - ox, y - oy) : kGray;
        };
    };
    struct Case {
        TBackgroundType Type;
        std::function<COLORREF(int, int)> Expected;
    };
    const Case cases[] = {
        {bgtTopLeftBitmap, placed(0, 0)},
        {bgtCenterBitmap, placed((w - 3) / 2, (h - 2) / 2)},
        {bgtTileBitmap, [](int x, int y) { return PicturePixel(x % 3, y % 2); }},
    };
    TFlatPanel* panel = PlainPanel(10, 10, w, h, kGray);
    panel->SetThemeMode(ttmNone);
    ASSERT_TRUE(panel->Background().LoadFromData(SixColourPicture()));
    Show();
    for (const Case& k : cases)
        EXPECT_EQ(PaintKind(panel, k.Type, RECT{10, 10, 10 + w, 10 + h}, k.Expected), "")
            << "kind " << int(k.Type);

    // Stretched (smoothed as the platform scales) over the whole panel, of a size that is no
    // multiple of the picture's: each corner shows the picture's corner.
    panel->SetBounds(10, 10, w + 1, h + 1);
    panel->SetBackgroundType(bgtStretchBitmap);
    PumpFor(30);
    Capture();
    const POINT corners[] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    for (POINT c : corners) {
        const COLORREF want = PicturePixel(c.x ? 2 : 0, c.y ? 1 : 0);
        EXPECT_TRUE(Near(screen.Pixel(10 + c.x, 10 + c.y), want, 24))
            << "corner " << c.x << "," << c.y << ": " << std::hex
            << screen.Pixel(10 + c.x, 10 + c.y);
    }

    // Loading another picture repaints.
    ASSERT_TRUE(panel->Background().LoadFromData(SolidPng(1, 1, RGB(0, 200, 0))));
    PumpFor(30);
    Capture();
    EXPECT_EQ(screen.Pixel(40, 25), RGB(0, 200, 0));
}

TEST_F(FlatPanelFixture, TransparentPicturePixelsAndAMissingPictureShowTheColour) {
    const COLORREF color = RGB(0, 0, 200);
    TFlatPanel* panel = PlainPanel(10, 10, 20, 10, color);
    panel->SetThemeMode(ttmNone);
    // Opaque red, fully transparent, half-transparent green.
    ASSERT_TRUE(panel->Background().LoadFromData(PngFile(3, 1, [](int x, int) {
        const std::uint32_t pixels[] = {0xFFFF0000, 0x00000000, 0x8000FF00};
        return pixels[x];
    })));
    const COLORREF half = RGB(0, 128, 100);
    Show();
    for (TBackgroundType type : {bgtTileBitmap, bgtTopLeftBitmap}) {
        auto expected = [&](int x, int y) {
            if (type == bgtTopLeftBitmap && (x >= 3 || y >= 1)) return color;
            const COLORREF row[] = {RGB(255, 0, 0), color, half};
            return row[x % 3];
        };
        EXPECT_EQ(PaintKind(panel, type, RECT{10, 10, 30, 20}, expected, 2), "")
            << "kind " << int(type);
    }
    // Without a picture, the kinds that erase nothing still show the colour, never garbage.
    panel->Background().Clear();
    for (TBackgroundType type : {bgtTileBitmap, bgtStretchBitmap})
        EXPECT_EQ(PaintKind(panel, type, RECT{10, 10, 30, 20}, [&](int, int) { return color; }), "")
            << "kind " << int(type);
}

TEST_F(FlatPanelFixture, GradientKindsRunFromStartToEndColourInTheirBands) {
    // Four steps from red to blue: red, two blends, blue.
    const COLORREF bands[] = {RGB(255, 0, 0), RGB(170, 0, 85), RGB(85, 0, 170), RGB(0, 0, 255)};
    const COLORREF color = RGB(0, 160, 0);
    const int w = 80, h = 40;
    // Concentric rectangles: band i spans x 10 i .. 80 - 10 i and y 5 i .. 40 - 5 i.
    auto squareBand = [&](int x, int y) {
        int band = 0;
        for (int i = 1; i < 4; ++i)
            if (x >= 10 * i && x < w - 10 * i && y >= 5 * i && y < h - 5 * i) band = i;
        return bands[band];
    };
    TFlatPanel* panel = PlainPanel(10, 10, w, h, color);
    panel->SetThemeMode(ttmNone);
    panel->SetGradientStartColor(RGB(255, 0, 0));
    panel->SetGradientEndColor(RGB(0, 0, 255));
    panel->SetGradientSteps(4);
    Show();
    struct Case {
        TBackgroundType Type;
        std::function<COLORREF(int, int)> Expected;
    };
    const Case cases[] = {
        {bgtHorzGradient, [&](int x, int) { return bands[x / 20]; }},
        {bgtVertGradient, [&](int, int y) { return bands[y / 10]; }},
        {bgtSquareGradient, squareBand},
    };
    for (const Case& k : cases)
        EXPECT_EQ(PaintKind(panel, k.Type, RECT{10, 10, 10 + w, 10 + h}, k.Expected), "")
            << "kind " << int(k.Type);

    // Concentric ellipses inscribed in the same bands; the corners keep the colour.
    panel->SetBackgroundType(bgtEllipticGradient);
    PumpFor(30);
    Capture();
    struct Sample {
        POINT At;
        COLORREF Expected;
    };
    const Sample samples[] = {{{0, 0}, color},      {{w - 1, h - 1}, color},
                              {{0, 20}, bands[0]},  {{w - 1, 20}, bands[0]},
                              {{40, 0}, bands[0]},  {{40, h - 1}, bands[0]},
                              {{12, 20}, bands[1]}, {{40, 8}, bands[1]},
                              {{22, 20}, bands[2]}, {{40, 20}, bands[3]}};
    for (const Sample& p : samples)
        EXPECT_EQ(screen.Pixel(10 + p.At.x, 10 + p.At.y), p.Expected)
            << "elliptic at " << p.At.x << "," << p.At.y;
}

TEST_F(FlatPanelFixture, EraseFillsTheColourExceptUnderKindsThatCoverEveryPixel) {
    const COLORREF color = RGB(0, 160, 0), untouched = RGB(255, 0, 255);
    TFlatPanel* panel = PlainPanel(10, 10, 20, 10, color);
    panel->SetThemeMode(ttmNone);
    Show();
    struct Case {
        TBackgroundType Type;
        bool Erased;
    };
    const Case cases[] = {
        {bgtColorFill, true},     {bgtCenterBitmap, true},   {bgtTopLeftBitmap, true},
        {bgtTileBitmap, false},   {bgtStretchBitmap, false}, {bgtHorzGradient, false},
        {bgtVertGradient, false}, {bgtSquareGradient, true}, {bgtEllipticGradient, true},
    };
    DibSurface dib(20, 10);
    for (const Case& k : cases) {
        panel->SetBackgroundType(k.Type);
        dib.Fill(untouched);
        EXPECT_EQ(SendMessageW(panel->Handle(), WM_ERASEBKGND, WPARAM(dib.dc()), 0), 1);
        EXPECT_EQ(dib.Pixel(5, 5), k.Erased ? color : untouched) << "kind " << int(k.Type);
    }
}

TEST_F(FlatPanelFixture, AlphaLevelLaysATransparentPanelsBackgroundOverItsParent) {
    // The stage beneath is green; the panel is red, or a red-to-blue gradient of two bands.
    struct Case {
        bool Transparent;
        std::uint8_t Alpha;
        TBackgroundType Type;
        COLORREF Left, Right;
    };
    const Case cases[] = {
        {true, 0, bgtColorFill, kFormColor, kFormColor},
        {true, 128, bgtColorFill, RGB(128, 127, 0), RGB(128, 127, 0)},
        {true, 255, bgtColorFill, RGB(255, 0, 0), RGB(255, 0, 0)},
        {false, 128, bgtColorFill, RGB(255, 0, 0), RGB(255, 0, 0)}, // opaque: no blending
        {true, 64, bgtHorzGradient, RGB(64, 191, 0), RGB(0, 191, 64)},
    };
    TFlatPanel* panel = PlainPanel(10, 10, 40, 20, RGB(255, 0, 0));
    panel->SetThemeMode(ttmNone);
    panel->SetGradientStartColor(RGB(255, 0, 0));
    panel->SetGradientEndColor(RGB(0, 0, 255));
    panel->SetGradientSteps(2);
    Show();
    for (const Case& k : cases) {
        panel->SetTransparent(k.Transparent);
        panel->SetAlphaLevel(k.Alpha);
        panel->SetBackgroundType(k.Type);
        PumpFor(30);
        Capture();
        EXPECT_EQ(CheckArea(
                      screen, RECT{10, 10, 50, 30},
                      [&](int x, int) { return x < 20 ? k.Left : k.Right; }, 2),
                  "")
            << "transparent " << k.Transparent << " alpha " << int(k.Alpha) << " kind "
            << int(k.Type);
    }
}

TEST_F(FlatPanelFixture, ImageFormIsOnePictureAcrossItsPanels) {
    TComponent owner(nullptr);
    auto* image = TComponent::Create<TImageForm>(&owner);
    ASSERT_TRUE(image->Picture().LoadFromData(SixColourPicture()));
    TFlatPanel* first = PlainPanel(10, 10, 40, 20, kGray);
    TComponent secondOwner(nullptr); // to destroy the second panel before the stage
    auto* second = TComponent::Create<TFlatPanel>(&secondOwner);
    second->SetParent(stage);
    second->SetBounds(61, 35, 30, 15);
    auto* nested = TComponent::Create<TFlatPanel>(second); // inside another panel
    nested->SetParent(second);
    nested->SetBounds(4, 3, 10, 8);
    for (TFlatPanel* p : {first, second, nested}) {
        p->SetThemeMode(ttmNone);
        p->SetBevelOuter(bvNone);
        p->SetImageForm(image);
    }
    Show();
    Capture();
    // Every pixel of each panel shows the picture tiled from the form's client origin.
    auto tiled = [&](RECT r) {
        return CheckArea(screen, r, [&](int x, int y) {
            return PicturePixel((r.left + x) % 3, (r.top + y) % 2);
        });
    };
    EXPECT_EQ(tiled(RECT{10, 10, 50, 30}), "");
    EXPECT_EQ(tiled(RECT{61, 35, 91, 50}), "");

    // A new picture repaints every linked panel.
    ASSERT_TRUE(image->Picture().LoadFromData(SolidPng(2, 2, RGB(0, 90, 0))));
    PumpFor(30);
    Capture();
    EXPECT_EQ(screen.Pixel(20, 20), RGB(0, 90, 0));
    EXPECT_EQ(screen.Pixel(70, 40), RGB(0, 90, 0));

    // A panel that goes leaves the image form; an image form that goes leaves its panels
    // with their own background.
    secondOwner.DestroyComponents();
    image->Picture().Clear();
    ASSERT_TRUE(image->Picture().LoadFromData(SolidPng(1, 1, RGB(0, 0, 90))));
    owner.DestroyComponents();
    EXPECT_EQ(first->ImageForm(), nullptr);
    PumpFor(30);
    Capture();
    EXPECT_EQ(screen.Pixel(20, 20), kGray);
}

TEST_F(FlatPanelFixture, LoadedRepaintsOwnerDrawnPanelsAndTheChildrenOfTransparentOnes) {
    TFlatPanel* plain = PlainPanel(10, 10, 50, 30, clWhite);
    TFlatPanel* ownerDrawn = PlainPanel(70, 10, 50, 30, clWhite);
    ownerDrawn->SetOwnerDraw(true);
    TFlatPanel* glass = PlainPanel(130, 10, 50, 30, clWhite);
    glass->SetThemeMode(ttmNone);
    glass->SetTransparent(true);
    auto* child = TComponent::Create<TFlatPanel>(glass);
    child->SetParent(glass);
    child->SetBounds(5, 5, 20, 20);
    Show();
    auto pending = [](TWinControl* c) { return bool(GetUpdateRect(c->Handle(), nullptr, FALSE)); };
    for (TWinControl* c : std::initializer_list<TWinControl*>{plain, ownerDrawn, glass, child})
        UpdateWindow(c->Handle());
    for (TFlatPanel* p : {plain, ownerDrawn, glass})
        p->Loaded();
    EXPECT_FALSE(pending(plain));
    EXPECT_TRUE(pending(ownerDrawn));
    EXPECT_TRUE(pending(child));
}

namespace {

// A form built by a layout function, as the program's window is.
class LayoutForm : public TForm {
  public:
    explicit LayoutForm(TComponent* owner) : TForm(owner) {
        Panel = TComponent::Create<TFlatPanel>(this);
        Panel->SetParent(this);
        DoCreate();
    }
    TFlatPanel* Panel;
};

} // namespace

// The form's layout runs the panel's after-loading steps: the panel takes the style of the
// manager it was linked to.
TEST_F(FlatPanelFixture, FormLayoutRunsThePanelsAfterLoadingSteps) {
    TComponent managers(nullptr);
    auto* manager = TComponent::Create<TStyleManager>(&managers);
    manager->SetStyle(tsOffice2010Black);
    manager->SetApplicationDefault(true);
    TComponent forms(nullptr);
    auto* built = TComponent::Create<LayoutForm>(&forms);
    EXPECT_EQ(built->Panel->GetComponentStyle(), tsOffice2010Black);
}

TEST_F(FlatPanelFixture, StyleManagerLinkAppliesItsStyleAndFollowsBothLifetimes) {
    EXPECT_EQ(PlainPanel(0, 0, 10, 10, clWhite)->StyleManager(), nullptr) << "no default yet";

    TComponent managers(nullptr);
    auto* manager = TComponent::Create<TStyleManager>(&managers);
    manager->SetStyle(tsOffice2010Black);
    manager->SetApplicationDefault(true);
    TFlatPanel* linked = PlainPanel(0, 0, 10, 10, clWhite);
    TComponent panels(nullptr); // to destroy one panel before the manager
    auto* passing = TComponent::Create<TFlatPanel>(&panels);
    EXPECT_EQ(linked->StyleManager(), manager);
    EXPECT_EQ(manager->LinkCount(), 2u);
    // Linked at construction, styled after loading.
    EXPECT_EQ(linked->GetComponentStyle(), tsOffice2003Blue);
    linked->Loaded();
    EXPECT_EQ(linked->GetComponentStyle(), tsOffice2010Black);
    // A new style reaches every linked panel.
    manager->SetStyle(tsWindows10);
    EXPECT_EQ(linked->GetComponentStyle(), tsWindows10);
    EXPECT_EQ(passing->GetComponentStyle(), tsWindows10);

    // A panel that goes leaves the manager; one unlinked keeps its style.
    panels.DestroyComponents();
    EXPECT_EQ(manager->LinkCount(), 1u);
    linked->SetStyleManager(nullptr);
    manager->SetStyle(tsTerminal);
    EXPECT_EQ(linked->GetComponentStyle(), tsWindows10);
    // Linking by hand applies at once.
    linked->SetStyleManager(manager);
    EXPECT_EQ(linked->GetComponentStyle(), tsTerminal);

    // A manager that goes empties the links and is no default any more.
    managers.DestroyComponents();
    EXPECT_EQ(linked->StyleManager(), nullptr);
    EXPECT_EQ(TStyleManager::ApplicationDefault(), nullptr);
    linked->Loaded();
    EXPECT_EQ(linked->GetComponentStyle(), tsTerminal);
}
