// The size-grid write-back's way of making a cancellation line: the same split, worked on
// the document's rows only.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kSenzaCausale =
    "Non è possibile annullare l'ordine, senza specificare la causale di annullo!";

ClsrfTestAccess::Esito Duplica(Session& s, double ordine, double annullo, bool aggiorna = true) {
    return ClsrfTestAccess::DuplicaRigaCorpoGrid(s.Plugin(), ordine, annullo,
                                                 s.Current("DO30_GUID").ToString(), aggiorna);
}

// The master's own group and reason, as the grid lines carry them.
void PrepareMaster(Session& s) {
    auto corpo = s.host->doc->rstDocCorpo();
    corpo->Set("DO30_PROGPADRE", Variant::Int32(5));
    corpo->Update();
    auto vert = s.host->doc->rstDocCorpoVert();
    vert->Set("DO77_CODCAU_ZQ63", Variant("FOR"));
    vert->Set("DO77_DESCAU_ZQ63", Variant("Merce non disponibile"));
    vert->Update();
}

TEST(GridDuplicate, SplitsOnTheRowsWithTheMastersGroupAndReason) {
    Session s(SevenLines());
    s.Open();
    PrepareMaster(s);
    auto& body = *s.host->body;
    s.host->log->Clear();
    const auto esito = Duplica(s, 10, 3);
    EXPECT_TRUE(esito.ok);

    // The new line, current, in memory: written to the database only by the caller.
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    EXPECT_EQ(s.Current("DO30_PROGPADRE").ToLong(), 5);
    EXPECT_EQ(s.Current("DO30_PROGVISUASTA").ToLong(), 8);
    EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 3);
    EXPECT_EQ(s.Current("DO77_CODCAU_ZQ63").ToString(), "FOR");
    EXPECT_EQ(s.Current("DO31_FLGNONPIUEV").ToLong(), 1);
    EXPECT_FALSE(s.Line(8).exists);
    const std::string d = s.Current("DO30_GUID").ToString();
    ASSERT_EQ(ClsrfTestAccess::Links(s.Plugin()).size(), 1u);
    EXPECT_EQ(ClsrfTestAccess::Links(s.Plugin())[0].DO30_PROGPADRE.ToLong(), 5);
    EXPECT_EQ(s.FlowState(d), kStatoRigheAnnullato);

    // The master was written before the new line was made.
    const DbLine master = s.Line(1);
    EXPECT_EQ(master.Num("DO30_QTA1"), 7);
    EXPECT_EQ(master.Text("DO77_CODCAU_ZQ63"), "");
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 3);
    EXPECT_EQ(master.Text("DO77_ZQGUID_DETAIL_DO30"), Bare(1));

    // No controls of its own, no display suspension, no line-state object, no locking.
    EXPECT_FALSE(body.BoundTo("DO77_CODCAU_ZQ63")->IsChanged());
    EXPECT_TRUE(body.BoundTo("DO30_QTA1")->Enabled());
    for (const char* absent : {"FME_DocCorpo.Redraw", "FME_DocCorpo.RefreshRow",
                               "BoStati.ConfermaModifiche", "GRD_CORPO.RefreshSummaryFooters"})
        EXPECT_EQ(s.host->log->Count(absent), 0u) << absent;
    // The line object is pointed at the master and takes its initial state over.
    const auto taken = s.host->log->CallsTo("objRigaCorpo.AcquisisciStato");
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].args[0].ToString(), Guid(1));
    EXPECT_EQ(taken[0].args[1].ToLong(), kStatoRigheIniziale);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia"), 1u);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.FineAggiornaGriglia"), 1u);
}

TEST(GridDuplicate, TheRefreshPairOnlyOnRequest) {
    Session s(SevenLines());
    s.Open();
    s.host->log->Clear();
    Duplica(s, 10, 3, false);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia"), 0u);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.FineAggiornaGriglia"), 0u);
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    // A master without reason gives the new line the default reason.
    EXPECT_EQ(s.Current("DO77_CODCAU_ZQ63").ToString(), "CLI");
    EXPECT_EQ(s.Current("DO77_DESCAU_ZQ63").ToString(), "Richiesta del cliente");
}

TEST(GridDuplicate, InGridMode2TheNewLineIsShownUnderItsGroup) {
    Session s(SevenLines({.gridMode = 2}));
    s.Open();
    PrepareMaster(s);
    Duplica(s, 10, 3);
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    EXPECT_EQ(s.Current("DO30_PROGVISUASTA").ToLong(), 5);
}

// Without a default reason the line's own reason makes the split; without either it is
// refused.
TEST(GridDuplicate, TheLinesOwnReasonStandsInForTheDefault) {
    Session s(SevenLines({.defaultReason = false}));
    s.Open();
    PrepareMaster(s);  // the line has a reason of its own
    const auto esito = Duplica(s, 10, 3);
    EXPECT_TRUE(esito.ok);
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    EXPECT_EQ(s.Current("DO77_CODCAU_ZQ63").ToString(), "FOR");
}

TEST(GridDuplicate, NoReasonAtAllIsRefused) {
    Session s(SevenLines({.defaultReason = false}));
    s.Open();
    const auto esito = Duplica(s, 10, 3);
    EXPECT_FALSE(esito.ok);
    EXPECT_EQ(esito.qtaRipristino, 0);
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kSenzaCausale, 64, kTitolo}}));
    EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 7);
}

TEST(GridDuplicate, TheWholeQuantityOnlyOnTheRow) {
    Session s(SevenLines());
    s.Open();
    auto& ctl = *s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO");
    ctl.Show(Variant("0"));
    Duplica(s, 10, 10);
    EXPECT_EQ(s.Current("DO77_ZQ_QTA_ANNULLO").ToDouble(), 10);
    EXPECT_EQ(s.Current("DO31_FLGNONPIUEV").ToLong(), 1);
    EXPECT_EQ(ctl.Text(), "0");
    EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 7);
}

TEST(GridDuplicate, AFailureBeforeTheNewLineIsReportedAndCleansUp) {
    Session s(SevenLines());
    s.Open();
    const std::int16_t saved = s.Indicatore();
    s.faults.FailMatching(sim::FaultKind::Method, "gclsRegDoc.ImpostaQuantita", 1);
    const auto esito = [&] {
        sim::PluginCallFrame frame;  // called as the size-grid write-back calls it
        return Duplica(s, 10, 3);
    }();
    EXPECT_TRUE(esito.ok);
    EXPECT_EQ(s.TakeMessages(),
              (std::vector<ShownMessage>{
                  {"DuplicaRigaCorpoGrid Injected failure of gclsRegDoc.ImpostaQuantita", 0, ""}}));
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::CreaAnnulloInCorso(s.Plugin())));
    EXPECT_EQ(s.Indicatore(), saved);
    EXPECT_EQ(s.host->doc->GridSuspendDepth(), 0);
}

}  // namespace
}  // namespace zq::test
