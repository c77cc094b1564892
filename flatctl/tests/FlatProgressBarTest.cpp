// The flat progress bar's pixels: its frame, one pixel of background inside it, and the share
// filled from the left (none without a share, whole at the most).
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "flatctl/win32/FlatProgressBar.h"
#include "framework/win32/Application.h"
#include "framework/win32/Canvas.h"
#include "tests/support/WinTestSupport.h"

TEST(FlatProgressBar, FillsTheShareInsideItsFrame) {
    TApplication app;
    auto* bar = TComponent::Create<TFlatProgressBar>(&app);
    bar->SetBounds(0, 0, 100, 10); // 96 pixels inside the frame and the background's ring
    bar->SetFrameColor(0x00BB6F00);
    bar->SetBarColor(0x00CE7B00);
    struct Row {
        std::optional<int> share;
        int filled;
    } rows[] = {{std::nullopt, 0}, {0, 0}, {1, 0}, {500, 48}, {999, 95}, {1000, 96}, {1500, 96}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.share ? *row.share : -1);
        bar->SetShare(row.share);
        DibSurface surface(100, 10);
        surface.Fill(RGB(255, 0, 255));
        {
            TCanvas canvas(surface.dc());
            bar->Paint(canvas);
        }
        for (POINT p : {POINT{0, 5}, POINT{99, 5}, POINT{50, 0}, POINT{50, 9}})
            EXPECT_EQ(surface.Pixel(p.x, p.y), 0x00BB6F00u) << p.x << "," << p.y;
        EXPECT_EQ(surface.Pixel(1, 5), RGB(255, 255, 255));
        EXPECT_EQ(surface.Pixel(50, 1), RGB(255, 255, 255));
        for (int x = 2; x < 98; ++x)
            ASSERT_EQ(surface.Pixel(x, 5), x < 2 + row.filled ? 0x00CE7B00u : RGB(255, 255, 255))
                << "x " << x;
    }
}
