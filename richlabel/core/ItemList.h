// The ordered item list of a parsed text (positions 1 to Count) and the formatting stack.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "richlabel/core/HtmlItems.h"

class TItemList {
  public:
    int Count() const { return int(items_.size()); }
    bool Empty() const { return items_.empty(); }
    // The item at a position from 1 to Count; nullptr outside that range.
    THTMLItem* Items(int pos) const {
        return pos >= 1 && pos <= Count() ? items_[std::size_t(pos - 1)].get() : nullptr;
    }
    THTMLItem* First() const { return Items(1); }
    THTMLItem* Last() const { return Items(Count()); }

    THTMLItem* Add(std::unique_ptr<THTMLItem> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    THTMLItem* Insert(int pos, std::unique_ptr<THTMLItem> item) {
        auto at = items_.begin() + (pos < 1 ? 0 : pos > Count() ? Count() : pos - 1);
        return items_.insert(at, std::move(item))->get();
    }
    // Takes the item at a position out of the list and hands it back.
    std::unique_ptr<THTMLItem> Extract(int pos) {
        if (pos < 1 || pos > Count()) return nullptr;
        auto it = items_.begin() + (pos - 1);
        std::unique_ptr<THTMLItem> item = std::move(*it);
        items_.erase(it);
        return item;
    }
    // Removes the items from a position to the end.
    void Truncate(int pos) {
        if (pos >= 1 && pos <= Count()) items_.resize(std::size_t(pos - 1));
    }
    void Clear() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::unique_ptr<THTMLItem>> items_;
};

class TFontStack {
  public:
    void Push(const TFontSettings& s) { items_.push_back(s); }
    TFontSettings Pop() {
        TFontSettings s = items_.back();
        items_.pop_back();
        return s;
    }
    const TFontSettings& Peek() const { return items_.back(); }
    bool Empty() const { return items_.empty(); }

  private:
    std::vector<TFontSettings> items_;
};
