// An ADO-style connection over an embedded SQLite database that runs the plug-in's T-SQL.
//
// Every text goes through the dialect layer (dialect.h). Query results are read completely
// into an in-memory recordset before Execute returns, so no statement stays open on the
// connection (an open read would block a later DROP of the same table). `EXEC` texts and
// stored-procedure commands call procedures written in C++ and registered on the
// connection by name.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/ado.h"
#include "sim/db/dialect.h"
#include "sim/db/statement_cache.h"
#include "sim/db/statement_log.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;
using StmtHandle = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

class SqliteConnection;

// Rows of a query with their ADO field definitions, as read before a recordset is made.
struct QueryResult {
    bool hasColumns = false;
    std::vector<FieldDef> fields;
    std::vector<Row> rows;
    // Instead of `rows`, when the query was read for a recordset: the rows packed as read.
    std::optional<RowsBuilder> packed;
    // Value of a named column in row `r`; raises 3265 for an unknown name.
    const Variant& At(size_t r, std::string_view column) const;
};

// Arguments of one procedure call, bound to the procedure's declared parameter names.
class ProcedureArgs {
  public:
    // The value of a declared parameter ("@GUID" or "GUID", any case); Null when the
    // caller passed Null.
    const Variant& Get(std::string_view name) const;

  private:
    friend class SqliteConnection;

    // Rows of a query with their ADO field definitions, as read before a recordset is made.
    struct QueryResult {
        bool hasColumns = false;
        std::vector<FieldDef> fields;
        std::vector<Row> rows;
        // Value of a named column in row `r`; raises 3265 for an unknown name.
        const Variant& At(size_t r, std::string_view column) const;
    };
    std::map<std::string, Variant> values_;  // upper-case name without "@"
};

struct StoredProcedure {
    std::string name;
    std::vector<std::string> parameters;  // declared names with "@", in order
    // Returns the procedure's return value (0 for success, as SQL Server's RETURN).
    std::function<std::int32_t(SqliteConnection&, const ProcedureArgs&)> body;
};

// Create: read and write, the file made when missing. ReadOnly: an existing file only,
// never written (temporary tables still work).
enum class OpenMode { Create, ReadOnly };

class SqliteConnection : public ado::Connection {
  public:
    // Opens the database file; ":memory:" for a private one. Registers the host
    // database's stored procedures.
    static std::shared_ptr<SqliteConnection> Open(const std::string& path,
                                                  OpenMode mode = OpenMode::Create);

    // options: 1 (text), 129 (text, no records), -1 (unspecified), 4 (procedure name).
    // A statement with columns gives an open recordset (possibly empty); any other text
    // gives a null recordset. Failures raise HostError with the provider error number.
    ado::RecordsetPtr Execute(std::string_view commandText, Variant* recordsAffected,
                              std::int32_t options) override;

    // Host-side access that bypasses the dialect: SQLite text with `?` parameters.
    ado::RecordsetPtr QuerySqlite(std::string_view sql, const std::vector<Variant>& binds = {});
    QueryResult QueryRows(std::string_view sql, const std::vector<Variant>& binds = {});
    // The rows packed for a recordset (QueryResult::packed), as a table recordset reads them.
    QueryResult QueryPacked(std::string_view sql, const std::vector<Variant>& binds = {});
    std::int64_t RunSqlite(std::string_view sql, const std::vector<Variant>& binds = {});
    void RunScript(std::string_view sql);     // several statements, no parameters
    bool TableExists(std::string_view name);  // main or temp

    void RegisterProcedure(StoredProcedure p);
    // Binds the call's arguments (by name, or by position when unnamed) and runs it.
    std::int32_t CallProcedure(const ProcCall& call);

    // The texts of the last Execute, for traces: what came in and what SQLite ran.
    const std::string& LastTsql() const { return lastTsql_; }
    const std::string& LastSqlite() const { return lastSqlite_; }

    sqlite3* Handle() const { return db_.get(); }

    // The cursor behind the recordsets this connection makes (query results and the host's
    // table recordsets): a client cursor offering Optimize unless told otherwise.
    void SetCursor(CursorOptions cursor) { cursor_ = cursor; }
    CursorOptions Cursor() const { return cursor_; }

    // Notes every later statement in `log` (null: none), which may make it fail.
    void SetStatementLog(std::shared_ptr<StatementLog> log) { log_ = std::move(log); }
    // What Execute and the stored-procedure commands call before running a statement.
    void NoteStatement(std::string_view text, std::int32_t options) {
        if (log_) log_->Before(text, options);
    }

  private:
    explicit SqliteConnection(DbHandle db) : db_(std::move(db)) {}
    // Runs every statement of the text; the result is the last one that had columns.
    // `pack`: the rows go into QueryResult::packed rather than QueryResult::rows.
    QueryResult RunText(std::string_view sql, const std::vector<Variant>& binds,
                        std::int64_t* changes, bool pack = false);
    [[noreturn]] void RaiseDbError() const;
    // The dialect layer's rewrite of a text, kept for the next Execute of the same text:
    // the rewrite is a pure function of the text, and the capture statements the host's
    // save and the reversal run on every call cost as much to rewrite as a small query to
    // run. At most kRewritesKept texts; the cache starts over when full.
    const RewrittenSql& Rewritten(std::string_view tsql);

    DbHandle db_;
    StatementCache statements_;  // declared after db_: finalized before the database closes
    std::map<std::string, StoredProcedure> procedures_;  // upper-case name
    static constexpr std::size_t kRewritesKept = 128;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, RewrittenSql, TextHash, std::equal_to<>> rewrites_;
    std::string lastTsql_;
    std::string lastSqlite_;
    std::shared_ptr<StatementLog> log_;
    CursorOptions cursor_;
};

using SqliteConnectionPtr = std::shared_ptr<SqliteConnection>;

// Registers SPCO_SETFLUSSOSTATO and SPMG_PROGMAG_DOC (procedures.cpp).
void RegisterHostProcedures(SqliteConnection& conn);

}  // namespace zq::sim
