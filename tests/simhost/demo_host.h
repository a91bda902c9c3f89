// A simulated-host session on the demo database, for the tests of this folder.
#pragma once

#include <memory>

#include "sim/db/fixture.h"
#include "sim/db/progressives.h"
#include "sim/host/sim_host.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::sim::testing {

inline HostSettings DemoSettings(std::int32_t numreg = demo::kOrdine) {
    HostSettings s;
    s.document = {Variant::Int32(demo::kDitta), std::to_string(numreg)};
    s.type.idFlussoRighe = demo::kFlussoRighe;
    s.type.statoInizialeRighe = demo::kStatoRigheIniziale;
    s.commandFactory = SqliteCommandFactory();
    return s;
}

struct DemoDb {
    SqliteConnectionPtr conn = SqliteConnection::Open(":memory:");
    std::shared_ptr<SqliteHostDatabase> db;
    DemoDb() {
        CreateDemoDatabase(*conn);
        db = std::make_shared<SqliteHostDatabase>(conn);
    }
    std::unique_ptr<SimHost> Open(HostSettings s = DemoSettings()) {
        return std::make_unique<SimHost>(db, std::move(s));
    }
};

}  // namespace zq::sim::testing
