#include "sim/db/table_recordset.h"

#include "host/error.h"

namespace zq::sim {
namespace {

// ADO's "Row cannot be located for updating" (DB_E_ERRORSOCCURRED family).
constexpr std::int32_t kRowNotFound = -2147217864;

std::string Quote(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

size_t IndexOf(const std::vector<FieldDef>& fields, std::string_view name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (SameName(fields[i].name, name)) return i;
    Raise(err::AdoItemNotFound, "TableWriter", "Key column " + std::string(name) + " missing");
}

}  // namespace

TableWriter::TableWriter(SqliteConnectionPtr conn, std::string table, std::vector<std::string> keys)
    : conn_(std::move(conn)), table_(std::move(table)), keys_(std::move(keys)) {
    if (keys_.empty())
        Raise(err::AdoNotAllowed, "TableWriter", "Table " + table_ + " has no primary key");
}

std::string TableWriter::KeyCondition(const std::vector<FieldDef>& fields, const Row& original,
                                      std::vector<Variant>& binds) const {
    std::string where;
    for (const auto& k : keys_) {
        if (!where.empty()) where += " AND ";
        const Variant& v = original[IndexOf(fields, k)];
        if (v.IsNull() || v.IsEmpty()) {
            where += Quote(k) + " IS NULL";
        } else {
            where += Quote(k) + " = ?";
            binds.push_back(v);
        }
    }
    return where;
}

void TableWriter::Insert(const std::vector<FieldDef>& fields, const Row& row) {
    std::string cols, marks;
    std::vector<Variant> binds;
    for (size_t i = 0; i < fields.size(); ++i) {
        // As ADO's client cursor does, a new row names only the columns it was given a
        // value for: the others (Empty or Null) take the table's default.
        if (row[i].IsEmpty() || row[i].IsNull()) continue;
        if (!cols.empty()) {
            cols += ",";
            marks += ",";
        }
        cols += Quote(fields[i].name);
        marks += "?";
        binds.push_back(row[i]);
    }
    if (cols.empty())
        conn_->RunSqlite("INSERT INTO " + Quote(table_) + " DEFAULT VALUES");
    else
        conn_->RunSqlite("INSERT INTO " + Quote(table_) + " (" + cols + ") VALUES (" + marks + ")",
                         binds);
}

void TableWriter::Update(const std::vector<FieldDef>& fields, const Row& original,
                         const Row& current) {
    std::string set;
    std::vector<Variant> binds;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (original[i].SameAs(current[i])) continue;
        if (!set.empty()) set += ",";
        set += Quote(fields[i].name) + " = ?";
        binds.push_back(current[i].IsEmpty() ? Variant::Null() : current[i]);
    }
    if (set.empty()) return;
    std::string where = KeyCondition(fields, original, binds);
    if (conn_->RunSqlite("UPDATE " + Quote(table_) + " SET " + set + " WHERE " + where, binds) == 0)
        Raise(kRowNotFound, "TableWriter",
              "Row cannot be located for updating. Some values may have been changed since it "
              "was last read.");
}

void TableWriter::Delete(const std::vector<FieldDef>& fields, const Row& original) {
    std::vector<Variant> binds;
    std::string where = KeyCondition(fields, original, binds);
    if (conn_->RunSqlite("DELETE FROM " + Quote(table_) + " WHERE " + where, binds) == 0)
        Raise(kRowNotFound, "TableWriter",
              "Row cannot be located for updating. Some values may have been changed since it "
              "was last read.");
}

std::vector<std::string> PrimaryKeyOf(SqliteConnection& conn, std::string_view table) {
    auto q = conn.QueryRows("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk",
                            {Variant(std::string(table))});
    std::vector<std::string> keys;
    for (const auto& r : q.rows) keys.push_back(r[0].ToString());
    return keys;
}

ado::RecordsetPtr OpenTable(const SqliteConnectionPtr& conn, std::string_view table,
                            std::string_view whereCondition) {
    std::vector<std::string> keys = PrimaryKeyOf(*conn, table);
    std::string sql = "SELECT * FROM " + Quote(table);
    if (!whereCondition.empty()) sql += " WHERE " + std::string(whereCondition);
    if (!keys.empty()) {
        sql += " ORDER BY ";
        for (size_t i = 0; i < keys.size(); ++i) sql += (i ? "," : "") + Quote(keys[i]);
    }
    QueryResult q = conn->QueryPacked(sql);
    for (std::size_t c = 0; c < q.fields.size(); ++c) {
        FieldDef f = q.fields[c];
        for (const auto& k : keys)
            if (SameName(k, f.name)) f.attributes |= ado::adFldKeyColumn;
        q.packed->SetField(c, std::move(f));
    }
    ado::RecordsetPtr rs = q.packed->Finish(
        std::make_shared<TableWriter>(conn, std::string(table), std::move(keys)), conn->Cursor());
    LabelRecordset(rs, std::string(table));
    return rs;
}

}  // namespace zq::sim
