// The in-memory recordset engine: ADO's client-side, batch-optimistic recordset.
//
// Rows live in a table shared by a recordset and all its clones; each clone has its own
// cursor and filter. Pending changes (edits, inserts, deletes) are held until UpdateBatch
// hands them to a BatchWriter (the SQLite connection writes them to its tables) or
// CancelBatch drops them.
//
// Where ADO's reference leaves the behaviour open, this engine does the following:
// - Bookmarks are row ids as doubles, the same in every clone. Going to a bookmark of a
//   deleted row raises 3021, of a row the filter hides (or a value that is no bookmark)
//   3001. Find's start takes a double as a bookmark and a 16/32-bit integer 0, 1, 2 as
//   adBookmarkCurrent/First/Last.
// - Filter and Find texts compare without regard to case (ASCII letters), numbers
//   numerically, dates as OLE dates; "= NULL" / "<> NULL" test for Null, and Null never
//   matches any other comparison. An unknown field raises 3265, any other bad criteria
//   3001. AND binds before OR where a text mixes them without parentheses.
// - Filter and Find read every row, as the client cursor does, except where the field
//   they compare has Optimize = True: then its index answers (a Filter when every
//   OR-branch holds an equality on an indexed field, a Find whose clause is one). The
//   index belongs to the rows, so Optimize set through a recordset holds in all its clones.
//   A field offers no other dynamic property (3265).
// - A criteria filter is evaluated when set; rows this recordset adds stay on view until
//   the filter is set again, rows changed to no longer match stay too, deleted rows leave.
//   Rows a clone adds appear only in unfiltered views, or after the filter is set again.
// - Moving off a row with a pending edit or addition updates it (ADO's implicit Update);
//   Close drops it. AddNew appends the row (all Null) to the shared rows at once, so it
//   has a bookmark before Update. Deleting the current row leaves it current (fields raise
//   3021, EditMode is adEditDelete) until the cursor moves.
// - UpdateBatch/CancelBatch with adAffectAll under a criteria filter affect the rows that
//   filter put on view (deletes made before the filter was set are not among them);
//   adAffectAllChapters affects every row. Written rows lose their pending mark at once,
//   so a writer that raises leaves only the remaining rows pending.
// - Values written to a field take its type (integers, doubles, texts, Booleans); Empty
//   becomes Null; texts are not cut to DefinedSize. Clone accepts a lock type and ignores it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/ado.h"

namespace zq::sim {

struct FieldDef {
    std::string name;
    std::int32_t type = ado::adVariant;
    std::int32_t definedSize = 0;
    std::int32_t attributes = ado::adFldIsNullable | ado::adFldMayBeNull | ado::adFldUpdatable;
    std::uint8_t precision = 0;
    std::uint8_t numericScale = 0;
};

using Row = std::vector<Variant>;

// Receives the pending changes of UpdateBatch, one row at a time, in the order the rows
// stand in the recordset. A writer that raises stops the batch; rows already written stay
// written and lose their pending mark, the rest stay pending.
class BatchWriter {
  public:
    virtual ~BatchWriter() = default;
    virtual void Insert(const std::vector<FieldDef>& fields, const Row& row) = 0;
    virtual void Update(const std::vector<FieldDef>& fields, const Row& original,
                        const Row& current) = 0;
    virtual void Delete(const std::vector<FieldDef>& fields, const Row& original) = 0;
};

// What the cursor behind a recordset offers. A client cursor (ADO's adUseClient) offers the
// dynamic property Optimize on every field: Filter and Find read every row of the
// recordset, except where the fields they compare have Optimize = True, whose index then
// answers them. A cursor that does not offer it (a server cursor, a provider that refuses
// it) raises 3265 for Properties("Optimize") and always reads every row.
struct CursorOptions {
    bool offersOptimize = true;
};

// An open recordset over the given rows, standing on the first row.
ado::RecordsetPtr MakeRecordset(std::vector<FieldDef> fields, std::vector<Row> rows,
                                std::shared_ptr<BatchWriter> writer = nullptr,
                                CursorOptions cursor = {});

class RowTable;

// The rows of a recordset as a query reads them, packed into the engine's compact cells
// one row at a time: the rows of a large query never exist as Variants all at once.
class RowsBuilder {
  public:
    explicit RowsBuilder(std::vector<FieldDef> fields);
    const std::vector<FieldDef>& Fields() const;
    // A field's definition, while the rows are being read (a computed column's type is
    // known after its last row).
    void SetField(std::size_t column, FieldDef def);
    void Add(const Row& row);
    std::size_t Size() const;
    // Replaces a value of an added row (0-based), as fetched: no pending change.
    void Set(std::size_t row, std::size_t column, const Variant& value);
    // The open recordset over the rows, standing on the first; the builder is spent.
    ado::RecordsetPtr Finish(std::shared_ptr<BatchWriter> writer, CursorOptions cursor);

  private:
    std::shared_ptr<RowTable> table_;
};

// The rows the engine has read to answer Filter and Find since the program started: every
// row a scan visits, every row an index hands over, every row read to build an index. What
// the cost of a road in filters is measured by.
std::uint64_t RowsExamined();

// Names a recordset (and its clones) in the fault plan's sites: its table, or "query".
void LabelRecordset(const ado::RecordsetPtr& rs, std::string label);

// A closed recordset without fields, as `New ADODB.Recordset` gives.
ado::RecordsetPtr MakeClosedRecordset();

}  // namespace zq::sim
