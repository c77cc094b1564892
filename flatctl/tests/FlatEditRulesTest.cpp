// Rules of the flat edit that hold whatever way text comes in: MaxLength after a key-press
// handler, the character case for every way in and across undo, one undo step per user
// action, and the anchor inside the text.
#include <gtest/gtest.h>

#include <functional>

#include "flatctl/core/EditCommands.h"
#include "flatctl/tests/TestFlatEdit.h"

namespace {

// The text as WM_SETTEXT from any sender stores it.
class MessageFlatEdit : public TestFlatEdit {
  public:
    using TFlatEditCore::ApplyText;
};

} // namespace

TEST(FlatEditRules, KeyPressHandlerCannotOverfillMaxLength) {
    struct Case {
        const char* name;
        int maxLength;
        const char16_t* start;
        int selStart, selLength;
        std::function<void(TestFlatEdit&)> input;
        const char16_t* result;
    };
    auto tab = [](TestFlatEdit& e) { e.ExecuteCommand(ecTab, 0, {}); };
    auto type = [](TestFlatEdit& e) { TypeText(e, u"x"); };
    const Case cases[] = {
        {"Tab tripled into an empty field of one", 1, u"", 0, 0, tab, u"\t"},
        {"typed character tripled", 3, u"a", 1, 0, type, u"axx"},
        {"typed over a selection", 3, u"abc", 1, 1, type, u"axc"},
        {"input method", 3, u"a", 1, 0, [](TestFlatEdit& e) { e.InsertComposition(u"x"); }, u"axx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFlatEdit e;
        e.SetWantTabs(true);
        e.SetText(c.start);
        e.SetMaxLength(c.maxLength);
        e.SetSelStart(c.selStart);
        e.SetSelLength(c.selLength);
        e.OnKeyPressEx = [](TObject*, std::u16string& key) { key += key + key; };
        c.input(e);
        EXPECT_EQ(e.Text(), c.result);
    }
}

TEST(FlatEditRules, CharCaseHoldsForEveryWayIn) {
    struct Case {
        const char* name;
        std::function<void(MessageFlatEdit&)> input;
        const char16_t* result;
    };
    const Case cases[] = {
        {"typed", [](MessageFlatEdit& e) { TypeText(e, u"xy"); }, u"ABXYC"},
        {"pasted",
         [](MessageFlatEdit& e) {
             e.Clipboard = u"xy";
             e.PasteFromClipboard();
         },
         u"ABXYC"},
        {"input method", [](MessageFlatEdit& e) { e.InsertComposition(u"xy"); }, u"ABXYC"},
        {"replacing the selection by message", [](MessageFlatEdit& e) { e.SetSelText(u"xy"); },
         u"ABXYC"},
        {"set by message", [](MessageFlatEdit& e) { e.ApplyText(u"new \u00e4"); }, u"NEW \u00c4"},
        {"dropped",
         [](MessageFlatEdit& e) {
             e.DropText({1 + 7 * 2, 5}, u"xy");
         },
         u"ABXYC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageFlatEdit e;
        e.SetText(u"abc");
        e.SetCharCase(eecUpperCase);
        e.SetSelStart(2);
        c.input(e);
        EXPECT_EQ(e.Text(), c.result);
    }
}

// A character outside the basic plane arrives as two character messages and goes in as one
// character: both halves or neither, one undo step.
TEST(FlatEditRules, ACharacterOfTwoMessagesIsOneCharacter) {
    TestFlatEdit e;
    TypeText(e, u"a\U0001F600");
    EXPECT_EQ(e.Text(), u"a\U0001F600");
    e.Undo();
    EXPECT_EQ(e.Text(), u"a");
    e.KeyPress(u"\U0001F600"[0]);
    e.KeyPress(u'b'); // a first half without its partner is dropped
    EXPECT_EQ(e.Text(), u"ab");
}

// Switching the case conversion on keeps no undo record that would bring back letters of
// the other case, also when the text itself needed no conversion.
TEST(FlatEditRules, UndoAfterSwitchingTheCaseBringsBackNoOtherCase) {
    TestFlatEdit e;
    TypeText(e, u"ab");
    e.ExecuteCommand(ecBackspace, 0, {});
    e.ExecuteCommand(ecBackspace, 0, {});
    e.SetCharCase(eecUpperCase);
    EXPECT_EQ(e.Text(), u"");
    EXPECT_FALSE(e.CanUndo());
    e.Undo();
    EXPECT_EQ(e.Text(), u"");
}

// A limit shorter than the text cuts it, never through a surrogate pair.
TEST(FlatEditRules, MaxLengthCutsWholeCharacters) {
    TestFlatEdit e;
    e.SetText(u"ab\U0001F600");
    e.SetMaxLength(3);
    EXPECT_EQ(e.Text(), u"ab");
}

// A limit set after typing: no undo brings back a text longer than it, while undo records
// that stay within it are kept.
TEST(FlatEditRules, UndoKeepsToAMaxLengthSetLater) {
    TestFlatEdit e;
    TypeText(e, u"abcdef");
    for (int i = 0; i < 4; ++i)
        e.ExecuteCommand(ecBackspace, 0, {});
    e.SetMaxLength(6);
    EXPECT_TRUE(e.CanUndo());
    e.SetMaxLength(3);
    EXPECT_EQ(e.Text(), u"ab");
    while (e.CanUndo()) {
        e.Undo();
        EXPECT_LE(e.TextLength(), 3) << "undo past the limit";
    }
}

// Ctrl+Backspace over a selection removes the selection and the word before it; one undo
// gives back the text as it was, never the text with only one of the two removed.
TEST(FlatEditRules, CtrlBackspaceOverASelectionIsOneUndoStep) {
    TestFlatEdit e;
    e.SetText(u"one two three");
    e.SelectRange(11, 13);
    e.ExecuteCommand(ecDeleteWordLeft, 0, {});
    EXPECT_EQ(e.Text(), u"one two ");
    e.Undo();
    EXPECT_EQ(e.Text(), u"one two three");
    EXPECT_FALSE(e.CanUndo());
}

// After a collapse that leaves the anchor away from the caret, deleting at the caret keeps
// the anchor and the selection inside the shorter text, as Backspace does.
TEST(FlatEditRules, DeleteKeepsTheAnchorInsideTheText) {
    TestFlatEdit e;
    e.SetText(u"abcdef");
    e.SelectRange(2, 6); // caret at 2, anchor at 6
    e.ExecuteCommand(ecCollapse, 0, {});
    for (int i = 0; i < 3; ++i)
        e.ExecuteCommand(ecDeleteChar, 0, {});
    EXPECT_EQ(e.Text(), u"abf");
    EXPECT_EQ(e.Anchor(), e.CaretXY());
    EXPECT_LE(e.SelLast().X, e.TextLength());
}
