// Text drag and drop between flat edits under Wine, with the mouse driven by SendInput: a move
// within one edit, a move or a copy (Ctrl) to another edit, the drag threshold, a target that
// cannot take the text, and Escape.
#include <gtest/gtest.h>

#include "flatctl/tests/FlatEditFormFixture.h"

namespace {

class FlatEditDragFixture : public FlatEditFormFixture {
  protected:
    void SetUp() override {
        FlatEditFormFixture::SetUp();
        source = AddEdit(20, 180);
        target = AddEdit(240, 180);
        source->SetDragAllowed(true);
        target->SetDragAllowed(true);
        ShowForm();
        source->SetFocus();
        Pump(30);
    }
    // The screen point a little right of a column's boundary, in the middle of the row.
    static POINT At(TFlatEdit* e, int column, int dx = 2) {
        const TPoint p = e->PosFromCaret(column, 0);
        POINT s{p.X + dx, e->LineHeight() / 2};
        ClientToScreen(e->Handle(), &s);
        return s;
    }
    void Drag(POINT from, POINT to, std::initializer_list<WORD> modifiers = {}) {
        SendDrag(from, to, modifiers, [this] { Pump(30); });
    }

    TFlatEdit* source = nullptr;
    TFlatEdit* target = nullptr;
};

} // namespace

TEST_F(FlatEditDragFixture, MoveWithinOneEditIsOneUndoStep) {
    source->SetText(u"abc def");
    source->SelectRange(0, 3);
    Drag(At(source, 1), At(source, 7, 10));
    EXPECT_EQ(source->Text(), u" defabc");
    EXPECT_EQ(source->SelText(), u"abc");
    SendKey('Z', {VK_CONTROL});
    Pump(60);
    EXPECT_EQ(source->Text(), u"abc def");
}

TEST_F(FlatEditDragFixture, BelowTheDragDistanceAPressInTheSelectionIsAClick) {
    source->SetText(u"abc def");
    source->SelectRange(0, 3);
    const POINT from = At(source, 1);
    Drag(from, {from.x, from.y + GetSystemMetrics(SM_CYDRAG) - 1});
    EXPECT_EQ(source->Text(), u"abc def");
    EXPECT_FALSE(source->Selected());
    EXPECT_EQ(source->CaretX(), 1);
}

TEST_F(FlatEditDragFixture, MoveOrCopyToAnotherEdit) {
    struct Case {
        const char* name;
        std::initializer_list<WORD> modifiers;
        bool targetReadOnly;
        int targetMaxLength;
        std::u16string source, target;
    };
    const Case cases[] = {
        {"move", {}, false, 0, u"ho", u"XYell"},
        {"copy", {VK_CONTROL}, false, 0, u"hello", u"XYell"},
        {"read-only target", {}, true, 0, u"hello", u"XY"},
        {"too long for the target", {}, false, 4, u"hello", u"XY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sleep(GetDoubleClickTime() + 50); // each press is a first click
        source->SetText(u"hello");
        target->SetText(u"XY");
        target->SetReadOnly(c.targetReadOnly);
        target->SetMaxLength(c.targetMaxLength);
        source->SetFocus();
        source->SelectRange(1, 4);
        Pump(30);
        Drag(At(source, 2), At(target, 2, 10), c.modifiers);
        EXPECT_EQ(source->Text(), c.source);
        EXPECT_EQ(target->Text(), c.target);
        if (c.target != u"XY") {
            EXPECT_EQ(GetFocus(), target->Handle());
            EXPECT_EQ(target->SelText(), u"ell");
        }
    }
    // Each edit undoes its own part.
    source->SetFocus();
    SendKey('Z', {VK_CONTROL});
    Pump(60);
    EXPECT_EQ(source->Text(), u"hello");
}

TEST_F(FlatEditDragFixture, EscapeEndsTheDragWithoutADrop) {
    source->SetText(u"hello");
    target->SetText(u"XY");
    source->SelectRange(1, 4);
    // Escape once the drag runs, before the button comes up over the other edit.
    int moves = 0;
    SendDrag(At(source, 2), At(target, 2, 10), {}, [&] {
        if (++moves == 4) SendKey(VK_ESCAPE);
        Pump(30);
    });
    EXPECT_EQ(source->Text(), u"hello");
    EXPECT_EQ(target->Text(), u"XY");
}
