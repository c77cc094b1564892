// TFlatEditCore: text, caret and selection state, the selection primitives, words, typed
// input, undo, clipboard rules, change notification and setting the text.
#include "flatctl/core/FlatEditCore.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsWordSeparator(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

void TClickCounter::SetLimits(std::uint32_t doubleClickTime, int width, int height) {
    FDoubleClickTime = doubleClickTime;
    FWidth = width;
    FHeight = height;
}

bool TClickCounter::Press(std::uint32_t now, TPoint p) {
    bool third = false;
    if (now - FLastClick > FDoubleClickTime || std::abs(p.X - FFirstPos.X) > FWidth ||
        std::abs(p.Y - FFirstPos.Y) > FHeight) {
        FCount = 1;
        FLastClick = now;
    } else if (FCount < 2) {
        ++FCount;
        FLastClick = now;
    } else {
        third = true;
        FCount = 0;
        FLastClick = 0;
    }
    if (FCount == 1) FFirstPos = p;
    return third;
}

TFlatEditCore::TFlatEditCore() {
    FKeyCommands.DefaultKeyBind();
}
TFlatEditCore::~TFlatEditCore() = default;

void TFlatEditCore::SetPainter(std::unique_ptr<TTextPainter> painter) {
    FPainter = std::move(painter);
    FPainter->SetTabSpaces(FTabSpaces);
    FPainter->SetPasswordChar(FPasswordChar);
}

// --- Text -------------------------------------------------------------------------------

std::u16string TFlatEditCore::DisplayRow(int row) const {
    return FPainter ? FPainter->Mask(Row(row)) : Row(row);
}

int TFlatEditCore::TextLength() const {
    int n = 0;
    for (int r = 0; r < LinesCount(); ++r)
        n += RowLength(r) + (r ? 2 : 0);
    return n;
}

void TFlatEditCore::SetText(const std::u16string& text) {
    if (text == Text()) return;
    std::u16string converted = CaseConverted(text);
    FUndoList.Clear();
    FRedoList.Clear();
    StoreText(converted);
}

// What WM_SETTEXT does: the new text, converted by CharCase, with the caret, the view and the
// selection at its start. Undo records refer to positions of the old text, so they go with it.
void TFlatEditCore::ApplyText(const std::u16string& text) {
    FUndoList.Clear();
    FRedoList.Clear();
    FLines.SetText(CaseConverted(text));
    FCaret = {};
    FAnchor = {};
    FSelFirst = FSelLast = {};
    FSelected = false;
    FLeftChar = 0;
    FTopLine = 0;
    PlaceCaret();
    Change(false);
    SelectionChange();
    InvalidateText();
}

std::u16string TFlatEditCore::CaseConverted(const std::u16string& text) const {
    switch (FCharCase) {
    case eecUpperCase:
        return ConvertCase(text, true);
    case eecLowerCase:
        return ConvertCase(text, false);
    default:
        return text;
    }
}

// Letters of Basic Latin and Latin-1; the window side converts with the platform's tables.
std::u16string TFlatEditCore::ConvertCase(const std::u16string& text, bool upper) const {
    std::u16string s = text;
    for (auto& c : s) {
        bool lower = (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
        bool capital = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        if (upper && lower) c = char16_t(c - 0x20);
        if (!upper && capital) c = char16_t(c + 0x20);
    }
    return s;
}

void TFlatEditCore::Change(bool byUser) {
    if ((byUser || !FNotifyUserChangeOnly) && OnChange) OnChange(EventSender());
}

void TFlatEditCore::SelectionChange() {
    if (OnSelectionChange) OnSelectionChange(EventSender());
}

// --- Caret and selection ----------------------------------------------------------------

TEditPos TFlatEditCore::Clamp(TEditPos p) const {
    p.Y = std::clamp(p.Y, 0, LinesCount() - 1);
    p.X = std::clamp(p.X, 0, RowLength(p.Y));
    return p;
}

TEditPos TFlatEditCore::EndOfText() const {
    int last = LinesCount() - 1;
    return {RowLength(last), last};
}

void TFlatEditCore::MoveCaret(TEditPos p) {
    FCaret = Clamp(p);
    ScrollCaretIntoView();
    PlaceCaret();
}

void TFlatEditCore::SetCaretX(int column) {
    if (column == FCaret.X && FAlignment == taLeftJustify) return;
    MoveCaret({column, FCaret.Y});
}

void TFlatEditCore::SetCaretY(int row) {
    MoveCaret({FCaret.X, row});
}

void TFlatEditCore::SetCaretXY(TEditPos p) {
    MoveCaret(p);
}

void TFlatEditCore::Collapse() {
    if (!FSelected) return;
    FSelFirst = FSelLast = FAnchor;
    FSelected = false;
    SelectionChange();
    InvalidateText();
}

void TFlatEditCore::Reanchor() {
    if (!FSelected) FSelFirst = FSelLast = FCaret;
    if (FCaret == FAnchor) return;
    FAnchor = FCaret;
    SelectionChange();
}

void TFlatEditCore::Extend() {
    TEditPos first = std::min(FAnchor, FCaret), last = std::max(FAnchor, FCaret);
    bool selected = first != last;
    bool changed = first != FSelFirst || last != FSelLast || selected != FSelected;
    FSelFirst = first;
    FSelLast = last;
    FSelected = selected;
    if (changed) SelectionChange();
    InvalidateText();
}

void TFlatEditCore::PlaceCaretAndAnchor(TEditPos p) {
    Collapse();
    MoveCaret(p);
    Reanchor();
    FSelFirst = FSelLast = FAnchor;
}

void TFlatEditCore::SetSelection(TEditPos anchor, TEditPos caret) {
    FAnchor = Clamp(anchor);
    MoveCaret(caret);
    Extend();
}

int TFlatEditCore::CharFromCaret(int column, int row) const {
    row = std::clamp(row, 0, LinesCount() - 1);
    int index = 0;
    for (int r = 0; r < row; ++r)
        index += RowLength(r) + 2; // CR LF between rows
    return index + std::clamp(column, 0, RowLength(row));
}

TEditPos TFlatEditCore::CaretFromChar(int index) const {
    index = std::max(index, 0);
    for (int r = 0; r < LinesCount(); ++r) {
        if (index <= RowLength(r) || r == LinesCount() - 1) return Clamp({index, r});
        index -= RowLength(r) + 2;
        if (index < 0) return {RowLength(r), r};
    }
    return EndOfText();
}

int TFlatEditCore::SelStart() const {
    TEditPos p = FSelected ? FSelFirst : FCaret;
    return CharFromCaret(p.X, p.Y);
}

void TFlatEditCore::SetSelStart(int index) {
    PlaceCaretAndAnchor(CaretFromChar(index));
}

int TFlatEditCore::SelLength() const {
    return int(SelText().size());
}

void TFlatEditCore::SetSelLength(int length) {
    if (length == 0) {
        Collapse();
        return;
    }
    MoveCaret(CaretFromChar(SelStart() + length));
    Extend();
}

std::u16string TFlatEditCore::SelText() const {
    if (!FSelected) return {};
    int a = CharFromCaret(FSelFirst.X, FSelFirst.Y), b = CharFromCaret(FSelLast.X, FSelLast.Y);
    return Text().substr(std::size_t(a), std::size_t(b - a));
}

void TFlatEditCore::SetSelText(const std::u16string& assigned) {
    const std::u16string text = CaseConverted(assigned);
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    RemoveSelection();
    TEditPos start = FCaret;
    if (!text.empty()) {
        InsertAt(start, text);
        FUndoList.Push({atInsert, start, {start.X + int(text.size()), start.Y}, text});
    }
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    SetSelection(start, {start.X + int(text.size()), start.Y});
    Change(false);
    InvalidateText();
}

void TFlatEditCore::SelectAll() {
    SetSelection({0, 0}, EndOfText());
}

void TFlatEditCore::SelectRange(int start, int end) {
    if (start > end) std::swap(start, end);
    SetSelection(CaretFromChar(end), CaretFromChar(start));
}

void TFlatEditCore::SetLeftChar(int v) {
    v = std::clamp(v, 0, RowLength(FCaret.Y));
    if (v == FLeftChar) return;
    FLeftChar = v;
    InvalidateText();
    PlaceCaret();
}

// --- Words ------------------------------------------------------------------------------

int TFlatEditCore::GetNextWord(int position) const {
    const std::u16string& s = Row(FCaret.Y);
    int n = int(s.size());
    if (position >= n) return n;
    position = std::max(position, 0);
    if (IsLineEnd(s[std::size_t(position)])) return position + 1;
    bool separator = IsWordSeparator(s[std::size_t(position)]);
    int i = position;
    while (i < n && !IsLineEnd(s[std::size_t(i)]) &&
           IsWordSeparator(s[std::size_t(i)]) == separator)
        ++i;
    while (i < n && IsWordSeparator(s[std::size_t(i)]))
        ++i;
    return i;
}

int TFlatEditCore::GetPrevWord(int position) const {
    const std::u16string& s = Row(FCaret.Y);
    int n = int(s.size());
    if (position <= 0 || n == 0) return 0;
    int i = std::min(position, n - 1);
    if (IsLineEnd(s[std::size_t(i)])) return i;
    // On separators: back over them to the word before.
    while (i >= 0 && IsWordSeparator(s[std::size_t(i)]))
        --i;
    if (i < 0 || IsLineEnd(s[std::size_t(i)])) return i + 1;
    // Back to the first character of that word.
    while (i > 0 && !IsWordSeparator(s[std::size_t(i - 1)]) && !IsLineEnd(s[std::size_t(i - 1)]))
        --i;
    return i;
}

// --- Editing ----------------------------------------------------------------------------

void TFlatEditCore::InsertAt(TEditPos at, const std::u16string& text) {
    at = Clamp(at);
    FLines.InsertText(at.Y, at.X, text);
}

bool TFlatEditCore::RemoveSelection() {
    if (!FSelected) return false;
    // Single-line selections lie on one row; a multi-row selection is cut to its first row.
    TEditPos first = FSelFirst, last = FSelLast;
    if (last.Y != first.Y) last = {RowLength(first.Y), first.Y};
    std::u16string removed =
        Row(first.Y).substr(std::size_t(first.X), std::size_t(last.X - first.X));
    FLines.DeleteText(first.Y, first.X, last.X - first.X);
    FUndoList.Push({atDeleteSel, FAnchor, first, removed});
    FAnchor = first;
    MoveCaret(first);
    FSelFirst = FSelLast = first;
    FSelected = false;
    SelectionChange();
    InvalidateText();
    return true;
}

void TFlatEditCore::DeleteSelection() {
    if (FReadOnly) return;
    RemoveSelection();
}

void TFlatEditCore::UserChanged() {
    FModified = true;
    Change(true);
}

void TFlatEditCore::InsertTypedText(std::u16string text) {
    if (FReadOnly) return;
    text = CaseConverted(text);
    if (OnKeyPressEx) OnKeyPressEx(EventSender(), text);
    // The handler may have lengthened the text: the limit holds for what is inserted.
    if (FMaxLength > 0) CutToRoom(text, FMaxLength - (TextLength() - SelLength()));
    if (text.empty()) return;
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    DeleteSelection();
    TEditPos start = FCaret;
    InsertAt(start, text);
    MoveCaret({start.X + int(text.size()), start.Y});
    bool anchorMoved = FAnchor != FCaret;
    FAnchor = FSelFirst = FSelLast = FCaret;
    FUndoList.Push({atInsert, start, FCaret, text});
    UserChanged();
    if (anchorMoved) SelectionChange();
    InvalidateText();
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
}

// After Backspace and Delete. Only a deletion that removed text counts as a change (a
// Backspace at the start of the text changes nothing and tells nobody).
void TFlatEditCore::EditNotification(bool changed) {
    InvalidateText();
    if (!changed) return;
    UserChanged();
    SelectionChange();
}

void TFlatEditCore::Backspace() {
    if (FReadOnly) return;
    if (FSelected) {
        EditNotification(RemoveSelection());
        return;
    }
    if (FCaret.X == 0) {
        EditNotification(false);
        return;
    }
    TEditPos old = FCaret, now{FCaret.X - 1, FCaret.Y};
    std::u16string ch = Row(now.Y).substr(std::size_t(now.X), 1);
    FLines.DeleteText(now.Y, now.X, 1);
    FUndoList.Push({atBackSpace, old, now, ch});
    MoveCaret(now);
    FAnchor = FSelFirst = FSelLast = FCaret;
    EditNotification(true);
}

void TFlatEditCore::DeleteChar() {
    if (FReadOnly) return;
    if (FSelected) {
        EditNotification(RemoveSelection());
        return;
    }
    if (FCaret.X >= RowLength(FCaret.Y)) {
        EditNotification(false);
        return;
    }
    std::u16string ch = Row(FCaret.Y).substr(std::size_t(FCaret.X), 1);
    FLines.DeleteText(FCaret.Y, FCaret.X, 1);
    FUndoList.Push({atDelete, FCaret, FCaret, ch});
    MoveCaret(FCaret);
    // The anchor may lie right of the caret (after a collapse): it would drift past the end.
    FAnchor = FSelFirst = FSelLast = FCaret;
    EditNotification(true);
}

void TFlatEditCore::Undo() {
    // A read-only text stays as it is, whatever was typed before it became read-only.
    if (FReadOnly || FUndoList.Empty()) return;
    bool inGroup = false;
    bool changed = false;
    {
        TUndoLock lock(FUndoList);
        do {
            std::optional<TEditAction> a = FUndoList.Pop();
            if (!a) break;
            switch (a->Kind) {
            case atGroupBreak:
                inGroup = !inGroup;
                break;
            case atLineBreak:
                FRedoList.Push(*a);
                break;
            case atInsert:
                FRedoList.Push(*a);
                PlaceCaretAndAnchor(a->StartPos);
                MoveCaret(a->EndPos);
                Extend();
                changed |= RemoveSelection();
                break;
            default: {
                FRedoList.Push(*a);
                InsertAt(a->EndPos, a->Text);
                changed |= !a->Text.empty();
                PlaceCaretAndAnchor(a->StartPos);
                if (a->Kind == atDeleteSel && !a->Text.empty()) {
                    // Select the restored text again, from the anchor to its other end.
                    TEditPos begin = Clamp(a->EndPos);
                    TEditPos end{begin.X + int(a->Text.size()), begin.Y};
                    MoveCaret(FAnchor == begin ? end : begin);
                    Extend();
                }
                break;
            }
            }
            InvalidateText();
        } while (inGroup);
    }
    FModified = !FUndoList.Empty();
    if (changed) Change(true);
}

// --- Clipboard --------------------------------------------------------------------------

void TFlatEditCore::CopyToClipboard() {
    if (FPasswordChar || !FSelected) return;
    PutClipboardText(SelText());
}

void TFlatEditCore::CutToClipboard() {
    if (FPasswordChar) return;
    CopyToClipboard();
    if (FReadOnly) return;
    if (RemoveSelection()) UserChanged();
}

void TFlatEditCore::PasteFromClipboard() {
    if (FReadOnly) return;
    std::u16string text = GetClipboardText();
    if (text.empty()) return;
    PasteText(std::move(text));
}

void TFlatEditCore::PasteText(std::u16string text) {
    auto room = [this](int selected) { return FMaxLength - (TextLength() - selected); };
    if (FMaxLength > 0) {
        int fit = room(SelLength());
        if (fit <= 0) return; // a full field takes nothing
        CutToRoom(text, fit);
        if (text.empty()) return;
    }
    text = CaseConverted(text);
    bool changed = RemoveSelection();
    if (OnPasteClipboardText) OnPasteClipboardText(EventSender(), text);
    // The handler may have lengthened the text: the limit holds for what is inserted.
    if (FMaxLength > 0) CutToRoom(text, room(0));
    if (!text.empty()) {
        TEditPos start = FCaret;
        InsertAt(start, text);
        MoveCaret({start.X + int(text.size()), start.Y});
        bool anchorMoved = FAnchor != FCaret;
        FAnchor = FSelFirst = FSelLast = FCaret;
        FUndoList.Push({atInsert, start, FCaret, text});
        if (anchorMoved) SelectionChange();
        InvalidateText();
        changed = true;
    }
    if (OnAfterPasteClipboardText) OnAfterPasteClipboardText(EventSender());
    if (changed) UserChanged();
}

void TFlatEditCore::CutToRoom(std::u16string& text, int room) {
    const std::size_t keep = std::size_t(std::max(room, 0));
    if (text.size() <= keep) return;
    const bool splitsPair = keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF;
    text.resize(splitsPair ? keep - 1 : keep);
}

// --- Properties -------------------------------------------------------------------------

void TFlatEditCore::SetMaxLength(int v) {
    if (v < 0) return;
    FMaxLength = v;
    if (v == 0) return;
    if (TextLength() > v) {
        std::u16string text = Text();
        CutToRoom(text, v);
        SetText(text);
        return;
    }
    // Undo must not bring back a text longer than the new limit: walk the lengths the undo
    // records lead back to, and drop the records when one of them does not fit.
    int length = TextLength();
    const auto& records = FUndoList.Items();
    for (auto a = records.rbegin(); a != records.rend(); ++a) {
        if (a->Kind == atInsert)
            length -= int(a->Text.size());
        else if (a->Kind != atGroupBreak && a->Kind != atLineBreak)
            length += int(a->Text.size());
        if (length > v) {
            FUndoList.Clear();
            FRedoList.Clear();
            return;
        }
    }
}

void TFlatEditCore::SetPasswordChar(char16_t c) {
    if (c == FPasswordChar) return;
    FPasswordChar = c;
    if (FPainter) FPainter->SetPasswordChar(c);
    ScrollCaretIntoView();
    InvalidateText();
    PlaceCaret();
}

void TFlatEditCore::SetReadOnly(bool v) {
    if (v == FReadOnly) return;
    FReadOnly = v;
    InvalidateText();
}

void TFlatEditCore::SetCharCase(TFlatEditCharCase v) {
    if (v == FCharCase) return;
    FCharCase = v;
    if (v == eecNormal) return;
    // Undo records may hold letters of the other case, also when the text needs no
    // conversion: they go as they do when the converted text is stored.
    FUndoList.Clear();
    FRedoList.Clear();
    std::u16string converted = CaseConverted(Text());
    if (converted != Text()) StoreText(converted);
}

void TFlatEditCore::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    ScrollCaretIntoView();
    InvalidateText();
    PlaceCaret();
}

void TFlatEditCore::SetHideSelection(bool v) {
    if (v == FHideSelection) return;
    FHideSelection = v;
    InvalidateText();
}

void TFlatEditCore::SetMaxUndoLevel(int v) {
    if (v < 0) return;
    FUndoList.SetMaxUndo(v);
    FRedoList.SetMaxUndo(v);
}

void TFlatEditCore::SetTabSpaces(int v) {
    if (v <= 0) return;
    FTabSpaces = v;
    if (FPainter) FPainter->SetTabSpaces(v);
    InvalidateText();
}

void TFlatEditCore::SetLeftMargin(int v) {
    FLeftMargin = v;
    InvalidateText();
}

void TFlatEditCore::SetRightMargin(int v) {
    FRightMargin = v;
    InvalidateText();
}

void TFlatEditCore::SetTopMargin(int v) {
    FTopMargin = FAlignBottom ? 0 : v;
    SetEditRect(FEditRect);
}

void TFlatEditCore::SetAlignBottom(bool v) {
    FAlignBottom = v;
    if (v) FTopMargin = 0;
    SetEditRect(FEditRect);
}

void TFlatEditCore::SetEditRect(const TRect& r) {
    FEditRect = r;
    int h = r.Bottom - FTopMargin;
    FLinesInRect = FLineHeight > 0 ? h / FLineHeight : 0;
    if (FLinesInRect < 1 && r.Height() > 0) FLinesInRect = 1;
    InvalidateText();
}

void TFlatEditCore::SetFontMetrics(int fontHeight, int ascent, int descent) {
    FLineHeight = std::abs(fontHeight) + 2;
    FAscent = ascent;
    FDescent = descent;
    SetEditRect(FEditRect);
}
