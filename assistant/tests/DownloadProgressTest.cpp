// The busy panel's progress line: texts in both languages and number formats, the time
// left's rounding, and the smoothed rate behind it.
#include <gtest/gtest.h>

#include "assistant/core/DownloadProgress.h"

namespace {

constexpr TNumberFormat kEnglishFormat{u'.', u','};
constexpr TNumberFormat kGermanFormat{u',', u'.'};
constexpr std::int64_t MB = 1024 * 1024;

TProgressState Receiving(std::int64_t received, std::int64_t total,
                         std::optional<double> left = std::nullopt) {
    TProgressState s;
    s.Started = true;
    s.Received = received;
    s.Total = total;
    s.SecondsLeft = left;
    return s;
}

} // namespace

TEST(ProgressText, SaysWhatHasArrivedInTheUsersLanguageAndNumberFormat) {
    struct Row {
        TProgressState state;
        std::u16string english, german;
    } rows[] = {
        {TProgressState{}, u"Connecting\u2026", u"Verbindung wird hergestellt\u2026"},
        {Receiving(13002343, 48 * MB, 20.4), u"12.4 MB of 48.0 MB \u2013 about 20 seconds left",
         u"12,4 MB von 48,0 MB \u2013 noch etwa 20 Sekunden"},
        {Receiving(0, 48 * MB), u"0.0 MB of 48.0 MB", u"0,0 MB von 48,0 MB"},
        {Receiving(2048, 300000, 61), u"2 KB of 292 KB \u2013 about 1 minute left",
         u"2 KB von 292 KB \u2013 noch etwa 1 Minute"},
        {Receiving(700, 900), u"700 bytes of 900 bytes", u"700 Bytes von 900 Bytes"},
        {Receiving(1500 * MB, 3000 * MB, 7200), u"1.4 GB of 2.9 GB \u2013 about 2 hours left",
         u"1,4 GB von 2,9 GB \u2013 noch etwa 2 Stunden"},
        {Receiving(5 * MB + MB / 2, 0), u"5.5 MB received", u"5,5 MB empfangen"},
        {Receiving(1000000, 0), u"976 KB received", u"976 KB empfangen"},
        {Receiving(1100 * 1024 * MB, 1200 * 1024 * MB), u"1,100.0 GB of 1,200.0 GB",
         u"1.100,0 GB von 1.200,0 GB"},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(ProgressText(row.state, TLanguage::English, kEnglishFormat) == row.english)
            << std::string(row.english.begin(), row.english.end());
        EXPECT_TRUE(ProgressText(row.state, TLanguage::German, kGermanFormat) == row.german)
            << std::string(row.german.begin(), row.german.end());
    }
    TProgressState reconnecting = Receiving(5 * MB, 10 * MB, 3);
    reconnecting.Reconnecting = true;
    EXPECT_EQ(ProgressText(reconnecting, TLanguage::English, kEnglishFormat),
              u"Reconnecting\u2026");
    EXPECT_EQ(ProgressText(reconnecting, TLanguage::German, kGermanFormat),
              u"Verbindung wird wiederhergestellt\u2026");
}

TEST(ProgressText, RoundsTheTimeLeftAsPeopleSayIt) {
    struct Row {
        double seconds;
        TRoundedTime::TUnit unit;
        std::int64_t count;
    } rows[] = {
        {0, TRoundedTime::tuSeconds, 5},     {3.9, TRoundedTime::tuSeconds, 5},
        {12.4, TRoundedTime::tuSeconds, 10}, {12.6, TRoundedTime::tuSeconds, 15},
        {57.4, TRoundedTime::tuSeconds, 55}, {57.5, TRoundedTime::tuMinutes, 1},
        {89, TRoundedTime::tuMinutes, 1},    {91, TRoundedTime::tuMinutes, 2},
        {3569, TRoundedTime::tuMinutes, 59}, {3571, TRoundedTime::tuHours, 1},
        {9000, TRoundedTime::tuHours, 3},
    };
    for (const Row& row : rows) {
        TRoundedTime t = RoundTimeLeft(row.seconds);
        EXPECT_EQ(t.Unit, row.unit) << row.seconds;
        EXPECT_EQ(t.Count, row.count) << row.seconds;
    }
}

TEST(ProgressText, PercentIsRoundedDownAndWholeOnlyWhenComplete) {
    EXPECT_EQ(PercentReceived(0, 100), 0);
    EXPECT_EQ(PercentReceived(999, 1000), 99);
    EXPECT_EQ(PercentReceived(1000, 1000), 100);
    EXPECT_EQ(PercentReceived(3000, 2000), 100);
    EXPECT_EQ(PercentReceived(500, 0), 0); // no length: no share
    EXPECT_EQ(PercentReceived(std::int64_t(2147483647), std::int64_t(2147483647) + 1), 99);
    EXPECT_EQ(PercentText(37, TLanguage::English), u"37%");
    EXPECT_EQ(PercentText(37, TLanguage::German), u"37 %");
}

TEST(TransferRate, SettlesAfterTwoSecondsAndFollowsAChangeGently) {
    TTransferRate rate;
    EXPECT_FALSE(rate.SecondsLeft(100000));
    // 2048 bytes per second in samples of a quarter second; the clock wraps on the way.
    std::uint32_t t = 0xFFFFFC00u;
    std::int64_t bytes = 0;
    rate.Add(t, bytes);
    for (int i = 0; i < 7; ++i)
        rate.Add(t += 250, bytes += 512);
    EXPECT_FALSE(rate.SecondsLeft(100000)) << "1.75 s: not yet settled";
    rate.Add(t += 250, bytes += 512);
    ASSERT_TRUE(rate.SecondsLeft(100000));
    EXPECT_NEAR(rate.BytesPerSecond(), 2048, 1);
    EXPECT_NEAR(*rate.SecondsLeft(bytes + 20480), 10.0, 0.01);
    // A one-second pause moves the estimate, but not to nothing.
    rate.Add(t += 1000, bytes);
    EXPECT_GT(rate.BytesPerSecond(), 1000);
    EXPECT_LT(rate.BytesPerSecond(), 2048);
    // Four times the speed for long enough: the estimate follows.
    for (int i = 0; i < 80; ++i)
        rate.Add(t += 250, bytes += 2048);
    EXPECT_NEAR(rate.BytesPerSecond(), 8192, 50);
    EXPECT_EQ(*rate.SecondsLeft(bytes - 10), 0.0); // nothing left
}
