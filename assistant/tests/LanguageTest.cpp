// The language rule over regional variants of German and other languages.
#include <gtest/gtest.h>

#include "assistant/core/Language.h"
#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"

struct LangCase {
    std::uint16_t langId;
    TLanguage expected;
};

class LanguageRule : public testing::TestWithParam<LangCase> {};

TEST_P(LanguageRule, PrimaryLanguageDecides) {
    EXPECT_EQ(LanguageFromLangId(GetParam().langId), GetParam().expected)
        << std::hex << GetParam().langId;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageRule,
    testing::Values(LangCase{0x0407, TLanguage::German}, LangCase{0x0807, TLanguage::German},
                    LangCase{0x0C07, TLanguage::German}, LangCase{0x1007, TLanguage::German},
                    LangCase{0x1407, TLanguage::German}, LangCase{0x0409, TLanguage::English},
                    LangCase{0x040C, TLanguage::English}, LangCase{0x0000, TLanguage::English},
                    LangCase{0x0007, TLanguage::German}, LangCase{0x0207, TLanguage::English},
                    LangCase{0x0408, TLanguage::English}, LangCase{0x0417, TLanguage::English}));

TEST(FormTexts, HeaderAndSignupAddressFollowTheLanguage) {
    EXPECT_EQ(HeaderCaption(TLanguage::German, u"Lumvora"),
              u"Kostenlose Registrierung f\u00fcr die <br><b>Vollversion von <font "
              u"size=22>Lumvora</b></font>");
    EXPECT_EQ(HeaderCaption(TLanguage::English, u"Lumvora"),
              u"Free registration for <br><b><font size=22>Lumvora</font> (full version)</b>");
    EXPECT_EQ(SignupAddress(TLanguage::German, u"C0DE"),
              u"https://" + std::u16string(ProductConfig::SignupHostGerman) +
                  u"/vollversion/?l=C0DE");
    EXPECT_EQ(SignupAddress(TLanguage::English, u"C0DE"),
              u"https://" + std::u16string(ProductConfig::SignupHostInternational) +
                  u"/fullversion/?l=C0DE");
    EXPECT_EQ(FailureTexts(TLanguage::German).Caption, u"Download fehlgeschlagen");
    EXPECT_EQ(FailureTexts(TLanguage::English).Text,
              u"Downloading full version failed!\r\n\r\nPlease check your customer ID and make "
              u"sure your firewall is not blocking internet access.");
}
