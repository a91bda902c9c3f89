// zqstati check: each kind of inconsistency planted in a copy of the demo database is
// found with its document, line and rule, and nothing else is; a consistent pair of a
// master and its cancellation line is not reported; bad inputs end with clear errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli.h"
#include "sim/db/fixture.h"
#include "sim/db/progressives.h"

namespace zq::cli {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

std::string Guid(std::int32_t line) {
    std::string g = sim::HostDbBuilder::GuidRiga(sim::demo::kOrdine, line);
    return g.substr(1, g.size() - 2);
}

// Line 10 cancels 3 of line 1's 10 pieces: line 1 is the master (7 left), and the DO31 and
// DO77 rows of both are filled as a partial cancellation leaves them.
std::string CancellationLine(std::int32_t line, double qta, std::int32_t group) {
    const std::string n = std::to_string(line), where = "_NUMREG_CO99 = 1001 AND ";
    std::string sql;
    for (const char* t : {"DO30_DOCCORPO", "DO31_DOCCORPOORD", "DO77_DOCCORPOVERT"}) {
        const std::string p = std::string(t).substr(0, 4);
        sql += "CREATE TEMP TABLE c AS SELECT * FROM " + std::string(t) + " WHERE " + p + where +
               p + "_PROGRIGA = 1; UPDATE c SET " + p + "_PROGRIGA = " + n + "; INSERT INTO " + t +
               " SELECT * FROM c; DROP TABLE c;";
    }
    return sql + "UPDATE DO30_DOCCORPO SET DO30_GUID = '{" + Guid(line) +
           "}', DO30_QTA1 = " + std::to_string(qta) +
           ", DO30_PROGPADRE = " + std::to_string(group) + " WHERE DO30" + where +
           "DO30_PROGRIGA = " + n +
           "; UPDATE DO31_DOCCORPOORD SET DO31_FLGNONPIUEV = 1 WHERE DO31" + where +
           "DO31_PROGRIGA = " + n + "; UPDATE DO77_DOCCORPOVERT SET DO77_CODCAU_ZQ63 = 'CLI', " +
           "DO77_ZQGUID_MASTER_DO30 = '" + Guid(1) + "', DO77_ZQGUID_DETAIL_DO30 = '" + Guid(line) +
           "' WHERE DO77" + where + "DO77_PROGRIGA = " + n +
           "; INSERT OR REPLACE INTO CO4D_STATIOGGETTI VALUES ('" + Guid(line) + "', 1001, 109);";
}

const std::string kPair =
    "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 7 WHERE DO30_NUMREG_CO99 = 1001 AND DO30_PROGRIGA = 1;"
    "UPDATE DO77_DOCCORPOVERT SET DO77_ZQ_QTA_ORIG = 10, DO77_ZQ_QTA_ANNULLO = 3, "
    "DO77_ZQGUID_MASTER_DO30 = '" +
    Guid(1) + "', DO77_ZQGUID_DETAIL_DO30 = '" + Guid(1) +
    "' WHERE DO77_NUMREG_CO99 = 1001 AND DO77_PROGRIGA = 1;" + CancellationLine(10, 3, 5) +
    "UPDATE DO77_DOCCORPOVERT SET DO77_ZQ_QTA_ORIG = 10 WHERE DO77_PROGRIGA = 10;";

const std::string kVert = "UPDATE DO77_DOCCORPOVERT SET ";
const std::string kLine = " WHERE DO77_NUMREG_CO99 = 1001 AND DO77_PROGRIGA = ";

// The demo database with the pair and then `plant`, progressives posted afresh unless kept.
std::string Database(const TempDir& dir, const std::string& plant, bool repost = true) {
    const std::string path = (dir.Path() / "host.db").string();
    std::filesystem::remove(path);
    auto conn = sim::SqliteConnection::Open(path);
    conn->RunSqlite("PRAGMA synchronous = OFF");
    sim::CreateDemoDatabase(*conn);
    conn->RunScript(kPair);
    sim::RecomputeProgressivesFromScratch(*conn);
    conn->RunScript(plant);
    if (repost) sim::RecomputeProgressivesFromScratch(*conn);
    return path;
}

// "document 1001 line 10: rule" for each finding of the JSON report.
std::vector<std::string> Findings(const std::string& out) {
    std::vector<std::string> found;
    const auto report = nlohmann::json::parse(out);
    for (const auto& f : report["findings"]) {
        std::string where;
        if (!f["document"].is_null()) where = "document " + f["document"].dump();
        if (!f["line"].is_null()) where += " line " + f["line"].dump();
        found.push_back((where.empty() ? "" : where + ": ") + f["rule"].get<std::string>());
    }
    return found;
}

struct Planted {
    const char* name;
    std::string sql;
    std::vector<std::string> findings;
    bool repost = true;
};

const std::string kOrd = "UPDATE DO31_DOCCORPOORD SET ";
const std::string kOrdLine = " WHERE DO31_NUMREG_CO99 = 1001 AND DO31_PROGRIGA = ";

// Removes a line of order 1001 with its order and extension rows.
std::string DeleteLine(int line) {
    const std::string n = std::to_string(line);
    return "DELETE FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = 1001 AND DO30_PROGRIGA = " + n +
           "; DELETE FROM DO31_DOCCORPOORD WHERE DO31_NUMREG_CO99 = 1001 AND DO31_PROGRIGA = " + n +
           "; DELETE FROM DO77_DOCCORPOVERT" + kLine + n + ";";
}

std::string LineState(int line, int state) {
    return "INSERT OR REPLACE INTO CO4D_STATIOGGETTI VALUES ('" + Guid(line) + "', 1001, " +
           std::to_string(state) + ");";
}

void ExpectFindings(const std::vector<Planted>& cases) {
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string db = Database(dir, c.sql, c.repost);
        const Outcome o = Zqstati("check --db '" + db + "' --json");
        EXPECT_EQ(o.status, c.findings.empty() ? 0 : 1) << o.out << o.err;
        EXPECT_THAT(Findings(o.out), ElementsAreArray(c.findings)) << o.out;
    }
}

TEST(ConsistencyCheck, FindsEachPlantedInconsistencyAndNothingElse) {
    ExpectFindings({
        {"consistent pair", "", {}},
        {"master not linked back",
         kVert + "DO77_ZQGUID_DETAIL_DO30 = NULL" + kLine + "1",
         {"document 1001 line 1: link-master-back"}},
        {"detail not its own",
         kVert + "DO77_ZQGUID_DETAIL_DO30 = '" + Guid(1) + "'" + kLine + "10",
         {"document 1001 line 10: link-detail"}},
        {"flag",
         "UPDATE DO31_DOCCORPOORD SET DO31_FLGNONPIUEV = 0 WHERE DO31_PROGRIGA = 10",
         {"document 1001 line 10: cancellation-flag"}},
        {"two groups",
         CancellationLine(11, 2, 6) + kVert + "DO77_ZQ_QTA_ORIG = 12" + kLine + "1;" + kVert +
             "DO77_ZQ_QTA_ORIG = 12" + kLine + "10;" + kVert + "DO77_ZQ_QTA_ORIG = 12" + kLine +
             "11",
         {"document 1001 line 11: cancellation-group"}},
        {"stray rows",
         "DELETE FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = 1002",
         {"document 1002 line 1: orphan-order-row", "document 1002 line 1: orphan-extension-row"}},
        {"cancellation line not in the cancelled state",
         LineState(10, 100),
         {"document 1001 line 10: cancellation-state"}},
        {"cancellation line without a state",
         "DELETE FROM CO4D_STATIOGGETTI WHERE CO4D_GUID = '" + Guid(10) + "'",
         {"document 1001 line 10: cancellation-state"}},
        {"cancelled header",
         "UPDATE DO11_DOCTESTATA SET DO11_STATO = 209 WHERE DO11_NUMREG_CO99 = 1001",
         {"document 1001: header-flag", "document 1001: header-reason"}},
        {"cancelled above start",
         kVert + "DO77_ZQ_QTA_ANNULLO = 6.5" + kLine + "4",
         {"document 1001 line 4: qta-annullo"}},
        {"progressives",
         "UPDATE MG70_PROGMAG SET MG70_QTA1ORD = 99 WHERE MG70_CODART_MG66 = 'ART-C'",
         {"progressives"},
         false},
    });
}

// The pair's quantity lives in three places: the master's DO30_QTA1 plus the cancellation
// line's DO30_QTA1 is the DO77_ZQ_QTA_ORIG both carry.
TEST(ConsistencyCheck, EveryPairConservesItsQuantity) {
    ExpectFindings({
        {"the master's starting quantity",
         kVert + "DO77_ZQ_QTA_ORIG = 12" + kLine + "1",
         {"document 1001 line 1: qta-orig"}},
        {"the cancellation line's starting quantity",
         kVert + "DO77_ZQ_QTA_ORIG = 12" + kLine + "10",
         {"document 1001 line 10: qta-orig"}},
        {"the master grew: neither line's starting quantity holds",
         "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 8 WHERE DO30_NUMREG_CO99 = 1001 AND "
         "DO30_PROGRIGA = 1",
         {"document 1001 line 1: qta-orig", "document 1001 line 10: qta-orig"}},
        // 7.1 + 3.2 is 10.299999999999999 in doubles: within the tolerance of 0.000001.
        {"decimal quantities that add up",
         "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 7.1 WHERE DO30_NUMREG_CO99 = 1001 AND "
         "DO30_PROGRIGA = 1; UPDATE DO30_DOCCORPO SET DO30_QTA1 = 3.2 WHERE DO30_NUMREG_CO99 = "
         "1001 AND DO30_PROGRIGA = 10;" +
             kVert + "DO77_ZQ_QTA_ORIG = 10.3, DO77_ZQ_QTA_ANNULLO = 3.2" + kLine + "1;" + kVert +
             "DO77_ZQ_QTA_ORIG = 10.3" + kLine + "10",
         {}},
        {"a hundred-thousandth lost",
         kVert + "DO77_ZQ_QTA_ORIG = 10.00001" + kLine + "1",
         {"document 1001 line 1: qta-orig"}},
    });
}

TEST(ConsistencyCheck, FindsLinksLeftNullOrDangling) {
    ExpectFindings({
        {"a master whose cancellation line is gone",
         DeleteLine(10),
         {"document 1001 line 1: link-cancellation-missing"}},
        {"a cancellation line whose master is gone",
         DeleteLine(1),
         {"document 1001 line 10: link-master-missing"}},
        {"a line with a detail link and a Null master link",
         kVert + "DO77_ZQGUID_DETAIL_DO30 = '" + Guid(2) + "'" + kLine + "2",
         {"document 1001 line 2: link-master-null"}},
        // Either broken end leaves the master's own links without a cancellation line.
        {"the cancellation line's master link names no line",
         kVert + "DO77_ZQGUID_MASTER_DO30 = 'FFFFFFFF'" + kLine + "10",
         {"document 1001 line 10: link-master-missing",
          "document 1001 line 1: link-cancellation-missing"}},
        {"the cancellation line's master link cleared",
         kVert + "DO77_ZQGUID_MASTER_DO30 = NULL" + kLine + "10",
         {"document 1001 line 1: link-cancellation-missing",
          "document 1001 line 10: link-master-null"}},
    });
}

TEST(ConsistencyCheck, FindsQuantitiesNoLineMayHold) {
    ExpectFindings({
        // The pair still adds up (11 - 1 = 10): only the negative line is wrong.
        {"a negative cancellation line",
         "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 11 WHERE DO30_NUMREG_CO99 = 1001 AND "
         "DO30_PROGRIGA = 1; UPDATE DO30_DOCCORPO SET DO30_QTA1 = -1 WHERE DO30_NUMREG_CO99 = "
         "1001 AND DO30_PROGRIGA = 10",
         {"document 1001 line 10: qta-invalid"}},
        {"an infinite cancelled quantity",
         kVert + "DO77_ZQ_QTA_ANNULLO = 1e999" + kLine + "4",
         {"document 1001 line 4: qta-invalid"}},
        {"a text for a starting quantity",
         kVert + "DO77_ZQ_QTA_ORIG = 'abc'" + kLine + "3",
         {"document 1001 line 3: qta-invalid"}},
        {"a negative second quantity",
         "UPDATE DO30_DOCCORPO SET DO30_QTA2 = -0.5 WHERE DO30_NUMREG_CO99 = 1001 AND "
         "DO30_PROGRIGA = 5",
         {"document 1001 line 5: qta-invalid"}},
    });
}

// A line cancelled as a whole has the cancelled state and the flag together; cancelling
// the whole order flags the lines of its line group and leaves their states.
TEST(ConsistencyCheck, FindsACancelledStateAndTheFlagApart) {
    const std::string cancelledOrder =
        "UPDATE DO11_DOCTESTATA SET DO11_STATO = 209 WHERE DO11_NUMREG_CO99 = 1001;"
        "UPDATE DO18_DOCTESORD SET DO18_FLGNONPIUEV = 1 WHERE DO18_NUMREG_CO99 = 1001;"
        "UPDATE DO76_DOCTESTAVERT SET DO76_CODCAU_ZQ63 = 'CLI' WHERE DO76_NUMREG_CO99 = 1001;";
    ExpectFindings({
        {"a line cancelled as a whole",
         LineState(3, 109) + kOrd + "DO31_FLGNONPIUEV = 1" + kOrdLine + "3",
         {}},
        {"the cancelled state without the flag",
         LineState(3, 109),
         {"document 1001 line 3: line-flag"}},
        {"the flag without the cancelled state",
         kOrd + "DO31_FLGNONPIUEV = 1" + kOrdLine + "3",
         {"document 1001 line 3: line-state"}},
        {"the flag on the lines of an order cancelled as a whole",
         cancelledOrder + kOrd + "DO31_FLGNONPIUEV = 1" + kOrdLine + "7;" + kOrd +
             "DO31_FLGNONPIUEV = 1" + kOrdLine + "8",
         {}},
        {"the cancelled state without the flag on an order cancelled as a whole",
         cancelledOrder + LineState(8, 109),
         {"document 1001 line 8: line-flag"}},
    });
}

TEST(ConsistencyCheck, ReportsDocumentLineAndRuleOnePerLine) {
    TempDir dir;
    const std::string db = Database(dir, kVert + "DO77_ZQ_QTA_ORIG = 12" + kLine + "1");
    const Outcome o = Zqstati("check --db '" + db + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out,
              "document 1001 line 1: qta-orig: DO77_ZQ_QTA_ORIG 12 differs from DO30_QTA1 7 plus "
              "the cancelled 3 (10)\n4 documents checked, 1 finding\n");
    const Outcome clean = Zqstati("check --db '" + Database(dir, "") + "'");
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "4 documents checked, 0 findings\n");
}

TEST(ConsistencyCheck, OneDocumentOnlyAndAsJson) {
    TempDir dir;
    const std::string db = Database(dir,
                                    "UPDATE DO11_DOCTESTATA SET DO11_STATO = 209 WHERE "
                                    "DO11_NUMREG_CO99 = 1002;" +
                                        kVert + "DO77_ZQ_QTA_ANNULLO = 21" + kLine + "2");
    EXPECT_EQ(Zqstati("check --db '" + db + "' --doc 1002").status, 1);
    const Outcome o = Zqstati("check --db '" + db + "' --doc 1001 --json");
    EXPECT_EQ(o.status, 1);
    const auto j = nlohmann::json::parse(o.out);
    EXPECT_EQ(j["documents"], 1);
    ASSERT_EQ(j["findings"].size(), 1u) << o.out;
    EXPECT_EQ(j["findings"][0]["rule"], "qta-annullo");
    EXPECT_EQ(j["findings"][0]["document"], 1001);
    EXPECT_EQ(j["findings"][0]["line"], 2);
}

TEST(ConsistencyCheck, BadInputsEndWithAClearError) {
    TempDir dir;
    const std::string empty = dir.Write("empty.db", "");
    const std::string text = dir.Write("text.db", "this is not a database at all, not even close");
    const std::string db = Database(dir, "");
    const struct {
        std::string args, error;
    } cases[] = {
        {"check --db '" + (dir.Path() / "none.db").string() + "'", "none.db: no such file"},
        {"check --db '" + empty + "'", "not a host database: table DO11_DOCTESTATA is missing"},
        {"check --db '" + text + "'", "text.db: "},
        {"check --db '" + db + "' --doc 4711", "document 4711 does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const Outcome o = Zqstati(c.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_THAT(o.err, HasSubstr(c.error));
        EXPECT_EQ(o.out, "");
    }
    EXPECT_NE(Zqstati("check").status, 0);  // --db is required
}

// Every rule the audit applies is listed by --help and explained in docs/cli.md, and the
// docs explain no rule the audit does not have.
// The rule name that `line` starts with after `lead`, up to `close`; "" when it does not.
std::string RuleNameAt(const std::string& line, const std::string& lead, char close) {
    if (line.rfind(lead, 0) != 0) return "";
    const auto end = line.find(close, lead.size());
    if (end == std::string::npos || end == lead.size()) return "";
    const std::string name = line.substr(lead.size(), end - lead.size());
    return name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") == std::string::npos ? name : "";
}

TEST(ConsistencyCheck, HelpAndDocsNameTheSameRules) {
    std::set<std::string> listed, documented;
    std::istringstream help(Zqstati("check --help").out);
    for (std::string line; std::getline(help, line);)
        if (auto name = RuleNameAt(line, "  ", ':'); !name.empty()) listed.insert(name);
    std::ifstream docs(SourceDir() / "docs" / "cli.md");
    for (std::string line; std::getline(docs, line);)
        if (auto name = RuleNameAt(line, "| `", '`'); !name.empty()) documented.insert(name);
    EXPECT_GE(listed.size(), 18u);
    EXPECT_EQ(listed, documented);
}

}  // namespace
}  // namespace zq::cli
