// The "Gestione annulli" command through the body form's menu, as a user runs it: the grid
// handed the family with each line's status, the grid's result written back on the right
// lines, a cancellation line made once and removed with all its rows, one reversal, and a
// failure anywhere leaving the order and the host's busy state as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sim/host/size_grid.h"
#include "support/grid_setup.h"
#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using sim::GridEdit;

constexpr std::string_view kComando = "GestAnnulli";

// The demo order with the body form on `line`.
SessionOptions SuRiga(std::int32_t line) {
    SessionOptions o;
    o.line = line;
    return o;
}

std::size_t Reversals(const Session& s) {
    const auto& t = s.commands->executedTexts;
    return static_cast<std::size_t>(std::count(t.begin(), t.end(), "SPMG_PROGMAG_DOC"));
}

void Griglia(Session& s, std::vector<GridEdit> edits) {
    s.host->sizeGrid->PlanEdits(std::move(edits));
    s.driver->PickMenuItem(std::string(kComando));
}

// A column of the grid row of `line` as the plug-in handed it over.
Variant Consegnato(const Session& s, std::int32_t line, const std::string& column) {
    const sim::GridRows& rows = s.host->sizeGrid->Grids().back()->Handed();
    std::size_t prog = rows.columns.size(), col = rows.columns.size();
    for (std::size_t i = 0; i < rows.columns.size(); ++i) {
        if (rows.columns[i] == "DO30_PROGRIGA") prog = i;
        if (rows.columns[i] == column) col = i;
    }
    EXPECT_LT(col, rows.columns.size()) << column;
    for (const auto& r : rows.rows)
        if (prog < r.size() && r[prog].ToLong() == line && col < r.size()) return r[col];
    ADD_FAILURE() << "no grid row for line " << line;
    return Variant();
}

// What the database holds for a line, DO30, DO31 and DO77 together.
struct Fotografia {
    std::vector<std::int32_t> righe;
    std::vector<std::map<std::string, Variant>> colonne;
    std::vector<std::optional<std::int32_t>> stati;
};
Fotografia Fotografa(const Session& s) {
    Fotografia f;
    f.righe = s.LineNumbers();
    for (std::int32_t r : f.righe) {
        f.colonne.push_back(s.Line(r).col);
        f.stati.push_back(s.FlowState(s.Line(r).Text("DO30_GUID")));
    }
    return f;
}
void AttendiUguale(const Fotografia& a, const Fotografia& b) {
    ASSERT_EQ(a.righe, b.righe);
    for (std::size_t i = 0; i < a.righe.size(); ++i) {
        EXPECT_EQ(a.stati[i], b.stati[i]) << "line " << a.righe[i];
        for (const auto& [k, v] : a.colonne[i])
            EXPECT_TRUE(v.SameAs(b.colonne[i].at(k)))
                << "line " << a.righe[i] << " " << k << ": " << v.Describe() << " became "
                << b.colonne[i].at(k).Describe();
    }
}

// ---- what the grid is handed ----

TEST(GestioneAnnulliGriglia, HandsTheFamilyWithEachLinesStatusAndReason) {
    Session s(SuRiga(7));
    s.WriteLine(7, "DO77_ZQ_QTA_ANNULLO", Variant(5.0));  // the whole of its 5 pieces
    s.WriteLine(9, "DO77_ZQ_QTA_ANNULLO", Variant(1.0));  // part of its 3
    s.WriteLine(9, "DO77_CODCAU_ZQ63", Variant("FOR"));
    s.Open();
    Griglia(s, {});
    ASSERT_EQ(s.host->sizeGrid->Grids().size(), 1u);
    EXPECT_EQ(s.host->sizeGrid->Grids().back()->Handed().rows.size(), 3u);
    EXPECT_EQ(Consegnato(s, 7, "DO30_GUID").ToString(), "3");
    EXPECT_EQ(Consegnato(s, 8, "DO30_GUID").ToString(), "1");
    EXPECT_EQ(Consegnato(s, 9, "DO30_GUID").ToString(), "2");
    EXPECT_EQ(Consegnato(s, 9, "DO77_CODCAU_ZQ63").ToString(), "FOR");
    EXPECT_EQ(Consegnato(s, 8, "DO30_QTA1").ToDouble(), 8);
    // Unchanged, the grid posts nothing: no save, no reversal.
    EXPECT_EQ(s.driver->SaveCount(), 0);
    EXPECT_EQ(Reversals(s), 0u);
}

TEST(GestioneAnnulliGriglia, GivesTheGridTheLayoutTheLineAndTheDocument) {
    Session s(SuRiga(8));
    s.Open();
    Griglia(s, {});
    const auto& g = *s.host->sizeGrid->Grids().back();
    EXPECT_EQ(g.Passed("ProgPadre").ToLong(), sim::demo::kProgPadreTaglie);
    EXPECT_EQ(g.Passed("Articolo").ToString(), "MAGLIA");
    EXPECT_EQ(g.Passed("RigaCorrente").ToLong(), 8);
    EXPECT_TRUE(g.Passed("Dim1Presente").ToBool());
    EXPECT_EQ(g.Passed("Dim2Inizio").ToLong(), 5);  // size 2 + line 2 before the colour
    EXPECT_TRUE(g.Passed("Chiamante").IsObject() || g.Passed("Chiamante").ToObject() == nullptr);
    EXPECT_EQ(g.Passed("RegDoc").ToObject(), ObjectPtr(s.host->doc));
    // The calls come in the command's order: the layout first, the grid shown last.
    const auto& calls = g.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls.front(), "Ditta=");
    EXPECT_EQ(calls[1], "Ditta");
    EXPECT_EQ(calls.back(), "Mostra=");
}

// ---- the write-back ----

TEST(GestioneAnnulliGriglia, ACellSetToThreeCancelsOnlyItsOwnLine) {
    Session s(SuRiga(7));
    s.Open();
    Griglia(s, {GridEdit::Line(9).Status("3")});
    EXPECT_EQ(s.FlowState(Guid(9)), kStatoRigheAnnullato);
    EXPECT_EQ(s.Line(9).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.Line(9).Text("DO77_CODCAU_ZQ63"), "CLI");
    EXPECT_EQ(s.Line(9).Num("DO77_ZQ_QTA_ANNULLO"), 3);
    for (std::int32_t other : {7, 8}) {
        EXPECT_NE(s.FlowState(Guid(other)), kStatoRigheAnnullato) << other;
        EXPECT_EQ(s.Line(other).Num("DO31_FLGNONPIUEV"), 0) << other;
        EXPECT_EQ(s.Line(other).Num("DO77_ZQ_QTA_ANNULLO"), 0) << other;
    }
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_TRUE(s.ProgressivesConsistent());
}

TEST(GestioneAnnulliGriglia, ASplitIsMadeOnceAndLaterMovedNotRepeated) {
    Session s(SuRiga(8));
    s.Open();
    Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(2)});
    ASSERT_EQ(s.LineNumbers().size(), 10u);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 2);
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 6);
    EXPECT_EQ(s.Line(10).Text("DO77_ZQGUID_MASTER_DO30"), Bare(8));

    // The same cell again, and again with a new quantity: still one cancellation line.
    s.driver->MoveToLine(8);
    Griglia(s, {GridEdit::Line(8).Reason("FOR")});
    s.driver->MoveToLine(8);
    Griglia(s, {GridEdit::Line(8).Cancelled(5)});
    EXPECT_EQ(s.LineNumbers().size(), 10u);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 5);
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 3);
    EXPECT_EQ(s.Line(10).Text("DO77_CODCAU_ZQ63"), "FOR");
    EXPECT_TRUE(s.Line(8).IsNull("DO77_CODCAU_ZQ63"));
    EXPECT_TRUE(s.ProgressivesConsistent());
}

TEST(GestioneAnnulliGriglia, ARemovedCancellationLineTakesItsRowsFromEverySection) {
    Session s(SuRiga(8));
    s.Open();
    Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(3)});
    ASSERT_EQ(s.LineNumbers().size(), 10u);
    // Rows of the cancellation line in two further sections, then the order read again.
    s.conn->RunSqlite(
        "INSERT INTO DO52_DOCCORPOLOT (DO52_DITTA_CG18, DO52_NUMREG_CO99, DO52_PROGRIGA, "
        "DO52_PROG, DO52_CODLOTTO_MG4G) VALUES (1, 1001, 10, 1, 'L10')");
    s.conn->RunSqlite(
        "INSERT INTO DO33_DOCCORPORIF (DO33_DITTA_CG18, DO33_NUMREG_CO99, DO33_PROGRIGA, "
        "DO33_PROG) VALUES (1, 1001, 10, 1)");
    s.Reopen();
    s.driver->MoveToLine(8);
    Griglia(s, {GridEdit::Line(8).Status("1")});
    EXPECT_EQ(s.LineNumbers().size(), 9u);
    EXPECT_FALSE(s.Line(10).hasDo31);
    EXPECT_FALSE(s.Line(10).hasDo77);
    for (const char* table : {"DO52_DOCCORPOLOT", "DO33_DOCCORPORIF"}) {
        const std::string col = std::string(table).substr(0, 4) + "_PROGRIGA";
        EXPECT_EQ(s.Scalar("SELECT COUNT(*) FROM " + std::string(table) + " WHERE " + col +
                           " = 10 AND " + std::string(table).substr(0, 4) + "_NUMREG_CO99 = 1001")
                      .ToLong(),
                  0)
            << table;
    }
    // The master is free and whole again.
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 8);
    EXPECT_EQ(s.Line(8).Num("DO77_ZQ_QTA_ANNULLO"), 0);
    EXPECT_TRUE(s.Line(8).IsNull("DO77_ZQGUID_MASTER_DO30"));
    EXPECT_EQ(s.FlowState(Guid(8)), kStatoRigheIniziale);
    EXPECT_TRUE(s.ProgressivesConsistent());
}

TEST(GestioneAnnulliGriglia, TheProgressivesAreReversedOnceForOneCommand) {
    Session s(SuRiga(7));
    s.Open();
    Griglia(s, {GridEdit::Line(7).Status("2").Cancelled(1), GridEdit::Line(9).Status("3")});
    EXPECT_EQ(Reversals(s), 1u);
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_TRUE(s.ProgressivesConsistent()) << s.Drift().size();
}

TEST(GestioneAnnulliGriglia, ACellWithItsOwnReasonSplitsWithoutADefaultReason) {
    SessionOptions o = SuRiga(8);
    o.setup = {"UPDATE ZQ63_CAU_ANNULLO SET ZQ63_FLG_DEFAULT = 0"};  // no default reason
    Session s(o);
    s.Open();
    Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(2).Reason("FOR")});
    EXPECT_TRUE(s.Messages().empty());
    ASSERT_EQ(s.LineNumbers().size(), 10u);
    EXPECT_EQ(s.Line(10).Text("DO77_CODCAU_ZQ63"), "FOR");
}

TEST(GestioneAnnulliGriglia, ASplitWithoutAnyReasonIsRefusedAndLeavesNothingHalfDone) {
    SessionOptions o = SuRiga(8);
    o.setup = {"UPDATE ZQ63_CAU_ANNULLO SET ZQ63_FLG_DEFAULT = 0"};  // no default reason
    Session s(o);
    s.Open();
    const Fotografia prima = Fotografa(s);
    Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(2), GridEdit::Line(9).Status("3")});
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_EQ(s.Messages()[0].testo,
              "Non è possibile annullare l'ordine, senza specificare la causale di annullo!");
    AttendiUguale(prima, Fotografa(s));
    // The next grid shows the line as free: nothing is left for it to pick up.
    s.driver->MoveToLine(8);
    Griglia(s, {});
    EXPECT_EQ(Consegnato(s, 8, "DO30_GUID").ToString(), "1");
    EXPECT_TRUE(s.ProgressivesConsistent());
}

// ---- failures ----

TEST(GestioneAnnulliGriglia, AFailureLeavesTheOrderAndTheHostsBusyStateAsTheyWere) {
    for (const char* site : {"gclsRegDoc.ImpostaQuantita", "gclsRegDoc.AggiungiRigaCorpo",
                             "DO77_DOCCORPOVERT.Delete"}) {
        SCOPED_TRACE(site);
        Session s(SuRiga(8));
        s.Open();
        Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(3)});  // a pair to remove later
        s.driver->MoveToLine(8);
        const Fotografia prima = Fotografa(s);
        const std::int16_t indicatore = s.Indicatore();
        s.faults.FailMatching(std::string_view(site).find("Delete") != std::string_view::npos
                                  ? sim::FaultKind::Write
                                  : sim::FaultKind::Method,
                              site, 1);
        Griglia(s, {GridEdit::Line(8).Status("1"), GridEdit::Line(9).Status("2").Cancelled(1)});
        s.faults.Disarm();
        ASSERT_TRUE(s.FaultFired());
        AttendiUguale(prima, Fotografa(s));
        EXPECT_EQ(s.Indicatore(), indicatore);
        EXPECT_EQ(s.host->screen->MousePointer(), 0);
        EXPECT_EQ(s.host->doc->InElaborazione(), VFalse);
        EXPECT_EQ(s.host->body->Window().docCorpo->LockCount(), 0);
        EXPECT_EQ(ClsrfTestAccess::GrigliaInCorso(s.Plugin()), VFalse);
        EXPECT_TRUE(s.ProgressivesConsistent());
        // The form closes, and the next command works.
        EXPECT_FALSE(s.driver->CloseForm(2));
    }
}

TEST(GestioneAnnulliGriglia, APostingThatFailsShowsItsErrorAndUnlocksTheForm) {
    SessionOptions o = SuRiga(7);
    o.behaviour = {};
    Session s(o);
    s.Load();
    s.host->sizeGrid->settings.posting = sim::GridPosting::Fail;
    s.Open();
    Griglia(s, {GridEdit::Line(7).Status("3")});
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_EQ(s.Messages()[0].stile, 0);
    EXPECT_EQ(s.Messages()[0].testo.rfind("Errore: -2147220991\rDescrizione: ", 0), 0u);
    EXPECT_EQ(s.host->body->Window().docCorpo->LockCount(), 0);
    EXPECT_EQ(s.driver->SaveCount(), 0);
    EXPECT_NE(s.FlowState(Guid(7)), kStatoRigheAnnullato);
}

// ---- the grid navigator's "griglia" key ----

TEST(RicalcolaQtaAnnulloGriglia, CancellationLinesLeaveTheGroupWhileTheGridIsOpenAndComeBack) {
    for (std::int32_t start : {8, 10}) {  // the master, then the cancellation line
        SCOPED_TRACE(start);
        Session s(SuRiga(8));
        s.Open();
        Griglia(s, {GridEdit::Line(8).Status("2").Cancelled(3)});
        s.driver->MoveToLine(start);
        ObjectPtr form = s.host->body;
        std::string chiave = "griglia";
        ASSERT_TRUE(s.FormEvents().GridnavButtonClick(form, 2, chiave).Succeeded());
        // Only the cancellation line leaves: the host's grid shows the master alone.
        EXPECT_EQ(s.HostValue(10, "DO30_PROGPADRE").ToLong(), 9999);
        for (std::int32_t line : {7, 8, 9})
            EXPECT_EQ(s.HostValue(line, "DO30_PROGPADRE").ToLong(), sim::demo::kProgPadreTaglie);
        chiave = "Griglia";
        ASSERT_TRUE(s.FormEvents().GridnavAfterButtonClick(form, 2, chiave).Succeeded());
        for (std::int32_t line : {7, 8, 9, 10})
            EXPECT_EQ(s.HostValue(line, "DO30_PROGPADRE").ToLong(), sim::demo::kProgPadreTaglie)
                << line;
        EXPECT_EQ(s.HostValue(10, "DO77_ZQ_QTA_ORIG").ToDouble(), 8);
    }
}

}  // namespace
}  // namespace zq::test
