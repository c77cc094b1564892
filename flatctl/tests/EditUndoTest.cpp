// Undo stack: capacity, lock, order.
#include <gtest/gtest.h>

#include "flatctl/core/EditUndo.h"

namespace {
TEditAction Insert(const char16_t* text) {
    return {atInsert, {}, {}, text};
}
} // namespace

TEST(EditActionList, CapacityDropsTheOldestAndLockDropsOffers) {
    TEditActionList list;
    list.SetMaxUndo(2);
    list.Push(Insert(u"a"));
    list.Push(Insert(u"b"));
    list.Push(Insert(u"c"));
    ASSERT_EQ(list.Count(), 2u);
    {
        TUndoLock lock(list);
        list.Push(Insert(u"d"));
    }
    EXPECT_EQ(list.Pop()->Text, u"c");
    EXPECT_EQ(list.Pop()->Text, u"b");
    EXPECT_FALSE(list.Pop());

    list.SetMaxUndo(-1); // ignored
    EXPECT_EQ(list.MaxUndo(), 2);
    list.SetMaxUndo(0); // unlimited
    for (int i = 0; i < 100; ++i)
        list.Push(Insert(u"x"));
    EXPECT_EQ(list.Count(), 100u);
    list.SetMaxUndo(10); // shrinking keeps the newest
    EXPECT_EQ(list.Count(), 10u);
}
