// Rewrites the T-SQL texts the plug-in sends into statements SQLite runs.
//
// The rewrite is rule based and works on a masked copy of the text: string literals,
// quoted and bracketed identifiers and comments are set aside first, so no rule can fire
// inside a value typed by a user. `EXEC name @p=v, …` is not rewritten but parsed into a
// call of a stored procedure implemented on the connection.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/variant.h"

namespace zq::sim {

// One argument of a procedure call; `name` keeps its "@" and is empty for a positional one.
struct ProcArgument {
    std::string name;
    Variant value;
};

struct ProcCall {
    std::string name;
    std::vector<ProcArgument> args;
};

struct RewrittenSql {
    bool isProcCall = false;
    std::string sql;  // the SQLite text (when not a procedure call)
    ProcCall call;    // the parsed call (when a procedure call)
};

// Raises HostError (provider error) on a text the rules cannot make sense of, for
// example a drop guard whose two table names disagree or a malformed EXEC.
RewrittenSql RewriteTsql(std::string_view tsql);

// Only the SQL text; a procedure call raises.
std::string RewriteToSqlite(std::string_view tsql);

}  // namespace zq::sim
