// zqstati: the order-cancellation plug-in without its host. It plays the plug-in in the
// simulated host on an embedded SQLite host database.
//
//   zqstati demo [--db FILE [--force]] [--json] [--lines N]  a narrated session on the demo order
//   zqstati run FILE|DIR ...                     scenario files (docs/scenarios.md)
//   zqstati check --db FILE [--doc NUMREG]       audit of the cancellation data
//   zqstati statements [--db FILE [--force]]     the plug-in's statement texts on the demo data
//   zqstati random [--seed S] [--events N] [--budget-seconds T] [--save-to DIR]
//                                                random user sessions with invariants
//
// A usage error (an unknown option, a number out of range) ends with status 2, as does a
// path the program will not use (docs/cli.md).
#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>

#include "tools/check.h"
#include "tools/demo.h"
#include "tools/host_matrix.h"
#include "tools/random_session.h"
#include "tools/runner.h"
#include "tools/statements.h"

int main(int argc, char** argv) {
    using namespace zq::tool;
    CLI::App app{
        "zqstati: the order-cancellation plug-in in a simulated host, on an embedded SQLite "
        "host database"};
    app.require_subcommand(1);

    DemoOptions demo;
    std::string demoDb;
    auto* demoCmd = app.add_subcommand(
        "demo",
        "Create the demo database and play a narrated session: cancel the whole order, try to "
        "save it without a reason, reinstate it; the document, the messages and the "
        "progressives after each step");
    auto* demoDbOpt =
        demoCmd->add_option("--db", demoDb,
                            "Database file to create and keep (default: a temporary file); an "
                            "existing file is left alone unless --force is given");
    demoCmd->add_flag("--force", demo.force,
                      "Replace the --db file when it is a database of this program (any other "
                      "file, a folder or a link is never replaced)");
    demoCmd->add_flag("--json", demo.json, "Print the session as one JSON document");
    demoCmd
        ->add_option("--lines", demo.lines,
                     "Lines of the demo order: its nine, then generated size-grid families up "
                     "to this many (a large order, to see the plug-in's time and memory on it)")
        ->check(CLI::Range(9, 1000000));

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
    bool statementsForce = false;
    auto* stmtCmd = app.add_subcommand(
        "statements",
        "Create the demo database and run every statement text of the plug-in on it, with the "
        "SQLite text each became and its rows");
    auto* stmtDbOpt =
        stmtCmd->add_option("--db", statementsDb,
                            "Database file to create and keep (default: a temporary file); an "
                            "existing file is left alone unless --force is given");
    stmtCmd->add_flag("--force", statementsForce,
                      "Replace the --db file when it is a database of this program");

    RandomOptions random;
    auto* randomCmd = app.add_subcommand(
        "random",
        "Play seeded random user sessions on orders of different shapes, checking after every "
        "action that nothing is left half-done; a failing session is shrunk and written as a "
        "scenario file. Exit status 0 when every invariant held, 1 otherwise");
    auto* seedOpt = randomCmd->add_option(
        "--seed", random.seed, "The run's seed (default: from the clock); printed first");
    randomCmd->add_option("--events", random.events, "User actions to play (default 1000)")
        ->check(CLI::Range(std::int64_t{1}, std::int64_t{1} << 40));
    randomCmd
        ->add_option("--budget-seconds", random.budgetSeconds,
                     "Stop when this much time has passed, whatever --events says")
        ->check(CLI::Range(0.0, 1e7));
    randomCmd
        ->add_option("--session-length", random.sessionLength,
                     "User actions per session before a fresh session starts (default 150)")
        ->check(CLI::Range(1, 1000000));
    random.saveDir = ".";
    randomCmd->add_option("--open", random.open,
                          "A fault already reported: a failure whose text contains this ends "
                          "its session as open and the run goes on (may be repeated)");
    randomCmd->add_option("--save-to", random.saveDir,
                          "Folder the shrunk failing session is written to as a scenario "
                          "(default: the current folder)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);  // prints the reason and the hint to --help on stderr
        return 2;
    }
    if (*demoCmd) {
        if (*demoDbOpt) demo.dbPath = demoDb;
        return RunDemo(demo, std::cout, std::cerr);
    }
    if (*randomCmd) {
        if (!*seedOpt)
            random.seed = static_cast<std::uint64_t>(
                std::chrono::system_clock::now().time_since_epoch().count());
        return RandomCommand(random, std::cout);
    }
    if (*runCmd) return RunScenarios(paths, std::cout, hostMatrix);
    if (*checkCmd)
        return RunCheck(db, *docOpt ? std::optional<std::int32_t>(doc) : std::nullopt, checkJson,
                        std::cout, std::cerr);
    if (*stmtCmd)
        return ListStatements(*stmtDbOpt ? std::optional<std::string>(statementsDb) : std::nullopt,
                              statementsForce);
    return 0;
}
