// What the busy panel says about a running download: the transfer rate smoothed over the
// last seconds, the time left rounded as people say it, and the line of text under the bar
// in the user's language and number format.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "assistant/core/Language.h"

// How often the window takes the download's progress: the text line moves at most four
// times a second.
inline constexpr std::uint32_t kProgressIntervalMs = 250;

// The user's number format: the character before the decimals and the one between groups
// of thousands (none when 0).
struct TNumberFormat {
    char16_t Decimal = u'.';
    char16_t Thousands = u',';
};

// The transfer rate from (time, bytes) samples, smoothed exponentially with a time constant
// of a few seconds, so that a burst or a pause moves the estimate gently. The time left is
// known once the first bytes are about two seconds old.
class TTransferRate {
  public:
    static constexpr std::uint32_t SettleMs = 2000;
    static constexpr double TimeConstantMs = 3000.0;

    // `received` bytes in all at `nowMs` (a millisecond clock that may wrap around).
    void Add(std::uint32_t nowMs, std::int64_t received);
    // Bytes per second; 0 before two samples.
    double BytesPerSecond() const { return FRate; }
    // Seconds until `total` bytes have arrived, once the estimate has settled.
    std::optional<double> SecondsLeft(std::int64_t total) const;

  private:
    bool FStarted = false;
    bool FHasRate = false;
    std::uint32_t FFirstMs = 0;
    std::uint32_t FLastMs = 0;
    std::uint32_t FSinceFirstMs = 0;
    std::int64_t FLastBytes = 0;
    double FRate = 0.0;
};

// A number of seconds as people say the time left: "5 seconds" up to a minute in steps of
// five (at least five), then whole minutes up to an hour, then hours.
struct TRoundedTime {
    enum TUnit { tuSeconds, tuMinutes, tuHours } Unit;
    std::int64_t Count;
};
TRoundedTime RoundTimeLeft(double seconds);

// The state the text line tells.
struct TProgressState {
    bool Started = false;      // the first byte has arrived
    bool Reconnecting = false; // the transfer is getting its connection back
    std::int64_t Received = 0;
    std::int64_t Total = 0; // 0: no length announced
    std::optional<double> SecondsLeft;
};

// "12.4 MB of 48.0 MB – about 20 seconds left", "Connecting…", "3.1 MB received", …
std::u16string ProgressText(const TProgressState& state, TLanguage language,
                            const TNumberFormat& format);
// A byte count in the unit that suits `scale` (bytes, KB, MB or GB of 1024), with one
// decimal from MB on: "512 bytes", "830 KB", "12.4 MB".
std::u16string SizeText(std::int64_t bytes, std::int64_t scale, TLanguage language,
                        const TNumberFormat& format);
// The share received in whole percent, rounded down (100 only when complete); 0 without a
// length.
int PercentReceived(std::int64_t received, std::int64_t total);
// "37%" / "37 %": the bar's value for assistive technology.
std::u16string PercentText(int percent, TLanguage language);
