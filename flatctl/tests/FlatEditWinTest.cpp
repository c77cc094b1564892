// The flat edit under Wine: the assistant's field (frame rings, client area), sides without a
// top frame, scrolling while typing, the password rule of WM_GETTEXT, the clipboard in both
// formats, the context menu, the mouse, height from the font, and GDI hygiene.
#include <gtest/gtest.h>

#include <string>

#include "flatctl/core/EditCommands.h"
#include "flatctl/tests/RealInput.h"
#include "flatctl/win32/FlatEdit.h"
#include "framework/win32/Application.h"
#include "framework/win32/Form.h"
#include "framework/win32/WinText.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr TColor kBlue = 0x00BB6F00;

class FlatEditFixture : public testing::Test {
  protected:
    void SetUp() override {
        form = TComponent::Create<TForm>(&app);
        form->SetBorderStyle(bsDialog);
        form->SetColor(clWhite);
        form->Font().Assign(TFontDesc{u"Verdana", -13});
        form->SetClientSize(445, 200);
        edit = TComponent::Create<TFlatEdit>(form);
        edit->SetParent(form);
        // The layout's 193 x 24 whatever the test font's height (the height rule has its
        // own test).
        edit->SetAutoSize(false);
        edit->SetBounds(126, 50, 193, 24);
        edit->SetFlat(true);
        edit->SetThemeMode(ttmNone);
        edit->SetBorderColorDkShadow(clWhite);
        edit->SetBorderColorFace(clWhite);
        edit->SetBorderColorShadow(kBlue);
        edit->SetBorderColorHighlight(kBlue);
        edit->SetBorderColorWindow(kBlue);
        edit->SetTabOrder(1);
        form->Show();
        PumpFor(100);
    }
    void TearDown() override {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }

    HWND Wnd() { return edit->Handle(); }
    void Type(const std::u16string& text) {
        for (char16_t c : text)
            SendMessageW(Wnd(), WM_CHAR, c, 1);
    }
    // The whole window, frame included, as it is on the screen.
    void CaptureWindow(DibSurface& s) {
        RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        PumpFor(50);
        edit->DrawFrame();
        HDC dc = GetWindowDC(Wnd());
        BitBlt(s.dc(), 0, 0, s.width(), s.height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(Wnd(), dc);
    }
    // The first pixel of the frame rings that differs from what the field should show.
    std::string CheckRings(const DibSurface& s) {
        const int w = s.width(), h = s.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool outer = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                const bool inner = !outer && (x == 1 || y == 1 || x == w - 2 || y == h - 2);
                if (!outer && !inner) continue;
                const COLORREF want = outer ? kBlue : clWhite;
                if (s.Pixel(x, y) != want)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y);
            }
        return "";
    }

    TApplication app;
    TForm* form = nullptr;
    TFlatEdit* edit = nullptr;
};

} // namespace

TEST_F(FlatEditFixture, FieldHasTwoPixelFlatFrameInBothStates) {
    RECT window, client;
    GetWindowRect(Wnd(), &window);
    GetClientRect(Wnd(), &client);
    POINT origin{0, 0};
    ClientToScreen(Wnd(), &origin);
    EXPECT_EQ(window.right - window.left, 193);
    EXPECT_EQ(window.bottom - window.top, 24);
    EXPECT_EQ(client.right, 189);
    EXPECT_EQ(client.bottom, 20);
    EXPECT_EQ(origin.x - window.left, 2);
    EXPECT_EQ(origin.y - window.top, 2);
    EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    DibSurface s(193, 24);
    form->SetActiveControl(nullptr);
    SetFocus(form->Handle());
    PumpFor(50);
    ASSERT_FALSE(edit->Focused());
    CaptureWindow(s);
    EXPECT_EQ(CheckRings(s), "") << "inactive";
    EXPECT_EQ(s.Pixel(100, 12), clWhite); // the empty client area

    edit->SetFocus();
    PumpFor(50);
    ASSERT_TRUE(edit->Focused());
    SendMessageW(Wnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(edit->MouseOver());
    CaptureWindow(s);
    EXPECT_EQ(CheckRings(s), "") << "active";
}

// The pointer's arrival and departure reach the edit as they reach every control: through the
// virtual methods, which a derived control can extend, and then the events.
TEST_F(FlatEditFixture, PointerEnterAndLeaveRunTheVirtualMethodsAndTheEvents) {
    struct HoverEdit : TFlatEdit {
        using TFlatEdit::TFlatEdit;
        int Enters = 0, Leaves = 0;
        void MouseEnter() override {
            ++Enters;
            TFlatEdit::MouseEnter();
        }
        void MouseLeave() override {
            ++Leaves;
            TFlatEdit::MouseLeave();
        }
    };
    auto* hover = TComponent::Create<HoverEdit>(form);
    hover->SetParent(form);
    hover->SetBounds(126, 100, 193, 24);
    PumpFor(50);
    int events = 0;
    hover->OnMouseEnter = [&](TObject*) { ++events; };
    hover->OnMouseLeave = [&](TObject*) { events += 10; };
    const HWND wnd = hover->Handle();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(hover->Enters, 1);
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(hover->MouseOver());
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(hover->Leaves, 1);
    EXPECT_EQ(events, 11);
    EXPECT_FALSE(hover->MouseOver());
}

TEST_F(FlatEditFixture, WithoutTopSideTheClientStartsAtTheTopRow) {
    edit->SetBorderSides(ebsLeft | ebsRight | ebsBottom);
    PumpFor(50);
    RECT window, client;
    GetWindowRect(Wnd(), &window);
    GetClientRect(Wnd(), &client);
    POINT origin{0, 0};
    ClientToScreen(Wnd(), &origin);
    EXPECT_EQ(origin.y, window.top);
    EXPECT_EQ(origin.x - window.left, 2);
    EXPECT_EQ(client.bottom, 22);
    DibSurface s(193, 24);
    CaptureWindow(s);
    EXPECT_EQ(s.Pixel(0, 0), kBlue);     // the left line starts at the top row
    EXPECT_EQ(s.Pixel(100, 0), clWhite); // no top line: the background
    EXPECT_EQ(s.Pixel(100, 23), kBlue);
}

TEST_F(FlatEditFixture, TypingScrollsInStepsAndHomeShowsTheStart) {
    edit->SetFocus();
    PumpFor(50);
    TTextPainter& painter = edit->Painter();
    const int w = edit->VisibleWidth();
    EXPECT_EQ(w, 187);
    int jumps = 0;
    for (int i = 0; i < 40; ++i) {
        const int before = edit->LeftChar();
        Type(u"8");
        const std::u16string text = edit->Text();
        const int fit = painter.CharsFitRight(w, text, edit->LeftChar());
        ASSERT_LE(edit->CaretX(), edit->LeftChar() + fit) << "caret out of view at " << i;
        if (edit->LeftChar() != before) {
            ++jumps;
            // About three quarters of the width lies left of the caret.
            const int left = painter.DisplayWidth(text.substr(
                std::size_t(edit->LeftChar()), std::size_t(edit->CaretX() - edit->LeftChar())));
            EXPECT_LE(left, (w / 4) * 3);
            EXPECT_GT(left, (w / 4) * 3 - 10);
        }
        POINT caret;
        GetCaretPos(&caret);
        EXPECT_GE(caret.x, 0);
        EXPECT_LE(caret.x, 188);
    }
    EXPECT_EQ(edit->TextLength(), 40);
    EXPECT_GE(jumps, 1);
    EXPECT_GT(edit->LeftChar(), 0);
    edit->CommandCenter(ecLineStart, 0, {});
    EXPECT_EQ(edit->LeftChar(), 0);
    EXPECT_EQ(edit->CaretX(), 0);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 1);
}

TEST_F(FlatEditFixture, GetTextFollowsThePasswordRule) {
    Type(u"1234567890");
    wchar_t buffer[32] = L"x";
    EXPECT_EQ(SendMessageW(Wnd(), WM_GETTEXT, 32, LPARAM(buffer)), 10);
    EXPECT_STREQ(buffer, L"1234567890");
    EXPECT_EQ(SendMessageW(Wnd(), WM_GETTEXT, 5, LPARAM(buffer)), 4);
    EXPECT_STREQ(buffer, L"1234");
    EXPECT_EQ(SendMessageW(Wnd(), WM_GETTEXT, 0, LPARAM(buffer)), 0);
    EXPECT_EQ(SendMessageW(Wnd(), WM_GETTEXTLENGTH, 0, 0), 10);
    edit->SetPasswordText(u"*");
    EXPECT_EQ(SendMessageW(Wnd(), WM_GETTEXT, 32, LPARAM(buffer)), 0);
    EXPECT_EQ(edit->Text(), u"1234567890");
    EXPECT_EQ(edit->DisplayRow(0), u"**********");
    SendMessageW(Wnd(), WM_SETTEXT, 0, LPARAM(L"new"));
    EXPECT_EQ(edit->Text(), u"new");
}

TEST_F(FlatEditFixture, ClipboardRoundTripInBothFormats) {
    edit->SetText(u"Gr\u00fc\u00dfe 42");
    SendMessageW(Wnd(), EM_SETSEL, 0, -1);
    SendMessageW(Wnd(), WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    HANDLE ansi = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(wide && ansi);
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(wide)), L"Gr\u00fc\u00dfe 42");
    GlobalUnlock(wide);
    const std::string expectedAnsi = WideToAnsi(u"Gr\u00fc\u00dfe 42");
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(ansi))), expectedAnsi);
    GlobalUnlock(ansi);
    // Only 8-bit text on the clipboard: pasted through the ANSI code page.
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(mem), "ab cd", 6);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    SendMessageW(Wnd(), EM_SETSEL, 2, 5); // "\u00fc\u00dfe"
    SendMessageW(Wnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), u"Grab cd 42");
    SendMessageW(Wnd(), EM_SETSEL, 0, 2);
    SendMessageW(Wnd(), WM_CUT, 0, 0);
    EXPECT_EQ(edit->Text(), u"ab cd 42");
    SendMessageW(Wnd(), EM_SETSEL, -1, 0);
    SendMessageW(Wnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), u"Grab cd 42");
    DWORD start = 0, end = 0;
    SendMessageW(Wnd(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
}

TEST_F(FlatEditFixture, KeyboardContextMenuOpensAtTheTopLeftWithPasteGreyed) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    edit->SetText(u"abc");
    edit->SetFocus();
    PumpFor(50);
    POINT origin{0, 0};
    ClientToScreen(Wnd(), &origin);
    MenuProbe probe;
    SendMessageW(Wnd(), WM_CONTEXTMENU, WPARAM(Wnd()), MAKELPARAM(-1, -1));
    ASSERT_TRUE(probe.Seen());
    EXPECT_EQ(probe.Rect.left, origin.x);
    EXPECT_EQ(probe.Rect.top, origin.y);
    // Six entries and two separators (resource 1 of the platform's menu has more before the
    // edit removes what it does not offer).
    ASSERT_EQ(probe.Items.size(), 8u);
    EXPECT_TRUE(probe.Items[4].Grayed);  // Paste
    EXPECT_TRUE(probe.Items[2].Grayed);  // Cut: nothing selected
    EXPECT_FALSE(probe.Items[7].Grayed); // Select All: the selection is not the whole text

    // The entries' commands.
    SendMessageW(Wnd(), WM_COMMAND, emSelectAll, 0);
    EXPECT_EQ(edit->SelText(), u"abc");
    TEditContextMenu menu = edit->CreateContextMenu();
    EXPECT_TRUE(GetMenuState(menu.Popup, emSelectAll, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu.Popup, emCopy, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageW(Wnd(), WM_COMMAND, emCopy, 0);
    SendMessageW(Wnd(), WM_COMMAND, emDelete, 0);
    EXPECT_EQ(edit->Text(), u"");
    menu = edit->CreateContextMenu();
    EXPECT_FALSE(GetMenuState(menu.Popup, emPaste, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu.Popup, emUndo, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageW(Wnd(), WM_COMMAND, emPaste, 0);
    EXPECT_EQ(edit->Text(), u"abc");
    SendMessageW(Wnd(), WM_COMMAND, emUndo, 0);
    EXPECT_EQ(edit->Text(), u"");
}

TEST_F(FlatEditFixture, MouseClicksPlaceTheCaretAndSelectWordsAndAll) {
    edit->SetText(u"abc def");
    auto press = [&](UINT msg, int x) {
        SendMessageW(Wnd(), msg, MK_LBUTTON, MAKELPARAM(x, 8));
        SendMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
    };
    const TPoint b = edit->PosFromCaret(1, 0); // between 'a' and 'b'
    press(WM_LBUTTONDOWN, b.X);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->CaretX(), 1);
    EXPECT_FALSE(edit->Selected());
    press(WM_LBUTTONDBLCLK, b.X);
    EXPECT_EQ(edit->SelText(), u"abc ");
    press(WM_LBUTTONDOWN, b.X); // the third press within the double-click time
    EXPECT_EQ(edit->SelText(), u"abc def");
    // Drag-select with capture: from column 1 to past the right edge.
    Sleep(GetDoubleClickTime() + 50);
    SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(b.X, 8));
    EXPECT_EQ(GetCapture(), Wnd());
    SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 8));
    SendMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(400, 8));
    EXPECT_NE(GetCapture(), Wnd());
    EXPECT_EQ(edit->SelText(), u"bc def");
}

TEST_F(FlatEditFixture, HeightFollowsTheFont) {
    auto tmHeight = [](int height) {
        FontHandle font = CreateFontFromDesc(TFontDesc{u"Verdana", height});
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.get());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return int(tm.tmHeight);
    };
    edit->SetAutoSize(true);
    EXPECT_EQ(edit->Height(), tmHeight(-13) + 8);
    RECT client;
    GetClientRect(Wnd(), &client);
    EXPECT_EQ(client.bottom, edit->Height() - 4);
    edit->Font().SetHeight(-20);
    EXPECT_EQ(edit->Height(), tmHeight(-20) + 8);
    RECT r;
    GetWindowRect(Wnd(), &r);
    EXPECT_EQ(r.bottom - r.top, tmHeight(-20) + 8);
    EXPECT_EQ(edit->LineHeight(), 22);
}

TEST_F(FlatEditFixture, NoGdiObjectLeftBehindAfterAThousandPaints) {
    auto paints = [&](int n) {
        RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const int before = CountGdiObjects();
        for (int i = 0; i < n; ++i)
            RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        return CountGdiObjects() - before;
    };
    ASSERT_GT(CountGdiObjects(), 0);
    // Focused, with text and a selection.
    edit->SetText(u"some text to paint");
    edit->SetFocus();
    SendMessageW(Wnd(), EM_SETSEL, 2, 9);
    EXPECT_EQ(paints(500), 0);
    // Unfocused and empty: the cue banner.
    edit->SetCueBanner(u"hint");
    edit->SetText(u"");
    SetFocus(form->Handle());
    EXPECT_EQ(paints(500), 0);
}

// With the platform's theme mode the edit leaves its frame to the platform where visual
// styles are active (Wine reports them active), and draws its flat frame where they are not.
TEST_F(FlatEditFixture, PlatformThemeModeUsesThePlatformFrameOrFallsBackToTheFlatOne) {
    edit->SetThemeMode(ttmPlatform);
    PumpFor(50);
    RECT client;
    GetClientRect(Wnd(), &client);
    const bool clientEdge = GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
    if (edit->Themed()) {
        EXPECT_TRUE(clientEdge);
        EXPECT_EQ(client.right, 193 - 2 * GetSystemMetrics(SM_CXEDGE));
    } else {
        EXPECT_FALSE(clientEdge);
        EXPECT_EQ(client.right, 189);
        DibSurface s(193, 24);
        CaptureWindow(s);
        EXPECT_EQ(CheckRings(s), "");
    }
    // Back to no theme: the flat frame again.
    edit->SetThemeMode(ttmNone);
    PumpFor(50);
    GetClientRect(Wnd(), &client);
    EXPECT_EQ(client.right, 189);
    EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    DibSurface s(193, 24);
    CaptureWindow(s);
    EXPECT_EQ(CheckRings(s), "");
}
