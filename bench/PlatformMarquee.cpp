// Peer of the busy indicator: the platform's own marquee progress bar (PROGRESS_CLASS with
// PBS_MARQUEE, common controls 6) at the busy panel's size, animating, beside the busy
// indicator in the assistant's configuration animating on its own 10 ms clock. Each shows
// alone in turn for the same time, in alternating rounds, while an ordinary message loop
// waits for and dispatches their messages; the figure is this process's CPU time (user and
// kernel) per second of wall-clock time. Under Wine the window system's share of the work
// runs in the Wine server and the X server, which this does not count, for either.
//   platform_marquee [seconds per round]
// A program that prints figures, not a test.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/win32/Form.h"
#include "framework/win32/GdiPlus.h"
#include "marquee/win32/BusyMarquee.h"

namespace {

constexpr int kW = 445;
constexpr int kH = 417;
constexpr int kRounds = 5;

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

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// Runs an ordinary message loop (wait, then dispatch what came) for the given time; answers
// the process's CPU seconds per wall-clock second meanwhile.
double CpuShareWhileRunning(double seconds) {
    const double cpu0 = ProcessCpuSeconds(), start = Seconds();
    for (double now = start; now < start + seconds; now = Seconds()) {
        const DWORD wait = DWORD((start + seconds - now) * 1000) + 1;
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return (ProcessCpuSeconds() - cpu0) / (Seconds() - start);
}

// A plain white top-level window holding the platform's marquee bar over its whole client.
struct PlatformBar {
    HWND frame = nullptr;
    HWND bar = nullptr;

    PlatformBar() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"LvBenchMarqueeFrame";
        RegisterClassW(&wc);
        frame = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, kW, kH, nullptr,
                                nullptr, wc.hInstance, nullptr);
        bar = CreateWindowExW(0, PROGRESS_CLASS, L"", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 0, 0,
                              kW, kH, frame, nullptr, wc.hInstance, nullptr);
    }
    ~PlatformBar() { DestroyWindow(frame); }
    // interval 0: the platform's own default pace
    void Run(UINT interval) {
        SendMessageW(bar, PBM_SETMARQUEE, TRUE, interval);
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        UpdateWindow(frame);
    }
    void Stop() {
        SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        ShowWindow(frame, SW_HIDE);
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const double seconds = argc > 1 ? _wtof(argv[1]) : 4.0;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    ScopedGdiPlus gdiplus;

    // The busy indicator as the assistant's layout sets it up, on a window of its size.
    TComponent root(nullptr);
    auto* form = TComponent::Create<TForm>(&root);
    form->SetBorderStyle(bsNone);
    form->SetColor(clWhite);
    form->SetClientSize(kW, kH);
    auto* busy = TComponent::Create<TBusyMarquee>(form);
    busy->SetParent(form);
    busy->SetAlign(alClient);
    busy->SetAnimate(false);
    busy->SetAnimationStretchFactor(1.7f);
    busy->Bullets().SetColor(clBlack);
    TGPFill& fill = busy->Fill();
    fill.SetColor(0xFFFFFF);
    fill.SetColorMirror(clNone);
    fill.SetColorMirrorTo(clNone);
    fill.SetGradientType(gtSolid);
    fill.SetGradientMirrorType(gtSolid);
    fill.SetBorderColor(0xFFFFFF);
    form->Show();
    HWND formWnd = form->Handle();
    ShowWindow(formWnd, SW_HIDE);
    PlatformBar platform;

    struct Subject {
        const char* name;
        void (*start)(TBusyMarquee*, HWND, PlatformBar&);
        void (*stop)(TBusyMarquee*, HWND, PlatformBar&);
        std::vector<double> shares;
    };
    std::vector<Subject> subjects = {
        {"busy indicator (10 ms clock)",
         [](TBusyMarquee* b, HWND w, PlatformBar&) {
             ShowWindow(w, SW_SHOWNOACTIVATE);
             b->SetAnimate(true);
         },
         [](TBusyMarquee* b, HWND w, PlatformBar&) {
             b->SetAnimate(false);
             ShowWindow(w, SW_HIDE);
         },
         {}},
        {"platform marquee, its own pace",
         [](TBusyMarquee*, HWND, PlatformBar& p) { p.Run(0); },
         [](TBusyMarquee*, HWND, PlatformBar& p) { p.Stop(); },
         {}},
        {"platform marquee, 10 ms pace",
         [](TBusyMarquee*, HWND, PlatformBar& p) { p.Run(10); },
         [](TBusyMarquee*, HWND, PlatformBar& p) { p.Stop(); },
         {}},
        {"nothing animating (the loop alone)", [](TBusyMarquee*, HWND, PlatformBar&) {},
         [](TBusyMarquee*, HWND, PlatformBar&) {}, {}},
    };
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < subjects.size(); ++i) {
            Subject& s = subjects[(i + round) % subjects.size()];
            s.start(busy, formWnd, platform);
            CpuShareWhileRunning(0.2); // the first frames and the show settle first
            s.shares.push_back(CpuShareWhileRunning(seconds));
            s.stop(busy, formWnd, platform);
            CpuShareWhileRunning(0.2);
        }
    }

    std::printf("animating at %dx%d, %d alternating rounds of %.1f s each: process CPU time per "
                "second (median, lowest to highest)\n",
                kW, kH, kRounds, seconds);
    for (const Subject& s : subjects) {
        const auto [low, high] = std::minmax_element(s.shares.begin(), s.shares.end());
        std::printf("  %-36s %6.1f ms/s  (%.1f to %.1f)\n", s.name, Median(s.shares) * 1e3,
                    *low * 1e3, *high * 1e3);
    }
    const double ratio = Median(subjects[1].shares) / Median(subjects[0].shares);
    std::printf("  platform marquee (its own pace) / busy indicator %6.2f\n", ratio);
    return 0;
}
