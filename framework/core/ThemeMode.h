// Theme mode shared by the themed controls: their own mode or the application-wide one,
// and whether the effective mode asks for the platform's visual styles.
#pragma once
#include <cstdint>

enum TThemeMode : std::uint8_t { ttmNone, ttmPlatform, ttmNative };

// The application-wide mode that ThemeGlobalMode follows. The program has no style manager
// that could change it, so it is the platform's.
inline constexpr TThemeMode ApplicationThemeMode = ttmPlatform;

// The theme settings of one control (the ThemeMode and ThemeGlobalMode properties).
struct TThemeSettings {
    TThemeMode ThemeMode = ttmPlatform;
    bool ThemeGlobalMode = false;

    TThemeMode EffectiveMode() const { return ThemeGlobalMode ? ApplicationThemeMode : ThemeMode; }
    // True exactly when the mode is ttmPlatform.
    bool UseXPThemes() const { return ThemeMode == ttmPlatform; }
    // Setting UseXPThemes chooses between the platform's styles and none.
    void SetUseXPThemes(bool v) { ThemeMode = v ? ttmPlatform : ttmNone; }
    // The effective mode asks for visual styles (ttmNone never does).
    bool WantsVisualStyles() const { return EffectiveMode() != ttmNone; }
};
