// One parsed text: its items, the links and inputs among them, radio groups, the defaults
// the parse starts from and the results of layout and painting.
#pragma once
#include <string>
#include <vector>

#include "framework/core/Geometry.h"
#include "richlabel/core/ItemList.h"

class THTMLRender;

class THTMLData {
  public:
    explicit THTMLData(THTMLRender* Render);
    THTMLData(const THTMLData&) = delete;
    THTMLData& operator=(const THTMLData&) = delete;
    ~THTMLData();

    // Frees every item and empties the lists; forgets the active item.
    void ClearArray();
    // Number of break items (lines).
    int LineCount() const;
    int ItemCount() const { return FArray.Count(); }
    // "<html>", the runs' text, "<br>" per hard break, inputs' and controls' tags, variables,
    // "</html>"; styles, fonts and links are not written back.
    void GenerateHTML(std::u16string& Out) const;

    THTMLRender* Render() const { return FRender; }
    TColor LinkColor() const { return FLinkColor; }
    void SetLinkColor(TColor v) { FLinkColor = v; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor v) { FDefaultColor = v; }
    TFontStyles LinkStyle() const { return FLinkStyle; }
    void SetLinkStyle(TFontStyles v) { FLinkStyle = v; }
    TFontStyles DefaultStyle() const { return FDefaultStyle; }
    void SetDefaultStyle(TFontStyles v) { FDefaultStyle = v; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int v) { FDefaultHeight = v; }
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t v) { FCharset = v; }
    const std::u16string& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const std::u16string& v) { FDefaultFont = v; }
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int v) { FLineSpacing = v; }
    int LineGap() const { return FLineGap; }
    void SetLineGap(int v) { FLineGap = v; }
    int MaxWidth() const { return FMaxWidth; }
    TColor DefaultBgColor() const { return FDefaultBgColor; }
    void SetDefaultBgColor(TColor v) { FDefaultBgColor = v; }
    TColor HighlightBgColor() const { return FHighlightBgColor; }
    void SetHighlightBgColor(TColor v) { FHighlightBgColor = v; }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor v) { FHighlightColor = v; }
    THTMLItem* SelectedItem() const { return FSelectedItem; }
    void SetSelectedItem(THTMLItem* v) { FSelectedItem = v; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& r) { FRect = r; }
    const TTextSize& TextSize() const { return FTextSize; }
    THTMLInputItem* ActiveItem() const { return FActiveItem; }

    TItemList FArray;
    // Links and inputs in text order; the items are owned by FArray.
    std::vector<THTMLItem*> FControlsArray;
    std::vector<std::u16string> FRadioList;
    THTMLRender* FRender;
    TColor FLinkColor = 0xFF0000;
    TColor FDefaultColor = clWindowText;
    TFontStyles FLinkStyle = fsUnderline;
    TFontStyles FDefaultStyle = 0;
    int FDefaultHeight = -11;
    std::uint8_t FCharset = 0;
    std::u16string FDefaultFont = u"MS Sans Serif";
    int FLineSpacing = 0;
    int FLineGap = 0;
    int FMaxWidth = 0;
    TColor FDefaultBgColor = clNone;
    TColor FHighlightBgColor = 0;
    TColor FHighlightColor = 0;
    THTMLItem* FSelectedItem = nullptr;
    TRect FRect;
    TTextSize FTextSize;
    THTMLInputItem* FActiveItem = nullptr;
};
