// zqstati: the order-cancellation plug-in without its host. It plays the plug-in in the
// simulated host on an embedded SQLite host database.
//
//   zqstati demo [--db FILE] [--json]        a narrated session on the demo order
//   zqstati run FILE|DIR ...                 scenario files (docs/scenarios.md)
//   zqstati check --db FILE [--doc NUMREG]   audit of the cancellation data
//   zqstati statements [--db FILE]           the plug-in's statement texts on the demo data
#include <CLI/CLI.hpp>
#include <iostream>

#include "tools/check.h"
#include "tools/demo.h"
#include "tools/host_matrix.h"
#include "tools/runner.h"
#include "tools/statements.h"

int main(int argc, char** argv) {
    using namespace zq::tool;
    CLI::App app{
        "zqstati: the order-cancellation plug-in in a simulated host, on an embedded SQLite "
        "host database"};
    app.require_subcommand(1);

    DemoOptions demo;
    auto* demoCmd = app.add_subcommand(
        "demo",
        "Create the demo database and play a narrated session: cancel the whole order, try to "
        "save it without a reason, reinstate it; the document, the messages and the "
        "progressives after each step");
    demoCmd->add_option(
        "--db", demo.dbPath,
        "Database file to create (replacing it) and keep (default: a temporary file)");
    demoCmd->add_flag("--json", demo.json, "Print the session as one JSON document");

    std::vector<std::string> paths;
    bool hostMatrix = false;
    auto* runCmd = app.add_subcommand(
        "run", "Run scenario files (JSON, see docs/scenarios.md); exit status 0 when all pass");
    runCmd->add_option("paths", paths, "Scenario files, or folders of *.json files")->required();
    std::string matrixHelp =
        "Play each scenario under every combination of the host options it does not set "
        "itself; a failure names the combination. The options:";
    for (const auto& o : HostOptions()) {
        std::string values;
        for (const auto& v : o.values) values += (values.empty() ? "" : ", ") + v.dump();
        matrixHelp += std::string("\n  ") + o.name + " (" + values + "): " + o.meaning;
    }
    runCmd->add_flag("--host-matrix", hostMatrix, matrixHelp);

    std::string db;
    std::int32_t doc = 0;
    bool checkJson = false;
    std::string rules =
        "Audit the cancellation data of a host database; exit status 1 when "
        "anything is found, 2 when it could not check. Rules:";
    for (const auto& r : CheckRules()) rules += std::string("\n  ") + r.name + ": " + r.requirement;
    auto* checkCmd = app.add_subcommand("check", rules);
    checkCmd->add_option("--db", db, "Database file to audit")->required();
    auto* docOpt = checkCmd->add_option("--doc", doc, "Audit only this registration number");
    checkCmd->add_flag("--json", checkJson, "Print the findings as one JSON document");

    std::string statementsDb;
    auto* stmtCmd = app.add_subcommand(
        "statements",
        "Create the demo database and run every statement text of the plug-in on it, with the "
        "SQLite text each became and its rows");
    stmtCmd->add_option("--db", statementsDb,
                        "Database file to create (default: a temporary file)");

    CLI11_PARSE(app, argc, argv);
    if (*demoCmd) return RunDemo(demo, std::cout, std::cerr);
    if (*runCmd) return RunScenarios(paths, std::cout, hostMatrix);
    if (*checkCmd)
        return RunCheck(db, *docOpt ? std::optional<std::int32_t>(doc) : std::nullopt, checkJson,
                        std::cout, std::cerr);
    if (*stmtCmd) return ListStatements(statementsDb);
    return 0;
}
