#include "road_run.h"

#include <time.h>

#include <map>

#include "host/error.h"

namespace zq::bench {

namespace {

// The order of each size, built once: building 30,000 lines takes longer than a road.
sim::SqliteConnection& Template(std::int32_t lines) {
    static std::map<std::int32_t, sim::SqliteConnectionPtr> built;
    auto& conn = built[lines];
    if (!conn) {
        conn = sim::SqliteConnection::Open(":memory:");
        conn->RunSqlite("PRAGMA synchronous = OFF");
        sim::CreateDemoDatabase(*conn, lines);
    }
    return *conn;
}

sim::SqliteConnectionPtr CopyOf(sim::SqliteConnection& from) {
    auto to = sim::SqliteConnection::Open(":memory:");
    sqlite3_backup* b = sqlite3_backup_init(to->Handle(), "main", from.Handle(), "main");
    if (!b || sqlite3_backup_step(b, -1) != SQLITE_DONE || sqlite3_backup_finish(b) != SQLITE_OK)
        Raise(err::AdoProviderError, "bench", "cannot copy the order's database");
    return to;
}

sim::HostSettings Settings() {
    sim::HostSettings s;
    s.document = {Variant::Int32(sim::demo::kDitta), std::to_string(sim::demo::kOrdine)};
    s.type.idFlussoRighe = sim::demo::kFlussoRighe;
    s.type.statoInizialeRighe = sim::demo::kStatoRigheIniziale;
    s.commandFactory = sim::SqliteCommandFactory();
    return s;
}

}  // namespace

Clock::duration Clock::now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void TimedHostDatabase::WriteDocument(const Variant& ditta, std::string_view numreg,
                                      const std::function<void()>& write) {
    const auto start = Clock::now();
    SqliteHostDatabase::WriteDocument(ditta, numreg, write);
    saveSeconds += Seconds(Clock::now() - start);
}

RoadRun::RoadRun(std::int32_t lines, bool optimizeOffered)
    : lines_(lines), conn_(CopyOf(Template(lines))) {
    conn_->SetCursor({.offersOptimize = optimizeOffered});
    db_ = std::make_shared<TimedHostDatabase>(conn_);
    auto start = Clock::now();
    host_ = std::make_unique<sim::SimHost>(db_, Settings());
    hostLoadSeconds = Seconds(Clock::now() - start);
    start = Clock::now();
    host_->doc->Save();
    hostSaveSeconds = Seconds(Clock::now() - start);
    db_->saveSeconds = 0;
    reasons_.emplace(host_->ambiente);
    driver_ = std::make_unique<sim::HostDriver>(*host_);
}

RoadRun::~RoadRun() {
    // The plug-in goes before the host objects it refers to.
    driver_.reset();
    reasons_.reset();
    host_.reset();
}

void RoadRun::OpenOrder() {
    if (!driver_->Initialize()) Raise(err::InvalidArgument, "bench", "Initialize failed");
    driver_->OpenForm(2);
    driver_->OpenForm(1);
}

void RoadRun::HostLoadAndSave() {
    sim::SimHost other(db_, Settings());
    other.doc->Save();
}

}  // namespace zq::bench
