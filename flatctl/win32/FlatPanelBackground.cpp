// TCustomFlatPanel's background: the erase rules, the parent's painting under a transparent
// panel, and the background kinds (colour, pictures, gradients, the shared image, the
// alpha-blended variant).
#include <windows.h>

#include "flatctl/win32/FlatPanel.h"
#include "flatctl/win32/ImageForm.h"
#include "framework/win32/Colors.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/Themes.h"

bool TCustomFlatPanel::EraseBackground(HDC dc) {
    RECT client;
    GetClientRect(WindowHandle(), &client);
    if (Themed()) {
        if (FTransparentXPThemes)
            DrawThemeParentBackground(WindowHandle(), dc, &client);
        else
            FillSolidRect(dc, client, ColorToRGB(FColor));
    } else if (!FTransparent) {
        EraseOwnBackground(dc, client);
    } else {
        EraseParentInto(dc);
    }
    return true;
}

// Asks the parent to erase and paint its client area into this panel's context, at this
// panel's place in the parent (parents that do not answer WM_PRINTCLIENT give their
// background only).
void TCustomFlatPanel::EraseParentInto(HDC dc) {
    HWND wnd = WindowHandle();
    HWND parent = GetParent(wnd);
    if (!parent) return;
    POINT p{0, 0};
    MapWindowPoints(wnd, parent, &p, 1);
    ScopedSaveDC save(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x - p.x, org.y - p.y, nullptr);
    SendMessageW(parent, WM_ERASEBKGND, WPARAM(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
}

// The erase under the panel's own background: the colour, except under the kinds that cover
// every pixel themselves (erasing there would only flicker).
void TCustomFlatPanel::EraseOwnBackground(HDC dc, const RECT& client) {
    if (ErasesWithColor(FBackgroundType)) FillSolidRect(dc, client, ColorToRGB(FColor));
}

void TCustomFlatPanel::PaintBackground(HDC dc, const RECT& r) {
    RECT client;
    GetClientRect(WindowHandle(), &client);
    if (FImageForm && !FImageForm->Picture().Empty())
        PaintImageForm(dc, client);
    else if (IsPictureKind(FBackgroundType))
        PaintPicture(dc, client);
    else if (IsGradientKind(FBackgroundType))
        PaintSteppedGradient(dc, client, FBackgroundType, ColorToRGB(FGradientStartColor),
                             ColorToRGB(FGradientEndColor), FGradientSteps);
    else
        FillSolidRect(dc, r, ColorToRGB(FColor));
}

// The picture kinds. Transparent parts of the picture show Color; without a picture that
// can be drawn the whole panel does.
void TCustomFlatPanel::PaintPicture(HDC dc, const RECT& client) {
    const COLORREF color = ColorToRGB(FColor);
    BitmapHandle bitmap = FBackground.ToBitmap(color);
    if (!bitmap) {
        FillSolidRect(dc, client, color);
        return;
    }
    const int w = FBackground.Width(), h = FBackground.Height();
    switch (FBackgroundType) {
    case bgtCenterBitmap:
        DrawBitmapAt(dc, bitmap.get(), w, h, (client.right - w) / 2, (client.bottom - h) / 2);
        break;
    case bgtTopLeftBitmap:
        DrawBitmapAt(dc, bitmap.get(), w, h, 0, 0);
        break;
    case bgtTileBitmap:
        TileBitmap(dc, bitmap.get(), client, POINT{0, 0});
        break;
    default:
        StretchBitmap(dc, bitmap.get(), w, h, client);
        break;
    }
}

// The shared image, tiled from the top-left corner of the client area of the window the
// panel sits in.
void TCustomFlatPanel::PaintImageForm(HDC dc, const RECT& client) {
    const COLORREF color = ColorToRGB(FColor);
    BitmapHandle bitmap = FImageForm->Picture().ToBitmap(color);
    if (!bitmap) {
        FillSolidRect(dc, client, color);
        return;
    }
    HWND wnd = WindowHandle();
    POINT origin{0, 0};
    MapWindowPoints(GetAncestor(wnd, GA_ROOT), wnd, &origin, 1);
    TileBitmap(dc, bitmap.get(), client, origin);
}

// A transparent panel with an alpha level: its own background, painted apart, laid over the
// parent's painting that the erase put into `dc`.
void TCustomFlatPanel::BlendBackground(HDC dc, const RECT& clip) {
    RECT client;
    GetClientRect(WindowHandle(), &client);
    OffscreenBuffer own(dc, client.right, client.bottom);
    EraseOwnBackground(own.get(), client);
    PaintBackground(own.get(), client);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, FAlphaLevel, 0};
    const int w = clip.right - clip.left, h = clip.bottom - clip.top;
    GdiAlphaBlend(dc, clip.left, clip.top, w, h, own.get(), clip.left, clip.top, w, h, blend);
}
