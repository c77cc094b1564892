// The markup reader: the window's captions, the character scan and references, tags and
// attributes, the formatting state, callbacks and failure handling.
#include <gtest/gtest.h>

#include "richlabel/core/HtmlText.h"
#include "richlabel/tests/HtmlTestSupport.h"

namespace {

struct ItemsCase {
    const char* what;
    std::u16string text;
    std::string items;
};

class ParserItems : public RenderHelper, public ::testing::TestWithParam<ItemsCase> {};

TEST_P(ParserItems, GivesTheListedItems) {
    EXPECT_EQ(Items(GetParam().text), GetParam().items) << GetParam().what;
}

const ItemsCase kItemCases[] = {
    {"step caption",
     u"<B><U>Schritt 1:</U></B><br><br>Klicken Sie den folgenden Link und registrieren Sie sich:",
     "P 'Schritt 1:'bu B B 'Klicken Sie den folgenden Link und registrieren Sie sich:'"},
    {"english header",
     u"Free registration for <br><b><font size=22>Lumvora</font> (full version)</b>",
     "P 'Free registration for ' B 'Lumvora'b@22 ' (full version)'b"},
    {"german header, mis-nested closing tags",
     u"Kostenlose Registrierung für die <br><b>Vollversion von <font size=22>Lumvora</b></font>",
     "P 'Kostenlose Registrierung für die ' B 'Vollversion von 'b 'Lumvora'b@22"},
    {"empty caption", u"", ""},
    {"only tags that add nothing", u"<b></b><font color=red></font><html></html>", ""},
    {"space folding", u"a  b", "P 'a b'"},
    {"space reference folds like a space", u"a &#32; b", "P 'a b'"},
    {"nbsp is a plain space that does not fold", u"a&nbsp;&nbsp;b", "P 'a  b'"},
    {"leading space of a new run is kept", u"a <b> b</b>", "P 'a ' ' b'b"},
    {"numeric references", u"&#65;&#x42;&#$43;&#0;&#zz;x", "P 'ABC x'"},
    {"named reference: a capital letter's name, other capitalisations", u"&auml;&Auml;&AUML;",
     "P 'äÄä'"},
    {"unknown named reference vanishes", u"x&foo;y", "P 'xy'"},
    {"& without a later ; is a character", u"AT&T rocks", "P 'AT&T rocks'"},
    {"& reaches a later ;", u"AT&T rocks; really", "P 'AT really'"},
    {"& before a space", u"a & b", "P 'a & b'"},
    {"& at the end", u"a&", "P 'a&'"},
    {"CR LF and CR dropped, LF kept", u"a\r\nb\rc\nd", "P 'abc\nd'"},
    {"<br/> is an unknown tag", u"a<br/>b", "P 'ab'"},
    {"<br /> is a line break", u"a<br />b", "P 'a' B 'b'"},
    {"comment", u"<!-- note -->x", "P 'x'"},
    {"comment without end", u"x<!-- note", "P 'x'"},
    {"'<' that is no tag swallows up to '>'", u"a < b > c", "P 'a c'"},
    {"unterminated tag ends the text", u"a<b", "P 'a'"},
    {"style flags are not counted", u"<b><b>x</b>y</b>", "P 'x'b 'y'"},
    {"font and style close in either order", u"<b><font size=22>X</b></font>Y", "P 'X'b@22 'Y'"},
    {"var and cite", u"<var>v</var><cite>c</cite>", "P 'v'bi 'c'bi"},
    {"strikeout", u"<s>x</s><strikeout>y</strikeout>", "P 'x's 'y's"},
    {"sub and sup", u"x<sup>2</sup><sub>3</sub>", "P 'x' '2'^ '3'_"},
    {"closing font with empty stack only splits", u"a</font>b", "P 'a' 'b'"},
    {"size step", u"<font size=3>x", "P 'x'@-26"},
    {"size in pixels", u"<font size=3px>x", "P 'x'@3"},
    {"cell height", u"<font size=22>x", "P 'x'@22"},
    {"relative size in points", u"<font size=+2>x<font size=-2>y", "P 'x'@-14 'y'@-8"},
    {"size that is not a number", u"<font size=big>x", "P 'x'"},
    {"spaces around '=' make unusable tokens", u"<font size = 22>x", "P 'x'"},
    {"link", u"go <a href=\"x y\">here</a> now", "P 'go ' 'here'u#x y ' now'"},
    {"link without attributes", u"<a>x</a>", "P 'x'"},
    {"rule", u"a<hr width=50>b", "P 'a' B H B 'b'"},
    {"gap", u"a<ind width=20>b<ind>c", "P 'a' G 'bc'"},
    {"image without a picture", u"<img src=x.bmp>", "P I"},
    {"input", u"<input type=checkbox name=A>t", "P X 't'"},
    {"input of another type", u"<input type=text>t", "P 't'"},
    {"control", u"<control vclclass=tbutton caption=Go>", "P C"},
    {"control of an unknown class", u"<control vclclass=TMemo>", ""},
    {"variable without callback", u"<~~name>", "P V'~~' ' '"},
    {"paragraphs", u"a<p>b</p>c", "P 'a' P 'b' P 'c'"},
    {"list", u"<ul><li>a<li>b</ul>c", "P U L 'a' L 'b' B 'c'"},
    {"empty line before a list goes", u"a<br><ul><li>b</ul>", "P 'a' U L 'b' B"},
    {"unknown tags", u"<!doctype html><html>a</html><blink>b", "P 'ab'"},
    {"failing input state clears everything", u"a<input type=checkbox checked=maybe>b", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, ParserItems, ::testing::ValuesIn(kItemCases));

struct ColorCase {
    std::u16string text;
    TColor color;
    TColor bg;
};

class ParserColors : public RenderHelper, public ::testing::TestWithParam<ColorCase> {};

TEST_P(ParserColors, SetsTheRunColours) {
    Parse(GetParam().text);
    THTMLItem* x = FindRun(u"x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->FontColor, GetParam().color) << ToUtf8(GetParam().text);
    EXPECT_EQ(x->FontBgColor, GetParam().bg) << ToUtf8(GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParserColors,
    ::testing::Values(ColorCase{u"<font color=red>x", 0x0000FF, clNone},
                      ColorCase{u"<font color=clRed>x", 0x0000FF, clNone},
                      ColorCase{u"<font color=CLRED>x", clWindowText, clNone},
                      ColorCase{u"<font color=#0000FF>x", 0xFF0000, clNone},
                      ColorCase{u"<font color=\"#FF0000\">x", 0x0000FF, clNone},
                      ColorCase{u"<font color=#F00>x", 0x000F00, clNone},
                      ColorCase{u"<font color=red><font color=#zz>x", clWindowText, clNone},
                      ColorCase{u"<font color=moneygreen>x", 0xC0DCC0, clNone},
                      ColorCase{u"<font color=btnface>x", clBtnFace, clNone},
                      ColorCase{u"<font color=red color=blue>x", 0x0000FF, clNone},
                      ColorCase{u"<font bgcolor=yellow>x", clWindowText, 0x00FFFF},
                      ColorCase{u"<font background=#00FF00>x", clWindowText, 0x00FF00},
                      ColorCase{u"<font bgcolor=aqua background=red>x", clWindowText, 0xFFFF00},
                      ColorCase{u"<font bgcolor=red><font bgcolor=#q>x", clWindowText, clNone},
                      ColorCase{u"<font color=red>a</font>x", clWindowText, clNone}));

// Latin-1 names are looked up as written first (a capital letter's name gives the capital),
// then in lower case (a listed name answers in any capitalisation); unknown names vanish.
TEST_F(RenderFixture, NamedReferencesKeepCapitalLettersAndTheWholeLatin1Set) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"&uuml;&Uuml;&UUML;&uUml;", u"üÜüü"},
        {u"&Auml;&Ouml;&Uuml;&auml;&ouml;&uuml;&szlig;", u"ÄÖÜäöüß"},
        {u"&ucirc;&yacute;&thorn;&yuml;", u"ûýþÿ"},
        {u"&Agrave;&Aacute;&Acirc;&Atilde;&Aring;&AElig;&Ccedil;", u"ÀÁÂÃÅÆÇ"},
        {u"&Egrave;&Eacute;&Ecirc;&Euml;&Igrave;&Iacute;&Icirc;&Iuml;", u"ÈÉÊËÌÍÎÏ"},
        {u"&ETH;&Ntilde;&Ograve;&Oacute;&Ocirc;&Otilde;&Oslash;", u"ÐÑÒÓÔÕØ"},
        {u"&Ugrave;&Uacute;&Ucirc;&Yacute;&THORN;", u"ÙÚÛÝÞ"},
        {u"&AELIG;&Eth;&Thorn;&Yuml;", u"æðþÿ"}, // no capital of that spelling: lower case
        {u"&QUOT;&Amp;&SZLIG;&Euro;&TRADE;", u"\"&ß€™"},
        {u"x&Foo;&UUMLX;y", u"xy"},
    };
    for (const auto& [text, shown] : cases) {
        std::u16string plain;
        Parse(text);
        render.AsText(plain);
        EXPECT_EQ(ToUtf8(plain), ToUtf8(shown)) << ToUtf8(text);
    }
}

// A negative width or height is 0: it never wraps round through the 16-bit fields.
TEST_F(RenderFixture, NegativeSizesAreZero) {
    struct Case {
        std::u16string text;
        int itemWidth, itemHeight;
        TTextSize textSize;
    };
    const Case cases[] = {
        {u"a<ind width=-5>b", 0, 0, {6 + 6, 14}},
        {u"a<ind width=-5 pos=abs>b", 0, 0, {6, 14}},
        {u"<img src=x width=-5 height=-7>", 0, 0, {0, 0}},
        {u"<hr width=-5>", 0, 0, {0, 14}}, // spans the line; the closing break is 14 high
        {u"<input type=checkbox width=-5 height=-3>", 0, 0, {0, 0}},
        {u"<img src=x width=70000 height=3>", 0xFFFF, 3, {0xFFFF, 3}},
    };
    for (const Case& c : cases) {
        THTMLData& d = Parse(c.text);
        const THTMLItem* sized = nullptr;
        for (const auto& item : d.FArray)
            if (!item->IsBreak() && !item->IsTextRun()) sized = item.get();
        ASSERT_NE(sized, nullptr) << ToUtf8(c.text);
        EXPECT_EQ(sized->FWidth, c.itemWidth) << ToUtf8(c.text);
        EXPECT_EQ(sized->FHeight, c.itemHeight) << ToUtf8(c.text);
        EXPECT_EQ(d.FTextSize, c.textSize) << ToUtf8(c.text);
    }
}

TEST(ParserText, IntegerReader) {
    EXPECT_EQ(ReadInteger(u"  42"), 42);
    EXPECT_EQ(ReadInteger(u"-7"), -7);
    EXPECT_EQ(ReadInteger(u"$1F"), 31);
    EXPECT_EQ(ReadInteger(u"x10"), 16);
    EXPECT_EQ(ReadInteger(u"0x10"), 16);
    EXPECT_EQ(ReadInteger(u"-$10"), -16);
    for (const char16_t* bad : {u"", u" ", u"12a", u"4 ", u"$", u"0x", u"99999999999", u"+"})
        EXPECT_FALSE(ReadInteger(bad).has_value()) << ToUtf8(bad);
}

TEST_F(RenderFixture, FontFaceHeightAndColourCounter) {
    Parse(u"<font face=\"Courier  New\" color=red>a<font size=20 name=Arial>b</font>c</font>d"
          u"<font color=nosuch>e</font>f");
    EXPECT_EQ(FindRun(u"a")->FFontRef, u"Courier New"); // a space inside quotes is not doubled
    EXPECT_EQ(FindRun(u"b")->FFontRef, u"Arial");
    EXPECT_EQ(FindRun(u"b")->FontHeight, 20);
    EXPECT_EQ(FindRun(u"c")->FontHeight, -11);
    EXPECT_EQ(FindRun(u"c")->FFontRef, u"Courier New");
    EXPECT_EQ(FindRun(u"d")->FFontRef, u"MS Sans Serif");
    // The counter follows the colour-setting font tags that are open.
    EXPECT_EQ(FindRun(u"a")->FFntCnt, 1);
    EXPECT_EQ(FindRun(u"b")->FFntCnt, 1);
    EXPECT_EQ(FindRun(u"c")->FFntCnt, 1);
    EXPECT_EQ(FindRun(u"d")->FFntCnt, 0);
    // A colour name that changes nothing still counts while its tag is open, and is undone
    // by its closing tag.
    EXPECT_EQ(FindRun(u"e")->FFntCnt, 1);
    EXPECT_EQ(FindRun(u"f")->FFntCnt, 0);
}

TEST_F(RenderFixture, ClosingStyleTagKeepsTheDefaultStyle) {
    render.Data()->FDefaultStyle = fsBold;
    Parse(u"<b>x</b>y<var>z</var>w");
    EXPECT_EQ(FindRun(u"y")->FontStyle, fsBold);
    EXPECT_EQ(FindRun(u"w")->FontStyle, 0); // "</var>" removes bold and italic together
}

TEST_F(RenderFixture, ParagraphAlignmentIndentAndClosingMark) {
    THTMLData& d = Parse(u"<p align=CENTER indent=12>a<br>b</p><br><p>c");
    auto* para = static_cast<THTMLBreakItem*>(d.FArray.Items(1));
    EXPECT_EQ(para->Alignment(), 1);
    EXPECT_EQ(para->FIndent, 12);
    EXPECT_EQ(FindRun(u"b")->FIndent, 12);
    auto* br = static_cast<THTMLBreakItem*>(d.FArray.Items(3));
    EXPECT_EQ(br->FItemType, hitBreak);
    EXPECT_EQ(br->Alignment(), 1); // a line break keeps the paragraph's alignment
    // "</p>" marks its paragraph; a "br" copying that mark makes the next "p" a no-op.
    EXPECT_EQ(Describe(d), "P 'a' B 'b' P B 'c'");
    EXPECT_TRUE(d.FArray.Items(5)->FBoolState & bsClosingPara);
    EXPECT_FALSE(d.FArray.Items(6)->FBoolState & bsClosingPara);
}

TEST_F(RenderFixture, ListEntriesNumberAndPersistAcrossParses) {
    THTMLData& d = Parse(u"<ol><li>a<li>b</ol><ul><li>c</ul>");
    std::vector<int> numbers, levels;
    for (const auto& item : d.FArray)
        if (item->FItemType == hitLI) {
            numbers.push_back(static_cast<THTMLBreakItem*>(item.get())->FListItemN);
            levels.push_back(static_cast<THTMLBreakItem*>(item.get())->FListLevel);
        }
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, -1}));
    EXPECT_EQ(levels, (std::vector<int>{1, 1, 1}));
    // The list start indents by the maximum character width; the end takes it back.
    EXPECT_EQ(FindRun(u"a")->FIndent, measurer.charWidth * 2);
    Parse(u"<ol><li>a");
    Parse(u"<li>b");
    EXPECT_EQ(Describe(*render.Data()), "P L 'b'");
    EXPECT_EQ(static_cast<THTMLBreakItem*>(render.Data()->FArray.Items(2))->FListItemN, 2);
}

TEST_F(RenderFixture, InputsAndRadioGroups) {
    THTMLData& d = Parse(u"<input type=radio name=G checked=true value=1>"
                         u"<input type=RADIO name=g checked=0 width=20 height=x>"
                         u"<input type=radio name=h><input type=checkbox checked=1>");
    ASSERT_EQ(d.FControlsArray.size(), 4u);
    auto* a = static_cast<THTMLInputItem*>(d.FControlsArray[0]);
    auto* b = static_cast<THTMLInputItem*>(d.FControlsArray[1]);
    auto* c = static_cast<THTMLInputItem*>(d.FControlsArray[2]);
    auto* e = static_cast<THTMLInputItem*>(d.FControlsArray[3]);
    EXPECT_TRUE(a->FChecked);
    EXPECT_FALSE(b->FChecked);
    EXPECT_EQ(a->FName, u"g");
    EXPECT_EQ(a->FValue, u"1");
    EXPECT_EQ(a->FTag, 1);
    EXPECT_EQ(b->FTag, 1);
    EXPECT_EQ(c->FTag, 2);
    EXPECT_EQ(e->FInputType, itCheckBox);
    EXPECT_TRUE(e->FChecked);
    EXPECT_EQ(a->FWidth, 17);
    EXPECT_EQ(b->FWidth, 20);
    EXPECT_EQ(b->FHeight, 17);
    EXPECT_EQ(d.FRadioList, (std::vector<std::u16string>{u"g", u"h"}));
}

TEST_F(RenderFixture, LinksAreListedAndEmptyLinksLeaveNoStaleEntry) {
    THTMLData& d = Parse(u"<a href=one>1</a> <a href=two></a><a href='three'><b>3</b></a>");
    ASSERT_EQ(d.FControlsArray.size(), 2u);
    EXPECT_EQ(d.FControlsArray[0]->FLinkRef, u"one");
    EXPECT_EQ(d.FControlsArray[1]->FLinkRef, u"three");
    for (THTMLItem* link : d.FControlsArray) {
        bool inList = false;
        for (const auto& item : d.FArray)
            inList |= item.get() == link;
        EXPECT_TRUE(inList);
    }
    EXPECT_EQ(FindRun(u"3")->FontStyle, fsUnderline | fsBold);
}

TEST_F(RenderFixture, CallbacksSupplyVariablesImagesAndControls) {
    struct Picture : THTMLPicture {
        int Width() const override { return 30; }
        int Height() const override { return 12; }
    };
    std::u16string askedName, askedValue;
    render.OnVariableNeeded = [&](TObject*, const std::u16string& name, std::u16string& value) {
        askedName = name;
        askedValue = value;
        value = u"Lumvora";
    };
    render.OnImageNeeded = [](TObject*, const std::u16string& src,
                              std::unique_ptr<THTMLPicture>& image) {
        if (src == u"logo") image = std::make_unique<Picture>();
    };
    render.OnImageNeededEx = [](TObject*, const std::u16string&, std::unique_ptr<THTMLPicture>&) {
        throw std::runtime_error("swallowed");
    };
    render.FControlHook = [](THTMLControlItem& item) {
        EXPECT_EQ(item.FControlClass, u"TEdit");
        EXPECT_EQ(item.FControlPropList.size(), 1u);
        return TTextSize{80, 21};
    };
    THTMLData& d = Parse(u"<~~product>x<img src=logo><img src=\"other\" width=5 transparent=Solid>"
                         u"<control vclclass=TEDIT text='a b'>");
    EXPECT_EQ(askedName, u"product");
    EXPECT_EQ(askedValue, u"~~");
    EXPECT_EQ(Describe(d), "P V'Lumvora' ' x' I I C");
    THTMLItem* logo = d.FArray.Items(4);
    EXPECT_EQ(logo->FWidth, 30);
    EXPECT_EQ(logo->FHeight, 12);
    EXPECT_TRUE(logo->FTransparent);
    THTMLItem* other = d.FArray.Items(5);
    EXPECT_EQ(other->FWidth, 5);
    EXPECT_EQ(other->FHeight, 0);
    EXPECT_FALSE(other->FTransparent);
    EXPECT_EQ(d.FArray.Items(6)->FWidth, 80);
}

TEST_F(RenderFixture, FailedParseRestoresThePreviousDataAndRaisesNothing) {
    Parse(u"kept");
    THTMLData* own = render.Data();
    THTMLData* other = render.CreateData();
    render.PrepareToData(u"a", 0, other, false);
    EXPECT_EQ(other->ItemCount(), 2);
    render.FControlHook = [](THTMLControlItem&) -> TTextSize { throw std::runtime_error("no"); };
    render.PrepareToData(u"a<control vclclass=TButton>", 0, other, false);
    EXPECT_EQ(other->ItemCount(), 0);
    EXPECT_EQ(render.Data(), own);
    EXPECT_EQ(Describe(*own), "P 'kept'");
    render.DestroyData(other);
}

TEST_F(RenderFixture, DataSelectionAndDestruction) {
    THTMLData* own = render.Data();
    THTMLData* other = render.CreateData();
    render.SetData(other);
    EXPECT_EQ(render.Data(), other);
    render.DestroyData(other);
    EXPECT_EQ(render.Data(), nullptr);
    render.PrepareText(u"x", 0, false); // no current data: parses into the internal data
    render.SetData(nullptr);
    EXPECT_EQ(render.Data(), own);
}

TEST_F(RenderFixture, PlainTextAndGeneratedMarkup) {
    Parse(u"<p>a<br>b</p><ul><li>c</ul><input type=checkbox name=n><~~v>");
    std::u16string text;
    render.AsText(text);
    EXPECT_EQ(text, u"a\r\nb\r\n\r\n- c\r\n ");
    std::u16string html;
    render.Data()->GenerateHTML(html);
    EXPECT_EQ(html, u"<html>a<br>\r\nbc<br>\r\n<input type=\"checkbox\" name=\"n\">\r\n<~~~~> "
                    u"</html>");
    EXPECT_EQ(render.LineCount(), 6);
    EXPECT_EQ(render.ItemCount(), render.Data()->FArray.Count());
}

TEST(ItemList, PositionalAccessOutsideTheRangeGivesNothing) {
    TItemList list;
    EXPECT_EQ(list.Items(1), nullptr);
    list.Add(THTMLItem::Create(nullptr, hitChar));
    list.Insert(1, THTMLItem::Create(nullptr, hitPara));
    EXPECT_EQ(list.Items(0), nullptr);
    EXPECT_EQ(list.Items(3), nullptr);
    EXPECT_EQ(list.Items(1)->FItemType, hitPara);
    EXPECT_EQ(list.Extract(2)->FItemType, hitChar);
    EXPECT_EQ(list.Count(), 1);
    // Without a renderer nothing is measured.
    EXPECT_EQ(list.Items(1)->GetWidth(), 0);
}

} // namespace
