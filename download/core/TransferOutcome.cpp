// Content-Length judgement and the success rule of a finished transfer.
#include "download/core/TransferOutcome.h"

namespace {

// Strict decimal number within the 32-bit signed range, optional surrounding blanks.
bool ParseLengthValue(const std::string& text, std::int32_t& value) {
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return false;
    std::uint64_t number = 0;
    for (std::size_t i = begin; i <= end; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        number = number * 10 + std::uint64_t(c - '0');
        if (number > MaxTransferSize) return false;
    }
    value = std::int32_t(number);
    return true;
}

} // namespace

TAnnouncedLength ParseContentLength(const std::vector<std::string>& values) {
    TAnnouncedLength result;
    for (const std::string& text : values) {
        std::int32_t value = 0;
        if (!ParseLengthValue(text, value)) return {TLengthKind::lkInvalid, 0};
        if (result.Kind == TLengthKind::lkValid && result.Value != value)
            return {TLengthKind::lkInvalid, 0};
        result = {TLengthKind::lkValid, value};
    }
    return result;
}

bool TransferSucceeded(const TTransferEnd& end) {
    // Sizes are signed 32-bit: no body beyond that is complete, whatever was announced.
    if (end.Received > MaxTransferSize) return false;
    switch (end.Length.Kind) {
    case TLengthKind::lkInvalid:
        return false;
    case TLengthKind::lkValid:
        if (end.Length.Value < 0 || end.Received != std::uint32_t(end.Length.Value)) return false;
        return end.ToFile || end.Received != 0;
    case TLengthKind::lkAbsent:
        return end.Received != 0 && end.EndedCleanly;
    }
    return false;
}
