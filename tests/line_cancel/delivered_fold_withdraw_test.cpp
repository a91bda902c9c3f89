// Partly delivered lines, folding a cancellation line back into a whole-line cancellation,
// and withdrawing cancellations.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kOltreResiduo =
    "Riga Parzialmente evasa: la quantità di riga non può essere inferiore alla quantità "
    "consegnata ";
const std::string kNonTotalmente = "Riga Parzialmente evasa: Impossibile annullare totalmente";

// Line 2: 20 ordered, 8 delivered, 12 left.
TEST(PartlyDelivered, MoreThanTheResidualIsCutToIt) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(2);
    s.CancelQuantity(15);
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kOltreResiduo, 64, kTitolo}}));
    const DbLine master = s.Line(2), annullo = s.Line(8);
    EXPECT_EQ(master.Num("DO30_QTA1"), 8);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 12);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ORIG"), 20);
    EXPECT_EQ(annullo.Num("DO30_QTA1"), 12);
}

TEST(PartlyDelivered, NothingTypedTakesTheResidual) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(2);
    s.driver->SetLineState(kStatoRigheAnnullato);
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kNonTotalmente, 64, kTitolo}}));
    EXPECT_EQ(s.Line(2).Num("DO30_QTA1"), 8);
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 12);
}

TEST(PartlyDelivered, WithinTheResidualNoMessage) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(2);
    s.CancelQuantity(5);
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.Line(2).Num("DO30_QTA1"), 15);
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 5);
}

// Quantities are decimal numbers in binary doubles: what is open of 0.3 with 0.1 delivered
// is not exactly 0.2, and 0.1 + 0.2 delivered is not exactly 0.3. The comparisons allow
// for that rounding.
TEST(PartlyDelivered, DecimalQuantitiesCompareWithinTheirRounding) {
    SessionOptions o = SevenLines();
    o.lines = [](sim::HostDbBuilder& b) {
        b.Riga(1, "ART-A", 0.3, 5).Consegnato(0.1).Riga(2, "ART-B", 0.3, 5).Consegnato(0.1 + 0.2);
    };
    Session s(o);
    s.Open();
    // Exactly the open 0.2: no warning, the split leaves the delivered 0.1 on the master.
    s.CancelQuantity(0.2);
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_NEAR(s.Line(1).Num("DO30_QTA1"), 0.1, 1e-12);
    EXPECT_NEAR(s.Line(3).Num("DO30_QTA1"), 0.2, 1e-12);
    EXPECT_TRUE(s.Drift().empty());

    // Delivered in full up to the rounding: nothing is open, the whole line is cancelled
    // and no line of a tiny negative quantity is made.
    s.driver->MoveToLine(2);
    s.driver->SetLineState(kStatoRigheAnnullato);
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3}));
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.Line(2).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_NEAR(s.Line(2).Num("DO77_ZQ_QTA_ANNULLO"), 0.3, 1e-12);
    EXPECT_TRUE(s.Drift().empty());
}

// The master of a 3-of-10 split is cancelled for the whole 10: its cancellation line goes
// and the master carries the cancellation, with the reason it had.
TEST(WholeLine, FoldsTheCancellationLineBackIntoTheMaster) {
    Session s(SevenLines());
    s.Open();
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.CancelQuantity(3);
    s.driver->MoveToLine(1);
    s.driver->SetLineState(kStatoRigheConfermato);
    const int saves = s.driver->SaveCount();
    s.CancelQuantity(10);

    EXPECT_EQ(s.driver->SaveCount(), saves + 1);  // settled: written, reversed and saved
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(s.Line(8).hasDo31 || s.Line(8).hasDo77);
    const DbLine master = s.Line(1);
    EXPECT_EQ(master.Num("DO30_QTA1"), 10);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 10);
    EXPECT_EQ(master.Text("DO77_CODCAU_ZQ63"), "FOR");
    EXPECT_EQ(master.Text("DO77_DESCAU_ZQ63"), "Merce non disponibile");
    EXPECT_TRUE(master.IsNull("DO77_ZQGUID_MASTER_DO30"));
    EXPECT_TRUE(master.IsNull("DO77_ZQGUID_DETAIL_DO30"));
    EXPECT_EQ(master.Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_TRUE(ClsrfTestAccess::Links(s.Plugin()).empty());
    EXPECT_EQ(s.host->doc->RigaCorpo()->AcquiredState(Guid(1)), kStatoRigheAnnullato);
    // The grid's own deletion of the cancellation line, then the master made current again.
    const auto deleted = s.host->log->CallsTo("FME_DocCorpo.DeleteRow");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].args[2].ToLong(), 0);
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 1);
    EXPECT_TRUE(s.Drift().empty());
}

TEST(Withdrawal, OnAnOrdinaryLineClearsQuantityReasonAndFlag) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(3);
    s.driver->SetLineState(kStatoRigheAnnullato);  // whole line, default reason
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.Line(3).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.Line(3).Num("DO77_ZQ_QTA_ANNULLO"), 6);
    EXPECT_TRUE(s.Drift().empty());

    s.driver->SetLineState(kStatoRigheIniziale);
    ASSERT_TRUE(s.driver->Save());
    const DbLine line = s.Line(3);
    EXPECT_EQ(line.Num("DO31_FLGNONPIUEV"), 0);
    EXPECT_EQ(line.Num("DO77_ZQ_QTA_ANNULLO"), 0);
    EXPECT_TRUE(line.IsNull("DO77_CODCAU_ZQ63"));
    EXPECT_TRUE(line.IsNull("DO77_DESCAU_ZQ63"));
    EXPECT_EQ(s.host->body->BoundTo("DO77_CODCAU_ZQ63")->Text(), "");
    EXPECT_TRUE(s.Drift().empty());
}

// A master given another state keeps its pair as it is: the cancelled quantity it records
// is the cancellation line's, which stays.
TEST(Withdrawal, OnAMasterKeepsItsPair) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    s.driver->MoveToLine(1);
    s.driver->SetLineState(kStatoRigheConfermato);
    ASSERT_TRUE(s.driver->Save());
    const DbLine master = s.Line(1);
    EXPECT_EQ(master.Num("DO30_QTA1"), 7);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 3);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ORIG"), 10);
    EXPECT_EQ(master.Text("DO77_ZQGUID_DETAIL_DO30"), Bare(1));
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 3);
    EXPECT_EQ(ClsrfTestAccess::Links(s.Plugin()).size(), 1u);
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheConfermato);
    EXPECT_TRUE(s.Drift().empty());
}

// A cancellation line keeps the cancelled state: its quantity, flag and link still cancel.
// A state the host reports for it anyway (its state field is locked) is put back, and
// nothing else changes.
TEST(Withdrawal, ACancellationLineKeepsTheCancelledState) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    const int saves = s.driver->SaveCount();
    const std::string d = s.Current("DO30_GUID").ToString();
    EXPECT_FALSE(s.host->body->BoundTo("DO30_GUID")->Enabled());
    s.host->log->Clear();
    s.driver->SetLineState(kStatoRigheIniziale);
    EXPECT_EQ(s.driver->SaveCount(), saves);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.ImpostaQuantita"), 0u);
    EXPECT_EQ(s.FlowState(d), kStatoRigheAnnullato);
    EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), kStatoRigheAnnullato);
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 7);
    EXPECT_EQ(s.Line(1).Num("DO77_ZQ_QTA_ANNULLO"), 3);
    EXPECT_TRUE(s.Drift().empty());
}

}  // namespace
}  // namespace zq::test
