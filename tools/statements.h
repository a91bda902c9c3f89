// zqstati statements: the statement texts of the plug-in on the demo database.
#pragma once

#include <optional>
#include <string>

namespace zq::tool {

// Creates the demo database (a temporary file when `dbPath` is none; an existing file
// only with `force`, see db_path.h) and runs every statement text of the plug-in on it,
// printing the T-SQL, the SQLite form and the rows. Returns 0 when every statement ran, 1
// when one failed, 2 when the database cannot be made there.
int ListStatements(const std::optional<std::string>& dbPath, bool force);

}  // namespace zq::tool
