// Paints the 445 x 417 busy indicator in the assistant window's configuration through its
// real paint path many times (a tick's step, then the repaint it requests), beside the
// platform's erase-only paint cycle of a plain window of the same size. The two take turns
// in rounds, so that other work on the machine weighs on both alike; prints the time per
// paint of each, their ratio and the share of one core that painting at the 10 ms tick
// takes, each beside its goal, then where the time goes. A program, not a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "marquee/win32/BusyMarquee.h"

namespace {

constexpr int kW = 445;
constexpr int kH = 417;
constexpr int kRounds = 10;
constexpr double kRatioGoal = 1.0;     // real path / erase-only cycle, at most
constexpr double kCoreShareGoal = 5.0; // per cent of one core at the 10 ms tick, under

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

// User and kernel time of this process so far. Under Wine the window system's share of the
// work runs in the Wine server and the X server, which this does not count.
double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// Seconds per run of `once`, over `count` runs.
double TimePer(int count, const std::function<void()>& once) {
    const double start = Seconds();
    for (int i = 0; i < count; ++i)
        once();
    GdiFlush();
    return (Seconds() - start) / count;
}

// A plain window of the platform's own: its class brush erases it, and nothing else paints.
HWND CreatePlainWindow(int x) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"LvBenchPlainWindow";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, x, 0, kW, kH, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int paints = std::max(kRounds, argc > 1 ? _wtoi(argv[1]) : 10000);
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
    HWND plain = CreatePlainWindow(kW + 40);
    UpdateWindow(plain);

    // The indicator at each tick: the step, then the repaint it requested. The reference:
    // the plain window invalidated and updated, which only erases.
    const auto tick = [&] {
        marquee->Step(10.0f / 3);
        UpdateWindow(wnd);
    };
    const auto eraseCycle = [&] {
        InvalidateRect(plain, nullptr, TRUE);
        UpdateWindow(plain);
    };
    const int perRound = paints / kRounds;
    const unsigned paintsBefore = marquee->PaintCount();
    double paint = 0, cycle = 0, paintCpu = 0, cycleCpu = 0;
    std::vector<double> roundRatios;
    for (int round = 0; round < kRounds; ++round) {
        const double cpu0 = ProcessCpuSeconds();
        const double p = TimePer(perRound, tick);
        const double cpu1 = ProcessCpuSeconds();
        const double c = TimePer(perRound, eraseCycle);
        paintCpu += (cpu1 - cpu0) / (perRound * kRounds);
        cycleCpu += (ProcessCpuSeconds() - cpu1) / (perRound * kRounds);
        paint += p / kRounds;
        cycle += c / kRounds;
        roundRatios.push_back(p / c);
    }
    const auto [lowest, highest] = std::minmax_element(roundRatios.begin(), roundRatios.end());
    const unsigned repainted = marquee->PaintCount() - paintsBefore;

    // Where the time goes: the whole control repainted over the kept background (as after
    // an exposure), and with the background painted again (as after a change of the fill).
    const double whole = TimePer(paints, [&] {
        marquee->Step(10.0f / 3);
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
    });
    int frame = 0;
    const double newBackground = TimePer(paints, [&] {
        marquee->Step(10.0f / 3);
        fill.SetColor(++frame % 2 ? 0xFEFEFE : 0xFFFFFF);
        UpdateWindow(wnd);
    });
    fill.SetColor(0xFFFFFF);

    // The same paint into a given DC (parent background, fill and bullets, all afresh, no
    // buffer, no copy), Paint alone, and the fill alone on a GDI+ surface.
    HDC screenDc = GetDC(nullptr);
    HDC dibDc = CreateCompatibleDC(screenDc);
    HBITMAP dibBmp = CreateCompatibleBitmap(screenDc, kW, kH);
    ReleaseDC(nullptr, screenDc);
    HGDIOBJ dibOld = SelectObject(dibDc, dibBmp);
    const double direct = TimePer(paints, [&] { SendMessageW(wnd, WM_PAINT, WPARAM(dibDc), 0); });
    const double paintOnly = TimePer(paints, [&] {
        TCanvas canvas(dibDc);
        marquee->Paint(canvas);
    });
    const double fillOnly = TimePer(paints, [&] {
        Gdiplus::Graphics g(dibDc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        fill.Fill(&g, {0, 0, kW - 1, kH - 1});
    });

    // The pieces of a tick's repaint, each alone: a paint cycle of the bullets' band that
    // draws nothing (the platform's part of any repaint of the band), the check of the kept
    // background (its one call into the window system is the parents' pending paint), a
    // GDI+ surface on a memory DC, and the bullets drawn on it.
    const std::vector<TGPRectF> rects = marquee->BulletRects();
    RECT band{kW, kH, 0, 0};
    for (const TGPRectF& r : rects) {
        band.left = std::min<LONG>(band.left, LONG(r.X) - 2);
        band.top = std::min<LONG>(band.top, LONG(r.Y) - 2);
        band.right = std::max<LONG>(band.right, LONG(r.X + r.Width) + 3);
        band.bottom = std::max<LONG>(band.bottom, LONG(r.Y + r.Height) + 3);
    }
    const double bandCycle = TimePer(paints, [&] {
        InvalidateRect(plain, &band, FALSE);
        UpdateWindow(plain);
    });
    // The same band on a plain child window drawing nothing, inside the plain window: the
    // platform's part of a child window's repaint, which the indicator is.
    HWND plainChild = CreateWindowExW(0, L"LvBenchPlainWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                      kW, kH, plain, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(plain);
    const double childBandCycle = TimePer(paints, [&] {
        InvalidateRect(plainChild, &band, FALSE);
        UpdateWindow(plainChild);
    });
    // The indicator's own repaint of the band, without the step.
    const double ownBandCycle = TimePer(paints, [&] {
        InvalidateRect(wnd, &band, FALSE);
        UpdateWindow(wnd);
    });
    HWND formWnd = form->Handle();
    const double parentPending = TimePer(paints, [&] { GetUpdateRect(formWnd, nullptr, FALSE); });
    const double key =
        TimePer(paints, [&] { (void)BackgroundKeyOf(*marquee, false, fill.Version()); });
    const double surface = TimePer(paints, [&] {
        Gdiplus::Graphics g(dibDc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    });
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    const double bullets = TimePer(paints, [&] {
        Gdiplus::Graphics g(dibDc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        for (const TGPRectF& r : rects)
            g.FillEllipse(&black, Gdiplus::RectF(r.X, r.Y, r.Width, r.Height));
    });
    const double bulletsOnePath = TimePer(paints, [&] {
        Gdiplus::Graphics g(dibDc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        Gdiplus::GraphicsPath path;
        for (const TGPRectF& r : rects)
            path.AddEllipse(Gdiplus::RectF(r.X, r.Y, r.Width, r.Height));
        g.FillPath(&black, &path);
    });
    SelectObject(dibDc, dibOld);
    DeleteObject(dibBmp);
    DeleteDC(dibDc);

    // The floor of a full copy: one block copy of a bitmap of the same size to the window.
    HDC dc = GetDC(wnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, kW, kH);
    HGDIOBJ old = SelectObject(mem, bmp);
    const double blit = TimePer(paints, [&] { BitBlt(dc, 0, 0, kW, kH, mem, 0, 0, SRCCOPY); });
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(wnd, dc);
    DestroyWindow(plain);

    const double ratio = paint / cycle, share = paint / 0.010 * 100;
    std::printf("busy indicator paint %dx%d, %d paints in %d rounds beside the reference\n", kW, kH,
                paints, kRounds);
    std::printf("  paint (real path: a tick's step and its repaint) %8.3f ms\n", paint * 1e3);
    std::printf("    %u of %d ticks repainted; at the others the row was outside the control\n",
                repainted, perRound * kRounds);
    std::printf("  erase-only paint cycle of a plain window         %8.3f ms\n", cycle * 1e3);
    std::printf("  ratio real path / erase-only cycle %6.2f   goal <= %.2f  %s\n", ratio,
                kRatioGoal, ratio <= kRatioGoal ? "met" : "NOT met");
    std::printf("    per round: median %.2f, from %.2f to %.2f\n", Median(roundRatios), *lowest,
                *highest);
    std::printf("  share of one core at the 10 ms tick %5.1f %%   goal < %.0f %%  %s\n", share,
                kCoreShareGoal, share < kCoreShareGoal ? "met" : "NOT met");
    std::printf("  CPU time of this process: %.3f ms per tick, %.3f ms per erase-only cycle\n",
                paintCpu * 1e3, cycleCpu * 1e3);
    std::printf("  whole control repainted over the kept background %8.3f ms\n", whole * 1e3);
    std::printf("  whole control, its background painted again      %8.3f ms\n",
                newBackground * 1e3);
    std::printf("    of which into a given DC %8.3f ms (all afresh, no buffer, no copy)\n",
                direct * 1e3);
    std::printf("    of which Paint (fill and bullets) %8.3f ms\n", paintOnly * 1e3);
    std::printf("    of which the fill alone  %8.3f ms\n", fillOnly * 1e3);
    std::printf("  the pieces of a tick's repaint, each alone:\n");
    std::printf("    paint cycle of the bullets' band (%ldx%ld) drawing nothing %8.3f ms\n",
                band.right - band.left, band.bottom - band.top, bandCycle * 1e3);
    std::printf("    the same on a plain child window %8.3f ms; the indicator's repaint of the band "
                "%8.3f ms\n", childBandCycle * 1e3, ownBandCycle * 1e3);
    std::printf("    check of the kept background %8.3f ms, of which the parent's pending paint "
                "%8.3f ms\n", key * 1e3, parentPending * 1e3);
    std::printf("    GDI+ surface on a memory DC %8.3f ms; with the %zu bullets drawn %8.3f ms, "
                "drawn as one path %8.3f ms\n",
                surface * 1e3, rects.size(), bullets * 1e3, bulletsOnePath * 1e3);
    std::printf("  bare BitBlt (floor of a full copy) %8.3f ms\n", blit * 1e3);
    std::printf("  ratio paint / BitBlt %7.1f\n", paint / blit);
    return 0;
}
