// The markup reader: character scan, references, tags and attributes, the formatting state,
// wrapping while reading, and the end of the text.
#include "richlabel/core/HtmlParser.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "richlabel/core/HtmlText.h"

namespace {

constexpr std::size_t npos = std::u16string::npos;

std::u16string Unquote(std::u16string v) {
    if (!v.empty() && (v[0] == u'"' || v[0] == u'\'')) {
        const char16_t q = v[0];
        v.erase(0, 1);
        if (!v.empty() && v.back() == q) v.pop_back();
    }
    return v;
}

int Sign(int v) {
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

// A size attribute for a 16-bit width or height: a negative size is 0 and a larger one stops
// at the field's limit, so neither wraps round to a huge or a small value.
std::uint16_t PixelSize(int v) {
    return std::uint16_t(std::clamp(v, 0, 0xFFFF));
}

int ClampToInt(long long v) {
    return int(std::clamp<long long>(v, -2147483647LL - 1, 2147483647LL));
}

// "#RRGGBB" (optional "$", optional sign, hexadecimal digits) as a Colour 0x00BBGGRR.
std::optional<TColor> ReadHexColor(std::u16string_view v) {
    v.remove_prefix(1); // '#'
    if (!v.empty() && v[0] == u'$') v.remove_prefix(1);
    std::u16string digits(v);
    std::size_t i = 0;
    if (i < digits.size() && (digits[i] == u'+' || digits[i] == u'-')) ++i;
    if (i >= digits.size()) return std::nullopt;
    for (std::size_t k = i; k < digits.size(); ++k) {
        const char16_t c = digits[k];
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex) return std::nullopt;
    }
    auto n = ReadInteger(digits.substr(0, i) + u"$" + digits.substr(i));
    if (!n) return std::nullopt;
    const std::uint32_t rgb = std::uint32_t(*n);
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// A "color"/"bgcolor" value: "#" hexadecimal (invalid gives `invalidHex`) or a colour name
// with or without the "cl" prefix (unknown names keep `unchanged`).
TColor ReadColorValue(const std::u16string& v, TColor invalidHex, TColor unchanged) {
    if (v[0] == u'#') return ReadHexColor(v).value_or(invalidHex);
    const std::u16string name = v.starts_with(u"cl") ? v : u"cl" + v;
    return LookupColorName(name).value_or(unchanged);
}

} // namespace

THTMLParser::THTMLParser(THTMLRender& render, THTMLData& data, const std::u16string& text,
                         int maxWidth, bool autoWrap)
    : render_(render), data_(data), text_(text), autoWrap_(autoWrap) {
    data_.FMaxWidth = maxWidth;
}

void THTMLParser::Run() {
    data_.ClearArray();
    data_.FSelectedItem = nullptr;
    data_.FTextSize = {};

    THTMLItem templ(&data_, hitChar);
    templ.FontStyle = data_.FDefaultStyle;
    current_ = {data_.FDefaultFont, data_.FDefaultHeight, data_.FDefaultColor,
                data_.FDefaultBgColor};
    templ.FFontRef = current_.FontName;
    templ.FontHeight = current_.Height;
    templ.FontColor = current_.Color;
    templ.FontBgColor = current_.BgColor;
    run_ = CopyOf(templ, hitChar);

    const std::size_t n = text_.size();
    while (pos_ < n) {
        const char16_t c = text_[pos_];
        if (c == u'<') {
            ReadTag();
        } else if (c == 13) {
            if (pos_ + 1 < n && text_[pos_ + 1] == 10) ++pos_;
        } else if (c == u'&') {
            if (pos_ + 1 < n && text_[pos_ + 1] == u' ')
                AppendChar(u'&', false);
            else
                ReadReference();
        } else {
            AppendChar(c, true);
        }
        ++pos_;
    }
    Finish();
}

void THTMLParser::Finish() {
    if (HasContent())
        Append(std::move(run_));
    else
        DiscardRun();
    TItemList& list = data_.FArray;
    if (!list.Empty() && list.First()->FItemType != hitPara)
        list.Insert(1, THTMLItem::Create(&data_, hitPara));
    LayoutHTMLData(data_);
}

// ---- character scan -------------------------------------------------------------------------

std::size_t THTMLParser::NextSemicolon(std::size_t from) {
    // The scan only moves forward, so one search serves every reference up to that ";".
    if (!semiValid_ || (semi_ != npos && semi_ < from)) {
        semi_ = text_.find(u';', from);
        semiValid_ = true;
    }
    return semi_;
}

void THTMLParser::ReadReference() {
    const std::size_t n = text_.size();
    if (pos_ + 1 < n && text_[pos_ + 1] == u'#') {
        const std::size_t semi = NextSemicolon(pos_ + 2);
        const std::size_t end = semi == npos ? n : semi;
        auto value = ReadInteger(std::u16string_view(text_).substr(pos_ + 2, end - pos_ - 2));
        pos_ = semi == npos ? n - 1 : semi;
        const int code = value ? *value : 32;
        if (code == 32) {
            AppendChar(u' ', true);
        } else if (const char16_t ch = char16_t(std::uint32_t(code) & 0xFFFF)) {
            AppendChar(ch, false);
        }
        return;
    }
    const std::size_t semi = NextSemicolon(pos_ + 1);
    if (semi == npos) {
        AppendChar(u'&', false);
        return;
    }
    const std::u16string_view name = std::u16string_view(text_).substr(pos_ + 1, semi - pos_ - 1);
    pos_ = semi;
    if (LowerCase(name) == u"nbsp")
        AppendChar(u' ', false);
    else if (const char16_t ch = LookupEntity(name))
        AppendChar(ch, false);
}

void THTMLParser::AppendChar(char16_t c, bool foldSpace) {
    // A character taken off by the wrap check is appended again on the new line; the bound
    // only guards against a measurer that answers inconsistently.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::u16string& t = run_->FText;
        if (c == u' ' && foldSpace && !t.empty() && t.back() == u' ') return;
        t += c;
        run_->FTWidth = kWidthUnknown;
        if (!autoWrap_ || !CheckWrap()) return;
    }
}

bool THTMLParser::CheckWrap() {
    TItemList& list = data_.FArray;
    const int W = run_->GetWidth();
    long long U = 0;
    for (int i = list.Count(); i >= 1; --i) {
        THTMLItem* item = list.Items(i);
        U += item->GetWidth();
        if (item->IsBreak()) {
            U += item->FIndent;
            break;
        }
    }
    if (W + U <= data_.FMaxWidth) return false;

    run_->FTWidth = kWidthUnknown;
    std::u16string& t = run_->FText;
    const std::size_t lastSpace = t.rfind(u' ');
    const std::size_t c = lastSpace == npos ? 0 : lastSpace + 1; // 1-based, 0 for none
    const char16_t ch = t.back();
    std::u16string carried;
    bool appendAgain = false;
    THTMLItem* last = list.Last();
    if (c == 0 && last && last->IsBreak()) {
        // One long word at the start of a line: break it between characters.
        carried.assign(1, ch);
        t.pop_back();
    } else if (t.size() > 1) {
        t.pop_back();
        appendAgain = true;
        if (c < t.size()) {
            carried = t.substr(c);
            t.erase(c);
        }
    } else if (ch != u' ') {
        carried = t;
        t.clear();
    }

    THTMLBreakItem* previousBreak = LastBreak();
    THTMLItem* appended = Append(std::move(run_));
    auto soft = CopyOf(*appended, hitSoftBreak);
    static_cast<THTMLBreakItem*>(soft.get())->AssignBreakProps(previousBreak);
    THTMLItem* softItem = Append(std::move(soft));
    run_ = CopyOf(*softItem, hitChar);
    run_->FText = carried;
    if (appended->FText.empty() && appended->FItemType == hitChar) {
        const int pos = list.Count() - 1;
        std::unique_ptr<THTMLItem> gone = list.Extract(pos);
        Forget(gone.get());
    }
    return appendAgain;
}

// ---- tags -----------------------------------------------------------------------------------

void THTMLParser::ReadTag() {
    const std::size_t n = text_.size();
    ++pos_; // past '<'
    std::u16string name;
    while (pos_ < n && text_[pos_] != u' ' && text_[pos_] != u'>') {
        name += text_[pos_];
        if (name == u"!--") {
            // A comment runs to the next "-->", searched from the last '-' of "<!--".
            const std::size_t end = text_.find(u"-->", pos_);
            pos_ = end == npos ? n : end + 2;
            return;
        }
        ++pos_;
    }
    if (pos_ >= n) return; // unterminated tag: dropped, the scan ends
    Attributes attrs;
    if (text_[pos_] == u' ') {
        ReadAttributes(attrs);
    } else if (name.starts_with(u"~~")) {
        attrs.emplace_back(u"p1", name.substr(2));
        name = u"~~";
    }
    HandleTag(LowerCase(name), attrs);
}

void THTMLParser::ReadAttributes(Attributes& attrs) {
    const std::size_t n = text_.size();
    std::u16string token;
    char16_t quote = 0;
    int ordinal = 0;
    auto finish = [&] {
        if (token.empty()) return;
        const std::size_t eq = token.find(u'=');
        if (eq != npos) {
            attrs.emplace_back(LowerCase(TrimText(std::u16string_view(token).substr(0, eq))),
                               TrimText(std::u16string_view(token).substr(eq + 1)));
        } else {
            ++ordinal;
            std::u16string key = u"p";
            for (char c : std::to_string(ordinal))
                key += char16_t(c);
            attrs.emplace_back(std::move(key), token);
        }
        token.clear();
    };
    for (; pos_ < n; ++pos_) {
        const char16_t c = text_[pos_];
        if (quote) {
            if (c == quote) quote = 0;
            if (c == u' ' && !token.empty() && token.back() == u' ') continue;
            token += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            token += c;
        } else if (c == u' ') {
            finish();
        } else if (c == u'>') {
            finish();
            return; // the position stays on the '>'
        } else {
            token += c;
        }
    }
    finish();
}

const std::u16string* THTMLParser::RawAttr(const Attributes& attrs, std::u16string_view name) {
    for (const auto& [key, value] : attrs)
        if (key == name) return &value;
    return nullptr;
}

std::u16string THTMLParser::Attr(const Attributes& attrs, std::u16string_view name) {
    const std::u16string* raw = RawAttr(attrs, name);
    return raw ? Unquote(*raw) : std::u16string();
}

void THTMLParser::HandleTag(const std::u16string& name, const Attributes& attrs) {
    const bool closing = !name.empty() && name[0] == u'/';
    const std::u16string_view base = closing ? std::u16string_view(name).substr(1) : name;
    if (base == u"b" || base == u"strong") return StyleTag(fsBold, closing);
    if (base == u"i" || base == u"em") return StyleTag(fsItalic, closing);
    if (base == u"var" || base == u"cite") return StyleTag(fsBold | fsItalic, closing);
    if (base == u"strikeout" || base == u"s") return StyleTag(fsStrikeOut, closing);
    if (base == u"u") return StyleTag(fsUnderline, closing);
    if (base == u"sub") return FlagTag(bsSub, closing);
    if (base == u"sup") return FlagTag(bsSuper, closing);
    if (base == u"p") return ParaTag(attrs, closing);
    if (base == u"ul" || base == u"ol") {
        if (closing) return EndListTag(base == u"ol");
        return ListTag(base == u"ul" ? hitUL : hitOL);
    }
    if (name == u"font") return FontTag(attrs);
    if (name == u"/font") return EndFontTag();
    if (name == u"br") return BreakTag();
    if (name == u"li") return ListItemTag();
    if (name == u"ind") return IndentTag(attrs);
    if (name == u"img") return ImageTag(attrs);
    if (name == u"a") return LinkTag(attrs);
    if (name == u"/a") return EndLinkTag();
    if (name == u"hr") return RuleTag(attrs);
    if (name == u"input") return InputTag(attrs);
    if (name == u"control") return ControlTag(attrs);
    if (name == u"~~") return VariableTag(attrs);
    // "html" and every unknown tag change nothing.
}

void THTMLParser::StyleTag(TFontStyles flags, bool closing) {
    Flush();
    if (!closing)
        run_->FontStyle |= flags;
    else if (flags & ~data_.FDefaultStyle)
        run_->FontStyle &= TFontStyles(~flags);
}

void THTMLParser::FlagTag(std::uint32_t flag, bool closing) {
    Flush();
    if (closing)
        run_->FBoolState &= ~flag;
    else
        run_->FBoolState |= flag;
}

void THTMLParser::FontTag(const Attributes& attrs) {
    Flush();
    TFontSettings next{run_->FFontRef, run_->FontHeight, run_->FontColor, run_->FontBgColor};

    const std::u16string face = Attr(attrs, u"face"), fontName = Attr(attrs, u"name");
    if (!face.empty()) next.FontName = face;
    if (!fontName.empty()) next.FontName = fontName;

    std::u16string size = Attr(attrs, u"size");
    if (!size.empty()) {
        const long long absDefault = std::llabs(data_.FDefaultHeight);
        if (size[0] == u'+' || size[0] == u'-') {
            const int points = ReadInteger(size).value_or(0);
            const int pixels = MulDivRound(points, render_.ScreenPixelsPerInch(), 72);
            next.Height = ClampToInt((pixels + absDefault) * Sign(next.Height));
        } else {
            const std::size_t px = size.find(u"px");
            if (px != npos) size.erase(px, 2);
            const auto value = ReadInteger(TrimText(size));
            if (!value)
                next.Height = data_.FDefaultHeight;
            else if (px == npos && *value >= 1 && *value <= 9)
                next.Height = ClampToInt((absDefault + 5LL * *value) * Sign(next.Height));
            else
                next.Height = *value;
        }
    }

    const std::u16string color = Attr(attrs, u"color");
    if (!color.empty()) next.Color = ReadColorValue(color, data_.FDefaultColor, next.Color);
    std::u16string bg = Attr(attrs, u"bgcolor");
    if (bg.empty()) bg = Attr(attrs, u"background");
    if (!bg.empty()) next.BgColor = ReadColorValue(bg, data_.FDefaultBgColor, next.BgColor);

    bool raises = false;
    for (const char16_t* key : {u"color", u"bgcolor", u"background"}) {
        const std::u16string* raw = RawAttr(attrs, key);
        if (raw && !raw->empty()) raises = true;
    }
    TFontSettings saved = current_;
    saved.RaisedCount = raises;
    stack_.Push(saved);
    if (raises) ++run_->FFntCnt;

    current_ = next;
    run_->FFontRef = next.FontName;
    run_->FontHeight = next.Height;
    run_->FontColor = next.Color;
    run_->FontBgColor = next.BgColor;
}

void THTMLParser::EndFontTag() {
    Flush();
    if (stack_.Empty()) return;
    const TFontSettings top = stack_.Pop();
    // The counter goes down exactly when the matching "font" raised it.
    if (top.RaisedCount && run_->FFntCnt > 0) --run_->FFntCnt;
    current_ = top;
    current_.RaisedCount = false;
    run_->FFontRef = current_.FontName;
    run_->FontHeight = current_.Height;
    run_->FontColor = current_.Color;
    run_->FontBgColor = current_.BgColor;
}

void THTMLParser::BreakTag() {
    Flush();
    auto brk = CopyOf(*run_, hitBreak);
    if (THTMLBreakItem* previous = LastBreak())
        static_cast<THTMLBreakItem*>(brk.get())->FParams = previous->FParams;
    Append(std::move(brk));
}

void THTMLParser::ParaTag(const Attributes& attrs, bool closing) {
    THTMLItem* last = data_.FArray.Last();
    if (last && last->FItemType == hitBreak && (last->FBoolState & bsClosingPara)) {
        if (!closing) last->FBoolState &= ~bsClosingPara;
        return;
    }
    Flush();
    auto para = CopyOf(*run_, hitPara);
    auto* brk = static_cast<THTMLBreakItem*>(para.get());
    if (closing) brk->FBoolState |= bsClosingPara;
    const std::u16string align = LowerCase(Attr(attrs, u"align"));
    brk->FParams = align == u"center" ? 1 : align == u"right" ? 2 : 0;
    const std::u16string indent = Attr(attrs, u"indent");
    if (!indent.empty()) brk->FIndent = ReadInteger(indent).value_or(0);
    THTMLItem* added = Append(std::move(para));
    ReplaceRun(CopyOf(*added, hitChar));
}

void THTMLParser::ListTag(THTMLItemType kind) {
    // An empty line in front of the list goes.
    TItemList& list = data_.FArray;
    int k = list.Count();
    while (k >= 1 && !list.Items(k)->IsBreak())
        --k;
    if (k >= 1) {
        const THTMLItemType bt = list.Items(k)->FItemType;
        bool blank = (bt == hitSoftBreak || bt == hitBreak) && run_->FItemType == hitChar &&
                     TrimText(run_->FText).empty();
        for (int i = k + 1; blank && i <= list.Count(); ++i) {
            const THTMLItem* item = list.Items(i);
            blank = item->FItemType == hitChar && TrimText(item->FText).empty();
        }
        if (blank) TruncateList(k);
    }
    Flush();
    ++listLevel_;
    auto start = CopyOf(*run_, kind);
    start->FIndent += MaxCharWidthOf(*start);
    THTMLItem* added = Append(std::move(start));
    ReplaceRun(CopyOf(*added, hitChar));
    render_.FCurListItem = kind == hitUL ? -1 : 1;
}

void THTMLParser::EndListTag(bool ordered) {
    Flush();
    --listLevel_;
    auto next = CopyOf(*run_, hitChar);
    next->FIndent -= MaxCharWidthOf(*next);
    RemoveLastHardBreak();
    Append(CopyOf(*next, hitBreak));
    ReplaceRun(std::move(next));
    if (ordered) render_.FCurListItem = -1;
}

void THTMLParser::ListItemTag() {
    Flush();
    RemoveLastHardBreak();
    auto entry = CopyOf(*run_, hitLI);
    auto* brk = static_cast<THTMLBreakItem*>(entry.get());
    brk->FListItemN = render_.FCurListItem;
    brk->FListLevel = listLevel_;
    if (render_.FCurListItem >= 1 && render_.FCurListItem < 2147483647) ++render_.FCurListItem;
    Append(std::move(entry));
}

void THTMLParser::IndentTag(const Attributes& attrs) {
    const std::u16string width = Attr(attrs, u"width");
    if (width.empty()) return;
    Flush();
    auto gap = CopyOf(*run_, hitIndent);
    gap->FWidth = PixelSize(ReadInteger(width).value_or(0));
    if (LowerCase(Attr(attrs, u"pos")) == u"abs") gap->FBoolState |= bsAbsolute;
    Append(std::move(gap));
}

void THTMLParser::ImageTag(const Attributes& attrs) {
    const std::u16string src = Attr(attrs, u"src");
    if (src.empty()) return;
    Flush();
    auto image = CopyOf(*run_, hitBitmap);
    image->FText = src;
    std::unique_ptr<THTMLPicture> picture = render_.RequestImage(src);
    image->FTransparent = LowerCase(Attr(attrs, u"transparent")) != u"solid";
    const auto w = ReadInteger(Attr(attrs, u"width"));
    const auto h = ReadInteger(Attr(attrs, u"height"));
    image->FWidth = PixelSize(w ? *w : picture ? picture->Width() : 0);
    image->FHeight = PixelSize(h ? *h : picture ? picture->Height() : 0);
    Append(std::move(image));
}

void THTMLParser::LinkTag(const Attributes& attrs) {
    if (attrs.empty()) return;
    AppendRunAlways();
    run_->FBoolState |= bsLink;
    run_->FLinkRef = Attr(attrs, u"href");
    run_->FontColor = data_.FLinkColor;
    run_->FontStyle = data_.FLinkStyle;
    data_.FControlsArray.push_back(run_.get());
}

void THTMLParser::EndLinkTag() {
    Flush();
    Forget(run_.get()); // an empty link run kept as the current run is no longer a link
    run_->FBoolState &= ~bsLink;
    run_->FLinkRef.clear();
    const TItemList& list = data_.FArray;
    for (int i = list.Count(); i >= 1; --i) {
        const THTMLItem* item = list.Items(i);
        if (item->IsLink()) continue;
        run_->FontStyle = item->FontStyle;
        run_->FontColor = item->FontColor;
        return;
    }
    run_->FontStyle = data_.FDefaultStyle;
    run_->FontColor = data_.FDefaultColor;
}

void THTMLParser::RuleTag(const Attributes& attrs) {
    Flush();
    Append(CopyOf(*run_, hitBreak));
    auto rule = CopyOf(*run_, hitHR);
    rule->FWidth = PixelSize(ReadInteger(Attr(attrs, u"width")).value_or(0));
    Append(std::move(rule));
    Append(CopyOf(*run_, hitBreak));
}

void THTMLParser::InputTag(const Attributes& attrs) {
    const std::u16string type = LowerCase(Attr(attrs, u"type"));
    if (type != u"checkbox" && type != u"radio") return;
    Flush();
    auto item = CopyOf(*run_, hitInput);
    auto* input = static_cast<THTMLInputItem*>(item.get());
    input->FWidth = input->FHeight = 17;
    input->FInputType = type == u"radio" ? itRadioButton : itCheckBox;
    input->FName = LowerCase(Attr(attrs, u"name"));
    const std::u16string checked = Attr(attrs, u"checked");
    if (!checked.empty()) {
        const auto state = ReadBoolean(checked);
        if (!state) throw std::invalid_argument("input: unreadable checked state");
        input->FChecked = *state;
    }
    input->FValue = Attr(attrs, u"value");
    if (const auto w = ReadInteger(Attr(attrs, u"width"))) input->FWidth = PixelSize(*w);
    if (const auto h = ReadInteger(Attr(attrs, u"height"))) input->FHeight = PixelSize(*h);
    if (input->FInputType == itRadioButton && !input->FName.empty()) {
        auto& groups = data_.FRadioList;
        auto it = std::find(groups.begin(), groups.end(), input->FName);
        if (it == groups.end()) it = groups.insert(groups.end(), input->FName);
        input->FTag = int(it - groups.begin()) + 1;
    }
    data_.FControlsArray.push_back(Append(std::move(item)));
}

void THTMLParser::ControlTag(const Attributes& attrs) {
    static constexpr const char16_t* kClasses[] = {u"TEdit", u"TButton", u"TCheckBox",
                                                   u"TRadioButton"};
    const std::u16string wanted = LowerCase(Attr(attrs, u"vclclass"));
    const char16_t* cls = nullptr;
    for (const char16_t* c : kClasses)
        if (LowerCase(c) == wanted) cls = c;
    if (!cls) return;
    Flush();
    auto item = CopyOf(*run_, hitControl);
    auto* control = static_cast<THTMLControlItem*>(item.get());
    control->FControlClass = cls;
    for (const auto& [key, value] : attrs)
        if (key != u"vclclass") control->FControlPropList.emplace_back(key, Unquote(value));
    THTMLItem* added = Append(std::move(item));
    data_.FControlsArray.push_back(added);
    if (render_.FControlHook) {
        const TTextSize size = render_.FControlHook(*control);
        control->FWidth = std::uint16_t(size.cx);
        control->FHeight = std::uint16_t(size.cy);
    }
}

void THTMLParser::VariableTag(const Attributes& attrs) {
    Flush();
    auto var = CopyOf(*run_, hitVar);
    const std::u16string* name = RawAttr(attrs, u"name");
    if (!name || name->empty()) name = RawAttr(attrs, u"p1");
    std::u16string value = u"~~";
    if (render_.OnVariableNeeded) render_.OnVariableNeeded(&render_, name ? *name : u"", value);
    var->FText = value;
    Append(std::move(var));
    run_->FText = u" ";
    run_->FTWidth = kWidthUnknown;
}

// ---- runs and the list ----------------------------------------------------------------------

bool THTMLParser::HasContent() const {
    return run_->FItemType != hitChar || !run_->FText.empty();
}

std::unique_ptr<THTMLItem> THTMLParser::CopyOf(const THTMLItem& source, THTMLItemType type) const {
    auto item = THTMLItem::Create(&data_, type);
    item->Assign(source);
    return item;
}

void THTMLParser::Flush() {
    if (!HasContent()) return;
    THTMLItem* added = Append(std::move(run_));
    run_ = CopyOf(*added, hitChar);
}

void THTMLParser::AppendRunAlways() {
    THTMLItem* added = Append(std::move(run_));
    run_ = CopyOf(*added, hitChar);
}

void THTMLParser::ReplaceRun(std::unique_ptr<THTMLItem> next) {
    DiscardRun();
    run_ = std::move(next);
}

void THTMLParser::DiscardRun() {
    if (!run_) return;
    Forget(run_.get());
    run_.reset();
}

void THTMLParser::Forget(const THTMLItem* item) {
    // An empty link run may already be listed among the links; it must not stay there.
    auto& links = data_.FControlsArray;
    links.erase(std::remove(links.begin(), links.end(), item), links.end());
}

void THTMLParser::TruncateList(int pos) {
    TItemList& list = data_.FArray;
    for (int i = pos; i <= list.Count(); ++i)
        Forget(list.Items(i));
    list.Truncate(pos);
}

THTMLItem* THTMLParser::Append(std::unique_ptr<THTMLItem> item) {
    return data_.FArray.Add(std::move(item));
}

THTMLBreakItem* THTMLParser::LastBreak() const {
    const TItemList& list = data_.FArray;
    for (int i = list.Count(); i >= 1; --i)
        if (list.Items(i)->IsBreak()) return static_cast<THTMLBreakItem*>(list.Items(i));
    return nullptr;
}

void THTMLParser::RemoveLastHardBreak() {
    TItemList& list = data_.FArray;
    if (THTMLItem* last = list.Last(); last && last->FItemType == hitBreak)
        TruncateList(list.Count());
}

int THTMLParser::MaxCharWidthOf(const THTMLItem& item) const {
    return render_.MeasureFont({item.FFontRef, item.FontHeight, item.FontStyle, data_.FCharset})
        .MaxCharWidth;
}
