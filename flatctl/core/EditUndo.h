// The edit's undo and redo stacks: records of what an edit operation changed, with a capacity
// and a lock that drops records offered while it is held.
#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

enum TEditActionType {
    atInsert,
    atDelete,
    atLineBreak,
    atGroupBreak,
    atPaste,
    atBackSpace,
    atDeleteSel,
    atInsertSel,
};

// A position in the edit's text: column and row.
struct TEditPos {
    int X = 0;
    int Y = 0;
    bool operator==(const TEditPos&) const = default;
    auto operator<=>(const TEditPos& o) const { return Y != o.Y ? Y <=> o.Y : X <=> o.X; }
};

struct TEditAction {
    TEditActionType Kind = atGroupBreak;
    TEditPos StartPos;
    TEditPos EndPos;
    std::u16string Text;
};

class TEditActionList {
  public:
    // Pushes a record; dropped while locked. At a positive capacity the oldest record makes
    // room first.
    void Push(TEditAction action);
    std::optional<TEditAction> Pop();
    void Clear() { FItems.clear(); }

    bool Empty() const { return FItems.empty(); }
    std::size_t Count() const { return FItems.size(); }
    const TEditAction& Top() const { return FItems.back(); }
    // The records, oldest first.
    const std::deque<TEditAction>& Items() const { return FItems; }

    int MaxUndo() const { return FMaxUndo; }
    // 0 = unlimited; negative values are ignored. Shrinking drops the oldest records.
    void SetMaxUndo(int value);

    void Lock() { ++FLockCount; }
    void Unlock() {
        if (FLockCount > 0) --FLockCount;
    }
    bool Locked() const { return FLockCount > 0; }

  private:
    void Trim(std::size_t room);

    std::deque<TEditAction> FItems;
    int FMaxUndo = 0;
    int FLockCount = 0;
};

// Holds the lock of an action list for one scope.
class TUndoLock {
  public:
    explicit TUndoLock(TEditActionList& list) : FList(list) { FList.Lock(); }
    TUndoLock(const TUndoLock&) = delete;
    TUndoLock& operator=(const TUndoLock&) = delete;
    ~TUndoLock() { FList.Unlock(); }

  private:
    TEditActionList& FList;
};
