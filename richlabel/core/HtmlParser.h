// The markup reader: scans a caption character by character into the item list of a
// THTMLData, keeping the formatting state, and breaks lines while it goes when asked to.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "richlabel/core/HtmlRender.h"

class THTMLParser {
  public:
    THTMLParser(THTMLRender& render, THTMLData& data, const std::u16string& text, int maxWidth,
                bool autoWrap);
    // Parses the whole text and runs the layout pass. Throws on an unusable input state.
    void Run();

  private:
    using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

    // Character scan.
    void ReadReference();
    std::size_t NextSemicolon(std::size_t from);
    void AppendChar(char16_t c, bool foldSpace);
    // Breaks the line when the current run overflows; true when the last character was taken
    // off and must be appended again on the new line.
    bool CheckWrap();
    // Tags.
    void ReadTag();
    void ReadAttributes(Attributes& attrs);
    void HandleTag(const std::u16string& name, const Attributes& attrs);
    static const std::u16string* RawAttr(const Attributes& attrs, std::u16string_view name);
    static std::u16string Attr(const Attributes& attrs, std::u16string_view name);

    void StyleTag(TFontStyles flags, bool closing);
    void FlagTag(std::uint32_t flag, bool closing);
    void FontTag(const Attributes& attrs);
    void EndFontTag();
    void BreakTag();
    void ParaTag(const Attributes& attrs, bool closing);
    void ListTag(THTMLItemType kind);
    void EndListTag(bool ordered);
    void ListItemTag();
    void IndentTag(const Attributes& attrs);
    void ImageTag(const Attributes& attrs);
    void LinkTag(const Attributes& attrs);
    void EndLinkTag();
    void RuleTag(const Attributes& attrs);
    void InputTag(const Attributes& attrs);
    void ControlTag(const Attributes& attrs);
    void VariableTag(const Attributes& attrs);

    // Run handling.
    bool HasContent() const;
    std::unique_ptr<THTMLItem> CopyOf(const THTMLItem& source, THTMLItemType type) const;
    // Appends the current run when it has content (a copy then continues) and otherwise
    // keeps it as the (still empty) current run.
    void Flush();
    // Appends the current run whatever it holds and continues with a copy.
    void AppendRunAlways();
    void ReplaceRun(std::unique_ptr<THTMLItem> next);
    void DiscardRun();
    // Drops an item that goes away from the links-and-inputs list.
    void Forget(const THTMLItem* item);
    void TruncateList(int pos);
    THTMLItem* Append(std::unique_ptr<THTMLItem> item);
    THTMLBreakItem* LastBreak() const;
    void RemoveLastHardBreak();
    int MaxCharWidthOf(const THTMLItem& item) const;
    void Finish();

    THTMLRender& render_;
    THTMLData& data_;
    const std::u16string& text_;
    std::size_t pos_ = 0;
    bool autoWrap_;
    std::unique_ptr<THTMLItem> run_;
    TFontSettings current_;
    TFontStack stack_;
    int listLevel_ = 0;
    std::size_t semi_ = 0;
    bool semiValid_ = false;
};
