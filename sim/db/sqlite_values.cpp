#include "sim/db/sqlite_values.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/ado.h"
#include "host/error.h"

namespace zq::sim {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kOleEpoch = -25569;

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The numbers in "(20)" or "(18,4)".
void SizeOf(std::string_view decl, int* first, int* second) {
    size_t open = decl.find('(');
    if (open == std::string_view::npos) return;
    *first = std::atoi(std::string(decl.substr(open + 1)).c_str());
    size_t comma = decl.find(',', open);
    if (comma != std::string_view::npos)
        *second = std::atoi(std::string(decl.substr(comma + 1)).c_str());
}

}  // namespace

std::string OleDateToIso(double oleDate) {
    double dayPart = std::floor(oleDate);
    std::int64_t seconds = std::llround((oleDate - dayPart) * 86400.0);
    std::int64_t days = static_cast<std::int64_t>(dayPart) + kOleEpoch;
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, &y, &m, &d);
    char buf[96];
    if (seconds == 0) {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    } else {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                      static_cast<long long>(y), m, d, static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60),
                      static_cast<long long>(seconds % 60));
    }
    return buf;
}

bool IsoToOleDate(std::string_view iso, double* oleDate) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0;
    std::string text(iso);
    int n = std::sscanf(text.c_str(), "%d-%d-%d%*[ T]%d:%d:%lf", &y, &mo, &d, &h, &mi, &s);
    if (n < 3 || mo < 1 || mo > 12 || d < 1 || d > 31) return false;
    double days = static_cast<double>(
        DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) - kOleEpoch);
    *oleDate = days + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
    return true;
}

FieldDef FieldFromDeclaredType(std::string name, std::string_view declared) {
    FieldDef f;
    f.name = std::move(name);
    std::string d = Upper(declared);
    int first = 0, second = 0;
    SizeOf(d, &first, &second);
    if (d.empty() || d == "NUM") {
        // No declaration, or the NUMERIC affinity a table made by SELECT ... INTO gives to
        // dates and decimals: the values decide.
        f.type = ado::adEmpty;
    } else if (d.find("SMALLINT") != std::string::npos || d.find("TINYINT") != std::string::npos ||
               d == "BIT") {
        f.type = ado::adSmallInt;
        f.definedSize = 2;
    } else if (d.find("INT") != std::string::npos) {
        f.type = ado::adInteger;
        f.definedSize = 4;
    } else if (d.find("CHAR") != std::string::npos) {
        f.type = ado::adVarChar;
        f.definedSize = first > 0 ? first : 8000;
    } else if (d.find("TEXT") != std::string::npos || d.find("CLOB") != std::string::npos) {
        f.type = ado::adLongVarChar;
        f.definedSize = 2147483647;
    } else if (d.find("DATE") != std::string::npos || d.find("TIME") != std::string::npos) {
        f.type = ado::adDBTimeStamp;
        f.definedSize = 16;
    } else if (d.find("NUMERIC") != std::string::npos || d.find("DECIMAL") != std::string::npos) {
        f.type = ado::adNumeric;
        f.definedSize = 19;
        f.precision = static_cast<std::uint8_t>(first > 0 ? first : 18);
        f.numericScale = static_cast<std::uint8_t>(second);
    } else {
        // REAL, FLOAT, DOUBLE, NUM: everything numeric that is not an integer.
        f.type = ado::adDouble;
        f.definedSize = 8;
        f.precision = 15;
    }
    return f;
}

void BindVariant(sqlite3_stmt* stmt, int index, const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null:
            sqlite3_bind_null(stmt, index);
            break;
        case VarType::Integer:
        case VarType::Long:
        case VarType::Boolean:
            sqlite3_bind_int64(stmt, index, v.ToLong());
            break;
        case VarType::Double:
            sqlite3_bind_double(stmt, index, v.RawDouble());
            break;
        case VarType::Date: {
            std::string iso = OleDateToIso(v.ToDouble());
            sqlite3_bind_text(stmt, index, iso.c_str(), static_cast<int>(iso.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        case VarType::String:
            sqlite3_bind_text(stmt, index, v.RawString().c_str(),
                              static_cast<int>(v.RawString().size()), SQLITE_TRANSIENT);
            break;
        default:
            Raise(err::TypeMismatch, "SQLite", "Type mismatch");
    }
}

}  // namespace zq::sim
