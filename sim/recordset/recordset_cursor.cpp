// Fields, state, cursor movement, bookmarks, filters, Find and Clone.
#include <algorithm>
#include <optional>

#include "sim/fault/fault_plan.h"
#include "sim/recordset/ado_errors.h"
#include "sim/recordset/field_impl.h"
#include "sim/recordset/recordset_impl.h"
#include "sim/recordset/row_selection.h"

namespace zq::sim {

MemRecordset::MemRecordset(std::shared_ptr<RowTable> table) : table_(std::move(table)) {
    StandOnFirst();
}

// ---- fields ---------------------------------------------------------------------------

void MemRecordset::RequireOpen() const {
    if (!table_) RaiseClosed();
}

const std::vector<FieldDef>& MemRecordset::Defs() const {
    return table_ ? table_->Fields() : closedDefs_;
}

int MemRecordset::Lookup(std::string_view name) const {
    if (table_) return table_->FindField(name);
    for (std::size_t i = 0; i < closedDefs_.size(); ++i) {
        if (CompareText(closedDefs_[i].name, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

const FieldDef& MemRecordset::Def(int column) const {
    const auto& defs = Defs();
    if (column < 0 || static_cast<std::size_t>(column) >= defs.size()) {
        RaiseItemNotFound(std::to_string(column));
    }
    return defs[static_cast<std::size_t>(column)];
}

FieldDef& MemRecordset::MutableDef(int column) {
    if (table_) RaiseNotAllowed("field properties are read-only while the recordset is open");
    if (column < 0 || static_cast<std::size_t>(column) >= closedDefs_.size()) {
        RaiseItemNotFound(std::to_string(column));
    }
    return closedDefs_[static_cast<std::size_t>(column)];
}

ado::FieldPtr MemRecordset::FieldObject(int column) const {
    const auto c = static_cast<std::size_t>(column);
    if (fieldObjects_.size() <= c) fieldObjects_.resize(Defs().size());
    auto& f = fieldObjects_[c];
    if (!f)
        f = std::make_shared<MemField>(std::const_pointer_cast<Object>(shared_from_this()), column);
    return f;
}

std::int32_t MemRecordset::FieldCount() const {
    return static_cast<std::int32_t>(Defs().size());
}

ado::FieldPtr MemRecordset::FieldAt(std::int32_t index) const {
    if (index < 0 || index >= FieldCount()) RaiseItemNotFound(std::to_string(index));
    return FieldObject(index);
}

ado::FieldPtr MemRecordset::FieldByName(std::string_view name) const {
    const int column = Lookup(name);
    if (column < 0) RaiseItemNotFound(name);
    return FieldObject(column);
}

bool MemRecordset::HasField(std::string_view name) const {
    return Lookup(name) >= 0;
}

Variant MemRecordset::Get(std::string_view name) const {
    const int column = Lookup(name);
    if (column < 0) RaiseItemNotFound(name);
    return ValueAt(column);
}

void MemRecordset::Set(std::string_view name, const Variant& v) {
    const int column = Lookup(name);
    if (column < 0) RaiseItemNotFound(name);
    SetValueAt(column, v);
}

void MemRecordset::AppendField(std::string_view name, std::int32_t type, std::int32_t definedSize,
                               std::int32_t attributes) {
    if (table_) RaiseNotAllowed("Fields.Append on an open recordset");
    if (name.empty()) RaiseArgumentsWrong("a field needs a name");
    if (Lookup(name) >= 0) RaiseArgumentsWrong("field " + std::string(name) + " already exists");
    FieldDef def;
    def.name = std::string(name);
    def.type = type;
    def.definedSize = definedSize;
    if (attributes != ado::adFldUnspecified) def.attributes = attributes;
    closedDefs_.push_back(std::move(def));
}

// ---- state ----------------------------------------------------------------------------

std::int32_t MemRecordset::State() const {
    return table_ ? ado::adStateOpen : ado::adStateClosed;
}

void MemRecordset::Open() {
    if (table_) RaiseNotAllowed("the recordset is already open");
    if (closedDefs_.empty()) RaiseArgumentsWrong("a recordset without source needs fields");
    table_ = std::make_shared<RowTable>(closedDefs_, std::vector<Row>{}, nullptr);
    closedDefs_.clear();
    filterKind_ = FilterKind::None;
    filterValue_ = Variant();
    view_.clear();
    StandOnFirst();
}

void MemRecordset::Close() {
    RequireOpen();
    DropEdit();
    closedDefs_ = table_->Fields();
    table_.reset();
    filterKind_ = FilterKind::None;
    filterValue_ = Variant();
    view_.clear();
    where_ = Where::Eof;
}

// ---- view and cursor ------------------------------------------------------------------

std::size_t MemRecordset::ViewSize() const {
    return Filtered() ? view_.size() : table_->Size();
}

RowId MemRecordset::IdAt(std::size_t pos) const {
    return Filtered() ? view_[pos] : static_cast<RowId>(pos + 1);
}

std::string_view MemRecordset::Site(std::string_view operation) const {
    thread_local const RowTable unlabelled({}, {}, nullptr);
    return (table_ ? *table_ : unlabelled).Site(operation);
}

bool MemRecordset::LiveAt(std::size_t pos) const {
    return OnView(table_->At(IdAt(pos)));
}

// The pending-records filter shows the rows deleted since the last batch as well, as ADO
// does, so that their deletion can be looked at and cancelled row by row.
bool MemRecordset::OnView(const RowRec& rec) const {
    return filterKind_ == FilterKind::Pending ? !rec.gone : rec.Live();
}

bool MemRecordset::PositionOf(RowId id, std::size_t& pos) const {
    if (!Filtered()) {
        pos = id - 1;
        return true;
    }
    const auto it = std::lower_bound(view_.begin(), view_.end(), id);
    if (it == view_.end() || *it != id) return false;
    pos = static_cast<std::size_t>(it - view_.begin());
    return true;
}

bool MemRecordset::Seek(std::ptrdiff_t from, int step, std::size_t& pos) const {
    const auto size = static_cast<std::ptrdiff_t>(ViewSize());
    if (step > 0 && from < 0) from = 0;
    if (step < 0 && from >= size) from = size - 1;
    for (std::ptrdiff_t p = from; p >= 0 && p < size; p += step) {
        if (LiveAt(static_cast<std::size_t>(p))) {
            pos = static_cast<std::size_t>(p);
            return true;
        }
    }
    return false;
}

void MemRecordset::StandOnFirst() {
    std::size_t p = 0;
    if (Seek(0, +1, p)) {
        where_ = Where::Row;
        pos_ = p;
    } else {
        where_ = Where::Eof;  // nothing visible: BOF and EOF are both true
    }
}

RowId MemRecordset::CurrentId() const {
    return IdAt(pos_);
}

bool MemRecordset::BOF() const {
    RequireOpen();
    if (where_ == Where::Row) return false;
    std::size_t p = 0;
    return where_ == Where::Bof || !Seek(0, +1, p);
}

bool MemRecordset::EOF_() const {
    RequireOpen();
    if (where_ == Where::Row) return false;
    std::size_t p = 0;
    return where_ == Where::Eof || !Seek(0, +1, p);
}

std::int32_t MemRecordset::RecordCount() const {
    RequireOpen();
    if (!Filtered()) return static_cast<std::int32_t>(table_->LiveCount());
    return static_cast<std::int32_t>(std::count_if(
        view_.begin(), view_.end(), [&](RowId id) { return OnView(table_->At(id)); }));
}

void MemRecordset::MoveFirst() {
    FaultPoint point(FaultKind::Move, Site("MoveFirst"));
    RequireOpen();
    CommitEdit();
    std::size_t p = 0;
    if (!Seek(0, +1, p)) RaiseBofEof();
    where_ = Where::Row;
    pos_ = p;
}

void MemRecordset::MoveLast() {
    FaultPoint point(FaultKind::Move, Site("MoveLast"));
    RequireOpen();
    CommitEdit();
    std::size_t p = 0;
    if (!Seek(static_cast<std::ptrdiff_t>(ViewSize()) - 1, -1, p)) RaiseBofEof();
    where_ = Where::Row;
    pos_ = p;
}

void MemRecordset::MoveNext() {
    FaultPoint point(FaultKind::Move, Site("MoveNext"));
    RequireOpen();
    if (EOF_()) RaiseBofEof();
    CommitEdit();
    const std::ptrdiff_t from = where_ == Where::Bof ? 0 : static_cast<std::ptrdiff_t>(pos_) + 1;
    std::size_t p = 0;
    if (Seek(from, +1, p)) {
        where_ = Where::Row;
        pos_ = p;
    } else {
        where_ = Where::Eof;
    }
}

void MemRecordset::MovePrevious() {
    FaultPoint point(FaultKind::Move, Site("MovePrevious"));
    RequireOpen();
    if (BOF()) RaiseBofEof();
    CommitEdit();
    const std::ptrdiff_t from = where_ == Where::Eof ? static_cast<std::ptrdiff_t>(ViewSize()) - 1
                                                     : static_cast<std::ptrdiff_t>(pos_) - 1;
    std::size_t p = 0;
    if (Seek(from, -1, p)) {
        where_ = Where::Row;
        pos_ = p;
    } else {
        where_ = Where::Bof;
    }
}

// ---- bookmarks ------------------------------------------------------------------------

// A bookmark is the row's id as a double: the same row has the same bookmark in every
// clone, and code that keeps bookmarks in doubles (the plug-in does) loses nothing.
Variant MemRecordset::Bookmark() const {
    RequireOpen();
    if (where_ != Where::Row) RaiseBofEof();
    return Variant(static_cast<double>(CurrentId()));
}

namespace {

// The row id a bookmark names, or 0 when the value cannot be one of ours.
RowId IdFromBookmark(const Variant& bm) {
    switch (bm.Type()) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double: {
            const double d = bm.ToDouble();
            if (d < 1 || d > 4294967295.0 || d != static_cast<double>(static_cast<RowId>(d))) {
                return 0;
            }
            return static_cast<RowId>(d);
        }
        default:
            return 0;
    }
}

}  // namespace

// Going to a row that was deleted raises 3021 (no current record there); going to a
// row the filter hides, or to a value that is no bookmark of this table, raises 3001.
void MemRecordset::SetBookmark(const Variant& bookmark) {
    FaultPoint point(FaultKind::Move, Site("Bookmark"));
    RequireOpen();
    const RowId id = IdFromBookmark(bookmark);
    if (!table_->Valid(id)) RaiseArgumentsWrong("not a bookmark of this recordset");
    if (!OnView(table_->At(id))) RaiseBofEof();
    std::size_t p = 0;
    if (!PositionOf(id, p)) RaiseArgumentsWrong("the bookmark names a row the filter hides");
    CommitEdit();
    where_ = Where::Row;
    pos_ = p;
}

// ---- filter ---------------------------------------------------------------------------

Variant MemRecordset::Filter() const {
    RequireOpen();
    switch (filterKind_) {
        case FilterKind::None:
            return Variant::Int32(ado::adFilterNone);
        case FilterKind::Pending:
            return Variant::Int32(ado::adFilterPendingRecords);
        case FilterKind::Criteria:
            break;
    }
    return filterValue_;
}

namespace {

bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What a Filter value asks for: a FilterGroupEnum value, or criteria text.
// `text` points into the filter Variant, which outlives the request.
struct FilterRequest {
    std::optional<std::int32_t> group;
    std::string_view text;
};

FilterRequest ReadFilter(const Variant& filter) {
    FilterRequest r;
    switch (filter.Type()) {
        case VarType::Empty:
        case VarType::Null:
            r.group = ado::adFilterNone;
            break;
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
            r.group = filter.ToLong();
            break;
        case VarType::String: {
            std::string_view s = filter.RawString();
            while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
            while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
            // A saved filter that went through a text variable comes back as "0".
            if (s.empty()) {
                r.group = ado::adFilterNone;
            } else if (AllDigits(s) && s.size() < 6) {
                r.group = std::stoi(std::string(s));
            } else {
                r.text = s;
            }
            break;
        }
        default:
            RaiseArgumentsWrong("Filter takes a criteria text or a FilterGroupEnum value");
    }
    if (r.group && *r.group != ado::adFilterNone && *r.group != ado::adFilterPendingRecords) {
        RaiseArgumentsWrong("unsupported FilterGroupEnum value");
    }
    return r;
}

}  // namespace

void MemRecordset::SetFilter(const Variant& filter) {
    FaultPoint point(FaultKind::Move, Site("Filter"));
    RequireOpen();
    // Read the whole filter before touching anything, so that a bad one leaves the
    // recordset as it was.
    const FilterRequest request = ReadFilter(filter);
    std::optional<Criteria> criteria;
    FilterKind kind = FilterKind::Criteria;
    if (request.group) {
        kind = *request.group == ado::adFilterNone ? FilterKind::None : FilterKind::Pending;
    } else {
        criteria = ParseCriteria(request.text,
                                 [this](std::string_view n) { return table_->FindField(n); });
    }
    // The pending edit is part of what the new filter looks at.
    CommitEdit();
    std::vector<RowId> view;
    if (kind == FilterKind::Pending) {
        view = table_->PendingRows();
    } else if (criteria) {
        view = SelectRows(*table_, *criteria);
    }
    filterKind_ = kind;
    filterValue_ = kind == FilterKind::Criteria ? filter : Variant();
    view_ = std::move(view);
    StandOnFirst();
}

// ---- Find -----------------------------------------------------------------------------

// Start: a bookmark (a double), or adBookmarkCurrent/First/Last as a 16- or 32-bit
// integer (Empty counts as current). From BOF a forward search begins at the first row,
// from EOF a backward one at the last; a forward search from EOF finds nothing.
void MemRecordset::Find(std::string_view criteria, std::int32_t skipRecords,
                        std::int32_t searchDirection, const Variant& start) {
    FaultPoint point(FaultKind::Move, Site("Find"));
    RequireOpen();
    const Clause clause =
        ParseFindCriterion(criteria, [this](std::string_view n) { return table_->FindField(n); });
    if (searchDirection != ado::adSearchForward && searchDirection != ado::adSearchBackward) {
        RaiseArgumentsWrong("SearchDirection must be adSearchForward or adSearchBackward");
    }
    const int step = searchDirection == ado::adSearchForward ? +1 : -1;
    const auto size = static_cast<std::ptrdiff_t>(ViewSize());

    std::ptrdiff_t from = 0;
    const bool isEnum =
        start.IsEmpty() ||
        ((start.Type() == VarType::Integer || start.Type() == VarType::Long) &&
         start.ToLong() >= ado::adBookmarkCurrent && start.ToLong() <= ado::adBookmarkLast);
    if (isEnum) {
        const std::int32_t which = start.IsEmpty() ? ado::adBookmarkCurrent : start.ToLong();
        if (which == ado::adBookmarkFirst) {
            from = 0;
        } else if (which == ado::adBookmarkLast) {
            from = size - 1;
        } else if (where_ == Where::Row) {
            from = static_cast<std::ptrdiff_t>(pos_);
        } else if (where_ == Where::Bof) {
            from = step > 0 ? 0 : -1;
        } else {
            from = step > 0 ? size : size - 1;
        }
    } else {
        const RowId id = IdFromBookmark(start);
        std::size_t p = 0;
        if (!table_->Valid(id) || !PositionOf(id, p)) {
            RaiseArgumentsWrong("Find start is not a bookmark of this view");
        }
        from = static_cast<std::ptrdiff_t>(p);
    }
    from += static_cast<std::ptrdiff_t>(skipRecords) * step;

    CommitEdit();
    std::size_t found = 0;
    if (SearchView(clause, from, step, found)) {
        where_ = Where::Row;
        pos_ = found;
        return;
    }
    where_ = step > 0 ? Where::Eof : Where::Bof;
}

bool MemRecordset::SearchView(const Clause& clause, std::ptrdiff_t from, int step,
                              std::size_t& pos) const {
    const auto size = static_cast<std::ptrdiff_t>(ViewSize());
    if (from < 0 || from >= size) return false;
    auto matches = [&](std::size_t p) {
        const RowId id = IdAt(p);
        return table_->At(id).Live() && Matches(clause, table_->View(id, clause.column));
    };
    const auto start = static_cast<std::size_t>(from);
    if (const auto ids = IndexedCandidates(*table_, clause)) {
        // The indexed rows this view shows, by position: positions follow row ids in
        // every view, so they come out in order.
        std::vector<std::size_t> positions;
        positions.reserve(ids->size());
        for (RowId id : *ids) {
            std::size_t p = 0;
            if (PositionOf(id, p)) positions.push_back(p);
        }
        if (step > 0) {
            for (auto it = std::lower_bound(positions.begin(), positions.end(), start);
                 it != positions.end(); ++it) {
                if (matches(*it)) {
                    pos = *it;
                    return true;
                }
            }
        } else {
            for (auto it = std::upper_bound(positions.begin(), positions.end(), start);
                 it != positions.begin();) {
                --it;
                if (matches(*it)) {
                    pos = *it;
                    return true;
                }
            }
        }
        return false;
    }
    std::size_t read = 0;
    for (std::ptrdiff_t p = from; p >= 0 && p < size; p += step) {
        ++read;
        if (matches(static_cast<std::size_t>(p))) {
            NoteRowsExamined(read);
            pos = static_cast<std::size_t>(p);
            return true;
        }
    }
    NoteRowsExamined(read);
    return false;
}

// ---- Optimize -------------------------------------------------------------------------

// The index belongs to the rows that the recordset shares with its clones: Optimize set
// through one of them is True in all, and every one's Filter and Find use the index.
void MemRecordset::RequireOptimizeOffered() const {
    RequireOpen();
    if (!table_->OffersOptimize()) RaiseItemNotFound("Optimize");
}

bool MemRecordset::OptimizeAt(int column) const {
    RequireOptimizeOffered();
    Def(column);
    return table_->Indexed(column);
}

void MemRecordset::SetOptimizeAt(int column, bool optimize) {
    RequireOptimizeOffered();
    Def(column);
    table_->SetIndexed(column, optimize);
}

// ---- Clone ----------------------------------------------------------------------------

// The clone shares the rows and every change; it has its own cursor (on the first row)
// and no filter. The lock type is accepted and not enforced.
ado::RecordsetPtr MemRecordset::Clone(std::int32_t /*lockType*/) {
    RequireOpen();
    return std::make_shared<MemRecordset>(table_);
}

}  // namespace zq::sim
