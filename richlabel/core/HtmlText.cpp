// Integer reader, case folding, trimming and the entity and colour name tables.
#include "richlabel/core/HtmlText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

struct NamedChar {
    const char16_t* name;
    char16_t ch;
};

// The HTML 4.01 Latin-1 entities, "trade" and "euro"; "nbsp" is handled by the scanner.
constexpr NamedChar kEntities[] = {
    {u"quot", 34},     {u"amp", 38},     {u"lt", 60},      {u"gt", 62},      {u"iexcl", 161},
    {u"cent", 162},    {u"pound", 163},  {u"curren", 164}, {u"yen", 165},    {u"brvbar", 166},
    {u"sect", 167},    {u"uml", 168},    {u"copy", 169},   {u"ordf", 170},   {u"laquo", 171},
    {u"not", 172},     {u"shy", 173},    {u"reg", 174},    {u"macr", 175},   {u"deg", 176},
    {u"plusmn", 177},  {u"sup2", 178},   {u"sup3", 179},   {u"acute", 180},  {u"micro", 181},
    {u"para", 182},    {u"middot", 183}, {u"cedil", 184},  {u"sup1", 185},   {u"ordm", 186},
    {u"raquo", 187},   {u"frac14", 188}, {u"frac12", 189}, {u"frac34", 190}, {u"iquest", 191},
    {u"Agrave", 192},  {u"Aacute", 193}, {u"Acirc", 194},  {u"Atilde", 195}, {u"Auml", 196},
    {u"Aring", 197},   {u"AElig", 198},  {u"Ccedil", 199}, {u"Egrave", 200}, {u"Eacute", 201},
    {u"Ecirc", 202},   {u"Euml", 203},   {u"Igrave", 204}, {u"Iacute", 205}, {u"Icirc", 206},
    {u"Iuml", 207},    {u"ETH", 208},    {u"Ntilde", 209}, {u"Ograve", 210}, {u"Oacute", 211},
    {u"Ocirc", 212},   {u"Otilde", 213}, {u"Ouml", 214},   {u"times", 215},  {u"Oslash", 216},
    {u"Ugrave", 217},  {u"Uacute", 218}, {u"Ucirc", 219},  {u"Uuml", 220},   {u"Yacute", 221},
    {u"THORN", 222},   {u"szlig", 223},  {u"agrave", 224}, {u"aacute", 225}, {u"acirc", 226},
    {u"atilde", 227},  {u"auml", 228},   {u"aring", 229},  {u"aelig", 230},  {u"ccedil", 231},
    {u"egrave", 232},  {u"eacute", 233}, {u"ecirc", 234},  {u"euml", 235},   {u"igrave", 236},
    {u"iacute", 237},  {u"icirc", 238},  {u"iuml", 239},   {u"eth", 240},    {u"ntilde", 241},
    {u"ograve", 242},  {u"oacute", 243}, {u"ocirc", 244},  {u"otilde", 245}, {u"ouml", 246},
    {u"divide", 247},  {u"oslash", 248}, {u"ugrave", 249}, {u"uacute", 250}, {u"ucirc", 251},
    {u"uuml", 252},    {u"yacute", 253}, {u"thorn", 254},  {u"yuml", 255},   {u"trade", 0x2122},
    {u"euro", 0x20AC},
};

char16_t FindEntity(std::u16string_view name) {
    for (const NamedChar& e : kEntities)
        if (name == e.name) return e.ch;
    return 0;
}

struct NamedColor {
    const char16_t* name;
    TColor color;
};

constexpr NamedColor kColors[] = {
    {u"clBlack", 0x000000},
    {u"clMaroon", 0x000080},
    {u"clGreen", 0x008000},
    {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},
    {u"clPurple", 0x800080},
    {u"clTeal", 0x808000},
    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF},
    {u"clLime", 0x00FF00},
    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},
    {u"clFuchsia", 0xFF00FF},
    {u"clAqua", 0xFFFF00},
    {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0},
    {u"clSkyBlue", 0xF0CAA6},
    {u"clCream", 0xF0FBFF},
    {u"clMedGray", 0xA4A0A0},
    {u"clActiveBorder", 0xFF00000A},
    {u"clActiveCaption", 0xFF000002},
    {u"clAppWorkSpace", 0xFF00000C},
    {u"clBackground", 0xFF000001},
    {u"clBtnFace", 0xFF00000F},
    {u"clBtnHighlight", 0xFF000014},
    {u"clBtnShadow", 0xFF000010},
    {u"clBtnText", 0xFF000012},
    {u"clCaptionText", 0xFF000009},
    {u"clDefault", clDefault},
    {u"clGradientActiveCaption", 0xFF00001B},
    {u"clGradientInactiveCaption", 0xFF00001C},
    {u"clGrayText", 0xFF000011},
    {u"clHighlight", 0xFF00000D},
    {u"clHighlightText", 0xFF00000E},
    {u"clHotLight", 0xFF00001A},
    {u"clInactiveBorder", 0xFF00000B},
    {u"clInactiveCaption", 0xFF000003},
    {u"clInactiveCaptionText", 0xFF000013},
    {u"clInfoBk", 0xFF000018},
    {u"clInfoText", 0xFF000017},
    {u"clMenu", 0xFF000004},
    {u"clMenuBar", 0xFF00001E},
    {u"clMenuHighlight", 0xFF00001D},
    {u"clMenuText", 0xFF000007},
    {u"clNone", clNone},
    {u"clScrollBar", 0xFF000000},
    {u"cl3DDkShadow", 0xFF000015},
    {u"cl3DLight", 0xFF000016},
    {u"clWindow", 0xFF000005},
    {u"clWindowFrame", 0xFF000006},
    {u"clWindowText", 0xFF000008},
};

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    return true;
}

} // namespace

std::optional<int> ReadInteger(std::u16string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    int base = 10;
    if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
        int d = HexDigit(s[i]);
        if (d < 0 || d >= base) return std::nullopt;
        value = value * base + d;
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 10) {
        if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
        return negative ? int(-std::int64_t(value)) : int(value);
    }
    // Hexadecimal values take all 32 bits, as a colour or mask would.
    std::int32_t bits = std::int32_t(std::uint32_t(value));
    return negative ? int(-std::int64_t(bits)) : bits;
}

char16_t LowerChar(char16_t c) {
    if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return char16_t(c + 32);
    return c;
}

std::u16string LowerCase(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out)
        c = LowerChar(c);
    return out;
}

std::u16string TrimText(std::u16string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] <= 32)
        ++b;
    while (e > b && s[e - 1] <= 32)
        --e;
    return std::u16string(s.substr(b, e - b));
}

char16_t LookupEntity(std::u16string_view name) {
    if (const char16_t ch = FindEntity(name)) return ch;
    return FindEntity(LowerCase(name));
}

std::optional<TColor> LookupColorName(std::u16string_view name) {
    for (const NamedColor& c : kColors)
        if (EqualsNoCase(name, c.name)) return c.color;
    return std::nullopt;
}

std::optional<bool> ReadBoolean(std::u16string_view s) {
    if (EqualsNoCase(s, u"true")) return true;
    if (EqualsNoCase(s, u"false")) return false;
    if (auto n = ReadInteger(s)) return *n != 0;
    return std::nullopt;
}

int MulDivRound(int a, int b, int c) {
    std::int64_t p = std::int64_t(a) * b;
    std::int64_t half = std::llabs(c) / 2;
    std::int64_t q = (p >= 0) == (c > 0) ? (std::llabs(p) + half) / std::llabs(c)
                                         : -((std::llabs(p) + half) / std::llabs(c));
    return int(q);
}
