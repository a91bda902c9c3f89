// The database-substitute tests run on a fresh demo database each (the session harness
// builds it; no host loads a document), with the capture of a reversal working set.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim/db/plugin_statements.h"
#include "support/error_of.h"
#include "support/session.h"

namespace zq::sim {

class DemoDbTest : public ::testing::Test {
  protected:
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

    test::Session session;
    SqliteConnectionPtr conn = session.conn;
};

}  // namespace zq::sim
