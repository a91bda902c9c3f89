// The demo order grown to many lines, opened in the simulated host with the plug-in on its
// header form, on a cursor that offers Optimize or one that does not.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "sim/db/fixture.h"
#include "sim/host/driver.h"
#include "sim/host/reasons_program.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::testing {

class LargeOrder {
  public:
    LargeOrder(std::int32_t lines, sim::CursorOptions cursor = {});
    ~LargeOrder();

    sim::SqliteConnection& Db() { return *conn_; }
    sim::HostDriver& Driver() { return *driver_; }
    // DO31_FLGNONPIUEV, DO77_ZQ_QTA_ANNULLO and the reason of every line as the database
    // holds them, one text per line.
    std::vector<std::string> Lines();

  private:
    sim::SqliteConnectionPtr conn_ = sim::SqliteConnection::Open(":memory:");
    std::unique_ptr<sim::SimHost> host_;
    std::optional<sim::ReasonsProgram> reasons_;
    std::unique_ptr<sim::HostDriver> driver_;
};

}  // namespace zq::testing
