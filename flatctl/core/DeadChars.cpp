// TDeadCharList: each Latin dead key composes the letters with its mark that the Western and
// Central European ANSI code pages (1252, 1250) hold; the apostrophe and quotation mark of
// international layouts stand for acute and diaeresis; the Greek tonos (also as ';' on Greek
// layouts) and dialytika (as ':') compose the Greek letters of code page 1253. 152 entries.
#include "flatctl/core/DeadChars.h"

#include <string>

namespace {

// The caron key of Central European layouts is listed under the inverted exclamation mark,
// its code in code page 1250 (0xA1) read as Latin-1; in UTF-16 the platform reports U+02C7.
constexpr char16_t kCaron = u'\u00A1';
constexpr char16_t kCaronAsReported = u'\u02C7';

const char16_t kAcuteBases[] = u"AEIOUYaeiouyCcLlNnRrSsZz";
const char16_t kAcute[] = u"\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD\u00E1\u00E9\u00ED\u00F3\u00FA"
                          u"\u00FD\u0106\u0107\u0139\u013A\u0143\u0144\u0154\u0155\u015A\u015B"
                          u"\u0179\u017A";
const char16_t kDiaeresisBases[] = u"AEIOUaeiouyY";
const char16_t kDiaeresis[] =
    u"\u00C4\u00CB\u00CF\u00D6\u00DC\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF\u0178";
const char16_t kCaronBases[] = u"CcDdEeLlNnRrSsTtZz";
const char16_t kCaronLetters[] = u"\u010C\u010D\u010E\u010F\u011A\u011B\u013D\u013E\u0147\u0148"
                                 u"\u0158\u0159\u0160\u0161\u0164\u0165\u017D\u017E";
const char16_t kGreekTonosBases[] = u"\u0391\u0395\u0397\u0399\u039F\u03A5\u03A9"
                                    u"\u03B1\u03B5\u03B7\u03B9\u03BF\u03C5\u03C9";
const char16_t kGreekTonos[] = u"\u0386\u0388\u0389\u038A\u038C\u038E\u038F"
                               u"\u03AC\u03AD\u03AE\u03AF\u03CC\u03CD\u03CE";
const char16_t kGreekDialytikaBases[] = u"\u0399\u03A5\u03B9\u03C5";
const char16_t kGreekDialytika[] = u"\u03AA\u03AB\u03CA\u03CB";

} // namespace

TDeadCharList::TDeadCharList() {
    AddSeries(u'`', u"AEIOUaeiou", u"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9");
    AddSeries(u'\u00B4', kAcuteBases, kAcute);
    AddSeries(u'^', u"AEIOUaeiou", u"\u00C2\u00CA\u00CE\u00D4\u00DB\u00E2\u00EA\u00EE\u00F4\u00FB");
    AddSeries(u'~', u"ANOano", u"\u00C3\u00D1\u00D5\u00E3\u00F1\u00F5");
    AddSeries(u'\u00A8', kDiaeresisBases, kDiaeresis);
    AddSeries(u'\u00B0', u"AaUu", u"\u00C5\u00E5\u016E\u016F");
    AddSeries(kCaron, kCaronBases, kCaronLetters);
    AddSeries(u'\'', kAcuteBases, kAcute);
    AddSeries(u'"', kDiaeresisBases, kDiaeresis);
    AddSeries(u'\u0384', kGreekTonosBases, kGreekTonos);
    AddSeries(u';', kGreekTonosBases, kGreekTonos);
    AddSeries(u':', kGreekDialytikaBases, kGreekDialytika);
}

void TDeadCharList::AddSeries(char16_t dead, const char16_t* bases, const char16_t* composed) {
    const std::u16string b(bases), c(composed);
    for (std::size_t i = 0; i < b.size() && i < c.size(); ++i)
        FItems.push_back({b[i], dead, c[i]});
}

char16_t TDeadCharList::Find(char16_t base, char16_t dead) const {
    if (dead == kCaronAsReported) dead = kCaron;
    for (const TDeadChar& d : FItems)
        if (d.Base == base && d.Dead == dead) return d.Composed;
    return 0;
}
