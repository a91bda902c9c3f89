// Warehouse progressive reversal on the demo order: capture what is open, change the
// document, write its body, reverse, and compare the progressives with the open
// quantities recomputed from scratch.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "demo_order.h"
#include "sim/db/plugin_statements.h"

namespace zq::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kDropStorna =
    "IF NOT object_id(N'tempdb..#STORNA_PROGMAG') IS NULL DROP TABLE #STORNA_PROGMAG";
constexpr const char* kDropLotti =
    "IF NOT object_id(N'tempdb..#STORNA_PROGLOTTI') IS NULL DROP TABLE #STORNA_PROGLOTTI";

std::vector<Statement> CaptureStatements(bool lotti, std::string_view elenco = "'1001'") {
    std::vector<Statement> out = {{sim::stmt::DropTemp("#STORNA_PROGMAG"), 129},
                                  {sim::stmt::CatturaRighe("#STORNA_PROGMAG", "1", elenco, 2), 129},
                                  {sim::stmt::IndiceProgMag("#STORNA_PROGMAG"), 129},
                                  {sim::stmt::DropTemp("#STORNA_PROGLOTTI"), 129}};
    // Without lots the lots working set of an earlier capture goes all the same.
    if (lotti) {
        out.push_back({sim::stmt::CatturaLotti("#STORNA_PROGLOTTI", "1", elenco, 2), 129});
        out.push_back({sim::stmt::IndiceProgLotti("#STORNA_PROGLOTTI"), 129});
    }
    return out;
}

double Progressivo(Session& s, const char* articolo) {
    return s
        .Scalar("SELECT MG70_QTA1ORD FROM MG70_PROGMAG WHERE MG70_CODART_MG66 = ?",
                {Variant(articolo)})
        .ToDouble();
}

// Line 2 (ART-B, 20 ordered, 8 delivered) is cut to 15; line 6 (ART-F, with lots) is
// flagged as no longer to be fulfilled.
void ChangeTheOrder(Session& s) {
    s.driver->MoveToLine(2);
    auto corpo = s.host->doc->rstDocCorpo();
    corpo->Set("DO30_QTA1", Variant(15.0));
    corpo->Update();
    s.driver->MoveToLine(6);
    auto ord = s.host->doc->rstDocCorpoOrd();
    ord->Set("DO31_FLGNONPIUEV", Variant::Int16(1));
    ord->Update();
}

TEST(Reversal, ProgressivesFollowTheChangeOnceReversed) {
    SessionOptions o = DemoOrder();
    o.type.gestLotti = true;
    Session s(o);
    s.Open();
    ASSERT_EQ(Progressivo(s, "ART-B"), 12);
    ASSERT_GT(Progressivo(s, "ART-F"), 0);

    ClsrfTestAccess::CreaTempStorno(s.Plugin(), "1001", VTrue);
    EXPECT_EQ(s.Statements(), CaptureStatements(true));
    EXPECT_TRUE(s.conn->TableExists("#STORNA_PROGMAG"));
    EXPECT_TRUE(s.conn->TableExists("#STORNA_PROGLOTTI"));

    ChangeTheOrder(s);
    ClsrfTestAccess::AggiornaBatchCorpo(s.Plugin());
    EXPECT_EQ(s.Scalar("SELECT DO30_QTA1 FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = 1001 AND "
                       "DO30_PROGRIGA = 2")
                  .ToDouble(),
              15);
    // Written, not yet posted.
    EXPECT_FALSE(sim::ProgressivesConsistent(*s.conn));

    s.Statements().clear();
    ClsrfTestAccess::EseguiProgMagDoc(s.Plugin());
    EXPECT_TRUE(sim::ProgressivesConsistent(*s.conn));
    EXPECT_EQ(Progressivo(s, "ART-B"), 7);
    EXPECT_EQ(Progressivo(s, "ART-F"), 0);
    EXPECT_THAT(s.Statements(),
                ElementsAre(Statement{kDropStorna, 129}, Statement{kDropLotti, 129}));
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGLOTTI"));
    EXPECT_THAT(s.TakeMessages(), IsEmpty());

    const CommandLog& c = *s.commands;
    EXPECT_EQ(c.created, 1);
    EXPECT_EQ(c.text, "SPMG_PROGMAG_DOC");
    EXPECT_EQ(c.type, 4);
    EXPECT_EQ(c.timeout, 0);
    EXPECT_TRUE(c.named);
    EXPECT_TRUE(c.activeConnectionSet);
    EXPECT_EQ(c.executeOptions, 128);
    struct Atteso {
        std::string name;
        std::int32_t type, direction, size;
        int precision;
        std::vector<std::string> values;
    };
    const std::vector<Atteso> attesi = {
        {"@RETURN_VALUE", 3, 4, 0, 10, {}},
        {"@DITTA", 131, 1, 0, 5, {"1"}},
        {"@ELENCO_NUMREG", 200, 1, -1, 0, {"\"'1001'\""}},
        {"@FLAG_STORNA", 131, 1, 0, 1, {"1"}},
        {"@NOME_TABELLA_STORNA", 200, 1, 20, 0, {"\"#STORNA_PROGMAG\""}},
    };
    ASSERT_EQ(c.parameters.size(), attesi.size());
    for (std::size_t i = 0; i < attesi.size(); ++i) {
        const NotedParameter& p = *c.parameters[i];
        SCOPED_TRACE(attesi[i].name);
        EXPECT_EQ(p.name, attesi[i].name);
        EXPECT_EQ(p.type, attesi[i].type);
        EXPECT_EQ(p.direction, attesi[i].direction);
        EXPECT_EQ(p.size, attesi[i].size);
        EXPECT_EQ(p.precision, attesi[i].precision);
        EXPECT_EQ(p.scale, 0);
        EXPECT_TRUE(p.appended);
        std::vector<std::string> values;
        for (const auto& v : p.values) values.push_back(v.Describe());
        EXPECT_EQ(values, attesi[i].values);
    }
    // Built completely before it runs.
    EXPECT_EQ(c.calls.back(), "Execute");
}

TEST(Reversal, CaptureWithoutLotsAndWithAQuotedList) {
    Session s(DemoOrder());
    s.Open();
    ClsrfTestAccess::CreaTempStorno(s.Plugin(), "1001", VFalse);
    EXPECT_EQ(s.Statements(), CaptureStatements(false));
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGLOTTI"));

    // A list that already has its quotes is used as it is.
    for (const char* elenco : {"'1001'", "'1001','1002'"}) {
        s.Statements().clear();
        ClsrfTestAccess::CreaTempStorno(s.Plugin(), elenco, VFalse);
        EXPECT_EQ(s.Statements(), CaptureStatements(false, elenco));
    }
    EXPECT_EQ(
        s.conn->QueryRows("SELECT DISTINCT DO30_NUMREG_CO99 FROM \"#STORNA_PROGMAG\"").rows.size(),
        2u);
}

TEST(Reversal, FailuresAreSilentAndTheWorkingSetIsDroppedAnyway) {
    Session s(DemoOrder());
    s.Open();
    {
        SCOPED_TRACE("failing procedure call");
        ClsrfTestAccess::CreaTempStorno(s.Plugin(), "1001", VFalse);
        ChangeTheOrder(s);
        ClsrfTestAccess::AggiornaBatchCorpo(s.Plugin());
        s.commands->failExecute = 5;
        s.Statements().clear();
        ClsrfTestAccess::EseguiProgMagDoc(s.Plugin());
        EXPECT_EQ(s.commands->executed, 1);
        EXPECT_THAT(s.Statements(),
                    ElementsAre(Statement{kDropStorna, 129}, Statement{kDropLotti, 129}));
        EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));
        // Nothing was posted: the change is still missing from the progressives.
        EXPECT_EQ(Progressivo(s, "ART-B"), 12);
        EXPECT_FALSE(sim::ProgressivesConsistent(*s.conn));
    }
    {
        SCOPED_TRACE("failing capture");
        s.db->recording->failWhen = [](std::string_view t) {
            return t.find(" INTO") != std::string_view::npos;
        };
        s.Statements().clear();
        ClsrfTestAccess::CreaTempStorno(s.Plugin(), "1001", VTrue);
        const auto all = CaptureStatements(false);
        EXPECT_THAT(s.Statements(), ElementsAre(all[0], all[1]));
        EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));
    }
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

// A reversal works only from the working set its own capture built: once reversed, or
// without a capture at all, the procedure is not run (it would take out quantities that
// were captured before some earlier change), and the working sets are dropped.
TEST(Reversal, OnlyTheWorkingSetOfItsOwnCaptureIsReversed) {
    SessionOptions o = DemoOrder();
    o.type.gestLotti = true;
    Session s(o);
    s.Open();
    ClsrfTestAccess::CreaTempStorno(s.Plugin(), "1001", VTrue);
    ChangeTheOrder(s);
    ClsrfTestAccess::AggiornaBatchCorpo(s.Plugin());
    ClsrfTestAccess::EseguiProgMagDoc(s.Plugin());
    ASSERT_EQ(s.commands->executed, 1);
    ASSERT_TRUE(sim::ProgressivesConsistent(*s.conn));

    // A working set left in place by someone else is not this road's.
    s.conn->RunSqlite("CREATE TEMP TABLE \"#STORNA_PROGMAG\" AS SELECT * FROM DO30_DOCCORPO");
    s.Statements().clear();
    ClsrfTestAccess::EseguiProgMagDoc(s.Plugin());
    EXPECT_EQ(s.commands->executed, 1);
    EXPECT_THAT(s.Statements(),
                ElementsAre(Statement{kDropStorna, 129}, Statement{kDropLotti, 129}));
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));
    EXPECT_TRUE(sim::ProgressivesConsistent(*s.conn));
}

TEST(Reversal, BatchWriteRefreshesReferencesAndKeepsTheCurrentLine) {
    Session s(DemoOrder());
    s.Open();
    s.driver->MoveToLine(3);
    auto doc = s.host->doc;
    s.conn->RunSqlite("DELETE FROM DO33_DOCCORPORIF WHERE DO33_NUMREGRIF_CO99 = 2001");

    ClsrfTestAccess::AggiornaBatchCorpo(s.Plugin());

    EXPECT_EQ(doc->ElencoDocRiferiti(), "2002");
    EXPECT_EQ(doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong(), 3);
    for (const auto& [rs, campo] : {std::pair{doc->rstDocCorpoOrd(), "DO31_PROGRIGA"},
                                    std::pair{doc->rstDocCorpoVert(), "DO77_PROGRIGA"}}) {
        SCOPED_TRACE(campo);
        EXPECT_EQ(rs->Get(campo).ToLong(), 3);
        EXPECT_EQ(rs->Filter().ToLong(), 0);
        EXPECT_EQ(rs->RecordCount(), 9);
    }
    const Statement riferiti{sim::stmt::DocumentiRiferiti("1", "1001"), 1};
    EXPECT_THAT(s.Statements(), ElementsAre(riferiti));
}

TEST(Reversal, NoReferencedDocumentsGiveTheEmptyText) {
    SessionOptions o = DemoOrder();
    o.numreg = sim::demo::kOrdineValuta;
    Session s(o);
    s.Open();
    s.host->doc->SetElencoDocRiferiti("stale");
    ClsrfTestAccess::GetDocumentiRiferiti(s.Plugin());
    EXPECT_EQ(s.host->doc->ElencoDocRiferiti(), "");
}

}  // namespace
}  // namespace zq::test
