// A fresh in-memory demo database for each test, and small reading helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/error.h"
#include "sim/db/fixture.h"
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
