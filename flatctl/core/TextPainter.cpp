// TTextPainter: fit counting over stored text with tabs and masking, on top of the measuring
// that the platform painter supplies.
#include "flatctl/core/TextPainter.h"

#include <algorithm>

void TTextPainter::SetTabSpaces(int n) {
    if (n > 0) FTabString.assign(std::size_t(n), u' ');
}

std::u16string TTextPainter::Mask(const std::u16string& text) const {
    if (!FPasswordChar) return text;
    std::u16string s = text;
    for (auto& c : s)
        if (c != u'\r' && c != u'\n') c = FPasswordChar;
    return s;
}

std::u16string TTextPainter::ExpandTabs(const std::u16string& text) const {
    if (text.find(u'\t') == std::u16string::npos) return text;
    std::u16string s;
    for (char16_t c : text) {
        if (c == u'\t')
            s += FTabString;
        else
            s += c;
    }
    return s;
}

int TTextPainter::FitStored(const std::u16string& text, int width) {
    if (text.empty() || width <= 0) return 0;
    std::u16string shown = ExpandTabs(text);
    int fit = FitText(shown, width, nullptr);
    // Map the count of shown characters back to stored ones: a tab fits only whole.
    int shownAt = 0, stored = 0;
    for (char16_t c : text) {
        shownAt += c == u'\t' ? int(FTabString.size()) : 1;
        if (shownAt > fit) break;
        ++stored;
    }
    return stored;
}

int TTextPainter::CharsFitRight(int width, const std::u16string& text, int start) {
    start = std::clamp(start, 0, int(text.size()));
    return FitStored(text.substr(std::size_t(start)), width);
}

int TTextPainter::CharsFitLeft(int width, const std::u16string& text, int position) {
    position = std::clamp(position, 0, int(text.size()));
    std::u16string before = text.substr(0, std::size_t(position));
    std::reverse(before.begin(), before.end());
    return FitStored(before, width);
}

int TTextPainter::DisplayWidth(const std::u16string& text) {
    if (text.empty()) return 0;
    return TextSize(ExpandTabs(Mask(text))).Width;
}

std::vector<int> TTextPainter::CharEdges(const std::u16string& text) {
    std::u16string masked = Mask(text);
    std::u16string shown = ExpandTabs(masked);
    std::vector<int> shownEdges;
    if (!shown.empty()) FitText(shown, 0x3FFFFFFF, &shownEdges);
    std::vector<int> edges;
    edges.reserve(text.size());
    std::size_t at = 0;
    for (char16_t c : masked) {
        at += c == u'\t' ? FTabString.size() : 1;
        edges.push_back(at <= shownEdges.size() ? shownEdges[at - 1] : 0);
    }
    return edges;
}

int TTextPainter::DrawTabbedText(int x, int y, const std::u16string& text, const TRect& clip) {
    std::u16string shown = ExpandTabs(Mask(text));
    if (shown.empty()) return 0;
    DrawRun(x, y, shown, clip);
    return TextSize(shown).Width;
}
