#include "sim/db/sqlite_connection.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "host/error.h"
#include "sim/db/sqlite_values.h"
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
FieldDef FieldFromValues(std::string name, const std::vector<std::vector<Cell>>& rows, size_t col,
                         bool mayHoldDates) {
    bool anyFloat = false, anyInt = false, anyText = false, bigInt = false, allDates = mayHoldDates;
    int longest = 1;
    for (const auto& r : rows) {
        const Cell& c = r[col];
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

Variant Natural(const Cell& c) {
    switch (c.type) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER:
            return FitsLong(c.i) ? Variant::Int32(static_cast<std::int32_t>(c.i))
                                 : Variant(static_cast<double>(c.i));
        case SQLITE_FLOAT:
            return Variant(c.d);
        default:
            return Variant(c.s);
    }
}

Variant Convert(const Cell& c, std::int32_t type) {
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
            return Variant(c.s);
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
    const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
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

QueryResult SqliteConnection::RunText(std::string_view sql, const std::vector<Variant>& binds,
                                      std::int64_t* changes) {
    QueryResult result;
    *changes = -1;
    const char* tail = sql.data();
    const char* end = sql.data() + sql.size();
    while (tail < end) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), tail, static_cast<int>(end - tail), &raw, &tail) !=
            SQLITE_OK)
            RaiseDbError();
        StmtHandle stmt(raw);
        if (!stmt) continue;  // only blanks or comments were left
        int params = sqlite3_bind_parameter_count(stmt.get());
        for (int i = 0; i < params && i < static_cast<int>(binds.size()); ++i)
            BindVariant(stmt.get(), i + 1, binds[static_cast<size_t>(i)]);

        const int cols = sqlite3_column_count(stmt.get());
        std::vector<std::vector<Cell>> rows;
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            std::vector<Cell> row(static_cast<size_t>(cols));
            for (int c = 0; c < cols; ++c) {
                Cell& cell = row[static_cast<size_t>(c)];
                cell.type = sqlite3_column_type(stmt.get(), c);
                if (cell.type == SQLITE_INTEGER) cell.i = sqlite3_column_int64(stmt.get(), c);
                if (cell.type == SQLITE_FLOAT) cell.d = sqlite3_column_double(stmt.get(), c);
                if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB) {
                    const auto* p = sqlite3_column_text(stmt.get(), c);
                    cell.s.assign(reinterpret_cast<const char*>(p),
                                  static_cast<size_t>(sqlite3_column_bytes(stmt.get(), c)));
                }
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) RaiseDbError();
        if (cols == 0) {
            *changes = (*changes < 0 ? 0 : *changes) + sqlite3_changes(db_.get());
            continue;
        }
        std::vector<FieldDef> fields;
        for (int c = 0; c < cols; ++c) {
            const char* decl = sqlite3_column_decltype(stmt.get(), c);
            std::string name = sqlite3_column_name(stmt.get(), c);
            FieldDef f = FieldFromDeclaredType(name, decl ? decl : "");
            if (f.type == ado::adEmpty)
                f = FieldFromValues(name, rows, static_cast<size_t>(c), decl != nullptr);
            fields.push_back(std::move(f));
        }
        std::vector<Row> values;
        values.reserve(rows.size());
        for (const auto& r : rows) {
            Row v;
            v.reserve(static_cast<size_t>(cols));
            for (int c = 0; c < cols; ++c)
                v.push_back(
                    Convert(r[static_cast<size_t>(c)], fields[static_cast<size_t>(c)].type));
            values.push_back(std::move(v));
        }
        result.hasColumns = true;
        result.fields = std::move(fields);
        result.rows = std::move(values);
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
    RewrittenSql r = RewriteTsql(commandText);
    if (r.isProcCall) {
        CallProcedure(r.call);
        lastTsql_ = std::string(commandText);
        lastSqlite_ = "(procedure " + r.call.name + ")";
        return nullptr;
    }
    lastSqlite_ = r.sql;
    std::int64_t changes = -1;
    QueryResult q = RunText(r.sql, {}, &changes);
    if (recordsAffected)
        *recordsAffected = Variant::Int32(static_cast<std::int32_t>(q.hasColumns ? -1 : changes));
    if (options != ado::adOptionUnspecified && (options & ado::adExecuteNoRecords)) return nullptr;
    if (!q.hasColumns) return nullptr;
    ado::RecordsetPtr rs = MakeRecordset(std::move(q.fields), std::move(q.rows));
    LabelRecordset(rs, "query");
    return rs;
}

ado::RecordsetPtr SqliteConnection::QuerySqlite(std::string_view sql,
                                                const std::vector<Variant>& binds) {
    QueryResult q = QueryRows(sql, binds);
    return MakeRecordset(std::move(q.fields), std::move(q.rows));
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
