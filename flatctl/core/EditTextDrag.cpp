// TFlatEditCore: text drag and drop: when a pending drag starts, and what a drop does to the
// edit it came from and to the edit it lands in.
#include "flatctl/core/FlatEditCore.h"

#include <cstdlib>

bool TFlatEditCore::StartDragAt(TPoint p, int cx, int cy) {
    if (FDragPending && !FDragging)
        FDragging = std::abs(p.X - FPressPoint.X) >= cx || std::abs(p.Y - FPressPoint.Y) >= cy;
    return FDragging;
}

void TFlatEditCore::CancelDrag() {
    FDragPending = false;
    FDragging = false;
    FSelecting = false;
}

bool TFlatEditCore::CanTakeDrop(const std::u16string& text) const {
    // Only whole: a move must never lose the part that did not fit.
    return !FReadOnly && !text.empty() &&
           (FMaxLength <= 0 || TextLength() + int(text.size()) <= FMaxLength);
}

void TFlatEditCore::InsertSelected(TEditPos at, const std::u16string& text) {
    at = Clamp(at);
    InsertAt(at, text);
    const TEditPos end{at.X + int(text.size()), at.Y};
    FUndoList.Push({atInsert, at, end, text});
    SetSelection(at, end);
    InvalidateText();
}

void TFlatEditCore::MoveSelectionTo(TPoint p) {
    TEditPos at = CaretFromPos(p);
    if (FReadOnly || !FSelected || (FSelFirst <= at && at <= FSelLast)) return;
    const std::u16string text = SelText();
    // Single-line: the selection and the drop point share the row.
    if (FSelLast < at) at.X -= int(text.size());
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    RemoveSelection();
    InsertSelected(at, text);
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    UserChanged();
}

void TFlatEditCore::DropText(TPoint p, std::u16string text) {
    text = CaseConverted(text);
    if (!CanTakeDrop(text)) return;
    const TEditPos at = CaretFromPos(p);
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    Collapse();
    InsertSelected(at, text);
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    UserChanged();
}

void TFlatEditCore::RemoveDraggedText() {
    if (FReadOnly || !FSelected) return;
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    RemoveSelection();
    FUndoList.Push({atGroupBreak, FCaret, FCaret, {}});
    UserChanged();
}
