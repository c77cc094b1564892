// Whether the platform draws visual styles for this program; themed controls fall back to
// their unthemed drawing when it does not (as under Wine without a theme).
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <uxtheme.h>

#include "framework/core/ThemeMode.h"

inline bool PlatformThemesActive() {
    return IsAppThemed() && IsThemeActive();
}

// A control is themed when its effective mode asks for visual styles and the platform
// offers them.
inline bool IsThemed(const TThemeSettings& settings) {
    return settings.WantsVisualStyles() && PlatformThemesActive();
}
