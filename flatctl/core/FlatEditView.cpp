// TFlatEditCore: the view side: keeping the caret in view, caret placement and hit testing,
// the rows' text runs with their selection, and mouse selection.
#include "flatctl/core/FlatEditCore.h"

#include <algorithm>
#include <cstdio>

int TFlatEditCore::VisibleWidth() const {
    return FEditRect.Right - FRightMargin - FEditRect.Left - FLeftMargin;
}

TRect TFlatEditCore::TextRect() const {
    return {FEditRect.Left + FLeftMargin, FEditRect.Top, FEditRect.Right - FRightMargin,
            FEditRect.Bottom};
}

// When the caret leaves the view on either side, the view jumps so that about three
// quarters of the visible width of text lies left of the caret.
void TFlatEditCore::ScrollCaretIntoView() {
    if (!FPainter) return;
    const int w = VisibleWidth();
    if (w <= 0) return;
    const std::u16string row = DisplayRow(FCaret.Y);
    auto jump = [&] {
        int k = FPainter->CharsFitLeft((w / 4) * 3, row, FCaret.X);
        int left = std::max(FCaret.X - k, 0);
        if (left != FLeftChar) {
            FLeftChar = left;
            InvalidateText();
        }
    };
    if (FAlignment != taLeftJustify && FPainter->DisplayWidth(row) <= w) {
        if (FLeftChar != 0) {
            FLeftChar = 0;
            InvalidateText();
        }
        return;
    }
    FLeftChar = std::min(FLeftChar, int(row.size()));
    int n = FPainter->CharsFitRight(w, row, FLeftChar);
    if (FLeftChar + n >= FCaret.X) {
        if (FLeftChar >= FCaret.X && FLeftChar > 0) jump();
        return;
    }
    std::u16string before = row.substr(std::size_t(FLeftChar), std::size_t(FCaret.X - FLeftChar));
    if (FPainter->DisplayWidth(before) >= w) jump();
}

// Left end of a row's visible run for the alignment.
int TFlatEditCore::RunOrigin(int row, int visibleWidth) {
    int left = FEditRect.Left + FLeftMargin;
    if (FAlignment == taLeftJustify || FLeftChar != 0) return left;
    int width = FPainter->DisplayWidth(Row(row));
    if (width > visibleWidth) return left;
    if (FAlignment == taRightJustify) return FEditRect.Right - FRightMargin - width - 2;
    return (FEditRect.Right - FRightMargin) / 2 - width / 2;
}

TPoint TFlatEditCore::PosFromCaret(int column, int row) {
    if (row < 0 || row >= LinesCount()) {
        char msg[48];
        std::snprintf(msg, sizeof msg, "Invalid Y position (%d)", row);
        throw EFlatEditError(msg);
    }
    TPoint p;
    p.Y = std::abs(FAscent - FLineHeight) + FLineHeight * (row - FTopLine) + FTopMargin;
    const std::u16string& s = Row(row);
    column = std::clamp(column, 0, int(s.size()));
    int extent = -2;
    if (column >= FLeftChar && FPainter)
        extent = FPainter->DisplayWidth(
            s.substr(std::size_t(FLeftChar), std::size_t(column - FLeftChar)));
    if (FPainter && FLeftChar == 0 && FAlignment != taLeftJustify &&
        FPainter->DisplayWidth(s) <= VisibleWidth())
        p.X = RunOrigin(row, VisibleWidth()) + extent;
    else
        p.X = extent + FEditRect.Left + FLeftMargin;
    if (p.X > FEditRect.Right - FRightMargin) p.X = -2;
    return p;
}

// The character boundary nearest to a client point.
TEditPos TFlatEditCore::CaretFromPos(TPoint p) {
    int row = FLineHeight > 0 ? p.Y / FLineHeight + FTopLine : FTopLine;
    if (p.Y < 0) row = FTopLine - 1;
    row = std::clamp(row, 0, LinesCount() - 1);
    const std::u16string& s = Row(row);
    int left = std::min(FLeftChar, int(s.size()));
    std::u16string rest = s.substr(std::size_t(left));
    if (rest.empty() || !FPainter) return {left, row};
    std::vector<int> edges = FPainter->CharEdges(rest);
    int origin = RunOrigin(row, VisibleWidth());
    int x = p.X - origin;
    int prev = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (prev + edges[i] > 2 * x) return {left + int(i), row}; // middle right of x
        prev = edges[i];
    }
    return {left + int(edges.size()), row};
}

void TFlatEditCore::PaintRows(TColor textColor, bool focused) {
    if (!FPainter) return;
    TTextPainter& painter = *FPainter;
    const int w = VisibleWidth();
    const TRect clip = TextRect();
    const int lastRow = std::min(LinesCount(), FTopLine + std::max(FLinesInRect, 1));
    for (int row = FTopLine; row < lastRow; ++row) {
        const std::u16string& s = Row(row);
        int left = std::min(FLeftChar, int(s.size()));
        int n = painter.CharsFitRight(w, painter.Mask(s), left);
        FCharsInView = n;
        std::u16string visible = s.substr(std::size_t(left), std::size_t(n));
        int x = RunOrigin(row, w);
        const int y = FEditRect.Top + FTopMargin + FLineHeight * (row - FTopLine + 1);
        painter.SetColor(textColor);
        painter.SetBkColor(clNone);
        bool showSelection =
            FSelected && (!FHideSelection || focused) && FSelFirst.Y <= row && row <= FSelLast.Y;
        if (!showSelection) {
            painter.DrawTabbedText(x, y, visible, clip);
            continue;
        }
        int a = (FSelFirst.Y == row ? FSelFirst.X : 0) - left;
        int b = (FSelLast.Y == row ? FSelLast.X : int(s.size())) - left;
        a = std::clamp(a, 0, n);
        b = std::clamp(b, 0, n);
        x += painter.DrawTabbedText(x, y, visible.substr(0, std::size_t(a)), clip);
        painter.SetColor(focused ? FocusedSelectTextColor : HideSelectTextColor);
        painter.SetBkColor(focused ? FocusedSelectColor : HideSelectColor);
        x += painter.DrawTabbedText(x, y, visible.substr(std::size_t(a), std::size_t(b - a)), clip);
        painter.SetColor(textColor);
        painter.SetBkColor(clNone);
        painter.DrawTabbedText(x, y, visible.substr(std::size_t(b)), clip);
    }
}

void TFlatEditCore::MousePress(TPoint p, bool leftButton, TShiftState shift, bool focusing,
                               bool doubleClick) {
    FPressPoint = p;
    if (focusing) {
        TEditPos at = CaretFromPos(p);
        MoveCaret({FCaret.X, at.Y});
        MoveCaret(at);
        Collapse();
        Reanchor();
        if (FAutoSelect) SelectAll();
    }
    if (doubleClick) {
        MoveCaret(CaretFromPos(p));
        int column = FCaret.X;
        FAnchor = {GetPrevWord(column), FCaret.Y};
        MoveCaret({GetNextWord(column), FCaret.Y});
        Extend();
        InvalidateText();
        return;
    }
    if (!leftButton) return;
    MoveCaret(CaretFromPos(p));
    bool insideSelection = FSelected && FSelFirst <= FCaret && FCaret < FSelLast;
    // A masked text is not handed out by dragging, as it is not by copying.
    if (insideSelection && FDragAllowed && !FPasswordChar && !FDragPending) {
        FDragPending = true;
    } else if (!focusing) {
        if (shift & ssShift) {
            Extend();
        } else {
            Collapse();
            Reanchor();
        }
    }
    InvalidateText();
    FSelecting = true;
}

void TFlatEditCore::MouseDrag(TPoint p) {
    if (!FSelecting) return;
    MoveCaret(CaretFromPos(p));
    if (!FDragPending) Extend();
}

void TFlatEditCore::MouseRelease() {
    if (FDragPending && !FDragging) {
        Collapse();
        Reanchor();
    }
    FSelecting = false;
    FDragPending = false;
    FDragging = false;
}
