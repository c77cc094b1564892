// The texts table: every text of the assistant window, in German and English side by side,
// so that no text can exist in one language only. The layout is built with the German ones and
// the window takes those of the system language from here (the failure causes and the
// progress line compose theirs, both languages together, in FailureMessage and
// DownloadProgress).
#pragma once
#include <string>
#include <string_view>

#include "assistant/core/Language.h"

struct TFormTexts {
    std::u16string_view Caption;
    std::u16string_view HeaderBefore; // header caption before the product name
    std::u16string_view HeaderAfter;  // and after it
    std::u16string_view Step1;
    std::u16string_view SignupLink;
    std::u16string_view Step2;
    std::u16string_view CustomerLabel;
    std::u16string_view Step3;
    std::u16string_view DownloadButton;
    std::u16string_view BottomNote;
};

const TFormTexts& FormTexts(TLanguage language);

// The header caption: the text before the product name, the name, the text after it.
std::u16string HeaderCaption(TLanguage language, std::u16string_view prodName);

// The message shown when a download fails or brings too small a file.
struct TFailureTexts {
    std::u16string_view Caption;
    std::u16string_view Text;
};

const TFailureTexts& FailureTexts(TLanguage language);

// The busy panel's Cancel button and the question a close request asks during a download.
struct TDownloadTexts {
    std::u16string_view CancelButton;
    std::u16string_view CloseCaption;
    std::u16string_view CloseQuestion;
};

const TDownloadTexts& DownloadTexts(TLanguage language);

// The error raised when the customer number cannot be stored under `valueName`. German in
// every language, as designed: the only text of the program that has one language only.
std::u16string RegistryErrorText(std::u16string_view valueName);

// The sign-up page of the maker's site for the language, with the sign-up code as query.
std::u16string SignupAddress(TLanguage language, std::u16string_view signupCode);

// The message, in the failure message's box, when a downloaded installer is not signed by
// the publisher: it was deleted and not started.
std::u16string UntrustedInstallerText(TLanguage language, std::u16string_view publisher);
