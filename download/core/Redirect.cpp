// The redirect rule of the download component.
#include "download/core/Redirect.h"

#include <vector>

#include "download/core/AsciiText.h"

namespace {

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The scheme of an absolute reference ("http" of "http://..."), empty for a relative one.
std::string_view SchemeOf(std::string_view ref) {
    if (ref.empty() || !IsAlpha(ref[0])) return {};
    for (std::size_t i = 1; i < ref.size(); ++i) {
        char c = ref[i];
        if (c == ':') return ref.substr(0, i);
        if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

// "host[:port]" against the target; a port left out is the scheme's own.
bool SameAuthority(const TRequestTarget& from, std::string_view authority) {
    if (authority.find('@') != std::string_view::npos) return false; // credentials of its own
    std::string_view host = authority, port;
    std::size_t colon = authority.rfind(':');
    std::size_t bracket = authority.rfind(']'); // an IPv6 literal holds colons of its own
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    unsigned number = from.Secure ? 443 : 80;
    if (!port.empty()) {
        if (port.size() > 5) return false;
        number = 0;
        for (char c : port) {
            if (!IsDigit(c)) return false;
            number = number * 10 + unsigned(c - '0');
        }
    }
    return !host.empty() && EqualsNoCase(host, from.HostName) && number == from.Port;
}

// Resolves "." and ".." segments of a path that begins with "/".
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    bool endsInSlash = false;
    std::size_t start = 1;
    for (;;) {
        std::size_t slash = path.find('/', start);
        bool last = slash == std::string_view::npos;
        std::string_view segment =
            path.substr(start, last ? std::string_view::npos : slash - start);
        if (segment == ".." && !segments.empty()) segments.pop_back();
        if (segment != "." && segment != "..") segments.push_back(segment);
        endsInSlash = last && (segment == "." || segment == "..");
        if (last) break;
        start = slash + 1;
    }
    std::string out;
    for (std::string_view segment : segments) {
        out += '/';
        out += segment;
    }
    if (endsInSlash || out.empty()) out += '/';
    return out;
}

// "/path?query" with the path's dot segments resolved.
std::string Normalised(std::string_view pathAndQuery) {
    std::size_t query = pathAndQuery.find('?');
    std::string out = RemoveDotSegments(pathAndQuery.substr(0, query));
    if (query != std::string_view::npos) out += pathAndQuery.substr(query);
    return out;
}

} // namespace

bool IsRedirectStatus(unsigned status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool RedirectKeepsVerb(unsigned status) {
    return status == 307 || status == 308;
}

std::optional<std::string> RedirectPath(const TRequestTarget& from, std::string_view location) {
    while (!location.empty() && (location.front() == ' ' || location.front() == '\t'))
        location.remove_prefix(1);
    while (!location.empty() && (location.back() == ' ' || location.back() == '\t'))
        location.remove_suffix(1);
    for (char c : location)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    location = location.substr(0, location.find('#'));
    if (location.empty()) return std::nullopt;

    std::string_view scheme = SchemeOf(location);
    if (!scheme.empty()) {
        bool secure = EqualsNoCase(scheme, "https");
        if (!secure && !EqualsNoCase(scheme, "http")) return std::nullopt;
        if (secure != from.Secure) return std::nullopt;
        location.remove_prefix(scheme.size() + 1);
        if (location.substr(0, 2) != "//") return std::nullopt;
    }
    if (location.substr(0, 2) == "//") {
        location.remove_prefix(2);
        std::size_t end = location.find_first_of("/?");
        if (!SameAuthority(from, location.substr(0, end))) return std::nullopt;
        if (end == std::string_view::npos) return std::string("/");
        location.remove_prefix(end);
        if (location.front() == '?') return "/" + std::string(location);
        return Normalised(location);
    }
    if (location.front() == '/') return Normalised(location);

    // Relative to the target's path: a query alone replaces the query, anything else the
    // last segment.
    std::string_view base = std::string_view(from.ObjectPath).substr(0, from.ObjectPath.find('?'));
    if (base.empty() || base.front() != '/') base = "/";
    if (location.front() == '?') return Normalised(std::string(base) + std::string(location));
    return Normalised(std::string(base.substr(0, base.rfind('/') + 1)) + std::string(location));
}
