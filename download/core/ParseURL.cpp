// Address parsing of the download component.
#include "download/core/ParseURL.h"

#include "download/core/AsciiText.h"

TParsedURL ParseURL(std::string_view url) {
    TParsedURL parsed;
    if (StartsWithNoCase(url, "http://")) {
        url.remove_prefix(7);
    } else if (StartsWithNoCase(url, "https://")) {
        url.remove_prefix(8);
        parsed.Secure = true;
    }
    std::size_t slash = url.find('/');
    if (slash == std::string_view::npos) return parsed;
    parsed.HostName = std::string(url.substr(0, slash));
    parsed.ObjectPath = std::string(url.substr(slash));
    return parsed;
}
