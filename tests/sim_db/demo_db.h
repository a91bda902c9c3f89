// A fresh in-memory demo database for each test, and small reading helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/error.h"
#include "sim/db/fixture.h"
#include "sim/db/plugin_statements.h"
#include "sim/db/schema.h"
#include "sim/db/sqlite_connection.h"

namespace zq::sim::testing {

class DemoDb : public ::testing::Test {
  protected:
    void SetUp() override {
        conn = SqliteConnection::Open(":memory:");
        CreateDemoDatabase(*conn);
    }

    // The single value of a SQLite query (host-side, no dialect).
    Variant Scalar(const std::string& sql, const std::vector<Variant>& binds = {}) {
        auto q = conn->QueryRows(sql, binds);
        EXPECT_EQ(q.rows.size(), 1u) << sql;
        return q.rows.empty() ? Variant() : q.rows[0][0];
    }

    // A T-SQL query run through the connection as the plug-in runs it.
    ado::RecordsetPtr Query(const std::string& tsql) {
        return conn->Execute(tsql, nullptr, stmt::kQuery);
    }

    // Captures one document's reversal working set, "#STORNA_PROGMAG" or
    // "#STORNA_PROGLOTTI", with the statements the plug-in sends: drop, select into, index.
    void Capture(const std::string& table, std::int32_t numreg) {
        const bool lots = table == "#STORNA_PROGLOTTI";
        const std::string elenco = "'" + std::to_string(numreg) + "'";
        for (const std::string& sql :
             {stmt::DropTemp(table),
              lots ? stmt::CatturaLotti(table, "1", elenco, 2)
                   : stmt::CatturaRighe(table, "1", elenco, 2),
              lots ? stmt::IndiceProgLotti(table) : stmt::IndiceProgMag(table)}) {
            conn->Execute(sql, nullptr, stmt::kNoRecords);
        }
    }

    SqliteConnectionPtr conn;
};

// The number of a HostError `f` raised, 0 when none, with its description kept.
template <class F>
std::int32_t ErrorOf(F&& f, std::string* description = nullptr) {
    try {
        f();
    } catch (const HostError& e) {
        if (description) *description = e.Description();
        return e.Number();
    }
    return 0;
}

}  // namespace zq::sim::testing
