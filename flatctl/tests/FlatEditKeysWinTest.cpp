// The flat edit's keyboard under Wine: keystrokes injected with SendInput go through the
// application's real message loop (translation, dialog navigation, undo, bookmarks); the
// dead-key sequence is sent as the WM_KEYDOWN / WM_DEADCHAR / WM_CHAR messages Windows
// produces for it, and input-method results come through the input-method manager.
#include <gtest/gtest.h>

#include "flatctl/tests/FlatEditFormFixture.h"
#include "framework/win32/StdCtrls.h"
#include "tests/support/WinTestSupport.h"
// after windows.h, which it needs
#include <imm.h>

namespace {

class FlatEditKeysFixture : public FlatEditFormFixture {
  protected:
    void SetUp() override {
        FlatEditFormFixture::SetUp();
        edit = AddEdit(126);
        edit->SetTabOrder(1);
        button = TComponent::Create<TButton>(form);
        button->SetParent(form);
        button->SetBounds(126, 100, 100, 25);
        button->SetCaption(u"Download");
        button->SetTabStop(true);
        button->SetTabOrder(2);
        ShowForm();
        edit->SetFocus();
        Pump(50);
    }
    void TypeDigits(const char* digits) {
        for (const char* d = digits; *d; ++d)
            Stroke(WORD(*d));
    }

    TFlatEdit* edit = nullptr;
    TButton* button = nullptr;
};

} // namespace

TEST_F(FlatEditKeysFixture, TypingEditingAndSelectingWithRealKeystrokes) {
    ASSERT_EQ(GetFocus(), edit->Handle());
    TypeDigits("1234567890");
    EXPECT_EQ(edit->Text(), u"1234567890");
    EXPECT_EQ(edit->CaretX(), 10);
    Stroke(VK_BACK);
    EXPECT_EQ(edit->Text(), u"123456789");
    Stroke(VK_HOME);
    Stroke(VK_DELETE);
    EXPECT_EQ(edit->Text(), u"23456789");
    Stroke(VK_END);
    Stroke(VK_LEFT);
    Stroke(VK_HOME, {VK_SHIFT});
    EXPECT_EQ(edit->SelText(), u"2345678");
    Stroke('A', {VK_CONTROL}); // selects all, types nothing
    EXPECT_EQ(edit->SelText(), u"23456789");
    Stroke('C', {VK_CONTROL});
    Stroke(VK_END);
    Stroke('V', {VK_CONTROL});
    EXPECT_EQ(edit->Text(), u"2345678923456789");
    Stroke('Z', {VK_CONTROL});
    EXPECT_EQ(edit->Text(), u"23456789");
}

TEST_F(FlatEditKeysFixture, EnterAndEscapeChangeNothingAndTabMovesTheFocus) {
    TypeDigits("42");
    Stroke(VK_LEFT);
    Stroke(VK_RETURN);
    Stroke(VK_ESCAPE);
    EXPECT_EQ(edit->Text(), u"42");
    EXPECT_EQ(edit->CaretX(), 1);
    EXPECT_EQ(GetFocus(), edit->Handle());
    Stroke(VK_TAB);
    EXPECT_EQ(GetFocus(), button->Handle());
    Stroke(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(edit->Text(), u"42");
}

TEST_F(FlatEditKeysFixture, DeadKeyThenLetterGivesTheComposedLetterOnce) {
    HWND wnd = edit->Handle();
    struct Case {
        const char* name;
        wchar_t dead;               // what WM_DEADCHAR reports for the dead key
        WORD key;                   // the key after it
        std::vector<wchar_t> chars; // the character messages after that key's key-down
        std::u16string result;
    };
    const Case cases[] = {
        {"composed by the platform", L'\u00B4', 'A', {L'\u00E1'}, u"\u00E1"},
        {"plain letter after the dead key", L'\u00B4', 'A', {L'a'}, u"\u00E1"},
        {"caron, plain letter", L'\u02C7', 'C', {L'c'}, u"\u010D"},
        {"space", L'\u00B4', VK_SPACE, {L'\u00B4'}, u"\u00B4"},
        {"non-combinable", L'\u00B4', 'X', {L'\u00B4', L'x'}, u"\u00B4x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit->SetText(u"");
        // The dead key (the acute key of a German layout, VK_OEM_6), then the next key.
        SendMessageW(wnd, WM_KEYDOWN, VK_OEM_6, 0x000D0001);
        SendMessageW(wnd, WM_DEADCHAR, c.dead, 0x000D0001);
        SendMessageW(wnd, WM_KEYUP, VK_OEM_6, 0xC00D0001);
        SendMessageW(wnd, WM_KEYDOWN, c.key, 0x001E0001);
        for (wchar_t ch : c.chars)
            SendMessageW(wnd, WM_CHAR, ch, 0x001E0001);
        SendMessageW(wnd, WM_KEYUP, c.key, 0xC01E0001);
        EXPECT_EQ(edit->Text(), c.result);
        EXPECT_EQ(edit->PendingDeadChar(), 0);
    }
    // An ordinary key afterwards is not touched by the dead key.
    Stroke('5');
    EXPECT_EQ(edit->Text(), u"\u00B4x5");
}

TEST_F(FlatEditKeysFixture, DialogCodeAndUnicodeCharacters) {
    const LRESULT code = SendMessageW(edit->Handle(), WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    EXPECT_TRUE(code & DLGC_HASSETSEL);
    EXPECT_FALSE(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
    edit->SetWantTabs(true);
    EXPECT_TRUE(SendMessageW(edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
    EXPECT_EQ(SendMessageW(edit->Handle(), WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
    SendMessageW(edit->Handle(), WM_UNICHAR, 0x1F600, 0);
    EXPECT_EQ(edit->Text(), u"\U0001F600");
}

TEST_F(FlatEditKeysFixture, ReadOnlyFieldKeepsItsTextAgainstUndoKeys) {
    TypeDigits("123");
    edit->SetReadOnly(true);
    Stroke('Z', {VK_CONTROL});
    Stroke(VK_BACK, {VK_MENU});
    EXPECT_EQ(edit->Text(), u"123");
    edit->SetReadOnly(false);
    Stroke('Z', {VK_CONTROL});
    EXPECT_EQ(edit->Text(), u"12");
}

TEST_F(FlatEditKeysFixture, GoingToAClearedBookmarkGoesToColumnZero) {
    TypeDigits("123456");
    Stroke(VK_LEFT);
    Stroke(VK_LEFT);
    Stroke('K', {VK_CONTROL});
    Stroke('1');
    Stroke(VK_END);
    Stroke('Q', {VK_CONTROL});
    Stroke('1');
    EXPECT_EQ(edit->CaretX(), 4);
    // Setting it again at the same place clears it.
    Stroke('K', {VK_CONTROL});
    Stroke('1');
    EXPECT_EQ(edit->Bookmark(1), (TEditPos{-1, -1}));
    Stroke(VK_END);
    Stroke('Q', {VK_CONTROL});
    Stroke('1');
    EXPECT_EQ(edit->CaretX(), 0);
    EXPECT_EQ(edit->Text(), u"123456");
}

TEST_F(FlatEditKeysFixture, SizeChangeMovesTheAnchorToTheCaret) {
    TypeDigits("12345");
    Stroke(VK_HOME, {VK_SHIFT});
    EXPECT_EQ(edit->SelText(), u"12345");
    edit->SetBounds(126, 50, 250, 24);
    Pump(50);
    EXPECT_EQ(edit->Anchor().X, 0);
    EXPECT_EQ(edit->CaretX(), 0);
    // Extending now starts from the caret, not from the end of the old selection.
    Stroke(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(edit->SelText(), u"1");
}

// The input method's result, as the platform's input-method manager delivers it: a
// composition string set on the edit's context, then completed.
TEST_F(FlatEditKeysFixture, InputMethodResultIsInsertedOnceWithinTheFieldsRules) {
    HWND wnd = edit->Handle();
    auto compose = [&](const std::wstring& text) {
        HIMC imc = ImmGetContext(wnd);
        ASSERT_TRUE(imc);
        ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<wchar_t*>(text.c_str()),
                                 DWORD(text.size() * sizeof(wchar_t)), nullptr, 0);
        Pump(30);
        // The composition window starts at the caret, inside the text rectangle.
        COMPOSITIONFORM form{};
        ImmGetCompositionWindow(imc, &form);
        const TPoint caret = edit->PosFromCaret(edit->CaretX(), 0);
        EXPECT_EQ(form.ptCurrentPos.x, caret.X);
        EXPECT_EQ(form.rcArea.right, edit->TextRect().Right);
        ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(wnd, imc);
        Pump(30);
    };
    TypeDigits("12");
    compose(L"\u65E5\u672C");
    EXPECT_EQ(edit->Text(), u"12\u65E5\u672C");
    EXPECT_EQ(edit->CaretX(), 4);
    Stroke('Z', {VK_CONTROL}); // one undo step
    EXPECT_EQ(edit->Text(), u"12");

    edit->SetMaxLength(3);
    compose(L"\u65E5\u672C");
    EXPECT_EQ(edit->Text(), u"12\u65E5");
    compose(L"\u672C"); // full
    EXPECT_EQ(edit->Text(), u"12\u65E5");
    Stroke(VK_HOME, {VK_SHIFT});
    compose(L"\u672C\u65E5\u672C\u65E5"); // over the selection, as much as fits
    EXPECT_EQ(edit->Text(), u"\u672C\u65E5\u672C");

    edit->SetReadOnly(true);
    Stroke(VK_HOME, {VK_SHIFT});
    compose(L"x");
    EXPECT_EQ(edit->Text(), u"\u672C\u65E5\u672C");
}
