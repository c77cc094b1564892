// The flat edit's editing behaviour without a window: words, typed text and undo, the
// clipboard rules with MaxLength and the password character, setting the text, change
// notification, keeping the caret in view, hit testing and the painted runs.
#include <gtest/gtest.h>

#include <functional>

#include "flatctl/core/EditCommands.h"
#include "flatctl/tests/TestFlatEdit.h"

namespace {
std::string Narrow(const std::u16string& s) {
    return std::string(s.begin(), s.end());
}
} // namespace

TEST(FlatEditWords, NextAndPrevious) {
    TestFlatEdit e;
    struct Case {
        const char16_t* text;
        int pos;
        int next, prev;
    };
    const Case cases[] = {
        {u"abc def", 6, 7, 4}, {u"abc def", 3, 4, 0},  {u"abc def", 0, 4, 0}, {u"abc def", 4, 7, 4},
        {u"abc def", 7, 7, 4}, {u"abc def", -1, 4, 0}, {u"ab\tcd", 1, 3, 0},  {u"  ab", 0, 2, 0},
        {u"ab  cd", 3, 4, 0},  {u"ab\rcd", 2, 3, 2},   {u"ab\rcd", 4, 5, 3},  {u"", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text) + " @" + std::to_string(c.pos));
        e.SetText(c.text);
        EXPECT_EQ(e.GetNextWord(c.pos), c.next);
        EXPECT_EQ(e.GetPrevWord(c.pos), c.prev);
    }
}

TEST(FlatEditTyping, TypingOverASelectionIsOneUndoStep) {
    TestFlatEdit e;
    e.SetText(u"hello");
    e.SelectRange(1, 4);
    TypeText(e, u"X");
    EXPECT_EQ(e.Text(), u"hXo");
    EXPECT_TRUE(e.Modified());
    e.Undo();
    EXPECT_EQ(e.Text(), u"hello");
    EXPECT_EQ(e.SelText(), u"ell"); // the removed text is selected again
    EXPECT_FALSE(e.CanUndo());
    EXPECT_FALSE(e.Modified());
}

TEST(FlatEditTyping, UndoStepsOfBackspaceDeleteAndTyping) {
    TestFlatEdit e;
    e.SetText(u"abcd");
    e.SetSelStart(2);
    e.ExecuteCommand(ecBackspace, 0, {});
    e.ExecuteCommand(ecDeleteChar, 0, {});
    EXPECT_EQ(e.Text(), u"ad");
    TypeText(e, u"XY");
    EXPECT_EQ(e.Text(), u"aXYd");
    const std::u16string steps[] = {u"aXd", u"ad", u"acd", u"abcd"};
    const int carets[] = {2, 1, 1, 2};
    for (int i = 0; i < 4; ++i) {
        e.Undo();
        EXPECT_EQ(e.Text(), steps[i]) << "undo " << i;
        EXPECT_EQ(e.CaretX(), carets[i]) << "undo " << i;
    }
    EXPECT_FALSE(e.CanUndo());
    EXPECT_EQ(e.RedoList().Count(), 4u);
}

TEST(FlatEditTyping, BackspaceAtTheStartAfterSettingTextChangesNothing) {
    TestFlatEdit e;
    e.SetText(u"1234");
    e.ResetCounts();
    e.ExecuteCommand(ecBackspace, 0, {});
    e.Undo();
    EXPECT_EQ(e.Text(), u"1234");
    EXPECT_EQ(e.CaretX(), 0);
    EXPECT_FALSE(e.Modified());
    EXPECT_FALSE(e.CanUndo());
    EXPECT_EQ(e.Changes, 0);
}

TEST(FlatEditTyping, MaxLengthAndCharCase) {
    struct Case {
        int maxLength;
        TFlatEditCharCase charCase;
        const char16_t* start;
        int selStart, selLength;
        const char16_t* typed;
        const char16_t* result;
    };
    const Case cases[] = {
        {3, eecNormal, u"abc", 3, 0, u"d", u"abc"}, // full field takes nothing
        {3, eecNormal, u"abc", 0, 2, u"d", u"dc"},  // over a selection it replaces
        {3, eecNormal, u"", 0, 0, u"abcdef", u"abc"},
        {0, eecUpperCase, u"", 0, 0, u"a\u00e4z", u"A\u00c4Z"},
        {0, eecLowerCase, u"", 0, 0, u"AbC", u"abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.result));
        TestFlatEdit e;
        e.SetText(c.start);
        e.SetMaxLength(c.maxLength);
        e.SetCharCase(c.charCase);
        e.SetSelStart(c.selStart);
        e.SetSelLength(c.selLength);
        TypeText(e, c.typed);
        EXPECT_EQ(e.Text(), c.result);
    }
}

TEST(FlatEditProperties, MaxLengthCutsAndCharCaseConvertsTheText) {
    TestFlatEdit e;
    e.SetText(u"Hello");
    e.SetMaxLength(-1);
    EXPECT_EQ(e.MaxLength(), 0);
    e.SetMaxLength(3);
    EXPECT_EQ(e.Text(), u"Hel");
    e.SetCharCase(eecUpperCase);
    EXPECT_EQ(e.Text(), u"HEL");
    e.SetText(u"mixed"); // MaxLength limits the user, not the program
    EXPECT_EQ(e.Text(), u"MIXED");
}

TEST(FlatEditClipboard, PasteWithMaxLength) {
    struct Case {
        const char16_t* start;
        int selStart, selLength;
        const char16_t* result;
    };
    const Case cases[] = {
        {u"1", 1, 0, u"112"},   // two of the five digits fit
        {u"abc", 0, 2, u"12c"}, // over a two-character selection: two fit
        {u"abc", 3, 0, u"abc"}, // full: nothing, not even a change
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.result));
        TestFlatEdit e;
        e.SetMaxLength(3);
        e.SetText(c.start);
        e.SetSelStart(c.selStart);
        e.SetSelLength(c.selLength);
        e.Clipboard = u"12345";
        e.ExecuteCommand(ecPaste, 0, {});
        EXPECT_EQ(e.Text(), c.result);
        EXPECT_EQ(e.Modified(), std::u16string(c.result) != c.start);
    }
}

// Text cut to the room MaxLength leaves never ends in half a surrogate pair.
TEST(FlatEditTyping, NoHalfCharacterAtTheLimit) {
    const std::u16string smiley = u"\U0001F600";
    struct Case {
        const char* name;
        std::function<void(TestFlatEdit&)> insert;
        std::u16string result;
    };
    const Case cases[] = {
        {"input method", [&](TestFlatEdit& e) { e.InsertComposition(smiley); }, u"ab"},
        {"input method, part fits", [&](TestFlatEdit& e) { e.InsertComposition(u"x" + smiley); },
         u"abx"},
        {"paste",
         [&](TestFlatEdit& e) {
             e.Clipboard = smiley;
             e.PasteFromClipboard();
         },
         u"ab"},
        {"unicode character", [&](TestFlatEdit& e) { e.TypeCharacters(smiley); }, u"ab"},
        {"two character messages", [&](TestFlatEdit& e) { TypeText(e, smiley); }, u"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFlatEdit e;
        e.SetMaxLength(3);
        e.SetText(u"ab");
        e.SetSelStart(2);
        c.insert(e);
        EXPECT_EQ(e.Text(), c.result);
    }
}

TEST(FlatEditClipboard, PasteIsTwoUndoStepsAndHandlersSeeTheText) {
    TestFlatEdit e;
    e.SetText(u"abcd");
    e.SelectRange(1, 3);
    e.Clipboard = u"xy";
    int after = 0;
    e.OnPasteClipboardText = [](TObject*, std::u16string& t) { t += u"!"; };
    e.OnAfterPasteClipboardText = [&](TObject*) { ++after; };
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), u"axy!d");
    EXPECT_EQ(e.CaretX(), 4);
    EXPECT_EQ(after, 1);
    e.Undo();
    EXPECT_EQ(e.Text(), u"ad");
    e.Undo();
    EXPECT_EQ(e.Text(), u"abcd");
}

TEST(FlatEditClipboard, CopyCutAndReadOnly) {
    TestFlatEdit e;
    e.SetText(u"secret");
    e.SelectAll();
    e.SetReadOnly(true);
    e.ExecuteCommand(ecCut, 0, {}); // read-only: copies only
    EXPECT_EQ(e.Clipboard, u"secret");
    EXPECT_EQ(e.Text(), u"secret");
    e.Clipboard = u"x";
    e.ExecuteCommand(ecPaste, 0, {});
    EXPECT_EQ(e.Text(), u"secret");
    EXPECT_FALSE(e.Modified());
    e.SetReadOnly(false);
    e.ExecuteCommand(ecCut, 0, {});
    EXPECT_EQ(e.Clipboard, u"secret");
    EXPECT_EQ(e.Text(), u"");
    EXPECT_TRUE(e.Modified());
}

TEST(FlatEditClipboard, PasswordMasksDisplayAndBlocksCopy) {
    TestFlatEdit e;
    e.SetPasswordChar(u'*');
    TypeText(e, u"ab\tc");
    EXPECT_EQ(e.Text(), u"abc"); // Tab is a command, not a character
    EXPECT_EQ(e.DisplayRow(0), u"***");
    e.SelectAll();
    e.Clipboard = u"before";
    e.ExecuteCommand(ecCopy, 0, {});
    e.ExecuteCommand(ecCut, 0, {});
    EXPECT_EQ(e.Clipboard, u"before");
    EXPECT_EQ(e.Text(), u"abc");
    e.SetText(u"a\r\nb");
    EXPECT_EQ(e.DisplayRow(0), u"*\r\n*");
}

TEST(FlatEditText, SettingTextEmptiesUndoAndPutsTheCaretAtTheStart) {
    for (bool userOnly : {true, false}) {
        SCOPED_TRACE(userOnly);
        TestFlatEdit e;
        e.SetNotifyUserChangeOnly(userOnly);
        TypeText(e, u"abc");
        e.ResetCounts();
        e.SetText(u"new text");
        EXPECT_FALSE(e.CanUndo());
        EXPECT_EQ(e.CaretX(), 0);
        EXPECT_EQ(e.LeftChar(), 0);
        EXPECT_FALSE(e.Selected());
        EXPECT_TRUE(e.Modified()); // untouched
        EXPECT_EQ(e.Changes, userOnly ? 0 : 1);
        EXPECT_EQ(e.SelectionChanges, 1);
        e.SetText(u"new text"); // the same text: nothing happens
        EXPECT_EQ(e.SelectionChanges, 1);
    }
}

TEST(FlatEditText, SelectionProperties) {
    TestFlatEdit e;
    e.SetText(u"0123456789");
    e.SetSelStart(3);
    EXPECT_EQ(e.SelStart(), 3);
    EXPECT_EQ(e.SelLength(), 0);
    e.SetSelLength(4);
    EXPECT_EQ(e.SelText(), u"3456");
    EXPECT_EQ(e.CaretX(), 7);
    e.SetSelText(u"ab");
    EXPECT_EQ(e.Text(), u"012ab789");
    EXPECT_EQ(e.SelText(), u"ab");
    EXPECT_EQ(e.CaretX(), 5);
    e.SetSelLength(-2); // from the anchor (3) to SelStart - 2
    EXPECT_EQ(e.SelText(), u"12");
    e.SetSelLength(0);
    EXPECT_FALSE(e.Selected());
    e.SelectRange(8, 2);
    EXPECT_EQ(e.CaretX(), 2);
    EXPECT_EQ(e.Anchor().X, 8);
    e.SetSelStart(100);
    EXPECT_EQ(e.CaretX(), 8);
    e.Undo(); // SelText is undoable as one step
    EXPECT_EQ(e.Text(), u"0123456789");
}

// What each source of a change reports. Every change the user makes sets Modified and fires
// OnChange once; programmatic changes fire it only with NotifyUserChangeOnly false.
TEST(FlatEditText, ChangeNotification) {
    struct Case {
        const char* name;
        std::function<void(TestFlatEdit&)> act;
        bool modified;
        int changesUserOnly, changesAll;
        bool selectionChange;
    };
    auto cmd = [](int c) { return [c](TestFlatEdit& e) { e.ExecuteCommand(c, 0, {}); }; };
    const Case cases[] = {
        {"typed", [](TestFlatEdit& e) { TypeText(e, u"x"); }, true, 1, 1, true},
        {"input method", [](TestFlatEdit& e) { e.ExecuteCommand(ecString, 0, u"xy"); }, true, 1, 1,
         true},
        {"backspace", cmd(ecBackspace), true, 1, 1, true},
        {"delete", [](TestFlatEdit& e) { e.SetSelStart(0), e.ExecuteCommand(ecDeleteChar, 0, {}); },
         true, 1, 1, true},
        {"ctrl+backspace", cmd(ecDeleteWordLeft), true, 1, 1, true},
        {"cut", cmd(ecCut), true, 1, 1, true},
        {"paste", cmd(ecPaste), true, 1, 1, true},
        {"menu delete", cmd(ecDeleteSelection), true, 1, 1, true},
        {"undo", [](TestFlatEdit& e) { e.SetSelText(u"z"), e.ResetCounts(), e.Undo(); }, false, 1,
         1, true},
        {"SetText", [](TestFlatEdit& e) { e.SetText(u"other"); }, false, 0, 1, true},
        {"SelText", [](TestFlatEdit& e) { e.SetSelText(u"q"); }, false, 0, 1, true},
        {"copy", cmd(ecCopy), false, 0, 0, false},
        {"select all", cmd(ecSelectAll), false, 0, 0, true},
    };
    for (bool userOnly : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (userOnly ? " user-only" : " all"));
            TestFlatEdit e;
            e.SetNotifyUserChangeOnly(userOnly);
            e.SetText(u"one two");
            e.SelectRange(4, 7);
            e.Clipboard = u"clip";
            e.ResetCounts();
            c.act(e);
            EXPECT_EQ(e.Modified(), c.modified);
            EXPECT_EQ(e.Changes, userOnly ? c.changesUserOnly : c.changesAll);
            EXPECT_EQ(e.SelectionChanges > 0, c.selectionChange);
        }
    }
}

TEST(FlatEditView, TypingScrollsInStepsAndHomeShowsTheStart) {
    TestFlatEdit e; // 187 px of text, 7 px a character: 26 characters fit
    const int w = e.VisibleWidth();
    const int threeQuarters = (w / 4) * 3 / 7; // characters left of the caret after a jump
    int jumps = 0;
    for (int i = 0; i < 40; ++i) {
        int before = e.LeftChar();
        TypeText(e, u"7");
        int fit = e.Painter().CharsFitRight(w, e.Text(), e.LeftChar());
        EXPECT_GE(e.CaretX(), e.LeftChar());
        EXPECT_LE(e.CaretX(), e.LeftChar() + fit) << "caret out of view after " << i + 1;
        if (e.LeftChar() != before) {
            ++jumps;
            EXPECT_EQ(e.CaretX() - e.LeftChar(), threeQuarters);
        }
    }
    EXPECT_EQ(jumps, 2); // at 27 characters (to 8) and at 35 (to 16)
    EXPECT_EQ(e.LeftChar(), 16);
    e.ExecuteCommand(ecLineStart, 0, {});
    EXPECT_EQ(e.LeftChar(), 0);
    e.ExecuteCommand(ecLineEnd, 0, {});
    EXPECT_EQ(e.LeftChar(), 40 - threeQuarters);
    e.ExecuteCommand(ecSelTextStart, 0, {});
    EXPECT_EQ(e.LeftChar(), 0);
}

TEST(FlatEditView, CaretPointsAndHitTesting) {
    TestFlatEdit e;
    e.SetText(u"aiW\tb");
    // Edges: a 7, i 10, W 21, tab (4 spaces) 49, b 56; the run starts at x 1.
    struct Case {
        int column;
        int x;
    };
    for (const Case& c :
         {Case{0, 1}, Case{1, 8}, Case{2, 11}, Case{3, 22}, Case{4, 50}, Case{5, 57}}) {
        TPoint p = e.PosFromCaret(c.column, 0);
        EXPECT_EQ(p.X, c.x) << c.column;
        EXPECT_EQ(p.Y, 2); // |ascent 13 - line height 15|
    }
    struct Hit {
        int x;
        int column;
    };
    for (const Hit& h : {Hit{-5, 0}, Hit{4, 0}, Hit{5, 1}, Hit{9, 1}, Hit{10, 2}, Hit{35, 3},
                         Hit{36, 4}, Hit{300, 5}}) {
        EXPECT_EQ(e.CaretFromPos({h.x, 5}).X, h.column) << "x " << h.x;
    }
    EXPECT_THROW(e.PosFromCaret(0, 1), EFlatEditError);
    try {
        e.PosFromCaret(0, 3);
    } catch (const EFlatEditError& err) {
        EXPECT_STREQ(err.what(), "Invalid Y position (3)");
    }
    // Scrolled: a column left of the view counts as extent -2.
    e.SetText(std::u16string(60, u'x'));
    e.ExecuteCommand(ecLineEnd, 0, {});
    EXPECT_EQ(e.PosFromCaret(0, 0).X, -2 + 1);
    EXPECT_EQ(e.CaretFromPos({0, 0}).X, e.LeftChar());
}

TEST(FlatEditView, PaintedRunsSplitAtTheSelection) {
    TestFlatEdit e;
    e.SetText(u"abcdef");
    e.SelectRange(2, 4);
    e.PaintRows(clBlack, true);
    ASSERT_EQ(e.Fake->Runs.size(), 3u);
    const auto& r = e.Fake->Runs;
    EXPECT_EQ(r[0].Text, u"ab");
    EXPECT_EQ(r[0].BkColor, clNone);
    EXPECT_EQ(r[1].Text, u"cd");
    EXPECT_EQ(r[1].X, 1 + 14);
    EXPECT_EQ(r[1].BkColor, clHighlight);
    EXPECT_EQ(r[1].Color, clHighlightText);
    EXPECT_EQ(r[2].Text, u"ef");
    EXPECT_EQ(r[2].X, 1 + 28);
    EXPECT_EQ(r[2].Y, 15); // baseline one line height below the top
    // Unfocused with HideSelection: one plain run; without it: the unfocused colours.
    e.Fake->Runs.clear();
    e.PaintRows(clBlack, false);
    ASSERT_EQ(e.Fake->Runs.size(), 1u);
    e.SetHideSelection(false);
    e.Fake->Runs.clear();
    e.PaintRows(clBlack, false);
    ASSERT_EQ(e.Fake->Runs.size(), 3u);
    EXPECT_EQ(e.Fake->Runs[1].BkColor, clBtnFace);
    // Right alignment of a row that fits: ends 2 pixels left of the text area's right edge.
    e.SetAlignment(taRightJustify);
    e.Collapse();
    e.Fake->Runs.clear();
    e.PaintRows(clBlack, true);
    ASSERT_EQ(e.Fake->Runs.size(), 1u);
    EXPECT_EQ(e.Fake->Runs[0].X, 188 - 42 - 2);
}

TEST(FlatEditMouse, DoubleClickSelectsAWordAndTheSpaceAfterIt) {
    TestFlatEdit e;
    e.SetText(u"abc def");
    e.MousePress({9, 5}, true, 0, false, false); // between 'a' and 'b'
    EXPECT_EQ(e.CaretX(), 1);
    e.MouseRelease();
    e.MousePress({9, 5}, true, ssDouble, false, true);
    EXPECT_EQ(e.SelText(), u"abc ");
    e.MouseRelease();
    // Drag from column 1 to beyond the end extends the selection.
    e.MousePress({9, 5}, true, 0, false, false);
    e.MouseDrag({500, 5});
    EXPECT_EQ(e.SelText(), u"bc def");
    e.MouseRelease();
    e.MouseDrag({0, 5}); // released: no effect
    EXPECT_EQ(e.SelText(), u"bc def");
    // Shift+press extends from the anchor.
    e.MousePress({30, 5}, true, ssShift, false, false); // nearest boundary: column 4
    EXPECT_EQ(e.SelText(), u"bc ");
}

TEST(FlatEditMouse, ClickCounting) {
    TClickCounter c;
    c.SetLimits(500, 4, 4);
    EXPECT_FALSE(c.Press(1000, {10, 10}));
    EXPECT_FALSE(c.Press(1200, {11, 10}));
    EXPECT_TRUE(c.Press(1400, {12, 11}));  // third press: select all
    EXPECT_FALSE(c.Press(1500, {12, 11})); // a fourth starts a new count
    EXPECT_EQ(c.Count(), 1);
    EXPECT_FALSE(c.Press(1600, {30, 11})); // too far away: count 1 again
    EXPECT_EQ(c.Count(), 1);
    EXPECT_FALSE(c.Press(2200, {30, 11})); // too late
    EXPECT_EQ(c.Count(), 1);
}

// Text drag: characters are 7 pixels wide from x = 1, so column c starts at x = 1 + 7c.
TEST(FlatEditDrag, StartsOnlyFromInsideTheSelectionPastTheThreshold) {
    auto x = [](int column) { return 1 + 7 * column; };
    struct Case {
        const char* name;
        bool allowed;
        char16_t password;
        int pressColumn;
        bool starts;
    };
    const Case cases[] = {
        {"inside the selection", true, 0, 1, true},
        {"drag not allowed", false, 0, 1, false},
        {"outside the selection", true, 0, 5, false},
        {"masked text", true, u'*', 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFlatEdit e;
        e.SetText(u"abc def");
        e.SetDragAllowed(c.allowed);
        e.SetPasswordChar(c.password);
        e.SelectRange(0, 3);
        const int px = x(c.pressColumn) + 2;
        e.MousePress({px, 5}, true, 0, false, false);
        EXPECT_FALSE(e.StartDragAt({px + 3, 7}, 4, 4)); // below the threshold
        EXPECT_EQ(e.StartDragAt({px + 4, 5}, 4, 4), c.starts);
        e.MouseRelease();
        EXPECT_FALSE(e.TextDragging());
    }
    // A press inside the selection that never becomes a drag is a plain click.
    TestFlatEdit e;
    e.SetText(u"abc def");
    e.SetDragAllowed(true);
    e.SelectRange(0, 3);
    e.MousePress({x(2), 5}, true, 0, false, false);
    EXPECT_EQ(e.SelText(), u"abc"); // kept while the drag is pending
    e.MouseRelease();
    EXPECT_FALSE(e.Selected());
    EXPECT_EQ(e.CaretX(), 2);
}

TEST(FlatEditDrag, DropsAreOneUndoStepEach) {
    auto x = [](int column) { return 1 + 7 * column; };
    // Within one edit the selected text moves (not onto itself).
    TestFlatEdit e;
    e.SetText(u"abc def");
    e.SelectRange(0, 3);
    e.MoveSelectionTo({x(2), 5});
    EXPECT_EQ(e.Text(), u"abc def");
    e.MoveSelectionTo({x(7), 5});
    EXPECT_EQ(e.Text(), u" defabc");
    EXPECT_EQ(e.SelText(), u"abc");
    EXPECT_TRUE(e.Modified());
    e.SelectRange(1, 4);
    e.MoveSelectionTo({x(0), 5});
    EXPECT_EQ(e.Text(), u"def abc");
    e.Undo();
    EXPECT_EQ(e.Text(), u" defabc");
    e.Undo();
    EXPECT_EQ(e.Text(), u"abc def");
    EXPECT_FALSE(e.CanUndo());

    // Between edits: the target takes the text whole or not at all; the source lets it go.
    TestFlatEdit source, target;
    source.SetText(u"hello");
    source.SelectRange(1, 4);
    target.SetText(u"XY");
    target.SetMaxLength(4);
    EXPECT_FALSE(target.CanTakeDrop(u"ell"));
    target.DropText({x(2), 5}, u"ell");
    EXPECT_EQ(target.Text(), u"XY");
    target.SetMaxLength(5);
    target.SetReadOnly(true);
    target.DropText({x(2), 5}, u"ell");
    EXPECT_EQ(target.Text(), u"XY");
    target.SetReadOnly(false);
    target.SetCharCase(eecUpperCase);
    target.DropText({x(1), 5}, u"ell");
    EXPECT_EQ(target.Text(), u"XELLY");
    EXPECT_EQ(target.SelText(), u"ELL");
    source.RemoveDraggedText();
    EXPECT_EQ(source.Text(), u"ho");
    target.Undo();
    EXPECT_EQ(target.Text(), u"XY");
    source.Undo();
    EXPECT_EQ(source.Text(), u"hello");
    EXPECT_EQ(source.SelText(), u"ell");
}
