#include "sim/db/statement_cache.h"

#include <utility>

namespace zq::sim {

namespace {

bool OnlyBlanks(const char* from, const char* to) {
    for (; from < to; ++from) {
        if (*from != ' ' && *from != '\t' && *from != '\r' && *from != '\n' && *from != ';')
            return false;
    }
    return true;
}

}  // namespace

StatementCache::Lease::~Lease() {
    if (!stmt_) return;
    if (inUse_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        *inUse_ = false;
    } else {
        sqlite3_finalize(stmt_);
    }
}

StatementCache::Lease::Lease(Lease&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), inUse_(std::exchange(other.inUse_, nullptr)) {}

StatementCache::~StatementCache() {
    for (auto& [text, entry] : entries_) sqlite3_finalize(entry->stmt);
}

int StatementCache::Prepare(sqlite3* db, std::string_view text, const char** tail, Lease& lease) {
    const char* end = text.data() + text.size();
    const auto found = entries_.find(text);
    if (found != entries_.end() && !found->second->inUse) {
        Entry& e = *found->second;
        e.inUse = true;
        e.lastUse = ++clock_;
        lease.stmt_ = e.stmt;
        lease.inUse_ = &e.inUse;
        *tail = end;
        return SQLITE_OK;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.data(), static_cast<int>(text.size()), &stmt, tail);
    if (rc != SQLITE_OK || !stmt) {
        sqlite3_finalize(stmt);
        return rc;
    }
    // Only a text that is one whole statement is kept: its text is its key. A text running
    // now (a procedure that runs the text of its caller) gets a statement of its own.
    if (found != entries_.end() || !OnlyBlanks(*tail, end)) {
        lease.stmt_ = stmt;
        return SQLITE_OK;
    }
    MakeRoom();
    auto entry = std::make_unique<Entry>();
    entry->stmt = stmt;
    entry->inUse = true;
    entry->lastUse = ++clock_;
    lease.stmt_ = stmt;
    lease.inUse_ = &entry->inUse;
    entries_.emplace(std::string(text), std::move(entry));
    return SQLITE_OK;
}

// Drops the statement used longest ago among those not running.
void StatementCache::MakeRoom() {
    while (entries_.size() >= capacity_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (!it->second->inUse &&
                (oldest == entries_.end() || it->second->lastUse < oldest->second->lastUse))
                oldest = it;
        }
        if (oldest == entries_.end()) return;
        sqlite3_finalize(oldest->second->stmt);
        entries_.erase(oldest);
    }
}

}  // namespace zq::sim
