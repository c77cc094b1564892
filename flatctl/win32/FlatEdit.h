// TCustomFlatEdit / TFlatEdit: the self-drawn single-line edit as a child window of its own
// class: flat frame in the non-client area, double-buffered text, system caret, mouse,
// clipboard and context menu over the portable editing core.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "flatctl/core/FlatEditCore.h"
#include "flatctl/win32/EditContextMenu.h"
#include "flatctl/win32/FlatFrame.h"
#include "flatctl/win32/ThemedControl.h"
#include "flatctl/win32/WinTextPainter.h"
#include "framework/win32/Form.h"
#include "framework/win32/Menus.h"

// Colours used while the edit is read-only (when Enabled).
class TDisplayOptions {
  public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { Set(FEnabled, v); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor v) { Set(FBkColor, v); }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v) { Set(FTextColor, v); }

    std::function<void()> OnChange;

  private:
    template <class T> void Set(T& field, T v) {
        if (field == v) return;
        field = v;
        if (OnChange) OnChange();
    }
    bool FEnabled = false;
    TColor FBkColor = clWindow;
    TColor FTextColor = clWindowText;
};

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

class TCustomFlatEdit : public TThemedControl, public TFlatEditCore {
  public:
    explicit TCustomFlatEdit(TComponent* owner);
    ~TCustomFlatEdit() override;

    using TFlatEditCore::SetText;
    using TFlatEditCore::Text;

    // --- Frame ------------------------------------------------------------------------
    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TFlatBorderType ActiveBorderType() const { return FActiveBorderType; }
    virtual void SetActiveBorderType(TFlatBorderType v);
    TFlatBorderType InactiveBorderType() const { return FInactiveBorderType; }
    virtual void SetInactiveBorderType(TFlatBorderType v);
    TBorderSides BorderSides() const { return FBorderSides; }
    void SetBorderSides(TBorderSides v);
    const TFlatFrameColors& BorderColors() const { return FBorderColors; }
    void SetBorderColorDkShadow(TColor v) { SetFrameColor(FBorderColors.DkShadow, v); }
    void SetBorderColorFace(TColor v) { SetFrameColor(FBorderColors.Face, v); }
    void SetBorderColorShadow(TColor v) { SetFrameColor(FBorderColors.Shadow, v); }
    void SetBorderColorHighlight(TColor v) { SetFrameColor(FBorderColors.Highlight, v); }
    void SetBorderColorWindow(TColor v) { SetFrameColor(FBorderColors.Window, v); }
    TColor LineBorderActiveColor() const { return FLineBorderActiveColor; }
    virtual void SetLineBorderActiveColor(TColor v) { SetFrameColor(FLineBorderActiveColor, v); }
    TColor LineBorderInactiveColor() const { return FLineBorderInactiveColor; }
    virtual void SetLineBorderInactiveColor(TColor v) {
        SetFrameColor(FLineBorderInactiveColor, v);
    }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    // Paints the frame into the window's non-client area for the current state.
    void DrawFrame();

    // --- Size and colours -------------------------------------------------------------
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    virtual void AdjustHeight();
    bool UseDisabledColors() const { return FUseDisabledColors; }
    void SetUseDisabledColors(bool v);
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor v);
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor v);
    TDisplayOptions& DisplayReadOnlyOptions() { return FReadOnlyOptions; }
    const std::u16string& CueBanner() const { return FCueBanner; }
    void SetCueBanner(const std::u16string& v);
    // The first character of `v` masks the text; empty for none.
    void SetPasswordText(const std::u16string& v) { SetPasswordChar(v.empty() ? 0 : v[0]); }

    // --- Menu, keys, state ------------------------------------------------------------
    bool UseSystemMenu() const { return FUseSystemMenu; }
    void SetUseSystemMenu(bool v) { FUseSystemMenu = v; }
    bool LocalizedSystemMenu() const { return FLocalizedSystemMenu; }
    void SetLocalizedSystemMenu(bool v) { FLocalizedSystemMenu = v; }
    bool HandleDialogKeys() const { return FHandleDialogKeys; }
    void SetHandleDialogKeys(bool v) { FHandleDialogKeys = v; }
    bool MouseOver() const { return MouseInside(); }
    // Puts the system caret at the caret position again.
    void ScrollCaret() { PlaceCaret(); }
    // The context menu with its entries' captions and states, as it would be shown now.
    TEditContextMenu CreateContextMenu();

    TKeyEvent OnKeyDown;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void ThemeChanged() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // A flat frame shows the pointer over an unfocused edit.
    void MouseEnter() override;
    void MouseLeave() override;

    // TFlatEditCore hooks.
    TObject* EventSender() override { return this; }
    void InvalidateText() override;
    void PlaceCaret() override;
    bool HasFocus() const override { return Focused(); }
    std::u16string GetClipboardText() override;
    void PutClipboardText(const std::u16string& text) override;
    std::u16string ConvertCase(const std::u16string& text, bool upper) const override;
    void StoreText(const std::u16string& text) override;
    // Every change of the text is a change of the accessible value.
    void Change(bool byUser) override;
    // The module whose edit menu the context menu shows (the platform's user32).
    virtual HMODULE SystemMenuModule() const;
    // The painter factory.
    virtual std::unique_ptr<TTextPainter> CreatePainter();
    virtual TColor BackgroundColor() const;
    virtual TColor TextColor() const;

  private:
    bool FlatFrameMode() const;
    void SetFrameColor(TColor& field, TColor v);
    void FrameChanged();
    void UpdateFontMetrics();
    void CreateEditCaret();
    void DestroyEditCaret();
    void Paint();
    void NcCalcSize(NCCALCSIZE_PARAMS* params);
    LRESULT TextMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    void ContextMenu(LPARAM lParam);
    LRESULT KeyMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    // The characters a key-down produces, as pending keys; false when it produces none.
    bool TranslateKey(WORD key, LPARAM keyData);
    void StartComposition();
    bool CompositionResult(LPARAM flags);
    void MenuCommand(UINT id);
    TCustomFlatEdit* DropTargetAt(TPoint p, TPoint& targetPoint) const;
    void ShowDropCursor(TPoint p);
    void DropDraggedText(TPoint p, bool copy);
    // Ends a running text drag without a drop (focus or capture lost, Escape).
    void EndTextDrag();

    TWinTextPainter* FWinPainter = nullptr;
    bool FFlat = false;
    TBorderStyle FBorderStyle = bsSingle;
    TFlatBorderType FActiveBorderType = fbtSunken;
    TFlatBorderType FInactiveBorderType = fbtSunkenOuter;
    TBorderSides FBorderSides = AllBorderSides;
    TFlatFrameColors FBorderColors;
    TColor FLineBorderActiveColor = clBtnFace;
    TColor FLineBorderInactiveColor = clBtnFace;
    bool FCtl3D = true;
    bool FAutoSize = true;
    bool FUseDisabledColors = false;
    TColor FDisabledColor = clBtnFace;
    TColor FDisabledFontColor = clGrayText;
    TDisplayOptions FReadOnlyOptions;
    std::u16string FCueBanner;
    bool FUseSystemMenu = true;
    bool FLocalizedSystemMenu = false;
    bool FHandleDialogKeys = false;
    bool FHasCaret = false;
    int FCaretHeight = 0;
    bool FBoldFont = false;
    UINT FInputCharset = DEFAULT_CHARSET;
    using TToUnicode = int(WINAPI*)(UINT, UINT, const BYTE*, LPWSTR, int, UINT);
    TToUnicode FToUnicode = nullptr;
};

// The flat edit as the layout uses it.
class TFlatEdit : public TCustomFlatEdit {
  public:
    using TCustomFlatEdit::TCustomFlatEdit;
};
