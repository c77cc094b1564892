// The window's texts in both languages.
#include "assistant/core/Texts.h"

namespace {

constexpr TFormTexts kGerman{
    u"Vollversion registrieren",
    u"Kostenlose Registrierung f\u00fcr die <br><b>Vollversion von <font size=22>",
    u"</b></font>",
    u"<B><U>Schritt 1:</U></B><br><br>Klicken Sie den folgenden Link und registrieren Sie sich:",
    u"Jetzt registrieren",
    u"<B><U>Schritt 2:</U></B><br><br>Geben Sie die Kundennummer ein, die Sie nach der "
    u"Registrierung per E-Mail erhalten haben:",
    u"Kundennummer:",
    u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie "
    u"diese auf Ihrem Computer:",
    u"Vollversion herunterladen",
    u"Bitte achten Sie auf die <B>korrekte Eingabe</B> Ihrer Daten, da eine Registrierung "
    u"sonst nicht m\u00f6glich ist!",
};

constexpr TFormTexts kEnglish{
    u"Register full version",
    u"Free registration for <br><b><font size=22>",
    u"</font> (full version)</b>",
    u"<B><U>Step 1:</U></B><br><br>Click the following link and register:",
    u"Register now",
    u"<B><U>Step 2:</U></B><br><br>Enter your customer ID received by e-mail once your "
    u"registration succeeded:",
    u"Customer ID:",
    u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:",
    u"Download full version",
    u"Please pay attention to the <B>correct input of your data</B>, otherwise registration "
    u"will fail!",
};

} // namespace

const TFormTexts& FormTexts(TLanguage language) {
    return language == TLanguage::German ? kGerman : kEnglish;
}
