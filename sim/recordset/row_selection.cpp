#include "sim/recordset/row_selection.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace zq::sim {

namespace {

std::atomic<std::uint64_t> rowsExamined{0};

bool AnsweredByIndex(const RowTable& table, const Clause& clause) {
    return clause.op == CompareOp::Equal && !clause.value.isNull && table.Indexed(clause.column);
}

}  // namespace

std::uint64_t RowsExamined() {
    return rowsExamined.load(std::memory_order_relaxed);
}

void NoteRowsExamined(std::size_t rows) {
    rowsExamined.fetch_add(rows, std::memory_order_relaxed);
}

std::vector<RowId> SelectRows(const RowTable& table, const Criteria& criteria) {
    // One indexed equality per OR-branch narrows that branch to its bucket; a branch
    // without one could match any row, and then every row is read.
    std::vector<const Clause*> keys;
    for (const auto& group : criteria.anyOf) {
        const auto key = std::find_if(group.begin(), group.end(),
                                      [&](const Clause& c) { return AnsweredByIndex(table, c); });
        if (key == group.end()) break;
        keys.push_back(&*key);
    }

    std::vector<RowId> out;
    if (!keys.empty() && keys.size() == criteria.anyOf.size()) {
        // The first branch's bucket as it is (a per-line filter has one branch), the
        // others merged into it.
        std::vector<RowId> candidates = table.EqualRows(keys.front()->column, keys.front()->value);
        for (std::size_t k = 1; k < keys.size(); ++k) {
            const std::vector<RowId> bucket = table.EqualRows(keys[k]->column, keys[k]->value);
            std::vector<RowId> merged;
            merged.reserve(candidates.size() + bucket.size());
            std::set_union(candidates.begin(), candidates.end(), bucket.begin(), bucket.end(),
                           std::back_inserter(merged));
            candidates = std::move(merged);
        }
        for (RowId id : candidates) {
            if (Matches(criteria, [&](int c) { return table.View(id, c); })) out.push_back(id);
        }
        return out;
    }
    NoteRowsExamined(table.Size());
    for (RowId id = 1; id <= table.Size(); ++id) {
        if (table.At(id).Live() && Matches(criteria, [&](int c) { return table.View(id, c); }))
            out.push_back(id);
    }
    return out;
}

std::optional<std::vector<RowId>> IndexedCandidates(const RowTable& table, const Clause& clause) {
    if (!AnsweredByIndex(table, clause)) return std::nullopt;
    return table.EqualRows(clause.column, clause.value);
}

}  // namespace zq::sim
