// The failure message's choice and texts.
#include "assistant/core/FailureMessage.h"

#include "assistant/core/Texts.h"

namespace {

// Only a completed file larger than this is the installer; anything else is an error page.
constexpr std::int32_t kMinInstallerSize = 2200;

// Platform error codes of a file that cannot be written.
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kWriteProtect = 19;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kLockViolation = 33;
constexpr std::uint32_t kHandleDiskFull = 39;
constexpr std::uint32_t kDiskFull = 112;

struct TCauseTexts {
    std::u16string_view Headline;
    std::u16string_view Unreachable;
    std::u16string_view Service;
    std::u16string_view StatusBefore; // the status line's text before the number
    std::u16string_view StatusAfter;
    std::u16string_view FileIntro; // before the folder
    std::u16string_view DiskFull;
    std::u16string_view NoAccess;
    std::u16string_view OtherBefore; // another file error: before its code
    std::u16string_view OtherAfter;
};

constexpr TCauseTexts kGerman{
    u"Der Download der Vollversion ist fehlgeschlagen!",
    u"Der Download-Server ist nicht erreichbar. Bitte pr\u00fcfen Sie Ihre Internetverbindung "
    u"und stellen Sie sicher, dass Ihre Firewall oder Ihr Proxy-Server den Zugriff nicht "
    u"blockiert.",
    u"Beim Download-Dienst ist ein Problem aufgetreten. Bitte versuchen Sie es sp\u00e4ter noch "
    u"einmal.",
    u"(HTTP-Status ",
    u")",
    u"Die Datei konnte nicht in diesem Ordner gespeichert werden:",
    u"Der Datentr\u00e4ger ist voll.",
    u"Der Zugriff auf den Ordner wurde verweigert.",
    u"(Fehler ",
    u")",
};

constexpr TCauseTexts kEnglish{
    u"Downloading full version failed!",
    u"The download server could not be reached. Please check your internet connection and make "
    u"sure your firewall or proxy server is not blocking internet access.",
    u"The download service has a problem. Please try again later.",
    u"(HTTP status ",
    u")",
    u"The file could not be saved in this folder:",
    u"The disk is full.",
    u"Access to the folder was denied.",
    u"(Error ",
    u")",
};

std::u16string Number(std::uint32_t value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), char16_t(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

constexpr std::u16string_view kParagraph = u"\r\n\r\n";

} // namespace

TFailureKind FailureOfDeliveredFile(unsigned status, std::int32_t size) {
    if (status == 401 || status == 403) return TFailureKind::fkRefused;
    if (status == 407) return TFailureKind::fkUnreachable;
    if (status < 200 || status > 299) return TFailureKind::fkService;
    return size > kMinInstallerSize ? TFailureKind::fkNone : TFailureKind::fkRefused;
}

TFailureKind FailureOfError(TFailureReason reason, unsigned status) {
    switch (reason) {
    case TFailureReason::frCannotConnect:
    case TFailureReason::frConnectionLost:
        return TFailureKind::fkUnreachable;
    case TFailureReason::frCredentialsRefused:
        return status == 407 ? TFailureKind::fkUnreachable : TFailureKind::fkRefused;
    case TFailureReason::frServerError:
        return TFailureKind::fkService;
    case TFailureReason::frTargetFile:
        return TFailureKind::fkTargetFile;
    case TFailureReason::frAborted:
        return TFailureKind::fkNone;
    case TFailureReason::frNone:
        break;
    }
    return TFailureKind::fkRefused; // no cause known: the message of the first design
}

TFileProblem FileProblemOf(std::uint32_t code) {
    switch (code) {
    case kDiskFull:
    case kHandleDiskFull:
        return TFileProblem::fpDiskFull;
    case kAccessDenied:
    case kWriteProtect:
    case kSharingViolation:
    case kLockViolation:
        return TFileProblem::fpNoAccess;
    default:
        return TFileProblem::fpOther;
    }
}

std::u16string FailureMessageText(TLanguage language, TFailureKind kind,
                                  const TFailureDetails& details) {
    const TCauseTexts& t = language == TLanguage::German ? kGerman : kEnglish;
    std::u16string text(t.Headline);
    text += kParagraph;
    switch (kind) {
    case TFailureKind::fkNone:
    case TFailureKind::fkRefused:
        return std::u16string(FailureTexts(language).Text);
    case TFailureKind::fkUnreachable:
        text += t.Unreachable;
        break;
    case TFailureKind::fkService:
        text += t.Service;
        if (details.Status != 0) {
            text += kParagraph;
            text += t.StatusBefore;
            text += Number(details.Status);
            text += t.StatusAfter;
        }
        break;
    case TFailureKind::fkTargetFile:
        text += t.FileIntro;
        text += u"\r\n";
        text += details.Folder;
        text += kParagraph;
        switch (FileProblemOf(details.ErrorCode)) {
        case TFileProblem::fpDiskFull:
            text += t.DiskFull;
            break;
        case TFileProblem::fpNoAccess:
            text += t.NoAccess;
            break;
        case TFileProblem::fpOther:
            text += t.OtherBefore;
            text += Number(details.ErrorCode);
            text += t.OtherAfter;
            break;
        }
        break;
    }
    return text;
}

std::u16string FolderOf(std::u16string_view path) {
    std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string_view::npos) return {};
    // "C:\file" keeps "C:\"; a deeper folder drops its trailing "\".
    if (slash == 0 || (slash == 2 && path[1] == u':')) return std::u16string(path.substr(0, slash + 1));
    return std::u16string(path.substr(0, slash));
}
