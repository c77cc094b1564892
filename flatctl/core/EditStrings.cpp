// TFlatEditStrings: paragraph storage, joining and splitting at line breaks.
#include "flatctl/core/EditStrings.h"

#include <algorithm>

std::u16string TParagraph::Text() const {
    std::u16string s;
    for (const auto& l : FLines)
        s += l;
    return s;
}

TParagraph& TParagraphList::Item(int index) {
    return const_cast<TParagraph&>(static_cast<const TParagraphList&>(*this).Item(index));
}

const TParagraph& TParagraphList::Item(int index) const {
    if (FItems.empty() && index == 0) FItems.emplace_back();
    return FItems.at(std::size_t(index));
}

void TFlatEditStrings::SetMultiline(bool v) {
    if (v == FMultiline) return;
    std::u16string text = Text();
    FMultiline = v;
    SetText(text);
}

std::u16string TFlatEditStrings::Text() const {
    if (!FMultiline) return FParagraphs.Item(0).Text();
    std::u16string s;
    for (int i = 0; i < FParagraphs.Count(); ++i) {
        if (i) s += u"\r\n";
        s += FParagraphs.Item(i).Text();
    }
    return s;
}

void TFlatEditStrings::SetText(const std::u16string& text) {
    FParagraphs.Clear();
    if (!FMultiline) {
        FParagraphs.Add(TParagraph(text));
    } else {
        // CR LF, CR and LF each end a paragraph.
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != u'\r' && text[i] != u'\n') continue;
            FParagraphs.Add(TParagraph(text.substr(start, i - start)));
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
        FParagraphs.Add(TParagraph(text.substr(start)));
    }
    UpdateLongest();
}

int TFlatEditStrings::LineCount() const {
    return std::max(FParagraphs.Count(), 1);
}

const std::u16string& TFlatEditStrings::Line(int row) const {
    return FParagraphs.Item(row).Lines().front();
}

void TFlatEditStrings::SetLine(int row, std::u16string text) {
    FParagraphs.Item(row).Lines().assign(1, std::move(text));
    UpdateLongest();
}

void TFlatEditStrings::InsertText(int row, int column, const std::u16string& text) {
    std::u16string line = Line(row);
    column = std::clamp(column, 0, int(line.size()));
    line.insert(std::size_t(column), text);
    SetLine(row, std::move(line));
}

void TFlatEditStrings::DeleteText(int row, int column, int count) {
    std::u16string line = Line(row);
    column = std::clamp(column, 0, int(line.size()));
    count = std::clamp(count, 0, int(line.size()) - column);
    line.erase(std::size_t(column), std::size_t(count));
    SetLine(row, std::move(line));
}

void TFlatEditStrings::UpdateLongest() {
    FLongestLine = 0;
    FLongestLineLength = 0;
    for (int i = 0; i < FParagraphs.Count(); ++i) {
        int n = int(FParagraphs.Item(i).Text().size());
        if (n > FLongestLineLength) {
            FLongestLine = i;
            FLongestLineLength = n;
        }
    }
}
