// The recordset object: one cursor and one filter over a shared RowTable.
//
// Views. Without a filter a recordset sees every live row of the table in table order,
// rows added by its clones included. A criteria filter is evaluated when it is set: the
// recordset then sees the rows that matched at that moment, plus the rows it adds itself
// afterwards (ADO keeps a row the recordset added on view until the filter is set again),
// minus rows deleted since. A change that makes a row stop matching does not hide it
// until the filter is set again. adFilterPendingRecords (1) shows the rows with pending
// batch changes at the moment it is set, deleted rows included: their values can be read,
// Status tells adRecDeleted, and CancelBatch(adAffectCurrent) takes the deletion back.
//
// Editing. Field writes go to an edit buffer of this recordset; Update copies them into
// the shared rows, where every clone sees them (still pending for the batch). AddNew
// appends a row of Nulls to the shared table at once (so it has a bookmark) and buffers
// the writes like an edit. Moving away from a row with a pending edit or addition
// (Move*, Bookmark, Find, Filter, AddNew, UpdateBatch) updates it first, as ADO does;
// Close and CancelUpdate drop it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/ado.h"
#include "sim/recordset/criteria.h"
#include "sim/recordset/mem_recordset.h"
#include "sim/recordset/row_table.h"

namespace zq::sim {

class MemField;

class MemRecordset final : public ado::Recordset {
  public:
    MemRecordset() = default;  // closed, no fields
    explicit MemRecordset(std::shared_ptr<RowTable> table);

    // Fields
    std::int32_t FieldCount() const override;
    ado::FieldPtr FieldAt(std::int32_t index) const override;
    ado::FieldPtr FieldByName(std::string_view name) const override;
    bool HasField(std::string_view name) const override;
    // rst("X") without a Field object in between: the plug-in reads fields by name on
    // every line of its passes.
    Variant Get(std::string_view name) const override;
    void Set(std::string_view name, const Variant& v) override;
    void AppendField(std::string_view name, std::int32_t type, std::int32_t definedSize,
                     std::int32_t attributes) override;

    // State
    std::int32_t State() const override;
    void Open() override;
    void Close() override;
    std::int32_t EditMode() const override;
    std::int32_t Status() const override;

    // Cursor
    bool BOF() const override;
    bool EOF_() const override;
    std::int32_t RecordCount() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    Variant Bookmark() const override;
    void SetBookmark(const Variant& bookmark) override;
    void Find(std::string_view criteria, std::int32_t skipRecords, std::int32_t searchDirection,
              const Variant& start) override;
    Variant Filter() const override;
    void SetFilter(const Variant& filter) override;
    ado::RecordsetPtr Clone(std::int32_t lockType) override;

    // Editing
    void AddNew() override;
    void Update() override;
    void CancelUpdate() override;
    void Delete(std::int32_t affectRecords) override;
    void UpdateBatch(std::int32_t affectRecords) override;
    void CancelBatch(std::int32_t affectRecords) override;

    void SetLabel(std::string label) { table_->SetLabel(std::move(label)); }

    // Used by MemField.
    const FieldDef& Def(int column) const;
    FieldDef& MutableDef(int column);  // closed recordsets only (3219 otherwise)
    Variant ValueAt(int column) const;
    Variant OriginalValueAt(int column) const;
    void SetValueAt(int column, const Variant& value);
    // The field's Optimize property: 3265 when the cursor does not offer it, 3704 closed.
    bool OptimizeAt(int column) const;
    void SetOptimizeAt(int column, bool optimize);
    void RequireOptimizeOffered() const;

  private:
    enum class Where { Bof, Row, Eof };
    enum class FilterKind { None, Criteria, Pending };

    void RequireOpen() const;
    const std::vector<FieldDef>& Defs() const;
    int Lookup(std::string_view name) const;
    ado::FieldPtr FieldObject(int column) const;

    // View positions: 0 .. ViewSize()-1.
    bool Filtered() const { return filterKind_ != FilterKind::None; }
    std::size_t ViewSize() const;
    RowId IdAt(std::size_t pos) const;
    bool LiveAt(std::size_t pos) const;
    bool OnView(const RowRec& rec) const;
    bool PositionOf(RowId id, std::size_t& pos) const;
    // The first live position from `from` stepping by `step` (+1/-1); false when none.
    bool Seek(std::ptrdiff_t from, int step, std::size_t& pos) const;
    void StandOnFirst();
    // The first position from `from` stepping by `step` whose row matches the clause.
    bool SearchView(const Clause& clause, std::ptrdiff_t from, int step, std::size_t& pos) const;
    RowId CurrentId() const;  // requires where_ == Row
    std::vector<RowId> Scope(std::int32_t affectRecords, bool pendingOnly) const;

    // "<label>.<operation>", the fault plan's site of a call on this recordset.
    std::string_view Site(std::string_view operation) const;

    // Commits a pending edit or addition before the cursor moves.
    void CommitEdit();
    void DropEdit();

    std::shared_ptr<RowTable> table_;  // null while closed
    std::vector<FieldDef> closedDefs_;
    mutable std::vector<std::shared_ptr<MemField>> fieldObjects_;

    FilterKind filterKind_ = FilterKind::None;
    Variant filterValue_;
    std::vector<RowId> view_;  // the filtered view, in table order

    Where where_ = Where::Eof;
    std::size_t pos_ = 0;

    std::int32_t editMode_ = ado::adEditNone;
    RowId editRow_ = 0;
    std::vector<std::pair<int, Variant>> edits_;
    Where beforeAddWhere_ = Where::Eof;  // where CancelUpdate returns after AddNew
    std::size_t beforeAddPos_ = 0;
};

}  // namespace zq::sim
