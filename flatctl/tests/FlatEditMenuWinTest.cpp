// The flat edit's context menu as a user meets it, in the system's language: opened with the
// right mouse button or the keyboard, read while it is up (captions, identifiers, greyed
// entries), and entries chosen by their accelerators; a menu of the program's own in its
// place. CTest runs this program once in English and once in German.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "flatctl/tests/FlatEditFormFixture.h"
#include "tests/support/WinTestSupport.h"

namespace {

bool SystemIsGerman() {
    return PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_GERMAN;
}

// The captions of the platform's edit menu, by position (separators empty).
std::vector<std::wstring> PlatformCaptions() {
    if (SystemIsGerman())
        return {L"&R\u00fcckg\u00e4ngig", L"", L"&Ausschneiden",   L"&Kopieren", L"E&inf\u00fcgen",
                L"&L\u00f6schen",         L"", L"Alles &markieren"};
    return {L"&Undo", L"", L"Cu&t", L"&Copy", L"&Paste", L"&Delete", L"", L"Select &All"};
}

const std::vector<UINT> kIds{emUndo, 0, emCut, emCopy, emPaste, emDelete, 0, emSelectAll};
enum { kUndo = 0, kCut = 2, kCopy = 3, kPaste = 4, kDelete = 5, kSelectAll = 7 };

// The key that chooses an entry: the letter after its '&'.
WORD AcceleratorKey(const std::wstring& caption) {
    const std::size_t amp = caption.find(L'&');
    return amp + 1 < caption.size() ? WORD(towupper(caption[amp + 1])) : 0;
}

std::vector<std::wstring> Captions(const std::vector<TShownMenuItem>& items) {
    std::vector<std::wstring> c;
    for (const auto& i : items)
        c.push_back(i.Caption);
    return c;
}
std::vector<UINT> Ids(const std::vector<TShownMenuItem>& items) {
    std::vector<UINT> ids;
    for (const auto& i : items)
        ids.push_back(i.Id);
    return ids;
}
// Positions of the greyed command entries.
std::vector<int> Grayed(const std::vector<TShownMenuItem>& items) {
    std::vector<int> g;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].Grayed && items[i].Id) g.push_back(int(i));
    return g;
}

// An edit whose platform offers no edit menu: the menu comes from a module without menus.
class TEditWithoutPlatformMenu : public TFlatEdit {
  public:
    using TFlatEdit::TFlatEdit;

  protected:
    HMODULE SystemMenuModule() const override { return GetModuleHandleW(nullptr); }
};

class FlatEditMenuFixture : public FlatEditFormFixture {
  protected:
    void TearDown() override {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    template <class Edit> Edit* Show(const std::u16string& text) {
        auto* e = AddEdit<Edit>(126);
        ShowForm();
        e->SetFocus();
        e->SetText(text);
        Pump(50);
        return e;
    }
    // Right-clicks the middle of the edit and waits for the menu to be read (and answered).
    void RightClick(TFlatEdit* e, MenuProbe& probe) {
        RECT r;
        GetWindowRect(e->Handle(), &r);
        SendClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 1, true);
        for (int i = 0; i < 50 && !probe.Seen(); ++i)
            Pump(20);
        Pump(60);
    }
    void KeyboardMenu(MenuProbe& probe) {
        SendKey(VK_APPS);
        for (int i = 0; i < 50 && !probe.Seen(); ++i)
            Pump(20);
        Pump(60);
    }
};

} // namespace

TEST(SystemLanguage, IsTheOneThisRunAskedFor) {
    const char* want = std::getenv("LV_TEST_LANGUAGE");
    if (!want) GTEST_SKIP() << "run without a chosen language";
    EXPECT_EQ(SystemIsGerman(), std::string(want) == "de")
        << "system language " << std::hex << GetSystemDefaultLangID();
}

TEST_F(FlatEditMenuFixture, RightClickShowsThePlatformMenuInTheSystemLanguage) {
    TFlatEdit* edit = Show<TFlatEdit>(u"abc");
    const std::vector<std::wstring> captions = PlatformCaptions();
    {
        MenuProbe probe;
        RightClick(edit, probe);
        ASSERT_TRUE(probe.Seen());
        EXPECT_EQ(Captions(probe.Items), captions);
        EXPECT_EQ(Ids(probe.Items), kIds);
        // Nothing to undo, nothing selected, no text on the clipboard.
        EXPECT_EQ(Grayed(probe.Items), (std::vector<int>{kUndo, kCut, kCopy, kPaste, kDelete}));
    }
    Stroke('A', {VK_CONTROL});
    Stroke('C', {VK_CONTROL});
    {
        // All selected and copied: Delete chosen by its accelerator.
        MenuProbe probe(AcceleratorKey(captions[kDelete]));
        RightClick(edit, probe);
        ASSERT_TRUE(probe.Seen());
        EXPECT_EQ(Grayed(probe.Items), (std::vector<int>{kUndo, kSelectAll}));
        EXPECT_EQ(edit->Text(), u"");
    }
    {
        // Undo, under the platform's own identifier for it, restores the text.
        MenuProbe probe(AcceleratorKey(captions[kUndo]));
        RightClick(edit, probe);
        ASSERT_TRUE(probe.Seen());
        EXPECT_EQ(Grayed(probe.Items), (std::vector<int>{kCut, kCopy, kDelete, kSelectAll}));
        EXPECT_EQ(edit->Text(), u"abc");
    }
}

TEST_F(FlatEditMenuFixture, BuiltInEntriesInTheSystemLanguageWhereThePlatformHasNone) {
    TFlatEdit* edit = Show<TEditWithoutPlatformMenu>(u"abc");
    ASSERT_FALSE(LoadPlatformEditMenu(GetModuleHandleW(nullptr)));
    const std::vector<std::wstring> captions = PlatformCaptions();
    MenuProbe probe(AcceleratorKey(captions[kSelectAll]));
    KeyboardMenu(probe);
    ASSERT_TRUE(probe.Seen());
    EXPECT_EQ(Captions(probe.Items), captions);
    EXPECT_EQ(Ids(probe.Items), kIds);
    EXPECT_EQ(Grayed(probe.Items), (std::vector<int>{kUndo, kCut, kCopy, kPaste, kDelete}));
    POINT origin{0, 0};
    ClientToScreen(edit->Handle(), &origin);
    EXPECT_EQ(probe.Rect.left, origin.x);
    EXPECT_EQ(probe.Rect.top, origin.y);
    EXPECT_EQ(edit->SelText(), u"abc");
}

TEST_F(FlatEditMenuFixture, LocalizedSystemMenuShowsTheEditsOwnCaptions) {
    TFlatEdit* edit = Show<TFlatEdit>(u"abc");
    edit->SetLocalizedSystemMenu(true);
    MenuProbe probe;
    KeyboardMenu(probe);
    ASSERT_TRUE(probe.Seen());
    EXPECT_EQ(Captions(probe.Items),
              (std::vector<std::wstring>{L"&Undo", L"", L"Cu&t", L"&Copy", L"&Paste", L"&Delete",
                                         L"", L"&Select All"}));
    EXPECT_EQ(Ids(probe.Items), kIds);
}

TEST_F(FlatEditMenuFixture, AssignedPopupMenuTakesThePlaceOfTheEditMenu) {
    TFlatEdit* edit = Show<TFlatEdit>(u"abc");
    auto menuOwner = std::make_unique<TComponent>(nullptr);
    auto* menu = TComponent::Create<TPopupMenu>(menuOwner.get());
    int clicks = 0;
    menu->Items = {{u"&First", nullptr}, {u"&Second", [&](TObject*) { ++clicks; }}};
    edit->SetPopupMenu(menu);
    {
        MenuProbe probe('S');
        RightClick(edit, probe);
        ASSERT_TRUE(probe.Seen());
        EXPECT_EQ(Captions(probe.Items), (std::vector<std::wstring>{L"&First", L"&Second"}));
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(menu->PopupComponent, edit);
    }
    {
        // Not popping up by itself: no menu at all.
        menu->AutoPopup = false;
        MenuProbe probe;
        RightClick(edit, probe);
        EXPECT_FALSE(probe.Seen());
    }
    {
        // Once the menu is gone the edit menu is back.
        menuOwner.reset();
        EXPECT_EQ(edit->PopupMenu(), nullptr);
        MenuProbe probe;
        RightClick(edit, probe);
        ASSERT_TRUE(probe.Seen());
        EXPECT_EQ(Captions(probe.Items), PlatformCaptions());
    }
}
