// TImageForm: the shared picture and the panels that show it.
#include "flatctl/win32/ImageForm.h"

#include <algorithm>

#include "flatctl/win32/FlatPanel.h"

TImageForm::TImageForm(TComponent* owner) : TComponent(owner) {
    FPicture.OnChange = [this](TObject*) {
        for (TCustomFlatPanel* panel : FPanels)
            panel->Invalidate();
    };
}

TImageForm::~TImageForm() {
    const std::vector<TCustomFlatPanel*> panels = FPanels;
    for (TCustomFlatPanel* panel : panels)
        panel->SetImageForm(nullptr);
}

void TImageForm::Unlink(TCustomFlatPanel* panel) {
    std::erase(FPanels, panel);
}
