// Item construction, copying of formats and the measuring rules of each item kind.
#include "richlabel/core/HtmlItems.h"

#include <cstdlib>

#include "richlabel/core/HtmlData.h"
#include "richlabel/core/HtmlRender.h"

bool IsBreakKind(THTMLItemType type) {
    switch (type) {
    case hitSoftBreak:
    case hitBreak:
    case hitPara:
    case hitLI:
    case hitUL:
    case hitOL:
        return true;
    default:
        return false;
    }
}

THTMLItem::THTMLItem(THTMLData* Owner, THTMLItemType type) : FOwner(Owner), FItemType(type) {}

std::unique_ptr<THTMLItem> THTMLItem::Create(THTMLData* Owner, THTMLItemType type) {
    if (IsBreakKind(type)) return std::make_unique<THTMLBreakItem>(Owner, type);
    if (type == hitInput) return std::make_unique<THTMLInputItem>(Owner, type);
    if (type == hitControl) return std::make_unique<THTMLControlItem>(Owner, type);
    return std::make_unique<THTMLItem>(Owner, type);
}

void THTMLItem::Assign(const THTMLItem& Source) {
    FontStyle = Source.FontStyle;
    FontHeight = Source.FontHeight;
    FontBgColor = Source.FontBgColor;
    FontColor = Source.FontColor;
    FLinkRef = Source.FLinkRef;
    FFontRef = Source.FFontRef;
    FIndent = Source.FIndent;
    FFntCnt = Source.FFntCnt;
    FBoolState = Source.FBoolState;
}

int THTMLItem::EffectiveFontHeight() const {
    if (!IsSub() && !IsSuper()) return FontHeight;
    // Two pixels toward zero, the same font for measuring and drawing.
    if (FontHeight > 2) return FontHeight - 2;
    if (FontHeight < -2) return FontHeight + 2;
    return FontHeight;
}

THTMLFontMetrics THTMLItem::FontMetrics(int height) const {
    if (!FOwner || !FOwner->FRender) return {};
    return FOwner->FRender->MeasureFont({FFontRef, height, FontStyle, FOwner->FCharset});
}

int THTMLItem::GetWidth() {
    switch (FItemType) {
    case hitChar:
    case hitVar: {
        if (FTWidth != kWidthUnknown) return FTWidth;
        if (!FOwner || !FOwner->FRender) return 0;
        THTMLRender* render = FOwner->FRender;
        THTMLFont font{FFontRef, EffectiveFontHeight(), FontStyle, render->CanvasCharset()};
        int w = render->MeasureText(font, FText) + 1;
        if (w < 0) w = 0;
        FTWidth = std::uint16_t(w >= kWidthUnknown ? kWidthUnknown - 1 : w);
        return FTWidth;
    }
    default:
        return FWidth;
    }
}

int THTMLItem::GetHeight(int& BaseLine) {
    BaseLine = 0;
    int gap = FOwner ? FOwner->FLineGap : 0;
    switch (FItemType) {
    case hitChar: {
        THTMLFontMetrics m = FontMetrics(EffectiveFontHeight());
        BaseLine = m.Descent;
        return std::abs(m.Height) + gap;
    }
    case hitBitmap:
    case hitInput:
    case hitControl:
        return FHeight + gap;
    default:
        return gap; // variables, rules, gaps
    }
}

int THTMLBreakItem::GetWidth() {
    switch (FItemType) {
    case hitLI:
        return FontMetrics(FontHeight).AveCharWidth;
    case hitUL:
    case hitOL:
        return FontMetrics(FontHeight).MaxCharWidth;
    default:
        return 0;
    }
}

int THTMLBreakItem::GetHeight(int& BaseLine) {
    // An empty line (last item, or followed by another line start) takes its font's height.
    bool emptyLine = true;
    if (FOwner) {
        const TItemList& list = FOwner->FArray;
        for (int i = 1; i <= list.Count(); ++i) {
            if (list.Items(i) != this) continue;
            THTMLItem* next = list.Items(i + 1);
            emptyLine = !next || next->IsBreak();
            break;
        }
    }
    return LineStartHeight(emptyLine, BaseLine);
}

int THTMLBreakItem::LineStartHeight(bool emptyLine, int& BaseLine) {
    BaseLine = 0;
    int height = 0;
    if (emptyLine && (FItemType == hitSoftBreak || FItemType == hitBreak || FItemType == hitLI)) {
        THTMLFontMetrics m = FontMetrics(EffectiveFontHeight());
        height = std::abs(m.Height);
        BaseLine = m.Descent;
    }
    if (FOwner) {
        if (height < FOwner->FLineSpacing) height = FOwner->FLineSpacing;
        height += FOwner->FLineGap;
    }
    return height;
}

void THTMLBreakItem::Assign(const THTMLItem& Source) {
    THTMLItem::Assign(Source);
    if (const auto* brk = dynamic_cast<const THTMLBreakItem*>(&Source)) {
        FListLevel = brk->FListLevel;
        FListItemN = brk->FListItemN;
        FParams = brk->FParams & ~3u;
    }
}

void THTMLBreakItem::AssignBreakProps(const THTMLBreakItem* Source) {
    if (!Source) return;
    FListLevel = Source->FListLevel;
    FListItemN = Source->FListItemN;
    FParams = Source->FParams;
}

std::u16string THTMLInputItem::GetHTMLText() const {
    std::u16string s = u"<input type=\"";
    s += FInputType == itRadioButton ? u"radio" : u"checkbox";
    s += u"\"";
    if (!FName.empty()) s += u" name=\"" + FName + u"\"";
    if (!FValue.empty()) s += u" value=\"" + FValue + u"\"";
    if (FChecked) s += u" checked=\"true\"";
    s += u">";
    return s;
}

THTMLControlItem::~THTMLControlItem() = default;

std::u16string THTMLControlItem::GetHTMLText() const {
    std::u16string s = u"<control vclclass=\"" + FControlClass + u"\"";
    for (const auto& [name, value] : FControlPropList)
        s += u" " + name + u"=\"" + value + u"\"";
    s += u">";
    return s;
}
