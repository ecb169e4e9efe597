#pragma once
// An ordered collection of owned items, reached by 1-based position or by a
// unique string key. Items keep the order in which they were added. An item
// carries its key (T::Key); the index is the items sorted by key, eight bytes
// an item, so a large test holds no second copy of its keys and no hash
// nodes. Keys sort by length first: the generated keys ("q9", "q10") come in
// rising order, and each new item goes to the end of the index.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvane {

template <typename T>
class KeyedCollection {
public:
    KeyedCollection() = default;
    KeyedCollection(const KeyedCollection&) = delete;
    KeyedCollection& operator=(const KeyedCollection&) = delete;
    KeyedCollection(KeyedCollection&&) noexcept = default;
    KeyedCollection& operator=(KeyedCollection&&) noexcept = default;

    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }

    // Appends the item under `key`; a key already present is an error.
    T& Add(const std::string& key, std::unique_ptr<T> item)
    {
        if (!item)
            throw std::invalid_argument("null item");
        const auto at = LowerBound(key);
        if (at != byKey_.end() && (*at)->Key == key)
            throw std::invalid_argument("duplicate key: " + key);
        item->Key = key;
        const auto place = at - byKey_.begin();
        items_.push_back(std::move(item));
        try {
            byKey_.insert(byKey_.begin() + place, items_.back().get());
        } catch (...) {
            items_.pop_back();
            throw;
        }
        return *items_.back();
    }

    bool Contains(const std::string& key) const { return Find(key) != nullptr; }

    // Position 1..Count(); anything else throws std::out_of_range.
    T& Item(std::size_t position) { return const_cast<T&>(std::as_const(*this).Item(position)); }
    const T& Item(std::size_t position) const
    {
        if (position < 1 || position > items_.size())
            throw std::out_of_range("collection position out of range");
        return *items_[position - 1];
    }

    // A key not in the collection throws std::out_of_range.
    T& Item(const std::string& key) { return const_cast<T&>(std::as_const(*this).Item(key)); }
    const T& Item(const std::string& key) const
    {
        const T* item = Find(key);
        if (!item)
            throw std::out_of_range("no item with key " + key);
        return *item;
    }

    // Removes and releases the item; a key not in the collection throws.
    void Remove(const std::string& key) { Take(key); }

    // Removes the item and gives it to the caller; a key not in the
    // collection throws.
    std::unique_ptr<T> Take(const std::string& key)
    {
        const auto at = LowerBound(key);
        if (at == byKey_.end() || (*at)->Key != key)
            throw std::out_of_range("no item with key " + key);
        T* target = *at;
        byKey_.erase(at);
        const auto owner = std::find_if(items_.begin(), items_.end(),
                                        [target](const std::unique_ptr<T>& p) { return p.get() == target; });
        std::unique_ptr<T> item = std::move(*owner);
        items_.erase(owner);
        return item;
    }

    void Clear()
    {
        items_.clear();
        byKey_.clear();
    }

    // Iteration in collection order, yielding references.
    class ConstIterator {
    public:
        using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit ConstIterator(Inner it) : it_(it) {}
        const T& operator*() const { return **it_; }
        const T* operator->() const { return it_->get(); }
        ConstIterator& operator++() { ++it_; return *this; }
        bool operator!=(const ConstIterator& other) const { return it_ != other.it_; }
        bool operator==(const ConstIterator& other) const { return it_ == other.it_; }
    private:
        Inner it_;
    };
    class Iterator {
    public:
        using Inner = typename std::vector<std::unique_ptr<T>>::iterator;
        explicit Iterator(Inner it) : it_(it) {}
        T& operator*() const { return **it_; }
        T* operator->() const { return it_->get(); }
        Iterator& operator++() { ++it_; return *this; }
        bool operator!=(const Iterator& other) const { return it_ != other.it_; }
        bool operator==(const Iterator& other) const { return it_ == other.it_; }
    private:
        Inner it_;
    };
    ConstIterator begin() const { return ConstIterator(items_.begin()); }
    ConstIterator end() const { return ConstIterator(items_.end()); }
    Iterator begin() { return Iterator(items_.begin()); }
    Iterator end() { return Iterator(items_.end()); }

private:
    static bool KeyLess(std::string_view a, std::string_view b)
    {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
    typename std::vector<T*>::const_iterator LowerBound(std::string_view key) const
    {
        return std::lower_bound(byKey_.begin(), byKey_.end(), key,
                                [](const T* item, std::string_view k) { return KeyLess(item->Key, k); });
    }
    const T* Find(std::string_view key) const
    {
        const auto at = LowerBound(key);
        return at != byKey_.end() && (*at)->Key == key ? *at : nullptr;
    }

    std::vector<std::unique_ptr<T>> items_;
    std::vector<T*> byKey_; // the items sorted by key
};

} // namespace mirvane
