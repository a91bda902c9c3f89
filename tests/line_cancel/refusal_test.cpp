// Cancellations that are refused or that do nothing.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kQtaMaggiore =
    "Non è possibile annullare una quantità maggiore della quantità dell'ordine stesso!";
const std::string kSenzaCausale =
    "Non è possibile annullare l'ordine, senza specificare la causale di annullo!";

// A refused request leaves the line as it was before the user's change: the field shows
// what the request gives back, marked invalid; no default reason and no cancelled state
// stay behind.
TEST(Refusals, MoreThanTheMasterStillOrdersIsRefusedAndMarkedInvalid) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);  // line 1: 7 left of 10
    s.driver->MoveToLine(1);
    s.driver->SetLineState(kStatoRigheConfermato);
    s.TakeMessages();
    s.CancelQuantity(9);  // within the 10 ordered at first, beyond the 7 left
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kQtaMaggiore, 64, kTitolo}}));
    const auto& qta = *s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO");
    EXPECT_FALSE(qta.IsValid());
    EXPECT_EQ(qta.Text(), "7");
    EXPECT_EQ(s.Current("DO77_ZQ_QTA_ANNULLO").ToDouble(), 3);  // as stored
    EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 7);
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheConfermato);
    EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), kStatoRigheConfermato);
    EXPECT_EQ(s.LineNumbers().size(), 8u);
    // What the request gives back: the ordered quantity, for the caller to put back.
    const auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 7, 9, Guid(1));
    EXPECT_FALSE(esito.ok);
    EXPECT_EQ(esito.qtaRipristino, 7);
}

TEST(Refusals, NoReasonAndNoDefaultReason) {
    Session s(SevenLines({.defaultReason = false}));
    s.Open();
    s.CancelQuantity(3);
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kSenzaCausale, 64, kTitolo}}));
    EXPECT_FALSE(s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO")->IsValid());
    EXPECT_EQ(s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO")->Text(), "0");
    EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), kStatoRigheIniziale);
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.LineNumbers().size(), 7u);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 10);
    EXPECT_EQ(s.Line(1).Num("DO77_ZQ_QTA_ANNULLO"), 0);
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheIniziale);
    const auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 10, 3, Guid(1));
    EXPECT_FALSE(esito.ok);
    EXPECT_EQ(esito.qtaRipristino, 0);
    s.TakeMessages();
    // Picked again with a reason typed, the same state is a change once more.
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.CancelQuantity(3);
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.LineNumbers().size(), 8u);
}

TEST(Refusals, AReasonOnTheLineIsEnoughWithoutADefault) {
    Session s(SevenLines({.defaultReason = false}));
    s.Open();
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.CancelQuantity(3);
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.Line(8).Text("DO77_CODCAU_ZQ63"), "FOR");
}

TEST(Refusals, NothingHappensWhileAFormHasUnsavedEdits) {
    for (std::int16_t form : {1, 2}) {
        SCOPED_TRACE(form);
        Session s(SevenLines());
        s.Open();
        s.driver->SetUnsavedEdits(form, true);
        s.CancelQuantity(3);
        EXPECT_TRUE(s.TakeMessages().empty());
        EXPECT_TRUE(s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO")->IsValid());
        EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 10);
        EXPECT_EQ(s.host->log->Count("gclsRegDoc.AggiungiRigaCorpo"), 0u);
        EXPECT_EQ(s.Indicatore(), 1);
        // The line is left as it was: no default reason, not in the cancelled state.
        EXPECT_EQ(s.host->body->BoundTo("DO77_CODCAU_ZQ63")->Text(), "");
        EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheIniziale);
        const auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 10, 3, Guid(1));
        EXPECT_TRUE(esito.ok);
    }
}

TEST(Refusals, ALineWithACancellationLineOrACancellationLineIsNotSplitAgain) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    const std::string d = s.Current("DO30_GUID").ToString();
    s.host->log->Clear();

    // The cancellation line itself (current after the split).
    auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 3, 1, d);
    EXPECT_TRUE(esito.ok);
    // Its master, through the road: no second cancellation line is made, the master is not
    // cancelled itself (the message the update check gives for it) and stays as it was.
    s.driver->MoveToLine(1);
    s.host->log->Clear();
    s.CancelQuantity(2);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.AggiungiRigaCorpo"), 0u);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.ImpostaQuantita"), 0u);
    EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 7);
    EXPECT_EQ(ClsrfTestAccess::Links(s.Plugin()).size(), 1u);
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::CreaAnnulloInCorso(s.Plugin())));
    EXPECT_EQ(s.TakeMessages(),
              (std::vector<ShownMessage>{
                  {"Non è possibile annullare un ordine che ha generato righe di annullo!", 64,
                   kTitolo}}));
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheIniziale);
    EXPECT_EQ(s.host->body->BoundTo("DO77_CODCAU_ZQ63")->Text(), "");
    EXPECT_EQ(s.Current("DO77_ZQ_QTA_ANNULLO").ToDouble(), 3);
    ASSERT_TRUE(s.driver->StoreLine());
}

TEST(Refusals, CancellingNothingDoesNothing) {
    Session s(SevenLines());
    s.Open();
    s.host->log->Clear();
    const auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 10, 0, Guid(1));
    EXPECT_TRUE(esito.ok);
    EXPECT_EQ(esito.qtaRipristino, -99);  // untouched
    EXPECT_TRUE(s.host->log->Calls().empty());
}

TEST(Refusals, ABusyPartialCancellationHoldsOffANestedOne) {
    Session s(SevenLines());
    s.Open();
    ClsrfTestAccess::CreaAnnulloInCorso(s.Plugin()) = VTrue;
    s.host->log->Clear();
    const auto esito = ClsrfTestAccess::CreaAnnulloParziale(s.Plugin(), 10, 3, Guid(1));
    EXPECT_TRUE(esito.ok);
    EXPECT_TRUE(s.host->log->Calls().empty());
}

TEST(Refusals, CancellingTheWholeQuantityMakesNoNewLine) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(10);
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.LineNumbers().size(), 7u);
    const DbLine line = s.Line(1);
    EXPECT_EQ(line.Num("DO30_QTA1"), 10);
    EXPECT_EQ(line.Num("DO77_ZQ_QTA_ANNULLO"), 10);
    EXPECT_EQ(line.Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(line.Text("DO77_CODCAU_ZQ63"), "CLI");
    EXPECT_TRUE(ClsrfTestAccess::Links(s.Plugin()).empty());
    // Nothing was written by the plug-in itself: the host's save posted the change.
    EXPECT_TRUE(s.Drift().empty());
}

}  // namespace
}  // namespace zq::test
