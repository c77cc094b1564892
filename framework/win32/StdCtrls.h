// The platform's push button (TButton) and a plain text label (TLabel).
#pragma once
#include "framework/win32/WinControl.h"

class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* owner);

    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }
    bool Default = false;
    // A cancel button clicks itself on Escape while it has the focus, in whatever message
    // loop the key arrives.
    bool Cancel = false;

    // Its caption's accelerator clicks it, as the platform's dialog manager does.
    bool DialogChar(char16_t ch) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void CreateParams(TCreateParams& params) override;
    void CommandNotify(WORD code) override;
};

// A windowless text label painted with DrawTextW in its font, on its colour unless
// transparent.
class TLabel : public TGraphicControl {
  public:
    explicit TLabel(TComponent* owner);

    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& caption);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    // "&" marks an accelerator (drawn underlined while the keyboard cues show it).
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    // The control that the caption's accelerator focuses (nullptr once it has gone).
    TWinControl* FocusControl() const { return FFocusControl.Get(); }
    void SetFocusControl(TWinControl* c) { FFocusControl = c; }

    bool DialogChar(char16_t ch) override;

    void Paint(TCanvas& canvas) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void FontChanged() override;

  private:
    UINT DrawFlags() const;
    void AdjustSize();

    std::u16string FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TComponentRef<TWinControl> FFocusControl;
};
