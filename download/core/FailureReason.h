// Why a transfer ended without its outcome: one value of a closed set, chosen where the
// worker gives up, so that the caller can tell the user what went wrong.
#pragma once
#include <cstdint>

enum class TFailureReason {
    frNone,               // the transfer delivered its outcome
    frCannotConnect,      // no answer came: name resolution, connection, TLS, proxy
    frConnectionLost,     // the answer broke off: reset, closed early, stalled
    frCredentialsRefused, // 401, 403 or 407 after the challenge was answered
    frServerError,        // an error status, or an answer the transfer cannot take
    frTargetFile,         // the target file could not be created or written
    frAborted,            // stopped by Abort or the component's destruction
};

// Where the transfer stood when the HTTP layer reported an error: sending the request and
// waiting for the answer's head, or reading its body.
enum class TTransferPhase { tpRequest, tpBody };

// The reason for an error code of the HTTP layer. While the request goes out, a connection
// that was reset, aborted or closed without a valid answer is lost; any other error (a name
// that does not resolve, a refused connection, a time-out, a refused certificate, a proxy
// that cannot be reached) means no connection was made. In the body every error is a loss.
TFailureReason ReasonForInternetError(TTransferPhase phase, std::uint32_t code);

// The reason for a response the transfer cannot take (no usable length, a redirect it may
// not follow): 401, 403 and 407 are refused credentials, anything else a server error; no
// status at all (the connection closed before an answer) is a lost connection.
TFailureReason ReasonForStatus(unsigned status);
