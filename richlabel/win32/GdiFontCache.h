// A small cache of GDI fonts keyed by the markup font description; every font it made is
// deleted when it goes (or when it grows past its limit).
#pragma once
#include <windows.h>

#include <vector>

#include "framework/win32/Gdi.h"
#include "richlabel/core/HtmlTypes.h"

class TGdiFontCache {
  public:
    // `limit` bounds the number of fonts kept (0: no bound, for caches whose fonts may still
    // be selected into a DC until the cache goes).
    explicit TGdiFontCache(std::size_t limit = 0) : limit_(limit) {}
    TGdiFontCache(const TGdiFontCache&) = delete;
    TGdiFontCache& operator=(const TGdiFontCache&) = delete;

    // The cached font for `font`, made (and the cache perhaps trimmed) when there is none.
    HFONT Get(const THTMLFont& font);
    // The cached font for `font`, or null; never makes one.
    HFONT Find(const THTMLFont& font) const;
    void Clear() { entries_.clear(); }

  private:
    struct Entry {
        THTMLFont font;
        FontHandle handle;
    };
    std::size_t limit_;
    std::vector<Entry> entries_;
};
