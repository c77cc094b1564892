// TTextPainter: how the edit measures and draws its text runs. The Win32 layer implements it
// with GDI; tests use a painter with fixed character widths.
#pragma once
#include <string>
#include <vector>

#include "framework/core/Color.h"
#include "framework/core/Geometry.h"

struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

class TTextPainter {
  public:
    TTextPainter() = default;
    TTextPainter(const TTextPainter&) = delete;
    TTextPainter& operator=(const TTextPainter&) = delete;
    virtual ~TTextPainter() = default;

    // Text colour, and background colour of the next runs (clNone: transparent).
    virtual void SetColor(TColor c) { FColor = c; }
    virtual void SetBkColor(TColor c) { FBkColor = c; }
    TColor Color() const { return FColor; }
    TColor BkColor() const { return FBkColor; }

    // Draws a run of display text with its baseline at y, clipped to `clip`.
    virtual void DrawRun(int x, int y, const std::u16string& text, const TRect& clip) = 0;
    // How many characters of `text` fit into `maxWidth`; fills `extents` (when given) with
    // the extent of each prefix, 1 to all characters.
    virtual int FitText(const std::u16string& text, int maxWidth, std::vector<int>* extents) = 0;
    virtual TTextExtent TextSize(const std::u16string& text) = 0;

    // Stored characters from `start` that fit into `width`, tabs measured as the tab string.
    int CharsFitRight(int width, const std::u16string& text, int start);
    // Stored characters ending just before `position` that fit into `width`, counted
    // backwards.
    int CharsFitLeft(int width, const std::u16string& text, int position);
    // Masks the run, expands its tabs, draws it and answers its width.
    virtual int DrawTabbedText(int x, int y, const std::u16string& text, const TRect& clip);

    // Width of stored text as it is shown (masked, tabs expanded).
    int DisplayWidth(const std::u16string& text);
    // Extent of each prefix of stored text as shown: element i ends character i.
    std::vector<int> CharEdges(const std::u16string& text);

    // The edit's display settings.
    void SetTabSpaces(int n);
    const std::u16string& TabString() const { return FTabString; }
    void SetPasswordChar(char16_t c) { FPasswordChar = c; }
    char16_t PasswordChar() const { return FPasswordChar; }
    // Every character except CR and LF replaced by the password character, if one is set.
    std::u16string Mask(const std::u16string& text) const;
    std::u16string ExpandTabs(const std::u16string& text) const;

  private:
    // Characters of `text` whose expansion fits into `width`, in order.
    int FitStored(const std::u16string& text, int width);

    TColor FColor = clBlack;
    TColor FBkColor = clNone;
    std::u16string FTabString = u"    ";
    char16_t FPasswordChar = 0;
};
