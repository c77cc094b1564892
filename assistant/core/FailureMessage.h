// Which failure message a finished download gets, and its text in the user's language: the
// customer number refused, the server out of reach, a problem of the service, or a target
// file that could not be written.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "assistant/core/Language.h"
#include "download/core/FailureReason.h"

enum class TFailureKind {
    fkNone,        // no message: the installer arrived, or the user cancelled
    fkRefused,     // the customer number was refused (the message of the first design)
    fkUnreachable, // the server could not be reached, or the connection broke off
    fkService,     // the service answered with an error, or with no program
    fkTargetFile,  // the installer could not be written to its folder
};

// A file delivered whole: the installer (fkNone) only when its status is a success and it
// is larger than 2200 bytes. 401 and 403 are a refused number, so is a success of at most
// 2200 bytes (a refusal page sent as a success); 407 is a proxy that wants credentials of its
// own; any other status is the service's problem.
TFailureKind FailureOfDeliveredFile(unsigned status, std::int32_t size);

// A failed transfer, from the download component's reason and last status.
TFailureKind FailureOfError(TFailureReason reason, unsigned status);

// What kept a file from being written, from the platform's error code.
enum class TFileProblem { fpDiskFull, fpNoAccess, fpOther };
TFileProblem FileProblemOf(std::uint32_t code);

// What a message names: the status for the service's problem (shown for support, when there
// is one), the folder and the platform's error code for a file that could not be written.
struct TFailureDetails {
    unsigned Status = 0;
    std::u16string Folder;
    std::uint32_t ErrorCode = 0;
};

// The message's text (its caption is FailureTexts(language).Caption).
std::u16string FailureMessageText(TLanguage language, TFailureKind kind,
                                  const TFailureDetails& details);

// The folder of a file path: the text before its last "\" (the root keeps its "\"); empty
// without one.
std::u16string FolderOf(std::u16string_view path);
