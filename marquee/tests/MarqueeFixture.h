// A white form holding a busy indicator set up as in the assistant window (white fill with a
// white border, black bullets), GDI+ started for the test.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "marquee/win32/BusyMarquee.h"
#include "tests/support/WinTestSupport.h"

// Sets a fill up as the assistant window's layout does.
inline void SetWindowFill(TGPFill& f) {
    f.SetColor(0xFFFFFF);
    f.SetColorMirror(clNone);
    f.SetColorMirrorTo(clNone);
    f.SetGradientType(gtSolid);
    f.SetGradientMirrorType(gtSolid);
    f.SetBorderColor(0xFFFFFF);
    f.SetRounding(0);
    f.SetShadowOffset(0);
    f.SetGlow(gmNone);
}

class MarqueeFixture {
  public:
    static constexpr int kW = 445;
    static constexpr int kH = 417;

    explicit MarqueeFixture(TColor formColor = clWhite, GdiPlusStart start = GdiPlusStart::Now)
        : gdiplus(start) {
        form = TComponent::Create<TForm>(&root);
        form->SetBorderStyle(bsNone);
        form->SetColor(formColor);
        form->SetClientSize(kW + 20, kH + 20);
        marquee = TComponent::Create<TBusyMarquee>(form);
        marquee->SetParent(form);
        marquee->SetBounds(10, 10, kW, kH);
        marquee->SetAnimate(false);
        SetWindowFill(marquee->Fill());
        marquee->Bullets().SetColor(clBlack);
        form->Handle();
    }

    // Paints the indicator into a DIB through its paint message with a given DC.
    void PaintInto(DibSurface& dib) {
        dib.Fill(RGB(255, 0, 255));
        SendMessageW(marquee->Handle(), WM_PAINT, WPARAM(dib.dc()), 0);
    }

    ScopedGdiPlus gdiplus;
    TComponent root{nullptr};
    TForm* form = nullptr;
    TBusyMarquee* marquee = nullptr;
};
