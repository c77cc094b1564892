// Resuming a lost transfer: how often it asks again, what ties the rest to the part held,
// and which answers carry the body on.
#include <gtest/gtest.h>

#include <vector>

#include "download/core/Resume.h"

namespace {

// Feeds the bytes held at each loss to a plan; answers the delays of the requests it allows,
// 0 where it gives up.
std::vector<std::uint32_t> Delays(const std::vector<std::uint32_t>& heldAtLosses) {
    TReconnectPlan plan;
    std::vector<std::uint32_t> delays;
    for (std::uint32_t held : heldAtLosses)
        delays.push_back(plan.Lost(held) ? plan.DelayMs() : 0);
    return delays;
}

TEST(ReconnectPlan, ThreeInARowAfter1_2And4Seconds) {
    // Drops at the same place (a server that ignores ranges and breaks off again, or
    // requests that fail before any new byte): three more requests, then the end.
    EXPECT_EQ(Delays({500, 500, 500, 500}), (std::vector<std::uint32_t>{1000, 2000, 4000, 0}));
    EXPECT_EQ(Delays({500, 0, 200, 499}), (std::vector<std::uint32_t>{1000, 2000, 4000, 0}));
    // Each request that brings the body further starts the count again.
    EXPECT_EQ(Delays({500, 600, 600, 600, 700, 800}),
              (std::vector<std::uint32_t>{1000, 1000, 2000, 4000, 1000, 1000}));
    // Nothing of the body ever arrived: no reason to ask again.
    EXPECT_EQ(Delays({0}), (std::vector<std::uint32_t>{0}));
    TReconnectPlan shorter(50);
    ASSERT_TRUE(shorter.Lost(1));
    EXPECT_EQ(shorter.DelayMs(), 50u);
}

TEST(Resume, ValidatorIsAStrongTagElseTheDate) {
    const char* date = "Fri, 11 Dec 2026 10:00:00 GMT";
    EXPECT_EQ(ResumeValidator("\"v1\"", date), "\"v1\"");
    EXPECT_EQ(ResumeValidator("  \"v1\" ", ""), "\"v1\"");
    EXPECT_EQ(ResumeValidator("W/\"v1\"", date), date);
    EXPECT_EQ(ResumeValidator("", date), date);
    EXPECT_EQ(ResumeValidator("v1", ""), "");
    EXPECT_EQ(ResumeValidator("", ""), "");
}

TEST(Resume, ContentRange) {
    struct Row {
        const char* text;
        bool ok;
        std::uint64_t first, last, total;
    };
    const Row rows[] = {
        {"bytes 500-999/1000", true, 500, 999, 1000},
        {"Bytes  0-0/1", true, 0, 0, 1},
        {" bytes 1-2147483646/2147483647 ", true, 1, 2147483646, 2147483647},
        {"bytes 500-999/*", false, 0, 0, 0},
        {"bytes */1000", false, 0, 0, 0},
        {"bytes 500-1000/1000", false, 0, 0, 0},
        {"bytes 600-500/1000", false, 0, 0, 0},
        {"bytes=500-999/1000", false, 0, 0, 0},
        {"bytes500-999/1000", false, 0, 0, 0},
        {"items 500-999/1000", false, 0, 0, 0},
        {"bytes 500-999/1000x", false, 0, 0, 0},
        {"bytes -5-999/1000", false, 0, 0, 0},
        {"bytes 1-2/99999999999999999999999", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::optional<TContentRange> range = ParseContentRange(row.text);
        ASSERT_EQ(range.has_value(), row.ok);
        if (!row.ok) continue;
        EXPECT_EQ(range->First, row.first);
        EXPECT_EQ(range->Last, row.last);
        EXPECT_EQ(range->Total, row.total);
    }
}

TEST(Resume, AnswersThatCarryOnStartOverOrEnd) {
    const TResumePoint asked{500, 1000, "\"v1\""};
    const TAnnouncedLength none{};
    auto length = [](std::int32_t n) { return TAnnouncedLength{TLengthKind::lkValid, n}; };
    const TAnnouncedLength invalid{TLengthKind::lkInvalid, 0};
    using A = TResumeAnswer;
    struct Row {
        const char* what;
        TResumeAnswerHead head;
        A answer;
    };
    const Row rows[] = {
        {"the rest", {206, length(500), "bytes 500-999/1000", "\"v1\""}, A::raAppend},
        {"the rest, no length or tag", {206, none, "bytes 500-999/1000", ""}, A::raAppend},
        {"whole body again", {200, length(1000), std::nullopt, "\"v2\""}, A::raStartOver},
        {"another body", {200, length(1200), std::nullopt, ""}, A::raRefuse},
        {"whole body without length", {200, none, std::nullopt, ""}, A::raRefuse},
        {"range from elsewhere", {206, length(600), "bytes 400-999/1000", ""}, A::raRefuse},
        {"range short of the end", {206, length(100), "bytes 500-599/1000", ""}, A::raRefuse},
        {"another total", {206, length(500), "bytes 500-999/1200", ""}, A::raRefuse},
        {"length against range", {206, length(400), "bytes 500-999/1000", ""}, A::raRefuse},
        {"bad length", {206, invalid, "bytes 500-999/1000", ""}, A::raRefuse},
        {"no range", {206, length(500), std::nullopt, ""}, A::raRefuse},
        {"unreadable range", {206, length(500), "bytes 500-999/*", ""}, A::raRefuse},
        {"another tag", {206, length(500), "bytes 500-999/1000", "\"v2\""}, A::raRefuse},
        {"not satisfiable", {416, length(20), "bytes */1000", ""}, A::raRefuse},
        {"error page", {500, length(20), std::nullopt, ""}, A::raRefuse},
        {"refused", {401, length(20), std::nullopt, ""}, A::raRefuse},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(JudgeResumeAnswer(asked, row.head), row.answer);
    }
    // A 206 to a request that asked for no range (from 0) is no continuation.
    EXPECT_EQ(JudgeResumeAnswer({0, 1000, ""}, {206, length(1000), "bytes 0-999/1000", ""}),
              A::raRefuse);
}

} // namespace
