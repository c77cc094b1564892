// Fonts made from markup font descriptions, kept for reuse within the cache's lifetime.
#include "richlabel/win32/GdiFontCache.h"

#include "framework/win32/Font.h"

HFONT TGdiFontCache::Find(const THTMLFont& font) const {
    for (const Entry& e : entries_)
        if (e.font == font) return e.handle.get();
    return nullptr;
}

HFONT TGdiFontCache::Get(const THTMLFont& font) {
    if (HFONT cached = Find(font)) return cached;
    if (limit_ && entries_.size() >= limit_) entries_.clear();
    TFontDesc desc;
    desc.Name = font.Name;
    desc.Height = font.Height;
    desc.Style = font.Style;
    desc.Charset = font.Charset;
    entries_.push_back({font, CreateFontFromDesc(desc)});
    return entries_.back().handle.get();
}
