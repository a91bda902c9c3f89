// The plug-in's one query per pass of ApplicaStatoRighe: every line of the order with its
// fulfilment (DO30 joined with VFW_SELDOC), read into a recordset, on orders of growing size.
#include <benchmark/benchmark.h>

#include "engine/query_evasione.h"
#include "sim/db/fixture.h"
#include "sim/db/sqlite_connection.h"

namespace {

using namespace zq;

// Apart, so that a profiler can be pointed at the query alone.
[[gnu::noinline]] std::int32_t RunFulfilmentQuery(sim::SqliteConnection& conn,
                                                  const std::string& sql) {
    return conn.Execute(sql, nullptr, ado::adCmdText)->RecordCount();
}

void BM_FulfilmentQuery(benchmark::State& state) {
    const auto lines = static_cast<std::int32_t>(state.range(0));
    auto conn = sim::SqliteConnection::Open(":memory:");
    conn->RunSqlite("PRAGMA synchronous = OFF");
    sim::CreateDemoDatabase(*conn, lines);
    const std::string sql = plugin::QueryEvasioneDocumento(Variant::Int32(sim::demo::kDitta),
                                                           Variant::Int32(sim::demo::kOrdine));
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunFulfilmentQuery(*conn, sql));
    }
}
BENCHMARK(BM_FulfilmentQuery)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
