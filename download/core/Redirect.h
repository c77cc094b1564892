// Which redirects a transfer follows: only those that stay on the scheme, host and port it
// was started with (the connection carries the customer's credentials for that host alone),
// and only so many in a row.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where a request goes: the scheme, host and port its connection was opened with, and the
// object path (query included).
struct TRequestTarget {
    bool Secure = false;
    std::string HostName;
    std::uint16_t Port = 80;
    std::string ObjectPath;
};

// Redirects followed in a row; a further redirect answer fails the transfer, so a transfer
// sends at most MaxRedirects + 1 requests.
inline constexpr int MaxRedirects = 10;

// 301, 302, 303, 307 and 308: the answers that send the client to their Location.
bool IsRedirectStatus(unsigned status);

// 307 and 308 repeat the request as it was (a POST with its body); the others are followed
// with a GET without a body.
bool RedirectKeepsVerb(unsigned status);

// The object path that `location` leads to when it stays on `from`'s scheme, host (compared
// without regard to case) and port; nothing when it leaves them, names credentials of its own
// or cannot be read. An absolute address, one without a scheme ("//host/path"), an absolute
// path, a path relative to `from`'s path and a query alone are understood; "." and ".."
// segments are resolved and a fragment is dropped.
std::optional<std::string> RedirectPath(const TRequestTarget& from, std::string_view location);
