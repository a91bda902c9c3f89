// zqstati statements: the statement texts of the plug-in on the demo database.
#pragma once

#include <string>

namespace zq::tool {

// Creates the demo database (a temporary file when `dbPath` is empty) and runs every
// statement text of the plug-in on it, printing the T-SQL, the SQLite form and the rows.
// Returns 0 when every statement ran.
int ListStatements(const std::string& dbPath);

}  // namespace zq::tool
