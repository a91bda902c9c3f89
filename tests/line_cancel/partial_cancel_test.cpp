// Cancelling part of a line through a state change: the master keeps the residue, a linked
// cancellation line carries the cancelled quantity, the reason, the flag and the cancelled
// state; a second one joins the same group.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;

class PartialCancelTest : public ::testing::Test {
  protected:
    void SetUp() override { s.Open(); }
    Session s{SevenLines()};
};

TEST_F(PartialCancelTest, SplitsTheLineIntoMasterAndCancellationLine) {
    s.CancelQuantity(3);
    ASSERT_TRUE(s.driver->Save());

    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    const std::string g = Guid(1);
    const DbLine master = s.Line(1);
    EXPECT_EQ(master.Num("DO30_QTA1"), 7);
    EXPECT_EQ(master.Num("DO30_IMPORTO"), 35);  // the host recalculated the residue's amount
    EXPECT_TRUE(master.IsNull("DO30_PROGPADRE"));
    EXPECT_EQ(master.Text("DO30_GUID"), g);
    EXPECT_EQ(master.Text("DO77_ZQGUID_MASTER_DO30"), Unbraced(g));
    EXPECT_EQ(master.Text("DO77_ZQGUID_DETAIL_DO30"), Unbraced(g));
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ORIG"), 10);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 3);
    EXPECT_EQ(master.Text("DO77_CODCAU_ZQ63"), "");
    EXPECT_FALSE(master.IsNull("DO77_CODCAU_ZQ63"));  // emptied, not cleared
    EXPECT_EQ(master.Text("DO77_DESCAU_ZQ63"), "");
    EXPECT_EQ(master.Num("DO31_FLGNONPIUEV"), 0);
    EXPECT_EQ(s.FlowState(g), kStatoRigheIniziale);

    const DbLine annullo = s.Line(8);
    ASSERT_TRUE(annullo.exists && annullo.hasDo31 && annullo.hasDo77);
    const std::string d = annullo.Text("DO30_GUID");
    EXPECT_EQ(d.front(), '{');
    EXPECT_NE(d, g);
    EXPECT_EQ(annullo.Num("DO30_QTA1"), 3);
    EXPECT_EQ(annullo.Num("DO30_PROGVISUASTA"), 8);
    EXPECT_EQ(annullo.Num("DO30_PROGPADRE"), 2);
    EXPECT_EQ(annullo.Num("GRIGLIA"), 0);
    // Copied from the master.
    EXPECT_EQ(annullo.Text("DO30_CODART_MG66"), "ART-A");
    EXPECT_EQ(annullo.Num("DO30_PREZZO1"), 5);
    EXPECT_EQ(annullo.Text("DO30_CODDEP_MG58"), master.Text("DO30_CODDEP_MG58"));
    EXPECT_EQ(annullo.Text("DO77_ZQGUID_MASTER_DO30"), Unbraced(g));
    EXPECT_EQ(annullo.Text("DO77_ZQGUID_DETAIL_DO30"), Unbraced(d));
    EXPECT_EQ(annullo.Num("DO77_ZQ_QTA_ORIG"), 10);
    EXPECT_EQ(annullo.Num("DO77_ZQ_QTA_ANNULLO"), 0);  // not written on the new line
    EXPECT_EQ(annullo.Text("DO77_CODCAU_ZQ63"), "CLI");
    EXPECT_EQ(annullo.Text("DO77_DESCAU_ZQ63"), "Richiesta del cliente");
    EXPECT_EQ(annullo.Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.FlowState(d), kStatoRigheAnnullato);

    // The link collection keeps the braced GUIDs.
    const auto links = ClsrfTestAccess::Links(s.Plugin());
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].Key, d);
    EXPECT_EQ(links[0].DO77_ZQGUID_DETAIL_DO30, d);
    EXPECT_EQ(links[0].DO77_ZQGUID_MASTER_DO30, g);
    EXPECT_EQ(links[0].DO30_PROGPADRE.ToLong(), 2);
    const auto ultimo = ClsrfTestAccess::Ultimo(s.Plugin());
    EXPECT_EQ(ultimo.guid, d);
    EXPECT_EQ(ultimo.progRiga, 8);
    EXPECT_EQ(ultimo.progPadre, 2);
    EXPECT_EQ(ultimo.stato, kStatoRigheAnnullato);
}

TEST_F(PartialCancelTest, TheCancellationLineIsCurrentAndShownUnbracedAndLocked) {
    s.CancelQuantity(3);
    auto& body = *s.host->body;
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    const std::string d = s.Current("DO30_GUID").ToString();
    EXPECT_EQ(body.BoundTo("DO77_ZQGUID_DETAIL_DO30")->Text(), Unbraced(d));
    EXPECT_EQ(body.BoundTo("DO77_ZQGUID_MASTER_DO30")->Text(), Bare(1));
    EXPECT_EQ(body.BoundTo("DO77_CODCAU_ZQ63")->Text(), "CLI");
    EXPECT_TRUE(body.BoundTo("DO77_CODCAU_ZQ63")->IsChanged());
    EXPECT_FALSE(body.BoundTo("DO30_QTA1")->Enabled());
    EXPECT_FALSE(body.BoundTo("DO77_ZQ_QTA_ANNULLO")->Enabled());
    // The line-state object was given the new line and the cancelled state.
    const auto confirmed = s.host->log->CallsTo("BoStati.ConfermaModifiche");
    ASSERT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(confirmed[0].args[0].ToString(), d);
    EXPECT_EQ(confirmed[0].args[1].ToLong(), kStatoRigheAnnullato);
    EXPECT_EQ(s.host->body->BoundTo("DO30_GUID")->RefreshCount(), 1);
}

TEST_F(PartialCancelTest, HostCallsComeInTheirOrder) {
    s.host->log->Clear();
    s.CancelQuantity(3);
    std::vector<std::string> seen;
    for (const auto& m : s.host->log->Members()) {
        if (m.rfind("gclsRegDoc.", 0) == 0 || m.rfind("FME_", 0) == 0 || m.rfind("GRD_", 0) == 0 ||
            m.rfind("BoStati.", 0) == 0)
            seen.push_back(m);
    }
    // Lock/Unlock pairs of the look-ups are left out: they are the look-ups' own business.
    std::erase_if(seen, [](const std::string& m) {
        return m == "FME_DocCorpo.Lock" || m == "FME_DocCorpo.Unlock";
    });
    // clang-format off
    const std::vector<std::string> expected{
        "gclsRegDoc.ImpostaQuantita",          // residue to the master
        "gclsRegDoc.AcquisisciCorpoVert",      // master keyed
        "gclsRegDoc.InizioAggiornaGriglia",    // refresh bracket opens
        "gclsRegDoc.AggiungiRigaCorpo",
        "gclsRegDoc.ImpostaArticoloOpzione",   // the fields in the recordset's order
        "gclsRegDoc.ImpostaDepositoCollegato",
        "gclsRegDoc.ImpostaQuantita",
        "gclsRegDoc.DopoRigaCorpo",
        "gclsRegDoc.FineAggiornaGriglia",      // refresh bracket closes
        "gclsRegDoc.AggiungiRigaCorpoVert",    // new line keyed
        "gclsRegDoc.AcquisisciCorpoVert",
        "gclsRegDoc.AggiungiRigaCorpoOrd",
        "FME_DocCorpo.Redraw",
        "FME_DocCorpo.MsgOnUpdate",
        "FME_DocCorpoVert.Redraw",
        "FME_DocCorpoVert.MsgOnUpdate",
        "FME_DocCorpo.RefreshRow",
        "BoStati.ConfermaModifiche",
        "gclsRegDoc.RicalcolaTotali",
        "gclsRegDoc.RicalcolaIva",
        "gclsRegDoc.RicalcolaScadenze",
        "FME_DocCorpoVert.Redraw",
        "FME_DocCorpo.Redraw",
        "GRD_CORPO.RefreshSummaryFooters",
        "gclsRegDoc.ElencoDocRiferiti",        // the split written back,
        "gclsRegDoc.Save",                     // reversed and saved
    };
    // clang-format on
    EXPECT_EQ(seen, expected);
    const auto q = s.host->log->CallsTo("gclsRegDoc.ImpostaQuantita");
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].args[0].ToDouble(), 7);
    EXPECT_TRUE(q[0].args[1].ToBool() && q[0].args[2].ToBool());
    EXPECT_EQ(q[1].args[0].ToDouble(), 3);
    EXPECT_FALSE(q[1].args[1].ToBool() || q[1].args[2].ToBool());
    const auto add = s.host->log->CallsTo("gclsRegDoc.AggiungiRigaCorpo");
    EXPECT_EQ(add[0].args[1].ToLong(), 8);
    EXPECT_EQ(add[0].args[2].ToLong(), 0);
    EXPECT_EQ(s.host->log->CallsTo("gclsRegDoc.DopoRigaCorpo")[0].args[0].ToLong(), 8);
    // Display resumed, the grid drawing again, the busy indicator left at 0.
    EXPECT_TRUE(s.host->window->docCorpo->Redraw());
    EXPECT_TRUE(s.host->window->docCorpoVert->Redraw());
    EXPECT_FALSE(s.host->window->docCorpo->MsgOnUpdate());
    EXPECT_EQ(s.host->doc->GridSuspendDepth(), 0);
    EXPECT_EQ(s.Indicatore(), 0);
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::CreaAnnulloInCorso(s.Plugin())));
}

TEST_F(PartialCancelTest, ASecondOneTakesTheNextNumberAndTheSameGroup) {
    s.CancelQuantity(3);
    s.driver->MoveToLine(3);
    s.CancelQuantity(2);
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    const DbLine second = s.Line(9);
    EXPECT_EQ(second.Num("DO30_QTA1"), 2);
    EXPECT_EQ(second.Num("DO30_PROGVISUASTA"), 9);
    EXPECT_EQ(second.Num("DO30_PROGPADRE"), 2);
    EXPECT_EQ(second.Text("DO30_CODART_MG66"), "ART-C");
    EXPECT_EQ(second.Text("DO77_ZQGUID_MASTER_DO30"), Bare(3));
    EXPECT_EQ(s.Line(3).Num("DO30_QTA1"), 4);
    EXPECT_EQ(s.Line(3).Num("DO77_ZQ_QTA_ANNULLO"), 2);
    EXPECT_EQ(ClsrfTestAccess::Links(s.Plugin()).size(), 2u);
    EXPECT_EQ(ClsrfTestAccess::ProgPadreAnnulli(s.Plugin()), 2);
}

// The state a line is in when the grid lands on it is remembered with the line: the
// cancelled state picked right after another line was cancelled is a change all the same.
TEST_F(PartialCancelTest, TwoLinesCancelledOneAfterTheOther) {
    s.CancelQuantity(3);
    s.driver->MoveToLine(3);
    s.host->log->Clear();
    s.CancelQuantity(2);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.AggiungiRigaCorpo"), 1u);
    EXPECT_EQ(s.Line(3).Num("DO30_QTA1"), 4);
    EXPECT_EQ(s.Line(9).Num("DO30_QTA1"), 2);

    // A whole line straight after: cancelled as well.
    s.driver->MoveToLine(4);
    s.driver->SetLineState(kStatoRigheAnnullato);
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.Line(4).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.Line(4).Num("DO77_ZQ_QTA_ANNULLO"), 4);
    EXPECT_TRUE(s.Drift().empty());
}

TEST_F(PartialCancelTest, AReasonTypedOnTheLineGoesToTheCancellationLine) {
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.CancelQuantity(4);
    const DbLine annullo = s.Line(8);
    EXPECT_EQ(annullo.Text("DO77_CODCAU_ZQ63"), "FOR");
    EXPECT_EQ(annullo.Text("DO77_DESCAU_ZQ63"), "Merce non disponibile");  // decoded, trimmed
    EXPECT_EQ(s.Line(1).Text("DO77_CODCAU_ZQ63"), "");
}

// A split made through a state change is a change carried out: the plug-in writes the body
// back, reverses the open quantities it captured before the change and saves, so that the
// progressives follow the cancelled quantity at once.
TEST_F(PartialCancelTest, IsWrittenReversedAndSavedSoTheProgressivesFollow) {
    s.driver->ClearEvents();
    s.CancelQuantity(3);
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_EQ(s.host->log->Count("FrmCorpo.SalvaDocumento"), 1u);
    EXPECT_EQ(s.commands->executed, 1);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 7);
    EXPECT_TRUE(s.Drift().empty());
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));

    s.driver->MoveToLine(3);
    s.CancelQuantity(2);
    EXPECT_EQ(s.driver->SaveCount(), 2);
    EXPECT_TRUE(s.Drift().empty());
    // Deleting the cancellation line later settles against what was reversed.
    s.driver->MoveToLine(9);
    ASSERT_TRUE(s.driver->DeleteLine());
    EXPECT_EQ(s.Line(3).Num("DO30_QTA1"), 6);
    EXPECT_TRUE(s.Drift().empty());
}

}  // namespace
}  // namespace zq::test
