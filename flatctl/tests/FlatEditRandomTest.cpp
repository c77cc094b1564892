// Seeded random editing: thousands of typed characters, deletions, selections, pastes and
// undos, checking the state invariants after each step and that undoing everything gives
// back the text the run started from.
#include <gtest/gtest.h>

#include <random>

#include "flatctl/core/EditCommands.h"
#include "flatctl/tests/TestFlatEdit.h"

namespace {

void CheckInvariants(const TestFlatEdit& e, int step) {
    const int len = e.TextLength();
    ASSERT_EQ(e.CaretY(), 0) << step;
    ASSERT_GE(e.CaretX(), 0) << step;
    ASSERT_LE(e.CaretX(), len) << step;
    ASSERT_GE(e.Anchor().X, 0) << step;
    ASSERT_LE(e.Anchor().X, len) << step;
    ASSERT_LE(e.SelFirst(), e.SelLast()) << step;
    ASSERT_LE(e.SelLast().X, len) << step;
    ASSERT_EQ(e.Selected(), e.SelFirst() != e.SelLast()) << step;
    ASSERT_GE(e.LeftChar(), 0) << step;
    ASSERT_LE(e.LeftChar(), std::max(e.CaretX(), 0)) << step;
    ASSERT_EQ(e.SelLength(), e.SelLast().X - e.SelFirst().X) << step;
}

} // namespace

TEST(FlatEditRandom, EditsKeepInvariantsAndUndoRestoresTheStart) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        TestFlatEdit e;
        const std::u16string start = u"start text\twith tab";
        e.SetText(start);
        const int commands[] = {
            ecLeft,      ecRight,     ecLineStart,   ecLineEnd,         ecWordLeft,
            ecWordRight, ecBackspace, ecDeleteChar,  ecDeleteWordLeft,  ecDeleteWordRight,
            ecSelLeft,   ecSelRight,  ecSelWordLeft, ecSelWordRight,    ecSelLineStart,
            ecSelectAll, ecCut,       ecPaste,       ecDeleteSelection, ecCollapse};
        for (int step = 0; step < 3000; ++step) {
            int op = pick(6);
            SCOPED_TRACE(op);
            switch (op) {
            case 0:
            case 1: {
                std::u16string t;
                for (int n = pick(3) + 1; n > 0; --n)
                    t += char16_t(u"ab \tXYZ1"[pick(8)]);
                TypeText(e, t);
                break;
            }
            case 2: {
                int command = commands[pick(std::size(commands))];
                SCOPED_TRACE(command);
                e.ExecuteCommand(command, 0, {});
                CheckInvariants(e, step);
                break;
            }
            case 3: {
                int len = e.TextLength() + 1;
                e.SelectRange(pick(len), pick(len));
                break;
            }
            case 4:
                if (pick(4) == 0)
                    e.Undo();
                else
                    e.SetSelText(pick(2) ? u"" : u"sel");
                break;
            case 5:
                e.MousePress({pick(200), 5}, true, pick(2) ? ssShift : 0, false, false);
                e.MouseDrag({pick(260) - 30, 5});
                e.MouseRelease();
                break;
            }
            CheckInvariants(e, step);
            if (HasFatalFailure()) return;
        }
        while (e.CanUndo()) {
            e.Undo();
            CheckInvariants(e, -1);
            if (HasFatalFailure()) return;
        }
        EXPECT_EQ(e.Text(), start);
    }
}
