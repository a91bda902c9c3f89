// Test doubles that stand between the plug-in and the SQLite host database: the connection
// the host hands the plug-in, which notes every statement and can make chosen ones fail,
// the host database that hands it out, and an ADO command that notes how the plug-in
// builds it before running it on the database; and a late-bound object that notes the
// members used on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado.h"
#include "host/create_object.h"
#include "host/object.h"
#include "sim/db/sqlite_connection.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::test {

struct Statement {
    std::string text;
    std::int32_t options = 0;
    bool operator==(const Statement&) const = default;
};
inline void PrintTo(const Statement& s, std::ostream* os) {
    *os << s.options << ": " << s.text;
}

// Forwards every statement to the database after noting it. A statement for which
// `failWhen` answers true raises a provider error instead of running (it is noted all the
// same, and counted in `refused`).
class RecordingConnection : public ado::Connection {
  public:
    explicit RecordingConnection(sim::SqliteConnectionPtr db) : db_(std::move(db)) {}
    ado::RecordsetPtr Execute(std::string_view text, Variant* recordsAffected,
                              std::int32_t options) override;

    sim::SqliteConnection& Db() const { return *db_; }
    const sim::SqliteConnectionPtr& DbPtr() const { return db_; }
    std::vector<std::string> Texts() const;

    std::vector<Statement> statements;
    std::function<bool(std::string_view)> failWhen;
    int refused = 0;

  private:
    sim::SqliteConnectionPtr db_;
};

// The host database whose connection, as handed to the plug-in, is a RecordingConnection.
class RecordingHostDatabase : public sim::SqliteHostDatabase {
  public:
    explicit RecordingHostDatabase(sim::SqliteConnectionPtr conn)
        : SqliteHostDatabase(conn), recording(std::make_shared<RecordingConnection>(conn)) {}
    ado::ConnectionPtr Connection() override { return recording; }
    std::shared_ptr<RecordingConnection> recording;
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
    std::vector<std::string> executedTexts;  // the text of each command executed, in order
    const NotedParameter* Param(std::string_view name) const;
};

// A late-bound object that notes every member used on it, as "name.Member" (an assignment
// as "name.Member=value"), and answers Empty.
class RecordingObject : public Object {
  public:
    RecordingObject(std::shared_ptr<std::vector<std::string>> calls, std::string name)
        : calls_(std::move(calls)), name_(std::move(name)) {}
    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;

  private:
    std::shared_ptr<std::vector<std::string>> calls_;
    std::string name_;
};

// Makes the commands the plug-in creates as "ADODB.Command": they note into `log` and run
// on `db` (the database behind the plug-in's connection).
ObjectFactory SpyCommandFactory(std::shared_ptr<CommandLog> log, sim::SqliteConnectionPtr db);

}  // namespace zq::test
