// TKeyCommandList: the default key bindings, lookup of one- and two-keystroke entries, and
// shortcut packing.
#include "flatctl/core/KeyCommands.h"

#include <string>

#include "flatctl/core/EditCommands.h"

std::uint16_t ShortCut(std::uint16_t key, TShiftState shift) {
    if (key > 0xFF) return 0;
    std::uint16_t s = key;
    if (shift & ssShift) s |= 0x2000;
    if (shift & ssCtrl) s |= 0x4000;
    if (shift & ssAlt) s |= 0x8000;
    return s;
}

void ShortCutToKey(std::uint16_t shortCut, std::uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & 0x2000) shift |= ssShift;
    if (shortCut & 0x4000) shift |= ssCtrl;
    if (shortCut & 0x8000) shift |= ssAlt;
}

void TKeyCommandList::Add(std::uint16_t key, TShiftState shift, std::u16string description,
                          int command) {
    Add(key, shift, 0, 0, std::move(description), command);
}

void TKeyCommandList::Add(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                          TShiftState shift2, std::u16string description, int command) {
    auto c = std::make_unique<TKeyCommand>();
    c->Key = key;
    c->ShiftState = shift & KeyShiftMask;
    c->Key2 = key2;
    c->ShiftState2 = shift2 & KeyShiftMask;
    c->Command = command;
    c->Description = std::move(description);
    FItems.push_back(std::move(c));
}

int TKeyCommandList::Find(std::uint16_t key, TShiftState shift) const {
    for (int i = 0; i < Count(); ++i) {
        const TKeyCommand& c = *FItems[std::size_t(i)];
        if (c.Key == key && c.ShiftState == shift && c.Key2 == 0) return i;
    }
    return -1;
}

int TKeyCommandList::Find(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                          TShiftState shift2) const {
    for (int i = 0; i < Count(); ++i) {
        const TKeyCommand& c = *FItems[std::size_t(i)];
        if (c.Key == key && c.ShiftState == shift && c.Key2 == key2 && c.ShiftState2 == shift2 &&
            key2 != 0)
            return i;
    }
    return -1;
}

bool TKeyCommandList::StartsPair(std::uint16_t key, TShiftState shift) const {
    for (const auto& c : FItems)
        if (c->Key == key && c->ShiftState == shift && c->Key2 != 0) return true;
    return false;
}

void TKeyCommandList::Delete(int command) {
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if ((*it)->Command == command) {
            FItems.erase(it);
            return;
        }
}

void TKeyCommandList::DefaultKeyBind() {
    FItems.clear();
    const TShiftState none = 0, shift = ssShift, ctrl = ssCtrl, shiftCtrl = ssShift | ssCtrl,
                      alt = ssAlt;
    Add(vkLeft, none, u"Move cursor left", ecLeft);
    Add(vkLeft, shift, u"Select previous char", ecSelLeft);
    Add(vkLeft, ctrl, u"Move to previous word", ecWordLeft);
    Add(vkLeft, shiftCtrl, u"", ecSelWordLeft);
    Add(vkRight, none, u"Move cursor right", ecRight);
    Add(vkRight, shift, u"Select next char", ecSelRight);
    Add(vkRight, ctrl, u"Move to next word", ecWordRight);
    Add(vkRight, shiftCtrl, u"Select next word", ecSelWordRight);
    Add(vkUp, none, u"Move cursor up", ecUp);
    Add(vkUp, shift, u"Select text up", ecSelUp);
    Add(vkDown, none, u"Move cursor down", ecDown);
    Add(vkDown, shift, u"Select text down", ecSelDown);
    Add(vkNext, none, u"Page down", ecPageDown);
    Add(vkNext, shift, u"Select page down", ecSelPageDown);
    Add(vkPrior, none, u"Page up", ecPageUp);
    Add(vkPrior, shift, u"Select page up", ecSelPageUp);
    Add(vkReturn, none, u"New line", ecLineBreak);
    Add(vkReturn, ctrl, u"New line", ecLineBreak);
    Add(vkReturn, shift, u"New line", ecLineBreak);
    Add(vkTab, none, u"Insert Tab symbol", ecTab);
    Add(vkHome, none, u"Move cursor to begin of line", ecLineStart);
    Add(vkHome, shift, u"Select line before cursor", ecSelLineStart);
    Add(vkHome, ctrl, u"Move cursor to begin of text", ecTextStart);
    Add(vkHome, shiftCtrl, u"Select all before cursor", ecSelTextStart);
    Add(vkEnd, none, u"Move cursor to end of line", ecLineEnd);
    Add(vkEnd, shift, u"Select line after cursor", ecSelLineEnd);
    Add(vkEnd, ctrl, u"Move cursor to end of text", ecTextEnd);
    Add(vkEnd, shiftCtrl, u"", ecSelTextEnd);
    Add(vkBack, none, u"Delete char before cursor", ecBackspace);
    Add(vkBack, shift, u"Delete char before cursor", ecBackspace);
    Add(vkBack, ctrl, u"Delete word before cursor", ecDeleteWordLeft);
    Add(vkBack, alt, u"Undo", ecUndo);
    Add(vkDelete, none, u"Delete char under cursor", ecDeleteChar);
    Add(vkDelete, shift, u"Cut to clipboard", ecCut);
    // The entry's name is the table's as published; the command deletes the word after the
    // caret (or the selection, as every deletion does).
    Add(vkDelete, ctrl, u"Delete selection", ecDeleteWordRight);
    Add(vkInsert, ctrl, u"Copy to clipboard", ecCopy);
    Add(vkInsert, shift, u"Paste from clipboard", ecPaste);
    Add('K', ctrl, 'I', none, u"Indent selected text", ecIndent);
    Add('K', ctrl, 'U', none, u"Unindent selected text", ecUnindent);
    for (int i = 0; i <= 9; ++i) {
        const std::u16string digit(1, char16_t(u'0' + i));
        Add('K', ctrl, std::uint16_t('0' + i), none, u"Set bookmark " + digit, ecSetBookmark0 + i);
    }
    for (int i = 0; i <= 9; ++i) {
        const std::u16string digit(1, char16_t(u'0' + i));
        Add('Q', ctrl, std::uint16_t('0' + i), none, u"Goto bookmark to " + digit,
            ecGotoBookmark0 + i);
    }
    Add('A', ctrl, u"Select all", ecSelectAll);
    Add('C', ctrl, u"Copy to clipboard", ecCopy);
    Add('X', ctrl, u"Cut to clipboard", ecCut);
    Add('V', ctrl, u"Paste from clipboard", ecPaste);
    Add('Z', ctrl, u"Undo", ecUndo);
}
