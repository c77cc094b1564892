// The judgement of a finished transfer: the announced length as the server sent it, and
// whether the bytes received make a complete, successful transfer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class TLengthKind { lkAbsent, lkValid, lkInvalid };

struct TAnnouncedLength {
    TLengthKind Kind = TLengthKind::lkAbsent;
    std::int32_t Value = 0; // only meaningful for lkValid
};

// Judges every Content-Length value of one response. A usable length is decimal digits only,
// at most 2^31 - 1 (sizes are 32-bit signed), and the same in every copy of the header. A
// negative, non-numeric, oversized or contradictory length is invalid: such a response has
// no trustworthy end, so it is never read as a success.
TAnnouncedLength ParseContentLength(const std::vector<std::string>& values);

struct TTransferEnd {
    bool ToFile = true;
    TAnnouncedLength Length;
    std::uint32_t Received = 0;
    // The HTTP layer reported the end of the body (a read that succeeded with 0 bytes),
    // rather than a failed read.
    bool EndedCleanly = false;
};

// File mode with an announced length: exactly that many bytes arrived.
// String mode with an announced length: at least one byte, exactly that many.
// Either mode without an announced length: at least one byte and a clean end of the body
// (an HTTP/1.0 body without a length ends when the server closes the connection); an empty
// body or a failed read is a failure.
// An invalid length, and a body beyond MaxTransferSize bytes, are always a failure.
bool TransferSucceeded(const TTransferEnd& end);

// The largest body the component can take: its sizes are signed 32-bit.
inline constexpr std::uint32_t MaxTransferSize = 0x7FFFFFFF;
