#include "data/section_image.h"

#include <set>

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

std::vector<Variant> Values(const ado::Recordset& rs) {
    std::vector<Variant> v(static_cast<std::size_t>(rs.FieldCount()));
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i)
        v[static_cast<std::size_t>(i)] = rs.FieldAt(i)->Value();
    return v;
}

std::vector<Variant> Stored(const ado::Recordset& rs) {
    std::vector<Variant> v(static_cast<std::size_t>(rs.FieldCount()));
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i)
        v[static_cast<std::size_t>(i)] = rs.FieldAt(i)->OriginalValue();
    return v;
}

RowImage ImageOfRow(const ado::Recordset& rs) {
    RowImage r;
    r.bookmark = rs.Bookmark().ToDouble();
    r.state = StateOf(rs.Status());
    r.values = Values(rs);
    if (r.state != RowState::New) r.stored = r.state == RowState::Clean ? r.values : Stored(rs);
    return r;
}

bool Same(const std::vector<Variant>& a, const std::vector<Variant>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!a[i].SameAs(b[i])) return false;
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

// Where one row of the section stands now.
struct Now {
    bool exists = false;  // on view: live, or deleted and waiting for the batch
    RowState state = RowState::Clean;
    std::vector<Variant> values, stored;
};

// The rows as they stand now, by bookmark: every live row and every deletion waiting for
// the batch.
std::map<double, Now> Current(const ado::RecordsetPtr& host) {
    std::map<double, Now> now;
    const auto read = [&](const ado::RecordsetPtr& rs, bool deletedOnly) {
        if (!OnRow(*rs)) return;
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            const RowImage r = ImageOfRow(*rs);
            if (deletedOnly && r.state != RowState::Deleted) continue;
            now[r.bookmark] = Now{true, r.state, r.values, r.stored};
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
const std::vector<Variant>* InDatabase(const Now& n) {
    if (!n.exists || n.state == RowState::New) return nullptr;
    return &n.stored;
}

const std::vector<Variant>* InDatabase(const RowImage& r) {
    return r.state == RowState::New ? nullptr : &r.stored;
}

bool SameContent(const std::vector<Variant>* a, const std::vector<Variant>* b) {
    if (!a || !b) return a == b;
    return Same(*a, *b);
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
void RestoreDatabase(const ado::RecordsetPtr& host, const SectionImage& image,
                     const std::map<double, Now>& now, RestoreResult& out) {
    Views views(host);
    std::set<double> inImage;
    for (const RowImage& r : image.rows) {
        inImage.insert(r.bookmark);
        const Now& n = Find(now, r.bookmark);
        if (r.state == RowState::New) {
            if (n.exists && n.state != RowState::Deleted)
                views.Live(r.bookmark, n).Delete(ado::adAffectCurrent);
        } else if (!n.exists) {
            out.moved[r.bookmark] = Append(*views.all, r.stored);
        } else {
            Write(views.Live(r.bookmark, n), r.stored);
        }
    }
    for (const auto& [bm, n] : now)
        if (!inImage.count(bm) && n.state != RowState::Deleted)
            views.Live(bm, n).Delete(ado::adAffectCurrent);
    views.all->UpdateBatch(ado::adAffectAllChapters);
    out.wroteDatabase = true;
}

// Phase two, in memory only: the database holds what the image says it held, so each
// row's pending change is cancelled back to it and the image's own pending change laid on
// again.
void RestoreMemory(const ado::RecordsetPtr& host, const SectionImage& image, RestoreResult& out) {
    const std::map<double, Now> now = Current(host);
    Views views(host);
    std::set<double> kept;
    for (const RowImage& r : image.rows) {
        const double bm = out.Bookmark(r.bookmark).ToDouble();
        const Now& n = Find(now, bm);
        if (r.state == RowState::New) {
            if (n.exists && n.state == RowState::New) {
                Write(views.Live(bm, n), r.values);
                kept.insert(bm);
            } else {
                out.moved[r.bookmark] = Append(*views.all, r.values);
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
            Write(*views.all, r.values);
        }
    }
    for (const auto& [bm, n] : now)
        if (!kept.count(bm) && n.state != RowState::Deleted)
            views.Live(bm, n).Delete(ado::adAffectCurrent);
}

}  // namespace

void SectionImage::Override(std::size_t row, std::size_t field, const Variant& value) {
    RowImage& r = rows.at(row);
    r.values.at(field) = value;
    if (r.state == RowState::Clean || r.state == RowState::Modified)
        r.state = Same(r.values, r.stored) ? RowState::Clean : RowState::Modified;
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
    if (buffered) bufferedValues = Values(*host);

    for (std::int32_t i = 0; i < host->FieldCount(); ++i)
        img.fields.push_back(host->FieldAt(i)->Name());
    for (const auto& [bm, n] : Current(host)) {
        RowImage r{bm, n.state, n.values, n.stored};
        if (buffered && Variant(bm).SameAs(img.bookmark)) {
            r.values = bufferedValues;
            if (r.state == RowState::Clean) r.state = RowState::Modified;
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

    const std::map<double, Now> now = Current(host);
    bool databaseDiffers = false;
    std::set<double> inImage;
    for (const RowImage& r : image.rows) {
        inImage.insert(r.bookmark);
        const auto it = now.find(r.bookmark);
        const Now n = it == now.end() ? Now{} : it->second;
        if (!SameContent(InDatabase(n), InDatabase(r))) databaseDiffers = true;
    }
    for (const auto& [bm, n] : now)
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
