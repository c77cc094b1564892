// The announced length as received, and the success rule of a finished transfer.
#include <gtest/gtest.h>

#include "download/core/TransferOutcome.h"

namespace {

TAnnouncedLength Valid(std::int32_t n) {
    return {TLengthKind::lkValid, n};
}
const TAnnouncedLength kAbsent{TLengthKind::lkAbsent, 0};
const TAnnouncedLength kInvalid{TLengthKind::lkInvalid, 0};

} // namespace

TEST(ContentLength, TableOfHeaderValues) {
    struct Row {
        std::vector<std::string> values;
        TLengthKind kind;
        std::int32_t value;
    };
    const Row rows[] = {
        {{}, TLengthKind::lkAbsent, 0},
        {{"0"}, TLengthKind::lkValid, 0},
        {{"2200"}, TLengthKind::lkValid, 2200},
        {{" 2201 "}, TLengthKind::lkValid, 2201},
        {{"2147483647"}, TLengthKind::lkValid, 2147483647},
        {{"2147483648"}, TLengthKind::lkInvalid, 0}, // beyond the 32-bit signed range
        {{"4294969496"}, TLengthKind::lkInvalid, 0}, // 2^32 + 2200 must not wrap to 2200
        {{"99999999999999999999999"}, TLengthKind::lkInvalid, 0},
        {{"-5"}, TLengthKind::lkInvalid, 0},
        {{"+5"}, TLengthKind::lkInvalid, 0},
        {{"abc"}, TLengthKind::lkInvalid, 0},
        {{"12abc"}, TLengthKind::lkInvalid, 0},
        {{""}, TLengthKind::lkInvalid, 0},
        {{"100, 200"}, TLengthKind::lkInvalid, 0}, // copies joined by the HTTP layer
        {{"100", "100"}, TLengthKind::lkValid, 100},
        {{"100", "200"}, TLengthKind::lkInvalid, 0},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const auto& v : row.values)
            name += "[" + v + "]";
        SCOPED_TRACE(name);
        TAnnouncedLength got = ParseContentLength(row.values);
        EXPECT_EQ(got.Kind, row.kind);
        if (row.kind == TLengthKind::lkValid) {
            EXPECT_EQ(got.Value, row.value);
        }
    }
}

TEST(TransferOutcome, TableOfEnds) {
    struct Row {
        const char* what;
        bool toFile;
        TAnnouncedLength length;
        std::uint32_t received;
        bool clean;
        bool success;
    };
    const Row rows[] = {
        {"file complete", true, Valid(2201), 2201, true, true},
        {"file complete, read failed after the last byte", true, Valid(2201), 2201, false, true},
        {"file short", true, Valid(5000), 3000, true, false},
        {"file broken", true, Valid(5000), 3000, false, false},
        {"file longer than announced", true, Valid(10), 11, true, false},
        {"file empty with length 0", true, Valid(0), 0, true, true},
        {"file no length, body", true, kAbsent, 500, true, true},
        {"file no length, empty", true, kAbsent, 0, true, false},
        {"file no length, connection failed before a byte", true, kAbsent, 0, false, false},
        {"file no length, failed read", true, kAbsent, 500, false, false},
        {"file invalid length", true, kInvalid, 0, true, false},
        {"string complete", false, Valid(3), 3, true, true},
        {"string empty with length 0", false, Valid(0), 0, true, false},
        {"string short", false, Valid(5000), 3000, true, false},
        {"string no length, body", false, kAbsent, 3, true, true},
        {"string no length, empty", false, kAbsent, 0, true, false},
        {"string no length, failed read", false, kAbsent, 3, false, false},
        // Sizes are signed 32-bit: a body past 2^31 - 1 bytes is never a success.
        {"file no length, 2^31 - 1 bytes", true, kAbsent, 0x7FFFFFFF, true, true},
        {"file no length, 2^31 bytes", true, kAbsent, 0x80000000u, true, false},
        {"string no length, 2^32 - 1 bytes", false, kAbsent, 0xFFFFFFFFu, true, false},
        {"a negative length counts as none that fits", true, Valid(-1), 0xFFFFFFFFu, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TTransferEnd end;
        end.ToFile = row.toFile;
        end.Length = row.length;
        end.Received = row.received;
        end.EndedCleanly = row.clean;
        EXPECT_EQ(TransferSucceeded(end), row.success);
    }
}
