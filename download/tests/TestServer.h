// The test program's view of the loopback test server: the download service it plays (host,
// installer path, password, as the test run gave them), addresses on that host (reached
// through http_proxy), the expected body bytes, and the server's request log.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace TestServer {

// True when the program runs under the server wrapper (LV_TEST_HTTP_LOG is set).
bool Available();
// The service the server plays.
std::string Host();
std::string InstallerPath();
std::string Password();
// "http://<download host><path>".
std::string Url(const std::string& path);
// The body byte at offset i of the server's generated bodies.
inline char PatternByte(std::uint64_t i) {
    return char(((i % 251) * 7 + 3) % 251);
}
// True when `data` is exactly the first data.size() pattern bytes.
bool IsPattern(const std::string& data);

// One connection as the server saw it.
struct Connection {
    int Id = 0;
    std::string RequestLine;
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    std::string Closed; // "", "client", "server", "reset", "timeout"
    std::vector<std::string> HeaderValues(const std::string& name) const;
};

// The log position now; pass it to Since to see what happened after.
std::size_t Mark();
std::vector<Connection> Since(std::size_t mark);
// Waits (up to `ms`) until every connection after `mark` has been closed; answers them.
std::vector<Connection> SinceAllClosed(std::size_t mark, int ms = 10000);

} // namespace TestServer
