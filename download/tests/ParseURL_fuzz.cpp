// libFuzzer target: any bytes as a download address. What ParseURL accepts (a host name and
// a path) is the address itself: the scheme, written in lower case, then host and path
// give back the address as written (with "http://" in front when it had no scheme), and
// parse again to the same parts. What it refuses reaches no server.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "download/core/ParseURL.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "rule broken: %s\n", what);
    std::abort();
}

bool HasScheme(std::string_view url, std::string_view scheme) {
    if (url.size() < scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char c = url[i] >= 'A' && url[i] <= 'Z' ? char(url[i] + ('a' - 'A')) : url[i];
        if (c != scheme[i]) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view url(reinterpret_cast<const char*>(data), size);
    const TParsedURL parsed = ParseURL(url);
    Check(parsed.HostName.find('/') == std::string::npos, "the host name holds no slash");
    Check(parsed.ObjectPath.empty() || parsed.ObjectPath[0] == '/', "the path starts with a slash");
    const bool secure = HasScheme(url, "https://");
    Check(parsed.Secure == secure, "secure exactly for https://");
    if (parsed.ObjectPath.empty()) {
        Check(parsed.HostName.empty(), "a host name comes with a path");
        return 0;
    }
    std::string written;
    if (secure)
        written = "https://" + std::string(url.substr(8));
    else if (HasScheme(url, "http://"))
        written = "http://" + std::string(url.substr(7));
    else
        written = "http://" + std::string(url);
    const std::string rebuilt =
        (parsed.Secure ? "https://" : "http://") + parsed.HostName + parsed.ObjectPath;
    Check(rebuilt == written, "the parts rebuild the address");
    const TParsedURL again = ParseURL(rebuilt);
    Check(again.HostName == parsed.HostName && again.ObjectPath == parsed.ObjectPath &&
              again.Secure == parsed.Secure,
          "the rebuilt address parses to the same parts");
    return 0;
}
