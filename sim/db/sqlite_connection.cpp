#include "sim/db/sqlite_connection.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "host/error.h"
#include "sim/db/sqlite_values.h"
#include "sim/db/statement_cache.h"
#include "sim/fault/fault_plan.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {
namespace {

constexpr std::string_view kSource = "SQLite";

std::string ProcKey(std::string_view name) {
    std::string s(name);
    if (!s.empty() && s[0] == '@') s.erase(0, 1);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (s.rfind("DBO.", 0) == 0) s.erase(0, 4);
    return s;
}

std::string TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

// One value as SQLite returned it, kept until the column's type is known.
struct Cell {
    int type = SQLITE_NULL;
    std::int64_t i = 0;
    double d = 0;
    std::string s;
};

bool FitsLong(std::int64_t i) {
    return i >= INT32_MIN && i <= INT32_MAX;
}

// Computed columns have no declared type: take it from the values.
// Dates only come from a NUMERIC-affinity column (a date copied by SELECT ... INTO).
FieldDef FieldFromValues(std::string name, const std::vector<Cell>& column, bool mayHoldDates) {
    bool anyFloat = false, anyInt = false, anyText = false, bigInt = false, allDates = mayHoldDates;
    int longest = 1;
    for (const Cell& c : column) {
        if (c.type == SQLITE_FLOAT) anyFloat = true;
        if (c.type == SQLITE_INTEGER) {
            anyInt = true;
            if (!FitsLong(c.i)) bigInt = true;
        }
        if (c.type == SQLITE_TEXT || c.type == SQLITE_BLOB) {
            anyText = true;
            double ole = 0;
            allDates = allDates && c.s.size() >= 10 && c.s[4] == '-' && IsoToOleDate(c.s, &ole);
            longest = std::max(longest, static_cast<int>(c.s.size()));
        }
    }
    FieldDef f;
    f.name = std::move(name);
    if (anyText && allDates && !anyFloat && !anyInt) {
        f.type = ado::adDBTimeStamp;
        f.definedSize = 16;
    } else if (anyText) {
        f.type = ado::adVarChar;
        f.definedSize = longest;
    } else if (anyFloat || bigInt) {
        f.type = ado::adDouble;
        f.definedSize = 8;
    } else if (anyInt) {
        f.type = ado::adInteger;
        f.definedSize = 4;
    } else {
        f.type = ado::adVariant;
    }
    return f;
}

// Texts move out of the cell: a query's values are converted once, not copied.
Variant Natural(Cell& c) {
    switch (c.type) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER:
            return FitsLong(c.i) ? Variant::Int32(static_cast<std::int32_t>(c.i))
                                 : Variant(static_cast<double>(c.i));
        case SQLITE_FLOAT:
            return Variant(c.d);
        default:
            return Variant(std::move(c.s));
    }
}

Variant Convert(Cell& c, std::int32_t type) {
    if (c.type == SQLITE_NULL) return Variant::Null();
    switch (type) {
        case ado::adSmallInt:
            if (c.type == SQLITE_INTEGER && c.i >= INT16_MIN && c.i <= INT16_MAX)
                return Variant::Int16(static_cast<std::int16_t>(c.i));
            return Natural(c);
        case ado::adDouble:
        case ado::adNumeric:
            if (c.type == SQLITE_INTEGER) return Variant(static_cast<double>(c.i));
            return Natural(c);
        case ado::adVarChar:
        case ado::adLongVarChar:
            if (c.type == SQLITE_INTEGER) return Variant(std::to_string(c.i));
            if (c.type == SQLITE_FLOAT) return Variant(FormatDouble(c.d));
            return Variant(std::move(c.s));
        case ado::adDBTimeStamp: {
            double ole = 0;
            if (c.type == SQLITE_TEXT && IsoToOleDate(c.s, &ole)) return Variant::Date(ole);
            if (c.type == SQLITE_FLOAT || c.type == SQLITE_INTEGER)
                return Variant::Date(c.type == SQLITE_FLOAT ? c.d : static_cast<double>(c.i));
            return Natural(c);
        }
        default:
            return Natural(c);
    }
}

}  // namespace

const Variant& ProcedureArgs::Get(std::string_view name) const {
    auto it = values_.find(ProcKey(name));
    if (it == values_.end())
        Raise(err::AdoProviderError, std::string(kSource),
              "Parameter '" + std::string(name) + "' is not declared.");
    return it->second;
}

std::shared_ptr<SqliteConnection> SqliteConnection::Open(const std::string& path, OpenMode mode) {
    sqlite3* raw = nullptr;
    // One thread uses a connection: SQLite need not lock it on every call.
    const int flags = (mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                                                  : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK)
        Raise(err::AdoProviderError, std::string(kSource),
              raw ? sqlite3_errmsg(raw) : "cannot open the database");
    sqlite3_busy_timeout(db.get(), 2000);
    std::shared_ptr<SqliteConnection> conn(new SqliteConnection(std::move(db)));
    RegisterHostProcedures(*conn);
    return conn;
}

void SqliteConnection::RaiseDbError() const {
    Raise(err::AdoProviderError, std::string(kSource), sqlite3_errmsg(db_.get()));
}

const Variant& QueryResult::At(size_t r, std::string_view column) const {
    for (size_t c = 0; c < fields.size(); ++c)
        if (SameName(fields[c].name, column)) return rows.at(r)[c];
    Raise(err::AdoItemNotFound, std::string(kSource),
          "Item cannot be found in the collection corresponding to the requested name or "
          "ordinal.");
}

namespace {

Cell ReadCell(sqlite3_stmt* stmt, int c) {
    Cell cell;
    cell.type = sqlite3_column_type(stmt, c);
    if (cell.type == SQLITE_INTEGER) cell.i = sqlite3_column_int64(stmt, c);
    if (cell.type == SQLITE_FLOAT) cell.d = sqlite3_column_double(stmt, c);
    if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB) {
        const auto* p = sqlite3_column_text(stmt, c);
        cell.s.assign(reinterpret_cast<const char*>(p),
                      static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
    }
    return cell;
}

// A value of a column whose declaration gives its type, as Convert gives it for the cell
// ReadCell would make: numbers go straight from SQLite into the Variant, texts are copied
// once. A query reads every value of every row this way.
Variant ReadDeclared(sqlite3_stmt* stmt, int c, std::int32_t type) {
    Cell cell;
    cell.type = sqlite3_column_type(stmt, c);
    switch (cell.type) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER:
            cell.i = sqlite3_column_int64(stmt, c);
            if (type == ado::adInteger && FitsLong(cell.i))
                return Variant::Int32(static_cast<std::int32_t>(cell.i));
            return Convert(cell, type);
        case SQLITE_FLOAT:
            cell.d = sqlite3_column_double(stmt, c);
            if (type == ado::adDouble || type == ado::adNumeric) return Variant(cell.d);
            return Convert(cell, type);
        default:
            if (type == ado::adDBTimeStamp) return Convert(cell = ReadCell(stmt, c), type);
            return Variant(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                       static_cast<size_t>(sqlite3_column_bytes(stmt, c))));
    }
}

// The rows of a query in one pass, from the result `*rc` of its first step on: a column
// whose declaration gives its type is converted as it is read; a computed one keeps
// SQLite's values until the last row shows what its type is. The columns are read after
// the first step, when a statement kept from an earlier run has been compiled again for
// a table made again since.
QueryResult ReadRows(sqlite3_stmt* stmt, int* rc, bool pack) {
    QueryResult result;
    result.hasColumns = true;
    const auto cols = static_cast<size_t>(sqlite3_column_count(stmt));
    std::vector<size_t> undeclared;
    for (size_t c = 0; c < cols; ++c) {
        const char* decl = sqlite3_column_decltype(stmt, static_cast<int>(c));
        result.fields.push_back(FieldFromDeclaredType(
            sqlite3_column_name(stmt, static_cast<int>(c)), decl ? decl : ""));
        if (result.fields.back().type == ado::adEmpty) undeclared.push_back(c);
    }
    if (pack) result.packed.emplace(result.fields);
    std::vector<std::vector<Cell>> pending(undeclared.size());
    Row row;
    for (; *rc == SQLITE_ROW; *rc = sqlite3_step(stmt)) {
        row.clear();
        row.reserve(cols);
        for (size_t c = 0, u = 0; c < cols; ++c) {
            if (u < undeclared.size() && undeclared[u] == c) {
                pending[u++].push_back(ReadCell(stmt, static_cast<int>(c)));
                row.emplace_back();
            } else {
                row.push_back(ReadDeclared(stmt, static_cast<int>(c), result.fields[c].type));
            }
        }
        if (pack) {
            result.packed->Add(row);
        } else {
            result.rows.push_back(std::move(row));
            row = Row();
        }
    }
    for (size_t u = 0; u < undeclared.size(); ++u) {
        const size_t c = undeclared[u];
        const bool declared = sqlite3_column_decltype(stmt, static_cast<int>(c)) != nullptr;
        FieldDef& f = result.fields[c];
        f = FieldFromValues(std::move(f.name), pending[u], declared);
        if (pack) {
            result.packed->SetField(c, f);
            for (size_t r = 0; r < pending[u].size(); ++r)
                result.packed->Set(r, c, Convert(pending[u][r], f.type));
        } else {
            for (size_t r = 0; r < result.rows.size(); ++r)
                result.rows[r][c] = Convert(pending[u][r], f.type);
        }
    }
    return result;
}

}  // namespace

QueryResult SqliteConnection::RunText(std::string_view sql, const std::vector<Variant>& binds,
                                      std::int64_t* changes, bool pack) {
    QueryResult result;
    *changes = -1;
    const char* tail = sql.data();
    const char* end = sql.data() + sql.size();
    while (tail < end) {
        StatementCache::Lease stmt;
        const std::string_view rest(tail, static_cast<size_t>(end - tail));
        if (statements_.Prepare(db_.get(), rest, &tail, stmt) != SQLITE_OK) RaiseDbError();
        if (!stmt.get()) continue;  // only blanks or comments were left
        int params = sqlite3_bind_parameter_count(stmt.get());
        for (int i = 0; i < params && i < static_cast<int>(binds.size()); ++i)
            BindVariant(stmt.get(), i + 1, binds[static_cast<size_t>(i)]);

        int rc = sqlite3_step(stmt.get());
        if (sqlite3_column_count(stmt.get()) == 0) {
            while (rc == SQLITE_ROW) rc = sqlite3_step(stmt.get());
            if (rc != SQLITE_DONE) RaiseDbError();
            *changes = (*changes < 0 ? 0 : *changes) + sqlite3_changes(db_.get());
            continue;
        }
        QueryResult rows = ReadRows(stmt.get(), &rc, pack);
        if (rc != SQLITE_DONE) RaiseDbError();
        result = std::move(rows);
    }
    return result;
}

namespace {

// An EXEC[UTE] call, as the dialect layer dispatches it to a procedure.
bool StartsWithExec(std::string_view text) {
    const std::string t = TrimBlanks(text);
    if (t.size() < 4) return false;
    std::string head = t.substr(0, 4);
    for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return head == "EXEC";
}

// A statement's site for the fault plan: its opening words, blanks folded; a procedure
// call: the procedure's name.
std::string StatementSite(std::string_view text) {
    std::string site;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
        if (blank && (site.empty() || site.back() == ' ')) continue;
        site += blank ? ' ' : c;
        if (site.size() >= 60) break;
    }
    if (StartsWithExec(site)) {
        const auto start = site.find(' ');
        const auto end = start == std::string::npos ? start : site.find(' ', start + 1);
        return start == std::string::npos ? site : site.substr(start + 1, end - start - 1);
    }
    return site;
}

}  // namespace

ado::RecordsetPtr SqliteConnection::Execute(std::string_view commandText, Variant* recordsAffected,
                                            std::int32_t options) {
    const bool procedura =
        ((options & 0xFF) == ado::adCmdStoredProc && options != ado::adOptionUnspecified) ||
        StartsWithExec(commandText);
    FaultPoint point(procedura ? FaultKind::Procedure : FaultKind::Statement,
                     StatementSite(commandText));
    NoteStatement(commandText, options);
    lastTsql_ = std::string(commandText);
    if (recordsAffected) *recordsAffected = Variant::Int32(-1);
    if ((options & 0xFF) == ado::adCmdStoredProc && options != ado::adOptionUnspecified) {
        CallProcedure({TrimBlanks(commandText), {}});
        // A procedure may run statements of its own: the trace names the call.
        lastTsql_ = std::string(commandText);
        lastSqlite_ = "(procedure " + TrimBlanks(commandText) + ")";
        return nullptr;
    }
    // A copy: a procedure runs statements of its own, which may start the cache over.
    const RewrittenSql r = Rewritten(commandText);
    if (r.isProcCall) {
        CallProcedure(r.call);
        lastTsql_ = std::string(commandText);
        lastSqlite_ = "(procedure " + r.call.name + ")";
        return nullptr;
    }
    lastSqlite_ = r.sql;
    std::int64_t changes = -1;
    QueryResult q = RunText(r.sql, {}, &changes, true);
    if (recordsAffected)
        *recordsAffected = Variant::Int32(static_cast<std::int32_t>(q.hasColumns ? -1 : changes));
    if (options != ado::adOptionUnspecified && (options & ado::adExecuteNoRecords)) return nullptr;
    if (!q.hasColumns) return nullptr;
    ado::RecordsetPtr rs = q.packed->Finish(nullptr, cursor_);
    LabelRecordset(rs, "query");
    return rs;
}

const RewrittenSql& SqliteConnection::Rewritten(std::string_view tsql) {
    if (const auto it = rewrites_.find(tsql); it != rewrites_.end()) return it->second;
    RewrittenSql r = RewriteTsql(tsql);  // raises before anything is kept
    if (rewrites_.size() >= kRewritesKept) rewrites_.clear();
    return rewrites_.emplace(std::string(tsql), std::move(r)).first->second;
}

ado::RecordsetPtr SqliteConnection::QuerySqlite(std::string_view sql,
                                                const std::vector<Variant>& binds) {
    QueryResult q = QueryPacked(sql, binds);
    if (!q.hasColumns) return MakeRecordset({}, {}, nullptr, cursor_);
    return q.packed->Finish(nullptr, cursor_);
}

QueryResult SqliteConnection::QueryPacked(std::string_view sql, const std::vector<Variant>& binds) {
    std::int64_t changes = 0;
    return RunText(sql, binds, &changes, true);
}

QueryResult SqliteConnection::QueryRows(std::string_view sql, const std::vector<Variant>& binds) {
    std::int64_t changes = 0;
    return RunText(sql, binds, &changes);
}

std::int64_t SqliteConnection::RunSqlite(std::string_view sql, const std::vector<Variant>& binds) {
    std::int64_t changes = 0;
    RunText(sql, binds, &changes);
    return changes;
}

void SqliteConnection::RunScript(std::string_view sql) {
    char* msg = nullptr;
    if (sqlite3_exec(db_.get(), std::string(sql).c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        std::string text = msg ? msg : "script failed";
        sqlite3_free(msg);
        Raise(err::AdoProviderError, std::string(kSource), text);
    }
}

bool SqliteConnection::TableExists(std::string_view name) {
    auto q = QueryRows(
        "SELECT 1 FROM sqlite_temp_master WHERE name = ?1 COLLATE NOCASE AND type IN "
        "('table','view') UNION ALL SELECT 1 FROM sqlite_master WHERE name = ?1 COLLATE NOCASE "
        "AND type IN ('table','view')",
        {Variant(std::string(name))});
    return !q.rows.empty();
}

void SqliteConnection::RegisterProcedure(StoredProcedure p) {
    std::string key = ProcKey(p.name);
    procedures_[key] = std::move(p);
}

std::int32_t SqliteConnection::CallProcedure(const ProcCall& call) {
    auto it = procedures_.find(ProcKey(call.name));
    if (it == procedures_.end())
        Raise(err::AdoProviderError, std::string(kSource),
              "Could not find stored procedure '" + call.name + "'.");
    const StoredProcedure& proc = it->second;
    ProcedureArgs args;
    for (size_t i = 0; i < call.args.size(); ++i) {
        const ProcArgument& a = call.args[i];
        std::string key;
        if (a.name.empty()) {
            if (i >= proc.parameters.size())
                Raise(err::AdoProviderError, std::string(kSource),
                      "Procedure or function " + proc.name + " has too many arguments specified.");
            key = ProcKey(proc.parameters[i]);
        } else {
            key = ProcKey(a.name);
            bool declared = false;
            for (const auto& p : proc.parameters) declared = declared || ProcKey(p) == key;
            if (!declared)
                Raise(err::AdoProviderError, std::string(kSource),
                      a.name + " is not a parameter for procedure " + proc.name + ".");
        }
        args.values_[key] = a.value;
    }
    for (const auto& p : proc.parameters)
        if (!args.values_.count(ProcKey(p)))
            Raise(err::AdoProviderError, std::string(kSource),
                  "Procedure or function '" + proc.name + "' expects parameter '" + p +
                      "', which was not supplied.");
    // A procedure either does all its work or none of it.
    RunScript("SAVEPOINT zq_procedure");
    try {
        std::int32_t rc = proc.body(*this, args);
        RunScript("RELEASE zq_procedure");
        return rc;
    } catch (...) {
        RunScript("ROLLBACK TO zq_procedure; RELEASE zq_procedure");
        throw;
    }
}

}  // namespace zq::sim
