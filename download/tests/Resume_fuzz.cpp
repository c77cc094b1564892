// libFuzzer target: the answer to a request for the rest of a lost body, over any
// Content-Range text (bytes as the server sent them), any point asked from, any total, status,
// length and entity tags, held against the rules:
// - an accepted range has first <= last < total, and written out again as
//   "bytes <first>-<last>/<total>" it reads back the same;
// - the body goes on only after a 206 whose range starts where it was asked from, ends at the
//   last byte and names the total asked for, with a length (if any) of just that rest and no
//   other entity tag;
// - it starts over only after a 200 whose length is the total.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "download/core/Resume.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "rule broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 14) return 0;
    std::uint32_t from, total;
    std::int32_t lengthValue;
    std::memcpy(&from, data, 4);
    std::memcpy(&total, data + 4, 4);
    std::memcpy(&lengthValue, data + 8, 4);
    const std::uint8_t statusPick = data[12], tags = data[13];
    const std::string text(reinterpret_cast<const char*>(data + 14), size - 14);

    const std::optional<TContentRange> range = ParseContentRange(text);
    if (range) {
        Check(range->First <= range->Last && range->Last < range->Total, "range order");
        const std::string again = "bytes " + std::to_string(range->First) + "-" +
                                  std::to_string(range->Last) + "/" +
                                  std::to_string(range->Total);
        const std::optional<TContentRange> reread = ParseContentRange(again);
        Check(reread && reread->First == range->First && reread->Last == range->Last &&
                  reread->Total == range->Total,
              "range written out again reads back the same");
    }

    const unsigned statuses[] = {200, 206, 416, 500};
    TResumeAnswerHead head;
    head.Status = statuses[statusPick % 4];
    head.Length = (statusPick & 4) ? TAnnouncedLength{TLengthKind::lkValid, lengthValue}
                                   : TAnnouncedLength{};
    if (statusPick & 8) head.Length.Kind = TLengthKind::lkInvalid;
    head.ContentRange = text;
    const TResumePoint asked{from, total, (tags & 1) ? "\"a\"" : ""};
    head.ETag = (tags & 2) ? "\"a\"" : (tags & 4) ? "\"b\"" : "";

    switch (JudgeResumeAnswer(asked, head)) {
    case TResumeAnswer::raAppend:
        Check(head.Status == 206 && range && from > 0 && range->First == from &&
                  range->Last + 1 == total && range->Total == total,
              "the body goes on only from where it stopped, to the end of the same total");
        Check(head.Length.Kind == TLengthKind::lkAbsent ||
                  (head.Length.Kind == TLengthKind::lkValid &&
                   std::uint32_t(head.Length.Value) == total - from),
              "a rest's length is the rest");
        Check(asked.ETag.empty() || head.ETag.empty() || asked.ETag == head.ETag,
              "no rest of another entity");
        break;
    case TResumeAnswer::raStartOver:
        Check(head.Status == 200 && head.Length.Kind == TLengthKind::lkValid &&
                  std::uint32_t(head.Length.Value) == total,
              "the body starts over only when sent whole with the same length");
        break;
    case TResumeAnswer::raRefuse:
        break;
    }
    return 0;
}
