// The cause of a failed transfer, from the HTTP layer's error code and the answer's status.
#include <gtest/gtest.h>

#include "download/core/FailureReason.h"

namespace {

using R = TFailureReason;

TEST(FailureReason, InternetErrorsByPhase) {
    struct Row {
        TTransferPhase phase;
        std::uint32_t code;
        R reason;
    };
    const Row rows[] = {
        {TTransferPhase::tpRequest, 12007, R::frCannotConnect},  // name not resolved
        {TTransferPhase::tpRequest, 12029, R::frCannotConnect},  // connection refused
        {TTransferPhase::tpRequest, 12002, R::frCannotConnect},  // no answer in time
        {TTransferPhase::tpRequest, 12057, R::frCannotConnect},  // certificate refused
        {TTransferPhase::tpRequest, 12030, R::frConnectionLost}, // aborted
        {TTransferPhase::tpRequest, 12031, R::frConnectionLost}, // reset
        {TTransferPhase::tpRequest, 12152, R::frConnectionLost}, // closed without an answer
        {TTransferPhase::tpBody, 12002, R::frConnectionLost},
        {TTransferPhase::tpBody, 12007, R::frConnectionLost},
        {TTransferPhase::tpBody, 0, R::frConnectionLost},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(ReasonForInternetError(row.phase, row.code), row.reason);
    }
}

TEST(FailureReason, Statuses) {
    for (unsigned status : {401u, 403u, 407u})
        EXPECT_EQ(ReasonForStatus(status), R::frCredentialsRefused) << status;
    EXPECT_EQ(ReasonForStatus(0), R::frConnectionLost);
    for (unsigned status : {200u, 302u, 400u, 402u, 404u, 408u, 500u, 503u})
        EXPECT_EQ(ReasonForStatus(status), R::frServerError) << status;
}

} // namespace
