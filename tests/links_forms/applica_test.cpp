// Carrying a line state down to the lines: the flag of every group line, or one line's
// state, reason and open quantity.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using A = ClsrfTestAccess;

// 1 and 2 belong to no group; 3 is the master of the cancellation line 4; 5 is partly and
// 7 wholly delivered; 6 has a cancelled quantity without a master; 8 has no DO77 row.
void Ordine(sim::HostDbBuilder& b) {
    b.Riga(1, "ART-1", 10, 1)
        .NonPiuEvadibile()
        .Riga(2, "ART-2", 10, 1)
        .Padre(0)
        .Riga(3, "ART-3", 20, 1)
        .Padre(1)
        .NonPiuEvadibile()
        .Riga(4, "ART-3", 5, 1)
        .Padre(1)
        .Riga(5, "ART-5", 20, 1)
        .Padre(1)
        .Consegnato(8)
        .NonPiuEvadibile()
        .Riga(6, "ART-6", 12, 1)
        .Padre(1)
        .Riga(7, "ART-7", 10, 1)
        .Padre(1)
        .Consegnato(10)
        .Riga(8, "ART-8", 6, 1)
        .Padre(1)
        .NonPiuEvadibile();
}

struct Righe {
    Session s{{.lines = Ordine}};
    Righe() {
        for (auto [riga, detail] : {std::pair{3, 3}, {4, 4}}) {
            s.WriteLine(riga, "DO77_ZQGUID_MASTER_DO30", Variant(Bare(3)));
            s.WriteLine(riga, "DO77_ZQGUID_DETAIL_DO30", Variant(Bare(detail)));
            s.WriteLine(riga, "DO77_ZQ_QTA_ANNULLO", Variant(5.0));
            s.WriteLine(riga, "DO77_ZQ_QTA_ORIG", Variant(25.0));
        }
        for (std::int32_t riga : {1, 3, 4}) {
            s.WriteLine(riga, "DO77_CODCAU_ZQ63", Variant("CLI"));
            s.WriteLine(riga, "DO77_DESCAU_ZQ63", Variant("Richiesta del cliente"));
        }
        s.WriteLine(6, "DO77_ZQ_QTA_ANNULLO", Variant(3.0));
        s.DeleteLineRow(8, "DO77");
    }
    void Open(std::int16_t gridMode = 0) {
        s.options.gridMode = gridMode;
        ASSERT_TRUE(s.Initialize());
        s.driver->OpenForm(2);
        s.driver->MoveToLine(1);
        s.host->log->Clear();
    }
    void Applica(std::int32_t stato, const std::string& cod, VBool sovrascrivi, std::int32_t riga) {
        const std::string des = cod.empty() ? "" : "Descrizione " + cod;
        A::ApplicaStatoRighe(s.Plugin(), stato, kFlussoRighe, cod, des, sovrascrivi, riga);
    }
    Variant Vert(std::int32_t riga, const std::string& field) const {
        return s.HostValue(riga, field);
    }
    std::int32_t Flag(std::int32_t riga) const {
        return s.HostValue(riga, "DO31_FLGNONPIUEV").ToLong();
    }
    std::vector<std::int32_t> Flags() const {
        std::vector<std::int32_t> f;
        for (std::int32_t riga = 1; riga <= 8; ++riga) f.push_back(Flag(riga));
        return f;
    }
    std::optional<std::int32_t> Stored(std::int32_t riga) const {
        return s.db->FlowState(Guid(riga), kFlussoRighe);
    }
};

TEST(ApplicaStatoRighe, AllLinesSetTheFlagOfEveryGroupLineAndKeepTheirReasons) {
    Righe r;
    r.Open();
    r.Applica(kStatoRigheIniziale, "ERR", VFalse, 0);
    EXPECT_EQ(r.s.conn->LastTsql(),
              " SELECT * From DO30_DOCCORPO with (nolock) \r left join [VFW_SELDOC] ON \r"
              "     VFW_SELDOC.VFW_DITTA_CG18 = DO30_DITTA_CG18 AND \r"
              "     VFW_SELDOC.VFW_NUMREG_CO99 = DO30_NUMREG_CO99 AND \r"
              "     VFW_SELDOC.VFW_PROGRIGA_DO30 = DO30_PROGRIGA \r"
              "Where DO30_DITTA_CG18 = 1 And DO30_NUMREG_CO99 = 1001");
    // 3: a master delivers on; 4: a cancellation line stays out; 6: a quantity cancelled
    // without a master; 8: no extension row. 1 and 2 belong to no group and keep theirs.
    EXPECT_EQ(r.Flags(), (std::vector<std::int32_t>{1, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(r.Vert(3, "DO77_CODCAU_ZQ63").ToString(), "CLI");
    EXPECT_TRUE(r.Vert(5, "DO77_CODCAU_ZQ63").IsNull());
    for (auto rs : {r.s.host->doc->rstDocCorpoOrd(), r.s.host->doc->rstDocCorpoVert()})
        EXPECT_TRUE(VarEq(rs->Filter(), Variant::Int32(ado::adFilterNone)));
    for (std::int32_t riga = 1; riga <= 8; ++riga) EXPECT_FALSE(r.Stored(riga)) << riga;
    EXPECT_EQ(r.s.host->log->Count("objRigaCorpo.AcquisisciStato"), 0u);

    r.Applica(kStatoRigheAnnullato, "ERR", VTrue, 0);
    EXPECT_EQ(r.Flags(), (std::vector<std::int32_t>{1, 0, 1, 1, 1, 1, 1, 1}));
    // Overwriting replaces the reasons lines have; lines without one get none.
    EXPECT_EQ(r.Vert(4, "DO77_CODCAU_ZQ63").ToString(), "ERR");
    EXPECT_EQ(r.Vert(4, "DO77_DESCAU_ZQ63").ToString(), "Descrizione ERR");
    EXPECT_EQ(r.Vert(1, "DO77_CODCAU_ZQ63").ToString(), "CLI");
    EXPECT_TRUE(r.Vert(6, "DO77_CODCAU_ZQ63").IsNull());
    EXPECT_FALSE(IsTrue(A::ApplicaInCorso(r.s.Plugin())));
    EXPECT_EQ(r.s.host->doc->DocUI()->IndicatoreHistory().back(), 1);
}

TEST(ApplicaStatoRighe, CancellingOneLineLeavesOpenWhatWasNotDelivered) {
    struct Case {
        std::int32_t riga;
        double annullo, orig;
    };
    // 3: from its recorded start; 5: partly delivered, start from its quantity; 6: no start
    // recorded, its quantity instead; 7: wholly delivered, nothing left open, so its whole
    // quantity (10) is what is cancelled, never 0, which would read as no cancellation.
    for (const Case c : {Case{3, 25, 25}, Case{5, 12, 20}, Case{6, 12, 0}, Case{7, 10, 0}}) {
        SCOPED_TRACE(c.riga);
        Righe r;
        r.Open();
        r.Applica(kStatoRigheAnnullato, "FOR", VFalse, c.riga);
        EXPECT_EQ(r.Vert(c.riga, "DO77_ZQ_QTA_ANNULLO").ToDouble(), c.annullo);
        EXPECT_EQ(r.Vert(c.riga, "DO77_ZQ_QTA_ORIG").ToDouble(), c.orig);
        EXPECT_EQ(r.Flag(c.riga), 1);
        EXPECT_EQ(r.Stored(c.riga), kStatoRigheAnnullato);
        EXPECT_EQ(r.s.host->doc->RigaCorpo()->AcquiredState(Guid(c.riga)), kStatoRigheAnnullato);
        // A reason already there stays; an empty one gets the given reason.
        EXPECT_EQ(r.Vert(c.riga, "DO77_CODCAU_ZQ63").ToString(), c.riga == 3 ? "CLI" : "FOR");
        // The host stands on the line; its sections keep the filters they had.
        EXPECT_EQ(r.s.host->doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong(), c.riga);
        EXPECT_EQ(r.s.host->doc->rstDocCorpoOrd()->Filter().ToString(), " DO31_PROGRIGA = 1");
        EXPECT_EQ(r.s.host->doc->rstDocCorpoVert()->Filter().ToString(), " DO77_PROGRIGA = 1");
        EXPECT_EQ(r.s.host->doc->DocUI()->IndicatoreHistory(), (std::vector<std::int16_t>{0, 1}));
    }
}

TEST(ApplicaStatoRighe, WithdrawingKeepsCancellationLinesCancelledInTheFlowStore) {
    Righe r;
    r.Open();
    r.Applica(kStatoRigheIniziale, "", VTrue, 4);
    r.Applica(kStatoRigheIniziale, "", VTrue, 3);
    r.Applica(kStatoRigheIniziale, "", VTrue, 1);  // no group: untouched
    EXPECT_EQ(r.Stored(4), kStatoRigheAnnullato);
    EXPECT_EQ(r.Stored(3), kStatoRigheIniziale);
    EXPECT_FALSE(r.Stored(1));
    EXPECT_EQ(r.s.host->doc->RigaCorpo()->AcquiredState(Guid(4)), kStatoRigheAnnullato);
    EXPECT_EQ(r.s.host->doc->RigaCorpo()->AcquiredState(Guid(3)), kStatoRigheIniziale);
    EXPECT_EQ(r.s.host->log->Count("objRigaCorpo.AcquisisciStato"), 2u);
    EXPECT_EQ(r.Flags(), (std::vector<std::int32_t>{1, 0, 0, 1, 1, 0, 0, 1}));
    // An empty reason with overwrite clears it; quantities stay as they were.
    for (std::int32_t riga : {3, 4}) {
        EXPECT_TRUE(r.Vert(riga, "DO77_CODCAU_ZQ63").IsNull());
        EXPECT_TRUE(r.Vert(riga, "DO77_DESCAU_ZQ63").IsNull());
        EXPECT_EQ(r.Vert(riga, "DO77_ZQ_QTA_ANNULLO").ToDouble(), 5);
    }
    EXPECT_EQ(r.Vert(1, "DO77_CODCAU_ZQ63").ToString(), "CLI");
}

TEST(ApplicaStatoRighe, ALineWithoutOrderAndExtensionRowsGetsThemWithItsKeys) {
    Righe r;
    r.s.DeleteLineRow(8, "DO31");
    r.Open();
    r.Applica(kStatoRigheAnnullato, "FOR", VFalse, 8);
    const auto calls = r.s.host->log->Members();
    const auto at = [&](const std::string& m) {
        return std::find(calls.begin(), calls.end(), m) - calls.begin();
    };
    EXPECT_LT(at("gclsRegDoc.AggiungiRigaCorpoOrd"), at("gclsRegDoc.AggiungiRigaCorpoVert"));
    EXPECT_LT(at("gclsRegDoc.AggiungiRigaCorpoVert"), at("objRigaCorpo.AcquisisciStato"));
    EXPECT_EQ(r.Stored(8), kStatoRigheAnnullato);

    ASSERT_TRUE(r.s.driver->Save());
    const auto rows = r.s.conn->QueryRows(
        "SELECT DO31_DITTA_CG18, DO31_FLGNONPIUEV, DO77_ZQ_QTA_ANNULLO, DO77_CODCAU_ZQ63 "
        "FROM DO31_DOCCORPOORD JOIN DO77_DOCCORPOVERT ON DO77_NUMREG_CO99 = DO31_NUMREG_CO99 "
        "AND DO77_PROGRIGA = DO31_PROGRIGA WHERE DO31_NUMREG_CO99 = ? AND DO31_PROGRIGA = 8",
        {Variant::Int32(kOrdine)});
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][0].ToLong(), sim::demo::kDitta);
    EXPECT_EQ(rows.rows[0][1].ToLong(), 1);
    EXPECT_EQ(rows.rows[0][2].ToDouble(), 6);
    EXPECT_EQ(rows.rows[0][3].ToString(), "FOR");
}

TEST(ApplicaStatoRighe, TheLineFlagControlFollowsOutsideGridMode2Only) {
    for (std::int16_t gridMode : {0, 2}) {
        SCOPED_TRACE(gridMode);
        Righe r;
        r.Open(gridMode);
        r.s.driver->MoveToLine(6);
        sim::SimControl& flag = r.s.Control(2, "TXT_DO31_FLGNONPIUEV");
        ASSERT_EQ(flag.Text(), "0");
        r.Applica(kStatoRigheAnnullato, "FOR", VFalse, 6);
        EXPECT_EQ(r.Flag(6), 1);
        EXPECT_EQ(flag.Text(), gridMode == 2 ? "0" : "1");
        EXPECT_EQ(flag.IsChanged(), gridMode != 2);
    }
}

TEST(ApplicaStatoRighe, AFailureRestoresTheBusyFlagAndIndicatorAndShowsNothing) {
    // The fulfilment view is gone: the query itself fails.
    Righe r;
    r.s.conn->RunSqlite("DROP VIEW VFW_SELDOC");
    r.Open();
    r.Applica(kStatoRigheAnnullato, "FOR", VFalse, 5);
    EXPECT_EQ(r.Vert(5, "DO77_ZQ_QTA_ANNULLO").ToDouble(), 0);
    EXPECT_FALSE(r.Stored(5));
    EXPECT_FALSE(IsTrue(A::ApplicaInCorso(r.s.Plugin())));
    EXPECT_EQ(r.s.host->doc->DocUI()->IndicatoreAttesa(), 1);
    EXPECT_TRUE(r.s.Messages().empty());

    // A line without a GUID fails half-way: what was written stays, the rest is skipped.
    Righe g;
    g.Open();
    const auto corpo = g.s.host->doc->rstDocCorpo()->Clone();
    corpo->SetFilter(Variant("DO30_PROGRIGA = 5"));
    corpo->Set("DO30_GUID", Variant::Null());
    corpo->Update();
    g.Applica(kStatoRigheAnnullato, "FOR", VFalse, 5);
    EXPECT_EQ(g.s.host->doc->DocUI()->IndicatoreHistory(), (std::vector<std::int16_t>{0, 1}));
    EXPECT_FALSE(IsTrue(A::ApplicaInCorso(g.s.Plugin())));
    EXPECT_EQ(g.s.host->log->Count("objRigaCorpo.AcquisisciStato"), 0u);
    EXPECT_EQ(g.Vert(5, "DO77_ZQ_QTA_ANNULLO").ToDouble(), 0);
    EXPECT_TRUE(g.s.Messages().empty());
}

}  // namespace
}  // namespace zq::test
