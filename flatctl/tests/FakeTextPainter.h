// A text painter with fixed character widths for tests of the edit's core: 'i' and 'l' are
// 3 pixels wide, 'W' and 'M' 11, every other character 7. Drawn runs are recorded.
#pragma once
#include <string>
#include <vector>

#include "flatctl/core/TextPainter.h"

class FakeTextPainter : public TTextPainter {
  public:
    struct Run {
        int X, Y;
        std::u16string Text;
        TColor Color, BkColor;
    };

    static int CharWidth(char16_t c) {
        if (c == u'i' || c == u'l') return 3;
        if (c == u'W' || c == u'M') return 11;
        return 7;
    }

    void DrawRun(int x, int y, const std::u16string& text, const TRect&) override {
        Runs.push_back({x, y, text, Color(), BkColor()});
    }
    int FitText(const std::u16string& text, int maxWidth, std::vector<int>* extents) override {
        int sum = 0, fit = 0;
        for (char16_t c : text) {
            sum += CharWidth(c);
            if (sum > maxWidth) break;
            ++fit;
            if (extents) extents->push_back(sum);
        }
        return fit;
    }
    TTextExtent TextSize(const std::u16string& text) override {
        int sum = 0;
        for (char16_t c : text)
            sum += CharWidth(c);
        return {sum, 16};
    }

    std::vector<Run> Runs;
};
