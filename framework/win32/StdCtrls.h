// The platform's push button (TButton) and a plain text label (TLabel).
#pragma once
#include "framework/win32/WinControl.h"

class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* owner);

    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }
    bool Default = false;
    bool Cancel = false;

  protected:
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

    void Paint(TCanvas& canvas) override;

  protected:
    void FontChanged() override;

  private:
    UINT DrawFlags() const;
    void AdjustSize();

    std::u16string FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
};
