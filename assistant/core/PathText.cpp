// Trimming and file-name rules for the temporary folder and the installer target.
#include "assistant/core/PathText.h"

std::u16string TrimControlAndSpace(std::u16string_view text) {
    auto isBlank = [](char16_t c) { return c <= 32; };
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return std::u16string(text.substr(first, last - first));
}

std::string FileNameFromUrl(std::string_view url) {
    std::size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

std::u16string WithTrailingBackslash(std::u16string path) {
    if (path.empty() || path.back() != u'\\') path += u'\\';
    return path;
}
