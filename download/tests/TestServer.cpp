// Reads the test server's environment and its tab-separated request log.
#include "download/tests/TestServer.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace TestServer {

namespace {

// The log's Unix path as Wine's drive Z: sees it.
std::string LogPath() {
    const char* unixPath = std::getenv("LV_TEST_HTTP_LOG");
    if (!unixPath) return {};
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::string ReadFrom(std::size_t mark) {
    std::ifstream in(LogPath(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    return mark < text.size() ? text.substr(mark) : std::string();
}

} // namespace

bool Available() {
    return !LogPath().empty();
}

namespace {

std::string Setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string Host() {
    return Setting("LV_TEST_HTTP_HOST");
}

std::string InstallerPath() {
    return Setting("LV_TEST_HTTP_PATH");
}

std::string Password() {
    return Setting("LV_TEST_HTTP_PASSWORD");
}

std::string Url(const std::string& path) {
    return "http://" + Host() + path;
}

bool IsPattern(const std::string& data) {
    for (std::size_t i = 0; i < data.size(); ++i)
        if (data[i] != PatternByte(i)) return false;
    return true;
}

std::vector<std::string> Connection::HeaderValues(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [n, v] : Headers)
        if (_stricmp(n.c_str(), name.c_str()) == 0) values.push_back(v);
    return values;
}

std::size_t Mark() {
    std::ifstream in(LogPath(), std::ios::binary | std::ios::ate);
    return in ? std::size_t(in.tellg()) : 0;
}

std::vector<Connection> Since(std::size_t mark) {
    std::map<int, Connection> byId;
    std::istringstream lines(ReadFrom(mark));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::size_t start = 0;
        for (;;) {
            std::size_t tab = line.find('\t', start);
            f.push_back(Unescape(line.substr(start, tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (f.size() < 3) continue;
        Connection& c = byId[std::stoi(f[1])];
        c.Id = std::stoi(f[1]);
        if (f[0] == "request")
            c.RequestLine = f[2];
        else if (f[0] == "header" && f.size() >= 4)
            c.Headers.emplace_back(f[2], f[3]);
        else if (f[0] == "body")
            c.Body = FromHex(f[2]);
        else if (f[0] == "closed")
            c.Closed = f[2];
    }
    std::vector<Connection> out;
    // Connections of earlier requests whose end was logged after the mark are not theirs.
    for (auto& [id, c] : byId)
        if (!c.RequestLine.empty()) out.push_back(std::move(c));
    return out;
}

std::vector<Connection> SinceAllClosed(std::size_t mark, int ms) {
    DWORD end = GetTickCount() + DWORD(ms);
    for (;;) {
        std::vector<Connection> all = Since(mark);
        bool closed = true;
        for (const Connection& c : all)
            if (c.Closed.empty()) closed = false;
        if (closed || int(end - GetTickCount()) <= 0) return all;
        Sleep(20);
    }
}

} // namespace TestServer
