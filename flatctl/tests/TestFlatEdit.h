// A flat edit core without a window for tests: fixed-width painter, a string clipboard, a
// focus flag and counters for the change events.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "flatctl/core/FlatEditCore.h"
#include "flatctl/tests/FakeTextPainter.h"

class TestFlatEdit : public TObject, public TFlatEditCore {
  public:
    // A 189 × 20 edit rectangle: 187 pixels of text between the 1-pixel margins.
    TestFlatEdit() {
        auto painter = std::make_unique<FakeTextPainter>();
        Fake = painter.get();
        SetPainter(std::move(painter));
        SetEditRect({0, 0, 189, 20});
        OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, this);
            ++Changes;
        };
        OnSelectionChange = [this](TObject*) { ++SelectionChanges; };
    }

    void ResetCounts() { Changes = SelectionChanges = 0; }

    FakeTextPainter* Fake;
    std::u16string Clipboard;
    bool Focus = true;
    int Changes = 0;
    int SelectionChanges = 0;

  protected:
    TObject* EventSender() override { return this; }
    bool HasFocus() const override { return Focus; }
    std::u16string GetClipboardText() override { return Clipboard; }
    void PutClipboardText(const std::u16string& text) override { Clipboard = text; }
};

// Types text one character at a time as the character messages would.
inline void TypeText(TFlatEditCore& edit, const std::u16string& text) {
    for (char16_t c : text)
        edit.KeyPress(c);
}
