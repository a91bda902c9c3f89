#include "sim/recordset/row_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "sim/recordset/ado_errors.h"

namespace zq::sim {

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string NumberKey(double d) {
    if (d == 0) d = 0;  // -0 and 0 are one key
    std::string key(1 + sizeof d, 'n');
    std::memcpy(key.data() + 1, &d, sizeof d);
    return key;
}

std::string TextKey(std::string_view s) {
    return "s" + FoldCase(s);
}

// The index key under which an equality clause finds the value; none for Null and objects.
// Numbers of every width share one key space, so 5 (16-bit), 5 (32-bit) and 5.0 meet.
std::optional<std::string> KeyOf(const ValueView& v) {
    switch (v.type) {
        case VarType::String:
            return TextKey(v.text);
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Date:
        case VarType::Boolean:
            return NumberKey(v.number);
        default:
            return std::nullopt;
    }
}

void InsertSorted(std::vector<RowId>& ids, RowId id) {
    ids.insert(std::lower_bound(ids.begin(), ids.end(), id), id);
}

void EraseSorted(std::vector<RowId>& ids, RowId id) {
    const auto it = std::lower_bound(ids.begin(), ids.end(), id);
    if (it != ids.end() && *it == id) ids.erase(it);
}

}  // namespace

// 64-bit FNV-1a on every platform; a 32-bit build keeps the low half.
std::size_t RowTable::FoldHash::operator()(std::string_view s) const {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : s) {
        h ^= static_cast<unsigned char>(Fold(c));
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

bool RowTable::FoldEq::operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

RowTable::RowTable(std::vector<FieldDef> fields, std::vector<Row> rows,
                   std::shared_ptr<BatchWriter> writer, CursorOptions cursor)
    : fields_(std::move(fields)), writer_(std::move(writer)), cursor_(cursor) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (byName_.emplace(fields_[i].name, static_cast<int>(i)).second)
            exactName_.emplace(fields_[i].name, static_cast<int>(i));
    }
    rows_.reserve(rows.size());
    for (auto& r : rows) {
        if (r.size() != fields_.size()) {
            RaiseArgumentsWrong("a row has " + std::to_string(r.size()) + " values for " +
                                std::to_string(fields_.size()) + " fields");
        }
        RowRec rec;
        rec.values = Pack(r);
        Row().swap(r);  // the Variants go as soon as their cells are made
        rows_.push_back(std::move(rec));
    }
    live_ = rows_.size();
    indexes_.resize(fields_.size());
}

void RowTable::AppendFetched(const Row& row) {
    if (row.size() != fields_.size()) {
        RaiseArgumentsWrong("a row has " + std::to_string(row.size()) + " values for " +
                            std::to_string(fields_.size()) + " fields");
    }
    RowRec rec;
    rec.values = Pack(row);
    rows_.push_back(std::move(rec));
    ++live_;
}

void RowTable::SetFetched(RowId id, int column, const Variant& value) {
    rows_[id - 1].values[static_cast<std::size_t>(column)] = cells_.Pack(value);
}

void RowTable::SetFieldDef(std::size_t column, FieldDef def) {
    fields_.at(column) = std::move(def);
}

void RowTable::Attach(std::shared_ptr<BatchWriter> writer, CursorOptions cursor) {
    writer_ = std::move(writer);
    cursor_ = cursor;
}

int RowTable::FindField(std::string_view name) const {
    if (const auto exact = exactName_.find(name); exact != exactName_.end()) return exact->second;
    const auto it = byName_.find(name);
    return it == byName_.end() ? -1 : it->second;
}

CellRow RowTable::Pack(const Row& row) {
    CellRow cells = std::make_unique<Cell[]>(fields_.size());
    for (std::size_t c = 0; c < fields_.size(); ++c) cells[c] = cells_.Pack(row[c]);
    return cells;
}

CellRow RowTable::Copy(const CellRow& cells) const {
    CellRow out = std::make_unique<Cell[]>(fields_.size());
    std::copy(cells.get(), cells.get() + fields_.size(), out.get());
    return out;
}

Row RowTable::Unpack(const CellRow& cells) const {
    Row row;
    row.reserve(fields_.size());
    for (std::size_t c = 0; c < fields_.size(); ++c) row.push_back(cells_.Unpack(cells[c]));
    return row;
}

Variant RowTable::Value(RowId id, int column) const {
    return cells_.Unpack(rows_[id - 1].values[static_cast<std::size_t>(column)]);
}

Variant RowTable::FetchedValue(RowId id, int column) const {
    const RowRec& rec = rows_[id - 1];
    const CellRow& row = rec.modified ? rec.original : rec.values;
    return cells_.Unpack(row[static_cast<std::size_t>(column)]);
}

ValueView RowTable::View(RowId id, int column) const {
    return cells_.View(rows_[id - 1].values[static_cast<std::size_t>(column)]);
}

RowId RowTable::Append() {
    RowRec rec;
    rec.values = std::make_unique<Cell[]>(fields_.size());
    const Cell null = cells_.Pack(Variant::Null());
    std::fill(rec.values.get(), rec.values.get() + fields_.size(), null);
    rec.inserted = true;
    rows_.push_back(std::move(rec));
    ++live_;
    const auto id = static_cast<RowId>(rows_.size());
    pending_.insert(id);
    return id;
}

void RowTable::SetValue(RowId id, int column, Variant value) {
    RowRec& rec = rows_[id - 1];
    if (!rec.inserted && !rec.modified) {
        rec.original = Copy(rec.values);
        rec.modified = true;
        pending_.insert(id);
    }
    ChangeCell(id, column, cells_.Pack(value));
}

void RowTable::ChangeCell(RowId id, int column, Cell cell) {
    Cell& slot = rows_[id - 1].values[static_cast<std::size_t>(column)];
    if (const auto& index = indexes_[static_cast<std::size_t>(column)]) {
        if (const auto oldKey = KeyOf(cells_.View(slot))) {
            const auto it = index->buckets.find(*oldKey);
            if (it != index->buckets.end()) EraseSorted(it->second, id);
        }
        if (const auto newKey = KeyOf(cells_.View(cell))) {
            InsertSorted(index->buckets[*newKey], id);
        }
    }
    slot = cell;
}

void RowTable::MarkDeleted(RowId id) {
    RowRec& rec = rows_[id - 1];
    if (!rec.Live()) return;
    --live_;
    if (rec.inserted) {
        // Never written anywhere: nothing for a batch to do, nothing to cancel back.
        rec.inserted = false;
        rec.gone = true;
        pending_.erase(id);
        return;
    }
    rec.deleted = true;
    pending_.insert(id);
}

void RowTable::MarkGone(RowId id) {
    RowRec& rec = rows_[id - 1];
    if (rec.Live()) --live_;
    rec.inserted = rec.modified = rec.deleted = false;
    rec.gone = true;
    pending_.erase(id);
}

std::vector<RowId> RowTable::PendingRows() const {
    return {pending_.begin(), pending_.end()};
}

void RowTable::WriteBatch(const std::vector<RowId>& ids) {
    for (RowId id : ids) {
        RowRec& rec = rows_[id - 1];
        if (!rec.Pending()) continue;
        // Each row loses its pending mark only once the writer took it: a writer that
        // raises leaves this row and the later ones pending.
        if (rec.deleted) {
            if (writer_) writer_->Delete(fields_, Unpack(rec.modified ? rec.original : rec.values));
            rec.deleted = false;
            rec.gone = true;
        } else if (rec.inserted) {
            if (writer_) writer_->Insert(fields_, Unpack(rec.values));
        } else if (writer_) {
            writer_->Update(fields_, Unpack(rec.original), Unpack(rec.values));
        }
        rec.inserted = rec.modified = false;
        rec.original.reset();
        pending_.erase(id);
    }
}

void RowTable::CancelBatch(const std::vector<RowId>& ids) {
    for (RowId id : ids) {
        RowRec& rec = rows_[id - 1];
        if (!rec.Pending()) continue;
        if (rec.inserted) {
            MarkGone(id);
            continue;
        }
        if (rec.deleted) {
            rec.deleted = false;
            ++live_;
        }
        if (rec.modified) {
            for (std::size_t c = 0; c < fields_.size(); ++c) {
                if (!cells_.Same(rec.values[c], rec.original[c])) {
                    ChangeCell(id, static_cast<int>(c), rec.original[c]);
                }
            }
            rec.modified = false;
            rec.original.reset();
        }
        pending_.erase(id);
    }
}

void RowTable::SetIndexed(int column, bool indexed) {
    auto& slot = indexes_[static_cast<std::size_t>(column)];
    if (!indexed) {
        slot.reset();
        return;
    }
    if (slot) return;
    auto index = std::make_unique<ColumnIndex>();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].gone) continue;
        if (const auto key =
                KeyOf(cells_.View(rows_[i].values[static_cast<std::size_t>(column)]))) {
            index->buckets[*key].push_back(static_cast<RowId>(i + 1));
        }
    }
    NoteRowsExamined(rows_.size());
    slot = std::move(index);
}

std::vector<RowId> RowTable::EqualRows(int column, const Literal& value) const {
    const ColumnIndex& index = *indexes_[static_cast<std::size_t>(column)];
    static const std::vector<RowId> kNone;
    auto bucket = [&](const std::string& key) -> const std::vector<RowId>& {
        const auto it = index.buckets.find(key);
        return it == index.buckets.end() ? kNone : it->second;
    };
    // A text value matches the literal's text, a numeric value its number: the two buckets
    // hold disjoint rows, merged back into table order.
    const auto& texts = bucket(TextKey(value.text));
    const auto& numbers = value.hasNumber ? bucket(NumberKey(value.number)) : kNone;
    std::vector<RowId> out;
    out.reserve(texts.size() + numbers.size());
    std::merge(texts.begin(), texts.end(), numbers.begin(), numbers.end(), std::back_inserter(out));
    NoteRowsExamined(out.size());
    std::erase_if(out, [&](RowId id) { return !rows_[id - 1].Live(); });
    return out;
}

std::string_view RowTable::Site(std::string_view operation) const {
    for (const auto& [op, site] : sites_)
        if (op == operation) return site;
    sites_.emplace_back(std::string(operation), label_ + "." + std::string(operation));
    return sites_.back().second;
}

}  // namespace zq::sim
