// One run of a road on a large order, as the host plays it: a fresh copy of the order's
// database, the host's own load and save of it (the reference every road is set against),
// then the plug-in on its forms. Saves the host makes during the road are timed apart, so
// that a road's own work is the road less the saves it triggers.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "sim/db/fixture.h"
#include "sim/host/driver.h"
#include "sim/host/reasons_program.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::bench {

// The CPU time of the calling thread: the roads run on one thread, and on a machine shared
// with compilers wall time would count their time too.
struct Clock {
    using duration = std::chrono::nanoseconds;
    static duration now();
};
double Seconds(Clock::duration d);

// The host database with its write-back timed.
class TimedHostDatabase : public sim::SqliteHostDatabase {
  public:
    using SqliteHostDatabase::SqliteHostDatabase;
    void WriteDocument(const Variant& ditta, std::string_view numreg,
                       const std::function<void()>& write) override;
    double saveSeconds = 0;  // summed over the saves
};

class RoadRun {
  public:
    // Copies the order of `lines` lines (built once per size and kept) into a private
    // database whose cursor offers Optimize or not, loads the document in the host (timed)
    // and has the host save it unchanged (timed).
    RoadRun(std::int32_t lines, bool optimizeOffered);
    ~RoadRun();
    RoadRun(const RoadRun&) = delete;
    RoadRun& operator=(const RoadRun&) = delete;

    // The user opens the order: Initialize, the body form, then the header form.
    void OpenOrder();
    // The host loads the same order again and saves it unchanged, without the plug-in.
    void HostLoadAndSave();

    sim::HostDriver& Driver() { return *driver_; }
    std::int32_t Lines() const { return lines_; }
    std::int32_t MiddleLine() const { return lines_ / 2 + 1; }
    double SavedSeconds() const { return db_->saveSeconds; }

    double hostLoadSeconds = 0;  // the host's own load of the order
    double hostSaveSeconds = 0;  // the host's own save of the unchanged order

  private:
    std::int32_t lines_;
    sim::SqliteConnectionPtr conn_;
    std::shared_ptr<TimedHostDatabase> db_;
    std::unique_ptr<sim::SimHost> host_;
    std::optional<sim::ReasonsProgram> reasons_;
    std::unique_ptr<sim::HostDriver> driver_;
};

}  // namespace zq::bench
