// Field values, edits, additions, deletions and the batch (UpdateBatch, CancelBatch).
#include <algorithm>

#include "sim/fault/fault_plan.h"
#include "sim/recordset/ado_errors.h"
#include "sim/recordset/recordset_impl.h"

namespace zq::sim {

namespace {

// A value written into a field takes the field's type, as ADO converts it; Empty becomes
// Null. Conversion failures raise the host's type-mismatch (13) or overflow (6) errors.
// Texts are not cut to DefinedSize, and dates are taken as given unless they are numbers.
Variant Coerce(std::int32_t type, const Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return Variant::Null();
    switch (type) {
        case ado::adSmallInt:
        case ado::adTinyInt:
            return Variant::Int16(v.ToInt());
        case ado::adInteger:
            return Variant::Int32(v.ToLong());
        case ado::adSingle:
        case ado::adDouble:
        case ado::adCurrency:
        case ado::adDecimal:
        case ado::adNumeric:
        case ado::adBigInt:
            return Variant(v.ToDouble());
        case ado::adBoolean:
            return Variant::Bool(v.ToBool());
        case ado::adDate:
        case ado::adDBTimeStamp:
            if (v.Type() == VarType::Date || v.IsString()) return v;
            return Variant::Date(v.ToDouble());
        case ado::adChar:
        case ado::adVarChar:
        case ado::adLongVarChar:
        case ado::adVarWChar:
        case ado::adLongVarWChar:
        case ado::adGUID:
            return Variant(v.ToString());
        default:
            return v;
    }
}

}  // namespace

// ---- values ---------------------------------------------------------------------------

Variant MemRecordset::ValueAt(int column) const {
    RequireOpen();
    if (where_ != Where::Row) RaiseBofEof();
    const RowId id = CurrentId();
    const RowRec& rec = table_->At(id);
    if (!OnView(rec)) RaiseBofEof();
    if (editMode_ != ado::adEditNone && editRow_ == id) {
        for (const auto& [c, v] : edits_) {
            if (c == column) return v;
        }
    }
    return table_->Value(id, column);
}

// The value as fetched: the kept original of a changed row, the value itself of an
// unchanged one, Null for a row added since the last batch.
Variant MemRecordset::OriginalValueAt(int column) const {
    RequireOpen();
    if (where_ != Where::Row) RaiseBofEof();
    const RowRec& rec = table_->At(CurrentId());
    if (rec.gone) RaiseBofEof();
    if (rec.inserted) return Variant::Null();
    return table_->FetchedValue(CurrentId(), column);
}

void MemRecordset::SetValueAt(int column, const Variant& value) {
    RequireOpen();
    if (where_ != Where::Row) RaiseBofEof();
    const RowId id = CurrentId();
    if (!table_->At(id).Live()) RaiseBofEof();
    Variant v = Coerce(Def(column).type, value);
    if (editMode_ == ado::adEditNone) {
        editMode_ = ado::adEditInProgress;
        editRow_ = id;
    }
    for (auto& [c, old] : edits_) {
        if (c == column) {
            old = std::move(v);
            return;
        }
    }
    edits_.emplace_back(column, std::move(v));
}

std::int32_t MemRecordset::Status() const {
    RequireOpen();
    if (where_ != Where::Row) RaiseBofEof();
    const RowId id = CurrentId();
    const RowRec& rec = table_->At(id);
    if (rec.gone) RaiseBofEof();
    if (rec.deleted) return ado::adRecDeleted;
    if (rec.inserted || (editMode_ == ado::adEditAdd && editRow_ == id)) return ado::adRecNew;
    if (rec.modified || (editMode_ == ado::adEditInProgress && editRow_ == id))
        return ado::adRecModified;
    return ado::adRecUnmodified;
}

std::int32_t MemRecordset::EditMode() const {
    RequireOpen();
    if (editMode_ != ado::adEditNone) return editMode_;
    if (where_ == Where::Row && table_->At(CurrentId()).deleted) return ado::adEditDelete;
    return ado::adEditNone;
}

// ---- edit and add ---------------------------------------------------------------------

void MemRecordset::CommitEdit() {
    if (editMode_ == ado::adEditNone) return;
    for (auto& [c, v] : edits_) table_->SetValue(editRow_, c, std::move(v));
    edits_.clear();
    editMode_ = ado::adEditNone;
    editRow_ = 0;
}

void MemRecordset::DropEdit() {
    if (editMode_ == ado::adEditAdd) table_->MarkGone(editRow_);
    edits_.clear();
    editMode_ = ado::adEditNone;
    editRow_ = 0;
}

void MemRecordset::Update() {
    FaultPoint point(FaultKind::Write, Site("Update"));
    RequireOpen();
    CommitEdit();
}

void MemRecordset::CancelUpdate() {
    RequireOpen();
    const bool adding = editMode_ == ado::adEditAdd;
    const RowId added = editRow_;
    DropEdit();
    if (adding) {
        // Back to the row that was current before AddNew; the cancelled row leaves the view.
        if (Filtered() && !view_.empty() && view_.back() == added) view_.pop_back();
        where_ = beforeAddWhere_;
        pos_ = beforeAddPos_;
    }
}

void MemRecordset::AddNew() {
    FaultPoint point(FaultKind::Write, Site("AddNew"));
    RequireOpen();
    CommitEdit();
    beforeAddWhere_ = where_;
    beforeAddPos_ = pos_;
    const RowId id = table_->Append();
    if (Filtered()) {
        view_.push_back(id);  // ids grow, so the view stays in table order
        pos_ = view_.size() - 1;
    } else {
        pos_ = id - 1;
    }
    where_ = Where::Row;
    editMode_ = ado::adEditAdd;
    editRow_ = id;
}

// ---- delete and batch -----------------------------------------------------------------

// The rows an AffectEnum value names, in table order:
// adAffectCurrent the current row; adAffectGroup the rows of a FilterGroupEnum filter;
// adAffectAll the rows of a criteria filter's view (every row without one, or with a
// FilterGroupEnum filter); adAffectAllChapters every row whatever the filter.
// With `pendingOnly` the "every row" cases list only the rows with pending changes (all
// that a batch looks at), which keeps a batch over a large, mostly clean table cheap.
std::vector<RowId> MemRecordset::Scope(std::int32_t affectRecords, bool pendingOnly) const {
    auto everyRow = [&] {
        if (pendingOnly) return table_->PendingRows();
        std::vector<RowId> all(table_->Size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<RowId>(i + 1);
        return all;
    };
    switch (affectRecords) {
        case ado::adAffectCurrent:
            if (where_ != Where::Row) RaiseBofEof();
            return {CurrentId()};
        case ado::adAffectGroup:
            if (filterKind_ != FilterKind::Pending) {
                RaiseArgumentsWrong("adAffectGroup needs a FilterGroupEnum filter");
            }
            return view_;
        case ado::adAffectAll:
            if (filterKind_ == FilterKind::Criteria) return view_;
            return everyRow();
        case ado::adAffectAllChapters:
            return everyRow();
        default:
            RaiseArgumentsWrong("unknown AffectEnum value");
    }
}

// Deleting the current row leaves it current (fields then raise 3021) until the cursor
// moves; a pending edit of it is dropped, and deleting a row added since the last batch
// removes it for good.
void MemRecordset::Delete(std::int32_t affectRecords) {
    FaultPoint point(FaultKind::Write, Site("Delete"));
    RequireOpen();
    if (affectRecords == ado::adAffectCurrent) {
        if (where_ != Where::Row) RaiseBofEof();
        const RowId id = CurrentId();
        if (!table_->At(id).Live()) RaiseBofEof();
        if (editRow_ == id) DropEdit();
        table_->MarkDeleted(id);
        return;
    }
    CommitEdit();
    for (RowId id : Scope(affectRecords, false)) table_->MarkDeleted(id);
}

void MemRecordset::UpdateBatch(std::int32_t affectRecords) {
    FaultPoint point(FaultKind::Write, Site("UpdateBatch"));
    RequireOpen();
    CommitEdit();  // ADO calls Update first when an edit is pending
    table_->WriteBatch(Scope(affectRecords, true));
}

void MemRecordset::CancelBatch(std::int32_t affectRecords) {
    RequireOpen();
    if (editMode_ != ado::adEditNone) CancelUpdate();
    table_->CancelBatch(Scope(affectRecords, true));
}

}  // namespace zq::sim
