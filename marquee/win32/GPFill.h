// TGPFill: how a rectangle is painted with GDI+ (colours and gradient kinds of the area and
// of an optional mirrored lower half, opacities, border, rounded corners, shadow, glow,
// focus outline and two pictures), with a change notification for its owner.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/Object.h"
#include "marquee/core/FillTypes.h"
#include "marquee/core/GPRectF.h"
#include "marquee/win32/FillPicture.h"

class TGPFill : public TObject {
  public:
    TGPFill();

    // Copies every saved setting (pictures by their images), then notifies once. Focus,
    // FocusColor and the update count stay as they are. Other sources are ignored.
    void Assign(const TObject* Source);

    // Paints into R and answers the part of R the shadow left. Opacity arguments below 255
    // replace the fill's own opacities; 255 keeps them.
    TGPRectF Fill(Gdiplus::Graphics* Graphics, TGPRectF R, std::uint8_t ABorderOpacity = 255,
                  std::uint8_t AOpacity = 255, std::uint8_t AOpacityTo = 255,
                  std::uint8_t AOpacityMirror = 255, std::uint8_t AOpacityMirrorTo = 255);
    // One part of the background: the upper (Mirror false) or the lower one.
    void DrawGradientBackGround(Gdiplus::Graphics& Graphics, const TGPRectF& R, bool Mirror,
                                std::uint8_t oc, std::uint8_t octo, std::uint8_t ocmr,
                                std::uint8_t ocmrto);
    void DrawGlow(Gdiplus::Graphics& Graphics, const TGPRectF& R);

    // The settings as one INI section: every property an integer under its own name, the
    // pictures as the hexadecimal text of their encoded images. Loading notifies once.
    void SaveToFile(const std::wstring& FileName, const std::wstring& Section) const;
    void LoadFromFile(const std::wstring& FileName, const std::wstring& Section);

    // Changes under BeginUpdate notify nobody; EndUpdate notifies nobody either.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    int UpdateCount() const { return FUpdateCount; }
    // Goes up with every change of a setting, also under BeginUpdate: whatever was painted
    // from an older version may look different now.
    unsigned Version() const { return FVersion; }

    TNotifyEvent OnChange;

    // clang-format off
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v) { Set(FColorMirror, v); }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v) { Set(FColorMirrorTo, v); }
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType v) { Set(FGradientType, v); }
    TGradientType GradientMirrorType() const { return FGradientMirrorType; }
    void SetGradientMirrorType(TGradientType v) { Set(FGradientMirrorType, v); }
    THatchStyle HatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(THatchStyle v) { Set(FHatchStyle, v); }
    THatchStyle HatchStyleMirror() const { return FHatchStyleMirror; }
    void SetHatchStyleMirror(THatchStyle v) { Set(FHatchStyleMirror, v); }
    bool BackGroundPictureAspectRatio() const { return FBackGroundPictureAspectRatio; }
    void SetBackGroundPictureAspectRatio(bool v) { Set(FBackGroundPictureAspectRatio, v); }
    TFillPictureMode BackGroundPictureMode() const { return FBackGroundPictureMode; }
    void SetBackGroundPictureMode(TFillPictureMode v) { Set(FBackGroundPictureMode, v); }
    TFillPicture& BackGroundPicture() { return FBackGroundPicture; }
    const TFillPicture& BackGroundPicture() const { return FBackGroundPicture; }
    void SetBackGroundPicture(const TFillPicture& v) { FBackGroundPicture.Assign(v); }
    TFillPicturePosition BackGroundPicturePosition() const { return FBackGroundPicturePosition; }
    void SetBackGroundPicturePosition(TFillPicturePosition v) { Set(FBackGroundPicturePosition, v); }
    int BackGroundPictureLeft() const { return FBackGroundPictureLeft; }
    void SetBackGroundPictureLeft(int v) { Set(FBackGroundPictureLeft, v); }
    int BackGroundPictureTop() const { return FBackGroundPictureTop; }
    void SetBackGroundPictureTop(int v) { Set(FBackGroundPictureTop, v); }
    TPictureMode BackGroundPictureAspectMode() const { return FBackGroundPictureAspectMode; }
    void SetBackGroundPictureAspectMode(TPictureMode v) { Set(FBackGroundPictureAspectMode, v); }
    TFillPicture& Picture() { return FPicture; }
    const TFillPicture& Picture() const { return FPicture; }
    void SetPicture(const TFillPicture& v) { FPicture.Assign(v); }
    TFillPicturePosition PicturePosition() const { return FPicturePosition; }
    void SetPicturePosition(TFillPicturePosition v) { Set(FPicturePosition, v); }
    int PictureLeft() const { return FPictureLeft; }
    void SetPictureLeft(int v) { Set(FPictureLeft, v); }
    int PictureTop() const { return FPictureTop; }
    void SetPictureTop(int v) { Set(FPictureTop, v); }
    TFillPictureSize PictureSize() const { return FpictureSize; }
    void SetPictureSize(TFillPictureSize v) { Set(FpictureSize, v); }
    int PictureWidth() const { return FpictureWidth; }
    void SetPictureWidth(int v) { Set(FpictureWidth, v); }
    int PictureHeight() const { return FpictureHeight; }
    void SetPictureHeight(int v) { Set(FpictureHeight, v); }
    bool PictureAspectRatio() const { return FPictureAspectRatio; }
    void SetPictureAspectRatio(bool v) { Set(FPictureAspectRatio, v); }
    TPictureMode PictureAspectMode() const { return FPictureAspectMode; }
    void SetPictureAspectMode(TPictureMode v) { Set(FPictureAspectMode, v); }
    std::uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(std::uint8_t v) { Set(FOpacity, v); }
    std::uint8_t OpacityTo() const { return FOpacityTo; }
    void SetOpacityTo(std::uint8_t v) { Set(FOpacityTo, v); }
    std::uint8_t OpacityMirror() const { return FOpacityMirror; }
    void SetOpacityMirror(std::uint8_t v) { Set(FOpacityMirror, v); }
    std::uint8_t OpacityMirrorTo() const { return FOpacityMirrorTo; }
    void SetOpacityMirrorTo(std::uint8_t v) { Set(FOpacityMirrorTo, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    std::uint8_t BorderOpacity() const { return FBorderOpacity; }
    void SetBorderOpacity(std::uint8_t v) { Set(FBorderOpacity, v); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { Set(FBorderWidth, v); }
    int Rounding() const { return FRounding; }
    void SetRounding(int v) { Set(FRounding, v); }
    TFillRoundingType RoundingType() const { return FRoundingType; }
    void SetRoundingType(TFillRoundingType v) { Set(FRoundingType, v); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v) { Set(FShadowColor, v); }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v) { Set(FShadowOffset, v); }
    TShadowType ShadowType() const { return FShadowType; }
    void SetShadowType(TShadowType v) { Set(FShadowType, v); }
    int Angle() const { return FAngle; }
    void SetAngle(int v) { Set(FAngle, v); }
    TGlowMode Glow() const { return FGlow; }
    void SetGlow(TGlowMode v) { Set(FGlow, v); }
    TColor GlowGradientColor() const { return FGlowGradientColor; }
    void SetGlowGradientColor(TColor v) { Set(FGlowGradientColor, v); }
    TColor GlowRadialColor() const { return FGlowRadialColor; }
    void SetGlowRadialColor(TColor v) { Set(FGlowRadialColor, v); }
    bool Focus() const { return FFocus; }
    void SetFocus(bool v) { Set(FFocus, v); }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { Set(FFocusColor, v); }
    // The inner rectangle computed by the last Fill.
    TGPRectF FocusRect() const { return FFocusRect; }
    // clang-format on

  private:
    template <class T> void Set(T& field, T value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    void Changed();
    void DrawShadow(Gdiplus::Graphics& g, const TGPRectF& r);
    void DrawBackground(Gdiplus::Graphics& g, const TGPRectF& r, std::uint8_t o, std::uint8_t ot,
                        std::uint8_t om, std::uint8_t omt);
    void DrawBackGroundPicture(Gdiplus::Graphics& g, const TGPRectF& r, bool clipped);
    void DrawForegroundPicture(Gdiplus::Graphics& g, const TGPRectF& r);

    TColor FBorderColor = clNone;
    std::uint8_t FOpacity = 255;
    TFillPicturePosition FPicturePosition = ppTopLeft;
    TGradientType FGradientType = gtVertical;
    std::uint8_t FOpacityTo = 255;
    TFillPicture FPicture;
    THatchStyle FHatchStyle = HatchStyleHorizontal;
    TColor FColor = 0xC0C0C0;
    int FShadowOffset = 0;
    TShadowType FShadowType = stRightBottom;
    std::uint8_t FOpacityMirror = 255;
    TGradientType FGradientMirrorType = gtSolid;
    std::uint8_t FOpacityMirrorTo = 255;
    int FRounding = 0;
    TColor FShadowColor = 0x808080;
    int FBorderWidth = 1;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TColor FColorTo = 0x808080;
    THatchStyle FHatchStyleMirror = HatchStyleHorizontal;
    int FPictureTop = 0;
    int FPictureLeft = 0;
    int FBackGroundPictureTop = 0;
    int FBackGroundPictureLeft = 0;
    TFillPicturePosition FBackGroundPicturePosition = ppTopLeft;
    TFillPicture FBackGroundPicture;
    int FpictureWidth = 50;
    TFillPictureSize FpictureSize = psOriginal;
    int FpictureHeight = 50;
    TFillRoundingType FRoundingType = rtBoth;
    int FUpdateCount = 0;
    bool FFocus = false;
    TColor FFocusColor = clBlack;
    int FAngle = 0;
    std::uint8_t FBorderOpacity = 255;
    TGPRectF FFocusRect;
    TFillPictureMode FBackGroundPictureMode = pmOutsideFill;
    TColor FGlowGradientColor = 0xFFFFFF;
    TGlowMode FGlow = gmNone;
    TColor FGlowRadialColor = 0xFFFFFF;
    bool FBackGroundPictureAspectRatio = false;
    bool FPictureAspectRatio = false;
    TPictureMode FBackGroundPictureAspectMode = pmStretch;
    TPictureMode FPictureAspectMode = pmStretch;
    unsigned FVersion = 0;
};
