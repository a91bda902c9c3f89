// What a section of the host's document held when a user road began, and how to put it
// back, in memory and in the database, through the recordset alone.
//
// An image keeps every row of the section (the rows waiting to be deleted too) with the
// values the host shows, the values the database holds for it and its pending state, and
// where the host's recordset stood. Restoring compares the section with its image row by
// row. When the database no longer holds what it held (the road wrote the section with
// UpdateBatch, or the host saved it), the rows are first given the values the database
// held and written back with one UpdateBatch; then the pending changes the section had
// (the user's edits not yet saved) are laid on again, so that the recordset waits to write
// exactly what it waited to write before. Rows the road appended are deleted; rows it
// deleted come back (a deletion not yet written is taken back, one already written is
// added again with the same values: such a row gets a new bookmark, which `moved` tells).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/ado.h"
#include "host/cell_store.h"

namespace zq {

enum class RowState { Clean, Modified, New, Deleted };

struct RowImage {
    double bookmark = 0;
    RowState state = RowState::Clean;
    CellRow values;  // as the host shows them, its pending edits included
    // As the database holds them, for a modified or deleted row; none for a new row, nor
    // for a clean one, whose values are what the database holds (one copy of a large
    // document, not two). Stored() reads it for every state but New.
    CellRow stored;
    const CellRow& Stored() const { return state == RowState::Clean ? values : stored; }
};

// The values of the rows are cells of `cells`, one per field: the picture of a 10,000-line
// document takes a fifth of what it would as Variants.
struct SectionImage {
    std::vector<std::string> fields;
    CellStore cells;
    std::vector<RowImage> rows;  // in the recordset's order
    Variant filter;              // the host recordset's filter
    Variant bookmark;            // its current row; Empty when it stood on none
    // The value an image row is to get back for one field, where the road's own start
    // (the host's part of the user's action) already changed it: row index, field index.
    void Override(std::size_t row, std::size_t field, const Variant& value);
    int FieldIndex(std::string_view name) const;  // -1 when the section has no such field
    // The row standing at `bookmark`, or -1.
    int RowAt(const Variant& bookmark) const;
};

// Reads the whole section through a clone; the host's recordset itself is only asked
// for its filter, its current row and, when it holds an edit not yet updated, that row's
// values. Raises the recordset's errors.
SectionImage TakeSectionImage(const ado::RecordsetPtr& host);

struct RestoreResult {
    bool wroteDatabase = false;          // an UpdateBatch put back what the database held
    std::map<double, double> moved;      // old bookmark -> bookmark of the row added again
    Variant Bookmark(double old) const;  // where a row of the image stands now
};

// Puts the section back as the image shows it and the host's recordset on its filter and
// current row. Raises the recordset's errors (the caller decides what a failed step
// means); a step that raised leaves the section partly restored.
RestoreResult RestoreSection(const ado::RecordsetPtr& host, const SectionImage& image);

}  // namespace zq
