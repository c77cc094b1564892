// Helpers for the native markup tests: a renderer over the fake measurer and a compact,
// readable description of an item list.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "richlabel/core/HtmlRender.h"
#include "richlabel/tests/FakeMeasurer.h"

// "P 'Schritt 1:'bu B B 'Klicken'": kinds as letters (P para, S soft break, B break, L entry,
// U/O list start, H rule, G gap, I image, X input, C control), text runs quoted, then style
// letters (b i u s), "^" superscript, "_" subscript, "@h" a height other than -11, "#ref" a link.
inline std::string ToUtf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline std::string Describe(const THTMLData& data) {
    std::string out;
    for (const auto& item : data.FArray) {
        if (!out.empty()) out += ' ';
        switch (item->FItemType) {
        case hitPara:
            out += 'P';
            continue;
        case hitSoftBreak:
            out += 'S';
            continue;
        case hitBreak:
            out += 'B';
            continue;
        case hitLI:
            out += 'L';
            continue;
        case hitUL:
            out += 'U';
            continue;
        case hitOL:
            out += 'O';
            continue;
        case hitHR:
            out += 'H';
            continue;
        case hitIndent:
            out += 'G';
            continue;
        case hitBitmap:
            out += 'I';
            continue;
        case hitInput:
            out += 'X';
            continue;
        case hitControl:
            out += 'C';
            continue;
        case hitVar:
            out += 'V';
            break;
        case hitChar:
            break;
        }
        out += "'" + ToUtf8(item->FText) + "'";
        if (item->FontStyle & fsBold) out += 'b';
        if (item->FontStyle & fsItalic) out += 'i';
        if (item->FontStyle & fsUnderline) out += 'u';
        if (item->FontStyle & fsStrikeOut) out += 's';
        if (item->IsSuper()) out += '^';
        if (item->IsSub()) out += '_';
        if (item->FontHeight != -11) out += "@" + std::to_string(item->FontHeight);
        if (item->IsLink()) out += "#" + ToUtf8(item->FLinkRef);
    }
    return out;
}

struct RenderHelper {
    FakeMeasurer measurer;
    THTMLRender render{&measurer};

    THTMLData& Parse(const std::u16string& text, int maxWidth = 0, bool wrap = false) {
        render.PrepareText(text, maxWidth, wrap);
        return *render.Data();
    }
    std::string Items(const std::u16string& text, int maxWidth = 0, bool wrap = false) {
        return Describe(Parse(text, maxWidth, wrap));
    }
    // The first text run whose text is `text`.
    THTMLItem* FindRun(const std::u16string& text) {
        for (const auto& item : render.Data()->FArray)
            if (item->IsTextRun() && item->FText == text) return item.get();
        return nullptr;
    }
};

class RenderFixture : public ::testing::Test, public RenderHelper {};
