// TCustomRichLabel / TRichLabel: a windowless label showing its caption as markup (parsed,
// laid out and painted by its renderer) or as plain text, with links, auto-sizing, border
// inset, vertical layout and the disabled look.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/core/TextLayout.h"
#include "framework/core/ThemeMode.h"
#include "framework/win32/Control.h"
#include "framework/win32/Menus.h"
#include "framework/win32/WinControl.h"
#include "richlabel/core/HtmlLinks.h"
#include "richlabel/win32/HTMLContainer.h"
#include "richlabel/win32/HtmlGdiRender.h"

using TLinkClickEvent = std::function<void(TObject* Sender, const std::u16string& HRef)>;

// The label base: alignment, layout, auto-size, transparency, word wrap, accelerator
// characters, end ellipsis, border inset, theme mode and the plain-text drawing.
class TCustomRichLabel : public TGraphicControl {
  public:
    explicit TCustomRichLabel(TComponent* owner);

    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool v);
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int v);
    TThemeMode ThemeMode() const { return FThemeMode; }
    virtual void SetThemeMode(TThemeMode v);
    bool ThemeGlobalMode() const { return FThemeGlobalMode; }
    virtual void SetThemeGlobalMode(bool v);
    // The old Boolean theme property of stored layouts.
    void SetUseXPThemes(bool v) { SetThemeMode(v ? ttmPlatform : ttmNone); }
    // The hint as set, passed on unchanged to the control's hint (which the tooltip shows).
    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& v) {
        FHint = v;
        TGraphicControl::SetHint(v);
    }
    // The control that the plain caption's accelerator focuses (nullptr once it has gone).
    TWinControl* FocusControl() const { return FFocusControl.Get(); }
    void SetFocusControl(TWinControl* c) { FFocusControl = c; }
    bool DialogChar(char16_t ch) override;
    // The style sheet: none is defined, so applying one changes nothing.
    const std::u16string& StyleName() const { return FStyleName; }
    void SetStyleName(const std::u16string& v) { FStyleName = v; }

    // Marks the start and end of setting the stored properties; the first rebuild runs at
    // the end with the final bounds, font and border width.
    void BeginLoading() { FLoading = true; }
    virtual void Loaded();
    bool Loading() const { return FLoading; }

    // Whether the label is themed (its mode, or the global one, asks for the platform's
    // visual styles and the platform offers them).
    bool Themed() const;
    virtual void ThemeChanged() { Invalidate(); }

  protected:
    // The text shown (a container item or the caption).
    virtual std::u16string LabelText() const { return FCaption; }
    // Draws (or with DT_CALCRECT measures) the label text in plain mode.
    void DoDrawText(HDC dc, RECT& r, UINT flags) const;
    virtual void AdjustBounds();
    virtual void CaptionChanged() {
        AdjustBounds();
        Invalidate();
    }

    std::u16string FHint;
    TComponentRef<TWinControl> FFocusControl;
    std::u16string FCaption;
    std::u16string FStyleName;
    bool FEndEllipsis = false;
    int FBorderWidth = 0;
    TThemeMode FThemeMode = ttmPlatform;
    bool FThemeGlobalMode = false;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FTransparent = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FLoading = false;
};

class TRichLabel : public TCustomRichLabel {
  public:
    explicit TRichLabel(TComponent* owner);
    ~TRichLabel() override;

    bool IsHTML() const { return FIsHTML; }
    void SetIsHTML(bool v);
    TColor LinkColor() const { return FLinkColor; }
    void SetLinkColor(TColor v);
    TFontStyles LinkStyle() const { return FLinkStyle; }
    void SetLinkStyle(TFontStyles v);
    // The cursor chosen for the label (shown when not over a link).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    THTMLContainer* Container() const { return FContainer; }
    void SetContainer(THTMLContainer* v);
    int ContainerIndex() const { return FIndex; }
    void SetContainerIndex(int v);
    bool CheckContainerLinks() const { return FCheck; }
    void SetCheckContainerLinks(bool v) { FCheck = v; }

    // Shown on a context-menu request (a right-click among them) over a link in markup mode;
    // not owned, and forgotten when it is destroyed.
    TPopupMenu* LinkPopupMenu() const { return FLinkPopupMenu.Get(); }
    void SetLinkPopupMenu(TPopupMenu* v) { FLinkPopupMenu = v; }

    THTMLGdiRender& Render() { return *FRender; }
    // The plain text of the label: the parsed text's in markup mode, else the caption.
    std::u16string PlainText() const;
    // Markup: (0, 0, text width, text height); plain: the rectangle DrawTextW computes.
    RECT TextRect() const;
    // The rectangle the markup is drawn into: the client area less the border, placed by
    // Layout and Alignment.
    RECT HTMLTextRect() const;
    // Parses the label text again (markup) and adjusts the bounds, then repaints.
    void Rebuild();
    // The links of the markup as drawn, their boxes in the label's client coordinates.
    std::vector<THTMLLink> Links();

    void Loaded() override;
    void SetAutoSize(bool v) override;
    void SetBorderWidth(int v) override;
    void Paint(TCanvas& canvas) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void Click() override;
    // "&" marks an accelerator in plain text only: markup has none (its "&" starts a
    // character reference, and the markup is drawn without accelerator marks).
    bool DialogChar(char16_t ch) override;
    // Over a link with a LinkPopupMenu: OnContextPopup, then the link menu unless handled.
    bool ContextPopup(POINT screen) override;
    virtual void LinkClick(const std::u16string& href);

    TLinkClickEvent OnLinkClick;
    THTMLImageNeededEvent OnImageNeeded;
    THTMLImageNeededEvent OnImageNeededEx;
    THTMLVariableNeededEvent OnVariableNeeded;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    std::u16string LabelText() const override;
    void AdjustBounds() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void BoundsChanged() override;

  private:
    void PaintHTML(TCanvas& canvas);
    void PaintPlain(TCanvas& canvas);
    void ShowCursor(TCursor c);
    // A client point where the renderer sees it: relative to the text rectangle, whose size
    // comes back in r; false when the point lies outside that rectangle (nothing drawn there).
    bool TextPoint(POINT client, TPoint& p, TRect& r) const;
    bool LinkAt(POINT client, std::u16string& href);
    POINT ScreenToLabel(POINT screen) const;
    void PopupLinkMenu(POINT screen);

    bool FAlreadyInSetBounds = false;
    THTMLContainer* FContainer = nullptr;
    int FIndex = 0;
    THTMLContainerChangeLink FChangeLink;
    bool FCheck = true;
    // The chosen cursor; TControl's own cursor field holds the one shown, which switches
    // between this and the hand over links.
    TCursor FCursor = crDefault;
    std::unique_ptr<THTMLGdiRender> FRender;
    bool FIsHTML = true;
    TColor FLinkColor = 0xFF0000;
    TFontStyles FLinkStyle = fsUnderline;
    TComponentRef<TPopupMenu> FLinkPopupMenu;
    POINT FLastMouse{0, 0};
};
