// Which character a caption marks as its accelerator.
#include <gtest/gtest.h>

#include "framework/core/Accelerator.h"

TEST(Accelerator, CaptionMarksOneCharacter) {
    struct Case {
        std::u16string_view caption;
        std::optional<char16_t> want;
    };
    const Case cases[] = {
        {u"&Kundennummer:", u'K'},
        {u"Voll&version", u'v'},
        {u"No marker", std::nullopt},
        {u"Fish && Chips", std::nullopt},
        {u"Fish &&& Chips", u' '},
        {u"&&&Save", u'S'},
        {u"Trailing &", std::nullopt},
        {u"&A and &B", u'B'},
        {u"", std::nullopt},
        {u"\u00dc&\u00e4nderung", u'\u00e4'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceleratorOf(c.caption), c.want) << std::string(c.caption.begin(), c.caption.end());
}

TEST(Accelerator, MarksRemovedForDrawingWithoutUnderlines) {
    EXPECT_EQ(WithoutAcceleratorMarks(u"&Kunde"), u"Kunde");
    EXPECT_EQ(WithoutAcceleratorMarks(u"Fish && &Chips"), u"Fish & Chips");
    EXPECT_EQ(WithoutAcceleratorMarks(u"Trailing &"), u"Trailing &");
    EXPECT_EQ(WithoutAcceleratorMarks(u""), u"");
}
