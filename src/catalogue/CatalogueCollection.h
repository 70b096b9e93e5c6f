#pragma once

#include "CatalogueError.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

namespace velora::catalogue {

// An ordered collection of shared records under text keys. Keys are compared without regard to
// letter case ("abc" and "ABC" are the same key) but are otherwise exact text: "7" and "07" are
// different keys. Iteration follows the order of adding. Lookups hash the upper-cased key, so a
// catalogue of many thousands of users is searched in constant time.
//
// The index hashes with FNV-1a over the UTF-16 units: the keys are short ids, and this hash costs
// a fraction of qHash's on them, which counts when a load adds ten thousand users.
struct FoldedKeyHash {
    std::size_t operator()(const QString& key) const noexcept {
        std::size_t hash = 14695981039346656037ull;
        for (const QChar unit : key) {
            hash ^= unit.unicode();
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

template <typename T> class CatalogueCollection {
public:
    using Pointer = std::shared_ptr<T>;
    using const_iterator = typename std::vector<Pointer>::const_iterator;

    // Throws CatalogueError 457 when the key is already taken.
    void add(const QString& key, Pointer item) {
        if (!index_.try_emplace(foldKey(key), items_.size()).second)
            throw CatalogueError(
                CatalogueErrorNumber::DuplicateKey,
                QStringLiteral(
                    "This key is already associated with an element of this collection"));
        keys_.push_back(key);
        items_.push_back(std::move(item));
    }

    // Makes room for a number of records in advance (a load knows its row count).
    void reserve(std::size_t capacity) {
        index_.reserve(capacity);
        keys_.reserve(capacity);
        items_.reserve(capacity);
    }

    // Throws CatalogueError 5 when nothing is stored under the key.
    void remove(const QString& key) {
        const auto found = index_.find(foldKey(key));
        if (found == index_.end())
            throwMissingKey(key);
        const std::size_t position = found->second;
        index_.erase(found);
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(position));
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
        // Items behind the removed one moved up by one place.
        for (std::size_t i = position; i < keys_.size(); ++i)
            index_[foldKey(keys_[i])] = i;
    }

    void clear() {
        index_.clear();
        keys_.clear();
        items_.clear();
    }

    int count() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    bool contains(const QString& key) const { return index_.count(foldKey(key)) != 0; }

    // The record under the key, or nullptr when there is none.
    Pointer find(const QString& key) const {
        const auto found = index_.find(foldKey(key));
        return found == index_.end() ? nullptr : items_[found->second];
    }

    // The record at a 1-based position; throws CatalogueError 9 outside 1..count().
    const Pointer& item(int position) const {
        checkPosition(position);
        return items_[static_cast<std::size_t>(position - 1)];
    }

    // The key a record was added under, as it was given; 1-based like item().
    const QString& key(int position) const {
        checkPosition(position);
        return keys_[static_cast<std::size_t>(position - 1)];
    }

    const_iterator begin() const { return items_.cbegin(); }
    const_iterator end() const { return items_.cend(); }

private:
    static QString foldKey(const QString& key) { return key.toUpper(); }

    [[noreturn]] static void throwMissingKey(const QString& key) {
        throw CatalogueError(CatalogueErrorNumber::InvalidArgument,
                             QStringLiteral("Invalid procedure call or argument: no element "
                                            "under the key \"") +
                                 key + QStringLiteral("\""));
    }

    void checkPosition(int position) const {
        if (position < 1 || position > count())
            throw CatalogueError(CatalogueErrorNumber::SubscriptOutOfRange,
                                 QStringLiteral("Subscript out of range"));
    }

    std::unordered_map<QString, std::size_t, FoldedKeyHash> index_; // upper-cased key -> position
    std::vector<QString> keys_;                                     // keys as given, in order
    std::vector<Pointer> items_;                                    // records, in order
};

// The record stored under the key, or nullptr when the key is missing (never an error). Every
// catalogue lookup goes through here.
template <typename T>
std::shared_ptr<T> GetObjectFromCollection(const CatalogueCollection<T>& collection,
                                           const QString& key) {
    return collection.find(key);
}

} // namespace velora::catalogue
