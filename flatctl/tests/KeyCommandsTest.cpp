// The keyboard layer without a window: the default table, shortcut packing, the command
// lookup with its single-line key replacement and exact shift states, the clipboard and
// undo keys, MaxLength and read-only typing, two-keystroke bookmarks, pending keys and dead
// characters.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "flatctl/core/EditCommands.h"
#include "flatctl/core/KeyCommands.h"
#include "flatctl/tests/TestFlatEdit.h"

namespace {

// One keystroke as the window delivers it: the characters the key-down produced become the
// pending keys, the key-down runs the lookup, then one character message per character.
void Press(TestFlatEdit& e, std::uint16_t key, TShiftState shift = 0,
           const std::u16string& chars = {}) {
    if (!chars.empty()) e.SetPendingKeys(chars);
    e.KeyDown(key, shift);
    for (char16_t c : chars)
        e.KeyPress(c);
}

struct State {
    std::u16string text;
    int caret;
    int anchor;
    std::u16string selected;
    bool operator==(const State&) const = default;
};

State StateOf(const TestFlatEdit& e) {
    return {e.Text(), e.CaretX(), e.Anchor().X, e.SelText()};
}

} // namespace

TEST(KeyCommandList, DefaultTableInOrder) {
    TKeyCommandList t;
    t.DefaultKeyBind();
    ASSERT_EQ(t.Count(), 64);
    struct Row {
        int index;
        std::uint16_t key;
        TShiftState shift;
        std::uint16_t key2;
        int command;
        const char16_t* description;
    };
    const Row rows[] = {
        {0, vkLeft, 0, 0, ecLeft, u"Move cursor left"},
        {3, vkLeft, ssShift | ssCtrl, 0, ecSelWordLeft, u""},
        {7, vkRight, ssShift | ssCtrl, 0, ecSelWordRight, u"Select next word"},
        {12, vkNext, 0, 0, ecPageDown, u"Page down"},
        {18, vkReturn, ssShift, 0, ecLineBreak, u"New line"},
        {19, vkTab, 0, 0, ecTab, u"Insert Tab symbol"},
        {27, vkEnd, ssShift | ssCtrl, 0, ecSelTextEnd, u""},
        {31, vkBack, ssAlt, 0, ecUndo, u"Undo"},
        {34, vkDelete, ssCtrl, 0, ecDeleteWordRight, u"Delete selection"},
        {37, 'K', ssCtrl, 'I', ecIndent, u"Indent selected text"},
        {39, 'K', ssCtrl, '0', 118, u"Set bookmark 0"},
        {58, 'Q', ssCtrl, '9', 140, u"Goto bookmark to 9"},
        {59, 'A', ssCtrl, 0, ecSelectAll, u"Select all"},
        {63, 'Z', ssCtrl, 0, ecUndo, u"Undo"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const TKeyCommand& c = t.Item(r.index);
        EXPECT_EQ(c.Key, r.key);
        EXPECT_EQ(c.ShiftState, r.shift);
        EXPECT_EQ(c.Key2, r.key2);
        EXPECT_EQ(c.Command, r.command);
        EXPECT_EQ(c.Description, r.description);
    }
    EXPECT_EQ(t.Find(vkLeft, ssCtrl | ssAlt), -1);
    EXPECT_EQ(t.Find('K', ssCtrl), -1); // only pairs start with Ctrl+K
    EXPECT_TRUE(t.StartsPair('K', ssCtrl));
    EXPECT_EQ(t.Item(t.Find('Q', ssCtrl, '3', 0)).Command, 134);
    t.Delete(ecCopy); // the first entry with the command: Ctrl+Insert
    EXPECT_EQ(t.Find(vkInsert, ssCtrl), -1);
    EXPECT_GE(t.Find('C', ssCtrl), 0);
}

TEST(KeyCommandList, ShortCutPacking) {
    EXPECT_EQ(ShortCut('A', 0), 0x41);
    EXPECT_EQ(ShortCut('A', ssShift), 0x2041);
    EXPECT_EQ(ShortCut('A', ssCtrl), 0x4041);
    EXPECT_EQ(ShortCut('A', ssAlt | ssCtrl | ssShift), 0xE041);
    EXPECT_EQ(ShortCut(0x141, ssCtrl), 0); // does not fit in 8 bits
    TKeyCommand c{vkDelete, ssShift};
    EXPECT_EQ(c.ShortCut(), 0x202E);
}

TEST(KeyCommands, SingleLineKeysActAsTheirHorizontalTwins) {
    const std::pair<std::uint16_t, std::uint16_t> twins[] = {
        {vkUp, vkLeft}, {vkDown, vkRight}, {vkPrior, vkHome}, {vkNext, vkEnd}};
    for (auto [key, twin] : twins)
        for (TShiftState shift : {TShiftState(0), TShiftState(ssShift), TShiftState(ssCtrl),
                                  TShiftState(ssShift | ssCtrl)}) {
            SCOPED_TRACE(std::to_string(key) + " shift " + std::to_string(shift));
            TestFlatEdit a, b;
            for (TestFlatEdit* e : {&a, &b}) {
                e->SetText(u"abc def ghi");
                e->SetSelStart(5);
            }
            Press(a, key, shift);
            Press(b, twin, shift);
            EXPECT_EQ(StateOf(a), StateOf(b));
            EXPECT_NE(StateOf(a), (State{u"abc def ghi", 5, 5, u""})) << "nothing happened";
        }
}

TEST(KeyCommands, WordsAndSelectionKeys) {
    TestFlatEdit e;
    e.SetText(u"abc def");
    e.ExecuteCommand(ecLineEnd, 0, {});
    Press(e, vkLeft, ssCtrl);
    EXPECT_EQ(e.CaretX(), 4);
    Press(e, vkLeft, ssCtrl);
    EXPECT_EQ(e.CaretX(), 0);
    Press(e, vkRight, ssCtrl);
    EXPECT_EQ(e.CaretX(), 4);
    Press(e, vkEnd);
    Press(e, vkLeft, ssCtrl | ssShift);
    EXPECT_EQ(e.SelText(), u"def");
    Press(e, vkLeft, ssCtrl | ssAlt); // no entry: exact shift states only
    EXPECT_EQ(e.SelText(), u"def");
    // Left with a selection: collapsed, one left of where the caret was.
    e.SetSelStart(2);
    e.SetSelLength(4);
    EXPECT_EQ(e.SelText(), u"c de");
    Press(e, vkLeft);
    EXPECT_FALSE(e.Selected());
    EXPECT_EQ(e.CaretX(), 5);
    Press(e, vkUp, ssShift); // acts as Shift+Left
    EXPECT_EQ(e.SelText(), u"d");
    Press(e, vkHome, ssShift);
    EXPECT_EQ(e.SelText(), u"abc d");
}

TEST(KeyCommands, ClipboardAndUndoKeysInsertNothing) {
    struct Case {
        const char* name;
        std::uint16_t key;
        TShiftState shift;
        char16_t ch; // the control character the key produces, 0 for none
        State after;
        std::u16string clipboard;
    };
    // Start: "one two" with its last letter typed (one undo step) and "two" selected
    // (anchor 4, caret 7); clipboard "X".
    const Case cases[] = {
        {"ctrl+a", 'A', ssCtrl, 1, {u"one two", 7, 0, u"one two"}, u"X"},
        {"ctrl+c", 'C', ssCtrl, 3, {u"one two", 7, 4, u"two"}, u"two"},
        {"ctrl+insert", vkInsert, ssCtrl, 0, {u"one two", 7, 4, u"two"}, u"two"},
        {"ctrl+x", 'X', ssCtrl, 24, {u"one ", 4, 4, u""}, u"two"},
        {"shift+delete", vkDelete, ssShift, 0, {u"one ", 4, 4, u""}, u"two"},
        {"ctrl+v", 'V', ssCtrl, 22, {u"one X", 5, 5, u""}, u"X"},
        {"shift+insert", vkInsert, ssShift, 0, {u"one X", 5, 5, u""}, u"X"},
        {"ctrl+z", 'Z', ssCtrl, 26, {u"one tw", 6, 6, u""}, u"X"},
        {"alt+backspace", vkBack, ssAlt, 0, {u"one tw", 6, 6, u""}, u"X"},
        // The selection, then the word before it.
        {"ctrl+backspace", vkBack, ssCtrl, 127, {u"", 0, 0, u""}, u"X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFlatEdit e;
        e.SetText(u"one tw");
        e.SetSelStart(6);
        Press(e, 'O', 0, u"o");
        e.SetSelStart(4);
        e.SetSelLength(3);
        e.Clipboard = u"X";
        Press(e, c.key, c.shift);
        if (c.ch) e.KeyPress(c.ch);
        EXPECT_EQ(StateOf(e), c.after);
        EXPECT_EQ(e.Clipboard, c.clipboard);
    }
}

TEST(KeyCommands, MaxLengthAndReadOnlyTyping) {
    TestFlatEdit e;
    e.SetMaxLength(3);
    Press(e, '1', 0, u"1");
    Press(e, '2', 0, u"2");
    Press(e, '3', 0, u"3");
    Press(e, '4', 0, u"4"); // full
    EXPECT_EQ(e.Text(), u"123");
    Press(e, vkLeft, ssShift);
    Press(e, vkLeft, ssShift);
    Press(e, '9', 0, u"9"); // replaces the two selected
    EXPECT_EQ(e.Text(), u"19");

    e.SetReadOnly(true);
    Press(e, 'x', 0, u"x");
    Press(e, vkBack);
    e.KeyPress(8);
    Press(e, vkHome);
    Press(e, vkDelete);
    EXPECT_EQ(e.Text(), u"19");
    Press(e, vkEnd, ssShift); // still moves and selects
    EXPECT_EQ(e.SelText(), u"19");
    Press(e, 'C', ssCtrl);
    EXPECT_EQ(e.Clipboard, u"19");
    Press(e, vkLeft);
    EXPECT_EQ(e.CaretX(), 1);
    // What was typed before the field became read-only stays: undo does nothing.
    const std::size_t steps = e.UndoList().Count();
    Press(e, 'Z', ssCtrl);
    e.KeyPress(26);
    Press(e, vkBack, ssAlt);
    e.ExecuteCommand(ecUndo, 0, {});
    EXPECT_EQ(e.Text(), u"19");
    EXPECT_EQ(e.UndoList().Count(), steps);
    EXPECT_EQ(e.RedoList().Count(), 0u);
    e.SetReadOnly(false);
    Press(e, 'Z', ssCtrl);
    EXPECT_EQ(e.Text(), u"123");
}

TEST(KeyCommands, TwoKeystrokeBookmarks) {
    TestFlatEdit e;
    e.SetText(u"0123456789");
    e.SetSelStart(3);
    Press(e, 'K', ssCtrl);
    EXPECT_EQ(e.FirstKey(), 'K');
    Press(e, '1', 0, u"1"); // sets bookmark 1; the digit is not typed
    EXPECT_EQ(e.FirstKey(), 0);
    EXPECT_EQ(e.Text(), u"0123456789");
    EXPECT_EQ(e.Bookmark(1), (TEditPos{3, 0}));
    Press(e, vkEnd);
    Press(e, 'Q', ssCtrl);
    Press(e, '1', 0, u"1");
    EXPECT_EQ(e.CaretX(), 3);
    Press(e, 'K', ssCtrl);
    Press(e, '1', 0, u"1"); // same place again: the slot is cleared
    EXPECT_EQ(e.Bookmark(1), (TEditPos{-1, -1}));
    // Going to a cleared bookmark goes to column 0 of its row.
    Press(e, 'Q', ssCtrl);
    Press(e, '1', 0, u"1");
    EXPECT_EQ(e.CaretXY(), (TEditPos{0, 0}));
    EXPECT_FALSE(e.Selected());
    e.SetSelStart(3);
    Press(e, 'K', ssCtrl);
    Press(e, 'W', 0, u"w"); // no such pair: nothing, and the key is forgotten
    EXPECT_EQ(e.FirstKey(), 0);
    EXPECT_EQ(e.Text(), u"0123456789");
    Press(e, 'w', 0, u"w"); // an ordinary key again
    EXPECT_EQ(e.Text(), u"012w3456789");
    // Ctrl held on its own between the two keystrokes does not count as a keystroke.
    Press(e, 'K', ssCtrl);
    Press(e, 17, ssCtrl);
    Press(e, '2', 0, u"2");
    EXPECT_EQ(e.Bookmark(2), (TEditPos{4, 0}));
}

TEST(KeyCommands, StressShortCut) {
    TestFlatEdit e;
    const std::uint16_t sc = ShortCut('S', ssCtrl);
    e.SetStress(sc);
    EXPECT_EQ(e.StressShortCut(), sc);
    TypeText(e, u"ab");
    Press(e, vkLeft);
    Press(e, 'S', ssCtrl);
    Press(e, 'S', ssCtrl); // after the caret is an accent already only the caret moves
    EXPECT_EQ(e.Text(), u"a\u0301b");
    e.SetStress(0);
    EXPECT_EQ(e.KeyCommands().Find('S', ssCtrl), -1);
}

TEST(KeyCommands, DeadCharactersComposeExactlyOnce) {
    struct Case {
        const char* name;
        char16_t dead;
        std::u16string chars; // the character messages after the dead key
        std::u16string result;
    };
    const Case cases[] = {
        {"platform composed", u'\u00B4', u"\u00E1", u"\u00E1"},
        {"plain base letter", u'\u00B4', u"a", u"\u00E1"},
        {"circumflex", u'^', u"E", u"\u00CA"},
        {"space", u'\u00B4', u"\u00B4", u"\u00B4"},
        {"non-combinable", u'^', u"^x", u"^x"},
        {"greek tonos", u'\u0384', u"\u03B1", u"\u03AC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFlatEdit e;
        e.DeadChar(c.dead);
        TypeText(e, c.chars);
        EXPECT_EQ(e.Text(), c.result);
        EXPECT_EQ(e.PendingDeadChar(), 0);
    }
}

TEST(DeadChars, TableOf152EntriesOverTheListedDeadCharacters) {
    const TDeadCharList list;
    EXPECT_EQ(list.Count(), 152);
    std::map<char16_t, int> perDead;
    std::set<std::pair<char16_t, char16_t>> pairs;
    for (int i = 0; i < list.Count(); ++i) {
        const TDeadChar& d = list.Item(i);
        ++perDead[d.Dead];
        EXPECT_TRUE(pairs.insert({d.Base, d.Dead}).second) << "twice: entry " << i;
        EXPECT_NE(d.Composed, d.Base) << "entry " << i;
    }
    const std::u16string listed = u"`\u00B4^~\u00A8\u00B0\u00A1'\";:\u0384";
    EXPECT_EQ(perDead.size(), listed.size());
    for (char16_t dead : listed)
        EXPECT_GT(perDead[dead], 0) << "no entry for " << int(dead);

    struct Case {
        char16_t base, dead, composed;
    };
    const Case cases[] = {
        {u'A', u'`', u'\u00C0'},      {u'a', u'^', u'\u00E2'},
        {u's', u'\u00B4', u'\u015B'}, {u'S', u'\'', u'\u015A'}, // acute, also as apostrophe
        {u'Y', u'"', u'\u0178'},      {u'u', u'\u00B0', u'\u016F'},
        {u'c', u'\u00A1', u'\u010D'}, {u'c', u'\u02C7', u'\u010D'}, // caron, as listed and reported
        {u'\u03C9', u';', u'\u03CE'}, {u'\u03B9', u':', u'\u03CA'},
        {u'x', u'\u00B4', 0},         {u'a', u'x', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.Find(c.base, c.dead), c.composed) << int(c.base) << " " << int(c.dead);
}

TEST(KeyCommands, PendingKeysOfOneKeystrokeAreInsertedOnce) {
    TestFlatEdit e;
    const std::u16string smiley = u"\U0001F600"; // two UTF-16 units, two character messages
    Press(e, 'Q', 0, smiley);
    EXPECT_EQ(e.Text(), smiley);
    Press(e, 'B', 0, u"b");
    EXPECT_EQ(e.Text(), smiley + u"b");
    // A key handler that changes the character wins over the key-down's translation.
    e.OnKeyPress = [](TObject*, char16_t& k) { k = u'Z'; };
    Press(e, 'C', 0, u"c");
    EXPECT_EQ(e.Text(), smiley + u"bZ");
    // Nothing while a mouse selection runs.
    e.OnKeyPress = nullptr;
    e.MousePress({1, 1}, true, 0, false, false);
    const int caret = e.CaretX();
    Press(e, vkEnd);
    Press(e, 'D', 0, u"d");
    EXPECT_EQ(e.CaretX(), caret);
    EXPECT_EQ(e.Text(), smiley + u"bZ");
    e.MouseRelease();
}
