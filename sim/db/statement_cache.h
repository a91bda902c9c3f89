// Prepared statements of a connection kept by their text, so that a text run again is not
// compiled again: the host's save runs one UPDATE per changed row, almost always one of a
// few texts with new parameter values.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zq::sim {

class StatementCache {
  public:
    // One statement in use: a cached one is reset and its parameters cleared when the lease
    // ends, an uncached one finalized.
    class Lease {
      public:
        Lease() = default;
        ~Lease();
        Lease(Lease&& other) noexcept;
        Lease& operator=(Lease&&) = delete;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        sqlite3_stmt* get() const { return stmt_; }

      private:
        friend class StatementCache;
        sqlite3_stmt* stmt_ = nullptr;
        bool* inUse_ = nullptr;  // the cache entry's mark; null for an uncached statement
    };

    explicit StatementCache(std::size_t capacity = 64) : capacity_(capacity) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // Prepares the first statement of `text`, from the cache when `text` is exactly one
    // statement run before (and not running now). `*tail` receives where the next statement
    // of the text begins. Returns SQLite's result code; the lease holds no statement when
    // only blanks or comments were left.
    int Prepare(sqlite3* db, std::string_view text, const char** tail, Lease& lease);

    std::size_t Size() const { return entries_.size(); }

  private:
    struct Entry {
        sqlite3_stmt* stmt = nullptr;
        std::uint64_t lastUse = 0;
        bool inUse = false;
    };
    void MakeRoom();

    std::size_t capacity_;
    std::uint64_t clock_ = 0;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, std::unique_ptr<Entry>, TextHash, std::equal_to<>> entries_;
};

}  // namespace zq::sim
