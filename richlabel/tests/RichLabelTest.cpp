// TRichLabel under Wine: wrapping with the real font metrics, shared baselines, the window's
// banner, heading and plain link label, clicks and the hand cursor, the disabled look,
// auto-size of an empty caption, empty text, and GDI object hygiene.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/win32/Application.h"
#include "framework/win32/Canvas.h"
#include "framework/win32/Colors.h"
#include "framework/win32/Form.h"
#include "framework/win32/WinText.h"
#include "richlabel/core/HtmlColorAdjust.h"
#include "richlabel/win32/RichLabel.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr TColor kBannerColor = 13892094;
constexpr TColor kHeaderBlue = 0x00CE7B00;
const std::u16string kSentence = u"Klicken Sie den folgenden Link und registrieren Sie sich:";

TFontDesc Verdana(int height, TFontStyles style = 0, TColor color = clWindowText) {
    TFontDesc d;
    d.Name = u"Verdana";
    d.Height = height;
    d.Style = style;
    d.Color = color;
    return d;
}

TEXTMETRICW MetricsOf(const TFontDesc& desc) {
    WindowDC screen(nullptr);
    FontHandle font = CreateFontFromDesc(desc);
    ScopedSelect select(screen.get(), font.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.get(), &tm);
    return tm;
}

// Width of one line of text as the measuring rule gives it (calculated rectangle + 1).
int RunWidth(const TFontDesc& desc, const std::u16string& text) {
    WindowDC screen(nullptr);
    FontHandle font = CreateFontFromDesc(desc);
    ScopedSelect select(screen.get(), font.get());
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.get(), AsWide(text), int(text.size()), &r, 0x0C28);
    return r.right - r.left + 1;
}

// Keeps a painted surface as a 24-bit BMP beside the test program, for a person to look at.
void SaveArtefact(const DibSurface& s, const char* name) {
    const int w = s.width(), h = s.height(), stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(stride * h);
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string path = std::string("richlabel-") + name + ".bmp";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::vector<unsigned char> row(std::size_t(stride), 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = s.Pixel(x, y);
            row[std::size_t(x * 3)] = GetBValue(c);
            row[std::size_t(x * 3 + 1)] = GetGValue(c);
            row[std::size_t(x * 3 + 2)] = GetRValue(c);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
}

// The text of each line (a break item and the runs up to the next one) and its break item.
struct Line {
    std::u16string text;
    THTMLBreakItem* brk;
};
std::vector<Line> Lines(THTMLData& d) {
    std::vector<Line> lines;
    for (const auto& item : d.FArray) {
        if (item->IsBreak())
            lines.push_back({u"", static_cast<THTMLBreakItem*>(item.get())});
        else if (!lines.empty() && item->IsTextRun())
            lines.back().text += item->FText;
    }
    return lines;
}

class RichLabelFixture : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        app = std::make_unique<TApplication>();
        form = TComponent::Create<TForm>(app.get());
        form->SetBorderStyle(bsNone);
        form->SetClientSize(460, 300);
        form->SetColor(clWhite);
        form->Show();
        PumpFor(100);
    }
    static void TearDownTestSuite() {
        app.reset();
        form = nullptr;
    }

    // A label as the window makes them: no themes, no auto-size, word wrap.
    TRichLabel* MakeLabel(int width, int height, bool onForm = false) {
        auto* label = TComponent::Create<TRichLabel>(&owner);
        label->BeginLoading();
        if (onForm) label->SetParent(form);
        label->SetThemeMode(ttmNone);
        label->SetAutoSize(false);
        label->SetWordWrap(true);
        label->SetBounds(10, 10, width, height);
        label->Font().Assign(Verdana(-13));
        label->Loaded();
        return label;
    }

    static void PaintInto(TRichLabel* label, DibSurface& s, COLORREF fill) {
        s.Fill(fill);
        TCanvas canvas(s.dc());
        label->Paint(canvas);
    }

    // Sends a mouse message to the form at a point of the label.
    static void Mouse(UINT msg, TRichLabel* label, int x, int y) {
        const POINT o = label->OriginInWindow();
        SendMessageW(form->Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                     MAKELPARAM(o.x + x, o.y + y));
    }
    static void ClickAt(TRichLabel* label, int x, int y) {
        Mouse(WM_MOUSEMOVE, label, x, y);
        Mouse(WM_LBUTTONDOWN, label, x, y);
        Mouse(WM_LBUTTONUP, label, x, y);
    }
    static TCursor ShownCursor(TRichLabel* label) {
        return static_cast<TControl*>(label)->Cursor();
    }

    static inline std::unique_ptr<TApplication> app;
    static inline TForm* form = nullptr;
    TComponent owner{nullptr};
};

TEST_F(RichLabelFixture, StepCaptionsWrapAtSpacesWithTheRealFontMetrics) {
    const std::pair<std::u16string, std::u16string> steps[] = {
        {u"Schritt 1:", kSentence},
        {u"Schritt 2:", u"Geben Sie die Kundennummer ein, die Sie nach der Registrierung per "
                        u"E-Mail erhalten haben:"},
        {u"Schritt 3:", u"Laden Sie die Vollversion herunter und installieren Sie diese auf "
                        u"Ihrem Computer:"},
    };
    bool wrapped = false;
    for (const auto& [heading, sentence] : steps) {
        SCOPED_TRACE(ToWString(heading));
        TRichLabel* label = MakeLabel(411, 120);
        label->SetCaption(u"<B><U>" + heading + u"</U></B><br><br>" + sentence);
        THTMLData& d = *label->Render().Data();
        EXPECT_EQ(d.MaxWidth(), 411);
        const std::vector<Line> lines = Lines(d);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0].text, heading);
        EXPECT_EQ(lines[1].text, u"");
        EXPECT_EQ(lines[1].brk->FHeight, MetricsOf(Verdana(-13)).tmHeight);
        std::u16string joined;
        for (std::size_t i = 2; i < lines.size(); ++i) {
            const Line& line = lines[i];
            joined += line.text;
            EXPECT_LE(int(line.brk->FWidth), 411);
            if (i + 1 == lines.size()) continue;
            // Each wrapped line keeps its trailing space and had no room for the next word.
            ASSERT_FALSE(line.text.empty());
            EXPECT_EQ(line.text.back(), u' ');
            const std::u16string& next = lines[i + 1].text;
            const std::u16string nextWord = next.substr(0, next.find(u' '));
            EXPECT_GT(RunWidth(Verdana(-13), line.text + nextWord), 411) << ToWString(line.text);
        }
        EXPECT_EQ(joined, sentence);
        const bool tooWide = RunWidth(Verdana(-13), sentence) > 411;
        EXPECT_EQ(lines.size() > 3, tooWide);
        wrapped |= tooWide;
        DibSurface s(411, 120);
        PaintInto(label, s, kWhite);
        SaveArtefact(s, heading == u"Schritt 2:" ? "step2" : "step");
    }
    EXPECT_TRUE(wrapped);
}

// More fonts than the measuring cache keeps: each run still measures in its own font, also
// when its font comes back after the cache was trimmed.
TEST_F(RichLabelFixture, RunsMeasureInTheirOwnFontWhenTheLabelUsesManyFonts) {
    auto run = [](int size) {
        return u"<font size=" + AnsiToWide(std::to_string(size)) + u">Wort</font> ";
    };
    auto runWidths = [](TRichLabel* label) {
        std::vector<int> widths;
        for (const auto& item : label->Render().Data()->FArray)
            if (item->IsTextRun() && item->FText == u"Wort") widths.push_back(item->GetWidth());
        return widths;
    };
    std::vector<int> sizes;
    for (int size = 10; size < 54; ++size) // font heights in pixels
        sizes.push_back(size);
    sizes.insert(sizes.end(), {10, 30, 53, 11});
    std::u16string caption;
    std::vector<int> alone;
    for (int size : sizes) {
        caption += run(size);
        TRichLabel* single = MakeLabel(2000, 100);
        single->SetCaption(run(size));
        ASSERT_EQ(runWidths(single).size(), 1u);
        alone.push_back(runWidths(single)[0]);
    }
    TRichLabel* label = MakeLabel(20000, 100);
    label->SetCaption(caption);
    EXPECT_EQ(runWidths(label), alone);
    EXPECT_LT(alone[0], alone[40]); // the sizes do differ
}

TEST_F(RichLabelFixture, RunsOfDifferentHeightsShareOneBaseline) {
    TRichLabel* label = MakeLabel(300, 60);
    label->Font().Assign(Verdana(-15));
    label->SetCaption(u"xx<font size=22>xx</font>");
    THTMLData& d = *label->Render().Data();
    ASSERT_EQ(d.ItemCount(), 3);
    auto* line = static_cast<THTMLBreakItem*>(d.FArray.Items(1));
    const int w1 = d.FArray.Items(2)->FWidth, w2 = d.FArray.Items(3)->FWidth;
    const int descents[] = {MetricsOf(Verdana(-15)).tmDescent, MetricsOf(Verdana(22)).tmDescent};
    EXPECT_EQ(line->FHeight,
              std::max<int>(MetricsOf(Verdana(-15)).tmHeight, MetricsOf(Verdana(22)).tmHeight));
    EXPECT_EQ(line->LineDescent(), std::max(descents[0], descents[1]));

    DibSurface s(300, 60);
    PaintInto(label, s, kWhite);
    const RECT small = InkBox(s, {0, 0, w1, 60}, kWhite);
    const RECT large = InkBox(s, {w1, 0, w1 + w2, 60}, kWhite);
    EXPECT_EQ(small.bottom, large.bottom); // glyph bottoms of "x" line up
    EXPECT_LT(large.top, small.top);
    const int baseline = line->FHeight - line->LineDescent();
    EXPECT_NEAR(small.bottom, baseline, 1);
}

TEST_F(RichLabelFixture, BottomBannerWrapsInsideItsBorderAndShowsItsColour) {
    TRichLabel* label = MakeLabel(445, 90);
    label->SetBorderWidth(16);
    label->SetColor(kBannerColor);
    label->SetTransparent(false);
    label->SetCaption(u"Nach der Registrierung erhalten Sie Ihre Kundennummer per E-Mail. "
                      u"Geben Sie sie oben ein und laden Sie die Vollversion herunter.");
    THTMLData& d = *label->Render().Data();
    EXPECT_EQ(d.MaxWidth(), 413);
    for (const Line& line : Lines(d))
        EXPECT_LE(int(line.brk->FWidth), 413);
    EXPECT_GE(Lines(d).size(), 2u);

    DibSurface s(445, 90);
    PaintInto(label, s, kWhite);
    SaveArtefact(s, "banner");
    const COLORREF banner = ColorToRGB(kBannerColor);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 445; ++x)
            if (x < 16 || y < 16 || x >= 445 - 16 || y >= 90 - 16) {
                ASSERT_EQ(s.Pixel(x, y), banner) << x << "," << y;
            }
    const RECT ink = InkBox(s, {0, 0, 445, 90}, banner);
    EXPECT_GE(ink.left, 16);
    EXPECT_LE(ink.left, 16 + 3);
    EXPECT_GE(ink.top, 16);
    EXPECT_LE(ink.top, 16 + 6);
}

TEST_F(RichLabelFixture, CentredHeadingStartsAtHalfItsHeightAboveTheMiddle) {
    TRichLabel* label = MakeLabel(411, 59);
    label->SetLayout(tlCenter);
    label->SetTransparent(false);
    label->SetColor(kHeaderBlue);
    label->Font().Assign(Verdana(-15, 0, 11399932));
    label->SetCaption(u"Free registration for <br><b><font size=22>Lumvora</font> (full "
                      u"version)</b>");
    const int h = label->Render().Data()->FTextSize.cy;
    ASSERT_GT(h, 0);
    const RECT t = label->HTMLTextRect();
    EXPECT_EQ(t.top, 29 - h / 2);
    EXPECT_EQ(t.bottom, t.top + std::min(h, 59));

    DibSurface s(411, 59);
    PaintInto(label, s, kWhite);
    SaveArtefact(s, "heading");
    const RECT ink = InkBox(s, {0, 0, 411, 59}, ColorToRGB(kHeaderBlue));
    EXPECT_GE(ink.top, t.top);
    EXPECT_LE(ink.bottom, t.bottom);
    EXPECT_EQ(s.Pixel(0, 0), ColorToRGB(kHeaderBlue));
}

TEST_F(RichLabelFixture, PlainLinkLabelIsCentredHandEverywhereAndClicks) {
    TRichLabel* label = MakeLabel(411, 27, true);
    label->SetIsHTML(false);
    label->SetTransparent(false);
    label->SetColor(clWhite);
    label->SetAlignment(taCenter);
    label->Font().Assign(Verdana(-19, fsUnderline, 13531904));
    label->SetLinkColor(13531904);
    label->SetCursor(crHandPoint);
    label->SetCaption(u"Jetzt registrieren");
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };

    DibSurface s(411, 27);
    PaintInto(label, s, RGB(0, 0, 0));
    SaveArtefact(s, "register");
    EXPECT_EQ(s.Pixel(0, 0), kWhite);
    EXPECT_EQ(s.Pixel(410, 26), kWhite);
    const RECT ink = InkBox(s, {0, 0, 411, 27}, kWhite);
    EXPECT_NEAR(ink.left, 411 - ink.right, 2); // centred
    EXPECT_EQ(ink.top < MetricsOf(Verdana(-19)).tmHeight, true);
    bool blue = false;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x)
            blue |= s.Pixel(x, y) == ColorToRGB(13531904);
    EXPECT_TRUE(blue);

    for (POINT p : {POINT{2, 2}, POINT{205, 13}, POINT{400, 25}}) {
        Mouse(WM_MOUSEMOVE, label, p.x, p.y);
        EXPECT_EQ(ShownCursor(label), crHandPoint);
    }
    ClickAt(label, 30, 10);
    EXPECT_EQ(clicks, 1);
}

// A label without a window has no pointer over it: wherever the pointer is on the screen,
// the cursor set is the cursor kept (the window's form is laid out before it is created).
TEST_F(RichLabelFixture, LabelWithoutAWindowKeepsTheCursorSetWhereverThePointerIs) {
    TRichLabel* label = MakeLabel(300, 40);
    label->SetCaption(u"<a href=\"https://signup.example/\">hier</a> klicken");
    const POINT o = label->OriginInWindow();
    ASSERT_TRUE(SetCursorPos(o.x + 5, o.y + 8)); // over the link, read as a label point
    label->SetCursor(crDefault);
    EXPECT_EQ(ShownCursor(label), crDefault);
    label->SetCursor(crHandPoint);
    EXPECT_EQ(ShownCursor(label), crHandPoint);
}

TEST_F(RichLabelFixture, HtmlLabelClicksReachLinksOnlyAndShowTheHandOverLinks) {
    TRichLabel* label = MakeLabel(300, 40, true);
    label->SetCaption(u"Klicken Sie <a href=\"https://signup.example/\">hier</a> jetzt");
    int clicks = 0;
    std::u16string target;
    label->OnClick = [&](TObject*) { ++clicks; };
    label->OnLinkClick = [&](TObject*, const std::u16string& href) { target = href; };
    THTMLData& d = *label->Render().Data();
    ASSERT_EQ(d.FControlsArray.size(), 1u);
    int linkX = 0;
    for (const auto& item : d.FArray) {
        if (item.get() == d.FControlsArray[0]) break;
        if (!item->IsBreak()) linkX += item->FWidth;
    }
    const int middle = linkX + d.FControlsArray[0]->FWidth / 2;

    Mouse(WM_MOUSEMOVE, label, middle, 8);
    EXPECT_EQ(ShownCursor(label), crHandPoint);
    Mouse(WM_MOUSEMOVE, label, 3, 8);
    EXPECT_EQ(ShownCursor(label), crDefault);

    ClickAt(label, 3, 8);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(target, u"");
    ClickAt(label, middle, 8);
    EXPECT_EQ(target, u"https://signup.example/");
    EXPECT_EQ(clicks, 0);
}

TEST_F(RichLabelFixture, RightClickOverALinkPopsUpTheLinkMenu) {
    TRichLabel* label = MakeLabel(300, 40, true);
    label->SetCaption(u"<a href=x>link</a> text");
    PumpFor(50); // painted once, so the last paint rectangle is known
    auto* menu = TComponent::Create<TPopupMenu>(&owner);
    label->SetLinkPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        // Closes the menu as soon as its loop runs.
        CloseMenuSoon(30);
    };
    Mouse(WM_RBUTTONDOWN, label, 5, 8);
    Mouse(WM_RBUTTONUP, label, 5, 8);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent, label);
    Mouse(WM_RBUTTONDOWN, label, 250, 8);
    Mouse(WM_RBUTTONUP, label, 250, 8);
    EXPECT_EQ(popups, 1); // not over a link
    owner.DestroyComponents();
}

// The box of the pixels drawn in a blue link colour (antialiased edges included), or an
// empty box.
RECT LinkInk(const DibSurface& s) {
    RECT box{s.width(), s.height(), -1, -1};
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const COLORREF c = s.Pixel(x, y);
            if (GetBValue(c) - GetRValue(c) < 60) continue;
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                   std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        }
    return box;
}

// Every alignment and layout, with and without a border, with lists and gaps: a point in the
// middle of the drawn link is over it (hand cursor, link click), points a few pixels beside,
// above and below it are not.
TEST_F(RichLabelFixture, LinksAreHitWhereTheyAreDrawn) {
    const std::u16string captions[] = {
        u"Klick <a href=x>link</a>",
        u"<p align=center>Klick <a href=x>link</a>",
        u"abc<ind width=100 pos=abs><a href=x>link</a>",
        u"abc<ind width=40><a href=x>link</a>",
        u"<ol><li>a<li>b<a href=x>link</a></ol>",
        u"<ul><li>a<li>b<a href=x>link</a></ul>",
    };
    const TAlignment alignments[] = {taLeftJustify, taCenter, taRightJustify};
    const TTextLayout layouts[] = {tlTop, tlCenter, tlBottom};
    for (const std::u16string& caption : captions)
        for (TAlignment alignment : alignments)
            for (TTextLayout layout : layouts)
                for (int border : {0, 10}) {
                    SCOPED_TRACE(WideToAnsi(caption) + " alignment " + std::to_string(alignment) +
                                 " layout " + std::to_string(layout) + " border " +
                                 std::to_string(border));
                    TRichLabel* label = MakeLabel(300, 110, true);
                    label->SetAlignment(alignment);
                    label->SetLayout(layout);
                    label->SetBorderWidth(border);
                    label->SetCaption(caption);
                    std::u16string target;
                    label->OnLinkClick = [&](TObject*, const std::u16string& href) {
                        target = href;
                    };
                    DibSurface s(300, 110);
                    PaintInto(label, s, kWhite);
                    const RECT ink = LinkInk(s);
                    ASSERT_LT(ink.left, ink.right);
                    const int cx = (ink.left + ink.right) / 2, cy = (ink.top + ink.bottom) / 2;
                    auto over = [&](int x, int y) {
                        Mouse(WM_MOUSEMOVE, label, x, y);
                        return ShownCursor(label) == crHandPoint;
                    };
                    EXPECT_TRUE(over(cx, cy));
                    EXPECT_TRUE(over(ink.left + 1, cy));
                    EXPECT_TRUE(over(ink.right - 1, cy));
                    EXPECT_FALSE(over(ink.left - 4, cy));
                    EXPECT_FALSE(over(ink.right + 3, cy));
                    EXPECT_FALSE(over(cx, ink.top - 6));
                    EXPECT_FALSE(over(cx, ink.bottom + 6));
                    ClickAt(label, cx, cy);
                    EXPECT_EQ(target, u"x");
                    owner.DestroyComponents();
                }
}

// A list entry's number is written in the font of the last run drawn before it and in the
// entry's own colour, also when a disabled label overrides the colours of the text.
TEST_F(RichLabelFixture, NumbersTakeTheLastRunsFontAndTheEntrysColour) {
    TRichLabel* label = MakeLabel(200, 120);
    // The big run before the list is white, so only the number and "x" show.
    label->SetCaption(u"<font size=40 color=white>Big</font><ol><li>x</ol>");
    DibSurface s(200, 120);
    PaintInto(label, s, kWhite);
    SaveArtefact(s, "number");
    const RECT ink = InkBox(s, {0, 0, 200, 120}, kWhite);
    EXPECT_GT(ink.bottom - ink.top, MetricsOf(Verdana(-13)).tmHeight + 4);

    label->SetEnabled(false);
    PaintInto(label, s, kWhite);
    int darkest = 255;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            darkest = std::min<int>(darkest, GetRValue(s.Pixel(x, y)));
    EXPECT_LT(darkest, 0x30); // the number in black; the grey text is lighter
    owner.DestroyComponents();
}

// The context-menu request reaches the label under its point. Over a link OnContextPopup gets
// the screen point and, unless it handles the request, the link menu shows; the request
// ends there. Elsewhere it takes the normal course up to the parent window. A right-click
// makes the same request, and shows the menu once.
TEST_F(RichLabelFixture, ContextMenuRequestOverALinkShowsTheLinkMenuOnce) {
    auto* panel = TComponent::Create<TCustomControl>(&owner);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 400, 100);
    TRichLabel* label = MakeLabel(300, 40, true);
    label->SetParent(panel);
    label->SetCaption(u"<a href=x>link</a> text");
    auto* menu = TComponent::Create<TPopupMenu>(&owner);
    label->SetLinkPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        CloseMenuSoon(30);
    };
    bool handle = false;
    int labelRequests = 0, formRequests = 0;
    POINT seen{};
    label->OnContextPopup = [&](TObject*, POINT p, bool& handled) {
        ++labelRequests;
        seen = p;
        handled = handle;
    };
    form->OnContextPopup = [&](TObject*, POINT, bool&) { ++formRequests; };

    enum Source { request, keyboard, rightClick };
    struct Case {
        const char* what;
        Source source;
        POINT at; // in the label
        bool handle;
        int labelRequests, popups, formRequests;
    };
    const Case cases[] = {
        {"over the link", request, {5, 8}, false, 1, 1, 0},
        {"over the link, handled", request, {5, 8}, true, 1, 0, 0},
        {"beside the link", request, {250, 8}, false, 1, 0, 1},
        {"from the keyboard", keyboard, {}, false, 0, 0, 1},
        {"right-click over the link", rightClick, {5, 8}, false, 1, 1, 0},
        {"right-click beside the link", rightClick, {250, 8}, false, 1, 0, 1},
    };
    HWND wnd = panel->Handle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        handle = c.handle;
        labelRequests = popups = formRequests = 0;
        menu->PopupComponent = nullptr;
        const POINT o = label->OriginInWindow();
        POINT screen{o.x + c.at.x, o.y + c.at.y};
        ClientToScreen(wnd, &screen);
        const LPARAM client = MAKELPARAM(o.x + c.at.x, o.y + c.at.y);
        if (c.source == request)
            SendMessageW(wnd, WM_CONTEXTMENU, WPARAM(wnd), MAKELPARAM(screen.x, screen.y));
        else if (c.source == keyboard)
            SendMessageW(wnd, WM_CONTEXTMENU, WPARAM(wnd), MAKELPARAM(-1, -1));
        else {
            SendMessageW(wnd, WM_RBUTTONDOWN, MK_RBUTTON, client);
            SendMessageW(wnd, WM_RBUTTONUP, 0, client);
        }
        EXPECT_EQ(labelRequests, c.labelRequests);
        EXPECT_EQ(popups, c.popups);
        EXPECT_EQ(formRequests, c.formRequests);
        if (c.labelRequests) EXPECT_EQ(seen.x * 10000 + seen.y, screen.x * 10000 + screen.y);
        if (c.popups) EXPECT_EQ(menu->PopupComponent, label);
    }
    form->OnContextPopup = nullptr;
    owner.DestroyComponents();
}

// A 10 x 10 red bitmap whose bottom row is green.
HBITMAP RedWithGreenBottom() {
    WindowDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 10, 10);
    MemoryDC mem(screen.get());
    ScopedSelect select(mem.get(), bitmap);
    FillSolidRect(mem.get(), {0, 0, 10, 10}, RGB(255, 0, 0));
    FillSolidRect(mem.get(), {0, 9, 10, 10}, RGB(0, 255, 0));
    return bitmap;
}

TEST_F(RichLabelFixture, ImagesComeFromTheCallbackAndTransparentOnesSkipTheirKeyColour) {
    TRichLabel* label = MakeLabel(100, 40);
    int asked = 0;
    label->OnImageNeeded = [&](TObject* sender, const std::u16string& src,
                               std::unique_ptr<THTMLPicture>& image) {
        EXPECT_EQ(sender, label);
        ++asked;
        if (src == u"box") image = std::make_unique<THTMLBitmapPicture>(RedWithGreenBottom());
    };
    label->SetCaption(u"<img src=box><img src=box transparent=solid width=20 height=20>"
                      u"<img src=missing width=7>");
    EXPECT_EQ(asked, 3);
    THTMLData& d = *label->Render().Data();
    EXPECT_EQ(d.FArray.Items(2)->FWidth, 10);
    EXPECT_EQ(d.FArray.Items(3)->FHeight, 20);
    DibSurface s(100, 40);
    PaintInto(label, s, kWhite);
    EXPECT_EQ(asked, 3 + 3); // asked again for painting; nothing is cached
    // The transparent one is drawn from the line top: red rows, and its green row left out.
    EXPECT_EQ(s.Pixel(5, 0), RGB(255, 0, 0));
    EXPECT_EQ(s.Pixel(5, 9), kWhite);
    // The solid one is stretched to 20 x 20 with its bottom on the line's bottom.
    const int lineHeight = static_cast<THTMLBreakItem*>(d.FArray.Items(1))->FHeight;
    EXPECT_EQ(s.Pixel(11 + 10, lineHeight - 1), RGB(0, 255, 0));
    EXPECT_EQ(s.Pixel(11 + 10, lineHeight - 10), RGB(255, 0, 0));
}

TEST_F(RichLabelFixture, LinksSwitchContainerItems) {
    auto* container = TComponent::Create<THTMLContainer>(&owner);
    container->Add(u"start", u"<a href=more>more</a>");
    container->Add(u"more", u"second page");
    container->Add(u"", u"unnamed");
    EXPECT_EQ(container->Item(2).Name, u"HTMLSnip0");
    TRichLabel* label = MakeLabel(300, 40);
    label->SetContainer(container);
    EXPECT_EQ(label->PlainText(), u"more");
    std::u16string fired;
    label->OnLinkClick = [&](TObject*, const std::u16string& href) { fired = href; };
    label->LinkClick(u"more");
    EXPECT_EQ(label->ContainerIndex(), 1);
    EXPECT_EQ(label->PlainText(), u"second page");
    EXPECT_EQ(fired, u"");
    label->LinkClick(u"https://elsewhere.example/");
    EXPECT_EQ(fired, u"https://elsewhere.example/");
    container->SetCaption(1, u"changed");
    EXPECT_EQ(label->PlainText(), u"changed");
}

TEST_F(RichLabelFixture, DisabledHtmlLabelDrawsLightenedGreyText) {
    TRichLabel* label = MakeLabel(300, 30);
    label->SetCaption(u"Disabled <font color=red>text</font>");
    label->SetEnabled(false);
    DibSurface s(300, 30);
    PaintInto(label, s, kWhite);
    SaveArtefact(s, "disabled");
    const COLORREF expected = AdjustColorFrom(GetSysColor(COLOR_GRAYTEXT), 0);
    const int runEnd = label->Render().Data()->FArray.Items(2)->FWidth;
    // The darkest pixel of the grey run is the lightened grey; nothing is darker.
    int darkest = 3 * 255;
    COLORREF darkestColor = kWhite;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < runEnd; ++x) {
            const COLORREF c = s.Pixel(x, y);
            const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
            if (sum < darkest) darkest = sum, darkestColor = c;
        }
    EXPECT_EQ(darkestColor, expected);
    // A run inside a colour-setting font tag keeps its colour, lightened the same way.
    bool red = false;
    const COLORREF lightRed = AdjustColorFrom(RGB(255, 0, 0), 0);
    for (int y = 0; y < 30; ++y)
        for (int x = runEnd; x < 300; ++x)
            red |= s.Pixel(x, y) == lightRed;
    EXPECT_TRUE(red);
}

TEST_F(RichLabelFixture, EmptyPlainCaptionWithAutoSizeIsOneLineHigh) {
    TRichLabel* label = MakeLabel(100, 5);
    label->SetIsHTML(false);
    label->SetWordWrap(false);
    label->SetAutoSize(true);
    label->SetCaption(u"");
    EXPECT_EQ(label->Height(), MetricsOf(Verdana(-13)).tmHeight);
    EXPECT_GT(label->Width(), 0);
    label->SetBorderWidth(3);
    EXPECT_EQ(label->Height(), MetricsOf(Verdana(-13)).tmHeight + 6);
}

TEST_F(RichLabelFixture, AutoSizedHtmlLabelTakesItsTextSize) {
    TRichLabel* label = MakeLabel(100, 5);
    label->SetWordWrap(false);
    label->SetCaption(u"one<br>two lines");
    label->SetAutoSize(true);
    const TTextSize size = label->Render().Data()->FTextSize;
    EXPECT_EQ(label->Width(), size.cx);
    EXPECT_EQ(label->Height(), size.cy);
}

TEST_F(RichLabelFixture, PaintingAnEmptyListLeavesTheDestinationUnchanged) {
    THTMLGdiRender render;
    render.PrepareText(u"<b></b>", 100, true);
    DibSurface s(50, 20);
    s.Fill(RGB(1, 2, 3));
    render.DrawText(s.dc(), {0, 0}, {5, 5, 40, 15}, clNone);
    EXPECT_EQ(InkBox(s, {0, 0, 50, 20}, RGB(1, 2, 3)).right, 0);
    TRichLabel* label = MakeLabel(50, 20);
    PaintInto(label, s, RGB(1, 2, 3));
    EXPECT_EQ(InkBox(s, {0, 0, 50, 20}, RGB(1, 2, 3)).right, 0);
}

TEST_F(RichLabelFixture, ListsRulesAndInputsPaintTheirMarks) {
    TRichLabel* label = MakeLabel(200, 120);
    label->SetCaption(u"<ul><li>a</ul><hr><input type=checkbox checked=true>");
    DibSurface s(200, 120);
    PaintInto(label, s, kWhite);
    SaveArtefact(s, "marks");
    THTMLData& d = *label->Render().Data();
    const std::vector<Line> lines = Lines(d);
    // The bullet lies left of the entry's text.
    auto* entry = lines[2].brk;
    ASSERT_EQ(entry->FItemType, hitLI);
    int top = 0;
    for (int i = 0; i < 2; ++i)
        top += lines[i].brk->FHeight;
    const RECT bullet = InkBox(s, {0, top, entry->FIndent, top + entry->FHeight}, kWhite);
    EXPECT_LT(bullet.left, bullet.right);
    // It is as wide as an average character, five pixels left of its box.
    const int ave = MetricsOf(Verdana(-13)).tmAveCharWidth;
    EXPECT_NEAR(bullet.right - bullet.left, ave, 1);
    EXPECT_NEAR(bullet.right, entry->FIndent - 1 - 5, 1);
    // The rule is a sunken line: its top row in the shadow colour.
    bool shadow = false;
    for (int y = 0; y < 120; ++y)
        shadow |= s.Pixel(100, y) == ColorToRGB(clBtnShadow);
    EXPECT_TRUE(shadow);
}

TEST_F(RichLabelFixture, NoGdiObjectIsLeftBehindByRebuildsAndPaints) {
    TRichLabel* label = MakeLabel(300, 60);
    label->SetTransparent(false);
    label->SetColor(clWhite);
    DibSurface s(300, 60);
    auto cycle = [&](int i) {
        label->SetCaption(i % 2 ? u"<b>Schritt 1:</b><br><font size=22 color=red>x</font> <a "
                                  u"href=y>link</a><ul><li>z</ul><hr><input type=radio>"
                                : u"Free registration for <br><b>Lumvora</b>");
        label->SetEnabled(i % 3 != 0);
        PaintInto(label, s, kWhite);
    };
    cycle(0);
    cycle(1);
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 1000; ++i)
        cycle(i);
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
