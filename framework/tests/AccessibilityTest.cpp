// The portable rules of accessibility: reading order of sibling controls, the label that
// names a field, texts as they are read out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Accessibility.h"

namespace {

struct Placed {
    const char* name;
    TRect bounds; // left, top, right, bottom
};

std::vector<std::string> ReadNames(const std::vector<Placed>& controls) {
    std::vector<TRect> bounds;
    for (const Placed& c : controls)
        bounds.push_back(c.bounds);
    std::vector<std::string> names;
    for (std::size_t i : ReadingOrder(bounds))
        names.push_back(controls[i].name);
    return names;
}

} // namespace

TEST(ReadingOrder, AssistantWindowReadsTopToBottomWithTheLabelBeforeItsField) {
    // The window's controls in creation order, as the layout places them.
    const std::vector<Placed> window = {
        {"step1", {16, 82, 427, 152}},    {"note", {0, 527, 445, 592}},
        {"link", {16, 152, 427, 179}},    {"step2", {16, 212, 427, 304}},
        {"label", {0, 318, 120, 334}},    {"step3", {16, 375, 427, 449}},
        {"header", {0, 0, 445, 65}},      {"field", {126, 314, 319, 338}},
        {"button", {126, 461, 319, 499}}, {"busy panel", {0, 82, 445, 499}},
    };
    const std::vector<std::string> want = {"header", "busy panel", "step1", "link",   "step2",
                                           "label",  "field",      "step3", "button", "note"};
    EXPECT_EQ(ReadNames(window), want);
}

TEST(ReadingOrder, RowsAndTies) {
    struct Case {
        const char* what;
        std::vector<Placed> controls;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"a row reads left to right whichever control is higher",
         {{"c", {200, 10, 260, 30}}, {"b", {100, 12, 160, 28}}, {"a", {0, 14, 60, 26}}},
         {"a", "b", "c"}},
        {"a control below the row's middle starts the next row",
         {{"lower", {0, 25, 50, 45}}, {"upper", {100, 0, 150, 20}}},
         {"upper", "lower"}},
        {"a tall control spanning rows keeps them apart",
         {{"right2", {200, 60, 250, 80}},
          {"tall", {0, 0, 100, 100}},
          {"right1", {200, 0, 250, 20}}},
         {"tall", "right1", "right2"}},
        {"equal places keep the given order",
         {{"first", {0, 0, 10, 10}}, {"second", {0, 0, 10, 10}}},
         {"first", "second"}},
        {"empty boxes still take their place",
         {{"below", {0, 50, 0, 50}}, {"above", {0, 0, 0, 0}}},
         {"above", "below"}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadNames(c.controls), c.want) << c.what;
}

TEST(NamingLabel, BoundLabelFirstThenTheLabelReadJustBefore) {
    // 0 label, 1 field, 2 label bound to 3, 3 field, 4 button
    const std::vector<TNamingSibling> siblings = {
        {true, -1}, {false, -1}, {true, 3}, {false, -1}, {false, -1}};
    const std::vector<std::size_t> order = {0, 1, 4, 2, 3};
    EXPECT_EQ(NamingLabel(siblings, order, 1), 0) << "label read just before the field";
    EXPECT_EQ(NamingLabel(siblings, order, 3), 2) << "bound label";
    EXPECT_EQ(NamingLabel(siblings, order, 4), -1) << "a field is read before the button";
    EXPECT_EQ(NamingLabel(siblings, order, 0), -1) << "nothing is read before the first";

    const std::vector<TNamingSibling> bound = {{true, 2}, {false, -1}, {false, -1}};
    EXPECT_EQ(NamingLabel(bound, {0, 1, 2}, 2), 0) << "a bound label names its field from afar";
    EXPECT_EQ(NamingLabel(bound, {0, 1, 2}, 1), -1)
        << "a label bound elsewhere does not name the control read after it";
}

TEST(SpokenText, OneLineWithoutMarks) {
    EXPECT_EQ(SpokenText(u"Step 1:\r\n\r\nClick the following link"),
              u"Step 1: Click the following link");
    EXPECT_EQ(SpokenText(u"  Free registration for \r\nLumvora (full version) "),
              u"Free registration for Lumvora (full version)");
    EXPECT_EQ(SpokenText(u"a\tb\u00a0c"), u"a b\u00a0c") << "a no-break space stays";
    EXPECT_EQ(SpokenText(u" \r\n "), u"");
    EXPECT_EQ(SpokenCaption(u"&Kundennummer:", true), u"Kundennummer:");
    EXPECT_EQ(SpokenCaption(u"Fish && &Chips", true), u"Fish & Chips");
    EXPECT_EQ(SpokenCaption(u"Fish && Chips", false), u"Fish && Chips");
}
