// TFlatEditCore: the flat edit's text, caret, selection, undo, clipboard rules, commands and
// measuring, free of any window. The Win32 control derives from it and supplies the window
// side through the protected hooks (repainting, the system caret, the clipboard, focus).
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "flatctl/core/DeadChars.h"
#include "flatctl/core/EditStrings.h"
#include "flatctl/core/EditUndo.h"
#include "flatctl/core/KeyCommands.h"
#include "flatctl/core/TextPainter.h"
#include "framework/core/ControlTypes.h"
#include "framework/core/Geometry.h"
#include "framework/core/Object.h"

enum TFlatEditCharCase { eecNormal, eecUpperCase, eecLowerCase };

class EFlatEditError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TFlatEditCore;

using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TKeyPressExEvent = std::function<void(TObject* Sender, std::u16string& Key)>;
using TPasteClipboardTextEvent =
    std::function<void(TObject* Sender, std::u16string& AClipboardText)>;
// Before- and after-command callbacks: they get copies of the command's arguments.
using TEditCommandProc =
    std::function<void(TFlatEditCore& Edit, int& Command, char16_t& Char, std::u16string& Data)>;

// Counts presses for double and triple clicks (times in milliseconds of GetTickCount).
class TClickCounter {
  public:
    void SetLimits(std::uint32_t doubleClickTime, int width, int height);
    // Registers a press; true when it is the third within the time and rectangle (the count
    // then starts again).
    bool Press(std::uint32_t now, TPoint p);
    int Count() const { return FCount; }

  private:
    std::uint32_t FLastClick = 0;
    TPoint FFirstPos;
    std::uint8_t FCount = 0;
    std::uint32_t FDoubleClickTime = 500;
    int FWidth = 4, FHeight = 4;
};

class TFlatEditCore {
  public:
    TFlatEditCore();
    TFlatEditCore(const TFlatEditCore&) = delete;
    TFlatEditCore& operator=(const TFlatEditCore&) = delete;
    virtual ~TFlatEditCore();

    // --- Text -------------------------------------------------------------------------
    std::u16string Text() const { return FLines.Text(); }
    // Empties the undo stacks, then replaces the text (caret and view to the start).
    void SetText(const std::u16string& text);
    int TextLength() const;
    const TFlatEditStrings& Lines() const { return FLines; }
    int LinesCount() const { return FLines.LineCount(); }
    // The row's text as it is shown (masked with the password character).
    std::u16string DisplayRow(int row) const;

    // --- Caret and selection ----------------------------------------------------------
    int CaretX() const { return FCaret.X; }
    int CaretY() const { return FCaret.Y; }
    TEditPos CaretXY() const { return FCaret; }
    // Clamps to the row, keeps the caret in view and places it.
    void SetCaretX(int column);
    void SetCaretY(int row);
    void SetCaretXY(TEditPos p);
    TEditPos Anchor() const { return FAnchor; }
    TEditPos SelFirst() const { return FSelFirst; }
    TEditPos SelLast() const { return FSelLast; }
    bool Selected() const { return FSelected; }

    int SelStart() const;
    void SetSelStart(int index);
    int SelLength() const;
    void SetSelLength(int length);
    std::u16string SelText() const;
    std::u16string SelectedText() const { return SelText(); }
    // Replaces the selection by the text converted by CharCase and selects what was inserted
    // (no read-only check: the program sets it, as EM_REPLACESEL does).
    void SetSelText(const std::u16string& assigned);
    void SelectAll();
    // Selects between two indices: anchor at the larger, caret at the smaller.
    void SelectRange(int start, int end);

    TEditPos CaretFromChar(int index) const;
    int CharFromCaret(int column, int row) const;

    int LeftChar() const { return FLeftChar; }
    void SetLeftChar(int v);
    int TopLine() const { return FTopLine; }
    int CharsInView() const { return FCharsInView; }

    // Selection primitives.
    void Collapse();
    void Reanchor();
    void Extend();

    // --- Words ------------------------------------------------------------------------
    int GetNextWord(int position) const;
    int GetPrevWord(int position) const;

    // --- Editing ----------------------------------------------------------------------
    void DeleteSelection();
    void InsertTypedText(std::u16string text);
    void Undo();
    bool CanUndo() const { return !FUndoList.Empty(); }
    void ClearUndo() { FUndoList.Clear(); }
    const TEditActionList& UndoList() const { return FUndoList; }
    const TEditActionList& RedoList() const { return FRedoList; }

    virtual void CutToClipboard();
    virtual void CopyToClipboard();
    virtual void PasteFromClipboard();

    // --- Commands and keys ------------------------------------------------------------
    virtual void CommandCenter(int command, char16_t ch, const std::u16string& data);
    virtual void ExecuteCommand(int command, char16_t ch, const std::u16string& data);
    virtual void SetBookmark(int n);
    virtual void GotoBookmark(int n);
    TEditPos Bookmark(int n) const { return FBookmarks.at(std::size_t(n)); }
    TKeyCommandList& KeyCommands() { return FKeyCommands; }
    const TDeadCharList& DeadChars() const { return FDeadChars; }
    std::uint16_t StressShortCut() const { return FStressShortCut; }
    // Binds the stress command (141) to a shortcut; 0 removes it.
    virtual void SetStress(std::uint16_t shortCut);
    std::uint16_t FirstKey() const { return FFirstKey; }

    // A key went down (after OnKeyDown; the characters it produced, if any, already set as
    // pending keys): finds and runs its command. True when the keystroke was taken.
    bool KeyDown(std::uint16_t key, TShiftState shift);
    // A character arrived (WM_CHAR): OnKeyPress, then typed input with its rules.
    void KeyPress(char16_t key);
    // A dead key was reported (WM_DEADCHAR); the next character may combine with it.
    void DeadChar(char16_t dead);
    char16_t PendingDeadChar() const { return FDeadChar; }
    // Characters from outside the keyboard's character messages (WM_UNICHAR), under the
    // typed-input rules.
    void TypeCharacters(const std::u16string& text);
    // An input method's result (command 115), under the same rules: never into a read-only
    // or full field, and only as much as MaxLength leaves room for.
    void InsertComposition(const std::u16string& text);
    // Characters the platform produced for the last key-down, waiting for the character.
    void SetPendingKeys(const std::u16string& keys);
    const std::u16string& PendingKeys() const { return FPendingKeys; }

    // --- Measuring --------------------------------------------------------------------
    virtual TPoint PosFromCaret(int column, int row);
    virtual TEditPos CaretFromPos(TPoint p);
    // Scrolls horizontally so that the caret is in view.
    void ScrollCaretIntoView();
    int VisibleWidth() const;
    // Draws the visible rows through the painter (text colour chosen by the caller).
    void PaintRows(TColor textColor, bool focused);
    TRect TextRect() const;

    // --- Mouse ------------------------------------------------------------------------
    // A press at a client point; `focusing` when it gives the control the focus.
    void MousePress(TPoint p, bool leftButton, TShiftState shift, bool focusing, bool doubleClick);
    void MouseDrag(TPoint p);
    // The button came up: ends the mouse selection; a pending text drag that never started
    // was a plain click, which collapses the selection at the caret.
    void MouseRelease();
    bool MouseSelecting() const { return FSelecting; }

    // --- Text drag --------------------------------------------------------------------
    // A pending text drag starts once the pointer has moved `cx` horizontally or `cy`
    // vertically from the press point; true while the drag runs.
    bool StartDragAt(TPoint p, int cx, int cy);
    bool TextDragging() const { return FDragging; }
    // Ends a running or pending drag without a drop.
    void CancelDrag();
    // Whether a drop of `text` from another edit could go in whole.
    bool CanTakeDrop(const std::u16string& text) const;
    // A drop into the edit the drag came from: the selected text moves to the point (nothing
    // when the point lies within it); one undo step.
    void MoveSelectionTo(TPoint p);
    // A drop from another edit: `text` goes in at the point, selected; one undo step.
    void DropText(TPoint p, std::u16string text);
    // After a move to another edit: the dragged text goes; one undo step.
    void RemoveDraggedText();
    TClickCounter& Clicks() { return FClicks; }

    // --- Properties -------------------------------------------------------------------
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    char16_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char16_t c);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    TFlatEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TFlatEditCharCase v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    bool NotifyUserChangeOnly() const { return FNotifyUserChangeOnly; }
    void SetNotifyUserChangeOnly(bool v) { FNotifyUserChangeOnly = v; }
    int MaxUndoLevel() const { return FUndoList.MaxUndo(); }
    void SetMaxUndoLevel(int v);
    int TabSpaces() const { return FTabSpaces; }
    void SetTabSpaces(int v);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool Multiline() const { return FLines.Multiline(); }
    bool DragAllowed() const { return FDragAllowed; }
    void SetDragAllowed(bool v) { FDragAllowed = v; }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int v);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int v);
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int v);
    bool AlignBottom() const { return FAlignBottom; }
    void SetAlignBottom(bool v);

    TColor FocusedSelectColor = clHighlight;
    TColor FocusedSelectTextColor = clHighlightText;
    TColor HideSelectColor = clBtnFace;
    TColor HideSelectTextColor = clBtnShadow;

    // Geometry the window side measures: the client rectangle the text lives in and the
    // font's line metrics.
    const TRect& EditRect() const { return FEditRect; }
    void SetEditRect(const TRect& r);
    int LineHeight() const { return FLineHeight; }
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    void SetFontMetrics(int fontHeight, int ascent, int descent);
    int LinesInRect() const { return FLinesInRect; }

    TTextPainter& Painter() { return *FPainter; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnAfterPasteClipboardText;
    TKeyPressEvent OnKeyPress;
    TKeyPressExEvent OnKeyPressEx;
    TPasteClipboardTextEvent OnPasteClipboardText;
    TEditCommandProc FOnBeforeCommand;
    TEditCommandProc FOnAfterCommand;

  protected:
    // --- Hooks for the window side ----------------------------------------------------
    virtual TObject* EventSender() = 0;
    // Repaints the edit rectangle.
    virtual void InvalidateText() {}
    // Puts the system caret at the caret position.
    virtual void PlaceCaret() {}
    virtual bool HasFocus() const { return false; }
    virtual std::u16string GetClipboardText() { return {}; }
    virtual void PutClipboardText(const std::u16string& text) {}
    virtual std::u16string ConvertCase(const std::u16string& text, bool upper) const;
    // Stores a new text (what WM_SETTEXT does); the window side routes it through its
    // message so that the window's own text handling sees it.
    virtual void StoreText(const std::u16string& text) { ApplyText(text); }
    // The change hook: `byUser` for changes the user made.
    virtual void Change(bool byUser);
    virtual void SelectionChange();

    void ApplyText(const std::u16string& text);
    void SetPainter(std::unique_ptr<TTextPainter> painter);
    std::u16string CaseConverted(const std::u16string& text) const;

  private:
    const std::u16string& Row(int row) const { return FLines.Line(row); }
    int RowLength(int row) const { return int(Row(row).size()); }
    TEditPos Clamp(TEditPos p) const;
    TEditPos EndOfText() const;
    void MoveCaret(TEditPos p);
    // Caret and anchor to `p` with the selection emptied there.
    void PlaceCaretAndAnchor(TEditPos p);
    void SetSelection(TEditPos anchor, TEditPos caret);
    // Removes the selected text; records it unless the undo stack is locked.
    bool RemoveSelection();
    void InsertAt(TEditPos at, const std::u16string& text);
    void EditNotification(bool changed);
    void UserChanged();
    void Backspace();
    void DeleteChar();
    void PasteText(std::u16string text);
    void TypeText(int command, const std::u16string& text);
    // Inserts at `at` (recorded) and selects what was inserted.
    void InsertSelected(TEditPos at, const std::u16string& text);
    // Keeps at most `room` (at least 0) UTF-16 units of `text`, never half a surrogate pair.
    static void CutToRoom(std::u16string& text, int room);
    int RunOrigin(int row, int visibleWidth);

    TFlatEditStrings FLines;
    TEditPos FCaret, FAnchor, FSelFirst, FSelLast;
    bool FSelected = false;
    int FLeftChar = 0;
    int FTopLine = 0;
    int FCharsInView = 0;
    TRect FEditRect;
    int FLineHeight = 15;
    int FAscent = 13;
    int FDescent = 3;
    int FLinesInRect = 1;

    TEditActionList FUndoList;
    TEditActionList FRedoList;
    std::array<TEditPos, 10> FBookmarks{};
    std::u16string FPendingKeys;
    bool FKeyDownFlag = false;
    TKeyCommandList FKeyCommands;
    TDeadCharList FDeadChars;
    std::uint16_t FStressShortCut = 0;
    std::uint16_t FFirstKey = 0;
    TShiftState FFirstShift = 0;
    char16_t FDeadChar = 0;
    // The first half of a surrogate pair typed as two character messages, waiting for its second.
    char16_t FFirstHalf = 0;
    // Character messages still to come for characters already inserted from pending keys.
    std::u16string FSwallow;
    // The character of a keystroke that completed a two-keystroke command is not typed.
    bool FSuppressChar = false;

    std::unique_ptr<TTextPainter> FPainter;
    TClickCounter FClicks;
    bool FSelecting = false;
    TPoint FPressPoint;
    bool FDragPending = false;
    bool FDragging = false;

    int FMaxLength = 0;
    char16_t FPasswordChar = 0;
    bool FReadOnly = false;
    TFlatEditCharCase FCharCase = eecNormal;
    bool FModified = false;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSelect = false;
    bool FHideSelection = true;
    bool FNotifyUserChangeOnly = true;
    int FTabSpaces = 4;
    bool FWantTabs = false;
    bool FWantReturns = false;
    bool FDragAllowed = false;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    int FTopMargin = 0;
    bool FAlignBottom = true;
};
