// The recordset engine on the plug-in's hot path: every line of a large document filters
// the line-extension rows on its line number, reads them, and sometimes writes them. The
// line number carries Optimize, as the plug-in sets it, except where a benchmark says.
#include <benchmark/benchmark.h>

#include <string>

#include "sim/recordset/mem_recordset.h"

namespace {

using namespace zq;

constexpr std::int32_t kLines = 10000;

// Line-extension rows (DO77) of a document with kLines lines, one row per line, the line
// number optimised unless told otherwise.
ado::RecordsetPtr MakeExtensionRows(bool optimised = true) {
    std::vector<sim::FieldDef> fields = {
        {"DO77_DITTA_CG18", ado::adInteger, 4},
        {"DO77_NUMREG_CO99", ado::adVarChar, 20},
        {"DO77_PROGRIGA", ado::adInteger, 4},
        {"DO77_CODCAU_ZQ63", ado::adVarChar, 10},
        {"DO77_DESCAU_ZQ63", ado::adVarChar, 80},
        {"DO77_ZQ_QTA_ORIG", ado::adDouble, 8},
        {"DO77_ZQ_QTA_ANNULLO", ado::adDouble, 8},
        {"DO77_ZQGUID_MASTER_DO30", ado::adVarChar, 36},
        {"DO77_ZQGUID_DETAIL_DO30", ado::adVarChar, 36},
    };
    std::vector<sim::Row> rows;
    rows.reserve(kLines);
    for (std::int32_t line = 1; line <= kLines; ++line) {
        rows.push_back({Variant::Int32(1), Variant("2024000123"), Variant::Int32(line),
                        Variant::Null(), Variant::Null(), Variant(line * 1.5), Variant(0.0),
                        Variant::Null(), Variant::Null()});
    }
    auto rs = sim::MakeRecordset(std::move(fields), std::move(rows));
    if (optimised)
        rs->FieldByName("DO77_PROGRIGA")->Properties("Optimize")->SetValue(Variant::Bool(true));
    return rs;
}

std::string LineFilter(std::int32_t line) {
    return " DO77_PROGRIGA = " + std::to_string(line);
}

// One equality filter and one read, the index already built.
void BM_EqualityFilterAndRead(benchmark::State& state) {
    auto rs = MakeExtensionRows();
    rs->SetFilter(Variant(LineFilter(1)));
    std::int32_t line = 0;
    for (auto _ : state) {
        line = line % kLines + 1;
        rs->SetFilter(Variant(LineFilter(line)));
        benchmark::DoNotOptimize(rs->Get("DO77_ZQ_QTA_ORIG"));
    }
}
BENCHMARK(BM_EqualityFilterAndRead);

// The plug-in's per-line pattern: filter, write a field, Update, lift the filter.
void BM_FilterWriteUpdateUnfilter(benchmark::State& state) {
    auto rs = MakeExtensionRows();
    rs->SetFilter(Variant(LineFilter(1)));
    std::int32_t line = 0;
    for (auto _ : state) {
        line = line % kLines + 1;
        rs->SetFilter(Variant(LineFilter(line)));
        rs->Set("DO77_ZQ_QTA_ANNULLO", Variant(1.0));
        rs->Update();
        rs->SetFilter(Variant::Int32(ado::adFilterNone));
    }
}
BENCHMARK(BM_FilterWriteUpdateUnfilter);

// A write to the filtered column itself between filters: the index follows it row by row.
void BM_FilterAfterWritingTheIndexedColumn(benchmark::State& state) {
    auto rs = MakeExtensionRows();
    rs->SetFilter(Variant(LineFilter(1)));
    std::int32_t line = 0;
    for (auto _ : state) {
        line = line % kLines + 1;
        rs->SetFilter(Variant(LineFilter(line)));
        rs->Set("DO77_PROGRIGA", Variant::Int32(line));
        rs->Update();
    }
}
BENCHMARK(BM_FilterAfterWritingTheIndexedColumn);

// Setting Optimize builds the index: a one-off cost per recordset and field.
void BM_SettingOptimizeBuildsTheIndex(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto rs = MakeExtensionRows(false);
        state.ResumeTiming();
        rs->FieldByName("DO77_PROGRIGA")->Properties("Optimize")->SetValue(Variant::Bool(true));
        rs->SetFilter(Variant(LineFilter(kLines / 2)));
        benchmark::DoNotOptimize(rs->Get("DO77_ZQ_QTA_ORIG"));
    }
}
BENCHMARK(BM_SettingOptimizeBuildsTheIndex)->Unit(benchmark::kMicrosecond);

// For comparison: without Optimize every filter reads every row.
void BM_FilterWithoutOptimizeScans(benchmark::State& state) {
    auto rs = MakeExtensionRows(false);
    std::int32_t line = 0;
    for (auto _ : state) {
        line = line % kLines + 1;
        rs->SetFilter(Variant(LineFilter(line)));
        benchmark::DoNotOptimize(rs->Get("DO77_ZQ_QTA_ORIG"));
    }
}
BENCHMARK(BM_FilterWithoutOptimizeScans)->Unit(benchmark::kMicrosecond);

}  // namespace
