// Building statement texts: fixed fragments concatenated with values, each fragment
// carrying its own blanks, so that the text sent is exactly the one written in the code.
//
//     " SELECT ZQ00_IDSTATO FROM ZQ00_PARAMETRI WITH (NOLOCK) WHERE ZQ00_DITTA_CG18 = " +
//         SqlBare(codiceDitta) + " AND ZQ63_CODICE = " + SqlText(code)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/variant.h"

namespace zq {

// The line break inside multi-line statements.
inline constexpr std::string_view kCrLf = "\r\n";

// A text literal: between single quotes, with every quote inside doubled, so that a value
// typed by the user (a reason code, say) can only ever be one literal.
std::string SqlText(std::string_view text);

// A 32-bit integer (state and flow ids, line numbers): its decimal text.
std::string SqlLong(std::int32_t value);

// A value written bare, without quotes (the company code, a registration number as the
// host's conversion functions give it): its text form, Null writing nothing, as the host
// language's & operator does.
std::string SqlBare(const Variant& value);

// Drops a temporary table when it exists, in the form the host database expects:
// "IF NOT OBJECT_ID('TEMPDB.DBO.#T') IS NULL DROP TABLE #T".
std::string SqlDropTempTable(std::string_view name);

}  // namespace zq
