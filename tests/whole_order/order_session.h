// A simulated-host session on the demo order, with the plug-in's connection recorded and
// its commands noted, for the tests of this folder.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/db/fixture.h"
#include "sim/db/progressives.h"
#include "sim/host/driver.h"
#include "sim/host/reasons_program.h"
#include "sim/host/sqlite_host_database.h"
#include "spies.h"

namespace zq::testing {

// The host database whose connection, as handed to the plug-in, is recorded.
class RecordingHostDatabase : public sim::SqliteHostDatabase {
  public:
    explicit RecordingHostDatabase(sim::SqliteConnectionPtr conn)
        : SqliteHostDatabase(conn), recording(std::make_shared<RecordingConnection>(conn)) {}
    ado::ConnectionPtr Connection() override { return recording; }
    std::shared_ptr<RecordingConnection> recording;
};

struct SessionOptions {
    std::int32_t numreg = sim::demo::kOrdine;
    bool gestLotti = false;
    // SQLite statements run on the demo data before the document is loaded.
    std::vector<std::string> setup;
    // Header / body controls the host's forms lack.
    std::vector<std::string> headerWithout, bodyWithout;
    bool reasonsProgramInstalled = true;
};

class OrderSession {
  public:
    explicit OrderSession(SessionOptions options = {});
    ~OrderSession();

    // Initialize, then the body form and the header form (the header is the current form).
    void OpenOrder();

    sim::SqliteConnection& Db() { return *conn; }
    sim::HostDriver& Driver() { return *driver; }
    sim::SimHost& Host() { return *host; }
    RecordingConnection& Statements() { return *db->recording; }
    sim::SimControl& HeaderControl(std::string_view name);
    sim::SimControl& BodyControl(std::string_view name);

    // One value read straight from the database (SQLite text, `?` parameters).
    Variant Scalar(std::string_view sql, const std::vector<Variant>& binds = {});
    // DO31_FLGNONPIUEV of every line of the order, by DO30_PROGRIGA.
    std::vector<std::pair<std::int32_t, std::int32_t>> LineFlags();
    std::vector<sim::ShownMessage> Messages() { return host->messaggi->TakeShown(); }
    // The user types into a field and leaves it; answers the flag the decode set.
    bool TypeAndLeave(std::int16_t tipoForm, std::string_view control, const std::string& text);

    sim::SqliteConnectionPtr conn = sim::SqliteConnection::Open(":memory:");
    std::shared_ptr<RecordingHostDatabase> db;
    std::shared_ptr<CommandLog> commands = std::make_shared<CommandLog>();
    std::unique_ptr<sim::SimHost> host;
    std::unique_ptr<sim::HostDriver> driver;
    std::optional<sim::ReasonsProgram> reasons;
    SessionOptions options;
};

// Demo ids.
inline constexpr std::int32_t kAnnullato = sim::demo::kStatoTestaAnnullato;
inline constexpr std::int32_t kInserito = sim::demo::kStatoTestaIniziale;
inline constexpr std::int32_t kFlusso = sim::demo::kFlussoTesta;

}  // namespace zq::testing
