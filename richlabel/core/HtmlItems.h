// The items of a parsed caption: text runs, line starts, images, rules, gaps, inputs,
// embedded controls and variables.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richlabel/core/HtmlTypes.h"

class THTMLData;

class THTMLItem {
  public:
    THTMLItem(THTMLData* Owner, THTMLItemType type);
    THTMLItem(const THTMLItem&) = delete;
    THTMLItem& operator=(const THTMLItem&) = delete;
    virtual ~THTMLItem() = default;

    // Makes an item of the class that belongs to the kind (break kinds, inputs, controls).
    static std::unique_ptr<THTMLItem> Create(THTMLData* Owner, THTMLItemType type);

    // The item's markup: empty for plain items, the tag for inputs and controls.
    virtual std::u16string GetHTMLText() const { return {}; }
    virtual int GetWidth();
    virtual int GetHeight(int& BaseLine);
    virtual bool IsBreak() const { return false; }

    // Copies the format (style, font, colours, link, indent, counters, flags), not the kind,
    // text or sizes.
    virtual void Assign(const THTMLItem& Source);

    bool IsLink() const { return (FBoolState & bsLink) != 0; }
    bool IsSub() const { return (FBoolState & bsSub) != 0; }
    bool IsSuper() const { return (FBoolState & bsSuper) != 0; }
    const std::u16string& LinkRef() const { return FLinkRef; }
    const std::u16string& Text() const { return FText; }
    bool Transparent() const { return FTransparent; }
    THTMLItemType ItemType() const { return FItemType; }
    bool IsTextRun() const { return FItemType == hitChar || FItemType == hitVar; }

    // Font height used for measuring and drawing: sub- and superscript runs are drawn two
    // pixels smaller.
    int EffectiveFontHeight() const;

    THTMLData* FOwner;
    THTMLItemType FItemType;
    std::u16string FText;
    TFontStyles FontStyle = 0;
    int FontHeight = 0;
    TColor FontBgColor = 0;
    TColor FontColor = 0;
    std::u16string FLinkRef;
    std::u16string FFontRef;
    int FFntCnt = 0;
    std::uint16_t FTWidth = kWidthUnknown;
    std::uint16_t FWidth = 0;
    std::uint16_t FHeight = 0;
    int FIndent = 0;
    std::uint32_t FBoolState = 0;
    bool FTransparent = false;
    int FTag = 0;

  protected:
    // Metrics of the item's font at the given height (zeros without a measurer).
    THTMLFontMetrics FontMetrics(int height) const;
};

// An item that starts a line.
class THTMLBreakItem : public THTMLItem {
  public:
    using THTMLItem::THTMLItem;

    int GetWidth() override;
    int GetHeight(int& BaseLine) override;
    // The height when the caller already knows whether the line is empty (the layout pass).
    int LineStartHeight(bool emptyLine, int& BaseLine);
    bool IsBreak() const override { return true; }
    void Assign(const THTMLItem& Source) override;
    void AssignBreakProps(const THTMLBreakItem* Source);

    int Alignment() const { return int(FParams & 0xFFFF); }
    int LineDescent() const { return std::int16_t(FParams >> 16); }

    std::uint32_t FParams = 0; // low word alignment, high word largest descent of the line
    int FListLevel = 0;
    int FListItemN = 0;
};

// A check box or radio button.
class THTMLInputItem : public THTMLItem {
  public:
    using THTMLItem::THTMLItem;
    std::u16string GetHTMLText() const override;

    bool FChecked = false;
    THTMLInputType FInputType = itCheckBox;
    std::u16string FName;
    std::u16string FValue;
};

// A platform control embedded in the text. The control itself lives on the Win32 side;
// FControl is its opaque handle there.
class THTMLControlItem : public THTMLItem {
  public:
    using THTMLItem::THTMLItem;
    ~THTMLControlItem() override;
    std::u16string GetHTMLText() const override;

    std::u16string FControlClass;
    std::vector<std::pair<std::u16string, std::u16string>> FControlPropList;
    // Releases the created control when the item goes.
    std::shared_ptr<void> FControl;
};

bool IsBreakKind(THTMLItemType type);
