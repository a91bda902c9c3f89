#include "data/section_image.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "host/error.h"

namespace zq {

namespace {

bool OnRow(const ado::Recordset& rs) {
    return !rs.BOF() && !rs.EOF_();
}

RowState StateOf(std::int32_t status) {
    switch (status) {
        case ado::adRecNew:
            return RowState::New;
        case ado::adRecModified:
            return RowState::Modified;
        case ado::adRecDeleted:
            return RowState::Deleted;
        default:
            return RowState::Clean;
    }
}

// The field objects of a recordset, asked once: each follows the cursor, so one set reads
// every row of a pass.
std::vector<ado::FieldPtr> FieldsOf(const ado::Recordset& rs) {
    std::vector<ado::FieldPtr> f(static_cast<std::size_t>(rs.FieldCount()));
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i)
        f[static_cast<std::size_t>(i)] = rs.FieldAt(i);
    return f;
}

std::vector<Variant> Values(const std::vector<ado::FieldPtr>& fields) {
    std::vector<Variant> v;
    v.reserve(fields.size());
    for (const auto& f : fields) v.push_back(f->Value());
    return v;
}

CellRow Pack(CellStore& cells, const std::vector<Variant>& values) {
    CellRow row = std::make_unique<Cell[]>(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) row[i] = cells.Pack(values[i]);
    return row;
}

// The current row's values as shown, or as fetched.
CellRow PackRow(CellStore& cells, const std::vector<ado::FieldPtr>& fields, bool fetched) {
    CellRow row = std::make_unique<Cell[]>(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i)
        row[i] = cells.Pack(fetched ? fields[i]->OriginalValue() : fields[i]->Value());
    return row;
}

CellRow Copy(const CellRow& row, std::size_t width) {
    CellRow out = std::make_unique<Cell[]>(width);
    std::copy(row.get(), row.get() + width, out.get());
    return out;
}

std::vector<Variant> Unpack(const CellStore& cells, const CellRow& row, std::size_t width) {
    std::vector<Variant> v;
    v.reserve(width);
    for (std::size_t i = 0; i < width; ++i) v.push_back(cells.Unpack(row[i]));
    return v;
}

bool Same(const CellStore& sa, const CellRow& a, const CellStore& sb, const CellRow& b,
          std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        if (!CellStore::Same(sa, a[i], sb, b[i])) return false;
    return true;
}

// Writes into the current row of `rs` every value that differs from what it shows.
void Write(ado::Recordset& rs, const std::vector<Variant>& values) {
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        const auto f = rs.FieldAt(i);
        const Variant& v = values[static_cast<std::size_t>(i)];
        if (!f->Value().SameAs(v)) f->SetValue(v);
    }
    rs.Update();
}

// Appends a row holding `values` (its Nulls left as the new row has them).
double Append(ado::Recordset& rs, const std::vector<Variant>& values) {
    rs.AddNew();
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        const Variant& v = values[static_cast<std::size_t>(i)];
        if (!v.IsNull() && !v.IsEmpty()) rs.FieldAt(i)->SetValue(v);
    }
    rs.Update();
    return rs.Bookmark().ToDouble();
}

// Where one row of the section stands now (`stored` as in RowImage).
struct Now {
    bool exists = false;  // on view: live, or deleted and waiting for the batch
    RowState state = RowState::Clean;
    CellRow values, stored;
};

// The rows as they stand now, by bookmark: every live row and every deletion waiting for
// the batch; their values are cells of `cells`.
struct Picture {
    std::size_t width = 0;
    CellStore cells;
    std::map<double, Now> rows;
};

Picture Current(const ado::RecordsetPtr& host) {
    Picture now;
    now.width = static_cast<std::size_t>(host->FieldCount());
    const auto read = [&](const ado::RecordsetPtr& rs, bool deletedOnly) {
        if (!OnRow(*rs)) return;
        const std::vector<ado::FieldPtr> fields = FieldsOf(*rs);
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            const RowState state = StateOf(rs->Status());
            if (deletedOnly && state != RowState::Deleted) continue;
            Now n{true, state, PackRow(now.cells, fields, false), nullptr};
            if (state == RowState::Modified || state == RowState::Deleted)
                n.stored = PackRow(now.cells, fields, true);
            now.rows.insert_or_assign(now.rows.end(), rs->Bookmark().ToDouble(), std::move(n));
        }
    };
    read(host->Clone(), false);
    const ado::RecordsetPtr pending = host->Clone();
    pending->SetFilter(Variant::Int32(ado::adFilterPendingRecords));
    read(pending, true);
    return now;
}

// What the database holds for a row: nothing for a new row (and for one the batch
// already removed), its stored values otherwise.
const CellRow* InDatabase(const Now& n) {
    if (!n.exists || n.state == RowState::New) return nullptr;
    return n.state == RowState::Clean ? &n.values : &n.stored;
}

const CellRow* InDatabase(const RowImage& r) {
    return r.state == RowState::New ? nullptr : &r.Stored();
}

bool SameContent(const Picture& now, const CellRow* a, const SectionImage& image,
                 const CellRow* b) {
    if (!a || !b) return a == b;
    return Same(now.cells, *a, image.cells, *b, image.fields.size());
}

// The section seen twice: every live row, and the rows whose deletion waits for the
// batch (only the pending-records filter shows them).
struct Views {
    ado::RecordsetPtr all, pending;
    explicit Views(const ado::RecordsetPtr& host) : all(host->Clone()), pending(host->Clone()) {
        pending->SetFilter(Variant::Int32(ado::adFilterPendingRecords));
    }
    // Stands on a row; a deleted one is taken back first, so that it can be written.
    ado::Recordset& Live(double bookmark, const Now& n) {
        if (n.exists && n.state == RowState::Deleted) {
            pending->SetBookmark(Variant(bookmark));
            pending->CancelBatch(ado::adAffectCurrent);
        }
        all->SetBookmark(Variant(bookmark));
        return *all;
    }
};

const Now& Find(const std::map<double, Now>& now, double bookmark) {
    static const Now none;
    const auto it = now.find(bookmark);
    return it == now.end() ? none : it->second;
}

// Phase one: the database gets back what it held. Every row the database held is given
// those values (a deletion waiting for the batch is taken back, a row already deleted is
// added again); every row it did not hold goes; one UpdateBatch writes it all.
void RestoreDatabase(const ado::RecordsetPtr& host, const SectionImage& image, const Picture& now,
                     RestoreResult& out) {
    const std::size_t width = image.fields.size();
    Views views(host);
    std::set<double> inImage;
    for (const RowImage& r : image.rows) {
        inImage.insert(r.bookmark);
        const Now& n = Find(now.rows, r.bookmark);
        if (r.state == RowState::New) {
            if (n.exists && n.state != RowState::Deleted)
                views.Live(r.bookmark, n).Delete(ado::adAffectCurrent);
        } else if (!n.exists) {
            out.moved[r.bookmark] = Append(*views.all, Unpack(image.cells, r.Stored(), width));
        } else {
            Write(views.Live(r.bookmark, n), Unpack(image.cells, r.Stored(), width));
        }
    }
    for (const auto& [bm, n] : now.rows)
        if (!inImage.count(bm) && n.state != RowState::Deleted)
            views.Live(bm, n).Delete(ado::adAffectCurrent);
    views.all->UpdateBatch(ado::adAffectAllChapters);
    out.wroteDatabase = true;
}

// Phase two, in memory only: the database holds what the image says it held, so each
// row's pending change is cancelled back to it and the image's own pending change laid on
// again.
void RestoreMemory(const ado::RecordsetPtr& host, const SectionImage& image, RestoreResult& out) {
    const Picture now = Current(host);
    const std::size_t width = image.fields.size();
    Views views(host);
    std::set<double> kept;
    for (const RowImage& r : image.rows) {
        const double bm = out.Bookmark(r.bookmark).ToDouble();
        const Now& n = Find(now.rows, bm);
        if (r.state == RowState::New) {
            if (n.exists && n.state == RowState::New) {
                Write(views.Live(bm, n), Unpack(image.cells, r.values, width));
                kept.insert(bm);
            } else {
                out.moved[r.bookmark] = Append(*views.all, Unpack(image.cells, r.values, width));
                kept.insert(out.moved[r.bookmark]);
            }
            continue;
        }
        kept.insert(bm);
        ado::Recordset& row = views.Live(bm, n);
        if (n.state == RowState::Modified || n.state == RowState::New)
            row.CancelBatch(ado::adAffectCurrent);
        if (r.state == RowState::Deleted) {
            views.all->SetBookmark(Variant(bm));
            views.all->Delete(ado::adAffectCurrent);
        } else if (r.state == RowState::Modified) {
            views.all->SetBookmark(Variant(bm));
            Write(*views.all, Unpack(image.cells, r.values, width));
        }
    }
    for (const auto& [bm, n] : now.rows)
        if (!kept.count(bm) && n.state != RowState::Deleted)
            views.Live(bm, n).Delete(ado::adAffectCurrent);
}

}  // namespace

void SectionImage::Override(std::size_t row, std::size_t field, const Variant& value) {
    RowImage& r = rows.at(row);
    const std::size_t width = fields.size();
    if (field >= width) throw std::out_of_range("SectionImage::Override: no such field");
    if (r.state == RowState::Clean) r.stored = Copy(r.values, width);  // its own copy now
    r.values[field] = cells.Pack(value);
    if (r.state == RowState::Clean || r.state == RowState::Modified) {
        r.state =
            Same(cells, r.values, cells, r.stored, width) ? RowState::Clean : RowState::Modified;
        if (r.state == RowState::Clean) r.stored.reset();
    }
}

int SectionImage::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (SameName(fields[i], name)) return static_cast<int>(i);
    return -1;
}

int SectionImage::RowAt(const Variant& bm) const {
    if (bm.IsEmpty() || bm.IsNull()) return -1;
    const double b = bm.ToDouble();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].bookmark == b) return static_cast<int>(i);
    return -1;
}

Variant RestoreResult::Bookmark(double old) const {
    const auto it = moved.find(old);
    return Variant(it == moved.end() ? old : it->second);
}

SectionImage TakeSectionImage(const ado::RecordsetPtr& host) {
    SectionImage img;
    if (!host) RaiseObjectNotSet("Recordset");
    img.filter = host->Filter();
    const bool onRow = OnRow(*host);
    if (onRow) img.bookmark = host->Bookmark();
    // An edit the host's recordset holds without having updated it is seen only through
    // that recordset.
    const bool buffered =
        onRow && host->EditMode() != ado::adEditNone && host->EditMode() != ado::adEditDelete;
    std::vector<Variant> bufferedValues;
    if (buffered) bufferedValues = Values(FieldsOf(*host));

    for (std::int32_t i = 0; i < host->FieldCount(); ++i)
        img.fields.push_back(host->FieldAt(i)->Name());
    Picture now = Current(host);
    img.cells = std::move(now.cells);
    img.rows.reserve(now.rows.size());
    for (auto& [bm, n] : now.rows) {
        RowImage r{bm, n.state, std::move(n.values), std::move(n.stored)};
        if (buffered && Variant(bm).SameAs(img.bookmark)) {
            if (r.state == RowState::Clean) {
                r.stored = std::move(r.values);
                r.state = RowState::Modified;
            }
            r.values = Pack(img.cells, bufferedValues);
        }
        img.rows.push_back(std::move(r));
    }
    return img;
}

RestoreResult RestoreSection(const ado::RecordsetPtr& host, const SectionImage& image) {
    RestoreResult out;
    if (!host) RaiseObjectNotSet("Recordset");
    // What the road left in the host recordset's own edit buffer is not the image's.
    if (OnRow(*host) && host->EditMode() != ado::adEditNone &&
        host->EditMode() != ado::adEditDelete)
        host->CancelUpdate();

    const Picture now = Current(host);
    bool databaseDiffers = false;
    std::set<double> inImage;
    for (const RowImage& r : image.rows) {
        inImage.insert(r.bookmark);
        const Now& n = Find(now.rows, r.bookmark);
        if (!SameContent(now, InDatabase(n), image, InDatabase(r))) databaseDiffers = true;
    }
    for (const auto& [bm, n] : now.rows)
        if (!inImage.count(bm) && InDatabase(n)) databaseDiffers = true;

    if (databaseDiffers) RestoreDatabase(host, image, now, out);
    RestoreMemory(host, image, out);

    host->SetFilter(image.filter);
    const int current = image.RowAt(image.bookmark);
    if (current >= 0 && image.rows[static_cast<std::size_t>(current)].state != RowState::Deleted)
        host->SetBookmark(out.Bookmark(image.bookmark.ToDouble()));
    return out;
}

}  // namespace zq
