// The markup renderer's portable part: parsing captions into item lists (with word wrap),
// the layout pass, hit testing and the link/input interactions. Measuring goes through
// THTMLMeasurer; the Win32 layer adds painting on top.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Geometry.h"
#include "framework/core/Object.h"
#include "richlabel/core/HtmlData.h"
#include "richlabel/core/HtmlMeasurer.h"
#include "richlabel/core/HtmlPicture.h"

using THTMLImageNeededEvent = std::function<void(TObject* Sender, const std::u16string& Src,
                                                 std::unique_ptr<THTMLPicture>& Image)>;
using THTMLVariableNeededEvent =
    std::function<void(TObject* Sender, const std::u16string& Name, std::u16string& Value)>;
// Creates the platform control of an embedded-control item; answers its size.
using THTMLControlHook = std::function<TTextSize(THTMLControlItem& Item)>;

class THTMLRender : public TObject {
  public:
    explicit THTMLRender(THTMLMeasurer* Measurer = nullptr);
    ~THTMLRender() override;

    THTMLMeasurer* Measurer() const { return FMeasurer; }
    void SetMeasurer(THTMLMeasurer* m) { FMeasurer = m; }

    // Parses Text into the current data. Never throws: a failing parse leaves it empty.
    void PrepareText(const std::u16string& Text, int MaxWidth, bool AutoWrap);
    // Parses into CurData, which is the current data for the duration of the call.
    void PrepareToData(const std::u16string& Text, int MaxWidth, THTMLData*& CurData,
                       bool AutoWrap);

    THTMLData* Data() const { return FData; }
    // Selects the current data; nullptr selects the renderer's internal data.
    void SetData(THTMLData* NewData);
    THTMLData* CreateData();
    void DestroyData(THTMLData* Data);

    int LineCount() const { return FData ? FData->LineCount() : 0; }
    int ItemCount() const { return FData ? FData->ItemCount() : 0; }
    // Plain text of the current data: runs, line breaks, paragraph breaks, list dashes.
    void AsText(std::u16string& Out) const;

    // The item drawn at a point when the text is painted into R scrolled by SrcPoint (the
    // point in the coordinates R is given in). Without a width in R, the last paint's.
    THTMLItem* ItemAt(TPoint Point, TPoint SrcPoint, TRect R);
    bool IsCursorOverLink(TPoint Point, TPoint SrcPoint, TRect R, std::u16string& href);
    void SelectLinkAt(TPoint Point, TPoint SrcPoint, TRect R);
    void MouseMoveTransfer(std::uint8_t Shift, int X, int Y, TRect R);
    void ClickTransfer(int X, int Y, TRect R);
    void Change();

    // The x where a line's items start: by the alignment in its break item, within width M.
    static int LineStartX(const THTMLBreakItem& brk, int M);

    bool LinkSelect() const { return FLinkSelect; }
    void SetLinkSelect(bool v) { FLinkSelect = v; }
    int CurListItem() const { return FCurListItem; }

    THTMLImageNeededEvent OnImageNeeded;
    THTMLImageNeededEvent OnImageNeededEx;
    THTMLVariableNeededEvent OnVariableNeeded;
    TNotifyEvent OnChange;
    TNotifyEvent OnInputItemChecked;
    TNotifyEvent OnInputItemTextChanged;
    THTMLControlHook FControlHook;

    // Measuring helpers used by items and the parser.
    int MeasureText(const THTMLFont& font, const std::u16string& text);
    THTMLFontMetrics MeasureFont(const THTMLFont& font);
    int ScreenPixelsPerInch();
    std::uint8_t CanvasCharset() const { return FCanvasCharset; }
    // The picture for an image name from the callbacks (nullptr when none).
    std::unique_ptr<THTMLPicture> RequestImage(const std::u16string& name);

  protected:
    bool FLinkSelect = false;
    int FCurListItem = 0;
    std::unique_ptr<THTMLData> FIntData;
    THTMLData* FData = nullptr;
    std::vector<std::unique_ptr<THTMLData>> FCreatedData;
    THTMLMeasurer* FMeasurer = nullptr;
    std::uint8_t FCanvasCharset = DEFAULT_CHARSET_VALUE; // charset the last metrics left
    int FPixelsPerInch = 0;

    friend class THTMLParser;
};

// Measures every line of a parsed list and stores widths, heights, descents and the text size.
void LayoutHTMLData(THTMLData& data);
