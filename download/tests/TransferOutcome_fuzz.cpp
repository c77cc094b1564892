// libFuzzer target: the judgement of a finished transfer over any Content-Length copies
// (bytes as the server sent them), any announced length, any byte count, either mode and
// either end of the body, held against the rules written out once more:
// - a length is blanks (space, tab) around decimal digits, at most 2^31 - 1, and the same
//   number in every copy; anything else is invalid;
// - no body beyond 2^31 - 1 bytes and no invalid length is a success;
// - with a length: exactly that many bytes, and in string mode at least one;
// - without one: at least one byte and a clean end of the body.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "download/core/TransferOutcome.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "rule broken: %s\n", what);
    std::abort();
}

// The number one copy announces, or -1 when it announces none that can be trusted.
long long Announced(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return -1;
    std::string digits = text.substr(first, last - first + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 10 || (digits.size() == 10 && digits > "2147483647")) return -1;
    return std::stoll(digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    const std::uint8_t flags = data[0];
    std::uint32_t received;
    std::int32_t value;
    std::memcpy(&received, data + 1, 4);
    std::memcpy(&value, data + 5, 4);
    data += 9;
    size -= 9;
    // The copies of the header: each a length byte and that many bytes.
    std::vector<std::string> copies;
    while (size > 0 && copies.size() < 4) {
        const std::size_t n = std::min<std::size_t>(data[0], size - 1);
        copies.emplace_back(reinterpret_cast<const char*>(data + 1), n);
        data += n + 1;
        size -= n + 1;
    }

    const TAnnouncedLength parsed = ParseContentLength(copies);
    long long expected = copies.empty() ? -2 : Announced(copies[0]);
    for (const std::string& copy : copies)
        if (Announced(copy) != expected) expected = -1;
    if (expected == -2) {
        Check(parsed.Kind == TLengthKind::lkAbsent, "no copy, no length");
    } else if (expected < 0) {
        Check(parsed.Kind == TLengthKind::lkInvalid, "an untrusted length is invalid");
    } else {
        Check(parsed.Kind == TLengthKind::lkValid && parsed.Value == expected,
              "a trusted length is its number");
    }

    // Any length the caller hands over, parsed or not.
    TTransferEnd end;
    end.ToFile = (flags & 1) != 0;
    end.EndedCleanly = (flags & 2) != 0;
    end.Received = received;
    end.Length = (flags & 4) ? parsed : TAnnouncedLength{TLengthKind((flags >> 3) % 3), value};
    bool success = false;
    if (received <= MaxTransferSize) {
        switch (end.Length.Kind) {
        case TLengthKind::lkValid:
            success = end.Length.Value >= 0 && received == std::uint32_t(end.Length.Value) &&
                      (end.ToFile || received > 0);
            break;
        case TLengthKind::lkAbsent:
            success = received > 0 && end.EndedCleanly;
            break;
        case TLengthKind::lkInvalid:
            break;
        }
    }
    Check(TransferSucceeded(end) == success, "the success rule");
    return 0;
}
