// Clearing a removed line's rows from the document's fourteen further body sections: the
// first row of the line goes from each, written to the database at once; every section is
// left unfiltered on the row it stood on; a section that cannot be searched is passed over.
#include <gtest/gtest.h>

#include "sim/db/schema.h"
#include "support/error_of.h"
#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using Section = ado::RecordsetPtr (host::IRegDoc::*)() const;

// The sections in the order they are cleared, with their tables (kBodySubTables order).
constexpr Section kSections[] = {
    &host::IRegDoc::rstDocCorpoProge, &host::IRegDoc::rstDocCorpoPers,
    &host::IRegDoc::rstDocCorOrdDet,  &host::IRegDoc::rstDocCorpoConf,
    &host::IRegDoc::rstDocCorpoEst,   &host::IRegDoc::rstDocCorpoGrid,
    &host::IRegDoc::rstDocCorpoLot,   &host::IRegDoc::rstDocCorpoProv,
    &host::IRegDoc::rstDocCorpoRaggr, &host::IRegDoc::rstDocCorpoRif,
    &host::IRegDoc::rstDocCorpoScMag, &host::IRegDoc::rstDocCorpoUbic,
    &host::IRegDoc::rstDocCorpoCoin,  &host::IRegDoc::rstDocCorpoRatei,
};
static_assert(std::size(kSections) == std::size(sim::kBodySubTables));

std::string Prefix(const sim::BodySubTable& t) {
    return std::string(t.table.substr(0, 4));
}

// Rows numbered 1, 2, 3 in each sub-table of the demo order (lots have their own): two for
// line 7, then one for line 8.
std::vector<std::string> RowsForLines7And8() {
    std::vector<std::string> sql;
    for (const auto& t : sim::kBodySubTables) {
        const std::string p = Prefix(t);
        for (const auto& [prog, line] : {std::pair{1, 7}, {2, 7}, {3, 8}})
            sql.push_back("INSERT INTO " + std::string(t.table) + " (" + p + "_DITTA_CG18, " + p +
                          "_NUMREG_CO99, " + std::string(t.lineColumn) + ", " + p +
                          "_PROG) VALUES (1, 1001, " + std::to_string(line) + ", " +
                          std::to_string(prog) + ")");
    }
    return sql;
}

// The _PROG numbers of a line's rows in a sub-table, as the database holds them.
std::vector<std::int32_t> Progs(const Session& s, const sim::BodySubTable& t, std::int32_t line) {
    auto r = s.conn->QueryRows("SELECT " + Prefix(t) + "_PROG FROM " + std::string(t.table) +
                                   " WHERE " + std::string(t.lineColumn) + " = ? ORDER BY 1",
                               {Variant::Int32(line)});
    std::vector<std::int32_t> out;
    for (const auto& row : r.rows) out.push_back(row[0].ToLong());
    return out;
}

void Elimina(Session& s, std::int32_t progRiga) {
    ClsrfTestAccess::EliminaSottorigheCorpo(s.Plugin(), progRiga);
}

TEST(EliminaSottorigheCorpo, ALineWithTwoLotsLosesOnlyTheFirst) {
    Session s;
    s.Open();
    Elimina(s, 6);
    const auto lots = s.conn->QueryRows(
        "SELECT DO52_CODLOTTO_MG4G FROM DO52_DOCCORPOLOT WHERE DO52_NUMREG_CO99 = 1001 AND "
        "DO52_PROGRIGA = 6");
    ASSERT_EQ(lots.rows.size(), 1u);
    EXPECT_EQ(lots.rows[0][0].ToString(), "L2026B");
    EXPECT_EQ(s.host->doc->rstDocCorpoLot()->RecordCount(), 1);
    // The reference rows of other lines are untouched.
    EXPECT_EQ(Progs(s, sim::kBodySubTables[9], 2), (std::vector<std::int32_t>{1}));
}

// Each section stands on line 8's row (the last) under a filter of its own; afterwards it
// is unfiltered, on that same row, and line 7 has lost its first row there.
TEST(EliminaSottorigheCorpo, EverySectionLosesTheLinesFirstRowAndKeepsItsPlace) {
    SessionOptions o;
    o.setup = RowsForLines7And8();
    Session s(o);
    s.Open();
    const host::IRegDoc& doc = *s.host->doc;
    std::vector<Variant> stoodOn;
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
        auto rs = (doc.*kSections[i])();
        const std::string p = Prefix(sim::kBodySubTables[i]);
        rs->SetFilter(Variant(p + "_PROG >= 2"));
        rs->MoveLast();
        stoodOn.push_back(rs->Bookmark());
    }
    Elimina(s, 7);
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
        const auto& t = sim::kBodySubTables[i];
        SCOPED_TRACE(std::string(t.table));
        auto rs = (doc.*kSections[i])();
        EXPECT_EQ(Progs(s, t, 7), (std::vector<std::int32_t>{2}));
        EXPECT_EQ(Progs(s, t, 8), (std::vector<std::int32_t>{3}));
        EXPECT_TRUE(rs->Filter().SameAs(Variant::Int32(ado::adFilterNone)));
        EXPECT_TRUE(rs->Bookmark().SameAs(stoodOn[i]));
        EXPECT_EQ(rs->Get(t.lineColumn).ToLong(), 8);
    }
}

TEST(EliminaSottorigheCorpo, ALineNumberNotAboveZeroTouchesNothing) {
    SessionOptions o;
    o.setup = RowsForLines7And8();
    Session s(o);
    s.Open();
    auto lots = s.host->doc->rstDocCorpoLot();
    lots->SetFilter(Variant("DO52_PROGRIGA = 6"));
    lots->MoveLast();
    const Variant at = lots->Bookmark();
    for (std::int32_t n : {0, -7}) Elimina(s, n);
    EXPECT_EQ(lots->Filter().ToString(), "DO52_PROGRIGA = 6");
    EXPECT_TRUE(lots->Bookmark().SameAs(at));
    for (const auto& t : sim::kBodySubTables) EXPECT_EQ(Progs(s, t, 7).size(), 2u) << t.table;
}

// A line without rows in a section has its filter set and removed there, and nothing goes.
TEST(EliminaSottorigheCorpo, ASectionWithoutTheLinesRowsKeepsAllOfThem) {
    SessionOptions o;
    o.setup = RowsForLines7And8();
    Session s(o);
    s.Open();
    Elimina(s, 9);
    for (const auto& t : sim::kBodySubTables) {
        EXPECT_EQ(Progs(s, t, 7).size(), 2u) << t.table;
        EXPECT_EQ(Progs(s, t, 8).size(), 1u) << t.table;
    }
}

// A section that lacks the line column, or is closed, is passed over: nothing of it is
// deleted (in particular not the row it stands on) and the sections after it are cleared.
TEST(EliminaSottorigheCorpo, ASectionThatCannotBeSearchedIsPassedOver) {
    SessionOptions o;
    o.setup = RowsForLines7And8();
    o.setup.push_back("DROP TABLE DO56_DOCCORPOGRID");
    o.setup.push_back(
        "CREATE TABLE DO56_DOCCORPOGRID (DO56_DITTA_CG18 INTEGER, DO56_NUMREG_CO99 INTEGER, "
        "DO56_RIGA INTEGER, DO56_PROG INTEGER, PRIMARY KEY (DO56_RIGA, DO56_PROG))");
    o.setup.push_back("INSERT INTO DO56_DOCCORPOGRID VALUES (1, 1001, 7, 1), (1, 1001, 7, 2)");
    Session s(o);
    s.Open();
    s.host->doc->rstDocCorpoConf()->Close();
    EXPECT_EQ(ErrorOf([&] { Elimina(s, 7); }), 0);
    EXPECT_EQ(s.Scalar("SELECT COUNT(*) FROM DO56_DOCCORPOGRID").ToLong(), 2);
    EXPECT_EQ(s.host->doc->rstDocCorpoGrid()->RecordCount(), 2);
    EXPECT_EQ(Progs(s, sim::kBodySubTables[3], 7).size(), 2u);  // the closed DO39 section
    for (std::size_t i : {0u, 1u, 2u, 4u, 6u, 13u})
        EXPECT_EQ(Progs(s, sim::kBodySubTables[i], 7), (std::vector<std::int32_t>{2}))
            << sim::kBodySubTables[i].table;
}

// The database refusing one section's deletion stops neither the procedure nor the sections
// after it; the refused row stays in the database.
TEST(EliminaSottorigheCorpo, ASectionTheDatabaseRefusesDoesNotStopTheOthers) {
    SessionOptions o;
    o.setup = RowsForLines7And8();
    o.setup.push_back(
        "CREATE TRIGGER lots_kept BEFORE DELETE ON DO52_DOCCORPOLOT "
        "BEGIN SELECT RAISE(ABORT, 'lot in use'); END");
    Session s(o);
    s.Open();
    EXPECT_EQ(ErrorOf([&] { Elimina(s, 7); }), 0);
    EXPECT_EQ(Progs(s, sim::kBodySubTables[6], 7), (std::vector<std::int32_t>{1, 2}));
    for (std::size_t i : {0u, 5u, 7u, 8u, 13u})
        EXPECT_EQ(Progs(s, sim::kBodySubTables[i], 7), (std::vector<std::int32_t>{2}))
            << sim::kBodySubTables[i].table;
    EXPECT_TRUE(s.host->doc->rstDocCorpoLot()->Filter().SameAs(Variant::Int32(ado::adFilterNone)));
}

}  // namespace
}  // namespace zq::test
