// Paints the 445 x 417 busy indicator in the assistant window's configuration through its
// real paint path many times, and beside it a bare BitBlt of a bitmap of the same size (the
// floor of any double-buffered paint); prints the time per paint of each, their ratio and
// the share of one core that painting at the 10 ms tick takes. A program, not a test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "marquee/win32/BusyMarquee.h"

namespace {

constexpr int kW = 445;
constexpr int kH = 417;

double Seconds() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(freq.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int paints = argc > 1 ? _wtoi(argv[1]) : 10000;
    ScopedGdiPlus gdiplus;
    TComponent root(nullptr);
    auto* form = TComponent::Create<TForm>(&root);
    form->SetBorderStyle(bsNone);
    form->SetColor(clWhite);
    form->SetClientSize(kW, kH);
    auto* marquee = TComponent::Create<TBusyMarquee>(form);
    marquee->SetParent(form);
    marquee->SetAlign(alClient);
    marquee->SetAnimate(false);
    TGPFill& fill = marquee->Fill();
    fill.SetColor(0xFFFFFF);
    fill.SetGradientType(gtSolid);
    fill.SetGradientMirrorType(gtSolid);
    fill.SetBorderColor(0xFFFFFF);
    marquee->Bullets().SetColor(clBlack);
    form->Show();
    HWND wnd = marquee->Handle();
    UpdateWindow(wnd);

    // The indicator: a tick's step, then the repaint it requests.
    double start = Seconds();
    for (int i = 0; i < paints; ++i) {
        marquee->Step(10.0f / 3);
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
    }
    GdiFlush();
    const double paint = (Seconds() - start) / paints;

    // Where the time goes: the same paint into a given DC (parent background, fill and
    // bullets, no buffer, no copy), and the fill alone on a GDI+ surface.
    HDC screenDc = GetDC(nullptr);
    HDC dibDc = CreateCompatibleDC(screenDc);
    HBITMAP dibBmp = CreateCompatibleBitmap(screenDc, kW, kH);
    ReleaseDC(nullptr, screenDc);
    HGDIOBJ dibOld = SelectObject(dibDc, dibBmp);
    start = Seconds();
    for (int i = 0; i < paints; ++i)
        SendMessageW(wnd, WM_PAINT, WPARAM(dibDc), 0);
    GdiFlush();
    const double direct = (Seconds() - start) / paints;
    start = Seconds();
    for (int i = 0; i < paints; ++i) {
        TCanvas canvas(dibDc);
        marquee->Paint(canvas);
    }
    GdiFlush();
    const double paintOnly = (Seconds() - start) / paints;
    start = Seconds();
    for (int i = 0; i < paints; ++i) {
        Gdiplus::Graphics g(dibDc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        fill.Fill(&g, {0, 0, kW - 1, kH - 1});
    }
    GdiFlush();
    const double fillOnly = (Seconds() - start) / paints;
    SelectObject(dibDc, dibOld);
    DeleteObject(dibBmp);
    DeleteDC(dibDc);

    // The platform's paint cycle alone: the same invalidate and update of the parent form,
    // which only erases (its child is hidden meanwhile).
    marquee->SetVisible(false);
    HWND formWnd = form->Handle();
    UpdateWindow(formWnd);
    start = Seconds();
    for (int i = 0; i < paints; ++i) {
        InvalidateRect(formWnd, nullptr, TRUE);
        UpdateWindow(formWnd);
    }
    GdiFlush();
    const double cycle = (Seconds() - start) / paints;
    marquee->SetVisible(true);
    UpdateWindow(wnd);

    // The floor: one block copy of a bitmap of the same size to the same window.
    HDC dc = GetDC(wnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, kW, kH);
    HGDIOBJ old = SelectObject(mem, bmp);
    start = Seconds();
    for (int i = 0; i < paints; ++i)
        BitBlt(dc, 0, 0, kW, kH, mem, 0, 0, SRCCOPY);
    GdiFlush();
    const double blit = (Seconds() - start) / paints;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(wnd, dc);

    std::printf("busy indicator paint %dx%d, %d paints\n", kW, kH, paints);
    std::printf("  paint (real path)   %8.3f ms   target <= 1 ms\n", paint * 1e3);
    std::printf("    of which into a given DC %8.3f ms (no buffer, no copy)\n", direct * 1e3);
    std::printf("    of which Paint (fill and bullets) %8.3f ms\n", paintOnly * 1e3);
    std::printf("    of which the fill alone  %8.3f ms\n", fillOnly * 1e3);
    std::printf("  erase-only paint cycle of a plain window %8.3f ms\n", cycle * 1e3);
    std::printf("  bare BitBlt (floor) %8.3f ms\n", blit * 1e3);
    std::printf("  ratio paint / BitBlt %7.1f\n", paint / blit);
    std::printf("  share of one core at a 10 ms tick %5.1f %%   target < 15 %%\n",
                paint / 0.010 * 100);
    return 0;
}
