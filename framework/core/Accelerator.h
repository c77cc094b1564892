// Keyboard accelerators in captions: "&x" marks x, "&&" is a literal "&".
#pragma once
#include <optional>
#include <string>
#include <string_view>

// The character a caption marks as its accelerator: the one after the last single "&"
// (the platform's rule), or nothing when the caption marks none.
inline std::optional<char16_t> AcceleratorOf(std::u16string_view caption) {
    std::optional<char16_t> found;
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') found = caption[i + 1];
        ++i; // "&&" and "&x" both end here
    }
    return found;
}

// The caption as shown without its accelerator marks: "&x" gives "x", "&&" gives "&".
inline std::u16string WithoutAcceleratorMarks(std::u16string_view caption) {
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}
