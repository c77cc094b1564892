// Which failure message a download's end gets, and what the message says.
#include <gtest/gtest.h>

#include "assistant/core/FailureMessage.h"
#include "assistant/core/Texts.h"

namespace {

using K = TFailureKind;
using R = TFailureReason;

TEST(FailureMessage, DeliveredFile) {
    struct Row {
        unsigned status;
        std::int32_t size;
        K kind;
    };
    const Row rows[] = {
        {200, 2201, K::fkNone},       {206, 300000, K::fkNone},     {200, 2200, K::fkRefused},
        {200, 0, K::fkRefused},       {401, 200, K::fkRefused},     {403, 5000, K::fkRefused},
        {407, 300, K::fkUnreachable}, {404, 300, K::fkService},     {500, 9000, K::fkService},
        {302, 0, K::fkService},       {100, 5000, K::fkService},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.status << " " << row.size);
        EXPECT_EQ(FailureOfDeliveredFile(row.status, row.size), row.kind);
    }
}

TEST(FailureMessage, FailedTransfer) {
    struct Row {
        R reason;
        unsigned status;
        K kind;
    };
    const Row rows[] = {
        {R::frCannotConnect, 0, K::fkUnreachable},      {R::frConnectionLost, 206, K::fkUnreachable},
        {R::frCredentialsRefused, 401, K::fkRefused},   {R::frCredentialsRefused, 403, K::fkRefused},
        {R::frCredentialsRefused, 407, K::fkUnreachable}, {R::frServerError, 500, K::fkService},
        {R::frTargetFile, 200, K::fkTargetFile},        {R::frAborted, 200, K::fkNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.reason));
        EXPECT_EQ(FailureOfError(row.reason, row.status), row.kind);
    }
}

TEST(FailureMessage, Texts) {
    const TFailureDetails none;
    for (TLanguage language : {TLanguage::German, TLanguage::English}) {
        EXPECT_EQ(FailureMessageText(language, K::fkRefused, none), FailureTexts(language).Text);
    }
    EXPECT_EQ(FailureMessageText(TLanguage::English, K::fkUnreachable, none),
              u"Downloading full version failed!\r\n\r\nThe download server could not be "
              u"reached. Please check your internet connection and make sure your firewall or "
              u"proxy server is not blocking internet access.");
    EXPECT_EQ(FailureMessageText(TLanguage::German, K::fkService, {503, u"", 0}),
              u"Der Download der Vollversion ist fehlgeschlagen!\r\n\r\nBeim Download-Dienst ist "
              u"ein Problem aufgetreten. Bitte versuchen Sie es sp\u00e4ter noch einmal.\r\n\r\n"
              u"(HTTP-Status 503)");
    EXPECT_EQ(FailureMessageText(TLanguage::English, K::fkTargetFile, {200, u"C:\\Temp", 112}),
              u"Downloading full version failed!\r\n\r\nThe file could not be saved in this "
              u"folder:\r\nC:\\Temp\r\n\r\nThe disk is full.");
    EXPECT_EQ(FailureMessageText(TLanguage::German, K::fkTargetFile, {200, u"C:\\T", 5}),
              u"Der Download der Vollversion ist fehlgeschlagen!\r\n\r\nDie Datei konnte nicht in "
              u"diesem Ordner gespeichert werden:\r\nC:\\T\r\n\r\nDer Zugriff auf den Ordner "
              u"wurde verweigert.");
    EXPECT_NE(FailureMessageText(TLanguage::English, K::fkTargetFile, {0, u"D:\\x", 1117})
                  .find(u"\r\n\r\n(Error 1117)"),
              std::u16string::npos);
    // No status to show: the line is left out.
    EXPECT_EQ(FailureMessageText(TLanguage::English, K::fkService, none).find(u"HTTP"),
              std::u16string::npos);
}

TEST(FailureMessage, FileProblemsAndFolders) {
    EXPECT_EQ(FileProblemOf(112), TFileProblem::fpDiskFull);
    EXPECT_EQ(FileProblemOf(39), TFileProblem::fpDiskFull);
    for (std::uint32_t code : {5u, 19u, 32u, 33u})
        EXPECT_EQ(FileProblemOf(code), TFileProblem::fpNoAccess) << code;
    EXPECT_EQ(FileProblemOf(3), TFileProblem::fpOther);
    EXPECT_EQ(FolderOf(u"C:\\Users\\a\\Temp\\lumvoraVV.exe"), u"C:\\Users\\a\\Temp");
    EXPECT_EQ(FolderOf(u"C:\\lumvoraVV.exe"), u"C:\\");
    EXPECT_EQ(FolderOf(u"\\\\server\\share\\x.exe"), u"\\\\server\\share");
    EXPECT_EQ(FolderOf(u"x.exe"), u"");
}

} // namespace
