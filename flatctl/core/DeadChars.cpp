// TDeadCharList: compositions for grave, acute, circumflex, tilde, diaeresis, ring, the
// apostrophe and quotation mark of international layouts, and the Greek tonos and
// dialytika keys (also reached as ';' and ':' on Greek layouts).
#include "flatctl/core/DeadChars.h"

#include <string>

namespace {

const char16_t kGreekTonosBases[] = u"\u0391\u0395\u0397\u0399\u039F\u03A5\u03A9"
                                    u"\u03B1\u03B5\u03B7\u03B9\u03BF\u03C5\u03C9";
const char16_t kGreekTonos[] = u"\u0386\u0388\u0389\u038A\u038C\u038E\u038F"
                               u"\u03AC\u03AD\u03AE\u03AF\u03CC\u03CD\u03CE";
const char16_t kGreekDialytikaBases[] = u"\u0399\u03A5\u03B9\u03C5";
const char16_t kGreekDialytika[] = u"\u03AA\u03AB\u03CA\u03CB";

const char16_t kAcuteBases[] = u"AEIOUYaeiouy";
const char16_t kAcute[] =
    u"\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD";
const char16_t kDiaeresisBases[] = u"AEIOUaeiouy";
const char16_t kDiaeresis[] = u"\u00C4\u00CB\u00CF\u00D6\u00DC\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF";

} // namespace

TDeadCharList::TDeadCharList() {
    AddSeries(u'`', u"AEIOUaeiou", u"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9");
    AddSeries(u'\u00B4', kAcuteBases, kAcute);
    AddSeries(u'^', u"AEIOUaeiou", u"\u00C2\u00CA\u00CE\u00D4\u00DB\u00E2\u00EA\u00EE\u00F4\u00FB");
    AddSeries(u'~', u"ANOano", u"\u00C3\u00D1\u00D5\u00E3\u00F1\u00F5");
    AddSeries(u'\u00A8', kDiaeresisBases, kDiaeresis);
    AddSeries(u'\u00B0', u"Aa", u"\u00C5\u00E5");
    // International layouts: apostrophe as acute (and cedilla on C), quotation mark as
    // diaeresis.
    AddSeries(u'\'', kAcuteBases, kAcute);
    AddSeries(u'\'', u"Cc", u"\u00C7\u00E7");
    AddSeries(u'"', kDiaeresisBases, kDiaeresis);
    // Greek: tonos and dialytika, on their own keys or as ';' and ':'.
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
    for (const TDeadChar& d : FItems)
        if (d.Base == base && d.Dead == dead) return d.Composed;
    return 0;
}
