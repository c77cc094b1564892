// The colours of the 24 style presets.
#include "marquee/core/StylePresets.h"

namespace {

constexpr TColor btnFace = 0xFF00000F;
constexpr TColor inactiveCaption = 0xFF000003;
constexpr TColor highlight = 0xFF00000D;

// A preset with a plain two-colour background, no mirror and gradient kinds untouched.
TStylePresetColors Plain(TColor c, TColor to, TColor border, TColor bulletBorder, TColor bullet) {
    return {c, to, clNone, clNone, border, std::nullopt, std::nullopt, bulletBorder, bullet};
}

// A preset with a mirrored lower half.
TStylePresetColors Mirrored(TColor c, TColor to, TColor mirror, TColor mirrorTo, TColor border,
                            std::optional<TGradientType> kind, TColor bullet) {
    return {c, to, mirror, mirrorTo, border, kind, gtVertical, border, bullet};
}

} // namespace

TStylePresetColors StylePresetColors(TStylePreset style) {
    switch (style) {
    case tsOffice2003Blue:
        return Plain(0xFDEADA, 0xE4AE88, 0xDFD2C5, 0xDFD2C5, 0x94E6FB);
    case tsOffice2003Silver:
        return Plain(0xF7F3F3, 0xE6D8D8, 0x927476, 0x927476, 0x94E6FB);
    case tsOffice2003Olive:
        return Plain(0xCFF0EA, 0x8CC0B1, 0x6B7760, 0x6B7760, 0x94E6FB);
    case tsOffice2003Classic:
        return Plain(0xFFFFFF, 0xC9D1D5, 0x808080, 0x808080, 0xB59285);
    case tsOffice2007Luna:
        return Mirrored(0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0xE3B28D, gtVertical, 0xAAD9FF);
    case tsOffice2007Obsidian:
        return Mirrored(0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x000000, std::nullopt, 0xAAD9FF);
    case tsWindowsXP:
        return Plain(btnFace, btnFace, 0x000000, 0x000000, inactiveCaption);
    case tsWhidbey:
        return Plain(0xFFFFFF, 0xD9E9EC, 0x828F92, 0x828F92, 0x94E6FB);
    case tsCustom:
        return {};
    case tsOffice2007Silver:
        return Mirrored(0xF6F1EE, 0xE7DCD5, 0xE7DCD5, 0xF4F4EE, 0x74706F, std::nullopt, 0xAAD9FF);
    case tsWindowsVista:
        return Plain(0xFDF8F1, 0xFCEFD5, 0xFDDE99, 0xFDDE99, 0xFEF9F0);
    case tsWindows7:
        return Plain(0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xCEA27D, 0xFCEBDC);
    case tsTerminal:
        return Plain(btnFace, btnFace, 0x000000, 0x000000, highlight);
    case tsOffice2010Blue:
        return Plain(0xFDF6EF, 0xF0DAC7, 0xC7B29F, 0xC7B29F, 0x6CD0FF);
    case tsOffice2010Silver:
        return Plain(0xFFFFFF, 0xEDE5E0, 0xD2CDC8, 0xD2CDC8, 0x6CD0FF);
    case tsOffice2010Black:
        return Plain(0xBFBFBF, 0x919191, 0x6D6D6D, 0x6D6D6D, 0x6CD0FF);
    case tsWindows8:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xE4E3E2, 0xF7E0C9);
    case tsOffice2013White:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xD4D4D4, 0xFCE2C8);
    case tsOffice2013LightGray:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xC6C6C6, 0xC6C6C6, 0xFCE2C8);
    case tsOffice2013Gray:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xABABAB, 0xABABAB, 0xFCE2C8);
    case tsWindows10:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xE4E3E2, 0xF7E0C9);
    case tsOffice2016White:
        return Plain(0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xF2E1D5, 0xF2E1D5);
    case tsOffice2016Gray:
        return Plain(0xB2B2B2, 0xB2B2B2, 0x444444, 0xF2E1D5, 0xF2E1D5);
    case tsOffice2016Black:
        return Plain(0x363636, 0x363636, 0x444444, 0x6A6A6A, 0x6A6A6A);
    }
    return {};
}
