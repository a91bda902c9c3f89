// Test doubles that stand between the plug-in and the SQLite host database: a connection
// that notes every statement and can make chosen ones fail, and an ADO command that notes
// how the plug-in builds it before running it on the database.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado.h"
#include "host/create_object.h"
#include "sim/db/sqlite_connection.h"

namespace zq::testing {

struct Statement {
    std::string text;
    std::int32_t options = 0;
    bool operator==(const Statement&) const = default;
};
inline void PrintTo(const Statement& s, std::ostream* os) {
    *os << s.options << ": " << s.text;
}

// Forwards every statement to the database after noting it. A statement for which
// `failWhen` answers true raises a provider error instead of running.
class RecordingConnection : public ado::Connection {
  public:
    explicit RecordingConnection(sim::SqliteConnectionPtr db) : db_(std::move(db)) {}
    ado::RecordsetPtr Execute(std::string_view text, Variant* recordsAffected,
                              std::int32_t options) override;

    sim::SqliteConnection& Db() const { return *db_; }
    const sim::SqliteConnectionPtr& DbPtr() const { return db_; }
    std::vector<Statement> statements;
    std::function<bool(std::string_view)> failWhen;

  private:
    sim::SqliteConnectionPtr db_;
};

// One parameter as the plug-in created it, with every value later assigned to it.
struct NotedParameter {
    std::string name;
    std::int32_t type = 0, direction = 0, size = 0;
    std::uint8_t precision = 0, scale = 0;
    bool appended = false;
    std::vector<Variant> values;
};

// What the plug-in did with the commands it created.
struct CommandLog {
    int created = 0;
    std::vector<std::string> calls;  // member names in call order
    std::string text;
    std::int32_t type = 0, timeout = -1, executeOptions = 0;
    bool named = false;
    bool activeConnectionSet = false;
    std::vector<std::shared_ptr<NotedParameter>> parameters;  // in creation order
    std::int32_t failExecute = 0;  // error number Execute raises (0: runs on the database)
    int executed = 0;
    const NotedParameter* Param(std::string_view name) const;
};

// Makes the commands the plug-in creates as "ADODB.Command": they note into `log` and run
// on `db` (the database behind the plug-in's connection).
ObjectFactory SpyCommandFactory(std::shared_ptr<CommandLog> log, sim::SqliteConnectionPtr db);

}  // namespace zq::testing
