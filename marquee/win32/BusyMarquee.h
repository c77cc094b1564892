// TBusyMarquee: the busy indicator, a row of bullets gliding across the control on a 10 ms
// clock, painted with GDI+ over its fill; TBusyMarqueeBullets holds the bullet settings.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/win32/Timer.h"
#include "framework/win32/WinControl.h"
#include "marquee/core/BulletPlacement.h"
#include "marquee/core/GPRectF.h"
#include "marquee/core/StylePresets.h"
#include "marquee/win32/GPFill.h"
#include "marquee/win32/MarqueeFrameBuffers.h"

class TBusyMarquee;

enum TBusyMarqueeBulletShape : std::uint8_t { bsEllipse, bsRectangle, bsTriangle, bsCustom };

using TBusyMarqueeCustomBulletShape = std::function<void(
    TObject* Sender, Gdiplus::Graphics& AGraphics, const TGPRectF& ARect, int ABulletIndex)>;

class TBusyMarqueeBullets : public TObject {
  public:
    explicit TBusyMarqueeBullets(TBusyMarquee* AOwner) : FOwner(AOwner) {}

    // Copies every setting of another bullets object without telling the owner.
    void Assign(const TObject* Source);

    // clang-format off
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    std::uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(std::uint8_t v) { Set(FOpacity, v); }
    std::uint8_t BorderOpacity() const { return FBorderOpacity; }
    void SetBorderOpacity(std::uint8_t v) { Set(FBorderOpacity, v); }
    int Count() const { return FCount; }
    void SetCount(int v) { Set(FCount, v); }
    int Width() const { return FWidth; }
    void SetWidth(int v) { Set(FWidth, v); }
    int Height() const { return FHeight; }
    void SetHeight(int v) { Set(FHeight, v); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v) { Set(FSpacing, v); }
    TBusyMarqueeBulletShape Shape() const { return FShape; }
    void SetShape(TBusyMarqueeBulletShape v) { Set(FShape, v); }
    // clang-format on

    TBulletGeometry Geometry() const { return {FCount, FWidth, FHeight, FSpacing}; }

  private:
    template <class T> void Set(T& field, T value) {
        field = value;
        Changed();
    }
    void Changed();

    TBusyMarquee* FOwner;
    int FCount = 6;
    int FWidth = 10;
    int FHeight = 10;
    int FSpacing = 3;
    TColor FBorderColor = clNone;
    TColor FColor = 0xE16941;
    std::uint8_t FOpacity = 255;
    std::uint8_t FBorderOpacity = 255;
    TBusyMarqueeBulletShape FShape = bsEllipse;
};

class TBusyMarquee : public TCustomControl, public IStylePreset, public IToneable {
  public:
    explicit TBusyMarquee(TComponent* AOwner);
    ~TBusyMarquee() override;

    // Copies the bullet settings and the fill of another busy indicator; other sources are
    // ignored.
    void Assign(const TObject* Source);

    float AnimationStretchFactor() const { return FAnimationStretchFactor; }
    void SetAnimationStretchFactor(float v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool v);
    // Read at each tick.
    float AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(float v) { FAnimationFactor = v; }
    float AnimationStep() const { return FAnimationStep; }
    void SetAnimationStep(float v) { FAnimationStep = v; }
    TGPFill& Fill() { return *FFill; }
    void SetFill(const TGPFill& v) { FFill->Assign(&v); }
    TBusyMarqueeBullets& Bullets() { return *FBullets; }
    void SetBullets(const TBusyMarqueeBullets& v);
    TBusyMarqueeCustomBulletShape OnCustomBulletShape;

    float Position() const { return FPosition; }
    void SetPosition(float v);
    void Step(float AValue) { SetPosition(FPosition + AValue); }

    // The value the layout stores as "StylePreset": recorded only, no colour changes.
    void ReadStylePreset(int value) { FStylePreset = static_cast<TStylePreset>(value); }
    int StoredStylePreset() const { return FStylePreset; }

    void ApplyDefaultStyle();
    void SetComponentStyle(TStylePreset AStyle) override;
    TStylePreset GetComponentStyle() const override { return FStylePreset; }
    void SetColorTones(const TColorTones& ATones) override;

    // Paints through off-screen bitmaps when the system asks for a paint: the background
    // (erase, parents' painting, fill) is kept between paints while nothing it shows may
    // have changed, and each frame lays the bullets over a copy of it.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }

    // The bullets' rectangles at the current position and size.
    std::vector<TGPRectF> BulletRects() const;
    // One tick of the animation clock (the timer calls it every 10 ms).
    void AnimationTick();
    const TTimer& AnimationTimer() const { return *FAnimationTimer; }

    // Fill and bullets in one go, for a paint into a given DC and the unbuffered paint.
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void CreateParams(TCreateParams& params) override;

  private:
    void WMPaint(HDC dc);
    void InvalidateBullets(const std::vector<TGPRectF>& rects);
    void PaintBuffered(HWND wnd);
    void PaintBackground(HDC dc);
    void PaintParentBackground(HDC dc);
    void PaintFill(Gdiplus::Graphics& g);
    // Every bullet; given an area, only the bullets that can change a pixel of it (a
    // custom shape is always asked to draw).
    void PaintBullets(Gdiplus::Graphics& g, const RECT* area = nullptr);

    TStylePreset FStylePreset = tsOffice2003Blue;
    bool FDesignTime = false; // no design tool exists: always false at run time
    TTimer* FAnimationTimer = nullptr; // owned through the ownership tree
    std::unique_ptr<TGPFill> FFill;
    std::unique_ptr<TBusyMarqueeBullets> FBullets;
    float FPosition = 0;
    float FAnimationFactor = 3.0f;
    float FAnimationStep = 10.0f;
    bool FAnimate = true;
    bool FTransparent = false;
    float FAnimationStretchFactor = 1.7f;
    bool FDoubleBuffered = true;
    TMarqueeFrameBuffers FBuffers;
};
