// The rules of resuming a lost transfer.
#include "download/core/Resume.h"

#include "download/core/AsciiText.h"

namespace {

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// Decimal digits at the front of `text`, at most 2^63; moves `text` past them.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
    std::size_t n = 0;
    std::uint64_t value = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') {
        if (value > (std::uint64_t(1) << 59)) return std::nullopt;
        value = value * 10 + std::uint64_t(text[n] - '0');
        ++n;
    }
    if (n == 0) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

bool TReconnectPlan::Lost(std::uint32_t held) {
    if (held > FFurthest) {
        FFurthest = held;
        FInARow = 0;
    }
    if (FFurthest == 0 || FInARow == MaxInARow) return false;
    ++FInARow;
    return true;
}

std::string ResumeValidator(std::string_view etag, std::string_view lastModified) {
    etag = Trimmed(etag);
    if (etag.size() >= 2 && etag.front() == '"' && etag.back() == '"') return std::string(etag);
    return std::string(Trimmed(lastModified));
}

std::optional<TContentRange> ParseContentRange(std::string_view text) {
    text = Trimmed(text);
    if (!StartsWithNoCase(text, "bytes")) return std::nullopt;
    text.remove_prefix(5);
    if (text.empty() || (text.front() != ' ' && text.front() != '\t')) return std::nullopt;
    text = Trimmed(text);
    TContentRange range;
    std::optional<std::uint64_t> first = TakeNumber(text);
    if (!first || !TakeChar(text, '-')) return std::nullopt;
    std::optional<std::uint64_t> last = TakeNumber(text);
    if (!last || !TakeChar(text, '/')) return std::nullopt;
    std::optional<std::uint64_t> total = TakeNumber(text);
    if (!total || !text.empty()) return std::nullopt;
    if (*first > *last || *last >= *total) return std::nullopt;
    return TContentRange{*first, *last, *total};
}

TResumeAnswer JudgeResumeAnswer(const TResumePoint& asked, const TResumeAnswerHead& answer) {
    if (answer.Length.Kind == TLengthKind::lkInvalid) return TResumeAnswer::raRefuse;
    const bool hasLength = answer.Length.Kind == TLengthKind::lkValid;
    if (answer.Status == 200) {
        return hasLength && std::uint32_t(answer.Length.Value) == asked.Total
                   ? TResumeAnswer::raStartOver
                   : TResumeAnswer::raRefuse;
    }
    if (answer.Status != 206 || asked.From == 0 || asked.From >= asked.Total || !answer.ContentRange)
        return TResumeAnswer::raRefuse;
    std::optional<TContentRange> range = ParseContentRange(*answer.ContentRange);
    if (!range || range->First != asked.From || range->Last + 1 != asked.Total ||
        range->Total != asked.Total)
        return TResumeAnswer::raRefuse;
    if (hasLength && std::uint32_t(answer.Length.Value) != asked.Total - asked.From)
        return TResumeAnswer::raRefuse;
    // A server that let the range through although the entity changed names another tag.
    if (!asked.ETag.empty() && !answer.ETag.empty() && Trimmed(answer.ETag) != Trimmed(asked.ETag))
        return TResumeAnswer::raRefuse;
    return TResumeAnswer::raAppend;
}
