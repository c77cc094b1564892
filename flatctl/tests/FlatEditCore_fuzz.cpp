// libFuzzer target: the flat edit's portable core under a sequence of operations read from
// the input (typing, keys, paste, cut, the text messages, deletes, word moves, selection,
// mouse, drag and drop, undo; MaxLength, ReadOnly, CharCase, the password character and
// the key-press and paste handlers changed in between), its rules checked after every step:
// caret, anchor and selection within the text; no user action takes the text past MaxLength
// or changes a read-only text; the case conversion holds; no cut leaves half a surrogate
// pair; every undo gives a text the field showed within its MaxLength (a paste is two
// steps), and undoing everything gives the text the undo history started from.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "flatctl/core/EditCommands.h"
#include "flatctl/core/FlatEditCore.h"
#include "flatctl/tests/FakeTextPainter.h"

namespace {

class FuzzEdit : public TObject, public TFlatEditCore {
  public:
    FuzzEdit() {
        SetPainter(std::make_unique<FakeTextPainter>());
        SetEditRect({0, 0, 189, 20});
    }
    using TFlatEditCore::ApplyText; // WM_SETTEXT from any sender
    using TFlatEditCore::CaseConverted;
    std::u16string Clipboard;

  protected:
    TObject* EventSender() override { return this; }
    std::u16string GetClipboardText() override { return Clipboard; }
    void PutClipboardText(const std::u16string& text) override { Clipboard = text; }
};

// The input read a byte at a time; past its end every byte is 0.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool More() const { return FPos < FSize; }
    int Pick(int n) { return FPos < FSize ? FData[FPos++] % n : 0; }

  private:
    const std::uint8_t* FData;
    std::size_t FSize, FPos = 0;
};

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
// No half of a surrogate pair without its partner (a text cut or copied from the edit may
// hold one: the caret moves by UTF-16 units).
bool WholePairs(const std::u16string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsHigh(s[i]) && (i + 1 == s.size() || !IsLow(s[i + 1]))) return false;
        if (IsLow(s[i]) && (i == 0 || !IsHigh(s[i - 1]))) return false;
    }
    return true;
}

// 0 to 4 characters: letters of both cases (Latin-1 too), separators, a digit, the combining
// acute accent and a character outside the basic plane (always a whole surrogate pair).
std::u16string Piece(Input& in) {
    static const char16_t* const kParts[] = {u"a",      u"Z", u" ",      u"\t",        u"\u00e4",
                                             u"\u00d6", u"1", u"\u0301", u"\U0001F600"};
    std::u16string s;
    for (int n = in.Pick(5); n > 0; --n)
        s += kParts[in.Pick(9)];
    return s;
}

int g_step = 0;

// With LV_FUZZ_TRACE set, each step's operation and the state it left are printed.
void Trace(int op, const FuzzEdit& e) {
    static const bool on = std::getenv("LV_FUZZ_TRACE") != nullptr;
    if (!on) return;
    std::string text;
    for (char16_t c : e.Text()) {
        char buffer[12];
        std::snprintf(buffer, sizeof buffer, c >= 32 && c < 127 ? "%c" : "\\u%04X", unsigned(c));
        text += buffer;
    }
    std::fprintf(stderr, "step %d op %d: \"%s\" caret %d anchor %d selection %d-%d undo %zu\n",
                 g_step, op, text.c_str(), e.CaretX(), e.Anchor().X, e.SelFirst().X, e.SelLast().X,
                 e.UndoList().Count());
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "rule broken at step %d: %s\n", g_step, what);
    std::abort();
}

void CheckPositions(const FuzzEdit& e) {
    const int len = e.TextLength();
    const TEditPos caret = e.CaretXY(), anchor = e.Anchor(), first = e.SelFirst(),
                   last = e.SelLast();
    Check(caret.Y == 0 && anchor.Y == 0 && first.Y == 0 && last.Y == 0, "one row");
    Check(caret.X >= 0 && caret.X <= len, "caret within the text");
    Check(anchor.X >= 0 && anchor.X <= len, "anchor within the text");
    Check(first.X >= 0 && first.X <= last.X && last.X <= len, "selection within the text");
    Check(e.Selected() == (first != last), "selected exactly when the ends differ");
    Check(!e.Selected() || anchor == first || anchor == last, "the anchor ends a selection");
    Check(e.LeftChar() >= 0 && e.LeftChar() <= len, "view within the text");
}

// Texts an undo may give: those the field showed since its undo history started, none longer
// than a MaxLength set since.
struct History {
    std::u16string Start;
    std::set<std::u16string> Shown;
    void Restart(const std::u16string& text) {
        Start = text;
        Shown = {text};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    FuzzEdit e;
    int keyPressExMode = 0, pasteMode = 0;
    e.OnKeyPressEx = [&](TObject*, std::u16string& key) {
        if (keyPressExMode == 1) key += key;
        if (keyPressExMode == 2) key.clear();
        if (keyPressExMode == 3) key += u"\t";
    };
    e.OnPasteClipboardText = [&](TObject*, std::u16string& text) {
        if (pasteMode == 1) text += text;
        if (pasteMode == 2) text.clear();
        if (pasteMode == 3) text = u"1" + text;
    };
    e.SetText(Piece(in) + Piece(in));
    History history;
    history.Restart(e.Text());

    // clang-format off
    static const int kCommands[] = {
        ecLeft, ecRight, ecLineStart, ecLineEnd, ecWordRight, ecWordLeft, ecTextStart, ecTextEnd,
        ecUndo, ecCut, ecCopy, ecPaste, ecBackspace, ecDeleteChar, ecDeleteWordLeft,
        ecDeleteWordRight, ecLineBreak, ecTab, ecStress, ecSelLeft, ecSelRight, ecSelLineStart,
        ecSelLineEnd, ecSelTextStart, ecSelTextEnd, ecSelWordLeft, ecSelWordRight, ecSelectAll,
        ecDeleteSelection, ecCollapse, ecSetBookmark0, ecGotoBookmark0, ecIndent, ecUp,
        ecPageDown};
    // clang-format on
    static const std::uint16_t kKeys[] = {vkLeft,   vkRight,  vkHome, vkEnd, vkBack,
                                          vkDelete, vkInsert, vkTab,  'A',   'C',
                                          'V',      'X',      'Z',    'K',   '1'};

    for (g_step = 0; in.More() && g_step < 200; ++g_step) {
        const std::u16string before = e.Text();
        const int selStart = e.SelStart(), selEnd = selStart + e.SelLength();
        const std::u16string clipboardBefore = e.Clipboard;
        const std::size_t records = e.UndoList().Count();
        bool user = true;     // a user action (the program's own setters are not)
        bool inserts = false; // inserts whole pairs at the selection: a cut must keep them so
        bool pastes = false;
        const int op = in.Pick(24);
        switch (op) {
        case 0: // typed: a character message each (two for a character outside the plane)
            for (char16_t c : Piece(in)) {
                e.KeyPress(c);
                history.Shown.insert(e.Text()); // each message shows its character
            }
            inserts = true;
            break;
        case 1: // WM_UNICHAR
            e.TypeCharacters(Piece(in));
            inserts = true;
            break;
        case 2:
            e.InsertComposition(Piece(in));
            inserts = true;
            break;
        case 3:
        case 4: {
            const int command = kCommands[in.Pick(int(std::size(kCommands)))];
            pastes = command == ecPaste;
            inserts = (pastes && WholePairs(e.Clipboard)) || command == ecTab;
            e.CommandCenter(command, 0, {});
            break;
        }
        case 5: {
            static const TShiftState kShifts[] = {0, ssShift, ssCtrl, ssCtrl | ssShift, ssAlt};
            const std::uint16_t key = kKeys[in.Pick(int(std::size(kKeys)))];
            const TShiftState shift = kShifts[in.Pick(5)];
            pastes = (key == 'V' && shift == ssCtrl) || (key == vkInsert && shift == ssShift);
            inserts = pastes && WholePairs(e.Clipboard);
            e.KeyDown(key, shift);
            break;
        }
        case 6:
            e.Clipboard = Piece(in);
            e.PasteFromClipboard();
            inserts = pastes = true;
            break;
        case 7:
            e.Undo();
            break;
        case 8:
            e.SelectRange(in.Pick(12) - 1, in.Pick(12) - 1);
            break;
        case 9:
            e.SetSelStart(in.Pick(12) - 1);
            e.SetSelLength(in.Pick(9) - 4);
            break;
        case 10: { // a press, a drag to another point, the release
            const int x = in.Pick(64) * 3 - 10;
            e.MousePress({x, 5}, in.Pick(4) != 0, in.Pick(2) ? ssShift : 0, in.Pick(4) == 0,
                         in.Pick(4) == 0);
            e.MouseDrag({in.Pick(64) * 3 - 10, 5});
            e.MouseRelease();
            break;
        }
        case 11: { // a text drag within the edit
            e.SetDragAllowed(true);
            e.MousePress({in.Pick(32) * 3, 5}, true, 0, false, false);
            if (e.StartDragAt({200, 5}, 4, 4)) e.MoveSelectionTo({in.Pick(64) * 3 - 10, 5});
            e.MouseRelease();
            break;
        }
        case 12:
            e.DropText({in.Pick(64) * 3 - 10, 5}, Piece(in));
            break;
        case 13:
            e.RemoveDraggedText();
            break;
        case 14:
            e.DeadChar(in.Pick(2) ? u'^' : u'`');
            e.KeyPress(in.Pick(2) ? u'a' : u'E');
            break;
        case 15:
            user = false;
            e.SetText(Piece(in));
            break;
        case 16:
            user = false;
            e.ApplyText(Piece(in));
            break;
        case 17: // EM_REPLACESEL and WM_CLEAR: the program's, no read-only or MaxLength check
            user = false;
            e.SetSelText(Piece(in));
            break;
        case 18: // an undo must not bring back a text longer than the new limit
            user = false;
            e.SetMaxLength(in.Pick(8));
            if (e.Text().size() < before.size() && !e.Text().empty())
                Check(!IsHigh(e.Text().back()) || !IsLow(before[e.Text().size()]),
                      "a cut left half a surrogate pair");
            if (e.MaxLength() > 0)
                std::erase_if(history.Shown, [&](const std::u16string& t) {
                    return int(t.size()) > e.MaxLength();
                });
            break;
        case 19:
            user = false;
            e.SetReadOnly(!e.ReadOnly());
            break;
        case 20:
            user = false;
            e.SetCharCase(TFlatEditCharCase(in.Pick(3)));
            break;
        case 21:
            user = false;
            e.SetPasswordChar(e.PasswordChar() ? 0 : u'*');
            break;
        case 22:
            user = false;
            keyPressExMode = in.Pick(4);
            pasteMode = in.Pick(4);
            e.SetWantTabs(in.Pick(2) != 0);
            break;
        case 23:
            user = false;
            e.ClearUndo();
            break;
        }

        const std::u16string after = e.Text();
        Trace(op, e);
        CheckPositions(e);
        if (e.CharCase() != eecNormal) Check(after == e.CaseConverted(after), "case conversion");
        const bool undone = user && e.UndoList().Count() < records;
        if (user) {
            Check(!e.ReadOnly() || after == before, "read-only text changed");
            if (e.MaxLength() > 0 && !undone)
                Check(after.size() <= std::max(before.size(), std::size_t(e.MaxLength())),
                      "MaxLength exceeded");
        }
        if (e.PasswordChar() && op != 6)
            Check(e.Clipboard == clipboardBefore, "masked text copied");
        // What went in at the selection: a prefix of whole characters (every piece is).
        const std::size_t tail = before.size() - std::size_t(selEnd);
        if (inserts && after != before && after.size() >= std::size_t(selStart) + tail &&
            after.compare(0, std::size_t(selStart), before, 0, std::size_t(selStart)) == 0 &&
            after.compare(after.size() - tail, tail, before, std::size_t(selEnd)) == 0) {
            const std::size_t end = after.size() - tail;
            Check(end == std::size_t(selStart) || !IsHigh(after[end - 1]),
                  "a cut left half a surrogate pair");
        }
        if (undone)
            Check(history.Shown.count(after) == 1, "an undo gave a text the field never showed");
        if (!e.CanUndo()) {
            if (user) Check(after == history.Start, "a change left no undo record");
            history.Restart(after);
        }
        history.Shown.insert(after);
        // A paste removes the selection and inserts as two undo steps.
        if (pastes && selEnd > selStart)
            history.Shown.insert(before.substr(0, std::size_t(selStart)) +
                                 before.substr(std::size_t(selEnd)));
    }

    // Undo everything: every step gives a text the field showed, the last the start.
    e.SetReadOnly(false);
    for (int n = 0; e.CanUndo() && n < 1000; ++n) {
        e.Undo();
        CheckPositions(e);
        Check(history.Shown.count(e.Text()) == 1, "an undo gave a text the field never showed");
    }
    Check(!e.CanUndo(), "undo ends");
    Check(e.Text() == history.Start, "undoing everything gives the start text");
    return 0;
}
