// Every frame the busy indicator shows in its window is, pixel for pixel, the frame it paints
// afresh into a given DC, after each kind of change that may alter what a frame holds: steps,
// bullet and fill settings (also changed quietly), the style preset, transparency, the
// parent's colour, background and windowless children, the grandparent under a transparent
// parent, a move, a resize, hiding and showing, a re-created window and a system colour.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flatctl/win32/FlatPanel.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/StdCtrls.h"
#include "marquee/tests/MarqueeFixture.h"

namespace {

constexpr COLORREF kUnpainted = RGB(255, 0, 255);

// The assistant's arrangement with more to show: the indicator (transparent or not) on a
// flat panel, a windowless label beneath it in the panel, and the panel on a form.
struct PanelArrangement {
    PanelArrangement() {
        panel = TComponent::Create<TFlatPanel>(f.form);
        panel->SetParent(f.form);
        panel->SetThemeMode(ttmNone);
        panel->SetBounds(4, 4, f.kW + 12, f.kH + 12);
        panel->SetColor(RGB(230, 230, 250));
        label = TComponent::Create<TLabel>(f.form);
        label->SetParent(panel);
        label->SetBounds(120, 190, 200, 40);
        label->SetCaption(u"beneath the row");
        f.marquee->SetParent(panel);
        f.marquee->SetBounds(6, 6, f.kW, f.kH);
        f.form->Show();
        UpdateWindow(f.form->Handle());
    }

    MarqueeFixture f;
    TFlatPanel* panel = nullptr;
    TLabel* label = nullptr;
};

// What the window shows of its client area, read back without asking it to paint.
void ReadClient(HWND wnd, DibSurface& target) {
    HDC dc = GetDC(wnd);
    BitBlt(target.dc(), 0, 0, target.width(), target.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
}

// The indicator's paint into a given DC, which paints everything afresh. The DC holds a
// bitmap of the screen's kind, as the window's own buffer does (GDI+ may draw anti-aliased
// edges on a DIB section a little differently).
void PaintFresh(TBusyMarquee& m, DibSurface& target) {
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), target.width(), target.height()));
    ScopedSelect select(memory.get(), bitmap.get());
    FillSolidRect(memory.get(), {0, 0, target.width(), target.height()}, kUnpainted);
    SendMessageW(m.Handle(), WM_PAINT, WPARAM(memory.get()), 0);
    BitBlt(target.dc(), 0, 0, target.width(), target.height(), memory.get(), 0, 0, SRCCOPY);
}

// The number of differing pixels, with the first of them described.
int CountDifferences(const DibSurface& a, const DibSurface& b, std::string& first) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const COLORREF pa = a.Pixel(x, y), pb = b.Pixel(x, y);
            if (pa == pb) continue;
            if (n++ == 0)
                first = "first at " + std::to_string(x) + "," + std::to_string(y) + ": shown " +
                        std::to_string(pa) + ", fresh " + std::to_string(pb);
        }
    return n;
}

// One step of the row, its repaint through the window (the indicator alone before its
// parents have painted, or the whole window with the parents first, as the message loop
// does), and the comparison with the frame painted afresh.
void ExpectFreshFrame(PanelArrangement& a, bool indicatorFirst) {
    TBusyMarquee& m = *a.f.marquee;
    m.Step(10.0f / 3);
    HWND wnd = m.Handle();
    UpdateWindow(indicatorFirst ? wnd : a.f.form->Handle());
    DibSurface shown(m.Width(), m.Height()), fresh(m.Width(), m.Height());
    ReadClient(wnd, shown);
    PaintFresh(m, fresh);
    std::string first;
    EXPECT_EQ(CountDifferences(shown, fresh, first), 0)
        << (indicatorFirst ? "indicator first; " : "parents first; ") << first;
}

// Sets a system colour for the test and puts the old one back.
class ScopedSysColor {
  public:
    ScopedSysColor(int index, COLORREF color) : index_(index), old_(GetSysColor(index)) {
        SetSysColors(1, &index_, &color);
    }
    ~ScopedSysColor() { SetSysColors(1, &index_, &old_); }

  private:
    int index_;
    COLORREF old_;
};

} // namespace

TEST(BusyMarqueeFrames, ShownFramesEqualFreshFramesAfterEveryChange) {
    PanelArrangement a;
    TBusyMarquee& m = *a.f.marquee;
    std::unique_ptr<ScopedSysColor> sysColor;
    const struct {
        const char* Name;
        std::function<void()> Change;
    } changes[] = {
        {"first frames", [] {}},
        {"a wrap of the position", [&] { m.SetPosition(260); }},
        {"bullet colour", [&] { m.Bullets().SetColor(RGB(200, 30, 30)); }},
        {"bullet shape, size and outline",
         [&] {
             m.Bullets().SetShape(bsTriangle);
             m.Bullets().SetHeight(16);
             m.Bullets().SetBorderColor(RGB(0, 0, 160));
         }},
        {"fill colour", [&] { m.Fill().SetColor(RGB(250, 240, 200)); }},
        {"fill gradient",
         [&] {
             m.Fill().SetGradientType(gtVertical);
             m.Fill().SetColorTo(RGB(120, 160, 220));
         }},
        {"fill changed under BeginUpdate, which tells nobody",
         [&] {
             m.Fill().BeginUpdate();
             m.Fill().SetColorTo(RGB(40, 140, 60));
             m.Fill().SetRounding(12);
             m.Fill().EndUpdate();
         }},
        {"fill copied from another fill",
         [&] {
             TGPFill other;
             SetWindowFill(other);
             other.SetColor(RGB(255, 255, 230));
             m.SetFill(other);
         }},
        {"style preset", [&] { m.SetComponentStyle(tsOffice2007Luna); }},
        {"transparent", [&] { m.SetTransparent(true); }},
        {"parent's colour", [&] { a.panel->SetColor(RGB(250, 200, 120)); }},
        {"parent's gradient",
         [&] {
             a.panel->SetGradientStartColor(RGB(255, 255, 255));
             a.panel->SetGradientEndColor(RGB(60, 120, 200));
             a.panel->SetBackgroundType(bgtVertGradient);
         }},
        {"a windowless control beneath the indicator",
         [&] { a.label->SetCaption(u"another text beneath"); }},
        {"moved within the parent", [&] { m.SetBounds(2, 9, m.Width(), m.Height()); }},
        {"resized smaller", [&] { m.SetBounds(2, 9, m.Width() - 45, m.Height() - 30); }},
        {"resized larger", [&] { m.SetBounds(6, 6, a.f.kW, a.f.kH); }},
        {"parent's gradient while the indicator is hidden",
         [&] {
             m.SetVisible(false);
             UpdateWindow(a.f.form->Handle());
             a.panel->SetGradientEndColor(RGB(200, 60, 60));
             UpdateWindow(a.f.form->Handle());
             m.SetVisible(true);
         }},
        {"parent's colour while the parent is hidden",
         [&] {
             a.panel->SetVisible(false);
             UpdateWindow(a.f.form->Handle());
             a.panel->SetBackgroundType(bgtColorFill);
             a.panel->SetColor(RGB(180, 250, 180));
             a.panel->SetVisible(true);
         }},
        {"transparent parent, its window re-created", [&] { a.panel->SetTransparent(true); }},
        {"grandparent's colour under the transparent parent",
         [&] { a.f.form->SetColor(RGB(90, 90, 160)); }},
        {"opaque fill again", [&] { m.SetTransparent(false); }},
        {"fill in a system colour", [&] { m.Fill().SetColor(clBtnFace); }},
        {"that system colour changed",
         [&] { sysColor = std::make_unique<ScopedSysColor>(COLOR_BTNFACE, RGB(10, 200, 220)); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.Name);
        c.Change();
        ExpectFreshFrame(a, true);
        ExpectFreshFrame(a, false);
    }
}
