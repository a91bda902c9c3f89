// Base-table recordsets: how the simulated host loads the sections of a document and
// writes them back with UpdateBatch.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado.h"
#include "sim/db/sqlite_connection.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

// Writes the pending rows of a recordset to one table, finding rows by primary key
// (the key values the row had when it was fetched). A new row writes only its non-Null
// columns, so that the others take the table's defaults. An update or delete that finds
// no row under the original key raises "Row cannot be located for updating".
class TableWriter : public BatchWriter {
  public:
    TableWriter(SqliteConnectionPtr conn, std::string table, std::vector<std::string> keys);
    void Insert(const std::vector<FieldDef>& fields, const Row& row) override;
    void Update(const std::vector<FieldDef>& fields, const Row& original,
                const Row& current) override;
    void Delete(const std::vector<FieldDef>& fields, const Row& original) override;

  private:
    std::string KeyCondition(const std::vector<FieldDef>& fields, const Row& original,
                             std::vector<Variant>& binds) const;

    SqliteConnectionPtr conn_;
    std::string table_;
    std::vector<std::string> keys_;
};

// Primary-key columns of a table, in key order.
std::vector<std::string> PrimaryKeyOf(SqliteConnection& conn, std::string_view table);

// A batch-optimistic recordset of the table's rows matching `whereCondition` (SQLite
// text; empty for all rows), ordered by key, its UpdateBatch wired to a TableWriter.
ado::RecordsetPtr OpenTable(const SqliteConnectionPtr& conn, std::string_view table,
                            std::string_view whereCondition);

}  // namespace zq::sim
