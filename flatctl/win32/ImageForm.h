// TImageForm: a background image that several flat panels share. The image is tiled from
// the top-left corner of the client area of the window a panel sits in, and each linked
// panel shows the part that lies under it, so neighbouring panels continue one picture.
#pragma once
#include <vector>

#include "framework/win32/Component.h"
#include "framework/win32/Picture.h"

class TCustomFlatPanel;

class TImageForm : public TComponent {
  public:
    explicit TImageForm(TComponent* owner);
    // Every linked panel forgets the image form and repaints.
    ~TImageForm() override;

    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    void SetPicture(const TPicture& v) { FPicture.Assign(v); }

  private:
    friend class TCustomFlatPanel;
    void Link(TCustomFlatPanel* panel) { FPanels.push_back(panel); }
    void Unlink(TCustomFlatPanel* panel);

    TPicture FPicture;
    std::vector<TCustomFlatPanel*> FPanels;
};
