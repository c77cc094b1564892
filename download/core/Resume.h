// Picking a transfer up after its connection was lost: how often and after how long the body
// is asked for again, what ties the rest to the part already held, and which answer carries
// on the body, starts it over or ends the transfer.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "download/core/TransferOutcome.h"

// Losses are counted in a row until a request brings the body past the furthest point it had
// reached: a server that breaks off at the same place every time is asked MaxInARow times
// more, one that brings more each time as often as it takes (the body is finite).
class TReconnectPlan {
  public:
    static constexpr int MaxInARow = 3;
    static constexpr std::uint32_t DefaultFirstDelayMs = 1000;

    explicit TReconnectPlan(std::uint32_t firstDelayMs = DefaultFirstDelayMs)
        : FFirstDelayMs(firstDelayMs) {}

    // After a loss with `held` bytes of the body kept: true when the body is to be asked for
    // again, after DelayMs(). A loss before any byte of the body ever arrived is no reason to.
    bool Lost(std::uint32_t held);
    // The wait before the request that Lost allowed: the first delay, then twice and four
    // times it.
    std::uint32_t DelayMs() const { return FFirstDelayMs << (FInARow > 0 ? FInARow - 1 : 0); }

  private:
    std::uint32_t FFirstDelayMs;
    int FInARow = 0;
    std::uint32_t FFurthest = 0;
};

// The If-Range value of a resumed request: the first response's entity tag when it is a
// strong one, else its Last-Modified date; empty when neither can tie the rest to the part
// held (a weak tag cannot), and the body is then asked for from its start.
std::string ResumeValidator(std::string_view etag, std::string_view lastModified);

// "bytes <first>-<last>/<total>", the unit in any case; nothing for any other form, an
// unknown total ("*") or a range that is empty or ends past the total.
struct TContentRange {
    std::uint64_t First = 0, Last = 0, Total = 0;
};
std::optional<TContentRange> ParseContentRange(std::string_view text);

// What the resumed request asked for: the rest from `From` of a body of `Total` bytes (the
// first response's length), whose entity tag was `ETag` (empty when it had none).
struct TResumePoint {
    std::uint32_t From = 0;
    std::uint32_t Total = 0;
    std::string ETag;
};

// The head of the answer to a resumed request.
struct TResumeAnswerHead {
    unsigned Status = 0;
    TAnnouncedLength Length;
    std::optional<std::string> ContentRange;
    std::string ETag;
};

enum class TResumeAnswer { raAppend, raStartOver, raRefuse };

// 206 whose range starts at From, runs to the end and names the same total (with a length, if
// any, of just that rest, and no other entity tag): the body goes on. 200 with the same total
// length: the body starts over. Anything else cannot complete the body that was begun.
TResumeAnswer JudgeResumeAnswer(const TResumePoint& asked, const TResumeAnswerHead& answer);
