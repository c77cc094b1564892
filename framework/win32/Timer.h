// TTimer: an interval timer on a hidden utility window; its ticks arrive as WM_TIMER through
// the thread's message loop, so OnTimer runs on the thread that created the timer.
#pragma once
#include <windows.h>

#include "framework/win32/Component.h"

class TTimer : public TComponent {
  public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    // Milliseconds between ticks; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // True while a platform timer is set.
    bool Running() const { return FRunning; }

    TNotifyEvent OnTimer;

  private:
    void UpdateTimer();
    void EnsureWindow();
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FWindow = nullptr;
    unsigned FInterval = 1000;
    bool FEnabled = true;
    bool FRunning = false;
};
