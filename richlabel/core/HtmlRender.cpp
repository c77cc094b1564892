// THTMLRender: data selection, the parse entry points, plain text, hit testing and the
// link and input interactions.
#include "richlabel/core/HtmlRender.h"

#include <algorithm>

#include "richlabel/core/HtmlParser.h"
#include "richlabel/core/HtmlPlacement.h"

THTMLRender::THTMLRender(THTMLMeasurer* Measurer)
    : FIntData(std::make_unique<THTMLData>(this)), FData(FIntData.get()), FMeasurer(Measurer) {}

THTMLRender::~THTMLRender() = default;

void THTMLRender::PrepareText(const std::u16string& Text, int MaxWidth, bool AutoWrap) {
    THTMLData* data = FData ? FData : FIntData.get();
    PrepareToData(Text, MaxWidth, data, AutoWrap);
}

void THTMLRender::PrepareToData(const std::u16string& Text, int MaxWidth, THTMLData*& CurData,
                                bool AutoWrap) {
    if (!CurData) return;
    THTMLData* previous = FData;
    FData = CurData;
    try {
        THTMLParser(*this, *CurData, Text, MaxWidth, AutoWrap).Run();
    } catch (...) {
        // A failing parse (an unreadable input state, a control that cannot be made) leaves
        // the text empty; nothing reaches the caller.
        CurData->ClearArray();
        CurData->FTextSize = {};
    }
    FData = previous;
}

void THTMLRender::SetData(THTMLData* NewData) {
    FData = NewData ? NewData : FIntData.get();
}

THTMLData* THTMLRender::CreateData() {
    FCreatedData.push_back(std::make_unique<THTMLData>(this));
    return FCreatedData.back().get();
}

void THTMLRender::DestroyData(THTMLData* Data) {
    if (!Data || Data == FIntData.get()) return;
    if (FData == Data) FData = nullptr;
    auto it = std::find_if(FCreatedData.begin(), FCreatedData.end(),
                           [Data](const auto& d) { return d.get() == Data; });
    if (it != FCreatedData.end()) FCreatedData.erase(it);
}

void THTMLRender::AsText(std::u16string& Out) const {
    Out.clear();
    if (!FData) return;
    bool first = true;
    for (const auto& item : FData->FArray) {
        switch (item->FItemType) {
        case hitChar:
            Out += item->FText;
            break;
        case hitBreak:
            Out += u"\r\n";
            break;
        case hitPara:
            if (!first) Out += u"\r\n\r\n";
            break;
        case hitLI:
            Out += u"- ";
            break;
        default:
            break;
        }
        first = false;
    }
}

int THTMLRender::MeasureText(const THTMLFont& font, const std::u16string& text) {
    return FMeasurer ? FMeasurer->TextWidth(font, text) : 0;
}

THTMLFontMetrics THTMLRender::MeasureFont(const THTMLFont& font) {
    if (!FMeasurer) return {};
    FCanvasCharset = font.Charset;
    return FMeasurer->Metrics(font);
}

int THTMLRender::ScreenPixelsPerInch() {
    if (FPixelsPerInch == 0) {
        int ppi = FMeasurer ? FMeasurer->PixelsPerInchY() : 0;
        FPixelsPerInch = ppi > 0 ? ppi : 100;
    }
    return FPixelsPerInch;
}

std::unique_ptr<THTMLPicture> THTMLRender::RequestImage(const std::u16string& name) {
    std::unique_ptr<THTMLPicture> picture;
    if (OnImageNeeded) OnImageNeeded(this, name, picture);
    if (!picture && OnImageNeededEx) {
        try {
            OnImageNeededEx(this, name, picture);
        } catch (...) {
            picture.reset();
        }
    }
    return picture;
}

int THTMLRender::LineStartX(const THTMLBreakItem& brk, int M) {
    switch (brk.Alignment()) {
    case 1:
        return (M - brk.FWidth - 1) / 2;
    case 2:
        return M - brk.FWidth - 1;
    default:
        return brk.FIndent;
    }
}

THTMLItem* THTMLRender::ItemAt(TPoint Point, TPoint SrcPoint, TRect R) {
    if (!FData) return nullptr;
    if (R.Width() == 0) R = FData->FRect;
    // Items are drawn at R's corner plus their layout position less the scroll offset.
    const int px = Point.X - R.Left + SrcPoint.X, py = Point.Y - R.Top + SrcPoint.Y;
    THTMLPlacement walk(*this, *FData, R, SrcPoint);
    bool pointsLine = false;
    while (walk.Next()) {
        THTMLItem& item = walk.Item();
        if (item.IsBreak()) {
            if (pointsLine) return nullptr; // the point's line ended without a hit
            const THTMLLinePlace& line = walk.Line();
            pointsLine = line.Top + line.Height > py;
            continue;
        }
        if (!pointsLine) continue;
        if (walk.HitBox(item).Contains({px, py})) return &item;
    }
    return nullptr;
}

bool THTMLRender::IsCursorOverLink(TPoint Point, TPoint SrcPoint, TRect R, std::u16string& href) {
    THTMLItem* item = ItemAt(Point, SrcPoint, R);
    if (item && item->IsLink()) {
        href = item->FLinkRef;
        return true;
    }
    href.clear();
    return false;
}

void THTMLRender::SelectLinkAt(TPoint Point, TPoint SrcPoint, TRect R) {
    if (FData) FData->FSelectedItem = ItemAt(Point, SrcPoint, R);
}

void THTMLRender::MouseMoveTransfer(std::uint8_t Shift, int X, int Y, TRect R) {
    if (!FData) return;
    THTMLItem* item = ItemAt({X, Y}, {0, 0}, R);
    auto* input =
        item && item->FItemType == hitInput ? static_cast<THTMLInputItem*>(item) : nullptr;
    if (input == FData->FActiveItem) return;
    FData->FActiveItem = input;
    Change();
}

void THTMLRender::ClickTransfer(int X, int Y, TRect R) {
    if (!FData) return;
    FData->FSelectedItem = nullptr;
    THTMLItem* item = ItemAt({X, Y}, {0, 0}, R);
    if (item && item->FItemType == hitInput) {
        auto* input = static_cast<THTMLInputItem*>(item);
        FData->FSelectedItem = input;
        input->FChecked = !input->FChecked;
        if (input->FInputType == itRadioButton && input->FChecked && input->FTag > 0) {
            for (const auto& other : FData->FArray) {
                if (other.get() == input || other->FItemType != hitInput) continue;
                auto* peer = static_cast<THTMLInputItem*>(other.get());
                if (peer->FInputType == itRadioButton && peer->FTag == input->FTag)
                    peer->FChecked = false;
            }
        }
        if (OnInputItemChecked) OnInputItemChecked(this);
    } else if (item && item->IsLink() && FLinkSelect) {
        FData->FSelectedItem = item;
    }
    Change();
}

void THTMLRender::Change() {
    if (OnChange) OnChange(this);
}
