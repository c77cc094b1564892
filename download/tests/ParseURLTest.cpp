// Address parsing: scheme removal in any case, the first "/" as the split, no repair.
#include <gtest/gtest.h>

#include "download/core/ParseURL.h"

namespace {

struct Row {
    const char* url;
    const char* host;
    const char* path;
    bool secure;
};

const Row kRows[] = {
    {"http://files.download-test.example/files/setup.exe", "files.download-test.example",
     "/files/setup.exe", false},
    {"HTTP://Host.example/a?b=c/d", "Host.example", "/a?b=c/d", false},
    {"https://host.example/x", "host.example", "/x", true},
    {"HTTPS://HOST.EXAMPLE/X", "HOST.EXAMPLE", "/X", true},
    {"hTtPs://h/", "h", "/", true},
    // Not at the start: the address is used unchanged, host name and all.
    {"host.example/go?to=http://other.example/", "host.example", "/go?to=http://other.example/",
     false},
    {"ftp://host.example/file", "ftp:", "//host.example/file", false},
    // No "/" after the host: empty host name, so no server is reached.
    {"http://host.example", "", "", false},
    {"https://", "", "", true},
    {"", "", "", false},
    // A port stays part of the host name.
    {"http://host.example:8080/path", "host.example:8080", "/path", false},
    {"http:/host/x", "http:", "/host/x", false},
};

} // namespace

TEST(ParseURL, TableOfAddresses) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.url);
        TParsedURL parsed = ParseURL(row.url);
        EXPECT_EQ(parsed.HostName, row.host);
        EXPECT_EQ(parsed.ObjectPath, row.path);
        EXPECT_EQ(parsed.Secure, row.secure);
    }
}
