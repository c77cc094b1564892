// TFlatProgressBar: painting (frame, background, filled share) and its accessible object.
#include "flatctl/win32/FlatProgressBar.h"

#include <algorithm>

#include "framework/win32/AccessibleModel.h"
#include "framework/win32/Canvas.h"

namespace {

class TFlatProgressBarAccessible : public TAccessibleModel {
  public:
    explicit TFlatProgressBarAccessible(TFlatProgressBar& bar) : TAccessibleModel(bar), FBar(bar) {}
    long Role() const override { return ROLE_SYSTEM_PROGRESSBAR; }
    std::u16string Value() const override { return FBar.ValueText(); }
    long State() const override { return TAccessibleModel::State() | STATE_SYSTEM_READONLY; }

  private:
    TFlatProgressBar& FBar;
};

} // namespace

TFlatProgressBar::TFlatProgressBar(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 150;
    FHeight = 12;
    FParentColor = false;
    FColor = clWhite;
}

void TFlatProgressBar::SetShare(std::optional<int> permille) {
    if (permille) permille = std::clamp(*permille, 0, 1000);
    if (permille == FShare) return;
    FShare = permille;
    Invalidate();
}

void TFlatProgressBar::SetFrameColor(TColor v) {
    if (v == FFrameColor) return;
    FFrameColor = v;
    Invalidate();
}

void TFlatProgressBar::SetBarColor(TColor v) {
    if (v == FBarColor) return;
    FBarColor = v;
    Invalidate();
}

void TFlatProgressBar::Paint(TCanvas& canvas) {
    const int w = FWidth, h = FHeight;
    if (w <= 0 || h <= 0) return;
    // The frame as four one-pixel edges, the inside in the background colour.
    canvas.FillRect({0, 0, w, 1}, FFrameColor);
    canvas.FillRect({0, h - 1, w, h}, FFrameColor);
    canvas.FillRect({0, 0, 1, h}, FFrameColor);
    canvas.FillRect({w - 1, 0, w, h}, FFrameColor);
    if (w <= 2 || h <= 2) return;
    const RECT inside{1, 1, w - 1, h - 1};
    // One pixel of the background between the frame and the bar.
    const int innerWidth = w - 4;
    const int filled = FShare && innerWidth > 0 ? innerWidth * *FShare / 1000 : 0;
    canvas.FillRect(inside, FColor);
    if (filled > 0 && h > 4) canvas.FillRect({2, 2, 2 + filled, h - 2}, FBarColor);
}

std::unique_ptr<TAccessibleModel> TFlatProgressBar::CreateAccessibleModel() {
    return std::make_unique<TFlatProgressBarAccessible>(*this);
}
