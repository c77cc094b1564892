// THTTPGet over TLS (tests/fixtures/tls_site.py: nginx behind a CONNECT tunnel, certificates
// from the test authority that the test prefix trusts): a trusted certificate delivers the
// body intact; an authority nobody trusts, a certificate for another name and one that has
// run out end in OnError with no file handed on and no request reaching the server (so no
// credentials either); a redirect from https to plain http is refused before anything is
// sent there. Name and date are tested with the trusted authority: under this Wine an
// untrusted authority (error 12057) hides both.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assistant/core/ProductConfig.h"
#include "download/win32/HTTPGet.h"

namespace {

std::string UnixFile(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? "Z:" + std::string(value) : std::string();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

class Https : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("LV_TEST_HTTPS_LOG")) GTEST_SKIP() << "needs tests/fixtures/tls_site.py";
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Target = std::string(temp) + "lv-https-test.bin";
        DeleteFileA(Target.c_str());
    }
    void TearDown() override { DeleteFileA(Target.c_str()); }

    // Fetches `url` into Target as the assistant does (customer number and password).
    void Fetch(const std::string& url) {
        THTTPGet get(nullptr);
        get.SetURL(url);
        get.SetFileName(Target);
        get.SetBinaryData(true);
        get.SetUserName("1234567890");
        get.SetPassword(std::string(ProductConfig::DownloadPassword));
        get.SetWaitThread(true);
        get.OnDoneFile = [this](TObject*, const std::string&, std::int32_t size) {
            ++DoneFile;
            Size = size;
            Body = ReadAll(Target);
        };
        get.OnError = [this](TObject*) { ++Errors; };
        get.GetFile();
    }

    // The requests nginx served for `host`.
    static std::vector<std::string> Served(const std::string& host) {
        std::vector<std::string> found;
        for (const std::string& line : Lines(UnixFile("LV_TEST_HTTPS_LOG")))
            if (line.rfind(host + "\t", 0) == 0) found.push_back(line);
        return found;
    }

    std::string Target, Body;
    int DoneFile = 0, Errors = 0;
    std::int32_t Size = -1;
};

const std::string kHost(ProductConfig::DownloadHost);
const std::string kPath(ProductConfig::InstallerPath);

} // namespace

TEST_F(Https, TrustedCertificateDeliversTheBodyIntact) {
    Fetch("https://" + kHost + kPath);
    std::string installer = ReadAll(UnixFile("LV_TEST_INSTALLER"));
    ASSERT_EQ(DoneFile, 1);
    EXPECT_EQ(Errors, 0);
    EXPECT_EQ(Size, std::int32_t(installer.size()));
    EXPECT_TRUE(Body == installer) << "the body differs from the installer";
    // The credentials went over the tunnel, to the download host only.
    bool authorised = false;
    for (const std::string& line : Served(kHost))
        authorised |= line.find(kPath) != std::string::npos &&
                      line.find("\t200\t1234567890") != std::string::npos;
    EXPECT_TRUE(authorised) << "nginx logged no authorised request for the installer";
}

TEST_F(Https, CertificateFaultsEndInOnErrorBeforeAnyRequest) {
    struct Row {
        const char* what;
        const char* host;
    } rows[] = {
        {"authority nobody trusts", "untrusted.kestrune.example"},
        {"certificate for another name", "wrong-name.kestrune.example"},
        {"certificate that has run out", "expired.kestrune.example"},
    };
    for (const Row& row : rows) {
        DoneFile = Errors = 0;
        Fetch("https://" + std::string(row.host) + kPath);
        EXPECT_EQ(Errors, 1) << row.what;
        EXPECT_EQ(DoneFile, 0) << row.what;
        EXPECT_EQ(GetFileAttributesA(Target.c_str()), INVALID_FILE_ATTRIBUTES)
            << row.what << ": a file was left";
        EXPECT_TRUE(Served(row.host).empty()) << row.what << ": a request reached the server";
    }
}

TEST_F(Https, RedirectToPlainHttpIsRefused) {
    Fetch("https://" + kHost + "/to-http");
    EXPECT_EQ(Errors, 1);
    EXPECT_EQ(DoneFile, 0);
    // The tunnel took only CONNECT requests: nothing was sent in plain text.
    for (const std::string& line : Lines(UnixFile("LV_TEST_TUNNEL_LOG")))
        EXPECT_EQ(line.rfind("CONNECT ", 0), 0u) << "sent in plain: " << line;
}
