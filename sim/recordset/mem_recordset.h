// The in-memory recordset engine: ADO's client-side, batch-optimistic recordset.
//
// Rows live in a table shared by a recordset and all its clones; each clone has its own
// cursor and filter. Pending changes (edits, inserts, deletes) are held until UpdateBatch
// hands them to a BatchWriter (the SQLite connection writes them to its tables) or
// CancelBatch drops them.
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

// An open recordset over the given rows, standing on the first row.
ado::RecordsetPtr MakeRecordset(std::vector<FieldDef> fields, std::vector<Row> rows,
                                std::shared_ptr<BatchWriter> writer = nullptr);

// A closed recordset without fields, as `New ADODB.Recordset` gives.
ado::RecordsetPtr MakeClosedRecordset();

}  // namespace zq::sim
