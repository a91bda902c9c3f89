// The rows a recordset and all its clones share, with their pending batch state.
//
// Rows are never moved or erased: a row's id (its 1-based place in the table) is its
// bookmark in every clone. A row removed for good (its delete written, its insert
// cancelled) stays behind as a tombstone that no view shows.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/cell_store.h"
#include "sim/recordset/criteria.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

using RowId = std::uint32_t;

// A row's values are cells of the table's CellStore, one per field.
struct RowRec {
    CellRow values;
    CellRow original;       // the row as fetched; kept from its first change on
    bool inserted = false;  // added since the last batch write
    bool modified = false;  // changed since the last batch write (never set on inserted rows)
    bool deleted = false;   // deleted, waiting for the batch write
    bool gone = false;      // tombstone
    bool Live() const { return !deleted && !gone; }
    bool Pending() const { return !gone && (inserted || modified || deleted); }
};

// Adds to RowsExamined (mem_recordset.h): rows read to answer a Filter or a Find.
void NoteRowsExamined(std::size_t rows);

class RowTable {
  public:
    RowTable(std::vector<FieldDef> fields, std::vector<Row> rows,
             std::shared_ptr<BatchWriter> writer, CursorOptions cursor = {});

    const std::vector<FieldDef>& Fields() const { return fields_; }
    // The name the rows go by in fault sites: their table, or "query".
    const std::string& Label() const { return label_; }
    void SetLabel(std::string label) {
        label_ = std::move(label);
        sites_.clear();
    }
    // "<label>.<operation>", made once per operation: every cursor move names its site.
    std::string_view Site(std::string_view operation) const;
    int FindField(std::string_view name) const;  // -1 when unknown

    std::size_t Size() const { return rows_.size(); }
    const RowRec& At(RowId id) const { return rows_[id - 1]; }
    bool Valid(RowId id) const { return id >= 1 && id <= rows_.size(); }
    std::size_t LiveCount() const { return live_; }

    // Values of a row: as it stands, as fetched (the kept original of a changed row), and
    // what matching reads of one.
    Variant Value(RowId id, int column) const;
    Variant FetchedValue(RowId id, int column) const;
    ValueView View(RowId id, int column) const;

    // Building the rows of a query (RowsBuilder): a row as fetched, a value of one replaced
    // as fetched, a field's definition, and the writer and cursor once the rows are in.
    void AppendFetched(const Row& row);
    void SetFetched(RowId id, int column, const Variant& value);
    void SetFieldDef(std::size_t column, FieldDef def);
    void Attach(std::shared_ptr<BatchWriter> writer, CursorOptions cursor);

    RowId Append();  // a row of Nulls, marked inserted
    void SetValue(RowId id, int column, Variant value);
    void MarkDeleted(RowId id);  // an inserted row becomes a tombstone at once
    void MarkGone(RowId id);     // an insert that never happened (AddNew cancelled)

    std::vector<RowId> PendingRows() const;  // in table order
    // Hands the pending changes of `ids` (in table order; rows without pending changes are
    // passed over) to the writer, or just clears them without one.
    void WriteBatch(const std::vector<RowId>& ids);
    void CancelBatch(const std::vector<RowId>& ids);

    // Per-column indexes, as a client cursor keeps them for the fields whose Optimize
    // property is True: built when it is set, dropped when it is cleared, kept up to date by
    // every change of the column in between. They belong to the rows, so every clone
    // shares them. Building one reads every row (noted in RowsExamined).
    bool OffersOptimize() const { return cursor_.offersOptimize; }
    bool Indexed(int column) const { return indexes_[static_cast<std::size_t>(column)] != nullptr; }
    void SetIndexed(int column, bool indexed);
    // Live rows whose indexed `column` equals the literal, in table order.
    std::vector<RowId> EqualRows(int column, const Literal& value) const;

  private:
    struct ColumnIndex {
        std::unordered_map<std::string, std::vector<RowId>> buckets;
    };

    void ChangeCell(RowId id, int column, Cell cell);
    CellRow Pack(const Row& row);
    CellRow Copy(const CellRow& cells) const;
    Row Unpack(const CellRow& cells) const;

    std::vector<FieldDef> fields_;
    // Names compare without regard to case; looked up by string_view without copying.
    struct FoldHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct FoldEq {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string, int, FoldHash, FoldEq> byName_;
    // The same names as written: the plug-in names fields as the table does, and this
    // answers those lookups without folding every character twice.
    struct ExactHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, int, ExactHash, std::equal_to<>> exactName_;
    CellStore cells_;
    std::vector<RowRec> rows_;
    std::size_t live_ = 0;
    std::set<RowId> pending_;
    std::vector<std::unique_ptr<ColumnIndex>> indexes_;
    std::shared_ptr<BatchWriter> writer_;
    std::string label_ = "Recordset";
    // Operation -> site; a deque, so that a site handed out stays where it is.
    mutable std::deque<std::pair<std::string, std::string>> sites_;
    CursorOptions cursor_;
};

}  // namespace zq::sim
