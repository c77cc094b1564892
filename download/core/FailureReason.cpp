// The classification of a failed transfer's cause.
#include "download/core/FailureReason.h"

namespace {

// Error codes of the HTTP layer for a connection that was made and then broke off.
constexpr std::uint32_t kConnectionAborted = 12030;
constexpr std::uint32_t kConnectionReset = 12031;
constexpr std::uint32_t kInvalidServerResponse = 12152;

} // namespace

TFailureReason ReasonForInternetError(TTransferPhase phase, std::uint32_t code) {
    if (phase == TTransferPhase::tpBody) return TFailureReason::frConnectionLost;
    switch (code) {
    case kConnectionAborted:
    case kConnectionReset:
    case kInvalidServerResponse:
        return TFailureReason::frConnectionLost;
    default:
        return TFailureReason::frCannotConnect;
    }
}

TFailureReason ReasonForStatus(unsigned status) {
    switch (status) {
    case 0: // the connection closed without an answer
        return TFailureReason::frConnectionLost;
    case 401:
    case 403:
    case 407:
        return TFailureReason::frCredentialsRefused;
    default:
        return TFailureReason::frServerError;
    }
}
