// TThemedControl: base of the flat edit family: a self-drawn windowed control with a theme
// mode of its own or the application's.
#pragma once
#include "framework/core/ThemeMode.h"
#include "framework/win32/Themes.h"
#include "framework/win32/WinControl.h"

class TThemedControl : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;

    TThemeMode ThemeMode() const { return FTheme.ThemeMode; }
    void SetThemeMode(TThemeMode v) {
        if (v == FTheme.ThemeMode) return;
        FTheme.ThemeMode = v;
        ThemeChanged();
    }
    bool ThemeGlobalMode() const { return FTheme.ThemeGlobalMode; }
    void SetThemeGlobalMode(bool v) {
        if (v == FTheme.ThemeGlobalMode) return;
        FTheme.ThemeGlobalMode = v;
        ThemeChanged();
    }
    bool UseXPThemes() const { return FTheme.UseXPThemes(); }
    void SetUseXPThemes(bool v) { SetThemeMode(v ? ttmPlatform : ttmNone); }
    // The effective mode asks for visual styles and the platform offers them.
    bool Themed() const { return IsThemed(FTheme); }

  protected:
    // Repaints; a themed control also has its frame recalculated.
    virtual void ThemeChanged() {
        if (!HandleAllocated()) return;
        if (Themed())
            SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                             SWP_NOACTIVATE);
        Invalidate();
    }

  private:
    TThemeSettings FTheme;
};
