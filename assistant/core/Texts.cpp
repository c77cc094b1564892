// The window's texts in both languages.
#include "assistant/core/Texts.h"

#include "assistant/core/ProductConfig.h"

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

constexpr TFailureTexts kGermanFailure{
    u"Download fehlgeschlagen",
    u"Der Download der Vollversion ist fehlgeschlagen!\r\n\r\nBitte pr\u00fcfen Sie, ob die "
    u"angegebene Kundennummer korrekt ist und stellen Sie sicher, dass Ihre Firewall den "
    u"Zugriff nicht blockiert.",
};

constexpr TFailureTexts kEnglishFailure{
    u"Download failed",
    u"Downloading full version failed!\r\n\r\nPlease check your customer ID and make sure "
    u"your firewall is not blocking internet access.",
};

constexpr TDownloadTexts kGermanDownload{
    u"Abbrechen",
    u"Download abbrechen?",
    u"Die Vollversion wird noch heruntergeladen.\r\n\r\nM\u00f6chten Sie den Download "
    u"abbrechen und den Assistenten schlie\u00dfen?",
};

constexpr TDownloadTexts kEnglishDownload{
    u"Cancel",
    u"Cancel download?",
    u"The full version is still downloading.\r\n\r\nDo you want to cancel the download and "
    u"close the assistant?",
};

} // namespace

const TDownloadTexts& DownloadTexts(TLanguage language) {
    return language == TLanguage::German ? kGermanDownload : kEnglishDownload;
}

const TFormTexts& FormTexts(TLanguage language) {
    return language == TLanguage::German ? kGerman : kEnglish;
}

std::u16string HeaderCaption(TLanguage language, std::u16string_view prodName) {
    const TFormTexts& texts = FormTexts(language);
    std::u16string caption(texts.HeaderBefore);
    caption += prodName;
    caption += texts.HeaderAfter;
    return caption;
}

const TFailureTexts& FailureTexts(TLanguage language) {
    return language == TLanguage::German ? kGermanFailure : kEnglishFailure;
}

std::u16string RegistryErrorText(std::u16string_view valueName) {
    std::u16string text = u"Fehler beim Setzen der Daten f\u00fcr '";
    text += valueName;
    text += u"'";
    return text;
}

std::u16string SignupAddress(TLanguage language, std::u16string_view signupCode) {
    std::u16string address = u"https://";
    if (language == TLanguage::German) {
        address += ProductConfig::SignupHostGerman;
        address += u"/vollversion/?l=";
    } else {
        address += ProductConfig::SignupHostInternational;
        address += u"/fullversion/?l=";
    }
    address += signupCode;
    return address;
}

std::u16string UntrustedInstallerText(TLanguage language, std::u16string_view publisher) {
    const bool german = language == TLanguage::German;
    std::u16string text = german ? u"Die heruntergeladene Datei ist nicht von "
                                 : u"The downloaded file is not signed by ";
    text += publisher;
    text += german ? u" signiert und wurde nicht gestartet.\r\n\r\nSie wurde gel\u00f6scht."
                   : u" and was not started.\r\n\r\nIt has been deleted.";
    return text;
}
