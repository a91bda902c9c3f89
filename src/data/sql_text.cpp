#include "data/sql_text.h"

namespace zq {

std::string SqlText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string SqlLong(std::int32_t value) {
    return std::to_string(value);
}

std::string SqlBare(const Variant& value) {
    return value.IsNull() ? "" : value.ToString();
}

std::string SqlDropTempTable(std::string_view name) {
    std::string n(name);
    return "IF NOT OBJECT_ID('TEMPDB.DBO." + n + "') IS NULL DROP TABLE " + n;
}

}  // namespace zq
