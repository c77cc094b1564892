// The busy panel's progress: smoothed rate, rounded time left and the text line.
#include "assistant/core/DownloadProgress.h"

#include <cmath>

void TTransferRate::Add(std::uint32_t nowMs, std::int64_t received) {
    if (!FStarted) {
        FStarted = true;
        FFirstMs = FLastMs = nowMs;
        FLastBytes = received;
        return;
    }
    const std::uint32_t dt = nowMs - FLastMs;
    if (dt == 0) return; // the next sample with time between carries these bytes too
    const double instant = double(received - FLastBytes) * 1000.0 / dt;
    if (!FHasRate) {
        FRate = instant;
        FHasRate = true;
    } else {
        const double weight = 1.0 - std::exp(-double(dt) / TimeConstantMs);
        FRate += weight * (instant - FRate);
    }
    FSinceFirstMs = nowMs - FFirstMs;
    FLastMs = nowMs;
    FLastBytes = received;
}

std::optional<double> TTransferRate::SecondsLeft(std::int64_t total) const {
    if (!FHasRate || FSinceFirstMs < SettleMs || FRate <= 0.0 || total <= 0) return std::nullopt;
    const double left = double(total - FLastBytes);
    return left <= 0 ? 0.0 : left / FRate;
}

TRoundedTime RoundTimeLeft(double seconds) {
    if (seconds < 57.5) {
        const auto fives = std::int64_t(std::llround(seconds / 5.0));
        return {TRoundedTime::tuSeconds, fives < 1 ? 5 : fives * 5};
    }
    const auto minutes = std::int64_t(std::llround(seconds / 60.0));
    if (minutes < 60) return {TRoundedTime::tuMinutes, minutes < 1 ? 1 : minutes};
    return {TRoundedTime::tuHours, std::int64_t(std::llround(seconds / 3600.0))};
}

namespace {

std::u16string Digits(std::uint64_t value, char16_t thousands) {
    std::u16string out;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0 && thousands) out.insert(out.begin(), thousands);
        out.insert(out.begin(), char16_t(u'0' + value % 10));
        value /= 10;
        ++count;
    } while (value);
    return out;
}

// `tenths` / 10 with one decimal: "12.4".
std::u16string OneDecimal(std::uint64_t tenths, const TNumberFormat& format) {
    return Digits(tenths / 10, format.Thousands) + format.Decimal + char16_t(u'0' + tenths % 10);
}

std::u16string TimeText(TRoundedTime t, TLanguage language) {
    const bool one = t.Count == 1;
    const bool german = language == TLanguage::German;
    std::u16string_view unit;
    switch (t.Unit) {
    case TRoundedTime::tuSeconds:
        unit = german ? (one ? u"Sekunde" : u"Sekunden") : (one ? u"second" : u"seconds");
        break;
    case TRoundedTime::tuMinutes:
        unit = german ? (one ? u"Minute" : u"Minuten") : (one ? u"minute" : u"minutes");
        break;
    case TRoundedTime::tuHours:
        unit = german ? (one ? u"Stunde" : u"Stunden") : (one ? u"hour" : u"hours");
        break;
    }
    std::u16string count = Digits(std::uint64_t(t.Count), 0);
    if (german) return u"noch etwa " + count + u" " + std::u16string(unit);
    return u"about " + count + u" " + std::u16string(unit) + u" left";
}

} // namespace

std::u16string SizeText(std::int64_t bytes, std::int64_t scale, TLanguage language,
                        const TNumberFormat& format) {
    constexpr std::int64_t KB = 1024, MB = KB * 1024, GB = MB * 1024;
    const auto value = std::uint64_t(bytes < 0 ? 0 : bytes);
    if (scale < KB) {
        std::u16string unit = language == TLanguage::German ? u" Bytes" : u" bytes";
        if (value == 1) unit = language == TLanguage::German ? u" Byte" : u" byte";
        return Digits(value, format.Thousands) + unit;
    }
    if (scale < MB) return Digits(value / KB, format.Thousands) + u" KB";
    const std::int64_t unit = scale < GB ? MB : GB;
    const std::uint64_t tenths = value * 10 / std::uint64_t(unit);
    return OneDecimal(tenths, format) + (unit == MB ? u" MB" : u" GB");
}

int PercentReceived(std::int64_t received, std::int64_t total) {
    if (total <= 0 || received <= 0) return 0;
    if (received >= total) return 100;
    return int(received * 100 / total);
}

std::u16string PercentText(int percent, TLanguage language) {
    return Digits(std::uint64_t(percent), 0) + (language == TLanguage::German ? u" %" : u"%");
}

std::u16string ProgressText(const TProgressState& state, TLanguage language,
                            const TNumberFormat& format) {
    const bool german = language == TLanguage::German;
    if (state.Reconnecting)
        return german ? u"Verbindung wird wiederhergestellt\u2026" : u"Reconnecting\u2026";
    if (!state.Started) return german ? u"Verbindung wird hergestellt\u2026" : u"Connecting\u2026";
    if (state.Total <= 0) {
        // Without a length the size scales with what has arrived.
        return SizeText(state.Received, state.Received, language, format) +
               (german ? u" empfangen" : u" received");
    }
    // Both numbers in the unit of the whole, so that they read side by side.
    std::u16string text = SizeText(state.Received, state.Total, language, format) +
                          (german ? u" von " : u" of ") +
                          SizeText(state.Total, state.Total, language, format);
    if (state.SecondsLeft)
        text += u" \u2013 " + TimeText(RoundTimeLeft(*state.SecondsLeft), language);
    return text;
}
