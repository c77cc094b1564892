// The edit's text storage: paragraphs of line fragments. A single-line edit keeps the whole
// text as one paragraph, unchanged; a multi-line edit splits assigned text at line breaks.
#pragma once
#include <string>
#include <vector>

// One paragraph: line fragments whose concatenation is its text (one fragment without
// word wrap).
class TParagraph {
  public:
    TParagraph() : FLines(1) {}
    explicit TParagraph(std::u16string text) { FLines.push_back(std::move(text)); }

    std::u16string Text() const;
    const std::vector<std::u16string>& Lines() const { return FLines; }
    std::vector<std::u16string>& Lines() { return FLines; }

  private:
    std::vector<std::u16string> FLines;
};

// The paragraph list; it always holds at least one paragraph when asked for one.
class TParagraphList {
  public:
    int Count() const { return int(FItems.size()); }
    // Paragraph `index`; asking for paragraph 0 of an empty list creates an empty one.
    TParagraph& Item(int index);
    const TParagraph& Item(int index) const;
    void Clear() { FItems.clear(); }
    void Add(TParagraph p) { FItems.push_back(std::move(p)); }

  private:
    mutable std::vector<TParagraph> FItems;
};

class TFlatEditStrings {
  public:
    explicit TFlatEditStrings(bool multiline = false) : FMultiline(multiline) {}

    bool Multiline() const { return FMultiline; }
    void SetMultiline(bool v);

    // The whole text: paragraphs joined with CR LF (single-line: the one paragraph).
    std::u16string Text() const;
    void SetText(const std::u16string& text);

    // Visual lines (rows); without word wrap a row is a paragraph.
    int LineCount() const;
    const std::u16string& Line(int row) const;
    void SetLine(int row, std::u16string text);
    void InsertText(int row, int column, const std::u16string& text);
    void DeleteText(int row, int column, int count);

    // The longest row and its length (the horizontal range of a multi-line edit).
    int LongestLine() const { return FLongestLine; }
    int LongestLineLength() const { return FLongestLineLength; }

    const TParagraphList& Paragraphs() const { return FParagraphs; }

  private:
    void UpdateLongest();

    bool FMultiline;
    TParagraphList FParagraphs;
    int FLongestLine = 0;
    int FLongestLineLength = 0;
};
