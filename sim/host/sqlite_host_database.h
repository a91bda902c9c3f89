// The host database of the simulated host over the SQLite substitute.
#pragma once

#include "host/create_object.h"
#include "sim/db/sqlite_connection.h"
#include "sim/host/host_database.h"

namespace zq::sim {

class SqliteHostDatabase : public HostDatabase {
  public:
    explicit SqliteHostDatabase(SqliteConnectionPtr conn) : conn_(std::move(conn)) {}

    ado::ConnectionPtr Connection() override { return conn_; }
    ado::RecordsetPtr OpenTable(std::string_view table, std::string_view where) override;
    // Takes the document's open quantities out of the progressives, writes, and posts
    // what is open afterwards, also when the write fails half-way: the progressives then
    // follow whatever reached the database.
    void WriteDocument(const Variant& ditta, std::string_view numreg,
                       const std::function<void()>& write) override;
    std::optional<std::int32_t> FlowState(std::string_view guid, std::int32_t idFlusso) override;
    void SetFlowState(std::string_view guid, std::int32_t idStato, std::int32_t idFlusso) override;

    SqliteConnection& Sqlite() { return *conn_; }

  private:
    SqliteConnectionPtr conn_;
};

// Creates "ADODB.Command" objects of the SQLite substitute (for HostSettings).
ObjectFactory SqliteCommandFactory();

}  // namespace zq::sim
