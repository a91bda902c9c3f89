// Every statement text the plug-in sends, built as it builds them, runs on the host
// database and answers what the plug-in expects.
#include <gtest/gtest.h>

#include "data/sql_text.h"
#include "demo_db.h"
#include "sim/db/progressives.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

stmt::CatalogValues DemoValues() {
    stmt::CatalogValues v;
    v.ditta = demo::kDitta;
    v.numreg = std::to_string(demo::kOrdine);
    v.guid = HostDbBuilder::GuidRiga(demo::kOrdine, 2);
    v.codCausale = "FOR";
    v.idFlusso = demo::kFlussoRighe;
    v.idStato = demo::kStatoRigheAnnullato;
    v.decimali = 2;
    v.idStagione = 1;
    return v;
}

using StatementsTest = DemoDbTest;

TEST_F(StatementsTest, EveryStatementRunsWithItsOptions) {
    for (const auto& s : stmt::Catalog(DemoValues())) {
        SCOPED_TRACE(s.name + "\n" + s.text);
        ado::RecordsetPtr rs;
        ASSERT_EQ(ErrorOf([&] { rs = conn->Execute(s.text, nullptr, s.options); }), 0)
            << conn->LastSqlite();
        if (s.options == stmt::kQuery) {
            ASSERT_TRUE(rs);
            EXPECT_EQ(rs->State(), ado::adStateOpen);
        } else {
            EXPECT_FALSE(rs);
        }
    }
    // The reversal's own drop removed the working set; the lots set lives on.
    EXPECT_FALSE(conn->TableExists("#STORNA_PROGMAG"));
    EXPECT_TRUE(conn->TableExists("#STORNA_PROGLOTTI"));
}

TEST_F(StatementsTest, StatementTextsKeepTheirBreaksAndBlanks) {
    auto v = DemoValues();
    std::string evasioni = stmt::Evasioni("1", "1001");
    EXPECT_NE(evasioni.find("with (nolock) \r left join [VFW_SELDOC] ON \r"), std::string::npos);
    EXPECT_NE(
        evasioni.find("DO30_PROGRIGA \rWhere DO30_DITTA_CG18 = 1 And DO30_NUMREG_CO99 = 1001"),
        std::string::npos);
    EXPECT_EQ(stmt::Stagione("1", "1").substr(0, 19), "           SELECT\r\n");
    EXPECT_EQ(stmt::Stagione("1", "1").substr(stmt::Stagione("1", "1").size() - 2), "\r\n");
    std::string cap = stmt::CatturaRighe("#T", "1", "'1001'", 2);
    EXPECT_EQ(cap.find('\n'), std::string::npos);
    EXPECT_EQ(cap.substr(0, 28), " SELECT    DO30_NUMREG_CO99,");
    EXPECT_NE(cap.find("AS DO30_FLGEVASVAL INTO    #T FROM    DO30_DOCCORPO"), std::string::npos);
    std::string lots = stmt::CatturaLotti("#L", "1", "'1001'", 2);
    EXPECT_NE(lots.find("AS DO30_FLGEVASVAL  INTO    #L FROM    DO52_DOCCORPOLOT"),
              std::string::npos);
    EXPECT_NE(stmt::SetFlussoStato(v.guid, 0, 0).find(" ,@CODSTATO=0 ,@CODFLUSSO=0"),
              std::string::npos);
}

// Reason codes compare without regard to case. A code the user types is one literal once
// its quotes are doubled: codes that look like SQL are stored and found as typed, and an
// injection attempt finds only itself.
TEST_F(StatementsTest, ReasonCodesAreFoundAsTypedWhateverTheyLookLike) {
    EXPECT_EQ(Query(stmt::DescCausale("for"))->Get("ZQ63_DESCAU_ANNULLO").ToString(),
              "Merce non disponibile");
    EXPECT_EQ(Query(stmt::DescCausale("NONE"))->RecordCount(), 0);
    const std::string injection = "' OR '1'='1";
    EXPECT_EQ(Query(stmt::DescCausale(injection))->RecordCount(), 3);  // why quotes matter
    const char* codes[] = {"D'A",     "#X",  "INTO", "WITH (NOLOCK)",
                           "ISNULL(", "[B]", "N'C'", injection.c_str()};
    for (const char* code : codes) {
        conn->Execute(
            "INSERT INTO ZQ63_CAU_ANNULLO (ZQ63_CODCAU_ANNULLO, ZQ63_DESCAU_ANNULLO) "
            "VALUES (" +
                SqlText(code) + ", " + SqlText(std::string("desc ") + code) + ")",
            nullptr, stmt::kNoRecords);
    }
    for (const char* code : codes) {
        SCOPED_TRACE(code);
        const std::string lit = SqlText(code);
        auto rs = Query(stmt::DescCausale(lit.substr(1, lit.size() - 2)));
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->Get("ZQ63_DESCAU_ANNULLO").ToString(), std::string("desc ") + code);
    }
}

TEST_F(StatementsTest, FulfilmentQueryReportsDeliveredQuantities) {
    const std::string evasioni = stmt::Evasioni("1", std::to_string(demo::kOrdine));
    auto rs = Query(evasioni);
    EXPECT_EQ(rs->RecordCount(), 9);
    rs->SetFilter(Variant(" DO30_PROGRIGA = 2"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs->Get("VFW_QTA1TRASF").ToDouble(), 8);
    EXPECT_EQ(rs->Get("VFW_INDSTATORIGA").ToLong(), 2);
    EXPECT_EQ(rs->Get("DO30_GUID").ToString(), HostDbBuilder::GuidRiga(demo::kOrdine, 2));
    rs->SetFilter(Variant(" DO30_PROGRIGA = 1"));
    EXPECT_DOUBLE_EQ(rs->Get("VFW_QTA1TRASF").ToDouble(), 0);
    EXPECT_EQ(rs->Get("VFW_INDSTATORIGA").ToLong(), 0);
    // wholly delivered
    conn->RunSqlite("UPDATE DO31_DOCCORPOORD SET DO31_QTA1CONS = 10 WHERE DO31_PROGRIGA = 1");
    rs = Query(evasioni);
    rs->SetFilter(Variant(" DO30_PROGRIGA = 1"));
    EXPECT_EQ(rs->Get("VFW_INDSTATORIGA").ToLong(), 1);
}

TEST_F(StatementsTest, GridDimensionsAndSeasons) {
    auto rs = Query(stmt::DimeConf(1));
    ASSERT_EQ(rs->RecordCount(), 2);  // the dimension outside the grid is not listed
    EXPECT_EQ(rs->Get("MG5F_CODICEVAR").ToString(), "01");
    EXPECT_EQ(rs->Get("MG5F_START").ToLong(), 1);
    EXPECT_EQ(rs->Get("MG5F_SIZE").ToLong(), 2);
    EXPECT_EQ(rs->Get("MG5F_INDGRIGLIA").ToLong(), 1);
    EXPECT_EQ(rs->Get("MG5F_INDGENGRIDDOC").ToLong(), 2);
    rs->MoveNext();
    EXPECT_EQ(rs->Get("MG5F_CODICEVAR").ToString(), "03");
    EXPECT_EQ(rs->Get("MG5F_START").ToLong(), 5);  // after the line dimension "02"

    // sizes 2, 3, 4 start at 1, 3, 6
    conn->RunSqlite(
        "INSERT INTO MG5F_DIMECONF VALUES (2,'A','',2,1,1),(2,'B','',3,2,1),"
        "(2,'C','',4,3,1)");
    std::vector<std::int32_t> starts;
    for (rs = Query(stmt::DimeConf(2)); !rs->EOF_(); rs->MoveNext())
        starts.push_back(rs->Get("MG5F_START").ToLong());
    EXPECT_EQ(starts, (std::vector<std::int32_t>{1, 3, 6}));

    EXPECT_EQ(Query(stmt::Stagione("1", "1"))->Get("MG5T_CODICE").ToString(), "PE26");
    EXPECT_EQ(Query(stmt::Stagione("9", "1"))->RecordCount(), 0);
}

}  // namespace
}  // namespace zq::sim
