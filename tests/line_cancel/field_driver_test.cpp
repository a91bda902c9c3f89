// The body fields' lost-focus drivers: a cancelled quantity, a line reason or a line
// quantity left in the body form settles the current line inside one reversal and one save,
// or re-aligns a pair without any.
#include <gtest/gtest.h>

#include "support/session.h"

namespace zq::test {
namespace {

// Line 1 (10 pieces) wholly cancelled and saved.
void LineaAnnullata(Session& s) {
    s.Open();
    s.driver->MoveToLine(1);
    s.CancelQuantity(10);
    s.driver->Save();
    ASSERT_EQ(s.driver->SaveCount(), 1);
}

struct Passo {
    int reversals, saves;
};

Passo Dopo(Session& s, const std::function<void()>& azione) {
    const int reversals = s.commands->executed, saves = s.driver->SaveCount();
    azione();
    return {s.commands->executed - reversals, s.driver->SaveCount() - saves};
}

TEST(FieldDrivers, TypedCancelledQuantitySplitsRealignsAndFoldsOnceEach) {
    Session s;
    LineaAnnullata(s);
    auto tipo = [&](const char* qta) {
        return Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", qta); });
    };

    Passo p = tipo("3");
    EXPECT_EQ(p.reversals, 1);
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 7);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 3);
    EXPECT_EQ(s.Line(1).Num("DO77_ZQ_QTA_ORIG"), 10);
    EXPECT_TRUE(s.ProgressivesConsistent());

    s.driver->MoveToLine(1);
    p = tipo("4");
    EXPECT_EQ(p.reversals, 1);
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 6);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 4);
    EXPECT_TRUE(s.ProgressivesConsistent());

    // Above the ordered quantity: taken as the whole line, never a negative master.
    s.driver->MoveToLine(1);
    p = tipo("25");
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.LineNumbers().size(), 9u);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 10);
    EXPECT_EQ(s.Line(1).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheAnnullato);
    EXPECT_TRUE(s.ProgressivesConsistent());
    EXPECT_TRUE(s.Messages().empty());
}

TEST(FieldDrivers, NothingRunsOnALineNotCancelledOrWithTheHeaderCancelled) {
    for (const bool headerCancelled : {false, true}) {
        SCOPED_TRACE(headerCancelled);
        Session s;
        s.Open();
        if (headerCancelled) s.driver->SetHeaderState(kStatoTestaAnnullato);
        s.driver->MoveToLine(2);  // partly delivered: a settlement would warn
        const Passo p = Dopo(s, [&] {
            s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "15");
            s.driver->TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "FOR");
            s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", "20");
        });
        EXPECT_EQ(p.reversals, 0);
        EXPECT_EQ(p.saves, 0);
        EXPECT_TRUE(s.Messages().empty());
        EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 9);
    }
}

TEST(FieldDrivers, BlankedLineReasonClearsWithoutReversing) {
    Session s;
    LineaAnnullata(s);
    const Passo p = Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", ""); });
    EXPECT_EQ(p.reversals, 0);
    EXPECT_EQ(p.saves, 0);
    EXPECT_EQ(s.Control(2, "TXT_DO77_DESCAU_ZQ63").Text(), "");
    EXPECT_EQ(s.Control(2, "TXT_DO77_ZQ_QTA_ANNULLO").Text(), "0");
    EXPECT_TRUE(s.Current("DO77_DESCAU_ZQ63").IsNull());
}

// The master's own quantity left: the cancellation line takes the master's cancelled
// quantity again, nothing is reversed or saved, and the pair's starting quantity is what
// the two lines hold.
TEST(FieldDrivers, AMastersQuantityRealignsThePairWithoutReversing) {
    Session s;
    LineaAnnullata(s);
    s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "3");
    s.driver->MoveToLine(1);
    const Passo p = Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", "8"); });
    EXPECT_EQ(p.reversals, 0);
    EXPECT_EQ(p.saves, 0);
    EXPECT_EQ(s.HostValue(1, "DO30_QTA1").ToDouble(), 8);
    EXPECT_EQ(s.HostValue(10, "DO30_QTA1").ToDouble(), 3);
    EXPECT_EQ(s.HostValue(1, "DO77_ZQ_QTA_ORIG").ToDouble(), 11);
    EXPECT_EQ(s.HostValue(10, "DO77_ZQ_QTA_ORIG").ToDouble(), 11);
    s.driver->Save();
    EXPECT_TRUE(s.ProgressivesConsistent());
}

// Line 5 (12 pieces, planned-order rows) cancelled wholly, then 3 of it typed: the split
// ends on the new cancellation line, whose quantity the user cannot change. A host that lets
// it be changed all the same never gets a master of nothing: a line of nothing with planned
// rows stops the capture of open quantities, and no save of the order would go through.
TEST(FieldDrivers, ACancellationLineNeverTakesTheWholePair) {
    Session s;
    s.Open();
    s.driver->MoveToLine(5);
    s.CancelQuantity(12);
    s.driver->Save();
    s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "3");
    ASSERT_EQ(s.HostValue(10, "DO30_QTA1").ToDouble(), 3);
    EXPECT_FALSE(s.Control(2, "TXT_DO30_QTA1").Enabled());
    EXPECT_FALSE(s.Control(2, "TXT_DO77_ZQ_QTA_ANNULLO").Enabled());
    s.TakeMessages();

    for (const char* tutta : {"12", "14,5"}) {
        SCOPED_TRACE(tutta);
        const Passo p = Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", tutta); });
        EXPECT_EQ(p.reversals + p.saves, 0);
        ASSERT_EQ(s.TakeMessages().size(), 1u);
        EXPECT_EQ(s.HostValue(10, "DO30_QTA1").ToDouble(), 3);
        EXPECT_EQ(s.HostValue(5, "DO30_QTA1").ToDouble(), 9);
    }
    s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", "11,5");
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_DOUBLE_EQ(s.HostValue(5, "DO30_QTA1").ToDouble(), 0.5);
    const int saves = s.driver->SaveCount();
    s.driver->Save();
    EXPECT_EQ(s.driver->SaveCount(), saves + 1);
    EXPECT_TRUE(s.ProgressivesConsistent());
}

}  // namespace
}  // namespace zq::test
