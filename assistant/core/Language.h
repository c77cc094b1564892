// The language rule: German when the system's primary language is German, else English.
#pragma once
#include <cstdint>

enum class TLanguage { German, English };

constexpr int LANG_GERMAN_PRIMARY = 7;

// The primary language is the low 10 bits of a language identifier.
constexpr TLanguage LanguageFromLangId(std::uint16_t langId) {
    return (langId & 0x3FF) == LANG_GERMAN_PRIMARY ? TLanguage::German : TLanguage::English;
}
