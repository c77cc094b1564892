// The redirect rule: which Location answers a transfer follows, and to which object path.
#include <gtest/gtest.h>

#include "download/core/Redirect.h"

namespace {

const TRequestTarget kHttp{false, "files.download-test.example", 80, "/files/a/setup.exe?v=1"};
const TRequestTarget kHttps{true, "files.download-test.example", 443, "/files/setup.exe"};

struct Row {
    const TRequestTarget& from;
    const char* location;
    const char* path; // nullptr: not followed
};

const Row kRows[] = {
    // Absolute addresses on the same scheme, host and port, in any case, the port written or
    // not.
    {kHttp, "http://files.download-test.example/other.exe", "/other.exe"},
    {kHttp, "HTTP://Files.Download-Test.Example:80/x?y=z", "/x?y=z"},
    {kHttp, "http://files.download-test.example:/x", "/x"},
    {kHttp, "http://files.download-test.example", "/"},
    {kHttp, "http://files.download-test.example?q", "/?q"},
    {kHttps, "https://files.download-test.example/x", "/x"},
    {kHttps, "https://files.download-test.example:443/x", "/x"},
    {kHttp, "//files.download-test.example/x", "/x"},
    {kHttp, "  /x/y  ", "/x/y"},
    // Relative references against the current path.
    {kHttp, "/", "/"},
    {kHttp, "next.exe", "/files/a/next.exe"},
    {kHttp, "../b/next.exe", "/files/b/next.exe"},
    {kHttp, "./", "/files/a/"},
    {kHttp, "..", "/files/"},
    {kHttp, "../../../../x", "/x"},
    {kHttp, "/a/./b/../c", "/a/c"},
    {kHttp, "?v=2", "/files/a/setup.exe?v=2"},
    {kHttp, "/x?a=../b", "/x?a=../b"},
    {kHttp, "/x#part", "/x"},
    // Another host, port or scheme.
    {kHttp, "http://mirror.elsewhere.example/files/a/setup.exe", nullptr},
    {kHttp, "http://files.download-test.example.elsewhere.example/x", nullptr},
    {kHttp, "http://files.download-test.example:8080/x", nullptr},
    {kHttp, "http://files.download-test.example:080/x", "/x"},
    {kHttp, "http://files.download-test.example:65616/x", nullptr}, // 65616 wraps to 80
    {kHttp, "http://files.download-test.example:8o/x", nullptr},
    {kHttp, "https://files.download-test.example/x", nullptr},
    {kHttps, "http://files.download-test.example/x", nullptr},
    {kHttps, "//files.download-test.example:80/x", nullptr},
    {kHttp, "//mirror.elsewhere.example/x", nullptr},
    {kHttp, "ftp://files.download-test.example/x", nullptr},
    {kHttp, "http:/x", nullptr},
    {kHttp, "http://", nullptr},
    // Credentials of its own, whichever host they name.
    {kHttp, "http://user:pw@files.download-test.example/x", nullptr},
    {kHttp, "http://files.download-test.example@mirror.elsewhere.example/x", nullptr},
    // Nothing to follow, or nothing that belongs in a request line.
    {kHttp, "", nullptr},
    {kHttp, "   ", nullptr},
    {kHttp, "#top", nullptr},
    {kHttp, "/x\r\nHost: mirror.elsewhere.example", nullptr},
};

} // namespace

TEST(Redirect, TableOfLocations) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.location);
        std::optional<std::string> path = RedirectPath(row.from, row.location);
        if (!row.path) {
            EXPECT_FALSE(path) << *path;
            continue;
        }
        ASSERT_TRUE(path);
        EXPECT_EQ(*path, row.path);
    }
}

TEST(Redirect, StatusesThatRedirectAndTheVerbAfterThem) {
    for (unsigned status = 100; status < 600; ++status) {
        SCOPED_TRACE(status);
        bool redirect =
            status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
        EXPECT_EQ(IsRedirectStatus(status), redirect);
        EXPECT_EQ(RedirectKeepsVerb(status), status == 307 || status == 308);
    }
}
