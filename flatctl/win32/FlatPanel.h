// TCustomFlatPanel / TFlatPanel: a windowed container that paints its background, bevels,
// optional flat frame and caption through an off-screen bitmap, and hosts child controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "flatctl/win32/FlatFrame.h"
#include "flatctl/win32/PanelBackground.h"
#include "framework/core/StylePreset.h"
#include "framework/core/TextLayout.h"
#include "framework/core/ThemeMode.h"
#include "framework/win32/Form.h"
#include "framework/win32/Picture.h"
#include "framework/win32/StyleManager.h"
#include "framework/win32/WinControl.h"

class TImageForm;

enum TBevelStyle : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

enum TGrabHandleKind : std::uint8_t { ghkLeft, ghkTop, ghkRight, ghkBottom };

class TCustomFlatPanel;

// A strip along one edge of a panel, drawn with a two-line groove when visible, enabled
// and given a bevel kind. Any change realigns and repaints the panel.
class TFlatPanelGrabHandle : public TObject {
  public:
    TFlatPanelGrabHandle(TCustomFlatPanel& panel, TGrabHandleKind kind)
        : FPanel(panel), FKind(kind) {}

    TGrabHandleKind Kind() const { return FKind; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Size() const { return FSize; }
    void SetSize(int v);
    TBevelStyle BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelStyle v);

  private:
    void Changed();

    TCustomFlatPanel& FPanel;
    TGrabHandleKind FKind;
    bool FEnabled = true;
    bool FVisible = false;
    int FSize = 0;
    TBevelStyle FBevelKind = bvNone;
};

class TCustomFlatPanel : public TCustomControl, public IStylePreset {
  public:
    // Links the panel to the application's default style manager, if there is one.
    explicit TCustomFlatPanel(TComponent* owner);
    ~TCustomFlatPanel() override;

    // The steps after a layout has given the panel its stored properties: the style
    // manager's style is applied, an owner-drawn panel repaints, and a transparent one
    // tells its children to repaint.
    void Loaded() override;
    // The caption's accelerator focuses the panel when it can take the focus.
    bool DialogChar(char16_t ch) override;

    // Background.
    TBackgroundType BackgroundType() const { return FBackgroundType; }
    virtual void SetBackgroundType(TBackgroundType v);
    // The picture of the picture kinds; without one they show Color.
    TPicture& Background() { return FBackground; }
    void SetBackground(const TPicture& v) { FBackground.Assign(v); }
    // How much of its own background a transparent, unthemed panel lays over its parent's
    // painting: 0 shows the parent only, 255 the panel's background only.
    std::uint8_t AlphaLevel() const { return FAlphaLevel; }
    void SetAlphaLevel(std::uint8_t v);
    // A background image shared with other panels; while it holds a picture it takes the
    // place of BackgroundType.
    TImageForm* ImageForm() const { return FImageForm; }
    virtual void SetImageForm(TImageForm* v);
    TColor GradientStartColor() const { return FGradientStartColor; }
    void SetGradientStartColor(TColor v);
    TColor GradientEndColor() const { return FGradientEndColor; }
    void SetGradientEndColor(TColor v);
    int GradientSteps() const { return FGradientSteps; }
    void SetGradientSteps(int v);

    // Bevels: they also narrow the area of aligned children.
    TBevelStyle BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelStyle v);
    TBevelStyle BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelStyle v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    TColor BevelSpaceColor() const { return FBevelSpaceColor; }
    void SetBevelSpaceColor(TColor v);

    // Flat frame (drawn for bsSingle inside the client area, which it does not narrow).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TFlatBorderType BorderType() const { return FBorderType; }
    virtual void SetBorderType(TFlatBorderType v);
    TBorderSides BorderSides() const { return FBorderSides; }
    void SetBorderSides(TBorderSides v);
    const TFlatFrameColors& BorderColors() const { return FBorderColors; }
    TColor BorderColorDkShadow() const { return FBorderColors.DkShadow; }
    void SetBorderColorDkShadow(TColor v) { SetBorderColor(FBorderColors.DkShadow, v); }
    TColor BorderColorFace() const { return FBorderColors.Face; }
    void SetBorderColorFace(TColor v) { SetBorderColor(FBorderColors.Face, v); }
    TColor BorderColorShadow() const { return FBorderColors.Shadow; }
    void SetBorderColorShadow(TColor v) { SetBorderColor(FBorderColors.Shadow, v); }
    TColor BorderColorHighlight() const { return FBorderColors.Highlight; }
    void SetBorderColorHighlight(TColor v) { SetBorderColor(FBorderColors.Highlight, v); }
    TColor BorderColorWindow() const { return FBorderColors.Window; }
    void SetBorderColorWindow(TColor v) { SetBorderColor(FBorderColors.Window, v); }

    // Caption.
    virtual std::u16string Caption() const { return Text(); }
    virtual void SetCaption(const std::u16string& v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v);

    // Owner drawing: OnPaint draws the content on Canvas() instead of the caption.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);
    bool AlwaysPaintBackground() const { return FAlwaysPaintBackground; }
    void SetAlwaysPaintBackground(bool v);
    // The canvas of the paint in progress (nullptr outside painting).
    TCanvas* Canvas() const { return FCanvas; }

    // Transparency and themes.
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool v);
    bool TransparentXPThemes() const { return FTransparentXPThemes; }
    virtual void SetTransparentXPThemes(bool v);
    TThemeMode ThemeMode() const { return FTheme.ThemeMode; }
    virtual void SetThemeMode(TThemeMode v);
    bool ThemeGlobalMode() const { return FTheme.ThemeGlobalMode; }
    virtual void SetThemeGlobalMode(bool v);
    bool UseXPThemes() const { return FTheme.UseXPThemes(); }
    virtual void SetUseXPThemes(bool v);
    // Painted with the platform's visual styles right now.
    bool Themed() const;
    // Skip erasing into the window: the off-screen paint covers the whole clip box anyway.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }

    // Sizing and moving with the mouse.
    bool Resizable() const { return FResizable; }
    virtual void SetResizable(bool v);
    bool Movable() const { return FMovable; }
    virtual void SetMovable(bool v) { FMovable = v; }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v);

    TFlatPanelGrabHandle& LeftGrabHandle() { return FLeftGrabHandle; }
    TFlatPanelGrabHandle& TopGrabHandle() { return FTopGrabHandle; }
    TFlatPanelGrabHandle& RightGrabHandle() { return FRightGrabHandle; }
    TFlatPanelGrabHandle& BottomGrabHandle() { return FBottomGrabHandle; }

    bool MouseInControl() const { return MouseInside(); }

    // Style manager: linking applies its style; the panel records the style it was given.
    TStyleManager* StyleManager() const { return FStyleLink.Manager(); }
    void SetStyleManager(TStyleManager* v);
    void SetComponentStyle(TStylePreset AStyle) override;
    TStylePreset GetComponentStyle() const override { return FStyle; }

    TNotifyEvent OnPaint;
    TNotifyEvent OnMove;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(RECT& r) const override;
    bool EraseBackground(HDC dc) override;
    void EnabledChanged() override;
    void BoundsChanged() override;

    virtual void ThemeChanged();
    // Gives the linked style manager's style to the panel.
    virtual void ApplyStyle();
    // Tells the children to repaint (they may show this panel through them).
    virtual void NotifyChildrenRepaint();
    virtual void DoPaint();
    virtual void DoMove();
    // The paint routine: background, frame, bevels, grab handles, caption or OnPaint, grip.
    virtual void PaintPanel(TCanvas& canvas, RECT clip);
    virtual void GrabHandleChanged();

  private:
    friend class TFlatPanelGrabHandle;

    void PaintOffscreen();
    void PrintClient(HDC dc);
    void EraseOwnBackground(HDC dc, const RECT& client);
    void PaintBackground(HDC dc, const RECT& r);
    void PaintPicture(HDC dc, const RECT& client);
    void PaintImageForm(HDC dc, const RECT& client);
    void BlendBackground(HDC dc, const RECT& clip);
    void PaintBevel(HDC dc, RECT& r, TBevelStyle style);
    void PaintGrabHandles(HDC dc, RECT& r);
    void PaintCaption(TCanvas& canvas, const RECT& r);
    void EraseParentInto(HDC dc);
    void SetBorderColor(TColor& field, TColor v);
    void ChildAreaChanged();
    LRESULT HitTest(LPARAM lParam);
    void SyncBoundsFromWindow();

    TBackgroundType FBackgroundType = bgtColorFill;
    TColor FGradientStartColor = 0;
    TColor FGradientEndColor = 0;
    int FGradientSteps = 16;
    TPicture FBackground;
    std::uint8_t FAlphaLevel = 0;
    TImageForm* FImageForm = nullptr;
    TStyleLink FStyleLink{*this};
    TStylePreset FStyle = tsOffice2003Blue;
    TBevelStyle FBevelOuter = bvRaised;
    TBevelStyle FBevelInner = bvNone;
    int FBevelWidth = 1;
    TColor FBevelSpaceColor = clBtnFace;
    TBorderStyle FBorderStyle = bsNone;
    TFlatBorderType FBorderType = fbtSunken;
    TBorderSides FBorderSides = AllBorderSides;
    TFlatFrameColors FBorderColors;
    TAlignment FAlignment = taCenter;
    TTextLayout FLayout = tlCenter;
    bool FWordWrap = false;
    bool FShowFocus = false;
    bool FOwnerDraw = false;
    bool FAlwaysPaintBackground = false;
    bool FTransparent = false;
    bool FTransparentXPThemes = true;
    TThemeSettings FTheme;
    bool FDoubleBuffered = false;
    bool FResizable = false;
    bool FMovable = false;
    bool FSizeGrip = false;
    TFlatPanelGrabHandle FLeftGrabHandle{*this, ghkLeft};
    TFlatPanelGrabHandle FTopGrabHandle{*this, ghkTop};
    TFlatPanelGrabHandle FRightGrabHandle{*this, ghkRight};
    TFlatPanelGrabHandle FBottomGrabHandle{*this, ghkBottom};
    HDC FMemoryDC = nullptr;    // the off-screen context while painting
    TCanvas* FCanvas = nullptr; // the canvas while painting
    RECT FSizeGripRect{};       // where the size grip was last drawn
};

// The flat panel as placed on a form; all properties are those of TCustomFlatPanel.
class TFlatPanel : public TCustomFlatPanel {
  public:
    using TCustomFlatPanel::TCustomFlatPanel;
};
