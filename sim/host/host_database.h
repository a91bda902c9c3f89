// What the simulated host needs from the host database.
//
// The document object loads and writes its sections through this interface, the host's
// save posts progressives through it, and the line-state object writes the flow-state
// store through it. The SQLite host database implements it (sqlite_host_database.h);
// tests may implement it over in-memory tables.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "data/ado.h"
#include "host/variant.h"

namespace zq::sim {

class HostDatabase {
  public:
    virtual ~HostDatabase() = default;

    // The one open connection the host hands to its plug-ins.
    virtual ado::ConnectionPtr Connection() = 0;

    // A batch-optimistic recordset over the rows of `table` matching `where` (SQL); its
    // UpdateBatch writes the pending changes back to the table.
    virtual ado::RecordsetPtr OpenTable(std::string_view table, std::string_view where) = 0;

    // Runs `write` (which writes the document's pending changes) and posts to the warehouse
    // progressives the difference between the document's open quantities just before and
    // just after it.
    virtual void WriteDocument(const Variant& ditta, std::string_view numreg,
                               const std::function<void()>& write) = 0;

    // The flow-state store: the state an object (by GUID, braced or not) is in, in a flow.
    virtual std::optional<std::int32_t> FlowState(std::string_view guid, std::int32_t idFlusso) = 0;
    virtual void SetFlowState(std::string_view guid, std::int32_t idStato,
                              std::int32_t idFlusso) = 0;
};
using HostDatabasePtr = std::shared_ptr<HostDatabase>;

}  // namespace zq::sim
