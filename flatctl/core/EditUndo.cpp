// TEditActionList: a bounded stack of edit records.
#include "flatctl/core/EditUndo.h"

#include <utility>

void TEditActionList::Push(TEditAction action) {
    if (Locked()) return;
    Trim(1);
    FItems.push_back(std::move(action));
}

std::optional<TEditAction> TEditActionList::Pop() {
    if (FItems.empty()) return std::nullopt;
    TEditAction a = std::move(FItems.back());
    FItems.pop_back();
    return a;
}

void TEditActionList::SetMaxUndo(int value) {
    if (value < 0) return;
    FMaxUndo = value;
    Trim(0);
}

// Drops the oldest records until `room` more fit under a positive capacity.
void TEditActionList::Trim(std::size_t room) {
    if (FMaxUndo <= 0) return;
    while (!FItems.empty() && FItems.size() + room > std::size_t(FMaxUndo))
        FItems.pop_front();
}
