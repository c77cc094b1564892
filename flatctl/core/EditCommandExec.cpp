// TFlatEditCore: running commands (movement, selection, deletion, insertion, clipboard,
// undo, bookmarks) and typed-character input.
#include "flatctl/core/FlatEditCore.h"

#include <algorithm>
#include <utility>

#include "flatctl/core/EditCommands.h"

void TFlatEditCore::CommandCenter(int command, char16_t ch, const std::u16string& data) {
    if (FOnBeforeCommand) {
        int c = command;
        char16_t k = ch;
        std::u16string d = data;
        FOnBeforeCommand(*this, c, k, d);
    }
    ExecuteCommand(command, ch, data);
    if (FOnAfterCommand) {
        int c = command;
        char16_t k = ch;
        std::u16string d = data;
        FOnAfterCommand(*this, c, k, d);
    }
}

void TFlatEditCore::ExecuteCommand(int command, char16_t ch, const std::u16string& data) {
    const int page = std::max(FLinesInRect, 1);
    // Moves the caret, then either keeps a selection-free caret or extends.
    auto moveTo = [this](TEditPos p) { MoveCaret(p); };
    auto collapseMove = [&](TEditPos p) {
        Collapse();
        moveTo(p);
        Reanchor();
    };
    auto extendTo = [&](TEditPos p) {
        moveTo(p);
        Extend();
    };
    const TEditPos c = FCaret;
    switch (command) {
    case ecLeft:
        collapseMove({c.X - 1, c.Y});
        break;
    case ecRight:
        collapseMove({c.X + 1, c.Y});
        break;
    case ecUp:
        collapseMove({c.X, c.Y - 1});
        break;
    case ecDown:
        collapseMove({c.X, c.Y + 1});
        break;
    case ecPageUp:
        collapseMove({c.X, c.Y - page});
        break;
    case ecPageDown:
        collapseMove({c.X, c.Y + page});
        break;
    case ecLineStart:
        collapseMove({0, c.Y});
        break;
    case ecLineEnd:
        collapseMove({RowLength(c.Y), c.Y});
        break;
    case ecWordRight:
        moveTo({GetNextWord(c.X), c.Y});
        Collapse();
        Reanchor();
        InvalidateText();
        break;
    case ecWordLeft:
        moveTo({GetPrevWord(c.X - 1), c.Y});
        Collapse();
        Reanchor();
        InvalidateText();
        break;
    case ecTextStart:
        collapseMove({0, 0});
        break;
    case ecTextEnd:
        collapseMove(EndOfText());
        break;
    case ecUndo:
        Undo();
        break;
    case ecCut:
        CutToClipboard();
        break;
    case ecCopy:
        CopyToClipboard();
        break;
    case ecPaste:
        PasteFromClipboard();
        break;
    case ecBackspace:
        Backspace();
        break;
    case ecDeleteChar:
        DeleteChar();
        break;
    case ecDeleteWordLeft:
        if (FReadOnly) break;
        {
            // A selection and the word before it go as one undo step.
            const bool twoParts = FSelected;
            if (twoParts) FUndoList.Push({atGroupBreak, c, c, {}});
            bool changed = RemoveSelection();
            extendTo({GetPrevWord(FCaret.X - 1), FCaret.Y});
            changed |= RemoveSelection();
            if (twoParts) FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
            if (changed) UserChanged();
        }
        break;
    case ecDeleteWordRight:
        if (FReadOnly) break;
        extendTo({GetNextWord(c.X), c.Y});
        if (RemoveSelection()) UserChanged();
        break;
    case ecChar:
    case ecString:
        InsertTypedText(data);
        break;
    case ecLineBreak:
        break; // single-line edits have no paragraph break
    case ecTab:
        if (FWantTabs && (FMaxLength == 0 || TextLength() < FMaxLength)) InsertTypedText(u"\t");
        break;
    case ecIndent:
    case ecUnindent:
        break;
    case ecStress:
        if (FReadOnly || (FMaxLength > 0 && TextLength() >= FMaxLength)) break;
        if (c.X == 0 || Row(c.Y)[std::size_t(c.X - 1)] != u'\u0301') {
            FUndoList.Push({atGroupBreak, c, c, {}});
            RemoveSelection();
            TEditPos at = FCaret;
            InsertAt(at, u"\u0301");
            FUndoList.Push({atInsert, at, {at.X + 1, at.Y}, u"\u0301"});
            FUndoList.Push({atGroupBreak, at, at, {}});
            UserChanged();
        }
        ExecuteCommand(ecRight, 0, {});
        break;
    case ecSelLeft:
        extendTo({c.X - 1, c.Y});
        break;
    case ecSelRight:
        extendTo({c.X + 1, c.Y});
        break;
    case ecSelLineStart:
        extendTo({0, c.Y});
        break;
    case ecSelLineEnd:
        extendTo({RowLength(c.Y), c.Y});
        break;
    case ecSelTextStart:
        extendTo({0, 0});
        break;
    case ecSelTextEnd:
        extendTo(EndOfText());
        break;
    case ecSelWordLeft:
        extendTo({GetPrevWord(c.X - 1), c.Y});
        break;
    case ecSelWordRight:
        extendTo({GetNextWord(c.X), c.Y});
        break;
    case ecSelUp:
        extendTo({c.X, c.Y - 1});
        break;
    case ecSelDown:
        extendTo({c.X, c.Y + 1});
        break;
    case ecSelPageUp:
        extendTo({c.X, c.Y - page});
        break;
    case ecSelPageDown:
        extendTo({c.X, c.Y + page});
        break;
    case ecSelectAll:
        SelectAll();
        break;
    case ecDeleteSelection:
        if (!FReadOnly && RemoveSelection()) UserChanged();
        break;
    case ecCollapse:
        Collapse();
        break;
    default:
        if (command >= ecSetBookmark0 && command <= ecSetBookmark0 + 9)
            SetBookmark(command - ecSetBookmark0);
        else if (command >= ecGotoBookmark0 && command <= ecGotoBookmark0 + 9)
            GotoBookmark(command - ecGotoBookmark0);
        break;
    }
}

void TFlatEditCore::SetBookmark(int n) {
    if (n < 0 || n > 9) return;
    TEditPos& slot = FBookmarks[std::size_t(n)];
    slot = slot == FCaret ? TEditPos{-1, -1} : FCaret;
}

// A cleared slot (-1, -1) clamps to column 0 of the first row.
void TFlatEditCore::GotoBookmark(int n) {
    if (n < 0 || n > 9) return;
    const TEditPos slot = FBookmarks[std::size_t(n)];
    Collapse();
    MoveCaret({FCaret.X, slot.Y});
    MoveCaret(slot);
    Reanchor();
}

void TFlatEditCore::SetPendingKeys(const std::u16string& keys) {
    FPendingKeys = keys;
    FKeyDownFlag = !keys.empty();
}

void TFlatEditCore::SetStress(std::uint16_t shortCut) {
    FKeyCommands.Delete(ecStress);
    FStressShortCut = shortCut;
    if (!shortCut) return;
    std::uint16_t key;
    TShiftState shift;
    ShortCutToKey(shortCut, key, shift);
    FKeyCommands.Add(key, shift, u"Set stress sign", ecStress);
}

bool TFlatEditCore::KeyDown(std::uint16_t key, TShiftState shift) {
    shift &= KeyShiftMask;
    // Shift, Ctrl and Alt on their own (and their auto-repeat) are no keystrokes.
    if (key == 16 || key == 17 || key == 18 || (key >= 0xA0 && key <= 0xA5)) return false;
    if (FSelecting) return false;
    if (!Multiline()) {
        switch (key) {
        case vkPrior:
            key = vkHome;
            break;
        case vkNext:
            key = vkEnd;
            break;
        case vkUp:
            key = vkLeft;
            break;
        case vkDown:
            key = vkRight;
            break;
        }
    }
    if (FFirstKey) {
        const int i = FKeyCommands.Find(FFirstKey, FFirstShift, key, shift);
        FFirstKey = 0;
        FSuppressChar = FKeyDownFlag;
        CommandCenter(i >= 0 ? FKeyCommands.Item(i).Command : ecNone, 0, {});
        return true;
    }
    const int i = FKeyCommands.Find(key, shift);
    if (i >= 0) {
        CommandCenter(FKeyCommands.Item(i).Command, 0, {});
        return true;
    }
    if (FKeyCommands.StartsPair(key, shift)) {
        FFirstKey = key;
        FFirstShift = shift;
        return true;
    }
    return false;
}

void TFlatEditCore::DeadChar(char16_t dead) {
    FDeadChar = dead;
    // A dead key produces no character of its own yet.
    FPendingKeys.clear();
    FKeyDownFlag = false;
}

void TFlatEditCore::KeyPress(char16_t key) {
    if (OnKeyPress) OnKeyPress(EventSender(), key);
    // Backspace, Tab, Enter, Escape and 127 belong to the key-command table.
    if (key == 8 || key == 9 || key == 13 || key == 27 || key == 127) return;
    if (key == 0 || FSelecting) return;
    std::u16string pending = FKeyDownFlag ? FPendingKeys : std::u16string();
    FPendingKeys.clear();
    FKeyDownFlag = false;
    if (FSuppressChar) {
        FSuppressChar = false;
        return;
    }
    if (!FSwallow.empty() && FSwallow.front() == key) {
        FSwallow.erase(0, 1);
        return;
    }
    FSwallow.clear();
    const char16_t dead = std::exchange(FDeadChar, char16_t(0));
    const char16_t firstHalf = std::exchange(FFirstHalf, char16_t(0));
    if (FReadOnly || key < 32) return;
    std::u16string keys;
    if (char16_t composed = dead ? FDeadChars.Find(key, dead) : 0) {
        // The platform reported the dead key but passed the plain base character on.
        keys.assign(1, composed);
    } else if (!pending.empty() && pending.front() == key) {
        // The key-down's characters; the messages for the rest of them are already known.
        keys = pending;
        FSwallow = pending.substr(1);
    } else {
        // The platform's character wins over a translation made before it composed.
        keys.assign(1, key);
    }
    // A character outside the basic plane comes as two messages: the first half waits for
    // the second, and the two go in as one character (whole or not at all at the limit). A
    // half without its partner is no character and goes nowhere.
    if (keys.size() == 1 && keys[0] >= 0xD800 && keys[0] <= 0xDFFF) {
        if (keys[0] <= 0xDBFF) {
            FFirstHalf = keys[0];
            return;
        }
        if (!firstHalf) return;
        keys.insert(keys.begin(), firstHalf);
    }
    TypeCharacters(keys);
}

void TFlatEditCore::TypeCharacters(const std::u16string& text) {
    TypeText(ecChar, text);
}

void TFlatEditCore::InsertComposition(const std::u16string& text) {
    TypeText(ecString, text);
}

void TFlatEditCore::TypeText(int command, const std::u16string& text) {
    if (FReadOnly || text.empty()) return;
    if (FMaxLength >= 1 && TextLength() >= FMaxLength && !FSelected) return; // full
    std::u16string keys = text;
    // Several characters at once must not overfill the field either.
    if (FMaxLength > 0) CutToRoom(keys, FMaxLength - (TextLength() - SelLength()));
    if (!keys.empty()) CommandCenter(command, command == ecChar ? keys.front() : 0, keys);
}
