// TFlatProgressBar: a windowless, determinate progress bar in the flat look of the panels: a
// one-pixel frame around the bar's background, filled from the left by the share done.
// Without a share (nothing known about the whole) it shows the empty bar. Assistive
// technology reads it as a progress bar whose value is the text the owner gives.
#pragma once
#include <optional>
#include <string>

#include "framework/win32/Control.h"

class TFlatProgressBar : public TGraphicControl {
  public:
    explicit TFlatProgressBar(TComponent* owner);

    // The share done in thousandths (0..1000), or nothing for a bar without a share.
    std::optional<int> Share() const { return FShare; }
    void SetShare(std::optional<int> permille);
    // The value assistive technology reads ("37%"); the owner says when it has changed
    // enough to be announced (NotifyAccessible with EVENT_OBJECT_VALUECHANGE).
    const std::u16string& ValueText() const { return FValueText; }
    void SetValueText(const std::u16string& v) { FValueText = v; }

    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor v);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor v);

    void Paint(TCanvas& canvas) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;

  private:
    std::optional<int> FShare;
    std::u16string FValueText;
    TColor FFrameColor = clBlack;
    TColor FBarColor = clBlack;
};
