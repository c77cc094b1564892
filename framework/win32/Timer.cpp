// TTimer: SetTimer/KillTimer on a message-only window of its own.
#include "framework/win32/Timer.h"

#include <stdexcept>

#include "framework/win32/Application.h"

namespace {

const wchar_t* const kTimerClass = L"LvTimerWindow";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    RegisterClassExW(&wc);
    registered = true;
}

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    if (FWindow) {
        if (FRunning) KillTimer(FWindow, kTimerId);
        DestroyWindow(FWindow);
    }
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    UpdateTimer();
}

void TTimer::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    UpdateTimer();
}

void TTimer::EnsureWindow() {
    if (FWindow) return;
    RegisterTimerClass(&TTimer::WndProc);
    FWindow = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!FWindow) throw std::runtime_error("Cannot create the timer window");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TTimer::UpdateTimer() {
    if (FRunning) {
        KillTimer(FWindow, kTimerId);
        FRunning = false;
    }
    if (!FEnabled || FInterval == 0) return;
    EnsureWindow();
    if (!SetTimer(FWindow, kTimerId, FInterval, nullptr))
        throw std::runtime_error("No timers available");
    FRunning = true;
}

LRESULT CALLBACK TTimer::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kTimerId) {
        auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (self && self->FRunning && self->OnTimer) {
            try {
                self->OnTimer(self);
            } catch (const std::exception& e) {
                HandleEscapedException(e);
            } catch (...) {
                HandleEscapedException(std::runtime_error("Unknown error"));
            }
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
